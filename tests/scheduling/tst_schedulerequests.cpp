// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The wards' requests for an operation, confirmed into a room or revoked; the confirmed
// schedules (found, revoked, edited, printed) and the revoked requests the nurse acknowledges,
// through their presenters and the real database.
#include "core/WindowRequest.h"
#include "core/db/Database.h"
#include "reports/RenderedReport.h"
#include "scheduling/ConfirmedSchedules.h"
#include "scheduling/EditORSchedule.h"
#include "scheduling/RevokedRequests.h"
#include "scheduling/ScheduleRequests.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

/// The demo hospital with the clerk 1401 logged in, and `var` working on that session.
#define AS_CLERK(Type, var, ...)                                                                 \
    KESTREL_OPEN_DEMO(db);                                                                       \
    test::MainWindowFixture f(db, u"1401"_s);                                                    \
    Type var(f.session __VA_OPT__(, ) __VA_ARGS__)

namespace {

QString statusOf(Database &db, const QString &trans)
{
    auto s = db.scalar(u"select RecordStatus from SCHEDULE..tbORScheduleDetails "
                       u"where TransNum = :t"_s,
                       {{u"t"_s, trans}});
    return s ? s->toString().trimmed() : u"?"_s;
}

/// A re-validation window where, while the clerk signs, the ward takes its request back.
class WardRevokesWhileSigning : public test::ScriptedDialogs
{
public:
    WardRevokesWhileSigning(Database &db, QString trans) : m_db(db), m_trans(std::move(trans))
    {
        sign(u"1402"_s);
    }
    ValidatedUser validateUser(bool askReason) override
    {
        m_db.exec(u"update SCHEDULE..tbORScheduleDetails set RecordStatus = 'R', "
                  u"RevokedBy = '4N-NURSE' where TransNum = :t"_s,
                  {{u"t"_s, m_trans}});
        return ScriptedDialogs::validateUser(askReason);
    }

private:
    Database &m_db;
    QString m_trans;
};

/// The wards ask for tomorrow at 7 PM, when the rooms are free.
void askForTomorrowEvening(Database &db)
{
    QVERIFY(db.exec(u"update SCHEDULE..tbORScheduleDetails set StartTime = "
                    u"'2026-12-02 19:00:00' where RecordStatus = 'P'"_s));
}

/// The first pending request, completed by the clerk: room OR 2 for 90 minutes.
RequestConfirmation completed(ScheduleRequests &requests)
{
    RequestConfirmation c = requests.select(0);
    c.booking.room = u"OR 2"_s;
    c.booking.end = c.booking.start.addSecs(90 * 60);
    c.booking.anesthesiologistId = u"1102"_s;
    c.booking.anesthesiologistName = u"NEPOMUCENO, ALFREDO R."_s;
    return c;
}

/// A confirmed operation of the test, OR 3 on 12/03/2026 from 09:00 for an hour.
QString bookEditable(Database &db)
{
    db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, PatientName, RoomID, "
            u"ScheduleDate, StartTime, Length, ProcedureDesc, DoctorID1, DoctorID2, RecordStatus) "
            u"values ('T-EDIT', 'IP-1', 'REYES, ANA', 3, '2026-12-03 00:00:00', "
            u"'2026-12-03 09:00:00', 60, 'APPENDECTOMY, OPEN', '1021', '1102', 'C')"_s);
    return u"T-EDIT"_s;
}

/// The main window as far as these windows use it: the windows asked for.
class RecordingWindows : public MainWindowCommands
{
public:
    void openWindow(const QString &formName, const WindowRequest &request) override
    {
        opened << std::pair{formName, request};
    }
    void setPatientCommandsEnabled(bool) override {}
    void setCVORCaption(const QString &) override {}
    void setMenuVisible(const QString &, bool) override {}

    QList<std::pair<QString, WindowRequest>> opened;
};

const QDate kToday(2026, 12, 1);

