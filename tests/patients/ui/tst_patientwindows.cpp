// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient lists on screen over a fresh demo hospital: typing a last name and pressing
// Enter, the search boxes' keys, the admission-date frame, opening a row through the main
// window, and the picker of a new schedule.
#include "patients/PatientListFixture.h"
#include "patients/ui/frmSearch.h"
#include "patients/ui/frmSearchAdmitted.h"
#include "shell/components/clsPatientFinder.h"
#include "shell/MainMenu.h"
#include "shell/MainWindowFixture.h"
#include "shell/settings/HospitalSettings.h"
#include "shell/ui/mdiORMenu.h"
#include "support/TestDatabase.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>

using namespace kestrel;

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
        : f(db, QStringLiteral("2901"))
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

    // Opens `list` in the work area, as the main window opens its windows.
    void open(QWidget *list)
    {
        QMdiSubWindow *sub = window.workArea()->addSubWindow(list);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->show();
    }

    test::MainWindowFixture f;
    ComponentContext ctx{f.notifier};
    clsPatientFinder finder;
    MainMenu menu;
    mdiORMenu window;
};

QStringList gridColumn(QWidget *list, int column)
{
    auto *grid = child<QTableView>(list, QStringLiteral("MSHFlexList"));
    QStringList texts;
    for (int row = 0; row < grid->model()->rowCount(); ++row)
        texts << grid->model()->index(row, column).data().toString();
    return texts;
}

void doubleClickRow(QWidget *list, int row)
{
    auto *grid = child<QTableView>(list, QStringLiteral("MSHFlexList"));
    const QPoint at = grid->visualRect(grid->model()->index(row, 3)).center();
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, at);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, at);
}

} // namespace

class tst_PatientWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void typingALastNameAndEnter();
    void searchBoxesTakeOneCriterion();
    void admissionDateFrame();
    void rowOpensTheProfileThroughTheMainWindow();
    void pickerForANewSchedule();
};

void tst_PatientWindows::typingALastNameAndEnter()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(test::addListPatients(db));
    Screen s(db);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, s.window.menu(u"mnuInquiry"));
    s.open(list);
    QCOMPARE(list->windowTitle(), QStringLiteral("Patient List"));
    for (const char *name :
         {"Command1", "Command2", "cmdAdmDate", "optPatientType(0)", "optPatientType(1)",
          "optPatientType(2)", "lblRecNum", "lblLegend", "lblProcedures(0)", "lblProcedures(1)",
          "lblProcedures(2)", "frmDateEntry", "dtpStartDate", "dtpEndDate", "cmdOKClose(0)",
          "cmdOKClose(1)"})
        QVERIFY2(list->findChild<QWidget *>(QLatin1String(name)), name);

    // Digits are refused and letters become capitals as they are typed.
    auto *lastName = child<QLineEdit>(list, QStringLiteral("txtSearch(0)"));
    lastName->setFocus();
    QTest::keyClicks(lastName, QStringLiteral("batum4bakal"));
    QCOMPARE(lastName->text(), QStringLiteral("BATUMBAKAL"));
    QTest::keyClick(lastName, Qt::Key_Return);

    QCOMPARE(gridColumn(list, 2), (QStringList{"K0100001", "K0100002", "K0100004"}));
    QCOMPARE(gridColumn(list, 3).first(), QStringLiteral("BATUMBAKAL, JUAN MARASIGAN"));
    QCOMPARE(child<QLabel>(list, QStringLiteral("lblRecNum"))->text(),
             QStringLiteral("1  out of  3"));
    auto *legend = child<QLabel>(list, QStringLiteral("lblLegend"));
    QVERIFY(legend->isVisible());
    QCOMPARE(legend->text(), QStringLiteral("CASH BASIS: PROMISSORY NOTE ON FILE"));
    auto *grid = child<QTableView>(list, QStringLiteral("MSHFlexList"));
    QCOMPARE(grid->currentIndex().row(), 0);
    // The two hidden columns, and the precaution column this hospital keeps a twip wide.
    QVERIFY(grid->isColumnHidden(7) && grid->isColumnHidden(8) && grid->isColumnHidden(0));
    QCOMPARE(grid->columnWidth(3), 3840 / 15);

    // Arrow keys move the highlight; the current patient follows.
    grid->setFocus();
    QTest::keyClick(grid, Qt::Key_Down);
    QCOMPARE(s.f.session.CurrentPatient.IdNum, QStringLiteral("K0100002"));
    QCOMPARE(child<QLabel>(list, QStringLiteral("lblRecNum"))->text(),
             QStringLiteral("2  out of  3"));
    QVERIFY(!legend->isVisible());

    // Another kind of stay loads the list again.
    QTest::mouseClick(child<QRadioButton>(list, QStringLiteral("optPatientType(2)")),
                      Qt::LeftButton);
    QCOMPARE(gridColumn(list, 2), QStringList{"K0300002B"});
}

