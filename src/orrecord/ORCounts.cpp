// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/ORCounts.h"

namespace kestrel {

namespace {

std::optional<int> count(const QString &text)
{
    if (text.isEmpty())
        return std::nullopt;
    bool ok = false;
    const int n = text.toInt(&ok);
    if (!ok || n < 0)
        return std::nullopt;
    return n;
}

// A total typed, else the sum of on table and on floor when both are typed.
std::optional<int> total(const ORCountLine &l, int first)
{
    if (auto t = count(l.value(first + 2)))
        return t;
    const auto table = count(l.value(first));
    const auto floor = count(l.value(first + 1));
    if (table && floor)
        return *table + *floor;
    return std::nullopt;
}

} // namespace

bool ORCountLine::isEmpty() const
{
    for (int i = 0; i < 6; ++i) {
        if (!value(i).isEmpty())
            return false;
    }
    return true;
}

std::optional<int> ORCountLine::expected() const
{
    // Both grids: the total typed, else the sum of the two counts before it.
    return total(*this, 0);
}

std::optional<int> ORCountLine::closing() const
{
    return type == 1 ? total(*this, 3) : count(value(3));
}

bool ORCountLine::discrepancy() const
{
    const auto want = expected();
    const auto got = closing();
    return want && got && *want != *got;
}

QStringList spongeItems()
{
    return {QStringLiteral("ABDOMINAL PACK"), QStringLiteral("CHERRIES"),
            QStringLiteral("PEANUTS"),        QStringLiteral("OS"),
            QStringLiteral("COTTONOIDS"),     QStringLiteral("GAUZE")};
}

QStringList otherCountItems()
{
    return {QStringLiteral("INSTRUMENT COUNT"), QStringLiteral("NEEDLE COUNT"),
            QStringLiteral("SUTURES")};
}

QString countEntryError(const QList<ORCountLine> &lines)
{
    for (const ORCountLine &l : lines) {
        for (int i = 0; i < 6; ++i) {
            if (!l.value(i).isEmpty() && !count(l.value(i)))
                return QStringLiteral("The count \"%1\" of %2 is not a whole number. Please "
                                      "enter the number counted.")
                    .arg(l.value(i), l.item);
        }
    }
    return {};
}

QStringList countDiscrepancies(const QList<ORCountLine> &lines)
{
    QStringList out;
    for (const ORCountLine &l : lines) {
        if (l.discrepancy())
            out << QStringLiteral("%1: expected %2, counted %3")
                       .arg(l.item)
                       .arg(*l.expected())
                       .arg(*l.closing());
    }
    return out;
}

} // namespace kestrel
