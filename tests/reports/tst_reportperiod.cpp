// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report prompts without their windows: the period and its range, the single date in its
// modes, the OR logbook's month with its starting number.
#include "reports/ReportPeriod.h"
#include "support/RecordingNotifier.h"

#include <QSignalSpy>
#include <QTest>
#include <QValidator>

using namespace kestrel;
using kestrel::test::RecordingNotifier;

static const QDate kServerDate(2026, 12, 1);

class tst_ReportPeriod : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void periodConfirm_data();
    void periodConfirm();
    void periodDateRange_data();
    void periodDateRange();
    void singleDate_data();
    void singleDate();
    void month_data();
    void month();
    void startingNumber_data();
    void startingNumber();
};

void tst_ReportPeriod::periodConfirm_data()
{
    QTest::addColumn<QDate>("from");
    QTest::addColumn<QDate>("to");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("answer"); // "from|to"; "" when nothing is stored
    QTest::addColumn<QString>("box");    // "" when the window closes without a word
    const auto row = [](const char *name, QDate from, QDate to, int button, const char *answer,
                        const char *box) {
        QTest::newRow(name) << from << to << button << QString(answer) << QString(box);
    };
    row("one day", kServerDate, kServerDate, 0, "12/01/2026|12/01/2026", "");
    row("from a day after to is refused", kServerDate, {2026, 11, 30}, 0, "", "Invalid dates.");
    row("any other button cancels", {2026, 11, 1}, {2026, 11, 30}, 2, "", "");
    row("cancel with bad dates says nothing", {2026, 11, 30}, {2026, 11, 1}, 1, "", "");
}

void tst_ReportPeriod::periodConfirm()
{
    QFETCH(QDate, from);
    QFETCH(QDate, to);
    QFETCH(int, button);
    QFETCH(QString, answer);
    QFETCH(QString, box);
    RecordingNotifier notifier;
    ReportPeriodPrompt prompt(notifier, QStringLiteral("Enter report date"), kServerDate);
    // Both dates start at the server's date, not the workstation's.
    QVERIFY(prompt.from() == kServerDate && prompt.to() == kServerDate);
    QVERIFY(!prompt.AllowFutureDate());
    prompt.setFrom(from);
    prompt.setTo(to);
    QSignalSpy closed(&prompt, &ReportPeriodPrompt::closeRequested);
    prompt.cmdOK(button);
    QCOMPARE(closed.count(), box.isEmpty() ? 1 : 0);
    QCOMPARE(prompt.answer().has_value(), !answer.isEmpty());
    if (prompt.answer()) {
        QCOMPARE(prompt.answer()->from + u'|' + prompt.answer()->to, answer);
        QVERIFY(prompt.answer()->startingNumber.isEmpty());
    }
    if (box.isEmpty()) {
        QVERIFY(notifier.boxes().isEmpty());
        return;
    }
    QCOMPARE(notifier.boxes().size(), 1);
    QCOMPARE(notifier.boxes().first().text, box);
    QCOMPARE(notifier.boxes().first().icon, Notifier::Icon::Information);
    // The window stays with the dates as the user left them.
    QVERIFY(prompt.from() == from && prompt.to() == to);
}

void tst_ReportPeriod::periodDateRange_data()
{
    QTest::addColumn<bool>("allowFuture");
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<QDate>("kept");
    QTest::addColumn<QDate>("latest");
    const QDate farthest(9999, 12, 31);
    const QDate tomorrow = kServerDate.addDays(1);
    QTest::newRow("server date") << false << kServerDate << kServerDate << kServerDate;
    QTest::newRow("tomorrow not pickable") << false << tomorrow << kServerDate << kServerDate;
    QTest::newRow("future allowed: tomorrow") << true << tomorrow << tomorrow << farthest;
    QTest::newRow("future allowed: the last day") << true << farthest << farthest << farthest;
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
    QVERIFY(prompt.from() == kept && prompt.to() == kept);
    prompt.cmdOK(0);
    QVERIFY(prompt.answer());
    QCOMPARE(prompt.answer()->to, kept.toString(u"MM/dd/yyyy"));
    // Future dates no longer allowed, a picked one is pulled back to the server's date.
    QSignalSpy changed(&prompt, &ReportPeriodPrompt::changed);
    prompt.setAllowFutureDate(false);
    QCOMPARE(prompt.to(), std::min(kept, kServerDate));
    QCOMPARE(changed.count(), allowFuture ? 1 : 0);
}

