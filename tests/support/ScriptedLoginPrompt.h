// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/LoginPrompt.h"

#include <QQueue>
#include <QStringList>

namespace kestrel::test {

/// A login window for tests: answers from a script and remembers what it was asked. When the
/// script runs out it cancels.
class ScriptedLoginPrompt : public LoginPrompt
{
public:
    std::optional<LoginRequest> askLogin(const QString &refusal) override;
    std::optional<QString> askPassword(const QString &employeeName,
                                       const QString &refusal) override;

    /// The next login answer: this employee and password, on the embedded hospital.
    void answerLogin(const QString &employeeCode, const QString &password);
    /// The next login answer, as given.
    void answerLogin(const LoginRequest &request) { m_logins.enqueue(request); }
    /// The next login ask is cancelled.
    void cancelLogin() { m_logins.enqueue(std::nullopt); }
    /// The next password ask is answered with `password`.
    void answerPassword(const QString &password) { m_passwords.enqueue(password); }
    /// The next password ask is cancelled.
    void cancelPassword() { m_passwords.enqueue(std::nullopt); }

    /// How often the login was asked, and the refusal shown each time ("" the first time).
    int loginAsks() const { return int(m_loginRefusals.size()); }
    const QStringList &loginRefusals() const { return m_loginRefusals; }
    /// The employee names the password was asked of, in order.
    const QStringList &passwordAskedOf() const { return m_passwordNames; }

private:
    QQueue<std::optional<LoginRequest>> m_logins;
    QQueue<std::optional<QString>> m_passwords;
    QStringList m_loginRefusals;
    QStringList m_passwordNames;
};

} // namespace kestrel::test
