// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/requests/TranscriptionStatus.h"

#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

TranscriptionStatus::TranscriptionStatus(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
{
}

bool TranscriptionStatus::load(const QString &IdNum)
{
    auto lines = m_store.status(IdNum);
    if (!lines) {
        m_session.notifier().errorBox(lines.error());
        return false;
    }
    m_idNum = IdNum.trimmed();
    m_lines = *lines;
    Q_EMIT changed();
    return true;
}

TranscriptionStatus::Outcome TranscriptionStatus::refuse(const TranscriptionStatusLine &line)
{
    const QString text =
        line.revoked()
            ? QStringLiteral("Can't Revoke this Transcription! It is already been REVOKED.")
            : QStringLiteral("Can't Revoke this Transcription! It is already been PROCESSED BY "
                             "the PHARMACY.");
    m_session.notifier().message(text, QStringLiteral("Notification"), Notifier::Icon::Exclamation);
    return Outcome::Refused;
}

TranscriptionStatus::Outcome TranscriptionStatus::revoke(int index)
{
    if (index < 0 || index >= m_lines.size())
        return Outcome::Refused;
    const TranscriptionStatusLine line = m_lines.at(index);
    if (line.revoked() || line.processed())
        return refuse(line);
    Notifier &notifier = m_session.notifier();
    if (!notifier.confirm(QStringLiteral("Are you sure to revoke this transcription?"),
                          QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return Outcome::Refused;
    auto done = m_store.revoke(line.transNum, m_idNum, m_session.employeeCode());
    if (!done) {
        notifier.errorBox(done.error());
        return Outcome::Failed;
    }
    Outcome outcome = Outcome::Revoked;
    if (!done->revoked) {
        // The pharmacy processed it, or another workstation revoked it, since the list was
        // read: the line as it is now says why nothing was changed.
        TranscriptionStatusLine now = line;
        now.recordStatus = done->recordStatus;
        refuse(now);
        outcome = Outcome::NoLongerPending;
    }
    load(m_idNum);
    return outcome;
}

} // namespace kestrel
