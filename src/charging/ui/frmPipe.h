// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/oxygen/OxygenPipe.h"

#include <QWidget>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace kestrel {

/// Piped oxygen of the selected stay: the item ("Code", "Description", "Rate/hr"), `txtTank`,
/// `txtStart` "Starting Time", `txtEnd` "Time Stopped", the hours used in `lblConsumed` and the
/// "Total Amount"; `Option1` tells whether the tank is being opened or closed; "Save", "Exit".
class frmPipe : public QWidget
{
    Q_OBJECT

public:
    explicit frmPipe(Session &session, QWidget *parent = nullptr);

    /// Shows the stay's tank; false (told) when the window must not open.
    bool open();
    OxygenPipe &presenter() { return m_presenter; }

private:
    void refresh();

    OxygenPipe m_presenter;
    QComboBox *m_item = nullptr;
    QLabel *m_description = nullptr;
    QLabel *m_rate = nullptr;
    QLineEdit *m_tank = nullptr;
    QLineEdit *m_start = nullptr;
    QDateTimeEdit *m_end = nullptr;
    QLabel *m_consumed = nullptr;
    QLabel *m_total = nullptr;
    QRadioButton *m_open = nullptr;
    QRadioButton *m_close = nullptr;
    bool m_filling = false;
};

} // namespace kestrel
