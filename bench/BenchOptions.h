// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrel::bench {

/// A PostgreSQL database as `--pg host:port:database[:user]` names it.
struct ServerTarget
{
    QString host;
    int port = 5432;
    QString database;
    QString user; ///< empty: PGUSER, else "kestrel", the role Kestrel's servers are set up with
};

/// What kestrel-bench was asked to do.
struct BenchOptions
{
    Backend backend = Backend::Sqlite;
    /// The file --sqlite named; empty for the one of the size.
    QString sqliteFile;
    ServerTarget server;
    bool generate = false;
    /// The tenth-size hospital instead of the full one.
    bool small = false;
    /// The demo hospital instead of a generated one (quick checks of the program's paths).
    bool demo = false;
    int runs = 30;
    QString outDir = QStringLiteral("bench/results");
    /// When not empty, only the paths whose name holds this text run.
    QString only;
    /// When above 0, a load run of this many seconds instead of the paths.
    int loadSeconds = 0;
    /// The load run's workstations; ten of them post.
    int workstations = 100;
    bool help = false;

    /// "demo", "small" or "hospital".
    QString sizeName() const;
    /// The hospital's file: the one named, else bench-data/<size>.sqlite, so that the sizes
    /// do not replace each other.
    QString sqlitePath() const;
    /// "sqlite" or "postgres".
    QString backendName() const;
};

/// The options, or the message that tells what was wrong with the command line.
struct ParsedArguments
{
    std::optional<BenchOptions> options;
    QString message;
    /// The text `--help` prints.
    QString helpText;
};

/// Reads the command line (`arguments` with the program's name first).
ParsedArguments parseBenchArguments(const QStringList &arguments);

/// Reads `host:port:database[:user]`; nothing when it is not one. The database name must be
/// a plain identifier, since the benchmark creates and drops it by that name.
std::optional<ServerTarget> parseServerTarget(const QString &text);

/// The name of a results file: `<yyyyMMdd-HHmm>-<sqlite|postgres>-<size>.json`.
QString resultFileName(const QDateTime &started, const BenchOptions &options);

} // namespace kestrel::bench
