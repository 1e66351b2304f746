// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/ScaleCaseRates.h"

#include "core/db/Money.h"

#include <QSet>

namespace kestrel::hospitaldb {

namespace {

// Words the generated descriptions are made of, so that searching a description finds some.
constexpr QStringView kOrgans[] = {u"GALLBLADDER", u"APPENDIX", u"KIDNEY", u"THYROID",
                                   u"UTERUS",      u"FEMUR",    u"LUNG",   u"COLON",
                                   u"PROSTATE",    u"BREAST",   u"LIVER",  u"HEART"};
constexpr QStringView kIllness[] = {u"CALCULUS OF", u"NEOPLASM OF", u"INFECTION OF",
                                    u"INJURY OF",   u"DISORDER OF", u"ABSCESS OF"};
constexpr QStringView kOperation[] = {u"EXCISION OF", u"REPAIR OF", u"BIOPSY OF",
                                      u"DRAINAGE OF", u"RESECTION OF", u"ENDOSCOPY OF"};

QSet<QString> codesOf(Database &db, QStringView sql)
{
    QSet<QString> out;
    if (auto rows = db.select(sql)) {
        for (const Row &r : *rows)
            out.insert(r.value(0).toString());
    }
    return out;
}

} // namespace

Result<void> addScaleCaseRateCodes(Database &db, int codes)
{
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    const QSet<QString> icdTaken = codesOf(db, u"select ICDCode from BUILD_FILE..tbCoICD10");
    const QSet<QString> rvsTaken = codesOf(db, u"select RVSCode from BUILD_FILE..tbCoRVS");
    const QSet<QString> packages = codesOf(db, u"select PackageID from MEDICARE..tbMedPackage");
    QList<Binds> icd, rvs, medical, surgical, package;
    // ICD-10 codes: a letter, two digits, a point and a digit, walked in steps that spread them
    // over every letter.
    for (int n = 0; icd.size() + icdTaken.size() < codes && n < 26000; ++n) {
        const int k = (n * 7919) % 26000;
        const QString code = QStringLiteral("%1%2.%3")
                                 .arg(QChar(u'A' + k / 1000))
                                 .arg(k / 10 % 100, 2, 10, QLatin1Char('0'))
                                 .arg(k % 10);
        if (icdTaken.contains(code))
            continue;
        const QString description = kIllness[std::size_t(n) % std::size(kIllness)] + u' ' +
                                    kOrgans[std::size_t(n / 6) % std::size(kOrgans)] +
                                    QStringLiteral(", TYPE %1").arg(k % 97);
        icd << Binds{{QStringLiteral("code"), code}, {QStringLiteral("text"), description}};
        if (n % 3 == 0)
            medical << Binds{{QStringLiteral("code"), code},
                             {QStringLiteral("package"), QStringLiteral("GEN-M%1").arg(n % 200)},
                             {QStringLiteral("text"), description}};
    }
    // RVS codes: five digits.
    for (int n = 0; rvs.size() + rvsTaken.size() < codes && n < 90000; ++n) {
        const QString code = QString::number(10000 + (n * 7) % 90000);
        if (rvsTaken.contains(code))
            continue;
        const QString description = kOperation[std::size_t(n) % std::size(kOperation)] + u' ' +
                                    kOrgans[std::size_t(n / 6) % std::size(kOrgans)] +
                                    QStringLiteral(", APPROACH %1").arg(n % 89);
        rvs << Binds{{QStringLiteral("code"), code},
                     {QStringLiteral("text"), description},
                     {QStringLiteral("units"), 2.0 + n % 20}};
        if (n % 3 == 0)
            surgical << Binds{{QStringLiteral("code"), code},
                              {QStringLiteral("package"), QStringLiteral("GEN-S%1").arg(n % 200)},
                              {QStringLiteral("text"), description}};
    }
    for (int n = 0; n < 200; ++n) {
        for (const char *kind : {"M", "S"}) {
            const QString id = QStringLiteral("GEN-%1%2").arg(QLatin1String(kind)).arg(n);
            if (packages.contains(id))
                continue;
            const qint64 pesos = 5000 + 250 * n;
            package << Binds{{QStringLiteral("id"), id},
                             {QStringLiteral("name"), QStringLiteral("CASE RATE %1").arg(id)},
                             {QStringLiteral("amount"), Money::fromMinor(pesos * 10000).toVariant()},
                             {QStringLiteral("pf"), Money::fromMinor(pesos * 3000).toVariant()},
                             {QStringLiteral("second"), n % 5 == 0 ? 0 : 1}};
        }
    }
    const struct
    {
        QStringView sql;
        const QList<Binds> &rows;
    } writes[] = {
        {u"insert into BUILD_FILE..tbCoICD10 (ICDCode, Description) values (:code, :text)", icd},
        {u"insert into BUILD_FILE..tbCoRVS (RVSCode, RVSDescription, RVSPoints) "
         u"values (:code, :text, :units)",
         rvs},
        {u"insert into MEDICARE..tbMed_MedicalCaseRates (ICDCode, PackageID, Description) "
         u"values (:code, :package, :text)",
         medical},
        {u"insert into MEDICARE..tbMed_Procedures (RVSCode, PackageID, Description) "
         u"values (:code, :package, :text)",
         surgical},
        {u"insert into MEDICARE..tbMedPackage (PackageID, Package, Amount, PF, HCIPercentage, "
         u"PFPercentage, CaseRatePercentage, IsAllowSecondCR) "
         u"values (:id, :name, :amount, :pf, 35, 15, 50, :second)",
         package},
    };
    for (const auto &w : writes) {
        if (w.rows.isEmpty())
            continue;
        if (auto ok = db.execMany(w.sql, w.rows); !ok)
            return tl::unexpected(ok.error());
    }
    return tx.commit();
}

} // namespace kestrel::hospitaldb
