// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Saving the charge window's lines on the demo hospital, on every backend: the charge slip
// number and its formats, the checks before anything is written, the records of a batch, a
// batch that fails half-way, the printed and reprinted slip and the charge slip sequence.
#include "charging/ChargePosting.h"
#include "charging/ChargeSlipNumber.h"
#include "charging/ChargeSlipVerification.h"
#include "charging/PostingFixture.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "shell/db/Database.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTest>

using namespace kestrel;
using kestrel::test::PostingFixture;
using kestrel::test::chargeLine;

namespace {

const Binds kNone;

QList<PostingLine> oneProcedure()
{
    return {chargeLine(QStringLiteral("OR"), QStringLiteral("OR1013"),
                       QStringLiteral("INCISION AND DRAINAGE OF ABSCESS"), QStringLiteral("1"),
                       QStringLiteral("3500"))};
}

PostingLine cefazolin()
{
    PostingLine l = chargeLine(QStringLiteral("PH"), QStringLiteral("PH1001"),
                               QStringLiteral("CEFAZOLIN 1 G VIAL"), QStringLiteral("2"),
                               QStringLiteral("370"));
    l.dosage = QStringLiteral("Q8H");
    return l;
}

qint64 onHand(PostingFixture &p, const QString &item, const QString &location)
{
    return p.number(QStringLiteral("select OnHand from INVENTORY..tbInvent where ItemID = :item "
                                   "and LocationID = :location"),
                    {{QStringLiteral("item"), item}, {QStringLiteral("location"), location}});
}

/// What a batch could have left behind, to compare before and after.
struct Written
{
    qint64 counter, logbook, stockCard, issued, printBuffer, onHand;
    friend bool operator==(const Written &, const Written &) = default;
};

Written written(PostingFixture &p)
{
    return {p.counter(u"ChargeSlip"),
            p.number(QStringLiteral("select count(*) from STATION..tbNurseLogBook")),
            p.number(QStringLiteral("select count(*) from INVENTORY..tbInvStockCard")),
            p.number(QStringLiteral("select count(*) from STATION..tbORChargeSlipIssued")),
            p.number(QStringLiteral("select count(*) from STATION..tbORChargePrint")),
            onHand(p, QStringLiteral("PH1001"), QStringLiteral("PHA"))};
}

/// Everything the last report shown puts on its first page.
QString lastPage(const test::RecordingReportDisplay &display)
{
    const auto report = display.last();
    return report->html() + report->headerHtml(1) + report->footerHtml(1);
}

QString describe(const Written &w)
{
    return QStringLiteral("counter %1, logbook %2, stock card %3, issued %4, print %5, on hand %6")
        .arg(w.counter)
        .arg(w.logbook)
        .arg(w.stockCard)
        .arg(w.issued)
        .arg(w.printBuffer)
        .arg(w.onHand);
}

bool setCounters(Database &db, qint64 common, qint64 inpatient, qint64 outpatient)
{
    return db
        .exec(u"update STATION..tbORChargeSlip set ChargeSlip = :c, IChargeSlip = :i, "
              u"OChargeSlip = :o where StationID = 'OR'",
              {{QStringLiteral("c"), common},
               {QStringLiteral("i"), inpatient},
               {QStringLiteral("o"), outpatient}})
        .has_value();
}

/// Takes `slip` off every record that marks a charge slip number as used: the demo
/// hospital's own slips run through the numbers the tests draw.
bool freeNumber(Database &db, const QString &slip)
{
    const Binds binds{{QStringLiteral("slip"), slip}};
    return db.exec(u"delete from BILLING..tbBillDailyBill where RefNum = :slip", binds) &&
           db.exec(u"delete from BILLING..tbBillOPDailyOut where RefNum = :slip", binds) &&
           db.exec(u"delete from BILLING..tbCashAssessment where RefNum = :slip", binds) &&
           db.exec(u"delete from INVENTORY..tbInvStockCard where RefNum = :slip", binds) &&
           db.exec(u"delete from STATION..tbORChargeSlipIssued where ChargeSlip = :slip", binds);
}

/// The hospital's procedures, with the charging procedure answering `failure` on the calls
/// `failing` says (counted from 1) and passing the others on. `message` is the failure.
std::shared_ptr<ProcedureRegistry> failingCharging(const QString &message,
                                                   std::function<bool(int)> failing,
                                                   std::shared_ptr<int> calls)
{
    const auto &hospital = *hospitaldb::hospitalProcedures();
    auto registry = std::make_shared<ProcedureRegistry>();
    for (const QString &name : hospital.names()) {
        const ProcedureRegistry::Entry *entry = hospital.find(name);
        ProcedureHandler handler = entry->handler;
        if (name.contains(u"Nurse_AppendCharging", Qt::CaseInsensitive)) {
            handler = [handler, message, failing, calls](Database &db, const ProcedureArgs &a) {
                if (failing(++*calls))
                    return Result<RowSet>(failure(message));
                return handler(db, a);
            };
        }
        registry->add(entry->name, entry->parameterCount, handler);
    }
    return registry;
}

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
    void stationWithoutCounter();
    void printsTheSlip_data();
    void printsTheSlip();
    void reprintsAPostedSlip();
    void sequenceMovesPastUsedNumbers();
};

