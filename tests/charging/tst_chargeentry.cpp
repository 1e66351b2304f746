// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The rules of the charge window, cell by cell, on the demo hospital and on every backend, and
// one charge from the grid to the records the real posting writes.
#include "charging/ChargingFixture.h"
#include "core/db/NumberFormat.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;
using test::ChargeEntryFixture;

Q_DECLARE_METATYPE(kestrel::CellAnswer)

namespace {

using Column = ChargeEntryLine::Column;

// A regular inpatient in a ward of rate class A, with no charges yet.
const QString kLast = u"ESTACIO"_s;
const QString kFirst = u"WILMA"_s;

Money moneyOf(Database &db, QStringView sql, const Binds &binds)
{
    auto value = db.scalar(sql, binds);
    return value ? Money::fromVariant(*value) : Money::fromMinor(-1);
}

Money rateA(Database &db, const QString &item)
{
    return moneyOf(db, u"select RateA from BUILD_FILE..tbCoOtherRevenue where OtherRevenueID = :i",
                   {{u"i"_s, item}});
}

Money sellingPriceIn(Database &db, const QString &item, const QString &location)
{
    return moneyOf(db, u"select SellingPriceIn from INVENTORY..tbInvent where ItemID = :i and "
                       u"LocationID = :l",
                   {{u"i"_s, item}, {u"l"_s, location}});
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

struct QuantityCase
{
    QString typed;
    bool allowZeroOnHand;
    CellAnswer answer;
    QString box, quantity;
    int units; // the amount in unit prices; -1 for an empty amount
};

struct RefusalCase
{
    QString item, setup;
    QList<bool> answers;
    CellAnswer answer;
    QString box;
};

struct PsiCase
{
    bool psi;
    int computation;
    double used;
    QString quantity;
    double units; // the amount in unit prices
};

bool addPosted(Database &db, const CurrentPatientRecord &stay, QStringView values)
{
    return db.exec(u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, "
                   u"RevenueID, ItemID, Description, Quantity, Amount, StationID, TransDate) "
                   u"values %1"_s.arg(values),
                   {{u"id"_s, stay.IdNum}, {u"h"_s, stay.HospNum}})
        .has_value();
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
    void drugPriceByRoomClass_data();
    void drugPriceByRoomClass();
    void editorMoves();
    void removingLines();
    void orProcedureTagging();
    void psiOxygen_data();
    void psiOxygen();
    void saving();
    void laterWindows();
    void chargeFromTheGridToThePostedSlip();
};

void tst_ChargeEntry::opening_data()
{
    QTest::addColumn<QString>("employee");
    QTest::addColumn<QString>("stay");
    QTest::addColumn<QString>("box");
    QTest::newRow("nurse, open stay") << "2902" << "open" << "";
    QTest::newRow("no right to post")
        << "2908" << "open" << "Sorry, you don't have access right to Post Charges.";
    QTest::newRow("no patient selected") << "2902" << "none" << "Please select patient.";
    QTest::newRow("account closed by billing")
        << "2902" << "billed"
        << "The patient's account has already been closed. \n\nIf you have transactions to "
           "make, please notify the Billing staff immediately for further instructions.";
}

void tst_ChargeEntry::opening()
{
    QFETCH(QString, employee);
    QFETCH(QString, stay);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.f.user.setCode(employee);
    CurrentPatientRecord &patient = c.f.session.CurrentPatient;
    if (stay == u"open") {
        QVERIFY(c.select(kLast, kFirst));
    } else if (stay == u"billed") {
        auto row = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient "
                                u"where BillingDate is not null order by IDNum limit 1");
        QVERIFY(row && *row);
        patient.IdNum = (*row)->trimmed(u"IDNum");
        patient.HospNum = (*row)->trimmed(u"HospNum");
        patient.PatientClass = u"I"_s;
    }
    QSignalSpy changed(&c.entry, &ChargeEntry::changed);
    QCOMPARE(c.entry.open(), box.isEmpty());
    QCOMPARE(c.f.notifier.lastText(), box);
    QCOMPARE(changed.count(), box.isEmpty() ? 1 : 0);
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
    QVERIFY(c.select(kLast, kFirst));
    QVERIFY(db.exec(u"update PATIENT_DATA..tbMaster set BirthDate = :born where HospNum = :h",
                    {{u"born"_s, born}, {u"h"_s, c.f.session.CurrentPatient.HospNum}}));
    QVERIFY(c.entry.open());

    QCOMPARE(c.entry.header().patientName, u"ESTACIO, WILMA ABAD"_s);
    QCOMPARE(c.entry.header().diagnosis, u"CHOLELITHIASIS"_s);
    QCOMPARE(c.entry.age(), age);
    QCOMPARE(c.entry.philhealthText(), u"PHIC TYPE EMPLOYED - PRIVATE"_s);
    QVERIFY(c.entry.noChargesEntered());
}

void tst_ChargeEntry::postedCharges()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    // A stay the OR charged twice, one batch of which was revoked.
    auto row = db.selectOne(u"select IDNum, HospNum, ReferenceNum from STATION..tbNurseLogBook "
                            u"where RecordStatus = 'R' and StationID = 'OR' limit 1");
    QVERIFY(row && *row);
    CurrentPatientRecord &patient = c.f.session.CurrentPatient;
    patient.IdNum = (*row)->trimmed(u"IDNum");
    patient.HospNum = (*row)->trimmed(u"HospNum");
    patient.PatientClass = u"I"_s;
    // Two charges the OR posted since, and one of the delivery room's, which is not the OR's.
    QVERIFY(addPosted(db, patient,
                      u"(:id, :h, 'C2001O', 'OS', 'OS2003', 'SURGICAL GLOVES', 2, 1250.5, 'OR', "
                      u"'2026-12-01 08:10:00'), (:id, :h, 'C2002O', 'OR', 'OR1101', 'OR FEE', 1, "
                      u"3000, 'OR', '2026-12-01 09:30:00'), (:id, :h, 'C9999O', 'DR', 'DR0001', "
                      u"'DELIVERY ROOM FEE', 1, 2500, 'DR', '2026-12-01 09:00:00')"));

