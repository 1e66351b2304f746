// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/returns/ReturnStore.h"

#include "charging/ChargePostingStore.h"
#include "charging/StockCardStatements.h"
#include "core/db/Database.h"

namespace kestrel {

Result<ChargeRemainder> ReturnStore::remainder(const QString &IdNum, const QString &chargeSlip,
                                               const QString &item)
{
    auto rows = m_db.call(u"STATION..sp_VerifyOR_Charges",
                          {IdNum.trimmed(), chargeSlip.trimmed(), item.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    if (rows->isEmpty())
        return ChargeRemainder{};
    return ChargeRemainder{rows->at(0).money(u"Amount"), rows->at(0).number(u"Qty")};
}

Result<std::optional<IssuedLine>> ReturnStore::issuedLine(const QString &IdNum,
                                                          const QString &chargeSlip,
                                                          const QString &item)
{
    const Binds binds{{QStringLiteral("id"), IdNum.trimmed()},
                      {QStringLiteral("slip"), chargeSlip.trimmed()},
                      {QStringLiteral("item"), item.trimmed()}};
    auto line = m_db.selectOne(u"select LogBookID, RevenueID from STATION..tbNurseLogBook "
                               u"where IDNum = :id and ReferenceNum = :slip and ItemID = :item "
                               u"and RecordStatus <> 'R' order by LogBookID",
                               binds);
    if (!line)
        return tl::unexpected(line.error());
    if (!*line)
        return std::optional<IssuedLine>();
    auto card = m_db.selectOne(u"select LocationID from INVENTORY..tbInvStockCard where "
                               u"IDNum = :id and RefNum = :slip and ItemID = :item and "
                               u"TransType = 'I' order by SequenceNumber",
                               binds);
    if (!card)
        return tl::unexpected(card.error());
    return IssuedLine{(*line)->integer(u"LogBookID"), (*line)->trimmed(u"RevenueID"),
                      *card ? (*card)->trimmed(u"LocationID") : QString()};
}

Result<Money> ReturnStore::actualPrice(const QString &chargeSlip, const QString &item)
{
    auto rows = m_db.call(u"INVENTORY..Pharma_GetActualAmount",
                          {chargeSlip.trimmed(), item.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->isEmpty() ? Money() : rows->at(0).money(u"Amount");
}

Result<QList<ReturnStore::Revoked>>
ReturnStore::revokeLine(const QString &IdNum, const QString &chargeSlip, const QString &department,
                        const QString &item, const QString &user, const QDateTime &when)
{
    auto rows = m_db.call(u"STATION..Nurse_UpdateCharging",
                          {IdNum.trimmed(), chargeSlip.trimmed(), department.trimmed(),
                           item.trimmed(), user, chargingDateText(when)});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<Revoked> revoked;
    for (const Row &r : *rows)
        revoked.append({r.integer(u"LogBookID"), r.number(u"Qty"), r.money(u"Amount")});
    return revoked;
}

Result<std::optional<LockedLine>> ReturnStore::takeReturn(qint64 logBookId, double quantity)
{
    // One guarded statement: a workstation returning the same line at the same moment waits
    // for this row, then finds the returns already counted and is refused if they would go
    // beyond what was posted.
    auto row = m_db.selectOne(u"update STATION..tbNurseLogBook set ReturnedQty = ReturnedQty + "
                              u":qty where LogBookID = :line and RecordStatus <> 'R' and "
                              u"ReturnedQty + :qty <= Quantity returning Quantity, Amount, "
                              u"ReturnedQty, ReturnedAmount",
                              {{QStringLiteral("qty"), quantity},
                               {QStringLiteral("line"), logBookId}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<LockedLine>();
    const Row &r = **row;
    return LockedLine{logBookId, r.number(u"Quantity"), r.money(u"Amount"),
                      r.number(u"ReturnedQty") - quantity, r.money(u"ReturnedAmount")};
}

Result<void> ReturnStore::credit(qint64 logBookId, Money credit, const QString &station)
{
    return done(m_db.exec(u"update STATION..tbNurseLogBook set ReturnedAmount = ReturnedAmount "
                          u"+ :credit, StationID = :station where LogBookID = :line",
                          {{QStringLiteral("credit"), credit.toVariant()},
                           {QStringLiteral("station"), station},
                           {QStringLiteral("line"), logBookId}}));
}

Result<std::optional<QString>> ReturnStore::drawCreditMemo(const QString &station)
{
    auto row = m_db.selectOne(u"update STATION..tbORChargeSlip set CreditMemo = CreditMemo + 1 "
                              u"where StationID = :station returning CreditMemo - 1 as Drawn",
                              {{QStringLiteral("station"), station}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<QString>();
    return std::optional<QString>(QStringLiteral("CM%1%2").arg(station.trimmed().toUpper()).arg(
        (*row)->integer(u"Drawn"), 6, 10, QLatin1Char('0')));
}

Result<void> ReturnStore::stampPackage(const QString &IdNum, const QString &item,
                                       const QString &chargeSlip, const QString &package)
{
    return StockCardStatements::stampPackage(m_db, IdNum, item, chargeSlip, package);
}

Result<void> ReturnStore::stockRemarks(const QString &creditMemo, const QString &item,
                                       const QString &chargeSlip, const QString &remarks)
{
    return done(m_db.exec(u"update INVENTORY..tbInvStockCard set Remarks = :remarks where "
                          u"CreditMemoNum = :memo and ItemID = :item and RefNum = :slip",
                          {{QStringLiteral("remarks"), remarks.trimmed()},
                           {QStringLiteral("memo"), creditMemo},
                           {QStringLiteral("item"), item.trimmed()},
                           {QStringLiteral("slip"), chargeSlip.trimmed()}}));
}

Result<void> ReturnStore::appendAdjustment(const Adjustment &a)
{
    return done(m_db.call(u"Station..sp_Nurse_Append_tbBillAdjustInfo",
                          {a.IdNum.trimmed(), a.chargeSlip.trimmed(), a.department.trimmed(),
                           a.item.trimmed(), a.quantity, a.amount.toVariant(), a.kind,
                           a.creditMemo, a.reason, a.user, a.supervisor, a.station}));
}

Result<void> ReturnStore::saveMemoLine(const MemoLine &m)
{
    return done(m_db.call(u"STATION..sp_Nurse_Save_CreditMemo_CommunicationFile",
                          {m.creditMemo, m.kind, m.IdNum.trimmed(), m.HospNum.trimmed(),
                           m.chargeSlip.trimmed(), m.department.trimmed(), m.item.trimmed(),
                           m.description.trimmed(), m.issued, m.quantity, m.amount.toVariant(),
                           m.remarks.trimmed(), m.station, m.user}));
}

} // namespace kestrel
