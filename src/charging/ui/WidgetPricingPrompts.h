// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PricingPrompts.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

class Session;

/// The pricing questions as the program asks them: the markup window `frmMarkUp` and the
/// doctor's fee window `frmDoctorsFee`, modal over the window that prices.
class WidgetPricingPrompts : public PricingPrompts
{
public:
    explicit WidgetPricingPrompts(Session &session, QWidget *parent = nullptr);

    MarkupChoice askMarkup() override;
    /// The doctor's fee window `frmDoctorsFee`, shown only when the doctor's fee table has a
    /// fee to offer.
    DoctorsFeeAnswer askDoctorsFee(const QString &doctorId, const QString &doctorName) override;

private:
    Session &m_session;
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
