// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of a patient's way out: the discharge notices the OR clears, the state billing
// left the notice in, the discharge itself, room transfers, and the discharge instructions,
// medicines and home care plan the patient takes home.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

const QString kId = QStringLiteral("id");

RowSet answer(const QString &column, const QVariant &value)
{
    RowSet out({column});
    out.append(QVariantList{value});
    return out;
}

// The date-time a ward statement passes as text, "MM/dd/yyyy hh:mm:ss AM".
QDateTime wardDateTime(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    const QString text = v.toString().simplified();
    for (const QString &format : {QStringLiteral("MM/dd/yyyy hh:mm:ss AP"),
                                  QStringLiteral("MM/dd/yyyy h:mm:ss AP"),
                                  QStringLiteral("MM/dd/yyyy")}) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid())
            return dt;
    }
    return {};
}

// The notices of stays still in the hospital, with the patient and who sent the notice.
const QString kNoticeSelect = QStringLiteral(
    "select M.LastName || ', ' || M.FirstName || ' ' || M.MiddleName as PatientName, "
    "P.RoomID, N.IDNum as IdNum, "
    "coalesce(U.LastName || ', ' || U.FirstName, N.UserID) as DischargeNurse, "
    "N.NoticeDate as Noticedate, N.OrderedDate, N.Remarks, N.ClearDate, "
    "N.ClearedBy as UserID, N.ClearRemarks, M.LastName, M.FirstName, M.MiddleName, "
    "P.HospNum, P.AdmDate, "
    "coalesce(D.LastName || ', ' || D.FirstName, P.AttendingDr1) as Doctor "
    "from STATION..tbNurseDischargeNotice N "
    "join PATIENT_DATA..tbPatient P on P.IDNum = N.IDNum "
    "join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
    "left join PASSWORD..tbPasswordMaster U on U.EmployeeID = N.UserID "
    "left join BUILD_FILE..tbCoDoctor D on D.DoctorID = P.AttendingDr1 "
    "where P.DcrDate is null and N.RecordStatus <> 'R' ");

// STATION..spOR_LoadDischargeNotice: the notices of patients not yet discharged, newest last.
Result<RowSet> loadNotices(Database &db, const ProcedureArgs &)
{
    return db.select(QString(kNoticeSelect + u"order by N.NoticeDate, N.IDNum"));
}

// STATION..spOR_LoadDischargeNoticePatient IdNum: the stay's newest notice with its patient.
Result<RowSet> loadNoticePatient(Database &db, const ProcedureArgs &args)
{
    const QString sql = kNoticeSelect + u"and N.IDNum = :id order by N.NoticeID desc limit 1";
    return db.select(sql, stayIdBind(args));
}

// STATION..spOR_ClearPatientForDischarge IdNum, remarks, EmployeeCode: clears the stay's open
// notice; `Cleared` is 0 when someone cleared it first.
Result<RowSet> clearPatient(Database &db, const ProcedureArgs &args)
{
    auto cleared = db.exec(u"update STATION..tbNurseDischargeNotice set ClearDate = getdate(), "
                           u"ClearedBy = :user, ClearRemarks = :remarks "
                           u"where IDNum = :id and ClearDate is null and RecordStatus <> 'R'",
                           {{kId, args.text(0)},
                            {QStringLiteral("remarks"), args.at(1).toString()},
                            {QStringLiteral("user"), args.text(2)}});
    if (!cleared)
        return tl::unexpected(cleared.error());
    return answer(QStringLiteral("Cleared"), *cleared > 0 ? 1 : 0);
}

// STATION..Nurse_CheckDischargeNotice IdNum: the final discharge order sent to billing, with
// RecordStatus 'P' once billing printed its processing sheet and 'F' until then; no row while
// no final order was sent.
Result<RowSet> checkDischargeNotice(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select case when ProcessedDate is not null then 'P' else 'F' end "
                     u"as RecordStatus, ProcessedDate from STATION..tbNurseDischargeNotice "
                     u"where IDNum = :id and (IsFinal = 1 or RecordStatus = 'F') "
                     u"order by NoticeID desc limit 1",
                     stayIdBind(args));
}

