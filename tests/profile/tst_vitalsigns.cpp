// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Vital signs and nurses' notes of the patient profile, on every backend: the checks of a
// reading in the hospital's order with the station's bounds, saving in the name of the nurse
// who signs at the server's time, editing and deleting where the hospital allows it, and the
// notes' shifts, quotes, dates and owners.
#include "core/db/Database.h"
#include "core/settings/HospitalSettings.h"
#include "patients/PatientListFixture.h"
#include "profile/NurseNotes.h"
#include "profile/VitalSigns.h"
#include "profile/VitalSignsTrend.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kStay = u"K0100001"_s;
const QString kAskSave = u"Are you sure you want to SAVE VITAL SIGNS?\r\n"
                         u"Unable to continue this transaction. "_s;

// A session on the demo hospital (its station keeps the systolic at most 250 and the
// diastolic at least 40) with the patient list's patients, logged in as the supervisor.
struct Ward
{
    explicit Ward(Database &db)
        : f(db, u"2901"_s)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
    }
    QStringList texts() const
    {
        QStringList t;
        for (const auto &box : f.notifier.boxes())
            t << box.text;
        return t;
    }
    test::MainWindowFixture f;
};

#define OPEN_WARD(w)                                                                               \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(test::addListPatients(db));                                                            \
    Ward w(db)

qint64 count(Database &db, QStringView sql, const Binds &binds = {})
{
    auto n = db.scalar(sql, binds);
    return n ? n->toLongLong() : -1;
}

VitalSignReading reading(const QString &bp, const QString &temp, const QString &rr,
                         const QString &pr = {}, const QString &o2 = {})
{
    const auto [sys, dia] = VitalSignReading::splitBloodPressure(bp);
    return {sys, dia, temp, pr, rr, o2, {}, {}};
}

} // namespace

class tst_VitalSigns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void checks_data();
    void checks();
    void savesInTheSignersNameAtTheServersTime();
    void protocolOnlyFromTheList_data();
    void protocolOnlyFromTheList();
    void refusedOrUnsignedWritesNothing();
    void editRewritesAndLogsTheOldValues();
    void deleteOnlyByTheAuthorWhenSoSet();
    void editAndDeleteOnlyWhereAllowed();

    void noteShifts_data();
    void noteShifts();
    void noteIsSavedWithBackquotesAndWhole();
    void noteRefusals_data();
    void noteRefusals();
    void onlyTheWriterEditsOrDeletesANote();

    void trendSeries_data();
    void trendSeries();
    void trendRangesFromTheStation();
};

void tst_VitalSigns::checks_data()
{
    QTest::addColumn<bool>("incompleteAllowed");
    QTest::addColumn<QString>("bp");
    QTest::addColumn<QString>("temperature");
    QTest::addColumn<QString>("respiration");
    QTest::addColumn<QString>("pulse");
    QTest::addColumn<QString>("message");

    const QString sysMsg = u"Please verify the Systolic. It must be equal or lesser than 250."_s;
    const QString diaMsg = u"Please verify the Diastolic. It must be equal or greater than 40."_s;
    const QString ours = u"Please enter the blood pressure as two numbers, the systolic and the "
                         u"diastolic."_s;
    QTest::newRow("complete") << false << u"120/80"_s << u"37"_s << u"20"_s << u"80"_s << u""_s;
    QTest::newRow("no systolic") << false << u"/80"_s << u"37"_s << u"20"_s << u""_s
                                 << u"Please enter blood pressure."_s;
    QTest::newRow("no diastolic") << false << u"120/"_s << u"37"_s << u"20"_s << u""_s
                                  << u"Please enter blood pressure."_s;
    QTest::newRow("blood pressure before temperature")
        << false << u""_s << u""_s << u""_s << u""_s << u"Please enter blood pressure."_s;
    QTest::newRow("no temperature") << false << u"120/80"_s << u""_s << u"20"_s << u""_s
                                    << u"Please enter body temperature."_s;
    QTest::newRow("no respiration") << false << u"120/80"_s << u"37"_s << u""_s << u"80"_s
                                    << u"Please enter respiratory rate."_s;
    QTest::newRow("systolic at the station's bound")
        << false << u"250/80"_s << u"37"_s << u"20"_s << u""_s << u""_s;
    QTest::newRow("systolic over the bound") << false << u"251/80"_s << u"37"_s << u"20"_s
                                             << u""_s << sysMsg;
    QTest::newRow("diastolic at the station's bound")
        << false << u"120/40"_s << u"37"_s << u"20"_s << u""_s << u""_s;
    QTest::newRow("diastolic under the bound") << false << u"120/39"_s << u"37"_s << u"20"_s
                                               << u""_s << diaMsg;
    QTest::newRow("systolic checked before diastolic")
        << false << u"300/10"_s << u"37"_s << u"20"_s << u""_s << sysMsg;
    QTest::newRow("incomplete allowed: pulse alone")
        << true << u""_s << u""_s << u""_s << u"88"_s << u""_s;
    QTest::newRow("incomplete allowed: systolic still bounded")
        << true << u"260/"_s << u""_s << u""_s << u""_s << sysMsg;
    QTest::newRow("incomplete allowed: nothing at all")
        << true << u""_s << u""_s << u""_s << u""_s << u"No data to save."_s;
    QTest::newRow("a stray slash reads as no diastolic")
        << false << u"120//80"_s << u"37"_s << u"20"_s << u""_s << diaMsg;
    QTest::newRow("letters for pressure") << false << u"abc/80"_s << u"37"_s << u"20"_s << u""_s
                                          << ours;
    QTest::newRow("half a pressure where incomplete is allowed")
        << true << u"120/"_s << u""_s << u""_s << u""_s << ours;
    QTest::newRow("temperature of 60")
        << false << u"120/80"_s << u"60"_s << u"20"_s << u""_s
        << u"Please verify the Temperature. It must be from 25 to 45."_s;
    QTest::newRow("letters for temperature") << false << u"120/80"_s << u"high"_s << u"20"_s
                                             << u""_s
                                             << u"Please enter a number for the Temperature."_s;
    QTest::newRow("pulse of 400") << false << u"120/80"_s << u"37"_s << u"20"_s << u"400"_s
                                  << u"Please verify the Pulse Rate. It must be from 0 to 300."_s;
}

