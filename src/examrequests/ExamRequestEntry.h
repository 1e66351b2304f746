// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/EntryGridRules.h"
#include "examrequests/ExamRequestGuards.h"
#include "profile/CommonExams.h"
#include "profile/ProfileStore.h"

#include <QAbstractTableModel>
#include <QObject>

namespace kestrel {

class clsCodeLookup;
class Session;

/// The exam request entry (`frmRequest`): the nurse orders examinations of one department
/// for the stay line by line, each checked as it is typed, and hands them to the profile's
/// request grid, which sends them. The department's two-letter code decides the code list and
/// where the price comes from.
class ExamRequestEntry : public QObject, public EntryGridRules
{
    Q_OBJECT

public:
    /// The columns of the entry grid `mshflexEntry`; those after REMARKS but REASON are hidden.
    enum Column {
        Fixed,
        Code,
        Description,
        Quantity,
        Amount,
        Section,
        Stat,
        Remarks,
        UnitPrice,
        Department,
        SpecimenId,
        SpecimenName,
        MaxQuantity,
        Reason,
        StatRule,
        SpecimenRequired,
        RowNumber,
        ColumnCount
    };

    ExamRequestEntry(Session &session, clsCodeLookup *codeLookup, QObject *parent = nullptr);

    /// Opens the entry for stay `idNum` and `department` ("LB", "XR", ...): the grid emptied.
    /// False (the user told) without a stay or a department.
    bool open(const QString &idNum, const QString &department);

    const QString &department() const { return m_department; }
    const ProfileHeader &header() const { return m_header; }
    const QList<ExamRequestLine> &lines() const { return m_lines; }
    /// The hidden profile grid `mshflexProfileList`: the exams of the profiles ordered.
    const QList<ProfileExam> &profiles() const { return m_profiles; }
    QAbstractTableModel &grid() { return *m_grid; }
    static QStringList captions();
    static bool isHidden(int column);

    /// Enter in the code column: the department's code list opens with what was typed and the
    /// exam picked goes through pickExam().
    CellAnswer enterCode(const QString &typed);
    /// Exam `code` of the department as a new line: the request checks, then its description,
    /// section and price at the stay's rate letter with quantity 1; a zero price and an exam
    /// already on the list are refused.
    bool pickExam(const QString &code);
    bool setQuantity(int row, const QString &text);
    bool setStat(int row, const QString &text);
    void setRemarks(int row, const QString &text);
    void setReason(int row, const QString &text);
    /// The specimen chosen for laboratory line `row` in the specimen pick-list.
    void setSpecimen(int row, const Specimen &specimen);
    /// "&Delete": asks, then takes line `row` (from 1) off.
    bool deleteLine(int row);
    /// "&Accept": the lines, checked for their specimens, go to the profile (accepted()).
    bool accept();

    /// The line as the profile's request grid takes it.
    static CommonExams::Order toOrder(const ExamRequestLine &line);

    // EntryGridRules
    int filledRows() const override { return int(m_lines.size()); }
    bool mayEdit(GridCell cell) const override;
    CellAnswer acceptCell(GridCell cell, const QString &text) override;
    QString prompt(int column) const override;
    int maxLength(int column) const override;

Q_SIGNALS:
    void accepted(const QList<kestrel::ExamRequestLine> &lines);
    void linesChanged();

private:
    bool refuse(const QString &text);
    void changed();

    Session &m_session;
    clsCodeLookup *m_codeLookup;
    ExamRequestGuards m_guards;
    QString m_department;
    ProfileHeader m_header;
    QString m_rateLetter;
    bool m_cashBasis = false;
    QList<ExamRequestLine> m_lines;
    QList<ProfileExam> m_profiles;
    QAbstractTableModel *m_grid = nullptr;
};

} // namespace kestrel
