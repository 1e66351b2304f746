// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/MainMenu.h"

#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/StationLog.h"

#include <QDir>

#include <array>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

constexpr QStringView kRightAssessment = u"9";
constexpr QStringView kRightReceivables = u"13";
constexpr QStringView kRightDetailedIncome = u"18";
constexpr QStringView kRightChargeSlip = u"20";
constexpr QStringView kRightSummaryIncome = u"21";
constexpr QStringView kRightClinicalOperation = u"25";

constexpr QStringView kNoDetailedIncome =
    u"Sorry, you don't have access right to view Detailed Income Report.";
constexpr QStringView kNoSummaryIncome =
    u"Sorry, you don't have access right to view Summary Income Report.";

// The commands whose only rule is an optional right, an optional selected patient and the
// window they open. Captions are the windows' own, or the report's title for report commands.
struct CommandRow
{
    QStringView name;
    QStringView form;
    QStringView caption;
    bool modal = false;
    bool patientRequired = false;
    QStringView right = {};
    QStringView refusal = {};
};

constexpr bool kModal = true;
constexpr bool kPatient = true;

// clang-format off
constexpr std::array kCommands{
    // File
    CommandRow{u"mnuOpen", u"frmSearch", u"Patient List"},
    CommandRow{u"mnuBuild", u"frmBuildORRooms", u"Build OR Rooms", kModal},
    CommandRow{u"mnuMarkUp", u"frmMarkupSettings", u"Mark Up Settings"},
    CommandRow{u"mnuTagProcedures", u"frmTagORProcedures", u"OR Revenue - Procedure Tagging"},
    CommandRow{u"mnuUserLogs", u"frmUserLogs", u"User Logs"},

    // Reports: windows
    CommandRow{u"mnuCVORCensus", u"frmCVORPatients", u"CVOR Patients"},
    CommandRow{u"mnuCSFTemplate", u"frmCSFDoctors", u"PhilHealth CSF Template"},
    CommandRow{u"mnuStocksMonitoring", u"frmStockMonitoring", u"Stocks Monitoring"},
    // Reports: the report catalog
    CommandRow{u"mnuEquipment", kReportViewer, u"Equipment Charges (EQ)"},
    CommandRow{u"mnuDetailed", kReportViewer, u"Income Report (Detailed)", false, false,
               kRightDetailedIncome, kNoDetailedIncome},
    CommandRow{u"mnuOldFormatIncomeDetailed", kReportViewer, u"Income Report (Detailed)", false,
               false, kRightDetailedIncome, kNoDetailedIncome},
    CommandRow{u"mnuProcedureCount", kReportViewer, u"Income Report (Detailed)", false, false,
               kRightDetailedIncome, kNoDetailedIncome},
    CommandRow{u"mnuSummary", kReportViewer, u"Income Report (Summary)", false, false,
               kRightSummaryIncome, kNoSummaryIncome},
    CommandRow{u"mnuOldFormatIncomeSummary", kReportViewer, u"Income Report (Summary)", false,
               false, kRightSummaryIncome, kNoSummaryIncome},
    // The new-format summary is guarded by the detailed report's right, as the hospital
    // configured it; its refusal names that right.
    CommandRow{u"mnuGUVOIncomeReport", kReportViewer, u"Income Report (Summary)", false, false,
               kRightDetailedIncome, kNoDetailedIncome},
    CommandRow{u"mnuPriceList", kReportViewer, u"List of Procedures and Supplies"},
    CommandRow{u"mnuMedsSummary", kReportViewer, u"Post Charged Meds Summary"},
    CommandRow{u"mnuPerDate", kReportViewer, u"List of Patients with Operations"},
    CommandRow{u"mnuPerDoctor", kReportViewer, u"List of Patients with Operations"},
    CommandRow{u"mnuPerPatient", kReportViewer, u"List of Patients with Operations"},
    CommandRow{u"mnuPerProcedure", kReportViewer, u"List of Patients with Operations"},
    CommandRow{u"mnuLedger", kReportViewer, u"Patient Ledger"},
    CommandRow{u"mnuPxCSSR", kReportViewer, u"Patient's Ledger"},
    CommandRow{u"mnuAudit", kReportViewer, u"Audit Report"},
    CommandRow{u"mnuCensusOrig", kReportViewer, u"Operating Room Census Report"},
    CommandRow{u"mnuCensusDetailed", kReportViewer, u"Operating Room Census Report (Detailed)"},
    CommandRow{u"mnuCensusSummary", kReportViewer, u"Operating Room Census Report (Summary)"},
    CommandRow{u"mnuCensusAllDetailed", kReportViewer,
               u"Operating Room Census Report (Detailed)"},
    CommandRow{u"mnuCensusAllSummary", kReportViewer,
               u"Operating Room Census Report (Detailed)"},
    CommandRow{u"mnuMonthly", kReportViewer, u"Monthly Report"},
    CommandRow{u"mnuPhilhealth", kReportViewer, u"Philhealth LogBook"},
    CommandRow{u"mnuScheduleofoperations", kReportViewer, u"Schedule of Operations Report"},
    CommandRow{u"mnuORMandatory", kReportViewer, u"OR Mandatory"},
    CommandRow{u"mnuORReport", kReportViewer, u"OR Report"},
    // Printed at once, without a viewer: named after its menu.
    CommandRow{u"mnuORLogbook", kReportViewer, u"OR Logbook"},
    CommandRow{u"mnuMonthlyORRoomCases", kReportViewer, u"Monthly Summary of OR Room Cases"},
    CommandRow{u"mnuYearlyORRoomCases", kReportViewer, u"OR Cases Yearly Report"},
    CommandRow{u"mnuTopCases", kReportViewer, u"Census Report"},
    CommandRow{u"mnuDOH", kReportViewer, u"DOH LogBook OR/DR Cases"},
    CommandRow{u"mnuStat", kReportViewer, u"Operating Room Statistical Report"},
    CommandRow{u"mnuAdmCensus", kReportViewer, u"Census Report"},
    CommandRow{u"mnuCash", kReportViewer, u"Cash Basis Report"},
    CommandRow{u"mnuTimeNMotion", kReportViewer, u"Time and Motion"},
    CommandRow{u"mnuYearlyIncome", kReportViewer, u"OR-DR Yearly Income Report"},
    CommandRow{u"mnuAMPickUp", kReportViewer, u"List of Laboratory AM Pick-up Requests"},
    CommandRow{u"mnuProcCatRep", kReportViewer, u"Procedure By Category Report"},

    // Inquiry
    CommandRow{u"mnuSpecialTreatment", u"frmSpecialTreatment", u"Consent for Special Treatment"},
    CommandRow{u"mnuSterilizationConsent", u"frmSterilization",
               u"Consent for Sterilization Procedure", false, kPatient},
    CommandRow{u"mnuSurgicalTreatment", u"frmSurgicalTreatment", u"Consent for Surgical Treatment",
               false, kPatient},
    CommandRow{u"mnuConsentTreatment", u"frmTreatment", u"Consent for Treatment", false, kPatient},
    CommandRow{u"mnuFluid", u"frmFluid", u"Fluid Intake and Output Entry"},
    CommandRow{u"mnuHourlyMonitoring", u"frmHourlyMonitor", u"Hourly Monitoring Sheet", false,
               kPatient},
    CommandRow{u"mnuLabChemistry", kReportViewer, u"LABORATORY RESULT CHEMISTRY"},
    CommandRow{u"mnuLabHematology", kReportViewer, u"LABORATORY RESULT HEMATOLOGY"},
    CommandRow{u"mnuLabImmunoSerology", kReportViewer, u"LABORATORY RESULT IMMUNOSEROLOGY"},
    CommandRow{u"mnuLabMicrobiology", kReportViewer, u"LABORATORY RESULT MICROBIOLOGY"},
    CommandRow{u"mnuLabMicroscopic", kReportViewer, u"LABORATORY RESULT MICROSCOPIC"},
    CommandRow{u"mnuLRForm", u"frmLRForm", u"Labor Room Form", false, kPatient},
    // The board books the patient highlighted in the patient list.
    CommandRow{u"mnuORSchedEntry", u"frmSchedule", u"Schedule of Operations"},
    CommandRow{u"mnuPreOp", u"frmNursePreopChecklist", u"Nurse Pre-Operative Checklist Entry",
               false, kPatient},
    CommandRow{u"mnuOperativeTechnique", kReportViewer, u"Operative Technique"},
    CommandRow{u"mnuDischargeNoticeStatus", kReportViewer, u"Patient Discharge Notice Status"},
    CommandRow{u"mnuPDS", kReportViewer, u"PATIENT DATA SHEET"},
    CommandRow{u"mnuInfo", u"frmInfo", u"Personal Info"},
    CommandRow{u"mnuCSF", u"frmCSFDoctors", u"PhilHealth CSF"},
    CommandRow{u"mnuPreAnesFirst", u"frmPreAnesthetic", u"Pre-Anesthetic Evaluation", false,
               kPatient},
    CommandRow{u"mnuReprintLab", u"frmReprintLabForm", u"Reprint Laboratory Request Form", false,
               kPatient},
    // The request list has no title of its own.
    CommandRow{u"mnuRS", kReportViewer, u"Request Status"},
    CommandRow{u"mnuCountingSheet", kReportViewer, u"Sponge, Instrument and Needle Counting Sheet"},
    CommandRow{u"mnuSSC", u"frmSSC", u"Surgical Safety Checklist", false, kPatient},
    CommandRow{u"mnuSOA", u"KsStatement.clsStatement", u"View Statement of Account", false,
               kPatient},
    CommandRow{u"mnuWHOSurgicalSafety", kReportViewer, u"WHO Surgical Safety Checklist"},

    // Top-level commands
    CommandRow{u"mnuSchedule", u"frmSchedule", u"Schedule of Operations"},
    // The discharge notices answer with the notice chosen, so the list is modal.
    CommandRow{u"mnuListDischargeNotice", u"frmDischargeNotice", u"List Discharge Notices",
               kModal},

    // Toolbar
    CommandRow{u"Toolbar1.Open", u"frmSearch", u"Patient List"},
    CommandRow{u"Toolbar1.Operation", u"frmPatientIndex", u"Update Patient Operating Procedure",
               kModal, false, kRightClinicalOperation,
               u"Sorry, you don't have access right on Clinical Operation."},
    CommandRow{u"Toolbar1.RUV", u"KsRvs.clsRvsLookup", u"RUV List"},

    // Alert buttons
    CommandRow{u"cmdCommunication", u"frmAutoPrint", u"Verified Results", kModal},
    CommandRow{u"cmdPanicLab", u"frmPanicValues", u"Laboratory Results with Panic Values"},
    CommandRow{u"cmdRevokedRequests", u"frmRevokedRequests", u"Revoked Requests Monitoring"},
    CommandRow{u"cmdAdmissions", u"frmAdmittedPatients",
               u"Admitted Patients w/ Scheduled Operation"},
    CommandRow{u"cmdRequestSched", u"frmCommunicationSchedule",
               u"Requests for Operation Schedule"},
};
// clang-format on

