// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient windows on screen over a fresh demo hospital: the patient list and the picker
// of a new schedule, the admitted patients with a scheduled operation, the patient index and
// the code search list, driven by the keys and clicks the staff use.
#include "core/components/clsPatientFinder.h"
#include "core/settings/HospitalSettings.h"
#include "patients/PatientListFixture.h"
#include "patients/SearcherList.h"
#include "patients/ui/frmAdmittedPatients.h"
#include "patients/ui/frmPatientIndex.h"
#include "patients/ui/frmSearch.h"
#include "patients/ui/frmSearchAdmitted.h"
#include "patients/ui/frmSearcher.h"
#include "shell/MainMenu.h"
#include "shell/ui/mdiORMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
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
        // Focus moves between the search boxes only in the active window.
        window.activateWindow();
        if (!QTest::qWaitForWindowActive(&window))
            qWarning("the main window did not become active");
    }

    // Opens `w` in the work area, as the main window opens its windows.
    QMdiSubWindow *open(QWidget *w)
    {
        QMdiSubWindow *sub = window.workArea()->addSubWindow(w);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
        return sub;
    }

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

// The texts of one column of a window's grid.
QStringList gridColumn(QWidget *window, const QString &gridName, int column)
{
    auto *grid = child<QAbstractItemView>(window, gridName);
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts << grid->model()->index(row, column).data().toString();
    return texts;
}

QStringList listColumn(QWidget *list, int column)
{
    return gridColumn(list, u"MSHFlexList"_s, column);
}

void clickCell(QAbstractItemView *grid, int row, int column, bool twice = false)
{
    const QModelIndex index = grid->model()->index(row, column);
    grid->scrollTo(index);
    const QPoint at = grid->visualRect(index).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    if (twice)
        QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

void doubleClickRow(QWidget *list, int row)
{
    clickCell(child<QTableView>(list, u"MSHFlexList"_s), row, 3, true);
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
    void admissionDateFrame();
    void rowOpensTheProfileThroughTheMainWindow();
    void pickerForANewSchedule();
    void admittedPatientsChooseAndCheck();
    void admittedPatientsSearchAndExit();
    void patientIndexShowsTheTypedPatient();
    void searcherTypingAndQueryingAgain();
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
    auto *position = child<QLabel>(list, u"lblRecNum"_s);
    QCOMPARE(position->text(), u"1  out of  3"_s);
    auto *legend = child<QLabel>(list, u"lblLegend"_s);
    QVERIFY(legend->isVisible());
    auto *grid = child<QTableView>(list, u"MSHFlexList"_s);
    QCOMPARE(grid->currentIndex().row(), 0);
    // The two hidden columns, and the precaution column this hospital keeps a twip wide.
    QVERIFY(grid->isColumnHidden(7) && grid->isColumnHidden(8) && grid->isColumnHidden(0));

    // Arrow keys move the highlight; the current patient follows.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(s.f.session.CurrentPatient.IdNum, u"K0100002"_s);
    QCOMPARE(position->text(), u"2  out of  3"_s);
    QVERIFY(!legend->isVisible());

    // Another kind of stay loads the list again.
    QTest::mouseClick(child<QRadioButton>(list, u"optPatientType(2)"_s), Qt::LeftButton);
    QCOMPARE(listColumn(list, 2), QStringList{"K0300002B"});

    // Entering another search box empties the one typed in: one criterion at a time.
    auto *hospNum = child<QLineEdit>(list, u"txtSearch(1)"_s);
    QTest::mouseClick(child<QRadioButton>(list, u"optPatientType(0)"_s), Qt::LeftButton);
    lastName->setFocus();
    QTest::keyClicks(lastName, u"BATU"_s);
    hospNum->setFocus();
    QCOMPARE(lastName->text(), QString());
    QTest::keyClicks(hospNum, u"K0000002"_s);
    QTest::mouseClick(child<QPushButton>(list, u"Command1"_s), Qt::LeftButton);
    QCOMPARE(listColumn(list, 2), QStringList{"K0100004"});
}

void tst_PatientWindows::admissionDateFrame()
{
    OPEN_SCREEN(s);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, nullptr);
    s.open(list);
    auto *frame = child<QGroupBox>(list, u"frmDateEntry"_s);
    auto *dates = child<QPushButton>(list, u"cmdAdmDate"_s);
    QVERIFY(!frame->isVisible());
    QTest::mouseClick(dates, Qt::LeftButton);
    QVERIFY(frame->isVisible());
    auto *start = child<QDateEdit>(list, u"dtpStartDate"_s);
    auto *end = child<QDateEdit>(list, u"dtpEndDate"_s);
    QCOMPARE(start->date(), test::fixtureToday());
    QCOMPARE(end->date(), test::fixtureToday());
    QTest::mouseClick(child<QPushButton>(list, u"cmdOKClose(1)"_s), Qt::LeftButton);
    QVERIFY(!frame->isVisible());

    child<QLineEdit>(list, u"txtSearch(1)"_s)->setText(u"K0000001"_s);
    QTest::mouseClick(dates, Qt::LeftButton);
    start->setDate(QDate(2026, 10, 1));
    end->setDate(QDate(2026, 10, 1));
    QTest::mouseClick(child<QPushButton>(list, u"cmdOKClose(0)"_s), Qt::LeftButton);
    QVERIFY(!frame->isVisible());
    QCOMPARE(listColumn(list, 2), QStringList{"K0100002"});
    // Refresh is the plain search again.
    QTest::mouseClick(child<QPushButton>(list, u"Command2"_s), Qt::LeftButton);
    QCOMPARE(listColumn(list, 2), (QStringList{"K0100001", "K0100002"}));
}

