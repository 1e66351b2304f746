// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The discharge order's case rates: the fee shares of first and second case rates, what a clerk
// types as an amount, tagging and the doctors' minimums on the demo hospital's packages, every
// refusal of save and send leaving the stored order as it was, the order sent and revoked, and
// a send and a revoke from two workstations at once.
#include "caserates/DischargeOrder.h"
#include "caserates/ui/frmHBPS.h"
#include "caserates/ui/frmHBPSCaseRate.h"
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QLabel>
#include <QPlainTextEdit>
#include <QTableWidget>
#include <QTest>

#include <array>
#include <latch>
#include <thread>
#include <vector>

using namespace kestrel;
using namespace kestrel::caserates;
using namespace kestrel::test;

namespace {

qint64 count(Database &db, QStringView sql, const QString &idNum)
{
    return db.scalar(sql, {{QStringLiteral("id"), idNum}}).value().toLongLong();
}

// Everything stored of a stay's order, to tell "nothing was written" from a half write.
QString storedOrder(Database &db, const QString &idNum)
{
    return QStringLiteral("%1 lines, %2 fees, %3 diagnoses, %4 notices %5")
        .arg(count(db, u"select count(*) from STATION..tbPxICDRVS where IDNum = :id", idNum))
        .arg(count(db, u"select count(*) from STATION..tbNurseProfFees where IDNum = :id", idNum))
        .arg(count(db, u"select count(*) from PATIENT_DATA..tbPatientDiagnosis where IDNum = :id",
                   idNum))
        .arg(count(db, u"select count(*) from STATION..tbNurseDischargeNotice where IDNum = :id",
                   idNum))
        .arg(db.scalar(u"select max(RecordStatus) from STATION..tbNurseDischargeNotice "
                       u"where IDNum = :id",
                       {{QStringLiteral("id"), idNum}})
                 .value()
                 .toString());
}

// The demo stay whose order bills an appendectomy and diabetes, with nothing left pending.
QString demoOrderStay(Database &db)
{
    const QString idNum =
        db.scalar(u"select min(IDNum) from STATION..tbPxICDRVS").value().toString();
    for (QStringView sql : {u"delete from LABORATORY..tbLabResult where IdNum = :id",
                            u"delete from STATION..tbNurseDiagResult where IdNum = :id",
                            u"delete from STATION..tbNurseCommunicationfile where IDNum = :id",
                            u"delete from STATION..tbNurseDischargeInstructions where IDNum = :id",
                            u"insert into STATION..tbNurseDischargeInstructions (IDNum, "
                            u"Instructions) values (:id, 'Keep the wound dry for a week.')"})
        db.exec(sql, {{QStringLiteral("id"), idNum}}).value();
    return idNum;
}

int lineOf(const DischargeOrder &order, const QString &code)
{
    for (int i = 0; i < order.order().lines.size(); ++i) {
        if (order.order().lines.at(i).code() == code)
            return i;
    }
    return -1;
}

} // namespace

class tst_CaseRates : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addBackendRows(); }
    void feeShares_data();
    void feeShares();
    void typedAmount_data();
    void typedAmount();

    void tagging_data();
    void tagging();
    void refusals_data();
    void refusals();
    void sentAndRevoked();
    void revokeRetainingData_data();
    void revokeRetainingData();
    void sendRacesRevoke();
    void windows();
};

void tst_CaseRates::feeShares_data()
{
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("pf");
    QTest::addColumn<double>("caseRatePercent");
    QTest::addColumn<double>("hciPercent");
    QTest::addColumn<double>("pfPercent");
    QTest::addColumn<int>("caseRate");
    QTest::addColumn<QString>("hospital");
    QTest::addColumn<QString>("professional");

    QTest::newRow("first case rate: the amount less the doctors' part")
        << "10000" << "3000" << 50.0 << 35.0 << 15.0 << 1 << "7000" << "3000";
    QTest::newRow("second at half: the percentages of the amount")
        << "10000" << "3000" << 50.0 << 35.0 << 15.0 << 2 << "3500" << "1500";
    QTest::newRow("second at 100: like the first")
        << "10000" << "3000" << 100.0 << 35.0 << 15.0 << 2 << "7000" << "3000";
    QTest::newRow("second at 60 is not half: like the first")
        << "10000" << "3000" << 60.0 << 35.0 << 15.0 << 2 << "7000" << "3000";
    QTest::newRow("untagged line counted as first")
        << "24000" << "9600" << 50.0 << 30.0 << 20.0 << 0 << "14400" << "9600";
    QTest::newRow("empty percentages read as 100: second pays it all")
        << "8000" << "2400" << 50.0 << 100.0 << 100.0 << 2 << "8000" << "8000";
    QTest::newRow("centavos kept exactly")
        << "14333.33" << "4299.99" << 50.0 << 35.0 << 15.0 << 2 << "5016.6655" << "2149.9995";
    QTest::newRow("package without amounts") << "0" << "0" << 50.0 << 35.0 << 15.0 << 2 << "0"
                                             << "0";
}

