// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The surgical memo's own rules (sponge grid entry, case number, what a save writes), and on
// each backend a memo saved, read back and printed, the sponge grid of the OR that counts in
// one, a CVOR case's team updated and listed, an item tagged and untagged as a procedure, and
// two workstations saving one memo at once.
#include "core/db/Database.h"
#include "orrecord/CVOR.h"
#include "orrecord/SurgicalMemo.h"
#include "orrecord/ui/frmCVORPatients.h"
#include "orrecord/ui/frmSurgicalMemo.h"
#include "reports/RenderedReport.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLineEdit>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>

#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2026, 11, 30);

// A record every check of the OR record accepts, for operation `procedure`.
ORRecord validRecord(Database &db, const QString &procedure)
{
    ORRecord r;
    for (const auto &[column, value] : {std::pair{u"PHICCode"_s, u"47600"_s},
                                        {u"SurgeonID1"_s, u"1021"_s},
                                        {u"AnestheID"_s, u"1024"_s},
                                        {u"Anesthesia"_s, u"SPINAL ANESTHESIA"_s},
                                        {u"Procedures"_s, procedure},
                                        {u"CnurseID1"_s, u"2903"_s},
                                        {u"SnurseID1"_s, u"2902"_s},
                                        {u"Prophylaxis"_s, u"CEFAZOLIN 1 G"_s},
                                        {u"prod"_s, u"G2P1 PREGNANCY 39 WEEKS"_s},
                                        {u"Category"_s, u"3"_s}})
        r.setText(column, value);
    r.setText(u"ORNumber"_s,
              db.scalar(u"select min(RoomName) from SCHEDULE..tbORRoom")->toString());
    int minutes = 0;
    for (const ORMoment &m : ormoment::All) {
        r.setMoment(m, QDateTime(kDay, QTime(8, 0)).addSecs(minutes * 60));
        minutes += 10;
    }
    return r;
}

OROpening openingFor(Database &db, const QString &refNum, const QString &procedure)
{
    auto stay = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient "
                             u"order by IDNum limit 1");
    OROpening o;
    o.idNum = (*stay)->trimmed(u"IDNum");
    o.hospNum = (*stay)->trimmed(u"HospNum");
    o.refNum = refNum;
    o.procedureId = procedure;
    o.procedureName = u"CESAREAN SECTION, PRIMARY"_s;
    return o;
}

QVariant memoColumn(Database &db, qint64 number, const QString &name)
{
    const QString sql =
        u"select " + name + u" from STATION..tbORMasterFile where OperatingNum = :n";
    return *db.scalar(sql, {{u"n"_s, number}});
}

int count(Database &db, const QString &sql, const Binds &binds = {})
{
    return db.scalar(sql, binds)->toInt();
}

} // namespace

class tst_MemoCVOR : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void spongeEntry_data();
    void spongeEntry();
    void memoRules_data();
    void memoRules();

    void memoSavedLoadedPrinted();
    void spongeGridSaved();
    void cvorCaseUpdatedAndListed();
    void procedureTagging();
    void memoWindow();
    void twoWorkstationsSaveOneMemo();
    void twoWorkstationsNameOneTeam();
};

void tst_MemoCVOR::spongeEntry_data()
{
    QTest::addColumn<QList<int>>("columns");
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<bool>("lastAccepted");
    QTest::addColumn<QList<int>>("counts");
    QTest::addColumn<int>("rows");
    using L = QList<int>;
    QTest::newRow("first count: 10 on table and 2 on floor make 12")
        << L{FirstOnTable, FirstOnFloor} << QStringList{u"10"_s, u"2"_s} << true
        << L{0, 10, 2, 12, 0, 0, 0} << 2;
    QTest::newRow("second count's total")
        << L{SecondOnTable, SecondOnFloor} << QStringList{u"8"_s, u"1"_s} << true
        << L{0, 0, 0, 0, 8, 1, 9} << 2;
    QTest::newRow("on floor again recomputes the total")
        << L{FirstOnTable, FirstOnFloor, FirstOnTable, FirstOnFloor}
        << QStringList{u"10"_s, u"2"_s, u"11"_s, u"0"_s} << true << L{0, 11, 0, 11, 0, 0, 0} << 2;
    QTest::newRow("a typed total stays until on floor is entered")
        << L{FirstTotal} << QStringList{u"7"_s} << true << L{0, 0, 0, 7, 0, 0, 0} << 2;
    QTest::newRow("a count that is no number is refused, the cell kept")
        << L{InitialCount, InitialCount} << QStringList{u"5"_s, u"abc"_s} << false
        << L{5, 0, 0, 0, 0, 0, 0} << 2;
    QTest::newRow("a negative count on an empty grid adds nothing")
        << L{InitialCount} << QStringList{u"-1"_s} << false << L{} << 0;
    QTest::newRow("the item alone fills the last row")
        << L{SpongeItem} << QStringList{u"gauze"_s} << true << L{0, 0, 0, 0, 0, 0, 0} << 2;
}

