// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportLayout.h"

#include <QAbstractTextDocumentLayout>
#include <QFontMetricsF>
#include <QGlyphRun>
#include <QHash>
#include <QImage>
#include <QPaintEngine>
#include <QPainter>
#include <QRawFont>
#include <QRegularExpression>
#include <QTextDocument>
#include <QTextLayout>

#include <algorithm>
#include <cmath>
#include <optional>

namespace kestrel {

QPaintDevice &reportLayoutDevice()
{
    static QImage device = [] {
        QImage image(1, 1, QImage::Format_ARGB32);
        const int dotsPerMeter = qRound(72 * kLayoutUnitsPerPoint / 0.0254);
        image.setDotsPerMeterX(dotsPerMeter);
        image.setDotsPerMeterY(dotsPerMeter);
        return image;
    }();
    return device;
}

std::unique_ptr<QTextDocument> makeReportDocument(const QString &html, const QString &css,
                                                  double width)
{
    auto doc = std::make_unique<QTextDocument>();
    doc->documentLayout()->setPaintDevice(&reportLayoutDevice());
    doc->setUseDesignMetrics(true);
    doc->setDocumentMargin(0);
    doc->setDefaultStyleSheet(css);
    doc->setHtml(html);
    doc->setTextWidth(width);
    return doc;
}

void drawReportDocument(QPainter &painter, const QTextDocument &doc, const QRectF &clip)
{
    QAbstractTextDocumentLayout::PaintContext ctx;
    ctx.clip = clip;
    ctx.palette.setColor(QPalette::Text, Qt::black);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    doc.documentLayout()->draw(&painter, ctx);
    painter.restore();
}

namespace {

// --- Style sheet ------------------------------------------------------------------------------

/// One part of a selector: `table.grid`, `td`, `.n`.
struct Compound
{
    QString tag;
    QStringList classes;
    bool matches(const QString &elementTag, const QStringList &elementClasses) const
    {
        if (!tag.isEmpty() && tag != u"*" && tag != elementTag)
            return false;
        return std::all_of(classes.cbegin(), classes.cend(),
                           [&](const QString &c) { return elementClasses.contains(c); });
    }
};

struct CssRule
{
    QList<Compound> selector;
    int specificity = 0;
    int order = 0;
    QList<std::pair<QString, QString>> declarations;
};

QList<CssRule> parseCss(const QString &css)
{
    QList<CssRule> rules;
    static const QRegularExpression rule(QStringLiteral(R"(([^{}]+)\{([^}]*)\})"));
    int order = 0;
    for (auto it = rule.globalMatch(css); it.hasNext();) {
        const auto m = it.next();
        QList<std::pair<QString, QString>> declarations;
        for (const QString &d : m.captured(2).split(u';', Qt::SkipEmptyParts)) {
            const qsizetype colon = d.indexOf(u':');
            if (colon > 0)
                declarations.append(
                    {d.left(colon).trimmed().toLower(), d.mid(colon + 1).trimmed()});
        }
        for (const QString &selectorText : m.captured(1).split(u',', Qt::SkipEmptyParts)) {
            CssRule r;
            for (const QString &part : selectorText.simplified().split(u' ', Qt::SkipEmptyParts)) {
                Compound c;
                const QStringList bits = part.split(u'.');
                c.tag = bits.first().toLower();
                c.classes = bits.mid(1);
                r.specificity += int(c.classes.size()) * 10 + (c.tag.isEmpty() ? 0 : 1);
                r.selector << c;
            }
            if (r.selector.isEmpty())
                continue;
            r.order = order++;
            r.declarations = declarations;
            rules << r;
        }
    }
    return rules;
}

/// An element a selector may name: its tag and classes.
struct Element
{
    QString tag;
    QStringList classes;
};

/// Whether `rule` names `chain`'s last element, its other parts naming ancestors in order.
bool ruleMatches(const CssRule &rule, const QList<Element> &chain)
{
    qsizetype at = chain.size() - 1;
    if (!rule.selector.last().matches(chain.at(at).tag, chain.at(at).classes))
        return false;
    for (qsizetype s = rule.selector.size() - 2; s >= 0; --s) {
        --at;
        while (at >= 0 && !rule.selector.at(s).matches(chain.at(at).tag, chain.at(at).classes))
            --at;
        if (at < 0)
            return false;
    }
    return true;
}

/// A CSS length in layout units: points as they are, a pixel as half a point (the sheet's
/// rules and paddings were drawn for print, where a pixel is a fine line).
double cssLength(const QString &value, double percentOf = 0)
{
    static const QRegularExpression number(QStringLiteral(R"(^(-?\d*\.?\d+)\s*(pt|px|%|mm)?$)"));
    const auto m = number.match(value.trimmed().toLower());
    if (!m.hasMatch())
        return 0;
    const double n = m.captured(1).toDouble();
    const QString unit = m.captured(2);
    if (unit == u"pt")
        return n * kLayoutUnitsPerPoint;
    if (unit == u"%")
        return n * percentOf / 100.0;
    if (unit == u"mm")
        return n / 25.4 * 72 * kLayoutUnitsPerPoint;
    return n * 0.5 * kLayoutUnitsPerPoint;
}

/// The properties a cell gets from its table and from the rules that name it.
struct CellLook
{
    double pointSize = 9;
    QStringList families{QStringLiteral("DejaVu Sans")};
    bool bold = false;
    bool italic = false;
    QColor color = Qt::black;
    QColor background;
    QColor edges[4]; // top right bottom left
    double edgeWidth = 2;
    double pad[4] = {2, 2, 2, 2};
    double minHeight = 0;
    Qt::Alignment align = Qt::AlignLeft;
    bool wrap = true;

    void apply(const QString &property, const QString &value)
    {
        const QString v = value.trimmed().toLower();
        if (property == u"font-size") {
            const double units = cssLength(v, pointSize * kLayoutUnitsPerPoint);
            if (v.endsWith(u"px"))
                pointSize = v.chopped(2).toDouble() * 0.75;
            else if (units > 0)
                pointSize = units / kLayoutUnitsPerPoint;
        } else if (property == u"font-family") {
            QStringList names;
            for (QString f : value.split(u',', Qt::SkipEmptyParts)) {
                f = f.trimmed();
                f.remove(u'\'');
                f.remove(u'"');
                if (!f.isEmpty())
                    names << f;
            }
            if (!names.isEmpty())
                families = names;
        } else if (property == u"font-weight") {
            bold = v == u"bold" || v == u"bolder" || v.toInt() >= 600;
        } else if (property == u"font-style") {
            italic = v == u"italic" || v == u"oblique";
        } else if (property == u"color") {
            color = QColor(v);
        } else if (property == u"background-color" || property == u"background") {
            background = v == u"transparent" ? QColor() : QColor(v);
        } else if (property == u"text-align") {
            align = v == u"right"    ? Qt::AlignRight
                    : v == u"center" ? Qt::AlignHCenter
                                     : Qt::AlignLeft;
        } else if (property == u"padding") {
            const QStringList parts = v.split(u' ', Qt::SkipEmptyParts);
            QList<double> n;
            for (const QString &p : parts)
                n << cssLength(p);
            if (n.size() == 1)
                n = {n[0], n[0], n[0], n[0]};
            else if (n.size() == 2)
                n = {n[0], n[1], n[0], n[1]};
            else if (n.size() == 3)
                n = {n[0], n[1], n[2], n[1]};
            for (int i = 0; i < 4 && i < n.size(); ++i)
                pad[i] = n[i];
        } else if (property.startsWith(u"padding-")) {
            static const QStringList sides{QStringLiteral("top"), QStringLiteral("right"),
                                           QStringLiteral("bottom"), QStringLiteral("left")};
            const qsizetype side = sides.indexOf(property.mid(8));
            if (side >= 0)
                pad[side] = cssLength(v);
        } else if (property == u"border" || property.startsWith(u"border-")) {
            static const QStringList sides{
                QStringLiteral("border-top"), QStringLiteral("border-right"),
                QStringLiteral("border-bottom"), QStringLiteral("border-left")};
            const qsizetype side = sides.indexOf(property);
            if (property != u"border" && side < 0)
                return; // border-collapse, border-style, ...
            QColor c(Qt::black);
            bool none = v == u"none" || v == u"0";
            double width = 2;
            for (const QString &part : v.split(u' ', Qt::SkipEmptyParts)) {
                if (part == u"none" || part == u"hidden")
                    none = true;
                else if (part.front().isDigit())
                    width = std::max(1.0, cssLength(part));
                else if (part != u"solid" && part != u"dashed" && part != u"dotted")
                    c = QColor(part);
            }
            edgeWidth = width;
            for (int i = 0; i < 4; ++i) {
                if (side < 0 || side == i)
                    edges[i] = none ? QColor() : c;
            }
        } else if (property == u"height") {
            minHeight = cssLength(v);
        } else if (property == u"white-space") {
            wrap = v != u"nowrap";
        }
    }

