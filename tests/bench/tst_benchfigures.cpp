// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The benchmark's own arithmetic and command line: percentiles, the days the income report
// covers, the progress line and the options.
#include "BenchFigures.h"
#include "BenchOptions.h"

#include <QTest>

using namespace kestrel;
using namespace kestrel::bench;

class tst_BenchFigures : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void percentiles_data();
    void percentiles();
    void summary();

    void reportDays_data();
    void reportDays();

    void progressLine_data();
    void progressLine();

    void defaults();
    void serverTargets_data();
    void serverTargets();
    void badServerTargets_data();
    void badServerTargets();
    void options_data();
    void options();
    void badArguments_data();
    void badArguments();
    void resultFileNames();
};

void tst_BenchFigures::percentiles_data()
{
    QTest::addColumn<QList<double>>("samples");
    QTest::addColumn<double>("p");
    QTest::addColumn<double>("expected");
    QTest::newRow("no samples") << QList<double>{} << 50.0 << 0.0;
    QTest::newRow("one sample, p50") << QList<double>{7} << 50.0 << 7.0;
    QTest::newRow("one sample, p95") << QList<double>{7} << 95.0 << 7.0;
    QTest::newRow("unsorted, odd count") << QList<double>{5, 1, 3} << 50.0 << 3.0;
    // Nearest rank takes a sample, never the mean of the two in the middle.
    QTest::newRow("even count, p50") << QList<double>{4, 1, 3, 2} << 50.0 << 2.0;
    QTest::newRow("even count, p95") << QList<double>{4, 1, 3, 2} << 95.0 << 4.0;
    QTest::newRow("p0 is the least") << QList<double>{4, 1, 3, 2} << 0.0 << 1.0;
    QTest::newRow("p100 is the most") << QList<double>{4, 1, 3, 2} << 100.0 << 4.0;
    const QList<double> twenty{20, 3,  17, 1,  8, 12, 5, 19, 2,  14,
                               9,  11, 6,  18, 4, 16, 7, 13, 10, 15};
    QTest::newRow("twenty, p95 is the 19th") << twenty << 95.0 << 19.0;
    QTest::newRow("twenty, p50 is the 10th") << twenty << 50.0 << 10.0;
    QTest::newRow("twenty, p96 rounds the rank up") << twenty << 96.0 << 20.0;
    QTest::newRow("repeated values") << QList<double>{2, 2, 9, 2} << 75.0 << 2.0;
}

void tst_BenchFigures::percentiles()
{
    QFETCH(QList<double>, samples);
    QFETCH(double, p);
    QFETCH(double, expected);
    QCOMPARE(percentile(samples, p), expected);
}

void tst_BenchFigures::summary()
{
    const TimingSummary s = TimingSummary::of({9, 1, 5, 3});
    QCOMPARE(s.min, 1.0);
    QCOMPARE(s.max, 9.0);
    QCOMPARE(s.mean, 4.5);
    QCOMPARE(s.p50, 3.0);
    QCOMPARE(s.p95, 9.0);
}

void tst_BenchFigures::reportDays_data()
{
    QTest::addColumn<QList<qint64>>("perDay");
    QTest::addColumn<qint64>("wanted");
    QTest::addColumn<int>("days");
    QTest::newRow("the latest day holds enough") << QList<qint64>{6000, 4000} << qint64(5000) << 1;
    QTest::newRow("widened until reached") << QList<qint64>{1500, 1500, 2500} << qint64(5000) << 3;
    QTest::newRow("exactly reached") << QList<qint64>{2500, 2500, 900} << qint64(5000) << 2;
    QTest::newRow("a day fewer comes closer") << QList<qint64>{4900, 3000} << qint64(5000) << 1;
    QTest::newRow("a day more comes closer") << QList<qint64>{3000, 2500} << qint64(5000) << 2;
    QTest::newRow("a tie keeps the day that reaches")
        << QList<qint64>{2000, 2000, 2000} << qint64(5000) << 3;
    QTest::newRow("days without lines count") << QList<qint64>{0, 0, 5200} << qint64(5000) << 3;
    QTest::newRow("never a period of no lines") << QList<qint64>{0, 9000} << qint64(5000) << 2;
    QTest::newRow("too few lines: every day") << QList<qint64>{100, 0, 200} << qint64(5000) << 3;
    QTest::newRow("no days: still one") << QList<qint64>{} << qint64(5000) << 1;
}

