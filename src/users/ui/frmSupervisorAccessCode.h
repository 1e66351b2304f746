// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "users/SupervisorAccess.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;

namespace kestrel {

/// The supervisor's sign-in: code, password and reason; Enter in the password field signs in,
/// Esc or "Close" leaves without a supervisor.
class frmSupervisorAccessCode : public QDialog
{
    Q_OBJECT

public:
    explicit frmSupervisorAccessCode(SupervisorAccess &presenter, QWidget *parent = nullptr);

    /// Shows the window and answers the supervisor who signed in (an empty code when none).
    static ValidatedUser ask(Session &session, QWidget *parent);

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    SupervisorAccess &m_presenter;
    QLineEdit *m_userId = nullptr;
    QLineEdit *m_accessCode = nullptr;
    QPlainTextEdit *m_remarks = nullptr;
};

} // namespace kestrel
