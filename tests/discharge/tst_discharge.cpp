// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// A patient's way out on the demo hospital: the notices, the clearing, every rule that holds a
// discharge back in its order, room transfers (two workstations racing for the last free bed
// of a ward), the discharge instructions saved and printed, and the spell checking of the
// sheet's free texts.
#include "core/db/Database.h"
#include "core/spelling/SpellChecker.h"
#include "core/ui/SpellCheckedText.h"
#include "discharge/DischargeInstructions.h"
#include "discharge/DischargeMenu.h"
#include "discharge/DischargeNotices.h"
#include "discharge/ui/frmClearPatient.h"
#include "discharge/ui/frmDCRInstructionMedicationSheet.h"
#include "discharge/ui/frmDischargeMenu.h"
#include "discharge/ui/frmDischargeNotice.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>
#include <QTreeWidget>

#include <algorithm>
#include <array>
#include <latch>
#include <thread>
#include <vector>

using namespace kestrel;
using namespace kestrel::discharge;
using namespace kestrel::test;
using namespace Qt::StringLiterals;

namespace {

const QString kNoOrder = u"You are not allowed to discharge this patient. Please process/send "
                         u"first the Discharge Order to Billing Dept."_s;
const QString kNotProcessed = u"You are not allowed to discharge this patient. Wait for the "
                              u"Billing to print the Processing Sheet."_s;
const QString kBadDate = u"Please enter a valid discharge date."_s;
const QString kPending = u"Patient Has Pending Request(s)! Can't Discharge this Patient."_s;
const QString kRetry =
    u"Do you really want to discharge the patient?\nSelected charge(s) will not be saved! "_s;
const QString kWarning = u"The Patient is about to be discharged. Do you want to proceed?"_s;

// The demo stay of the patient named `lastName`.
QString stayOf(Database &db, const QString &lastName)
{
    return db
        .scalar(u"select P.IDNum from (select IDNum, HospNum from PATIENT_DATA..tbPatient "
                u"union all select IDNum, HospNum from PATIENT_DATA..tbOutPatient) P join "
                u"PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum where M.LastName = :name"_s,
                {{u"name"_s, lastName}})
        .value()
        .toString();
}

QString text(Database &db, const QString &sql, const QString &id)
{
    return db.scalar(sql, {{u"id"_s, id}}).value().toString();
}

// The free bed of a ward that has only one left.
QString lastFreeBed(Database &db)
{
    return db
        .scalar(u"select min(RoomID) from BUILD_FILE..tbCoRoom R where not exists (select 1 "
                u"from PATIENT_DATA..tbPatient P where P.RoomID = R.RoomID and P.DcrDate is null "
                u"and P.RecordStatus <> 'R') group by StationID having count(*) = 1 "
                u"order by 1"_s)
        .value()
        .toString();
}

} // namespace

class tst_Discharge : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addBackendRows(); }
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void dischargeStopsAtTheFirstRule_data();
    void dischargeStopsAtTheFirstRule();
    void clearing_data();
    void clearing();
    void transfer_data();
    void transfer();
    void twoTransfersRaceForTheLastBed();
    void instructionSheets_data();
    void instructionSheets();
    void noticeListedClearedAndDischarged();
    void windowsShowWhatTheyRead();
    void spelling_data();
    void spelling();
    void wordsTheUserAddsAreKept();
    void misspeltWordsUnderlined_data();
    void misspeltWordsUnderlined();
    void sheetSpellChecksWhereSwitchedOn_data();
    void sheetSpellChecksWhereSwitchedOn();
};

