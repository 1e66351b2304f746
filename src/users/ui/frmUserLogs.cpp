// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/frmUserLogs.h"

#include "core/Session.h"
#include "users/ui/frmUser.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace kestrel {

frmUserLogs::frmUserLogs(Session &session, ReportService &reports, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session, reports)
    , m_pickerFactory(
          [&session](QWidget *over) { return std::make_unique<frmUser>(session, over); })
{
    setObjectName(QStringLiteral("frmUserLogs"));
    buildUi();
    bind();
    setMode(UserLogs::SearchMode::ByTransaction);
}

QDateEdit *frmUserLogs::makeDatePicker(const QString &name, QWidget *frame)
{
    auto *picker = new QDateEdit(m_session.ServerDate, frame);
    picker->setObjectName(name);
    picker->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    picker->setCalendarPopup(true);
    return picker;
}

QLabel *frmUserLogs::makeClickableLabel(const QString &name, const QString &text, QWidget *frame)
{
    auto *label = new QLabel(text, frame);
    label->setObjectName(name);
    QFont underlined = label->font();
    underlined.setUnderline(true);
    label->setFont(underlined);
    label->setCursor(Qt::PointingHandCursor);
    label->installEventFilter(this);
    return label;
}

void frmUserLogs::buildUi()
{
    setWindowTitle(QStringLiteral("User Logs"));

    m_byTransaction = new QRadioButton(QStringLiteral("Search by Transaction"), this);
    m_byTransaction->setObjectName(QStringLiteral("Option1(0)"));
    m_byUser = new QRadioButton(QStringLiteral("Search by User"), this);
    m_byUser->setObjectName(QStringLiteral("Option1(1)"));

    m_transactions = new QGroupBox(QStringLiteral("Search by Transaction"), this);
    m_transactions->setObjectName(QStringLiteral("fTransactions"));
    m_transaction = new QComboBox(m_transactions);
    m_transaction->setObjectName(QStringLiteral("cboTransactions"));
    m_transaction->addItems(UserLogs::transactionEntries());
    // Nothing is chosen until the user picks a kind of transaction.
    m_transaction->setCurrentIndex(-1);
    m_startDate = makeDatePicker(QStringLiteral("dtpStartDate"), m_transactions);
    m_endDate = makeDatePicker(QStringLiteral("dtpEndDate"), m_transactions);
    m_search =
        makeClickableLabel(QStringLiteral("lblSearch"), QStringLiteral("Search"), m_transactions);
    auto *byTransaction = new QGridLayout(m_transactions);
    byTransaction->addWidget(new QLabel(QStringLiteral("Transaction"), m_transactions), 0, 0);
    byTransaction->addWidget(m_transaction, 0, 1, 1, 3);
    byTransaction->addWidget(new QLabel(QStringLiteral("From"), m_transactions), 1, 0);
    byTransaction->addWidget(m_startDate, 1, 1);
    byTransaction->addWidget(new QLabel(QStringLiteral("To"), m_transactions), 1, 2);
    byTransaction->addWidget(m_endDate, 1, 3);
    byTransaction->addWidget(m_search, 1, 4, Qt::AlignRight);
    byTransaction->setColumnStretch(4, 1);

    m_user = new QGroupBox(QStringLiteral("Search by User"), this);
    m_user->setObjectName(QStringLiteral("fUser"));
    m_employee = new QLineEdit(m_user);
    m_employee->setObjectName(QStringLiteral("txtEmployee"));
    m_code = new QLineEdit(m_user);
    m_code->setObjectName(QStringLiteral("txtCode"));
    // Both are filled from the employee picker, never typed.
    m_employee->setReadOnly(true);
    m_code->setReadOnly(true);
    m_code->setMaximumWidth(1200 / 15);
    m_searchUser = new QPushButton(QStringLiteral("..."), m_user);
    m_searchUser->setObjectName(QStringLiteral("cmdSearch"));
    m_searchUser->setToolTip(QStringLiteral("Search employee"));
    m_startUser = makeDatePicker(QStringLiteral("dtpStartUser"), m_user);
    m_endUser = makeDatePicker(QStringLiteral("dtpEndUser"), m_user);
    m_viewUser = makeClickableLabel(QStringLiteral("lblViewUser"), QStringLiteral("View"), m_user);
    auto *byUser = new QGridLayout(m_user);
    byUser->addWidget(new QLabel(QStringLiteral("Employee"), m_user), 0, 0);
    auto *employee = new QHBoxLayout;
    employee->addWidget(m_employee, 1);
    employee->addWidget(m_code);
    employee->addWidget(m_searchUser);
    byUser->addLayout(employee, 0, 1, 1, 4);
    byUser->addWidget(new QLabel(QStringLiteral("From"), m_user), 1, 0);
    byUser->addWidget(m_startUser, 1, 1);
    byUser->addWidget(new QLabel(QStringLiteral("To"), m_user), 1, 2);
    byUser->addWidget(m_endUser, 1, 3);
    byUser->addWidget(m_viewUser, 1, 4, Qt::AlignRight);
    byUser->setColumnStretch(4, 1);

    m_close = makeClickableLabel(QStringLiteral("lblClose"), QStringLiteral("Close"), this);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_byTransaction, 0, Qt::AlignLeft);
    layout->addWidget(m_transactions);
    layout->addWidget(m_byUser, 0, Qt::AlignLeft);
    layout->addWidget(m_user);
    layout->addWidget(m_close, 0, Qt::AlignRight);
    layout->addStretch(1);
    setMinimumWidth(6000 / 15);
}

