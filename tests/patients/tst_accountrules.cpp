// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The questions the OR windows ask about a stay before they charge or request anything,
// answered on the demo hospital's stays on every backend.
#include "core/db/Database.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "patients/modGlobals.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kClosedText = u"The patient's account has already been closed. \n\nIf you have "
                            u"transactions to make, please notify the Billing staff immediately "
                            u"for further instructions."_s;

// The first value a query answers; empty when the demo hospital has no such row.
QString firstId(Database &db, QStringView sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toString() : QString();
}

bool run(Database &db, QStringView sql, const Binds &binds = {})
{
    auto done = db.exec(sql, binds);
    if (!done)
        qWarning() << done.error().message;
    return done.has_value();
}

using Rule = bool (*)(Session &, const QString &);

bool hasOpenStay(Session &s, const QString &id)
{
    return !modGlobals::GetOpenStayHospNum(s, id).isEmpty();
}

} // namespace

Q_DECLARE_METATYPE(Rule)

// A demo hospital and a session logged in on it.
#define OPEN_SESSION                                                                               \
    KESTREL_OPEN_DEMO(db);                                                                         \
    test::MainWindowFixture f(db, u"1001"_s);                                                      \
    Session &s = f.session

class tst_AccountRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void accountClosed_data();
    void accountClosed();
    void stayFlags_data();
    void stayFlags();
    void creditLine_data();
    void creditLine();
    void rateClass_data();
    void rateClass();
    void cf4Start_data();
    void cf4Start();
    void guarantors();
    void doctorsAndConsultations();
    void banner_data();
    void banner();
    void payServiceLabel();
    void lookups();
    void chargingLookups();
    void wholeQuantity_data();
    void wholeQuantity();
    void receivablesFormularyAndHoliday();
    void failuresGiveDefaults();
};

void tst_AccountRules::accountClosed_data()
{
    QTest::addColumn<QString>("patientClass");
    QTest::addColumn<bool>("billed");
    QTest::newRow("billed inpatient") << u"I"_s << true;
    QTest::newRow("billed outpatient visit") << u"O"_s << true;
    QTest::newRow("open inpatient") << u"I"_s << false;
    QTest::newRow("open outpatient visit") << u"O"_s << false;
}

void tst_AccountRules::accountClosed()
{
    QFETCH(QString, patientClass);
    QFETCH(bool, billed);
    OPEN_SESSION;
    const QString table =
        patientClass == u"O" ? u"PATIENT_DATA..tbOutPatient"_s : u"PATIENT_DATA..tbPatient"_s;
    s.CurrentPatient.IdNum = firstId(db, u"select IDNum from %1 where BillingDate is %2null"_s.arg(
                                             table, billed ? u"not "_s : QString()));
    QVERIFY2(!s.CurrentPatient.IdNum.isEmpty(), "the demo hospital has no such stay");
    s.CurrentPatient.PatientClass = patientClass;
    if (!billed) {
        QVERIFY(!modGlobals::IsAccountClosed(s));
        QVERIFY(f.notifier.boxes().isEmpty());
        // Billing closes the account while the stay is on screen: the next check sees it.
        QVERIFY(run(
            db, u"update %1 set BillingDate = :at where IDNum = :id"_s.arg(table),
            {{"at", QDateTime(QDate(2026, 1, 5), QTime(9, 0))}, {"id", s.CurrentPatient.IdNum}}));
    }
    QVERIFY(modGlobals::IsAccountClosed(s));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), kClosedText);
    QCOMPARE(f.notifier.boxes().last().title, u"Notification"_s);
    QCOMPARE(f.notifier.boxes().last().icon, Notifier::Icon::Exclamation);
}

