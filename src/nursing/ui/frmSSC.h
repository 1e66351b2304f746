// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/SurgicalSafety.h"

#include <QHash>
#include <QList>
#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kestrel {

class clsCodeLookup;

namespace nursing {
class FormButtons;
}

/// "Surgical Safety Checklist": the three pauses of the team around the operation, each item
/// answered with who answered it and when, each pause completed in turn, and the team members
/// who signed each pause.
class frmSSC : public QWidget
{
    Q_OBJECT

public:
    frmSSC(Session &session, ReportService *reports, clsCodeLookup *doctors,
           QWidget *parent = nullptr);

    nursing::SurgicalSafetyChecklist &presenter() { return m_checklist; }
    bool open(const CurrentPatientRecord &stay);

private:
    void build(clsCodeLookup *doctors);
    void takeEdits();
    void showRecord();
    /// The who, when and late marks of every item and pause.
    void showAnswers();

    struct ItemRow
    {
        QComboBox *answer = nullptr;
        QLabel *who = nullptr;
    };

    nursing::SurgicalSafetyChecklist m_checklist;
    QLineEdit *m_patient = nullptr;
    QLineEdit *m_operation = nullptr;
    std::array<QList<ItemRow>, 3> m_items;
    std::array<QLabel *, 3> m_completed{};
    std::array<QPushButton *, 3> m_complete{};
    QHash<QString, QLineEdit *> m_signers; ///< by column
    nursing::FormButtons *m_buttons = nullptr;
    bool m_showing = false;
};

} // namespace kestrel
