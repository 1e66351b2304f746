// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsRvsLookup.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsRvsLookup::clsRvsLookup(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsRvsLookup::InitConnection(Database *connection)
{
    return takeConnection(connection);
}

bool clsRvsLookup::InitConnection(const QString &connectionString)
{
    return takeConnection(connectionString);
}

bool clsRvsLookup::List()
{
    m_code.clear();
    m_description.clear();
    m_points = 0;
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "relative value scale shown before a connection";
        return false;
    }
    auto rows = db->call(u"BUILD_FILE..sp_Search_RVS", {QString()});
    if (!rows) {
        notifier().errorBox(rows.error());
        return false;
    }
    CodeListing listing;
    listing.title = QStringLiteral("Relative Value Scale");
    listing.headers = {QStringLiteral("RVS Code"), QStringLiteral("Description"),
                       QStringLiteral("Points")};
    for (const Row &r : *rows)
        listing.rows << QStringList{r.trimmed(u"RVSCode"), r.trimmed(u"RVSDescription"),
                                    QString::number(r.number(u"RVSPoints"), 'f', 2)};
    const int picked = pickRow(listing);
    if (picked < 0)
        return false;
    const Row &r = rows->at(picked);
    m_code = r.trimmed(u"RVSCode");
    m_description = r.trimmed(u"RVSDescription");
    m_points = r.number(u"RVSPoints");
    return true;
}

} // namespace kestrel
