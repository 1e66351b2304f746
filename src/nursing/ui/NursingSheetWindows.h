// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/ui/NursingWindows.h"

namespace kestrel {

/// The windows of the consents and the monitoring sheets by form name, each opened for the
/// stay of the request (or the selected one): the four consents, the hourly monitoring sheet
/// and the fluid intake and output sheet.
QHash<QString, NursingWindowFactory> nursingSheetWindows(Session &session,
                                                         std::function<ReportService *()> reports,
                                                         std::function<clsCodeLookup *()> doctors);

} // namespace kestrel