const CommandRow *findCommand(QStringView name)
{
    for (const CommandRow &row : kCommands) {
        if (row.name == name)
            return &row;
    }
    return nullptr;
}

const QString kMnuInfo = QStringLiteral("mnuInfo");
const QString kMnuLedger = QStringLiteral("mnuLedger");
const QString kMnuRS = QStringLiteral("mnuRS");
const QString kMnuCVOR = QStringLiteral("mnuCVOR");

} // namespace

MainMenu::MainMenu(Session &session, std::function<bool()> checkUserSettings, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_checkUserSettings(std::move(checkUserSettings))
{
    // As the menus are laid out: the patient commands wait for a selected patient, and the
    // CVOR command tags until the patient list says the stay is tagged already.
    for (const QString &name : {kMnuInfo, kMnuLedger, kMnuRS})
        m_menus[name].enabled = false;
    m_menus[kMnuCVOR].caption = QStringLiteral("Tag as CVOR/RR Patient");
}

void MainMenu::setCheckUserSettings(std::function<bool()> checkUserSettings)
{
    m_checkUserSettings = std::move(checkUserSettings);
}

void MainMenu::openWindow(const QString &formName, const WindowRequest &request)
{
    Q_EMIT windowRequested(formName, request);
}

MenuState MainMenu::menuState(const QString &name) const
{
    return m_menus.value(name);
}

void MainMenu::updateMenu(const QString &name, const std::function<void(MenuState &)> &change)
{
    change(m_menus[name]);
    Q_EMIT menuChanged(name);
}

void MainMenu::setMenuVisible(const QString &name, bool visible)
{
    updateMenu(name, [visible](MenuState &s) { s.visible = visible; });
}

void MainMenu::setMenusVisible(const QHash<QString, bool> &visibility)
{
    for (auto it = visibility.cbegin(); it != visibility.cend(); ++it)
        setMenuVisible(it.key(), it.value());
}

void MainMenu::setPatientCommandsEnabled(bool enabled)
{
    for (const QString &name : {kMnuInfo, kMnuLedger, kMnuRS})
        updateMenu(name, [enabled](MenuState &s) { s.enabled = enabled; });
}

void MainMenu::setCVORCaption(const QString &caption)
{
    updateMenu(kMnuCVOR, [&caption](MenuState &s) { s.caption = caption; });
}

QString MainMenu::cvorCaption() const
{
    return m_menus.value(kMnuCVOR).caption.value_or(QString());
}

bool MainMenu::confirmExit()
{
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure you want to close Kestrel?"),
                                      QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return false;
    Q_EMIT exitRequested();
    return true;
}

WindowRequest MainMenu::requestFor(QStringView command, const QString &caption, bool modal) const
{
    WindowRequest request;
    request.command = command.toString();
    request.caption = caption;
    request.modal = modal;
    request.patient = m_session.CurrentPatient;
    return request;
}

bool MainMenu::grantedOrTold(QStringView right, QStringView employee, const QString &refusal)
{
    if (HasAccessRight(m_session, right, employee))
        return true;
    m_session.notifier().message(refusal, kNotification, Notifier::Icon::Information);
    return false;
}

bool MainMenu::patientSelectedOrTold()
{
    if (m_session.CurrentPatient.isSelected())
        return true;
    m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                 Notifier::Icon::Information);
    return false;
}

