// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QString>
#include <QStringList>

namespace kestrel {

class Database;

/// The read-only lists of the patient profile's tabs, each read from the hospital database
/// when its tab is first shown.
class ProfileLists
{
public:
    explicit ProfileLists(Database &db)
        : m_db(db)
    {
    }

    /// The laboratory section a section code belongs to, as the results tab heads it.
    static QString laboratorySection(const QString &sectionId);
    /// The laboratory results of the stay, section by section, released results first by
    /// date: "Section", "Trans. No", "Exam. Name", "Trans. Date", "Result Date", "Result",
    /// "Unit", "Normal Values", "Flag". A test not yet released has no result date.
    Result<RowSet> laboratoryResults(const QString &idNum) const;

    /// The station reports the nurse may run: "ReportType", "", "Report Name".
    Result<RowSet> stationReports() const;

private:
    Database &m_db;
};

} // namespace kestrel