void tst_VitalSigns::checks()
{
    QFETCH(bool, incompleteAllowed);
    QFETCH(QString, bp);
    QFETCH(QString, temperature);
    QFETCH(QString, respiration);
    QFETCH(QString, pulse);
    QFETCH(QString, message);

    OPEN_WARD(w);
    w.f.session.hospital.VSAllowINC = incompleteAllowed;
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    vs.setEntry(reading(bp, temperature, respiration, pulse));
    QCOMPARE(vs.check().first, message);

    // A refused reading is told with the stop icon and writes nothing.
    w.f.dialogs.sign(u"2903"_s);
    const auto outcome = vs.save();
    QCOMPARE(outcome == VitalSigns::Outcome::Done, message.isEmpty());
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseVitalSigns where IDNUM = :id",
                   {{"id", kStay}}),
             message.isEmpty() ? 1 : 0);
    if (!message.isEmpty()) {
        QCOMPARE(w.texts(), QStringList{message});
        QCOMPARE(w.f.notifier.boxes().at(0).icon, Notifier::Icon::Critical);
        QCOMPARE(w.f.dialogs.asked(), 0);
    }
}

void tst_VitalSigns::savesInTheSignersNameAtTheServersTime()
{
    OPEN_WARD(w);
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    QVERIFY(vs.readings().isEmpty());

    // Nobody signs at first; Yes to trying again, and the circulating nurse signs.
    w.f.notifier.answer({true});
    w.f.dialogs.sign(QString());
    w.f.dialogs.sign(u"2903"_s);
    VitalSignReading r = reading(u"118/76"_s, u"36.8"_s, u"18"_s, u"72"_s, u"98"_s);
    r.protocol = u"Every 4 hours"_s;
    r.itemId = u"OR1001"_s;
    vs.setEntry(r);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);
    QCOMPARE(w.texts(), QStringList{kAskSave});
    QCOMPARE(w.f.dialogs.asked(), 2);

    QCOMPARE(vs.readings().size(), 1);
    const VitalSignRecord &saved = vs.readings().at(0);
    QCOMPARE(saved.takenAt, test::fixtureNow());
    QCOMPARE(QStringList({saved.bloodPressure, saved.temperature, saved.respiratoryRate,
                          saved.pulseRate, saved.o2Sat, saved.encoder, saved.protocol,
                          saved.itemId}),
             QStringList({u"118/76"_s, u"36.8"_s, u"18"_s, u"72"_s, u"98"_s, u"2903"_s,
                          u"Every 4 hours"_s, u"OR1001"_s}));
    QCOMPARE(vs.cell(0, 0), u"12/01/2026 10:00:00 AM"_s);
    QCOMPARE(vs.cell(0, 12), QString::number(saved.transNum));
    // The entry is empty again, and the ward monitor knows the last reading.
    QCOMPARE(vs.entry().systolic, QString());
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseVitalSignsMonitor "
                       u"where IDNUM = :id and BP = '118/76' and UserID = '2903'",
                   {{"id", kStay}}),
             1);
}

