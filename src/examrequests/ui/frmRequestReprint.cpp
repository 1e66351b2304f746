// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ui/frmRequestReprint.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

#include <functional>

namespace kestrel {

namespace {

QTableWidget *table(const QStringList &captions, const QString &name, QWidget *parent)
{
    auto *t = new QTableWidget(0, int(captions.size()), parent);
    t->setObjectName(name);
    t->setHorizontalHeaderLabels(captions);
    t->verticalHeader()->hide();
    t->setEditTriggers(QAbstractItemView::NoEditTriggers);
    t->setSelectionBehavior(QAbstractItemView::SelectRows);
    t->setSelectionMode(QAbstractItemView::SingleSelection);
    return t;
}

void fill(QTableWidget *t, int rows, const std::function<QStringList(int)> &cells)
{
    t->setRowCount(rows);
    for (int row = 0; row < rows; ++row) {
        const QStringList values = cells(row);
        for (int c = 0; c < values.size(); ++c)
            t->setItem(row, c, new QTableWidgetItem(values.at(c)));
    }
    t->resizeColumnsToContents();
}

} // namespace

frmRequestReprint::frmRequestReprint(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmRequestReprint"));
    setWindowTitle(QStringLiteral("Reprint Request Forms"));
    auto *layout = new QVBoxLayout(this);
    m_requests = table(RequestReprint::requestCaptions(), QStringLiteral("mshflexRequest"), this);
    m_items = table(RequestReprint::itemCaptions(), QStringLiteral("mshflexItems"), this);
    layout->addWidget(m_requests, 1);
    layout->addWidget(m_items, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    auto *print = new QPushButton(QStringLiteral("Print"), this);
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    bottom->addWidget(print);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    connect(m_requests, &QTableWidget::currentCellChanged, this,
            [this](int row) { m_presenter.choose(row); });
    connect(print, &QPushButton::clicked, &m_presenter, &RequestReprint::print);
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            this->close();
    });
    connect(&m_presenter, &RequestReprint::listChanged, this, &frmRequestReprint::refresh);
    resize(760, 460);
}

bool frmRequestReprint::open(const QString &idNum, const QString &revenue)
{
    if (!m_presenter.open(idNum, revenue))
        return false;
    setWindowTitle(m_presenter.title());
    return true;
}

void frmRequestReprint::refresh()
{
    if (m_requests->rowCount() != m_presenter.requestCount() || m_presenter.chosen() < 0) {
        const QSignalBlocker blocker(m_requests);
        fill(m_requests, m_presenter.requestCount(),
             [this](int row) { return m_presenter.requestCells(row); });
    }
    fill(m_items, m_presenter.itemCount(), [this](int row) { return m_presenter.itemCells(row); });
}

} // namespace kestrel
