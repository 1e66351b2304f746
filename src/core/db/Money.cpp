// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Money.h"

#include "core/db/NumberFormat.h"

#include <cmath>

namespace kestrel {

namespace {

// Products of an amount and a 15-digit factor need up to 113 bits before rounding.
__extension__ typedef unsigned __int128 Wide;

constexpr quint64 kLargestMagnitude = quint64(std::numeric_limits<qint64>::max());

quint64 magnitude(qint64 value)
{
    return value < 0 ? 0 - quint64(value) : quint64(value);
}

Wide powerOfTen(int exponent)
{
    Wide power = 1;
    for (int i = 0; i < exponent; ++i)
        power *= 10;
    return power;
}

Money saturated(bool negative)
{
    return negative ? Money::minimum() : Money::maximum();
}

// Anything past maximum() saturates; a negative magnitude of exactly 2^63 saturates to
// minimum(), which is that very amount.
Money fromMagnitude(Wide magnitude, bool negative)
{
    if (magnitude > kLargestMagnitude)
        return saturated(negative);
    const auto minor = qint64(magnitude);
    return Money::fromMinor(negative ? -minor : minor);
}

// minor × factor, rounded half away from zero to whole minor units.
Money scaleExactly(qint64 minor, ShortDecimal factor)
{
    if (minor == 0 || factor.mantissa == 0)
        return Money();
    const bool negative = (minor < 0) != (factor.mantissa < 0);
    Wide product = Wide(magnitude(minor)) * magnitude(factor.mantissa);
    if (factor.exponent >= 0) {
        for (int i = 0; i < factor.exponent; ++i) {
            if (product > kLargestMagnitude)
                return saturated(negative);
            product *= 10;
        }
        return fromMagnitude(product, negative);
    }
    // The product stays below 10^35, so a larger divisor leaves less than half a minor unit.
    if (factor.exponent < -35)
        return Money();
    const Wide divisor = powerOfTen(-factor.exponent);
    Wide quotient = product / divisor;
    if (product % divisor * 2 >= divisor)
        ++quotient;
    return fromMagnitude(quotient, negative);
}

// minor × factor × 10^shift, for a factor that comes from a double.
Money scaleByDouble(qint64 minor, double factor, int shift)
{
    if (std::isnan(factor) || minor == 0)
        return Money();
    if (std::isinf(factor))
        return saturated((minor < 0) != (factor < 0));
    ShortDecimal decimal = shortDecimal(factor);
    decimal.exponent += shift;
    return scaleExactly(minor, decimal);
}

} // namespace

Money Money::fromDouble(double value)
{
    return scaleByDouble(1, value, kDecimals);
}

std::optional<Money> Money::parse(QStringView text)
{
    text = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+'))
        negative = text[i++] == u'-';

    Wide whole = 0;
    int digitCount = 0;
    int groupDigits = 0;
    bool grouped = false;
    for (; i < text.size() && text[i] != u'.'; ++i) {
        const char16_t c = text[i].unicode();
        if (c == u',') {
            // A comma closes a group: the first group holds one to three digits, later ones three.
            if (groupDigits == 0 || groupDigits > 3 || (grouped && groupDigits != 3))
                return std::nullopt;
            grouped = true;
            groupDigits = 0;
            continue;
        }
        if (c < u'0' || c > u'9')
            return std::nullopt;
        whole = whole * 10 + (c - u'0');
        if (whole > kLargestMagnitude)
            return std::nullopt;
        ++digitCount;
        ++groupDigits;
    }
    if (grouped && groupDigits != 3)
        return std::nullopt;

    qint64 fraction = 0;
    int places = 0;
    bool roundUp = false;
    if (i < text.size()) {
        for (++i; i < text.size(); ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                return std::nullopt;
            if (places < kDecimals)
                fraction = fraction * 10 + (c - u'0');
            else if (places == kDecimals)
                roundUp = c >= u'5';
            ++places;
            ++digitCount;
        }
    }
    if (digitCount == 0)
        return std::nullopt;
    for (; places < kDecimals; ++places)
        fraction *= 10;

    const Wide total = whole * kScale + Wide(fraction) + (roundUp ? 1 : 0);
    if (total > kLargestMagnitude + (negative ? 1 : 0))
        return std::nullopt;
    return fromMagnitude(total, negative);
}

Money Money::fromVariant(const QVariant &value)
{
    if (value.isNull())
        return Money();
    switch (value.typeId()) {
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::Long:
    case QMetaType::LongLong:
        return fromMinor(kScale) * value.toLongLong();
    case QMetaType::ULong:
    case QMetaType::ULongLong:
        return fromMinor(kScale) * value.toULongLong();
    case QMetaType::Float:
    case QMetaType::Double:
        return fromDouble(value.toDouble());
    default:
        return parse(value.toString()).value_or(Money());
    }
}

QString Money::toString() const
{
    const quint64 units = magnitude(m_minor);
    QString text = QString::number(units / quint64(kScale));
    if (const quint64 fraction = units % quint64(kScale)) {
        QString decimals = QString::number(fraction).rightJustified(kDecimals, u'0');
        while (decimals.endsWith(u'0'))
            decimals.chop(1);
        text += u'.';
        text += decimals;
    }
    if (m_minor < 0)
        text.prepend(u'-');
    return text;
}

Money Money::round(int decimals) const
{
    if (decimals >= kDecimals)
        return *this;
    // Every amount is below 10^19 minor units, half of any unit past 10^34 minor units.
    if (decimals < kDecimals - 34)
        return Money();
    const Wide unit = powerOfTen(kDecimals - decimals);
    const Wide units = magnitude(m_minor);
    Wide rounded = units / unit;
    if (units % unit * 2 >= unit)
        ++rounded;
    return fromMagnitude(rounded * unit, m_minor < 0);
}

Money Money::percentOf(double percent) const
{
    return scaleByDouble(m_minor, percent, -2);
}

Money Money::multiply(Money price, double quantity)
{
    return scaleByDouble(price.m_minor, quantity, 0);
}

} // namespace kestrel
