// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/SearcherStatement.h"

#include <QRegularExpression>

namespace kestrel {

namespace {

const QString kMark = QStringLiteral("##");

// Quoted values joined by "+" ('%' + '##' + '%'): where they stand in the statement and the
// text they make together.
struct QuotedValue
{
    qsizetype begin = 0;
    qsizetype end = 0;
    QString value;
};

// Reads the quoted value whose opening quote is at `at` into `value` (a doubled quote is one
// quote) and answers where the text after its closing quote begins.
qsizetype readQuoted(const QString &text, qsizetype at, QString &value)
{
    qsizetype i = at + 1;
    while (i < text.size()) {
        if (text.at(i) == u'\'') {
            if (i + 1 < text.size() && text.at(i + 1) == u'\'') {
                value += u'\'';
                i += 2;
                continue;
            }
            return i + 1;
        }
        value += text.at(i++);
    }
    return i;
}

qsizetype skipBlanks(const QString &text, qsizetype i)
{
    while (i < text.size() && text.at(i).isSpace())
        ++i;
    return i;
}

// The quoted value at `at` with every quoted value that "+" joins to it.
QuotedValue readJoined(const QString &text, qsizetype at)
{
    QuotedValue q;
    q.begin = at;
    q.end = readQuoted(text, at, q.value);
    for (;;) {
        qsizetype i = skipBlanks(text, q.end);
        if (i >= text.size() || text.at(i) != u'+')
            break;
        i = skipBlanks(text, i + 1);
        if (i >= text.size() || text.at(i) != u'\'')
            break;
        q.end = readQuoted(text, i, q.value);
    }
    return q;
}

// Whether the word just before `at` is LIKE (NOT LIKE included).
bool followsLike(const QString &text, qsizetype at)
{
    const QString before = text.left(at).trimmed();
    if (!before.endsWith(QLatin1String("like"), Qt::CaseInsensitive))
        return false;
    const qsizetype k = before.size() - 5;
    return k < 0 || !(before.at(k).isLetterOrNumber() || before.at(k) == u'_');
}

// Text that LIKE compares literally: its wildcards and the escape character escaped.
QString escapedForLike(QString text)
{
    text.replace(u'\\', QStringLiteral("\\\\"));
    text.replace(u'%', QStringLiteral("\\%"));
    text.replace(u'_', QStringLiteral("\\_"));
    return text;
}

// A LIKE pattern of the statement with the typed text where "##" stands. The statement's own
// "%" and "_" stay wildcards; only a backslash of its own must be doubled, since the pattern
// now has an escape character.
QString likePattern(const QString &pattern, const QString &typed)
{
    QStringList parts = pattern.split(kMark);
    for (QString &part : parts)
        part.replace(u'\\', QStringLiteral("\\\\"));
    return parts.join(escapedForLike(typed));
}

// The arguments of a procedure call written as text, split at the commas between them.
QStringList splitArguments(const QString &text)
{
    QStringList out;
    QString current;
    bool quoted = false;
    for (const QChar c : text) {
        if (c == u'\'')
            quoted = !quoted;
        if (c == u',' && !quoted) {
            out << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty() || !out.isEmpty())
        out << current.trimmed();
    return out;
}

} // namespace

SearcherStatement::SearcherStatement(const QString &query, const QString &typed)
{
    // A call reads "DATABASE..procedure" (or DATABASE.dbo.procedure), then its arguments.
    static const QRegularExpression call(
        QStringLiteral(R"(^\s*(\w+(?:\.\.|\.dbo\.)\w+)(?:\s+(.*?))?\s*$)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch m = call.match(query);
    if (m.hasMatch()) {
        m_procedure = m.captured(1);
        bindProcedureCall(m.captured(2), typed);
    } else {
        bindStatement(query, typed);
    }
}

void SearcherStatement::bindStatement(const QString &query, const QString &typed)
{
    auto placeholder = [this](const QString &value) -> QString {
        const QString name = QStringLiteral("criteria%1").arg(m_binds.size() + 1);
        m_binds.insert(name, value);
        return u':' + name;
    };
    qsizetype i = 0;
    while (i < query.size()) {
        if (query.at(i) == u'\'') {
            const QuotedValue q = readJoined(query, i);
            if (!q.value.contains(kMark))
                m_sql += QStringView(query).mid(q.begin, q.end - q.begin);
            else if (followsLike(query, q.begin))
                m_sql += placeholder(likePattern(q.value, typed)) + QStringLiteral(" escape '\\'");
            else
                m_sql += placeholder(QString(q.value).replace(kMark, typed));
            i = q.end;
        } else if (QStringView(query).mid(i, kMark.size()) == kMark) {
            m_sql += placeholder(typed);
            i += kMark.size();
        } else {
            m_sql += query.at(i++);
        }
    }
}

void SearcherStatement::bindProcedureCall(const QString &arguments, const QString &typed)
{
    for (const QString &argument : splitArguments(arguments)) {
        QString value = argument.startsWith(u'\'') ? readJoined(argument, 0).value : argument;
        m_arguments << value.replace(kMark, typed);
    }
}

Result<RowSet> SearcherStatement::run(Database &db) const
{
    if (isProcedureCall())
        return db.call(m_procedure, m_arguments);
    return db.select(m_sql, m_binds);
}

} // namespace kestrel
