// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "BenchPath.h"

#include "BenchSeams.h"
#include "MemoryUse.h"

#include <QElapsedTimer>

#include <algorithm>

namespace kestrel::bench {

namespace {

// One timed run; the rows it produced, or why it failed.
Result<qint64> timed(const std::function<Result<qint64>()> &run, BenchNotifier *notifier,
                     QList<double> *timings)
{
    QElapsedTimer clock;
    clock.start();
    Result<qint64> rows = run();
    const double ms = double(clock.nsecsElapsed()) / 1e6;
    // A box the program showed means it refused or failed: the run did not do its work.
    const QStringList boxes = notifier ? notifier->takeBoxes() : QStringList();
    if (!boxes.isEmpty() || !rows) {
        QStringList why;
        if (!rows)
            why << rows.error().message;
        if (!boxes.isEmpty())
            why << QStringLiteral("the program said: ") + boxes.join(QStringLiteral(" / "));
        return failure(why.join(QStringLiteral("; ")));
    }
    if (timings)
        *timings << ms;
    return rows;
}

} // namespace

double PathResult::ratio() const
{
    return hasBare() && bare.p50 > 0 ? program.p50 / bare.p50 : 0;
}

bool PathResult::passed() const
{
    if (!failure.isEmpty() || programMs.isEmpty())
        return false;
    if (path.targetMs > 0 && program.p95 >= path.targetMs)
        return false;
    return !path.ratioTarget || (hasBare() && ratio() <= 1.5);
}

PathResult runPath(const BenchPath &path, int runs, BenchNotifier *notifier)
{
    PathResult result;
    result.path = path;
    if (notifier)
        notifier->takeBoxes();
    MemoryUse::resetPeak();

    const auto once = [&](bool timedRun) -> Result<void> {
        if (path.runSelfTimed) {
            auto ms = path.runSelfTimed();
            if (!ms)
                return tl::unexpected(ms.error());
            if (timedRun)
                result.programMs << *ms;
            result.programRows = 1;
        } else {
            auto rows = timed(path.runProgram, notifier, timedRun ? &result.programMs : nullptr);
            if (!rows)
                return tl::unexpected(rows.error());
            result.programRows = *rows;
        }
        if (path.afterRun) {
            if (auto ok = path.afterRun(); !ok)
                return ok;
        }
        if (!path.runBare)
            return {};
        auto bareRows = timed(path.runBare, nullptr, timedRun ? &result.bareMs : nullptr);
        if (!bareRows)
            return tl::unexpected(bareRows.error());
        result.bareRows = *bareRows;
        if (path.afterRun)
            return path.afterRun();
        return {};
    };
    Result<void> ready = path.prepare ? path.prepare() : Result<void>();
    if (ready && notifier) {
        const QStringList boxes = notifier->takeBoxes();
        if (!boxes.isEmpty())
            ready = failure(QStringLiteral("getting ready, the program said: ") +
                            boxes.join(QStringLiteral(" / ")));
    }
    if (!ready)
        result.failure = ready.error().message;
    const int warmUps = path.mostRuns > 0 ? 1 : kWarmUpRuns;
    if (path.mostRuns > 0)
        runs = std::min(runs, path.mostRuns);
    for (int i = 0; ready && i < warmUps + runs; ++i) {
        if (auto ok = once(i >= warmUps); !ok) {
            result.failure = ok.error().message;
            break;
        }
    }
    if (path.sameRows && result.failure.isEmpty() && result.programRows != result.bareRows)
        result.findings << QStringLiteral("The program read %1 rows and the bare SQL %2: they "
                                          "did not do the same work.")
                               .arg(result.programRows)
                               .arg(result.bareRows);
    result.peakKb = MemoryUse::now().peakKb;
    result.program = TimingSummary::of(result.programMs);
    result.bare = TimingSummary::of(result.bareMs);
    return result;
}

} // namespace kestrel::bench
