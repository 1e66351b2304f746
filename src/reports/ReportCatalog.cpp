// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportCatalog.h"

#include <algorithm>

namespace kestrel {

namespace {

using S = ReportValueSource;

ReportValue v(S source)
{
    return ReportValue{source, QString()};
}

ReportValue text(const QString &fixed)
{
    return ReportValue{S::Text, fixed};
}

const ReportValue kFrom = v(S::From);
const ReportValue kTo = v(S::To);
const ReportValue kCompany = v(S::Company);
const ReportValue kAddress1 = v(S::Address1);
const ReportValue kStation = v(S::StationID);
const ReportValue kHighlighted = v(S::HighlightedIdNum);

const QString kIncomeCaption = QStringLiteral("Enter Report Date for Income Report");
const QString kCensusCaption = QStringLiteral("Enter Report Dates for Census Report");
const QString kIncomeDetailed = QStringLiteral("Income Report (Detailed)");
const QString kIncomeSummary = QStringLiteral("Income Report (Summary)");
const QString kRightDetailed = QStringLiteral("18");
const QString kRightSummary = QStringLiteral("21");

// The patient's ledgers: the same sixteen values, with the ledger's own heading.
QList<ReportValue> ledgerValues(const QString &heading)
{
    return {kCompany,
            kAddress1,
            text(QString()),
            text(heading),
            v(S::PatientName),
            v(S::PatientAddress),
            v(S::AccountNumber),
            v(S::PatientCompany),
            v(S::IdNum),
            v(S::HospNum),
            v(S::AdmissionDate),
            v(S::DischargeDate),
            v(S::RoomID),
            v(S::HospNum),
            v(S::IdNum),
            text(QStringLiteral("OR"))};
}

ReportCommandEntry period(const QString &command, const QString &caption, const QString &file,
                          QList<ReportValue> values, const QString &title,
                          const QString &right = {})
{
    ReportCommandEntry e;
    e.command = command;
    e.right = right;
    e.prompt = ReportPrompt::Period;
    e.caption = caption;
    e.parts = {ReportPart{file, std::move(values)}};
    e.title = title;
    return e;
}

ReportCommandEntry noPrompt(const QString &command, const QString &file, QList<ReportValue> values,
                            const QString &title)
{
    ReportCommandEntry e;
    e.command = command;
    e.parts = {ReportPart{file, std::move(values)}};
    e.title = title;
    return e;
}

ReportCommandEntry withPrompt(ReportCommandEntry e, ReportPrompt prompt)
{
    e.prompt = prompt;
    return e;
}

// The catalog as most hospitals run it; reportCommand() applies the clients' variants.
QList<ReportCommandEntry> buildCatalog()
{
    QList<ReportCommandEntry> c;
    const auto add = [&c](ReportCommandEntry e) { c.append(std::move(e)); };

    add(period(
        QStringLiteral("mnuAudit"), QStringLiteral("Enter Report Date for Audit Report"),
        QStringLiteral("Audit_report.RPT"),
        {kFrom, kTo, kCompany, kAddress1, text(QStringLiteral("OPERATING ROOM AUDIT REPORT"))},
        QStringLiteral("Audit Report")));
    add(period(QStringLiteral("mnuEquipment"), kIncomeCaption,
               QStringLiteral("EquipmentPostCharge.RPT"), {kFrom, kTo},
               QStringLiteral("Equipment Charges (EQ)")));
    for (const QString &command :
         {QStringLiteral("mnuDetailed"), QStringLiteral("mnuOldFormatIncomeDetailed")})
        add(period(command, kIncomeCaption, QStringLiteral("Nurse_Station_Income_Detailed.RPT"),
                   {kFrom, kTo, kStation, v(S::IsShowAmount)}, kIncomeDetailed, kRightDetailed));
    for (const QString &command :
         {QStringLiteral("mnuSummary"), QStringLiteral("mnuOldFormatIncomeSummary")})
        add(period(command, kIncomeCaption, QStringLiteral("Nurse_Station_Income_Summary.RPT"),
                   {kFrom, kTo, kStation, v(S::IsShowAmount)}, kIncomeSummary, kRightSummary));
    add(period(QStringLiteral("mnuProcedureCount"), kIncomeCaption,
               QStringLiteral("ProcedureCountGUVO.rpt"), {kFrom, kTo, kStation}, kIncomeDetailed,
               kRightDetailed));
    // The new-format summary is guarded by the detailed report's right, as the main window
    // checks it.
    add(period(QStringLiteral("mnuGUVOIncomeReport"), kIncomeCaption,
               QStringLiteral("IncomeReportGUVO.rpt"), {kFrom, kTo, kStation}, kIncomeSummary,
               kRightDetailed));
    add(period(QStringLiteral("mnuMedsSummary"),
               QStringLiteral("Enter Report Date for Post Charged Meds Summary"),
               QStringLiteral("MedSummary.RPT"),
               {kFrom, kTo, text(QStringLiteral("O")), text(QString())},
               QStringLiteral("Post Charged Meds Summary")));
    // One list of operations, grouped as the command says.
    const QList<std::pair<QString, QString>> groupings{
        {QStringLiteral("mnuPerDate"), QStringLiteral("3")},
        {QStringLiteral("mnuPerDoctor"), QStringLiteral("1")},
        {QStringLiteral("mnuPerPatient"), QStringLiteral("0")},
        {QStringLiteral("mnuPerProcedure"), QStringLiteral("2")}};
    for (const auto &[command, grouping] : groupings)
        add(period(command, QStringLiteral("Enter report date"), QStringLiteral("PxOperations.RPT"),
                   {kFrom, kTo, text(grouping), kCompany, kAddress1},
                   QStringLiteral("List of Patients with Operations")));
    add(noPrompt(QStringLiteral("mnuLedger"), QStringLiteral("Patient_Ledger.RPT"),
                 ledgerValues(QStringLiteral("PATIENT'S OR LEDGER")),
                 QStringLiteral("Patient Ledger")));
    add(noPrompt(QStringLiteral("mnuPxCSSR"), QStringLiteral("Patient_CSR_Ledger.RPT"),
                 ledgerValues(QStringLiteral("PATIENT'S OR-CSSR LEDGER")),
                 QStringLiteral("Patient's Ledger")));

    // The census: all patients in one report, or HMO ("H") and all ("A") patients detailed
    // ("D") or summarised ("S").
    const QString census = QStringLiteral("MonthlyCensus.rpt");
    const QString censusTitle = QStringLiteral("Operating Room Census Report");
    const QString censusDetailed = QStringLiteral("Operating Room Census Report (Detailed)");
    // The older command names no patients: all of them, over the period asked.
    add(period(QStringLiteral("mnuCensusOrig"), kCensusCaption, census,
               {kAddress1, kCompany, text(QStringLiteral("A")), text(QStringLiteral("A")), kFrom,
                kTo},
               censusTitle));
    add(period(
        QStringLiteral("mnuCensusDetailed"), kCensusCaption, census,
        {kAddress1, kCompany, text(QStringLiteral("D")), text(QStringLiteral("H")), kFrom, kTo},
        censusDetailed));
    add(period(
        QStringLiteral("mnuCensusSummary"), kCensusCaption, census,
        {kAddress1, kCompany, text(QStringLiteral("S")), text(QStringLiteral("H")), kFrom, kTo},
        QStringLiteral("Operating Room Census Report (Summary)")));
    add(period(
        QStringLiteral("mnuCensusAllDetailed"), kCensusCaption, census,
        {kAddress1, kCompany, text(QStringLiteral("D")), text(QStringLiteral("A")), kFrom, kTo},
        censusDetailed));
    // The summary of all patients keeps the detailed report's title, as the hospital has it.
    add(period(
        QStringLiteral("mnuCensusAllSummary"), kCensusCaption, census,
        {kAddress1, kCompany, text(QStringLiteral("S")), text(QStringLiteral("A")), kFrom, kTo},
        censusDetailed));

    ReportCommandEntry monthly =
        period(QStringLiteral("mnuMonthly"), QStringLiteral("Enter Report Date for Monthly Report"),
               QStringLiteral("MonthlyReport.RPT"), {kFrom, kTo}, QStringLiteral("Monthly Report"));
    monthly.showGroupTree = true;
    add(monthly);
    add(period(QStringLiteral("mnuStat"),
               QStringLiteral("Enter Report Date for Statistical Report"),
               QStringLiteral("Census_SummaryByProcedure.rpt"), {kCompany, kAddress1, kFrom, kTo},
               QStringLiteral("Operating Room Statistical Report")));
    ReportCommandEntry schedule =
        period(QStringLiteral("mnuScheduleofoperations"), QStringLiteral("Enter Report Date "),
               QStringLiteral("ScheduleofOperation.rpt"), {kFrom, kTo},
               QStringLiteral("Schedule of Operations Report"));
    schedule.allowFutureDate = true;
    add(schedule);
    add(period(QStringLiteral("mnuORMandatory"),
               QStringLiteral("Enter Report Date for OR Mandatory Report"),
               QStringLiteral("OR_Mandatory_Report.rpt"), {kFrom, kTo},
               QStringLiteral("OR Mandatory")));
    add(period(QStringLiteral("mnuDOH"),
               QStringLiteral("Enter Report Date for DOH LogBook OR/DR Cases Report"),
               QStringLiteral("OR_Mandatory_Report.rpt"), {kFrom, kTo},
               QStringLiteral("DOH LogBook OR/DR Cases")));
    add(period(QStringLiteral("mnuORReport"), QStringLiteral("Enter Report Date for OR Report"),
               QStringLiteral("ORReport.rpt"), {kFrom, kTo}, QStringLiteral("OR Report")));

    ReportCommandEntry logbook;
    logbook.command = QStringLiteral("mnuORLogbook");
    logbook.prompt = ReportPrompt::MonthAndNumber;
    // The two parts face each other in the book: the second carries the same case numbers,
    // so it is handed the clerk's starting number after the period too.
    logbook.parts = {
        ReportPart{QStringLiteral("OR Logbook_Part1.rpt"),
                   {kFrom, kTo, v(S::StartingNumber), v(S::EmployeeName)}},
        ReportPart{QStringLiteral("OR Logbook_Part2.rpt"), {kFrom, kTo, v(S::StartingNumber)}}};
    logbook.title = QStringLiteral("OR Logbook");
    logbook.printAtOnce = true;
    add(logbook);

    add(withPrompt(noPrompt(QStringLiteral("mnuMonthlyORRoomCases"),
                            QStringLiteral("MonthlySummaryORDRCases.rpt"),
                            {kFrom, v(S::EmployeeCode)},
                            QStringLiteral("Monthly Summary of OR Room Cases")),
                   ReportPrompt::Month));
    add(withPrompt(noPrompt(QStringLiteral("mnuYearlyORRoomCases"),
                            QStringLiteral("YearlyReport_OrCases.rpt"), {kFrom, kTo},
                            QStringLiteral("OR Cases Yearly Report")),
                   ReportPrompt::Year));
    add(withPrompt(noPrompt(QStringLiteral("mnuYearlyIncome"),
                            QStringLiteral("ORDRYearlyIncomeReport.rpt"), {kFrom, kTo},
                            QStringLiteral("OR-DR Yearly Income Report")),
                   ReportPrompt::Year));
    add(period(QStringLiteral("mnuTopCases"), QStringLiteral("Enter Report Date for Room Cases"),
               QStringLiteral("OrTopRoomCases.rpt"), {kFrom, kTo},
               QStringLiteral("Census Report")));
    add(period(QStringLiteral("mnuTimeNMotion"),
               QStringLiteral("Enter Report Date for Time and Motion"),
               QStringLiteral("TimeNMotion.RPT"), {kFrom, kTo}, QStringLiteral("Time and Motion")));
    add(period(QStringLiteral("mnuPhilhealth"),
               QStringLiteral("Enter Report Date for Philhealth LogBook"),
               QStringLiteral("DailyAdmissionLogbook.rpt"), {kFrom, kTo, kAddress1},
               QStringLiteral("Philhealth LogBook")));
    add(period(QStringLiteral("mnuProcCatRep"), kIncomeCaption,
               QStringLiteral("ByCategoryReport.rpt"), {kFrom, kTo},
               QStringLiteral("Procedure By Category Report")));
    // The pick-up list's prompt has no caption of its own: the window keeps its usual one.
    add(period(QStringLiteral("mnuAMPickUp"), QString(), QStringLiteral("ListAMPickUps.rpt"),
               {kStation, kFrom, kTo, v(S::EmployeeName)},
               QStringLiteral("List of Laboratory AM Pick-up Requests")));

    add(noPrompt(QStringLiteral("mnuAdmCensus"), QStringLiteral("CensusByStation_TWY.RPT"),
                 {v(S::ServerDate), text(QString())}, QStringLiteral("Census Report")));
    add(noPrompt(QStringLiteral("mnuCash"), QStringLiteral("CashBasisAllPatients.RPT"), {},
                 QStringLiteral("Cash Basis Report")));
    add(noPrompt(QStringLiteral("mnuPriceList"), QStringLiteral("ListProcedures.RPT"),
                 {text(QStringLiteral("OR"))}, QStringLiteral("List of Procedures and Supplies")));
    add(noPrompt(QStringLiteral("mnuDischargeNoticeStatus"),
                 QStringLiteral("PatientDischargeNoticeStatus.RPT"), {text(QString())},
                 QStringLiteral("Patient Discharge Notice Status")));
    // The request list has no title of its own.
    add(noPrompt(QStringLiteral("mnuRS"), QStringLiteral("List_of_RequestOrders.Rpt"),
                 {v(S::IdNum)}, QString()));

    // Blank forms for the patient highlighted in the patient list.
    const QList<std::pair<QString, std::pair<QString, QString>>> forms{
        {QStringLiteral("mnuCountingSheet"),
         {QStringLiteral("SpongeInstrumentNeedle.rpt"),
          QStringLiteral("Sponge, Instrument and Needle Counting Sheet")}},
        {QStringLiteral("mnuOperativeTechnique"),
         {QStringLiteral("OperativeTechnique.rpt"), QStringLiteral("Operative Technique")}},
        {QStringLiteral("mnuWHOSurgicalSafety"),
         {QStringLiteral("WHOSurgicalSafety.rpt"),
          QStringLiteral("WHO Surgical Safety Checklist")}},
        {QStringLiteral("mnuLabChemistry"),
         {QStringLiteral("LabChemistry.rpt"), QStringLiteral("LABORATORY RESULT CHEMISTRY")}},
        {QStringLiteral("mnuLabHematology"),
         {QStringLiteral("LabHematology.rpt"), QStringLiteral("LABORATORY RESULT HEMATOLOGY")}},
        {QStringLiteral("mnuLabImmunoSerology"),
         {QStringLiteral("LabImmunoSerology.rpt"),
          QStringLiteral("LABORATORY RESULT IMMUNOSEROLOGY")}},
        {QStringLiteral("mnuLabMicrobiology"),
         {QStringLiteral("LabMicrobiology.rpt"), QStringLiteral("LABORATORY RESULT MICROBIOLOGY")}},
        {QStringLiteral("mnuLabMicroscopic"),
         {QStringLiteral("LabMicroscopic.rpt"), QStringLiteral("LABORATORY RESULT MICROSCOPIC")}},
    };
    for (const auto &[command, form] : forms)
        add(noPrompt(command, form.first, {kHighlighted}, form.second));
    add(noPrompt(QStringLiteral("mnuPDS"), QStringLiteral("ORAdmDataSheet.rpt"),
                 {kHighlighted, kAddress1}, QStringLiteral("PATIENT DATA SHEET")));
    return c;
}

const QList<ReportCommandEntry> &catalog()
{
    static const QList<ReportCommandEntry> entries = buildCatalog();
    return entries;
}

bool usesAny(const ReportCommandEntry &entry, const std::initializer_list<S> &sources)
{
    for (const ReportPart &part : entry.parts) {
        for (const ReportValue &value : part.values) {
            if (std::find(sources.begin(), sources.end(), value.source) != sources.end())
                return true;
        }
    }
    return false;
}

} // namespace

bool ReportCommandEntry::needsPatient() const
{
    return usesAny(*this, {S::PatientName, S::PatientAddress, S::AccountNumber, S::PatientCompany,
                           S::IdNum, S::HospNum, S::AdmissionDate, S::DischargeDate, S::RoomID});
}

bool ReportCommandEntry::needsHighlightedRow() const
{
    return usesAny(*this, {S::HighlightedIdNum});
}

std::optional<ReportCommandEntry> reportCommand(const QString &command,
                                                const ReportCatalogContext &context)
{
    const auto &entries = catalog();
    const auto it = std::find_if(entries.cbegin(), entries.cend(),
                                 [&command](const auto &e) { return e.command == command; });
    if (it == entries.cend())
        return std::nullopt;
    ReportCommandEntry entry = *it;

    if (command == u"mnuMonthly" && context.clientname == u"QELM") {
        // This client's monthly report is its MICU report, with the heading texts first and
        // no group tree.
        entry.parts = {ReportPart{
            QStringLiteral("Monthly_Report.RPT"),
            {kCompany, kAddress1, text(QStringLiteral("MONTHLY MICU REPORT")), kFrom, kTo}}};
        entry.showGroupTree = false;
    } else if (command == u"mnuORLogbook") {
        if (context.clientname == u"RYSEN") {
            // This client keeps a daily logbook over any period, without starting numbers; its
            // period prompt has no caption of its own.
            entry.prompt = ReportPrompt::Period;
            entry.caption.clear();
            entry.parts = {ReportPart{QStringLiteral("DailyORLogbook.rpt"), {kFrom, kTo}}};
        } else if (context.logbookOnePage) {
            entry.parts.removeLast();
        }
    }
    return entry;
}

QStringList reportCommandNames()
{
    QStringList names;
    for (const ReportCommandEntry &entry : catalog())
        names.append(entry.command);
    return names;
}

} // namespace kestrel
