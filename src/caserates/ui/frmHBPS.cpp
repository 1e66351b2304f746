// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/ui/frmHBPS.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QDateEdit>
#include <QDateTimeEdit>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace kestrel {

frmHBPS::frmHBPS(Session &session, QWidget *parent)
    : QWidget(parent)
    , m_session(session)
    , m_presenter(session)
{
    setObjectName(QStringLiteral("frmHBPS"));
    setWindowTitle(QStringLiteral("Discharge Order"));
    auto *layout = new QVBoxLayout(this);
    auto *form = new QFormLayout;
    const auto text = [](const QString &name) {
        auto *edit = new QPlainTextEdit;
        edit->setObjectName(name);
        return edit;
    };
    m_diagnosis = text(QStringLiteral("txtFinalDiagnosis"));
    m_operation = text(QStringLiteral("txtOperation"));
    m_fees = text(QStringLiteral("txtDoctorsFees"));
    m_remarks = text(QStringLiteral("txtRemarks"));
    m_ordered = new QDateTimeEdit;
    m_ordered->setObjectName(QStringLiteral("dtpOrder"));
    m_ordered->setDisplayFormat(QStringLiteral("MM/dd/yyyy hh:mm AP"));
    m_billUpTo = new QDateEdit;
    m_billUpTo->setObjectName(QStringLiteral("dtpBill"));
    m_billUpTo->setDisplayFormat(QStringLiteral("MM/dd/yyyy"));
    form->addRow(QStringLiteral("Final Diagnosis"), m_diagnosis);
    form->addRow(QStringLiteral("Operation Procedure"), m_operation);
    form->addRow(QStringLiteral("Doctors' Fees"), m_fees);
    form->addRow(QStringLiteral("Date/Time Ordered"), m_ordered);
    form->addRow(QStringLiteral("Bill Up To"), m_billUpTo);
    form->addRow(QStringLiteral("Remarks"), m_remarks);
    layout->addLayout(form, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    m_revoke = new QPushButton(QStringLiteral("Revoke Discharge Order"));
    m_revoke->setObjectName(QStringLiteral("cmdRevoke"));
    m_send = new QPushButton(QStringLiteral("Send Final Discharge Order to Billing"));
    m_send->setObjectName(QStringLiteral("cmdSend"));
    auto *close = new QPushButton(QStringLiteral("Close"));
    close->setObjectName(QStringLiteral("cmdClose"));
    buttons->addWidget(m_revoke);
    buttons->addWidget(m_send);
    buttons->addWidget(close);
    layout->addLayout(buttons);

    connect(m_send, &QPushButton::clicked, this, [this] {
        m_presenter.setTexts(m_diagnosis->toPlainText(), m_operation->toPlainText(),
                             m_fees->toPlainText(), m_remarks->toPlainText());
        m_presenter.setDates(m_ordered->dateTime(), m_billUpTo->date());
        if (m_presenter.send())
            showNotice();
    });
    connect(m_revoke, &QPushButton::clicked, this, [this] {
        if (m_presenter.revoke())
            showNotice();
    });
    connect(close, &QPushButton::clicked, this, &QWidget::close);
}

bool frmHBPS::open(const QString &idNum)
{
    if (!m_presenter.open(idNum))
        return false;
    showNotice();
    return true;
}

void frmHBPS::showNotice()
{
    const caserates::Notice &n = m_presenter.notice();
    const QDateTime now = m_session.db().serverNow().isValid() ? m_session.db().serverNow()
                                                               : QDateTime::currentDateTime();
    m_diagnosis->setPlainText(n.finalDiagnosis);
    m_operation->setPlainText(n.procedures);
    m_fees->setPlainText(n.medicalFees);
    m_remarks->setPlainText(n.remarks);
    m_ordered->setDateTime(n.ordered.isValid() ? n.ordered : now);
    m_billUpTo->setDate(n.billUpTo.isValid() ? n.billUpTo : now.date());
    const bool sent = m_presenter.isSent();
    for (QWidget *w : std::initializer_list<QWidget *>{m_diagnosis, m_operation, m_fees,
                                                       m_remarks, m_send})
        w->setEnabled(!sent);
    m_revoke->setEnabled(n.exists);
}

} // namespace kestrel
