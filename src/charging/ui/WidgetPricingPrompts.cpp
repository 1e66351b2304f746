// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/WidgetPricingPrompts.h"

#include "charging/ui/frmMarkUp.h"
#include "core/components/Component.h"
#include "core/Session.h"

namespace kestrel {

WidgetPricingPrompts::WidgetPricingPrompts(Session &session, QWidget *parent)
    : m_session(session)
    , m_parent(parent)
{
}

MarkupChoice WidgetPricingPrompts::askMarkup()
{
    frmMarkUp window(m_session, m_parent);
    window.exec();
    return window.choice();
}

std::optional<Money> WidgetPricingPrompts::askDoctorsFee(const QString &doctorId,
                                                         const QString &doctorName)
{
    Q_UNUSED(doctorId);
    Q_UNUSED(doctorName);
    tellNotAvailable(m_session.notifier(), QStringLiteral("The doctor's fee list"));
    return std::nullopt;
}

} // namespace kestrel
