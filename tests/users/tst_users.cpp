// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's users on the demo hospital, on every backend: re-validation against the stored
// password and its lock-out, the employee search, the rights editor down to the saved rights
// the access check reads, and the user logs.
#include "core/AccessRights.h"
#include "hospitaldb/DemoHospital.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"
#include "users/modEncryption.h"
#include "users/UserLogs.h"
#include "users/UserRights.h"
#include "users/UserValidation.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kSupervisor = u"2901"_s;
const QString kPassword = u"orsupervisor"_s;

Result<RowSet> check(Database &db, const QString &code, const QString &password,
                     const QString &department = u"29"_s)
{
    const QString scrambled =
        Scramble(u"E", hospitaldb::demoScrambleKey(), password.trimmed()).trimmed();
    return db.call(u"Station..sp_Check_User_Department_Access", {code, scrambled, department});
}

int count(Database &db, QStringView sql, const Binds &binds = {})
{
    auto n = db.scalar(sql, binds);
    return n ? n->toInt() : -1;
}

} // namespace

class tst_Users : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void validatesCodePasswordAndDepartment_data();
    void validatesCodePasswordAndDepartment();
    void repeatedFailuresLockTheCodeForAWhile();
    void windowRulesForReasons_data();
    void windowRulesForReasons();
    void searchesTheStationsEmployees();
    void rightsEditorSavesWhatTheCheckReads();
    void userLogTransactionCodes_data();
    void userLogTransactionCodes();
    void userLogPrintsTheNurseLog();
};

void tst_Users::validatesCodePasswordAndDepartment_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("department");
    QTest::addColumn<bool>("valid");
    QTest::newRow("right password") << "2901" << "orsupervisor" << "29" << true;
    QTest::newRow("code with blanks") << " 2901 " << "orsupervisor" << "29" << true;
    QTest::newRow("wrong password") << "2901" << "orsupervisor2" << "29" << false;
    QTest::newRow("password in capitals") << "2901" << "ORSUPERVISOR" << "29" << false;
    QTest::newRow("unknown code") << "9999" << "orsupervisor" << "29" << false;
    QTest::newRow("another department") << "1401" << "wardnurse" << "29" << false;
    QTest::newRow("empty password") << "2901" << "" << "29" << false;
}

void tst_Users::validatesCodePasswordAndDepartment()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, department);
    QFETCH(bool, valid);
    KESTREL_OPEN_DEMO(db);
    auto rows = check(db, code, password, department);
    QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
    QCOMPARE(rows->count(), valid ? 1 : 0);
    if (valid) {
        QCOMPARE(rows->at(0).text(u"LastName"), u"VILLANUEVA"_s);
        QCOMPARE(rows->at(0).text(u"FirstName"), u"TERESITA"_s);
        QCOMPARE(rows->at(0).text(u"MiddleName"), u"MAGBANUA"_s);
    }
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures"), valid ? 0 : 1);
}

void tst_Users::repeatedFailuresLockTheCodeForAWhile()
{
    KESTREL_OPEN_DEMO(db);
    const QDateTime start = test::fixtureNow();
    const int logsBefore = count(db, u"select count(*) from STATION..tbStationLogs");
    const auto tryAt = [&](int seconds, const QString &password) {
        return db.pinClock(start.addSecs(seconds)) ? check(db, kSupervisor, password)->count()
                                                   : -1;
    };

    // Five failures a minute apart: the fifth locks the code.
    for (int i = 0; i < 5; ++i)
        QCOMPARE(tryAt(60 * i, u"guess%1"_s.arg(i)), 0);
    // The right password is turned away while the lock lasts, and each refusal is logged.
    QCOMPARE(tryAt(60 * 5, kPassword), 0);
    QCOMPARE(tryAt(60 * 8, kPassword), 0);
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs"), logsBefore + 2);
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs where IdNum = :code and "
                       u"Remarks = 'RE-VALIDATION REFUSED: TOO MANY FAILED TRIES'",
                   {{u"code"_s, kSupervisor}}),
             2);
    // Another employee is not affected.
    QCOMPARE(check(db, u"2905"_s, u"orclerk"_s)->count(), 1);

    // Five minutes after the last failure the code may try again, and a success forgets the
    // failures.
    QCOMPARE(tryAt(60 * 9 + 1, kPassword), 1);
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures where "
                       u"EmployeeID = :code",
                   {{u"code"_s, kSupervisor}}),
             0);

    // Failures spread wider than ten minutes never lock.
    for (int i = 0; i < 6; ++i)
        QCOMPARE(tryAt(3600 + 180 * i, u"slow%1"_s.arg(i)), 0);
    QCOMPARE(tryAt(3600 + 180 * 6, kPassword), 1);

    // No password, typed or scrambled, is ever written down.
    auto remarks = db.select(u"select Remarks from STATION..tbStationLogs");
    QVERIFY(remarks);
    for (const Row &r : *remarks)
        QVERIFY(!r.text(u"Remarks").contains(kPassword, Qt::CaseInsensitive));
}

