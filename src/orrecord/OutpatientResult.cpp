// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/OutpatientResult.h"

#include "core/components/clsIcdLookup.h"
#include "core/components/clsTarvikClasses.h"
#include "core/Dialogs.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kBlankDate = QStringLiteral("  /  /    ");
const QString kDateFormat = QStringLiteral("MM/dd/yyyy");

} // namespace

OutpatientResult::OutpatientResult(Session &session, clsIcdLookup *icd, clsCF4 *cf4)
    : m_session(session)
    , m_store(session.db())
    , m_icd(icd)
    , m_cf4(cf4)
{
}

QStringList OutpatientResult::categories()
{
    return {QStringLiteral("Consultation"),  QStringLiteral("DAMA/HAMA"),
            QStringLiteral("For Admission"), QStringLiteral("D.O.A / Natural Death"),
            QStringLiteral("Absconded"),     QStringLiteral("Referred")};
}

QStringList OutpatientResult::erClassifications(bool referredToACC)
{
    QStringList out{QStringLiteral("Referred"),
                    QStringLiteral("CAPD"),
                    QStringLiteral("CIPD"),
                    QStringLiteral("HEMO"),
                    QStringLiteral("Expired"),
                    QStringLiteral("Adm. and Dcr. at ER"),
                    QStringLiteral("Stayed > 24 hrs."),
                    QStringLiteral("ESRD"),
                    QStringLiteral("Sent Home"),
                    QStringLiteral("Referred to ACC"),
                    QStringLiteral("Out When Called"),
                    QStringLiteral("Refused Adm."),
                    QStringLiteral("HAMA")};
    // Only hospitals with an ambulatory care centre refer patients to it.
    if (!referredToACC)
        out.removeAll(QStringLiteral("Referred to ACC"));
    return out;
}

QStringList OutpatientResult::erProcedures()
{
    return erClassifications(true) << QStringLiteral("OTHERS");
}

QStringList OutpatientResult::conditions()
{
    return {QStringLiteral("Stable"), QStringLiteral("Critical"), QStringLiteral("Expired")};
}

QStringList OutpatientResult::dispositions()
{
    return {QStringLiteral("Discharged/Sent Home"),
            QStringLiteral("D.O.A"),
            QStringLiteral("For Admission"),
            QStringLiteral("Absconded"),
            QStringLiteral("DAMA/HAMA"),
            QStringLiteral("Expired"),
            QStringLiteral("Referred/Transferred")};
}

QStringList OutpatientResult::deathTypes()
{
    return {QStringLiteral("Natural Death"), QStringLiteral("Dead on Arrival (DOA)")};
}

