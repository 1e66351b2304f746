// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "users/UserRights.h"

#include <QGroupBox>

#include <functional>

class QLineEdit;
class QPushButton;
class QTableWidget;

namespace kestrel {

/// The frame "1. Search User" that the rights editor and the employee picker share: the
/// employee code or last name typed in `txtEmployeeID` (Enter or `cmdSearch` searches), the
/// chosen employee's name in `txtEmployee`, and the result frame `fmeUsers` with the grid
/// `grdUsers`, shown only while a search has found someone. Clicking a row takes that
/// employee.
class UserSearchPanel : public QGroupBox
{
    Q_OBJECT

public:
    /// Answers the station's employees whose code or last name begins with the text.
    using Search = std::function<QList<EmployeeRow>(const QString &text)>;

    explicit UserSearchPanel(Search search, QWidget *parent = nullptr);

    /// Runs the search with the typed text and shows what it found.
    void search();
    /// The employees of the last search, in the grid's order.
    const QList<EmployeeRow> &found() const { return m_found; }

Q_SIGNALS:
    /// A row of the grid was clicked: its employee is in the fields and the grid is hidden.
    void employeeClicked(const kestrel::EmployeeRow &employee);

private:
    void buildUi();
    void bind();
    void rowClicked(int row);

    Search m_search;
    QList<EmployeeRow> m_found;
    QLineEdit *m_employeeId = nullptr;
    QLineEdit *m_employee = nullptr;
    QPushButton *m_searchButton = nullptr;
    QGroupBox *m_users = nullptr;
    QTableWidget *m_grid = nullptr;
};

} // namespace kestrel
