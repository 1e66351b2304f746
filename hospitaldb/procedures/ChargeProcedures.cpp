// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the charge window: the posted charges of a stay.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

// The charges of a stay in the nurse logbook that are not revoked, oldest first: what the
// charge window lists under "List of Charges Entered". The second argument is the station
// that posted them ("OR" for the OR's own); an empty station lists every station's charges.
Result<RowSet> listAllORCharges(Database &db, const ProcedureArgs &args)
{
    QString sql = QStringLiteral(
        "select LogBookID, RevenueID, ItemID, Description, Quantity, Amount, ReferenceNum, "
        "PackageID, TransDate from STATION..tbNurseLogBook "
        "where IDNum = :id and RecordStatus <> 'R'");
    Binds binds{{QStringLiteral("id"), args.text(0)}};
    if (!args.text(1).isEmpty()) {
        sql += QStringLiteral(" and StationID = :station");
        binds.insert(QStringLiteral("station"), args.text(1));
    }
    sql += QStringLiteral(" order by TransDate, LogBookID");
    return db.select(sql, binds);
}

} // namespace

void registerChargeProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..List_All_ORCharges"), 2, listAllORCharges);
}

} // namespace kestrel::hospitaldb
