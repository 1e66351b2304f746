// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/packages/PackageCancellation.h"

#include "core/AccessRights.h"
#include "core/Dialogs.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

constexpr QStringView kRightRevoke = u"22";
constexpr QStringView kRightRevokePackages = u"38";

} // namespace

PackageCancellation::PackageCancellation(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
{
}

bool PackageCancellation::open(const QString &IdNum)
{
    m_IdNum = IdNum.trimmed();
    reload();
    if (m_packages.isEmpty())
        return refuse(QStringLiteral("There is no posted package to cancel for this patient."));
    return true;
}

void PackageCancellation::reload()
{
    m_chosen = -1;
    m_items.clear();
    auto packages = m_store.postedPackages(m_IdNum);
    if (!packages)
        m_session.notifier().errorBox(packages.error());
    m_packages = packages ? *packages : QList<PostedPackage>();
    Q_EMIT changed();
}

QString PackageCancellation::guide()
{
    return QStringLiteral("Click on the List of Packages to cancel.");
}

void PackageCancellation::choosePackage(int index)
{
    if (index < 0 || index >= m_packages.size())
        return;
    const PostedPackage &p = m_packages.at(index);
    auto items = m_store.postedItems(m_IdNum, p.chargeSlip);
    if (!items) {
        m_session.notifier().errorBox(items.error());
        return;
    }
    m_chosen = index;
    m_items = *items;
    Q_EMIT changed();
}

bool PackageCancellation::cancel()
{
    Notifier &notifier = m_session.notifier();
    if (m_chosen < 0)
        return refuse(guide());
    if (modGlobals::IsClearedByDepartment(m_session, m_IdNum, QStringLiteral("OR")))
        return refuse(QStringLiteral("Patient is already cleared by (OR Department). ") +
                      QStringLiteral("If you have charges to make, notify the Billing staff") +
                      QStringLiteral(" immediately for further instructions."));
    const PostedPackage package = m_packages.at(m_chosen);
    if (!notifier.confirm(QStringLiteral("Are you sure you want to cancel package ") +
                              package.packageId + QStringLiteral(" of charge slip ") +
                              package.chargeSlip + u'?',
                          kConfirmation, Notifier::Icon::Question, Notifier::Answer::No))
        return false;
    const ValidatedUser user = m_session.dialogs().validateUser(true);
    if (!user.isValid())
        return refuse(QStringLiteral("Selected charge(s) were not revoked! "));
    if (!HasAccessRight(m_session, kRightRevoke, user.code))
        return refuse(QStringLiteral("Sorry, you don't have access right to revoke charges."));
    if (m_session.hospital.clientname == u"LOBRA" &&
        !HasAccessRight(m_session, kRightRevokePackages, user.code))
        return refuse(QStringLiteral("Sorry, you are not allowed to revoke packages."));

    auto outcome = m_store.cancel(m_IdNum, package.chargeSlip, package.packageId, user.code);
    if (!outcome) {
        notifier.errorBox(outcome.error());
        return false;
    }
    if (*outcome == PackageCancelOutcome::AlreadyRevoked) {
        refuse(QStringLiteral("Sorry, this package is already revoked."));
        reload();
        return false;
    }
    reload();
    Q_EMIT cancelled(package.chargeSlip, package.packageId);
    return true;
}

bool PackageCancellation::refuse(const QString &text) const
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Information);
    return false;
}

} // namespace kestrel
