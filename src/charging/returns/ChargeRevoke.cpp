// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/returns/ChargeRevoke.h"

#include "charging/returns/ReturnStore.h"
#include "core/AccessRights.h"
#include "core/components/clsDrugPicker.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kRevokeQuestion = QStringLiteral("Are you sure you want to revoke this charge?");

} // namespace

ChargeRevoke::ChargeRevoke(Session &session, clsDrugPicker *drugPicker,
                           SupervisorPrompt supervisor)
    : m_session(session)
    , m_drugPicker(drugPicker)
    , m_askSupervisor(std::move(supervisor))
{
}

ChargeRevoke::Outcome ChargeRevoke::revoke(const PostedCharge &charge)
{
    m_supervisor = {};
    m_session.validated = {};
    if (!checksPass(charge))
        return Outcome::Refused;
    if (!m_session.notifier().confirm(kRevokeQuestion, kConfirmation))
        return Outcome::Refused;
    if (!signedIn(charge))
        return Outcome::Refused;
    return write(charge);
}

bool ChargeRevoke::checksPass(const PostedCharge &charge)
{
    Notifier &notifier = m_session.notifier();
    auto refuse = [&notifier](const QString &text) {
        notifier.message(text, kNotification, Notifier::Icon::Exclamation);
        return false;
    };
    const QString IdNum = m_session.CurrentPatient.IdNum.trimmed();
    if (modGlobals::IsClearedByDepartment(m_session, IdNum, QStringLiteral("OR")))
        return refuse(QStringLiteral("Patient is already cleared by (OR Department). ") +
                      QStringLiteral("If you have charges to make, notify the Billing staff") +
                      QStringLiteral(" immediately for further instructions."));
    if (!charge.packageId.isEmpty() && m_session.settings.NoPackageItemExclude())
        return refuse(QStringLiteral("Sorry, you are not allowed to revoke package items."));
    auto left = ReturnStore(m_session.db()).remainder(IdNum, charge.chargeSlip, charge.item);
    if (!left) {
        notifier.errorBox(left.error());
        return false;
    }
    if (left->amount.isZero())
        return refuse(
            QStringLiteral("Can't revoke this charge. The Total Amount is already Zero(0)."));
    return true;
}

bool ChargeRevoke::signedIn(const PostedCharge &charge)
{
    Notifier &notifier = m_session.notifier();
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser(true);
        if (m_session.validated.isValid())
            break;
        if (!notifier.confirm(QStringLiteral("Selected charge(s) will not be revoked! ") +
                                  u'\n' + kRevokeQuestion,
                              kConfirmation))
            return false;
    }
    const QString user = m_session.validated.code;
    if (!HasAccessRight(m_session, u"22", user)) {
        notifier.message(QStringLiteral("Sorry, you don't have access right to revoke charges."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (m_session.hospital.clientname.trimmed().toUpper() == u"LOBRA" &&
        !charge.packageId.isEmpty() && !HasAccessRight(m_session, u"38", user)) {
        notifier.message(QStringLiteral("Sorry, you are not allowed to revoke packages."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    const bool supervised =
        m_session.hospital.IsAllowSupervisorCodeForCancellationOfCharges ||
        (m_session.settings.ORRevenueSupervisorCancel() && charge.department == u"OR");
    while (supervised) {
        m_supervisor = m_askSupervisor ? m_askSupervisor() : ValidatedUser();
        if (m_supervisor.isValid())
            break;
        if (!notifier.confirm(QStringLiteral("Selected charge was not revoked! ") + u'\n' +
                                  kRevokeQuestion,
                              kConfirmation))
            return false;
    }
    return true;
}

ChargeRevoke::Outcome ChargeRevoke::write(const PostedCharge &charge)
{
    Notifier &notifier = m_session.notifier();
    Database &db = m_session.db();
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!now.isValid())
        return Outcome::Failed;
    const QString IdNum = m_session.CurrentPatient.IdNum.trimmed();
    ReturnStore store(db);
    auto fail = [&notifier](const Error &error) {
        notifier.errorBox(error);
        return Outcome::Failed;
    };

    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return fail(tx.error());
    // Where the stock came from is read before the line is revoked (a revoked line is not
    // found); the revoke itself then decides, under the line's lock, what is left to put back.
    auto issued = store.issuedLine(IdNum, charge.chargeSlip, charge.item);
    if (!issued)
        return fail(issued.error());
    auto revoked = store.revokeLine(IdNum, charge.chargeSlip, charge.department, charge.item,
                                    m_session.validated.code, now);
    if (!revoked)
        return fail(revoked.error());
    if (revoked->isEmpty()) {
        notifier.message(charge.packageId.isEmpty()
                             ? QStringLiteral("This charge was already revoked at another "
                                              "workstation. Nothing was changed.")
                             : QStringLiteral("Sorry, this package is already revoked."),
                         kNotification, Notifier::Icon::Exclamation);
        return Outcome::AlreadyRevoked;
    }
    for (const ReturnStore::Revoked &line : std::as_const(*revoked)) {
        const QString location = *issued ? (*issued)->location : QString();
        if (!location.isEmpty() && line.quantity > 0) {
            if (!m_drugPicker)
                return fail(Error::make(QStringLiteral("The drug picker is not installed.")));
            m_drugPicker->InitConnect(&db);
            clsDrug *drug = m_drugPicker->Drug();
            drug->setLocationID(location);
            StockCardEntry back;
            back.IdNum = IdNum;
            back.HospNum = m_session.CurrentPatient.HospNum.trimmed();
            back.ItemID = charge.item;
            back.Quantity = line.quantity;
            back.Amount = line.amount;
            back.RefNum = charge.chargeSlip;
            back.TransDate = now;
            back.UserID = m_session.validated.code;
            back.TransType = QStringLiteral("C");
            if (auto ok = drug->AppendStockCard(back); !ok)
                return fail(ok.error());
            if (!charge.packageId.isEmpty()) {
                if (auto ok = store.stampPackage(IdNum, charge.item, charge.chargeSlip,
                                                 charge.packageId);
                    !ok)
                    return fail(ok.error());
            }
        }
        ReturnStore::Adjustment a;
        a.IdNum = IdNum;
        a.chargeSlip = charge.chargeSlip;
        a.department = charge.department;
        a.item = charge.item;
        a.quantity = line.quantity;
        a.amount = line.amount;
        a.kind = QStringLiteral("R");
        // The reason of the user who revoked, or else the one the supervisor gave.
        a.reason = m_session.validated.reason.isEmpty() ? m_supervisor.reason
                                                        : m_session.validated.reason;
        a.user = m_session.validated.code;
        a.supervisor = m_supervisor.code;
        a.station = m_session.StationID;
        if (auto ok = store.appendAdjustment(a); !ok)
            return fail(ok.error());
    }
    if (auto ok = tx.commit(); !ok)
        return fail(ok.error());
    return Outcome::Revoked;
}

} // namespace kestrel
