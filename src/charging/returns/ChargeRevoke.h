// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryStore.h"
#include "charging/returns/ReturnStore.h"
#include "core/Dialogs.h"

#include <QString>

#include <functional>

namespace kestrel {

class ChargeAccount;
class Session;
class clsDrugPicker;

/// Revoking a posted charge from the charge window's posted list: the checks, the
/// confirmation, the sign-in of a user with the revoke right (and the reason where the
/// hospital wants one), the supervisor where the hospital wants one, then the revoke.
///
/// The revoke is one transaction: the logbook line is marked revoked only if no other
/// workstation revoked it first, what was left of it goes back to the stock card and the
/// location it came from, and the adjustment is recorded with the reason. A line another
/// workstation has just revoked is told and nothing changes. Several lines revoked together
/// are one transaction as well, with their lines locked in one order.
class ChargeRevoke
{
public:
    /// Shows the supervisor window (`frmSupervisorAccessCode`) and answers the supervisor who
    /// signed in, with the reason he typed; an empty code when it was closed without one.
    using SupervisorPrompt = std::function<ValidatedUser()>;

    enum class Outcome { Refused, Revoked, AlreadyRevoked, Failed };

    /// `drugPicker` puts stock lines back on the stock card (without one, revoking a stock
    /// line fails and changes nothing).
    ChargeRevoke(Session &session, clsDrugPicker *drugPicker, SupervisorPrompt supervisor);

    /// Revokes `charge` of the selected stay. Every refusal is told to the user.
    Outcome revoke(const PostedCharge &charge);
    /// Revokes the ticked `charges` together (the station switch `MultiCancel`): the same
    /// checks for each, one confirmation, one sign-in and one supervisor for the set, then one
    /// transaction. If another workstation revoked any of them meanwhile, none is revoked and
    /// the user is told which.
    Outcome revokeSeveral(const QList<PostedCharge> &charges);

    /// Revokes the charges of `account` instead of the selected patient's (the receivable
    /// window), with its texts; it outlives the revoke.
    void setAccount(const ChargeAccount *account) { m_account = account; }

    /// The supervisor of the last revoke that asked for one.
    const ValidatedUser &supervisor() const { return m_supervisor; }

private:
    const CurrentPatientRecord &stay() const;
    QString revokeQuestion() const;
    bool checksPass(const QList<PostedCharge> &charges);
    bool signedIn(const QList<PostedCharge> &charges, bool several);
    Outcome write(const QList<PostedCharge> &charges, bool several);
    /// Puts back what was left of one revoked line: stock, package stamp and adjustment.
    Result<void> putBack(const PostedCharge &charge, const ReturnStore::Revoked &line,
                         const QString &location, const QDateTime &now);

    Session &m_session;
    clsDrugPicker *m_drugPicker;
    SupervisorPrompt m_askSupervisor;
    ValidatedUser m_supervisor;
    const ChargeAccount *m_account = nullptr;
};

} // namespace kestrel
