// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "support/RecordingReportDisplay.h"

namespace kestrel::test {

void RecordingReportDisplay::showViewer(std::shared_ptr<const RenderedReport> report,
                                        const ViewerOptions &options)
{
    m_shown << Shown{Kind::Viewer, std::move(report), options};
}

void RecordingReportDisplay::showMedicationSheet(std::shared_ptr<const RenderedReport> report,
                                                 const QString &title)
{
    m_shown << Shown{Kind::MedicationSheet, std::move(report), ViewerOptions{.title = title}};
}

Result<void> RecordingReportDisplay::printNow(std::shared_ptr<const RenderedReport> report)
{
    if (!m_printFailure.isEmpty())
        return failure(m_printFailure);
    m_shown << Shown{Kind::Printed, std::move(report), {}};
    return {};
}

} // namespace kestrel::test