void MainMenu::runCommand(QStringView name)
{
    const CommandRow *command = findCommand(name);
    Q_ASSERT_X(command, "MainMenu::runCommand", "a command without its row");
    if (!command)
        return;
    if (!command->right.isEmpty() &&
        !grantedOrTold(command->right, {}, command->refusal.toString()))
        return;
    if (command->patientRequired && !patientSelectedOrTold())
        return;
    openWindow(command->form.toString(),
               requestFor(command->name, command->caption.toString(), command->modal));
}

// --- Commands with rules of their own -------------------------------------------------------

void MainMenu::mnuChargeSlip()
{
    // Asked of whoever signs here, not of the logged-in user; nobody signing means nobody
    // holds the right.
    m_session.validated = m_session.dialogs().validateUser();
    if (!grantedOrTold(kRightChargeSlip, m_session.validated.code,
                       QStringLiteral("Sorry, you don't have access right for Charge Slip "
                                      "Setting.")))
        return;
    openWindow(QStringLiteral("frmChargeSlipVerification"),
               requestFor(u"mnuChargeSlip", QStringLiteral("Charge Slip Setting"), true));
}

void MainMenu::mnuUser()
{
    if (m_checkUserSettings && m_checkUserSettings()) {
        openWindow(QStringLiteral("frmUserRights"),
                   requestFor(u"mnuUser", QStringLiteral("User Settings"), true));
        return;
    }
    m_session.notifier().message(QStringLiteral("Invalid Password"), kNotification,
                                 Notifier::Icon::Critical);
    // The user is asked once more, but even a right answer does not open the rights: the
    // command has to be given again.
    if (m_checkUserSettings)
        (void)m_checkUserSettings();
}

