// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/WidgetCodePickList.h"

#include <QApplication>
#include <QDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace kestrel {

std::optional<int> WidgetCodePickList::pick(const CodeListing &listing)
{
    QDialog window(QApplication::activeWindow());
    window.setObjectName(QStringLiteral("frmCodePickList"));
    window.setWindowTitle(listing.title);
    auto *layout = new QVBoxLayout(&window);
    if (!listing.typedText.isEmpty())
        layout->addWidget(new QLabel(QStringLiteral("Search: ") + listing.typedText, &window));

    auto *grid = new QTableWidget(int(listing.rows.size()), int(listing.headers.size()), &window);
    grid->setObjectName(QStringLiteral("grdCodes"));
    grid->setHorizontalHeaderLabels(listing.headers);
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setSelectionMode(QAbstractItemView::SingleSelection);
    grid->setEditTriggers(QAbstractItemView::NoEditTriggers);
    grid->verticalHeader()->hide();
    grid->horizontalHeader()->setStretchLastSection(true);
    for (int r = 0; r < listing.rows.size(); ++r) {
        const QStringList &cells = listing.rows.at(r);
        for (int c = 0; c < cells.size() && c < listing.headers.size(); ++c)
            grid->setItem(r, c, new QTableWidgetItem(cells.at(c)));
    }
    grid->resizeColumnsToContents();
    grid->setMinimumSize(560, 320);
    if (!listing.rows.isEmpty())
        grid->setCurrentCell(0, 0);
    layout->addWidget(grid, 1);

    auto *select = new QPushButton(QStringLiteral("&Select"), &window);
    select->setObjectName(QStringLiteral("cmdSelect"));
    auto *cancel = new QPushButton(QStringLiteral("&Cancel"), &window);
    cancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter on the grid picks its row; it must not press a button as well.
    select->setAutoDefault(false);
    cancel->setAutoDefault(false);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(select);
    buttons->addWidget(cancel);
    layout->addLayout(buttons);

    std::optional<int> picked;
    auto take = [&] {
        if (grid->currentRow() < 0)
            return;
        picked = grid->currentRow();
        window.accept();
    };
    QObject::connect(grid, &QTableWidget::activated, &window, take);
    QObject::connect(grid, &QTableWidget::doubleClicked, &window, take);
    QObject::connect(select, &QPushButton::clicked, &window, take);
    QObject::connect(cancel, &QPushButton::clicked, &window, &QDialog::reject);
    // Typing narrows the rows to those holding the text in any column.
    auto *filter = new QLineEdit(&window);
    filter->setObjectName(QStringLiteral("txtFilter"));
    filter->setPlaceholderText(QStringLiteral("Search"));
    layout->insertWidget(layout->indexOf(grid), filter);
    QObject::connect(filter, &QLineEdit::textChanged, &window, [grid](const QString &text) {
        int first = -1;
        for (int r = 0; r < grid->rowCount(); ++r) {
            bool shown = text.trimmed().isEmpty();
            for (int c = 0; !shown && c < grid->columnCount(); ++c) {
                const QTableWidgetItem *item = grid->item(r, c);
                shown = item && item->text().contains(text.trimmed(), Qt::CaseInsensitive);
            }
            grid->setRowHidden(r, !shown);
            if (shown && first < 0)
                first = r;
        }
        grid->setCurrentCell(first, 0);
    });
    QObject::connect(filter, &QLineEdit::returnPressed, &window, take);
    grid->setFocus();
    window.exec();
    return picked;
}

} // namespace kestrel
