// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmMarkUp.h"

#include "core/db/NumberFormat.h"
#include "core/Session.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kestrel {

frmMarkUp::frmMarkUp(Session &session, QWidget *parent)
    : QDialog(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmMarkUp"));
    setModal(true);
    buildUi();
    bind();
    m_presenter.load();
    fill();
}

void frmMarkUp::buildUi()
{
    setWindowTitle(QStringLiteral("Mark-Up"));
    auto *layout = new QVBoxLayout(this);

    m_grid = new QTableWidget(this);
    m_grid->setObjectName(QStringLiteral("mshFlexMarkUp"));
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setMinimumSize(4800 / 15, 2400 / 15);
    layout->addWidget(m_grid, 1);

    m_withMarkup = new QCheckBox(QStringLiteral("With Additional Mark-Up?"), this);
    m_withMarkup->setObjectName(QStringLiteral("chkMarkup"));
    m_stat = new QRadioButton(QStringLiteral("60% for STAT"), this);
    m_stat->setObjectName(QStringLiteral("opt30(0)"));
    m_scheduled = new QRadioButton(QStringLiteral("30% for Scheduled"), this);
    m_scheduled->setObjectName(QStringLiteral("opt30(1)"));
    m_holiday = new QCheckBox(QStringLiteral("Is this Day a Holiday ?"), this);
    m_holiday->setObjectName(QStringLiteral("chkHoliday"));
    layout->addWidget(m_withMarkup);
    auto *options = new QHBoxLayout;
    options->addWidget(m_stat);
    options->addWidget(m_scheduled);
    options->addStretch(1);
    layout->addLayout(options);
    layout->addWidget(m_holiday);

    m_option = new QPushButton(QStringLiteral("&OK"), this);
    m_option->setObjectName(QStringLiteral("cmdOption"));
    m_cancel = new QPushButton(QStringLiteral("Cancel"), this);
    m_cancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter on the grid chooses its row; it must not press a button as well.
    m_option->setAutoDefault(false);
    m_cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_option);
    buttons->addWidget(m_cancel);
    layout->addLayout(buttons);
}

void frmMarkUp::bind()
{
    connect(m_grid, &QTableWidget::activated, this, &frmMarkUp::chooseCurrent);
    connect(m_grid, &QTableWidget::doubleClicked, this, &frmMarkUp::chooseCurrent);
    connect(m_option, &QPushButton::clicked, this, &frmMarkUp::chooseCurrent);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void frmMarkUp::fill()
{
    const QList<MarkUp::Row> &rows = m_presenter.rows();
    const bool withOperation =
        std::any_of(rows.cbegin(), rows.cend(), [](const MarkUp::Row &r) {
            return !r.operation.isEmpty();
        });
    QStringList headers{QStringLiteral("Mark-Up Type"), QStringLiteral("MarkUp")};
    if (withOperation)
        headers << QStringLiteral("Operation");
    m_grid->setColumnCount(int(headers.size()));
    m_grid->setHorizontalHeaderLabels(headers);
    m_grid->setRowCount(int(rows.size()));
    for (int i = 0; i < rows.size(); ++i) {
        const MarkUp::Row &r = rows.at(i);
        m_grid->setItem(i, 0, new QTableWidgetItem(r.type));
        m_grid->setItem(i, 1, new QTableWidgetItem(numberText(r.markup)));
        if (withOperation)
            m_grid->setItem(i, 2, new QTableWidgetItem(r.operation));
    }
    m_grid->setColumnWidth(0, 2700 / 15);
    if (!rows.isEmpty())
        m_grid->setCurrentCell(0, 0);
    m_holiday->setChecked(m_presenter.holidayPreset());
    m_grid->setFocus();
}

void frmMarkUp::chooseCurrent()
{
    const int row = m_grid->currentRow();
    if (row < 0)
        return;
    m_presenter.choose(row);
    accept();
}

} // namespace kestrel
