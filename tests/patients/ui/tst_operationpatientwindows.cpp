// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The admitted patients with a scheduled operation and the patient index on screen over a
// fresh demo hospital: the list, choosing and checking a patient, the search; the index's
// guideline, a patient typed in and a procedure double-clicked.
#include "patients/ui/frmAdmittedPatients.h"
#include "patients/ui/frmPatientIndex.h"
#include "shell/components/clsPatientFinder.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>

using namespace kestrel;

namespace {

template <typename T> T *child(QWidget *window, const char *name)
{
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

struct Rig
{
    std::unique_ptr<test::TestDatabase> hospital;
    std::unique_ptr<test::MainWindowFixture> f;

    bool open()
    {
        auto t = test::TestDatabase::create(Backend::Sqlite);
        if (!t)
            return false;
        hospital = std::move(*t);
        f = std::make_unique<test::MainWindowFixture>(hospital->db(), QStringLiteral("2901"));
        return true;
    }
    Database &db() { return hospital->db(); }
};

void clickCell(QTableWidget *grid, int row, int column)
{
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, column)).center());
}

} // namespace

class tst_OperationPatientWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void admittedPatientsListChooseAndCheck();
    void admittedPatientsSearchAndExit();
    void patientIndexShowsTheTypedPatient();
};

void tst_OperationPatientWindows::admittedPatientsListChooseAndCheck()
{
    Rig rig;
    QVERIFY(rig.open());
    frmAdmittedPatients window(rig.f->session);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Admitted Patients w/ Scheduled Operation"));
    auto *searchBy = child<QComboBox>(&window, "cboBySearch");
    QCOMPARE(searchBy->count(), 3);
    QCOMPARE(searchBy->itemText(1), QStringLiteral("Adm #"));

    auto *grid = child<QTableWidget>(&window, "mshflexAdmitted");
    const int patients = window.presenter().rows().count();
    QVERIFY(patients >= 2);
    QCOMPARE(grid->rowCount(), patients);
    QCOMPARE(grid->columnCount(), 11);
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Patient Name"));
    QCOMPARE(grid->columnWidth(1), 2500 / 15);
    QCOMPARE(grid->columnWidth(5), 1800 / 15);
    QCOMPARE(grid->columnWidth(10), 2300 / 15);
    for (int hidden : {7, 8, 9})
        QVERIFY(grid->isColumnHidden(hidden));
    QVERIFY(!grid->isColumnHidden(6));
    QCOMPARE(grid->item(0, 9)->text(), window.presenter().rows().at(0).trimmed(u"TransNum"));

    auto *position = child<QLabel>(&window, "lblRecNum");
    QCOMPARE(position->text(), QString());
    clickCell(grid, 1, 1);
    QCOMPARE(position->text(), QStringLiteral("2  out of  %1").arg(patients));
    const QString chosen = grid->item(1, 9)->text();

    rig.f->notifier.answer({true});
    rig.f->dialogs.sign(QStringLiteral("2905"));
    QTest::mouseClick(child<QPushButton>(&window, "cmdPending(1)"), Qt::LeftButton);
    QCOMPARE(rig.f->notifier.lastText(),
             QStringLiteral("Successful! Patient was removed from the list."));
    QCOMPARE(grid->rowCount(), patients - 1);
    QCOMPARE(position->text(), QString());
    for (int row = 0; row < grid->rowCount(); ++row)
        QVERIFY(grid->item(row, 9)->text() != chosen);
    auto by = rig.db().scalar(u"select ORNotifiedUser from SCHEDULE..tbORScheduleDetails "
                              u"where TransNum = :t",
                              {{QStringLiteral("t"), chosen}});
    QVERIFY(by);
    QCOMPARE(by->toString(), QStringLiteral("2905"));

    // With nobody chosen the button only says so.
    rig.f->notifier.clear();
    QTest::mouseClick(child<QPushButton>(&window, "cmdPending(1)"), Qt::LeftButton);
    QCOMPARE(rig.f->notifier.lastText(),
             QStringLiteral("Please select checked admitted patients with schedule."));
    QCOMPARE(rig.f->dialogs.asked(), 1);
}

