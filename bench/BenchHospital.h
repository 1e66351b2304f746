// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchOptions.h"

#include "hospitaldb/ScaleHospital.h"
#include "core/db/Database.h"

#include <memory>

namespace kestrel::bench {

/// Where the benchmark's hospital lives: the connection settings it is opened with.
ConnectionSettings connectionSettings(const BenchOptions &options);

/// Whether the hospital database is there already.
Result<bool> hospitalExists(const BenchOptions &options);

/// Creates the hospital afresh, replacing one that is there: the demo hospital with --demo,
/// else a generated one of the chosen size, up to today. The generator's progress goes to
/// stderr, one line per step. Answers the seconds it took.
Result<double> generateHospital(const BenchOptions &options);

/// Opens the hospital with the hospital's procedures in place.
Result<std::unique_ptr<Database>> openHospital(const BenchOptions &options);

/// The size of the database in bytes (the file with its write-ahead log, or the server
/// database).
Result<qint64> databaseBytes(Database &db);

/// The stays and names the paths use: the generator's landmarks, or for the demo hospital
/// the same kinds of stay picked from its rows.
Result<hospitaldb::ScaleLandmarks> landmarks(Database &db, const BenchOptions &options);

/// The size the options ask for.
hospitaldb::ScaleSize scaleSize(const BenchOptions &options);

} // namespace kestrel::bench
