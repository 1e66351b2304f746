-- SPDX-License-Identifier: GPL-3.0-or-later
-- SPDX-FileCopyrightText: Kestrel developers
--
-- National health insurance data.

-- Membership categories; Status 1 for those in use.
CREATE TABLE tbAdmPHICTable (
    PHICCode vchar NOT NULL PRIMARY KEY,
    PHICDescription vchar NOT NULL DEFAULT '',
    Status smallint NOT NULL DEFAULT 1
);