    QVERIFY(c.entry.open());
    QStringList slips;
    for (const PostedCharge &charge : c.entry.postedCharges())
        slips << charge.chargeSlip;
    QCOMPARE(slips, QStringList({"C2001O", "C2002O"})); // not the revoked batch
    QCOMPARE(c.entry.postedCharges().at(0).quantity, 2.0);
    QCOMPARE(c.entry.grossAmountText(), u"Gross Amount: Php 4,250.50"_s);
}

void tst_ChargeEntry::departmentCell()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.f.session.hospital.SecProcPercentDiscount = 0;
    QVERIFY(c.open(kLast, kFirst));
    test::RecordingNotifier &boxes = c.f.notifier;

    QCOMPARE(c.type(1, Column::Department, u"ZZ"_s), CellAnswer::RefuseAndEmpty);
    QCOMPARE(boxes.lastText(),
             u"Department code does not exist. Please refer to the list of department codes."_s);
    QVERIFY(c.entry.lines().isEmpty());
    QCOMPARE(enterItem(c, 1, u"or"_s, u"OR1012"_s), CellAnswer::Accept);
    // No keeps the whole line.
    boxes.answer({false});
    QCOMPARE(c.type(1, Column::Department, u"MD"_s), CellAnswer::RefuseAndKeep);
    QCOMPARE(boxes.lastText(),
             u"This will remove EXCISION OF LIPOMA.\n\nAre you sure you want to continue?"_s);
    QCOMPARE(c.line(1).line.department + c.line(1).line.item, u"OROR1012"_s);

    // The same code asks nothing; Yes empties the rest of the line.
    boxes.clear();
    QCOMPARE(c.type(1, Column::Department, u"OR"_s), CellAnswer::Accept);
    QVERIFY(boxes.boxes().isEmpty());
    boxes.answer({true});
    QCOMPARE(c.type(1, Column::Department, u"MD"_s), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.department + c.line(1).line.item + c.line(1).line.unitPrice, u"MD"_s);
    QCOMPARE(c.entry.departmentShown(), u"MD"_s);
}

