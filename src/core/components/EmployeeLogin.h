// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QDateTime>
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

/// A password as every check compares it, the login as every signature: without leading and
/// trailing blanks.
QString typedPassword(const QString &typed);

/// Why `password` cannot be used, "" when it can: a signature carries the password to the
/// hospital database scrambled, and the scrambling carries only the characters of the
/// workstations' set (hospitalCharacterCode), so a password with any other character could log
/// in but never sign.
QString passwordCharactersRefusal(QStringView password);

/// Wrong passwords that lock an employee code: this many within kFailureWindowSeconds lock it
/// for kLockSeconds after the last of them, at the login, at every signature and at the
/// password re-check of User Settings alike. The failures are kept in the hospital database,
/// so neither another workstation nor a restart of the program starts the count again.
constexpr int kFailuresBeforeLock = 5;
constexpr int kFailureWindowSeconds = 10 * 60;
constexpr int kLockSeconds = 5 * 60;

/// What checking an employee's password found.
struct PasswordCheck
{
    enum class Verdict {
        Right,  ///< the password is the employee's
        Wrong,  ///< it is not, or there is no such employee: one more failure was recorded
        Locked, ///< the code was locked: the password was not even looked at
    };
    Verdict verdict = Verdict::Wrong;
    std::optional<EmployeeLogin> employee; ///< the employee the code names, if any
    /// Until when the code is locked, by the server's clock: set for Locked and for the Wrong
    /// that locked it; invalid otherwise.
    QDateTime lockedUntil;
};

/// Checks `password` (typedPassword) of employee `code` (trimmed, so " 2901" is "2901"), and
/// keeps the count of wrong ones. One transaction that waits for any other check of the same
/// code, so two workstations failing at once both count and no more than kFailuresBeforeLock
/// passwords are ever tried. A refusal of a locked code is written to the station log.
Result<PasswordCheck> checkEmployeePassword(Database &db, const QString &code,
                                            const QString &password);

/// Until when employee `code` is locked; an invalid date-time when it is not.
Result<QDateTime> passwordLockedUntil(Database &db, const QString &code);

/// What a locked employee code is told.
QString lockedOutText(const QDateTime &until);

/// The shortest password the hospital accepts: the station switch `PasswordMinLength`
/// (STATION..tbNurseSetup), 8 when the hospital has not set one.
Result<int> passwordMinimumLength(Database &db);

/// The Argon2id hash string of `password`, with the limits every hash of the hospital uses.
Result<QString> hashPassword(const QString &password);

/// Stores `password` (as its hash only) as the employee's own: a one-time password when
/// `oneTime`, which the employee must then change at his next login. Refuses a password
/// shorter than the hospital's minimum, and one with a character a signature cannot carry
/// (passwordCharactersRefusal); blanks around it are no part of it. Answers false when there
/// is no such employee.
Result<bool> storePassword(Database &db, const QString &code, const QString &password,
                           bool oneTime);

/// The employee with code `code`, or nullopt when there is none. `lockRow` holds his row
/// until the transaction it is read in ends.
Result<std::optional<EmployeeLogin>> readEmployeeLogin(Database &db, const QString &code,
                                                       bool lockRow = false);

/// Whether `password` is the one the Argon2id hash string `passwordHash` was made from. An
/// empty hash (an unknown employee) is checked against a hash of nothing anyone types, so a
/// refusal takes as long whether or not the employee exists.
bool passwordMatches(const QString &passwordHash, const QString &password);

} // namespace kestrel
