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

/// The read-only lists of the patient profile's tabs, each read from the hospital database
/// when its tab is first shown.
class ProfileLists
{
public:
    /// How a department's result list is laid out.
    enum class ResultLayout {
        Radiology, ///< number, exam, dates, the reader's three names, the interpretation
        Pulmonary, ///< as radiology, and the form
        Heart,     ///< number, exam, dates, form, attending doctor, cardiologist
        Rehab,     ///< reference and request numbers, exam, result date, result, evaluation
        Neurology, ///< exam number, exam, date, charge slip, request, section, file number
    };

    /// One result tab of a diagnostic department other than the laboratory.
    struct ResultTab
    {
        QString caption;
        /// The department's code in the results ("XR", "HS", ...).
        QString department;
        /// The procedure that lists the stay's examinations.
        QString procedure;
        ResultLayout layout;
        /// The text box that shows the reading of the chosen row.
        QString interpretationBox;
        QString gridName;
    };

    /// A department's results: the grid's rows, and for each the reading the tab's text box
    /// shows when the row is chosen.
    struct ResultList
    {
        RowSet rows;
        QStringList readings;
        /// Columns at the end that the grid keeps hidden.
        int hiddenColumns = 0;
    };

    /// One operation of the stay on the schedule calendar.
    struct Operation
    {
        QDateTime start;
        int minutes = 0;
        QString room, procedure, category, status;
    };

    /// The result tabs after the laboratory's, in the window's order.
    static const QList<ResultTab> &resultTabs();
    /// The examinations of the stay in one department, oldest first; revoked ones left out.
    /// A result not yet released has no result date, one not yet read an empty reading.
    Result<ResultList> departmentResults(const ResultTab &tab, const QString &idNum) const;

    /// The stay's operations, booked or asked for, by start; revoked ones left out.
    Result<QList<Operation>> stayOperations(const QString &idNum) const;
    /// The operating rooms' day on `day`: "Time" (the hour as "h:00:00 AM"), "Room",
    /// "Procedure", "Category", "Minutes", "TransNum".
    Result<RowSet> daySchedule(const QDate &day) const;

    /// Every request of the stay, to every department, by the time it was sent: "ITEM
    /// DESCRIPTION", "DEPT", "REQUEST DATE/TIME", "Code", "REQUESTED BY", "PROCESS DATE/TIME",
    /// "PROCESSED BY", "RESULT DATE/TIME", "RESULT BY", "REMARKS".
    Result<RowSet> requestStatus(const QString &idNum) const;

    /// The exams the panel of common exams offers for `list` ("STATION..LaboratoryExams" and
    /// its twins): "Code", "Exam".
    Result<RowSet> commonExams(const QString &procedure) const;

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
