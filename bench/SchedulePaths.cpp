// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR schedule: the board showing a busy day with its planner filled, and the room
// conflict check a booking passes, through the board's presenter, the day planner and the
// booking guard, and as the bare statements they run.
#include "BenchPaths.h"

#include "core/db/Database.h"
#include "scheduling/RoomBooking.h"
#include "scheduling/ScheduleBoard.h"
#include "scheduling/ui/DayPlanner.h"

#include <memory>

namespace kestrel::bench {

namespace {

// What SCHEDULE..sp_Get_ORSCHEDULE reads for a day.
const QString kDaySql = QStringLiteral(
    "select S.TransNum, R.RoomName, S.StartTime, S.Length, S.Description, S.Category "
    "from SCHEDULE..tbORScheduleDetails S join SCHEDULE..tbORRoom R on R.RoomID = S.RoomID "
    "where S.RecordStatus = 'C' and S.StartTime >= :day and S.StartTime < :next "
    "order by R.SortOrder, S.StartTime");

// The conflict check's two reads: the room's longest operation, and the operations that
// start before the booking ends and late enough to reach into it.
const QString kLongestSql = QStringLiteral("select max(Length) from SCHEDULE..tbORScheduleDetails "
                                           "where RoomID = :room and RecordStatus = 'C'");
const QString kOverlapSql = QStringLiteral(
    "select TransNum, StartTime, Length from SCHEDULE..tbORScheduleDetails "
    "where RoomID = :room and RecordStatus = 'C' and StartTime < :end "
    "and StartTime >= :earliest order by StartTime, TransNum");

struct BoardState
{
    explicit BoardState(BenchSession &s)
        : session(s)
        , board(s.session, nullptr)
    {
    }
    BenchSession &session;
    ScheduleBoard board;
    // Made when the path gets ready: a widget needs the application first.
    std::unique_ptr<DayPlanner> planner;
    QList<QRect> blocks;
};

} // namespace

RoomSlot conflictSlot(const hospitaldb::ScaleLandmarks &landmarks)
{
    // Mid-morning in the busiest room of the busy day, where the operations run back to back.
    const QDateTime start(landmarks.busyDay, QTime(10, 0));
    return RoomSlot{landmarks.busyRoomId, start, start.addSecs(90 * 60), QString()};
}

Result<qint64> bareOverlaps(Database &db, const RoomSlot &slot)
{
    const Binds room{{QStringLiteral("room"), slot.roomId}};
    auto longest = db.scalar(kLongestSql, room);
    if (!longest)
        return tl::unexpected(longest.error());
    auto rows = db.select(kOverlapSql,
                          {{QStringLiteral("room"), slot.roomId},
                           {QStringLiteral("end"), slot.end},
                           {QStringLiteral("earliest"),
                            slot.start.addSecs(-longest->toLongLong() * 60)}});
    if (!rows)
        return tl::unexpected(rows.error());
    qint64 overlaps = 0;
    for (const Row &r : *rows) {
        const QDateTime end = r.dateTime(u"StartTime").addSecs(r.integer(u"Length") * 60);
        overlaps += end > slot.start ? 1 : 0;
    }
    return overlaps;
}

QList<BenchPath> schedulePaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks)
{
    auto state = std::make_shared<BoardState>(s);
    const QDate day = landmarks.busyDay;

    BenchPath board;
    board.name = QStringLiteral("schedule board, busy day");
    board.program = QStringLiteral("ScheduleBoard::showDay (SCHEDULE..sp_Get_ORSCHEDULE), the "
                                   "DayPlanner filled and every block laid out");
    board.bare = QStringLiteral("the day's statement of SCHEDULE..sp_Get_ORSCHEDULE");
    board.targetMs = 50;
    board.ratioTarget = true;
    board.sameRows = true;
    // The board open with its rooms and parameters, as the window has it before a day is
    // picked in the calendar.
    board.prepare = [state]() -> Result<void> {
        if (!state->board.loadRooms())
            return failure(QStringLiteral("the board could not read its rooms"));
        if (!state->planner)
            state->planner = std::make_unique<DayPlanner>();
        state->planner->setRooms(state->board.roomNames());
        state->planner->setParameters(state->board.parameters());
        return {};
    };
    board.runProgram = [state, day]() -> Result<qint64> {
        if (!state->board.showDay(day, true))
            return failure(QStringLiteral("the board could not read %1").arg(day.toString()));
        DayPlanner &planner = *state->planner;
        planner.setDay(state->board.day());
        planner.setItems(state->board.items());
        state->blocks.clear();
        for (int i = 0; i < planner.items().size(); ++i)
            state->blocks << planner.itemRect(i);
        return planner.items().size();
    };
    board.runBare = [state, day]() -> Result<qint64> {
        auto rows = state->session.db.select(
            kDaySql, {{QStringLiteral("day"), day.startOfDay()},
                      {QStringLiteral("next"), day.addDays(1).startOfDay()}});
        if (!rows)
            return tl::unexpected(rows.error());
        return rows->count();
    };
    board.notes << QStringLiteral("The planner's blocks are placed (room, start, length) but not "
                                  "painted: drawing them is the window's and the screen's work.");

    BenchPath conflict;
    conflict.name = QStringLiteral("room conflict check");
    conflict.program = QStringLiteral("RoomBookingGuard::check, then save with the room held "
                                      "(FOR UPDATE / BEGIN IMMEDIATE), writing nothing");
    conflict.bare = QStringLiteral("the room's longest operation and the overlap SELECT");
    conflict.targetMs = 5;
    const RoomSlot slot = conflictSlot(landmarks);
    conflict.prepare = [state]() -> Result<void> {
        // The room is taken then: the booking goes ahead as an ER case.
        state->session.notifier.answer = true;
        return {};
    };
    conflict.runProgram = [state, slot]() -> Result<qint64> {
        RoomBookingGuard guard(state->session.db, state->session.notifier);
        if (!guard.check(slot))
            return failure(QStringLiteral("the check turned the booking down"));
        const auto saved = guard.save(slot, [](Database &) -> Result<void> { return {}; });
        if (saved != RoomBookingGuard::SaveOutcome::Saved)
            return failure(QStringLiteral("the save's check turned the booking down"));
        return 1;
    };
    conflict.runBare = [state, slot]() { return bareOverlaps(state->session.db, slot); };
    conflict.notes << QStringLiteral("A booking of 90 minutes at 10:00 in the busy day's room: "
                                     "the check before signing and the save's own look with the "
                                     "room held, in a transaction that writes nothing.");
    return {board, conflict};
}

} // namespace kestrel::bench