void MainMenu::mnuAssessment()
{
    if (!grantedOrTold(kRightAssessment, {},
                       QStringLiteral("Sorry, you don't have access right for Assessment Entry.")))
        return;
    auto codes = m_session.db().call(u"STATION..sp_OR_ChargingCodes", {m_session.StationID});
    if (!codes) {
        m_session.notifier().errorBox(codes.error());
        return;
    }
    WindowRequest request = requestFor(
        u"mnuAssessment", QStringLiteral("CASH ASSESSMENT ENTRY (WALK-IN PATIENTS)"), false);
    request.values.insert(QStringLiteral("StationID"), m_session.StationID);
    request.rows = std::move(*codes);
    openWindow(QStringLiteral("frmAssessmentEntry"), request);
}

void MainMenu::mnuRecvbles()
{
    if (!grantedOrTold(kRightReceivables, {},
                       QStringLiteral("Sorry, you don't have access right for Receivable Entry.")))
        return;
    // Receivables are entered for a discharged patient chosen there, not for the selected
    // one, so the commands about the selected patient are off until one is selected again.
    setPatientCommandsEnabled(false);
    openWindow(QStringLiteral("frmRecievable"),
               requestFor(u"mnuRecvbles", QStringLiteral("Receivable Update"), false));
}

void MainMenu::mnuCF4()
{
    const CurrentPatientRecord &patient = m_session.CurrentPatient;
    const QString title = QStringLiteral("PhilHealth CF4 Entries ") + QStringLiteral(" - ") +
                          patient.PatientName + QStringLiteral(" ( ") + patient.IdNum +
                          QStringLiteral(" )");
    WindowRequest request = requestFor(u"mnuCF4", QStringLiteral("PhilHealth CF4 Entry"), false);
    request.values = {
        {QStringLiteral("IdNum"), patient.IdNum},
        {QStringLiteral("StationID"), QStringLiteral("OR")},
        {QStringLiteral("Title"), title},
        {QStringLiteral("ShowPrint"), m_session.settings.NursePrintCF4()},
        {QStringLiteral("HospitalName"), m_session.hospital.Company},
        {QStringLiteral("HospitalAddress"), m_session.hospital.Address1},
        {QStringLiteral("ReportPath"),
         QDir(m_session.ApplicationPath).filePath(QStringLiteral("Reports"))},
        {QStringLiteral("EmployeeCode"), m_session.employeeCode()},
    };
    openWindow(QStringLiteral("clsCF4"), request);
}