void tst_ChargePosting::slipNumbers_data()
{
    QTest::addColumn<QString>("newFormat");
    QTest::addColumn<bool>("fifteen");
    QTest::addColumn<QString>("birFormat");
    QTest::addColumn<QString>("IdNum");
    QTest::addColumn<qint64>("counter");
    QTest::addColumn<int>("expectedCounter");
    QTest::addColumn<QString>("expected");

    const int common = int(SlipCounter::Common);
    const int in = int(SlipCounter::Inpatient);
    const int out = int(SlipCounter::Outpatient);
    QTest::newRow("plain") << "" << false << "" << "2026-00123" << qint64(1234) << common
                           << "C1234O";
    QTest::newRow("fifteen without a mask stays plain")
        << "" << true << "000000000000" << "2026-00123" << qint64(1234) << common << "C1234O";
    QTest::newRow("masked") << "0000000" << false << "" << "2026-00123" << qint64(1234) << common
                            << "C0001234O";
    QTest::newRow("masked, counter wider than the mask")
        << "000" << false << "" << "2026-00123" << qint64(123456) << common << "C123456O";
    QTest::newRow("fifteen, inpatient") << "0000000" << true << "000000000000" << "2026-00123"
                                        << qint64(88) << in << "OC2000000000088";
    QTest::newRow("fifteen, outpatient") << "0000000" << true << "000000000000" << "OP-4471B"
                                         << qint64(88) << out << "OC1000000000088";
    QTest::newRow("fifteen, outpatient in lower case")
        << "0000000" << true << "000000000000" << "OP-4471b" << qint64(7) << out
        << "OC1000000000007";
}

void tst_ChargePosting::slipNumbers()
{
    QFETCH(QString, newFormat);
    QFETCH(bool, fifteen);
    QFETCH(QString, birFormat);
    QFETCH(QString, IdNum);
    QFETCH(qint64, counter);
    QFETCH(int, expectedCounter);
    QFETCH(QString, expected);
    const SlipFormat format{newFormat, fifteen, birFormat};
    const SlipCounter used = format.counterFor(IdNum);
    QCOMPARE(int(used), expectedCounter);
    QCOMPARE(format.number(used, counter), expected);
}

