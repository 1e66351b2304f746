// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

#include <tl/expected.hpp>

namespace kestrel {

/// A failure the program did not expect: a statement the database rejected, a lost
/// connection, a value that would not convert. `message` is what the user reads in the
/// error box (the database's own text where there is one); `statement` is kept for the log
/// and never holds a bound value.
struct Error
{
    QString message;
    QString statement;

    static Error make(QString message, QString statement = {})
    {
        return Error{std::move(message), std::move(statement)};
    }
};

/// Expected failures are returned, not thrown.
template <typename T> using Result = tl::expected<T, Error>;

/// Shorthand for the failing side of a Result.
inline tl::unexpected<Error> failure(QString message, QString statement = {})
{
    return tl::unexpected<Error>(Error::make(std::move(message), std::move(statement)));
}

} // namespace kestrel