void tst_AccountRules::stayFlags_data()
{
    QTest::addColumn<Rule>("rule");
    QTest::addColumn<QString>("yesQuery");
    QTest::addColumn<QString>("noQuery");
    const QString stays = u"select IDNum from PATIENT_DATA..tbPatient where "_s;
    const QString admitting = u"select IDNum from PATIENT_DATA..tbPatient2 where "_s;
    const QString visits = u"select IDNum from PATIENT_DATA..tbOutPatient where "_s;
    const QString patients = u"select P.IDNum from PATIENT_DATA..tbPatient P inner join "
                             u"PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum where "_s;

    QTest::newRow("discharge notice pending or final")
        << Rule(modGlobals::HasDischargeNotice)
        << u"select IDNum from STATION..tbNurseDischargeNotice where RecordStatus in ('P', 'F')"_s
        << stays + u"IDNum not in (select IDNum from STATION..tbNurseDischargeNotice)";
    QTest::newRow("discharged inpatient")
        << Rule(modGlobals::IsDischarged) << stays + u"DcrDate is not null"
        << stays + u"DcrDate is null";
    QTest::newRow("open stay keeps its hospital number")
        << Rule(hasOpenStay) << stays + u"DcrDate is null" << stays + u"DcrDate is not null";
    QTest::newRow("OR clearance") << Rule(modGlobals::IsOROkay) << admitting + u"OkeyOR = 1"
                                  << admitting + u"OkeyOR = 0";
    QTest::newRow("patient's own medicine")
        << Rule(modGlobals::HasPatientsOwnMedicine) << admitting + u"PatientsMed = 1"
        << admitting + u"PatientsMed = 0";
    QTest::newRow("ER visit") << Rule(modGlobals::IsERPatient)
                              << visits + u"ERNum is not null and OPDStatus <> 'R'"
                              << visits + u"ERNum is null";
    QTest::newRow("admission package")
        << Rule(modGlobals::HasPackage) << admitting + u"PackageID <> ''"
        << admitting + u"PackageID = ''";
    QTest::newRow("HMO account")
        << Rule(modGlobals::IsHMOPatient)
        << u"select P.IDNum from PATIENT_DATA..tbPatient P inner join BUILD_FILE..tbCoCompany C "
           u"on C.AccountNum = P.AccountNum where C.CompanyType = 'H'"_s
        << stays + u"AccountNum = HospNum";
    QTest::newRow("senior citizen")
        << Rule(modGlobals::IsSeniorCitizen) << patients + u"M.SeniorCitizenID <> ''"
        << patients + u"M.SeniorCitizenID = '' and M.BirthDate > :young";
    QTest::newRow("international patient")
        << Rule(modGlobals::IsInternational) << patients + u"M.Nationality <> 'FILIPINO'"
        << patients + u"M.Nationality = 'FILIPINO'";
    QTest::newRow("insurance member")
        << Rule(modGlobals::IsValidPHICPatient)
        << u"select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbPatient2 S "
           u"on S.IDNum = P.IDNum inner join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
           u"where S.PHICCode not in ('', 'NH') and M.PhilHealthNum <> ''"_s
        << patients + u"M.PhilHealthNum = ''";
    QTest::newRow("formulary item")
        << Rule(modGlobals::IsPNF) << u"select ItemID from BUILD_FILE..tbCoPNFItem"_s
        << u"select OtherRevenueID from BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC'"_s;
    const QString ware = u"select ItemID from CAPD..tbcapdware_Invent where TransType "_s;
    QTest::newRow("dialysis package ware")
        << Rule(modGlobals::IsZPackageItem) << ware + u"= 'ZPACKAGE AND CASERATE'"
        << ware + u"<> 'ZPACKAGE AND CASERATE'";
}

