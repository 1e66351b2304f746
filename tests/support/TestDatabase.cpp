// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "support/TestDatabase.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "hospitaldb/Schema.h"

#include <QCoreApplication>
#include <QFile>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

namespace kestrel::test {

namespace {

QString contentTag(TestDatabase::Content c)
{
    return QStringList{"demo", "schema", "empty"}.at(int(c));
}

Result<void> fill(Database &db, TestDatabase::Content content)
{
    if (content == TestDatabase::Content::Empty)
        return hospitaldb::prepareServerDatabase(db);
    auto ok = hospitaldb::applySchema(db);
    if (ok && content == TestDatabase::Content::Demo)
        return hospitaldb::createDemoHospital(db, fixtureToday());
    return ok;
}

QTemporaryDir &scratch()
{
    static QTemporaryDir dir;
    return dir;
}

// Each process builds each kind of template once; every test then gets a copy of it.
QHash<QString, QString> &templates()
{
    static QHash<QString, QString> names;
    return names;
}

Result<ConnectionSettings> serverSettings(const QString &database)
{
    const QStringList parts = qEnvironmentVariable("KESTREL_TEST_PG").split(u':');
    if (parts.size() < 3)
        return failure(QStringLiteral("KESTREL_TEST_PG must be host:port:user"));
    ConnectionSettings s;
    s.backend = Backend::Postgres;
    s.host = parts.at(0);
    s.port = parts.at(1).toInt();
    s.user = parts.at(2);
    s.database = database;
    s.workstation = QStringLiteral("OR-TEST-01");
    return s;
}

Result<std::unique_ptr<Database>> serverAdmin()
{
    auto s = serverSettings(QStringLiteral("postgres"));
    if (!s)
        return tl::unexpected(s.error());
    auto db = Database::open(*s);
    // "does not exist, skipping" is no news to a test run.
    if (db)
        (void)(*db)->execRaw(QStringLiteral("SET client_min_messages TO warning"));
    return db;
}

void dropServerTemplates()
{
    auto admin = serverAdmin();
    if (!admin)
        return;
    for (const QString &name : std::as_const(templates())) {
        if (name.startsWith(u"kestrel_tmpl_"))
            (void)(*admin)->execRaw(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name));
    }
}

// Makes the server's database `name` anew: empty, or a copy of the database `from`.
Result<void> recreateOnServer(const QString &name, const QString &from = {})
{
    auto admin = serverAdmin();
    if (!admin)
        return tl::unexpected(admin.error());
    if (auto ok = (*admin)->execRaw(QStringLiteral("DROP DATABASE IF EXISTS %1").arg(name)); !ok)
        return ok;
    const QString copy = from.isEmpty() ? QString() : QStringLiteral(" TEMPLATE ") + from;
    return (*admin)->execRaw(QStringLiteral("CREATE DATABASE %1%2").arg(name, copy));
}

Result<QString> serverTemplate(TestDatabase::Content content)
{
    const QString key = u"pg-" + contentTag(content);
    if (templates().contains(key))
        return templates().value(key);
    // Database names are made here from the process id, never from anything typed.
    const QString name = QStringLiteral("kestrel_tmpl_%1_%2")
                             .arg(QCoreApplication::applicationPid())
                             .arg(contentTag(content));
    if (auto ok = recreateOnServer(name); !ok)
        return tl::unexpected(ok.error());
    if (templates().isEmpty())
        qAddPostRoutine(dropServerTemplates);
    templates().insert(key, name);
    auto s = serverSettings(name);
    auto db = Database::open(*s);
    if (!db)
        return tl::unexpected(db.error());
    if (auto ok = fill(**db, content); !ok)
        return tl::unexpected(ok.error());
    return name;
}

Result<QString> fileTemplate(TestDatabase::Content content)
{
    const QString key = u"file-" + contentTag(content);
    if (templates().contains(key))
        return templates().value(key);
    if (!scratch().isValid())
        return failure(QStringLiteral("No scratch folder for test databases."));
    const QString path =
        scratch().filePath(QStringLiteral("template-%1.sqlite").arg(contentTag(content)));
    {
        ConnectionSettings s;
        s.sqliteFile = path;
        s.workstation = QStringLiteral("OR-TEST-01");
        auto db = Database::open(s);
        if (!db)
            return tl::unexpected(db.error());
        // One file without a write-ahead log copies as a whole.
        if (auto ok = (*db)->execRaw(QStringLiteral("PRAGMA journal_mode=DELETE")); !ok)
            return tl::unexpected(ok.error());
        if (auto ok = fill(**db, content); !ok) {
            // A half-made template would fail every later test for the wrong reason.
            db->reset();
            QFile::remove(path);
            return tl::unexpected(ok.error());
        }
    }
    templates().insert(key, path);
    return path;
}

} // namespace

