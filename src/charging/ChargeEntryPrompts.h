// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryLine.h"

#include <QList>
#include <QString>

#include <optional>

namespace kestrel {

/// One row of BUILD_FILE..tbCoORProcedures.
struct ORProcedure
{
    QString ItemID;
    QString ItemName;
};

/// What the doctors' meals window gives: the amount (empty when "Clear" was ticked) and the
/// remarks.
struct MealEntry
{
    QString amount;
    QString remarks;
};

/// The tank and pressure readings of a PSI oxygen line.
struct PsiReading
{
    QString tankNumber;
    double initialReading = 0;
    double lastReading = 0;

    double used() const { return initialReading - lastReading; }
};

/// The small windows the charge window asks while a line is entered. The program answers with
/// the windows, tests with a script.
class ChargeEntryPrompts
{
public:
    virtual ~ChargeEntryPrompts() = default;

    /// "List Of OR Procedures" (`frmListProcedures`): which of `procedures` the line stands
    /// for; the chosen ItemID, or "" after "Cancel".
    virtual QString askORProcedure(const QList<ORProcedure> &procedures) = 0;
    /// "Additional Amount (Doctors' Meals)" (`frmMeals`) for the OR line `description`;
    /// nothing when it was closed without "OK".
    virtual std::optional<MealEntry> askMeals(const QString &description) = 0;
    /// The PSI reading window of an oxygen line; nothing when the user left it.
    virtual std::optional<PsiReading> askPsiReading(const ChargeEntryLine &line) = 0;
};

} // namespace kestrel
