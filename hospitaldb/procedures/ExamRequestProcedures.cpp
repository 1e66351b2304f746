// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the examinations the station requests from the diagnostic departments: the
// checks that guard a request (already requested, processed today, part of a laboratory
// profile, the state of a request), the laboratory request forms printed for the stay, and the
// pharmacy and central supply request forms printed again.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

#include <QLocale>

namespace kestrel::hospitaldb {

namespace {

QString str(const char *name)
{
    return QString::fromLatin1(name);
}

// The server's day as two bounds, midnight to midnight.
Result<std::pair<QDateTime, QDateTime>> serverDay(Database &db)
{
    auto now = db.loadServerDate();
    if (!now)
        return tl::unexpected(now.error());
    const QDateTime start(now->date(), QTime(0, 0));
    return std::pair{start, start.addDays(1)};
}

// STATION..Nurse_CheckExamStatus IdNum, exam, department: the stay's request of the exam that
// the department has not processed yet (columns Message, Requestdate, RequestNum, StationID);
// no row when there is none.
Result<RowSet> checkExamStatus(Database &db, const ProcedureArgs &a)
{
    return db.select(u"select 'This examination was already requested (' || RequestNum || ') "
                     u"and is not yet processed. Date requested: ' as Message, "
                     u"RequestDate as Requestdate, RequestNum, StationID "
                     u"from STATION..tbNurseCommunicationfile where IDNum = :id "
                     u"and ExamCode = :code and RevenueID = :dept and RecordStatus = '' "
                     u"order by RequestDate desc limit 1",
                     {{str("id"), a.text(0).trimmed()},
                      {str("code"), a.text(1).trimmed()},
                      {str("dept"), a.text(2).trimmed().toUpper()}});
}

// STATION..Nurse_CheckExam_Posted IdNum, exam, department: the stay's request of the exam the
// department processed today, the latest first (columns ProcessDate, ProcessBy, RequestNum,
// StationID); no row when there is none.
Result<RowSet> checkExamPosted(Database &db, const ProcedureArgs &a)
{
    auto day = serverDay(db);
    if (!day)
        return tl::unexpected(day.error());
    return db.select(u"select ProcessDate, ProcessBy, RequestNum, StationID "
                     u"from STATION..tbNurseCommunicationfile where IDNum = :id "
                     u"and ExamCode = :code and RevenueID = :dept and RecordStatus = 'X' "
                     u"and ProcessDate >= :start and ProcessDate < :end "
                     u"order by ProcessDate desc limit 1",
                     {{str("id"), a.text(0).trimmed()},
                      {str("code"), a.text(1).trimmed()},
                      {str("dept"), a.text(2).trimmed().toUpper()},
                      {str("start"), day->first},
                      {str("end"), day->second}});
}

// STATION..sp_Nurse_Get_ProfileList exam: the examinations of the laboratory profile `exam`
// (columns ExamID, ExamName, ProfileID, ProfileName); no rows for an exam that is no profile.
Result<RowSet> profileList(Database &db, const ProcedureArgs &a)
{
    return db.select(u"select P.ExamID, coalesce(E.LabExam, '') as ExamName, P.ProfileID, "
                     u"coalesce(F.LabExam, '') as ProfileName from BUILD_FILE..tbCoLabProfile P "
                     u"left join BUILD_FILE..tbCoLabExam E on E.LabExamID = P.ExamID "
                     u"left join BUILD_FILE..tbCoLabExam F on F.LabExamID = P.ProfileID "
                     u"where P.ProfileID = :code order by P.ExamID",
                     {{str("code"), a.text(0).trimmed()}});
}

// STATION..sp_Nurse_Check_Request request: who sent the request and what became of it
// (columns StationID, RecordStatus, RevokeBy, RevokeDate, ProcessBy, ProcessDate).
Result<RowSet> checkRequest(Database &db, const ProcedureArgs &a)
{
    return db.select(u"select StationID, RecordStatus, RevokedBy as RevokeBy, "
                     u"RevokedDate as RevokeDate, ProcessBy, ProcessDate "
                     u"from STATION..tbNurseCommunicationfile where RequestNum = :number",
                     {{str("number"), a.text(0).trimmed()}});
}

// The stay's laboratory requests for the request form, the oldest first; `processed` adds
// those the laboratory has processed (for a reprint). Revoked requests are never listed.
Result<RowSet> laboratoryRequests(Database &db, const QString &idNum, bool processed)
{
    const QString sql =
        u"select C.RequestNum, C.ExamCode as Code, C.ExamName as Description, "
        u"C.RequestDate, C.UserID as RequestedBy, C.Section, "
        u"case when C.StatFlag = 'Y' then 'STAT' else 'ROUTINE' end as Type, "
        u"C.Specimen, C.Remarks, C.RecordStatus, C.StationID "
        u"from STATION..tbNurseCommunicationfile C where C.IDNum = :id "
        u"and C.RevenueID = 'LB' and C.RecordStatus " +
        QStringView(processed ? u"in ('', 'X')" : u"= ''") +
        u" order by C.RequestDate, C.RequestNum";
    return db.select(sql, {{str("id"), idNum.trimmed()}});
}

// STATION..sp_Nurse_Get_LaboratoryExamPosted IdNum, '', '0': the stay's laboratory requests
// still waiting for the laboratory, to print their request form.
Result<RowSet> laboratoryExamPosted(Database &db, const ProcedureArgs &a)
{
    return laboratoryRequests(db, a.text(0), false);
}

// STATION..Get_LaboratoryRequests IdNum, '', '0': the stay's laboratory requests waiting or
// processed, to print their request form again.
Result<RowSet> laboratoryRequestsToReprint(Database &db, const ProcedureArgs &a)
{
    return laboratoryRequests(db, a.text(0), true);
}

// LABORATORY..Lab_CleanUp_tbLabRequestForm user: empties the user's request-form lines.
Result<RowSet> cleanUpRequestForm(Database &db, const ProcedureArgs &a)
{
    auto done = db.exec(u"delete from LABORATORY..tbLabRequestForm where UserID = :user",
                        {{str("user"), a.text(0).trimmed()}});
    if (!done)
        return tl::unexpected(done.error());
    return RowSet();
}

// LABORATORY..Lab_SaveRequestForm, twenty values: source ('NS', a nursing station), user,
// IdNum, patient, account number, attending doctor, room, accommodation, exam code,
// description, section, type, specimen, request number, charge date ("MM/dd/yyyy hh:mm:ss
// AM/PM"), "STAT" or "ROUTINE", patient type, requesting nurse, transplant and dialysis status.
// One line of the user's request form.
Result<RowSet> saveRequestForm(Database &db, const ProcedureArgs &a)
{
    const QDateTime charged =
        QLocale::c().toDateTime(a.text(14), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    auto done = db.exec(
        u"insert into LABORATORY..tbLabRequestForm (Source, UserID, IdNum, PatientName, "
        u"AccountNum, Doctor, Room, Accommodation, ExamCode, Description, Section, ExamType, "
        u"Specimen, RequestNum, ChargeDate, Priority, PatientType, Nurse, Transplant, Dialysis) "
        u"values (:source, :user, :id, :patient, :account, :doctor, :room, :accommodation, "
        u":code, :description, :section, :type, :specimen, :number, :charged, :priority, "
        u":patienttype, :nurse, :transplant, :dialysis)",
        {{str("source"), a.text(0)},      {str("user"), a.text(1)},
         {str("id"), a.text(2)},          {str("patient"), a.text(3)},
         {str("account"), a.text(4)},     {str("doctor"), a.text(5)},
         {str("room"), a.text(6)},        {str("accommodation"), a.text(7)},
         {str("code"), a.text(8)},        {str("description"), a.text(9)},
         {str("section"), a.text(10)},    {str("type"), a.text(11)},
         {str("specimen"), a.text(12)},   {str("number"), a.text(13)},
         {str("charged"), charged.isValid() ? QVariant(charged) : QVariant()},
         {str("priority"), a.text(15)},   {str("patienttype"), a.text(16)},
         {str("nurse"), a.text(17)},      {str("transplant"), a.text(18)},
         {str("dialysis"), a.text(19)}});
    if (!done)
        return tl::unexpected(done.error());
    return RowSet();
}

// STATION..GetRequestByRevenueID IdNum, department, mode, request: with mode 1 the stay's
// pharmacy ("PH") or central supply ("CS") requests as the nurse sent them, one batch per
// sending (columns RequestNum, DateRequested, RequestingNurse, Items, FirstNum, LastNum), the
// latest first; with mode 0 the lines of the batch whose first request number is `request`
// (columns RequestNum, Code, Description, Frequency, Quantity, Remarks).
Result<RowSet> requestsByRevenue(Database &db, const ProcedureArgs &a)
{
    Binds keys{{str("id"), a.text(0).trimmed()}, {str("dept"), a.text(1).trimmed().toUpper()}};
    if (a.text(2).trimmed() == u"1")
        return db.select(u"select min(C.RequestNum) as RequestNum, C.RequestDate as "
                         u"DateRequested, C.UserID as RequestingNurse, count(*) as Items, "
                         u"min(C.RequestNum) as FirstNum, max(C.RequestNum) as LastNum "
                         u"from STATION..tbNurseCommunicationfile C where C.IDNum = :id "
                         u"and C.RevenueID = :dept group by C.RequestDate, C.UserID "
                         u"order by C.RequestDate desc, min(C.RequestNum) desc",
                         keys);
    keys.insert(str("number"), a.text(3).trimmed());
    return db.select(u"select C.RequestNum, C.ItemID as Code, C.ExamName as Description, "
                     u"C.Frequency, C.Quantity, C.Remarks from STATION..tbNurseCommunicationfile C "
                     u"join STATION..tbNurseCommunicationfile F on F.RequestNum = :number "
                     u"and F.IDNum = C.IDNum and F.RevenueID = C.RevenueID "
                     u"and F.RequestDate = C.RequestDate and F.UserID = C.UserID "
                     u"where C.IDNum = :id and C.RevenueID = :dept order by C.RequestNum",
                     keys);
}

// STATION..sp_Nurse_SaveExamRequestDetails request, specimen id, specimen, section: what an
// examination request carries besides the logbook's values, written in the caller's
// transaction right after the request.
Result<RowSet> saveExamRequestDetails(Database &db, const ProcedureArgs &a)
{
    auto done = db.exec(u"update STATION..tbNurseCommunicationfile set SpecimenID = :specimenid, "
                        u"Specimen = :specimen, Section = :section where RequestNum = :number",
                        {{str("number"), a.text(0).trimmed()},
                         {str("specimenid"), a.text(1).trimmed()},
                         {str("specimen"), a.text(2).trimmed()},
                         {str("section"), a.text(3).trimmed()}});
    if (!done)
        return tl::unexpected(done.error());
    if (*done != 1)
        return failure(QStringLiteral("There is no request %1.").arg(a.text(0).trimmed()));
    return RowSet();
}

} // namespace

void registerExamRequestProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..Nurse_CheckExamStatus"), 3, checkExamStatus);
    registry.add(QStringLiteral("STATION..Nurse_CheckExam_Posted"), 3, checkExamPosted);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_ProfileList"), 1, profileList);
    registry.add(QStringLiteral("STATION..sp_Nurse_Check_Request"), 1, checkRequest);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_LaboratoryExamPosted"), 3,
                 laboratoryExamPosted);
    registry.add(QStringLiteral("STATION..Get_LaboratoryRequests"), 3,
                 laboratoryRequestsToReprint);
    registry.add(QStringLiteral("LABORATORY..Lab_CleanUp_tbLabRequestForm"), 1,
                 cleanUpRequestForm);
    registry.add(QStringLiteral("LABORATORY..Lab_SaveRequestForm"), 20, saveRequestForm);
    registry.add(QStringLiteral("STATION..GetRequestByRevenueID"), 4, requestsByRevenue);
    registry.add(QStringLiteral("STATION..sp_Nurse_SaveExamRequestDetails"), 4,
                 saveExamRequestDetails);
}

} // namespace kestrel::hospitaldb
