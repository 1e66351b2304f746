// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportDefinition.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

namespace kestrel {

namespace {

/// The sections whose lines are kept as written: templates may hold `#` and blank lines.
bool isTextSection(const QString &kind)
{
    return kind == u"template" || kind == u"header" || kind == u"footer";
}

/// The kind of a section heading's text: its first word, in lower case.
QString sectionKind(const QString &heading)
{
    const QString head = heading.simplified();
    const qsizetype blank = head.indexOf(u' ');
    return (blank < 0 ? head : head.left(blank)).toLower();
}

bool isSectionName(const QString &kind)
{
    static const QStringList kinds{QStringLiteral("report"),   QStringLiteral("parameters"),
                                   QStringLiteral("query"),    QStringLiteral("subreport"),
                                   QStringLiteral("template"), QStringLiteral("header"),
                                   QStringLiteral("footer")};
    return kinds.contains(kind);
}

/// "key = value" split at the first "="; false when the line has none.
bool splitKeyValue(const QString &line, QString &key, QString &value)
{
    const qsizetype eq = line.indexOf(u'=');
    if (eq <= 0)
        return false;
    key = line.left(eq).trimmed();
    value = line.mid(eq + 1).trimmed();
    return !key.isEmpty();
}

/// Drops the blank lines a section ends with; templates keep everything else.
QString joinText(const QStringList &lines)
{
    QStringList kept = lines;
    while (!kept.isEmpty() && kept.last().trimmed().isEmpty())
        kept.removeLast();
    while (!kept.isEmpty() && kept.first().trimmed().isEmpty())
        kept.removeFirst();
    return kept.join(u'\n');
}

class Parser
{
public:
    Parser(const QString &path)
        : m_name(path.isEmpty() ? QStringLiteral("report definition") : QFileInfo(path).fileName())
    {
        m_def.path = path;
        m_def.title = path.isEmpty() ? QString() : QFileInfo(path).completeBaseName();
        m_def.orientation = QStringLiteral("portrait");
        m_def.paper = QStringLiteral("Letter");
        m_def.marginsMm = QMarginsF(12, 12, 12, 12);
    }

    Result<ReportDefinition> parse(const QString &text)
    {
        static const QRegularExpression sectionLine(QStringLiteral(R"(^\[\s*([^\]]+?)\s*\]\s*$)"));
        QString kind, argument;
        QStringList lines;
        int sectionLineNo = 0;
        bool seenTemplate = false;
        const QStringList all = text.split(u'\n');
        for (int i = 0; i <= all.size(); ++i) {
            const bool atEnd = i == all.size();
            QString line = atEnd ? QString() : all.at(i);
            if (line.endsWith(u'\r'))
                line.chop(1);
            const auto match = atEnd ? QRegularExpressionMatch() : sectionLine.match(line);
            // Inside a template only the known sections end it: "[x]" may be page text.
            const bool startsSection =
                match.hasMatch() &&
                (!isTextSection(kind) || isSectionName(sectionKind(match.captured(1))));
            if (!atEnd && !startsSection) {
                if (!kind.isEmpty())
                    lines << line;
                continue;
            }
            if (!kind.isEmpty()) {
                if (auto ok = section(kind, argument, lines, sectionLineNo); !ok)
                    return tl::unexpected(ok.error());
                seenTemplate = seenTemplate || kind == u"template";
            }
            if (atEnd)
                break;
            const QString head = match.captured(1).simplified();
            const qsizetype blank = head.indexOf(u' ');
            kind = sectionKind(head);
            argument = blank < 0 ? QString() : head.mid(blank + 1);
            lines.clear();
            sectionLineNo = i + 1;
        }
        if (!seenTemplate)
            return error(0, QStringLiteral("the definition has no [template] section"));
        return m_def;
    }

private:
    tl::unexpected<Error> error(int lineNo, const QString &what) const
    {
        if (lineNo > 0)
            return failure(QStringLiteral("%1, line %2: %3").arg(m_name).arg(lineNo).arg(what));
        return failure(QStringLiteral("%1: %2").arg(m_name, what));
    }

