// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/InstanceGuard.h"

#include <QDir>
#include <QStandardPaths>

namespace kestrel {

InstanceGuard::InstanceGuard(const QString &name, const QString &folder)
{
    QString dir = folder;
    if (dir.isEmpty())
        dir = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (dir.isEmpty())
        dir = QDir::tempPath();
    QDir().mkpath(dir);
    m_path = QDir(dir).filePath(name + QStringLiteral(".lock"));
}

bool InstanceGuard::acquire()
{
    if (m_lock && m_lock->isLocked())
        return true;
    m_lock = std::make_unique<QLockFile>(m_path);
    // A lock whose owner no longer runs is taken over at once.
    m_lock->setStaleLockTime(0);
    return m_lock->tryLock(0);
}

void InstanceGuard::release()
{
    if (m_lock)
        m_lock->unlock();
    m_lock.reset();
}

} // namespace kestrel
