// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The keystroke filter every text field runs its typed keys through. A key is the code of
/// the typed character; 0 means the key is swallowed.
class clsKeyFilter : public Component
{
    Q_OBJECT

public:
    static constexpr QStringView kProgId = u"KsKeys.clsKeyFilter";
    /// The key code of backspace, which every filter lets through so typing can be undone.
    static constexpr int kBackspace = 8;

    explicit clsKeyFilter(const ComponentContext &ctx, QObject *parent = nullptr);

    /// The key turned to its upper-case letter; anything but a letter comes back unchanged.
    Q_INVOKABLE static int AllUppers(int key);
    /// Digits and backspace come back unchanged; every other key becomes 0 (swallowed).
    Q_INVOKABLE static int IsNumber(int key);
};

} // namespace kestrel
