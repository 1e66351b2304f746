// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/frmSchedule.h"

#include "core/components/clsCodeLookup.h"
#include "core/components/PatientRecords.h"
#include "core/db/Database.h"
#include "core/Session.h"
#include "scheduling/ui/DayPlanner.h"

#include <QCalendarWidget>
#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollArea>
#include <QStackedWidget>
#include <QTableWidget>
#include <QTimeEdit>
#include <QTimer>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QPushButton *button(const QString &name, const QString &text, QWidget *parent = nullptr)
{
    auto *b = new QPushButton(text, parent);
    b->setObjectName(name);
    return b;
}

QLineEdit *edit(const QString &name)
{
    auto *e = new QLineEdit;
    e->setObjectName(name);
    return e;
}

QLabel *label(const QString &name, const QString &text = {})
{
    auto *l = new QLabel(text);
    l->setObjectName(name);
    return l;
}

/// A clearance frame with its two options.
QGroupBox *clearance(const QString &title, const QString &plus, const QString &minus,
                     QLineEdit *text = nullptr)
{
    auto *box = new QGroupBox(title);
    auto *row = new QHBoxLayout(box);
    if (text)
        row->addWidget(text);
    row->addWidget(new QRadioButton(plus));
    row->addWidget(new QRadioButton(minus));
    return box;
}

} // namespace

frmSchedule::frmSchedule(Session &session, MainWindowCommands *menu, clsCodeLookup *lookup,
                         ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, menu)
    , m_lookup(lookup)
    , m_reports(reports)
{
    setObjectName(QStringLiteral("frmSchedule"));
    setWindowTitle(QStringLiteral("Schedule of Operations"));
    buildUi();
    bind();
    m_presenter.open();
    m_poll->start(30000);
}

void frmSchedule::buildUi()
{
    auto *layout = new QHBoxLayout(this);

    m_calendarFrame = new QFrame;
    m_calendarFrame->setObjectName(QStringLiteral("fraCalendar"));
    auto *side = new QVBoxLayout(m_calendarFrame);
    m_calendar = new QCalendarWidget;
    m_calendar->setObjectName(QStringLiteral("MonthView1"));
    side->addWidget(m_calendar);
    for (const auto &[name, text] :
         {std::pair{"optSchedule(0)", "Schedule Admitted Patients"},
          std::pair{"optSchedule(1)", "OR Schedule Entry (To be admitted)"},
          std::pair{"optSchedule(2)", "Build OR Rooms"},
          std::pair{"optSchedule(3)", "Set Schedule Parameters"},
          std::pair{"optSchedule(4)", "Print Selected Schedule"},
          std::pair{"optSchedule(5)", "View Confirmed Operations"}})
        side->addWidget(button(QString::fromLatin1(name), QString::fromLatin1(text)));
    m_request = button(QStringLiteral("cmdRequest"), QStringLiteral("Pending Requests"));
    m_request->hide();
    side->addWidget(m_request);
    m_panels = new QStackedWidget;
    m_panels->setObjectName(QStringLiteral("fraPanels"));
    m_empty = new QWidget;
    m_panels->addWidget(m_empty);
    m_booking = buildBookingPanel();
    m_admitted = buildAdmittedPanel();
    m_details = buildDetailsPanel();
    m_rooms = buildRoomsPanel();
    m_parameters = buildParametersPanel();
    for (QWidget *w : {m_booking, m_admitted, m_details, m_rooms, m_parameters})
        m_panels->addWidget(w);
    side->addWidget(m_panels, 1);
    side->addWidget(
        new QLabel(QStringLiteral("Press F12 to view the schedules of the day in full screen.")));
    layout->addWidget(m_calendarFrame);

    m_planner = new DayPlanner;
    m_scroll = new QScrollArea;
    m_scroll->setObjectName(QStringLiteral("scrSchedule"));
    m_scroll->setWidget(m_planner);
    m_scroll->setWidgetResizable(false);
    layout->addWidget(m_scroll, 1);
    m_poll = new QTimer(this);
    m_poll->setObjectName(QStringLiteral("tmrRequest"));
}

