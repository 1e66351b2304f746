// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The room conflict check: which confirmed operations stand in a booking's way, the question
// the user answers, and the save that holds the room, down to two workstations booking the
// same room at the same time on one database.
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "scheduling/RoomBooking.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <algorithm>
#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2027, 3, 1);

QDateTime at(const QString &hhmm, int days = 0)
{
    return QDateTime(kDay.addDays(days), QTime::fromString(hhmm, u"HH:mm"_s));
}

bool book(Database &db, const QString &trans, int room, const QDateTime &start, int minutes,
          const QString &status = u"C"_s)
{
    auto ok = db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, RoomID, "
                      u"ScheduleDate, StartTime, Length, RecordStatus) "
                      u"values (:t, :r, :d, :s, :l, :st)",
                      {{u"t"_s, trans}, {u"r"_s, room}, {u"d"_s, start.date().startOfDay()},
                       {u"s"_s, start}, {u"l"_s, minutes}, {u"st"_s, status}});
    return ok.has_value();
}

/// Writes the booking as the board's procedure does.
Result<void> saveThroughProcedure(Database &db, const RoomSlot &slot)
{
    auto saved = db.call(u"SCHEDULE..SaveORSchedule",
                         {slot.roomId, slot.start, slot.end,
                          int(slot.start.secsTo(slot.end) / 60), u"RACE"_s, QString(),
                          u"OR1001"_s, u"1401"_s, QString(), QString(), QString(), QString(),
                          QString(), QString(), QString()});
    if (!saved)
        return tl::unexpected(saved.error());
    return {};
}

/// The confirmed operations of room 1 on the test day, by start.
QList<OccupiedSlot> confirmedOfRoom(Database &db, int room)
{
    RoomSlot all{room, at(u"00:00"_s), at(u"00:00"_s, 2), QString()};
    auto found = overlappingOperations(db, all);
    return found ? *found : QList<OccupiedSlot>{};
}

/// What one workstation did with its bookings.
struct Workstation
{
    int saved = 0;
    int declined = 0;
    int questions = 0;
    QString failure;
};

Workstation bookMany(ConnectionSettings settings, int number, int count)
{
    Workstation w;
    settings.workstation = u"OR-WS-%1"_s.arg(number);
    auto db = Database::open(settings);
    if (!db)
        return {0, 0, 0, db.error().message};
    (*db)->setProcedures(hospitaldb::hospitalProcedures());
    test::RecordingNotifier notifier; // answers No to every question
    for (int i = 0; i < count; ++i) {
        // Every booking overlaps the one before and after it, and the other workstation
        // asks for the very same times.
        const RoomSlot slot{1, at(u"06:00"_s).addSecs(i * 20 * 60),
                            at(u"06:00"_s).addSecs(i * 20 * 60 + 3600), QString()};
        RoomBookingGuard guard(**db, notifier);
        if (!guard.check(slot)) {
            ++w.declined;
            continue;
        }
        const auto outcome = guard.save(slot, [&](Database &d) { return saveThroughProcedure(d, slot); });
        if (outcome == RoomBookingGuard::SaveOutcome::Saved)
            ++w.saved;
        else if (outcome == RoomBookingGuard::SaveOutcome::Declined)
            ++w.declined;
        else
            return w.failure = notifier.lastText(), w;
    }
    for (const auto &box : notifier.boxes())
        w.questions += box.question ? 1 : 0;
    return w;
}

} // namespace

class tst_RoomConflict : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void overlaps_data();
    void overlaps();
    void questionAndAnswer_data();
    void questionAndAnswer();
    void conflictBookedMeanwhileIsAskedAgainAtSave_data();
    void conflictBookedMeanwhileIsAskedAgainAtSave();
    void roomDeletedWhileBookingIsOpen();
    void twoWorkstationsNeverDoubleBookARoom();
};

