// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// The keyboard indicators of an X11 display, for LockKeys.
#include <X11/XKBlib.h>

#include <optional>

namespace kestrel {

/// The named indicator ("Caps Lock", "Num Lock") of the display's core keyboard, or nothing
/// when the display has none by that name.
std::optional<bool> x11Indicator(void *display, const char *name)
{
    auto *x = static_cast<Display *>(display);
    const Atom atom = XInternAtom(x, name, True);
    if (atom == None)
        return std::nullopt;
    Bool on = False;
    if (!XkbGetNamedIndicator(x, atom, nullptr, &on, nullptr, nullptr))
        return std::nullopt;
    return on == True;
}

} // namespace kestrel