QWidget *frmSchedule::buildBookingPanel()
{
    auto *panel = new QScrollArea;
    panel->setObjectName(QStringLiteral("pctRequest"));
    auto *inner = new QWidget;
    auto *form = new QFormLayout(inner);
    m_patientName = label(QStringLiteral("lblPatientName"));
    form->addRow(m_patientName);
    m_date = new QDateEdit;
    m_date->setObjectName(QStringLiteral("dtpScheduleDate"));
    m_date->setCalendarPopup(true);
    form->addRow(QStringLiteral("Schedule Date"), m_date);
    m_start = new QTimeEdit;
    m_start->setObjectName(QStringLiteral("dtpTime(0)"));
    m_start->setDisplayFormat(QStringLiteral("hh:mm AP"));
    form->addRow(QStringLiteral("Starting Time"), m_start);
    m_end = new QTimeEdit;
    m_end->setObjectName(QStringLiteral("dtpTime(1)"));
    m_end->setDisplayFormat(QStringLiteral("hh:mm AP"));
    form->addRow(QStringLiteral("Ending Time"), m_end);
    m_length = label(QStringLiteral("lblLength"));
    auto *length = new QHBoxLayout;
    length->addWidget(m_length);
    length->addWidget(new QLabel(QStringLiteral("(min)")));
    form->addRow(QStringLiteral("Length / Duration"), length);

    auto codeRow = [&](const QString &caption, const QString &codeName, const QString &buttonName,
                       QLineEdit *&code, QLabel *&name, const QString &nameLabel,
                       const std::function<void()> &look) {
        code = edit(codeName);
        name = label(nameLabel);
        auto *row = new QHBoxLayout;
        row->addWidget(code);
        QPushButton *b = button(buttonName, QStringLiteral("..."));
        connect(b, &QPushButton::clicked, this, look);
        row->addWidget(b);
        form->addRow(caption, row);
        form->addRow(QString(), name);
    };
    codeRow(QStringLiteral("OR Procedure"), QStringLiteral("txtProcedureCode"),
            QStringLiteral("cmdProcedure"), m_procedure, m_procedureName,
            QStringLiteral("lblProcedure"), [this] { lookUpProcedure(m_procedure, m_procedureName); });
    codeRow(QStringLiteral("Surgeon"), QStringLiteral("txtSurgeonID"), QStringLiteral("cmdSurgeon"),
            m_surgeon, m_surgeonName, QStringLiteral("lblSurgeon"),
            [this] { lookUpDoctor(m_surgeon, m_surgeonName); });
    for (int i = 0; i < 3; ++i) {
        codeRow(QStringLiteral("Co-Surgeon"), QStringLiteral("txtSurgeonID%1").arg(i + 1),
                QStringLiteral("cmdCoSurgeon%1").arg(i + 1), m_coSurgeon[i], m_coSurgeonName[i],
                QStringLiteral("lblCoSurgeon%1").arg(i + 1),
                [this, i] { lookUpDoctor(m_coSurgeon[i], m_coSurgeonName[i]); });
    }
    codeRow(QStringLiteral("Anesthesiologist"), QStringLiteral("txtAnesthesiologistID"),
            QStringLiteral("cmdAnesthesiologist"), m_anes, m_anesName,
            QStringLiteral("lblAnesthesiologist"), [this] { lookUpDoctor(m_anes, m_anesName); });
    m_room = new QComboBox;
    m_room->setObjectName(QStringLiteral("cboRequestRoom"));
    form->addRow(QStringLiteral("OR Room"), m_room);
    form->addRow(clearance(QStringLiteral("CP/P Clearance"), QStringLiteral("CP/P ( + )"),
                           QStringLiteral("CP/P ( - )")));
    form->addRow(clearance(QStringLiteral("CON Clearance"), QStringLiteral("CON ( + )"),
                           QStringLiteral("CON ( - )")));
    form->addRow(clearance(QStringLiteral("B.O Clearance"), QStringLiteral("BO ( + )"),
                           QStringLiteral("BO ( - )"), edit(QStringLiteral("txtBO"))));
    form->addRow(clearance(QStringLiteral("Blood Clearance"), QStringLiteral("BLOOD ( + )"),
                           QStringLiteral("BLOOD ( - )"), edit(QStringLiteral("txtBlood"))));
    m_remarks = edit(QStringLiteral("txtRemarks"));
    form->addRow(QStringLiteral("Remarks"), m_remarks);
    m_scrubNurse = edit(QStringLiteral("txtSNurse"));
    m_circulatingNurse = edit(QStringLiteral("txtCNurse"));
    form->addRow(QStringLiteral("S. Nurse"), m_scrubNurse);
    form->addRow(QStringLiteral("C. Nurse"), m_circulatingNurse);
    auto *buttons = new QHBoxLayout;
    QPushButton *save = button(QStringLiteral("cmdRequestOption(0)"), QStringLiteral("&Save"));
    QPushButton *cancel = button(QStringLiteral("cmdRequestOption(1)"), QStringLiteral("&Cancel"));
    connect(save, &QPushButton::clicked, this, &frmSchedule::saveBooking);
    connect(cancel, &QPushButton::clicked, this, [this] { showPanel(m_empty); });
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    panel->setWidget(inner);
    panel->setWidgetResizable(true);
    return panel;
}

