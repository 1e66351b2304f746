// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/RoomBooking.h"

#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

namespace {

const QString kConfirmation = QStringLiteral("Confirmation");
const QString kNotification = QStringLiteral("Notification");
const QString kRoomGone = QStringLiteral("Invalid OR Room. Please check build file of rooms.");

QString clockText(const QDateTime &at)
{
    return at.toString(QStringLiteral("hh:mm:ss AP"));
}

} // namespace

Result<QList<OccupiedSlot>> overlappingOperations(Database &db, const RoomSlot &slot)
{
    const Binds room{{QStringLiteral("room"), slot.roomId}};
    // No operation of the room is longer than its longest, so none that starts earlier than
    // that before the booking can reach into it: the rows to look at are one index range.
    auto longest = db.scalar(u"select max(Length) from SCHEDULE..tbORScheduleDetails "
                             u"where RoomID = :room and RecordStatus = 'C'",
                             room);
    if (!longest)
        return tl::unexpected(longest.error());
    if (longest->isNull())
        return QList<OccupiedSlot>();
    const qint64 reach = std::max<qint64>(longest->toLongLong(), 0) * 60;
    auto rows = db.select(u"select TransNum, StartTime, Length "
                          u"from SCHEDULE..tbORScheduleDetails "
                          u"where RoomID = :room and RecordStatus = 'C' "
                          u"and StartTime < :end and StartTime >= :earliest "
                          u"order by StartTime, TransNum",
                          {{QStringLiteral("room"), slot.roomId},
                           {QStringLiteral("end"), slot.end},
                           {QStringLiteral("earliest"), slot.start.addSecs(-reach)}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<OccupiedSlot> overlaps;
    const QString own = slot.transNum.trimmed();
    for (const Row &r : *rows) {
        const QString transNum = r.trimmed(u"TransNum");
        const QDateTime start = r.dateTime(u"StartTime");
        // A null length counts as none.
        const QDateTime end = start.addSecs(std::max<qint64>(r.integer(u"Length"), 0) * 60);
        if (end > slot.start && (own.isEmpty() || transNum.compare(own, Qt::CaseInsensitive)))
            overlaps << OccupiedSlot{transNum, start, end};
    }
    return overlaps;
}

QString roomConflictQuestion(const OccupiedSlot &occupied)
{
    return QStringLiteral("An operation is already scheduled in this room on ") +
           occupied.start.toString(QStringLiteral("MM/dd/yyyy")) + QStringLiteral(" from ") +
           clockText(occupied.start) + u'-' + clockText(occupied.end) +
           QStringLiteral(". Would you like to continue for an ER case?");
}

RoomBookingGuard::RoomBookingGuard(Database &db, Notifier &notifier)
    : m_db(db)
    , m_notifier(notifier)
{
}

bool RoomBookingGuard::askAbout(const QList<OccupiedSlot> &overlaps)
{
    for (const OccupiedSlot &o : overlaps) {
        if (m_accepted.contains(o.transNum))
            continue;
        if (!m_notifier.confirm(roomConflictQuestion(o), kConfirmation, Notifier::Icon::Question))
            return false;
        for (const OccupiedSlot &all : overlaps)
            m_accepted.insert(all.transNum);
        return true;
    }
    return true;
}

bool RoomBookingGuard::check(const RoomSlot &slot)
{
    m_accepted.clear();
    auto overlaps = overlappingOperations(m_db, slot);
    if (!overlaps) {
        m_notifier.errorBox(overlaps.error());
        return false;
    }
    return askAbout(*overlaps);
}

RoomBookingGuard::SaveOutcome
RoomBookingGuard::save(const RoomSlot &slot, const std::function<Result<void>(Database &)> &write)
{
    for (;;) {
        Transaction tx = m_db.transaction(TransactionMode::Write);
        if (!tx.isActive()) {
            m_notifier.errorBox(tx.error());
            return SaveOutcome::Failed;
        }
        // Bookings of one room wait here for each other until the one before commits.
        const QString lock = m_db.backend() == Backend::Postgres
                                 ? QStringLiteral("select RoomID from SCHEDULE..tbORRoom "
                                                  "where RoomID = :room for update")
                                 : QStringLiteral("select RoomID from SCHEDULE..tbORRoom "
                                                  "where RoomID = :room");
        auto held = m_db.selectOne(lock, {{QStringLiteral("room"), slot.roomId}});
        if (!held) {
            m_notifier.errorBox(held.error());
            return SaveOutcome::Failed;
        }
        if (!*held) {
            m_notifier.message(kRoomGone, kNotification, Notifier::Icon::Critical);
            return SaveOutcome::RoomGone;
        }
        auto overlaps = overlappingOperations(m_db, slot);
        if (!overlaps) {
            m_notifier.errorBox(overlaps.error());
            return SaveOutcome::Failed;
        }
        bool unseen = false;
        for (const OccupiedSlot &o : std::as_const(*overlaps))
            unseen = unseen || !m_accepted.contains(o.transNum);
        if (unseen) {
            // Nobody waits on the room while the user thinks: let it go, ask, and look again.
            tx.rollback();
            ++m_caughtAtSave;
            if (!askAbout(*overlaps))
                return SaveOutcome::Declined;
            continue;
        }
        m_refusal.clear();
        if (auto ok = write(m_db); !ok) {
            tx.rollback();
            if (!m_refusal.isEmpty()) {
                m_notifier.message(m_refusal, kNotification, Notifier::Icon::Exclamation);
                return SaveOutcome::Refused;
            }
            m_notifier.errorBox(ok.error());
            return SaveOutcome::Failed;
        }
        if (auto ok = tx.commit(); !ok) {
            m_notifier.errorBox(ok.error());
            return SaveOutcome::Failed;
        }
        return SaveOutcome::Saved;
    }
}

} // namespace kestrel
