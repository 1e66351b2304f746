// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The rules of the charge window, cell by cell, on the demo hospital and on every backend.
#include "charging/ChargeEntryFixture.h"
#include "shell/db/NumberFormat.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kestrel;
using test::ChargeEntryFixture;

Q_DECLARE_METATYPE(kestrel::CellAnswer)

namespace {

using Column = ChargeEntryLine::Column;

// A regular inpatient in a ward of rate class A, with no charges yet.
const QString kLast = QStringLiteral("ESTACIO");
const QString kFirst = QStringLiteral("WILMA");

Money moneyOf(Database &db, QStringView sql, const Binds &binds)
{
    auto value = db.scalar(sql, binds);
    return value ? Money::fromVariant(*value) : Money::fromMinor(-1);
}

Money rateA(Database &db, const QString &item)
{
    return moneyOf(db, u"select RateA from BUILD_FILE..tbCoOtherRevenue where OtherRevenueID = :i",
                   {{QStringLiteral("i"), item}});
}

Money sellingPriceIn(Database &db, const QString &item, const QString &location)
{
    return moneyOf(db,
                   u"select SellingPriceIn from INVENTORY..tbInvent where ItemID = :i "
                   u"and LocationID = :l",
                   {{QStringLiteral("i"), item}, {QStringLiteral("l"), location}});
}

// Starts line `row` in `department` and enters `item`, the look-up picking `item` when it
// lists it.
CellAnswer enterItem(ChargeEntryFixture &c, int row, const QString &department, const QString &item)
{
    if (c.type(row, Column::Department, department) != CellAnswer::Accept)
        return CellAnswer::RefuseAndKeep;
    c.pickList.codes.enqueue(item);
    return c.type(row, Column::Item, item);
}

} // namespace

class tst_ChargeEntry : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void opening_data();
    void opening();
    void header_data();
    void header();
    void postedCharges();
    void departmentCell();
    void sameItemTwice_data();
    void sameItemTwice();
    void quantity_data();
    void quantity();
    void stockItemRefusals_data();
    void stockItemRefusals();
    void unitPriceCell_data();
    void unitPriceCell();
    void editorMoves();
    void removingLines();
    void pricesOfAnInpatient();
    void orProcedureTagging();
    void doctorsMeals();
    void psiOxygen_data();
    void psiOxygen();
    void statPatient();
    void saving();
    void laterWindows();
};

void tst_ChargeEntry::opening_data()
{
    QTest::addColumn<QString>("employee");
    QTest::addColumn<QString>("stay");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("box");
    QTest::newRow("nurse, open stay") << "2902"
                                      << "open" << true << "";
    QTest::newRow("no right to post")
        << "2908"
        << "open" << false << "Sorry, you don't have access right to Post Charges.";
    QTest::newRow("no patient selected") << "2902"
                                         << "none" << false << "Please select patient.";
    QTest::newRow("account closed by billing")
        << "2902"
        << "billed" << false
        << "The patient's account has already been closed. \n\nIf you have transactions to "
           "make, please notify the Billing staff immediately for further instructions.";
}

void tst_ChargeEntry::opening()
{
    QFETCH(QString, employee);
    QFETCH(QString, stay);
    QFETCH(bool, opens);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.p.f.user.setCode(employee);
    CurrentPatientRecord &patient = c.p.f.session.CurrentPatient;
    if (stay == u"open") {
        QVERIFY(c.p.select(kLast, kFirst));
    } else if (stay == u"billed") {
        auto row = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient "
                                u"where BillingDate is not null order by IDNum limit 1");
        QVERIFY(row && *row);
        patient.IdNum = (*row)->trimmed(u"IDNum");
        patient.HospNum = (*row)->trimmed(u"HospNum");
        patient.PatientClass = QStringLiteral("I");
    }
    QSignalSpy changed(&c.entry, &ChargeEntry::changed);
    QCOMPARE(c.entry.open(), opens);
    QCOMPARE(c.p.f.notifier.lastText(), box);
    QCOMPARE(changed.count(), opens ? 1 : 0);
}

void tst_ChargeEntry::header_data()
{
    QTest::addColumn<QDate>("born");
    QTest::addColumn<QString>("age");
    // The test hospital's day is 2026-12-01.
    QTest::newRow("birthday today") << QDate(1985, 12, 1) << "41";
    QTest::newRow("birthday tomorrow") << QDate(1985, 12, 2) << "40";
    QTest::newRow("born on a leap day") << QDate(1984, 2, 29) << "42";
}

