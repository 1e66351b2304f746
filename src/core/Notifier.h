// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QString>

namespace kestrel {

/// Message boxes, as every window shows them: a text, a title and an icon. Windows talk to
/// this seam instead of to widgets, so their rules run the same under test.
class Notifier
{
public:
    /// None is a plain box without an icon.
    enum class Icon { Information, Exclamation, Critical, Question, None };

    virtual ~Notifier() = default;

    /// A box with an OK button.
    virtual void message(const QString &text, const QString &title, Icon icon) = 0;
    /// The button Enter presses in a question.
    enum class Answer { Yes, No };

    /// A Yes/No question; true for Yes. `byDefault` is the button that has the focus, so a
    /// question whose Yes charges or prints something extra is asked with No as default.
    virtual bool confirm(const QString &text, const QString &title, Icon icon = Icon::Question,
                         Answer byDefault = Answer::Yes) = 0;

    /// The shared error box for a failure nobody expected: its description, an empty line
    /// and the request to call IT, titled "Notification".
    void errorBox(const QString &description);
    void errorBox(const Error &error) { errorBox(error.message); }

    /// The text of the shared error box for `description`.
    static QString errorBoxText(const QString &description);
};

} // namespace kestrel
