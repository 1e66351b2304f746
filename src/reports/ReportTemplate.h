// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QHash>
#include <QList>
#include <QMetaType>
#include <QString>
#include <QStringList>
#include <QVariant>

#include <memory>

namespace kestrel {

/// The rows of one query as the templates see them: every value formatted once when the
/// rows are read, a row's field found by its column's index. A group's rows are a view of the
/// same values, numbered from 1 again (`rownum`). Cheap to copy.
class ReportRows
{
public:
    ReportRows() = default;
    /// `cells` row after row, `columns.size()` values each; `columns` in lower case.
    ReportRows(QStringList columns, QList<QString> cells);

    qsizetype size() const;
    bool isEmpty() const { return size() == 0; }
    const QStringList &columns() const;
    /// The index of column `name`; -1 when the rows have none.
    int columnOf(const QString &name) const;
    /// The value of `column` in row `row` (0-based, in this view).
    const QString &cell(qsizetype row, int column) const;
    /// The rows `indexes` (0-based, of all rows) as a group of their own.
    ReportRows view(const QList<int> &indexes) const;
    /// Which stored rows this view shows, all of them when it is no view.
    int storedRow(qsizetype row) const;
    /// Identifies the stored values (equal for a view and the rows it was made from).
    const void *store() const { return m_data.get(); }

    /// Each row as a map of its columns and `rownum`, for code that reads the values.
    QVariantList toList() const;

private:
    struct Data
    {
        QStringList columns;
        QHash<QString, int> index;
        QList<QString> cells;
    };
    std::shared_ptr<const Data> m_data;
    std::shared_ptr<const QList<int>> m_view; ///< null: every row
};

/// A Mustache template parsed once and filled many times: `{{name}}` (escaped),
/// `{{{name}}}` and `{{&name}}` (as they are), `{{#name}}...{{/name}}` (for each row of a
/// list, once for a value that is set, not for false or an empty list), `{{^name}}...` (only
/// for a missing, false or empty value), `{{! comments }}` and dotted names (`a.b`). A line
/// holding nothing but a section tag or a comment leaves no line behind.
class ReportTemplate
{
public:
    /// Parses `text`; a template that does not parse fails with the reason.
    static Result<ReportTemplate> parse(const QString &text);
    /// The template filled from `context` (its lists QVariantList or ReportRows), `extra`
    /// first when given.
    QString render(const QVariantMap &context, const QVariantMap *extra = nullptr) const;

    struct Node;

private:
    std::shared_ptr<const QList<Node>> m_nodes;
};

} // namespace kestrel

Q_DECLARE_METATYPE(kestrel::ReportRows)
