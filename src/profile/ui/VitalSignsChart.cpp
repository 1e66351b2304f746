// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ui/VitalSignsChart.h"

#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QLegendMarker>
#include <QLineSeries>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QValueAxis>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QColor colourOf(TrendSeries::Measure measure)
{
    switch (measure) {
    case TrendSeries::Temperature:
        return QColor(0xc6, 0x28, 0x28);
    case TrendSeries::PulseRate:
        return QColor(0x15, 0x65, 0xc0);
    case TrendSeries::RespiratoryRate:
        return QColor(0x2e, 0x7d, 0x32);
    case TrendSeries::Systolic:
        return QColor(0x6a, 0x1b, 0x9a);
    case TrendSeries::Diastolic:
        return QColor(0xad, 0x14, 0x57);
    case TrendSeries::O2Sat:
        return QColor(0xef, 0x6c, 0x00);
    }
    return Qt::black;
}

} // namespace

VitalSignsChart::VitalSignsChart(QWidget *parent)
    : QWidget(parent)
    , m_chart(new QChart)
{
    setObjectName(QStringLiteral("chtVitalSigns"));
    m_chart->setTitle(QStringLiteral("Vital Signs"));
    m_chart->legend()->setAlignment(Qt::AlignBottom);
    m_view = new QChartView(m_chart, this);
    m_view->setRenderHint(QPainter::Antialiasing);
    m_view->setMinimumSize(480, 320);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
}

void VitalSignsChart::setSeries(const QList<TrendSeries> &series)
{
    m_chart->removeAllSeries();
    for (QAbstractAxis *axis : m_chart->axes())
        m_chart->removeAxis(axis);
    m_lines = 0;

    double first = 0, last = 0;
    bool any = false;
    for (const TrendSeries &s : series) {
        for (const QPointF &p : s.points) {
            first = any ? std::min(first, p.x()) : p.x();
            last = any ? std::max(last, p.x()) : p.x();
            any = true;
        }
    }
    if (!any) {
        m_chart->setTitle(QStringLiteral("Vital Signs (no readings yet)"));
        return;
    }
    m_chart->setTitle(QStringLiteral("Vital Signs"));
    if (last <= first)
        last = first + 3600 * 1000.0;

    auto *time = new QDateTimeAxis;
    time->setFormat(QStringLiteral("MM/dd hh:mm"));
    time->setTickCount(4);
    time->setLabelsAngle(-30);
    time->setRange(QDateTime::fromMSecsSinceEpoch(qint64(first)),
                   QDateTime::fromMSecsSinceEpoch(qint64(last)));
    auto *shared = new QValueAxis;
    shared->setRange(0, 220);
    shared->setTitleText(QStringLiteral("/min.  mmHg  %"));
    auto *celsius = new QValueAxis;
    celsius->setRange(34, 42);
    celsius->setTitleText(QStringLiteral("°C"));
    m_chart->addAxis(time, Qt::AlignBottom);
    m_chart->addAxis(shared, Qt::AlignLeft);
    m_chart->addAxis(celsius, Qt::AlignRight);

    for (const TrendSeries &s : series) {
        QValueAxis *scale = s.ownScale ? celsius : shared;
        const QColor colour = colourOf(s.measure);
        if (s.normal.isValid()) {
            auto *upper = new QLineSeries;
            auto *lower = new QLineSeries;
            upper->append(first, s.normal.high);
            upper->append(last, s.normal.high);
            lower->append(first, s.normal.low);
            lower->append(last, s.normal.low);
            auto *band = new QAreaSeries(upper, lower);
            QColor fill = colour;
            fill.setAlpha(28);
            band->setBrush(fill);
            band->setPen(Qt::NoPen);
            m_chart->addSeries(band);
            band->attachAxis(time);
            band->attachAxis(scale);
            for (QLegendMarker *marker : m_chart->legend()->markers(band))
                marker->setVisible(false);
        }
        auto *line = new QLineSeries;
        line->setName(s.name);
        line->setColor(colour);
        line->setPointsVisible(true);
        for (const QPointF &p : s.points)
            line->append(p);
        m_chart->addSeries(line);
        line->attachAxis(time);
        line->attachAxis(scale);
        ++m_lines;
    }
}

void VitalSignsChart::print(QPagedPaintDevice &device, const QString &title) const
{
    device.setPageOrientation(QPageLayout::Landscape);
    QPainter painter(&device);
    const QRect page = painter.viewport();
    QFont heading = painter.font();
    heading.setPointSize(12);
    heading.setBold(true);
    painter.setFont(heading);
    const int headingHeight = painter.fontMetrics().height() * 2;
    painter.drawText(QRect(page.left(), page.top(), page.width(), headingHeight),
                     Qt::AlignLeft | Qt::AlignVCenter, title);
    const QRect area(page.left(), page.top() + headingHeight, page.width(),
                     page.height() - headingHeight);
    m_view->render(&painter, area, m_view->rect(), Qt::KeepAspectRatio);
}

} // namespace kestrel