    void applyInline(const QString &style)
    {
        for (const QString &d : style.split(u';', Qt::SkipEmptyParts)) {
            const qsizetype colon = d.indexOf(u':');
            if (colon > 0)
                apply(d.left(colon).trimmed().toLower(), d.mid(colon + 1));
        }
    }

    CellStyle resolve() const
    {
        CellStyle s;
        s.font.setFamilies(families);
        s.font.setPixelSize(std::max(1, qRound(pointSize * kLayoutUnitsPerPoint)));
        s.font.setBold(bold);
        s.font.setItalic(italic);
        s.font.setHintingPreference(QFont::PreferNoHinting);
        s.color = color;
        s.background = background;
        s.top = edges[0];
        s.right = edges[1];
        s.bottom = edges[2];
        s.left = edges[3];
        s.rule = edgeWidth;
        s.padTop = pad[0];
        s.padRight = pad[1];
        s.padBottom = pad[2];
        s.padLeft = pad[3];
        s.minHeight = minHeight;
        s.align = align;
        s.wrap = wrap;
        const QFontMetricsF metrics(s.font, &reportLayoutDevice());
        s.lineHeight = metrics.height();
        s.ascent = metrics.ascent();
        return s;
    }
};

// --- HTML -------------------------------------------------------------------------------------

/// The value of attribute `name` in a tag's attribute text (`class="n" colspan=2`).
QString attribute(const QString &tag, const QString &name)
{
    const qsizetype n = tag.size();
    qsizetype i = 0;
    while (i < n) {
        while (i < n && (tag.at(i).isSpace() || tag.at(i) == u'/'))
            ++i;
        const qsizetype start = i;
        while (i < n && !tag.at(i).isSpace() && tag.at(i) != u'=' && tag.at(i) != u'>')
            ++i;
        const QStringView key = QStringView(tag).mid(start, i - start);
        while (i < n && tag.at(i).isSpace())
            ++i;
        QString value;
        if (i < n && tag.at(i) == u'=') {
            ++i;
            while (i < n && tag.at(i).isSpace())
                ++i;
            if (i < n && (tag.at(i) == u'"' || tag.at(i) == u'\'')) {
                const QChar quote = tag.at(i++);
                const qsizetype end = tag.indexOf(quote, i);
                value = tag.mid(i, (end < 0 ? n : end) - i);
                i = end < 0 ? n : end + 1;
            } else {
                const qsizetype from = i;
                while (i < n && !tag.at(i).isSpace() && tag.at(i) != u'>')
                    ++i;
                value = tag.mid(from, i - from);
            }
        }
        if (key.isEmpty() && i == start)
            ++i;
        else if (key.compare(name, Qt::CaseInsensitive) == 0)
            return value;
    }
    return {};
}

/// The HTML entities templates produce, as characters.
QString decodeEntities(const QString &text)
{
    if (!text.contains(u'&'))
        return text;
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const qsizetype semi = c == u'&' ? text.indexOf(u';', i) : -1;
        if (semi < 0 || semi - i > 10) {
            out += c;
            continue;
        }
        const QString name = text.mid(i + 1, semi - i - 1);
        QString decoded;
        if (name == u"amp")
            decoded = QStringLiteral("&");
        else if (name == u"lt")
            decoded = QStringLiteral("<");
        else if (name == u"gt")
            decoded = QStringLiteral(">");
        else if (name == u"quot")
            decoded = QStringLiteral("\"");
        else if (name == u"apos")
            decoded = QStringLiteral("'");
        else if (name == u"nbsp")
            decoded = QString(QChar::Nbsp);
        else if (name.startsWith(u'#')) {
            bool ok = false;
            const uint code = name.startsWith(u"#x", Qt::CaseInsensitive)
                                  ? name.mid(2).toUInt(&ok, 16)
                                  : name.mid(1).toUInt(&ok, 10);
            if (ok && code > 0)
                decoded = QString::fromUcs4(reinterpret_cast<const char32_t *>(&code), 1);
        }
        if (decoded.isEmpty()) {
            out += c;
            continue;
        }
        out += decoded;
        i = semi;
    }
    return out;
}

/// The anchors `<a name="...">` of an HTML fragment.
QStringList anchorsOf(const QString &html)
{
    if (!html.contains(QLatin1String("<a"), Qt::CaseInsensitive))
        return {}; // most cells: a value and nothing else
    static const QRegularExpression anchor(
        QStringLiteral(R"(<a\s[^>]*name\s*=\s*["']?([^"'\s>]+))"),
        QRegularExpression::CaseInsensitiveOption);
    QStringList names;
    for (auto it = anchor.globalMatch(html); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

/// Where the `</table>` closing the table that opens at `from` ends; -1 when never.
qsizetype tableEnd(const QString &html, qsizetype from, bool *nested)
{
    static const QRegularExpression tag(QStringLiteral(R"(<(/?)table\b[^>]*>)"),
                                        QRegularExpression::CaseInsensitiveOption);
    int depth = 0;
    for (auto it = tag.globalMatch(html, from); it.hasNext();) {
        const auto m = it.next();
        if (m.captured(1).isEmpty()) {
            if (++depth > 1)
                *nested = true;
        } else if (--depth == 0) {
            return m.capturedEnd();
        }
    }
    return -1;
}

/// A cell as the HTML gives it; its content is read in place, never copied.
struct RawCell
{
    QString tag; // td or th
    QString attributes;
    QStringView inner;
};

struct RawRow
{
    QString classes;
    bool head = false;
    QList<RawCell> cells;
};

/// The rows and cells of a table holding no other table.
QList<RawRow> tableRows(QStringView html, QString *tableTag)
{
    static const QRegularExpression tag(
        QStringLiteral(R"(<(/?)(table|thead|tbody|tfoot|tr|td|th)\b([^>]*)>)"),
        QRegularExpression::CaseInsensitiveOption);
    QList<RawRow> rows;
    bool inHead = false;
    RawCell *cell = nullptr;
    qsizetype cellStart = 0;
    const auto closeCell = [&](qsizetype at) {
        if (cell)
            cell->inner = html.mid(cellStart, at - cellStart);
        cell = nullptr;
    };
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const auto m = it.next();
        const bool closing = !m.captured(1).isEmpty();
        static const QString td = QStringLiteral("td"), th = QStringLiteral("th");
        const QStringView tagName = m.capturedView(2);
        QString name = td; // the tags of cells are shared, not made again for each cell
        if (tagName.compare(u"th", Qt::CaseInsensitive) == 0)
            name = th;
        else if (tagName.compare(u"td", Qt::CaseInsensitive) != 0)
            name = tagName.toString().toLower();
        if (name == u"table") {
            if (!closing)
                *tableTag = m.captured(3);
            else
                closeCell(m.capturedStart());
        } else if (name == u"thead") {
            closeCell(m.capturedStart());
            inHead = !closing;
        } else if (name == u"tbody" || name == u"tfoot") {
            closeCell(m.capturedStart());
            inHead = false;
        } else if (name == u"tr") {
            closeCell(m.capturedStart());
            if (!closing) {
                RawRow row;
                row.classes = attribute(m.captured(3), QStringLiteral("class"));
                row.head = inHead;
                rows << row;
            }
        } else {
            closeCell(m.capturedStart());
            if (!closing) {
                if (rows.isEmpty())
                    rows << RawRow{QString(), inHead, {}};
                rows.last().cells << RawCell{name, m.captured(3), QStringView()};
                cell = &rows.last().cells.last();
                cellStart = m.capturedEnd();
            }
        }
    }
    closeCell(html.size());
    return rows;
}

