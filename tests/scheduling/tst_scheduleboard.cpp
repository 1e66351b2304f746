// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The schedule board and the rooms window through their presenters and the real database:
// the day shown, the bookings of admitted patients and of patients to be admitted in the
// hospital's order of checks, the board's parameters, the OR rooms and the procedures
// assigned to them, down to the printed assignment.
#include "core/db/Database.h"
#include "reports/RenderedReport.h"
#include "scheduling/BuildORRooms.h"
#include "scheduling/ScheduleBoard.h"
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

const QDate kDay(2026, 12, 3); // two days after the test hospital's today

AdmittedBooking completeBooking(Database &db)
{
    auto p = db.selectOne(u"select HospNum, IDNum from PATIENT_DATA..tbPatient "
                          u"where DcrDate is null order by IDNum limit 1");
    if (!p || !*p)
        return {};
    return {.hospNum = (*p)->trimmed(u"HospNum"), .idNum = (*p)->trimmed(u"IDNum"),
            .patientName = u"THE PATIENT"_s, .date = kDay,
            .start = QTime(6, 0), .end = QTime(7, 30), .procedureCode = u"OR1001"_s,
            .procedureDesc = u"APPENDECTOMY, OPEN"_s, .surgeonId = u"1021"_s,
            .surgeonName = u"AGUSTIN, RAMON L."_s,
            .coSurgeonIds = {u"1024"_s, QString(), QString()}, .anesthesiologistId = u"1102"_s,
            .anesthesiologistName = u"NEPOMUCENO, ALFREDO R."_s, .room = u"OR 5"_s,
            .remarks = u"Patient's own blood"_s, .scrubNurse = {}, .circulatingNurse = {}};
}

const QString kBookedOnDay = u"select count(*) from SCHEDULE..tbORScheduleDetails "
                             u"where StartTime >= '2026-12-03 00:00:00' and "
                             u"StartTime < '2026-12-04 00:00:00'"_s;

QString lastLog(Database &db)
{
    auto text = db.scalar(u"select Remarks from STATION..tbStationLogs "
                          u"order by LogID desc limit 1"_s);
    return text ? text->toString().trimmed() : QString();
}

qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto n = db.scalar(sql, binds);
    return n ? n->toLongLong() : -1;
}

QString statusOfRoom(const BuildORRooms &rooms, const QString &name)
{
    for (const Row &r : rooms.rooms()) {
        if (r.trimmed(u"Room Name") == name)
            return r.trimmed(u"Status");
    }
    return {};
}

} // namespace

class tst_ScheduleBoard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void opensOnTodayWithTheRooms();
    void admittedBookingChecksInOrder_data();
    void admittedBookingChecksInOrder();
    void admittedBookingIsSavedAndShown();
    void hourLists_data();
    void hourLists();
    void toBeAdmittedBooking_data();
    void toBeAdmittedBooking();
    void parametersAndRooms();
    void listAndNextId();
    void addRoom_data();
    void addRoom();
    void updateRoom_data();
    void updateRoom();
    void deleteRoom_data();
    void deleteRoom();
    void assignAndRemoveProcedures_data();
    void assignAndRemoveProcedures();
    void printsTheAssignment();
};

void tst_ScheduleBoard::opensOnTodayWithTheRooms()
{
    AS_CLERK(ScheduleBoard, board, nullptr);
    QVERIFY(board.open());
    QCOMPARE(board.day(), test::fixtureToday());
    // The closed room is not a column of the board.
    QVERIFY(board.roomNames().contains(u"OR 1"_s));
    QVERIFY(!board.roomNames().contains(u"OR 6"_s));
    QCOMPARE(board.parameters().increment, 15);
    QCOMPARE(board.items().size(),
             count(db, u"select count(*) from SCHEDULE..tbORScheduleDetails where "
                       u"RecordStatus = 'C' and StartTime >= '2026-12-01 00:00:00' and "
                       u"StartTime < '2026-12-02 00:00:00'"_s));
    QVERIFY(!board.items().isEmpty());
    QVERIFY(board.requestsWaiting());
    QVERIFY(f.notifier.boxes().isEmpty());
    // An empty day is told only when the user chose it.
    QVERIFY(board.showDay(QDate(2027, 6, 1), false));
    QVERIFY(f.notifier.boxes().isEmpty());
    QVERIFY(board.showDay(QDate(2027, 6, 1), true));
    QCOMPARE(f.notifier.lastText(), u"No operation scheduled for 06/01/2027."_s);
}

