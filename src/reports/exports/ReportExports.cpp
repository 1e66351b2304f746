// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/exports/ReportExports.h"

#include "reports/ReportLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QRegularExpression>
#include <QSaveFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <xlsxwriter.h>

#include <cmath>

namespace kestrel {

namespace {

/// The tables of `frame` and below it, in the order they stand in the document.
void collectTables(QTextFrame *frame, QList<QTextTable *> &tables)
{
    for (QTextFrame *child : frame->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(child))
            tables << table;
        collectTables(child, tables);
    }
}

bool holdsTable(QTextFrame *frame)
{
    const auto children = frame->childFrames();
    return std::any_of(children.cbegin(), children.cend(), [](QTextFrame *f) {
        return qobject_cast<QTextTable *>(f) || holdsTable(f);
    });
}

QString cellText(const QTextTableCell &cell)
{
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    QString text = cursor.selectedText();
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar::LineSeparator, u'\n');
    text.replace(QChar::Nbsp, u' ');
    return text.trimmed();
}

bool cellIsBold(const QTextTableCell &cell)
{
    const QTextCharFormat format = cell.firstCursorPosition().block().charFormat();
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.movePosition(QTextCursor::NextCharacter, QTextCursor::KeepAnchor);
    return cursor.charFormat().fontWeight() >= QFont::Bold || format.fontWeight() >= QFont::Bold;
}

/// A covered cell of a span: only the cell's own top-left position is written.
bool isSpanOrigin(const QTextTableCell &cell, int row, int column)
{
    return cell.row() == row && cell.column() == column;
}

} // namespace

std::optional<double> spreadsheetNumber(const QString &text)
{
    static const QRegularExpression number(
        QStringLiteral(R"(^-?(0|[1-9]\d{0,2}(,\d{3})+|[1-9]\d*)(\.\d+)?$|^-?\.\d+$)"));
    const QString t = text.trimmed();
    if (!number.match(t).hasMatch())
        return std::nullopt;
    QString bare = t;
    bare.remove(u',');
    bool ok = false;
    const double value = bare.toDouble(&ok);
    if (!ok || !std::isfinite(value))
        return std::nullopt;
    return value;
}

namespace {

/// One cell of a sheet row: its text, column and weight.
struct SheetCell
{
    QString text;
    int column = 0;
    bool bold = false;
};

/// The rows of every table of `body`, in the order they are printed: the engine's tables as
/// laid out, and the tables inside free text (forms) as their rich text holds them.
QList<QList<QList<SheetCell>>> sheetTables(const ReportLayout &body)
{
    QList<QList<QList<SheetCell>>> tables;
    for (const LayoutBlock &block : body.blocks()) {
        if (block.table) {
            QList<QList<SheetCell>> rows;
            for (const LayoutRow &row : block.table->rows) {
                QList<SheetCell> cells;
                for (const LayoutCell &cell : row.cells)
                    cells << SheetCell{cell.text, cell.column,
                                       block.table->styles.at(cell.style).font.bold()};
                rows << cells;
            }
            tables << rows;
            continue;
        }
        QList<QTextTable *> found;
        collectTables(block.text.doc->rootFrame(), found);
        for (QTextTable *table : std::as_const(found)) {
            // Tables that hold tables only lay the page out; their rows are in the inner ones.
            if (holdsTable(table))
                continue;
            QList<QList<SheetCell>> rows;
            for (int r = 0; r < table->rows(); ++r) {
                QList<SheetCell> cells;
                for (int c = 0; c < table->columns(); ++c) {
                    const QTextTableCell cell = table->cellAt(r, c);
                    if (cell.isValid() && isSpanOrigin(cell, r, c))
                        cells << SheetCell{cellText(cell), c, cellIsBold(cell)};
                }
                rows << cells;
            }
            tables << rows;
        }
    }
    return tables;
}

} // namespace

