// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window on the offscreen platform: every menu with its caption and first state,
// the toolbar, the status bar, the charge slip panel, the alert buttons, opening windows
// through the registry, the window list, the exit question and the work area.
#include "shell/ClientMenus.h"
#include "shell/MainMenu.h"
#include "shell/MainWindowFixture.h"
#include "shell/settings/clsSettings.h"
#include "shell/settings/HospitalSettings.h"
#include "shell/ui/mdiORMenu.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>

#include <iterator>

using namespace kestrel;
using kestrel::test::MainWindowFixture;
using kestrel::test::TestDatabase;

namespace {

struct MenuEntry
{
    const char *parent; // "" for the menu bar
    const char *name;
    const char *caption;
    bool visible;
    bool enabled;
};

constexpr bool V = true;  // visible
constexpr bool H = false; // hidden
constexpr bool E = true;  // enabled
constexpr bool D = false; // disabled

// The menu bar as the hospital's description gives it, in menu order.
const MenuEntry kDescribedMenus[] = {
    {"", "mnuFile", "&File", V, E},
    {"mnuFile", "mnuOpen", "&Open", H, E},
    {"mnuFile", "mnuBuild", "Build OR Rooms", V, E},
    {"mnuFile", "mnuChargeSlip", "Charge Slip Setting", H, E},
    {"mnuFile", "mnuMarkUp", "Mark Up Settings", V, E},
    {"mnuFile", "mnuTagProcedures", "Tag Procedures", V, E},
    {"mnuFile", "mnuUserLogs", "User Logs", V, E},
    {"mnuFile", "mnuUser", "User Settings", V, E},
    {"", "mnuReports", "R&eports", V, E},
    {"mnuReports", "mnuCVORCensus", "CVOR Census Report", H, E},
    {"mnuReports", "mnuEquipment", "Equipment Charges (EQ)", V, E},
    {"mnuReports", "mnuDetailed", "Income Report (Detailed)", V, E},
    {"mnuReports", "mnuSummary", "Income Report (Summary)", V, E},
    {"mnuReports", "mnuDetailedGUVO", "Income Report (Detailed)", V, E},
    {"mnuDetailedGUVO", "mnuProcedureCount", "New Format", V, E},
    {"mnuDetailedGUVO", "mnuOldFormatIncomeDetailed", "Old Format", V, E},
    {"mnuReports", "mnuSummaryGUVO", "Income Report (Summary)", V, E},
    {"mnuSummaryGUVO", "mnuGUVOIncomeReport", "New Format", V, E},
    {"mnuSummaryGUVO", "mnuOldFormatIncomeSummary", "Old Format", V, E},
    {"mnuReports", "mnuPriceList", "Price List", H, E},
    {"mnuReports", "mnuMedsSummary", "Post Charged Meds Summary", V, E},
    {"mnuReports", "mnuPxOperation", "Patients with Operation (Post Charges)", V, E},
    {"mnuPxOperation", "mnuPerDate", "Group by Date", V, E},
    {"mnuPxOperation", "mnuPerDoctor", "Group by Doctor", V, E},
    {"mnuPxOperation", "mnuPerPatient", "Group by Patient Type (PHIC/Non-PHIC)", V, E},
    {"mnuPxOperation", "mnuPerProcedure", "Group by Procedure", V, E},
    {"mnuReports", "mnuLedger", "Patient's Ledger", V, D},
    {"mnuReports", "mnuPxCSSR", "Patient's CSSR Ledger", V, E},
    {"mnuReports", "mnuAudit", "Audit Report", V, E},
    {"mnuReports", "mnuCensusOrig", "Monthly Census Report", V, E},
    {"mnuReports", "mnuORCensus", "Census Report", V, E},
    {"mnuORCensus", "mnuCensusHMO", "HMO Patients", V, E},
    {"mnuCensusHMO", "mnuCensusDetailed", "Detailed", V, E},
    {"mnuCensusHMO", "mnuCensusSummary", "Summary", V, E},
    {"mnuORCensus", "mnuCensusAll", "All Patients", V, E},
    {"mnuCensusAll", "mnuCensusAllDetailed", "Detailed", V, E},
    {"mnuCensusAll", "mnuCensusAllSummary", "Summary", V, E},
    {"mnuReports", "mnuMonthly", "Monthly Report", V, E},
    {"mnuReports", "mnuCSFTemplate", "PhilHealth CSF Template", H, E},
    {"mnuReports", "mnuPhilhealth", "PhilHealth LogBook", H, D},
    {"mnuReports", "mnuScheduleofoperations", "Schedule of Operations", V, E},
    {"mnuReports", "mnuORMandatory", "OR Mandatory Report", H, E},
    {"mnuReports", "mnuORReport", "OR Report", V, E},
    {"mnuReports", "mnuORLogbook", "OR Logbook", V, E},
    {"mnuReports", "mnuORCases", "OR Room Cases", H, E},
    {"mnuORCases", "mnuMonthlyORRoomCases", "Monthly", V, E},
    {"mnuORCases", "mnuYearlyORRoomCases", "Yearly", V, E},
    {"mnuReports", "mnuTopCases", "OR Top Cases", H, E},
    {"mnuReports", "mnuNSD", "NSD LogBook", H, E},
    {"mnuReports", "mnuDOH", "DOH LogbBook ", H, E},
    {"mnuReports", "mnuStat", "Statistical Report", V, E},
    {"mnuReports", "mnuAdmCensus", "Admission Census", H, E},
    {"mnuReports", "mnuCash", "Cash Basis", H, E},
    {"mnuReports", "mnuTimeNMotion", "Time and Motion (OR-DR)", H, E},
    {"mnuReports", "mnuYearlyIncome", "Yearly Income Report (OR-DR)", H, E},
    {"mnuReports", "mnuAMPickUp", "List of Lab AM Pick-UP", H, E},
    {"mnuReports", "mnuStocksMonitoring", "Stocks Monitoring", V, E},
    {"mnuReports", "mnuProcCatRep", "Procedure By Category Report", V, E},
    {"", "mnuAssessment", "&Assessment Entry", H, D},
    {"", "mnuInquiry", "&Inquiry", V, E},
    {"mnuInquiry", "mnuSpecialTreatment", "Consent for Special Treatment", H, E},
    {"mnuInquiry", "mnuSterilizationConsent", "Consent for Sterilization Procedure", H, E},
    {"mnuInquiry", "mnuSurgicalTreatment", "Consent for Surgical Treatment", H, E},
    {"mnuInquiry", "mnuConsentTreatment", "Consent for Treatment", H, E},
    {"mnuInquiry", "mnuFluid", "Fluid Intake and Output", H, E},
    {"mnuInquiry", "mnuHourlyMonitoring", "Hourly Monitoring Sheet", H, E},
    {"mnuInquiry", "mnuLabChemistry", "Laboratory Chemistry Result", H, E},
    {"mnuInquiry", "mnuLabHematology", "Laboratory Hematology Result", H, E},
    {"mnuInquiry", "mnuLabImmunoSerology", "Laboratory Immuno/Serology Result", H, E},
    {"mnuInquiry", "mnuLabMicrobiology", "Laboratory Microbiology Result", H, E},
    {"mnuInquiry", "mnuLabMicroscopic", "Laboratory Microscopic Result", H, E},
    {"mnuInquiry", "mnuLRForm", "Labor Room Form", H, E},
    {"mnuInquiry", "mnuMSSReferral", "MSS Referral", H, E},
    {"mnuInquiry", "mnuORSchedEntry", "New OR Schedule", V, E},
    {"mnuInquiry", "mnuPreOp", "Nurse Pre-operative Checklist", H, E},
    {"mnuInquiry", "mnuOperativeTechnique", "Operative Technique", H, E},
    {"mnuInquiry", "mnuDischargeNoticeStatus", "Patient Discharge Notice Status", V, E},
    {"mnuInquiry", "mnuPDS", "Patient Data Sheet", V, E},
    {"mnuInquiry", "mnuInfo", "Personal Info", V, D},
    {"mnuInquiry", "mnuCF4", "PhilHealth CF4 Entry", H, E},
    {"mnuInquiry", "mnuCSF", "PhilHealth CSF", H, E},
    {"mnuInquiry", "mnuPreAnesFirst", "Pre-Anesthetic Evaluation (First Page)", H, E},
    {"mnuInquiry", "mnuReprintLab", "Reprint Laboratory Request Form", H, E},
    {"mnuInquiry", "mnuRS", "Request Status", V, D},
    {"mnuInquiry", "mnuResultDischarge", "Result Entry (Discharge Entry)", V, E},
    {"mnuInquiry", "mnuCountingSheet", "Sponge, Intrument and Needle Counting Sheet", H, E},
    {"mnuInquiry", "mnuSSC", "Surgical Safety Checklist", H, E},
    {"mnuInquiry", "mnuCVOR", "Tag as CVOR/RR Patient", H, E},
    {"mnuInquiry", "mnuSOA", "View Statement of Account", H, E},
    {"mnuInquiry", "mnuWHOSurgicalSafety", "WHO Surgical Safety Checklist", H, E},
    {"", "mnuSchedule", "Operation &Schedule ", V, E},
    {"", "mnuRecvbles", "&Receivable Update", V, E},
    {"", "mnuWindow", "&Window", V, E},
    {"", "mnuListDischargeNotice", "&List Discharge Notices", V, E},
    {"", "mnuBuildFile", "&Build OR Package", H, D},
    {"", "mnuOperationFn", "&Operation Functions", H, E},
    {"mnuOperationFn", "mnuConfirm", "Confirm", V, E},
    {"mnuOperationFn", "mnuRevoke", "Revoke", V, E},
    {"", "mnuExit", "&Exit", V, E},
    {"mnuExit", "mnuExitApps", "Exit Application", V, E},
};

// Commands that the description leaves without an action.
const QStringList kNoAction{"mnuNSD",       "mnuMSSReferral", "mnuResultDischarge",
                            "mnuBuildFile", "mnuConfirm",     "mnuRevoke"};

// The names of the menus and commands directly inside `menu`, in order.
QStringList namedActions(const QWidget *menu)
{
    QStringList names;
    for (const QAction *a : menu->actions()) {
        if (a->objectName().startsWith(u"mnu") && !a->isSeparator())
            names << a->objectName();
    }
    return names;
}

QString labelText(const mdiORMenu &w, const char *name)
{
    auto *label = qobject_cast<QLabel *>(w.control(QString::fromLatin1(name)));
    return label ? label->text() : QStringLiteral("<no label %1>").arg(QString::fromLatin1(name));
}

} // namespace

