// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/MenuPrints.h"

#include "core/Notifier.h"
#include "core/Session.h"
#include "core/db/Database.h"
#include "reports/ReportService.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

} // namespace

CsfDoctors::CsfDoctors(Session &session, ReportService *reports, Form form, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_reports(reports)
    , m_form(form)
{
}

QString CsfDoctors::caption() const
{
    return m_form == Form::Complete ? QStringLiteral("PhilHealth CSF")
                                    : QStringLiteral("PhilHealth CSF Template");
}

void CsfDoctors::setDoctor(const QString &doctorId, const QString &name)
{
    m_doctorId = doctorId.trimmed();
    m_doctorName = name.trimmed();
    Q_EMIT changed();
}

bool CsfDoctors::print()
{
    if (m_doctorId.isEmpty())
        return false;
    const auto doctor = m_session.db().selectOne(
        u"select PhilHealthNum, PHICExpireDate from Build_File..tbCoDoctor "
        u"where DoctorID = :doctor",
        {{QStringLiteral("doctor"), m_doctorId}});
    if (!doctor) {
        m_session.notifier().errorBox(doctor.error());
        return false;
    }
    const QString number = *doctor ? (*doctor)->trimmed(u"PhilHealthNum") : QString();
    if (number.isEmpty()) {
        m_session.notifier().message(
            QStringLiteral("Doctor ") + m_doctorName + QStringLiteral(" is not PhilHealth accredited."),
            kNotification, Notifier::Icon::Information);
        return false;
    }
    const QDateTime expires = (*doctor)->dateTime(u"PHICExpireDate");
    const QDateTime now = m_session.db().serverNow();
    const QDate today = now.isValid() ? now.date() : m_session.ServerDate;
    if (expires.isValid() && expires.date() < today) {
        m_session.notifier().message(QStringLiteral("PhilHealth accreditation of doctor ") +
                                         m_doctorName + QStringLiteral(" expired last ") +
                                         expires.date().toString(QStringLiteral("MM/dd/yyyy")) +
                                         u'.',
                                     kNotification, Notifier::Icon::Information);
        return false;
    }
    if (!m_reports)
        return false;
    const QString file = m_form == Form::Complete ? QStringLiteral("CSFCompleteWithMD.rpt")
                                                  : QStringLiteral("CSFTemplateWithMD.rpt");
    if (!m_reports->OpenReport(file, {m_session.CurrentPatient.IdNum.trimmed(), m_doctorId}))
        return false;
    m_reports->ShowReport(false, caption());
    return true;
}

StockMonitoring::StockMonitoring(Session &session, ReportService *reports, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_reports(reports)
{
}

bool StockMonitoring::print()
{
    if (m_revenue != u"OM" && m_revenue != u"OS") {
        m_session.notifier().message(
            QStringLiteral("Please select revenue to view stock monitoring."), kNotification,
            Notifier::Icon::Information);
        return false;
    }
    if (!m_reports || !m_reports->OpenReport(QStringLiteral("StockMonitoring.RPT"), {m_revenue}))
        return false;
    m_reports->ShowReport(false, QStringLiteral("Stocks Monitoring"));
    return true;
}

} // namespace kestrel
