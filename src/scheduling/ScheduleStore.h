// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>

namespace kestrel {

class Database;
class Session;

/// The board's day: first hour shown, hours shown, minutes per line.
struct BoardParameters
{
    int startHour = 7;
    int dayLength = 12;
    int increment = 30;
};

/// One confirmed operation on the board.
struct PlannerItem
{
    QString room;
    QDateTime start;
    int length = 0; ///< minutes
    QString text;
    QString category;
    QString transNum;
};

/// A patient of the master file, as the bookings describe him.
struct ScheduledPatient
{
    QString name;
    QString sex; ///< "F" or "M"
    QDate birthDate;
};

/// A confirmed operation as the edit window loads it.
struct ConfirmedSchedule
{
    QString transNum;
    QString idNum;
    QString patientName;
    QString procedureDesc;
    QString room;
    QDateTime start;
    int length = 0; ///< minutes; null counts as none
    QString surgeonId;
    QString anesthesiologistId;
    std::array<QString, 3> coSurgeonIds;
    QString status;

    QDateTime end() const { return start.addSecs(qint64(length) * 60); }
};

/// The statements of the OR schedule's windows.
class ScheduleStore
{
public:
    explicit ScheduleStore(Database &db);

    /// The active rooms in the board's order ("SCHEDULE..sp_List_ORRooms"): RoomID, Room Name.
    Result<RowSet> rooms();
    /// The names of `rooms` (as rooms() reads them), in the same order.
    static QStringList roomNames(const RowSet &rooms);
    /// The id of the room called `name`; 0 when no room has that name.
    Result<int> roomId(const QString &name);
    Result<BoardParameters> parameters();
    /// The confirmed operations of `day`.
    Result<QList<PlannerItem>> day(const QDate &day);
    /// Whether a ward's request waits for the OR.
    Result<bool> hasPendingRequests();
    /// The wards' requests waiting for the OR ("SCHEDULE..sp_GetORSchedule_Request").
    Result<RowSet> pendingRequests();
    /// The schedule `transNum`; an empty transNum when there is none.
    Result<ConfirmedSchedule> schedule(const QString &transNum);
    /// The kinds of patient in use, in order.
    Result<QStringList> patientClasses();
    /// "Last, First Middle" of a doctor; empty for an unknown code.
    Result<QString> doctorName(const QString &doctorId);
    /// The patient of hospital number `hospNum`; nullopt-like empty name when unknown.
    Result<ScheduledPatient> patient(const QString &hospNum);
    /// The two station settings the board reads when it opens.
    struct StationSwitches
    {
        bool OREditSchedProcedure = false;
        bool OR_AllowEditScheduleDateTime = false;
    };
    Result<StationSwitches> stationSwitches();

private:
    Database &m_db;
};

/// The re-validation loop: the re-validation window until somebody signs, or until the user
/// answers No to `question` when nobody did. True when somebody signed (kept in the session).
bool signOrAbandon(Session &session, const QString &question);

} // namespace kestrel
