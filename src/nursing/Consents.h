// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForm.h"

#include <QDate>

#include <memory>

namespace kestrel {

class ReportService;
class Session;

namespace nursing {

/// The four consents the OR keeps for a stay, one record each.
enum class ConsentKind { SurgicalTreatment, Treatment, Sterilization, SpecialTreatment };

/// The patient's age on `on` as the consents print it: whole years from the first birthday on
/// ("34 years"), whole months below a year ("5 months"), days below a month ("12 days"). Empty
/// when the birth date is unknown or after `on`.
QString ageText(const QDate &birth, const QDate &on);
/// Whether the patient is under eighteen on `on`, so that a representative signs for him.
bool isMinor(const QDate &birth, const QDate &on);

/// The consent's place in the shared form pattern: table, save procedure, columns, texts,
/// report, and its required fields.
FormDefinition consentDefinition(ConsentKind kind);

/// A consent form of the current stay: the shared form pattern with the patient's age at the
/// signing, the representative who signs for a minor, and "Save/Print".
class Consent
{
public:
    Consent(Session &session, ReportService *reports, ConsentKind kind);
    Consent(const Consent &) = delete;
    Consent &operator=(const Consent &) = delete;

    ConsentKind kind() const { return m_kind; }
    NursingForm &form() { return *m_form; }
    const NursingForm &form() const { return *m_form; }

    /// Reads the stay's consent and the patient's name and birth date.
    bool open(const CurrentPatientRecord &stay);
    QString patientName() const { return m_patientName; }
    QDate birthDate() const { return m_birth; }
    /// The day the age is counted to: the consent's signing date when it has one, the day it
    /// was saved for the consents without one, today otherwise.
    QDate signingDay() const;
    QString age() const { return ageText(m_birth, signingDay()); }
    bool minor() const { return isMinor(m_birth, signingDay()); }

    /// Takes the consent as typed (the minor's age is filled in where the consent keeps it).
    void setRecord(const FormRecord &typed);
    /// Why the typed consent cannot be saved yet; nullopt when it can.
    std::optional<QString> missing() const;

    bool save();
    /// Prints the saved consent with the patient's age; one changed or never saved is refused
    /// with a message.
    bool print();
    /// "Save/Print": saves, and prints what was saved.
    bool saveAndPrint();

private:
    Session &m_session;
    ConsentKind m_kind;
    std::unique_ptr<NursingForm> m_form;
    QString m_patientName;
    QDate m_birth;
    QDate m_savedOn;
    QDate m_today;
};

} // namespace nursing
} // namespace kestrel
