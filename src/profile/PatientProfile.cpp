// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/PatientProfile.h"

#include "core/AccessRights.h"
#include "core/components/Component.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

// Function keys as the window receives them.
constexpr int kF5 = 0x01000034;
constexpr int kF6 = 0x01000035;
constexpr int kF7 = 0x01000036;
constexpr int kF10 = 0x01000039;
constexpr int kF11 = 0x0100003a;

bool isMeasure(const QString &text, double low, double high)
{
    bool ok = false;
    const double n = text.trimmed().toDouble(&ok);
    return ok && n >= low && n <= high;
}

} // namespace

PatientProfile::PatientProfile(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
    , m_vitalSigns(session)
    , m_notes(session)
    , m_history(session)
    , m_lists(session.db())
    , m_commonExams(session)
    , m_schedule(session)
    , m_trend(session.db())
{
}

QStringList PatientProfile::tabCaptions()
{
    return {QStringLiteral("&Vital Signs"),    QStringLiteral("&Nurse's Notes"),
            QStringLiteral("&Results"),        QStringLiteral("Patient Pro&File"),
            QStringLiteral("$Schedule Operation"), QStringLiteral("Request S&tatus"),
            QStringLiteral("Common Diagnostic Exams"), QStringLiteral("Station Re&ports")};
}

const QList<PatientProfile::Action> &PatientProfile::actions()
{
    const auto s = [](const char *text) { return QString::fromUtf8(text); };
    static const QList<Action> list{
        {0, s("&Height / Weight Entry"), {}, {}, {}, {}},
        {1, s("&Pharmacy"), {s("1")},
         s("Sorry, you don't have access right to request medicines."), s("frmPharmacyRequest"),
         s("PH")},
        {2, s("&Central Supply"), {s("1")},
         s("Sorry, you don't have access right to Request Central Supplies."),
         s("frmPharmacyRequest"), s("CS")},
        {3, s("Change &Diet"), {s("6")}, s("Sorry, you don't have access right to Post New Diet."),
         s("frmChangeDiet"), {}},
        {4, s("&Room Transfer"), {s("4"), s("5")},
         s("Sorry, you don't have access right to Discharge and Transfer Room of Patient."),
         s("frmDischargeMenu"), {}},
        {5, s("&Post Charges"), {s("3")}, s("Sorry, you don't have access right to Post Charges."),
         s("frmCharge"), {}},
        {6, s("&Send Discharge Order"), {s("6")},
         s("Sorry, you don't have access right to Send Clearance/Discharge Order."),
         s("frmHBPSCaseRate"), {}},
        {7, s("CASH &Assessment Entry"), {s("9")},
         s("Sorry you don't have access right for Assessment Entry."), s("frmCashAssessment"), {}},
        {9, s("Clinical Assessment"), {}, {}, s("frmAssessmentClinical"), {}},
        {10, s("Notification for Hemodialysis"), {}, {}, s("frmNotificationforHemodialysis"), {}},
        {11, s("Cytology/Surgical Patho Exam"), {}, {}, s("frmRequest"), s("LB")},
        {12, s("Discharge Instructions and Medications Sheet/Home Care Plan"), {}, {},
         s("frmDCRInstructionMedicationSheet"), {}},
    };
    return list;
}

bool PatientProfile::open(const WindowRequest &request)
{
    QString idNum = request.values.value(QStringLiteral("IdNum")).toString().trimmed();
    if (idNum.isEmpty())
        idNum = request.patient.IdNum.trimmed();
    if (idNum.isEmpty())
        idNum = m_session.CurrentPatient.IdNum.trimmed();
    const int tab = request.values.value(QStringLiteral("Tab")).toInt();
    m_initialTab = tab >= 0 && tab < TabCount ? tab : VitalSignsTab;
    m_header = ProfileHeader();
    m_header.IdNum = idNum;
    m_loadedTabs.clear();
    m_commonExams.clear();
    if (idNum.isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select a patient first."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    const bool ok = readHeader();
    Q_EMIT tabsInvalidated();
    return ok;
}

bool PatientProfile::readHeader()
{
    auto today = m_session.db().loadServerDate();
    auto header = m_store.header(m_header.IdNum, today ? today->date() : QDate());
    if (!header) {
        m_session.notifier().errorBox(header.error());
        return false;
    }
    if (header->HospNum.isEmpty()) {
        m_session.notifier().message(QStringLiteral("No records found."), kNotification,
                                     Notifier::Icon::Exclamation);
        return false;
    }
    m_header = std::move(*header);
    Q_EMIT headerChanged();
    return true;
}

bool PatientProfile::takeTabToLoad(int tab)
{
    if (tab < 0 || tab >= TabCount || m_header.HospNum.isEmpty() || m_loadedTabs.contains(tab))
        return false;
    m_loadedTabs.insert(tab);
    return true;
}

bool PatientProfile::allowed(const Action &action) const
{
    if (action.rights.isEmpty())
        return true;
    for (const QString &right : action.rights) {
        if (HasAccessRight(m_session, right))
            return true;
    }
    return false;
}

void PatientProfile::openForm(const QString &form, const QString &caption, const QString &mode)
{
    if (!m_openWindow)
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmFinal");
    request.caption = QString(caption).remove(u'&');
    request.patient = m_session.CurrentPatient;
    request.values = {{QStringLiteral("HospNum"), m_header.HospNum},
                      {QStringLiteral("IdNum"), m_header.IdNum}};
    if (!mode.isEmpty())
        request.values.insert(QStringLiteral("Mode"), mode);
    m_openWindow(form, request);
}

void PatientProfile::runAction(int index)
{
    for (const Action &action : actions()) {
        if (action.index != index)
            continue;
        if (!allowed(action)) {
            m_session.notifier().message(action.refusal, kNotification, Notifier::Icon::Critical);
            return;
        }
        if (action.form.isEmpty())
            Q_EMIT heightWeightRequested();
        else
            openForm(action.form, action.caption, action.mode);
        return;
    }
}

bool PatientProfile::keyPressed(int key)
{
    Notifier &notifier = m_session.notifier();
    switch (key) {
    case kF5:
        refresh();
        return true;
    case kF6:
        runAction(1);
        return true;
    case kF7:
        if (!HasAccessRight(m_session, u"1")) {
            notifier.message(QStringLiteral("Sorry, you don't have access right to request from "
                                            "Central Supplies."),
                             kNotification, Notifier::Icon::Critical);
        } else {
            openForm(QStringLiteral("frmPharmacyRequest"), QStringLiteral("Central Supply"),
                     QStringLiteral("CS"));
        }
        return true;
    case kF10:
        tellNotAvailable(notifier, QStringLiteral("The ICD code validation"));
        return true;
    case kF11:
        if (!HasAccessRight(m_session, u"19") || !HasAccessRight(m_session, u"17")) {
            notifier.message(QStringLiteral("Sorry, you don't have access right to View "
                                            "Statement Of Account."),
                             kNotification, Notifier::Icon::Critical);
        } else {
            tellNotAvailable(notifier, QStringLiteral("The statement of account"));
        }
        return true;
    default:
        return false;
    }
}

void PatientProfile::refresh()
{
    if (m_header.HospNum.isEmpty())
        return;
    auto room = m_session.db().call(u"STATION..Nurse_CheckPatientRoom", {m_header.IdNum});
    if (room && room->count() > 0) {
        const QString now = room->at(0).trimmed(u"RoomID");
        if (!now.isEmpty() && now.compare(m_header.Room, Qt::CaseInsensitive) != 0)
            m_session.notifier().message(QStringLiteral("Patient is transfered to room ") + now,
                                         kNotification, Notifier::Icon::Information);
    }
    readHeader();
    m_loadedTabs.clear();
    Q_EMIT tabsInvalidated();
}

bool PatientProfile::backToPatientList()
{
    if (!m_session.notifier().confirm(QStringLiteral("Go back to patient list?"), kConfirmation,
                                      Notifier::Icon::Question))
        return false;
    openForm(QStringLiteral("frmSearch"), QStringLiteral("Patient List"), {});
    return true;
}

bool PatientProfile::saveHeightWeight(const QString &height, const QString &weight)
{
    Notifier &notifier = m_session.notifier();
    // A newborn is some 45 cm and 2 kg; nobody measures past 250 cm or 350 kg.
    if (!isMeasure(height, 20, 250) || !isMeasure(weight, 0.3, 350)) {
        notifier.message(QStringLiteral("Please enter the height in centimetres (20 to 250) and "
                                        "the weight in kilograms (0.3 to 350)."),
                         kNotification, Notifier::Icon::Critical);
        return false;
    }
    if (auto saved = m_store.saveHeightWeight(m_header.IdNum, height, weight,
                                              m_session.employeeCode(), m_session.StationID);
        !saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    notifier.message(QStringLiteral("Height and Weight was succesfully updated."), kNotification,
                     Notifier::Icon::Information);
    readHeader();
    return true;
}

} // namespace kestrel
