// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient index: a patient found by hospital number or by name, his particulars at the
// server's date, the OR procedures posted to him and the updates of their records, and the
// surgical memo (after the CF4 entry) of one procedure, on every backend.
#include "patients/PatientIndex.h"
#include "shell/components/clsPatientFinder.h"
#include "shell/components/clsTarvikClasses.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

namespace {

// Patients, stays, procedures, an OR record and station log entries of our own beside the
// demo hospital's, so that every value read back is known here.
bool addTestPatients(Database &db)
{
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
         {{QStringLiteral("born"), QDate(1980, 12, 2)}}},
        {u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, DcrDate) values "
         u"('T100001', 'T00001', :first, :left), ('T100002', 'T00001', :second, null), "
         u"('T100003', 'T00002', :second, null)",
         {{QStringLiteral("first"), QDateTime(QDate(2026, 11, 20), QTime(8, 0))},
          {QStringLiteral("left"), QDateTime(QDate(2026, 11, 25), QTime(14, 0))},
          {QStringLiteral("second"), QDateTime(QDate(2026, 11, 29), QTime(9, 0))}}},
        {u"insert into PATIENT_DATA..tbOutPatient (IDNum, HospNum, AdmDate) "
         u"values ('T200001B', 'T00001', :seen)",
         {{QStringLiteral("seen"), QDateTime(QDate(2026, 11, 30), QTime(13, 0))}}},
        // The logbook: two procedures posted, one revoked, a supply, another patient's.
        {u"insert into STATION..tbNurseLogBook (IDNum, HospNum, ReferenceNum, RevenueID, "
         u"ItemID, Description, TransDate, RequestingDoctorID, RecordStatus) values "
         u"('T100001', 'T00001', 'TC1', 'OR', 'TPRC1', 'LAPAROTOMY', :d1, 'T002', ''), "
         u"('T100001', 'T00001', 'TC1', 'CS', 'TSUP1', 'ABDOMINAL PACK', :d1, 'T002', ''), "
         u"('T200001B', 'T00001', 'TC2', 'OR', 'TPRC2', 'EXCISION', :d2, 'T002', ''), "
         u"('T100002', 'T00001', 'TC3', 'OR', 'TPRC1', 'LAPAROTOMY', :d3, 'T001', 'R'), "
         u"('T100003', 'T00002', 'TC4', 'OR', 'TPRC2', 'EXCISION', :d3, 'T001', '')",
         {{QStringLiteral("d1"), QDateTime(QDate(2026, 11, 21), QTime(12, 0))},
          {QStringLiteral("d2"), QDateTime(QDate(2026, 11, 30), QTime(15, 0))},
          {QStringLiteral("d3"), QDateTime(QDate(2026, 11, 30), QTime(16, 0))}}},
        {u"insert into STATION..tbORMasterFile (IdNum, HospNum, RefNum, UserID, SurgeonID1, "
         u"Procedures, OperationDate) values ('T100001', 'T00001', 'TC1', '2903', 'T001', "
         u"'TPRC1', :operated)",
         {{QStringLiteral("operated"), QDateTime(QDate(2026, 11, 20), QTime(22, 30))}}},
        // The station log: two record updates, then entries that are not.
        {u"insert into STATION..tbStationLogs (IdNum, TransDate, Remarks, UserID, HostName, "
         u"StationID) values "
         u"('T100001', :l1, 'PRINT CLINICAL OPERATION', '2903', 'OR-PC-01', 'OR'), "
         u"('T100001', :l2, 'RESET OR CHART: WRONG PATIENT', '2901', 'OR-PC-02', 'OR'), "
         u"('T100001', :l2, 'TAGGED AS CVOR', '2901', 'OR-PC-02', 'OR'), "
         u"('T100003', :l2, 'PRINT CLINICAL OPERATION', '2903', 'OR-PC-01', 'OR'), "
         u"('T100001', :l2, 'PRINT CLINICAL OPERATION', '1401', 'WARD-PC', '4N')",
         {{QStringLiteral("l1"), QDateTime(QDate(2026, 11, 21), QTime(13, 5))},
          {QStringLiteral("l2"), QDateTime(QDate(2026, 11, 22), QTime(8, 15))}}},
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
    test::RecordingNotifier finderNotifier; // the finder's own boxes
    ComponentContext ctx{finderNotifier};
    std::unique_ptr<test::TestDatabase> hospital;
    std::unique_ptr<test::MainWindowFixture> f;
    std::unique_ptr<clsPatientFinder> finder;
    std::unique_ptr<clsCF4> cf4;
    std::unique_ptr<PatientIndex> index;
    QList<std::pair<QString, WindowRequest>> opened;

    bool open()
    {
        auto t = test::TestDatabase::create(test::backendOfRow());
        if (!t) {
            qWarning("%s", qPrintable(t.error().message));
            return false;
        }
        hospital = std::move(*t);
        if (!addTestPatients(hospital->db()))
            return false;
        f = std::make_unique<test::MainWindowFixture>(hospital->db(), QStringLiteral("2901"));
        f->session.settings.LoadParameters(hospital->db(), f->session.hospital);
        f->session.hospital.Company = QStringLiteral("BAGONG TALA MEDICAL CENTER");
        f->session.hospital.Address1 = QStringLiteral("88 GEN. LUNA AVENUE");
        f->session.ApplicationPath = QStringLiteral("/opt/kestrel");
        finder = std::make_unique<clsPatientFinder>(ctx);
        cf4 = std::make_unique<clsCF4>(f->notifier);
        index = std::make_unique<PatientIndex>(f->session, finder.get(), cf4.get());
        index->setWindowOpener([this](const QString &form, const WindowRequest &request) {
            opened.append({form, request});
        });
        return finder->InitConnection(QStringLiteral("MTS01"), &hospital->db());
    }
    Database &db() { return hospital->db(); }
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &box : f->notifier.boxes())
            texts << box.text;
        return texts;
    }
};

} // namespace

