// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Cash, walk-in and clinical assessments on the demo hospital: lines entered through the charge
// window's entry rules, the refusals before anything is written, the assessment number drawn
// with its lines in one transaction, the printed slip's total, reprint and revoke with their
// refusals, and two workstations drawing assessment numbers at once.
#include "assessment/AssessmentEntry.h"
#include "assessment/AssessmentSlipPrinter.h"
#include "assessment/CashCreditMemo.h"
#include "assessment/ClinicalRemarks.h"
#include "assessment/ui/frmAssessment.h"
#include "charging/ChargingFixture.h"
#include "core/db/NumberFormat.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QPushButton>
#include <QSet>
#include <QTest>

#include <latch>
#include <thread>

using namespace kestrel;
using namespace kestrel::test;
using namespace Qt::StringLiterals;

namespace {

using Column = ChargeEntryLine::Column;

const QString kWalkIn = u"DELA ROSA, MARIO"_s;

/// The charge window's fixture with an assessment window of `kind` in place of the charge
/// window, printing its slips on the recording display.
struct AssessmentFixture : ChargeEntryFixture
{
    AssessmentFixture(Database &database, AssessmentKind kind)
        : ChargeEntryFixture(database)
        , assessment(f.session, kind, {&lookup, &picker, &drugList, nullptr}, chargePrompts,
                     prompts)
    {
        assessment.setPrinter(&slips);
    }
    bool openWalkIn(const QString &name = kWalkIn)
    {
        if (!assessment.open({}))
            return false;
        assessment.setPatientName(name);
        return true;
    }
    CellAnswer enter(int row, const QString &department, const QString &item,
                     const QString &quantity)
    {
        if (assessment.acceptCell({row, Column::Department}, department) != CellAnswer::Accept)
            return CellAnswer::RefuseAndKeep;
        pickList.codes.enqueue(item);
        const CellAnswer answer = assessment.acceptCell({row, Column::Item}, item);
        if (answer != CellAnswer::Accept || quantity.isEmpty())
            return answer;
        return assessment.acceptCell({row, Column::Quantity}, quantity);
    }
    /// Where the window lists assessment `number`; -1 when it does not.
    int listed(const QString &number) const
    {
        const QList<AssessmentSummary> &list = assessment.assessments();
        for (int i = 0; i < list.size(); ++i) {
            if (list.at(i).number == number)
                return i;
        }
        return -1;
    }
    QString printed() const
    {
        const auto report = display.last();
        return report ? report->html() + report->footerHtml(1) : QString();
    }

    AssessmentSlipPrinter slips{f.session, reports};
    AssessmentEntry assessment;
};

qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

QString written(Database &db)
{
    return u"%1/%2/%3"_s.arg(count(db, u"select count(*) from STATION..tbORAssessment"_s))
        .arg(count(db, u"select count(*) from BILLING..tbCashAssessment"_s))
        .arg(count(db, u"select sum(AssessNum + ChargeSlip) from STATION..tbORChargeSlip"_s));
}

} // namespace

class tst_Assessment : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addBackendRows(); }
    void refusedSavesWriteNothing_data();
    void refusedSavesWriteNothing();
    void numbersFollowTheHospitalsFormat_data();
    void numbersFollowTheHospitalsFormat();
    void walkInAssessedPrintedAndRevoked();
    void revokeRefusals_data();
    void revokeRefusals();
    void clinicalExamRules_data();
    void clinicalExamRules();
    void clinicalExamAssessedWithRemarksAndSpecimen();
    void cashCreditMemo_data();
    void cashCreditMemo();
    void theWalkInWindowSavesWhatIsTyped();
    void twoWorkstationsNeverShareANumber();
};

