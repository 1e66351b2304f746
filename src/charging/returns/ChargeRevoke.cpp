// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/returns/ChargeRevoke.h"

#include "charging/ChargeAccount.h"
#include "charging/returns/ReturnStore.h"
#include "core/AccessRights.h"
#include "core/components/clsDrugPicker.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <algorithm>
#include <tuple>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kRevokeQuestion = QStringLiteral("Are you sure you want to revoke this charge?");

} // namespace

const CurrentPatientRecord &ChargeRevoke::stay() const
{
    return m_account ? m_account->stay() : m_session.CurrentPatient;
}

QString ChargeRevoke::revokeQuestion() const
{
    return m_account ? m_account->revokeQuestion() : kRevokeQuestion;
}

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
    const QList<PostedCharge> one{charge};
    if (!checksPass(one))
        return Outcome::Refused;
    if (!m_session.notifier().confirm(revokeQuestion(), kConfirmation))
        return Outcome::Refused;
    if (!signedIn(one, false))
        return Outcome::Refused;
    return write(one, false);
}

ChargeRevoke::Outcome ChargeRevoke::revokeSeveral(const QList<PostedCharge> &charges)
{
    m_supervisor = {};
    m_session.validated = {};
    if (charges.isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please select items to revoke."),
                                     kNotification, Notifier::Icon::Information);
        return Outcome::Refused;
    }
    if (!checksPass(charges))
        return Outcome::Refused;
    if (!m_session.notifier().confirm(revokeQuestion(), kConfirmation))
        return Outcome::Refused;
    if (!signedIn(charges, true))
        return Outcome::Refused;
    return write(charges, true);
}

bool ChargeRevoke::checksPass(const QList<PostedCharge> &charges)
{
    Notifier &notifier = m_session.notifier();
    auto refuse = [&notifier](const QString &text) {
        notifier.message(text, kNotification, Notifier::Icon::Exclamation);
        return false;
    };
    const QString IdNum = stay().IdNum.trimmed();
    // Late charges on an account come after the OR cleared the patient: no clearance check.
    if (!m_account && modGlobals::IsClearedByDepartment(m_session, IdNum, QStringLiteral("OR")))
        return refuse(QStringLiteral("Patient is already cleared by (OR Department). ") +
                      QStringLiteral("If you have charges to make, notify the Billing staff") +
                      QStringLiteral(" immediately for further instructions."));
    ReturnStore store(m_session.db());
    for (const PostedCharge &charge : charges) {
        if (!charge.packageId.isEmpty() && m_session.settings.NoPackageItemExclude())
            return refuse(QStringLiteral("Sorry, you are not allowed to revoke package items."));
        auto left = store.remainder(IdNum, charge.chargeSlip, charge.item);
        if (!left) {
            notifier.errorBox(left.error());
            return false;
        }
        if (left->amount.isZero())
            return refuse(
                (m_account ? m_account->nothingLeftToRevoke()
                           : QStringLiteral("Can't revoke this charge. The Total Amount is "
                                            "already Zero(0).")) +
                (charges.size() > 1 ? QStringLiteral(" (") + charge.description.trimmed() +
                                          QStringLiteral(", ") + charge.chargeSlip + u')'
                                    : QString()));
    }
    return true;
}

bool ChargeRevoke::signedIn(const QList<PostedCharge> &charges, bool several)
{
    Notifier &notifier = m_session.notifier();
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser(true);
        if (m_session.validated.isValid())
            break;
        if (several) {
            notifier.message(QStringLiteral("Selected charge(s) were not revoked! "),
                             kNotification, Notifier::Icon::Information);
            return false;
        }
        if (!notifier.confirm(QStringLiteral("Selected charge(s) will not be revoked! ") +
                                  u'\n' + revokeQuestion(),
                              kConfirmation))
            return false;
    }
    const QString user = m_session.validated.code;
    auto refused = [&notifier, several](const QString &text) {
        notifier.message(several ? QStringLiteral("Selected charges will not be revoked! ") +
                                       u'\n' + text
                                 : text,
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    };
    if (!HasAccessRight(m_session, u"22", user))
        return refused(QStringLiteral("Sorry, you don't have access right to revoke charges."));
    const bool packages = std::any_of(charges.cbegin(), charges.cend(),
                                      [](const PostedCharge &c) { return !c.packageId.isEmpty(); });
    if (m_session.hospital.clientname.trimmed().toUpper() == u"LOBRA" && packages &&
        !HasAccessRight(m_session, u"38", user))
        return refused(QStringLiteral("Sorry, you are not allowed to revoke packages."));
    const bool orLines = std::any_of(charges.cbegin(), charges.cend(),
                                     [](const PostedCharge &c) { return c.department == u"OR"; });
    const bool supervised = m_session.hospital.IsAllowSupervisorCodeForCancellationOfCharges ||
                            (m_session.settings.ORRevenueSupervisorCancel() && orLines);
    if (supervised && !m_askSupervisor) {
        // Asking again could never be answered: say so once instead.
        notifier.errorBox(Error::make(QStringLiteral("The supervisor window is not installed; "
                                                     "the charge was not revoked.")));
        return false;
    }
    while (supervised) {
        m_supervisor = m_askSupervisor();
        if (m_supervisor.isValid())
            break;
        if (!notifier.confirm(QStringLiteral("Selected charge was not revoked! ") + u'\n' +
                                  revokeQuestion(),
                              kConfirmation))
            return false;
    }
    return true;
}

