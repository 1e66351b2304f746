// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportViewer.h"

#include "core/Notifier.h"

#include <QFileInfo>

#include <algorithm>
#include <array>

namespace kestrel {

namespace {

constexpr std::array kPercentages{200, 150, 125, 100, 75, 50};
// The paper at its real size: a point is 1/72 inch, the screen has 96 pixels to the inch.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
// Room left around the page when it is fitted into the view.
constexpr double kFitMargin = 16.0;

QString exportSuffix(ReportViewer::ExportFormat format)
{
    switch (format) {
    case ReportViewer::ExportFormat::Excel:
        return QStringLiteral("xlsx");
    case ReportViewer::ExportFormat::RichText:
        return QStringLiteral("rtf");
    case ReportViewer::ExportFormat::Pdf:
        return QStringLiteral("pdf");
    }
    return {};
}

} // namespace

ReportViewer::ReportViewer(std::shared_ptr<const RenderedReport> report, ViewerOptions options,
                           Notifier &notifier, QObject *parent)
    : QObject(parent)
    , m_report(std::move(report))
    , m_options(std::move(options))
    , m_notifier(notifier)
    , m_zoomChoice(defaultZoomChoice())
{
    Q_ASSERT(m_report);
}

int ReportViewer::pageCount() const
{
    return std::max(1, m_report->pageCount());
}

QString ReportViewer::pageText() const
{
    return QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(pageCount());
}

void ReportViewer::showPage(int page)
{
    const int shown = std::clamp(page, 0, pageCount() - 1);
    if (shown == m_page)
        return;
    m_page = shown;
    Q_EMIT changed();
}

QStringList ReportViewer::groupKeys() const
{
    QStringList keys;
    for (const ReportGroup &group : m_report->groups())
        keys.append(group.key);
    return keys;
}

void ReportViewer::showGroup(int index)
{
    const QList<ReportGroup> &groups = m_report->groups();
    if (index < 0 || index >= groups.size())
        return;
    showPage(groups.at(index).page);
}

QStringList ReportViewer::zoomChoices()
{
    QStringList choices;
    for (int percent : kPercentages)
        choices.append(QStringLiteral("%1 %").arg(percent));
    choices << QStringLiteral("Page width") << QStringLiteral("Whole page");
    return choices;
}

int ReportViewer::defaultZoomChoice()
{
    return int(std::find(kPercentages.begin(), kPercentages.end(), 100) - kPercentages.begin());
}

void ReportViewer::setZoomChoice(int index)
{
    if (index < 0 || index >= zoomChoices().size() || index == m_zoomChoice)
        return;
    m_zoomChoice = index;
    Q_EMIT changed();
}

ReportViewer::ZoomMode ReportViewer::zoomMode() const
{
    const int percentages = int(kPercentages.size());
    if (m_zoomChoice < percentages)
        return ZoomMode::Percent;
    return m_zoomChoice == percentages ? ZoomMode::PageWidth : ZoomMode::WholePage;
}

double ReportViewer::scale(const QSizeF &viewport) const
{
    const QSizeF paper = m_report->pageSizePoints();
    if (zoomMode() == ZoomMode::Percent || paper.isEmpty())
        return kPixelsPerPoint * kPercentages.at(std::size_t(m_zoomChoice)) / 100.0;
    const double width = std::max(1.0, viewport.width() - 2 * kFitMargin) / paper.width();
    if (zoomMode() == ZoomMode::PageWidth)
        return width;
    const double height = std::max(1.0, viewport.height() - 2 * kFitMargin) / paper.height();
    return std::min(width, height);
}

void ReportViewer::toggleMore()
{
    m_moreVisible = !m_moreVisible;
    Q_EMIT moreVisibleChanged(m_moreVisible);
}

void ReportViewer::hideMore()
{
    if (!m_moreVisible)
        return;
    m_moreVisible = false;
    Q_EMIT moreVisibleChanged(false);
}

QString ReportViewer::exportFilter(ExportFormat format)
{
    switch (format) {
    case ExportFormat::Excel:
        // The hospital's own spelling of the spreadsheet program.
        return QStringLiteral("Microsof Excel (*.xlsx)");
    case ExportFormat::RichText:
        return QStringLiteral("Rich Text Format (*.rtf)");
    case ExportFormat::Pdf:
        return QStringLiteral("PDF (*.pdf)");
    }
    return {};
}

bool ReportViewer::exportTo(ExportFormat format, const QString &fileName)
{
    hideMore();
    if (!canExport())
        return false;
    // A cancelled save dialog leaves no file name: the export fails, and says so.
    if (fileName.trimmed().isEmpty()) {
        m_notifier.errorBox(QStringLiteral("The report was not exported: no file name was given."));
        return false;
    }

    QString path = fileName;
    if (QFileInfo(path).suffix().isEmpty())
        path += u'.' + exportSuffix(format);

    Result<void> written;
    switch (format) {
    case ExportFormat::Excel:
        written = m_report->exportXlsx(path);
        break;
    case ExportFormat::RichText:
        written = m_report->exportRtf(path);
        break;
    case ExportFormat::Pdf:
        written = m_report->exportPdf(path);
        break;
    }
    if (!written) {
        m_notifier.errorBox(written.error());
        return false;
    }
    return true;
}

} // namespace kestrel