void tst_CaseRates::feeShares()
{
    QFETCH(QString, amount);
    QFETCH(QString, pf);
    QFETCH(double, caseRatePercent);
    QFETCH(double, hciPercent);
    QFETCH(double, pfPercent);
    QFETCH(int, caseRate);
    QFETCH(QString, hospital);
    QFETCH(QString, professional);
    Package p;
    p.amount = *Money::parse(amount);
    p.professionalFee = *Money::parse(pf);
    p.caseRatePercentage = caseRatePercent;
    p.hospitalPercentage = hciPercent;
    p.professionalPercentage = pfPercent;
    const FeeShares got = caserates::feeShares(p, CaseRate(caseRate));
    QCOMPARE(got.hospital.toString(), hospital);
    QCOMPARE(got.professional.toString(), professional);
}

void tst_CaseRates::typedAmount_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("amount"); // "" when refused

    QTest::newRow("thousands separators") << "12,500" << "12500";
    QTest::newRow("blanks around") << " 3000 " << "3000";
    QTest::newRow("nothing typed is zero") << "" << "0";
    QTest::newRow("decimals") << "1,234.50" << "1234.5";
    QTest::newRow("badly grouped") << "1,5" << "";
    QTest::newRow("letters") << "abc" << "";
}

void tst_CaseRates::typedAmount()
{
    QFETCH(QString, typed);
    QFETCH(QString, amount);
    const std::optional<Money> got = caserates::typedAmount(typed);
    QCOMPARE(got ? got->toString() : QString(), amount);
}

void tst_CaseRates::tagging_data()
{
    QTest::addColumn<QStringList>("steps"); // "+code", "1:code", "2:code", "-:code"
    QTest::addColumn<QString>("message");   // the last box, "" for none
    QTest::addColumn<QString>("totalHospital");
    QTest::addColumn<QString>("totalProfessional");
    QTest::addColumn<QString>("minimum1");
    QTest::addColumn<QString>("minimum2");

    // The demo's packages: appendectomy 24,000 (40 % to the doctors, second at 30/20), type 2
    // diabetes 14,000 (30 %, second at 35/15), caesarean section 19,000 without second.
    QTest::newRow("saved order: operation first, diabetes second")
        << QStringList() << "" << "19300" << "11700" << "9600" << "2100";
    QTest::newRow("untag the second")
        << QStringList{"-:E11.9"} << "" << "14400" << "9600" << "9600" << "0";
    QTest::newRow("retagging first moves the tag")
        << QStringList{"1:E11.9"} << "" << "9800" << "4200" << "4200" << "0";
    QTest::newRow("no second case rate for a caesarean section")
        << QStringList{"+59510", "2:59510"}
        << "CAESAREAN SECTION WITH ROUTINE OBSTETRIC CARE is not allowed for PHIC Second Case "
           "Rate."
        << "19300" << "11700" << "9600" << "2100";
    QTest::newRow("a diagnosis without case rate adds no fee")
        << QStringList{"+K80.2", "2:K80.2"} << "" << "14400" << "9600" << "9600" << "0";
    QTest::newRow("the same diagnosis twice")
        << QStringList{"+E11.9"} << "E11.9 is already a final diagnosis of this order."
        << "19300" << "11700" << "9600" << "2100";
    QTest::newRow("an invalid ICD")
        << QStringList{"+Q99.X"} << "Q99.X is an invalid ICD. Please double-check the code."
        << "19300" << "11700" << "9600" << "2100";
}

