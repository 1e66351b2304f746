// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/PostingLine.h"

#include <QString>

namespace kestrel {

/// One row of the charge window's entry grid `mshflexEntry`: the line as posting reads it
/// (the priced cells in `line`), and what only charge entry keeps. Columns are numbered as the
/// grid numbers them; column 0 is the grid's fixed column.
struct ChargeEntryLine : PostingLine
{
    enum Column {
        Department = 1,
        Item = 2,
        Description = 3,
        Quantity = 4,
        UnitPrice = 5,
        Amount = 6,
        Location = 7,
        ARCode = 8,
        ORSection = 9,
        ListPrice = 10,
        PsiFlag = 11,
        TankNumber = 12,
        InitialReading = 13,
        LastReading = 14,
        Package = 15,
        Markup = 16,
        MajorOperation = 17,
        DosageOrProcedure = 18,
        SecondOperation = 19,
        Meals = 20,
        StatFlag = 21,
        DosageFrequency = 22,
        DoctorCode = 23,
        ColumnCount = 24,
    };

    /// The dosage frequency of a medicine line (cell 22).
    QString dosageFrequency;

    /// A line of a stock department, and the stock its item had when it was looked up.
    bool stockItem = false;
    double stockOnHand = 0;

    /// The text of `column` as the grid shows it.
    QString cell(int column) const;
    /// Empties every cell but the department.
    void clearItem();
};

} // namespace kestrel