Result<void> writeXlsx(const ReportLayout &body, const QString &title, const QString &path)
{
    if (path.isEmpty())
        return failure(QStringLiteral("No file name was given for the export."));
    const QByteArray file = path.toLocal8Bit();
    lxw_workbook *workbook = workbook_new(file.constData());
    if (!workbook)
        return failure(QStringLiteral("The file \"%1\" could not be written.").arg(path));
    lxw_worksheet *sheet = workbook_add_worksheet(workbook, nullptr);
    lxw_format *bold = workbook_add_format(workbook);
    format_set_bold(bold);
    lxw_format *amount = workbook_add_format(workbook);
    format_set_num_format(amount, "#,##0.00");
    lxw_format *boldAmount = workbook_add_format(workbook);
    format_set_bold(boldAmount);
    format_set_num_format(boldAmount, "#,##0.00");

    worksheet_write_string(sheet, 0, 0, title.toUtf8().constData(), bold);
    QList<double> widths;
    lxw_row_t row = 2;
    for (const auto &table : sheetTables(body)) {
        for (const QList<SheetCell> &cells : table) {
            bool any = false;
            for (const SheetCell &cell : cells) {
                const QString text = QString(cell.text).replace(QChar::Nbsp, u' ').trimmed();
                if (text.isEmpty())
                    continue;
                any = true;
                const auto col = lxw_col_t(cell.column);
                if (const auto n = spreadsheetNumber(text)) {
                    const bool money = text.contains(u'.') && text.section(u'.', -1).size() == 2;
                    worksheet_write_number(sheet, row, col, *n,
                                           money ? (cell.bold ? boldAmount : amount)
                                                 : (cell.bold ? bold : nullptr));
                } else {
                    worksheet_write_string(sheet, row, col, text.toUtf8().constData(),
                                           cell.bold ? bold : nullptr);
                }
                while (widths.size() <= cell.column)
                    widths << 8.0;
                const qsizetype longest =
                    std::ranges::max(text.split(u'\n'), {}, &QString::size).size();
                widths[cell.column] =
                    std::min(60.0, std::max(widths[cell.column], double(longest) + 2));
            }
            if (any)
                ++row;
        }
        ++row; // a blank row between tables
    }
    for (qsizetype c = 0; c < widths.size(); ++c)
        worksheet_set_column(sheet, lxw_col_t(c), lxw_col_t(c), widths.at(c), nullptr);
    const lxw_error error = workbook_close(workbook);
    if (error != LXW_NO_ERROR)
        return failure(QStringLiteral("The file \"%1\" could not be written: %2")
                           .arg(path, QString::fromUtf8(lxw_strerror(error))));
    return {};
}

QString rtfEscaped(const QString &text)
{
    QString out;
    out.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t u = ch.unicode();
        if (u == u'\\' || u == u'{' || u == u'}') {
            out += u'\\';
            out += ch;
        } else if (u == u'\t') {
            out += QStringLiteral("\\tab ");
        } else if (u == u'\n' || ch == QChar::LineSeparator || ch == QChar::ParagraphSeparator) {
            out += QStringLiteral("\\line ");
        } else if (ch == QChar::Nbsp) {
            out += QStringLiteral("\\~");
        } else if (u < 0x20) {
            continue;
        } else if (u < 0x80) {
            out += ch;
        } else {
            // Rich text counts in signed 16-bit units; a character beyond them goes as its
            // two surrogates, each on its own.
            out += QStringLiteral("\\u%1?").arg(int(qint16(u)));
        }
    }
    return out;
}

namespace {

class RtfWriter
{
public:
    RtfWriter(const QTextDocument &doc, double twipsPerUnit)
        : m_doc(doc)
        , m_twipsPerUnit(twipsPerUnit)
    {
    }

    QString m_out;

    void frame(QTextFrame *frame)
    {
        for (auto it = frame->begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                if (auto *table = qobject_cast<QTextTable *>(child))
                    this->table(table);
                else
                    this->frame(child);
            } else if (it.currentBlock().isValid()) {
                m_out += QStringLiteral("\\pard\\plain");
                paragraph(it.currentBlock());
                m_out += QStringLiteral("\\par\n");
            }
        }
    }

private:
    static QString alignment(const QTextBlock &block)
    {
        const Qt::Alignment a = block.blockFormat().alignment();
        if (a & Qt::AlignHCenter)
            return QStringLiteral("\\qc");
        if (a & Qt::AlignRight)
            return QStringLiteral("\\qr");
        return QStringLiteral("\\ql");
    }

