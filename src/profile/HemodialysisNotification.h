// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"

#include <QDateTime>
#include <QList>
#include <QObject>
#include <QString>

namespace kestrel {

class Database;
class Session;

/// "Notification for Hemodialysis" (`frmNotificationforHemodialysis`): the ward tells the
/// dialysis unit that a patient of the stay is to be dialysed, with the dialyzer and the
/// vascular access to prepare, and may take a notification back. The unit keeps one
/// notification of a stay waiting at a time; a second is refused while the first waits, also
/// when two workstations send at once.
class HemodialysisNotification : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Done, Refused, Abandoned, Failed };

    /// One earlier notification of the stay.
    struct Sent
    {
        int requestId = 0;
        QDateTime requestDate, dialysisDate, revokedDate;
        QString dialyzer, access, remarks, sentBy, revokedBy;
        bool revoked = false;
        /// Still waiting for the unit to take it up.
        bool pending = false;
    };

    struct Choice
    {
        QString code, description;
    };

    explicit HemodialysisNotification(Session &session, QObject *parent = nullptr);

    /// The list's columns.
    static QStringList columns();
    /// One cell of the list, as the grid shows it.
    QString cell(int row, int column) const;

    /// Opens the notifications of the stay: the earlier ones, the accesses and the dialyzers.
    /// False when they cannot be read (the user was told).
    bool open(const QString &idNum, const QString &hospNum);
    QString idNum() const { return m_idNum; }
    const QList<Sent> &sent() const { return m_sent; }
    const QList<Choice> &accesses() const { return m_accesses; }
    const QList<Choice> &dialyzers() const { return m_dialyzers; }
    /// The active dialyzers whose description begins with `text`, for the search box.
    bool findDialyzers(const QString &text);

    // The entry.
    QString dialyzerId;
    QString accessId;
    QDateTime dialysisDate;
    QString remarks;

    /// "&Save": the entry checked, then sent in one transaction unless the unit still holds a
    /// notification of the stay.
    Outcome save();
    /// "&Revoke": takes back the notification on `row` of the list, logged in the station log.
    Outcome revoke(int row);

Q_SIGNALS:
    void listChanged();
    void dialyzersChanged();

private:
    Outcome refuse(const QString &text);
    bool load();
    /// One try of the save's transaction; an error of contention may be tried again whole.
    Result<QDateTime> trySave(const QString &employee);

    Session &m_session;
    QString m_idNum, m_hospNum;
    QList<Sent> m_sent;
    QList<Choice> m_accesses;
    QList<Choice> m_dialyzers;
};

} // namespace kestrel