void tst_AccountRules::stayFlags()
{
    QFETCH(Rule, rule);
    QFETCH(QString, yesQuery);
    QFETCH(QString, noQuery);
    OPEN_SESSION;
    // "Young" is well under sixty on any date the demo hospital is built for.
    Binds binds;
    if (noQuery.contains(u":young"))
        binds.insert(u"young"_s, QDateTime(QDate::currentDate().addYears(-40), QTime(0, 0)));
    const QString yes = firstId(db, yesQuery);
    const QString no = firstId(db, noQuery, binds);
    if (yes.isEmpty() || no.isEmpty())
        QSKIP("the demo hospital has no stay of this kind");
    QVERIFY2(rule(s, yes), qPrintable(yes));
    QVERIFY2(!rule(s, no), qPrintable(no));
    QVERIFY(!rule(s, u"NO-SUCH-STAY"_s));
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::creditLine_data()
{
    QTest::addColumn<QString>("creditLine");
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("pending");
    QTest::addColumn<QStringList>("onScreen");
    QTest::addColumn<bool>("within");

    QTest::newRow("exposure equal to the line")
        << u"1000"_s << u"600"_s << u"150.25"_s << QStringList{"249.75"} << true;
    QTest::newRow("one centavo over")
        << u"1000"_s << u"600"_s << u"150.25"_s << QStringList{"249.76"} << false;
    QTest::newRow("line with a half rounds down to even")
        << u"1000.50"_s << u"600"_s << u"0"_s << QStringList{"400.01"} << false;
    QTest::newRow("line with a half rounds up to even")
        << u"1001.50"_s << u"0"_s << u"0"_s << QStringList{"1002"} << true;
    QTest::newRow("bill with a half rounds down to even")
        << u"1000"_s << u"600.50"_s << u"0"_s << QStringList{"400"} << true;
    QTest::newRow("pending keeps its centavos")
        << u"1000"_s << u"0"_s << u"1000.01"_s << QStringList{} << false;
    QTest::newRow("empty cells are skipped")
        << u"1000"_s << u"0"_s << u"0"_s << QStringList{"", "  ", "999.99"} << true;
    QTest::newRow("every grid row counts")
        << u"1000"_s << u"0"_s << u"0"_s << QStringList{"500", "500.01"} << false;
}

void tst_AccountRules::creditLine()
{
    QFETCH(QString, creditLine);
    QFETCH(QString, bill);
    QFETCH(QString, pending);
    QFETCH(QStringList, onScreen);
    QFETCH(bool, within);
    OPEN_SESSION;
    const QString id = firstId(db, u"select IDNum from PATIENT_DATA..tbPatient2");
    QVERIFY(!id.isEmpty());
    const Binds b{{"id", id}, {"line", creditLine}, {"bill", bill}, {"pending", pending}};
    QVERIFY(run(db, u"delete from BILLING..tbBillDailyBill where IDNum = :id", b));
    QVERIFY(run(db, u"delete from STATION..tbNurseLogBook where IDNum = :id", b));
    QVERIFY(
        run(db, u"update PATIENT_DATA..tbPatient2 set CreditLine = :line where IDNum = :id", b));
    QVERIFY(
        run(db, u"insert into BILLING..tbBillDailyBill (IDNum, Amount) values (:id, :bill)", b));
    // A revoked log book entry is no longer waiting to be billed.
    QVERIFY(run(db,
                u"insert into STATION..tbNurseLogBook (IDNum, Amount, RecordStatus) "
                u"values (:id, :pending, ''), (:id, 5000, 'R')",
                b));

    QCOMPARE(modGlobals::IsWithinCreditLine(s, id, 1, onScreen), within);
    QCOMPARE(modGlobals::IsWithinCreditLine(s, id, 2, onScreen), within);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::rateClass_data()
{
    QTest::addColumn<QString>("patientClass");
    QTest::addColumn<int>("isSpecial");
    QTest::addColumn<QString>("rateType");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("expected"); // "room" for the room's class

    QTest::newRow("regular inpatient") << u"I"_s << 0 << u"A"_s << QString() << u"room"_s;
    QTest::newRow("special class 1") << u"I"_s << 1 << u"A"_s << QString() << u"F"_s;
    QTest::newRow("special class 9") << u"I"_s << 9 << u"A"_s << QString() << u"F"_s;
    QTest::newRow("other special class") << u"I"_s << 2 << u"A"_s << QString() << u"room"_s;
    QTest::newRow("regular outpatient") << u"O"_s << 0 << u"A"_s << QString() << u"A"_s;
    QTest::newRow("special outpatient") << u"O"_s << 1 << u"A"_s << QString() << u"F"_s;
    QTest::newRow("HMO-rate visit of the client with that rate")
        << u"O"_s << 0 << u"H"_s << u"LOBRA"_s << u"H"_s;
    QTest::newRow("HMO-rate visit of any other client")
        << u"O"_s << 0 << u"H"_s << u"QELM"_s << u"A"_s;
    QTest::newRow("regular visit of the client with that rate")
        << u"O"_s << 0 << u"A"_s << u"LOBRA"_s << u"A"_s;
}

void tst_AccountRules::rateClass()
{
    QFETCH(QString, patientClass);
    QFETCH(int, isSpecial);
    QFETCH(QString, rateType);
    QFETCH(QString, client);
    QFETCH(QString, expected);
    OPEN_SESSION;
    s.hospital.clientname = client;
    auto room = db.selectOne(u"select RoomID, RoomClassID from BUILD_FILE..tbCoRoom "
                             u"where RoomClassID <> 'A' order by RoomID");
    QVERIFY(room && *room);
    const QString roomId = (*room)->text(u"RoomID");

    const bool outpatient = patientClass == u"O";
    const QString id = firstId(db, outpatient ? u"select IDNum from PATIENT_DATA..tbOutPatient"
                                              : u"select IDNum from PATIENT_DATA..tbPatient2");
    QVERIFY(!id.isEmpty());
    const Binds b{{"s", isSpecial}, {"rate", rateType}, {"id", id}};
    QVERIFY(run(db,
                outpatient
                    ? u"update PATIENT_DATA..tbOutPatient set isSpecial = :s, "
                      u"RateType = :rate where IDNum = :id"
                    : u"update PATIENT_DATA..tbPatient2 set isSpecial = :s where IDNum = :id",
                b));

    const QString want = expected == u"room" ? (*room)->text(u"RoomClassID") : expected;
    QCOMPARE(modGlobals::GetRateClass(s, u" "_s + id + u' ', patientClass, roomId), want);
    // A stay the database does not know is priced at the regular rate.
    QCOMPARE(modGlobals::GetRateClass(s, u"NO-SUCH-STAY"_s, patientClass, roomId), u"A"_s);
}

void tst_AccountRules::cf4Start_data()
{
    QTest::addColumn<int>("startDaysAfterAdmission"); // 999: the setting is empty
    QTest::addColumn<bool>("member");
    QTest::addColumn<bool>("expected");

    QTest::newRow("no start date, member") << 999 << true << true;
    QTest::newRow("no start date, not a member") << 999 << false << false;
    QTest::newRow("admitted on the start date") << 0 << true << true;
    QTest::newRow("admitted after the start date") << -3 << true << true;
    QTest::newRow("admitted before the start date") << 1 << true << false;
    QTest::newRow("admitted after the start date, not a member") << -3 << false << false;
}

void tst_AccountRules::cf4Start()
{
    QFETCH(int, startDaysAfterAdmission);
    QFETCH(bool, member);
    QFETCH(bool, expected);
    OPEN_SESSION;
    auto stay = db.selectOne(
        member ? u"select P.IDNum, P.AdmDate from PATIENT_DATA..tbPatient P inner join "
                 u"PATIENT_DATA..tbPatient2 S on S.IDNum = P.IDNum inner join "
                 u"PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum inner join "
                 u"MEDICARE..tbAdmPHICTable T on T.PHICCode = S.PHICCode "
                 u"where T.Status = 1 and M.PhilHealthNum <> '' and P.AdmDate is not null"
               : u"select P.IDNum, P.AdmDate from PATIENT_DATA..tbPatient P inner join "
                 u"PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
                 u"where M.PhilHealthNum = '' and P.AdmDate is not null");
    QVERIFY(stay);
    if (!*stay)
        QSKIP("the demo hospital has no stay of this kind");
    const QString id = (*stay)->text(u"IDNum");
    const QDate admitted = (*stay)->dateTime(u"AdmDate").date();
    if (startDaysAfterAdmission != 999) {
        QVERIFY(run(db,
                    u"insert into STATION..tbNurseSetup (Field, value) "
                    u"values ('CF4RequireStart', :start)",
                    {{"start", admitted.addDays(startDaysAfterAdmission).toString(Qt::ISODate)}}));
    }
    s.settings.LoadParameters(db, s.hospital);
    QCOMPARE(s.settings.RequireCF4Start().isEmpty(), startDaysAfterAdmission == 999);

    QCOMPARE(modGlobals::IsValidPHICPatient(s, id), member);
    QCOMPARE(modGlobals::IsAdmittedSinceCF4Start(s, id), expected);
}

void tst_AccountRules::guarantors()
{
    OPEN_SESSION;
    auto hmo = db.selectOne(u"select AccountNum, Company from BUILD_FILE..tbCoCompany "
                            u"where CompanyType = 'H' order by AccountNum");
    auto other = db.selectOne(u"select AccountNum, Company from BUILD_FILE..tbCoCompany "
                              u"where CompanyType <> 'H' order by AccountNum");
    auto stay = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient order by IDNum");
    QVERIFY(hmo && *hmo && other && *other && stay && *stay);
    const QString id = (*stay)->text(u"IDNum");
    const QString hospNum = (*stay)->text(u"HospNum");
    const QString hmoAccount = (*hmo)->text(u"AccountNum"), hmoName = (*hmo)->text(u"Company");
    const QString otherAccount = (*other)->text(u"AccountNum");
    const QString otherName = (*other)->text(u"Company");
    const QList<std::tuple<QString, QString, QString>> cases{
        {hospNum, QString(), u"PERSONAL"_s},
        {hmoAccount, QString(), hmoName},
        {hmoAccount, otherAccount, hmoName + u'/' + otherName},
        {otherAccount, hospNum, otherName + u"/PERSONAL"}};
    for (const auto &[first, second, named] : cases) {
        QVERIFY(run(db,
                    u"update PATIENT_DATA..tbPatient set AccountNum = :a, AccountNumII = :b "
                    u"where IDNum = :id",
                    {{"a", first}, {"b", second}, {"id", id}}));
        QCOMPARE(modGlobals::GetGuarantors(s, id), named);
    }
    QCOMPARE(modGlobals::GetGuarantors(s, u"NO-SUCH-STAY"_s), QString());

    // An outpatient visit on the walk-in account or on the patient's own number is not a
    // company account.
    auto visit = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbOutPatient");
    QVERIFY(visit && *visit);
    const QString visitId = (*visit)->text(u"IDNum");
    const QString visitHosp = (*visit)->text(u"HospNum");
    for (const auto &[account, company] : {std::pair{u"4394"_s, false}, std::pair{visitHosp, false},
                                           std::pair{otherAccount, true}}) {
        QVERIFY(run(db, u"update PATIENT_DATA..tbOutPatient set AccountNum = :a where IDNum = :id",
                    {{"a", QString(account + u' ')}, {"id", visitId}}));
        QCOMPARE(modGlobals::IsCompanyAccountOutpatient(s, visitId, visitHosp), company);
    }
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::doctorsAndConsultations()
{
    OPEN_SESSION;
    const QString doctorId =
        firstId(db, u"select DoctorID from BUILD_FILE..tbCoDoctor order by DoctorID");
    QVERIFY(!doctorId.isEmpty());
    const Binds d{{"d", doctorId}};
    QVERIFY(run(db,
                u"update BUILD_FILE..tbCoDoctor set LastName = 'REYES', FirstName = 'ANA', "
                u"MiddleName = 'CRUZ', UserID = 'D77' where DoctorID = :d",
                d));
    QCOMPARE(modGlobals::GetDoctorName(s, doctorId), u"REYES, ANA CRUZ"_s);
    QCOMPARE(modGlobals::GetDoctorName(s, u"NO-SUCH"_s), QString());
    QVERIFY(modGlobals::IsDoctorUser(s, doctorId, u"D77"_s));
    QVERIFY(!modGlobals::IsDoctorUser(s, doctorId, u"1001"_s));

    // Only an active fee above zero counts as a bill rate.
    QVERIFY(run(db, u"delete from BUILD_FILE..tbCoDoctorBill where DoctorID = :d", d));
    QVERIFY(run(db,
                u"insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
                u"values (:d, 0, 1), (:d, 500, 0)",
                d));
    QVERIFY(!modGlobals::HasDoctorBillRate(s, doctorId));
    QVERIFY(run(db,
                u"insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
                u"values (:d, 500, 1)",
                d));
    QVERIFY(modGlobals::HasDoctorBillRate(s, doctorId));

    QVERIFY(run(
        db, u"delete from BUILD_FILE..tbDBImage where TableName = 'tbCoDoctor' and IDKey = :d", d));
    QVERIFY(!modGlobals::HasDoctorSignature(s, doctorId));
    QVERIFY(run(db,
                u"insert into BUILD_FILE..tbDBImage (TableName, FieldName, IDKey) "
                u"values ('tbCoDoctor', 'Signature', :d)",
                d));
    QVERIFY(modGlobals::HasDoctorSignature(s, doctorId));

    // The summary lists the stay's consultations in the order they were written; a doctor
    // no longer on file leaves his name blank rather than dropping the line.
    const QString id = u"TEST-STAY-1"_s;
    QCOMPARE(modGlobals::GetConsultationSummary(s, id), QString());
    QVERIFY(run(db,
                u"insert into DOCTORS..Consultation (IdNum, DoctorID, ChiefComplaint) "
                u"values (:id, :d, 'FEVER')",
                {{"id", id}, {"d", doctorId}}));
    QVERIFY(run(db,
                u"insert into DOCTORS..Consultation (IdNum, DoctorID, ChiefComplaint) "
                u"values (:id, 'GONE', 'COUGH')",
                {{"id", id}}));
    QCOMPARE(modGlobals::GetConsultationSummary(s, id),
             u"DR. REYES, ANA (FEVER)\nDR. ,  (COUGH)"_s);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::banner_data()
{
    QTest::addColumn<QString>("transplantID");
    QTest::addColumn<QString>("dialysisID");
    QTest::addColumn<int>("vip");
    QTest::addColumn<QString>("transplant");
    QTest::addColumn<QString>("dialysis");

    QTest::newRow("ordinary stay") << u"0"_s << u"0"_s << 0 << u"Non_Transplant"_s << u"None"_s;
    QTest::newRow("transplant, pre-dialysis, VIP")
        << u"1"_s << u"1"_s << 1 << u"Transplant"_s << u"Pre-Dialysis"_s;
    QTest::newRow("post-dialysis")
        << u"0"_s << u"2"_s << 0 << u"Non_Transplant"_s << u"Post-Dialysis"_s;
}

void tst_AccountRules::banner()
{
    QFETCH(QString, transplantID);
    QFETCH(QString, dialysisID);
    QFETCH(int, vip);
    QFETCH(QString, transplant);
    QFETCH(QString, dialysis);
    OPEN_SESSION;
    const QString id = firstId(db, u"select IDNum from PATIENT_DATA..tbPatient2");
    QVERIFY(!id.isEmpty());
    QVERIFY(run(db, u"insert into BUILD_FILE..tbExecPackageCode (PackageID, Description) "
                    u"values ('XT1', ' GOLD CHECK-UP ')"));
    QVERIFY(run(db, u"insert into BUILD_FILE..tbCoAdmPackage (PackageID, Package) "
                    u"values ('XT1', 'GOLD ADMISSION')"));
    QVERIFY(run(db,
                u"update PATIENT_DATA..tbPatient2 set transplantID = :t, dialysisID = :d, "
                u"VIP = :vip, PackageID = :p where IDNum = :id",
                {{"t", transplantID},
                 {"d", dialysisID},
                 {"vip", vip},
                 {"p", vip ? u"XT1"_s : QString()},
                 {"id", id}}));

    const modGlobals::PatientBanner b = modGlobals::ShowPatientBanner(s, id);
    QCOMPARE(b.TransplantStatus, transplant);
    QCOMPARE(b.DialysisStatus, dialysis);
    QCOMPARE(b.vipNotice.isEmpty(), vip == 0);
    QCOMPARE(b.executivePackage, vip ? u" Executive Package Type : GOLD CHECK-UP"_s : QString());
    QCOMPARE(b.admissionPackage,
             vip ? u"Executive Package Type : GOLD ADMISSION"_s : u"Executive Package Type : "_s);
    QCOMPARE(b.seniorNotice.isEmpty(), !modGlobals::IsSeniorCitizen(s, id));
}

void tst_AccountRules::payServiceLabel()
{
    OPEN_SESSION;
    const QString id = firstId(db, u"select IDNum from PATIENT_DATA..tbPatient2");
    auto visit = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbOutPatient");
    QVERIFY(!id.isEmpty() && visit && *visit);
    const QString visitId = (*visit)->text(u"IDNum");
    for (const auto &[stored, label] :
         {std::pair{u"P"_s, u"PAY PATIENT"_s}, std::pair{u"S"_s, u"SERVICE PATIENT"_s},
          std::pair{u"X"_s, QString()}}) {
        QVERIFY(run(db, u"update PATIENT_DATA..tbPatient2 set PatientClass = :c where IDNum = :id",
                    {{"c", stored}, {"id", id}}));
        QCOMPARE(modGlobals::LoadPayServiceLabel(s, id), label);
        // Visits keep a word; its first letter counts.
        QVERIFY(run(db, u"update PATIENT_DATA..tbOutPatient set PatientType = :c where IDNum = :id",
                    {{"c", QString(stored + u"ERSONAL")}, {"id", visitId}}));
        s.CurrentPatient.HospNum = (*visit)->text(u"HospNum");
        QCOMPARE(modGlobals::LoadPayServiceLabel(s, visitId), label);
        // The visit of another patient is not read.
        s.CurrentPatient.HospNum = u"OTHER"_s;
        QCOMPARE(modGlobals::LoadPayServiceLabel(s, visitId), QString());
    }
}

void tst_AccountRules::lookups()
{
    OPEN_SESSION;
    auto orItem = db.selectOne(u"select OtherRevenueID, SectionID, ORSection from "
                               u"BUILD_FILE..tbCoOtherRevenue where OtherSectionID = 'OR' "
                               u"and SectionID <> ''");
    QVERIFY(orItem && *orItem);
    const QString item = (*orItem)->text(u"OtherRevenueID");
    QCOMPARE(modGlobals::GetORItemSection(s, item), (*orItem)->text(u"SectionID"));
    QCOMPARE(modGlobals::GetORSection(s, item), (*orItem)->text(u"ORSection"));
    const QString otherItem =
        firstId(db, u"select OtherRevenueID from BUILD_FILE..tbCoOtherRevenue "
                    u"where OtherSectionID <> 'OR' and SectionID <> ''");
    if (!otherItem.isEmpty())
        QCOMPARE(modGlobals::GetORItemSection(s, otherItem), QString());

    // Charge slip numbers are unique across bills, stock movements and assessments.
    QVERIFY(!modGlobals::RefNumExists(s, u"TEST-REF-1"_s));
    QVERIFY(run(db, u"insert into BILLING..tbCashAssessment (RefNum) values ('TEST-REF-1')"));
    QVERIFY(modGlobals::RefNumExists(s, u"TEST-REF-1"_s));
    QVERIFY(run(db, u"insert into INVENTORY..tbInvStockCard (RefNum, IDNum, CreditMemoNum) "
                    u"values ('TEST-REF-2', 'TEST-STAY', 'CM-9')"));
    QVERIFY(modGlobals::RefNumExists(s, u"TEST-REF-2"_s));
    QCOMPARE(modGlobals::GetCreditMemoIdNum(s, u"CM-9"_s), u"TEST-STAY"_s);
    QCOMPARE(modGlobals::GetCreditMemoIdNum(s, u"CM-NONE"_s), QString());

    QVERIFY(run(db, u"insert into BUILD_FILE..tbCoRevenueCode (RevenueID, LocationID, "
                    u"StockCardRevenueID) values ('TPH', 'L9', 'PH')"));
    QVERIFY(modGlobals::IsPharmacyRevenue(s, u"TPH"_s));
    QCOMPARE(modGlobals::GetRevenueLocation(s, u"TPH"_s), u"L9"_s);
    QVERIFY(!modGlobals::IsPharmacyRevenue(s, u"NO-SUCH"_s));
    QVERIFY(f.notifier.boxes().isEmpty());

    QCOMPARE(modGlobals::NullToSpace(QVariant()), u" "_s);
    QCOMPARE(modGlobals::NullToSpace(QVariant(QString())), QString());
    QCOMPARE(modGlobals::NullToSpace(QVariant(12)), u"12"_s);
}

void tst_AccountRules::chargingLookups()
{
    OPEN_SESSION;
    // Receivable accounts: by kind of stay, who pays, and charge or credit.
    const QString stays = u"select IDNum from PATIENT_DATA..tbPatient where "_s;
    const QString personal = firstId(db, QString(stays + u"AccountNum = HospNum"));
    const QString company =
        firstId(db, QString(stays + u"AccountNum <> HospNum and AccountNum <> ''"));
    const QString visit =
        firstId(db, u"select IDNum from PATIENT_DATA..tbOutPatient where AccountNum = HospNum");
    QVERIFY(!personal.isEmpty() && !company.isEmpty() && !visit.isEmpty());
    QCOMPARE(modGlobals::GetARCode(s, personal, u"OR"_s, u"1"_s), u"1131-OR-1"_s);
    QCOMPARE(modGlobals::GetARCode(s, company, u"OR"_s, u"1"_s), u"1131-OR-2"_s);
    QCOMPARE(modGlobals::GetARCode(s, visit, u"PH"_s, u"2"_s), u"1132-PH-1R"_s);
    // An empty account is the patient's own.
    QVERIFY(run(db, u"update PATIENT_DATA..tbPatient set AccountNum = '' where IDNum = :id",
                {{"id", company}}));
    QCOMPARE(modGlobals::GetARCode(s, company, u"OR"_s, u"1"_s), u"1131-OR-1"_s);
    QCOMPARE(modGlobals::GetARCode(s, personal, u"NOSUCH"_s, u"1"_s), QString());

    // The PD First benefit, and when its last bag was charged.
    QString last = u"stale"_s;
    QVERIFY(!modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, QString());
    QVERIFY(run(db, u"update PATIENT_DATA..tbPatient2 set PackageID = 'PKG-PDF' where IDNum = :id",
                {{"id", personal}}));
    QVERIFY(modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, QString());
    QVERIFY(run(db,
                u"insert into STATION..tbNurseLogBook (IDNum, ItemID, TransDate, RecordStatus) "
                u"values (:id, 'CAPD001', :given, ''), (:id, 'CAPD002', :revoked, 'R')",
                {{"id", personal},
                 {"given", QDateTime(QDate(2026, 11, 30), QTime(14, 5))},
                 {"revoked", QDateTime(QDate(2026, 12, 1), QTime(8, 0))}}));
    QVERIFY(modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, u"11/30/2026 02:05 PM"_s);

    // Medicines still to give: the demo wards keep one or two doses of the second medicine.
    auto pending = db.selectOne(u"select IDNum, ItemID, Quantity - QtyAdministered as Remaining "
                                u"from STATION..tbNursePatientMedicines "
                                u"where Quantity > QtyAdministered");
    auto given = db.selectOne(u"select IDNum, ItemID from STATION..tbNursePatientMedicines "
                              u"where Quantity = QtyAdministered");
    QVERIFY(pending && *pending && given && *given);
    QCOMPARE(modGlobals::HasNotAdministeredMeds(s, (*pending)->text(u"IDNum"),
                                                (*pending)->text(u"ItemID"))
                 .toDouble(),
             (*pending)->value(u"Remaining").toDouble());
    QCOMPARE(
        modGlobals::HasNotAdministeredMeds(s, (*given)->text(u"IDNum"), (*given)->text(u"ItemID"))
            .toDouble(),
        0.0);
    QVERIFY(f.notifier.boxes().isEmpty());

    auto rows = db.select(u"select IDNum as IdNum from PATIENT_DATA..tbPatient where 1 = 0");
    QVERIFY(rows);
    QVERIFY(modGlobals::FieldExists(*rows, u"IDNUM"_s));
    QVERIFY(!modGlobals::FieldExists(*rows, u"HospNum"_s));
}

void tst_AccountRules::wholeQuantity_data()
{
    QTest::addColumn<bool>("decimalsAllowed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("digits") << false << u"12"_s << true;
    QTest::newRow("decimal refused") << false << u"1.5"_s << false;
    QTest::newRow("sign refused") << false << u"-1"_s << false;
    QTest::newRow("space refused") << false << u" 2"_s << false;
    QTest::newRow("other digits refused") << false << QString::fromUtf8("\u0663") << false;
    QTest::newRow("decimal allowed") << true << u"1.5"_s << true;
}

void tst_AccountRules::wholeQuantity()
{
    QFETCH(bool, decimalsAllowed);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    OPEN_SESSION;
    QVERIFY(run(db, u"delete from STATION..tbNurseSetup where Field = 'ORDecimalQty'"));
    QVERIFY(run(db, u"insert into STATION..tbNurseSetup (Field, value) values ('ORDecimalQty', :v)",
                {{"v", decimalsAllowed ? u"1"_s : u"0"_s}}));
    s.settings.LoadParameters(db, s.hospital);
    QCOMPARE(modGlobals::IsWholeQuantity(s, typed), accepted);
}

void tst_AccountRules::receivablesFormularyAndHoliday()
{
    OPEN_SESSION;
    const QString billed =
        firstId(db, u"select IDNum from PATIENT_DATA..tbPatient where BillingDate is not null");
    const QString open =
        firstId(db, u"select IDNum from PATIENT_DATA..tbPatient where BillingDate is null");
    const QString billedVisit =
        firstId(db, u"select IDNum from PATIENT_DATA..tbOutPatient where BillingDate is not null");
    QVERIFY(!billed.isEmpty() && !open.isEmpty() && !billedVisit.isEmpty());
    QVERIFY(modGlobals::IsReceivableUpdate(s, billed));
    QVERIFY(modGlobals::IsReceivableUpdate(s, billedVisit));
    QVERIFY(!modGlobals::IsReceivableUpdate(s, open));

    // A yearly holiday matches on its day in any year; a dated one only on that date.
    const QString holiday = u"insert into BUILD_FILE..tbCoHoliday (HolidayDate, IsYearly, "
                            u"HolidayName, HolidayGreeting) values (:d, :yearly, :name, :text)"_s;
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 25), QTime(8, 0))));
    QVERIFY(run(db, u"delete from BUILD_FILE..tbCoHoliday"));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).IsHolidayToday, false);
    QVERIFY(run(
        db, holiday,
        {{"d", QDate(2020, 12, 25).startOfDay()}, {"yearly", 0}, {"name", "OLD"}, {"text", "x"}}));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).IsHolidayToday, false);
    QVERIFY(run(db, holiday,
                {{"d", QDate(2001, 12, 25).startOfDay()},
                 {"yearly", 1},
                 {"name", "CHRISTMAS"},
                 {"text", "Merry Christmas!"}}));
    const modGlobals::TodaysHoliday h = modGlobals::LoadHolidayGreeting(s);
    QVERIFY(h.IsHolidayToday);
    QCOMPARE(h.HolidayName, u"CHRISTMAS"_s);
    QCOMPARE(h.HolidayGreeting, u"Merry Christmas!"_s);
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 26), QTime(8, 0))));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).HolidayName, QString());
    QCOMPARE(modGlobals::LoadServerDate(s), QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
    QCOMPARE(s.ServerDate, QDate(2026, 12, 26));

    QVERIFY(run(db, u"delete from INVENTORY..tbInvSwitch where IDKey = '89'"));
    QCOMPARE(modGlobals::GetInventorySwitch89(s), QString());
    QVERIFY(run(db, u"insert into INVENTORY..tbInvSwitch (IDKey, KeyValue) values ('89', null)"));
    QCOMPARE(modGlobals::GetInventorySwitch89(s), u"0"_s);
    QCOMPARE(modGlobals::GetProcedureParamCount(s, u"STATION"_s, u"sp_Nurse_Get_PatientType"_s), 2);
    QCOMPARE(modGlobals::GetProcedureParamCount(s, u"STATION"_s, u"sp_No_Such_Procedure"_s), 0);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::failuresGiveDefaults()
{
    OPEN_SESSION;
    const QString id = firstId(db, u"select IDNum from PATIENT_DATA..tbPatient2 "
                                   u"where PackageID <> '' and OkeyOR = 1");
    if (id.isEmpty())
        QSKIP("the demo hospital has no cleared stay with a package");

    // A database without the hospital's procedures: every call fails.
    db.setProcedures(std::make_shared<ProcedureRegistry>());
    QCOMPARE(modGlobals::GetRateClass(s, id, u"I"_s, QString()), u"A"_s);
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.boxes().last().title, u"Notification"_s);
    QVERIFY(f.notifier.lastText().contains(u"sp_Nurse_Get_PatientType"));
    QVERIFY(!modGlobals::IsSeniorCitizen(s, id));
    QCOMPARE(f.notifier.boxes().size(), 2);
    db.setProcedures(hospitaldb::hospitalProcedures());

    // The stay's admitting-office table is gone: the statements fail.
    QVERIFY(db.execRaw(db.mapNames(u"drop table PATIENT_DATA..tbPatient2")));
    f.notifier.clear();
    QVERIFY(!modGlobals::HasPackage(s, id));
    QVERIFY(!modGlobals::IsOROkay(s, id));
    QVERIFY(!modGlobals::IsWithinCreditLine(s, id, 1, {}));
    QCOMPARE(f.notifier.boxes().size(), 3);
    // Each failure is told once, in the shared error box.
    for (const auto &box : f.notifier.boxes()) {
        QVERIFY(box.text.endsWith(Notifier::errorBoxText(QString())));
        QCOMPARE(box.title, u"Notification"_s);
    }
}

QTEST_MAIN(tst_AccountRules)
#include "tst_accountrules.moc"
