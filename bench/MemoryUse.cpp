// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "MemoryUse.h"

#include <QFile>
#include <QString>

namespace kestrel::bench {

MemoryUse MemoryUse::now()
{
    MemoryUse m;
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return m;
    // Lines such as "VmHWM:\t  123456 kB".
    const auto kilobytes = [](const QByteArray &line) {
        return line.mid(line.indexOf(':') + 1).replace("kB", "").trimmed().toLongLong();
    };
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            m.residentKb = kilobytes(line);
        else if (line.startsWith("VmHWM:"))
            m.peakKb = kilobytes(line);
    }
    return m;
}

bool MemoryUse::resetPeak()
{
    QFile refs(QStringLiteral("/proc/self/clear_refs"));
    return refs.open(QIODevice::WriteOnly) && refs.write("5") == 1;
}

} // namespace kestrel::bench