class tst_PatientIndex : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void showsThePatientAtTheServerDate();
    void ageInYears_data();
    void ageInYears();
    void listsProceduresAndTheirUpdates();
    void demoPatientsProceduresAreTheirPostedOnes();
    void enterFindsByNumberOrName_data();
    void enterFindsByNumberOrName();
    void refreshReadsThePatientAgain();
    void procedureOpensCF4AndSurgicalMemo_data();
    void procedureOpensCF4AndSurgicalMemo();
};

void tst_PatientIndex::showsThePatientAtTheServerDate()
{
    Index x;
    QVERIFY(x.open());
    QVERIFY(x.index->validatePatient(QStringLiteral(" T00001 ")));
    QCOMPARE(x.index->hospNum(), QStringLiteral("T00001"));
    const PatientIndexFields &p = x.index->fields();
    QCOMPARE(p.PatientName, QStringLiteral("BATUMBAKAL, JUAN MARASIGAN"));
    QCOMPARE(p.Address, QStringLiteral("12 MABINI ST., SAN ISIDRO, SAN BARTOLOME, LAGUNA"));
    QCOMPARE(p.BirthDate, QStringLiteral("12/02/1980"));
    // The clock stands at 2026-12-01 10:00: his birthday is tomorrow.
    QCOMPARE(p.Age, QStringLiteral("45"));
    QCOMPARE(x.f->session.ServerDate, test::fixtureToday());
    QCOMPARE(p.Sex, QStringLiteral("M"));
    QCOMPARE(p.BloodType, QStringLiteral("O+"));
    QVERIFY(x.messages().isEmpty());

    // A patient without a birth date has no age.
    QVERIFY(x.index->validatePatient(QStringLiteral("T00002")));
    QCOMPARE(x.index->fields().BirthDate, QString());
    QCOMPARE(x.index->fields().Age, QString());
    QCOMPARE(x.index->fields().Address, QStringLiteral("CALAMBA"));
}

void tst_PatientIndex::ageInYears_data()
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

void tst_PatientIndex::ageInYears()
{
    QFETCH(QDate, birth);
    QFETCH(QDate, day);
    QFETCH(int, years);
    QCOMPARE(PatientIndex::ageInYears(birth, day), years);
}

void tst_PatientIndex::listsProceduresAndTheirUpdates()
{
    Index x;
    QVERIFY(x.open());
    QVERIFY(x.index->validatePatient(QStringLiteral("T00001")));
    auto operatingNum =
        x.db().scalar(u"select OperatingNum from STATION..tbORMasterFile where RefNum = 'TC1'");
    QVERIFY(operatingNum);

    // Latest first, over both stays and the visit; neither the revoked procedure, nor the
    // supply on the same slip, nor another patient's. The operation's date and surgeon come
    // from its OR record; without one, the posting's date and the requesting doctor.
    const RowSet &procedures = x.index->procedures();
    QCOMPARE(procedures.columnNames(),
             (QStringList{"Date of Operation", "Adm. #", "ProcedureID", "ProcedureName", "Surgeon",
                          "RefNum", "OperatingNum", "ClinicalRevenueID"}));
    QCOMPARE(rowTexts(procedures),
             (QStringList{"11/30/2026|T200001B|TPRC2|TEST EXCISION OF LIPOMA|SANTOS, MARIA|TC2||OR",
                          QStringLiteral("11/20/2026|T100001|TPRC1|TEST EXPLORATORY LAPAROTOMY|"
                                         "DELA PAZ, JOSE RIZAL|TC1|%1|OR")
                              .arg(operatingNum->toString())}));

    // Only the record updates of his own stays at the OR, latest first.
    const RowSet &updates = x.index->updates();
    QCOMPARE(rowTexts(updates),
             (QStringList{"11/22/2026 08:15 AM|T100001|RESET OR CHART: WRONG PATIENT|2901|"
                          "VILLANUEVA, TERESITA MAGBANUA|OR-PC-02",
                          "11/21/2026 01:05 PM|T100001|PRINT CLINICAL OPERATION|2903|"
                          "MACARAEG, KRISTINE JOY LIM|OR-PC-01"}));
}

