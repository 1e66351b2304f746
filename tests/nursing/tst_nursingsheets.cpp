// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The consents and the monitoring sheets on the demo hospital: the age a consent prints, the
// fields each consent needs and who signs for a minor, a consent saved twice and printed, the
// fluid sheet's totals and balance as saved and printed, the hourly sheet's days, and two
// workstations replacing the same record at once.
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "nursing/Consents.h"
#include "nursing/FluidSheet.h"
#include "nursing/HourlySheet.h"
#include "nursing/ui/frmConsent.h"
#include "nursing/ui/frmFluid.h"
#include "nursing/ui/frmHourlyMonitor.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QLineEdit>
#include <QSpinBox>
#include <QTableWidget>
#include <QTest>

#include <latch>
#include <thread>
#include <vector>

using namespace kestrel;
using namespace kestrel::nursing;
using namespace kestrel::test;
using namespace Qt::StringLiterals;

namespace {

// A stay in the wards with none of the consents or sheets yet.
CurrentPatientRecord freshStay(Database &db)
{
    CurrentPatientRecord stay;
    stay.IdNum = db.scalar(u"select min(IDNum) from PATIENT_DATA..tbPatient where DcrDate is null "
                           u"and RecordStatus <> 'R' and IDNum not in (select IDNum from "
                           u"STATION..tbSurgicalAuthorization union select IDNum from "
                           u"STATION..tbConsentTreatment union select IDnum from "
                           u"STATION..tbSpecialTreatmentConsent union select IDnum from "
                           u"STATION..tbSterilizationConsent union select IDnum from "
                           u"STATION..tbHourlyMonitoringSheet union select IDNum from "
                           u"STATION..tbNurseFluid)"_s)
                     .value()
                     .toString();
    stay.PatientName = u"DEMO PATIENT"_s;
    return stay;
}

QString text(Database &db, const QString &sql, const QString &id)
{
    return db.scalar(sql, {{u"id"_s, id}}).value().toString();
}

void bornOn(Database &db, const QString &idNum, const QDate &born)
{
    QVERIFY(db.exec(u"update PATIENT_DATA..tbMaster set BirthDate = :born where HospNum = "
                    u"(select HospNum from PATIENT_DATA..tbPatient where IDNum = :id)"_s,
                    {{u"born"_s, Database::isoText(born)}, {u"id"_s, idNum}}));
}

struct Reports
{
    explicit Reports(Database &db, MainWindowFixture &f)
        : service(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s}, display,
                  f.notifier)
    {
    }
    QString printed() const { return display.last() ? display.last()->html() : QString(); }
    RecordingReportDisplay display; // before the service, which shows on it
    ReportService service;
};

} // namespace

class tst_NursingSheets : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addBackendRows(); }
    void consentAge_data();
    void consentAge();
    void consentRules_data();
    void consentRules();
    void consentSavedTwicePrintedDeleted();
    void fluidTotals_data();
    void fluidTotals();
    void fluidRefusals_data();
    void fluidRefusals();
    void hourlyGrid_data();
    void hourlyGrid();
    void hourlyDaysSavedPrintedDeleted();
    void twoWorkstationsReplaceOneRecord_data();
    void twoWorkstationsReplaceOneRecord();
    void windowsShowWhatTheyRead();
};

void tst_NursingSheets::consentAge_data()
{
    QTest::addColumn<QDate>("born");
    QTest::addColumn<QDate>("on");
    QTest::addColumn<QString>("age");
    QTest::addColumn<bool>("minor");
    QTest::newRow("born that day") << QDate(2026, 12, 1) << QDate(2026, 12, 1) << u"0 days"_s
                                   << true;
    QTest::newRow("a day short of a month") << QDate(2026, 11, 2) << QDate(2026, 12, 1)
                                            << u"29 days"_s << true;
    QTest::newRow("one month") << QDate(2026, 11, 1) << QDate(2026, 12, 1) << u"1 months"_s
                               << true;
    QTest::newRow("a day short of a year") << QDate(2025, 12, 2) << QDate(2026, 12, 1)
                                           << u"11 months"_s << true;
    QTest::newRow("first birthday") << QDate(2025, 12, 1) << QDate(2026, 12, 1) << u"1 years"_s
                                    << true;
    QTest::newRow("a day short of eighteen") << QDate(2008, 12, 2) << QDate(2026, 12, 1)
                                             << u"17 years"_s << true;
    QTest::newRow("eighteenth birthday") << QDate(2008, 12, 1) << QDate(2026, 12, 1)
                                         << u"18 years"_s << false;
    QTest::newRow("leap-day birth, the day before March")
        << QDate(2008, 2, 29) << QDate(2026, 2, 28) << u"17 years"_s << true;
    QTest::newRow("leap-day birth, first of March")
        << QDate(2008, 2, 29) << QDate(2026, 3, 1) << u"18 years"_s << false;
    QTest::newRow("birth date after the signing") << QDate(2027, 1, 1) << QDate(2026, 12, 1)
                                                  << QString() << false;
    QTest::newRow("no birth date") << QDate() << QDate(2026, 12, 1) << QString() << false;
}

