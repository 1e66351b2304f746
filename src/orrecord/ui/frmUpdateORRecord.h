// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "orrecord/OutpatientResult.h"
#include "patients/clsSearcher.h"
#include "patients/ui/WidgetSearcherPickList.h"

#include <QList>
#include <QWidget>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QTimeEdit;

namespace kestrel {

/// "Update Operation Room Record ( Result Entry )": the result that closes an outpatient OR
/// visit. The window closes once the result is saved.
class frmUpdateORRecord : public QWidget
{
    Q_OBJECT

public:
    frmUpdateORRecord(Session &session, clsIcdLookup *icd, clsCF4 *cf4, QWidget *parent = nullptr);

    OutpatientResult &presenter() { return m_presenter; }
    /// Reads the visit `idNum` into the window; false when there is none.
    bool open(const QString &idNum);
    /// Takes what the window shows into the entry and saves it, as "&Save" does.
    bool save();

private:
    struct CodeField
    {
        QLineEdit *code = nullptr;
        QLineEdit *name = nullptr;
    };

    QWidget *headerBox();
    QWidget *dischargeTab();
    QWidget *diagnosisTab();
    QWidget *referralTab();
    QWidget *precautionTab();
    CodeField codeField(const QString &name, int index);
    /// Runs the look-up of a code field when the user leaves it.
    void watch(CodeField field, const std::function<QString(const QString &)> &lookUp);
    void show(const OutpatientRecord &r);
    void collect();

    Session &m_session;
    OutpatientResult m_presenter;
    WidgetSearcherPickList m_pickList;
    clsSearcher m_searcher;
    QLineEdit *m_hospNum = nullptr, *m_idNum = nullptr, *m_erNum = nullptr;
    QLineEdit *m_lastName = nullptr, *m_firstName = nullptr, *m_middleName = nullptr;
    QLineEdit *m_birthDate = nullptr;
    QButtonGroup *m_sex = nullptr;
    QDateEdit *m_admDate = nullptr;
    QTimeEdit *m_admTime = nullptr;
    QLineEdit *m_dcrDate = nullptr;
    QTimeEdit *m_dcrTime = nullptr;
    QButtonGroup *m_type = nullptr;
    QButtonGroup *m_category = nullptr;
    QButtonGroup *m_erClass = nullptr;
    QList<QCheckBox *> m_erProcedures;
    QButtonGroup *m_condition = nullptr;
    QComboBox *m_disposition = nullptr;
    QList<CodeField> m_services, m_doctors, m_diagnoses, m_chiefIds;
    QPlainTextEdit *m_findings = nullptr, *m_medications = nullptr;
    QPlainTextEdit *m_chiefComplaints = nullptr, *m_briefHistory = nullptr;
    QPlainTextEdit *m_remarks = nullptr;
    CodeField m_diet;
    QLineEdit *m_dietRemarks = nullptr;
    QLineEdit *m_referredTo = nullptr;
    QPlainTextEdit *m_reason = nullptr;
    QCheckBox *m_transferred = nullptr;
    QDateEdit *m_transferDate = nullptr;
    QTimeEdit *m_transferTime = nullptr;
    QButtonGroup *m_deathType = nullptr;
    QDateEdit *m_expiredDate = nullptr, *m_releasedDate = nullptr;
    QTimeEdit *m_expiredTime = nullptr, *m_releasedTime = nullptr;
    QLineEdit *m_funeralParlor = nullptr;
    QButtonGroup *m_precaution = nullptr;
    QWidget *m_precautionBox = nullptr;
};

} // namespace kestrel
