// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsChargeSlipList.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsChargeSlipList::clsChargeSlipList(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsChargeSlipList::InitConnection(Database *connection)
{
    return takeConnection(connection);
}

bool clsChargeSlipList::InitConnection(const QString &connectionString)
{
    return takeConnection(connectionString);
}

QString clsChargeSlipList::ShowList()
{
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "charge slip list shown before a connection";
        return {};
    }
    auto rows = db->call(u"STATION..sp_List_ChargeSlips", {IdNum.trimmed(), StationID.trimmed()});
    if (!rows) {
        notifier().errorBox(rows.error());
        return {};
    }
    CodeListing listing;
    listing.title = QStringLiteral("List of Charge Slips");
    listing.headers = {QStringLiteral("Charge Slip"), QStringLiteral("Department"),
                       QStringLiteral("Date"), QStringLiteral("Items"), QStringLiteral("Amount")};
    for (const Row &r : *rows)
        listing.rows << QStringList{r.trimmed(u"ReferenceNum"), r.trimmed(u"RevenueID"),
                                    r.dateTime(u"TransDate").toString(u"MM/dd/yyyy hh:mm AP"),
                                    QString::number(r.integer(u"Lines")),
                                    r.money(u"Amount").toString()};
    const int picked = pickRow(listing);
    return picked < 0 ? QString() : listing.rows.at(picked).at(0);
}

} // namespace kestrel
