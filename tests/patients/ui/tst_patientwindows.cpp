// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient windows on screen over a fresh demo hospital: the patient list, the patient
// index and the code search list, driven by the keys and clicks the staff use.
#include "core/components/clsPatientFinder.h"
#include "core/settings/HospitalSettings.h"
#include "patients/PatientListFixture.h"
#include "patients/SearcherList.h"
#include "patients/ui/frmPatientIndex.h"
#include "patients/ui/frmSearch.h"
#include "patients/ui/frmSearcher.h"
#include "shell/MainMenu.h"
#include "shell/ui/frmCF4Entry.h"
#include "shell/ui/mdiORMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

template <typename T> T *child(QWidget *window, const QString &name)
{
    T *found = window->findChild<T *>(name);
    if (!found)
        qWarning("no control %s", qPrintable(name));
    return found;
}

// The main window of a session on a demo hospital with the list's own patients.
struct Screen
{
    explicit Screen(Database &db)
        : f(db, u"2901"_s)
        , finder(ctx)
        , menu(f.session)
        , window(menu)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        f.session.ServerDate = test::fixtureToday();
        finder.InitConnection(QString(), &db);
        window.resize(1200, 800);
        window.show();
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the main window did not become active");
    }
    void open(QWidget *w) { window.workArea()->addSubWindow(w)->show(); }
    test::MainWindowFixture f;
    ComponentContext ctx{f.notifier};
    clsPatientFinder finder;
    MainMenu menu;
    mdiORMenu window;
};

#define OPEN_SCREEN(s)                                                                             \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(test::addListPatients(db));                                                            \
    Screen s(db)

// The texts of one column of the patient list's grid.
QStringList listColumn(QWidget *list, int column)
{
    auto *grid = child<QAbstractItemView>(list, u"MSHFlexList"_s);
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts << grid->model()->index(row, column).data().toString();
    return texts;
}

const QString kHospitalList = u"SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
                              u"WHERE HospitalName like '##' + '%' ORDER BY HospitalName"_s;

// The code search window opened on the hospitals beginning with `criteria`, shown and active.
struct SearchWindow
{
    SearchWindow(Session &session, const QString &criteria)
        : list(session)
    {
        list.setQuery(kHospitalList);
        list.setCriteria(criteria);
        list.setSearchCaption(u"Hospitals"_s);
        window = std::make_unique<frmSearcher>(list);
        window->show();
        window->activateWindow();
        active = QTest::qWaitForWindowActive(window.get());
    }
    QLineEdit *search() { return child<QLineEdit>(window.get(), u"txtSearchStr"_s); }
    QTableWidget *grid() { return child<QTableWidget>(window.get(), u"grdDispWindow"_s); }
    QPushButton *button(const QString &name) { return child<QPushButton>(window.get(), name); }
    SearcherList list;
    std::unique_ptr<frmSearcher> window;
    bool active = false;
};

} // namespace

class tst_PatientWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void patientListTypingAndKeys();
    void patientIndexShowsTheTypedPatient();
    void cf4EntryTypedAndSaved();
    void searcherTyping();
    void searcherPicksOrCancels();
};

void tst_PatientWindows::patientListTypingAndKeys()
{
    OPEN_SCREEN(s);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, s.window.menu(u"mnuInquiry"));
    s.open(list);
    // Digits are refused and letters become capitals as they are typed.
    auto *lastName = child<QLineEdit>(list, u"txtSearch(0)"_s);
    lastName->setFocus();
    QTest::keyClicks(lastName, u"batum4bakal"_s);
    QCOMPARE(lastName->text(), u"BATUMBAKAL"_s);
    QTest::keyClick(lastName, Qt::Key_Return);
    QCOMPARE(listColumn(list, 2), (QStringList{"K0100001", "K0100002", "K0100004"}));
    // Every hospital number shows whole: its column is as wide as the cell needs.
    auto *grid = child<QTableView>(list, u"MSHFlexList"_s);
    const int shown = grid->columnWidth(1);
    grid->resizeColumnToContents(1);
    QVERIFY2(grid->columnWidth(1) <= shown, "a hospital number is cut short");
    // Arrow keys move the highlight; the current patient follows.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(s.f.session.CurrentPatient.IdNum, u"K0100002"_s);
    // Entering another search box empties the one typed in: one criterion at a time.
    auto *hospNum = child<QLineEdit>(list, u"txtSearch(1)"_s);
    lastName->setFocus();
    QTest::keyClicks(lastName, u"BATU"_s);
    hospNum->setFocus();
    QCOMPARE(lastName->text(), QString());
    QTest::keyClicks(hospNum, u"K0000002"_s);
    QTest::mouseClick(child<QPushButton>(list, u"Command1"_s), Qt::LeftButton);
    QCOMPARE(listColumn(list, 2), QStringList{"K0100004"});
    // The admission dates start at the server's date.
    QTest::mouseClick(child<QPushButton>(list, u"cmdAdmDate"_s), Qt::LeftButton);
    QVERIFY(child<QGroupBox>(list, u"frmDateEntry"_s)->isVisible());
    QCOMPARE(child<QDateEdit>(list, u"dtpStartDate"_s)->date(), test::fixtureToday());
    QCOMPARE(child<QDateEdit>(list, u"dtpEndDate"_s)->date(), test::fixtureToday());
}

