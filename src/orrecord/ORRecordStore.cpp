// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ORRecordStore.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"

#include <QSet>

namespace kestrel {

namespace {

// The columns of the moments' days and of their times of day, in lower case.
QSet<QString> momentColumns(bool days)
{
    QSet<QString> columns;
    for (const ORMoment &m : ormoment::All)
        columns.insert(QString::fromUtf16(days ? m.dateColumn : m.timeColumn).toLower());
    return columns;
}

const QSet<QString> &dateColumns()
{
    static const QSet<QString> columns = momentColumns(true);
    return columns;
}

const QSet<QString> &timeColumns()
{
    static const QSet<QString> columns = momentColumns(false);
    return columns;
}

// The record's own spelling of a column whatever case the database answers it in.
QString spelled(const QString &column)
{
    static const QHash<QString, QString> known = [] {
        QHash<QString, QString> h;
        QStringList all = narrativeColumns() + anesthesiaSheetColumns();
        all << QStringLiteral(
                   "OperatingNum IdNum HospNum RefNum UserID PHICCode PatientClass SurgeonID1 "
                   "SurgeonID2 SurgeonID3 OtherSurgeons AnestheID Anesth1 Anesth2 Anesthesia "
                   "SnurseID1 SnurseID2 SNOthers CnurseID1 CnurseID2 CNOthers AsstNurseID1 "
                   "AsstNurseID2 ANOthers AROD Procedures ORNumber Category Prophylaxis "
                   "OperationDate PatientIn AnesthesiaDate AnesthesiaTime CuttingDate "
                   "OperationTime1 ClosingDate OperationTime2 AnesDoneDate AnesthesiaEndTime "
                   "OperationDateEnd PatientOut Remarks Instrument Sutures SpongeCount Nurse3 "
                   "SpecimenInDate SpecimenInTime SpecimenOutDate SpecimenOutTime preopdxlat "
                   "postopdxlat opperformedlat Surgeon1 Surgeon2 Surgeon3 Anesthesiologist "
                   "Anesth1Name Anesth2Name ARODoctor SNurse1 SNurse2 CNurse1 CNurse2 AsstNurse1 "
                   "AsstNurse2 Nurse3Name")
                   .split(u' ');
        all << memoRecordColumns();
        for (const QString &c : std::as_const(all))
            h.insert(c.toLower(), c);
        return h;
    }();
    return known.value(column.toLower(), column);
}

const QSet<QString> &nameColumns()
{
    static const QSet<QString> columns{
        QStringLiteral("Surgeon1"),    QStringLiteral("Surgeon2"),    QStringLiteral("Surgeon3"),
        QStringLiteral("Anesthesiologist"), QStringLiteral("Anesth1Name"),
        QStringLiteral("Anesth2Name"), QStringLiteral("ARODoctor"),   QStringLiteral("SNurse1"),
        QStringLiteral("SNurse2"),     QStringLiteral("CNurse1"),     QStringLiteral("CNurse2"),
        QStringLiteral("AsstNurse1"),  QStringLiteral("AsstNurse2"),  QStringLiteral("Nurse3Name")};
    return columns;
}

QString dayText(const QDate &d)
{
    return d.toString(QStringLiteral("MM/dd/yyyy"));
}

QString timeText(const QTime &t)
{
    return t.toString(QStringLiteral("hh:mm:ss AP"));
}

QVariant dayValue(const QDate &d)
{
    return d.isValid() ? QVariant(Database::isoText(d)) : QVariant(QMetaType(QMetaType::QString));
}

QVariant momentValue(const QDate &d, const QTime &t)
{
    return d.isValid() && t.isValid() ? QVariant(Database::isoText(QDateTime(d, t)))
                                      : QVariant(QMetaType(QMetaType::QString));
}

} // namespace

const QStringList &memoRecordColumns()
{
    static const QStringList columns =
        QStringLiteral("CaseNumber SuturesText InstrumentsInitial InstrumentsFinal Sponge4 "
                       "Sponge4Final Sponge8 Sponge8Final Peanuts PeanutsFinal VisceralPack "
                       "VisceralPackFinal Needles NeedlesFinal AnestheticAgent PreOPHR PreOPO2Sat "
                       "PreOPWt Menarche LMP Babyout PlacentaOut TimeOfInduction Gravida Para "
                       "Abortion Living FDIU StillBirth Gender BirthWeight BodyLength ApgarScore "
                       "SMAnd PresentationCBF PresentationDS")
            .split(u' ');
    return columns;
}

Result<std::optional<LoadedORRecord>> ORRecordStore::load(const QString &hospNum,
                                                          const QString &idNum,
                                                          qint64 operatingNum)
{
    auto rows = m_db.call(u"STATION..sp_Get_ORDiagnosis", {hospNum, idNum, operatingNum});
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return std::optional<LoadedORRecord>();
    const Row &row = rows->at(0);
    LoadedORRecord loaded;
    for (const QString &raw : row.columnNames()) {
        const QString column = spelled(raw);
        const QString lower = column.toLower();
        if (dateColumns().contains(lower))
            loaded.record.setValue(column, row.dateTime(raw).date());
        else if (timeColumns().contains(lower))
            loaded.record.setValue(column, row.dateTime(raw).time());
        else if (nameColumns().contains(column))
            loaded.names.insert(column, row.trimmed(raw));
        else if (!lower.endsWith(u"signid") && !lower.endsWith(u"datesign"))
            loaded.record.setText(column, row.text(raw));
    }
    for (const ORSignatureRole &role : signatureRoles()) {
        const QString signer = row.trimmed(role.signColumn);
        if (!signer.isEmpty())
            loaded.signedBy.insert(role.role, signer);
    }
    return std::optional<LoadedORRecord>(std::move(loaded));
}

Result<std::optional<Row>> ORRecordStore::stay(const QString &idNum, bool outpatient)
{
    static const QString doctor = QStringLiteral(
        "(select D.LastName || ', ' || D.FirstName from BUILD_FILE..tbCoDoctor D "
        "where D.DoctorID = S.%1) as %2");
    const QString sql =
        outpatient
            ? QStringLiteral("select S.HospNum, 'OPD' as RoomID, S.AdmDate, S.DcrDate, %1, %2, "
                             "'' as Doctor3, ")
                      .arg(doctor.arg(u"DoctorID1", u"Doctor1"),
                           doctor.arg(u"DoctorID2", u"Doctor2")) +
                  QStringLiteral("M.LastName, M.FirstName, M.MiddleName, M.Sex, M.BirthDate "
                                 "from PATIENT_DATA..tbOutPatient S ")
            : QStringLiteral("select S.HospNum, S.RoomID, S.AdmDate, S.DcrDate, %1, %2, %3, ")
                      .arg(doctor.arg(u"AttendingDr1", u"Doctor1"),
                           doctor.arg(u"AttendingDr2", u"Doctor2"),
                           doctor.arg(u"AdmittingDr", u"Doctor3")) +
                  QStringLiteral("M.LastName, M.FirstName, M.MiddleName, M.Sex, M.BirthDate "
                                 "from PATIENT_DATA..tbPatient S ");
    return m_db.selectOne(QString(sql + QStringLiteral("join PATIENT_DATA..tbMaster M on "
                                                       "M.HospNum = S.HospNum where S.IDNum = "
                                                       ":idnum")),
                          {{QStringLiteral("idnum"), idNum}});
}

Result<QStringList> ORRecordStore::rooms()
{
    auto rows = m_db.select(u"select RoomName from SCHEDULE..tbORRoom "
                            u"where COALESCE(Status, 'Y') = 'Y' order by SortOrder, RoomName");
    if (!rows)
        return tl::unexpected(rows.error());
    QStringList out;
    for (const Row &r : *rows)
        out << r.trimmed(u"RoomName");
    return out;
}

QString ORRecordStore::doctorName(const QString &code)
{
    auto row = m_db.selectOne(u"select LastName, FirstName from BUILD_FILE..tbCoDoctor "
                              u"where DoctorID = :code and Status = 'A'",
                              {{QStringLiteral("code"), code.trimmed()}});
    if (!row || !*row)
        return {};
    return (*row)->trimmed(u"LastName") + QStringLiteral(", ") + (*row)->trimmed(u"FirstName");
}

QString ORRecordStore::employeeName(const QString &code)
{
    auto row = m_db.selectOne(u"select LastName, FirstName from PASSWORD..tbPasswordMaster "
                              u"where EmployeeID = :code",
                              {{QStringLiteral("code"), code.trimmed()}});
    if (!row || !*row)
        return {};
    return (*row)->trimmed(u"LastName") + QStringLiteral(", ") + (*row)->trimmed(u"FirstName");
}

QString ORRecordStore::procedureName(const QString &code, const QString &section)
{
    auto name = m_db.scalar(u"select OtherRevenue from BUILD_FILE..tbCoOtherRevenue "
                            u"where OtherRevenueID = :code and OtherSectionID = :section",
                            {{QStringLiteral("code"), code.trimmed()},
                             {QStringLiteral("section"), section}});
    return name ? name->toString().trimmed() : QString();
}

std::optional<std::pair<QString, double>> ORRecordStore::rvs(const QString &code)
{
    auto row = m_db.selectOne(u"select RVSDescription, RVSPoints from BUILD_FILE..tbCoRVS "
                              u"where RVSCode = :code",
                              {{QStringLiteral("code"), code.trimmed()}});
    if (!row || !*row)
        return std::nullopt;
    return std::pair{(*row)->trimmed(u"RVSDescription"), (*row)->number(u"RVSPoints")};
}

Result<QList<std::pair<QString, QString>>> ORRecordStore::search(const QString &list,
                                                                 const QString &typed)
{
    const Binds binds{{QStringLiteral("typed"), likePrefix(typed.trimmed())},
                      {QStringLiteral("section"), list}};
    Result<RowSet> rows;
    if (list == u"DOCTOR")
        rows = m_db.select(u"select DoctorID as Code, LastName || ', ' || FirstName as Name "
                           u"from BUILD_FILE..tbCoDoctor where Status = 'A' and "
                           u"(DoctorID like :typed escape '\\' or LastName like :typed "
                           u"escape '\\') order by LastName, FirstName",
                           binds);
    else if (list == u"NURSE")
        rows = m_db.select(u"select EmployeeID as Code, LastName || ', ' || FirstName as Name "
                           u"from PASSWORD..tbPasswordMaster where Status = 'A' and "
                           u"(EmployeeID like :typed escape '\\' or LastName like :typed "
                           u"escape '\\') order by LastName, FirstName",
                           binds);
    else if (list == u"RVS")
        rows = m_db.select(u"select RVSCode as Code, RVSDescription as Name "
                           u"from BUILD_FILE..tbCoRVS where RVSCode like :typed escape '\\' "
                           u"or RVSDescription like :typed escape '\\' order by RVSCode",
                           binds);
    else
        rows = m_db.select(u"select OtherRevenueID as Code, OtherRevenue as Name "
                           u"from BUILD_FILE..tbCoOtherRevenue where OtherSectionID = :section "
                           u"and (OtherRevenueID like :typed escape '\\' or OtherRevenue like "
                           u":typed escape '\\') order by OtherRevenue",
                           binds);
    if (!rows)
        return tl::unexpected(rows.error());
    QList<std::pair<QString, QString>> out;
    for (const Row &r : *rows) {
        if (out.size() == 500)
            break;
        out << std::pair{r.trimmed(u"Code"), r.trimmed(u"Name")};
    }
    return out;
}

Result<qint64> ORRecordStore::save(const ORRecord &r, const ORSaveContext &c,
                                   const QList<ORCountLine> *counts,
                                   const std::function<Result<void>(qint64)> &alsoWrite)
{
    auto now = m_db.loadServerDate();
    if (!now)
        return tl::unexpected(now.error());
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());

