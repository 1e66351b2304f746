// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/RenderedReport.h"

#include "reports/exports/ReportExports.h"
#include "reports/ReportLayout.h"
#include "reports/ReportLog.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextDocument>

#include <cmath>

Q_LOGGING_CATEGORY(lcReports, "kestrel.reports")

namespace kestrel {

namespace {

/// Room between the page header or footer and the body, in points.
constexpr double kMarginGapPoints = 6.0;
constexpr double kUnitsPerPoint = kLayoutUnitsPerPoint;
/// Table rows laid out at a time while a report is printed page by page.
constexpr int kPrintRowsPerStep = 512;
/// The body's size (characters of HTML, some 20,000 lines of a list) from which a print
/// is counted first and then painted page by page instead of being laid out whole.
qsizetype g_printPageByPageFrom = 8 * 1024 * 1024;

} // namespace

struct RenderedReport::Private
{
    QString title;
    QString html;
    QString css;
    QPageLayout layout;
    PageMarginHtml header;
    PageMarginHtml footer;
    QList<ReportGroup> groups;
    std::unique_ptr<ReportLayout> body;
    mutable std::unique_ptr<QTextDocument> wholeDocument;
    QSizeF page;     ///< the sheet, in layout units
    QRectF bodyRect; ///< where one page's part of the body goes, in layout units
    double headerTop = 0;
    double footerTop = 0;
    int pages = 1;
    bool laidOut = false; ///< the body is laid out whole and `pages` counts its pages
    int counted = 0;      ///< the pages, counted by a print before the body was laid out
};

RenderedReport::RenderedReport(QString title, QString bodyHtml, QString css, QPageLayout layout,
                               PageMarginHtml header, PageMarginHtml footer,
                               QList<ReportGroup> groups)
    : d(std::make_unique<Private>())
{
    d->title = std::move(title);
    d->html = std::move(bodyHtml);
    d->css = std::move(css);
    d->layout = std::move(layout);
    d->header = std::move(header);
    d->footer = std::move(footer);
    d->groups = std::move(groups);

    const QRectF paper = d->layout.fullRect(QPageLayout::Point);
    const QMarginsF margins = d->layout.margins(QPageLayout::Point);
    d->page = paper.size() * kUnitsPerPoint;
    const double width = (paper.width() - margins.left() - margins.right()) * kUnitsPerPoint;
    // The header and footer are measured on the first page; page numbers do not change
    // their height.
    const double headerHeight =
        makeReportDocument(d->header(1, 1), d->css, width)->size().height();
    const double footerHeight =
        makeReportDocument(d->footer(1, 1), d->css, width)->size().height();
    const double gap = kMarginGapPoints * kUnitsPerPoint;
    d->headerTop = margins.top() * kUnitsPerPoint;
    const double bodyTop = d->headerTop + (headerHeight > 0 ? headerHeight + gap : 0);
    const double bottom = d->page.height() - margins.bottom() * kUnitsPerPoint;
    d->footerTop = bottom - footerHeight;
    const double bodyBottom = d->footerTop - (footerHeight > 0 ? gap : 0);
    // A header and footer that leave no room still leave the body a strip of paper.
    const double bodyHeight = std::max(bodyBottom - bodyTop, 72.0 * kUnitsPerPoint);
    d->bodyRect = QRectF(margins.left() * kUnitsPerPoint, bodyTop, width, bodyHeight);

    d->body = std::make_unique<ReportLayout>(d->html, d->css, d->bodyRect.size(),
                                             ReportLayout::Streamed{});
}

void RenderedReport::layoutDone() const
{
    if (d->laidOut || !d->body->isComplete())
        return;
    d->laidOut = true;
    d->pages = std::max(1, d->body->pageCount());
    for (ReportGroup &group : d->groups)
        group.page = std::max(0, d->body->pageOfAnchor(group.anchor));
}

bool RenderedReport::layoutMore(int rows) const
{
    d->body->layoutMore(rows);
    layoutDone();
    return d->laidOut;
}

void RenderedReport::finishLayout() const
{
    d->body->finish();
    layoutDone();
}

void RenderedReport::layoutUpTo(int pageIndex) const
{
    // A page is done once the next one has begun, or the body has ended.
    while (!d->body->isComplete() && d->body->pageCount() <= pageIndex)
        d->body->layoutMore(256);
    layoutDone();
}

bool RenderedReport::isLaidOut() const
{
    return d->laidOut;
}

int RenderedReport::pagesLaidOut() const
{
    return d->laidOut ? d->pages : std::max(1, d->body->pageCount());
}

QStringList RenderedReport::groupKeys() const
{
    QStringList keys;
    for (const ReportGroup &group : std::as_const(d->groups))
        keys << group.key;
    return keys;
}

int RenderedReport::groupPage(int index) const
{
    if (index < 0 || index >= d->groups.size())
        return 0;
    const QString &anchor = d->groups.at(index).anchor;
    while (!d->laidOut) {
        const int page = d->body->pageOfAnchor(anchor);
        if (page >= 0)
            return page;
        layoutMore(256);
    }
    return d->groups.at(index).page;
}

RenderedReport::~RenderedReport() = default;

void RenderedReport::setPrintPageByPageFrom(qsizetype htmlChars)
{
    g_printPageByPageFrom = htmlChars;
}

QString RenderedReport::title() const
{
    return d->title;
}

QString RenderedReport::html() const
{
    return d->html;
}

int RenderedReport::pageCount() const
{
    if (!d->laidOut && d->counted > 0)
        return d->counted; // counted when it was printed
    finishLayout();
    return d->pages;
}

QSizeF RenderedReport::pageSizePoints() const
{
    return d->layout.fullRect(QPageLayout::Point).size();
}

QPageLayout RenderedReport::pageLayout() const
{
    return d->layout;
}

const QList<ReportGroup> &RenderedReport::groups() const
{
    finishLayout();
    return d->groups;
}

const ReportLayout &RenderedReport::layout() const
{
    finishLayout();
    return *d->body;
}

const QTextDocument &RenderedReport::document() const
{
    if (!d->wholeDocument)
        d->wholeDocument = makeReportDocument(d->html, d->css, d->bodyRect.width());
    return *d->wholeDocument;
}

QString RenderedReport::headerHtml(int page) const
{
    finishLayout();
    return d->header(page, d->pages);
}

QString RenderedReport::footerHtml(int page) const
{
    finishLayout();
    return d->footer(page, d->pages);
}

void RenderedReport::paintPage(QPainter &painter, int pageIndex, const QRectF &target) const
{
    if (pageIndex < 0 || target.isEmpty())
        return;
    layoutUpTo(pageIndex);
    if (pageIndex >= pagesLaidOut())
        return;
    paintSheet(painter, *d->body, pageIndex, d->laidOut ? d->pages : 0, target);
}

void RenderedReport::paintSheet(QPainter &painter, const ReportLayout &body, int pageIndex,
                                int pages, const QRectF &target) const
{
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / d->page.width(), target.height() / d->page.height());
    painter.fillRect(QRectF(QPointF(0, 0), d->page), Qt::white);