QWidget *frmSchedule::buildAdmittedPanel()
{
    auto *panel = new QScrollArea;
    panel->setObjectName(QStringLiteral("pctAdmitted"));
    auto *inner = new QWidget;
    auto *form = new QFormLayout(inner);
    for (int i = 0; i < 7; ++i)
        m_admittedText[i] = edit(QStringLiteral("txtAdmitted(%1)").arg(i));
    auto *name = new QHBoxLayout;
    name->addWidget(m_admittedText[0]);
    QPushButton *find = button(QStringLiteral("Command1"), QStringLiteral("..."));
    name->addWidget(find);
    form->addRow(QStringLiteral("Patient Name"), name);
    m_patientClass = new QComboBox;
    m_patientClass->setObjectName(QStringLiteral("cboPatientClass"));
    form->addRow(QStringLiteral("Patient Class"), m_patientClass);
    m_male = new QRadioButton(QStringLiteral("Male"));
    m_male->setObjectName(QStringLiteral("optSex(0)"));
    m_male->setChecked(true);
    m_female = new QRadioButton(QStringLiteral("Female"));
    m_female->setObjectName(QStringLiteral("optSex(1)"));
    auto *sex = new QHBoxLayout;
    sex->addWidget(m_male);
    sex->addWidget(m_female);
    form->addRow(QStringLiteral("Sex:"), sex);
    m_age = edit(QStringLiteral("txtAge"));
    form->addRow(QStringLiteral("Age:"), m_age);
    m_admittedRoom = new QComboBox;
    m_admittedRoom->setObjectName(QStringLiteral("cboAdmitted"));
    form->addRow(QStringLiteral("OR Room"), m_admittedRoom);
    m_admittedDate = new QDateEdit;
    m_admittedDate->setObjectName(QStringLiteral("dtpAdmitted"));
    m_admittedDate->setCalendarPopup(true);
    form->addRow(QStringLiteral("Schedule Date"), m_admittedDate);
    m_startHour = new QComboBox;
    m_startHour->setObjectName(QStringLiteral("cboStartTime(0)"));
    m_startHour->addItems(ScheduleBoard::startHours());
    m_endHour = new QComboBox;
    m_endHour->setObjectName(QStringLiteral("cboStartTime(1)"));
    m_endHour->addItems(ScheduleBoard::endHours());
    form->addRow(QStringLiteral("Starting Time"), m_startHour);
    form->addRow(QStringLiteral("Ending Time"), m_endHour);
    m_admittedLength = label(QStringLiteral("lblAdmittedLength"));
    form->addRow(QStringLiteral("Length/Duration"), m_admittedLength);
    auto lookupRow = [&](const QString &caption, int code, int nameBox, const QString &buttonName,
                         const std::function<void()> &look) {
        auto *row = new QHBoxLayout;
        row->addWidget(m_admittedText[code]);
        row->addWidget(m_admittedText[nameBox], 2);
        QPushButton *b = button(buttonName, QStringLiteral("..."));
        connect(b, &QPushButton::clicked, this, look);
        connect(m_admittedText[nameBox], &QLineEdit::returnPressed, this, look);
        row->addWidget(b);
        form->addRow(caption, row);
    };
    lookupRow(QStringLiteral("OR Procedure"), 1, 2, QStringLiteral("cmdProc"),
              [this] { lookUpAdmittedProcedure(); });
    lookupRow(QStringLiteral("Surgeon"), 3, 4, QStringLiteral("cmdDoctor1"),
              [this] { lookUpAdmittedDoctor(3, 4); });
    lookupRow(QStringLiteral("Anesthesiologist"), 5, 6, QStringLiteral("cmdDoctor2"),
              [this] { lookUpAdmittedDoctor(5, 6); });
    auto *buttons = new QHBoxLayout;
    QPushButton *save = button(QStringLiteral("cmdAdmittedOption(0)"), QStringLiteral("&Save"));
    QPushButton *cancel = button(QStringLiteral("cmdAdmittedOption(1)"), QStringLiteral("&Cancel"));
    connect(save, &QPushButton::clicked, this, &frmSchedule::saveAdmitted);
    connect(cancel, &QPushButton::clicked, this, [this] { showPanel(m_empty); });
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(find, &QPushButton::clicked, this, [this] {
        // A hospital number typed in the name box is looked up in the patient master.
        auto patient = m_presenter.store().patient(m_admittedText[0]->text());
        if (!patient || patient->name.isEmpty())
            return;
        m_admittedHospNum = m_admittedText[0]->text().trimmed();
        m_admittedText[0]->setText(patient->name);
        (patient->sex == u"F" ? m_female : m_male)->setChecked(true);
    });
    panel->setWidget(inner);
    panel->setWidgetResizable(true);
    return panel;
}