void tst_ChargePosting::drawsFromTheStaysCounter_data()
{
    QTest::addColumn<QString>("newFormat");
    QTest::addColumn<QString>("fifteen");
    QTest::addColumn<bool>("outpatient");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QList<qint64>>("countersAfter");

    QTest::newRow("plain") << "" << "" << false << "C1234O" << QList<qint64>{1235, 500, 700};
    QTest::newRow("masked") << "0000000" << "" << false << "C0001234O"
                            << QList<qint64>{1235, 500, 700};
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
    QVERIFY(p.switches({{QStringLiteral("CSlipFormat"), newFormat},
                        {QStringLiteral("FifteenCSlipFormat"), fifteen},
                        {QStringLiteral("BirCSlipFormat"), QStringLiteral("000000000000")}}));
    QVERIFY(setCounters(db, 1234, 500, 700));
    QVERIFY(freeNumber(db, QStringLiteral("C1234O")));
    p.confirmAndSign();

    const PostingOutcome outcome = p.posting.save(oneProcedure(), QStringLiteral("OR"));
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(outcome.chargeSlip, expected);
    QCOMPARE((QList<qint64>{p.counter(u"ChargeSlip"), p.counter(u"IChargeSlip"),
                            p.counter(u"OChargeSlip")}),
             countersAfter);
    QCOMPARE(p.number(QStringLiteral("select count(*) from STATION..tbNurseLogBook "
                                     "where ReferenceNum = :slip and IDNum = :id"),
                      {{QStringLiteral("slip"), expected},
                       {QStringLiteral("id"), p.f.session.CurrentPatient.IdNum}}),
             qint64(1));
}

void tst_ChargePosting::skipsNumbersAlreadyUsed_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");

    QTest::newRow("cash assessment") << "BILLING..tbCashAssessment" << "RefNum";
    QTest::newRow("inpatient bill") << "BILLING..tbBillDailyBill" << "RefNum";
    QTest::newRow("outpatient bill") << "BILLING..tbBillOPDailyOut" << "RefNum";
    QTest::newRow("stock card") << "INVENTORY..tbInvStockCard" << "RefNum";
    QTest::newRow("posted by another station") << "STATION..tbORChargeSlipIssued"
                                               << "ChargeSlip";
}

void tst_ChargePosting::skipsNumbersAlreadyUsed()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(setCounters(db, 1234, 500, 700));
    QVERIFY(freeNumber(db, QStringLiteral("C1234O")));
    QVERIFY(freeNumber(db, QStringLiteral("C1235O")));
    QVERIFY(db.exec(QStringLiteral("insert into %1 (%2) values (:slip)").arg(table, column),
                    {{QStringLiteral("slip"), QStringLiteral("C1234O")}}));
    p.confirmAndSign();

    const PostingOutcome outcome = p.posting.save(oneProcedure(), QStringLiteral("OR"));
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(outcome.chargeSlip, QStringLiteral("C1235O"));
    QCOMPARE(p.counter(u"ChargeSlip"), qint64(1236));
}

void tst_ChargePosting::creditLine_data()
{
    QTest::addColumn<QStringList>("amounts");
    QTest::addColumn<bool>("saved");

    QTest::newRow("3500 on 3000 left") << QStringList{"2000", "1500"} << false;
    QTest::newRow("exactly what is left") << QStringList{"2000", "1000"} << true;
}

void tst_ChargePosting::creditLine()
{
    QFETCH(QStringList, amounts);
    QFETCH(bool, saved);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(p.switches({{QStringLiteral("CheckCredLim"), QStringLiteral("1")}}));
    const Binds id{{QStringLiteral("id"), p.f.session.CurrentPatient.IdNum}};
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
    QList<PostingLine> lines{chargeLine(QStringLiteral("OR"), QStringLiteral("OR1013"),
                                        QStringLiteral("INCISION AND DRAINAGE OF ABSCESS"),
                                        QStringLiteral("1"), amounts.at(0)),
                             chargeLine(QStringLiteral("OE"), QStringLiteral("OE2001"),
                                        QStringLiteral("ELECTROCAUTERY MACHINE"),
                                        QStringLiteral("1"), amounts.at(1))};
    p.confirmAndSign();
    const Written before = written(p);

    const PostingOutcome outcome = p.posting.save(lines, QStringLiteral("OR"));
    QCOMPARE(outcome.saved(), saved);
    if (!saved) {
        QCOMPARE(p.f.notifier.boxes().size(), 1);
        QCOMPARE(p.f.notifier.lastText(),
                 QStringLiteral("Credit amount not enough. Remaining credit balance is 3000."));
        QCOMPARE(p.f.notifier.boxes().last().title, QStringLiteral("Notification"));
        QCOMPARE(p.f.dialogs.asked(), 0);
        QVERIFY(written(p) == before);
    }
}

