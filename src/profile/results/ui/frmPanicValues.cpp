// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/ui/frmPanicValues.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmPanicValues::frmPanicValues(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, reports)
{
    setObjectName(QStringLiteral("frmPanicValues"));
    setWindowTitle(QStringLiteral("Laboratory Results with Panic Values"));
    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableWidget(0, int(PanicValues::columns().size()));
    m_grid->setObjectName(QStringLiteral("mshPx"));
    m_grid->setHorizontalHeaderLabels(PanicValues::columns());
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_grid->setSelectionMode(QAbstractItemView::SingleSelection);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 1);
    auto *buttons = new QHBoxLayout;
    auto *view = new QPushButton(QStringLiteral("&View Result"));
    view->setObjectName(QStringLiteral("cmdView"));
    auto *reread = new QPushButton(QStringLiteral("&Refresh"));
    reread->setObjectName(QStringLiteral("cmdRefresh"));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    for (QPushButton *b : {view, reread, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    resize(980, 480);

    connect(view, &QPushButton::clicked, this,
            [this] { m_presenter.viewResult(m_grid->currentRow()); });
    connect(m_grid, &QTableWidget::cellDoubleClicked, this,
            [this](int row, int) { m_presenter.viewResult(row); });
    connect(reread, &QPushButton::clicked, this, &frmPanicValues::refresh);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    refresh();
}

void frmPanicValues::refresh()
{
    m_presenter.load();
    const QList<QStringList> &rows = m_presenter.rows();
    m_grid->clearContents();
    m_grid->setRowCount(int(rows.size()));
    for (int r = 0; r < rows.size(); ++r) {
        for (int c = 0; c < rows.at(r).size(); ++c)
            m_grid->setItem(r, c, new QTableWidgetItem(rows.at(r).at(c)));
    }
    m_grid->resizeColumnsToContents();
}

} // namespace kestrel
