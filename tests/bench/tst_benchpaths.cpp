// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The benchmark's paths on the demo hospital, on every backend: the program's side and the
// bare SQL do the same work, posting leaves the hospital as it found it, and the income
// report's period holds the lines it was chosen for.
#include "BenchHospital.h"
#include "BenchPaths.h"

#include "support/TestDatabase.h"

#include <QTemporaryDir>
#include <QTest>

using namespace kestrel;
using namespace kestrel::bench;

namespace {

BenchOptions demoOptions()
{
    BenchOptions o;
    o.demo = true;
    return o;
}

qint64 number(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

// The OR's lines that the income report counts from `from` to `to`, both days whole.
qint64 orLines(Database &db, const QDate &from, const QDate &to)
{
    return number(db,
                  QStringLiteral("select count(*) from STATION..tbNurseLogBook where StationID = "
                                 "'OR' and RecordStatus <> 'R' and TransDate >= :from and "
                                 "TransDate < :to"),
                  {{QStringLiteral("from"), from.startOfDay()},
                   {QStringLiteral("to"), to.addDays(1).startOfDay()}});
}

// What posting writes, summed: a batch that was removed again leaves these as they were.
QList<qint64> postingTraces(Database &db)
{
    return {number(db, QStringLiteral("select count(*) from STATION..tbNurseLogBook")),
            number(db, QStringLiteral("select count(*) from INVENTORY..tbInvStockCard")),
            number(db, QStringLiteral("select count(*) from STATION..tbORChargeSlipIssued")),
            number(db, QStringLiteral("select count(*) from STATION..tbORChargePrint")),
            number(db, QStringLiteral("select cast(sum(OnHand) as integer) from "
                                      "INVENTORY..tbInvent"))};
}

// The path's name and the reason a step of it failed.
template <typename T> QByteArray why(const BenchPath &path, const Result<T> &result)
{
    return QString(path.name + u": " + (result ? QString() : result.error().message)).toUtf8();
}

} // namespace

class tst_BenchPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void programAndBareAgree();
    void postingLeavesNoTrace();
    void reportPeriod_data();
    void reportPeriod();
    void reportQueriesReadThePeriod();
};

void tst_BenchPaths::programAndBareAgree()
{
    KESTREL_OPEN_DEMO(db);
    auto marks = landmarks(db, demoOptions());
    QVERIFY2(marks.has_value(), qPrintable(marks ? QString() : marks.error().message));
    BenchSession s(db);
    QList<BenchPath> paths = patientPaths(s, *marks);
    auto charging = chargingPaths(s, *marks);
    QVERIFY2(charging.has_value(), qPrintable(charging ? QString() : charging.error().message));
    paths << *charging;
    QCOMPARE(paths.size(), 7);

    for (const BenchPath &path : std::as_const(paths)) {
        if (path.prepare) {
            auto ready = path.prepare();
            QVERIFY2(ready.has_value(), why(path, ready).constData());
        }
        auto programRows = path.runProgram();
        QVERIFY2(programRows.has_value(), why(path, programRows).constData());
        const QStringList boxes = s.notifier.takeBoxes();
        QVERIFY2(boxes.isEmpty(),
                 QString(path.name + u": " + boxes.join(u" / ")).toUtf8().constData());
        QVERIFY2(*programRows > 0, qPrintable(path.name));
        if (path.afterRun)
            QVERIFY(path.afterRun().has_value());
        auto bareRows = path.runBare();
        QVERIFY2(bareRows.has_value(), why(path, bareRows).constData());
        if (path.afterRun)
            QVERIFY(path.afterRun().has_value());
        if (path.sameRows)
            QVERIFY2(*programRows == *bareRows,
                     qPrintable(QStringLiteral("%1: the program read %2 rows, the bare SQL %3")
                                    .arg(path.name)
                                    .arg(*programRows)
                                    .arg(*bareRows)));
    }
}

