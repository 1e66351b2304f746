// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Dialogs.h"

#include <QString>
#include <QStringList>

namespace kestrel {

class Session;

/// The rules of the supervisor window `frmSupervisorAccessCode`: a supervisor signs in with
/// code and password (the same check as the re-validation window) and must hold the
/// supervisor right. The validated user of the session is left as it was.
class SupervisorAccess
{
public:
    SupervisorAccess(Session &session, QString scrambleKey);

    /// Enter in the password field: true when a supervisor signed in; refusals are told.
    bool signIn(const QString &userId, const QString &password, const QString &remarks);
    /// Esc or "Close": no supervisor.
    void close();

    /// The supervisor who signed in, with the reason typed; an empty code when none did.
    const ValidatedUser &supervisor() const { return m_supervisor; }
    /// "Allowed " once a supervisor signed in.
    const QString &marker() const { return m_marker; }

    Session &session() const { return m_session; }

private:
    Session &m_session;
    QString m_key;
    ValidatedUser m_supervisor;
    QString m_marker;
};

/// The rules of "List of CM Remarks" (`frmCMRemarks`): the remarks a reason is picked from.
class CMRemarks
{
public:
    explicit CMRemarks(Session &session);

    /// The remarks of the OR's list; empty (told) when they cannot be read.
    QStringList load();
    /// `reason` with the chosen remarks appended, ", " between them.
    static QString appended(const QString &reason, const QStringList &chosen);

private:
    Session &m_session;
};

} // namespace kestrel
