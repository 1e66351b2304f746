// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QString>

namespace kestrel {

class clsSettings;

/// The counters of a station's row in STATION..tbORChargeSlip that a charge slip number is
/// drawn from.
enum class SlipCounter {
    Common,     ///< ChargeSlip: every stay
    Inpatient,  ///< IChargeSlip: inpatient stays, fifteen-character numbers
    Outpatient, ///< OChargeSlip: outpatient and ER visits, fifteen-character numbers
};

/// How the hospital writes its charge slip numbers. The masks are patterns of the ordinary
/// number formatting ("0000000"); empty when the hospital does not use them.
struct SlipFormat
{
    QString newFormat;        ///< NewCSlipFormat
    bool fifteen = false;     ///< FifteenCSlipFormat
    QString birFormat;        ///< BirCSlipFormat

    /// The format of the station switches.
    static SlipFormat of(const clsSettings &settings);

    /// The counter a slip for the stay `IdNum` is drawn from: the common one, unless the
    /// fifteen-character numbers keep inpatients and outpatients apart.
    SlipCounter counterFor(const QString &IdNum) const;
    /// The charge slip number that counter value `n` of `counter` gives: "C1234O",
    /// "C" + n in NewCSlipFormat + "O", or "OC2"/"OC1" + n in BirCSlipFormat.
    QString number(SlipCounter counter, qint64 n) const;
};

} // namespace kestrel