// Writes one line of the station log; inside the caller's transaction, so it lands or fails
// with the change it records.
Result<void> logStation(Database &db, const QString &idNum, const QString &remarks,
                        const QString &user)
{
    auto done = db.exec(u"insert into STATION..tbStationLogs (IdNum, TransDate, Remarks, "
                        u"UserID, HostName, StationID) values (:id, getdate(), :remarks, :user, "
                        u"host_name(), 'OR')",
                        {{kId, idNum},
                         {QStringLiteral("remarks"), remarks},
                         {QStringLiteral("user"), user}});
    if (!done)
        return tl::unexpected(done.error());
    return {};
}

// PATIENT_DATA..sp_Adm_DischargePatient IdNum, HospNum, discharge "MM/dd/yyyy hh:mm:ss AM",
// result, disposition, validated EmployeeCode, logged-in EmployeeCode: discharges the stay
// once, which frees its room. `Discharged` 0 when the stay was gone or discharged already.
Result<RowSet> dischargePatient(Database &db, const ProcedureArgs &args)
{
    const QDateTime when = wardDateTime(args.at(2));
    if (!when.isValid())
        return answer(QStringLiteral("Discharged"), 0);
    auto done = db.exec(u"update PATIENT_DATA..tbPatient set DcrDate = :when, DcrResult = "
                        u":result, DcrDisposition = :disposition, DcrUserID = :user "
                        u"where IDNum = :id and HospNum = :hosp and DcrDate is null "
                        u"and RecordStatus <> 'R'",
                        {{kId, args.text(0)},
                         {QStringLiteral("hosp"), args.text(1)},
                         {QStringLiteral("when"), when},
                         {QStringLiteral("result"), args.text(3)},
                         {QStringLiteral("disposition"), args.text(4)},
                         {QStringLiteral("user"), args.text(5)}});
    if (!done)
        return tl::unexpected(done.error());
    if (*done == 0)
        return answer(QStringLiteral("Discharged"), 0);
    if (auto logged = logStation(db, args.text(0),
                                 QStringLiteral("DISCHARGED PATIENT (RESULT %1, DISPOSITION %2)")
                                     .arg(args.text(3), args.text(4)),
                                 args.text(5));
        !logged)
        return tl::unexpected(logged.error());
    return answer(QStringLiteral("Discharged"), 1);
}

// PATIENT_DATA..sp_Adm_RoomTransfer IdNum, new room, "MM/dd/yyyy hh:mm:ss AM", EmployeeCode,
// room rate, flag: moves the stay into the room when nobody is in it. The room's row is held
// first, so two transfers into the same room follow each other and the second finds it
// taken. `Result`: "OK", "TAKEN", "NOROOM", "NOSTAY" (gone or discharged), "SAME". A flag "1"
// marks a transfer entered afterwards for a move made earlier; it is kept with the transfer.
Result<RowSet> roomTransfer(Database &db, const ProcedureArgs &args)
{
    const QString idNum = args.text(0);
    const QString room = args.text(1).toUpper();
    const Binds roomBind{{QStringLiteral("room"), room}};
    auto held = db.exec(u"update BUILD_FILE..tbCoRoom set Status = Status where RoomID = :room",
                        roomBind);
    if (!held)
        return tl::unexpected(held.error());
    const QString result = QStringLiteral("Result");
    if (*held == 0)
        return answer(result, QStringLiteral("NOROOM"));
    auto stay = db.selectOne(u"select RoomID from PATIENT_DATA..tbPatient where IDNum = :id "
                             u"and DcrDate is null and RecordStatus <> 'R'",
                             {{kId, idNum}});
    if (!stay)
        return tl::unexpected(stay.error());
    if (!*stay)
        return answer(result, QStringLiteral("NOSTAY"));
    const QString oldRoom = (*stay)->trimmed(u"RoomID");
    if (oldRoom.compare(room, Qt::CaseInsensitive) == 0)
        return answer(result, QStringLiteral("SAME"));
    auto others = db.scalar(u"select count(*) from PATIENT_DATA..tbPatient where RoomID = :room "
                            u"and DcrDate is null and RecordStatus <> 'R'",
                            roomBind);
    if (!others)
        return tl::unexpected(others.error());
    if (others->toInt() > 0)
        return answer(result, QStringLiteral("TAKEN"));
    auto moved = db.exec(u"update PATIENT_DATA..tbPatient set RoomID = :room, StationID = "
                         u"(select StationID from BUILD_FILE..tbCoRoom where RoomID = :room2) "
                         u"where IDNum = :id and DcrDate is null",
                         {{kId, idNum}, {QStringLiteral("room"), room},
                          {QStringLiteral("room2"), room}});
    if (!moved)
        return tl::unexpected(moved.error());
    const QDateTime when = wardDateTime(args.at(2));
    auto logged = db.exec(u"insert into PATIENT_DATA..tbPatientRoomTransfer (IDNum, FromRoom, "
                          u"ToRoom, TransferDate, RoomRate, UserID, Flag) values (:id, :from, "
                          u":to, :when, :rate, :user, :flag)",
                          {{kId, idNum},
                           {QStringLiteral("from"), oldRoom},
                           {QStringLiteral("to"), room},
                           {QStringLiteral("when"), when.isValid() ? QVariant(when) : QVariant()},
                           {QStringLiteral("rate"), args.at(4).toDouble()},
                           {QStringLiteral("user"), args.text(3)},
                           {QStringLiteral("flag"),
                            QString(args.text(5) == u"1" ? QChar(u'1') : QChar(u'0'))}});
    if (!logged)
        return tl::unexpected(logged.error());
    if (auto station = logStation(db, idNum,
                                  QStringLiteral("ROOM TRANSFER %1 TO %2").arg(oldRoom, room),
                                  args.text(3));
        !station)
        return tl::unexpected(station.error());
    return answer(result, QStringLiteral("OK"));
}

