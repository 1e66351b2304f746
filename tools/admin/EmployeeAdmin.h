// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QString>
#include <QStringList>

namespace kestrel::admin {

/// A new employee as IT enters him.
struct NewEmployee
{
    QString code;
    QString lastName;
    QString firstName;
    QString middleName;
    QString initial; ///< "" for the first letters of his names
    QString department = QStringLiteral("29");
    QString designation;
    QString station = QStringLiteral("OR");
    QStringList rights; ///< access right codes, "3", "10", ...
};

/// Adds an employee without a password (he cannot log in until one is set). Refuses a code
/// that exists and rights the hospital's list does not hold (when it has one).
Result<void> addEmployee(Database &db, const NewEmployee &employee);

/// `length` random letters and digits, none that can be mistaken for another when read
/// aloud or from paper (no 0, O, 1, l or I): one-time passwords and password keys.
QString randomText(int length);

/// A one-time password: ten random letters and digits.
inline QString makeOneTimePassword()
{
    return randomText(10);
}

/// Turns away no more re-validations of `code` for past failures. false: no such employee.
Result<bool> unlockEmployee(Database &db, const QString &code);

/// Marks a leaver: his code no longer logs in or signs. false: no such employee.
Result<bool> disableEmployee(Database &db, const QString &code);

} // namespace kestrel::admin