void tst_PatientIndex::demoPatientsProceduresAreTheirPostedOnes()
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
        QVERIFY(!r.trimmed(u"OperatingNum").isEmpty());
        QVERIFY(!r.trimmed(u"Surgeon").isEmpty());
        auto posted = db.scalar(u"select count(*) from STATION..tbNurseLogBook where "
                                u"ReferenceNum = :ref and ItemID = :item and HospNum = :hosp",
                                {{QStringLiteral("ref"), r.trimmed(u"RefNum")},
                                 {QStringLiteral("item"), r.trimmed(u"ProcedureID")},
                                 {QStringLiteral("hosp"), hospNum}});
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

void tst_PatientIndex::enterFindsByNumberOrName_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("offered"); ///< the patients the chooser is offered
    QTest::addColumn<int>("pick");            ///< -1 cancels the chooser
    QTest::addColumn<QString>("shown");       ///< the hospital number shown after, or ""
    QTest::addColumn<QString>("message");

    QTest::newRow("hospital number") << "T00001" << QStringList{} << 0 << "T00001"
                                     << "";
    QTest::newRow("unknown hospital number") << "T99999" << QStringList{} << 0 << ""
                                             << "No patient with hospital # T99999 was found.";
    QTest::newRow("one patient by that name")
        << "batumbakal, juan" << QStringList{} << 0 << "T00001"
        << "";
    QTest::newRow("last name only, one patient") << "BATUMBAK" << QStringList{} << 0 << "T00001"
                                                 << "";
    QTest::newRow("several: the second is picked")
        << "CRUZ_TEST, MARIA" << QStringList{"T00002", "T00003"} << 1 << "T00003"
        << "";
    QTest::newRow("several: the chooser is cancelled")
        << "CRUZ_TEST, MARIA" << QStringList{"T00002", "T00003"} << -1 << ""
        << "";
    QTest::newRow("middle name narrows to one")
        << "CRUZ_TEST, MARIA, SAN" << QStringList{} << 0 << "T00003"
        << "";
    QTest::newRow("last name prefix reaches further")
        << "CRUZ_TEST" << QStringList{"T00002", "T00003", "T00004"} << 2 << "T00004"
        << "";
    QTest::newRow("_ is no wildcard") << "CRUZ_T_ST" << QStringList{} << 0 << ""
                                      << "No patient named \"CRUZ_T_ST\" was found.";
    QTest::newRow("% is no wildcard") << "%, MARIA" << QStringList{} << 0 << ""
                                      << "No patient named \"%, MARIA\" was found.";
}

void tst_PatientIndex::enterFindsByNumberOrName()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, offered);
    QFETCH(int, pick);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    Index x;
    QVERIFY(x.open());
    QStringList offeredTo;
    x.index->setChooser([&](const QList<PatientMatch> &matches) -> std::optional<int> {
        for (const PatientMatch &m : matches)
            offeredTo << m.HospNum;
        return pick < 0 ? std::nullopt : std::optional<int>(pick);
    });
    // Someone else is shown first: a search that finds nobody must not leave him there.
    QVERIFY(x.index->validatePatient(QStringLiteral("T00002")));

    QCOMPARE(x.index->enter(typed), !shown.isEmpty());
    QCOMPARE(offeredTo, offered);
    if (!shown.isEmpty()) {
        QCOMPARE(x.index->hospNum(), shown);
        QVERIFY(!x.index->fields().PatientName.isEmpty());
    } else if (!message.isEmpty()) {
        QCOMPARE(x.index->hospNum(), QString());
        QCOMPARE(x.index->fields().PatientName, QString());
        QCOMPARE(x.index->procedures().count(), 0);
    } else {
        // A cancelled choice leaves the window as it was.
        QCOMPARE(x.index->hospNum(), QStringLiteral("T00002"));
    }
    QCOMPARE(x.messages(), message.isEmpty() ? QStringList{} : QStringList{message});
}

