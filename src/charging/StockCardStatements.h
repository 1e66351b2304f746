// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QString>

namespace kestrel {

class Database;

/// The stock card statements that posting and revoking share, run on the caller's connection
/// inside the caller's transaction.
namespace StockCardStatements {

/// Stamps `package` on the stock card row of `item` on `chargeSlip` of the stay that carries
/// no package yet, the latest of them: the row the caller's stock movement has just written.
/// Nothing to stamp is not a failure.
Result<void> stampPackage(Database &db, const QString &IdNum, const QString &item,
                          const QString &chargeSlip, const QString &package);

} // namespace StockCardStatements

} // namespace kestrel
