// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// What the main window's monitors ask every few seconds. Each is one statement that stops at
// its first row, so a hundred workstations polling cost the server little.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

// STATION..sp_Nurse_Get_ResultsAutoPrint StationID: one row when the station has a verified
// result not yet printed, of the laboratory or of an imaging department; none otherwise.
Result<RowSet> resultsAutoPrint(Database &db, const ProcedureArgs &args)
{
    const Binds station{{QStringLiteral("station"), args.text(0)}};
    auto lab = db.select(u"select RequestNum from LABORATORY..tbLabResult "
                         u"where StationID = :station and Printed = 0 and RecordStatus <> 'R' "
                         u"and ResultDate is not null limit 1",
                         station);
    if (!lab || !lab->isEmpty())
        return lab;
    return db.select(u"select RequestNum from STATION..tbNurseDiagResult "
                     u"where StationID = :station and Printed = 0 and Verified = 1 "
                     u"and RecordStatus <> 'R' and ResultDate is not null "
                     u"and DepartmentID in ('XR', 'CT', 'US') limit 1",
                     station);
}

// STATION..spOR_LoadDischargeNoticeCount: `recCount`, the discharge notices the OR has not
// cleared yet, of patients still in the hospital (the ones the notice list shows). The stay is
// looked up per open notice: a join lets the server walk every stay to find the few.
Result<RowSet> dischargeNoticeCount(Database &db, const ProcedureArgs &)
{
    return db.select(u"select count(*) as recCount from STATION..tbNurseDischargeNotice N "
                     u"where N.ClearDate is null and N.RecordStatus <> 'R' and "
                     u"(select case when P.DcrDate is null then 1 else 0 end "
                     u"from PATIENT_DATA..tbPatient P where P.IDNum = N.IDNum) = 1");
}

} // namespace

void registerMonitorProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_ResultsAutoPrint"), 1, resultsAutoPrint);
    registry.add(QStringLiteral("STATION..spOR_LoadDischargeNoticeCount"), 0,
                 dischargeNoticeCount);
}

} // namespace kestrel::hospitaldb
