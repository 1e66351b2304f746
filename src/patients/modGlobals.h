// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QDateTime>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace kestrel {

class RowSet;
class Session;

/// The questions every OR window asks about a stay and its account before it charges,
/// requests or documents anything. Each routine runs one statement (or procedure call) on
/// the session's database with bound values and answers a flag, a code or a text. A database
/// failure shows the shared error box and gives the routine's default: false, empty text.
namespace modGlobals {

/// What the profile window shows above a stay, and the programme statuses it keeps.
struct PatientBanner
{
    QString executivePackage; ///< " Executive Package Type : " + package, or empty
    QString vipNotice;        ///< "( Patient is Tag As VIP PATIENT )", or empty
    QString seniorNotice;     ///< " ( Patient is Senior Citizen )", appended to the caption
    QString admissionPackage; ///< "Executive Package Type : " + the admission package
    QString TransplantStatus = QStringLiteral("Non_Transplant");
    QString DialysisStatus = QStringLiteral("None");
};

// Account and stay status.

/// True when billing has closed the selected stay (it carries a billing date); then the
/// closed-account notification is shown. The stay is read afresh, so an account closed by the
/// billing office a moment ago is seen.
bool IsAccountClosed(Session &session);
/// A pending or final discharge notice exists for the stay.
bool HasDischargeNotice(Session &session, const QString &IdNum);
/// The inpatient stay has a discharge date.
bool IsDischarged(Session &session, const QString &IdNum);
/// The department has cleared the stay for discharge.
bool IsClearedByDepartment(Session &session, const QString &IdNum, const QString &department);
/// The admitting office has cleared the stay for the OR.
bool IsOROkay(Session &session, const QString &IdNum);
/// The patient brought medicine of their own.
bool HasPatientsOwnMedicine(Session &session, const QString &IdNum);
/// The hospital number of the stay while it is open; empty once discharged (or revoked).
QString GetOpenStayHospNum(Session &session, const QString &IdNum);
/// An outpatient visit charged to a company: neither personal nor the walk-in account.
bool IsCompanyAccountOutpatient(Session &session, const QString &IdNum, const QString &HospNum);
/// The visit came through the ER and was not revoked.
bool IsERPatient(Session &session, const QString &IdNum);
/// The ER has an open request to admit this visit.
bool HasERAdmittingCommunication(Session &session, const QString &HospNum, const QString &IdNum);
/// True when the current bill, the charges waiting in the log book and the amounts on screen
/// together do not exceed the stay's credit line. `screenAmounts` are the amount cells of the
/// grid being entered (source 1 the charge entry grid, any other the profile's request grid);
/// empty cells are skipped.
bool IsWithinCreditLine(Session &session, const QString &IdNum, int source,
                        const QStringList &screenAmounts);
/// What the stay may still be charged: the credit line less the current bill and the charges
/// waiting in the log book, counted as IsWithinCreditLine counts them; 0 when it cannot be read.
Money RemainingCreditBalance(Session &session, const QString &IdNum);

// Patient type, class and programme.

/// The rate letter the stay is priced at: "A" regular, "F" the special classes, "H" the
/// outpatient HMO rate of one client, otherwise the room's class.
QString GetRateClass(Session &session, const QString &IdNum, const QString &patientClass,
                     const QString &RoomID);
/// The rate class of a room, or empty.
QString GetRoomClassification(Session &session, const QString &RoomID);
/// The outpatient rate type of a visit, or empty.
QString GetOPDClassification(Session &session, const QString &IdNum);
/// The visit is priced at the outpatient HMO rate.
bool IsOPDClassH(Session &session, const QString &IdNum);
/// The stay is charged to an HMO.
bool IsHMOPatient(Session &session, const QString &IdNum);
bool IsSeniorCitizen(Session &session, const QString &IdNum);
bool IsInternational(Session &session, const QString &IdNum);
/// The patient's national health insurance membership is valid for the stay.
bool IsValidPHICPatient(Session &session, const QString &IdNum);
/// Insurance claims with the newer claim form only count for stays admitted on or after the
/// start date the hospital set; without a date every valid member counts.
bool IsAdmittedSinceCF4Start(Session &session, const QString &IdNum);
/// The stay carries an admission package.
bool HasPackage(Session &session, const QString &IdNum);
/// The name of the stay's admission package, or empty.
QString GetPackageName(Session &session, const QString &IdNum, const QString &patientClass);

/// The stay's outpatient dialysis ware: items of the dialysis package and case rate.
bool IsZPackageItem(Session &session, const QString &ItemID);
/// The stay's package is the PD First dialysis benefit. `LastPDTransaction` is emptied first,
/// then holds when a bag of the benefit was last charged to the stay (empty before the first).
bool IsZFirstPackage(Session &session, const QString &IdNum, QString &LastPDTransaction);
/// The precautions written for the stay, from the visit's or the inpatient history.
QString GetPrecautions(Session &session, const QString &IdNum);
/// The number the patient had before the records were renumbered, or empty.
QString GetOldHospNum(Session &session, const QString &HospNum);
/// Who pays for the stay, as the profile shows it: each account's company, "PERSONAL" when
/// the patient pays for themselves, a second account after "/".
QString GetGuarantors(Session &session, const QString &IdNum);

// Doctors, consultations and complaints.

/// "LASTNAME, FIRST MIDDLE", or empty for an unknown doctor.
QString GetDoctorName(Session &session, const QString &DoctorID);
/// The doctor has an active professional fee above zero.
bool HasDoctorBillRate(Session &session, const QString &DoctorID);
/// The logged-in user is that doctor.
bool IsDoctorUser(Session &session, const QString &DoctorID, const QString &UserID);
bool HasDoctorSignature(Session &session, const QString &DoctorID);
/// One line per consultation of the stay: "DR. LAST, FIRST (complaint)".
QString GetConsultationSummary(Session &session, const QString &IdNum);
QString GetChiefComplaint(Session &session, const QString &ChiefComplaintID);

/// The banner of the profile window for the stay.
PatientBanner ShowPatientBanner(Session &session, const QString &IdNum);
/// "PAY PATIENT", "SERVICE PATIENT" or empty, from the stay's patient class.
QString LoadPayServiceLabel(Session &session, const QString &IdNum);

/// Billing has closed the stay and its balance went to the receivables.
bool IsReceivableUpdate(Session &session, const QString &IdNum);
/// The item or exam is on the national formulary list.
bool IsPNF(Session &session, const QString &code);

/// Today's holiday, for the main window's greeting.
struct TodaysHoliday
{
    bool IsHolidayToday = false;
    QString HolidayName;
    QString HolidayGreeting;
};
TodaysHoliday LoadHolidayGreeting(Session &session);

// Master-file lookups used by charging; each answers empty for an unknown code.

/// The receivable account of a charge: the stay, the department and the transaction kind
/// ("1" a charge) are handed to the database as the charging window gives them.
QString GetARCode(Session &session, const QString &IdNum, const QString &department,
                  const QString &kind);
/// How much of a medicine requested for the stay has not been given to the patient yet, as
/// the database answers it ("0" when everything was given).
QString HasNotAdministeredMeds(Session &session, const QString &IdNum, const QString &ItemID);
QString GetORSection(Session &session, const QString &OtherRevenueID);
QString GetORItemSection(Session &session, const QString &OtherRevenueID);
QString GetRevenueLocation(Session &session, const QString &RevenueID);
bool IsPharmacyRevenue(Session &session, const QString &RevenueID);
QString GetInventoryType(Session &session, const QString &LocationID);
/// The stock of an item at a stock location, as the inventory counts it; 0 when the location
/// does not carry the item.
double GetOnHand(Session &session, const QString &ItemID, const QString &LocationID);
QString GetLabSectionID(Session &session, const QString &LabExamID);
/// The charge slip or assessment number is already used by a bill, stock movement or
/// cash assessment.
bool RefNumExists(Session &session, const QString &RefNum);
QString GetCreditMemoIdNum(Session &session, const QString &CreditMemoNum);

/// Inventory switch 89, as stored ("0" when unset).
QString GetInventorySwitch89(Session &session);
/// How many parameters the installed procedure declares, so a caller can pass the argument
/// list that version expects; 0 when there is no such procedure.
int GetProcedureParamCount(Session &session, const QString &database, const QString &procedure);

// Utilities.

/// Reads the server's clock before date-stamped work; the connection keeps it as serverNow()
/// and the session's ServerDate follows. Invalid when the server could not be read.
QDateTime LoadServerDate(Session &session);

/// The result has a column of that name (in any case).
bool FieldExists(const RowSet &recordset, const QString &name);
/// A null database value becomes " ", any other value its text.
QString NullToSpace(const QVariant &value);
/// A typed quantity is acceptable: digits only unless the station allows decimals.
bool IsWholeQuantity(const Session &session, const QString &text);

/// Rounds to whole pesos with halves to even, the way credit lines and bills are compared.
qint64 wholePesos(qint64 minor);

} // namespace modGlobals

} // namespace kestrel
