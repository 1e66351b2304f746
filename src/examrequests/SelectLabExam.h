// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QObject>
#include <QString>

namespace kestrel {

class clsCodeLookup;
class ReportService;
class Session;

/// The laboratory exams whose results of a stay are printed in the tabular layout
/// (`frmSelectLabExam`): the nurse picks exams from the laboratory's code list or ticks
/// "All exams", then "View" prints the results of those exams, section by section, one column
/// per day they were released.
class SelectLabExam : public QObject
{
    Q_OBJECT

public:
    /// A chosen exam: its code and its name, which is how the laboratory files its results.
    struct Exam
    {
        QString code, name;
    };

    /// How many days each of the two parts of the printout shows side by side.
    static constexpr int kDaysPerPart = 6;

    SelectLabExam(Session &session, clsCodeLookup *codeLookup, QObject *parent = nullptr);

    void setReports(ReportService *reports) { m_reports = reports; }

    /// Starts a choice for stay `idNum`, nothing chosen. False (the user told) without a stay.
    bool open(const QString &idNum);
    const QString &idNum() const { return m_idNum; }

    /// Shows the laboratory's exams filtered by `typed` and adds the one picked.
    bool lookUp(const QString &typed);
    /// Adds the exam with `code`; an unknown code or one already chosen is refused (told).
    bool addExam(const QString &code);
    void removeExam(int row);
    const QList<Exam> &exams() const { return m_exams; }

    void setAllExams(bool all);
    bool allExams() const { return m_allExams; }

    /// "View": the results of the chosen exams (of every exam with "All exams") in the report
    /// viewer. Nothing chosen: the user is told and nothing opens.
    bool view();

Q_SIGNALS:
    void listChanged();

private:
    bool tell(const QString &text);

    Session &m_session;
    clsCodeLookup *m_codeLookup = nullptr;
    ReportService *m_reports = nullptr;
    QString m_idNum;
    QList<Exam> m_exams;
    bool m_allExams = false;
};

} // namespace kestrel
