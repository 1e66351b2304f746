// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/WidgetDialogs.h"

#include "shell/components/Component.h"

namespace kestrel {

ValidatedUser WidgetDialogs::validateUser(bool askReason)
{
    (void)askReason;
    tellNotAvailable(m_notifier, QStringLiteral("The user validation window"));
    return {};
}

} // namespace kestrel
