// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class Database;
class ReportService;

/// The heart station's result viewer (`clsHeartViewer`): the report of one heart station
/// examination, chosen by the form the heart station reported it on.
class HeartViewer
{
public:
    HeartViewer(Database &db, ReportService *reports)
        : m_db(db)
        , m_reports(reports)
    {
    }

    /// The title of the report of the heart station's form `formType`; empty for a form
    /// the heart station has no report of.
    static QString reportTitle(const QString &formType);

    /// Shows the result of the heart station request `requestNum` (or of the heart station's
    /// examination of that number) in the report viewer. False when there is no such result,
    /// or its form has no report.
    bool ViewHeartResult(const QString &requestNum);

private:
    Database &m_db;
    ReportService *m_reports;
};

} // namespace kestrel