void tst_Assessment::refusedSavesWriteNothing_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("quantity"); // of the one line; "-" for no line at all
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("signer");
    QTest::addColumn<QString>("box");
    const int walkIn = int(AssessmentKind::WalkIn), cash = int(AssessmentKind::Cash);
    QTest::newRow("walk-in without lines")
        << walkIn << kWalkIn << "-" << QList<bool>{} << "2901"
        << "Can't save a blank charge! Please enter charges first.";
    QTest::newRow("cash without lines")
        << cash << QString() << "-" << QList<bool>{} << "2901"
        << "Can't save a blank charge! Please enter a charge first.";
    QTest::newRow("walk-in without a name") << walkIn << "  " << "1" << QList<bool>{} << "2901"
                                            << "Please enter the patient`s name.";
    QTest::newRow("walk-in name of 200 characters")
        << walkIn << QString(200, u'A') << "1" << QList<bool>{} << "2901"
        << "The patient`s name is too long. Please enter at most 100 characters.";
    QTest::newRow("line without quantity") << walkIn << kWalkIn << "" << QList<bool>{} << "2901"
                                           << "Please enter quantity to request for "
                                              "ELECTROSURGICAL UNIT USE.";
    QTest::newRow("walk-in nobody signs")
        << walkIn << kWalkIn << "1" << QList<bool>{} << ""
        << "You have entered invalid user information. Entered assessment was not saved! ";
    QTest::newRow("cash not confirmed")
        << cash << QString() << "1" << QList<bool>{false} << "2901"
        << "Please verify that the item(s) entered are true and correct. Especially the "
           "Department Code and the Item Code of the Procedure/Item.\n\rDo you want to proceed "
           "in saving these charge(s)?";
    QTest::newRow("cash nobody signs, not again")
        << cash << QString() << "1" << QList<bool>{true, false} << ""
        << "Selected charge(s) will not be saved! \nAre you sure you want to save these "
           "Charge(s)?";
}

void tst_Assessment::refusedSavesWriteNothing()
{
    QFETCH(int, kind);
    QFETCH(QString, name);
    QFETCH(QString, quantity);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, signer);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind(kind));
    QVERIFY(a.selectOpenStay(true));
    QVERIFY(a.assessment.open({}));
    a.assessment.setPatientName(name);
    if (quantity != u"-")
        QCOMPARE(a.enter(1, u"OE"_s, u"OE3003"_s, quantity), CellAnswer::Accept);
    const QString before = written(db);
    a.f.notifier.answer(answers);
    if (!signer.isEmpty())
        a.f.dialogs.sign(signer);
    a.assessment.save();
    QCOMPARE(a.f.notifier.lastText(), box);
    QCOMPARE(written(db), before);
    QVERIFY(a.assessment.lastSaved().isEmpty());
    QCOMPARE(a.assessment.lines().size(), quantity == u"-" ? 0 : 1);
    QVERIFY(a.display.shown().isEmpty());
}

void tst_Assessment::numbersFollowTheHospitalsFormat_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QString>("newFormat");
    QTest::addColumn<QString>("fifteen");
    QTest::addColumn<QString>("counter");
    QTest::addColumn<QString>("number");
    const int cash = int(AssessmentKind::Cash);
    QTest::newRow("assessment counter, no format") << cash << "" << "" << "AssessNum" << "OR55";
    QTest::newRow("assessment counter, new format")
        << cash << "0000000" << "" << "AssessNum" << "OR0000055";
    QTest::newRow("fifteen-character numbers")
        << int(AssessmentKind::Clinical) << "0000000" << "1" << "IChargeSlip" << "OC2000000000055";
    QTest::newRow("walk-in, a charge slip number")
        << int(AssessmentKind::WalkIn) << "" << "" << "ChargeSlip" << "C55O";
}

void tst_Assessment::numbersFollowTheHospitalsFormat()
{
    QFETCH(int, kind);
    QFETCH(QString, newFormat);
    QFETCH(QString, fifteen);
    QFETCH(QString, counter);
    QFETCH(QString, number);
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind(kind));
    QVERIFY(a.switches({{u"CSlipFormat"_s, newFormat},
                        {u"FifteenCSlipFormat"_s, fifteen},
                        {u"BirCSlipFormat"_s, u"000000000000"_s}}));
    QVERIFY(db.exec(u"update STATION..tbORChargeSlip set %1 = 55 where StationID = 'OR'"_s.arg(
        counter)));
    QVERIFY(a.selectOpenStay(true));
    QVERIFY(a.openWalkIn());
    QCOMPARE(a.enter(1, u"OE"_s, u"OE3003"_s, u"1"_s), CellAnswer::Accept);
    a.f.notifier.answer({true});
    a.f.dialogs.sign(u"2901"_s);
    a.assessment.save();
    QCOMPARE(a.assessment.lastSaved(), number);
    QCOMPARE(a.counter(counter), 56);
    QCOMPARE(count(db, u"select count(*) from BILLING..tbCashAssessment where RefNum = :n"_s,
                   {{u"n"_s, number}}),
             1);
}

