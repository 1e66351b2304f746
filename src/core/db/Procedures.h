// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QHash>
#include <QString>
#include <QVariantList>

#include <functional>

namespace kestrel {

class Database;

/// The arguments of one procedure call, in the order the caller gave them. An argument the
/// caller left off reads as empty text, as the hospital's procedures default them.
class ProcedureArgs
{
public:
    explicit ProcedureArgs(QVariantList values)
        : m_values(std::move(values))
    {
    }

    int count() const { return int(m_values.size()); }
    QVariant at(int i) const { return i < m_values.size() ? m_values.at(i) : QVariant(); }
    /// The argument as trimmed text ("" when missing or null).
    QString text(int i) const;
    const QVariantList &values() const { return m_values; }

private:
    QVariantList m_values;
};

using ProcedureHandler = std::function<Result<RowSet>(Database &, const ProcedureArgs &)>;
/// Runs several calls of one procedure as one statement, in the order given; a procedure
/// that has one is called so when a caller has many rows for it at once.
using ProcedureBatchHandler =
    std::function<Result<void>(Database &, const QList<ProcedureArgs> &)>;

/// The hospital database's stored procedures that the program calls, by their full names
/// ("STATION..sp_OR_ChargingCodes"). Each one is a handler that runs portable statements on
/// the caller's connection, so the same procedures work on every database the program
/// connects to. The parameter-count probe answers from here too.
class ProcedureRegistry
{
public:
    struct Entry
    {
        QString name;       ///< as registered, e.g. "STATION..sp_OR_ChargingCodes"
        int parameterCount; ///< the number of arguments the procedure declares
        ProcedureHandler handler;
        ProcedureBatchHandler batchHandler; ///< may be empty: the calls are then made one by one
    };

    /// Registers `name` ("DATABASE..procedure" or "DATABASE.dbo.procedure").
    void add(const QString &name, int parameterCount, ProcedureHandler handler,
             ProcedureBatchHandler batchHandler = {});

    /// The procedure called by `name` in any spelling the hospital's programs use
    /// ("Station..X", "STATION.dbo.X"), or nullptr.
    const Entry *find(QStringView name) const;

    /// Number of parameters of `procedure` in `database`; 0 when there is no such procedure.
    int parameterCount(QStringView database, QStringView procedure) const;

    int size() const { return int(m_entries.size()); }
    QStringList names() const;

    /// "station..sp_x" for every accepted spelling; empty when `name` is not qualified.
    static QString normalizedName(QStringView name);

private:
    QHash<QString, Entry> m_entries;
};

} // namespace kestrel
