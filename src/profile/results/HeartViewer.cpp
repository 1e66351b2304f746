// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/HeartViewer.h"

#include "core/db/Database.h"
#include "reports/ReportService.h"

namespace kestrel {

QString HeartViewer::reportTitle(const QString &formType)
{
    static const QHash<QString, QString> titles{
        {QStringLiteral("A"), QStringLiteral("ECHOCARDIOGRAM")},
        {QStringLiteral("D"), QStringLiteral("ELECTROCARDIOGRAM")},
        {QStringLiteral("E"), QStringLiteral("Treadmill Exercise Test Provisional Report Form")},
        {QStringLiteral("F"), QStringLiteral("DOBUTAMINE ECHOCARDIOGRAPHY")},
        {QStringLiteral("G"), QStringLiteral("Holter Report")},
        {QStringLiteral("H"), QStringLiteral("Lower Extremity Venous Duplex Scan Report")},
        {QStringLiteral("I"), QStringLiteral("Lower Extremity Arterial Duplex Scan Report")},
        {QStringLiteral("K"), QStringLiteral("Carotid Artery Duplex Scan Report")},
        {QStringLiteral("L"), QStringLiteral("Stress Echocardiography Report")},
    };
    return titles.value(formType.trimmed().toUpper());
}

bool HeartViewer::ViewHeartResult(const QString &requestNum)
{
    // The profile's heart station list shows the station's examination number; the request
    // number is taken as well.
    auto row = m_db.selectOne(u"select RequestNum, FormType from STATION..tbNurseDiagResult "
                              u"where (RequestNum = :number or TransNum = :number) "
                              u"and DepartmentID = 'HS'",
                              {{QStringLiteral("number"), requestNum.trimmed()}});
    if (!row || !*row)
        return false;
    const QString title = reportTitle((*row)->trimmed(u"FormType"));
    if (title.isEmpty() || !m_reports)
        return false;
    if (!m_reports->OpenReport(QStringLiteral("HeartResult.rpt"),
                               {(*row)->trimmed(u"RequestNum"), title}))
        return false;
    return m_reports->ShowReport(false, title) != ReportService::Shown::Nothing;
}

} // namespace kestrel
