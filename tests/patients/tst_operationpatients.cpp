// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patients of the operating room, on every backend. The admitted patients whose confirmed
// operation the OR has not checked yet: the hospital database's list, its search, and tagging
// a patient as checked. The patient index: a patient found by hospital number or by name, his
// particulars at the server's date, the OR procedures posted to him and the updates of their
// records, and the surgical memo (after the CF4 entry) of one procedure.
#include "core/components/clsPatientFinder.h"
#include "core/components/clsTarvikClasses.h"
#include "core/db/Database.h"
#include "patients/AdmittedPatients.h"
#include "patients/PatientIndex.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kAsk = u"Are you sure you want to tag this patient as already checked?"_s;
const QString kNotSaved = u"Transaction was not saved! \n"_s + kAsk;
const QString kChooseFirst = u"Please select checked admitted patients with schedule."_s;
const QString kSuccess = u"Successful! Patient was removed from the list."_s;

QStringList column(const RowSet &rows, const QString &name)
{
    QStringList values;
    for (const Row &r : rows)
        values << r.trimmed(name);
    return values;
}

QStringList listed(Database &db, const QString &text)
{
    auto rows = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {u"9"_s, text});
    if (!rows)
        qWarning("%s", qPrintable(rows.error().message));
    return rows ? column(*rows, u"TransNum"_s) : QStringList{u"?"_s};
}

qint64 count(Database &db, QStringView sql)
{
    auto n = db.scalar(sql);
    return n ? n->toLongLong() : -1;
}

// Patients, stays, procedures, an OR record and station log entries of our own beside the
// demo hospital's, so that every value read back is known here.
bool addTestPatients(Database &db)
{
    const QDateTime d1(QDate(2026, 11, 21), QTime(12, 0)), d3(QDate(2026, 11, 30), QTime(16, 0));
    const QDateTime second(QDate(2026, 11, 29), QTime(9, 0)), l2(QDate(2026, 11, 22), QTime(8, 15));
    const QList<std::pair<QStringView, Binds>> rows{
        {u"insert into BUILD_FILE..tbCoDoctor (DoctorID, LastName, FirstName, MiddleName) "
         u"values ('T001', 'DELA PAZ', 'JOSE', 'RIZAL'), ('T002', 'SANTOS', 'MARIA', '')",
         {}},
        {u"insert into BUILD_FILE..tbCoOtherRevenue (OtherRevenueID, OtherRevenue, "
         u"OtherSectionID, SectionID) values ('TPRC1', 'TEST EXPLORATORY LAPAROTOMY', 'OR', "
         u"'PRC'), ('TPRC2', 'TEST EXCISION OF LIPOMA', 'OR', 'PRC'), "
         u"('TSUP1', 'TEST ABDOMINAL PACK', 'CS', 'SUP')",
         {}},
        {u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, "
         u"BirthDate, BloodType, HouseStreet, Barangay, Town, Province) values "
         u"('T00001', 'BATUMBAKAL', 'JUAN', 'MARASIGAN', 'M', :born, 'O+', '12 MABINI ST.', "
         u"'SAN ISIDRO', 'SAN BARTOLOME', 'LAGUNA'), "
         u"('T00002', 'CRUZ_TEST', 'MARIA', 'LUNA', 'F', null, '', '', '', 'CALAMBA', ''), "
         u"('T00003', 'CRUZ_TEST', 'MARIA', 'SANTOS', 'F', null, 'A-', '', '', '', ''), "
         u"('T00004', 'CRUZ_TESTING', 'PEDRO', 'REYES', 'M', null, '', '', '', '', '')",
         {{"born", QDate(1980, 12, 2)}}},
        {u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, DcrDate) values "
         u"('T100001', 'T00001', :first, :left), ('T100002', 'T00001', :second, null), "
         u"('T100003', 'T00002', :second, null)",
         {{"first", QDateTime(QDate(2026, 11, 20), QTime(8, 0))},
          {"left", QDateTime(QDate(2026, 11, 25), QTime(14, 0))},
          {"second", second}}},
        {u"insert into PATIENT_DATA..tbOutPatient (IDNum, HospNum, AdmDate) "
         u"values ('T200001B', 'T00001', :seen)",
         {{"seen", QDateTime(QDate(2026, 11, 30), QTime(13, 0))}}},
        // The logbook: two procedures posted, one revoked, a supply, another patient's.
        {u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, RevenueID, "
         u"ItemID, Description, TransDate, RequestingDoctorID, RecordStatus) values "
         u"('T100001', 'T00001', 'TC1', 'OR', 'TPRC1', 'LAPAROTOMY', :d1, 'T002', ''), "
         u"('T100001', 'T00001', 'TC1', 'CS', 'TSUP1', 'ABDOMINAL PACK', :d1, 'T002', ''), "
         u"('T200001B', 'T00001', 'TC2', 'OR', 'TPRC2', 'EXCISION', :d2, 'T002', ''), "
         u"('T100002', 'T00001', 'TC3', 'OR', 'TPRC1', 'LAPAROTOMY', :d3, 'T001', 'R'), "
         u"('T100003', 'T00002', 'TC4', 'OR', 'TPRC2', 'EXCISION', :d3, 'T001', '')",
         {{"d1", d1}, {"d2", QDateTime(QDate(2026, 11, 30), QTime(15, 0))}, {"d3", d3}}},
        {u"insert into STATION..tbORMasterFile (IdNum, HospNum, RefNum, UserID, SurgeonID1, "
         u"Procedures, OperationDate) values ('T100001', 'T00001', 'TC1', '2903', 'T001', "
         u"'TPRC1', :operated)",
         {{"operated", QDateTime(QDate(2026, 11, 20), QTime(22, 30))}}},
        // The station log: two record updates, then entries that are not.
        {u"insert into STATION..tbStationLogs (IdNum, TransDate, Remarks, UserID, HostName, "
         u"StationID) values "
         u"('T100001', :l1, 'PRINT CLINICAL OPERATION', '2903', 'OR-PC-01', 'OR'), "
         u"('T100001', :l2, 'RESET OR CHART: WRONG PATIENT', '2901', 'OR-PC-02', 'OR'), "
         u"('T100001', :l2, 'TAGGED AS CVOR', '2901', 'OR-PC-02', 'OR'), "
         u"('T100003', :l2, 'PRINT CLINICAL OPERATION', '2903', 'OR-PC-01', 'OR'), "
         u"('T100001', :l2, 'PRINT CLINICAL OPERATION', '1401', 'WARD-PC', '4N')",
         {{"l1", QDateTime(QDate(2026, 11, 21), QTime(13, 5))}, {"l2", l2}}},
    };
    for (const auto &[sql, binds] : rows) {
        if (auto ok = db.exec(sql, binds); !ok) {
            qWarning("%s", qPrintable(ok.error().message));
            return false;
        }
    }
    return true;
}

