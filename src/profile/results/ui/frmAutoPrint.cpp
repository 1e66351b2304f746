// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/ui/frmAutoPrint.h"

#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTabWidget>
#include <QVBoxLayout>

namespace kestrel {

frmAutoPrint::frmAutoPrint(Session &session, ReportService *reports, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmAutoPrint"));
    setWindowTitle(QStringLiteral("Verified Results"));
    auto *layout = new QVBoxLayout(this);
    m_tabWidget = new QTabWidget;
    m_tabWidget->setObjectName(QStringLiteral("SSTab1"));
    m_caption = new QLabel;
    m_caption->setObjectName(QStringLiteral("lblProgress"));
    m_progress = new QProgressBar;
    m_progress->setObjectName(QStringLiteral("pbProgress"));
    m_progress->setTextVisible(false);

    for (const VerifiedKind &kind : VerifiedResults::kinds()) {
        Tab tab;
        tab.presenter = std::make_unique<VerifiedResults>(
            session, VerifiedResults::reportPrinter(reports), kind);
        auto *page = new QWidget;
        auto *pageLayout = new QVBoxLayout(page);
        auto *frame = new QGroupBox(QStringLiteral("List of Patients With Results"));
        auto *frameLayout = new QVBoxLayout(frame);
        frameLayout->addWidget(new QLabel(QStringLiteral("Patients with Results")));
        tab.grid = new QTableWidget(0, int(VerifiedResults::columns().size()));
        tab.grid->setObjectName(u"grd" + QString(kind.caption).remove(u'-'));
        tab.grid->setHorizontalHeaderLabels(VerifiedResults::columns());
        tab.grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
        tab.grid->setSelectionBehavior(QAbstractItemView::SelectRows);
        tab.grid->verticalHeader()->hide();
        frameLayout->addWidget(tab.grid, 1);
        pageLayout->addWidget(frame, 1);
        m_tabWidget->addTab(page, kind.caption);

        VerifiedResults *presenter = tab.presenter.get();
        QTableWidget *grid = tab.grid;
        const std::size_t index = m_tabs.size();
        connect(presenter, &VerifiedResults::listChanged, this,
                [this, index] { showList(m_tabs.at(index)); });
        connect(presenter, &VerifiedResults::progress, this,
                [this](int done, int total, const QString &caption) {
                    m_progress->setMaximum(total);
                    m_progress->setValue(done);
                    m_caption->setText(caption);
                    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
                });
        connect(grid, &QTableWidget::itemChanged, this, [presenter](QTableWidgetItem *item) {
            if (item->column() == 0)
                presenter->setTagged(item->row(), item->checkState() == Qt::Checked);
        });
        m_tabs.push_back(std::move(tab));
    }
    layout->addWidget(m_tabWidget, 1);
    layout->addWidget(m_caption);
    layout->addWidget(m_progress);

    auto *buttons = new QHBoxLayout;
    auto *tagged = new QPushButton(QStringLiteral("&Print Tagged"));
    tagged->setObjectName(QStringLiteral("cmdPrintTagged"));
    auto *all = new QPushButton(QStringLiteral("Print &All"));
    all->setObjectName(QStringLiteral("cmdPrintAll"));
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    for (QPushButton *b : {tagged, all, close})
        buttons->addWidget(b);
    layout->addLayout(buttons);
    resize(860, 520);

    connect(tagged, &QPushButton::clicked, this, [this] { currentTab().presenter->printTagged(); });
    connect(all, &QPushButton::clicked, this, [this] { currentTab().presenter->printAll(); });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
    reload();
}

void frmAutoPrint::reload()
{
    for (Tab &tab : m_tabs)
        tab.presenter->load();
}

frmAutoPrint::Tab &frmAutoPrint::currentTab()
{
    return m_tabs.at(std::size_t(std::max(m_tabWidget->currentIndex(), 0)));
}

void frmAutoPrint::showList(Tab &tab)
{
    const QSignalBlocker quiet(tab.grid);
    const QList<VerifiedResult> &results = tab.presenter->results();
    tab.grid->clearContents();
    tab.grid->setRowCount(int(results.size()));
    for (int r = 0; r < results.size(); ++r) {
        const VerifiedResult &v = results.at(r);
        auto *tag = new QTableWidgetItem;
        tag->setFlags(Qt::ItemIsUserCheckable | Qt::ItemIsEnabled);
        tag->setCheckState(v.tagged ? Qt::Checked : Qt::Unchecked);
        tab.grid->setItem(r, 0, tag);
        const QStringList cells{v.requestNum, v.idNum, v.hospNum, v.patient, v.exam, v.resultDate};
        for (int c = 0; c < cells.size(); ++c)
            tab.grid->setItem(r, c + 1, new QTableWidgetItem(cells.at(c)));
    }
    tab.grid->resizeColumnsToContents();
}

} // namespace kestrel