void tst_ChargeEntry::sameItemTwice_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("box");
    QTest::newRow("drug") << "PH" << "PH1001" << "Can't charge the same Medicine/Supply.";
    QTest::newRow("service") << "OS" << "OS2003" << "Can't charge the same service.";
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
    QCOMPARE(c.type(1, Column::Quantity, u"2"_s), CellAnswer::Accept);

    QCOMPARE(enterItem(c, 2, department, item), CellAnswer::RefuseAndKeep);
    QCOMPARE(c.f.notifier.lastText(), box);
    QVERIFY(c.line(2).line.item.isEmpty());
    QCOMPARE(c.line(1).line.quantity, u"2"_s);
}

void tst_ChargeEntry::quantity_data()
{
    QTest::addColumn<QuantityCase>("q");
    const auto keep = CellAnswer::RefuseAndKeep;
    const char *notZero = "Quantity should be greater than zero(0).";
    QTest::newRow("a fraction") << QuantityCase{
        "2.5", false, keep, "You are only allowed to enter whole number for quantity.", "1", 1};
    QTest::newRow("zero") << QuantityCase{"0", false, keep, notZero, "1", 1};
    QTest::newRow("not a number") << QuantityCase{"X", false, keep, notZero, "1", 1};
    QTest::newRow("3 of 2 in stock, stock counted")
        << QuantityCase{"3", true, CellAnswer::RefuseAndEmpty,
                        "Stock is not enough for the quantity entered. Remaining stock is: 2", "",
                        -1};
    QTest::newRow("3 of 2 in stock, stock not counted")
        << QuantityCase{"3", false, CellAnswer::Accept, "", "3", 3};
    QTest::newRow("2 of 2 in stock, stock counted")
        << QuantityCase{"2", true, CellAnswer::Accept, "", "2", 2};
}

void tst_ChargeEntry::quantity()
{
    QFETCH(QuantityCase, q);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = 2 where ItemID = 'PH1001' "
                    u"and LocationID = 'PHA'"));
    c.f.session.hospital.AllowZeroOnHand = q.allowZeroOnHand;
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, u"PH"_s, u"PH1001"_s), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.quantity, u"1"_s);
    c.f.notifier.clear();

    QCOMPARE(c.type(1, Column::Quantity, q.typed), q.answer);
    QCOMPARE(c.f.notifier.lastText(), q.box);
    QCOMPARE(c.line(1).line.quantity, q.quantity);
    QCOMPARE(c.line(1).line.amountValue(),
             q.units < 0 ? Money() : sellingPriceIn(db, u"PH1001"_s, u"PHA"_s) * q.units);
}

void tst_ChargeEntry::drugPriceByRoomClass_data()
{
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<bool>("byRoomClass");
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("item");
    QTest::addColumn<QString>("unitPrice");
    // Cefazolin sells at 185.00 at the pharmacy; the hospital's class B rate is 194.25.
    QTest::newRow("off: the pharmacy's price")
        << u"AGUINALDO"_s << u"MARISSA"_s << false << u"PH"_s << u"PH1001"_s << u"185"_s;
    QTest::newRow("room of class B")
        << u"AGUINALDO"_s << u"MARISSA"_s << true << u"PH"_s << u"PH1001"_s << u"194.25"_s;
    QTest::newRow("a supply without class rates keeps its price")
        << u"AGUINALDO"_s << u"MARISSA"_s << true << u"CS"_s << u"CS3001"_s << u"95"_s;
}

