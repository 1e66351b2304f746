// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/ui/WidgetSearcherPickList.h"

#include "patients/ui/frmSearcher.h"

#include <QApplication>

namespace kestrel {

void WidgetSearcherPickList::show(SearcherList &list)
{
    frmSearcher window(list, QApplication::activeWindow());
    window.exec();
}

} // namespace kestrel
