// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace kestrel {

class Database;
class clsSettings;

/// The hospital settings: the single row of PATIENT_DATA..tbHospitalInfo and the single row of
/// STATION..tbNursing_Settings, one member per column and named as the column is. Loaded once
/// at start-up by LoadHospitalSettings() and only read afterwards.
struct HospitalSettings
{
    // PATIENT_DATA..tbHospitalInfo
    QString Company;
    QString Address1;
    bool Bygeneric = false;
    QString MTSServerName;
    bool IsNursePrint = false;
    QString clientname;
    bool IsLBDirectCharging = false;
    bool IsXRDirectCharging = false;
    bool IsUSDirectCharging = false;
    bool IsCTDirectCharging = false;
    bool IsHSDirectCharging = false;
    bool IsShowAmount = false;
    bool IsPrintChargeSlip = false;
    bool IsAllowZeroAmountForORProcedures = false;
    bool IsAllowORPostChargesIfCashBasis = false;
    bool IsAllowSupervisorCodeForCancellationOfCharges = false;
    bool IsAllowPostReturnMedicinesInOR = false;
    bool IsAllowClinicalAssessmentWithoutValidation = false;
    bool IsAllowEntryOfReasonForCancellation = false;
    qint16 PSIOxygenComputationType = 0;
    bool isstat = false;
    double CashStatRate = 0;
    /// Overridden by the station switch "ORAllowZeroOnHand" when tbNurseSetup has one.
    bool AllowZeroOnHand = false;
    bool isORTechPrint = false;
    bool isListCost = false;
    bool IsCompanyPrice = false;
    bool IsAllowEditAmount = false;
    bool IsAllowTaggingORPrc = false;
    bool IsShowMarkUp = false;
    bool isAllowLowerUnitPrice = false;
    bool blnRequireRadioReason = false;
    bool OREditSchedProcedure = false;
    bool OR_AllowEditScheduleDateTime = false;
    bool VSAllowINC = false;

    // STATION..tbNursing_Settings
    bool ORNoPreprinted = false;
    bool ValidateUnusedMedClearance = false;
    bool AllowAfterTimeRate = false;
    QString ORAfterTime; ///< "hh:mm"
    bool AutoORMarkUp = false;
    qint16 AfterTimeStatHours = 0;
    /// The after-time surcharge in percent, kept beside ORAfterTime.
    qint16 ORAfterTimeRate = 0;
    qint16 SecProcPercentDiscount = 0;
    bool ORProceduresAllSection = false;
    bool ShowPrecautions = false;
    bool ORCategoryAuto = false;
    bool NoRequestingAfterFinalNotice = false;
    bool PrintPHCSRequest = false;
    bool AppendDrugDescCharge = false;
    qint16 AssessmentMaxItems = 0;
    bool ORHidePatientClass = false;
    bool EditVSByAuthor = false;
    bool AllowEditDeleteVitalSigns = false;
};

/// Loads the hospital settings, then the station switches into `settings`.
///
/// The flags and numbers and ORAfterTime start again from false, 0 and empty; the hospital's
/// name, address, server name and client code keep what they had, so a hospital whose row
/// cannot be read still prints its last known heading. The first row of each table is read
/// column by column: a column that is missing, holds a null or does not convert is skipped,
/// and a table that cannot be read is skipped whole. Nothing is shown to the user: start-up
/// goes on with what could be read.
void LoadHospitalSettings(Database &db, HospitalSettings &hs, clsSettings &settings);

/// A setting's stored value as a flag: a bit, a number (non-zero is set) or the texts "True" and
/// "False" in any case. Nothing for a null or anything else.
std::optional<bool> settingFlag(const QVariant &stored);
/// A setting's stored value as a small integer: a number or numeric text, rounded half to even
/// as the hospital's older programs did. Nothing for a null, for text that is no number and for
/// values outside -32768..32767.
std::optional<qint16> settingSmallInteger(const QVariant &stored);
/// A setting's stored value as a number (numeric text uses "." whatever the workstation's
/// locale). Nothing for a null or for text that is no number.
std::optional<double> settingNumber(const QVariant &stored);

} // namespace kestrel
