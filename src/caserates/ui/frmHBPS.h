// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/SimpleDischargeOrder.h"

#include <QWidget>

class QDateTimeEdit;
class QDateEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestrel {

/// "Discharge Order" of a station that hides the case rates: the final diagnosis, the operation
/// and the doctors' fees typed as text, sent to billing or revoked.
class frmHBPS : public QWidget
{
    Q_OBJECT

public:
    explicit frmHBPS(Session &session, QWidget *parent = nullptr);

    caserates::SimpleDischargeOrder &presenter() { return m_presenter; }
    bool open(const QString &idNum);

private:
    void showNotice();

    Session &m_session;
    caserates::SimpleDischargeOrder m_presenter;
    QPlainTextEdit *m_diagnosis = nullptr;
    QPlainTextEdit *m_operation = nullptr;
    QPlainTextEdit *m_fees = nullptr;
    QPlainTextEdit *m_remarks = nullptr;
    QDateTimeEdit *m_ordered = nullptr;
    QDateEdit *m_billUpTo = nullptr;
    QPushButton *m_send = nullptr;
    QPushButton *m_revoke = nullptr;
};

} // namespace kestrel
