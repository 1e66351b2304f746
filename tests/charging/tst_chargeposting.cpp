// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Saving the charge window's lines on the demo hospital, on every backend: the charge slip
// number and its formats, the checks before anything is written, the records of a batch, a
// batch that fails half-way, the printed and reprinted slip and the charge slip sequence.
#include "charging/ChargeSlipNumber.h"
#include "charging/ChargeSlipVerification.h"
#include "charging/ChargingFixture.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;
using test::chargeLine;
using test::PostingFixture;

namespace {

PostingLine procedure()
{
    return chargeLine(u"OR"_s, u"OR1013"_s, u"INCISION AND DRAINAGE OF ABSCESS"_s, u"1"_s,
                      u"3500"_s);
}

PostingLine cefazolin()
{
    PostingLine l = chargeLine(u"PH"_s, u"PH1001"_s, u"CEFAZOLIN 1 G VIAL"_s, u"2"_s, u"370"_s);
    l.dosage = u"Q8H"_s;
    return l;
}

PostingLine cautery(const QString &amount)
{
    return chargeLine(u"OE"_s, u"OE2001"_s, u"ELECTROCAUTERY MACHINE"_s, u"1"_s, amount);
}

/// What a batch could have left behind, to compare before and after: the counter, the rows of
/// the logbook, the stock card, the issued slips and the print buffer, and cefazolin on hand.
QList<qint64> written(PostingFixture &p)
{
    QList<qint64> counts{p.counter(u"ChargeSlip")};
    for (QStringView table : {u"STATION..tbNurseLogBook", u"INVENTORY..tbInvStockCard",
                              u"STATION..tbORChargeSlipIssued", u"STATION..tbORChargePrint"})
        counts << p.number(u"select count(*) from %1"_s.arg(table));
    return counts << p.number(u"select OnHand from INVENTORY..tbInvent where ItemID = 'PH1001' "
                              u"and LocationID = 'PHA'"_s);
}

/// Everything the last report shown puts on its first page.
QString lastPage(const test::RecordingReportDisplay &display)
{
    const auto report = display.last();
    return report->html() + report->headerHtml(1) + report->footerHtml(1);
}

bool setCounters(Database &db, qint64 common, qint64 inpatient, qint64 outpatient)
{
    return db
        .exec(u"update STATION..tbORChargeSlip set ChargeSlip = :c, IChargeSlip = :i, "
              u"OChargeSlip = :o where StationID = 'OR'",
              {{u"c"_s, common}, {u"i"_s, inpatient}, {u"o"_s, outpatient}})
        .has_value();
}

/// Takes `slip` off every record that marks a charge slip number as used: the demo
/// hospital's own slips run through the numbers the tests draw.
bool freeNumber(Database &db, const QString &slip)
{
    for (QStringView table : {u"BILLING..tbBillDailyBill", u"BILLING..tbBillOPDailyOut",
                              u"BILLING..tbCashAssessment", u"INVENTORY..tbInvStockCard"}) {
        if (!db.exec(u"delete from %1 where RefNum = :slip"_s.arg(table), {{u"slip"_s, slip}}))
            return false;
    }
    return db.exec(u"delete from STATION..tbORChargeSlipIssued where ChargeSlip = :slip",
                   {{u"slip"_s, slip}})
        .has_value();
}

/// The hospital's procedures, with the charging procedure answering `message` on call
/// `failing` (counted from 1) and passing the others on; `calls` counts them.
// The failure a lock conflict gives on each backend (a deadlock on the server, a busy file on
// the embedded one); "" for a failure without a code.
Error codedFailure(Database &db, const QString &message, const QString &lockConflict)
{
    Error e = Error::make(message);
    if (lockConflict == u"lock")
        e.code = db.backend() == Backend::Postgres ? u"40P01"_s : u"5"_s;
    e.kind = failureKindOf(db.backend(), e.code);
    return e;
}

std::shared_ptr<ProcedureRegistry> failingCharging(const QString &message, int failing,
                                                   std::shared_ptr<int> calls,
                                                   const QString &code = {})
{
    const auto &hospital = *hospitaldb::hospitalProcedures();
    auto registry = std::make_shared<ProcedureRegistry>();
    for (const QString &name : hospital.names()) {
        const ProcedureRegistry::Entry *entry = hospital.find(name);
        ProcedureHandler handler = entry->handler;
        if (name.contains(u"Nurse_AppendCharging", Qt::CaseInsensitive)) {
            handler = [handler, message, failing, calls, code](Database &db,
                                                               const ProcedureArgs &a) {
                if (++*calls == failing)
                    return Result<RowSet>(tl::unexpected(codedFailure(db, message, code)));
                return handler(db, a);
            };
        }
        registry->add(entry->name, entry->parameterCount, handler);
    }
    return registry;
}

struct PrintCase
{
    QString client;
    bool noPreprinted, printing, preprintedAnswer, asked;
    QString telltale;
};

} // namespace

