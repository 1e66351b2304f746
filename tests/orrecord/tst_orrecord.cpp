// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR record of an operation: the checks of a save in their order, the counts and their
// discrepancies, and on each backend a record saved, signed by its five people, printed and
// reset, with two workstations saving the same operation's first record at once.
#include "core/db/Database.h"
#include "orrecord/ORRecordEntry.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QSet>
#include <QTest>

#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QDate kDay(2026, 11, 30);

// A record every check accepts: the operation from 08:00, each phase after the last.
ORRecord validRecord()
{
    ORRecord r;
    for (const auto &[column, value] :
         {std::pair{u"PHICCode"_s, u"47600"_s}, {u"SurgeonID1"_s, u"1021"_s},
          {u"AnestheID"_s, u"1024"_s}, {u"Anesthesia"_s, u"GENERAL ANESTHESIA"_s},
          {u"Procedures"_s, u"OR1001"_s}, {u"CnurseID1"_s, u"2903"_s},
          {u"SnurseID1"_s, u"2902"_s}, {u"ORNumber"_s, u"OR ROOM 1"_s},
          {u"Prophylaxis"_s, u"CEFAZOLIN 1 G"_s}, {u"prod"_s, u"ACUTE APPENDICITIS"_s},
          {u"psod"_s, u"RUPTURED APPENDIX"_s}, {u"Category"_s, u"3"_s}})
        r.setText(column, value);
    using namespace ormoment;
    int minutes = 0;
    for (const ORMoment &m : {PatientIn, Anesthesia, Cutting, Closing, AnesthesiaDone,
                              PatientOut, SpecimenIn, SpecimenOut}) {
        r.setMoment(m, QDateTime(kDay, QTime(8, 0)).addSecs(minutes * 60));
        minutes += 10;
    }
    return r;
}

const ORRecordLookups kLookups{
    [](const QString &code) { return QSet<QString>{u"1021"_s, u"1024"_s}.contains(code); },
    [](const QString &code) { return code == u"OR1001"; }};

using Change = std::function<void(ORRecord &, ORRecordSwitches &)>;

void at(ORRecord &r, const ORMoment &m, int day, int hour, int minute)
{
    r.setMoment(m, QDateTime(kDay.addDays(day), QTime(hour, minute)));
}

} // namespace

Q_DECLARE_METATYPE(Change)

class tst_ORRecord : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void checks_data();
    void checks();
    void counts_data();
    void counts();

    void dbCases();
    void savedRecordInTheReports();
    void demoRecords();
    void twoWorkstationsSaveOneOperation();
};

