// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/CaseRates.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "core/db/NumberFormat.h"

namespace kestrel::caserates {

namespace {

const QString kCode = QStringLiteral("code");

Result<bool> found(const Result<QVariant> &v)
{
    if (!v)
        return tl::unexpected(v.error());
    return !v->isNull();
}

Result<QList<CodeHit>> hits(const Result<RowSet> &rows)
{
    if (!rows)
        return tl::unexpected(rows.error());
    QList<CodeHit> out;
    out.reserve(rows->count());
    for (const Row &r : *rows)
        out << CodeHit{r.trimmed(u"Code"), r.trimmed(u"Description"), r.trimmed(u"PackageID"),
                       r.number(u"Unit")};
    return out;
}

} // namespace

FeeShares feeShares(const Package &package, CaseRate n)
{
    // Exactly half: any other percentage bills the second case rate like the first.
    if (n == CaseRate::Second && package.caseRatePercentage == 50)
        return {package.amount.percentOf(package.hospitalPercentage),
                package.amount.percentOf(package.professionalPercentage)};
    return {package.amount - package.professionalFee, package.professionalFee};
}

QString amountText(Money amount)
{
    return formatNumber(amount, u"#,###");
}

std::optional<Money> typedAmount(const QString &text)
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return Money();
    return Money::parse(t);
}

Result<QString> CaseRateLookups::text(QStringView sql, const QString &value)
{
    auto v = m_db.scalar(sql, {{kCode, value.trimmed()}});
    if (!v)
        return tl::unexpected(v.error());
    return v->isNull() ? QString() : v->toString().trimmed();
}

Result<QString> CaseRateLookups::packageOfIcd(const QString &icd)
{
    return text(u"select PackageID from MEDICARE..tbMed_MedicalCaseRates where ICDCode = :code",
                icd);
}

Result<QString> CaseRateLookups::packageOfRvs(const QString &rvs)
{
    return text(u"select PackageID from MEDICARE..tbMed_Procedures where RVSCode = :code", rvs);
}

Result<bool> CaseRateLookups::icdIsValid(const QString &icd)
{
    return found(m_db.scalar(
        u"select 1 from BUILD_FILE..tbCoICD10 where ICDCode = :code "
        u"union all select 1 from MEDICARE..tbMed_MedicalCaseRates where ICDCode = :code2",
        {{kCode, icd.trimmed()}, {QStringLiteral("code2"), icd.trimmed()}}));
}

Result<bool> CaseRateLookups::allowsSecondCaseRate(const QString &packageId)
{
    return found(m_db.scalar(u"select 1 from MEDICARE..tbMedPackage "
                             u"where PackageID = :code and IsAllowSecondCR = 1",
                             {{kCode, packageId.trimmed()}}));
}

Result<QString> CaseRateLookups::packageName(const QString &packageId)
{
    return text(u"select Package from MEDICARE..tbMedPackage where PackageID = :code", packageId);
}

Result<QString> CaseRateLookups::medicalCaseDescription(const QString &icd)
{
    return text(u"select Description from MEDICARE..tbMed_MedicalCaseRates where ICDCode = :code",
                icd);
}

Result<QString> CaseRateLookups::icdDescription(const QString &icd)
{
    return text(u"select Description from BUILD_FILE..tbCoICD10 where ICDCode = :code", icd);
}

Result<QString> CaseRateLookups::rvsDescription(const QString &rvs)
{
    // The code may be in the list, have a case rate, or both; the case rate's text wins.
    auto v = m_db.scalar(
        u"select coalesce(nullif(MP.Description, ''), RVS.RVSDescription) as Description "
        u"from BUILD_FILE..tbCoRVS RVS left join MEDICARE..tbMed_Procedures MP "
        u"on MP.RVSCode = RVS.RVSCode where RVS.RVSCode = :code "
        u"union all select MP.Description from MEDICARE..tbMed_Procedures MP "
        u"where MP.RVSCode = :code2 and not exists "
        u"(select 1 from BUILD_FILE..tbCoRVS R where R.RVSCode = :code3)",
        {{kCode, rvs.trimmed()},
         {QStringLiteral("code2"), rvs.trimmed()},
         {QStringLiteral("code3"), rvs.trimmed()}});
    if (!v)
        return tl::unexpected(v.error());
    return v->isNull() ? QString() : v->toString().trimmed();
}

Result<QString> CaseRateLookups::rvsUnits(const QString &rvs)
{
    auto v = m_db.scalar(u"select RVSPoints from BUILD_FILE..tbCoRVS where RVSCode = :code",
                         {{kCode, rvs.trimmed()}});
    if (!v)
        return tl::unexpected(v.error());
    return v->isNull() ? QString() : numberText(v->toDouble());
}