class tst_ChargePosting : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void slipNumbers_data();
    void slipNumbers();
    void drawsFromTheStaysCounter_data();
    void drawsFromTheStaysCounter();
    void skipsNumbersAlreadyUsed_data();
    void skipsNumbersAlreadyUsed();
    void creditLine_data();
    void creditLine();
    void refusals_data();
    void refusals();
    void confirmationAndSignIn_data();
    void confirmationAndSignIn();
    void postsEveryRecordOfTheBatch();
    void failureMidBatchLeavesNothing_data();
    void failureMidBatchLeavesNothing();
    void printsTheSlip_data();
    void printsTheSlip();
    void reprintsAPostedSlip();
    void sequenceMovesPastUsedNumbers();
};

void tst_ChargePosting::slipNumbers_data()
{
    QTest::addColumn<SlipFormat>("format");
    QTest::addColumn<QString>("IdNum");
    QTest::addColumn<qint64>("counter");
    QTest::addColumn<SlipCounter>("expectedCounter");
    QTest::addColumn<QString>("expected");
    const auto common = SlipCounter::Common;
    const QString bir = u"000000000000"_s;
    const SlipFormat fifteen{u"0000000"_s, true, bir};
    QTest::newRow("plain") << SlipFormat{} << "2026-00123" << 1234LL << common << "C1234O";
    QTest::newRow("fifteen without a mask stays plain")
        << SlipFormat{{}, true, bir} << "2026-00123" << 1234LL << common << "C1234O";
    QTest::newRow("masked") << SlipFormat{u"0000000"_s, false, {}} << "2026-00123" << 1234LL
                            << common << "C0001234O";
    QTest::newRow("masked, counter wider than the mask")
        << SlipFormat{u"000"_s, false, {}} << "2026-00123" << 123456LL << common << "C123456O";
    QTest::newRow("fifteen, inpatient")
        << fifteen << "2026-00123" << 88LL << SlipCounter::Inpatient << "OC2000000000088";
    QTest::newRow("fifteen, outpatient")
        << fifteen << "OP-4471B" << 88LL << SlipCounter::Outpatient << "OC1000000000088";
    QTest::newRow("fifteen, outpatient in lower case")
        << fifteen << "OP-4471b" << 7LL << SlipCounter::Outpatient << "OC1000000000007";
}

void tst_ChargePosting::slipNumbers()
{
    QFETCH(SlipFormat, format);
    QFETCH(QString, IdNum);
    QFETCH(qint64, counter);
    QFETCH(SlipCounter, expectedCounter);
    QFETCH(QString, expected);
    QCOMPARE(format.counterFor(IdNum), expectedCounter);
    QCOMPARE(format.number(expectedCounter, counter), expected);
}

void tst_ChargePosting::drawsFromTheStaysCounter_data()
{
    QTest::addColumn<QString>("newFormat");
    QTest::addColumn<QString>("fifteen");
    QTest::addColumn<bool>("outpatient");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<qint64>>("countersAfter");
    QTest::newRow("plain") << "" << "" << false << "C1234O" << QList<qint64>{1235, 500, 700};
    QTest::newRow("fifteen, inpatient") << "0000000" << "1" << false << "OC2000000000500"
                                        << QList<qint64>{1234, 501, 700};
    QTest::newRow("fifteen, outpatient") << "0000000" << "1" << true << "OC1000000000700"
                                         << QList<qint64>{1234, 500, 701};
}