void tst_ChargePosting::refusals_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<PostingLine>>("lines");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("quantityLine");
    QTest::addColumn<bool>("signs");

    const QList<PostingLine> procedure = oneProcedure();
    PostingLine noQuantity = cefazolin();
    noQuantity.line.quantity.clear();
    PostingLine departmentOnly;
    departmentOnly.line.department = QStringLiteral("OR");
    PostingLine zero = procedure.first();
    zero.line.amount = QStringLiteral("0");
    PostingLine noDosage = cefazolin();
    noDosage.dosage.clear();

    QTest::newRow("closed account")
        << "closed" << procedure
        << "The patient's account has already been closed. \n\nIf you have transactions to make, "
           "please notify the Billing staff immediately for further instructions."
        << -1 << false;
    QTest::newRow("cleared by the OR")
        << "cleared" << procedure
        << "Patient is already cleared by (OR Department). If you have charges to make, please "
           "notify the Billing staff immediately for further instructions."
        << -1 << false;
    QTest::newRow("empty grid") << "" << QList<PostingLine>{}
                                << "Can't save a blank data. Please enter charges first." << -1
                                << false;
    QTest::newRow("blank lines") << "" << QList<PostingLine>{PostingLine(), PostingLine()}
                                 << "Can't save a blank data. Please enter charges first." << -1
                                 << false;
    QTest::newRow("quantity missing")
        << "" << QList<PostingLine>{procedure.first(), noQuantity}
        << "Please enter quantity to request for CEFAZOLIN 1 G VIAL." << 1 << false;
    QTest::newRow("no line with a code")
        << "" << QList<PostingLine>{departmentOnly}
        << "Can't save blank data. Please enter charges first." << -1 << false;
    QTest::newRow("duplicate item")
        << "" << QList<PostingLine>{procedure.first(), cefazolin(), procedure.first()}
        << "Please double-check list for duplicate items." << -1 << false;
    QTest::newRow("zero amount") << "zero" << QList<PostingLine>{cefazolin(), zero}
                                 << "Please check items with zero amount." << -1 << false;
    QTest::newRow("medicine without its dosage")
        << "dosage" << QList<PostingLine>{procedure.first(), noDosage}
        << "DOSAGE ID for CEFAZOLIN 1 G VIAL is empty. The system can't process the specified "
           "item."
        << -1 << true;
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
    const Binds id{{QStringLiteral("id"), p.f.session.CurrentPatient.IdNum}};
    if (setup == u"closed")
        QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient set BillingDate = getdate() "
                        u"where IDNum = :id",
                        id));
    if (setup == u"cleared")
        QVERIFY(db.exec(u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, "
                        u"RecordStatus, ClearDate) values (:id, 'OR', 'F', getdate())",
                        id));
    if (setup == u"zero")
        QVERIFY(p.switches({{QStringLiteral("NotifyZeroAmount"), QStringLiteral("1")}}));
    if (setup == u"dosage")
        QVERIFY(p.switches({{QStringLiteral("ORShowDosagePostMedicines"), QStringLiteral("1")}}));
    p.confirmAndSign();
    const Written before = written(p);

    const PostingOutcome outcome = p.posting.save(lines, QStringLiteral("OR"));
    QVERIFY(!outcome.saved());
    QCOMPARE(p.f.notifier.lastText(), message);
    QCOMPARE(outcome.quantityLine, quantityLine);
    QCOMPARE(p.f.dialogs.asked(), signs ? 1 : 0);
    const Written after = written(p);
    QVERIFY2(after == before, qPrintable(describe(before) + u" -> " + describe(after)));
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
    const Written before = written(p);

    const PostingOutcome outcome = p.posting.save(oneProcedure(), QStringLiteral("OR"));
    QCOMPARE(outcome.saved(), saved);
    QCOMPARE(p.f.dialogs.asked(), asked);
    const QList<test::RecordingNotifier::Box> &boxes = p.f.notifier.boxes();
    QVERIFY(!boxes.isEmpty());
    QCOMPARE(boxes.first().text,
             QStringLiteral("Please verify that the items entered are true and correct. \n\r"
                            "Do you want to proceed in saving these charges?"));
    QCOMPARE(boxes.first().title, QStringLiteral("Confirmation"));
    for (qsizetype i = 1; i < boxes.size(); ++i)
        QCOMPARE(boxes.at(i).text, QStringLiteral("Selected charges will not be saved. \n"
                                                  "Are you sure you want to save these charges?"));
    if (!saved) {
        QVERIFY(written(p) == before);
        return;
    }
    // The one who signed is recorded, not the one logged in.
    QCOMPARE(p.number(QStringLiteral("select count(*) from STATION..tbNurseLogBook "
                                     "where ReferenceNum = :slip and UserID = '2901'"),
                      {{QStringLiteral("slip"), outcome.chargeSlip}}),
             qint64(1));
}