class tst_mdiORMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();

    void menus_data();
    void menus();
    void menusAreInTheirPlaceAndOrder();
    void everyCommandDoesWhatItShould();

    void toolbar_data();
    void toolbar();
    void reportDropDown();

    void statusPanels();
    void chargeSlipPanel();

    void alertButtons_data();
    void alertButtons();
    void panicTextIsClickable();

    void windowNotAvailableIsTold_data();
    void windowNotAvailableIsTold();
    void registeredWindowIsOneSharedInstance();
    void modalWindowIsShownModally();
    void windowListFollowsTheOpenWindows();

    void menuStateFollowsThePresenter();
    void startupMenusOfAHospital();

    void closingAsksTheExitQuestion_data();
    void closingAsksTheExitQuestion();
    void exitCommandClosesWithoutAskingTwice();

    void activeChildKeptInsideTheWorkArea();
    void background();

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<MainWindowFixture> m_fixture;
    std::unique_ptr<MainMenu> m_presenter;
    std::unique_ptr<mdiORMenu> m_window;
};

void tst_mdiORMenu::init()
{
    auto db = TestDatabase::create(Backend::Sqlite);
    QVERIFY2(db.has_value(), qPrintable(db ? QString() : db.error().message));
    m_db = std::move(*db);
    m_fixture = std::make_unique<MainWindowFixture>(m_db->db(), QStringLiteral("2901"));
    m_presenter = std::make_unique<MainMenu>(m_fixture->session);
    m_window = std::make_unique<mdiORMenu>(*m_presenter);
}

