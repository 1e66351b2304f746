// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"
#include "profile/ProfileStore.h"

#include <QDate>
#include <QString>
#include <QTime>

namespace kestrel {

class Session;

/// The operation the nurse asks the OR for on the profile's calendar: the day picked on the
/// calendar, the time typed, and what the OR needs to plan it. The OR confirms it into a room
/// on its own board.
struct OperationRequest
{
    QDate date;
    /// As typed: "h:mm AM/PM" or "HH:mm".
    QString time;
    /// The OR room asked for; 0 leaves the room to the OR.
    int roomId = 0;
    int minutes = 60;
    QString procedureCode, procedureDesc, surgeonCode, remarks;
};

/// The schedule tab's request for an operation: its lists and its save.
class ProfileSchedule
{
public:
    enum class Outcome { Saved, Refused, Failed };

    explicit ProfileSchedule(Session &session)
        : m_session(session)
    {
    }

    /// The OR procedures (Code, Procedure), by name.
    Result<RowSet> procedures() const;
    /// The active doctors (Code, Name), by name.
    Result<RowSet> surgeons() const;

    /// Saves `request` for the stay of `header`: refused for a patient the OR cleared, without
    /// procedure and surgeon, and for a time that is no time or not later than the server's;
    /// then the request in one transaction. The user was told the outcome.
    Outcome save(const ProfileHeader &header, const OperationRequest &request);
    /// The transaction number of the last request saved.
    QString savedTransNum() const { return m_saved; }

    /// The time of `text` ("h:mm AM/PM", "hh:mm:ss AM/PM", "HH:mm"); invalid when it is none.
    static QTime parseTime(const QString &text);

private:
    Outcome refuse(const QString &text);

    Session &m_session;
    QString m_saved;
};

} // namespace kestrel