void tst_ChargeEntry::header()
{
    QFETCH(QDate, born);
    QFETCH(QString, age);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.p.select(kLast, kFirst));
    QVERIFY(db.exec(u"update PATIENT_DATA..tbMaster set BirthDate = :born where HospNum = :h",
                    {{QStringLiteral("born"), born},
                     {QStringLiteral("h"), c.p.f.session.CurrentPatient.HospNum}}));
    QVERIFY(c.entry.open());

    const ChargePatientHeader &h = c.entry.header();
    QCOMPARE(h.patientName, QStringLiteral("ESTACIO, WILMA ABAD"));
    QCOMPARE(h.idNum, c.p.f.session.CurrentPatient.IdNum);
    QCOMPARE(h.room, c.p.f.session.CurrentPatient.RoomID);
    QCOMPARE(h.diagnosis, QStringLiteral("CHOLELITHIASIS"));
    QVERIFY(!h.admittingDoctor.isEmpty());
    QCOMPARE(c.entry.age(), age);
    QCOMPARE(c.entry.philhealthText(), QStringLiteral("PHIC TYPE EMPLOYED - PRIVATE"));
    QVERIFY(!c.entry.cdfEnabled());

    QStringList codes;
    for (const ChargeDepartment &d : c.entry.departments())
        codes << d.code;
    for (const QString &code : {QStringLiteral("OR"), QStringLiteral("MD"), QStringLiteral("PH"),
                                QStringLiteral("CS"), QStringLiteral("OX")})
        QVERIFY2(codes.contains(code), qPrintable(code));
    QCOMPARE(c.entry.grid().rowCount(), 1);
    QVERIFY(c.entry.noChargesEntered());
    QCOMPARE(c.entry.grossAmountText(), QStringLiteral("Gross Amount: Php 0.00"));
    QVERIFY(!c.entry.statPatient());
    QCOMPARE(ChargeEntry::postedHeaders(),
             QStringList({QStringLiteral("  "), QStringLiteral("Dept. "), QStringLiteral("Item. #"),
                          QStringLiteral(" Item   Description    "), QStringLiteral("QTY"),
                          QStringLiteral("Amount "), QStringLiteral("ChargeSlip #")}));
}

void tst_ChargeEntry::postedCharges()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    // A stay the OR charged twice, one batch of which was revoked.
    auto row = db.selectOne(u"select IDNum, HospNum, ReferenceNum from STATION..tbNurseLogBook "
                            u"where RecordStatus = 'R' and StationID = 'OR' limit 1");
    QVERIFY(row && *row);
    CurrentPatientRecord &patient = c.p.f.session.CurrentPatient;
    patient.IdNum = (*row)->trimmed(u"IDNum");
    patient.HospNum = (*row)->trimmed(u"HospNum");
    patient.PatientClass = QStringLiteral("I");
    const QString revoked = (*row)->trimmed(u"ReferenceNum");
    // Two charges the OR posted since, and one of the delivery room's, which is not the OR's.
    const Binds stay{{QStringLiteral("id"), patient.IdNum}, {QStringLiteral("h"), patient.HospNum}};
    QVERIFY(db.exec(u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                    u"RevenueID, ItemID, Description, Quantity, Amount, TransDate, StationID) "
                    u"values (:id, :h, 'C2001O', 'OS', 'OS2003', 'SURGICAL GLOVES', 2, 1250.5, "
                    u"'2026-12-01 08:10:00', 'OR'), (:id, :h, 'C2002O', 'OR', 'OR1101', "
                    u"'OR FEE', 1, 3000, '2026-12-01 09:30:00', 'OR'), (:id, :h, 'C9999O', "
                    u"'DR', 'DR0001', 'DELIVERY ROOM FEE', 1, 2500, '2026-12-01 09:00:00', 'DR')",
                    stay));

    QVERIFY(c.entry.open());
    QStringList slips;
    for (const PostedCharge &charge : c.entry.postedCharges())
        slips << charge.chargeSlip;
    QVERIFY(!slips.contains(revoked));
    QCOMPARE(slips, QStringList({QStringLiteral("C2001O"), QStringLiteral("C2002O")}));
    const PostedCharge &gloves = c.entry.postedCharges().at(0);
    QCOMPARE(gloves.department, QStringLiteral("OS"));
    QCOMPARE(gloves.item, QStringLiteral("OS2003"));
    QCOMPARE(gloves.quantity, 2.0);
    QVERIFY(!c.entry.noChargesEntered());
    QCOMPARE(c.entry.grossAmountText(), QStringLiteral("Gross Amount: Php 4,250.50"));
}

