// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/frmCommunicationSchedule.h"

#include "core/Session.h"
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
#include <QScrollArea>
#include <QTableWidget>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace kestrel {

using schedulingui::named;

namespace {

QGroupBox *clearance(const QString &title, const QString &plus, const QString &minus,
                     const QString &textName = {})
{
    auto *box = new QGroupBox(title);
    auto *row = new QHBoxLayout(box);
    if (!textName.isEmpty())
        row->addWidget(named(new QLineEdit, textName));
    row->addWidget(new QRadioButton(plus));
    row->addWidget(new QRadioButton(minus));
    return box;
}

} // namespace

frmCommunicationSchedule::frmCommunicationSchedule(Session &session, clsCodeLookup *lookup,
                                                   QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
    , m_lookup(lookup)
{
    setObjectName(QStringLiteral("frmCommunicationSchedule"));
    setWindowTitle(QStringLiteral("Requests for Operation Schedule"));
    buildUi();
    connect(&m_presenter, &ScheduleRequests::requestsChanged, this,
            &frmCommunicationSchedule::showRequests);
    m_presenter.load();
    const bool nurses = session.settings.ShowSCNurseinSchedule();
    m_scrubNurse->setVisible(nurses);
    m_circulatingNurse->setVisible(nurses);
}

void frmCommunicationSchedule::buildUi()
{
    auto *layout = new QHBoxLayout(this);
    auto *pending = new QGroupBox(QStringLiteral("Pending Requests from Nursing Stations"));
    auto *box = new QVBoxLayout(pending);
    m_grid = schedulingui::grid(QStringLiteral("mshflexPending"),
                                {1, 2500, 2500, 2500, 2500, 1800, 1000, 1000, 3000, 0, 0, 0, 0,
                                 2500, 0, 2500, 0, 2500, 0, 2500, 1800});
    box->addWidget(m_grid, 1);
    box->addWidget(new QLabel(QStringLiteral("Click on the list to select a patient.")));
    auto *buttons = new QHBoxLayout;
    auto *confirm = named(new QPushButton(QStringLiteral("Confirm")), QStringLiteral("cmdPending(0)"));
    auto *revoke = named(new QPushButton(QStringLiteral("Revoke")), QStringLiteral("cmdPending(1)"));
    buttons->addStretch();
    buttons->addWidget(confirm);
    buttons->addWidget(revoke);
    box->addLayout(buttons);
    layout->addWidget(pending, 1);
    m_panel = buildConfirmPanel();
    m_panel->hide();
    layout->addWidget(m_panel);

    connect(m_grid, &QTableWidget::cellClicked, this, &frmCommunicationSchedule::selectRow);
    connect(confirm, &QPushButton::clicked, this, [this] {
        if (m_row >= 0)
            m_panel->show();
    });
    connect(revoke, &QPushButton::clicked, this, [this] {
        if (m_row >= 0 && m_presenter.revoke(m_row) == ScheduleRequests::SaveOutcome::Saved)
            Q_EMIT requestsHandled();
    });
}

QWidget *frmCommunicationSchedule::buildConfirmPanel()
{
    auto *panel = named(new QScrollArea, QStringLiteral("pictConfirm"));
    auto *inner = new QWidget;
    auto *form = new QFormLayout(inner);
    m_patientName = named(new QLabel, QStringLiteral("lblPatientName"));
    form->addRow(m_patientName);
    m_date = named(new QDateEdit, QStringLiteral("dtpScheduleDate"));
    m_date->setCalendarPopup(true);
    form->addRow(QStringLiteral("Schedule Date"), m_date);
    m_start = named(new QTimeEdit, QStringLiteral("dtpTime(0)"));
    m_end = named(new QTimeEdit, QStringLiteral("dtpTime(1)"));
    for (QTimeEdit *t : {m_start, m_end})
        t->setDisplayFormat(QStringLiteral("hh:mm AP"));
    form->addRow(QStringLiteral("Starting Time"), m_start);
    form->addRow(QStringLiteral("Ending Time"), m_end);
    m_length = named(new QLabel, QStringLiteral("lblLength"));
    auto *length = new QHBoxLayout;
    length->addWidget(m_length);
    length->addWidget(new QLabel(QStringLiteral("(min)")));
    form->addRow(QStringLiteral("Length / Duration"), length);
    auto codeRow = [&](const QString &caption, const QString &codeName, const QString &buttonName,
                       QLineEdit *&code, QLabel *&name, bool doctor) {
        code = named(new QLineEdit, codeName);
        name = new QLabel;
        auto *row = new QHBoxLayout;
        row->addWidget(code);
        auto *find = named(new QPushButton(QStringLiteral("...")), buttonName);
        row->addWidget(find);
        form->addRow(caption, row);
        form->addRow(QString(), name);
        QLineEdit *c = code;
        QLabel *n = name;
        connect(find, &QPushButton::clicked, this, [this, c, n, doctor] {
            doctor ? schedulingui::pickDoctor(m_lookup, c, n)
                   : schedulingui::pickProcedure(m_lookup, c, n);
        });
    };
    codeRow(QStringLiteral("OR Procedure"), QStringLiteral("txtProcedureCode"),
            QStringLiteral("cmdProcedure"), m_procedure, m_procedureName, false);
    codeRow(QStringLiteral("Surgeon"), QStringLiteral("txtSurgeonID"), QStringLiteral("cmdSurgeon"),
            m_surgeon, m_surgeonName, true);
    for (int i = 0; i < 3; ++i)
        codeRow(QStringLiteral("Co-Surgeon"), QStringLiteral("txtSurgeonID%1").arg(i + 1),
                QStringLiteral("cmdCoSurgeon%1").arg(i + 1), m_coSurgeon[i], m_coSurgeonName[i],
                true);
    codeRow(QStringLiteral("Anesthesiologist"), QStringLiteral("txtAnesthesiologistID"),
            QStringLiteral("cmdAnesthesiologist"), m_anes, m_anesName, true);
    m_room = named(new QComboBox, QStringLiteral("cboRequestRoom"));
    form->addRow(QStringLiteral("OR Room"), m_room);
    form->addRow(clearance(QStringLiteral("CP/P Clearance"), QStringLiteral("CP/P ( + )"),
                           QStringLiteral("CP/P ( - )")));
    form->addRow(clearance(QStringLiteral("CON Clearance"), QStringLiteral("CON ( + )"),
                           QStringLiteral("CON ( - )")));
    form->addRow(clearance(QStringLiteral("B.O Clearance"), QStringLiteral("BO ( + )"),
                           QStringLiteral("BO ( - )"), QStringLiteral("txtBO")));
    form->addRow(clearance(QStringLiteral("Blood Clearance"), QStringLiteral("BLOOD ( + )"),
                           QStringLiteral("BLOOD ( - )"), QStringLiteral("txtBlood")));
    m_remarks = named(new QLineEdit, QStringLiteral("txtRemarks"));
    form->addRow(QStringLiteral("Remarks"), m_remarks);
    m_scrubNurse = named(new QLineEdit, QStringLiteral("txtSNurse"));
    m_circulatingNurse = named(new QLineEdit, QStringLiteral("txtCNurse"));
    m_scrubNurse->setPlaceholderText(QStringLiteral("S. Nurse"));
    m_circulatingNurse->setPlaceholderText(QStringLiteral("C. Nurse"));
    form->addRow(m_scrubNurse);
    form->addRow(m_circulatingNurse);
    auto *buttons = new QHBoxLayout;
    auto *save = named(new QPushButton(QStringLiteral("&Save")), QStringLiteral("cmdRequestOption(0)"));
    auto *cancel = named(new QPushButton(QStringLiteral("&Cancel")),
                         QStringLiteral("cmdRequestOption(1)"));
    buttons->addWidget(save);
    buttons->addWidget(cancel);
    form->addRow(buttons);
    panel->setWidget(inner);
    panel->setWidgetResizable(true);
    panel->setMinimumWidth(380);

    connect(m_start, &QTimeEdit::timeChanged, this, &frmCommunicationSchedule::startChanged);
    connect(m_end, &QTimeEdit::editingFinished, this, &frmCommunicationSchedule::timesChanged);
    connect(save, &QPushButton::clicked, this, &frmCommunicationSchedule::confirm);
    connect(cancel, &QPushButton::clicked, panel, &QWidget::hide);
    return panel;
}

void frmCommunicationSchedule::showRequests()
{
    schedulingui::fill(m_grid, m_presenter.requests());
    // With no request the list keeps two empty rows and nothing is chosen.
    if (m_presenter.requests().isEmpty())
        m_grid->setRowCount(2);
    m_row = -1;
    m_panel->hide();
    const QString room = m_room->currentText();
    m_room->clear();
    m_room->addItems(m_presenter.roomNames());
    m_room->setCurrentText(room);
}

void frmCommunicationSchedule::selectRow(int row)
{
    if (row < 0 || row >= m_presenter.requests().count())
        return;
    m_row = row;
    m_selected = m_presenter.select(row);
    const AdmittedBooking &b = m_selected.booking;
    m_patientName->setText(b.patientName);
    m_date->setDate(b.date);
    m_date->setEnabled(m_presenter.startEditable());
    {
        const QSignalBlocker quiet(m_start);
        m_start->setTime(b.start);
    }
    m_end->setTime(b.end);
    m_length->setText(QString::number(QTime(b.start).secsTo(b.end) / 60));
    m_procedure->setText(b.procedureCode);
    m_procedureName->setText(b.procedureDesc);
    m_surgeon->setText(b.surgeonId);
    m_surgeonName->setText(b.surgeonName);
    m_anes->setText(b.anesthesiologistId);
    m_anesName->setText(b.anesthesiologistName);
    for (int i = 0; i < 3; ++i) {
        m_coSurgeon[i]->setText(b.coSurgeonIds[i]);
        m_coSurgeonName[i]->setText(m_selected.coSurgeonNames[i]);
    }
    m_remarks->clear();
}

void frmCommunicationSchedule::startChanged()
{
    m_end->setTime(m_presenter.defaultEnd(m_start->time()));
    timesChanged();
}

void frmCommunicationSchedule::timesChanged()
{
    if (m_presenter.checkTimes(m_start->time(), m_end->time()))
        m_length->setText(QString::number(m_start->time().secsTo(m_end->time()) / 60));
}

RequestConfirmation frmCommunicationSchedule::confirmation() const
{
    RequestConfirmation c = m_selected;
    AdmittedBooking &b = c.booking;
    b.date = m_date->date();
    b.start = m_start->time();
    b.end = m_end->time();
    b.procedureCode = m_procedure->text();
    b.procedureDesc = m_procedureName->text();
    b.surgeonId = m_surgeon->text();
    b.surgeonName = m_surgeonName->text();
    b.anesthesiologistId = m_anes->text();
    b.anesthesiologistName = m_anesName->text();
    for (int i = 0; i < 3; ++i) {
        b.coSurgeonIds[i] = m_coSurgeon[i]->text();
        c.coSurgeonNames[i] = m_coSurgeonName[i]->text();
    }
    b.room = m_room->currentText();
    b.remarks = m_remarks->text();
    b.scrubNurse = m_scrubNurse->text();
    b.circulatingNurse = m_circulatingNurse->text();
    return c;
}

void frmCommunicationSchedule::confirm()
{
    if (m_row < 0)
        return;
    if (m_presenter.confirm(confirmation()) == ScheduleRequests::SaveOutcome::Saved)
        Q_EMIT requestsHandled();
}

} // namespace kestrel