qint64 confirmedOn(Database &db, const QDate &day, const QString &where = {},
                   const QVariant &value = {})
{
    Binds binds{{u"d"_s, QDateTime(day, QTime(0, 0))}, {u"n"_s, QDateTime(day.addDays(1), QTime(0, 0))}};
    if (!where.isEmpty())
        binds.insert(u"v"_s, value);
    const QString sql = u"select count(*) from SCHEDULE..tbORScheduleDetails where "
                        u"RecordStatus = 'C' and StartTime >= :d and StartTime < :n"_s +
                        (where.isEmpty() ? QString() : u" and "_s + where);
    auto n = db.scalar(sql, binds);
    return n ? n->toLongLong() : -1;
}

/// Two requests of the station that the laboratory revoked this morning, the second one
/// already acknowledged; and one of another station.
void addRevokedRequests(Database &db)
{
    const QDateTime morning(kToday, QTime(8, 0));
    const auto add = [&db, &morning](const QString &n, const QString &st, int revokedAfter,
                                     const QVariant &ack, const QString &ackBy) {
        return db.exec(u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, "
                       u"HospNum, StationID, ExamCode, ExamName, RequestDate, RecordStatus, "
                       u"RevokedBy, RevokedDate, Remarks, RevAcknow_Date, RevAcknow_UserID) "
                       u"values (:n, 'IP-1', '', :st, 'L101', 'CBC', :asked, 'R', 'LAB-7', "
                       u":revoked, 'Specimen hemolyzed', :ack, :ackBy)"_s,
                       {{u"n"_s, n}, {u"st"_s, st}, {u"asked"_s, morning},
                        {u"revoked"_s, morning.addSecs(revokedAfter)}, {u"ack"_s, ack},
                        {u"ackBy"_s, ackBy}}).has_value();
    };
    QVERIFY(add(u"RQ-1"_s, u"OR"_s, 3600, QVariant(), u""_s));
    QVERIFY(add(u"RQ-2"_s, u"OR"_s, 1800, morning.addSecs(5400), u"1402"_s));
    QVERIFY(add(u"RQ-3"_s, u"4N"_s, 3600, QVariant(), u""_s));
}

} // namespace

class tst_ScheduleRequests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void requestIsConfirmedIntoItsRoom_data();
    void requestIsConfirmedIntoItsRoom();
    void confirmChecksInOrder_data();
    void confirmChecksInOrder();
    void wardRevokesWhileTheClerkConfirms();
    void revoke_data();
    void revoke();
    void hourLength_data();
    void hourLength();
    void editChecksInOrder_data();
    void editChecksInOrder();
    void editIsSaved();
    void search_data();
    void search();
    void revokeConfirmed_data();
    void revokeConfirmed();
    void printsTheConfirmationSlip();
    void editOpensTheEditWindowOrItsOwnPanel();
    void acknowledge_data();
    void acknowledge();
};

void tst_ScheduleRequests::requestIsConfirmedIntoItsRoom_data()
{
    QTest::addColumn<bool>("linked");
    QTest::addColumn<bool>("moveStart");
    QTest::newRow("plain, start moved to the clerk's") << false << true;
    QTest::newRow("linked to the hospital's scheduling") << true << true;
    QTest::newRow("start kept at the ward's") << false << false;
}

