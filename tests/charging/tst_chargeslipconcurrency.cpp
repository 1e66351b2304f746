// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Two workstations posting charge batches at the same time on one hospital database: on
// PostgreSQL two connections in two threads, on the embedded SQLite file two processes (this
// program started again with --post-batches FILE COUNT WORKSTATION). Afterwards every charge
// slip number is used once and every line of every batch is there, with its stock movement.
#include "charging/ChargingFixture.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QSet>
#include <QTest>

#include <thread>
#include <vector>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

constexpr int kBatches = 200;

/// What one workstation posted: the charge slips of its batches, and why it stopped early.
struct Posted
{
    QStringList slips;
    QString failure;
};

/// Posts `count` batches of two lines, a service and a medicine, on `db` as one workstation
/// would, one after the other.
Posted postBatches(Database &db, int count)
{
    Posted posted;
    test::PostingFixture p(db);
    if (!p.selectOpenStay())
        return {{}, u"no open stay"_s};
    const QList<PostingLine> lines{
        test::chargeLine(u"OE"_s, u"OE2001"_s, u"ELECTROCAUTERY MACHINE"_s, u"1"_s, u"1500"_s),
        test::chargeLine(u"PH"_s, u"PH1002"_s, u"KETOROLAC 30 MG/ML AMPULE"_s, u"1"_s, u"95"_s)};
    for (int i = 0; i < count; ++i) {
        p.confirmAndSign();
        const PostingOutcome outcome = p.posting.save(lines, u"OR"_s);
        if (!outcome.saved())
            return {posted.slips, p.f.notifier.lastText()};
        posted.slips << outcome.chargeSlip;
    }
    return posted;
}

Posted postOnOwnConnection(ConnectionSettings settings, int workstation)
{
    settings.workstation = u"OR-WS-0%1"_s.arg(workstation);
    auto db = Database::open(settings);
    if (!db)
        return {{}, db.error().message};
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    return postBatches(**db, kBatches);
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
    const ConnectionSettings shared = (*created)->settings();
    const QString onHandSql = u"select OnHand from INVENTORY..tbInvent where ItemID = 'PH1002' "
                              u"and LocationID = 'PHA'"_s;
    const QString counterSql = u"select ChargeSlip from STATION..tbORChargeSlip where "
                               u"StationID = 'OR'"_s;
    const qint64 stockBefore = number(db, onHandSql);
    const qint64 counterBefore = number(db, counterSql);

    QList<Posted> workstations(2);
    if (backend == Backend::Postgres) {
        // Two connections of their own, one per thread, as two workstations have.
        std::vector<std::thread> threads;
        for (int w = 0; w < 2; ++w)
            threads.emplace_back([&, w] { workstations[w] = postOnOwnConnection(shared, w + 1); });
        for (std::thread &t : threads)
            t.join();
    } else {
        // Two processes on the one embedded file.
        QList<QProcess *> processes;
        for (int w = 0; w < 2; ++w) {
            processes << new QProcess(this);
            processes.last()->start(QCoreApplication::applicationFilePath(),
                                    {u"--post-batches"_s, shared.sqliteFile,
                                     QString::number(w + 1)});
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
        slips.unite(QSet<QString>(w.slips.cbegin(), w.slips.cend()));
    }
    // No number twice, and every batch whole in the logbook and on the stock card.
    const QString issued = u" inner join STATION..tbORChargeSlipIssued I on I.ChargeSlip = "_s;
    QCOMPARE(slips.size(), 2 * kBatches);
    QCOMPARE(number(db, u"select count(*) from STATION..tbORChargeSlipIssued"_s), 2 * kBatches);
    QCOMPARE(number(db, u"select count(*) from (select L.ReferenceNum from "
                        u"STATION..tbNurseLogBook L%1L.ReferenceNum group by L.ReferenceNum "
                        u"having count(*) = 2) X"_s.arg(issued)),
             2 * kBatches);
    QCOMPARE(
        number(db, u"select count(*) from INVENTORY..tbInvStockCard S%1S.RefNum"_s.arg(issued)),
             2 * kBatches);
    QCOMPARE(number(db, onHandSql), stockBefore - 2 * kBatches);
    QVERIFY(number(db, counterSql) >= counterBefore + 2 * kBatches);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // The second workstation's process: posts on the embedded file, printing each slip.
    if (args.size() == 4 && args.at(1) == u"--post-batches") {
        ConnectionSettings settings;
        settings.sqliteFile = args.at(2);
        const Posted posted = postOnOwnConnection(settings, args.at(3).toInt());
        QTextStream(stdout) << posted.slips.join(u'\n') << '\n';
        if (!posted.failure.isEmpty())
            qCritical("%s", qPrintable(posted.failure));
        return posted.failure.isEmpty() ? 0 : 1;
    }
    tst_ChargeSlipConcurrency test;
    QTEST_SET_MAIN_SOURCE_PATH
    return QTest::qExec(&test, argc, argv);
}

#include "tst_chargeslipconcurrency.moc"
