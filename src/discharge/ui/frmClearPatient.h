// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeNotices.h"

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;

namespace kestrel {

/// "Clear Patient": a noticed patient cleared for discharge by the OR.
class frmClearPatient : public QDialog
{
    Q_OBJECT
    Q_PROPERTY(QString IdNum READ IdNum)

public:
    explicit frmClearPatient(Session &session, QWidget *parent = nullptr);

    discharge::ClearPatient &presenter() { return m_presenter; }
    bool open(const QString &idNum);
    QString IdNum() const { return m_presenter.IdNum(); }

private:
    void showNotice(const discharge::Notice &n);

    discharge::ClearPatient m_presenter;
    QLineEdit *m_hospNo, *m_admNo, *m_admDate, *m_roomNo, *m_sname, *m_fname, *m_mname,
        *m_noticeDate, *m_orderDate, *m_nurse, *m_clearDate, *m_clearedBy;
    QPlainTextEdit *m_remarks, *m_clearRemarks;
    QPushButton *m_save, *m_ignore;
};

} // namespace kestrel
