// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/PatientRecords.h"

namespace kestrel {

QString completeName(const QString &lastName, const QString &firstName, const QString &middleName)
{
    const QString last = lastName.trimmed();
    const QString rest = QString(firstName.trimmed() + u' ' + middleName.trimmed()).trimmed();
    if (last.isEmpty())
        return rest;
    if (rest.isEmpty())
        return last;
    return last + QStringLiteral(", ") + rest;
}

} // namespace kestrel
