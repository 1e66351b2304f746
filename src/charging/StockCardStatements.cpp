// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/StockCardStatements.h"

#include "core/db/Database.h"

namespace kestrel::StockCardStatements {

Result<void> stampPackage(Database &db, const QString &IdNum, const QString &item,
                          const QString &chargeSlip, const QString &package)
{
    auto row = db.selectOne(u"select SequenceNumber from INVENTORY..tbInvStockCard "
                            u"where IDNum = :id and ItemID = :item and RefNum = :slip "
                            u"and coalesce(PackageID, '') = '' order by SequenceNumber desc",
                            {{QStringLiteral("id"), IdNum.trimmed()},
                             {QStringLiteral("item"), item.trimmed()},
                             {QStringLiteral("slip"), chargeSlip.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return {};
    auto stamped = db.exec(u"update INVENTORY..tbInvStockCard set PackageID = :package "
                           u"where SequenceNumber = :seq",
                           {{QStringLiteral("package"), package.trimmed()},
                            {QStringLiteral("seq"), (*row)->integer(u"SequenceNumber")}});
    if (!stamped)
        return tl::unexpected(stamped.error());
    return {};
}

} // namespace kestrel::StockCardStatements