QStringList rowTexts(const RowSet &rows)
{
    QStringList texts;
    for (const Row &r : rows) {
        QStringList cells;
        for (const QVariant &v : r.values())
            cells << v.toString();
        texts << cells.join(u'|');
    }
    return texts;
}

/// An index over the demo hospital and our own patients, logged in as the supervisor; the
/// windows it asks for are recorded.
struct Index
{
    explicit Index(Database &db)
        : f(db, u"2901"_s)
        , finder(ctx)
        , cf4(f.notifier)
        , index(f.session, &finder, &cf4)
    {
        f.session.settings.LoadParameters(db, f.session.hospital);
        f.session.hospital.Company = u"BAGONG TALA MEDICAL CENTER"_s;
        f.session.hospital.Address1 = u"88 GEN. LUNA AVENUE"_s;
        f.session.ApplicationPath = u"/opt/kestrel"_s;
        index.setWindowOpener([this](const QString &form, const WindowRequest &request) {
            opened.append({form, request});
        });
        ready = finder.InitConnection(u"MTS01"_s, &db);
    }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &box : f.notifier.boxes())
            texts << box.text;
        return texts;
    }

    test::RecordingNotifier finderNotifier; // the finder's own boxes
    ComponentContext ctx{finderNotifier};
    test::MainWindowFixture f;
    clsPatientFinder finder;
    clsCF4 cf4;
    PatientIndex index;
    QList<std::pair<QString, WindowRequest>> opened;
    bool ready = false;
};

#define OPEN_INDEX(x)                                                                              \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(addTestPatients(db));                                                                  \
    Index x(db);                                                                                   \
    QVERIFY(x.ready)

} // namespace

