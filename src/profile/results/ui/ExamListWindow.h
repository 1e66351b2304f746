// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/results/ExamList.h"

#include <QWidget>

class QListWidget;

namespace kestrel {

/// The examination list of one diagnostic department (`frmAudio`, `frmCTfile`, `frmHeart`,
/// `frmNuclear`, `frmPTFile`, `frmRTfile`, `frmNeuRoExams`): the department's examinations in
/// a fixed-pitch list; a click hands one to the patient profile's orders.
class ExamListWindow : public QWidget
{
    Q_OBJECT

public:
    ExamListWindow(Session &session, const ExamDepartment &department, QWidget *parent = nullptr);

    ExamList &presenter() { return m_presenter; }
    /// Reads the department's examinations for the stay `idNum`.
    bool open(const QString &idNum);

private:
    void showExams();

    ExamList m_presenter;
    QListWidget *m_list = nullptr;
};

} // namespace kestrel
