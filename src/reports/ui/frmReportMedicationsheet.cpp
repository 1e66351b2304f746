// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmReportMedicationsheet.h"

#include <QVBoxLayout>

namespace kestrel {

frmReportMedicationsheet::frmReportMedicationsheet(std::shared_ptr<const RenderedReport> report,
                                                   const ViewerOptions &options, Notifier &notifier,
                                                   QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmReportMedicationsheet"));
    setWindowTitle(options.title);
    setModal(true);
    m_viewer = new frmReportViewer(std::move(report), options, notifier, this);
    // The dialog owns the viewer; it must not delete itself when the dialog closes.
    m_viewer->setAttribute(Qt::WA_DeleteOnClose, false);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_viewer);
    resize(m_viewer->size());
}

} // namespace kestrel
