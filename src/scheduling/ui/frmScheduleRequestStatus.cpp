// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/frmScheduleRequestStatus.h"

#include "core/components/clsCodeLookup.h"
#include "core/components/PatientRecords.h"
#include "scheduling/ui/ScheduleWidgets.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

using schedulingui::named;

frmScheduleRequestStatus::frmScheduleRequestStatus(Session &session, MainWindowCommands *menu,
                                                   clsCodeLookup *lookup, ReportService *reports,
                                                   QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, menu)
    , m_lookup(lookup)
    , m_reports(reports)
{
    setObjectName(QStringLiteral("frmScheduleRequestStatus"));
    setWindowTitle(QStringLiteral("List of Confirmed Schedules"));
    buildUi();
    connect(&m_presenter, &ConfirmedSchedules::rowsChanged, this,
            &frmScheduleRequestStatus::showRows);
    {
        const QSignalBlocker quiet(m_filterDate);
        m_filterDate->setDate(m_presenter.today());
    }
    search();
}

void frmScheduleRequestStatus::buildUi()
{
    auto *layout = new QHBoxLayout(this);
    auto *list = new QVBoxLayout;
    auto *criteria = new QHBoxLayout;
    criteria->addWidget(new QLabel(QStringLiteral("Search By:")));
    m_by = named(new QComboBox, QStringLiteral("cboBySearch"));
    m_by->addItems(ConfirmedSchedules::searchKinds());
    criteria->addWidget(m_by);
    m_search = named(new QLineEdit, QStringLiteral("txtSearch"));
    criteria->addWidget(m_search, 1);
    criteria->addWidget(new QLabel(QStringLiteral("Date Filter:")));
    m_filterDate = named(new QDateEdit, QStringLiteral("dtpFilterDate"));
    m_filterDate->setCalendarPopup(true);
    criteria->addWidget(m_filterDate);
    auto *find = named(new QPushButton(QStringLiteral("&Search")), QStringLiteral("cmdSearch"));
    criteria->addWidget(find);
    list->addLayout(criteria);
    m_grid = schedulingui::grid(QStringLiteral("mshflexPending"),
                                {1, 2500, 2500, 2500, 2500, 1800, 1000, 1000, 0, 0, 1000, 2500,
                                 1800, 2500, 1800});
    list->addWidget(m_grid, 1);
    auto *status = new QHBoxLayout;
    status->addWidget(new QLabel(QStringLiteral("Rec. No.")));
    m_position = named(new QLabel, QStringLiteral("lblRecNo"));
    status->addWidget(m_position);
    status->addStretch();
    status->addWidget(new QLabel(QStringLiteral("Click on the List to Select a Patient.")));
    list->addLayout(status);
    auto *buttons = new QHBoxLayout;
    const QStringList captions{QStringLiteral("Print Confirmation Slip"), QStringLiteral("Revoke"),
                               QStringLiteral("Exit"), QStringLiteral("Edit")};
    QPushButton *pending[4];
    buttons->addStretch();
    for (int i = 0; i < 4; ++i) {
        pending[i] = named(new QPushButton(captions.at(i)), QStringLiteral("cmdPending(%1)").arg(i));
        buttons->addWidget(pending[i]);
    }
    list->addLayout(buttons);
    layout->addLayout(list, 1);
    m_panel = buildEditPanel();
    m_panel->hide();
    layout->addWidget(m_panel);

    connect(find, &QPushButton::clicked, this, &frmScheduleRequestStatus::search);
    connect(m_search, &QLineEdit::returnPressed, this, &frmScheduleRequestStatus::search);
    connect(m_filterDate, &QDateEdit::dateChanged, this, &frmScheduleRequestStatus::search);
    connect(m_grid, &QTableWidget::currentCellChanged, this,
            [this](int row) { m_position->setText(m_presenter.position(row)); });
    connect(pending[0], &QPushButton::clicked, this,
            [this] { m_presenter.print(chosenRow(), m_reports); });
    connect(pending[1], &QPushButton::clicked, this, [this] { m_presenter.revoke(chosenRow()); });
    connect(pending[2], &QPushButton::clicked, this, &QWidget::close);
    connect(pending[3], &QPushButton::clicked, this, &frmScheduleRequestStatus::edit);
}