void tst_ScheduleRequests::requestIsConfirmedIntoItsRoom()
{
    QFETCH(bool, linked);
    QFETCH(bool, moveStart);
    KESTREL_OPEN_DEMO(db);
    QVERIFY(db.exec(u"update STATION..tbNursing_Settings set OR_AllowEditScheduleDateTime = :on"_s,
                    {{u"on"_s, moveStart ? 1 : 0}}));
    if (linked)
        QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) "
                        u"values ('ORLinkToScheduling', '1')"_s));
    askForTomorrowEvening(db);
    test::MainWindowFixture f(db, u"1401"_s);
    f.session.settings.LoadParameters(db, f.session.hospital);
    ScheduleRequests requests(f.session);
    QVERIFY(requests.load());
    const int waiting = requests.requests().count();
    RequestConfirmation c = completed(requests);
    const QDateTime asked = c.requestedStart;
    c.booking.start = c.booking.start.addSecs(-3600); // the clerk gives it an hour earlier
    f.dialogs.sign(u"1402"_s);
    QCOMPARE(requests.confirm(c), ScheduleRequests::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), u"Schedule confirmed."_s);
    QCOMPARE(requests.requests().count(), waiting - 1);

    auto row = db.selectOne(u"select S.*, R.RoomName from SCHEDULE..tbORScheduleDetails S "
                            u"join SCHEDULE..tbORRoom R on R.RoomID = S.RoomID "
                            u"where S.TransNum = :t"_s,
                            {{u"t"_s, c.transNum}});
    QVERIFY(row && *row);
    const Row &r = **row;
    QCOMPARE(r.trimmed(u"RecordStatus"), u"C"_s);
    QCOMPARE(r.trimmed(u"RoomName"), u"OR 2"_s);
    QCOMPARE(r.integer(u"Length"), 150); // the ward's or the clerk's start, to the clerk's end
    QCOMPARE(r.trimmed(u"ConfirmedBy"), u"1402"_s);
    QCOMPARE(r.trimmed(u"DoctorID2"), u"1102"_s);
    QCOMPARE(r.dateTime(u"StartTime"), moveStart ? asked.addSecs(-3600) : asked);
    QVERIFY(r.text(u"Description").contains(u"\nRoom :OR 2\nSurgeon:"_s));
}

void tst_ScheduleRequests::confirmChecksInOrder_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("time tagged by the station, and No")
        << "tag" << "The requesting station tagged the operation schedule as TO FOLLOW. \n"
                    "Please double-check the starting and ending time. \nIf correct, click "
                    "Yes. To set the correct time, click No.";
    QTest::newRow("end equal to start, and no room") << "end=start" << "Please provide a valid ending time.";
    QTest::newRow("no room") << "no room" << "Please select OR Room for the schedule.";
    QTest::newRow("a room nobody has") << "unknown room" << "Invalid OR Room. Please check build file of rooms.";
    QTest::newRow("the room is taken around it, and No")
        << "taken" << "An operation is already scheduled in this room on 12/02/2026 from "
                      "07:30:00 PM-07:45:00 PM. Would you like to continue for an ER case?";
    QTest::newRow("no anesthesiologist") << "no anes" << "Please provide Anesthesiologist.";
    QTest::newRow("nobody signs, and No")
        << "unsigned" << "Selected operation schedule was not saved. \nAre you sure you want to "
                         "confirm this operation schedule?";
}

void tst_ScheduleRequests::confirmChecksInOrder()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    AS_CLERK(ScheduleRequests, requests);
    askForTomorrowEvening(db);
    QVERIFY(requests.load());
    RequestConfirmation c = completed(requests);
    f.dialogs.sign(u"1402"_s);
    if (fault == u"tag") {
        c.timeTag = u"to follow"_s;
        c.booking.start = QTime(0, 0);
        c.booking.end = QTime(1, 0);
    } else if (fault == u"end=start") {
        c.booking.end = c.booking.start;
        c.booking.room.clear();
    } else if (fault == u"no room") {
        c.booking.room.clear();
        c.booking.anesthesiologistId.clear();
    } else if (fault == u"unknown room") {
        c.booking.room = u"OR 99"_s;
    } else if (fault == u"taken") {
        // A short operation wholly inside the requested time.
        QVERIFY(db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, RoomID, "
                        u"StartTime, Length, RecordStatus) values ('T-INSIDE', 2, :s, 15, 'C')"_s,
                        {{u"s"_s, QDateTime(c.booking.date, c.booking.start.addSecs(1800))}}));
        c.booking.anesthesiologistId.clear();
    } else if (fault == u"no anes") {
        c.booking.anesthesiologistId.clear();
    } else if (fault == u"unsigned") {
        f.dialogs = test::ScriptedDialogs();
    }
    QVERIFY(requests.confirm(c) != ScheduleRequests::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(statusOf(db, c.transNum), u"P"_s);
}