void tst_ChargeEntry::drugPriceByRoomClass()
{
    QFETCH(QString, lastName);
    QFETCH(QString, firstName);
    QFETCH(bool, byRoomClass);
    QFETCH(QString, department);
    QFETCH(QString, item);
    QFETCH(QString, unitPrice);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.switches({{u"InventoryRoomClassRate"_s, byRoomClass ? u"1"_s : QString()}}));
    QVERIFY(c.open(lastName, firstName));
    QCOMPARE(enterItem(c, 1, department, item), CellAnswer::Accept);
    QCOMPARE(c.line(1).line.unitPrice, unitPrice);
    QCOMPARE(c.line(1).line.amount, unitPrice);
}

void tst_ChargeEntry::stockItemRefusals_data()
{
    QTest::addColumn<RefusalCase>("r");
    const auto keep = CellAnswer::RefuseAndKeep;
    const auto accept = CellAnswer::Accept;
    const char *offPnf = "Item is not under PNF list. Would you like to continue?";
    QTest::newRow("unknown code")
        << RefusalCase{"PH9999", "", {}, keep, "Item code does not exist."};
    QTest::newRow("inactive item") << RefusalCase{
        "PH1010", "", {}, keep, "Record is inactive. Please enter an active item."};
    QTest::newRow("no stock left, stock counted")
        << RefusalCase{"PH1001", "no stock", {}, keep,
                       "CEFAZOLIN 1 G VIAL has no stocks left. The system can't process the "
                       "specified item."};
    QTest::newRow("no stock left, dosage asked")
        << RefusalCase{"PH1001", "no stock, dosage", {}, keep,
                       "There is no stock left for CEFAZOLIN 1 G VIAL. The system can't process "
                       "the specified item."};
    QTest::newRow("off the formulary, no by-pass")
        << RefusalCase{"PH1003", "PNF strict", {}, keep, "Item is not under PNF list."};
    QTest::newRow("off the formulary, declined")
        << RefusalCase{"PH1003", "PNF", {false}, keep, offPnf};
    QTest::newRow("off the formulary, continued")
        << RefusalCase{"PH1003", "PNF", {true}, accept, offPnf};
    QTest::newRow("on the formulary") << RefusalCase{"PH1001", "PNF strict", {}, accept, ""};
    QTest::newRow("restricted, cash-basis patient")
        << RefusalCase{"PH1002", "cash basis", {}, keep,
                       "This ITEM/SERVICE/EXAM is restricted for cash basis patients."};
    QTest::newRow("unrestricted, cash-basis patient")
        << RefusalCase{"PH1001", "cash basis", {}, accept, ""};
    QTest::newRow("no dosage picked")
        << RefusalCase{"PH1001", "dosage", {}, CellAnswer::RefuseAndEmpty,
                       "DOSAGE ID for CEFAZOLIN 1 G VIAL is empty. The system can't process the "
                       "specified item."};
}

void tst_ChargeEntry::stockItemRefusals()
{
    QFETCH(RefusalCase, r);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    if (r.setup == u"PNF strict")
        QVERIFY(c.switches({{u"CheckPNF"_s, u"1"_s}, {u"NoPNFByPass"_s, u"1"_s}}));
    else if (r.setup == u"PNF")
        QVERIFY(c.switches({{u"CheckPNF"_s, u"1"_s}}));
    else if (r.setup.endsWith(u"dosage"))
        QVERIFY(c.switches({{u"ORShowDosagePostMedicines"_s, u"1"_s}}));
    if (r.setup.startsWith(u"no stock")) {
        QVERIFY(db.exec(u"update INVENTORY..tbInvent set OnHand = 0 where ItemID = 'PH1001'"));
        c.f.session.hospital.AllowZeroOnHand = true;
    }
    QVERIFY(c.select(kLast, kFirst));
    if (r.setup == u"cash basis") {
        c.f.session.hospital.clientname = u"ZUL"_s;
        QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 1 where IDNum = :id",
                        {{u"id"_s, c.f.session.CurrentPatient.IdNum}}));
    }
    QVERIFY(c.entry.open());
    QCOMPARE(c.type(1, Column::Department, u"PH"_s), CellAnswer::Accept);
    c.f.notifier.answer(r.answers);

    QCOMPARE(c.type(1, Column::Item, r.item), r.answer);
    QCOMPARE(c.f.notifier.lastText(), r.box);
    // A line without a dosage is cleared whole; the other refusals keep the department.
    const bool taken = r.answer == CellAnswer::Accept;
    QCOMPARE(c.line(1).line.item, taken ? r.item : QString());
    QCOMPARE(c.line(1).line.department,
             r.answer == CellAnswer::RefuseAndEmpty ? QString() : u"PH"_s);
    if (taken)
        QCOMPARE(c.line(1).line.location, u"PHA"_s);
}

