// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsPatientFinder.h"
#include "core/db/Database.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <algorithm>

using namespace kestrel;
using kestrel::test::RecordingNotifier;
using kestrel::test::TestDatabase;

namespace {

// Patients and stays of the test's own, beside the demo hospital's, so every value read back
// is known here.
bool addTestPatients(Database &db)
{
    const QList<std::pair<QStringView, Binds>> rows{
        {u"insert into BUILD_FILE..tbCoRoom (RoomID, Description, RoomClassID, RoomRate, "
         u"StationID) values ('T-501', 'TEST SUITE 501', 'B', :rate, '5N')",
         {{QStringLiteral("rate"), QStringLiteral("3500.5000")}}},
        {u"insert into BUILD_FILE..tbCoCompany (AccountNum, Company, CompanyType) "
         u"values ('T900', 'TEST MUTUAL BENEFIT ASSOCIATION', 'C')",
         {}},
        {u"insert into BUILD_FILE..tbCoDoctor (DoctorID, LastName, FirstName, MiddleName) "
         u"values ('T001', 'DELA PAZ', 'JOSE', 'RIZAL'), ('T002', 'SANTOS', 'MARIA', ''), "
         u"('T003', 'REYES', 'ANA', 'CRUZ')",
         {}},
        {u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, "
         u"BirthDate, BloodType, HouseStreet, Barangay, Town, Province, ZipCode) values "
         u"('T00001', 'BATUMBAKAL', 'JUAN', 'MARASIGAN', 'M', :born, 'O+', '12 MABINI ST.', "
         u"'SAN ISIDRO', 'SAN BARTOLOME', 'LAGUNA', '4035')",
         {{QStringLiteral("born"), QDate(1980, 5, 17)}}},
        {u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName, Sex, Town) "
         u"values ('T00002', 'CRUZ', 'MARIA', 'F', 'CALAMBA')",
         {}},
        {u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, AccountNum, RoomID, "
         u"StationID, AdmittingDr, AttendingDr1, AttendingDr2, AttendingDr3) values "
         u"('T100001', 'T00001', :admitted, 'T900', 'T-501', '5N', 'T003', 'T001', 'T002', "
         u"'T999')",
         {{QStringLiteral("admitted"), QDateTime(QDate(2026, 11, 28), QTime(8, 30))}}},
        {u"insert into PATIENT_DATA..tbPatientHistory (IDNum, ADMDiagnosis, ChiefComplaint) "
         u"values ('T100001', 'ACUTE APPENDICITIS', 'RIGHT LOWER QUADRANT PAIN')",
         {}},
        {u"insert into PATIENT_DATA..tbOutPatient (IDNum, HospNum, AdmDate, DcrDate, ERNum, "
         u"AccountNum, DoctorID1, DoctorID2) values ('T200001B', 'T00002', :seen, :left, "
         u"'ER-T1', '', '', 'T001')",
         {{QStringLiteral("seen"), QDateTime(QDate(2026, 12, 1), QTime(7, 15))},
          {QStringLiteral("left"), QDateTime(QDate(2026, 12, 1), QTime(9, 0))}}},
        {u"insert into PATIENT_DATA..tbOutpatientHistory (IDNum, ChiefComplaints) "
         u"values ('T200001B', 'LACERATED WOUND, LEFT HAND')",
         {}},
    };
    return std::all_of(rows.cbegin(), rows.cend(),
                       [&db](const auto &row) { return db.exec(row.first, row.second).has_value(); });
}

struct Finder
{
    std::unique_ptr<TestDatabase> hospital;
    RecordingNotifier notifier;
    ComponentContext ctx{notifier};
    std::unique_ptr<clsPatientFinder> finder;

    bool open()
    {
        auto t = TestDatabase::create(test::backendOfRow());
        if (!t)
            return false;
        hospital = std::move(*t);
        finder = std::make_unique<clsPatientFinder>(ctx);
        return addTestPatients(hospital->db()) &&
               finder->InitConnection(QStringLiteral("MTS01"), &hospital->db());
    }
    clsOutPatient &outPatient() { return *finder->PatientClass()->clsOutPatient(); }
};

} // namespace

