// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

#include <tl/expected.hpp>

namespace kestrel {

/// What kind of failure the database reported, decided from its code alone (never from the
/// words of its message, which follow the server's language).
enum class FailureKind {
    /// Anything else: a rejected statement, a missing table, a broken rule. Trying again
    /// gives the same answer.
    Other,
    /// Another workstation held what this one needed: a serialization failure, a deadlock, a
    /// lock not available in time, a busy or locked embedded file. Nothing was written; the
    /// whole transaction may be tried again.
    Contention,
    /// The connection to the server was lost, or the server could not be reached. A write
    /// that was not committing did not land.
    ConnectionLost,
    /// The connection was lost while the server was committing: the write may or may not
    /// have landed. Only the write's own identity can tell.
    OutcomeUnknown,
};

/// A failure the program did not expect: a statement the database rejected, a lost
/// connection, a value that would not convert. `message` is what the user reads in the
/// error box (the database's own text where there is one); `statement` is kept for the log
/// and never holds a bound value. `code` is the database's own code for it: the SQLSTATE on
/// the server, the extended result code (in decimal) on the embedded file; empty when the
/// failure did not come from the database.
struct Error
{
    QString message;
    QString statement;
    QString code;
    FailureKind kind = FailureKind::Other;

    static Error make(QString message, QString statement = {})
    {
        return Error{std::move(message), std::move(statement), {}, FailureKind::Other};
    }

    /// Whether the transaction that failed so may be tried again whole.
    bool retryable() const { return kind == FailureKind::Contention; }
    /// Whether the connection is gone (the write may need its identity asked).
    bool connectionLost() const
    {
        return kind == FailureKind::ConnectionLost || kind == FailureKind::OutcomeUnknown;
    }
};

/// Expected failures are returned, not thrown.
template <typename T> using Result = tl::expected<T, Error>;

/// The outcome of a statement without what it answered (its rows or its count).
template <typename T> Result<void> done(const Result<T> &result)
{
    if (!result)
        return tl::unexpected(result.error());
    return {};
}

/// Shorthand for the failing side of a Result.
inline tl::unexpected<Error> failure(QString message, QString statement = {})
{
    return tl::unexpected<Error>(Error::make(std::move(message), std::move(statement)));
}

} // namespace kestrel