    const auto free = [&](QStringView column) { return withBackquotes(r.text(column)); };
    const QDate day = r.date(u"OperationDate");
    const QStringList narrative = narrativeColumns();
    QVariantList args{c.hospNum,
                      c.idNum,
                      now->toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP")),
                      c.employeeCode,
                      r.text(u"SurgeonID1"),
                      r.text(u"SurgeonID2"),
                      r.text(u"SurgeonID3"),
                      r.text(u"SnurseID1"),
                      r.text(u"SnurseID2"),
                      r.text(u"CnurseID1"),
                      r.text(u"CnurseID2"),
                      r.text(u"AnestheID"),
                      free(u"Anesthesia"),
                      dayText(day),
                      timeText(r.time(u"OperationTime1")),
                      timeText(r.time(u"OperationTime2")),
                      r.text(u"Procedures"),
                      r.text(u"Category"),
                      r.text(u"SpongeCount").trimmed() == u"Y" ? QStringLiteral("Y")
                                                               : QStringLiteral("N")};
    for (int i = 0; i < 8; ++i)
        args << free(narrative.at(i));
    args << c.patientClass << c.refNum << QStringLiteral("0") << c.operatingNum
         << timeText(r.time(u"OperationTime2")) << timeText(r.time(u"AnesthesiaTime"))
         << r.text(u"AROD") << free(u"Remarks") << r.text(u"PHICCode")
         << timeText(r.time(u"PatientIn")) << QString(u' ' + timeText(r.time(u"PatientOut")))
         << free(u"ORNumber") << free(u"Opfindings") << r.text(u"Anesth1") << r.text(u"Anesth2")
         << r.text(u"Nurse3") << free(u"CNOthers") << free(u"SNOthers") << QStringLiteral("0")
         << free(u"OtherSurgeons");
    if (auto saved = m_db.call(u"STATION..sp_Save_ORDiagnosis", args); !saved)
        return tl::unexpected(saved.error());