    Result<void> section(const QString &kind, const QString &argument, const QStringList &lines,
                         int lineNo)
    {
        if (isTextSection(kind)) {
            if (!argument.isEmpty())
                return error(lineNo, QStringLiteral("[%1] takes no name").arg(kind));
            QString &target = kind == u"template" ? m_def.templateText
                              : kind == u"header" ? m_def.headerText
                                                  : m_def.footerText;
            target = joinText(lines);
            return {};
        }
        // Key-value sections: comments and blank lines are skipped everywhere but in a
        // query's statement, where a blank line is harmless anyway.
        if (kind == u"report")
            return reportSection(lines, lineNo);
        if (kind == u"parameters")
            return parameterSection(lines, lineNo);
        if (kind == u"query")
            return querySection(argument, lines, lineNo);
        if (kind == u"subreport")
            return subreportSection(argument, lines, lineNo);
        return error(lineNo, QStringLiteral("unknown section [%1]").arg(kind));
    }

    Result<void> reportSection(const QStringList &lines, int lineNo)
    {
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            const int at = lineNo + 1 + i;
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            QString key, value;
            if (!splitKeyValue(line, key, value))
                return error(at, QStringLiteral("expected \"key = value\""));
            key = key.toLower();
            if (key == u"title") {
                m_def.title = value;
            } else if (key == u"orientation") {
                value = value.toLower();
                if (value != u"portrait" && value != u"landscape")
                    return error(at, QStringLiteral("orientation must be portrait or landscape"));
                m_def.orientation = value;
            } else if (key == u"paper") {
                static const QStringList papers{QStringLiteral("Letter"), QStringLiteral("Legal"),
                                                QStringLiteral("A4")};
                const auto it = std::find_if(papers.cbegin(), papers.cend(), [&](const QString &p) {
                    return p.compare(value, Qt::CaseInsensitive) == 0;
                });
                if (it == papers.cend())
                    return error(at, QStringLiteral("paper must be Letter, Legal or A4"));
                m_def.paper = *it;
            } else if (key == u"margins") {
                const QStringList parts =
                    value.split(QRegularExpression(QStringLiteral("[\\s,]+")), Qt::SkipEmptyParts);
                QList<double> mm;
                for (const QString &p : parts) {
                    bool ok = false;
                    const double v = p.toDouble(&ok);
                    if (!ok || v < 0)
                        return error(at, QStringLiteral("margins must be numbers of millimetres"));
                    mm << v;
                }
                if (mm.size() == 1)
                    mm = {mm[0], mm[0], mm[0], mm[0]};
                if (mm.size() != 4)
                    return error(at, QStringLiteral("margins are top right bottom left"));
                m_def.marginsMm = QMarginsF(mm[3], mm[0], mm[1], mm[2]);
            } else if (key == u"grouptree") {
                m_def.groupTree = value.toLower();
            } else if (key == u"style") {
                m_def.style += value + u'\n';
            } else {
                return error(at, QStringLiteral("unknown key \"%1\" in [report]").arg(key));
            }
        }
        return {};
    }

    Result<void> parameterSection(const QStringList &lines, int lineNo)
    {
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            const int at = lineNo + 1 + i;
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            QString name, type;
            if (!splitKeyValue(line, name, type))
                return error(at, QStringLiteral("expected \"name = type\""));
            static const QRegularExpression validName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
            if (!validName.match(name).hasMatch())
                return error(at, QStringLiteral("\"%1\" is not a parameter name").arg(name));
            ReportParameter p;
            p.name = name;
            type = type.toLower();
            if (type == u"text")
                p.type = ReportParameter::Type::Text;
            else if (type == u"date")
                p.type = ReportParameter::Type::Date;
            else if (type == u"number")
                p.type = ReportParameter::Type::Number;
            else if (type == u"flag")
                p.type = ReportParameter::Type::Flag;
            else
                return error(at, QStringLiteral("unknown parameter type \"%1\"").arg(type));
            for (const ReportParameter &other : std::as_const(m_def.parameters)) {
                if (other.name.compare(name, Qt::CaseInsensitive) == 0)
                    return error(at, QStringLiteral("parameter \"%1\" twice").arg(name));
            }
            m_def.parameters << p;
        }
        return {};
    }

