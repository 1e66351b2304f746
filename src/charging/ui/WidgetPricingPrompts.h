// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PricingPrompts.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

class ChargeAccount;
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
    /// The doctor's fee window shows the account's patient instead of the selected one (the
    /// receivable window's); it outlives the prompts.
    void setAccount(const ChargeAccount *account) { m_account = account; }

private:
    Session &m_session;
    const ChargeAccount *m_account = nullptr;
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
