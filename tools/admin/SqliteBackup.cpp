// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "SqliteBackup.h"

#include "hospitaldb/Migrations.h"

#include <QFile>
#include <QFileInfo>
#include <QThread>

#include <sqlite3.h>

#include <memory>

namespace kestrel::admin {

namespace {

// The workstations' statements wait this long for each other; a backup waits as long.
constexpr int kBusyMilliseconds = 120000;

struct Closer
{
    void operator()(sqlite3 *db) const { sqlite3_close_v2(db); }
};
using Handle = std::unique_ptr<sqlite3, Closer>;

Result<Handle> openFile(const QString &path, int flags)
{
    sqlite3 *raw = nullptr;
    const int rc = sqlite3_open_v2(QFile::encodeName(path).constData(), &raw, flags, nullptr);
    Handle db(raw);
    if (rc != SQLITE_OK)
        return failure(
            QStringLiteral("%1 cannot be opened: %2")
                .arg(path, QString::fromUtf8(raw ? sqlite3_errmsg(raw) : sqlite3_errstr(rc))));
    sqlite3_busy_timeout(db.get(), kBusyMilliseconds);
    return db;
}

// The first column of the first row of `sql`, as text; nullopt when the statement fails.
std::optional<QString> answer(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) != SQLITE_OK)
        return std::nullopt;
    std::optional<QString> text;
    if (sqlite3_step(stmt) == SQLITE_ROW)
        text = QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    return text;
}

bool holdsHospital(sqlite3 *db)
{
    return answer(db, "select count(*) from sqlite_master where type = 'table' "
                      "and lower(name) = 'tbpasswordmaster'")
               .value_or(QString()) == u"1";
}

Result<void> copy(sqlite3 *from, sqlite3 *to, const QString &target)
{
    sqlite3_backup *backup = sqlite3_backup_init(to, "main", from, "main");
    if (!backup)
        return failure(QStringLiteral("%1 cannot be written: %2")
                           .arg(target, QString::fromUtf8(sqlite3_errmsg(to))));
    int rc = SQLITE_OK;
    // One step copies the whole file under one read lock: a copy of one moment.
    int waited = 0;
    do {
        rc = sqlite3_backup_step(backup, -1);
        if (rc == SQLITE_BUSY || rc == SQLITE_LOCKED) {
            QThread::msleep(100);
            waited += 100;
        }
    } while ((rc == SQLITE_BUSY || rc == SQLITE_LOCKED) && waited < kBusyMilliseconds);
    sqlite3_backup_finish(backup);
    if (rc != SQLITE_DONE)
        return failure(QStringLiteral("The copy to %1 failed: %2")
                           .arg(target, QString::fromUtf8(sqlite3_errstr(rc))));
    return {};
}

} // namespace

Result<void> backupSqlite(const QString &source, const QString &target)
{
    if (!QFileInfo::exists(source))
        return failure(QStringLiteral("%1 does not exist.").arg(source));
    if (QFileInfo::exists(target))
        return failure(
            QStringLiteral("%1 exists already: a backup never overwrites a file.").arg(target));
    auto from = openFile(source, SQLITE_OPEN_READONLY);
    if (!from)
        return tl::unexpected(from.error());
    if (!holdsHospital(from->get()))
        return failure(QStringLiteral("%1 holds no hospital.").arg(source));
    auto to = openFile(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!to)
        return tl::unexpected(to.error());
    if (auto ok = copy(from->get(), to->get(), target); !ok) {
        to->reset();
        QFile::remove(target);
        return ok;
    }
    // The copy is one file, whatever journal the hospital keeps.
    sqlite3_exec(to->get(), "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
    return {};
}

Result<void> restoreSqlite(const QString &backup, const QString &target, bool replace)
{
    if (!QFileInfo::exists(backup))
        return failure(QStringLiteral("%1 does not exist.").arg(backup));
    auto from = openFile(backup, SQLITE_OPEN_READONLY);
    if (!from)
        return tl::unexpected(from.error());
    if (answer(from->get(), "pragma quick_check").value_or(QString()) != u"ok")
        return failure(QStringLiteral("%1 is damaged or not a database.").arg(backup));
    if (!holdsHospital(from->get()))
        return failure(QStringLiteral("%1 holds no hospital.").arg(backup));
    const int version =
        answer(from->get(), "select max(Version) from tbSchemaVersion").value_or(QString()).toInt();
    if (version > hospitaldb::latestSchemaVersion())
        return failure(QStringLiteral("%1 has schema version %2, newer than the version %3 this "
                                      "program knows.")
                           .arg(backup)
                           .arg(version)
                           .arg(hospitaldb::latestSchemaVersion()));
    auto to = openFile(target, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE);
    if (!to)
        return tl::unexpected(to.error());
    if (holdsHospital(to->get()) && !replace)
        return failure(QStringLiteral("%1 holds a hospital: say --replace to put the backup in "
                                      "its place.")
                           .arg(target));
    return copy(from->get(), to->get(), target);
}

} // namespace kestrel::admin
