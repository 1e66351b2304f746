// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "users/UserRights.h"

#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

QList<EmployeeRow> SearchStationUsers(Session &session, const QString &text)
{
    auto rows = session.db().call(u"STATION..spNurse_SearchNurseUsers",
                                  {session.StationID, text.trimmed()});
    if (!rows) {
        session.notifier().errorBox(rows.error());
        return {};
    }
    QList<EmployeeRow> out;
    for (const Row &r : *rows)
        out.append(
            {r.trimmed(u"EmployeeCode"), r.trimmed(u"EmployeeName"), r.trimmed(u"Position")});
    return out;
}

UserRights::UserRights(Session &session)
    : m_session(session)
{
}

bool UserRights::load()
{
    auto rows = m_session.db().select(
        u"Select Description,ItemID From  STATION..tbNurseUserSettings Where Status = 'A'");
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_items.clear();
    for (const Row &r : *rows)
        m_items.append({r.text(u"Description") + QString(120, u' ') + r.text(u"ItemID"), false});
    return true;
}

bool UserRights::choose(const EmployeeRow &employee)
{
    auto rights = m_session.db().scalar(
        u"SELECT EmployeeRights FROM STATION..tbNurseUserRights WHERE EmployeeID = :employee",
        {{QStringLiteral("employee"), employee.code}});
    if (!rights) {
        m_session.notifier().errorBox(rights.error());
        return false;
    }
    m_employeeCode = employee.code;
    m_employeeName = employee.name;
    const QString text = rights->toString();
    for (Item &item : m_items)
        item.ticked = RightsGrant(text, item.code());
    return true;
}

void UserRights::setTicked(int index, bool ticked)
{
    if (index >= 0 && index < m_items.size())
        m_items[index].ticked = ticked;
}

void UserRights::selectAll(bool ticked)
{
    for (Item &item : m_items)
        item.ticked = ticked;
}

QString UserRights::rightsText() const
{
    QString text;
    for (const Item &item : m_items) {
        if (item.ticked)
            text += u'|' + item.code();
    }
    return text;
}

bool UserRights::save()
{
    auto saved =
        m_session.db().call(u"STATION..spNurse_SaveUserRights",
                            {m_employeeCode.trimmed(), rightsText(), m_session.employeeCode()});
    if (!saved) {
        m_session.notifier().errorBox(saved.error());
        return false;
    }
    m_session.notifier().message(QStringLiteral("User rights successfully updated."),
                                 QStringLiteral("Notification"), Notifier::Icon::Information);
    return true;
}

} // namespace kestrel
