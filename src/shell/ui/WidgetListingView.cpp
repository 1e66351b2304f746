// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/WidgetListingView.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

void WidgetListingView::show(const CodeListing &listing)
{
    QDialog window(QApplication::activeWindow());
    window.setObjectName(QStringLiteral("frmListingView"));
    window.setWindowTitle(listing.title);
    auto *layout = new QVBoxLayout(&window);

    auto *grid = new QTableWidget(int(listing.rows.size()), int(listing.headers.size()), &window);
    grid->setObjectName(QStringLiteral("grdListing"));
    grid->setHorizontalHeaderLabels(listing.headers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < listing.rows.size(); ++r) {
        const QStringList &cells = listing.rows.at(r);
        for (int c = 0; c < cells.size() && c < listing.headers.size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
    grid->resizeColumnsToContents();
    grid->setMinimumSize(640, 360);
    layout->addWidget(grid, 1);
    for (const QString &note : listing.notes)
        layout->addWidget(new QLabel(note, &window));

    auto *close = new QPushButton(QStringLiteral("&Close"), &window);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(close);
    layout->addLayout(buttons);
    QObject::connect(close, &QPushButton::clicked, &window, &QDialog::accept);
    window.exec();
}

} // namespace kestrel
