// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportViewer.h"

#include "core/Notifier.h"

#include <QElapsedTimer>
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
    if (!m_report->isLaidOut()) {
        m_layoutTimer = new QTimer(this);
        m_layoutTimer->setInterval(0);
        connect(m_layoutTimer, &QTimer::timeout, this, &ReportViewer::layoutMore);
        m_layoutTimer->start();
    }
}

int ReportViewer::pageCount() const
{
    return m_report->pagesLaidOut();
}

QString ReportViewer::pageText() const
{
    if (isLayingOut())
        return QStringLiteral("Page %1 of …").arg(m_page + 1);
    return QStringLiteral("Page %1 of %2").arg(m_page + 1).arg(pageCount());
}

QString ReportViewer::progressText() const
{
    if (!isLayingOut())
        return {};
    return QStringLiteral("Laying out the report: %1 page(s) so far…").arg(pageCount());
}

void ReportViewer::layoutMore()
{
    if (!isLayingOut()) {
        if (m_layoutTimer)
            m_layoutTimer->stop();
        return;
    }
    // Slices short enough that a click or a scroll is answered at once.
    constexpr int kSliceMs = 30;
    constexpr int kRowsPerStep = 64;
    QElapsedTimer slice;
    slice.start();
    while (!m_report->layoutMore(kRowsPerStep) && slice.elapsed() < kSliceMs) {
    }
    if (isLayingOut()) {
        Q_EMIT layoutProgressed();
        return;
    }
    if (m_layoutTimer)
        m_layoutTimer->stop();
    Q_EMIT changed(); // the page shown now tells the count of pages
}

void ReportViewer::finishLayout()
{
    if (!isLayingOut())
        return;
    m_report->finishLayout();
    if (m_layoutTimer)
        m_layoutTimer->stop();
    Q_EMIT changed();
}

void ReportViewer::showLastPage()
{
    finishLayout();
    showPage(pageCount() - 1);
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
    return m_report->groupKeys();
}

void ReportViewer::showGroup(int index)
{
    if (index < 0 || index >= m_report->groupKeys().size())
        return;
    const int page = m_report->groupPage(index);
    if (isLayingOut())
        Q_EMIT changed(); // the layout went on as far as the group
    showPage(page);
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

    const bool wasLayingOut = isLayingOut();
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
    if (wasLayingOut && !isLayingOut()) { // the export laid the report out whole
        if (m_layoutTimer)
            m_layoutTimer->stop();
        Q_EMIT changed();
    }
    if (!written) {
        m_notifier.errorBox(written.error());
        return false;
    }
    return true;
}

} // namespace kestrel
