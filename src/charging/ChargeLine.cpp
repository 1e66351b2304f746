// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeLine.h"

#include "core/db/NumberFormat.h"

namespace kestrel {

double ChargeLine::quantityValue() const
{
    bool ok = false;
    const double q = quantity.trimmed().toDouble(&ok);
    return ok ? q : 0;
}

Money ChargeLine::extended() const
{
    return Money::multiply(unitPriceValue(), quantityValue());
}

void ChargeLine::setUnitPrice(Money price)
{
    unitPrice = numberText(price);
}

void ChargeLine::setAmount(Money value)
{
    amount = numberText(value);
}

bool ChargeLine::isComplete() const
{
    for (const QString *cell : {&department, &item, &description, &quantity, &unitPrice, &amount}) {
        if (cell->trimmed().isEmpty())
            return false;
    }
    return true;
}

Money ChargeLine::moneyOf(const QString &cell)
{
    return Money::parse(cell).value_or(Money());
}

} // namespace kestrel