class tst_OperationPatients : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    // The admitted patients with a scheduled operation.
    void listsAdmittedPatientsNotYetChecked();
    void searchMatchesNameAdmissionOrHospitalNumber_data();
    void searchMatchesNameAdmissionOrHospitalNumber();
    void onlyStaysStillInWithAConfirmedUncheckedOperation();
    void positionText();
    void tagChecked_data();
    void tagChecked();

    // The patient index.
    void showsThePatientAtTheServerDate();
    void ageInYears_data();
    void ageInYears();
    void listsProceduresAndTheirUpdates();
    void demoPatientsProceduresAreTheirPostedOnes();
    void enterFindsByNumberOrName_data();
    void enterFindsByNumberOrName();
    void procedureOpensCF4AndSurgicalMemo_data();
    void procedureOpensCF4AndSurgicalMemo();
};

void tst_OperationPatients::listsAdmittedPatientsNotYetChecked()
{
    KESTREL_OPEN_DEMO(db);
    auto rows = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {u"9"_s, QString()});
    QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
    QCOMPARE(rows->columnNames().size(), 10);

    // What the hospital's tables hold, asked another way: earliest operation first.
    auto waiting = db.select(
        u"select S.TransNum from SCHEDULE..tbORScheduleDetails S where S.RecordStatus = 'C' "
        u"and S.ORNotified = '' and S.IDNum in (select IDNum from PATIENT_DATA..tbPatient "
        u"where DcrDate is null and RecordStatus = '') order by S.StartTime, S.TransNum");
    QVERIFY(waiting && waiting->count() > 0);
    QCOMPARE(column(*rows, u"TransNum"_s), column(*waiting, u"TransNum"_s));

    // The demo hospital has patients still in whose operation was checked already, so the
    // list leaves some confirmed operations out.
    QVERIFY(count(db, u"select count(*) from SCHEDULE..tbORScheduleDetails S "
                      u"join PATIENT_DATA..tbPatient P on P.IDNum = S.IDNum "
                      u"where S.RecordStatus = 'C' and S.ORNotified = 'Y' "
                      u"and P.DcrDate is null") > 0);

    // The window reads the keys from the grid's hidden columns 7 to 9.
    test::MainWindowFixture f(db, u"2901"_s);
    AdmittedPatients list(f.session);
    QVERIFY(list.search());
    QCOMPARE(list.headers().size(), AdmittedPatients::columnWidths().size());
    const Row &first = rows->at(0);
    QCOMPARE(list.cell(1, 9), first.trimmed(u"TransNum"));
    QCOMPARE(list.cell(1, 8), first.trimmed(u"IdNum"));
    QCOMPARE(list.cell(1, 7), first.trimmed(u"HospNum"));
    auto patient =
        db.selectOne(u"select M.LastName, M.FirstName from PATIENT_DATA..tbPatient P "
                     u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum where P.IDNum = :id",
                     {{"id", first.trimmed(u"IdNum")}});
    QVERIFY(patient && *patient);
    QVERIFY(list.cell(1, 1).startsWith((*patient)->trimmed(u"LastName") + u", " +
                                       (*patient)->trimmed(u"FirstName")));
    QVERIFY(QDateTime::fromString(list.cell(1, 5), u"MM/dd/yyyy hh:mm AP").isValid());
}

void tst_OperationPatients::searchMatchesNameAdmissionOrHospitalNumber_data()
{
    QTest::addColumn<QString>("kind");
    QTest::newRow("last name, typed in small letters") << u"last"_s;
    QTest::newRow("admission number") << u"adm"_s;
    QTest::newRow("beginning of the hospital number") << u"hosp"_s;
    QTest::newRow("nobody by that name") << u"none"_s;
    QTest::newRow("% is typed, not a wildcard") << u"percent"_s;
    QTest::newRow("_ is typed, not a wildcard") << u"underscore"_s;
}

void tst_OperationPatients::searchMatchesNameAdmissionOrHospitalNumber()
{
    QFETCH(QString, kind);
    KESTREL_OPEN_DEMO(db);
    auto all = db.call(u"SCHEDULE..sp_List_ConfirmedORSchedule", {u"9"_s, QString()});
    QVERIFY(all && all->count() > 1);
    const Row &first = all->at(0);
    const QString lastName = first.trimmed(u"Patient Name").section(u',', 0, 0);
    const QString typed = kind == u"last"      ? lastName.left(3).toLower()
                          : kind == u"adm"     ? first.trimmed(u"IdNum")
                          : kind == u"hosp"    ? first.trimmed(u"HospNum").left(5)
                          : kind == u"none"    ? u"ZZQX"_s
                          : kind == u"percent" ? u"%"_s
                                               : lastName.left(1) + u'_';

    QStringList expected;
    for (const Row &r : *all) {
        if (r.trimmed(u"Patient Name").startsWith(typed, Qt::CaseInsensitive) ||
            r.trimmed(u"IdNum").startsWith(typed, Qt::CaseInsensitive) ||
            r.trimmed(u"HospNum").startsWith(typed, Qt::CaseInsensitive))
            expected << r.trimmed(u"TransNum");
    }
    if (kind == u"last" || kind == u"adm" || kind == u"hosp")
        QVERIFY(expected.contains(first.trimmed(u"TransNum")));
    QCOMPARE(listed(db, typed), expected);
    // Blanks around the text do not count.
    QCOMPARE(listed(db, u"  "_s + typed + u" "), expected);
}

