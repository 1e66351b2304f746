// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/frmListPackage.h"

#include "charging/ChargeEntry.h"
#include "core/components/Component.h"
#include "core/db/NumberFormat.h"
#include "core/ui/ReadOnlyGrid.h"
#include "core/Session.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

namespace {

QTableWidgetItem *cell(const QString &text, bool right = false)
{
    auto *item = new QTableWidgetItem(text);
    if (right)
        item->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
    return item;
}

} // namespace

frmListPackage::frmListPackage(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmListPackage"));
    setWindowTitle(QStringLiteral("List of OR Packages"));
    auto *layout = new QVBoxLayout(this);
    m_guide = new QLabel(PackageList::guide(), this);
    m_guide->setObjectName(QStringLiteral("lblGuide"));
    layout->addWidget(m_guide);

    auto *panes = new QHBoxLayout;
    m_packages = readOnlyGrid(QStringLiteral("lvwPackages"),
                              {QStringLiteral("Code"), QStringLiteral("Description"),
                               QStringLiteral("Gross")},
                              this);
    m_packages->setMinimumWidth(320);
    panes->addWidget(m_packages, 2);
    m_items = readOnlyGrid(QStringLiteral("mshflexPackageItems"),
                           {QString(), QStringLiteral("Dept"), QStringLiteral("Item#"),
                            QStringLiteral("Description"), QStringLiteral("Qty"),
                            QStringLiteral("Amount")},
                           this);
    m_items->setMinimumWidth(480);
    panes->addWidget(m_items, 3);
    layout->addLayout(panes, 1);

    auto *bottom = new QHBoxLayout;
    auto *checkFrame = new QGroupBox(this);
    auto *checkLayout = new QHBoxLayout(checkFrame);
    m_checkAll = new QRadioButton(QStringLiteral("Check All"), checkFrame);
    m_checkAll->setObjectName(QStringLiteral("optCheckAll(0)"));
    m_uncheckAll = new QRadioButton(QStringLiteral("Uncheck All"), checkFrame);
    m_uncheckAll->setObjectName(QStringLiteral("optCheckAll(1)"));
    checkLayout->addWidget(m_checkAll);
    checkLayout->addWidget(m_uncheckAll);
    bottom->addWidget(checkFrame);
    bottom->addStretch(1);
    auto *ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setObjectName(QStringLiteral("cmdOK"));
    auto *cancelPackage = new QPushButton(QStringLiteral("Cancel &Package"), this);
    cancelPackage->setObjectName(QStringLiteral("cmdCancelPackage"));
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    for (QPushButton *b : {ok, cancelPackage, close}) {
        b->setAutoDefault(false);
        bottom->addWidget(b);
    }
    layout->addLayout(bottom);
    resize(900, 480);

    connect(&m_presenter, &PackageList::changed, this, &frmListPackage::refresh);
    connect(m_packages, &QTableWidget::cellClicked, this,
            [this](int row) { m_presenter.choosePackage(row); });
    connect(m_packages, &QTableWidget::activated, this,
            [this](const QModelIndex &index) { m_presenter.choosePackage(index.row()); });
    connect(m_items, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (m_filling || item->column() != 0)
            return;
        m_presenter.setTicked(item->row(), item->checkState() == Qt::Checked);
    });
    connect(m_checkAll, &QRadioButton::clicked, this, [this] { m_presenter.checkAll(true); });
    connect(m_uncheckAll, &QRadioButton::clicked, this, [this] { m_presenter.checkAll(false); });
    connect(ok, &QPushButton::clicked, this, &frmListPackage::bringIntoGrid);
    connect(cancelPackage, &QPushButton::clicked, this, [this] {
        if (!m_openWindow) {
            tellNotAvailable(m_session.notifier(), QStringLiteral("The cancellation of packages"));
            return;
        }
        WindowRequest request;
        request.command = QStringLiteral("frmListPackage");
        request.caption = QStringLiteral("Cancel OR Package");
        request.patient = m_stay;
        m_openWindow(QStringLiteral("frmCancelPackage"), request);
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

bool frmListPackage::open(const CurrentPatientRecord &stay)
{
    m_stay = stay;
    setWindowTitle(QStringLiteral("List of OR Packages - ") + stay.PatientName.trimmed());
    return m_presenter.open(stay.IdNum);
}

void frmListPackage::refresh()
{
    m_filling = true;
    const QList<TaggedPackage> &packages = m_presenter.packages();
    m_packages->setRowCount(int(packages.size()));
    for (int i = 0; i < packages.size(); ++i) {
        m_packages->setItem(i, 0, cell(packages.at(i).code));
        m_packages->setItem(i, 1, cell(packages.at(i).description));
        m_packages->setItem(i, 2, cell(formatNumber(packages.at(i).gross, kFormatAmount), true));
    }
    if (m_presenter.chosenPackage() >= 0)
        m_packages->selectRow(m_presenter.chosenPackage());

    const QList<PackageItem> &items = m_presenter.items();
    m_items->setRowCount(int(items.size()));
    for (int i = 0; i < items.size(); ++i) {
        const PackageItem &item = items.at(i);
        auto *tick = new QTableWidgetItem;
        tick->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        tick->setCheckState(m_presenter.isTicked(i) ? Qt::Checked : Qt::Unchecked);
        m_items->setItem(i, 0, tick);
        m_items->setItem(i, 1, cell(item.revenueId));
        m_items->setItem(i, 2, cell(item.itemId));
        m_items->setItem(i, 3, cell(item.description));
        m_items->setItem(i, 4, cell(numberText(item.quantity), true));
        m_items->setItem(i, 5, cell(item.amount ? formatNumber(*item.amount, kFormatAmount)
                                                : QStringLiteral("(no price)"),
                                    true));
    }
    m_items->resizeColumnToContents(0);
    m_filling = false;
}

void frmListPackage::bringIntoGrid()
{
    if (!m_charge) {
        tellNotAvailable(m_session.notifier(),
                         QStringLiteral("Bringing package items without the charge window"));
        return;
    }
    const std::optional<QList<ChargeEntryLine>> lines = m_presenter.linesFor(m_charge->lines());
    if (!lines)
        return;
    m_charge->addPackageLines(*lines);
    close();
}

} // namespace kestrel
