// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/DischargeStore.h"

#include "core/db/WriteTransaction.h"

namespace kestrel::discharge {

namespace {

const QString kId = QStringLiteral("id");

Notice noticeOf(const Row &r)
{
    Notice n;
    n.idNum = r.trimmed(u"IdNum");
    n.patientName = r.trimmed(u"PatientName");
    n.roomId = r.trimmed(u"RoomID");
    n.dischargeNurse = r.trimmed(u"DischargeNurse");
    n.noticeDate = r.dateTime(u"Noticedate");
    n.orderedDate = r.dateTime(u"OrderedDate");
    n.remarks = r.text(u"Remarks");
    n.clearDate = r.dateTime(u"ClearDate");
    n.clearedBy = r.trimmed(u"UserID");
    n.clearRemarks = r.text(u"ClearRemarks");
    n.lastName = r.trimmed(u"LastName");
    n.firstName = r.trimmed(u"FirstName");
    n.middleName = r.trimmed(u"MiddleName");
    n.hospNum = r.trimmed(u"HospNum");
    n.admitted = r.dateTime(u"AdmDate");
    n.doctor = r.trimmed(u"Doctor");
    return n;
}

} // namespace

QString wardDateTime(const QDateTime &when)
{
    return when.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
}

template <typename T>
Result<T> DischargeStore::inTransaction(const std::function<Result<T>()> &write)
{
    return inWriteTransaction(m_db, write);
}

Result<QList<Notice>> DischargeStore::notices()
{
    auto rows = m_db.call(u"STATION..spOR_LoadDischargeNotice ");
    if (!rows)
        return tl::unexpected(rows.error());
    QList<Notice> out;
    for (const Row &r : *rows)
        out << noticeOf(r);
    return out;
}

Result<std::optional<Notice>> DischargeStore::notice(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..spOR_LoadDischargeNoticePatient", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return std::optional<Notice>();
    return std::optional<Notice>(noticeOf(rows->at(0)));
}

Result<bool> DischargeStore::clear(const QString &idNum, const QString &remarks,
                                   const QString &employee)
{
    const QString stored = QString(remarks).replace(u'\'', u'`');
    return inTransaction<bool>([&]() -> Result<bool> {
        auto rows = m_db.call(u"STATION..spOR_ClearPatientForDischarge",
                              {idNum.trimmed(), stored, employee});
        if (!rows)
            return tl::unexpected(rows.error());
        return !rows->isEmpty() && rows->at(0).integer(u"Cleared") == 1;
    });
}

Result<std::optional<QString>> DischargeStore::orderState(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..Nurse_CheckDischargeNotice", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return std::optional<QString>();
    return std::optional<QString>(rows->at(0).trimmed(u"RecordStatus"));
}

Result<bool> DischargeStore::hasPendingRequests(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..List_PendingRequest", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return !rows->isEmpty();
}

Result<std::optional<Stay>> DischargeStore::stay(const QString &idNum)
{
    auto row = m_db.selectOne(
        u"select P.IDNum, P.HospNum, P.AdmDate, P.DcrDate, P.RoomID, "
        u"M.LastName || ', ' || M.FirstName || ' ' || M.MiddleName as PatientName, "
        u"coalesce(S.Station, P.StationID) as Station "
        u"from PATIENT_DATA..tbPatient P join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
        u"left join BUILD_FILE..tbCoRoom R on R.RoomID = P.RoomID "
        u"left join BUILD_FILE..tbCoStation S on S.StationID = R.StationID "
        u"where P.IDNum = :id and P.RecordStatus <> 'R'",
        {{kId, idNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<Stay>();
    const Row &r = **row;
    Stay s;
    s.idNum = r.trimmed(u"IDNum");
    s.hospNum = r.trimmed(u"HospNum");
    s.patientName = r.text(u"PatientName").simplified();
    s.admitted = r.dateTime(u"AdmDate");
    s.discharged = r.dateTime(u"DcrDate");
    s.roomId = r.trimmed(u"RoomID");
    s.station = r.trimmed(u"Station");
    return std::optional<Stay>(s);
}

Result<std::optional<Room>> DischargeStore::room(const QString &roomId)
{
    auto row = m_db.selectOne(u"select R.RoomID, R.RoomRate, coalesce(S.Station, R.StationID) "
                              u"as Station from BUILD_FILE..tbCoRoom R "
                              u"left join BUILD_FILE..tbCoStation S on S.StationID = R.StationID "
                              u"where R.RoomID = :room and R.Status = 'A'",
                              {{QStringLiteral("room"), roomId.trimmed().toUpper()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<Room>();
    return std::optional<Room>(Room{(*row)->trimmed(u"RoomID"), (*row)->trimmed(u"Station"),
                                    (*row)->money(u"RoomRate")});
}

Result<bool> DischargeStore::discharge(const DischargeRequest &request)
{
    return inTransaction<bool>([&]() -> Result<bool> {
        auto rows = m_db.call(u"PATIENT_DATA..sp_Adm_DischargePatient",
                              {request.idNum.trimmed(), request.hospNum.trimmed(),
                               wardDateTime(request.when), request.result, request.disposition,
                               request.validatedEmployee, request.userEmployee});
        if (!rows)
            return tl::unexpected(rows.error());
        return !rows->isEmpty() && rows->at(0).integer(u"Discharged") == 1;
    });
}

Result<TransferOutcome> DischargeStore::transfer(const QString &idNum, const Room &room,
                                                 const QDateTime &when, const QString &employee,
                                                 const QString &flag)
{
    return inTransaction<TransferOutcome>([&]() -> Result<TransferOutcome> {
        auto rows = m_db.call(u"PATIENT_DATA..sp_Adm_RoomTransfer",
                              {idNum.trimmed(), room.roomId, wardDateTime(when), employee,
                               room.rate.toDouble(), flag});
        if (!rows)
            return tl::unexpected(rows.error());
        const QString result = rows->isEmpty() ? QString() : rows->at(0).trimmed(u"Result");
        if (result == u"OK")
            return TransferOutcome::Done;
        if (result == u"TAKEN")
            return TransferOutcome::RoomTaken;
        if (result == u"NOROOM")
            return TransferOutcome::NoSuchRoom;
        if (result == u"SAME")
            return TransferOutcome::SameRoom;
        return TransferOutcome::StayGone;
    });
}

Result<InstructionSheet> DischargeStore::sheet(const QString &idNum)
{
    auto rows =
        m_db.call(u"STATION..sp_ER_Get_DischargeInstructions_MedicationsSheet", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    InstructionSheet s;
    if (rows->isEmpty())
        return s;
    const Row &r = rows->at(0);
    s.instructions = r.text(u"Instructions");
    s.medications = r.text(u"Medications");
    s.checkUp = r.text(u"CheckUp");
    s.checkInOn = r.text(u"CheckInOn");
    s.activityLevel = r.text(u"ActivityLevel");
    s.dietInstruction = r.text(u"DietInstruction");
    s.whatToObserve = r.text(u"WhatToObserve");
    s.guardian = r.text(u"Guardian");
    s.receivedBy = r.text(u"ReceivedBy");
    s.saved = true;
    return s;
}

Result<QList<Medication>> DischargeStore::medications(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..LoadNurseMedications", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<Medication> out;
    for (const Row &r : *rows)
        out << Medication{r.text(u"Drug"),  r.text(u"Dose"),  r.text(u"Frequency"),
                          r.text(u"Duration"), r.text(u"TimeA"), r.text(u"TimeB"),
                          r.text(u"TimeC"), r.text(u"Remarks")};
    return out;
}

Result<QString> DischargeStore::homeCarePlan(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..NurseHomeCarePlan_Retrieve", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->isEmpty() ? QString() : rows->at(0).text(u"PlanText");
}

Result<void> DischargeStore::saveSheet(const QString &idNum, const InstructionSheet &sheet,
                                       const QString &employee,
                                       const std::optional<QList<Medication>> &medicines)
{
    const QString id = idNum.trimmed();
    return inTransaction<void>([&]() -> Result<void> {
        // The sheet's row first: it holds the stay's sheet until the commit, so two saves of
        // the medicines follow each other.
        auto saved = done(m_db.call(
            u"STATION..sp_Nurse_Update_DischargeInstructions_MedicationsSheet",
            {id, sheet.instructions.trimmed(), sheet.medications.trimmed(), employee, employee,
             sheet.checkUp.trimmed(), sheet.checkInOn.trimmed(), sheet.activityLevel.trimmed(),
             sheet.dietInstruction.trimmed(), sheet.whatToObserve.trimmed(),
             sheet.guardian.trimmed(), sheet.receivedBy.trimmed()}));
        if (!saved || !medicines)
            return saved;
        auto removed = m_db.exec(u"Delete from Station..tbNurseDischargeMedications "
                                 u"where IDNum = :id",
                                 {{kId, id}});
        if (!removed)
            return tl::unexpected(removed.error());
        QList<Binds> rows;
        for (const Medication &m : *medicines) {
            if (m.isEmpty())
                continue;
            rows << Binds{{kId, id},
                          {QStringLiteral("drug"), m.drug.trimmed()},
                          {QStringLiteral("dose"), m.dose.trimmed()},
                          {QStringLiteral("frequency"), m.frequency.trimmed()},
                          {QStringLiteral("duration"), m.duration.trimmed()},
                          {QStringLiteral("a"), m.timeA.trimmed()},
                          {QStringLiteral("b"), m.timeB.trimmed()},
                          {QStringLiteral("c"), m.timeC.trimmed()},
                          {QStringLiteral("user"), employee},
                          {QStringLiteral("remarks"), m.remarks.trimmed()}};
        }
        if (rows.isEmpty())
            return {};
        auto inserted = m_db.execMany(
            u"INSERT INTO Station..tbNurseDischargeMedications (Drug, Dose, Frequency, Duration, "
            u"TimeA, TimeB, TimeC, Transdate, UserID, IDNum, Remarks) values (:drug, :dose, "
            u":frequency, :duration, :a, :b, :c, getdate(), :user, :id, :remarks)",
            rows);
        if (!inserted)
            return tl::unexpected(inserted.error());
        return {};
    });
}

Result<void> DischargeStore::saveHomeCarePlan(const QString &idNum, const QString &plan,
                                              const QString &employee)
{
    return inTransaction<void>([&]() -> Result<void> {
        return done(m_db.call(u"STATION..Save_Nurse_HomeCarePlan",
                              {idNum.trimmed(), plan.trimmed(), employee}));
    });
}

Result<bool> dischargeInstructionsComplete(Database &db, const QString &idNum)
{
    DischargeStore store(db);
    auto sheet = store.sheet(idNum);
    if (!sheet)
        return tl::unexpected(sheet.error());
    return sheet->saved && !sheet->instructions.trimmed().isEmpty();
}

} // namespace kestrel::discharge
