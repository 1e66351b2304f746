// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The charging windows offscreen on the demo hospital, used with the keyboard and the mouse
// as the OR clerk does: the charge window, the markup window, "Enter Requesting Doctor" and
// the charge slip sequence.
#include "charging/ChargingFixture.h"
#include "charging/ui/EntryGrid.h"
#include "charging/ui/frmCharge.h"
#include "charging/ui/frmChargeSlipVerification.h"
#include "charging/ui/frmMarkUp.h"
#include "charging/ui/frmRequestingDoctor.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

using namespace kestrel;
using namespace Qt::StringLiterals;

class tst_ChargingWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void chargeLineWithTheKeyboard();
    void markupChosenWithTheKeyboard();
    void requestingDoctorPickedOrTyped();
    void sequenceWindowSetsTheNextNumber();
};

void tst_ChargingWindows::chargeLineWithTheKeyboard()
{
    KESTREL_OPEN_DEMO(db);
    test::ChargeEntryFixture c(db);
    QVERIFY(c.select(u"ESTACIO"_s, u"WILMA"_s));
    frmCharge window(c.f.session, {&c.lookup, &c.picker, &c.drugList, nullptr});
    QVERIFY(window.presenter().open());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    EntryGrid &grid = window.entryGrid();
    auto *editor = window.findChild<QLineEdit *>(u"txtEntry"_s);
    auto *prompt = window.findChild<QLabel *>(u"lblMessage"_s);
    QVERIFY(editor && prompt);
    QCOMPARE(window.findChild<QLabel *>(u"lblGrossAmount"_s)->text(), u"Gross Amount: Php 0.00"_s);
    QCOMPARE(window.findChild<QLineEdit *>(u"txtPatient"_s)->text(), u"ESTACIO, WILMA ABAD"_s);

    // A click on the first cell lays the editor over it.
    const QModelIndex first = grid.model()->index(0, ChargeEntryLine::Department);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(first).center());
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry(), EntryGrid::editorGeometry(grid.visualRect(first)));
    QCOMPARE(prompt->text(), u"Enter Department Code."_s);

    // Letters turn to capitals; Enter takes the department and moves on to the item.
    QTest::keyClicks(editor, u"cs"_s);
    QCOMPARE(editor->text(), u"CS"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Item}));
    QCOMPARE(prompt->text(), u"Enter the Service Code or First letters of Service Name then "
                             u"Press the <Enter> Key"_s);
    QCOMPARE(window.findChild<QLabel *>(u"lblDeptCode"_s)->text(), u"CS"_s);

    // The item, then the quantity it was preset to, typed over.
    QTest::keyClicks(editor, u"cs3004"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Quantity}));
    QCOMPARE(editor->text(), u"1"_s);
    QCOMPARE(prompt->text(), u"Enter quantity to charge."_s);
    QTest::keyClicks(editor, u"4"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    const ChargeEntryLine &line = window.presenter().lines().at(0);
    QCOMPARE(line.line.item, u"CS3004"_s);
    QCOMPARE(line.line.quantity, u"4"_s);
    QCOMPARE(line.line.amountValue(), line.line.unitPriceValue() * 4);
    QCOMPARE(grid.model()->index(0, ChargeEntryLine::Amount).data().toString(), line.line.amount);
    QCOMPARE(grid.currentCell(), (GridCell{2, ChargeEntryLine::Department}));

    // Up stops at the first line; a refused quantity keeps the editor on the cell, showing
    // what the cell holds.
    QTest::keyClick(editor, Qt::Key_Up);
    QTest::keyClick(editor, Qt::Key_Up);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Department}));
    QVERIFY(grid.editCell({1, ChargeEntryLine::Quantity}));
    QTest::keyClicks(editor, u"0"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(c.f.notifier.lastText(), u"Quantity should be greater than zero(0)."_s);
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), u"4"_s);

    // Esc leaves the cell as it was; F3 takes the line away without asking.
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    QCOMPARE(line.line.quantity, u"4"_s);
    c.f.notifier.clear();
    QTest::keyClick(&grid, Qt::Key_F3);
    QVERIFY(window.presenter().lines().isEmpty());
    QVERIFY(c.f.notifier.boxes().isEmpty());
}

