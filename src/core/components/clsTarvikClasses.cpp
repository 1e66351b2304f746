// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsTarvikClasses.h"

#include "core/components/CF4Entry.h"
#include "core/components/Component.h"
#include "core/Notifier.h"

namespace kestrel {

clsCF4::clsCF4(Notifier &notifier, QObject *parent)
    : QObject(parent)
    , m_notifier(notifier)
{
    setObjectName(QStringLiteral("clsCF4"));
}

Database *clsCF4::connection() const
{
    if (m_db)
        return m_db;
    auto *classes = qobject_cast<clsTarvikClasses *>(parent());
    return classes ? classes->connection() : nullptr;
}

bool clsCF4::ValidateRequirements() const
{
    Database *db = connection();
    if (IdNum.trimmed().isEmpty() || !db)
        return false;
    const Result<QStringList> missing = CF4Entry::missingOf(*db, IdNum);
    if (!missing) {
        m_notifier.errorBox(missing.error());
        return false;
    }
    if (missing->isEmpty())
        return true;
    m_notifier.message(QStringLiteral("The CF4 of this patient is not complete. Still to be "
                                      "entered: ") +
                           missing->join(QStringLiteral(", ")) + u'.',
                       QStringLiteral("Notification"), Notifier::Icon::Information);
    return false;
}

void clsCF4::ShowEntry()
{
    Database *db = connection();
    if (!db || !m_window) {
        qCWarning(lcComponents) << "the CF4 entry was asked for before the login";
        return;
    }
    CF4Entry entry(*db, m_notifier,
                   CF4EntryValues{IdNum, StationID, Title, ShowPrint, HospitalName, HospitalAddress,
                                  ReportPath, EmployeeCode});
    if (entry.load())
        m_window->show(entry);
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
