// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/RenderedReport.h"
#include "reports/ReportRenderer.h"

#include <QString>
#include <QVariantList>

#include <memory>
#include <optional>

namespace kestrel {

class Database;
class Notifier;

/// How a report is shown: the viewer's caption and switches.
struct ViewerOptions
{
    bool showGroupTree = false;
    QString title;
    bool directPrint = false;
    bool disablePrintExport = false;
};

/// Asks the user for the parameters of a report that the program opened without their
/// values (a period given one date of two, a heading left out). The widget side shows a
/// dialog; tests answer from a script.
class ParameterPrompt
{
public:
    virtual ~ParameterPrompt() = default;
    /// The values of `missing` in their order, as the user typed them (a date as a QDate);
    /// nothing when the user cancels.
    virtual std::optional<QVariantList> askParameters(const QString &reportTitle,
                                                      const QList<ReportParameter> &missing) = 0;
};

/// Where a rendered report goes: the viewer windows and the printer. The widget side
/// implements it; tests record what would have been shown.
class ReportDisplay
{
public:
    virtual ~ReportDisplay() = default;
    /// Who asks for the values of parameters the program did not give; without one (a run
    /// with nobody at the screen) such parameters stay without a value.
    virtual ParameterPrompt *prompt() { return nullptr; }
    virtual void showViewer(std::shared_ptr<const RenderedReport> report,
                            const ViewerOptions &options) = 0;
    virtual void showMedicationSheet(std::shared_ptr<const RenderedReport> report,
                                     const QString &title) = 0;
    virtual Result<void> printNow(std::shared_ptr<const RenderedReport> report) = 0;
};

/// The process-wide current report and the three routines every printing window calls.
class ReportService
{
public:
    ReportService(Database &db, QString reportsFolder, ReportHeadings headings,
                  ReportDisplay &display, Notifier &notifier);
    ~ReportService();

    /// Opens the definition `file` (a full path or a name in the reports folder, found
    /// without regard to case), gives it the headings and the values in order; renders it.
    /// Parameters left without a value (not passed, or passed null) are asked for through
    /// the display's prompt first; a cancelled prompt opens nothing and returns false.
    /// A missing/broken definition or a failing query: the shared error box with the reason,
    /// and false (no current report).
    bool OpenReport(const QString &file, const QVariantList &values);
    /// Gives the subreport `name` of the current report its values and renders the report
    /// again with it. False (and the error box) when there is no such subreport or it fails.
    bool OpenSubreport(const QString &name, const QVariantList &values);

    enum class Shown { Viewer, MedicationSheet, Printed, Nothing };
    /// Prints the current report at once, or shows it in the medication sheet or the viewer.
    Shown ShowReport(bool showGroupTree, const QString &title, bool printNow = false,
                     bool medicationSheet = false, bool disablePrintExport = false);

    std::shared_ptr<const RenderedReport> current() const;
    QString reportsFolder() const;
    /// The headings given to every report; the program sets them after the settings load.
    void setHeadings(ReportHeadings headings);

private:
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace kestrel
