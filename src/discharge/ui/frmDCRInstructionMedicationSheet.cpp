// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/ui/frmDCRInstructionMedicationSheet.h"

#include "core/Session.h"
#include "core/ui/SpellCheckedText.h"
#include "discharge/DischargeNotices.h"

#include <QCloseEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

using Kind = discharge::DischargeInstructions::Kind;

QLineEdit *line(const char *name, bool readOnly = false)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(readOnly);
    return edit;
}

QPlainTextEdit *memo(const char *name)
{
    auto *edit = new QPlainTextEdit;
    edit->setObjectName(QString::fromLatin1(name));
    return edit;
}

const QStringList kDrugColumns = {QStringLiteral("Drug"),     QStringLiteral("Dose"),
                                  QStringLiteral("Frequency"), QStringLiteral("Duration"),
                                  QStringLiteral("Morning"),  QStringLiteral("Noon"),
                                  QStringLiteral("Evening"),  QStringLiteral("Remarks")};

} // namespace

frmDCRInstructionMedicationSheet::frmDCRInstructionMedicationSheet(Session &session,
                                                                   ReportService *reports,
                                                                   QWidget *parent)
    : frmDCRInstructionMedicationSheet(session, reports, Kind::Sheet, parent)
{
}

frmDCRInstructionMedicationSheet::frmDCRInstructionMedicationSheet(Session &session,
                                                                   ReportService *reports,
                                                                   Kind kind, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, reports, kind)
{
    setObjectName(kind == Kind::NewerSheet ? QStringLiteral("frmDCRInstructionMedicationSheetNew")
                                           : QStringLiteral("frmDCRInstructionMedicationSheet"));
    setWindowTitle(QStringLiteral("Discharge Instructions and Medications Sheet/Home Care Plan"));
    build();
    // Where the station turns it on, the free texts are spell checked as they are typed.
    if (session.settings.EnableSpellChecker())
        m_spelling = SpellCheckedText::attach({m_instructions, m_medications, m_plan}, this);
}

frmDCRInstructionMedicationSheetNew::frmDCRInstructionMedicationSheetNew(Session &session,
                                                                         ReportService *reports,
                                                                         QWidget *parent)
    : frmDCRInstructionMedicationSheet(session, reports, Kind::NewerSheet, parent)
{
}

