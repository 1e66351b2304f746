// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/Dialogs.h"

#include <QDate>
#include <QObject>
#include <QString>

#include <memory>
#include <optional>

class QValidator;

namespace kestrel {

class Notifier;

/// The period prompt `frmReport`: two dates, both starting at the server date. The caption is
/// the prompt text of the report command.
class ReportPeriodPrompt : public QObject
{
    Q_OBJECT

public:
    ReportPeriodPrompt(Notifier &notifier, QString caption, const QDate &serverDate,
                       QObject *parent = nullptr);

    QString caption() const { return m_caption; }

    /// Whether dates after the server date may be picked (the schedule of operations looks
    /// ahead; every other report looks back).
    bool AllowFutureDate() const { return m_allowFutureDate; }
    void setAllowFutureDate(bool allow);
    /// The earliest and the latest date the pickers offer.
    QDate minimumDate() const;
    QDate maximumDate() const;

    QDate from() const { return m_from; }
    QDate to() const { return m_to; }
    /// Picks a date; one outside the pickers' range is brought inside it, as a picker would.
    void setFrom(const QDate &date);
    void setTo(const QDate &date);

    /// Button `index`: 0 confirms, any other cancels. Confirming a "from" later than "to"
    /// says "Invalid dates." and keeps the window open with the dates as they were.
    void cmdOK(int index);
    /// What the prompt leaves behind: the period after a confirm, nothing otherwise.
    const std::optional<ReportPeriod> &answer() const { return m_answer; }

Q_SIGNALS:
    /// The dates or their range changed; the window shows them again.
    void changed();
    /// The prompt is done (confirmed or cancelled); the window closes.
    void closeRequested();

private:
    QDate clamped(const QDate &date) const;

    Notifier &m_notifier;
    QString m_caption;
    QDate m_serverDate;
    bool m_allowFutureDate = false;
    QDate m_from;
    QDate m_to;
    std::optional<ReportPeriod> m_answer;
};

/// The single-date prompt `frmReportDate`: one date starting at the server date, picked as a
/// day, a month or a year.
class ReportDatePrompt : public QObject
{
    Q_OBJECT

public:
    enum Mode : int { Day = 0, Month = 1, Year = 2 };

    ReportDatePrompt(const QDate &serverDate, QObject *parent = nullptr);

    /// 0 day, 1 month, 2 year; any other value picks a day.
    void SetMode(int mode);
    int mode() const { return m_mode; }
    /// The picker's format for the mode: "MM/dd/yyyy", "MM/yyyy" or "yyyy".
    QString displayFormat() const;

    QDate date() const { return m_date; }
    void setDate(const QDate &date);

    /// Button `index`: 0 stores the picked date, as the picker shows it, into "from" and
    /// "to"; any other cancels.
    void cmdOK(int index);
    const std::optional<ReportPeriod> &answer() const { return m_answer; }

Q_SIGNALS:
    void changed();
    void closeRequested();

private:
    QDate m_date;
    int m_mode = Day;
    std::optional<ReportPeriod> m_answer;
};

/// The month prompt `frmReportMonth` of the OR logbook: a month starting at the server date
/// and the number the logbook's first case gets.
class ReportMonthPrompt : public QObject
{
    Q_OBJECT

public:
    ReportMonthPrompt(Notifier &notifier, const QDate &serverDate, QObject *parent = nullptr);
    ~ReportMonthPrompt() override;

    /// The picker's format.
    static QString displayFormat() { return QStringLiteral("MM/yyyy"); }

    QDate month() const { return m_month; }
    void setMonth(const QDate &date);

    QString txtCase() const { return m_case; }
    void setCase(const QString &text);
    /// What `txtCase` lets the user type: digits only.
    const QValidator *caseValidator() const;

    /// Button `index`: 0 confirms, any other cancels. A starting number that is not above 0
    /// says "Starting no. should be > 0" and asks for the number again.
    void cmdOK(int index);
    const std::optional<ReportPeriod> &answer() const { return m_answer; }

Q_SIGNALS:
    void changed();
    void closeRequested();
    /// The starting number was refused; the window puts the cursor back into it.
    void caseRefused();

private:
    Notifier &m_notifier;
    QDate m_month;
    QString m_case = QStringLiteral("1");
    std::unique_ptr<QValidator> m_caseValidator;
    std::optional<ReportPeriod> m_answer;
};

} // namespace kestrel