void tst_BenchFigures::reportDays()
{
    QFETCH(QList<qint64>, perDay);
    QFETCH(qint64, wanted);
    QFETCH(int, days);
    QCOMPARE(kestrel::bench::reportDays(perDay, wanted), days);
}

void tst_BenchFigures::progressLine_data()
{
    QTest::addColumn<qint64>("done");
    QTest::addColumn<qint64>("total");
    QTest::addColumn<qint64>("elapsedMs");
    QTest::addColumn<QString>("expected");
    QTest::newRow("start") << qint64(0) << qint64(200) << qint64(0)
                           << "stays [..........]   0% 0/200 0:00";
    QTest::newRow("half way") << qint64(100) << qint64(200) << qint64(75'000)
                              << "stays [#####.....]  50% 100/200 1:15";
    QTest::newRow("percent rounds down")
        << qint64(199) << qint64(200) << qint64(0) << "stays [##########]  99% 199/200 0:00";
    QTest::newRow("done") << qint64(200) << qint64(200) << qint64(3'599'000)
                          << "stays [##########] 100% 200/200 59:59";
    QTest::newRow("more than the total")
        << qint64(250) << qint64(200) << qint64(0) << "stays [##########] 100% 250/200 0:00";
    QTest::newRow("no total") << qint64(0) << qint64(0) << qint64(0)
                              << "stays [..........]   0% 0/0 0:00";
}

void tst_BenchFigures::progressLine()
{
    QFETCH(qint64, done);
    QFETCH(qint64, total);
    QFETCH(qint64, elapsedMs);
    QFETCH(QString, expected);
    QCOMPARE(kestrel::bench::progressLine(QStringLiteral("stays"), done, total, elapsedMs, 10),
             expected);
}

void tst_BenchFigures::defaults()
{
    const ParsedArguments parsed = parseBenchArguments({QStringLiteral("kestrel-bench")});
    QVERIFY2(parsed.options.has_value(), qPrintable(parsed.message));
    const BenchOptions &o = *parsed.options;
    QCOMPARE(o.backend, Backend::Sqlite);
    QCOMPARE(o.sqlitePath(), QStringLiteral("bench-data/hospital.sqlite"));
    QCOMPARE(o.runs, 30);
    QCOMPARE(o.outDir, QStringLiteral("bench/results"));
    QVERIFY(!o.generate);
    QVERIFY(!o.small);
    QVERIFY(!o.demo);
    QVERIFY(!o.help);
    QCOMPARE(o.sizeName(), QStringLiteral("hospital"));
    QCOMPARE(o.backendName(), QStringLiteral("sqlite"));
    // The hidden option stays out of the help.
    QVERIFY(parsed.helpText.contains(u"--generate"));
    QVERIFY(!parsed.helpText.contains(u"--demo"));
}

void tst_BenchFigures::serverTargets_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("host");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("database");
    QTest::addColumn<QString>("user");
    QTest::newRow("without user") << "127.0.0.1:54330:kestrel_bench"
                                  << "127.0.0.1" << 54330 << "kestrel_bench" << QString();
    QTest::newRow("with user") << "db.hospital.lan:5432:or_bench:kestrel"
                               << "db.hospital.lan" << 5432 << "or_bench"
                               << "kestrel";
}

void tst_BenchFigures::serverTargets()
{
    QFETCH(QString, text);
    const std::optional<ServerTarget> target = parseServerTarget(text);
    QVERIFY(target.has_value());
    QTEST(target->host, "host");
    QTEST(target->port, "port");
    QTEST(target->database, "database");
    QTEST(target->user, "user");
}

void tst_BenchFigures::badServerTargets_data()
{
    QTest::addColumn<QString>("text");
    QTest::newRow("too few parts") << "127.0.0.1:5432";
    QTest::newRow("too many parts") << "h:5432:db:user:extra";
    QTest::newRow("port not a number") << "h:pg:db";
    QTest::newRow("port out of range") << "h:70000:db";
    QTest::newRow("port zero") << "h:0:db";
    QTest::newRow("no host") << ":5432:db";
    QTest::newRow("empty user") << "h:5432:db:";
    // The database is created and dropped by its name.
    QTest::newRow("name with a quote") << "h:5432:x'; drop";
    QTest::newRow("name with a dash") << "h:5432:kestrel-bench";
    QTest::newRow("name beginning with a digit") << "h:5432:1bench";
}

