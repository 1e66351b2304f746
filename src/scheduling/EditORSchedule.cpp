// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/EditORSchedule.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "scheduling/RoomBooking.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmAsk =
    QStringLiteral("Are you sure you want to confirm this operation schedule?");
const QString kRoomGone = QStringLiteral("Invalid OR Room. Please check build file of rooms.");
const QString kScheduleGone =
    QStringLiteral("This schedule is no longer confirmed: another workstation revoked it.");

} // namespace

EditORSchedule::EditORSchedule(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
{
}

bool EditORSchedule::failed(const Error &error)
{
    m_session.notifier().errorBox(error);
    return false;
}

bool EditORSchedule::load(const QString &transNum)
{
    auto switches = m_store.stationSwitches();
    if (!switches)
        return failed(switches.error());
    m_switches = *switches;
    auto rooms = m_store.rooms();
    if (!rooms)
        return failed(rooms.error());
    m_roomNames = ScheduleStore::roomNames(*rooms);
    auto schedule = m_store.schedule(transNum);
    if (!schedule)
        return failed(schedule.error());
    m_schedule = *schedule;
    if (m_schedule.transNum.isEmpty() || m_schedule.status != u"C") {
        m_session.notifier().message(kScheduleGone, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    return true;
}

QString EditORSchedule::doctorName(const QString &code)
{
    auto name = m_store.doctorName(code);
    return name ? *name : QString();
}

ScheduleEdit EditORSchedule::current() const
{
    ScheduleEdit e;
    e.room = m_schedule.room;
    e.start = m_schedule.start;
    e.end = m_schedule.end();
    e.surgeonId = m_schedule.surgeonId;
    e.anesthesiologistId = m_schedule.anesthesiologistId;
    e.coSurgeonIds = m_schedule.coSurgeonIds;
    return e;
}

bool EditORSchedule::checkTimes(const QDateTime &start, const QDateTime &end)
{
    if (start.isValid() && end > start)
        return true;
    m_session.notifier().message(QStringLiteral("Invalid time."), QStringLiteral("Message"),
                                 Notifier::Icon::Exclamation);
    return false;
}

int EditORSchedule::hourLength(const QDateTime &start, const QDateTime &end)
{
    // Clock hours begun, not minutes: 09:30 to 10:15 is one hour, 09:00 to 09:45 none.
    const QDateTime from(start.date(), QTime(start.time().hour(), 0));
    const QDateTime to(end.date(), QTime(end.time().hour(), 0));
    return int(from.secsTo(to) / 3600) * 60;
}

EditORSchedule::SaveOutcome EditORSchedule::update(const ScheduleEdit &e)
{
    Notifier &notifier = m_session.notifier();
    if (e.room.trimmed().isEmpty()) {
        notifier.message(QStringLiteral("Please provide OR Room."), kNotification,
                         Notifier::Icon::Critical);
        return SaveOutcome::Refused;
    }
    if (!checkTimes(e.start, e.end))
        return SaveOutcome::Refused;
    if (m_session.settings.RequireAnestSchedule() && e.anesthesiologistId.trimmed().isEmpty()) {
        notifier.message(QStringLiteral("Please enter Anesthesiologist."), kNotification,
                         Notifier::Icon::Information);
        return SaveOutcome::Refused;
    }
    auto roomId = m_store.roomId(e.room);
    if (!roomId)
        return failed(roomId.error()), SaveOutcome::Failed;
    if (*roomId == 0) {
        notifier.message(kRoomGone, kNotification, Notifier::Icon::Information);
        return SaveOutcome::Refused;
    }
    const bool moves = m_switches.OR_AllowEditScheduleDateTime;
    const int minutes = hourLength(e.start, e.end);
    // The room is held for what the clerk entered and for what the hours rule stores, so the
    // stored operation never overlaps one the check did not see.
    const QDateTime start = moves ? e.start : m_schedule.start;
    const qint64 held = std::max<qint64>(e.start.secsTo(e.end), qint64(minutes) * 60);
    const RoomSlot slot{*roomId, start, start.addSecs(held), m_schedule.transNum};
    RoomBookingGuard guard(m_session.db(), notifier);
    if (!guard.check(slot))
        return SaveOutcome::Declined;
    if (!signOrAbandon(m_session, QStringLiteral("Selected operation schedule will not be saved! ") +
                                      u'\n' + kConfirmAsk))
        return SaveOutcome::Declined;
    const QString details = QStringLiteral("Patient Name :") + m_schedule.patientName + u' ' +
                            QStringLiteral("Procedure :") + m_schedule.procedureDesc + u' ' +
                            QStringLiteral("Surgeon:") + e.surgeonName + u' ' +
                            QStringLiteral("Anesthesiologist :") + e.anesthesiologistName;
    const auto outcome = guard.save(slot, [&](Database &db) -> Result<void> {
        auto changed = db.exec(
            u"UPDATE SCHEDULE..tbORScheduleDetails SET RoomID = :room, Length = :length, "
            u"Description = :details, DoctorID1 = :surgeon, DoctorID2 = :anes, "
            u"AsstSurgeon1 = :co1, AsstSurgeon2 = :co2, AsstSurgeon3 = :co3 "
            u"WHERE TransNum = :trans AND RecordStatus = 'C'",
            {{QStringLiteral("room"), *roomId},
             {QStringLiteral("length"), minutes},
             {QStringLiteral("details"), details},
             {QStringLiteral("surgeon"), e.surgeonId.trimmed()},
             {QStringLiteral("anes"), e.anesthesiologistId.trimmed()},
             {QStringLiteral("co1"), e.coSurgeonIds[0].trimmed()},
             {QStringLiteral("co2"), e.coSurgeonIds[1].trimmed()},
             {QStringLiteral("co3"), e.coSurgeonIds[2].trimmed()},
             {QStringLiteral("trans"), m_schedule.transNum}});
        if (!changed)
            return tl::unexpected(changed.error());
        if (*changed == 0) {
            guard.refuseWrite(kScheduleGone);
            return failure(kScheduleGone);
        }
        if (moves) {
            auto moved = db.exec(u"UPDATE SCHEDULE..tbORScheduleDetails SET StartTime = :start, "
                                 u"ScheduleDate = :day WHERE TransNum = :trans",
                                 {{QStringLiteral("start"), e.start},
                                  {QStringLiteral("day"), QDateTime(e.start.date(), QTime(0, 0))},
                                  {QStringLiteral("trans"), m_schedule.transNum}});
            if (!moved)
                return tl::unexpected(moved.error());
        }
        return {};
    });
    if (outcome == RoomBookingGuard::SaveOutcome::Declined)
        return SaveOutcome::Declined;
    if (outcome == RoomBookingGuard::SaveOutcome::Refused)
        return SaveOutcome::Refused;
    if (outcome != RoomBookingGuard::SaveOutcome::Saved)
        return SaveOutcome::Failed;
    notifier.message(QStringLiteral("Schedule updated."), kNotification,
                     Notifier::Icon::Information);
    Q_EMIT saved();
    return SaveOutcome::Saved;
}

} // namespace kestrel
