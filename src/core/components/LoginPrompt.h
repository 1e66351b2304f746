// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

#include <optional>

namespace kestrel {

/// Which hospital database a login opens.
enum class LoginSource {
    Embedded, ///< the demo hospital kept on this workstation
    Server,   ///< the hospital's PostgreSQL server, as typed in the login window
    /// The hospital server the installation file names: the nurse types only her code and
    /// password, the connection comes from the service, ~/.pgpass or a client certificate.
    Installed,
};

/// What the login window hands back: where the hospital database is and who logs in.
struct LoginRequest
{
    LoginSource source = LoginSource::Embedded;
    QString host;
    int port = 5432;
    QString database;
    QString user;
    QString serverPassword;
    QString employeeCode;
    QString password;
};

/// The login window as the login component asks it. The running program answers with the
/// login dialog, tests with a script.
class LoginPrompt
{
public:
    virtual ~LoginPrompt() = default;

    /// Asks for the database, the employee code and the password. `refusal` is the reason the
    /// previous answer was turned down ("" on the first ask). nullopt: the user cancelled.
    virtual std::optional<LoginRequest> askLogin(const QString &refusal) = 0;

    /// Asks the logged-in employee `employeeName` for his password again. nullopt: cancelled.
    virtual std::optional<QString> askPassword(const QString &employeeName,
                                               const QString &refusal) = 0;

    /// Asks `employeeName`, who logged in with a one-time password, for a password of his own
    /// (typed twice where a window asks it). nullopt: cancelled, and the login with it.
    virtual std::optional<QString> askNewPassword(const QString &employeeName,
                                                  const QString &refusal)
    {
        Q_UNUSED(employeeName)
        Q_UNUSED(refusal)
        return std::nullopt;
    }
};

} // namespace kestrel