void tst_PatientWindows::rowOpensTheProfileThroughTheMainWindow()
{
    OPEN_SCREEN(s);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, s.window.menu(u"mnuInquiry"));
    QMdiSubWindow *sub = s.open(list);
    auto *link = child<QLabel>(list, u"lblProcedures(2)"_s);
    QVERIFY(!link->isEnabled());

    list->presenter().setSearchText(PatientList::AdmissionNumber, u"K0100004"_s);
    list->presenter().load();
    doubleClickRow(list, 0);
    QCOMPARE(s.f.session.CurrentPatient.PatientClass, u"I"_s);
    QVERIFY(link->isEnabled());
    QCOMPARE(s.menu.menuState(u"mnuInfo"_s).enabled, std::optional(true));

    // Closing the list turns the patient's commands off.
    sub->close();
    QCOMPARE(s.menu.menuState(u"mnuInfo"_s).enabled, std::optional(false));
}

void tst_PatientWindows::pickerForANewSchedule()
{
    OPEN_SCREEN(s);
    QPointer<frmSearchAdmitted> picker = new frmSearchAdmitted(s.f.session, &s.finder, &s.menu);
    s.open(picker);
    // Admitted and outpatient stays only, with no admission dates.
    QVERIFY(!picker->findChild<QWidget *>(u"optPatientType(2)"_s));
    QVERIFY(!picker->findChild<QWidget *>(u"cmdAdmDate"_s));

    auto *hospNum = child<QLineEdit>(picker, u"txtSearch(1)"_s);
    hospNum->setFocus();
    QTest::keyClicks(hospNum, u"K0000002"_s);
    QTest::keyClick(hospNum, Qt::Key_Enter);
    QCOMPARE(listColumn(picker, 2), QStringList{"K0100004"});

    doubleClickRow(picker, 0);
    QCOMPARE(s.f.session.CurrentPatient.IdNum, u"K0100004"_s);
    // The picker closes once it has handed the patient over.
    QTRY_VERIFY(picker.isNull());
}