void tst_ScheduleBoard::admittedBookingChecksInOrder_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("end equal to start, and no room") << "end=start" << "Please provide a valid ending time.";
    QTest::newRow("no room, and no surgeon") << "no room" << "Please select OR Room for the schedule.";
    QTest::newRow("a room nobody has") << "unknown room" << "Invalid OR Room. Please check build file of rooms.";
    QTest::newRow("no surgeon, and no procedure") << "no surgeon" << "Incomplete data. Please enter Surgeon.";
    QTest::newRow("no procedure") << "no procedure" << "Incomplete data. Please enter Procedure.";
    QTest::newRow("no anesthesiologist") << "no anes" << "Incomplete data. Please enter Anesthesiologist.";
    QTest::newRow("nobody signs, and No")
        << "unsigned"
        << "Selected operation schedule was not saved. \nAre you sure you want to confirm this "
           "operation schedule?";
    QTest::newRow("the room is taken, and No")
        << "taken" << "An operation is already scheduled in this room on 12/03/2026 from "
                      "07:00:00 AM-09:00:00 AM. Would you like to continue for an ER case?";
}

void tst_ScheduleBoard::admittedBookingChecksInOrder()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    AS_CLERK(ScheduleBoard, board, nullptr);
    QVERIFY(board.open());
    AdmittedBooking b = completeBooking(db);
    f.dialogs.sign(u"1402"_s);
    if (fault == u"end=start") {
        b.end = b.start;
        b.room.clear();
    } else if (fault == u"no room") {
        b.room.clear();
        b.surgeonId.clear();
    } else if (fault == u"unknown room") {
        b.room = u"OR 99"_s;
    } else if (fault == u"no surgeon") {
        b.surgeonId.clear();
        b.procedureCode.clear();
    } else if (fault == u"no procedure") {
        b.procedureCode.clear();
    } else if (fault == u"no anes") {
        b.anesthesiologistId.clear();
    } else if (fault == u"unsigned") {
        f.dialogs = test::ScriptedDialogs();
    } else if (fault == u"taken") {
        b.end = QTime(10, 0); // the whole of another booking lies inside it
        QVERIFY(db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, RoomID, "
                        u"StartTime, Length, RecordStatus) values ('T-TAKEN', 5, "
                        u"'2026-12-03 07:00:00', 120, 'C')"));
    }
    const qint64 before = count(db, kBookedOnDay);
    const auto outcome = board.saveAdmitted(b);
    QVERIFY(outcome != ScheduleBoard::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(count(db, kBookedOnDay), before);
}

void tst_ScheduleBoard::admittedBookingIsSavedAndShown()
{
    AS_CLERK(ScheduleBoard, board, nullptr);
    QVERIFY(board.open());
    QVERIFY(board.showDay(kDay, false));
    const AdmittedBooking patient = completeBooking(db);
    f.dialogs.sign(u"1402"_s);
    QCOMPARE(board.saveAdmitted(patient), ScheduleBoard::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), u"Operation successfully scheduled."_s);

    auto row = db.selectOne(u"select * from SCHEDULE..tbORScheduleDetails "
                            u"where StartTime = '2026-12-03 06:00:00'");
    const Row &r = **row;
    QCOMPARE(r.integer(u"Length"), 90);
    QCOMPARE(r.trimmed(u"IDNum"), patient.idNum);
    QCOMPARE(r.trimmed(u"ConfirmedBy"), u"1402"_s); // the employee who signed
    QCOMPARE(r.trimmed(u"AsstSurgeon1"), u"1024"_s);
    const QString details = r.text(u"Description");
    QVERIFY(details.startsWith(u"Patient Name :THE PATIENT\nGender :"_s));
    QVERIFY(details.contains(u"\nHospital Numer :"_s + patient.hospNum + u"\nProcedure :APPENDECTOMY, OPEN\nRoom :OR 5\n"_s));
    QVERIFY(details.endsWith(u"Anesthesiologist :NEPOMUCENO, ALFREDO R. Patient's own blood"_s));
    // The board shows the day again, with the new operation in its room.
    bool shown = false;
    for (const PlannerItem &item : board.items())
        shown = shown || (item.room == u"OR 5" && item.start == QDateTime(kDay, QTime(6, 0)) &&
                          item.length == 90);
    QVERIFY(shown);
}

