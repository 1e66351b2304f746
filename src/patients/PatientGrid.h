// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QAbstractTableModel>
#include <QColor>
#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

namespace kestrel {

/// The grid of the patient lists (`MSHFlexList`): nine columns, the first a narrow precaution
/// swatch, then "Hospital #", "ADM. Num.", the patient's name, the admission, discharge and
/// billing dates, and two hidden columns, the cash-basis flag and the legend text.
///
/// Rows are counted as the grid counts them: row 0 is the header, the patients start at row
/// 1, and a grid that was only reset has two rows, the header and one empty row. The model
/// holds the patient rows only (model row = grid row - 1).
class PatientGrid : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column {
        Precaution = 0,
        HospitalNumber = 1,
        AdmissionNumber = 2,
        PatientName = 3,
        AdmissionDate = 4,
        DischargedDate = 5,
        BillingDate = 6,
        CashBasis = 7,
        Legend = 8,
        ColumnCount = 9
    };

    /// The grid's header as the hospital's grids describe one: "|" between columns, "<" for
    /// a column aligned left; the blanks are part of the header.
    static const QString kFormatString;
    /// Each column's width in twips; column 0 by the precaution setting.
    static int columnWidthTwips(int column, bool newPrecaution);

    // The colours of the list.
    static QColor oddRowColor();        ///< white
    static QColor evenRowColor();       ///< 0xFEE2C5
    static QColor billedTextColor();    ///< blue: billing has closed the account
    static QColor cashBasisTextColor(); ///< red: a cash-basis patient

    explicit PatientGrid(QObject *parent = nullptr);

    /// Back to two rows, the header and one empty row, without colours.
    void reset();
    /// Puts the rows of a list procedure into columns 1 to 8, in the result's column order.
    void bind(const RowSet &rows);
    /// Adds the rows of the next page of the same list after the last row.
    void append(const RowSet &rows);
    /// What reads the next page of a list that has more rows than the grid holds; the view
    /// asks for it when the user scrolls to the end. Empty: the list is whole.
    void setReadMore(std::function<void()> readMore);
    /// At least one patient: three grid rows or more, or two whose "Hospital #" is filled.
    bool holdsPatients() const;
    /// Alternating backgrounds; blue text for a billed row, whose cash-basis flag is then set
    /// to "0"; red text for a cash-basis row.
    void colourRows();
    /// Paints the first cell of each patient row from grid row `firstRow` on; `colors` is in
    /// row order, none leaves a cell.
    void paintPrecautions(const QList<std::optional<QColor>> &colors, int firstRow = 1);

    /// The number of grid rows, the header included.
    int gridRows() const { return int(m_rows.size()) + 1; }
    /// The text of a cell of grid row `row` (1 is the first patient row).
    QString text(int row, int column) const;
    /// The numeric value of a text as the hospital's grids read one: the leading number, 0
    /// when there is none.
    static double numericValue(const QString &text);
    /// Whether grid row `row` is a cash-basis patient's (hidden column 7 is 1).
    bool isCashBasis(int row) const;

    std::optional<QColor> background(int row, int column) const;
    std::optional<QColor> foreground(int row) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex &parent) const override;
    void fetchMore(const QModelIndex &parent) override;

private:
    struct GridRow
    {
        QStringList cells = QStringList(ColumnCount, QString());
        std::optional<QColor> back;
        std::optional<QColor> fore;
        std::optional<QColor> precaution;
    };
    static GridRow gridRow(const Row &r);

    QList<GridRow> m_rows;
    QStringList m_headers;
    std::function<void()> m_readMore;
};

} // namespace kestrel
