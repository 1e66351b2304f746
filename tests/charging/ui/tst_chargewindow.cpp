// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The charge window typed into with the keyboard, as the OR clerk does.
#include "charging/PricingFixture.h"
#include "charging/ui/EntryGrid.h"
#include "charging/ui/frmCharge.h"
#include "shell/components/clsCodeLookup.h"
#include "shell/components/clsDrugPicker.h"
#include "shell/components/DrugLists.h"
#include "support/TestDatabase.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace kestrel;

class tst_ChargeWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void oneLineWithTheKeyboard();
};

void tst_ChargeWindow::oneLineWithTheKeyboard()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    ComponentContext context(p.f.notifier);
    clsCodeLookup lookup(context);
    clsDrugPicker picker(context);
    clsDrugList drugList(context);
    lookup.setConnection(&db);
    picker.InitConnect(&db);
    QVERIFY(p.select(QStringLiteral("ESTACIO"), QStringLiteral("WILMA")));

    frmCharge window(p.f.session, {&lookup, &picker, &drugList, nullptr});
    QVERIFY(window.presenter().open());
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    EntryGrid &grid = window.entryGrid();
    QCOMPARE(grid.objectName(), QStringLiteral("mshflexEntry"));
    auto *editor = window.findChild<QLineEdit *>(QStringLiteral("txtEntry"));
    auto *prompt = window.findChild<QLabel *>(QStringLiteral("lblMessage"));
    QVERIFY(editor && prompt);
    QVERIFY(window.findChild<QLineEdit *>(QStringLiteral("txtMessage"))->isVisible());
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblGrossAmount"))->text(),
             QStringLiteral("Gross Amount: Php 0.00"));
    QCOMPARE(window.findChild<QLineEdit *>(QStringLiteral("txtPatient"))->text(),
             QStringLiteral("ESTACIO, WILMA ABAD"));

    // A click on the first cell lays the editor over it.
    const QModelIndex first = grid.model()->index(0, ChargeEntryLine::Department);
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, grid.visualRect(first).center());
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->geometry(), EntryGrid::editorGeometry(grid.visualRect(first)));
    QCOMPARE(prompt->text(), QStringLiteral("Enter Department Code."));

    // Letters turn to capitals; Enter takes the department and moves on to the item.
    QTest::keyClicks(editor, QStringLiteral("cs"));
    QCOMPARE(editor->text(), QStringLiteral("CS"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Item}));
    QCOMPARE(prompt->text(), QStringLiteral("Enter the Service Code or First letters of Service "
                                            "Name then Press the <Enter> Key"));
    QCOMPARE(window.findChild<QLabel *>(QStringLiteral("lblDeptCode"))->text(),
             QStringLiteral("CS"));

    // The item, then the quantity it was preset to, typed over.
    QTest::keyClicks(editor, QStringLiteral("cs3004"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Quantity}));
    QCOMPARE(editor->text(), QStringLiteral("1"));
    QCOMPARE(prompt->text(), QStringLiteral("Enter quantity to charge."));
    QTest::keyClicks(editor, QStringLiteral("4"));
    QTest::keyClick(editor, Qt::Key_Return);
    const ChargeEntryLine &line = window.presenter().lines().at(0);
    QCOMPARE(line.line.item, QStringLiteral("CS3004"));
    QCOMPARE(line.line.quantity, QStringLiteral("4"));
    QCOMPARE(line.line.amountValue(), line.line.unitPriceValue() * 4);
    QCOMPARE(grid.model()->index(0, ChargeEntryLine::Amount).data().toString(), line.line.amount);
    QCOMPARE(grid.currentCell(), (GridCell{2, ChargeEntryLine::Department}));

    // A refused quantity keeps the editor on the cell, showing what the cell holds.
    QTest::keyClick(editor, Qt::Key_Up);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Department}));
    QTest::keyClick(editor, Qt::Key_Up);
    QCOMPARE(grid.currentCell(), (GridCell{1, ChargeEntryLine::Department}));
    QVERIFY(grid.editCell({1, ChargeEntryLine::Quantity}));
    QTest::keyClicks(editor, QStringLiteral("0"));
    QTest::keyClick(editor, Qt::Key_Return);
    QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Quantity should be greater than zero(0)."));
    QVERIFY(editor->isVisible());
    QCOMPARE(editor->text(), QStringLiteral("4"));

    // Esc leaves the cell as it was; F3 takes the line away without asking.
    QTest::keyClick(editor, Qt::Key_Escape);
    QVERIFY(!editor->isVisible());
    QCOMPARE(line.line.quantity, QStringLiteral("4"));
    p.f.notifier.clear();
    QTest::keyClick(&grid, Qt::Key_F3);
    QVERIFY(window.presenter().lines().isEmpty());
    QVERIFY(p.f.notifier.boxes().isEmpty());

    // The posted list keeps the hospital's header.
    auto *list = window.findChild<QTableWidget *>(QStringLiteral("mshflexList"));
    QCOMPARE(list->horizontalHeaderItem(6)->text(), QStringLiteral("ChargeSlip #"));
    QCOMPARE(window.findChild<QPushButton *>(QStringLiteral("Command1(5)"))->text(),
             QStringLiteral("View RVS Codes"));
}

QTEST_MAIN(tst_ChargeWindow)
#include "tst_chargewindow.moc"
