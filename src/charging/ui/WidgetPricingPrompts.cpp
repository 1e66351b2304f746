// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/WidgetPricingPrompts.h"

#include "charging/ChargeAccount.h"
#include "charging/ui/frmDoctorsFee.h"
#include "charging/ui/frmMarkUp.h"
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

DoctorsFeeAnswer WidgetPricingPrompts::askDoctorsFee(const QString &doctorId,
                                                     const QString &doctorName)
{
    using Outcome = DoctorsFeeAnswer::Outcome;
    DoctorsFee fees(m_session, doctorId, doctorName);
    if (m_account)
        fees.setStay(m_account->stay());
    if (!fees.load() || fees.rows().isEmpty())
        return {Outcome::NoneFound, Money()};
    frmDoctorsFee window(fees, m_parent);
    window.exec();
    if (const std::optional<Money> fee = fees.choice())
        return {Outcome::Chosen, *fee};
    return {Outcome::Closed, Money()};
}

} // namespace kestrel
