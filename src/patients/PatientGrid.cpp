// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/PatientGrid.h"

#include "core/WindowsColor.h"

#include <QRegularExpression>

#include <algorithm>
#include <array>

namespace kestrel {

namespace {

// Column widths in twips from column 1 on; column 0 depends on the precaution setting, and
// the last two columns are there to be read, not seen.
constexpr std::array<int, PatientGrid::ColumnCount - 1> kWidths{960,  960,  3840, 2160,
                                                                2160, 2160, 1,    1};

} // namespace

const QString PatientGrid::kFormatString =
    QStringLiteral("  |<Hospital #|<ADM. Num.|< Patient Name                    |<Admission Date "
                   "    |<Discharged Date    |<Billing Date       ");

int PatientGrid::columnWidthTwips(int column, bool newPrecaution)
{
    if (column == Precaution)
        return newPrecaution ? 1 : 200;
    if (column < 1 || column >= ColumnCount)
        return 0;
    return kWidths[std::size_t(column - 1)];
}

QColor PatientGrid::oddRowColor()
{
    return windowsColor(0xFFFFFF);
}

QColor PatientGrid::evenRowColor()
{
    return windowsColor(0xFEE2C5);
}

QColor PatientGrid::billedTextColor()
{
    return windowsColor(0xFF0000);
}

QColor PatientGrid::cashBasisTextColor()
{
    return windowsColor(0x0000FF);
}

PatientGrid::PatientGrid(QObject *parent)
    : QAbstractTableModel(parent)
{
    // "<" aligns a column left; the text after it, blanks and all, is the header.
    for (const QString &piece : kFormatString.split(u'|')) {
        const bool aligned =
            piece.startsWith(u'<') || piece.startsWith(u'>') || piece.startsWith(u'^');
        m_headers << (aligned ? piece.mid(1) : piece);
    }
    while (m_headers.size() < ColumnCount)
        m_headers << QString();
    m_rows.append(GridRow());
}

void PatientGrid::reset()
{
    beginResetModel();
    m_rows = {GridRow()};
    m_readMore = nullptr;
    endResetModel();
}

PatientGrid::GridRow PatientGrid::gridRow(const Row &r)
{
    GridRow row;
    for (int c = 0; c < ColumnCount - 1 && c < r.columnCount(); ++c) {
        const QVariant v = r.value(c);
        row.cells[c + 1] = v.isNull() ? QString() : v.toString();
    }
    return row;
}

void PatientGrid::bind(const RowSet &rows)
{
    beginResetModel();
    m_rows.clear();
    m_readMore = nullptr;
    for (const Row &r : rows)
        m_rows.append(gridRow(r));
    if (m_rows.isEmpty())
        m_rows.append(GridRow());
    endResetModel();
}

void PatientGrid::append(const RowSet &rows)
{
    if (rows.isEmpty())
        return;
    beginInsertRows({}, rowCount(), rowCount() + rows.count() - 1);
    for (const Row &r : rows)
        m_rows.append(gridRow(r));
    endInsertRows();
}

void PatientGrid::setReadMore(std::function<void()> readMore)
{
    m_readMore = std::move(readMore);
}

bool PatientGrid::canFetchMore(const QModelIndex &parent) const
{
    return !parent.isValid() && m_readMore != nullptr;
}

void PatientGrid::fetchMore(const QModelIndex &parent)
{
    // A copy: the reader clears m_readMore when it has read the last page.
    if (canFetchMore(parent)) {
        const std::function<void()> readMore = m_readMore;
        readMore();
    }
}

bool PatientGrid::holdsPatients() const
{
    return gridRows() >= 3 || (gridRows() == 2 && !text(1, HospitalNumber).isEmpty());
}

void PatientGrid::colourRows()
{
    for (int i = 0; i < m_rows.size(); ++i) {
        GridRow &row = m_rows[i];
        const int gridRow = i + 1;
        row.back = gridRow % 2 == 1 ? oddRowColor() : evenRowColor();
        row.fore.reset();
        // A billed account is shown as billed, whatever else it is.
        if (!row.cells.at(BillingDate).isEmpty()) {
            row.fore = billedTextColor();
            row.cells[CashBasis] = QStringLiteral("0");
        }
        if (numericValue(row.cells.at(CashBasis)) == 1)
            row.fore = cashBasisTextColor();
    }
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, ColumnCount - 1));
}

void PatientGrid::paintPrecautions(const QList<std::optional<QColor>> &colors, int firstRow)
{
    const int first = std::max(firstRow, 1) - 1;
    for (int i = 0; first + i < m_rows.size() && i < colors.size(); ++i) {
        if (colors.at(i))
            m_rows[first + i].precaution = colors.at(i);
    }
    if (!m_rows.isEmpty())
        Q_EMIT dataChanged(index(0, Precaution), index(rowCount() - 1, Precaution));
}

QString PatientGrid::text(int row, int column) const
{
    if (row < 1 || row > m_rows.size() || column < 0 || column >= ColumnCount)
        return {};
    return m_rows.at(row - 1).cells.at(column);
}

double PatientGrid::numericValue(const QString &text)
{
    static const QRegularExpression number(QStringLiteral("^\\s*[-+]?(\\d+\\.?\\d*|\\.\\d+)"));
    const QRegularExpressionMatch m = number.match(text);
    return m.hasMatch() ? m.captured(0).trimmed().toDouble() : 0;
}

bool PatientGrid::isCashBasis(int row) const
{
    return numericValue(text(row, CashBasis)) == 1;
}

std::optional<QColor> PatientGrid::background(int row, int column) const
{
    if (row < 1 || row > m_rows.size())
        return std::nullopt;
    const GridRow &r = m_rows.at(row - 1);
    if (column == Precaution && r.precaution)
        return r.precaution;
    return r.back;
}

std::optional<QColor> PatientGrid::foreground(int row) const
{
    if (row < 1 || row > m_rows.size())
        return std::nullopt;
    return m_rows.at(row - 1).fore;
}

int PatientGrid::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int PatientGrid::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant PatientGrid::data(const QModelIndex &index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const int row = index.row() + 1;
    switch (role) {
    case Qt::DisplayRole:
        return text(row, index.column());
    case Qt::BackgroundRole:
        if (auto c = background(row, index.column()))
            return *c;
        return {};
    case Qt::ForegroundRole:
        if (auto c = foreground(row))
            return *c;
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant PatientGrid::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= ColumnCount)
        return QAbstractTableModel::headerData(section, orientation, role);
    if (role == Qt::DisplayRole)
        return m_headers.at(section);
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

} // namespace kestrel
