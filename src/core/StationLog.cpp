// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/StationLog.h"

#include "core/db/Database.h"

namespace kestrel {

void WriteStationLog(Database &db, const QString &idNum, const QString &remarks,
                     const QString &userId, const QString &stationId)
{
    (void)db.exec(u"Insert Into STATION..tbStationLogs(Idnum,Transdate,Remarks,UserID,Hostname,"
                  u"StationID) Values(:idnum, GetDate(), :remarks, :user, Host_Name(), :station)",
                  {{QStringLiteral("idnum"), idNum},
                   {QStringLiteral("remarks"), remarks},
                   {QStringLiteral("user"), userId},
                   {QStringLiteral("station"), stationId}});
}

} // namespace kestrel