void tst_OperationPatients::onlyStaysStillInWithAConfirmedUncheckedOperation()
{
    KESTREL_OPEN_DEMO(db);
    const QVariant stillIn;
    const QVariant gone = QDateTime(QDate(2026, 11, 30), QTime(12, 0));
    // A stay of a patient of our own and its confirmed operation; only the first is listed:
    // the others are discharged, not confirmed, checked already, or a cancelled stay.
    const QList<std::tuple<QString, QVariant, QString, QString, QString>> stays{
        {u"DEL_ROSARIO"_s, stillIn, QString(), u"C"_s, QString()},
        {u"DELAROSA"_s, gone, QString(), u"C"_s, QString()},
        {u"DELOSREYES"_s, stillIn, QString(), u"R"_s, QString()},
        {u"DELFIN"_s, stillIn, QString(), u"C"_s, u"Y"_s},
        {u"DELGADO"_s, stillIn, u"R"_s, u"C"_s, QString()}};
    int n = 0;
    for (const auto &[lastName, discharged, stayStatus, scheduleStatus, checked] : stays) {
        ++n;
        const Binds b{{"trans", u"T000000%1"_s.arg(n)},
                      {"id", u"T90000%1"_s.arg(n)},
                      {"hosp", u"HT90000%1"_s.arg(n)},
                      {"last", lastName},
                      {"dcr", discharged},
                      {"stay", stayStatus},
                      {"status", scheduleStatus},
                      {"checked", checked},
                      {"start", QDateTime(QDate(2026, 12, 1), QTime(15, 0))}};
        QVERIFY(db.exec(u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName) "
                        u"values (:hosp, :last, 'TESTER')",
                        b));
        QVERIFY(db.exec(u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, DcrDate, "
                        u"RecordStatus) values (:id, :hosp, :start, :dcr, :stay)",
                        b));
        QVERIFY(db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, HospNum, "
                        u"PatientClass, StartTime, RecordStatus, ORNotified) values (:trans, :id, "
                        u":hosp, 'I', :start, :status, :checked)",
                        b));
    }

    const QStringList everyone = listed(db, QString());
    QVERIFY(everyone.contains(u"T0000001"_s));
    for (const char *left : {"T0000002", "T0000003", "T0000004", "T0000005"})
        QVERIFY2(!everyone.contains(QLatin1String(left)), left);
    // Only the patient with the underscore in his name has it.
    QCOMPARE(listed(db, u"del_"_s), QStringList{u"T0000001"_s});
    QCOMPARE(listed(db, u"T90000"_s), QStringList{u"T0000001"_s});
    QCOMPARE(listed(db, u"HT900001"_s), QStringList{u"T0000001"_s});
}

void tst_OperationPatients::positionText()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    AdmittedPatients list(f.session);
    QVERIFY(list.search());
    const int patients = list.rows().count();
    QVERIFY(patients > 1);
    QCOMPARE(list.positionText(), QString());
    list.chooseRow(2);
    QCOMPARE(list.positionText(), u"2  out of  %1"_s.arg(patients));
    QCOMPARE(list.chosenTransNum(), list.rows().at(1).trimmed(u"TransNum"));
    // The header row and rows past the list choose nobody.
    list.chooseRow(patients + 1);
    QCOMPARE(list.positionText(), QString());
    QCOMPARE(list.chosenTransNum(), QString());
    list.chooseRow(patients);
    QCOMPARE(list.positionText(), u"%1  out of  %1"_s.arg(patients));
    // A new search chooses nobody.
    QVERIFY(list.search());
    QCOMPARE(list.chosenRow(), 0);
}

