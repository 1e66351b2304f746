// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "patients/SearcherPickList.h"

namespace kestrel {

/// The code search list of the running program: the window `frmSearcher`, modal over the
/// active window.
class WidgetSearcherPickList : public SearcherPickList
{
public:
    void show(SearcherList &list) override;
};

} // namespace kestrel
