// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the surgical memo's sponge records and of the cardiovascular operations: the
// CVOR cases found by name or number, the team of one case, and the team written back.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::hospitaldb {

namespace {

// The posted operation procedures of the stays tagged as CVOR patients, inpatient or
// outpatient, with the patient's name.
const QString kCVORCases = QStringLiteral(
    "from STATION..tbNurseLogBook L "
    "join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = L.ItemID and O.SectionID = 'PRC' "
    "join (select IDNum, HospNum from PATIENT_DATA..tbPatient where isCVOR = 1 "
    "      union all select IDNum, HospNum from PATIENT_DATA..tbOutPatient where isCVOR = 1) S "
    "  on S.IDNum = L.IDNum "
    "join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
    "where L.RecordStatus <> 'R' ");

// STATION..SearchCVORCases search type, key: the CVOR cases of the patients whose last name
// begins with the key ("Lastname"), of one hospital number ("Hospital No.") or of one stay
// ("ID No."), as the list shows them, at most 500.
Result<RowSet> searchCVORCases(Database &db, const ProcedureArgs &args)
{
    const QString type = args.text(0).toUpper();
    QString filter;
    QVariant key = args.text(1);
    if (type == u"LASTNAME") {
        filter = QStringLiteral("and M.LastName like :key escape '\\' ");
        key = likePrefix(args.text(1));
    } else if (type == u"HOSPITAL NO.") {
        filter = QStringLiteral("and S.HospNum = :key ");
    } else if (type == u"ID NO.") {
        filter = QStringLiteral("and L.IDNum = :key ");
    } else {
        return failure(QStringLiteral("Unknown search type \"%1\".").arg(args.text(0)));
    }
    auto rows = db.select(
        QString(u"select M.LastName, M.FirstName, M.MiddleName, S.HospNum, L.IDNum, L.TransDate, "
                u"COALESCE(O.OtherRevenue, L.Description) as ProcedureName, L.ReferenceNum, "
                u"L.ItemID " +
                kCVORCases + filter +
                u"order by M.LastName, M.FirstName, L.TransDate desc, L.LogBookID desc limit 500"),
        {{QStringLiteral("key"), key}});
    if (!rows)
        return tl::unexpected(rows.error());
    RowSet out({QStringLiteral("#"), QStringLiteral("Patient Name"), QStringLiteral("Hospital No."),
                QStringLiteral("ID. No"), QStringLiteral("Transaction Date"),
                QStringLiteral("Procedure"), QStringLiteral("Ref. No."),
                QStringLiteral("Item Code")});
    int n = 0;
    for (const Row &r : *rows) {
        const QString name = r.trimmed(u"LastName") + QStringLiteral(", ") +
                             r.trimmed(u"FirstName") + u' ' + r.trimmed(u"MiddleName");
        out.append(QVariantList{++n, name.trimmed(), r.trimmed(u"HospNum"), r.trimmed(u"IDNum"),
                                r.dateTime(u"TransDate").toString(QStringLiteral("MM/dd/yyyy")),
                                r.trimmed(u"ProcedureName"), r.trimmed(u"ReferenceNum"),
                                r.trimmed(u"ItemID")});
    }
    return out;
}

// STATION..LoadCVORInfo admission number, reference number: the case (patient, procedure,
// date) with its team's codes and names; the team is empty while nobody was named. No row
// when the stay has no such posted procedure.
Result<RowSet> loadCVORInfo(Database &db, const ProcedureArgs &args)
{
    static const QString doctor =
        QStringLiteral("(select D.LastName || ', ' || D.FirstName from BUILD_FILE..tbCoDoctor D "
                       "where D.DoctorID = C.%1) as %1Name");
    static const QString employee = QStringLiteral(
        "(select E.LastName || ', ' || E.FirstName from PASSWORD..tbPasswordMaster E "
        "where E.EmployeeID = C.%1) as %1Name");
    QStringList columns;
    for (const char16_t *c :
         {u"Surgeon", u"AsstSurgeon", u"Anesthesiologist", u"AssocAnest", u"Intensivist"})
        columns << QString(u"C." + QString::fromUtf16(c)) << doctor.arg(QString::fromUtf16(c));
    for (const char16_t *c :
         {u"Perfutionist", u"ScrubNurse1", u"ScrubNurse2", u"Circulator1", u"Circulator2"})
        columns << QString(u"C." + QString::fromUtf16(c)) << employee.arg(QString::fromUtf16(c));
    return db.select(
        QString(u"select L.IDNum, L.ReferenceNum, L.TransDate, L.ItemID, "
                u"COALESCE(O.OtherRevenue, L.Description) as ProcedureName, M.HospNum, "
                u"M.LastName, M.FirstName, M.MiddleName, " +
                columns.join(u", ") +
                u" from STATION..tbNurseLogBook L "
                u"left join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = L.ItemID "
                u"left join PATIENT_DATA..tbMaster M on M.HospNum = L.HospNum "
                u"left join STATION..tbCVORInfo C on C.IdNum = L.IDNum and "
                u"C.RefNum = L.ReferenceNum "
                u"where L.IDNum = :idnum and L.ReferenceNum = :refnum and L.RecordStatus <> 'R' "
                u"order by L.LogBookID limit 1"),
        {{QStringLiteral("idnum"), args.text(0)}, {QStringLiteral("refnum"), args.text(1)}});
}

// Station..UpdateCVORInfo admission number, reference number and the ten people: the case's
// team replaced in one statement, which two workstations may run at once.
Result<RowSet> updateCVORInfo(Database &db, const ProcedureArgs &args)
{
    static const QStringList people{
        QStringLiteral("Surgeon"),          QStringLiteral("AsstSurgeon"),
        QStringLiteral("Anesthesiologist"), QStringLiteral("AssocAnest"),
        QStringLiteral("Intensivist"),      QStringLiteral("Perfutionist"),
        QStringLiteral("ScrubNurse1"),      QStringLiteral("ScrubNurse2"),
        QStringLiteral("Circulator1"),      QStringLiteral("Circulator2")};
    if (args.text(0).isEmpty() || args.text(1).isEmpty())
        return failure(QStringLiteral("A CVOR case needs its admission and reference numbers."));
    Binds binds{{QStringLiteral("IdNum"), args.text(0)}, {QStringLiteral("RefNum"), args.text(1)}};
    QStringList sets;
    for (int i = 0; i < people.size(); ++i) {
        binds.insert(people.at(i), args.text(i + 2));
        sets << QString(people.at(i) + u" = excluded." + people.at(i));
    }
    QStringList placeholders;
    for (const QString &c : binds.keys())
        placeholders << QString(u':' + c);
    auto done = db.exec(QString(u"insert into STATION..tbCVORInfo (" + binds.keys().join(u", ") +
                                u", LastUpdated) values (" + placeholders.join(u", ") +
                                u", getdate()) on conflict (IdNum, RefNum) do update set " +
                                sets.join(u", ") + u", LastUpdated = excluded.LastUpdated"),
                        binds);
    return noRows(done);
}

const QStringList &spongeCounts()
{
    static const QStringList columns{
        QStringLiteral("InitialCount"),       QStringLiteral("FirstCountOnTable"),
        QStringLiteral("FirstCountOnFloor"),  QStringLiteral("FirstCountTotal"),
        QStringLiteral("SecondCountOnTable"), QStringLiteral("SecondCountOnFloor"),
        QStringLiteral("SecondCountTotal")};
    return columns;
}

// STATION..sp_OR_GetSpongeRecords hospital number, admission number, operation performed,
// OperatingNum: the sponge records of the operation in the order they were entered, with who
// counted. The records belong to the operation, so the operation performed does not narrow
// them.
Result<RowSet> spongeRecords(Database &db, const ProcedureArgs &args)
{
    return db.select(QString(u"select EntryNum, Sponge, " + spongeCounts().join(u", ") +
                             u", CounterStaff1, CounterStaff2 from STATION..tbORSpongeRecords "
                             u"where IdNum = :idnum and OperatingNum = :number order by EntryNum"),
                     {{QStringLiteral("idnum"), args.text(1)},
                      {QStringLiteral("number"), args.at(3).toLongLong()}});
}

// STATION..sp_OR_SaveSpongeCount hospital number, admission number, the two counters, the
// operation performed, the item, its seven counts, its EntryNum (0 for a new row) and the
// OperatingNum: the row rewritten, or added when the operation has no such entry.
Result<RowSet> saveSpongeCount(Database &db, const ProcedureArgs &args)
{
    Binds binds{{QStringLiteral("HospNum"), args.text(0)},
                {QStringLiteral("IdNum"), args.text(1)},
                {QStringLiteral("CounterStaff1"), args.text(2)},
                {QStringLiteral("CounterStaff2"), args.text(3)},
                {QStringLiteral("Procedures"), args.text(4)},
                {QStringLiteral("Sponge"), args.text(5)},
                {QStringLiteral("OperatingNum"), args.at(14).toLongLong()}};
    for (int i = 0; i < spongeCounts().size(); ++i)
        binds.insert(spongeCounts().at(i), args.at(6 + i).toInt());
    const qint64 entry = args.at(13).toLongLong();
    if (entry > 0) {
        QStringList sets;
        for (auto it = binds.cbegin(); it != binds.cend(); ++it)
            sets << QString(it.key() + u" = :" + it.key());
        Binds which = binds;
        which.insert(QStringLiteral("entry"), entry);
        auto updated =
            db.exec(QString(u"update STATION..tbORSpongeRecords set " + sets.join(u", ") +
                            u" where EntryNum = :entry and OperatingNum = "
                            u":OperatingNum"),
                    which);
        if (!updated)
            return tl::unexpected(updated.error());
        if (*updated > 0)
            return RowSet();
    }
    QStringList placeholders;
    for (const QString &c : binds.keys())
        placeholders << QString(u':' + c);
    auto added =
        db.exec(QString(u"insert into STATION..tbORSpongeRecords (" + binds.keys().join(u", ") +
                        u") values (" + placeholders.join(u", ") + u")"),
                binds);
    return noRows(added);
}

} // namespace

void registerMemoCVORProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..SearchCVORCases"), 2, searchCVORCases);
    registry.add(QStringLiteral("STATION..LoadCVORInfo"), 2, loadCVORInfo);
    registry.add(QStringLiteral("Station..UpdateCVORInfo"), 12, updateCVORInfo);
    registry.add(QStringLiteral("STATION..sp_OR_GetSpongeRecords"), 4, spongeRecords);
    registry.add(QStringLiteral("STATION..sp_OR_SaveSpongeCount"), 15, saveSpongeCount);
}

} // namespace kestrel::hospitaldb
