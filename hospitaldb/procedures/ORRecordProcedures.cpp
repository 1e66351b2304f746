// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the OR record: one operation's record with the names of everyone in it, and
// the record written from the record window's values.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

#include <QDateTime>

namespace kestrel::hospitaldb {

namespace {

// STATION..sp_Get_ORDiagnosis hospital number, admission number, OperatingNum: the record with
// the doctors' names ("LAST, FIRST") and the nurses' names as their employee records give them;
// no row for a record that is not there.
Result<RowSet> orDiagnosis(Database &db, const ProcedureArgs &args)
{
    static const QString doctor =
        QStringLiteral("(select D.LastName || ', ' || D.FirstName from BUILD_FILE..tbCoDoctor D "
                       "where D.DoctorID = R.%1) as %2");
    static const QString nurse =
        QStringLiteral("(select E.LastName || ', ' || E.FirstName from PASSWORD..tbPasswordMaster "
                       "E where E.EmployeeID = R.%1) as %2");
    QStringList names;
    for (const auto &[column, name] :
         {std::pair{u"SurgeonID1", u"Surgeon1"}, {u"SurgeonID2", u"Surgeon2"},
          {u"SurgeonID3", u"Surgeon3"}, {u"AnestheID", u"Anesthesiologist"},
          {u"Anesth1", u"Anesth1Name"}, {u"Anesth2", u"Anesth2Name"}, {u"AROD", u"ARODoctor"}})
        names << doctor.arg(column, name);
    for (const auto &[column, name] :
         {std::pair{u"SnurseID1", u"SNurse1"}, {u"SnurseID2", u"SNurse2"},
          {u"CnurseID1", u"CNurse1"}, {u"CnurseID2", u"CNurse2"},
          {u"AsstNurseID1", u"AsstNurse1"}, {u"AsstNurseID2", u"AsstNurse2"},
          {u"Nurse3", u"Nurse3Name"}})
        names << nurse.arg(column, name);
    const QString sql = QStringLiteral("select R.*, ") + names.join(QStringLiteral(", ")) +
                        QStringLiteral(" from STATION..tbORMasterFile R "
                                       "where R.OperatingNum = :number and R.IdNum = :idnum");
    return db.select(sql, {{QStringLiteral("number"), args.at(2).toLongLong()},
                           {QStringLiteral("idnum"), args.text(1)}});
}

QDate dayOf(const QString &text)
{
    return QDate::fromString(text.trimmed(), QStringLiteral("MM/dd/yyyy"));
}

// A picker's time of day on the operation's day, as the record keeps times.
QVariant timeOn(const QDate &day, const QString &text)
{
    const QTime time = QTime::fromString(text.trimmed(), QStringLiteral("hh:mm:ss AP"));
    if (!day.isValid() || !time.isValid())
        return QVariant(QMetaType(QMetaType::QDateTime));
    return Database::isoText(QDateTime(day, time));
}

// The columns the save procedure writes, with the argument (0-based) each one takes.
struct Written
{
    const char16_t *column;
    int argument;
};

constexpr Written kWritten[] = {
    {u"HospNum", 0},       {u"IdNum", 1},          {u"UserID", 3},
    {u"SurgeonID1", 4},    {u"SurgeonID2", 5},     {u"SurgeonID3", 6},
    {u"SnurseID1", 7},     {u"SnurseID2", 8},      {u"CnurseID1", 9},
    {u"CnurseID2", 10},    {u"AnestheID", 11},     {u"Anesthesia", 12},
    {u"Procedures", 16},   {u"Category", 17},      {u"SpongeCount", 18},
    {u"prod", 19},         {u"psod", 20},          {u"procnd", 21},
    {u"psoc", 22},         {u"meds", 23},          {u"drains", 24},
    {u"PF", 25},           {u"ot", 26},            {u"PatientClass", 27},
    {u"RefNum", 28},       {u"AROD", 33},          {u"Remarks", 34},
    {u"PHICCode", 35},     {u"ORNumber", 38},      {u"Opfindings", 39},
    {u"Anesth1", 40},      {u"Anesth2", 41},       {u"Nurse3", 42},
    {u"CNOthers", 43},     {u"SNOthers", 44},      {u"OtherSurgeons", 46},
};

// STATION..sp_Save_ORDiagnosis with the record window's 47 values: a new record when the
// OperatingNum passed (the 31st) is 0, else that record rewritten. The reference number of the
// posted charge (29th) and the RVS code (36th) are stored so the window finds a new record by
// them. A new record for a charge that already has one (another workstation saved it first)
// rewrites that one, so an operation never gets two records.
Result<RowSet> saveORDiagnosis(Database &db, const ProcedureArgs &args)
{
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const QDate day = dayOf(args.text(13));
    Binds binds{
        {QStringLiteral("TransDate"),
         Database::isoText(QDateTime::fromString(args.text(2),
                                                 QStringLiteral("MM/dd/yyyy hh:mm:ss AP")))},
        {QStringLiteral("OperationDate"), day.isValid() ? Database::isoText(day) : QVariant()},
        {QStringLiteral("OperationTime1"), timeOn(day, args.text(14))},
        {QStringLiteral("OperationTime2"), timeOn(day, args.text(31))},
        {QStringLiteral("AnesthesiaTime"), timeOn(day, args.text(32))},
        {QStringLiteral("PatientIn"), timeOn(day, args.text(36))},
        {QStringLiteral("PatientOut"), timeOn(day, args.text(37))}};
    for (const Written &w : kWritten)
        binds.insert(QString::fromUtf16(w.column), args.text(w.argument));

    qint64 number = args.at(30).toLongLong();
    const QString refNum = args.text(28);
    if (number == 0 && !refNum.isEmpty()) {
        // Two workstations saving the first record of one charge take turns here.
        if (db.backend() == Backend::Postgres) {
            auto locked = db.scalar(u"select pg_advisory_xact_lock(hashtext(:key))",
                                    {{QStringLiteral("key"),
                                      QString(u"ORRecord|" + args.text(1) + u'|' + refNum)}});
            if (!locked)
                return tl::unexpected(locked.error());
        }
        auto existing = db.scalar(u"select max(OperatingNum) from STATION..tbORMasterFile "
                                  u"where IdNum = :idnum and RefNum = :refnum",
                                  {{QStringLiteral("idnum"), args.text(1)},
                                   {QStringLiteral("refnum"), refNum}});
        if (!existing)
            return tl::unexpected(existing.error());
        number = existing->isNull() ? 0 : existing->toLongLong();
    }

    QStringList columns = binds.keys();
    if (number == 0) {
        QStringList placeholders;
        for (const QString &c : std::as_const(columns))
            placeholders << QString(u':' + c);
        const QString sql = u"insert into STATION..tbORMasterFile (" + columns.join(u", ") +
                            u") values (" + placeholders.join(u", ") + u")";
        auto inserted = db.exec(sql, binds);
        if (!inserted)
            return tl::unexpected(inserted.error());
    } else {
        QStringList sets;
        for (const QString &c : std::as_const(columns))
            sets << QString(c + u" = :" + c);
        binds.insert(QStringLiteral("number"), number);
        const QString sql = u"update STATION..tbORMasterFile set " + sets.join(u", ") +
                            u" where OperatingNum = :number";
        auto updated = db.exec(sql, binds);
        if (!updated)
            return tl::unexpected(updated.error());
        if (*updated == 0)
            return failure(QStringLiteral("This operation's record is no longer there: another "
                                          "workstation has reset it."));
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return RowSet();
}

} // namespace

void registerORRecordProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Get_ORDiagnosis"), 3, orDiagnosis);
    registry.add(QStringLiteral("STATION..sp_Save_ORDiagnosis"), 47, saveORDiagnosis);
}

} // namespace kestrel::hospitaldb