QWidget *frmSchedule::buildDetailsPanel()
{
    auto *panel = new QGroupBox(QStringLiteral("Scheduled Details"));
    panel->setObjectName(QStringLiteral("fraDetails"));
    auto *form = new QFormLayout(panel);
    m_detailRoom = label(QStringLiteral("lblDetailRoom"));
    m_detailDate = label(QStringLiteral("lblDetailDate"));
    m_detailStart = label(QStringLiteral("lblDetailStart"));
    m_detailLength = label(QStringLiteral("lblDetailLength"));
    m_detailText = label(QStringLiteral("lblDetailText"));
    m_detailText->setWordWrap(true);
    form->addRow(QStringLiteral("Room"), m_detailRoom);
    form->addRow(QStringLiteral("Schedule Date"), m_detailDate);
    form->addRow(QStringLiteral("Starting Time"), m_detailStart);
    form->addRow(QStringLiteral("Length"), m_detailLength);
    form->addRow(QStringLiteral("Details"), m_detailText);
    auto *options = new QHBoxLayout;
    options->addWidget(new QRadioButton(QStringLiteral("Confirm")));
    options->addWidget(new QRadioButton(QStringLiteral("Revoke")));
    form->addRow(options);
    QPushButton *close = button(QStringLiteral("cmdDetails"), QStringLiteral("&Close"));
    connect(close, &QPushButton::clicked, this, [this] { showPanel(m_empty); });
    form->addRow(close);
    return panel;
}

QWidget *frmSchedule::buildRoomsPanel()
{
    auto *panel = new QGroupBox(QStringLiteral("List of OR Rooms"));
    panel->setObjectName(QStringLiteral("fraORRooms"));
    auto *box = new QVBoxLayout(panel);
    m_roomGrid = new QTableWidget(0, 3);
    m_roomGrid->setObjectName(QStringLiteral("mshflexORRoom"));
    m_roomGrid->setHorizontalHeaderLabels({QString(), QStringLiteral("Room ID"),
                                           QStringLiteral("Room Name")});
    for (const auto &[column, twips] : {std::pair{0, 1}, std::pair{1, 1000}, std::pair{2, 2300}})
        m_roomGrid->setColumnWidth(column, std::max(1, twips / 15));
    m_roomGrid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_roomGrid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    box->addWidget(m_roomGrid);
    box->addWidget(new QLabel(QStringLiteral("Enter the Name of the Room")));
    m_addRoom = edit(QStringLiteral("txtAddRoom"));
    box->addWidget(m_addRoom);
    box->addWidget(new QLabel(QStringLiteral("Enter the New Name of the Room")));
    m_roomName = edit(QStringLiteral("txtRoomName"));
    box->addWidget(m_roomName);
    auto *buttons = new QHBoxLayout;
    QPushButton *add = button(QStringLiteral("cmdAction(0)"), QStringLiteral("&Add"));
    QPushButton *rename = button(QStringLiteral("cmdAction(1)"), QStringLiteral("&Rename"));
    QPushButton *remove = button(QStringLiteral("cmdAction(2)"), QStringLiteral("Re&move"));
    remove->setEnabled(false); // rooms are removed in "Build OR Rooms"
    QPushButton *cancel = button(QStringLiteral("cmdAction(3)"), QStringLiteral("&Cancel"));
    for (QPushButton *b : {add, rename, remove, cancel})
        buttons->addWidget(b);
    box->addLayout(buttons);
    connect(add, &QPushButton::clicked, this, [this] {
        if (m_presenter.addRoom(m_addRoom->text()) == ScheduleBoard::SaveOutcome::Saved)
            m_addRoom->clear();
    });
    connect(rename, &QPushButton::clicked, this, [this] {
        const int row = m_roomGrid->currentRow();
        if (row < 0)
            return;
        m_presenter.renameRoom(m_roomGrid->item(row, 1)->text().toInt(), m_roomName->text());
    });
    connect(m_roomGrid, &QTableWidget::currentCellChanged, this, [this](int row) {
        if (row >= 0 && m_roomGrid->item(row, 2))
            m_roomName->setText(m_roomGrid->item(row, 2)->text());
    });
    connect(cancel, &QPushButton::clicked, this, [this] { showPanel(m_empty); });
    return panel;
}