void tst_ChargePosting::drawsFromTheStaysCounter()
{
    QFETCH(QString, newFormat);
    QFETCH(QString, fifteen);
    QFETCH(bool, outpatient);
    QFETCH(QString, expected);
    QFETCH(QList<qint64>, countersAfter);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay(outpatient));
    QVERIFY(p.switches({{u"CSlipFormat"_s, newFormat},
                        {u"FifteenCSlipFormat"_s, fifteen},
                        {u"BirCSlipFormat"_s, u"000000000000"_s}}));
    QVERIFY(setCounters(db, 1234, 500, 700));
    QVERIFY(freeNumber(db, u"C1234O"_s));
    p.confirmAndSign();

    const PostingOutcome outcome = p.posting.save({procedure()}, u"OR"_s);
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(outcome.chargeSlip, expected);
    QCOMPARE((QList<qint64>{p.counter(u"ChargeSlip"), p.counter(u"IChargeSlip"),
                            p.counter(u"OChargeSlip")}),
             countersAfter);
    QCOMPARE(p.number(u"select count(*) from STATION..tbNurseLogBook where ReferenceNum = :s "
                      u"and IDNum = :id"_s,
                      {{u"s"_s, expected}, {u"id"_s, p.f.session.CurrentPatient.IdNum}}),
             1);
}

void tst_ChargePosting::skipsNumbersAlreadyUsed_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::newRow("cash assessment") << "BILLING..tbCashAssessment" << "RefNum";
    QTest::newRow("inpatient bill") << "BILLING..tbBillDailyBill" << "RefNum";
    QTest::newRow("outpatient bill") << "BILLING..tbBillOPDailyOut" << "RefNum";
    QTest::newRow("stock card") << "INVENTORY..tbInvStockCard" << "RefNum";
    QTest::newRow("posted by another station") << "STATION..tbORChargeSlipIssued" << "ChargeSlip";
}

void tst_ChargePosting::skipsNumbersAlreadyUsed()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(setCounters(db, 1234, 500, 700));
    QVERIFY(freeNumber(db, u"C1234O"_s) && freeNumber(db, u"C1235O"_s));
    QVERIFY(db.exec(u"insert into %1 (%2) values ('C1234O')"_s.arg(table, column)));
    p.confirmAndSign();

    const PostingOutcome outcome = p.posting.save({procedure()}, u"OR"_s);
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(outcome.chargeSlip, u"C1235O"_s);
    QCOMPARE(p.counter(u"ChargeSlip"), 1236LL);
}

void tst_ChargePosting::creditLine_data()
{
    QTest::addColumn<QString>("cauteryAmount");
    QTest::addColumn<bool>("saved");
    // A credit line of 10,000, of which 6,000 were billed and 1,000 charged: 3,000 are left.
    QTest::newRow("3500 on 3000 left") << "1500" << false;
    QTest::newRow("exactly what is left") << "1000" << true;
}

void tst_ChargePosting::creditLine()
{
    QFETCH(QString, cauteryAmount);
    QFETCH(bool, saved);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(p.switches({{u"CheckCredLim"_s, u"1"_s}}));
    const Binds id{{u"id"_s, p.f.session.CurrentPatient.IdNum}};
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set CreditLine = 10000 where IDNum = :id",
                    id));
    QVERIFY(db.exec(u"delete from BILLING..tbBillDailyBill where IDNum = :id", id));
    QVERIFY(db.exec(u"insert into BILLING..tbBillDailyBill (IDNum, RefNum, Amount) "
                    u"values (:id, 'RB-1', 6000)",
                    id));
    QVERIFY(db.exec(u"delete from STATION..tbNurseLogBook where IDNum = :id", id));
    QVERIFY(db.exec(u"insert into STATION..tbNurseLogBook (IDNum, ReferenceNum, Amount, "
                    u"RecordStatus) values (:id, 'C900O', 1000, '')",
                    id));
    PostingLine operation = procedure();
    operation.line.amount = u"2000"_s;
    p.confirmAndSign();
    const QList<qint64> before = written(p);

    QCOMPARE(p.posting.save({operation, cautery(cauteryAmount)}, u"OR"_s).saved(), saved);
    if (!saved) {
        QCOMPARE(p.f.notifier.lastText(),
                 u"Credit amount not enough. Remaining credit balance is 3000."_s);
        QCOMPARE(p.f.dialogs.asked(), 0);
        QCOMPARE(written(p), before);
    }
}