void tst_ORRecord::checks_data()
{
    QTest::addColumn<Change>("change");
    QTest::addColumn<QString>("message");
    const auto text = [](const QString &column, const QString &value) -> Change {
        return [=](ORRecord &r, ORRecordSwitches &) { r.setText(column, value); };
    };
    using namespace ormoment;
    QTest::newRow("valid") << Change([](ORRecord &, ORRecordSwitches &) {}) << QString();
    QTest::newRow("blank PHIC code, checked before the surgeons")
        << Change([](ORRecord &r, ORRecordSwitches &) {
               r.setText(u"PHICCode"_s, u" "_s);
               r.setText(u"SurgeonID1"_s, QString());
           })
        << u"Can't save blank PHIC Code and RVS. Please enter RVS."_s;
    QTest::newRow("PHIC code not required")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               r.setText(u"PHICCode"_s, QString());
               w.dontRequirePHICCode = true;
           })
        << QString();
    QTest::newRow("surgeon unknown to the doctor search")
        << text(u"SurgeonID1"_s, u"9999"_s) << u"Please provide the surgeons."_s;
    QTest::newRow("second assistant alone is a surgeon")
        << Change([](ORRecord &r, ORRecordSwitches &) {
               r.setText(u"SurgeonID1"_s, QString());
               r.setText(u"SurgeonID3"_s, u"1021"_s);
           })
        << QString();
    QTest::newRow("no anesthesiologist")
        << text(u"AnestheID"_s, QString()) << u"Please provide the anesthesiologists."_s;
    QTest::newRow("anesthesiologist not required")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               r.setText(u"AnestheID"_s, QString());
               w.dontRequireAnes = true;
           })
        << QString();
    QTest::newRow("no anesthesia type")
        << text(u"Anesthesia"_s, QString()) << u"Please provide anesthesia type."_s;
    QTest::newRow("operation not an OR procedure")
        << text(u"Procedures"_s, u"OE2001"_s) << u"Please provide operation procedure."_s;
    QTest::newRow("no circulating nurse")
        << text(u"CnurseID1"_s, QString()) << u"Please provide circulating nurses."_s;
    QTest::newRow("circulating nurse among the others")
        << Change([](ORRecord &r, ORRecordSwitches &) {
               r.setText(u"CnurseID1"_s, QString());
               r.setText(u"CNOthers"_s, u"STUDENT NURSE"_s);
           })
        << QString();
    QTest::newRow("no scrub nurse")
        << text(u"SnurseID1"_s, QString()) << u"Please provide scrub nurses."_s;
    QTest::newRow("no room") << text(u"ORNumber"_s, QString()) << u"Please provide OR room."_s;
    QTest::newRow("prophylaxis required")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               r.setText(u"Prophylaxis"_s, QString());
               w.requireAntibioticGiven = true;
           })
        << u"Please provide Antibiotic Prophylaxis Given."_s;
    QTest::newRow("anesthesia at the minute the patient came in")
        << Change([](ORRecord &r, ORRecordSwitches &) { at(r, Anesthesia, 0, 8, 0); })
        << u"Anesthesia time must not be the same or earlier than Patient Time In."_s;
    QTest::newRow("incision before anesthesia")
        << Change([](ORRecord &r, ORRecordSwitches &) { at(r, Cutting, 0, 8, 5); })
        << u"Cutting time must not be the same or earlier than Anesthesia Time."_s;
    QTest::newRow("closing before incision")
        << Change([](ORRecord &r, ORRecordSwitches &) { at(r, Closing, 0, 8, 15); })
        << u"Closing time must not be the same or earlier than Cutting Time."_s;
    QTest::newRow("out at closing")
        << Change([](ORRecord &r, ORRecordSwitches &) { at(r, PatientOut, 0, 8, 30); })
        << u"Patient Time Out must not be the same or earlier than Closing Time."_s;
    QTest::newRow("out past midnight")
        << Change([](ORRecord &r, ORRecordSwitches &) {
               at(r, Closing, 0, 23, 59);
               at(r, PatientOut, 1, 0, 10);
           })
        << QString();
    QTest::newRow("anesthesia done before closing")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.showAnesthesiaDone = true;
               at(r, AnesthesiaDone, 0, 8, 25);
           })
        << u"Anesthesia Done Time must not be the same or earlier than Closing Time."_s;
    QTest::newRow("out before anesthesia done")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.showAnesthesiaDone = true;
               at(r, AnesthesiaDone, 0, 9, 0);
           })
        << u"Patient Time Out must not be the same or earlier than Anesthesia Done Time."_s;
    QTest::newRow("specimen out before in")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.showSpecimen = true;
               at(r, SpecimenOut, 0, 8, 55);
           })
        << u"Specimen out time must not be the same or earlier than Specimen in Time."_s;
    QTest::newRow("specimen out the minute it came")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.showSpecimen = true;
               at(r, SpecimenOut, 0, 9, 0);
           })
        << QString();
    QTest::newRow("specimen in before the day in")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.showSpecimen = true;
               at(r, SpecimenIn, -1, 9, 0);
           })
        << u"Specimen In Date must not be earlier than Date In."_s;
    QTest::newRow("pre-operative diagnosis required")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.requireOperativeDiagnosis = true;
               r.setText(u"prod"_s, QString());
           })
        << u"Please provide Prep-Operative Diagnosis."_s;
    QTest::newRow("post-operative diagnosis required")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.requireOperativeDiagnosis = true;
               r.setText(u"psod"_s, QString());
           })
        << u"Please provide Post-Operative Diagnosis."_s;
    QTest::newRow("category required")
        << Change([](ORRecord &r, ORRecordSwitches &w) {
               w.requireChartCategory = true;
               r.setText(u"Category"_s, categoryDigit(u""));
           })
        << u"Please select category of procedure."_s;
}

