// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "shell/MainMenu.h"

#include <QHash>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>

namespace kestrel {

/// The windows the main window can open, by form name ("frmSchedule"). Each subsystem
/// registers the windows it owns; the main window asks here for every window a command
/// requests, and tells the user plainly when nobody has registered it yet.
class WindowRegistry
{
public:
    /// Makes the window for `request`. `open` is the window this factory made last while it
    /// is still open, or null: every window is one shared instance, so return `open` again
    /// to bring it forward, a new widget to show it, or null when the request was served
    /// without a window (a report printed at once, a refusal told to the user).
    using Factory = std::function<QWidget *(const WindowRequest &request, QWidget *open)>;

    /// Registers (or replaces) the factory of `formName`.
    void add(const QString &formName, Factory factory);
    void remove(const QString &formName);
    bool contains(const QString &formName) const { return m_entries.contains(formName); }
    QStringList formNames() const { return m_entries.keys(); }

    /// Runs the factory of `formName`; the widget it answers is kept as the open instance.
    /// Null when there is no factory or the factory answered none.
    QWidget *make(const QString &formName, const WindowRequest &request);
    /// The open instance of `formName`, or null.
    QWidget *openInstance(const QString &formName) const;

private:
    struct Entry
    {
        Factory factory;
        QPointer<QWidget> open;
    };
    QHash<QString, Entry> m_entries;
};

} // namespace kestrel
