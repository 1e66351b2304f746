// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchOptions.h"
#include "BenchPath.h"

#include "hospitaldb/ScaleHospital.h"

#include <QDateTime>
#include <QJsonObject>

#include <optional>

namespace kestrel::bench {

/// The most memory the program may hold on any path.
inline constexpr double kMemoryLimitMb = 300;

/// Everything one benchmark run found.
struct BenchRun
{
    QDateTime started;
    BenchOptions options;
    QJsonObject machine;
    hospitaldb::ScaleLandmarks landmarks;
    qint64 databaseBytes = -1;
    std::optional<double> generationSeconds;
    QList<PathResult> paths;

    /// The highest peak of the resident set over the paths, in megabytes.
    double peakRssMb() const;
};

/// The machine the figures come from: processor, cores, memory, system, Qt and the database
/// server's version, and how the benchmark was built.
QJsonObject machineInfo(Database &db);

/// The table printed at the end: one row per path with the program's and the bare SQL's p50
/// and p95, their ratio, the peak memory and whether the targets were met; the notes below.
QString resultsTable(const BenchRun &run);

/// The results file: the machine, the hospital, and per path every figure and the raw
/// timings in milliseconds.
QJsonObject resultsJson(const BenchRun &run);

} // namespace kestrel::bench
