// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/HemodialysisNotification.h"

#include <QWidget>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QTableWidget;

namespace kestrel {

/// "Notification for Hemodialysis": the stay's earlier notifications, and a new one with the
/// dialyzer found by its description, the vascular access, the date and remarks.
class frmNotificationforHemodialysis : public QWidget
{
    Q_OBJECT

public:
    explicit frmNotificationforHemodialysis(Session &session, QWidget *parent = nullptr);

    HemodialysisNotification &presenter() { return m_presenter; }
    /// Shows the stay `idNum` of patient `hospNum`, named `patient` in the caption line.
    bool open(const QString &idNum, const QString &hospNum, const QString &patient);

private:
    void showList();
    void showDialyzers();
    void readEntry();

    HemodialysisNotification m_presenter;
    QLabel *m_patient = nullptr;
    QTableWidget *m_list = nullptr;
    QLineEdit *m_search = nullptr;
    QListWidget *m_dialyzers = nullptr;
    QComboBox *m_access = nullptr;
    QDateTimeEdit *m_date = nullptr;
    QPlainTextEdit *m_remarks = nullptr;
};

} // namespace kestrel
