// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window's monitors, each check as a workstation runs it every few seconds.
#include "BenchPaths.h"
#include "QuietMonitors.h"

#include "core/db/Database.h"

#include <memory>

namespace kestrel::bench {

namespace {

BenchPath checkPath(const std::shared_ptr<QuietMonitors> &state, const QString &name,
                    void (Monitors::*check)(), const QString &procedure,
                    const QVariantList &args, Database &db)
{
    BenchPath p;
    p.name = QStringLiteral("monitor: %1").arg(name);
    p.program = QStringLiteral("Monitors::%1").arg(procedure.section(u'.', -1));
    p.bare = procedure;
    p.targetMs = 5;
    p.runProgram = [state, check]() -> Result<qint64> {
        (state->monitors.*check)();
        return 1;
    };
    p.runBare = [&db, procedure, args]() -> Result<qint64> {
        auto rows = db.call(procedure, args);
        if (!rows)
            return tl::unexpected(rows.error());
        return 1;
    };
    return p;
}

} // namespace

QList<BenchPath> monitorPaths(BenchSession &s)
{
    auto state = std::make_shared<QuietMonitors>(s);
    const QString station = s.session.StationID;
    return {
        checkPath(state, QStringLiteral("schedule requests"), &Monitors::CheckScheduleRequests,
                  QStringLiteral("SCHEDULE..sp_GetORSchedule_Request"), {}, s.db),
        checkPath(state, QStringLiteral("admitted patients to check in"),
                  &Monitors::CheckConfirmedSchedules,
                  QStringLiteral("SCHEDULE..sp_List_ConfirmedORSchedule"),
                  {QStringLiteral("9"), QString()}, s.db),
        checkPath(state, QStringLiteral("results to print"), &Monitors::CheckAutoPrint,
                  QStringLiteral("Station..sp_Nurse_Get_ResultsAutoPrint"), {station}, s.db),
        checkPath(state, QStringLiteral("panic values"), &Monitors::CheckAbnormalResults,
                  QStringLiteral("Station..GetLBAbnormalResult"), {station}, s.db),
        checkPath(state, QStringLiteral("revoked requests"), &Monitors::CheckRevokedRequests,
                  QStringLiteral("STATION..LoadRevokedRequests"), {station, 1}, s.db),
        checkPath(state, QStringLiteral("discharge notices"), &Monitors::CheckDischargeNotices,
                  QStringLiteral("STATION..spOR_LoadDischargeNoticeCount"), {}, s.db),
    };
}

} // namespace kestrel::bench
