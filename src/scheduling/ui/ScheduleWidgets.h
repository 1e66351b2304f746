// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QList>

class QLabel;
class QLineEdit;
class QTableWidget;
class QWidget;

namespace kestrel {

class clsCodeLookup;

namespace schedulingui {

/// A read-only grid named `name` whose columns are `twips` wide (0 hides a column), rows
/// chosen whole.
QTableWidget *grid(const QString &name, const QList<int> &twips);
/// Fills `grid` with `rows`, the first field in column `firstColumn`; columns past the grid's
/// last are left out.
void fill(QTableWidget *grid, const RowSet &rows, int firstColumn = 1);
/// The doctors' pick-list for the code in `code`; the chosen doctor's code and name.
bool pickDoctor(clsCodeLookup *lookup, QLineEdit *code, QLabel *name);
/// The OR procedures' pick-list for the code in `code`.
bool pickProcedure(clsCodeLookup *lookup, QLineEdit *code, QLabel *name);

template <typename W> W *named(W *widget, const QString &name)
{
    widget->setObjectName(name);
    return widget;
}

} // namespace schedulingui
} // namespace kestrel
