// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/WriteOnce.h"

#include <QRandomGenerator>
#include <QThread>
#include <QUuid>

#include <algorithm>

namespace kestrel {

QString newWriteIdentity()
{
    return QUuid::createUuid().toString(QUuid::WithoutBraces);
}

std::chrono::milliseconds retryPause(const RetryPolicy &policy, int attempt)
{
    const qint64 first = std::max<qint64>(1, policy.firstPause.count());
    const qint64 longest = std::max<qint64>(first, policy.longestPause.count());
    const int doublings = std::clamp(attempt - 1, 0, 20);
    const qint64 ceiling = std::min(longest, first << doublings);
    // Somewhere in the upper half below the ceiling: never nothing, never in step.
    return std::chrono::milliseconds(ceiling / 2 +
                                     QRandomGenerator::global()->bounded(ceiling / 2 + 1));
}

Error waitedTooLong(const Error &last, std::chrono::milliseconds waited)
{
    Error e = last;
    e.message = QStringLiteral("Another workstation is saving to the same records and held them "
                               "for %1 seconds; nothing was saved. Please try again.")
                    .arg((waited.count() + 999) / 1000);
    return e;
}

namespace detail {

void pauseBeforeRetry(std::chrono::milliseconds pause)
{
    QThread::msleep(static_cast<unsigned long>(pause.count()));
}

void noteRetry(const Error &error, int attempt)
{
    qCInfo(lcDb) << "write tried again after attempt" << attempt << "failed:" << error.code
                 << error.message;
}

} // namespace detail

} // namespace kestrel
