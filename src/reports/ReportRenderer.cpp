// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportRenderer.h"

#include "reports/ReportLog.h"
#include "reports/ReportTemplate.h"
#include "core/db/Database.h"
#include "core/db/Money.h"
#include "core/db/NumberFormat.h"

#include <QFileInfo>
#include <QLocale>
#include <QRegularExpression>
#include <QSet>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>

#include <cmath>
#include <numeric>

namespace kestrel {

namespace {

const QString kDateShown = QStringLiteral("MM/dd/yyyy");

/// The database's own message, first line only, as the shared error box shows it.
QString databaseMessage(const QSqlError &e)
{
    QString text = e.databaseText().trimmed();
    if (text.isEmpty())
        return e.text().trimmed();
    text = text.section(u'\n', 0, 0).trimmed();
    static const QRegularExpression severity(QStringLiteral("^(ERROR|FATAL|PANIC):\\s*"));
    text.remove(severity);
    return text;
}

/// The placeholders a statement names, outside its quoted literals; `::` casts are no
/// placeholders.
QStringList placeholdersOf(const QString &sql)
{
    QString bare = sql;
    bool quoted = false;
    for (QChar &c : bare) {
        if (c == u'\'') {
            quoted = !quoted;
            continue;
        }
        if (quoted)
            c = u' ';
    }
    static const QRegularExpression placeholder(
        QStringLiteral("(?<![:A-Za-z0-9_]):([A-Za-z_][A-Za-z0-9_]*)"));
    QStringList names;
    for (auto it = placeholder.globalMatch(bare); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

/// Lists of rows read as lists of maps for code that reads a report's values.
void registerRowsConversion()
{
    static const bool registered = QMetaType::registerConverter<ReportRows, QVariantList>(
        [](const ReportRows &rows) { return rows.toList(); });
    Q_UNUSED(registered);
}

/// Dates on SQLite are ISO text; PostgreSQL hands back QDateTime.
bool looksLikeIsoDate(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDateTime || value.typeId() == QMetaType::QDate)
        return true;
    if (value.typeId() != QMetaType::QString)
        return false;
    static const QRegularExpression iso(
        QStringLiteral(R"(^\d{4}-\d{2}-\d{2}([ T]\d{2}:\d{2}(:\d{2}(\.\d+)?)?)?$)"));
    return iso.match(value.toString()).hasMatch();
}

/// How the values of one result column are shown.
struct ColumnKind
{
    QString numberFormat; ///< empty: not formatted as a number
    QString dateFormat;   ///< empty: not a date
};

QString shownValue(const QVariant &value, const ColumnKind &kind)
{
    if (value.isNull())
        return {};
    if (!kind.dateFormat.isEmpty() && looksLikeIsoDate(value)) {
        const QDateTime dt = dateTimeFromVariant(value);
        return dt.isValid() ? QLocale::c().toString(dt, kind.dateFormat) : value.toString();
    }
    if (!kind.numberFormat.isEmpty()) {
        if (const auto money = Money::parse(value.toString().trimmed()))
            return formatNumber(*money, kind.numberFormat);
        bool ok = false;
        const double d = value.toDouble(&ok);
        if (ok)
            return formatNumber(d, kind.numberFormat);
    }
    // Fixed-width columns pad with blanks that mean nothing on paper.
    QString text = value.toString();
    while (text.endsWith(u' '))
        text.chop(1);
    return text;
}

/// A result read whole with the types of its columns: a decimal column (money, float) is
/// shown as an amount unless the definition says otherwise.
struct QueryResult
{
    QStringList columns; ///< lower case
    QList<bool> decimal; ///< per column
    QList<QVariantList> rows;
};

} // namespace

ReportRenderer::ReportRenderer(Database &db, ReportHeadings headings)
    : m_db(db)
    , m_headings(std::move(headings))
{
}

std::pair<QDate, QDate> ReportRenderer::datePeriod(const QVariant &value)
{
    if (value.typeId() == QMetaType::QDate || value.typeId() == QMetaType::QDateTime) {
        const QDate d =
            value.typeId() == QMetaType::QDate ? value.toDate() : value.toDateTime().date();
        return d.isValid() ? std::pair{d, d.addDays(1)} : std::pair{QDate(), QDate()};
    }
    const QString text = value.toString().trimmed();
    static const QRegularExpression day(QStringLiteral(R"(^(\d{1,2})/(\d{1,2})/(\d{4})$)"));
    static const QRegularExpression month(QStringLiteral(R"(^(\d{1,2})/(\d{4})$)"));
    static const QRegularExpression year(QStringLiteral(R"(^(\d{4})$)"));
    if (const auto m = day.match(text); m.hasMatch()) {
        const QDate d(m.captured(3).toInt(), m.captured(1).toInt(), m.captured(2).toInt());
        if (d.isValid())
            return {d, d.addDays(1)};
    } else if (const auto m = month.match(text); m.hasMatch()) {
        // A month stands for all its days, so "from" and "to" may both be the month.
        const QDate d(m.captured(2).toInt(), m.captured(1).toInt(), 1);
        if (d.isValid())
            return {d, d.addMonths(1)};
    } else if (const auto m = year.match(text); m.hasMatch()) {
        const QDate d(m.captured(1).toInt(), 1, 1);
        if (d.isValid())
            return {d, d.addYears(1)};
    } else if (const QDateTime iso = dateTimeFromVariant(text); iso.isValid()) {
        return {iso.date(), iso.date().addDays(1)};
    }
    return {QDate(), QDate()};
}

ReportArguments ReportRenderer::bindParameters(const QList<ReportParameter> &parameters,
                                               const QVariantList &values)
{
    ReportArguments args;
    for (qsizetype i = 0; i < parameters.size(); ++i) {
        const ReportParameter &p = parameters.at(i);
        const bool given = i < values.size();
        const QVariant value = given ? values.at(i) : QVariant();
        switch (p.type) {
        case ReportParameter::Type::Text: {
            const QString text = value.isNull() ? QStringLiteral("") : value.toString();
            args.binds.insert(p.name, text);
            args.shown.insert(p.name, text);
            break;
        }
        case ReportParameter::Type::Date: {
            const auto [first, next] = datePeriod(value);
            const QMetaType dateTime = QMetaType::fromType<QDateTime>();
            args.binds.insert(p.name,
                              first.isValid() ? QVariant(first.startOfDay()) : QVariant(dateTime));
            args.binds.insert(p.name + u"_end",
                              next.isValid() ? QVariant(next.startOfDay()) : QVariant(dateTime));
            args.shown.insert(p.name, first.isValid() ? first.toString(kDateShown) : QString());
            args.shown.insert(p.name + u"_month",
                              first.isValid()
                                  ? QLocale::c().toString(first, QStringLiteral("MMMM yyyy"))
                                  : QString());
            args.shown.insert(p.name + u"_year",
                              first.isValid() ? QString::number(first.year()) : QString());
            break;
        }
        case ReportParameter::Type::Number: {
            bool ok = false;
            const double d = value.toString().trimmed().toDouble(&ok);
            const double n = ok ? d : 0.0;
            const bool whole = std::abs(n) < 1e15 && n == std::floor(n);
            args.binds.insert(p.name, whole ? QVariant(qint64(n)) : QVariant(n));
            args.shown.insert(p.name, numberText(n));
            break;
        }
        case ReportParameter::Type::Flag: {
            const QString text = value.toString().trimmed();
            const bool set =
                value.typeId() == QMetaType::Bool
                    ? value.toBool()
                    : (text == u"1" || text.compare(u"true", Qt::CaseInsensitive) == 0 ||
                       text.compare(u"y", Qt::CaseInsensitive) == 0 || text == u"-1");
            args.binds.insert(p.name, set ? 1 : 0);
            args.shown.insert(p.name, set ? QStringLiteral("1") : QStringLiteral("0"));
            break;
        }
        }
    }
    return args;
}

namespace {

Result<QueryResult> runQuery(Database &db, const ReportQuery &query, const QVariantMap &binds,
                             const QString &reportName)
{
    const auto named = [&](const QString &what) {
        return QStringLiteral("%1, query \"%2\": %3").arg(reportName, query.name, what);
    };
    QSqlQuery q(db.connection());
    q.setForwardOnly(true);
    // Amounts stay exact text; they are formatted, never computed through a double.
    q.setNumericalPrecisionPolicy(QSql::HighPrecision);
    const QString sql = db.mapNames(query.sql);
    if (!q.prepare(sql))
        return failure(named(databaseMessage(q.lastError())), query.sql);
    for (const QString &name : placeholdersOf(sql)) {
        if (!binds.contains(name))
            return failure(named(QStringLiteral(":%1 is no parameter of the report").arg(name)),
                           query.sql);
        QVariant v = binds.value(name);
        if (v.typeId() == QMetaType::QDateTime)
            v = v.isNull() ? QVariant() : QVariant(Database::isoText(v.toDateTime()));
        q.bindValue(u':' + name, v);
    }
    if (!q.exec()) {
        const QString message = databaseMessage(q.lastError());
        qCWarning(lcReports) << "report statement failed:" << message << "in" << sql;
        return failure(named(message), query.sql);
    }
    QueryResult result;
    const QSqlRecord record = q.record();
    for (int i = 0; i < record.count(); ++i) {
        result.columns << record.fieldName(i).toLower();
        result.decimal << (record.field(i).metaType().id() == QMetaType::Double);
    }
    while (q.next()) {
        QVariantList values;
        values.reserve(record.count());
        for (int i = 0; i < record.count(); ++i)
            values << q.value(i);
        result.rows << values;
    }
    if (q.lastError().isValid())
        return failure(named(databaseMessage(q.lastError())), query.sql);
    return result;
}

/// The column kinds of a result: the definition's patterns first, then amounts for decimal
/// columns and "MM/dd/yyyy" for dates.
QList<ColumnKind> columnKinds(const ReportQuery &query, const QueryResult &result)
{
    QList<ColumnKind> kinds;
    for (qsizetype c = 0; c < result.columns.size(); ++c) {
        const QString &name = result.columns.at(c);
        ColumnKind kind;
        kind.numberFormat = query.numberFormats.value(name);
        kind.dateFormat = query.dateFormats.value(name);
        if (kind.numberFormat.isEmpty() && kind.dateFormat.isEmpty()) {
            bool dates = false;
            for (const QVariantList &row : result.rows) {
                if (!row.at(c).isNull()) {
                    dates = looksLikeIsoDate(row.at(c));
                    break;
                }
            }
            if (dates)
                kind.dateFormat = kDateShown;
            else if (result.decimal.at(c))
                kind.numberFormat = QString::fromUtf16(kFormatAmount);
        }
        kinds << kind;
    }
    return kinds;
}

/// Totals of `sums` over `rows`, exact; shown with the column's pattern (an amount for
/// decimal columns, plain for whole numbers).
QVariantMap sumsOf(const ReportQuery &query, const QueryResult &result,
                   const QList<ColumnKind> &kinds, const QList<int> &rowIndexes,
                   const QString &prefix)
{
    QVariantMap sums;
    for (const QString &column : query.sums) {
        const qsizetype c = result.columns.indexOf(column);
        Money total;
        if (c >= 0) {
            for (int r : rowIndexes)
                total += Money::fromVariant(result.rows.at(r).at(c));
        }
        QString pattern = c >= 0 ? kinds.at(c).numberFormat : QString();
        if (pattern.isEmpty() && c >= 0 && result.decimal.at(c))
            pattern = QString::fromUtf16(kFormatAmount);
        sums.insert(prefix + column,
                    pattern.isEmpty() ? numberText(total) : formatNumber(total, pattern));
    }
    return sums;
}

} // namespace

Result<QVariantMap> ReportRenderer::context(const ReportDefinition &definition,
                                            const QVariantList &values)
{
    const QString reportName =
        definition.path.isEmpty() ? definition.title : QFileInfo(definition.path).fileName();
    const ReportArguments args = bindParameters(definition.parameters, values);
    QVariantMap ctx = args.shown;
    const auto now = m_db.loadServerDate();
    if (!now)
        return failure(QStringLiteral("%1: %2").arg(reportName, now.error().message));
    // A parameter of the same name wins: the program passes what the report asks for.
    const QVariantMap common{{QStringLiteral("Company"), m_headings.Company},
                             {QStringLiteral("Address1"), m_headings.Address1},
                             {QStringLiteral("title"), definition.title},
                             {QStringLiteral("PrintedOn"),
                              QLocale::c().toString(*now, QStringLiteral("MM/dd/yyyy hh:mm AP"))}};
    for (auto it = common.cbegin(); it != common.cend(); ++it) {
        if (!ctx.contains(it.key()))
            ctx.insert(it.key(), it.value());
    }
    for (auto it = definition.subreports.cbegin(); it != definition.subreports.cend(); ++it)
        ctx.insert(QStringLiteral("subreport_") + it.key(), QString());

    registerRowsConversion();
    m_warnings.clear();
    // The names the templates may use besides the context's own: row and group fields.
    QSet<QString> known{QStringLiteral("page"),  QStringLiteral("pages"), QStringLiteral("rownum"),
                        QStringLiteral("key"),   QStringLiteral("rows"),  QStringLiteral("count"),
                        QStringLiteral("anchor")};
    for (const ReportQuery &query : definition.queries) {
        auto result = runQuery(m_db, query, args.binds, reportName);
        if (!result)
            return tl::unexpected(result.error());
        for (const QString &column : std::as_const(result->columns))
            known << column << QStringLiteral("sum_") + column;
        const QList<ColumnKind> kinds = columnKinds(query, *result);
        for (const QString &column : query.sums) {
            if (!result->columns.contains(column))
                return failure(QStringLiteral("%1, query \"%2\": no column \"%3\" to sum")
                                   .arg(reportName, query.name, column));
        }
        const qsizetype groupColumn =
            query.group.isEmpty() ? -1 : result->columns.indexOf(query.group);
        if (!query.group.isEmpty() && groupColumn < 0)
            return failure(QStringLiteral("%1, query \"%2\": no column \"%3\" to group by")
                               .arg(reportName, query.name, query.group));

        // Every value is formatted once, here; the templates read them by column.
        const qsizetype width = result->columns.size();
        QList<QString> cells;
        cells.reserve(result->rows.size() * width);
        for (const QVariantList &row : std::as_const(result->rows)) {
            for (qsizetype c = 0; c < width; ++c)
                cells << shownValue(row.at(c), kinds.at(c));
        }
        const ReportRows rows(result->columns, std::move(cells));
        QList<int> all(rows.size());
        std::iota(all.begin(), all.end(), 0);
        ctx.insert(query.name, QVariant::fromValue(rows));
        ctx.insert(query.name + u"_count", QString::number(rows.size()));
        ctx.insert(query.name + u"_empty", rows.isEmpty());
        ctx.insert(sumsOf(query, *result, kinds, all, query.name + u"_sum_"));

        if (groupColumn >= 0) {
            // Groups of equal keys in query order: a key that comes back later starts a group
            // of its own, as the statement's order says.
            QVariantList groups;
            QList<int> members;
            QString key;
            const auto close = [&] {
                if (members.isEmpty())
                    return;
                QVariantMap group;
                group.insert(QStringLiteral("key"), key);
                group.insert(QStringLiteral("rows"), QVariant::fromValue(rows.view(members)));
                group.insert(QStringLiteral("count"), QString::number(members.size()));
                group.insert(QStringLiteral("anchor"),
                             QStringLiteral("%1_%2").arg(query.name).arg(groups.size() + 1));
                group.insert(sumsOf(query, *result, kinds, members, QStringLiteral("sum_")));
                groups << group;
                members.clear();
            };
            for (int r = 0; r < rows.size(); ++r) {
                const QString &k = rows.cell(r, int(groupColumn));
                if (!members.isEmpty() && k != key)
                    close();
                key = k;
                members << r;
            }
            close();
            ctx.insert(query.name + u"_groups", groups);
        }
        // The rows as read are not needed any more: only their shown values are.
        result->rows.clear();
    }
    for (auto it = ctx.cbegin(); it != ctx.cend(); ++it)
        known << it.key();
    // A field no query gives prints blank; the definition's author is told which one.
    static const QRegularExpression tag(
        QStringLiteral(R"(\{\{\{?\s*[#^/&]?\s*([A-Za-z_][A-Za-z0-9_]*)\s*\}?\}\})"));
    for (const QString *text : {&definition.templateText, &definition.headerText,
                                &definition.footerText}) {
        for (auto it = tag.globalMatch(*text); it.hasNext();) {
            const QString field = it.next().captured(1);
            const QString message =
                QStringLiteral("%1: the field \"%2\" is given by no query or parameter; it "
                               "prints blank.")
                    .arg(reportName, field);
            if (!known.contains(field) && !m_warnings.contains(message)) {
                qCWarning(lcReports).noquote() << message;
                m_warnings << message;
            }
        }
    }
    return ctx;
}

Result<QString> ReportRenderer::fill(const QString &templateText, const QVariantMap &context,
                                     const QString &what)
{
    const auto tmpl = ReportTemplate::parse(templateText);
    if (!tmpl)
        return failure(
            QStringLiteral("%1: the template does not parse: %2").arg(what, tmpl.error().message));
    return tmpl->render(context);
}

QPageLayout ReportRenderer::pageLayout(const ReportDefinition &definition)
{
    const QPageSize::PageSizeId id = definition.paper == u"A4"      ? QPageSize::A4
                                     : definition.paper == u"Legal" ? QPageSize::Legal
                                                                    : QPageSize::Letter;
    return QPageLayout(QPageSize(id),
                       definition.orientation == u"landscape" ? QPageLayout::Landscape
                                                              : QPageLayout::Portrait,
                       definition.marginsMm, QPageLayout::Millimeter);
}

QString ReportRenderer::defaultStyleSheet()
{
    // Plain print: one sans-serif family, small type, tables ruled only where asked.
    return QStringLiteral(
        "body { font-family: 'DejaVu Sans', Arial, Helvetica, sans-serif; font-size: 9pt; }\n"
        "h1 { font-size: 14pt; font-weight: bold; text-align: center; margin: 0 0 4px 0; }\n"
        "h2 { font-size: 12pt; font-weight: bold; margin: 4px 0 2px 0; }\n"
        "h3 { font-size: 10pt; font-weight: bold; margin: 4px 0 2px 0; }\n"
        "p { margin: 0 0 2px 0; }\n"
        "table { border-collapse: collapse; border-style: solid; border-color: #000000; }\n"
        "th { font-weight: bold; text-align: left; }\n"
        ".n { text-align: right; }\n"
        ".c { text-align: center; }\n"
        ".company { font-size: 11pt; font-weight: bold; text-align: center; }\n"
        ".address { text-align: center; }\n"
        ".total { font-weight: bold; }\n");
}

namespace {

const QString kDefaultHeader = QStringLiteral(
    "<p class=\"company\">{{Company}}</p><p class=\"address\"><b>{{Address1}}</b></p>");
const QString kDefaultFooter = QStringLiteral(
    "<table width=\"100%\" cellspacing=\"0\" cellpadding=\"0\"><tr>"
    "<td>Page {{page}} of {{pages}}</td><td align=\"right\">{{PrintedOn}}</td></tr></table>");

} // namespace

Result<std::shared_ptr<const RenderedReport>>
ReportRenderer::render(const ReportDefinition &definition, const QVariantMap &context) const
{
    const QString name =
        definition.path.isEmpty() ? definition.title : QFileInfo(definition.path).fileName();
    auto body = fill(definition.templateText, context, name + u" [template]");
    if (!body)
        return tl::unexpected(body.error());
    const QString header = definition.headerText.isEmpty() ? kDefaultHeader : definition.headerText;
    const QString footer = definition.footerText.isEmpty() ? kDefaultFooter : definition.footerText;
    // The rows of the queries are the body's: a page margin only reads the report's single
    // values and short lists.
    auto marginContext = std::make_shared<QVariantMap>();
    for (auto it = context.cbegin(); it != context.cend(); ++it) {
        const QVariant &v = it.value();
        qsizetype n = 0;
        if (v.typeId() == QMetaType::QVariantList)
            n = v.toList().size();
        else if (v.typeId() == qMetaTypeId<ReportRows>())
            n = v.value<ReportRows>().size();
        if (n <= 50)
            marginContext->insert(it.key(), v);
    }
    // The page margins are filled per page; a template error shows here, once, not on paper.
    const auto margin = [&](const QString &text,
                            const QString &part) -> Result<RenderedReport::PageMarginHtml> {
        const auto tmpl = ReportTemplate::parse(text);
        if (!tmpl)
            return failure(QStringLiteral("%1 [%2]: the template does not parse: %3")
                               .arg(name, part, tmpl.error().message));
        return RenderedReport::PageMarginHtml([marginContext, t = *tmpl](int page, int pages) {
            const QVariantMap numbers{{QStringLiteral("page"), QString::number(page)},
                                      // 0 while the report is still being laid out
                                      {QStringLiteral("pages"), pages > 0
                                                                    ? QString::number(pages)
                                                                    : QStringLiteral("…")}};
            return t.render(*marginContext, &numbers);
        });
    };
    auto headerHtml = margin(header, QStringLiteral("header"));
    if (!headerHtml)
        return tl::unexpected(headerHtml.error());
    auto footerHtml = margin(footer, QStringLiteral("footer"));
    if (!footerHtml)
        return tl::unexpected(footerHtml.error());

    QList<ReportGroup> groups;
    if (!definition.groupTree.isEmpty()) {
        const QVariantList list = context.value(definition.groupTree + u"_groups").toList();
        for (const QVariant &g : list) {
            const QVariantMap group = g.toMap();
            groups << ReportGroup{group.value(QStringLiteral("key")).toString(),
                                  group.value(QStringLiteral("anchor")).toString(), 0};
        }
    }
    return std::make_shared<const RenderedReport>(
        definition.title, *body, defaultStyleSheet() + definition.style, pageLayout(definition),
        *headerHtml, *footerHtml, groups);
}

} // namespace kestrel
