// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// OR packages and oxygen: package items brought into the charge window's grid, posted with the
// items not used recorded, and cancelled whole (also by two workstations at once); tank oxygen
// by its PSI readings and piped oxygen opened and closed by the hour.
#include "charging/ChargingFixture.h"
#include "charging/oxygen/OxygenPipe.h"
#include "charging/oxygen/PsiReadingEntry.h"
#include "charging/packages/PackageCancellation.h"
#include "charging/packages/PackageList.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kPackage = u"PKG-TST"_s;
const QString kOnHand = u"select OnHand from INVENTORY..tbInvent where ItemID = 'PH1002' and "
                        u"LocationID = 'PHA'"_s;

/// Tags the fixture's open stay with a package of an operation, a medicine from the pharmacy's
/// stock and a drape pack; false when the database refused.
bool tagPackage(test::PricingFixture &p)
{
    Database &db = p.db;
    const Binds id{{u"id"_s, p.f.session.CurrentPatient.IdNum}};
    return db.exec(u"insert into BUILD_FILE..tbCoAdmPackage (PackageID, Package) values "
                   u"('PKG-TST', 'TEST PACKAGE')") &&
           db.exec(u"insert into BUILD_FILE..tbCoPackageItems (PackageID, RevenueID, ItemID, "
                   u"Quantity, Amount, LocationID) values ('PKG-TST', 'OR', 'OR1018', 1, 25000, ''), "
                   u"('PKG-TST', 'PH', 'PH1002', 2, 150, 'PHA'), "
                   u"('PKG-TST', 'OS', 'OS2014', 1, 900, '')") &&
           db.exec(u"update PATIENT_DATA..tbPatient2 set PackageID = 'PKG-TST' where IDNum = :id",
                   id);
}

} // namespace

class tst_Packages : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void bringIntoGrid_data();
    void bringIntoGrid();
    void zeroStockTick_data();
    void zeroStockTick();
    void postAndCancel();
    void cancellationRace();
    void psiReadings_data();
    void psiReadings();
    void pipedOxygen_data();
    void pipedOxygen();
    void tankClosedTwice();
    void demoHospital();
};

void tst_Packages::bringIntoGrid_data()
{
    QTest::addColumn<QString>("grid");     // what the charge window's grid already holds
    QTest::addColumn<bool>("dontMix");     // DontMixPackages
    QTest::addColumn<QString>("unpriced"); // an item of the package whose amount was never set
    QTest::addColumn<QList<int>>("ticks");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QString>("lines"); // item|qty|unit price|amount|package of the lines given

    const QString ok = u"OR1018|1|25000|25000|PKG-TST\nPH1002|2|75|150|PKG-TST"_s;
    QTest::newRow("nothing ticked") << u""_s << false << u""_s << QList<int>{}
                                    << u"Please select package items."_s << u""_s;
    QTest::newRow("ticked items into an empty grid")
        << u""_s << false << u""_s << QList<int>{0, 1} << u""_s << ok;
    QTest::newRow("beside an ordinary line") << u"OE"_s << false << u""_s << QList<int>{0, 1}
                                             << u""_s << ok;
    QTest::newRow("ordinary line, packages not mixed")
        << u"OE"_s << true << u""_s << QList<int>{0}
        << u"Please don't mix non-package and package items."_s << u""_s;
    QTest::newRow("package already in the grid")
        << kPackage << false << u""_s << QList<int>{0}
        << u"Package was previously added to the list of charges."_s << u""_s;
    QTest::newRow("another package in the grid")
        << u"PKG-CS"_s << false << u""_s << QList<int>{0}
        << u"Please don't mix two or more packages in a single chargeslip."_s << u""_s;
    QTest::newRow("item without a price")
        << u""_s << false << u"OS2016"_s << QList<int>{0, 3}
        << u"No price was set for GAUZE 4 X 4, PACK OF 10 in package PKG-TST. Please check the "
           u"build file of the package."_s
        << u""_s;
}

