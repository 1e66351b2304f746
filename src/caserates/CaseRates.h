// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

namespace kestrel {

class Database;

namespace caserates {

/// Which case rate of the insurance a diagnosis or operation is billed as.
enum class CaseRate { None = 0, First = 1, Second = 2 };

/// A case-rate package as billing keeps it, its empty percentages read as 100.
struct Package
{
    QString id;
    QString name;
    Money amount;
    Money professionalFee;
    double hospitalPercentage = 100;
    double professionalPercentage = 100;
    double caseRatePercentage = 100;
    bool allowsSecond = false;
};

/// What a tagged line pays the hospital and the doctors.
struct FeeShares
{
    Money hospital;
    Money professional;
    bool operator==(const FeeShares &) const = default;
};

/// The shares of `package` billed as case rate `n`. A second case rate paid at half
/// (CaseRatePercentage exactly 50) pays the hospital and the doctors their percentages of the
/// package amount; every other case pays the hospital the amount less the doctors' part.
FeeShares feeShares(const Package &package, CaseRate n);

/// An amount as the discharge order shows it: thousands grouped, no decimals, nothing for 0.
QString amountText(Money amount);
/// An amount as typed in a fee cell ("12,500", " 3000 "); empty text is zero, anything that is
/// no amount gives nullopt.
std::optional<Money> typedAmount(const QString &text);

/// The case-rate look-ups every window shares: the discharge order, the OR record and the
/// surgical memo. Each one is a single statement; a look-up that finds no row answers empty.
class CaseRateLookups
{
public:
    explicit CaseRateLookups(Database &db)
        : m_db(db)
    {
    }

    Result<QString> packageOfIcd(const QString &icd);
    Result<QString> packageOfRvs(const QString &rvs);
    /// True when the code is in the ICD-10 list or has a medical case rate.
    Result<bool> icdIsValid(const QString &icd);
    Result<bool> allowsSecondCaseRate(const QString &packageId);
    Result<QString> packageName(const QString &packageId);
    Result<QString> medicalCaseDescription(const QString &icd);
    Result<QString> icdDescription(const QString &icd);
    /// The case rate's description of an RVS code where it has one, else the list's.
    Result<QString> rvsDescription(const QString &rvs);
    /// The relative value units of an RVS code; empty when the code is not listed.
    Result<QString> rvsUnits(const QString &rvs);
    /// The package, or nullopt when billing has no such package.
    Result<std::optional<Package>> package(const QString &packageId);
    Result<QString> savedIcdDescription(const QString &idNum, const QString &icd);
    Result<QString> savedRvsDescription(const QString &idNum, const QString &rvs);
    /// True once billing computed the stay's insurance benefits.
    Result<bool> benefitsComputed(const QString &idNum);
    /// True when the stay has lasted 24 hours by the server's clock.
    Result<bool> stayedOneDay(const QString &idNum);
    /// True when the employee is a doctor of the hospital.
    Result<bool> userIsDoctor(const QString &employeeCode);
    /// The insurance's sub-descriptions of a code joined with ";".
    Result<QString> subDescriptions(const QString &code);

private:
    Result<QString> text(QStringView sql, const QString &value);

    Database &m_db;
};

/// One code found by the RVS picker or a prefix search.
struct CodeHit
{
    QString code;
    QString description;
    QString packageId;
    double units = 0;
};

/// The procedures with a surgical case rate whose code or description holds `key`.
Result<QList<CodeHit>> searchCaseRateProcedures(Database &db, const QString &key);
/// The RVS codes beginning with `prefix`, by code (at most `limit`).
Result<QList<CodeHit>> rvsCodesStartingWith(Database &db, const QString &prefix, int limit = 200);
/// The ICD-10 codes beginning with `prefix`, by code (at most `limit`).
Result<QList<CodeHit>> icdCodesStartingWith(Database &db, const QString &prefix, int limit = 200);

} // namespace caserates
} // namespace kestrel
