// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/PatientIndex.h"

#include <QDialog>

class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableWidget;

namespace kestrel {

/// "Update Patient Operating Procedure": a patient found by hospital number or by name in
/// `txtHospNum`, shown with his particulars, the OR procedures posted to him (`grdAdmissionList`)
/// and the updates of their records (`grdUpdates`). Double-clicking a procedure opens its
/// surgical memo; `cmdNew` opens one with no procedure, `cmdRefresh` reads the patient again
/// and `cmdClose` closes.
class frmPatientIndex : public QDialog
{
    Q_OBJECT

public:
    frmPatientIndex(Session &session, clsPatientFinder *finder, clsCF4 *cf4,
                    QWidget *parent = nullptr);

    PatientIndex &presenter() { return m_presenter; }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    void showPatient();
    /// The patient picker of a name that several patients have.
    std::optional<int> choosePatient(const QList<PatientMatch> &matches);

    PatientIndex m_presenter;
    QLineEdit *m_hospNum = nullptr;
    QLineEdit *m_idNum = nullptr;
    QLabel *m_guideline = nullptr;
    QLineEdit *m_patientName = nullptr;
    QLineEdit *m_address = nullptr;
    QLineEdit *m_birthDate = nullptr;
    QLineEdit *m_age = nullptr;
    QLineEdit *m_sex = nullptr;
    QLineEdit *m_bloodType = nullptr;
    QTabWidget *m_tabs = nullptr;
    QTableWidget *m_procedures = nullptr;
    QTableWidget *m_updates = nullptr;
    QPushButton *m_new = nullptr;
    QPushButton *m_refresh = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace kestrel
