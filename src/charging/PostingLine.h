// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeLine.h"

#include <QString>
#include <QStringList>

namespace kestrel {

/// One line of the entry grid as posting reads it: the priced cells and the cells the pricing
/// rules do not use (package, oxygen readings, dosage, OR procedure, doctor).
struct PostingLine
{
    ChargeLine line;
    QString packageId;      ///< cell 15: the package the line belongs to
    QString majorOperation; ///< cell 17: "Y" or "N" on OR procedure lines
    QString dosage;         ///< cell 18 of a medicine line: the dosage code
    QString procedureCode;  ///< cell 18 of an OR line: the OR procedure it stands for
    QString doctorCode;     ///< the doctor of a professional fee line
    QString mealRemarks;    ///< what the doctors' meals window noted beside the meal amount
    // Oxygen by pressure (department "OX").
    QString psiFlag;        ///< cell 11: "1" for tank oxygen charged by pressure
    QString tankNumber;     ///< cell 12
    QString initialReading; ///< cell 13: PSI before use
    QString lastReading;    ///< cell 14: PSI after use

    /// The line has an item code: only such lines are posted.
    bool hasCode() const { return !line.item.trimmed().isEmpty(); }
    /// Nothing was entered on the line.
    bool isBlank() const
    {
        return line.department.trimmed().isEmpty() && !hasCode() &&
               line.description.trimmed().isEmpty();
    }
    /// An "OR" line carrying doctors' meals: billing finds them in the logbook line's remark.
    bool hasDoctorsMeals() const
    {
        return line.department.trimmed() == u"OR" && line.mealAmountValue() > Money();
    }
    /// The remark of a line with doctors' meals: "DOCTOR MEAL:" and the item, its description,
    /// the meal amount and what was noted with it, apart by ":".
    QString doctorsMealRemark() const
    {
        return QStringLiteral("DOCTOR MEAL:") +
               QStringList{line.item.trimmed(), line.description.trimmed(),
                           line.mealAmount.trimmed(), mealRemarks.trimmed()}
                   .join(u':');
    }
    /// Tank oxygen charged by pressure: its readings become the tank's history.
    bool isOxygenByPressure() const
    {
        return line.department.trimmed() == u"OX" && psiFlag.trimmed() == u"1";
    }
};

/// The refusal of a stock item none of which is left at its location. Where medicines are
/// charged with their dosage the box is worded as the dosage list words it.
inline QString noStockLeftText(const QString &drugName, bool withDosage)
{
    const QString refused = QStringLiteral(" The system can't process the specified item.");
    if (withDosage)
        return QStringLiteral("There is no stock left for ") + drugName + u'.' + refused;
    return drugName + QStringLiteral(" has no stocks left.") + refused;
}

/// How a save ended.
struct PostingOutcome
{
    enum class Status {
        Saved,   ///< posted under `chargeSlip`; the grid may be emptied
        Refused, ///< a check or the user stopped it; nothing was written
        Failed,  ///< the database failed; nothing was written, the user saw the error box
    };
    Status status = Status::Refused;
    QString chargeSlip;
    /// The line (index into the lines handed over) whose quantity must be entered, so the
    /// window puts its editor there; -1 for none.
    int quantityLine = -1;

    bool saved() const { return status == Status::Saved; }
};

} // namespace kestrel
