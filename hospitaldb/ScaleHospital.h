// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QString>

#include <functional>

namespace kestrel::hospitaldb {

/// How big the generated hospital is.
struct ScaleSize
{
    qint64 patients = 500'000;
    qint64 stays = 1'000'000;
    /// Charges the stations posted (the nurse logbook).
    qint64 logbookLines = 10'000'000;
    /// Charges on billing's ledgers, inpatient and outpatient together.
    qint64 billLines = 20'000'000;
    qint64 orCases = 80'000;
    /// How far back the stays go.
    int years = 5;

    /// A hospital of five years: half a million patients, thirty million charge lines.
    static ScaleSize hospital() { return {}; }
    /// A tenth of that, for quick runs.
    static ScaleSize small();
};

/// Rows the generator has written so far of one step; `step` names it for a progress line.
using ScaleProgress = std::function<void(const QString &step, qint64 done, qint64 total)>;

/// Fills an empty database with the demo hospital (its doctors, rooms, items, rates, users
/// and settings) and then the patients, stays, charges and operations of a hospital of `size`,
/// up to `today`. The same size and day give the same rows on both backends. The big tables'
/// indexes are dropped while they load and built again after, and the tables are analysed.
Result<void> createScaleHospital(Database &db, const QDate &today, const ScaleSize &size,
                                 const ScaleProgress &progress = {});

/// Stays and names a benchmark can rely on in a generated hospital.
struct ScaleLandmarks
{
    /// Three letters that begin many patients' last names.
    QString commonPrefix;
    /// A patient with several stays.
    QString hospNum;
    /// An inpatient stay still in the hospital, with its patient.
    QString inpatientIdNum;
    QString inpatientHospNum;
    /// An inpatient still in the hospital with 500 lines posted by the OR.
    QString longStayIdNum;
    QString longStayHospNum;
    /// The first operation of the busy day, eight days after the hospital was made: twelve
    /// OR rooms with five confirmed operations each, back to back.
    QString busyDayTransNum;
    /// The busy day and the OR room of that operation, read from the hospital (the
    /// generator's day is the day it ran).
    QDate busyDay;
    int busyRoomId = 0;
};

ScaleLandmarks scaleLandmarks(const ScaleSize &size);

} // namespace kestrel::hospitaldb
