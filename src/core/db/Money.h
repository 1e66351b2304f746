// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>
#include <QStringView>
#include <QtGlobal>
#include <QVariant>

#include <compare>
#include <concepts>
#include <limits>
#include <optional>
#include <type_traits>
#include <utility>

namespace kestrel {

/// An amount of money held exactly in ten-thousandths, the scale of the hospital's money columns.
///
/// Sums and products never go through a double. Arithmetic that would leave the qint64 range
/// saturates at maximum() or minimum() instead of wrapping: a bill that absurd is caught by a
/// reviewer, while a silently wrapped total would come out as a plausible wrong amount.
class Money
{
public:
    /// Decimal places kept; every amount is a whole number of 10^-kDecimals.
    static constexpr int kDecimals = 4;
    /// Minor units per whole unit of currency.
    static constexpr qint64 kScale = 10000;

    /// Zero.
    constexpr Money() = default;

    /// The amount of @p tenThousandths minor units, e.g. fromMinor(12345) is 1.2345.
    static constexpr Money fromMinor(qint64 tenThousandths)
    {
        Money m;
        m.m_minor = tenThousandths;
        return m;
    }
    /// The largest amount; saturated results end here.
    static constexpr Money maximum() { return fromMinor(std::numeric_limits<qint64>::max()); }
    /// The most negative amount; saturated results end here.
    static constexpr Money minimum() { return fromMinor(std::numeric_limits<qint64>::min()); }

    /// A double from a database driver, taken at its 15-significant-digit decimal value and
    /// rounded half away from zero to 4 places, so 0.1 + 0.2 becomes exactly 0.3.
    /// NaN gives zero; infinities and out-of-range values saturate.
    static Money fromDouble(double value);
    /// What a clerk types or a database returns: "-1,234.50", " 12 ", ".5". Commas must group
    /// thousands properly, because "1,5" is more likely a mistyped decimal than fifteen.
    /// Decimals beyond the fourth are rounded half away from zero. Returns nullopt for empty,
    /// malformed or out-of-range text.
    static std::optional<Money> parse(QStringView text);
    /// A value read from a query: integers, doubles or numeric text. Null, and text that is not
    /// a number, give zero; use parse() where that difference matters.
    static Money fromVariant(const QVariant &value);

    /// The amount in ten-thousandths.
    constexpr qint64 minor() const { return m_minor; }
    /// The nearest double, for charts and statistics only, never for further money arithmetic.
    double toDouble() const { return double(m_minor) / double(kScale); }
    /// Canonical text for SQL and files: "1234.5", "0", "-0.25", no grouping, no trailing zeros.
    QString toString() const;
    /// toString() as a QVariant, which both SQLite and PostgreSQL numeric columns accept
    /// without the rounding a bound double would bring.
    QVariant toVariant() const { return QVariant(toString()); }

    /// True for exactly zero; amounts never carry a negative zero.
    constexpr bool isZero() const { return m_minor == 0; }
    /// True below zero: refunds, reversals, credit notes.
    constexpr bool isNegative() const { return m_minor < 0; }

    /// Rounded half away from zero to @p decimals places (round(2) for centavos). Negative
    /// @p decimals round to tens, hundreds and so on; 4 or more leaves the amount unchanged.
    Money round(int decimals) const;
    /// @p percent percent of this amount (10 for a 10 % discount), rounded half away from zero.
    Money percentOf(double percent) const;
    /// @p price times a possibly fractional @p quantity (half a vial), rounded half away from
    /// zero. The quantity is taken at its 15-significant-digit decimal value, so 0.7 means
    /// exactly seven tenths. A NaN quantity gives zero.
    static Money multiply(Money price, double quantity);

    /// Sums and differences, saturating at maximum() and minimum().
    friend constexpr Money operator+(Money a, Money b)
    {
        qint64 sum = 0;
        if (__builtin_add_overflow(a.m_minor, b.m_minor, &sum))
            return b.m_minor > 0 ? maximum() : minimum();
        return fromMinor(sum);
    }
    friend constexpr Money operator-(Money a, Money b)
    {
        qint64 difference = 0;
        if (__builtin_sub_overflow(a.m_minor, b.m_minor, &difference))
            return b.m_minor < 0 ? maximum() : minimum();
        return fromMinor(difference);
    }
    friend constexpr Money operator-(Money a)
    {
        return a == minimum() ? maximum() : fromMinor(-a.m_minor);
    }
    constexpr Money &operator+=(Money other) { return *this = *this + other; }
    constexpr Money &operator-=(Money other) { return *this = *this - other; }

    /// An amount taken a whole number of times, saturating on overflow.
    template <std::integral N> friend constexpr Money operator*(Money a, N count)
    {
        if (a.isZero())
            return Money();
        qint64 product = 0;
        if (std::in_range<qint64>(count) &&
            !__builtin_mul_overflow(a.m_minor, qint64(count), &product))
            return fromMinor(product);
        return (a.m_minor < 0) != std::cmp_less(count, 0) ? minimum() : maximum();
    }
    /// The same with the count first, as in "3 × 12.50".
    template <std::integral N> friend constexpr Money operator*(N count, Money a)
    {
        return a * count;
    }
    /// multiply() in operator form, either way round.
    friend Money operator*(Money price, double quantity) { return multiply(price, quantity); }
    friend Money operator*(double quantity, Money price) { return multiply(price, quantity); }

    /// Amounts order and compare by value.
    friend constexpr auto operator<=>(Money a, Money b) = default;
    friend constexpr bool operator==(Money a, Money b) = default;

private:
    qint64 m_minor = 0;
};

static_assert(std::is_trivially_copyable_v<Money>);

} // namespace kestrel
