// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchFigures.h"

#include "core/db/Error.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace kestrel::bench {

class BenchNotifier;

/// One piece of work a user waits for, done twice: through the program's own code, and as
/// the bare SQL of the same work on the same connection.
struct BenchPath
{
    QString name;
    QString program; ///< the classes the program's side goes through
    QString bare;    ///< what the bare side runs
    /// The program's p95 must stay under this many milliseconds.
    double targetMs = 0;
    /// The program's p50 may be at most 1.5 times the bare SQL's.
    bool ratioTarget = false;
    /// At most this many timed runs and one warm-up (0: as many as asked for), for a path
    /// whose every run takes seconds.
    int mostRuns = 0;

    /// Readies the hospital and the program for the runs (untimed), e.g. selects the stay.
    std::function<Result<void>()> prepare;
    /// One run through the program; answers how many rows (lines, patients) it produced.
    std::function<Result<qint64>()> runProgram;
    /// Instead of runProgram, for a path that times itself (start-up takes off the time spent
    /// in the login window): one run, answering its milliseconds.
    std::function<Result<double>()> runSelfTimed;
    /// One run of the bare SQL, every row read; empty when the path has none.
    std::function<Result<qint64>()> runBare;
    /// The program and the bare SQL read the same rows, so their counts must agree.
    bool sameRows = false;
    /// Puts back what one run wrote, so every run finds the hospital as the first did.
    std::function<Result<void>()> afterRun;
    /// What the reader of the figures should know about this path.
    QStringList notes;
};

/// The figures of one path.
struct PathResult
{
    BenchPath path;
    QList<double> programMs;
    QList<double> bareMs;
    TimingSummary program;
    TimingSummary bare;
    qint64 programRows = -1;
    qint64 bareRows = -1;
    qint64 peakKb = -1;
    /// Why the path stopped; empty when it ran.
    QString failure;
    /// What the figures should be read with, found while the path ran.
    QStringList findings;

    bool hasBare() const { return !bareMs.isEmpty(); }
    /// Program p50 / bare p50; 0 without bare figures.
    double ratio() const;
    /// Whether the figures meet the path's targets.
    bool passed() const;
};

/// How many untimed runs go before the timed ones.
inline constexpr int kWarmUpRuns = 3;

/// Runs a path: the warm-up runs, then `runs` timed runs of the program and of the bare SQL
/// in turn. A run that fails, or after which the program told the user something, ends the
/// path with the reason.
PathResult runPath(const BenchPath &path, int runs, BenchNotifier *notifier);

} // namespace kestrel::bench