void tst_Discharge::dischargeStopsAtTheFirstRule_data()
{
    QTest::addColumn<QString>("patient");
    QTest::addColumn<QString>("user");
    QTest::addColumn<int>("minutes"); // the discharge time from the server's clock
    QTest::addColumn<QStringList>("signers");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("told");
    QTest::addColumn<bool>("discharged");
    const QStringList signs{u"2901"_s};
    QTest::newRow("no discharge right") << u"BUENCAMINO"_s << u"2902"_s << -60 << signs
                                        << QList<bool>{true} << QString() << false;
    QTest::newRow("order only pending") << u"DIMAGIBA"_s << u"2901"_s << -60 << signs
                                        << QList<bool>{true} << kNoOrder << false;
    QTest::newRow("sheet not printed") << u"PANGANIBAN"_s << u"2901"_s << -60 << signs
                                       << QList<bool>{true} << kNotProcessed << false;
    QTest::newRow("date checked before requests") << u"ILUSTRE"_s << u"2901"_s << -30 * 24 * 60
                                                  << signs << QList<bool>{true} << kBadDate
                                                  << false;
    QTest::newRow("pending request") << u"ILUSTRE"_s << u"2901"_s << -60 << signs
                                     << QList<bool>{true} << kPending << false;
    QTest::newRow("after the server's clock") << u"BUENCAMINO"_s << u"2901"_s << 120 << signs
                                              << QList<bool>{true} << kBadDate << false;
    QTest::newRow("re-validation given up") << u"BUENCAMINO"_s << u"2901"_s << -60
                                            << QStringList() << QList<bool>{false} << kRetry
                                            << false;
    QTest::newRow("warning answered no") << u"BUENCAMINO"_s << u"2901"_s << -60
                                         << QStringList{QString(), u"2903"_s}
                                         << QList<bool>{true, false} << kWarning << false;
    QTest::newRow("discharged") << u"MARASIGAN"_s << u"2901"_s << -60
                                << QStringList{QString(), u"2903"_s} << QList<bool>{true, true}
                                << u"Patient Successfully Discharged ."_s << true;
}

void tst_Discharge::dischargeStopsAtTheFirstRule()
{
    QFETCH(QString, patient);
    QFETCH(QString, user);
    QFETCH(int, minutes);
    QFETCH(QStringList, signers);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, told);
    QFETCH(bool, discharged);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, user);
    const QString idNum = stayOf(db, patient);
    const QString room = text(db, u"select RoomID from PATIENT_DATA..tbPatient where IDNum = :id"_s,
                              idNum);
    DischargeMenu menu(f.session);
    QVERIFY(menu.open(idNum));
    for (const QString &code : signers)
        f.dialogs.sign(code);
    f.notifier.answer(answers);
    const QDateTime when = fixtureNow().addSecs(minutes * 60);
    QCOMPARE(menu.saveDischarge(when, 1, 4), discharged);
    QCOMPARE(f.notifier.lastText(), told);
    const QString stored = text(db, u"select DcrResult || DcrDisposition || DcrUserID || "
                                    u"coalesce(cast(DcrDate as varchar(30)), '-') from "
                                    u"PATIENT_DATA..tbPatient where IDNum = :id"_s,
                                idNum);
    const int inRoom = db.scalar(u"select count(*) from PATIENT_DATA..tbPatient where RoomID = "
                                 u":room and DcrDate is null"_s,
                                 {{u"room"_s, room}})
                           ->toInt();
    const int logged = db.scalar(u"select count(*) from STATION..tbStationLogs where IdNum = :id "
                                 u"and Remarks like 'DISCHARGED%'"_s,
                                 {{u"id"_s, idNum}})
                           ->toInt();
    if (discharged) {
        QVERIFY2(stored.startsWith(u"252903"_s), qPrintable(stored)); // Improved, DAMA/HAMA
        QCOMPARE(inRoom, 0);
        QCOMPARE(logged, 1);
        // A stay is discharged once.
        f.dialogs.sign(u"2901"_s);
        f.notifier.answer({true});
        QVERIFY(!menu.saveDischarge(when, 0, 0));
    } else {
        QCOMPARE(stored, u"-"_s);
        QCOMPARE(inRoom, 1);
        QCOMPARE(logged, 0);
    }
}

