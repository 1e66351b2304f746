// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "scheduling/ConfirmedSchedules.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/WindowRequest.h"
#include "reports/ReportService.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kHourFormat = QStringLiteral("hh:mm:ss AP");

} // namespace

ConfirmedSchedules::ConfirmedSchedules(Session &session, MainWindowCommands *menu,
                                       QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_menu(menu)
    , m_board(session, menu)
{
}

bool ConfirmedSchedules::failed(const Error &error)
{
    m_session.notifier().errorBox(error);
    return false;
}

QStringList ConfirmedSchedules::searchKinds()
{
    return {QStringLiteral("Last name"), QStringLiteral("Adm #"), QStringLiteral("Hospital #")};
}

int ConfirmedSchedules::searchKind(const QString &byText)
{
    const QString by = byText.trimmed().toUpper();
    if (by == u"ADM #")
        return 2;
    if (by == u"HOSPITAL #")
        return 3;
    return 1;
}

QDate ConfirmedSchedules::today() const
{
    auto now = m_session.db().loadServerDate();
    return now ? now->date() : m_session.ServerDate;
}

bool ConfirmedSchedules::search(const QString &byText, const QString &text, const QDate &day)
{
    m_byText = byText;
    m_text = text;
    m_day = day;
    auto rows = m_session.db().call(u"SCHEDULE..sp_List_ConfirmedORSchedule",
                                    {QString::number(searchKind(byText)), text.trimmed(),
                                     QString(), day});
    if (!rows) {
        m_rows = RowSet();
        Q_EMIT rowsChanged();
        return failed(rows.error());
    }
    m_rows = std::move(*rows);
    Q_EMIT rowsChanged();
    return true;
}

bool ConfirmedSchedules::searchAgain()
{
    return search(m_byText, m_text, m_day.isValid() ? m_day : today());
}

QString ConfirmedSchedules::position(int row) const
{
    if (m_rows.isEmpty() || row < 0 || row >= m_rows.count())
        return {};
    return QString::number(row + 1) + QStringLiteral("  out of  ") +
           QString::number(m_rows.count());
}

bool ConfirmedSchedules::print(int row, ReportService *reports)
{
    if (!reports || row < 0 || row >= m_rows.count())
        return false;
    if (!reports->OpenReport(QStringLiteral("ORSched_ConfirmationSlip.rpt"),
                             {m_rows.at(row).trimmed(u"TransNum")}))
        return false;
    reports->ShowReport(false, QStringLiteral("OR Schedule Confirmation Slip"));
    return true;
}

ConfirmedSchedules::SaveOutcome ConfirmedSchedules::revoke(int row)
{
    Notifier &notifier = m_session.notifier();
    if (row < 0 || row >= m_rows.count()) {
        notifier.message(QStringLiteral("Please select confirmed schedule."), kNotification,
                         Notifier::Icon::Information);
        return SaveOutcome::Refused;
    }
    const Row &r = m_rows.at(row);
    if (!notifier.confirm(QStringLiteral("Are you sure you want to revoke this confirmed schedule "
                                         "for ") +
                              r.trimmed(u"Patient Name") + QStringLiteral("?"),
                          QStringLiteral("Confirmation"), Notifier::Icon::Question))
        return SaveOutcome::Declined;
    if (!signOrAbandon(m_session, QStringLiteral("Transaction was not saved! ") + u'\n' +
                                      QStringLiteral("Are you sure you want to revoke this "
                                                     "confirmed request?")))
        return SaveOutcome::Declined;
    auto revoked = m_session.db().call(u"SCHEDULE..sp_Revoke_Confirmed_ORSchedule",
                                       {r.trimmed(u"IdNum"), r.trimmed(u"TransNum"),
                                        m_session.validated.code, r.trimmed(u"HospNum")});
    if (!revoked) {
        failed(revoked.error());
        searchAgain();
        return SaveOutcome::Failed;
    }
    notifier.message(QStringLiteral("Schedule successfully revoked."), kNotification,
                     Notifier::Icon::Information);
    searchAgain();
    return SaveOutcome::Saved;
}

bool ConfirmedSchedules::bookedBeforeAdmission(int row) const
{
    return row >= 0 && row < m_rows.count() && m_rows.at(row).trimmed(u"IdNum").isEmpty();
}

void ConfirmedSchedules::openEdit(int row)
{
    if (!m_menu || row < 0 || row >= m_rows.count())
        return;
    WindowRequest request;
    request.command = QStringLiteral("frmScheduleRequestStatus");
    request.caption = QStringLiteral("Update Schedule Details");
    request.modal = true;
    request.patient = m_session.CurrentPatient;
    request.values.insert(QStringLiteral("TransNum"), m_rows.at(row).trimmed(u"TransNum"));
    request.values.insert(QStringLiteral("PatientName"), m_rows.at(row).trimmed(u"Patient Name"));
    m_menu->openWindow(QStringLiteral("frmEditORSchedule"), request);
    searchAgain();
}

ToBeAdmittedBooking ConfirmedSchedules::toBeAdmitted(int row)
{
    ToBeAdmittedBooking b;
    if (row < 0 || row >= m_rows.count())
        return b;
    auto one = m_session.db().call(u"Schedule..sp_List_ConfirmedORSchedule",
                                   {QStringLiteral("10"), QString(),
                                    m_rows.at(row).trimmed(u"TransNum")});
    if (!one) {
        failed(one.error());
        return b;
    }
    if (one->isEmpty())
        return b;
    const Row &r = one->at(0);
    b.transNum = r.trimmed(u"TransNum");
    b.hospNum = r.trimmed(u"HospNum");
    b.patientName = r.trimmed(u"PatientName");
    b.patientClass = r.trimmed(u"PatientClass");
    b.room = r.trimmed(u"RoomName");
    const QDateTime start = r.dateTime(u"StartTime");
    b.date = start.date();
    b.startHour = QTime(start.time().hour(), 0).toString(kHourFormat);
    const QDateTime end = start.addSecs(r.integer(u"Length") * 60);
    b.endHour = QTime(end.time().hour(), 0).toString(kHourFormat);
    b.procedureCode = r.trimmed(u"ProcID");
    b.procedureDesc = r.trimmed(u"OR PROCEDURE");
    b.surgeonCode = r.trimmed(u"DoctorID1");
    b.surgeonName = r.trimmed(u"Surgeon");
    b.anesthesiologistCode = r.trimmed(u"DoctorID2");
    b.anesthesiologistName = r.trimmed(u"Anesthesiologist");
    b.age = r.trimmed(u"Age");
    b.sex = r.trimmed(u"Sex") == u"F" ? QStringLiteral("F") : QStringLiteral("M");
    return b;
}

ConfirmedSchedules::SaveOutcome ConfirmedSchedules::saveToBeAdmitted(const ToBeAdmittedBooking &b)
{
    const SaveOutcome outcome = m_board.saveToBeAdmitted(b, true);
    if (outcome == SaveOutcome::Saved)
        searchAgain();
    return outcome;
}

} // namespace kestrel
