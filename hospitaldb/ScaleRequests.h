// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "hospitaldb/ScaleHospital.h"

namespace kestrel::hospitaldb {

/// Adds the rest of the pharmacy's formulary (sixty medicines stocked at the pharmacy), the
/// pharmacy and central supply requests of a hospital-sized database and the returns of some
/// of them: every second admission of the generated stays asks the pharmacy for two
/// medicines and central supply for one item when it is admitted; each request is issued from
/// stock (its logbook line, communication file row and stock card row), and one line in eight
/// comes back one unit on a credit memo of its own (stock card, credit memo line, adjustment).
///
/// Runs in one transaction, with the indexes of the tables it fills dropped during the load
/// and made again after it; the logbook's own indexes are left to the caller, who dropped them.
Result<void> addScaleRequests(Database &db, const ScaleProgress &progress = {});

} // namespace kestrel::hospitaldb
