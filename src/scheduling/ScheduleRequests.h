// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Notifier.h"
#include "core/db/RowSet.h"
#include "scheduling/ScheduleBoard.h"

#include <QObject>

namespace kestrel {

/// A ward's request as the confirmation panel holds it: the booking the OR makes of it, and
/// what the request itself carries.
struct RequestConfirmation
{
    AdmittedBooking booking;
    std::array<QString, 3> coSurgeonNames;
    QString transNum;
    QString requestNum;
    int requestKind = 0;
    /// The time the station gave in words ("TO FOLLOW") instead of a clock time.
    QString timeTag;
    /// When the ward asked the operation to start.
    QDateTime requestedStart;
};

/// The rules of `frmCommunicationSchedule`, "Requests for Operation Schedule": the wards'
/// pending requests, confirming one into a room and time through the room conflict check, and
/// revoking one.
class ScheduleRequests : public QObject
{
    Q_OBJECT

public:
    using SaveOutcome = ScheduleBoard::SaveOutcome;

    explicit ScheduleRequests(Session &session, QObject *parent = nullptr);

    /// Reads the station switches and the pending requests.
    bool load();
    const RowSet &requests() const { return m_requests; }
    /// The rooms of the room combo.
    QStringList roomNames() const { return m_roomNames; }

    /// The confirmation panel for request `row` of the list: the ward's date and time, the end
    /// an hour later (two for the client "VZ"), the doctors and, except for the client
    /// "TEPLO", the co-surgeons.
    RequestConfirmation select(int row) const;
    /// Whether the confirmation moves the operation to the start the clerk enters; otherwise it
    /// keeps the ward's date and time and only the length is the clerk's.
    bool startEditable() const { return m_switches.OR_AllowEditScheduleDateTime; }
    /// The details text the board keeps for a confirmed request.
    QString details(const RequestConfirmation &c) const;

    /// "Confirm", in the hospital's order of checks.
    SaveOutcome confirm(const RequestConfirmation &c);
    /// "Revoke" of request `row`.
    SaveOutcome revoke(int row);

    /// The board's helpers for the panel's times.
    QTime defaultEnd(const QTime &start) const { return m_board.defaultEnd(start); }
    bool checkTimes(const QTime &start, const QTime &end) { return m_board.checkTimes(start, end); }

Q_SIGNALS:
    void requestsChanged();

private:
    bool failed(const Error &error);
    void tell(const QString &text, Notifier::Icon icon = Notifier::Icon::Information);

    Session &m_session;
    ScheduleBoard m_board;
    ScheduleStore::StationSwitches m_switches;
    RowSet m_requests;
    QStringList m_roomNames;
};

} // namespace kestrel
