// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QStringList>

#include <functional>

namespace kestrel::admin {

/// What kestrel-admin answers to the shell, so that IT's scripts can tell the cases apart.
enum ExitCode {
    Done = 0,         ///< the command did what it was asked
    Failed = 1,       ///< the database or a file failed it half-way (nothing was kept)
    Usage = 2,        ///< the command line is not understood
    Refused = 3,      ///< the input was turned away: rows, a password, a database that holds a
                      ///< hospital or is newer than this program
    NoConnection = 4, ///< the database cannot be opened
};

/// Where a command's work may be held up from outside: the tests stop an upgrade there, as a
/// power cut or a killed process would. kestrel-admin itself sets none.
struct AdminHooks
{
    /// upgrade: called with a migration's version after its statements, before its commit.
    std::function<void(int version)> beforeMigrationCommit;
};

/// Runs one kestrel-admin command; `arguments` without the program's name.
int runAdmin(const QStringList &arguments, const AdminHooks &hooks = {});

} // namespace kestrel::admin
