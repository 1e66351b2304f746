// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>

namespace kestrel {

class Database;
class Notifier;

/// A booking in hand: the room, when it starts and ends, and the schedule it is (empty for a
/// new booking), which never stands in its own way.
struct RoomSlot
{
    int roomId = 0;
    QDateTime start;
    QDateTime end;
    QString transNum;
};

/// A confirmed operation that occupies a room.
struct OccupiedSlot
{
    QString transNum;
    QDateTime start;
    QDateTime end;
};

/// The confirmed operations of `slot`'s room that overlap it, earliest first. Two operations
/// overlap when each starts before the other ends, so one that ends when the next begins does
/// not, and neither does the booking `slot` itself nor any row that is not confirmed.
Result<QList<OccupiedSlot>> overlappingOperations(Database &db, const RoomSlot &slot);

/// "An operation is already scheduled in this room on ... Would you like to continue for an
/// ER case?" about `occupied`.
QString roomConflictQuestion(const OccupiedSlot &occupied);

/// The room conflict check every booking passes (the board, confirming a ward's request,
/// editing a confirmed schedule), and the save that holds to it.
///
/// check() is the question the user answers before signing: a room already taken asks
/// whether the booking goes ahead as an ER case. save() then writes the booking in one
/// transaction that holds the room (its row locked, or the embedded database's write lock),
/// after looking again: an operation booked meanwhile by another workstation, which the user
/// has not accepted, is asked about again before anything is written.
class RoomBookingGuard
{
public:
    enum class SaveOutcome {
        Saved,    ///< written and committed
        Declined, ///< a conflict found at the save, and No to going on
        RoomGone, ///< the room no longer exists; the user was told
        Refused,  ///< the write found the booking may not be made after all; the user was told
        Failed,   ///< the database refused; the error box was shown
    };

    RoomBookingGuard(Database &db, Notifier &notifier);

    /// The check with its question. True when the booking may go ahead: the room is free
    /// then, or the user answered Yes for an ER case (the operations asked about are then
    /// accepted for this booking). A failing read shows the error box and answers false.
    bool check(const RoomSlot &slot);

    /// Writes the booking through `write` inside the room's transaction, asking again about
    /// overlaps not accepted before.
    SaveOutcome save(const RoomSlot &slot, const std::function<Result<void>(Database &)> &write);

    /// Called by a write that finds, inside the room's transaction, that the booking may not
    /// be made after all (a ward's request revoked meanwhile): the write then fails, nothing
    /// is written, and the user reads `text` instead of the error box.
    void refuseWrite(const QString &text) { m_refusal = text; }

    /// How many times the save found a conflict the check had not seen.
    int conflictsCaughtAtSave() const { return m_caughtAtSave; }

private:
    /// Asks about the first overlap not accepted yet; Yes accepts them all.
    bool askAbout(const QList<OccupiedSlot> &overlaps);

    Database &m_db;
    Notifier &m_notifier;
    QSet<QString> m_accepted;
    QString m_refusal;
    int m_caughtAtSave = 0;
};

} // namespace kestrel
