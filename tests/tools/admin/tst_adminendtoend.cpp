// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// A hospital adopts Kestrel on its PostgreSQL server: IT creates the database with kestrel-admin,
// imports the sample master files and adds a nurse; her workstation reaches the server through
// its service (TLS when offered) as the workstation role, and she charges an imported item.
#include "charging/ChargingFixture.h"
#include "core/components/clsLoginUser.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kNurse = u"3150"_s;

struct Admin
{
    QStringList connection;
    QString output;
    int run(QStringList arguments)
    {
        QProcess p;
        p.setProgram(QStringLiteral(KESTREL_ADMIN));
        p.setArguments(arguments << connection);
        p.start();
        p.waitForFinished(120000);
        output = QString::fromUtf8(p.readAllStandardOutput() + p.readAllStandardError());
        return p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1;
    }
};

/// The nurse at the login window, who chooses her own password when asked.
struct Nurse : test::ScriptedLoginPrompt
{
    std::optional<QString> askNewPassword(const QString &, const QString &) override
    {
        return u"Mabuhay-2026"_s;
    }
};

} // namespace

class tst_AdminEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void hospitalAdoptsKestrel();
};

void tst_AdminEndToEnd::hospitalAdoptsKestrel()
{
    if (test::backendOfRow() == Backend::Sqlite)
        QSKIP("A hospital's own server is PostgreSQL.");
    const QStringList server = qEnvironmentVariable("KESTREL_TEST_PG").split(u':');
    QVERIFY(server.size() >= 3);
    ConnectionSettings admin;
    admin.backend = Backend::Postgres;
    admin.host = server.at(0);
    admin.port = server.at(1).toInt();
    admin.user = server.at(2);
    admin.database = u"postgres"_s;
    auto serverDb = Database::open(admin);
    QVERIFY2(serverDb, qPrintable(serverDb ? QString() : serverDb.error().message));
    auto mayCreateRoles = (*serverDb)->scalar(
        u"select rolcreaterole or rolsuper from pg_roles where rolname = current_user");
    if (!mayCreateRoles || !mayCreateRoles->toBool())
        QSKIP("The test server's login may not create roles (scripts/run-tests gives it that).");

    // Names made from the process id, never from anything typed.
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString database = u"kestrel_adopt_"_s + tag;
    const QString owner = u"kestrel_adopt_owner_"_s + tag;
    const QString workstationRole = u"kestrel_adopt_ws_"_s + tag;
    struct Cleanup
    {
        Database &db;
        QString database, owner, workstation;
        ~Cleanup()
        {
            (void)db.execRaw(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(database));
            (void)db.execRaw(u"DROP ROLE IF EXISTS %1"_s.arg(workstation));
            (void)db.execRaw(u"DROP ROLE IF EXISTS %1"_s.arg(owner));
        }
    } cleanup{**serverDb, database, owner, workstationRole};
    QVERIFY((*serverDb)->execRaw(u"CREATE DATABASE %1"_s.arg(database)));

    // IT's side: create, import, a nurse.
    Admin it;
    it.connection = {u"--host"_s, admin.host, u"--port"_s,   server.at(1),
                     u"--user"_s, admin.user, u"--dbname"_s, database};
    QCOMPARE(it.run({u"create"_s, u"--demo"_s, u"--owner-role"_s, owner,
                     u"--workstation-role"_s, workstationRole}), 0);
    QVERIFY2(it.output.contains(u"ScrambleKey=KESTRELORDEMO"), qPrintable(it.output));
    QCOMPARE(it.run({u"create"_s}), 3);
    QVERIFY2(it.output.contains(u"already holds a hospital"), qPrintable(it.output));
    QStringList import{u"import"_s};
    for (const char *kind : {"revenue-codes", "rooms", "doctors", "items", "employees"})
        import << QString::fromLatin1(kind)
               << QStringLiteral(KESTREL_SAMPLES_DIR "/%1.csv").arg(QLatin1String(kind));
    QCOMPARE(it.run(import), 0);
    QVERIFY2(it.output.contains(u"Imported 3 revenue-codes, 4 rooms, 7 doctors, 21 items, "
                                u"5 employees."),
             qPrintable(it.output));
    QCOMPARE(it.run({u"employee"_s, u"add"_s, kNurse, u"--last-name"_s, u"BAUTISTA"_s,
                     u"--first-name"_s, u"MA. ELENA"_s, u"--rights"_s, u"1|3|10|25|36"_s}), 0);
    const QString oneTime = it.output.section(u"One-time password: "_s, 1).section(u' ', 0, 0);
    QCOMPARE(oneTime.size(), 10);
    LoginRequest asNurse;
    asNurse.source = LoginSource::Installed;
    asNurse.employeeCode = kNurse;
    asNurse.password = oneTime;
    Nurse nurse;
    nurse.answerLogin(asNurse);

    // The workstation as IT deploys it: a service, TLS when the server has a certificate.
    QTemporaryDir workstation;
    const QString ca = qEnvironmentVariable("KESTREL_TEST_PG_CA");
    {
        QFile service(workstation.filePath(u"pg_service.conf"_s));
        QVERIFY(service.open(QIODevice::WriteOnly));
        service.write(QStringLiteral("[hospital]\nhost=%1\nport=%2\ndbname=%3\nuser=%4\n")
                          .arg(admin.host, server.at(1), database, workstationRole)
                          .toUtf8());
        QFile installation(workstation.filePath(u"kestrel-installation.ini"_s));
        QVERIFY(installation.open(QIODevice::WriteOnly));
        installation.write(QStringLiteral("[Installation]\nScrambleKey=KESTRELORDEMO\n[Server]\n"
                                          "Service=hospital\nSslMode=%1\nSslRootCert=%2\n")
                               .arg(ca.isEmpty() ? u"prefer"_s : u"verify-full"_s, ca)
                               .toUtf8());
    }
    qputenv("PGSERVICEFILE", QFile::encodeName(workstation.filePath(u"pg_service.conf"_s)));
    test::RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    ctx.loginPrompt = &nurse;
    ctx.applicationPath = workstation.path();
    ctx.procedures = hospitaldb::hospitalProcedures();
    auto login = std::make_unique<clsLoginUser>(ctx);
    login->setPasswordDeptCode(u"29"_s);
    login->showmain();
    QVERIFY2(login->Connected(), qPrintable(nurse.loginRefusals().join(u'|')));
    QCOMPARE(login->UserID(), workstationRole);
    QCOMPARE(login->servername(), u"hospital"_s);
    Database &db = *login->sqlconnection();
    if (!ca.isEmpty()) {
        auto tls = db.scalar(u"select ssl from pg_stat_ssl where pid = pg_backend_pid()");
        QVERIFY(tls && tls->toBool());
    }
    // Rows only: nothing can be created, altered or dropped from a workstation.
    QVERIFY(!db.execRaw(u"CREATE TABLE station.tbIntruder (x int)"_s));
    QVERIFY(!db.execRaw(u"ALTER TABLE station.tbStationLogs ADD COLUMN Intruder int"_s));
    QVERIFY(!db.execRaw(u"DROP TABLE station.tbStationLogs"_s));
    QCOMPARE(db.scalar(u"select MustChangePassword from PASSWORD..tbPasswordMaster "
                       u"where EmployeeID = :c", {{u"c"_s, kNurse}})->toInt(), 0);

    // She charges an inpatient for an hour of the endoscopy suite, at the imported rate.
    {
        test::ChargeEntryFixture w(db);
        w.f.session.setCurrentUser(login.get());
        QVERIFY(w.selectOpenStay());
        const CurrentPatientRecord stay = w.f.session.CurrentPatient;
        QVERIFY2(w.entry.open(), qPrintable(w.f.notifier.lastText()));
        w.entry.setSaving(&w.posting);
        using Column = ChargeEntryLine::Column;
        QCOMPARE(w.type(1, Column::Department, u"EN"_s), CellAnswer::Accept);
        w.pickList.codes.enqueue(u"EN2101"_s); // the item list opens, and she picks it
        QCOMPARE(w.type(1, Column::Item, u"EN2101"_s), CellAnswer::Accept);
        QCOMPARE(w.type(1, Column::Quantity, u"2"_s), CellAnswer::Accept);
        const Money rate = w.line(1).line.unitPriceValue();
        w.f.notifier.answer({true});
        w.f.dialogs.sign(kNurse);
        w.entry.save();
        QVERIFY2(w.entry.lines().isEmpty(), qPrintable(w.f.notifier.lastText()));
        auto posted = db.selectOne(u"select Amount, UserID, ReferenceNum from "
                                   u"STATION..tbNurseLogBook where IDNum = :id and "
                                   u"ItemID = 'EN2101'",
                                   {{u"id"_s, stay.IdNum}});
        QVERIFY(posted && *posted);
        QCOMPARE((*posted)->money(u"Amount"), rate * 2);
        QCOMPARE((*posted)->trimmed(u"UserID"), kNurse);
        QVERIFY(!(*posted)->trimmed(u"ReferenceNum").isEmpty());
        // The stay's rate letter (A, an HMO's H, ...) picks one of the imported rates.
        auto rates = db.selectOne(u"select * from BUILD_FILE..tbCoOtherRevenue "
                                  u"where OtherRevenueID = 'EN2101'");
        QVERIFY(rates && *rates);
        QStringList letters;
        for (QChar letter : u"ABCDEFGHI"_s)
            letters << (*rates)->money(QString(u"Rate"_s + letter)).toString();
        QVERIFY2(letters.contains(rate.toString()), qPrintable(letters.join(u' ')));
    }
    login.reset();
}

QTEST_MAIN(tst_AdminEndToEnd)
#include "tst_adminendtoend.moc"
