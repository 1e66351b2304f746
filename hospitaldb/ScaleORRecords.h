// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

/// Completes the OR records of the generated operations (those whose RefNum begins with "OR")
/// as the OR's people fill them in: the first assistant, the RVS code, the anaesthesia, the
/// scrub and circulating nurses, the times of each phase, the diagnoses and the technique, and
/// on nine in ten the signatures of the five roles (one in ten of those still waits for the
/// anaesthesiologist's). Every value is a function of the record's number, so both backends
/// get the same records. Runs inside the generator while its doctors' work table (scale_doctor)
/// is there, in one transaction.
Result<void> completeScaleORRecords(Database &db);

} // namespace kestrel::hospitaldb
