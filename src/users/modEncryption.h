// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

/// The program's own reversible scrambling of a password on its way to the hospital database
/// for re-validation. Mode "E" scrambles, "D" unscrambles, any other mode gives "".
///
/// Scrambled text is the starting offset 91 as "5B", then two hexadecimal characters per
/// character of `text` (a value below 16 has a leading blank): (code + previous value) modulo
/// 255, XOR the next character of `key` taken cyclically. A character's code is the one the
/// hospital's workstations give it (hospitalCharacterCode: "€" is 128), so the characters of
/// codes 1 to 254 survive a round trip; any other character goes as "?", which is why no
/// password may hold one. The database side unscrambles with the same key.
QString Scramble(QStringView mode, QStringView key, QStringView text);

} // namespace kestrel
