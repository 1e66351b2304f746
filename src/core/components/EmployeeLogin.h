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
    QString status; ///< "A" active

    bool isActive() const { return status.compare(u"A", Qt::CaseInsensitive) == 0; }
};

/// The employee with code `code`, or nullopt when there is none.
Result<std::optional<EmployeeLogin>> readEmployeeLogin(Database &db, const QString &code);

/// Whether `password` is the one the Argon2id hash string `passwordHash` was made from. An
/// empty hash (an unknown employee) is checked against a hash of nothing anyone types, so a
/// refusal takes as long whether or not the employee exists.
bool passwordMatches(const QString &passwordHash, const QString &password);

} // namespace kestrel
