// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The code search list window over the demo hospital's referral hospitals: what it shows, the
// keys of its search box and grid, picking and cancelling.
#include "patients/SearcherList.h"
#include "patients/ui/frmSearcher.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTest>

using namespace kestrel;

namespace {

const QString kHospitalList =
    QStringLiteral("SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
                   "WHERE HospitalName like '##' + '%' ORDER BY HospitalName");

// The window opened on the hospitals beginning with `criteria`, shown and active.
struct Rig
{
    std::unique_ptr<test::TestDatabase> hospital;
    std::unique_ptr<test::MainWindowFixture> fixture;
    std::unique_ptr<SearcherList> list;
    std::unique_ptr<frmSearcher> window;

    bool open(const QString &criteria)
    {
        auto t = test::TestDatabase::create(Backend::Sqlite);
        if (!t)
            return false;
        hospital = std::move(*t);
        fixture = std::make_unique<test::MainWindowFixture>(hospital->db(), QStringLiteral("2905"));
        fixture->session.hospital.Company = QStringLiteral("BAGONG TALA MEDICAL CENTER");
        list = std::make_unique<SearcherList>(fixture->session);
        list->setQuery(kHospitalList);
        list->setCriteria(criteria);
        list->setSearchCaption(QStringLiteral("Hospitals"));
        window = std::make_unique<frmSearcher>(*list);
        window->show();
        window->activateWindow();
        return QTest::qWaitForWindowActive(window.get());
    }
    QLineEdit *search() { return window->findChild<QLineEdit *>(QStringLiteral("txtSearchStr")); }
    QTableWidget *grid()
    {
        return window->findChild<QTableWidget *>(QStringLiteral("grdDispWindow"));
    }
    QPushButton *button(const char *name)
    {
        return window->findChild<QPushButton *>(QLatin1String(name));
    }
    QString label(const char *name)
    {
        return window->findChild<QLabel *>(QLatin1String(name))->text();
    }
};

} // namespace

class tst_SearcherWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensOnTheCriteria();
    void searchBoxTakesCapitalsAndNoQuote();
    void enterQueriesAgain();
    void downThenEnterPicksTheRow();
    void doubleClickPicksTheRow();
    void escapeCancels();
    void enterOnAButtonMovesOn();
};

void tst_SearcherWindow::opensOnTheCriteria()
{
    Rig rig;
    QVERIFY(rig.open(QStringLiteral("SAN")));
    QCOMPARE(rig.label("lblTitle"), QStringLiteral("Hospitals"));
    QCOMPARE(rig.label("lblSTitle"), QStringLiteral("Hospitals"));
    QCOMPARE(rig.label("lblHospital"), QStringLiteral("BAGONG TALA MEDICAL CENTER"));
    QCOMPARE(rig.search()->text(), QStringLiteral("SAN"));
    QCOMPARE(rig.button("cmdSelect")->text(), QStringLiteral("SELECT"));
    QCOMPARE(rig.button("cmdCancel")->text(), QStringLiteral("CANCEL"));

    QTableWidget *grid = rig.grid();
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->columnCount(), 3);
    QCOMPARE(grid->columnWidth(0), 200 / 15);
    QCOMPARE(grid->columnWidth(1), 4150 / 15);
    QCOMPARE(grid->columnWidth(2), 2000 / 15);
    QCOMPARE(grid->item(0, 1)->text(), QStringLiteral("SAN BARTOLOME DISTRICT HOSPITAL"));
    QCOMPARE(grid->item(0, 2)->text(), QStringLiteral("H01"));
    QCOMPARE(grid->currentRow(), 0);
    QVERIFY(rig.button("cmdSelect")->isEnabled());
    // Highlighting the first row is no move of the user's: the search box keeps the text.
    QCOMPARE(rig.search()->text(), QStringLiteral("SAN"));
}

