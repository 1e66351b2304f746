// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsIssuedMedicines.h"

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
    tellNotAvailable(QStringLiteral("The list of issued medicines"));
    return false;
}

} // namespace kestrel
