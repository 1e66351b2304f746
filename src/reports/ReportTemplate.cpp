// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportTemplate.h"

#include <vector>

namespace kestrel {

// --- Rows -------------------------------------------------------------------------------------

ReportRows::ReportRows(QStringList columns, QList<QString> cells)
{
    auto data = std::make_shared<Data>();
    for (int c = 0; c < columns.size(); ++c)
        data->index.insert(columns.at(c), c);
    data->columns = std::move(columns);
    data->cells = std::move(cells);
    m_data = std::move(data);
}

qsizetype ReportRows::size() const
{
    if (!m_data || m_data->columns.isEmpty())
        return 0;
    return m_view ? m_view->size() : m_data->cells.size() / m_data->columns.size();
}

const QStringList &ReportRows::columns() const
{
    static const QStringList none;
    return m_data ? m_data->columns : none;
}

int ReportRows::columnOf(const QString &name) const
{
    return m_data ? m_data->index.value(name, -1) : -1;
}

int ReportRows::storedRow(qsizetype row) const
{
    return m_view ? m_view->at(row) : int(row);
}

const QString &ReportRows::cell(qsizetype row, int column) const
{
    return m_data->cells.at(qsizetype(storedRow(row)) * m_data->columns.size() + column);
}

ReportRows ReportRows::view(const QList<int> &indexes) const
{
    ReportRows rows;
    rows.m_data = m_data;
    QList<int> stored;
    stored.reserve(indexes.size());
    for (int i : indexes)
        stored << storedRow(i);
    rows.m_view = std::make_shared<const QList<int>>(std::move(stored));
    return rows;
}

QVariantList ReportRows::toList() const
{
    QVariantList list;
    const qsizetype n = size();
    list.reserve(n);
    for (qsizetype r = 0; r < n; ++r) {
        QVariantMap row;
        for (int c = 0; c < m_data->columns.size(); ++c)
            row.insert(m_data->columns.at(c), cell(r, c));
        row.insert(QStringLiteral("rownum"), QString::number(r + 1));
        list << row;
    }
    return list;
}

// --- Template ---------------------------------------------------------------------------------

struct ReportTemplate::Node
{
    enum class Kind { Text, Variable, Raw, Section, Inverted };
    Kind kind = Kind::Text;
    QString text;      ///< the text, or the name as written
    QStringList path;  ///< the name's parts (`a.b`); empty for `.`
    QList<Node> children;
    // The column a name found in rows last resolved to, so that a list's fields are looked up
    // once per list rather than once per row.
    mutable const void *rowsStore = nullptr;
    mutable int column = -1;
};

namespace {

using Node = ReportTemplate::Node;

struct Token
{
    enum class Kind { Text, Variable, Raw, Section, Inverted, End, Comment };
    Kind kind = Kind::Text;
    QString text;
    bool standaloneKind() const
    {
        return kind == Kind::Section || kind == Kind::Inverted || kind == Kind::End ||
               kind == Kind::Comment;
    }
};

bool blank(QStringView text)
{
    for (QChar c : text) {
        if (c != u' ' && c != u'\t' && c != u'\r')
            return false;
    }
    return true;
}

Result<QList<Token>> tokenize(const QString &text)
{
    QList<Token> tokens;
    qsizetype at = 0;
    const auto lineOf = [&](qsizetype pos) { return text.left(pos).count(u'\n') + 1; };
    while (at < text.size()) {
        const qsizetype open = text.indexOf(QLatin1String("{{"), at);
        if (open < 0) {
            tokens << Token{Token::Kind::Text, text.mid(at)};
            break;
        }
        if (open > at)
            tokens << Token{Token::Kind::Text, text.mid(at, open - at)};
        const bool triple = text.mid(open + 2, 1) == u"{";
        const QLatin1String close = triple ? QLatin1String("}}}") : QLatin1String("}}");
        const qsizetype end = text.indexOf(close, open + (triple ? 3 : 2));
        if (end < 0)
            return failure(QStringLiteral("line %1: a tag is not closed").arg(lineOf(open)));
        QString inner = text.mid(open + (triple ? 3 : 2), end - open - (triple ? 3 : 2));
        at = end + close.size();
        Token token{triple ? Token::Kind::Raw : Token::Kind::Variable, {}};
        if (!triple && !inner.isEmpty()) {
            switch (inner.at(0).unicode()) {
            case '#': token.kind = Token::Kind::Section; break;
            case '^': token.kind = Token::Kind::Inverted; break;
            case '/': token.kind = Token::Kind::End; break;
            case '!': token.kind = Token::Kind::Comment; break;
            case '&': token.kind = Token::Kind::Raw; break;
            case '>':
            case '=':
                return failure(QStringLiteral("line %1: \"{{%2}}\": partials and other "
                                              "delimiters are not used in report templates")
                                   .arg(lineOf(open))
                                   .arg(inner));
            default: break;
            }
            if (token.kind != Token::Kind::Variable && !(triple))
                inner.remove(0, 1);
        }
        token.text = inner.trimmed();
        if (token.text.isEmpty() && token.kind != Token::Kind::Comment)
            return failure(QStringLiteral("line %1: a tag without a name").arg(lineOf(open)));
        tokens << token;
    }
    return tokens;
}

/// A section tag or a comment alone on its line takes the line with it.
void dropStandaloneLines(QList<Token> &tokens)
{
    struct Cut
    {
        qsizetype token;
        qsizetype from;
        qsizetype to; // -1: to the end
    };
    QList<Cut> cuts;
    for (qsizetype i = 0; i < tokens.size(); ++i) {
        if (!tokens[i].standaloneKind())
            continue;
        const Token *before = i > 0 ? &tokens[i - 1] : nullptr;
        const Token *after = i + 1 < tokens.size() ? &tokens[i + 1] : nullptr;
        if ((before && before->kind != Token::Kind::Text) ||
            (after && after->kind != Token::Kind::Text))
            continue;
        const qsizetype lineStart = before ? before->text.lastIndexOf(u'\n') + 1 : 0;
        if (before && lineStart == 0 && i - 1 > 0)
            continue; // the line began before another tag
        if (before && !blank(QStringView(before->text).mid(lineStart)))
            continue;
        const qsizetype lineEnd = after ? after->text.indexOf(u'\n') : -1;
        if (after && lineEnd < 0 && i + 2 < tokens.size())
            continue; // the line goes on after another tag
        if (after && !blank(QStringView(after->text).left(lineEnd < 0 ? after->text.size()
                                                                       : lineEnd)))
            continue;
        if (before)
            cuts << Cut{i - 1, lineStart, -1};
        if (after)
            cuts << Cut{i + 1, 0, lineEnd < 0 ? -1 : lineEnd + 1};
    }
    // Line ends first, then line starts: both were found in the text as it was.
    for (const Cut &cut : std::as_const(cuts)) {
        if (cut.to < 0)
            tokens[cut.token].text.truncate(cut.from);
    }
    for (const Cut &cut : std::as_const(cuts)) {
        if (cut.to >= 0)
            tokens[cut.token].text.remove(0, std::min(cut.to, tokens[cut.token].text.size()));
    }
}

Result<QList<Node>> buildTree(const QList<Token> &tokens)
{
    std::vector<QList<Node>> stack(1);
    QStringList open;
    for (const Token &t : tokens) {
        Node node;
        switch (t.kind) {
        case Token::Kind::Comment:
            continue;
        case Token::Kind::Text:
            if (t.text.isEmpty())
                continue;
            node.text = t.text;
            stack.back() << node;
            continue;
        case Token::Kind::End: {
            if (open.isEmpty() || open.last() != t.text)
                return failure(open.isEmpty()
                                   ? QStringLiteral("\"{{/%1}}\" closes no section").arg(t.text)
                                   : QStringLiteral("\"{{/%1}}\" closes the section \"%2\"")
                                         .arg(t.text, open.last()));
            QList<Node> children = std::move(stack.back());
            stack.pop_back();
            stack.back().last().children = std::move(children);
            open.removeLast();
            continue;
        }
        case Token::Kind::Variable: node.kind = Node::Kind::Variable; break;
        case Token::Kind::Raw: node.kind = Node::Kind::Raw; break;
        case Token::Kind::Section: node.kind = Node::Kind::Section; break;
        case Token::Kind::Inverted: node.kind = Node::Kind::Inverted; break;
        }
        node.text = t.text;
        if (t.text != u".")
            node.path = t.text.split(u'.');
        stack.back() << node;
        if (node.kind == Node::Kind::Section || node.kind == Node::Kind::Inverted) {
            stack.emplace_back();
            open << t.text;
        }
    }
    if (!open.isEmpty())
        return failure(QStringLiteral("the section \"%1\" is not closed").arg(open.last()));
    return stack.front();
}

/// One level of what a template sees: a map of names, one row of a list, or a plain value.
struct Frame
{
    const QVariantMap *map = nullptr;
    const ReportRows *rows = nullptr;
    qsizetype row = 0;
    const QVariant *value = nullptr;
};

/// What a name stands for: a value of a map, a row's field, or a row's number.
struct Found
{
    const QVariant *value = nullptr;
    const QString *text = nullptr;
    qsizetype rownum = 0;
    bool found() const { return value || text || rownum > 0; }
};

const QVariantMap *mapOf(const QVariant &v)
{
    return v.typeId() == QMetaType::QVariantMap ? static_cast<const QVariantMap *>(v.constData())
                                                : nullptr;
}

const ReportRows *rowsOf(const QVariant &v)
{
    return v.typeId() == qMetaTypeId<ReportRows>() ? static_cast<const ReportRows *>(v.constData())
                                                   : nullptr;
}

class Renderer
{
public:
    explicit Renderer(QString &out)
        : m_out(out)
    {
    }

