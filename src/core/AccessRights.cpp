// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/AccessRights.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

bool RightsGrant(QStringView rights, QStringView code)
{
    if (rights.size() < 2)
        return false;
    const QStringView wanted = code.trimmed();
    for (QStringView piece : rights.split(u'|')) {
        if (piece.trimmed() == wanted)
            return true;
    }
    return false;
}

bool HasAccessRight(Session &session, QStringView code, QStringView employee)
{
    const QString whose = (!employee.trimmed().isEmpty() || code.trimmed() == u"20")
                              ? employee.trimmed().toString()
                              : session.employeeCode().trimmed();
    // Nobody (a cancelled re-validation, no login) holds no right, whatever a rights row
    // without an employee says.
    if (whose.isEmpty())
        return false;
    auto rights = session.db().scalar(
        u"SELECT EmployeeRights FROM STATION..tbNurseUserRights WHERE EmployeeID = :employee",
        {{QStringLiteral("employee"), whose}});
    if (!rights) {
        session.notifier().errorBox(rights.error());
        return false;
    }
    return RightsGrant(rights->toString(), code);
}

} // namespace kestrel