bool OutpatientResult::open(const QString &idNum)
{
    m_record = {};
    m_typedDate.clear();
    m_dischargeTime = {};
    // Admissions end with their discharge; the result entry closes outpatient visits ("B").
    if (!idNum.trimmed().endsWith(u'B', Qt::CaseInsensitive)) {
        m_session.notifier().message(QStringLiteral("The result entry is for outpatient visits "
                                                    "only. Please select an outpatient visit."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    auto found = m_store.load(idNum);
    if (!found) {
        m_session.notifier().errorBox(found.error());
        return false;
    }
    if (!*found) {
        m_session.notifier().message(QStringLiteral("No records found."), kNotification,
                                     Notifier::Icon::Exclamation);
        return false;
    }
    auto precautions = m_store.precautions();
    if (!precautions) {
        m_session.notifier().errorBox(precautions.error());
        return false;
    }
    m_precautions = precautions->mid(0, 10);
    m_record = std::move(**found);
    if (m_record.discharged.isValid()) {
        m_typedDate = m_record.discharged.toString(kDateFormat);
        m_dischargeTime = m_record.discharged.time();
    } else {
        m_typedDate = kBlankDate;
    }
    return true;
}

void OutpatientResult::setDischargeDate(const QString &typed, const QTime &time)
{
    m_typedDate = typed;
    m_dischargeTime = time;
}

QString OutpatientResult::dischargeDateText() const
{
    return m_typedDate;
}

bool OutpatientResult::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return false;
}

QString OutpatientResult::lookUp(const Result<std::optional<CodeName>> &found, QString &slot,
                                 const QString &code, const QString &missing, QString *remark)
{
    if (!found) {
        m_session.notifier().errorBox(found.error());
        slot.clear();
        return QString();
    }
    if (!*found) {
        slot.clear();
        refuse(missing);
        return QString();
    }
    slot = code.trimmed().toUpper();
    if (remark)
        *remark = (*found)->remark;
    return (*found)->name;
}

QString OutpatientResult::lookUpDoctor(int index, const QString &code)
{
    QString &slot = m_record.doctors.at(std::size_t(index));
    if (code.trimmed().isEmpty()) {
        slot.clear();
        return QString();
    }
    return lookUp(m_store.doctor(code), slot, code, QStringLiteral("Doctor code does not exist."));
}

QString OutpatientResult::lookUpService(int index, const QString &code)
{
    QString &slot = m_record.services.at(std::size_t(index));
    if (code.trimmed().isEmpty()) {
        slot.clear();
        return QString();
    }
    return lookUp(m_store.service(code), slot, code,
                  QStringLiteral("Service code does not exist."));
}

QString OutpatientResult::lookUpChiefComplaint(int index, const QString &code)
{
    QString &slot = m_record.chiefComplaintIds.at(std::size_t(index));
    if (code.trimmed().isEmpty()) {
        slot.clear();
        return QString();
    }
    return lookUp(m_store.chiefComplaint(code), slot, code,
                  QStringLiteral("Chief complaint code does not exist."));
}

QString OutpatientResult::lookUpDiet(const QString &code, QString *remark)
{
    if (code.trimmed().isEmpty()) {
        m_record.dietId.clear();
        return QString();
    }
    return lookUp(m_store.diet(code), m_record.dietId, code,
                  QStringLiteral("Diet code does not exist."), remark);
}

QString OutpatientResult::lookUpDiagnosis(int index, const QString &code)
{
    QString &slot = m_record.diagnoses.at(std::size_t(index));
    if (code.trimmed().isEmpty()) {
        slot.clear();
        return QString();
    }
    if (m_icd) {
        // The component offers the codes that begin with what was typed when it is no code.
        if (!m_icd->ValidateICDCode(code.trimmed())) {
            slot.clear();
            return QString();
        }
        slot = m_icd->clsICD().ICDCode;
        return m_icd->clsICD().Description;
    }
    return lookUp(m_store.icd(code), slot, code, QStringLiteral("ICD 10 code does not exist."));
}

QString OutpatientResult::nameOf(QStringView kind, const QString &code)
{
    if (code.trimmed().isEmpty())
        return QString();
    Result<std::optional<CodeName>> found = std::optional<CodeName>();
    if (kind == u"doctor")
        found = m_store.doctor(code);
    else if (kind == u"service")
        found = m_store.service(code);
    else if (kind == u"complaint")
        found = m_store.chiefComplaint(code);
    else if (kind == u"diet")
        found = m_store.diet(code);
    else if (kind == u"icd")
        found = m_store.icd(code);
    if (!found || !*found)
        return QString();
    return (*found)->name;
}

QString OutpatientResult::validateForSave()
{
    for (;;) {
        const ValidatedUser user = m_session.dialogs().validateUser();
        if (user.isValid()) {
            m_session.validated = user;
            return user.code;
        }
        if (!m_session.notifier().confirm(QStringLiteral("Are you sure you want to continue?\r\n"
                                                         "Transaction was not saved. "),
                                          QStringLiteral("Confirmation")))
            return QString();
    }
}

bool OutpatientResult::save()
{
    Notifier &notifier = m_session.notifier();
    const clsSettings &settings = m_session.settings;
    OutpatientRecord &r = m_record;
    // 1. A patient.
    if (r.idNum.isEmpty())
        return refuse(QStringLiteral("Can't save incomplete data. Please select patient."));
    // 2. The category, and where the hospital wants it the classification.
    if (r.category < 1 || r.category > int(categories().size()))
        return refuse(QStringLiteral("Please indicate Patient Category."));
    if (m_session.hospital.clientname.trimmed().compare(u"QELM", Qt::CaseInsensitive) == 0 &&
        r.erClassification.trimmed().isEmpty())
        return refuse(QStringLiteral("Please indicate OR Classification."));
    // 3. The discharge date: given, a date, not before the admission. A patient for admission
    // may leave it blank where the hospital allows.
    const bool forAdmission = r.category == kCategoryForAdmission;
    QDateTime discharged;
    if (m_typedDate.trimmed() == u"/  /" || m_typedDate.trimmed().isEmpty()) {
        if (!(forAdmission && settings.ERNoDcrDateForAdm()))
            return refuse(QStringLiteral("Please provide discharge date."));
    } else {
        const QDate date = QDate::fromString(m_typedDate.trimmed(), kDateFormat);
        if (!date.isValid())
            return refuse(QStringLiteral("Invalid discharge date."));
        const QTime time = m_dischargeTime.isValid() ? m_dischargeTime : QTime(0, 0);
        discharged = QDateTime(date, QTime(time.hour(), time.minute(), time.second()));
        if (r.admitted.isValid() && discharged < r.admitted)
            return refuse(QStringLiteral("You can't discharge this patient earlier than the date "
                                         "and time of admission."));
    }
    // 4. The findings, where the hospital requires them of a patient for admission.
    if (forAdmission && settings.RequireAdmDiagIfForAdm()) {
        if (r.findings.trimmed().isEmpty())
            return refuse(QStringLiteral("Please provide diagnosis/findings for the patient."));
        if (r.findings.trimmed().size() < 3)
            return refuse(QStringLiteral("Description of Diagnosis/findings is too short."));
    }
    // 5. The chief complaints and the condition on discharge.
    if (r.chiefComplaints.trimmed().isEmpty())
        return refuse(QStringLiteral("Please provide chief complaints of the patient."));
    if (r.condition < 1 || r.condition > int(conditions().size()))
        return refuse(QStringLiteral("Please provide condition on discharge."));
    // 6. An admission makes the admitting office admit the patient: asked first.
    if (forAdmission &&
        !notifier.confirm(QStringLiteral("Please verify correctly that the discharge date is the "
                                         "same as current date.\r\nThis will prompt the "
                                         "Admitting department to admit this patient.\r\nAre you "
                                         "sure that this patient is for admission? "),
                          QStringLiteral("Confirmation")))
        return false;
    // 7. Who saves.
    const QString employee = validateForSave();
    if (employee.isEmpty())
        return false;
    // 8. No pending requests.
    auto pending = m_store.hasPendingRequests(r.idNum);
    if (!pending) {
        notifier.errorBox(pending.error());
        return false;
    }
    if (*pending)
        return refuse(QStringLiteral("You can`t discharge this patient.") +
                      QStringLiteral("Records indicate that this patient has pending requests. "));
    // 9. The CF4, where the hospital checks it before a discharge.
    if (m_cf4 && settings.DcrOrderValidateCF4()) {
        m_cf4->IdNum = r.idNum;
        m_cf4->EmployeeCode = employee;
        if (!m_cf4->ValidateRequirements())
            return false;
    }
    // 10. One transaction.
    OutpatientRecord toSave = r;
    toSave.discharged = discharged;
    auto saved = m_store.save(toSave, employee);
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    if (*saved == OutpatientSaveOutcome::VisitGone)
        return refuse(QStringLiteral("This visit was revoked by another workstation; nothing "
                                     "was saved."));
    r.discharged = discharged;
    notifier.message(QStringLiteral("OR record successfully updated."), kNotification,
                     Notifier::Icon::Information);
    return true;
}

} // namespace kestrel