void tst_OperationPatients::tagChecked_data()
{
    using Outcome = AdmittedPatients::CheckOutcome;
    QTest::addColumn<int>("row");
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QStringList>("signers"); ///< "" signs nobody (the window was cancelled)
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QStringList>("boxes");
    QTest::addColumn<int>("validations");

    const QStringList clerk{u"2905"_s};
    QTest::newRow("nobody chosen")
        << 0 << QList<bool>{} << clerk << int(Outcome::NoPatient) << QStringList{kChooseFirst} << 0;
    QTest::newRow("No to the question")
        << 1 << QList<bool>{false} << clerk << int(Outcome::Declined) << QStringList{kAsk} << 0;
    QTest::newRow("nobody signs, then No")
        << 1 << QList<bool>{true, false} << QStringList{} << int(Outcome::Abandoned)
        << QStringList{kAsk, kNotSaved} << 1;
    QTest::newRow("nobody signs twice, then No")
        << 1 << QList<bool>{true, true, false} << QStringList{} << int(Outcome::Abandoned)
        << QStringList{kAsk, kNotSaved, kNotSaved} << 2;
    QTest::newRow("nobody signs, then Yes and a nurse signs")
        << 2 << QList<bool>{true, true} << QStringList{QString(), u"2903"_s}
        << int(Outcome::Checked) << QStringList{kAsk, kNotSaved, kSuccess} << 2;
    QTest::newRow("the clerk signs at once")
        << 1 << QList<bool>{true} << clerk << int(Outcome::Checked) << QStringList{kAsk, kSuccess}
        << 1;
}

void tst_OperationPatients::tagChecked()
{
    QFETCH(int, row);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, signers);
    QFETCH(int, outcome);
    QFETCH(QStringList, boxes);
    QFETCH(int, validations);
    KESTREL_OPEN_DEMO(db);
    // The supervisor is logged in; whoever signs is recorded.
    test::MainWindowFixture f(db, u"2901"_s);
    f.notifier.answer(answers);
    for (const QString &code : std::as_const(signers))
        f.dialogs.sign(code);

    const QString checkedSql =
        u"select count(*) from SCHEDULE..tbORScheduleDetails where ORNotified = 'Y'"_s;
    const qint64 checkedBefore = count(db, checkedSql);
    AdmittedPatients list(f.session);
    QVERIFY(list.search(QString()));
    const int before = list.rows().count();
    QVERIFY(before >= 2);
    list.chooseRow(row);
    const QString transNum = row ? list.rows().at(row - 1).trimmed(u"TransNum") : QString();

    QCOMPARE(int(list.tagChecked()), outcome);

    QStringList shown;
    for (const auto &box : f.notifier.boxes()) {
        shown << box.text;
        QCOMPARE(box.title, box.question ? u"Confirmation"_s : u"Notification"_s);
    }
    QCOMPARE(shown, boxes);
    QCOMPARE(f.dialogs.asked(), validations);

    const bool checked = outcome == int(AdmittedPatients::CheckOutcome::Checked);
    QCOMPARE(count(db, checkedSql), checkedBefore + (checked ? 1 : 0));
    if (transNum.isEmpty())
        return;
    auto saved = db.selectOne(u"select ORNotified, ORNotifiedUser, ORNotifiedDate "
                              u"from SCHEDULE..tbORScheduleDetails where TransNum = :trans",
                              {{"trans", transNum}});
    QVERIFY(saved && *saved);
    QCOMPARE((*saved)->text(u"ORNotified"), checked ? u"Y"_s : QString());
    QCOMPARE((*saved)->text(u"ORNotifiedUser"), checked ? signers.last() : QString());
    QCOMPARE((*saved)->dateTime(u"ORNotifiedDate"), checked ? test::fixtureNow() : QDateTime());
    // After a check the list was read again, without the patient and with nobody chosen.
    QCOMPARE(list.rows().count(), before - (checked ? 1 : 0));
    if (checked) {
        QCOMPARE(f.session.validated.code, signers.last());
        QVERIFY(!column(list.rows(), u"TransNum"_s).contains(transNum));
        QCOMPARE(list.chosenRow(), 0);
    }
}