void tst_VitalSigns::protocolOnlyFromTheList_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("stored");
    QTest::newRow("one of the six") << u"Every 15 minutes"_s << u"Every 15 minutes"_s;
    QTest::newRow("typed otherwise") << u"hourly"_s << u""_s;
    QTest::newRow("another case") << u"every hour"_s << u""_s;
}

void tst_VitalSigns::protocolOnlyFromTheList()
{
    QFETCH(QString, typed);
    QFETCH(QString, stored);
    OPEN_WARD(w);
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    VitalSignReading r = reading(u"120/80"_s, u"37"_s, u"20"_s);
    r.protocol = typed;
    vs.setEntry(r);
    w.f.dialogs.sign(u"2902"_s);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);
    QCOMPARE(vs.readings().at(0).protocol, stored);
}

void tst_VitalSigns::refusedOrUnsignedWritesNothing()
{
    OPEN_WARD(w);
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    vs.setEntry(reading(u"120/80"_s, u"37"_s, u"20"_s));
    // Nobody signs, and No to trying again.
    QCOMPARE(vs.save(), VitalSigns::Outcome::Abandoned);
    QCOMPARE(w.texts(), QStringList{kAskSave});
    QCOMPARE(vs.entry().systolic, u"120"_s);
    for (QStringView table : {u"tbNurseVitalSigns", u"tbNurseVitalSignsMonitor"}) {
        const QString sql =
            u"select count(*) from STATION.."_s + table.toString() + u" where IDNUM = :id"_s;
        QCOMPARE(count(db, sql,
                       {{"id", kStay}}),
                 0);
    }
}

void tst_VitalSigns::editRewritesAndLogsTheOldValues()
{
    OPEN_WARD(w);
    w.f.session.hospital.AllowEditDeleteVitalSigns = true;
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    VitalSignReading r = reading(u"150/95"_s, u"38.2"_s, u"24"_s, u"110"_s);
    r.protocol = u"Every Hour"_s;
    vs.setEntry(r);
    w.f.dialogs.sign(u"2902"_s);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);

    vs.beginEdit(0);
    QVERIFY(vs.editing());
    QCOMPARE(vs.entry().systolic, u"150"_s);
    QCOMPARE(vs.entry().diastolic, u"95"_s);
    // No to cancelling keeps the edit.
    QVERIFY(!vs.cancelEdit());
    QVERIFY(vs.editing());
    QCOMPARE(w.texts().last(),
             u"Are you sure you want to cancel editing this patient's vital signs?"_s);

    vs.entry().systolic = u"140"_s;
    vs.entry().diastolic = u"90"_s;
    w.f.dialogs.sign(u"2903"_s);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);
    QVERIFY(!vs.editing());
    QCOMPARE(vs.readings().size(), 1);
    QCOMPARE(vs.readings().at(0).bloodPressure, u"140/90"_s);
    QCOMPARE(vs.readings().at(0).encoder, u"2903"_s);
    auto logged = db.scalar(u"select Remarks from STATION..tbStationLogs where IdNum = :id and "
                            u"UserID = '2903'",
                            {{"id", kStay}});
    QVERIFY(logged);
    QCOMPARE(logged->toString(), u"UPDATE VITAL SIGNS: 150/95;38.2;110;24;;Every Hour;"
                                 u"12/01/2026 10:00:00 AM"_s);
}

