// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "BenchReport.h"

#include "BenchHospital.h"

#include "core/db/Database.h"

#include <QFile>
#include <QJsonArray>
#include <QSysInfo>
#include <QThread>

#include <algorithm>

namespace kestrel::bench {

namespace {

// The value of the first line of a /proc file that begins with `key`.
QString procValue(const QString &file, QByteArrayView key)
{
    QFile f(file);
    if (!f.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    for (const QByteArray &line : f.readAll().split('\n')) {
        if (line.startsWith(key))
            return QString::fromUtf8(line.mid(line.indexOf(':') + 1)).trimmed();
    }
    return {};
}

double megabytes(qint64 kilobytes)
{
    return kilobytes < 0 ? -1 : double(kilobytes) / 1024.0;
}

QString ms(double value)
{
    return value < 10 ? QString::number(value, 'f', 2) : QString::number(value, 'f', 1);
}

QJsonObject summaryJson(const TimingSummary &s)
{
    return {{QStringLiteral("p50"), s.p50},
            {QStringLiteral("p95"), s.p95},
            {QStringLiteral("min"), s.min},
            {QStringLiteral("max"), s.max},
            {QStringLiteral("mean"), s.mean}};
}

QJsonArray timingsJson(const QList<double> &timings)
{
    QJsonArray a;
    for (double t : timings)
        a.append(t);
    return a;
}

QString verdict(const PathResult &r)
{
    if (!r.failure.isEmpty())
        return QStringLiteral("FAILED");
    return r.passed() ? QStringLiteral("PASS") : QStringLiteral("MISS");
}

QString targetText(const BenchPath &p)
{
    QStringList parts;
    if (p.targetMs > 0)
        parts << QStringLiteral("p95 < %1 ms").arg(p.targetMs);
    if (p.ratioTarget)
        parts << QStringLiteral("ratio <= 1.5");
    return parts.join(QStringLiteral(", "));
}

} // namespace

double BenchRun::peakRssMb() const
{
    qint64 peak = -1;
    for (const PathResult &r : paths)
        peak = std::max(peak, r.peakKb);
    return megabytes(peak);
}

QJsonObject machineInfo(Database &db)
{
    QJsonObject m;
    m.insert(QStringLiteral("cpu"), procValue(QStringLiteral("/proc/cpuinfo"), "model name"));
    m.insert(QStringLiteral("cores"), QThread::idealThreadCount());
    const qint64 ramKb =
        procValue(QStringLiteral("/proc/meminfo"), "MemTotal").split(u' ').value(0).toLongLong();
    m.insert(QStringLiteral("ramMB"), double(ramKb / 1024));
    m.insert(QStringLiteral("os"),
             QString(QSysInfo::prettyProductName() + QStringLiteral(", ") + QSysInfo::kernelType() +
                     u' ' + QSysInfo::kernelVersion()));
    m.insert(QStringLiteral("qt"), QString::fromLatin1(qVersion()));
    const bool server = db.backend() == Backend::Postgres;
    auto version = db.scalar(server ? u"select current_setting('server_version')"
                                    : u"select sqlite_version()");
    m.insert(server ? QStringLiteral("postgresql") : QStringLiteral("sqlite"),
             version ? version->toString() : QString());
    m.insert(QStringLiteral("buildType"), QStringLiteral(KESTREL_BENCH_BUILD_TYPE));
    return m;
}

QString resultsTable(const BenchRun &run)
{
    const QStringList headers{QStringLiteral("path"),        QStringLiteral("program p50"),
                              QStringLiteral("p95"),         QStringLiteral("bare p50"),
                              QStringLiteral("p95"),         QStringLiteral("ratio"),
                              QStringLiteral("peak RSS MB"), QStringLiteral("target")};
    QList<QStringList> rows;
    QStringList notes;
    for (qsizetype i = 0; i < run.paths.size(); ++i) {
        const PathResult &r = run.paths.at(i);
        const bool ran = !r.programMs.isEmpty();
        QStringList row{
            QString::number(i + 1) + QStringLiteral(". ") + r.path.name,
            ran ? ms(r.program.p50) : QStringLiteral("-"),
            ran ? ms(r.program.p95) : QStringLiteral("-"),
            r.hasBare() ? ms(r.bare.p50) : QStringLiteral("-"),
            r.hasBare() ? ms(r.bare.p95) : QStringLiteral("-"),
            r.hasBare() && ran ? QString::number(r.ratio(), 'f', 2) : QStringLiteral("-"),
            r.peakKb >= 0 ? QString::number(megabytes(r.peakKb), 'f', 0) : QStringLiteral("-"),
            verdict(r)};
        rows << row;
        if (!r.failure.isEmpty())
            notes << QStringLiteral("%1. FAILED: %2").arg(i + 1).arg(r.failure);
        for (const QString &note : r.path.notes + r.findings)
            notes << QStringLiteral("%1. %2").arg(i + 1).arg(note);
    }
    QList<qsizetype> widths;
    for (qsizetype c = 0; c < headers.size(); ++c) {
        qsizetype w = headers.at(c).size();
        for (const QStringList &row : rows)
            w = std::max(w, row.at(c).size());
        widths << w;
    }
    const auto line = [&widths](const QStringList &cells) -> QString {
        QStringList padded;
        for (qsizetype c = 0; c < cells.size(); ++c)
            padded << (c == 0 ? cells.at(c).leftJustified(widths.at(c))
                              : cells.at(c).rightJustified(widths.at(c)));
        return padded.join(QStringLiteral(" | ")) + u'\n';
    };
    QString out = line(headers);
    QStringList rule;
    for (qsizetype w : std::as_const(widths))
        rule << QString(w, u'-');
    out += rule.join(QStringLiteral("-+-")) + u'\n';
    for (const QStringList &row : std::as_const(rows))
        out += line(row);
    out += QStringLiteral("\nTimes in ms over %1 runs after %2 warm-up runs; ratio = program p50 "
                          "/ bare p50.\n")
               .arg(run.options.runs)
               .arg(kWarmUpRuns);
    out += QStringLiteral("Targets: start-up p95 < 1000 ms; interactive paths p95 < 50 ms and "
                          "ratio <= 1.5; posting p95 < 100 ms; report p95 < 2000 ms.\n");
    const double peak = run.peakRssMb();
    out += QStringLiteral("Peak memory over all paths: %1 MB (target < %2 MB): %3\n")
               .arg(peak, 0, 'f', 0)
               .arg(kMemoryLimitMb)
               .arg(peak >= 0 && peak < kMemoryLimitMb ? QStringLiteral("PASS")
                                                       : QStringLiteral("MISS"));
    if (!notes.isEmpty())
        out += QStringLiteral("\nNotes:\n  ") + notes.join(QStringLiteral("\n  ")) + u'\n';
    return out;
}

QJsonObject resultsJson(const BenchRun &run)
{
    QJsonObject j;
    j.insert(QStringLiteral("started"), run.started.toString(Qt::ISODate));
    j.insert(QStringLiteral("kestrel"), QStringLiteral(KESTREL_VERSION));
    j.insert(QStringLiteral("machine"), run.machine);
    j.insert(QStringLiteral("backend"), run.options.backendName());
    j.insert(QStringLiteral("size"), run.options.sizeName());
    if (!run.options.demo) {
        const hospitaldb::ScaleSize s = scaleSize(run.options);
        j.insert(QStringLiteral("sizeCounts"),
                 QJsonObject{{QStringLiteral("patients"), double(s.patients)},
                             {QStringLiteral("stays"), double(s.stays)},
                             {QStringLiteral("logbookLines"), double(s.logbookLines)},
                             {QStringLiteral("billLines"), double(s.billLines)},
                             {QStringLiteral("orCases"), double(s.orCases)},
                             {QStringLiteral("years"), s.years}});
    }
    j.insert(QStringLiteral("databaseBytes"), double(run.databaseBytes));
    j.insert(QStringLiteral("generationSeconds"),
             run.generationSeconds ? QJsonValue(*run.generationSeconds) : QJsonValue());
    j.insert(QStringLiteral("runs"), run.options.runs);
    j.insert(QStringLiteral("warmUpRuns"), kWarmUpRuns);
    const hospitaldb::ScaleLandmarks &l = run.landmarks;
    j.insert(QStringLiteral("landmarks"),
             QJsonObject{{QStringLiteral("commonPrefix"), l.commonPrefix},
                         {QStringLiteral("hospNum"), l.hospNum},
                         {QStringLiteral("inpatientIdNum"), l.inpatientIdNum},
                         {QStringLiteral("inpatientHospNum"), l.inpatientHospNum},
                         {QStringLiteral("longStayIdNum"), l.longStayIdNum},
                         {QStringLiteral("longStayHospNum"), l.longStayHospNum}});
    QJsonArray paths;
    for (qsizetype i = 0; i < run.paths.size(); ++i) {
        const PathResult &r = run.paths.at(i);
        QJsonObject p{
            {QStringLiteral("number"), int(i + 1)},
            {QStringLiteral("name"), r.path.name},
            {QStringLiteral("program"), r.path.program},
            {QStringLiteral("bare"), r.path.bare},
            {QStringLiteral("target"), targetText(r.path)},
            {QStringLiteral("result"), verdict(r)},
            {QStringLiteral("failure"), r.failure},
            {QStringLiteral("programMs"), summaryJson(r.program)},
            {QStringLiteral("bareMs"),
             r.hasBare() ? QJsonValue(summaryJson(r.bare)) : QJsonValue()},
            {QStringLiteral("ratio"), r.hasBare() ? QJsonValue(r.ratio()) : QJsonValue()},
            {QStringLiteral("peakRssMB"), megabytes(r.peakKb)},
            {QStringLiteral("programRows"), double(r.programRows)},
            {QStringLiteral("bareRows"), double(r.bareRows)},
            {QStringLiteral("notes"), QJsonArray::fromStringList(r.path.notes + r.findings)},
            {QStringLiteral("timings"),
             QJsonObject{{QStringLiteral("program"), timingsJson(r.programMs)},
                         {QStringLiteral("bare"), timingsJson(r.bareMs)}}}};
        paths.append(p);
    }
    j.insert(QStringLiteral("paths"), paths);
    const double peak = run.peakRssMb();
    j.insert(QStringLiteral("peakRssMB"), peak);
    j.insert(QStringLiteral("memoryTarget"),
             QJsonObject{{QStringLiteral("limitMB"), kMemoryLimitMb},
                         {QStringLiteral("result"), peak >= 0 && peak < kMemoryLimitMb
                                                        ? QStringLiteral("PASS")
                                                        : QStringLiteral("MISS")}});
    return j;
}

} // namespace kestrel::bench
