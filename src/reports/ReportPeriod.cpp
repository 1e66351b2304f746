// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportPeriod.h"

#include "core/Notifier.h"

#include <QRegularExpression>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// The range of the workstation's date pickers; a period may look ahead as far as the pickers
// go when the report allows it.
const QDate kEarliestDate(1601, 1, 1);
const QDate kLatestDate(9999, 12, 31);

// The number the hospital's programs read from a typed number: its leading digits. It is
// above 0 when one of them is not a zero, however many digits are typed.
bool startsWithNumberAboveZero(const QString &text)
{
    for (const QChar c : text.trimmed()) {
        if (!c.isDigit())
            return false;
        if (c != u'0')
            return true;
    }
    return false;
}

} // namespace

// --- frmReport --------------------------------------------------------------------------------

ReportPeriodPrompt::ReportPeriodPrompt(Notifier &notifier, QString caption, const QDate &serverDate,
                                       QObject *parent)
    : QObject(parent)
    , m_notifier(notifier)
    , m_caption(std::move(caption))
    , m_serverDate(serverDate)
    , m_from(serverDate)
    , m_to(serverDate)
{
}

void ReportPeriodPrompt::setAllowFutureDate(bool allow)
{
    if (allow == m_allowFutureDate)
        return;
    m_allowFutureDate = allow;
    // Narrowing the range pulls a date picked beyond it back to the server date.
    m_from = clamped(m_from);
    m_to = clamped(m_to);
    Q_EMIT changed();
}

QDate ReportPeriodPrompt::minimumDate() const
{
    return kEarliestDate;
}

QDate ReportPeriodPrompt::maximumDate() const
{
    return m_allowFutureDate ? kLatestDate : m_serverDate;
}

QDate ReportPeriodPrompt::clamped(const QDate &date) const
{
    if (!date.isValid())
        return m_serverDate;
    return std::clamp(date, minimumDate(), maximumDate());
}

void ReportPeriodPrompt::setFrom(const QDate &date)
{
    const QDate picked = clamped(date);
    if (picked == m_from)
        return;
    m_from = picked;
    Q_EMIT changed();
}

void ReportPeriodPrompt::setTo(const QDate &date)
{
    const QDate picked = clamped(date);
    if (picked == m_to)
        return;
    m_to = picked;
    Q_EMIT changed();
}

void ReportPeriodPrompt::cmdOK(int index)
{
    if (index != 0) {
        Q_EMIT closeRequested();
        return;
    }
    if (m_from > m_to) {
        m_notifier.message(QStringLiteral("Invalid dates."), kNotification,
                           Notifier::Icon::Information);
        return;
    }
    m_answer =
        ReportPeriod{m_from.toString(kReportDayFormat), m_to.toString(kReportDayFormat), QString()};
    Q_EMIT closeRequested();
}

// --- frmReportDate ----------------------------------------------------------------------------

ReportDatePrompt::ReportDatePrompt(const QDate &serverDate, QObject *parent)
    : QObject(parent)
    , m_date(serverDate)
{
}

void ReportDatePrompt::SetMode(int mode)
{
    const int chosen = (mode == Month || mode == Year) ? mode : Day;
    if (chosen == m_mode)
        return;
    m_mode = chosen;
    Q_EMIT changed();
}

QString ReportDatePrompt::displayFormat() const
{
    switch (m_mode) {
    case Month:
        return QStringLiteral("MM/yyyy");
    case Year:
        return QStringLiteral("yyyy");
    default:
        return kReportDayFormat.toString();
    }
}

void ReportDatePrompt::setDate(const QDate &date)
{
    if (!date.isValid() || date == m_date)
        return;
    m_date = date;
    Q_EMIT changed();
}

void ReportDatePrompt::cmdOK(int index)
{
    if (index == 0) {
        const QString picked = m_date.toString(displayFormat());
        m_answer = ReportPeriod{picked, picked, QString()};
    }
    Q_EMIT closeRequested();
}

// --- frmReportMonth ---------------------------------------------------------------------------

ReportMonthPrompt::ReportMonthPrompt(Notifier &notifier, const QDate &serverDate, QObject *parent)
    : QObject(parent)
    , m_notifier(notifier)
    , m_month(serverDate)
    , m_caseValidator(std::make_unique<QRegularExpressionValidator>(
          QRegularExpression(QStringLiteral("[0-9]*"))))
{
}

ReportMonthPrompt::~ReportMonthPrompt() = default;

void ReportMonthPrompt::setMonth(const QDate &date)
{
    if (!date.isValid() || date == m_month)
        return;
    m_month = date;
    Q_EMIT changed();
}

void ReportMonthPrompt::setCase(const QString &text)
{
    if (text == m_case)
        return;
    m_case = text;
    Q_EMIT changed();
}

const QValidator *ReportMonthPrompt::caseValidator() const
{
    return m_caseValidator.get();
}

void ReportMonthPrompt::cmdOK(int index)
{
    if (index != 0) {
        Q_EMIT closeRequested();
        return;
    }
    if (!startsWithNumberAboveZero(m_case)) {
        m_notifier.message(QStringLiteral("Starting no. should be > 0"), kNotification,
                           Notifier::Icon::Critical);
        Q_EMIT caseRefused();
        return;
    }
    const QDate first(m_month.year(), m_month.month(), 1);
    const QDate last(m_month.year(), m_month.month(), m_month.daysInMonth());
    m_answer =
        ReportPeriod{first.toString(kReportDayFormat), last.toString(kReportDayFormat), m_case};
    Q_EMIT closeRequested();
}

} // namespace kestrel