void MainMenu::mnuCVOR()
{
    m_session.validated = m_session.dialogs().validateUser();
    const bool untag = cvorCaption().toUpper() == QStringLiteral("UNTAG AS CVOR/RR PATIENT");
    const QString validatedCode = m_session.validated.code;
    if (validatedCode.isEmpty())
        return;

    const CurrentPatientRecord &patient = m_session.CurrentPatient;
    const QString sql = patient.isOutpatientStay()
                            ? QStringLiteral("UPDATE Patient_data..tbOutpatient SET isCVOR = :tag "
                                             "WHERE IDnum = :idnum")
                            : QStringLiteral("UPDATE Patient_data..tbPatient SET isCVOR = :tag "
                                             "WHERE IDnum = :idnum");
    auto updated = m_session.db().exec(
        sql, {{QStringLiteral("tag"), untag ? 0 : 1}, {QStringLiteral("idnum"), patient.IdNum}});
    if (!updated) {
        m_session.notifier().errorBox(updated.error());
        return;
    }

    const QString done = untag ? QStringLiteral("untagged") : QStringLiteral("tagged");
    WriteStationLog(m_session.db(), patient.IdNum, done.toUpper() + QStringLiteral(" AS CVOR"),
                    validatedCode, m_session.StationID);
    m_session.notifier().message(QStringLiteral("You have succesfully ") + done +
                                     QStringLiteral(" patient ") + patient.PatientName +
                                     QStringLiteral(" as CVOR/RR patient."),
                                 kNotification, Notifier::Icon::Information);
}