void tst_Discharge::clearing_data()
{
    QTest::addColumn<QString>("patient");
    QTest::addColumn<QString>("clearedBy");
    QTest::addColumn<QString>("clearDate");
    QTest::addColumn<QString>("ignore");
    QTest::addColumn<QString>("stored"); // ClearedBy and ClearRemarks after saving
    QTest::newRow("open notice, apostrophes stored as backquotes")
        << u"BUENCAMINO"_s << u"(2907) TEST, USER 2907"_s << u"For clearing"_s << u"&Ignore"_s
        << u"2907|Watcher`s ok; O`Neil paid"_s;
    QTest::newRow("cleared notice is only shown")
        << u"MARASIGAN"_s << u"2902"_s << u"12/01/2026 08:30:00 AM"_s << u"&Close"_s
        << u"2902|Cleared; medicines given, wound dressed."_s;
}

void tst_Discharge::clearing()
{
    QFETCH(QString, patient);
    QFETCH(QString, clearedBy);
    QFETCH(QString, clearDate);
    QFETCH(QString, ignore);
    QFETCH(QString, stored);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2907"_s);
    const QString idNum = stayOf(db, patient);
    ClearPatient clear(f.session);
    QVERIFY(clear.open(idNum));
    QCOMPARE(clear.clearedByText(), clearedBy);
    QCOMPARE(clear.clearDateText(), clearDate);
    QCOMPARE(clear.ignoreCaption(), ignore);
    QCOMPARE(clear.save(u"Watcher's ok; O'Neil paid"_s), clear.canSave());
    QCOMPARE(text(db, u"select ClearedBy || '|' || ClearRemarks from "
                      u"STATION..tbNurseDischargeNotice where IDNum = :id"_s,
                  idNum),
             stored);
    if (clear.canSave())
        QCOMPARE(f.notifier.lastText(), u"Patient has been cleared for discharge."_s);
    // Cleared once: a second workstation's save is refused and leaves the first clearing.
    ClearPatient again(f.session);
    QVERIFY(again.open(idNum));
    QVERIFY(!again.canSave());
    QVERIFY(!again.save(u"second"_s));
}

void tst_Discharge::transfer_data()
{
    QTest::addColumn<QString>("user");
    // "<free>": a ward's last free bed; "<taken>": one of its taken ones.
    QTest::addColumn<QString>("room");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("told");
    QTest::addColumn<bool>("moved");
    QTest::newRow("no transfer right") << u"2902"_s << u"<free>"_s << QList<bool>{true}
                                       << QString() << false;
    QTest::newRow("blank room") << u"2901"_s << u"  "_s << QList<bool>{true}
                                << u"Can't save a blank new room."_s << false;
    QTest::newRow("no such room") << u"2901"_s << u"999-z"_s << QList<bool>{true}
                                  << u"Room 999-Z is not a room of the hospital."_s << false;
    QTest::newRow("room taken") << u"2901"_s << u"<taken>"_s << QList<bool>{true}
                                << u"Room %1 has just been taken by another patient. Please "
                                   u"choose another room."_s
                                << false;
    QTest::newRow("answered no") << u"2901"_s << u"<free>"_s << QList<bool>{false}
                                 << u"Are you sure you want to Transfer this patient DIMAGIBA, "
                                    u"LEONORA CRUZ to Room %1?"_s
                                 << false;
    QTest::newRow("moved") << u"2901"_s << u"<free>"_s << QList<bool>{true}
                           << u"Patient Successfully Transfered to %1."_s << true;
}

