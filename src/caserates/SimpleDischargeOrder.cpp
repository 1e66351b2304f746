// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/SimpleDischargeOrder.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::caserates {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

} // namespace

SimpleDischargeOrder::SimpleDischargeOrder(Session &session)
    : m_session(session)
    , m_store(session.db())
{
}

bool SimpleDischargeOrder::open(const QString &idNum)
{
    auto order = m_store.load(idNum);
    if (!order) {
        m_session.notifier().errorBox(order.error());
        return false;
    }
    m_idNum = order->idNum;
    m_notice = order->notice;
    return true;
}

void SimpleDischargeOrder::setTexts(const QString &diagnosis, const QString &operation,
                                    const QString &fees, const QString &remarks)
{
    m_notice.finalDiagnosis = diagnosis.trimmed();
    m_notice.procedures = operation.trimmed();
    m_notice.medicalFees = fees.trimmed();
    m_notice.remarks = remarks;
}

void SimpleDischargeOrder::setDates(const QDateTime &ordered, const QDate &billUpTo)
{
    m_notice.ordered = ordered;
    m_notice.billUpTo = billUpTo;
}

bool SimpleDischargeOrder::send()
{
    Notifier &notifier = m_session.notifier();
    if (isSent()) {
        notifier.message(QStringLiteral("Sorry, discharge order was already sent. You can no "
                                        "longer modify the data."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    auto pending = m_store.hasPendingRequests(m_idNum);
    if (!pending) {
        notifier.errorBox(pending.error());
        return false;
    }
    if (*pending) {
        notifier.message(QStringLiteral("You can't send discharge order at this time. There are "
                                        "still pending requests.\n\nPlease cancel pending "
                                        "requests first or notify concerned cost centers to "
                                        "process requests for this patient."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_session.settings.DontRequireICDOnECU() && m_notice.finalDiagnosis.isEmpty()) {
        notifier.message(QStringLiteral("Patient's final diagnosis must be entered before "
                                        "sending discharge order."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (m_notice.medicalFees.isEmpty()) {
        notifier.message(QStringLiteral("Professional fees must be entered before sending "
                                        "discharge order."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!notifier.confirm(QStringLiteral("Are you sure you want to send final discharge order "
                                         "to the Billing department?"),
                          kConfirmation))
        return false;
    const ValidatedUser user = m_session.dialogs().validateUser();
    if (!user.isValid()) {
        notifier.message(QStringLiteral("You have entered invalid user information. Selected "
                                        "transaction(s) will not be saved. "),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    m_session.validated = user;
    SaveRequest request;
    request.employeeCode = user.code;
    request.final = true;
    auto now = m_session.db().loadServerDate();
    if (!now) {
        notifier.errorBox(now.error());
        return false;
    }
    request.ordered = m_notice.ordered.isValid() ? m_notice.ordered : *now;
    request.billUpTo = m_notice.billUpTo;
    request.remarks = m_notice.remarks;
    auto outcome = m_store.saveText(m_idNum, m_notice, request);
    if (!outcome) {
        notifier.errorBox(outcome.error());
        return false;
    }
    if (*outcome != WriteOutcome::Done) {
        notifier.message(*outcome == WriteOutcome::AlreadySent
                             ? QStringLiteral("Sorry, discharge order was already sent. You can "
                                              "no longer modify the data.")
                             : QStringLiteral("Sorry, transaction will not proceed. Discharge "
                                              "notice was already processed. Please contact the "
                                              "Billing department."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    m_notice.exists = true;
    m_notice.isFinal = true;
    notifier.message(QStringLiteral("Discharge order was successfully sent to the Billing "
                                    "department."),
                     kNotification, Notifier::Icon::Information);
    return true;
}

bool SimpleDischargeOrder::revoke()
{
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(QStringLiteral("Are you sure you want to revoke the discharge order?"),
                          kConfirmation))
        return false;
    const ValidatedUser user = m_session.dialogs().validateUser();
    if (!user.isValid()) {
        notifier.message(QStringLiteral("You have entered invalid user information. "),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    m_session.validated = user;
    auto outcome = m_store.revoke(m_idNum, user.code);
    if (!outcome) {
        notifier.errorBox(outcome.error());
        return false;
    }
    if (*outcome != WriteOutcome::Done) {
        notifier.message(QStringLiteral("There is no discharge order to revoke."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    notifier.message(QStringLiteral("Discharge order successfully revoked."), kNotification,
                     Notifier::Icon::Information);
    return open(m_idNum);
}

} // namespace kestrel::caserates
