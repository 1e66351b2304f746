// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsTarvikClasses.h"

#include "core/components/Component.h"

namespace kestrel {

clsCF4::clsCF4(Notifier &notifier, QObject *parent)
    : QObject(parent)
    , m_notifier(notifier)
{
    setObjectName(QStringLiteral("clsCF4"));
}

bool clsCF4::ValidateRequirements() const
{
    return !IdNum.trimmed().isEmpty();
}

void clsCF4::ShowEntry()
{
    tellNotAvailable(m_notifier, QStringLiteral("The CF4 entry window"));
}

clsTarvikClasses::clsTarvikClasses(Notifier &notifier, std::function<Database *()> connection,
                                   std::function<QString()> employeeCode, QObject *parent)
    : QObject(parent)
    , m_connection(std::move(connection))
    , m_employeeCode(std::move(employeeCode))
    , m_cf4(new kestrel::clsCF4(notifier, this))
{
    setObjectName(QStringLiteral("TARVIKCLASSES"));
}

bool clsTarvikClasses::initwithdb()
{
    m_db = m_useClasses && m_connection ? m_connection() : nullptr;
    if (m_db && m_employeeCode)
        m_cf4->EmployeeCode = m_employeeCode();
    return m_db != nullptr;
}

} // namespace kestrel
