// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/WindowRequest.h"

#include <QHash>
#include <QString>

#include <functional>

class QWidget;

namespace kestrel {

class clsCodeLookup;
class ReportService;
class Session;

/// Builds a window for a request, or shows the one already open (`open`) when it serves the
/// same stay; answers `open` (or nullptr) when the window cannot open.
using NursingWindowFactory = std::function<QWidget *(const WindowRequest &, QWidget *open)>;

/// The windows of the OR nurses' forms by form name, each opened for the stay of the request
/// (or the selected one): the pre-operative checklist, the surgical safety checklist, the
/// pre-anaesthetic evaluation and the labour room form.
QHash<QString, NursingWindowFactory> nursingFormWindows(Session &session,
                                                        std::function<ReportService *()> reports,
                                                        std::function<clsCodeLookup *()> doctors);

} // namespace kestrel
