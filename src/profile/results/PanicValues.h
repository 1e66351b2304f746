// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QStringList>

namespace kestrel {

class ReportService;
class Session;

/// "Laboratory Results with Panic Values" (`frmPanicValues`): the released laboratory results
/// of the station's patients that reached a panic value, newest first, each viewable as the
/// laboratory's result form.
class PanicValues
{
public:
    PanicValues(Session &session, ReportService *reports)
        : m_session(session)
        , m_reports(reports)
    {
    }

    /// The grid's columns: "#", "Hospital No.", "Adm. No.", "Lastname", "Firstname",
    /// "Middlename", "Ref. No.", "Exam", "Panic Value", "Result", "Unit", "Result Date".
    static QStringList columns();
    /// The request number's column.
    static constexpr int kRequestColumn = 6;

    /// "&Refresh": reads the list again. False when it cannot be read (the user was told).
    bool load();
    const QList<QStringList> &rows() const { return m_rows; }

    /// "&View Result" or a double click: the result form of the request on `row`, in the
    /// report viewer. False for a row without a request number.
    bool viewResult(int row);

private:
    Session &m_session;
    ReportService *m_reports;
    QList<QStringList> m_rows;
};

} // namespace kestrel