void tst_MemoCVOR::spongeEntry()
{
    QFETCH(QList<int>, columns);
    QFETCH(QStringList, texts);
    QFETCH(bool, lastAccepted);
    QFETCH(QList<int>, counts);
    QFETCH(int, rows);
    QList<SpongeRow> grid;
    bool accepted = false;
    for (int i = 0; i < columns.size(); ++i)
        accepted = enterSpongeValue(grid, 0, columns.at(i), texts.at(i));
    QCOMPARE(accepted, lastAccepted);
    QCOMPARE(grid.size(), rows);
    if (!counts.isEmpty())
        QCOMPARE(QList<int>(grid.at(0).counts.begin(), grid.at(0).counts.end()), counts);
    if (columns.first() == SpongeItem)
        QCOMPARE(grid.at(0).sponge, u"GAUZE"_s);
    if (rows > 0)
        QVERIFY(grid.last().isEmpty());
}

void tst_MemoCVOR::memoRules_data()
{
    QTest::addColumn<bool>("grid");
    QTest::addColumn<bool>("caseNumberEntry");
    QTest::addColumn<QString>("caseNumber");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<bool>("writesCounts");
    QTest::addColumn<bool>("writesCaseNumber");
    QTest::newRow("case number asked for and missing")
        << false << true << u" "_s << u"Please enter Case Number."_s << true << true;
    QTest::newRow("case number asked for and given")
        << false << true << u"2026-0042"_s << QString() << true << true;
    QTest::newRow("case number off: empty accepted and not written")
        << false << false << QString() << QString() << true << false;
    QTest::newRow("sponge grid: the count boxes are not written")
        << true << false << QString() << QString() << false << false;
    QTest::newRow("sponge grid with the case number")
        << true << true << u"2026-0043"_s << QString() << false << true;
}

void tst_MemoCVOR::memoRules()
{
    QFETCH(bool, grid);
    QFETCH(bool, caseNumberEntry);
    QFETCH(QString, caseNumber);
    QFETCH(QString, refusal);
    QFETCH(bool, writesCounts);
    QFETCH(bool, writesCaseNumber);
    const MemoSwitches switches{grid, caseNumberEntry};
    ORRecord r;
    r.setText(u"CaseNumber"_s, caseNumber);
    const auto refused = checkSurgicalMemo(r, switches);
    QCOMPARE(refused ? refused->message : QString(), refusal);
    if (refused)
        QCOMPARE(refused->column, u"CaseNumber"_s);
    const QStringList written = memoWrittenColumns(switches);
    for (const char *c : {"Sponge4", "NeedlesFinal", "Gravida", "PresentationDS", "PreOPHR"})
        QCOMPARE(written.contains(QString::fromLatin1(c)), writesCounts);
    QCOMPARE(written.contains(u"CaseNumber"_s), writesCaseNumber);
    // Whatever the hospital, the induction and the first vital signs, once each.
    for (const char *c : {"Inductions", "PreOPBP", "PreOPRR", "PreOPTemp"})
        QCOMPARE(written.count(QString::fromLatin1(c)), 1);
}

