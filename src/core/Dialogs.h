// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include <QDate>
#include <QString>

#include <optional>

namespace kestrel {

/// The report period: "from", "to" and the starting number of the OR logbook, as texts. Every
/// prompt clears it when it opens and fills it only when the user confirms, so an empty "from"
/// means the user cancelled.
struct ReportPeriod
{
    QString from;
    QString to;
    QString startingNumber;

    void clear() { *this = ReportPeriod(); }
    bool isCancelled() const { return from.isEmpty(); }
    bool operator==(const ReportPeriod &) const = default;
};

/// How the report prompts write a day: "12/01/2026".
inline constexpr QStringView kReportDayFormat = u"MM/dd/yyyy";

/// What a re-validation leaves behind: the employee who typed a valid code and password,
/// and the reason given when the window asked for one. An empty code means cancelled.
struct ValidatedUser
{
    QString code;
    QString name;
    QString reason;

    bool isValid() const { return !code.isEmpty(); }
};

/// Modal questions that windows ask: re-validation, period prompts, pick-lists. Windows talk
/// to this seam so their rules run the same under test; the running program answers with
/// real dialogs and tests with a script.
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /// The re-validation window: asks an employee code and password before an action that
    /// writes or cancels. `askReason` also asks why (cancellations).
    virtual ValidatedUser validateUser(bool askReason = false) = 0;

    // The report prompts. Each answers the period the user confirmed, or nothing when the
    // prompt was cancelled; a program without the prompts answers cancelled.

    /// `frmReport`: a period from/to captioned `caption`, both dates starting at
    /// `serverDate`; dates after it only when `allowFutureDate`.
    virtual std::optional<ReportPeriod> askPeriod(const QString &caption, bool allowFutureDate,
                                                  const QDate &serverDate)
    {
        Q_UNUSED(caption);
        Q_UNUSED(allowFutureDate);
        Q_UNUSED(serverDate);
        return std::nullopt;
    }
    /// `frmReportDate` with `SetMode` `setMode` (0 day, 1 month, 2 year).
    virtual std::optional<ReportPeriod> askDate(int setMode, const QDate &serverDate)
    {
        Q_UNUSED(setMode);
        Q_UNUSED(serverDate);
        return std::nullopt;
    }
    /// `frmReportMonth`: a month and the starting number of the OR logbook.
    virtual std::optional<ReportPeriod> askMonth(const QDate &serverDate)
    {
        Q_UNUSED(serverDate);
        return std::nullopt;
    }
};

} // namespace kestrel
