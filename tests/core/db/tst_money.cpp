// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Money.h"
#include "core/db/NumberFormat.h"

#include <QTest>

#include <limits>

namespace kestrel {
char *toString(const Money &amount)
{
    return QTest::toString(amount.toString());
}
} // namespace kestrel

using kestrel::Money;
using namespace Qt::StringLiterals;

// Amounts are plain values that work at compile time, saturation included.
static_assert(Money::fromMinor(1) + Money::fromMinor(2) == Money::fromMinor(3));
static_assert(Money::maximum() + Money::fromMinor(1) == Money::maximum());
static_assert(Money::fromMinor(-5) * 3 < Money());

class TestMoney : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void arithmetic_data()
    {
        addAmountColumns();
        const Money one = Money::fromMinor(1);
        constexpr quint64 hugeCount = std::numeric_limits<quint64>::max();
        QTest::newRow("add in place") << (money("10") += money("2.5")) << money("12.5");
        QTest::newRow("negation") << -money("3.1") << money("-3.1");
        QTest::newRow("count times") << 3 * money("1.2345") << money("3.7035");
        QTest::newRow("sum past maximum") << Money::maximum() + one << Money::maximum();
        QTest::newRow("sum past minimum") << Money::minimum() + -one << Money::minimum();
        QTest::newRow("minus negative past max") << Money::maximum() - -one << Money::maximum();
        QTest::newRow("negated minimum") << -Money::minimum() << Money::maximum();
        QTest::newRow("product past minimum") << money("500000000000000") * -2 << Money::minimum();
        QTest::newRow("count beyond qint64") << one * hugeCount << Money::maximum();
        QTest::newRow("zero times any count") << Money() * hugeCount << Money();
    }
    void arithmetic() { compareAmounts(); }

    void predicates()
    {
        QVERIFY(money("-0.0001") < Money() && money("1,000") > money("999.9999"));
        QVERIFY(Money().isZero() && !Money().isNegative() && !money("0.0001").isZero());
        QVERIFY(money("-0.0001").isNegative() && !money("0.0001").isNegative());
        QCOMPARE(money("-2.5").toDouble(), -2.5);
    }

    // Quantities, percentages and round() all round half away from zero.
    void rounding_data()
    {
        addAmountColumns();
        QTest::newRow("quantity: half a vial") << money("12.345") * 0.5 << money("6.1725");
        QTest::newRow("quantity: half a unit up") << money("0.0005") * 0.5 << money("0.0003");
        QTest::newRow("quantity: negative price") << money("-0.0005") * 0.5 << money("-0.0003");
        // Both products sit just below .5 in binary; the quantities mean 0.7 and 1.005 exactly.
        QTest::newRow("quantity: 0.7") << Money::multiply(money("0.0045"), 0.7) << money("0.0032");
        QTest::newRow("quantity: 1.005")
            << Money::multiply(money("0.01"), 1.005) << money("0.0101");
        QTest::newRow("quantity: tiny, huge price")
            << Money::maximum() * 1.23456789012345e-17 << money("0.0114");
        QTest::newRow("quantity: huge") << money("1") * 1e300 << Money::maximum();
        QTest::newRow("quantity: NaN") << money("1") * kNaN << Money();
        QTest::newRow("percent: discount") << money("123.45").percentOf(10) << money("12.345");
        QTest::newRow("percent: below half") << money("0.0003").percentOf(15) << Money();
        QTest::newRow("percent: fractional") << money("0.01").percentOf(100.5) << money("0.0101");
        QTest::newRow("round: centavos up") << money("2.345").round(2) << money("2.35");
        QTest::newRow("round: below half") << money("2.3449").round(2) << money("2.34");
        QTest::newRow("round: carry") << money("9.995").round(2) << money("10");
        QTest::newRow("round: whole negative") << money("-1.5").round(0) << money("-2");
        QTest::newRow("round: to tens") << money("125").round(-1) << money("130");
        QTest::newRow("round: past maximum") << Money::maximum().round(0) << Money::maximum();
        QTest::newRow("round: beyond any amount") << money("-5000").round(-40) << Money();
    }
    void rounding() { compareAmounts(); }

    void conversion_data()
    {
        addAmountColumns();
        const auto variant = [](const QVariant &value) { return Money::fromVariant(value); };
        QTest::newRow("double: binary noise") << Money::fromDouble(0.1 + 0.2) << money("0.3");
        QTest::newRow("double: half away") << Money::fromDouble(-1.00005) << money("-1.0001");
        QTest::newRow("double: NaN") << Money::fromDouble(kNaN) << Money();
        QTest::newRow("double: -infinity") << Money::fromDouble(-kInfinity) << Money::minimum();
        QTest::newRow("double: beyond range") << Money::fromDouble(1e300) << Money::maximum();
        QTest::newRow("variant: invalid") << variant({}) << Money();
        QTest::newRow("variant: int") << variant(5) << money("5");
        QTest::newRow("variant: text") << variant(u" -1,234.50 "_s) << money("-1234.5");
        QTest::newRow("variant: bytes") << variant(QByteArrayLiteral("42.5")) << money("42.5");
        QTest::newRow("variant: garbage") << variant(u"n/a"_s) << Money();
        QTest::newRow("variant: huge unsigned")
            << variant(std::numeric_limits<quint64>::max()) << Money::maximum();
    }
    void conversion() { compareAmounts(); }

    void parse_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("accepted");
        QTest::addColumn<qint64>("expectedMinor");
        const auto accept = [](const char *name, const char *text, qint64 minor) {
            QTest::newRow(name) << QString::fromLatin1(text) << true << minor;
        };
        const auto refuse = [](const char *name, const char *text) {
            QTest::newRow(name) << QString::fromLatin1(text) << false << qint64(0);
        };
        accept("plain", "1234.5", 12345000);
        accept("explicit plus", "+7", 70000);
        accept("millions", "-1,234,567.8912", -12345678912);
        accept("leading point", ".5", 5000);
        accept("fifth decimal up", "0.00005", 1);
        accept("negative away", "-0.00005", -1);
        accept("largest", "922337203685477.5807", std::numeric_limits<qint64>::max());
        accept("smallest", "-922337203685477.5808", std::numeric_limits<qint64>::min());
        refuse("empty", "");
        refuse("trailing garbage", "12abc");
        refuse("two points", "1.2.3");
        refuse("blank after sign", "- 5");
        refuse("decimal comma", "1,5");
        refuse("short group", "1,23,456");
        refuse("long first group", "1234,567");
        refuse("comma after point", "1.234,5");
        refuse("exponent", "1e5");
        refuse("past largest", "922337203685477.5808");
        refuse("past largest by rounding", "922337203685477.58075");
        refuse("two to the 128th", "340282366920938463463374607431768211456");
    }
    void parse()
    {
        QFETCH(QString, text);
        QFETCH(bool, accepted);
        QFETCH(qint64, expectedMinor);
        const std::optional<Money> parsed = Money::parse(text);
        QCOMPARE(parsed.has_value(), accepted);
        if (parsed)
            QCOMPARE(parsed->minor(), expectedMinor);
    }

    void canonicalText_data()
    {
        QTest::addColumn<Money>("amount");
        QTest::addColumn<QString>("text");
        QTest::newRow("zero") << Money() << u"0"_s;
        QTest::newRow("whole") << Money::fromMinor(12340000) << u"1234"_s;
        QTest::newRow("trailing zeros dropped") << Money::fromMinor(12345000) << u"1234.5"_s;
        QTest::newRow("negative fraction") << Money::fromMinor(-2500) << u"-0.25"_s;
        QTest::newRow("one minor unit") << Money::fromMinor(1) << u"0.0001"_s;
        QTest::newRow("maximum") << Money::maximum() << u"922337203685477.5807"_s;
        QTest::newRow("minimum") << Money::minimum() << u"-922337203685477.5808"_s;
    }
    // The text bound into SQL must read back as the same amount.
    void canonicalText()
    {
        QFETCH(Money, amount);
        QFETCH(QString, text);
        QCOMPARE(amount.toString(), text);
        QCOMPARE(kestrel::numberText(amount), text);
        const QVariant bound = amount.toVariant();
        QCOMPARE(bound.typeId(), QMetaType::QString);
        QCOMPARE(bound.toString(), text);
        QCOMPARE(Money::fromVariant(bound), amount);
        QCOMPARE(Money::parse(text).value(), amount);
    }

    void numberText_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("expected");
        QTest::newRow("half keeps leading zero") << 0.5 << u"0.5"_s;
        QTest::newRow("negative zero") << -0.0 << u"0"_s;
        QTest::newRow("binary noise") << 0.1 + 0.2 << u"0.3"_s;
        QTest::newRow("two thirds") << 2.0 / 3.0 << u"0.666666666666667"_s;
        QTest::newRow("largest plain") << 999999999999999.0 << u"999999999999999"_s;
        QTest::newRow("rounds into exponent") << 999999999999999.9 << u"1E+15"_s;
        QTest::newRow("exponent with fraction") << -1.5e20 << u"-1.5E+20"_s;
        QTest::newRow("smallest plain") << 0.0001 << u"0.0001"_s;
        QTest::newRow("small exponent") << 1.5e-5 << u"1.5E-05"_s;
        QTest::newRow("NaN") << kNaN << u"NaN"_s;
        QTest::newRow("negative infinity") << -kInfinity << u"-Inf"_s;
    }
    void numberText()
    {
        QFETCH(double, value);
        QFETCH(QString, expected);
        QCOMPARE(kestrel::numberText(value), expected);
    }

    // Every row is checked both as a double and as the exact amount.
    void formatNumber_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, const char *value, const char *pattern,
                            const char *expected) {
            QTest::newRow(name) << QString::fromLatin1(value) << QString::fromLatin1(pattern)
                                << QString::fromLatin1(expected);
        };
        row("two digits padded", "5.5", "###00.00", "05.50");
        row("amount grouped", "1234.5", "#,##0.00", "1,234.50");
        row("amount millions", "1234567.891", "#,##0.00", "1,234,567.89");
        row("amount carries", "999.995", "#,##0.00", "1,000.00");
        row("half cent negative away", "-2.005", "0.00", "-2.01");
        row("gross negative", "-1234.5", "###,##0.00", "-1,234.50");
        row("whole half up", "12.5", "0", "13");
        row("plain whole keeps point", "5", "#####.##", "5.");
        row("plain fraction", "0.5", "#####.##", ".5");
        row("plain zero", "0", "#####.##", ".");
        row("plain rounds", "1.006", "#####.##", "1.01");
        row("digits beyond placeholders", "123456", "##0.00", "123456.00");
        row("negative rounds to zero", "-0.001", "0.00", "0.00");
        row("optional decimal dropped", "1.5", "0.0#", "1.5");
    }
    void formatNumber()
    {
        QFETCH(QString, value);
        QFETCH(QString, pattern);
        QFETCH(QString, expected);
        QCOMPARE(kestrel::formatNumber(value.toDouble(), pattern), expected);
        QCOMPARE(kestrel::formatNumber(Money::parse(value).value(), pattern), expected);
    }

    void formatBeyondAmounts()
    {
        using kestrel::formatNumber;
        QCOMPARE(formatNumber(1e20, kestrel::kFormatAmount), u"100,000,000,000,000,000,000.00"_s);
        QCOMPARE(formatNumber(-1e-10, kestrel::kFormatGross), u"0.00"_s);
        QCOMPARE(formatNumber(0.1 + 0.2, u"0.00000000000000000"), u"0.30000000000000000"_s);
        QCOMPARE(formatNumber(0.5, u""), u"0.5"_s);
        // Past 15 significant digits only the amount itself is exact.
        QCOMPARE(formatNumber(Money::maximum(), u"#,##0.0000"), u"922,337,203,685,477.5807"_s);
    }

private:
    static constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
    static constexpr double kInfinity = std::numeric_limits<double>::infinity();

    static Money money(const char *text) { return Money::parse(QString::fromLatin1(text)).value(); }

    static void addAmountColumns()
    {
        QTest::addColumn<Money>("actual");
        QTest::addColumn<Money>("expected");
    }
    static void compareAmounts()
    {
        QFETCH(Money, actual);
        QFETCH(Money, expected);
        QCOMPARE(actual, expected);
    }
};

QTEST_GUILESS_MAIN(TestMoney)
#include "tst_money.moc"
