// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "users/UserLogs.h"
#include "users/UserRights.h"

#include <QWidget>

#include <functional>
#include <memory>

class QComboBox;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kestrel {

class frmUser;

/// The user log window: prints the nurse log of one kind of transaction (`fTransactions`) or
/// of everything one employee did (`fUser`) in a period. The option `Option1` says which
/// frame is in use; both periods start at the server's date.
class frmUserLogs : public QWidget
{
    Q_OBJECT

public:
    /// Makes the employee picker that `cmdSearch` shows modally over `parent`.
    using PickerFactory = std::function<std::unique_ptr<frmUser>(QWidget *parent)>;

    frmUserLogs(Session &session, ReportService &reports, QWidget *parent = nullptr);

    UserLogs &presenter() { return m_presenter; }
    /// Replaces the employee picker (by default the program's own `frmUser`).
    void setPickerFactory(PickerFactory factory) { m_pickerFactory = std::move(factory); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildUi();
    void bind();
    QDateEdit *makeDatePicker(const QString &name, QWidget *frame);
    QLabel *makeClickableLabel(const QString &name, const QString &text, QWidget *frame);
    void setMode(UserLogs::SearchMode mode);
    void pickEmployee();
    void labelClicked(QLabel *label);
    void closeWindow();

    Session &m_session;
    UserLogs m_presenter;
    PickerFactory m_pickerFactory;

    QRadioButton *m_byTransaction = nullptr;
    QRadioButton *m_byUser = nullptr;
    QGroupBox *m_transactions = nullptr;
    QComboBox *m_transaction = nullptr;
    QDateEdit *m_startDate = nullptr;
    QDateEdit *m_endDate = nullptr;
    QLabel *m_search = nullptr;
    QGroupBox *m_user = nullptr;
    QLineEdit *m_employee = nullptr;
    QLineEdit *m_code = nullptr;
    QPushButton *m_searchUser = nullptr;
    QDateEdit *m_startUser = nullptr;
    QDateEdit *m_endUser = nullptr;
    QLabel *m_viewUser = nullptr;
    QLabel *m_close = nullptr;
};

} // namespace kestrel