void tst_OperationPatients::showsThePatientAtTheServerDate()
{
    OPEN_INDEX(x);
    QVERIFY(!x.index.refresh());
    QVERIFY(x.index.validatePatient(u" T00001 "_s));
    QCOMPARE(x.index.hospNum(), u"T00001"_s);
    const PatientIndexFields &p = x.index.fields();
    // The clock stands at 2026-12-01 10:00: his birthday is tomorrow.
    QCOMPARE(QStringList({p.PatientName, p.Address, p.BirthDate, p.Age, p.Sex, p.BloodType}),
             (QStringList{"BATUMBAKAL, JUAN MARASIGAN",
                          "12 MABINI ST., SAN ISIDRO, SAN BARTOLOME, LAGUNA", "12/02/1980", "45",
                          "M", "O+"}));
    QCOMPARE(x.f.session.ServerDate, test::fixtureToday());
    QVERIFY(x.messages().isEmpty());

    // Refresh reads the patient and his lists again.
    const int before = x.index.procedures().count();
    QVERIFY(
        db.exec(u"update PATIENT_DATA..tbMaster set BloodType = 'AB+' where HospNum = 'T00001'"));
    QVERIFY(db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' "
                    u"where ReferenceNum = 'TC2'"));
    QCOMPARE(x.index.fields().BloodType, u"O+"_s);
    QVERIFY(x.index.refresh());
    QCOMPARE(x.index.fields().BloodType, u"AB+"_s);
    QCOMPARE(x.index.procedures().count(), before - 1);

    // A patient without a birth date has no age.
    QVERIFY(x.index.validatePatient(u"T00002"_s));
    QCOMPARE(x.index.fields().BirthDate, QString());
    QCOMPARE(x.index.fields().Age, QString());
    QCOMPARE(x.index.fields().Address, u"CALAMBA"_s);
}

void tst_OperationPatients::ageInYears_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("years");
    const QDate today = test::fixtureToday();
    QTest::newRow("birthday today") << QDate(1980, 12, 1) << today << 46;
    QTest::newRow("birthday tomorrow") << QDate(1980, 12, 2) << today << 45;
    QTest::newRow("born earlier in the month") << QDate(2000, 11, 30) << today << 26;
    QTest::newRow("born today") << today << today << 0;
    QTest::newRow("leap day, not yet in a common year")
        << QDate(2000, 2, 29) << QDate(2027, 2, 28) << 26;
    QTest::newRow("leap day, on the first of March")
        << QDate(2000, 2, 29) << QDate(2027, 3, 1) << 27;
    QTest::newRow("no birth date") << QDate() << today << -1;
    QTest::newRow("born after the day") << QDate(2027, 1, 1) << today << -1;
}

void tst_OperationPatients::ageInYears()
{
    QFETCH(QDate, birth);
    QFETCH(QDate, day);
    QFETCH(int, years);
    QCOMPARE(PatientIndex::ageInYears(birth, day), years);
}

void tst_OperationPatients::listsProceduresAndTheirUpdates()
{
    OPEN_INDEX(x);
    QVERIFY(x.index.validatePatient(u"T00001"_s));
    auto operatingNum =
        db.scalar(u"select OperatingNum from STATION..tbORMasterFile where RefNum = 'TC1'");
    QVERIFY(operatingNum);

    // Latest first, over both stays and the visit; neither the revoked procedure, nor the
    // supply on the same slip, nor another patient's. The operation's date and surgeon come
    // from its OR record; without one, the posting's date and the requesting doctor.
    const RowSet &procedures = x.index.procedures();
    QCOMPARE(procedures.columnNames(),
             (QStringList{"Date of Operation", "Adm. #", "ProcedureID", "ProcedureName", "Surgeon",
                          "RefNum", "OperatingNum", "ClinicalRevenueID"}));
    QCOMPARE(rowTexts(procedures),
             (QStringList{"11/30/2026|T200001B|TPRC2|TEST EXCISION OF LIPOMA|SANTOS, MARIA|TC2||OR",
                          u"11/20/2026|T100001|TPRC1|TEST EXPLORATORY LAPAROTOMY|"
                          u"DELA PAZ, JOSE RIZAL|TC1|%1|OR"_s.arg(operatingNum->toString())}));

    // Only the record updates of his own stays at the OR, latest first.
    QCOMPARE(rowTexts(x.index.updates()),
             (QStringList{"11/22/2026 08:15 AM|T100001|RESET OR CHART: WRONG PATIENT|2901|"
                          "VILLANUEVA, TERESITA MAGBANUA|OR-PC-02",
                          "11/21/2026 01:05 PM|T100001|PRINT CLINICAL OPERATION|2903|"
                          "MACARAEG, KRISTINE JOY LIM|OR-PC-01"}));
}

