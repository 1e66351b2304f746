// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "scheduling/EditORSchedule.h"

#include <QDialog>

class QComboBox;
class QDateTimeEdit;
class QLabel;
class QLineEdit;

namespace kestrel {

class clsCodeLookup;

/// "Update Schedule Details": the room, times and doctors of one confirmed schedule.
class frmEditORSchedule : public QDialog
{
    Q_OBJECT

public:
    frmEditORSchedule(Session &session, clsCodeLookup *lookup, QWidget *parent = nullptr);

    EditORSchedule &presenter() { return m_presenter; }
    /// Loads schedule `transNum`; false when it is no longer confirmed (the user was told).
    bool load(const QString &transNum);

private:
    void timesChanged();
    ScheduleEdit edited() const;

    EditORSchedule m_presenter;
    clsCodeLookup *m_lookup;
    QComboBox *m_room = nullptr;
    QDateTimeEdit *m_start = nullptr;
    QDateTimeEdit *m_end = nullptr;
    QLabel *m_length = nullptr;
    QLineEdit *m_surgeon = nullptr;
    QLabel *m_surgeonName = nullptr;
    QLineEdit *m_anes = nullptr;
    QLabel *m_anesName = nullptr;
    QLineEdit *m_coSurgeon[3] = {};
    QLabel *m_coSurgeonName[3] = {};
};

} // namespace kestrel
