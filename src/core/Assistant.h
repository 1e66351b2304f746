// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QSize>
#include <QString>

namespace kestrel {

/// The on-screen assistant that announces discharge notices: a small character in the corner
/// of the screen with a speech balloon, speaking aloud where the workstation has sound.
class Assistant
{
public:
    virtual ~Assistant() = default;

    /// Loads the character from `file`; false when it is missing or unreadable.
    virtual bool load(const QString &file) = 0;
    /// The character's size in pixels (valid after load()).
    virtual QSize size() const = 0;
    /// Moves the character so its top left corner is at (left, top) on the screen.
    virtual void moveTo(int left, int top) = 0;
    virtual void show() = 0;
    virtual void hide() = 0;
    /// Shows `text` in the balloon and reads it out when a voice is available.
    virtual void speak(const QString &text) = 0;
    virtual void unload() = 0;
    virtual bool isLoaded() const = 0;
};

} // namespace kestrel
