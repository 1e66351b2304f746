// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForm.h"

#include <QWidget>

class QCheckBox;
class QDateTimeEdit;
class QLineEdit;
class QSpinBox;

namespace kestrel {

namespace nursing {
class FormButtons;
}

/// "Labor Room Form": gravida and para of the mother, when she was admitted to the labour room
/// and to the delivery room, who notified and who received her.
class frmLRForm : public QWidget
{
    Q_OBJECT

public:
    frmLRForm(Session &session, ReportService *reports, QWidget *parent = nullptr);

    nursing::NursingForm &presenter() { return m_form; }
    bool open(const CurrentPatientRecord &stay);

private:
    void build();
    void takeEdits();
    void showRecord();

    Session &m_session;
    nursing::NursingForm m_form;
    QLineEdit *m_patient = nullptr;
    QSpinBox *m_gravida = nullptr;
    QSpinBox *m_para = nullptr;
    QDateTimeEdit *m_labour = nullptr;
    QCheckBox *m_delivered = nullptr;
    QDateTimeEdit *m_delivery = nullptr;
    QLineEdit *m_notifiedBy = nullptr;
    QLineEdit *m_receivedBy = nullptr;
    nursing::FormButtons *m_buttons = nullptr;
    bool m_touched = false; ///< the user changed something since the form was shown
};

} // namespace kestrel