void tst_ChargeEntry::editorMoves()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, u"PH"_s, u"PH1001"_s), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Department, u"CS"_s), CellAnswer::Accept);
    using D = EntryGridRules::Direction;
    using Cell = std::optional<GridCell>;

    QCOMPARE(c.entry.verticalMove({1, Column::Quantity}, D::Up), std::nullopt);
    QCOMPARE(c.entry.verticalMove({2, Column::Department}, D::Up),
             Cell(GridCell{1, Column::Department}));
    QCOMPARE(c.entry.verticalMove({1, Column::Department}, D::Down),
             Cell(GridCell{2, Column::Department}));
    // The second line has no item yet, so its quantity may not be typed.
    QCOMPARE(c.entry.verticalMove({1, Column::Quantity}, D::Down), std::nullopt);
    // Past the last line is the empty row: Down goes nowhere.
    QCOMPARE(c.entry.verticalMove({2, Column::Department}, D::Down), std::nullopt);

    const int columns = c.entry.grid().columnCount();
    QCOMPARE(c.entry.nextCell({1, Column::Item}, columns), Cell(GridCell{1, Column::Quantity}));
    // After the quantity the amount (a medicine's unit price is not typed), then the next line.
    QCOMPARE(c.entry.nextCell({1, Column::Quantity}, columns), Cell(GridCell{1, Column::Amount}));
    QCOMPARE(c.entry.nextCell({1, Column::Amount}, columns), Cell(GridCell{2, Column::Department}));
    QVERIFY(c.entry.mayEdit({3, Column::Department}));
    QVERIFY(!c.entry.mayEdit({3, Column::Item}));
    QVERIFY(!c.entry.mayEdit({4, Column::Department}));
    // A medicine's total may be typed over, its unit price and description not.
    QVERIFY(c.entry.mayEdit({1, Column::Amount}));
    QVERIFY(!c.entry.mayEdit({1, Column::UnitPrice}) && !c.entry.mayEdit({1, Column::Description}));
    // Where the OR's prices may be typed over, an OR line's quantity leads to its unit price.
    QVERIFY(c.switches({{u"EditORAmount"_s, u"1"_s}}));
    c.pickList.codes.clear();
    QCOMPARE(enterItem(c, 2, u"OR"_s, u"OR1101"_s), CellAnswer::Accept);
    QCOMPARE(c.entry.nextCell({2, Column::Quantity}, columns),
             Cell(GridCell{2, Column::UnitPrice}));
}

