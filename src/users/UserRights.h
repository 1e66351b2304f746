// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QString>

namespace kestrel {

class Session;

/// An employee found by the station's user search.
struct EmployeeRow
{
    QString code;
    QString name;
    QString position;
};

/// The employees of this station whose code or last name begins with `text`: the search of
/// the rights editor and of the employee picker. A failed search shows the error box and
/// answers no rows.
QList<EmployeeRow> SearchStationUsers(Session &session, const QString &text);

/// The rights editor's rules: search an employee, tick the rights granted, save them.
class UserRights
{
public:
    /// One right of the catalogue as the list shows it: the description, then the code far to
    /// the right, so only the description is seen.
    struct Item
    {
        QString text;
        bool ticked = false;
        QString description() const { return text.left(text.size() - 2).trimmed(); }
        /// The right's code: the last two characters of the item, trimmed.
        QString code() const { return text.right(2).trimmed(); }
    };

    explicit UserRights(Session &session);

    /// Fills the list from the rights catalogue; false when it cannot be read.
    bool load();
    const QList<Item> &items() const { return m_items; }
    /// The rights frame and the save button work only once an employee is chosen.
    bool canEdit() const { return !m_employeeCode.isEmpty(); }
    QString employeeCode() const { return m_employeeCode; }
    QString employeeName() const { return m_employeeName; }

    QList<EmployeeRow> search(const QString &text) { return SearchStationUsers(m_session, text); }
    /// Chooses `employee` and ticks the rights he has.
    bool choose(const EmployeeRow &employee);
    void setTicked(int index, bool ticked);
    void selectAll(bool ticked);
    /// The rights text to save: "|" and the code of each ticked item, in list order.
    QString rightsText() const;
    /// Saves and tells the user; false when the save failed (the error box was shown).
    bool save();

private:
    Session &m_session;
    QList<Item> m_items;
    QString m_employeeCode;
    QString m_employeeName;
};

} // namespace kestrel
