// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <memory>

namespace kestrel::hospitaldb {

/// Where the embedded demo hospital lives for this user.
QString defaultEmbeddedHospitalPath();

/// Opens the embedded hospital at `path`, creating the demo hospital there on first use,
/// with the hospital's procedures in place, and upgrading one an earlier release made. A
/// half-made file from a failed first run is removed so the next start tries again.
Result<std::unique_ptr<Database>> openEmbeddedHospital(const QString &path,
                                                       const QString &workstation = {});

} // namespace kestrel::hospitaldb
