// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrel {

/// The prompt a report command asks its period with.
enum class ReportPrompt {
    None,
    /// `frmReport`: from and to, with the command's caption.
    Period,
    /// `frmReportDate` in month mode: one month, stored into from and to.
    Month,
    /// `frmReportDate` in year mode: the whole year, 01/01 to 12/31.
    Year,
    /// `frmReportMonth`: a month as its first and last day, and a starting number.
    MonthAndNumber,
};

/// Where one value a report command hands its report comes from.
enum class ReportValueSource {
    Text, ///< the fixed text of the catalog
    From,
    To,
    StartingNumber,
    // Hospital settings and the station
    Company,
    Address1,
    IsShowAmount,
    StationID,
    // The logged-in user and the server
    EmployeeName,
    EmployeeCode,
    ServerDate,
    // The current patient
    PatientName,
    PatientAddress,
    AccountNumber,
    PatientCompany,
    IdNum,
    HospNum,
    AdmissionDate,
    DischargeDate,
    RoomID,
    /// The admission number of the row highlighted in the patient list.
    HighlightedIdNum,
};

/// One value of a report command: its source, and the text for a fixed text.
struct ReportValue
{
    ReportValueSource source = ReportValueSource::Text;
    QString text;

    bool operator==(const ReportValue &) const = default;
};

/// One report file a command opens, with its values in the order of the report's fields.
struct ReportPart
{
    QString file;
    QList<ReportValue> values;
};

/// A report command of the main window as this hospital runs it.
struct ReportCommandEntry
{
    QString command;
    /// The access right the main window checks before it asks for the report ("" for none).
    QString right;
    ReportPrompt prompt = ReportPrompt::None;
    /// The caption of `frmReport`, and whether its dates may lie after the server date.
    QString caption;
    bool allowFutureDate = false;
    /// The reports opened, in order; the OR logbook prints two.
    QList<ReportPart> parts;
    /// The viewer's caption.
    QString title;
    bool showGroupTree = false;
    /// Printed at once to the default printer, no viewer.
    bool printAtOnce = false;

    /// Whether a value comes from the current patient (patient commands need one selected).
    bool needsPatient() const;
    /// Whether a value is the highlighted row of the patient list.
    bool needsHighlightedRow() const;
};

/// What makes the catalog differ from hospital to hospital.
struct ReportCatalogContext
{
    QString clientname;          ///< the hospital's client code
    bool logbookOnePage = false; ///< the station switch: the OR logbook in one part
};

/// The entry of the report command `command` ("mnuAudit") for the hospital `context`
/// describes; nothing for a command that is not a report of the catalog.
std::optional<ReportCommandEntry> reportCommand(const QString &command,
                                                const ReportCatalogContext &context);
/// Every report command of the catalog, in the order of the Reports and Inquiry menus.
QStringList reportCommandNames();

} // namespace kestrel
