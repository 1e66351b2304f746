// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

#include <optional>

namespace kestrel::admin {

/// Reads a secret. At a terminal `prompt` is shown and what is typed is not echoed; from a
/// pipe or file (scripts) one line is read. nullopt at the end of the input.
std::optional<QString> readSecret(const QString &prompt);

/// Whether the standard input is a terminal someone types at.
bool inputIsTerminal();

} // namespace kestrel::admin
