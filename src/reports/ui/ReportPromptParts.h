// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

class QDateEdit;
class QDialog;
class QLayout;
class QPushButton;

namespace kestrel {

/// The two buttons every report prompt ends with: `cmdOK(0)` "&OK" (the default button) and
/// `cmdOK(1)` "&Cancel", side by side at the right.
struct PromptButtons
{
    QPushButton *ok = nullptr;
    QPushButton *cancel = nullptr;
    QLayout *row = nullptr;
};
PromptButtons makePromptButtons(QDialog *prompt);

/// A date picker of a report prompt named `name`, showing dates as `format`, with a calendar
/// that drops down.
QDateEdit *makePromptPicker(const QString &name, const QString &format, QDialog *prompt);

} // namespace kestrel