void tst_NursingSheets::consentAge()
{
    QFETCH(QDate, born);
    QFETCH(QDate, on);
    QFETCH(QString, age);
    QFETCH(bool, minor);
    QCOMPARE(ageText(born, on), age);
    QCOMPARE(isMinor(born, on), minor);
}

void tst_NursingSheets::consentRules_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<QVariantMap>("typed");
    QTest::addColumn<QDate>("born"); // the patient's birth date; invalid keeps the demo's
    QTest::addColumn<QStringList>("signers");
    QTest::addColumn<QString>("told");
    const auto kind = [](ConsentKind k) { return int(k); };
    const QVariantMap surgery{{u"Surgeon"_s, u"REYES, ANTONIO"_s},
                              {u"Procedure"_s, u"APPENDECTOMY"_s}};
    const QVariantMap plain{{u"Witness"_s, u"DELA CRUZ, MARIA"_s}};
    const QStringList signs{u"2903"_s};
    const QString surgeon = u"Please provide name of surgeon."_s;
    QTest::newRow("surgical consent without surgeon")
        << kind(ConsentKind::SurgicalTreatment)
        << QVariantMap{{u"Procedure"_s, u"APPENDECTOMY"_s}} << QDate() << signs << surgeon;
    QTest::newRow("surgical consent without procedure")
        << kind(ConsentKind::SurgicalTreatment) << QVariantMap{{u"Surgeon"_s, u"REYES, A"_s}}
        << QDate() << signs << u"Please provide procedure details."_s;
    QTest::newRow("special treatment without doctor")
        << kind(ConsentKind::SpecialTreatment)
        << QVariantMap{{u"Procedure"_s, u"BLOOD TRANSFUSION"_s}} << QDate() << signs << surgeon;
    QTest::newRow("sterilization without procedure")
        << kind(ConsentKind::Sterilization) << QVariantMap{{u"Authorized"_s, u"LIM, GRACE"_s}}
        << QDate() << signs << u"Please specify name of procedure."_s;
    QTest::newRow("a minor signs alone")
        << kind(ConsentKind::Treatment) << plain << QDate(2016, 6, 15) << signs
        << u"The patient is a minor (10 years of age). Please provide the representative who "
           u"signs for the patient."_s;
    QTest::newRow("unable to sign, nobody for him")
        << kind(ConsentKind::Treatment)
        << QVariantMap{{u"Reason"_s, u"UNCONSCIOUS"_s}} << QDate() << signs
        << u"Please provide the representative who signs for the patient."_s;
    QTest::newRow("representative without relationship")
        << kind(ConsentKind::SurgicalTreatment)
        << QVariantMap{{u"Surgeon"_s, u"REYES, A"_s}, {u"Procedure"_s, u"APPENDECTOMY"_s},
                       {u"Representative"_s, u"SANTOS, LIZA"_s}}
        << QDate() << signs
        << u"Please provide the representative's relationship to the patient."_s;
    QTest::newRow("reason of 5,000 characters")
        << kind(ConsentKind::SpecialTreatment)
        << QVariantMap{{u"Doctor"_s, u"REYES, A"_s}, {u"Procedure"_s, u"CHEMOTHERAPY"_s},
                       {u"Representative"_s, u"SANTOS, LIZA"_s}, {u"Relation"_s, u"WIFE"_s},
                       {u"Reason"_s, QString(5000, u'X')}}
        << QDate() << signs
        << u"\"Patient is unable to sign because\" is 5,000 characters long; it may hold at "
           u"most 1,000."_s;
    QTest::newRow("re-validation fails") << kind(ConsentKind::SurgicalTreatment) << surgery
                                         << QDate() << QStringList()
                                         << u"Invalid user information! "_s;
    QTest::newRow("a minor with his mother")
        << kind(ConsentKind::SpecialTreatment)
        << QVariantMap{{u"Doctor"_s, u"REYES, A"_s}, {u"Procedure"_s, u"BONE MARROW BIOPSY"_s},
                       {u"Representative"_s, u"SANTOS, LIZA"_s}, {u"Relation"_s, u"MOTHER"_s}}
        << QDate(2026, 9, 20) << signs << u"Consent for Special Treatment successfully saved."_s;
    QTest::newRow("sterilization") << kind(ConsentKind::Sterilization)
                                   << QVariantMap{{u"Procedure"_s, u"BILATERAL TUBAL LIGATION"_s}}
                                   << QDate() << signs
                                   << u"Consent for Sterilization Procedure successfully saved."_s;
}

