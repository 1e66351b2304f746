// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ui/frmPHEntry.h"

namespace kestrel {

/// "Central Supply Request Entry": the request entry of the central supply's items.
class frmCSREntry : public frmPHEntry
{
    Q_OBJECT

public:
    frmCSREntry(Session &session, RequestEntry::Components components, QWidget *parent = nullptr)
        : frmPHEntry(session, RequestForm::CentralSupply, components, parent)
    {
    }
};

} // namespace kestrel
