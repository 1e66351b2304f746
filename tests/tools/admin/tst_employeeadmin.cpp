// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// IT's chores with kestrel-admin: a nurse added with a one-time password must choose her own at
// her first login, and only a password the hospital accepts ends the login; a leaver is
// disabled. The embedded hospital is backed up while a save is half-way: the copy holds what
// was committed; a backup goes back in place only when it is sound and not of a newer schema.
#include "EmployeeAdmin.h"
#include "SqliteBackup.h"

#include "core/components/clsLoginUser.h"
#include "core/components/EmployeeLogin.h"
#include "hospitaldb/Migrations.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"

#include <QQueue>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kNurse = u"3150"_s;

admin::NewEmployee employee(const QString &code, const QStringList &rights = {})
{
    admin::NewEmployee e;
    e.code = code;
    e.lastName = u"BAUTISTA"_s;
    e.firstName = u"ELENA"_s;
    e.rights = rights;
    return e;
}

/// The login window with the new-password question answered from a script.
class NewPasswordPrompt : public test::ScriptedLoginPrompt
{
public:
    std::optional<QString> askNewPassword(const QString &, const QString &refusal) override
    {
        refusals << refusal;
        return chosen.isEmpty() ? std::nullopt : std::optional<QString>(chosen.dequeue());
    }
    QQueue<QString> chosen;
    QStringList refusals;
};

struct Workstation
{
    explicit Workstation(const ConnectionSettings &where)
    {
        ctx.loginPrompt = &prompt;
        ctx.openEmbedded = [where](const QString &) {
            auto db = Database::open(where);
            if (db)
                (*db)->setProcedures(hospitaldb::hospitalProcedures());
            return db;
        };
        // The component keeps its own copy of the context, so it comes last.
        login = std::make_unique<clsLoginUser>(ctx);
        login->setPasswordDeptCode(u"29"_s);
    }
    test::RecordingNotifier notifier;
    NewPasswordPrompt prompt;
    ComponentContext ctx{notifier};
    std::unique_ptr<clsLoginUser> login;
    clsLoginUser &user() { return *login; }
};

auto openFile(const QString &file)
{
    ConnectionSettings s;
    s.sqliteFile = file;
    return Database::open(s);
}

qint64 logs(const QString &file)
{
    auto db = openFile(file);
    if (!db)
        return -1;
    auto n = (*db)->scalar(u"select count(*) from STATION..tbStationLogs");
    return n ? n->toLongLong() : -1;
}

} // namespace

class tst_EmployeeAdmin : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void oneTimePasswordIsChangedAtFirstLogin();
    void addRefusesWhatTheHospitalDoesNotKnow();
    void disabledAndUnlocked();
    void backupCopiesWhatWasCommitted();
};

void tst_EmployeeAdmin::oneTimePasswordIsChangedAtFirstLogin()
{
    auto t = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(t, qPrintable(t ? QString() : t.error().message));
    Database &db = (*t)->db();
    QVERIFY(admin::addEmployee(db, employee(kNurse, {u"3"_s, u"10"_s})));
    const QString oneTime = admin::makeOneTimePassword();
    QCOMPARE(oneTime.size(), 10);
    QVERIFY(admin::makeOneTimePassword() != oneTime);
    auto stored = storePassword(db, kNurse, oneTime, true);
    QVERIFY(stored && *stored);
    auto rights = db.scalar(u"select EmployeeRights from STATION..tbNurseUserRights "
                            u"where EmployeeID = :c", {{u"c"_s, kNurse}});
    QCOMPARE(rights->toString(), u"|3|10"_s);

    // She types the one-time password again, then one too short, then her own.
    Workstation w((*t)->settings());
    w.prompt.answerLogin(kNurse, oneTime);
    w.prompt.chosen << oneTime << u"short"_s << u"mabuhay2026"_s;
    w.user().showmain();
    QVERIFY2(w.user().Connected(), qPrintable(w.prompt.loginRefusals().join(u'|')));
    QCOMPARE(w.user().EmployeeCode(), kNurse);
    QCOMPARE(w.prompt.refusals.size(), 3);
    QCOMPARE(w.prompt.refusals.at(0), clsLoginUser::newPasswordText());
    QVERIFY2(w.prompt.refusals.at(1).contains(u"other than"), qPrintable(w.prompt.refusals.at(1)));
    QVERIFY2(w.prompt.refusals.at(2).contains(u"at least 8"), qPrintable(w.prompt.refusals.at(2)));
    auto after = readEmployeeLogin(db, kNurse);
    QVERIFY(after && *after && !(*after)->mustChangePassword);
    QVERIFY(passwordMatches((*after)->passwordHash, u"mabuhay2026"_s));

    // Her own password logs her in without a question; cancelling the question ends a login.
    Workstation again((*t)->settings());
    again.prompt.answerLogin(kNurse, u"mabuhay2026"_s);
    again.user().showmain();
    QVERIFY(again.user().Connected());
    QVERIFY(again.prompt.refusals.isEmpty());
    QVERIFY(storePassword(db, kNurse, oneTime, true));
    Workstation cancelled((*t)->settings());
    cancelled.prompt.answerLogin(kNurse, oneTime);
    cancelled.user().showmain();
    QVERIFY(!cancelled.user().Connected());
    QCOMPARE(cancelled.prompt.loginAsks(), 1);
}

