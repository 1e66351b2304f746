// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/ProfileSchedule.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

#include <QLocale>

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");

// How often a save is tried while other workstations keep the schedule's counter busy.
constexpr int kTries = 3;

} // namespace

Result<RowSet> ProfileSchedule::procedures() const
{
    return m_session.db().select(u"select OtherRevenueID as Code, OtherRevenue as Procedure "
                                 u"from BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC' "
                                 u"and Status = 'A' order by OtherRevenue");
}

Result<RowSet> ProfileSchedule::surgeons() const
{
    return m_session.db().select(u"select DoctorID as Code, LastName || ', ' || FirstName as "
                                 u"Name from BUILD_FILE..tbCoDoctor where Status = 'A' "
                                 u"order by LastName, FirstName, DoctorID");
}

QTime ProfileSchedule::parseTime(const QString &text)
{
    const QString t = text.simplified().toUpper();
    for (const char *format : {"h:mm AP", "h:mm:ss AP", "hh:mm AP", "hh:mm:ss AP", "H:mm"}) {
        const QTime at = QLocale::c().toTime(t, QLatin1String(format));
        if (at.isValid())
            return at;
    }
    return {};
}

ProfileSchedule::Outcome ProfileSchedule::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return Outcome::Refused;
}

ProfileSchedule::Outcome ProfileSchedule::save(const ProfileHeader &header,
                                               const OperationRequest &request)
{
    Notifier &notifier = m_session.notifier();
    m_saved.clear();
    const QString id = header.IdNum.trimmed();
    if (modGlobals::IsClearedByDepartment(m_session, id, QStringLiteral("OR")))
        return refuse(QStringLiteral("Patient is already cleared. OR schedule may not proceed."));
    if (request.procedureCode.trimmed().isEmpty() || request.surgeonCode.trimmed().isEmpty())
        return refuse(QStringLiteral("Can't save incomplete data. Please enter procedure and "
                                     "assigned surgeon."));
    Database &db = m_session.db();
    auto today = db.call(u"SCHEDULE..sp_Get_TransactionDate");
    if (!today || today->isEmpty()) {
        notifier.errorBox(today ? QStringLiteral("The server gave no date.")
                                : today.error().message);
        return Outcome::Failed;
    }
    const QTime time = parseTime(request.time);
    const QDateTime start(request.date, time);
    // An operation is asked for ahead of time, and for no longer than a day.
    if (!request.date.isValid() || !time.isValid() || start <= today->at(0).dateTime(u"Tdate") ||
        request.minutes < 15 || request.minutes > 24 * 60)
        return refuse(QStringLiteral("Invalid Time of Operation."));
    const QString at = QLocale::c().toString(start, QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    const QVariant none;
    Result<RowSet> saved;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        saved = db.call(u"SCHEDULE..sp_Save_RequestORSchedule",
                        {id, at, request.roomId > 0 ? QVariant(request.roomId) : none,
                         request.minutes, request.procedureCode.trimmed(),
                         request.procedureDesc.trimmed(), request.surgeonCode.trimmed(), none, none,
                         none, none, request.remarks.trimmed(), m_session.StationID, none, none,
                         none, m_session.employeeCode()});
        if (saved || !saved.error().retryable())
            break;
    }
    if (!saved) {
        notifier.errorBox(saved.error());
        return Outcome::Failed;
    }
    m_saved = saved->isEmpty() ? QString() : saved->at(0).trimmed(u"TransNum");
    notifier.message(QStringLiteral("Schedule Data Successfully Saved."), kNotification,
                     Notifier::Icon::Information);
    return Outcome::Saved;
}

} // namespace kestrel
