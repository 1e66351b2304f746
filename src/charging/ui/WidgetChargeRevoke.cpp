// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ui/WidgetChargeRevoke.h"

#include "users/ui/frmSupervisorAccessCode.h"

#include <QWidget>

namespace kestrel {

WidgetChargeRevoke::WidgetChargeRevoke(Session &session, clsDrugPicker *drugPicker,
                                       QWidget *window)
    : QObject(window)
    , m_revoke(session, drugPicker,
               [&session, window] { return frmSupervisorAccessCode::ask(session, window); })
{
}

} // namespace kestrel