void tst_mdiORMenu::cleanup()
{
    m_window.reset();
    m_presenter.reset();
    m_fixture.reset();
    m_db.reset();
}

void tst_mdiORMenu::menus_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<bool>("visible");
    QTest::addColumn<bool>("enabled");
    for (const MenuEntry &m : kDescribedMenus)
        QTest::newRow(m.name) << QString::fromLatin1(m.name) << QString::fromUtf8(m.caption)
                              << m.visible << m.enabled;
}

void tst_mdiORMenu::menus()
{
    QFETCH(QString, name);
    QFETCH(QString, caption);
    QFETCH(bool, visible);
    QFETCH(bool, enabled);

    QAction *a = m_window->action(name);
    QVERIFY2(a, qPrintable(name));
    QCOMPARE(a->objectName(), name);
    QCOMPARE(a->text(), caption);
    QCOMPARE(a->isVisible(), visible);
    // A hidden command always reads as disabled; the state it was designed with shows once
    // start-up shows it.
    a->setVisible(true);
    QCOMPARE(a->isEnabled(), enabled);
}

void tst_mdiORMenu::menusAreInTheirPlaceAndOrder()
{
    QHash<QString, QStringList> expected;
    for (const MenuEntry &m : kDescribedMenus)
        expected[QString::fromLatin1(m.parent)] << QString::fromLatin1(m.name);

    QCOMPARE(namedActions(m_window->menuBar()), expected.value(QString()));
    for (auto it = expected.cbegin(); it != expected.cend(); ++it) {
        if (it.key().isEmpty())
            continue;
        QMenu *menu = m_window->menu(it.key());
        QVERIFY2(menu, qPrintable(it.key()));
        QCOMPARE(menu->menuAction(), m_window->action(it.key()));
        QCOMPARE(namedActions(menu), it.value());
    }
    // Nothing more than described: every named action of the window is in the table.
    int named = 0;
    for (const QAction *a : m_window->findChildren<QAction *>()) {
        if (a->objectName().startsWith(u"mnu") && !a->isSeparator())
            ++named;
    }
    QCOMPARE(named, int(std::size(kDescribedMenus)));
    QVERIFY(m_window->action(u"mnuWindowBar0"));
    QVERIFY(m_window->action(u"mnuWindowBar0")->isSeparator());
}

