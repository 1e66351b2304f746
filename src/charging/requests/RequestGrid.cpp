// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/RequestGrid.h"

namespace kestrel {

RequestGrid::RequestGrid(const RequestLayout &layout, const QList<RequestLine> &lines,
                         QObject *parent)
    : QAbstractTableModel(parent)
    , m_layout(layout)
    , m_lines(lines)
    , m_captions(layout.captions())
{
}

int RequestGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size()) + 1;
}

int RequestGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_layout.columns.size());
}

QVariant RequestGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const RequestField field = m_layout.field(index.column());
    if (role == Qt::TextAlignmentRole) {
        const bool number = field == RequestField::Quantity || field == RequestField::Amount ||
                            field == RequestField::UnitPrice;
        return QVariant(int(Qt::AlignVCenter) | int(number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    if (index.row() >= m_lines.size())
        return QString();
    if (field == RequestField::Number)
        return QString::number(index.row() + 1);
    return m_lines.at(index.row()).text(field);
}

QVariant RequestGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    return section >= 0 && section < m_captions.size() ? QVariant(m_captions.at(section))
                                                        : QVariant();
}

void RequestGrid::reload()
{
    beginResetModel();
    endResetModel();
}

void RequestGrid::lineChanged(int row)
{
    Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}

} // namespace kestrel
