// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/DischargeNoticeSteps.h"

#include "core/Notifier.h"
#include "discharge/DischargeStore.h"
#include "core/Session.h"

namespace kestrel::caserates {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kInvalidUser = QStringLiteral("You have entered invalid user information. ");

} // namespace

std::optional<OpenedOrder> DischargeNoticeSteps::open(const QString &idNum)
{
    auto order = m_store.load(idNum);
    auto name = m_store.patientName(idNum);
    if (!order || !name) {
        m_session.notifier().errorBox(order ? name.error() : order.error());
        return std::nullopt;
    }
    return OpenedOrder{std::move(*order), *name};
}

bool DischargeNoticeSteps::noPendingRequests(const QString &idNum)
{
    auto pending = m_store.hasPendingRequests(idNum);
    if (!pending) {
        m_session.notifier().errorBox(pending.error());
        return false;
    }
    if (*pending)
        m_session.notifier().message(
            QStringLiteral("You can't send discharge order at this time. There are still "
                           "pending requests.\n\nPlease cancel pending requests first or notify "
                           "concerned cost centers to process requests for this patient."),
            kNotification, Notifier::Icon::Exclamation);
    return !*pending;
}

bool DischargeNoticeSteps::instructionsWritten(const QString &idNum)
{
    auto written = discharge::dischargeInstructionsComplete(m_store.database(), idNum);
    if (!written) {
        m_session.notifier().errorBox(written.error());
        return false;
    }
    if (!*written)
        m_session.notifier().message(QStringLiteral("Please complete discharge instructions for "
                                                    "the patient before sending discharge order."),
                                     kNotification, Notifier::Icon::Exclamation);
    return *written;
}

std::optional<ValidatedUser> DischargeNoticeSteps::confirmSend()
{
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(QStringLiteral("Are you sure you want to send final discharge order "
                                         "to the Billing department?"),
                          kConfirmation))
        return std::nullopt;
    const ValidatedUser user = m_session.dialogs().validateUser();
    if (!user.isValid()) {
        notifier.message(kInvalidUser + QStringLiteral("Selected transaction(s) will not be "
                                                       "saved. "),
                         kNotification, Notifier::Icon::Exclamation);
        return std::nullopt;
    }
    m_session.validated = user;
    return user;
}

bool DischargeNoticeSteps::retainsData() const
{
    return m_session.settings.RetainDataRevokeDischarge();
}

bool DischargeNoticeSteps::revoke(const QString &idNum, const QString &patientName,
                                  const QString &question, const QString &done)
{
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(question, kConfirmation))
        return false;
    const ValidatedUser user = m_session.dialogs().validateUser();
    if (!user.isValid()) {
        notifier.message(kInvalidUser, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    m_session.validated = user;
    auto outcome = m_store.revoke(idNum, user.code, retainsData());
    if (!outcome) {
        notifier.errorBox(outcome.error());
        return false;
    }
    switch (*outcome) {
    case WriteOutcome::Done:
        notifier.message(done, kNotification, Notifier::Icon::Information);
        return true;
    case WriteOutcome::BenefitsComputed:
        notifier.message(benefitsComputedText(patientName), QStringLiteral("Warning"),
                         Notifier::Icon::Exclamation);
        return false;
    case WriteOutcome::NothingToRevoke:
    case WriteOutcome::AlreadySent:
    case WriteOutcome::Processed:
        break;
    }
    notifier.message(QStringLiteral("There is no discharge order to revoke."), kNotification,
                     Notifier::Icon::Exclamation);
    return false;
}

QString DischargeNoticeSteps::benefitsComputedText(const QString &patientName)
{
    return QStringLiteral("Sorry, transaction will not proceed. PhilHealth benefits of ") +
           patientName +
           QStringLiteral(" was already computed. Please contact the Billing department.");
}

} // namespace kestrel::caserates