void tst_ScheduleRequests::wardRevokesWhileTheClerkConfirms()
{
    AS_CLERK(ScheduleRequests, requests);
    askForTomorrowEvening(db);
    QVERIFY(requests.load());
    const int waiting = requests.requests().count();
    const RequestConfirmation c = completed(requests);
    WardRevokesWhileSigning ward(db, c.transNum);
    Session session(f.notifier, ward);
    session.setCurrentUser(&f.user);
    ScheduleRequests racing(session);
    QVERIFY(racing.load());
    QCOMPARE(racing.confirm(c), ScheduleRequests::SaveOutcome::Refused);
    QVERIFY(f.notifier.lastText().startsWith(u"This request is no longer pending"_s));
    // Nothing of the confirmation was written, and the list no longer offers it.
    auto row = db.selectOne(u"select RecordStatus, RoomID, ConfirmedBy from "
                            u"SCHEDULE..tbORScheduleDetails where TransNum = :t"_s,
                            {{u"t"_s, c.transNum}});
    QCOMPARE((*row)->trimmed(u"RecordStatus"), u"R"_s);
    QVERIFY((*row)->value(u"RoomID").isNull());
    QCOMPARE((*row)->trimmed(u"ConfirmedBy"), QString());
    QCOMPARE(racing.requests().count(), waiting - 1);
}

void tst_ScheduleRequests::revoke_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("status");
    QTest::addColumn<QString>("message");
    QTest::newRow("revoked") << QList<bool>{true} << true << "R" << "Schedule was successfully revoked.";
    QTest::newRow("No to the question") << QList<bool>{false} << true << "P"
                                        << "Are you sure you want to revoke this operation schedule?";
    QTest::newRow("nobody signs, and No")
        << QList<bool>{true, false} << false << "P"
        << "Selected operation schedule will not be revoked. \nAre you sure you want to revoke "
           "this operation schedule?";
}

void tst_ScheduleRequests::revoke()
{
    QFETCH(QList<bool>, answers);
    QFETCH(bool, signs);
    QFETCH(QString, status);
    QFETCH(QString, message);
    AS_CLERK(ScheduleRequests, requests);
    askForTomorrowEvening(db);
    QVERIFY(requests.load());
    const QString trans = requests.select(1).transNum;
    f.notifier.answer(answers);
    if (signs)
        f.dialogs.sign(u"1402"_s);
    requests.revoke(1);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(statusOf(db, trans), status);
    auto r = db.scalar(u"select RevokedBy from SCHEDULE..tbORScheduleDetails where TransNum = :t"_s,
                       {{u"t"_s, trans}});
    QCOMPARE(r->toString().trimmed(), status == u"R" ? u"1402"_s : QString());
}

void tst_ScheduleRequests::hourLength_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("minutes");
    QTest::newRow("09:30 to 10:15 is an hour begun") << "09:30" << "10:15" << 60;
    QTest::newRow("09:00 to 09:45 begins none") << "09:00" << "09:45" << 0;
    QTest::newRow("08:59 to 11:01") << "08:59" << "11:01" << 180;
}

void tst_ScheduleRequests::hourLength()
{
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, minutes);
    const QDate day(2026, 12, 3);
    QCOMPARE(EditORSchedule::hourLength(QDateTime(day, QTime::fromString(start, u"HH:mm"_s)),
                                        QDateTime(day, QTime::fromString(end, u"HH:mm"_s))),
             minutes);
}

void tst_ScheduleRequests::editChecksInOrder_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("no room, and times the wrong way") << "no room" << "Please provide OR Room.";
    QTest::newRow("end before start, and no anesthesiologist") << "times" << "Invalid time.";
    QTest::newRow("no anesthesiologist") << "no anes" << "Please enter Anesthesiologist.";
    QTest::newRow("moved onto another operation, and No")
        << "taken" << "An operation is already scheduled in this room on 12/03/2026 from "
                      "11:00:00 AM-11:30:00 AM. Would you like to continue for an ER case?";
    QTest::newRow("nobody signs, and No")
        << "unsigned" << "Selected operation schedule will not be saved! \nAre you sure you want "
                         "to confirm this operation schedule?";
    QTest::newRow("revoked meanwhile") << "revoked" << "This schedule is no longer confirmed: "
                                                       "another workstation revoked it.";
}