void tst_PatientWindows::admittedPatientsChooseAndCheck()
{
    OPEN_SCREEN(s);
    auto *window = new frmAdmittedPatients(s.f.session);
    s.open(window);
    auto *grid = child<QTableWidget>(window, u"mshflexAdmitted"_s);
    const int patients = window->presenter().rows().count();
    QVERIFY(patients >= 2);
    QCOMPARE(grid->rowCount(), patients);
    // The keys sit in hidden columns.
    for (int hidden : {7, 8, 9})
        QVERIFY(grid->isColumnHidden(hidden));
    QVERIFY(!grid->isColumnHidden(6));
    QCOMPARE(grid->item(0, 9)->text(), window->presenter().rows().at(0).trimmed(u"TransNum"));

    auto *position = child<QLabel>(window, u"lblRecNum"_s);
    QCOMPARE(position->text(), QString());
    clickCell(grid, 1, 1);
    QCOMPARE(position->text(), u"2  out of  %1"_s.arg(patients));
    const QString chosen = grid->item(1, 9)->text();

    s.f.notifier.answer({true});
    s.f.dialogs.sign(u"2905"_s);
    auto *checked = child<QPushButton>(window, u"cmdPending(1)"_s);
    QTest::mouseClick(checked, Qt::LeftButton);
    QCOMPARE(s.f.notifier.lastText(), u"Successful! Patient was removed from the list."_s);
    QCOMPARE(grid->rowCount(), patients - 1);
    QCOMPARE(position->text(), QString());
    QVERIFY(!gridColumn(window, u"mshflexAdmitted"_s, 9).contains(chosen));

    // With nobody chosen the button only says so.
    s.f.notifier.clear();
    QTest::mouseClick(checked, Qt::LeftButton);
    QCOMPARE(s.f.notifier.lastText(), u"Please select checked admitted patients with schedule."_s);
    QCOMPARE(s.f.dialogs.asked(), 1);
}

void tst_PatientWindows::admittedPatientsSearchAndExit()
{
    OPEN_SCREEN(s);
    auto *window = new frmAdmittedPatients(s.f.session);
    QPointer<QMdiSubWindow> frame = s.open(window);
    auto *grid = child<QTableWidget>(window, u"mshflexAdmitted"_s);
    const QString idNum = window->presenter().rows().at(0).trimmed(u"IdNum");
    const QString hospNum = window->presenter().rows().at(0).trimmed(u"HospNum");
    auto *search = child<QLineEdit>(window, u"txtSearch"_s);
    search->setFocus();
    QTest::keyClicks(search, hospNum.toLower());
    QCOMPARE(search->text(), hospNum.toUpper());
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(grid->rowCount() >= 1);
    for (const QString &shown : gridColumn(window, u"mshflexAdmitted"_s, 7))
        QVERIFY(shown.startsWith(hospNum, Qt::CaseInsensitive));
    QCOMPARE(grid->item(0, 8)->text(), idNum);

    search->clear();
    QTest::keyClicks(search, u"NOBODY BY THIS NAME"_s);
    QTest::mouseClick(child<QPushButton>(window, u"cmdSearch"_s), Qt::LeftButton);
    QCOMPARE(grid->rowCount(), 0);

    QTest::mouseClick(child<QPushButton>(window, u"cmdPending(0)"_s), Qt::LeftButton);
    QTRY_VERIFY(frame.isNull());
    QVERIFY(s.window.workArea()->subWindowList().isEmpty());
}

void tst_PatientWindows::patientIndexShowsTheTypedPatient()
{
    OPEN_SCREEN(s);
    // A patient who was operated on, by the logbook.
    auto operated = db.scalar(
        u"select L.HospNum from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O "
        u"on O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.RecordStatus <> 'R' "
        u"order by L.TransDate desc limit 1");
    QVERIFY(operated && !operated->toString().isEmpty());
    const QString hospNum = operated->toString();

    frmPatientIndex window(s.f.session, &s.finder, nullptr);
    QStringList opened;
    window.presenter().setWindowOpener([&opened](const QString &form, const WindowRequest &r) {
        opened << form + u':' + r.values.value(u"RefNum"_s).toString();
    });
    window.show();
    window.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&window));

    // The guideline shows while the hospital number is being typed.
    auto *field = child<QLineEdit>(&window, u"txtHospNum"_s);
    auto *guideline = child<QLabel>(&window, u"lblGuideline"_s);
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(guideline->text(), PatientIndex::guideline());
    QTest::keyClicks(field, hospNum);
    QTest::keyClick(field, Qt::Key_Return);

    auto master = db.selectOne(u"select LastName, BloodType, Sex from PATIENT_DATA..tbMaster "
                               u"where HospNum = :h",
                               {{"h", hospNum}});
    QVERIFY(master && *master);
    QVERIFY(child<QLineEdit>(&window, u"txtPatientName"_s)
                ->text()
                .startsWith((*master)->trimmed(u"LastName") + u", "));
    QCOMPARE(child<QLineEdit>(&window, u"txtSex"_s)->text(), (*master)->trimmed(u"Sex"));
    QCOMPARE(child<QLineEdit>(&window, u"txtBloodType"_s)->text(),
             (*master)->trimmed(u"BloodType"));
    QVERIFY(!child<QLineEdit>(&window, u"txtAge"_s)->text().isEmpty());
    QVERIFY(QDate::fromString(child<QLineEdit>(&window, u"txtBirthDate"_s)->text(), u"MM/dd/yyyy")
                .isValid());

    auto *procedures = child<QTableWidget>(&window, u"grdAdmissionList"_s);
    QCOMPARE(procedures->rowCount(), window.presenter().procedures().count());
    QVERIFY(procedures->rowCount() > 0);

    // Leaving the field takes the guideline away.
    child<QPushButton>(&window, u"cmdRefresh"_s)->setFocus();
    QTRY_COMPARE(guideline->text(), QString());

    clickCell(procedures, 0, 0, true);
    QCOMPARE(opened, QStringList{u"frmSurgicalMemo:"_s +
                                 window.presenter().procedures().at(0).trimmed(u"RefNum")});
}

