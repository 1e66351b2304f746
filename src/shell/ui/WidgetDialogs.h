// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "shell/Dialogs.h"

namespace kestrel {

class Notifier;

/// The modal questions of the running program, as real windows.
class WidgetDialogs : public Dialogs
{
public:
    explicit WidgetDialogs(Notifier &notifier)
        : m_notifier(notifier)
    {
    }

    /// The re-validation window. Until it is part of the program, the user is told so and the
    /// action that asked for it stops, exactly as when the window is cancelled.
    ValidatedUser validateUser(bool askReason) override;

private:
    Notifier &m_notifier;
};

} // namespace kestrel
