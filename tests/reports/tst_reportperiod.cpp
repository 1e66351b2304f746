// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The three report prompts without their windows: the period with its date range and the
// "Invalid dates." refusal, the single date in its three modes, and the OR logbook's month
// with its starting number.
#include "reports/ReportPeriod.h"
#include "support/RecordingNotifier.h"

#include <QSignalSpy>
#include <QTest>
#include <QValidator>

using namespace kestrel;
using kestrel::test::RecordingNotifier;

namespace {

const QDate kServerDate(2026, 12, 1);

} // namespace

class tst_ReportPeriod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void periodStartsAtTheServerDate();
    void periodConfirm_data();
    void periodConfirm();
    void periodDateRange_data();
    void periodDateRange();
    void periodFutureDatesPulledBackWhenNoLongerAllowed();

    void singleDate_data();
    void singleDate();

    void month_data();
    void month();
    void startingNumber_data();
    void startingNumber();
    void startingNumberAcceptsDigitsOnly_data();
    void startingNumberAcceptsDigitsOnly();

    void periodClearedUntilConfirmed();
};

// --- frmReport --------------------------------------------------------------------------------

void tst_ReportPeriod::periodStartsAtTheServerDate()
{
    RecordingNotifier notifier;
    ReportPeriodPrompt prompt(notifier, QStringLiteral("Enter Report Date for Audit Report"),
                              kServerDate);
    QCOMPARE(prompt.from(), kServerDate);
    QCOMPARE(prompt.to(), kServerDate);
    QCOMPARE(prompt.caption(), QStringLiteral("Enter Report Date for Audit Report"));
    QVERIFY(!prompt.AllowFutureDate());
    QVERIFY(!prompt.answer());
}

void tst_ReportPeriod::periodConfirm_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("button");
    QTest::addColumn<bool>("closes");
    QTest::addColumn<QString>("answerFrom"); // "" when nothing is stored
    QTest::addColumn<QString>("answerTo");
    QTest::addColumn<QString>("box");

    QTest::newRow("one day") << kServerDate << kServerDate << 0 << true
                             << QStringLiteral("12/01/2026") << QStringLiteral("12/01/2026")
                             << QString();
    QTest::newRow("a month back") << QDate(2026, 11, 1) << QDate(2026, 11, 30) << 0 << true
                                  << QStringLiteral("11/01/2026") << QStringLiteral("11/30/2026")
                                  << QString();
    QTest::newRow("across a year")
        << QDate(2025, 12, 15) << QDate(2026, 1, 5) << 0 << true << QStringLiteral("12/15/2025")
        << QStringLiteral("01/05/2026") << QString();
    QTest::newRow("from after to is refused")
        << QDate(2026, 11, 30) << QDate(2026, 11, 1) << 0 << false << QString() << QString()
        << QStringLiteral("Invalid dates.");
    QTest::newRow("from a day after to is refused")
        << kServerDate << QDate(2026, 11, 30) << 0 << false << QString() << QString()
        << QStringLiteral("Invalid dates.");
    QTest::newRow("cancel") << QDate(2026, 11, 1) << QDate(2026, 11, 30) << 1 << true << QString()
                            << QString() << QString();
    QTest::newRow("any other button cancels") << QDate(2026, 11, 1) << QDate(2026, 11, 30) << 2
                                              << true << QString() << QString() << QString();
    QTest::newRow("cancel with bad dates says nothing")
        << QDate(2026, 11, 30) << QDate(2026, 11, 1) << 1 << true << QString() << QString()
        << QString();
}

void tst_ReportPeriod::periodConfirm()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, button);
    QFETCH(bool, closes);
    QFETCH(QString, answerFrom);
    QFETCH(QString, answerTo);
    QFETCH(QString, box);

    RecordingNotifier notifier;
    ReportPeriodPrompt prompt(notifier, QStringLiteral("Enter report date"), kServerDate);
    prompt.setFrom(from);
    prompt.setTo(to);
    QSignalSpy closed(&prompt, &ReportPeriodPrompt::closeRequested);
    prompt.cmdOK(button);

    QCOMPARE(closed.count(), closes ? 1 : 0);
    QCOMPARE(prompt.answer().has_value(), !answerFrom.isEmpty());
    if (prompt.answer()) {
        QCOMPARE(prompt.answer()->from, answerFrom);
        QCOMPARE(prompt.answer()->to, answerTo);
        QVERIFY(prompt.answer()->startingNumber.isEmpty());
    }
    if (box.isEmpty()) {
        QVERIFY(notifier.boxes().isEmpty());
    } else {
        QCOMPARE(notifier.boxes().size(), 1);
        QCOMPARE(notifier.boxes().first().text, box);
        QCOMPARE(notifier.boxes().first().title, QStringLiteral("Notification"));
        QCOMPARE(notifier.boxes().first().icon, Notifier::Icon::Information);
        // The window stays with the dates as the user left them.
        QCOMPARE(prompt.from(), from);
        QCOMPARE(prompt.to(), to);
    }
}

