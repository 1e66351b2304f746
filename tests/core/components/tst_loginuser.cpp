// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "shell/components/clsLoginUser.h"
#include "shell/db/Database.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using kestrel::test::RecordingNotifier;
using kestrel::test::ScriptedLoginPrompt;
using kestrel::test::TestDatabase;

namespace {

const QString kInvalid = QStringLiteral("Invalid employee code or password.");
const QString kEmpty = QStringLiteral("Please enter your employee code and password.");
const QString kOtherDepartment =
    QStringLiteral("You are not allowed to log in to this department.");
const QString kInactive = QStringLiteral("This employee code is no longer active.");

// Everything log messages said while it was installed.
QStringList &capturedLog()
{
    static QStringList lines;
    return lines;
}

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedLog() << message;
}

/// A login component on a fresh demo hospital. Its "embedded" choice opens a second
/// connection to this test's own database, never the user's demo hospital.
struct Login
{
    std::unique_ptr<TestDatabase> hospital;
    RecordingNotifier notifier;
    ScriptedLoginPrompt prompt;
    ComponentContext ctx{notifier};
    std::unique_ptr<clsLoginUser> user;
    int opened = 0;

    bool open()
    {
        auto t = TestDatabase::create(test::backendOfRow());
        if (!t) {
            qWarning("%s", qPrintable(t.error().message));
            return false;
        }
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

    Database &db() { return hospital->db(); }

    qint64 count(QStringView sql)
    {
        auto n = db().scalar(sql);
        return n ? n->toLongLong() : -1;
    }
};

} // namespace

class tst_LoginUser : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void loginFillsTheUsersIdentity();
    void refusalsLetTheUserTryAgain_data();
    void refusalsLetTheUserTryAgain();
    void threeWrongAnswersEndTheLogin();
    void emptyAnswersAreNotWrongAnswers();
    void cancelEndsTheLogin();
    void theSameDatabaseIsOpenedOnce();
    void missingEmbeddedHospitalIsRefused();
    void serverLogin();
    void loginWritesNothing();
    void noPasswordIsEverLogged();
    void checkusersettingsAsksThePasswordAgain_data();
    void checkusersettingsAsksThePasswordAgain();
    void classLibraryGetsTheConnection();
};

void tst_LoginUser::loginFillsTheUsersIdentity()
{
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QStringLiteral(" 2901 "), QStringLiteral("orsupervisor"));
    login.user->showmain();

    clsLoginUser &u = *login.user;
    QVERIFY(u.Connected());
    QCOMPARE(login.prompt.loginAsks(), 1);
    QCOMPARE(u.EmployeeCode(), QStringLiteral("2901"));
    QCOMPARE(u.EmployeeName(), QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"));
    QCOMPARE(u.Initial(), QStringLiteral("TMV"));
    QCOMPARE(u.Station(), QStringLiteral("OR"));
    QCOMPARE(u.servername(), QStringLiteral("(local)"));
    QCOMPARE(u.ServerPassword(), QString());
    QCOMPARE(u.UserID(), QString());
    QVERIFY(!u.Database().isEmpty());
    QVERIFY(u.connectionString().startsWith(u"Provider="));
    // The same identity through the names a late-bound caller uses.
    QCOMPARE(u.property("EmployeeName").toString(), u.EmployeeName());
    QCOMPARE(u.property("Connected").toBool(), true);

    // The connection is the user's and it works.
    Database *db = u.sqlconnection();
    QVERIFY(db);
    QCOMPARE(u.connection(), db);
    auto name = db->scalar(u"select LastName from PASSWORD..tbPasswordMaster "
                           u"where EmployeeID = :code",
                           {{QStringLiteral("code"), u.EmployeeCode()}});
    QVERIFY(name);
    QCOMPARE(name->toString(), QStringLiteral("VILLANUEVA"));
    QVERIFY(login.notifier.boxes().isEmpty());
}

void tst_LoginUser::refusalsLetTheUserTryAgain_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("wrong password") << "2901"
                                    << "orsupervisor " << kInvalid;
    QTest::newRow("password in other case") << "2901"
                                            << "ORSUPERVISOR" << kInvalid;
    QTest::newRow("another employee's password") << "2901"
                                                 << "scrubnurse" << kInvalid;
    QTest::newRow("unknown code") << "2999"
                                  << "orsupervisor" << kInvalid;
    QTest::newRow("no code") << ""
                             << "orsupervisor" << kEmpty;
    QTest::newRow("blank code") << "   "
                                << "orsupervisor" << kEmpty;
    QTest::newRow("no password") << "2901"
                                 << "" << kEmpty;
    QTest::newRow("other department") << "1401"
                                      << "wardnurse" << kOtherDepartment;
    QTest::newRow("resigned") << "2908"
                              << "trainee" << kInactive;
    // Department and status are told only to someone who knows the password.
    QTest::newRow("other department, wrong password") << "1401"
                                                      << "orsupervisor" << kInvalid;
    QTest::newRow("resigned, wrong password") << "2908"
                                              << "orsupervisor" << kInvalid;
}

