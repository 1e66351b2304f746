// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmCancelPackage.h"

#include "core/db/NumberFormat.h"
#include "core/ui/ReadOnlyGrid.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

// The legend's colours: the items the stay used, and those recorded as not used.
const QColor kSelectedItem(0xDD, 0xEE, 0xFF);
const QColor kUnusedItem(0xFF, 0xE4, 0xC4);

QLabel *legend(const QString &text, const QColor &colour, QWidget *parent)
{
    auto *label = new QLabel(text, parent);
    label->setAutoFillBackground(true);
    QPalette p = label->palette();
    p.setColor(QPalette::Window, colour);
    label->setPalette(p);
    label->setMargin(3);
    return label;
}

} // namespace

frmCancelPackage::frmCancelPackage(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmCancelPackage"));
    setWindowTitle(QStringLiteral("Cancel OR Package"));
    auto *layout = new QVBoxLayout(this);
    auto *guide = new QLabel(PackageCancellation::guide(), this);
    guide->setObjectName(QStringLiteral("lblGuide"));
    layout->addWidget(guide);
    auto *panes = new QHBoxLayout;
    m_packages = readOnlyGrid(QStringLiteral("mshflexPackage"),
                              {QStringLiteral("ChargeSlip"), QStringLiteral("Package"),
                               QStringLiteral("Amount")},
                              this);
    panes->addWidget(m_packages, 2);
    m_items = readOnlyGrid(QStringLiteral("mshflexPackageItems"),
                           {QStringLiteral("Dept"), QStringLiteral("Item#"),
                            QStringLiteral("Description"), QStringLiteral("Qty"),
                            QStringLiteral("Amt"), QStringLiteral("ChargeSlip"),
                            QStringLiteral("Charge Date/Time")},
                           this);
    panes->addWidget(m_items, 5);
    layout->addLayout(panes, 1);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(legend(QStringLiteral("Selected Item"), kSelectedItem, this));
    bottom->addWidget(legend(QStringLiteral("Un-used Item"), kUnusedItem, this));
    bottom->addStretch(1);
    auto *cancel = new QPushButton(QStringLiteral("Cancel"), this);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    auto *exit = new QPushButton(QStringLiteral("Exit"), this);
    exit->setObjectName(QStringLiteral("cmdExit"));
    for (QPushButton *b : {cancel, exit}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);
    resize(960, 440);

    connect(&m_presenter, &PackageCancellation::changed, this, &frmCancelPackage::refresh);
    connect(m_packages, &QTableWidget::cellClicked, this,
            [this](int row) { m_presenter.choosePackage(row); });
    connect(m_packages, &QTableWidget::activated, this,
            [this](const QModelIndex &index) { m_presenter.choosePackage(index.row()); });
    connect(cancel, &QPushButton::clicked, this, [this] { m_presenter.cancel(); });
    connect(exit, &QPushButton::clicked, this, &QWidget::close);
}

bool frmCancelPackage::open(const CurrentPatientRecord &stay)
{
    setWindowTitle(QStringLiteral("Cancel OR Package - ") + stay.PatientName.trimmed());
    return m_presenter.open(stay.IdNum);
}

void frmCancelPackage::refresh()
{
    const QList<PostedPackage> &packages = m_presenter.packages();
    m_packages->setRowCount(int(packages.size()));
    for (int i = 0; i < packages.size(); ++i) {
        m_packages->setItem(i, 0, new QTableWidgetItem(packages.at(i).chargeSlip));
        m_packages->setItem(i, 1, new QTableWidgetItem(packages.at(i).packageId));
        m_packages->setItem(i, 2, new QTableWidgetItem(formatNumber(packages.at(i).amount,
                                                                    kFormatAmount)));
    }
    if (m_presenter.chosenPackage() >= 0)
        m_packages->selectRow(m_presenter.chosenPackage());
    const QList<PostedPackageItem> &items = m_presenter.items();
    m_items->setRowCount(int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const PostedPackageItem &item = items.at(i);
        const QStringList cells{item.department,
                                item.item,
                                item.description,
                                numberText(item.quantity),
                                formatNumber(item.amount, kFormatAmount),
                                item.chargeSlip,
                                item.when.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"))};
        for (int c = 0; c < cells.size(); ++c) {
            auto *cell = new QTableWidgetItem(cells.at(c));
            cell->setBackground(item.unused ? kUnusedItem : kSelectedItem);
            m_items->setItem(i, c, cell);
        }
    }
}

} // namespace kestrel