void tst_PatientWindows::searcherTypingAndQueryingAgain()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    SearchWindow w(f.session, u"SAN"_s);
    QVERIFY(w.active);
    QTableWidget *grid = w.grid();
    QCOMPARE(grid->rowCount(), 4);
    QCOMPARE(grid->item(0, 1)->text(), u"SAN BARTOLOME DISTRICT HOSPITAL"_s);
    QCOMPARE(grid->item(0, 2)->text(), u"H01"_s);
    QCOMPARE(grid->currentRow(), 0);
    QVERIFY(w.button(u"cmdSelect"_s)->isEnabled());
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
    QVERIFY(!w.button(u"cmdSelect"_s)->isEnabled());
    QTest::keyClick(grid, Qt::Key_Return);
    QVERIFY(w.window->isVisible());
    QVERIFY(!w.list.Valid());
    search->clear();
    QTest::keyClicks(search, u"san r"_s);
    QTest::keyClick(search, Qt::Key_Enter);
    QCOMPARE(grid->rowCount(), 1);
    QCOMPARE(grid->item(0, 2)->text(), u"H06"_s);
    QVERIFY(w.button(u"cmdSelect"_s)->isEnabled());
    QVERIFY(w.window->isVisible());
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
        QCOMPARE(w.grid()->currentRow(), 0);
        QTest::keyClick(w.grid(), Qt::Key_Down);
        QCOMPARE(w.grid()->currentRow(), 1);
        QCOMPARE(w.search()->text(), u"SAN BARTOLOME DOCTORS HOSPITAL"_s);
        QTest::keyClick(w.grid(), Qt::Key_Return);
        QCOMPARE(w.window->result(), int(QDialog::Accepted));
        QVERIFY(w.list.Valid());
        QCOMPARE(w.list.Code(), u"H05"_s);
        QCOMPARE(w.list.Description(), u"SAN BARTOLOME DOCTORS HOSPITAL"_s);
    }
    {
        SearchWindow w(f.session, u"SAN"_s);
        QVERIFY(w.active);
        clickCell(w.grid(), 3, 1, true);
        QCOMPARE(w.window->result(), int(QDialog::Accepted));
        QCOMPARE(w.list.Code(), u"H06"_s);
        QCOMPARE(w.list.Description(), u"SAN ROQUE MATERNITY AND GENERAL HOSPITAL"_s);
    }
    {
        // Enter on a button moves on to the next; Escape cancels.
        SearchWindow w(f.session, u"SAN"_s);
        QVERIFY(w.active);
        QPushButton *select = w.button(u"cmdSelect"_s);
        select->setFocus();
        QTest::keyClick(select, Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w.button(u"cmdCancel"_s));
        QVERIFY(w.window->isVisible());
        QVERIFY(!w.list.Valid());
        w.grid()->setFocus();
        QTest::keyClick(w.grid(), Qt::Key_Down);
        QTest::keyClick(w.grid(), Qt::Key_Escape);
        QVERIFY(!w.window->isVisible());
        QCOMPARE(w.window->result(), int(QDialog::Rejected));
        QVERIFY(!w.list.Valid());
        QCOMPARE(w.list.Code(), QString());
    }
}

QTEST_MAIN(tst_PatientWindows)
#include "tst_patientwindows.moc"
