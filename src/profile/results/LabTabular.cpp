// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/results/LabTabular.h"

#include "core/db/Database.h"
#include "profile/ProfileLists.h"

#include <QMap>

#include <algorithm>

namespace kestrel {

Result<LabTable> LabTabular::load() const
{
    const QString id = AdmissionNumber.trimmed();
    auto columns = m_db.call(u"STATION..sp_Nurse_GetPatient_LabResult_MaxCol", {id});
    if (!columns)
        return tl::unexpected(columns.error());
    auto results = m_db.call(u"STATION..sp_Nurse_GetPatient_LabResult_NormalValues", {id});
    if (!results)
        return tl::unexpected(results.error());
    const std::optional<Row> first = columns->first();
    return layout(first ? int(first->integer(u"maxcol")) : 0,
                  first ? first->date(u"StartDate") : QDate(), *results, LabExamID.trimmed());
}

LabTable LabTabular::layout(int maxCol, const QDate &startDate, const RowSet &results,
                            const QString &labExamId)
{
    auto wanted = [&](const Row &r) {
        return labExamId.isEmpty() ||
               r.trimmed(u"LabExamID").compare(labExamId, Qt::CaseInsensitive) == 0;
    };

    // The release days, ascending, from the first date column on.
    QList<QDate> days;
    for (const Row &r : results) {
        const QDate day = r.dateTime(u"Resultdate").date();
        if (wanted(r) && day.isValid() && (!startDate.isValid() || day >= startDate) &&
            !days.contains(day))
            days.append(day);
    }
    std::sort(days.begin(), days.end());
    const int columnCount = std::max<int>(maxCol, 0);
    while (days.size() > columnCount)
        days.removeLast();

    LabTable table;
    table.dateColumns = columnCount;
    table.headers << QStringLiteral("             EXAMINATION") << QStringLiteral("NORMAL VALUES");
    for (int c = 0; c < columnCount; ++c)
        table.headers << (c < days.size() ? days.at(c).toString(u"MM/dd/yy") : QString());

    // Sections in the order the results come, examinations in the order they first appear.
    QString section;
    QMap<QString, int> rowOfExam;
    for (const Row &r : results) {
        if (!wanted(r))
            continue;
        const QString heading = ProfileLists::laboratorySection(r.text(u"Section"));
        if (table.rows.isEmpty() || heading != section) {
            section = heading;
            rowOfExam.clear();
            table.rows.append(QStringList{heading});
            table.sectionRow.append(true);
        }
        const QString exam = r.trimmed(u"Exam");
        auto found = rowOfExam.constFind(exam);
        int row = found == rowOfExam.cend() ? -1 : *found;
        if (row < 0) {
            QStringList cells{exam, r.trimmed(u"NormalValue")};
            for (int c = 0; c < columnCount; ++c)
                cells << QString();
            table.rows.append(cells);
            table.sectionRow.append(false);
            row = int(table.rows.size()) - 1;
            rowOfExam.insert(exam, row);
        }
        const qsizetype column = days.indexOf(r.dateTime(u"Resultdate").date());
        if (column >= 0)
            table.rows[row][2 + column] = r.trimmed(u"result");
    }
    return table;
}

} // namespace kestrel
