// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchOptions.h"

#include "core/db/Error.h"
#include "hospitaldb/ScaleHospital.h"

#include <QJsonObject>
#include <QTextStream>

namespace kestrel::bench {

/// A ward's worth of workstations against one server: every workstation polls the main
/// window's monitors at their intervals on a connection of its own, while some of them also
/// post twenty-line batches back to back.
struct LoadSettings
{
    int workstations = 100;
    int posting = 10;
    int seconds = 300;
};

/// Runs the load against the PostgreSQL hospital of `options`, prints the figures on `out`
/// and answers them for the results file: the posting's and the checks' times, the server's
/// connections and, when the server runs on this machine, its processor time.
Result<QJsonObject> runLoad(const BenchOptions &options,
                            const hospitaldb::ScaleLandmarks &landmarks,
                            const LoadSettings &settings, QTextStream &out, QTextStream &err);

} // namespace kestrel::bench
