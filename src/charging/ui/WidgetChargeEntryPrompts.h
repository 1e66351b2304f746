// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

class Notifier;

/// The charge window's small windows as the program shows them, modal over the charge window:
/// `frmListProcedures` and `frmMeals`. The PSI reading window belongs to the oxygen charges,
/// which are not built yet.
class WidgetChargeEntryPrompts : public ChargeEntryPrompts
{
public:
    WidgetChargeEntryPrompts(Notifier &notifier, QWidget *parent);

    QString askORProcedure(const QList<ORProcedure> &procedures) override;
    std::optional<MealEntry> askMeals(const QString &description) override;
    /// Tells the user the PSI reading window is not available yet; no reading.
    std::optional<PsiReading> askPsiReading(const ChargeEntryLine &line) override;

private:
    Notifier &m_notifier;
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
