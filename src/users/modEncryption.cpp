// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/modEncryption.h"

#include "core/CharacterCodes.h"

namespace kestrel {

namespace {

constexpr int kStartOffset = 91;
// What a workstation's keyboard set makes of a character it does not have.
constexpr int kUnknownCharacter = '?';

QString hexPair(int value)
{
    // Right-aligned in a field of two: a value below 16 gets a leading blank, not a zero.
    return QString::number(value, 16).toUpper().rightJustified(2, u' ');
}

} // namespace

QString Scramble(QStringView mode, QStringView key, QStringView text)
{
    if (key.isEmpty())
        return {};
    if (mode == u"E") {
        int offset = kStartOffset;
        QString out = hexPair(offset);
        for (qsizetype i = 0; i < text.size(); ++i) {
            const int code = hospitalCharacterCode(text.at(i));
            int value = ((code ? code : kUnknownCharacter) + offset) % 255;
            value ^= key.at(i % key.size()).unicode();
            out += hexPair(value);
            offset = value;
        }
        return out;
    }
    if (mode == u"D") {
        bool ok = false;
        int offset = text.left(2).trimmed().toInt(&ok, 16);
        if (!ok)
            return {};
        QString out;
        for (qsizetype pos = 2, i = 0; pos < text.size(); pos += 2, ++i) {
            const int c = text.mid(pos, 2).trimmed().toInt(&ok, 16);
            if (!ok)
                return {};
            const int result = c ^ key.at(i % key.size()).unicode();
            const int code = result <= offset ? 255 + result - offset : result - offset;
            out += hospitalCharacter(code);
            offset = c;
        }
        return out;
    }
    return {};
}

} // namespace kestrel
