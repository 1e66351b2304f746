// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/VitalSignsTrend.h"

#include <QWidget>

class QChart;
class QChartView;
class QPagedPaintDevice;

namespace kestrel {

/// The vital-signs trend chart beside the readings: one line per measure over the stay, the
/// station's normal range of each shaded in the line's colour, temperatures on the right-hand
/// scale.
class VitalSignsChart : public QWidget
{
    Q_OBJECT

public:
    explicit VitalSignsChart(QWidget *parent = nullptr);

    void setSeries(const QList<TrendSeries> &series);
    /// The number of lines drawn (shaded ranges not counted).
    int lineCount() const { return m_lines; }
    /// Draws the chart on one page of `device` (a printer or a PDF writer) under `title`.
    void print(QPagedPaintDevice &device, const QString &title) const;

private:
    QChart *m_chart = nullptr;
    QChartView *m_view = nullptr;
    int m_lines = 0;
};

} // namespace kestrel