void tst_NursingSheets::consentRules()
{
    QFETCH(int, kind);
    QFETCH(QVariantMap, typed);
    QFETCH(QDate, born);
    QFETCH(QStringList, signers);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    const CurrentPatientRecord stay = freshStay(db);
    if (born.isValid())
        bornOn(db, stay.IdNum, born);
    Consent consent(f.session, nullptr, ConsentKind(kind));
    QVERIFY(consent.open(stay));
    FormRecord r = consent.form().record();
    for (auto it = typed.cbegin(); it != typed.cend(); ++it)
        r.setText(it.key(), it.value().toString());
    consent.setRecord(r);
    for (const QString &code : signers)
        f.dialogs.sign(code);
    f.notifier.answer({true});
    const bool saved = told.endsWith(u"successfully saved."_s);
    QCOMPARE(consent.save(), saved);
    QCOMPARE(f.notifier.lastText(), told);
    const QString table = consent.form().definition().table;
    QCOMPARE(text(db, u"select count(*) from "_s + table + u" where IDNum = :id"_s, stay.IdNum),
             saved ? u"1"_s : u"0"_s);
    if (ConsentKind(kind) == ConsentKind::SpecialTreatment && saved)
        QCOMPARE(text(db, u"select MinorAge from "_s + table + u" where IDNum = :id"_s,
                      stay.IdNum),
                 u"2 months"_s);
}

void tst_NursingSheets::consentSavedTwicePrintedDeleted()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    Reports reports(db, f);
    const CurrentPatientRecord stay = freshStay(db);
    bornOn(db, stay.IdNum, QDate(1990, 3, 15));
    Consent consent(f.session, &reports.service, ConsentKind::SurgicalTreatment);
    QVERIFY(consent.open(stay));
    QVERIFY(!consent.print());
    QCOMPARE(f.notifier.lastText(), u"Please save the form before printing it."_s);
    FormRecord r = consent.form().record();
    r.setText(u"Surgeon"_s, u"REYES, ANTONIO"_s);
    r.setText(u"Procedure"_s, u"OPEN CHOLECYSTECTOMY"_s);
    r.setText(u"Exception"_s, u"NO BLOOD TRANSFUSION"_s);
    r.setText(u"DateSigned"_s, u"2026-11-30"_s);
    for (const QString &witness : {u"FIRST WITNESS"_s, u"DELA CRUZ, MARIA"_s}) {
        r.setText(u"Witness"_s, witness);
        consent.setRecord(r);
        f.dialogs.sign(u"2903"_s);
        f.notifier.answer({true});
        QVERIFY(witness == u"FIRST WITNESS" ? consent.save() : consent.saveAndPrint());
    }
    QCOMPARE(text(db, u"select count(*) || Witness || UserID from STATION..tbSurgicalAuthorization "
                      u"where IDNum = :id group by Witness, UserID"_s,
                  stay.IdNum),
             u"1DELA CRUZ, MARIA2903"_s);
    const QString html = reports.printed();
    for (const QString &shown : {u"REYES, ANTONIO"_s, u"OPEN CHOLECYSTECTOMY"_s,
                                 u"NO BLOOD TRANSFUSION"_s, u"36 years"_s, u"11/30/2026"_s})
        QVERIFY2(html.contains(shown), qPrintable(shown));

    // Read back in a new window: the same consent; then deleted, with its log.
    Consent again(f.session, &reports.service, ConsentKind::SurgicalTreatment);
    QVERIFY(again.open(stay));
    QCOMPARE(again.form().record().text(u"Witness"_s), u"DELA CRUZ, MARIA"_s);
    QCOMPARE(again.signingDay(), QDate(2026, 11, 30));
    f.notifier.answer({true});
    QVERIFY(again.form().remove());
    QCOMPARE(f.notifier.lastText(), u"Authorization for Surgical Treatment record deleted."_s);
    QCOMPARE(text(db, u"select count(*) from STATION..tbSurgicalAuthorization where IDNum = :id"_s,
                  stay.IdNum),
             u"0"_s);
    QCOMPARE(text(db, u"select Remarks from STATION..tbStationLogs where IdNum = :id "
                      u"order by LogID desc limit 1"_s,
                  stay.IdNum),
             u"Deleted Surgical Treatment Consent"_s);
}

