// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/WidgetChargeEntryPrompts.h"

#include "charging/ui/frmListProcedures.h"
#include "charging/ui/frmMeals.h"
#include "core/components/Component.h"

namespace kestrel {

WidgetChargeEntryPrompts::WidgetChargeEntryPrompts(Notifier &notifier, QWidget *parent)
    : m_notifier(notifier)
    , m_parent(parent)
{
}

QString WidgetChargeEntryPrompts::askORProcedure(const QList<ORProcedure> &procedures)
{
    frmListProcedures window(procedures, m_parent);
    window.exec();
    return window.chosen();
}

std::optional<MealEntry> WidgetChargeEntryPrompts::askMeals(const QString &description)
{
    frmMeals window(description, m_parent);
    window.exec();
    return window.entry();
}

std::optional<PsiReading> WidgetChargeEntryPrompts::askPsiReading(const ChargeEntryLine &line)
{
    Q_UNUSED(line);
    tellNotAvailable(m_notifier, QStringLiteral("The PSI reading window"));
    return std::nullopt;
}

} // namespace kestrel