void tst_ChargePosting::postsEveryRecordOfTheBatch()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(p.switches({{QStringLiteral("ORSupervisorEditAmountPostCharge"), QStringLiteral("1")}}));
    const QString id = p.f.session.CurrentPatient.IdNum;

    PostingLine procedure = oneProcedure().first();
    procedure.line.secondOperation = QStringLiteral("1");
    procedure.line.markupText = QStringLiteral("25%");
    procedure.line.arCode = QStringLiteral("AR-OR");
    PostingLine medicine = cefazolin();
    medicine.packageId = QStringLiteral("OPK-CIRC");
    PostingLine oxygen = chargeLine(QStringLiteral("OX"), QStringLiteral("OX5001"),
                                    QStringLiteral("OXYGEN PER 100 PSI"), QStringLiteral("150"),
                                    QStringLiteral("300"));
    oxygen.psiFlag = QStringLiteral("1");
    oxygen.tankNumber = QStringLiteral("T-0457");
    oxygen.initialReading = QStringLiteral("1500");
    oxygen.lastReading = QStringLiteral("1350");
    PostingLine edited = chargeLine(QStringLiteral("OE"), QStringLiteral("OE2001"),
                                    QStringLiteral("ELECTROCAUTERY MACHINE"), QStringLiteral("1"),
                                    QStringLiteral("1200"));
    edited.line.listPrice = QStringLiteral("1500");
    const qint64 stockBefore = onHand(p, QStringLiteral("PH1001"), QStringLiteral("PHA"));
    p.confirmAndSign();

    const PostingOutcome outcome =
        p.posting.save({procedure, medicine, oxygen, edited}, QStringLiteral("OR"));
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    const Binds slip{{QStringLiteral("slip"), outcome.chargeSlip}, {QStringLiteral("id"), id}};
    QCOMPARE(p.postingPrompts.asked, 1);

    // Every line in the logbook under the slip, signed by the validated user.
    auto lines = db.select(u"select ItemID, UserID, RequestingDoctorID, RequestingDoctorName, "
                           u"ARCode, Markup, isSecORProc, ChargeDepartment, PackageID, "
                           u"RecordStatus from STATION..tbNurseLogBook where ReferenceNum = :slip "
                           u"and IDNum = :id order by LogBookID",
                           slip);
    QVERIFY(lines);
    QCOMPARE(lines->count(), 4);
    QCOMPARE(lines->at(0).trimmed(u"ItemID"), QStringLiteral("OR1013"));
    QCOMPARE(lines->at(0).trimmed(u"RequestingDoctorID"), QStringLiteral("1102"));
    QCOMPARE(lines->at(0).trimmed(u"RequestingDoctorName"), QStringLiteral("NEPOMUCENO, ALFREDO"));
    QCOMPARE(lines->at(0).trimmed(u"ARCode"), QStringLiteral("AR-OR"));
    QCOMPARE(lines->at(0).trimmed(u"Markup"), QStringLiteral("25%"));
    QCOMPARE(lines->at(0).trimmed(u"isSecORProc"), QStringLiteral("1"));
    QCOMPARE(lines->at(1).trimmed(u"isSecORProc"), QString());
    QCOMPARE(lines->at(1).trimmed(u"PackageID"), QStringLiteral("OPK-CIRC"));
    for (const Row &r : *lines) {
        QCOMPARE(r.trimmed(u"UserID"), QStringLiteral("2901"));
        QCOMPARE(r.trimmed(u"ChargeDepartment"), QStringLiteral("OR"));
        QCOMPARE(r.text(u"RecordStatus"), QString());
    }

    // The medicine left its stock, stamped with its package; services did not touch stock.
    auto card = db.select(u"select ItemID, LocationID, Quantity, TransType, PackageID "
                          u"from INVENTORY..tbInvStockCard where RefNum = :slip and IDNum = :id",
                          slip);
    QVERIFY(card);
    QCOMPARE(card->count(), 1);
    QCOMPARE(card->at(0).trimmed(u"ItemID"), QStringLiteral("PH1001"));
    QCOMPARE(card->at(0).trimmed(u"LocationID"), QStringLiteral("PHA"));
    QCOMPARE(card->at(0).number(u"Quantity"), 2.0);
    QCOMPARE(card->at(0).trimmed(u"TransType"), QStringLiteral("I"));
    QCOMPARE(card->at(0).trimmed(u"PackageID"), QStringLiteral("OPK-CIRC"));
    QCOMPARE(onHand(p, QStringLiteral("PH1001"), QStringLiteral("PHA")), stockBefore - 2);

    QCOMPARE(p.number(QStringLiteral("select count(*) from STATION..tbORChargePrint where "
                                     "ChargeSlip = :slip and IDNum = :id and HostName = "
                                     "'OR-TEST-01'"),
                      slip),
             qint64(4));
    QCOMPARE(p.number(QStringLiteral("select count(*) from STATION..tbORChargeSlipIssued where "
                                     "ChargeSlip = :slip and IDNum = :id"),
                      slip),
             qint64(1));
    auto tank = db.selectOne(u"select TankNum, InitialR, LastR, ItemID from INVENTORY..tbCSROxygen "
                             u"where RefNum = :slip and IDNum = :id",
                             slip);
    QVERIFY(tank && *tank);
    QCOMPARE((*tank)->trimmed(u"TankNum"), QStringLiteral("T-0457"));
    QCOMPARE((*tank)->number(u"InitialR"), 1500.0);
    QCOMPARE((*tank)->number(u"LastR"), 1350.0);
    auto supervisor = db.select(u"select ItemID, ListPrice, UnitPrice, Reason, SupervisorID "
                                u"from STATION..tbSupervisorTransaction where RefNum = :slip "
                                u"and IDNum = :id",
                                slip);
    QVERIFY(supervisor);
    QCOMPARE(supervisor->count(), 1);
    QCOMPARE(supervisor->at(0).trimmed(u"ItemID"), QStringLiteral("OE2001"));
    QCOMPARE(supervisor->at(0).money(u"ListPrice"), Money::fromMinor(15000000));
    QCOMPARE(supervisor->at(0).money(u"UnitPrice"), Money::fromMinor(12000000));
    QCOMPARE(supervisor->at(0).trimmed(u"Reason"), QStringLiteral("Editing of Unit Price"));
    QCOMPARE(supervisor->at(0).trimmed(u"SupervisorID"), QStringLiteral("2901"));
}

