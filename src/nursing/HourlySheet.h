// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "nursing/NursingSheets.h"

#include <QStringList>

namespace kestrel {

class ReportService;
class Session;

namespace nursing {

/// "Hourly Monitoring Sheet": a stay's intake and output hour by hour, one sheet per day.
/// "&Save/Print" replaces the day's rows and prints them; "&Delete" removes one day.
class HourlySheet
{
public:
    /// The grid's columns as the window shows them: TIME, the eight amounts, Remarks.
    static constexpr int kCellCount = HourlyRow::AmountCount + 2;
    static constexpr int kLongestRemark = 1000;

    HourlySheet(Session &session, ReportService *reports);

    /// Opens the stay's sheet of today (the server's date).
    bool open(const CurrentPatientRecord &stay);
    const CurrentPatientRecord &stay() const { return m_stay; }
    QDate today() const { return m_today; }
    QDate date() const { return m_date; }
    /// Shows the sheet of `day`; a day after today is refused with a message.
    bool setDate(const QDate &day);
    /// The days the stay has a sheet for.
    const QList<QDate> &savedDays() const { return m_days; }

    const QList<HourlyRow> &rows() const { return m_rows; }
    /// Takes the grid as typed, one list of kCellCount texts per row; blank rows are left out.
    /// Answers why it cannot be saved as typed (an amount that is no whole number of cc, a
    /// remark too long), or nullopt.
    std::optional<QString> setCells(const QList<QStringList> &cells);
    bool isChanged() const { return m_changed; }

    /// "&Save/Print".
    bool saveAndPrint();
    /// "&Delete": the shown day's sheet, after the question.
    bool deleteDay();
    bool print();
    /// The window asks to close; false keeps it open.
    bool closeRequested();

private:
    bool refuseWithoutPatient() const;
    bool load();
    QString dayText() const;

    Session &m_session;
    ReportService *m_reports;
    SheetStore m_store;
    CurrentPatientRecord m_stay;
    QDate m_today;
    QDate m_date;
    QList<QDate> m_days;
    QList<HourlyRow> m_rows;
    std::optional<QString> m_refusal;
    bool m_changed = false;
};

} // namespace nursing
} // namespace kestrel