/// A cell's content as plain text, or false when it mixes styles and stays rich text.
/// `bold` is set when the whole content is bold.
bool plainCellText(QStringView view, QString &text, bool &bold)
{
    static const QRegularExpression anchorTag(QStringLiteral(R"(</?a\b[^>]*>)"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression breakTag(QStringLiteral(R"(<br\s*/?>)"),
                                             QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression wholeBold(QStringLiteral(R"(^\s*<(b|strong)>([^<]*)</\1>\s*$)"),
                                              QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression blanks(QStringLiteral(R"([ \t\r\n\f]+)"));
    bold = false;
    if (!view.contains(u'<') && !view.contains(u'&') && !view.contains(u'\n') &&
        !view.contains(u'\t') && !view.contains(u'\r') && !view.contains(u"  ")) {
        text = view.trimmed().toString(); // most cells of a list: the value as the query gave it
        return true;
    }
    QString inner = view.toString();
    inner.remove(anchorTag);
    inner.replace(breakTag, QStringLiteral("\x01"));
    if (inner.contains(u'<')) {
        const auto m = wholeBold.match(inner);
        if (!m.hasMatch())
            return false;
        inner = m.captured(2);
        bold = true;
    }
    inner.replace(blanks, QStringLiteral(" "));
    QStringList lines = inner.split(u'\x01');
    for (QString &line : lines)
        line = decodeEntities(line.trimmed());
    text = lines.join(u'\n');
    return true;
}

/// Measures the advances of the texts of one style, once per distinct text.
class Measure
{
public:
    explicit Measure(const QFont &font)
        : m_metrics(font, &reportLayoutDevice())
    {
    }
    double advance(const QString &text)
    {
        if (text.isEmpty())
            return 0;
        auto it = m_cache.constFind(text);
        if (it != m_cache.cend())
            return *it;
        const double w = m_metrics.horizontalAdvance(text);
        if (m_cache.size() < 20000)
            m_cache.insert(text, w);
        return w;
    }
    /// Whether `text` surely fits on one line of `room`, told from the widths of its letters
    /// alone: most cells of a list are short codes, dates and amounts in columns made for
    /// them, and shaping each of them only to learn that would cost a long report seconds.
    bool surelyFits(const QString &text, double room)
    {
        if (m_letters.isEmpty()) {
            m_letters.resize(kLastLetter - kFirstLetter + 1);
            for (char16_t c = kFirstLetter; c <= kLastLetter; ++c)
                m_letters[c - kFirstLetter] = m_metrics.horizontalAdvance(QChar(c));
        }
        double width = 0;
        for (const QChar c : text) {
            if (c.unicode() < kFirstLetter || c.unicode() > kLastLetter)
                return false;
            width += m_letters[c.unicode() - kFirstLetter];
        }
        // Room for kerning that widens a pair, which a font seldom does.
        return width * 1.02 + 1 <= room;
    }
    double widest(const QString &text)
    {
        double w = 0;
        for (const QString &line : text.split(u'\n'))
            w = std::max(w, advance(line));
        return w;
    }

private:
    static constexpr char16_t kFirstLetter = 0x20;
    static constexpr char16_t kLastLetter = 0x7e;
    QFontMetricsF m_metrics;
    QHash<QString, double> m_cache;
    QList<double> m_letters; ///< the widths of the printable ASCII letters
};

/// The lines of `text` wrapped at `width` in `font`.
QStringList wrapText(const QString &text, const QFont &font, double width)
{
    QString laid = text;
    laid.replace(u'\n', QChar::LineSeparator);
    QTextLayout layout(laid, font, &reportLayoutDevice());
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    option.setUseDesignMetrics(true);
    layout.setTextOption(option);
    QStringList lines;
    layout.beginLayout();
    for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
        line.setLineWidth(std::max(1.0, width));
        QString part = laid.mid(line.textStart(), line.textLength());
        while (!part.isEmpty() && (part.back() == QChar::LineSeparator || part.back() == u' '))
            part.chop(1);
        lines << part;
    }
    layout.endLayout();
    return lines.isEmpty() ? QStringList{QString()} : lines;
}

/// Builds a table of the engine out of its HTML.
class TableBuilder
{
public:
    TableBuilder(const QList<CssRule> &rules, const CellLook &base, double bodyWidth)
        : m_rules(rules)
        , m_base(base)
        , m_bodyWidth(bodyWidth)
    {
    }

    /// Reads the table's rows and places its columns; its rows are made by more().
    std::unique_ptr<LayoutTable> begin(QStringView html, const QString &css)
    {
        QString tableTag;
        m_raw = tableRows(html, &tableTag);
        m_nextRaw = 0;
        m_css = css;
        m_made.clear();
        m_nextMade = 0;
        m_seenBody = false;
        m_rowCount = 0;
        auto table = std::make_unique<LayoutTable>();
        m_styles.clear();
        m_rawStyles.clear();
        m_measures.clear();
        m_tableClasses =
            attribute(tableTag, QStringLiteral("class")).split(u' ', Qt::SkipEmptyParts);
        const QString border = attribute(tableTag, QStringLiteral("border"));
        m_border = border.toDouble() > 0;
        const QString padding = attribute(tableTag, QStringLiteral("cellpadding"));
        m_cellPadding = padding.isEmpty() ? -1 : cssLength(padding);
        m_tableStyle = m_base;
        for (const CssRule *rule : matching({Element{QStringLiteral("table"), m_tableClasses}}))
            for (const auto &[p, v] : rule->declarations)
                if (p.startsWith(u"font") || p == u"color")
                    m_tableStyle.apply(p, v);
        m_tableStyle.background = QColor();
        m_tableStyle.applyInline(attribute(tableTag, QStringLiteral("style")));

        // The columns and the widths the template asks for, from every row's tags.
        int columns = 0;
        QList<QList<double>> widthHints;
        for (const RawRow &r : std::as_const(m_raw)) {
            int column = 0;
            for (const RawCell &c : r.cells) {
                const int span =
                    std::max(1, attribute(c.attributes, QStringLiteral("colspan")).toInt());
                const QString width = attribute(c.attributes, QStringLiteral("width"));
                if (!width.isEmpty() && span == 1) {
                    while (widthHints.size() <= column)
                        widthHints << QList<double>();
                    widthHints[column] << (width.endsWith(u'%') ? -width.chopped(1).toDouble()
                                                                : cssLength(width) * 1.5);
                }
                column += span;
            }
            columns = std::max(columns, column);
            if (!r.cells.isEmpty())
                ++m_rowCount;
        }
        m_columns = std::max(columns, 1);
        // Columns without a width share the room by what they hold: then every cell is read
        // before the first row is measured. A single such column in a table of a set width
        // takes what the others leave, whatever it holds.
        int autos = 0;
        for (int c = 0; c < m_columns; ++c)
            autos += c < widthHints.size() && !widthHints[c].isEmpty() ? 0 : 1;
        const QString widthText = attribute(tableTag, QStringLiteral("width"));
        const bool setWidth = widthText.endsWith(u'%') || cssLength(widthText) > 0;
        if (autos > 1 || (autos == 1 && !setWidth)) {
            while (m_nextRaw < m_raw.size())
                if (auto row = nextRow(*table))
                    m_made << *row;
        }
        std::swap(table->rows, m_made);
        placeColumns(*table, m_columns, widthHints, tableTag);
        std::swap(table->rows, m_made);
        return table;
    }

    /// Whether the table has a row to lay out.
    bool hasRows() const { return m_rowCount > 0; }

    /// Makes and measures up to `count` more rows of `table`; true when it has them all.
    bool more(LayoutTable &table, int count)
    {
        for (int n = 0; n < count; ++n) {
            std::optional<LayoutRow> row;
            if (m_nextMade < m_made.size())
                row = std::move(m_made[m_nextMade++]);
            else if (m_nextRaw < m_raw.size())
                row = nextRow(table);
            else
                break;
            if (!row)
                continue;
            // Heading rows only count as such at the top of the table.
            if (row->kind == LayoutRow::Kind::Heading && table.headingRows != table.rows.size())
                row->kind = LayoutRow::Kind::Body;
            measureRow(table, *row);
            if (row->kind == LayoutRow::Kind::Heading) {
                ++table.headingRows;
                table.headingHeight += row->height;
            }
            table.rows << std::move(*row);
        }
        const bool done = m_nextMade >= m_made.size() && m_nextRaw >= m_raw.size();
        if (done) {
            m_raw.clear();
            m_made.clear();
        }
        return done;
    }

private:
    /// The next row of the table's tags as cells; none for a row without cells.
    std::optional<LayoutRow> nextRow(LayoutTable &table)
    {
        RawRow &r = m_raw[m_nextRaw++];
        if (r.cells.isEmpty())
            return std::nullopt;
        LayoutRow row;
        int column = 0;
        bool allHeadCells = true;
        for (const RawCell &c : r.cells) {
            LayoutCell cell;
            cell.column = column;
            cell.span = std::max(1, attribute(c.attributes, QStringLiteral("colspan")).toInt());
            QString text;
            bool bold = false;
            const bool plain = plainCellText(c.inner, text, bold);
            if (c.inner.contains(QLatin1String("<a"), Qt::CaseInsensitive))
                row.anchors << anchorsOf(c.inner.toString());
            cell.style = styleOf(table, c, r.classes, bold);
            if (plain)
                cell.text = text;
            else
                cell.text = c.inner.toString(); // measured as rich text below
            if (!plain) // a placeholder until the column's width is known
                cell.rich = std::make_shared<QTextDocument>();
            allHeadCells = allHeadCells && c.tag == u"th";
            column += cell.span;
            row.cells << cell;
        }
        if (r.head || (!m_seenBody && allHeadCells)) {
            row.kind = LayoutRow::Kind::Heading;
        } else {
            m_seenBody = true;
            if (row.cells.size() == 1 && row.cells[0].span >= m_columns && m_columns > 1) {
                const CellStyle &s = table.styles.at(row.cells[0].style);
                if (!row.anchors.isEmpty() || s.font.bold() || s.background.isValid())
                    row.kind = LayoutRow::Kind::Group;
            }
        }
        r.cells = {}; // read: a long table's tags are not kept twice
        return row;
    }
    QList<const CssRule *> matching(const QList<Element> &chain) const
    {
        QList<const CssRule *> found;
        for (const CssRule &rule : m_rules) {
            if (ruleMatches(rule, chain))
                found << &rule;
        }
        std::stable_sort(found.begin(), found.end(), [](const CssRule *a, const CssRule *b) {
            return a->specificity != b->specificity ? a->specificity < b->specificity
                                                    : a->order < b->order;
        });
        return found;
    }

    int styleOf(LayoutTable &table, const RawCell &c, const QString &rowClasses, bool bold)
    {
        // Most cells of a table repeat a few tags: their attributes are read once per kind.
        const QString rawKey =
            c.tag + u'|' + c.attributes + u'|' + rowClasses + (bold ? u"|b" : u"|");
        if (const auto it = m_rawStyles.constFind(rawKey); it != m_rawStyles.cend())
            return *it;
        const int index = resolveStyle(table, c, rowClasses, bold);
        m_rawStyles.insert(rawKey, index);
        return index;
    }

    int resolveStyle(LayoutTable &table, const RawCell &c, const QString &rowClasses, bool bold)
    {
        const QString cls = attribute(c.attributes, QStringLiteral("class"));
        const QString inlineStyle = attribute(c.attributes, QStringLiteral("style"));
        const QString align = attribute(c.attributes, QStringLiteral("align"));
        const QString bg = attribute(c.attributes, QStringLiteral("bgcolor"));
        const QString key = c.tag + u'|' + cls + u'|' + rowClasses + u'|' + inlineStyle + u'|' +
                            align + u'|' + bg + (bold ? u"|b" : u"|");
        if (const auto it = m_styles.constFind(key); it != m_styles.cend())
            return *it;
        CellLook look = m_tableStyle;
        if (m_border) {
            for (QColor &edge : look.edges)
                edge = QColor(0x80, 0x80, 0x80);
        }
        if (m_cellPadding >= 0)
            std::fill(std::begin(look.pad), std::end(look.pad), m_cellPadding);
        const QList<Element> chain{
            Element{QStringLiteral("table"), m_tableClasses},
            Element{QStringLiteral("tr"), rowClasses.split(u' ', Qt::SkipEmptyParts)},
            Element{c.tag, cls.split(u' ', Qt::SkipEmptyParts)}};
        for (const CssRule *rule : matching(chain)) {
            for (const auto &[p, v] : rule->declarations)
                look.apply(p, v);
        }
        if (!align.isEmpty())
            look.apply(QStringLiteral("text-align"), align);
        if (!bg.isEmpty())
            look.apply(QStringLiteral("background-color"), bg);
        look.applyInline(inlineStyle);
        if (bold)
            look.bold = true;
        const int index = int(table.styles.size());
        table.styles << look.resolve();
        m_styles.insert(key, index);
        return index;
    }

    void placeColumns(LayoutTable &table, int columns, const QList<QList<double>> &hints,
                      const QString &tableTag)
    {
        const QString widthText = attribute(tableTag, QStringLiteral("width"));
        double tableWidth = widthText.endsWith(u'%')
                                ? m_bodyWidth * widthText.chopped(1).toDouble() / 100.0
                                : cssLength(widthText) * 1.5;
        const bool autoWidth = tableWidth <= 0;
        if (autoWidth)
            tableWidth = m_bodyWidth;
        columns = std::max(columns, 0);
        QList<double> widths(columns, -1);
        for (int c = 0; c < columns && c < hints.size(); ++c) {
            if (hints[c].isEmpty())
                continue;
            const double h = hints[c].first();
            widths[c] = h < 0 ? tableWidth * -h / 100.0 : h;
        }
        // Columns without a width share what is left by what they hold.
        QList<double> natural(columns, 0);
        bool anyAuto = false;
        for (int c = 0; c < columns; ++c)
            anyAuto = anyAuto || widths[c] < 0;
        if (anyAuto) {
            std::vector<std::unique_ptr<Measure>> measures(table.styles.size());
            for (const LayoutRow &row : table.rows) {
                for (const LayoutCell &cell : row.cells) {
                    if (cell.span != 1 || widths[cell.column] >= 0)
                        continue;
                    const CellStyle &s = table.styles.at(cell.style);
                    double w = 0;
                    if (cell.rich) {
                        w = std::min(tableWidth, cell.text.size() * s.font.pixelSize() * 0.3);
                    } else {
                        auto &m = measures[std::size_t(cell.style)];
                        if (!m)
                            m = std::make_unique<Measure>(s.font);
                        w = m->widest(cell.text);
                    }
                    natural[cell.column] =
                        std::max(natural[cell.column], w + s.padLeft + s.padRight + 1);
                }
            }
        }
        double fixed = 0, wanted = 0;
        int autos = 0;
        for (int c = 0; c < columns; ++c) {
            if (widths[c] >= 0) {
                fixed += widths[c];
            } else {
                wanted += natural[c];
                ++autos;
            }
        }
        if (autoWidth)
            tableWidth = std::min(tableWidth, fixed + wanted);
        const double left = std::max(0.0, tableWidth - fixed);
        for (int c = 0; c < columns; ++c) {
            if (widths[c] >= 0)
                continue;
            if (wanted > left || !autoWidth)
                widths[c] = wanted > 0 ? left * natural[c] / wanted : left / autos;
            else
                widths[c] = natural[c];
            // A column is never narrower than a few letters, even when the others took all
            // of the paper: the table then runs off it and is cut at the margin.
            widths[c] = std::max(widths[c], 6.0 * kLayoutUnitsPerPoint);
        }
        table.edges = {0};
        for (double w : widths)
            table.edges << table.edges.last() + w;
    }

    void measureRow(LayoutTable &table, LayoutRow &row)
    {
        if (m_measures.size() < std::size_t(table.styles.size()))
            m_measures.resize(std::size_t(table.styles.size()));
        double height = 0;
        for (LayoutCell &cell : row.cells) {
            const CellStyle &s = table.styles.at(cell.style);
            const int end = std::min(int(table.edges.size()) - 1, cell.column + cell.span);
            const double room =
                table.edges.at(end) - table.edges.at(cell.column) - s.padLeft - s.padRight;
            double h = 0;
            if (cell.rich) {
                const QString align = s.align == Qt::AlignRight     ? QStringLiteral("right")
                                      : s.align == Qt::AlignHCenter ? QStringLiteral("center")
                                                                    : QStringLiteral("left");
                // The cell's own size and weight, on top of the report's style sheet.
                cell.rich = makeReportDocument(
                    QStringLiteral("<div align=\"%1\" style=\"font-size: %2pt; %3\">%4</div>")
                        .arg(align)
                        .arg(s.font.pixelSize() / kLayoutUnitsPerPoint)
                        .arg(s.font.bold() ? QStringLiteral("font-weight: bold;") : QString(),
                             cell.text),
                    m_css, std::max(1.0, room));
                cell.text = cell.rich->toPlainText().simplified();
                h = cell.rich->size().height();
            } else {
                auto &m = m_measures[std::size_t(cell.style)];
                if (!m)
                    m = std::make_unique<Measure>(s.font);
                int lines = 1;
                if (cell.text.contains(u'\n') || !m->surelyFits(cell.text, room)) {
                    const double advance = m->advance(cell.text);
                    if (s.wrap && (cell.text.contains(u'\n') || advance > room)) {
                        cell.lines = wrapText(cell.text, s.font, room);
                        lines = int(cell.lines.size());
                    } else {
                        cell.advance = advance;
                    }
                }
                h = lines * s.lineHeight;
            }
            height = std::max(height, std::max(s.minHeight, h + s.padTop + s.padBottom));
        }
        row.height = std::ceil(height);
    }

    const QList<CssRule> &m_rules;
    CellLook m_base;
    CellLook m_tableStyle;
    double m_bodyWidth;
    QStringList m_tableClasses;
    bool m_border = false;
    double m_cellPadding = -1;
    QHash<QString, int> m_styles;
    QHash<QString, int> m_rawStyles;
    // The table being made.
    QString m_css;
    QList<RawRow> m_raw;
    qsizetype m_nextRaw = 0;
    QList<LayoutRow> m_made; ///< rows read ahead to place the columns, not yet measured
    qsizetype m_nextMade = 0;
    qsizetype m_rowCount = 0;
    int m_columns = 1;
    bool m_seenBody = false;
    std::vector<std::unique_ptr<Measure>> m_measures;
};

/// Table rows made and measured at a time while the body is laid out a slice at a time.
constexpr int kRowsPerStep = 128;

} // namespace

/// What is left to lay out, and where the pages stand.
struct ReportLayout::Stream
{
    Stream(const QString &html, const QString &css, double bodyWidth)
        : html(html)
        , rules(parseCss(css))
        , builder(rules, baseLook(rules), bodyWidth)
    {
    }

    static CellLook baseLook(const QList<CssRule> &rules)
    {
        CellLook base;
        for (const CssRule &rule : rules) {
            if (rule.selector.size() == 1 && rule.selector[0].tag == u"body" &&
                rule.selector[0].classes.isEmpty())
                for (const auto &[p, v] : rule.declarations)
                    base.apply(p, v);
        }
        return base;
    }

    QString html;
    const QList<CssRule> rules;
    TableBuilder builder;
    qsizetype at = 0;  ///< where the body's HTML is read next
    QString pending;   ///< free text read but not laid out yet
    bool read = false; ///< the whole HTML is read
    int building = -1; ///< the block of the table whose rows are still being made

    // The pages: the one being filled, and where the cutting stands.
    QList<PagePiece> current;
    double y = 0;
    bool fresh = true; ///< nothing but repeated headings on the page yet
    int block = 0;     ///< the block being cut
    bool inTable = false;
    int row = 0;
    int group = -1;
    PagePiece piece;
};

/// The texts of the table cells shaped once, by table, style and text: a report repeats its
/// dates, codes, departments and names thousands of times, and shaping a text again for each
/// cell was a good part of painting a page.
class ReportLayout::ShapedTexts
{
public:
    struct Shaped
    {
        QList<QGlyphRun> runs;
        double ascent = 0;
        double width = 0;
    };

    const Shaped &get(const LayoutTable &table, int style, const QString &text)
    {
        const Key key{&table, style, text};
        auto it = m_texts.constFind(key);
        if (it != m_texts.cend())
            return *it;
        // A long report's texts are let go now and then: its later pages name other patients.
        if (m_texts.size() >= kMostTexts)
            m_texts.clear();
        return *m_texts.insert(key, shape(table.styles.at(style).font, text));
    }

private:
    static Shaped shape(const QFont &font, const QString &text)
    {
        QTextLayout layout(text, font, &reportLayoutDevice());
        QTextOption option;
        option.setWrapMode(QTextOption::NoWrap);
        layout.setTextOption(option);
        layout.beginLayout();
        const QTextLine line = layout.createLine();
        layout.endLayout();
        return Shaped{layout.glyphRuns(), line.isValid() ? line.ascent() : 0,
                      line.isValid() ? line.horizontalAdvance() : 0};
    }

    static constexpr qsizetype kMostTexts = 50'000;
    struct Key
    {
        const LayoutTable *table;
        int style;
        QString text;
        bool operator==(const Key &o) const
        {
            return table == o.table && style == o.style && text == o.text;
        }
    };
    friend size_t qHash(const Key &k, size_t seed)
    {
        return qHashMulti(seed, quintptr(k.table), k.style, k.text);
    }
    QHash<Key, Shaped> m_texts;
};

ReportLayout::ReportLayout(const QString &bodyHtml, const QString &css, const QSizeF &bodySize)
    : ReportLayout(bodyHtml, css, bodySize, Streamed{})
{
    finish();
}

ReportLayout::ReportLayout(const QString &bodyHtml, const QString &css, const QSizeF &bodySize,
                           Streamed)
    : m_css(css)
    , m_body(bodySize)
    , m_stream(std::make_unique<Stream>(bodyHtml, css, bodySize.width()))
    , m_shaped(std::make_unique<ShapedTexts>())
{
}

ReportLayout::~ReportLayout() = default;

void ReportLayout::finish()
{
    while (!layoutMore(1 << 20)) {
    }
}

void ReportLayout::addText(const QString &html)
{
    if (html.trimmed().isEmpty())
        return;
    LayoutBlock block;
    block.text.doc = makeReportDocument(html, m_css, m_body.width());
    block.text.anchors = anchorsOf(html);
    block.text.height = block.text.doc->size().height();
    if (block.text.height > m_body.height()) {
        // A text longer than a page is cut where its own layout puts the page breaks.
        block.text.doc->setPageSize(m_body);
        block.text.height = block.text.doc->pageCount() * m_body.height();
    }
    m_blocks.push_back(std::move(block));
}

bool ReportLayout::layoutMore(int rows)
{
    static const QRegularExpression tableStart(QStringLiteral(R"(<table\b)"),
                                               QRegularExpression::CaseInsensitiveOption);
    static const QRegularExpression unsupported(QStringLiteral(R"(<img\b|\browspan\s*=)"),
                                                QRegularExpression::CaseInsensitiveOption);
    int left = std::max(1, rows);
    while (m_stream && left > 0) {
        Stream &s = *m_stream;
        if (s.building >= 0) {
            LayoutTable &table = *m_blocks[std::size_t(s.building)].table;
            const qsizetype before = table.rows.size();
            const int step = std::min(left, kRowsPerStep);
            if (s.builder.more(table, step))
                s.building = -1;
            left -= std::max(1, int(table.rows.size() - before));
            paginate();
            continue;
        }
        if (s.read) {
            paginate(); // the last page
            continue;
        }
        --left;
        const QString &html = s.html;
        const auto m = tableStart.match(html, s.at);
        bool nested = false;
        const qsizetype end = m.hasMatch() ? tableEnd(html, m.capturedStart(), &nested) : -1;
        if (end < 0) {
            s.pending += html.mid(s.at);
            addText(s.pending);
            s.pending.clear();
            s.read = true;
            paginate();
            continue;
        }
        // Read in place: a report's table can be most of its body.
        const QStringView tableHtml =
            QStringView(html).mid(m.capturedStart(), end - m.capturedStart());
        s.pending += html.mid(s.at, m.capturedStart() - s.at);
        s.at = end;
        if (nested || unsupported.match(tableHtml).hasMatch()) {
            // A table laying out other tables is a form: it stays rich text, whole.
            s.pending += tableHtml;
            continue;
        }
        addText(s.pending);
        s.pending.clear();
        LayoutBlock block;
        block.table = s.builder.begin(tableHtml, m_css);
        if (!s.builder.hasRows())
            continue;
        m_blocks.push_back(std::move(block));
        s.building = int(m_blocks.size()) - 1;
        // The table's heading and first row come with it, so the text before it can be kept
        // with them.
        LayoutTable &table = *m_blocks.back().table;
        bool made = s.builder.more(table, std::min(std::max(left, 1), kRowsPerStep));
        while (!made && table.rows.size() <= table.headingRows)
            made = s.builder.more(table, 1);
        if (made)
            s.building = -1;
        left -= int(table.rows.size());
        paginate();
    }
    return !m_stream;
}

QString ReportLayout::continuedText(const QString &text)
{
    return text + QStringLiteral(" (continued)");
}

void ReportLayout::paginate()
{
    Stream &s = *m_stream;
    const double pageHeight = m_body.height();
    const auto newPage = [&] {
        m_pages << s.current;
        s.current.clear();
        s.y = 0;
        s.fresh = true;
    };
    while (s.block < int(m_blocks.size())) {
        const int b = s.block;
        const LayoutBlock &block = m_blocks[std::size_t(b)];
        if (!block.table) {
            // Whether a table follows decides where a short heading goes: wait to know.
            if (b + 1 == int(m_blocks.size()) && !s.read)
                return;
            const double h = block.text.height;
            double need = h;
            // A short heading stays with the first rows of the table it introduces.
            if (b + 1 < int(m_blocks.size()) && m_blocks[std::size_t(b + 1)].table &&
                h < pageHeight / 3) {
                const LayoutTable &next = *m_blocks[std::size_t(b + 1)].table;
                need += next.headingHeight;
                if (next.headingRows < next.rows.size())
                    need += next.rows[next.headingRows].height;
            }
            ++s.block;
            if (!s.fresh && s.y + std::min(need, pageHeight) > pageHeight)
                newPage();
            if (h <= pageHeight) {
                s.current << PagePiece{b, 0, 0, s.y, 0, h, false, -1};
                s.y += h;
                s.fresh = false;
                continue;
            }
            for (double offset = 0; offset < h; offset += pageHeight) {
                if (offset > 0)
                    newPage();
                s.current << PagePiece{b, 0, 0, 0, offset, pageHeight, false, -1};
            }
            s.y = pageHeight;
            s.fresh = false;
            continue;
        }
        const LayoutTable &t = *block.table;
        const bool made = s.building != b; // every row of the table is measured
        const auto startPiece = [&](bool continuation) {
            const int i = s.row;
            PagePiece p{b, i, i, s.y, 0, 0, false, -1};
            if (continuation) {
                if (t.headingRows > 0 && i >= t.headingRows) {
                    p.repeatHeading = true;
                    s.y += t.headingHeight;
                }
                if (s.group >= 0 && i < t.rows.size() && t.rows[i].kind != LayoutRow::Kind::Group) {
                    p.continuedGroup = s.group;
                    s.y += t.rows[s.group].height;
                }
            }
            return p;
        };
        const auto flush = [&](PagePiece &p) {
            if (p.last > p.first || p.repeatHeading || p.continuedGroup >= 0) {
                p.height = s.y - p.y;
                s.current << p;
            }
        };
        if (!s.inTable) {
            s.inTable = true;
            s.row = 0;
            s.group = -1;
            s.piece = startPiece(false);
        }
        while (s.row < t.rows.size()) {
            const int i = s.row;
            // A row is placed once the one after it is known (a group's heading goes with
            // its first row), and the first once the table's heading is.
            if (!made && (i + 1 >= t.rows.size() || (i == 0 && t.headingRows >= t.rows.size())))
                return;
            const LayoutRow &row = t.rows[i];
            double need = row.height;
            if (i == 0 && t.headingRows > 0) {
                need = t.headingHeight;
                if (t.headingRows < t.rows.size())
                    need += t.rows[t.headingRows].height;
            } else if (row.kind == LayoutRow::Kind::Group && i + 1 < t.rows.size() &&
                       t.rows[i + 1].kind == LayoutRow::Kind::Body) {
                need += t.rows[i + 1].height;
            }
            if (!s.fresh && s.y + need > pageHeight) {
                flush(s.piece);
                newPage();
                s.piece = startPiece(true);
            }
            if (row.kind == LayoutRow::Kind::Group)
                s.group = i;
            if (row.height <= pageHeight - s.y + 0.5) {
                s.y += row.height;
                s.piece.last = i + 1;
                s.fresh = false;
                ++s.row;
                continue;
            }
            // A row taller than the page: cut it between its lines.
            flush(s.piece);
            double lineHeight = 1;
            for (const LayoutCell &cell : row.cells)
                lineHeight = std::max(lineHeight, t.styles.at(cell.style).lineHeight);
            const double padTop = t.styles.at(row.cells.value(0).style).padTop;
            double offset = 0;
            while (offset < row.height - 0.5) {
                const double room = pageHeight - s.y;
                double slice = row.height - offset;
                if (slice > room) {
                    const double pad = offset == 0 ? padTop : 0;
                    slice =
                        std::min(room, std::floor((room - pad) / lineHeight) * lineHeight + pad);
                }
                if (slice < lineHeight / 2) {
                    newPage();
                    PagePiece top = startPiece(true);
                    flush(top);
                    continue;
                }
                s.current << PagePiece{b, i, i + 1, s.y, offset, slice, false, -1};
                offset += slice;
                s.y += slice;
                s.fresh = false;
                if (offset < row.height - 0.5) {
                    newPage();
                    PagePiece top = startPiece(true);
                    flush(top);
                }
            }
            ++s.row;
            s.piece = PagePiece{b, s.row, s.row, s.y, 0, 0, false, -1};
        }
        if (!made)
            return;
        flush(s.piece);
        s.inTable = false;
        ++s.block;
    }
    if (s.read && s.building < 0) {
        if (!s.current.isEmpty() || m_pages.isEmpty())
            m_pages << s.current;
        m_stream.reset();
    }
}

void ReportLayout::releaseRows(int page)
{
    for (int b = 0; b < int(m_blocks.size()); ++b) {
        LayoutTable *table = m_blocks[std::size_t(b)].table.get();
        if (!table)
            continue;
        // The first row a page from `page` on, or the page being filled, still paints.
        qsizetype needed = table->rows.size();
        const auto need = [&](const PagePiece &piece) {
            if (piece.block == b)
                needed = std::min<qsizetype>(needed, piece.first);
        };
        for (int p = page; p < m_pages.size(); ++p)
            std::for_each(m_pages[p].cbegin(), m_pages[p].cend(), need);
        if (m_stream) {
            if (m_stream->block < b || (m_stream->block == b && !m_stream->inTable))
                break; // this table and the ones after it are not on a page yet
            std::for_each(m_stream->current.cbegin(), m_stream->current.cend(), need);
            if (m_stream->block == b) {
                need(m_stream->piece);
                needed = std::min<qsizetype>(needed, m_stream->row);
            }
        }
        // Headings and group rows come again on later pages: they stay.
        for (qsizetype r = table->releasedRows; r < needed; ++r) {
            LayoutRow &row = table->rows[r];
            if (row.kind == LayoutRow::Kind::Body)
                row.cells = {};
        }
        table->releasedRows = std::max(table->releasedRows, needed);
    }
}

int ReportLayout::pageOfAnchor(const QString &name) const
{
    for (int p = 0; p < m_pages.size(); ++p) {
        for (const PagePiece &piece : m_pages[p]) {
            const LayoutBlock &block = m_blocks[std::size_t(piece.block)];
            if (!block.table) {
                if (piece.offset == 0 && block.text.anchors.contains(name))
                    return p;
                continue;
            }
            for (int r = piece.first; r < piece.last; ++r) {
                if (piece.offset == 0 && block.table->rows[r].anchors.contains(name))
                    return p;
            }
        }
    }
    return -1;
}

namespace {

/// On paper and in PDF files the glyphs and rules are placed on a grid of an eighth of a layout
/// unit (under a hundredth of a millimetre): the PDF writer spells each place, and a whole
/// number takes a third of the room of a fraction, so a long report is written that much
/// faster.
constexpr double kPrintGrid = 8.0;

/// Whether `painter` paints on paper or into a PDF file, where places go on the grid.
bool printsOnGrid(const QPainter &painter)
{
    const QPaintEngine *engine = painter.paintEngine();
    return engine && engine->type() == QPaintEngine::Pdf;
}

/// `p`, in layout units, as a place on the grid.
QPointF onGrid(QPointF p)
{
    return QPointF(std::round(p.x() * kPrintGrid), std::round(p.y() * kPrintGrid));
}

/// The rules of one colour and width of a row.
struct RowRules
{
    QColor color;
    double width = 0;
    QList<QLineF> lines;
};

/// The rules of a row as few strokes: the cells' top and bottom rules joined where the cells
/// meet, and the rule two cells share drawn once.
QList<QLineF> joinedRules(QList<QLineF> lines)
{
    constexpr double kNear = 0.01;
    const auto level = [](const QLineF &l) { return std::abs(l.y1() - l.y2()) < kNear; };
    // Each rule from its top or left end, the level ones before the upright ones, each kind
    // by where it runs.
    for (QLineF &l : lines) {
        if (l.x2() < l.x1() || l.y2() < l.y1())
            l = QLineF(l.p2(), l.p1());
    }
    std::sort(lines.begin(), lines.end(), [&](const QLineF &a, const QLineF &b) {
        const bool la = level(a), lb = level(b);
        if (la != lb)
            return la;
        if (la)
            return a.y1() != b.y1() ? a.y1() < b.y1() : a.x1() < b.x1();
        return a.x1() != b.x1() ? a.x1() < b.x1() : a.y1() < b.y1();
    });
    QList<QLineF> joined;
    for (const QLineF &l : std::as_const(lines)) {
        if (!joined.isEmpty()) {
            QLineF &last = joined.last();
            const bool bothLevel = level(last) && level(l);
            const bool bothUpright = !level(last) && !level(l);
            if (bothLevel && std::abs(last.y1() - l.y1()) < kNear && l.x1() <= last.x2() + kNear) {
                last.setP2(QPointF(std::max(last.x2(), l.x2()), last.y2()));
                continue;
            }
            if (bothUpright && std::abs(last.x1() - l.x1()) < kNear &&
                l.y1() <= last.y2() + kNear) {
                last.setP2(QPointF(last.x2(), std::max(last.y2(), l.y2())));
                continue;
            }
        }
        joined << l;
    }
    return joined;
}

/// Strokes `lines`; on paper and in PDF files on the grid the glyphs are placed on.
void drawRules(QPainter &painter, const RowRules &rules)
{
    QList<QLineF> lines = joinedRules(rules.lines);
    if (!printsOnGrid(painter)) {
        painter.setPen(QPen(rules.color, rules.width));
        painter.drawLines(lines);
        return;
    }
    for (QLineF &l : lines)
        l = QLineF(onGrid(l.p1()), onGrid(l.p2()));
    painter.save();
    painter.scale(1 / kPrintGrid, 1 / kPrintGrid);
    painter.setPen(QPen(rules.color, rules.width * kPrintGrid));
    painter.drawLines(lines);
    painter.restore();
}

/// The glyphs of a row's cells in one font and colour, drawn together: a row is a few text
/// items for the printer or PDF writer instead of one for every cell. Blanks draw nothing and
/// are left out.
struct RowText
{
    QRawFont font;
    QColor color;
    quint32 blank = 0; ///< the font's glyph of a space
    QList<quint32> glyphs;
    QList<QPointF> positions;
};

void addRun(QList<RowText> &texts, const QGlyphRun &run, const QColor &color, QPointF origin)
{
    const QRawFont font = run.rawFont();
    auto it = std::find_if(texts.begin(), texts.end(), [&](const RowText &t) {
        return t.color == color && t.font == font;
    });
    if (it == texts.end()) {
        const QList<quint32> space = font.glyphIndexesForString(QStringLiteral(" "));
        it = texts.insert(texts.end(), RowText{font, color, space.value(0), {}, {}});
    }
    const QList<quint32> glyphs = run.glyphIndexes();
    const QList<QPointF> positions = run.positions();
    for (qsizetype i = 0; i < glyphs.size() && i < positions.size(); ++i) {
        if (glyphs[i] == it->blank && it->blank != 0)
            continue;
        it->glyphs << glyphs[i];
        it->positions << positions[i] + origin;
    }
}

/// The font at `kPrintGrid` times its size, made once per font.
const QRawFont &printFont(const QRawFont &font)
{
    static QList<std::pair<QRawFont, QRawFont>> made;
    for (const auto &[small, large] : std::as_const(made)) {
        if (small == font)
            return large;
    }
    if (made.size() >= 32)
        made.clear();
    QRawFont large = font;
    large.setPixelSize(font.pixelSize() * kPrintGrid);
    made.append({font, large});
    return made.constLast().second;
}

void drawRowTexts(QPainter &painter, QList<RowText> &texts)
{
    const bool grid = printsOnGrid(painter);
    for (RowText &t : texts) {
        if (t.glyphs.isEmpty())
            continue;
        QGlyphRun run;
        run.setGlyphIndexes(t.glyphs);
        painter.setPen(t.color);
        if (!grid) {
            run.setRawFont(t.font);
            run.setPositions(t.positions);
            painter.drawGlyphRun(QPointF(0, 0), run);
            continue;
        }
        for (QPointF &p : t.positions)
            p = onGrid(p);
        run.setRawFont(printFont(t.font));
        run.setPositions(t.positions);
        painter.save();
        painter.scale(1 / kPrintGrid, 1 / kPrintGrid);
        painter.drawGlyphRun(QPointF(0, 0), run);
        painter.restore();
    }
    texts.clear();
}

void paintRow(QPainter &painter, ReportLayout::ShapedTexts &shaped, const LayoutTable &table,
              const LayoutRow &row, double top, bool continued)
{
    const int columns = int(table.edges.size()) - 1;
    QList<RowRules> rules;
    QList<RowText> texts;
    for (int c = 0; c < row.cells.size(); ++c) {
        const LayoutCell &cell = row.cells[c];
        if (cell.column >= columns)
            continue;
        const CellStyle &s = table.styles.at(cell.style);
        const double x0 = table.edges.at(cell.column);
        const double x1 = table.edges.at(std::min(columns, cell.column + cell.span));
        const QRectF box(x0, top, x1 - x0, row.height);
        if (s.background.isValid())
            painter.fillRect(box, s.background);
        const QRectF inner = box.adjusted(s.padLeft, s.padTop, -s.padRight, -s.padBottom);
        if (cell.rich) {
            drawRowTexts(painter, texts);
            painter.save();
            painter.translate(inner.topLeft());
            drawReportDocument(painter, *cell.rich,
                               QRectF(QPointF(0, 0), QSizeF(inner.width() + s.padRight,
                                                            inner.height() + s.padBottom)));
            painter.restore();
        } else {
            const bool whole = cell.lines.isEmpty() || continued;
            const QString single = continued && c == row.cells.size() - 1
                                       ? ReportLayout::continuedText(cell.text)
                                       : QString();
            const auto each = [&](const auto &paint) {
                if (!whole) {
                    for (const QString &line : cell.lines)
                        paint(line);
                } else {
                    paint(single.isNull() ? cell.text : single);
                }
            };
            const bool measured = cell.lines.isEmpty() && !continued && cell.advance >= 0;
            double baseline = inner.top() + s.ascent;
            each([&](const QString &line) {
                if (!line.isEmpty()) {
                    const ReportLayout::ShapedTexts::Shaped &text =
                        shaped.get(table, cell.style, line);
                    const double w = measured ? cell.advance : text.width;
                    double x = inner.left();
                    if (s.align & Qt::AlignRight)
                        x = inner.right() - w;
                    else if (s.align & Qt::AlignHCenter)
                        x = inner.left() + (inner.width() - w) / 2;
                    const bool cut = w > inner.width() + 0.5;
                    const QPointF origin(cut ? inner.left() : x, baseline - text.ascent);
                    if (!cut) {
                        for (const QGlyphRun &run : text.runs)
                            addRun(texts, run, s.color, origin);
                    } else {
                        // Text that cannot wrap is cut at its cell's edge.
                        painter.save();
                        painter.setClipRect(box, Qt::IntersectClip);
                        painter.setPen(s.color);
                        for (const QGlyphRun &run : text.runs)
                            painter.drawGlyphRun(origin, run);
                        painter.restore();
                    }
                }
                baseline += s.lineHeight;
            });
        }
        // The rules of the row are gathered and drawn together, a few strokes a row.
        const auto rule = [&](const QColor &color, QPointF a, QPointF b) {
            if (!color.isValid())
                return;
            auto it = std::find_if(rules.begin(), rules.end(), [&](const RowRules &r) {
                return r.color == color && r.width == s.rule;
            });
            if (it == rules.end())
                it = rules.insert(rules.end(), RowRules{color, s.rule, {}});
            it->lines << QLineF(a, b);
        };
        rule(s.top, box.topLeft(), box.topRight());
        rule(s.bottom, box.bottomLeft(), box.bottomRight());
        rule(s.left, box.topLeft(), box.bottomLeft());
        rule(s.right, box.topRight(), box.bottomRight());
    }
    drawRowTexts(painter, texts);
    for (const RowRules &r : std::as_const(rules))
        drawRules(painter, r);
}

} // namespace

void ReportLayout::paintTable(QPainter &painter, const LayoutTable &table,
                              const PagePiece &piece) const
{
    double y = piece.y;
    if (piece.repeatHeading) {
        for (int r = 0; r < table.headingRows; ++r) {
            paintRow(painter, *m_shaped, table, table.rows[r], y, false);
            y += table.rows[r].height;
        }
    }
    if (piece.continuedGroup >= 0) {
        paintRow(painter, *m_shaped, table, table.rows[piece.continuedGroup], y, true);
        y += table.rows[piece.continuedGroup].height;
    }
    for (int r = piece.first; r < piece.last; ++r) {
        const LayoutRow &row = table.rows[r];
        const double bottom = piece.y + piece.height;
        if (piece.offset > 0 || y + row.height > bottom + 0.5) {
            painter.save();
            painter.setClipRect(QRectF(table.edges.first() - 4, y, table.width() + 8, bottom - y),
                                Qt::IntersectClip);
            paintRow(painter, *m_shaped, table, row, y - piece.offset, false);
            painter.restore();
            y = bottom;
        } else {
            paintRow(painter, *m_shaped, table, row, y, false);
            y += row.height;
        }
    }
}

void ReportLayout::paintPage(QPainter &painter, int index) const
{
    if (index < 0 || index >= m_pages.size())
        return;
    painter.save();
    // Nothing is drawn beside the body: a table wider than the paper is cut at the margin.
    painter.setClipRect(QRectF(QPointF(0, 0), m_body), Qt::IntersectClip);
    for (const PagePiece &piece : m_pages[index]) {
        const LayoutBlock &block = m_blocks[std::size_t(piece.block)];
        if (block.table) {
            paintTable(painter, *block.table, piece);
            continue;
        }
        painter.save();
        painter.translate(0, piece.y - piece.offset);
        drawReportDocument(painter, *block.text.doc,
                           QRectF(0, piece.offset, m_body.width(), piece.height));
        painter.restore();
    }
    painter.restore();
}

} // namespace kestrel