void tst_ChargingWindows::markupChosenWithTheKeyboard()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{u"UseNewORMarkUp"_s, u"1"_s}}));
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 6), QTime(15, 0)))); // a Sunday

    frmMarkUp window(p.f.session);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *grid = window.findChild<QTableWidget *>(u"mshFlexMarkUp"_s);
    QVERIFY(grid);
    QCOMPARE(grid->rowCount(), window.presenter().rows().size());
    QVERIFY(window.findChild<QCheckBox *>(u"chkHoliday"_s)->isChecked());

    // Down to the second row, then Enter: its markup is chosen and the window closes.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(grid->currentRow(), 1);
    const QString type = grid->item(1, 0)->text();
    QTest::keyClick(grid, Qt::Key_Return);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(!window.isVisible());
    const MarkUp::Row &chosen = window.presenter().rows().at(1);
    QCOMPARE(chosen.type, type);
    QCOMPARE(window.choice().value, chosen.markup);
    QCOMPARE(window.choice().type,
             chosen.operation == u"+" ? MarkupType::Add : MarkupType::Multiply);

    // Esc closes a fresh window without a markup.
    frmMarkUp again(p.f.session);
    again.show();
    QVERIFY(QTest::qWaitForWindowExposed(&again));
    QTest::keyClick(again.findChild<QTableWidget *>(u"mshFlexMarkUp"_s), Qt::Key_Escape);
    QCOMPARE(again.result(), int(QDialog::Rejected));
    QCOMPARE(again.choice().value, 0.0);
}

void tst_ChargingWindows::requestingDoctorPickedOrTyped()
{
    KESTREL_OPEN_DEMO(db);
    test::ChargeEntryFixture c(db);
    frmRequestingDoctor window(&c.lookup);
    QCOMPARE(window.windowTitle(), u"Enter Requesting Doctor"_s);
    auto *name = window.findChild<QLineEdit *>(u"txtRequestingDoctor"_s);
    auto *pick = window.findChild<QPushButton *>(u"cmdReqDoc"_s);
    QVERIFY(name && pick);

    // Typed by hand: a name in capitals and no doctor's code.
    QTest::keyClicks(name, u"dr. santos"_s);
    QCOMPARE(window.doctor().code, QString());
    QCOMPARE(window.doctor().name, u"DR. SANTOS"_s);

    // Picked from the list, filtered by what was typed.
    name->clear();
    QTest::keyClicks(name, u"nepo"_s);
    c.pickList.codes.enqueue(u"1102"_s);
    pick->click();
    QCOMPARE(c.pickList.shown.size(), 1);
    QCOMPARE(c.pickList.shown.first().typedText, u"NEPO"_s);
    QCOMPARE(window.doctor().code, u"1102"_s);
    QCOMPARE(window.doctor().name, u"NEPOMUCENO, ALFREDO"_s);
    QCOMPARE(name->text(), u"NEPOMUCENO, ALFREDO"_s);

    // Without the look-up only a typed name can be given.
    frmRequestingDoctor bare(nullptr);
    QVERIFY(!bare.findChild<QPushButton *>(u"cmdReqDoc"_s)->isEnabled());
}

void tst_ChargingWindows::sequenceWindowSetsTheNextNumber()
{
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(db.exec(u"update STATION..tbORChargeSlip set ChargeSlip = 88001 "
                    u"where StationID = 'OR'"));
    QVERIFY(db.exec(u"insert into BILLING..tbCashAssessment (RefNum) values ('C88010O')"));

    frmChargeSlipVerification window(p.f.session, nullptr);
    auto *slip = window.findChild<QLineEdit *>(u"txtChargeSlip"_s);
    auto *save = window.findChild<QToolButton *>(u"imgSave"_s);
    auto *search = window.findChild<QToolButton *>(u"imgSearch"_s);
    QVERIFY(slip && save && search);
    QCOMPARE(slip->text(), u"88001"_s);
    QCOMPARE(window.findChild<QLabel *>(u"lblStation"_s)->text(), u"OR"_s);
    QVERIFY(!search->isEnabled());
    QVERIFY(save->isEnabled());

    slip->clear();
    QVERIFY(!save->isEnabled());
    // Letters never reach the field.
    QTest::keyClicks(slip, u"88a010"_s);
    QCOMPARE(slip->text(), u"88010"_s);
    save->click();
    QCOMPARE(p.f.notifier.lastText(), u"Available Charge Slip Number : 88011"_s);
    QCOMPARE(slip->text(), u"88011"_s);
    QCOMPARE(p.counter(u"ChargeSlip"), 88011);
}

QTEST_MAIN(tst_ChargingWindows)
#include "tst_chargingwindows.moc"
