// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR nurses' forms on the demo hospital: the shared pattern once (answer groups, replace,
// delete with its log, the refusals that leave nothing written), the surgical safety
// checklist's pauses and late answers, both checklists saved, read back and printed, and two
// workstations saving the same stay's checklist at once.
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "nursing/NursingForms.h"
#include "nursing/SurgicalSafety.h"
#include "nursing/ui/frmNursePreopChecklist.h"
#include "nursing/ui/frmSSC.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <array>
#include <latch>
#include <thread>
#include <vector>

using namespace kestrel;
using namespace kestrel::nursing;
using namespace kestrel::test;
using namespace Qt::StringLiterals;

namespace {

// A stay in the wards with no pre-operative checklist or safety checklist yet.
CurrentPatientRecord freshStay(Database &db)
{
    CurrentPatientRecord stay;
    stay.IdNum = db.scalar(u"select min(IDNum) from PATIENT_DATA..tbPatient where DcrDate is null "
                           u"and RecordStatus <> 'R' and IDNum not in (select IdNum from "
                           u"STATION..tbNursePreOp union select IdNum from STATION..tbORSSC)"_s)
                     .value()
                     .toString();
    stay.PatientName = u"DEMO PATIENT"_s;
    return stay;
}

qint64 count(Database &db, const QString &sql, const QString &id)
{
    return db.scalar(sql, {{u"id"_s, id}}).value().toLongLong();
}

// A checklist as a nurse fills it: answers to every item, the odd one with a remark.
FormRecord filledChecklist(const QString &tag)
{
    FormRecord r;
    const qsizetype n = preop::lines().size();
    QStringList answers, remarks;
    for (qsizetype i = 0; i < n; ++i) {
        answers << (i % 3 == 2 ? kNo : kYes);
        remarks << (i % 4 == 0 ? u"REMARK %1 %2"_s.arg(i).arg(tag) : QString());
    }
    r.setList(u"YesNo"_s, answers);
    r.setList(u"Remarks"_s, remarks);
    r.setText(u"Surgeon"_s, u"REYES, ANTONIO"_s);
    r.setText(u"Anesthesiologist"_s, u"LIM, GRACE"_s);
    r.setText(u"DateSched"_s, u"12/07/2026"_s);
    r.setText(u"TimeSched"_s, u"08:00 AM"_s);
    r.setText(u"ByWhom"_s, u"NURSE "_s + tag);
    r.setText(u"Operation"_s, u"OPEN CHOLECYSTECTOMY "_s + tag);
    r.setText(u"Spiritual"_s, u"PRAYED WITH FAMILY"_s);
    r.setList(u"Medicine"_s, {u"CEFAZOLIN"_s, u"RANITIDINE"_s, {}, {}});
    r.setList(u"Dose"_s, {u"1 G IV"_s, u"50 MG IV"_s, {}, {}});
    r.setList(u"Time"_s, {u"06:00 AM"_s, u"06:15 AM"_s, {}, {}});
    r.setList(u"Signs"_s, {u"120/80"_s, u"36.8"_s, u"78"_s, u"18"_s});
    r.setList(u"Signers"_s, {u"SANTOS, M."_s, u"CRUZ, L."_s, {}, u"DELA PAZ, R."_s, {}});
    return r;
}

} // namespace

class tst_NursingForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void answerGroups_data();
    void answerGroups();
    void safetyPauses_data();
    void safetyPauses();
    void initTestCase_data() { addBackendRows(); }
    void refusedSavesWriteNothing_data();
    void refusedSavesWriteNothing();
    void checklistSavedReadBackPrintedDeleted();
    void labourRoomRules_data();
    void labourRoomRules();
    void evaluationAndLabourRoomPrinted_data();
    void evaluationAndLabourRoomPrinted();
    void safetyChecklistSavedReadBackPrinted();
    void twoWorkstationsSaveOneChecklist();
    void demoChecklistsOpenFilled();
};