void tst_ChargePosting::refusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<PostingLine>>("lines");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("quantityLine");
    QTest::addColumn<bool>("signs");

    PostingLine noQuantity = cefazolin();
    noQuantity.line.quantity.clear();
    PostingLine departmentOnly;
    departmentOnly.line.department = u"OR"_s;
    PostingLine zero = procedure();
    zero.line.amount = u"0"_s;
    PostingLine noDosage = cefazolin();
    noDosage.dosage.clear();
    const QString blank = u"Can't save a blank data. Please enter charges first."_s;

    QTest::newRow("closed account")
        << "closed" << QList<PostingLine>{procedure()}
        << "The patient's account has already been closed. \n\nIf you have transactions to make, "
           "please notify the Billing staff immediately for further instructions."
        << -1 << false;
    QTest::newRow("cleared by the OR")
        << "cleared" << QList<PostingLine>{procedure()}
        << "Patient is already cleared by (OR Department). If you have charges to make, please "
           "notify the Billing staff immediately for further instructions."
        << -1 << false;
    QTest::newRow("empty grid") << "" << QList<PostingLine>{} << blank << -1 << false;
    QTest::newRow("blank lines") << "" << QList<PostingLine>(2) << blank << -1 << false;
    QTest::newRow("quantity missing")
        << "" << QList<PostingLine>{procedure(), noQuantity}
        << "Please enter quantity to request for CEFAZOLIN 1 G VIAL." << 1 << false;
    QTest::newRow("no line with a code") << "" << QList<PostingLine>{departmentOnly}
                                         << "Can't save blank data. Please enter charges first."
                                         << -1 << false;
    QTest::newRow("duplicate item")
        << "" << QList<PostingLine>{procedure(), cefazolin(), procedure()}
        << "Please double-check list for duplicate items." << -1 << false;
    QTest::newRow("zero amount") << "zero" << QList<PostingLine>{cefazolin(), zero}
                                 << "Please check items with zero amount." << -1 << false;
    // The checks after the signature.
    QTest::newRow("medicine without its dosage")
        << "dosage" << QList<PostingLine>{procedure(), noDosage}
        << "DOSAGE ID for CEFAZOLIN 1 G VIAL is empty. The system can't process the specified "
           "item."
        << -1 << true;
    // The stock is counted again inside the batch.
    QTest::newRow("stock gone since entry")
        << "stock 0" << QList<PostingLine>{cefazolin(), procedure()}
        << "CEFAZOLIN 1 G VIAL has no stocks left. The system can't process the specified item."
        << -1 << true;
    QTest::newRow("stock short since entry")
        << "stock 1" << QList<PostingLine>{procedure(), cefazolin()}
        << "Stock is not enough for the quantity entered. Remaining stock is: 1" << 1 << true;
    QTest::newRow("station without a counter")
        << "no counter" << QList<PostingLine>{cefazolin(), procedure()}
        << "No chargeslip sequence number set for Station OR" << -1 << true;
}

void tst_ChargePosting::refusals()
{
    QFETCH(QString, setup);
    QFETCH(QList<PostingLine>, lines);
    QFETCH(QString, message);
    QFETCH(int, quantityLine);
    QFETCH(bool, signs);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    const Binds id{{u"id"_s, p.f.session.CurrentPatient.IdNum}};
    if (setup == u"closed")
        QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient set BillingDate = getdate() "
                        u"where IDNum = :id",
                        id));
    if (setup == u"cleared")
        QVERIFY(db.exec(u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, "
                        u"RecordStatus, ClearDate) values (:id, 'OR', 'F', getdate())",
                        id));
    if (setup == u"zero")
        QVERIFY(p.switches({{u"NotifyZeroAmount"_s, u"1"_s}}));
    if (setup == u"dosage")
        QVERIFY(p.switches({{u"ORShowDosagePostMedicines"_s, u"1"_s}}));
    if (setup == u"no counter")
        QVERIFY(db.exec(u"delete from STATION..tbORChargeSlip where StationID = 'OR'"));
    if (setup.startsWith(u"stock ")) {
        p.f.session.hospital.AllowZeroOnHand = true;
        QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = :n where ItemID = 'PH1001' "
                        u"and LocationID = 'PHA'",
                        {{u"n"_s, setup.mid(6).toInt()}}));
    }
    p.confirmAndSign();
    const QList<qint64> before = written(p);

    const PostingOutcome outcome = p.posting.save(lines, u"OR"_s);
    QVERIFY(!outcome.saved());
    QCOMPARE(p.f.notifier.lastText(), message);
    QCOMPARE(outcome.quantityLine, quantityLine);
    QCOMPARE(p.f.dialogs.asked(), signs ? 1 : 0);
    QCOMPARE(written(p), before);
}

