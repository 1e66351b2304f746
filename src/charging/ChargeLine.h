// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QString>

#include <optional>

namespace kestrel {

/// One line of an entry grid (charges, assessments, receivables) as the pricing rules see it:
/// the cells they read and write, held as the text the grid shows. Amounts are written with the
/// number-to-text conversion unless a rule names a format.
struct ChargeLine
{
    QString department;      ///< cell 1: the revenue code ("OR", "MD", "PH", ...)
    QString item;            ///< cell 2: other-revenue, drug or doctor code
    QString description;     ///< cell 3
    QString quantity;        ///< cell 4, as typed
    QString unitPrice;       ///< cell 5
    QString amount;          ///< cell 6
    QString location;        ///< cell 7: the stock location of a stock department
    QString arCode;          ///< cell 8: the receivable account of a finished "OR" line
    QString orSection;       ///< cell 9: "P" for the procedure lines the stat surcharge takes
    QString listPrice;       ///< cell 10: the price found before any typed change
    QString markupText;      ///< cell 16: the markup laid on, "25%" or "1500" or "30"
    QString secondOperation; ///< cell 19: "1" tagged as second operation, "0" not
    QString mealAmount;      ///< cell 20: the doctors' meals added when the line is finished
    QString statFlag;        ///< "Y" or "N" once the stat question was answered
    /// The after-time rate raised this line; the markup window is not offered for it again.
    bool raisedByAfterTime = false;
    /// The markup percent of a stock line priced at cost; every amount of the line carries it.
    std::optional<double> costMarkup;

    /// The quantity as a number; 0 when empty or not a number.
    double quantityValue() const;
    Money unitPriceValue() const { return moneyOf(unitPrice); }
    Money amountValue() const { return moneyOf(amount); }
    Money listPriceValue() const { return moneyOf(listPrice); }
    Money mealAmountValue() const { return moneyOf(mealAmount); }

    /// quantity × unit price.
    Money extended() const;
    void setUnitPrice(Money price);
    void setAmount(Money value);

    /// Department, item, description, quantity, unit price and amount are all filled in.
    bool isComplete() const;
    /// Empties every cell.
    void clear() { *this = ChargeLine(); }

    /// A cell's text as money: thousands separators and blanks allowed; 0 when empty or not a
    /// number.
    static Money moneyOf(const QString &cell);
};

} // namespace kestrel
