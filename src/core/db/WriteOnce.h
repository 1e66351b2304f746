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
};

/// A new identity for a write, made on the workstation before its first attempt and written
/// with it, so that the database can tell later whether it landed.
QString newWriteIdentity();

/// The pause before attempt `attempt` + 1 under `policy`, at random below its ceiling.
std::chrono::milliseconds retryPause(const RetryPolicy &policy, int attempt);

/// The failure told when a write waited for other workstations longer than its budget.
Error waitedTooLong(const Error &last, std::chrono::milliseconds waited);

namespace detail {
/// Sleeps `pause` (the retry back-off).
void pauseBeforeRetry(std::chrono::milliseconds pause);
/// Logs an attempt given up on.
void noteRetry(const Error &error, int attempt);
} // namespace detail

/// Runs a write that must land exactly once.
///
/// `attempt` runs the whole write inside its own transaction and writes the write's identity
/// with it; `landed` asks the database by that identity whether the write is there (its answer
/// when it is). A lock conflict is tried again whole after a short random pause, within the
/// policy's budget. When the connection is lost the connection is opened again and `landed`
/// asked: a write that landed is answered as saved (never written twice), one that did not is
/// tried again. When the server cannot be reached to ask, the failure says the outcome is not
/// known (FailureKind::OutcomeUnknown) or that nothing was written (ConnectionLost); the caller
/// keeps the identity and runs the same write again later with `askFirst`, which asks before
/// writing.
template <typename T>
Result<T> writeOnce(Database &db, const std::function<Result<T>(Database &)> &attempt,
                    const std::function<Result<std::optional<T>>(Database &)> &landed,
                    WriteReport *report = nullptr, const RetryPolicy &policy = {},
                    bool askFirst = false)
{
    WriteReport local;
    WriteReport &r = report ? *report : local;
    r = {};
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
                return tl::unexpected(waitedTooLong(e, waited()));
            detail::noteRetry(e, r.attempts);
            detail::pauseBeforeRetry(retryPause(policy, r.attempts));
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
