// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Exam requests on every backend, on the demo hospital's first ward patient (a creatinine
// waiting for the laboratory, a urinalysis another station's request had processed this
// morning, a prothrombin time another station revoked): the request checks in their order,
// exams requested through the profile and their laboratory form printed and printed again, the
// pharmacy's form printed again, and two workstations requesting the same exam at once.
#include "core/db/Database.h"
#include "examrequests/ExamRequestEntry.h"
#include "examrequests/LabRequestForms.h"
#include "examrequests/RequestReprint.h"
#include "examrequests/SelectLabExam.h"
#include "profile/PatientProfile.h"
#include "reports/RenderedReport.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QMutex>
#include <QTest>

#include <latch>
#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

QString demoStay(Database &db)
{
    auto id = db.scalar(u"select IDNum from STATION..tbNurseCommunicationfile "
                        u"where RequestNum = 'LBD00001'"_s);
    return id ? id->toString().trimmed() : QString();
}

// The texts of the boxes shown since `from`.
QStringList boxesSince(const test::RecordingNotifier &notifier, int from)
{
    QStringList texts;
    for (int i = from; i < notifier.boxes().size(); ++i)
        texts << notifier.boxes().at(i).text;
    return texts;
}

struct Printing
{
    explicit Printing(Database &db)
        : f(db, u"2902"_s)
        , reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s}, display,
                  f.notifier)
    {
    }
    QString printed() const
    {
        return display.last() ? display.last()->html() + display.last()->footerHtml(1) : QString();
    }
    QString title() const
    {
        return display.shown().isEmpty() ? QString() : display.shown().last().options.title;
    }
    test::MainWindowFixture f;
    test::RecordingReportDisplay display;
    ReportService reports;
};

} // namespace

class tst_ExamRequests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void checksInOrder_data();
    void checksInOrder();
    void requestedFromProfileAndPrinted();
    void pharmacyFormPrintedAgain();
    void twoWorkstationsRequestOnce();
    void tabularResultsOfChosenExams_data();
    void tabularResultsOfChosenExams();
};