void tst_NursingForms::answerGroups_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<int>("controls");
    QTest::addColumn<QStringList>("loaded");
    QTest::newRow("five answers, each on its own control")
        << u"YES:;NO:;:;YES:;NO"_s << 5 << QStringList{u"YES"_s, u"NO"_s, {}, u"YES"_s, u"NO"_s};
    QTest::newRow("colons and semicolons alone are text")
        << u"A:B;C:;;D:"_s << 2 << QStringList{u"A:B;C"_s, u";D:"_s};
    QTest::newRow("fewer stored than controls") << u"YES"_s << 3 << QStringList{u"YES"_s, {}, {}};
    QTest::newRow("more stored than controls") << u"1:;2:;3"_s << 2 << QStringList{u"1"_s, u"2"_s};
    QTest::newRow("nothing stored") << QString() << 2 << QStringList{{}, {}};
}

void tst_NursingForms::answerGroups()
{
    QFETCH(QString, stored);
    QFETCH(int, controls);
    QFETCH(QStringList, loaded);
    QCOMPARE(splitAnswers(stored, controls), loaded);
    QCOMPARE(splitAnswers(joinAnswers(loaded), controls), loaded);
}

void tst_NursingForms::safetyPauses_data()
{
    using ssc::Phase;
    // Steps: "a<phase><item>=<value>@<minute>" answers, "c<phase>@<minute>" completes. Every
    // step that answers a whole pause is written "A<phase>@<minute>".
    QTest::addColumn<QStringList>("steps");
    QTest::addColumn<QString>("refused"); // the refusal of the last completion, if any
    QTest::addColumn<QList<int>>("late"); // phase * 100 + item of the late answers
    QTest::newRow("unanswered item")
        << QStringList{u"a0:0=YES@1"_s, u"c0@2"_s}
        << u"The Sign In cannot be completed: 6 of its items are not answered yet."_s
        << QList<int>{};
    QTest::newRow("out of order") << QStringList{u"A1@1"_s, u"c1@2"_s}
                                  << u"Please complete the Sign In before the Time Out."_s
                                  << QList<int>{};
    QTest::newRow("in order, nothing late")
        << QStringList{u"A0@1"_s, u"c0@2"_s, u"A1@3"_s, u"c1@4"_s, u"A2@5"_s, u"c2@6"_s}
        << QString() << QList<int>{};
    QTest::newRow("changed after its pause was completed")
        << QStringList{u"A0@1"_s, u"c0@2"_s, u"a0:4=NO@3"_s} << QString() << QList<int>{4};
    QTest::newRow("answered after the team moved on")
        << QStringList{u"a0:0=YES@1"_s, u"a1:0=YES@2"_s, u"a0:1=YES@3"_s, u"a1:1=YES@3"_s}
        << QString() << QList<int>{1};
    QTest::newRow("same answer again changes nothing")
        << QStringList{u"A0@1"_s, u"c0@2"_s, u"a0:2=YES@3"_s} << QString() << QList<int>{};
}

void tst_NursingForms::safetyPauses()
{
    using ssc::Phase;
    QFETCH(QStringList, steps);
    QFETCH(QString, refused);
    QFETCH(QList<int>, late);
    ssc::SafetyRecord record;
    const QDateTime start = fixtureNow();
    std::optional<QString> lastRefusal;
    for (const QString &step : steps) {
        const QDateTime at = start.addSecs(step.section(u'@', 1).toInt() * 60);
        const Phase phase = Phase(step.mid(1, 1).toInt());
        if (step.startsWith(u'A')) {
            for (int i = 0; i < ssc::items(phase).size(); ++i)
                record.setAnswer(phase, i, kYes, u"2901"_s, at);
        } else if (step.startsWith(u'a')) {
            const int item = step.section(u':', 1).section(u'=', 0, 0).toInt();
            record.setAnswer(phase, item, step.section(u'=', 1).section(u'@', 0, 0), u"2902"_s, at);
        } else {
            lastRefusal = record.completionRefusal(phase);
            QCOMPARE(record.complete(phase, u"2903"_s, at), !lastRefusal.has_value());
        }
    }
    QCOMPARE(lastRefusal.value_or(QString()), refused);
    QList<int> found;
    for (Phase p : ssc::kPhases) {
        for (int i = 0; i < ssc::items(p).size(); ++i) {
            if (record.isLate(p, i))
                found << int(p) * 100 + i;
        }
    }
    QCOMPARE(found, late);
    // The lines carry the same verdicts, and read back they give the same record.
    FormRecord columns;
    record.writeColumns(columns);
    QCOMPARE(ssc::SafetyRecord::fromSaved(columns, record.lines()), record);
}

