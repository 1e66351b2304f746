// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/ui/frmCashCM.h"

#include "charging/ChargeLine.h"
#include "core/db/NumberFormat.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmCashCM::frmCashCM(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmCashCM"));
    setWindowTitle(QStringLiteral("Cash Credit Memo"));
    auto *layout = new QVBoxLayout(this);
    const QStringList headers = CashCreditMemo::headers();
    m_list = new QTableWidget(0, int(headers.size()), this);
    m_list->setObjectName(QStringLiteral("mshflexList"));
    m_list->setHorizontalHeaderLabels(headers);
    m_list->verticalHeader()->hide();
    m_list->horizontalHeader()->setSectionResizeMode(4, QHeaderView::Stretch);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_list, 1);
    m_total = new QLabel(this);
    m_total->setObjectName(QStringLiteral("lblTotal"));
    m_total->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    layout->addWidget(m_total);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QList<QPushButton *> commands;
    for (const QString &caption :
         {QStringLiteral("&Save"), QStringLiteral("&Refresh"), QStringLiteral("&Close")}) {
        commands << new QPushButton(caption, this);
        commands.last()->setObjectName(QStringLiteral("cmdOption"));
        buttons->addWidget(commands.last());
    }
    layout->addLayout(buttons);
    resize(900, 450);

    connect(m_list, &QTableWidget::cellClicked, this, [this](int row, int column) {
        if (column != 0)
            return;
        m_presenter.toggleTick(row);
        refresh();
    });
    connect(m_list, &QTableWidget::cellChanged, this, [this](int row, int column) {
        if (m_filling || column != 7)
            return;
        m_presenter.setAmount(row, ChargeLine::moneyOf(m_list->item(row, column)->text()));
        refresh();
    });
    connect(commands.at(0), &QPushButton::clicked, this, [this] {
        m_presenter.save();
        refresh();
    });
    connect(commands.at(1), &QPushButton::clicked, this, [this] {
        m_presenter.refresh();
        refresh();
    });
    connect(commands.at(2), &QPushButton::clicked, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            close();
    });
}

bool frmCashCM::open(const WindowRequest &request)
{
    if (!m_presenter.open(request))
        return false;
    refresh();
    return true;
}

void frmCashCM::refresh()
{
    m_filling = true;
    const QList<PaidItem> &items = m_presenter.items();
    m_list->setRowCount(int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const PaidItem &p = items.at(i);
        const QStringList cells{m_presenter.isTicked(i) ? QStringLiteral("\u2714") : QString(),
                                p.assessment,
                                p.department,
                                p.item,
                                p.description,
                                numberText(p.quantity),
                                formatNumber(p.left(), kFormatGross),
                                formatNumber(m_presenter.amountOf(i), kFormatGross)};
        for (int c = 0; c < cells.size(); ++c) {
            auto *cell = new QTableWidgetItem(cells.at(c));
            if (c != 7)
                cell->setFlags(cell->flags() & ~Qt::ItemIsEditable);
            if (c >= 5)
                cell->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            m_list->setItem(i, c, cell);
        }
    }
    m_total->setText(QStringLiteral("Total to credit: Php ") +
                     formatNumber(m_presenter.total(), kFormatGross));
    m_filling = false;
}

} // namespace kestrel
