// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PostingLine.h"
#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kestrel {

class Database;
struct PostingBatch;

/// A package tagged to a stay (STATION..sp_Get_AdmPackages): "Code", "Description" and the gross.
struct TaggedPackage
{
    QString code;
    QString description;
    Money gross;
};

/// One item of a package (BUILD_FILE..tbCoPackageItems) with what the grid shows of it.
struct PackageItem
{
    QString packageId;
    QString revenueId;
    QString summaryCode;
    QString itemId;
    QString description;
    QString locationId; ///< the stock location; empty for a service
    double quantity = 0;
    std::optional<Money> amount; ///< what the package charges for the item; none: never priced

    bool isStockItem() const { return !locationId.trimmed().isEmpty(); }
};

/// A package posted to a stay under one charge slip and not cancelled.
struct PostedPackage
{
    QString chargeSlip;
    QString packageId;
    Money amount;
    QDateTime when;
};

/// One item of a posted package: a logbook line, or an item recorded as not used.
struct PostedPackageItem
{
    bool unused = false;
    QString department;
    QString item;
    QString description;
    double quantity = 0;
    Money amount;
    QString chargeSlip;
    QDateTime when;
};

/// How a cancellation ended.
enum class PackageCancelOutcome {
    Cancelled,
    AlreadyRevoked, ///< another workstation cancelled it first; nothing was written
};

/// The statements of the OR packages.
class PackageStore
{
public:
    explicit PackageStore(Database &db);

    Result<QList<TaggedPackage>> taggedPackages(const QString &IdNum);
    Result<QList<PackageItem>> items(const QString &packageId);
    /// The stock of `item` at `location` (INVENTORY..Drug_Invent); 0 when the location has none.
    Result<double> onHand(const QString &item, const QString &location);
    Result<QList<PostedPackage>> postedPackages(const QString &IdNum);
    Result<QList<PostedPackageItem>> postedItems(const QString &IdNum, const QString &chargeSlip);

    /// Cancels package `packageId` posted under `chargeSlip`, whole, in one transaction: its
    /// logbook lines are revoked, what its stock lines took out goes back into stock with the
    /// package stamped on the returned rows, and its items recorded as not used are cancelled
    /// with it. A package already revoked changes nothing.
    Result<PackageCancelOutcome> cancel(const QString &IdNum, const QString &chargeSlip,
                                        const QString &packageId, const QString &userCode);

private:
    Database &m_db;
};

/// Inside the posting of a batch: records, for each package the batch's lines belong to, the
/// package's items that none of its lines charges (STATION..sp_Save_PackageItems_Unused).
Result<void> recordUnusedPackageItems(Database &db, const PostingBatch &batch,
                                      const QList<PostingLine> &lines);

} // namespace kestrel