void tst_Users::windowRulesForReasons_data()
{
    QTest::addColumn<int>("postOrCancel");
    QTest::addColumn<bool>("reasonRequired");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("remarks");
    QTest::addColumn<UserValidation::Outcome>("outcome");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("message");
    using O = UserValidation::Outcome;
    const QString refused = u"Unauthorized User for this department(OR-Operating Room)"_s;
    QTest::newRow("posting") << 0 << true << "orclerk" << "" << O::Validated << "" << "";
    QTest::newRow("wrong password") << 0 << true << "orclark" << "" << O::Unauthorized << ""
                                    << refused;
    QTest::newRow("cancellation with reason")
        << 1 << true << "orclerk" << "  Wrong item\r\ncharged  " << O::Validated
        << "Wrong item charged" << "";
    QTest::newRow("only blanks and line breaks") << 1 << true << "orclerk" << " \r\n \r\n"
                                                 << O::NeedsReason << ""
                                                 << "Please enter reason of cancellation.";
    QTest::newRow("reason not required") << 1 << false << "orclerk" << "" << O::Validated << ""
                                         << "";
    QTest::newRow("refusal before reason") << 1 << true << "nope" << "" << O::Unauthorized << ""
                                           << refused;
}

void tst_Users::windowRulesForReasons()
{
    QFETCH(int, postOrCancel);
    QFETCH(bool, reasonRequired);
    QFETCH(QString, password);
    QFETCH(QString, remarks);
    QFETCH(UserValidation::Outcome, outcome);
    QFETCH(QString, reason);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    Session &session = f.session;
    session.hospital.IsAllowEntryOfReasonForCancellation = reasonRequired;
    session.validated = ValidatedUser{u"2901"_s, u"OLD"_s, u"old"_s};

    UserValidation window(session, hospitaldb::demoScrambleKey());
    window.open(postOrCancel);
    QVERIFY(!session.validated.isValid());
    QCOMPARE(window.showsReason(), postOrCancel == 1);

    QCOMPARE(window.validate(u" 2905 "_s, password, remarks), outcome);
    QCOMPARE(f.notifier.lastText(), message);
    const bool signedIn = outcome != UserValidation::Outcome::Unauthorized;
    QCOMPARE(session.validated.code, signedIn ? u"2905"_s : QString());
    QCOMPARE(session.validated.name, signedIn ? u"ESGUERRA, MARICEL TAN"_s : QString());
    QCOMPARE(session.validated.reason, reason);
}

void tst_Users::searchesTheStationsEmployees()
{
    KESTREL_OPEN_DEMO(db);
    const auto search = [&](const char *text) {
        auto rows =
            db.call(u"STATION..spNurse_SearchNurseUsers", {u"OR"_s, QString::fromUtf8(text)});
        QStringList found;
        for (const Row &r : rows.value_or(RowSet()))
            found << r.text(u"EmployeeCode") + u'|' + r.text(u"EmployeeName") + u'|' +
                         r.text(u"Position");
        return rows ? found : QStringList{rows.error().message};
    };
    QCOMPARE(search("vill"), QStringList{u"2901|VILLANUEVA, TERESITA MAGBANUA|OR SUPERVISOR"_s});
    // Codes of the OR's staff; the ward nurse of another station is not listed, and
    // wildcards are matched as typed.
    QCOMPARE(search("29").size(), 9);
    for (const char *nobody : {"1401", "%", "2_01"})
        QVERIFY2(search(nobody).isEmpty(), nobody);
}

