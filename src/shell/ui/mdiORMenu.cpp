// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/mdiORMenu.h"

#include "core/Notifier.h"
#include "core/Session.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPixmap>
#include <QPushButton>
#include <QResizeEvent>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QTime>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QWindow>

#include <array>

namespace kestrel {

namespace {

enum class Kind { Command, Submenu, Separator };

// The menu bar as the hospital lays it out: parent, name, caption, first state, in menu order.
struct MenuRow
{
    QStringView parent;
    QStringView name;
    QStringView caption;
    Kind kind = Kind::Command;
    bool hidden = false;
    bool disabled = false;
};

constexpr Kind kSub = Kind::Submenu;
constexpr Kind kCmd = Kind::Command;
constexpr bool kHidden = true;
constexpr bool kDisabled = true;

// clang-format off
constexpr std::array kMenuBar{
    MenuRow{{}, u"mnuFile", u"&File", kSub},
    MenuRow{u"mnuFile", u"mnuOpen", u"&Open", kCmd, kHidden},
    MenuRow{u"mnuFile", u"mnuBuild", u"Build OR Rooms"},
    MenuRow{u"mnuFile", u"mnuChargeSlip", u"Charge Slip Setting", kCmd, kHidden},
    MenuRow{u"mnuFile", u"mnuMarkUp", u"Mark Up Settings"},
    MenuRow{u"mnuFile", u"mnuTagProcedures", u"Tag Procedures"},
    MenuRow{u"mnuFile", u"mnuUserLogs", u"User Logs"},
    MenuRow{u"mnuFile", u"mnuUser", u"User Settings"},

    MenuRow{{}, u"mnuReports", u"R&eports", kSub},
    MenuRow{u"mnuReports", u"mnuCVORCensus", u"CVOR Census Report", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuEquipment", u"Equipment Charges (EQ)"},
    MenuRow{u"mnuReports", u"mnuDetailed", u"Income Report (Detailed)"},
    MenuRow{u"mnuReports", u"mnuSummary", u"Income Report (Summary)"},
    MenuRow{u"mnuReports", u"mnuDetailedGUVO", u"Income Report (Detailed)", kSub},
    MenuRow{u"mnuDetailedGUVO", u"mnuProcedureCount", u"New Format"},
    MenuRow{u"mnuDetailedGUVO", u"mnuOldFormatIncomeDetailed", u"Old Format"},
    MenuRow{u"mnuReports", u"mnuSummaryGUVO", u"Income Report (Summary)", kSub},
    MenuRow{u"mnuSummaryGUVO", u"mnuGUVOIncomeReport", u"New Format"},
    MenuRow{u"mnuSummaryGUVO", u"mnuOldFormatIncomeSummary", u"Old Format"},
    MenuRow{u"mnuReports", u"mnuPriceList", u"Price List", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuMedsSummary", u"Post Charged Meds Summary"},
    MenuRow{u"mnuReports", u"mnuPxOperation", u"Patients with Operation (Post Charges)", kSub},
    MenuRow{u"mnuPxOperation", u"mnuPerDate", u"Group by Date"},
    MenuRow{u"mnuPxOperation", u"mnuPerDoctor", u"Group by Doctor"},
    MenuRow{u"mnuPxOperation", u"mnuPerPatient", u"Group by Patient Type (PHIC/Non-PHIC)"},
    MenuRow{u"mnuPxOperation", u"mnuPerProcedure", u"Group by Procedure"},
    MenuRow{u"mnuReports", u"mnuLedger", u"Patient's Ledger", kCmd, false, kDisabled},
    MenuRow{u"mnuReports", u"mnuPxCSSR", u"Patient's CSSR Ledger"},
    MenuRow{u"mnuReports", u"mnuAudit", u"Audit Report"},
    MenuRow{u"mnuReports", u"mnuCensusOrig", u"Monthly Census Report"},
    MenuRow{u"mnuReports", u"mnuORCensus", u"Census Report", kSub},
    MenuRow{u"mnuORCensus", u"mnuCensusHMO", u"HMO Patients", kSub},
    MenuRow{u"mnuCensusHMO", u"mnuCensusDetailed", u"Detailed"},
    MenuRow{u"mnuCensusHMO", u"mnuCensusSummary", u"Summary"},
    MenuRow{u"mnuORCensus", u"mnuCensusAll", u"All Patients", kSub},
    MenuRow{u"mnuCensusAll", u"mnuCensusAllDetailed", u"Detailed"},
    MenuRow{u"mnuCensusAll", u"mnuCensusAllSummary", u"Summary"},
    MenuRow{u"mnuReports", u"mnuMonthly", u"Monthly Report"},
    MenuRow{u"mnuReports", u"mnuCSFTemplate", u"PhilHealth CSF Template", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuPhilhealth", u"PhilHealth LogBook", kCmd, kHidden, kDisabled},
    MenuRow{u"mnuReports", u"mnuScheduleofoperations", u"Schedule of Operations"},
    MenuRow{u"mnuReports", u"mnuORMandatory", u"OR Mandatory Report", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuORReport", u"OR Report"},
    MenuRow{u"mnuReports", u"mnuORLogbook", u"OR Logbook"},
    MenuRow{u"mnuReports", u"mnuORCases", u"OR Room Cases", kSub, kHidden},
    MenuRow{u"mnuORCases", u"mnuMonthlyORRoomCases", u"Monthly"},
    MenuRow{u"mnuORCases", u"mnuYearlyORRoomCases", u"Yearly"},
    MenuRow{u"mnuReports", u"mnuTopCases", u"OR Top Cases", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuNSD", u"NSD LogBook", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuDOH", u"DOH LogbBook ", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuStat", u"Statistical Report"},
    MenuRow{u"mnuReports", u"mnuAdmCensus", u"Admission Census", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuCash", u"Cash Basis", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuTimeNMotion", u"Time and Motion (OR-DR)", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuYearlyIncome", u"Yearly Income Report (OR-DR)", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuAMPickUp", u"List of Lab AM Pick-UP", kCmd, kHidden},
    MenuRow{u"mnuReports", u"mnuStocksMonitoring", u"Stocks Monitoring"},
    MenuRow{u"mnuReports", u"mnuProcCatRep", u"Procedure By Category Report"},

    MenuRow{{}, u"mnuAssessment", u"&Assessment Entry", kCmd, kHidden, kDisabled},

    MenuRow{{}, u"mnuInquiry", u"&Inquiry", kSub},
    MenuRow{u"mnuInquiry", u"mnuSpecialTreatment", u"Consent for Special Treatment", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuSterilizationConsent", u"Consent for Sterilization Procedure",
            kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuSurgicalTreatment", u"Consent for Surgical Treatment", kCmd,
            kHidden},
    MenuRow{u"mnuInquiry", u"mnuConsentTreatment", u"Consent for Treatment", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuFluid", u"Fluid Intake and Output", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuHourlyMonitoring", u"Hourly Monitoring Sheet", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuLabChemistry", u"Laboratory Chemistry Result", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuLabHematology", u"Laboratory Hematology Result", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuLabImmunoSerology", u"Laboratory Immuno/Serology Result", kCmd,
            kHidden},
    MenuRow{u"mnuInquiry", u"mnuLabMicrobiology", u"Laboratory Microbiology Result", kCmd,
            kHidden},
    MenuRow{u"mnuInquiry", u"mnuLabMicroscopic", u"Laboratory Microscopic Result", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuLRForm", u"Labor Room Form", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuMSSReferral", u"MSS Referral", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuORSchedEntry", u"New OR Schedule"},
    MenuRow{u"mnuInquiry", u"mnuPreOp", u"Nurse Pre-operative Checklist", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuOperativeTechnique", u"Operative Technique", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuDischargeNoticeStatus", u"Patient Discharge Notice Status"},
    MenuRow{u"mnuInquiry", u"mnuPDS", u"Patient Data Sheet"},
    MenuRow{u"mnuInquiry", u"mnuInfo", u"Personal Info", kCmd, false, kDisabled},
    MenuRow{u"mnuInquiry", u"mnuCF4", u"PhilHealth CF4 Entry", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuCSF", u"PhilHealth CSF", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuPreAnesFirst", u"Pre-Anesthetic Evaluation (First Page)", kCmd,
            kHidden},
    MenuRow{u"mnuInquiry", u"mnuReprintLab", u"Reprint Laboratory Request Form", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuRS", u"Request Status", kCmd, false, kDisabled},
    MenuRow{u"mnuInquiry", u"mnuResultDischarge", u"Result Entry (Discharge Entry)"},
    MenuRow{u"mnuInquiry", u"mnuCountingSheet", u"Sponge, Intrument and Needle Counting Sheet",
            kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuSSC", u"Surgical Safety Checklist", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuCVOR", u"Tag as CVOR/RR Patient", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuSOA", u"View Statement of Account", kCmd, kHidden},
    MenuRow{u"mnuInquiry", u"mnuWHOSurgicalSafety", u"WHO Surgical Safety Checklist", kCmd,
            kHidden},

    MenuRow{{}, u"mnuSchedule", u"Operation &Schedule "},
    MenuRow{{}, u"mnuRecvbles", u"&Receivable Update"},
    MenuRow{{}, u"mnuWindow", u"&Window", kSub},
    MenuRow{u"mnuWindow", u"mnuWindowBar0", {}, Kind::Separator},
    MenuRow{{}, u"mnuListDischargeNotice", u"&List Discharge Notices"},
    MenuRow{{}, u"mnuBuildFile", u"&Build OR Package", kCmd, kHidden, kDisabled},
    MenuRow{{}, u"mnuOperationFn", u"&Operation Functions", kSub, kHidden},
    MenuRow{u"mnuOperationFn", u"mnuConfirm", u"Confirm"},
    MenuRow{u"mnuOperationFn", u"mnuRevoke", u"Revoke"},
    MenuRow{{}, u"mnuExit", u"&Exit", kSub},
    MenuRow{u"mnuExit", u"mnuExitApps", u"Exit Application"},
};
// clang-format on

using Slot = void (MainMenu::*)();

struct Binding
{
    QStringView name;
    Slot slot;
};

// Every menu command that does something. "NSD LogBook", "MSS Referral", "Result Entry
// (Discharge Entry)", "Build OR Package", "Confirm" and "Revoke" do nothing at this station.
constexpr std::array kBindings{
    Binding{u"mnuOpen", &MainMenu::mnuOpen},
    Binding{u"mnuBuild", &MainMenu::mnuBuild},
    Binding{u"mnuChargeSlip", &MainMenu::mnuChargeSlip},
    Binding{u"mnuMarkUp", &MainMenu::mnuMarkUp},
    Binding{u"mnuTagProcedures", &MainMenu::mnuTagProcedures},
    Binding{u"mnuUserLogs", &MainMenu::mnuUserLogs},
    Binding{u"mnuUser", &MainMenu::mnuUser},
    Binding{u"mnuCVORCensus", &MainMenu::mnuCVORCensus},
    Binding{u"mnuEquipment", &MainMenu::mnuEquipment},
    Binding{u"mnuDetailed", &MainMenu::mnuDetailed},
    Binding{u"mnuSummary", &MainMenu::mnuSummary},
    Binding{u"mnuProcedureCount", &MainMenu::mnuProcedureCount},
    Binding{u"mnuOldFormatIncomeDetailed", &MainMenu::mnuOldFormatIncomeDetailed},
    Binding{u"mnuGUVOIncomeReport", &MainMenu::mnuGUVOIncomeReport},
    Binding{u"mnuOldFormatIncomeSummary", &MainMenu::mnuOldFormatIncomeSummary},
    Binding{u"mnuPriceList", &MainMenu::mnuPriceList},
    Binding{u"mnuMedsSummary", &MainMenu::mnuMedsSummary},
    Binding{u"mnuPerDate", &MainMenu::mnuPerDate},
    Binding{u"mnuPerDoctor", &MainMenu::mnuPerDoctor},
    Binding{u"mnuPerPatient", &MainMenu::mnuPerPatient},
    Binding{u"mnuPerProcedure", &MainMenu::mnuPerProcedure},
    Binding{u"mnuLedger", &MainMenu::mnuLedger},
    Binding{u"mnuPxCSSR", &MainMenu::mnuPxCSSR},
    Binding{u"mnuAudit", &MainMenu::mnuAudit},
    Binding{u"mnuCensusOrig", &MainMenu::mnuCensusOrig},
    Binding{u"mnuCensusDetailed", &MainMenu::mnuCensusDetailed},
    Binding{u"mnuCensusSummary", &MainMenu::mnuCensusSummary},
    Binding{u"mnuCensusAllDetailed", &MainMenu::mnuCensusAllDetailed},
    Binding{u"mnuCensusAllSummary", &MainMenu::mnuCensusAllSummary},
    Binding{u"mnuMonthly", &MainMenu::mnuMonthly},
    Binding{u"mnuCSFTemplate", &MainMenu::mnuCSFTemplate},
    Binding{u"mnuPhilhealth", &MainMenu::mnuPhilhealth},
    Binding{u"mnuScheduleofoperations", &MainMenu::mnuScheduleofoperations},
    Binding{u"mnuORMandatory", &MainMenu::mnuORMandatory},
    Binding{u"mnuORReport", &MainMenu::mnuORReport},
    Binding{u"mnuORLogbook", &MainMenu::mnuORLogbook},
    Binding{u"mnuMonthlyORRoomCases", &MainMenu::mnuMonthlyORRoomCases},
    Binding{u"mnuYearlyORRoomCases", &MainMenu::mnuYearlyORRoomCases},
    Binding{u"mnuTopCases", &MainMenu::mnuTopCases},
    Binding{u"mnuDOH", &MainMenu::mnuDOH},
    Binding{u"mnuStat", &MainMenu::mnuStat},
    Binding{u"mnuAdmCensus", &MainMenu::mnuAdmCensus},
    Binding{u"mnuCash", &MainMenu::mnuCash},
    Binding{u"mnuTimeNMotion", &MainMenu::mnuTimeNMotion},
    Binding{u"mnuYearlyIncome", &MainMenu::mnuYearlyIncome},
    Binding{u"mnuAMPickUp", &MainMenu::mnuAMPickUp},
    Binding{u"mnuStocksMonitoring", &MainMenu::mnuStocksMonitoring},
    Binding{u"mnuProcCatRep", &MainMenu::mnuProcCatRep},
    Binding{u"mnuAssessment", &MainMenu::mnuAssessment},
    Binding{u"mnuSpecialTreatment", &MainMenu::mnuSpecialTreatment},
    Binding{u"mnuSterilizationConsent", &MainMenu::mnuSterilizationConsent},
    Binding{u"mnuSurgicalTreatment", &MainMenu::mnuSurgicalTreatment},
    Binding{u"mnuConsentTreatment", &MainMenu::mnuConsentTreatment},
    Binding{u"mnuFluid", &MainMenu::mnuFluid},
    Binding{u"mnuHourlyMonitoring", &MainMenu::mnuHourlyMonitoring},
    Binding{u"mnuLabChemistry", &MainMenu::mnuLabChemistry},
    Binding{u"mnuLabHematology", &MainMenu::mnuLabHematology},
    Binding{u"mnuLabImmunoSerology", &MainMenu::mnuLabImmunoSerology},
    Binding{u"mnuLabMicrobiology", &MainMenu::mnuLabMicrobiology},
    Binding{u"mnuLabMicroscopic", &MainMenu::mnuLabMicroscopic},
    Binding{u"mnuLRForm", &MainMenu::mnuLRForm},
    Binding{u"mnuORSchedEntry", &MainMenu::mnuORSchedEntry},
    Binding{u"mnuPreOp", &MainMenu::mnuPreOp},
    Binding{u"mnuOperativeTechnique", &MainMenu::mnuOperativeTechnique},
    Binding{u"mnuDischargeNoticeStatus", &MainMenu::mnuDischargeNoticeStatus},
    Binding{u"mnuPDS", &MainMenu::mnuPDS},
    Binding{u"mnuInfo", &MainMenu::mnuInfo},
    Binding{u"mnuCF4", &MainMenu::mnuCF4},
    Binding{u"mnuCSF", &MainMenu::mnuCSF},
    Binding{u"mnuPreAnesFirst", &MainMenu::mnuPreAnesFirst},
    Binding{u"mnuReprintLab", &MainMenu::mnuReprintLab},
    Binding{u"mnuRS", &MainMenu::mnuRS},
    Binding{u"mnuCountingSheet", &MainMenu::mnuCountingSheet},
    Binding{u"mnuSSC", &MainMenu::mnuSSC},
    Binding{u"mnuCVOR", &MainMenu::mnuCVOR},
    Binding{u"mnuSOA", &MainMenu::mnuSOA},
    Binding{u"mnuWHOSurgicalSafety", &MainMenu::mnuWHOSurgicalSafety},
    Binding{u"mnuSchedule", &MainMenu::mnuSchedule},
    Binding{u"mnuRecvbles", &MainMenu::mnuRecvbles},
    Binding{u"mnuListDischargeNotice", &MainMenu::mnuListDischargeNotice},
    Binding{u"mnuExitApps", &MainMenu::mnuExitApps},
};

// Toolbar1: key, caption, tooltip, picture.
struct ButtonRow
{
    QStringView key;
    QStringView caption;
    QStringView toolTip;
    QStyle::StandardPixmap picture;
};

constexpr std::array kToolbar{
    ButtonRow{u"Open", u"Open", u"Patient List", QStyle::SP_DirOpenIcon},
    ButtonRow{u"Report", u"Report", u"View Reports", QStyle::SP_FileDialogDetailedView},
    ButtonRow{u"Operation", u"Operation", u"Clinical Operation", QStyle::SP_FileDialogInfoView},
    ButtonRow{u"Build", u"Build", u"Build OR Packages", QStyle::SP_FileDialogNewFolder},
    ButtonRow{u"RUV", u"RUV", u"RUV List", QStyle::SP_FileDialogListView},
    ButtonRow{u"Exit", u"Exit", u"Exit Application", QStyle::SP_DialogCloseButton},
};

// The "Report" button's drop-down: key and text.
constexpr std::array<std::pair<QStringView, QStringView>, 5> kReportMenu{{
    {u"Audit", u"Audit Report"},
    {u"Month", u"Monthly Report"},
    {u"Statistics", u"Statistical Report"},
    {u"Stockcard", u"OR Stockcard"},
    {u"Exit", u"Exit Application"},
}};

constexpr int kPanelCount = 8;

QString statusPanelName(int index)
{
    return QStringLiteral("StbEr(%1)").arg(index);
}

} // namespace

mdiORMenu::mdiORMenu(MainMenu &presenter, QWidget *parent)
    : QMainWindow(parent)
    , m_presenter(presenter)
{
    buildUi();
    bind();
}

mdiORMenu::~mdiORMenu() = default;

void mdiORMenu::buildUi()
{
    setObjectName(QStringLiteral("mdiORMenu"));
    m_workArea = new QMdiArea(this);
    m_workArea->setObjectName(QStringLiteral("workArea"));
    m_workArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_workArea);

    buildMenus();
    buildToolbar();
    buildAlerts();
    buildStatusBar();
    buildChargeSlipPanel();
    resize(1024, 720);
}

void mdiORMenu::buildMenus()
{
    QMenuBar *bar = menuBar();
    bar->setObjectName(QStringLiteral("menuBar"));
    for (const MenuRow &row : kMenuBar) {
        const QString name = row.name.toString();
        QMenu *parentMenu = row.parent.isEmpty() ? nullptr : m_menus.value(row.parent.toString());
        QAction *action = nullptr;
        switch (row.kind) {
        case Kind::Submenu: {
            auto *menu =
                new QMenu(row.caption.toString(), parentMenu ? static_cast<QWidget *>(parentMenu)
                                                             : static_cast<QWidget *>(bar));
            menu->setObjectName(name);
            m_menus.insert(name, menu);
            action = menu->menuAction();
            if (parentMenu)
                parentMenu->addMenu(menu);
            else
                bar->addMenu(menu);
            break;
        }
        case Kind::Separator:
            action = parentMenu->addSeparator();
            break;
        case Kind::Command:
            action = new QAction(row.caption.toString(), this);
            if (parentMenu)
                parentMenu->addAction(action);
            else
                bar->addAction(action);
            break;
        }
        action->setObjectName(name);
        action->setVisible(!row.hidden);
        action->setEnabled(!row.disabled);
        m_actions.insert(name, action);
    }
}

void mdiORMenu::buildToolbar()
{
    m_toolbar = addToolBar(QString());
    m_toolbar->setObjectName(QStringLiteral("Toolbar1"));
    m_toolbar->setMovable(false);
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    for (const ButtonRow &row : kToolbar) {
        auto *button =
            new QAction(style()->standardIcon(row.picture), row.caption.toString(), this);
        button->setObjectName(row.key.toString());
        button->setToolTip(row.toolTip.toString());
        button->setData(row.key.toString());
        m_toolbar->addAction(button);
        m_buttons.insert(row.key.toString(), button);
    }

    auto *reports = new QMenu(this);
    reports->setObjectName(QStringLiteral("Toolbar1.Report"));
    for (const auto &[key, text] : kReportMenu) {
        QAction *item = reports->addAction(text.toString());
        item->setObjectName(key.toString());
        item->setData(key.toString());
    }
    QAction *reportButton = m_buttons.value(QStringLiteral("Report"));
    reportButton->setMenu(reports);
    // The button only drops its menu down; it has no command of its own.
    if (auto *tool = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(reportButton)))
        tool->setPopupMode(QToolButton::InstantPopup);
}

void mdiORMenu::buildAlerts()
{
    // The alert buttons sit at the right end of the toolbar, hidden until a monitor shows them.
    auto *spacer = new QWidget(m_toolbar);
    spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    m_toolbar->addWidget(spacer);

    auto *strip = new QWidget(m_toolbar);
    strip->setObjectName(QStringLiteral("alerts"));
    auto *layout = new QHBoxLayout(strip);
    layout->setContentsMargins(0, 0, 0, 0);

    auto addButton = [&](const char *name, const QString &text, QStyle::StandardPixmap picture) {
        auto *button = new QPushButton(style()->standardIcon(picture), text, strip);
        button->setObjectName(QString::fromLatin1(name));
        button->setVisible(false);
        layout->addWidget(button);
        m_controls.insert(button->objectName(), button);
        return button;
    };
    addButton("cmdRequestSched", QStringLiteral("There are pending Request(s) for Operation!"),
              QStyle::SP_MessageBoxInformation);
    addButton("cmdAdmissions",
              QStringLiteral("There are available Patient(s) ready to be Discharge!"),
              QStyle::SP_MessageBoxInformation);
    addButton("cmdCommunication",
              QStringLiteral("There are available verified result(s) for printing! Click to view "
                             "the results...."),
              QStyle::SP_MessageBoxInformation);
    addButton("cmdRevokedRequests", QStringLiteral("There are Revoked Request(s)!"),
              QStyle::SP_MessageBoxWarning);
    QPushButton *panic = addButton("cmdPanicLab", QString(), QStyle::SP_MessageBoxCritical);
    panic->setToolTip(QStringLiteral("Panic Value Results"));

    auto *txtPanic = new QLineEdit(QStringLiteral("Panic Value Results"), strip);
    txtPanic->setObjectName(QStringLiteral("txtPanic"));
    txtPanic->setReadOnly(true);
    txtPanic->setFocusPolicy(Qt::NoFocus);
    txtPanic->setCursor(Qt::PointingHandCursor);
    txtPanic->setVisible(false);
    txtPanic->installEventFilter(this);
    layout->addWidget(txtPanic);
    m_controls.insert(txtPanic->objectName(), txtPanic);

    m_toolbar->addWidget(strip);
}

void mdiORMenu::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StbEr"));
    bar->setSizeGripEnabled(true);
    const std::array<int, kPanelCount> widths{110, 60, 220, 50, 50, 80, 90, 200};
    for (int i = 1; i <= kPanelCount; ++i) {
        auto *label = new QLabel(bar);
        label->setObjectName(statusPanelName(i));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        label->setMinimumWidth(widths[std::size_t(i - 1)]);
        // The employee's name takes what room is left.
        bar->addPermanentWidget(label, i == 3 ? 1 : 0);
        m_panels.append(label);
        m_controls.insert(label->objectName(), label);
    }
    setPanel(1, QStringLiteral("USER'S INITIAL "), QStringLiteral("USER'S INITIAL "));
    setPanel(4, QStringLiteral("CAPS"));
    setPanel(5, QStringLiteral("NUM"));
    setPanel(8, QStringLiteral("Server Name"), QStringLiteral("Server Name"));

    m_clock = new QTimer(this);
    m_clock->setObjectName(QStringLiteral("clock"));
    m_clock->setInterval(1000);
    connect(m_clock, &QTimer::timeout, this, &mdiORMenu::tick);
    m_clock->start();
    tick();
}

void mdiORMenu::buildChargeSlipPanel()
{
    auto *picture = new QWidget(menuBar());
    picture->setObjectName(QStringLiteral("Picture2"));
    auto *layout = new QHBoxLayout(picture);
    layout->setContentsMargins(6, 0, 6, 0);
    auto *caption = new QLabel(QStringLiteral("Next Charge Slip #"), picture);
    caption->setObjectName(QStringLiteral("lblCS(0)"));
    auto *value = new QLabel(picture);
    value->setObjectName(QStringLiteral("lblCS(1)"));
    QFont bold = value->font();
    bold.setBold(true);
    value->setFont(bold);
    value->setMinimumWidth(80);
    layout->addWidget(caption);
    layout->addWidget(value);
    // In the menu bar's corner the panel stays at the right edge whatever the window's width.
    menuBar()->setCornerWidget(picture, Qt::TopRightCorner);
    m_controls.insert(picture->objectName(), picture);
    m_controls.insert(caption->objectName(), caption);
    m_controls.insert(value->objectName(), value);
}

void mdiORMenu::bind()
{
    for (const Binding &b : kBindings) {
        if (QAction *a = m_actions.value(b.name.toString()))
            connect(a, &QAction::triggered, &m_presenter, b.slot);
    }
    for (QAction *button : std::as_const(m_buttons)) {
        connect(button, &QAction::triggered, this,
                [this, button] { m_presenter.toolbarButtonClicked(button->data().toString()); });
    }
    if (QMenu *reports = m_buttons.value(QStringLiteral("Report"))->menu()) {
        connect(reports, &QMenu::triggered, this,
                [this](QAction *item) { m_presenter.reportMenuClicked(item->data().toString()); });
    }

    // The monitors hear of a click first, then the window opens.
    auto bindAlert = [this](const char *name, void (mdiORMenu::*clicked)(), Slot open) {
        auto *button = qobject_cast<QPushButton *>(m_controls.value(QString::fromLatin1(name)));
        connect(button, &QPushButton::clicked, this, clicked);
        connect(button, &QPushButton::clicked, &m_presenter, open);
    };
    bindAlert("cmdCommunication", &mdiORMenu::communicationClicked, &MainMenu::cmdCommunication);
    bindAlert("cmdPanicLab", &mdiORMenu::panicLabClicked, &MainMenu::cmdPanicLab);
    bindAlert("cmdRevokedRequests", &mdiORMenu::revokedRequestsClicked,
              &MainMenu::cmdRevokedRequests);
    bindAlert("cmdAdmissions", &mdiORMenu::admissionsClicked, &MainMenu::cmdAdmissions);
    bindAlert("cmdRequestSched", &mdiORMenu::requestSchedClicked, &MainMenu::cmdRequestSched);

    connect(m_menus.value(QStringLiteral("mnuWindow")), &QMenu::aboutToShow, this,
            &mdiORMenu::refreshWindowList);

    connect(&m_presenter, &MainMenu::windowRequested, this, &mdiORMenu::showWindow);
    connect(&m_presenter, &MainMenu::menuChanged, this, &mdiORMenu::applyMenuState);
    connect(&m_presenter, &MainMenu::nextChargeSlipChanged, this, [this](const QString &text) {
        static_cast<QLabel *>(m_controls.value(QStringLiteral("lblCS(1)")))->setText(text);
    });
    connect(&m_presenter, &MainMenu::exitRequested, this, [this] {
        m_exitConfirmed = true;
        if (!m_inCloseEvent)
            close();
    });

    for (const QString &name : m_presenter.changedMenus())
        applyMenuState(name);
    static_cast<QLabel *>(m_controls.value(QStringLiteral("lblCS(1)")))
        ->setText(m_presenter.nextChargeSlip());
}

void mdiORMenu::applyMenuState(const QString &name)
{
    QAction *a = m_actions.value(name);
    if (!a) {
        qWarning("mdiORMenu: no menu named %s", qPrintable(name));
        return;
    }
    const MenuState state = m_presenter.menuState(name);
    if (state.visible)
        a->setVisible(*state.visible);
    if (state.enabled)
        a->setEnabled(*state.enabled);
    if (state.caption)
        a->setText(*state.caption);
}

QAction *mdiORMenu::action(QStringView name) const
{
    return m_actions.value(name.toString());
}

QMenu *mdiORMenu::menu(QStringView name) const
{
    return m_menus.value(name.toString());
}

QAction *mdiORMenu::toolbarButton(QStringView key) const
{
    return m_buttons.value(key.toString());
}

QWidget *mdiORMenu::control(QStringView name) const
{
    return m_controls.value(name.toString());
}

QLabel *mdiORMenu::panel(int index) const
{
    Q_ASSERT_X(index >= 1 && index <= kPanelCount, "mdiORMenu", "status panels are 1 to 8");
    if (index < 1 || index > kPanelCount)
        return nullptr;
    return m_panels.at(index - 1);
}

void mdiORMenu::setPanel(int index, const QString &text, const QString &toolTip)
{
    if (QLabel *label = panel(index)) {
        label->setText(text);
        label->setToolTip(toolTip);
    }
}

void mdiORMenu::setPanelToolTip(int index, const QString &toolTip)
{
    if (QLabel *label = panel(index))
        label->setToolTip(toolTip);
}

QString mdiORMenu::panelText(int index) const
{
    const QLabel *label = panel(index);
    return label ? label->text() : QString();
}

QString mdiORMenu::panelToolTip(int index) const
{
    const QLabel *label = panel(index);
    return label ? label->toolTip() : QString();
}

void mdiORMenu::tick()
{
    // The time and date panels show the workstation's clock, as a wall clock would.
    const QDateTime now = QDateTime::currentDateTime();
    panel(6)->setText(now.time().toString(QStringLiteral("h:mm AP")));
    panel(7)->setText(now.date().toString(QStringLiteral("MM/dd/yyyy")));
}

void mdiORMenu::setBackground(const QPixmap &picture)
{
    m_backgroundPicture = picture;
    fitBackground();
}

void mdiORMenu::fitBackground()
{
    if (m_backgroundPicture.isNull())
        return;
    // The picture covers the whole work area at any window size instead of repeating.
    const QSize area = m_workArea->viewport()->size();
    if (area.isEmpty())
        return;
    const QPixmap scaled =
        m_backgroundPicture.scaled(area, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    m_workArea->setBackground(
        QBrush(scaled.copy((scaled.width() - area.width()) / 2,
                           (scaled.height() - area.height()) / 2, area.width(), area.height())));
}

void mdiORMenu::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    fitBackground();
}

bool mdiORMenu::loadBackground(const QString &file)
{
    QPixmap picture;
    if (!picture.load(file))
        return false;
    setBackground(picture);
    return true;
}

void mdiORMenu::setMenuVisible(const QString &menuName, bool visible)
{
    m_presenter.setMenuVisible(menuName, visible);
}

QSize mdiORMenu::screenSize() const
{
    const QScreen *s = screen();
    return s ? s->size() : QSize();
}

void mdiORMenu::setAlertVisible(QStringView name, bool visible)
{
    if (QWidget *w = m_controls.value(name.toString()))
        w->setVisible(visible);
    if (name == u"cmdPanicLab")
        m_controls.value(QStringLiteral("txtPanic"))->setVisible(visible);
}

void mdiORMenu::showWindow(const QString &formName, const WindowRequest &request)
{
    if (!m_windows.contains(formName)) {
        const QString caption = request.caption.isEmpty() ? formName : request.caption;
        m_presenter.session().notifier().message(caption + QStringLiteral(" is not available yet."),
                                                 QStringLiteral("Notification"),
                                                 Notifier::Icon::Information);
        return;
    }
    QWidget *window = m_windows.make(formName, request);
    if (!window)
        return;

    if (request.modal) {
        if (!window->parentWidget())
            window->setParent(this, window->windowFlags() | Qt::Dialog);
        if (auto *dialog = qobject_cast<QDialog *>(window)) {
            dialog->exec();
            return;
        }
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }

    // A shared window that is open already is only brought forward.
    for (QMdiSubWindow *sub : m_workArea->subWindowList()) {
        if (sub->widget() == window) {
            sub->showNormal();
            m_workArea->setActiveSubWindow(sub);
            return;
        }
    }
    // The window opens at the size it was given, or else at the size its contents ask for.
    const QSize wanted =
        window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    QMdiSubWindow *sub = m_workArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(window->windowTitle().isEmpty() ? request.caption : window->windowTitle());
    sub->show();
    if (wanted.isValid())
        sub->resize(wanted + (sub->size() - sub->contentsRect().size()));
    m_workArea->setActiveSubWindow(sub);
}

void mdiORMenu::refreshWindowList()
{
    QMenu *windowMenu = m_menus.value(QStringLiteral("mnuWindow"));
    QAction *bar = m_actions.value(QStringLiteral("mnuWindowBar0"));
    // Everything after the separator is the list of the moment.
    const QList<QAction *> items = windowMenu->actions();
    for (qsizetype i = items.indexOf(bar) + 1; i < items.size(); ++i) {
        windowMenu->removeAction(items.at(i));
        items.at(i)->deleteLater();
    }
    const QList<QMdiSubWindow *> open = m_workArea->subWindowList();
    for (qsizetype i = 0; i < open.size(); ++i) {
        QMdiSubWindow *sub = open.at(i);
        QAction *item =
            windowMenu->addAction(QStringLiteral("&%1 %2").arg(i + 1).arg(sub->windowTitle()));
        item->setCheckable(true);
        item->setChecked(sub == m_workArea->activeSubWindow());
        connect(item, &QAction::triggered, this, [this, sub = QPointer<QMdiSubWindow>(sub)] {
            if (sub)
                m_workArea->setActiveSubWindow(sub);
        });
    }
}

void mdiORMenu::keepActiveChildInWorkArea(const QRect &available)
{
    QMdiSubWindow *child = m_workArea->activeSubWindow();
    if (!child)
        return;
    QWidget *viewport = m_workArea->viewport();
    const QRect workArea = QRect(viewport->mapFromGlobal(available.topLeft()), available.size())
                               .intersected(viewport->rect());
    if (workArea.isEmpty())
        return;
    child->setGeometry(keepInsideWorkArea(child->geometry(), workArea));
}

void mdiORMenu::watchScreen(QScreen *screen)
{
    disconnect(m_screenConnection);
    if (screen)
        m_screenConnection = connect(screen, &QScreen::availableGeometryChanged, this,
                                     &mdiORMenu::keepActiveChildInWorkArea);
}

void mdiORMenu::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (QWindow *handle = windowHandle()) {
        watchScreen(handle->screen());
        connect(handle, &QWindow::screenChanged, this, &mdiORMenu::watchScreen,
                Qt::UniqueConnection);
    }
}

bool mdiORMenu::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_presenter.refreshNextChargeSlip();
    return QMainWindow::event(event);
}

bool mdiORMenu::eventFilter(QObject *watched, QEvent *event)
{
    // The panic text is clicked like its button.
    if (watched == m_controls.value(QStringLiteral("txtPanic")) &&
        event->type() == QEvent::MouseButtonRelease) {
        Q_EMIT panicLabClicked();
        m_presenter.cmdPanicLab();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void mdiORMenu::closeEvent(QCloseEvent *event)
{
    if (!m_exitConfirmed) {
        m_inCloseEvent = true;
        m_presenter.mnuExitApps();
        m_inCloseEvent = false;
    }
    if (m_exitConfirmed)
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
