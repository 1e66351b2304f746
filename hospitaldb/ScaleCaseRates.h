// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

/// Fills the ICD-10 list and the relative value scale of a hospital-sized database up to
/// `codes` codes each, a third of them with a case rate of their own package, in one
/// transaction.
Result<void> addScaleCaseRateCodes(Database &db, int codes);

} // namespace kestrel::hospitaldb