void tst_Packages::bringIntoGrid()
{
    QFETCH(QString, grid);
    QFETCH(bool, dontMix);
    QFETCH(QString, unpriced);
    QFETCH(QList<int>, ticks);
    QFETCH(QString, told);
    QFETCH(QString, lines);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{u"DontMixPackages"_s, dontMix ? u"1"_s : QString()}}));
    QVERIFY(p.selectStay(u"select IDNum, HospNum from PATIENT_DATA..tbPatient where DcrDate is "
                         u"null order by IDNum limit 1"_s));
    QVERIFY(tagPackage(p));
    if (!unpriced.isEmpty())
        QVERIFY(db.exec(u"insert into BUILD_FILE..tbCoPackageItems (PackageID, RevenueID, "
                        u"ItemID, Quantity) values ('PKG-TST', 'OS', :item, 1)",
                        {{u"item"_s, unpriced}}));

    PackageList list(p.f.session);
    QVERIFY(list.open(p.f.session.CurrentPatient.IdNum));
    QCOMPARE(list.packages().size(), 1);
    QCOMPARE(list.packages().first().gross, Money::fromMinor(260500000));
    list.choosePackage(0);
    for (int row : ticks)
        QVERIFY(list.setTicked(row, true));
    QList<ChargeEntryLine> held;
    if (!grid.isEmpty()) {
        ChargeEntryLine l;
        l.line = test::chargeLine(grid == u"OE" ? u"OE"_s : u"OR"_s, u"OE2001"_s, u"X"_s, u"1"_s,
                                  u"1"_s)
                     .line;
        l.packageId = grid == u"OE" ? QString() : grid;
        held << l;
    }
    p.f.notifier.clear();
    const auto given = list.linesFor(held);
    QCOMPARE(p.f.notifier.lastText(), told);
    QCOMPARE(given.has_value(), !lines.isEmpty());
    if (!given)
        return;
    QStringList got;
    for (const ChargeEntryLine &l : *given)
        got << QStringList{l.line.item, l.line.quantity, l.line.unitPrice, l.line.amount,
                           l.packageId}
                   .join(u'|');
    QCOMPARE(got.join(u'\n'), lines);
}

void tst_Packages::zeroStockTick_data()
{
    QTest::addColumn<bool>("allowZeroOnHand");
    QTest::addColumn<bool>("ticked");
    QTest::newRow("stock counted: refused") << true << false;
    QTest::newRow("stock not counted: ticked") << false << true;
}

void tst_Packages::zeroStockTick()
{
    QFETCH(bool, allowZeroOnHand);
    QFETCH(bool, ticked);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.selectStay(u"select IDNum, HospNum from PATIENT_DATA..tbPatient where DcrDate is "
                         u"null order by IDNum limit 1"_s));
    QVERIFY(tagPackage(p));
    QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = 0 where ItemID = 'PH1002'"));
    p.f.session.hospital.AllowZeroOnHand = allowZeroOnHand;
    PackageList list(p.f.session);
    QVERIFY(list.open(p.f.session.CurrentPatient.IdNum));
    list.choosePackage(0);
    QCOMPARE(list.setTicked(1, true), ticked);
    QCOMPARE(list.isTicked(1), ticked);
    QCOMPARE(p.f.notifier.lastText(),
             ticked ? QString()
                    : u"There is no stock left for KETOROLAC 30 MG/ML AMPULE. The item will not be "
                      u"included in the request."_s);
    // The services are never counted.
    QVERIFY(list.setTicked(0, true));
}

