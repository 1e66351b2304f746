// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's users on every backend: password scrambling, re-validation and the lock-out every
// password check shares, the employee search, the rights editor down to what the access check
// reads, user log codes.
#include "core/AccessRights.h"
#include "core/CharacterCodes.h"
#include "core/components/clsLoginUser.h"
#include "core/components/EmployeeLogin.h"
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/MainWindowFixture.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"
#include "users/modEncryption.h"
#include "users/RevalidationKey.h"
#include "users/UserLogs.h"
#include "users/UserRights.h"
#include "users/UserValidation.h"

#include <QRandomGenerator>
#include <QTest>

#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kSupervisor = u"2901"_s;
const QString kPassword = u"orsupervisor"_s;
const QString kKey = u"KESTRELORDEMO"_s;

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

// Another workstation on the test's hospital, its clock at `clockAt`.
QDateTime clockAt = test::fixtureNow();
std::unique_ptr<Database> workstation(const ConnectionSettings &where)
{
    auto db = Database::open(where);
    if (!db || !(*db)->pinClock(clockAt))
        return nullptr;
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    return std::move(*db);
}

// The login component there; logIn and recheck answer what the user was told, "" accepted.
struct LoginComponent
{
    explicit LoginComponent(const ConnectionSettings &where)
    {
        ctx.loginPrompt = &prompt;
        ctx.openEmbedded = [where](const QString &) -> Result<std::unique_ptr<Database>> {
            return workstation(where);
        };
        user = std::make_unique<clsLoginUser>(ctx);
        user->setPasswordDeptCode(u"29"_s);
    }
    QString logIn(const QString &code, const QString &password)
    {
        prompt.answerLogin(code, password);
        user->showmain();
        return user->Connected() ? QString() : prompt.loginRefusals().constLast();
    }
    QString recheck(const QString &password)
    {
        prompt.answerPassword(password);
        notifier.clear();
        return user->checkusersettings() ? QString() : u"refused "_s + notifier.lastText();
    }
    test::RecordingNotifier notifier;
    test::ScriptedLoginPrompt prompt;
    ComponentContext ctx{notifier};
    std::unique_ptr<clsLoginUser> user;
};

QString sign(test::MainWindowFixture &f, const QString &code, const QString &password)
{
    UserValidation window(f.session, hospitaldb::demoScrambleKey());
    window.open(0);
    f.notifier.clear();
    return window.validate(code, password, {}) == UserValidation::Outcome::Validated
               ? QString()
               : u"refused "_s + f.notifier.lastText();
}

struct ReasonCase
{
    int postOrCancel;
    bool reasonRequired;
    QString password, remarks;
    UserValidation::Outcome outcome;
    QString reason, message;
};

} // namespace

class tst_Users : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void scrambleKnownValues_data();
    void scrambleKnownValues();
    void scrambleRoundTrips();
    void signatureKeyFromTheHospitalElseTheInstallation();
    void oneLockOutForEveryPasswordCheck_data();
    void oneLockOutForEveryPasswordCheck();
    void twoWorkstationsFailingAtOnceTryFivePasswordsAtMost();
    void passwordTheLoginTakesSigns_data();
    void passwordTheLoginTakesSigns();
    void validatesCodePasswordAndDepartment_data();
    void validatesCodePasswordAndDepartment();
    void windowRulesForReasons_data();
    void windowRulesForReasons();
    void searchesTheStationsEmployees();
    void rightsEditorSavesWhatTheCheckReads();
    void userLogTransactionCodes();
};

void tst_Users::scrambleKnownValues_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("expected");
    QTest::newRow("empty text is the offset alone") << "E" << "" << "5B";
    // (65 + 91) % 255 = 156, XOR 'K' (75) = 215.
    QTest::newRow("one letter") << "E" << "A" << "5BD7";
    // (228 + 91) % 255 = 64, XOR 'K' = 11: a value below 16 is blank-padded, not zero-padded.
    QTest::newRow("blank-padded value") << "E" << QString(QChar(228)) << "5B B";
    // The second character uses the first one's value as its offset and the key's 'E'.
    QTest::newRow("offset chains") << "E" << "AB" << "5BD75F";
    QTest::newRow("lower-case mode is no mode") << "e" << "A" << "";
    QTest::newRow("unscramble blank-padded") << "D" << "5B B" << QString(QChar(228));
    QTest::newRow("unscramble garbage") << "D" << "ZZ12" << "";
}

