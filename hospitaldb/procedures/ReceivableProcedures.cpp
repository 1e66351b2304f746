// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the receivable window: the discharged and billed accounts late charges may be
// posted to.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::hospitaldb {

namespace {

// At most this many accounts come back: the list is read in name order, and a user who does
// not see his patient types more of the name.
constexpr int kMostAccounts = 100;

// The discharged and billed accounts of one kind, 'A' admissions or 'O' outpatient and ER
// visits, found by the text in the category of the third argument: 'L' (or none) the
// beginning of the last name, 'H' the hospital number, 'I' the admission number. In name
// order, each with the cash-basis mark of its stay. Cancelled admissions and revoked visits
// are nobody's account.
Result<RowSet> receivablePatients(Database &db, const ProcedureArgs &args)
{
    const bool inpatients = args.text(0).compare(u"A", Qt::CaseInsensitive) == 0;
    const QString text = args.text(1);
    const QString category = args.text(2).toUpper();
    QString sql = inpatients
                      ? QStringLiteral(
                            "select S.HospNum, S.IDNum, M.LastName, M.FirstName, M.MiddleName, "
                            "S.AdmDate, S.DcrDate, S.BillingDate, S.RoomID, X.isCashBasis "
                            "from PATIENT_DATA..tbMaster M "
                            "inner join PATIENT_DATA..tbPatient S on S.HospNum = M.HospNum "
                            "left join PATIENT_DATA..tbPatient2 X on X.IDNum = S.IDNum ")
                      : QStringLiteral(
                            "select S.HospNum, S.IDNum, M.LastName, M.FirstName, M.MiddleName, "
                            "S.AdmDate, S.DcrDate, S.BillingDate, '' as RoomID, S.isCashBasis "
                            "from PATIENT_DATA..tbMaster M "
                            "inner join PATIENT_DATA..tbOutPatient S on S.HospNum = M.HospNum ");
    QStringList where{QStringLiteral("S.DcrDate is not null"),
                      QStringLiteral("S.BillingDate is not null"),
                      QStringLiteral("S.RecordStatus <> 'R'")};
    Binds binds;
    if (category == u"H") {
        where << QStringLiteral("S.HospNum = :text");
        binds.insert(QStringLiteral("text"), text);
    } else if (category == u"I") {
        where << QStringLiteral("S.IDNum = :text");
        binds.insert(QStringLiteral("text"), text);
    } else {
        if (text.isEmpty())
            return RowSet(QStringList{QStringLiteral("HospNum"), QStringLiteral("IDNum")});
        // Bounds an index of the names can walk; the LIKE decides where the database does not
        // order text by code point.
        const PrefixRange range = prefixRange(text);
        where << QStringLiteral("M.LastName >= :nameFrom and M.LastName < :nameTo");
        binds.insert(QStringLiteral("nameFrom"), range.low);
        binds.insert(QStringLiteral("nameTo"), range.high);
        if (!db.ordersTextByCodePoint()) {
            where << QStringLiteral("M.LastName like :name escape '\\'");
            binds.insert(QStringLiteral("name"), likePrefix(text));
        }
    }
    sql += QStringLiteral("where ") + where.join(QStringLiteral(" and ")) +
           QStringLiteral(" order by M.LastName, M.FirstName, M.MiddleName, M.HospNum, "
                          "S.BillingDate desc, S.IDNum limit :most");
    binds.insert(QStringLiteral("most"), kMostAccounts);
    return db.select(sql, binds);
}

} // namespace

void registerReceivableProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Get_Recievable_DRPatient"), 3, receivablePatients);
}

} // namespace kestrel::hospitaldb