    qint64 number = c.operatingNum;
    if (number == 0) {
        auto found = m_db.scalar(u"SELECT OPERATINGNUM FROM STATION..TBORMASTERFILE "
                                 u"WHERE IDNUM = :idnum AND USERID = :user AND REFNUM = :refnum "
                                 u"AND PHICCODE = :phic order by OPERATINGNUM desc limit 1",
                                 {{QStringLiteral("idnum"), c.idNum},
                                  {QStringLiteral("user"), c.employeeCode},
                                  {QStringLiteral("refnum"), c.refNum},
                                  {QStringLiteral("phic"), r.text(u"PHICCode").trimmed()}});
        if (!found)
            return tl::unexpected(found.error());
        if (found->isNull())
            return failure(QStringLiteral("The saved operation record could not be found."));
        number = found->toLongLong();
    }

    // The columns the save procedure does not write.
    Binds binds{{QStringLiteral("Prophylaxis"), free(u"Prophylaxis")},
                {QStringLiteral("OperationDateEnd"), dayValue(r.date(u"OperationDateEnd"))},
                {QStringLiteral("SpecificDesc"), free(u"SpecificDesc")},
                {QStringLiteral("AnesthesiaDate"), dayValue(r.date(u"AnesthesiaDate"))},
                {QStringLiteral("CuttingDate"), dayValue(r.date(u"CuttingDate"))},
                {QStringLiteral("ClosingDate"), dayValue(r.date(u"ClosingDate"))}};
    for (const QString &column : anesthesiaSheetColumns())
        binds.insert(column, free(column));
    const ORRecordSwitches &w = c.switches;
    if (w.enableAsstNurse) {
        binds.insert(QStringLiteral("AsstNurseID1"), r.text(u"AsstNurseID1"));
        binds.insert(QStringLiteral("AsstNurseID2"), r.text(u"AsstNurseID2"));
        binds.insert(QStringLiteral("ANOthers"), free(u"ANOthers"));
    }
    if (w.showCompleteInc) {
        binds.insert(QStringLiteral("Instrument"), r.text(u"Instrument"));
        binds.insert(QStringLiteral("Sutures"), r.text(u"Sutures"));
    }
    if (w.showAnesthesiaDone) {
        binds.insert(QStringLiteral("AnesthesiaEndTime"),
                     momentValue(r.date(u"AnesDoneDate"), r.time(u"AnesthesiaEndTime")));
        binds.insert(QStringLiteral("AnesDoneDate"), dayValue(r.date(u"AnesDoneDate")));
    }
    if (w.showSpecimen) {
        binds.insert(QStringLiteral("SpecimenInDate"), dayValue(r.date(u"SpecimenInDate")));
        binds.insert(QStringLiteral("SpecimenOutDate"), dayValue(r.date(u"SpecimenOutDate")));
        binds.insert(QStringLiteral("SpecimenInTime"),
                     momentValue(r.date(u"SpecimenInDate"), r.time(u"SpecimenInTime")));
        binds.insert(QStringLiteral("SpecimenOutTime"),
                     momentValue(r.date(u"SpecimenOutDate"), r.time(u"SpecimenOutTime")));
        binds.insert(QStringLiteral("SpecimenText"), free(u"SpecimenText"));
    }
    if (w.enableLaterality) {
        for (const char *column : {"preopdxlat", "postopdxlat", "opperformedlat"})
            binds.insert(QString::fromLatin1(column), r.text(QString::fromLatin1(column)));
    }
    QStringList sets;
    for (auto it = binds.cbegin(); it != binds.cend(); ++it)
        sets << it.key() + u" = :" + it.key();
    binds.insert(QStringLiteral("number"), number);
    auto updated = m_db.exec(QString(u"UPDATE STATION..TBORMASTERFILE SET " + sets.join(u", ") +
                                     u" WHERE OPERATINGNUM = :number"),
                             binds);
    if (!updated)
        return tl::unexpected(updated.error());
    if (counts) {
        if (auto ok = saveCounts(c.idNum, number, *counts, c.employeeCode); !ok)
            return tl::unexpected(ok.error());
    }
    if (alsoWrite) {
        if (auto ok = alsoWrite(number); !ok)
            return tl::unexpected(ok.error());
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return number;
}

Result<bool> ORRecordStore::isDoctorsUser(const QString &doctorCode, const QString &employeeCode)
{
    auto one = m_db.scalar(u"SELECT 1 FROM build_File..tbcoDoctor where DoctorID = :doctor "
                           u"and UserID = :user",
                           {{QStringLiteral("doctor"), doctorCode.trimmed()},
                            {QStringLiteral("user"), employeeCode.trimmed()}});
    if (!one)
        return tl::unexpected(one.error());
    return !one->isNull();
}

Result<bool> ORRecordStore::hasSignatureImage(const QString &employeeCode)
{
    auto one = m_db.scalar(u"SELECT 1 FROM build_File..tbDBImage WHERE TableName = 'tbCoDoctor' "
                           u"and FieldName = 'Signature' and IDKey = :user",
                           {{QStringLiteral("user"), employeeCode.trimmed()}});
    if (!one)
        return tl::unexpected(one.error());
    return !one->isNull();
}

Result<bool> ORRecordStore::sign(qint64 operatingNum, ORRole role, const QString &employeeCode)
{
    const ORSignatureRole &r = signatureRole(role);
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto done = m_db.exec(QString(u"UPDATE STATION..tbOrMasterFile SET " + r.signColumn +
                                  u" = :user, " + r.dateColumn +
                                  u" = getDate() WHERE OperatingNum = :number"),
                          {{QStringLiteral("user"), employeeCode},
                           {QStringLiteral("number"), operatingNum}});
    if (!done)
        return tl::unexpected(done.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return *done > 0;
}

Result<void> ORRecordStore::clearSignature(qint64 operatingNum, ORRole role)
{
    const ORSignatureRole &r = signatureRole(role);
    auto done = m_db.exec(QString(u"UPDATE STATION..tbOrMasterFile SET " + r.signColumn +
                                  u" = NULL, " + r.dateColumn +
                                  u" = NULL WHERE OperatingNum = :number"),
                          {{QStringLiteral("number"), operatingNum}});
    if (!done)
        return tl::unexpected(done.error());
    return {};
}

Result<int> ORRecordStore::reset(qint64 operatingNum)
{
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto counts = m_db.exec(u"DELETE FROM STATION..tbSpongeCount WHERE OperatingNum = :number",
                            {{QStringLiteral("number"), operatingNum}});
    if (!counts)
        return tl::unexpected(counts.error());
    auto gone = m_db.exec(u"DELETE FROM Station..tbORMasterFile WHERE OperatingNum = :number",
                          {{QStringLiteral("number"), operatingNum}});
    if (!gone)
        return tl::unexpected(gone.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return *gone;
}

Result<QList<ORCountLine>> ORRecordStore::counts(const QString &idNum, qint64 operatingNum)
{
    auto rows = m_db.select(u"select Type, RowNumber, Column1, Column2, Column3, Column4, "
                            u"Column5, Column6, Column7, CountedBy, CountedAt "
                            u"from STATION..tbSpongeCount where IdNum = :idnum and "
                            u"OperatingNum = :number order by Type, RowNumber",
                            {{QStringLiteral("idnum"), idNum},
                             {QStringLiteral("number"), operatingNum}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<ORCountLine> out;
    for (const Row &r : *rows) {
        ORCountLine l;
        l.type = int(r.integer(u"Type"));
        l.row = int(r.integer(u"RowNumber"));
        l.item = r.trimmed(u"Column1");
        for (int i = 2; i <= 7; ++i)
            l.values << r.trimmed(QStringLiteral("Column%1").arg(i));
        l.countedBy = r.trimmed(u"CountedBy");
        l.countedAt = r.dateTime(u"CountedAt");
        out << l;
    }
    return out;
}

Result<void> ORRecordStore::saveCounts(const QString &idNum, qint64 operatingNum,
                                       const QList<ORCountLine> &lines, const QString &countedBy)
{
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const Binds which{{QStringLiteral("idnum"), idNum}, {QStringLiteral("number"), operatingNum}};
    if (auto gone = m_db.exec(u"DELETE FROM STATION..TBSPONGECOUNT WHERE IDNUM = :idnum AND "
                              u"OPERATINGNUM = :number",
                              which);
        !gone)
        return tl::unexpected(gone.error());
    QList<Binds> rows;
    for (const ORCountLine &l : lines) {
        if (l.isEmpty())
            continue;
        Binds b = which;
        b.insert(QStringLiteral("item"), l.item);
        for (int i = 0; i < 6; ++i)
            b.insert(QStringLiteral("c%1").arg(i + 2), l.value(i));
        b.insert(QStringLiteral("row"), l.row);
        b.insert(QStringLiteral("by"), countedBy);
        b.insert(QStringLiteral("type"), QString::number(l.type));
        b.insert(QStringLiteral("discrepancy"), l.discrepancy() ? 1 : 0);
        rows << b;
    }
    if (!rows.isEmpty()) {
        auto added = m_db.execMany(
            u"INSERT INTO STATION..TBSPONGECOUNT (IdNum, Column1, Column2, Column3, Column4, "
            u"Column5, Column6, Column7, RowNumber, OperatingNum, CountedBy, Type, CountedAt, "
            u"Discrepancy) VALUES (:idnum, :item, :c2, :c3, :c4, :c5, :c6, :c7, :row, :number, "
            u":by, :type, getdate(), :discrepancy)",
            rows);
        if (!added)
            return tl::unexpected(added.error());
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return {};
}

} // namespace kestrel
