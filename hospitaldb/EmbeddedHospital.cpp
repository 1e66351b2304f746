// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/EmbeddedHospital.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/Migrations.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "hospitaldb/Schema.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace kestrel::hospitaldb {

QString defaultEmbeddedHospitalPath()
{
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    return QDir(folder).filePath(QStringLiteral("demo-hospital.sqlite"));
}

Result<std::unique_ptr<Database>> openEmbeddedHospital(const QString &path,
                                                       const QString &workstation)
{
    const bool fresh = !QFileInfo::exists(path);
    if (fresh && !QDir().mkpath(QFileInfo(path).absolutePath()))
        return failure(QStringLiteral("Cannot create the folder of %1.").arg(path));

    ConnectionSettings settings;
    settings.backend = Backend::Sqlite;
    settings.sqliteFile = path;
    settings.workstation = workstation;
    auto db = Database::open(settings);
    if (!db)
        return db;
    (*db)->setProcedures(hospitalProcedures());
    if (!fresh) {
        // A demo hospital made by an earlier release is brought to this release's schema.
        if (auto upgraded = upgradeSchema(**db); !upgraded)
            return tl::unexpected(upgraded.error());
        return db;
    }

    Result<void> made = applySchema(**db);
    if (made)
        made = createDemoHospital(**db, QDate::currentDate());
    if (!made) {
        db->reset();
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-wal"));
        QFile::remove(path + QStringLiteral("-shm"));
        return tl::unexpected(made.error());
    }
    return db;
}

} // namespace kestrel::hospitaldb