void tst_Discharge::transfer()
{
    QFETCH(QString, user);
    QFETCH(QString, room);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, told);
    QFETCH(bool, moved);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, user);
    const QString idNum = stayOf(db, u"DIMAGIBA"_s);
    const QString before = text(
        db, u"select RoomID from PATIENT_DATA..tbPatient where IDNum = :id"_s, idNum);
    if (room == u"<free>")
        room = lastFreeBed(db).toLower();
    else if (room == u"<taken>")
        room = text(db, u"select min(P.RoomID) from PATIENT_DATA..tbPatient P join "
                        u"BUILD_FILE..tbCoRoom R on R.RoomID = P.RoomID where P.DcrDate is null "
                        u"and R.StationID = (select StationID from BUILD_FILE..tbCoRoom where "
                        u"RoomID = :id)"_s,
                    lastFreeBed(db));
    DischargeMenu menu(f.session);
    QVERIFY(menu.open(idNum));
    f.dialogs.sign(u"2903"_s);
    f.notifier.answer(answers);
    QCOMPARE(menu.saveTransfer(room, QTime(9, 30)), moved);
    QCOMPARE(f.notifier.lastText(), told.contains(u"%1") ? told.arg(room.toUpper()) : told);
    const QString now = text(
        db, u"select RoomID || '/' || StationID from PATIENT_DATA..tbPatient where IDNum = :id"_s,
        idNum);
    const QString logged = text(db, u"select count(*) || FromRoom || '>' || ToRoom || UserID "
                                    u"from PATIENT_DATA..tbPatientRoomTransfer where IDNum = :id "
                                    u"group by FromRoom, ToRoom, UserID"_s,
                                idNum);
    if (moved) {
        QCOMPARE(now, room.toUpper() + u'/' +
                          text(db, u"select StationID from BUILD_FILE..tbCoRoom where RoomID = "
                                   u":id"_s,
                               room.toUpper()));
        QCOMPARE(logged, u"1"_s + before + u'>' + room.toUpper() + u"2903"_s);
    } else {
        QVERIFY(now.startsWith(before + u'/'));
        QCOMPARE(logged, QString());
    }
}

void tst_Discharge::twoTransfersRaceForTheLastBed()
{
    KESTREL_OPEN_DEMO(db);
    const ConnectionSettings shared = (*dbResult)->settings();
    const QString bed = lastFreeBed(db);
    QVERIFY(!bed.isEmpty());
    const QStringList stays{stayOf(db, u"DIMAGIBA"_s), stayOf(db, u"PANGANIBAN"_s)};
    QStringList homes;
    for (const QString &id : stays)
        homes << text(db, u"select RoomID from PATIENT_DATA..tbPatient where IDNum = :id"_s, id);
    DischargeStore store(db);
    const Room icu = store.room(bed).value().value();
    for (int round = 0; round < 4; ++round) {
        std::latch start(2);
        std::array<Result<TransferOutcome>, 2> outcome;
        std::vector<std::thread> workstations;
        for (int w = 0; w < 2; ++w)
            workstations.emplace_back([&, w] {
                auto own = Database::open(shared);
                start.arrive_and_wait();
                if (!own) {
                    outcome[std::size_t(w)] = tl::unexpected(own.error());
                    return;
                }
                (*own)->setProcedures(hospitaldb::hospitalProcedures());
                DischargeStore station(**own);
                outcome[std::size_t(w)] = station.transfer(stays.at(w), icu, fixtureNow(),
                                                           u"290%1"_s.arg(w + 1));
            });
        for (std::thread &t : workstations)
            t.join();
        int won = -1;
        for (int w = 0; w < 2; ++w) {
            const auto &o = outcome[std::size_t(w)];
            QVERIFY2(o, qPrintable(o ? QString() : o.error().message));
            QVERIFY(*o == TransferOutcome::Done || *o == TransferOutcome::RoomTaken);
            if (*o == TransferOutcome::Done) {
                QCOMPARE(won, -1);
                won = w;
            }
        }
        QVERIFY(won >= 0);
        // The bed holds the winner alone; the loser is where he was; one transfer logged.
        QCOMPARE(text(db, u"select min(IDNum) || '#' || count(*) from PATIENT_DATA..tbPatient "
                          u"where RoomID = :id and DcrDate is null"_s,
                      bed),
                 stays.at(won) + u"#1"_s);
        QCOMPARE(text(db, u"select RoomID from PATIENT_DATA..tbPatient where IDNum = :id"_s,
                      stays.at(1 - won)),
                 homes.at(1 - won));
        QCOMPARE(text(db, u"select count(*) from PATIENT_DATA..tbPatientRoomTransfer where "
                          u"ToRoom = :id"_s,
                      bed),
                 QString::number(round + 1));
        // Back to his room for the next round.
        auto home = store.room(homes.at(won)).value().value();
        QCOMPARE(store.transfer(stays.at(won), home, fixtureNow(), u"2901"_s).value(),
                 TransferOutcome::Done);
    }
}

