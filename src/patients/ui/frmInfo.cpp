// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/frmInfo.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/PersonalInfo.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLayoutItem>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmInfo::frmInfo(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmInfo"));
    setWindowTitle(QStringLiteral("Personal Info"));
    auto *layout = new QVBoxLayout(this);
    auto *fields = new QFormLayout;
    fields->setObjectName(QStringLiteral("fields"));
    layout->addLayout(fields);
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

bool frmInfo::load()
{
    const auto rows = PersonalInfo(m_session).rows();
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    auto *fields = findChild<QFormLayout *>(QStringLiteral("fields"));
    while (fields->rowCount() > 0)
        fields->removeRow(0);
    int index = 0;
    for (const auto &[caption, value] : *rows) {
        auto *text = new QLineEdit(value, this);
        text->setObjectName(QStringLiteral("txtInfo(%1)").arg(index++));
        text->setReadOnly(true);
        text->setMinimumWidth(360);
        fields->addRow(caption + u':', text);
    }
    return true;
}

} // namespace kestrel