void tst_LoginUser::refusalsLetTheUserTryAgain()
{
    QFETCH(QString, code);
    QFETCH(QString, password);
    QFETCH(QString, refusal);
    Login login;
    QVERIFY(login.open());
    auto resigned = login.db().exec(u"update PASSWORD..tbPasswordMaster set Status = 'I' "
                                    u"where EmployeeID = :code",
                                    {{QStringLiteral("code"), QStringLiteral("2908")}});
    QVERIFY(resigned && *resigned == 1);

    login.prompt.answerLogin(code, password);
    login.prompt.answerLogin(QStringLiteral("2902"), QStringLiteral("scrubnurse"));
    login.user->showmain();

    QCOMPARE(login.prompt.loginRefusals(), (QStringList{QString(), refusal}));
    QVERIFY(login.user->Connected());
    QCOMPARE(login.user->EmployeeCode(), QStringLiteral("2902"));
    QCOMPARE(login.user->EmployeeName(), QStringLiteral("SALAZAR, JOHN PAUL DELA CRUZ"));
    QVERIFY(login.notifier.boxes().isEmpty());
}

void tst_LoginUser::threeWrongAnswersEndTheLogin()
{
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("one"));
    login.prompt.answerLogin(QStringLiteral("2999"), QStringLiteral("two"));
    login.prompt.answerLogin(QStringLiteral("1401"), QStringLiteral("wardnurse"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.user->showmain();

    QCOMPARE(login.prompt.loginAsks(), 3);
    QCOMPARE(login.prompt.loginRefusals(), (QStringList{QString(), kInvalid, kInvalid}));
    QVERIFY(!login.user->Connected());
    QCOMPARE(login.user->EmployeeCode(), QString());
    QCOMPARE(login.user->EmployeeName(), QString());
    QCOMPARE(login.user->sqlconnection(), nullptr);
    QCOMPARE(login.user->connectionString(), QString());
}

void tst_LoginUser::emptyAnswersAreNotWrongAnswers()
{
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QString(), QString());
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("wrong"));
    login.prompt.answerLogin(QStringLiteral("2901"), QString());
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("wrong"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.user->showmain();

    QCOMPARE(login.prompt.loginRefusals(),
             (QStringList{QString(), kEmpty, kInvalid, kEmpty, kInvalid}));
    QVERIFY(login.user->Connected());
}

void tst_LoginUser::cancelEndsTheLogin()
{
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("wrong"));
    login.prompt.cancelLogin();
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.user->showmain();

    QCOMPARE(login.prompt.loginAsks(), 2);
    QVERIFY(!login.user->Connected());
    QCOMPARE(login.user->sqlconnection(), nullptr);
}

void tst_LoginUser::theSameDatabaseIsOpenedOnce()
{
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("wrong"));
    login.prompt.answerLogin(QStringLiteral("2903"), QStringLiteral("circnurse"));
    login.user->showmain();
    QVERIFY(login.user->Connected());
    QCOMPARE(login.opened, 1);
}

