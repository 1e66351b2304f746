// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// kestrel-bench's own arithmetic and command line (percentiles, the days the income report
// covers, the options), and its paths on the demo hospital, on every backend: the program's
// side and the bare SQL do the same work, posting leaves the hospital as it found it, and the
// income report's period holds the lines it was chosen for.
#include "BenchFigures.h"
#include "BenchHospital.h"
#include "BenchOptions.h"
#include "BenchPaths.h"

#include "scheduling/RoomBooking.h"
#include "support/TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kestrel;
using namespace kestrel::bench;

namespace {

qint64 number(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

/// What posting writes, summed, and the next charge slip number.
QList<qint64> postingTraces(Database &db)
{
    QList<qint64> traces;
    for (const char *sql :
         {"select count(*) from STATION..tbNurseLogBook",
          "select count(*) from INVENTORY..tbInvStockCard",
          "select count(*) from STATION..tbORChargeSlipIssued",
          "select count(*) from STATION..tbORChargePrint",
          "select cast(sum(OnHand) as integer) from INVENTORY..tbInvent",
          "select ChargeSlip from STATION..tbORChargeSlip where StationID = 'OR'"})
        traces << number(db, QString::fromLatin1(sql));
    return traces;
}

#define VERIFY_RESULT(r, what)                                                                     \
    QVERIFY2(r, qPrintable(what + u": " + (r ? QString() : r.error().message)))

} // namespace

class tst_Bench : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void programAndBareAgree();
    void scheduleAndImportPaths();
    void reportPeriodHoldsItsLines_data();
    void reportPeriodHoldsItsLines();

    void percentiles_data();
    void percentiles();
    void summary();
    void reportDays_data();
    void reportDays();
    void options_data();
    void options();
    void helpAndFileNames();
};

void tst_Bench::programAndBareAgree()
{
    KESTREL_OPEN_DEMO(db);
    BenchOptions demo;
    demo.demo = true;
    auto marks = landmarks(db, demo);
    VERIFY_RESULT(marks, QStringLiteral("landmarks"));
    BenchSession s(db);
    QList<BenchPath> paths = patientPaths(s, *marks);
    auto charging = chargingPaths(s, *marks);
    VERIFY_RESULT(charging, QStringLiteral("charging"));
    paths << *charging;
    paths << receivablePaths(s, *marks);
    QCOMPARE(paths.size(), 8);

    for (const BenchPath &path : std::as_const(paths)) {
        if (path.prepare) {
            auto ready = path.prepare();
            VERIFY_RESULT(ready, path.name);
        }
        QList<qint64> before = postingTraces(db);
        qint64 rows[2] = {};
        for (const bool bare : {false, true}) {
            auto read = bare ? path.runBare() : path.runProgram();
            VERIFY_RESULT(read, path.name);
            rows[bare] = *read;
            QVERIFY2(s.notifier.takeBoxes().isEmpty(), qPrintable(path.name));
            if (!path.afterRun)
                continue;
            // A posted batch is there until it is removed; then only the charge slip number
            // it drew stays drawn. (The searches only let their counts finish.)
            const bool posts = path.name.startsWith(u"post ");
            if (posts)
                QCOMPARE(postingTraces(db).at(0), before.at(0) + *read);
            QVERIFY(path.afterRun());
            if (!posts)
                continue;
            ++before.last();
            QCOMPARE(postingTraces(db), before);
        }
        QVERIFY2(rows[0] > 0, qPrintable(path.name));
        if (path.sameRows) // the same rows read by the program and by the bare SQL
            QCOMPARE(path.name + u' ' + QString::number(rows[1]),
                     path.name + u' ' + QString::number(rows[0]));
    }
}