void tst_OperationPatients::demoPatientsProceduresAreTheirPostedOnes()
{
    KESTREL_OPEN_DEMO(db);
    // The demo patient with the most procedures posted, counted from the logbook.
    auto most =
        db.selectOne(u"select L.HospNum, count(*) as Posted from STATION..tbNurseLogBook L "
                     u"where L.RecordStatus <> 'R' and L.ItemID in (select OtherRevenueID from "
                     u"BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC') group by L.HospNum "
                     u"order by count(*) desc, L.HospNum limit 1");
    QVERIFY(most && *most);
    const QString hospNum = (*most)->trimmed(u"HospNum");
    QVERIFY2((*most)->integer(u"Posted") >= 2, "no demo patient was operated on twice");

    auto rows = db.call(u"Station..sp_Get_Patient_PostedProcedure", {hospNum});
    QVERIFY(rows);
    QCOMPARE(qint64(rows->count()), (*most)->integer(u"Posted"));
    for (const Row &r : *rows) {
        // Every operation of the demo hospital has its OR record, with its surgeon.
        QVERIFY(!r.trimmed(u"OperatingNum").isEmpty() && !r.trimmed(u"Surgeon").isEmpty());
        auto posted = db.scalar(u"select count(*) from STATION..tbNurseLogBook where "
                                u"ReferenceNum = :ref and ItemID = :item and HospNum = :hosp",
                                {{"ref", r.trimmed(u"RefNum")},
                                 {"item", r.trimmed(u"ProcedureID")},
                                 {"hosp", hospNum}});
        QVERIFY(posted && posted->toInt() == 1);
    }
    // Some demo records were printed more than two weeks ago; a patient of theirs sees it.
    auto printed =
        db.scalar(u"select P.HospNum from STATION..tbStationLogs L join PATIENT_DATA..tbPatient P "
                  u"on P.IDNum = L.IdNum where L.Remarks = 'PRINT CLINICAL OPERATION' limit 1");
    QVERIFY(printed && !printed->toString().isEmpty());
    auto updates = db.call(u"Station..Get_ClinicalOperations", {printed->toString()});
    QVERIFY(updates && updates->count() > 0);
}

void tst_OperationPatients::enterFindsByNumberOrName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("offered"); ///< the patients the chooser is offered
    QTest::addColumn<int>("pick");            ///< -1 cancels the chooser
    QTest::addColumn<QString>("shown");       ///< the hospital number shown after, or ""
    QTest::addColumn<QString>("message");

    const QStringList marias{"T00002", "T00003"};
    const QString none;
    QTest::newRow("hospital number") << u"T00001"_s << QStringList() << 0 << u"T00001"_s << none;
    QTest::newRow("unknown hospital number") << u"T99999"_s << QStringList() << 0 << none
                                             << u"No patient with hospital # T99999 was found."_s;
    QTest::newRow("one patient by that name")
        << u"batumbakal, juan"_s << QStringList() << 0 << u"T00001"_s << none;
    QTest::newRow("last name only, one patient")
        << u"BATUMBAK"_s << QStringList() << 0 << u"T00001"_s << none;
    QTest::newRow("several: the second is picked")
        << u"CRUZ_TEST, MARIA"_s << marias << 1 << u"T00003"_s << none;
    QTest::newRow("several: the chooser is cancelled")
        << u"CRUZ_TEST, MARIA"_s << marias << -1 << none << none;
    QTest::newRow("middle name narrows to one")
        << u"CRUZ_TEST, MARIA, SAN"_s << QStringList() << 0 << u"T00003"_s << none;
    QTest::newRow("last name prefix reaches further")
        << u"CRUZ_TEST"_s << (marias + QStringList{"T00004"}) << 2 << u"T00004"_s << none;
    QTest::newRow("_ is no wildcard") << u"CRUZ_T_ST"_s << QStringList() << 0 << none
                                      << u"No patient named \"CRUZ_T_ST\" was found."_s;
    QTest::newRow("% is no wildcard") << u"%, MARIA"_s << QStringList() << 0 << none
                                      << u"No patient named \"%, MARIA\" was found."_s;
}