    const double width = d->bodyRect.width();
    const double left = d->bodyRect.left();
    auto header = makeReportDocument(d->header(pageIndex + 1, pages), d->css, width);
    painter.save();
    painter.translate(left, d->headerTop);
    drawReportDocument(painter, *header, QRectF(QPointF(0, 0), header->size()));
    painter.restore();

    painter.save();
    painter.translate(d->bodyRect.topLeft());
    body.paintPage(painter, pageIndex);
    painter.restore();

    auto footer = makeReportDocument(d->footer(pageIndex + 1, pages), d->css, width);
    painter.save();
    painter.translate(left, d->footerTop);
    drawReportDocument(painter, *footer, QRectF(QPointF(0, 0), footer->size()));
    painter.restore();
    painter.restore();
}

Result<void> RenderedReport::print(QPagedPaintDevice &device, int fromPage, int toPage) const
{
    // The sheet is drawn whole, margins included, so the device gets no margins of its own.
    const QPageLayout sheet(d->layout.pageSize(), d->layout.orientation(), QMarginsF(),
                            QPageLayout::Point);
    device.setPageLayout(sheet);
    QPainter painter;
    if (!painter.begin(&device))
        return failure(QStringLiteral("The report \"%1\" could not be printed: the printer "
                                      "did not start.")
                           .arg(d->title));
    // A printer that keeps margins of its own gets the sheet scaled down whole, never
    // stretched.
    const double scale =
        std::min(device.width() / d->page.width(), device.height() / d->page.height());
    const QRectF target(0, 0, d->page.width() * scale, d->page.height() * scale);
    // Every sheet says which of how many it is: a report not laid out yet is counted first,
    // over its row heights only, then laid out again page by page, each page painted as soon
    // as it is laid out and let go once painted.
    // A report of ordinary size is laid out whole, once: counting first would only cost time.
    std::unique_ptr<ReportLayout> streamed;
    if (!d->laidOut && d->html.size() < g_printPageByPageFrom)
        finishLayout();
    if (!d->laidOut) {
        if (d->counted == 0) {
            ReportLayout count(d->html, d->css, d->bodyRect.size(), ReportLayout::Streamed{});
            while (!count.layoutMore(kPrintRowsPerStep))
                count.releaseRows(count.pageCount());
            d->counted = std::max(1, count.pageCount());
        }
        streamed = std::make_unique<ReportLayout>(d->html, d->css, d->bodyRect.size(),
                                                  ReportLayout::Streamed{});
    }
    const int pages = d->laidOut ? d->pages : d->counted;
    // The print dialog's page range: pages outside the report are left out.
    const int first = std::clamp(fromPage > 0 ? fromPage - 1 : 0, 0, pages - 1);
    const int last = std::clamp(toPage > 0 ? toPage - 1 : pages - 1, first, pages - 1);
    for (int i = first; i <= last; ++i) {
        if (i > first && !device.newPage()) {
            painter.end();
            return failure(QStringLiteral("The report \"%1\" could not be printed: page %2 "
                                          "was refused.")
                               .arg(d->title)
                               .arg(i + 1));
        }
        if (!streamed) {
            paintSheet(painter, *d->body, i, pages, target);
            continue;
        }
        while (streamed->pageCount() <= i && !streamed->layoutMore(kPrintRowsPerStep))
            streamed->releaseRows(i);
        streamed->releaseRows(i);
        paintSheet(painter, *streamed, i, pages, target);
    }
    if (!painter.end())
        return failure(QStringLiteral("The report \"%1\" could not be printed.").arg(d->title));
    return {};
}

Result<void> RenderedReport::exportPdf(const QString &path) const
{
    if (path.isEmpty())
        return failure(QStringLiteral("No file name was given for the export."));
    {
        QPdfWriter writer(path);
        writer.setTitle(d->title);
        writer.setCreator(QStringLiteral("Kestrel"));
        writer.setResolution(600);
        if (auto ok = print(writer); !ok)
            return failure(QStringLiteral("The file \"%1\" could not be written.").arg(path));
    }
    if (!QFileInfo(path).isFile() || QFileInfo(path).size() == 0)
        return failure(QStringLiteral("The file \"%1\" could not be written.").arg(path));
    return {};
}

Result<void> RenderedReport::exportXlsx(const QString &path) const
{
    return writeXlsx(layout(), d->title, path);
}

Result<void> RenderedReport::exportRtf(const QString &path) const
{
    return writeRtf(layout(), d->title, d->layout, headerHtml(1), path);
}

} // namespace kestrel
