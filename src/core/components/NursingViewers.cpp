// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/NursingViewers.h"

#include "core/db/Database.h"
#include "core/Notifier.h"

namespace kestrel {

NursingViewer::NursingViewer(QString progId, const ComponentContext &ctx, QObject *parent)
    : Component(std::move(progId), ctx, parent)
{
}

QVariantList NursingViewer::rows(QStringView procedure, const QVariantList &args) const
{
    if (m_terminated)
        return {};
    Database *db = database();
    if (!db) {
        qCWarning(lcComponents) << "nursing viewer asked before a connection";
        return {};
    }
    auto found = db->call(procedure, args);
    if (!found) {
        notifier().errorBox(found.error());
        return {};
    }
    QVariantList list;
    for (const Row &r : *found) {
        QVariantMap fields;
        for (int c = 0; c < r.columnCount(); ++c)
            fields.insert(r.columnNames().at(c), r.value(c));
        list << fields;
    }
    return list;
}

QVariantList NursingViewer::GetRequests(const QString &type, const QString &IdNum) const
{
    if (IdNum.trimmed().isEmpty())
        return {};
    return rows(u"STATION..sp_Nurse_Requests", {type.trimmed(), IdNum.trimmed()});
}

QVariantList NursingViewer::GetResults(const QString &IdNum) const
{
    if (IdNum.trimmed().isEmpty())
        return {};
    return rows(u"LABORATORY..sp_Nurse_Results", {IdNum.trimmed(), QString()});
}

QVariantList NursingViewer::GetConfinementResults(const QString &HospNum) const
{
    if (HospNum.trimmed().isEmpty())
        return {};
    return rows(u"LABORATORY..sp_Nurse_Results", {QString(), HospNum.trimmed()});
}

void NursingViewer::Class_Terminate()
{
    m_terminated = true;
}

clsRequestViewer::clsRequestViewer(const ComponentContext &ctx, QObject *parent)
    : NursingViewer(kProgId.toString(), ctx, parent)
{
}

clsResultViewer::clsResultViewer(const ComponentContext &ctx, QObject *parent)
    : NursingViewer(kProgId.toString(), ctx, parent)
{
}

clsStayResultViewer::clsStayResultViewer(const ComponentContext &ctx, QObject *parent)
    : NursingViewer(kProgId.toString(), ctx, parent)
{
}

clsStayViewer::clsStayViewer(const ComponentContext &ctx, QObject *parent)
    : NursingViewer(kProgId.toString(), ctx, parent)
{
}

} // namespace kestrel
