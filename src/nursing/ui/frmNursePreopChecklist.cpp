// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmNursePreopChecklist.h"

#include "nursing/NursingForms.h"
#include "nursing/ui/NursingFormWidgets.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kestrel {

using namespace nursing;

namespace {

QLabel *heading(const QString &text)
{
    auto *label = new QLabel(text);
    QFont f = label->font();
    f.setBold(true);
    label->setFont(f);
    return label;
}

} // namespace

frmNursePreopChecklist::frmNursePreopChecklist(Session &session, ReportService *reports,
                                               clsCodeLookup *doctors, QWidget *parent)
    : QWidget(parent)
    , m_form(session, reports, preop::definition())
{
    setObjectName(QStringLiteral("frmNursePreopChecklist"));
    setWindowTitle(m_form.definition().caption);
    build(doctors);
}

void frmNursePreopChecklist::build(clsCodeLookup *doctors)
{
    auto *outer = new QVBoxLayout(this);
    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    scroll->setWidget(page);
    outer->addWidget(scroll, 1);

    auto *header = new QGridLayout;
    m_patient = new QLineEdit;
    m_patient->setObjectName(QStringLiteral("txtPatient"));
    m_patient->setReadOnly(true);
    m_room = new QLineEdit;
    m_room->setObjectName(QStringLiteral("txtRoom"));
    m_room->setReadOnly(true);
    m_surgeon = upperCaseLine(QStringLiteral("txtSurgeon"));
    m_anesthesiologist = upperCaseLine(QStringLiteral("txtAnesthesiologist"));
    m_dateSched = upperCaseLine(QStringLiteral("txtDateSched"), 20);
    m_dateSched->setPlaceholderText(QStringLiteral("MM/DD/YYYY"));
    m_timeSched = upperCaseLine(QStringLiteral("txtTimeSched"), 20);
    m_timeSched->setPlaceholderText(QStringLiteral("HH:MM AM"));
    m_operation = upperCaseLine(QStringLiteral("txtOperation"));
    header->addWidget(new QLabel(QStringLiteral("Patient's Name:")), 0, 0);
    header->addWidget(m_patient, 0, 1);
    header->addWidget(new QLabel(QStringLiteral("Room/Bed No.:")), 0, 2);
    header->addWidget(m_room, 0, 3);
    header->addWidget(new QLabel(QStringLiteral("Surgeon:")), 1, 0);
    header->addWidget(doctorLine(doctors, m_surgeon), 1, 1);
    header->addWidget(new QLabel(QStringLiteral("Anesthesiologist:")), 1, 2);
    header->addWidget(doctorLine(doctors, m_anesthesiologist), 1, 3);
    header->addWidget(new QLabel(QStringLiteral("Date Scheduled:")), 2, 0);
    header->addWidget(m_dateSched, 2, 1);
    header->addWidget(new QLabel(QStringLiteral("Time Scheduled:")), 2, 2);
    header->addWidget(m_timeSched, 2, 3);
    header->addWidget(new QLabel(QStringLiteral("Operation to be performed")), 3, 0);
    header->addWidget(m_operation, 3, 1, 1, 3);
    layout->addLayout(header);

    // The item list: procedures, yes, no, remarks.
    auto *items = new QGroupBox;
    auto *grid = new QGridLayout(items);
    grid->addWidget(heading(QStringLiteral("PROCEDURES")), 0, 0);
    grid->addWidget(heading(QStringLiteral("YES      NO")), 0, 1);
    grid->addWidget(heading(QStringLiteral("REMARKS")), 0, 2);
    int row = 1;
    QString section;
    const QList<ChecklistLine> &lines = preop::lines();
    for (int i = 0; i < lines.size(); ++i) {
        const ChecklistLine &line = lines.at(i);
        if (line.section != section) {
            section = line.section;
            if (!section.isEmpty())
                grid->addWidget(new QLabel(section), row++, 0);
        }
        auto *label = new QLabel(line.label);
        if (!line.section.isEmpty())
            label->setIndent(24);
        auto *pair = new YesNoPair(QStringLiteral("optYesNo_%1").arg(i));
        auto *remark = upperCaseLine(QStringLiteral("txtRemarks_%1").arg(i));
        m_answers << pair;
        m_remarks << remark;
        if (i == 1) {
            // "2. Operative Area Prepared:" names who prepared it.
            auto *box = new QWidget;
            auto *by = new QHBoxLayout(box);
            by->setContentsMargins(0, 0, 0, 0);
            m_byWhom = upperCaseLine(QStringLiteral("txtByWhom"));
            by->addWidget(label);
            by->addWidget(new QLabel(QStringLiteral("By Whom:")));
            by->addWidget(m_byWhom, 1);
            grid->addWidget(box, row, 0);
        } else {
            grid->addWidget(label, row, 0);
        }
        grid->addWidget(pair, row, 1);
        grid->addWidget(remark, row, 2);
        ++row;
    }
    grid->setColumnStretch(2, 1);
    layout->addWidget(items);

    auto *bottom = new QHBoxLayout;
    auto *meds = new QGroupBox(QStringLiteral("MEDICINE DOSE TIME"));
    auto *medGrid = new QGridLayout(meds);
    medGrid->addWidget(heading(QStringLiteral("MEDICINE")), 0, 0);
    medGrid->addWidget(heading(QStringLiteral("DOSE")), 0, 1);
    medGrid->addWidget(heading(QStringLiteral("TIME")), 0, 2);
    for (int i = 0; i < preop::kMedicationRows; ++i) {
        m_meds << upperCaseLine(QStringLiteral("txtMeds_%1").arg(i));
        m_doses << upperCaseLine(QStringLiteral("txtDose_%1").arg(i), 50);
        m_times << upperCaseLine(QStringLiteral("txtTime_%1").arg(i), 20);
        medGrid->addWidget(m_meds.last(), i + 1, 0);
        medGrid->addWidget(m_doses.last(), i + 1, 1);
        medGrid->addWidget(m_times.last(), i + 1, 2);
    }
    medGrid->setColumnStretch(0, 2);
    bottom->addWidget(meds, 2);
    auto *signs = new QGroupBox(QStringLiteral("Vital Signs"));
    auto *signForm = new QFormLayout(signs);
    for (int i = 0; i < preop::signs().size(); ++i) {
        m_signs << upperCaseLine(QStringLiteral("txtSigns_%1").arg(i), 20);
        signForm->addRow(preop::signs().at(i), m_signs.last());
    }
    bottom->addWidget(signs, 1);
    layout->addLayout(bottom);

    auto *signers = new QFormLayout;
    m_spiritual = upperCaseText(QStringLiteral("txtSpiritual"));
    m_spiritual->setMaximumHeight(70);
    signers->addRow(QStringLiteral("Spiritual/Psychological Preparation:"), m_spiritual);
    for (int i = 0; i < preop::signers().size(); ++i) {
        m_signers << upperCaseLine(QStringLiteral("txtSigner_%1").arg(i));
        signers->addRow(preop::signers().at(i), m_signers.last());
    }
    layout->addLayout(signers);

    m_buttons = new FormButtons(
        m_form, this, [this] { takeEdits(); }, [this] { showRecord(); });
    outer->addWidget(m_buttons);
    resize(860, 720);
}

