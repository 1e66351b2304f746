// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/FluidSheet.h"

#include <QList>
#include <QWidget>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QSpinBox;
class QTableWidget;

namespace kestrel {

/// "Fluid Intake and Output Entry": one column per shift and the day's "24 Hrs. TOTAL", rows
/// INPUT ("Oral:", "Parenteral:", "Total:") and OUTPUT ("Urine:", "Drainage:", "Others:",
/// "Total:") and the balance; totals follow what is typed.
class frmFluid : public QWidget
{
    Q_OBJECT

public:
    frmFluid(Session &session, ReportService *reports, QWidget *parent = nullptr);

    nursing::FluidSheet &presenter() { return m_sheet; }
    bool open(const CurrentPatientRecord &stay);

private:
    void build();
    void showDay();
    void showTotals();
    /// What the column of shift `n` holds.
    nursing::FluidAmounts typed(int n) const;

    nursing::FluidSheet m_sheet;
    QLineEdit *m_patient = nullptr;
    QDateEdit *m_date = nullptr;
    QTableWidget *m_grid = nullptr;
    /// The amounts typed, shift by shift: oral, parenteral, urine, drainage, others.
    QList<QList<QSpinBox *>> m_amounts;
    QComboBox *m_shift = nullptr;
};

} // namespace kestrel
