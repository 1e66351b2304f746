// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QString>

namespace kestrel::admin {

/// Copies the embedded hospital `source` to the new file `target` with SQLite's online
/// backup: the copy is the database as it was at one moment, even while workstations write
/// to it. Refuses a target that exists.
Result<void> backupSqlite(const QString &source, const QString &target);

/// Puts the backup `backup` in place of the embedded hospital `target`, after checking that
/// it is a sound hospital database this program can work with (not of a newer schema).
/// Refuses to replace a target that holds a hospital unless `replace`.
Result<void> restoreSqlite(const QString &backup, const QString &target, bool replace);

} // namespace kestrel::admin
