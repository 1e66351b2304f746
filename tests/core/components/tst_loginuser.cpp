// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsLoginUser.h"
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {

const QString kInvalid = QStringLiteral("Invalid employee code or password.");
const QString kEmpty = QStringLiteral("Please enter your employee code and password.");

// Everything log messages said while it was installed.
QStringList capturedLog;
void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedLog << message;
}

/// A login component on a fresh demo hospital. Its "embedded" choice opens a second
/// connection to this test's own database, never the user's demo hospital.
struct Login
{
    std::unique_ptr<TestDatabase> hospital;
    test::RecordingNotifier notifier;
    test::ScriptedLoginPrompt prompt;
    ComponentContext ctx{notifier};
    std::unique_ptr<clsLoginUser> user;
    int opened = 0;

    bool open()
    {
        auto t = TestDatabase::create(test::backendOfRow());
        if (!t)
            return false;
        hospital = std::move(*t);
        ctx.loginPrompt = &prompt;
        ctx.procedures = hospitaldb::hospitalProcedures();
        ctx.embeddedPath = QStringLiteral("/nonexistent/demo-hospital.sqlite");
        const ConnectionSettings where = hospital->settings();
        ctx.openEmbedded = [this, where](const QString &) {
            ++opened;
            auto db = Database::open(where);
            if (db)
                (*db)->setProcedures(hospitaldb::hospitalProcedures());
            return db;
        };
        user = std::make_unique<clsLoginUser>(ctx);
        user->setPasswordDeptCode(QStringLiteral("29"));
        return true;
    }

    // Scripted answers "code:password", or "cancel", then the login.
    void logIn(const QStringList &answers)
    {
        for (const QString &a : answers) {
            if (a == u"cancel")
                prompt.cancelLogin();
            else
                prompt.answerLogin(a.section(u':', 0, 0), a.section(u':', 1));
        }
        user->showmain();
    }
    Database &db() { return hospital->db(); }
};

} // namespace

