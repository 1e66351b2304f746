// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/frmUserRights.h"

#include "users/ui/UserSearchPanel.h"

#include <QCheckBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace kestrel {

frmUserRights::frmUserRights(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmUserRights"));
    buildUi();
    bind();
    m_presenter.load();
    refresh();
}

void frmUserRights::buildUi()
{
    const QString caption = QStringLiteral("Add/ Edit User Rights ");
    setWindowTitle(caption);
    auto *layout = new QVBoxLayout(this);

    auto *heading = new QLabel(caption, this);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    heading->setFont(big);
    layout->addWidget(heading);

    m_search =
        new UserSearchPanel([this](const QString &text) { return m_presenter.search(text); }, this);
    layout->addWidget(m_search);

    m_rightsFrame = new QGroupBox(QStringLiteral("2. Select User Rights"), this);
    m_rightsFrame->setObjectName(QStringLiteral("fraRights"));
    m_rights = new QListWidget(m_rightsFrame);
    m_rights->setObjectName(QStringLiteral("lstRights"));
    m_rights->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Each item carries its code far to the right of the description; the list is cut at its
    // edge so that only the description is read.
    m_rights->setTextElideMode(Qt::ElideNone);
    m_rights->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_rights->setMinimumHeight(3300 / 15);
    m_selectAll = new QCheckBox(QStringLiteral("Select &All"), m_rightsFrame);
    m_selectAll->setObjectName(QStringLiteral("chkSelectAll"));
    auto *rightsLayout = new QVBoxLayout(m_rightsFrame);
    rightsLayout->addWidget(m_rights);
    rightsLayout->addWidget(m_selectAll, 0, Qt::AlignLeft);
    layout->addWidget(m_rightsFrame, 1);

    m_save = new QPushButton(QStringLiteral("&Save"), this);
    m_save->setObjectName(QStringLiteral("cmdSave"));
    m_close = new QPushButton(QStringLiteral("&Close"), this);
    m_close->setObjectName(QStringLiteral("cmdClose"));
    // Enter searches in the code field; it must never save or close the window.
    m_save->setAutoDefault(false);
    m_close->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_save);
    buttons->addWidget(m_close);
    layout->addLayout(buttons);
    setMinimumWidth(6600 / 15);
}

void frmUserRights::bind()
{
    connect(m_search, &UserSearchPanel::employeeClicked, this, &frmUserRights::choose);
    connect(m_rights, &QListWidget::itemChanged, this, &frmUserRights::itemChanged);
    connect(m_selectAll, &QCheckBox::clicked, this, [this](bool checked) {
        m_presenter.selectAll(checked);
        refresh();
    });
    connect(m_save, &QPushButton::clicked, this, &frmUserRights::save);
    connect(m_close, &QPushButton::clicked, this, &QDialog::reject);
}

void frmUserRights::refresh()
{
    const QSignalBlocker blocker(m_rights);
    const QList<UserRights::Item> &items = m_presenter.items();
    if (m_rights->count() != items.size()) {
        m_rights->clear();
        for (const UserRights::Item &item : items) {
            auto *row = new QListWidgetItem(item.text, m_rights);
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        }
    }
    for (int i = 0; i < items.size(); ++i)
        m_rights->item(i)->setCheckState(items.at(i).ticked ? Qt::Checked : Qt::Unchecked);
    m_rightsFrame->setEnabled(m_presenter.canEdit());
    m_save->setEnabled(m_presenter.canEdit());
}

void frmUserRights::choose(const EmployeeRow &employee)
{
    m_presenter.choose(employee);
    refresh();
}

void frmUserRights::itemChanged(QListWidgetItem *item)
{
    m_presenter.setTicked(m_rights->row(item), item->checkState() == Qt::Checked);
}

void frmUserRights::save()
{
    if (m_presenter.save())
        accept();
}

} // namespace kestrel
