// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace kestrel::discharge {

/// A discharge notice of a patient still in the hospital, with the patient it is for.
struct Notice
{
    QString idNum;
    QString patientName;
    QString roomId;
    QString dischargeNurse;
    QDateTime noticeDate;
    QDateTime orderedDate;
    QString remarks;
    QDateTime clearDate; ///< invalid until the OR clears the patient
    QString clearedBy;   ///< employee code of whoever cleared
    QString clearRemarks;
    QString lastName, firstName, middleName;
    QString hospNum;
    QDateTime admitted;
    QString doctor;

    bool isCleared() const { return !clearedBy.isEmpty() || clearDate.isValid(); }
};

/// The stay the discharge window works on.
struct Stay
{
    QString idNum;
    QString hospNum;
    QString patientName;
    QDateTime admitted;
    QDateTime discharged; ///< invalid while the patient is in the hospital
    QString roomId;
    QString station; ///< the station's name
};

/// A room found by its code, as the transfer shows it.
struct Room
{
    QString roomId;
    QString station; ///< the station's name
    Money rate;
};

/// What the discharge of a stay writes.
struct DischargeRequest
{
    QString idNum;
    QString hospNum;
    QDateTime when;
    QString result;      ///< "1" recovered .. "5" diagnosis only
    QString disposition; ///< "1" discharged .. "6" HPR
    QString validatedEmployee;
    QString userEmployee;
};

/// How a room transfer ended.
enum class TransferOutcome { Done, RoomTaken, NoSuchRoom, StayGone, SameRoom };

/// The discharge instructions of a stay as the sheet shows them.
struct InstructionSheet
{
    QString instructions;
    QString medications;
    QString checkUp;
    QString checkInOn;
    QString activityLevel;
    QString dietInstruction;
    QString whatToObserve;
    QString guardian;
    QString receivedBy;
    bool saved = false; ///< a sheet was saved before
};

/// One medicine of the newer sheet's drug grid.
struct Medication
{
    QString drug, dose, frequency, duration, timeA, timeB, timeC, remarks;
    bool isEmpty() const { return drug.trimmed().isEmpty(); }
};

/// Reads and writes discharge notices, discharges, room transfers and discharge instructions.
/// Every write is one transaction, tried again whole when another workstation held what it
/// needed.
class DischargeStore
{
public:
    explicit DischargeStore(Database &db)
        : m_db(db)
    {
    }

    Result<QList<Notice>> notices();
    /// The stay's newest notice; nullopt when there is none.
    Result<std::optional<Notice>> notice(const QString &idNum);
    /// Clears the stay's open notice (every "'" of the remarks becomes "`"); false when it
    /// was cleared already.
    Result<bool> clear(const QString &idNum, const QString &remarks, const QString &employee);

    /// The state of the stay's final discharge order at billing ("P" once the processing
    /// sheet is printed); nullopt when no final order was sent.
    Result<std::optional<QString>> orderState(const QString &idNum);
    Result<bool> hasPendingRequests(const QString &idNum);
    Result<std::optional<Stay>> stay(const QString &idNum);
    Result<std::optional<Room>> room(const QString &roomId);

    /// Discharges the stay; false when it was discharged already (or is gone).
    Result<bool> discharge(const DischargeRequest &request);
    /// Moves the stay into `room` when nobody is in it. `flag` is "0" or "1".
    Result<TransferOutcome> transfer(const QString &idNum, const Room &room,
                                     const QDateTime &when, const QString &employee,
                                     const QString &flag = QStringLiteral("0"));

    Result<InstructionSheet> sheet(const QString &idNum);
    Result<QList<Medication>> medications(const QString &idNum);
    Result<QString> homeCarePlan(const QString &idNum);
    /// Writes the sheet; with `medicines` (the newer sheet) the stay's drug rows are replaced.
    Result<void> saveSheet(const QString &idNum, const InstructionSheet &sheet,
                           const QString &employee,
                           const std::optional<QList<Medication>> &medicines);
    Result<void> saveHomeCarePlan(const QString &idNum, const QString &plan,
                                  const QString &employee);

private:
    /// Runs `write` in one write transaction, again whole while another workstation holds
    /// what it needs.
    template <typename T> Result<T> inTransaction(const std::function<Result<T>()> &write);

    Database &m_db;
};

/// Whether the stay has its discharge instructions written: the discharge order may not be
/// sent before.
Result<bool> dischargeInstructionsComplete(Database &db, const QString &idNum);

/// A date-time as the ward's statements pass it, "MM/dd/yyyy hh:mm:ss AM".
QString wardDateTime(const QDateTime &when);

} // namespace kestrel::discharge