void tst_ChargePosting::failureMidBatchLeavesNothing_data()
{
    QTest::addColumn<QString>("failure");
    QTest::addColumn<int>("failingCall");
    QTest::addColumn<bool>("saved");
    QTest::addColumn<int>("calls");

    // The second line's logbook call is refused, after the first line's stock and logbook.
    QTest::newRow("refused") << "The charge was refused." << 2 << false << 2;
    // A batch that lost a race is tried again whole, under the next attempt's number.
    QTest::newRow("lost a race") << "database is locked" << 2 << true << 5;
}

void tst_ChargePosting::failureMidBatchLeavesNothing()
{
    QFETCH(QString, failure);
    QFETCH(int, failingCall);
    QFETCH(bool, saved);
    QFETCH(int, calls);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    auto counted = std::make_shared<int>(0);
    db.setProcedures(failingCharging(
        failure, [failingCall](int call) { return call == failingCall; }, counted));
    p.confirmAndSign();
    const Written before = written(p);
    const QList<PostingLine> lines{cefazolin(), oneProcedure().first(),
                                   chargeLine(QStringLiteral("OE"), QStringLiteral("OE2001"),
                                              QStringLiteral("ELECTROCAUTERY MACHINE"),
                                              QStringLiteral("1"), QStringLiteral("1500"))};

    const PostingOutcome outcome = p.posting.save(lines, QStringLiteral("OR"));
    QCOMPARE(outcome.saved(), saved);
    QCOMPARE(*counted, calls);
    const Written after = written(p);
    if (!saved) {
        QCOMPARE(outcome.status, PostingOutcome::Status::Failed);
        QCOMPARE(p.f.notifier.lastText(), Notifier::errorBoxText(failure));
        QVERIFY2(after == before, qPrintable(describe(before) + u" -> " + describe(after)));
        return;
    }
    // One number used, one line each, one stock movement: the failed attempt left nothing.
    QCOMPARE(outcome.chargeSlip, QStringLiteral("C%1O").arg(before.counter));
    QCOMPARE(after.counter, before.counter + 1);
    QCOMPARE(after.logbook, before.logbook + 3);
    QCOMPARE(after.stockCard, before.stockCard + 1);
    QCOMPARE(after.issued, before.issued + 1);
    QCOMPARE(after.onHand, before.onHand - 2);
}

