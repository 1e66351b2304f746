// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsKeyFilter.h"

#include <QChar>

namespace kestrel {

clsKeyFilter::clsKeyFilter(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

int clsKeyFilter::AllUppers(int key)
{
    // Only characters of the basic plane are typed into the hospital's fields; a letter whose
    // capital would not fit one character (the German sharp s) stays as typed.
    if (key <= 0 || key > 0xFFFF)
        return key;
    const QChar c{char16_t(key)};
    if (!c.isLetter())
        return key;
    return c.toUpper().unicode();
}

int clsKeyFilter::IsNumber(int key)
{
    if ((key >= '0' && key <= '9') || key == kBackspace)
        return key;
    return 0;
}

} // namespace kestrel