void tst_ExamRequests::checksInOrder_data()
{
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("codes"); // picked in turn; the last is the one checked
    QTest::addColumn<QString>("stat");      // typed into the last line's STAT column
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("told");  // the boxes of the last step
    QTest::addColumn<int>("lines");

    const QString pending = u"This examination was already requested (LBD00001) and is not "
                            u"yet processed. Date requested: 12/01/2026 07:10:00 AM"_s;
    const QString processedToday =
        u"This Request has been PROCCESSED TODAY AT 08:30 AM! Do you wish to REPEAT it ?"_s;
    const QString processedElsewhere =
        u"Item(s)/exam(s) requested has been processed By: MT-0412 at 12/01/2026 08:30:00 AM"_s;
    const QString inProfile =
        u"This Exam COMPLETE BLOOD COUNT is included in this Profile(PRE-OPERATIVE PROFILE)"_s;
    const QString routineOnly = u"LIPID PANEL is always done as a routine examination."_s;
    const QStringList none;

    QTest::newRow("already requested") << u""_s << QStringList{u"LB004"_s} << u""_s
                                       << QList<bool>{} << QStringList{pending} << 0;
    QTest::newRow("already requested before processed today")
        << u"processed LB004"_s << QStringList{u"LB004"_s} << u""_s << QList<bool>{true}
        << QStringList{pending} << 0;
    QTest::newRow("processed today, not repeated")
        << u""_s << QStringList{u"LB005"_s} << u""_s << QList<bool>{false}
        << QStringList{processedToday} << 0;
    QTest::newRow("processed today by another station, repeated")
        << u""_s << QStringList{u"LB005"_s} << u""_s << QList<bool>{true}
        << QStringList{processedToday, processedElsewhere} << 0;
    QTest::newRow("processed today here, repeated")
        << u"processed here"_s << QStringList{u"LB005"_s} << u""_s << QList<bool>{true}
        << QStringList{processedToday} << 1;
    QTest::newRow("in a profile ordered") << u""_s << QStringList{u"LB200"_s, u"LB001"_s}
                                          << u""_s << QList<bool>{} << QStringList{inProfile}
                                          << 1;
    QTest::newRow("an order in the profile")
        << u""_s << QStringList{u"LB001"_s, u"LB200"_s} << u""_s << QList<bool>{}
        << QStringList{u"The Exam COMPLETE BLOOD COUNT in the ORDER LIST is included in this "
                       u"Profile(PRE-OPERATIVE PROFILE)"_s}
        << 1;
    QTest::newRow("in a profile before revoked elsewhere")
        << u""_s << QStringList{u"LB200"_s, u"LB002"_s} << u""_s << QList<bool>{}
        << QStringList{u"This Exam PROTHROMBIN TIME is included in this "
                       u"Profile(PRE-OPERATIVE PROFILE)"_s}
        << 1;
    QTest::newRow("revoked by another station")
        << u""_s << QStringList{u"LB002"_s} << u""_s << QList<bool>{}
        << QStringList{u"Item(s)/exam(s) requested has been revoked By: 2905 at 12/01/2026 "
                       u"07:45:00 AM"_s}
        << 0;
    QTest::newRow("STAT neither Y nor N") << u""_s << QStringList{u"LB001"_s} << u"X"_s
                                          << QList<bool>{}
                                          << QStringList{u"Please enter Y (STAT) or N "
                                                         u"(Routine)."_s}
                                          << 1;
    QTest::newRow("STAT for a routine-only exam")
        << u""_s << QStringList{u"LB202"_s} << u"Y"_s << QList<bool>{}
        << QStringList{routineOnly} << 1;
    QTest::newRow("routine-only before cash basis")
        << u"cash basis"_s << QStringList{u"LB202"_s} << u"Y"_s << QList<bool>{}
        << QStringList{routineOnly} << 1;
    QTest::newRow("routine for a STAT-only exam")
        << u""_s << QStringList{u"LB201"_s} << u"N"_s << QList<bool>{}
        << QStringList{u"ARTERIAL BLOOD GAS, STAT is always done STAT."_s} << 1;
    QTest::newRow("STAT for a cash-basis patient")
        << u"cash basis"_s << QStringList{u"LB001"_s} << u"Y"_s << QList<bool>{}
        << QStringList{u"STAT requests are not accepted for Cash Basis Patients! "_s} << 1;
    QTest::newRow("STAT allowed") << u""_s << QStringList{u"LB001"_s} << u"Y"_s
                                  << QList<bool>{} << none << 1;
    QTest::newRow("priced at zero") << u"zero price"_s << QStringList{u"LB203"_s} << u""_s
                                    << QList<bool>{}
                                    << QStringList{u"Cannot charge examination with Zero(0) "
                                                   u"amount."_s}
                                    << 0;
    QTest::newRow("twice on the list") << u""_s << QStringList{u"LB201"_s, u"LB201"_s} << u""_s
                                       << QList<bool>{}
                                       << QStringList{u"Examination is already in the Orders "
                                                      u"List."_s}
                                       << 1;
}

void tst_ExamRequests::checksInOrder()
{
    QFETCH(QString, setup);
    QFETCH(QStringList, codes);
    QFETCH(QString, stat);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, told);
    QFETCH(int, lines);
    KESTREL_OPEN_DEMO(db);
    const QString stay = demoStay(db);
    QVERIFY(!stay.isEmpty());
    const Binds id{{u"id"_s, stay}};
    if (setup == u"processed LB004")
        QVERIFY(db.exec(u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, "
                        u"StationID, ExamCode, RevenueID, RequestDate, RecordStatus, "
                        u"ProcessDate) values ('LBT1', :id, 'OR', 'LB004', 'LB', "
                        u"'2026-12-01 06:00:00', 'X', '2026-12-01 06:30:00')"_s,
                        id));
    if (setup == u"processed here")
        QVERIFY(db.exec(u"update STATION..tbNurseCommunicationfile set StationID = 'OR' "
                        u"where RequestNum = 'LBD00002'"_s));
    if (setup == u"cash basis")
        QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 1 where IDNum = :id"_s,
                        id));
    if (setup == u"zero price")
        QVERIFY(db.exec(u"update BUILD_FILE..tbCoExamRate set RateA = 0, RateB = 0, RateC = 0, "
                        u"RateD = 0, RateE = 0, RateF = 0, RateG = 0, RateH = 0, RateI = 0 "
                        u"where ExamID = 'LB203'"_s));

    test::MainWindowFixture f(db, u"2902"_s);
    ExamRequestEntry entry(f.session, nullptr);
    QVERIFY(entry.open(stay, u"LB"_s));
    for (int i = 0; i + 1 < codes.size(); ++i)
        QVERIFY2(entry.pickExam(codes.at(i)), qPrintable(f.notifier.lastText()));
    f.notifier.answer(answers);
    const int before = int(f.notifier.boxes().size());
    const bool picked = entry.pickExam(codes.last());
    if (picked && !stat.isEmpty())
        QCOMPARE(entry.setStat(int(entry.lines().size()), stat), told.isEmpty());
    QCOMPARE(boxesSince(f.notifier, before), told);
    QCOMPARE(int(entry.lines().size()), lines);
}