void tst_VitalSigns::deleteOnlyByTheAuthorWhenSoSet()
{
    OPEN_WARD(w);
    w.f.session.hospital.AllowEditDeleteVitalSigns = true;
    w.f.session.hospital.EditVSByAuthor = true;
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    vs.setEntry(reading(u"120/80"_s, u"37"_s, u"20"_s, u"76"_s, u"99"_s));
    w.f.dialogs.sign(u"2903"_s);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);
    w.f.notifier.clear();

    // No to the question.
    QCOMPARE(vs.remove(0), VitalSigns::Outcome::Declined);
    const QString question = w.texts().at(0);
    QVERIFY(question.startsWith(u"Details of the vital signs you are about to delete: "_s));
    for (const QString &line : {u"Date/Time Entered: 12/01/2026 10:00:00 AM"_s,
                                u"Blood Pressure: 120/80"_s, u"Temperature: 37"_s,
                                u"Respiratory Rate: 20"_s, u"Pulse Rate: 76"_s,
                                u"Oxygen Saturation: 99"_s, u"Monitoring Protocol: "_s})
        QVERIFY2(question.contains(line), qPrintable(line));
    QVERIFY(question.endsWith(u"Are you sure to delete this patient's vital signs? Click Yes to  "
                              u"permanently delete this record."_s));
    QCOMPARE(w.f.notifier.boxes().at(0).byDefault, Notifier::Answer::No);

    // Another nurse signs: refused in the author's name.
    w.f.notifier.clear();
    w.f.notifier.answer({true});
    w.f.dialogs.sign(u"2902"_s);
    QCOMPARE(vs.remove(0), VitalSigns::Outcome::Refused);
    QCOMPARE(w.texts().last(), u"Sorry, only Mr./Ms. MACARAEG, KRISTINE JOY LIM may delete this "
                               u"patient's vital signs."_s);
    QCOMPARE(vs.readings().size(), 1);

    w.f.notifier.answer({true});
    w.f.dialogs.sign(u"2903"_s);
    QCOMPARE(vs.remove(0), VitalSigns::Outcome::Done);
    QVERIFY(vs.readings().isEmpty());
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                       u"Remarks like 'DELETE VITAL SIGNS: 120/80;37;76;20;99;;%' and "
                       u"UserID = '2903' and StationID = 'OR'",
                   {{"id", kStay}}),
             1);
}

void tst_VitalSigns::editAndDeleteOnlyWhereAllowed()
{
    OPEN_WARD(w);
    w.f.session.hospital.AllowEditDeleteVitalSigns = false;
    VitalSigns vs(w.f.session);
    QVERIFY(vs.load(kStay));
    vs.setEntry(reading(u"120/80"_s, u"37"_s, u"20"_s));
    w.f.dialogs.sign(u"2903"_s);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);
    QVERIFY(!vs.canEditDelete());
    vs.beginEdit(0);
    QVERIFY(!vs.editing());
    QCOMPARE(vs.remove(0), VitalSigns::Outcome::Refused);
    QCOMPARE(vs.readings().size(), 1);
}

void tst_VitalSigns::noteShifts_data()
{
    QTest::addColumn<QString>("client");
    QTest::addColumn<bool>("stationKeepsShifts");
    QTest::addColumn<QStringList>("shifts");
    QTest::newRow("usual") << u""_s << false
                           << QStringList{u"6AM-2PM"_s, u"2PM-10PM"_s, u"10PM-6AM"_s};
    QTest::newRow("client VZ") << u"VZ"_s << false
                               << QStringList{u"7AM-3PM"_s, u"3PM-11PM"_s, u"11PM-7PM"_s};
    QTest::newRow("the station's own") << u"VZ"_s << true
                                       << QStringList{u"DAY"_s, u"NIGHT"_s};
}

void tst_VitalSigns::noteShifts()
{
    QFETCH(QString, client);
    QFETCH(bool, stationKeepsShifts);
    QFETCH(QStringList, shifts);
    OPEN_WARD(w);
    if (stationKeepsShifts) {
        QVERIFY(db.exec(u"insert into STATION..tbNurseShifts (Shift, Status) values "
                        u"('DAY', '1'), ('NIGHT', '1'), ('SWING', '0')"));
    }
    w.f.session.hospital.clientname = client;
    NurseNotes notes(w.f.session);
    QCOMPARE(notes.shifts(), shifts);
}

void tst_VitalSigns::noteIsSavedWithBackquotesAndWhole()
{
    OPEN_WARD(w);
    NurseNotes notes(w.f.session);
    QVERIFY(notes.load(kStay));
    QCOMPARE(notes.entryTime, test::fixtureNow());
    QCOMPARE(notes.notes().count(), 0);

    const QString longNote = u"Patient's dressing dry and intact. "_s.repeated(600);
    QVERIFY(longNote.size() > 20000);
    notes.entryTime = test::fixtureNow().addSecs(-3600);
    notes.entryShift = u"6AM-2PM"_s;
    notes.entryText = longNote;
    w.f.notifier.answer({true});
    w.f.dialogs.sign(QString());
    w.f.dialogs.sign(u"2907"_s);
    QCOMPARE(notes.save(), NurseNotes::Outcome::Done);
    QCOMPARE(w.texts(), QStringList{u"Are you sure you want to save Nurses Notes?\r\n"
                                    u"Unable to continue this transaction! "_s});

    QCOMPARE(notes.notes().count(), 1);
    const Row &row = notes.notes().at(0);
    QCOMPARE(row.text(u"Date / Time"), u"12/01/2026 09:00:00 AM"_s);
    QCOMPARE(row.text(u"Day Shift"), u"6AM-2PM"_s);
    QCOMPARE(row.text(u"Entered By"), u"ONG, LIEZL"_s);
    QCOMPARE(row.text(u"User ID"), u"2907"_s);
    notes.chooseNote(0);
    QCOMPARE(notes.chosenText(), QString(longNote).replace(u'\'', u'`'));
    QCOMPARE(notes.chosenText().size(), longNote.size());
}

