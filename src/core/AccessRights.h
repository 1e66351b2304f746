// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class Session;

/// Whether the rights text of an employee ("|3|9|13") grants `code`: pieces between "|" are
/// trimmed and compared exactly; a text shorter than two characters grants nothing.
bool RightsGrant(QStringView rights, QStringView code);

/// Whether `employee` holds access right `code`. With an empty `employee` the logged-in user's
/// rights are read, except for right "20" (charge slip setting), which is always asked of the
/// employee named, so no re-validation means no right. A failed read shows the shared error
/// box and answers false.
bool HasAccessRight(Session &session, QStringView code, QStringView employee = {});

} // namespace kestrel
