// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "BenchFigures.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace kestrel::bench {

double percentile(QList<double> samples, double p)
{
    if (samples.isEmpty())
        return 0;
    std::sort(samples.begin(), samples.end());
    const double clamped = std::clamp(p, 0.0, 100.0);
    // Nearest rank: the ceil(p/100 * n)-th smallest sample, the first one for p = 0.
    const auto rank = qsizetype(std::ceil(clamped / 100.0 * double(samples.size())));
    return samples.at(std::max<qsizetype>(rank, 1) - 1);
}

TimingSummary TimingSummary::of(const QList<double> &samples)
{
    TimingSummary s;
    if (samples.isEmpty())
        return s;
    s.p50 = percentile(samples, 50);
    s.p95 = percentile(samples, 95);
    const auto [lo, hi] = std::minmax_element(samples.cbegin(), samples.cend());
    s.min = *lo;
    s.max = *hi;
    s.mean = std::accumulate(samples.cbegin(), samples.cend(), 0.0) / double(samples.size());
    return s;
}

int reportDays(const QList<qint64> &linesPerDayLatestFirst, qint64 wanted)
{
    qint64 sum = 0;
    for (qsizetype i = 0; i < linesPerDayLatestFirst.size(); ++i) {
        const qint64 before = sum;
        sum += linesPerDayLatestFirst.at(i);
        if (sum < wanted)
            continue;
        // One day fewer, when that leaves some lines and comes closer.
        if (i > 0 && before > 0 && wanted - before < sum - wanted)
            return int(i);
        return int(i + 1);
    }
    return int(std::max<qsizetype>(linesPerDayLatestFirst.size(), 1));
}

QString progressLine(const QString &step, qint64 done, qint64 total, qint64 elapsedMs, int width)
{
    const double fraction =
        total > 0 ? std::clamp(double(done) / double(total), 0.0, 1.0) : (done > 0 ? 1.0 : 0.0);
    const int filled = int(std::lround(fraction * width));
    const qint64 seconds = elapsedMs / 1000;
    return QStringLiteral("%1 [%2%3] %4% %5/%6 %7:%8")
        .arg(step, QString(filled, u'#'), QString(width - filled, u'.'))
        .arg(int(std::floor(fraction * 100)), 3)
        .arg(done)
        .arg(total)
        .arg(seconds / 60)
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace kestrel::bench