void frmDCRInstructionMedicationSheet::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *header = new QFormLayout;
    m_patient = line("txtPatient", true);
    m_admission = line("txtAdmission", true);
    m_doctor = line("txtDoctor", true);
    m_diagnosis = line("txtDiagnosis", true);
    header->addRow(QStringLiteral("Patient"), m_patient);
    header->addRow(QStringLiteral("Admission"), m_admission);
    header->addRow(QStringLiteral("Attending Physician"), m_doctor);
    header->addRow(QStringLiteral("Admitting Diagnosis"), m_diagnosis);
    layout->addLayout(header);

    auto *tabs = new QTabWidget;
    auto *sheet = new QWidget;
    auto *form = new QFormLayout(sheet);
    m_instructions = memo("txtInstructions");
    m_medications = memo("txtMedications");
    m_checkUp = line("txtCheckUp");
    m_checkInOn = line("txtCheckInOn");
    m_activity = line("txtActivityLevel");
    m_diet = line("txtDietInstruction");
    m_observe = line("txtWhatToObserve");
    m_guardian = line("txtGuardian");
    m_receivedBy = line("txtReceivedBy");
    form->addRow(QStringLiteral("Discharge Instructions"), m_instructions);
    form->addRow(QStringLiteral("Discharge Medications"), m_medications);
    if (m_presenter.kind() == Kind::NewerSheet) {
        m_drugs = new QTableWidget(0, int(kDrugColumns.size()));
        m_drugs->setObjectName(QStringLiteral("grdMedications"));
        m_drugs->setHorizontalHeaderLabels(kDrugColumns);
        m_drugs->horizontalHeader()->setStretchLastSection(true);
        auto *addDrug = new QPushButton(QStringLiteral("Add Drug"));
        addDrug->setObjectName(QStringLiteral("cmdAddDrug"));
        connect(addDrug, &QPushButton::clicked, this,
                [this] { m_drugs->insertRow(m_drugs->rowCount()); });
        form->addRow(QStringLiteral("Medicines"), m_drugs);
        form->addRow(QString(), addDrug);
    }
    form->addRow(QStringLiteral("Check-up on"), m_checkUp);
    form->addRow(QStringLiteral("Check-up at"), m_checkInOn);
    form->addRow(QStringLiteral("Activity Level"), m_activity);
    form->addRow(QStringLiteral("Diet Instruction"), m_diet);
    form->addRow(QStringLiteral("What to Observe"), m_observe);
    form->addRow(QStringLiteral("Guardian"), m_guardian);
    form->addRow(QStringLiteral("Received by"), m_receivedBy);
    tabs->addTab(sheet, QStringLiteral("Discharge Instructions and Medications"));

    auto *planTab = new QWidget;
    auto *planLayout = new QVBoxLayout(planTab);
    m_plan = memo("txtHomeCarePlan");
    planLayout->addWidget(m_plan);
    auto *planButtons = new QHBoxLayout;
    planButtons->addStretch();
    auto *savePlan = new QPushButton(QStringLiteral("Save Home Care Plan"));
    savePlan->setObjectName(QStringLiteral("cmdSaveHCP"));
    auto *printPlan = new QPushButton(QStringLiteral("Print Home Care Plan"));
    printPlan->setObjectName(QStringLiteral("cmdPrintHCP"));
    planButtons->addWidget(savePlan);
    planButtons->addWidget(printPlan);
    planLayout->addLayout(planButtons);
    tabs->addTab(planTab, QStringLiteral("Home Care Plan"));
    layout->addWidget(tabs, 1);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *print = new QPushButton(QStringLiteral("&Print"));
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(print);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(savePlan, &QPushButton::clicked, this, [this] {
        m_presenter.setHomeCarePlan(m_plan->toPlainText());
        m_presenter.saveHomeCarePlan();
    });
    connect(printPlan, &QPushButton::clicked, this, [this] {
        m_presenter.setHomeCarePlan(m_plan->toPlainText());
        m_presenter.printHomeCarePlan();
    });
    connect(print, &QPushButton::clicked, this, [this] { m_presenter.print(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    resize(820, 640);
}

bool frmDCRInstructionMedicationSheet::open(const QString &idNum)
{
    if (!m_presenter.open(idNum))
        return false;
    const QVariantMap &h = m_presenter.header();
    m_patient->setText(h.value(QStringLiteral("PatientName")).toString().simplified());
    m_admission->setText(h.value(QStringLiteral("IdNum")).toString() + QStringLiteral("  ") +
                         discharge::shownDateTime(h.value(QStringLiteral("AdmDate")).toDateTime()));
    m_doctor->setText(h.value(QStringLiteral("Doctor")).toString());
    m_diagnosis->setText(h.value(QStringLiteral("ADMDiagnosis")).toString());
    const discharge::InstructionSheet &s = m_presenter.sheet();
    m_instructions->setPlainText(s.instructions);
    m_medications->setPlainText(s.medications);
    m_checkUp->setText(s.checkUp);
    m_checkInOn->setText(s.checkInOn);
    m_activity->setText(s.activityLevel);
    m_diet->setText(s.dietInstruction);
    m_observe->setText(s.whatToObserve);
    m_guardian->setText(s.guardian);
    m_receivedBy->setText(s.receivedBy);
    m_plan->setPlainText(m_presenter.homeCarePlan());
    if (m_drugs) {
        const QList<discharge::Medication> &drugs = m_presenter.medications();
        m_drugs->setRowCount(int(drugs.size()) + 1);
        for (int r = 0; r < drugs.size(); ++r) {
            const discharge::Medication &m = drugs.at(r);
            const QStringList values = {m.drug,  m.dose,  m.frequency, m.duration,
                                        m.timeA, m.timeB, m.timeC,     m.remarks};
            for (int c = 0; c < values.size(); ++c)
                m_drugs->setItem(r, c, new QTableWidgetItem(values.at(c)));
        }
    }
    return true;
}

void frmDCRInstructionMedicationSheet::takeEdits()
{
    discharge::InstructionSheet s = m_presenter.sheet();
    s.instructions = m_instructions->toPlainText();
    s.medications = m_medications->toPlainText();
    s.checkUp = m_checkUp->text();
    s.checkInOn = m_checkInOn->text();
    s.activityLevel = m_activity->text();
    s.dietInstruction = m_diet->text();
    s.whatToObserve = m_observe->text();
    s.guardian = m_guardian->text();
    s.receivedBy = m_receivedBy->text();
    m_presenter.setSheet(s);
    if (!m_drugs)
        return;
    QList<discharge::Medication> drugs;
    for (int r = 0; r < m_drugs->rowCount(); ++r) {
        const auto cell = [&](int c) {
            const QTableWidgetItem *item = m_drugs->item(r, c);
            return item ? item->text() : QString();
        };
        drugs << discharge::Medication{cell(0), cell(1), cell(2), cell(3),
                                       cell(4), cell(5), cell(6), cell(7)};
    }
    QList<discharge::Medication> before = m_presenter.medications();
    const auto key = [](const QList<discharge::Medication> &list) {
        QStringList out;
        for (const discharge::Medication &m : list) {
            if (!m.isEmpty())
                out << QStringList{m.drug, m.dose, m.frequency, m.duration, m.timeA, m.timeB,
                                   m.timeC, m.remarks}
                           .join(u'\t');
        }
        return out;
    };
    if (key(drugs) != key(before))
        m_presenter.setMedications(drugs);
}

void frmDCRInstructionMedicationSheet::closeEvent(QCloseEvent *event)
{
    takeEdits();
    if (m_presenter.closeRequested())
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
