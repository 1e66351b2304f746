// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/settings/HospitalSettings.h"

#include "core/db/Database.h"
#include "core/settings/clsSettings.h"

#include <cmath>
#include <limits>
#include <span>
#include <variant>

namespace kestrel {

namespace {

using Member = std::variant<bool HospitalSettings::*, qint16 HospitalSettings::*,
                            double HospitalSettings::*, QString HospitalSettings::*>;

struct Column
{
    QStringView name;
    Member member;
};

constexpr Column kHospitalInfo[] = {
    {u"Company", &HospitalSettings::Company},
    {u"Address1", &HospitalSettings::Address1},
    {u"Bygeneric", &HospitalSettings::Bygeneric},
    {u"MTSServerName", &HospitalSettings::MTSServerName},
    {u"IsNursePrint", &HospitalSettings::IsNursePrint},
    {u"clientname", &HospitalSettings::clientname},
    {u"IsLBDirectCharging", &HospitalSettings::IsLBDirectCharging},
    {u"IsXRDirectCharging", &HospitalSettings::IsXRDirectCharging},
    {u"IsUSDirectCharging", &HospitalSettings::IsUSDirectCharging},
    {u"IsCTDirectCharging", &HospitalSettings::IsCTDirectCharging},
    {u"IsHSDirectCharging", &HospitalSettings::IsHSDirectCharging},
    {u"IsShowAmount", &HospitalSettings::IsShowAmount},
    {u"IsPrintChargeSlip", &HospitalSettings::IsPrintChargeSlip},
    {u"IsAllowZeroAmountForORProcedures", &HospitalSettings::IsAllowZeroAmountForORProcedures},
    {u"IsAllowORPostChargesIfCashBasis", &HospitalSettings::IsAllowORPostChargesIfCashBasis},
    {u"IsAllowSupervisorCodeForCancellationOfCharges",
     &HospitalSettings::IsAllowSupervisorCodeForCancellationOfCharges},
    {u"IsAllowPostReturnMedicinesInOR", &HospitalSettings::IsAllowPostReturnMedicinesInOR},
    {u"IsAllowClinicalAssessmentWithoutValidation",
     &HospitalSettings::IsAllowClinicalAssessmentWithoutValidation},
    {u"IsAllowEntryOfReasonForCancellation",
     &HospitalSettings::IsAllowEntryOfReasonForCancellation},
    {u"PSIOxygenComputationType", &HospitalSettings::PSIOxygenComputationType},
    {u"isstat", &HospitalSettings::isstat},
    {u"CashStatRate", &HospitalSettings::CashStatRate},
    {u"AllowZeroOnHand", &HospitalSettings::AllowZeroOnHand},
    {u"isORTechPrint", &HospitalSettings::isORTechPrint},
    {u"isListCost", &HospitalSettings::isListCost},
    {u"IsCompanyPrice", &HospitalSettings::IsCompanyPrice},
    {u"IsAllowEditAmount", &HospitalSettings::IsAllowEditAmount},
    {u"IsAllowTaggingORPrc", &HospitalSettings::IsAllowTaggingORPrc},
    {u"IsShowMarkUp", &HospitalSettings::IsShowMarkUp},
    {u"isAllowLowerUnitPrice", &HospitalSettings::isAllowLowerUnitPrice},
    {u"blnRequireRadioReason", &HospitalSettings::blnRequireRadioReason},
    {u"OREditSchedProcedure", &HospitalSettings::OREditSchedProcedure},
    {u"OR_AllowEditScheduleDateTime", &HospitalSettings::OR_AllowEditScheduleDateTime},
    {u"VSAllowINC", &HospitalSettings::VSAllowINC},
};

// tbNursing_Settings has its own OREditSchedProcedure and OR_AllowEditScheduleDateTime, which
// the schedule board reads for itself; the hospital-wide ones above are not overwritten.
constexpr Column kNursingSettings[] = {
    {u"ORNoPreprinted", &HospitalSettings::ORNoPreprinted},
    {u"ValidateUnusedMedClearance", &HospitalSettings::ValidateUnusedMedClearance},
    {u"AllowAfterTimeRate", &HospitalSettings::AllowAfterTimeRate},
    {u"ORAfterTime", &HospitalSettings::ORAfterTime},
    {u"AutoORMarkUp", &HospitalSettings::AutoORMarkUp},
    {u"AfterTimeStatHours", &HospitalSettings::AfterTimeStatHours},
    {u"ORAfterTimeRate", &HospitalSettings::ORAfterTimeRate},
    {u"SecProcPercentDiscount", &HospitalSettings::SecProcPercentDiscount},
    {u"ORProceduresAllSection", &HospitalSettings::ORProceduresAllSection},
    {u"ShowPrecautions", &HospitalSettings::ShowPrecautions},
    {u"ORCategoryAuto", &HospitalSettings::ORCategoryAuto},
    {u"NoRequestingAfterFinalNotice", &HospitalSettings::NoRequestingAfterFinalNotice},
    {u"PrintPHCSRequest", &HospitalSettings::PrintPHCSRequest},
    {u"AppendDrugDescCharge", &HospitalSettings::AppendDrugDescCharge},
    {u"AssessmentMaxItems", &HospitalSettings::AssessmentMaxItems},
    {u"ORHidePatientClass", &HospitalSettings::ORHidePatientClass},
    {u"EditVSByAuthor", &HospitalSettings::EditVSByAuthor},
    {u"AllowEditDeleteVitalSigns", &HospitalSettings::AllowEditDeleteVitalSigns},
};

bool isNumeric(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Short:
    case QMetaType::UShort:
    case QMetaType::Double:
    case QMetaType::Float:
        return true;
    default:
        return false;
    }
}

void assign(bool &to, const QVariant &stored)
{
    if (const auto b = settingFlag(stored))
        to = *b;
}

void assign(qint16 &to, const QVariant &stored)
{
    if (const auto n = settingSmallInteger(stored))
        to = *n;
}

void assign(double &to, const QVariant &stored)
{
    if (const auto d = settingNumber(stored))
        to = *d;
}

void assign(QString &to, const QVariant &stored)
{
    to = stored.toString();
}

// Reads the columns of one row; a missing column or a null leaves its setting as it is.
void readColumns(const Row &row, std::span<const Column> columns, HospitalSettings &hs)
{
    for (const Column &c : columns) {
        const QVariant stored = row.value(c.name);
        if (stored.isNull())
            continue;
        std::visit([&](auto member) { assign(hs.*member, stored); }, c.member);
    }
}

void readFirstRow(Database &db, QStringView sql, std::span<const Column> columns,
                  HospitalSettings &hs)
{
    auto row = db.selectOne(sql);
    if (row && *row)
        readColumns(**row, columns, hs);
}

} // namespace

