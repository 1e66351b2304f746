// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmNursePreopChecklist.h"

#include "nursing/NursingForms.h"
#include "nursing/ui/NursingFormWidgets.h"

#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
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
    auto *page = new QWidget;
    auto *layout = new QVBoxLayout(page);
    m_header =
        new OperationHeader(doctors, QStringLiteral("Room/Bed No.:"), QStringLiteral("txtRoom"),
                            QStringLiteral("Operation to be performed"));
    layout->addWidget(m_header);

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
    placeScrolledForm(this, page, m_buttons);
    resize(860, 720);
}

bool frmNursePreopChecklist::open(const CurrentPatientRecord &stay)
{
    if (!m_form.open(stay))
        return false;
    m_header->showPatient(stay.PatientName, stay.RoomID);
    showRecord();
    return true;
}

void frmNursePreopChecklist::takeEdits()
{
    FormRecord r = m_form.record();
    m_header->takeInto(r);
    r.setText(QStringLiteral("ByWhom"), m_byWhom->text());
    r.setText(QStringLiteral("Spiritual"), m_spiritual->toPlainText());
    r.setList(QStringLiteral("YesNo"), answersOf(m_answers));
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
    m_header->fillFrom(r);
    m_byWhom->setText(r.text(QStringLiteral("ByWhom")));
    m_spiritual->setPlainText(r.text(QStringLiteral("Spiritual")));
    fillAnswers(m_answers, r.list(QStringLiteral("YesNo")));
    fillLines(m_remarks, r.list(QStringLiteral("Remarks")));
    fillLines(m_meds, r.list(QStringLiteral("Medicine")));
    fillLines(m_doses, r.list(QStringLiteral("Dose")));
    fillLines(m_times, r.list(QStringLiteral("Time")));
    fillLines(m_signs, r.list(QStringLiteral("Signs")));
    fillLines(m_signers, r.list(QStringLiteral("Signers")));
}

} // namespace kestrel