void tst_PatientWindows::patientIndexShowsTheTypedPatient()
{
    OPEN_SCREEN(s);
    frmPatientIndex window(s.f.session, &s.finder, nullptr);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    // The guideline shows while the hospital number is being typed.
    auto *field = child<QLineEdit>(&window, u"txtHospNum"_s);
    auto *guideline = child<QLabel>(&window, u"lblGuideline"_s);
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(guideline->text(), PatientIndex::guideline());
    QTest::keyClicks(field, u"K0000001"_s);
    QTest::keyClick(field, Qt::Key_Return);
    QCOMPARE(child<QLineEdit>(&window, u"txtPatientName"_s)->text(),
             u"BATUMBAKAL, JUAN MARASIGAN"_s);
    child<QPushButton>(&window, u"cmdRefresh"_s)->setFocus();
    QTRY_COMPARE(guideline->text(), QString());
}

void tst_PatientWindows::cf4EntryTypedAndSaved()
{
    OPEN_SCREEN(s);
    const QString title = u"PhilHealth CF4 Entries  - BATUMBAKAL, JUAN MARASIGAN ( K0100001 )"_s;
    CF4Entry entry(db, s.f.notifier, {u"K0100001"_s, u"OR"_s, title, true, {}, {}, {}, u"2901"_s});
    QVERIFY(entry.load());
    frmCF4Entry window(entry);
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), title);
    QVERIFY(child<QPushButton>(&window, u"cmdPrint"_s)->isVisible());

    // Each part typed in, the outcome chosen: nothing is missing any more, and Save keeps it.
    for (const QString &name : {u"txtChiefComplaint"_s, u"txtPresentIllness"_s,
                                u"txtPhysicalExam"_s, u"txtCourseInWard"_s, u"txtDrugs"_s}) {
        auto *box = child<QPlainTextEdit>(&window, name);
        box->setFocus();
        QTest::keyClicks(box, u"SEEN"_s);
    }
    auto *outcome = child<QComboBox>(&window, u"cboOutcome"_s);
    outcome->setCurrentIndex(outcome->findText(u"RECOVERED"_s));
    QCOMPARE(child<QLabel>(&window, u"lblMissing"_s)->text(),
             u"Every part of the CF4 is entered."_s);
    QTest::mouseClick(child<QPushButton>(&window, u"cmdSave"_s), Qt::LeftButton);
    QCOMPARE(s.f.notifier.lastText(), u"CF4 entries successfully saved."_s);
    auto saved = db.scalar(u"select count(*) from STATION..tbCF4Entry where IdNum = 'K0100001' "
                           u"and CourseInWard like '%SEEN' and Outcome = 'RECOVERED'");
    QVERIFY(saved && saved->toInt() == 1);
}

void tst_PatientWindows::searcherTyping()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    SearchWindow w(f.session, u"SAN"_s);
    QVERIFY(w.active);
    QTableWidget *grid = w.grid();
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(0, 2)->text(), u"H01"_s);
    // Highlighting the first row is no move of the user's: the search box keeps the text.
    QCOMPARE(w.search()->text(), u"SAN"_s);
    // Capitals, and no quote: not in the search box, nor in the grid, where a typed key
    // would otherwise jump to a row.
    QLineEdit *search = w.search();
    search->setFocus();
    search->clear();
    QTest::keyClicks(search, u"maligaya children's"_s);
    QCOMPARE(search->text(), u"MALIGAYA CHILDRENS"_s);
    grid->setFocus();
    QTest::keyClicks(grid, u"'"_s);
    QCOMPARE(search->text(), u"MALIGAYA CHILDRENS"_s);
    // Enter in the search box queries again; in an empty grid it picks nothing.
    search->setFocus();
    search->clear();
    QTest::keyClicks(search, u"zamboanga"_s);
    QTest::keyClick(search, Qt::Key_Return);
    QCOMPARE(grid->rowCount(), 0);
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(w.window->isVisible() && !w.list.Valid());
}

void tst_PatientWindows::searcherPicksOrCancels()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    {
        // Down from the search box enters the grid; Down again shows the row; Enter picks it.
        SearchWindow w(f.session, u"SAN"_s);
        QVERIFY(w.active);
        w.search()->setFocus();
        QTest::keyClick(w.search(), Qt::Key_Down);
        QCOMPARE(QApplication::focusWidget(), w.grid());
        QTest::keyClick(w.grid(), Qt::Key_Down);
        QCOMPARE(w.search()->text(), u"SAN BARTOLOME DOCTORS HOSPITAL"_s);
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.window->result(), int(QDialog::Accepted));
        QCOMPARE(w.list.Code(), u"H05"_s);
    }
    {
        // Enter on a button moves on to the next; Escape cancels.
        SearchWindow w(f.session, u"SAN"_s);
        QVERIFY(w.active);
        QPushButton *select = w.button(u"cmdSelect"_s);
        select->setFocus();
        QTest::keyClick(select, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.button(u"cmdCancel"_s));
        QVERIFY(!w.list.Valid());
        w.grid()->setFocus();
        QTest::keyClick(w.grid(), Qt::Key_Down);
        QTest::keyClick(w.grid(), Qt::Key_Escape);
        QCOMPARE(w.window->result(), int(QDialog::Rejected));
        QVERIFY(!w.list.Valid());
    }
}

QTEST_MAIN(tst_PatientWindows)
#include "tst_patientwindows.moc"
