// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmConsent.h"

#include "nursing/ui/NursingFormWidgets.h"

#include <QDateEdit>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

using namespace nursing;

namespace {

const QString kSurgeon = QStringLiteral("Surgeon");
const QString kDoctor = QStringLiteral("Doctor");
const QString kAuthorized = QStringLiteral("Authorized");
const QString kDateSigned = QStringLiteral("DateSigned");

QLineEdit *readOnly(const QString &name)
{
    auto *edit = new QLineEdit;
    edit->setObjectName(name);
    edit->setReadOnly(true);
    return edit;
}

} // namespace

frmConsent::frmConsent(Session &session, ReportService *reports, clsCodeLookup *doctors,
                       ConsentKind kind, QWidget *parent)
    : QWidget(parent)
    , m_consent(session, reports, kind)
{
    setObjectName(m_consent.form().definition().formName);
    setWindowTitle(m_consent.form().definition().caption);
    build(doctors);
}

void frmConsent::build(clsCodeLookup *doctors)
{
    const FormDefinition &definition = m_consent.form().definition();
    auto *layout = new QVBoxLayout(this);
    auto *patient = new QFormLayout;
    m_patient = readOnly(QStringLiteral("txtPatient"));
    m_admission = readOnly(QStringLiteral("txtIdNum"));
    m_age = readOnly(QStringLiteral("txtAge"));
    patient->addRow(QStringLiteral("Patient's Name:"), m_patient);
    patient->addRow(QStringLiteral("Adm. No.:"), m_admission);
    patient->addRow(QStringLiteral("Age:"), m_age);
    layout->addLayout(patient);

    auto *consent = new QFormLayout;
    // The doctor the consent names: the surgeon, the doctor of the special treatment, or the
    // doctor authorised to sterilise.
    const QString doctorColumn = definition.column(kSurgeon)  ? kSurgeon
                                 : definition.column(kDoctor) ? kDoctor
                                                        : kAuthorized;
    m_surgeon = upperCaseLine(QStringLiteral("txt") + doctorColumn);
    consent->addRow(doctorColumn == kAuthorized ? QStringLiteral("Authorized Physician:")
                    : doctorColumn == kDoctor   ? QStringLiteral("Physician:")
                                                : QStringLiteral("Surgeon:"),
                    doctorLine(doctors, m_surgeon));
    if (definition.column(QStringLiteral("Procedure"))) {
        m_procedure = upperCaseText(QStringLiteral("txtProcedure"));
        m_procedure->setMaximumHeight(80);
        consent->addRow(m_consent.kind() == ConsentKind::Sterilization
                            ? QStringLiteral("Procedure:")
                            : QStringLiteral("Operation / Procedure:"),
                        m_procedure);
    }
    if (definition.column(QStringLiteral("Exception"))) {
        m_exception = upperCaseLine(QStringLiteral("txtException"), 1000);
        consent->addRow(QStringLiteral("Except:"), m_exception);
    }
    if (definition.column(QStringLiteral("ConsentingSpouse"))) {
        m_spouse = upperCaseLine(QStringLiteral("txtConsentingSpouse"));
        consent->addRow(QStringLiteral("Consenting Spouse:"), m_spouse);
    }
    m_witness = upperCaseLine(QStringLiteral("txtWitness"));
    consent->addRow(QStringLiteral("Witness:"), m_witness);
    if (definition.column(kDateSigned)) {
        m_dateSigned = new QDateEdit;
        m_dateSigned->setObjectName(QStringLiteral("dtpDateSigned"));
        m_dateSigned->setCalendarPopup(true);
        m_dateSigned->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
        connect(m_dateSigned, &QDateEdit::dateChanged, this, [this] {
            m_dateTouched = true;
            takeEdits();
            showAge();
        });
        consent->addRow(QStringLiteral("Date Signed:"), m_dateSigned);
    }
    layout->addLayout(consent);

    if (definition.column(QStringLiteral("Representative"))) {
        auto *box = new QGroupBox(QStringLiteral("When the patient cannot sign"));
        auto *form = new QFormLayout(box);
        m_representative = upperCaseLine(QStringLiteral("txtRepresentative"));
        m_relation = upperCaseLine(QStringLiteral("txtRelation"));
        m_minor = new QLabel;
        m_minor->setObjectName(QStringLiteral("lblMinor"));
        m_reason = upperCaseLine(QStringLiteral("txtReason"), 1000);
        form->addRow(QStringLiteral("Representative:"), m_representative);
        form->addRow(QStringLiteral("Relationship to Patient:"), m_relation);
        form->addRow(m_minor);
        form->addRow(QStringLiteral("Patient is unable to sign because"), m_reason);
        layout->addWidget(box);
    }
    layout->addStretch(1);

    auto *bottom = new QHBoxLayout;
    auto *savePrint = new QPushButton(QStringLiteral("Save/Print"));
    savePrint->setObjectName(QStringLiteral("cmdSavePrint"));
    connect(savePrint, &QPushButton::clicked, this, [this] {
        takeEdits();
        m_consent.saveAndPrint();
    });
    m_buttons = new FormButtons(
        m_consent.form(), this, [this] { takeEdits(); }, [this] { showRecord(); });
    bottom->addWidget(savePrint);
    bottom->addWidget(m_buttons, 1);
    layout->addLayout(bottom);
    resize(640, 520);
}

