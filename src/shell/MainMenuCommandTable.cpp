// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// MainMenu's commands that only check and open: the CommandRow table and runCommand.
#include "shell/MainMenu.h"

#include <array>

namespace kestrel {

namespace {

constexpr QStringView kRightDetailedIncome = u"18";
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
    // The result entry that closes the selected outpatient visit.
    CommandRow{u"mnuResultDischarge", u"frmUpdateORRecord",
               u"Update Operation Room Record ( Result Entry )", false, kPatient},
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

} // namespace

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
KESTREL_TABLE_COMMAND(mnuResultDischarge)
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

} // namespace kestrel
