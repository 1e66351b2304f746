// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ui/ScheduleWidgets.h"

#include "core/components/clsCodeLookup.h"
#include "core/components/PatientRecords.h"

#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QTableWidget>

namespace kestrel::schedulingui {

QTableWidget *grid(const QString &name, const QList<int> &twips)
{
    auto *g = new QTableWidget(0, int(twips.size()));
    g->setObjectName(name);
    g->setSelectionBehavior(QAbstractItemView::SelectRows);
    g->setSelectionMode(QAbstractItemView::SingleSelection);
    g->setEditTriggers(QAbstractItemView::NoEditTriggers);
    g->verticalHeader()->hide();
    for (int c = 0; c < twips.size(); ++c) {
        // 15 twips to a pixel on the hospital's screens.
        g->setColumnWidth(c, std::max(twips.at(c) / 15, 1));
        g->setColumnHidden(c, twips.at(c) == 0);
    }
    return g;
}

void fill(QTableWidget *grid, const RowSet &rows, int firstColumn)
{
    grid->clearContents();
    grid->setRowCount(int(rows.count()));
    const QStringList names = rows.columnNames();
    // The first column only marks the chosen row.
    for (int c = 0; c < firstColumn; ++c)
        grid->setHorizontalHeaderItem(c, new QTableWidgetItem(QString()));
    for (int c = 0; c < names.size() && c + firstColumn < grid->columnCount(); ++c)
        grid->setHorizontalHeaderItem(c + firstColumn, new QTableWidgetItem(names.at(c)));
    for (int r = 0; r < rows.count(); ++r) {
        const Row &row = rows.at(r);
        for (int c = 0; c < row.columnCount() && c + firstColumn < grid->columnCount(); ++c)
            grid->setItem(r, c + firstColumn, new QTableWidgetItem(row.value(c).toString()));
    }
}

bool pickDoctor(clsCodeLookup *lookup, QLineEdit *code, QLabel *name)
{
    if (!lookup || !lookup->SearchListing(1, code->text().trimmed()))
        return false;
    const DoctorRecord &d = lookup->DoctorRecord();
    code->setText(d.ResultCode);
    name->setText(completeName(d.LastName, d.FirstName, d.MiddleName));
    return true;
}

bool pickProcedure(clsCodeLookup *lookup, QLineEdit *code, QLabel *name)
{
    if (!lookup)
        return false;
    lookup->setOtherSectionID(QStringLiteral("OR"));
    if (!lookup->SearchListing(21, code->text().trimmed()))
        return false;
    code->setText(lookup->OtherRevenueRecord().ResultCode);
    name->setText(lookup->OtherRevenueRecord().OtherRevenue);
    return true;
}

} // namespace kestrel::schedulingui