void tst_OperationPatientWindows::admittedPatientsSearchAndExit()
{
    Rig rig;
    QVERIFY(rig.open());
    QMdiArea area;
    area.resize(1200, 700);
    area.show();
    auto *window = new frmAdmittedPatients(rig.f->session);
    QMdiSubWindow *sub = area.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->show();
    QVERIFY(QTest::qWaitForWindowExposed(&area));

    auto *grid = child<QTableWidget>(window, "mshflexAdmitted");
    const QString idNum = window->presenter().rows().at(0).trimmed(u"IdNum");
    const QString hospNum = window->presenter().rows().at(0).trimmed(u"HospNum");
    auto *search = child<QLineEdit>(window, "txtSearch");
    search->setFocus();
    QTest::keyClicks(search, hospNum.toLower());
    QCOMPARE(search->text(), hospNum.toUpper());
    QTest::keyClick(search, Qt::Key_Return);
    QVERIFY(grid->rowCount() >= 1);
    for (int row = 0; row < grid->rowCount(); ++row)
        QVERIFY(grid->item(row, 7)->text().startsWith(hospNum, Qt::CaseInsensitive));
    QVERIFY(QStringList{grid->item(0, 8)->text()}.contains(idNum));

    search->clear();
    QTest::keyClicks(search, QStringLiteral("NOBODY BY THIS NAME"));
    QTest::mouseClick(child<QPushButton>(window, "cmdSearch"), Qt::LeftButton);
    QCOMPARE(grid->rowCount(), 0);

    QPointer<QMdiSubWindow> frame(sub);
    QTest::mouseClick(child<QPushButton>(window, "cmdPending(0)"), Qt::LeftButton);
    QTRY_VERIFY(frame.isNull());
    QVERIFY(area.subWindowList().isEmpty());
}

void tst_OperationPatientWindows::patientIndexShowsTheTypedPatient()
{
    Rig rig;
    QVERIFY(rig.open());
    // A patient who was operated on, by the logbook.
    auto operated = rig.db().scalar(
        u"select L.HospNum from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O "
        u"on O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.RecordStatus <> 'R' "
        u"order by L.TransDate desc limit 1");
    QVERIFY(operated && !operated->toString().isEmpty());
    const QString hospNum = operated->toString();

    ComponentContext ctx(rig.f->notifier);
    clsPatientFinder finder(ctx);
    QVERIFY(finder.InitConnection(QStringLiteral("MTS01"), &rig.db()));
    frmPatientIndex window(rig.f->session, &finder, nullptr);
    QStringList opened;
    window.presenter().setWindowOpener([&opened](const QString &form, const WindowRequest &r) {
        opened << form + u':' + r.values.value(QStringLiteral("RefNum")).toString();
    });
    window.show();
    QVERIFY(QTest::qWaitForWindowActive(&window));
    QCOMPARE(window.windowTitle(), QStringLiteral("Update Patient Operating Procedure"));
    auto *tabs = child<QTabWidget>(&window, "SSTab1");
    QCOMPARE(tabs->tabText(0), QStringLiteral("List of Operating Procedures Done"));
    QCOMPARE(tabs->tabText(1), QStringLiteral("User Updates"));

    auto *field = child<QLineEdit>(&window, "txtHospNum");
    auto *guideline = child<QLabel>(&window, "lblGuideline");
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    QCOMPARE(guideline->text(), PatientIndex::guideline());
    QTest::keyClicks(field, hospNum);
    QTest::keyClick(field, Qt::Key_Return);

    auto master = rig.db().selectOne(u"select LastName, BloodType, Sex from "
                                     u"PATIENT_DATA..tbMaster where HospNum = :h",
                                     {{QStringLiteral("h"), hospNum}});
    QVERIFY(master && *master);
    QVERIFY(child<QLineEdit>(&window, "txtPatientName")
                ->text()
                .startsWith((*master)->trimmed(u"LastName") + QStringLiteral(", ")));
    QCOMPARE(child<QLineEdit>(&window, "txtSex")->text(), (*master)->trimmed(u"Sex"));
    QCOMPARE(child<QLineEdit>(&window, "txtBloodType")->text(), (*master)->trimmed(u"BloodType"));
    QVERIFY(!child<QLineEdit>(&window, "txtAge")->text().isEmpty());
    QVERIFY(QDate::fromString(child<QLineEdit>(&window, "txtBirthDate")->text(),
                              QStringLiteral("MM/dd/yyyy"))
                .isValid());

    auto *procedures = child<QTableWidget>(&window, "grdAdmissionList");
    QCOMPARE(procedures->rowCount(), window.presenter().procedures().count());
    QVERIFY(procedures->rowCount() > 0);
    QCOMPARE(procedures->horizontalHeaderItem(2)->text(), QStringLiteral("ProcedureID"));

    // Leaving the field takes the guideline away.
    child<QPushButton>(&window, "cmdRefresh")->setFocus();
    QTRY_COMPARE(guideline->text(), QString());

    procedures->scrollToItem(procedures->item(0, 0));
    const QRect cell = procedures->visualItemRect(procedures->item(0, 0));
    QVERIFY(procedures->viewport()->rect().contains(cell.center()));
    QTest::mouseClick(procedures->viewport(), Qt::LeftButton, {}, cell.center());
    QTest::mouseDClick(procedures->viewport(), Qt::LeftButton, {}, cell.center());
    QCOMPARE(opened, QStringList{QStringLiteral("frmSurgicalMemo:") +
                                 window.presenter().procedures().at(0).trimmed(u"RefNum")});
}

QTEST_MAIN(tst_OperationPatientWindows)
#include "tst_operationpatientwindows.moc"
