// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmPreAnesthetic.h"

#include "core/Session.h"
#include "nursing/Consents.h"
#include "nursing/NursingForms.h"
#include "nursing/ui/NursingFormWidgets.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_header = new OperationHeader(doctors, QStringLiteral("Age:"), QStringLiteral("txtAge"),
                                   QStringLiteral("Operation:"));
    layout->addWidget(m_header);

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
    placeScrolledForm(this, page, m_buttons);
    resize(820, 720);
}

bool frmPreAnesthetic::open(const CurrentPatientRecord &stay)
{
    if (!m_form.open(stay))
        return false;
    auto heading = patientHeading(m_session.db(), stay.HospNum);
    if (heading && *heading) {
        const QDate today =
            m_session.ServerDate.isValid() ? m_session.ServerDate : QDate::currentDate();
        m_header->showPatient((*heading)->name, ageText((*heading)->birthDate, today));
    } else {
        m_header->showPatient(stay.PatientName, QString());
    }
    showRecord();
    return true;
}

void frmPreAnesthetic::takeEdits()
{
    FormRecord r = m_form.record();
    m_header->takeInto(r);
    r.setText(QStringLiteral("Remarks"), m_remarks->toPlainText());
    QStringList ticks;
    for (const QCheckBox *box : m_boxes)
        ticks << (box->isChecked() ? QStringLiteral("1") : QString());
    r.setList(QStringLiteral("YesNo"), answersOf(m_answers));
    r.setList(QStringLiteral("OtherBoxes"), ticks);
    r.setList(QStringLiteral("PreOperative"), textsOf(m_findings));
    m_form.setRecord(r);
}

void frmPreAnesthetic::showRecord()
{
    const FormRecord &r = m_form.record();
    m_header->fillFrom(r);
    m_remarks->setPlainText(r.text(QStringLiteral("Remarks")));
    fillAnswers(m_answers, r.list(QStringLiteral("YesNo")));
    const QStringList ticks = r.list(QStringLiteral("OtherBoxes"));
    for (int i = 0; i < m_boxes.size(); ++i)
        m_boxes.at(i)->setChecked(ticks.value(i) == u"1");
    fillLines(m_findings, r.list(QStringLiteral("PreOperative")));
}

} // namespace kestrel
