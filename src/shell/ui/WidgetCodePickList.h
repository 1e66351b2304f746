// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/CodePickList.h"

namespace kestrel {

/// The code pick-list of the running program: a modal list of the codes the look-up found,
/// over the active window. Enter or a double click picks the highlighted row, Esc picks none.
class WidgetCodePickList : public CodePickList
{
public:
    std::optional<int> pick(const CodeListing &listing) override;
};

} // namespace kestrel
