// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/WindowRegistry.h"

namespace kestrel {

void WindowRegistry::add(const QString &formName, Factory factory)
{
    m_entries.insert(formName, Entry{std::move(factory), nullptr});
}

void WindowRegistry::remove(const QString &formName)
{
    m_entries.remove(formName);
}

QWidget *WindowRegistry::make(const QString &formName, const WindowRequest &request)
{
    auto it = m_entries.find(formName);
    if (it == m_entries.end() || !it->factory)
        return nullptr;
    QWidget *window = it->factory(request, it->open.data());
    // Looked up again: a factory may register other windows while it runs.
    it = m_entries.find(formName);
    if (it != m_entries.end())
        it->open = window;
    return window;
}

QWidget *WindowRegistry::openInstance(const QString &formName) const
{
    const auto it = m_entries.constFind(formName);
    return it == m_entries.cend() ? nullptr : it->open.data();
}

} // namespace kestrel
