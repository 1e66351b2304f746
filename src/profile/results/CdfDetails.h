// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QString>

namespace kestrel {

class Database;

/// The kidney programme's fund (CDF) of a patient against the bill of one stay, as the charge
/// and assessment windows show it for the programme's patients (`modCDF`).
struct CdfAmounts
{
    /// The stay's charges, all revenue codes together.
    Money hospBill;
    /// What the programme and its sponsors granted the patient.
    Money totalCdf;
    /// What the fund paid on his bills already.
    Money paidCdf;
    /// What is left of the fund.
    Money cdfBalance;
    /// The bill once the fund's balance is taken off it, never below nothing.
    Money netHospBill;

    /// The five amounts from the bill, the fund and what it paid: the balance is the fund less
    /// what it paid, and the bill is reduced by as much of the balance as it needs. An
    /// overdrawn fund takes nothing off.
    static CdfAmounts from(Money hospBill, Money totalCdf, Money paidCdf);
};

/// Reads the amounts of stay `idNum` of patient `hospNum`.
Result<CdfAmounts> readCdfAmounts(Database &db, const QString &idNum, const QString &hospNum);

} // namespace kestrel
