// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/RequestRevoke.h"

#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// How often a revoke is tried while another workstation holds the request.
constexpr int kTries = 3;

} // namespace

RequestRevoke::Outcome RequestRevoke::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return Outcome::Refused;
}

RequestRevoke::Outcome RequestRevoke::revoke(const QString &idNum, const StatusLine &line)
{
    Notifier &notifier = m_session.notifier();
    if (line.code.trimmed().isEmpty())
        return refuse(QStringLiteral("Please select the request to revoke."));
    if (!HasAccessRight(m_session, u"2"))
        return refuse(QStringLiteral("Sorry, you don't have access right to revoke requests."));
    if (line.department.trimmed().toUpper() == u"LB" &&
        m_session.settings.DisableLBCancellation())
        return refuse(QStringLiteral("Sorry, cancellation of laboratory requests was disabled by "
                                     "your administrator.\r\nPlease notify the laboratory "
                                     "department to do the cancellation instead."));
    if (!notifier.confirm(QStringLiteral("Are you sure you want to revoke ") + line.item.trimmed() +
                              u'?',
                          QStringLiteral("Confirmation")))
        return Outcome::Refused;
    Result<RowSet> done;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        done = m_session.db().call(u"STATION..sp_Nurse_Revoke_Request",
                                   {line.code.trimmed(), line.department.trimmed(), idNum.trimmed(),
                                    m_session.employeeCode()});
        if (done || !done.error().retryable())
            break;
    }
    if (!done) {
        notifier.errorBox(done.error());
        return Outcome::Failed;
    }
    if (done->isEmpty() || done->at(0).integer(u"Revoked") == 0) {
        notifier.message(QStringLiteral("%1 is no longer pending: the department has processed "
                                        "it or it was revoked at another workstation. Nothing "
                                        "was changed.")
                             .arg(line.item.trimmed()),
                         kNotification, Notifier::Icon::Exclamation);
        return Outcome::NoLongerPending;
    }
    return Outcome::Revoked;
}

} // namespace kestrel