void tst_ExamRequests::requestedFromProfileAndPrinted()
{
    KESTREL_OPEN_DEMO(db);
    const QString stay = demoStay(db);
    Printing p(db);
    ExamRequestEntry entry(p.f.session, nullptr);
    QVERIFY(entry.open(stay, u"LB"_s));
    QVERIFY(entry.pickExam(u"LB201"_s) && entry.pickExam(u"LB203"_s));
    QVERIFY(entry.setQuantity(2, u"1"_s));
    entry.setRemarks(2, u"LEFT BREAST MASS"_s);
    // The tissue exam needs its specimen named.
    entry.setSpecimen(2, Specimen{u"0"_s, u"None"_s});
    QVERIFY(!entry.accept());
    QVERIFY(p.f.notifier.lastText().startsWith(u"Please choose the specimen of SURGICAL"_s));
    entry.setSpecimen(2, Specimen{u"TIS"_s, u"TISSUE"_s});
    QList<ExamRequestLine> accepted;
    connect(&entry, &ExamRequestEntry::accepted, this,
            [&](const QList<ExamRequestLine> &lines) { accepted = lines; });
    QVERIFY(entry.accept());
    QCOMPARE(accepted.size(), 2);

    PatientProfile profile(p.f.session);
    WindowRequest request;
    request.values = {{u"IdNum"_s, stay}};
    QVERIFY(profile.open(request));
    for (const ExamRequestLine &line : std::as_const(accepted))
        QVERIFY(profile.commonExams().addRequested(ExamRequestEntry::toOrder(line)));
    p.f.notifier.answer({true});
    QCOMPARE(profile.commonExams().save(profile.header()), CommonExams::Outcome::Saved);
    auto sent = db.select(u"select ExamCode, StatFlag, Specimen, Section, Remarks from "
                          u"STATION..tbNurseCommunicationfile where IDNum = :id and "
                          u"RequestNum like 'LB0%' order by ExamCode"_s,
                          {{u"id"_s, stay}});
    QVERIFY(sent && sent->count() == 2);
    QCOMPARE(sent->at(0).text(u"StatFlag"), u"Y"_s);
    QCOMPARE(sent->at(1).text(u"Specimen") + u'|' + sent->at(1).text(u"Section") + u'|' +
                 sent->at(1).text(u"Remarks"),
             u"TISSUE|HIS|LEFT BREAST MASS"_s);

    // The form of the two new requests: the waiting creatinine is listed, not chosen.
    LabRequestForms print(p.f.session, LabRequestForms::Mode::Print);
    print.setReports(&p.reports);
    QVERIFY(print.open(stay));
    QVERIFY(!print.print());
    QCOMPARE(p.f.notifier.lastText(), u"No laboratory exams was selected."_s);
    QCOMPARE(print.count(), 3);
    for (int row = 0; row < print.count(); ++row)
        print.setChosen(row, print.cells(row).at(0) != u"LB004");
    QVERIFY(print.print());
    QCOMPARE(p.title(), u"LABORATORY REQUEST FORM"_s);
    for (const QString &text : {u"ARTERIAL BLOOD GAS, STAT"_s, u"SURGICAL PATHOLOGY, TISSUE"_s,
                                u"TISSUE"_s, u"STAT"_s, u"ROUTINE"_s, u"In-Patient"_s})
        QVERIFY2(p.printed().contains(text), qPrintable(text));
    QVERIFY(!p.printed().contains(u"CREATININE"_s));

    // Printed again: the urinalysis the laboratory processed is there too; the revoked
    // prothrombin time never is.
    LabRequestForms reprint(p.f.session, LabRequestForms::Mode::Reprint);
    reprint.setReports(&p.reports);
    QVERIFY(reprint.open(stay));
    QCOMPARE(reprint.count(), 4);
    reprint.chooseAll(true);
    QVERIFY(reprint.print());
    QCOMPARE(p.title(), u"REPRINT LABORATORY REQUEST FORM"_s);
    QVERIFY(p.printed().contains(u"URINALYSIS"_s) && p.printed().contains(u"CREATININE"_s));
    QVERIFY(!p.printed().contains(u"PROTHROMBIN"_s));
    auto lines = db.scalar(u"select count(*) from LABORATORY..tbLabRequestForm "
                           u"where UserID = '2902'"_s);
    QVERIFY(lines && lines->toInt() == 4);
}

