// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kestrel {

class Database;

/// What is left of a posted charge once returns are taken off (`sp_VerifyOR_Charges`).
struct ChargeRemainder
{
    Money amount;
    double quantity = 0;
};

/// A logbook line as a revoke or a return finds it under its lock.
struct LockedLine
{
    qint64 logBookId = 0;
    double quantity = 0;   ///< posted
    Money amount;          ///< posted
    double returned = 0;   ///< returned before this return
    Money credited;        ///< credited before this return
};

/// The logbook line a stock line was posted on, with where its stock came from.
struct IssuedLine
{
    qint64 logBookId = 0;
    QString department;
    QString location; ///< empty when the stock card shows it was never dispensed
};

/// The statements of revokes and returns. Writes run on the caller's connection inside the
/// caller's transaction; failures come back, never shown.
class ReturnStore
{
public:
    explicit ReturnStore(Database &db)
        : m_db(db)
    {
    }

    Result<ChargeRemainder> remainder(const QString &IdNum, const QString &chargeSlip,
                                      const QString &item);
    /// The logbook line of the stay that posted `item` on `chargeSlip` and is not revoked, with
    /// the stock location the stock card took it from; nothing when there is none.
    Result<std::optional<IssuedLine>> issuedLine(const QString &IdNum, const QString &chargeSlip,
                                                 const QString &item);
    /// The unit price `item` was charged at on `chargeSlip` (`Pharma_GetActualAmount`).
    Result<Money> actualPrice(const QString &chargeSlip, const QString &item);

    /// Marks the line revoked unless another workstation did first: the lines revoked, with
    /// what was left of each (empty when it was already revoked).
    struct Revoked
    {
        qint64 logBookId = 0;
        double quantity = 0;
        Money amount;
    };
    Result<QList<Revoked>> revokeLine(const QString &IdNum, const QString &chargeSlip,
                                      const QString &department, const QString &item,
                                      const QString &user, const QDateTime &when);
    /// Takes `quantity` off logbook line `logBookId` as returned, only while the line is not
    /// revoked and the returns stay within what was posted; the line as it stood before, or
    /// nothing when the guard refused. The line stays locked until the transaction ends.
    Result<std::optional<LockedLine>> takeReturn(qint64 logBookId, double quantity);
    /// Adds `credit` to what line `logBookId` has credited, and stamps the returning station.
    Result<void> credit(qint64 logBookId, Money credit, const QString &station);
    /// The next credit memo number of `station`, drawn in the station's counter row (locked
    /// until the transaction ends); nothing when the station has no counter row.
    Result<std::optional<QString>> drawCreditMemo(const QString &station);

    /// Stamps `package` on the stock card row the revoke just put back (as posting stamps
    /// the row it took out).
    Result<void> stampPackage(const QString &IdNum, const QString &item, const QString &chargeSlip,
                              const QString &package);
    /// The remarks of the stock card rows a credit memo put back of `item` from `chargeSlip`.
    Result<void> stockRemarks(const QString &creditMemo, const QString &item,
                              const QString &chargeSlip, const QString &remarks);

    struct Adjustment
    {
        QString IdNum;
        QString chargeSlip;
        QString department;
        QString item;
        double quantity = 0;
        Money amount;
        QString kind; ///< "R" revoke, "CM" credit memo
        QString creditMemo;
        QString reason;
        QString user;
        QString supervisor;
        QString station;
    };
    Result<void> appendAdjustment(const Adjustment &a);

    struct MemoLine
    {
        QString creditMemo;
        QString kind; ///< "PC" medicines, "CC" supplies
        QString IdNum;
        QString HospNum;
        QString chargeSlip;
        QString department;
        QString item;
        QString description;
        double issued = 0;
        double quantity = 0;
        Money amount;
        QString remarks;
        QString station;
        QString user;
    };
    Result<void> saveMemoLine(const MemoLine &m);

private:
    Database &m_db;
};

} // namespace kestrel