void tst_Bench::scheduleAndImportPaths()
{
    KESTREL_OPEN_DEMO(db);
    BenchOptions demo;
    demo.demo = true;
    auto marks = landmarks(db, demo);
    VERIFY_RESULT(marks, QStringLiteral("landmarks"));
    BenchSession s(db);
    constexpr int kItems = 120;
    QList<BenchPath> paths = schedulePaths(s, *marks);
    paths << importPath(s, kItems);
    QCOMPARE(paths.size(), 3);
    const QString schedules = QStringLiteral("select count(*) from SCHEDULE..tbORScheduleDetails");
    const QString items = QStringLiteral("select count(*) from BUILD_FILE..tbCoOtherRevenue");
    const QList<qint64> before{number(db, schedules), number(db, items)};

    // The busy day shows the busiest room's operations, and the booking checked in it meets
    // some of them, as the bare statements count them too.
    const RoomSlot slot = conflictSlot(*marks);
    auto overlaps = overlappingOperations(db, slot);
    QVERIFY(overlaps && !overlaps->isEmpty());
    auto bare = bareOverlaps(db, slot);
    VERIFY_RESULT(bare, QStringLiteral("overlaps"));
    QCOMPARE(*bare, qint64(overlaps->size()));

    const QList<qint64> programRows{-1, 1, kItems};
    for (qsizetype i = 0; i < paths.size(); ++i) {
        const BenchPath &path = paths.at(i);
        VERIFY_RESULT(path.prepare(), path.name);
        qint64 rows[2] = {};
        for (const bool bareSide : {false, true}) {
            auto read = bareSide ? path.runBare() : path.runProgram();
            VERIFY_RESULT(read, path.name);
            rows[bareSide] = *read;
            QVERIFY2(s.notifier.takeBoxes().isEmpty(), qPrintable(path.name));
            // The import's items are there until they are removed again; nothing else is
            // written.
            const qint64 added = path.afterRun ? *read : 0;
            QCOMPARE(QList<qint64>({number(db, schedules), number(db, items)}),
                     QList<qint64>({before.at(0), before.at(1) + added}));
            if (path.afterRun)
                VERIFY_RESULT(path.afterRun(), path.name);
        }
        QCOMPARE(QList<qint64>({number(db, schedules), number(db, items)}), before);
        if (programRows.at(i) >= 0)
            QCOMPARE(rows[0], programRows.at(i));
        if (path.sameRows)
            QCOMPARE(rows[1], rows[0]);
    }
}

void tst_Bench::reportPeriodHoldsItsLines_data()
{
    QTest::addColumn<qint64>("wanted");
    QTest::newRow("a few lines") << qint64(5);
    QTest::newRow("some days' lines") << qint64(60);
    QTest::newRow("more than the hospital has") << qint64(1'000'000);
}

void tst_Bench::reportPeriodHoldsItsLines()
{
    QFETCH(qint64, wanted);
    KESTREL_OPEN_DEMO(db);
    auto choice = chooseReportPeriod(db, wanted);
    VERIFY_RESULT(choice, QStringLiteral("period"));
    // It ends on the day of the OR's latest charge, and holds the lines it says.
    const QString orLines = QStringLiteral("from STATION..tbNurseLogBook where StationID = 'OR' "
                                           "and RecordStatus <> 'R'");
    auto latest = db.scalar(QString(u"select max(TransDate) " + orLines));
    QVERIFY(latest);
    QCOMPARE(choice->to, dateTimeFromVariant(*latest).date());
    QVERIFY(choice->from <= choice->to && choice->lines > 0);
    QCOMPARE(choice->lines,
             number(db,
                    u"select count(*) " + orLines + u" and TransDate >= :from and TransDate < :to",
                    {{QStringLiteral("from"), choice->from.startOfDay()},
                     {QStringLiteral("to"), choice->to.addDays(1).startOfDay()}}));

    // The report path reads the lines of its period, and the one row that switches the
    // amounts on.
    BenchSession s(db);
    QTemporaryDir scratch;
    auto path = reportPath(s, QStringLiteral(KESTREL_REPORTS_DIR), scratch.path());
    VERIFY_RESULT(path, QStringLiteral("report path"));
    QVERIFY(!path->isEmpty());
    auto rows = path->first().runBare();
    VERIFY_RESULT(rows, path->first().name);
    QCOMPARE(*rows,
             chooseReportPeriod(db, 5000)->lines + (s.session.hospital.IsShowAmount ? 1 : 0));
}

