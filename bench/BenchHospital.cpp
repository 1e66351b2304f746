// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "BenchHospital.h"

#include "BenchFigures.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/Migrations.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "hospitaldb/Schema.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace kestrel::bench {

namespace {

QString serverUser(const ServerTarget &server)
{
    if (!server.user.isEmpty())
        return server.user;
    const QString fromEnvironment = qEnvironmentVariable("PGUSER");
    return fromEnvironment.isEmpty() ? QStringLiteral("kestrel") : fromEnvironment;
}

ConnectionSettings serverSettings(const ServerTarget &server, const QString &database)
{
    ConnectionSettings s;
    s.backend = Backend::Postgres;
    s.host = server.host;
    s.port = server.port;
    s.database = database;
    s.user = serverUser(server);
    s.password = qEnvironmentVariable("PGPASSWORD");
    s.workstation = QStringLiteral("OR-BENCH-01");
    return s;
}

// The server's own database, through which hospital databases are created and dropped.
Result<std::unique_ptr<Database>> serverAdmin(const ServerTarget &server)
{
    auto admin = Database::open(serverSettings(server, QStringLiteral("postgres")));
    if (admin)
        (void)(*admin)->execRaw(QStringLiteral("SET client_min_messages TO warning"));
    return admin;
}

// Draws the generator's progress on one line of stderr, a new line for each step. A step is
// drawn at most five times a second, and always when it is done.
class ProgressPrinter
{
public:
    void operator()(const QString &step, qint64 done, qint64 total)
    {
        if (step != m_step) {
            endLine();
            m_step = step;
            m_clock.start();
            m_drawnAt = -1;
        }
        const qint64 now = m_clock.elapsed();
        if (done < total && m_drawnAt >= 0 && now - m_drawnAt < 200)
            return;
        m_drawnAt = now;
        m_err << '\r' << progressLine(step, done, total, now) << Qt::flush;
        m_open = true;
    }
    void endLine()
    {
        if (m_open)
            m_err << '\n' << Qt::flush;
        m_open = false;
    }

private:
    QTextStream m_err{stderr};
    QString m_step;
    QElapsedTimer m_clock;
    qint64 m_drawnAt = -1;
    bool m_open = false;
};

Result<void> recreateServerDatabase(const ServerTarget &server)
{
    auto admin = serverAdmin(server);
    if (!admin)
        return tl::unexpected(admin.error());
    // The name was checked to be a plain identifier when the options were read.
    if (auto ok = (*admin)->execRaw(
            QStringLiteral("DROP DATABASE IF EXISTS %1 WITH (FORCE)").arg(server.database));
        !ok)
        return ok;
    return (*admin)->execRaw(QStringLiteral("CREATE DATABASE %1").arg(server.database));
}

Result<void> removeSqliteFile(const QString &path)
{
    for (const QString &file :
         QStringList{path, path + QStringLiteral("-wal"), path + QStringLiteral("-shm"),
                     path + QStringLiteral("-journal")}) {
        if (QFileInfo::exists(file) && !QFile::remove(file))
            return failure(QStringLiteral("Cannot remove %1.").arg(file));
    }
    if (!QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(QStringLiteral("Cannot create the folder of %1.").arg(path));
    return {};
}

std::optional<Row> firstRow(Database &db, QStringView sql, Result<void> &error)
{
    auto row = db.selectOne(sql);
    if (!row) {
        error = tl::unexpected(row.error());
        return std::nullopt;
    }
    return *row;
}

// The demo hospital's counterparts of the generator's landmarks.
Result<hospitaldb::ScaleLandmarks> demoLandmarks(Database &db)
{
    hospitaldb::ScaleLandmarks l;
    Result<void> error;
    const auto prefix = firstRow(db,
                                 u"select substr(M.LastName, 1, 3) as Prefix, count(*) as N "
                                 u"from PATIENT_DATA..tbMaster M group by substr(M.LastName, 1, 3) "
                                 u"order by N desc, Prefix limit 1",
                                 error);
    const auto patient = firstRow(db,
                                  u"select HospNum, count(*) as N from PATIENT_DATA..tbPatient "
                                  u"group by HospNum order by N desc, HospNum limit 1",
                                  error);
    // The open stay with the most charges the OR posted.
    const auto longStay = firstRow(
        db,
        u"select L.IDNum, L.HospNum, count(*) as N from STATION..tbNurseLogBook L "
        u"inner join PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum "
        u"where L.StationID = 'OR' and L.RecordStatus <> 'R' and P.DcrDate is null "
        u"and P.BillingDate is null group by L.IDNum, L.HospNum order by N desc, L.IDNum limit 1",
        error);
    if (!error)
        return tl::unexpected(error.error());
    if (!prefix || !patient || !longStay)
        return failure(QStringLiteral("The demo hospital lacks patients, stays or OR charges."));
    l.commonPrefix = prefix->trimmed(u"Prefix");
    l.hospNum = patient->trimmed(u"HospNum");
    l.longStayIdNum = longStay->trimmed(u"IDNum");
    l.longStayHospNum = longStay->trimmed(u"HospNum");
    // The open stay, not cleared by the OR, with the most credit left for the posted batches.
    auto open = db.selectOne(
        u"select P.IDNum, P.HospNum from PATIENT_DATA..tbPatient P "
        u"inner join PATIENT_DATA..tbPatient2 X on X.IDNum = P.IDNum "
        u"where P.DcrDate is null and P.BillingDate is null and P.IDNum <> :long and not exists "
        u"(select 1 from STATION..tbNurseDischargeNotice N where N.IDNum = P.IDNum "
        u"and N.ClearDate is not null) order by coalesce(X.CreditLine, 0) desc, P.IDNum limit 1",
        {{QStringLiteral("long"), l.longStayIdNum}});
    if (!open)
        return tl::unexpected(open.error());
    if (!*open)
        return failure(QStringLiteral("The demo hospital has no open stay to charge."));
    l.inpatientIdNum = (*open)->trimmed(u"IDNum");
    l.inpatientHospNum = (*open)->trimmed(u"HospNum");
    return l;
}

Result<void> checkStay(Database &db, const QString &idNum, const QString &hospNum,
                       const QString &what)
{
    auto found = db.selectOne(u"select IDNum from PATIENT_DATA..tbPatient "
                              u"where IDNum = :id and HospNum = :hosp",
                              {{QStringLiteral("id"), idNum}, {QStringLiteral("hosp"), hospNum}});
    if (!found)
        return tl::unexpected(found.error());
    if (!*found)
        return failure(QStringLiteral("The database has no %1 %2 of patient %3: it is not a "
                                      "hospital of this size. Make it again with --generate.")
                           .arg(what, idNum, hospNum));
    return {};
}

// The busy day's date and room, from its first operation; in the demo hospital, the day with
// the most confirmed operations and its busiest room.
Result<void> findBusyDay(Database &db, hospitaldb::ScaleLandmarks &l)
{
    if (l.busyDayTransNum.isEmpty()) {
        auto day = db.selectOne(u"select ScheduleDate, count(*) as N "
                                u"from SCHEDULE..tbORScheduleDetails where RecordStatus = 'C' "
                                u"group by ScheduleDate order by N desc, ScheduleDate limit 1");
        if (!day)
            return tl::unexpected(day.error());
        if (!*day)
            return failure(QStringLiteral("The demo hospital has no confirmed operations."));
        const QDate date = (*day)->dateTime(u"ScheduleDate").date();
        auto first = db.selectOne(
            u"select S.TransNum, count(*) over (partition by S.RoomID) as N "
            u"from SCHEDULE..tbORScheduleDetails S where S.RecordStatus = 'C' "
            u"and S.StartTime >= :day and S.StartTime < :next order by N desc, S.StartTime limit 1",
            {{QStringLiteral("day"), date.startOfDay()},
             {QStringLiteral("next"), date.addDays(1).startOfDay()}});
        if (!first)
            return tl::unexpected(first.error());
        if (!*first)
            return failure(QStringLiteral("The demo hospital's busy day has no operations."));
        l.busyDayTransNum = (*first)->trimmed(u"TransNum");
    }
    auto row = db.selectOne(u"select StartTime, RoomID from SCHEDULE..tbORScheduleDetails "
                            u"where TransNum = :trans and RecordStatus = 'C'",
                            {{QStringLiteral("trans"), l.busyDayTransNum}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return failure(QStringLiteral("The database has no busy day of operations: it is not a "
                                      "hospital of this release. Make it again with --generate."));
    l.busyDay = (*row)->dateTime(u"StartTime").date();
    l.busyRoomId = int((*row)->integer(u"RoomID"));
    return {};
}

} // namespace

hospitaldb::ScaleSize scaleSize(const BenchOptions &options)
{
    return options.small ? hospitaldb::ScaleSize::small() : hospitaldb::ScaleSize::hospital();
}

ConnectionSettings connectionSettings(const BenchOptions &options)
{
    if (options.backend == Backend::Postgres)
        return serverSettings(options.server, options.server.database);
    ConnectionSettings s;
    s.sqliteFile = QFileInfo(options.sqlitePath()).absoluteFilePath();
    s.workstation = QStringLiteral("OR-BENCH-01");
    return s;
}

Result<bool> hospitalExists(const BenchOptions &options)
{
    if (options.backend == Backend::Sqlite)
        return QFileInfo::exists(options.sqlitePath());
    auto admin = serverAdmin(options.server);
    if (!admin)
        return tl::unexpected(admin.error());
    auto row = (*admin)->selectOne(u"select 1 from pg_database where datname = :name",
                                   {{QStringLiteral("name"), options.server.database}});
    if (!row)
        return tl::unexpected(row.error());
    return row->has_value();
}

Result<double> generateHospital(const BenchOptions &options)
{
    QElapsedTimer clock;
    clock.start();
    if (options.backend == Backend::Postgres) {
        if (auto ok = recreateServerDatabase(options.server); !ok)
            return tl::unexpected(ok.error());
    } else if (auto ok = removeSqliteFile(options.sqlitePath()); !ok) {
        return tl::unexpected(ok.error());
    }
    auto db = openHospital(options);
    if (!db)
        return tl::unexpected(db.error());
    const QDate today = QDate::currentDate();
    Result<void> made;
    if (options.demo) {
        made = hospitaldb::applySchema(**db);
        if (made)
            made = hospitaldb::createDemoHospital(**db, today);
    } else {
        // The generator lays down the schema and the demo hospital's master files itself.
        ProgressPrinter printer;
        made = hospitaldb::createScaleHospital(
            **db, today, scaleSize(options),
            [&printer](const QString &step, qint64 done, qint64 total) {
                printer(step, done, total);
            });
        printer.endLine();
    }
    if (!made)
        return tl::unexpected(made.error());
    return double(clock.elapsed()) / 1000.0;
}

Result<std::unique_ptr<Database>> openHospital(const BenchOptions &options)
{
    auto db = Database::open(connectionSettings(options));
    if (!db)
        return db;
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    // A hospital an earlier release generated is brought to this release's schema first.
    auto hospital = hospitaldb::holdsHospital(**db);
    if (!hospital)
        return tl::unexpected(hospital.error());
    if (*hospital) {
        if (auto upgraded = hospitaldb::upgradeSchema(**db); !upgraded)
            return tl::unexpected(upgraded.error());
    }
    return db;
}

Result<qint64> databaseBytes(Database &db)
{
    if (db.backend() == Backend::Postgres) {
        auto bytes = db.scalar(u"select pg_database_size(current_database())");
        if (!bytes)
            return tl::unexpected(bytes.error());
        return bytes->toLongLong();
    }
    const QString file = db.settings().sqliteFile;
    return QFileInfo(file).size() + QFileInfo(file + QStringLiteral("-wal")).size();
}

Result<hospitaldb::ScaleLandmarks> landmarks(Database &db, const BenchOptions &options)
{
    if (options.demo) {
        auto l = demoLandmarks(db);
        if (l) {
            if (auto ok = findBusyDay(db, *l); !ok)
                return tl::unexpected(ok.error());
        }
        return l;
    }
    hospitaldb::ScaleLandmarks l = hospitaldb::scaleLandmarks(scaleSize(options));
    if (auto ok = findBusyDay(db, l); !ok)
        return tl::unexpected(ok.error());
    if (auto ok = checkStay(db, l.inpatientIdNum, l.inpatientHospNum, QStringLiteral("stay")); !ok)
        return tl::unexpected(ok.error());
    if (auto ok = checkStay(db, l.longStayIdNum, l.longStayHospNum, QStringLiteral("long stay"));
        !ok)
        return tl::unexpected(ok.error());
    return l;
}

} // namespace kestrel::bench
