// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The markup window chosen from with the keyboard, as the OR clerk does.
#include "charging/PricingFixture.h"
#include "charging/ui/frmMarkUp.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QTableWidget>
#include <QTest>

using namespace kestrel;

class tst_MarkupWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void arrowsAndEnterChooseARow();
};

void tst_MarkupWindow::arrowsAndEnterChooseARow()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{QStringLiteral("UseNewORMarkUp"), QStringLiteral("1")}}));
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 6), QTime(15, 0)))); // a Sunday

    frmMarkUp window(p.f.session);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    auto *grid = window.findChild<QTableWidget *>(QStringLiteral("mshFlexMarkUp"));
    QVERIFY(grid);
    QCOMPARE(grid->horizontalHeaderItem(0)->text(), QStringLiteral("Mark-Up Type"));
    QCOMPARE(grid->rowCount(), 3);
    QVERIFY(window.findChild<QCheckBox *>(QStringLiteral("chkHoliday"))->isChecked());

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
    QTest::keyClick(again.findChild<QTableWidget *>(QStringLiteral("mshFlexMarkUp")),
                    Qt::Key_Escape);
    QCOMPARE(again.result(), int(QDialog::Rejected));
    QCOMPARE(again.choice().value, 0.0);
}

QTEST_MAIN(tst_MarkupWindow)
#include "tst_markupwindow.moc"