    void push(Frame f) { m_frames.push_back(f); }

    void render(const QList<Node> &nodes)
    {
        for (const Node &node : nodes) {
            switch (node.kind) {
            case Node::Kind::Text:
                m_out += node.text;
                break;
            case Node::Kind::Variable:
            case Node::Kind::Raw:
                write(lookup(node), node.kind == Node::Kind::Variable);
                break;
            case Node::Kind::Section:
                section(node, lookup(node));
                break;
            case Node::Kind::Inverted:
                if (falsy(lookup(node)))
                    render(node.children);
                break;
            }
        }
    }

private:
    Found lookup(const Node &node) const
    {
        if (node.path.isEmpty()) { // "." : the value of the list's current item
            Found f;
            if (!m_frames.empty())
                f.value = m_frames.back().value;
            return f;
        }
        const QString &first = node.path.first();
        Found f;
        for (auto it = m_frames.rbegin(); it != m_frames.rend() && !f.found(); ++it) {
            if (it->rows) {
                const ReportRows &rows = *it->rows;
                if (node.rowsStore != rows.store()) {
                    node.rowsStore = rows.store();
                    node.column = rows.columnOf(first);
                }
                if (node.column >= 0)
                    f.text = &rows.cell(it->row, node.column);
                else if (first == u"rownum")
                    f.rownum = it->row + 1;
            } else if (it->map) {
                const auto found = it->map->constFind(first);
                if (found != it->map->cend())
                    f.value = &found.value();
            }
        }
        for (qsizetype i = 1; i < node.path.size() && f.found(); ++i) {
            const QVariantMap *map = f.value ? mapOf(*f.value) : nullptr;
            f = Found{};
            if (!map)
                break;
            const auto found = map->constFind(node.path.at(i));
            if (found != map->cend())
                f.value = &found.value();
        }
        return f;
    }

