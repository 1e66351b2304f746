// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/SupervisorAccess.h"

#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "users/UserValidation.h"

namespace kestrel {

SupervisorAccess::SupervisorAccess(Session &session, QString scrambleKey)
    : m_session(session)
    , m_key(std::move(scrambleKey))
{
}

bool SupervisorAccess::signIn(const QString &userId, const QString &password,
                              const QString &remarks)
{
    close();
    // The sign-in check of the re-validation window, without touching the user it validated.
    const ValidatedUser kept = m_session.validated;
    UserValidation check(m_session, m_key);
    check.open(0);
    const UserValidation::Outcome outcome = check.validate(userId, password, QString());
    const ValidatedUser signedIn = m_session.validated;
    m_session.validated = kept;
    if (outcome != UserValidation::Outcome::Validated || !signedIn.isValid())
        return false;
    if (!HasAccessRight(m_session, u"29", signedIn.code)) {
        m_session.notifier().message(QStringLiteral("Sorry, you don't have supervisory rights."),
                                     QStringLiteral("Notification"),
                                     Notifier::Icon::Exclamation);
        return false;
    }
    m_supervisor = signedIn;
    m_supervisor.reason = UserValidation::reasonText(remarks);
    m_marker = QStringLiteral("Allowed ");
    return true;
}

void SupervisorAccess::close()
{
    m_supervisor = {};
    m_marker.clear();
}

CMRemarks::CMRemarks(Session &session)
    : m_session(session)
{
}

QStringList CMRemarks::load()
{
    auto rows = m_session.db().call(u"STATION..sp_Nurse_Get_CMRemarks", {7});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return {};
    }
    QStringList remarks;
    for (const Row &r : *rows)
        remarks << r.trimmed(u"Remarks");
    return remarks;
}

QString CMRemarks::appended(const QString &reason, const QStringList &chosen)
{
    QStringList parts;
    if (!reason.trimmed().isEmpty())
        parts << reason.trimmed();
    for (const QString &c : chosen) {
        if (!c.trimmed().isEmpty())
            parts << c.trimmed();
    }
    return parts.join(QStringLiteral(", "));
}

} // namespace kestrel