void tst_NursingForms::refusedSavesWriteNothing_data()
{
    QTest::addColumn<QString>("column");
    QTest::addColumn<int>("answer"); // the answer of a list that is changed; -1 for a text
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("signers");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("told");
    const QString question = u"Do you want to save Nurse Pre-Operative Checklist?"_s;
    QTest::newRow("answer holding the separator")
        << u"Remarks"_s << 3 << u"BP 120/80 :; PR 78"_s << QStringList{u"2903"_s}
        << QList<bool>{true}
        << u"An answer of \"Remarks\" contains \":;\", which the form keeps between its "
           u"answers. Please write it without \":;\"."_s;
    QTest::newRow("remark of 5,000 characters")
        << u"Spiritual"_s << -1 << QString(5000, u'A') << QStringList{u"2903"_s}
        << QList<bool>{true}
        << u"\"Spiritual/Psychological Preparation:\" is 5,000 characters long; it may hold at "
           u"most 2,000."_s;
    QTest::newRow("re-validation failed, then declined")
        << u"Operation"_s << -1 << u"HERNIORRHAPHY"_s << QStringList() << QList<bool>{true, false}
        << question + u"\r\nEntered data will not be saved! "_s;
    QTest::newRow("question declined") << u"Operation"_s << -1 << u"HERNIORRHAPHY"_s
                                       << QStringList{u"2903"_s} << QList<bool>{false} << question;
}

void tst_NursingForms::refusedSavesWriteNothing()
{
    QFETCH(QString, column);
    QFETCH(int, answer);
    QFETCH(QString, value);
    QFETCH(QStringList, signers);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    NursingForm form(f.session, nullptr, preop::definition());

    // No stay selected: nothing opens.
    QVERIFY(!form.open(CurrentPatientRecord()));
    QCOMPARE(f.notifier.lastText(), u"Please select patient."_s);

    const CurrentPatientRecord stay = freshStay(db);
    QVERIFY(form.open(stay));
    QVERIFY(!form.isSaved());
    FormRecord typed = filledChecklist(u"A"_s);
    if (answer >= 0) {
        QStringList list = typed.list(column);
        list[answer] = value;
        typed.setList(column, list);
    } else {
        typed.setText(column, value);
    }
    form.setRecord(typed);
    for (const QString &code : signers)
        f.dialogs.sign(code);
    f.notifier.answer(answers);
    QVERIFY(!form.save());
    QCOMPARE(f.notifier.lastText(), told);
    QCOMPARE(
        count(db, u"select count(*) from STATION..tbNursePreOp where IdNum = :id"_s, stay.IdNum),
        0);
    QCOMPARE(
        count(db, u"select count(*) from STATION..tbNurseFormItem where IdNum = :id"_s, stay.IdNum),
        0);
    QVERIFY(form.isChanged());
}

void tst_NursingForms::checklistSavedReadBackPrintedDeleted()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    const CurrentPatientRecord stay = freshStay(db);
    NursingForm form(f.session, &reports, preop::definition());
    QVERIFY(form.open(stay));
    QVERIFY(!form.print()); // nothing saved yet
    QCOMPARE(f.notifier.lastText(), u"Please save the form before printing it."_s);

    // Saved twice, the second time with other answers: one record holding the second.
    for (const QString &tag : {u"FIRST"_s, u"SECOND"_s}) {
        form.setRecord(filledChecklist(tag));
        f.dialogs.sign(u"2903"_s);
        f.notifier.answer({true});
        QVERIFY(form.save());
        QCOMPARE(f.notifier.lastText(), u"Nurse Pre-Operative Checklist successfully saved."_s);
    }
    QCOMPARE(
        count(db, u"select count(*) from STATION..tbNursePreOp where IdNum = :id"_s, stay.IdNum),
        1);
    NursingForm again(f.session, &reports, preop::definition());
    QVERIFY(again.open(stay));
    QVERIFY(again.isSaved());
    QCOMPARE(again.record(), filledChecklist(u"SECOND"_s));
    QCOMPARE(again.savedItems().size(),
             preop::lines().size() + 2 + preop::signs().size() + preop::signers().size());

    QVERIFY(again.print());
    const QString html = display.last()->html();
    for (const QString &printed :
         {u"OPEN CHOLECYSTECTOMY SECOND"_s, u"REMARK 4 SECOND"_s, u"C. Jewelry &amp; Accs."_s,
          u"CEFAZOLIN"_s, u"DELA PAZ, R."_s, u"120/80"_s})
        QVERIFY2(html.contains(printed), qPrintable(printed));
    QVERIFY(!html.contains(u"REMARK 4 FIRST"_s));

    // Deleted: the record and its lines go, and the station log says so.
    f.notifier.answer({true});
    QVERIFY(again.remove());
    QCOMPARE(f.notifier.lastText(), u"Nurse's Pre-Operative Checklist record deleted."_s);
    QVERIFY(!again.isSaved());
    QCOMPARE(
        count(db, u"select count(*) from STATION..tbNursePreOp where IdNum = :id"_s, stay.IdNum) +
            count(db, u"select count(*) from STATION..tbNurseFormItem where IdNum = :id"_s,
                  stay.IdNum),
        0);
    QCOMPARE(count(db,
                   u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                   u"Remarks = 'DELETE NURSE PRE-OP' and UserID = '2901'"_s,
                   stay.IdNum),
             1);
}

