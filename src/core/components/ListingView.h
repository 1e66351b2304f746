// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/CodePickList.h"

namespace kestrel {

/// The window that shows rows for reading only (a statement of account, a patient's details)
/// until the user closes it. The running program answers with a list window, tests record
/// what was shown.
class ListingView
{
public:
    virtual ~ListingView() = default;

    virtual void show(const CodeListing &listing) = 0;
};

} // namespace kestrel
