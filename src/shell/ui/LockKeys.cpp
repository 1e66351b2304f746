// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/LockKeys.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QtGui/qguiapplication_platform.h>

namespace kestrel {

// LockKeysX11.cpp: kept apart, since the X11 headers define names Qt uses.
std::optional<bool> x11Indicator(void *display, const char *name);

LockKeys::LockKeys(QObject *parent)
    : QObject(parent)
{
    if (qGuiApp)
        qGuiApp->installEventFilter(this);
    refresh();
}

void LockKeys::refresh()
{
    auto *x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    if (!x11 || !x11->display())
        return;
    if (const auto caps = x11Indicator(x11->display(), "Caps Lock"))
        set(m_caps, *caps);
    if (const auto num = x11Indicator(x11->display(), "Num Lock"))
        set(m_num, *num);
}

void LockKeys::keyPressed(const QKeyEvent &event)
{
    const QString text = event.text();
    const bool shift = event.modifiers().testFlag(Qt::ShiftModifier);
    if (event.key() == Qt::Key_CapsLock && m_caps) {
        set(m_caps, !*m_caps);
    } else if (event.key() == Qt::Key_NumLock && m_num) {
        set(m_num, !*m_num);
    } else if (text.size() == 1 && text.at(0).isLetter() &&
               text.at(0).isUpper() != text.at(0).isLower()) {
        // With Caps Lock on, Shift types the small letter.
        set(m_caps, text.at(0).isUpper() != shift);
    } else if (event.modifiers().testFlag(Qt::KeypadModifier)) {
        if (text.size() == 1 && text.at(0).isDigit())
            set(m_num, true);
        else if (text.isEmpty() && event.key() >= Qt::Key_Home && event.key() <= Qt::Key_PageDown)
            set(m_num, false);
    }
}

bool LockKeys::eventFilter(QObject *watched, QEvent *event)
{
    // Every key of the program goes past here once, on its way to the focused window.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
        keyPressed(*static_cast<QKeyEvent *>(event));
        refresh();
    }
    return QObject::eventFilter(watched, event);
}

void LockKeys::set(std::optional<bool> &key, bool on)
{
    if (key == on)
        return;
    key = on;
    Q_EMIT changed();
}

} // namespace kestrel
