// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QVariant>

#include <functional>

class QObject;

namespace kestrel {

class Database;

/// A read that would hold the window (counting every stay of a common last name, say) runs
/// on a connection of its own in a thread of its own, while the user goes on with what was
/// read first. `work` runs on that connection; `done` is called on `receiver`'s thread with
/// its answer, and never once `receiver` is gone. A running read is waited for when the
/// program quits.
///
/// Answers false, starting nothing, when `db` cannot be reached from a second connection (a
/// private in-memory database): the caller then reads on its own connection.
bool readInBackground(const Database &db, std::function<Result<QVariant>(Database &)> work,
                      QObject *receiver, std::function<void(const Result<QVariant> &)> done);

} // namespace kestrel
