// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "HospitalCreation.h"

#include "EmployeeAdmin.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/Migrations.h"
#include "hospitaldb/Schema.h"

#include <QRegularExpression>

namespace kestrel::admin {

namespace {

constexpr int kScrambleKeyLength = 20;

bool isPlainRoleName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[a-z_][a-z0-9_]{0,62}$"));
    return plain.match(name).hasMatch();
}

QStringList hospitalSchemas()
{
    QStringList schemas;
    for (const QString &database : hospitaldb::schemaDatabases())
        schemas << database.toLower();
    return schemas;
}

Result<void> run(Database &db, const QString &sql)
{
    return db.execRaw(sql);
}

// Makes `role` unless it exists; an existing one must not be a superuser, since the whole
// point of the two roles is what they cannot do.
Result<void> ensureRole(Database &db, const QString &role, bool login)
{
    auto found = db.selectOne(u"select rolsuper, rolcreaterole from pg_roles where rolname = :r",
                              {{QStringLiteral("r"), role}});
    if (!found)
        return tl::unexpected(found.error());
    if (*found) {
        if ((**found).flag(u"rolsuper") || (**found).flag(u"rolcreaterole"))
            return failure(QStringLiteral("The role %1 exists and may create roles or is a "
                                          "superuser: choose another name.")
                               .arg(role));
        return {};
    }
    return run(db, QStringLiteral("CREATE ROLE %1 %2")
                       .arg(quotedIdentifier(role), login ? u"LOGIN" : u"NOLOGIN"));
}

Result<void> createRolesAndGrants(Database &db, const CreateOptions &o, bool before)
{
    const QString owner = quotedIdentifier(o.ownerRole);
    const QString workstation = quotedIdentifier(o.workstationRole);
    if (before) {
        if (auto ok = ensureRole(db, o.ownerRole, false); !ok)
            return ok;
        if (auto ok = ensureRole(db, o.workstationRole, true); !ok)
            return ok;
        auto database = db.scalar(u"select current_database()");
        if (!database)
            return tl::unexpected(database.error());
        const QString name = quotedIdentifier(database->toString());
        for (const QString &sql : {
                 // The login that runs this acts as the owner while it creates the tables.
                 QStringLiteral("GRANT %1 TO CURRENT_USER").arg(owner),
                 QStringLiteral("GRANT CONNECT, CREATE ON DATABASE %1 TO %2").arg(name, owner),
                 QStringLiteral("GRANT CONNECT ON DATABASE %1 TO %2").arg(name, workstation),
             }) {
            if (auto ok = run(db, sql); !ok)
                return ok;
        }
        return {};
    }
    // As the owner, after the tables: rows for the workstations, now and in later tables.
    for (const QString &schema : hospitalSchemas()) {
        for (const QString &sql : {
                 QStringLiteral("GRANT USAGE ON SCHEMA %1 TO %2"),
                 QStringLiteral("GRANT SELECT, INSERT, UPDATE, DELETE ON ALL TABLES IN SCHEMA %1 "
                                "TO %2"),
                 QStringLiteral("GRANT USAGE, SELECT, UPDATE ON ALL SEQUENCES IN SCHEMA %1 TO %2"),
                 QStringLiteral("ALTER DEFAULT PRIVILEGES FOR ROLE %3 IN SCHEMA %1 "
                                "GRANT SELECT, INSERT, UPDATE, DELETE ON TABLES TO %2"),
                 QStringLiteral("ALTER DEFAULT PRIVILEGES FOR ROLE %3 IN SCHEMA %1 "
                                "GRANT USAGE, SELECT, UPDATE ON SEQUENCES TO %2"),
             }) {
            const QString text = sql.contains(u"%3") ? sql.arg(schema, workstation, owner)
                                                     : sql.arg(schema, workstation);
            if (auto ok = run(db, text); !ok)
                return ok;
        }
    }
    return {};
}

} // namespace

QString quotedIdentifier(const QString &name)
{
    if (isPlainRoleName(name))
        return name;
    QString quoted = name;
    quoted.replace(u'"', QStringLiteral("\"\""));
    return u'"' + quoted + u'"';
}

