// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/requests/RequestLayout.h"
#include "core/db/Database.h"

#include <QDateTime>

namespace kestrel {

/// What a save of transcribed orders is sent with, besides its lines.
struct TranscriptionBatch
{
    QString hospNum;
    QString IdNum;
    QString patientClass; ///< "I" or "O"
    QString doctor;       ///< the stay's first attending doctor
    QString user;
    QString station;
    QString room;  ///< as the window shows it
    QDateTime now; ///< the server's time of the save
};

/// One line of the stay's transcription list.
struct TranscriptionStatusLine
{
    qint64 transNum = 0;
    QString patientName, item, description, assessment, amount, status;
    /// '' pending, 'P' processed by the pharmacy, 'R' revoked.
    QString recordStatus;

    bool revoked() const { return recordStatus == u"R"; }
    bool processed() const { return recordStatus == u"P"; }
    friend bool operator==(const TranscriptionStatusLine &,
                           const TranscriptionStatusLine &) = default;
};

/// What a revoke did: whether this call revoked the line, and the line's state afterwards
/// ('R' revoked, 'P' processed by the pharmacy first).
struct TranscriptionRevoke
{
    bool revoked = false;
    QString recordStatus;
};

/// The statements of the transcription windows.
class TranscriptionStore
{
public:
    explicit TranscriptionStore(Database &db)
        : m_db(db)
    {
    }

    /// Saves the lines that hold an item in one transaction under one assessment number, drawn
    /// from the hospital's series in the same transaction; answers the number ("AS" and the
    /// series' value). On a failure nothing is stored and the series is where it was. A
    /// transaction another workstation made wait too long is tried again whole.
    Result<QString> save(const TranscriptionBatch &batch, const QList<RequestLine> &lines);
    /// The stay's transcribed lines, oldest first.
    Result<QList<TranscriptionStatusLine>> status(const QString &IdNum);
    /// Revokes line `transNum` of the stay if it is still pending, in one transaction that
    /// decides again whether it is.
    Result<TranscriptionRevoke> revoke(qint64 transNum, const QString &IdNum, const QString &user);
    /// The doctors' medication orders of the stay as the window shows them, newest first.
    Result<QString> doctorOrders(const QString &IdNum);

private:
    Result<QString> saveOnce(const TranscriptionBatch &batch, const QList<RequestLine> &lines);
    Result<QString> drawAssessmentNumber();

    Database &m_db;
};

} // namespace kestrel
