// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/frmUser.h"

#include "users/ui/UserSearchPanel.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmUser::frmUser(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_session(session)
{
    setObjectName(QStringLiteral("frmUser"));
    buildUi();
    bind();
}

void frmUser::buildUi()
{
    setWindowTitle(QStringLiteral("Search User"));
    auto *layout = new QVBoxLayout(this);
    m_search = new UserSearchPanel(
        [this](const QString &text) { return SearchStationUsers(m_session, text); }, this);
    layout->addWidget(m_search, 1);

    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    // Enter searches in the code field; it must never close the picker.
    m_close->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    setMinimumWidth(6600 / 15);
}

void frmUser::bind()
{
    connect(m_search, &UserSearchPanel::employeeClicked, this, [this](const EmployeeRow &e) {
        m_picked = e;
        accept();
    });
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

} // namespace kestrel