void tst_ScheduleRequests::editChecksInOrder()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    AS_CLERK(EditORSchedule, edit);
    const QString trans = bookEditable(db);
    QVERIFY(edit.load(trans));
    ScheduleEdit e = edit.current();
    e.end = e.end.addSecs(3 * 3600); // to 1 PM, over the operation at 11
    QVERIFY(db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, RoomID, StartTime, "
                    u"Length, RecordStatus) values ('T-AT-11', 3, '2026-12-03 11:00:00', 30, 'C')"_s));
    f.dialogs.sign(u"1402"_s);
    if (fault == u"no room") {
        e.room.clear();
        e.end = e.start;
    } else if (fault == u"times") {
        e.end = e.start.addSecs(-60);
        e.anesthesiologistId.clear();
    } else if (fault == u"no anes") {
        e.anesthesiologistId.clear();
    } else if (fault == u"unsigned") {
        f.notifier.answer({true});
        f.dialogs = test::ScriptedDialogs();
    } else if (fault == u"revoked") {
        f.notifier.answer({true});
        QVERIFY(db.exec(u"update SCHEDULE..tbORScheduleDetails set RecordStatus = 'R' "
                        u"where TransNum = 'T-EDIT'"_s));
    }
    QVERIFY(edit.update(e) != EditORSchedule::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), message);
    auto length = db.scalar(u"select Length from SCHEDULE..tbORScheduleDetails "
                            u"where TransNum = 'T-EDIT'"_s);
    QCOMPARE(length->toInt(), 60);
}

void tst_ScheduleRequests::editIsSaved()
{
    AS_CLERK(EditORSchedule, edit);
    const QString trans = bookEditable(db);
    QVERIFY(edit.load(trans));
    ScheduleEdit e = edit.current();
    e.room = u"OR 4"_s;
    e.start = e.start.addSecs(30 * 60);  // 09:30
    e.end = e.start.addSecs(45 * 60);    // 10:15: one clock hour begun
    e.coSurgeonIds = {u"1024"_s, QString(), QString()};
    e.surgeonName = edit.doctorName(e.surgeonId);
    e.anesthesiologistName = edit.doctorName(e.anesthesiologistId);
    f.dialogs.sign(u"1402"_s);
    QCOMPARE(edit.update(e), EditORSchedule::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), u"Schedule updated."_s);
    auto row = db.selectOne(u"select * from SCHEDULE..tbORScheduleDetails where TransNum = :t"_s,
                            {{u"t"_s, trans}});
    QVERIFY(row && *row);
    QCOMPARE((*row)->integer(u"RoomID"), 4);
    QCOMPARE((*row)->integer(u"Length"), 60);
    QCOMPARE((*row)->dateTime(u"StartTime"), QDateTime(QDate(2026, 12, 3), QTime(9, 30)));
    QCOMPARE((*row)->trimmed(u"AsstSurgeon1"), u"1024"_s);
    QCOMPARE((*row)->text(u"Description"),
             u"Patient Name :REYES, ANA Procedure :APPENDECTOMY, OPEN Surgeon:"_s + e.surgeonName +
                 u" Anesthesiologist :"_s + e.anesthesiologistName);
}

void tst_ScheduleRequests::search_data()
{
    QTest::addColumn<QString>("by");
    QTest::addColumn<QString>("column"); // the column the typed text starts
    QTest::newRow("the day's whole list") << "Last name" << "";
    QTest::newRow("by last name") << "Last name" << "PatientName";
    QTest::newRow("by admission number, in other letters") << "adm #" << "IDNum";
    QTest::newRow("by hospital number") << "Hospital #" << "HospNum";
    QTest::newRow("anything else searches names") << "Room" << "PatientName";
}

