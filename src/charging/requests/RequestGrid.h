// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/RequestLayout.h"

#include <QAbstractTableModel>

namespace kestrel {

/// The request entry grid `mshflexEntry` as a table: one row per line and an empty row below
/// them for the next item. Model row r is grid row r + 1; the columns are the layout's.
class RequestGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    RequestGrid(const RequestLayout &layout, const QList<RequestLine> &lines,
                QObject *parent = nullptr);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    /// The lines changed in number: the grid shows them again.
    void reload();
    /// The cells of line `row` (from 1) changed.
    void lineChanged(int row);

private:
    const RequestLayout &m_layout;
    const QList<RequestLine> &m_lines;
    QStringList m_captions;
};

} // namespace kestrel
