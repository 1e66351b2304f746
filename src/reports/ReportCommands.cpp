// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/ReportCommands.h"

#include "reports/ReportPeriod.h"
#include "reports/ReportService.h"
#include "core/components/Component.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

#include <QDir>

namespace kestrel {

namespace {

// A date of the current patient as the report receives it: "mm/dd/yyyy", as the user reads it
// (a report may take it as a date or print it as it is), or empty text when the stay has none
// (no discharge yet).
QString patientDate(const QDateTime &when)
{
    return when.isValid() ? when.date().toString(kReportDayFormat) : QString();
}

} // namespace

ReportCommands::ReportCommands(Session &session, ReportService &service, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_service(service)
{
}

std::optional<ReportCommandEntry> ReportCommands::entry(const QString &command) const
{
    return reportCommand(command,
                         {m_session.hospital.clientname, m_session.settings.LogbookOnePage()});
}

bool ReportCommands::run(const WindowRequest &request)
{
    const std::optional<ReportCommandEntry> found = entry(request.command);
    if (!found) {
        tellNotAvailable(m_session.notifier(),
                         request.caption.isEmpty() ? request.command : request.caption);
        return false;
    }
    const ReportCommandEntry &command = *found;

    // A patient's report needs the patient; the forms need the row highlighted in the list.
    if ((command.needsPatient() && !request.patient.isSelected()) ||
        (command.needsHighlightedRow() && highlightedIdNum(request).isEmpty())) {
        m_session.notifier().message(QStringLiteral("Please select patient."),
                                     QStringLiteral("Notification"), Notifier::Icon::Information);
        return false;
    }

    if (!askPeriod(command) || !prepare(command))
        return false;

    const QString folder = m_service.reportsFolder();
    bool shown = false;
    for (const ReportPart &part : command.parts) {
        if (!m_service.OpenReport(QDir(folder).filePath(part.file), values(part, request)))
            return shown;
        const ReportService::Shown how =
            m_service.ShowReport(command.showGroupTree, command.title, command.printAtOnce);
        if (how == ReportService::Shown::Nothing)
            return shown;
        shown = true;
    }
    return shown;
}

bool ReportCommands::askPeriod(const ReportCommandEntry &entry)
{
    ReportPeriod &period = m_session.reportPeriod;
    period.clear();
    if (entry.prompt == ReportPrompt::None)
        return true;

    Dialogs &dialogs = m_session.dialogs();
    const QDate today = serverDate();
    std::optional<ReportPeriod> answer;
    switch (entry.prompt) {
    case ReportPrompt::Period:
        answer = dialogs.askPeriod(entry.caption, entry.allowFutureDate, today);
        break;
    case ReportPrompt::Month:
        answer = dialogs.askDate(ReportDatePrompt::Month, today);
        break;
    case ReportPrompt::Year:
        answer = dialogs.askDate(ReportDatePrompt::Year, today);
        if (answer && !answer->isCancelled()) {
            // A yearly report always covers the whole year, whatever day was picked.
            const QString year = answer->from.right(4);
            answer->from = QStringLiteral("01/01/") + year;
            answer->to = QStringLiteral("12/31/") + year;
        }
        break;
    case ReportPrompt::MonthAndNumber:
        answer = dialogs.askMonth(today);
        break;
    case ReportPrompt::None:
        break;
    }
    if (answer)
        period = *answer;
    return !period.isCancelled();
}

bool ReportCommands::prepare(const ReportCommandEntry &entry)
{
    if (entry.command != u"mnuStat")
        return true;
    // The statistical report reads the summary that this procedure gathers for the period.
    const ReportPeriod &period = m_session.reportPeriod;
    auto gathered = m_session.db().call(u"STATION..sp_Or_MonthlyReport", {period.from, period.to});
    if (!gathered) {
        m_session.notifier().errorBox(gathered.error());
        return false;
    }
    return true;
}

QDate ReportCommands::serverDate() const
{
    // The clock is read again: the program may have run past midnight since it started.
    if (auto now = m_session.db().loadServerDate())
        return now->date();
    return m_session.ServerDate;
}

QString ReportCommands::highlightedIdNum(const WindowRequest &request)
{
    const QString handed = request.values.value(kHighlightedIdNum.toString()).toString().trimmed();
    if (!handed.isEmpty())
        return handed;
    // Highlighting a row of the patient list makes its admission number the current one.
    return request.patient.IdNum.trimmed();
}

QVariantList ReportCommands::values(const ReportPart &part, const WindowRequest &request) const
{
    const ReportPeriod &period = m_session.reportPeriod;
    const HospitalSettings &hospital = m_session.hospital;
    const CurrentPatientRecord &patient = request.patient;
    const CurrentUser *user = m_session.currentUser();

    QVariantList list;
    list.reserve(part.values.size());
    for (const ReportValue &value : part.values) {
        switch (value.source) {
        case ReportValueSource::Text:
            list.append(value.text);
            break;
        case ReportValueSource::From:
            list.append(period.from);
            break;
        case ReportValueSource::To:
            list.append(period.to);
            break;
        case ReportValueSource::StartingNumber:
            list.append(period.startingNumber);
            break;
        case ReportValueSource::Company:
            list.append(hospital.Company);
            break;
        case ReportValueSource::Address1:
            list.append(hospital.Address1);
            break;
        case ReportValueSource::IsShowAmount:
            list.append(hospital.IsShowAmount);
            break;
        case ReportValueSource::StationID:
            list.append(m_session.StationID);
            break;
        case ReportValueSource::EmployeeName:
            list.append(user ? user->EmployeeName() : QString());
            break;
        case ReportValueSource::EmployeeCode:
            list.append(user ? user->EmployeeCode() : QString());
            break;
        case ReportValueSource::ServerDate:
            list.append(serverDate().toString(kReportDayFormat));
            break;
        case ReportValueSource::PatientName:
            list.append(patient.PatientName);
            break;
        case ReportValueSource::PatientAddress:
            list.append(patient.Address);
            break;
        case ReportValueSource::AccountNumber:
            list.append(patient.AccountNumber);
            break;
        case ReportValueSource::PatientCompany:
            list.append(patient.Company);
            break;
        case ReportValueSource::IdNum:
            list.append(patient.IdNum.trimmed());
            break;
        case ReportValueSource::HospNum:
            list.append(patient.HospNum.trimmed());
            break;
        case ReportValueSource::AdmissionDate:
            list.append(patientDate(patient.AdmissionDate));
            break;
        case ReportValueSource::DischargeDate:
            list.append(patientDate(patient.DischargeDate));
            break;
        case ReportValueSource::RoomID:
            list.append(patient.RoomID);
            break;
        case ReportValueSource::HighlightedIdNum:
            list.append(highlightedIdNum(request));
            break;
        }
    }
    return list;
}

} // namespace kestrel
