// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// A new hospital adopts Kestrel: IT creates its database with kestrel-admin (no demo rows),
// imports the sample master files and adds a nurse; her workstation reaches the server through
// its service (TLS when offered) as the workstation role, or opens the embedded file, and she
// charges an imported item to a patient the admitting office admitted. An upgrade killed half-way
// leaves the database at the version before, and the next upgrade finishes.
#include "AdminCommands.h"
#include "charging/ChargingFixture.h"
#include "core/components/clsLoginUser.h"
#include "hospitaldb/Migrations.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kNurse = u"3150"_s;

const QString kHospital = u"SAN ISIDRO LABRADOR GENERAL HOSPITAL"_s;
const QString kAddress = u"12 RIZAL STREET, POBLACION, STA. CRUZ, LAGUNA 4009"_s;
// The test program plays kestrel-admin when its first argument says so (main() below), with an
// upgrade that stops before the commit of the migration the second argument names.
const QString kAsAdmin = u"--as-kestrel-admin-pausing-before"_s;

QStringList connectionOf(const ConnectionSettings &s)
{
    if (s.backend == Backend::Sqlite)
        return {u"--sqlite"_s, s.sqliteFile};
    return {u"--host"_s, s.host, u"--port"_s, QString::number(s.port), u"--user"_s, s.user,
            u"--dbname"_s, s.database};
}

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
    void killedUpgradeGoesOnAgain();
};

