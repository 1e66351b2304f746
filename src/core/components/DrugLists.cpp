// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/DrugLists.h"

#include "core/components/CodePickList.h"
#include "core/Notifier.h"

namespace kestrel {

DrugListComponent::DrugListComponent(QString progId, QString title, bool byGeneric,
                                     const ComponentContext &ctx, QObject *parent)
    : Component(std::move(progId), ctx, parent)
    , m_title(std::move(title))
    , m_byGeneric(byGeneric)
{
}

bool DrugListComponent::InitConnection(Database *connection)
{
    return takeConnection(connection);
}

bool DrugListComponent::InitConnection(const QString &connectionString)
{
    return takeConnection(connectionString);
}

QString DrugListComponent::ShowList(const QString &locationId, const QString &searchText)
{
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "drug list shown before a connection";
        return {};
    }
    auto rows = db->call(u"INVENTORY..sp_Search_DrugList",
                         {locationId.trimmed(), searchText.trimmed(),
                          m_byGeneric ? QStringLiteral("1") : QStringLiteral("0"),
                          DrugsORCSR ? QStringLiteral("1") : QStringLiteral("0")});
    if (!rows) {
        notifier().errorBox(rows.error());
        return {};
    }
    CodeListing listing;
    listing.title = m_title;
    listing.typedText = searchText.trimmed();
    const QString brand = QStringLiteral("Brand Name");
    const QString generic = QStringLiteral("Generic");
    listing.headers = {QStringLiteral("Code"),        m_byGeneric ? generic : brand,
                       m_byGeneric ? brand : generic, QStringLiteral("Classification"),
                       QStringLiteral("Location"),    QStringLiteral("On Hand"),
                       QStringLiteral("Price")};
    for (const Row &r : *rows) {
        const QString name = r.trimmed(u"ItemName");
        const QString genericName = r.trimmed(u"GenericName");
        listing.rows << QStringList{r.trimmed(u"ItemID"),
                                    m_byGeneric ? genericName : name,
                                    m_byGeneric ? name : genericName,
                                    r.trimmed(u"ClassificationName"),
                                    r.trimmed(u"LocationID"),
                                    QString::number(r.number(u"OnHand")),
                                    r.money(u"SellingPriceIn").toString()};
    }
    const int picked = pickRow(listing);
    return picked < 0 ? QString() : listing.rows.at(picked).at(0);
}

clsDrugList::clsDrugList(const ComponentContext &ctx, QObject *parent)
    : DrugListComponent(kProgId.toString(), QStringLiteral("Drug List"), false, ctx, parent)
{
}

clsGenericList::clsGenericList(const ComponentContext &ctx, QObject *parent)
    : DrugListComponent(kProgId.toString(), QStringLiteral("Drug List by Generic Name"), true, ctx,
                        parent)
{
}

} // namespace kestrel