void tst_Discharge::instructionSheets_data()
{
    QTest::addColumn<QString>("patient");
    QTest::addColumn<bool>("newer");
    QTest::addColumn<QString>("missing");
    QTest::addColumn<QString>("draftSwitch");
    QTest::newRow("admission: older sheet")
        << u"BUENCAMINO"_s << false
        << u"Please enter discharge instructions and discharge medications."_s
        << u"AllowPrintHCPDraft"_s;
    QTest::newRow("emergency-room visit: newer sheet with drug grid")
        << u"LUMANLAN"_s << true << u"Please enter discharge instructions."_s
        << u"AllowPrintHCPDraftER"_s;
}

void tst_Discharge::instructionSheets()
{
    QFETCH(QString, patient);
    QFETCH(bool, newer);
    QFETCH(QString, missing);
    QFETCH(QString, draftSwitch);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2907"_s);
    f.session.settings.LoadParameters(db, f.session.hospital);
    RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    const QString idNum = stayOf(db, patient);
    using Kind = DischargeInstructions::Kind;
    QCOMPARE(DischargeInstructions::kindFor(db, idNum), newer ? Kind::NewerSheet : Kind::Sheet);
    DischargeInstructions sheet(f.session, &reports, newer ? Kind::NewerSheet : Kind::Sheet);
    QVERIFY(sheet.open(idNum));
    QVERIFY(sheet.closeRequested()); // nothing changed: nothing asked
    QVERIFY(f.notifier.boxes().isEmpty());
    QCOMPARE(dischargeInstructionsComplete(db, idNum).value_or(true), false);

    // Neither instructions nor medicines: both sheets refuse. Medicines alone: the older sheet
    // goes on to the re-validation, the newer one still wants instructions.
    InstructionSheet typed = sheet.sheet();
    typed.checkUp = u"12/08/2026"_s;
    sheet.setSheet(typed);
    f.notifier.answer({true});
    QVERIFY(!sheet.closeRequested());
    QCOMPARE(f.notifier.lastText(), missing);
    typed.medications = u"Mefenamic acid 500 mg after meals"_s;
    sheet.setSheet(typed);
    f.notifier.answer({true});
    QVERIFY(!sheet.closeRequested()); // nobody re-validates
    QCOMPARE(f.dialogs.asked(), newer ? 0 : 1);
    if (newer)
        QCOMPARE(f.notifier.lastText(), missing);
    typed.instructions = u"Keep the incision dry; walk twice a day."_s;
    sheet.setSheet(typed);
    sheet.setMedications({{u"CO-AMOXICLAV 625 MG TAB"_s, u"1 tab"_s, u"TID"_s, u"7 days"_s,
                           u"8 AM"_s, u"2 PM"_s, u"10 PM"_s, QString()},
                          {},
                          {u"TRAMADOL 50 MG CAP"_s, u"1 cap"_s, u"PRN"_s, u"3 days"_s, {}, {},
                           {}, u"for pain"_s}});
    f.dialogs.sign(u"2903"_s);
    f.notifier.answer({true});
    QVERIFY(sheet.closeRequested());
    QCOMPARE(f.notifier.lastText(),
             u"Discharge Instructions and Medications successfully saved."_s);
    QCOMPARE(dischargeInstructionsComplete(db, idNum).value_or(false), true);
    QCOMPARE(text(db, u"select count(*) from STATION..tbNurseDischargeMedications "
                      u"where IDNum = :id"_s,
                  idNum),
             newer ? u"2"_s : u"0"_s);
    QCOMPARE(text(db, u"select UserID || UserID2 from STATION..tbNurseDischargeInstructions "
                      u"where IDNum = :id"_s,
                  idNum),
             u"29032903"_s);

    QVERIFY(sheet.print());
    QCOMPARE(display.shown().last().kind, RecordingReportDisplay::Kind::MedicationSheet);
    const QString html = display.last()->html();
    QVERIFY(html.contains(u"Keep the incision dry"_s));
    QCOMPARE(html.contains(u"TRAMADOL 50 MG CAP"_s), newer);

    // Typed, not saved: the draft prints what is on the screen, marked as such.
    sheet.setHomeCarePlan(u"Wound care at the barangay health center."_s);
    QVERIFY(sheet.printHomeCarePlan());
    QString plan = display.last()->html();
    QVERIFY(plan.contains(u"barangay health center"_s) && plan.contains(u"DRAFT"_s));
    // The station's switch of this kind of sheet allows drafts; without it, save first.
    QVERIFY(db.exec(u"delete from STATION..tbNurseSetup where Field = :f"_s,
                    {{u"f"_s, draftSwitch}}));
    f.session.settings.LoadParameters(db, f.session.hospital);
    QVERIFY(!sheet.printHomeCarePlan());
    QCOMPARE(f.notifier.lastText(), u"Please save the home care plan before printing it."_s);
    f.notifier.answer({true});
    QVERIFY(sheet.saveHomeCarePlan());
    QCOMPARE(f.notifier.lastText(), u"Home care plan successfully saved."_s);
    QVERIFY(sheet.printHomeCarePlan());
    plan = display.last()->html();
    QVERIFY(plan.contains(u"barangay health center"_s) && !plan.contains(u"DRAFT"_s));
}