void tst_ScheduleRequests::search()
{
    QFETCH(QString, by);
    QFETCH(QString, column);
    AS_CLERK(ConfirmedSchedules, list, nullptr);
    QString typed;
    if (!column.isEmpty()) {
        const QString sql = u"select "_s + column +
                            u" from SCHEDULE..tbORScheduleDetails where RecordStatus = 'C' "
                            u"and StartTime >= '2026-12-01 00:00:00' "
                            u"and StartTime < '2026-12-02 00:00:00' order by TransNum limit 1"_s;
        auto first = db.scalar(sql);
        QVERIFY(first && !first->toString().isEmpty());
        typed = first->toString().left(4).toLower();
    }
    QVERIFY(list.search(by, typed, kToday));
    const qint64 expected =
        column.isEmpty() ? confirmedOn(db, kToday)
                         : confirmedOn(db, kToday, column + u" like :v"_s,
                                       QString(typed.toUpper() + u'%'));
    QVERIFY(expected > 0);
    QCOMPARE(list.rows().count(), expected);
    QCOMPARE(list.position(0), u"1  out of  "_s + QString::number(expected));
    QCOMPARE(list.position(int(expected)), QString());
    QVERIFY(list.search(by, typed, QDate(2027, 6, 1)));
    QCOMPARE(list.rows().count(), 0);
}

void tst_ScheduleRequests::revokeConfirmed_data()
{
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("message");
    QTest::newRow("none chosen") << -1 << QList<bool>{} << true << "Please select confirmed schedule.";
    QTest::newRow("No to the question") << 0 << QList<bool>{false} << true << "?";
    QTest::newRow("nobody signs, and No")
        << 0 << QList<bool>{true, false} << false
        << "Transaction was not saved! \nAre you sure you want to revoke this confirmed request?";
    QTest::newRow("revoked") << 0 << QList<bool>{true} << true << "Schedule successfully revoked.";
}

void tst_ScheduleRequests::revokeConfirmed()
{
    QFETCH(int, row);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, signs);
    QFETCH(QString, message);
    AS_CLERK(ConfirmedSchedules, list, nullptr);
    QVERIFY(list.search(u"Last name"_s, QString(), kToday));
    const int before = list.rows().count();
    const QString trans = list.rows().at(0).trimmed(u"TransNum");
    const QString name = list.rows().at(0).trimmed(u"Patient Name");
    if (message == u"?")
        message = u"Are you sure you want to revoke this confirmed schedule for "_s + name + u'?';
    f.notifier.answer(answers);
    if (signs)
        f.dialogs.sign(u"1402"_s);
    const bool revoked = message == u"Schedule successfully revoked.";
    QCOMPARE(list.revoke(row) == ConfirmedSchedules::SaveOutcome::Saved, revoked);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(statusOf(db, trans), revoked ? u"R"_s : u"C"_s);
    QCOMPARE(list.rows().count(), before - (revoked ? 1 : 0));
}

void tst_ScheduleRequests::printsTheConfirmationSlip()
{
    AS_CLERK(ConfirmedSchedules, list, nullptr);
    QVERIFY(list.search(u"Last name"_s, QString(), kToday));
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    QVERIFY(!list.print(-1, &reports));
    QVERIFY(list.print(1, &reports));
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QCOMPARE(display.shown().last().options.title, u"OR Schedule Confirmation Slip"_s);
    const QString html = display.last()->html();
    QVERIFY(html.contains(list.rows().at(1).trimmed(u"TransNum")));
    QVERIFY(!html.contains(list.rows().at(0).trimmed(u"TransNum")));
    QVERIFY(!html.contains(u"no longer confirmed"_s));
}

