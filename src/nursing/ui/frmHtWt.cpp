// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/ui/frmHtWt.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>

namespace kestrel {

frmHtWt::frmHtWt(const QString &height, const QString &weight, Save save, QWidget *parent)
    : QDialog(parent)
    , m_height(new QLineEdit(height))
    , m_weight(new QLineEdit(weight))
    , m_save(std::move(save))
{
    setObjectName(QStringLiteral("frmHtWt"));
    setWindowTitle(QStringLiteral("Height and Weight Entry"));
    m_height->setObjectName(QStringLiteral("txtHeight"));
    m_weight->setObjectName(QStringLiteral("txtWeight"));
    m_height->setMaxLength(6);
    m_weight->setMaxLength(6);
    auto *form = new QFormLayout(this);
    form->addRow(QStringLiteral("Height (cm)"), m_height);
    form->addRow(QStringLiteral("Weight (kg)"), m_weight);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Save | QDialogButtonBox::Cancel);
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(buttons, &QDialogButtonBox::accepted, this, [this] {
        if (m_save && m_save(m_height->text(), m_weight->text()))
            accept();
    });
}

} // namespace kestrel
