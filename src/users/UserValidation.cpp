// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/UserValidation.h"

#include "core/components/EmployeeLogin.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "users/modEncryption.h"

namespace kestrel {

UserValidation::UserValidation(Session &session, QString scrambleKey)
    : m_session(session)
    , m_key(std::move(scrambleKey))
{
}

void UserValidation::open(int postOrCancel)
{
    m_postOrCancel = postOrCancel;
    m_session.validated = ValidatedUser();
}

void UserValidation::cancel()
{
    m_session.validated = ValidatedUser();
}

bool UserValidation::hasReason(const QString &remarks)
{
    QString text = remarks;
    text.remove(u'\r');
    text.remove(u'\n');
    return !text.trimmed().isEmpty();
}

QString UserValidation::reasonText(const QString &remarks)
{
    QString text = remarks;
    text.replace(u'\r', u' ');
    text.remove(u'\n');
    return text.trimmed();
}

UserValidation::Outcome UserValidation::validate(const QString &userId, const QString &password,
                                                 const QString &remarks)
{
    const QString typed = typedPassword(password);
    if (const QString refusal = passwordCharactersRefusal(typed); !refusal.isEmpty()) {
        // The scrambling cannot carry it: no such password can be the employee's.
        m_session.notifier().message(refusal, QStringLiteral("Notification"),
                                     Notifier::Icon::Critical);
        m_session.validated = ValidatedUser();
        return Outcome::Unauthorized;
    }
    const QString scrambled = Scramble(u"E", m_key, typed).trimmed();
    auto rows = m_session.db().call(u"Station..sp_Check_User_Department_Access",
                                    {userId.trimmed(), scrambled, QStringLiteral("29")});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        m_session.validated = ValidatedUser();
        return Outcome::Failed;
    }
    if (rows->isEmpty()) {
        // A code locked by wrong passwords, here or at any other password check, is told so.
        auto locked = passwordLockedUntil(m_session.db(), userId);
        if (locked && locked->isValid())
            m_session.notifier().message(lockedOutText(*locked), QStringLiteral("Notification"),
                                         Notifier::Icon::Critical);
        else
            m_session.notifier().message(
                QStringLiteral("Unauthorized User for this department(%1-%2)")
                    .arg(m_session.StationID, m_session.StationName),
                QStringLiteral("Notification"), Notifier::Icon::Information);
        m_session.validated = ValidatedUser();
        return Outcome::Unauthorized;
    }
    const Row &r = rows->at(0);
    m_session.validated.name = r.text(u"LastName") + QStringLiteral(", ") + r.text(u"FirstName") +
                               u' ' + r.text(u"MiddleName");
    m_session.validated.code = userId.trimmed();
    if (m_postOrCancel == 1 && m_session.hospital.IsAllowEntryOfReasonForCancellation) {
        if (!hasReason(remarks)) {
            m_session.notifier().message(QStringLiteral("Please enter reason of cancellation."),
                                         QStringLiteral("Notification"), Notifier::Icon::Critical);
            return Outcome::NeedsReason;
        }
        m_session.validated.reason = reasonText(remarks);
    }
    return Outcome::Validated;
}

} // namespace kestrel
