// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

namespace kestrel {

class SearcherList;

/// Where the code search list is shown. The running program shows the window `frmSearcher`;
/// tests pick a row by script.
class SearcherPickList
{
public:
    virtual ~SearcherPickList() = default;

    /// Shows `list` (its Query, Criteria and SearchCaption set) modally and returns when it
    /// closes; `list.Valid()` then tells whether a row was picked.
    virtual void show(SearcherList &list) = 0;
};

} // namespace kestrel