void tst_Assessment::walkInAssessedPrintedAndRevoked()
{
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind::WalkIn);
    QVERIFY(a.openWalkIn(u"dela Rosa, Mario"_s));
    QCOMPARE(a.assessment.prompt(Column::Department),
             u"Type the Department Code.(See Department Codes for the list)"_s);
    a.assessment.setErOpd(true);
    QCOMPARE(a.enter(1, u"OE"_s, u"OE3003"_s, u"1"_s), CellAnswer::Accept);
    QCOMPARE(a.enter(2, u"OS"_s, u"OS2003"_s, u"3"_s), CellAnswer::Accept);
    // The total is the lines' amounts to the centavo, each quantity × its unit price.
    Money expected;
    for (const ChargeEntryLine &l : a.assessment.lines()) {
        QCOMPARE(l.line.amountValue(), l.line.unitPriceValue() * l.line.quantityValue());
        expected += l.line.amountValue();
    }
    QVERIFY(expected > Money());
    QCOMPARE(a.assessment.total(), expected);

    a.f.dialogs.sign(u"2901"_s);
    a.assessment.save();
    const QString number = a.assessment.lastSaved();
    QVERIFY2(number.startsWith(u'C') && number.endsWith(u'O'), qPrintable(number));
    QVERIFY(a.assessment.lines().isEmpty());
    QVERIFY(a.assessment.patient().name.isEmpty());
    QCOMPARE(a.rows(u"select Kind, PatientName, Status, UserID from STATION..tbORAssessment "
                    u"where AssessNum = :n"_s,
                    {{u"n"_s, number}}),
             u"WALKIN|DELA ROSA, MARIO|PENDING|2901"_s);
    QCOMPARE(a.rows(u"select ItemID, Quantity from BILLING..tbCashAssessment where RefNum = :n "
                    u"order by ItemID"_s,
                    {{u"n"_s, number}}),
             u"OE3003|1\nOS2003|3"_s);
    // The slip, printed once: its total is the sum of its lines.
    QCOMPARE(a.display.shown().size(), 1);
    const QString slip = a.printed();
    for (const QString &text : {number, u"DELA ROSA, MARIO"_s, u"ER/OPD"_s, u"ORIGINAL COPY"_s,
                                u"TOTAL AMOUNT DUE (2 item(s))"_s,
                                formatNumber(expected, kFormatGross)})
        QVERIFY2(slip.contains(text), qPrintable(text));
    // The list of the station's assessments of the day holds it with its total.
    const QList<AssessmentSummary> &listed = a.assessment.assessments();
    const auto it = std::find_if(listed.cbegin(), listed.cend(),
                                 [&](const AssessmentSummary &s) { return s.number == number; });
    QVERIFY(it != listed.cend());
    QCOMPARE(it->amount, expected);
    const int index = int(it - listed.cbegin());

    // Reprinted as such; revoked with the supervisor's signature; then neither again.
    a.f.notifier.answer({true});
    a.assessment.reprint(index);
    QVERIFY(a.printed().contains(u"REPRINTED COPY"_s));
    a.f.notifier.answer({true});
    a.f.dialogs.sign(u"2901"_s);
    a.assessment.revoke(index);
    QCOMPARE(a.assessment.assessments().at(index).status, u"REVOKED"_s);
    QCOMPARE(a.rows(u"select distinct RecordStatus from BILLING..tbCashAssessment where "
                    u"RefNum = :n"_s,
                    {{u"n"_s, number}}),
             u"R"_s);
    a.assessment.reprint(index);
    QCOMPARE(a.f.notifier.lastText(),
             u"You can't print this assessment. This assessment is already REVOKED."_s);
    a.assessment.revoke(index);
    QCOMPARE(a.f.notifier.lastText(),
             u"Can't revoke this assessment! It is already been REVOKED."_s);
    QCOMPARE(a.display.shown().size(), 2);
}

