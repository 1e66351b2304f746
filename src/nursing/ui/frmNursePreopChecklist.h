// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForm.h"

#include <QList>
#include <QWidget>

class QLineEdit;
class QPlainTextEdit;

namespace kestrel {

class clsCodeLookup;

namespace nursing {
class FormButtons;
class OperationHeader;
class YesNoPair;
} // namespace nursing

/// "Nurse Pre-Operative Checklist Entry": what the ward nurse checked before sending the
/// patient to the OR, item by item with YES/NO and a remark, the medicines given, the vital
/// signs and the nurses who signed.
class frmNursePreopChecklist : public QWidget
{
    Q_OBJECT

public:
    frmNursePreopChecklist(Session &session, ReportService *reports, clsCodeLookup *doctors,
                           QWidget *parent = nullptr);

    nursing::NursingForm &presenter() { return m_form; }
    /// Opens the stay's checklist; false (after the message) when it cannot.
    bool open(const CurrentPatientRecord &stay);

private:
    void build(clsCodeLookup *doctors);
    void takeEdits();
    void showRecord();

    nursing::NursingForm m_form;
    nursing::OperationHeader *m_header = nullptr;
    QLineEdit *m_byWhom = nullptr;
    QList<nursing::YesNoPair *> m_answers;
    QList<QLineEdit *> m_remarks;
    QList<QLineEdit *> m_meds, m_doses, m_times;
    QList<QLineEdit *> m_signs;
    QList<QLineEdit *> m_signers;
    QPlainTextEdit *m_spiritual = nullptr;
    nursing::FormButtons *m_buttons = nullptr;
};

} // namespace kestrel