void tst_BenchPaths::postingLeavesNoTrace()
{
    KESTREL_OPEN_DEMO(db);
    auto marks = landmarks(db, demoOptions());
    QVERIFY(marks.has_value());
    BenchSession s(db);
    auto charging = chargingPaths(s, *marks);
    QVERIFY(charging.has_value());
    const BenchPath &post = charging->at(1);
    QVERIFY(post.afterRun);
    QVERIFY(post.prepare().has_value());
    const QList<qint64> before = postingTraces(db);
    const qint64 slipsBefore =
        number(db, QStringLiteral("select ChargeSlip from STATION..tbORChargeSlip "
                                  "where StationID = 'OR'"));

    for (int i = 0; i < 2; ++i) {
        auto posted = post.runProgram();
        QVERIFY2(posted.has_value(), qPrintable(posted ? QString() : posted.error().message));
        QCOMPARE(*posted, qint64(20));
        // The batch is there until it is removed.
        QCOMPARE(postingTraces(db).at(0), before.at(0) + 20);
        QVERIFY(post.afterRun().has_value());
        QCOMPARE(postingTraces(db), before);

        auto bare = post.runBare();
        QVERIFY2(bare.has_value(), qPrintable(bare ? QString() : bare.error().message));
        QCOMPARE(postingTraces(db).at(0), before.at(0) + 20);
        QVERIFY(post.afterRun().has_value());
        QCOMPARE(postingTraces(db), before);
    }
    // Each batch drew its own charge slip number.
    QCOMPARE(number(db, QStringLiteral("select ChargeSlip from STATION..tbORChargeSlip "
                                       "where StationID = 'OR'")),
             slipsBefore + 4);
}

void tst_BenchPaths::reportPeriod_data()
{
    QTest::addColumn<qint64>("wanted");
    QTest::newRow("a few lines") << qint64(5);
    QTest::newRow("some days' lines") << qint64(60);
    QTest::newRow("more than the hospital has") << qint64(1'000'000);
}

void tst_BenchPaths::reportPeriod()
{
    QFETCH(qint64, wanted);
    KESTREL_OPEN_DEMO(db);
    auto choice = chooseReportPeriod(db, wanted);
    QVERIFY2(choice.has_value(), qPrintable(choice ? QString() : choice.error().message));
    auto latest = db.scalar(u"select max(TransDate) from STATION..tbNurseLogBook "
                            u"where StationID = 'OR' and RecordStatus <> 'R'");
    QVERIFY(latest.has_value());
    QCOMPARE(choice->to, dateTimeFromVariant(*latest).date());
    QVERIFY(choice->from <= choice->to);
    QCOMPARE(choice->lines, orLines(db, choice->from, choice->to));
    QVERIFY(choice->lines > 0);
    // No day more or fewer comes closer to what was wanted, within the year looked at.
    const qint64 off = std::abs(choice->lines - wanted);
    if (choice->from.daysTo(choice->to) < 365)
        QVERIFY(off <= std::abs(orLines(db, choice->from.addDays(-1), choice->to) - wanted));
    if (choice->from < choice->to) {
        const qint64 fewer = orLines(db, choice->from.addDays(1), choice->to);
        QVERIFY(fewer == 0 || off <= std::abs(fewer - wanted));
    }
}

void tst_BenchPaths::reportQueriesReadThePeriod()
{
    KESTREL_OPEN_DEMO(db);
    BenchSession s(db);
    QTemporaryDir scratch;
    QVERIFY(scratch.isValid());
    auto path = reportPath(s, QStringLiteral(KESTREL_REPORTS_DIR), scratch.path());
    QVERIFY2(path.has_value(), qPrintable(path ? QString() : path.error().message));
    auto choice = chooseReportPeriod(db, 5000);
    QVERIFY(choice.has_value());
    auto rows = path->runBare();
    QVERIFY2(rows.has_value(), qPrintable(rows ? QString() : rows.error().message));
    // The lines of the period, and the one row that switches the amounts on.
    QCOMPARE(*rows, choice->lines + (s.session.hospital.IsShowAmount ? 1 : 0));
}

QTEST_GUILESS_MAIN(tst_BenchPaths)
#include "tst_benchpaths.moc"
