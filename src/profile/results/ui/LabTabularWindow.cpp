// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/ui/LabTabularWindow.h"

#include "core/Notifier.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

LabTabularWindow::LabTabularWindow(Database &db, Notifier &notifier, QWidget *parent)
    : QWidget(parent)
    , m_tabular(db)
    , m_notifier(notifier)
{
    setObjectName(QStringLiteral("clsLaboratoryTabularFormat"));
    setWindowTitle(QStringLiteral("Laboratory Results"));
    auto *layout = new QVBoxLayout(this);
    m_grid = new QTableWidget;
    m_grid->setObjectName(QStringLiteral("mshflexLabTabular"));
    m_grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_grid->verticalHeader()->hide();
    layout->addWidget(m_grid, 1);
    auto *buttons = new QHBoxLayout;
    auto *close = new QPushButton(QStringLiteral("&Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addStretch();
    buttons->addWidget(close);
    layout->addLayout(buttons);
    resize(760, 520);
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

bool LabTabularWindow::open(const QString &idNum, const QString &labExamId)
{
    m_tabular.AdmissionNumber = idNum;
    m_tabular.LabExamID = labExamId;
    auto table = m_tabular.load();
    m_grid->clear();
    m_grid->clearSpans();
    if (!table) {
        m_notifier.errorBox(table.error());
        return false;
    }
    m_grid->setColumnCount(int(table->headers.size()));
    m_grid->setHorizontalHeaderLabels(table->headers);
    m_grid->setRowCount(int(table->rows.size()));
    for (int r = 0; r < table->rows.size(); ++r) {
        const QStringList &cells = table->rows.at(r);
        for (int c = 0; c < cells.size(); ++c) {
            auto *item = new QTableWidgetItem(cells.at(c));
            if (table->sectionRow.at(r)) {
                QFont bold = item->font();
                bold.setBold(true);
                item->setFont(bold);
            }
            m_grid->setItem(r, c, item);
        }
        if (table->sectionRow.at(r))
            m_grid->setSpan(r, 0, 1, int(table->headers.size()));
    }
    m_grid->resizeColumnsToContents();
    return true;
}

} // namespace kestrel
