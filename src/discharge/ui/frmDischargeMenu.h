// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeMenu.h"

#include <QWidget>

class QButtonGroup;
class QDateTimeEdit;
class QLineEdit;
class QTabWidget;
class QTimeEdit;

namespace kestrel {

/// "Discharges /Room Transfer": the discharge of the stay with its result and disposition, or
/// its transfer to another room. The window closes after either.
class frmDischargeMenu : public QWidget
{
    Q_OBJECT

public:
    explicit frmDischargeMenu(Session &session, QWidget *parent = nullptr);

    discharge::DischargeMenu &presenter() { return m_presenter; }
    bool open(const QString &idNum);

private:
    QWidget *dischargeTab();
    QWidget *transferTab();

    Session &m_session;
    discharge::DischargeMenu m_presenter;
    QTabWidget *m_tabs = nullptr;
    QLineEdit *m_admDate = nullptr;
    QLineEdit *m_admTime = nullptr;
    QDateTimeEdit *m_dcr = nullptr;
    QButtonGroup *m_results = nullptr;
    QButtonGroup *m_dispositions = nullptr;
    QLineEdit *m_oldRoom = nullptr;
    QLineEdit *m_oldStation = nullptr;
    QLineEdit *m_newRoom = nullptr;
    QLineEdit *m_newStation = nullptr;
    QTimeEdit *m_transferTime = nullptr;
};

} // namespace kestrel