void tst_Bench::percentiles_data()
{
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("expected");
    const QList<double> four{4, 1, 3, 2};
    const QList<double> twenty{20, 3,  17, 1,  8, 12, 5, 19, 2,  14,
                               9,  11, 6,  18, 4, 16, 7, 13, 10, 15};
    QTest::newRow("no samples") << QList<double>{} << 50.0 << 0.0;
    QTest::newRow("one sample") << QList<double>{7} << 95.0 << 7.0;
    QTest::newRow("unsorted, odd count") << QList<double>{5, 1, 3} << 50.0 << 3.0;
    // Nearest rank takes a sample, never the mean of the two in the middle.
    QTest::newRow("even count, p50") << four << 50.0 << 2.0;
    QTest::newRow("even count, p95") << four << 95.0 << 4.0;
    QTest::newRow("p0 is the least") << four << 0.0 << 1.0;
    QTest::newRow("p100 is the most") << four << 100.0 << 4.0;
    QTest::newRow("twenty, p95 is the 19th") << twenty << 95.0 << 19.0;
    QTest::newRow("twenty, p96 rounds the rank up") << twenty << 96.0 << 20.0;
    QTest::newRow("repeated values") << QList<double>{2, 2, 9, 2} << 75.0 << 2.0;
}

void tst_Bench::percentiles()
{
    QFETCH(QList<double>, samples);
    QFETCH(double, p);
    QFETCH(double, expected);
    QCOMPARE(percentile(samples, p), expected);
}

void tst_Bench::summary()
{
    const TimingSummary s = TimingSummary::of({9, 1, 5, 3});
    QCOMPARE(QList<double>({s.min, s.max, s.mean, s.p50, s.p95}), QList<double>({1, 9, 4.5, 3, 9}));
}

void tst_Bench::reportDays_data()
{
    QTest::addColumn<QList<qint64>>("perDay");
    QTest::addColumn<int>("days");
    // About 5000 lines are wanted.
    QTest::newRow("the latest day holds enough") << QList<qint64>{6000, 4000} << 1;
    QTest::newRow("widened until reached") << QList<qint64>{1500, 1500, 2500} << 3;
    QTest::newRow("exactly reached") << QList<qint64>{2500, 2500, 900} << 2;
    QTest::newRow("a day fewer comes closer") << QList<qint64>{4900, 3000} << 1;
    QTest::newRow("a day more comes closer") << QList<qint64>{3000, 2500} << 2;
    QTest::newRow("a tie keeps the day that reaches") << QList<qint64>{2000, 2000, 2000} << 3;
    QTest::newRow("days without lines count") << QList<qint64>{0, 0, 5200} << 3;
    QTest::newRow("never a period of no lines") << QList<qint64>{0, 9000} << 2;
    QTest::newRow("too few lines: every day") << QList<qint64>{100, 0, 200} << 3;
    QTest::newRow("no days: still one") << QList<qint64>{} << 1;
}

void tst_Bench::reportDays()
{
    QFETCH(QList<qint64>, perDay);
    QFETCH(int, days);
    QCOMPARE(kestrel::bench::reportDays(perDay, 5000), days);
}

