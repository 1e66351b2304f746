// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The charge window and "Enter Requesting Doctor" offscreen on the demo hospital, used with the
// keyboard and the mouse.
#include "charging/ChargingFixture.h"
#include "charging/ui/EntryGrid.h"
#include "charging/ui/frmCharge.h"
#include "charging/ui/frmDoctorsFee.h"
#include "charging/ui/frmRequestingDoctor.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace kestrel;
using namespace Qt::StringLiterals;

class tst_ChargingWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void chargeLineWithTheKeyboard();
    void requestingDoctorPickedOrTyped();
    void doctorsFeeTakenWithTheKeyboard();
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

    // The item, then the quantity it was preset to, typed over; Enter goes on as the presenter
    // says, to the amount and then to the next line.
    QTest::keyClicks(editor, u"cs3004"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(editor->text(), u"1"_s);
    QTest::keyClicks(editor, u"4"_s);
    QTest::keyClick(editor, Qt::Key_Return);
    const ChargeEntryLine &line = window.presenter().lines().at(0);
    QCOMPARE(line.line.quantity, u"4"_s);
    QCOMPARE(grid.model()->index(0, ChargeEntryLine::Amount).data().toString(), line.line.amount);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Amount}));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.currentCell(), (GridCell{2, ChargeEntryLine::Department}));

    // A refused quantity keeps the editor on the cell, showing what the cell holds.
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

void tst_ChargingWindows::requestingDoctorPickedOrTyped()
{
    KESTREL_OPEN_DEMO(db);
    test::ChargeEntryFixture c(db);
    frmRequestingDoctor window(&c.lookup);
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
    QCOMPARE(c.pickList.shown.value(0).typedText, u"NEPO"_s);
    QCOMPARE(window.doctor().code + u'|' + window.doctor().name + u'|' + name->text(),
             u"1102|NEPOMUCENO, ALFREDO|NEPOMUCENO, ALFREDO"_s);

    // Without the look-up only a typed name can be given.
    frmRequestingDoctor bare(nullptr);
    QVERIFY(!bare.findChild<QPushButton *>(u"cmdReqDoc"_s)->isEnabled());
}

void tst_ChargingWindows::doctorsFeeTakenWithTheKeyboard()
{
    KESTREL_OPEN_DEMO(db);
    test::ChargeEntryFixture c(db);
    QVERIFY(c.select(u"ESTACIO"_s, u"WILMA"_s)); // a ward bed of class A
    c.f.session.hospital.IsShowAmount = true;
    frmCharge window(c.f.session, {&c.lookup, &c.picker, &c.drugList, nullptr});
    QVERIFY(window.presenter().open());
    window.show();

    // The internist has no fee of his own: the fee window comes up on the patient's class, the
    // user goes one row down (the minor operation's fee) and presses Enter.
    QString doctor;
    QTimer::singleShot(0, this, [&] {
        auto *fees = qobject_cast<frmDoctorsFee *>(QApplication::activeModalWidget());
        if (!fees)
            return;
        doctor = fees->findChild<QLabel *>(u"lblDoctor"_s)->text();
        auto *grid = fees->findChild<QTableWidget *>(u"mshFlexDoctorsFee"_s);
        QTest::keyClick(grid, Qt::Key_Down);
        QTest::keyClick(grid, Qt::Key_Return);
    });
    QCOMPARE(window.presenter().acceptCell({1, ChargeEntryLine::Department}, u"MD"_s),
             CellAnswer::Accept);
    c.pickList.codes.enqueue(u"1170"_s);
    QCOMPARE(window.presenter().acceptCell({1, ChargeEntryLine::Item}, u"1170"_s),
             CellAnswer::Accept);
    QCOMPARE(doctor, u"Doctor: BERNARDO, LUZVIMINDA"_s);
    const ChargeLine &line = window.presenter().lines().at(0).line;
    QCOMPARE((QStringList{line.item, line.unitPrice}), QStringList({"1170", "5000"}));
}

QTEST_MAIN(tst_ChargingWindows)
#include "tst_chargingwindows.moc"
