// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QLoggingCategory>
#include <QString>
#include <QStringList>
#include <QStringView>
#include <QVariant>

#include <array>
#include <cstddef>
#include <variant>

Q_DECLARE_LOGGING_CATEGORY(lcSettings)

namespace kestrel {

class Database;
struct HospitalSettings;

// The station switches of STATION..tbNurseSetup, one line each:
//     X(key in column Field, property, type, rule, default)
// Rules, applied to the row's `value` (a null reads as empty):
//     One        true when the value is exactly "1"; otherwise unchanged
//     Zero       false when the value is exactly "0"; otherwise unchanged
//     OneZero    true on "1", false on "0"; otherwise unchanged
//     Any        true when the value is not empty (so "0" turns it on too)
//     Text       the value, when not empty
//     Number     the value as a number, when not empty; a value that is no number stops the load
//     Note       on "1", the row's Description
//     Maintenance  on "1", true, and ModuleMaintenanceMsg takes the row's Description
//     TrueFalse  the text "True" on "1", "False" on anything else
//     Derived    no row of its own; set by another switch's rule
// Adding a switch is adding its line here.
#define KESTREL_STATION_SWITCHES(X)                                                                \
    X("ORHideOpenHeartCategory", HideOpenHeartCategory, bool, One, false)                          \
    X("ORAllowRequestPersonalPx", ORAllowRequestPersonalPx, bool, One, false)                      \
    X("ShowEquipmentChargesReport", ShowEquipmentChargesReport, bool, One, false)                  \
    X("DisableLBCancellation", DisableLBCancellation, bool, One, false)                            \
    X("ORClinicalAssessmentRateByAccomodation", ClinicalAssessmentRateByAccomodation, bool, Zero,  \
      true)                                                                                        \
    X("ORClinicalAssessmentRate", ClinicalAssessmentRate, QString, Text, "A")                      \
    X("ORDontRequirePHICCode", DontRequirePHICCOde, bool, One, false)                              \
    X("ORShowReprintLab", ShowReprintLab, bool, One, false)                                        \
    X("OREnableCashAssessmentForAll", EnableCashAssessmentForAll, bool, One, false)                \
    X("ORSupervisorEditAmountPostCharge", SupervisorEditAmountPostCharge, bool, One, false)        \
    X("EnablePulmoResultPrint", EnablePulmoResultPrint, bool, One, false)                          \
    X("OREnableChargeSlipPrinting", EnableChargeSlipPrinting, bool, One, false)                    \
    X("ClinicalOperationWithNoPostCharge", ClinicalOperationWithNoPostCharge, bool, One, false)    \
    X("ORUseNonPHICDescription", UseNonPHICDescription, bool, One, false)                          \
    X("GetComplaintsFromDRMod", GetComplaintsFromDRMod, bool, One, false)                          \
    X("ShowNewFormatIncomeReport", ShowNewFormatIncomeReport, bool, One, false)                    \
    X("OREnableChangeDiet", EnableChangeDiet, bool, One, false)                                    \
    X("DisablePackageIfNotTagged", DisablePackageIfNotTagged, bool, One, false)                    \
    X("InventoryRoomClassRate", InventoryRoomClassRate, bool, One, false)                          \
    X("MultiCancel", MultiCancel, bool, One, false)                                                \
    X("SearchAffiliatedOnly", SearchAffiliatedOnly, bool, One, false)                              \
    X("ORRevenueSupervisorCancel", ORRevenueSupervisorCancel, bool, One, false)                    \
    X("NoPackageItemExclude", NoPackageItemExclude, bool, One, false)                              \
    X("ORSupplyRateBasePType", SupplyRateBasePType, bool, One, false)                              \
    X("NoDirectReturnSupplies", NoDirectReturnSupplies, bool, One, false)                          \
    X("DontMixPackages", DontMixPackages, bool, One, false)                                        \
    X("isallowopenclosetank", AllowOpenCloseTank, bool, One, false)                                \
    X("OnlyShowPackageCSlip", OnlyShowPackageCSlip, bool, One, false)                              \
    X("HidePackageItemPrice", HidePackageItemPrice, bool, One, false)                              \
    X("NotifyZeroAmount", NotifyZeroAmount, bool, One, false)                                      \
    X("ClinAssessRequireDx", ClinAssessRequireDx, bool, One, false)                                \
    X("EnableORHMORate", EnableORHMORate, bool, One, false)                                        \
    X("ORHMORateByRoomClass", ORHMORateByRoomClass, bool, One, false)                              \
    X("ORRateIforER", RateIforER, bool, One, false)                                                \
    X("UseNewORMarkUp", UseNewORMarkUp, bool, One, false)                                          \
    X("ORShowAnesthesiaDone", ShowAnesthesiaDone, bool, One, false)                                \
    X("ORShowCompleteInc", ShowCompleteInc, bool, One, false)                                      \
    X("ORDontAllowINCPackage", DontAllowINCPackage, bool, One, false)                              \
    X("EnableWCResult", EnableWCResult, bool, One, false)                                          \
    X("EnableCVORTag", EnableCVORTag, bool, One, false)                                            \
    X("ORNoDefaultDosage", NoDefaultDosage, bool, One, false)                                      \
    X("ORLogbookOnePage", LogbookOnePage, bool, One, false)                                        \
    X("EditORAmount", EditORAmount, bool, One, false)                                              \
    X("ComputePackageGross", ComputePackageGross, bool, Any, false)                                \
    X("ORComputeTotalPostCharges", ComputeTotalPostCharges, bool, Any, false)                      \
    X("NurseCheckZPDFirstPackage", CheckZPDFirstPackage, bool, Any, false)                         \
    X("EnableAMPickUPNonLB", EnableAMPickUPNonLB, bool, Any, false)                                \
    X("ORNotifyRevokedRequests", NotifyRevokedRequests, bool, One, false)                          \
    X("NurseNotifyRevokedNote", NurseNotifyRevokedNote, QString, Note, "")                         \
    X("ORNoDefaultRequestingDR", NoDefaultRequestingDR, bool, One, false)                          \
    X("ORUnderMaintenance", ModuleUnderMaintenance, bool, Maintenance, false)                      \
    X("", ModuleMaintenanceMsg, QString, Derived, "Sorry, Kestrel is under maintenance.")          \
    X("NurseHideCSPHRequestAmt", HideCSPHRequestAmt, bool, One, false)                             \
    X("IsAntiBiotic", IsAntiBiotic, bool, One, false)                                              \
    X("HighAlert", HighAlert, bool, One, false)                                                    \
    X("ORShowLBAbnormal", ShowLBAbnormal, bool, One, false)                                        \
    X("DontPrintToInclude", DontPrintToInclude, bool, One, false)                                  \
    X("NurseAllowPathologyIfCash", AllowPathologyIfCash, bool, One, false)                         \
    X("ORDecimalQty", AllowDecimalQty, bool, One, false)                                           \
    X("OREnableNewPrecaution", EnableNewPrecaution, bool, One, false)                              \
    X("UseBuildPrecaution", UseBuildPrecaution, bool, One, false)                                  \
    X("ORDisablePrintAllResults", DisablePrintAllResults, bool, One, false)                        \
    X("ORDisableLabPrintResult", DisableLabPrintResult, bool, One, false)                          \
    X("OREnableLabPrintTagging", EnableLabPrintTagging, bool, One, false)                          \
    X("OROneTimeResultPrint", EnableOneTimeResultPrint, bool, One, false)                          \
    X("ORRequireChartCategory", RequireChartCategory, bool, One, false)                            \
    X("ORDisableDcrOrder", DisableDcrOrder, bool, One, false)                                      \
    X("ORUseBuildFixRate", UseBuildFixRate, bool, One, false)                                      \
    X("ORHideMediumCategory", HideMediumCategory, bool, One, false)                                \
    X("ORDontRequireAnes", DontRequireAnes, bool, One, false)                                      \
    X("ORDontRequireScrub", DontRequireScrub, bool, One, false)                                    \
    X("ORDontRequireCirc", DontRequireCirc, bool, One, false)                                      \
    X("ORDontRequireAnesthesia", DontRequireAnesthesia, bool, One, false)                          \
    /* "ORAllowZeroOnHand" sets the hospital setting AllowZeroOnHand instead. */                   \
    X("ORNoOPDLab", NoOPDLab, bool, One, false)                                                    \
    X("OutInPHICSameChecking", OutInPHICSameChecking, bool, One, false)                            \
    X("HistoricalUseLabFormat", HistoricalUseLabFormat, bool, One, false)                          \
    X("LabTabularSelection", LabTabularSelection, bool, One, false)                                \
    X("DisableAutoUCaseHBPS", DisableAutoUCaseHBPS, bool, One, false)                              \
    X("HideCaseRateOptions", HideCaseRateOptions, bool, One, false)                                \
    X("NurseShowDoctorRoles", ShowDoctorRoles, bool, One, false)                                   \
    X("NurseHBPSMoreThan5Dr", HBPSMoreThan5Dr, bool, One, false)                                   \
    X("NurseHas3rd4thDxFields", Has3rd4thDxFields, bool, One, false)                               \
    X("RetainDataRevokeDischarge", RetainDataRevokeDischarge, bool, One, false)                    \
    X("DontRequireICDOnECU", DontRequireICDOnECU, bool, One, false)                                \
    X("DcrOrderValidateCF4", DcrOrderValidateCF4, bool, One, false)                                \
    X("HideBillingCheckList", HideBillingCheckList, bool, One, false)                              \
    X("HBPSSearchRVS", HBPSSearchRVS, bool, One, false)                                            \
    X("ORHBPSDoctorAccess", HBPSDoctorAccess, bool, One, false)                                    \
    X("NurseCaseRateSeveralDoctors", CaseRateSeveralDoctors, bool, One, false)                     \
    X("NursePHIC24HourStay", PHIC24HourStay, bool, One, false)                                     \
    X("ORDisableSendNotice", DisableSendNotice, bool, One, false)                                  \
    X("ORShowCSFTemplate", ShowCSFTemplate, bool, One, false)                                      \
    X("ORPrintCSF", NursePrintCSF, bool, One, false)                                               \
    X("ORPrintCF4", NursePrintCF4, bool, One, false)                                               \
    X("ORShowCF4", ShowCF4, bool, One, false)                                                      \
    X("ORSaveZeroAmtSubitem", SaveZeroAmtSubItem, bool, One, false)                                \
    X("ORAllowZeroOnHand_Requesting", AllowZeroOnHandRequesting, bool, OneZero, false)             \
    X("HideServerIP", HideServerIP, bool, One, false)                                              \
    X("LiveServerIP", LiveServer, QString, Text, "")                                               \
    X("TestServerIP", TestServer, QString, Text, "")                                               \
    X("CheckPNF", CheckPNF, bool, One, false)                                                      \
    X("NoPNFByPass", NoPNFByPass, bool, One, false)                                                \
    X("CF4RequireStart", RequireCF4Start, QString, Text, "")                                       \
    X("ORInstrumentHandlingFeeRate", InstrumentHandlingFee, double, Number, 0)                     \
    X("ORInstrumentRevID", InstrumentFeeRevID, QString, Text, "")                                  \
    X("ORValidateCF4ORTech", ValidateCF4ORTech, bool, One, false)                                  \
    X("ORRequireAnestSchedule", RequireAnestSchedule, bool, Zero, true)                            \
    X("SystolicMax", SystolicMax, qint16, Number, 300)                                             \
    X("DiastolicMin", DiastolicMin, qint16, Number, 50)                                            \
    X("CSlipFormat", NewCSlipFormat, QString, Text, "")                                            \
    X("ORShowSignature", ShowSignature, bool, One, false)                                          \
    X("ORShowOperationDone", ShowOperationDone, bool, One, false)                                  \
    X("FifteenCSlipFormat", FifteenCSlipFormat, bool, One, false)                                  \
    X("BirCSlipFormat", BirCSlipFormat, QString, Text, "")                                         \
    X("ORShowOrtechWarning", ShowORTechWarning, bool, One, false)                                  \
    X("ORDontAllowDischargedClinicalOperation", DontAllowDischargedClinicalOperation, bool, One,   \
      false)                                                                                       \
    X("ORShowStocksMonitoring", ShowStocksMonitoring, bool, One, false)                            \
    X("ORAllowEndoScheduling", AllowEndoScheduling, bool, One, false)                              \
    X("ORRoomForEndo", RoomForEndo, QString, Text, "")                                             \
    X("ORShowSpecimen", ShowSpecimen, bool, One, false)                                            \
    X("ORAllowLateSchedule", AllowLateSchedule, bool, One, false)                                  \
    X("ORAllowInternationalRate", AllowInternationalRate, bool, One, false)                        \
    X("ORShowSCNurseinSchedule", ShowSCNurseinSchedule, bool, One, false)                          \
    X("ORClientRUVtext", ClientRUVtext, QString, Text, "")                                         \
    X("NurseAllowExcludePackageItems", AllowExcludePackageItems, bool, One, false)                 \
    X("ORRevenueForRequestingDoctor", RevenueForRequestingDoctor, QString, Text, "")               \
    X("ORRequireOperativeDiagnosis", RequireOperativeDiagnosis, bool, One, false)                  \
    X("ORRequireAntibioticGiven", RequireAntibioticGiven, bool, One, false)                        \
    X("ORLinkToScheduling", LinkScheduleToScheduling, bool, One, false)                            \
    X("ORShowDosagePostMedicines", ShowDosagePostMedicines, bool, One, false)                      \
    X("ERShowReferredACC", ShowReferredACC, bool, One, false)                                      \
    X("ERAdmDcrDisposition", ERAdmDcrDisposition, bool, One, false)                                \
    X("ERShowConditionDischarge", ShowConditionDischarge, bool, One, false)                        \
    X("ERNoDcrDateForAdm", ERNoDcrDateForAdm, bool, One, false)                                    \
    X("ERRequireAdmDiagIfForAdm", RequireAdmDiagIfForAdm, bool, One, false)                        \
    X("ExpandPostChargeList", ExpandList, bool, One, false)                                        \
    X("CheckCredLim", CheckCredLim, bool, One, false)                                              \
    X("EnableORPrcAsstNurse", EnableORPrcAsstNurse, bool, One, false)                              \
    X("EnableSurgicalMemoForm", EnableSurgicalMemoForm, bool, One, false)                          \
    X("EnableLateralCheckBox", EnableLateralCheckBox, bool, One, false)                            \
    X("NurseShowDosage", NurseShowDosage, bool, One, false)                                        \
    X("NurseShowRoute", NurseShowRoute, bool, One, false)                                          \
    X("ORShowRoomTransfer", ORShowRoomTransfer, bool, One, false)                                  \
    X("AllowPrintHCPDraftER", AllowPrintHCPDraftER, bool, One, false)                              \
    X("AllowPrintHCPDraft", AllowPrintHCPDraft, bool, One, false)                                  \
    X("EnableSpellChecker", EnableSpellChecker, bool, One, false)                                  \
    X("ShowSchedExamReq", ShowSchedExamReq, bool, One, false)                                      \
    X("OREnableCaseNumberEntry", OREnableCaseNumberEntry, bool, One, false)                        \
    /* Loaded, but no window of this program reads them. */                                        \
    X("ORAllowThirtyMinInterval", AllowThirtyMinInterval, bool, One, false)                        \
    X("ORRequireCategoryOfProcedure", RequireCategoryOfProcedure, bool, One, false)                \
    X("NoPackageRevoke", NoPackageRevoke, bool, One, false)                                        \
    X("ORDischarge", ORDischarge, bool, One, false)                                                \
    X("ERNoDefaultPatientCategory", NoDefaultPatientCategory, bool, One, false)                    \
    X("ORUseBfileFixRate", UseBFileFixRate, QString, TrueFalse, "False")                           \
    X("CVORMainRevID", CVORMainRev, QString, Text, "")                                             \
    X("CVORNHISupplies", CVORNHISupplies, QString, Text, "")                                       \
    X("CVORNHIConsignedSupplies", CVORNHIConsignedSupplies, QString, Text, "")                     \
    X("CVORNHIEquipments", CVORNHIEquipment, QString, Text, "")                                    \
    X("CVORNHIMisc", CVORNHIMisc, QString, Text, "")                                               \
    X("CVORHospSupplies", CVORHospSupplies, QString, Text, "")                                     \
    X("CVORHospMeds", CVORHospMeds, QString, Text, "")                                             \
    X("CVORHospEquipments", CVORHospEquipments, QString, Text, "")                                 \
    X("CVORHospMisc", CVORHospMisc, QString, Text, "")

/// The station switches: the key/value rows of STATION..tbNurseSetup as read-only properties,
/// one per switch, named as the hospital names them (`ShowCF4()`, `SystolicMax()`, ...).
///
/// One object serves the whole program. LoadParameters() fills it at start-up; it starts at
/// the defaults, so a station whose table cannot be read runs with them.
class clsSettings
{
public:
#define KESTREL_SWITCH_ENUMERATOR(key, property, type, rule, initial) property,
    /// Every switch, in the order of the list above.
    enum class Switch { KESTREL_STATION_SWITCHES(KESTREL_SWITCH_ENUMERATOR) Count };
#undef KESTREL_SWITCH_ENUMERATOR
    static constexpr std::size_t kSwitchCount = std::size_t(Switch::Count);

