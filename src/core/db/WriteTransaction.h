// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "core/db/WriteOnce.h"

#include <type_traits>
#include <utility>

namespace kestrel {

/// Runs `write` (which answers a Result) in one writing transaction naming `work`, and commits.
/// On a contention error code (starting, writing or committing) all is rolled back and run again
/// after a short random pause, up to RetryPolicy::maxAttempts; other failures return at once.
template <typename F>
auto inWriteTransaction(Database &db, Work work, F &&write) -> std::invoke_result_t<F &>
{
    using Answer = std::invoke_result_t<F &>;
    const RetryPolicy policy;
    Error last;
    for (int attempt = 1; attempt <= policy.maxAttempts; ++attempt) {
        if (attempt > 1)
            detail::pauseBeforeRetry(retryPause(policy, attempt - 1));
        Transaction tx = db.transaction(TransactionMode::Write, work);
        if (!tx.isActive()) {
            last = tx.error();
            if (last.retryable())
                continue;
            return tl::unexpected(last);
        }
        Answer out = write();
        if (out) {
            if (auto committed = tx.commit(); !committed)
                out = tl::unexpected(committed.error());
        }
        if (out)
            return out;
        last = out.error();
        if (!last.retryable())
            return out;
        detail::noteRetry(last, attempt);
    }
    return tl::unexpected(last);
}

/// The same for work that names no kind.
template <typename F> auto inWriteTransaction(Database &db, F &&write) -> std::invoke_result_t<F &>
{
    return inWriteTransaction(db, Work::Unnamed, std::forward<F>(write));
}

} // namespace kestrel
