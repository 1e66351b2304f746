// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsStatement.h"

namespace kestrel {

clsStatement::clsStatement(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

void clsStatement::ShowSOA()
{
    tellNotAvailable(QStringLiteral("The statement of account"));
}

} // namespace kestrel
