// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeStore.h"

namespace kestrel {

class Session;

namespace discharge {

/// The station's discharge notices, the list the assistant's reminder leads to. Choosing one
/// answers its admission number, and the clearing window opens for it.
class DischargeNoticeList
{
public:
    explicit DischargeNoticeList(Session &session);

    bool load();
    const QList<Notice> &notices() const { return m_notices; }

    /// The row `index` chosen: IdNum becomes its admission number and Valid true.
    bool select(int index);
    QString IdNum() const { return m_idNum; }
    bool Valid() const { return m_valid; }

private:
    Session &m_session;
    DischargeStore m_store;
    QList<Notice> m_notices;
    QString m_idNum;
    bool m_valid = false;
};

/// Clearing a noticed patient for discharge. A notice cleared already is only shown.
class ClearPatient
{
public:
    explicit ClearPatient(Session &session);

    bool open(const QString &idNum);
    const Notice &notice() const { return m_notice; }
    QString IdNum() const { return m_notice.idNum; }

    bool isCleared() const { return m_notice.isCleared(); }
    /// "Cleared by": the user about to clear, or whoever cleared.
    QString clearedByText() const;
    /// "Cleared Date": "For clearing" until cleared.
    QString clearDateText() const;
    bool canSave() const { return !isCleared(); }
    QString ignoreCaption() const;

    /// Clears the patient with `remarks`; true when the window closes.
    bool save(const QString &remarks);

private:
    Session &m_session;
    DischargeStore m_store;
    Notice m_notice;
};

/// How the ward shows a date-time: "MM/dd/yyyy hh:mm:ss AM"; empty for none.
QString shownDateTime(const QDateTime &when);

} // namespace discharge
} // namespace kestrel