void tst_ORRecord::checks()
{
    QFETCH(Change, change);
    QFETCH(QString, message);
    ORRecord r = validRecord();
    ORRecordSwitches w;
    change(r, w);
    const std::optional<ORRefusal> refusal = checkORRecord(r, w, kLookups);
    QCOMPARE(refusal ? refusal->message : QString(), message);
}

void tst_ORRecord::counts_data()
{
    QTest::addColumn<int>("type");
    QTest::addColumn<QStringList>("values");
    QTest::addColumn<bool>("discrepancy");
    QTest::addColumn<QString>("error");
    QTest::newRow("sponges all back") << 1 << QStringList{u"8"_s, u"2"_s, u"10"_s, u"9"_s, u"1"_s,
                                                         u"10"_s}
                                      << false << QString();
    QTest::newRow("one sponge missing, totals from table and floor")
        << 1 << QStringList{u"8"_s, u"2"_s, u""_s, u"8"_s, u"1"_s, u""_s} << true << QString();
    QTest::newRow("closing not counted yet")
        << 1 << QStringList{u"8"_s, u"2"_s, u"10"_s} << false << QString();
    QTest::newRow("needles added and all back")
        << 2 << QStringList{u"12"_s, u"3"_s, u""_s, u"15"_s} << false << QString();
    QTest::newRow("needle missing")
        << 2 << QStringList{u"12"_s, u"3"_s, u"15"_s, u"14"_s} << true << QString();
    QTest::newRow("count abc") << 2 << QStringList{u"abc"_s} << false
                               << u"The count \"abc\" of ITEM is not a whole number. Please "
                                  u"enter the number counted."_s;
    QTest::newRow("negative count") << 1 << QStringList{u"5"_s, u"-1"_s} << false
                                    << u"The count \"-1\" of ITEM is not a whole number. Please "
                                       u"enter the number counted."_s;
}

void tst_ORRecord::counts()
{
    QFETCH(int, type);
    QFETCH(QStringList, values);
    QFETCH(bool, discrepancy);
    QFETCH(QString, error);
    ORCountLine line{type, 1, u"ITEM"_s, values, {}, {}};
    QCOMPARE(line.discrepancy(), discrepancy);
    QCOMPARE(countEntryError({line}), error);
    QCOMPARE(countDiscrepancies({line}).size(), discrepancy ? 1 : 0);
}

namespace {

// A posted-procedure record opened as the charge window opens it, on the demo's first stay.
OROpening openingFor(Database &db, const QString &refNum)
{
    auto stay = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient "
                             u"order by IDNum limit 1");
    OROpening o;
    o.idNum = (*stay)->trimmed(u"IDNum");
    o.hospNum = (*stay)->trimmed(u"HospNum");
    o.refNum = refNum;
    o.procedureId = u"OR1001"_s;
    o.procedureName = u"APPENDECTOMY, OPEN"_s;
    return o;
}

void fill(ORRecordEntry &entry, Database &db)
{
    ORRecord r = validRecord();
    r.setText(u"ORNumber"_s, db.scalar(u"select min(RoomName) from SCHEDULE..tbORRoom")
                                 ->toString());
    r.setText(u"Remarks"_s, u"PATIENT'S CONSENT SIGNED"_s);
    entry.edit() = r;
}

QVariant column(Database &db, qint64 number, const QString &name)
{
    const QString sql =
        u"select " + name + u" from STATION..tbORMasterFile where OperatingNum = :n";
    return *db.scalar(sql, {{u"n"_s, number}});
}

} // namespace