void tst_VitalSigns::noteRefusals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<int>("secondsFromNow");
    QTest::addColumn<QString>("message");
    QTest::newRow("empty") << u"  "_s << u"6AM-2PM"_s << 0 << u"No data to save."_s;
    QTest::newRow("no shift") << u"Awake."_s << u""_s << 0
                              << u"Please select the shift of the notes."_s;
    QTest::newRow("dated in the future")
        << u"Awake."_s << u"6AM-2PM"_s << 60
        << u"The date and time of the notes may not be later than 12/01/2026 10:00:00 AM."_s;
}

void tst_VitalSigns::noteRefusals()
{
    QFETCH(QString, text);
    QFETCH(QString, shift);
    QFETCH(int, secondsFromNow);
    QFETCH(QString, message);
    OPEN_WARD(w);
    NurseNotes notes(w.f.session);
    QVERIFY(notes.load(kStay));
    notes.entryText = text;
    notes.entryShift = shift;
    notes.entryTime = test::fixtureNow().addSecs(secondsFromNow);
    w.f.dialogs.sign(u"2907"_s);
    QCOMPARE(notes.save(), NurseNotes::Outcome::Refused);
    QCOMPARE(w.texts(), QStringList{message});
    QCOMPARE(w.f.dialogs.asked(), 0);
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseNotes where IdNum = :id",
                   {{"id", kStay}}),
             0);
}

void tst_VitalSigns::onlyTheWriterEditsOrDeletesANote()
{
    OPEN_WARD(w);
    NurseNotes notes(w.f.session);
    QVERIFY(notes.load(kStay));
    QCOMPARE(notes.remove(), NurseNotes::Outcome::Refused);
    QCOMPARE(w.texts(), QStringList{u"Sorry, no data to delete."_s});

    // The recovery-room nurse writes a note; the supervisor is logged in.
    notes.entryShift = u"6AM-2PM"_s;
    notes.entryText = u"Received from the OR."_s;
    w.f.dialogs.sign(u"2907"_s);
    QCOMPARE(notes.save(), NurseNotes::Outcome::Done);
    notes.chooseNote(0);
    w.f.notifier.clear();
    w.f.notifier.answer({true, true});
    QCOMPARE(notes.edit(u"Changed."_s), NurseNotes::Outcome::Refused);
    QCOMPARE(notes.remove(), NurseNotes::Outcome::Refused);
    QCOMPARE(w.texts(),
             (QStringList{u"Are you sure you want to Edit this Nurses Notes?"_s,
                          u"You are not allowed to edit this notes entered by: ONG, LIEZL"_s,
                          u"Are you sure you want to delete this Nurses Notes?"_s,
                          u"You are not allowed to delete this notes entered by: ONG, LIEZL"_s}));

    // Logged in as the writer, she changes it, then deletes it.
    w.f.user.setCode(u"2907"_s);
    w.f.notifier.clear();
    w.f.notifier.answer({true});
    QCOMPARE(notes.edit(u"Received from the OR, 'awake'."_s), NurseNotes::Outcome::Done);
    QCOMPARE(w.texts().last(), u"Nurses notes successfully updated."_s);
    QCOMPARE(notes.chosenText(), u"Received from the OR, `awake`."_s);
    w.f.notifier.answer({true});
    QCOMPARE(notes.remove(), NurseNotes::Outcome::Done);
    QCOMPARE(notes.notes().count(), 0);
    QCOMPARE(count(db, u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                       u"Remarks like 'DELETED NURSE NOTES: %' and UserID = '2907'",
                   {{"id", kStay}}),
             1);
}