    void paragraph(const QTextBlock &block)
    {
        m_out += alignment(block) + QStringLiteral("\\sa40 ");
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            const QTextCharFormat f = fragment.charFormat();
            double size = f.fontPointSize();
            if (size <= 0)
                size = m_doc.defaultFont().pointSizeF() > 0 ? m_doc.defaultFont().pointSizeF() : 9;
            m_out += QStringLiteral("{\\fs%1").arg(qRound(size * 2));
            if (f.fontWeight() >= QFont::Bold)
                m_out += QStringLiteral("\\b");
            if (f.fontItalic())
                m_out += QStringLiteral("\\i");
            if (f.fontUnderline())
                m_out += QStringLiteral("\\ul");
            m_out += u' ' + rtfEscaped(fragment.text()) + u'}';
        }
    }

    /// The text of a cell's content, its paragraphs kept apart; tables inside a cell give
    /// their text only, since a rich-text cell holds no table.
    void cellContent(const QTextTableCell &cell)
    {
        bool first = true;
        for (auto it = cell.begin(); !it.atEnd(); ++it) {
            if (QTextFrame *child = it.currentFrame()) {
                QTextCursor c(child->firstCursorPosition());
                c.setPosition(child->lastPosition(), QTextCursor::KeepAnchor);
                m_out += (first ? QString() : QStringLiteral("\\par ")) + u' ' +
                         rtfEscaped(c.selectedText());
                first = false;
            } else if (it.currentBlock().isValid()) {
                if (!first)
                    m_out += QStringLiteral("\\par ");
                paragraph(it.currentBlock());
                first = false;
            }
        }
    }

    void table(QTextTable *table)
    {
        const QRectF tableRect = m_doc.documentLayout()->frameBoundingRect(table);
        const bool ruled = table->format().border() > 0 &&
                           table->format().borderStyle() != QTextFrameFormat::BorderStyle_None;
        for (int r = 0; r < table->rows(); ++r) {
            m_out += QStringLiteral("\\trowd\\trgaph60\\trleft0\n");
            QList<int> origins;
            for (int c = 0; c < table->columns(); ++c) {
                const QTextTableCell cell = table->cellAt(r, c);
                if (!cell.isValid() || cell.column() != c || cell.row() != r)
                    continue;
                origins << c;
                if (ruled)
                    m_out += QStringLiteral("\\clbrdrt\\brdrs\\brdrw10\\clbrdrl\\brdrs\\brdrw10"
                                            "\\clbrdrb\\brdrs\\brdrw10\\clbrdrr\\brdrs\\brdrw10");
                m_out += QStringLiteral("\\cellx%1\n").arg(cellRight(table, tableRect, cell));
            }
            for (int c : std::as_const(origins)) {
                m_out += QStringLiteral("\\pard\\plain\\intbl");
                cellContent(table->cellAt(r, c));
                m_out += QStringLiteral("\\cell\n");
            }
            m_out += QStringLiteral("\\row\n");
        }
        m_out += QStringLiteral("\\pard\\plain\\par\n");
    }

    /// The right edge of `cell` in twips from the table's left edge, as the layout placed
    /// it: where the next column's content starts, or the table's right edge.
    int cellRight(QTextTable *table, const QRectF &tableRect, const QTextTableCell &cell) const
    {
        const int next = cell.column() + cell.columnSpan();
        double right = tableRect.right();
        for (int r = 0; r < table->rows() && next < table->columns(); ++r) {
            const QTextTableCell after = table->cellAt(r, next);
            if (after.isValid() && after.column() == next) {
                right = m_doc.documentLayout()
                            ->blockBoundingRect(after.firstCursorPosition().block())
                            .left();
                break;
            }
        }
        return qRound((right - tableRect.left()) * m_twipsPerUnit);
    }

    const QTextDocument &m_doc;
    double m_twipsPerUnit;
};

int twips(double points)
{
    return qRound(points * 20);
}