bool frmNursePreopChecklist::open(const CurrentPatientRecord &stay)
{
    if (!m_form.open(stay))
        return false;
    m_patient->setText(stay.PatientName);
    m_room->setText(stay.RoomID);
    showRecord();
    return true;
}

void frmNursePreopChecklist::takeEdits()
{
    FormRecord r = m_form.record();
    r.setText(QStringLiteral("Surgeon"), m_surgeon->text());
    r.setText(QStringLiteral("Anesthesiologist"), m_anesthesiologist->text());
    r.setText(QStringLiteral("DateSched"), m_dateSched->text());
    r.setText(QStringLiteral("TimeSched"), m_timeSched->text());
    r.setText(QStringLiteral("Operation"), m_operation->text());
    r.setText(QStringLiteral("ByWhom"), m_byWhom->text());
    r.setText(QStringLiteral("Spiritual"), m_spiritual->toPlainText());
    QStringList answers;
    for (const YesNoPair *pair : m_answers)
        answers << pair->value();
    r.setList(QStringLiteral("YesNo"), answers);
    r.setList(QStringLiteral("Remarks"), textsOf(m_remarks));
    r.setList(QStringLiteral("Medicine"), textsOf(m_meds));
    r.setList(QStringLiteral("Dose"), textsOf(m_doses));
    r.setList(QStringLiteral("Time"), textsOf(m_times));
    r.setList(QStringLiteral("Signs"), textsOf(m_signs));
    r.setList(QStringLiteral("Signers"), textsOf(m_signers));
    m_form.setRecord(r);
}

void frmNursePreopChecklist::showRecord()
{
    const FormRecord &r = m_form.record();
    m_surgeon->setText(r.text(QStringLiteral("Surgeon")));
    m_anesthesiologist->setText(r.text(QStringLiteral("Anesthesiologist")));
    m_dateSched->setText(r.text(QStringLiteral("DateSched")));
    m_timeSched->setText(r.text(QStringLiteral("TimeSched")));
    m_operation->setText(r.text(QStringLiteral("Operation")));
    m_byWhom->setText(r.text(QStringLiteral("ByWhom")));
    m_spiritual->setPlainText(r.text(QStringLiteral("Spiritual")));
    const QStringList answers = r.list(QStringLiteral("YesNo"));
    for (int i = 0; i < m_answers.size(); ++i)
        m_answers.at(i)->setValue(answers.value(i));
    fillLines(m_remarks, r.list(QStringLiteral("Remarks")));
    fillLines(m_meds, r.list(QStringLiteral("Medicine")));
    fillLines(m_doses, r.list(QStringLiteral("Dose")));
    fillLines(m_times, r.list(QStringLiteral("Time")));
    fillLines(m_signs, r.list(QStringLiteral("Signs")));
    fillLines(m_signers, r.list(QStringLiteral("Signers")));
}

void frmNursePreopChecklist::closeEvent(QCloseEvent *event)
{
    if (m_buttons->closeRequested())
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
