// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class Session;

/// The re-validation window's rules: an employee signs in with code and password before an
/// action that writes or cancels, and for a cancellation may have to say why. The result goes
/// to the session's validated user, which the caller then records instead of the logged-in
/// user.
class UserValidation
{
public:
    enum class Outcome {
        Validated,    ///< close: the validated user is set
        NeedsReason,  ///< stay open: the reason is missing (the code is already set)
        Unauthorized, ///< close: the code and password were refused
        Failed,       ///< close: the check itself failed (the error box was shown)
    };

    /// `scrambleKey` is the installation's key the hospital database unscrambles with.
    UserValidation(Session &session, QString scrambleKey);

    /// Opens the window: clears the last validated user. `postOrCancel` 1 asks for a reason.
    void open(int postOrCancel);
    bool showsReason() const { return m_postOrCancel == 1; }
    Session &session() const { return m_session; }

    /// Enter in the password field, or the OK button.
    Outcome validate(const QString &userId, const QString &password, const QString &remarks);

    /// Esc: the window closes without a validated user, even one already signed in while the
    /// reason was being asked for.
    void cancel();

    /// Whether `remarks` holds a reason once line breaks are taken out.
    static bool hasReason(const QString &remarks);
    /// The reason as recorded: carriage returns become blanks, line feeds go, trimmed.
    static QString reasonText(const QString &remarks);

private:
    Session &m_session;
    QString m_key;
    int m_postOrCancel = 0;
};

} // namespace kestrel
