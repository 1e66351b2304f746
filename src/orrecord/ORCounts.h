// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrel {

/// One row of the count grids of the operation.
///
/// The sponge grid (type 1): the item, then on table, on floor and total of the first count
/// (what was on the field: the initial count and what was added), then on table, on floor and
/// total of the closing count. The other grid (type 2: instruments, needles, sutures): the
/// item, the count before the operation, what was added during it, their total, and the
/// closing count in the column after it.
struct ORCountLine
{
    int type = 1;
    int row = 1;         ///< 1 to 6, as the grid shows it
    QString item;
    QStringList values;  ///< the six counts as typed, column 2 to 7 of the grid
    QString countedBy;   ///< as kept: who saved the count
    QDateTime countedAt; ///< as kept: when

    QString value(int i) const { return i < values.size() ? values.at(i).trimmed() : QString(); }
    bool isEmpty() const;
    /// What should come back at the close, and what did; nullopt where not counted yet.
    std::optional<int> expected() const;
    std::optional<int> closing() const;
    /// The closing count differs from what was on the field.
    bool discrepancy() const;
    bool operator==(const ORCountLine &) const = default;
};

/// The rows each grid starts with.
QStringList spongeItems();
QStringList otherCountItems();

/// The first count typed that is not a whole number ("abc", "-1"), as the message the nurse
/// reads; empty when every count is one.
QString countEntryError(const QList<ORCountLine> &lines);

/// The lines whose closing count differs, as "ITEM: expected N, counted M".
QStringList countDiscrepancies(const QList<ORCountLine> &lines);

} // namespace kestrel