void tst_ORRecord::dbCases()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    ORRecordEntry entry(f.session);
    QVERIFY(entry.open(openingFor(db, u"OR-TEST-1"_s)));
    QCOMPARE(entry.operatingNum(), 0);
    fill(entry, db);

    // The technician has no right 36: refused, nothing written, every field kept.
    const ORRecord typed = entry.record();
    f.dialogs.sign(u"2904"_s);
    QVERIFY(!entry.save());
    QCOMPARE(f.notifier.lastText(), u"Sorry, you don't have access to save clinical operation."_s);
    QCOMPARE(entry.record(), typed);
    QVERIFY(entry.isModified());
    // Nobody validates and the nurse gives up: still nothing written.
    f.notifier.answer({false});
    QVERIFY(!entry.save());
    QCOMPARE(db.scalar(u"select count(*) from STATION..tbORMasterFile where RefNum = "
                       u"'OR-TEST-1'")->toInt(),
             0);

    f.dialogs.sign(u"2903"_s);
    QVERIFY(entry.save());
    QCOMPARE(f.notifier.lastText(), u"Details of operation saved."_s);
    const qint64 number = entry.operatingNum();
    QVERIFY(number > 0);
    QVERIFY(!entry.isModified());
    QCOMPARE(column(db, number, u"PHICCode"_s).toString(), u"47600"_s);
    QCOMPARE(column(db, number, u"UserID"_s).toString(), u"2903"_s);
    QCOMPARE(column(db, number, u"Remarks"_s).toString(), u"PATIENT`S CONSENT SIGNED"_s);
    QCOMPARE(entry.record().time(u"OperationTime2"), QTime(8, 30));
    QCOMPARE(entry.nameOf(u"Surgeon1"_s), u"AGUSTIN, RAMON"_s);

    // Saved again: the same record.
    entry.edit().setText(u"psod"_s, u"PERFORATED APPENDIX"_s);
    f.dialogs.sign(u"2903"_s);
    QVERIFY(entry.save());
    QCOMPARE(entry.operatingNum(), number);
    QCOMPARE(db.scalar(u"select count(*) from STATION..tbORMasterFile where RefNum = "
                       u"'OR-TEST-1'")->toInt(),
             1);

    // Signatures: the surgeon logs in as 2905, the anaesthesiologist as 2906.
    QVERIFY(db.exec(u"update BUILD_FILE..tbCoDoctor set UserID = case DoctorID when '1021' "
                    u"then '2905' else '2906' end where DoctorID in ('1021', '1024')"));
    for (const char *who : {"2902", "2903", "2905", "2906"})
        QVERIFY(db.exec(u"insert into BUILD_FILE..tbDBImage (TableName, FieldName, IDKey) "
                        u"values ('tbCoDoctor', 'Signature', :who)",
                        {{u"who"_s, QString::fromLatin1(who)}}));
    struct Signing
    {
        ORRole role;
        const char *signer;
        const char *told;
    };
    const Signing signings[] = {
        {ORRole::Surgeon, "2906", "Sorry, you are not a valid signatory for surgeon."},
        {ORRole::ScrubNurse, "2903", "Sorry, you are not a valid signatory for Scrub Nurse."},
        {ORRole::Surgeon, "2905", "Successfully Saved!"},
        {ORRole::Anesthesiologist, "2906", "Successfully Saved!"},
        {ORRole::ScrubNurse, "2902", "Successfully Saved!"},
        {ORRole::CirculatingNurse, "2903", "Successfully Saved!"}};
    for (const Signing &s : signings) {
        f.dialogs.sign(QString::fromLatin1(s.signer));
        entry.sign(s.role);
        QCOMPARE(f.notifier.lastText(), QString::fromLatin1(s.told));
    }
    QCOMPARE(column(db, number, u"SNurseSignID"_s).toString(), u"2902"_s);
    QVERIFY(column(db, number, u"SurgeonDateSign"_s).isValid());

    // No image for the technician, even as the scrub nurse of record.
    QVERIFY(db.exec(u"delete from BUILD_FILE..tbDBImage where IDKey = '2902'"));
    QVERIFY(db.exec(u"update STATION..tbORMasterFile set SNurseSignID = NULL"));

    // Printing asks for the missing signatures in the hospital's order.
    f.session.settings = clsSettings();
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values "
                    u"('ORShowSignature', '1')"));
    f.session.settings.LoadParameters(db, f.session.hospital);
    ORRecordEntry again(f.session);
    QVERIFY(again.open([&] {
        OROpening o = openingFor(db, u"OR-TEST-1"_s);
        o.operatingNum = number;
        return o;
    }()));
    QVERIFY(again.isSigned(ORRole::Surgeon) && !again.isSigned(ORRole::ScrubNurse));
    QVERIFY(!again.print());
    QCOMPARE(f.notifier.lastText(), u"Scrub Nurse Signature is Required"_s);
    f.dialogs.sign(u"2902"_s);
    QVERIFY(!again.sign(ORRole::ScrubNurse));
    QCOMPARE(f.notifier.lastText(), u"No electronic signature. Please contact IT department."_s);

    // Changing the signed surgeon: kept on No, the signature cleared and logged on Yes.
    const auto edits = [&] {
        return db.scalar(u"select count(*) from STATION..tbStationLogs where Remarks = "
                         u"'Edit Surgeon Signatory'")
            ->toInt();
    };
    const int editsBefore = edits();
    f.notifier.answer({false, true});
    QVERIFY(!again.confirmChangeOf(ORRole::Surgeon));
    QVERIFY(again.isSigned(ORRole::Surgeon));
    QVERIFY(again.confirmChangeOf(ORRole::Surgeon));
    QCOMPARE(f.notifier.boxes().last().title, u"Clarification"_s);
    QVERIFY(column(db, number, u"SurgeonSignID"_s).isNull());
    QCOMPARE(edits(), editsBefore + 1);

    // Reset needs right 37: the supervisor has it.
    f.notifier.answer({true});
    f.dialogs.sign(u"2903"_s);
    QVERIFY(!again.reset());
    QCOMPARE(f.notifier.lastText(),
             u"Sorry, you don't have access to reset clinical operations."_s);
    f.notifier.answer({true});
    f.dialogs.sign(u"2901"_s);
    QVERIFY(again.reset());
    QCOMPARE(again.operatingNum(), 0);
    QVERIFY(column(db, number, u"OperatingNum"_s).isNull());
}