void tst_ReportPeriod::periodDateRange_data()
{
    QTest::addColumn<bool>("allowFuture");
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<QDate>("kept");
    QTest::addColumn<QDate>("latest");

    const QDate farthest(9999, 12, 31);
    QTest::newRow("past allowed") << false << QDate(2026, 1, 15) << QDate(2026, 1, 15)
                                  << kServerDate;
    QTest::newRow("server date allowed") << false << kServerDate << kServerDate << kServerDate;
    QTest::newRow("tomorrow not pickable")
        << false << kServerDate.addDays(1) << kServerDate << kServerDate;
    QTest::newRow("next year not pickable")
        << false << QDate(2027, 6, 1) << kServerDate << kServerDate;
    QTest::newRow("future allowed: tomorrow")
        << true << kServerDate.addDays(1) << kServerDate.addDays(1) << farthest;
    QTest::newRow("future allowed: last pickable day") << true << farthest << farthest << farthest;
}

void tst_ReportPeriod::periodDateRange()
{
    QFETCH(bool, allowFuture);
    QFETCH(QDate, picked);
    QFETCH(QDate, kept);
    QFETCH(QDate, latest);

    RecordingNotifier notifier;
    ReportPeriodPrompt prompt(notifier, QStringLiteral("Enter Report Date "), kServerDate);
    prompt.setAllowFutureDate(allowFuture);
    QCOMPARE(prompt.maximumDate(), latest);
    prompt.setFrom(picked);
    prompt.setTo(picked);
    QCOMPARE(prompt.from(), kept);
    QCOMPARE(prompt.to(), kept);
    prompt.cmdOK(0);
    QVERIFY(prompt.answer());
    QCOMPARE(prompt.answer()->to, kept.toString(u"MM/dd/yyyy"));
}

void tst_ReportPeriod::periodFutureDatesPulledBackWhenNoLongerAllowed()
{
    RecordingNotifier notifier;
    ReportPeriodPrompt prompt(notifier, QString(), kServerDate);
    prompt.setAllowFutureDate(true);
    prompt.setTo(QDate(2027, 1, 10));
    QCOMPARE(prompt.to(), QDate(2027, 1, 10));
    QSignalSpy changed(&prompt, &ReportPeriodPrompt::changed);
    prompt.setAllowFutureDate(false);
    QCOMPARE(prompt.to(), kServerDate);
    QCOMPARE(changed.count(), 1);
}

// --- frmReportDate ----------------------------------------------------------------------------

void tst_ReportPeriod::singleDate_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("stored"); // "" when cancelled

    const QDate picked(2026, 3, 9);
    QTest::newRow("day") << 0 << picked << 0 << QStringLiteral("MM/dd/yyyy")
                         << QStringLiteral("03/09/2026");
    QTest::newRow("month") << 1 << picked << 0 << QStringLiteral("MM/yyyy")
                           << QStringLiteral("03/2026");
    QTest::newRow("year") << 2 << picked << 0 << QStringLiteral("yyyy") << QStringLiteral("2026");
    QTest::newRow("unknown mode is a day")
        << 3 << picked << 0 << QStringLiteral("MM/dd/yyyy") << QStringLiteral("03/09/2026");
    QTest::newRow("negative mode is a day")
        << -1 << picked << 0 << QStringLiteral("MM/dd/yyyy") << QStringLiteral("03/09/2026");
    QTest::newRow("server date kept when nothing picked")
        << 0 << QDate() << 0 << QStringLiteral("MM/dd/yyyy") << QStringLiteral("12/01/2026");
    QTest::newRow("cancelled") << 1 << picked << 1 << QStringLiteral("MM/yyyy") << QString();
}

void tst_ReportPeriod::singleDate()
{
    QFETCH(int, mode);
    QFETCH(QDate, picked);
    QFETCH(int, button);
    QFETCH(QString, format);
    QFETCH(QString, stored);

    ReportDatePrompt prompt(kServerDate);
    QCOMPARE(prompt.date(), kServerDate);
    prompt.SetMode(mode);
    QCOMPARE(prompt.displayFormat(), format);
    prompt.setDate(picked);
    QSignalSpy closed(&prompt, &ReportDatePrompt::closeRequested);
    prompt.cmdOK(button);

    QCOMPARE(closed.count(), 1);
    QCOMPARE(prompt.answer().has_value(), !stored.isEmpty());
    if (prompt.answer()) {
        QCOMPARE(prompt.answer()->from, stored);
        QCOMPARE(prompt.answer()->to, stored);
    }
}

// --- frmReportMonth ---------------------------------------------------------------------------