void tst_Discharge::noticeListedClearedAndDischarged()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    DischargeNoticeList list(f.session);
    QVERIFY(list.load());
    int row = -1;
    QSet<QString> states;
    for (int i = 0; i < list.notices().size(); ++i) {
        const Notice &n = list.notices().at(i);
        states.insert(n.patientName.section(u',', 0, 0) + (n.isCleared() ? u"+" : u"-"));
        if (n.patientName.startsWith(u"BUENCAMINO"))
            row = i;
    }
    for (const char *expected : {"DIMAGIBA-", "PANGANIBAN-", "MARASIGAN+", "BUENCAMINO-"})
        QVERIFY2(states.contains(QString::fromLatin1(expected)), expected);
    QVERIFY(!list.Valid());
    QVERIFY(list.select(row));
    QVERIFY(list.Valid());
    const QString idNum = list.IdNum();
    QCOMPARE(idNum, stayOf(db, u"BUENCAMINO"_s));

    ClearPatient clear(f.session);
    QVERIFY(clear.open(idNum));
    QVERIFY(clear.save(u"All departments cleared."_s));

    DischargeMenu menu(f.session);
    QVERIFY(menu.open(idNum));
    QVERIFY(menu.canDischarge() && menu.canTransfer());
    f.dialogs.sign(u"2901"_s);
    f.notifier.answer({true});
    QVERIFY(menu.saveDischarge(fixtureNow().addSecs(-600), 0, 0));
    QCOMPARE(f.notifier.lastText(), u"Patient Successfully Discharged ."_s);
    // Discharged, the patient leaves the list.
    QVERIFY(list.load());
    for (const Notice &n : list.notices())
        QVERIFY(n.idNum != idNum);
}

