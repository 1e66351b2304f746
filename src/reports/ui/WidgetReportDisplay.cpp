// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/WidgetReportDisplay.h"

#include "reports/ui/frmReportMedicationsheet.h"
#include "reports/ui/frmReportViewer.h"

#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>

namespace kestrel {

WidgetReportDisplay::WidgetReportDisplay(Notifier &notifier, QMdiArea *workArea)
    : m_notifier(notifier)
    , m_workArea(workArea)
{
}

void WidgetReportDisplay::showViewer(std::shared_ptr<const RenderedReport> report,
                                     const ViewerOptions &options)
{
    // A new viewer each time: one already open keeps showing the report it was given.
    auto *viewer = new frmReportViewer(std::move(report), options, m_notifier);
    m_lastViewer = viewer;
    if (m_workArea) {
        QMdiSubWindow *sub = m_workArea->addSubWindow(viewer);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowTitle(options.title);
        // A report is read at full size, as the viewer of a printed page should be.
        sub->showMaximized();
        m_workArea->setActiveSubWindow(sub);
    } else {
        viewer->show();
    }
    if (options.directPrint)
        viewer->printReport(false);
}

void WidgetReportDisplay::showMedicationSheet(std::shared_ptr<const RenderedReport> report,
                                              const QString &title)
{
    ViewerOptions options;
    options.title = title;
    frmReportMedicationsheet sheet(std::move(report), options, m_notifier,
                                   QApplication::activeWindow());
    sheet.exec();
}

Result<void> WidgetReportDisplay::printNow(std::shared_ptr<const RenderedReport> report)
{
    if (!report)
        return failure(QStringLiteral("There is no report to print."));
    return printOnDefaultPrinter(*report);
}

} // namespace kestrel
