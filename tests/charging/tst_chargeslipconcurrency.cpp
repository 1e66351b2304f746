// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Two workstations posting charge batches at the same time on one hospital database: on
// PostgreSQL two connections in two threads, on the embedded SQLite file two processes (this
// program started again with --post-batches FILE WORKSTATION STATION COUNT UNTIL-OUT). Afterwards
// every charge slip number is used once and every line of every batch is there, with its stock
// movement; where stock is counted, the last units of a medicine are posted once.
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

const QString kKetorolac = u"KETOROLAC 30 MG/ML AMPULE"_s;

/// The charge slips one workstation posted, and why it stopped early.
struct Posted
{
    QStringList slips;
    QString failure;
};

/// Posts up to `count` batches of two lines, a service and a medicine, on `db` as one
/// workstation of `station` would, one after the other. With `untilOutOfStock` the medicine
/// running out ends the posting as the hospital wants it ended.
Posted postBatches(Database &db, const QString &station, int count, bool untilOutOfStock)
{
    QStringList slips;
    test::PostingFixture p(db);
    p.f.session.StationID = station;
    if (!p.selectOpenStay())
        return {{}, u"no open stay"_s};
    const QList<PostingLine> lines{
        test::chargeLine(u"OE"_s, u"OE2001"_s, u"ELECTROCAUTERY MACHINE"_s, u"1"_s, u"1500"_s),
        test::chargeLine(u"PH"_s, u"PH1002"_s, kKetorolac, u"1"_s, u"95"_s)};
    for (int i = 0; i < count; ++i) {
        p.confirmAndSign();
        const PostingOutcome outcome = p.posting.save(lines, u"OR"_s);
        if (!outcome.saved()) {
            const QString told = p.f.notifier.lastText();
            const bool ranOut = untilOutOfStock && told == noStockLeftText(kKetorolac, false);
            return {slips, ranOut ? QString() : told};
        }
        slips << outcome.chargeSlip;
    }
    return {slips, {}};
}

Posted postOnOwnConnection(ConnectionSettings settings, int workstation, const QString &station,
                           int count, bool untilOutOfStock)
{
    settings.workstation = u"OR-WS-0%1"_s.arg(workstation);
    auto db = Database::open(settings);
    if (!db)
        return {{}, db.error().message};
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    return postBatches(**db, station, count, untilOutOfStock);
}

/// Two workstations posting at once, of the stations given.
QList<Posted> race(QObject *parent, const ConnectionSettings &shared, const QStringList &stations,
                   int count, bool untilOutOfStock)
{
    QList<Posted> workstations(2);
    if (test::backendOfRow() == Backend::Postgres) {
        // Two connections of their own, one per thread, as two workstations have.
        std::vector<std::thread> threads;
        for (int w = 0; w < 2; ++w)
            threads.emplace_back([&, w] {
                workstations[w] =
                    postOnOwnConnection(shared, w + 1, stations.at(w), count, untilOutOfStock);
            });
        for (std::thread &t : threads)
            t.join();
        return workstations;
    }
    // Two processes on the one embedded file.
    QList<QProcess *> processes;
    for (int w = 0; w < 2; ++w) {
        processes << new QProcess(parent);
        processes.last()->start(QCoreApplication::applicationFilePath(),
                                {u"--post-batches"_s, shared.sqliteFile, QString::number(w + 1),
                                 stations.at(w), QString::number(count),
                                 QString::number(int(untilOutOfStock))});
    }
    for (int w = 0; w < 2; ++w) {
        QProcess *process = processes.at(w);
        const bool finished = process->waitForFinished(240000);
        workstations[w].slips = QString::fromUtf8(process->readAllStandardOutput())
                                    .split(u'\n', Qt::SkipEmptyParts);
        if (!finished || process->exitStatus() != QProcess::NormalExit || process->exitCode() != 0)
            workstations[w].failure = u"workstation %1: "_s.arg(w + 1) +
                                      QString::fromUtf8(process->readAllStandardError());
    }
    return workstations;
}

qint64 number(Database &db, const QString &sql)
{
    auto v = db.scalar(sql);
    return v ? v->toLongLong() : -1;
}