class tst_PatientFinder : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void readsThePatientMaster()
    {
        Finder f;
        QVERIFY(f.open());
        QVERIFY(f.finder->ValidatePatient(QStringLiteral(" t00001 ")));
        const PatientMasterRecord &p = f.finder->PatientMaster();
        QCOMPARE(p.HospitalNumber, QStringLiteral("T00001"));
        QCOMPARE(p.MiddleName, QStringLiteral("MARASIGAN"));
        QCOMPARE(p.BirthDate, QDate(1980, 5, 17));
        QCOMPARE(p.Address.CompleteAddress,
                 QStringLiteral("12 MABINI ST., SAN ISIDRO, SAN BARTOLOME, LAGUNA"));
        QCOMPARE(f.finder->Address().ZipCode, QStringLiteral("4035"));
        // Only the pieces that are there make the address line.
        QVERIFY(f.finder->ValidatePatient(QStringLiteral("T00002")));
        QCOMPARE(f.finder->PatientMaster().Address.CompleteAddress, QStringLiteral("CALAMBA"));
        QVERIFY(!f.finder->PatientMaster().BirthDate.isValid());
    }

    void readsAnInpatientStay()
    {
        Finder f;
        QVERIFY(f.open());
        QVERIFY(f.finder->ValidateAdmission(QStringLiteral("t100001")));
        const AdmissionRecord &a = f.finder->Admission();
        QCOMPARE(a.Room.RoomRate, Money::fromMinor(35005000));
        QCOMPARE(a.AdmissionDate, QDateTime(QDate(2026, 11, 28), QTime(8, 30)));
        QCOMPARE(a.Account.Company, QStringLiteral("TEST MUTUAL BENEFIT ASSOCIATION"));
        QCOMPARE(a.AttendingDoctor2.CompleteName, QStringLiteral("SANTOS, MARIA"));
        QCOMPARE(a.AdmittingDoctor.CompleteName, QStringLiteral("REYES, ANA CRUZ"));
        QCOMPARE(a.Doctor1.CompleteName, QStringLiteral("DELA PAZ, JOSE RIZAL"));
        // A doctor code the doctors' file does not know keeps its code and has no name.
        QCOMPARE(a.Doctor3.Code, QStringLiteral("T999"));
        QCOMPARE(a.Doctor3.CompleteName, QString());
        QCOMPARE(f.finder->History().ADMDiagnosis, QStringLiteral("ACUTE APPENDICITIS"));
        // The finder's own members follow the admission.
        QCOMPARE(f.finder->RoomRate(), a.Room.RoomRate);
        QCOMPARE(f.finder->Station(), QStringLiteral("5N"));
        // A room on its own.
        QVERIFY(f.finder->ValidateRoom(QStringLiteral("t-501")));
        QCOMPARE(f.finder->Room().Description, QStringLiteral("TEST SUITE 501"));
        QCOMPARE(f.finder->Room().Station.StationID, QStringLiteral("5N"));
    }

    void readsAnOutpatientVisit()
    {
        Finder f;
        QVERIFY(f.open());
        QVERIFY(!f.finder->ValidateAdmission(QStringLiteral("T200001B")));
        QVERIFY(f.outPatient().OpenOutPatient(QStringLiteral("t200001b")));
        QCOMPARE(f.outPatient().IdNum(), QStringLiteral("T200001B"));
        QCOMPARE(f.outPatient().visit().HospNum, QStringLiteral("T00002"));
        QCOMPARE(f.outPatient().DischargeDate(), QDateTime(QDate(2026, 12, 1), QTime(9, 0)));
        QCOMPARE(f.outPatient().Account().Company, QString());
        QCOMPARE(f.outPatient().Doctor2().CompleteName, QStringLiteral("DELA PAZ, JOSE RIZAL"));
        QCOMPARE(f.outPatient().Doctor1().CompleteName, QString());
        QCOMPARE(f.outPatient().OPDHistory().ChiefComplaints,
                 QStringLiteral("LACERATED WOUND, LEFT HAND"));
        QCOMPARE(f.finder->AdmissionDate(), QDateTime(QDate(2026, 12, 1), QTime(7, 15)));
        // An inpatient stay is no outpatient visit.
        QVERIFY(!f.outPatient().OpenOutPatient(QStringLiteral("T100001")));
    }

    void failedLookUpsLeaveNothingBehind_data()
    {
        QTest::addColumn<QString>("number");
        QTest::newRow("unknown") << "T777777";
        QTest::newRow("blank") << "   ";
        QTest::newRow("quote") << "T1000'01";
    }
    void failedLookUpsLeaveNothingBehind()
    {
        QFETCH(QString, number);
        Finder f;
        QVERIFY(f.open());
        QVERIFY(f.finder->ValidatePatient(QStringLiteral("T00001")));
        QVERIFY(!f.finder->ValidatePatient(number));
        QCOMPARE(f.finder->PatientMaster(), PatientMasterRecord());
        QVERIFY(f.finder->ValidateAdmission(QStringLiteral("T100001")));
        QVERIFY(!f.finder->ValidateAdmission(number));
        QCOMPARE(f.finder->Admission(), AdmissionRecord());
        QCOMPARE(f.finder->History(), PatientHistory());
        QVERIFY(!f.finder->AdmissionDate().isValid());
        QVERIFY(f.outPatient().OpenOutPatient(QStringLiteral("T200001B")));
        QVERIFY(!f.outPatient().OpenOutPatient(number));
        QCOMPARE(f.outPatient().visit(), OutPatientRecord());
        QCOMPARE(f.outPatient().OPDHistory(), OutPatientHistory());
        QVERIFY(f.finder->ValidateRoom(QStringLiteral("T-501")));
        QVERIFY(!f.finder->ValidateRoom(number));
        QCOMPARE(f.finder->Room(), RoomInfo());
        QVERIFY(f.notifier.boxes().isEmpty());
    }

    void holdsOneStayAtATime()
    {
        Finder f;
        QVERIFY(f.open());
        // Loading a stay finds its patient too.
        QVERIFY(f.finder->LoadPatient(QStringLiteral("T100001")));
        QCOMPARE(f.finder->Patient().LastName, QStringLiteral("BATUMBAKAL"));
        QCOMPARE(f.finder->Admission().IdNum, QStringLiteral("T100001"));
        QVERIFY(f.outPatient().OpenOutPatient(QStringLiteral("T200001B")));
        QCOMPARE(f.finder->Admission(), AdmissionRecord());
        QCOMPARE(f.finder->RoomID(), QString());
        QVERIFY(f.finder->LoadPatient(QStringLiteral("T200001B")));
        QCOMPARE(f.finder->PatientMaster().LastName, QStringLiteral("CRUZ"));
        QVERIFY(f.finder->ValidateAdmission(QStringLiteral("T100001")));
        QCOMPARE(f.outPatient().visit(), OutPatientRecord());
        QCOMPARE(f.finder->Account().AccountNumber, QStringLiteral("T900"));
        QVERIFY(!f.finder->LoadPatient(QStringLiteral("T777777")));
        QCOMPARE(f.finder->PatientMaster(), PatientMasterRecord());
    }

    void refreshSeesABillClosedElsewhere()
    {
        Finder f;
        QVERIFY(f.open());
        QVERIFY(!f.finder->Refresh()); // nothing held yet
        QVERIFY(f.finder->ValidatePatient(QStringLiteral("T00001")));
        QVERIFY(f.finder->ValidateAdmission(QStringLiteral("T100001")));
        const QDateTime billed(QDate(2026, 12, 1), QTime(9, 45));
        // The billing office closes the bill from another workstation.
        auto other = Database::open(f.hospital->settings());
        QVERIFY(other);
        QVERIFY((*other)->exec(u"update PATIENT_DATA..tbPatient set BillingDate = :billed "
                               u"where IDNum = 'T100001'",
                               {{QStringLiteral("billed"), billed}}));
        QVERIFY(!f.finder->BillingDate().isValid());
        QVERIFY(f.finder->Refresh());
        QCOMPARE(f.finder->BillingDate(), billed);
        QCOMPARE(f.finder->PatientMaster().HospitalNumber, QStringLiteral("T00001"));
        QVERIFY(f.outPatient().OpenOutPatient(QStringLiteral("T200001B")));
        QVERIFY((*other)->exec(u"update PATIENT_DATA..tbOutPatient set BillingDate = :billed "
                               u"where IDNum = 'T200001B'",
                               {{QStringLiteral("billed"), billed}}));
        QVERIFY(f.finder->Refresh());
        QCOMPARE(f.outPatient().BillingDate(), billed);

        // A stay that is gone cannot be refreshed, and nothing of it stays behind.
        QVERIFY((*other)->exec(u"delete from PATIENT_DATA..tbOutPatient where IDNum = 'T200001B'"));
        QVERIFY(!f.finder->Refresh());
        QCOMPARE(f.outPatient().visit(), OutPatientRecord());
    }
};

QTEST_GUILESS_MAIN(tst_PatientFinder)
#include "tst_patientfinder.moc"
