// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "users/UserRights.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QListWidget;
class QListWidgetItem;
class QPushButton;

namespace kestrel {

class UserSearchPanel;

/// The rights editor: search an employee of the station, tick the rights he is granted in
/// `lstRights`, save. The rights frame and `cmdSave` stay disabled until an employee is
/// chosen from the search; a successful save closes the window.
class frmUserRights : public QDialog
{
    Q_OBJECT

public:
    explicit frmUserRights(Session &session, QWidget *parent = nullptr);

    UserRights &presenter() { return m_presenter; }

private:
    void buildUi();
    void bind();
    /// Shows the presenter's items and ticks, and what may be edited.
    void refresh();
    void choose(const EmployeeRow &employee);
    void itemChanged(QListWidgetItem *item);
    void save();

    UserRights m_presenter;
    UserSearchPanel *m_search = nullptr;
    QGroupBox *m_rightsFrame = nullptr;
    QListWidget *m_rights = nullptr;
    QCheckBox *m_selectAll = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace kestrel