const QString kOnHandSql = u"select OnHand from INVENTORY..tbInvent where ItemID = 'PH1002' "
                           u"and LocationID = 'PHA'"_s;
const QString kIssued = u" inner join STATION..tbORChargeSlipIssued I on I.ChargeSlip = "_s;

} // namespace

class tst_ChargeSlipConcurrency : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void twoWorkstationsNeverShareANumber();
    void theLastUnitsArePostedOnce();
};

void tst_ChargeSlipConcurrency::twoWorkstationsNeverShareANumber()
{
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    Database &db = (*created)->db();
    const QString counterSql = u"select ChargeSlip from STATION..tbORChargeSlip where "
                               u"StationID = 'OR'"_s;
    const qint64 stockBefore = number(db, kOnHandSql);
    const qint64 counterBefore = number(db, counterSql);

    const QList<Posted> workstations =
        race(this, (*created)->settings(), {u"OR"_s, u"OR"_s}, kBatches, false);
    QSet<QString> slips;
    for (const Posted &w : workstations) {
        QVERIFY2(w.failure.isEmpty(), qPrintable(w.failure));
        QCOMPARE(w.slips.size(), kBatches);
        slips.unite(QSet<QString>(w.slips.cbegin(), w.slips.cend()));
    }
    // No number twice, and every batch whole in the logbook and on the stock card.
    QCOMPARE(slips.size(), 2 * kBatches);
    QCOMPARE(number(db, u"select count(*) from STATION..tbORChargeSlipIssued"_s), 2 * kBatches);
    QCOMPARE(number(db, u"select count(*) from (select L.ReferenceNum from "
                        u"STATION..tbNurseLogBook L%1L.ReferenceNum group by L.ReferenceNum "
                        u"having count(*) = 2) X"_s.arg(kIssued)),
             2 * kBatches);
    QCOMPARE(
        number(db, u"select count(*) from INVENTORY..tbInvStockCard S%1S.RefNum"_s.arg(kIssued)),
        2 * kBatches);
    QCOMPARE(number(db, kOnHandSql), stockBefore - 2 * kBatches);
    QVERIFY(number(db, counterSql) >= counterBefore + 2 * kBatches);
}

void tst_ChargeSlipConcurrency::theLastUnitsArePostedOnce()
{
    constexpr int kUnits = 40;
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    Database &db = (*created)->db();
    // Stock is counted. The OR and the delivery room draw from counters of their own, far
    // apart, so only the medicine's stock is shared between the two workstations.
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) "
                    u"values ('ORAllowZeroOnHand', '1')"));
    QVERIFY(db.exec(u"update STATION..tbORChargeSlip set ChargeSlip = 900000 "
                    u"where StationID = 'DR'"));
    QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = :units where ItemID = 'PH1002' "
                    u"and LocationID = 'PHA'",
                    {{u"units"_s, kUnits}}));

    // Each tries to post every unit; between them they post each unit once.
    const QList<Posted> workstations =
        race(this, (*created)->settings(), {u"OR"_s, u"DR"_s}, kUnits, true);
    qsizetype posted = 0;
    for (const Posted &w : workstations) {
        QVERIFY2(w.failure.isEmpty(), qPrintable(w.failure));
        posted += w.slips.size();
    }
    QCOMPARE(posted, kUnits);
    QCOMPARE(number(db, kOnHandSql), 0);
    QCOMPARE(number(db, u"select count(*) from INVENTORY..tbInvStockCard S%1S.RefNum where "
                        u"S.ItemID = 'PH1002'"_s.arg(kIssued)),
             kUnits);
    // A refused batch left nothing behind.
    QCOMPARE(number(db, u"select count(*) from STATION..tbNurseLogBook L%1L.ReferenceNum"_s.arg(
                            kIssued)),
             2 * kUnits);
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // A workstation's process: posts on the embedded file, printing each slip.
    if (args.size() == 7 && args.at(1) == u"--post-batches") {
        ConnectionSettings settings;
        settings.sqliteFile = args.at(2);
        const Posted posted = postOnOwnConnection(settings, args.at(3).toInt(), args.at(4),
                                                  args.at(5).toInt(), args.at(6) == u"1");
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