void tst_ChargePosting::confirmationAndSignIn_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("signers");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("asked");
    QTest::newRow("not confirmed") << QList<bool>{false} << QStringList{"2901"} << false << 0;
    QTest::newRow("signed at once") << QList<bool>{true} << QStringList{"2901"} << true << 1;
    QTest::newRow("signed at the second try")
        << QList<bool>{true, true} << QStringList{"", "2901"} << true << 2;
    QTest::newRow("gave up signing") << QList<bool>{true, true, false}
                                     << QStringList{"", "", "2901"} << false << 2;
}

void tst_ChargePosting::confirmationAndSignIn()
{
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, signers);
    QFETCH(bool, saved);
    QFETCH(int, asked);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    p.f.notifier.answer(answers);
    for (const QString &code : signers)
        p.f.dialogs.sign(code);
    const QList<qint64> before = written(p);

    const PostingOutcome outcome = p.posting.save({procedure()}, u"OR"_s);
    QCOMPARE(outcome.saved(), saved);
    QCOMPARE(p.f.dialogs.asked(), asked);
    const QList<test::RecordingNotifier::Box> &boxes = p.f.notifier.boxes();
    QCOMPARE(boxes.value(0).text, u"Please verify that the items entered are true and correct. "
                                  u"\n\rDo you want to proceed in saving these charges?"_s);
    for (qsizetype i = 1; i < boxes.size(); ++i)
        QCOMPARE(boxes.at(i).text, u"Selected charges will not be saved. \nAre you sure you want "
                                   u"to save these charges?"_s);
    // The one who signed is recorded, not the one logged in.
    if (saved)
        QCOMPARE(p.rows(u"select UserID from STATION..tbNurseLogBook where ReferenceNum = :s"_s,
                        {{u"s"_s, outcome.chargeSlip}}),
                 u"2901"_s);
    else
        QCOMPARE(written(p), before);
}

void tst_ChargePosting::postsEveryRecordOfTheBatch()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(p.switches({{u"ORSupervisorEditAmountPostCharge"_s, u"1"_s}}));
    PostingLine operation = procedure();
    operation.line.secondOperation = u"1"_s;
    operation.line.markupText = u"25%"_s;
    operation.line.arCode = u"AR-OR"_s;
    PostingLine medicine = cefazolin();
    medicine.packageId = u"OPK-CIRC"_s;
    PostingLine oxygen =
        chargeLine(u"OX"_s, u"OX5001"_s, u"OXYGEN PER 100 PSI"_s, u"150"_s, u"300"_s);
    oxygen.psiFlag = u"1"_s;
    oxygen.tankNumber = u"T-0457"_s;
    oxygen.initialReading = u"1500"_s;
    oxygen.lastReading = u"1350"_s;
    PostingLine edited = cautery(u"1200"_s);
    edited.line.listPrice = u"1500"_s;
    const QList<qint64> before = written(p);
    p.confirmAndSign();

    const PostingOutcome outcome = p.posting.save({operation, medicine, oxygen, edited}, u"OR"_s);
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    const Binds slip{{u"slip"_s, outcome.chargeSlip}, {u"id"_s, p.f.session.CurrentPatient.IdNum}};
    const auto rows = [&](const QString &columns, const QString &table, const char *key) {
        return p.rows(u"select %1 from %2 where %3 = :slip and IDNum = :id"_s.arg(
                          columns, table, QLatin1String(key)),
                      slip);
    };

    // Every line in the logbook under the slip, signed by the validated user and charged to the
    // OR, with the requesting doctor, the markup and the second operation of the procedure.
    QCOMPARE(rows(u"distinct UserID, ChargeDepartment, RecordStatus"_s,
                  u"STATION..tbNurseLogBook"_s, "ReferenceNum"),
             u"2901|OR|"_s);
    QCOMPARE(rows(u"ItemID, RequestingDoctorID, RequestingDoctorName, ARCode, Markup, "
                  u"isSecORProc, PackageID"_s,
                  u"STATION..tbNurseLogBook"_s, "ReferenceNum"),
             u"OR1013|1102|NEPOMUCENO, ALFREDO|AR-OR|25%|1|\n"
             u"PH1001|1102|NEPOMUCENO, ALFREDO||||OPK-CIRC\n"
             u"OX5001|1102|NEPOMUCENO, ALFREDO||||\n"
             u"OE2001|1102|NEPOMUCENO, ALFREDO||||"_s);
    // The medicine left its stock, stamped with its package; services did not touch stock.
    QCOMPARE(rows(u"ItemID, LocationID, Quantity, TransType, PackageID"_s,
                  u"INVENTORY..tbInvStockCard"_s, "RefNum"),
             u"PH1001|PHA|2|I|OPK-CIRC"_s);
    QCOMPARE(written(p).last(), before.last() - 2);
    QCOMPARE(rows(u"HostName"_s, u"STATION..tbORChargePrint"_s, "ChargeSlip"),
             QStringList(4, u"OR-TEST-01"_s).join(u'\n'));
    QCOMPARE(rows(u"count(*)"_s, u"STATION..tbORChargeSlipIssued"_s, "ChargeSlip"), u"1"_s);
    QCOMPARE(rows(u"TankNum, InitialR, LastR"_s, u"INVENTORY..tbCSROxygen"_s, "RefNum"),
             u"T-0457|1500|1350"_s);
    // The typed-over price waits for the supervisor who signed.
    QCOMPARE(rows(u"ItemID, ListPrice, UnitPrice, Reason, SupervisorID"_s,
                  u"STATION..tbSupervisorTransaction"_s, "RefNum"),
             u"OE2001|1500|1200|Editing of Unit Price|2901"_s);
}

