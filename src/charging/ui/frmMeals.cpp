// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmMeals.h"

#include "core/ui/KeyFilter.h"

#include <QCheckBox>
#include <QDoubleValidator>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmMeals::frmMeals(const QString &description, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frmMeals"));
    setWindowTitle(QStringLiteral("Additional Amount (Doctors' Meals)"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("Procedure: ") + description, this);
    heading->setObjectName(QStringLiteral("lblProcedure"));
    layout->addWidget(heading);

    auto *fields = new QFormLayout;
    m_amount = new QLineEdit(this);
    m_amount->setObjectName(QStringLiteral("txtAmount"));
    auto *amounts = new QDoubleValidator(0, 9999999.99, 2, m_amount);
    amounts->setNotation(QDoubleValidator::StandardNotation);
    amounts->setLocale(QLocale::c());
    m_amount->setValidator(amounts);
    m_remarks = new QLineEdit(this);
    m_remarks->setObjectName(QStringLiteral("txtRemarks"));
    installUpperCase(m_remarks);
    fields->addRow(QStringLiteral("Amount:"), m_amount);
    fields->addRow(QStringLiteral("Remarks:"), m_remarks);
    layout->addLayout(fields);

    m_clear = new QCheckBox(QStringLiteral("Clear"), this);
    m_clear->setObjectName(QStringLiteral("chkClear"));
    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    ok->setDefault(true);
    auto *row = new QHBoxLayout;
    row->addWidget(m_clear);
    row->addStretch(1);
    row->addWidget(ok);
    layout->addLayout(row);

    connect(m_clear, &QCheckBox::toggled, m_amount, &QLineEdit::setDisabled);
    connect(ok, &QPushButton::clicked, this, &frmMeals::ok);
}

void frmMeals::ok()
{
    m_entry = MealEntry{m_clear->isChecked() ? QString() : m_amount->text().trimmed(),
                        m_remarks->text().trimmed()};
    accept();
}

} // namespace kestrel
