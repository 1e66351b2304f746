// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "hospitaldb/ScaleHospital.h"

namespace kestrel::hospitaldb {

/// Adds what the nurses and the diagnostic departments wrote on the patient profiles of a
/// hospital-sized database: twenty vital-sign readings four hours apart from the admission of
/// every generated admission; for every fourth admission three laboratory results and the
/// result of one other department; and for the long stay of `size` 500 readings a quarter hour
/// apart, ten laboratory results in each of five sections and five results in each of ten
/// departments.
///
/// Runs after the stays are in and before the generator's work tables are dropped, in one
/// transaction, with the indexes of the tables it fills dropped during the load and made again
/// after it.
Result<void> addScaleProfile(Database &db, const ScaleSize &size,
                             const ScaleProgress &progress = {});

} // namespace kestrel::hospitaldb
