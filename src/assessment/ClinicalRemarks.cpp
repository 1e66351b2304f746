// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/ClinicalRemarks.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

ClinicalRemarks::ClinicalRemarks(Session &session)
    : m_session(session)
{
}

bool ClinicalRemarks::open(const QString &department, const QString &exam,
                           const AssessmentLineDetail &detail)
{
    m_detail = detail;
    m_specimens.clear();
    if (department.trimmed().toUpper() != u"LB")
        return true;
    auto rows = m_session.db().call(u"STATION..sp_Nurse_GetLabExam_Specimen", {exam.trimmed()});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    for (const Row &row : *rows)
        m_specimens.append({row.trimmed(u"Code"), row.trimmed(u"Description")});
    return true;
}

bool ClinicalRemarks::needsSpecimen() const
{
    for (const auto &[code, name] : m_specimens) {
        if (code.compare(u"None", Qt::CaseInsensitive) != 0)
            return true;
    }
    return false;
}

int ClinicalRemarks::chosen() const
{
    for (int i = 0; i < m_specimens.size(); ++i) {
        if (!m_detail.specimen.isEmpty() && m_specimens.at(i).first == m_detail.specimen)
            return i;
    }
    return -1;
}

void ClinicalRemarks::chooseSpecimen(int index)
{
    if (index >= 0 && index < m_specimens.size())
        m_detail.specimen = m_specimens.at(index).first;
}

bool ClinicalRemarks::accept()
{
    m_detail.remarks = m_detail.remarks.trimmed();
    if (needsSpecimen() && chosen() < 0) {
        m_session.notifier().message(QStringLiteral("Please select specimen."),
                                     QStringLiteral("Notification"),
                                     Notifier::Icon::Information);
        return false;
    }
    if (!needsSpecimen())
        m_detail.specimen.clear();
    return true;
}

} // namespace kestrel
