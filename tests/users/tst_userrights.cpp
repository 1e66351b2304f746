// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/RenderedReport.h"
#include "reports/ReportService.h"
#include "shell/AccessRights.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"
#include "users/UserLogs.h"
#include "users/UserRights.h"

#include <QTest>

using namespace kestrel;

class tst_UserRights : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void ticksTheRightsAnEmployeeHas();
    void savesTicksAsTheCheckReadsThem_data();
    void savesTicksAsTheCheckReadsThem();
    void userLogTransactionCodes_data();
    void userLogTransactionCodes();
    void userLogPrintsTheNurseLog();
};

void tst_UserRights::ticksTheRightsAnEmployeeHas()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    UserRights editor(f.session);
    QVERIFY(editor.load());
    QVERIFY(!editor.canEdit());
    auto active =
        db.scalar(u"select count(*) from STATION..tbNurseUserSettings where Status = 'A'");
    QVERIFY(active);
    QCOMPARE(editor.items().size(), active->toInt());
    // The list shows the description; the code sits at the far end of the item.
    for (const UserRights::Item &item : editor.items()) {
        QVERIFY(!item.description().isEmpty());
        QVERIFY(!item.description().endsWith(u' '));
        QVERIFY(item.code().size() <= 2 && !item.code().isEmpty());
    }

    const QList<EmployeeRow> found = editor.search(QStringLiteral("esguerra"));
    QCOMPARE(found.size(), 1);
    QVERIFY(editor.choose(found.first()));
    QVERIFY(editor.canEdit());
    QCOMPARE(editor.employeeCode(), QStringLiteral("2905"));
    auto rights = db.scalar(u"select EmployeeRights from STATION..tbNurseUserRights where "
                            u"EmployeeID = '2905'");
    QVERIFY(rights);
    for (const UserRights::Item &item : editor.items())
        QCOMPARE(item.ticked, RightsGrant(rights->toString(), item.code()));

    // Someone without a rights row ticks nothing.
    QVERIFY(editor.choose(editor.search(QStringLiteral("2908")).value(0)));
    for (const UserRights::Item &item : editor.items())
        QVERIFY(!item.ticked);
}

void tst_UserRights::savesTicksAsTheCheckReadsThem_data()
{
    QTest::addColumn<QStringList>("codes");
    QTest::addColumn<QString>("expected");
    QTest::newRow("nine and thirteen") << QStringList{"9", "13"} << "|9|13";
    QTest::newRow("nothing ticked") << QStringList{} << "";
    QTest::newRow("select all") << QStringList{"*"} << "*";
}

void tst_UserRights::savesTicksAsTheCheckReadsThem()
{
    QFETCH(QStringList, codes);
    QFETCH(QString, expected);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    UserRights editor(f.session);
    QVERIFY(editor.load());
    QVERIFY(editor.choose(editor.search(QStringLiteral("2908")).value(0)));
    if (codes == QStringList{"*"}) {
        editor.selectAll(true);
        expected.clear();
        for (const UserRights::Item &item : editor.items())
            expected += u'|' + item.code();
    } else {
        for (int i = 0; i < editor.items().size(); ++i)
            editor.setTicked(i, codes.contains(editor.items().at(i).code()));
    }
    QCOMPARE(editor.rightsText(), expected);
    QVERIFY(editor.save());
    QCOMPARE(f.notifier.lastText(), QStringLiteral("User rights successfully updated."));

    auto saved = db.selectOne(u"select EmployeeRights, UserID from STATION..tbNurseUserRights "
                              u"where EmployeeID = '2908'");
    QVERIFY(saved && *saved);
    QCOMPARE((*saved)->text(u"EmployeeRights"), expected);
    QCOMPARE((*saved)->text(u"UserID"), QStringLiteral("2901"));
    for (const UserRights::Item &item : editor.items())
        QCOMPARE(HasAccessRight(f.session, item.code(), u"2908"), item.ticked);
    QCOMPARE(HasAccessRight(f.session, u"3", u"2908"), codes == QStringList{"*"});
}

void tst_UserRights::userLogTransactionCodes_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    QTest::newRow("as listed") << "Build File OR Room"
                               << "I";
    QTest::newRow("upper case") << "OR SCHEDULE OPERATION"
                                << "K";
    QTest::newRow("mixed case") << "change height and WEIGHT"
                                << "C";
    QTest::newRow("not a transaction") << "Charge Posting"
                                       << "";
    QTest::newRow("nothing chosen") << ""
                                    << "";
}

void tst_UserRights::userLogTransactionCodes()
{
    QFETCH(QString, entry);
    QFETCH(QString, code);
    QCOMPARE(UserLogs::transactionCode(entry), code);
    QCOMPARE(UserLogs::transactionEntries().size(), 9);
}

void tst_UserRights::userLogPrintsTheNurseLog()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2901"));
    f.session.hospital.Company = QStringLiteral("TEST HOSPITAL");
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR),
                          ReportHeadings{f.session.hospital.Company, QString()}, display,
                          f.notifier);
    UserLogs logs(f.session, reports);
    const QDate from(2026, 11, 1), to(2026, 12, 1);

    QVERIFY(!logs.printByTransaction(QString(), from, to));
    QCOMPARE(f.notifier.lastText(), QStringLiteral("Please select transaction type."));
    logs.setMode(UserLogs::SearchMode::ByUser);
    QVERIFY(!logs.printByUser(QStringLiteral("  "), from, to));
    QCOMPARE(f.notifier.lastText(), QStringLiteral("Please select employee."));
    QVERIFY(display.shown().isEmpty());

    QVERIFY2(logs.printByUser(QStringLiteral("2901"), from, to), qPrintable(f.notifier.lastText()));
    QCOMPARE(display.shown().size(), 1);
    QCOMPARE(display.shown().last().options.title, QStringLiteral("Nurse Log"));
    QVERIFY(display.last()->pageCount() >= 1);
}

QTEST_MAIN(tst_UserRights)
#include "tst_userrights.moc"