void tst_CaseRates::tagging()
{
    QFETCH(QStringList, steps);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture fixture(db, QStringLiteral("2901"));
    DischargeOrder order(fixture.session);
    QVERIFY(order.open(demoOrderStay(db)));

    for (const QString &step : std::as_const(steps)) {
        const QString code = step.section(u':', 1);
        if (step.startsWith(u'+'))
            code.isEmpty() && step.mid(1).at(0).isDigit()
                ? order.addOperation(step.mid(1), QDate(2026, 12, 1))
                : order.addDiagnosis(step.mid(1));
        else if (step.startsWith(u'-'))
            order.untag(lineOf(order, code));
        else
            order.tag(lineOf(order, code), CaseRate(step.left(1).toInt()));
    }
    QCOMPARE(fixture.notifier.lastText(), message);
    QTEST(order.totalHospitalFee().toString(), "totalHospital");
    QTEST(order.totalProfessionalFee().toString(), "totalProfessional");
    QTEST(order.minimumFor(DoctorGroup::CaseRate1).toString(), "minimum1");
    QTEST(order.minimumFor(DoctorGroup::CaseRate2).toString(), "minimum2");
}

void tst_CaseRates::refusals_data()
{
    QTest::addColumn<QString>("change");
    QTest::addColumn<bool>("sending");
    QTest::addColumn<QString>("message");

    QTest::newRow("save: a second case rate without a first")
        << "untag first" << false << "Please tag PHIC First Case Rate.";
    QTest::newRow("send: a second case rate without a first")
        << "untag first" << true << "Please tag PHIC First Case Rate.";
    QTest::newRow("send: no final diagnosis")
        << "no diagnoses" << true
        << "Patient's final diagnosis must be entered before sending discharge order.";
    QTest::newRow("send: no doctors")
        << "no doctors" << true
        << "Professional fees must be entered before sending discharge order.";
    QTest::newRow("send: case rate 1 doctor paid below the minimum")
        << "fee 9,599" << true
        << "The total amount for 'Case Rate 1 Doctor' must not be less than 9,600.";
    QTest::newRow("send: pending requests")
        << "pending request" << true
        << "You can't send discharge order at this time. There are still pending requests.\n\n"
           "Please cancel pending requests first or notify concerned cost centers to process "
           "requests for this patient.";
    QTest::newRow("send: no discharge instructions")
        << "no instructions" << true
        << "Please complete discharge instructions for the patient before sending discharge "
           "order.";
    QTest::newRow("save: benefits already computed")
        << "benefits computed" << false
        << "Sorry, transaction will not proceed. PhilHealth benefits of %1 was already computed. "
           "Please contact the Billing department.";
    QTest::newRow("save: nobody signs")
        << "nobody signs" << false
        << "Are you sure you want to save discharge order information?\r\nYou have entered "
           "invalid user information.";
}

void tst_CaseRates::refusals()
{
    QFETCH(QString, change);
    QFETCH(bool, sending);
    QFETCH(QString, message);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture fixture(db, QStringLiteral("2901"));
    const QString idNum = demoOrderStay(db);
    const QString before = storedOrder(db, idNum);
    DischargeOrder order(fixture.session);
    QVERIFY(order.open(idNum));

    if (change == u"untag first") {
        order.untag(lineOf(order, QStringLiteral("44950")));
    } else if (change == u"no diagnoses") {
        order.removeLine(lineOf(order, QStringLiteral("K35.8")));
        order.removeLine(lineOf(order, QStringLiteral("E11.9")));
    } else if (change == u"no doctors") {
        for (DoctorGroup g : {DoctorGroup::Others, DoctorGroup::CaseRate1, DoctorGroup::CaseRate2})
            order.removeDoctor(g, 0);
    } else if (change.startsWith(u"fee ")) {
        QVERIFY(order.setDoctorFee(DoctorGroup::CaseRate1, 0, change.mid(4)));
    } else if (change == u"pending request") {
        db.exec(u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, RecordStatus)"
                u" values ('RQ-TEST', :id, '')",
                {{QStringLiteral("id"), idNum}})
            .value();
    } else if (change == u"no instructions") {
        db.exec(u"delete from STATION..tbNurseDischargeInstructions where IDNum = :id",
                {{QStringLiteral("id"), idNum}})
            .value();
    } else if (change == u"benefits computed") {
        db.exec(u"insert into MEDICARE..tbMedActual (IDNum) values (:id)",
                {{QStringLiteral("id"), idNum}})
            .value();
        message = message.arg(order.patientName());
    }
    if (change != u"nobody signs")
        fixture.dialogs.sign(QStringLiteral("2901"));
    fixture.notifier.answer({true});

    QVERIFY(!(sending ? order.send() : order.save()));
    bool shown = false;
    for (const auto &box : fixture.notifier.boxes())
        shown = shown || box.text == message;
    QVERIFY2(shown, qPrintable(fixture.notifier.lastText()));
    QCOMPARE(storedOrder(db, idNum), before);
}