void tst_NursingForms::labourRoomRules_data()
{
    QTest::addColumn<QString>("gravida");
    QTest::addColumn<QString>("para");
    QTest::addColumn<QString>("labour");
    QTest::addColumn<QString>("delivery");
    QTest::addColumn<QString>("told");
    const QString numbers = u"Please enter gravida (1 to 30) and para (0 up to the gravida) as "
                            u"whole numbers."_s;
    const QString in = u"12/06/2026 10:15 PM"_s;
    QTest::newRow("first pregnancy") << u"1"_s << u"0"_s << in << QString() << QString();
    QTest::newRow("delivered after labour")
        << u"3"_s << u"2"_s << in << u"12/07/2026 01:05 AM"_s << QString();
    QTest::newRow("para above gravida") << u"2"_s << u"3"_s << in << QString() << numbers;
    QTest::newRow("gravida not a number") << u"G2"_s << u"1"_s << in << QString() << numbers;
    QTest::newRow("no labour room time")
        << u"2"_s << u"1"_s << QString() << QString()
        << u"Please enter the date and time the patient was admitted to the labor room."_s;
    QTest::newRow("delivery room before labour room")
        << u"2"_s << u"1"_s << in << u"12/06/2026 09:00 PM"_s
        << u"The patient was admitted to the delivery room before the labor room. Please check "
           u"the dates and times."_s;
}

void tst_NursingForms::labourRoomRules()
{
    QFETCH(QString, gravida);
    QFETCH(QString, para);
    QFETCH(QString, labour);
    QFETCH(QString, delivery);
    QFETCH(QString, told);
    FormRecord r;
    r.setText(u"Gravida"_s, gravida);
    r.setText(u"Para"_s, para);
    r.setText(u"DTAdmittedLR"_s, labour);
    r.setText(u"DTAdmittedDR"_s, delivery);
    QCOMPARE(labour::definition().check(r).value_or(QString()), told);
}

void tst_NursingForms::evaluationAndLabourRoomPrinted_data()
{
    QTest::addColumn<bool>("evaluation");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("deleted");
    QTest::newRow("pre-anesthetic evaluation")
        << true << u"Remarks"_s << u"FIT FOR GENERAL ANESTHESIA"_s
        << u"Deleted Preanesthetic Evaluation"_s;
    QTest::newRow("labor room form")
        << false << u"NotifiedBy"_s << u"RAMOS, JOY"_s << u"Deleted Labor Room Form"_s;
}