void tst_ChargeEntry::departmentCell()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.p.f.session.hospital.SecProcPercentDiscount = 0;
    QVERIFY(c.open(kLast, kFirst));
    test::RecordingNotifier &boxes = c.p.f.notifier;

    QCOMPARE(c.type(1, Column::Department, QStringLiteral("ZZ")), CellAnswer::RefuseAndEmpty);
    QCOMPARE(boxes.lastText(), QStringLiteral("Department code does not exist. Please refer to "
                                              "the list of department codes."));
    QVERIFY(c.entry.lines().isEmpty());

    QCOMPARE(enterItem(c, 1, QStringLiteral("or"), QStringLiteral("OR1012")), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.department, QStringLiteral("OR"));
    QCOMPARE(c.entry.departmentShown(), QStringLiteral("OR"));
    QCOMPARE(c.line(1).line.description, QStringLiteral("EXCISION OF LIPOMA"));
    const ChargeEntryLine before = c.line(1);

    // No keeps the whole line.
    boxes.clear();
    boxes.answer({false});
    QCOMPARE(c.type(1, Column::Department, QStringLiteral("MD")), CellAnswer::RefuseAndKeep);
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().at(0).text,
             QStringLiteral("This will remove EXCISION OF LIPOMA.\n\nAre you sure you want to "
                            "continue?"));
    QCOMPARE(boxes.boxes().at(0).title, QStringLiteral("Confirmation"));
    QCOMPARE(c.line(1).line.item, before.line.item);
    QCOMPARE(c.line(1).line.unitPrice, before.line.unitPrice);
    QCOMPARE(c.line(1).line.department, QStringLiteral("OR"));

    // The same code asks nothing; Yes empties the rest of the line.
    boxes.clear();
    QCOMPARE(c.type(1, Column::Department, QStringLiteral("OR")), CellAnswer::Accept);
    QVERIFY(boxes.boxes().isEmpty());
    boxes.answer({true});
    QCOMPARE(c.type(1, Column::Department, QStringLiteral("MD")), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.department, QStringLiteral("MD"));
    QVERIFY(c.line(1).line.item.isEmpty());
    QVERIFY(c.line(1).line.unitPrice.isEmpty());
    QCOMPARE(c.entry.departmentShown(), QStringLiteral("MD"));
}

void tst_ChargeEntry::sameItemTwice_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("box");
    QTest::newRow("drug") << "PH"
                          << "PH1001"
                          << "Can't charge the same Medicine/Supply.";
    QTest::newRow("service") << "OS"
                             << "OS2003"
                             << "Can't charge the same service.";
}

void tst_ChargeEntry::sameItemTwice()
{
    QFETCH(QString, department);
    QFETCH(QString, item);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, department, item), CellAnswer::Accept);
    QCOMPARE(c.type(1, Column::Quantity, QStringLiteral("2")), CellAnswer::Accept);

    QCOMPARE(enterItem(c, 2, department, item), CellAnswer::RefuseAndKeep);
    QCOMPARE(c.p.f.notifier.lastText(), box);
    QVERIFY(c.line(2).line.item.isEmpty());
    QCOMPARE(c.line(1).line.quantity, QStringLiteral("2"));
}

void tst_ChargeEntry::quantity_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("allowZeroOnHand");
    QTest::addColumn<CellAnswer>("answer");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<int>("units"); // the amount in unit prices; -1 for an empty amount
    QTest::newRow("a fraction") << "2.5" << false << CellAnswer::RefuseAndKeep
                                << "You are only allowed to enter whole number for quantity."
                                << "1" << 1;
    QTest::newRow("zero") << "0" << false << CellAnswer::RefuseAndKeep
                          << "Quantity should be greater than zero(0)."
                          << "1" << 1;
    QTest::newRow("not a number") << "X" << false << CellAnswer::RefuseAndKeep
                                  << "Quantity should be greater than zero(0)."
                                  << "1" << 1;
    QTest::newRow("3 of 2 in stock, stock counted")
        << "3" << true << CellAnswer::RefuseAndEmpty
        << "Stock is not enough for the quantity entered. Remaining stock is: 2"
        << "" << -1;
    QTest::newRow("3 of 2 in stock, stock not counted") << "3" << false << CellAnswer::Accept << ""
                                                        << "3" << 3;
    QTest::newRow("2 of 2 in stock, stock counted") << "2" << true << CellAnswer::Accept << ""
                                                    << "2" << 2;
}

void tst_ChargeEntry::quantity()
{
    QFETCH(QString, typed);
    QFETCH(bool, allowZeroOnHand);
    QFETCH(CellAnswer, answer);
    QFETCH(QString, box);
    QFETCH(QString, quantity);
    QFETCH(int, units);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = 2 where ItemID = 'PH1001' "
                    u"and LocationID = 'PHA'"));
    c.p.f.session.hospital.AllowZeroOnHand = allowZeroOnHand;
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(c.type(1, Column::Department, QStringLiteral("PH")), CellAnswer::Accept);
    QCOMPARE(c.type(1, Column::Item, QStringLiteral("PH1001")), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.quantity, QStringLiteral("1"));
    c.p.f.notifier.clear();

    QCOMPARE(c.type(1, Column::Quantity, typed), answer);
    QCOMPARE(c.p.f.notifier.lastText(), box);
    QCOMPARE(c.line(1).line.quantity, quantity);
    const Money price = sellingPriceIn(db, QStringLiteral("PH1001"), QStringLiteral("PHA"));
    if (units < 0)
        QVERIFY(c.line(1).line.amount.isEmpty());
    else
        QCOMPARE(c.line(1).line.amountValue(), price * units);
}