void tst_VitalSigns::trendSeries_data()
{
    // Readings "bp temp pulse resp o2", latest first as the list keeps them; the series as
    // "name:value,value" in the chart's order.
    QTest::addColumn<QStringList>("readings");
    QTest::addColumn<QStringList>("series");
    QTest::newRow("oldest first, pressure split")
        << QStringList{u"130/85 37.8 96 22 97"_s, u"120/80 36.9 80 18 98"_s}
        << QStringList{u"T:36.9,37.8"_s, u"P:80,96"_s, u"R:18,22"_s, u"S:120,130"_s,
                       u"D:80,85"_s, u"O:98,97"_s};
    QTest::newRow("half a pressure keeps its half")
        << QStringList{u"120/ 37 80 18 -"_s, u"/70 37 80 18 -"_s}
        << QStringList{u"T:37,37"_s, u"P:80,80"_s, u"R:18,18"_s, u"S:120"_s, u"D:70"_s};
    QTest::newRow("words leave gaps, not zeros")
        << QStringList{u"abc 36,5 eighty 18 95%"_s, u"110/70 60 - - -"_s}
        << QStringList{u"T:60"_s, u"P:"_s, u"R:18"_s, u"S:110"_s, u"D:70"_s, u"O:95"_s};
    QTest::newRow("no saturation taken, no saturation line")
        << QStringList{u"110/70 37 72 16 -"_s}
        << QStringList{u"T:37"_s, u"P:72"_s, u"R:16"_s, u"S:110"_s, u"D:70"_s};
}

void tst_VitalSigns::trendSeries()
{
    QFETCH(QStringList, readings);
    QFETCH(QStringList, series);
    KESTREL_OPEN_DEMO(db);
    QList<VitalSignRecord> records;
    const QDateTime start(QDate(2026, 11, 30), QTime(8, 0));
    for (int i = 0; i < readings.size(); ++i) {
        const QStringList f = readings.at(i).split(u' ');
        const auto part = [&f](int n) { return f.at(n) == u"-" ? QString() : f.at(n); };
        VitalSignRecord r;
        // The list is latest first: the first reading is the last taken.
        r.takenAt = start.addSecs(3600 * (readings.size() - i));
        r.bloodPressure = part(0);
        r.temperature = part(1);
        r.pulseRate = part(2);
        r.respiratoryRate = part(3);
        r.o2Sat = part(4);
        records << r;
    }
    VitalSignRecord undated;
    undated.temperature = u"39"_s;
    records << undated;

    VitalSignsTrend trend(db);
    QStringList got;
    double lastX = 0;
    for (const TrendSeries &t : trend.series(records)) {
        QStringList values;
        for (const QPointF &p : t.points) {
            QVERIFY(p.x() > lastX || values.isEmpty());
            lastX = p.x();
            values << QString::number(p.y());
        }
        lastX = 0;
        got << t.name.left(1) + u':' + values.join(u',');
        QCOMPARE(t.ownScale, t.measure == TrendSeries::Temperature);
    }
    QCOMPARE(got, series);
}

void tst_VitalSigns::trendRangesFromTheStation()
{
    KESTREL_OPEN_DEMO(db);
    VitalSignsTrend trend(db);
    const NormalRange usual = trend.range(TrendSeries::PulseRate);
    QVERIFY(usual.isValid());
    // The station narrows the temperature; a pulse range that does not read keeps the usual.
    QVERIFY(db.exec(u"update STATION..tbNursing_Settings set VSNormalTemperature = ' 36-37.2 ', "
                    u"VSNormalPulse = '100-60'"));
    QVERIFY(trend.loadRanges());
    QCOMPARE(trend.range(TrendSeries::Temperature).low, 36.0);
    QCOMPARE(trend.range(TrendSeries::Temperature).high, 37.2);
    QCOMPARE(trend.range(TrendSeries::PulseRate).low, usual.low);
    QCOMPARE(trend.range(TrendSeries::PulseRate).high, usual.high);
    for (const QString &bad : {u""_s, u"abc"_s, u"37"_s, u"37-"_s, u"-5"_s})
        QVERIFY(!VitalSignsTrend::parseRange(bad, {}).isValid());
    QCOMPARE(VitalSignsTrend::parseRange(u"-5-5"_s, {}).low, -5.0);
    // The ranges go with the lines.
    VitalSignRecord r;
    r.takenAt = QDateTime(QDate(2026, 11, 30), QTime(8, 0));
    r.temperature = u"37"_s;
    QCOMPARE(trend.series({r}).at(0).normal.high, 37.2);
}

QTEST_GUILESS_MAIN(tst_VitalSigns)
#include "tst_vitalsigns.moc"