void tst_ScheduleRequests::editOpensTheEditWindowOrItsOwnPanel()
{
    KESTREL_OPEN_DEMO(db);
    // A patient booked before admission, tomorrow at 3 PM in OR 4 for two hours.
    QVERIFY(db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, "
                    u"PatientName, PatientClass, Age, Sex, RoomID, StartTime, Length, "
                    u"ProcedureCode, ProcedureDesc, DoctorID1, DoctorID2, RecordStatus) values "
                    u"('T-TBA', '', '', 'SANTOS, LIZA', 'PAY', 41, 'F', 4, '2026-12-02 15:00:00', "
                    u"120, 'OR1001', 'APPENDECTOMY, OPEN', '1021', '1102', 'C')"_s));
    test::MainWindowFixture f(db, u"1401"_s);
    RecordingWindows windows;
    ConfirmedSchedules list(f.session, &windows);
    QVERIFY(list.search(u"Last name"_s, QString(), kToday));
    int admitted = 0;
    while (admitted < list.rows().count() && list.bookedBeforeAdmission(admitted))
        ++admitted;
    QVERIFY(admitted < list.rows().count());
    const QString trans = list.rows().at(admitted).trimmed(u"TransNum");
    list.openEdit(admitted);
    QCOMPARE(windows.opened.size(), 1);
    QCOMPARE(windows.opened.at(0).first, u"frmEditORSchedule"_s);
    QCOMPARE(windows.opened.at(0).second.values.value(u"TransNum"_s).toString(), trans);

    QVERIFY(list.search(u"Last name"_s, u"santos, l"_s, QDate(2026, 12, 2)));
    QCOMPARE(list.rows().count(), 1);
    QVERIFY(list.bookedBeforeAdmission(0));
    ToBeAdmittedBooking b = list.toBeAdmitted(0);
    QCOMPARE(b.transNum, u"T-TBA"_s);
    QCOMPARE(b.room, u"OR 4"_s);
    QCOMPARE(b.startHour, u"03:00:00 PM"_s);
    QCOMPARE(b.endHour, u"05:00:00 PM"_s);
    b.endHour = u"06:00:00 PM"_s;
    f.dialogs.sign(u"1402"_s);
    QCOMPARE(list.saveToBeAdmitted(b), ConfirmedSchedules::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), u"Schedule successfully saved."_s);
    auto row = db.selectOne(u"select Length, ConfirmedBy, RecordStatus from "
                            u"SCHEDULE..tbORScheduleDetails where TransNum = 'T-TBA'"_s);
    QVERIFY(row && *row);
    QCOMPARE((*row)->integer(u"Length"), 180);
    QCOMPARE((*row)->trimmed(u"ConfirmedBy"), u"1401"_s); // the logged-in clerk
    QCOMPARE((*row)->trimmed(u"RecordStatus"), u"C"_s);
}

void tst_ScheduleRequests::acknowledge_data()
{
    QTest::addColumn<QString>("request");
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("acknowledgedBy");
    QTest::newRow("none chosen") << "" << true << "Please select revoked request to acknowledge." << "";
    QTest::newRow("already acknowledged")
        << "RQ-2" << true << "This revoked request was previously acknowledged." << "1402";
    QTest::newRow("nobody signs: nothing happens") << "RQ-1" << false << "" << "";
    QTest::newRow("acknowledged")
        << "RQ-1" << true << "You have successfully acknowledged the revoked request." << "1403";
}

void tst_ScheduleRequests::acknowledge()
{
    QFETCH(QString, request);
    QFETCH(bool, signs);
    QFETCH(QString, message);
    QFETCH(QString, acknowledgedBy);
    KESTREL_OPEN_DEMO(db);
    QVERIFY(db.exec(u"delete from STATION..tbNurseCommunicationfile"_s));
    addRevokedRequests(db);
    test::MainWindowFixture f(db, u"1401"_s);
    RevokedRequests revoked(f.session);
    QVERIFY(revoked.load());
    // Only this station's, newest first.
    QCOMPARE(revoked.rows().count(), 2);
    QCOMPARE(revoked.rows().at(0).trimmed(u"RequestNum"), u"RQ-1"_s);
    int row = -1;
    for (int i = 0; i < revoked.rows().count(); ++i)
        row = revoked.rows().at(i).trimmed(u"RequestNum") == request ? i : row;
    if (signs)
        f.dialogs.sign(acknowledgedBy.isEmpty() ? u"1403"_s : acknowledgedBy);
    revoked.acknowledge(row);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(f.dialogs.asked(), message.isEmpty() || message.startsWith(u"You") ? 1 : 0);
    if (request.isEmpty())
        return;
    auto by = db.scalar(u"select RevAcknow_UserID from STATION..tbNurseCommunicationfile "
                        u"where RequestNum = :n"_s,
                        {{u"n"_s, request}});
    QCOMPARE(by->toString().trimmed(), acknowledgedBy);
    QCOMPARE(revoked.acknowledged(row), !acknowledgedBy.isEmpty());
}

QTEST_MAIN(tst_ScheduleRequests)
#include "tst_schedulerequests.moc"
