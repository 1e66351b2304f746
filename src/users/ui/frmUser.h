// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "users/UserRights.h"

#include <QDialog>

class QPushButton;

namespace kestrel {

class UserSearchPanel;

/// The employee picker: the same search as the rights editor; clicking a row picks that
/// employee and closes. The caller reads picked() afterwards: it is empty when the window was
/// closed without a pick, since opening the picker forgets the last one.
class frmUser : public QDialog
{
    Q_OBJECT

public:
    explicit frmUser(Session &session, QWidget *parent = nullptr);

    /// The employee picked (code and name), or an empty row.
    EmployeeRow picked() const { return m_picked; }

private:
    void buildUi();
    void bind();

    Session &m_session;
    EmployeeRow m_picked;
    UserSearchPanel *m_search = nullptr;
    QPushButton *m_close = nullptr;
};

} // namespace kestrel