void tst_MemoCVOR::memoSavedLoadedPrinted()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values "
                    u"('OREnableCaseNumberEntry', '1')"));
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, {}},
                          display, f.notifier);
    ORRecordEntry entry(f.session, ORRecordEntry::Layout::SurgicalMemo);
    SurgicalMemo memo(f.session, entry);
    entry.setReportService(&reports);
    QVERIFY(entry.open(openingFor(db, u"MEMO-TEST-1"_s, u"OR1018"_s)));
    QVERIFY(memo.isCesarean());
    QVERIFY(memo.switches().caseNumberEntry);
    QVERIFY(!entry.print());
    QCOMPARE(f.notifier.lastText(), u"Sorry, no clinical operation record."_s);

    entry.edit() = validRecord(db, u"OR1018"_s);
    const QList<std::pair<QString, QString>> typed{
        {u"Sponge4"_s, u"20"_s},
        {u"Sponge4Final"_s, u"20"_s},
        {u"AnestheticAgent"_s, u"BUPIVACAINE 0.5% HEAVY"_s},
        {u"PreOPHR"_s, u"88"_s},
        {u"Gravida"_s, u"2"_s},
        {u"ApgarScore"_s, u"8"_s},
        {u"SMAnd"_s, u"9"_s},
        {u"PresentationCBF"_s, u"C"_s},
        {u"Babyout"_s, u"08:35:00 AM"_s},
        {u"SuturesText"_s, u"SURGEON'S KNOT"_s}};
    for (const auto &[column, value] : typed)
        entry.edit().setText(column, value);
    QVERIFY(!entry.save());
    QCOMPARE(f.notifier.lastText(), u"Please enter Case Number."_s);
    QCOMPARE(count(db, u"select count(*) from STATION..tbORMasterFile where RefNum = "
                       u"'MEMO-TEST-1'"_s),
             0);

    entry.edit().setText(u"CaseNumber"_s, u"2026-0042"_s);
    f.dialogs.sign(u"2903"_s);
    QVERIFY(entry.save());
    QCOMPARE(f.notifier.lastText(), u"Details of operation saved."_s);
    const qint64 number = entry.operatingNum();
    QCOMPARE(memoColumn(db, number, u"CaseNumber"_s).toString(), u"2026-0042"_s);
    QCOMPARE(memoColumn(db, number, u"SuturesText"_s).toString(), u"SURGEON`S KNOT"_s);
    QCOMPARE(memoColumn(db, number, u"SMAnd"_s).toString(), u"9"_s);

    // Read back by another window: every column as typed.
    ORRecordEntry again(f.session, ORRecordEntry::Layout::SurgicalMemo);
    SurgicalMemo againMemo(f.session, again);
    again.setReportService(&reports);
    OROpening o = openingFor(db, u"MEMO-TEST-1"_s, u"OR1018"_s);
    o.operatingNum = number;
    QVERIFY(again.open(o));
    QVERIFY(!again.isModified());
    for (const auto &[column, value] : typed)
        QCOMPARE(again.record().text(column), withBackquotes(value));
    QCOMPARE(again.record().text(u"CaseNumber"), u"2026-0042"_s);

    const auto printed = [&] {
        return count(db, u"select count(*) from STATION..tbStationLogs where Remarks = "
                         u"'PRINT SURGICAL MEMORANDUM'"_s);
    };
    const int before = printed();
    QVERIFY(again.print());
    QCOMPARE(printed(), before + 1);
    QVERIFY(display.last());
    const QString html = display.last()->html();
    for (const char *shown : {"SURGICAL MEMORANDUM", "2026-0042", "BUPIVACAINE 0.5% HEAVY",
                              "FOR CESARIAN SECTION", "CEPHALIC", "8 and 9"})
        QVERIFY2(html.contains(QString::fromLatin1(shown)), shown);
    // No sponge records were kept, so the grid is not printed.
    QVERIFY(!html.contains(u"SPONGE COUNT"_s));

    // An operation that is not a caesarean section keeps its obstetric tab closed.
    ORRecordEntry other(f.session, ORRecordEntry::Layout::SurgicalMemo);
    SurgicalMemo otherMemo(f.session, other);
    QVERIFY(other.open(openingFor(db, u"MEMO-TEST-2"_s, u"OR1001"_s)));
    QVERIFY(!otherMemo.isCesarean());
}

