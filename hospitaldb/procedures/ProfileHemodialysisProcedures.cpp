// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the hemodialysis notification that a ward sends the dialysis unit for a stay.
// The unit's tables live with the station's until the unit has a database of its own.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

QString str(const char *name)
{
    return QString::fromLatin1(name);
}

// HEMODIALYSIS..sp_Get_Hemodialysis_Request IdNum: the stay's notifications, newest first,
// with the dialyzer, the access and the nurse who sent each, and whether the unit still has it
// waiting.
Result<RowSet> hemodialysisRequests(Database &db, const ProcedureArgs &a)
{
    return db.select(
        u"select r.RequestID, r.RequestDate, r.DialysisDate, r.DialyzerID, "
        u"d.Description as Dialyzer, r.AccessID, x.Description as Access, r.Remarks, "
        u"r.UserID, p.LastName, p.FirstName, r.RecordStatus, r.RevokedBy, r.RevokedDate, "
        u"c.SentDate as Pending "
        u"from STATION..tbHemoRequest r "
        u"left join STATION..tbHemoDialyzer d on d.DialyzerID = r.DialyzerID "
        u"left join STATION..tbHemoAccess x on x.AccessID = r.AccessID "
        u"left join PASSWORD..tbPasswordMaster p on p.EmployeeID = r.UserID "
        u"left join STATION..tbHemo_Communication c on c.RequestID = r.RequestID "
        u"where r.IdNum = :id order by r.RequestDate desc, r.RequestID desc",
        {{str("id"), a.text(0)}});
}

// HEMODIALYSIS..sp_Save_Hemodialysis_Request IdNum, HospNum, DialyzerID, AccessID, dialysis
// date, remarks, employee, station: the notification and the unit's waiting entry, stamped
// with the server's time. Answers RequestID.
Result<RowSet> saveHemodialysisRequest(Database &db, const ProcedureArgs &a)
{
    auto ok = db.exec(u"insert into STATION..tbHemoRequest (IdNum, HospNum, DialyzerID, "
                      u"AccessID, DialysisDate, Remarks, RequestDate, UserID, StationID, "
                      u"RecordStatus) values (:id, :hosp, :dialyzer, :access, :at, :remarks, "
                      u"getdate(), :user, :station, '')",
                      {{str("id"), a.text(0)},
                       {str("hosp"), a.text(1)},
                       {str("dialyzer"), a.text(2)},
                       {str("access"), a.text(3).toInt()},
                       {str("at"), a.at(4)},
                       {str("remarks"), a.at(5).toString()},
                       {str("user"), a.text(6)},
                       {str("station"), a.text(7)}});
    if (!ok)
        return tl::unexpected(ok.error());
    auto id = db.scalar(u"select max(RequestID) from STATION..tbHemoRequest where IdNum = :id",
                        {{str("id"), a.text(0)}});
    if (!id)
        return tl::unexpected(id.error());
    auto waiting = db.exec(u"insert into STATION..tbHemo_Communication (IdNum, RequestID, "
                           u"SentDate, StationID, UserID) values (:id, :request, getdate(), "
                           u":station, :user)",
                           {{str("id"), a.text(0)},
                            {str("request"), id->toInt()},
                            {str("station"), a.text(7)},
                            {str("user"), a.text(6)}});
    if (!waiting)
        return tl::unexpected(waiting.error());
    RowSet answer({str("RequestID")});
    answer.append(QVariantList{id->toInt()});
    return answer;
}

// HEMODIALYSIS..sp_Revoke_Hemodialysis_Request RequestID, employee: the notification is marked
// revoked and leaves the unit's waiting list. Answers Revoked, 0 when it was revoked already.
Result<RowSet> revokeHemodialysisRequest(Database &db, const ProcedureArgs &a)
{
    const int request = a.text(0).toInt();
    auto n = db.exec(u"update STATION..tbHemoRequest set RecordStatus = 'R', RevokedBy = :user, "
                     u"RevokedDate = getdate() where RequestID = :request and RecordStatus <> 'R'",
                     {{str("user"), a.text(1)}, {str("request"), request}});
    if (!n)
        return tl::unexpected(n.error());
    auto gone = db.exec(u"delete from STATION..tbHemo_Communication where RequestID = :request",
                        {{str("request"), request}});
    if (!gone)
        return tl::unexpected(gone.error());
    RowSet answer({str("Revoked")});
    answer.append(QVariantList{*n});
    return answer;
}

} // namespace

void registerProfileHemodialysisProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("HEMODIALYSIS..sp_Get_Hemodialysis_Request"), 1,
                 hemodialysisRequests);
    registry.add(QStringLiteral("HEMODIALYSIS..sp_Save_Hemodialysis_Request"), 8,
                 saveHemodialysisRequest);
    registry.add(QStringLiteral("HEMODIALYSIS..sp_Revoke_Hemodialysis_Request"), 2,
                 revokeHemodialysisRequest);
}

} // namespace kestrel::hospitaldb
