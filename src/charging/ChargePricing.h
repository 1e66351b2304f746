// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeLine.h"
#include "charging/PricingPrompts.h"
#include "core/CurrentPatient.h"

#include <QList>

#include <optional>

namespace kestrel {

class Session;
class clsDrug;
struct DoctorRecord;
struct OtherRevenueRecord;

/// The pricing decisions of one entry grid: the charge window owns one, and so do the
/// assessment and receivable windows. It prices the lines of one stay (the selected patient
/// unless another is set) and keeps the pricing state from one line to the next. Questions go
/// to the Notifier, the markup and doctor's fee windows to the PricingPrompts.
class ChargePricing
{
public:
    ChargePricing(Session &session, PricingPrompts &prompts);

    /// Prices lines for `stay` instead of the selected patient (the receivable window's
    /// patient).
    void setStay(const CurrentPatientRecord &stay) { m_stay = stay; }
    /// The stay priced: the one set, else the selected patient.
    const CurrentPatientRecord &stay() const;

    const PricingState &state() const { return m_state; }

    /// A service item was accepted (`item` as the code look-up picked it): its code and name,
    /// its rate letter, special rates and, on OR procedures, the RUV rate, after-time rate,
    /// markup and second-operation discount. Fills the unit price, list price, OR section and,
    /// where a rule computes it, the amount.
    void priceServiceItem(ChargeLine &line, const OtherRevenueRecord &item);
    /// A doctor was picked for a professional fee: the line takes his code, "LastName,
    /// FirstName" and his fee. False when no fee could be found: the user was told and the
    /// line is cleared.
    bool priceDoctorsFee(ChargeLine &line, const DoctorRecord &doctor);
    /// A stock item was found through the drug picker (its Invent at the department's
    /// location): code, name, location, quantity preset to 1, unit price and amount.
    void priceStockItem(ChargeLine &line, const clsDrug &drug);
    /// A line of a department other than "OR" whose unit price is zero is refused unless the
    /// hospital shows amounts: true when the user was told and the line cleared.
    bool refuseZeroAmount(ChargeLine &line);

    /// The after-time surcharge of an OR procedure line, when the time or the day calls for it.
    void ApplyAfterTimeRate(ChargeLine &line);
    /// Asks the markup window and lays the chosen markup on the unit price.
    void applyMarkup(ChargeLine &line);
    /// Offers to tag the line as the stay's second operation, at its discount.
    void ApplySecondOperationDiscount(ChargeLine &line);

    /// The quantity was entered: the stat question where the hospital asks it, and the amount.
    void quantityEntered(ChargeLine &line);

    /// Whether the unit price of the line may be typed over.
    bool canEditUnitPrice(const ChargeLine &line) const;
    /// A unit price was typed; false when it was refused (the list price is then put back).
    bool unitPriceTyped(ChargeLine &line, const QString &typed);
    /// A total amount was typed; false when it was refused and the line left as it was.
    bool amountTyped(ChargeLine &line, const QString &typed);

    /// Finishes an "OR" line: its receivable account, and the doctors' meals added to the
    /// amount.
    void finishLine(ChargeLine &line);

    /// The "Stat Patient" option: YES lays 25 percent on the complete procedure lines of
    /// section "P" that have an amount, NO sets every complete line back to quantity × price.
    void setStatPatient(QList<ChargeLine> &lines, bool stat);

    /// An "OR" line whose item is an OR procedure (section "PRC").
    bool isORProcedure(const ChargeLine &line) const;

private:
    bool isOutpatient() const;
    /// The quantity × price of the line, with the markup of a line priced at cost.
    Money plainAmount(const ChargeLine &line) const;

    Session &m_session;
    PricingPrompts &m_prompts;
    std::optional<CurrentPatientRecord> m_stay;
    PricingState m_state;
};

} // namespace kestrel