/// A table of the engine as rich-text rows, its cells where the page has them.
QString rtfTable(const LayoutTable &table)
{
    const double twipsPerUnit = 20.0 / kLayoutUnitsPerPoint;
    QString out;
    const int columns = int(table.edges.size()) - 1;
    for (const LayoutRow &row : table.rows) {
        out += QStringLiteral("\\trowd\\trgaph60\\trleft0\n");
        for (const LayoutCell &cell : row.cells) {
            const CellStyle &s = table.styles.at(cell.style);
            if (s.top.isValid())
                out += QStringLiteral("\\clbrdrt\\brdrs\\brdrw10");
            if (s.left.isValid())
                out += QStringLiteral("\\clbrdrl\\brdrs\\brdrw10");
            if (s.bottom.isValid())
                out += QStringLiteral("\\clbrdrb\\brdrs\\brdrw10");
            if (s.right.isValid())
                out += QStringLiteral("\\clbrdrr\\brdrs\\brdrw10");
            const double right = table.edges.at(std::min(columns, cell.column + cell.span));
            out += QStringLiteral("\\cellx%1\n").arg(qRound((right - table.edges.first()) *
                                                             twipsPerUnit));
        }
        for (const LayoutCell &cell : row.cells) {
            const CellStyle &s = table.styles.at(cell.style);
            const QString align = s.align & Qt::AlignRight     ? QStringLiteral("\\qr")
                                  : s.align & Qt::AlignHCenter ? QStringLiteral("\\qc")
                                                               : QStringLiteral("\\ql");
            out += QStringLiteral("\\pard\\plain\\intbl%1{\\fs%2%3 %4}\\cell\n")
                       .arg(align)
                       .arg(qRound(s.font.pixelSize() / kLayoutUnitsPerPoint * 2))
                       .arg(s.font.bold() ? QStringLiteral("\\b") : QString(),
                            rtfEscaped(cell.text));
        }
        out += QStringLiteral("\\row\n");
    }
    out += QStringLiteral("\\pard\\plain\\par\n");
    return out;
}

} // namespace

Result<void> writeRtf(const ReportLayout &body, const QString &title, const QPageLayout &layout,
                      const QString &headerHtml, const QString &path)
{
    if (path.isEmpty())
        return failure(QStringLiteral("No file name was given for the export."));
    const QRectF paper = layout.fullRect(QPageLayout::Point);
    const QMarginsF margins = layout.margins(QPageLayout::Point);

    QString out = QStringLiteral("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1\n"
                                 "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\n");
    out += QStringLiteral("{\\info{\\title %1}{\\doccomm Kestrel}}\n").arg(rtfEscaped(title));
    out += QStringLiteral("\\paperw%1\\paperh%2\\margl%3\\margr%4\\margt%5\\margb%6%7\n")
               .arg(twips(paper.width()))
               .arg(twips(paper.height()))
               .arg(twips(margins.left()))
               .arg(twips(margins.right()))
               .arg(twips(margins.top()))
               .arg(twips(margins.bottom()))
               .arg(layout.orientation() == QPageLayout::Landscape ? QStringLiteral("\\landscape")
                                                                   : QString());
    QTextDocument header;
    header.setHtml(headerHtml);
    const QStringList headerLines = header.toPlainText().split(u'\n', Qt::SkipEmptyParts);
    if (!headerLines.isEmpty()) {
        out += QStringLiteral("{\\header\\pard\\plain\\qc{\\b\\fs20 ");
        out += rtfEscaped(headerLines.join(u'\n'));
        out += QStringLiteral("}\\par}\n");
    }
    out += QStringLiteral("{\\footer\\pard\\plain\\qc{\\fs16 Page {\\field{\\*\\fldinst PAGE}}"
                          " of {\\field{\\*\\fldinst NUMPAGES}}}\\par}\n");
    const double twipsPerUnit = 20.0 / kLayoutUnitsPerPoint;
    for (const LayoutBlock &block : body.blocks()) {
        if (block.table) {
            out += rtfTable(*block.table);
            continue;
        }
        RtfWriter writer(*block.text.doc, twipsPerUnit);
        writer.frame(block.text.doc->rootFrame());
        out += writer.m_out;
    }
    out += QStringLiteral("}\n");

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return failure(QStringLiteral("The file \"%1\" could not be written: %2")
                           .arg(path, file.errorString()));
    file.write(out.toLatin1());
    if (!file.commit())
        return failure(QStringLiteral("The file \"%1\" could not be written: %2")
                           .arg(path, file.errorString()));
    return {};
}

} // namespace kestrel