void MainMenu::mnuExitApps()
{
    (void)confirmExit();
}

void MainMenu::toolbarButtonClicked(const QString &key)
{
    if (key == u"Open" || key == u"Operation" || key == u"RUV")
        runCommand(QString(QStringLiteral("Toolbar1.") + key));
    else if (key == u"Exit")
        mnuExitApps();
    // "Report" only drops its menu down, and "Build" does nothing.
}

void MainMenu::reportMenuClicked(const QString &key)
{
    if (key == u"Audit")
        mnuAudit();
    else if (key == u"Month")
        mnuMonthly();
    else if (key == u"Statistics")
        mnuStat();
    else if (key == u"Exit")
        mnuExitApps();
    // "Stockcard" does nothing.
}

void MainMenu::refreshNextChargeSlip()
{
    // Every station's counter lives in the same table; this workstation shows its own.
    auto slip = m_session.db().selectOne(
        u"Select ChargeSlip from STATION..tbORChargeSlip where StationID = :station",
        {{QStringLiteral("station"), m_session.StationID}});
    if (!slip) {
        if (!m_refreshFailureTold)
            m_session.notifier().errorBox(slip.error());
        m_refreshFailureTold = true;
        return;
    }
    m_refreshFailureTold = false;
    if (!*slip)
        return;
    const QString text = (*slip)->trimmed(u"Chargeslip");
    if (text == m_nextChargeSlip)
        return;
    m_nextChargeSlip = text;
    Q_EMIT nextChargeSlipChanged(text);
}

// --- Commands that only check and open ------------------------------------------------------