QWidget *frmSchedule::buildParametersPanel()
{
    auto *panel = new QGroupBox(QStringLiteral("Set Schedule Parameters"));
    panel->setObjectName(QStringLiteral("fraParameters"));
    auto *form = new QFormLayout(panel);
    m_currentParameters = label(QStringLiteral("lblParameters"));
    form->addRow(m_currentParameters);
    m_dayLength = new QComboBox;
    m_dayLength->setObjectName(QStringLiteral("cboDayLength"));
    m_dayLength->addItems(ScheduleBoard::dayLengthChoices());
    m_increment = new QComboBox;
    m_increment->setObjectName(QStringLiteral("cboIncrement"));
    m_increment->addItems(ScheduleBoard::incrementChoices());
    form->addRow(QStringLiteral("Day Length"), m_dayLength);
    form->addRow(QStringLiteral("Increment"), m_increment);
    QPushButton *save = button(QStringLiteral("cmdParameters"), QStringLiteral("&Save"));
    connect(save, &QPushButton::clicked, this, [this] {
        if (m_presenter.saveParameters(m_dayLength->currentText(), m_increment->currentText()) ==
            ScheduleBoard::SaveOutcome::Saved)
            showPanel(m_empty);
    });
    form->addRow(save);
    return panel;
}

void frmSchedule::bind()
{
    connect(&m_presenter, &ScheduleBoard::roomsChanged, this, &frmSchedule::showRooms);
    connect(&m_presenter, &ScheduleBoard::dayChanged, this, &frmSchedule::showDay);
    connect(&m_presenter, &ScheduleBoard::requestsChanged, m_request, &QWidget::setVisible);
    connect(m_calendar, &QCalendarWidget::clicked, this,
            [this](const QDate &day) { m_presenter.showDay(day, true); });
    connect(m_planner, &DayPlanner::itemClicked, this, &frmSchedule::showDetails);
    connect(m_start, &QTimeEdit::timeChanged, this, &frmSchedule::startChanged);
    connect(m_end, &QTimeEdit::timeChanged, this, &frmSchedule::timesChanged);
    connect(m_startHour, &QComboBox::activated, this, &frmSchedule::admittedStartChosen);
    connect(m_endHour, &QComboBox::activated, this, [this] {
        m_admittedLength->setText(QString::number(
            ScheduleBoard::hourMinutes(m_startHour->currentText(), m_endHour->currentText())));
    });
    connect(m_poll, &QTimer::timeout, &m_presenter, &ScheduleBoard::pollRequests);
    connect(m_request, &QPushButton::clicked, &m_presenter, &ScheduleBoard::openRequests);
    auto option = [this](int i) { return findChild<QPushButton *>(QStringLiteral("optSchedule(%1)").arg(i)); };
    connect(option(0), &QPushButton::clicked, &m_presenter, &ScheduleBoard::openPatientPicker);
    connect(option(1), &QPushButton::clicked, this, [this] {
        for (QLineEdit *e : m_admittedText)
            e->clear();
        m_admittedHospNum.clear();
        m_age->clear();
        m_patientClass->clear();
        if (auto classes = m_presenter.store().patientClasses())
            m_patientClass->addItems(*classes);
        m_admittedDate->setDate(m_presenter.day());
        showPanel(m_admitted);
    });
    connect(option(2), &QPushButton::clicked, this, [this] { showPanel(m_rooms); });
    connect(option(3), &QPushButton::clicked, this, [this] {
        const BoardParameters p = m_presenter.parameters();
        m_currentParameters->setText(ScheduleBoard::dayLengthText(p.dayLength) + QStringLiteral(", ") +
                                     ScheduleBoard::incrementText(p.increment));
        m_dayLength->setCurrentText(ScheduleBoard::dayLengthText(p.dayLength));
        m_increment->setCurrentText(ScheduleBoard::incrementText(p.increment));
        showPanel(m_parameters);
    });
    connect(option(4), &QPushButton::clicked, this, [this] { m_presenter.print(m_reports); });
    connect(option(5), &QPushButton::clicked, &m_presenter, &ScheduleBoard::openConfirmed);
    // The nurses are named on the board only where the hospital wants them.
    m_scrubNurse->setEnabled(m_presenter.showsNurses());
    m_circulatingNurse->setEnabled(m_presenter.showsNurses());
}