void tst_ORRecord::savedRecordInTheReports()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    test::RecordingReportDisplay display;
    const ReportHeadings headings{u"BAGONG TALA MEDICAL CENTER"_s, QString()};
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), headings, display, f.notifier);
    ORRecordEntry entry(f.session);
    entry.setReportService(&reports);
    const OROpening opening = openingFor(db, u"OR-REPORT-1"_s);
    QVERIFY(entry.open(opening));
    fill(entry, db);
    f.dialogs.sign(u"2903"_s);
    QVERIFY(entry.save());
    QVERIFY(entry.print());
    QCOMPARE(display.shown().size(), 1);

    // The day's time and motion shows the operation as the nurse timed it, phase by phase.
    auto def = ReportDefinition::load(
        findReportFile(QStringLiteral(KESTREL_REPORTS_DIR), u"TimeNMotion.RPT"_s));
    QVERIFY(def);
    const QString day = kDay.toString(u"MM/dd/yyyy");
    auto context = ReportRenderer(db, headings).context(*def, {day, day});
    QVERIFY2(context, qPrintable(context ? QString() : context.error().message));
    QVariantMap found;
    for (const QVariant &row : context->value(u"operations"_s).toList()) {
        const QVariantMap r = row.toMap();
        for (auto it = r.cbegin(); it != r.cend(); ++it) {
            if (it.key().compare(u"IdNum", Qt::CaseInsensitive) == 0 &&
                it.value().toString().trimmed() == opening.idNum)
                found = r;
        }
    }
    QVERIFY2(!found.isEmpty(), qPrintable(opening.idNum));
    const auto minutes = [&](const QString &column) {
        for (auto it = found.cbegin(); it != found.cend(); ++it) {
            if (it.key().compare(column, Qt::CaseInsensitive) == 0)
                return it.value().toInt();
        }
        return -1;
    };
    QCOMPARE(minutes(u"BeforeIncision"_s), 20);
    QCOMPARE(minutes(u"Operating"_s), 10);
    QCOMPARE(minutes(u"AfterClosure"_s), 20);
    QCOMPARE(minutes(u"InRoom"_s), 50);
}

