// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/DoctorsFee.h"

#include <QDialog>

class QLabel;
class QTableWidget;

namespace kestrel {

/// The doctor's fee window: the fees of `mshFlexDoctorsFee` for the doctor of `lblDoctor` and
/// the patient of `lblPatient`; Enter or a double-click takes the highlighted fee, Esc closes
/// without one.
class frmDoctorsFee : public QDialog
{
    Q_OBJECT

public:
    /// `presenter` is loaded already; it outlives the window.
    explicit frmDoctorsFee(DoctorsFee &presenter, QWidget *parent = nullptr);

private:
    void buildUi();
    void fill();
    void chooseCurrent();

    DoctorsFee &m_presenter;
    QTableWidget *m_grid = nullptr;
    QLabel *m_doctor = nullptr;
    QLabel *m_patient = nullptr;
};

} // namespace kestrel
