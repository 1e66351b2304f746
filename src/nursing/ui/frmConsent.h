// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/Consents.h"

#include <QWidget>

class QDateEdit;
class QLabel;
class QLineEdit;
class QPlainTextEdit;

namespace kestrel {

class clsCodeLookup;

namespace nursing {
class FormButtons;
} // namespace nursing

/// The consent forms of a stay: "Consent for Surgical Treatment" (`frmSurgicalTreatment`),
/// "Consent for Treatment" (`frmTreatment`), "Consent for Sterilization Procedure"
/// (`frmSterilization`) and "Consent for Special Treatment" (`frmSpecialTreatment`). Each shows
/// the patient's age at the signing and, where the patient cannot sign, the representative.
class frmConsent : public QWidget
{
    Q_OBJECT

public:
    frmConsent(Session &session, ReportService *reports, clsCodeLookup *doctors,
               nursing::ConsentKind kind, QWidget *parent = nullptr);

    nursing::NursingForm &presenter() { return m_consent.form(); }
    nursing::Consent &consent() { return m_consent; }
    /// Opens the stay's consent; false (after the message) when it cannot.
    bool open(const CurrentPatientRecord &stay);

private:
    void build(clsCodeLookup *doctors);
    void takeEdits();
    void showRecord();
    void showAge();

    nursing::Consent m_consent;
    QLineEdit *m_patient = nullptr;
    QLineEdit *m_admission = nullptr;
    QLineEdit *m_age = nullptr;
    QLineEdit *m_surgeon = nullptr; ///< the surgeon, the doctor, or the doctor authorised
    QPlainTextEdit *m_procedure = nullptr;
    QLineEdit *m_exception = nullptr;
    QLineEdit *m_witness = nullptr;
    QDateEdit *m_dateSigned = nullptr;
    bool m_dateTouched = false; ///< the nurse picked the day of signing
    QLineEdit *m_spouse = nullptr;
    QLineEdit *m_representative = nullptr;
    QLineEdit *m_relation = nullptr;
    QLabel *m_minor = nullptr;
    QLineEdit *m_reason = nullptr;
    nursing::FormButtons *m_buttons = nullptr;
};

} // namespace kestrel
