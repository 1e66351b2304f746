// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR schedule: rooms, the board's parameters, the day's confirmed operations, bookings by
// the OR, the wards' requests and their confirmation or revocation, and the confirmed list.
//
// Co-surgeons are kept as doctor codes in AsstSurgeon1..3 whoever writes them (the board, a
// confirmed request, the edit window); names are read from the doctors' master.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/components/PatientRecords.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::hospitaldb {

namespace {

const QString kConfirmed = QStringLiteral("C");
const QString kPending = QStringLiteral("P");
const QString kRevoked = QStringLiteral("R");

/// A date-time argument: bound as a date-time, or written the hospital's ways
/// ("12/01/2026 09:30:00", "12/01/2026 09:00:00 AM", "12/01/2026 ", ISO).
QDateTime dateTimeArg(const QVariant &value)
{
    if (value.metaType().id() == QMetaType::QDateTime)
        return value.toDateTime();
    if (value.metaType().id() == QMetaType::QDate)
        return QDateTime(value.toDate(), QTime(0, 0));
    const QString text = value.toString().simplified();
    for (const char *format : {"MM/dd/yyyy hh:mm:ss AP", "MM/dd/yyyy h:mm:ss AP",
                               "MM/dd/yyyy h:mm AP", "MM/dd/yyyy HH:mm:ss", "MM/dd/yyyy",
                               "yyyy-MM-dd HH:mm:ss", "yyyy-MM-dd"}) {
        QDateTime at = QDateTime::fromString(text, QLatin1String(format));
        if (at.isValid())
            return at;
    }
    return {};
}

int intArg(const ProcedureArgs &args, int i)
{
    return args.text(i).toInt();
}

QString dateTimeText(const QDateTime &at)
{
    return at.isValid() ? at.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")) : QString();
}

QString personName(const Row &row, QStringView prefix)
{
    const QString p = prefix.toString();
    return completeName(row.trimmed(QString(p + u"Last")), row.trimmed(QString(p + u"First")),
                        row.trimmed(QString(p + u"Middle")));
}

Result<RowSet> noRows()
{
    return RowSet();
}

/// Draws the next schedule transaction number inside the caller's transaction. The counter
/// row starts from the highest number already used when a hospital has none yet.
Result<QString> drawTransNum(Database &db)
{
    auto drawn = db.selectOne(u"update SCHEDULE..tbORScheduleNumber "
                              u"set LastTransNum = LastTransNum + 1 where ID = 1 "
                              u"returning LastTransNum");
    if (!drawn)
        return tl::unexpected(drawn.error());
    if (*drawn)
        return QStringLiteral("%1").arg((*drawn)->integer(u"LastTransNum"), 8, 10, QChar(u'0'));
    auto highest = db.scalar(u"select max(TransNum) from SCHEDULE..tbORScheduleDetails");
    if (!highest)
        return tl::unexpected(highest.error());
    const qint64 next = highest->toString().toLongLong() + 1;
    auto made = db.exec(u"insert into SCHEDULE..tbORScheduleNumber (ID, LastTransNum) "
                        u"values (1, :n)",
                        {{QStringLiteral("n"), next}});
    if (!made)
        return tl::unexpected(made.error());
    return QStringLiteral("%1").arg(next, 8, 10, QChar(u'0'));
}

// SCHEDULE..sp_List_ORRooms: the active rooms in the board's order.
Result<RowSet> listRooms(Database &db, const ProcedureArgs &)
{
    auto rows = db.select(u"select RoomID, RoomName from SCHEDULE..tbORRoom "
                          u"where COALESCE(Status, 'Y') = 'Y' order by SortOrder, RoomID");
    if (!rows)
        return rows;
    RowSet out({QStringLiteral("RoomID"), QStringLiteral("Room Name")});
    for (const Row &r : *rows)
        out.append(QVariantList{r.integer(u"RoomID"), r.trimmed(u"RoomName")});
    return out;
}

// SCHEDULE..sp_Get_ORRoom name: the room's id; no row for a name no room has.
Result<RowSet> roomByName(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select RoomID from SCHEDULE..tbORRoom where RoomName = :name "
                     u"order by RoomID limit 1",
                     {{QStringLiteral("name"), args.text(0)}});
}