void tst_ChargeEntry::removingLines()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QAbstractItemModelTester tester(&c.entry.grid(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    test::RecordingNotifier &boxes = c.f.notifier;

    c.entry.deleteLine(1);
    QCOMPARE(boxes.lastText(), u"Row cannot be deleted because there are no entries yet."_s);
    for (const QString &code : {u"PH1001"_s, u"PH1004"_s})
        QCOMPARE(enterItem(c, int(c.entry.lines().size()) + 1, u"PH"_s, code), CellAnswer::Accept);
    boxes.answer({false});
    c.entry.deleteLine(1);
    QCOMPARE(boxes.lastText(), u"Are you sure to delete the request?"_s);
    QCOMPARE(c.entry.lines().size(), 2);
    boxes.answer({true});
    c.entry.deleteLine(1);
    QCOMPARE(c.entry.lines().size(), 1);
    QCOMPARE(c.line(1).line.item, u"PH1004"_s);

    // A package line stays while package items may not be left out.
    QVERIFY(c.switches({{u"NoPackageItemExclude"_s, u"1"_s}}));
    QCOMPARE(enterItem(c, 2, u"PH"_s, u"PH1005"_s), CellAnswer::Accept);
    // As the package window brings its items in.
    const_cast<ChargeEntryLine &>(c.line(2)).packageId = u"PKG-CS"_s;
    QVERIFY(!c.entry.mayEdit({2, Column::Quantity}));
    c.entry.deleteLine(2);
    QCOMPARE(boxes.lastText(), u"Sorry, you are not allowed to exclude package items."_s);
    QCOMPARE(c.entry.lines().size(), 2);

    boxes.answer({false});
    c.entry.ignoreAll();
    QCOMPARE(boxes.lastText(), u"Entered data will be cleared. Do you want to continue?"_s);
    QCOMPARE(c.entry.lines().size(), 2);
    boxes.answer({true});
    c.entry.ignoreAll();
    QCOMPARE(c.entry.grid().rowCount(), 1);

    QSignalSpy closing(&c.entry, &ChargeEntry::closeRequested);
    boxes.answer({false, true});
    c.entry.close();
    QCOMPARE(closing.count(), 0);
    QCOMPARE(boxes.lastText(), u"Are you sure to leave Post Charges?"_s);
    c.entry.close();
    QCOMPARE(closing.count(), 1);
}

void tst_ChargeEntry::orProcedureTagging()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.f.session.hospital.SecProcPercentDiscount = 0;
    c.f.session.hospital.IsAllowTaggingORPrc = true;
    QVERIFY(c.open(kLast, kFirst));
    c.chargePrompts.procedure = u"OR1012"_s;
    c.f.notifier.answer({true});
    QCOMPARE(enterItem(c, 1, u"OR"_s, u"OR1012"_s), CellAnswer::Accept);
    QCOMPARE(c.f.notifier.lastText(), u"Is it a major operation?"_s);
    QCOMPARE(c.line(1).majorOperation, u"Y"_s);
    QCOMPARE(c.line(1).procedureCode, u"OR1012"_s);
    QVERIFY(std::any_of(c.chargePrompts.offered.cbegin(), c.chargePrompts.offered.cend(),
                        [](const ORProcedure &p) { return p.ItemID == u"OR1012"; }));

    // An OR item that is no procedure asks nothing.
    c.f.notifier.clear();
    QCOMPARE(enterItem(c, 2, u"OR"_s, u"OR1101"_s), CellAnswer::Accept);
    QVERIFY(c.f.notifier.boxes().isEmpty());
    QVERIFY(c.line(2).majorOperation.isEmpty());
}

void tst_ChargeEntry::psiOxygen_data()
{
    QTest::addColumn<PsiCase>("o");
    QTest::newRow("per PSI") << PsiCase{true, 1, 250, "250", 250};
    QTest::newRow("per 100 PSI") << PsiCase{true, 0, 250, "250", 2.5};
    QTest::newRow("under 100 PSI") << PsiCase{true, 0, 60, "60", 1};
    QTest::newRow("no reading") << PsiCase{true, 0, 0, "3", 3};
    QTest::newRow("not PSI oxygen") << PsiCase{false, 0, 250, "3", 3};
}

