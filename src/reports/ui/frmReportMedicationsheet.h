// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/ui/frmReportViewer.h"

#include <QDialog>

namespace kestrel {

/// The medication sheet's viewer: the report viewer's pages, navigation, zoom, printing and
/// export, in a modal window of its own.
class frmReportMedicationsheet : public QDialog
{
    Q_OBJECT

public:
    frmReportMedicationsheet(std::shared_ptr<const RenderedReport> report,
                             const ViewerOptions &options, Notifier &notifier,
                             QWidget *parent = nullptr);

    frmReportViewer &viewer() const { return *m_viewer; }

private:
    frmReportViewer *m_viewer = nullptr;
};

} // namespace kestrel