void tst_mdiORMenu::everyCommandDoesWhatItShould()
{
    // The supervisor, a selected patient and somebody to sign: every command that does
    // something either opens a window or says something; the others do neither.
    m_fixture->session.CurrentPatient.IdNum = QStringLiteral("0000001");
    m_fixture->session.CurrentPatient.PatientName = QStringLiteral("CRUZ, JUAN");
    m_fixture->dialogs.sign(QStringLiteral("2901"));
    m_fixture->dialogs.sign(QStringLiteral("2901"));
    QSignalSpy windows(m_presenter.get(), &MainMenu::windowRequested);
    QSignalSpy exits(m_presenter.get(), &MainMenu::exitRequested);

    for (const MenuEntry &m : kDescribedMenus) {
        const QString name = QString::fromLatin1(m.name);
        if (m_window->menu(name))
            continue; // opens its submenu
        QAction *a = m_window->action(name);
        a->setEnabled(true);
        const qsizetype before = windows.size() + m_fixture->notifier.boxes().size();
        a->trigger();
        const qsizetype after = windows.size() + m_fixture->notifier.boxes().size();
        if (kNoAction.contains(name))
            QVERIFY2(after == before, qPrintable(name + QStringLiteral(" did something")));
        else
            QVERIFY2(after > before, qPrintable(name + QStringLiteral(" did nothing")));
    }
    QCOMPARE(exits.size(), 0); // the exit question was answered No
}

void tst_mdiORMenu::toolbar_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("toolTip");
    QTest::newRow("Open") << "Open"
                          << "Open"
                          << "Patient List";
    QTest::newRow("Report") << "Report"
                            << "Report"
                            << "View Reports";
    QTest::newRow("Operation") << "Operation"
                               << "Operation"
                               << "Clinical Operation";
    QTest::newRow("Build") << "Build"
                           << "Build"
                           << "Build OR Packages";
    QTest::newRow("RUV") << "RUV"
                         << "RUV"
                         << "RUV List";
    QTest::newRow("Exit") << "Exit"
                          << "Exit"
                          << "Exit Application";
}

void tst_mdiORMenu::toolbar()
{
    QFETCH(QString, key);
    QFETCH(QString, caption);
    QFETCH(QString, toolTip);

    auto *bar = m_window->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    QVERIFY(bar);
    QAction *button = m_window->toolbarButton(key);
    QVERIFY(button);
    QVERIFY(bar->actions().contains(button));
    QCOMPARE(button->text(), caption);
    QCOMPARE(button->toolTip(), toolTip);
    QVERIFY2(!button->icon().isNull(), "every button has its picture");

    // The buttons come in the described order.
    QStringList keys;
    for (const QAction *a : bar->actions()) {
        if (!a->data().toString().isEmpty())
            keys << a->data().toString();
    }
    QCOMPARE(keys, (QStringList{"Open", "Report", "Operation", "Build", "RUV", "Exit"}));
}

void tst_mdiORMenu::reportDropDown()
{
    QAction *report = m_window->toolbarButton(u"Report");
    QVERIFY(report && report->menu());
    auto *bar = m_window->findChild<QToolBar *>(QStringLiteral("Toolbar1"));
    auto *button = qobject_cast<QToolButton *>(bar->widgetForAction(report));
    QVERIFY(button);
    QCOMPARE(button->popupMode(), QToolButton::InstantPopup);

    const QList<QAction *> items = report->menu()->actions();
    QStringList keys, texts;
    for (const QAction *a : items) {
        keys << a->data().toString();
        texts << a->text();
    }
    QCOMPARE(keys, (QStringList{"Audit", "Month", "Statistics", "Stockcard", "Exit"}));
    QCOMPARE(texts, (QStringList{"Audit Report", "Monthly Report", "Statistical Report",
                                 "OR Stockcard", "Exit Application"}));

    QSignalSpy windows(m_presenter.get(), &MainMenu::windowRequested);
    items.at(0)->trigger();
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(1).value<WindowRequest>().command, QStringLiteral("mnuAudit"));
    items.at(3)->trigger(); // the stock card does nothing
    QCOMPARE(windows.size(), 1);
    QCOMPARE(m_fixture->notifier.boxes().size(), 1); // the audit report is not available yet
}