QDate fixtureToday()
{
    return QDate(2026, 12, 1);
}

QDateTime fixtureNow()
{
    return QDateTime(fixtureToday(), QTime(10, 0, 0));
}

void addBackendRows()
{
    QTest::addColumn<QString>("backend");
    const QString choice = qEnvironmentVariable("KESTREL_TEST_BACKEND", QStringLiteral("sqlite"));
    if (choice == u"sqlite" || choice == u"both")
        QTest::newRow("sqlite") << QStringLiteral("sqlite");
    if (choice == u"postgres" || choice == u"both")
        QTest::newRow("postgres") << QStringLiteral("postgres");
}

Backend backendOfRow()
{
    QFETCH_GLOBAL(QString, backend);
    return backend == u"postgres" ? Backend::Postgres : Backend::Sqlite;
}

Result<std::unique_ptr<TestDatabase>> TestDatabase::create(Backend backend, Content content)
{
    static int serial = 0;
    std::unique_ptr<TestDatabase> t(new TestDatabase);
    const int n = ++serial;
    if (backend == Backend::Sqlite) {
        auto tmpl = fileTemplate(content);
        if (!tmpl)
            return tl::unexpected(tmpl.error());
        const QString path = scratch().filePath(QStringLiteral("test-%1.sqlite").arg(n));
        QFile::remove(path);
        if (!QFile::copy(*tmpl, path))
            return failure(QStringLiteral("Could not copy the test hospital to %1.").arg(path));
        QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        t->m_settings.sqliteFile = path;
        t->m_settings.workstation = QStringLiteral("OR-TEST-01");
    } else {
        auto tmpl = serverTemplate(content);
        if (!tmpl)
            return tl::unexpected(tmpl.error());
        t->m_dropName =
            QStringLiteral("kestrel_test_%1_%2").arg(QCoreApplication::applicationPid()).arg(n);
        if (auto ok = recreateOnServer(t->m_dropName, *tmpl); !ok)
            return tl::unexpected(ok.error());
        t->m_settings = *serverSettings(t->m_dropName);
    }
    auto db = Database::open(t->m_settings);
    if (!db)
        return tl::unexpected(db.error());
    t->m_db = std::move(*db);
    t->m_db->setProcedures(hospitaldb::hospitalProcedures());
    if (auto ok = t->m_db->pinClock(fixtureNow()); !ok)
        return tl::unexpected(ok.error());
    return t;
}

Result<std::unique_ptr<Database>> TestDatabase::openWorkstation(int n) const
{
    ConnectionSettings own = m_settings;
    own.workstation = QStringLiteral("OR-WS-0%1").arg(n);
    auto db = Database::open(own);
    if (!db)
        return db;
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    if (auto ok = (*db)->pinClock(fixtureNow()); !ok)
        return tl::unexpected(ok.error());
    return db;
}

TestDatabase::~TestDatabase()
{
    m_db.reset();
    if (m_dropName.isEmpty())
        return;
    if (auto admin = serverAdmin())
        (void)(*admin)->execRaw(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(m_dropName));
}

} // namespace kestrel::test
