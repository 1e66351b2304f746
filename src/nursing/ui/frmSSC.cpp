// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmSSC.h"

#include "nursing/ui/NursingFormWidgets.h"

#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollArea>
#include <QVBoxLayout>

namespace kestrel {

using namespace nursing;
using ssc::Phase;

namespace {

const QStringList kAnswers = {QString(), QStringLiteral("YES"), QStringLiteral("NO"),
                              QStringLiteral("N/A")};

QString whoAndWhen(const ssc::Answer &a)
{
    if (a.value.isEmpty() || !a.at.isValid())
        return {};
    return a.by + QStringLiteral("  ") + a.at.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"));
}

} // namespace

frmSSC::frmSSC(Session &session, ReportService *reports, clsCodeLookup *doctors, QWidget *parent)
    : QWidget(parent)
    , m_checklist(session, reports)
{
    setObjectName(QStringLiteral("frmSSC"));
    setWindowTitle(m_checklist.form().definition().caption);
    build(doctors);
}

void frmSSC::build(clsCodeLookup *doctors)
{
    auto *outer = new QVBoxLayout(this);
    auto *head = new QFormLayout;
    m_patient = new QLineEdit;
    m_patient->setObjectName(QStringLiteral("txtPatient"));
    m_patient->setReadOnly(true);
    m_operation = upperCaseLine(QStringLiteral("txtOperation"));
    head->addRow(QStringLiteral("Patient:"), m_patient);
    head->addRow(QStringLiteral("Procedure:"), m_operation);
    outer->addLayout(head);

    auto *scroll = new QScrollArea;
    scroll->setWidgetResizable(true);
    auto *page = new QWidget;
    auto *pauses = new QHBoxLayout(page);
    scroll->setWidget(page);
    outer->addWidget(scroll, 1);
    const QStringList roles = {QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
                               QStringLiteral("Nurse")};
    for (Phase phase : ssc::kPhases) {
        const auto p = std::size_t(phase);
        auto *box = new QGroupBox(ssc::phaseName(phase));
        box->setObjectName(QStringLiteral("fra") + ssc::phaseTitle(phase).remove(u' '));
        auto *column = new QVBoxLayout(box);
        column->addWidget(new QLabel(ssc::phaseMoment(phase)));
        auto *grid = new QGridLayout;
        const QStringList &labels = ssc::items(phase);
        for (int i = 0; i < labels.size(); ++i) {
            auto *label = new QLabel(labels.at(i));
            label->setWordWrap(true);
            ItemRow row;
            row.answer = new QComboBox;
            row.answer->setObjectName(
                QStringLiteral("cbo%1_%2").arg(ssc::phaseTitle(phase).remove(u' ')).arg(i));
            row.answer->addItems(kAnswers);
            row.who = new QLabel;
            row.who->setObjectName(row.answer->objectName() + QStringLiteral("Who"));
            QFont small = row.who->font();
            small.setPointSizeF(small.pointSizeF() * 0.85);
            row.who->setFont(small);
            grid->addWidget(label, i * 2, 0, 1, 2);
            grid->addWidget(row.answer, i * 2 + 1, 0);
            grid->addWidget(row.who, i * 2 + 1, 1);
            connect(row.answer, &QComboBox::currentTextChanged, this,
                    [this, phase, i](const QString &value) {
                        if (m_showing)
                            return;
                        m_checklist.answer(phase, i, value);
                        showAnswers();
                    });
            m_items[p] << row;
        }
        grid->setColumnStretch(1, 1);
        column->addLayout(grid);
        auto *signers = new QFormLayout;
        for (const QString &role : roles) {
            const QString columnName = role + ssc::phaseTitle(phase).remove(u' ');
            QLineEdit *edit = upperCaseLine(QStringLiteral("txt") + columnName);
            m_signers.insert(columnName, edit);
            signers->addRow(role + u':', role == u"Nurse" ? static_cast<QWidget *>(edit)
                                                          : doctorLine(doctors, edit));
        }
        column->addLayout(signers);
        m_complete[p] = new QPushButton(QStringLiteral("Complete ") + ssc::phaseTitle(phase));
        m_complete[p]->setObjectName(QStringLiteral("cmdComplete") +
                                     ssc::phaseTitle(phase).remove(u' '));
        m_completed[p] = new QLabel;
        connect(m_complete[p], &QPushButton::clicked, this, [this, phase] {
            if (m_checklist.complete(phase))
                showAnswers();
        });
        column->addWidget(m_complete[p]);
        column->addWidget(m_completed[p]);
        column->addStretch(1);
        pauses->addWidget(box, 1);
    }

    // After a delete the checklist is read again: its answers and pauses go with the record.
    m_buttons = new FormButtons(
        m_checklist.form(), this, [this] { takeEdits(); },
        [this] {
            m_checklist.open(m_checklist.form().stay());
            showRecord();
        });
    outer->addWidget(m_buttons);
    resize(1100, 700);
}

bool frmSSC::open(const CurrentPatientRecord &stay)
{
    if (!m_checklist.open(stay))
        return false;
    m_patient->setText(stay.PatientName);
    showRecord();
    return true;
}

void frmSSC::takeEdits()
{
    m_checklist.setText(QStringLiteral("Operation"), m_operation->text());
    for (auto it = m_signers.cbegin(); it != m_signers.cend(); ++it)
        m_checklist.setText(it.key(), it.value()->text());
}

void frmSSC::showRecord()
{
    const FormRecord &r = m_checklist.form().record();
    m_operation->setText(r.text(QStringLiteral("Operation")));
    for (auto it = m_signers.cbegin(); it != m_signers.cend(); ++it)
        it.value()->setText(r.text(it.key()));
    showAnswers();
}

void frmSSC::showAnswers()
{
    m_showing = true;
    const ssc::SafetyRecord &safety = m_checklist.safety();
    for (Phase phase : ssc::kPhases) {
        const auto p = std::size_t(phase);
        for (int i = 0; i < m_items[p].size(); ++i) {
            const ssc::Answer &a = safety.answer(phase, i);
            const ItemRow &row = m_items[p].at(i);
            row.answer->setCurrentIndex(std::max(0, int(kAnswers.indexOf(a.value))));
            const bool late = safety.isLate(phase, i);
            row.who->setText(whoAndWhen(a) + (late ? QStringLiteral("  LATE") : QString()));
            row.who->setStyleSheet(late ? QStringLiteral("color: #b00000;") : QString());
        }
        const ssc::Answer &done = safety.completion(phase);
        m_completed[p]->setText(
            done.at.isValid() ? QStringLiteral("Completed by ") + whoAndWhen(done) : QString());
        m_complete[p]->setEnabled(!safety.isComplete(phase));
    }
    m_showing = false;
}

} // namespace kestrel
