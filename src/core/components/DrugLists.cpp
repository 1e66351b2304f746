// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/DrugLists.h"

namespace kestrel {

DrugListComponent::DrugListComponent(QString progId, QString listName, const ComponentContext &ctx,
                                     QObject *parent)
    : Component(std::move(progId), ctx, parent)
    , m_listName(std::move(listName))
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

QString DrugListComponent::ShowList(const QString &locationId)
{
    Q_UNUSED(locationId)
    tellNotAvailable(m_listName);
    return {};
}

clsDrugList::clsDrugList(const ComponentContext &ctx, QObject *parent)
    : DrugListComponent(kProgId.toString(), QStringLiteral("The drug list"), ctx, parent)
{
}

clsGenericList::clsGenericList(const ComponentContext &ctx, QObject *parent)
    : DrugListComponent(kProgId.toString(), QStringLiteral("The generic drug list"), ctx, parent)
{
}

} // namespace kestrel
