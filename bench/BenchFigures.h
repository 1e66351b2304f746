// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QString>

namespace kestrel::bench {

/// The nearest-rank percentile `p` (0 to 100) of `samples`, in any order: the smallest sample
/// that at least p percent of the samples do not exceed. 0 for no samples.
double percentile(QList<double> samples, double p);

/// The figures of one side of a path (the program's code or the bare SQL), in milliseconds.
struct TimingSummary
{
    double p50 = 0;
    double p95 = 0;
    double min = 0;
    double max = 0;
    double mean = 0;

    static TimingSummary of(const QList<double> &samples);
};

/// How many days back from the latest one make a report of about `wanted` lines, given the
/// lines of each day, the latest day first: the days are added one by one until there are
/// `wanted` lines or more, and the last day is left out again when that comes closer to
/// `wanted`. All the days when even they hold fewer; at least one day.
int reportDays(const QList<qint64> &linesPerDayLatestFirst, qint64 wanted);

/// One line of the generator's progress: the step, a bar of `width` cells, the percentage,
/// rows done of the total and the elapsed time ("m:ss").
QString progressLine(const QString &step, qint64 done, qint64 total, qint64 elapsedMs,
                     int width = 30);

} // namespace kestrel::bench
