// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/frmSupervisorAccessCode.h"

#include "core/Installation.h"
#include "core/Session.h"
#include "core/ui/KeyFilter.h"
#include "users/RevalidationKey.h"
#include "users/ui/frmCMRemarks.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmSupervisorAccessCode::frmSupervisorAccessCode(SupervisorAccess &presenter, QWidget *parent)
    : QDialog(parent)
    , m_presenter(presenter)
{
    setObjectName(QStringLiteral("frmSupervisorAccessCode"));
    setWindowTitle(QStringLiteral("Supervisor Access Code"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(QStringLiteral("Please sign in to validate user..."), this));
    auto *form = new QFormLayout;
    m_userId = new QLineEdit(this);
    m_userId->setObjectName(QStringLiteral("txtUserID"));
    installUpperCase(m_userId);
    m_accessCode = new QLineEdit(this);
    m_accessCode->setObjectName(QStringLiteral("txtAccessCode"));
    m_accessCode->setEchoMode(QLineEdit::Password);
    form->addRow(QStringLiteral("User Code / ID"), m_userId);
    form->addRow(QStringLiteral("User Password"), m_accessCode);
    layout->addLayout(form);

    auto *reason = new QGroupBox(QStringLiteral("Reason"), this);
    auto *reasonLayout = new QVBoxLayout(reason);
    m_remarks = new QPlainTextEdit(reason);
    m_remarks->setObjectName(QStringLiteral("txtRemarks"));
    m_remarks->setTabChangesFocus(true);
    reasonLayout->addWidget(m_remarks);
    auto *search = new QPushButton(QStringLiteral("Search CM Remarks"), reason);
    search->setObjectName(QStringLiteral("Command1"));
    search->setAutoDefault(false);
    reasonLayout->addWidget(search, 0, Qt::AlignRight);
    layout->addWidget(reason);
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setAutoDefault(false);
    layout->addWidget(close, 0, Qt::AlignRight);

    m_userId->installEventFilter(this);
    m_accessCode->installEventFilter(this);
    connect(search, &QPushButton::clicked, this, [this] {
        m_remarks->setPlainText(
            frmCMRemarks::pickInto(m_presenter.session(), m_remarks->toPlainText(), this));
    });
    connect(close, &QPushButton::clicked, this, &frmSupervisorAccessCode::reject);
    setMinimumWidth(360);
}

bool frmSupervisorAccessCode::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_userId) {
                m_accessCode->setFocus();
            } else if (watched == m_accessCode) {
                if (m_presenter.signIn(m_userId->text(), m_accessCode->text(),
                                       m_remarks->toPlainText()))
                    accept();
                else
                    m_accessCode->selectAll();
            }
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmSupervisorAccessCode::reject()
{
    m_presenter.close();
    QDialog::reject();
}

ValidatedUser frmSupervisorAccessCode::ask(Session &session, QWidget *parent)
{
    RevalidationKey key(installationScrambleKey(session.ApplicationPath));
    const QString scramble = key.key(session);
    if (scramble.isEmpty())
        return {};
    SupervisorAccess presenter(session, scramble);
    frmSupervisorAccessCode window(presenter, parent);
    window.exec();
    return presenter.supervisor();
}

} // namespace kestrel
