// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QList>
#include <QObject>
#include <QStringList>

namespace kestrel {

class Session;

/// The "Patient Pro&File" tab: the patient's allergies (kept for life under the hospital
/// number), the personal, family and social history and the history and physical
/// examination of the stay.
class ProfileHistory : public QObject
{
    Q_OBJECT

public:
    enum class Group { Allergy, Family, Personal, Social };
    enum class Outcome { Refused, Declined, Abandoned, Done, Failed };

    explicit ProfileHistory(Session &session, QObject *parent = nullptr);

    /// The check boxes of a group, in index order.
    static QStringList names(Group group);
    /// The code stored for box `index` of a group: the allergy list's own codes ("F1", "M1",
    /// ...), the position counting from 1 for the histories.
    static QString code(Group group, int index);
    /// How many boxes of a group may be ticked at once; 0 for no limit.
    static int limit(Group group);

    /// Reads the profile of the stay. False when it could not be read (the error box was
    /// shown).
    bool load(const QString &hospNum, const QString &idNum);

    bool isTicked(Group group, int index) const;
    /// Ticks or unticks a box. Ticking past the group's limit is told and left unticked;
    /// answers whether the box is ticked afterwards.
    bool setTicked(Group group, int index, bool ticked);

    QString allergyOthers, familyOthers;
    QString briefHistory, skin, headNeck, thorax, abdomen, extremeties, lympNodes, genitalia,
        rectal, neurological, otherPE;
    QString admDiagnosis, chiefComplaints;

    /// Asks, has the nurse sign, and writes allergies, profile and (for an admission) the
    /// admission's history in one transaction.
    Outcome save();

Q_SIGNALS:
    /// A load replaced what the tab shows.
    void changed();

private:
    QList<bool> &boxes(Group group);
    const QList<bool> &boxes(Group group) const;
    QStringList tickedCodes(Group group, int slots) const;

    Session &m_session;
    QString m_hospNum, m_idNum;
    QList<bool> m_allergies, m_family, m_personal, m_social;
};

} // namespace kestrel
