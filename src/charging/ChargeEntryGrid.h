// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryLine.h"

#include <QAbstractTableModel>
#include <QList>

namespace kestrel {

/// The entry grid `mshflexEntry` as a table: one row per line and an empty row below them
/// for the next line. Model row r is grid row r + 1; model columns are the grid's columns.
class ChargeEntryGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    /// Shows `lines`, which the charge window's presenter owns and changes.
    explicit ChargeEntryGrid(const QList<ChargeEntryLine> &lines, QObject *parent = nullptr);

    /// The columns the grid shows: the fixed column and cells 1 to 6.
    static constexpr int kShownColumns = ChargeEntryLine::Amount + 1;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// The lines changed in number or content: the grid shows them again.
    void reload();
    /// One line's cells changed.
    void lineChanged(int row);

private:
    const QList<ChargeEntryLine> &m_lines;
};

} // namespace kestrel