void tst_ReportPeriod::singleDate_data()
{
    QTest::addColumn<int>("mode");
    QTest::addColumn<QDate>("picked");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("stored"); // "" when cancelled
    const auto row = [](const char *name, int mode, QDate picked, int button, const char *format,
                        const char *stored) {
        QTest::newRow(name) << mode << picked << button << QString(format) << QString(stored);
    };
    const QDate picked(2026, 3, 9);
    row("day", 0, picked, 0, "MM/dd/yyyy", "03/09/2026");
    row("month", 1, picked, 0, "MM/yyyy", "03/2026");
    row("year", 2, picked, 0, "yyyy", "2026");
    row("unknown mode is a day", 3, picked, 0, "MM/dd/yyyy", "03/09/2026");
    row("server date kept when nothing picked", 0, QDate(), 0, "MM/dd/yyyy", "12/01/2026");
    row("cancelled", 1, picked, 1, "MM/yyyy", "");
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
    const ReportPeriod answer = prompt.answer().value_or(ReportPeriod());
    QCOMPARE(answer.from + u'|' + answer.to,
             stored.isEmpty() ? QStringLiteral("|") : stored + u'|' + stored);
}

void tst_ReportPeriod::month_data()
{
    QTest::addColumn<QDate>("picked"); // invalid: left at the server's month
    QTest::addColumn<QString>("period");
    QTest::newRow("the server's month") << QDate() << "12/01/2026|12/31/2026";
    QTest::newRow("February") << QDate(2026, 2, 17) << "02/01/2026|02/28/2026";
    QTest::newRow("February of a leap year") << QDate(2024, 2, 29) << "02/01/2024|02/29/2024";
    QTest::newRow("February of a century year") << QDate(2100, 2, 1) << "02/01/2100|02/28/2100";
}

void tst_ReportPeriod::month()
{
    QFETCH(QDate, picked);
    QFETCH(QString, period);
    RecordingNotifier notifier;
    ReportMonthPrompt prompt(notifier, kServerDate);
    QCOMPARE(prompt.month(), kServerDate);
    QCOMPARE(prompt.txtCase(), QStringLiteral("1"));
    if (picked.isValid())
        prompt.setMonth(picked);
    prompt.cmdOK(0);
    QVERIFY(prompt.answer());
    QCOMPARE(prompt.answer()->from + u'|' + prompt.answer()->to, period);
    QCOMPARE(prompt.answer()->startingNumber, QStringLiteral("1"));
    QVERIFY(notifier.boxes().isEmpty());
}

void tst_ReportPeriod::startingNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("typeable"); // digits only
    QTest::addColumn<bool>("accepted"); // above 0
    QTest::newRow("leading zeros kept") << "007" << true << true;
    QTest::newRow("more digits than a number holds") << "123456789012345" << true << true;
    QTest::newRow("zeros") << "000" << true << false;
    QTest::newRow("empty") << "" << true << false;
    QTest::newRow("a letter") << "12a" << false << false;
    QTest::newRow("a sign") << "-1" << false << false;
}

void tst_ReportPeriod::startingNumber()
{
    QFETCH(QString, typed);
    QFETCH(bool, typeable);
    QFETCH(bool, accepted);
    RecordingNotifier notifier;
    ReportMonthPrompt prompt(notifier, kServerDate);
    int position = int(typed.size());
    QString text = typed;
    QCOMPARE(prompt.caseValidator()->validate(text, position) == QValidator::Acceptable, typeable);
    if (!typeable)
        return;
    prompt.setCase(typed);
    QSignalSpy closed(&prompt, &ReportMonthPrompt::closeRequested);
    QSignalSpy refused(&prompt, &ReportMonthPrompt::caseRefused);
    prompt.cmdOK(0);
    QCOMPARE(closed.count(), accepted ? 1 : 0);
    QCOMPARE(refused.count(), accepted ? 0 : 1);
    QCOMPARE(prompt.answer().value_or(ReportPeriod()).startingNumber, accepted ? typed : QString());
    QCOMPARE(notifier.boxes().size(), accepted ? 0 : 1);
    if (accepted)
        return;
    QCOMPARE(notifier.boxes().first().text, QStringLiteral("Starting no. should be > 0"));
    QCOMPARE(notifier.boxes().first().icon, Notifier::Icon::Critical);
}

QTEST_GUILESS_MAIN(tst_ReportPeriod)
#include "tst_reportperiod.moc"