void tst_MemoCVOR::spongeGridSaved()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    f.session.hospital.clientname = u"KAVIR"_s;
    ORRecordEntry entry(f.session, ORRecordEntry::Layout::SurgicalMemo);
    SurgicalMemo memo(f.session, entry);
    QVERIFY(entry.open(openingFor(db, u"MEMO-GRID-1"_s, u"OR1001"_s)));
    QVERIFY(memo.switches().spongeGrid);
    QCOMPARE(memo.sponges().size(), 1);
    entry.edit() = validRecord(db, u"OR1001"_s);
    entry.edit().setText(u"Sponge4"_s, u"20"_s);
    for (const auto &[row, column, text] : {std::tuple{0, int(SpongeItem), u"abdominal pack"_s},
                                            {0, FirstOnTable, u"10"_s},
                                            {0, FirstOnFloor, u"2"_s},
                                            {1, SpongeItem, u"OS"_s},
                                            {1, InitialCount, u"5"_s}})
        QVERIFY(memo.enterSponge(row, column, text));
    memo.setCounterStaff(0, u"2902"_s);
    QVERIFY(entry.isModified());
    f.dialogs.sign(u"2903"_s);
    QVERIFY(entry.save());
    const qint64 number = entry.operatingNum();
    QCOMPARE(memoColumn(db, number, u"Sponge4"_s).toString(), QString());
    const QString rows = u"select count(*) from STATION..tbORSpongeRecords where "
                         u"OperatingNum = :n"_s;
    QCOMPARE(count(db, rows, {{u"n"_s, number}}), 2);
    // Read back after the save: the rows with their numbers, and one empty row to fill.
    QCOMPARE(memo.sponges().size(), 3);
    QCOMPARE(memo.sponges().at(0).sponge, u"ABDOMINAL PACK"_s);
    QCOMPARE(memo.sponges().at(0).counts[3], 12);
    QVERIFY(memo.sponges().at(0).entryNum > 0);
    QCOMPARE(memo.counterStaff(0), u"2902"_s);
    QVERIFY(!entry.isModified());

    // A row emptied goes at the next save; the other keeps its number.
    const qint64 kept = memo.sponges().at(0).entryNum;
    QVERIFY(memo.enterSponge(1, SpongeItem, QString()));
    QVERIFY(memo.enterSponge(1, InitialCount, QString()));
    f.dialogs.sign(u"2903"_s);
    QVERIFY(entry.save());
    QCOMPARE(count(db, rows, {{u"n"_s, number}}), 1);
    QCOMPARE(memo.sponges().at(0).entryNum, kept);
}

void tst_MemoCVOR::cvorCaseUpdatedAndListed()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    QVERIFY(count(db, u"select count(*) from STATION..tbCVORInfo"_s) > 0);
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, {}},
                          display, f.notifier);
    // A CVOR patient's operation without its team yet.
    auto line = db.selectOne(
        u"select L.IDNum, L.ReferenceNum, M.LastName from STATION..tbNurseLogBook L "
        u"join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = L.ItemID and "
        u"O.SectionID = 'PRC' join PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum "
        u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum where L.RecordStatus <> 'R' "
        u"and not exists (select 1 from STATION..tbCVORInfo C where C.IdNum = L.IDNum and "
        u"C.RefNum = L.ReferenceNum) order by L.LogBookID desc limit 1"_s);
    QVERIFY(line && *line);
    const QString idNum = (*line)->trimmed(u"IDNum"), refNum = (*line)->trimmed(u"ReferenceNum");
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient set isCVOR = 1 where IDNum = :id"_s,
                    {{u"id"_s, idNum}}));

    CVORPatients list(f.session);
    list.setReportService(&reports);
    struct Search
    {
        QString type, key, told;
    };
    for (const Search &s : {Search{u"ID No."_s, u" "_s, u"Please enter search key."_s},
                            Search{QString(), idNum, u"Please select search type."_s},
                            Search{u"ID No."_s, u"NO-SUCH-STAY"_s, u"No record found."_s}}) {
        QVERIFY(!list.search(s.type, s.key));
        QCOMPARE(f.notifier.lastText(), s.told);
    }
    QVERIFY(!list.printCase(0, u"CVOR_Hospital1.rpt"_s));
    QCOMPARE(f.notifier.lastText(), u"Please select patient case to print."_s);
    QVERIFY(list.search(u"Lastname"_s, (*line)->trimmed(u"LastName").left(3)));
    QVERIFY(list.search(u"ID No."_s, idNum));
    int row = -1;
    for (int i = 0; i < list.cases().count(); ++i) {
        if (list.caseAt(i) == std::pair{idNum, refNum})
            row = i;
    }
    QVERIFY(row >= 0);

    CVORTeam team(f.session);
    QVERIFY(team.load(idNum, refNum));
    QCOMPARE(team.info(u"Admission #"_s), idNum);
    QCOMPARE(team.code(u"Surgeon"_s), QString());
    team.setPerson(u"Surgeon"_s, u"1021"_s, u"AGUSTIN, RAMON"_s);
    team.setPerson(u"ScrubNurse1"_s, u"2902"_s, u"SALAZAR, JOHN PAUL"_s);
    QVERIFY(team.isModified());
    const QString logged = u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                           u"Remarks = 'Modified CVOR Info'"_s;
    QVERIFY(team.save());
    QCOMPARE(f.notifier.lastText(), u"You have successfully updated CVOR info."_s);
    QCOMPARE(count(db, logged, {{u"id"_s, idNum}}), 1);
    // Changed again: still one team for the case.
    team.setPerson(u"Surgeon"_s, u"1024"_s, QString());
    QVERIFY(team.save());
    QCOMPARE(count(db,
                   u"select count(*) from STATION..tbCVORInfo where IdNum = :id and "
                   u"RefNum = :ref"_s,
                   {{u"id"_s, idNum}, {u"ref"_s, refNum}}),
             1);

    CVORTeam reread(f.session);
    QVERIFY(reread.load(idNum, refNum));
    QCOMPARE(reread.code(u"Surgeon"_s), u"1024"_s);
    QCOMPARE(reread.code(u"ScrubNurse1"_s), u"2902"_s);
    QCOMPARE(reread.name(u"ScrubNurse1"_s), u"SALAZAR, JOHN PAUL"_s);

    QVERIFY(list.printCase(row, CVORPatients::caseForms().first()));
    QVERIFY(display.last()->html().contains(idNum));
    QVERIFY(display.last()->html().contains(u"SALAZAR, JOHN PAUL"_s));
    QVERIFY(list.printCensus());
    QVERIFY(display.last()->html().contains(u"CVOR CENSUS"_s));
}