void tst_mdiORMenu::statusPanels()
{
    auto *bar = m_window->findChild<QStatusBar *>(QStringLiteral("StbEr"));
    QVERIFY(bar);
    for (int i = 1; i <= 8; ++i) {
        auto *label = m_window->findChild<QLabel *>(QStringLiteral("StbEr(%1)").arg(i));
        QVERIFY2(label, qPrintable(QString::number(i)));
        QCOMPARE(label->parentWidget(), bar);
        QCOMPARE(label->text(), m_window->panelText(i));
    }
    QCOMPARE(m_window->panelText(1), QStringLiteral("USER'S INITIAL "));
    QCOMPARE(m_window->panelToolTip(1), QStringLiteral("USER'S INITIAL "));
    QCOMPARE(m_window->panelText(4), QStringLiteral("CAPS"));
    QCOMPARE(m_window->panelText(5), QStringLiteral("NUM"));
    QCOMPARE(m_window->panelText(8), QStringLiteral("Server Name"));
    QCOMPARE(m_window->panelToolTip(8), QStringLiteral("Server Name"));
    QVERIFY2(QRegularExpression(QStringLiteral("^(1[0-2]|[1-9]):[0-5][0-9] (AM|PM)$"))
                 .match(m_window->panelText(6))
                 .hasMatch(),
             qPrintable(m_window->panelText(6)));
    const QString today = QDate::currentDate().toString(QStringLiteral("MM/dd/yyyy"));
    QVERIFY2(m_window->panelText(7) == today ||
                 m_window->panelText(7) ==
                     QDate::currentDate().addDays(-1).toString(QStringLiteral("MM/dd/yyyy")),
             qPrintable(m_window->panelText(7)));

    m_window->setPanel(2, QStringLiteral("TMV"));
    m_window->setPanel(3, QStringLiteral("VILLANUEVA, TERESITA M."), QStringLiteral("the user"));
    m_window->setPanelToolTip(7, QStringLiteral("Tuesday, December 1, 2026"));
    QCOMPARE(m_window->panelText(2), QStringLiteral("TMV"));
    QCOMPARE(m_window->panelText(3), QStringLiteral("VILLANUEVA, TERESITA M."));
    QCOMPARE(m_window->panelToolTip(3), QStringLiteral("the user"));
    QCOMPARE(m_window->panelToolTip(7), QStringLiteral("Tuesday, December 1, 2026"));

    // Panels read from left to right in their order.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    int previous = -1;
    for (int i = 1; i <= 8; ++i) {
        const int x = m_window->control(QStringLiteral("StbEr(%1)").arg(i))->x();
        QVERIFY2(x > previous, qPrintable(QString::number(i)));
        previous = x;
    }
}

void tst_mdiORMenu::chargeSlipPanel()
{
    QCOMPARE(labelText(*m_window, "lblCS(0)"), QStringLiteral("Next Charge Slip #"));
    QWidget *picture = m_window->control(u"Picture2");
    QVERIFY(picture);
    QCOMPARE(m_window->control(u"lblCS(1)")->parentWidget(), picture);
    QCOMPARE(m_window->menuBar()->cornerWidget(Qt::TopRightCorner), picture);

    auto slip =
        m_db->db().scalar(u"select ChargeSlip from STATION..tbORChargeSlip where StationID = :s",
                          {{QStringLiteral("s"), QStringLiteral("OR")}});
    QVERIFY(slip);
    QEvent activate(QEvent::WindowActivate);
    QApplication::sendEvent(m_window.get(), &activate);
    QCOMPARE(labelText(*m_window, "lblCS(1)"), slip->toString());

    // Kept at the right edge, however wide the window.
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    for (int width : {900, 1280}) {
        m_window->resize(width, 600);
        QCoreApplication::processEvents();
        const int right = picture->mapTo(m_window.get(), QPoint(picture->width(), 0)).x();
        QVERIFY2(m_window->width() - right < 12,
                 qPrintable(QStringLiteral("%1 of %2").arg(right).arg(m_window->width())));
    }
}

void tst_mdiORMenu::alertButtons_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("form");

    QTest::newRow("cmdCommunication")
        << "cmdCommunication"
        << "There are available verified result(s) for printing! Click to view the results...."
        << "frmAutoPrint";
    QTest::newRow("cmdAdmissions") << "cmdAdmissions"
                                   << "There are available Patient(s) ready to be Discharge!"
                                   << "frmAdmittedPatients";
    QTest::newRow("cmdPanicLab") << "cmdPanicLab"
                                 << ""
                                 << "frmPanicValues";
    QTest::newRow("cmdRevokedRequests") << "cmdRevokedRequests"
                                        << ""
                                        << "frmRevokedRequests";
    QTest::newRow("cmdRequestSched") << "cmdRequestSched"
                                     << ""
                                     << "frmCommunicationSchedule";
}

