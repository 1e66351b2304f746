// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace kestrel {

class Database;

/// The laboratory results of a stay as a table: the examinations down the side, section by
/// section, their normal values, and one column per day results were released.
struct LabTable
{
    QStringList headers;
    /// Each row's cells, as many as headers; a section heading row has only its first cell.
    QList<QStringList> rows;
    QList<bool> sectionRow;
    int dateColumns = 0;
};

/// The tabular laboratory view (`clsLaboratoryTabularFormat`): the results of the stay
/// `AdmissionNumber`, or of the one examination `LabExamID` when it is set.
class LabTabular
{
public:
    explicit LabTabular(Database &db)
        : m_db(db)
    {
    }

    QString AdmissionNumber;
    QString LabExamID;

    /// Reads the stay's results and lays them out.
    Result<LabTable> load() const;

    /// Lays out `results` (Section, Exam, NormalValue, Resultdate, result, LabExamID) under
    /// `maxCol` date columns from `startDate` on, dates ascending; a column without a date is
    /// left blank. Only the examination `labExamId` when it is not empty.
    static LabTable layout(int maxCol, const QDate &startDate, const RowSet &results,
                           const QString &labExamId = {});

private:
    Database &m_db;
};

} // namespace kestrel
