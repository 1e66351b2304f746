// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchOptions.h"
#include "BenchPath.h"

namespace kestrel::bench {

/// The program's start-up to the main window shown, on the benchmark's hospital: the whole
/// ApplicationShell (the main window built, start-up in the hospital's order, the window
/// shown and painted), logged in as the demo supervisor by a script. The time the script
/// spends in the login window is taken off; opening the database and checking the password
/// stay in. `db` (the benchmark's own connection) times the password check alone for the
/// notes. Needs a QApplication.
BenchPath startupPath(const BenchOptions &options, Database &db, const QString &lockFolder);

} // namespace kestrel::bench
