// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kestrel::nursing {

/// Why a sheet of `day` cannot be filled in yet: it is after `today`; empty when it can.
QString futureDayRefusal(const QDate &day, const QDate &today);

// ---------------------------------------------------------------------------------------------
// Fluid intake and output: amounts in whole cc. The ward measures with graduated cylinders and
// infusion pumps read to the millilitre and charts whole numbers, so sums and balances are
// exact and print the same on every database.

/// A shift of the fluid sheet: the code stored in STATION..tbNurseFluid and the caption of its
/// column.
struct FluidShift
{
    QString code;
    QString caption;
};

/// The three shifts of a day, in the order they come: 7 AM to 3 PM, 3 PM to 11 PM, 11 PM to
/// 7 AM (the night shift that ends the next morning belongs to the day it starts).
const QList<FluidShift> &fluidShifts();
/// The shift stored as `code`; nullopt for a shift that does not exist.
std::optional<FluidShift> fluidShift(const QString &code);

/// What went in and came out in one shift (or, summed, in a day).
struct FluidAmounts
{
    int oral = 0;
    int parenteral = 0;
    int urine = 0;
    int drainage = 0;
    int others = 0;

    int intake() const { return oral + parenteral; }
    int output() const { return urine + drainage + others; }
    /// Intake less output: positive when the patient kept fluid.
    int balance() const { return intake() - output(); }
    bool isEmpty() const { return intake() == 0 && output() == 0; }
    FluidAmounts &operator+=(const FluidAmounts &other);
    bool operator==(const FluidAmounts &) const = default;
};

/// The largest amount one line of a shift takes, in cc.
inline constexpr int kMostCcPerShift = 99999;

/// A day of the fluid sheet: each shift's amounts by its code.
using FluidDay = QHash<QString, FluidAmounts>;
/// The "24 Hrs. TOTAL" of a day.
FluidAmounts dayTotal(const FluidDay &day);

// ---------------------------------------------------------------------------------------------
// Hourly monitoring: one row per hour (or reading) of a day.

/// One row of the hourly monitoring grid. Amounts are whole cc; a blank cell stays blank.
struct HourlyRow
{
    enum Amount { Mainline, LaLf, RaRf, OralNgt, Urine, Drain1, Drain2, Others, AmountCount };
    QString time;
    std::array<std::optional<int>, AmountCount> cc{};
    QString remarks;

    int intakeTotal() const;
    int outputTotal() const;
    bool isEmpty() const;
    bool operator==(const HourlyRow &) const = default;
};

/// The captions of the grid's amount columns, in HourlyRow::Amount order.
const QStringList &hourlyAmountCaptions();

/// Reads and writes the fluid sheets and hourly monitoring sheets of stays. Every write is one
/// transaction that holds the day (or shift) it replaces, tried again whole while another
/// workstation holds it (lock conflicts only, by the database's code) or after a lost
/// connection (writeOnce).
class SheetStore
{
public:
    explicit SheetStore(Database &db)
        : m_db(db)
    {
    }

    Result<FluidDay> fluidDay(const QString &idNum, const QDate &day);
    /// Replaces one shift of one day.
    Result<void> saveFluid(const QString &idNum, const QDate &day, const QString &shift,
                           const FluidAmounts &amounts, const QString &nurse);

    Result<QList<HourlyRow>> hourlySheet(const QString &idNum, const QDate &day);
    /// The days the stay has an hourly sheet for, oldest first.
    Result<QList<QDate>> hourlyDays(const QString &idNum);
    /// Replaces the day's rows by `rows`.
    Result<void> saveHourly(const QString &idNum, const QDate &day, const QList<HourlyRow> &rows,
                            const QString &user);
    /// Deletes the day's rows and logs it; false when the day had none.
    Result<bool> removeHourly(const QString &idNum, const QDate &day, const QString &user,
                              const QString &station);

private:
    Result<void> inTransaction(const std::function<Result<void>()> &write);
    /// Holds `key` until the transaction ends, so two workstations replacing the same rows
    /// take turns (the embedded file's write transaction holds the whole file already).
    Result<void> hold(const QString &key);

    Database &m_db;
};

} // namespace kestrel::nursing
