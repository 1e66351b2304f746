// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Notifier.h"

#include <QPointer>
#include <QWidget>

namespace kestrel {

/// The Notifier of the running program: real message boxes over the active window.
class MessageBoxNotifier : public Notifier
{
public:
    explicit MessageBoxNotifier(QWidget *parent = nullptr)
        : m_parent(parent)
    {
    }

    void message(const QString &text, const QString &title, Icon icon) override;
    bool confirm(const QString &text, const QString &title, Icon icon, Answer byDefault) override;

private:
    QPointer<QWidget> m_parent;
};

} // namespace kestrel
