// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsIssuedMedicines.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsIssuedMedicines::clsIssuedMedicines(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsIssuedMedicines::InitConnection(Database *connection)
{
    return takeConnection(connection);
}

bool clsIssuedMedicines::InitConnection(const QString &connectionString)
{
    return takeConnection(connectionString);
}

bool clsIssuedMedicines::ShowList()
{
    m_chargeSlip.clear();
    m_issuedQuantity = 0;
    m_itemId.clear();
    m_itemName.clear();
    m_stockOnHand = 0;
    m_price = {};
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "issued medicines shown before a connection";
        return false;
    }
    auto rows = db->call(u"INVENTORY..sp_List_IssuedMedicines",
                         {IdNum.trimmed(), DrugsORCSR ? QStringLiteral("1") : QStringLiteral("0"),
                          ListIssuedbyDrugs ? QStringLiteral("1") : QStringLiteral("0")});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    CodeListing listing;
    listing.title = DrugsORCSR ? QStringLiteral("List of Issued Medicines")
                               : QStringLiteral("List of Issued Supplies");
    listing.headers = {QStringLiteral("Charge Slip"), QStringLiteral("Code"),
                       QStringLiteral("Description"), QStringLiteral("Issued"),
                       QStringLiteral("Price")};
    for (const Row &r : *rows)
        listing.rows << QStringList{
            r.trimmed(u"Chargeslip"), r.trimmed(u"ItemID"), r.trimmed(u"ItemName"),
            QString::number(r.number(u"IssuedQuantity")), r.money(u"SellingPriceIn").toString()};
    const int picked = pickRow(listing);
    if (picked < 0)
        return false;
    const Row &r = rows->at(picked);
    m_chargeSlip = r.trimmed(u"Chargeslip");
    m_issuedQuantity = r.number(u"IssuedQuantity");
    m_itemId = r.trimmed(u"ItemID");
    m_itemName = r.trimmed(u"ItemName");
    m_stockOnHand = r.number(u"OnHand");
    m_price = r.money(u"SellingPriceIn");
    return true;
}

} // namespace kestrel
