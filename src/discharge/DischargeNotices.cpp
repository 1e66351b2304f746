// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "discharge/DischargeNotices.h"

#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::discharge {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

QString shownDateTime(const QDateTime &when)
{
    return when.isValid() ? when.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP")) : QString();
}

DischargeNoticeList::DischargeNoticeList(Session &session)
    : m_session(session)
    , m_store(session.db())
{
}

bool DischargeNoticeList::load()
{
    m_valid = false;
    m_idNum.clear();
    auto rows = m_store.notices();
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        m_notices.clear();
        return false;
    }
    m_notices = std::move(*rows);
    return true;
}

bool DischargeNoticeList::select(int index)
{
    if (index < 0 || index >= m_notices.size())
        return false;
    m_idNum = m_notices.at(index).idNum;
    m_valid = true;
    return true;
}

ClearPatient::ClearPatient(Session &session)
    : m_session(session)
    , m_store(session.db())
{
}

bool ClearPatient::open(const QString &idNum)
{
    auto found = m_store.notice(idNum);
    if (!found) {
        m_session.notifier().errorBox(found.error());
        return false;
    }
    if (!*found) {
        m_session.notifier().message(QStringLiteral("No records found."), kNotification,
                                     Notifier::Icon::Exclamation);
        return false;
    }
    m_notice = std::move(**found);
    return true;
}

QString ClearPatient::clearedByText() const
{
    if (isCleared())
        return m_notice.clearedBy;
    const CurrentUser *user = m_session.currentUser();
    return u'(' + m_session.employeeCode() + QStringLiteral(") ") +
           (user ? user->EmployeeName() : QString());
}

QString ClearPatient::clearDateText() const
{
    return isCleared() ? shownDateTime(m_notice.clearDate) : QStringLiteral("For clearing");
}

QString ClearPatient::ignoreCaption() const
{
    return isCleared() ? QStringLiteral("&Close") : QStringLiteral("&Ignore");
}

bool ClearPatient::save(const QString &remarks)
{
    if (!canSave())
        return false;
    auto cleared = m_store.clear(m_notice.idNum, remarks, m_session.employeeCode());
    if (!cleared) {
        m_session.notifier().errorBox(cleared.error());
        return false;
    }
    if (!*cleared) {
        // Another workstation cleared the patient while this one was open: show its clearing.
        m_session.notifier().message(QStringLiteral("The patient was cleared for discharge "
                                                    "from another workstation."),
                                     kNotification, Notifier::Icon::Exclamation);
        open(m_notice.idNum);
        return false;
    }
    m_session.notifier().message(QStringLiteral("Patient has been cleared for discharge."),
                                 kNotification, Notifier::Icon::Information);
    return true;
}

} // namespace kestrel::discharge
