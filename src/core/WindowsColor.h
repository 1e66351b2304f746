// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QColor>

namespace kestrel {

/// A colour as the hospital stores and writes it: a Windows colour value, blue in the high
/// byte, then green, red in the low byte (0xFEE2C5 is a pale sky blue).
inline QColor windowsColor(quint32 bgr)
{
    return QColor::fromRgb(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

} // namespace kestrel
