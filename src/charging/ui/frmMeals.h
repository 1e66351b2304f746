// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"

#include <QDialog>

class QCheckBox;
class QLineEdit;

namespace kestrel {

/// "Additional Amount (Doctors' Meals)": the meal amount `txtAmount` and remarks `txtRemarks`
/// of an OR line, under the heading "Procedure: " and the line's description; `chkClear`
/// "Clear" takes the amount off the line; `cmdOK` takes what is typed.
class frmMeals : public QDialog
{
    Q_OBJECT

public:
    explicit frmMeals(const QString &description, QWidget *parent = nullptr);

    /// What the window gave; nothing when it was closed without "OK".
    std::optional<MealEntry> entry() const { return m_entry; }

private:
    void ok();

    QLineEdit *m_amount = nullptr;
    QLineEdit *m_remarks = nullptr;
    QCheckBox *m_clear = nullptr;
    std::optional<MealEntry> m_entry;
};

} // namespace kestrel