void tst_SearcherWindow::searchBoxTakesCapitalsAndNoQuote()
{
    Rig rig;
    QVERIFY(rig.open(QString()));
    QLineEdit *search = rig.search();
    search->setFocus();
    search->clear();
    QTest::keyClicks(search, QStringLiteral("maligaya children's"));
    QCOMPARE(search->text(), QStringLiteral("MALIGAYA CHILDRENS"));

    // Nor in the grid, where a typed key would otherwise jump to a row.
    rig.grid()->setFocus();
    QTest::keyClicks(rig.grid(), QStringLiteral("'"));
    QCOMPARE(search->text(), QStringLiteral("MALIGAYA CHILDRENS"));
    QVERIFY(rig.window->isVisible());
}

void tst_SearcherWindow::enterQueriesAgain()
{
    Rig rig;
    QVERIFY(rig.open(QStringLiteral("SAN")));
    QLineEdit *search = rig.search();
    search->setFocus();
    search->clear();
    QTest::keyClicks(search, QStringLiteral("zamboanga"));
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(rig.grid()->rowCount(), 0);
    QVERIFY(!rig.button("cmdSelect")->isEnabled());
    QTest::keyClick(rig.grid(), Qt::Key_Return);
    QVERIFY(rig.window->isVisible());
    QVERIFY(!rig.list->Valid());

    search->clear();
    QTest::keyClicks(search, QStringLiteral("san r"));
    QTest::keyClick(search, Qt::Key_Enter);
    QCOMPARE(rig.grid()->rowCount(), 1);
    QCOMPARE(rig.grid()->item(0, 2)->text(), QStringLiteral("H06"));
    QVERIFY(rig.button("cmdSelect")->isEnabled());
    QVERIFY(rig.window->isVisible());
}

void tst_SearcherWindow::downThenEnterPicksTheRow()
{
    Rig rig;
    QVERIFY(rig.open(QStringLiteral("SAN")));
    rig.search()->setFocus();
    QTest::keyClick(rig.search(), Qt::Key_Down);
    QCOMPARE(QApplication::focusWidget(), rig.grid());
    QCOMPARE(rig.grid()->currentRow(), 0);

    QTest::keyClick(rig.grid(), Qt::Key_Down);
    QCOMPARE(rig.grid()->currentRow(), 1);
    QCOMPARE(rig.search()->text(), QStringLiteral("SAN BARTOLOME DOCTORS HOSPITAL"));

    QTest::keyClick(rig.grid(), Qt::Key_Return);
    QCOMPARE(rig.window->result(), int(QDialog::Accepted));
    QVERIFY(rig.list->Valid());
    QCOMPARE(rig.list->Code(), QStringLiteral("H05"));
    QCOMPARE(rig.list->Description(), QStringLiteral("SAN BARTOLOME DOCTORS HOSPITAL"));
}

void tst_SearcherWindow::doubleClickPicksTheRow()
{
    Rig rig;
    QVERIFY(rig.open(QStringLiteral("SAN")));
    QTableWidget *grid = rig.grid();
    const QRect cell = grid->visualItemRect(grid->item(3, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(rig.window->result(), int(QDialog::Accepted));
    QCOMPARE(rig.list->Code(), QStringLiteral("H06"));
    QCOMPARE(rig.list->Description(), QStringLiteral("SAN ROQUE MATERNITY AND GENERAL HOSPITAL"));
}

void tst_SearcherWindow::escapeCancels()
{
    Rig rig;
    QVERIFY(rig.open(QStringLiteral("SAN")));
    rig.grid()->setFocus();
    QTest::keyClick(rig.grid(), Qt::Key_Down);
    QTest::keyClick(rig.grid(), Qt::Key_Escape);
    QVERIFY(!rig.window->isVisible());
    QCOMPARE(rig.window->result(), int(QDialog::Rejected));
    QVERIFY(!rig.list->Valid());
    QCOMPARE(rig.list->Code(), QString());
}

void tst_SearcherWindow::enterOnAButtonMovesOn()
{
    Rig rig;
    QVERIFY(rig.open(QStringLiteral("SAN")));
    QPushButton *select = rig.button("cmdSelect");
    select->setFocus();
    QTest::keyClick(select, Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), rig.button("cmdCancel"));
    QVERIFY(rig.window->isVisible());
    QVERIFY(!rig.list->Valid());
}

QTEST_MAIN(tst_SearcherWindow)
#include "tst_searcherwindow.moc"
