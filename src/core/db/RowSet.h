// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QDate>
#include <QDateTime>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>
#include <optional>

namespace kestrel {

/// The column names of a result, looked up without regard to case: the hospital's
/// programs read `Chargeslip` from a column named `ChargeSlip`, and PostgreSQL hands every
/// unquoted name back in lower case.
class Columns
{
public:
    explicit Columns(QStringList names);

    const QStringList &names() const { return m_names; }
    int indexOf(QStringView name) const;
    int count() const { return int(m_names.size()); }

private:
    QStringList m_names;
    QHash<QString, int> m_index;
};

/// One row of a result. Reading a missing field or a null gives the caller's usual default
/// (empty text, 0, false, an invalid date) rather than an error, the way a look-up that finds
/// nothing falls back to its default.
class Row
{
public:
    Row() = default;
    Row(std::shared_ptr<const Columns> columns, QVariantList values);

    bool has(QStringView field) const;
    QVariant value(QStringView field) const;
    QVariant value(int column) const;
    int columnCount() const { return int(m_values.size()); }
    const QStringList &columnNames() const;

    /// Text of the field, nulls as "" (trailing blanks kept: fixed-width columns pad).
    QString text(QStringView field) const;
    /// Text of the field with blanks trimmed.
    QString trimmed(QStringView field) const { return text(field).trimmed(); }
    qint64 integer(QStringView field) const;
    double number(QStringView field) const;
    /// A bit column: 1, "1", true and "Y" read as set.
    bool flag(QStringView field) const;
    Money money(QStringView field) const;
    QDate date(QStringView field) const;
    QDateTime dateTime(QStringView field) const;

    const QVariantList &values() const { return m_values; }

private:
    std::shared_ptr<const Columns> m_columns;
    QVariantList m_values;
};

/// A whole result read into memory. Counting rows is counting what was read: drivers
/// that cannot tell the size of a result up front (SQLite) give the same answer as those
/// that can.
class RowSet
{
public:
    RowSet()
        : m_columns(std::make_shared<Columns>(QStringList{}))
    {
    }
    explicit RowSet(QStringList columnNames);

    const QStringList &columnNames() const { return m_columns->names(); }
    std::shared_ptr<const Columns> columns() const { return m_columns; }

    int count() const { return int(m_rows.size()); }
    bool isEmpty() const { return m_rows.isEmpty(); }
    const Row &at(int i) const { return m_rows.at(i); }
    std::optional<Row> first() const;

    void append(QVariantList values);
    void append(Row row) { m_rows.append(std::move(row)); }

    QList<Row>::const_iterator begin() const { return m_rows.cbegin(); }
    QList<Row>::const_iterator end() const { return m_rows.cend(); }

private:
    std::shared_ptr<const Columns> m_columns;
    QList<Row> m_rows;
};

/// Parses a date or date-time as the two databases hand it back: a QDateTime, or ISO text
/// "yyyy-MM-dd HH:mm:ss[.zzz]" / "yyyy-MM-dd" / "yyyy-MM-ddTHH:mm:ss".
QDateTime dateTimeFromVariant(const QVariant &v);

} // namespace kestrel
