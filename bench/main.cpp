// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// kestrel-bench: times the paths a user waits for through Kestrel's own code, and the bare SQL
// of the same work on the same connection, on a hospital-sized database.
#include "BenchHospital.h"
#include "BenchOptions.h"
#include "BenchPaths.h"
#include "BenchReport.h"
#include "LoadRun.h"
#include "StartupPath.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QLoggingCategory>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

#include <malloc.h>

using namespace kestrel;
using namespace kestrel::bench;

namespace {

QString sizeText(qint64 bytes)
{
    return QStringLiteral("%1 MB").arg(double(bytes) / (1024.0 * 1024.0), 0, 'f', 1);
}

QString whereText(const BenchOptions &o)
{
    if (o.backend == Backend::Postgres)
        return QStringLiteral("%1:%2/%3")
            .arg(o.server.host)
            .arg(o.server.port)
            .arg(o.server.database);
    return QDir::toNativeSeparators(connectionSettings(o).sqliteFile);
}

QString generateHint(const BenchOptions &o)
{
    QString hint = QStringLiteral("kestrel-bench --generate");
    if (o.demo)
        hint += QStringLiteral(" --demo");
    if (o.small)
        hint += QStringLiteral(" --small");
    if (o.backend == Backend::Postgres)
        hint += QStringLiteral(" --pg ") + o.server.host + u':' + QString::number(o.server.port) +
                u':' + o.server.database +
                (o.server.user.isEmpty() ? QString() : u':' + o.server.user);
    else if (!o.sqliteFile.isEmpty())
        hint += QStringLiteral(" --sqlite ") + o.sqliteFile;
    return hint;
}

QtMessageHandler defaultHandler = nullptr;

// The offscreen platform warns each time the main window is shown that it cannot pass size
// hints on; thirty start-ups would bury what matters.
void quietHandler(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (message.contains(u"does not support propagateSizeHints"))
        return;
    defaultHandler(type, context, message);
}

// The load run instead of the paths: its figures are printed and written beside the paths'
// results, as <time>-postgres-load.json.
int loadRun(const BenchRun &run, const BenchOptions &options, QTextStream &out, QTextStream &err)
{
    LoadSettings settings;
    settings.workstations = options.workstations;
    settings.posting = std::min(10, options.workstations);
    settings.seconds = options.loadSeconds;
    auto figures = runLoad(options, run.landmarks, settings, out, err);
    if (!figures) {
        err << "kestrel-bench: the load run: " << figures.error().message << '\n';
        return 1;
    }
    QJsonObject json = *figures;
    json.insert(QStringLiteral("machine"), run.machine);
    json.insert(QStringLiteral("started"), run.started.toString(Qt::ISODate));
    if (!QDir().mkpath(options.outDir)) {
        err << "kestrel-bench: cannot create " << options.outDir << '\n';
        return 1;
    }
    const QString file = QDir(options.outDir).filePath(
        run.started.toString(QStringLiteral("yyyyMMdd-HHmm")) + QStringLiteral("-postgres-load.json"));
    QFile saved(file);
    if (!saved.open(QIODevice::WriteOnly) || saved.write(QJsonDocument(json).toJson()) < 0) {
        err << "kestrel-bench: cannot write " << file << '\n';
        return 1;
    }
    out << "\nResults: " << QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()) << '\n';
    return json.value(QStringLiteral("failed_batches")).toInteger() == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // The start-up path shows the main window; no display is needed for that.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("kestrel-bench"));
    QApplication::setApplicationVersion(QStringLiteral(KESTREL_VERSION));
    QTextStream out(stdout);
    QTextStream err(stderr);
    defaultHandler = qInstallMessageHandler(quietHandler);
    // Every start-up logs its login.
    QLoggingCategory::setFilterRules(QStringLiteral("kestrel.components.info=false"));

    const ParsedArguments parsed = parseBenchArguments(QCoreApplication::arguments());
    if (!parsed.options) {
        err << "kestrel-bench: " << parsed.message << "\nTry kestrel-bench --help.\n";
        // Not 2, which tells `make bench` that the hospital is still to be created.
        return 64;
    }
    const BenchOptions options = *parsed.options;
    if (options.help) {
        out << parsed.helpText;
        return 0;
    }

