// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/ProfileStore.h"

#include <QList>
#include <QPointF>
#include <QString>

namespace kestrel {

class Database;

/// The normal range of one vital sign; empty when the station gave none that reads.
struct NormalRange
{
    double low = 0;
    double high = 0;
    bool isValid() const { return high > low; }
};

/// One line of the vital-signs trend chart: the readings of one measure over the stay, oldest
/// first (x the time in milliseconds since the epoch, y the value), and the station's normal
/// range shaded behind it.
struct TrendSeries
{
    enum Measure { Temperature, PulseRate, RespiratoryRate, Systolic, Diastolic, O2Sat };

    Measure measure;
    QString name;
    QList<QPointF> points;
    NormalRange normal;
    /// Temperatures go on their own scale beside the chart; the rest share the other one.
    bool ownScale = false;
};

/// The data of the vital-signs trend chart beside the readings' table: the series of each
/// measure and the station's normal ranges. A reading that does not read as a number ("abc",
/// the missing half of "120/") leaves a gap, not a zero.
class VitalSignsTrend
{
public:
    explicit VitalSignsTrend(Database &db)
        : m_db(db)
    {
    }

    /// Reads the station's normal ranges ("low-high" texts); a range the station left empty
    /// or wrote so that it does not read keeps the usual adult range.
    Result<void> loadRanges();
    NormalRange range(TrendSeries::Measure measure) const;

    /// "36.5-37.5" as a range; `fallback` when the text is not two rising numbers.
    static NormalRange parseRange(const QString &text, NormalRange fallback);

    /// The chart's series for `readings` (in any order): temperature, pulse, respiration,
    /// systolic and diastolic pressure, and the oxygen saturation when any reading has one.
    QList<TrendSeries> series(const QList<VitalSignRecord> &readings) const;

private:
    Database &m_db;
    QList<NormalRange> m_ranges = defaultRanges();

    static QList<NormalRange> defaultRanges();
};

} // namespace kestrel