void tst_NursingForms::evaluationAndLabourRoomPrinted()
{
    QFETCH(bool, evaluation);
    QFETCH(QString, column);
    QFETCH(QString, value);
    QFETCH(QString, deleted);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    const CurrentPatientRecord stay = freshStay(db);
    NursingForm form(f.session, &reports, evaluation ? preanesthetic::definition() : labour::definition());
    QVERIFY(form.open(stay));
    FormRecord r = form.record();
    if (evaluation) {
        r.setList(u"YesNo"_s, QStringList(preanesthetic::lines().size(), kNo));
        QStringList boxes(preanesthetic::boxes().size());
        boxes[2] = u"1"_s;
        r.setList(u"OtherBoxes"_s, boxes);
    } else {
        r.setText(u"Gravida"_s, u"2"_s);
        r.setText(u"Para"_s, u"1"_s);
        r.setText(u"DTAdmittedLR"_s, u"12/06/2026 10:15 PM"_s);
    }
    r.setText(column, value);
    form.setRecord(r);
    f.dialogs.sign(u"2903"_s);
    f.notifier.answer({true});
    QVERIFY(form.save());
    NursingForm again(f.session, &reports, form.definition());
    QVERIFY(again.open(stay));
    QCOMPARE(again.record(), r);
    QVERIFY(again.print());
    const QString html = display.last()->html();
    QVERIFY(html.contains(value));
    QCOMPARE(html.contains(u"ASA III"_s), evaluation);
    f.notifier.answer({true});
    QVERIFY(again.remove());
    QCOMPARE(db.scalar(u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                       u"Remarks = :remarks"_s,
                       {{u"id"_s, stay.IdNum}, {u"remarks"_s, deleted}})
                 .value()
                 .toInt(),
             1);
}

void tst_NursingForms::safetyChecklistSavedReadBackPrinted()
{
    using ssc::Phase;
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    RecordingReportDisplay display;
    ReportService reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s},
                          display, f.notifier);
    const CurrentPatientRecord stay = freshStay(db);
    SurgicalSafetyChecklist checklist(f.session, &reports);
    QVERIFY(checklist.open(stay));

    // The Sign In by one nurse, the Time Out by another, on the server's clock as it moves;
    // a Sign In answer changed during the Time Out is late.
    const QDateTime start = fixtureNow();
    const auto clockAt = [&](int minute) { QVERIFY(db.pinClock(start.addSecs(minute * 60))); };
    clockAt(0);
    for (int i = 0; i < ssc::items(Phase::SignIn).size(); ++i)
        QVERIFY(checklist.answer(Phase::SignIn, i, kYes));
    QVERIFY(!checklist.complete(Phase::TimeOut));
    QCOMPARE(f.notifier.lastText(), u"Please complete the Sign In before the Time Out."_s);
    clockAt(2);
    QVERIFY(checklist.complete(Phase::SignIn));
    f.user.setCode(u"2902"_s);
    clockAt(10);
    for (int i = 0; i < ssc::items(Phase::TimeOut).size(); ++i)
        QVERIFY(checklist.answer(Phase::TimeOut, i, kYes));
    clockAt(12);
    QVERIFY(checklist.answer(Phase::SignIn, 4, kNo));
    QVERIFY(checklist.safety().isLate(Phase::SignIn, 4));

    // No procedure named: refused before the question.
    QVERIFY(!checklist.save());
    QCOMPARE(f.notifier.lastText(), u"Please provide name of procedure."_s);
    checklist.setText(u"Operation"_s, u"LAPAROSCOPIC APPENDECTOMY"_s);
    checklist.setText(u"NurseSignIn"_s, u"SANTOS, MARIA"_s);
    f.dialogs.sign(u"2903"_s);
    f.notifier.answer({true});
    QVERIFY(checklist.save());
    QCOMPARE(f.notifier.boxes().last().title, u"Notificatioin"_s);

    SurgicalSafetyChecklist again(f.session, &reports);
    QVERIFY(again.open(stay));
    QCOMPARE(again.safety(), checklist.safety());
    QCOMPARE(again.form().record(), checklist.form().record());
    QCOMPARE(again.safety().answer(Phase::TimeOut, 0).by, u"2902"_s);
    QCOMPARE(again.safety().completion(Phase::SignIn).at, start.addSecs(120));
    QCOMPARE(count(db,
                   u"select count(*) from STATION..tbNurseFormItem where IdNum = :id and "
                   u"FormID = 'SSC' and Late = 1"_s,
                   stay.IdNum),
             1);

    QVERIFY(again.print());
    const QString html = display.last()->html();
    for (const QString &printed : {u"LAPAROSCOPIC APPENDECTOMY"_s, u"SANTOS, MARIA"_s, u"LATE"_s,
                                   u"Sign In completed"_s, u"2902"_s})
        QVERIFY2(html.contains(printed), qPrintable(printed));
}