void tst_ChargePosting::stationWithoutCounter()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(db.exec(u"delete from STATION..tbORChargeSlip where StationID = 'OR'"));
    p.confirmAndSign();
    const Written before = written(p);

    const PostingOutcome outcome =
        p.posting.save({cefazolin(), oneProcedure().first()}, QStringLiteral("OR"));
    QVERIFY(!outcome.saved());
    QCOMPARE(p.f.notifier.lastText(),
             QStringLiteral("No chargeslip sequence number set for Station OR"));
    QVERIFY(written(p) == before);
}

void tst_ChargePosting::printsTheSlip_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<bool>("noPreprinted");
    QTest::addColumn<bool>("printing");
    QTest::addColumn<bool>("preprintedAnswer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<QString>("telltale");

    QTest::newRow("not printed") << "" << false << false << true << false << "";
    QTest::newRow("preprinted form") << "" << false << true << true << true << "";
    QTest::newRow("blank paper chosen") << "" << false << true << false << true << "Received by:";
    QTest::newRow("no preprinted forms") << "" << true << true << true << false << "Received by:";
    QTest::newRow("discount slip") << "QELM" << false << true << true << false
                                   << "Discount approved by:";
}

void tst_ChargePosting::printsTheSlip()
{
    QFETCH(QString, client);
    QFETCH(bool, noPreprinted);
    QFETCH(bool, printing);
    QFETCH(bool, preprintedAnswer);
    QFETCH(bool, asked);
    QFETCH(QString, telltale);
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    p.f.session.hospital.clientname = client;
    p.f.session.hospital.ORNoPreprinted = noPreprinted;
    p.f.session.hospital.IsPrintChargeSlip = printing;
    p.f.notifier.answer({true, preprintedAnswer});
    p.f.dialogs.sign(QStringLiteral("2901"));

    const PostingOutcome outcome =
        p.posting.save({oneProcedure().first(), cefazolin()}, QStringLiteral("OR"));
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    const QString question =
        QStringLiteral("Print Charge Slip! [YES] Preprinted Form [NO] Blank Paper");
    const bool questioned = std::any_of(p.f.notifier.boxes().cbegin(), p.f.notifier.boxes().cend(),
                                        [&](const auto &b) { return b.text == question; });
    QCOMPARE(questioned, asked);
    if (!printing) {
        QVERIFY(p.display.shown().isEmpty());
        return;
    }
    QCOMPARE(p.display.shown().size(), 1);
    QCOMPARE(p.display.shown().first().options.title, QStringLiteral("Print ChargeSlip"));
    const QString page = lastPage(p.display);
    for (const QString &form : {QStringLiteral("Received by:"),
                                QStringLiteral("Discount approved by:")})
        QCOMPARE(page.contains(form), form == telltale);
    QVERIFY(page.contains(outcome.chargeSlip));
    QVERIFY(page.contains(QStringLiteral("ORIGINAL COPY")));
    QVERIFY(page.contains(QStringLiteral("(2901) SIGNER 2901")));
    QVERIFY(page.contains(QStringLiteral("INCISION AND DRAINAGE OF ABSCESS")));
    QVERIFY(page.contains(QStringLiteral("CEFAZOLIN 1 G VIAL")));
    QVERIFY(page.contains(QStringLiteral("3,870.00")));
    const CurrentPatientRecord &stay = p.f.session.CurrentPatient;
    const QRegularExpression patient(QRegularExpression::escape(stay.PatientName) +
                                     QStringLiteral(" / [0-9]+ / ") +
                                     QRegularExpression::escape(stay.Sex));
    QVERIFY2(page.contains(patient), qPrintable(patient.pattern()));
}

