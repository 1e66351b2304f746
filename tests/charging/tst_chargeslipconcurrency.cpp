// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Two workstations posting charge batches at the same time on one hospital database: on
// PostgreSQL two connections in two threads, on the embedded SQLite file two processes (this
// program started again with --post-batches FILE WORKSTATION STATION COUNT UNTIL-OUT). Both
// start together and their batches must interleave. Afterwards every charge slip number is used
// once, the slips the workstations were told are the slips stored, and each holds its lines and
// its stock movement; where stock is counted, the last units of a medicine are posted once.
// A workstation waiting for a lock another holds is told and can try again, and a batch whose
// commit goes unanswered is posted once.
#include "charging/ChargingFixture.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/Schema.h"
#include "support/CuttingProxy.h"
#include "support/PrivateServer.h"
#include "support/TestDatabase.h"

#include <QCoreApplication>
#include <QProcess>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QThread>
#include <QSet>
#include <QTest>

#include <algorithm>
#include <functional>
#include <latch>
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

const QList<PostingLine> &batchLines()
{
    static const QList<PostingLine> lines{
        test::chargeLine(u"OE"_s, u"OE2001"_s, u"ELECTROCAUTERY MACHINE"_s, u"1"_s, u"1500"_s),
        test::chargeLine(u"PH"_s, u"PH1002"_s, kKetorolac, u"1"_s, u"95"_s)};
    return lines;
}

/// Posts up to `count` batches of two lines, a service and a medicine, on `db` as one
/// workstation of `station` would, one after the other, once `ready` (called when the
/// workstation is set up) returns. With `untilOutOfStock` the medicine running out ends the
/// posting as the hospital wants it ended.
Posted postBatches(Database &db, const QString &station, int count, bool untilOutOfStock,
                   const std::function<void()> &ready)
{
    QStringList slips;
    test::PostingFixture p(db);
    p.f.session.StationID = station;
    if (!p.selectOpenStay())
        return {{}, u"no open stay"_s};
    const QList<PostingLine> &lines = batchLines();
    ready();
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
                           int count, bool untilOutOfStock, const std::function<void()> &ready)
{
    settings.workstation = u"OR-WS-0%1"_s.arg(workstation);
    auto db = Database::open(settings);
    if (!db) {
        ready();
        return {{}, db.error().message};
    }
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    return postBatches(**db, station, count, untilOutOfStock, ready);
}

