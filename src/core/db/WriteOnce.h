// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "core/db/Error.h"

#include <QElapsedTimer>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

namespace kestrel {

/// How long a write keeps trying while other workstations hold what it needs.
struct RetryPolicy
{
    /// The whole time spent trying, waits included; the user is then told to try again.
    std::chrono::milliseconds budget{20000};
    int maxAttempts = 40;
    /// The first pause between attempts; it doubles (to at most `longestPause`) and is drawn at
    /// random below that, so that two workstations that collided do not collide again.
    std::chrono::milliseconds firstPause{20};
    std::chrono::milliseconds longestPause{1000};
};

/// What happened on the way to a write's answer.
struct WriteReport
{
    int attempts = 0;
    /// The connection was lost during the write, and the database was asked whether it landed.
    bool askedAfterLoss = false;
    /// The write was found by its identity: an earlier attempt (or an earlier save of the same
    /// work) had landed, and nothing was written again.
    bool foundLanded = false;
    /// The user stopped waiting for other workstations; nothing was saved.
    bool cancelled = false;
};

/// Watches a write that waits for records other workstations hold. The windows install one
/// that shows the wait's progress with a Cancel button and keeps the window answering; without
/// one a write simply sleeps between its tries.
class WaitObserver
{
public:
    virtual ~WaitObserver() = default;
    /// The write has waited `waited` of at most `budget`; false when the user cancelled.
    virtual bool waiting(std::chrono::milliseconds waited, std::chrono::milliseconds budget) = 0;
    /// Lets `pause` pass between two tries, the window answering meanwhile; false when the
    /// user cancelled.
    virtual bool nap(std::chrono::milliseconds pause) = 0;
    /// The write stopped waiting: saved, failed or cancelled.
    virtual void finished() = 0;
};

/// The observer of the writes of this program (the windows' own); nullptr for none.
void setWaitObserver(WaitObserver *observer);
WaitObserver *waitObserver();

/// A new identity for a write, made on the workstation before its first attempt and written
/// with it, so that the database can tell later whether it landed.
QString newWriteIdentity();

/// The pause before attempt `attempt` + 1 under `policy`, at random below its ceiling.
std::chrono::milliseconds retryPause(const RetryPolicy &policy, int attempt);

/// The failure told when a write waited for other workstations longer than its budget.
Error waitedTooLong(const Error &last, std::chrono::milliseconds waited);
/// The same, naming the workstation and the work that held the records when known.
Error waitedTooLong(const Error &last, std::chrono::milliseconds waited,
                    const std::optional<WorkHolder> &holder);
/// The failure told when the user stopped waiting.
Error waitCancelled(const Error &last);

namespace detail {
/// Sleeps `pause` (the retry back-off).
void pauseBeforeRetry(std::chrono::milliseconds pause);
/// While the user watches: each statement waits briefly, and the observer is told when the
/// write stops waiting.
class WatchedWrite
{
public:
    explicit WatchedWrite(Database &db);
    ~WatchedWrite();
    WatchedWrite(const WatchedWrite &) = delete;
    WatchedWrite &operator=(const WatchedWrite &) = delete;
    WaitObserver *observer() const { return m_observer; }

private:
    Database &m_db;
    WaitObserver *m_observer;
    bool m_waited = false;
    bool m_applied = false;
    friend bool waitBeforeRetry(WatchedWrite &, std::chrono::milliseconds,
                                std::chrono::milliseconds, std::chrono::milliseconds);
};
/// Waits `pause` before the next try, watched or not; false when the user cancelled.
bool waitBeforeRetry(WatchedWrite &watch, std::chrono::milliseconds pause,
                     std::chrono::milliseconds waited, std::chrono::milliseconds budget);
/// Logs an attempt given up on.
void noteRetry(const Error &error, int attempt);
} // namespace detail

/// Runs a write that must land exactly once.
///
/// `attempt` runs the whole write inside its own transaction and writes the write's identity
/// with it; `landed` asks the database by that identity whether the write is there (its answer
/// when it is). A lock conflict is tried again whole after a short random pause, within the
/// policy's budget, shown by the wait observer (which may cancel it); after the budget the
/// failure names the workstation and the work that held the records. When the connection is
/// lost the connection is opened again and `landed` asked: a write that landed is answered as
/// saved (never written twice), one that did not is tried again. When the server cannot be
/// reached to ask, the failure says the outcome is not known (FailureKind::OutcomeUnknown) or
/// that nothing was written (ConnectionLost); the caller keeps the identity and runs the same
/// write again later with `askFirst`, which asks before writing.
template <typename T>
Result<T> writeOnce(Database &db, const std::function<Result<T>(Database &)> &attempt,
                    const std::function<Result<std::optional<T>>(Database &)> &landed,
                    WriteReport *report = nullptr, const RetryPolicy &policy = {},
                    bool askFirst = false)
{
    WriteReport local;
    WriteReport &r = report ? *report : local;
    r = {};
    detail::WatchedWrite watch(db);
    QElapsedTimer clock;
    clock.start();
    auto waited = [&clock] { return std::chrono::milliseconds(clock.elapsed()); };
    // Whether the write is there already; a failure to ask keeps the write's state unknown.
    auto ask = [&](FailureKind unanswered) -> Result<std::optional<T>> {
        if (db.connectionLost()) {
            if (auto ok = db.reconnect(); !ok) {
                Error e = ok.error();
                e.kind = unanswered;
                return tl::unexpected(e);
            }
        }
        auto found = landed(db);
        if (!found) {
            Error e = found.error();
            if (e.connectionLost())
                e.kind = unanswered;
            return tl::unexpected(e);
        }
        return found;
    };
    if (askFirst) {
        auto found = ask(FailureKind::OutcomeUnknown);
        if (!found)
            return tl::unexpected(found.error());
        if (*found) {
            r.foundLanded = true;
            return std::move(**found);
        }
    }
    for (;;) {
        ++r.attempts;
        Result<T> done = attempt(db);
        if (done)
            return done;
        const Error &e = done.error();
        if (e.retryable()) {
            if (r.attempts >= policy.maxAttempts || waited() >= policy.budget)
                return tl::unexpected(waitedTooLong(e, waited(), db.holderOfWait()));
            detail::noteRetry(e, r.attempts);
            if (!detail::waitBeforeRetry(watch, retryPause(policy, r.attempts), waited(),
                                         policy.budget)) {
                r.cancelled = true;
                return tl::unexpected(waitCancelled(e));
            }
            continue;
        }
        if (!e.connectionLost())
            return done;
        r.askedAfterLoss = true;
        // Lost before the commit: nothing landed. Lost at the commit: only the identity knows.
        auto found = ask(e.kind);
        if (!found)
            return tl::unexpected(found.error());
        if (*found) {
            r.foundLanded = true;
            return std::move(**found);
        }
        if (r.attempts >= policy.maxAttempts || waited() >= policy.budget) {
            Error notSaved = e;
            notSaved.kind = FailureKind::ConnectionLost;
            return tl::unexpected(notSaved);
        }
        detail::noteRetry(e, r.attempts);
    }
}

} // namespace kestrel
