// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/ListingView.h"

namespace kestrel {

/// The reading window of the running program: a modal list of rows with the lines under it,
/// over the active window, closed with Close or Esc.
class WidgetListingView : public ListingView
{
public:
    void show(const CodeListing &listing) override;
};

} // namespace kestrel