void tst_RoomConflict::overlaps_data()
{
    QTest::addColumn<QString>("status");  // of the operation already there, 09:00 for an hour
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("minutes");
    QTest::addColumn<int>("room");
    QTest::addColumn<QString>("editing");
    QTest::addColumn<bool>("conflict");
    QTest::newRow("starts when it ends") << "C" << "10:00" << 60 << 1 << "" << false;
    QTest::newRow("ends when it starts") << "C" << "08:00" << 60 << 1 << "" << false;
    QTest::newRow("starts inside") << "C" << "09:30" << 60 << 1 << "" << true;
    QTest::newRow("ends inside") << "C" << "08:30" << 60 << 1 << "" << true;
    QTest::newRow("wholly contains it") << "C" << "08:00" << 240 << 1 << "" << true;
    QTest::newRow("wholly inside it") << "C" << "09:15" << 30 << 1 << "" << true;
    QTest::newRow("the same hour") << "C" << "09:00" << 60 << 1 << "" << true;
    QTest::newRow("the booking itself") << "C" << "09:30" << 60 << 1 << "T-0900" << false;
    QTest::newRow("another room") << "C" << "09:30" << 60 << 2 << "" << false;
    QTest::newRow("a ward's request") << "P" << "09:30" << 60 << 1 << "" << false;
    QTest::newRow("a revoked booking") << "R" << "09:30" << 60 << 1 << "" << false;
}

void tst_RoomConflict::overlaps()
{
    QFETCH(QString, status);
    QFETCH(QString, start);
    QFETCH(int, minutes);
    QFETCH(int, room);
    QFETCH(QString, editing);
    QFETCH(bool, conflict);
    KESTREL_OPEN_DEMO(db);
    QVERIFY(book(db, u"T-0900"_s, 1, at(u"09:00"_s), 60, status));
    // A long operation through the night before, ending 07:00, and one of another room stand
    // in nobody's way.
    QVERIFY(book(db, u"T-LONG"_s, 1, at(u"23:00"_s, -1), 480));
    QVERIFY(book(db, u"T-ROOM3"_s, 3, at(u"09:00"_s), 60));
    const RoomSlot slot{room, at(start), at(start).addSecs(minutes * 60), editing};
    auto found = overlappingOperations(db, slot);
    QVERIFY2(found, qPrintable(found ? QString() : found.error().message));
    QCOMPARE(found->isEmpty(), !conflict);
    if (conflict)
        QCOMPARE(found->first().transNum, u"T-0900"_s);
}

void tst_RoomConflict::questionAndAnswer_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes books it for an ER case") << true;
    QTest::newRow("No stops it") << false;
}

void tst_RoomConflict::questionAndAnswer()
{
    QFETCH(bool, yes);
    KESTREL_OPEN_DEMO(db);
    // The operation that began the evening before runs until 07:00; an afternoon one too.
    QVERIFY(book(db, u"T-NIGHT"_s, 1, at(u"22:30"_s, -1), 510));
    QVERIFY(book(db, u"T-PM"_s, 1, at(u"14:00"_s), 90));
    test::RecordingNotifier notifier;
    notifier.answer({yes});
    RoomBookingGuard guard(db, notifier);
    const RoomSlot slot{1, at(u"06:00"_s), at(u"15:00"_s), QString()};
    QCOMPARE(guard.check(slot), yes);
    QCOMPARE(notifier.boxes().size(), 1);
    QCOMPARE(notifier.boxes().first().title, u"Confirmation"_s);
    QCOMPARE(notifier.lastText(),
             u"An operation is already scheduled in this room on 02/28/2027 from 10:30:00 PM-"
             u"07:00:00 AM. Would you like to continue for an ER case?"_s);
    if (!yes)
        return;
    // What was accepted is not asked again when the booking is saved.
    QCOMPARE(guard.save(slot, [&](Database &d) { return saveThroughProcedure(d, slot); }),
             RoomBookingGuard::SaveOutcome::Saved);
    QCOMPARE(notifier.boxes().size(), 1);
    QCOMPARE(confirmedOfRoom(db, 1).size(), 3);
}

