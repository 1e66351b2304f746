// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The result entry of the demo hospital's outpatient OR visits: every check of the save in its
// order, the code look-ups, a visit closed and read back, the withdrawal of a request for
// admission, a save that fails at its last statement leaving nothing, and two workstations
// closing the same visit at once.
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "orrecord/OutpatientResult.h"
#include "orrecord/ui/frmUpdateORRecord.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QTimeEdit>

#include <array>
#include <latch>
#include <thread>
#include <vector>

using namespace kestrel;
using namespace kestrel::test;
using namespace Qt::StringLiterals;

namespace {

const QString kSaved = u"OR record successfully updated."_s;
const QString kForAdmission = u"Please verify correctly that the discharge date is the same as "
                              u"current date.\r\nThis will prompt the Admitting department to "
                              u"admit this patient.\r\nAre you sure that this patient is for "
                              u"admission? "_s;
const QString kRetry = u"Are you sure you want to continue?\r\nTransaction was not saved. "_s;

QString visitOf(Database &db, const QString &lastName)
{
    return db
        .scalar(u"select O.IDNum from PATIENT_DATA..tbOutPatient O join PATIENT_DATA..tbMaster "
                u"M on M.HospNum = O.HospNum where M.LastName = :name"_s,
                {{u"name"_s, lastName}})
        .value()
        .toString();
}

QString text(Database &db, const QString &sql, const QString &id)
{
    return db.scalar(sql, {{u"id"_s, id}}).value().toString();
}

void setDischarge(OutpatientResult &entry, const QDateTime &when)
{
    entry.setDischargeDate(when.toString(u"MM/dd/yyyy"_s), when.time());
}

// A consultation ready to save, an hour after the admission.
void fillValid(OutpatientResult &entry)
{
    OutpatientRecord &r = entry.record();
    r.category = 1;
    r.condition = 1;
    r.chiefComplaints = u"LACERATED WOUND"_s;
    r.findings = u"WOUND SUTURED, 4 STITCHES"_s;
    r.disposition = u"Discharged/Sent Home"_s;
    setDischarge(entry, r.admitted.addSecs(3600));
}

// Every field of a record, to compare what was saved with what is read back.
QString summary(const OutpatientRecord &r)
{
    const auto at = [](const QDateTime &dt) { return dt.toString(u"yyyy-MM-dd hh:mm:ss"_s); };
    QStringList f{r.idNum,
                  at(r.discharged),
                  QString::number(r.category),
                  r.disposition,
                  r.erClassification,
                  QString::number(r.condition),
                  r.findings,
                  r.medications,
                  r.chiefComplaints,
                  r.briefHistory,
                  r.remarks,
                  r.dietId,
                  r.referredTo,
                  r.reasonOfReferral,
                  at(r.transferred),
                  r.death.type,
                  at(r.death.expired),
                  at(r.death.released),
                  r.death.funeralParlor,
                  r.precautionId};
    for (const auto *list : {&r.services, &r.doctors, &r.erProcedures})
        f << QStringList(list->begin(), list->end()).join(u',');
    f << QStringList(r.diagnoses.begin(), r.diagnoses.end()).join(u',')
      << QStringList(r.chiefComplaintIds.begin(), r.chiefComplaintIds.end()).join(u',');
    return f.join(u'|');
}

} // namespace

class tst_OutpatientResult : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { addBackendRows(); }
    void saveChecksInOrder_data();
    void saveChecksInOrder();
    void codeLookUps_data();
    void codeLookUps();
    void closedAndReadBack();
    void admissionRequest_data();
    void admissionRequest();
    void failedStatementLeavesNothing();
    void twoWorkstationsCloseOneVisit();
    void windowShowsAndSaves();
};

