// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The revoked requests window on the demo hospital: the rows the nurse already acknowledged
// are painted apart from the others.
#include "core/db/Database.h"
#include "scheduling/ui/frmRevokedRequests.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTableWidget>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

class tst_RequestWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void acknowledgedRowsArePaintedLightGreen();
};

void tst_RequestWindows::acknowledgedRowsArePaintedLightGreen()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"1401"_s);
    frmRevokedRequests revoked(f.session);
    auto *grid = revoked.findChild<QTableWidget *>(u"grdRevoked"_s);
    QCOMPARE(grid->rowCount(), revoked.presenter().rows().count());
    QVERIFY(grid->rowCount() >= 2);
    for (int r = 0; r < grid->rowCount(); ++r)
        QCOMPARE(grid->item(r, 1)->background().color() == QColor(0x80, 0xFF, 0x80),
                 revoked.presenter().acknowledged(r));
}

QTEST_MAIN(tst_RequestWindows)
#include "tst_requestwindows.moc"