    Result<void> querySection(const QString &argument, const QStringList &lines, int lineNo)
    {
        static const QRegularExpression validName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!validName.match(argument).hasMatch())
            return error(lineNo, QStringLiteral("a query needs a name: [query NAME]"));
        ReportQuery q;
        q.name = argument.toLower();
        if (m_def.query(q.name))
            return error(lineNo, QStringLiteral("query \"%1\" twice").arg(argument));
        static const QRegularExpression option(
            QStringLiteral(R"(^(group|sum|format|date)(\s+([A-Za-z_][A-Za-z0-9_]*))?\s*=\s*(.*)$)"),
            QRegularExpression::CaseInsensitiveOption);
        int i = 0;
        // Options come first; the statement starts at the first line that is none.
        for (; i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            const int at = lineNo + 1 + i;
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            const auto m = option.match(line);
            if (!m.hasMatch())
                break;
            const QString key = m.captured(1).toLower();
            const QString column = m.captured(3).toLower();
            const QString value = m.captured(4).trimmed();
            const bool needsColumn = key == u"format" || key == u"date";
            if (needsColumn == column.isEmpty())
                return error(
                    at, needsColumn
                            ? QStringLiteral("\"%1\" needs a column: %1 COLUMN = pattern").arg(key)
                            : QStringLiteral("\"%1 = ...\" takes no column").arg(key));
            if (key == u"group") {
                q.group = value.toLower();
            } else if (key == u"sum") {
                for (const QString &c : value.split(u',', Qt::SkipEmptyParts))
                    q.sums << c.trimmed().toLower();
            } else if (key == u"format") {
                q.numberFormats.insert(column, value);
            } else {
                q.dateFormats.insert(column, value);
            }
        }
        QStringList statement;
        for (; i < lines.size(); ++i) {
            if (!lines.at(i).trimmed().startsWith(u'#'))
                statement << lines.at(i);
        }
        q.sql = joinText(statement);
        if (q.sql.isEmpty())
            return error(lineNo, QStringLiteral("query \"%1\" has no statement").arg(argument));
        m_def.queries << q;
        return {};
    }

    Result<void> subreportSection(const QString &argument, const QStringList &lines, int lineNo)
    {
        static const QRegularExpression validName(QStringLiteral("^[A-Za-z_][A-Za-z0-9_]*$"));
        if (!validName.match(argument).hasMatch())
            return error(lineNo, QStringLiteral("a subreport needs a name: [subreport NAME]"));
        QString file;
        for (int i = 0; i < lines.size(); ++i) {
            const QString line = lines.at(i).trimmed();
            const int at = lineNo + 1 + i;
            if (line.isEmpty() || line.startsWith(u'#'))
                continue;
            QString key, value;
            if (!splitKeyValue(line, key, value) || key.toLower() != u"file")
                return error(at, QStringLiteral("a subreport has only \"file = NAME.rpt\""));
            file = value;
        }
        if (file.isEmpty())
            return error(lineNo, QStringLiteral("subreport \"%1\" names no file").arg(argument));
        m_def.subreports.insert(argument.toLower(), file);
        return {};
    }

    QString m_name;
    ReportDefinition m_def;
};

} // namespace

Result<ReportDefinition> ReportDefinition::load(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        return failure(QStringLiteral("The report file \"%1\" cannot be opened: %2")
                           .arg(QDir::toNativeSeparators(path), file.errorString()));
    }
    return parse(QString::fromUtf8(file.readAll()), path);
}

Result<ReportDefinition> ReportDefinition::parse(const QString &text, const QString &path)
{
    // Files saved by Windows editors start with a byte-order mark.
    return Parser(path).parse(text.startsWith(QChar(0xFEFF)) ? text.mid(1) : text);
}

const ReportQuery *ReportDefinition::query(const QString &name) const
{
    for (const ReportQuery &q : queries) {
        if (q.name.compare(name, Qt::CaseInsensitive) == 0)
            return &q;
    }
    return nullptr;
}

QString findReportFile(const QString &folder, const QString &name)
{
    if (name.isEmpty())
        return {};
    const QDir dir(folder);
    const QString exact = dir.filePath(name);
    if (QFileInfo(exact).isFile())
        return exact;
    // Report files come from many hands: "Audit_report.RPT" is opened as it was named in
    // the menu, whatever case the file on disk has.
    const QStringList entries = dir.entryList(QDir::Files | QDir::Hidden);
    for (const QString &entry : entries) {
        if (entry.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(entry);
    }
    return {};
}

} // namespace kestrel