Result<QString> refusalToCreate(Database &db)
{
    auto hospital = hospitaldb::holdsHospital(db);
    if (!hospital)
        return tl::unexpected(hospital.error());
    if (*hospital)
        return QStringLiteral("This database already holds a hospital. Use \"upgrade\" to bring "
                              "it to this release, or create the hospital in an empty database.");
    Result<RowSet> others;
    if (db.backend() == Backend::Sqlite) {
        others = db.select(u"select name from sqlite_master where type in ('table', 'view') "
                           u"and name not like 'sqlite%' order by name");
    } else {
        others =
            db.select(u"select n.nspname || '.' || c.relname as name from pg_class c "
                      u"join pg_namespace n on n.oid = c.relnamespace "
                      u"where c.relkind in ('r', 'p', 'v', 'm', 'f') "
                      u"and n.nspname not in ('pg_catalog', 'information_schema') "
                      u"and n.nspname not like 'pg_toast%' "
                      u"union all select nspname from pg_namespace where nspname = any(:s) "
                      u"order by 1",
                      {{QStringLiteral("s"), QString(u'{' + hospitalSchemas().join(u',') + u'}')}});
    }
    if (!others)
        return tl::unexpected(others.error());
    if (others->isEmpty())
        return QString();
    QStringList names;
    for (const Row &r : *others) {
        if (names.size() < 5)
            names << r.trimmed(u"name");
    }
    return QStringLiteral("This database is not empty: it holds %1 object(s) of its own (%2%3). "
                          "Create the hospital in an empty database.")
        .arg(others->count())
        .arg(names.join(QStringLiteral(", ")), others->count() > 5 ? u", ..." : u"");
}

Result<CreateOutcome> createHospital(Database &db, const CreateOptions &o)
{
    const bool pg = db.backend() == Backend::Postgres;
    if (pg && (!isPlainRoleName(o.ownerRole) || !isPlainRoleName(o.workstationRole) ||
               o.ownerRole == o.workstationRole))
        return failure(QStringLiteral("Role names are two different names of lower-case letters, "
                                      "digits and \"_\"."));
    if (!o.demo && (o.identity.name.trimmed().isEmpty() || o.identity.address.trimmed().isEmpty()))
        return failure(QStringLiteral("A new hospital needs its name and address: they head "
                                      "every printed form."));
    auto refusal = refusalToCreate(db);
    if (!refusal)
        return tl::unexpected(refusal.error());
    if (!refusal->isEmpty())
        return failure(*refusal);

    CreateOutcome outcome;
    Transaction tx = db.transaction();
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    if (pg) {
        if (auto ok = createRolesAndGrants(db, o, true); !ok)
            return tl::unexpected(ok.error());
    }
    // The text type and the server's functions belong to the database, made by its owner.
    if (auto ok = hospitaldb::prepareServerDatabase(db); !ok)
        return tl::unexpected(ok.error());
    if (pg) {
        if (auto ok = run(db, QStringLiteral("SET LOCAL ROLE %1").arg(o.ownerRole)); !ok)
            return tl::unexpected(ok.error());
    }
    if (auto ok = hospitaldb::createHospitalTables(db); !ok)
        return tl::unexpected(ok.error());
    if (o.demo) {
        if (auto ok = hospitaldb::createDemoHospital(db, QDate::currentDate()); !ok)
            return tl::unexpected(ok.error());
        outcome.scrambleKey = hospitaldb::demoScrambleKey();
    } else {
        outcome.scrambleKey = randomText(kScrambleKeyLength);
        auto ok = db.exec(u"insert into PASSWORD..tbPasswordKey (ScrambleKey) values (:key)",
                          {{QStringLiteral("key"), outcome.scrambleKey}});
        if (!ok)
            return tl::unexpected(ok.error());
        const hospitaldb::HospitalIdentity identity{o.identity.name.trimmed(),
                                                    o.identity.address.trimmed()};
        if (auto written = hospitaldb::writeHospitalSettings(db, identity, o.station); !written)
            return tl::unexpected(written.error());
    }
    if (pg) {
        if (auto ok = createRolesAndGrants(db, o, false); !ok)
            return tl::unexpected(ok.error());
    }
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return outcome;
}

Result<QString> schemaOwnerToAssume(Database &db)
{
    if (db.backend() != Backend::Postgres)
        return QString();
    auto owner = db.selectOne(u"select r.rolname, pg_has_role(current_user, r.oid, 'MEMBER') "
                              u"as member from pg_namespace n join pg_roles r "
                              u"on r.oid = n.nspowner where n.nspname = 'station'");
    if (!owner)
        return tl::unexpected(owner.error());
    if (!*owner || !(**owner).flag(u"member"))
        return QString();
    return (**owner).trimmed(u"rolname");
}

} // namespace kestrel::admin
