// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsHistopathRequest.h"

namespace kestrel {

clsHistopathRequest::clsHistopathRequest(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

void clsHistopathRequest::showform()
{
    tellNotAvailable(QStringLiteral("The histopathology request"));
}

} // namespace kestrel
