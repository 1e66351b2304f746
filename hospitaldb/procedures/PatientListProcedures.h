// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QString>

namespace kestrel::hospitaldb {

/// What the OR's patient list asks for: the kind of stay ("A" inpatients, "O" outpatients,
/// "E" ER visits) and one of the three typed criteria; with dates, only the stays admitted on
/// those days.
struct PatientListQuery
{
    QString type;
    QString lastName;
    QString hospNum;
    QString idNum;
    QDate admittedFrom; ///< invalid: no date range
    QDate admittedTo;
    /// A page of the list: `limit` rows (0: all of them) after the first `offset`.
    int offset = 0;
    int limit = 0;
};

/// The statement that reads the stays of the list, with its bound values. The rows carry the
/// patient's hospital number, the stay's number, the name parts, the three dates and the
/// cash-basis flag and reason.
struct PatientListStatement
{
    QString sql;
    Binds binds;
};
/// With `rangeIsExact` (the database orders text by code point) a last name is found by its
/// range alone, which lets PostgreSQL estimate the rows and read the first page in name order
/// from the index; otherwise a LIKE checks every name in the range.
PatientListStatement patientListStatement(const PatientListQuery &query, bool rangeIsExact = false);

} // namespace kestrel::hospitaldb