// STATION..sp_Nurse_Get_Patient_ForDischargeInstructions_MedicationSheet IdNum: the patient and
// stay the sheet is headed with, an admission or an emergency-room visit (ERNum set).
Result<RowSet> sheetPatient(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select M.LastName || ', ' || M.FirstName || ' ' || M.MiddleName as PatientName, "
        u"S.HospNum, S.IDNum as IdNum, S.RoomID, S.AdmDate, S.DcrDate, M.Sex, M.BirthDate, "
        u"M.CivilStatus, S.ADMDiagnosis, S.ERNum, "
        u"coalesce(D.LastName || ', ' || D.FirstName, S.DoctorID) as Doctor "
        u"from (select P.IDNum, P.HospNum, P.RoomID, P.AdmDate, P.DcrDate, "
        u"P.AttendingDr1 as DoctorID, H.ADMDiagnosis, '' as ERNum "
        u"from PATIENT_DATA..tbPatient P "
        u"left join PATIENT_DATA..tbPatientHistory H on H.IDNum = P.IDNum where P.IDNum = :id "
        u"union all select O.IDNum, O.HospNum, 'ER', O.AdmDate, O.DcrDate, O.DoctorID1, "
        u"H.ChiefComplaints, coalesce(O.ERNum, '') from PATIENT_DATA..tbOutPatient O "
        u"left join PATIENT_DATA..tbOutpatientHistory H on H.IDNum = O.IDNum "
        u"where O.IDNum = :id2) S "
        u"join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
        u"left join BUILD_FILE..tbCoDoctor D on D.DoctorID = S.DoctorID",
        {{kId, args.text(0)}, {QStringLiteral("id2"), args.text(0)}});
}

// STATION..sp_ER_Get_DischargeInstructions_MedicationsSheet IdNum: the sheet as last saved.
Result<RowSet> loadSheet(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select Instructions, Medications, CheckUp, CheckInOn, ActivityLevel, "
                     u"DietInstruction, WhatToObserve, Guardian, ReceivedBy, UserID, UserID2, "
                     u"TransDate from STATION..tbNurseDischargeInstructions where IDNum = :id",
                     stayIdBind(args));
}

