// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/CharacterCodes.h"

#include <array>

namespace kestrel {

namespace {

// Codes 128 to 159 hold the euro sign, typographic quotes and dashes and a few letters; the
// five codes the set leaves free stand for themselves.
constexpr std::array<char16_t, 32> kHighCodes{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

int hospitalCharacterCode(QChar c)
{
    const char16_t u = c.unicode();
    if ((u >= 1 && u < 0x80) || (u >= 0xA0 && u < 0xFF))
        return u;
    for (std::size_t i = 0; i < kHighCodes.size(); ++i) {
        if (kHighCodes[i] == u)
            return int(0x80 + i);
    }
    return 0;
}

QChar hospitalCharacter(int code)
{
    if (code >= 0x80 && code < 0xA0)
        return QChar(kHighCodes[std::size_t(code - 0x80)]);
    return QChar(code);
}

} // namespace kestrel
