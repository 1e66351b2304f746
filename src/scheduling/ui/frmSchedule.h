// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/ScheduleBoard.h"

#include <QWidget>

class QCalendarWidget;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QStackedWidget;
class QTableWidget;
class QTimeEdit;
class QTimer;

namespace kestrel {

class clsCodeLookup;
class DayPlanner;
class ReportService;

/// "Schedule of Operations": the month calendar `MonthView1` and the day planner of the
/// chosen day, with the board's options beside them; each option's panel shows one at a time
/// over the side of the window. F12 shows the day in full screen.
class frmSchedule : public QWidget
{
    Q_OBJECT

public:
    frmSchedule(Session &session, MainWindowCommands *menu, clsCodeLookup *lookup,
                ReportService *reports, QWidget *parent = nullptr);

    ScheduleBoard &presenter() { return m_presenter; }
    DayPlanner *planner() const { return m_planner; }

    /// The patient picker handed over a patient: the booking panel opens for him.
    void bookPatient(const QString &hospNum, const QString &idNum, const QString &name);

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildUi();
    QWidget *buildBookingPanel();
    QWidget *buildAdmittedPanel();
    QWidget *buildDetailsPanel();
    QWidget *buildRoomsPanel();
    QWidget *buildParametersPanel();
    void bind();
    void showRooms();
    void showDay();
    void showPanel(QWidget *panel);
    void showDetails(const PlannerItem &item);
    void startChanged();
    void timesChanged();
    void saveBooking();
    void admittedStartChosen();
    void saveAdmitted();
    void lookUpDoctor(QLineEdit *code, QLabel *name);
    void lookUpProcedure(QLineEdit *code, QLabel *name);
    void lookUpAdmittedDoctor(int codeBox, int nameBox);
    void lookUpAdmittedProcedure();
    AdmittedBooking booking() const;

    ScheduleBoard m_presenter;
    clsCodeLookup *m_lookup;
    ReportService *m_reports;

    QFrame *m_calendarFrame = nullptr;
    QCalendarWidget *m_calendar = nullptr;
    QScrollArea *m_scroll = nullptr;
    DayPlanner *m_planner = nullptr;
    QPushButton *m_request = nullptr;
    QStackedWidget *m_panels = nullptr;
    QWidget *m_empty = nullptr;
    QTimer *m_poll = nullptr;

    // Booking panel of an admitted patient.
    QWidget *m_booking = nullptr;
    QString m_hospNum;
    QString m_idNum;
    QLabel *m_patientName = nullptr;
    QDateEdit *m_date = nullptr;
    QTimeEdit *m_start = nullptr;
    QTimeEdit *m_end = nullptr;
    QLabel *m_length = nullptr;
    QLineEdit *m_procedure = nullptr;
    QLabel *m_procedureName = nullptr;
    QLineEdit *m_surgeon = nullptr;
    QLabel *m_surgeonName = nullptr;
    QLineEdit *m_coSurgeon[3] = {};
    QLabel *m_coSurgeonName[3] = {};
    QLineEdit *m_anes = nullptr;
    QLabel *m_anesName = nullptr;
    QComboBox *m_room = nullptr;
    QLineEdit *m_remarks = nullptr;
    QLineEdit *m_scrubNurse = nullptr;
    QLineEdit *m_circulatingNurse = nullptr;

    // Panel of a patient to be admitted.
    QWidget *m_admitted = nullptr;
    QLineEdit *m_admittedText[7] = {};
    QString m_admittedHospNum;
    QComboBox *m_patientClass = nullptr;
    QRadioButton *m_male = nullptr;
    QRadioButton *m_female = nullptr;
    QLineEdit *m_age = nullptr;
    QComboBox *m_admittedRoom = nullptr;
    QDateEdit *m_admittedDate = nullptr;
    QComboBox *m_startHour = nullptr;
    QComboBox *m_endHour = nullptr;
    QLabel *m_admittedLength = nullptr;

    // Details of a clicked operation.
    QWidget *m_details = nullptr;
    QLabel *m_detailRoom = nullptr;
    QLabel *m_detailDate = nullptr;
    QLabel *m_detailStart = nullptr;
    QLabel *m_detailLength = nullptr;
    QLabel *m_detailText = nullptr;

    // Rooms and parameters.
    QWidget *m_rooms = nullptr;
    QTableWidget *m_roomGrid = nullptr;
    QLineEdit *m_addRoom = nullptr;
    QLineEdit *m_roomName = nullptr;
    QWidget *m_parameters = nullptr;
    QComboBox *m_dayLength = nullptr;
    QComboBox *m_increment = nullptr;
    QLabel *m_currentParameters = nullptr;
};

} // namespace kestrel
