// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/DischargeOrder.h"

#include <QWidget>

#include <array>

class QCheckBox;
class QDateEdit;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;
class QTimeEdit;

namespace kestrel {

/// "Discharge Order": the final diagnoses and operations of the stay with their case-rate tags
/// and fees, the doctors' professional fees, the billing checklist and the discharge
/// information; saved, sent to billing or revoked.
class frmHBPSCaseRate : public QWidget
{
    Q_OBJECT

public:
    explicit frmHBPSCaseRate(Session &session, QWidget *parent = nullptr);

    caserates::DischargeOrder &presenter() { return m_presenter; }
    bool open(const QString &idNum);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QTableWidget *lineGrid(const QString &name, const QStringList &headers);
    QTableWidget *doctorGrid(const QString &name, bool withRole);
    void showAll();
    void showLines(QTableWidget *grid, const QList<int> &lines, bool operations);
    void showDoctors(caserates::DoctorGroup group);
    void lineMenu(QTableWidget *grid, const QPoint &at);
    int lineAt(QTableWidget *grid, int row) const;
    void addDiagnosis(const QString &typed);
    void addOperation(const QString &typed);
    void addDoctor(caserates::DoctorGroup group);
    void feeEdited(caserates::DoctorGroup group, int row, int column);
    void takeDischargeInfo();

    Session &m_session;
    caserates::DischargeOrder m_presenter;
    QLabel *m_patient = nullptr;
    QLineEdit *m_diagEntry = nullptr;
    QLineEdit *m_orEntry = nullptr;
    QDateEdit *m_operated = nullptr;
    QTableWidget *m_icd = nullptr;
    QTableWidget *m_rvs = nullptr;
    std::array<QTableWidget *, 3> m_doctors{};
    std::array<QLineEdit *, 3> m_doctorEntry{};
    std::array<QLabel *, 3> m_doctorLabel{};
    QLabel *m_totalHospital = nullptr;
    QLabel *m_totalProfessional = nullptr;
    QDateEdit *m_orderDate = nullptr;
    QTimeEdit *m_orderTime = nullptr;
    QCheckBox *m_serverTime = nullptr;
    QDateEdit *m_billUpTo = nullptr;
    QPlainTextEdit *m_remarks = nullptr;
    QTableWidget *m_checklist = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_send = nullptr;
    QPushButton *m_revoke = nullptr;
    QLabel *m_status = nullptr;
    bool m_filling = false;
    bool m_closing = false;
};

} // namespace kestrel