bool frmConsent::open(const CurrentPatientRecord &stay)
{
    if (!m_consent.open(stay))
        return false;
    m_dateTouched = false;
    m_patient->setText(m_consent.patientName().isEmpty() ? stay.PatientName
                                                          : m_consent.patientName());
    m_admission->setText(stay.IdNum.trimmed());
    showRecord();
    return true;
}

void frmConsent::takeEdits()
{
    const FormDefinition &definition = m_consent.form().definition();
    FormRecord r = m_consent.form().record();
    const auto put = [&](const QString &column, const QString &value) {
        if (definition.column(column))
            r.setText(column, value);
    };
    for (const QString &doctor : {kSurgeon, kDoctor, kAuthorized})
        put(doctor, m_surgeon->text());
    if (m_procedure)
        put(QStringLiteral("Procedure"), m_procedure->toPlainText());
    if (m_exception)
        put(QStringLiteral("Exception"), m_exception->text());
    if (m_spouse)
        put(QStringLiteral("ConsentingSpouse"), m_spouse->text());
    put(QStringLiteral("Witness"), m_witness->text());
    if (m_dateSigned) {
        // A new consent is signed today unless the nurse picks another day; the day read back
        // stays as stored while it is not changed.
        const QString stored = r.text(kDateSigned);
        const QDate shown = m_dateSigned->date();
        if (QDate::fromString(stored.left(10), Qt::ISODate) != shown &&
            (m_dateTouched || !stored.isEmpty()))
            put(kDateSigned, shown.toString(Qt::ISODate));
    }
    if (m_representative) {
        put(QStringLiteral("Representative"), m_representative->text());
        put(QStringLiteral("Relation"), m_relation->text());
        put(QStringLiteral("Reason"), m_reason->text());
    }
    m_consent.setRecord(r);
}

void frmConsent::showRecord()
{
    const FormRecord &r = m_consent.form().record();
    const FormDefinition &definition = m_consent.form().definition();
    for (const QString &doctor : {kSurgeon, kDoctor, kAuthorized}) {
        if (definition.column(doctor))
            m_surgeon->setText(r.text(doctor));
    }
    if (m_procedure)
        m_procedure->setPlainText(r.text(QStringLiteral("Procedure")));
    if (m_exception)
        m_exception->setText(r.text(QStringLiteral("Exception")));
    if (m_spouse)
        m_spouse->setText(r.text(QStringLiteral("ConsentingSpouse")));
    m_witness->setText(r.text(QStringLiteral("Witness")));
    if (m_dateSigned) {
        const QSignalBlocker quiet(m_dateSigned);
        m_dateSigned->setDate(m_consent.signingDay());
    }
    if (m_representative) {
        m_representative->setText(r.text(QStringLiteral("Representative")));
        m_relation->setText(r.text(QStringLiteral("Relation")));
        m_reason->setText(r.text(QStringLiteral("Reason")));
    }
    showAge();
}

void frmConsent::showAge()
{
    m_age->setText(m_consent.age());
    if (m_minor) {
        m_minor->setText(m_consent.minor() ? QStringLiteral("Patient is a minor %1 of age.")
                                                 .arg(m_consent.age())
                                           : QStringLiteral("Patient is a minor "
                                                            "______________________ of age."));
    }
}

} // namespace kestrel
