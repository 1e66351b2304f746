// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QString>

#include <optional>

namespace kestrel {

/// How a markup is laid on a price: none, multiplied by (1 + markup), or the markup added.
enum class MarkupType : qint16 { None = 0, Multiply = 1, Add = 2 };

/// The markup chosen in the markup window; a value of 0 when none was chosen.
struct MarkupChoice
{
    double value = 0;
    MarkupType type = MarkupType::None;
};

/// What the doctor's fee window answered: the fee the user took, or that the doctor's fee
/// table had none to offer, or that the user closed the window without taking one.
struct DoctorsFeeAnswer
{
    enum class Outcome { Chosen, NoneFound, Closed };
    Outcome outcome = Outcome::NoneFound;
    Money fee;
};

/// The windows the pricing rules ask while a line is priced: the markup window `frmMarkUp` and
/// the doctor's fee window `frmDoctorsFee`. The program answers with the windows, tests with a
/// script. Yes/No questions and boxes go through the Notifier.
class PricingPrompts
{
public:
    virtual ~PricingPrompts() = default;

    /// The markup window for an OR line: the markup of the row the user chose, value 0 when he
    /// closed the window without one.
    virtual MarkupChoice askMarkup() = 0;
    /// The doctor's fee window for a doctor's fee line of the current patient.
    virtual DoctorsFeeAnswer askDoctorsFee(const QString &doctorId, const QString &doctorName) = 0;
};

/// What the charge window keeps from one line's pricing to the next: the markup of the last
/// markup window, the last stat answer and the amount it gave, which posting records.
struct PricingState
{
    double markupValue = 0;
    MarkupType markupType = MarkupType::None;
    QString statFlag;   ///< "Y" or "N", as the stat question was last answered
    QString statAmount; ///< the amount text of the last stat answer
};

} // namespace kestrel
