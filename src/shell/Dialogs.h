// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

/// What a re-validation leaves behind: the employee who typed a valid code and password,
/// and the reason given when the window asked for one. An empty code means cancelled.
struct ValidatedUser
{
    QString code;
    QString name;
    QString reason;

    bool isValid() const { return !code.isEmpty(); }
};

/// Modal questions that windows ask: re-validation, period prompts, pick-lists. Windows talk
/// to this seam so their rules run the same under test; the running program answers with
/// real dialogs and tests with a script.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /// The re-validation window: asks an employee code and password before an action that
    /// writes or cancels. `askReason` also asks why (cancellations).
    virtual ValidatedUser validateUser(bool askReason = false) = 0;
};

} // namespace kestrel
