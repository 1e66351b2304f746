// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace kestrel {

/// One copy of the program per user on a workstation: the first copy holds a lock file in
/// the user's runtime folder until it ends; a second copy finds it held. A copy that crashed
/// leaves a stale lock, which the next start takes over.
class InstanceGuard
{
public:
    /// `name` tells programs apart; tests give their own folder.
    explicit InstanceGuard(const QString &name = QStringLiteral("kestrel-or"),
                           const QString &folder = {});

    /// True when this is the only running copy (the lock is now held).
    bool acquire();
    void release();
    QString lockPath() const { return m_path; }

private:
    QString m_path;
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace kestrel
