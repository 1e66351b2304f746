// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/HourlySheet.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

#include <QLocale>

namespace kestrel::nursing {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
constexpr int kLongestTime = 20;

} // namespace

HourlySheet::HourlySheet(Session &session, ReportService *reports)
    : m_session(session)
    , m_reports(reports)
    , m_store(session.db())
{
}

bool HourlySheet::open(const CurrentPatientRecord &stay)
{
    m_stay = stay;
    auto now = m_session.db().loadServerDate();
    m_today = now ? now->date() : QDate::currentDate();
    m_date = m_today;
    return load();
}

QString HourlySheet::dayText() const
{
    return m_date.toString(QStringLiteral("MM/dd/yyyy"));
}

bool HourlySheet::load()
{
    m_rows.clear();
    m_days.clear();
    m_refusal.reset();
    m_changed = false;
    if (!m_stay.isSelected())
        return true;
    auto rows = m_store.hourlySheet(m_stay.IdNum, m_date);
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    auto days = m_store.hourlyDays(m_stay.IdNum);
    if (!days) {
        m_session.notifier().errorBox(days.error());
        return false;
    }
    m_rows = *rows;
    m_days = *days;
    return true;
}

bool HourlySheet::setDate(const QDate &day)
{
    if (const QString refused = futureDayRefusal(day, m_today); !refused.isEmpty()) {
        m_session.notifier().message(refused, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    m_date = day;
    return load();
}

std::optional<QString> HourlySheet::setCells(const QList<QStringList> &cells)
{
    const QLocale english(QLocale::English);
    QList<HourlyRow> rows;
    m_refusal.reset();
    for (int r = 0; r < cells.size() && !m_refusal; ++r) {
        const QStringList &typed = cells.at(r);
        HourlyRow row;
        row.time = typed.value(0).trimmed();
        row.remarks = typed.value(kCellCount - 1).trimmed();
        for (int a = 0; a < HourlyRow::AmountCount; ++a) {
            const QString text = typed.value(a + 1).trimmed();
            if (text.isEmpty())
                continue;
            bool ok = false;
            const int cc = text.toInt(&ok);
            if (!ok || cc < 0 || cc > kMostCcPerShift) {
                m_refusal = QStringLiteral("Row %1: \"%2\" under %3 is no amount. Please enter "
                                           "whole cc from 0 to %4.")
                                .arg(r + 1)
                                .arg(text, hourlyAmountCaptions().at(a),
                                     english.toString(kMostCcPerShift));
                break;
            }
            row.cc[std::size_t(a)] = cc;
        }
        if (m_refusal)
            break;
        if (row.time.size() > kLongestTime || row.remarks.size() > kLongestRemark) {
            const bool time = row.time.size() > kLongestTime;
            m_refusal = QStringLiteral("Row %1: the %2 is %3 characters long; it may hold at "
                                       "most %4.")
                            .arg(r + 1)
                            .arg(time ? QStringLiteral("time") : QStringLiteral("remark"),
                                 english.toString((time ? row.time : row.remarks).size()),
                                 english.toString(time ? kLongestTime : kLongestRemark));
            break;
        }
        if (!row.isEmpty())
            rows << row;
    }
    if (rows != m_rows || m_refusal) {
        m_rows = rows;
        m_changed = true;
    }
    return m_refusal;
}

bool HourlySheet::refuseWithoutPatient() const
{
    if (m_stay.isSelected())
        return false;
    m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                 Notifier::Icon::Exclamation);
    return true;
}

bool HourlySheet::saveAndPrint()
{
    Notifier &notifier = m_session.notifier();
    if (refuseWithoutPatient())
        return false;
    if (const QString refused = futureDayRefusal(m_date, m_today); !refused.isEmpty()) {
        notifier.message(refused, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (m_refusal) {
        notifier.message(*m_refusal, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (m_rows.isEmpty()) {
        notifier.message(QStringLiteral("No data to save."), kNotification,
                         Notifier::Icon::Exclamation);
        return false;
    }
    auto saved = m_store.saveHourly(m_stay.IdNum, m_date, m_rows, m_session.employeeCode());
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    if (!load())
        return false;
    notifier.message(QStringLiteral("Successfully saved record."), kNotification,
                     Notifier::Icon::Information);
    return print();
}

bool HourlySheet::deleteDay()
{
    Notifier &notifier = m_session.notifier();
    if (refuseWithoutPatient())
        return false;
    if (!notifier.confirm(QStringLiteral("This will delete saved record for this patient on %1. "
                                         "Are you sure to continue?")
                              .arg(dayText()),
                          kConfirmation, Notifier::Icon::Question, Notifier::Answer::No))
        return false;
    auto removed = m_store.removeHourly(m_stay.IdNum, m_date, m_session.employeeCode(),
                                        m_session.StationID);
    if (!removed) {
        notifier.errorBox(removed.error());
        return false;
    }
    if (!*removed) {
        notifier.message(QStringLiteral("There is no saved record for this patient on %1.")
                             .arg(dayText()),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!load())
        return false;
    notifier.message(QStringLiteral("Record for %1 successfully deleted.").arg(dayText()),
                     kNotification, Notifier::Icon::Information);
    return true;
}

bool HourlySheet::print()
{
    if (refuseWithoutPatient())
        return false;
    if (m_changed) {
        m_session.notifier().message(QStringLiteral("Please save the sheet before printing it: "
                                                    "the sheet prints what is saved."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_reports || !m_reports->OpenReport(QStringLiteral("HourlyMonitoringSheet.rpt"),
                                             {m_stay.IdNum.trimmed(), dayText()}))
        return false;
    return m_reports->ShowReport(false, QStringLiteral("Hourly Monitoring Sheet")) !=
           ReportService::Shown::Nothing;
}

bool HourlySheet::closeRequested()
{
    return m_session.notifier().confirm(
        QStringLiteral("Do you like to leave Hourly Monitoring Sheet entry?"), kConfirmation);
}

} // namespace kestrel::nursing
