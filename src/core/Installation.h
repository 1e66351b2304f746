// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

/// What a hospital's installation supplies beside the program in `kestrel-installation.ini`:
/// the key re-validation passwords are scrambled with (the hospital database holds the same
/// key). "" when the file or the key is missing.
QString installationScrambleKey(const QString &applicationPath);

} // namespace kestrel
