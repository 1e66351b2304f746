// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForm.h"

#include <QList>
#include <QWidget>

class QCheckBox;
class QLineEdit;
class QPlainTextEdit;

namespace kestrel {

class clsCodeLookup;

namespace nursing {
class FormButtons;
class OperationHeader;
class YesNoPair;
} // namespace nursing

/// "Pre-Anesthetic Evaluation": the anaesthesiologist's questions before the operation,
/// answered YES/NO, the findings of the assessment, the classification and plan, and remarks,
/// under the patient's name and age.
class frmPreAnesthetic : public QWidget
{
    Q_OBJECT

public:
    frmPreAnesthetic(Session &session, ReportService *reports, clsCodeLookup *doctors,
                     QWidget *parent = nullptr);

    nursing::NursingForm &presenter() { return m_form; }
    bool open(const CurrentPatientRecord &stay);

private:
    void build(clsCodeLookup *doctors);
    void takeEdits();
    void showRecord();

    Session &m_session;
    nursing::NursingForm m_form;
    nursing::OperationHeader *m_header = nullptr;
    QList<nursing::YesNoPair *> m_answers;
    QList<QLineEdit *> m_findings;
    QList<QCheckBox *> m_boxes;
    QPlainTextEdit *m_remarks = nullptr;
    nursing::FormButtons *m_buttons = nullptr;
};

} // namespace kestrel