void tst_mdiORMenu::alertButtons()
{
    QFETCH(QString, name);
    QFETCH(QString, text);
    QFETCH(QString, form);

    auto *button = qobject_cast<QPushButton *>(m_window->control(name));
    QVERIFY(button);
    if (!text.isEmpty())
        QCOMPARE(button->text(), text);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY2(!button->isVisible(), "alerts start hidden");
    m_window->setAlertVisible(name, true);
    QVERIFY(button->isVisible());

    const QHash<QString, void (mdiORMenu::*)()> signalOf{
        {QStringLiteral("cmdCommunication"), &mdiORMenu::communicationClicked},
        {QStringLiteral("cmdAdmissions"), &mdiORMenu::admissionsClicked},
        {QStringLiteral("cmdPanicLab"), &mdiORMenu::panicLabClicked},
        {QStringLiteral("cmdRevokedRequests"), &mdiORMenu::revokedRequestsClicked},
        {QStringLiteral("cmdRequestSched"), &mdiORMenu::requestSchedClicked},
    };
    QSignalSpy clicked(m_window.get(), signalOf.value(name));
    QSignalSpy windows(m_presenter.get(), &MainMenu::windowRequested);
    QTest::mouseClick(button, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), form);

    m_window->setAlertVisible(name, false);
    QVERIFY(!button->isVisible());
}

void tst_mdiORMenu::panicTextIsClickable()
{
    auto *text = qobject_cast<QLineEdit *>(m_window->control(u"txtPanic"));
    QVERIFY(text);
    QCOMPARE(text->text(), QStringLiteral("Panic Value Results"));
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QVERIFY(!text->isVisible());
    // It comes and goes with its button.
    m_window->setAlertVisible(u"cmdPanicLab", true);
    QVERIFY(text->isVisible());

    QSignalSpy clicked(m_window.get(), &mdiORMenu::panicLabClicked);
    QSignalSpy windows(m_presenter.get(), &MainMenu::windowRequested);
    QTest::mouseClick(text, Qt::LeftButton);
    QCOMPARE(clicked.size(), 1);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), QStringLiteral("frmPanicValues"));
}

void tst_mdiORMenu::windowNotAvailableIsTold_data()
{
    QTest::addColumn<QString>("menu");
    QTest::addColumn<QString>("message");
    QTest::newRow("schedule board") << "mnuSchedule"
                                    << "Schedule of Operations is not available yet.";
    QTest::newRow("a report") << "mnuAudit"
                              << "Audit Report is not available yet.";
    QTest::newRow("a modal window") << "mnuBuild"
                                    << "Build OR Rooms is not available yet.";
    QTest::newRow("patient list") << "mnuOpen"
                                  << "Patient List is not available yet.";
}

void tst_mdiORMenu::windowNotAvailableIsTold()
{
    QFETCH(QString, menu);
    QFETCH(QString, message);

    m_window->action(menu)->trigger();
    QCOMPARE(m_fixture->notifier.boxes().size(), 1);
    QCOMPARE(m_fixture->notifier.lastText(), message);
    QCOMPARE(m_fixture->notifier.boxes().at(0).title, QStringLiteral("Notification"));
    QCOMPARE(m_fixture->notifier.boxes().at(0).icon, Notifier::Icon::Information);
    QCOMPARE(m_window->workArea()->subWindowList().size(), 0);
}

