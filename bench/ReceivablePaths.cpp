// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The receivable window's search: the discharged and billed admissions whose last name begins
// with the hospital's most common prefix, through the search's presenter and as the bare
// statement of the same page.
#include "BenchPaths.h"

#include "charging/ReceivableSearch.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"

#include <memory>

namespace kestrel::bench {

QList<BenchPath> receivablePaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks)
{
    BenchPath p;
    const QString prefix = landmarks.commonPrefix;
    p.name = QStringLiteral("receivable-search by last name \"%1\"").arg(prefix);
    p.program = QStringLiteral("ReceivableSearch::search, inpatients "
                               "(STATION..sp_Get_Recievable_DRPatient)");
    p.bare = QStringLiteral("the billed admissions of the prefix in name order, first 100");
    p.targetMs = 50;
    p.ratioTarget = true;
    p.sameRows = true;
    auto search = std::make_shared<ReceivableSearch>(s.session);
    Database &db = s.db;
    // Nearly every generated stay is discharged and billed; where fewer than a page of the
    // prefix are, the latest admissions of the prefix are discharged and billed in one
    // transaction, as billing would have done.
    p.prepare = [&db, prefix]() -> Result<void> {
        const PrefixRange range = prefixRange(prefix);
        const Binds binds{{QStringLiteral("nameFrom"), range.low},
                          {QStringLiteral("nameTo"), range.high}};
        auto billed = db.scalar(
            u"select count(*) from (select 1 from PATIENT_DATA..tbMaster M inner join "
            u"PATIENT_DATA..tbPatient S on S.HospNum = M.HospNum where M.LastName >= :nameFrom "
            u"and M.LastName < :nameTo and S.DcrDate is not null and S.BillingDate is not null "
            u"limit 100) b",
            binds);
        if (!billed)
            return tl::unexpected(billed.error());
        if (billed->toInt() >= 100)
            return {};
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        auto done = db.exec(
            u"update PATIENT_DATA..tbPatient set DcrDate = coalesce(DcrDate, AdmDate), "
            u"BillingDate = coalesce(BillingDate, AdmDate) where HospNum in (select HospNum "
            u"from PATIENT_DATA..tbMaster where LastName >= :nameFrom and LastName < :nameTo "
            u"order by LastName limit 200)",
            binds);
        if (!done)
            return tl::unexpected(done.error());
        return tx.commit();
    };
    p.runProgram = [search, prefix]() -> Result<qint64> {
        if (!search->search(ReceivableSearch::Category::LastName, true, prefix))
            return failure(QStringLiteral("The receivable search failed."));
        return search->rows().size();
    };
    const PrefixRange range = prefixRange(prefix);
    QString sql = QStringLiteral(
        "select S.HospNum, S.IDNum, M.LastName, M.FirstName, M.MiddleName, S.AdmDate, S.DcrDate, "
        "S.BillingDate, S.RoomID, X.isCashBasis from PATIENT_DATA..tbMaster M "
        "inner join PATIENT_DATA..tbPatient S on S.HospNum = M.HospNum "
        "left join PATIENT_DATA..tbPatient2 X on X.IDNum = S.IDNum "
        "where S.DcrDate is not null and S.BillingDate is not null and S.RecordStatus <> 'R' "
        "and M.LastName >= :nameFrom and M.LastName < :nameTo ");
    Binds binds{{QStringLiteral("nameFrom"), range.low}, {QStringLiteral("nameTo"), range.high}};
    if (!db.ordersTextByCodePoint()) {
        sql += QStringLiteral("and M.LastName like :name escape '\\' ");
        binds.insert(QStringLiteral("name"), likePrefix(prefix));
    }
    sql += QStringLiteral("order by M.LastName, M.FirstName, M.MiddleName, M.HospNum, "
                          "S.BillingDate desc, S.IDNum limit 100");
    p.runBare = [&db, sql, binds]() -> Result<qint64> {
        auto rows = db.select(sql, binds);
        if (!rows)
            return tl::unexpected(rows.error());
        return rows->count();
    };
    return {p};
}

} // namespace kestrel::bench
