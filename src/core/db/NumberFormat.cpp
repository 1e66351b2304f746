// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/NumberFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace kestrel {

namespace {

// What a digit pattern asks for, e.g. "###,##0.0#": grouping, one integer digit at least,
// one to two decimals.
struct Pattern
{
    bool grouping = false;
    bool hasPoint = false;
    int minIntegerDigits = 0;
    int minDecimals = 0;
    int maxDecimals = 0;
};

Pattern parsePattern(QStringView text)
{
    Pattern pattern;
    bool zeroSeen = false;
    for (const QChar character : text) {
        const char16_t c = character.unicode();
        const bool placeholder = c == u'0' || c == u'#';
        if (!pattern.hasPoint) {
            pattern.hasPoint = c == u'.';
            pattern.grouping = pattern.grouping || c == u',';
            // Only the placeholders from the first "0" on force digits: "###00" shows two.
            zeroSeen = zeroSeen || c == u'0';
            if (placeholder && zeroSeen)
                ++pattern.minIntegerDigits;
        } else if (placeholder) {
            ++pattern.maxDecimals;
            if (c == u'0')
                pattern.minDecimals = pattern.maxDecimals;
        }
    }
    return pattern;
}

// Adds one to a run of decimal digits, growing it on a carry out of the first digit.
void increment(std::string &digits)
{
    for (auto it = digits.rbegin(); it != digits.rend(); ++it) {
        if (*it != '9') {
            ++*it;
            return;
        }
        *it = '0';
    }
    digits.insert(digits.begin(), '1');
}

// Formats the exact decimal value digits × 10^-scale, whose sign is given apart.
QString formatDigits(bool negative, std::string digits, int scale, const Pattern &pattern)
{
    const auto decimals = std::size_t(pattern.maxDecimals);
    if (scale > pattern.maxDecimals) {
        const auto dropped = std::size_t(scale - pattern.maxDecimals);
        if (digits.size() <= dropped)
            digits.insert(0, dropped + 1 - digits.size(), '0');
        const bool roundUp = digits[digits.size() - dropped] >= '5';
        digits.erase(digits.size() - dropped);
        if (roundUp)
            increment(digits);
    } else {
        digits.append(std::size_t(pattern.maxDecimals - scale), '0');
    }
    if (digits.size() < decimals)
        digits.insert(0, decimals - digits.size(), '0');

    const bool zero = digits.find_first_not_of('0') == std::string::npos;
    std::string integer = digits.substr(0, digits.size() - decimals);
    std::string fraction = digits.substr(digits.size() - decimals);
    integer.erase(0, integer.find_first_not_of('0'));
    if (integer.size() < std::size_t(pattern.minIntegerDigits))
        integer.insert(0, std::size_t(pattern.minIntegerDigits) - integer.size(), '0');
    while (fraction.size() > std::size_t(pattern.minDecimals) && fraction.back() == '0')
        fraction.pop_back();
    if (pattern.grouping) {
        for (auto at = qsizetype(integer.size()) - 3; at > 0; at -= 3)
            integer.insert(std::size_t(at), 1, ',');
    }

    std::string text = negative && !zero ? "-" : "";
    text += integer;
    if (pattern.hasPoint) {
        text += '.';
        text += fraction;
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

} // namespace

ShortDecimal shortDecimal(double value)
{
    if (value == 0 || !std::isfinite(value))
        return {};
    // Scientific notation with 14 decimals is exactly 15 significant digits: "d.ddd…de±xx".
    char buffer[32];
    const auto end = std::to_chars(buffer, buffer + sizeof buffer, std::fabs(value),
                                   std::chars_format::scientific, 14)
                         .ptr;
    qint64 mantissa = buffer[0] - '0';
    for (int i = 2; i < 16; ++i)
        mantissa = mantissa * 10 + (buffer[i] - '0');
    const char *exponentText = buffer + 17;
    if (*exponentText == '+')
        ++exponentText;
    int exponent = 0;
    std::from_chars(exponentText, end, exponent);
    exponent -= 14;
    while (mantissa % 10 == 0) {
        mantissa /= 10;
        ++exponent;
    }
    return {value < 0 ? -mantissa : mantissa, exponent};
}

QString numberText(double value)
{
    if (std::isnan(value))
        return QStringLiteral("NaN");
    if (std::isinf(value))
        return value < 0 ? QStringLiteral("-Inf") : QStringLiteral("Inf");
    const ShortDecimal decimal = shortDecimal(value);
    if (decimal.mantissa == 0)
        return QStringLiteral("0");

    const QString digits = QString::number(std::llabs(decimal.mantissa));
    // The power of ten of the leading digit decides between plain and exponent form.
    const int lead = decimal.exponent + int(digits.size()) - 1;
    QString text = decimal.mantissa < 0 ? QStringLiteral("-") : QString();
    if (lead >= 15 || lead < -4) {
        text += digits.front();
        if (digits.size() > 1) {
            text += u'.';
            text += digits.mid(1);
        }
        text += lead < 0 ? u"E-" : u"E+";
        text += QString::number(std::abs(lead)).rightJustified(2, u'0');
    } else if (decimal.exponent >= 0) {
        text += digits;
        text += QString(decimal.exponent, u'0');
    } else if (lead >= 0) {
        text += digits.left(lead + 1);
        text += u'.';
        text += digits.mid(lead + 1);
    } else {
        text += u"0.";
        text += QString(-lead - 1, u'0');
        text += digits;
    }
    return text;
}

QString numberText(Money amount)
{
    return amount.toString();
}

QString formatNumber(double value, QStringView pattern)
{
    if (pattern.isEmpty() || !std::isfinite(value))
        return numberText(value);
    const ShortDecimal decimal = shortDecimal(value);
    std::string digits = std::to_string(std::llabs(decimal.mantissa));
    if (decimal.exponent > 0)
        digits.append(std::size_t(decimal.exponent), '0');
    return formatDigits(decimal.mantissa < 0, std::move(digits), std::max(0, -decimal.exponent),
                        parsePattern(pattern));
}

QString formatNumber(Money amount, QStringView pattern)
{
    if (pattern.isEmpty())
        return numberText(amount);
    const qint64 minor = amount.minor();
    const quint64 units = minor < 0 ? 0 - quint64(minor) : quint64(minor);
    return formatDigits(minor < 0, std::to_string(units), Money::kDecimals, parsePattern(pattern));
}

} // namespace kestrel