void tst_mdiORMenu::registeredWindowIsOneSharedInstance()
{
    int made = 0;
    QList<QWidget *> handedBack;
    m_window->windows().add(QStringLiteral("frmSchedule"),
                            [&](const WindowRequest &request, QWidget *open) -> QWidget * {
                                handedBack << open;
                                if (open)
                                    return open;
                                ++made;
                                auto *board = new QWidget;
                                board->setWindowTitle(request.caption);
                                board->resize(500, 320);
                                return board;
                            });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));

    m_window->action(u"mnuSchedule")->trigger();
    m_window->action(u"mnuORSchedEntry")->trigger();
    QCOMPARE(made, 1);
    QCOMPARE(m_window->workArea()->subWindowList().size(), 1);
    QCOMPARE(handedBack.size(), 2);
    QCOMPARE(handedBack.at(0), nullptr);
    QVERIFY(handedBack.at(1) != nullptr);
    QMdiSubWindow *sub = m_window->workArea()->subWindowList().first();
    QCOMPARE(sub->windowTitle(), QStringLiteral("Schedule of Operations"));
    QCOMPARE(sub->widget()->size(), QSize(500, 320)); // opens at the size it was given
    QCOMPARE(m_fixture->notifier.boxes().size(), 0);

    // Closing the window unloads it: the next command makes a new one.
    sub->close();
    QTRY_COMPARE(m_window->workArea()->subWindowList().size(), 0);
    QTRY_VERIFY(!m_window->windows().openInstance(QStringLiteral("frmSchedule")));
    m_window->action(u"mnuSchedule")->trigger();
    QCOMPARE(made, 2);
    QCOMPARE(handedBack.last(), nullptr);

    // A factory that served the request without a window shows nothing.
    m_window->windows().add(QStringLiteral("frmSearch"),
                            [](const WindowRequest &, QWidget *) -> QWidget * { return nullptr; });
    m_window->action(u"mnuOpen")->setVisible(true);
    m_window->action(u"mnuOpen")->trigger();
    QCOMPARE(m_window->workArea()->subWindowList().size(), 1);
    QCOMPARE(m_fixture->notifier.boxes().size(), 0);
}

void tst_mdiORMenu::modalWindowIsShownModally()
{
    QPointer<QDialog> shown;
    bool wasModal = false;
    m_window->windows().add(QStringLiteral("frmBuildORRooms"),
                            [&](const WindowRequest &, QWidget *) -> QWidget * {
                                shown = new QDialog;
                                shown->setAttribute(Qt::WA_DeleteOnClose);
                                QTimer::singleShot(0, shown, [&] {
                                    wasModal = QApplication::activeModalWidget() == shown;
                                    shown->accept();
                                });
                                return shown;
                            });
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_window->action(u"mnuBuild")->trigger();
    QVERIFY(wasModal);
    QCOMPARE(m_window->workArea()->subWindowList().size(), 0);
}

void tst_mdiORMenu::windowListFollowsTheOpenWindows()
{
    for (const char *form : {"frmSchedule", "frmInfo"}) {
        m_window->windows().add(QString::fromLatin1(form),
                                [](const WindowRequest &r, QWidget *open) -> QWidget * {
                                    if (open)
                                        return open;
                                    auto *w = new QWidget;
                                    w->setWindowTitle(r.caption);
                                    return w;
                                });
    }
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    m_presenter->setPatientCommandsEnabled(true);
    m_window->action(u"mnuSchedule")->trigger();
    m_window->action(u"mnuInfo")->trigger();

    QMenu *windowMenu = m_window->menu(u"mnuWindow");
    auto listed = [&] {
        QStringList titles;
        const QList<QAction *> items = windowMenu->actions();
        for (qsizetype i = items.indexOf(m_window->action(u"mnuWindowBar0")) + 1; i < items.size();
             ++i)
            titles << items.at(i)->text();
        return titles;
    };
    for (int shown = 0; shown < 2; ++shown) { // listing twice lists each window once
        Q_EMIT windowMenu->aboutToShow();
        QCOMPARE(listed(), (QStringList{"&1 Schedule of Operations", "&2 Personal Info"}));
    }
    const QList<QAction *> items = windowMenu->actions();
    QAction *first = items.at(items.size() - 2);
    QVERIFY(!first->isChecked());
    QVERIFY(items.last()->isChecked());
    first->trigger();
    QCOMPARE(m_window->workArea()->activeSubWindow()->windowTitle(),
             QStringLiteral("Schedule of Operations"));
}

void tst_mdiORMenu::menuStateFollowsThePresenter()
{
    for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
        QVERIFY(!m_window->action(QString::fromLatin1(name))->isEnabled());
    m_presenter->setPatientCommandsEnabled(true);
    for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
        QVERIFY(m_window->action(QString::fromLatin1(name))->isEnabled());

    m_presenter->setCVORCaption(QStringLiteral("Untag as CVOR/RR Patient"));
    QCOMPARE(m_window->action(u"mnuCVOR")->text(), QStringLiteral("Untag as CVOR/RR Patient"));

    m_window->setMenuVisible(QStringLiteral("mnuORCases"), true);
    QVERIFY(m_window->action(u"mnuORCases")->isVisible());
    QCOMPARE(m_presenter->menuState(QStringLiteral("mnuORCases")).visible,
             std::optional<bool>(true));

    // Receivables turn the patient commands off again.
    m_presenter->mnuRecvbles();
    for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
        QVERIFY(!m_window->action(QString::fromLatin1(name))->isEnabled());

    // A window built after the presenter changed shows the presenter's state.
    mdiORMenu late(*m_presenter);
    QCOMPARE(late.action(u"mnuCVOR")->text(), QStringLiteral("Untag as CVOR/RR Patient"));
    QVERIFY(late.action(u"mnuORCases")->isVisible());
    QVERIFY(!late.action(u"mnuInfo")->isEnabled());
}

