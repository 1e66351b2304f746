// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsRvsLookup.h"

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
    tellNotAvailable(QStringLiteral("The relative value scale list"));
    return false;
}

} // namespace kestrel