void tst_Discharge::windowsShowWhatTheyRead()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2902"_s); // no discharge or transfer right
    frmDischargeNotice list(f.session);
    QVERIFY(list.load());
    auto *view = list.findChild<QTreeWidget *>(u"lvwNotice"_s);
    QTreeWidgetItem *chosen = nullptr;
    for (int i = 0; i < view->topLevelItemCount(); ++i) {
        QTreeWidgetItem *item = view->topLevelItem(i);
        if (item->text(0).startsWith(u"MARASIGAN"))
            QCOMPARE(item->data(0, Qt::UserRole).toString(), u"clear"_s);
        if (item->text(0).startsWith(u"BUENCAMINO")) {
            QCOMPARE(item->data(0, Qt::UserRole).toString(), u"open"_s);
            chosen = item;
        }
    }
    QVERIFY(chosen);
    view->setCurrentItem(chosen);
    list.findChild<QPushButton *>(u"cmdSelect"_s)->click();
    QVERIFY(list.property("Valid").toBool());
    QCOMPARE(list.property("IdNum").toString(), chosen->text(2));

    frmClearPatient clear(f.session);
    QVERIFY(clear.open(chosen->text(2)));
    QCOMPARE(clear.findChild<QLineEdit *>(u"txtClearDate"_s)->text(), u"For clearing"_s);
    QCOMPARE(clear.findChild<QLineEdit *>(u"txtSname"_s)->text(), u"BUENCAMINO"_s);
    QVERIFY(clear.findChild<QPushButton *>(u"cmdSave"_s)->isEnabled());

    frmDischargeMenu menu(f.session);
    QVERIFY(menu.open(chosen->text(2)));
    auto *tabs = menu.findChild<QTabWidget *>();
    QVERIFY(!tabs->widget(0)->isEnabled() && !tabs->widget(1)->isEnabled());

    frmDCRInstructionMedicationSheet sheet(f.session, nullptr);
    QVERIFY(sheet.open(stayOf(db, u"MARASIGAN"_s)));
    QVERIFY(sheet.findChild<QPlainTextEdit *>(u"txtInstructions"_s)
                ->toPlainText()
                .startsWith(u"Keep the wound clean"_s));
    QVERIFY(sheet.close()); // nothing changed: closes without a question
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_Discharge::spelling_data()
{
    QTest::addColumn<QString>("word");
    QTest::addColumn<bool>("right");
    QTest::addColumn<QString>("correction");
    QTest::newRow("English word") << u"receive"_s << true << QString();
    QTest::newRow("English word misspelt") << u"recieve"_s << false << u"receive"_s;
    QTest::newRow("inner apostrophe") << u"don't"_s << true << QString();
    QTest::newRow("hospital's drug") << u"paracetamol"_s << true << QString();
    QTest::newRow("hospital's drug capitalised") << u"Amoxicillin"_s << true << QString();
    QTest::newRow("hospital's drug misspelt") << u"paracetmol"_s << false << u"paracetamol"_s;
    QTest::newRow("hospital's dose unit") << u"mL"_s << true << QString();
    QTest::newRow("word with digits") << u"500mgx"_s << true << QString();
    QTest::newRow("five capitals") << u"QXZVW"_s << true << QString();
    QTest::newRow("six capitals") << u"QXZVWK"_s << false << QString();
    QTest::newRow("lower-case nonsense") << u"qxzvw"_s << false << QString();
}

void tst_Discharge::spelling()
{
    QFETCH(QString, word);
    QFETCH(bool, right);
    QFETCH(QString, correction);
    const SpellChecker checker;
    QVERIFY2(checker.isValid(), "no English dictionary: scripts/install-deps installs it");
    QCOMPARE(checker.isCorrect(word), right);
    const QStringList offered = checker.suggestions(word);
    QVERIFY(offered.size() <= 5);
    if (!correction.isEmpty())
        QVERIFY2(offered.contains(correction), qPrintable(offered.join(u", ")));
    // Without a dictionary nothing is flagged and nothing offered.
    const SpellChecker none(u"/nonexistent/en_US"_s);
    QVERIFY(!none.isValid() && none.isCorrect(word) && none.suggestions(word).isEmpty());
}

void tst_Discharge::wordsTheUserAddsAreKept()
{
    QFile::remove(SpellChecker::userWordsFile());
    const QString word = u"Kalamansitas"_s;
    {
        SpellChecker checker;
        QVERIFY(!checker.isCorrect(word));
        QVERIFY(checker.addWord(word));
        QVERIFY(checker.addWord(word)); // once in the list
        QVERIFY(checker.isCorrect(word));
    }
    QVERIFY(SpellChecker().isCorrect(word));
    QFile list(SpellChecker::userWordsFile());
    QVERIFY(list.open(QIODevice::ReadOnly));
    QCOMPARE(list.readAll(), QByteArray("Kalamansitas\n"));
}

