// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"
#include "shell/AccessRights.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"
#include "users/modEncryption.h"
#include "users/UserValidation.h"

#include <QTest>

using namespace kestrel;

namespace {

const QString kSupervisor = QStringLiteral("2901");
const QString kPassword = QStringLiteral("orsupervisor");

Result<RowSet> check(Database &db, const QString &code, const QString &password,
                     const QString &department = QStringLiteral("29"))
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

class tst_UserValidation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void validatesCodePasswordAndDepartment_data();
    void validatesCodePasswordAndDepartment();
    void repeatedFailuresLockTheCodeForAWhile();
    void searchesTheStationsEmployees();
    void savesRightsTheCheckReadsBack();
    void windowRulesForReasons_data();
    void windowRulesForReasons();
};

void tst_UserValidation::validatesCodePasswordAndDepartment_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("department");
    QTest::addColumn<bool>("valid");
    QTest::newRow("right password") << "2901"
                                    << "orsupervisor"
                                    << "29" << true;
    QTest::newRow("code with blanks") << " 2901 "
                                      << "orsupervisor"
                                      << "29" << true;
    QTest::newRow("wrong password") << "2901"
                                    << "orsupervisor2"
                                    << "29" << false;
    QTest::newRow("password in capitals") << "2901"
                                          << "ORSUPERVISOR"
                                          << "29" << false;
    QTest::newRow("unknown code") << "9999"
                                  << "orsupervisor"
                                  << "29" << false;
    QTest::newRow("another department") << "1401"
                                        << "wardnurse"
                                        << "29" << false;
    QTest::newRow("empty password") << "2901"
                                    << ""
                                    << "29" << false;
}

void tst_UserValidation::validatesCodePasswordAndDepartment()
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
        QCOMPARE(rows->at(0).text(u"LastName"), QStringLiteral("VILLANUEVA"));
        QCOMPARE(rows->at(0).text(u"FirstName"), QStringLiteral("TERESITA"));
        QCOMPARE(rows->at(0).text(u"MiddleName"), QStringLiteral("MAGBANUA"));
    }
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures"), valid ? 0 : 1);
}

void tst_UserValidation::repeatedFailuresLockTheCodeForAWhile()
{
    KESTREL_OPEN_DEMO(db);
    const QDateTime start = test::fixtureNow();
    const int logsBefore = count(db, u"select count(*) from STATION..tbStationLogs");

    // Five failures a minute apart: the fifth locks the code.
    for (int i = 0; i < 5; ++i) {
        QVERIFY(db.pinClock(start.addSecs(60 * i)));
        QCOMPARE(check(db, kSupervisor, QStringLiteral("guess%1").arg(i))->count(), 0);
    }
    // The right password is turned away while the lock lasts, and each refusal is logged.
    for (int minute : {5, 8}) {
        QVERIFY(db.pinClock(start.addSecs(60 * minute)));
        QCOMPARE(check(db, kSupervisor, kPassword)->count(), 0);
    }
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs"), logsBefore + 2);
    QCOMPARE(count(db,
                   u"select count(*) from STATION..tbStationLogs where IdNum = :code and "
                   u"Remarks = 'RE-VALIDATION REFUSED: TOO MANY FAILED TRIES'",
                   {{QStringLiteral("code"), kSupervisor}}),
             2);
    // Another employee is not affected.
    QCOMPARE(check(db, QStringLiteral("2905"), QStringLiteral("orclerk"))->count(), 1);

    // Five minutes after the last failure the code may try again, and a success forgets the
    // failures.
    QVERIFY(db.pinClock(start.addSecs(60 * 9 + 1)));
    QCOMPARE(check(db, kSupervisor, kPassword)->count(), 1);
    QCOMPARE(count(db,
                   u"select count(*) from PASSWORD..tbValidationFailures where EmployeeID = "
                   u":code",
                   {{QStringLiteral("code"), kSupervisor}}),
             0);

    // Failures spread wider than ten minutes never lock.
    for (int i = 0; i < 6; ++i) {
        QVERIFY(db.pinClock(start.addSecs(3600 + 180 * i)));
        QCOMPARE(check(db, kSupervisor, QStringLiteral("slow%1").arg(i))->count(), 0);
    }
    QVERIFY(db.pinClock(start.addSecs(3600 + 180 * 6)));
    QCOMPARE(check(db, kSupervisor, kPassword)->count(), 1);

    // No password, typed or scrambled, is ever written down.
    auto remarks = db.select(u"select Remarks from STATION..tbStationLogs");
    QVERIFY(remarks);
    for (const Row &r : *remarks)
        QVERIFY(!r.text(u"Remarks").contains(kPassword, Qt::CaseInsensitive));
}