void frmSchedule::showRooms()
{
    const QStringList rooms = m_presenter.roomNames();
    m_planner->setRooms(rooms);
    m_planner->setParameters(m_presenter.parameters());
    for (QComboBox *combo : {m_room, m_admittedRoom}) {
        combo->clear();
        combo->addItem(QString());
        combo->addItems(rooms);
    }
    const RowSet &rows = m_presenter.roomRows();
    m_roomGrid->setRowCount(int(rows.count()));
    for (int r = 0; r < rows.count(); ++r) {
        m_roomGrid->setItem(r, 1, new QTableWidgetItem(rows.at(r).trimmed(u"RoomID")));
        m_roomGrid->setItem(r, 2, new QTableWidgetItem(rows.at(r).trimmed(u"Room Name")));
    }
}

void frmSchedule::showDay()
{
    m_planner->clearItems();
    m_planner->setDay(m_presenter.day());
    m_planner->setItems(m_presenter.items());
    if (m_calendar->selectedDate() != m_presenter.day())
        m_calendar->setSelectedDate(m_presenter.day());
}

void frmSchedule::showPanel(QWidget *panel)
{
    m_panels->setCurrentWidget(panel);
}

void frmSchedule::showDetails(const PlannerItem &item)
{
    m_detailRoom->setText(item.room);
    m_detailDate->setText(item.start.toString(QStringLiteral("MM/dd/yyyy")));
    m_detailStart->setText(item.start.toString(QStringLiteral("hh:mm AP")));
    m_detailLength->setText(QString::number(item.length));
    m_detailText->setText(item.text);
    showPanel(m_details);
}

void frmSchedule::bookPatient(const QString &hospNum, const QString &idNum, const QString &name)
{
    m_hospNum = hospNum.trimmed();
    m_idNum = idNum.trimmed();
    m_patientName->setText(name);
    for (QLineEdit *e : {m_procedure, m_surgeon, m_anes, m_remarks, m_coSurgeon[0], m_coSurgeon[1],
                         m_coSurgeon[2]})
        e->clear();
    for (QLabel *l : {m_procedureName, m_surgeonName, m_anesName, m_coSurgeonName[0],
                      m_coSurgeonName[1], m_coSurgeonName[2]})
        l->clear();
    m_date->setDate(m_presenter.day());
    m_start->setTime(QTime(m_presenter.parameters().startHour, 0));
    startChanged();
    showPanel(m_booking);
}

void frmSchedule::startChanged()
{
    const QSignalBlocker quiet(m_end);
    m_end->setTime(m_presenter.defaultEnd(m_start->time()));
    timesChanged();
}

void frmSchedule::timesChanged()
{
    if (m_presenter.checkTimes(m_start->time(), m_end->time()))
        m_length->setText(QString::number(ScheduleBoard::lengthMinutes(
            QDateTime(m_date->date(), m_start->time()), QDateTime(m_date->date(), m_end->time()))));
}