void tst_ScheduleBoard::hourLists_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("start");
    QTest::addColumn<QString>("end");
    QTest::addColumn<int>("minutes");
    QTest::newRow("noon") << "" << "12:00:00 PM" << "01:00:00 PM" << 60;
    QTest::newRow("the last hour ends at midnight") << "" << "11:00:00 PM" << "12:00:00 AM" << 60;
    QTest::newRow("two hours for VZ") << "VZ" << "09:00:00 AM" << "11:00:00 AM" << 120;
    QTest::newRow("VZ late: the day's end") << "VZ" << "11:00:00 PM" << "12:00:00 AM" << 60;
}

void tst_ScheduleBoard::hourLists()
{
    QFETCH(QString, client);
    QFETCH(QString, start);
    QFETCH(QString, end);
    QFETCH(int, minutes);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"1401"_s);
    f.session.hospital.clientname = client;
    ScheduleBoard board(f.session, nullptr);
    QCOMPARE(board.endHourFor(start), end);
    QCOMPARE(ScheduleBoard::hourMinutes(start, end), minutes);
    QVERIFY(ScheduleBoard::startHours().contains(start));
    QVERIFY(ScheduleBoard::endHours().contains(end));
}

void tst_ScheduleBoard::toBeAdmittedBooking_data()
{
    QTest::addColumn<QString>("fault");
    QTest::addColumn<QString>("message");
    QTest::newRow("saved") << "" << "Schedule successfully saved.";
    QTest::newRow("end before start")
        << "end" << "Invalid Ending Time! Ending Time must not be equal or earlier than the "
                    "Starting Time. ";
    QTest::newRow("no name") << "name" << "Incomplete data. Please enter patient name.";
    QTest::newRow("no room") << "room" << "Incomplete data. Please select OR room.";
    QTest::newRow("already begun")
        << "past" << "Invalid Schedule Date and Time.\nIt must not be the same or earlier than "
                     "the current date and time.";
    QTest::newRow("nobody signs")
        << "unsigned" << "Selected operation schedule will not be saved! \nAre you sure you "
                         "want to confirm this operation schedule?";
}

void tst_ScheduleBoard::toBeAdmittedBooking()
{
    QFETCH(QString, fault);
    QFETCH(QString, message);
    AS_CLERK(ScheduleBoard, board, nullptr);
    ToBeAdmittedBooking b{.transNum = {}, .patientName = u"DELA CRUZ, JUANA"_s, .hospNum = {},
                          .patientClass = u"PAY"_s, .sex = u"F"_s, .age = u"34"_s,
                          .room = u"OR 4"_s, .date = kDay, .startHour = u"11:00:00 PM"_s,
                          .endHour = u"12:00:00 AM"_s, .procedureCode = u"OR1001"_s,
                          .procedureDesc = u"APPENDECTOMY, OPEN"_s, .surgeonCode = u"1021"_s,
                          .surgeonName = {}, .anesthesiologistCode = u"1102"_s,
                          .anesthesiologistName = {}};
    f.dialogs.sign(u"1402"_s);
    if (fault == u"end")
        b.endHour = u"10:00:00 PM"_s;
    else if (fault == u"name")
        b.patientName = u"  "_s;
    else if (fault == u"room")
        b.room.clear();
    else if (fault == u"past")
        b.date = test::fixtureToday(), b.startHour = u"09:00:00 AM"_s, b.endHour = u"11:00:00 AM"_s;
    else if (fault == u"unsigned")
        f.dialogs = test::ScriptedDialogs();
    const qint64 before = count(db, kBookedOnDay);
    const auto outcome = board.saveToBeAdmitted(b);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(outcome == ScheduleBoard::SaveOutcome::Saved, fault.isEmpty());
    QCOMPARE(count(db, kBookedOnDay), before + (fault.isEmpty() ? 1 : 0));
    if (!fault.isEmpty())
        return;
    auto row = db.selectOne(u"select * from SCHEDULE..tbORScheduleDetails "
                            u"where StartTime = '2026-12-03 23:00:00'");
    QCOMPARE((*row)->integer(u"Length"), 60);
    QCOMPARE((*row)->trimmed(u"PatientName"), u"DELA CRUZ, JUANA"_s);
    QCOMPARE((*row)->trimmed(u"IDNum"), QString());
    QCOMPARE((*row)->trimmed(u"RecordStatus"), u"C"_s);
    QCOMPARE((*row)->text(u"Description"),
             u"Patient Name :DELA CRUZ, JUANA\nProcedure :APPENDECTOMY, OPEN\nSurgeon:\n"
             u"Anesthesiologist :\nPatient Class :PAY\n"_s);
}