void tst_OperationPatients::enterFindsByNumberOrName()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, offered);
    QFETCH(int, pick);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    OPEN_INDEX(x);
    QStringList offeredTo;
    x.index.setChooser([&](const QList<PatientMatch> &matches) -> std::optional<int> {
        for (const PatientMatch &m : matches)
            offeredTo << m.HospNum;
        return pick < 0 ? std::nullopt : std::optional<int>(pick);
    });
    // Someone else is shown first: a search that finds nobody must not leave him there.
    QVERIFY(x.index.validatePatient(u"T00002"_s));

    QCOMPARE(x.index.enter(typed), !shown.isEmpty());
    QCOMPARE(offeredTo, offered);
    if (!shown.isEmpty()) {
        QCOMPARE(x.index.hospNum(), shown);
        QVERIFY(!x.index.fields().PatientName.isEmpty());
    } else if (!message.isEmpty()) {
        QCOMPARE(x.index.hospNum(), QString());
        QCOMPARE(x.index.fields().PatientName, QString());
        QCOMPARE(x.index.procedures().count(), 0);
    } else {
        // A cancelled choice leaves the window as it was.
        QCOMPARE(x.index.hospNum(), u"T00002"_s);
    }
    QCOMPARE(x.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
}

void tst_OperationPatients::procedureOpensCF4AndSurgicalMemo_data()
{
    QTest::addColumn<QString>("showCF4");
    QTest::addColumn<QString>("client");
    QTest::addColumn<bool>("cf4Shown");
    QTest::addColumn<QString>("memo");

    QTest::newRow("CF4, then the memo") << u"1"_s << QString() << true << u"frmSurgicalMemo"_s;
    QTest::newRow("no CF4 at this hospital")
        << u"0"_s << QString() << false << u"frmSurgicalMemo"_s;
    QTest::newRow("the memo of the VZ hospital")
        << u"0"_s << u"VZ"_s << false << u"frmSurgicalMemo_VZ"_s;
}

void tst_OperationPatients::procedureOpensCF4AndSurgicalMemo()
{
    QFETCH(QString, showCF4);
    QFETCH(QString, client);
    QFETCH(bool, cf4Shown);
    QFETCH(QString, memo);
    OPEN_INDEX(x);
    QVERIFY(db.exec(u"update STATION..tbNurseSetup set value = :on where Field = 'ORShowCF4'",
                    {{"on", showCF4}}));
    x.f.session.settings.LoadParameters(db, x.f.session.hospital);
    x.f.session.hospital.clientname = client;
    QVERIFY(x.index.validatePatient(u"T00001"_s));
    x.f.notifier.clear();

    x.index.openProcedure(1); // the laparotomy of the first stay
    if (cf4Shown) {
        const clsCF4 &c = x.cf4;
        QCOMPARE(QStringList({c.IdNum, c.Title, c.StationID, c.HospitalName, c.HospitalAddress,
                              c.ReportPath}),
                 (QStringList{"T100001",
                              "PhilHealth CF4 Entries  - BATUMBAKAL, JUAN MARASIGAN ( T100001 )",
                              "OR", "BAGONG TALA MEDICAL CENTER", "88 GEN. LUNA AVENUE",
                              "/opt/kestrel/Reports"}));
        QCOMPARE(c.ShowPrint, x.f.session.settings.NursePrintCF4());
    } else {
        QCOMPARE(x.cf4.Title, QString());
        QVERIFY(x.messages().isEmpty());
    }

    QCOMPARE(x.opened.size(), 1);
    const auto &[form, request] = x.opened.first();
    QCOMPARE(form, memo);
    QCOMPARE(request.caption, u"Surgical Procedures Entry"_s);
    QVERIFY(request.modal);
    QCOMPARE(request.patient.HospNum, u"T00001"_s);
    QCOMPARE(request.patient.IdNum, u"T100001"_s);
    QCOMPARE(request.values.value("ProcedureID").toString(), u"TPRC1"_s);
    QCOMPARE(request.values.value("ProcedureName").toString(), u"TEST EXPLORATORY LAPAROTOMY"_s);
    QCOMPARE(request.values.value("RefNum").toString(), u"TC1"_s);
    QVERIFY(!request.values.value("OperatingNum").toString().isEmpty());

    // A row past the list opens nothing; "New Procedure" opens a memo without a procedure.
    x.index.openProcedure(2);
    QCOMPARE(x.opened.size(), 1);
    x.index.setAdmissionNumber(u"T100002"_s);
    x.index.newProcedure();
    QCOMPARE(x.opened.size(), 2);
    QCOMPARE(x.opened.last().second.patient.IdNum, u"T100002"_s);
    QCOMPARE(x.opened.last().second.values.value("RefNum").toString(), QString());
}

QTEST_MAIN(tst_OperationPatients)
#include "tst_operationpatients.moc"
