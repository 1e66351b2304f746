// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of revokes and returns: what is left of a posted line, the revoke of a logbook
// line, adjustment records, credit memo lines, the remarks a reason is picked from and the
// price a line was actually charged at.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QLocale>

#include <cmath>

namespace kestrel::hospitaldb {

namespace {

Result<RowSet> nothing(const Result<int> &touched)
{
    if (!touched)
        return tl::unexpected(touched.error());
    return RowSet();
}

// STATION..sp_VerifyOR_Charges IdNum, charge slip, item: what is left of the stay's lines of
// that slip (and item, when given) that are not revoked, once returns are taken off; columns
// Amount and Qty, both 0 when nothing is left.
Result<RowSet> verifyORCharges(Database &db, const ProcedureArgs &args)
{
    QString sql = QStringLiteral(
        "select coalesce(sum(Amount - ReturnedAmount), 0) as Amount, "
        "coalesce(sum(Quantity - ReturnedQty), 0) as Qty from STATION..tbNurseLogBook "
        "where IDNum = :id and ReferenceNum = :slip and RecordStatus <> 'R'");
    Binds binds{{QStringLiteral("id"), args.text(0)}, {QStringLiteral("slip"), args.text(1)}};
    if (!args.text(2).isEmpty()) {
        sql += QStringLiteral(" and ItemID = :item");
        binds.insert(QStringLiteral("item"), args.text(2));
    }
    return db.select(sql, binds);
}

// STATION..Nurse_UpdateCharging IdNum, charge slip, department, item, user, time ("MM/dd/yyyy
// hh:mm:ss AM/PM"): marks the line revoked. Only a line not yet revoked changes, so
// of two workstations revoking the same line one gets it and the other gets no row back. The
// rows give what was left of the line when it was revoked (Qty, Amount) and its LogBookID.
Result<RowSet> updateCharging(Database &db, const ProcedureArgs &args)
{
    const QDateTime at =
        QLocale::c().toDateTime(args.text(5), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!at.isValid())
        return failure(QStringLiteral("The revoke date %1 is not a date.").arg(args.text(5)));
    return db.select(u"update STATION..tbNurseLogBook set RecordStatus = 'R', RevokedBy = :user, "
                     u"RevokedDate = :at where IDNum = :id and ReferenceNum = :slip and "
                     u"RevenueID = :revenue and ItemID = :item and RecordStatus <> 'R' "
                     u"returning LogBookID, Quantity - ReturnedQty as Qty, "
                     u"Amount - ReturnedAmount as Amount",
                     {{QStringLiteral("id"), args.text(0)},
                      {QStringLiteral("slip"), args.text(1)},
                      {QStringLiteral("revenue"), args.text(2)},
                      {QStringLiteral("item"), args.text(3)},
                      {QStringLiteral("user"), args.text(4)},
                      {QStringLiteral("at"), at}});
}

// Station..sp_Nurse_Append_tbBillAdjustInfo IdNum, charge slip, department, item, quantity,
// amount, kind ("R" revoke, "CM" credit memo), credit memo, reason, user, supervisor, station.
Result<RowSet> appendBillAdjustInfo(Database &db, const ProcedureArgs &args)
{
    return nothing(db.exec(
        u"insert into STATION..tbBillAdjustInfo (IDNum, RefNum, RevenueID, ItemID, Quantity, "
        u"Amount, AdjustType, CreditMemoNum, Reason, UserID, SupervisorID, StationID, TransDate) "
        u"values (:id, :slip, :revenue, :item, :qty, :amount, :kind, :memo, :reason, :user, "
        u":supervisor, :station, getdate())",
        {{QStringLiteral("id"), args.text(0)},
         {QStringLiteral("slip"), args.text(1)},
         {QStringLiteral("revenue"), args.text(2)},
         {QStringLiteral("item"), args.text(3)},
         {QStringLiteral("qty"), args.at(4).toDouble()},
         {QStringLiteral("amount"), Money::fromVariant(args.at(5)).toVariant()},
         {QStringLiteral("kind"), args.text(6)},
         {QStringLiteral("memo"), args.text(7)},
         {QStringLiteral("reason"), args.text(8)},
         {QStringLiteral("user"), args.text(9)},
         {QStringLiteral("supervisor"), args.text(10)},
         {QStringLiteral("station"), args.text(11)}}));
}

// STATION..sp_Nurse_Get_CMRemarks list: the remarks in use of the list (7 is the OR's).
Result<RowSet> cmRemarks(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select Remarks from STATION..tbNurseCMRemarks where ListID = :list and "
                     u"Status = 'A' order by Remarks",
                     {{QStringLiteral("list"), args.text(0).toInt()}});
}

// STATION..sp_Nurse_Save_CreditMemo_CommunicationFile credit memo, kind ("PC" medicines, "CC"
// supplies), IdNum, HospNum, charge slip, department, item, description, quantity issued,
// quantity returned, amount credited, remarks, station, user: one line of a credit memo.
Result<RowSet> saveCreditMemo(Database &db, const ProcedureArgs &args)
{
    return nothing(db.exec(
        u"insert into STATION..tbNurseCreditMemo (CreditMemoNum, TransType, IDNum, HospNum, "
        u"RefNum, RevenueID, ItemID, Description, QtyIssued, Quantity, Amount, Remarks, "
        u"StationID, UserID, TransDate) values (:memo, :kind, :id, :hosp, :slip, :revenue, "
        u":item, :description, :issued, :qty, :amount, :remarks, :station, :user, getdate())",
        {{QStringLiteral("memo"), args.text(0)},
         {QStringLiteral("kind"), args.text(1)},
         {QStringLiteral("id"), args.text(2)},
         {QStringLiteral("hosp"), args.text(3)},
         {QStringLiteral("slip"), args.text(4)},
         {QStringLiteral("revenue"), args.text(5)},
         {QStringLiteral("item"), args.text(6)},
         {QStringLiteral("description"), args.text(7)},
         {QStringLiteral("issued"), args.at(8).toDouble()},
         {QStringLiteral("qty"), args.at(9).toDouble()},
         {QStringLiteral("amount"), Money::fromVariant(args.at(10)).toVariant()},
         {QStringLiteral("remarks"), args.text(11)},
         {QStringLiteral("station"), args.text(12)},
         {QStringLiteral("user"), args.text(13)}}));
}

// INVENTORY..Pharma_GetActualAmount charge slip, item: the unit price the item was actually
// charged at on that slip (Amount), 0 when the slip does not charge it.
Result<RowSet> actualAmount(Database &db, const ProcedureArgs &args)
{
    auto row = db.selectOne(u"select Amount, Quantity from STATION..tbNurseLogBook where "
                            u"ReferenceNum = :slip and ItemID = :item and RecordStatus <> 'R' "
                            u"order by LogBookID",
                            {{QStringLiteral("slip"), args.text(0)},
                             {QStringLiteral("item"), args.text(1)}});
    if (!row)
        return tl::unexpected(row.error());
    RowSet price(QStringList{QStringLiteral("Amount")});
    Money unit;
    if (*row && (*row)->number(u"Quantity") > 0)
        unit = Money::fromMinor(qint64(std::llround(double((*row)->money(u"Amount").minor()) /
                                                    (*row)->number(u"Quantity"))));
    price.append(QVariantList{unit.toVariant()});
    return price;
}

} // namespace

void registerReturnProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_VerifyOR_Charges"), 3, verifyORCharges);
    registry.add(QStringLiteral("STATION..Nurse_UpdateCharging"), 6, updateCharging);
    registry.add(QStringLiteral("Station..sp_Nurse_Append_tbBillAdjustInfo"), 12,
                 appendBillAdjustInfo);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_CMRemarks"), 1, cmRemarks);
    registry.add(QStringLiteral("STATION..sp_Nurse_Save_CreditMemo_CommunicationFile"), 14,
                 saveCreditMemo);
    registry.add(QStringLiteral("INVENTORY..Pharma_GetActualAmount"), 2, actualAmount);
}

} // namespace kestrel::hospitaldb
