// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsIcdLookup.h"

namespace kestrel {

clsIcdLookup::clsIcdLookup(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsIcdLookup::ValidateICDCode(const QString &code)
{
    Q_UNUSED(code)
    m_icd = {};
    tellNotAvailable(QStringLiteral("The ICD-10 look-up"));
    return false;
}

} // namespace kestrel