void tst_Assessment::revokeRefusals_data()
{
    QTest::addColumn<QString>("status");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("signer");
    QTest::addColumn<QString>("box");
    QTest::newRow("processed by the cashier, whatever the rights")
        << "PAID" << QList<bool>{true} << "2901"
        << "Can't revoke this assessment! It is already been PROCESSED by the CASHIER.";
    QTest::newRow("answered no") << "PENDING" << QList<bool>{false} << "2901"
                                 << "Selected Assessment(s) will not be cancelled! ";
    QTest::newRow("nobody signs") << "GIVEN" << QList<bool>{true} << ""
                                  << "Selected Assessment(s) will not be cancelled! ";
    QTest::newRow("signer without the right") << "PENDING" << QList<bool>{true} << "2902"
                                              << "Sorry, you don't have access right to revoke "
                                                 "assessments.";
}

void tst_Assessment::revokeRefusals()
{
    QFETCH(QString, status);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, signer);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind::Cash);
    QVERIFY(a.selectOpenStay(true));
    QVERIFY(a.assessment.open({}));
    QCOMPARE(a.enter(1, u"OE"_s, u"OE3003"_s, u"2"_s), CellAnswer::Accept);
    a.f.notifier.answer({true});
    a.f.dialogs.sign(u"2901"_s);
    a.assessment.save();
    const QString number = a.assessment.lastSaved();
    QVERIFY(!number.isEmpty());
    QVERIFY(db.exec(u"update STATION..tbORAssessment set Status = :s where AssessNum = :n"_s,
                    {{u"s"_s, status}, {u"n"_s, number}}));
    a.assessment.refresh();
    a.f.notifier.answer(answers);
    if (!signer.isEmpty())
        a.f.dialogs.sign(signer);
    a.assessment.revoke(a.listed(number));
    QCOMPARE(a.f.notifier.lastText(), box);
    QCOMPARE(a.rows(u"select H.Status, A.RecordStatus from STATION..tbORAssessment H inner join "
                    u"BILLING..tbCashAssessment A on A.RefNum = H.AssessNum where "
                    u"H.AssessNum = :n"_s,
                    {{u"n"_s, number}}),
             status + u'|');
}

void tst_Assessment::clinicalExamRules_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("exam");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("box");
    const int accept = int(CellAnswer::Accept), keep = int(CellAnswer::RefuseAndKeep);
    QTest::newRow("laboratory exam up to its maximum") << "LB" << "LB101" << "3" << accept << "";
    QTest::newRow("laboratory exam above its maximum")
        << "LB" << "LB101" << "4" << keep << "Quantity should be > 0 and <= 3";
    QTest::newRow("exam without open quantity") << "XR" << "XR001" << "2" << keep
                                                << "Quantity should be > 0 and <= 1";
    QTest::newRow("no quantity") << "US" << "US010" << "0" << keep
                                 << "Quantity should be > 0 and <= 1";
    QTest::newRow("the same exam twice") << "LB" << "LB101" << "dup" << keep
                                         << "Can't charge the same exam.";
    QTest::newRow("exam without a price")
        << "LB" << "LB102" << "" << int(CellAnswer::RefuseAndEmpty)
        << "Record(s) indicate that the amount of the item is zero(0)! ";
}

void tst_Assessment::clinicalExamRules()
{
    QFETCH(QString, department);
    QFETCH(QString, exam);
    QFETCH(QString, quantity);
    QFETCH(int, answer);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind::Clinical);
    QVERIFY(a.selectOpenStay());
    QVERIFY(db.exec(u"update BUILD_FILE..tbCoExamRate set RateA = 0, RateB = 0, RateC = 0, "
                    u"RateD = 0, RateE = 0 where ExamID = 'LB102'"_s));
    QVERIFY(a.assessment.open({}));
    auto item = [&](int row, const QString &code) {
        a.f.notifier.answer({false});
        return a.assessment.acceptCell({row, Column::Department}, department) ==
                       CellAnswer::Accept
                   ? a.assessment.acceptCell({row, Column::Item}, code)
                   : CellAnswer::RefuseAndKeep;
    };
    CellAnswer got = item(1, exam);
    if (quantity == u"dup")
        got = item(2, exam);
    else if (!quantity.isEmpty() && got == CellAnswer::Accept)
        got = a.assessment.acceptCell({1, Column::Quantity}, quantity);
    QCOMPARE(int(got), answer);
    QCOMPARE(a.f.notifier.lastText(), box);
    // A refused quantity leaves the line at one exam, priced at its unit price.
    if (!a.assessment.lines().isEmpty() && a.assessment.lines().at(0).hasCode()) {
        const ChargeLine &l = a.assessment.lines().at(0).line;
        QCOMPARE(l.amountValue(), l.unitPriceValue() * l.quantityValue());
        QCOMPARE(l.quantity, answer == int(CellAnswer::Accept) ? quantity : u"1"_s);
    }
}

