// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ReportService.h"

#include <QList>

namespace kestrel::test {

/// A ReportDisplay for tests: remembers every report it was asked to show or print, and
/// fails printing when told to.
class RecordingReportDisplay : public ReportDisplay
{
public:
    enum class Kind { Viewer, MedicationSheet, Printed };
    struct Shown
    {
        Kind kind;
        std::shared_ptr<const RenderedReport> report;
        ViewerOptions options; ///< for the medication sheet only the title is set
    };

    void showViewer(std::shared_ptr<const RenderedReport> report,
                    const ViewerOptions &options) override;
    void showMedicationSheet(std::shared_ptr<const RenderedReport> report,
                             const QString &title) override;
    Result<void> printNow(std::shared_ptr<const RenderedReport> report) override;

    /// The next printNow() calls fail with `message` (none when empty).
    void failPrinting(const QString &message) { m_printFailure = message; }

    const QList<Shown> &shown() const { return m_shown; }
    /// The last report shown or printed, or nullptr.
    std::shared_ptr<const RenderedReport> last() const
    {
        return m_shown.isEmpty() ? nullptr : m_shown.last().report;
    }
    void clear() { m_shown.clear(); }

private:
    QList<Shown> m_shown;
    QString m_printFailure;
};

} // namespace kestrel::test
