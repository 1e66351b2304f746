// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeInstructions.h"

#include <QWidget>

class QLineEdit;
class QPlainTextEdit;
class QTableWidget;

namespace kestrel {

class SpellCheckedText;

/// "Discharge Instructions and Medications": what the patient takes home, with the home care
/// plan. Changes are offered for saving when the window closes.
class frmDCRInstructionMedicationSheet : public QWidget
{
    Q_OBJECT

public:
    frmDCRInstructionMedicationSheet(Session &session, ReportService *reports,
                                     QWidget *parent = nullptr);

    discharge::DischargeInstructions &presenter() { return m_presenter; }
    /// The spell checking of the free texts; nullptr where it is off or has no dictionary.
    SpellCheckedText *spelling() const { return m_spelling; }
    bool open(const QString &idNum);

protected:
    frmDCRInstructionMedicationSheet(Session &session, ReportService *reports,
                                     discharge::DischargeInstructions::Kind kind,
                                     QWidget *parent);
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    /// The typed values handed to the presenter.
    void takeEdits();

    discharge::DischargeInstructions m_presenter;
    QLineEdit *m_patient = nullptr;
    QLineEdit *m_admission = nullptr;
    QLineEdit *m_doctor = nullptr;
    QLineEdit *m_diagnosis = nullptr;
    QPlainTextEdit *m_instructions = nullptr;
    QPlainTextEdit *m_medications = nullptr;
    QTableWidget *m_drugs = nullptr; ///< the newer sheet's grid
    QLineEdit *m_checkUp = nullptr;
    QLineEdit *m_checkInOn = nullptr;
    QLineEdit *m_activity = nullptr;
    QLineEdit *m_diet = nullptr;
    QLineEdit *m_observe = nullptr;
    QLineEdit *m_guardian = nullptr;
    QLineEdit *m_receivedBy = nullptr;
    QPlainTextEdit *m_plan = nullptr;
    SpellCheckedText *m_spelling = nullptr;
};

/// The newer form of the sheet: the medicines also as a grid of drugs.
class frmDCRInstructionMedicationSheetNew : public frmDCRInstructionMedicationSheet
{
    Q_OBJECT

public:
    frmDCRInstructionMedicationSheetNew(Session &session, ReportService *reports,
                                        QWidget *parent = nullptr);
};

} // namespace kestrel
