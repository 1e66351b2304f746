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

namespace {
WaitObserver *theObserver = nullptr;
} // namespace

void setWaitObserver(WaitObserver *observer)
{
    theObserver = observer;
}

WaitObserver *waitObserver()
{
    return theObserver;
}

Error waitedTooLong(const Error &last, std::chrono::milliseconds waited,
                    const std::optional<WorkHolder> &holder)
{
    QString who;
    if (holder && !holder->workstation.isEmpty())
        who = holder->work.isEmpty() ? holder->workstation
                                     : holder->workstation + QStringLiteral(", ") + holder->work;
    else if (holder && !holder->work.isEmpty())
        who = holder->work;
    Error e = last;
    e.message = QStringLiteral("The records are held by another workstation%1 and were not let "
                               "go within %2 seconds; nothing was saved.")
                    .arg(who.isEmpty() ? QString() : QStringLiteral(" (") + who + u')')
                    .arg((waited.count() + 999) / 1000);
    return e;
}

Error waitCancelled(const Error &last)
{
    Error e = last;
    e.kind = FailureKind::Other;
    e.message = QStringLiteral("Saving was cancelled while another workstation held the "
                               "records; nothing was saved.");
    return e;
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

WatchedWrite::WatchedWrite(Database &db)
    : m_db(db)
    , m_observer(waitObserver())
{
    // A failure here leaves the usual limits: the write still ends, only later.
    // Inside another transaction a changed setting would go with its rollback: left alone.
    m_applied = m_observer && !m_db.inTransaction();
    if (m_applied)
        (void)m_db.setWatchedWaits(true);
}

WatchedWrite::~WatchedWrite()
{
    if (!m_observer)
        return;
    if (m_applied)
        (void)m_db.setWatchedWaits(false);
    if (m_waited)
        m_observer->finished();
}

bool waitBeforeRetry(WatchedWrite &watch, std::chrono::milliseconds pause,
                     std::chrono::milliseconds waited, std::chrono::milliseconds budget)
{
    if (!watch.m_observer) {
        pauseBeforeRetry(pause);
        return true;
    }
    watch.m_waited = true;
    return watch.m_observer->waiting(waited, budget) && watch.m_observer->nap(pause);
}

void noteRetry(const Error &error, int attempt)
{
    qCInfo(lcDb) << "write tried again after attempt" << attempt << "failed:" << error.code
                 << error.message;
}

} // namespace detail

} // namespace kestrel