void tst_ChargeEntry::stockItemRefusals_data()
{
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<CellAnswer>("answer");
    QTest::addColumn<QString>("box");
    const QList<bool> none;
    QTest::newRow("unknown code") << "PH9999"
                                  << "" << none << CellAnswer::RefuseAndKeep
                                  << "Item code does not exist.";
    QTest::newRow("inactive item") << "PH1010"
                                   << "" << none << CellAnswer::RefuseAndKeep
                                   << "Record is inactive. Please enter an active item.";
    QTest::newRow("no stock left, stock counted")
        << "PH1001"
        << "no stock" << none << CellAnswer::RefuseAndKeep
        << "CEFAZOLIN 1 G VIAL has no stocks left. The system can't process the specified item.";
    QTest::newRow("off the formulary, no by-pass")
        << "PH1003"
        << "PNF strict" << none << CellAnswer::RefuseAndKeep << "Item is not under PNF list.";
    QTest::newRow("off the formulary, declined")
        << "PH1003"
        << "PNF" << QList<bool>{false} << CellAnswer::RefuseAndKeep
        << "Item is not under PNF list. Would you like to continue?";
    QTest::newRow("off the formulary, continued")
        << "PH1003"
        << "PNF" << QList<bool>{true} << CellAnswer::Accept
        << "Item is not under PNF list. Would you like to continue?";
    QTest::newRow("on the formulary") << "PH1001"
                                      << "PNF strict" << none << CellAnswer::Accept << "";
    QTest::newRow("restricted, cash-basis patient")
        << "PH1002"
        << "cash basis" << none << CellAnswer::RefuseAndKeep
        << "This ITEM/SERVICE/EXAM is restricted for cash basis patients.";
    QTest::newRow("unrestricted, cash-basis patient")
        << "PH1001"
        << "cash basis" << none << CellAnswer::Accept << "";
    QTest::newRow("no dosage picked")
        << "PH1001"
        << "dosage" << none << CellAnswer::RefuseAndEmpty
        << "DOSAGE ID for CEFAZOLIN 1 G VIAL is empty. The system can't process the specified "
           "item.";
}

void tst_ChargeEntry::stockItemRefusals()
{
    QFETCH(QString, item);
    QFETCH(QString, setup);
    QFETCH(QList<bool>, answers);
    QFETCH(CellAnswer, answer);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    if (setup == u"PNF strict")
        QVERIFY(c.p.switches({{QStringLiteral("CheckPNF"), QStringLiteral("1")},
                              {QStringLiteral("NoPNFByPass"), QStringLiteral("1")}}));
    else if (setup == u"PNF")
        QVERIFY(c.p.switches({{QStringLiteral("CheckPNF"), QStringLiteral("1")}}));
    else if (setup == u"dosage")
        QVERIFY(c.p.switches({{QStringLiteral("ORShowDosagePostMedicines"), QStringLiteral("1")}}));
    if (setup == u"no stock") {
        QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = 0 where ItemID = 'PH1001'"));
        c.p.f.session.hospital.AllowZeroOnHand = true;
    }
    QVERIFY(c.p.select(kLast, kFirst));
    if (setup == u"cash basis") {
        c.p.f.session.hospital.clientname = QStringLiteral("ZUL");
        QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 1 where IDNum = :id",
                        {{QStringLiteral("id"), c.p.f.session.CurrentPatient.IdNum}}));
    }
    QVERIFY(c.entry.open());
    QCOMPARE(c.type(1, Column::Department, QStringLiteral("PH")), CellAnswer::Accept);
    c.p.f.notifier.answer(answers);

    QCOMPARE(c.type(1, Column::Item, item), answer);
    QCOMPARE(c.p.f.notifier.lastText(), box);
    if (answer == CellAnswer::Accept) {
        QCOMPARE(c.line(1).line.item, item);
        QCOMPARE(c.line(1).line.location, QStringLiteral("PHA"));
    } else {
        QVERIFY(c.line(1).line.item.isEmpty());
        // A line without a dosage is cleared whole; the other refusals keep the department.
        QCOMPARE(c.line(1).line.department,
                 answer == CellAnswer::RefuseAndEmpty ? QString() : QStringLiteral("PH"));
    }
}

void tst_ChargeEntry::unitPriceCell_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("item");
    QTest::addColumn<bool>("editORAmount");
    QTest::addColumn<bool>("editable");
    QTest::newRow("OR, amounts fixed") << "OR"
                                       << "OR1012" << false << false;
    QTest::newRow("OR, amounts editable") << "OR"
                                          << "OR1012" << true << true;
    QTest::newRow("doctor's fee") << "MD"
                                  << "" << false << true;
    QTest::newRow("pharmacy") << "PH"
                              << "PH1001" << true << false;
}