void tst_ChargePosting::failureMidBatchLeavesNothing_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("calls");
    // The second line's logbook call is refused, after the first line's stock and logbook.
    QTest::newRow("refused") << "The charge was refused." << "" << false << 2;
    // Only the database's code tells a lost race: words alone are not tried again...
    QTest::newRow("words of a lock, no code") << "database is locked" << "" << false << 2;
    // ...and a lost race is tried again whole, under the next attempt's number, whatever the
    // language of the server's message.
    QTest::newRow("lost a race, message in Russian")
        << u"ОШИБКА: обнаружена взаимоблокировка"_s << "lock" << true << 5;
}

void tst_ChargePosting::failureMidBatchLeavesNothing()
{
    QFETCH(QString, failure);
    QFETCH(QString, code);
    QFETCH(bool, saved);
    QFETCH(int, calls);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    auto counted = std::make_shared<int>(0);
    db.setProcedures(failingCharging(failure, 2, counted, code));
    p.confirmAndSign();
    const QList<qint64> before = written(p);

    const PostingOutcome outcome =
        p.posting.save({cefazolin(), procedure(), cautery(u"1500"_s)}, u"OR"_s);
    QCOMPARE(outcome.saved(), saved);
    QCOMPARE(*counted, calls);
    const QList<qint64> after = written(p);
    if (!saved) {
        QCOMPARE(outcome.status, PostingOutcome::Status::Failed);
        QCOMPARE(p.f.notifier.lastText(), Notifier::errorBoxText(failure));
        QCOMPARE(after, before);
        return;
    }
    // One number used, one line each, one stock movement: the failed attempt left nothing.
    QCOMPARE(outcome.chargeSlip, u"C%1O"_s.arg(before[0]));
    QCOMPARE(after.mid(0, 4), (QList<qint64>{before[0] + 1, before[1] + 3, before[2] + 1,
                                            before[3] + 1}));
    QCOMPARE(after.last(), before.last() - 2);
}

void tst_ChargePosting::printsTheSlip_data()
{
    QTest::addColumn<PrintCase>("c");
    QTest::newRow("not printed") << PrintCase{"", false, false, true, false, ""};
    QTest::newRow("preprinted form") << PrintCase{"", false, true, true, true, ""};
    QTest::newRow("blank paper chosen") << PrintCase{"", false, true, false, true, "Received by:"};
    QTest::newRow("no preprinted forms") << PrintCase{"", true, true, true, false, "Received by:"};
    QTest::newRow("discount slip")
        << PrintCase{"QELM", false, true, true, false, "Discount approved by:"};
}