void tst_EmployeeAdmin::addRefusesWhatTheHospitalDoesNotKnow()
{
    auto t = test::TestDatabase::create(test::backendOfRow());
    QVERIFY(t);
    Database &db = (*t)->db();
    auto refused = admin::addEmployee(db, employee(u"2902"_s));
    QVERIFY2(!refused && refused.error().message.contains(u"already exists"),
             qPrintable(refused ? QString() : refused.error().message));
    refused = admin::addEmployee(db, employee(kNurse, {u"77"_s}));
    QVERIFY2(!refused && refused.error().message.contains(u"Right 77"),
             qPrintable(refused ? QString() : refused.error().message));
    QVERIFY(!readEmployeeLogin(db, kNurse).value());

    // The hospital's minimum, once set, is what a password is held to.
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) "
                    u"values ('PasswordMinLength', '12')"));
    auto tooShort = storePassword(db, u"2902"_s, u"elevenchars"_s, false);
    QVERIFY2(!tooShort && tooShort.error().message.contains(u"12"),
             qPrintable(tooShort ? QString() : tooShort.error().message));
}

void tst_EmployeeAdmin::disabledAndUnlocked()
{
    auto t = test::TestDatabase::create(test::backendOfRow());
    QVERIFY(t);
    Database &db = (*t)->db();
    const QString code = u"2903"_s;
    QVERIFY(db.exec(u"insert into PASSWORD..tbValidationFailures (EmployeeID, FailedAt) "
                    u"values (:c, getdate())", {{u"c"_s, code}}));
    QCOMPARE(admin::unlockEmployee(db, code).value(), true);
    QCOMPARE(db.scalar(u"select count(*) from PASSWORD..tbValidationFailures")->toInt(), 0);
    QCOMPARE(admin::disableEmployee(db, code).value(), true);
    QCOMPARE(admin::disableEmployee(db, u"0000"_s).value(), false);
    QCOMPARE(admin::unlockEmployee(db, u"0000"_s).value(), false);
    Workstation w((*t)->settings());
    w.prompt.answerLogin(code, u"circnurse"_s);
    w.user().showmain();
    QVERIFY(!w.user().Connected());
    QCOMPARE(w.prompt.loginRefusals().value(1), clsLoginUser::inactiveEmployeeText());
}

void tst_EmployeeAdmin::backupCopiesWhatWasCommitted()
{
    if (test::backendOfRow() != Backend::Sqlite)
        QSKIP("A PostgreSQL hospital is backed up with pg_dump.");
    KESTREL_OPEN_DEMO(db);
    const QString hospital = db.settings().sqliteFile;
    QTemporaryDir dir;
    const QString copy = dir.filePath(u"backup.sqlite"_s);
    const qint64 committed = logs(hospital);
    QVERIFY(committed > 0);
    {
        Transaction save = db.transaction();
        QVERIFY(db.exec(u"insert into STATION..tbStationLogs (IdNum, Remarks) "
                        u"values ('X', 'HALF-WAY')"));
        auto backedUp = admin::backupSqlite(hospital, copy);
        QVERIFY2(backedUp, qPrintable(backedUp ? QString() : backedUp.error().message));
    }
    QCOMPARE(logs(copy), committed);
    QVERIFY(!admin::backupSqlite(hospital, copy)); // never over a file

    // Back in place of a hospital that changed since: only when asked to replace it.
    QVERIFY(db.exec(u"delete from STATION..tbStationLogs"));
    auto refused = admin::restoreSqlite(copy, hospital, false);
    QVERIFY2(!refused && refused.error().message.contains(u"--replace"),
             qPrintable(refused ? QString() : refused.error().message));
    QVERIFY(admin::restoreSqlite(copy, hospital, true));
    QCOMPARE(logs(hospital), committed);

    // A backup of a later release, or a file that is no database, stays out.
    {
        auto later = openFile(copy);
        QVERIFY(later && hospitaldb::recordSchemaVersion(
                             **later, hospitaldb::latestSchemaVersion() + 1, u"later"_s));
    }
    auto newer = admin::restoreSqlite(copy, hospital, true);
    QVERIFY2(!newer && newer.error().message.contains(u"newer"),
             qPrintable(newer ? QString() : newer.error().message));
    QFile junk(dir.filePath(u"junk.sqlite"_s));
    QVERIFY(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    QVERIFY(!admin::restoreSqlite(junk.fileName(), hospital, true));
    QCOMPARE(logs(hospital), committed);
}

QTEST_GUILESS_MAIN(tst_EmployeeAdmin)
#include "tst_employeeadmin.moc"