// SCHEDULE..sp_Get_ORSCHEDULE date: the day's confirmed operations, room by room.
Result<RowSet> daySchedule(Database &db, const ProcedureArgs &args)
{
    const QDate day = dateTimeArg(args.at(0)).date();
    if (!day.isValid())
        return failure(QStringLiteral("The schedule date '%1' is not a date.").arg(args.text(0)));
    auto rows = db.select(u"select S.TransNum, R.RoomName, S.StartTime, S.Length, "
                          u"S.Description, S.Category from SCHEDULE..tbORScheduleDetails S "
                          u"join SCHEDULE..tbORRoom R on R.RoomID = S.RoomID "
                          u"where S.RecordStatus = 'C' and S.StartTime >= :day "
                          u"and S.StartTime < :next order by R.SortOrder, S.StartTime",
                          {{QStringLiteral("day"), QDateTime(day, QTime(0, 0))},
                           {QStringLiteral("next"), QDateTime(day.addDays(1), QTime(0, 0))}});
    if (!rows)
        return rows;
    RowSet out({QStringLiteral("RoomName"), QStringLiteral("StartTime"), QStringLiteral("Length"),
                QStringLiteral("Description"), QStringLiteral("CategoryName"),
                QStringLiteral("TransNum")});
    for (const Row &r : *rows)
        out.append(QVariantList{r.trimmed(u"RoomName"), r.dateTime(u"StartTime"),
                                r.integer(u"Length"), r.text(u"Description"),
                                r.trimmed(u"Category"), r.trimmed(u"TransNum")});
    return out;
}