void tst_ScheduleBoard::parametersAndRooms()
{
    QCOMPARE(ScheduleBoard::dayLengthText(1), u"1 hour"_s);
    QCOMPARE(ScheduleBoard::dayLengthText(14), u"14 hours"_s);
    QCOMPARE(ScheduleBoard::incrementText(5), u"5 - sch05Minute"_s);
    QCOMPARE(ScheduleBoard::incrementText(15), u"15 - sch15Minute"_s);
    AS_CLERK(ScheduleBoard, board, nullptr);
    QVERIFY(board.open());
    QCOMPARE(board.saveParameters(u"8 hours"_s, u"5 - sch05Minute"_s),
             ScheduleBoard::SaveOutcome::Saved);
    QCOMPARE(f.notifier.lastText(), u"Schedule parameters updated successfully."_s);
    QCOMPARE(board.parameters().dayLength, 8);
    QCOMPARE(board.parameters().increment, 5);
    // Rooms added and renamed on the board, an apostrophe in the name.
    QCOMPARE(board.addRoom(u"  "_s), ScheduleBoard::SaveOutcome::Refused);
    QCOMPARE(f.notifier.lastText(), u"Please provide room name."_s);
    QCOMPARE(board.addRoom(u"CHILDREN'S OR"_s), ScheduleBoard::SaveOutcome::Saved);
    auto id = board.store().roomId(u"children's or"_s);
    QVERIFY(id && *id == 10);
    QCOMPARE(board.renameRoom(*id, u"PEDIA'S OR"_s), ScheduleBoard::SaveOutcome::Saved);
    QVERIFY(board.roomNames().contains(u"PEDIA'S OR"_s));
}

void tst_ScheduleBoard::listAndNextId()
{
    KESTREL_OPEN_DEMO(db);
    // The highest room comes first in the list: the next id still follows it.
    QVERIFY(db.exec(u"update SCHEDULE..tbORRoom set SortOrder = 0 where RoomID = 9"_s));
    test::MainWindowFixture f(db, u"1401"_s);
    BuildORRooms rooms(f.session);
    QVERIFY(rooms.load());
    QCOMPARE(rooms.rooms().at(0).trimmed(u"Room ID"), u"9"_s);
    QCOMPARE(rooms.nextRoomId(), 10);
    QCOMPARE(statusOfRoom(rooms, u"OR 6"_s), u"Inactive"_s);
    QCOMPARE(statusOfRoom(rooms, u"ENDOSCOPY"_s), u"Active"_s); // no status counts as active
    QVERIFY(!rooms.activeRooms().contains(u"OR 6"_s));
    QVERIFY(rooms.activeRooms().contains(u"ENDOSCOPY"_s));
}