void tst_AdminEndToEnd::hospitalAdoptsKestrel()
{
    const bool pg = test::backendOfRow() == Backend::Postgres;
    QTemporaryDir workstation;
    ConnectionSettings hospital;
    hospital.sqliteFile = workstation.filePath(u"hospital.sqlite"_s);
    QStringList roles;
    std::unique_ptr<Database> serverDb;
    // Names made from the process id, never from anything typed.
    const QString tag = QString::number(QCoreApplication::applicationPid());
    const QString database = u"kestrel_adopt_"_s + tag;
    const QString owner = u"kestrel_adopt_owner_"_s + tag;
    const QString workstationRole = u"kestrel_adopt_ws_"_s + tag;
    struct Cleanup
    {
        std::unique_ptr<Database> &db;
        QString database, owner, workstation;
        ~Cleanup()
        {
            if (!db)
                return;
            (void)db->execRaw(u"DROP DATABASE IF EXISTS %1 WITH (FORCE)"_s.arg(database));
            (void)db->execRaw(u"DROP ROLE IF EXISTS %1"_s.arg(workstation));
            (void)db->execRaw(u"DROP ROLE IF EXISTS %1"_s.arg(owner));
        }
    } cleanup{serverDb, database, owner, workstationRole};
    if (pg) {
        const QStringList server = qEnvironmentVariable("KESTREL_TEST_PG").split(u':');
        QVERIFY(server.size() >= 3);
        hospital.backend = Backend::Postgres;
        hospital.host = server.at(0);
        hospital.port = server.at(1).toInt();
        hospital.user = server.at(2);
        hospital.database = u"postgres"_s;
        auto opened = Database::open(hospital);
        QVERIFY2(opened, qPrintable(opened ? QString() : opened.error().message));
        auto mayCreateRoles = (*opened)->scalar(
            u"select rolcreaterole or rolsuper from pg_roles where rolname = current_user");
        if (!mayCreateRoles || !mayCreateRoles->toBool())
            QSKIP("The test server's login may not create roles (scripts/run-tests gives it that).");
        serverDb = std::move(*opened);
        QVERIFY(serverDb->execRaw(u"CREATE DATABASE %1"_s.arg(database)));
        hospital.database = database;
        roles = {u"--owner-role"_s, owner, u"--workstation-role"_s, workstationRole};
    }

    // IT's side: create (the hospital's own name, no demo rows), import, a nurse.
    Admin it{connectionOf(hospital), {}};
    const QStringList create{u"create"_s, u"--hospital-name"_s, kHospital, u"--address"_s,
                             kAddress};
    QCOMPARE(it.run(create + roles), 0);
    const QString scrambleKey = it.output.section(u"ScrambleKey="_s, 1).section(u'\n', 0, 0);
    QVERIFY2(scrambleKey.size() >= 16, qPrintable(it.output));
    QCOMPARE(it.run(create), 3);
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
    // The admitting office admits a patient: its rows, not Kestrel's.
    auto office = Database::open(hospital);
    QVERIFY(office && (*office)->exec(u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, "
                                      u"FirstName) values ('1', 'AQUINO', 'LORNA')"));
    QVERIFY((*office)->exec(u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, RoomID) "
                            u"values ('1', '1', '401')"));
    office->reset();
    LoginRequest asNurse;
    asNurse.source = pg ? LoginSource::Installed : LoginSource::Embedded;
    asNurse.employeeCode = kNurse;
    asNurse.password = oneTime;
    Nurse nurse;
    nurse.answerLogin(asNurse);

    // The workstation as IT deploys it: a service, TLS when the server has a certificate; or
    // the embedded file.
    const QString ca = qEnvironmentVariable("KESTREL_TEST_PG_CA");
    {
        QFile service(workstation.filePath(u"pg_service.conf"_s));
        QVERIFY(service.open(QIODevice::WriteOnly));
        service.write(QStringLiteral("[hospital]\nhost=%1\nport=%2\ndbname=%3\nuser=%4\n")
                          .arg(hospital.host, QString::number(hospital.port), database,
                               workstationRole)
                          .toUtf8());
        QFile installation(workstation.filePath(u"kestrel-installation.ini"_s));
        QVERIFY(installation.open(QIODevice::WriteOnly));
        installation.write(QStringLiteral("[Installation]\nScrambleKey=%1\n[Server]\n"
                                          "Service=hospital\nSslMode=%2\nSslRootCert=%3\n")
                               .arg(scrambleKey, ca.isEmpty() ? u"prefer"_s : u"verify-full"_s, ca)
                               .toUtf8());
    }
    qputenv("PGSERVICEFILE", QFile::encodeName(workstation.filePath(u"pg_service.conf"_s)));
    test::RecordingNotifier notifier;
    ComponentContext ctx(notifier);
    ctx.loginPrompt = &nurse;
    ctx.applicationPath = workstation.path();
    ctx.procedures = hospitaldb::hospitalProcedures();
    ctx.embeddedPath = hospital.sqliteFile;
    ctx.openEmbedded = [&](const QString &) { return Database::open(hospital); };
    auto login = std::make_unique<clsLoginUser>(ctx);
    login->setPasswordDeptCode(u"29"_s);
    login->showmain();
    QVERIFY2(login->Connected(), qPrintable(nurse.loginRefusals().join(u'|')));
    Database &db = *login->sqlconnection();
    db.setProcedures(hospitaldb::hospitalProcedures());
    if (pg) {
        QCOMPARE(login->UserID(), workstationRole);
        QCOMPARE(login->servername(), u"hospital"_s);
        if (!ca.isEmpty()) {
            auto tls = db.scalar(u"select ssl from pg_stat_ssl where pid = pg_backend_pid()");
            QVERIFY(tls && tls->toBool());
        }
        // Rows only: nothing can be created, altered or dropped from a workstation.
        QVERIFY(!db.execRaw(u"CREATE TABLE station.tbIntruder (x int)"_s));
        QVERIFY(!db.execRaw(u"ALTER TABLE station.tbStationLogs ADD COLUMN Intruder int"_s));
        QVERIFY(!db.execRaw(u"DROP TABLE station.tbStationLogs"_s));
    }
    QCOMPARE(db.scalar(u"select MustChangePassword from PASSWORD..tbPasswordMaster "
                       u"where EmployeeID = :c", {{u"c"_s, kNurse}})->toInt(), 0);

    // She charges the new patient for an hour of the endoscopy suite, at the imported rate, on
    // the new hospital's first charge slip.
    {
        test::ChargeEntryFixture w(db);
        w.f.session.setCurrentUser(login.get());
        QCOMPARE(w.f.session.hospital.Company, kHospital);
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
        QCOMPARE(w.counter(u"ChargeSlip") + w.counter(u"IChargeSlip"), 3);
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

void tst_AdminEndToEnd::killedUpgradeGoesOnAgain()
{
    // The release before this one: the demo hospital without the last migration's tables,
    // indexes and columns.
    KESTREL_OPEN_DEMO(db);
    const hospitaldb::Migration &last = hospitaldb::migrations().constLast();
    static const QRegularExpression made(u"^(?:CREATE TABLE (\\S+)|CREATE INDEX (\\S+) ON "
                                         u"(\\S+?)\\.\\.|ALTER TABLE (\\S+) ADD COLUMN (\\S+))"_s);
    for (auto s = last.statements.crbegin(); s != last.statements.crend(); ++s) {
        const QRegularExpressionMatch m = made.match(*s);
        const QString undo = !m.hasMatch()       ? QString()
                             : m.capturedLength(1) ? u"DROP TABLE "_s + m.captured(1)
                             : m.capturedLength(2)
                                 ? u"DROP INDEX %1..%2"_s.arg(m.captured(3), m.captured(2))
                                 : u"ALTER TABLE %1 DROP COLUMN %2"_s.arg(m.captured(4),
                                                                         m.captured(5));
        QVERIFY2(undo.isEmpty() || db.execRaw(db.mapNames(undo)), qPrintable(undo));
    }
    QVERIFY(db.exec(u"delete from STATION..tbSchemaVersion where Version = :v",
                    {{u"v"_s, last.version}}));
    if (hospitaldb::schemaVersion(db).value() != last.version - 1)
        QVERIFY(hospitaldb::recordSchemaVersion(db, last.version - 1, u"The release before"_s));
    const auto rows = [&] {
        return db.scalar(u"select (select count(*) from PASSWORD..tbPasswordMaster) + "
                         u"(select count(*) from STATION..tbNurseLogBook)")->toLongLong();
    };
    const qint64 before = rows();

    QProcess upgrade;
    upgrade.start(QCoreApplication::applicationFilePath(),
                  QStringList{kAsAdmin, QString::number(last.version), u"upgrade"_s} +
                      connectionOf((*dbResult)->settings()));
    QString said;
    while (!said.contains(u"paused") && upgrade.waitForReadyRead(60000))
        said += QString::fromUtf8(upgrade.readAllStandardOutput());
    QVERIFY2(said.contains(u"paused before committing %1"_s.arg(last.version)), qPrintable(said));
    upgrade.kill(); // SIGKILL: no handler, no clean-up
    QVERIFY(upgrade.waitForFinished(30000) && upgrade.exitStatus() == QProcess::CrashExit);
    QCOMPARE(hospitaldb::schemaVersion(db).value(), last.version - 1);
    QCOMPARE(rows(), before);

    // Once more, to the end: a half-kept migration would fail on what it made the first time.
    Admin it{connectionOf((*dbResult)->settings()), {}};
    QVERIFY2(it.run({u"upgrade"_s}) == 0, qPrintable(it.output));
    QCOMPARE(hospitaldb::schemaVersion(db).value(), last.version);
    QCOMPARE(rows(), before);
}

int main(int argc, char *argv[])
{
    if (argc > 2 && QString::fromLocal8Bit(argv[1]) == kAsAdmin) {
        QCoreApplication app(argc, argv);
        QStringList arguments = QCoreApplication::arguments().mid(3);
        const int pauseBefore = QCoreApplication::arguments().at(2).toInt();
        admin::AdminHooks hooks;
        hooks.beforeMigrationCommit = [pauseBefore](int version) {
            if (version != pauseBefore)
                return;
            QTextStream(stdout) << "paused before committing " << version << Qt::endl;
            QThread::sleep(300);
        };
        return admin::runAdmin(arguments, hooks);
    }
    QTEST_MAIN_SETUP()
    tst_AdminEndToEnd test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_adminendtoend.moc"
