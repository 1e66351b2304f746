// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/returns/ChargeRevoke.h"

#include <QObject>

class QWidget;

namespace kestrel {

/// The charge window's revoke with the program's supervisor window, owned by the window.
class WidgetChargeRevoke : public QObject
{
    Q_OBJECT

public:
    WidgetChargeRevoke(Session &session, clsDrugPicker *drugPicker, QWidget *window);

    ChargeRevoke &revoke() { return m_revoke; }

private:
    ChargeRevoke m_revoke;
};

} // namespace kestrel