void tst_ScheduleBoard::addRoom_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<bool>("active");
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("log");
    QTest::newRow("no name") << "  " << true << true << "Please enter name of OR room." << "";
    QTest::newRow("a name in use, in other letters")
        << "or 1" << true << true << "New room was not saved. Room name already exists." << "";
    QTest::newRow("nobody signs, and No")
        << "OR 7" << true << false
        << "Room was not added! \nAre you sure you want to add this room?" << "";
    QTest::newRow("an apostrophe, inactive")
        << "CHILDREN'S OR" << false << true << "Room successfully added."
        << "ADD ROOM: CHILDREN'S OR ROOM ID: 10 STATUS: 0";
    QTest::newRow("active") << "OR 7" << true << true << "Room successfully added."
                            << "ADD ROOM: OR 7 ROOM ID: 10 STATUS: 1";
}

void tst_ScheduleBoard::addRoom()
{
    QFETCH(QString, name);
    QFETCH(bool, active);
    QFETCH(bool, signs);
    QFETCH(QString, message);
    QFETCH(QString, log);
    AS_CLERK(BuildORRooms, rooms);
    QVERIFY(rooms.load());
    if (signs)
        f.dialogs.sign(u"1402"_s);
    const qint64 before = count(db, u"select count(*) from SCHEDULE..tbORRoom"_s);
    const auto outcome = rooms.addRoom(name, active);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(outcome == BuildORRooms::Outcome::Done, !log.isEmpty());
    QCOMPARE(count(db, u"select count(*) from SCHEDULE..tbORRoom"_s), before + (log.isEmpty() ? 0 : 1));
    if (log.isEmpty())
        return;
    QCOMPARE(lastLog(db), log);
    QCOMPARE(statusOfRoom(rooms, name), active ? u"Active"_s : u"Inactive"_s);
    QCOMPARE(rooms.activeRooms().contains(name), active);
    QCOMPARE(rooms.nextRoomId(), 11);
}

void tst_ScheduleBoard::updateRoom_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("stored");
    QTest::newRow("its own name, made inactive")
        << "OR 3" << "Room successfully updated." << "OR 3";
    QTest::newRow("another room's name")
        << "or 4" << "Room details were not updated. Room name already exists." << "OR 3";
    QTest::newRow("no name") << "" << "Please enter name of OR room." << "OR 3";
    QTest::newRow("renamed with an apostrophe")
        << "DR. SY'S OR" << "Room successfully updated." << "DR. SY'S OR";
}

void tst_ScheduleBoard::updateRoom()
{
    QFETCH(QString, name);
    QFETCH(QString, message);
    QFETCH(QString, stored);
    AS_CLERK(BuildORRooms, rooms);
    QVERIFY(rooms.load());
    f.dialogs.sign(u"1402"_s);
    rooms.updateRoom(3, name, false);
    QCOMPARE(f.notifier.lastText(), message);
    auto row = db.selectOne(u"select RoomName, Status from SCHEDULE..tbORRoom where RoomID = 3"_s);
    QVERIFY(row && *row);
    QCOMPARE((*row)->trimmed(u"RoomName"), stored);
    const bool updated = message == u"Room successfully updated.";
    QCOMPARE((*row)->trimmed(u"Status"), updated ? u"X"_s : u"Y"_s);
    if (updated)
        QCOMPARE(lastLog(db), u"UPDATE ROOM: 3Room: "_s + stored + u" STATUS: 0"_s);
}

void tst_ScheduleBoard::deleteRoom_data()
{
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("message");
    QTest::newRow("No to the question") << QList<bool>{false} << true
                                        << "Are you sure to delete this OR Room?";
    QTest::newRow("nobody signs, and No")
        << QList<bool>{true, false} << false
        << "Room was not deleted! \nAre you sure you want to delete this room?";
    QTest::newRow("deleted") << QList<bool>{true} << true << "Room successfully deleted.";
}

void tst_ScheduleBoard::deleteRoom()
{
    QFETCH(QList<bool>, answers);
    QFETCH(bool, signs);
    QFETCH(QString, message);
    AS_CLERK(BuildORRooms, rooms);
    QVERIFY(rooms.load());
    f.notifier.answer(answers);
    if (signs)
        f.dialogs.sign(u"1402"_s);
    rooms.deleteRoom(5, u"OR 5"_s);
    QCOMPARE(f.notifier.lastText(), message);
    const bool deleted = message == u"Room successfully deleted.";
    QCOMPARE(count(db, u"select count(*) from SCHEDULE..tbORRoom where RoomID = 5"_s),
             deleted ? 0 : 1);
    QCOMPARE(rooms.activeRooms().contains(u"OR 5"_s), !deleted);
    if (deleted)
        QCOMPARE(lastLog(db), u"DELETE ROOM: 5 ROOM NAME: OR 5"_s);
}