void tst_CaseRates::sentAndRevoked()
{
    {
        KESTREL_OPEN_DEMO(db);
        MainWindowFixture fixture(db, QStringLiteral("2901"));
        const QString idNum = demoOrderStay(db);
        DischargeOrder order(fixture.session);
        QVERIFY(order.open(idNum));
        QVERIFY(order.addOperation(QStringLiteral("49505"), QDate(2026, 12, 2)));
        QVERIFY(order.addDoctor(DoctorGroup::Others, QStringLiteral("1024")));
        QVERIFY(order.setDoctorFee(DoctorGroup::Others, 1, QStringLiteral("5,000")));

        fixture.notifier.answer({true});
        fixture.dialogs.sign(QStringLiteral("2901"));
        QVERIFY2(order.send(), qPrintable(fixture.notifier.lastText()));
        QCOMPARE(storedOrder(db, idNum), QStringLiteral("4 lines, 4 fees, 2 diagnoses, 1 notices F"));
        QCOMPARE(db.scalar(u"select count(*) from PATIENT_DATA..tbPatientDiagnosis "
                           u"where IDNum = :id and PrimaryDiagnosis = 'Y' and DiagnosisID = 'K35.8'",
                           {{QStringLiteral("id"), idNum}})
                     .value()
                     .toInt(),
                 1);
        QCOMPARE(db.scalar(u"select sum(PF) from STATION..tbNurseProfFees where IDNum = :id",
                           {{QStringLiteral("id"), idNum}})
                     .value()
                     .toDouble(),
                 9600.0 + 2100.0 + 3000.0 + 5000.0);

        // Sent: frozen until revoked.
        DischargeOrder again(fixture.session);
        QVERIFY(again.open(idNum));
        QVERIFY(again.isSent());
        QVERIFY(!again.untag(lineOf(again, QStringLiteral("44950"))));
        QCOMPARE(fixture.notifier.lastText(),
                 QStringLiteral("Sorry, discharge order was already sent. You can no longer "
                                "modify the data."));

        fixture.notifier.answer({true});
        fixture.dialogs.sign(QStringLiteral("2901"));
        QVERIFY(again.revoke());
        QCOMPARE(fixture.notifier.lastText(),
                 QStringLiteral("Discharge order was successfully revoked."));
        QCOMPARE(storedOrder(db, idNum), QStringLiteral("0 lines, 0 fees, 0 diagnoses, 0 notices "));
    }
}

void tst_CaseRates::revokeRetainingData_data()
{
    QTest::addColumn<bool>("retain");
    QTest::addColumn<QString>("stored");
    QTest::newRow("off: the diagnoses, operations and fees go with the notice")
        << false << QStringLiteral("0 lines, 0 fees, 0 diagnoses, 0 notices ");
    QTest::newRow("on: they stay for the next order, the notice goes")
        << true << QStringLiteral("3 lines, 3 fees, 2 diagnoses, 0 notices ");
}

void tst_CaseRates::revokeRetainingData()
{
    QFETCH(bool, retain);
    QFETCH(QString, stored);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture fixture(db, QStringLiteral("2901"));
    if (retain) {
        QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values "
                        u"('RetainDataRevokeDischarge', '1')"));
        fixture.session.settings.LoadParameters(db, fixture.session.hospital);
    }
    const QString idNum = demoOrderStay(db);
    DischargeOrder order(fixture.session);
    QVERIFY(order.open(idNum));
    fixture.dialogs.sign(QStringLiteral("2901"));
    QVERIFY2(order.save(), qPrintable(fixture.notifier.lastText()));
    fixture.notifier.answer({true});
    fixture.dialogs.sign(QStringLiteral("2901"));
    QVERIFY(order.revoke());
    QCOMPARE(storedOrder(db, idNum), stored);
    // The question says what goes; the reopened order shows what stayed.
    const QString asked = fixture.notifier.boxes().at(fixture.notifier.boxes().size() - 2).text;
    QCOMPARE(asked.startsWith(u"Revoking discharge order will also delete"), !retain);
    QCOMPARE(order.order().lines.size(), retain ? 3 : 0);
    QVERIFY(!order.order().notice.exists);
}

