// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsPatientInfo.h"

namespace kestrel {

clsPatientInfo::clsPatientInfo(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsPatientInfo::InitConnect(Database *connection)
{
    return takeConnection(connection);
}

bool clsPatientInfo::InitConnect(const QString &connectionString)
{
    return takeConnection(connectionString);
}

void clsPatientInfo::LoadInfo()
{
    tellNotAvailable(QStringLiteral("The patient information panel"));
}

} // namespace kestrel
