// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QString>

#include <optional>

namespace kestrel {

class Session;

/// The pricing routines shared by the charge, assessment and receivable windows. Each runs one
/// statement or procedure call with bound values; a missing row gives the routine's default (a
/// price of 0, false, empty text) and a database failure shows the shared error box and gives
/// the same default.
namespace modPricing {

/// The rate letter a stay is priced at: "A", "F" for the special classes 1 and "9", "H" for the
/// outpatient HMO rate of the client that has one.
QString GetPatientRateLetter(Session &session, const QString &IdNum, const QString &patientClass,
                             const QString &RoomID);

/// What the stay's HMO pays for an item, by the class of the stay: "A" for a visit ("I" for an
/// ER visit when ER visits have a rate of their own), the room's class for an inpatient. 0 for
/// a stay that is no HMO account.
Money GetHMORateByClass(Session &session, const QString &IdNum, const QString &RoomID,
                        const QString &department, const QString &item);
/// The doctor's professional fee at a class (room class, or the rate type of a visit).
Money GetDoctorsRate(Session &session, const QString &doctor, const QString &rateClass);
/// The RUV rate of an OR procedure for the stay.
Money GetProcedureRUV(Session &session, const QString &IdNum, const QString &item);
/// The exam of the department ("LB", "XR", "US") is priced the same at every rate letter.
bool IsExamFixedRate(Session &session, const QString &exam, const QString &department);
/// A package's rate at letters "A" to "E"; 0 for any other letter or an unknown package.
Money GetPackageRate(Session &session, const QString &package, const QString &letter);
/// How many of an exam of the department ("LB", "XR", "US") one line may charge: its MaxQty
/// (1 when empty) for a procedure with open quantity, 1 for every other exam.
int GetMaxQty(Session &session, const QString &exam, const QString &department);

/// Whether the hour `hour` (0..23) falls in the after-time window that starts at the hour in
/// the first two characters of `ORAfterTime` and lasts `statHours` hours, passing midnight when
/// it must. Nothing when `statHours` is outside 1..24.
std::optional<bool> StatHoursCover(const QString &ORAfterTime, int statHours, int hour);
/// StatHoursCover for the settings and the server's clock, read afresh. A badly set number of
/// hours is told to the user and answers false.
bool IsWithinStatHours(Session &session);
/// Today is one of the hospital's holidays.
bool IsHolidayToday(Session &session);

/// The stay already has a pending or posted line tagged as second operation.
bool HasSecondOperation(Session &session, const QString &IdNum);
/// The price agreed with the account for a stock item, when there is one.
std::optional<Money> GetCompanyPrice(Session &session, const QString &item,
                                     const QString &account);
/// The account that pays for the stay, from the inpatient or the outpatient table.
QString GetStayAccount(Session &session, const QString &IdNum, bool outpatient);
/// The admission type of an inpatient stay.
QString GetAdmissionTypeID(Session &session, const QString &IdNum);
/// The percent laid on the average cost of stock items priced at cost.
double GetCostMarkup(Session &session);

} // namespace modPricing

} // namespace kestrel
