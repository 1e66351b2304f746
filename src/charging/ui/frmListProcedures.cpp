// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmListProcedures.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmListProcedures::frmListProcedures(const QList<ORProcedure> &procedures, QWidget *parent)
    : QDialog(parent)
    , m_procedures(procedures)
{
    setObjectName(QStringLiteral("frmListProcedures"));
    setWindowTitle(QStringLiteral("List Of OR Procedures"));
    setModal(true);
    auto *layout = new QVBoxLayout(this);

    m_grid = new QTableWidget(int(procedures.size()), 2, this);
    m_grid->setObjectName(QStringLiteral("mshFlexProcedures"));
    m_grid->setHorizontalHeaderLabels({QStringLiteral("Code"), QStringLiteral("Procedure")});
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setColumnWidth(0, 1200 / 15);
    m_grid->setMinimumSize(6000 / 15, 3600 / 15);
    for (int i = 0; i < procedures.size(); ++i) {
        m_grid->setItem(i, 0, new QTableWidgetItem(procedures.at(i).ItemID));
        m_grid->setItem(i, 1, new QTableWidgetItem(procedures.at(i).ItemName));
    }
    if (!procedures.isEmpty())
        m_grid->setCurrentCell(0, 0);
    layout->addWidget(m_grid, 1);

    m_option = new QPushButton(QStringLiteral("&OK"), this);
    m_option->setObjectName(QStringLiteral("cmdOption"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter on the grid takes its row; it must not press a button as well.
    m_option->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_option);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);

    connect(m_grid, &QTableWidget::activated, this, &frmListProcedures::takeCurrent);
    connect(m_grid, &QTableWidget::doubleClicked, this, &frmListProcedures::takeCurrent);
    connect(m_option, &QPushButton::clicked, this, &frmListProcedures::takeCurrent);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    m_grid->setFocus();
}

void frmListProcedures::takeCurrent()
{
    const int row = m_grid->currentRow();
    if (row < 0 || row >= m_procedures.size())
        return;
    m_chosen = m_procedures.at(row).ItemID;
    accept();
}

} // namespace kestrel
