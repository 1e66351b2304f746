// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PricingPrompts.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

class Session;

/// The pricing questions as the program asks them: the markup window `frmMarkUp`, modal over
/// the window that prices.
class WidgetPricingPrompts : public PricingPrompts
{
public:
    explicit WidgetPricingPrompts(Session &session, QWidget *parent = nullptr);

    MarkupChoice askMarkup() override;
    /// The doctor's fee list belongs to the receivable window and is not available yet: the
    /// user is told so and no fee is chosen.
    std::optional<Money> askDoctorsFee(const QString &doctorId, const QString &doctorName) override;

private:
    Session &m_session;
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
