// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QString>

#include <optional>

namespace kestrel {

class Database;

/// An employee as the login knows him.
struct EmployeeLogin
{
    QString code;
    QString lastName;
    QString firstName;
    QString middleName;
    QString initial;
    QString passwordHash; ///< Argon2id hash string
    QString deptCode;     ///< the password group he logs in to ("29" is the OR)
    QString stationId;
    QString status;                  ///< "A" active
    bool mustChangePassword = false; ///< a one-time password: he chooses his own at login

    bool isActive() const { return status.compare(u"A", Qt::CaseInsensitive) == 0; }
};

/// The shortest password the hospital accepts: the station switch `PasswordMinLength`
/// (STATION..tbNurseSetup), 8 when the hospital has not set one.
Result<int> passwordMinimumLength(Database &db);

/// The Argon2id hash string of `password`, with the limits every hash of the hospital uses.
Result<QString> hashPassword(const QString &password);

/// Stores `password` (as its hash only) as the employee's own: a one-time password when
/// `oneTime`, which the employee must then change at his next login. Refuses a password
/// shorter than the hospital's minimum. Answers false when there is no such employee.
Result<bool> storePassword(Database &db, const QString &code, const QString &password,
                           bool oneTime);

/// The employee with code `code`, or nullopt when there is none.
Result<std::optional<EmployeeLogin>> readEmployeeLogin(Database &db, const QString &code);

/// Whether `password` is the one the Argon2id hash string `passwordHash` was made from. An
/// empty hash (an unknown employee) is checked against a hash of nothing anyone types, so a
/// refusal takes as long whether or not the employee exists.
bool passwordMatches(const QString &passwordHash, const QString &password);

} // namespace kestrel