void tst_Bench::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    // backend|size|generate|runs|out|file|server, or a part of the message when refused
    QTest::addColumn<QString>("options");
    const auto row = [](const char *name, const QStringList &arguments, const char *options) {
        QTest::newRow(name) << arguments << QString(options);
    };
    // Each size keeps a file of its own unless one is named.
    row("no arguments: the defaults", {},
        "sqlite|hospital|0|30|bench/results|bench-data/hospital.sqlite");
    row("small, generated", {"--generate", "--small"},
        "sqlite|small|1|30|bench/results|bench-data/small.sqlite");
    row("server, few runs", {"--pg", "127.0.0.1:54330:kestrel_bench", "--runs", "5"},
        "postgres|hospital|0|5|bench/results|bench-data/hospital.sqlite|"
        "127.0.0.1:54330:kestrel_bench:");
    row("server with user", {"--pg", "db.hospital.lan:5432:or_bench:kestrel"},
        "postgres|hospital|0|30|bench/results|bench-data/hospital.sqlite|"
        "db.hospital.lan:5432:or_bench:kestrel");
    row("file and folder", {"--small", "--sqlite", "/tmp/h.sqlite", "--out", "/tmp/figures"},
        "sqlite|small|0|30|/tmp/figures|/tmp/h.sqlite");
    row("demo", {"--demo", "--generate"}, "sqlite|demo|1|30|bench/results|bench-data/demo.sqlite");
    // Refused, with a part of what the user is told.
    row("no runs", {"--runs", "0"}, "--runs takes a whole number");
    row("runs not a number", {"--runs", "many"}, "not \"many\"");
    row("runs without a value", {"--runs"}, "--runs");
    const char *noServer = "--pg takes host:port:database";
    for (const char *target : {"localhost", "127.0.0.1:5432", "h:5432:db:user:extra", "h:pg:db",
                               "h:70000:db", "h:0:db", ":5432:db", "h:5432:db:",
                               // The database is created and dropped by its name.
                               "h:5432:x'; drop", "h:5432:kestrel-bench", "h:5432:1bench"})
        row(qPrintable(u"server " + QString::fromLatin1(target)), {"--pg", target}, noServer);
    row("both databases", {"--sqlite", "h.sqlite", "--pg", "h:5432:db"}, "not both");
    row("unknown option", {"--fast"}, "fast");
    row("stray argument", {"hospital.sqlite"}, "hospital.sqlite");
    row("empty file", {"--sqlite", " "}, "--sqlite needs");
    row("empty folder", {"--out", ""}, "--out needs");
    row("demo of a size", {"--demo", "--small"}, "one size");
}

void tst_Bench::options()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, options);
    const ParsedArguments parsed = parseBenchArguments(QStringList{"kestrel-bench"} + arguments);
    if (!options.contains(u'|')) {
        QVERIFY(!parsed.options.has_value());
        QVERIFY2(parsed.message.contains(options), qPrintable(parsed.message));
        return;
    }
    QVERIFY2(parsed.options.has_value(), qPrintable(parsed.message));
    const BenchOptions &o = *parsed.options;
    QStringList shown{o.backendName(),         o.sizeName(), QString::number(o.generate),
                      QString::number(o.runs), o.outDir,     o.sqlitePath()};
    if (o.backend == Backend::Postgres)
        shown << QStringList({o.server.host, QString::number(o.server.port), o.server.database,
                              o.server.user})
                     .join(u':');
    QCOMPARE(shown.join(u'|'), options);
}

void tst_Bench::helpAndFileNames()
{
    const ParsedArguments parsed = parseBenchArguments({QStringLiteral("kestrel-bench")});
    QVERIFY2(parsed.options.has_value(), qPrintable(parsed.message));
    BenchOptions o = *parsed.options;
    QVERIFY(!o.small && !o.demo && !o.help);
    // The hidden option stays out of the help.
    QVERIFY(parsed.helpText.contains(u"--generate"));
    QVERIFY(!parsed.helpText.contains(u"--demo"));

    const QDateTime started(QDate(2026, 12, 6), QTime(3, 16, 59));
    QCOMPARE(resultFileName(started, o), QStringLiteral("20261206-0316-sqlite-hospital.json"));
    o.backend = Backend::Postgres;
    o.small = true;
    QCOMPARE(resultFileName(started, o), QStringLiteral("20261206-0316-postgres-small.json"));
}

// The schedule board's path fills the day planner, a widget.
QTEST_MAIN(tst_Bench)
#include "tst_bench.moc"
