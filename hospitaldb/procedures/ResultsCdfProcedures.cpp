// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the kidney programme's fund (CDF): a stay's hospital bill by revenue code and
// what the patient's fund has paid already.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

QString str(const char *name)
{
    return QString::fromLatin1(name);
}

// billing..sp_billing_search_for_patient_transactions_Kidney IdNum, HospNum: the stay's
// charges summed by revenue code ("RevenueID", "Amount"), from the inpatients' daily bill or,
// for a visit (IdNum ending in "B"), the outpatients'.
Result<RowSet> kidneyTransactions(Database &db, const ProcedureArgs &a)
{
    const QString idNum = a.text(0);
    const bool visit = idNum.endsWith(u'B', Qt::CaseInsensitive);
    const QString sql = visit ? str("select RevenueID, sum(Amount) as Amount "
                                    "from BILLING..tbBillOPDailyOut where IDNum = :id "
                                    "and HospNum = :hosp group by RevenueID order by RevenueID")
                              : str("select RevenueID, sum(Amount) as Amount "
                                    "from BILLING..tbBillDailyBill where IDNum = :id "
                                    "and HospNum = :hosp group by RevenueID order by RevenueID");
    return db.select(sql, {{str("id"), idNum}, {str("hosp"), a.text(1)}});
}

// Billing..sp_Pars_Get_UtilizedCDF HospNum: what the patient's fund has paid on his bills
// ("Amount", 0 when nothing).
Result<RowSet> utilizedCdf(Database &db, const ProcedureArgs &a)
{
    return db.select(u"select coalesce(sum(Amount), 0) as Amount from BILLING..tbParsCDFUtilized "
                     u"where HospNum = :hosp",
                     {{str("hosp"), a.text(0)}});
}

} // namespace

void registerResultsCdfProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("BILLING..sp_billing_search_for_patient_transactions_Kidney"), 2,
                 kidneyTransactions);
    registry.add(QStringLiteral("BILLING..sp_Pars_Get_UtilizedCDF"), 1, utilizedCdf);
}

} // namespace kestrel::hospitaldb
