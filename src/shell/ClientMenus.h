// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QHash>
#include <QString>

namespace kestrel {

struct HospitalSettings;
class clsSettings;

/// The menus that this hospital shows or hides at start-up, by menu name: the menus of the
/// client code `clientname` (compared exactly, case included) and the menus that follow a
/// station switch. A menu missing from the answer keeps the state it was built with; the
/// answer is applied once, before the main window is shown.
QHash<QString, bool> StartupMenuVisibility(const HospitalSettings &hospital,
                                           const clsSettings &settings);

} // namespace kestrel
