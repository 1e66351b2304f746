// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/PanicValues.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

namespace kestrel {

QStringList PanicValues::columns()
{
    return {
        QStringLiteral("#"),        QStringLiteral("Hospital No."), QStringLiteral("Adm. No."),
        QStringLiteral("Lastname"), QStringLiteral("Firstname"),    QStringLiteral("Middlename"),
        QStringLiteral("Ref. No."), QStringLiteral("Exam"),         QStringLiteral("Panic Value"),
        QStringLiteral("Result"),   QStringLiteral("Unit"),         QStringLiteral("Result Date")};
}

bool PanicValues::load()
{
    m_rows.clear();
    auto rows = m_session.db().call(u"Station..GetLBAbnormalResult", {m_session.StationID});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    int n = 0;
    for (const Row &r : *rows) {
        m_rows.append({QString::number(++n), r.trimmed(u"HospNum"), r.trimmed(u"IdNum"),
                       r.trimmed(u"LastName"), r.trimmed(u"FirstName"), r.trimmed(u"MiddleName"),
                       r.trimmed(u"RequestNum"), r.trimmed(u"TestName"), r.trimmed(u"PanicValue"),
                       r.trimmed(u"Result"), r.trimmed(u"Unit"),
                       r.dateTime(u"ResultDate").toString(u"MM/dd/yyyy hh:mm AP")});
    }
    return true;
}

bool PanicValues::viewResult(int row)
{
    if (row < 0 || row >= m_rows.size())
        return false;
    const QString request = m_rows.at(row).at(kRequestColumn);
    if (request.isEmpty() || !m_reports)
        return false;
    if (!m_reports->OpenReport(QStringLiteral("LabResult.rpt"), {request}))
        return false;
    return m_reports->ShowReport(false, QStringLiteral("Laboratory Result")) !=
           ReportService::Shown::Nothing;
}

} // namespace kestrel