void frmUserLogs::bind()
{
    connect(m_byTransaction, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            setMode(UserLogs::SearchMode::ByTransaction);
    });
    connect(m_byUser, &QRadioButton::toggled, this, [this](bool checked) {
        if (checked)
            setMode(UserLogs::SearchMode::ByUser);
    });
    connect(m_searchUser, &QPushButton::clicked, this, &frmUserLogs::pickEmployee);
}

void frmUserLogs::setMode(UserLogs::SearchMode mode)
{
    m_presenter.setMode(mode);
    const bool byTransaction = mode == UserLogs::SearchMode::ByTransaction;
    m_byTransaction->setChecked(byTransaction);
    m_byUser->setChecked(!byTransaction);
    m_transactions->setEnabled(byTransaction);
    m_user->setEnabled(!byTransaction);
}

void frmUserLogs::pickEmployee()
{
    const std::unique_ptr<frmUser> picker = m_pickerFactory(this);
    if (!picker)
        return;
    picker->exec();
    // Closing the picker without a pick clears the employee, as opening it forgot the last.
    const EmployeeRow picked = picker->picked();
    m_employee->setText(picked.name);
    m_code->setText(picked.code);
}

void frmUserLogs::labelClicked(QLabel *label)
{
    if (label == m_search)
        m_presenter.printByTransaction(m_transaction->currentText(), m_startDate->date(),
                                       m_endDate->date());
    else if (label == m_viewUser)
        m_presenter.printByUser(m_code->text(), m_startUser->date(), m_endUser->date());
    else if (label == m_close)
        closeWindow();
}

void frmUserLogs::closeWindow()
{
    // In the main window's work area the frame around the window is what has to close; it
    // unloads the window with it.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(parentWidget()))
        sub->close();
    else
        close();
}

bool frmUserLogs::eventFilter(QObject *watched, QEvent *event)
{
    // The labels act as buttons: a left click released over them.
    if (event->type() == QEvent::MouseButtonRelease) {
        auto *label = qobject_cast<QLabel *>(watched);
        const auto *mouse = static_cast<QMouseEvent *>(event);
        if (label && label->isEnabled() && mouse->button() == Qt::LeftButton &&
            label->rect().contains(mouse->position().toPoint())) {
            labelClicked(label);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kestrel
