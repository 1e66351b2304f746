// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmPreAnesthetic.h"

#include "core/Session.h"
#include "nursing/Consents.h"
#include "nursing/NursingForms.h"
#include "nursing/ui/NursingFormWidgets.h"

#include <QCheckBox>
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

frmPreAnesthetic::frmPreAnesthetic(Session &session, ReportService *reports, clsCodeLookup *doctors,
                                   QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_form(session, reports, preanesthetic::definition())
{
    setObjectName(QStringLiteral("frmPreAnesthetic"));
    setWindowTitle(m_form.definition().caption);
    build(doctors);
}

void frmPreAnesthetic::build(clsCodeLookup *doctors)
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
    m_age = new QLineEdit;
    m_age->setObjectName(QStringLiteral("txtAge"));
    m_age->setReadOnly(true);
    m_surgeon = upperCaseLine(QStringLiteral("txtSurgeon"));
    m_anesthesiologist = upperCaseLine(QStringLiteral("txtAnesthesiologist"));
    m_dateSched = upperCaseLine(QStringLiteral("txtDateSched"), 20);
    m_dateSched->setPlaceholderText(QStringLiteral("MM/DD/YYYY"));
    m_timeSched = upperCaseLine(QStringLiteral("txtTimeSched"), 20);
    m_timeSched->setPlaceholderText(QStringLiteral("HH:MM AM"));
    m_operation = upperCaseLine(QStringLiteral("txtOperation"));
    header->addWidget(new QLabel(QStringLiteral("Patient's Name:")), 0, 0);
    header->addWidget(m_patient, 0, 1);
    header->addWidget(new QLabel(QStringLiteral("Age:")), 0, 2);
    header->addWidget(m_age, 0, 3);
    header->addWidget(new QLabel(QStringLiteral("Surgeon:")), 1, 0);
    header->addWidget(doctorLine(doctors, m_surgeon), 1, 1);
    header->addWidget(new QLabel(QStringLiteral("Anesthesiologist:")), 1, 2);
    header->addWidget(doctorLine(doctors, m_anesthesiologist), 1, 3);
    header->addWidget(new QLabel(QStringLiteral("Date Scheduled:")), 2, 0);
    header->addWidget(m_dateSched, 2, 1);
    header->addWidget(new QLabel(QStringLiteral("Time Scheduled:")), 2, 2);
    header->addWidget(m_timeSched, 2, 3);
    header->addWidget(new QLabel(QStringLiteral("Operation:")), 3, 0);
    header->addWidget(m_operation, 3, 1, 1, 3);
    layout->addLayout(header);

    auto *questions = new QGroupBox;
    auto *grid = new QGridLayout(questions);
    QString section;
    int row = 0;
    const QList<ChecklistLine> &lines = preanesthetic::lines();
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).section != section) {
            section = lines.at(i).section;
            auto *heading = new QLabel(section);
            QFont bold = heading->font();
            bold.setBold(true);
            heading->setFont(bold);
            grid->addWidget(heading, row++, 0);
        }
        auto *pair = new YesNoPair(QStringLiteral("optYesNo_%1").arg(i));
        m_answers << pair;
        grid->addWidget(new QLabel(lines.at(i).label), row, 0);
        grid->addWidget(pair, row++, 1);
    }
    grid->setColumnStretch(0, 1);
    layout->addWidget(questions);

    auto *bottom = new QHBoxLayout;
    auto *findings = new QGroupBox(QStringLiteral("PRE-OPERATIVE ASSESSMENT"));
    auto *form = new QFormLayout(findings);
    for (int i = 0; i < preanesthetic::findings().size(); ++i) {
        m_findings << upperCaseLine(QStringLiteral("txtPreOperative_%1").arg(i));
        form->addRow(preanesthetic::findings().at(i), m_findings.last());
    }
    bottom->addWidget(findings, 2);
    auto *boxes = new QGroupBox(QStringLiteral("CLASSIFICATION AND PLAN"));
    auto *boxGrid = new QGridLayout(boxes);
    for (int i = 0; i < preanesthetic::boxes().size(); ++i) {
        auto *box = new QCheckBox(preanesthetic::boxes().at(i));
        box->setObjectName(QStringLiteral("chkOtherBoxes_%1").arg(i));
        m_boxes << box;
        boxGrid->addWidget(box, i % 6, i / 6);
    }
    bottom->addWidget(boxes, 1);
    layout->addLayout(bottom);

    m_remarks = upperCaseText(QStringLiteral("txtRemarks"));
    m_remarks->setMaximumHeight(80);
    auto *remarks = new QFormLayout;
    remarks->addRow(QStringLiteral("Remarks:"), m_remarks);
    layout->addLayout(remarks);

    m_buttons = new FormButtons(
        m_form, this, [this] { takeEdits(); }, [this] { showRecord(); });
    outer->addWidget(m_buttons);
    resize(820, 720);
}

bool frmPreAnesthetic::open(const CurrentPatientRecord &stay)
{
    if (!m_form.open(stay))
        return false;
    auto heading = patientHeading(m_session.db(), stay.HospNum);
    if (heading && *heading) {
        m_patient->setText((*heading)->name);
        const QDate today =
            m_session.ServerDate.isValid() ? m_session.ServerDate : QDate::currentDate();
        m_age->setText(ageText((*heading)->birthDate, today));
    } else {
        m_patient->setText(stay.PatientName);
    }
    showRecord();
    return true;
}

void frmPreAnesthetic::takeEdits()
{
    FormRecord r = m_form.record();
    r.setText(QStringLiteral("Surgeon"), m_surgeon->text());
    r.setText(QStringLiteral("Anesthesiologist"), m_anesthesiologist->text());
    r.setText(QStringLiteral("DateSched"), m_dateSched->text());
    r.setText(QStringLiteral("TimeSched"), m_timeSched->text());
    r.setText(QStringLiteral("Operation"), m_operation->text());
    r.setText(QStringLiteral("Remarks"), m_remarks->toPlainText());
    QStringList answers, ticks;
    for (const YesNoPair *pair : m_answers)
        answers << pair->value();
    for (const QCheckBox *box : m_boxes)
        ticks << (box->isChecked() ? QStringLiteral("1") : QString());
    r.setList(QStringLiteral("YesNo"), answers);
    r.setList(QStringLiteral("OtherBoxes"), ticks);
    r.setList(QStringLiteral("PreOperative"), textsOf(m_findings));
    m_form.setRecord(r);
}

void frmPreAnesthetic::showRecord()
{
    const FormRecord &r = m_form.record();
    m_surgeon->setText(r.text(QStringLiteral("Surgeon")));
    m_anesthesiologist->setText(r.text(QStringLiteral("Anesthesiologist")));
    m_dateSched->setText(r.text(QStringLiteral("DateSched")));
    m_timeSched->setText(r.text(QStringLiteral("TimeSched")));
    m_operation->setText(r.text(QStringLiteral("Operation")));
    m_remarks->setPlainText(r.text(QStringLiteral("Remarks")));
    const QStringList answers = r.list(QStringLiteral("YesNo"));
    for (int i = 0; i < m_answers.size(); ++i)
        m_answers.at(i)->setValue(answers.value(i));
    const QStringList ticks = r.list(QStringLiteral("OtherBoxes"));
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes.at(i)->setChecked(ticks.value(i) == u"1");
    fillLines(m_findings, r.list(QStringLiteral("PreOperative")));
}

void frmPreAnesthetic::closeEvent(QCloseEvent *event)
{
    if (m_buttons->closeRequested())
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