void tst_OutpatientResult::saveChecksInOrder_data()
{
    QTest::addColumn<QString>("patient");
    QTest::addColumn<QString>("breaks");
    QTest::addColumn<QString>("setting"); // a station switch turned on, or "QELM"
    QTest::addColumn<int>("signers");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("told");
    QTest::addColumn<QString>("stored"); // category and whether a discharge date is kept
    const QString ramon = u"AGUINALDO"_s;
    const QString notSaved = u"|-"_s;
    const QList<bool> yes{true};
    QTest::newRow("no patient") << QString() << QString() << QString() << 1 << yes
                                << u"Can't save incomplete data. Please select patient."_s
                                << notSaved;
    QTest::newRow("no category") << ramon << u"category"_s << QString() << 1 << yes
                                 << u"Please indicate Patient Category."_s << notSaved;
    QTest::newRow("no classification where required")
        << ramon << u"classification"_s << u"QELM"_s << 1 << yes
        << u"Please indicate OR Classification."_s << notSaved;
    QTest::newRow("blank discharge date") << ramon << u"blank date"_s << QString() << 1 << yes
                                          << u"Please provide discharge date."_s << notSaved;
    QTest::newRow("no such date") << ramon << u"bad date"_s << QString() << 1 << yes
                                  << u"Invalid discharge date."_s << notSaved;
    QTest::newRow("discharge before admission")
        << ramon << u"early"_s << QString() << 1 << yes
        << u"You can't discharge this patient earlier than the date and time of admission."_s
        << notSaved;
    QTest::newRow("admission without findings")
        << ramon << u"findings:"_s << u"ERRequireAdmDiagIfForAdm"_s << 1 << yes
        << u"Please provide diagnosis/findings for the patient."_s << notSaved;
    QTest::newRow("findings of 2 refused")
        << ramon << u"findings: ab "_s << u"ERRequireAdmDiagIfForAdm"_s << 1 << yes
        << u"Description of Diagnosis/findings is too short."_s << notSaved;
    QTest::newRow("findings of 3 accepted")
        << ramon << u"findings: abc "_s << u"ERRequireAdmDiagIfForAdm"_s << 1 << yes << kSaved
        << u"3|D"_s;
    QTest::newRow("no chief complaints")
        << ramon << u"complaints"_s << QString() << 1 << yes
        << u"Please provide chief complaints of the patient."_s << notSaved;
    QTest::newRow("no condition") << ramon << u"condition"_s << QString() << 1 << yes
                                  << u"Please provide condition on discharge."_s << notSaved;
    QTest::newRow("admission not confirmed") << ramon << u"findings: abc"_s << QString() << 1
                                             << QList<bool>{false} << kForAdmission << notSaved;
    QTest::newRow("re-validation given up")
        << ramon << QString() << QString() << 0 << QList<bool>{false} << kRetry << notSaved;
    QTest::newRow("pending requests")
        << u"CATACUTAN"_s << QString() << QString() << 1 << yes
        << u"You can`t discharge this patient.Records indicate that this patient has pending "
           u"requests. "_s
        << notSaved;
    QTest::newRow("admission without a date where allowed")
        << ramon << u"blank date, findings: abc"_s << u"ERNoDcrDateForAdm"_s << 1 << yes << kSaved
        << u"3|-"_s;
    QTest::newRow("consultation saved")
        << ramon << QString() << QString() << 1 << yes << kSaved << u"1|D"_s;
}

void tst_OutpatientResult::saveChecksInOrder()
{
    QFETCH(QString, patient);
    QFETCH(QString, breaks);
    QFETCH(QString, setting);
    QFETCH(int, signers);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, told);
    QFETCH(QString, stored);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    if (setting == u"QELM")
        f.session.hospital.clientname = setting;
    else if (!setting.isEmpty()) {
        QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values (:f, '1')"_s,
                        {{u"f"_s, setting}}));
        f.session.settings.LoadParameters(db, f.session.hospital);
    }
    const QString idNum = patient.isEmpty() ? visitOf(db, u"AGUINALDO"_s) : visitOf(db, patient);
    OutpatientResult entry(f.session);
    if (!patient.isEmpty()) {
        QVERIFY(entry.open(idNum));
        fillValid(entry);
    }
    OutpatientRecord &r = entry.record();
    // Each row breaks one rule of an entry that would otherwise be saved.
    if (breaks.contains(u"findings:")) {
        r.category = kCategoryForAdmission;
        r.findings = breaks.section(u"findings:"_s, 1);
    }
    if (breaks == u"category")
        r.category = 0;
    if (breaks.contains(u"blank date"))
        entry.setDischargeDate(u"  /  /    "_s, QTime(10, 0));
    if (breaks == u"bad date")
        entry.setDischargeDate(u"02/30/2026"_s, QTime(10, 0));
    if (breaks == u"early")
        setDischarge(entry, r.admitted.addSecs(-60));
    if (breaks == u"complaints")
        r.chiefComplaints = u"  "_s;
    if (breaks == u"condition")
        r.condition = 0;
    for (int i = 0; i < signers; ++i)
        f.dialogs.sign(u"2903"_s);
    f.notifier.answer(answers);

    QCOMPARE(entry.save(), told == kSaved);
    QCOMPARE(f.notifier.lastText(), told);
    QCOMPARE(text(db,
                  u"select PatientCategory || '|' || case when DcrDate is null then '-' else "
                  u"'D' end from PATIENT_DATA..tbOutPatient where IDNum = :id"_s,
                  idNum),
             stored);
    if (told == kSaved)
        QCOMPARE(text(db, u"select DcrUserID from PATIENT_DATA..tbOutPatient where IDNum = :id"_s,
                      idNum),
                 u"2903"_s);
}