void tst_ExamRequests::pharmacyFormPrintedAgain()
{
    KESTREL_OPEN_DEMO(db);
    const QString stay = demoStay(db);
    // A medicine the station sent this morning, among the stay's earlier requests.
    auto sent = db.call(u"STATION..Nurse_AppendNurseLogBook"_s,
                        {stay, u"I"_s, u"PH1002"_s, u"95.00"_s, 2.0, u" "_s, u"Q6"_s,
                         u"12/01/2026 09:40:00 AM"_s, u"PH"_s, QString(), u"2902"_s,
                         u"FOR PAIN"_s, u"KETOROLAC 30 MG/ML AMPULE"_s, u"Y"_s, u"N"_s, u"0"_s,
                         u"0"_s, u"0"_s, 0, u"OR"_s});
    QVERIFY(sent && sent->count() == 1);
    const QString number = sent->at(0).text(u"RequestNum");
    Printing p(db);
    RequestReprint reprint(p.f.session);
    reprint.setReports(&p.reports);
    QVERIFY(reprint.open(stay, u"PH"_s));
    QVERIFY(!reprint.print());
    QCOMPARE(p.f.notifier.lastText(), u"Please select request transaction to reprint."_s);
    int row = 0;
    while (row < reprint.requestCount() && reprint.requestCells(row).at(0) != number)
        ++row;
    QVERIFY(reprint.choose(row));
    QCOMPARE(reprint.itemCount(), 1);
    QCOMPARE(reprint.itemCells(0).mid(1, 4),
             (QStringList{u"PH1002"_s, u"KETOROLAC 30 MG/ML AMPULE"_s, QString(), u"2"_s}));
    QVERIFY(reprint.print());
    QCOMPARE(p.title(), u"PHARMACY REQUEST FORM"_s);
    for (const QString &text : {u"DUPLICATE COPY"_s, number, u"KETOROLAC 30 MG/ML AMPULE"_s})
        QVERIFY2(p.printed().contains(text), qPrintable(text));
}

void tst_ExamRequests::twoWorkstationsRequestOnce()
{
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    const QString stay = demoStay((*created)->db());
    QMutex lock;
    QStringList outcomes, failures;
    std::latch bothEntered(2);
    const test::TestDatabase &hospital = **created;
    auto workstation = [&](int n) {
        auto db = hospital.openWorkstation(n);
        if (!db) {
            bothEntered.count_down();
            const QMutexLocker locked(&lock);
            failures << db.error().message;
            return;
        }
        test::MainWindowFixture station(**db, u"290%1"_s.arg(n + 1));
        ExamRequestEntry entry(station.session, nullptr);
        PatientProfile profile(station.session);
        WindowRequest request;
        request.values = {{u"IdNum"_s, stay}};
        // Both have the blood gas on their orders before either sends it.
        const bool entered = entry.open(stay, u"LB"_s) && entry.pickExam(u"LB201"_s) &&
                             profile.open(request) &&
                             profile.commonExams().addRequested(
                                 ExamRequestEntry::toOrder(entry.lines().constFirst()));
        bothEntered.arrive_and_wait();
        if (!entered) {
            const QMutexLocker locked(&lock);
            failures << station.notifier.lastText();
            return;
        }
        station.notifier.answer({true});
        profile.commonExams().save(profile.header());
        const QMutexLocker locked(&lock);
        outcomes << station.notifier.lastText().left(35);
    };
    std::thread first(workstation, 1), second(workstation, 2);
    first.join();
    second.join();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; ")));
    outcomes.sort();
    QCOMPARE(outcomes, (QStringList{u"ARTERIAL BLOOD GAS, STAT was reques"_s,
                                    u"The request(s) were sent to the dep"_s}));
    auto sent = (*created)->db().scalar(u"select count(*) from STATION..tbNurseCommunicationfile "
                                        u"where IDNum = :id and ExamCode = 'LB201'"_s,
                                        {{u"id"_s, stay}});
    QVERIFY(sent && sent->toInt() == 1);
}