void tst_Users::scrambleKnownValues()
{
    QFETCH(QString, mode);
    QFETCH(QString, text);
    QFETCH(QString, expected);
    QCOMPARE(Scramble(mode, kKey, text), expected);
}

void tst_Users::scrambleRoundTrips()
{
    QRandomGenerator rng(20261205);
    for (int n = 0; n < 500; ++n) { // every workstation character from 1 to 254, in any order
        QString text;
        for (int i = rng.bounded(0, 40); i > 0; --i)
            text += hospitalCharacter(rng.bounded(1, 255));
        const QString scrambled = Scramble(u"E", kKey, text);
        QCOMPARE(scrambled.size(), 2 + 2 * text.size());
        QCOMPARE(Scramble(u"D", kKey, scrambled), text);
    }
    // Callers trim the scrambled text before sending it; a leading blank of the first pair
    // must not break unscrambling, and neither must the key's wrap-around.
    const QString password = u"orsupervisor-and-more"_s;
    const QString scrambled = Scramble(u"E", kKey, password).trimmed();
    QCOMPARE(Scramble(u"D", kKey, scrambled), password);
    QVERIFY(Scramble(u"D", u"ANOTHERKEYXYZ"_s, scrambled) != password);
}

void tst_Users::signatureKeyFromTheHospitalElseTheInstallation()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    RevalidationKey stale(u"STALEKEYSTALE"_s), installed(kKey), none;
    QCOMPARE(stale.key(f.session), hospitaldb::demoScrambleKey()); // the key it unscrambles with
    QVERIFY(db.exec(u"delete from PASSWORD..tbPasswordKey"));
    QCOMPARE(installed.key(f.session), kKey);
    for (int signature = 0; signature < 3; ++signature)
        QCOMPARE(none.key(f.session), QString());
    // Told once, naming both places the key is missing from.
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY(f.notifier.lastText().contains(u"PASSWORD..tbPasswordKey") &&
            f.notifier.lastText().contains(u"kestrel-installation.ini"));
}

void tst_Users::oneLockOutForEveryPasswordCheck_data()
{
    QTest::addColumn<QStringList>("failures"); // where a wrong password is typed: with which code
    QTest::addColumn<int>("spacing");          // seconds between them
    QTest::addColumn<int>("later");            // seconds after the last, the right password
    QTest::addColumn<bool>("locked");
    const QStringList fiveLogins(5, u"login:2901"_s);
    QTest::newRow("five at the login") << fiveLogins << 60 << 0 << true;
    QTest::newRow("five signatures, blanks around the code")
        << QStringList{"sign: 2901", "sign:2901 ", "sign: 2901 ", "sign:2901", "sign:  2901"}
        << 0 << 299 << true;
    QTest::newRow("login, signature and User Settings")
        << QStringList{"login: 2901", "sign:2901", "settings:", "settings:", "login:2901"} << 30
        << 0 << true;
    QTest::newRow("five minutes after the fifth") << fiveLogins << 60 << 300 << false;
    QTest::newRow("four lock nothing")
        << QStringList{"login:2901", "sign: 2901", "settings:", "sign:2901"} << 0 << 0 << false;
    QTest::newRow("six in fifteen minutes")
        << QStringList{"login:2901", "sign:2901", "settings:", "sign:2901", "login:2901",
                       "sign:2901"}
        << 180 << 0 << false;
}

