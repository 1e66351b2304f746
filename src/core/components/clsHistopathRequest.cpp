// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsHistopathRequest.h"

#include "core/components/CodePickList.h"
#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

clsHistopathRequest::clsHistopathRequest(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
{
}

bool clsHistopathRequest::showform()
{
    m_requestNum.clear();
    Database *db = database();
    if (!db || IdNum.trimmed().isEmpty()) {
        qCWarning(lcComponents) << "histopathology request without a connection or a stay";
        return false;
    }
    auto exams = db->call(u"LABORATORY..sp_Histopath_Exams");
    if (!exams) {
        notifier().errorBox(exams.error());
        return false;
    }
    CodeListing listing;
    listing.title = QStringLiteral("Histopathology Request");
    listing.headers = {QStringLiteral("Code"), QStringLiteral("Examination")};
    for (const Row &r : *exams)
        listing.rows << QStringList{r.trimmed(u"LabExamID"), r.trimmed(u"LabExam")};
    const int picked = pickRow(listing);
    if (picked < 0)
        return false;
    const QStringList &exam = listing.rows.at(picked);
    auto sent =
        db->call(u"STATION..sp_Histopath_Request",
                 {IdNum.trimmed(), HospNum.trimmed(), StationID.trimmed(), exam.at(0), exam.at(1)});
    if (!sent) {
        notifier().errorBox(sent.error());
        return false;
    }
    m_requestNum = sent->isEmpty() ? QString() : sent->at(0).trimmed(u"RequestNum");
    notifier().message(QStringLiteral("Histopathology request ") + m_requestNum +
                           QStringLiteral(" was sent to the laboratory."),
                       QStringLiteral("Notification"), Notifier::Icon::Information);
    return true;
}

} // namespace kestrel