ChargeRevoke::Outcome ChargeRevoke::write(const QList<PostedCharge> &charges, bool several)
{
    Notifier &notifier = m_session.notifier();
    Database &db = m_session.db();
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!now.isValid())
        return Outcome::Failed;
    const QString IdNum = stay().IdNum.trimmed();
    ReturnStore store(db);
    auto fail = [&notifier](const Error &error) {
        notifier.errorBox(error);
        return Outcome::Failed;
    };
    // Lines are locked in one order, so two workstations revoking overlapping sets never wait
    // for each other in a circle.
    QList<PostedCharge> ordered = charges;
    std::sort(ordered.begin(), ordered.end(), [](const PostedCharge &a, const PostedCharge &b) {
        return std::tie(a.chargeSlip, a.item, a.department) <
               std::tie(b.chargeSlip, b.item, b.department);
    });

    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return fail(tx.error());
    for (const PostedCharge &charge : std::as_const(ordered)) {
        // Where the stock came from is read before the line is revoked (a revoked line is not
        // found); the revoke itself then decides, under the line's lock, what is left to put
        // back.
        auto issued = store.issuedLine(IdNum, charge.chargeSlip, charge.item);
        if (!issued)
            return fail(issued.error());
        auto revoked = store.revokeLine(IdNum, charge.chargeSlip, charge.department, charge.item,
                                        m_session.validated.code, now);
        if (!revoked)
            return fail(revoked.error());
        if (revoked->isEmpty()) {
            tx.rollback();
            QString text = charge.packageId.isEmpty()
                               ? QStringLiteral("This charge was already revoked at another "
                                                "workstation. Nothing was changed.")
                               : QStringLiteral("Sorry, this package is already revoked.");
            if (several)
                text = charge.description.trimmed() + QStringLiteral(" (charge slip ") +
                       charge.chargeSlip + QStringLiteral(") was already revoked at another "
                                                          "workstation. None of the selected "
                                                          "charges were revoked.");
            notifier.message(text, kNotification, Notifier::Icon::Exclamation);
            return Outcome::AlreadyRevoked;
        }
        const QString location = *issued ? (*issued)->location : QString();
        for (const ReturnStore::Revoked &line : std::as_const(*revoked)) {
            if (auto ok = putBack(charge, line, location, now); !ok)
                return fail(ok.error());
        }
    }
    if (auto ok = tx.commit(); !ok)
        return fail(ok.error());
    return Outcome::Revoked;
}

Result<void> ChargeRevoke::putBack(const PostedCharge &charge, const ReturnStore::Revoked &line,
                                   const QString &location, const QDateTime &now)
{
    Database &db = m_session.db();
    const QString IdNum = stay().IdNum.trimmed();
    ReturnStore store(db);
    if (!location.isEmpty() && line.quantity > 0) {
        if (!m_drugPicker)
            return failure(QStringLiteral("The drug picker is not installed."));
        m_drugPicker->InitConnect(&db);
        clsDrug *drug = m_drugPicker->Drug();
        drug->setLocationID(location);
        StockCardEntry back;
        back.IdNum = IdNum;
        back.HospNum = stay().HospNum.trimmed();
        back.ItemID = charge.item;
        back.Quantity = line.quantity;
        back.Amount = line.amount;
        back.RefNum = charge.chargeSlip;
        back.TransDate = now;
        back.UserID = m_session.validated.code;
        back.TransType = QStringLiteral("C");
        if (auto ok = drug->AppendStockCard(back); !ok)
            return ok;
        if (!charge.packageId.isEmpty()) {
            if (auto ok =
                    store.stampPackage(IdNum, charge.item, charge.chargeSlip, charge.packageId);
                !ok)
                return ok;
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
    return store.appendAdjustment(a);
}

} // namespace kestrel