void tst_Users::oneLockOutForEveryPasswordCheck()
{
    QFETCH(QStringList, failures);
    QFETCH(int, spacing);
    QFETCH(int, later);
    QFETCH(bool, locked);
    KESTREL_OPEN_DEMO(db);
    LoginComponent settings((*dbResult)->settings()), login((*dbResult)->settings());
    QCOMPARE(settings.logIn(kSupervisor, kPassword), QString());
    test::MainWindowFixture f(db, u"2905"_s);
    const auto attempt = [&](const QString &where, const QString &code, const QString &pw,
                             const QDateTime &at) {
        clockAt = at; // every workstation's clock
        if (!db.pinClock(at) || !settings.user->sqlconnection()->pinClock(at))
            return u"no clock"_s;
        return where == u"login"  ? login.logIn(code, pw)
               : where == u"sign" ? sign(f, code, pw)
                                  : settings.recheck(pw);
    };
    QDateTime at = test::fixtureNow();
    for (const QString &failure : failures) {
        const QString where = failure.section(u':', 0, 0), code = failure.section(u':', 1);
        QVERIFY(!attempt(where, code, u"guess"_s, at).isEmpty());
        at = at.addSecs(spacing);
    }
    // Then the right password at every check: a locked code is told until when.
    const QDateTime last = at.addSecs(-spacing);
    const QString until = last.addSecs(kLockSeconds).toString(u"h:mm:ss AP"_s);
    for (const QString &where : {u"settings"_s, u"sign"_s, u"login"_s}) {
        const QString told = attempt(where, kSupervisor, kPassword, last.addSecs(later));
        QVERIFY2(locked ? told.contains(u"locked") && told.contains(until) : told.isEmpty(),
                 qPrintable(where + u": "_s + told));
    }
    // Refusals of a locked code are logged; no password ever is.
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs where Remarks like "
                       u"'%TOO MANY%'") > 0, locked);
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs where Remarks like "
                       u"'%guess%' or Remarks like '%orsupervisor%'"), 0);
}

void tst_Users::twoWorkstationsFailingAtOnceTryFivePasswordsAtMost()
{
    KESTREL_OPEN_DEMO(db);
    QList<int> verdicts[2];
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&, w, where = (*dbResult)->settings()] {
            for (auto other = workstation(where); other && verdicts[w].size() < 6;) {
                auto checked = checkEmployeePassword(*other, w ? u" 2901"_s : kSupervisor, u"x"_s);
                verdicts[w] << (checked ? int(checked->verdict) : -1);
            }
        });
    for (std::thread &t : threads)
        t.join();
    const QList<int> all = verdicts[0] + verdicts[1];
    QCOMPARE(all.count(int(PasswordCheck::Verdict::Wrong)), kFailuresBeforeLock);
    QCOMPARE(all.count(int(PasswordCheck::Verdict::Locked)), 12 - kFailuresBeforeLock);
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures"), 5);
}

void tst_Users::passwordTheLoginTakesSigns_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("uncarried"); // the character no signature can carry
    QTest::newRow("euro sign") << u"€uro-pass"_s << QString();
    QTest::newRow("blanks around it") << u"  ñandú 2026 "_s << QString();
    QTest::newRow("emoji") << u"pass😀word"_s << u"😀"_s;
    QTest::newRow("greek letter") << u"Ωmega-pass"_s << u"Ω"_s;
}

void tst_Users::passwordTheLoginTakesSigns()
{
    QFETCH(QString, password);
    QFETCH(QString, uncarried);
    KESTREL_OPEN_DEMO(db);
    auto stored = storePassword(db, u"2905"_s, password, false);
    QVERIFY(stored ? uncarried.isEmpty() : stored.error().message.contains(uncarried));
    if (!stored) // as a hospital may still hold it from before
        QVERIFY(db.exec(u"update PASSWORD..tbPasswordMaster set PasswordHash = :hash "
                        u"where EmployeeID = '2905'", {{u"hash"_s, *hashPassword(password)}}));
    // Typed with other blanks around it each time, every check agrees.
    LoginComponent login((*dbResult)->settings());
    test::MainWindowFixture f(db, u"2901"_s);
    for (const QString &told : {login.logIn(u"2905"_s, password.trimmed() + u' '),
                                sign(f, u"2905"_s, u' ' + password)})
        QVERIFY2(uncarried.isEmpty() ? told.isEmpty() : told.contains(uncarried), qPrintable(told));
    QCOMPARE(uncarried.isEmpty() ? login.recheck(password) : QString(), QString());
}

