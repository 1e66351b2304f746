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
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTextStream>

#include <memory>

namespace kestrel::bench {

namespace {

const QString kReportFile = QStringLiteral("Nurse_Station_Income_Detailed.RPT");
constexpr qint64 kReportLines = 5000;
constexpr qint64 kLongReportLines = 50000;
/// The sizes the time per 1,000 lines is printed for.
constexpr qint64 kScalingLines[] = {500, 1000, 2000, 5000, 10000, 20000, 50000};
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

namespace {

Result<BenchPath> incomeReportPath(BenchSession &s, const QString &reportsFolder,
                                   const QString &scratchFolder);

/// The report's values for a period, as the report command gives them: the period, the
/// station and whether amounts are shown.
QVariantList reportValues(BenchSession &s, const ReportPeriodChoice &period)
{
    return {period.from, period.to, s.session.StationID, s.session.hospital.IsShowAmount};
}

/// Opens the report with `values` and writes it to `pdf`; answers its pages.
Result<qint64> reportToPdf(ReportState &state, const QVariantList &values, const QString &pdf)
{
    if (!state.reports.OpenReport(kReportFile, values))
        return failure(QStringLiteral("the report did not open"));
    const std::shared_ptr<const RenderedReport> report = state.reports.current();
    if (auto ok = report->exportPdf(pdf); !ok)
        return tl::unexpected(ok.error());
    return report->pageCount();
}

/// The time per 1,000 lines from 500 lines up, one run each, printed on `err`.
Result<void> printScaling(BenchSession &s, ReportState &state)
{
    QTextStream err(stderr);
    qint64 before = -1;
    for (const qint64 wanted : kScalingLines) {
        auto period = chooseReportPeriod(s.db, wanted);
        if (!period)
            return tl::unexpected(period.error());
        if (period->lines == before)
            continue; // whole days: this size gives the same lines as the one before
        before = period->lines;
        QElapsedTimer timer;
        timer.start();
        auto pages = reportToPdf(state, reportValues(s, *period), state.pdf);
        if (!pages)
            return tl::unexpected(pages.error());
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        err << QStringLiteral("    income report scaling: %1 lines, %2 pages, %3 ms, %4 ms per "
                              "1,000 lines\n")
                   .arg(period->lines)
                   .arg(*pages)
                   .arg(ms, 0, 'f', 0)
                   .arg(period->lines > 0 ? ms * 1000.0 / double(period->lines) : 0.0, 0, 'f', 1)
            << Qt::flush;
    }
    return {};
}

} // namespace

Result<QList<BenchPath>> reportPath(BenchSession &s, const QString &reportsFolder,
                                    const QString &scratchFolder)
{
    auto one = incomeReportPath(s, reportsFolder, scratchFolder);
    if (!one)
        return tl::unexpected(one.error());
    QList<BenchPath> paths{*one};

    auto period = chooseReportPeriod(s.db, kReportLines);
    if (!period)
        return tl::unexpected(period.error());
    auto state = std::make_shared<ReportState>(s, reportsFolder, scratchFolder);
    const QVariantList values = reportValues(s, *period);
    BenchPath screen;
    screen.name = QStringLiteral("first page of the income report of %1 lines on screen")
                      .arg(period->lines);
    screen.program = QStringLiteral("ReportService::OpenReport and RenderedReport::paintPage "
                                    "into an image of the viewer's size");
    screen.targetMs = 200;
    screen.mostRuns = 10;
    screen.runProgram = [state, values]() -> Result<qint64> {
        if (!state->reports.OpenReport(kReportFile, values))
            return failure(QStringLiteral("the report did not open"));
        const std::shared_ptr<const RenderedReport> report = state->reports.current();
        QImage page(1100, 850, QImage::Format_ARGB32_Premultiplied);
        page.fill(Qt::white);
        QPainter painter(&page);
        // As the viewer does: only as much is laid out as the first page needs; the rest
        // follows while it is on screen.
        report->paintPage(painter, 0, QRectF(0, 0, page.width(), page.height()));
        painter.end();
        return report->pagesLaidOut();
    };
    screen.notes << QStringLiteral("The report is opened (queries and filling) and its first "
                                   "page laid out and painted at the viewer's size, as the "
                                   "viewer shows it before the rest is laid out; counts the "
                                   "pages laid out by then.");
    paths << screen;

    auto longPeriod = chooseReportPeriod(s.db, kLongReportLines);
    if (!longPeriod)
        return tl::unexpected(longPeriod.error());
    const QVariantList longValues = reportValues(s, *longPeriod);
    BenchPath longReport;
    longReport.name = QStringLiteral("income report of %1 lines to PDF").arg(longPeriod->lines);
    longReport.program = QStringLiteral("ReportService::OpenReport and RenderedReport::exportPdf");
    longReport.targetMs = 10000;
    longReport.mostRuns = 2;
    longReport.prepare = [&s, state]() { return printScaling(s, *state); };
    longReport.runProgram = [state, longValues]() -> Result<qint64> {
        return reportToPdf(*state, longValues, state->pdf);
    };
    longReport.notes << QStringLiteral("%1 to %2: about %3 lines; peak resident memory is the "
                                       "figure to read (target 300 MB). Before the runs the time "
                                       "per 1,000 lines from 500 lines up is printed.")
                            .arg(longPeriod->from.toString(Qt::ISODate),
                                 longPeriod->to.toString(Qt::ISODate))
                            .arg(kLongReportLines);
    paths << longReport;
    return paths;
}

namespace {

Result<BenchPath> incomeReportPath(BenchSession &s, const QString &reportsFolder,
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
    p.targetMs = 1000;
    p.mostRuns = 5;
    p.runProgram = [state]() -> Result<qint64> {
        if (!state->reports.OpenReport(kReportFile, state->values))
            return failure(QStringLiteral("the report did not open"));
        const std::shared_ptr<const RenderedReport> report = state->reports.current();
        if (auto ok = report->exportPdf(state->pdf); !ok)
            return tl::unexpected(ok.error());
        return report->pageCount();
    };
    // Before the runs, one run taken apart: what the report costs beyond its queries and the
    // PDF writer's own work on its pages, the floor any engine of ours stands on.
    p.prepare = [state]() -> Result<void> {
        QElapsedTimer timer;
        timer.start();
        if (!state->reports.OpenReport(kReportFile, state->values))
            return failure(QStringLiteral("the report did not open"));
        const double opened = double(timer.nsecsElapsed()) / 1e6;
        const std::shared_ptr<const RenderedReport> report = state->reports.current();
        timer.restart();
        const int pages = report->pageCount(); // laid out whole
        const double laidOut = double(timer.nsecsElapsed()) / 1e6;
        timer.restart();
        if (auto ok = report->exportPdf(state->pdf); !ok)
            return tl::unexpected(ok.error());
        const double written = double(timer.nsecsElapsed()) / 1e6;
        QTextStream(stderr) << QStringLiteral("    income report taken apart: opened (queries and "
                                              "filling) %1 ms, %2 pages laid out %3 ms, painted "
                                              "and written to PDF %4 ms\n")
                                   .arg(opened, 0, 'f', 0)
                                   .arg(pages)
                                   .arg(laidOut, 0, 'f', 0)
                                   .arg(written, 0, 'f', 0)
                            << Qt::flush;
        return {};
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

} // namespace

} // namespace kestrel::bench
