// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/AssessmentStore.h"

#include <QList>
#include <QString>

#include <utility>

namespace kestrel {

class Session;

/// "Remarks and Lab Specimen" (`frmClinicalAssessmentRemarks`): the remarks `txtRemarks` of an
/// assessed examination and, for a laboratory exam, the specimen it is taken from, chosen in
/// `mshflexSpecimen`.
class ClinicalRemarks
{
public:
    explicit ClinicalRemarks(Session &session);

    static QString caption() { return QStringLiteral("Remarks and Lab Specimen"); }
    static QString listTitle() { return QStringLiteral("List of Specimens"); }
    static QString hint() { return QStringLiteral("Click on the list to select a specimen"); }

    /// Opens the window on exam `exam` of `department` with what it holds so far; the
    /// laboratory's exams list their specimens. False when they could not be read (told).
    bool open(const QString &department, const QString &exam, const AssessmentLineDetail &detail);

    /// The specimens (code, description); a laboratory exam that needs none lists "None".
    const QList<std::pair<QString, QString>> &specimens() const { return m_specimens; }
    /// The exam is taken from a specimen that must be chosen.
    bool needsSpecimen() const;
    int chosen() const;

    void setRemarks(const QString &remarks) { m_detail.remarks = remarks; }
    /// A specimen clicked in the list.
    void chooseSpecimen(int index);
    /// OK: false ("Please select specimen.") while a needed specimen is not chosen.
    bool accept();
    const AssessmentLineDetail &detail() const { return m_detail; }

private:
    Session &m_session;
    QList<std::pair<QString, QString>> m_specimens;
    AssessmentLineDetail m_detail;
};

} // namespace kestrel