std::optional<bool> settingFlag(const QVariant &stored)
{
    if (stored.isNull())
        return std::nullopt;
    if (stored.typeId() == QMetaType::Bool)
        return stored.toBool();
    if (const auto d = settingNumber(stored))
        return *d != 0.0;
    const QString t = stored.toString().trimmed();
    if (t.compare(u"True", Qt::CaseInsensitive) == 0)
        return true;
    if (t.compare(u"False", Qt::CaseInsensitive) == 0)
        return false;
    return std::nullopt;
}

std::optional<qint16> settingSmallInteger(const QVariant &stored)
{
    const auto d = settingNumber(stored);
    if (!d)
        return std::nullopt;
    // nearbyint rounds half to even in the default rounding mode: 2.5 gives 2, 3.5 gives 4.
    const double rounded = std::nearbyint(*d);
    if (rounded < std::numeric_limits<qint16>::min() ||
        rounded > std::numeric_limits<qint16>::max())
        return std::nullopt;
    return qint16(rounded);
}

std::optional<double> settingNumber(const QVariant &stored)
{
    if (stored.isNull())
        return std::nullopt;
    bool ok = false;
    const double d =
        isNumeric(stored) ? stored.toDouble(&ok) : stored.toString().trimmed().toDouble(&ok);
    if (!ok || !std::isfinite(d))
        return std::nullopt;
    return d;
}

void LoadHospitalSettings(Database &db, HospitalSettings &hs, clsSettings &settings)
{
    // Everything starts again except the texts that name the hospital: a heading from the
    // last good load is better on a printed form than none.
    HospitalSettings fresh;
    fresh.Company = std::move(hs.Company);
    fresh.Address1 = std::move(hs.Address1);
    fresh.MTSServerName = std::move(hs.MTSServerName);
    fresh.clientname = std::move(hs.clientname);
    hs = std::move(fresh);

    readFirstRow(db, u"Select * from PATIENT_DATA..tbHospitalInfo", kHospitalInfo, hs);
    readFirstRow(db, u"Select * from STATION..tbNursing_Settings", kNursingSettings, hs);
    settings.LoadParameters(db, hs);
}

} // namespace kestrel