void tst_Users::validatesCodePasswordAndDepartment_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("failures"); // wrong passwords counted
    QTest::newRow("right password") << "2901" << "orsupervisor" << true << 0;
    QTest::newRow("code with blanks") << " 2901 " << "orsupervisor" << true << 0;
    QTest::newRow("wrong password") << "2901" << "orsupervisor2" << false << 1;
    QTest::newRow("password in capitals") << "2901" << "ORSUPERVISOR" << false << 1;
    QTest::newRow("unknown code") << "9999" << "orsupervisor" << false << 1;
    QTest::newRow("another department") << "1401" << "wardnurse" << false << 0;
    QTest::newRow("empty password") << "2901" << "" << false << 1;
}

void tst_Users::validatesCodePasswordAndDepartment()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(bool, valid);
    QFETCH(int, failures);
    KESTREL_OPEN_DEMO(db);
    auto rows = check(db, code, password);
    QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
    QCOMPARE(rows->count(), valid ? 1 : 0);
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbValidationFailures"), failures);
}

void tst_Users::windowRulesForReasons_data()
{
    QTest::addColumn<ReasonCase>("c");
    using O = UserValidation::Outcome;
    const QString refused = u"Unauthorized User for this department(OR-Operating Room)"_s;
    QTest::newRow("posting") << ReasonCase{0, true, "orclerk", "", O::Validated, "", ""};
    QTest::newRow("cancellation with reason") << ReasonCase{
        1, true, "orclerk", "  Wrong item\r\ncharged  ", O::Validated, "Wrong item charged", ""};
    QTest::newRow("only blanks and line breaks")
        << ReasonCase{1,  true, "orclerk", " \r\n \r\n", O::NeedsReason, "",
                      "Please enter reason of cancellation."};
    QTest::newRow("reason not required")
        << ReasonCase{1, false, "orclerk", "", O::Validated, "", ""};
    QTest::newRow("refusal before reason")
        << ReasonCase{1, true, "nope", "", O::Unauthorized, "", refused};
}

void tst_Users::windowRulesForReasons()
{
    QFETCH(ReasonCase, c);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    Session &session = f.session;
    session.hospital.IsAllowEntryOfReasonForCancellation = c.reasonRequired;
    session.validated = ValidatedUser{u"2901"_s, u"OLD"_s, u"old"_s};
    UserValidation window(session, hospitaldb::demoScrambleKey());
    window.open(c.postOrCancel);
    QVERIFY(!session.validated.isValid());
    QCOMPARE(window.showsReason(), c.postOrCancel == 1);
    QCOMPARE(window.validate(u" 2905 "_s, c.password, c.remarks), c.outcome);
    QCOMPARE(f.notifier.lastText(), c.message);
    const bool signedIn = c.outcome != UserValidation::Outcome::Unauthorized;
    QCOMPARE(session.validated.code, signedIn ? u"2905"_s : QString());
    QCOMPARE(session.validated.name, signedIn ? u"ESGUERRA, MARICEL TAN"_s : QString());
    QCOMPARE(session.validated.reason, c.reason);
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
    // The OR's staff only (not another station's ward nurse); wildcards are matched as typed.
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

void tst_Users::userLogTransactionCodes()
{
    // The transaction is found whatever its case; anything else is no transaction.
    QCOMPARE(UserLogs::transactionCode(u"change height and WEIGHT"_s), u"C"_s);
    QCOMPARE(UserLogs::transactionCode(u"Charge Posting"_s), QString());
    QCOMPARE(UserLogs::transactionCode(QString()), QString());
}

QTEST_MAIN(tst_Users)
#include "tst_users.moc"
