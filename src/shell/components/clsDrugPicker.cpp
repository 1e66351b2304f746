// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/components/clsDrugPicker.h"

namespace kestrel {

clsDrug::clsDrug(QObject *parent)
    : QObject(parent)
{
    setObjectName(QStringLiteral("Drug"));
}

bool clsDrug::SearchDrug(const QString &code)
{
    Q_UNUSED(code)
    m_drugCode.clear();
    m_drugName.clear();
    m_description.clear();
    m_genericName.clear();
    m_status.clear();
    return false;
}

clsDrugPicker::clsDrugPicker(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
    , m_drug(new kestrel::clsDrug(this))
{
}

bool clsDrugPicker::InitConnect(Database *connection)
{
    return takeConnection(connection);
}

bool clsDrugPicker::InitConnect(const QString &connectionString)
{
    return takeConnection(connectionString);
}

bool clsDrugPicker::SearchDrug(const QString &code)
{
    return m_drug->SearchDrug(code);
}

} // namespace kestrel