void tst_OutpatientResult::codeLookUps_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("told");
    QTest::newRow("doctor unknown")
        << u"doctor"_s << u"ZZ999"_s << QString() << u"Doctor code does not exist."_s;
    QTest::newRow("service unknown")
        << u"service"_s << u"XYZ"_s << QString() << u"Service code does not exist."_s;
    QTest::newRow("service typed in lower case")
        << u"service"_s << u"sur"_s << u"SURGERY"_s << QString();
    QTest::newRow("complaint of section AA")
        << u"complaint"_s << u"AA005"_s << u"WOUND/LACERATION"_s << QString();
    QTest::newRow("a diet is no complaint")
        << u"complaint"_s << u"DT02"_s << QString() << u"Chief complaint code does not exist."_s;
    QTest::newRow("diet with its remark")
        << u"diet"_s << u"DT02"_s << u"SOFT DIET / NO FRIED FOOD"_s << QString();
}

void tst_OutpatientResult::codeLookUps()
{
    QFETCH(QString, kind);
    QFETCH(QString, code);
    QFETCH(QString, name);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    OutpatientResult entry(f.session);
    QVERIFY(entry.open(visitOf(db, u"AGUINALDO"_s)));
    QString found;
    QString stored;
    if (kind == u"doctor") {
        found = entry.lookUpDoctor(1, code);
        stored = entry.record().doctors[1];
    } else if (kind == u"service") {
        found = entry.lookUpService(2, code);
        stored = entry.record().services[2];
    } else if (kind == u"complaint") {
        found = entry.lookUpChiefComplaint(0, code);
        stored = entry.record().chiefComplaintIds[0];
    } else {
        QString remark;
        found = entry.lookUpDiet(code, &remark);
        found += u" / "_s + remark;
        stored = entry.record().dietId;
    }
    QCOMPARE(found, name);
    QCOMPARE(stored, name.isEmpty() ? QString() : code.toUpper());
    QCOMPARE(f.notifier.lastText(), told);
}

void tst_OutpatientResult::closedAndReadBack()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    const QString idNum = visitOf(db, u"AGUINALDO"_s);
    const QString doctor =
        db.scalar(u"select min(DoctorID) from BUILD_FILE..tbCoDoctor"_s).value().toString();
    OutpatientResult entry(f.session);
    QVERIFY(entry.open(idNum));
    fillValid(entry);
    OutpatientRecord &r = entry.record();
    r.category = 6;
    r.condition = 2;
    r.disposition = u"Referred/Transferred"_s;
    r.erClassification = u"Referred"_s;
    r.erProcedures = {u"1"_s, u"14"_s};
    QVERIFY(!entry.lookUpService(0, u"SUR"_s).isEmpty());
    QVERIFY(!entry.lookUpDoctor(0, doctor).isEmpty());
    QVERIFY(!entry.lookUpDiagnosis(0, u"k35.8"_s).isEmpty());
    QVERIFY(!entry.lookUpDiagnosis(1, u"I10"_s).isEmpty());
    QVERIFY(!entry.lookUpChiefComplaint(0, u"AA005"_s).isEmpty());
    QVERIFY(!entry.lookUpDiet(u"DT03"_s).isEmpty());
    r.medications = u"MEFENAMIC ACID 500 MG"_s;
    r.briefHistory = u"Cut by broken glass an hour before arrival."_s;
    r.remarks = u"For follow-up after 7 days."_s;
    r.referredTo = u"SAN BARTOLOME MEDICAL CENTER"_s;
    r.reasonOfReferral = u"Tendon repair by a hand surgeon"_s;
    r.transferred = r.admitted.addSecs(7200);
    r.death = {u"Natural Death"_s, r.admitted.addSecs(9000), r.admitted.addSecs(12600),
               u"ST. PETER CHAPELS"_s};
    r.precautionId = u"4"_s;
    f.dialogs.sign(u"2901"_s);
    QVERIFY2(entry.save(), qPrintable(f.notifier.lastText()));
    QCOMPARE(f.notifier.lastText(), kSaved);

    OutpatientResult again(f.session);
    QVERIFY(again.open(idNum));
    QCOMPARE(summary(again.record()), summary(entry.record()));
    QCOMPARE(again.record().diagnoses[0], u"K35.8"_s);
    // Saved once more, the death is replaced, not added.
    f.dialogs.sign(u"2901"_s);
    QVERIFY(again.save());
    QCOMPARE(
        text(db, u"select count(*) from STATION..tbERDeathMaster where HospNum = :id"_s, r.hospNum),
        u"1"_s);
}