void tst_NursingSheets::fluidTotals_data()
{
    // Per shift: oral, parenteral, urine, drainage, others; an empty list is a shift left out.
    QTest::addColumn<QList<QList<int>>>("shifts");
    QTest::addColumn<QList<int>>("day"); // intake, output, balance of the 24 hours
    QTest::addColumn<QStringList>("printed");
    QTest::newRow("three shifts")
        << QList<QList<int>>{{300, 750, 600, 50, 0}, {250, 500, 450, 0, 100}, {0, 800, 700, 25, 0}}
        << QList<int>{2600, 1925, 675} << QStringList{u"1,050"_s, u"2,600"_s, u"1,925"_s, u"675"_s};
    QTest::newRow("only the morning shift")
        << QList<QList<int>>{{120, 1000, 0, 0, 0}, {}, {}} << QList<int>{1120, 0, 1120}
        << QStringList{u"1,120"_s};
    QTest::newRow("more out than in")
        << QList<QList<int>>{{}, {100, 200, 400, 150, 100}, {}} << QList<int>{300, 650, -350}
        << QStringList{u"-350"_s, u"650"_s};
}

void tst_NursingSheets::fluidTotals()
{
    QFETCH(QList<QList<int>>, shifts);
    QFETCH(QList<int>, day);
    QFETCH(QStringList, printed);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    Reports reports(db, f);
    const CurrentPatientRecord stay = freshStay(db);
    FluidSheet sheet(f.session, &reports.service);
    QVERIFY(sheet.open(stay));
    QVERIFY(sheet.setDate(sheet.today().addDays(-1)));
    for (int n = 0; n < shifts.size(); ++n) {
        const QList<int> &a = shifts.at(n);
        if (a.isEmpty())
            continue;
        const QString code = fluidShifts().at(n).code;
        sheet.setAmounts(code, FluidAmounts{a.at(0), a.at(1), a.at(2), a.at(3), a.at(4)});
        QVERIFY(sheet.save(code));
        QCOMPARE(f.notifier.lastText(), u"Record updated."_s);
    }
    // What the sheet shows, and what it reads back from the table.
    FluidSheet reread(f.session, &reports.service);
    QVERIFY(reread.open(stay));
    QVERIFY(reread.setDate(reread.today().addDays(-1)));
    for (FluidSheet *s : {&sheet, &reread}) {
        const FluidAmounts total = s->total();
        QCOMPARE((QList<int>{total.intake(), total.output(), total.balance()}), day);
    }
    QCOMPARE(text(db, u"select sum(InputTotal) - sum(OutputTotal) from STATION..tbNurseFluid "
                      u"where IDNum = :id"_s,
                  stay.IdNum)
                 .toInt(),
             day.at(2));
    QVERIFY(sheet.print());
    const QString html = reports.printed();
    for (const QString &figure : printed)
        QVERIFY2(html.contains(u'>' + figure + u'<'), qPrintable(figure));
    QVERIFY(html.contains(u"24 Hrs. TOTAL"_s));
    // "Print All" prints this day and the day before it too.
    QVERIFY(sheet.setDate(sheet.today().addDays(-2)));
    sheet.setAmounts(fluidShifts().at(0).code, FluidAmounts{1, 0, 0, 0, 0});
    QVERIFY(sheet.save(fluidShifts().at(0).code));
    QVERIFY(sheet.print(true));
    const QString all = reports.printed();
    QVERIFY(all.contains(sheet.today().addDays(-1).toString(u"MM/dd/yyyy"_s)));
    QVERIFY(all.contains(sheet.today().addDays(-2).toString(u"MM/dd/yyyy"_s)));
}

