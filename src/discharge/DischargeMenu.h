// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "discharge/DischargeStore.h"

#include <QStringList>

namespace kestrel {

class Session;

namespace discharge {

/// The discharge of a stay (with its result and disposition) and its transfer to another room.
/// A discharge passes every rule that holds it back, in order, each telling why; both writes
/// are one transaction each and close the window when done.
class DischargeMenu
{
public:
    explicit DischargeMenu(Session &session);

    /// Reads the stay `idNum`; false (and told why) when there is none.
    bool open(const QString &idNum);
    const Stay &stay() const { return m_stay; }

    QString admissionDateText() const;
    QString admissionTimeText() const;
    /// The discharge tab needs right "4", the room transfer tab right "5".
    bool canDischarge() const { return m_canDischarge; }
    bool canTransfer() const { return m_canTransfer; }

    /// The choices of `optResults` and `optDisposition`; a choice's code is its index + 1.
    static QStringList results();
    static QStringList dispositions();

    /// Discharges the patient at `when` with the chosen result and disposition (indexes into
    /// results() and dispositions()). True when the patient was discharged.
    bool saveDischarge(const QDateTime &when, int result, int disposition);

    /// The room typed, upper case, looked up: the new station's name, empty when no such room.
    QString validateRoom(const QString &roomId);
    /// Transfers the patient to `roomId` at `time` of today's server date. True when done.
    bool saveTransfer(const QString &roomId, const QTime &time);

private:
    /// Re-validation for the discharge, asked again after each failure until the user gives
    /// up; the validated employee, or empty.
    QString validateForDischarge();
    bool refuse(const QString &text);

    Session &m_session;
    DischargeStore m_store;
    Stay m_stay;
    std::optional<Room> m_newRoom;
    bool m_canDischarge = false;
    bool m_canTransfer = false;
};

} // namespace discharge
} // namespace kestrel
