// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/returns/PostedPrints.h"

#include "charging/returns/PostedMedicines.h"
#include "core/components/Component.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

PostedPrints::PostedPrints(Session &session, ReportService *reports)
    : m_session(session)
    , m_reports(reports)
{
}

bool PostedPrints::ready()
{
    if (!m_reports) {
        tellNotAvailable(m_session.notifier(), QStringLiteral("Printing"));
        return false;
    }
    return true;
}

QString PostedPrints::initial() const
{
    const CurrentUser *user = m_session.currentUser();
    return user ? user->Initial().trimmed() : QString();
}

bool PostedPrints::printPosted()
{
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    if (!stay.isSelected()) {
        m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                     Notifier::Icon::Information);
        return false;
    }
    if (!ready())
        return false;
    const QVariantList values{stay.IdNum.trimmed(),
                              stay.HospNum.trimmed(),
                              stay.PatientName.trimmed(),
                              stay.RoomID.trimmed(),
                              stay.isOutpatientStay() ? QStringLiteral("OUTPATIENT")
                                                      : QStringLiteral("INPATIENT"),
                              initial()};
    if (!m_reports->OpenReport(QStringLiteral("PostedByIndividual.rpt"), values))
        return false;
    m_reports->ShowReport(false, PostedMedicines::caption(stay.isOutpatientStay()));
    return true;
}

bool PostedPrints::printDrugProfile()
{
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    if (!stay.isSelected()) {
        m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                     Notifier::Icon::Information);
        return false;
    }
    if (!ready())
        return false;
    const QVariantList values{stay.IdNum.trimmed(), stay.HospNum.trimmed(),
                              stay.PatientName.trimmed(), stay.RoomID.trimmed(), initial()};
    if (!m_reports->OpenReport(QStringLiteral("DrugProfile.rpt"), values))
        return false;
    m_reports->ShowReport(false, QStringLiteral("Drug Profile"));
    return true;
}

bool PostedPrints::printCreditMemo(const QString &creditMemo, bool reprint)
{
    if (creditMemo.trimmed().isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select the credit memo to reprint."),
                                     kNotification, Notifier::Icon::Information);
        return false;
    }
    if (!ready())
        return false;
    if (!m_reports->OpenReport(QStringLiteral("CMSlip.rpt"), {creditMemo.trimmed(), initial()}))
        return false;
    m_reports->ShowReport(false, reprint ? QStringLiteral("Reprint Credit Memo Slip")
                                         : QStringLiteral("Credit Memo Slip"));
    return true;
}

} // namespace kestrel