void tst_Assessment::clinicalExamAssessedWithRemarksAndSpecimen()
{
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind::Clinical);
    QVERIFY(a.selectOpenStay());
    QVERIFY(a.assessment.open({}));
    QVERIFY(!a.assessment.rateLetter().isEmpty());
    QCOMPARE(a.enter(1, u"LB"_s, u"LB101"_s, u"2"_s), CellAnswer::Accept);
    a.f.notifier.answer({true}); // the portable machine
    QCOMPARE(a.enter(2, u"XR"_s, u"XR001"_s, QString()), CellAnswer::Accept);
    QCOMPARE(a.f.notifier.lastText(), u"Use Portable Machine?"_s);

    // The laboratory exam needs its specimen; the X-ray none.
    ClinicalRemarks remarks(a.f.session);
    QVERIFY(remarks.open(u"LB"_s, u"LB101"_s, a.assessment.detail(1)));
    QVERIFY(remarks.needsSpecimen());
    remarks.setRemarks(u"  DRAW BEFORE THE NEXT DOSE "_s);
    QVERIFY(!remarks.accept());
    QCOMPARE(a.f.notifier.lastText(), u"Please select specimen."_s);
    const int serum = int(std::find_if(remarks.specimens().cbegin(), remarks.specimens().cend(),
                                       [](const auto &s) { return s.first == u"FLD"; }) -
                          remarks.specimens().cbegin());
    remarks.chooseSpecimen(serum);
    QVERIFY(remarks.accept());
    a.assessment.setDetail(1, remarks.detail());
    ClinicalRemarks xray(a.f.session);
    QVERIFY(xray.open(u"XR"_s, u"XR001"_s, a.assessment.detail(2)));
    QVERIFY(!xray.needsSpecimen());
    QVERIFY(xray.accept());

    a.f.dialogs.sign(u"2901"_s);
    a.assessment.save();
    const QString number = a.assessment.lastSaved();
    QVERIFY(number.startsWith(u"OR"_s));
    QCOMPARE(a.rows(u"select H.Kind, A.ItemID, A.Quantity, A.Remarks, A.SpecimenID, A.Portable "
                    u"from STATION..tbORAssessment H inner join BILLING..tbCashAssessment A on "
                    u"A.RefNum = H.AssessNum where H.AssessNum = :n order by A.ItemID"_s,
                    {{u"n"_s, number}}),
             u"CLINICAL|LB101|2|DRAW BEFORE THE NEXT DOSE|FLD|0\nCLINICAL|XR001|1|||1"_s);
    QVERIFY(a.printed().contains(number));
}

void tst_Assessment::cashCreditMemo_data()
{
    QTest::addColumn<bool>("tick");
    QTest::addColumn<int>("percent"); // of what was paid for the first item; 0: all of it
    QTest::addColumn<bool>("unpaidMeanwhile");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("box");
    QTest::addColumn<int>("creditedPercent");
    QTest::newRow("nothing ticked") << false << 0 << false << QList<bool>{true}
                                    << "Please select item(s) to Process Cash Credit Memo." << 0;
    QTest::newRow("answered no") << true << 0 << false << QList<bool>{false}
                                 << "Selected item(s) to be Cash CM will not be saved! " << 0;
    QTest::newRow("more than was paid")
        << true << 101 << false << QList<bool>{true}
        << "Item(s) Successfully Saved." << 100;
    QTest::newRow("the whole item") << true << 0 << false << QList<bool>{true}
                                    << "Item(s) Successfully Saved." << 100;
    QTest::newRow("part of the item") << true << 40 << false << QList<bool>{true}
                                      << "Item(s) Successfully Saved." << 40;
    QTest::newRow("no longer paid") << true << 0 << true << QList<bool>{true}
                                    << "The item(s) were not saved: an item is no longer paid, "
                                       "or was given back meanwhile. The list shows the items "
                                       "as they now stand."
                                    << 0;
}

