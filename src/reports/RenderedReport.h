// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QList>
#include <QPageLayout>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class QPagedPaintDevice;
class QPainter;
class QRectF;
class QTextDocument;

namespace kestrel {

class ReportLayout;

/// A group of a report's group tree: its key, the anchor in the body, and the page (0-based)
/// the anchor lands on.
struct ReportGroup
{
    QString key;
    QString anchor;
    int page = 0;
};

/// A report laid out on its paper: the body split into pages, each drawn with the page
/// header and footer. Made once by the renderer, then only read (shared between viewers).
///
/// The body is laid out as it is asked for: painting page 1 lays out only as far as page 1,
/// layoutMore() goes on a slice at a time (a viewer showing the first page while the rest
/// follows), and whatever needs every page (the page count, printing, exports, the group
/// tree's pages) lays out the rest first.
class RenderedReport
{
public:
    /// Makes the header or footer HTML of page `page` (1-based) of `pages`.
    using PageMarginHtml = std::function<QString(int page, int pages)>;

    /// Lays out `bodyHtml` on `layout` (margins in millimetres) with `css` as the default
    /// style sheet; `header`/`footer` give the HTML drawn above and below the body of each
    /// page. `groups` name anchors of the body; their pages are found here.
    RenderedReport(QString title, QString bodyHtml, QString css, QPageLayout layout,
                   PageMarginHtml header, PageMarginHtml footer, QList<ReportGroup> groups);
    ~RenderedReport();
    RenderedReport(const RenderedReport &) = delete;
    RenderedReport &operator=(const RenderedReport &) = delete;

    QString title() const;
    /// The body HTML the template produced.
    QString html() const;
    /// The number of pages; lays the whole report out first.
    int pageCount() const;
    /// Lays out about `rows` more table rows; true when the whole report is laid out.
    bool layoutMore(int rows) const;
    /// Lays out what is left of the report.
    void finishLayout() const;
    bool isLaidOut() const;
    /// The pages laid out so far (at least 1); pageCount() once isLaidOut().
    int pagesLaidOut() const;
    /// The groups' keys in order, without laying anything out.
    QStringList groupKeys() const;
    /// The page (0-based) that group `index` starts on, laying out as far as it.
    int groupPage(int index) const;
    /// The whole paper in points (1/72 inch).
    QSizeF pageSizePoints() const;
    QPageLayout pageLayout() const;
    /// Draws page `pageIndex` (0-based) — header, body slice and footer — scaled into
    /// `target`, which stands for the whole sheet of paper. Lays out as far as that page;
    /// while the report is not laid out whole, the page margins show the count of pages as
    /// "…".
    void paintPage(QPainter &painter, int pageIndex, const QRectF &target) const;
    /// The groups with their pages; lays the whole report out first.
    const QList<ReportGroup> &groups() const;

    /// From which size of body (characters of HTML) a report not yet laid out is printed page
    /// by page, keeping only the index of its pages; smaller ones are laid out whole first.
    static void setPrintPageByPageFrom(qsizetype htmlChars);
    /// Prints pages `fromPage` to `toPage` (1-based; 0 for the first or the last) on `device`
    /// (a printer or a PDF writer), one sheet per page.
    Result<void> print(QPagedPaintDevice &device, int fromPage = 0, int toPage = 0) const;
    Result<void> exportPdf(const QString &path) const;
    /// Every table of the report as rows of one sheet, the title in A1.
    Result<void> exportXlsx(const QString &path) const;
    Result<void> exportRtf(const QString &path) const;

    /// The laid-out body: its tables row by row and its free text; exports read it.
    const ReportLayout &layout() const;
    /// The whole body as one rich-text document, made when first asked for (for its text).
    const QTextDocument &document() const;
    /// The header and footer HTML of page `page` (1-based).
    QString headerHtml(int page) const;
    QString footerHtml(int page) const;

private:
    /// Lays out until page `pageIndex` is there or the report is laid out whole.
    void layoutUpTo(int pageIndex) const;
    void layoutDone() const;
    /// Draws page `pageIndex` of `body` with its header and footer, of `pages` (0: not known).
    void paintSheet(QPainter &painter, const ReportLayout &body, int pageIndex, int pages,
                    const QRectF &target) const;

    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace kestrel