    static bool falsy(const Found &f)
    {
        if (!f.found())
            return true;
        if (!f.value)
            return false;
        switch (f.value->typeId()) {
        case QMetaType::Bool:
            return !f.value->toBool();
        case QMetaType::QVariantList:
            return static_cast<const QVariantList *>(f.value->constData())->isEmpty();
        default:
            if (const ReportRows *rows = rowsOf(*f.value))
                return rows->isEmpty();
            return false;
        }
    }

    void write(const Found &f, bool escaped)
    {
        if (f.rownum > 0) {
            m_out += QString::number(f.rownum);
            return;
        }
        QString own;
        const QString *text = f.text;
        if (!text && f.value) {
            switch (f.value->typeId()) {
            case QMetaType::Bool:
            case QMetaType::QVariantList:
            case QMetaType::QVariantMap:
                return;
            case QMetaType::QString:
                text = static_cast<const QString *>(f.value->constData());
                break;
            default:
                if (rowsOf(*f.value))
                    return;
                own = f.value->toString();
                text = &own;
            }
        }
        if (!text)
            return;
        if (!escaped) {
            m_out += *text;
            return;
        }
        qsizetype from = 0;
        for (qsizetype i = 0; i < text->size(); ++i) {
            const char16_t c = text->at(i).unicode();
            const char16_t *entity = c == u'&'    ? u"&amp;"
                                     : c == u'<'  ? u"&lt;"
                                     : c == u'>'  ? u"&gt;"
                                     : c == u'"'  ? u"&quot;"
                                     : c == u'\'' ? u"&apos;"
                                                  : nullptr;
            if (!entity)
                continue;
            m_out += QStringView(*text).mid(from, i - from);
            m_out += QStringView(entity);
            from = i + 1;
        }
        m_out += QStringView(*text).mid(from);
    }

    void section(const Node &node, const Found &f)
    {
        if (falsy(f))
            return;
        if (!f.value) { // a row's field or number: set, so shown once
            render(node.children);
            return;
        }
        const QVariant &v = *f.value;
        if (const ReportRows *rows = rowsOf(v)) {
            for (qsizetype r = 0; r < rows->size(); ++r) {
                m_frames.push_back(Frame{nullptr, rows, r, nullptr});
                render(node.children);
                m_frames.pop_back();
            }
            return;
        }
        if (v.typeId() == QMetaType::QVariantList) {
            for (const QVariant &item : *static_cast<const QVariantList *>(v.constData())) {
                m_frames.push_back(Frame{mapOf(item), nullptr, 0, &item});
                render(node.children);
                m_frames.pop_back();
            }
            return;
        }
        m_frames.push_back(Frame{mapOf(v), nullptr, 0, &v});
        render(node.children);
        m_frames.pop_back();
    }

    QString &m_out;
    std::vector<Frame> m_frames;
};

} // namespace

Result<ReportTemplate> ReportTemplate::parse(const QString &text)
{
    auto tokens = tokenize(text);
    if (!tokens)
        return tl::unexpected(tokens.error());
    dropStandaloneLines(*tokens);
    auto nodes = buildTree(*tokens);
    if (!nodes)
        return tl::unexpected(nodes.error());
    ReportTemplate t;
    t.m_nodes = std::make_shared<const QList<Node>>(std::move(*nodes));
    return t;
}

QString ReportTemplate::render(const QVariantMap &context, const QVariantMap *extra) const
{
    QString out;
    if (!m_nodes)
        return out;
    Renderer renderer(out);
    renderer.push(Frame{&context, nullptr, 0, nullptr});
    if (extra)
        renderer.push(Frame{extra, nullptr, 0, nullptr});
    renderer.render(*m_nodes);
    return out;
}

} // namespace kestrel
