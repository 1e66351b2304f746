// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"
#include "scheduling/ScheduleStore.h"

#include <QObject>
#include <QTime>

#include <array>

namespace kestrel {

class MainWindowCommands;
class ReportService;
class Session;

/// A booking of an admitted patient, as the board's booking panel holds it.
struct AdmittedBooking
{
    QString hospNum;
    QString idNum;
    QString patientName;
    QDate date;
    QTime start;
    QTime end;
    QString procedureCode;
    QString procedureDesc;
    QString surgeonId;
    QString surgeonName;
    std::array<QString, 3> coSurgeonIds;
    QString anesthesiologistId;
    QString anesthesiologistName;
    QString room;
    QString remarks;
    QString scrubNurse;
    QString circulatingNurse;
};

/// A booking of a patient still to be admitted (the board's panel, and the confirmed list's
/// edit panel when `transNum` names the schedule it changes).
struct ToBeAdmittedBooking
{
    QString transNum;
    QString patientName;
    QString hospNum; ///< only when one was looked up
    QString patientClass;
    QString sex = QStringLiteral("M");
    QString age;
    QString room;
    QDate date;
    QString startHour; ///< "09:00:00 AM"
    QString endHour;
    QString procedureCode;
    QString procedureDesc;
    QString surgeonCode;
    QString surgeonName;
    QString anesthesiologistCode;
    QString anesthesiologistName;
};

/// The rules of `frmSchedule`, "Schedule of Operations": the day's confirmed operations by
/// room, booking admitted patients and patients to be admitted, the rooms and the board's
/// parameters, printing the day, and the pending requests of the wards.
class ScheduleBoard : public QObject
{
    Q_OBJECT

public:
    enum class SaveOutcome { Refused, Declined, Saved, Failed };

    ScheduleBoard(Session &session, MainWindowCommands *menu, QObject *parent = nullptr);

    /// Reads the station settings, the rooms and parameters, and shows today.
    bool open();
    bool loadRooms();
    /// Shows `day`; when the user chose it and it has no operation, says so.
    bool showDay(const QDate &day, bool chosenByUser);

    QStringList roomNames() const { return m_roomNames; }
    const RowSet &roomRows() const { return m_roomRows; }
    BoardParameters parameters() const { return m_parameters; }
    QDate day() const { return m_day; }
    const QList<PlannerItem> &items() const { return m_items; }
    bool requestsWaiting() const { return m_requestsWaiting; }
    /// Polls the wards' requests; the request button shows while there are any.
    bool pollRequests();

    // The booking panel of an admitted patient.
    /// The end a new start suggests: an hour later (two for the client "VZ").
    QTime defaultEnd(const QTime &start) const;
    /// Whole minutes from start to end.
    static int lengthMinutes(const QDateTime &start, const QDateTime &end);
    /// "Invalid Ending Time." when the end is not a minute after the start; false then.
    bool checkTimes(const QTime &start, const QTime &end);
    /// The details text the board shows for a booking.
    QString admittedDetails(const AdmittedBooking &b, const QString &sex, int age) const;
    /// "Save" of the booking panel, in the hospital's order of checks.
    SaveOutcome saveAdmitted(const AdmittedBooking &b);

    // The panel of a patient to be admitted.
    /// "01:00:00 AM" to "11:00:00 PM".
    static QStringList startHours();
    /// The start hours and the midnight that ends the day, "12:00:00 AM".
    static QStringList endHours();
    QString endHourFor(const QString &startHour) const;
    /// Minutes from the start hour to the end hour; the end list's "12:00:00 AM" is the
    /// midnight that ends the day.
    static int hourMinutes(const QString &startHour, const QString &endHour);
    /// "Save" of that panel; `edit` uses the confirmed list's texts and the logged-in user.
    SaveOutcome saveToBeAdmitted(const ToBeAdmittedBooking &b, bool edit = false);

    // Rooms and parameters.
    SaveOutcome addRoom(const QString &name);
    SaveOutcome renameRoom(int roomId, const QString &name);
    static QString dayLengthText(int hours);
    static QString incrementText(int minutes);
    static QStringList dayLengthChoices();
    static QStringList incrementChoices();
    SaveOutcome saveParameters(const QString &dayLengthChoice, const QString &incrementChoice);

    /// "Print Selected Schedule": the day's schedule through the report viewer.
    bool print(ReportService *reports);
    /// The patient picker, the pending requests and the confirmed list, through the main
    /// window.
    void openPatientPicker();
    void openRequests();
    void openConfirmed();

    ScheduleStore &store() { return m_store; }
    /// Whether the booking panel names the scrub and circulating nurses.
    bool showsNurses() const;

Q_SIGNALS:
    void roomsChanged();
    void dayChanged();
    void requestsChanged(bool waiting);

private:
    bool failed(const Error &error);
    void refuse(const QString &text, bool critical = false);
    void open(const QString &form, const QString &caption);

    Session &m_session;
    MainWindowCommands *m_menu;
    ScheduleStore m_store;
    ScheduleStore::StationSwitches m_switches;
    QStringList m_roomNames;
    RowSet m_roomRows;
    BoardParameters m_parameters;
    QDate m_day;
    QList<PlannerItem> m_items;
    bool m_requestsWaiting = false;
};

} // namespace kestrel