    BenchRun run;
    run.started = QDateTime::currentDateTime();
    run.options = options;
    if (options.generate) {
        err << "Creating the hospital (" << options.sizeName() << " size) in " << whereText(options)
            << " ...\n"
            << Qt::flush;
        auto seconds = generateHospital(options);
        if (!seconds) {
            err << "kestrel-bench: the hospital could not be created: " << seconds.error().message
                << '\n';
            return 1;
        }
        run.generationSeconds = *seconds;
        // The generator's page cache is freed with its connection, but stays in this
        // process's heap; handed back, it does not count as the program's memory.
        malloc_trim(0);
    } else {
        auto exists = hospitalExists(options);
        if (!exists) {
            err << "kestrel-bench: " << exists.error().message << '\n';
            return 1;
        }
        if (!*exists) {
            err << "kestrel-bench: there is no hospital database at " << whereText(options)
                << ".\nCreate one first: " << generateHint(options) << '\n';
            return 2;
        }
    }

    auto db = openHospital(options);
    if (!db) {
        err << "kestrel-bench: " << db.error().message << '\n';
        return 1;
    }
    if (auto bytes = databaseBytes(**db))
        run.databaseBytes = *bytes;
    if (run.generationSeconds)
        err << "Created in " << QString::number(*run.generationSeconds, 'f', 1) << " s; "
            << sizeText(run.databaseBytes) << ".\n";
    auto marks = landmarks(**db, options);
    if (!marks) {
        err << "kestrel-bench: " << marks.error().message << '\n';
        return 1;
    }
    run.landmarks = *marks;
    run.machine = machineInfo(**db);

    if (options.loadSeconds > 0)
        return loadRun(run, options, out, err);

    QTemporaryDir scratch;
    if (!scratch.isValid()) {
        err << "kestrel-bench: no folder for the start-up lock and the report's PDF.\n";
        return 1;
    }
    BenchSession session(**db);
    QList<BenchPath> paths{startupPath(options, **db, scratch.path())};
    paths << patientPaths(session, run.landmarks);
    paths << monitorPaths(session);
    auto charging = chargingPaths(session, run.landmarks);
    if (!charging) {
        err << "kestrel-bench: " << charging.error().message << '\n';
        return 1;
    }
    paths << *charging;
    paths << requestPaths(session, run.landmarks);
    paths << examRequestPaths(session, run.landmarks);
    paths << returnPaths(session, run.landmarks);
    paths << schedulePaths(session, run.landmarks);
    paths << caseRatePaths(session);
    paths << orRecordPaths(session);
    paths << profilePaths(session, run.landmarks);
    paths << receivablePaths(session, run.landmarks);
    paths << assessmentPaths(session);
    paths << importPath(session);
    auto report = reportPath(session, QStringLiteral(KESTREL_BENCH_REPORTS), scratch.path());
    if (!report) {
        err << "kestrel-bench: the income report: " << report.error().message << '\n';
        return 1;
    }
    paths << *report;
    if (!options.only.isEmpty()) {
        const QStringList wanted = options.only.split(u',', Qt::SkipEmptyParts);
        paths.removeIf([&](const BenchPath &p) {
            return std::none_of(wanted.cbegin(), wanted.cend(), [&](const QString &w) {
                return p.name.contains(w.trimmed(), Qt::CaseInsensitive);
            });
        });
    }

    out << "Kestrel " << KESTREL_VERSION << " on " << run.machine.value(u"cpu").toString() << ", "
        << options.backendName() << ", " << options.sizeName() << " size ("
        << sizeText(run.databaseBytes) << ")\n\n"
        << Qt::flush;
    for (qsizetype i = 0; i < paths.size(); ++i) {
        err << "[" << i + 1 << "/" << paths.size() << "] " << paths.at(i).name << '\n' << Qt::flush;
        run.paths << runPath(paths.at(i), options.runs, &session.notifier);
    }
    out << resultsTable(run);

    if (!QDir().mkpath(options.outDir)) {
        err << "kestrel-bench: cannot create " << options.outDir << '\n';
        return 1;
    }
    const QString file = QDir(options.outDir).filePath(resultFileName(run.started, options));
    QFile json(file);
    if (!json.open(QIODevice::WriteOnly) ||
        json.write(QJsonDocument(resultsJson(run)).toJson()) < 0) {
        err << "kestrel-bench: cannot write " << file << '\n';
        return 1;
    }
    out << "\nResults: " << QDir::toNativeSeparators(QFileInfo(file).absoluteFilePath()) << '\n';
    const bool allRan = std::all_of(run.paths.cbegin(), run.paths.cend(),
                                    [](const PathResult &r) { return r.failure.isEmpty(); });
    return allRan ? 0 : 1;
}
