// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/Consents.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "core/db/Database.h"

namespace kestrel::nursing {

namespace {

const QString kSurgeon = QStringLiteral("Surgeon");
const QString kDoctor = QStringLiteral("Doctor");
const QString kProcedure = QStringLiteral("Procedure");
const QString kDateSigned = QStringLiteral("DateSigned");
const QString kReason = QStringLiteral("Reason");
const QString kRepresentative = QStringLiteral("Representative");
const QString kRelation = QStringLiteral("Relation");
const QString kMinorAge = QStringLiteral("MinorAge");

FormColumn text(const QString &name, const QString &label, int maxLength = 120)
{
    return FormColumn{name, label, maxLength, 0};
}

QList<FormColumn> signers()
{
    return {text(QStringLiteral("Witness"), QStringLiteral("Witness")),
            text(kDateSigned, QStringLiteral("Date Signed"), 19),
            text(kReason, QStringLiteral("Patient is unable to sign because"), 1000),
            text(kRepresentative, QStringLiteral("Representative")),
            text(kRelation, QStringLiteral("Relationship to Patient"))};
}

// A day typed as "yyyy-MM-dd" or read back from the table with its time.
QDate dayOf(const QString &stored)
{
    return QDate::fromString(stored.left(10), QStringLiteral("yyyy-MM-dd"));
}

// The consent's own table and the column of its day of signing (the save time for the
// consents that have no date of their own).
QString signedColumn(const FormDefinition &definition)
{
    return definition.column(kDateSigned) ? kDateSigned : QStringLiteral("Transdate");
}

} // namespace

// Whole months from `birth` to `on`: a month is full on the day of the month of the birth (a
// birth on the 31st or on February 29 fills its month on the next month's first).
static int wholeMonths(const QDate &birth, const QDate &on)
{
    int months = (on.year() - birth.year()) * 12 + on.month() - birth.month();
    if (on.day() < birth.day())
        --months;
    return months;
}

QString ageText(const QDate &birth, const QDate &on)
{
    if (!birth.isValid() || !on.isValid() || birth > on)
        return {};
    const int months = wholeMonths(birth, on);
    if (months >= 12)
        return QString::number(months / 12) + QStringLiteral(" years");
    if (months >= 1)
        return QString::number(months) + QStringLiteral(" months");
    return QString::number(birth.daysTo(on)) + QStringLiteral(" days");
}

bool isMinor(const QDate &birth, const QDate &on)
{
    return birth.isValid() && on.isValid() && birth <= on && wholeMonths(birth, on) < 18 * 12;
}

FormDefinition consentDefinition(ConsentKind kind)
{
    FormDefinition definition;
    definition.messages.saveQuestion = QStringLiteral("Do you really want to save this transaction?");
    definition.messages.invalidUser = QStringLiteral("Invalid user information! ");
    definition.messages.deleteQuestion =
        QStringLiteral("Are you sure you want to delete consent record for this patient?");
    switch (kind) {
    case ConsentKind::SurgicalTreatment:
        definition.formName = QStringLiteral("frmSurgicalTreatment");
        definition.caption = QStringLiteral("Consent for Surgical Treatment");
        definition.table = QStringLiteral("STATION..tbSurgicalAuthorization");
        definition.saveProcedure = QStringLiteral("STATION..Nurse_SaveSurgicalAuthorization");
        definition.columns = {text(kSurgeon, QStringLiteral("Surgeon")),
                        text(kProcedure, QStringLiteral("Procedure"), 1000),
                        text(QStringLiteral("Exception"), QStringLiteral("Exception"), 1000)};
        definition.columns += signers();
        definition.report = QStringLiteral("SurgicalTreatmentConsent.rpt");
        definition.reportTitle = QStringLiteral("Authorization for Surgical Treatment");
        definition.messages.deleteQuestion = QStringLiteral(
            "Are you sure you want to delete Authorization record for this patient?");
        definition.messages.deleted =
            QStringLiteral("Authorization for Surgical Treatment record deleted.");
        definition.messages.deleteLog = QStringLiteral("Deleted Surgical Treatment Consent");
        break;
    case ConsentKind::Treatment:
        definition.formName = QStringLiteral("frmTreatment");
        definition.caption = QStringLiteral("Consent for Treatment");
        definition.table = QStringLiteral("STATION..tbConsentTreatment");
        definition.saveProcedure = QStringLiteral("STATION..Nurse_SaveConsentTreatment");
        definition.columns = signers();
        definition.report = QStringLiteral("RegularTreatmentConsent.rpt");
        definition.reportTitle = QStringLiteral("Consent for Treatment");
        definition.messages.deleted = QStringLiteral("Consent for treatment record was deleted.");
        definition.messages.deleteLog = QStringLiteral("Deleted Treatment Consent");
        break;
    case ConsentKind::Sterilization:
        definition.formName = QStringLiteral("frmSterilization");
        definition.caption = QStringLiteral("Consent for Sterilization Procedure");
        definition.table = QStringLiteral("STATION..tbSterilizationConsent");
        definition.saveProcedure = QStringLiteral("STATION..Nurse_SaveSterilizationConsent");
        definition.columns = {text(kProcedure, QStringLiteral("Procedure"), 1000),
                        text(QStringLiteral("Witness"), QStringLiteral("Witness")),
                        text(QStringLiteral("Authorized"), QStringLiteral("Authorized")),
                        text(QStringLiteral("ConsentingSpouse"),
                             QStringLiteral("Consenting Spouse"))};
        definition.report = QStringLiteral("SterilizationConsent.rpt");
        definition.reportTitle = QStringLiteral("Consent for Sterilization Procedure");
        definition.messages.deleted =
            QStringLiteral("Consent for Sterilization Procedure record deleted.");
        definition.messages.deleteLog = QStringLiteral("Deleted Sterilization Consent");
        break;
    case ConsentKind::SpecialTreatment:
        definition.formName = QStringLiteral("frmSpecialTreatment");
        definition.caption = QStringLiteral("Consent for Special Treatment");
        definition.table = QStringLiteral("STATION..tbSpecialTreatmentConsent");
        definition.saveProcedure = QStringLiteral("STATION..Nurse_SaveSpecialTreatmentConsent");
        definition.columns = {text(kDoctor, QStringLiteral("Doctor")),
                        text(kProcedure, QStringLiteral("Procedure"), 1000),
                        text(QStringLiteral("Witness"), QStringLiteral("Witness")),
                        text(kReason, QStringLiteral("Patient is unable to sign because"), 1000),
                        text(kRepresentative, QStringLiteral("Representative")),
                        text(kRelation, QStringLiteral("Relationship to Patient")),
                        text(kMinorAge, QStringLiteral("Patient is a minor"), 20)};
        definition.report = QStringLiteral("SpecialTreatmentConsent.rpt");
        definition.reportTitle = QStringLiteral("Consent for Special Treatment");
        definition.messages.deleted = QStringLiteral("Consent for Special Treatment record deleted.");
        definition.messages.deleteLog = QStringLiteral("Deleted Special Treatment Consent");
        break;
    }
    definition.messages.saved = definition.caption + QStringLiteral(" successfully saved.");
    return definition;
}

Consent::Consent(Session &session, ReportService *reports, ConsentKind kind)
    : m_session(session)
    , m_kind(kind)
{
    FormDefinition definition = consentDefinition(kind);
    definition.check = [this](const FormRecord &record) -> std::optional<QString> {
        const bool surgeonNamed = !record.text(kSurgeon).trimmed().isEmpty() ||
                                  !record.text(kDoctor).trimmed().isEmpty();
        const bool procedure = !record.text(kProcedure).trimmed().isEmpty();
        if ((m_kind == ConsentKind::SurgicalTreatment ||
             m_kind == ConsentKind::SpecialTreatment)) {
            if (!surgeonNamed)
                return QStringLiteral("Please provide name of surgeon.");
            if (!procedure)
                return QStringLiteral("Please provide procedure details.");
        }
        if (m_kind == ConsentKind::Sterilization) {
            if (!procedure)
                return QStringLiteral("Please specify name of procedure.");
            return std::nullopt;
        }
        const QString representative = record.text(kRepresentative).trimmed();
        if (representative.isEmpty() && minor())
            return QStringLiteral("The patient is a minor (%1 of age). Please provide the "
                                  "representative who signs for the patient.")
                .arg(age());
        if (representative.isEmpty() && !record.text(kReason).trimmed().isEmpty())
            return QStringLiteral("Please provide the representative who signs for the "
                                  "patient.");
        if (!representative.isEmpty() && record.text(kRelation).trimmed().isEmpty())
            return QStringLiteral("Please provide the representative's relationship to the "
                                  "patient.");
        return std::nullopt;
    };
    // The consent prints the patient's age on the day of signing, and again on the minor's line.
    definition.reportValues = [this](const NursingForm &form) {
        return QVariantList{form.idNum(), age(), minor() ? age() : QString()};
    };
    m_form = std::make_unique<NursingForm>(session, reports, std::move(definition));
}

bool Consent::open(const CurrentPatientRecord &stay)
{
    if (!m_form->open(stay))
        return false;
    Database &db = m_session.db();
    const QString sql =
        u"select M.LastName, M.FirstName, M.MiddleName, M.BirthDate, C." +
        signedColumn(m_form->definition()) +
        u" as SignedOn from (select IDNum, HospNum from PATIENT_DATA..tbPatient union all "
        u"select IDNum, HospNum from PATIENT_DATA..tbOutPatient) P "
        u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum left join " +
        m_form->definition().table + u" C on C.IDNum = P.IDNum where P.IDNum = :id";
    auto row = db.selectOne(sql, {{QStringLiteral("id"), stay.IdNum.trimmed()}});
    if (!row) {
        m_session.notifier().errorBox(row.error());
        return false;
    }
    m_patientName.clear();
    m_birth = {};
    m_savedOn = {};
    if (*row) {
        const Row &r = **row;
        m_patientName = QString(r.trimmed(u"LastName") + u", " + r.trimmed(u"FirstName") + u' ' +
                                r.trimmed(u"MiddleName"))
                            .simplified();
        m_birth = r.dateTime(u"BirthDate").date();
        m_savedOn = r.dateTime(u"SignedOn").date();
    }
    auto now = db.loadServerDate();
    m_today = now ? now->date() : QDate::currentDate();
    return true;
}

QDate Consent::signingDay() const
{
    if (m_form->definition().column(kDateSigned)) {
        const QDate typed = dayOf(m_form->record().text(kDateSigned));
        if (typed.isValid())
            return typed;
    }
    return m_savedOn.isValid() ? m_savedOn : m_today;
}

std::optional<QString> Consent::missing() const
{
    return m_form->refusal();
}

void Consent::setRecord(const FormRecord &typed)
{
    FormRecord record = typed;
    // The special treatment consent keeps the age of a minor patient with the consent.
    // (It has no date of signing of its own: the age is counted to the day it is saved.)
    if (m_form->definition().column(kMinorAge))
        record.setText(kMinorAge, minor() ? age() : QString());
    m_form->setRecord(record);
}

bool Consent::save()
{
    setRecord(m_form->record());
    if (!m_form->save())
        return false;
    if (!m_form->definition().column(kDateSigned))
        m_savedOn = m_today;
    return true;
}

bool Consent::print()
{
    return m_form->print();
}

bool Consent::saveAndPrint()
{
    return save() && print();
}

} // namespace kestrel::nursing
