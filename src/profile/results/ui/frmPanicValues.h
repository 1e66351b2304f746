// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/results/PanicValues.h"

#include <QWidget>

class QTableWidget;

namespace kestrel {

/// "Laboratory Results with Panic Values": the grid `mshPx` with "&View Result", "&Refresh"
/// and "&Close".
class frmPanicValues : public QWidget
{
    Q_OBJECT

public:
    frmPanicValues(Session &session, ReportService *reports, QWidget *parent = nullptr);

    PanicValues &presenter() { return m_presenter; }
    /// Reads the list again and shows it.
    void refresh();

private:
    PanicValues m_presenter;
    QTableWidget *m_grid = nullptr;
};

} // namespace kestrel