class tst_LoginUser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void loginFillsTheUsersIdentity()
    {
        Login login;
        QVERIFY(login.open());
        login.logIn({" 2901 :orsupervisor"});
        clsLoginUser &u = *login.user;
        QCOMPARE(login.prompt.loginAsks(), 1);
        QCOMPARE(u.EmployeeCode(), QStringLiteral("2901"));
        // The identity through the names a late-bound caller uses.
        QCOMPARE(u.property("EmployeeName").toString(),
                 QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"));
        QCOMPARE(u.property("Connected").toBool(), true);
        QCOMPARE(u.Initial(), QStringLiteral("TMV"));
        QCOMPARE(u.Station(), QStringLiteral("OR"));
        QCOMPARE(u.servername(), QStringLiteral("(local)"));
        // The connection is the user's, opened once, and it works.
        Database *db = u.sqlconnection();
        QVERIFY(db && u.connection() == db);
        QCOMPARE(login.opened, 1);
        QCOMPARE(db->scalar(u"select LastName from PASSWORD..tbPasswordMaster "
                            u"where EmployeeID = '2901'")
                     ->toString(),
                 QStringLiteral("VILLANUEVA"));
        QVERIFY(login.notifier.boxes().isEmpty());
    }

    // What each answer is told, and how many answers a login takes.
    void answersAndRefusals_data()
    {
        QTest::addColumn<QStringList>("answers");
        QTest::addColumn<QStringList>("refusals"); // shown by each ask, "" the first time
        QTest::addColumn<QString>("loggedIn");     // none: the login ended without anybody

        const QString otherDepartment =
            QStringLiteral("You are not allowed to log in to this department.");
        const QString inactive = QStringLiteral("This employee code is no longer active.");
        const QString nurse = QStringLiteral("2902:scrubnurse");
        const auto retry = [&](const char *name, const char *answer, const QString &refusal) {
            QTest::newRow(name) << QStringList{QString::fromLatin1(answer), nurse}
                                << QStringList{QString(), refusal} << QStringLiteral("2902");
        };
        retry("wrong password", "2901:orsupervisr", kInvalid);
        retry("password in other case", "2901:ORSUPERVISOR", kInvalid);
        retry("another employee's password", "2901:scrubnurse", kInvalid);
        retry("unknown code", "2999:orsupervisor", kInvalid);
        retry("blank code", "   :orsupervisor", kEmpty);
        retry("no password", "2901:", kEmpty);
        retry("other department", "1401:wardnurse", otherDepartment);
        retry("resigned", "2908:trainee", inactive);
        // Department and status are told only to someone who knows the password.
        retry("other department, wrong password", "1401:orsupervisor", kInvalid);
        retry("resigned, wrong password", "2908:orsupervisor", kInvalid);

        QTest::newRow("three wrong answers end the login")
            << QStringList{"2901:one", "2999:two", "1401:wardnurse", "2901:orsupervisor"}
            << QStringList{QString(), kInvalid, kInvalid} << QString();
        QTest::newRow("empty answers are not wrong answers")
            << QStringList{":", "2901:wrong", "2901:", "2901:wrong", "2901:orsupervisor"}
            << QStringList{QString(), kEmpty, kInvalid, kEmpty, kInvalid} << "2901";
        QTest::newRow("cancel ends the login")
            << QStringList{"2901:wrong", "cancel", "2901:orsupervisor"}
            << QStringList{QString(), kInvalid} << QString();
    }
    void answersAndRefusals()
    {
        QFETCH(QStringList, answers);
        QFETCH(QStringList, refusals);
        QFETCH(QString, loggedIn);
        Login login;
        QVERIFY(login.open());
        QCOMPARE(login.db().exec(u"update PASSWORD..tbPasswordMaster set Status = 'I' "
                                 u"where EmployeeID = '2908'")
                     .value_or(0),
                 1);
        login.logIn(answers);
        QCOMPARE(login.prompt.loginRefusals(), refusals);
        QCOMPARE(login.user->Connected(), !loggedIn.isEmpty());
        QCOMPARE(login.user->EmployeeCode(), loggedIn);
        QVERIFY(login.notifier.boxes().isEmpty());
        if (loggedIn.isEmpty())
            QVERIFY(login.user->EmployeeName().isEmpty() && !login.user->sqlconnection() &&
                    login.user->connectionString().isEmpty());
    }

    void missingEmbeddedHospitalIsRefused()
    {
        Login login;
        QVERIFY(login.open());
        login.ctx.openEmbedded = nullptr;
        clsLoginUser user(login.ctx);
        user.setPasswordDeptCode(QStringLiteral("29"));
        for (int i = 0; i < 4; ++i)
            login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
        user.showmain();
        // Not the user's fault, so it never counts against him: he gives up by cancelling.
        QCOMPARE(login.prompt.loginAsks(), 5);
        QCOMPARE(login.prompt.loginRefusals().at(1),
                 QStringLiteral("The embedded demo hospital is not installed on this "
                                "workstation."));
        QVERIFY(!user.Connected());
    }

    void serverLogin()
    {
        Login login;
        QVERIFY(login.open());
        const ConnectionSettings where = login.hospital->settings();
        if (where.backend != Backend::Postgres)
            QSKIP("a server login needs the PostgreSQL backend");

        LoginRequest unreachable;
        unreachable.source = LoginSource::Server;
        unreachable.host = QStringLiteral("127.0.0.1");
        unreachable.port = 1; // nothing listens there
        unreachable.database = where.database;
        unreachable.user = where.user;
        unreachable.serverPassword = QStringLiteral("s3rver-secret");
        unreachable.employeeCode = QStringLiteral("2901");
        unreachable.password = QStringLiteral("orsupervisor");
        LoginRequest good = unreachable;
        good.port = where.port;
        good.serverPassword.clear();
        login.prompt.answerLogin(unreachable);
        login.prompt.answerLogin(good);
        login.user->showmain();
        QVERIFY(login.user->Connected());
        QCOMPARE(login.prompt.loginAsks(), 2);
        const QString refusal = login.prompt.loginRefusals().at(1);
        QVERIFY2(refusal.startsWith(u"The hospital database could not be opened.") &&
                     !refusal.contains(u"s3rver-secret"),
                 qPrintable(refusal));
        QCOMPARE(login.opened, 0);
        // The hospital's procedures came with the server connection.
        QVERIFY(login.user->sqlconnection() &&
                login.user->sqlconnection()->procedures().size() > 0);
        QCOMPARE(login.user->connectionString(),
                 QStringLiteral("Provider=PostgreSQL;Server=%1;Port=%2;Database=%3;User ID=%4")
                     .arg(where.host)
                     .arg(where.port)
                     .arg(where.database, where.user));
    }

    void loginWritesNothing()
    {
        Login login;
        QVERIFY(login.open());
        const auto state = [&login] {
            QStringList out;
            for (QStringView sql : {u"select count(*) from STATION..tbStationLogs",
                                    u"select count(*) from PASSWORD..tbPasswordMaster",
                                    u"select PasswordHash from PASSWORD..tbPasswordMaster "
                                    u"where EmployeeID = '2901'"})
                out << login.db().scalar(sql).value_or(QVariant()).toString();
            return out;
        };
        const QStringList before = state();
        login.logIn({"2901:wrong", "1401:wardnurse", "2901:orsupervisor"});
        QVERIFY(login.user->Connected());
        QVERIFY(!login.user->checkusersettings()); // no answer scripted: cancelled
        QCOMPARE(state(), before);
    }

    void noPasswordIsEverLogged()
    {
        Login login;
        QVERIFY(login.open());
        QLoggingCategory::setFilterRules(QStringLiteral("kestrel.*=true"));
        capturedLog.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        login.logIn({"2901:wr0ng-secret", "2901:orsupervisor"});
        login.prompt.answerPassword(QStringLiteral("an0ther-secret"));
        const bool revalidated = login.user->checkusersettings();
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QString());
        QVERIFY(login.user->Connected() && !revalidated);
        QVERIFY2(!capturedLog.isEmpty(), "the login is expected to log who logged in");
        const QStringList said = capturedLog + login.prompt.loginRefusals() +
                                 QStringList{login.user->connectionString()};
        for (const QString &line : said) {
            for (const char *secret : {"wr0ng-secret", "orsupervisor", "an0ther-secret"})
                QVERIFY2(!line.contains(QLatin1String(secret)), qPrintable(line));
        }
    }

    void checkusersettingsAsksThePasswordAgain_data()
    {
        QTest::addColumn<bool>("answer");
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("valid");
        QTest::newRow("right password") << true << "circnurse" << true;
        QTest::newRow("another employee's password") << true << "orsupervisor" << false;
        QTest::newRow("empty") << true << "" << false;
        QTest::newRow("cancelled") << false << "" << false;
    }
    void checkusersettingsAsksThePasswordAgain()
    {
        QFETCH(bool, answer);
        QFETCH(QString, password);
        QFETCH(bool, valid);
        Login login;
        QVERIFY(login.open());
        login.logIn({"2903:circnurse"});
        if (answer)
            login.prompt.answerPassword(password);
        else
            login.prompt.cancelPassword();
        bool result = !valid;
        QVERIFY(QMetaObject::invokeMethod(login.user.get(), "checkusersettings",
                                          Qt::DirectConnection, Q_RETURN_ARG(bool, result)));
        QCOMPARE(result, valid);
        QCOMPARE(login.prompt.passwordAskedOf(),
                 QStringList{QStringLiteral("MACARAEG, KRISTINE JOY LIM")});
        // The user stays logged in either way.
        QVERIFY(login.user->Connected());
    }
};

QTEST_GUILESS_MAIN(tst_LoginUser)
#include "tst_loginuser.moc"