void tst_NursingSheets::fluidRefusals_data()
{
    QTest::addColumn<bool>("patient");
    QTest::addColumn<int>("daysAhead");
    QTest::addColumn<QString>("shift");
    QTest::addColumn<int>("urine");
    QTest::addColumn<QString>("told");
    QTest::newRow("no patient selected") << false << 0 << u"7AM-3PM"_s << 100
                                         << u"Please select patient."_s;
    QTest::newRow("a shift that does not exist")
        << true << 0 << u"2PM-10PM"_s << 100
        << u"There is no shift \"2PM-10PM\". The shifts are 7 AM to 3 PM, 3 PM to 11 PM and "
           u"11 PM to 7 AM."_s;
    QTest::newRow("tomorrow") << true << 1 << u"7AM-3PM"_s << 100
                              << u"12/02/2026 is after today (12/01/2026). Please choose today "
                                 u"or an earlier date."_s;
    QTest::newRow("a negative amount")
        << true << 0 << u"3PM-11PM"_s << -5
        << u"An amount of the 3 PM to 11 PM shift is out of range: amounts are whole cc from 0 "
           u"to 99,999."_s;
}

void tst_NursingSheets::fluidRefusals()
{
    QFETCH(bool, patient);
    QFETCH(int, daysAhead);
    QFETCH(QString, shift);
    QFETCH(int, urine);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    FluidSheet sheet(f.session, nullptr);
    QVERIFY(sheet.open(patient ? freshStay(db) : CurrentPatientRecord()));
    const auto rows = [&db] { return db.scalar(u"select count(*) from STATION..tbNurseFluid"_s); };
    const QVariant before = rows().value();
    const bool dated = sheet.setDate(sheet.today().addDays(daysAhead));
    QCOMPARE(dated, daysAhead <= 0);
    if (dated) {
        sheet.setAmounts(shift, FluidAmounts{0, 0, urine, 0, 0});
        QVERIFY(!sheet.save(shift));
    }
    QCOMPARE(f.notifier.lastText(), told);
    QCOMPARE(rows().value(), before);
}

void tst_NursingSheets::hourlyGrid_data()
{
    QTest::addColumn<QList<QStringList>>("cells"); // TIME, eight amounts, Remarks
    QTest::addColumn<QString>("refused");
    QTest::addColumn<QList<int>>("totals"); // intake and output of each row kept
    const auto row = [](const QString &time, QStringList cc, const QString &remark = {}) {
        cc.resize(HourlyRow::AmountCount);
        return QStringList{time} + cc + QStringList{remark};
    };
    QTest::newRow("blank rows and cells left out")
        << QList<QStringList>{row(u"8:00 AM"_s, {u"80"_s, u"30"_s, {}, u"100"_s, u"60"_s, u"15"_s,
                                                  {}, {}}),
                              row({}, {{}, {}, {}, {}, {}, {}, {}, {}}),
                              row(u"9:00 AM"_s, {u"80"_s, {}, {}, {}, u"45"_s, {}, {}, u"5"_s},
                                  u"VOMITED ONCE"_s)}
        << QString() << QList<int>{210, 75, 80, 50};
    QTest::newRow("letters in an amount")
        << QList<QStringList>{row(u"8:00 AM"_s, {u"80"_s, {}, {}, {}, u"6O"_s, {}, {}, {}})}
        << u"Row 1: \"6O\" under Urine is no amount. Please enter whole cc from 0 to 99,999."_s
        << QList<int>{};
    QTest::newRow("remark of 5,000 characters")
        << QList<QStringList>{row(u"8:00 AM"_s, {u"80"_s, {}, {}, {}, {}, {}, {}, {}}),
                              row(u"9:00 AM"_s, {}, QString(5000, u'R'))}
        << u"Row 2: the remark is 5,000 characters long; it may hold at most 1,000."_s
        << QList<int>{};
}