void tst_mdiORMenu::startupMenusOfAHospital()
{
    HospitalSettings hs;
    hs.clientname = QStringLiteral("DOXAT");
    const clsSettings defaults;
    m_presenter->setMenusVisible(StartupMenuVisibility(hs, defaults));

    QVERIFY(m_window->action(u"mnuORCensus")->isVisible());
    QVERIFY(!m_window->action(u"mnuCensusOrig")->isVisible());
    QVERIFY(m_window->action(u"mnuDetailed")->isVisible());
    QVERIFY(!m_window->action(u"mnuDetailedGUVO")->isVisible());
    QVERIFY(!m_window->action(u"mnuMarkUp")->isVisible());
    QVERIFY(!m_window->action(u"mnuStocksMonitoring")->isVisible());
    // Menus that start-up leaves alone keep the state they were built with.
    QVERIFY(m_window->action(u"mnuAudit")->isVisible());
    QVERIFY(!m_window->action(u"mnuPriceList")->isVisible());
}

void tst_mdiORMenu::closingAsksTheExitQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("No keeps the program running") << false;
    QTest::newRow("Yes ends it") << true;
}

void tst_mdiORMenu::closingAsksTheExitQuestion()
{
    QFETCH(bool, yes);

    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QSignalSpy exits(m_presenter.get(), &MainMenu::exitRequested);
    m_fixture->notifier.answer({yes});
    QCOMPARE(m_window->close(), yes);
    QCOMPARE(m_window->isVisible(), !yes);
    QCOMPARE(exits.size(), yes ? 1 : 0);
    QCOMPARE(m_fixture->notifier.boxes().size(), 1);
    QCOMPARE(m_fixture->notifier.lastText(),
             QStringLiteral("Are you sure you want to close Kestrel?"));
}

void tst_mdiORMenu::exitCommandClosesWithoutAskingTwice()
{
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QSignalSpy exits(m_presenter.get(), &MainMenu::exitRequested);
    m_fixture->notifier.answer({false, true});

    m_window->action(u"mnuExitApps")->trigger();
    QVERIFY(m_window->isVisible());
    m_window->toolbarButton(u"Exit")->trigger();
    QVERIFY(!m_window->isVisible());
    QCOMPARE(exits.size(), 1);
    QCOMPARE(m_fixture->notifier.boxes().size(), 2);
}

void tst_mdiORMenu::activeChildKeptInsideTheWorkArea()
{
    m_window->resize(1000, 700);
    m_window->show();
    QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    QWidget *viewport = m_window->workArea()->viewport();

    auto *small = m_window->workArea()->addSubWindow(new QWidget);
    small->setGeometry(40, 30, 200, 150);
    small->show();
    auto *large = m_window->workArea()->addSubWindow(new QWidget);
    large->setGeometry(60, 50, 700, 500);
    large->show();
    m_window->workArea()->setActiveSubWindow(large);

    // The work area shrinks to 500 x 400 pixels at the viewport's corner.
    const QRect available(viewport->mapToGlobal(QPoint(0, 0)), QSize(500, 400));
    m_window->keepActiveChildInWorkArea(available);
    QCOMPARE(large->geometry(), QRect(0, 0, 500, 400));
    QCOMPARE(small->geometry(), QRect(40, 30, 200, 150)); // not the active one

    m_window->workArea()->setActiveSubWindow(small);
    m_window->keepActiveChildInWorkArea(available);
    QCOMPARE(small->geometry(), QRect(40, 30, 200, 150)); // fits already
}

void tst_mdiORMenu::background()
{
    QVERIFY(!m_window->loadBackground(QStringLiteral("/nonexistent/Main Menu1.jpg")));
    QTemporaryDir dir;
    QPixmap picture(64, 48);
    picture.fill(Qt::darkCyan);
    const QString file = dir.filePath(QStringLiteral("Main Menu1.png"));
    QVERIFY(picture.save(file));
    QVERIFY(m_window->loadBackground(file));
    // The picture is fitted to the work area rather than repeated across it.
    const QImage shown = m_window->workArea()->background().texture().toImage();
    QCOMPARE(shown.size(), m_window->workArea()->viewport()->size());
    QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::darkCyan));
}

QTEST_MAIN(tst_mdiORMenu)
#include "tst_mdiormenu.moc"
