// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/NursingViewers.h"

namespace kestrel {

NursingViewer::NursingViewer(QString progId, const ComponentContext &ctx, QObject *parent)
    : Component(std::move(progId), ctx, parent)
{
}

QVariantList NursingViewer::GetRequests(const QString &type, const QString &IdNum) const
{
    Q_UNUSED(type)
    Q_UNUSED(IdNum)
    return {};
}

QVariantList NursingViewer::GetResults(const QString &IdNum) const
{
    Q_UNUSED(IdNum)
    return {};
}

QVariantList NursingViewer::GetConfinementResults(const QString &HospNum) const
{
    Q_UNUSED(HospNum)
    return {};
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
