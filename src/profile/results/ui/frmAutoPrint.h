// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/results/VerifiedResults.h"

#include <QWidget>

#include <memory>
#include <vector>

class QLabel;
class QProgressBar;
class QTabWidget;
class QTableWidget;

namespace kestrel {

/// "Verified Results": the results ready for printing at the station on four tabs
/// (laboratory, X-ray, CT scan, ultrasound), printed all at once or only the tagged ones.
class frmAutoPrint : public QWidget
{
    Q_OBJECT

public:
    frmAutoPrint(Session &session, ReportService *reports, QWidget *parent = nullptr);

    /// The presenter of the tab `index`, in the order of VerifiedResults::kinds().
    VerifiedResults &presenter(int index) { return *m_tabs.at(std::size_t(index)).presenter; }
    /// Reads every tab's list again.
    void reload();

private:
    struct Tab
    {
        std::unique_ptr<VerifiedResults> presenter;
        QTableWidget *grid = nullptr;
    };
    void showList(Tab &tab);
    Tab &currentTab();

    std::vector<Tab> m_tabs;
    QTabWidget *m_tabWidget = nullptr;
    QProgressBar *m_progress = nullptr;
    QLabel *m_caption = nullptr;
};

} // namespace kestrel
