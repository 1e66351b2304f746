// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeEntryLine.h"

namespace kestrel {

QString ChargeEntryLine::cell(int column) const
{
    switch (column) {
    case Department:
        return line.department;
    case Item:
        return line.item;
    case Description:
        return line.description;
    case Quantity:
        return line.quantity;
    case UnitPrice:
        return line.unitPrice;
    case Amount:
        return line.amount;
    case Location:
        return line.location;
    case ARCode:
        return line.arCode;
    case ORSection:
        return line.orSection;
    case ListPrice:
        return line.listPrice;
    case PsiFlag:
        return psiFlag;
    case TankNumber:
        return tankNumber;
    case InitialReading:
        return initialReading;
    case LastReading:
        return lastReading;
    case Package:
        return packageId;
    case Markup:
        return line.markupText;
    case MajorOperation:
        return majorOperation;
    case DosageOrProcedure:
        return dosage.isEmpty() ? procedureCode : dosage;
    case SecondOperation:
        return line.secondOperation;
    case Meals:
        return line.mealAmount;
    case StatFlag:
        return line.statFlag;
    case DosageFrequency:
        return dosageFrequency;
    case DoctorCode:
        return doctorCode;
    default:
        return {};
    }
}

void ChargeEntryLine::clearItem()
{
    const QString department = line.department;
    *this = ChargeEntryLine();
    line.department = department;
}

} // namespace kestrel