// The whole way: the package list brings two of three items into the charge window, they are
// posted with the third recorded as not used, and the package is cancelled whole.
void tst_Packages::postAndCancel()
{
    KESTREL_OPEN_DEMO(db);
    test::ChargeEntryFixture c(db);
    QVERIFY(c.selectOpenStay());
    QVERIFY(tagPackage(c));
    QVERIFY(c.entry.open());
    const qint64 before = c.number(kOnHand);

    PackageList list(c.f.session);
    QVERIFY(list.open(c.f.session.CurrentPatient.IdNum));
    list.choosePackage(0);
    list.setTicked(0, true);
    list.setTicked(1, true);
    c.entry.addPackageLines(*list.linesFor(c.entry.lines()));
    QCOMPARE(c.entry.lines().size(), 2);
    c.confirmAndSign();
    const QList<PostingLine> lines(c.entry.lines().cbegin(), c.entry.lines().cend());
    const PostingOutcome posted = c.posting.save(lines, u"OR"_s);
    QVERIFY2(posted.saved(), qPrintable(c.f.notifier.lastText()));
    const Binds slip{{u"slip"_s, posted.chargeSlip}};
    QCOMPARE(c.rows(u"select ItemID, PackageID, Amount from STATION..tbNurseLogBook where "
                    u"ReferenceNum = :slip order by ItemID"_s, slip),
             u"OR1018|PKG-TST|25000\nPH1002|PKG-TST|150"_s);
    QCOMPARE(c.rows(u"select ItemID, Quantity, PackageID from INVENTORY..tbInvStockCard where "
                    u"RefNum = :slip"_s, slip),
             u"PH1002|2|PKG-TST"_s);
    QCOMPARE(c.rows(u"select ItemID, Amount from STATION..tbPackageItemsUnused where ChargeSlip "
                    u"= :slip"_s, slip),
             u"OS2014|900"_s);
    QCOMPARE(c.number(kOnHand), before - 2);

    // Opened before the cancellation, a second window still lists the package.
    PackageCancellation stale(c.f.session);
    QVERIFY(stale.open(c.f.session.CurrentPatient.IdNum));
    stale.choosePackage(0);

    PackageCancellation cancel(c.f.session);
    QVERIFY(cancel.open(c.f.session.CurrentPatient.IdNum));
    QCOMPARE(cancel.packages().size(), 1);
    cancel.choosePackage(0);
    QCOMPARE(cancel.items().size(), 3);
    QVERIFY(cancel.items().last().unused);
    // A nurse without the right to revoke changes nothing.
    c.f.notifier.answer({true});
    c.f.dialogs.sign(u"2902"_s);
    QVERIFY(!cancel.cancel());
    QCOMPARE(c.f.notifier.lastText(), u"Sorry, you don't have access right to revoke charges."_s);
    c.f.notifier.answer({true});
    c.f.dialogs.sign(u"2901"_s);
    QVERIFY(cancel.cancel());
    QVERIFY(cancel.packages().isEmpty());
    const QString afterwards =
        c.rows(u"select RecordStatus, RevokedBy from STATION..tbNurseLogBook where ReferenceNum "
               u"= :slip union all select RecordStatus, '' from STATION..tbPackageItemsUnused "
               u"where ChargeSlip = :slip"_s,
               slip);
    QCOMPARE(afterwards, u"R|2901\nR|2901\nR|"_s);
    QCOMPARE(c.number(kOnHand), before);

    c.f.notifier.answer({true});
    c.f.dialogs.sign(u"2901"_s);
    QVERIFY(!stale.cancel());
    QCOMPARE(c.f.notifier.lastText(), u"Sorry, this package is already revoked."_s);
    QCOMPARE(c.number(kOnHand), before);
    QCOMPARE(c.number(u"select count(*) from INVENTORY..tbInvStockCard where RefNum = :slip and "
                      u"TransType = 'C'"_s, slip),
             1);
}

// Two workstations cancelling the same package at once, each on its own connection: one
// cancels it, the other is told it is gone; the stock comes back once.
void tst_Packages::cancellationRace()
{
    auto t = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(t, qPrintable(t ? QString() : t.error().message));
    Database &db = (*t)->db();
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(tagPackage(p));
    const qint64 before = p.number(kOnHand);
    PostingLine medicine = test::chargeLine(u"PH"_s, u"PH1002"_s, u"KETOROLAC"_s, u"2"_s, u"150"_s);
    medicine.packageId = kPackage;
    p.confirmAndSign();
    const PostingOutcome posted = p.posting.save({medicine}, u"OR"_s);
    QVERIFY(posted.saved());
    const QString idNum = p.f.session.CurrentPatient.IdNum;

    for (int round = 0; round < 2; ++round) {
        QList<Result<PackageCancelOutcome>> outcomes(2, failure(u"not run"_s));
        std::vector<std::thread> workstations;
        for (int w = 0; w < 2; ++w)
            workstations.emplace_back([&, w] {
                ConnectionSettings settings = (*t)->settings();
                settings.workstation = u"OR-WS-0%1"_s.arg(w + 1);
                auto own = Database::open(settings);
                if (!own)
                    return;
                (*own)->setProcedures(hospitaldb::hospitalProcedures());
                outcomes[w] =
                    PackageStore(**own).cancel(idNum, posted.chargeSlip, kPackage, u"2901"_s);
            });
        for (std::thread &w : workstations)
            w.join();
        QStringList ends;
        for (const auto &o : outcomes) {
            QVERIFY2(o, qPrintable(o ? QString() : o.error().message));
            ends << (*o == PackageCancelOutcome::Cancelled ? u"cancelled"_s : u"revoked"_s);
        }
        ends.sort();
        // The first round cancels once; the second finds nothing left.
        const QStringList expected = round == 0 ? QStringList{u"cancelled"_s, u"revoked"_s}
                                                : QStringList{u"revoked"_s, u"revoked"_s};
        QCOMPARE(ends, expected);
        QCOMPARE(p.number(kOnHand), before);
    }
}

