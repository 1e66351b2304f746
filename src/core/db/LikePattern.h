// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

/// A LIKE pattern matching every text that begins with what the user typed (trimmed), taken as
/// typed: "%", "_" and "\" are ordinary characters. Statements use it with `escape '\'`.
inline QString likePrefix(const QString &typed)
{
    QString escaped = typed.trimmed();
    escaped.replace(u'\\', QStringLiteral("\\\\"));
    escaped.replace(u'%', QStringLiteral("\\%"));
    escaped.replace(u'_', QStringLiteral("\\_"));
    return escaped + u'%';
}

/// The texts that begin with what the user typed (trimmed) lie between `low` (inclusive) and
/// `high` (exclusive). The two bounds let both databases walk an index of the column instead
/// of reading the whole table. Where the database orders text by code point
/// (Database::ordersTextByCodePoint) they are exactly the matching texts; elsewhere the LIKE
/// of likePrefix() decides which rows match.
struct PrefixRange
{
    QString low;
    QString high;
};
inline PrefixRange prefixRange(const QString &typed)
{
    // U+10FFFF, the last code point, sorts after every character a name holds (those beyond
    // U+FFFF too) in code point order, which is UTF-8's byte order: SQLite's and a C
    // collation's.
    const QString low = typed.trimmed();
    const char32_t last = 0x10FFFF;
    return {low, low + QString::fromUcs4(&last, 1)};
}

} // namespace kestrel
