// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "users/UserValidation.h"

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestrel {

/// The re-validation window: an employee signs in with code and password before an action;
/// for a cancellation the reason frame asks why. Enter moves from the code to the password
/// and validates there; Esc closes without a validated user.
class frmTransaction_UserValidation : public QDialog
{
    Q_OBJECT

public:
    frmTransaction_UserValidation(UserValidation &presenter, int postOrCancel,
                                  QWidget *parent = nullptr);

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    void validate();

    UserValidation &m_presenter;
    QLineEdit *m_userId = nullptr;
    QLineEdit *m_accessCode = nullptr;
    QGroupBox *m_remarksFrame = nullptr;
    QPlainTextEdit *m_remarks = nullptr;
    QPushButton *m_ok = nullptr;
};

} // namespace kestrel