void tst_RoomConflict::conflictBookedMeanwhileIsAskedAgainAtSave_data()
{
    QTest::addColumn<bool>("yes");
    QTest::newRow("Yes saves it") << true;
    QTest::newRow("No writes nothing") << false;
}

void tst_RoomConflict::conflictBookedMeanwhileIsAskedAgainAtSave()
{
    QFETCH(bool, yes);
    KESTREL_OPEN_DEMO(db);
    test::RecordingNotifier notifier;
    notifier.answer({yes});
    RoomBookingGuard guard(db, notifier);
    const RoomSlot slot{1, at(u"08:00"_s), at(u"12:00"_s), QString()};
    QVERIFY(guard.check(slot));
    // Another workstation books an hour inside it while this user signs.
    auto other = Database::open((*dbResult)->settings());
    QVERIFY(other);
    (*other)->setProcedures(hospitaldb::hospitalProcedures());
    QVERIFY(book(**other, u"T-MEANWHILE"_s, 1, at(u"09:00"_s), 60));
    int writes = 0;
    const auto outcome = guard.save(slot, [&](Database &d) {
        ++writes;
        return saveThroughProcedure(d, slot);
    });
    QCOMPARE(outcome, yes ? RoomBookingGuard::SaveOutcome::Saved
                          : RoomBookingGuard::SaveOutcome::Declined);
    QCOMPARE(guard.conflictsCaughtAtSave(), 1);
    QCOMPARE(notifier.boxes().size(), 1);
    QVERIFY(notifier.lastText().contains(u" from 09:00:00 AM-10:00:00 AM."_s));
    QCOMPARE(writes, yes ? 1 : 0);
    QCOMPARE(confirmedOfRoom(db, 1).size(), yes ? 2 : 1);
}

void tst_RoomConflict::roomDeletedWhileBookingIsOpen()
{
    KESTREL_OPEN_DEMO(db);
    test::RecordingNotifier notifier;
    RoomBookingGuard guard(db, notifier);
    const RoomSlot slot{5, at(u"08:00"_s), at(u"09:00"_s), QString()};
    QVERIFY(guard.check(slot));
    QVERIFY(db.exec(u"delete from SCHEDULE..tbORRoom where RoomID = 5"));
    int writes = 0;
    QCOMPARE(guard.save(slot, [&](Database &d) { return ++writes, saveThroughProcedure(d, slot); }),
             RoomBookingGuard::SaveOutcome::RoomGone);
    QCOMPARE(writes, 0);
    QCOMPARE(notifier.lastText(), u"Invalid OR Room. Please check build file of rooms."_s);
}

void tst_RoomConflict::twoWorkstationsNeverDoubleBookARoom()
{
    constexpr int kBookings = 100;
    KESTREL_OPEN_DEMO(db);
    const ConnectionSettings shared = (*dbResult)->settings();
    QList<Workstation> stations(2);
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&, w] { stations[w] = bookMany(shared, w + 1, kBookings); });
    for (std::thread &t : threads)
        t.join();
    int saved = 0;
    for (const Workstation &w : std::as_const(stations)) {
        QVERIFY2(w.failure.isEmpty(), qPrintable(w.failure));
        // Every booking was saved, or refused with the question (answered No).
        QCOMPARE(w.saved + w.declined, kBookings);
        QCOMPARE(w.questions, w.declined);
        saved += w.saved;
    }
    QList<OccupiedSlot> rows = confirmedOfRoom(db, 1);
    QCOMPARE(rows.size(), saved);
    QVERIFY(saved >= kBookings / 3);
    std::sort(rows.begin(), rows.end(),
              [](const OccupiedSlot &a, const OccupiedSlot &b) { return a.start < b.start; });
    for (qsizetype i = 1; i < rows.size(); ++i)
        QVERIFY2(rows.at(i - 1).end <= rows.at(i).start,
                 qPrintable(u"%1 overlaps %2"_s.arg(rows.at(i - 1).transNum, rows.at(i).transNum)));
}

QTEST_GUILESS_MAIN(tst_RoomConflict)
#include "tst_roomconflict.moc"
