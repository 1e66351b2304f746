// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/HourlySheet.h"

#include <QWidget>

class QDateEdit;
class QGridLayout;
class QLabel;
class QTableWidget;

namespace kestrel {

/// "Hourly Monitoring Sheet": the grid `grdEntry` of one day, hour by hour, with the intake
/// (parenterals, oral or NGT) and output (urine, drains, others) and each hour's totals.
class frmHourlyMonitor : public QWidget
{
    Q_OBJECT

public:
    static constexpr int kRows = 24;

    frmHourlyMonitor(Session &session, ReportService *reports, QWidget *parent = nullptr);

    nursing::HourlySheet &presenter() { return m_sheet; }
    bool open(const CurrentPatientRecord &stay);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void showDay();
    /// Hands the grid to the presenter; its refusal, if any.
    std::optional<QString> takeGrid();
    void showRowTotals(int row);

    nursing::HourlySheet m_sheet;
    QGridLayout *m_header = nullptr;
    QDateEdit *m_date = nullptr;
    QLabel *m_saved = nullptr;
    QTableWidget *m_grid = nullptr;
    bool m_filling = false;
};

} // namespace kestrel
