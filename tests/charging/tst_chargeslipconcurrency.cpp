// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Two workstations posting charge batches at the same time on one hospital database: on
// PostgreSQL two connections in two threads, on the embedded SQLite file two processes (this
// program started again with --post-batches FILE COUNT WORKSTATION). Afterwards every charge
// slip number is used once and every line of every batch is there, with its stock movement.
#include "charging/PostingFixture.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "shell/db/Database.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <thread>
#include <vector>

using namespace kestrel;

namespace {

constexpr int kBatches = 200;
constexpr int kLinesPerBatch = 2;

QList<PostingLine> batchLines()
{
    PostingLine medicine = test::chargeLine(QStringLiteral("PH"), QStringLiteral("PH1002"),
                                            QStringLiteral("KETOROLAC 30 MG/ML AMPULE"),
                                            QStringLiteral("1"), QStringLiteral("95"));
    return {test::chargeLine(QStringLiteral("OE"), QStringLiteral("OE2001"),
                             QStringLiteral("ELECTROCAUTERY MACHINE"), QStringLiteral("1"),
                             QStringLiteral("1500")),
            medicine};
}

/// What one workstation posted: the charge slips of its batches, and why it stopped early.
struct Posted
{
    QStringList slips;
    QString failure;
};

/// Posts `count` batches on `db` as one workstation would, one after the other.
Posted postBatches(Database &db, int count)
{
    Posted posted;
    test::PostingFixture p(db);
    if (!p.selectOpenStay()) {
        posted.failure = QStringLiteral("no open stay");
        return posted;
    }
    const QList<PostingLine> lines = batchLines();
    for (int i = 0; i < count; ++i) {
        p.confirmAndSign();
        const PostingOutcome outcome = p.posting.save(lines, QStringLiteral("OR"));
        if (!outcome.saved()) {
            posted.failure = p.f.notifier.lastText();
            return posted;
        }
        posted.slips << outcome.chargeSlip;
    }
    return posted;
}

/// The second process: posts on the embedded hospital file and prints each charge slip.
int postBatchesProcess(const QString &file, int count, const QString &workstation)
{
    ConnectionSettings settings;
    settings.sqliteFile = file;
    settings.workstation = workstation;
    auto db = Database::open(settings);
    if (!db) {
        qCritical("%s", qPrintable(db.error().message));
        return 2;
    }
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    const Posted posted = postBatches(**db, count);
    QTextStream out(stdout);
    for (const QString &slip : posted.slips)
        out << slip << '\n';
    if (!posted.failure.isEmpty()) {
        qCritical("%s", qPrintable(posted.failure));
        return 1;
    }
    return 0;
}

qint64 number(Database &db, const QString &sql)
{
    auto v = db.scalar(sql);
    return v ? v->toLongLong() : -1;
}

} // namespace

class tst_ChargeSlipConcurrency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void twoWorkstationsNeverShareANumber();
};

void tst_ChargeSlipConcurrency::twoWorkstationsNeverShareANumber()
{
    const Backend backend = test::backendOfRow();
    auto created = test::TestDatabase::create(backend);
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    Database &db = (*created)->db();
    const QString onHandSql = QStringLiteral(
        "select OnHand from INVENTORY..tbInvent where ItemID = 'PH1002' and LocationID = 'PHA'");
    const qint64 stockBefore = number(db, onHandSql);
    const qint64 counterBefore = number(
        db, QStringLiteral("select ChargeSlip from STATION..tbORChargeSlip where StationID = 'OR'"));

    QList<Posted> workstations(2);
    if (backend == Backend::Postgres) {
        // Two connections of their own, one per thread, as two workstations have.
        const ConnectionSettings shared = (*created)->settings();
        std::vector<std::thread> threads;
        for (int w = 0; w < 2; ++w) {
            threads.emplace_back([&workstations, shared, w] {
                ConnectionSettings mine = shared;
                mine.workstation = QStringLiteral("OR-WS-0%1").arg(w + 1);
                auto connection = Database::open(mine);
                if (!connection) {
                    workstations[w].failure = connection.error().message;
                    return;
                }
                (*connection)->setProcedures(hospitaldb::hospitalProcedures());
                workstations[w] = postBatches(**connection, kBatches);
            });
        }
        for (std::thread &t : threads)
            t.join();
    } else {
        // Two processes on the one embedded file.
        QList<QProcess *> processes;
        for (int w = 0; w < 2; ++w) {
            auto *process = new QProcess(this);
            process->start(QCoreApplication::applicationFilePath(),
                           {QStringLiteral("--post-batches"), (*created)->settings().sqliteFile,
                            QString::number(kBatches), QStringLiteral("OR-WS-0%1").arg(w + 1)});
            processes << process;
        }
        for (int w = 0; w < 2; ++w) {
            QProcess *process = processes.at(w);
            QVERIFY2(process->waitForFinished(240000), "a workstation did not finish");
            workstations[w].slips = QString::fromUtf8(process->readAllStandardOutput())
                                        .split(u'\n', Qt::SkipEmptyParts);
            if (process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
                workstations[w].failure = QString::fromUtf8(process->readAllStandardError());
        }
    }

    QSet<QString> slips;
    for (const Posted &w : std::as_const(workstations)) {
        QVERIFY2(w.failure.isEmpty(), qPrintable(w.failure));
        QCOMPARE(w.slips.size(), kBatches);
        for (const QString &slip : w.slips)
            slips.insert(slip);
    }
    // No number twice, and every batch whole in the logbook and on the stock card.
    QCOMPARE(slips.size(), 2 * kBatches);
    QCOMPARE(number(db, QStringLiteral("select count(*) from STATION..tbORChargeSlipIssued")),
             qint64(2 * kBatches));
    QCOMPARE(number(db, QStringLiteral("select count(*) from STATION..tbNurseLogBook L "
                                       "inner join STATION..tbORChargeSlipIssued I "
                                       "on I.ChargeSlip = L.ReferenceNum")),
             qint64(2 * kBatches * kLinesPerBatch));
    QCOMPARE(number(db, QStringLiteral("select count(*) from (select L.ReferenceNum "
                                       "from STATION..tbNurseLogBook L inner join "
                                       "STATION..tbORChargeSlipIssued I on I.ChargeSlip = "
                                       "L.ReferenceNum group by L.ReferenceNum having "
                                       "count(*) <> 2) X")),
             qint64(0));
    QCOMPARE(number(db, QStringLiteral("select count(*) from INVENTORY..tbInvStockCard S "
                                       "inner join STATION..tbORChargeSlipIssued I "
                                       "on I.ChargeSlip = S.RefNum")),
             qint64(2 * kBatches));
    QCOMPARE(number(db, onHandSql), stockBefore - 2 * kBatches);
    QVERIFY(number(db, QStringLiteral("select ChargeSlip from STATION..tbORChargeSlip "
                                      "where StationID = 'OR'")) >=
            counterBefore + 2 * kBatches);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args.at(1) == u"--post-batches")
        return postBatchesProcess(args.at(2), args.at(3).toInt(), args.at(4));
    tst_ChargeSlipConcurrency test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chargeslipconcurrency.moc"
