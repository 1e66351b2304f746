// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/SimpleDischargeOrder.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::caserates {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

SimpleDischargeOrder::SimpleDischargeOrder(Session &session)
    : m_session(session)
    , m_store(session.db())
    , m_steps(session, m_store)
{
}

bool SimpleDischargeOrder::open(const QString &idNum)
{
    auto opened = m_steps.open(idNum);
    if (!opened)
        return false;
    m_idNum = opened->order.idNum;
    m_patientName = opened->patientName;
    m_notice = opened->order.notice;
    return true;
}

bool SimpleDischargeOrder::refuse(const QString &message)
{
    m_session.notifier().message(message, kNotification, Notifier::Icon::Exclamation);
    return false;
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
    if (isSent())
        return refuse(kOrderAlreadySent);
    if (!m_steps.noPendingRequests(m_idNum))
        return false;
    if (!m_session.settings.DontRequireICDOnECU() && m_notice.finalDiagnosis.isEmpty())
        return refuse(kNoFinalDiagnosis);
    if (m_notice.medicalFees.isEmpty())
        return refuse(kNoProfessionalFees);
    const std::optional<ValidatedUser> user = m_steps.confirmSend();
    if (!user)
        return false;
    SaveRequest request;
    request.employeeCode = user->code;
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
    if (*outcome != WriteOutcome::Done)
        return refuse(*outcome == WriteOutcome::AlreadySent ? kOrderAlreadySent
                                                            : kNoticeProcessed);
    m_notice.exists = true;
    m_notice.isFinal = true;
    notifier.message(kOrderSent, kNotification, Notifier::Icon::Information);
    return true;
}

bool SimpleDischargeOrder::revoke()
{
    const Notice typed = m_notice;
    if (!m_steps.revoke(m_idNum, m_patientName,
                        QStringLiteral("Are you sure you want to revoke the discharge order?"),
                        QStringLiteral("Discharge order successfully revoked.")))
        return false;
    if (!open(m_idNum))
        return false;
    if (m_steps.retainsData()) {
        // The notice is gone; what it said stays for the next one.
        m_notice.finalDiagnosis = typed.finalDiagnosis;
        m_notice.procedures = typed.procedures;
        m_notice.medicalFees = typed.medicalFees;
        m_notice.remarks = typed.remarks;
    }
    return true;
}

} // namespace kestrel::caserates
