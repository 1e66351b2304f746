// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/CdfDetails.h"

#include "core/db/Database.h"

#include <algorithm>

namespace kestrel {

CdfAmounts CdfAmounts::from(Money hospBill, Money totalCdf, Money paidCdf)
{
    CdfAmounts a;
    a.hospBill = hospBill;
    a.totalCdf = totalCdf;
    a.paidCdf = paidCdf;
    a.cdfBalance = totalCdf - paidCdf;
    const Money deducted = std::clamp(a.cdfBalance, Money(), std::max(hospBill, Money()));
    a.netHospBill = hospBill - deducted;
    return a;
}

Result<CdfAmounts> readCdfAmounts(Database &db, const QString &idNum, const QString &hospNum)
{
    const QString id = idNum.trimmed(), hosp = hospNum.trimmed();
    auto bill = db.call(u"billing..sp_billing_search_for_patient_transactions_Kidney", {id, hosp});
    if (!bill)
        return tl::unexpected(bill.error());
    Money hospBill;
    for (const Row &r : *bill)
        hospBill += r.money(u"Amount");
    auto total = db.selectOne(u"Select sum(amount) as amount from Billing..tbParsCDFTransaction "
                              u"where hospnum = :hosp",
                              {{QStringLiteral("hosp"), hosp}});
    if (!total)
        return tl::unexpected(total.error());
    auto paid = db.call(u"Billing..sp_Pars_Get_UtilizedCDF", {hosp});
    if (!paid)
        return tl::unexpected(paid.error());
    const Money totalCdf = *total ? (*total)->money(u"amount") : Money();
    const Money paidCdf = paid->count() > 0 ? paid->at(0).money(u"Amount") : Money();
    return CdfAmounts::from(hospBill, totalCdf, paidCdf);
}

} // namespace kestrel
