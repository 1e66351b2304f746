// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/Notifier.h"

namespace kestrel {

QString Notifier::errorBoxText(const QString &description)
{
    return description + QStringLiteral("\n\nPlease notify your IT department.");
}

void Notifier::errorBox(const QString &description)
{
    message(errorBoxText(description), QStringLiteral("Notification"), Icon::Information);
}

} // namespace kestrel