void tst_ScheduleBoard::assignAndRemoveProcedures_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("room");
    QTest::addColumn<QString>("message");
    QTest::newRow("no procedure") << "" << "OR 2" << "Please select procedure to assign.";
    QTest::newRow("no room") << "OR1047" << "" << "Please select room to assign procedure.";
    QTest::newRow("a room nobody has") << "OR1047" << "OR 99" << "Room not found.";
    QTest::newRow("moved from the CVOR to OR 2")
        << "OR1047" << "OR 2" << "Procedure successfully assigned.";
}

void tst_ScheduleBoard::assignAndRemoveProcedures()
{
    QFETCH(QString, code);
    QFETCH(QString, room);
    QFETCH(QString, message);
    AS_CLERK(BuildORRooms, rooms);
    QVERIFY(rooms.load());
    QVERIFY(rooms.listProcedures(room.isEmpty() ? u"OR 2"_s : room));
    f.dialogs.sign(u"1402"_s);
    rooms.assignProcedure(code, u"CORONARY BYPASS"_s, room);
    QCOMPARE(f.notifier.lastText(), message);
    const bool assigned = message == u"Procedure successfully assigned.";
    // A procedure belongs to one room: it left the CVOR.
    QCOMPARE(count(db, u"select count(*) from SCHEDULE..tbProcedureRoom where Code = 'OR1047'"_s), 1);
    QCOMPARE(count(db, u"select count(*) from SCHEDULE..tbProcedureRoom where Code = 'OR1047' "
                       u"and RoomID = 2"_s),
             assigned ? 1 : 0);
    if (!assigned)
        return;
    QCOMPARE(lastLog(db), u"ADD PROCEDURE: CORONARY BYPASS CODE: OR1047 ROOM: OR 2 ROOM ID: 2"_s);
    QCOMPARE(rooms.procedures().count(), 1); // OR 2's list, shown again
    QCOMPARE(rooms.procedures().at(0).trimmed(u"Code"), u"OR1047"_s);
    f.dialogs.sign(u"1402"_s);
    QCOMPARE(rooms.removeProcedure(u"OR1047"_s, u"CORONARY BYPASS"_s, u"OR 2"_s),
             BuildORRooms::Outcome::Done);
    QCOMPARE(f.notifier.lastText(), u"Procedure successfully removed."_s);
    QCOMPARE(lastLog(db), u"DELETE PROCEDURE: CORONARY BYPASSAssigned Room: OR 2"_s);
    QCOMPARE(rooms.procedures().count(), 0);
}

void tst_ScheduleBoard::printsTheAssignment()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(db.exec(u"update SCHEDULE..tbORRoom set RoomName = 'CHILDREN''S OR' "
                    u"where RoomID = 1"_s));
    test::MainWindowFixture f(db, u"1401"_s);
    BuildORRooms rooms(f.session);
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    QVERIFY(rooms.print(&reports));
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QVERIFY(display.last());
    QCOMPARE(display.shown().last().options.title, u"Procedures per OR Room"_s);
    const QString html = display.last()->html();
    QVERIFY(html.contains(u"CVOR (Active)"_s));
    QVERIFY(html.contains(u"OR 6 (Inactive)"_s));
    QVERIFY(html.contains(u"OR1047"_s));
    QVERIFY(html.contains(u"CHILDREN&apos;S OR (Active)"_s));
    QVERIFY(html.indexOf(u"CVOR"_s) < html.indexOf(u"ENDOSCOPY"_s)); // the board's order
    QVERIFY(html.contains(u"No procedure assigned"_s));
}

QTEST_MAIN(tst_ScheduleBoard)
#include "tst_scheduleboard.moc"
