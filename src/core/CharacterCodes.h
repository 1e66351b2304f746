// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QChar>

namespace kestrel {

/// The code a character has on the hospital's workstations, whose keyboards type the Western
/// European character set: "A" is 65, "ñ" 241, "€" 128. 0 for a character outside that set
/// (an emoji, a Greek letter), and for the two codes the password scrambling cannot carry
/// back (0 and 255).
int hospitalCharacterCode(QChar c);

/// The character with code `code` (1 to 255) in that set.
QChar hospitalCharacter(int code);

} // namespace kestrel
