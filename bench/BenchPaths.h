// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchPath.h"
#include "BenchSeams.h"

#include "hospitaldb/ScaleHospital.h"

namespace kestrel::bench {

/// The patient list searched by a last-name prefix, a hospital number and an admission
/// number, and the selection of a stay.
QList<BenchPath> patientPaths(BenchSession &s, const hospitaldb::ScaleLandmarks &landmarks);

/// Pricing a line of each kind, posting a batch of twenty lines and loading the posted list
/// of a long stay. The items are picked from the hospital's master files first.
Result<QList<BenchPath>> chargingPaths(BenchSession &s,
                                       const hospitaldb::ScaleLandmarks &landmarks);

/// The detailed income report of about 5,000 OR lines, exported to a PDF in `scratchFolder`.
Result<BenchPath> reportPath(BenchSession &s, const QString &reportsFolder,
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

} // namespace kestrel::bench
