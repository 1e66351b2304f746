// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/RevokedRequests.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

RevokedRequests::RevokedRequests(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

bool RevokedRequests::load()
{
    auto rows = m_session.db().call(u"STATION..LoadRevokedRequests", {m_session.StationID, 0});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_rows = std::move(*rows);
    Q_EMIT rowsChanged();
    return true;
}

bool RevokedRequests::acknowledged(int row) const
{
    return row >= 0 && row < m_rows.count() && m_rows.at(row).trimmed(u"Status") == u"A";
}

RevokedRequests::Outcome RevokedRequests::acknowledge(int row)
{
    Notifier &notifier = m_session.notifier();
    const QString requestNum =
        row >= 0 && row < m_rows.count() ? m_rows.at(row).trimmed(u"RequestNum") : QString();
    if (requestNum.isEmpty()) {
        notifier.message(QStringLiteral("Please select revoked request to acknowledge."),
                         kNotification, Notifier::Icon::Information);
        return Outcome::Refused;
    }
    const QString already = QStringLiteral("This revoked request was previously acknowledged.");
    if (acknowledged(row)) {
        notifier.message(already, kNotification, Notifier::Icon::Information);
        return Outcome::Refused;
    }
    m_session.validated = m_session.dialogs().validateUser();
    if (!m_session.validated.isValid())
        return Outcome::Abandoned;
    // Another nurse may have acknowledged it since the list was read; the first one stands.
    auto done = m_session.db().exec(u"UPDATE STATION..tbNurseCommunicationfile "
                                    u"SET RevAcknow_Date = getdate(), RevAcknow_UserID = :user "
                                    u"WHERE RequestNum = :request AND RevAcknow_Date IS NULL",
                                    {{QStringLiteral("user"), m_session.validated.code},
                                     {QStringLiteral("request"), requestNum}});
    if (!done) {
        notifier.errorBox(done.error());
        return Outcome::Failed;
    }
    if (*done == 0) {
        notifier.message(already, kNotification, Notifier::Icon::Information);
        load();
        return Outcome::Refused;
    }
    notifier.message(QStringLiteral("You have successfully acknowledged the revoked request."),
                     kNotification, Notifier::Icon::Information);
    load();
    return Outcome::Done;
}

} // namespace kestrel
