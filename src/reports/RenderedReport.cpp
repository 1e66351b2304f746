// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/RenderedReport.h"

#include "reports/exports/ReportExports.h"
#include "reports/ReportLog.h"

#include <QAbstractTextDocumentLayout>
#include <QFileInfo>
#include <QImage>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QTextBlock>
#include <QTextDocument>

#include <cmath>

Q_LOGGING_CATEGORY(lcReports, "kestrel.reports")

namespace kestrel {

namespace {

/// Reports are laid out at a fixed resolution, whatever screen or printer shows them, so a
/// report has the same pages everywhere. Four layout units make one point.
constexpr double kUnitsPerPoint = 4.0;
constexpr int kLayoutDpi = 72 * 4;
/// Room between the page header or footer and the body, in points.
constexpr double kMarginGapPoints = 6.0;

/// The fixed-resolution device every report document measures its text on.
QPaintDevice &layoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(kLayoutDpi / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

std::unique_ptr<QTextDocument> makeDocument(const QString &html, const QString &css, double width)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&layoutDevice());
    doc->setUseDesignMetrics(true);
    doc->setDocumentMargin(0);
    doc->setDefaultStyleSheet(css);
    doc->setHtml(html);
    doc->setTextWidth(width);
    return doc;
}

void drawDocument(QPainter &painter, QTextDocument &doc, const QRectF &clip)
{
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    doc.documentLayout()->draw(&painter, ctx);
    painter.restore();
}

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
    std::unique_ptr<QTextDocument> body;
    QSizeF page;     ///< the sheet, in layout units
    QRectF bodyRect; ///< where one page's slice of the body goes, in layout units
    double headerTop = 0;
    double footerTop = 0;
    int pages = 1;

    void findGroupPages()
    {
        QHash<QString, int> pageOf;
        const auto note = [&](const QStringList &names, double y) {
            const int page = std::clamp(int(std::floor(y / bodyRect.height())), 0, pages - 1);
            for (const QString &name : names) {
                if (!pageOf.contains(name))
                    pageOf.insert(name, page);
            }
        };
        // A line's place, not its block's: a block's top margin may end one page while its
        // text starts the next.
        const auto lineTop = [&](const QTextBlock &block, int position) {
            const QRectF rect = body->documentLayout()->blockBoundingRect(block);
            const QTextLayout *lines = block.layout();
            const QTextLine line = lines ? lines->lineForTextPosition(position) : QTextLine();
            if (!line.isValid())
                return rect.top();
            // The block's rectangle starts at the layout's origin; a line pushed over a page
            // break carries the push in its own position.
            return rect.top() + line.y() + line.height() / 2;
        };
        for (QTextBlock block = body->begin(); block.isValid(); block = block.next()) {
            // An empty anchor before a heading is kept on the heading's block.
            note(block.charFormat().anchorNames(), lineTop(block, 0));
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                const QStringList names = fragment.charFormat().anchorNames();
                if (!names.isEmpty())
                    note(names, lineTop(block, fragment.position() - block.position()));
            }
        }
        for (ReportGroup &group : groups)
            group.page = pageOf.value(group.anchor, 0);
    }
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
    const double headerHeight = makeDocument(d->header(1, 1), d->css, width)->size().height();
    const double footerHeight = makeDocument(d->footer(1, 1), d->css, width)->size().height();
    const double gap = kMarginGapPoints * kUnitsPerPoint;
    d->headerTop = margins.top() * kUnitsPerPoint;
    const double bodyTop = d->headerTop + (headerHeight > 0 ? headerHeight + gap : 0);
    const double bottom = d->page.height() - margins.bottom() * kUnitsPerPoint;
    d->footerTop = bottom - footerHeight;
    const double bodyBottom = d->footerTop - (footerHeight > 0 ? gap : 0);
    // A header and footer that leave no room still leave the body a strip of paper.
    const double bodyHeight = std::max(bodyBottom - bodyTop, 72.0 * kUnitsPerPoint);
    d->bodyRect = QRectF(margins.left() * kUnitsPerPoint, bodyTop, width, bodyHeight);

    d->body = makeDocument(d->html, d->css, width);
    d->body->setPageSize(QSizeF(width, bodyHeight));
    d->pages = std::max(1, d->body->pageCount());
    d->findGroupPages();
}

RenderedReport::~RenderedReport() = default;

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
    return d->groups;
}

const QTextDocument &RenderedReport::document() const
{
    return *d->body;
}

QString RenderedReport::headerHtml(int page) const
{
    return d->header(page, d->pages);
}

QString RenderedReport::footerHtml(int page) const
{
    return d->footer(page, d->pages);
}

void RenderedReport::paintPage(QPainter &painter, int pageIndex, const QRectF &target) const
{
    if (pageIndex < 0 || pageIndex >= d->pages || target.isEmpty())
        return;
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.translate(target.topLeft());
    painter.scale(target.width() / d->page.width(), target.height() / d->page.height());
    painter.fillRect(QRectF(QPointF(0, 0), d->page), Qt::white);

    const double width = d->bodyRect.width();
    const double left = d->bodyRect.left();
    auto header = makeDocument(d->header(pageIndex + 1, d->pages), d->css, width);
    painter.save();
    painter.translate(left, d->headerTop);
    drawDocument(painter, *header, QRectF(QPointF(0, 0), header->size()));
    painter.restore();

    // The body is one long document cut into page-high slices; its layout already keeps
    // lines and table rows off the cuts.
    painter.save();
    painter.translate(left, d->bodyRect.top() - pageIndex * d->bodyRect.height());
    drawDocument(painter, *d->body,
                 QRectF(0, pageIndex * d->bodyRect.height(), width, d->bodyRect.height()));
    painter.restore();

    auto footer = makeDocument(d->footer(pageIndex + 1, d->pages), d->css, width);
    painter.save();
    painter.translate(left, d->footerTop);
    drawDocument(painter, *footer, QRectF(QPointF(0, 0), footer->size()));
    painter.restore();
    painter.restore();
}

Result<void> RenderedReport::print(QPagedPaintDevice &device) const
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
    for (int i = 0; i < d->pages; ++i) {
        if (i > 0 && !device.newPage()) {
            painter.end();
            return failure(QStringLiteral("The report \"%1\" could not be printed: page %2 "
                                          "was refused.")
                               .arg(d->title)
                               .arg(i + 1));
        }
        paintPage(painter, i, target);
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
    return writeXlsx(*d->body, d->title, path);
}

Result<void> RenderedReport::exportRtf(const QString &path) const
{
    return writeRtf(*d->body, d->title, d->layout, headerHtml(1), path);
}

} // namespace kestrel