void tst_ChargePosting::reprintsAPostedSlip()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    p.confirmAndSign();
    const PostingOutcome outcome =
        p.posting.save({oneProcedure().first(), cefazolin()}, QStringLiteral("OR"));
    QVERIFY2(outcome.saved(), qPrintable(p.f.notifier.lastText()));
    QVERIFY(p.display.shown().isEmpty());
    // The medicine was revoked since; the reprint leaves it out.
    QVERIFY(db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' "
                    u"where ReferenceNum = :slip and ItemID = 'PH1001'",
                    {{QStringLiteral("slip"), outcome.chargeSlip}}));
    p.f.notifier.clear();
    p.f.notifier.answer({false});

    p.posting.reprint(outcome.chargeSlip, p.f.session.CurrentPatient);
    QCOMPARE(p.f.notifier.boxes().size(), 1);
    QCOMPARE(p.f.notifier.lastText(),
             QStringLiteral("Reprint Charge Slip! [YES] Preprinted Form [NO] Blank Paper"));
    QCOMPARE(p.f.notifier.boxes().first().title, QStringLiteral("Notification"));
    QCOMPARE(p.display.shown().size(), 1);
    QCOMPARE(p.display.shown().first().options.title, QStringLiteral("Reprint ChargeSlip"));
    const QString page = lastPage(p.display);
    QVERIFY(page.contains(QStringLiteral("REPRINTED COPY")));
    QVERIFY(page.contains(QStringLiteral("Received by:")));
    QVERIFY(page.contains(QStringLiteral("(2902) TEST, USER 2902")));
    QVERIFY(page.contains(QStringLiteral("INCISION AND DRAINAGE OF ABSCESS")));
    QVERIFY(!page.contains(QStringLiteral("CEFAZOLIN")));
    QVERIFY(page.contains(QStringLiteral("3,500.00")));
}

void tst_ChargePosting::sequenceMovesPastUsedNumbers()
{
    KESTREL_OPEN_DEMO(db);
    PostingFixture p(db);
    QVERIFY(setCounters(db, 4321, 1, 1));
    ChargeSlipVerification sequence(p.f.session);
    QVERIFY(sequence.load());
    QCOMPARE(sequence.chargeSlip(), QStringLiteral("4321"));
    QCOMPARE(sequence.station(), QStringLiteral("OR"));
    QVERIFY(!ChargeSlipVerification::canSave(QString()));
    QVERIFY(!ChargeSlipVerification::canSave(QStringLiteral("50A")));
    QVERIFY(db.exec(u"insert into BILLING..tbCashAssessment (RefNum) values ('C5000O')"));
    QVERIFY(db.exec(u"insert into INVENTORY..tbInvStockCard (RefNum) values ('C5001O')"));

    QCOMPARE(sequence.save(QStringLiteral("5000")), std::optional<qint64>(5002));
    QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Available Charge Slip Number : 5002"));
    QCOMPARE(p.counter(u"ChargeSlip"), qint64(5002));
    // Other stations keep their own counters.
    QCOMPARE(p.number(QStringLiteral("select ChargeSlip from STATION..tbORChargeSlip "
                                     "where StationID = 'ER'")),
             qint64(7342));
}

QTEST_MAIN(tst_ChargePosting)
#include "tst_chargeposting.moc"
