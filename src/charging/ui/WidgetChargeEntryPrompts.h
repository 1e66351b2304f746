// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

class Session;

/// The charge window's small windows as the program shows them, modal over the charge window:
/// `frmListProcedures`, `frmMeals` and the PSI readings of an oxygen line `frmPSIReading`.
class WidgetChargeEntryPrompts : public ChargeEntryPrompts
{
public:
    WidgetChargeEntryPrompts(Session &session, QWidget *parent);

    QString askORProcedure(const QList<ORProcedure> &procedures) override;
    std::optional<MealEntry> askMeals(const QString &description) override;
    std::optional<PsiReading> askPsiReading(const ChargeEntryLine &line) override;

private:
    Session &m_session;
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