void tst_MemoCVOR::procedureTagging()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    ProcedureTagging tagging(f.session);
    QVERIFY(!tagging.save(true));
    QCOMPARE(f.notifier.lastText(), u"Please select item to update."_s);
    bool found = false;
    for (const auto &[code, name] : tagging.search(u"APPENDECTOMY"_s))
        found = found || code == u"OR1001";
    QVERIFY(found);
    const QString section = u"select SectionID from BUILD_FILE..tbCoOtherRevenue where "
                            u"OtherRevenueID = 'OR1001'"_s;
    QVERIFY(tagging.select(u"OR1001"_s));
    QVERIFY(tagging.save(false));
    QCOMPARE(f.notifier.lastText(), u"Item successfully untagged as a procedure."_s);
    QCOMPARE(db.scalar(section)->toString().trimmed(), QString());
    QVERIFY(!tagging.select(u"OR1001"_s));
    QVERIFY(tagging.save(true));
    QCOMPARE(f.notifier.lastText(), u"Item successfully tagged as a procedure."_s);
    QCOMPARE(db.scalar(section)->toString(), u"PRC"_s);
}

void tst_MemoCVOR::memoWindow()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    f.session.hospital.clientname = u"KAVIR"_s;
    frmSurgicalMemo window(f.session);
    QVERIFY(window.open(openingFor(db, u"MEMO-WINDOW"_s, u"OR1018"_s)));
    QCOMPARE(window.windowTitle(), u"Surgical Procedures Entry"_s);
    auto *tabs = window.findChild<QTabWidget *>();
    bool cesarean = false;
    for (int i = 0; i < tabs->count(); ++i)
        cesarean =
            cesarean || (tabs->tabText(i) == u"For Cesarian Section" && tabs->isTabEnabled(i));
    QVERIFY(cesarean);
    // A vital sign typed on the memo's tab is the record's, and the anaesthesia sheet shows it.
    QTest::keyClicks(window.findChild<QLineEdit *>(u"txtVSBP"_s), u"120/80"_s);
    QCOMPARE(window.presenter().record().text(u"PreOPBP"), u"120/80"_s);
    QCOMPARE(window.findChild<QLineEdit *>(u"PreOPBP"_s)->text(), u"120/80"_s);
    auto *grid = window.findChild<QTableWidget *>(u"grdSponges"_s);
    QVERIFY(grid);
    grid->item(0, FirstOnTable)->setText(u"10"_s);
    grid->item(0, FirstOnFloor)->setText(u"2"_s);
    QCOMPARE(grid->item(0, FirstTotal)->text(), u"12"_s);
    QCOMPARE(grid->rowCount(), 2);
    QVERIFY(window.presenter().isModified());

    frmCVORPatients cases(f.session);
    QString opened;
    cases.setWindowOpener([&](const QString &form, const WindowRequest &) { opened = form; });
    // A case of the demo's CVOR patients, with its team.
    const QString tagged = db.scalar(u"select min(IdNum) from STATION..tbCVORInfo"_s)->toString();
    cases.findChild<QLineEdit *>(u"txtSearch"_s)->setText(tagged);
    cases.findChild<QComboBox *>(u"cboSearchType"_s)->setCurrentText(u"ID No."_s);
    cases.search();
    QVERIFY(cases.findChild<QTableWidget *>(u"grdList"_s)->rowCount() > 0);
    cases.editSelected();
    QCOMPARE(opened, u"frmUpdateCVOR"_s);
}