void tst_ExamRequests::tabularResultsOfChosenExams_data()
{
    QTest::addColumn<QStringList>("codes"); // exams added in turn
    QTest::addColumn<bool>("all");
    QTest::addColumn<QStringList>("printed"); // test names the printout lists
    QTest::addColumn<QStringList>("left");    // test names it must not list
    QTest::addColumn<QString>("told");        // the last box, "" when none
    QTest::addColumn<int>("laterDays");       // creatinine released again on as many days

    QTest::newRow("chosen only") << QStringList{u"LB004"_s} << false
                                 << QStringList{u"CREATININE"_s, u"BLOOD CHEMISTRY"_s}
                                 << QStringList{u"HEMOGLOBIN"_s, u"URINE COLOR"_s} << u""_s << 0;
    QTest::newRow("all exams") << QStringList{} << true
                               << QStringList{u"CREATININE"_s, u"HEMOGLOBIN"_s, u"HEMATOLOGY"_s,
                                              u"URINE COLOR"_s}
                               << QStringList{} << u""_s << 0;
    QTest::newRow("nothing chosen")
        << QStringList{} << false << QStringList{} << QStringList{}
        << u"Please choose the laboratory exams to print, or tick \"All exams\"."_s << 0;
    QTest::newRow("unknown code") << QStringList{u"ZZ999"_s} << false << QStringList{}
                                  << QStringList{} << u"Examination code does not exist."_s << 0;
    // Seven days of results: the seventh is printed in the second part.
    QTest::newRow("second part") << QStringList{u"LB004"_s} << false
                                 << QStringList{u"CREATININE"_s} << QStringList{u"HEMOGLOBIN"_s}
                                 << u""_s << 6;
}

void tst_ExamRequests::tabularResultsOfChosenExams()
{
    QFETCH(QStringList, codes);
    QFETCH(bool, all);
    QFETCH(QStringList, printed);
    QFETCH(QStringList, left);
    QFETCH(QString, told);
    QFETCH(int, laterDays);
    KESTREL_OPEN_DEMO(db);
    const QString stay = demoStay(db);
    for (int day = 1; day <= laterDays; ++day) {
        QVERIFY(db.exec(u"insert into LABORATORY..tbLabResult (IdNum, SectionID, TestName, "
                        u"Result, ResultDate) values (:id, 'CHEM', 'CREATININE', :result, :at)"_s,
                        {{u"result"_s, u"LATER%1"_s.arg(day)},
                         {u"at"_s, test::fixtureNow().addDays(day)},
                         {u"id"_s, stay}}));
    }
    Printing p(db);
    SelectLabExam select(p.f.session, nullptr);
    select.setReports(&p.reports);
    QVERIFY(select.open(stay));
    for (const QString &code : std::as_const(codes)) {
        if (!select.addExam(code)) {
            QCOMPARE(p.f.notifier.lastText(), told);
            return;
        }
    }
    select.setAllExams(all);
    if (!told.isEmpty()) {
        QVERIFY(!select.view());
        QCOMPARE(p.f.notifier.lastText(), told);
        QVERIFY(p.display.shown().isEmpty());
        return;
    }
    QVERIFY(select.view());
    QCOMPARE(p.title(), u"LABORATORY Tabular Result"_s);
    const QString text = p.printed();
    for (const QString &name : std::as_const(printed))
        QVERIFY2(text.contains(name), qPrintable(name));
    for (const QString &name : std::as_const(left))
        QVERIFY2(!text.contains(name), qPrintable(name));
    // The creatinine's result stands under the column of the day it was released.
    auto creatinine = db.select(u"select Result, ResultDate from LABORATORY..tbLabResult "
                                u"where IdNum = :id and TestName = 'CREATININE' "
                                u"and ResultDate is not null order by ResultDate"_s,
                                {{u"id"_s, stay}});
    QVERIFY(creatinine && creatinine->count() == 1 + laterDays);
    if (laterDays == 6) {
        // The first six days in the first part's table, the seventh alone in the second's.
        const qsizetype second = text.indexOf(u"</table>"_s, text.indexOf(u"grid"_s));
        const QString seventh = creatinine->at(6).dateTime(u"ResultDate").toString(u"MM/dd/yyyy"_s);
        QVERIFY(text.lastIndexOf(u"LATER5"_s) < second && text.indexOf(u"LATER6"_s) > second);
        QVERIFY(text.indexOf(seventh) > second);
    }
    const QString day = creatinine->at(0).dateTime(u"ResultDate").toString(u"MM/dd/yyyy"_s);
    const QString result = creatinine->at(0).trimmed(u"Result");
    const qsizetype row = text.indexOf(u"CREATININE"_s);
    QVERIFY2(text.indexOf(day) >= 0 && text.indexOf(day) < row, qPrintable(day));
    QVERIFY2(text.mid(row, text.indexOf(u"</tr>"_s, row) - row).contains(result),
             qPrintable(result));
}

QTEST_MAIN(tst_ExamRequests)
#include "tst_examrequests.moc"
