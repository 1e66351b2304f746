// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsChargeSlipList.h"

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
    tellNotAvailable(QStringLiteral("The charge slip list"));
    return {};
}

} // namespace kestrel
