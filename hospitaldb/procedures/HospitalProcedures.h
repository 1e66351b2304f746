// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "shell/db/Procedures.h"

#include <memory>

namespace kestrel::hospitaldb {

/// Every stored procedure of the hospital database that the program calls, ready to hand
/// to Database::setProcedures().
std::shared_ptr<const ProcedureRegistry> hospitalProcedures();

/// The procedures of the nursing-station database.
void registerStationProcedures(ProcedureRegistry &registry);

/// The procedures that answer questions about a patient's stay.
void registerPatientProcedures(ProcedureRegistry &registry);

/// The procedures that prepare the data of printed reports.
void registerReportProcedures(ProcedureRegistry &registry);

} // namespace kestrel::hospitaldb