#define KESTREL_TABLE_COMMAND(name)                                                                \
    void MainMenu::name()                                                                          \
    {                                                                                              \
        runCommand(u"" #name);                                                                     \
    }

KESTREL_TABLE_COMMAND(mnuOpen)
KESTREL_TABLE_COMMAND(mnuBuild)
KESTREL_TABLE_COMMAND(mnuMarkUp)
KESTREL_TABLE_COMMAND(mnuTagProcedures)
KESTREL_TABLE_COMMAND(mnuUserLogs)
KESTREL_TABLE_COMMAND(mnuCVORCensus)
KESTREL_TABLE_COMMAND(mnuEquipment)
KESTREL_TABLE_COMMAND(mnuDetailed)
KESTREL_TABLE_COMMAND(mnuSummary)
KESTREL_TABLE_COMMAND(mnuProcedureCount)
KESTREL_TABLE_COMMAND(mnuOldFormatIncomeDetailed)
KESTREL_TABLE_COMMAND(mnuGUVOIncomeReport)
KESTREL_TABLE_COMMAND(mnuOldFormatIncomeSummary)
KESTREL_TABLE_COMMAND(mnuPriceList)
KESTREL_TABLE_COMMAND(mnuMedsSummary)
KESTREL_TABLE_COMMAND(mnuPerDate)
KESTREL_TABLE_COMMAND(mnuPerDoctor)
KESTREL_TABLE_COMMAND(mnuPerPatient)
KESTREL_TABLE_COMMAND(mnuPerProcedure)
KESTREL_TABLE_COMMAND(mnuLedger)
KESTREL_TABLE_COMMAND(mnuPxCSSR)
KESTREL_TABLE_COMMAND(mnuAudit)
KESTREL_TABLE_COMMAND(mnuCensusOrig)
KESTREL_TABLE_COMMAND(mnuCensusDetailed)
KESTREL_TABLE_COMMAND(mnuCensusSummary)
KESTREL_TABLE_COMMAND(mnuCensusAllDetailed)
KESTREL_TABLE_COMMAND(mnuCensusAllSummary)
KESTREL_TABLE_COMMAND(mnuMonthly)
KESTREL_TABLE_COMMAND(mnuCSFTemplate)
KESTREL_TABLE_COMMAND(mnuPhilhealth)
KESTREL_TABLE_COMMAND(mnuScheduleofoperations)
KESTREL_TABLE_COMMAND(mnuORMandatory)
KESTREL_TABLE_COMMAND(mnuORReport)
KESTREL_TABLE_COMMAND(mnuORLogbook)
KESTREL_TABLE_COMMAND(mnuMonthlyORRoomCases)
KESTREL_TABLE_COMMAND(mnuYearlyORRoomCases)
KESTREL_TABLE_COMMAND(mnuTopCases)
KESTREL_TABLE_COMMAND(mnuDOH)
KESTREL_TABLE_COMMAND(mnuStat)
KESTREL_TABLE_COMMAND(mnuAdmCensus)
KESTREL_TABLE_COMMAND(mnuCash)
KESTREL_TABLE_COMMAND(mnuTimeNMotion)
KESTREL_TABLE_COMMAND(mnuYearlyIncome)
KESTREL_TABLE_COMMAND(mnuAMPickUp)
KESTREL_TABLE_COMMAND(mnuStocksMonitoring)
KESTREL_TABLE_COMMAND(mnuProcCatRep)
KESTREL_TABLE_COMMAND(mnuSpecialTreatment)
KESTREL_TABLE_COMMAND(mnuSterilizationConsent)
KESTREL_TABLE_COMMAND(mnuSurgicalTreatment)
KESTREL_TABLE_COMMAND(mnuConsentTreatment)
KESTREL_TABLE_COMMAND(mnuFluid)
KESTREL_TABLE_COMMAND(mnuHourlyMonitoring)
KESTREL_TABLE_COMMAND(mnuLabChemistry)
KESTREL_TABLE_COMMAND(mnuLabHematology)
KESTREL_TABLE_COMMAND(mnuLabImmunoSerology)
KESTREL_TABLE_COMMAND(mnuLabMicrobiology)
KESTREL_TABLE_COMMAND(mnuLabMicroscopic)
KESTREL_TABLE_COMMAND(mnuLRForm)
KESTREL_TABLE_COMMAND(mnuORSchedEntry)
KESTREL_TABLE_COMMAND(mnuPreOp)
KESTREL_TABLE_COMMAND(mnuOperativeTechnique)
KESTREL_TABLE_COMMAND(mnuDischargeNoticeStatus)
KESTREL_TABLE_COMMAND(mnuPDS)
KESTREL_TABLE_COMMAND(mnuInfo)
KESTREL_TABLE_COMMAND(mnuCSF)
KESTREL_TABLE_COMMAND(mnuPreAnesFirst)
KESTREL_TABLE_COMMAND(mnuReprintLab)
KESTREL_TABLE_COMMAND(mnuRS)
KESTREL_TABLE_COMMAND(mnuCountingSheet)
KESTREL_TABLE_COMMAND(mnuSSC)
KESTREL_TABLE_COMMAND(mnuSOA)
KESTREL_TABLE_COMMAND(mnuWHOSurgicalSafety)
KESTREL_TABLE_COMMAND(mnuSchedule)
KESTREL_TABLE_COMMAND(mnuListDischargeNotice)
KESTREL_TABLE_COMMAND(cmdCommunication)
KESTREL_TABLE_COMMAND(cmdPanicLab)
KESTREL_TABLE_COMMAND(cmdRevokedRequests)
KESTREL_TABLE_COMMAND(cmdAdmissions)
KESTREL_TABLE_COMMAND(cmdRequestSched)

#undef KESTREL_TABLE_COMMAND

QRect keepInsideWorkArea(const QRect &child, const QRect &workArea)
{
    QRect placed = child;
    if (child.width() >= workArea.width()) {
        placed.moveLeft(workArea.left());
        placed.setWidth(workArea.width());
    }
    if (child.height() >= workArea.height()) {
        placed.moveTop(workArea.top());
        placed.setHeight(workArea.height());
    }
    return placed;
}

} // namespace kestrel
