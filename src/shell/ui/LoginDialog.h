// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/LoginPrompt.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QWidget;

namespace kestrel {

/// The login window: the hospital database to open (the embedded demo hospital or a
/// PostgreSQL server), the employee code and the password. It only asks; the login
/// component decides, and a refusal comes back in red above the buttons.
///
/// Enter in the employee code moves to the password; Enter in the password logs in; Esc
/// cancels. The last database chosen is remembered for the next start (never a password).
class LoginDialog : public QDialog, public LoginPrompt
{
    Q_OBJECT

public:
    explicit LoginDialog(QWidget *parent = nullptr);
    ~LoginDialog() override;

    std::optional<LoginRequest> askLogin(const QString &refusal) override;
    std::optional<QString> askPassword(const QString &employeeName,
                                       const QString &refusal) override;
    std::optional<QString> askNewPassword(const QString &employeeName,
                                          const QString &refusal) override;

    /// The hospital server the installation file names (`label`: its service or host): the
    /// login goes there, and the window asks only for the employee code and password.
    void setInstalledServer(const QString &label);

    /// Readies the window to ask for a login, showing `refusal` ("" for none).
    void prepareLogin(const QString &refusal);
    /// Readies the window to ask `employeeName` for his password again.
    void preparePassword(const QString &employeeName, const QString &refusal);
    /// Readies the window to ask `employeeName` for a new password, typed twice.
    void prepareNewPassword(const QString &employeeName, const QString &refusal);
    /// What the fields hold now.
    LoginRequest request() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    void showRefusal(const QString &refusal);
    void updateServerFields();
    void restoreChoice();
    void rememberChoice() const;

    QLabel *m_heading = nullptr;
    QComboBox *m_database = nullptr;
    QWidget *m_databaseRow = nullptr;
    QWidget *m_serverFields = nullptr;
    QLineEdit *m_host = nullptr;
    QLineEdit *m_port = nullptr;
    QLineEdit *m_databaseName = nullptr;
    QLineEdit *m_user = nullptr;
    QLineEdit *m_serverPassword = nullptr;
    QWidget *m_codeRow = nullptr;
    QLineEdit *m_code = nullptr;
    QLineEdit *m_password = nullptr;
    QWidget *m_confirmRow = nullptr;
    QLineEdit *m_confirm = nullptr;
    bool m_installed = false;
    QLabel *m_refusal = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace kestrel
