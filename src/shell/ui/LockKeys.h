// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QObject>

#include <optional>

class QKeyEvent;

namespace kestrel {

/// The state of the Caps Lock and Num Lock keys, for the status bar's "CAPS" and "NUM" panels.
/// On an X11 display the keyboard's own indicators are read; elsewhere the state is learnt
/// from what the keys type (a capital letter without Shift means Caps Lock is on, a digit
/// from the keypad means Num Lock is on) and from presses of the lock keys themselves.
class LockKeys : public QObject
{
    Q_OBJECT

public:
    explicit LockKeys(QObject *parent = nullptr);

    /// On, off, or not known yet (no indicator to read and no telling key typed).
    std::optional<bool> capsLock() const { return m_caps; }
    std::optional<bool> numLock() const { return m_num; }

    /// Reads the keyboard's indicators where the display has them.
    void refresh();
    /// Learns from one key the user pressed.
    void keyPressed(const QKeyEvent &event);

Q_SIGNALS:
    void changed();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void set(std::optional<bool> &key, bool on);

    std::optional<bool> m_caps;
    std::optional<bool> m_num;
};

} // namespace kestrel
