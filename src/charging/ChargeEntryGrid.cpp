// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeEntryGrid.h"

#include <array>

namespace kestrel {

namespace {

// Captions of the cells, the hidden ones named for what they hold.
constexpr std::array<QStringView, ChargeEntryLine::ColumnCount> kHeaders{
    u"",        u"Dept.",       u"Item Code",        u"Description",
    u"QTY",     u"Unit Price",  u"Amount",           u"Location",
    u"AR Code", u"OR Section",  u"List Price",       u"PSI",
    u"Tank #",  u"Initial PSI", u"Last PSI",         u"Package",
    u"Mark-Up", u"Major",       u"Dosage/Procedure", u"2nd Op.",
    u"Meals",   u"Stat",        u"Frequency",        u"Doctor"};

} // namespace

ChargeEntryGrid::ChargeEntryGrid(const QList<ChargeEntryLine> &lines, QObject *parent)
    : QAbstractTableModel(parent)
    , m_lines(lines)
{
}

int ChargeEntryGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_lines.size()) + 1;
}

int ChargeEntryGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(ChargeEntryLine::ColumnCount);
}

QVariant ChargeEntryGrid::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount() || index.column() >= columnCount())
        return {};
    const int column = index.column();
    if (role == Qt::TextAlignmentRole) {
        const bool number = column == ChargeEntryLine::Quantity ||
                            column == ChargeEntryLine::UnitPrice ||
                            column == ChargeEntryLine::Amount;
        return QVariant(int(Qt::AlignVCenter) | int(number ? Qt::AlignRight : Qt::AlignLeft));
    }
    if (role != Qt::DisplayRole)
        return {};
    if (index.row() >= m_lines.size())
        return QString();
    return m_lines.at(index.row()).cell(column);
}

QVariant ChargeEntryGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    if (section < 0 || section >= int(kHeaders.size()))
        return {};
    return kHeaders[std::size_t(section)].toString();
}

void ChargeEntryGrid::reload()
{
    beginResetModel();
    endResetModel();
}

void ChargeEntryGrid::lineChanged(int row)
{
    Q_EMIT dataChanged(index(row - 1, 0), index(row - 1, columnCount() - 1));
}

} // namespace kestrel
