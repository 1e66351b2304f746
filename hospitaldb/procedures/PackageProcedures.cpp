// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the OR packages and of piped oxygen: the packages tagged to a stay, the items of
// a package a stay did not use, the packages posted to a stay with their items, and the tanks
// opened and closed for a stay.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <algorithm>

namespace kestrel::hospitaldb {

namespace {

Result<RowSet> touched(const Result<int> &rows)
{
    if (!rows)
        return tl::unexpected(rows.error());
    RowSet out(QStringList{QStringLiteral("Touched")});
    out.append(QVariantList{*rows});
    return out;
}

// The packages tagged to a stay (admission or visit), with the sum of their items' amounts as
// the gross: Code, Description, TotalGross.
Result<RowSet> admPackages(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select P.PackageID as Code, P.Package as Description, "
        u"coalesce((select sum(coalesce(I.Amount, 0)) from BUILD_FILE..tbCoPackageItems I "
        u"where I.PackageID = P.PackageID), 0) as TotalGross "
        u"from BUILD_FILE..tbCoAdmPackage P where P.PackageID in "
        u"(select PackageID from PATIENT_DATA..tbPatient2 where IDNum = :id "
        u"union select PackageID from PATIENT_DATA..tbOutPatient where IDNum = :id) "
        u"order by P.PackageID",
        {{QStringLiteral("id"), args.text(0)}});
}

// Records the items of a package posted under a charge slip that the stay did not use: every
// item of the package whose code is not among the used ones (a list apart by commas).
// Arguments: admission, package, charge slip, used items, user, station.
Result<RowSet> savePackageItemsUnused(Database &db, const ProcedureArgs &args)
{
    const QStringList used = args.text(3).split(u',', Qt::SkipEmptyParts);
    auto items = db.select(u"select RevenueID, ItemID, Quantity, coalesce(Amount, 0) as Amount "
                           u"from BUILD_FILE..tbCoPackageItems where PackageID = :package "
                           u"order by PackageItemID",
                           {{QStringLiteral("package"), args.text(1)}});
    if (!items)
        return tl::unexpected(items.error());
    QList<Binds> rows;
    for (const Row &item : *items) {
        const QString code = item.trimmed(u"ItemID");
        if (std::any_of(used.cbegin(), used.cend(), [&code](const QString &u) {
                return u.trimmed().compare(code, Qt::CaseInsensitive) == 0;
            }))
            continue;
        rows.append({{QStringLiteral("id"), args.text(0)},
                     {QStringLiteral("package"), args.text(1)},
                     {QStringLiteral("slip"), args.text(2)},
                     {QStringLiteral("revenue"), item.trimmed(u"RevenueID")},
                     {QStringLiteral("item"), code},
                     {QStringLiteral("qty"), item.number(u"Quantity")},
                     {QStringLiteral("amount"), item.money(u"Amount").toVariant()},
                     {QStringLiteral("user"), args.text(4)},
                     {QStringLiteral("station"), args.text(5)}});
    }
    if (rows.isEmpty())
        return touched(0);
    return touched(db.execMany(
        u"insert into STATION..tbPackageItemsUnused (IDNum, PackageID, ChargeSlip, RevenueID, "
        u"ItemID, Quantity, Amount, UserID, StationID, TransDate) values (:id, :package, :slip, "
        u":revenue, :item, :qty, :amount, :user, :station, getdate())",
        rows));
}

// The packages posted to a stay and not cancelled, one row per charge slip and package:
// ChargeSlip, PackageID, Amount.
Result<RowSet> chargePackages(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select ReferenceNum as ChargeSlip, PackageID, sum(Amount) as Amount, "
                     u"min(TransDate) as TransDate from STATION..tbNurseLogBook "
                     u"where IDNum = :id and PackageID <> '' and RecordStatus <> 'R' "
                     u"group by ReferenceNum, PackageID order by min(TransDate), ReferenceNum",
                     {{QStringLiteral("id"), args.text(0)}});
}

// The items of a package posted under a charge slip, those used first, then those recorded as
// not used (Unused 1). Arguments: admission, charge slip.
Result<RowSet> chargePackageDetails(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select 0 as Unused, LogBookID, RevenueID as Dept, ItemID as Item, Description, "
        u"Quantity as Qty, Amount as Amt, ReferenceNum as ChargeSlip, TransDate "
        u"from STATION..tbNurseLogBook where IDNum = :id and ReferenceNum = :slip "
        u"and PackageID <> '' and RecordStatus <> 'R' "
        u"union all select 1, 0, U.RevenueID, U.ItemID, "
        u"coalesce(M.ItemName, O.OtherRevenue, U.ItemID), U.Quantity, U.Amount, U.ChargeSlip, "
        u"U.TransDate from STATION..tbPackageItemsUnused U "
        u"left join INVENTORY..tbInvMaster M on M.ItemID = U.ItemID "
        u"left join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = U.ItemID "
        u"where U.IDNum = :id and U.ChargeSlip = :slip and U.RecordStatus <> 'R' "
        u"order by 1, 2, 4",
        {{QStringLiteral("id"), args.text(0)}, {QStringLiteral("slip"), args.text(1)}});
}

// Opens ('O') or closes ('C') the piped-oxygen tank of a stay. Arguments: admission, item, tank
// number, action, hours, amount, charge slip, user, station. Opening adds the open tank; closing
// closes the stay's open tank with its hours, amount and charge slip. Touched tells how many
// tanks changed: 0 when the stay had no open tank to close.
Result<RowSet> openCloseTank(Database &db, const ProcedureArgs &args)
{
    if (args.text(3).compare(u"O", Qt::CaseInsensitive) == 0) {
        return touched(db.exec(
            u"insert into STATION..tbOpenCloseTank (IDNum, ItemID, TankNum, Status, "
            u"OpeningTime, OpenedBy, StationID) values (:id, :item, :tank, 1, getdate(), :user, "
            u":station)",
            {{QStringLiteral("id"), args.text(0)},
             {QStringLiteral("item"), args.text(1)},
             {QStringLiteral("tank"), args.text(2)},
             {QStringLiteral("user"), args.text(7)},
             {QStringLiteral("station"), args.text(8)}}));
    }
    return touched(db.exec(
        u"update STATION..tbOpenCloseTank set Status = 0, ClosingTime = getdate(), "
        u"Hours = :hours, Amount = :amount, ChargeSlip = :slip, ClosedBy = :user "
        u"where IDNum = :id and Status = 1",
        {{QStringLiteral("id"), args.text(0)},
         {QStringLiteral("hours"), args.at(4).toDouble()},
         {QStringLiteral("amount"), Money::fromVariant(args.at(5)).toVariant()},
         {QStringLiteral("slip"), args.text(6)},
         {QStringLiteral("user"), args.text(7)}}));
}

} // namespace

void registerPackageProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Get_AdmPackages"), 1, admPackages);
    registry.add(QStringLiteral("STATION..sp_Save_PackageItems_Unused"), 6,
                 savePackageItemsUnused);
    registry.add(QStringLiteral("STATION..sp_Get_List_ChargePackages"), 1, chargePackages);
    registry.add(QStringLiteral("STATION..sp_Get_List_ChargePackages_Details"), 2,
                 chargePackageDetails);
    registry.add(QStringLiteral("Station..sp_OpenCloseTank"), 9, openCloseTank);
}

} // namespace kestrel::hospitaldb