void tst_PatientWindows::searchBoxesTakeOneCriterion()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(test::addListPatients(db));
    Screen s(db);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, nullptr);
    s.open(list);
    auto *lastName = child<QLineEdit>(list, QStringLiteral("txtSearch(0)"));
    auto *hospNum = child<QLineEdit>(list, QStringLiteral("txtSearch(1)"));
    lastName->setFocus();
    QTest::keyClicks(lastName, QStringLiteral("BATU"));
    hospNum->setFocus();
    QCOMPARE(lastName->text(), QString());
    QTest::keyClicks(hospNum, QStringLiteral("K0000002"));
    QTest::mouseClick(child<QPushButton>(list, QStringLiteral("Command1")), Qt::LeftButton);
    QCOMPARE(gridColumn(list, 2), QStringList{"K0100004"});
}

void tst_PatientWindows::admissionDateFrame()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(test::addListPatients(db));
    Screen s(db);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, nullptr);
    s.open(list);
    auto *frame = child<QGroupBox>(list, QStringLiteral("frmDateEntry"));
    QVERIFY(!frame->isVisible());
    QTest::mouseClick(child<QPushButton>(list, QStringLiteral("cmdAdmDate")), Qt::LeftButton);
    QVERIFY(frame->isVisible());
    QCOMPARE(frame->title(), QStringLiteral("Enter Admission Dates"));
    auto *start = child<QDateEdit>(list, QStringLiteral("dtpStartDate"));
    auto *end = child<QDateEdit>(list, QStringLiteral("dtpEndDate"));
    QCOMPARE(start->date(), test::fixtureToday());
    QCOMPARE(end->date(), test::fixtureToday());
    QCOMPARE(start->displayFormat(), QStringLiteral("MM/dd/yyyy"));

    QTest::mouseClick(child<QPushButton>(list, QStringLiteral("cmdOKClose(1)")), Qt::LeftButton);
    QVERIFY(!frame->isVisible());

    child<QLineEdit>(list, QStringLiteral("txtSearch(1)"))->setText(QStringLiteral("K0000001"));
    QTest::mouseClick(child<QPushButton>(list, QStringLiteral("cmdAdmDate")), Qt::LeftButton);
    start->setDate(QDate(2026, 10, 1));
    end->setDate(QDate(2026, 10, 1));
    QTest::mouseClick(child<QPushButton>(list, QStringLiteral("cmdOKClose(0)")), Qt::LeftButton);
    QVERIFY(!frame->isVisible());
    QCOMPARE(gridColumn(list, 2), QStringList{"K0100002"});
    // Refresh is the plain search again.
    QTest::mouseClick(child<QPushButton>(list, QStringLiteral("Command2")), Qt::LeftButton);
    QCOMPARE(gridColumn(list, 2), (QStringList{"K0100001", "K0100002"}));
}

void tst_PatientWindows::rowOpensTheProfileThroughTheMainWindow()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(test::addListPatients(db));
    Screen s(db);
    auto *list = new frmSearch(s.f.session, &s.finder, &s.menu, s.window.menu(u"mnuInquiry"));
    s.open(list);
    auto *link = child<QLabel>(list, QStringLiteral("lblProcedures(2)"));
    QVERIFY(!link->isEnabled());

    list->presenter().setSearchText(PatientList::AdmissionNumber, QStringLiteral("K0100004"));
    list->presenter().load();
    doubleClickRow(list, 0);
    QCOMPARE(s.f.session.CurrentPatient.PatientClass, QStringLiteral("I"));
    QVERIFY(link->isEnabled());
    QCOMPARE(s.menu.menuState(QStringLiteral("mnuInfo")).enabled, std::optional(true));
    // The profile window comes later; the main window says so.
    QCOMPARE(s.f.notifier.lastText(), QStringLiteral("Clinical Procedures is not available yet."));

    // Closing the list turns the patient's commands off.
    qobject_cast<QMdiSubWindow *>(list->parentWidget())->close();
    QCOMPARE(s.menu.menuState(QStringLiteral("mnuInfo")).enabled, std::optional(false));
}

void tst_PatientWindows::pickerForANewSchedule()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(test::addListPatients(db));
    Screen s(db);
    QPointer<frmSearchAdmitted> picker = new frmSearchAdmitted(s.f.session, &s.finder, &s.menu);
    s.open(picker);
    QCOMPARE(child<QRadioButton>(picker, QStringLiteral("optPatientType(0)"))->text(),
             QStringLiteral("In Patient"));
    QCOMPARE(child<QRadioButton>(picker, QStringLiteral("optPatientType(1)"))->text(),
             QStringLiteral("Out Patient"));
    QVERIFY(!picker->findChild<QWidget *>(QStringLiteral("optPatientType(2)")));
    QVERIFY(!picker->findChild<QWidget *>(QStringLiteral("cmdAdmDate")));

    auto *hospNum = child<QLineEdit>(picker, QStringLiteral("txtSearch(1)"));
    hospNum->setFocus();
    QTest::keyClicks(hospNum, QStringLiteral("K0000002"));
    QTest::keyClick(hospNum, Qt::Key_Enter);
    QCOMPARE(gridColumn(picker, 2), QStringList{"K0100004"});

    doubleClickRow(picker, 0);
    QCOMPARE(s.f.session.CurrentPatient.IdNum, QStringLiteral("K0100004"));
    QCOMPARE(s.f.notifier.lastText(),
             QStringLiteral("Schedule of Operations is not available yet."));
    // The picker closes once it has handed the patient over.
    QTRY_VERIFY(picker.isNull());
}

QTEST_MAIN(tst_PatientWindows)
#include "tst_patientwindows.moc"