void tst_CaseRates::sendRacesRevoke()
{
    KESTREL_OPEN_DEMO(db);
    const ConnectionSettings shared = (*dbResult)->settings();
    const QString idNum = demoOrderStay(db);
    DischargeOrderStore store(db);
    auto order = store.load(idNum);
    QVERIFY(order);
    SaveRequest request;
    request.employeeCode = QStringLiteral("2901");
    request.ordered = QDateTime(QDate(2026, 12, 6), QTime(9, 0));
    const QString sentWhole = QStringLiteral("3 lines, 3 fees, 2 diagnoses, 1 notices F");
    const QString revokedWhole = QStringLiteral("0 lines, 0 fees, 0 diagnoses, 0 notices ");
    QSet<QString> seen;
    for (int round = 0; round < 6; ++round) {
        // Saved, not sent; then one workstation sends while another revokes, each on its own
        // connection.
        QVERIFY(store.revoke(idNum, request.employeeCode));
        request.final = false;
        QCOMPARE(store.save(*order, request).value(), WriteOutcome::Done);
        std::latch start(2);
        std::array<Result<WriteOutcome>, 2> outcome;
        std::vector<std::thread> workstations;
        for (int w = 0; w < 2; ++w)
            workstations.emplace_back([&, w] {
                auto own = Database::open(shared);
                start.arrive_and_wait();
                if (!own) {
                    outcome[std::size_t(w)] = tl::unexpected(own.error());
                    return;
                }
                (*own)->setProcedures(hospitaldb::hospitalProcedures());
                DischargeOrderStore station(**own);
                SaveRequest send = request;
                send.final = true;
                outcome[std::size_t(w)] = w == 0 ? station.save(*order, send)
                                                 : station.revoke(idNum, QStringLiteral("2902"));
            });
        for (std::thread &t : workstations)
            t.join();
        for (const auto &o : outcome) {
            QVERIFY2(o, qPrintable(o ? QString() : o.error().message));
            // Whichever came first, the other saw all of it and did all of its own.
            QCOMPARE(*o, WriteOutcome::Done);
        }
        const QString stored = storedOrder(db, idNum);
        QVERIFY2(stored == sentWhole || stored == revokedWhole, qPrintable(stored));
        seen.insert(stored);
    }
    qInfo() << "orders seen after the race:" << seen;
}

void tst_CaseRates::windows()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture fixture(db, QStringLiteral("2901"));
    const QString idNum = demoOrderStay(db);
    frmHBPSCaseRate order(fixture.session);
    QVERIFY(order.open(idNum));
    auto *diagnoses = order.findChild<QTableWidget *>(QStringLiteral("mshflxICD"));
    auto *operations = order.findChild<QTableWidget *>(QStringLiteral("flxRVS"));
    QVERIFY(diagnoses && operations);
    QCOMPARE(diagnoses->rowCount(), 2);
    QCOMPARE(operations->rowCount(), 1);
    // The appendectomy is the first case rate (light green), the diabetes the second.
    QCOMPARE(operations->item(0, 4)->text(), QStringLiteral("14,400"));
    QCOMPARE(operations->item(0, 0)->background().color(), QColor(0xC0, 0xFF, 0xC0));
    QCOMPARE(diagnoses->item(1, 5)->text(), QStringLiteral("2,100"));
    QCOMPARE(diagnoses->item(1, 0)->background().color(), QColor(0xC0, 0xFF, 0xFF));
    QCOMPARE(order.findChild<QLabel *>(QStringLiteral("lblHF"))->text(), QStringLiteral("19,300"));
    order.presenter().untag(order.presenter().diagnosisLines().at(1));
    QCOMPARE(order.findChild<QLabel *>(QStringLiteral("lblPF"))->text(), QStringLiteral("9,600"));
    QCOMPARE(diagnoses->item(1, 0)->background().style(), Qt::NoBrush);

    frmHBPS simple(fixture.session);
    QVERIFY(simple.open(idNum));
    QVERIFY(simple.findChild<QPlainTextEdit *>(QStringLiteral("txtRemarks"))
                ->toPlainText()
                .startsWith(u"For discharge"));
}

QTEST_MAIN(tst_CaseRates)
#include "tst_caserates.moc"
