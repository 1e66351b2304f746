// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

#include <optional>

namespace kestrel {

class Session;

/// The rules of the charge slip sequence window `frmChargeSlipVerification`: it shows the
/// station's next charge slip number and sets it to the first free number from the one typed.
class ChargeSlipVerification
{
public:
    explicit ChargeSlipVerification(Session &session);

    /// Reads the station's counter for `txtChargeSlip`; false (the error box shown) when it
    /// cannot be read.
    bool load();

    /// `lblStation`: the station whose counter is set; "ALL" sets every station's.
    QString station() const { return m_station; }
    /// A station picked from the station list.
    void setStation(const QString &station);
    /// The counter as it stood when the window opened; empty when the station has none.
    QString chargeSlip() const { return m_chargeSlip; }

    /// Save is offered for a typed number only.
    static bool canSave(const QString &typed);
    /// Moves the typed number on past every number already used ("C" + n + "O"), sets the
    /// counter to it and tells the user; the number set, or nothing when it was not saved.
    std::optional<qint64> save(const QString &typed);

private:
    Session &m_session;
    QString m_station;
    QString m_chargeSlip;
};

} // namespace kestrel