void tst_Assessment::cashCreditMemo()
{
    QFETCH(bool, tick);
    QFETCH(int, percent);
    QFETCH(bool, unpaidMeanwhile);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, box);
    QFETCH(int, creditedPercent);
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind::Cash);
    QVERIFY(a.selectOpenStay(true));
    QVERIFY(a.assessment.open({}));
    QCOMPARE(a.enter(1, u"OS"_s, u"OS2003"_s, u"3"_s), CellAnswer::Accept);
    a.f.notifier.answer({true});
    a.f.dialogs.sign(u"2901"_s);
    a.assessment.save();
    const QString number = a.assessment.lastSaved();
    // Unpaid, nothing to give back; once the cashier has processed it, its line is listed.
    CashCreditMemo memo(a.f.session);
    memo.setReports(&a.reports);
    QVERIFY(memo.open({}));
    QVERIFY(memo.items().isEmpty());
    QVERIFY(db.exec(u"update STATION..tbORAssessment set Status = 'PAID' where AssessNum = :n"_s,
                    {{u"n"_s, number}}));
    memo.refresh();
    QCOMPARE(memo.items().size(), 1);
    const Money paid = memo.items().at(0).paid;
    QCOMPARE(paid, a.assessment.assessments().at(a.listed(number)).amount);
    if (tick)
        memo.toggleTick(0);
    if (percent > 0) {
        const Money part = Money::fromMinor(paid.minor() * percent / 100);
        QCOMPARE(memo.setAmount(0, part), percent <= 100);
        QCOMPARE(memo.total(), percent <= 100 ? part : paid);
    }
    if (unpaidMeanwhile)
        QVERIFY(db.exec(u"update STATION..tbORAssessment set Status = 'PENDING' where "
                        u"AssessNum = :n"_s,
                        {{u"n"_s, number}}));
    a.f.notifier.answer(answers);
    const QString saved = memo.save();
    QCOMPARE(a.f.notifier.lastText(), box);
    const Money credited = Money::fromMinor(paid.minor() * creditedPercent / 100);
    QCOMPARE(Money::fromVariant(db.scalar(u"select CreditedAmount from BILLING..tbCashAssessment "
                                          u"where RefNum = :n"_s,
                                          {{u"n"_s, number}})
                                    .value_or(QVariant())),
             credited);
    QCOMPARE(count(db, u"select count(*) from BILLING..tbCashCMAdvise"_s),
             creditedPercent > 0 ? 1 : 0);
    QCOMPARE(saved.isEmpty(), creditedPercent == 0);
    if (creditedPercent > 0) {
        // The slip gives back exactly what was credited; a line given back whole is no more
        // listed.
        QVERIFY(a.printed().contains(formatNumber(credited, kFormatGross)));
        QCOMPARE(memo.items().size(), creditedPercent == 100 ? 0 : 1);
    }
}

void tst_Assessment::theWalkInWindowSavesWhatIsTyped()
{
    KESTREL_OPEN_DEMO(db);
    AssessmentFixture a(db, AssessmentKind::WalkIn);
    frmAssessment window(a.f.session, AssessmentKind::WalkIn, {&a.lookup, &a.picker, &a.drugList,
                                                              nullptr});
    window.setReports(a.reports);
    WindowRequest request;
    request.command = u"mnuAssessment"_s;
    request.caption = u"CASH ASSESSMENT ENTRY (WALK-IN PATIENTS)"_s;
    QVERIFY(window.open(request));
    QCOMPARE(window.windowTitle(), request.caption);
    auto *name = window.findChild<QLineEdit *>(u"txtName"_s);
    QVERIFY(name);
    QTest::keyClicks(name, u"REYES, ANA"_s);
    a.pickList.codes.enqueue(u"OE3003"_s);
    QCOMPARE(window.presenter().acceptCell({1, Column::Department}, u"OE"_s), CellAnswer::Accept);
    QCOMPARE(window.presenter().acceptCell({1, Column::Item}, u"OE3003"_s), CellAnswer::Accept);
    QCOMPARE(window.presenter().acceptCell({1, Column::Quantity}, u"1"_s), CellAnswer::Accept);
    a.f.dialogs.sign(u"2901"_s);
    window.findChildren<QPushButton *>(u"Command1"_s).at(0)->click();
    const QString number = window.presenter().lastSaved();
    QVERIFY2(!number.isEmpty(), qPrintable(a.f.notifier.lastText()));
    QCOMPARE(a.rows(u"select PatientName from STATION..tbORAssessment where AssessNum = :n"_s,
                    {{u"n"_s, number}}),
             u"REYES, ANA"_s);
    QVERIFY(name->text().isEmpty());
}

