// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ScheduleStore.h"

#include "core/components/PatientRecords.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

ScheduleStore::ScheduleStore(Database &db)
    : m_db(db)
{
}

Result<RowSet> ScheduleStore::rooms()
{
    return m_db.call(u"SCHEDULE..sp_List_ORRooms");
}

QStringList ScheduleStore::roomNames(const RowSet &rooms)
{
    QStringList names;
    for (const Row &r : rooms)
        names << r.trimmed(u"Room Name");
    return names;
}

Result<int> ScheduleStore::roomId(const QString &name)
{
    auto rows = m_db.call(u"SCHEDULE..sp_Get_ORRoom", {name.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->isEmpty() ? 0 : rows->at(0).integer(u"RoomID");
}

Result<BoardParameters> ScheduleStore::parameters()
{
    auto row = m_db.selectOne(u"select StartTime, DayLength, ScheduleIncrement "
                              u"from SCHEDULE..tbORApplication");
    if (!row)
        return tl::unexpected(row.error());
    BoardParameters p;
    if (*row) {
        p.startHour = std::clamp(int((*row)->integer(u"StartTime")), 0, 23);
        p.dayLength = std::clamp(int((*row)->integer(u"DayLength")), 1, 24);
        p.increment = std::clamp(int((*row)->integer(u"ScheduleIncrement")), 1, 60);
    }
    return p;
}

Result<QList<PlannerItem>> ScheduleStore::day(const QDate &day)
{
    auto rows = m_db.call(u"SCHEDULE..sp_Get_ORSCHEDULE", {day});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<PlannerItem> items;
    items.reserve(rows->count());
    for (const Row &r : *rows) {
        items << PlannerItem{r.trimmed(u"RoomName"), r.dateTime(u"StartTime"),
                             int(r.integer(u"Length")), r.text(u"Description"),
                             r.trimmed(u"CategoryName"), r.trimmed(u"TransNum")};
    }
    return items;
}

Result<bool> ScheduleStore::hasPendingRequests()
{
    auto rows = m_db.call(u"SCHEDULE..sp_GetORSchedule_Request");
    if (!rows)
        return tl::unexpected(rows.error());
    return !rows->isEmpty();
}

Result<RowSet> ScheduleStore::pendingRequests()
{
    return m_db.call(u"SCHEDULE..sp_GetORSchedule_Request");
}

Result<ConfirmedSchedule> ScheduleStore::schedule(const QString &transNum)
{
    auto row = m_db.selectOne(u"SELECT S.DoctorID1, S.DoctorID2, S.AsstSurgeon1, S.AsstSurgeon2, "
                              u"S.AsstSurgeon3, S.IDNum, S.StartTime, S.Length, S.PatientName, "
                              u"S.ProcedureDesc, S.RecordStatus, R.RoomName "
                              u"FROM SCHEDULE..tbORScheduleDetails S "
                              u"LEFT OUTER JOIN SCHEDULE..tbORRoom R ON R.RoomID = S.RoomID "
                              u"WHERE S.TransNum = :trans",
                              {{QStringLiteral("trans"), transNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    ConfirmedSchedule s;
    if (!*row)
        return s;
    const Row &r = **row;
    s.transNum = transNum.trimmed();
    s.idNum = r.trimmed(u"IDNum");
    s.patientName = r.trimmed(u"PatientName");
    s.procedureDesc = r.trimmed(u"ProcedureDesc");
    s.room = r.trimmed(u"RoomName");
    s.start = r.dateTime(u"StartTime");
    s.length = std::max(int(r.integer(u"Length")), 0);
    s.surgeonId = r.trimmed(u"DoctorID1");
    s.anesthesiologistId = r.trimmed(u"DoctorID2");
    s.coSurgeonIds = {r.trimmed(u"AsstSurgeon1"), r.trimmed(u"AsstSurgeon2"),
                      r.trimmed(u"AsstSurgeon3")};
    s.status = r.trimmed(u"RecordStatus");
    return s;
}

Result<QStringList> ScheduleStore::patientClasses()
{
    auto rows = m_db.select(u"SELECT Classification FROM BUILD_FILE..tbcoPatientClass "
                            u"WHERE Status = 1 ORDER BY Classification");
    if (!rows)
        return tl::unexpected(rows.error());
    QStringList classes;
    for (const Row &r : *rows)
        classes << r.trimmed(u"Classification");
    return classes;
}

Result<QString> ScheduleStore::doctorName(const QString &doctorId)
{
    if (doctorId.trimmed().isEmpty())
        return QString();
    auto row = m_db.selectOne(u"select LastName, FirstName, MiddleName from "
                              u"BUILD_FILE..tbCoDoctor where DoctorID = :id",
                              {{QStringLiteral("id"), doctorId.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return QString();
    return completeName((*row)->trimmed(u"LastName"), (*row)->trimmed(u"FirstName"),
                        (*row)->trimmed(u"MiddleName"));
}

Result<ScheduledPatient> ScheduleStore::patient(const QString &hospNum)
{
    auto row = m_db.selectOne(u"select LastName, FirstName, MiddleName, Sex, BirthDate "
                              u"from PATIENT_DATA..tbMaster where HospNum = :hosp",
                              {{QStringLiteral("hosp"), hospNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return ScheduledPatient{};
    const Row &r = **row;
    return ScheduledPatient{
        completeName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"), r.trimmed(u"MiddleName")),
        r.trimmed(u"Sex"), r.dateTime(u"BirthDate").date()};
}

Result<ScheduleStore::StationSwitches> ScheduleStore::stationSwitches()
{
    auto row = m_db.selectOne(u"SELECT OREditSchedProcedure,OR_AllowEditScheduleDateTime "
                              u"FROM STATION..TBNURSING_SETTINGS");
    if (!row)
        return tl::unexpected(row.error());
    StationSwitches s;
    if (*row) {
        s.OREditSchedProcedure = (*row)->flag(u"OREditSchedProcedure");
        s.OR_AllowEditScheduleDateTime = (*row)->flag(u"OR_AllowEditScheduleDateTime");
    }
    return s;
}

bool signOrAbandon(Session &session, const QString &question)
{
    for (;;) {
        session.validated = session.dialogs().validateUser();
        if (session.validated.isValid())
            return true;
        if (!session.notifier().confirm(question, QStringLiteral("Confirmation"),
                                        Notifier::Icon::Question))
            return false;
    }
}

} // namespace kestrel
