// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The discharge order's code searches: the relative value scale and the ICD-10 list searched
// by a three-letter prefix among 10,000 codes, with each code's case-rate package, through the
// case-rate routines and as the bare statement on the list alone.
#include "BenchPaths.h"

#include "caserates/CaseRates.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::bench {

namespace {

BenchPath prefixPath(BenchSession &s, bool rvs, const QString &prefix)
{
    BenchPath p;
    p.name = QStringLiteral("%1 codes beginning with \"%2\"")
                 .arg(rvs ? QStringLiteral("RVS") : QStringLiteral("ICD-10"), prefix);
    p.program = rvs ? QStringLiteral("caserates::rvsCodesStartingWith")
                    : QStringLiteral("caserates::icdCodesStartingWith");
    p.bare = QStringLiteral("the codes of the list by prefix, without their packages");
    p.targetMs = 30;
    p.sameRows = true;
    Database &db = s.db;
    p.runProgram = [&db, rvs, prefix]() -> Result<qint64> {
        auto hits = rvs ? caserates::rvsCodesStartingWith(db, prefix)
                        : caserates::icdCodesStartingWith(db, prefix);
        if (!hits)
            return tl::unexpected(hits.error());
        return hits->size();
    };
    const QString sql =
        rvs ? QStringLiteral("select RVSCode, RVSDescription, RVSPoints from BUILD_FILE..tbCoRVS "
                             "where RVSCode like :prefix escape '\\' order by RVSCode limit 200")
            : QStringLiteral("select ICDCode, Description from BUILD_FILE..tbCoICD10 "
                             "where ICDCode like :prefix escape '\\' order by ICDCode limit 200");
    p.runBare = [&db, sql, prefix]() -> Result<qint64> {
        auto rows = db.select(sql, {{QStringLiteral("prefix"), likePrefix(prefix)}});
        if (!rows)
            return tl::unexpected(rows.error());
        return rows->count();
    };
    return p;
}

} // namespace

QList<BenchPath> caseRatePaths(BenchSession &s)
{
    return {prefixPath(s, true, QStringLiteral("451")), prefixPath(s, false, QStringLiteral("K35"))};
}

} // namespace kestrel::bench
