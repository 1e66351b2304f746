// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Dialogs.h"
#include "core/Session.h"
#include "support/RecordingNotifier.h"

#include <QQueue>

namespace kestrel::test {

/// A re-validation window that answers from a script: the employees who "sign", in order,
/// and nobody (cancelled) once the script runs out.
class ScriptedDialogs : public Dialogs
{
public:
    ValidatedUser validateUser(bool /*askReason*/) override
    {
        ++m_asked;
        return m_signers.isEmpty() ? ValidatedUser{} : m_signers.dequeue();
    }
    void sign(const QString &employeeCode)
    {
        m_signers.enqueue(
            ValidatedUser{employeeCode, QStringLiteral("SIGNER ") + employeeCode, QString()});
    }
    int asked() const { return m_asked; }

private:
    QQueue<ValidatedUser> m_signers;
    int m_asked = 0;
};

/// The logged-in user of a test, on the test's database.
class FixtureUser : public CurrentUser
{
public:
    FixtureUser(Database &db, QString code)
        : m_db(&db)
        , m_code(std::move(code))
    {
    }
    QString EmployeeCode() const override { return m_code; }
    QString EmployeeName() const override { return QStringLiteral("TEST, USER ") + m_code; }
    QString Initial() const override { return QStringLiteral("TU"); }
    QString servername() const override { return QStringLiteral("OR-TEST-SERVER"); }
    Database *sqlconnection() const override { return m_db; }
    void setCode(const QString &code) { m_code = code; }
    /// The user's connection becomes `db` (a server gone, then back).
    void use(Database *db) { m_db = db; }

private:
    Database *m_db;
    QString m_code;
};

/// A session logged in as `employeeCode` on `db`, with scripted message boxes and
/// re-validation.
struct MainWindowFixture
{
    MainWindowFixture(Database &db, const QString &employeeCode)
        : user(db, employeeCode)
    {
        session.setCurrentUser(&user);
        session.LoggedIn = true;
    }

    RecordingNotifier notifier;
    ScriptedDialogs dialogs;
    FixtureUser user;
    Session session{notifier, dialogs};
};

} // namespace kestrel::test
