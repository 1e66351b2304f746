// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "examrequests/ui/frmPrintRequestForm.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

frmPrintRequestForm::frmPrintRequestForm(Session &session, LabRequestForms::Mode mode,
                                         QWidget *parent)
    : QWidget(parent)
    , m_presenter(session, mode)
{
    setObjectName(formName(mode));
    setWindowTitle(m_presenter.caption());
    auto *layout = new QVBoxLayout(this);
    m_list = new QTableWidget(0, int(m_presenter.captions().size()), this);
    m_list->setObjectName(QStringLiteral("mshflexLab"));
    m_list->setHorizontalHeaderLabels(m_presenter.captions());
    m_list->verticalHeader()->hide();
    m_list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_list->setSelectionBehavior(QAbstractItemView::SelectRows);
    layout->addWidget(m_list, 1);
    auto *bottom = new QHBoxLayout;
    m_all = new QCheckBox(QStringLiteral("Select &All"), this);
    m_all->setObjectName(QStringLiteral("chkAll"));
    bottom->addWidget(m_all);
    bottom->addStretch(1);
    auto *print = new QPushButton(QStringLiteral("&Print"), this);
    print->setObjectName(QStringLiteral("cmdPrint"));
    auto *close = new QPushButton(QStringLiteral("&Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    bottom->addWidget(print);
    bottom->addWidget(close);
    layout->addLayout(bottom);
    connect(m_all, &QCheckBox::toggled, this, [this](bool on) {
        m_presenter.chooseAll(on);
        refresh();
    });
    connect(m_list, &QTableWidget::itemChanged, this, [this](QTableWidgetItem *item) {
        if (item->column() == 0)
            m_presenter.setChosen(item->row(), item->checkState() == Qt::Checked);
    });
    connect(print, &QPushButton::clicked, &m_presenter, &LabRequestForms::print);
    connect(close, &QPushButton::clicked, this, [this] {
        if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
            sub->close();
        else
            this->close();
    });
    connect(&m_presenter, &LabRequestForms::listChanged, this, &frmPrintRequestForm::refresh);
    resize(900, 420);
}

QString frmPrintRequestForm::formName(LabRequestForms::Mode mode)
{
    switch (mode) {
    case LabRequestForms::Mode::Print:
        return QStringLiteral("frmPrintRequestForm");
    case LabRequestForms::Mode::Reprint:
        return QStringLiteral("frmReprintLabForm");
    case LabRequestForms::Mode::ReprintWithCharges:
        return QStringLiteral("frmReprintLabFormQELM");
    }
    return QString();
}

bool frmPrintRequestForm::open(const QString &idNum)
{
    return m_presenter.open(idNum);
}

void frmPrintRequestForm::refresh()
{
    const QSignalBlocker blocker(m_list);
    m_list->setRowCount(m_presenter.count());
    for (int row = 0; row < m_presenter.count(); ++row) {
        const QStringList cells = m_presenter.cells(row);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (c == 0) {
                item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
                item->setCheckState(m_presenter.isChosen(row) ? Qt::Checked : Qt::Unchecked);
            }
            m_list->setItem(row, c, item);
        }
    }
    m_list->resizeColumnsToContents();
}

} // namespace kestrel
