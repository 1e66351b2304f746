// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/packages/PackageStore.h"

#include "charging/ChargePostingStore.h"
#include "core/db/Database.h"

namespace kestrel {

PackageStore::PackageStore(Database &db)
    : m_db(db)
{
}

Result<QList<TaggedPackage>> PackageStore::taggedPackages(const QString &IdNum)
{
    auto rows = m_db.call(u"STATION..sp_Get_AdmPackages", {IdNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<TaggedPackage> out;
    for (const Row &r : *rows)
        out.append({r.trimmed(u"Code"), r.trimmed(u"Description"), r.money(u"TotalGross")});
    return out;
}

Result<QList<PackageItem>> PackageStore::items(const QString &packageId)
{
    auto rows = m_db.select(
        u"select I.RevenueID, I.SummaryCode, I.ItemID, I.Quantity, I.Amount, I.LocationID, "
        u"I.PackageID, coalesce(M.ItemName, O.OtherRevenue, I.ItemID) as Description "
        u"from BUILD_FILE..tbCoPackageItems I "
        u"left join INVENTORY..tbInvMaster M on M.ItemID = I.ItemID "
        u"left join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = I.ItemID "
        u"where I.PackageID = :package order by I.PackageItemID",
        {{QStringLiteral("package"), packageId.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<PackageItem> out;
    for (const Row &r : *rows) {
        PackageItem item;
        item.packageId = r.trimmed(u"PackageID");
        item.revenueId = r.trimmed(u"RevenueID");
        item.summaryCode = r.trimmed(u"SummaryCode");
        item.itemId = r.trimmed(u"ItemID");
        item.description = r.trimmed(u"Description");
        item.locationId = r.trimmed(u"LocationID");
        item.quantity = r.number(u"Quantity");
        if (!r.value(u"Amount").isNull())
            item.amount = r.money(u"Amount");
        out.append(item);
    }
    return out;
}

Result<double> PackageStore::onHand(const QString &item, const QString &location)
{
    auto rows = m_db.call(u"INVENTORY..Drug_Invent", {item.trimmed(), location.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    const std::optional<Row> first = rows->first();
    return first ? first->number(u"OnHand") : 0.0;
}

Result<QList<PostedPackage>> PackageStore::postedPackages(const QString &IdNum)
{
    auto rows = m_db.call(u"STATION..sp_Get_List_ChargePackages", {IdNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<PostedPackage> out;
    for (const Row &r : *rows)
        out.append({r.trimmed(u"ChargeSlip"), r.trimmed(u"PackageID"), r.money(u"Amount"),
                    r.dateTime(u"TransDate")});
    return out;
}

Result<QList<PostedPackageItem>> PackageStore::postedItems(const QString &IdNum,
                                                           const QString &chargeSlip)
{
    auto rows = m_db.call(u"STATION..sp_Get_List_ChargePackages_Details",
                          {IdNum.trimmed(), chargeSlip.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<PostedPackageItem> out;
    for (const Row &r : *rows)
        out.append({r.integer(u"Unused") != 0, r.trimmed(u"Dept"), r.trimmed(u"Item"),
                    r.trimmed(u"Description"), r.number(u"Qty"), r.money(u"Amt"),
                    r.trimmed(u"ChargeSlip"), r.dateTime(u"TransDate")});
    return out;
}

Result<PackageCancelOutcome> PackageStore::cancel(const QString &IdNum, const QString &chargeSlip,
                                                  const QString &packageId,
                                                  const QString &userCode)
{
    const Binds keys{{QStringLiteral("id"), IdNum.trimmed()},
                     {QStringLiteral("slip"), chargeSlip.trimmed()},
                     {QStringLiteral("package"), packageId.trimmed()}};
    Transaction tx = m_db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());

    // The lines are revoked first: a second workstation cancelling the same package waits here
    // for this one and then finds nothing left to revoke.
    Binds revoke = keys;
    revoke.insert(QStringLiteral("user"), userCode);
    auto revoked = m_db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R', "
                             u"RevokedBy = :user, RevokedDate = getdate() where IDNum = :id and "
                             u"ReferenceNum = :slip and PackageID = :package and "
                             u"RecordStatus <> 'R'",
                             revoke);
    if (!revoked)
        return tl::unexpected(revoked.error());
    if (*revoked == 0)
        return PackageCancelOutcome::AlreadyRevoked;

    // What the package's stock lines took out, less what was already returned of them.
    auto moved = m_db.select(
        u"select HospNum, ItemID, LocationID, sum(case when TransType = 'C' then -Quantity "
        u"else Quantity end) as Quantity, sum(case when TransType = 'C' then -Amount else "
        u"Amount end) as Amount from INVENTORY..tbInvStockCard where IDNum = :id and "
        u"RefNum = :slip and PackageID = :package group by HospNum, ItemID, LocationID "
        u"order by ItemID",
        keys);
    if (!moved)
        return tl::unexpected(moved.error());
    for (const Row &r : *moved) {
        const double quantity = r.number(u"Quantity");
        if (quantity <= 0)
            continue;
        Binds back = keys;
        back.insert(QStringLiteral("hosp"), r.trimmed(u"HospNum"));
        back.insert(QStringLiteral("item"), r.trimmed(u"ItemID"));
        back.insert(QStringLiteral("location"), r.trimmed(u"LocationID"));
        back.insert(QStringLiteral("qty"), quantity);
        back.insert(QStringLiteral("amount"), r.money(u"Amount").toVariant());
        back.insert(QStringLiteral("user"), userCode);
        if (auto ok = m_db.exec(u"insert into INVENTORY..tbInvStockCard (IDNum, HospNum, ItemID, "
                                u"LocationID, RefNum, PackageID, TransType, Quantity, Amount, "
                                u"TransDate, UserID, Remarks) values (:id, :hosp, :item, "
                                u":location, :slip, :package, 'C', :qty, :amount, getdate(), "
                                u":user, 'PACKAGE CANCELLED')",
                                back);
            !ok)
            return tl::unexpected(ok.error());
        if (auto ok = m_db.exec(u"update INVENTORY..tbInvent set OnHand = OnHand + :qty "
                                u"where ItemID = :item and LocationID = :location",
                                {{QStringLiteral("qty"), quantity},
                                 {QStringLiteral("item"), r.trimmed(u"ItemID")},
                                 {QStringLiteral("location"), r.trimmed(u"LocationID")}});
            !ok)
            return tl::unexpected(ok.error());
    }
    if (auto ok = m_db.exec(u"update STATION..tbPackageItemsUnused set RecordStatus = 'R' "
                            u"where IDNum = :id and ChargeSlip = :slip and PackageID = :package",
                            keys);
        !ok)
        return tl::unexpected(ok.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return PackageCancelOutcome::Cancelled;
}

Result<void> recordUnusedPackageItems(Database &db, const PostingBatch &batch,
                                      const QList<PostingLine> &lines)
{
    // The packages of the batch in the order their first line comes, each with its items.
    QStringList packages;
    QHash<QString, QStringList> used;
    for (const PostingLine &l : lines) {
        const QString package = l.packageId.trimmed();
        if (package.isEmpty() || !l.hasCode())
            continue;
        if (!used.contains(package))
            packages << package;
        used[package] << l.line.item.trimmed();
    }
    for (const QString &package : std::as_const(packages)) {
        auto ok = db.call(u"STATION..sp_Save_PackageItems_Unused",
                          {batch.IdNum, package, batch.chargeSlip, used.value(package).join(u','),
                           batch.userCode, batch.station});
        if (!ok)
            return tl::unexpected(ok.error());
    }
    return {};
}

} // namespace kestrel
