// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ScheduleRequests.h"

#include "core/db/Database.h"
#include "core/Session.h"
#include "scheduling/RoomBooking.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmAsk =
    QStringLiteral("Are you sure you want to confirm this operation schedule?");
const QString kRoomGone = QStringLiteral("Invalid OR Room. Please check build file of rooms.");
const QString kRequestGone =
    QStringLiteral("This request is no longer pending: the requesting station revoked it or "
                   "another workstation confirmed it. The list is shown again.");

/// The row of `sql` (one schedule by :trans) locked for the rest of the transaction where the
/// database locks rows; the embedded database's write transaction already holds it all.
QString lockedRow(const Database &db, const QString &sql)
{
    return db.backend() == Backend::Postgres ? sql + QStringLiteral(" for update") : sql;
}

Result<QString> statusOf(Database &db, const QString &transNum)
{
    auto status = db.scalar(lockedRow(db, QStringLiteral("select RecordStatus from "
                                                         "SCHEDULE..tbORScheduleDetails "
                                                         "where TransNum = :trans")),
                            {{QStringLiteral("trans"), transNum}});
    if (!status)
        return tl::unexpected(status.error());
    return status->toString().trimmed();
}

} // namespace

ScheduleRequests::ScheduleRequests(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_board(session, nullptr)
{
}

bool ScheduleRequests::failed(const Error &error)
{
    m_session.notifier().errorBox(error);
    return false;
}

void ScheduleRequests::tell(const QString &text, Notifier::Icon icon)
{
    m_session.notifier().message(text, kNotification, icon);
}

bool ScheduleRequests::load()
{
    ScheduleStore &store = m_board.store();
    auto switches = store.stationSwitches();
    if (!switches)
        return failed(switches.error());
    m_switches = *switches;
    auto rooms = store.rooms();
    if (!rooms)
        return failed(rooms.error());
    m_roomNames = ScheduleStore::roomNames(*rooms);
    auto requests = store.pendingRequests();
    if (!requests)
        return failed(requests.error());
    m_requests = std::move(*requests);
    Q_EMIT requestsChanged();
    return true;
}

RequestConfirmation ScheduleRequests::select(int row) const
{
    RequestConfirmation c;
    if (row < 0 || row >= m_requests.count())
        return c;
    const Row &r = m_requests.at(row);
    AdmittedBooking &b = c.booking;
    b.hospNum = r.trimmed(u"HospNum");
    b.idNum = r.trimmed(u"IdNum");
    b.patientName = r.trimmed(u"Patient Name");
    c.requestedStart = r.dateTime(u"StartTime");
    b.date = c.requestedStart.date();
    b.start = c.requestedStart.time();
    b.end = m_board.defaultEnd(b.start);
    b.procedureCode = r.trimmed(u"ProcedureCode");
    b.procedureDesc = r.trimmed(u"OR Procedure");
    b.surgeonId = r.trimmed(u"SurgeonID");
    b.surgeonName = r.trimmed(u"Surgeon");
    b.anesthesiologistId = r.trimmed(u"AnesthesiologistID");
    b.anesthesiologistName = r.trimmed(u"Anesthesiologist");
    // This client's wards name co-surgeons the OR does not keep.
    if (m_session.hospital.clientname.trimmed().compare(u"TEPLO", Qt::CaseInsensitive) != 0) {
        for (int i = 0; i < 3; ++i) {
            b.coSurgeonIds[i] = r.trimmed(QStringLiteral("CoSurgeonID%1").arg(i + 1));
            c.coSurgeonNames[i] = r.trimmed(QStringLiteral("Co-Surgeon %1").arg(i + 1));
        }
    }
    c.transNum = r.trimmed(u"TransNum");
    c.requestNum = r.trimmed(u"RequestNum");
    c.requestKind = int(r.integer(u"RequestKind"));
    c.timeTag = r.trimmed(u"Time Tag");
    return c;
}

QString ScheduleRequests::details(const RequestConfirmation &c) const
{
    const AdmittedBooking &b = c.booking;
    QString text = QStringLiteral("Patient Name :") + b.patientName + u'\n' +
                   QStringLiteral("Procedure :") + b.procedureDesc + u'\n' +
                   QStringLiteral("Room :") + b.room + u'\n' + QStringLiteral("Surgeon:") +
                   b.surgeonName + u'\n' + QStringLiteral("Anesthesiologist :") +
                   b.anesthesiologistName;
    if (m_session.settings.ShowSCNurseinSchedule())
        text += u'\n' + QStringLiteral("S.Nurse:") + b.scrubNurse + u'\n' +
                QStringLiteral("C.Nurse:") + b.circulatingNurse;
    return b.remarks.trimmed().isEmpty() ? text : text + u' ' + b.remarks;
}

ScheduleRequests::SaveOutcome ScheduleRequests::confirm(const RequestConfirmation &c)
{
    const AdmittedBooking &b = c.booking;
    if (!c.timeTag.isEmpty() && b.start == QTime(0, 0) &&
        !m_session.notifier().confirm(
            QStringLiteral("The requesting station tagged the operation schedule as ") +
                c.timeTag.toUpper() + QStringLiteral(". ") + u'\n' +
                QStringLiteral("Please double-check the starting and ending time. ") + u'\n' +
                QStringLiteral("If correct, click Yes. To set the correct time, click No."),
            QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return SaveOutcome::Declined;
    const int minutes =
        ScheduleBoard::lengthMinutes(QDateTime(b.date, b.start), QDateTime(b.date, b.end));
    if (minutes < 1) {
        tell(QStringLiteral("Please provide a valid ending time."), Notifier::Icon::Critical);
        return SaveOutcome::Refused;
    }
    if (b.room.trimmed().isEmpty()) {
        tell(QStringLiteral("Please select OR Room for the schedule."));
        return SaveOutcome::Refused;
    }
    auto roomId = m_board.store().roomId(b.room);
    if (!roomId)
        return failed(roomId.error()), SaveOutcome::Failed;
    if (*roomId == 0) {
        tell(kRoomGone);
        return SaveOutcome::Refused;
    }
    // Without the switch the operation keeps the ward's date and time; the clerk's times give
    // its length only, and the room is checked where it will really be.
    const QDateTime start = startEditable() || !c.requestedStart.isValid()
                                ? QDateTime(b.date, b.start)
                                : c.requestedStart;
    const RoomSlot slot{*roomId, start, start.addSecs(qint64(minutes) * 60), c.transNum};
    RoomBookingGuard guard(m_session.db(), m_session.notifier());
    if (!guard.check(slot))
        return SaveOutcome::Declined;
    if (m_session.settings.RequireAnestSchedule() && b.anesthesiologistId.trimmed().isEmpty()) {
        tell(QStringLiteral("Please provide Anesthesiologist."));
        return SaveOutcome::Refused;
    }
    if (!signOrAbandon(m_session, QStringLiteral("Selected operation schedule was not saved. ") +
                                      u'\n' + kConfirmAsk))
        return SaveOutcome::Declined;
    const QString text = details(c);
    const QString user = m_session.validated.code;
    const bool linked = m_session.settings.LinkScheduleToScheduling();
    const auto outcome = guard.save(slot, [&](Database &db) -> Result<void> {
        // The ward may have taken its request back since the list was read.
        auto status = statusOf(db, c.transNum);
        if (!status)
            return tl::unexpected(status.error());
        if (*status != u"P") {
            guard.refuseWrite(kRequestGone);
            return failure(kRequestGone);
        }
        QVariantList args{*roomId,
                          minutes,
                          text,
                          c.transNum,
                          b.procedureCode.trimmed(),
                          user,
                          b.surgeonId.trimmed(),
                          b.anesthesiologistId.trimmed(),
                          c.requestKind,
                          b.coSurgeonIds[0].trimmed(),
                          b.coSurgeonIds[1].trimmed(),
                          b.coSurgeonIds[2].trimmed(),
                          b.procedureDesc};
        if (linked)
            args << *roomId << slot.start << slot.end << c.requestNum << b.hospNum;
        auto confirmed = db.call(linked ? u"SCHEDULE..sp_Update_ORSchedule_Request_LinkedToScheduling"
                                        : u"SCHEDULE..sp_Update_ORSchedule_Request",
                                 args);
        if (!confirmed)
            return tl::unexpected(confirmed.error());
        if (startEditable()) {
            auto moved = db.exec(u"UPDATE SCHEDULE..tbORScheduleDetails SET StartTime = :start, "
                                 u"ScheduleDate = :day WHERE TransNum = :trans",
                                 {{QStringLiteral("start"), slot.start},
                                  {QStringLiteral("day"), QDateTime(slot.start.date(), QTime(0, 0))},
                                  {QStringLiteral("trans"), c.transNum}});
            if (!moved)
                return tl::unexpected(moved.error());
        }
        return {};
    });
    if (outcome == RoomBookingGuard::SaveOutcome::Refused) {
        load();
        return SaveOutcome::Refused;
    }
    if (outcome == RoomBookingGuard::SaveOutcome::Declined)
        return SaveOutcome::Declined;
    if (outcome != RoomBookingGuard::SaveOutcome::Saved)
        return SaveOutcome::Failed;
    tell(QStringLiteral("Schedule confirmed."));
    load();
    return SaveOutcome::Saved;
}

ScheduleRequests::SaveOutcome ScheduleRequests::revoke(int row)
{
    if (row < 0 || row >= m_requests.count())
        return SaveOutcome::Refused;
    const RequestConfirmation c = select(row);
    if (!m_session.notifier().confirm(
            QStringLiteral("Are you sure you want to revoke this operation schedule?"),
            QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return SaveOutcome::Declined;
    if (!signOrAbandon(m_session,
                       QStringLiteral("Selected operation schedule will not be revoked. ") +
                           u'\n' +
                           QStringLiteral("Are you sure you want to revoke this operation "
                                          "schedule?")))
        return SaveOutcome::Declined;
    auto revoked = m_session.db().call(
        u"SCHEDULE..sp_Revoke_ORSchedule_Request",
        {c.transNum, c.requestNum, m_session.validated.code, c.requestKind});
    if (!revoked) {
        auto status = statusOf(m_session.db(), c.transNum);
        if (status && *status != u"P") {
            tell(kRequestGone, Notifier::Icon::Exclamation);
            load();
            return SaveOutcome::Refused;
        }
        return failed(revoked.error()), SaveOutcome::Failed;
    }
    tell(QStringLiteral("Schedule was successfully revoked."));
    load();
    return SaveOutcome::Saved;
}

} // namespace kestrel
