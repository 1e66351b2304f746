// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchPath.h"
#include "BenchSeams.h"

#include "hospitaldb/ScaleHospital.h"
#include "scheduling/RoomBooking.h"

namespace kestrel::bench {

/// The patient list searched by a last-name prefix, a hospital number and an admission
/// number, and the selection of a stay.
QList<BenchPath> patientPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

/// Each check of the main window's monitors, as it polls every few seconds.
QList<BenchPath> monitorPaths(BenchSession &s);

/// Pricing a line of each kind, posting a batch of twenty lines and loading the posted list
/// of a long stay. The items are picked from the hospital's master files first.
Result<QList<BenchPath>> chargingPaths(BenchSession &s,
                                       const hospitaldb::ScaleLandmarks &landmarks);

/// The detailed income report of about 5,000 OR lines exported to a PDF in `scratchFolder`,
/// its first page on screen, and the report of about 50,000 lines to PDF (before which the
/// time per 1,000 lines is printed for sizes from 500 lines up).
Result<QList<BenchPath>> reportPath(BenchSession &s, const QString &reportsFolder,
                                    const QString &scratchFolder);

/// What the income report covers: the days that hold about `wanted` OR lines, back from the
/// latest day the OR charged.
struct ReportPeriodChoice
{
    QDate from;
    QDate to;
    qint64 lines = 0;
};
Result<ReportPeriodChoice> chooseReportPeriod(Database &db, qint64 wanted);

/// Revoking one posted medicine line of the inpatient stay with its re-validation done.
QList<BenchPath> returnPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

/// Saving a pharmacy request of twenty lines for the inpatient stay.
QList<BenchPath> requestPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

// The OR schedule and the import of master files.

/// The schedule board showing the busy day with its planner filled, and the room conflict
/// check of a booking in the busy day's room. The planner is a widget: the application must
/// exist before the board path gets ready.
QList<BenchPath> schedulePaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

/// The booking the conflict path checks: 90 minutes from 10:00 in the busy day's room.
RoomSlot conflictSlot(const hospitaldb::ScaleLandmarks &landmarks);

/// The confirmed operations overlapping `slot`, counted by the bare statements.
Result<qint64> bareOverlaps(Database &db, const RoomSlot &slot);

/// kestrel-admin's import of a price list of `items` items into the hospital; each run's
/// items are removed again after it.
BenchPath importPath(BenchSession &s, int items = 50'000);

/// The relative value scale and the ICD-10 list searched by a three-letter prefix among the
/// generated 10,000 codes of each.
QList<BenchPath> caseRatePaths(BenchSession &s);

/// One signed operation's record opened and saved again, as the OR record window does it.
QList<BenchPath> orRecordPaths(BenchSession &s);

/// The long stay's patient profile opened to its vital signs, and its result and request
/// status tabs each read as it is first shown.
QList<BenchPath> profilePaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

/// The receivable window's search of billed admissions by the common last-name prefix.
QList<BenchPath> receivablePaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

/// Saving a walk-in's assessment of twenty lines with its number and slip buffer.
QList<BenchPath> assessmentPaths(BenchSession &s);

/// Ten laboratory exams sent from the inpatient stay's profile.
QList<BenchPath> examRequestPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

} // namespace kestrel::bench
