// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/ScheduleBoard.h"

#include <QObject>

namespace kestrel {

/// An edit of a confirmed schedule, as `frmEditORSchedule` holds it.
struct ScheduleEdit
{
    QString room;
    QDateTime start;
    QDateTime end;
    QString surgeonId;
    QString surgeonName;
    QString anesthesiologistId;
    QString anesthesiologistName;
    std::array<QString, 3> coSurgeonIds;
};

/// The rules of `frmEditORSchedule`, "Update Schedule Details": the room, times and doctors of
/// one confirmed schedule.
class EditORSchedule : public QObject
{
    Q_OBJECT

public:
    using SaveOutcome = ScheduleBoard::SaveOutcome;

    explicit EditORSchedule(Session &session, QObject *parent = nullptr);

    /// Loads schedule `transNum` with its doctors' names; false (after telling) when there is
    /// no such confirmed schedule.
    bool load(const QString &transNum);
    const ConfirmedSchedule &schedule() const { return m_schedule; }
    /// The schedule as the window first shows it.
    ScheduleEdit current() const;
    QStringList roomNames() const { return m_roomNames; }
    QString doctorName(const QString &code);

    /// "Invalid time." when the end is not after the start.
    bool checkTimes(const QDateTime &start, const QDateTime &end);
    /// The stored length: whole clock hours between start and end, times 60.
    static int hourLength(const QDateTime &start, const QDateTime &end);
    /// "Update", in the hospital's order of checks.
    SaveOutcome update(const ScheduleEdit &e);

Q_SIGNALS:
    void saved();

private:
    bool failed(const Error &error);

    Session &m_session;
    ScheduleStore m_store;
    ScheduleStore::StationSwitches m_switches;
    ConfirmedSchedule m_schedule;
    QStringList m_roomNames;
};

} // namespace kestrel
