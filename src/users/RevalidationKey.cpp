// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/RevalidationKey.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

RevalidationKey::RevalidationKey(QString installationKey)
    : m_installationKey(installationKey.trimmed())
{
}

QString RevalidationKey::missingText()
{
    return QStringLiteral("Signatures cannot be checked on this workstation: the password key "
                          "is missing from the hospital database (PASSWORD..tbPasswordKey) and "
                          "from kestrel-installation.ini beside the program.\n\n"
                          "Please notify your IT department.");
}

QString RevalidationKey::key(Session &session)
{
    if (!m_key.isEmpty())
        return m_key;
    auto row = session.db().scalar(u"select ScrambleKey from PASSWORD..tbPasswordKey");
    if (row)
        m_key = row->toString().trimmed();
    else
        qCWarning(lcDb) << "the hospital's password key could not be read:" << row.error().message;
    if (m_key.isEmpty())
        m_key = m_installationKey;
    if (m_key.isEmpty() && !m_told) {
        m_told = true;
        session.notifier().message(missingText(), QStringLiteral("Notification"),
                                   Notifier::Icon::Critical);
    }
    return m_key;
}

} // namespace kestrel
