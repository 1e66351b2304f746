// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "reports/MenuPrints.h"

#include <QWidget>

class QComboBox;
class QLineEdit;
class QPushButton;

namespace kestrel {

class clsCodeLookup;

/// "PhilHealth CSF" / "PhilHealth CSF Template": the requesting doctor (`txtDoctor`, picked
/// with `cmdDoctor` from the doctors' list), `cmdPrint` "&Print" and `cmdClose` "&Close".
class frmCSFDoctors : public QWidget
{
    Q_OBJECT

public:
    frmCSFDoctors(Session &session, ReportService *reports, clsCodeLookup *lookup,
                  CsfDoctors::Form form, QWidget *parent = nullptr);
    CsfDoctors &presenter() { return m_presenter; }

private:
    void pickDoctor();
    void refresh();

    CsfDoctors m_presenter;
    clsCodeLookup *m_lookup;
    QLineEdit *m_doctor = nullptr;
    QPushButton *m_pick = nullptr;
    QPushButton *m_print = nullptr;
};

/// "Stocks Monitoring": the stock (`cboRevenue`: "OM" medicines, "OS" supplies), `cmdPrint`
/// "&Print" and `cmdClose` "&Close".
class frmStockMonitoring : public QWidget
{
    Q_OBJECT

public:
    frmStockMonitoring(Session &session, ReportService *reports, QWidget *parent = nullptr);
    StockMonitoring &presenter() { return m_presenter; }

private:
    StockMonitoring m_presenter;
    QComboBox *m_revenue = nullptr;
};

} // namespace kestrel