Result<std::optional<Package>> CaseRateLookups::package(const QString &packageId)
{
    auto row = m_db.selectOne(
        u"select PackageID, Package, coalesce(Amount, 0) as Amount, coalesce(PF, 0) as PF, "
        u"coalesce(HCIPercentage, 100) as HCIPercentage, "
        u"coalesce(PFPercentage, 100) as PFPercentage, "
        u"coalesce(CaseRatePercentage, 100) as CaseRatePercentage, IsAllowSecondCR "
        u"from MEDICARE..tbMedPackage where PackageID = :code",
        {{kCode, packageId.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<Package>();
    const Row &r = **row;
    return std::optional<Package>(Package{r.trimmed(u"PackageID"), r.trimmed(u"Package"),
                                          r.money(u"Amount"), r.money(u"PF"),
                                          r.number(u"HCIPercentage"), r.number(u"PFPercentage"),
                                          r.number(u"CaseRatePercentage"),
                                          r.flag(u"IsAllowSecondCR")});
}

Result<QString> CaseRateLookups::savedIcdDescription(const QString &idNum, const QString &icd)
{
    auto v = m_db.scalar(u"select ICDDescription from STATION..tbPxICDRVS "
                         u"where IDNum = :id and ICD = :code",
                         {{QStringLiteral("id"), idNum.trimmed()}, {kCode, icd.trimmed()}});
    if (!v)
        return tl::unexpected(v.error());
    return v->isNull() ? QString() : v->toString().trimmed();
}

Result<QString> CaseRateLookups::savedRvsDescription(const QString &idNum, const QString &rvs)
{
    auto v = m_db.scalar(u"select RVSDescription from STATION..tbPxICDRVS "
                         u"where IDNum = :id and RVS = :code",
                         {{QStringLiteral("id"), idNum.trimmed()}, {kCode, rvs.trimmed()}});
    if (!v)
        return tl::unexpected(v.error());
    return v->isNull() ? QString() : v->toString().trimmed();
}

Result<bool> CaseRateLookups::benefitsComputed(const QString &idNum)
{
    return found(m_db.scalar(u"select 1 from MEDICARE..tbMedActual where IDNum = :code",
                             {{kCode, idNum.trimmed()}}));
}

Result<bool> CaseRateLookups::stayedOneDay(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..CheckIfStayedOneDay", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return !rows->isEmpty() && rows->at(0).integer(u"StayedOneDay") == 1;
}

Result<bool> CaseRateLookups::userIsDoctor(const QString &employeeCode)
{
    return found(m_db.scalar(u"select 1 from PASSWORD..tbPasswordMaster "
                             u"where EmployeeID = :code and DoctorID <> ''",
                             {{kCode, employeeCode.trimmed()}}));
}

Result<QString> CaseRateLookups::subDescriptions(const QString &code)
{
    auto rows = m_db.select(u"select SubDesc from STATION..tbPHICSubDesc where Code = :code "
                            u"order by SortOrder",
                            {{kCode, code.trimmed()}});
    if (!rows)
        return tl::unexpected(rows.error());
    QStringList parts;
    for (const Row &r : *rows)
        parts << r.trimmed(u"SubDesc");
    return parts.join(u';');
}

Result<QList<CodeHit>> searchCaseRateProcedures(Database &db, const QString &key)
{
    QString contains = likePrefix(key);
    contains.prepend(u'%');
    return hits(db.select(
        u"select MP.RVSCode as Code, MP.Description, MP.PackageID, RVS.RVSPoints as Unit "
        u"from MEDICARE..tbMed_Procedures MP left join BUILD_FILE..tbCoRVS RVS "
        u"on RVS.RVSCode = MP.RVSCode "
        u"where upper(MP.RVSCode) like :key escape '\\' "
        u"or upper(MP.Description) like :key2 escape '\\' order by MP.RVSCode",
        {{QStringLiteral("key"), contains.toUpper()}, {QStringLiteral("key2"), contains.toUpper()}}));
}

Result<QList<CodeHit>> rvsCodesStartingWith(Database &db, const QString &prefix, int limit)
{
    const PrefixRange range = prefixRange(prefix.toUpper());
    return hits(db.select(
        u"select RVS.RVSCode as Code, RVS.RVSDescription as Description, "
        u"coalesce(MP.PackageID, '') as PackageID, RVS.RVSPoints as Unit "
        u"from BUILD_FILE..tbCoRVS RVS left join MEDICARE..tbMed_Procedures MP "
        u"on MP.RVSCode = RVS.RVSCode "
        u"where RVS.RVSCode >= :low and RVS.RVSCode < :high "
        u"and RVS.RVSCode like :prefix escape '\\' order by RVS.RVSCode limit :limit",
        {{QStringLiteral("low"), range.low},
         {QStringLiteral("high"), range.high},
         {QStringLiteral("prefix"), likePrefix(prefix.toUpper())},
         {QStringLiteral("limit"), limit}}));
}

Result<QList<CodeHit>> icdCodesStartingWith(Database &db, const QString &prefix, int limit)
{
    const PrefixRange range = prefixRange(prefix.toUpper());
    return hits(db.select(
        u"select I.ICDCode as Code, I.Description, coalesce(MC.PackageID, '') as PackageID, "
        u"0 as Unit from BUILD_FILE..tbCoICD10 I left join MEDICARE..tbMed_MedicalCaseRates MC "
        u"on MC.ICDCode = I.ICDCode "
        u"where I.ICDCode >= :low and I.ICDCode < :high "
        u"and I.ICDCode like :prefix escape '\\' order by I.ICDCode limit :limit",
        {{QStringLiteral("low"), range.low},
         {QStringLiteral("high"), range.high},
         {QStringLiteral("prefix"), likePrefix(prefix.toUpper())},
         {QStringLiteral("limit"), limit}}));
}

} // namespace kestrel::caserates