void tst_ChargeEntry::psiOxygen()
{
    QFETCH(PsiCase, o);
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    c.f.session.hospital.PSIOxygenComputationType = qint16(o.computation);
    QVERIFY(c.open(kLast, kFirst));
    if (o.used > 0)
        c.chargePrompts.psi = PsiReading{u"T-0107"_s, 1800, 1800 - o.used};
    QCOMPARE(enterItem(c, 1, u"OX"_s, u"OX5002"_s), CellAnswer::Accept);
    c.f.notifier.answer({o.psi});
    QCOMPARE(c.type(1, Column::Quantity, u"3"_s), CellAnswer::Accept);
    QCOMPARE(c.f.notifier.boxes().last().text, u"Is this a PSI Oxygen?"_s);
    const ChargeEntryLine &line = c.line(1);
    const bool read = o.psi && o.used > 0;
    QCOMPARE(line.psiFlag, read ? u"1"_s : u"0"_s);
    QCOMPARE(line.tankNumber, read ? u"T-0107"_s : QString());
    QCOMPARE(c.chargePrompts.psiAskedFor.size(), o.psi ? 1 : 0);
    QCOMPARE(line.line.quantity, o.quantity);
    QCOMPARE(line.line.amountValue(), rateA(db, u"OX5002"_s) * o.units);
}

void tst_ChargeEntry::saving()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    QCOMPARE(enterItem(c, 1, u"PH"_s, u"PH1001"_s), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Department, u"CS"_s), CellAnswer::Accept);

    // A refused save keeps the lines and puts the editor on the quantity it asked for.
    test::RecordingSaving saving;
    c.entry.setSaving(&saving);
    QSignalSpy editing(&c.entry, &ChargeEntry::editRequested);
    saving.outcome.status = PostingOutcome::Status::Refused;
    saving.outcome.quantityLine = 1;
    c.entry.save();
    QCOMPARE(saving.saved.value(0).size(), 2);
    QCOMPARE(saving.saved.at(0).at(0).line.item, u"PH1001"_s);
    QCOMPARE(saving.departments, QStringList{u"CS"_s});
    QCOMPARE(editing.value(0).value(0).value<GridCell>(), (GridCell{2, Column::Quantity}));
    QCOMPARE(c.entry.lines().size(), 2);

    // Once posted, the grid empties and the posted list is read again.
    QVERIFY(addPosted(db, c.f.session.CurrentPatient,
                      u"(:id, :h, 'C1300O', 'PH', 'PH1001', 'CEFAZOLIN 1 G VIAL', 1, 185, 'OR', "
                      u"null)"));
    saving.outcome = PostingOutcome{PostingOutcome::Status::Saved, u"C1300O"_s, -1};
    c.entry.save();
    QVERIFY(c.entry.lines().isEmpty());
    QCOMPARE(c.entry.grossAmountText(), u"Gross Amount: Php 185.00"_s);

    c.entry.reprint(0);
    QCOMPARE(saving.reprinted, QStringList{u"C1300O/"_s + c.f.session.CurrentPatient.IdNum});
}

void tst_ChargeEntry::laterWindows()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(c.open(kLast, kFirst));
    c.entry.viewPackages();
    QCOMPARE(c.f.notifier.lastText(), u"Sorry, no package was tagged for this patient."_s);
    QVERIFY(c.opened.isEmpty());
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set PackageID = 'PKG-LC' where IDNum = :id",
                    {{u"id"_s, c.f.session.CurrentPatient.IdNum}}));
    c.entry.viewPackages();
    QCOMPARE(c.opened, QStringList{u"frmListPackage|The OR package list"_s});

    // Revoking needs a posted charge to revoke.
    c.entry.revoke(0);
    QCOMPARE(c.opened.size(), 1);

    // Hospitals that price by relative units say so on the button.
    QCOMPARE(c.entry.rvsCaption(), u"View RVS Codes"_s);
    QVERIFY(c.switches({{u"ORClientRUVtext"_s, u"LOBRA"_s}}));
    c.f.session.hospital.clientname = u"LOBRA"_s;
    QCOMPARE(c.entry.rvsCaption(), u"View RUV Codes"_s);
}