void tst_UserValidation::searchesTheStationsEmployees()
{
    KESTREL_OPEN_DEMO(db);
    auto byName = db.call(u"STATION..spNurse_SearchNurseUsers", {"OR", "vill"});
    QVERIFY(byName);
    QCOMPARE(byName->count(), 1);
    QCOMPARE(byName->at(0).text(u"EmployeeCode"), kSupervisor);
    QCOMPARE(byName->at(0).text(u"EmployeeName"), QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"));
    QCOMPARE(byName->at(0).text(u"Position"), QStringLiteral("OR SUPERVISOR"));

    // Codes of the OR's staff; the ward nurse of another station is not listed.
    auto byCode = db.call(u"STATION..spNurse_SearchNurseUsers", {"OR", "29"});
    QVERIFY(byCode);
    QCOMPARE(byCode->count(), 9);
    auto ward = db.call(u"STATION..spNurse_SearchNurseUsers", {"OR", "1401"});
    QVERIFY(ward);
    QCOMPARE(ward->count(), 0);
    // Wildcards are matched as typed.
    auto wild = db.call(u"STATION..spNurse_SearchNurseUsers", {"OR", "%"});
    QVERIFY(wild);
    QCOMPARE(wild->count(), 0);
    auto underscore = db.call(u"STATION..spNurse_SearchNurseUsers", {"OR", "2_01"});
    QVERIFY(underscore);
    QCOMPARE(underscore->count(), 0);
}

void tst_UserValidation::savesRightsTheCheckReadsBack()
{
    KESTREL_OPEN_DEMO(db);
    const auto rightsOf = [&db](const QString &employee) {
        auto r = db.scalar(u"select EmployeeRights from STATION..tbNurseUserRights where "
                           u"EmployeeID = :e",
                           {{QStringLiteral("e"), employee}});
        return r ? r->toString() : QStringLiteral("<error>");
    };
    // 2908 has no rights row yet: the first save adds one.
    QVERIFY(db.call(u"STATION..spNurse_SaveUserRights", {"2908", "|9|13", kSupervisor}));
    QCOMPARE(rightsOf(QStringLiteral("2908")), QStringLiteral("|9|13"));
    QVERIFY(RightsGrant(rightsOf(QStringLiteral("2908")), u"9"));
    QVERIFY(RightsGrant(rightsOf(QStringLiteral("2908")), u"13"));
    QVERIFY(!RightsGrant(rightsOf(QStringLiteral("2908")), u"3"));
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseUserRights where EmployeeID = "
                       u"'2908' and UserID = '2901'"),
             1);

    // Nothing ticked writes an empty text, which grants nothing.
    QVERIFY(db.call(u"STATION..spNurse_SaveUserRights", {"2908", "", kSupervisor}));
    QCOMPARE(rightsOf(QStringLiteral("2908")), QString());
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseUserRights where EmployeeID = "
                       u"'2908'"),
             1);
}

void tst_UserValidation::windowRulesForReasons_data()
{
    QTest::addColumn<int>("postOrCancel");
    QTest::addColumn<bool>("reasonRequired");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("remarks");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("reason");
    QTest::addColumn<QString>("message");
    using O = UserValidation::Outcome;
    const QString refused =
        QStringLiteral("Unauthorized User for this department(OR-Operating Room)");
    const QString askReason = QStringLiteral("Please enter reason of cancellation.");
    QTest::newRow("posting") << 0 << true << "orclerk"
                             << "" << int(O::Validated) << ""
                             << "";
    QTest::newRow("wrong password") << 0 << true << "orclark"
                                    << "" << int(O::Unauthorized) << "" << refused;
    QTest::newRow("cancellation with reason")
        << 1 << true << "orclerk"
        << "  Wrong item\r\ncharged  " << int(O::Validated) << "Wrong item charged"
        << "";
    QTest::newRow("only blanks and line breaks") << 1 << true << "orclerk"
                                                 << " \r\n \r\n"
                                                 << int(O::NeedsReason) << "" << askReason;
    QTest::newRow("reason not required") << 1 << false << "orclerk"
                                         << "" << int(O::Validated) << ""
                                         << "";
    QTest::newRow("refusal before reason") << 1 << true << "nope"
                                           << "" << int(O::Unauthorized) << "" << refused;
}

void tst_UserValidation::windowRulesForReasons()
{
    QFETCH(int, postOrCancel);
    QFETCH(bool, reasonRequired);
    QFETCH(QString, password);
    QFETCH(QString, remarks);
    QFETCH(int, outcome);
    QFETCH(QString, reason);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("2905"));
    Session &session = f.session;
    test::RecordingNotifier &notifier = f.notifier;
    session.hospital.IsAllowEntryOfReasonForCancellation = reasonRequired;
    session.validated =
        ValidatedUser{QStringLiteral("2901"), QStringLiteral("OLD"), QStringLiteral("old")};

    UserValidation window(session, hospitaldb::demoScrambleKey());
    window.open(postOrCancel);
    QVERIFY(!session.validated.isValid());
    QCOMPARE(window.showsReason(), postOrCancel == 1);

    QCOMPARE(int(window.validate(QStringLiteral(" 2905 "), password, remarks)), outcome);
    QCOMPARE(notifier.lastText(), message);
    const bool signedIn = outcome == int(UserValidation::Outcome::Validated) ||
                          outcome == int(UserValidation::Outcome::NeedsReason);
    QCOMPARE(session.validated.code, signedIn ? QStringLiteral("2905") : QString());
    QCOMPARE(session.validated.name,
             signedIn ? QStringLiteral("ESGUERRA, MARICEL TAN") : QString());
    QCOMPARE(session.validated.reason, reason);
}

QTEST_GUILESS_MAIN(tst_UserValidation)
#include "tst_uservalidation.moc"