void tst_Users::rightsEditorSavesWhatTheCheckReads()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, kSupervisor);
    UserRights editor(f.session);
    QVERIFY(editor.load());
    QVERIFY(!editor.canEdit());
    QCOMPARE(editor.items().size(),
             count(db, u"select count(*) from STATION..tbNurseUserSettings where Status = 'A'"));
    // The list shows the description; the code sits at the far end of the item.
    for (const UserRights::Item &item : editor.items()) {
        QVERIFY(!item.description().isEmpty() && !item.description().endsWith(u' '));
        QVERIFY(item.code().size() <= 2 && !item.code().isEmpty());
    }

    // Someone's rights as stored are ticked.
    const QList<EmployeeRow> found = editor.search(u"esguerra"_s);
    QCOMPARE(found.size(), 1);
    QVERIFY(editor.choose(found.first()));
    QVERIFY(editor.canEdit());
    QCOMPARE(editor.employeeCode(), u"2905"_s);
    auto rights = db.scalar(u"select EmployeeRights from STATION..tbNurseUserRights where "
                            u"EmployeeID = '2905'");
    QVERIFY(rights);
    for (const UserRights::Item &item : editor.items())
        QCOMPARE(item.ticked, RightsGrant(rights->toString(), item.code()));

    // 2908 has no rights row: nothing is ticked, and the first save adds the row.
    QVERIFY(editor.choose(editor.search(u"2908"_s).value(0)));
    const auto saved = [&](const QStringList &codes, bool all) -> QString {
        editor.selectAll(all);
        for (int i = 0; !all && i < editor.items().size(); ++i)
            editor.setTicked(i, codes.contains(editor.items().at(i).code()));
        const QString text = editor.rightsText();
        f.notifier.clear();
        if (!editor.save() || f.notifier.lastText() != u"User rights successfully updated.")
            return u"not saved: "_s + f.notifier.lastText();
        auto row = db.selectOne(u"select EmployeeRights, UserID from "
                                u"STATION..tbNurseUserRights where EmployeeID = '2908'");
        if (!row || !*row || (*row)->text(u"UserID") != kSupervisor)
            return u"no row of 2908 saved by 2901"_s;
        return (*row)->text(u"EmployeeRights") == text ? text : u"saved differently"_s;
    };
    for (const UserRights::Item &item : editor.items())
        QVERIFY(!item.ticked);
    QCOMPARE(saved({u"9"_s, u"13"_s}, false), u"|9|13"_s);
    for (const UserRights::Item &item : editor.items())
        QCOMPARE(HasAccessRight(f.session, item.code(), u"2908"), item.ticked);
    QVERIFY(!HasAccessRight(f.session, u"3", u"2908"));
    // Nothing ticked saves an empty text, which grants nothing, on the same row.
    QCOMPARE(saved({}, false), QString());
    QVERIFY(!HasAccessRight(f.session, u"9", u"2908"));
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseUserRights where "
                       u"EmployeeID = '2908'"),
             1);
    QString everything;
    for (const UserRights::Item &item : editor.items())
        everything += u'|' + item.code();
    QCOMPARE(saved({}, true), everything);
    QVERIFY(HasAccessRight(f.session, u"3", u"2908"));
}

void tst_Users::userLogTransactionCodes_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("code");
    QTest::newRow("as listed") << "Build File OR Room" << "I";
    QTest::newRow("upper case") << "OR SCHEDULE OPERATION" << "K";
    QTest::newRow("mixed case") << "change height and WEIGHT" << "C";
    QTest::newRow("not a transaction") << "Charge Posting" << "";
    QTest::newRow("nothing chosen") << "" << "";
}

void tst_Users::userLogTransactionCodes()
{
    QFETCH(QString, entry);
    QFETCH(QString, code);
    QCOMPARE(UserLogs::transactionCode(entry), code);
}

void tst_Users::userLogPrintsTheNurseLog()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, kSupervisor);
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR),
                          ReportHeadings{u"TEST HOSPITAL"_s, QString()}, display, f.notifier);
    UserLogs logs(f.session, reports);
    logs.setMode(UserLogs::SearchMode::ByUser);
    QVERIFY2(logs.printByUser(kSupervisor, QDate(2026, 11, 1), QDate(2026, 12, 1)),
             qPrintable(f.notifier.lastText()));
    QCOMPARE(display.shown().size(), 1);
    QCOMPARE(display.shown().last().options.title, u"Nurse Log"_s);
    QVERIFY(display.last()->pageCount() >= 1);
}

QTEST_MAIN(tst_Users)
#include "tst_users.moc"