void tst_ChargeEntry::chargeFromTheGridToThePostedSlip()
{
    KESTREL_OPEN_DEMO(db);
    ChargeEntryFixture c(db);
    QVERIFY(db.exec(u"update STATION..tbNursing_Settings set ORDRMealDoctors = 1"));
    QVERIFY(c.open(kLast, kFirst));
    const CurrentPatientRecord stay = c.f.session.CurrentPatient;
    c.entry.setSaving(&c.posting);
    const QString surgeon = c.rows(u"select AdmittingDr from PATIENT_DATA..tbPatient where "
                                   u"IDNum = :id"_s,
                                   {{u"id"_s, stay.IdNum}});
    const Money fee = moneyOf(db, u"select Amount from BUILD_FILE..tbCoDoctorBill where DoctorID = "
                                  u":d and RoomClassID = 'A' and Status = 1",
                              {{u"d"_s, surgeon}});
    QVERIFY(fee > Money());

    // An OR procedure at the ward's rate A with the doctors' meals on top, the second-operation
    // discount declined.
    c.f.notifier.answer({false});
    c.chargePrompts.meals = MealEntry{u"450"_s, u"SURGEON AND ASSISTANT"_s};
    QCOMPARE(enterItem(c, 1, u"OR"_s, u"OR1012"_s), CellAnswer::Accept);
    QCOMPARE(c.type(1, Column::Quantity, u"1"_s), CellAnswer::Accept);
    const Money procedure = rateA(db, u"OR1012"_s) + Money::fromMinor(450 * Money::kScale);
    QCOMPARE(c.line(1).line.amountValue(), procedure);

    // The surgeon's fee at the ward's class, picked from the doctors by his last name.
    const QString surgeonsName = c.entry.header().admittingDoctor.section(u',', 0, 0);
    c.pickList.codes.enqueue(surgeon);
    QCOMPARE(c.type(2, Column::Department, u"MD"_s), CellAnswer::Accept);
    QCOMPARE(c.type(2, Column::Item, surgeonsName), CellAnswer::Accept);
    QCOMPARE(c.pickList.shown.last().typedText, surgeonsName);
    QCOMPARE(c.type(2, Column::Quantity, u"1"_s), CellAnswer::Accept);
    QCOMPARE(c.line(2).line.amountValue(), fee);

    QCOMPARE(c.chargePrompts.mealsAskedFor, QStringList{u"EXCISION OF LIPOMA"_s}); // the OR's only
    c.confirmAndSign();
    c.entry.save();
    QVERIFY2(c.entry.lines().isEmpty(), qPrintable(c.f.notifier.lastText()));

    // One slip for the batch: every logbook line of the stay carries it with the grid's amount
    // and the signer, the meals told in the OR line's remark.
    const QMap<QString, Money> amounts{{u"OR1012"_s, procedure}, {surgeon, fee}};
    auto logbook = db.select(u"select ReferenceNum, ItemID, Amount, UserID, Remarks from "
                             u"STATION..tbNurseLogBook where IDNum = :id",
                             {{u"id"_s, stay.IdNum}});
    QVERIFY(logbook && logbook->count() == 2);
    const QString slip = logbook->at(0).trimmed(u"ReferenceNum");
    for (const Row &r : *logbook) {
        QCOMPARE(r.trimmed(u"ReferenceNum") + u'|' + r.trimmed(u"UserID"), slip + u"|2901");
        QCOMPARE(r.money(u"Amount"), amounts.value(r.trimmed(u"ItemID"), Money::fromMinor(-1)));
        if (r.trimmed(u"ItemID") == u"OR1012")
            QCOMPARE(r.trimmed(u"Remarks"),
                     u"DOCTOR MEAL:OR1012:EXCISION OF LIPOMA:450:SURGEON AND ASSISTANT"_s);
    }
    QCOMPARE(c.entry.postedCharges().size(), 2);
    QCOMPARE(c.entry.grossAmountText(),
             u"Gross Amount: Php "_s + formatNumber(procedure + fee, u"#,##0.00"));
}

QTEST_MAIN(tst_ChargeEntry)
#include "tst_chargeentry.moc"
