-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- The hospital's employees as the login knows them.

-- PasswordHash is a one-way Argon2id hash string ("$argon2id$v=19$m=..."); no password is
-- kept in a form that can be turned back. DeptCode is the password group the employee logs in
-- to ("29" is the OR).
CREATE TABLE tbPasswordMaster (
    EmployeeID vchar NOT NULL PRIMARY KEY,
    LastName vchar NOT NULL DEFAULT '',
    FirstName vchar NOT NULL DEFAULT '',
    MiddleName vchar NOT NULL DEFAULT '',
    Initial vchar NOT NULL DEFAULT '',
    PasswordHash vchar NOT NULL DEFAULT '',
    DeptCode vchar NOT NULL DEFAULT '',
    Designation vchar NOT NULL DEFAULT '',
    StationID vchar NOT NULL DEFAULT '',
    DoctorID vchar NOT NULL DEFAULT '',
    -- 'A' active, 'I' resigned or suspended.
    Status vchar NOT NULL DEFAULT 'A',
    DateCreated datetime,
    -- 1 while the password is a one-time password IT handed out: the employee must choose his
    -- own at the next login.
    MustChangePassword flag NOT NULL DEFAULT 0
);
CREATE INDEX ix_tbPasswordMaster_LastName ON tbPasswordMaster (LastName, FirstName);
CREATE INDEX ix_tbPasswordMaster_DeptCode ON tbPasswordMaster (DeptCode);

-- The key re-validation passwords are scrambled with on their way here; the same key is
-- given to every workstation with its installation. One row.
CREATE TABLE tbPasswordKey (
    ScrambleKey vchar NOT NULL DEFAULT ''
);

-- Failed re-validations, kept to turn away an employee code that keeps failing.
CREATE TABLE tbValidationFailures (
    FailureID ident,
    EmployeeID vchar NOT NULL DEFAULT '',
    FailedAt datetime
);
CREATE INDEX ix_tbValidationFailures_Employee ON tbValidationFailures (EmployeeID, FailedAt);