/// Two workstations posting at once, of the stations given.
QList<Posted> race(QObject *parent, const ConnectionSettings &shared, const QStringList &stations,
                   int count, bool untilOutOfStock)
{
    QList<Posted> workstations(2);
    if (test::backendOfRow() == Backend::Postgres) {
        // Two connections of their own, one per thread, as two workstations have; both start
        // posting when both are set up.
        std::latch start(2);
        std::vector<std::thread> threads;
        for (int w = 0; w < 2; ++w)
            threads.emplace_back([&, w] {
                workstations[w] = postOnOwnConnection(shared, w + 1, stations.at(w), count,
                                                      untilOutOfStock,
                                                      [&start] { start.arrive_and_wait(); });
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
    // Each says when it is set up; both are then told to start at once.
    for (QProcess *process : std::as_const(processes)) {
        while (!process->canReadLine() && process->waitForReadyRead(60000)) {
        }
        (void)process->readLine();
    }
    for (QProcess *process : std::as_const(processes)) {
        process->write("go\n");
        process->waitForBytesWritten(10000);
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

/// What the stored batches hold, by charge slip: their items in the logbook or on the stock
/// card, sorted; and the workstation of each slip in the order the numbers were drawn.
struct Stored
{
    QHash<QString, QStringList> logbook;
    QHash<QString, QStringList> stockCard;
    QStringList hostsInOrder;
};

Stored stored(Database &db)
{
    Stored out;
    const QString issued = u" inner join STATION..tbORChargeSlipIssued I on I.ChargeSlip = "_s;
    for (const auto &[sql, into] :
         {std::pair{QString(u"select L.ReferenceNum as Slip, L.ItemID from "
                            u"STATION..tbNurseLogBook L"_s +
                            issued + u"L.ReferenceNum"_s),
                    &out.logbook},
          std::pair{QString(u"select S.RefNum as Slip, S.ItemID from "
                            u"INVENTORY..tbInvStockCard S"_s +
                            issued + u"S.RefNum"_s),
                    &out.stockCard}}) {
        const RowSet rows = db.select(sql).value_or(RowSet());
        for (int i = 0; i < rows.count(); ++i)
            (*into)[rows.at(i).text(u"Slip")] << rows.at(i).text(u"ItemID");
    }
    for (QStringList &items : out.logbook)
        items.sort();
    const RowSet slips =
        db.select(u"select ChargeSlip, HostName from STATION..tbORChargeSlipIssued"_s)
            .value_or(RowSet());
    QList<std::pair<qint64, QString>> drawn;
    static const QRegularExpression digits(u"[0-9]+"_s);
    for (int i = 0; i < slips.count(); ++i)
        drawn.append({digits.match(slips.at(i).text(u"ChargeSlip")).captured().toLongLong(),
                      slips.at(i).text(u"HostName")});
    std::sort(drawn.begin(), drawn.end());
    for (const auto &[n, host] : drawn)
        out.hostsInOrder << host;
    return out;
}

/// How often the next number went to the other workstation.
int switches(const QStringList &hostsInOrder)
{
    int n = 0;
    for (qsizetype i = 1; i < hostsInOrder.size(); ++i)
        n += hostsInOrder.at(i) != hostsInOrder.at(i - 1);
    return n;
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
    void aHeldCounterIsToldAndTriedAgain_data();
    void aHeldCounterIsToldAndTriedAgain();
    void aBatchCutAtItsCommitIsPostedOnce_data();
    void aBatchCutAtItsCommitIsPostedOnce();
    void aServerRestartIsSurvived();
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

    const QString logbookSql = u"select count(*) from STATION..tbNurseLogBook"_s;
    const QString stockCardSql = u"select count(*) from INVENTORY..tbInvStockCard"_s;
    const qint64 logbookBefore = number(db, logbookSql);
    const qint64 stockCardBefore = number(db, stockCardSql);

    const QList<Posted> workstations =
        race(this, (*created)->settings(), {u"OR"_s, u"OR"_s}, kBatches, false);
    QSet<QString> slips;
    for (const Posted &w : workstations) {
        QVERIFY2(w.failure.isEmpty(), qPrintable(w.failure));
        QCOMPARE(w.slips.size(), kBatches);
        slips.unite(QSet<QString>(w.slips.cbegin(), w.slips.cend()));
    }
    // No number twice, and the slips the workstations were told are the slips stored.
    QCOMPARE(slips.size(), 2 * kBatches);
    const Stored after = stored(db);
    QCOMPARE(after.hostsInOrder.size(), 2 * kBatches);
    const QList<QString> keys = after.logbook.keys();
    QCOMPARE(QSet<QString>(keys.cbegin(), keys.cend()), slips);
    // The two really raced: the numbers went back and forth between them, not in two runs.
    const int turns = switches(after.hostsInOrder);
    qInfo("the next number went to the other workstation %d times in %d batches", turns,
          2 * kBatches);
    QVERIFY2(turns >= kBatches / 10, qPrintable(u"only %1 switches"_s.arg(turns)));
    // Each slip holds its batch: the service and the medicine in the logbook, the medicine
    // once on the stock card; and nothing else was written anywhere.
    for (const QString &slip : std::as_const(slips)) {
        QCOMPARE(after.logbook.value(slip), (QStringList{u"OE2001"_s, u"PH1002"_s}));
        QCOMPARE(after.stockCard.value(slip), QStringList{u"PH1002"_s});
    }
    QCOMPARE(number(db, logbookSql), logbookBefore + 4 * kBatches);
    QCOMPARE(number(db, stockCardSql), stockCardBefore + 2 * kBatches);
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

void tst_ChargeSlipConcurrency::aHeldCounterIsToldAndTriedAgain_data()
{
    QTest::addColumn<bool>("named");
    QTest::addColumn<int>("cancelAt");
    // The holder named its work: both backends tell the workstation and the work.
    QTest::newRow("holder posting charges") << true << -1;
    // An unnamed transaction: the server still knows the workstation, the file does not.
    QTest::newRow("holder unnamed") << false << -1;
    // The user watches the wait and cancels it at the third tick of its progress.
    QTest::newRow("cancelled while waiting") << true << 3;
}

void tst_ChargeSlipConcurrency::aHeldCounterIsToldAndTriedAgain()
{
    QFETCH(bool, named);
    QFETCH(int, cancelAt);
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    Database &other = (*created)->db();
    const QString issuedSql = u"select count(*) from STATION..tbORChargeSlipIssued"_s;
    const qint64 issuedBefore = number(other, issuedSql);
    ConnectionSettings settings = (*created)->settings();
    settings.workstation = u"OR-WS-02"_s;
    // Unwatched statements wait long; watched ones briefly, so the window answers.
    settings.waits.sqliteBusyMs = cancelAt < 0 ? 100 : 5000;
    settings.waits.lockMs = cancelAt < 0 ? 100 : 5000;
    settings.waits.watchedMs = 100;
    auto db = Database::open(settings);
    QVERIFY(db);
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    QVERIFY((*db)->pinClock(test::fixtureNow()));
    test::PostingFixture p(**db);
    QVERIFY(p.selectOpenStay());
    RetryPolicy patience;
    patience.budget = std::chrono::milliseconds(cancelAt < 0 ? 600 : 20000);
    p.posting.setRetryPolicy(patience);
    // Watches the wait as the window's progress does, cancelling at tick `cancelAt`.
    struct Watcher : WaitObserver
    {
        int cancelAt = -1;
        QList<qint64> ticks;
        QElapsedTimer clock;
        qint64 longestGap = 0;
        bool finishedCalled = false;
        bool waiting(std::chrono::milliseconds waited, std::chrono::milliseconds) override
        {
            ticks << waited.count();
            longestGap = std::max(longestGap, clock.restart());
            return ticks.size() != cancelAt;
        }
        bool nap(std::chrono::milliseconds pause) override
        {
            QThread::msleep(static_cast<unsigned long>(pause.count()));
            return true;
        }
        void finished() override { finishedCalled = true; }
    } watcher;
    watcher.cancelAt = cancelAt;
    watcher.clock.start();
    if (cancelAt > 0)
        setWaitObserver(&watcher);
    auto unwatch = qScopeGuard([] { setWaitObserver(nullptr); });
    // Another workstation stopped in the middle of its batch, holding the counter.
    Transaction held = named ? other.transaction(TransactionMode::Write, Work::PostingCharges)
                             : other.transaction(TransactionMode::Write);
    QVERIFY(other.exec(u"update STATION..tbORChargeSlip set ChargeSlip = ChargeSlip "
                       u"where StationID = 'OR'"));

    p.confirmAndSign();
    if (cancelAt < 0)
        p.f.notifier.answer({false}); // not again, for now
    const PostingOutcome refused = p.posting.save(batchLines(), u"OR"_s);
    QCOMPARE(refused.status, PostingOutcome::Status::Failed);
    QCOMPARE(number(**db, issuedSql), issuedBefore);
    if (cancelAt > 0) {
        // Each tick came soon after the one before, and cancelling stopped the tries at once.
        QCOMPARE(watcher.ticks.size(), cancelAt);
        QVERIFY(std::is_sorted(watcher.ticks.cbegin(), watcher.ticks.cend()));
        QVERIFY2(watcher.longestGap < 2000, qPrintable(QString::number(watcher.longestGap)));
        QVERIFY(p.posting.lastWrite().cancelled);
        QCOMPARE(p.posting.lastWrite().attempts, cancelAt);
        QVERIFY(watcher.finishedCalled);
        QVERIFY(!p.f.notifier.lastText().startsWith(u"The records are held"_s));
    } else {
        // It waited, tried again, then told who held the records and offered to try again.
        QVERIFY(p.posting.lastWrite().attempts > 1);
        const bool serverKnows = test::backendOfRow() == Backend::Postgres;
        const QString holder = named          ? u" (OR-TEST-01, posting charges)"_s
                               : serverKnows ? u" (OR-TEST-01)"_s
                                             : QString();
        const QString told = p.f.notifier.lastText();
        QVERIFY2(told.startsWith(u"The records are held by another workstation"_s + holder +
                                 u" and were not let go within "_s),
                 qPrintable(told));
        QVERIFY2(told.endsWith(u"nothing was saved. Try again?"_s), qPrintable(told));
        QVERIFY(p.f.notifier.boxes().last().question);
    }

    // Once the other lets go, trying again saves.
    held.rollback();
    p.confirmAndSign();
    const PostingOutcome saved = p.posting.save(batchLines(), u"OR"_s);
    QVERIFY2(saved.saved(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(number(**db, issuedSql), issuedBefore + 1);
}

void tst_ChargeSlipConcurrency::aBatchCutAtItsCommitIsPostedOnce_data()
{
    using Cut = test::CuttingProxy::Cut;
    QTest::addColumn<Cut>("cut");
    QTest::addColumn<bool>("unreachable");
    QTest::addColumn<int>("attempts");
    // The server committed and the answer was lost: found by its identity, and told.
    QTest::newRow("answer lost") << Cut::AfterCommit << false << 1;
    // The commit never reached the server: nothing landed, so the batch is posted again.
    QTest::newRow("commit lost") << Cut::BeforeCommit << false << 2;
    // The server could not be asked: the user keeps the lines, and saving them again asks first.
    QTest::newRow("answer lost, server gone") << Cut::AfterCommit << true << 0;
}

void tst_ChargeSlipConcurrency::aBatchCutAtItsCommitIsPostedOnce()
{
    QFETCH(test::CuttingProxy::Cut, cut);
    QFETCH(bool, unreachable);
    QFETCH(int, attempts);
    if (test::backendOfRow() != Backend::Postgres)
        QSKIP("the embedded file commits where it runs");
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    ConnectionSettings settings = (*created)->settings();
    test::CuttingProxy proxy(settings.host, settings.port);
    settings.port = proxy.port();
    settings.sslMode = u"disable"_s;
    auto db = Database::open(settings);
    QVERIFY(db);
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    QVERIFY((*db)->pinClock(test::fixtureNow()));
    test::PostingFixture p(**db);
    QVERIFY(p.selectOpenStay());
    const QString issuedSql = u"select count(*) from STATION..tbORChargeSlipIssued"_s;
    const qint64 issuedBefore = number((*created)->db(), issuedSql);

    // The batch's own commit is the second: the first moves the slip counter on.
    proxy.cutAtNextCommit(cut, 1);
    if (unreachable) {
        // The server goes away with the answer.
        proxy.refuse(true);
        p.confirmAndSign();
        const PostingOutcome lost = p.posting.save(batchLines(), u"OR"_s);
        QCOMPARE(lost.status, PostingOutcome::Status::Failed);
        QVERIFY2(p.f.notifier.lastText().contains(u"they will not be charged twice"_s),
                 qPrintable(p.f.notifier.lastText()));
        QCOMPARE(number((*created)->db(), issuedSql), issuedBefore + 1);
        proxy.refuse(false);
    }
    p.confirmAndSign();
    const PostingOutcome outcome = p.posting.save(batchLines(), u"OR"_s);
    QCOMPARE(proxy.commitCuts(), 1);
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    const bool found = cut == test::CuttingProxy::Cut::AfterCommit;
    QCOMPARE(p.posting.lastWrite().foundLanded, found);
    QCOMPARE(p.posting.lastWrite().attempts, attempts);
    if (found)
        QCOMPARE(p.f.notifier.lastText(),
                 u"The connection to the server was lost while the charges were saved. They "
                 u"were saved as charge slip "_s + outcome.chargeSlip + u'.');
    // One batch, stored once, whole.
    Database &check = (*created)->db();
    QCOMPARE(number(check, issuedSql), issuedBefore + 1);
    const Stored after = stored(check);
    QCOMPARE(after.logbook.value(outcome.chargeSlip), (QStringList{u"OE2001"_s, u"PH1002"_s}));
    QCOMPARE(after.stockCard.value(outcome.chargeSlip), QStringList{u"PH1002"_s});
}

void tst_ChargeSlipConcurrency::aServerRestartIsSurvived()
{
    if (test::backendOfRow() != Backend::Postgres)
        QSKIP("the embedded file has no server");
    if (test::PrivateServer::binaries().isEmpty())
        QSKIP("no PostgreSQL server binaries to start a server of the test's own");
    // A server of the test's own: the shared one is never restarted.
    test::PrivateServer server;
    auto started = server.start();
    QVERIFY2(started, qPrintable(started ? QString() : started.error().message));
    QVERIFY(server.createDatabase(u"kestrel_restart"_s));
    auto check = Database::open(server.settings(u"kestrel_restart"_s));
    QVERIFY(check);
    QVERIFY(hospitaldb::applySchema(**check));
    QVERIFY(hospitaldb::createDemoHospital(**check, test::fixtureToday()));
    (*check)->setProcedures(hospitaldb::hospitalProcedures());

    ConnectionSettings settings = server.settings(u"kestrel_restart"_s);
    test::CuttingProxy proxy(settings.host, settings.port);
    settings.port = proxy.port();
    settings.workstation = u"OR-WS-01"_s;
    auto db = Database::open(settings);
    QVERIFY(db);
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    QVERIFY((*db)->pinClock(test::fixtureNow()));
    QList<bool> reachability;
    (*db)->setReachabilityListener([&reachability](bool up) { reachability << up; });
    test::PostingFixture p(**db);
    QVERIFY(p.selectOpenStay());
    const QString issuedSql = u"select count(*) from STATION..tbORChargeSlipIssued"_s;
    const qint64 issuedBefore = number(**check, issuedSql);
    QStringList slips;
    auto post = [&] {
        p.confirmAndSign();
        const PostingOutcome outcome = p.posting.save(batchLines(), u"OR"_s);
        if (outcome.saved())
            slips << outcome.chargeSlip;
        return outcome.saved();
    };
    QVERIFY2(post(), qPrintable(p.f.notifier.lastText()));

    // The server restarts between two actions: the next one opens the connection again (no
    // new login, the clock still pinned) and posts.
    QVERIFY(server.restart());
    QVERIFY2(post(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(reachability, (QList<bool>{false, true}));
    QCOMPARE(p.posting.lastWrite().attempts, 1);

    // The server restarts while a batch commits: whether the commit landed or not, the batch
    // is posted once.
    proxy.atNextCommit([&server] { (void)server.restart(); });
    QVERIFY2(post(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(proxy.commitCuts(), 1);
    QVERIFY(p.posting.lastWrite().askedAfterLoss || p.posting.lastWrite().attempts == 1);

    // The check's own connection was cut by the restarts as well: its read opens it again.
    QCOMPARE(number(**check, issuedSql), issuedBefore + 3);
    QCOMPARE(QSet<QString>(slips.cbegin(), slips.cend()).size(), 3);
    const Stored after = stored(**check);
    for (const QString &slip : std::as_const(slips)) {
        QCOMPARE(after.logbook.value(slip), (QStringList{u"OE2001"_s, u"PH1002"_s}));
        QCOMPARE(after.stockCard.value(slip), QStringList{u"PH1002"_s});
    }
}

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    // A workstation's process: posts on the embedded file, printing each slip.
    if (args.size() == 7 && args.at(1) == u"--post-batches") {
        ConnectionSettings settings;
        settings.sqliteFile = args.at(2);
        const Posted posted = postOnOwnConnection(
            settings, args.at(3).toInt(), args.at(4), args.at(5).toInt(), args.at(6) == u"1", [] {
                QTextStream(stdout) << "ready" << Qt::endl;
                QTextStream(stdin).readLine();
            });
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