AdmittedBooking frmSchedule::booking() const
{
    AdmittedBooking b;
    b.hospNum = m_hospNum;
    b.idNum = m_idNum;
    b.patientName = m_patientName->text();
    b.date = m_date->date();
    b.start = m_start->time();
    b.end = m_end->time();
    b.procedureCode = m_procedure->text();
    b.procedureDesc = m_procedureName->text();
    b.surgeonId = m_surgeon->text();
    b.surgeonName = m_surgeonName->text();
    for (int i = 0; i < 3; ++i)
        b.coSurgeonIds[std::size_t(i)] = m_coSurgeon[i]->text();
    b.anesthesiologistId = m_anes->text();
    b.anesthesiologistName = m_anesName->text();
    b.room = m_room->currentText();
    b.remarks = m_remarks->text();
    b.scrubNurse = m_scrubNurse->text();
    b.circulatingNurse = m_circulatingNurse->text();
    return b;
}

void frmSchedule::saveBooking()
{
    if (m_presenter.saveAdmitted(booking()) == ScheduleBoard::SaveOutcome::Saved)
        showPanel(m_empty);
}

void frmSchedule::admittedStartChosen()
{
    m_endHour->setCurrentText(m_presenter.endHourFor(m_startHour->currentText()));
    m_admittedLength->setText(QString::number(
        ScheduleBoard::hourMinutes(m_startHour->currentText(), m_endHour->currentText())));
}

void frmSchedule::saveAdmitted()
{
    ToBeAdmittedBooking b;
    b.patientName = m_admittedText[0]->text();
    b.hospNum = m_admittedHospNum;
    b.patientClass = m_patientClass->currentText();
    b.sex = m_female->isChecked() ? QStringLiteral("F") : QStringLiteral("M");
    b.age = m_age->text().trimmed();
    b.room = m_admittedRoom->currentText();
    b.date = m_admittedDate->date();
    b.startHour = m_startHour->currentText();
    b.endHour = m_endHour->currentText();
    b.procedureCode = m_admittedText[1]->text();
    b.procedureDesc = m_admittedText[2]->text();
    b.surgeonCode = m_admittedText[3]->text();
    b.surgeonName = m_admittedText[4]->text();
    b.anesthesiologistCode = m_admittedText[5]->text();
    b.anesthesiologistName = m_admittedText[6]->text();
    if (m_presenter.saveToBeAdmitted(b) == ScheduleBoard::SaveOutcome::Saved)
        showPanel(m_empty);
}

void frmSchedule::lookUpDoctor(QLineEdit *code, QLabel *name)
{
    if (!m_lookup || !m_lookup->SearchListing(1, code->text().trimmed()))
        return;
    const DoctorRecord &d = m_lookup->DoctorRecord();
    code->setText(d.ResultCode);
    name->setText(completeName(d.LastName, d.FirstName, d.MiddleName));
}

void frmSchedule::lookUpProcedure(QLineEdit *code, QLabel *name)
{
    if (!m_lookup)
        return;
    m_lookup->setOtherSectionID(QStringLiteral("OR"));
    if (!m_lookup->SearchListing(21, code->text().trimmed()))
        return;
    code->setText(m_lookup->OtherRevenueRecord().ResultCode);
    name->setText(m_lookup->OtherRevenueRecord().OtherRevenue);
}

void frmSchedule::lookUpAdmittedDoctor(int codeBox, int nameBox)
{
    if (!m_lookup || !m_lookup->SearchListing(1, m_admittedText[nameBox]->text().trimmed()))
        return;
    const DoctorRecord &d = m_lookup->DoctorRecord();
    m_admittedText[codeBox]->setText(d.ResultCode);
    m_admittedText[nameBox]->setText(completeName(d.LastName, d.FirstName, d.MiddleName));
}

void frmSchedule::lookUpAdmittedProcedure()
{
    if (!m_lookup)
        return;
    m_lookup->setOtherSectionID(QStringLiteral("OR"));
    if (!m_lookup->SearchListing(21, m_admittedText[2]->text().trimmed()))
        return;
    m_admittedText[1]->setText(m_lookup->OtherRevenueRecord().ResultCode);
    m_admittedText[2]->setText(m_lookup->OtherRevenueRecord().OtherRevenue);
}

void frmSchedule::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_F12) {
        m_calendarFrame->setVisible(!m_calendarFrame->isVisible());
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace kestrel
