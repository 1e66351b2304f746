// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/ui/frmDischargeNotice.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QStyle>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kestrel {

frmDischargeNotice::frmDischargeNotice(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmDischargeNotice"));
    setWindowTitle(QStringLiteral("Discharge Notices"));
    auto *layout = new QVBoxLayout(this);
    m_list = new QTreeWidget;
    m_list->setObjectName(QStringLiteral("lvwNotice"));
    m_list->setRootIsDecorated(false);
    m_list->setUniformRowHeights(true);
    m_list->setHeaderLabels({QStringLiteral("Patient"), QStringLiteral("Room"),
                             QStringLiteral("Adm. #"), QStringLiteral("Discharge Nurse"),
                             QStringLiteral("Notice Time")});
    layout->addWidget(m_list, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    auto *select = new QPushButton(QStringLiteral("&Select"));
    select->setObjectName(QStringLiteral("cmdSelect"));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(select);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(760, 380);

    connect(select, &QPushButton::clicked, this, &frmDischargeNotice::selectCurrent);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &frmDischargeNotice::selectCurrent);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
}

bool frmDischargeNotice::load()
{
    m_list->clear();
    if (!m_presenter.load())
        return false;
    // "open" while the OR has not cleared the patient, "clear" once it has.
    const QIcon open = style()->standardIcon(QStyle::SP_FileIcon);
    const QIcon clear = style()->standardIcon(QStyle::SP_DialogApplyButton);
    for (const discharge::Notice &n : m_presenter.notices()) {
        auto *item = new QTreeWidgetItem(
            m_list, {n.patientName, n.roomId, n.idNum, n.dischargeNurse,
                     discharge::shownDateTime(n.noticeDate)});
        item->setIcon(0, n.isCleared() ? clear : open);
        item->setData(0, Qt::UserRole, n.isCleared() ? QStringLiteral("clear")
                                                     : QStringLiteral("open"));
    }
    for (int c = 0; c < m_list->columnCount(); ++c)
        m_list->resizeColumnToContents(c);
    if (m_list->topLevelItemCount() > 0)
        m_list->setCurrentItem(m_list->topLevelItem(0));
    return true;
}

void frmDischargeNotice::selectCurrent()
{
    const int row = m_list->indexOfTopLevelItem(m_list->currentItem());
    if (m_presenter.select(row))
        accept();
}

} // namespace kestrel
