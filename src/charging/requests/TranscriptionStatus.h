// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/TranscriptionStore.h"

#include <QObject>

namespace kestrel {

class Session;

/// The rules of `frmTranscriptionStatus` "Transcription Status": the stay's transcribed lines
/// and the revoke of one the pharmacy has not processed yet. The revoke decides again in its
/// own transaction, so a line the pharmacy processes at the same moment is never half revoked.
class TranscriptionStatus : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Revoked, Refused, NoLongerPending, Failed };

    explicit TranscriptionStatus(Session &session, QObject *parent = nullptr);

    /// Reads the list of stay `IdNum`; false when it cannot be read.
    bool load(const QString &IdNum);
    const QString &idNum() const { return m_idNum; }
    const QList<TranscriptionStatusLine> &lines() const { return m_lines; }

    /// Double click or "&Revoke" on line `index` (from 0): the refusals, the question, the
    /// revoke and the list read again.
    Outcome revoke(int index);

Q_SIGNALS:
    void changed();

private:
    Outcome refuse(const TranscriptionStatusLine &line);

    Session &m_session;
    TranscriptionStore m_store;
    QString m_idNum;
    QList<TranscriptionStatusLine> m_lines;
};

} // namespace kestrel