void tst_LoginUser::missingEmbeddedHospitalIsRefused()
{
    Login login;
    QVERIFY(login.open());
    login.ctx.openEmbedded = nullptr;
    clsLoginUser user(login.ctx);
    user.setPasswordDeptCode(QStringLiteral("29"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    user.showmain();

    // Not the user's fault, so it never counts against him: he gives up by cancelling.
    QCOMPARE(login.prompt.loginAsks(), 5);
    QCOMPARE(login.prompt.loginRefusals().at(1),
             QStringLiteral("The embedded demo hospital is not installed on this workstation."));
    QVERIFY(!user.Connected());
}

void tst_LoginUser::serverLogin()
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
    QVERIFY2(refusal.startsWith(u"The hospital database could not be opened."),
             qPrintable(refusal));
    QVERIFY(!refusal.contains(u"s3rver-secret"));
    QCOMPARE(login.opened, 0);
    QCOMPARE(login.user->servername(), where.host);
    QCOMPARE(login.user->Database(), where.database);
    QCOMPARE(login.user->UserID(), where.user);
    QCOMPARE(login.user->ServerPassword(), QString());
    Database *db = login.user->sqlconnection();
    QVERIFY(db);
    // The hospital's procedures came with the server connection.
    QVERIFY(db->procedures().size() > 0);
    QCOMPARE(login.user->connectionString(),
             QStringLiteral("Provider=PostgreSQL;Server=%1;Port=%2;Database=%3;User ID=%4")
                 .arg(where.host)
                 .arg(where.port)
                 .arg(where.database, where.user));
}

void tst_LoginUser::loginWritesNothing()
{
    Login login;
    QVERIFY(login.open());
    const qint64 logs = login.count(u"select count(*) from STATION..tbStationLogs");
    const qint64 staff = login.count(u"select count(*) from PASSWORD..tbPasswordMaster");
    QVERIFY(logs >= 0 && staff > 0);
    auto hash = login.db().scalar(u"select PasswordHash from PASSWORD..tbPasswordMaster "
                                  u"where EmployeeID = '2901'");
    QVERIFY(hash);

    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("wrong"));
    login.prompt.answerLogin(QStringLiteral("1401"), QStringLiteral("wardnurse"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.user->showmain();
    QVERIFY(login.user->Connected());
    QVERIFY(login.user->checkusersettings() == false); // no answer scripted: cancelled

    QCOMPARE(login.count(u"select count(*) from STATION..tbStationLogs"), logs);
    QCOMPARE(login.count(u"select count(*) from PASSWORD..tbPasswordMaster"), staff);
    auto after = login.db().scalar(u"select PasswordHash from PASSWORD..tbPasswordMaster "
                                   u"where EmployeeID = '2901'");
    QVERIFY(after);
    QCOMPARE(after->toString(), hash->toString());
}

void tst_LoginUser::noPasswordIsEverLogged()
{
    Login login;
    QVERIFY(login.open());
    QLoggingCategory::setFilterRules(QStringLiteral("kestrel.*=true"));
    capturedLog().clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("wr0ng-secret"));
    login.prompt.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    login.user->showmain();
    login.prompt.answerPassword(QStringLiteral("an0ther-secret"));
    const bool revalidated = login.user->checkusersettings();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QString());

    QVERIFY(login.user->Connected());
    QVERIFY(!revalidated);
    QVERIFY2(!capturedLog().isEmpty(), "the login is expected to log who logged in");
    const QStringList secrets{QStringLiteral("wr0ng-secret"), QStringLiteral("orsupervisor"),
                              QStringLiteral("an0ther-secret")};
    for (const QString &line : std::as_const(capturedLog())) {
        for (const QString &secret : secrets)
            QVERIFY2(!line.contains(secret), qPrintable(line));
    }
    for (const QString &refusal : login.prompt.loginRefusals()) {
        for (const QString &secret : secrets)
            QVERIFY(!refusal.contains(secret));
    }
    QVERIFY(!login.user->connectionString().contains(u"orsupervisor"));
}

void tst_LoginUser::checkusersettingsAsksThePasswordAgain_data()
{
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("password");
    QTest::addColumn<bool>("valid");
    QTest::newRow("right password") << true << "circnurse" << true;
    QTest::newRow("wrong password") << true << "circnurse1" << false;
    QTest::newRow("another employee's password") << true << "orsupervisor" << false;
    QTest::newRow("empty") << true << "" << false;
    QTest::newRow("cancelled") << false << "" << false;
}

void tst_LoginUser::checkusersettingsAsksThePasswordAgain()
{
    QFETCH(bool, answer);
    QFETCH(QString, password);
    QFETCH(bool, valid);
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QStringLiteral("2903"), QStringLiteral("circnurse"));
    login.user->showmain();
    QVERIFY(login.user->Connected());

    if (answer)
        login.prompt.answerPassword(password);
    else
        login.prompt.cancelPassword();
    bool result = !valid;
    QVERIFY(QMetaObject::invokeMethod(login.user.get(), "checkusersettings", Qt::DirectConnection,
                                      Q_RETURN_ARG(bool, result)));
    QCOMPARE(result, valid);
    QCOMPARE(login.prompt.passwordAskedOf(),
             QStringList{QStringLiteral("MACARAEG, KRISTINE JOY LIM")});
    // The user stays logged in either way.
    QVERIFY(login.user->Connected());
}

void tst_LoginUser::classLibraryGetsTheConnection()
{
    Login login;
    QVERIFY(login.open());
    login.prompt.answerLogin(QStringLiteral("2905"), QStringLiteral("orclerk"));
    login.user->showmain();
    QVERIFY(login.user->Connected());

    clsTarvikClasses *classes = login.user->TARVIKCLASSES();
    QVERIFY(!classes->initwithdb()); // not switched on
    classes->setUseClasses(true);
    QVERIFY(classes->initwithdb());
    QCOMPARE(classes->connection(), login.user->sqlconnection());
    QCOMPARE(classes->clsCF4()->EmployeeCode, QStringLiteral("2905"));
}

QTEST_GUILESS_MAIN(tst_LoginUser)
#include "tst_loginuser.moc"
