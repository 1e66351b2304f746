// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QColor>
#include <QFont>
#include <QList>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>

#include <memory>

class QPainter;
class QPaintDevice;
class QTextDocument;

namespace kestrel {

/// Reports are laid out at a fixed resolution, whatever screen or printer shows them, so a
/// report has the same pages everywhere. Four layout units make one point.
constexpr double kLayoutUnitsPerPoint = 4.0;

/// The fixed-resolution device every report measures its text on.
QPaintDevice &reportLayoutDevice();
/// A rich-text document measured on that device, `width` layout units wide.
std::unique_ptr<QTextDocument> makeReportDocument(const QString &html, const QString &css,
                                                  double width);
/// Draws `doc` (laid out in layout units) clipped to `clip`, in black on white.
void drawReportDocument(QPainter &painter, const QTextDocument &doc, const QRectF &clip);

/// How the cells of one kind look: the report's style sheet resolved once per kind.
struct CellStyle
{
    QFont font; ///< pixel-sized in layout units
    QColor color = Qt::black;
    QColor background;                                           ///< invalid: none
    QColor top, right, bottom, left;                             ///< rules; invalid: none
    double padTop = 0, padRight = 0, padBottom = 0, padLeft = 0; ///< layout units
    double rule = 2;      ///< width of the rules, layout units
    double minHeight = 0; ///< layout units
    Qt::Alignment align = Qt::AlignLeft;
    bool wrap = true;
    double lineHeight = 0; ///< layout units
    double ascent = 0;
};

/// One cell of a table row, its text plain; a cell that mixes type styles keeps its HTML and
/// is drawn as rich text.
struct LayoutCell
{
    QString text;
    QStringList lines;   ///< the text wrapped to the column; empty when it fits on one line
    /// The width of the text on one line, layout units; -1 when it is wrapped, or when it
    /// surely fits and is measured as it is painted.
    double advance = -1;
    std::shared_ptr<QTextDocument> rich;
    int column = 0;
    int span = 1;
    int style = 0;
};

struct LayoutRow
{
    /// Heading rows are repeated on every page the table runs over; a group row starts a
    /// group of the report and comes again, marked as continued, on the group's next page.
    enum class Kind { Heading, Group, Body };
    Kind kind = Kind::Body;
    QList<LayoutCell> cells;
    QStringList anchors;
    double height = 0; ///< layout units
};

/// A table of the report laid out by the engine: its columns and rows, each row measured.
struct LayoutTable
{
    QList<double> edges; ///< column edges from the body's left edge, layout units
    QList<LayoutRow> rows;
    QList<CellStyle> styles;
    int headingRows = 0;
    double headingHeight = 0;
    /// Body rows before this one were painted and let go (ReportLayout::releaseRows()).
    qsizetype releasedRows = 0;
    double width() const { return edges.isEmpty() ? 0 : edges.last() - edges.first(); }
};

/// A free-text part of the report (headings, remarks, forms): laid out as rich text.
struct LayoutText
{
    std::unique_ptr<QTextDocument> doc;
    QStringList anchors;
    double height = 0;
};

struct LayoutBlock
{
    std::unique_ptr<LayoutTable> table; ///< set for a table, else `text` is
    LayoutText text;
};

/// A piece of one block on one page: rows `first` up to `last` of a table (a row taller
/// than a page is cut at `offset`), or a slice of a text from `offset`.
struct PagePiece
{
    int block = 0;
    int first = 0;
    int last = 0;
    double y = 0;      ///< top, from the top of the page's body
    double offset = 0; ///< into the first row or into the text
    double height = 0;
    bool repeatHeading = false;
    int continuedGroup = -1; ///< the group row shown again on top, marked as continued
};

/// The body of a report, its tables laid out by the engine and the rest as rich text, cut
/// into pages of `bodySize` (layout units).
///
/// The body can be laid out a slice at a time: pages come out in order as soon as their rows
/// are measured (a page is closed once the row after its last is known, so that a group's
/// heading is never left at its foot), and a viewer shows the first while the rest follows.
class ReportLayout
{
public:
    /// Asks for a layout made a slice at a time with layoutMore().
    struct Streamed
    {
    };

    /// Lays `bodyHtml` out on pages of `bodySize` whole; `css` is the report's style sheet.
    ReportLayout(const QString &bodyHtml, const QString &css, const QSizeF &bodySize);
    /// Prepares the layout of `bodyHtml`; nothing is laid out until layoutMore() or finish().
    ReportLayout(const QString &bodyHtml, const QString &css, const QSizeF &bodySize, Streamed);
    ~ReportLayout();
    ReportLayout(const ReportLayout &) = delete;
    ReportLayout &operator=(const ReportLayout &) = delete;

    /// Lays out about `rows` more table rows (a free-text part counts as one); true when the
    /// whole body is laid out.
    bool layoutMore(int rows);
    /// Lays out what is left.
    void finish();
    bool isComplete() const { return !m_stream; }
    /// The pages laid out so far; all of them once isComplete().
    int pageCount() const { return int(m_pages.size()); }
    const QList<PagePiece> &page(int index) const { return m_pages.at(index); }
    const std::vector<LayoutBlock> &blocks() const { return m_blocks; }
    /// Lets go of the cells of the body rows that only pages before `page` show: a printer
    /// or PDF writer that has painted those pages keeps the index of pages, not the pages.
    /// Released pages no longer paint.
    void releaseRows(int page);
    /// The page (0-based) the anchor `name` lands on; -1 when the body has none.
    int pageOfAnchor(const QString &name) const;
    /// Paints page `index` of the body with its top left at (0, 0), in layout units.
    void paintPage(QPainter &painter, int index) const;
    /// The text a group row shows when it comes again on the next page.
    static QString continuedText(const QString &text);

private:
    struct Stream;
    void addText(const QString &html);
    /// Cuts the rows measured so far into pages, as far as the rows after them are known.
    void paginate();
    void paintTable(QPainter &painter, const LayoutTable &table, const PagePiece &piece) const;

public:
    class ShapedTexts;

private:
    QString m_css;
    QSizeF m_body;
    std::vector<LayoutBlock> m_blocks;
    QList<QList<PagePiece>> m_pages;
    std::unique_ptr<Stream> m_stream; ///< what is still to be laid out; null when done
    /// The cells' texts as shaped for painting, kept from page to page (painting is done on
    /// one thread).
    std::unique_ptr<ShapedTexts> m_shaped;
};

} // namespace kestrel