void tst_Assessment::twoWorkstationsNeverShareANumber()
{
    constexpr int kSaves = 200;
    auto created = TestDatabase::create(backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    Database &db = (*created)->db();
    const qint64 before = count(db, u"select count(*) from STATION..tbORAssessment"_s);
    // Two workstations, each on a connection of its own in a thread of its own, start saving
    // walk-in assessments of two lines together.
    QList<QStringList> numbers(2);
    QStringList failures(2);
    std::latch start(2);
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&, w] {
            ConnectionSettings settings = (*created)->settings();
            settings.workstation = u"OR-WS-0%1"_s.arg(w + 1);
            auto own = Database::open(settings);
            if (!own) {
                failures[w] = own.error().message;
                start.count_down();
                return;
            }
            (*own)->setProcedures(hospitaldb::hospitalProcedures());
            PricingFixture p(**own);
            AssessmentSaving saving(p.f.session, AssessmentKind::WalkIn);
            saving.setPatient({{}, {}, u"WALK-IN %1"_s.arg(w + 1), {}, {}});
            const QList<PostingLine> lines{
                chargeLine(u"OE"_s, u"OE3003"_s, u"ELECTROSURGICAL UNIT USE"_s, u"1"_s, u"1500"_s),
                chargeLine(u"OS"_s, u"OS2003"_s, u"SUTURE, POLYGLACTIN 1"_s, u"1"_s, u"480"_s)};
            start.arrive_and_wait();
            for (int i = 0; i < kSaves; ++i) {
                p.f.dialogs.sign(u"2901"_s);
                const PostingOutcome outcome = saving.save(lines, {});
                if (!outcome.saved()) {
                    failures[w] = p.f.notifier.lastText();
                    return;
                }
                numbers[w] << outcome.chargeSlip;
            }
        });
    for (std::thread &t : threads)
        t.join();
    QSet<QString> all;
    for (int w = 0; w < 2; ++w) {
        QVERIFY2(failures.at(w).isEmpty(), qPrintable(failures.at(w)));
        QCOMPARE(numbers.at(w).size(), kSaves);
        all.unite(QSet<QString>(numbers.at(w).cbegin(), numbers.at(w).cend()));
    }
    // No number twice, each assessment with both its lines, and nothing else written.
    QCOMPARE(all.size(), 2 * kSaves);
    // The two really raced: the numbers went back and forth between them.
    QList<std::pair<qint64, int>> drawn;
    for (int w = 0; w < 2; ++w) {
        for (const QString &n : numbers.at(w))
            drawn.append({n.mid(1).chopped(1).toLongLong(), w});
    }
    std::sort(drawn.begin(), drawn.end());
    int turns = 0;
    for (qsizetype i = 1; i < drawn.size(); ++i)
        turns += drawn.at(i).second != drawn.at(i - 1).second;
    qInfo("the next number went to the other workstation %d times", turns);
    QVERIFY2(turns >= kSaves / 10, qPrintable(u"only %1 turns"_s.arg(turns)));
    QCOMPARE(count(db, u"select count(*) from STATION..tbORAssessment"_s), before + 2 * kSaves);
    QCOMPARE(count(db, u"select count(*) from (select RefNum from BILLING..tbCashAssessment A "
                       u"inner join STATION..tbORAssessment H on H.AssessNum = A.RefNum where "
                       u"H.PatientName like 'WALK-IN %' group by RefNum having count(*) = 2) X"_s),
             2 * kSaves);
}

QTEST_MAIN(tst_Assessment)
#include "tst_assessment.moc"
