// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QString>
#include <QStringView>

namespace kestrel {

// Patterns the hospital's screens and printed documents use.
/// At least two integer digits: "05.50".
inline constexpr auto kFormatTwoDigits = u"###00.00";
/// Only significant digits, the point always: "5.", ".5", "1234.56".
inline constexpr auto kFormatPlain = u"#####.##";
/// Amounts on bills and receipts: "1,234.50", "0.00".
inline constexpr auto kFormatAmount = u"#,##0.00";
/// Gross totals on reports; formats like kFormatAmount.
inline constexpr auto kFormatGross = u"###,##0.00";

/// A finite double as the decimal mantissa × 10^exponent, rounded to 15 significant digits the
/// way the hospital's older programs saw numbers; that rounding drops binary noise, so 0.1 + 0.2
/// gives {3, -1}. The mantissa carries the sign and has no trailing zeros; zero is {0, 0}.
struct ShortDecimal
{
    qint64 mantissa = 0;
    int exponent = 0;
};
/// Decomposes @p value; see ShortDecimal. NaN and infinities give {0, 0}, so check them first.
ShortDecimal shortDecimal(double value);

/// A number as the older programs wrote it into screens and text columns: at most 15 significant
/// digits, no trailing zeros, no grouping, "0.5", "-12.25"; exponent form such as "1E+15" or
/// "1.5E-05" when the magnitude is at least 1e15 or below 1e-4. NaN and infinities give "NaN",
/// "Inf" and "-Inf".
QString numberText(double value);
/// The exact amount in the same style ("1234.5", "-0.25"); never rounded to 15 digits and never
/// in exponent form, since every amount is below 1e15.
QString numberText(Money amount);

/// Formats @p value with a digit pattern: "0" is a digit always shown, "#" a digit shown only
/// when significant, "." the decimal point (always printed when the pattern has one), and a ","
/// anywhere before the point groups thousands by three. Decimals are rounded half away from zero
/// from the value's 15-significant-digit decimal, so 2.005 with "0.00" gives "2.01". Integer
/// digits beyond the placeholders are all printed; values that round to zero lose their minus
/// sign. Always "." and ",", whatever the workstation's locale, because the hospital's documents
/// use them everywhere. Other pattern characters are ignored; an empty pattern gives numberText().
QString formatNumber(double value, QStringView pattern);
/// Formats the exact amount with @p pattern, as formatNumber(double, QStringView) does.
QString formatNumber(Money amount, QStringView pattern);

} // namespace kestrel