void tst_MemoCVOR::twoWorkstationsSaveOneMemo()
{
    KESTREL_OPEN_DEMO(db);
    ORRecordStore store(db);
    const ORRecord first = validRecord(db, u"OR1018"_s);
    auto made =
        store.save(first, {u"H"_s, u"RACE-MEMO"_s, u"MEMO-RACE"_s, u"I"_s, u"2902"_s, 0, {}});
    QVERIFY(made);
    const test::TestDatabase &hospital = **dbResult;
    QStringList failures(2);
    std::vector<std::thread> workstations;
    for (int w = 0; w < 2; ++w)
        workstations.emplace_back([&, w] {
            auto opened = hospital.openWorkstation(w + 1);
            if (!opened) {
                failures[w] = opened.error().message;
                return;
            }
            Database &mine = **opened;
            ORRecordStore theirs(mine);
            const QString tag = u"WORKSTATION %1"_s.arg(w + 1);
            ORRecord r = first;
            for (const char *c : {"Remarks", "CaseNumber", "AnestheticAgent", "Gravida"})
                r.setText(QString::fromLatin1(c), tag);
            const MemoWrite memo{{false, true}, u"H"_s, u"RACE-MEMO"_s, {}, {}, {}};
            for (int i = 0; i < 15 && failures[w].isEmpty(); ++i) {
                auto saved = theirs.save(
                    r, {u"H"_s, u"RACE-MEMO"_s, u"MEMO-RACE"_s, u"I"_s, u"2902"_s, *made, {}},
                    nullptr, [&](qint64 n) { return writeSurgicalMemo(mine, n, r, memo); });
                if (!saved)
                    failures[w] = saved.error().message;
            }
        });
    for (std::thread &t : workstations)
        t.join();
    QCOMPARE(failures, QStringList(2));
    // One record, written whole by one workstation or the other.
    QCOMPARE(count(db, u"select count(*) from STATION..tbORMasterFile where IdNum = "
                       u"'RACE-MEMO'"_s),
             1);
    const QString remarks = memoColumn(db, *made, u"Remarks"_s).toString();
    QVERIFY(remarks.startsWith(u"WORKSTATION"));
    for (const char *c : {"CaseNumber", "AnestheticAgent", "Gravida"})
        QCOMPARE(memoColumn(db, *made, QString::fromLatin1(c)).toString(), remarks);
}

void tst_MemoCVOR::twoWorkstationsNameOneTeam()
{
    KESTREL_OPEN_DEMO(db);
    const test::TestDatabase &hospital = **dbResult;
    QStringList failures(2);
    std::vector<std::thread> workstations;
    for (int w = 0; w < 2; ++w)
        workstations.emplace_back([&, w] {
            auto opened = hospital.openWorkstation(w + 1);
            if (!opened) {
                failures[w] = opened.error().message;
                return;
            }
            Database &mine = **opened;
            const QString who = w == 0 ? u"1021"_s : u"1024"_s;
            for (int i = 0; i < 10 && failures[w].isEmpty(); ++i) {
                QVariantList args{u"RACE-CVOR"_s, u"CVOR-RACE-%1"_s.arg(i)};
                for (int k = 0; k < 10; ++k)
                    args << who;
                if (auto done = mine.call(u"Station..UpdateCVORInfo", args); !done)
                    failures[w] = done.error().message;
            }
        });
    for (std::thread &t : workstations)
        t.join();
    QCOMPARE(failures, QStringList(2));
    // One team per case, each named whole by one workstation.
    QCOMPARE(count(db, u"select count(*) from STATION..tbCVORInfo where IdNum = 'RACE-CVOR'"_s),
             10);
    QCOMPARE(count(db, u"select count(*) from STATION..tbCVORInfo where IdNum = 'RACE-CVOR' "
                       u"and (Surgeon <> Circulator2 or Intensivist <> Perfutionist)"_s),
             0);
}

QTEST_MAIN(tst_MemoCVOR)
#include "tst_memocvor.moc"
