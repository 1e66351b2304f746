// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeSlipNumber.h"
#include "charging/PostingLine.h"
#include "core/db/Error.h"

#include <QDate>
#include <QDateTime>

#include <optional>

namespace kestrel {

class Database;

/// The doctor who asked for the OR lines of a batch, as "Enter Requesting Doctor" gives him.
struct RequestingDoctor
{
    QString code;
    QString name;
};

/// What every line of one saved batch shares.
struct PostingBatch
{
    QString chargeSlip;
    QString station;
    QString IdNum;
    QString HospNum;
    QString patientClass; ///< "I" or "O"
    QString room;
    QString department; ///< the department chosen in the window (`lblDeptCode`)
    QString userCode;   ///< the validated user
    QDateTime when;     ///< the server's time of the save
    RequestingDoctor requestingDoctor;
    /// The identity the workstation gave the batch before its first attempt, stored with its
    /// charge slip: the batch is found by it when a commit goes unanswered.
    QString identity;
};

/// The statements of charge posting, the charge slip counter and the charge slip's print
/// buffer. Every write runs on the caller's connection, inside the transaction the caller
/// holds; failures are handed back, never shown.
class ChargePostingStore
{
public:
    explicit ChargePostingStore(Database &db);

    /// Takes the next value of `counter` from the station's counter row and moves the row on
    /// by one, in one statement; nothing when the station has no row.
    Result<std::optional<qint64>> takeCounter(const QString &station, SlipCounter counter);
    /// Moves `counter` back to `drawn` when no later value has been taken since.
    Result<void> giveBackCounter(const QString &station, SlipCounter counter, qint64 drawn);
    /// The common counter of the station as it stands; nothing when the station has no row.
    Result<std::optional<qint64>> commonCounter(const QString &station);
    /// Sets the common counter of `station`, or of every station for "ALL".
    Result<void> setCommonCounter(const QString &station, qint64 value);

    /// A bill, a stock movement, a cash assessment or an earlier posting already carries the
    /// number.
    Result<bool> slipUsed(const QString &chargeSlip);
    /// Records the batch's number as used, with the batch's identity; false (nothing written)
    /// when another batch has the number already, as when another station drew it from a
    /// counter standing at the same value.
    Result<bool> registerSlip(const PostingBatch &batch);
    /// The charge slip the batch with `identity` was posted under; nothing when no such batch
    /// landed.
    Result<std::optional<QString>> slipOfBatch(const QString &identity);

    /// Empties this workstation's print buffer.
    Result<void> clearPrintBuffer();
    /// Puts posted lines into the print buffer, in their order
    /// (STATION..sp_OR_SaveChargePrint, once a line).
    Result<void> saveChargePrints(const PostingBatch &batch,
                                  const QList<const PostingLine *> &lines);
    /// Refills this workstation's print buffer with the lines of a posted slip
    /// (STATION..sp_OR_ReprintChargeSlip).
    Result<void> refillPrintBuffer(const QString &chargeSlip);

    /// Stamps the package on the stock card row the line's stock movement just wrote.
    Result<void> stampPackage(const PostingBatch &batch, const PostingLine &line);
    /// Appends the line to the nurse logbook (STATION..Nurse_AppendCharging).
    Result<void> appendCharging(const PostingBatch &batch, const PostingLine &line);
    /// Appends lines to the nurse logbook, in their order (STATION..Nurse_AppendCharging, once
    /// a line).
    Result<void> appendChargings(const PostingBatch &batch,
                                 const QList<const PostingLine *> &lines);
    /// Tags the line's logbook row as the stay's second operation.
    Result<void> tagSecondOperation(const PostingBatch &batch, const PostingLine &line);
    /// Writes the doctors' meals of the line into the remark of its logbook row.
    Result<void> recordDoctorsMeals(const PostingBatch &batch, const PostingLine &line);
    /// Records the tank readings of an oxygen line (STATION..sp_Save_Oxygen_Monitoring).
    Result<void> saveOxygenMonitoring(const PostingBatch &batch, const PostingLine &line);
    /// Records a unit price changed with a supervisor's approval
    /// (STATION..sp_Save_Supervisor_Transaction).
    Result<void> saveSupervisorTransaction(const PostingBatch &batch, const PostingLine &line);

    /// The patient's date of birth; invalid when unknown.
    Result<QDate> birthDate(const QString &HospNum);

private:
    Database &m_db;
};

/// The date and time the charging procedures take: "MM/dd/yyyy hh:mm:ss AM/PM".
QString chargingDateText(const QDateTime &when);

} // namespace kestrel
