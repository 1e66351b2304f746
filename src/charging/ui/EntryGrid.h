// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/EntryGridRules.h"

#include <QPointer>
#include <QTableView>

class QLabel;
class QLineEdit;
class QTreeWidget;

namespace kestrel {

/// An entry grid: a table whose cells are typed through a one-line editor laid over the
/// current cell, with a prompt label that tells what to type in each column. Letters turn to
/// capitals as they are typed. Enter hands the text to the owner's rules, which accept it or
/// refuse it; Esc leaves the cell as it was; Up and Down take the editor to the same column of
/// the row above or below when the rules allow. Clicking a cell, Enter or typing on the grid
/// opens the editor there.
///
/// Every decision is the rules'; the grid only shows the model and moves the editor.
class EntryGrid : public QTableView
{
    Q_OBJECT

public:
    /// Shows `model`, whose row r is grid row r + 1, and edits it under `rules`.
    EntryGrid(QAbstractItemModel &model, EntryGridRules &rules, QWidget *parent = nullptr);

    /// The label that shows the prompt of the column being edited (the window's own).
    void setPromptLabel(QLabel *label) { m_prompt = label; }
    QLineEdit *editor() const { return m_editor; }
    bool isEditing() const;
    /// The cell the editor is on, or the current cell.
    GridCell currentCell() const;

    /// Opens the editor on `cell` with the cell's text; false when the rules forbid it.
    bool editCell(GridCell cell);
    /// Hides the editor; what was typed is dropped.
    void cancelEdit();

    /// Where the editor lies over a cell: 25 twips in from the cell's left and top, the
    /// column's width less 20 twips, the cell's height.
    static QRect editorGeometry(const QRect &cell);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    void enterPressed();
    void placeEditor();
    QModelIndex indexOf(GridCell cell) const;

    QAbstractItemModel &m_model;
    EntryGridRules &m_rules;
    QLineEdit *m_editor = nullptr;
    QPointer<QLabel> m_prompt;
    GridCell m_editing;
};

/// The charge entry's grid as the charge and assessment windows show it: its shown columns at
/// their widths, the others hidden, and room for a dozen lines.
void showChargeEntryColumns(EntryGrid &grid);

/// The list of departments ("Code", "Department") beside a charge entry grid.
QTreeWidget *makeDepartmentList(QWidget *parent);

} // namespace kestrel
