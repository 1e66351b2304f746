// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/DischargeOrderStore.h"
#include "core/Dialogs.h"

#include <optional>

namespace kestrel {

class Session;

namespace caserates {

/// The refusals both windows share.
inline const QString kOrderAlreadySent =
    QStringLiteral("Sorry, discharge order was already sent. You can no longer modify the data.");
inline const QString kNoticeProcessed = QStringLiteral(
    "Sorry, transaction will not proceed. Discharge notice was already processed. Please "
    "contact the Billing department.");
inline const QString kNoFinalDiagnosis =
    QStringLiteral("Patient's final diagnosis must be entered before sending discharge order.");
inline const QString kNoProfessionalFees =
    QStringLiteral("Professional fees must be entered before sending discharge order.");
inline const QString kOrderSent =
    QStringLiteral("Discharge order was successfully sent to the Billing department.");

/// A stay's discharge order as a window opens it: what is stored and the patient's name.
struct OpenedOrder
{
    OrderData order;
    QString patientName;
};

/// What both discharge order windows (with case rates and the simpler one) do alike with the
/// notice to billing: reading the stay's order, the checks and the question before sending,
/// and revoking. Every step tells the user itself what went wrong.
class DischargeNoticeSteps
{
public:
    DischargeNoticeSteps(Session &session, DischargeOrderStore &store)
        : m_session(session)
        , m_store(store)
    {
    }

    /// The stay's order and the patient's name; nullopt after the error box.
    std::optional<OpenedOrder> open(const QString &idNum);
    /// False (after the message) while requests of the stay still wait for their departments.
    bool noPendingRequests(const QString &idNum);
    /// Whether the ward has written the stay's discharge instructions; tells the user when not.
    bool instructionsWritten(const QString &idNum);
    /// "Are you sure you want to send ...?" and the user's validation; nullopt when the user
    /// stops or does not validate.
    std::optional<ValidatedUser> confirmSend();
    /// Revokes the order after `question` and the user's validation. With the hospital's
    /// RetainDataRevokeDischarge on, the diagnoses, operations and fees stay for the next
    /// order and only the notice is withdrawn. True when revoked.
    bool revoke(const QString &idNum, const QString &patientName, const QString &question,
                const QString &done);
    /// Whether revoking keeps the order's diagnoses, operations and fees.
    bool retainsData() const;

    /// The refusal when billing has already computed the stay's benefits.
    static QString benefitsComputedText(const QString &patientName);

private:
    Session &m_session;
    DischargeOrderStore &m_store;
};

} // namespace caserates
} // namespace kestrel