void tst_ORRecord::demoRecords()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values "
                    u"('ORShowSignature', '1')"));
    f.session.settings.LoadParameters(db, f.session.hospital);
    test::RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {}, display, f.notifier);
    const auto opening = [&](const QString &where) {
        auto row = db.selectOne(QString(u"select R.OperatingNum, R.IdNum, R.HospNum, R.RefNum, "
                                u"R.Procedures, R.SurgeonID1 from STATION..tbORMasterFile R "
                                u"where " + where + u" order by R.OperatingNum desc limit 1"));
        OROpening o;
        if (row && *row) {
            o.operatingNum = (*row)->integer(u"OperatingNum");
            o.idNum = (*row)->trimmed(u"IdNum");
            o.hospNum = (*row)->trimmed(u"HospNum");
            o.refNum = (*row)->trimmed(u"RefNum");
            o.procedureId = (*row)->trimmed(u"Procedures");
            o.procedureName = (*row)->trimmed(u"SurgeonID1"); // the surgeon, for signing below
        }
        return o;
    };

    // A record its five people signed opens signed and prints.
    ORRecordEntry full(f.session);
    full.setReportService(&reports);
    QVERIFY(full.open(opening(u"R.ASurgeonSignID is not null and R.AnestSignID is not null "
                              u"and R.SNurseSignID is not null"_s)));
    for (const ORSignatureRole &role : signatureRoles())
        QVERIFY2(full.isSigned(role.role), qPrintable(role.required));
    QVERIFY(full.print());

    // An unsigned one: its surgeon signs under his own login, which has a signature on file.
    const OROpening waiting = opening(u"R.SurgeonSignID is null and R.SurgeonID1 <> ''"_s);
    ORRecordEntry open(f.session);
    QVERIFY(open.open(waiting));
    QVERIFY(!open.isSigned(ORRole::Surgeon));
    f.dialogs.sign(u'9' + waiting.procedureName);
    QVERIFY(open.sign(ORRole::Surgeon));

    // The operation whose peanuts did not all come back shows it in the counts.
    ORRecordEntry counted(f.session, ORRecordEntry::Layout::ChartWithCounts);
    QVERIFY(counted.open(opening(u"R.OperatingNum in (select C.OperatingNum from "
                                 u"STATION..tbSpongeCount C where C.IdNum = R.IdNum and "
                                 u"C.Discrepancy = 1)"_s)));
    QCOMPARE(counted.counts().size(), 6);
    QCOMPARE(counted.discrepancies().size(), 1);
    QVERIFY(counted.discrepancies().first().startsWith(u"PEANUTS"));
}

void tst_ORRecord::twoWorkstationsSaveOneOperation()
{
    KESTREL_OPEN_DEMO(db);
    const test::TestDatabase &hospital = **dbResult;
    QStringList failures(2);
    qint64 numbers[2] = {0, 0};
    std::vector<std::thread> workstations;
    for (int w = 0; w < 2; ++w)
        workstations.emplace_back([&, w] {
            auto opened = hospital.openWorkstation(w + 1);
            if (!opened) {
                failures[w] = opened.error().message;
                return;
            }
            Database &mine = **opened;
            ORRecordStore store(mine);
            ORRecord r = validRecord();
            r.setText(u"Remarks"_s, u"WORKSTATION %1"_s.arg(w + 1));
            for (int i = 0; i < 20 && failures[w].isEmpty(); ++i) {
                auto saved = store.save(r, {u"H"_s, u"RACE-STAY"_s, u"OR-RACE-%1"_s.arg(i),
                                            u"I"_s, w == 0 ? u"2902"_s : u"2903"_s, 0, {}});
                if (!saved)
                    failures[w] = saved.error().message;
                else
                    numbers[w] = *saved;
            }
        });
    for (std::thread &t : workstations)
        t.join();
    QCOMPARE(failures, QStringList(2));
    // Each operation got one record, and both workstations were told its number.
    QCOMPARE(db.scalar(u"select count(*) from STATION..tbORMasterFile where IdNum = "
                       u"'RACE-STAY'")->toInt(),
             20);
    QCOMPARE(numbers[0], numbers[1]);
}

QTEST_MAIN(tst_ORRecord)
#include "tst_orrecord.moc"
