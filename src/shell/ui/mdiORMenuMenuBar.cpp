// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// mdiORMenu's menu bar: its layout as data, the command each menu runs, and the Window list.
#include "shell/ui/mdiORMenu.h"

#include <QAction>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QMenuBar>

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

// Every menu command that does something. "NSD LogBook", "MSS Referral", "Build OR Package",
// "Confirm" and "Revoke" do nothing at this station.
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
    Binding{u"mnuResultDischarge", &MainMenu::mnuResultDischarge},
    Binding{u"mnuCVOR", &MainMenu::mnuCVOR},
    Binding{u"mnuSOA", &MainMenu::mnuSOA},
    Binding{u"mnuWHOSurgicalSafety", &MainMenu::mnuWHOSurgicalSafety},
    Binding{u"mnuSchedule", &MainMenu::mnuSchedule},
    Binding{u"mnuRecvbles", &MainMenu::mnuRecvbles},
    Binding{u"mnuListDischargeNotice", &MainMenu::mnuListDischargeNotice},
    Binding{u"mnuExitApps", &MainMenu::mnuExitApps},
};

} // namespace

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

void mdiORMenu::bindMenus()
{
    for (const Binding &b : kBindings) {
        if (QAction *a = m_actions.value(b.name.toString()))
            connect(a, &QAction::triggered, &m_presenter, b.slot);
    }

    connect(m_menus.value(QStringLiteral("mnuWindow")), &QMenu::aboutToShow, this,
            &mdiORMenu::refreshWindowList);
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

void mdiORMenu::setMenuVisible(const QString &menuName, bool visible)
{
    m_presenter.setMenuVisible(menuName, visible);
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

} // namespace kestrel