void tst_PatientIndex::refreshReadsThePatientAgain()
{
    Index x;
    QVERIFY(x.open());
    QVERIFY(!x.index->refresh());
    QVERIFY(x.index->validatePatient(QStringLiteral("T00001")));
    const int before = x.index->procedures().count();
    QVERIFY(x.db().exec(u"update PATIENT_DATA..tbMaster set BloodType = 'AB+' "
                        u"where HospNum = 'T00001'"));
    QVERIFY(x.db().exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' "
                        u"where ReferenceNum = 'TC2'"));
    QCOMPARE(x.index->fields().BloodType, QStringLiteral("O+"));
    QVERIFY(x.index->refresh());
    QCOMPARE(x.index->fields().BloodType, QStringLiteral("AB+"));
    QCOMPARE(x.index->procedures().count(), before - 1);
}

void tst_PatientIndex::procedureOpensCF4AndSurgicalMemo_data()
{
    QTest::addColumn<QString>("showCF4");
    QTest::addColumn<QString>("client");
    QTest::addColumn<bool>("cf4Shown");
    QTest::addColumn<QString>("memo");

    QTest::newRow("CF4, then the memo") << "1"
                                        << "" << true << "frmSurgicalMemo";
    QTest::newRow("no CF4 at this hospital") << "0"
                                             << "" << false << "frmSurgicalMemo";
    QTest::newRow("the memo of the VZ hospital") << "0"
                                                 << "VZ" << false << "frmSurgicalMemo_VZ";
}

void tst_PatientIndex::procedureOpensCF4AndSurgicalMemo()
{
    QFETCH(QString, showCF4);
    QFETCH(QString, client);
    QFETCH(bool, cf4Shown);
    QFETCH(QString, memo);
    Index x;
    QVERIFY(x.open());
    QVERIFY(x.db().exec(u"update STATION..tbNurseSetup set value = :on where Field = 'ORShowCF4'",
                        {{QStringLiteral("on"), showCF4}}));
    x.f->session.settings.LoadParameters(x.db(), x.f->session.hospital);
    x.f->session.hospital.clientname = client;
    QVERIFY(x.index->validatePatient(QStringLiteral("T00001")));
    x.f->notifier.clear();

    x.index->openProcedure(1); // the laparotomy of the first stay
    const QString cf4Title =
        QStringLiteral("PhilHealth CF4 Entries  - BATUMBAKAL, JUAN MARASIGAN ( T100001 )");
    if (cf4Shown) {
        QCOMPARE(x.cf4->IdNum, QStringLiteral("T100001"));
        QCOMPARE(x.cf4->Title, cf4Title);
        QCOMPARE(x.cf4->StationID, QStringLiteral("OR"));
        QCOMPARE(x.cf4->ShowPrint, x.f->session.settings.NursePrintCF4());
        QCOMPARE(x.cf4->HospitalName, QStringLiteral("BAGONG TALA MEDICAL CENTER"));
        QCOMPARE(x.cf4->HospitalAddress, QStringLiteral("88 GEN. LUNA AVENUE"));
        QCOMPARE(x.cf4->ReportPath, QStringLiteral("/opt/kestrel/Reports"));
        QCOMPARE(x.messages(), QStringList{"The CF4 entry window is not available yet."});
    } else {
        QCOMPARE(x.cf4->Title, QString());
        QVERIFY(x.messages().isEmpty());
    }

    QCOMPARE(x.opened.size(), 1);
    const auto &[form, request] = x.opened.first();
    QCOMPARE(form, memo);
    QCOMPARE(request.caption, QStringLiteral("Surgical Procedures Entry"));
    QVERIFY(request.modal);
    QCOMPARE(request.patient.HospNum, QStringLiteral("T00001"));
    QCOMPARE(request.patient.IdNum, QStringLiteral("T100001"));
    QCOMPARE(request.values.value(QStringLiteral("ProcedureID")).toString(),
             QStringLiteral("TPRC1"));
    QCOMPARE(request.values.value(QStringLiteral("ProcedureName")).toString(),
             QStringLiteral("TEST EXPLORATORY LAPAROTOMY"));
    QCOMPARE(request.values.value(QStringLiteral("RefNum")).toString(), QStringLiteral("TC1"));
    QVERIFY(!request.values.value(QStringLiteral("OperatingNum")).toString().isEmpty());

    // A row past the list opens nothing; "New Procedure" opens a memo without a procedure.
    x.index->openProcedure(2);
    QCOMPARE(x.opened.size(), 1);
    x.index->setAdmissionNumber(QStringLiteral("T100002"));
    x.index->newProcedure();
    QCOMPARE(x.opened.size(), 2);
    QCOMPARE(x.opened.last().second.patient.IdNum, QStringLiteral("T100002"));
    QCOMPARE(x.opened.last().second.values.value(QStringLiteral("RefNum")).toString(), QString());
}

QTEST_MAIN(tst_PatientIndex)
#include "tst_patientindex.moc"
