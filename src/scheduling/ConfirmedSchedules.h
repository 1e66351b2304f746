// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"
#include "scheduling/ScheduleBoard.h"

#include <QObject>

namespace kestrel {

class MainWindowCommands;
class ReportService;

/// The rules of `frmScheduleRequestStatus`, "List of Confirmed Schedules": the confirmed
/// operations of a day found by name, admission or hospital number, their confirmation slips,
/// revoking them, and editing them (the edit window for admitted patients, the window's own
/// panel for patients booked before admission).
class ConfirmedSchedules : public QObject
{
    Q_OBJECT

public:
    using SaveOutcome = ScheduleBoard::SaveOutcome;

    ConfirmedSchedules(Session &session, MainWindowCommands *menu, QObject *parent = nullptr);

    /// "Last name", "Adm #", "Hospital #".
    static QStringList searchKinds();
    /// The procedure's search kind of a "Search By:" text: 1, 2 or 3 (1 for anything else).
    static int searchKind(const QString &byText);

    /// The filter date the window opens on: the server's date.
    QDate today() const;
    bool search(const QString &byText, const QString &text, const QDate &day);
    /// Searches again with the last criteria.
    bool searchAgain();
    const RowSet &rows() const { return m_rows; }
    /// "Rec. No.": the position of `row` ("3  out of  7"); empty with no rows.
    QString position(int row) const;

    /// "Print Confirmation Slip" of `row`.
    bool print(int row, ReportService *reports);
    /// "Revoke" of `row` (-1 when none is chosen).
    SaveOutcome revoke(int row);

    /// Whether `row` was booked before the patient's admission (edited in the window's own
    /// panel).
    bool bookedBeforeAdmission(int row) const;
    /// "Edit" of an admitted patient's schedule: the edit window, through the main window.
    void openEdit(int row);
    /// The panel of a schedule booked before admission, filled from the one-schedule list.
    ToBeAdmittedBooking toBeAdmitted(int row);
    /// "Save" of that panel: the board's rules with the confirmed list's texts.
    SaveOutcome saveToBeAdmitted(const ToBeAdmittedBooking &b);
    /// The board's rules and statements the edit panel shares.
    ScheduleBoard &board() { return m_board; }

Q_SIGNALS:
    void rowsChanged();

private:
    bool failed(const Error &error);

    Session &m_session;
    MainWindowCommands *m_menu;
    ScheduleBoard m_board;
    RowSet m_rows;
    QString m_byText;
    QString m_text;
    QDate m_day;
};

} // namespace kestrel
