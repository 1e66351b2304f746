// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

#include <optional>

namespace kestrel {

/// A cell of an entry grid: rows count from 1 (row 0 is the header), columns are the grid's
/// own, column 0 being the fixed column at the left.
struct GridCell
{
    int row = 0;
    int column = 0;

    friend bool operator==(const GridCell &, const GridCell &) = default;
};

/// What the owner of an entry grid answers when the user presses Enter in the cell editor.
enum class CellAnswer {
    Accept,         ///< the value is taken; the editor leaves the cell
    RefuseAndKeep,  ///< the editor stays and shows the cell as it stands
    RefuseAndEmpty, ///< the editor stays, emptied
};

/// The rules of an entry grid (charges, assessments, receivables, medicine requests): which
/// cell may be edited, what a typed value does, the prompt and the longest input of each
/// column. The grid widget asks; the window's presenter answers. Nothing here knows about
/// charging.
class EntryGridRules
{
public:
    enum class Direction { Up, Down };

    virtual ~EntryGridRules() = default;

    /// How many rows hold a line; the editor moves down no further than the last of them.
    virtual int filledRows() const = 0;
    /// Whether the editor may open on the cell.
    virtual bool mayEdit(GridCell cell) const = 0;
    /// The user pressed Enter in the editor with `text` on `cell`.
    virtual CellAnswer acceptCell(GridCell cell, const QString &text) = 0;
    /// What the prompt label says while the editor is on `column`.
    virtual QString prompt(int column) const = 0;
    /// The longest text the editor takes in `column`; 0 for no limit.
    virtual int maxLength(int column) const = 0;

    /// Where the editor goes after `cell` was accepted: the next cell of the row that may be
    /// edited, else the first column of the next row. Nothing when that cell may not be edited
    /// either.
    virtual std::optional<GridCell> nextCell(GridCell cell, int columnCount) const;

    /// Up and Down in the editor: the same column of the row above or below, when that row
    /// is a filled row and its cell may be edited. Up on row 1 and Down past the last filled
    /// row go nowhere.
    std::optional<GridCell> verticalMove(GridCell from, Direction direction) const;
};

/// Whether a typed item cell holds a code: the hospital's item codes carry digits; what has none
/// is the beginning of a name, looked up in a list.
bool looksLikeItemCode(const QString &typed);

} // namespace kestrel
