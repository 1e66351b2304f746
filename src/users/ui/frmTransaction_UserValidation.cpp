// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/ui/frmTransaction_UserValidation.h"

#include "core/ui/KeyFilter.h"
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

frmTransaction_UserValidation::frmTransaction_UserValidation(UserValidation &presenter,
                                                             int postOrCancel, QWidget *parent)
    : QDialog(parent)
    , m_presenter(presenter)
{
    setObjectName(QStringLiteral("frmTransaction_UserValidation"));
    m_presenter.open(postOrCancel);
    buildUi();
    bind();
}

void frmTransaction_UserValidation::buildUi()
{
    setWindowTitle(QStringLiteral("Access Code Entry"));
    auto *layout = new QVBoxLayout(this);
    auto *heading = new QLabel(QStringLiteral("Access Code Entry"), this);
    QFont big = heading->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.3);
    heading->setFont(big);
    layout->addWidget(heading);
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

    m_remarksFrame = new QGroupBox(QStringLiteral("Reason"), this);
    m_remarksFrame->setObjectName(QStringLiteral("fraRemarks"));
    auto *remarksLayout = new QVBoxLayout(m_remarksFrame);
    m_remarks = new QPlainTextEdit(m_remarksFrame);
    m_remarks->setObjectName(QStringLiteral("txtRemarks"));
    m_remarks->setTabChangesFocus(true);
    remarksLayout->addWidget(m_remarks);
    auto *searchRemarks = new QPushButton(QStringLiteral("Search CM Remarks"), m_remarksFrame);
    searchRemarks->setObjectName(QStringLiteral("Command1"));
    searchRemarks->setAutoDefault(false);
    connect(searchRemarks, &QPushButton::clicked, this, [this] {
        m_remarks->setPlainText(
            frmCMRemarks::pickInto(m_presenter.session(), m_remarks->toPlainText(), this));
    });
    remarksLayout->addWidget(searchRemarks, 0, Qt::AlignRight);
    layout->addWidget(m_remarksFrame);
    m_remarksFrame->setVisible(m_presenter.showsReason());

    m_ok = new QPushButton(QStringLiteral("OK"), this);
    m_ok->setObjectName(QStringLiteral("cmdOK"));
    m_ok->setAutoDefault(false);
    layout->addWidget(m_ok, 0, Qt::AlignRight);
    setMinimumWidth(360);
}

void frmTransaction_UserValidation::bind()
{
    m_userId->installEventFilter(this);
    m_accessCode->installEventFilter(this);
    connect(m_ok, &QPushButton::clicked, this, &frmTransaction_UserValidation::validate);
}

bool frmTransaction_UserValidation::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            if (watched == m_userId)
                m_accessCode->setFocus();
            else if (watched == m_accessCode)
                validate();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frmTransaction_UserValidation::validate()
{
    switch (
        m_presenter.validate(m_userId->text(), m_accessCode->text(), m_remarks->toPlainText())) {
    case UserValidation::Outcome::NeedsReason:
        m_remarks->setFocus();
        return;
    case UserValidation::Outcome::Validated:
        accept();
        return;
    case UserValidation::Outcome::Unauthorized:
    case UserValidation::Outcome::Failed:
        QDialog::reject();
        return;
    }
}

void frmTransaction_UserValidation::reject()
{
    m_presenter.cancel();
    QDialog::reject();
}

} // namespace kestrel