void tst_NursingForms::twoWorkstationsSaveOneChecklist()
{
    KESTREL_OPEN_DEMO(db);
    const ConnectionSettings shared = (*dbResult)->settings();
    const CurrentPatientRecord stay = freshStay(db);
    const FormDefinition definition = preop::definition();
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
                FormStore store(**own, definition);
                outcome[std::size_t(w)] =
                    store.save(stay.IdNum, filledChecklist(u"W%1"_s.arg(w)), u"290%1"_s.arg(w));
            });
        for (std::thread &t : workstations)
            t.join();
        for (const auto &o : outcome)
            QVERIFY2(o, qPrintable(o ? QString() : o.error().message));
        // One record, and every line of it from the workstation whose record it is.
        FormStore store(db, definition);
        const auto loaded = store.load(stay.IdNum).value();
        QVERIFY(loaded);
        const QString winner = loaded->text(u"ByWhom"_s).right(2);
        QVERIFY(winner == u"W0"_s || winner == u"W1"_s);
        QCOMPARE(*loaded, filledChecklist(winner));
        QCOMPARE(store.items(stay.IdNum).value(), definition.items(filledChecklist(winner)));
        QCOMPARE(count(db, u"select count(*) from STATION..tbNursePreOp where IdNum = :id"_s,
                       stay.IdNum),
                 1);
    }
}

void tst_NursingForms::demoChecklistsOpenFilled()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    // The demo's completed safety checklist, whose patient has a pre-operative checklist too.
    CurrentPatientRecord stay;
    stay.IdNum = db.scalar(u"select min(C.IdNum) from STATION..tbORSSC C join "
                           u"STATION..tbNursePreOp P on P.IdNum = C.IdNum "
                           u"where C.ChkBoxes = '1:;1:;1'"_s)
                     .value()
                     .toString();
    QVERIFY(!stay.IdNum.isEmpty());
    frmNursePreopChecklist preopWindow(f.session, nullptr, nullptr);
    QVERIFY(preopWindow.open(stay));
    QCOMPARE(preopWindow.findChild<QLineEdit *>(u"txtOperation"_s)->text(),
             preopWindow.presenter().record().text(u"Operation"_s));
    QVERIFY(!preopWindow.presenter().record().text(u"Operation"_s).isEmpty());
    QVERIFY(preopWindow.findChild<QWidget *>(u"optYesNo_0"_s)
                ->findChildren<QRadioButton *>()
                .first()
                ->isChecked());
    QVERIFY(preopWindow.close()); // nothing changed: nothing asked
    QVERIFY(f.notifier.boxes().isEmpty());
    // Changed, the window however closed offers it for saving; declined, it closes unsaved.
    preopWindow.findChild<QLineEdit *>(u"txtOperation"_s)->setText(u"HERNIORRHAPHY, LEFT"_s);
    f.notifier.answer({false});
    QVERIFY(preopWindow.close());
    QCOMPARE(f.notifier.boxes().size(), 1);
    f.notifier.clear();

    frmSSC sscWindow(f.session, nullptr, nullptr);
    QVERIFY(sscWindow.open(stay));
    QCOMPARE(sscWindow.findChild<QComboBox *>(u"cboSignIn_0"_s)->currentText(), kYes);
    QVERIFY(sscWindow.findChild<QLabel *>(u"cboSignIn_4Who"_s)->text().endsWith(u"LATE"_s));
    QVERIFY(!sscWindow.findChild<QWidget *>(u"cmdCompleteSignOut"_s)->isEnabled());
    QVERIFY(sscWindow.close());
    QVERIFY(f.notifier.boxes().isEmpty());

    // Deleted from the window: the answers and pauses go with the record.
    f.notifier.answer({true});
    QTest::mouseClick(sscWindow.findChild<QPushButton *>(u"cmdDelete"_s), Qt::LeftButton);
    QCOMPARE(f.notifier.lastText(), u"Surgical safety checklist record successfully deleted."_s);
    QCOMPARE(sscWindow.findChild<QComboBox *>(u"cboSignIn_0"_s)->currentText(), QString());
    QVERIFY(sscWindow.findChild<QWidget *>(u"cmdCompleteSignIn"_s)->isEnabled());
    QCOMPARE(count(db,
                   u"select count(*) from STATION..tbNurseFormItem where IdNum = :id and "
                   u"FormID = 'SSC'"_s,
                   stay.IdNum),
             0);
}

QTEST_MAIN(tst_NursingForms)
#include "tst_nursingforms.moc"