void tst_Packages::psiReadings_data()
{
    QTest::addColumn<QString>("tank");
    QTest::addColumn<QString>("initial");
    QTest::addColumn<QString>("last");
    QTest::addColumn<QString>("told");     // the box of the refusal, "" for none
    QTest::addColumn<QString>("preset");   // the initial reading the tank's history gives
    QTest::addColumn<QString>("consumed"); // the PSI used when accepted

    const QString spent = u"This Tank # is already consumed. Please enter a new Tank #."_s;
    QTest::newRow("no tank") << u" "_s << u"1500"_s << u"1350"_s << u"Please enter Tank #."_s
                             << u""_s << u""_s;
    QTest::newRow("spent tank") << u"T-0311"_s << u"400"_s << u"100"_s << spent << u""_s << u""_s;
    QTest::newRow("150 PSI from the last reading")
        << u"T-0457"_s << u"1350"_s << u"1200"_s << u""_s << u"1350"_s << u"150"_s;
    QTest::newRow("new tank") << u"T-9001"_s << u"1500"_s << u"1450"_s << u""_s << u""_s
                              << u"50"_s;
    QTest::newRow("initial of zero")
        << u"T-9001"_s << u"0"_s << u"0"_s
        << u"INVALID Initial Reading! It should be greater than zero(0)"_s << u""_s << u""_s;
    QTest::newRow("initial not a number")
        << u"T-9001"_s << u"abc"_s << u"10"_s
        << u"INVALID Initial Reading! It should be greater than zero(0)"_s << u""_s << u""_s;
    QTest::newRow("equal readings")
        << u"T-9001"_s << u"1500"_s << u"1500"_s
        << u"INVALID Initial Reading! It should be greater than the Last Reading"_s << u""_s
        << u""_s;
    QTest::newRow("closing above opening")
        << u"T-9001"_s << u"1350"_s << u"1500"_s
        << u"INVALID Initial Reading! It should be greater than the Last Reading"_s << u""_s
        << u""_s;
    QTest::newRow("negative last reading")
        << u"T-9001"_s << u"1500"_s << u"-5"_s
        << u"INVALID Last Reading! It should be greater than zero or equal to zero(0)."_s << u""_s
        << u""_s;
}

void tst_Packages::psiReadings()
{
    QFETCH(QString, tank);
    QFETCH(QString, initial);
    QFETCH(QString, last);
    QFETCH(QString, told);
    QFETCH(QString, preset);
    QFETCH(QString, consumed);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    PsiReadingEntry entry(p.f.session, u"OX5002"_s);
    if (entry.enterTank(tank))
        QCOMPARE(entry.initialText(), preset);
    p.f.notifier.clear();
    const std::optional<PsiReading> reading = entry.accept(tank, initial, last);
    QCOMPARE(p.f.notifier.lastText(), told);
    QCOMPARE(reading.has_value(), told.isEmpty());
    if (!reading)
        return;
    QCOMPARE(entry.consumedText(initial, last), consumed);
    QCOMPARE(QString::number(reading->used()), consumed);
}

void tst_Packages::pipedOxygen_data()
{
    QTest::addColumn<int>("rate");         // RateA of the item
    QTest::addColumn<int>("minutes");      // from opening to stopping
    QTest::addColumn<QString>("told");     // when closing
    QTest::addColumn<QString>("charged");  // the logbook line of the closing

    QTest::newRow("two and a half hours") << 150 << 150 << u""_s << u"OX5009|2.5|375"_s;
    QTest::newRow("stopped at once")
        << 150 << 0 << u"Total Consumed is Zero(0), You are not Allow to Save this Amount"_s
        << u""_s;
    QTest::newRow("no hourly rate")
        << 0 << 60
        << u"No hourly rate was set for OX5009. Please check the build file of oxygen items."_s
        << u""_s;
}