void tst_OutpatientResult::admissionRequest_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<QString>("requests"); // open requests of the visit after the save
    QTest::addColumn<QString>("logged");   // station log lines withdrawing it
    QTest::newRow("consultation withdraws today's request") << 1 << u"0"_s << u"1"_s;
    QTest::newRow("referral withdraws it too") << 6 << u"0"_s << u"1"_s;
    QTest::newRow("admission keeps the one request") << kCategoryForAdmission << u"1"_s << u"0"_s;
}

void tst_OutpatientResult::admissionRequest()
{
    QFETCH(int, category);
    QFETCH(QString, requests);
    QFETCH(QString, logged);
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    const QString idNum = visitOf(db, u"BERNARDO"_s);
    OutpatientResult entry(f.session);
    QVERIFY(entry.open(idNum));
    fillValid(entry);
    entry.record().category = category;
    f.dialogs.sign(u"2901"_s);
    f.notifier.answer({true});
    QVERIFY2(entry.save(), qPrintable(f.notifier.lastText()));
    QCOMPARE(text(db,
                  u"select count(*) from PATIENT_DATA..tbER_Admitting_Communication where "
                  u"OPDIDNum = :id and RecordStatus = ''"_s,
                  idNum),
             requests);
    QCOMPARE(text(db,
                  u"select count(*) from STATION..tbStationLogs where IdNum = :id and "
                  u"Remarks = 'Revoke for admission'"_s,
                  idNum),
             logged);
}

void tst_OutpatientResult::failedStatementLeavesNothing()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    const QString idNum = visitOf(db, u"BERNARDO"_s);
    OutpatientResult entry(f.session);
    QVERIFY(entry.open(idNum));
    fillValid(entry);
    OutpatientRecord &r = entry.record();
    QVERIFY(!entry.lookUpDiagnosis(0, u"I10"_s).isEmpty());
    r.death = {u"Dead on Arrival (DOA)"_s, r.admitted, r.admitted.addSecs(3600), u"X"_s};
    r.precautionId = u"2"_s;
    // The withdrawal of the request for admission is the save's last statement: it fails.
    QVERIFY(db.execRaw(db.mapNames(u"DROP TABLE STATION..tbStationLogs")));
    f.dialogs.sign(u"2901"_s);
    QVERIFY(!entry.save());
    QVERIFY(f.notifier.lastText() != kSaved);
    QCOMPARE(
        text(db,
             u"select PatientCategory || coalesce(cast(DcrDate as varchar(30)), '-') || "
             u"coalesce(PrecautionID, '-') from PATIENT_DATA..tbOutPatient where IDNum = :id"_s,
             idNum),
        u"--"_s);
    const QString written =
        u"select (select count(*) from PATIENT_DATA..tbOutpatientDiagnosis where IDNum = :id) + "
        u"(select count(*) from PATIENT_DATA..tbOutpatientHistory where IDNum = :id2 and "
        u"Findings is not null) + (select count(*) from STATION..tbERDeathMaster D join "
        u"PATIENT_DATA..tbOutPatient O on O.HospNum = D.HospNum where O.IDNum = :id3) + "
        u"(select count(*) from PATIENT_DATA..tbERMaster where IDNum = :id4)"_s;
    QCOMPARE(db.scalar(written,
                       {{u"id"_s, idNum}, {u"id2"_s, idNum}, {u"id3"_s, idNum}, {u"id4"_s, idNum}})
                 ->toInt(),
             0);
    QCOMPARE(text(db,
                  u"select count(*) from PATIENT_DATA..tbER_Admitting_Communication where "
                  u"OPDIDNum = :id"_s,
                  idNum),
             u"1"_s);
}

