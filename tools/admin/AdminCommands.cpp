// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "AdminCommands.h"

#include "EmployeeAdmin.h"
#include "HospitalCreation.h"
#include "MasterImport.h"
#include "SqliteBackup.h"
#include "Terminal.h"

#include "core/components/EmployeeLogin.h"
#include "core/db/Database.h"
#include "hospitaldb/Migrations.h"
#include "hospitaldb/procedures/HospitalProcedures.h"

#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTextStream>

#include <functional>

namespace kestrel::admin {

namespace {

QTextStream &out()
{
    static QTextStream stream(stdout);
    return stream;
}

QTextStream &err()
{
    static QTextStream stream(stderr);
    return stream;
}

int fail(int code, const QString &message)
{
    err() << "kestrel-admin: " << message << Qt::endl;
    return code;
}

QCommandLineOption option(const char *name, const char *help, const char *value = nullptr)
{
    return value
               ? QCommandLineOption(QLatin1String(name), QLatin1String(help), QLatin1String(value))
               : QCommandLineOption(QLatin1String(name), QLatin1String(help));
}

// Which database: every command takes these.
QList<QCommandLineOption> connectionOptions()
{
    return {
        option("sqlite", "The embedded hospital: an SQLite file.", "file"),
        option("service", "PostgreSQL: a service of pg_service.conf.", "name"),
        option("host",
               "PostgreSQL: the server (default: the service's, PGHOST or the local "
               "socket).",
               "host"),
        option("port", "PostgreSQL: the server's port.", "port"),
        option("dbname", "PostgreSQL: the database.", "name"),
        option("user",
               "PostgreSQL: the login (its password comes from ~/.pgpass, PGPASSWORD or "
               "a client certificate).",
               "role"),
        option("sslmode",
               "PostgreSQL: disable, allow, prefer (default), require, verify-ca or "
               "verify-full.",
               "mode"),
        option("sslrootcert",
               "PostgreSQL: the CA file the server's certificate must be signed "
               "by.",
               "file"),
        option("sslcert", "PostgreSQL: a client certificate.", "file"),
        option("sslkey", "PostgreSQL: the client certificate's key.", "file"),
    };
}

struct Command
{
    QString name;
    QString summary;
    QString arguments; ///< for the usage line
    QString description;
    QList<QCommandLineOption> options;
    std::function<int(QCommandLineParser &)> run;
};

const QString kExitCodes = QStringLiteral(
    "Exit codes: 0 done, 1 failed (nothing was kept), 2 command line not understood,\n"
    "3 refused (rows, a password, a database that already holds a hospital or is newer\n"
    "than this program), 4 the database cannot be opened.\n");

// ---- the connection

Result<ConnectionSettings> connectionFrom(const QCommandLineParser &p)
{
    ConnectionSettings s;
    s.workstation = QStringLiteral("kestrel-admin");
    if (p.isSet(QStringLiteral("sqlite"))) {
        s.backend = Backend::Sqlite;
        s.sqliteFile = p.value(QStringLiteral("sqlite"));
        return s;
    }
    s.backend = Backend::Postgres;
    s.service = p.value(QStringLiteral("service"));
    s.host = p.value(QStringLiteral("host"));
    s.port = p.value(QStringLiteral("port")).toInt();
    s.database = p.value(QStringLiteral("dbname"));
    s.user = p.value(QStringLiteral("user"));
    s.sslMode = p.value(QStringLiteral("sslmode"));
    s.sslRootCert = p.value(QStringLiteral("sslrootcert"));
    s.sslCert = p.value(QStringLiteral("sslcert"));
    s.sslKey = p.value(QStringLiteral("sslkey"));
    if (s.service.isEmpty() && s.database.isEmpty())
        return failure(QStringLiteral("Say which database: --sqlite FILE, --service NAME or "
                                      "--dbname NAME (with --host, --port, --user)."));
    if (p.isSet(QStringLiteral("port")) && s.port <= 0)
        return failure(QStringLiteral("--port takes a number."));
    return s;
}

/// Opens the database the options name; an SQLite file must exist unless `create`.
int open(const QCommandLineParser &p, std::unique_ptr<Database> &db, bool create = false)
{
    auto settings = connectionFrom(p);
    if (!settings)
        return fail(Usage, settings.error().message);
    if (settings->backend == Backend::Sqlite && !create && !QFileInfo::exists(settings->sqliteFile))
        return fail(NoConnection, QStringLiteral("%1 does not exist.").arg(settings->sqliteFile));
    auto opened = Database::open(*settings);
    if (!opened)
        return fail(NoConnection,
                    QStringLiteral("The database cannot be opened: ") + opened.error().message);
    db = std::move(*opened);
    db->setProcedures(hospitaldb::hospitalProcedures());
    return Done;
}

/// Commands other than create and upgrade work on a hospital of this release's schema.
int requireCurrentSchema(Database &db)
{
    auto version = hospitaldb::schemaVersion(db);
    if (!version)
        return fail(Refused, version.error().message);
    if (*version != hospitaldb::latestSchemaVersion())
        return fail(Refused, QStringLiteral("The hospital database has schema version %1; this "
                                            "program works with version %2. Run \"kestrel-admin "
                                            "upgrade\" first.")
                                 .arg(*version)
                                 .arg(hospitaldb::latestSchemaVersion()));
    return Done;
}

// ---- create

int create(QCommandLineParser &p)
{
    if (!p.positionalArguments().isEmpty())
        return fail(Usage, QStringLiteral("create takes no arguments."));
    auto settings = connectionFrom(p);
    if (!settings)
        return fail(Usage, settings.error().message);
    const bool sqlite = settings->backend == Backend::Sqlite;
    const QString file = settings->sqliteFile;
    const bool fileExisted = sqlite && QFileInfo::exists(file);
    CreateOptions options;
    options.demo = p.isSet(QStringLiteral("demo"));
    options.identity.name = p.value(QStringLiteral("hospital-name"));
    options.identity.address = p.value(QStringLiteral("address"));
    if (p.isSet(QStringLiteral("station")))
        options.station = p.value(QStringLiteral("station")).trimmed();
    if (!options.demo &&
        (options.identity.name.trimmed().isEmpty() || options.identity.address.trimmed().isEmpty()))
        return fail(Usage, QStringLiteral("A new hospital needs --hospital-name and --address "
                                          "(or --demo for the demo hospital)."));
    if (p.isSet(QStringLiteral("owner-role")))
        options.ownerRole = p.value(QStringLiteral("owner-role"));
    if (p.isSet(QStringLiteral("workstation-role")))
        options.workstationRole = p.value(QStringLiteral("workstation-role"));
    std::unique_ptr<Database> db;
    if (int rc = open(p, db, true); rc != Done)
        return rc;

    auto refusal = refusalToCreate(*db);
    if (refusal && !refusal->isEmpty())
        return fail(Refused, *refusal);
    auto made = createHospital(*db, options);
    if (!made) {
        if (sqlite && !fileExisted) {
            db.reset();
            for (const char16_t *suffix : {u"", u"-wal", u"-shm"})
                QFile::remove(file + QString::fromUtf16(suffix));
        }
        return fail(Failed,
                    QStringLiteral("The hospital was not created: ") + made.error().message);
    }
    out() << "Created the hospital database of "
          << (options.demo ? QStringLiteral("the demo hospital") : options.identity.name.trimmed())
          << " (schema version " << hospitaldb::latestSchemaVersion() << ")." << Qt::endl;
    if (!sqlite)
        out() << "Owner role: " << options.ownerRole
              << "; workstation role: " << options.workstationRole
              << " (rows only). Give the workstation role a password with psql's \\password, "
                 "or a client certificate."
              << Qt::endl;
    out() << "Put the password key into kestrel-installation.ini on every workstation:\n"
          << "    [Installation]\n    ScrambleKey=" << made->scrambleKey << Qt::endl;
    return Done;
}

// ---- upgrade

AdminHooks &hooks()
{
    static AdminHooks installed;
    return installed;
}

int upgrade(QCommandLineParser &p)
{
    if (!p.positionalArguments().isEmpty())
        return fail(Usage, QStringLiteral("upgrade takes no arguments."));
    std::unique_ptr<Database> db;
    if (int rc = open(p, db); rc != Done)
        return rc;
    auto version = hospitaldb::schemaVersion(*db);
    if (!version)
        return fail(Refused, version.error().message);
    const int latest = hospitaldb::latestSchemaVersion();
    if (*version > latest)
        return fail(Refused, QStringLiteral("The hospital database has schema version %1, newer "
                                            "than the version %2 this program knows.")
                                 .arg(*version)
                                 .arg(latest));
    if (p.isSet(QStringLiteral("check"))) {
        out() << "Schema version " << *version << "; this program's is " << latest << '.'
              << Qt::endl;
        for (const hospitaldb::Migration &m : hospitaldb::migrations()) {
            if (m.version > *version)
                out() << "  to do: " << m.version << ' ' << m.description << Qt::endl;
        }
        return *version == latest ? Done : Refused;
    }
    auto owner = schemaOwnerToAssume(*db);
    if (!owner)
        return fail(Failed, owner.error().message);
    const QString role = *owner;
    auto done =
        hospitaldb::upgradeSchema(*db, hospitaldb::migrations(), [&](Database &d) -> Result<void> {
            // What the migration creates belongs to the schema's owner, so the workstations'
            // default rights reach it.
            if (role.isEmpty())
                return {};
            return d.execRaw(QStringLiteral("SET LOCAL ROLE %1").arg(quotedIdentifier(role)));
        },
        [](const hospitaldb::Migration &m) {
            if (hooks().beforeMigrationCommit)
                hooks().beforeMigrationCommit(m.version);
        });
    if (!done)
        return fail(Failed, done.error().message);
    if (done->applied.isEmpty()) {
        out() << "The hospital database is at schema version " << done->to
              << " already; nothing to do." << Qt::endl;
        return Done;
    }
    for (int v : done->applied) {
        for (const hospitaldb::Migration &m : hospitaldb::migrations()) {
            if (m.version == v)
                out() << "Applied " << v << ": " << m.description << Qt::endl;
        }
    }
    out() << "The hospital database is at schema version " << done->to << '.' << Qt::endl;
    return Done;
}

// ---- employee

/// A password typed twice without echo, or one line of a script's input. nullopt after
/// telling why not.
std::optional<QString> typedPassword(const QString &code)
{
    std::optional<QString> first = readSecret(QStringLiteral("New password for %1: ").arg(code));
    if (!first || first->isEmpty()) {
        fail(Refused, QStringLiteral("No password was given."));
        return std::nullopt;
    }
    if (inputIsTerminal()) {
        std::optional<QString> again = readSecret(QStringLiteral("Again: "));
        if (!again || *again != *first) {
            fail(Refused, QStringLiteral("The two passwords are not the same."));
            return std::nullopt;
        }
    }
    return first;
}

/// Stores a password; a password the hospital's rules turn away is refused, not failed.
int store(Database &db, const QString &code, QString password, bool oneTime)
{
    auto stored = storePassword(db, code, password, oneTime);
    password.fill(u'\0');
    if (!stored)
        return fail(stored.error().statement.isEmpty() ? Refused : Failed, stored.error().message);
    if (!*stored)
        return fail(Refused, QStringLiteral("There is no employee %1.").arg(code));
    return Done;
}

int employee(QCommandLineParser &p)
{
    const QStringList args = p.positionalArguments();
    if (args.size() != 2)
        return fail(Usage, QStringLiteral("employee takes an action and an employee code: "
                                          "add, password, unlock or disable CODE."));
    const QString action = args.at(0);
    const QString code = args.at(1).trimmed();
    if (!QStringList{QStringLiteral("add"), QStringLiteral("password"), QStringLiteral("unlock"),
                     QStringLiteral("disable")}
             .contains(action))
        return fail(
            Usage,
            QStringLiteral("Unknown action %1: add, password, unlock or disable.").arg(action));
    std::unique_ptr<Database> db;
    if (int rc = open(p, db); rc != Done)
        return rc;
    if (int rc = requireCurrentSchema(*db); rc != Done)
        return rc;

    if (action == u"add") {
        NewEmployee e;
        e.code = code;
        e.lastName = p.value(QStringLiteral("last-name"));
        e.firstName = p.value(QStringLiteral("first-name"));
        e.middleName = p.value(QStringLiteral("middle-name"));
        e.initial = p.value(QStringLiteral("initial"));
        if (p.isSet(QStringLiteral("department")))
            e.department = p.value(QStringLiteral("department"));
        if (p.isSet(QStringLiteral("station")))
            e.station = p.value(QStringLiteral("station"));
        e.designation = p.value(QStringLiteral("designation"));
        static const QRegularExpression separators(QStringLiteral("[|,\\s]+"));
        e.rights = p.value(QStringLiteral("rights")).split(separators, Qt::SkipEmptyParts);
        const bool typed = p.isSet(QStringLiteral("password"));
        const std::optional<QString> password =
            typed ? typedPassword(code) : std::optional<QString>(makeOneTimePassword());
        if (!password)
            return Refused;
        // The employee and his first password go in together, or neither does.
        Transaction tx = db->transaction();
        if (!tx.isActive())
            return fail(Failed, tx.error().message);
        if (auto ok = addEmployee(*db, e); !ok)
            return fail(ok.error().statement.isEmpty() ? Refused : Failed, ok.error().message);
        if (int rc = store(*db, code, *password, !typed); rc != Done)
            return rc;
        if (auto ok = tx.commit(); !ok)
            return fail(Failed, ok.error().message);
        out() << "Added employee " << code << '.' << Qt::endl;
        if (!typed)
            out() << "One-time password: " << *password << " (to be changed at the first login)"
                  << Qt::endl;
        return Done;
    }
    if (action == u"password") {
        const bool oneTime = p.isSet(QStringLiteral("one-time"));
        const std::optional<QString> password =
            oneTime ? std::optional<QString>(makeOneTimePassword()) : typedPassword(code);
        if (!password)
            return Refused;
        if (int rc = store(*db, code, *password, oneTime); rc != Done)
            return rc;
        out() << "The password of " << code << " is set." << Qt::endl;
        if (oneTime)
            out() << "One-time password: " << *password << " (to be changed at the next login)"
                  << Qt::endl;
        return Done;
    }
    auto done = action == u"unlock" ? unlockEmployee(*db, code) : disableEmployee(*db, code);
    if (!done)
        return fail(Failed, done.error().message);
    if (!*done)
        return fail(Refused, QStringLiteral("There is no employee %1.").arg(code));
    out() << (action == u"unlock" ? "Unlocked " : "Disabled ") << code << '.' << Qt::endl;
    return Done;
}

// ---- import

int import(QCommandLineParser &p)
{
    const QStringList args = p.positionalArguments();
    if (args.isEmpty() || args.size() % 2 != 0)
        return fail(Usage, QStringLiteral("import takes pairs of KIND FILE."));
    QList<MasterFile> files;
    for (qsizetype i = 0; i < args.size(); i += 2) {
        const auto kind = masterKindFromName(args.at(i));
        if (!kind)
            return fail(Usage, QStringLiteral("Unknown kind %1: revenue-codes, rooms, doctors, "
                                              "items or employees.")
                                   .arg(args.at(i)));
        files << MasterFile{*kind, args.at(i + 1)};
    }
    std::unique_ptr<Database> db;
    if (int rc = open(p, db); rc != Done)
        return rc;
    if (int rc = requireCurrentSchema(*db); rc != Done)
        return rc;
    MasterImport import(*db);
    import.setUpdateExisting(p.isSet(QStringLiteral("update")));
    for (const MasterFile &f : files)
        import.add(f);
    const bool dryRun = p.isSet(QStringLiteral("dry-run"));
    auto report = import.run(dryRun);
    if (!report)
        return fail(Failed, QStringLiteral("Nothing was imported: ") + report.error().message);
    for (auto it = report->encodings.cbegin(); it != report->encodings.cend(); ++it)
        out() << it.key() << ": read as " << it.value() << Qt::endl;
    for (const RefusedRow &r : report->refused) {
        if (r.line > 0)
            out() << r.file << ':' << r.line << ": " << r.reason << Qt::endl;
        else
            out() << r.file << ": " << r.reason << Qt::endl;
    }
    const auto summary = [](const QMap<MasterKind, int> &rows) {
        QStringList counts;
        for (auto it = rows.cbegin(); it != rows.cend(); ++it)
            counts << QStringLiteral("%1 %2").arg(it.value()).arg(masterKindName(it.key()));
        return counts.join(QStringLiteral(", "));
    };
    const auto total = [](const QMap<MasterKind, int> &rows) {
        int n = 0;
        for (int count : rows)
            n += count;
        return n;
    };
    if (dryRun)
        out() << "Dry run: would update " << total(report->updated) << ", add "
              << total(report->accepted) << ", refuse " << report->refused.size()
              << (report->refused.isEmpty() ? "." : " (the rows above).") << Qt::endl;
    if (!report->refused.isEmpty()) {
        out() << report->refused.size() << " row(s) refused; nothing was imported"
              << (dryRun ? " (dry run)." : ".") << Qt::endl;
        return Refused;
    }
    if (dryRun)
        return Done;
    out() << "Imported " << summary(report->accepted);
    if (!report->updated.isEmpty())
        out() << "; updated " << summary(report->updated);
    out() << '.' << Qt::endl;
    return Done;
}

// ---- backup and restore

int embeddedOnly(const QCommandLineParser &p, const char *command)
{
    if (p.isSet(QStringLiteral("sqlite")))
        return Done;
    return fail(Usage, QStringLiteral("%1 is for the embedded hospital (--sqlite FILE). A "
                                      "PostgreSQL hospital is kept with the server's own tools:\n"
                                      "    pg_dump --format=custom --file=hospital.dump DBNAME\n"
                                      "    pg_restore --dbname=DBNAME hospital.dump")
                           .arg(QLatin1String(command)));
}

int backup(QCommandLineParser &p)
{
    if (int rc = embeddedOnly(p, "backup"); rc != Done)
        return rc;
    if (p.positionalArguments().size() != 1)
        return fail(Usage, QStringLiteral("backup takes the file to write."));
    const QString target = p.positionalArguments().at(0);
    if (auto ok = backupSqlite(p.value(QStringLiteral("sqlite")), target); !ok)
        return fail(Failed, ok.error().message);
    out() << "Backed up to " << target << '.' << Qt::endl;
    return Done;
}

int restore(QCommandLineParser &p)
{
    if (int rc = embeddedOnly(p, "restore"); rc != Done)
        return rc;
    if (p.positionalArguments().size() != 1)
        return fail(Usage, QStringLiteral("restore takes the backup file to put in place."));
    const QString backupFile = p.positionalArguments().at(0);
    const QString target = p.value(QStringLiteral("sqlite"));
    if (auto ok = restoreSqlite(backupFile, target, p.isSet(QStringLiteral("replace"))); !ok)
        return fail(Refused, ok.error().message);
    out() << "Restored " << target << " from " << backupFile
          << ". Run \"kestrel-admin upgrade\" if the backup is of an earlier release." << Qt::endl;
    return Done;
}

// ---- the commands

QList<Command> commands()
{
    return {
        {QStringLiteral("create"),
         QStringLiteral("create the hospital database (PostgreSQL or an embedded file)"),
         QString(),
         QStringLiteral(
             "Creates the hospital database: every schema, table and index, in an empty\n"
             "PostgreSQL database or a new SQLite file. Refuses a database that holds a\n"
             "hospital or anything else. On PostgreSQL it makes two roles: the owner of\n"
             "the schemas (no login) and the role the workstations log in as, which may\n"
             "read and write rows but not create, alter or drop anything. The login that\n"
             "runs it must own the database (or be a superuser) and may create roles.\n"
             "It prints the password key every workstation's installation file needs.\n"
             "A new hospital needs its name and address; it gets the settings a workstation\n"
             "needs to log in and charge, which the hospital may change later."),
         {option("hospital-name", "The hospital's name, as its forms are headed.", "name"),
          option("address", "The hospital's address, under its name.", "text"),
          option("station",
                 "The nursing station whose charge slip numbers start at 1 (default OR).",
                 "code"),
          option("demo", "Fill the new database with the demo hospital instead."),
          option("owner-role", "PostgreSQL: the owner role (default kestrel_owner).", "role"),
          option("workstation-role",
                 "PostgreSQL: the workstations' role (default kestrel_workstation).", "role")},
         create},
        {QStringLiteral("upgrade"),
         QStringLiteral("bring the hospital database to this release's schema"),
         QString(),
         QStringLiteral(
             "Runs the migrations the database lacks, in order, each in one transaction\n"
             "that also records the new schema version: an interrupted upgrade leaves the\n"
             "database at the last finished version, and running it again goes on from\n"
             "there. Refuses a database newer than this program."),
         {option("check", "Only tell the database's version and the migrations to do "
                          "(exit code 3 when there are some).")},
         upgrade},
        {QStringLiteral("employee"),
         QStringLiteral("add an employee, set or reset a password, unlock, disable"),
         QStringLiteral("add|password|unlock|disable CODE"),
         QStringLiteral(
             "add CODE       adds an employee with a one-time password, printed once, that\n"
             "               he must change at his first login (or --password to type one).\n"
             "password CODE  sets a password typed twice without echo (one line from the\n"
             "               standard input when it is not a terminal), or --one-time.\n"
             "unlock CODE    forgets his failed re-validations.\n"
             "disable CODE   a leaver: his code no longer logs in or signs.\n"
             "Passwords are kept only as Argon2id hashes and must be at least as long as the\n"
             "hospital's minimum (station switch PasswordMinLength, default 8)."),
         {option("last-name", "add: last name.", "name"),
          option("first-name", "add: first name.", "name"),
          option("middle-name", "add: middle name.", "name"),
          option("initial", "add: initials (default: the first letters of the names).", "text"),
          option("department", "add: the password group he logs in to (default 29, the OR).",
                 "code"),
          option("station", "add: his nursing station (default OR).", "code"),
          option("designation", "add: his position.", "text"),
          option("rights", "add: access rights, e.g. \"1|3|10\".", "codes"),
          option("password", "add: type his first password instead of a one-time one."),
          option("one-time", "password: make a one-time password and print it.")},
         employee},
        {QStringLiteral("import"),
         QStringLiteral("load master files: revenue codes, OR rooms, doctors, items, employees"),
         QStringLiteral("KIND FILE [KIND FILE ...]"),
         QStringLiteral(
             "KIND is revenue-codes, rooms, doctors, items or employees; FILE is CSV (comma,\n"
             "semicolon or tab; UTF-8, UTF-8 with byte-order mark or Latin-1) or xlsx (the\n"
             "first sheet). The first row names the columns. Every row is checked first;\n"
             "if any is refused nothing is written, and each refusal is listed with its\n"
             "line. Otherwise all files go in in one transaction. A code the hospital has\n"
             "already is refused, unless --update (items, doctors, OR rooms).\n"
             "docs/administration.md lists the columns."),
         {option("dry-run", "Check every row and list the refusals; change nothing."),
          option("update", "Items, doctors and OR rooms whose code the hospital has already "
                           "take the file's values (without it such rows are refused).")},
         import},
        {QStringLiteral("backup"),
         QStringLiteral("copy the embedded hospital, also while it is in use"),
         QStringLiteral("FILE"),
         QStringLiteral("Copies the embedded hospital (--sqlite) to FILE with SQLite's online\n"
                        "backup: a consistent copy even while workstations write. For a\n"
                        "PostgreSQL hospital use pg_dump."),
         {},
         backup},
        {QStringLiteral("restore"),
         QStringLiteral("put a backup of the embedded hospital in place"),
         QStringLiteral("FILE"),
         QStringLiteral("Checks the backup FILE and copies it over the embedded hospital\n"
                        "(--sqlite). Stop the workstations first."),
         {option("replace", "Replace a file that holds a hospital.")},
         restore},
    };
}

QString overview()
{
    QString text;
    QTextStream s(&text);
    s << "kestrel-admin " << KESTREL_VERSION
      << ": sets up and keeps the hospital database of Kestrel.\n\n"
      << "Usage: kestrel-admin <command> [options] [arguments]\n\nCommands:\n";
    for (const Command &c : commands())
        s << "  " << c.name.leftJustified(10) << c.summary << '\n';
    s << "\nWhich database (every command):\n"
      << "  --sqlite FILE                  the embedded hospital\n"
      << "  --service NAME                 PostgreSQL, a service of pg_service.conf\n"
      << "  --host --port --dbname --user  PostgreSQL, spelled out\n"
      << "  --sslmode --sslrootcert --sslcert --sslkey   TLS to the server\n"
      << "\n\"kestrel-admin <command> --help\" tells more about a command.\n\n"
      << kExitCodes;
    return text;
}

} // namespace

int runAdmin(const QStringList &arguments, const AdminHooks &installed)
{
    hooks() = installed;
    if (arguments.isEmpty() || arguments.at(0) == u"--help" || arguments.at(0) == u"-h" ||
        arguments.at(0) == u"help") {
        out() << overview() << Qt::flush;
        return arguments.isEmpty() ? Usage : Done;
    }
    if (arguments.at(0) == u"--version") {
        out() << "kestrel-admin " << KESTREL_VERSION << ", schema version "
              << hospitaldb::latestSchemaVersion() << Qt::endl;
        return Done;
    }
    for (const Command &c : commands()) {
        if (c.name != arguments.at(0))
            continue;
        QCommandLineParser parser;
        parser.setApplicationDescription(c.description);
        const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                      QStringLiteral("This help."));
        parser.addOption(help);
        parser.addOptions(c.options);
        parser.addOptions(connectionOptions());
        if (!c.arguments.isEmpty())
            parser.addPositionalArgument(QStringLiteral("arguments"), QString(), c.arguments);
        // The parser's first word is the program; the command's name is ours to drop.
        QStringList words = arguments;
        words[0] = QStringLiteral("kestrel-admin");
        if (!parser.parse(words))
            return fail(Usage, parser.errorText() + QStringLiteral(" (see --help)"));
        if (parser.isSet(help)) {
            QString text = parser.helpText();
            text = text.section(u'\n', 1);
            out() << "Usage: kestrel-admin " << c.name << " [options] " << c.arguments << "\n\n"
                  << text << '\n'
                  << kExitCodes << Qt::flush;
            return Done;
        }
        return c.run(parser);
    }
    return fail(Usage, QStringLiteral("Unknown command %1 (see --help).").arg(arguments.at(0)));
}

} // namespace kestrel::admin
