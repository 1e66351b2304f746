// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsOpenConnection.h"

namespace kestrel {

clsOpenConnection::clsOpenConnection(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsOpenConnection::EstablishedConnection() const
{
    return !servername.trimmed().isEmpty() && !Database.trimmed().isEmpty();
}

} // namespace kestrel
