// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/ConfirmedSchedules.h"

#include <QWidget>

class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;
class QTableWidget;

namespace kestrel {

class clsCodeLookup;
class ReportService;

/// "List of Confirmed Schedules": the confirmed operations of the filter date, with their
/// confirmation slips, revocation and editing; the panel "Edit OR Schedule Details" edits a
/// schedule booked before admission.
class frmScheduleRequestStatus : public QWidget
{
    Q_OBJECT

public:
    frmScheduleRequestStatus(Session &session, MainWindowCommands *menu, clsCodeLookup *lookup,
                             ReportService *reports, QWidget *parent = nullptr);

    ConfirmedSchedules &presenter() { return m_presenter; }

private:
    void buildUi();
    QWidget *buildEditPanel();
    void search();
    void showRows();
    int chosenRow() const;
    void edit();
    void startHourChosen();
    void saveEdit();

    ConfirmedSchedules m_presenter;
    clsCodeLookup *m_lookup;
    ReportService *m_reports;
    QComboBox *m_by = nullptr;
    QLineEdit *m_search = nullptr;
    QDateEdit *m_filterDate = nullptr;
    QTableWidget *m_grid = nullptr;
    QLabel *m_position = nullptr;

    QWidget *m_panel = nullptr;
    ToBeAdmittedBooking m_editing;
    QLineEdit *m_text[7] = {};
    QComboBox *m_patientClass = nullptr;
    QRadioButton *m_male = nullptr;
    QRadioButton *m_female = nullptr;
    QLineEdit *m_age = nullptr;
    QComboBox *m_room = nullptr;
    QDateEdit *m_date = nullptr;
    QComboBox *m_startHour = nullptr;
    QComboBox *m_endHour = nullptr;
    QLabel *m_length = nullptr;
};

} // namespace kestrel