void tst_NursingSheets::hourlyGrid()
{
    QFETCH(QList<QStringList>, cells);
    QFETCH(QString, refused);
    QFETCH(QList<int>, totals);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    HourlySheet sheet(f.session, nullptr);
    const CurrentPatientRecord stay = freshStay(db);
    QVERIFY(sheet.open(stay));
    QCOMPARE(sheet.setCells(cells).value_or(QString()), refused);
    QCOMPARE(sheet.saveAndPrint(), false); // no report service: saved, not printed
    QList<int> found;
    for (const HourlyRow &r : sheet.rows())
        found << r.intakeTotal() << r.outputTotal();
    if (!refused.isEmpty()) {
        QCOMPARE(f.notifier.lastText(), refused);
        QCOMPARE(sheet.savedDays().size(), 0);
        return;
    }
    QCOMPARE(f.notifier.lastText(), u"Successfully saved record."_s);
    QCOMPARE(found, totals);
    QCOMPARE(text(db, u"select sum(IntakeTotal) || '/' || sum(OutputTotal) || '/' || "
                      u"count(LALF) from STATION..tbHourlyMonitoringSheet where IDnum = :id"_s,
                  stay.IdNum),
             u"290/125/1"_s);
}

void tst_NursingSheets::hourlyDaysSavedPrintedDeleted()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    Reports reports(db, f);
    const CurrentPatientRecord stay = freshStay(db);
    HourlySheet sheet(f.session, &reports.service);
    QVERIFY(sheet.open(stay));
    const QDate today = sheet.today();
    QVERIFY(!sheet.setDate(today.addDays(1)));
    QCOMPARE(f.notifier.lastText(), u"12/02/2026 is after today (12/01/2026). Please choose "
                                    u"today or an earlier date."_s);
    for (int back : {2, 1}) {
        QVERIFY(sheet.setDate(today.addDays(-back)));
        QVERIFY(!sheet.setCells({{u"7:00 AM"_s, u"90"_s, {}, {}, u"50"_s, u"70"_s, {}, {}, {},
                                  u"DAY %1"_s.arg(back)},
                                 {u"8:00 AM"_s, u"90"_s, {}, {}, {}, u"30"_s, u"20"_s, {}, {}, {}}}));
        QVERIFY(sheet.saveAndPrint());
        const QString html = reports.printed();
        QVERIFY(html.contains(u"DAY %1"_s.arg(back)));
        QVERIFY(html.contains(u"<b>230</b>"_s) && html.contains(u"<b>120</b>"_s)); // the day
    }
    QCOMPARE(sheet.savedDays(), (QList<QDate>{today.addDays(-2), today.addDays(-1)}));
    QVERIFY(sheet.setDate(today.addDays(-2)));
    f.notifier.answer({true});
    QVERIFY(sheet.deleteDay());
    const QString day = today.addDays(-2).toString(u"MM/dd/yyyy"_s);
    QCOMPARE(f.notifier.boxes().at(f.notifier.boxes().size() - 2).text,
             u"This will delete saved record for this patient on %1. Are you sure to continue?"_s
                 .arg(day));
    QCOMPARE(f.notifier.lastText(), u"Record for %1 successfully deleted."_s.arg(day));
    QCOMPARE(sheet.savedDays(), QList<QDate>{today.addDays(-1)});
    QCOMPARE(text(db, u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                      u"Remarks = 'RESET Hourly Monitoring Sheet'"_s,
                  stay.IdNum),
             u"1"_s);
}

void tst_NursingSheets::twoWorkstationsReplaceOneRecord_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QString>("readBack"); // what identifies one whole write
    QTest::addColumn<QStringList>("whole"); // what it reads after either workstation's write
    QTest::newRow("hourly sheet of a day")
        << u"hourly"_s
        << u"select count(*) || '/' || min(Remarks) || '/' || max(Remarks) from "
           u"STATION..tbHourlyMonitoringSheet where IDnum = :id"_s
        << QStringList{u"2/W0/W0"_s, u"3/W1/W1"_s};
    QTest::newRow("shift of a fluid sheet")
        << u"fluid"_s
        << u"select count(*) || '/' || min(Oral) || '/' || max(InputTotal - Parenteral) from "
           u"STATION..tbNurseFluid where IDNum = :id"_s
        << QStringList{u"1/1/1"_s, u"1/2/2"_s};
    QTest::newRow("consent") << u"consent"_s
                             << u"select count(*) || '/' || min(Witness) || '/' || max(Reason) "
                                u"from STATION..tbConsentTreatment where IDNum = :id"_s
                             << QStringList{u"1/W0/W0"_s, u"1/W1/W1"_s};
}

