// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ui/frmReportParameters.h"

#include "reports/ui/ReportPromptParts.h"

#include <QApplication>
#include <QCheckBox>
#include <QDateEdit>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

namespace {

/// "patientname" → "Patientname", "from" → "From": the field's label.
QString labelOf(const QString &name)
{
    QString text = name;
    text.replace(u'_', u' ');
    if (!text.isEmpty())
        text[0] = text.at(0).toUpper();
    return text + QStringLiteral(" :");
}

} // namespace

frmReportParameters::frmReportParameters(const QString &reportTitle,
                                         const QList<ReportParameter> &parameters,
                                         QWidget *parent)
    : QDialog(parent)
    , m_parameters(parameters)
{
    setObjectName(QStringLiteral("frmReportParameters"));
    setWindowTitle(QStringLiteral("Report Parameters"));
    setModal(true);

    auto *heading = new QLabel(reportTitle, this);
    heading->setObjectName(QStringLiteral("lblReport"));
    auto *form = new QFormLayout;
    for (const ReportParameter &p : parameters) {
        QWidget *field = nullptr;
        switch (p.type) {
        case ReportParameter::Type::Date: {
            QDateEdit *picker =
                makePromptPicker(QStringLiteral("dtp_") + p.name, QStringLiteral("MM/dd/yyyy"),
                                 this);
            picker->setDate(QDate::currentDate());
            field = picker;
            break;
        }
        case ReportParameter::Type::Flag:
            field = new QCheckBox(this);
            break;
        case ReportParameter::Type::Number:
        case ReportParameter::Type::Text:
            field = new QLineEdit(this);
            break;
        }
        if (field->objectName().isEmpty())
            field->setObjectName(QStringLiteral("txt_") + p.name);
        form->addRow(labelOf(p.name), field);
        m_fields << field;
    }
    const PromptButtons buttons = makePromptButtons(this);
    connect(buttons.ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(buttons.cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(heading);
    layout->addLayout(form);
    layout->addLayout(buttons.row);
}

QVariantList frmReportParameters::values() const
{
    QVariantList values;
    for (QWidget *field : m_fields) {
        if (auto *date = qobject_cast<QDateEdit *>(field))
            values << date->date();
        else if (auto *tick = qobject_cast<QCheckBox *>(field))
            values << tick->isChecked();
        else if (auto *line = qobject_cast<QLineEdit *>(field))
            values << line->text();
    }
    return values;
}

std::optional<QVariantList> WidgetParameterPrompt::askParameters(const QString &reportTitle,
                                                              const QList<ReportParameter> &missing)
{
    frmReportParameters dialog(reportTitle, missing, QApplication::activeWindow());
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.values();
}

} // namespace kestrel