void tst_Discharge::misspeltWordsUnderlined_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("underlined"); // start and length of each misspelt word
    QTest::newRow("one drug misspelt")
        << u"Take paracetmol 500mg PRN for pain"_s << QList<int>{5, 10};
    QTest::newRow("two misspelt, apostrophe kept")
        << u"Don't recieve visitors; keep the dresing dry."_s << QList<int>{6, 7, 33, 7};
    QTest::newRow("all right") << u"Amoxicillin 500 mg TID for seven days."_s << QList<int>{};
}

void tst_Discharge::misspeltWordsUnderlined()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, underlined);
    const SpellChecker checker;
    QTextDocument document(text);
    SpellHighlighter highlighter(checker, &document);
    highlighter.rehighlight();
    QList<int> found;
    for (const QTextLayout::FormatRange &r : document.firstBlock().layout()->formats()) {
        QCOMPARE(r.format.underlineStyle(), QTextCharFormat::SpellCheckUnderline);
        found << r.start << r.length;
    }
    QCOMPARE(found, underlined);
}

void tst_Discharge::sheetSpellChecksWhereSwitchedOn_data()
{
    QTest::addColumn<QString>("enableSpellChecker");
    QTest::newRow("switched on") << u"1"_s;
    QTest::newRow("switched off") << u"0"_s;
}

void tst_Discharge::sheetSpellChecksWhereSwitchedOn()
{
    QFETCH(QString, enableSpellChecker);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2907"_s);
    QVERIFY(db.exec(u"update STATION..tbNurseSetup set value = :v "
                    u"where Field = 'EnableSpellChecker'"_s,
                    {{u"v"_s, enableSpellChecker}}));
    f.session.settings.LoadParameters(db, f.session.hospital);
    frmDCRInstructionMedicationSheetNew sheet(f.session, nullptr);
    QVERIFY(sheet.open(stayOf(db, u"LUMANLAN"_s)));
    sheet.show();
    QVERIFY(QTest::qWaitForWindowExposed(&sheet));
    QCoreApplication::processEvents();
    const bool on = enableSpellChecker == u"1";
    QCOMPARE(sheet.spelling() != nullptr, on);
    QPlainTextEdit *edit = nullptr;
    for (const QString &name : {u"txtHomeCarePlan"_s, u"txtMedications"_s, u"txtInstructions"_s}) {
        edit = sheet.findChild<QPlainTextEdit *>(name);
        edit->setPlainText(u"Keep the dresing dry."_s);
        QCOMPARE(edit->document()->firstBlock().layout()->formats().size(), on ? 1 : 0);
        QCOMPARE(edit->contextMenuPolicy(), on ? Qt::CustomContextMenu : Qt::DefaultContextMenu);
    }
    if (!on)
        return;
    // The menu on the misspelt word: corrections, "Add to Dictionary", then the usual entries.
    QTextCursor inWord(edit->document());
    inWord.setPosition(12);
    std::unique_ptr<QMenu> menu(sheet.spelling()->menuFor(edit, edit->cursorRect(inWord).center()));
    const QList<QAction *> actions = menu->actions();
    const auto add = std::find_if(actions.cbegin(), actions.cend(), [](const QAction *a) {
        return a->text() == u"Add to Dictionary";
    });
    QVERIFY(add != actions.cend() && add != actions.cbegin() && add - actions.cbegin() <= 5);
    QVERIFY(actions.size() > add - actions.cbegin() + 2);
    actions.first()->trigger();
    QCOMPARE(edit->toPlainText(), u"Keep the "_s + actions.first()->text() + u" dry."_s);
    QVERIFY(edit->document()->firstBlock().layout()->formats().isEmpty());
}

QTEST_MAIN(tst_Discharge)
#include "tst_discharge.moc"