void tst_ChargeEntry::unitPriceCell()
{
    QFETCH(QString, department);
    QFETCH(QString, item);
    QFETCH(bool, editORAmount);
    QFETCH(bool, editable);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    if (editORAmount)
        QVERIFY(c.p.switches({{QStringLiteral("EditORAmount"), QStringLiteral("1")}}));
    c.p.f.session.hospital.SecProcPercentDiscount = 0;
    QVERIFY(c.open(kLast, kFirst));
    QString code = item;
    if (department == u"MD")
        code = db.scalar(u"select DoctorID from BUILD_FILE..tbCoDoctorBill where RoomClassID = 'A' "
                         u"and Status = 1 order by DoctorID limit 1")
                   ->toString();
    QCOMPARE(enterItem(c, 1, department, code), CellAnswer::Accept);
    QCOMPARE(c.entry.mayEdit({1, Column::UnitPrice}), editable);
    QCOMPARE(c.entry.mayEdit({1, Column::Amount}), true);
    QCOMPARE(c.entry.mayEdit({1, Column::Description}), false);
}

void tst_ChargeEntry::editorMoves()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, QStringLiteral("PH"), QStringLiteral("PH1001")), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Department, QStringLiteral("CS")), CellAnswer::Accept);
    using D = EntryGridRules::Direction;

    QCOMPARE(c.entry.verticalMove({1, Column::Department}, D::Up), std::nullopt);
    QCOMPARE(c.entry.verticalMove({1, Column::Quantity}, D::Up), std::nullopt);
    QCOMPARE(c.entry.verticalMove({2, Column::Department}, D::Up),
             std::optional<GridCell>(GridCell{1, Column::Department}));
    QCOMPARE(c.entry.verticalMove({1, Column::Department}, D::Down),
             std::optional<GridCell>(GridCell{2, Column::Department}));
    // The second line has no item yet, so its quantity may not be typed.
    QCOMPARE(c.entry.verticalMove({1, Column::Quantity}, D::Down), std::nullopt);
    // Past the last line is the empty row: Down goes nowhere.
    QCOMPARE(c.entry.verticalMove({2, Column::Department}, D::Down), std::nullopt);

    const int columns = c.entry.grid().columnCount();
    QCOMPARE(c.entry.nextCell({1, Column::Department}, columns),
             std::optional<GridCell>(GridCell{1, Column::Item}));
    QCOMPARE(c.entry.nextCell({1, Column::Item}, columns),
             std::optional<GridCell>(GridCell{1, Column::Quantity}));
    QCOMPARE(c.entry.nextCell({1, Column::Quantity}, columns),
             std::optional<GridCell>(GridCell{2, Column::Department}));
    QCOMPARE(c.entry.mayEdit({3, Column::Department}), true);
    QCOMPARE(c.entry.mayEdit({3, Column::Item}), false);
    QCOMPARE(c.entry.mayEdit({4, Column::Department}), false);
}