void tst_BenchFigures::badServerTargets()
{
    QFETCH(QString, text);
    QVERIFY(!parseServerTarget(text).has_value());
}

void tst_BenchFigures::options_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("backend");
    QTest::addColumn<QString>("size");
    QTest::addColumn<bool>("generate");
    QTest::addColumn<int>("runs");
    QTest::addColumn<QString>("outDir");
    QTest::addColumn<QString>("file");
    // Each size keeps a file of its own unless one is named.
    QTest::newRow("small, generated") << QStringList{"--generate", "--small"} << "sqlite"
                                      << "small" << true << 30 << "bench/results"
                                      << "bench-data/small.sqlite";
    QTest::newRow("server, few runs")
        << QStringList{"--pg", "127.0.0.1:54330:kestrel_bench", "--runs", "5"} << "postgres"
        << "hospital" << false << 5 << "bench/results"
        << "bench-data/hospital.sqlite";
    QTest::newRow("file and folder")
        << QStringList{"--small", "--sqlite", "/tmp/h.sqlite", "--out", "/tmp/figures"} << "sqlite"
        << "small" << false << 30 << "/tmp/figures"
        << "/tmp/h.sqlite";
    QTest::newRow("demo") << QStringList{"--demo", "--generate"} << "sqlite"
                          << "demo" << true << 30 << "bench/results"
                          << "bench-data/demo.sqlite";
}

void tst_BenchFigures::options()
{
    QFETCH(QStringList, arguments);
    arguments.prepend(QStringLiteral("kestrel-bench"));
    const ParsedArguments parsed = parseBenchArguments(arguments);
    QVERIFY2(parsed.options.has_value(), qPrintable(parsed.message));
    const BenchOptions &o = *parsed.options;
    QTEST(o.backendName(), "backend");
    QTEST(o.sizeName(), "size");
    QTEST(o.generate, "generate");
    QTEST(o.runs, "runs");
    QTEST(o.outDir, "outDir");
    QTEST(o.sqlitePath(), "file");
}

void tst_BenchFigures::badArguments_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("message"); // a part of what the user is told
    QTest::newRow("no runs") << QStringList{"--runs", "0"} << "--runs takes a whole number";
    QTest::newRow("negative runs") << QStringList{"--runs", "-3"} << "not \"-3\"";
    QTest::newRow("runs not a number") << QStringList{"--runs", "many"} << "not \"many\"";
    QTest::newRow("runs without a value") << QStringList{"--runs"} << "--runs";
    QTest::newRow("server not understood")
        << QStringList{"--pg", "localhost"} << "--pg takes host:port:database";
    QTest::newRow("both databases")
        << QStringList{"--sqlite", "h.sqlite", "--pg", "h:5432:db"} << "not both";
    QTest::newRow("unknown option") << QStringList{"--fast"} << "fast";
    QTest::newRow("stray argument") << QStringList{"hospital.sqlite"} << "hospital.sqlite";
    QTest::newRow("empty file") << QStringList{"--sqlite", " "} << "--sqlite needs";
    QTest::newRow("empty folder") << QStringList{"--out", ""} << "--out needs";
    QTest::newRow("demo of a size") << QStringList{"--demo", "--small"} << "one size";
}

void tst_BenchFigures::badArguments()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, message);
    arguments.prepend(QStringLiteral("kestrel-bench"));
    const ParsedArguments parsed = parseBenchArguments(arguments);
    QVERIFY(!parsed.options.has_value());
    QVERIFY2(parsed.message.contains(message), qPrintable(parsed.message));
}

void tst_BenchFigures::resultFileNames()
{
    BenchOptions o;
    const QDateTime started(QDate(2026, 12, 6), QTime(3, 16, 59));
    QCOMPARE(resultFileName(started, o), QStringLiteral("20261206-0316-sqlite-hospital.json"));
    o.backend = Backend::Postgres;
    o.small = true;
    QCOMPARE(resultFileName(started, o), QStringLiteral("20261206-0316-postgres-small.json"));
}

QTEST_GUILESS_MAIN(tst_BenchFigures)
#include "tst_benchfigures.moc"
