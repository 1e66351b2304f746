// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient profile of the long stay (500 OR lines, 500 vital-sign readings, 100 results):
// opened to its first tab, the vital signs, as the window reads it, and each further tab the
// nurse turns to, read when it is first shown.
#include "BenchPaths.h"

#include "core/db/Database.h"
#include "profile/PatientProfile.h"

#include <memory>

namespace kestrel::bench {

namespace {

struct ProfileState
{
    ProfileState(BenchSession &s, const QString &stay)
        : session(s)
        , profile(s.session)
        , idNum(stay)
    {
    }

    WindowRequest request() const
    {
        WindowRequest r;
        r.values = {{QStringLiteral("IdNum"), idNum}, {QStringLiteral("Tab"), 0}};
        return r;
    }

    BenchSession &session;
    PatientProfile profile;
    QString idNum;
};

Result<qint64> rowsOf(const Result<RowSet> &rows)
{
    if (!rows)
        return tl::unexpected(rows.error());
    return rows->count();
}

BenchPath tabPath(const std::shared_ptr<ProfileState> &state, const QString &tab,
                  const QString &program, const std::function<Result<qint64>()> &run,
                  const QString &bareSql, const Binds &more = {})
{
    BenchPath p;
    p.name = QStringLiteral("profile: %1 of the long stay").arg(tab);
    p.program = program;
    p.bare = bareSql;
    p.targetMs = 50;
    p.prepare = [state]() -> Result<void> {
        if (!state->profile.open(state->request()))
            return failure(QStringLiteral("the long stay's profile did not open"));
        return {};
    };
    p.runProgram = run;
    p.runBare = [state, bareSql, more]() -> Result<qint64> {
        Binds binds = more;
        binds.insert(QStringLiteral("id"), state->idNum);
        return rowsOf(state->session.db.select(bareSql, binds));
    };
    return p;
}

} // namespace

QList<BenchPath> profilePaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks)
{
    auto state = std::make_shared<ProfileState>(s, landmarks.longStayIdNum);

    BenchPath open;
    open.name = QStringLiteral("profile: open the long stay");
    open.program = QStringLiteral("PatientProfile::open, VitalSignsTrend::loadRanges, "
                                  "VitalSigns::load");
    open.bare = QStringLiteral("the stay's header and its vital signs");
    open.targetMs = 150;
    open.runProgram = [state]() -> Result<qint64> {
        PatientProfile &p = state->profile;
        if (!p.open(state->request()))
            return failure(QStringLiteral("the long stay's profile did not open"));
        p.takeTabToLoad(PatientProfile::VitalSignsTab);
        if (auto ranges = p.trend().loadRanges(); !ranges)
            return tl::unexpected(ranges.error());
        if (!p.vitalSigns().load(state->idNum))
            return failure(QStringLiteral("the vital signs were not read"));
        return qint64(p.vitalSigns().readings().size());
    };
    open.runBare = [state]() -> Result<qint64> {
        Database &db = state->session.db;
        const Binds id{{QStringLiteral("id"), state->idNum}};
        auto header = db.select(u"select P.*, M.* from PATIENT_DATA..tbPatient P join "
                                u"PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
                                u"left join PATIENT_DATA..tbPatient2 S on S.IDNum = P.IDNum "
                                u"where P.IDNum = :id",
                                id);
        if (!header)
            return tl::unexpected(header.error());
        return rowsOf(db.select(u"select * from STATION..tbNurseVitalSigns where IDNUM = :id "
                                u"order by TRANSDATE",
                                id));
    };
    open.sameRows = true;

    const ProfileLists::ResultTab xray = ProfileLists::resultTabs().value(0);
    return {
        open,
        tabPath(
            state, QStringLiteral("laboratory results"),
            QStringLiteral("ProfileLists::laboratoryResults"),
            [state]() { return rowsOf(state->profile.lists().laboratoryResults(state->idNum)); },
            QStringLiteral("select * from LABORATORY..tbLabResult where IdNum = :id and "
                           "RecordStatus <> 'R' order by SectionID, RequestDate, ResultID")),
        tabPath(state, QStringLiteral("%1 results").arg(xray.caption.toLower().remove(u'&')),
                QStringLiteral("ProfileLists::departmentResults"),
                [state, xray]() -> Result<qint64> {
                    auto list = state->profile.lists().departmentResults(xray, state->idNum);
                    if (!list)
                        return tl::unexpected(list.error());
                    return list->rows.count();
                },
                QStringLiteral("select * from STATION..tbNurseDiagResult where IdNum = :id "
                               "and DepartmentID = :dept and RecordStatus <> 'R' "
                               "order by TransDate, ResultID"),
                {{QStringLiteral("dept"), xray.department}}),
        tabPath(
            state, QStringLiteral("request status"), QStringLiteral("ProfileLists::requestStatus"),
            [state]() { return rowsOf(state->profile.lists().requestStatus(state->idNum)); },
            QStringLiteral("select * from STATION..tbNurseCommunicationfile where IDNum = "
                           ":id")),
    };
}

} // namespace kestrel::bench
