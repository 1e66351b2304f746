// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ProfileLists.h"

#include "core/db/Database.h"

namespace kestrel {

namespace {

const QString kTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm:ss AP");

} // namespace

QString ProfileLists::laboratorySection(const QString &sectionId)
{
    static const QHash<QString, QString> sections{
        {QStringLiteral("CHEM"), QStringLiteral("BLOOD CHEMISTRY")},
        {QStringLiteral("HEM"), QStringLiteral("HEMATOLOGY")},
        {QStringLiteral("HISTO"), QStringLiteral("HISTOPATHOLOGY")},
        {QStringLiteral("MICRO"), QStringLiteral("MICBIOLOGY")},
        {QStringLiteral("BB"), QStringLiteral("BLOOD BANK")},
        {QStringLiteral("VIRO"), QStringLiteral("VIROLOGY")},
        {QStringLiteral("CM"), QStringLiteral("CLINICAL MICROSCOPY")},
        {QStringLiteral("SERO"), QStringLiteral("SEROLOGY")},
    };
    return sections.value(sectionId.trimmed().toUpper(), sectionId.trimmed());
}

Result<RowSet> ProfileLists::laboratoryResults(const QString &idNum) const
{
    auto rows = m_db.select(u"select SectionID, RequestNum, TestName, RequestDate, ResultDate, "
                            u"Result, Unit, NormalRange, Flag from LABORATORY..tbLabResult "
                            u"where IdNum = :id and RecordStatus <> 'R' "
                            u"order by SectionID, RequestDate, ResultID",
                            {{QStringLiteral("id"), idNum.trimmed()}});
    if (!rows)
        return rows;
    RowSet list({QStringLiteral("Section"), QStringLiteral("Trans. No"),
                 QStringLiteral("Exam. Name"), QStringLiteral("Trans. Date"),
                 QStringLiteral("Result Date"), QStringLiteral("Result"), QStringLiteral("Unit"),
                 QStringLiteral("Normal Values"), QStringLiteral("Flag")});
    for (const Row &r : *rows) {
        list.append(QVariantList{laboratorySection(r.text(u"SectionID")),
                                 r.trimmed(u"RequestNum"), r.trimmed(u"TestName"),
                                 r.dateTime(u"RequestDate").toString(kTimeFormat),
                                 r.dateTime(u"ResultDate").toString(kTimeFormat),
                                 r.trimmed(u"Result"), r.trimmed(u"Unit"),
                                 r.trimmed(u"NormalRange"), r.trimmed(u"Flag")});
    }
    return list;
}

Result<RowSet> ProfileLists::stationReports() const
{
    auto rows = m_db.select(u"Select ReportType, ReportName From STATION..tbNurse_ReportList "
                            u"Where RecordStatus = 1 Order By ReportName");
    if (!rows)
        return rows;
    RowSet list({QStringLiteral("ReportType"), QString(), QStringLiteral("Report Name")});
    for (const Row &r : *rows)
        list.append(QVariantList{r.trimmed(u"ReportType"), QString(), r.trimmed(u"ReportName")});
    return list;
}

} // namespace kestrel