void tst_OutpatientResult::twoWorkstationsCloseOneVisit()
{
    KESTREL_OPEN_DEMO(db);
    const ConnectionSettings shared = (*dbResult)->settings();
    const QString idNum = visitOf(db, u"AGUINALDO"_s);
    OutpatientResultStore store(db);
    const OutpatientRecord loaded = store.load(idNum).value().value();
    // Each workstation closes the visit its own way.
    std::array<OutpatientRecord, 2> saves{loaded, loaded};
    for (int w = 0; w < 2; ++w) {
        OutpatientRecord &r = saves[std::size_t(w)];
        r.category = w + 1;
        r.condition = w + 1;
        r.discharged = loaded.admitted.addSecs(3600 * (w + 1));
        r.findings = u"FINDINGS OF WORKSTATION %1"_s.arg(w + 1);
        r.chiefComplaints = u"WOUND"_s;
        r.diagnoses = {};
        for (int d = 0; d <= w; ++d)
            r.diagnoses[std::size_t(d)] = w == 0 ? u"I10"_s : u"K35.8"_s;
        r.death = {w == 0 ? u"Natural Death"_s : u"Dead on Arrival (DOA)"_s, r.discharged,
                   r.discharged, QString()};
    }
    for (int round = 0; round < 3; ++round) {
        std::latch start(2);
        std::array<Result<OutpatientSaveOutcome>, 2> outcome;
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
                OutpatientResultStore station(**own);
                outcome[std::size_t(w)] =
                    station.save(saves[std::size_t(w)], u"290%1"_s.arg(w + 1));
            });
        for (std::thread &t : workstations)
            t.join();
        for (const auto &o : outcome) {
            QVERIFY2(o, qPrintable(o ? QString() : o.error().message));
            QCOMPARE(*o, OutpatientSaveOutcome::Saved);
        }
        // The visit holds one workstation's whole save, never a mix of both.
        const OutpatientRecord now = store.load(idNum).value().value();
        const int last = now.category - 1;
        QVERIFY(last == 0 || last == 1);
        QCOMPARE(summary(now), summary(saves[std::size_t(last)]));
        QCOMPARE(text(db, u"select count(*) from STATION..tbERDeathMaster where HospNum = :id"_s,
                      loaded.hospNum),
                 u"1"_s);
    }
}

void tst_OutpatientResult::windowShowsAndSaves()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, u"2901"_s);
    const QString idNum = visitOf(db, u"DELOS REYES"_s);
    const QString doctor =
        db.scalar(u"select min(DoctorID) from BUILD_FILE..tbCoDoctor"_s).value().toString();
    frmUpdateORRecord window(f.session, nullptr, nullptr);
    QVERIFY(window.open(idNum));
    // What was entered before: the complaint's code with its name, the classification "Sent
    // Home" and the same procedure ticked.
    QCOMPARE(window.findChild<QLineEdit *>(u"txtChiefIDName(0)"_s)->text(), u"ABDOMINAL PAIN"_s);
    QVERIFY(window.findChild<QRadioButton *>(u"optERClass(8)"_s)->isChecked());
    QVERIFY(window.findChild<QCheckBox *>(u"chkERClass(8)"_s)->isChecked());

    const QDateTime admitted = window.presenter().record().admitted;
    window.findChild<QLineEdit *>(u"mskDcrDate"_s)->setText(admitted.toString(u"MM/dd/yyyy"_s));
    window.findChild<QTimeEdit *>(u"dtpDcrTime"_s)->setTime(admitted.time().addSecs(3600));
    window.findChild<QRadioButton *>(u"optPatient(0)"_s)->click();
    window.findChild<QRadioButton *>(u"optCondition(1)"_s)->click();
    window.findChild<QRadioButton *>(u"optPrecaution(2)"_s)->click();
    auto *doctorCode = window.findChild<QLineEdit *>(u"txtDoctor(0)"_s);
    doctorCode->setText(doctor.toLower());
    doctorCode->setModified(true);
    f.dialogs.sign(u"2901"_s);
    window.findChild<QPushButton *>(u"cmdSave"_s)->click();
    QCOMPARE(f.notifier.lastText(), kSaved);
    QCOMPARE(text(db,
                  u"select O.PatientCategory || '|' || E.DischargeCondition || '|' || "
                  u"O.DoctorID1 || '|' || O.PrecautionID || '|' || E.ERClassID1 || '|' || "
                  u"E.ERClassification from PATIENT_DATA..tbOutPatient O join "
                  u"PATIENT_DATA..tbERMaster E on E.IDNum = O.IDNum where O.IDNum = :id"_s,
                  idNum),
             u"1|2|"_s + doctor.toUpper() + u"|3|9|Sent Home"_s);
}

QTEST_MAIN(tst_OutpatientResult)
#include "tst_outpatientresult.moc"