void tst_ChargePosting::printsTheSlip()
{
    QFETCH(PrintCase, c);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    p.f.session.hospital.clientname = c.client;
    p.f.session.hospital.ORNoPreprinted = c.noPreprinted;
    p.f.session.hospital.IsPrintChargeSlip = c.printing;
    p.f.notifier.answer({true, c.preprintedAnswer});
    p.f.dialogs.sign(u"2901"_s);

    const PostingOutcome outcome = p.posting.save({procedure(), cefazolin()}, u"OR"_s);
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    const QString question = u"Print Charge Slip! [YES] Preprinted Form [NO] Blank Paper"_s;
    QCOMPARE(std::any_of(p.f.notifier.boxes().cbegin(), p.f.notifier.boxes().cend(),
                         [&](const auto &b) { return b.text == question; }),
             c.asked);
    QCOMPARE(p.display.shown().size(), c.printing ? 1 : 0);
    if (!c.printing)
        return;
    const QString page = lastPage(p.display);
    for (const QString &form : {u"Received by:"_s, u"Discount approved by:"_s})
        QCOMPARE(page.contains(form), form == c.telltale);
    const CurrentPatientRecord &stay = p.f.session.CurrentPatient;
    for (const QString &text :
         {outcome.chargeSlip, u"ORIGINAL COPY"_s, u"(2901) SIGNER 2901"_s,
          u"INCISION AND DRAINAGE OF ABSCESS"_s, u"CEFAZOLIN 1 G VIAL"_s, u"3,870.00"_s})
        QVERIFY2(page.contains(text), qPrintable(text));
    const QRegularExpression patient(QRegularExpression::escape(stay.PatientName) +
                                     u" / [0-9]+ / "_s + QRegularExpression::escape(stay.Sex));
    QVERIFY2(page.contains(patient), qPrintable(patient.pattern()));
}

void tst_ChargePosting::reprintsAPostedSlip()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    p.confirmAndSign();
    const PostingOutcome outcome = p.posting.save({procedure(), cefazolin()}, u"OR"_s);
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    // The medicine was revoked since; the reprint leaves it out.
    QVERIFY(db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' "
                    u"where ReferenceNum = :slip and ItemID = 'PH1001'",
                    {{u"slip"_s, outcome.chargeSlip}}));
    p.f.notifier.clear();
    p.f.notifier.answer({false});

    p.posting.reprint(outcome.chargeSlip, p.f.session.CurrentPatient);
    QCOMPARE(p.f.notifier.lastText(),
             u"Reprint Charge Slip! [YES] Preprinted Form [NO] Blank Paper"_s);
    QCOMPARE(p.display.shown().size(), 1);
    const QString page = lastPage(p.display);
    for (const QString &text : {u"REPRINTED COPY"_s, u"Received by:"_s,
                                u"(2902) TEST, USER 2902"_s, u"INCISION AND DRAINAGE OF ABSCESS"_s,
                                u"3,500.00"_s})
        QVERIFY2(page.contains(text), qPrintable(text));
    QVERIFY(!page.contains(u"CEFAZOLIN"_s));
}

void tst_ChargePosting::sequenceMovesPastUsedNumbers()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(setCounters(db, 4321, 1, 1));
    ChargeSlipVerification sequence(p.f.session);
    QVERIFY(sequence.load());
    QCOMPARE(sequence.chargeSlip(), u"4321"_s);
    QVERIFY(!ChargeSlipVerification::canSave(QString()));
    QVERIFY(!ChargeSlipVerification::canSave(u"50A"_s));
    QVERIFY(db.exec(u"insert into BILLING..tbCashAssessment (RefNum) values ('C5000O')"));
    QVERIFY(db.exec(u"insert into INVENTORY..tbInvStockCard (RefNum) values ('C5001O')"));

    QCOMPARE(sequence.save(u"5000"_s), std::optional<qint64>(5002));
    QCOMPARE(p.f.notifier.lastText(), u"Available Charge Slip Number : 5002"_s);
    QCOMPARE(p.counter(u"ChargeSlip"), 5002LL);
    // Other stations keep their own counters.
    QCOMPARE(p.number(u"select ChargeSlip from STATION..tbORChargeSlip where StationID = 'ER'"_s),
             7342LL);
}

QTEST_MAIN(tst_ChargePosting)
#include "tst_chargeposting.moc"
