// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "support/ScriptedLoginPrompt.h"

namespace kestrel::test {

std::optional<LoginRequest> ScriptedLoginPrompt::askLogin(const QString &refusal)
{
    m_loginRefusals << refusal;
    return m_logins.isEmpty() ? std::nullopt : m_logins.dequeue();
}

std::optional<QString> ScriptedLoginPrompt::askPassword(const QString &employeeName,
                                                        const QString &refusal)
{
    Q_UNUSED(refusal)
    m_passwordNames << employeeName;
    return m_passwords.isEmpty() ? std::nullopt : m_passwords.dequeue();
}

void ScriptedLoginPrompt::answerLogin(const QString &employeeCode, const QString &password)
{
    LoginRequest r;
    r.source = LoginSource::Embedded;
    r.employeeCode = employeeCode;
    r.password = password;
    m_logins.enqueue(r);
}

} // namespace kestrel::test