    /// A switch's value: flags, texts, the two blood-pressure bounds and the handling fee.
    using Value = std::variant<bool, qint16, double, QString>;

    clsSettings();

    /// Resets every switch to its default, then applies the rows of STATION..tbNurseSetup in
    /// the order they were entered. Keys are matched exactly, case included; rows with other
    /// keys are skipped. A row whose value cannot be converted ends the load there: the rows
    /// after it are not applied. `hs.AllowZeroOnHand` keeps the value it was loaded with
    /// unless a row "ORAllowZeroOnHand" says "1" or "0". Nothing is shown to the user.
    void LoadParameters(Database &db, HospitalSettings &hs);

#define KESTREL_SWITCH_ACCESSOR(key, property, type, rule, initial)                                \
    type property() const                                                                          \
    {                                                                                              \
        return std::get<type>(m_values[std::size_t(Switch::property)]);                            \
    }
    KESTREL_STATION_SWITCHES(KESTREL_SWITCH_ACCESSOR)
#undef KESTREL_SWITCH_ACCESSOR

    /// The switch named `propertyName` (exact spelling) as a variant of its own type, or an
    /// invalid variant when there is no such switch. For diagnostics; windows use the
    /// properties.
    QVariant value(QStringView propertyName) const;
    /// The names of every switch, in the order of the list above.
    static QStringList propertyNames();

private:
    void resetToDefaults();

    std::array<Value, kSwitchCount> m_values;
};

} // namespace kestrel