void tst_ChargeEntry::removingLines()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QAbstractItemModelTester tester(&c.entry.grid(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    test::RecordingNotifier &boxes = c.p.f.notifier;

    c.entry.deleteLine(1);
    QCOMPARE(boxes.lastText(),
             QStringLiteral("Row cannot be deleted because there are no entries yet."));
    for (const QString &code :
         {QStringLiteral("PH1001"), QStringLiteral("PH1002"), QStringLiteral("PH1004")})
        QCOMPARE(enterItem(c, int(c.entry.lines().size()) + 1, QStringLiteral("PH"), code),
                 CellAnswer::Accept);
    QCOMPARE(c.entry.grid().rowCount(), 4);

    // F3 asks nothing.
    boxes.clear();
    c.entry.removeLine(2);
    QVERIFY(boxes.boxes().isEmpty());
    QCOMPARE(c.entry.lines().size(), 2);
    QCOMPARE(c.line(2).line.item, QStringLiteral("PH1004"));

    boxes.answer({false});
    c.entry.deleteLine(1);
    QCOMPARE(boxes.lastText(), QStringLiteral("Are you sure to delete the request?"));
    QCOMPARE(c.entry.lines().size(), 2);
    boxes.answer({true});
    c.entry.deleteLine(1);
    QCOMPARE(c.entry.lines().size(), 1);
    QCOMPARE(c.line(1).line.item, QStringLiteral("PH1004"));

    // A package line stays while package items may not be left out.
    QVERIFY(c.p.switches({{QStringLiteral("NoPackageItemExclude"), QStringLiteral("1")}}));
    QCOMPARE(enterItem(c, 2, QStringLiteral("PH"), QStringLiteral("PH1005")), CellAnswer::Accept);
    // As the package window brings its items in.
    const_cast<ChargeEntryLine &>(c.line(2)).packageId = QStringLiteral("PKG-CS");
    QVERIFY(!c.entry.mayEdit({2, Column::Quantity}));
    c.entry.deleteLine(2);
    QCOMPARE(boxes.lastText(),
             QStringLiteral("Sorry, you are not allowed to exclude package items."));
    QCOMPARE(c.entry.lines().size(), 2);

    boxes.answer({false});
    c.entry.ignoreAll();
    QCOMPARE(boxes.lastText(),
             QStringLiteral("Entered data will be cleared. Do you want to continue?"));
    QCOMPARE(c.entry.lines().size(), 2);
    boxes.answer({true});
    c.entry.ignoreAll();
    QVERIFY(c.entry.lines().isEmpty());
    QCOMPARE(c.entry.grid().rowCount(), 1);

    // F3 on the sole line leaves the grid empty.
    QCOMPARE(enterItem(c, 1, QStringLiteral("PH"), QStringLiteral("PH1001")), CellAnswer::Accept);
    c.entry.removeLine(1);
    QVERIFY(c.entry.lines().isEmpty());

    QSignalSpy closing(&c.entry, &ChargeEntry::closeRequested);
    boxes.answer({false, true});
    c.entry.close();
    QCOMPARE(closing.count(), 0);
    QCOMPARE(boxes.lastText(), QStringLiteral("Are you sure to leave Post Charges?"));
    c.entry.close();
    QCOMPARE(closing.count(), 1);
}

void tst_ChargeEntry::pricesOfAnInpatient()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    auto doctorId = db.scalar(u"select AdmittingDr from PATIENT_DATA..tbPatient where IDNum = :id",
                              {{QStringLiteral("id"), c.p.f.session.CurrentPatient.IdNum}});
    QVERIFY(doctorId);
    const QString doctor = c.entry.header().admittingDoctor.section(u',', 0, 0);
    const Money fee = moneyOf(db,
                              u"select Amount from BUILD_FILE..tbCoDoctorBill where DoctorID = :d "
                              u"and RoomClassID = 'A' and Status = 1",
                              {{QStringLiteral("d"), doctorId->toString()}});
    QVERIFY(fee > Money());

    // An OR procedure: the ward rate, no RUV for it; the second-operation discount declined.
    c.p.f.notifier.answer({false});
    QCOMPARE(enterItem(c, 1, QStringLiteral("OR"), QStringLiteral("OR1012")), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.unitPriceValue(), rateA(db, QStringLiteral("OR1012")));
    QCOMPARE(c.line(1).line.secondOperation, QStringLiteral("0"));
    QCOMPARE(c.type(1, Column::Quantity, QStringLiteral("1")), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.amountValue(), rateA(db, QStringLiteral("OR1012")));
    QCOMPARE(c.line(1).line.arCode, QStringLiteral("1131-OR-1"));

    // The surgeon's fee at the ward's class, picked from the doctors by his last name.
    c.pickList.codes.enqueue(doctorId->toString());
    QCOMPARE(c.type(2, Column::Department, QStringLiteral("MD")), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Item, doctor), CellAnswer::Accept);
    QCOMPARE(c.pickList.shown.last().typedText, doctor);
    QCOMPARE(c.line(2).line.unitPriceValue(), fee);
    QCOMPARE(c.line(2).doctorCode, doctorId->toString());
    QCOMPARE(c.type(2, Column::Quantity, QStringLiteral("1")), CellAnswer::Accept);
    QCOMPARE(c.line(2).line.amountValue(), fee);

    // A supply of the central supply, sold at its inpatient price.
    QCOMPARE(c.type(3, Column::Department, QStringLiteral("CS")), CellAnswer::Accept);
    QCOMPARE(c.type(3, Column::Item, QStringLiteral("cs3004")), CellAnswer::Accept);
    const Money syringe = sellingPriceIn(db, QStringLiteral("CS3004"), QStringLiteral("CSR"));
    QCOMPARE(c.line(3).line.unitPriceValue(), syringe);
    QCOMPARE(c.line(3).line.location, QStringLiteral("CSR"));
    QCOMPARE(c.type(3, Column::Quantity, QStringLiteral("4")), CellAnswer::Accept);
    QCOMPARE(c.line(3).line.amountValue(), syringe * 4);
    QCOMPARE(c.entry.grid().data(c.entry.grid().index(2, Column::Description)).toString(),
             QStringLiteral("DISPOSABLE SYRINGE 10 ML WITH NEEDLE G23"));
}

void tst_ChargeEntry::orProcedureTagging()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.p.f.session.hospital.SecProcPercentDiscount = 0;
    c.p.f.session.hospital.IsAllowTaggingORPrc = true;
    QVERIFY(c.open(kLast, kFirst));
    c.prompts.procedure = QStringLiteral("OR1012");
    c.p.f.notifier.answer({true});
    QCOMPARE(enterItem(c, 1, QStringLiteral("OR"), QStringLiteral("OR1012")), CellAnswer::Accept);
    QCOMPARE(c.p.f.notifier.lastText(), QStringLiteral("Is it a major operation?"));
    QCOMPARE(c.line(1).majorOperation, QStringLiteral("Y"));
    QCOMPARE(c.line(1).procedureCode, QStringLiteral("OR1012"));
    QVERIFY(std::any_of(c.prompts.offered.cbegin(), c.prompts.offered.cend(),
                        [](const ORProcedure &p) { return p.ItemID == u"OR1012"; }));

    // An OR item that is no procedure asks nothing.
    c.p.f.notifier.clear();
    QCOMPARE(enterItem(c, 2, QStringLiteral("OR"), QStringLiteral("OR1101")), CellAnswer::Accept);
    QVERIFY(c.p.f.notifier.boxes().isEmpty());
    QVERIFY(c.line(2).majorOperation.isEmpty());
}

