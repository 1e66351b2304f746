// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/FluidSheet.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "reports/ReportService.h"

#include <QLocale>

namespace kestrel::nursing {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

FluidSheet::FluidSheet(Session &session, ReportService *reports)
    : m_session(session)
    , m_reports(reports)
    , m_store(session.db())
{
}

bool FluidSheet::open(const CurrentPatientRecord &stay)
{
    m_stay = stay;
    auto now = m_session.db().loadServerDate();
    m_today = now ? now->date() : QDate::currentDate();
    m_date = m_today;
    return load();
}

bool FluidSheet::load()
{
    m_day.clear();
    m_unsaved.clear();
    if (!m_stay.isSelected())
        return true;
    auto day = m_store.fluidDay(m_stay.IdNum, m_date);
    if (!day) {
        m_session.notifier().errorBox(day.error());
        return false;
    }
    m_day = *day;
    return true;
}

bool FluidSheet::setDate(const QDate &day)
{
    if (const QString refused = futureDayRefusal(day, m_today); !refused.isEmpty()) {
        m_session.notifier().message(refused, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    m_date = day;
    return load();
}

void FluidSheet::setAmounts(const QString &code, const FluidAmounts &amounts)
{
    if (m_day.value(code) == amounts)
        return;
    m_day.insert(code, amounts);
    m_unsaved.insert(code);
}

bool FluidSheet::refuseWithoutPatient() const
{
    if (m_stay.isSelected())
        return false;
    m_session.notifier().message(QStringLiteral("Please select patient."), kNotification,
                                 Notifier::Icon::Exclamation);
    return true;
}

bool FluidSheet::save(const QString &code)
{
    Notifier &notifier = m_session.notifier();
    if (refuseWithoutPatient())
        return false;
    const auto shift = fluidShift(code);
    if (!shift) {
        notifier.message(QStringLiteral("There is no shift \"%1\". The shifts are 7 AM to 3 PM, "
                                        "3 PM to 11 PM and 11 PM to 7 AM.")
                             .arg(code),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (const QString refused = futureDayRefusal(m_date, m_today); !refused.isEmpty()) {
        notifier.message(refused, kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    const FluidAmounts a = m_day.value(shift->code);
    for (int cc : {a.oral, a.parenteral, a.urine, a.drainage, a.others}) {
        if (cc < 0 || cc > kMostCcPerShift) {
            notifier.message(QStringLiteral("An amount of the %1 shift is out of range: amounts "
                                            "are whole cc from 0 to %2.")
                                 .arg(shift->caption,
                                      QLocale(QLocale::English).toString(kMostCcPerShift)),
                             kNotification, Notifier::Icon::Exclamation);
            return false;
        }
    }
    auto saved = m_store.saveFluid(m_stay.IdNum, m_date, shift->code, a,
                                   m_session.employeeCode());
    if (!saved) {
        notifier.errorBox(saved.error());
        return false;
    }
    m_unsaved.remove(shift->code);
    notifier.message(QStringLiteral("Record updated."), kNotification,
                     Notifier::Icon::Information);
    return true;
}

bool FluidSheet::print(bool all)
{
    if (refuseWithoutPatient())
        return false;
    if (!m_unsaved.isEmpty()) {
        m_session.notifier().message(QStringLiteral("Please save the shift you changed before "
                                                    "printing: the sheet prints what is saved."),
                                     kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    if (!m_reports ||
        !m_reports->OpenReport(QStringLiteral("FluidInOut.RPT"),
                               {m_stay.IdNum.trimmed(), m_date.toString(QStringLiteral("MM/dd/yyyy")),
                                all ? QStringLiteral("ALL") : QStringLiteral("DAY")}))
        return false;
    return m_reports->ShowReport(false, QStringLiteral("Fluid Intake and Output Sheet")) !=
           ReportService::Shown::Nothing;
}

} // namespace kestrel::nursing
