// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The load run: a hundred workstations polling their monitors while ten of them post.
#include "LoadRun.h"

#include "BatchPoster.h"
#include "BenchFigures.h"
#include "BenchHospital.h"
#include "QuietMonitors.h"

#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QHash>
#include <QJsonArray>
#include <QMutex>
#include <QRandomGenerator>
#include <QThread>

#include <unistd.h>

#include <array>
#include <memory>
#include <vector>

namespace kestrel::bench {

namespace {

struct Check
{
    const char *name;
    void (Monitors::*run)();
    Monitors::Timer timer;
};

constexpr std::array<Check, 6> kChecks{{
    {"schedule requests", &Monitors::CheckScheduleRequests, Monitors::Timer2},
    {"admitted patients to check in", &Monitors::CheckConfirmedSchedules, Monitors::tmrAdmissions},
    {"results to print", &Monitors::CheckAutoPrint, Monitors::tmrComm},
    {"panic values", &Monitors::CheckAbnormalResults, Monitors::tmrLBAbnormal},
    {"revoked requests", &Monitors::CheckRevokedRequests, Monitors::tmrRevokedRequests},
    {"discharge notices", &Monitors::CheckDischargeNotices, Monitors::tmrNotice},
}};

// What every workstation brings back; merged under the lock when it ends.
struct Samples
{
    QList<double> posting;
    std::array<QList<double>, kChecks.size()> checks;
    qint64 failedBatches = 0;
    QString firstFailure;
};

struct Shared
{
    QMutex lock;
    Samples all;
    QAtomicInteger<qint64> batches = 0;
    QAtomicInteger<int> ready = 0;
    /// The workstations still posting.
    QAtomicInteger<int> posting = 0;
};

// One workstation: its own connection, its monitors at their intervals, and for the posting
// ones a batch whenever no check is due.
void workstation(const BenchOptions &options, const hospitaldb::ScaleLandmarks &landmarks,
                 int index, int posters, QDeadlineTimer end, Shared &shared)
{
    Samples mine;
    const bool posts = index < posters;
    // Each workstation has a name of its own, as every computer of the hospital does: its
    // charge slip print buffer is its own.
    ConnectionSettings settings = connectionSettings(options);
    settings.workstation = QStringLiteral("OR-LOAD-%1").arg(index + 1, 3, 10, QLatin1Char('0'));
    auto db = Database::open(settings);
    if (!db) {
        shared.posting.fetchAndSubRelaxed(posts ? 1 : 0);
        QMutexLocker hold(&shared.lock);
        shared.all.firstFailure = db.error().message;
        ++shared.all.failedBatches;
        return;
    }
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    BenchSession session(**db);
    QuietMonitors quiet(session);
    std::unique_ptr<BatchPoster> poster;
    if (posts) {
        poster = std::make_unique<BatchPoster>(session, landmarks, index, posters);
        if (auto ok = poster->ready(); !ok) {
            // A workstation that cannot post counts as a failed batch, so the run fails.
            ++mine.failedBatches;
            mine.firstFailure = ok.error().message;
            poster.reset();
        }
    }
    shared.ready.fetchAndAddRelaxed(1);

    // The workstations were started over some minutes in a hospital: their ticks do not meet.
    QElapsedTimer clock;
    clock.start();
    std::array<qint64, kChecks.size()> due{};
    for (std::size_t i = 0; i < kChecks.size(); ++i)
        due[i] = QRandomGenerator::global()->bounded(quiet.monitors.interval(kChecks[i].timer));

    while (!end.hasExpired()) {
        for (std::size_t i = 0; i < kChecks.size(); ++i) {
            if (clock.elapsed() < due[i])
                continue;
            QElapsedTimer took;
            took.start();
            (quiet.monitors.*kChecks[i].run)();
            mine.checks[i] << double(took.nsecsElapsed()) / 1e6;
            due[i] += quiet.monitors.interval(kChecks[i].timer);
        }
        if (poster) {
            auto ms = poster->postOnce();
            if (ms) {
                mine.posting << *ms;
                shared.batches.fetchAndAddRelaxed(1);
            } else {
                ++mine.failedBatches;
                if (mine.firstFailure.isEmpty())
                    mine.firstFailure = ms.error().message;
            }
            continue;
        }
        const qint64 next = *std::min_element(due.cbegin(), due.cend());
        const qint64 wait = std::min<qint64>(next - clock.elapsed(), end.remainingTime());
        if (wait > 0)
            QThread::msleep(std::min<qint64>(wait, 500));
    }

    // Untimed, once every workstation has stopped posting: the hospital is left as it was.
    shared.posting.fetchAndSubRelaxed(posts ? 1 : 0);
    while (shared.posting.loadRelaxed() > 0)
        QThread::msleep(50);
    if (poster) {
        if (auto removed = poster->removeAll(); !removed && mine.firstFailure.isEmpty())
            mine.firstFailure = removed.error().message;
    }
    QMutexLocker hold(&shared.lock);
    shared.all.posting << mine.posting;
    for (std::size_t i = 0; i < kChecks.size(); ++i)
        shared.all.checks[i] << mine.checks[i];
    shared.all.failedBatches += mine.failedBatches;
    if (shared.all.firstFailure.isEmpty())
        shared.all.firstFailure = mine.firstFailure;
}

// The processor time of each of the server's processes on this machine, in clock ticks;
// nothing when the server is elsewhere.
std::optional<QHash<QString, qint64>> serverTicks(const BenchOptions &options)
{
    const QString host = options.server.host;
    if (!host.isEmpty() && host != u"127.0.0.1" && host != u"localhost" && host != u"::1" &&
        !host.startsWith(u'/'))
        return std::nullopt;
    QHash<QString, qint64> ticks;
    const QStringList pids = QDir(QStringLiteral("/proc")).entryList(QDir::Dirs);
    for (const QString &pid : pids) {
        QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
        if (!comm.open(QIODevice::ReadOnly) || comm.readAll().trimmed() != "postgres")
            continue;
        QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
        if (!stat.open(QIODevice::ReadOnly))
            continue;
        // After the name in parentheses: state is field 3, utime 14 and stime 15.
        const QByteArray line = stat.readAll();
        const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            ticks.insert(pid, fields.at(11).toLongLong() + fields.at(12).toLongLong());
    }
    return ticks;
}

// The server's processor time since `first`, from samples taken while the connections lived:
// a connection's process takes its time with it when it ends.
class ServerClock
{
public:
    explicit ServerClock(const BenchOptions &options)
        : m_options(options)
        , m_first(serverTicks(options))
    {
        if (m_first)
            m_last = *m_first;
    }
    void sample()
    {
        if (auto now = serverTicks(m_options))
            m_last.insert(*now);
    }
    std::optional<qint64> ticks() const
    {
        if (!m_first)
            return std::nullopt;
        qint64 sum = 0;
        for (auto it = m_last.cbegin(); it != m_last.cend(); ++it)
            sum += it.value() - m_first->value(it.key(), 0);
        return sum;
    }

private:
    const BenchOptions &m_options;
    std::optional<QHash<QString, qint64>> m_first;
    QHash<QString, qint64> m_last;
};

QJsonObject summaryJson(const QList<double> &samples)
{
    const TimingSummary t = TimingSummary::of(samples);
    return {{QStringLiteral("count"), samples.size()}, {QStringLiteral("p50"), t.p50},
            {QStringLiteral("p95"), t.p95},           {QStringLiteral("max"), t.max}};
}

QString summaryText(const QList<double> &samples)
{
    const TimingSummary t = TimingSummary::of(samples);
    return QStringLiteral("%1 runs, p50 %2 ms, p95 %3 ms, max %4 ms")
        .arg(samples.size())
        .arg(t.p50, 0, 'f', 2)
        .arg(t.p95, 0, 'f', 2)
        .arg(t.max, 0, 'f', 1);
}

} // namespace

Result<QJsonObject> runLoad(const BenchOptions &options,
                            const hospitaldb::ScaleLandmarks &landmarks,
                            const LoadSettings &settings, QTextStream &out, QTextStream &err)
{
    if (options.backend != Backend::Postgres)
        return failure(QStringLiteral("the load run needs a PostgreSQL server (--pg)"));
    auto db = Database::open(connectionSettings(options));
    if (!db)
        return tl::unexpected(db.error());
    auto most = (*db)->scalar(u"select current_setting('max_connections')::int - "
                              u"(select count(*) from pg_stat_activity)");
    if (!most)
        return tl::unexpected(most.error());
    if (most->toInt() < settings.workstations + 1)
        return failure(QStringLiteral("the server takes %1 more connections, and the load run "
                                      "needs %2: raise max_connections")
                           .arg(most->toInt())
                           .arg(settings.workstations + 1));

    Shared shared;
    shared.posting.storeRelaxed(settings.posting);
    const QDeadlineTimer end(qint64(settings.seconds) * 1000);
    std::vector<std::unique_ptr<QThread>> threads;
    for (int i = 0; i < settings.workstations; ++i) {
        threads.emplace_back(QThread::create(
            [&options, &landmarks, i, posters = settings.posting, end, &shared] {
                workstation(options, landmarks, i, posters, end, shared);
            }));
        threads.back()->start();
    }

    ServerClock server(options);
    QElapsedTimer clock;
    clock.start();
    qint64 connections = 0;
    qint64 lastPrint = 0;
    const auto running = [&threads] {
        return std::any_of(threads.cbegin(), threads.cend(),
                           [](const auto &t) { return t->isRunning(); });
    };
    while (running()) {
        QThread::msleep(1000);
        server.sample();
        if (auto now = (*db)->scalar(u"select count(*) from pg_stat_activity "
                                     u"where datname = current_database()"))
            connections = std::max(connections, now->toLongLong());
        if (clock.elapsed() - lastPrint >= 10'000) {
            lastPrint = clock.elapsed();
            err << "load: " << lastPrint / 1000 << " s of " << settings.seconds << ", "
                << shared.ready.loadRelaxed() << " workstations ready, "
                << shared.batches.loadRelaxed() << " batches posted\n"
                << Qt::flush;
        }
    }
    for (auto &t : threads)
        t->wait();
    const double seconds = double(clock.elapsed()) / 1000.0;

    QList<double> allChecks;
    QJsonObject checks;
    out << "Load: " << settings.workstations << " workstations polling, " << settings.posting
        << " of them posting 20-line batches, for " << settings.seconds << " s\n";
    out << "  posting: " << summaryText(shared.all.posting) << " (target p95 100 ms)\n";
    for (std::size_t i = 0; i < kChecks.size(); ++i) {
        allChecks << shared.all.checks[i];
        checks.insert(QLatin1String(kChecks[i].name), summaryJson(shared.all.checks[i]));
        out << "  " << kChecks[i].name << ": " << summaryText(shared.all.checks[i]) << '\n';
    }
    out << "  every check: " << summaryText(allChecks) << " (target p95 20 ms)\n";
    out << "  failed batches: " << shared.all.failedBatches;
    if (shared.all.failedBatches > 0 && !shared.all.firstFailure.isEmpty())
        out << " (first: " << shared.all.firstFailure << ')';
    out << "\n  server connections to the hospital, at most: " << connections << '\n';
    QJsonObject result{{QStringLiteral("workstations"), settings.workstations},
                       {QStringLiteral("posting_workstations"), settings.posting},
                       {QStringLiteral("seconds"), seconds},
                       {QStringLiteral("posting"), summaryJson(shared.all.posting)},
                       {QStringLiteral("checks"), checks},
                       {QStringLiteral("every_check"), summaryJson(allChecks)},
                       {QStringLiteral("failed_batches"), shared.all.failedBatches},
                       {QStringLiteral("server_connections_max"), connections}};
    if (const auto ticks = server.ticks()) {
        const double cpu = double(*ticks) / double(sysconf(_SC_CLK_TCK)) / seconds * 100.0;
        out << "  server processor time: " << QString::number(cpu, 'f', 0)
            << "% of one core (" << QThread::idealThreadCount() << " cores)\n";
        result.insert(QStringLiteral("server_cpu_percent_of_one_core"), cpu);
    }
    out << Qt::flush;
    return result;
}

} // namespace kestrel::bench