void tst_ChargeEntry::doctorsMeals()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.p.f.session.hospital.SecProcPercentDiscount = 0;
    QVERIFY(db.exec(u"update STATION..tbNursing_Settings set ORDRMealDoctors = 1"));
    QVERIFY(c.open(kLast, kFirst));
    c.prompts.meals = MealEntry{QStringLiteral("450"), QStringLiteral("SURGEON AND ASSISTANT")};
    QCOMPARE(enterItem(c, 1, QStringLiteral("OR"), QStringLiteral("OR1012")), CellAnswer::Accept);
    QCOMPARE(c.type(1, Column::Quantity, QStringLiteral("1")), CellAnswer::Accept);
    QCOMPARE(c.prompts.mealsAskedFor, QStringList{QStringLiteral("EXCISION OF LIPOMA")});
    QCOMPARE(c.line(1).line.mealAmount, QStringLiteral("450"));
    QCOMPARE(c.line(1).mealRemarks, QStringLiteral("SURGEON AND ASSISTANT"));
    QCOMPARE(c.line(1).line.amountValue(),
             rateA(db, QStringLiteral("OR1012")) + Money::fromMinor(450 * Money::kScale));

    // Other departments have no meals.
    QCOMPARE(enterItem(c, 2, QStringLiteral("PH"), QStringLiteral("PH1001")), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Quantity, QStringLiteral("1")), CellAnswer::Accept);
    QCOMPARE(c.prompts.mealsAskedFor.size(), 1);
}

void tst_ChargeEntry::psiOxygen_data()
{
    QTest::addColumn<bool>("psi");
    QTest::addColumn<int>("computation");
    QTest::addColumn<double>("used");
    QTest::addColumn<QString>("quantity");
    QTest::addColumn<double>("units"); // the amount in unit prices
    QTest::newRow("per PSI") << true << 1 << 250.0 << "250" << 250.0;
    QTest::newRow("per 100 PSI") << true << 0 << 250.0 << "250" << 2.5;
    QTest::newRow("under 100 PSI") << true << 0 << 60.0 << "60" << 1.0;
    QTest::newRow("no reading") << true << 0 << 0.0 << "3" << 3.0;
    QTest::newRow("not PSI oxygen") << false << 0 << 250.0 << "3" << 3.0;
}

void tst_ChargeEntry::psiOxygen()
{
    QFETCH(bool, psi);
    QFETCH(int, computation);
    QFETCH(double, used);
    QFETCH(QString, quantity);
    QFETCH(double, units);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.p.f.session.hospital.PSIOxygenComputationType = qint16(computation);
    QVERIFY(c.open(kLast, kFirst));
    if (used > 0)
        c.prompts.psi = PsiReading{QStringLiteral("T-0107"), 1800, 1800 - used};
    QCOMPARE(enterItem(c, 1, QStringLiteral("OX"), QStringLiteral("OX5002")), CellAnswer::Accept);
    c.p.f.notifier.answer({psi});
    QCOMPARE(c.type(1, Column::Quantity, QStringLiteral("3")), CellAnswer::Accept);
    QCOMPARE(c.p.f.notifier.boxes().last().text, QStringLiteral("Is this a PSI Oxygen?"));
    const ChargeEntryLine &line = c.line(1);
    const bool read = psi && used > 0;
    QCOMPARE(line.psiFlag, read ? QStringLiteral("1") : QStringLiteral("0"));
    QCOMPARE(line.tankNumber, read ? QStringLiteral("T-0107") : QString());
    QCOMPARE(c.prompts.psiAskedFor.size(), psi ? 1 : 0);
    QCOMPARE(line.line.quantity, quantity);
    QCOMPARE(line.line.amountValue(), rateA(db, QStringLiteral("OX5002")) * units);
}

void tst_ChargeEntry::statPatient()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.p.f.session.hospital.SecProcPercentDiscount = 0;
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, QStringLiteral("OR"), QStringLiteral("OR1012")), CellAnswer::Accept);
    QCOMPARE(c.type(1, Column::Quantity, QStringLiteral("2")), CellAnswer::Accept);
    QCOMPARE(enterItem(c, 2, QStringLiteral("PH"), QStringLiteral("PH1001")), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Quantity, QStringLiteral("1")), CellAnswer::Accept);
    const Money procedure = rateA(db, QStringLiteral("OR1012")) * 2;
    const Money drug = c.line(2).line.amountValue();

    c.entry.setStatPatient(true);
    QVERIFY(c.entry.statPatient());
    QCOMPARE(c.line(1).line.amountValue(), procedure + procedure.percentOf(25));
    QCOMPARE(c.line(2).line.amountValue(), drug);
    c.entry.setStatPatient(false);
    QCOMPARE(c.line(1).line.amountValue(), procedure);
}

