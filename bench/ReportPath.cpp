// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The detailed income report of the OR, rendered by the report engine and exported to PDF,
// against its queries run bare.
#include "BenchPaths.h"

#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "core/db/Database.h"

#include <QDir>
#include <QRegularExpression>

#include <memory>

namespace kestrel::bench {

namespace {

const QString kReportFile = QStringLiteral("Nurse_Station_Income_Detailed.RPT");
constexpr qint64 kReportLines = 5000;
// How far back the period may reach when the OR charged little.
constexpr int kMostDays = 366;

const QString kORLines = QStringLiteral("from STATION..tbNurseLogBook where StationID = 'OR' "
                                        "and RecordStatus <> 'R'");

// The names of a statement's placeholders.
QStringList placeholders(const QString &sql)
{
    static const QRegularExpression name(QStringLiteral("(?<![:\\w]):([A-Za-z_][A-Za-z0-9_]*)"));
    QStringList names;
    for (auto it = name.globalMatch(sql); it.hasNext();)
        names << it.next().captured(1);
    return names;
}

struct ReportState
{
    ReportState(BenchSession &s, const QString &reportsFolder, const QString &scratchFolder)
        : session(s)
        , reports(s.db, reportsFolder,
                  ReportHeadings{s.session.hospital.Company, s.session.hospital.Address1}, display,
                  s.notifier)
        , pdf(QDir(scratchFolder).filePath(QStringLiteral("income-report.pdf")))
    {
    }
    BenchSession &session;
    NullReportDisplay display;
    ReportService reports;
    QString pdf;
    QVariantList values;
    ReportDefinition definition;
    Binds binds;
};

} // namespace

Result<ReportPeriodChoice> chooseReportPeriod(Database &db, qint64 wanted)
{
    // Walked back from the newest end of the date index; a max() over a filtered table is not
    // always read that way.
    auto latest = db.scalar(QString(QStringLiteral("select TransDate ") + kORLines +
                                    QStringLiteral(" order by TransDate desc limit 1")));
    if (!latest)
        return tl::unexpected(latest.error());
    const QDate last = dateTimeFromVariant(*latest).date();
    if (!last.isValid())
        return failure(QStringLiteral("the OR has posted no charges"));
    QList<qint64> perDay;
    qint64 sum = 0;
    for (int back = 0; back < kMostDays && sum < wanted; ++back) {
        const QDate day = last.addDays(-back);
        auto n = db.scalar(QString(QStringLiteral("select count(*) ") + kORLines +
                                   QStringLiteral(" and TransDate >= :from and TransDate < :to")),
                           {{QStringLiteral("from"), day.startOfDay()},
                            {QStringLiteral("to"), day.addDays(1).startOfDay()}});
        if (!n)
            return tl::unexpected(n.error());
        perDay << n->toLongLong();
        sum += perDay.constLast();
    }
    const int days = reportDays(perDay, wanted);
    ReportPeriodChoice choice;
    choice.to = last;
    choice.from = last.addDays(1 - days);
    for (int i = 0; i < days && i < perDay.size(); ++i)
        choice.lines += perDay.at(i);
    return choice;
}

Result<BenchPath> reportPath(BenchSession &s, const QString &reportsFolder,
                             const QString &scratchFolder)
{
    auto period = chooseReportPeriod(s.db, kReportLines);
    if (!period)
        return tl::unexpected(period.error());
    auto state = std::make_shared<ReportState>(s, reportsFolder, scratchFolder);
    auto definition = ReportDefinition::load(QDir(reportsFolder).filePath(kReportFile));
    if (!definition)
        return tl::unexpected(definition.error());
    state->definition = *definition;
    // The values the report command gives it: the period, the station and whether amounts
    // are shown.
    state->values = {period->from, period->to, s.session.StationID,
                     s.session.hospital.IsShowAmount};
    state->binds =
        ReportRenderer::bindParameters(state->definition.parameters, state->values).binds;

    BenchPath p;
    p.name = QStringLiteral("income report of %1 lines to PDF").arg(period->lines);
    p.program = QStringLiteral("ReportService::OpenReport (ReportRenderer) and "
                               "RenderedReport::exportPdf");
    p.bare = QStringLiteral("the report's queries");
    p.targetMs = 2000;
    p.mostRuns = 5;
    p.runProgram = [state]() -> Result<qint64> {
        if (!state->reports.OpenReport(kReportFile, state->values))
            return failure(QStringLiteral("the report did not open"));
        const std::shared_ptr<const RenderedReport> report = state->reports.current();
        if (auto ok = report->exportPdf(state->pdf); !ok)
            return tl::unexpected(ok.error());
        return report->pageCount();
    };
    p.runBare = [state]() -> Result<qint64> {
        qint64 rows = 0;
        for (const ReportQuery &query : std::as_const(state->definition.queries)) {
            Binds binds;
            for (const QString &name : placeholders(query.sql))
                binds.insert(name, state->binds.value(name));
            auto read = state->session.db.select(query.sql, binds);
            if (!read)
                return tl::unexpected(read.error());
            rows += read->count();
        }
        return rows;
    };
    p.notes << QStringLiteral("%1, %2 to %3: the days back from the OR's latest charge that "
                              "hold about %4 lines. The program's figure counts pages.")
                   .arg(kReportFile, period->from.toString(Qt::ISODate),
                        period->to.toString(Qt::ISODate))
                   .arg(kReportLines);
    return p;
}

} // namespace kestrel::bench