void tst_Packages::pipedOxygen()
{
    QFETCH(int, rate);
    QFETCH(int, minutes);
    QFETCH(QString, told);
    QFETCH(QString, charged);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{u"isallowopenclosetank"_s, u"1"_s}}));
    QVERIFY(p.selectStay(u"select IDNum, HospNum, RoomID from PATIENT_DATA..tbPatient S where "
                         u"DcrDate is null and not exists (select 1 from "
                         u"STATION..tbOpenCloseTank T where T.IDNum = S.IDNum) "
                         u"order by IDNum limit 1"_s));
    QVERIFY(db.exec(u"update BUILD_FILE..tbCoOtherRevenue set RateA = :rate where "
                    u"OtherRevenueID = 'OX5009'",
                    {{u"rate"_s, rate}}));
    const Binds id{{u"id"_s, p.f.session.CurrentPatient.IdNum}};
    // Opening is refused without a rate, so the tank was opened when the item still had one.
    QVERIFY(db.exec(u"insert into STATION..tbOpenCloseTank (IDNum, ItemID, TankNum, Status, "
                    u"OpeningTime) values (:id, 'OX5009', 'P-7', 1, getdate())",
                    id));

    OxygenPipe pipe(p.f.session);
    QVERIFY(pipe.open());
    QCOMPARE(pipe.mode(), OxygenPipe::Mode::Close);
    QCOMPARE(pipe.tankNumber(), u"P-7"_s);
    pipe.setTimeStopped(pipe.startingTime().addSecs(60 * minutes));
    p.f.notifier.clear();
    QCOMPARE(pipe.save(), told.isEmpty());
    QCOMPARE(p.f.notifier.lastText(), told);
    QCOMPARE(p.rows(u"select ItemID, Quantity, Amount from STATION..tbNurseLogBook where "
                    u"IDNum = :id and RevenueID = 'OX'"_s, id),
             charged);
    QCOMPARE(p.number(u"select count(*) from STATION..tbOpenCloseTank where IDNum = :id and "
                      u"Status = 1"_s, id),
             told.isEmpty() ? 0 : 1);
    if (!told.isEmpty())
        return;
    // Closed, the stay may open a new tank; a second one open at once is refused.
    QCOMPARE(pipe.mode(), OxygenPipe::Mode::Open);
    pipe.setTankNumber(u"P-8"_s);
    QVERIFY(pipe.save());
    OxygenPipe other(p.f.session);
    QVERIFY(db.exec(u"update STATION..tbOpenCloseTank set Status = 0 where TankNum = 'P-8'"));
    QVERIFY(other.open());
    QVERIFY(db.exec(u"update STATION..tbOpenCloseTank set Status = 1 where TankNum = 'P-8'"));
    other.setTankNumber(u"P-9"_s);
    QVERIFY(!other.save());
    QCOMPARE(p.f.notifier.lastText(), u"Tank # P-8 is already open for this patient."_s);
}

// Two workstations closing the stay's tank: the second, opened before the first closed it, is
// told and charges nothing.
void tst_Packages::tankClosedTwice()
{
    auto t = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(t, qPrintable(t ? QString() : t.error().message));
    test::PricingFixture first((*t)->db());
    QVERIFY(first.switches({{u"isallowopenclosetank"_s, u"1"_s}}));
    QVERIFY(first.selectStay(u"select S.IDNum, S.HospNum from STATION..tbOpenCloseTank T inner "
                             u"join PATIENT_DATA..tbPatient S on S.IDNum = T.IDNum where "
                             u"T.Status = 1 order by S.IDNum limit 1"_s));
    auto own = Database::open((*t)->settings());
    QVERIFY(own);
    (*own)->setProcedures(hospitaldb::hospitalProcedures());
    test::PricingFixture second(**own);
    second.f.session.CurrentPatient = first.f.session.CurrentPatient;

    OxygenPipe a(first.f.session);
    OxygenPipe b(second.f.session);
    QVERIFY(a.open() && b.open());
    QVERIFY(a.save());
    QVERIFY(!b.save());
    QCOMPARE(second.f.notifier.lastText(), u"This tank was already closed."_s);
    QCOMPARE(first.number(u"select count(*) from STATION..tbNurseLogBook where IDNum = :id and "
                          u"RevenueID = 'OX'"_s,
                          {{u"id"_s, first.f.session.CurrentPatient.IdNum}}),
             1);
}

// The demo hospital shows every state: packages partly used, tanks with readings, open pipes.
void tst_Packages::demoHospital()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    const QString partlyUsed = p.rows(
        u"select distinct L.IDNum, L.PackageID from STATION..tbNurseLogBook L inner join "
        u"STATION..tbPackageItemsUnused U on U.ChargeSlip = L.ReferenceNum where L.PackageID <> "
        u"'' order by L.IDNum"_s);
    qInfo().noquote() << "Partly used packages:" << partlyUsed;
    QVERIFY(!partlyUsed.isEmpty());
    QCOMPARE(p.number(u"select count(*) from STATION..tbOpenCloseTank where Status = 1"_s), 2);
}

QTEST_MAIN(tst_Packages)
#include "tst_packages.moc"