// STATION..sp_Nurse_Update_DischargeInstructions_MedicationsSheet IdNum, instructions,
// medications, EmployeeCode, EmployeeCode, check-up, check in on, activity level, diet
// instruction, what to observe, guardian, received by: writes the stay's one sheet. The row is
// written (and so held) before anything else of the sheet.
Result<RowSet> saveSheet(Database &db, const ProcedureArgs &args)
{
    const QStringList names = {QStringLiteral("id"),        QStringLiteral("instructions"),
                               QStringLiteral("medications"), QStringLiteral("user"),
                               QStringLiteral("user2"),     QStringLiteral("checkup"),
                               QStringLiteral("checkinon"), QStringLiteral("activity"),
                               QStringLiteral("diet"),      QStringLiteral("observe"),
                               QStringLiteral("guardian"),  QStringLiteral("received")};
    Binds binds;
    for (int i = 0; i < names.size(); ++i)
        binds.insert(names.at(i), i == 0 ? args.text(0) : args.at(i).toString());
    return noRows(db.exec(
        u"insert into STATION..tbNurseDischargeInstructions (IDNum, Instructions, Medications, "
        u"UserID, UserID2, CheckUp, CheckInOn, ActivityLevel, DietInstruction, WhatToObserve, "
        u"Guardian, ReceivedBy, TransDate) values (:id, :instructions, :medications, :user, "
        u":user2, :checkup, :checkinon, :activity, :diet, :observe, :guardian, :received, "
        u"getdate()) on conflict (IDNum) do update set Instructions = excluded.Instructions, "
        u"Medications = excluded.Medications, UserID = excluded.UserID, "
        u"UserID2 = excluded.UserID2, CheckUp = excluded.CheckUp, "
        u"CheckInOn = excluded.CheckInOn, ActivityLevel = excluded.ActivityLevel, "
        u"DietInstruction = excluded.DietInstruction, WhatToObserve = excluded.WhatToObserve, "
        u"Guardian = excluded.Guardian, ReceivedBy = excluded.ReceivedBy, "
        u"TransDate = excluded.TransDate",
        binds));
}

// STATION..LoadNurseMedications IdNum: the medicines of the sheet, one per drug.
Result<RowSet> loadMedications(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select Drug, Dose, Frequency, Duration, TimeA, TimeB, TimeC, Remarks "
                     u"from STATION..tbNurseDischargeMedications where IDNum = :id "
                     u"order by MedicationID",
                     stayIdBind(args));
}

// STATION..NurseHomeCarePlan_Retrieve IdNum.
Result<RowSet> loadHomeCarePlan(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select PlanText, UserID, TransDate from STATION..tbNurseHomeCarePlan "
                     u"where IDNum = :id",
                     stayIdBind(args));
}

// STATION..Save_Nurse_HomeCarePlan IdNum, plan, EmployeeCode.
Result<RowSet> saveHomeCarePlan(Database &db, const ProcedureArgs &args)
{
    return noRows(db.exec(u"insert into STATION..tbNurseHomeCarePlan (IDNum, PlanText, UserID, "
                           u"TransDate) values (:id, :plan, :user, getdate()) "
                           u"on conflict (IDNum) do update set PlanText = excluded.PlanText, "
                           u"UserID = excluded.UserID, TransDate = excluded.TransDate",
                           {{kId, args.text(0)},
                            {QStringLiteral("plan"), args.at(1).toString()},
                            {QStringLiteral("user"), args.text(2)}}));
}

} // namespace

void registerDischargeProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..spOR_LoadDischargeNotice"), 0, loadNotices);
    registry.add(QStringLiteral("STATION..spOR_LoadDischargeNoticePatient"), 1,
                 loadNoticePatient);
    registry.add(QStringLiteral("STATION..spOR_ClearPatientForDischarge"), 3, clearPatient);
    registry.add(QStringLiteral("STATION..Nurse_CheckDischargeNotice"), 1, checkDischargeNotice);
    registry.add(QStringLiteral("PATIENT_DATA..sp_Adm_DischargePatient"), 7, dischargePatient);
    registry.add(QStringLiteral("PATIENT_DATA..sp_Adm_RoomTransfer"), 6, roomTransfer);
    registry.add(
        QStringLiteral("STATION..sp_Nurse_Get_Patient_ForDischargeInstructions_MedicationSheet"),
        1, sheetPatient);
    registry.add(QStringLiteral("STATION..sp_ER_Get_DischargeInstructions_MedicationsSheet"), 1,
                 loadSheet);
    registry.add(QStringLiteral("STATION..sp_Nurse_Update_DischargeInstructions_MedicationsSheet"),
                 12, saveSheet);
    registry.add(QStringLiteral("STATION..LoadNurseMedications"), 1, loadMedications);
    registry.add(QStringLiteral("STATION..NurseHomeCarePlan_Retrieve"), 1, loadHomeCarePlan);
    registry.add(QStringLiteral("STATION..Save_Nurse_HomeCarePlan"), 3, saveHomeCarePlan);
}

} // namespace kestrel::hospitaldb
