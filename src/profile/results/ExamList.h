// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace kestrel {

class Session;

/// One diagnostic department whose examinations the profile's ordering panel offers in a list
/// window of its own.
struct ExamDepartment
{
    QString form;      ///< the window's form name ("frmCTfile")
    QString caption;   ///< the window's caption
    QString listName;  ///< the object name of its list
    QString code;      ///< the department code the orders carry ("CT")
    QString name;      ///< the department as the clearance message names it
    QString procedure; ///< the procedure that lists its examinations
};

/// An examination picked from a department's list, for the profile's orders grid.
struct ChosenExam
{
    QString code;
    QString name;
    QString department;
};

/// The rules of the department examination lists (`frmAudio`, `frmCTfile`, `frmHeart`,
/// `frmNuclear`, `frmPTFile`, `frmRTfile`, `frmNeuRoExams`): one shape for every department.
/// The list reads the department's examinations; a click hands the examination to the
/// profile, unless the department has already cleared the patient.
class ExamList : public QObject
{
    Q_OBJECT

public:
    /// Every department with a list window.
    static const QList<ExamDepartment> &departments();
    /// The department of the window `form`, or null.
    static const ExamDepartment *department(const QString &form);

    ExamList(Session &session, const ExamDepartment &department, QObject *parent = nullptr);

    const ExamDepartment &department() const { return m_department; }

    /// Reads the department's examinations for the stay `idNum`. False when they cannot be
    /// read (the user was told).
    bool load(const QString &idNum);
    int count() const { return int(m_exams.size()); }
    const ChosenExam &exam(int row) const { return m_exams.at(row); }
    /// What the list says when the department has no examinations; empty when it has some.
    QString emptyText() const;

    /// A click on the examination at `row`: refused while the department has cleared the
    /// patient; otherwise examChosen. False when nothing was handed on.
    bool choose(int row);

Q_SIGNALS:
    void examChosen(const kestrel::ChosenExam &exam);

private:
    Session &m_session;
    ExamDepartment m_department;
    QString m_idNum;
    QList<ChosenExam> m_exams;
};

} // namespace kestrel
