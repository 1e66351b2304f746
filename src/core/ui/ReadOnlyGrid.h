// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>
#include <QStringList>

class QTableWidget;
class QWidget;

namespace kestrel {

/// A list the user reads and picks one row of: the columns `headers`, whole rows selected one
/// at a time, nothing typed into it, no row numbers, the last column taking the width left.
QTableWidget *readOnlyGrid(const QString &name, const QStringList &headers, QWidget *parent);

} // namespace kestrel
