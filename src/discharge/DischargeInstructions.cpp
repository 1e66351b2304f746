// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/DischargeInstructions.h"

#include "core/Dialogs.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

namespace kestrel::discharge {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

} // namespace

DischargeInstructions::DischargeInstructions(Session &session, ReportService *reports,
                                             Kind kind)
    : m_session(session)
    , m_reports(reports)
    , m_kind(kind)
    , m_store(session.db())
{
}

DischargeInstructions::Kind DischargeInstructions::kindFor(Database &db, const QString &idNum)
{
    auto header = db.call(
        u"STATION..sp_Nurse_Get_Patient_ForDischargeInstructions_MedicationSheet",
        {idNum.trimmed()});
    const bool er = header && !header->isEmpty() && !header->at(0).trimmed(u"ERNum").isEmpty();
    return er ? Kind::NewerSheet : Kind::Sheet;
}

bool DischargeInstructions::open(const QString &idNum)
{
    Notifier &notifier = m_session.notifier();
    m_idNum = idNum.trimmed();
    m_changed = m_planChanged = false;
    auto header = m_session.db().call(
        u"STATION..sp_Nurse_Get_Patient_ForDischargeInstructions_MedicationSheet", {m_idNum});
    if (!header) {
        notifier.errorBox(header.error());
        return false;
    }
    if (header->isEmpty()) {
        notifier.message(QStringLiteral("No records found."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    m_header.clear();
    const Row &r = header->at(0);
    for (const QString &column : r.columnNames())
        m_header.insert(column, r.value(column));
    auto sheet = m_store.sheet(m_idNum);
    auto plan = m_store.homeCarePlan(m_idNum);
    auto medicines = m_kind == Kind::NewerSheet ? m_store.medications(m_idNum)
                                                : Result<QList<Medication>>(QList<Medication>());
    for (const Error *e : {sheet ? nullptr : &sheet.error(), plan ? nullptr : &plan.error(),
                           medicines ? nullptr : &medicines.error()}) {
        if (e) {
            notifier.errorBox(*e);
            return false;
        }
    }
    m_sheet = *sheet;
    m_plan = *plan;
    m_medications = *medicines;
    return true;
}

void DischargeInstructions::setSheet(const InstructionSheet &sheet)
{
    const InstructionSheet &s = m_sheet;
    const bool same = s.instructions == sheet.instructions && s.medications == sheet.medications &&
                      s.checkUp == sheet.checkUp && s.checkInOn == sheet.checkInOn &&
                      s.activityLevel == sheet.activityLevel &&
                      s.dietInstruction == sheet.dietInstruction &&
                      s.whatToObserve == sheet.whatToObserve && s.guardian == sheet.guardian &&
                      s.receivedBy == sheet.receivedBy;
    if (same)
        return;
    const bool saved = m_sheet.saved;
    m_sheet = sheet;
    m_sheet.saved = saved;
    m_changed = true;
}

void DischargeInstructions::setMedications(const QList<Medication> &medications)
{
    m_medications = medications;
    m_changed = true;
}

void DischargeInstructions::setHomeCarePlan(const QString &plan)
{
    if (plan == m_plan)
        return;
    m_plan = plan;
    m_planChanged = true;
}

bool DischargeInstructions::closeRequested()
{
    if (!m_changed)
        return true;
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(QStringLiteral("Are you sure you want to save Discharge Instructions "
                                         "and Medications?\nSelected transaction(s) will not be "
                                         "saved. "),
                          kConfirmation))
        return true;
    return saveSheet();
}

bool DischargeInstructions::saveSheet()
{
    Notifier &notifier = m_session.notifier();
    const bool noInstructions = m_sheet.instructions.trimmed().isEmpty();
    if (m_kind == Kind::NewerSheet && noInstructions) {
        notifier.message(QStringLiteral("Please enter discharge instructions."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    if (m_kind == Kind::Sheet && noInstructions && m_sheet.medications.trimmed().isEmpty()) {
        notifier.message(QStringLiteral("Please enter discharge instructions and discharge "
                                        "medications."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    const ValidatedUser user = m_session.dialogs().validateUser();
    if (!user.isValid())
        return false;
    m_session.validated = user;
    std::optional<QList<Medication>> medicines;
    if (m_kind == Kind::NewerSheet)
        medicines = m_medications;
    auto saved = m_store.saveSheet(m_idNum, m_sheet, user.code, medicines);
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    m_sheet.saved = true;
    m_changed = false;
    notifier.message(QStringLiteral("Discharge Instructions and Medications successfully saved."),
                     kNotification, Notifier::Icon::Information);
    return true;
}

bool DischargeInstructions::saveHomeCarePlan()
{
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(QStringLiteral("Are you sure you want to save Home Care Plan record?"),
                          kConfirmation))
        return false;
    auto saved = m_store.saveHomeCarePlan(m_idNum, m_plan, m_session.employeeCode());
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    m_planChanged = false;
    notifier.message(QStringLiteral("Home care plan successfully saved."), kNotification,
                     Notifier::Icon::Information);
    return true;
}

bool DischargeInstructions::print()
{
    if (!m_reports)
        return false;
    if (!m_reports->OpenReport(QStringLiteral("DischargeInstructions_MedicationSheet.rpt"),
                               {m_idNum}))
        return false;
    return m_reports->ShowReport(false, QStringLiteral("Discharge Instructions and Medications"),
                                 false, true) != ReportService::Shown::Nothing;
}

bool DischargeInstructions::printHomeCarePlan()
{
    if (!m_reports)
        return false;
    // A plan not saved yet is a draft: printed only where the station allows drafts.
    const bool draftAllowed = m_kind == Kind::NewerSheet
                                  ? m_session.settings.AllowPrintHCPDraftER()
                                  : m_session.settings.AllowPrintHCPDraft();
    if (m_planChanged && !draftAllowed) {
        m_session.notifier().message(QStringLiteral("Please save the home care plan before "
                                                    "printing it."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    // The draft prints the plan as typed, marked as a draft; a saved plan prints from the
    // database with the nurse who saved it.
    const QVariantList values = {m_idNum, m_planChanged,
                                 m_planChanged && !m_plan.isNull() ? m_plan : QStringLiteral("")};
    if (!m_reports->OpenReport(QStringLiteral("NurseHomeCarePlan.RPT"), values))
        return false;
    return m_reports->ShowReport(false, QStringLiteral("Home Care Plan")) !=
           ReportService::Shown::Nothing;
}

} // namespace kestrel::discharge