QWidget *frmScheduleRequestStatus::buildEditPanel()
{
    auto *panel = new QGroupBox(QStringLiteral("Edit OR Schedule Details"));
    panel->setObjectName(QStringLiteral("fraEdit"));
    auto *form = new QFormLayout(panel);
    for (int i = 0; i < 7; ++i)
        m_text[i] = named(new QLineEdit, QStringLiteral("txtAdmitted(%1)").arg(i));
    form->addRow(QStringLiteral("Patient Name"), m_text[0]);
    m_patientClass = named(new QComboBox, QStringLiteral("cboPatientClass"));
    m_patientClass->setEditable(true);
    form->addRow(QStringLiteral("Patient Class"), m_patientClass);
    m_male = named(new QRadioButton(QStringLiteral("Male")), QStringLiteral("optSex(0)"));
    m_female = named(new QRadioButton(QStringLiteral("Female")), QStringLiteral("optSex(1)"));
    auto *sex = new QHBoxLayout;
    sex->addWidget(m_male);
    sex->addWidget(m_female);
    form->addRow(QStringLiteral("Sex:"), sex);
    m_age = named(new QLineEdit, QStringLiteral("txtAge"));
    form->addRow(QStringLiteral("Age:"), m_age);
    m_room = named(new QComboBox, QStringLiteral("cboAdmitted"));
    form->addRow(QStringLiteral("OR Room"), m_room);
    m_date = named(new QDateEdit, QStringLiteral("dtpAdmitted"));
    m_date->setCalendarPopup(true);
    form->addRow(QStringLiteral("Schedule Date"), m_date);
    m_startHour = named(new QComboBox, QStringLiteral("cboStartTime(0)"));
    m_startHour->addItems(ScheduleBoard::startHours());
    m_endHour = named(new QComboBox, QStringLiteral("cboStartTime(1)"));
    m_endHour->addItems(ScheduleBoard::endHours());
    form->addRow(QStringLiteral("Starting Time"), m_startHour);
    form->addRow(QStringLiteral("Ending Time"), m_endHour);
    m_length = named(new QLabel, QStringLiteral("lblLength"));
    form->addRow(QStringLiteral("Length/Duration"), m_length);
    auto pickRow = [&](const QString &caption, int code, int name, const QString &buttonName,
                       bool doctor) {
        auto *row = new QHBoxLayout;
        row->addWidget(m_text[code]);
        row->addWidget(m_text[name], 2);
        auto *b = named(new QPushButton(QStringLiteral("...")), buttonName);
        row->addWidget(b);
        form->addRow(caption, row);
        connect(b, &QPushButton::clicked, this, [this, code, name, doctor] {
            QLabel found;
            const bool picked = doctor ? schedulingui::pickDoctor(m_lookup, m_text[code], &found)
                                       : schedulingui::pickProcedure(m_lookup, m_text[code], &found);
            if (picked)
                m_text[name]->setText(found.text());
        });
    };
    pickRow(QStringLiteral("OR Procedure"), 1, 2, QStringLiteral("cmdProc"), false);
    pickRow(QStringLiteral("Surgeon"), 3, 4, QStringLiteral("cmdDoctor1"), true);
    pickRow(QStringLiteral("Anesthesiologist"), 5, 6, QStringLiteral("cmdDoctor2"), true);
    auto *buttons = new QHBoxLayout;
    auto *save = named(new QPushButton(QStringLiteral("Save")), QStringLiteral("cmdAdmittedOption(0)"));
    auto *cancel = named(new QPushButton(QStringLiteral("Cancel")),
                         QStringLiteral("cmdAdmittedOption(1)"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    connect(m_startHour, &QComboBox::activated, this, &frmScheduleRequestStatus::startHourChosen);
    connect(m_endHour, &QComboBox::activated, this, [this] {
        m_length->setText(QString::number(
            ScheduleBoard::hourMinutes(m_startHour->currentText(), m_endHour->currentText())));
    });
    connect(save, &QPushButton::clicked, this, &frmScheduleRequestStatus::saveEdit);
    connect(cancel, &QPushButton::clicked, panel, &QWidget::hide);
    return panel;
}

void frmScheduleRequestStatus::search()
{
    m_presenter.search(m_by->currentText(), m_search->text(), m_filterDate->date());
}

void frmScheduleRequestStatus::showRows()
{
    schedulingui::fill(m_grid, m_presenter.rows());
    m_position->setText(m_presenter.position(m_grid->currentRow()));
}

int frmScheduleRequestStatus::chosenRow() const
{
    const auto chosen = m_grid->selectedItems();
    return chosen.isEmpty() ? -1 : chosen.first()->row();
}

void frmScheduleRequestStatus::edit()
{
    const int row = chosenRow();
    if (row < 0)
        return;
    if (!m_presenter.bookedBeforeAdmission(row)) {
        m_presenter.openEdit(row);
        return;
    }
    m_editing = m_presenter.toBeAdmitted(row);
    if (m_editing.transNum.isEmpty())
        return;
    m_text[0]->setText(m_editing.patientName);
    auto classes = m_presenter.board().store().patientClasses();
    m_patientClass->clear();
    if (classes)
        m_patientClass->addItems(*classes);
    m_patientClass->setCurrentText(m_editing.patientClass);
    (m_editing.sex == u"F" ? m_female : m_male)->setChecked(true);
    m_age->setText(m_editing.age);
    auto rooms = m_presenter.board().store().rooms();
    m_room->clear();
    if (rooms) {
        for (const Row &r : *rooms)
            m_room->addItem(r.trimmed(u"Room Name"));
    }
    m_room->setCurrentText(m_editing.room);
    m_date->setDate(m_editing.date);
    m_startHour->setCurrentText(m_editing.startHour);
    m_endHour->setCurrentText(m_editing.endHour);
    m_length->setText(QString::number(
        ScheduleBoard::hourMinutes(m_editing.startHour, m_editing.endHour)));
    m_text[1]->setText(m_editing.procedureCode);
    m_text[2]->setText(m_editing.procedureDesc);
    m_text[3]->setText(m_editing.surgeonCode);
    m_text[4]->setText(m_editing.surgeonName);
    m_text[5]->setText(m_editing.anesthesiologistCode);
    m_text[6]->setText(m_editing.anesthesiologistName);
    m_panel->show();
}

void frmScheduleRequestStatus::startHourChosen()
{
    m_endHour->setCurrentText(m_presenter.board().endHourFor(m_startHour->currentText()));
    m_length->setText(QString::number(
        ScheduleBoard::hourMinutes(m_startHour->currentText(), m_endHour->currentText())));
}

void frmScheduleRequestStatus::saveEdit()
{
    ToBeAdmittedBooking b = m_editing;
    b.patientName = m_text[0]->text();
    b.patientClass = m_patientClass->currentText();
    b.sex = m_female->isChecked() ? QStringLiteral("F") : QStringLiteral("M");
    b.age = m_age->text();
    b.room = m_room->currentText();
    b.date = m_date->date();
    b.startHour = m_startHour->currentText();
    b.endHour = m_endHour->currentText();
    b.procedureCode = m_text[1]->text();
    b.procedureDesc = m_text[2]->text();
    b.surgeonCode = m_text[3]->text();
    b.surgeonName = m_text[4]->text();
    b.anesthesiologistCode = m_text[5]->text();
    b.anesthesiologistName = m_text[6]->text();
    if (m_presenter.saveToBeAdmitted(b) == ConfirmedSchedules::SaveOutcome::Saved)
        m_panel->hide();
}

} // namespace kestrel
