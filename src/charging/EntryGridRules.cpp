// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/EntryGridRules.h"

#include <algorithm>

namespace kestrel {

std::optional<GridCell> EntryGridRules::nextCell(GridCell cell, int columnCount) const
{
    for (int c = cell.column + 1; c < columnCount; ++c) {
        if (mayEdit({cell.row, c}))
            return GridCell{cell.row, c};
    }
    const GridCell below{cell.row + 1, 1};
    if (mayEdit(below))
        return below;
    return std::nullopt;
}

std::optional<GridCell> EntryGridRules::verticalMove(GridCell from, Direction direction) const
{
    const GridCell to{direction == Direction::Up ? from.row - 1 : from.row + 1, from.column};
    if (to.row < 1 || to.row > filledRows() || !mayEdit(to))
        return std::nullopt;
    return to;
}

bool looksLikeItemCode(const QString &typed)
{
    return std::any_of(typed.cbegin(), typed.cend(), [](QChar c) { return c.isDigit(); });
}

} // namespace kestrel
