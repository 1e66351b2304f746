// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/returns/PostedMedicines.h"

#include "core/db/Database.h"

namespace kestrel {

Result<QList<PostedMedicine>> PostedMedicines::posted(const QString &IdNum)
{
    auto rows = m_db.select(
        u"select L.ReferenceNum, L.ItemID, L.Description, L.Quantity, L.ReturnedQty, L.Amount, "
        u"L.ReturnedAmount, L.RecordStatus, L.TransDate from STATION..tbNurseLogBook L where "
        u"L.IDNum = :id and exists (select 1 from INVENTORY..tbInvStockCard S where S.IDNum = "
        u"L.IDNum and S.RefNum = L.ReferenceNum and S.ItemID = L.ItemID and S.TransType = 'I') "
        u"order by L.TransDate, L.LogBookID",
        {{QStringLiteral("id"), IdNum.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<PostedMedicine> list;
    for (const Row &r : *rows)
        list.append({r.trimmed(u"ReferenceNum"), r.trimmed(u"ItemID"), r.trimmed(u"Description"),
                     r.number(u"Quantity"), r.number(u"ReturnedQty"), r.money(u"Amount"),
                     r.money(u"ReturnedAmount"), r.trimmed(u"RecordStatus") == u"R",
                     r.dateTime(u"TransDate")});
    return list;
}

Result<QList<CreditMemoLine>> PostedMedicines::creditMemos(const QString &IdNum)
{
    auto rows = m_db.select(u"select CreditMemoNum, RefNum, ItemID, Description, Quantity, "
                            u"Amount, TransDate from STATION..tbNurseCreditMemo where IDNum = "
                            u":id order by CreditMemoNum, MemoLineID",
                            {{QStringLiteral("id"), IdNum.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<CreditMemoLine> list;
    for (const Row &r : *rows)
        list.append({r.trimmed(u"CreditMemoNum"), r.trimmed(u"RefNum"), r.trimmed(u"ItemID"),
                     r.trimmed(u"Description"), r.number(u"Quantity"), r.money(u"Amount"),
                     r.dateTime(u"TransDate")});
    return list;
}

QString PostedMedicines::caption(bool outpatient)
{
    return outpatient ? QStringLiteral("List of Posted Medicines ( OUTPATIENT )")
                      : QStringLiteral("List of Posted Medicines ( INPATIENT )");
}

} // namespace kestrel
