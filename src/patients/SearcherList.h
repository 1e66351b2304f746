// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace kestrel {

class Session;

/// The rules of the code search list `frmSearcher`: a modal list of a master file that is
/// queried again with what the user types, from which he picks one row.
///
/// The caller sets `Query` (the statement, "##" where the typed text goes), `Criteria` (the
/// text to start with) and `SearchCaption`, shows the window, and reads `Valid`, then `Code`
/// and `Description`. The grid shows the statement's columns from its second column on; the
/// first is the narrow row marker. The statement's first column is the description and its
/// second the code.
class SearcherList
{
public:
    explicit SearcherList(Session &session);

    QString Query() const { return m_query; }
    void setQuery(const QString &query) { m_query = query; }
    QString Criteria() const { return m_criteria; }
    void setCriteria(const QString &criteria) { m_criteria = criteria; }
    QString SearchCaption() const { return m_caption; }
    void setSearchCaption(const QString &caption) { m_caption = caption; }
    /// Handed back to the caller as it was given; the list gives it no meaning of its own.
    int FunctionType() const { return m_functionType; }
    void setFunctionType(int type) { m_functionType = type; }

    /// True once the user picked a row.
    bool Valid() const { return m_valid; }
    QString Code() const { return m_code; }
    QString Description() const { return m_description; }

    /// The hospital's name, shown under the caption.
    QString hospitalName() const;

    /// The window opens: nothing is picked yet, and the list is queried with `Criteria`.
    void open();
    /// Queries the master file again with `typed` in place of every "##" of `Query`. A failed
    /// statement shows the error box and leaves the list empty.
    void refresh(const QString &typed);

    /// The statement's column names.
    const QStringList &headers() const { return m_headers; }
    /// The rows of the last query, each with every column of the statement.
    const QList<QStringList> &rows() const { return m_rows; }
    /// "SELECT" works only while the list has rows.
    bool canSelect() const { return !m_rows.isEmpty(); }
    /// The description of `row`: what the search box shows while the row is highlighted.
    QString descriptionAt(int row) const;

    /// Picks `row`: its description and code become the answer. False when there is no such
    /// row.
    bool select(int row);
    /// The window closes without a pick.
    void cancel();

private:
    Session &m_session;
    QString m_query;
    QString m_criteria;
    QString m_caption;
    int m_functionType = 0;
    bool m_valid = false;
    QString m_code;
    QString m_description;
    QStringList m_headers;
    QList<QStringList> m_rows;
};

} // namespace kestrel
