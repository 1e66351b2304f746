// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ScheduleBoard.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/WindowRequest.h"
#include "reports/ReportService.h"
#include "scheduling/RoomBooking.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmAsk =
    QStringLiteral("Are you sure you want to confirm this operation schedule?");
const QString kHourFormat = QStringLiteral("hh:mm:ss AP");

QTime hourTime(const QString &text)
{
    return QTime::fromString(text.trimmed(), kHourFormat);
}

} // namespace

ScheduleBoard::ScheduleBoard(Session &session, MainWindowCommands *menu, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_menu(menu)
    , m_store(session.db())
{
}

bool ScheduleBoard::failed(const Error &error)
{
    m_session.notifier().errorBox(error);
    return false;
}

void ScheduleBoard::refuse(const QString &text, bool critical)
{
    m_session.notifier().message(text, kNotification,
                                 critical ? Notifier::Icon::Critical
                                          : Notifier::Icon::Information);
}

bool ScheduleBoard::open()
{
    auto switches = m_store.stationSwitches();
    if (!switches)
        return failed(switches.error());
    m_switches = *switches;
    if (!loadRooms())
        return false;
    QDate today = m_session.ServerDate;
    if (!today.isValid()) {
        auto now = m_session.db().loadServerDate();
        today = now ? now->date() : QDate::currentDate();
    }
    if (!showDay(today, false))
        return false;
    pollRequests();
    return true;
}

bool ScheduleBoard::loadRooms()
{
    auto rooms = m_store.rooms();
    if (!rooms)
        return failed(rooms.error());
    auto parameters = m_store.parameters();
    if (!parameters)
        return failed(parameters.error());
    m_roomRows = std::move(*rooms);
    m_roomNames = ScheduleStore::roomNames(m_roomRows);
    m_parameters = *parameters;
    Q_EMIT roomsChanged();
    return true;
}

bool ScheduleBoard::showDay(const QDate &day, bool chosenByUser)
{
    m_day = day;
    auto items = m_store.day(day);
    m_items = items ? std::move(*items) : QList<PlannerItem>();
    Q_EMIT dayChanged();
    if (!items)
        return failed(items.error());
    if (m_items.isEmpty() && chosenByUser)
        refuse(QStringLiteral("No operation scheduled for ") +
               day.toString(QStringLiteral("MM/dd/yyyy")) + u'.');
    return true;
}

bool ScheduleBoard::pollRequests()
{
    auto waiting = m_store.hasPendingRequests();
    if (!waiting)
        return false; // a poll that fails tries again at the next tick
    if (*waiting != m_requestsWaiting) {
        m_requestsWaiting = *waiting;
        Q_EMIT requestsChanged(m_requestsWaiting);
    }
    return true;
}

bool ScheduleBoard::showsNurses() const
{
    return m_session.settings.ShowSCNurseinSchedule();
}

QTime ScheduleBoard::defaultEnd(const QTime &start) const
{
    const bool vz = m_session.hospital.clientname.trimmed().compare(u"VZ", Qt::CaseInsensitive) == 0;
    return start.addSecs(vz ? 7200 : 3600);
}

int ScheduleBoard::lengthMinutes(const QDateTime &start, const QDateTime &end)
{
    return int(start.secsTo(end) / 60);
}

bool ScheduleBoard::checkTimes(const QTime &start, const QTime &end)
{
    if (start.secsTo(end) >= 60)
        return true;
    refuse(QStringLiteral("Invalid Ending Time."), true);
    return false;
}

QString ScheduleBoard::admittedDetails(const AdmittedBooking &b, const QString &sex,
                                       int age) const
{
    QString text = QStringLiteral("Patient Name :") + b.patientName + u'\n' +
                   QStringLiteral("Gender :") + sex + u'\n' + QStringLiteral("Age :") +
                   QString::number(age) + u'\n' + QStringLiteral("Hospital Numer :") +
                   b.hospNum + u'\n' + QStringLiteral("Procedure :") + b.procedureDesc + u'\n' +
                   QStringLiteral("Room :") + b.room + u'\n' + QStringLiteral("Surgeon:") +
                   b.surgeonName + u'\n' + QStringLiteral("Anesthesiologist :") +
                   b.anesthesiologistName;
    if (m_session.settings.ShowSCNurseinSchedule())
        text += u'\n' + QStringLiteral("S.Nurse:") + b.scrubNurse + u'\n' +
                QStringLiteral("C.Nurse:") + b.circulatingNurse;
    return text + u' ' + b.remarks;
}

ScheduleBoard::SaveOutcome ScheduleBoard::saveAdmitted(const AdmittedBooking &b)
{
    const QDateTime start(b.date, b.start);
    const QDateTime end(b.date, b.end);
    const int minutes = lengthMinutes(start, end);
    if (minutes < 1) {
        refuse(QStringLiteral("Please provide a valid ending time."), true);
        return SaveOutcome::Refused;
    }
    if (b.room.trimmed().isEmpty()) {
        refuse(QStringLiteral("Please select OR Room for the schedule."));
        return SaveOutcome::Refused;
    }
    auto roomId = m_store.roomId(b.room);
    if (!roomId)
        return failed(roomId.error()), SaveOutcome::Failed;
    if (*roomId == 0) {
        refuse(QStringLiteral("Invalid OR Room. Please check build file of rooms."));
        return SaveOutcome::Refused;
    }
    const RoomSlot slot{*roomId, start, end, QString()};
    RoomBookingGuard guard(m_session.db(), m_session.notifier());
    if (!guard.check(slot))
        return SaveOutcome::Declined;
    if (b.surgeonId.trimmed().isEmpty()) {
        refuse(QStringLiteral("Incomplete data. Please enter Surgeon."));
        return SaveOutcome::Refused;
    }
    if (b.procedureCode.trimmed().isEmpty()) {
        refuse(QStringLiteral("Incomplete data. Please enter Procedure."));
        return SaveOutcome::Refused;
    }
    if (m_session.settings.RequireAnestSchedule() && b.anesthesiologistId.trimmed().isEmpty()) {
        refuse(QStringLiteral("Incomplete data. Please enter Anesthesiologist."));
        return SaveOutcome::Refused;
    }
    if (!signOrAbandon(m_session,
                       QStringLiteral("Selected operation schedule was not saved. ") + u'\n' +
                           kConfirmAsk))
        return SaveOutcome::Declined;
    auto patient = m_store.patient(b.hospNum);
    if (!patient)
        return failed(patient.error()), SaveOutcome::Failed;
    const QString sex =
        patient->sex == u"F" ? QStringLiteral("Female") : QStringLiteral("Male");
    const QDate today = m_session.db().serverNow().isValid() ? m_session.db().serverNow().date()
                                                             : m_session.ServerDate;
    // Without a birth date the age is left at 0.
    const int age = patient->birthDate.isValid() ? int(patient->birthDate.daysTo(today) / 365) : 0;
    const QString details = admittedDetails(b, sex, age);
    const QString user = m_session.validated.code;
    const auto outcome = guard.save(slot, [&](Database &db) -> Result<void> {
        auto saved = db.call(u"SCHEDULE..SaveORSchedule",
                             {*roomId, start, end, minutes, details, b.idNum, b.procedureCode,
                              user, b.surgeonId.trimmed(), b.anesthesiologistId.trimmed(),
                              b.coSurgeonIds[0].trimmed(), b.coSurgeonIds[1].trimmed(),
                              b.coSurgeonIds[2].trimmed(), b.procedureDesc, b.hospNum});
        if (!saved)
            return tl::unexpected(saved.error());
        return {};
    });
    if (outcome == RoomBookingGuard::SaveOutcome::Declined)
        return SaveOutcome::Declined;
    if (outcome != RoomBookingGuard::SaveOutcome::Saved)
        return SaveOutcome::Failed;
    refuse(QStringLiteral("Operation successfully scheduled."));
    showDay(m_day.isValid() ? m_day : b.date, false);
    return SaveOutcome::Saved;
}

QStringList ScheduleBoard::startHours()
{
    QStringList hours;
    for (int h = 1; h <= 23; ++h)
        hours << QTime(h, 0).toString(kHourFormat);
    return hours;
}

QStringList ScheduleBoard::endHours()
{
    return startHours() << QTime(0, 0).toString(kHourFormat);
}

QString ScheduleBoard::endHourFor(const QString &startHour) const
{
    const QTime start = hourTime(startHour);
    if (!start.isValid())
        return {};
    const QTime end = defaultEnd(start);
    // Past midnight the day's own end is the latest an hour list offers.
    return end < start ? QTime(0, 0).toString(kHourFormat) : end.toString(kHourFormat);
}

int ScheduleBoard::hourMinutes(const QString &startHour, const QString &endHour)
{
    const QTime start = hourTime(startHour);
    const QTime end = hourTime(endHour);
    if (!start.isValid() || !end.isValid())
        return 0;
    const int endMinutes = end == QTime(0, 0) ? 24 * 60 : end.msecsSinceStartOfDay() / 60000;
    return endMinutes - start.msecsSinceStartOfDay() / 60000;
}

ScheduleBoard::SaveOutcome ScheduleBoard::saveToBeAdmitted(const ToBeAdmittedBooking &b, bool edit)
{
    const int minutes = hourMinutes(b.startHour, b.endHour);
    if (minutes < 1) {
        refuse(edit ? QStringLiteral("Invalid Ending Time. Ending Time must not be equal or "
                                     "earlier than the Starting Time.")
                    : QStringLiteral("Invalid Ending Time! Ending Time must not be equal or "
                                     "earlier than the Starting Time. "),
               true);
        return SaveOutcome::Refused;
    }
    const std::pair<bool, QString> required[] = {
        {b.patientName.trimmed().isEmpty(), QStringLiteral("Incomplete data. Please enter patient name.")},
        {b.room.trimmed().isEmpty(), QStringLiteral("Incomplete data. Please select OR room.")},
        {b.surgeonCode.trimmed().isEmpty(), QStringLiteral("Incomplete data. Please enter Surgeon.")},
        {b.procedureCode.trimmed().isEmpty(),
         QStringLiteral("Incomplete data. Please enter Procedure.")},
        {m_session.settings.RequireAnestSchedule() && b.anesthesiologistCode.trimmed().isEmpty(),
         QStringLiteral("Incomplete data. Please enter Anesthesiologist.")}};
    for (const auto &[missing, text] : required) {
        if (missing) {
            refuse(text);
            return SaveOutcome::Refused;
        }
    }
    const QDateTime start(b.date, hourTime(b.startHour));
    const QDateTime end = start.addSecs(qint64(minutes) * 60);
    auto now = m_session.db().loadServerDate();
    if (!now)
        return failed(now.error()), SaveOutcome::Failed;
    if (start <= *now) {
        refuse(edit ? QStringLiteral("Invalid Schedule Date and Time. It must not be the same or "
                                     "earlier than the current date and time.")
                    : QStringLiteral("Invalid Schedule Date and Time.") + u'\n' +
                          QStringLiteral("It must not be the same or earlier than the current "
                                         "date and time."));
        return SaveOutcome::Refused;
    }
    auto roomId = m_store.roomId(b.room);
    if (!roomId)
        return failed(roomId.error()), SaveOutcome::Failed;
    if (*roomId == 0) {
        refuse(QStringLiteral("Invalid OR Room. Please check build file of rooms."));
        return SaveOutcome::Refused;
    }
    const RoomSlot slot{*roomId, start, end, b.transNum};
    RoomBookingGuard guard(m_session.db(), m_session.notifier());
    if (!guard.check(slot))
        return SaveOutcome::Declined;
    if (!signOrAbandon(m_session, QStringLiteral("Selected operation schedule will not be saved! ") +
                                      u'\n' + kConfirmAsk))
        return SaveOutcome::Declined;
    const QString details = QStringLiteral("Patient Name :") + b.patientName.trimmed() + u'\n' +
                            QStringLiteral("Procedure :") + b.procedureDesc + u'\n' +
                            QStringLiteral("Surgeon:") + b.surgeonName + u'\n' +
                            QStringLiteral("Anesthesiologist :") + b.anesthesiologistName + u'\n' +
                            QStringLiteral("Patient Class :") + b.patientClass + u'\n';
    const QString user = edit ? m_session.employeeCode() : m_session.validated.code;
    const auto outcome = guard.save(slot, [&](Database &db) -> Result<void> {
        auto saved = db.call(u"SCHEDULE..sp_Save_RequestORSchedule_ForPatient_ToBe_Admitted",
                             {start, details, end, b.transNum, user, b.procedureCode,
                              b.surgeonCode, b.anesthesiologistCode, b.hospNum,
                              m_session.StationID, *roomId, minutes, b.age, b.sex,
                              b.procedureDesc, b.patientClass});
        if (!saved)
            return tl::unexpected(saved.error());
        return {};
    });
    if (outcome == RoomBookingGuard::SaveOutcome::Declined)
        return SaveOutcome::Declined;
    if (outcome != RoomBookingGuard::SaveOutcome::Saved)
        return SaveOutcome::Failed;
    refuse(QStringLiteral("Schedule successfully saved."));
    if (m_day.isValid())
        showDay(m_day, false);
    return SaveOutcome::Saved;
}

ScheduleBoard::SaveOutcome ScheduleBoard::addRoom(const QString &name)
{
    if (name.trimmed().isEmpty()) {
        refuse(QStringLiteral("Please provide room name."));
        return SaveOutcome::Refused;
    }
    auto added = m_session.db().call(u"SCHEDULE..sp_AddORRoom", {name.trimmed()});
    if (!added)
        return failed(added.error()), SaveOutcome::Failed;
    loadRooms();
    showDay(m_day, false);
    return SaveOutcome::Saved;
}

ScheduleBoard::SaveOutcome ScheduleBoard::renameRoom(int roomId, const QString &name)
{
    if (name.trimmed().isEmpty()) {
        refuse(QStringLiteral("Please provide room name."));
        return SaveOutcome::Refused;
    }
    auto renamed = m_session.db().call(u"SCHEDULE..sp_UpdateORRoom", {name.trimmed(), roomId});
    if (!renamed)
        return failed(renamed.error()), SaveOutcome::Failed;
    loadRooms();
    showDay(m_day, false);
    return SaveOutcome::Saved;
}

QString ScheduleBoard::dayLengthText(int hours)
{
    return QString::number(hours) + (hours == 1 ? QStringLiteral(" hour") : QStringLiteral(" hours"));
}

QString ScheduleBoard::incrementText(int minutes)
{
    return QString::number(minutes) + (minutes < 10 ? QStringLiteral(" - sch0") : QStringLiteral(" - sch")) +
           QString::number(minutes) + QStringLiteral("Minute");
}

QStringList ScheduleBoard::dayLengthChoices()
{
    QStringList choices;
    for (int h = 1; h <= 24; ++h)
        choices << dayLengthText(h);
    return choices;
}

QStringList ScheduleBoard::incrementChoices()
{
    QStringList choices;
    for (int m : {1, 2, 3, 4, 5, 6, 10, 12, 15, 30, 60})
        choices << incrementText(m);
    return choices;
}

ScheduleBoard::SaveOutcome ScheduleBoard::saveParameters(const QString &dayLengthChoice,
                                                         const QString &incrementChoice)
{
    // The hospital's procedure takes the first two characters of each choice.
    auto saved = m_session.db().call(u"SCHEDULE..sp_Update_ScheduleParameters",
                                     {dayLengthChoice.left(2), incrementChoice.left(2)});
    if (!saved)
        return failed(saved.error()), SaveOutcome::Failed;
    refuse(QStringLiteral("Schedule parameters updated successfully."));
    loadRooms();
    showDay(m_day, false);
    return SaveOutcome::Saved;
}

bool ScheduleBoard::print(ReportService *reports)
{
    if (!reports)
        return false;
    if (!reports->OpenReport(QStringLiteral("ScheduleofOperation.rpt"), {m_day, m_day}))
        return false;
    reports->ShowReport(false, QStringLiteral("Schedule of Operations Report"));
    return true;
}

void ScheduleBoard::open(const QString &form, const QString &caption)
{
    if (!m_menu)
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmSchedule");
    request.caption = caption;
    request.patient = m_session.CurrentPatient;
    m_menu->openWindow(form, request);
}

void ScheduleBoard::openPatientPicker()
{
    open(QStringLiteral("frmSearchAdmitted"), QStringLiteral("Schedule Admitted Patients"));
}

void ScheduleBoard::openRequests()
{
    open(QStringLiteral("frmCommunicationSchedule"), QStringLiteral("Requests for Operation Schedule"));
}

void ScheduleBoard::openConfirmed()
{
    open(QStringLiteral("frmScheduleRequestStatus"), QStringLiteral("List of Confirmed Schedules"));
}

} // namespace kestrel
