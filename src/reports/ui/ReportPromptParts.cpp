// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/ReportPromptParts.h"

#include <QDateEdit>
#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace kestrel {

PromptButtons makePromptButtons(QDialog *prompt)
{
    PromptButtons buttons;
    buttons.ok = new QPushButton(QStringLiteral("&OK"), prompt);
    buttons.ok->setObjectName(QStringLiteral("cmdOK(0)"));
    buttons.ok->setDefault(true);
    buttons.cancel = new QPushButton(QStringLiteral("&Cancel"), prompt);
    buttons.cancel->setObjectName(QStringLiteral("cmdOK(1)"));
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    row->addWidget(buttons.ok);
    row->addWidget(buttons.cancel);
    buttons.row = row;
    return buttons;
}

QDateEdit *makePromptPicker(const QString &name, const QString &format, QDialog *prompt)
{
    auto *picker = new QDateEdit(prompt);
    picker->setObjectName(name);
    picker->setDisplayFormat(format);
    picker->setCalendarPopup(true);
    // Wide enough for the longest format, "MM/dd/yyyy", and its drop-down button.
    picker->setMinimumWidth(120);
    return picker;
}

} // namespace kestrel
