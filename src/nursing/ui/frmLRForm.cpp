// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmLRForm.h"

#include "core/Session.h"
#include "nursing/NursingForms.h"
#include "nursing/ui/NursingFormWidgets.h"

#include <QCheckBox>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QSpinBox>
#include <QVBoxLayout>

namespace kestrel {

using namespace nursing;

namespace {

const QString kShown = QStringLiteral("MM/dd/yyyy hh:mm AP");

QDateTimeEdit *dateTimeEdit(const QString &name)
{
    auto *edit = new QDateTimeEdit;
    edit->setObjectName(name);
    edit->setDisplayFormat(kShown);
    edit->setCalendarPopup(true);
    return edit;
}

} // namespace

frmLRForm::frmLRForm(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_form(session, reports, labour::definition())
{
    setObjectName(QStringLiteral("frmLRForm"));
    setWindowTitle(m_form.definition().caption);
    build();
}

void frmLRForm::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    m_patient = new QLineEdit;
    m_patient->setObjectName(QStringLiteral("txtPatient"));
    m_patient->setReadOnly(true);
    m_gravida = new QSpinBox;
    m_gravida->setObjectName(QStringLiteral("txtGravida"));
    m_gravida->setRange(0, 30);
    m_para = new QSpinBox;
    m_para->setObjectName(QStringLiteral("txtPara"));
    m_para->setRange(0, 30);
    auto *gp = new QHBoxLayout;
    gp->addWidget(m_gravida);
    gp->addWidget(new QLabel(QStringLiteral("Para:")));
    gp->addWidget(m_para);
    gp->addStretch(1);
    m_labour = dateTimeEdit(QStringLiteral("dtpAdmittedLR"));
    m_delivered = new QCheckBox(QStringLiteral("Admitted to the delivery room"));
    m_delivered->setObjectName(QStringLiteral("chkAdmittedDR"));
    m_delivery = dateTimeEdit(QStringLiteral("dtpAdmittedDR"));
    connect(m_delivered, &QCheckBox::toggled, m_delivery, &QWidget::setEnabled);
    m_notifiedBy = upperCaseLine(QStringLiteral("txtNotifiedBy"));
    m_receivedBy = upperCaseLine(QStringLiteral("txtReceivedBy"));
    form->addRow(QStringLiteral("Patient:"), m_patient);
    form->addRow(QStringLiteral("Gravida:"), gp);
    form->addRow(QStringLiteral("Date/Time Admitted to Labor Room:"), m_labour);
    form->addRow(m_delivered, m_delivery);
    form->addRow(QStringLiteral("Notified By:"), m_notifiedBy);
    form->addRow(QStringLiteral("Received By:"), m_receivedBy);
    layout->addLayout(form);
    layout->addStretch(1);
    const auto touched = [this] { m_touched = true; };
    connect(m_gravida, &QSpinBox::valueChanged, this, touched);
    connect(m_para, &QSpinBox::valueChanged, this, touched);
    connect(m_labour, &QDateTimeEdit::dateTimeChanged, this, touched);
    connect(m_delivery, &QDateTimeEdit::dateTimeChanged, this, touched);
    connect(m_delivered, &QCheckBox::toggled, this, touched);
    connect(m_notifiedBy, &QLineEdit::textEdited, this, touched);
    connect(m_receivedBy, &QLineEdit::textEdited, this, touched);
    m_buttons = new FormButtons(
        m_form, this, [this] { takeEdits(); }, [this] { showRecord(); });
    layout->addWidget(m_buttons);
    resize(520, 300);
}

bool frmLRForm::open(const CurrentPatientRecord &stay)
{
    if (!m_form.open(stay))
        return false;
    m_patient->setText(stay.PatientName);
    showRecord();
    return true;
}

void frmLRForm::takeEdits()
{
    // A new form shows today's date and time; left untouched it stays empty.
    if (!m_touched && !m_form.isSaved())
        return;
    FormRecord r = m_form.record();
    r.setText(QStringLiteral("Gravida"), QString::number(m_gravida->value()));
    r.setText(QStringLiteral("Para"), QString::number(m_para->value()));
    r.setText(QStringLiteral("DTAdmittedLR"), wardDateTime(m_labour->dateTime()));
    r.setText(QStringLiteral("DTAdmittedDR"),
              m_delivered->isChecked() ? wardDateTime(m_delivery->dateTime()) : QString());
    r.setText(QStringLiteral("NotifiedBy"), m_notifiedBy->text());
    r.setText(QStringLiteral("receivedby"), m_receivedBy->text());
    m_form.setRecord(r);
}

void frmLRForm::showRecord()
{
    const FormRecord &r = m_form.record();
    const QDateTime now = m_session.ServerDate.isValid()
                              ? QDateTime(m_session.ServerDate, QTime::currentTime())
                              : QDateTime::currentDateTime();
    m_gravida->setValue(r.text(QStringLiteral("Gravida")).toInt());
    m_para->setValue(r.text(QStringLiteral("Para")).toInt());
    const QDateTime labour = fromWardDateTime(r.text(QStringLiteral("DTAdmittedLR")));
    const QDateTime delivery = fromWardDateTime(r.text(QStringLiteral("DTAdmittedDR")));
    m_labour->setDateTime(labour.isValid() ? labour : now);
    m_delivered->setChecked(delivery.isValid());
    m_delivery->setEnabled(delivery.isValid());
    m_delivery->setDateTime(delivery.isValid() ? delivery : now);
    m_notifiedBy->setText(r.text(QStringLiteral("NotifiedBy")));
    m_receivedBy->setText(r.text(QStringLiteral("receivedby")));
    m_touched = false;
}

} // namespace kestrel
