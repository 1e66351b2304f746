// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/PharmacyMenu.h"

#include "charging/requests/RequestLayout.h"
#include "charging/requests/RequestStore.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

enum Button { Transcription, RequestEntry, Close, Returns, Reprint };

} // namespace

PharmacyMenu::PharmacyMenu(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

void PharmacyMenu::setMode(const QString &mode)
{
    m_pharmacy = mode.trimmed().compare(u"CS", Qt::CaseInsensitive) != 0;
    Q_EMIT changed();
}

QString PharmacyMenu::caption() const
{
    return m_pharmacy ? QStringLiteral("Pharmacy Menu") : QStringLiteral("Supplies Menu");
}

QStringList PharmacyMenu::buttonCaptions() const
{
    return {QStringLiteral("Transcription Request Entry"), QStringLiteral("Request Entry"),
            QStringLiteral("Close"),
            m_pharmacy ? QStringLiteral("Post Returned Medicines")
                       : QStringLiteral("Post Returned Supplies"),
            QStringLiteral("Reprint Request Forms")};
}

bool PharmacyMenu::buttonVisible(int index) const
{
    return index != Transcription || m_pharmacy;
}

void PharmacyMenu::choose(int index)
{
    switch (index) {
    case Transcription:
        if (m_pharmacy)
            open(QStringLiteral("frmTranscription"),
                 QStringLiteral("PHARMACY TRANSCRIPTION NOTES"), false);
        break;
    case RequestEntry:
        requestEntry();
        break;
    case Close:
        Q_EMIT closeRequested();
        break;
    case Returns:
        open(QStringLiteral("frmReturn"), buttonCaptions().at(Returns), true);
        break;
    case Reprint:
        // The reprint of the pharmacy's or the central supply's request forms, by the mode.
        open(QStringLiteral("frmRequestReprint"), QStringLiteral("Reprint Request Forms"), true);
        break;
    default:
        break;
    }
}

void PharmacyMenu::requestEntry()
{
    if (!m_pharmacy) {
        open(RequestLayout::of(RequestForm::CentralSupply).formName,
             QStringLiteral("Central Supply Request Entry"), false);
        return;
    }
    Notifier &notifier = m_session.notifier();
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    const QString IdNum = stay.IdNum.trimmed();
    if (modGlobals::IsClearedByDepartment(m_session, IdNum, QStringLiteral("PH"))) {
        notifier.message(QStringLiteral("Patient is already cleared by (Pharmacy Department). ") +
                             u'\n' +
                             QStringLiteral("If you have requests to make, notify the Billing "
                                            "staff") +
                             QStringLiteral(" immediately for further instructions."),
                         kNotification, Notifier::Icon::Information);
        return;
    }
    auto finalNotice = RequestStore(m_session.db()).finalNoticeSent(IdNum);
    if (!finalNotice) {
        notifier.errorBox(finalNotice.error());
        return;
    }
    if (*finalNotice) {
        notifier.message(QStringLiteral("Final discharge order was already sent for ") +
                             stay.PatientName.trimmed() + QStringLiteral(". ") + u'\n' +
                             QStringLiteral("You have to revoke the discharge order to send "
                                            "additional requests."),
                         kNotification, Notifier::Icon::Critical);
        return;
    }
    auto cashBasis = RequestStore(m_session.db()).pharmacyCashBasis(IdNum);
    if (!cashBasis) {
        notifier.errorBox(cashBasis.error());
        return;
    }
    if (*cashBasis) {
        notifier.message(QStringLiteral("The patient's account has been placed under cash basis ") +
                             QStringLiteral("for ( Pharmacy Charges ) by the Billing Officer. ") +
                             QStringLiteral("Please advise the patient/watcher to see the Billing "
                                            "staff immediately for further instructions."),
                         kNotification, Notifier::Icon::Exclamation);
        return;
    }
    open(RequestLayout::of(RequestLayout::pharmacyForm(m_session.settings)).formName,
         QStringLiteral("Pharmacy Request Entry"), false);
}

void PharmacyMenu::open(const QString &formName, const QString &caption, bool modal)
{
    if (!m_openWindow)
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmPharmacyRequest");
    request.caption = caption;
    request.modal = modal;
    request.patient = m_session.CurrentPatient;
    request.values = {{QStringLiteral("Mode"), m_pharmacy ? QStringLiteral("PH")
                                                          : QStringLiteral("CS")}};
    m_openWindow(formName, request);
}

} // namespace kestrel
