// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the nursing-station database.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "shell/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

// The departments a station may charge to: every active revenue code, by name.
Result<RowSet> chargingCodes(Database &db, const ProcedureArgs &)
{
    return db.select(u"select RevenueID, ItemName from BUILD_FILE..tbCoRevenueCode "
                     u"where Status = 'A' order by ItemName, RevenueID");
}

// The rate letter of a room; no row for a room the hospital does not have.
Result<RowSet> roomClassification(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select RoomClassID from BUILD_FILE..tbCoRoom where RoomID = :room",
                     {{QStringLiteral("room"), args.text(0)}});
}

} // namespace

void registerStationProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_OR_ChargingCodes"), 1, chargingCodes);
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_RoomClassification"), 1, roomClassification);
}

} // namespace kestrel::hospitaldb
