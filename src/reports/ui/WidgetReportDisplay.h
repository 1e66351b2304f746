// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ReportService.h"
#include "reports/ui/frmReportParameters.h"
#include "reports/ui/frmReportViewer.h"

#include <QMdiArea>
#include <QPointer>

namespace kestrel {

class Notifier;

/// Where the running program shows its reports: each viewer in the main window's work area
/// (a window of its own when there is none), the medication sheet modally, and printing at
/// once on the default printer.
class WidgetReportDisplay : public ReportDisplay
{
public:
    /// `workArea` is the main window's MDI area; null opens viewers as windows of their own.
    WidgetReportDisplay(Notifier &notifier, QMdiArea *workArea = nullptr);

    void setWorkArea(QMdiArea *workArea) { m_workArea = workArea; }

    void showViewer(std::shared_ptr<const RenderedReport> report,
                    const ViewerOptions &options) override;
    void showMedicationSheet(std::shared_ptr<const RenderedReport> report,
                             const QString &title) override;
    Result<void> printNow(std::shared_ptr<const RenderedReport> report) override;
    /// Parameters the program did not give are asked for in a dialog.
    ParameterPrompt *prompt() override { return &m_prompt; }

    /// The viewer shown last, while it is open.
    frmReportViewer *lastViewer() const { return m_lastViewer.data(); }

private:
    Notifier &m_notifier;
    QPointer<QMdiArea> m_workArea;
    QPointer<frmReportViewer> m_lastViewer;
    WidgetParameterPrompt m_prompt;
};

} // namespace kestrel