void tst_ReportPeriod::month_data()
{
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");

    QTest::newRow("the server's month")
        << kServerDate << QStringLiteral("12/01/2026") << QStringLiteral("12/31/2026");
    QTest::newRow("any day of the month")
        << QDate(2026, 4, 17) << QStringLiteral("04/01/2026") << QStringLiteral("04/30/2026");
    QTest::newRow("February") << QDate(2026, 2, 10) << QStringLiteral("02/01/2026")
                              << QStringLiteral("02/28/2026");
    QTest::newRow("February of a leap year")
        << QDate(2024, 2, 29) << QStringLiteral("02/01/2024") << QStringLiteral("02/29/2024");
    QTest::newRow("February of a century year")
        << QDate(2100, 2, 1) << QStringLiteral("02/01/2100") << QStringLiteral("02/28/2100");
    QTest::newRow("January") << QDate(2027, 1, 31) << QStringLiteral("01/01/2027")
                             << QStringLiteral("01/31/2027");
}

void tst_ReportPeriod::month()
{
    QFETCH(QDate, picked);
    QFETCH(QString, from);
    QFETCH(QString, to);

    RecordingNotifier notifier;
    ReportMonthPrompt prompt(notifier, kServerDate);
    QCOMPARE(prompt.month(), kServerDate);
    QCOMPARE(prompt.txtCase(), QStringLiteral("1"));
    prompt.setMonth(picked);
    prompt.cmdOK(0);
    QVERIFY(prompt.answer());
    QCOMPARE(prompt.answer()->from, from);
    QCOMPARE(prompt.answer()->to, to);
    QCOMPARE(prompt.answer()->startingNumber, QStringLiteral("1"));
    QVERIFY(notifier.boxes().isEmpty());
}

void tst_ReportPeriod::startingNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("1") << QStringLiteral("1") << true;
    QTest::newRow("a later case") << QStringLiteral("245") << true;
    QTest::newRow("leading zeros kept") << QStringLiteral("007") << true;
    QTest::newRow("more digits than a number holds") << QStringLiteral("123456789012345") << true;
    QTest::newRow("0") << QStringLiteral("0") << false;
    QTest::newRow("zeros") << QStringLiteral("000") << false;
    QTest::newRow("empty") << QString() << false;
}

void tst_ReportPeriod::startingNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, accepted);

    RecordingNotifier notifier;
    ReportMonthPrompt prompt(notifier, kServerDate);
    prompt.setCase(typed);
    QSignalSpy closed(&prompt, &ReportMonthPrompt::closeRequested);
    QSignalSpy refused(&prompt, &ReportMonthPrompt::caseRefused);
    prompt.cmdOK(0);

    QCOMPARE(closed.count(), accepted ? 1 : 0);
    QCOMPARE(refused.count(), accepted ? 0 : 1);
    QCOMPARE(prompt.answer().has_value(), accepted);
    if (accepted) {
        QCOMPARE(prompt.answer()->startingNumber, typed);
        QVERIFY(notifier.boxes().isEmpty());
    } else {
        QCOMPARE(notifier.boxes().size(), 1);
        QCOMPARE(notifier.boxes().first().text, QStringLiteral("Starting no. should be > 0"));
        QCOMPARE(notifier.boxes().first().title, QStringLiteral("Notification"));
        QCOMPARE(notifier.boxes().first().icon, Notifier::Icon::Critical);
        // Corrected, the same window confirms.
        prompt.setCase(QStringLiteral("3"));
        prompt.cmdOK(0);
        QVERIFY(prompt.answer());
        QCOMPARE(prompt.answer()->startingNumber, QStringLiteral("3"));
    }
}

void tst_ReportPeriod::startingNumberAcceptsDigitsOnly_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("allowed");

    QTest::newRow("digits") << QStringLiteral("120") << true;
    QTest::newRow("nothing") << QString() << true;
    QTest::newRow("a letter") << QStringLiteral("12a") << false;
    QTest::newRow("a sign") << QStringLiteral("-1") << false;
    QTest::newRow("a point") << QStringLiteral("1.5") << false;
    QTest::newRow("a blank") << QStringLiteral("1 2") << false;
}

void tst_ReportPeriod::startingNumberAcceptsDigitsOnly()
{
    QFETCH(QString, typed);
    QFETCH(bool, allowed);

    RecordingNotifier notifier;
    ReportMonthPrompt prompt(notifier, kServerDate);
    int position = int(typed.size());
    QString text = typed;
    QCOMPARE(prompt.caseValidator()->validate(text, position) == QValidator::Acceptable, allowed);
}

// --- The period itself ------------------------------------------------------------------------

void tst_ReportPeriod::periodClearedUntilConfirmed()
{
    ReportPeriod period{QStringLiteral("11/01/2026"), QStringLiteral("11/30/2026"),
                        QStringLiteral("4")};
    QVERIFY(!period.isCancelled());
    period.clear();
    QVERIFY(period.isCancelled());
    QVERIFY(period.to.isEmpty());
    QVERIFY(period.startingNumber.isEmpty());
}

QTEST_GUILESS_MAIN(tst_ReportPeriod)
#include "tst_reportperiod.moc"