void tst_ChargeEntry::saving()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, QStringLiteral("PH"), QStringLiteral("PH1001")), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Department, QStringLiteral("CS")), CellAnswer::Accept);

    c.entry.save();
    QCOMPARE(c.p.f.notifier.lastText(), QStringLiteral("Posting of charges is not available yet."));
    QCOMPARE(c.entry.lines().size(), 2);

    test::RecordingSaving saving;
    c.entry.setSaving(&saving);
    QSignalSpy editing(&c.entry, &ChargeEntry::editRequested);
    saving.outcome.status = PostingOutcome::Status::Refused;
    saving.outcome.quantityLine = 1;
    c.entry.save();
    QCOMPARE(saving.saved.size(), 1);
    QCOMPARE(saving.saved.at(0).size(), 2);
    QCOMPARE(saving.saved.at(0).at(0).line.item, QStringLiteral("PH1001"));
    QCOMPARE(saving.saved.at(0).at(1).line.department, QStringLiteral("CS"));
    QCOMPARE(saving.departments, QStringList{QStringLiteral("CS")});
    QCOMPARE(editing.count(), 1);
    QCOMPARE(editing.at(0).at(0).value<GridCell>(), (GridCell{2, Column::Quantity}));
    QCOMPARE(c.entry.lines().size(), 2);

    // Once posted, the grid empties and the posted list is read again.
    QVERIFY(db.exec(u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                    u"RevenueID, ItemID, Description, Quantity, Amount, StationID) values "
                    u"(:id, :h, 'C1300O', 'PH', 'PH1001', 'CEFAZOLIN 1 G VIAL', 1, 185, 'OR')",
                    {{QStringLiteral("id"), c.p.f.session.CurrentPatient.IdNum},
                     {QStringLiteral("h"), c.p.f.session.CurrentPatient.HospNum}}));
    saving.outcome = PostingOutcome{PostingOutcome::Status::Saved, QStringLiteral("C1300O"), -1};
    c.entry.save();
    QVERIFY(c.entry.lines().isEmpty());
    QCOMPARE(c.entry.postedCharges().size(), 1);
    QCOMPARE(c.entry.grossAmountText(), QStringLiteral("Gross Amount: Php 185.00"));

    c.entry.reprint(0);
    QCOMPARE(saving.reprinted,
             QStringList{QStringLiteral("C1300O/") + c.p.f.session.CurrentPatient.IdNum});
}

void tst_ChargeEntry::laterWindows()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    c.entry.viewPackages();
    QCOMPARE(c.p.f.notifier.lastText(),
             QStringLiteral("Sorry, no package was tagged for this patient."));
    QVERIFY(c.opened.isEmpty());
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set PackageID = 'PKG-LC' where IDNum = :id",
                    {{QStringLiteral("id"), c.p.f.session.CurrentPatient.IdNum}}));
    c.entry.viewPackages();
    QCOMPARE(c.opened, QStringList{QStringLiteral("frmListPackage|The OR package list")});

    // Revoking needs a posted charge to revoke.
    c.entry.revoke(0);
    QCOMPARE(c.opened.size(), 1);
    QVERIFY(db.exec(u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                    u"RevenueID, ItemID, Description, Quantity, Amount, StationID) values "
                    u"(:id, :h, 'C1301O', 'OR', 'OR1101', 'OR FEE', 1, 3500, 'OR')",
                    {{QStringLiteral("id"), c.p.f.session.CurrentPatient.IdNum},
                     {QStringLiteral("h"), c.p.f.session.CurrentPatient.HospNum}}));
    c.entry.refresh();
    c.entry.revoke(0);
    QCOMPARE(c.opened.last(), QStringLiteral("frmRevokeCharge|Revoking of posted charges"));

    c.entry.viewRvs();
    QCOMPARE(c.p.f.notifier.lastText(),
             QStringLiteral("The relative value scale list is not available yet."));
    QCOMPARE(c.entry.rvsCaption(), QStringLiteral("View RVS Codes"));
    QVERIFY(c.p.switches({{QStringLiteral("ORClientRUVtext"), QStringLiteral("LOBRA")}}));
    c.p.f.session.hospital.clientname = QStringLiteral("LOBRA");
    QCOMPARE(c.entry.rvsCaption(), QStringLiteral("View RUV Codes"));

    QCOMPARE(c.entry.viewAllCaption(), QStringLiteral("View All"));
    c.entry.toggleViewAll();
    QVERIFY(c.entry.listExpanded());
    QCOMPARE(c.entry.viewAllCaption(), QStringLiteral("Close"));
}

QTEST_MAIN(tst_ChargeEntry)
#include "tst_chargeentry.moc"