void tst_NursingSheets::twoWorkstationsReplaceOneRecord()
{
    QFETCH(QString, record);
    QFETCH(QString, readBack);
    QFETCH(QStringList, whole);
    KESTREL_OPEN_DEMO(db);
    const ConnectionSettings shared = (*dbResult)->settings();
    const QString id = freshStay(db).IdNum;
    const QDate day(2026, 11, 30);
    const FormDefinition treatment = consentDefinition(ConsentKind::Treatment);
    // Workstation w writes w + 2 hourly rows, or the amount w + 1, tagged with its number.
    const auto write = [&](Database &own, int w) -> Result<void> {
        const QString tag = u"W%1"_s.arg(w);
        if (record == u"hourly") {
            QList<HourlyRow> rows(w + 2);
            for (HourlyRow &r : rows) {
                r.time = u"8:00 AM"_s;
                r.remarks = tag;
            }
            return SheetStore(own).saveHourly(id, day, rows, tag);
        }
        if (record == u"fluid")
            return SheetStore(own).saveFluid(id, day, u"7AM-3PM"_s,
                                             FluidAmounts{w + 1, 0, 0, 0, 0}, tag);
        FormRecord consent;
        for (const QString &column : {u"Witness"_s, u"Reason"_s, u"Representative"_s})
            consent.setText(column, tag);
        consent.setText(u"Relation"_s, u"SON"_s);
        return FormStore(own, treatment).save(id, consent, tag);
    };
    for (int round = 0; round < 3; ++round) {
        std::latch start(2);
        std::array<Result<void>, 2> outcome;
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
                outcome[std::size_t(w)] = write(**own, w);
            });
        for (std::thread &t : workstations)
            t.join();
        for (const auto &o : outcome)
            QVERIFY2(o, qPrintable(o ? QString() : o.error().message));
        const QString found = text(db, readBack, id);
        QVERIFY2(whole.contains(found), qPrintable(found));
    }
}

void tst_NursingSheets::windowsShowWhatTheyRead()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    CurrentPatientRecord stay;
    stay.IdNum = db.scalar(u"select min(IDNum) from STATION..tbNurseFluid where DateEntered = "
                           u":today"_s,
                           {{u"today"_s, Database::isoText(fixtureToday())}})
                     .value()
                     .toString();
    QVERIFY(!stay.IdNum.isEmpty());
    const auto sum = [&](const QString &sql) { return text(db, sql, stay.IdNum); };

    frmFluid fluid(f.session, nullptr);
    QVERIFY(fluid.open(stay));
    auto *grid = fluid.findChild<QTableWidget *>(u"grdFluid"_s);
    const auto dayIntake = [grid] { return grid->item(3, 3)->text(); };
    QCOMPARE(dayIntake(), sum(u"select sum(InputTotal) from STATION..tbNurseFluid where IDNum = "
                              u":id and DateEntered = (select max(DateEntered) from "
                              u"STATION..tbNurseFluid)"_s));
    // Typed into the night shift, the day's total follows before anything is saved.
    const int before = dayIntake().toInt();
    fluid.findChild<QSpinBox *>(u"txtFluid_1_2"_s)->setValue(250);
    QCOMPARE(dayIntake().toInt(), before + 250);
    QCOMPARE(grid->item(9, 2)->text(), u"250"_s); // the night's balance

    frmHourlyMonitor hourly(f.session, nullptr);
    QVERIFY(hourly.open(stay));
    auto *entry = hourly.findChild<QTableWidget *>(u"grdEntry"_s);
    QCOMPARE(entry->item(0, 0)->text(),
             sum(u"select HourTime from STATION..tbHourlyMonitoringSheet where IDnum = :id and "
                 u"RowNo = 1 and Date = (select max(Date) from STATION..tbHourlyMonitoringSheet)"_s));

    frmConsent consent(f.session, nullptr, nullptr, ConsentKind::SurgicalTreatment);
    QVERIFY(consent.open(stay));
    QCOMPARE(consent.findChild<QLineEdit *>(u"txtSurgeon"_s)->text(),
             sum(u"select Surgeon from STATION..tbSurgicalAuthorization where IDNum = :id"_s));
    QVERIFY(!consent.findChild<QLineEdit *>(u"txtAge"_s)->text().isEmpty());
}

QTEST_MAIN(tst_NursingSheets)
#include "tst_nursingsheets.moc"