// SCHEDULE..sp_AddORRoom name: a new active room after the others.
Result<RowSet> addRoom(Database &db, const ProcedureArgs &args)
{
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto next = db.scalar(u"select COALESCE(max(RoomID), 0) + 1 from SCHEDULE..tbORRoom");
    if (!next)
        return tl::unexpected(next.error());
    auto added = db.exec(u"insert into SCHEDULE..tbORRoom (RoomID, RoomName, SortOrder, RevenueID, "
                         u"Status) values (:id, :name, :id, 'OR', 'Y')",
                         {{QStringLiteral("id"), next->toInt()},
                          {QStringLiteral("name"), args.text(0)}});
    if (!added)
        return tl::unexpected(added.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return noRows();
}

// SCHEDULE..sp_UpdateORRoom new name, room id.
Result<RowSet> renameRoom(Database &db, const ProcedureArgs &args)
{
    auto done = db.exec(u"update SCHEDULE..tbORRoom set RoomName = :name where RoomID = :id",
                        {{QStringLiteral("name"), args.text(0)},
                         {QStringLiteral("id"), intArg(args, 1)}});
    if (!done)
        return tl::unexpected(done.error());
    return noRows();
}

// SCHEDULE..sp_Update_ScheduleParameters hours in a day, minutes per line.
Result<RowSet> updateParameters(Database &db, const ProcedureArgs &args)
{
    const int hours = intArg(args, 0);
    const int increment = intArg(args, 1);
    if (hours < 1 || hours > 24 || increment < 1 || increment > 60)
        return failure(QStringLiteral("The schedule parameters are out of range."));
    auto done = db.exec(u"update SCHEDULE..tbORApplication set DayLength = :hours, "
                        u"ScheduleIncrement = :increment",
                        {{QStringLiteral("hours"), hours},
                         {QStringLiteral("increment"), increment}});
    if (!done)
        return tl::unexpected(done.error());
    return noRows();
}

/// The patient's name, sex and age as the schedule rows keep them, from the master file.
struct PatientFacts
{
    QString name;
    QString sex;
    QVariant age;
};

Result<PatientFacts> patientFacts(Database &db, const QString &hospNum, const QDate &on)
{
    auto row = db.selectOne(u"select LastName, FirstName, MiddleName, Sex, BirthDate "
                            u"from PATIENT_DATA..tbMaster where HospNum = :hosp",
                            {{QStringLiteral("hosp"), hospNum}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return PatientFacts{};
    const Row &r = **row;
    const QDate born = r.dateTime(u"BirthDate").date();
    return PatientFacts{completeName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"),
                                     r.trimmed(u"MiddleName")),
                        r.trimmed(u"Sex"),
                        born.isValid() ? QVariant(int(born.daysTo(on) / 365)) : QVariant()};
}

// SCHEDULE..SaveORSchedule room id, start, end, minutes, details, IdNum, procedure code,
// user, surgeon, anaesthesiologist, co-surgeons 1 to 3, procedure, HospNum: a confirmed
// booking of an admitted patient. Answers its transaction number.
Result<RowSet> saveSchedule(Database &db, const ProcedureArgs &args)
{
    const QDateTime start = dateTimeArg(args.at(1));
    if (!start.isValid())
        return failure(QStringLiteral("The starting time '%1' is not a date.").arg(args.text(1)));
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    auto transNum = drawTransNum(db);
    if (!transNum)
        return tl::unexpected(transNum.error());
    auto patient = patientFacts(db, args.text(14), start.date());
    if (!patient)
        return tl::unexpected(patient.error());
    auto saved = db.exec(
        u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, PatientName, "
        u"PatientClass, Age, Sex, RoomID, ScheduleDate, StartTime, Length, Description, "
        u"ProcedureCode, ProcedureDesc, DoctorID1, DoctorID2, AsstSurgeon1, AsstSurgeon2, "
        u"AsstSurgeon3, RecordStatus, RequestingStation, RequestDate, RequestBy, ConfirmedBy, "
        u"ConfirmedDate) values (:trans, :idnum, :hosp, :name, :class, :age, :sex, :room, "
        u":day, :start, :length, :details, :proc, :procdesc, :surgeon, :anes, :co1, :co2, :co3, "
        u"'C', 'OR', getdate(), :user, :user, getdate())",
        {{QStringLiteral("trans"), *transNum},
         {QStringLiteral("idnum"), args.text(5)},
         {QStringLiteral("hosp"), args.text(14)},
         {QStringLiteral("name"), patient->name},
         {QStringLiteral("class"), args.text(5).endsWith(u'B', Qt::CaseInsensitive)
                                       ? QStringLiteral("O")
                                       : QStringLiteral("I")},
         {QStringLiteral("age"), patient->age},
         {QStringLiteral("sex"), patient->sex},
         {QStringLiteral("room"), intArg(args, 0)},
         {QStringLiteral("day"), QDateTime(start.date(), QTime(0, 0))},
         {QStringLiteral("start"), start},
         {QStringLiteral("length"), intArg(args, 3)},
         {QStringLiteral("details"), args.at(4).toString()},
         {QStringLiteral("proc"), args.text(6)},
         {QStringLiteral("procdesc"), args.text(13)},
         {QStringLiteral("user"), args.text(7)},
         {QStringLiteral("surgeon"), args.text(8)},
         {QStringLiteral("anes"), args.text(9)},
         {QStringLiteral("co1"), args.text(10)},
         {QStringLiteral("co2"), args.text(11)},
         {QStringLiteral("co3"), args.text(12)}});
    if (!saved)
        return tl::unexpected(saved.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    RowSet out({QStringLiteral("TransNum")});
    out.append(QVariantList{*transNum});
    return out;
}

// SCHEDULE..sp_Save_RequestORSchedule_ForPatient_ToBe_Admitted start, details, end,
// transaction number (empty for a new booking), user, procedure code, surgeon,
// anaesthesiologist, hospital number, station, room id, minutes, age, sex, procedure,
// patient class: a confirmed booking of a patient still to be admitted, or a change of one.
Result<RowSet> saveToBeAdmitted(Database &db, const ProcedureArgs &args)
{
    const QDateTime start = dateTimeArg(args.at(0));
    if (!start.isValid())
        return failure(QStringLiteral("The starting time '%1' is not a date.").arg(args.text(0)));
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    QString transNum = args.text(3);
    const bool isNew = transNum.isEmpty();
    if (isNew) {
        auto drawn = drawTransNum(db);
        if (!drawn)
            return tl::unexpected(drawn.error());
        transNum = *drawn;
    }
    // The name is the first line of the details text after its label.
    QString name = args.at(1).toString().section(u'\n', 0, 0);
    name = name.mid(name.indexOf(u':') + 1).trimmed();
    const Binds binds{{QStringLiteral("trans"), transNum},
                      {QStringLiteral("hosp"), args.text(8)},
                      {QStringLiteral("name"), name},
                      {QStringLiteral("class"), args.text(15)},
                      {QStringLiteral("age"), args.text(12).isEmpty()
                                                  ? QVariant()
                                                  : QVariant(args.text(12).toInt())},
                      {QStringLiteral("sex"), args.text(13)},
                      {QStringLiteral("room"), intArg(args, 10)},
                      {QStringLiteral("day"), QDateTime(start.date(), QTime(0, 0))},
                      {QStringLiteral("start"), start},
                      {QStringLiteral("length"), intArg(args, 11)},
                      {QStringLiteral("details"), args.at(1).toString()},
                      {QStringLiteral("proc"), args.text(5)},
                      {QStringLiteral("procdesc"), args.text(14)},
                      {QStringLiteral("user"), args.text(4)},
                      {QStringLiteral("surgeon"), args.text(6)},
                      {QStringLiteral("anes"), args.text(7)},
                      {QStringLiteral("station"), args.text(9)}};
    auto saved =
        isNew ? db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, "
                        u"PatientName, PatientClass, Age, Sex, RoomID, ScheduleDate, StartTime, "
                        u"Length, Description, ProcedureCode, ProcedureDesc, DoctorID1, "
                        u"DoctorID2, RecordStatus, RequestingStation, RequestDate, RequestBy, "
                        u"ConfirmedBy, ConfirmedDate) values (:trans, '', :hosp, :name, :class, "
                        u":age, :sex, :room, :day, :start, :length, :details, :proc, :procdesc, "
                        u":surgeon, :anes, 'C', :station, getdate(), :user, :user, getdate())",
                        binds)
              : db.exec(u"update SCHEDULE..tbORScheduleDetails set HospNum = :hosp, "
                        u"PatientName = :name, PatientClass = :class, Age = :age, Sex = :sex, "
                        u"RoomID = :room, ScheduleDate = :day, StartTime = :start, "
                        u"Length = :length, Description = :details, ProcedureCode = :proc, "
                        u"ProcedureDesc = :procdesc, DoctorID1 = :surgeon, DoctorID2 = :anes, "
                        u"RequestingStation = :station, ConfirmedBy = :user "
                        u"where TransNum = :trans and RecordStatus = 'C'",
                        binds);
    if (!saved)
        return tl::unexpected(saved.error());
    if (*saved == 0)
        return failure(QStringLiteral("The schedule %1 is no longer confirmed.").arg(transNum));
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    RowSet out({QStringLiteral("TransNum")});
    out.append(QVariantList{transNum});
    return out;
}

// The columns every list of schedules reads, with the patient and the doctors' names.
const QString kScheduleSelect = QStringLiteral(
    "select S.TransNum, S.RequestNum, S.IDNum, S.HospNum, S.PatientName, S.PatientClass, "
    "S.Age, S.Sex, S.RoomID, R.RoomName, S.StartTime, S.Length, S.ProcedureCode, "
    "S.ProcedureDesc, S.DoctorID1, S.DoctorID2, S.AsstSurgeon1, S.AsstSurgeon2, "
    "S.AsstSurgeon3, S.RequestingStation, S.RequestTimeTag, S.RequestKind, S.RequestDate, "
    "S.Remarks, D1.LastName as SurgeonLast, D1.FirstName as SurgeonFirst, "
    "D1.MiddleName as SurgeonMiddle, D2.LastName as AnesLast, D2.FirstName as AnesFirst, "
    "D2.MiddleName as AnesMiddle, A1.LastName as Co1Last, A1.FirstName as Co1First, "
    "A1.MiddleName as Co1Middle, A2.LastName as Co2Last, A2.FirstName as Co2First, "
    "A2.MiddleName as Co2Middle, A3.LastName as Co3Last, A3.FirstName as Co3First, "
    "A3.MiddleName as Co3Middle "
    "from SCHEDULE..tbORScheduleDetails S "
    "left join SCHEDULE..tbORRoom R on R.RoomID = S.RoomID "
    "left join BUILD_FILE..tbCoDoctor D1 on D1.DoctorID = S.DoctorID1 "
    "left join BUILD_FILE..tbCoDoctor D2 on D2.DoctorID = S.DoctorID2 "
    "left join BUILD_FILE..tbCoDoctor A1 on A1.DoctorID = S.AsstSurgeon1 "
    "left join BUILD_FILE..tbCoDoctor A2 on A2.DoctorID = S.AsstSurgeon2 "
    "left join BUILD_FILE..tbCoDoctor A3 on A3.DoctorID = S.AsstSurgeon3 ");

// SCHEDULE..sp_GetORSchedule_Request: the wards' requests still waiting for the OR, oldest
// first. The list shows them after its marker column: the patient, procedure, doctors and
// requested time; the transaction and request numbers (6, 7) that confirm and revoke use;
// the requesting station; hidden the hospital and admission numbers and the request kind
// (11); the co-surgeons as codes (12, 14, 16) and names (13, 15, 17); the procedure code,
// the station's time tag and when it asked. The doctors' codes follow for the panel.
Result<RowSet> pendingRequests(Database &db, const ProcedureArgs &)
{
    auto rows = db.select(QString(kScheduleSelect +
                                  u"where S.RecordStatus = 'P' order by S.RequestDate, S.TransNum"));
    if (!rows)
        return rows;
    RowSet out({QStringLiteral("Patient Name"), QStringLiteral("OR Procedure"),
                QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
                QStringLiteral("Requested Date/Time"), QStringLiteral("TransNum"),
                QStringLiteral("RequestNum"), QStringLiteral("Requesting Station"),
                QStringLiteral("HospNum"), QStringLiteral("IdNum"), QStringLiteral("RequestKind"),
                QStringLiteral("CoSurgeonID1"), QStringLiteral("Co-Surgeon 1"),
                QStringLiteral("CoSurgeonID2"), QStringLiteral("Co-Surgeon 2"),
                QStringLiteral("CoSurgeonID3"), QStringLiteral("Co-Surgeon 3"),
                QStringLiteral("ProcedureCode"), QStringLiteral("Time Tag"),
                QStringLiteral("Date Requested"), QStringLiteral("SurgeonID"),
                QStringLiteral("AnesthesiologistID"), QStringLiteral("StartTime")});
    for (const Row &r : *rows) {
        out.append(QVariantList{
            r.trimmed(u"PatientName"), r.trimmed(u"ProcedureDesc"), personName(r, u"Surgeon"),
            personName(r, u"Anes"), dateTimeText(r.dateTime(u"StartTime")),
            r.trimmed(u"TransNum"), r.trimmed(u"RequestNum"), r.trimmed(u"RequestingStation"),
            r.trimmed(u"HospNum"), r.trimmed(u"IDNum"), r.integer(u"RequestKind"),
            r.trimmed(u"AsstSurgeon1"), personName(r, u"Co1"), r.trimmed(u"AsstSurgeon2"),
            personName(r, u"Co2"), r.trimmed(u"AsstSurgeon3"), personName(r, u"Co3"),
            r.trimmed(u"ProcedureCode"), r.trimmed(u"RequestTimeTag"),
            dateTimeText(r.dateTime(u"RequestDate")), r.trimmed(u"DoctorID1"),
            r.trimmed(u"DoctorID2"), r.dateTime(u"StartTime")});
    }
    return out;
}

// SCHEDULE..sp_Revoke_ORSchedule_Request transaction number, request number, user, kind: the
// OR turns a ward's request down. A request no longer pending is refused.
Result<RowSet> revokeRequest(Database &db, const ProcedureArgs &args)
{
    auto done = db.exec(u"update SCHEDULE..tbORScheduleDetails set RecordStatus = 'R', "
                        u"RevokedBy = :user, RevokedDate = getdate() "
                        u"where TransNum = :trans and RequestNum = :request and RecordStatus = 'P'",
                        {{QStringLiteral("user"), args.text(2)},
                         {QStringLiteral("trans"), args.text(0)},
                         {QStringLiteral("request"), args.text(1)}});
    if (!done)
        return tl::unexpected(done.error());
    if (*done == 0)
        return failure(QStringLiteral("The request is no longer pending."));
    return noRows();
}

// SCHEDULE..sp_Update_ORSchedule_Request room id, minutes, details, transaction number,
// procedure code, user, surgeon, anaesthesiologist, kind, co-surgeons 1 to 3, procedure: the
// OR confirms a ward's request into a room. (The variant linked to the hospital's scheduling
// takes the same values first.) A request the ward revoked meanwhile is refused whole.
Result<RowSet> confirmRequest(Database &db, const ProcedureArgs &args)
{
    auto done = db.exec(
        u"update SCHEDULE..tbORScheduleDetails set RoomID = :room, Length = :length, "
        u"Description = :details, ProcedureCode = :proc, ProcedureDesc = :procdesc, "
        u"DoctorID1 = :surgeon, DoctorID2 = :anes, AsstSurgeon1 = :co1, AsstSurgeon2 = :co2, "
        u"AsstSurgeon3 = :co3, RecordStatus = 'C', ConfirmedBy = :user, "
        u"ConfirmedDate = getdate() where TransNum = :trans and RecordStatus = 'P'",
        {{QStringLiteral("room"), intArg(args, 0)},
         {QStringLiteral("length"), intArg(args, 1)},
         {QStringLiteral("details"), args.at(2).toString()},
         {QStringLiteral("trans"), args.text(3)},
         {QStringLiteral("proc"), args.text(4)},
         {QStringLiteral("user"), args.text(5)},
         {QStringLiteral("surgeon"), args.text(6)},
         {QStringLiteral("anes"), args.text(7)},
         {QStringLiteral("co1"), args.text(9)},
         {QStringLiteral("co2"), args.text(10)},
         {QStringLiteral("co3"), args.text(11)},
         {QStringLiteral("procdesc"), args.text(12)}});
    if (!done)
        return tl::unexpected(done.error());
    if (*done == 0)
        return failure(QStringLiteral("The request was revoked or confirmed by another "
                                      "workstation and is no longer pending."));
    return noRows();
}

// The confirmed list's columns after its marker column: the patient, procedure, doctors and
// when; the room and minutes (6, 7); hidden the admission number (8) and transaction number
// (9); the hospital number, the surgeon's and anaesthesiologist's codes and the kind of
// patient; the columns of one schedule follow for the edit panel.
RowSet confirmedRows(const RowSet &rows)
{
    RowSet out({QStringLiteral("Patient Name"), QStringLiteral("OR PROCEDURE"),
                QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
                QStringLiteral("SCHEDULE DATE/TIME"), QStringLiteral("RoomName"),
                QStringLiteral("Length"), QStringLiteral("IdNum"), QStringLiteral("TransNum"),
                QStringLiteral("HospNum"), QStringLiteral("DoctorID1"),
                QStringLiteral("DoctorID2"), QStringLiteral("PatientClass"),
                QStringLiteral("Age"), QStringLiteral("PatientName"), QStringLiteral("ProcID"),
                QStringLiteral("Sex"), QStringLiteral("StartTime")});
    for (const Row &r : rows) {
        out.append(QVariantList{
            r.trimmed(u"PatientName"), r.trimmed(u"ProcedureDesc"), personName(r, u"Surgeon"),
            personName(r, u"Anes"), dateTimeText(r.dateTime(u"StartTime")),
            r.trimmed(u"RoomName"), r.integer(u"Length"), r.trimmed(u"IDNum"),
            r.trimmed(u"TransNum"), r.trimmed(u"HospNum"), r.trimmed(u"DoctorID1"),
            r.trimmed(u"DoctorID2"), r.trimmed(u"PatientClass"), r.trimmed(u"Age"),
            r.trimmed(u"PatientName"), r.trimmed(u"ProcedureCode"), r.trimmed(u"Sex"),
            r.dateTime(u"StartTime")});
    }
    return out;
}

} // namespace

Result<RowSet> listConfirmedSchedules(Database &db, const ProcedureArgs &args)
{
    const QString kind = args.text(0);
    QString sql = kScheduleSelect + QStringLiteral("where S.RecordStatus = 'C'");
    Binds binds;
    if (kind == u"10") {
        sql += QStringLiteral(" and S.TransNum = :trans");
        binds.insert(QStringLiteral("trans"), args.text(2));
    } else {
        const QDate day = dateTimeArg(args.at(3)).date();
        if (day.isValid()) {
            sql += QStringLiteral(" and S.StartTime >= :day and S.StartTime < :next");
            binds.insert(QStringLiteral("day"), QDateTime(day, QTime(0, 0)));
            binds.insert(QStringLiteral("next"), QDateTime(day.addDays(1), QTime(0, 0)));
        }
        const QString typed = args.text(1);
        if (!typed.isEmpty()) {
            const QString column = kind == u"2"   ? QStringLiteral("S.IDNum")
                                   : kind == u"3" ? QStringLiteral("S.HospNum")
                                                  : QStringLiteral("S.PatientName");
            sql += QStringLiteral(" and ") + column + QStringLiteral(" like :typed escape '\\'");
            binds.insert(QStringLiteral("typed"), likePrefix(typed));
        }
    }
    sql += QStringLiteral(" order by S.StartTime, S.TransNum");
    auto rows = db.select(sql, binds);
    if (!rows)
        return rows;
    return confirmedRows(*rows);
}

namespace {

// SCHEDULE..sp_Revoke_Confirmed_ORSchedule admission number, transaction number, user,
// hospital number: the OR takes back a confirmed booking.
Result<RowSet> revokeConfirmed(Database &db, const ProcedureArgs &args)
{
    auto done = db.exec(u"update SCHEDULE..tbORScheduleDetails set RecordStatus = 'R', "
                        u"RevokedBy = :user, RevokedDate = getdate() "
                        u"where TransNum = :trans and RecordStatus = 'C'",
                        {{QStringLiteral("user"), args.text(2)},
                         {QStringLiteral("trans"), args.text(1)}});
    if (!done)
        return tl::unexpected(done.error());
    if (*done == 0)
        return failure(QStringLiteral("The schedule is no longer confirmed."));
    return noRows();
}

// STATION..LoadRevokedRequests station, monitor flag: the station's requests that the
// receiving departments revoked in the last twelve hours, newest first. The monitor (flag 1)
// asks only for those not yet acknowledged.
Result<RowSet> revokedRequests(Database &db, const ProcedureArgs &args)
{
    QString sql = QStringLiteral(
        "select C.RequestNum, C.IDNum, C.ExamName, C.ExamCode, C.RevokedDate, C.RevokedBy, "
        "C.Remarks, C.RevAcknow_Date, C.RevAcknow_UserID, M.LastName, M.FirstName, "
        "M.MiddleName, U.LastName as AckLast, U.FirstName as AckFirst, "
        "U.MiddleName as AckMiddle "
        "from STATION..tbNurseCommunicationfile C "
        "left join PATIENT_DATA..tbMaster M on M.HospNum = C.HospNum "
        "left join PASSWORD..tbPasswordMaster U on U.EmployeeID = C.RevAcknow_UserID "
        "where C.StationID = :station and C.RecordStatus = 'R' and C.RevokedDate >= :since");
    if (args.text(1) == u"1")
        sql += QStringLiteral(" and C.RevAcknow_Date is null");
    sql += QStringLiteral(" order by C.RevokedDate desc, C.RequestNum");
    auto now = db.scalar(u"select getdate()");
    if (!now)
        return tl::unexpected(now.error());
    const QDateTime since = dateTimeArg(*now).addSecs(-12 * 3600);
    auto rows = db.select(sql, {{QStringLiteral("station"), args.text(0)},
                                {QStringLiteral("since"), since}});
    if (!rows)
        return rows;
    RowSet out({QStringLiteral("RequestNum"), QStringLiteral("Last Name"),
                QStringLiteral("First Name"), QStringLiteral("Middle Name"),
                QStringLiteral("Exam Name (Code)"), QStringLiteral("Date/Time Revoked"),
                QStringLiteral("Revoked By"), QStringLiteral("Remarks"),
                QStringLiteral("Adm. No."), QStringLiteral("Date/Time Acknowledged"),
                QStringLiteral("Acknowledged By"), QStringLiteral("Status")});
    for (const Row &r : *rows) {
        const bool acknowledged = r.dateTime(u"RevAcknow_Date").isValid();
        out.append(QVariantList{
            r.trimmed(u"RequestNum"), r.trimmed(u"LastName"), r.trimmed(u"FirstName"),
            r.trimmed(u"MiddleName"),
            QString(r.trimmed(u"ExamName") + QStringLiteral(" (") + r.trimmed(u"ExamCode") + u')'),
            dateTimeText(r.dateTime(u"RevokedDate")), r.trimmed(u"RevokedBy"),
            r.trimmed(u"Remarks"), r.trimmed(u"IDNum"),
            dateTimeText(r.dateTime(u"RevAcknow_Date")),
            acknowledged ? personName(r, u"Ack") : QString(),
            acknowledged ? QStringLiteral("A") : QString()});
    }
    return out;
}

} // namespace

Result<QString> drawScheduleTransNum(Database &db)
{
    return drawTransNum(db);
}

void registerScheduleProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("SCHEDULE..sp_List_ORRooms"), 0, listRooms);
    registry.add(QStringLiteral("SCHEDULE..sp_Get_ORRoom"), 1, roomByName);
    registry.add(QStringLiteral("SCHEDULE..sp_Get_ORSCHEDULE"), 1, daySchedule);
    registry.add(QStringLiteral("SCHEDULE..sp_AddORRoom"), 1, addRoom);
    registry.add(QStringLiteral("SCHEDULE..sp_UpdateORRoom"), 2, renameRoom);
    registry.add(QStringLiteral("SCHEDULE..sp_Update_ScheduleParameters"), 2, updateParameters);
    registry.add(QStringLiteral("SCHEDULE..SaveORSchedule"), 15, saveSchedule);
    registry.add(QStringLiteral("SCHEDULE..sp_Save_RequestORSchedule_ForPatient_ToBe_Admitted"),
                 16, saveToBeAdmitted);
    registry.add(QStringLiteral("SCHEDULE..sp_GetORSchedule_Request"), 0, pendingRequests);
    registry.add(QStringLiteral("SCHEDULE..sp_Revoke_ORSchedule_Request"), 4, revokeRequest);
    registry.add(QStringLiteral("SCHEDULE..sp_Update_ORSchedule_Request"), 13, confirmRequest);
    registry.add(QStringLiteral("SCHEDULE..sp_Update_ORSchedule_Request_LinkedToScheduling"), 18,
                 confirmRequest);
    registry.add(QStringLiteral("SCHEDULE..sp_Revoke_Confirmed_ORSchedule"), 4, revokeConfirmed);
    registry.add(QStringLiteral("STATION..LoadRevokedRequests"), 2, revokedRequests);
}

} // namespace kestrel::hospitaldb
