// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/WidgetChargeEntryPrompts.h"

#include "charging/ui/frmListProcedures.h"
#include "charging/ui/frmMeals.h"
#include "charging/ui/frmPSIReading.h"

namespace kestrel {

WidgetChargeEntryPrompts::WidgetChargeEntryPrompts(Session &session, QWidget *parent)
    : m_session(session)
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
    frmPSIReading window(m_session, line.line.item.trimmed(), line.line.description.trimmed(),
                         m_parent);
    window.exec();
    return window.reading();
}

} // namespace kestrel
