// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The questions the OR windows ask about a stay before they charge or request anything,
// answered on the demo hospital's stays on every backend.
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "patients/modGlobals.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

namespace {

const QString kClosedText = QStringLiteral(
    "The patient's account has already been closed. \n\nIf you have transactions to make, "
    "please notify the Billing staff immediately for further instructions.");

// The first IdNum a query answers; empty when the demo hospital has no such stay.
QString firstId(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toString() : QString();
}

bool run(Database &db, const QString &sql, const Binds &binds)
{
    auto done = db.exec(sql, binds);
    if (!done)
        qWarning() << done.error().message;
    return done.has_value();
}

} // namespace

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
    QTest::addColumn<QString>("stayQuery");
    QTest::addColumn<QString>("patientClass");
    QTest::addColumn<bool>("closed");

    QTest::newRow("billed inpatient")
        << "select IDNum from PATIENT_DATA..tbPatient where BillingDate is not null"
        << "I" << true;
    QTest::newRow("billed outpatient visit")
        << "select IDNum from PATIENT_DATA..tbOutPatient where BillingDate is not null"
        << "O" << true;
    QTest::newRow("open inpatient")
        << "select IDNum from PATIENT_DATA..tbPatient where BillingDate is null"
        << "I" << false;
    QTest::newRow("open outpatient visit")
        << "select IDNum from PATIENT_DATA..tbOutPatient where BillingDate is null"
        << "O" << false;
}

void tst_AccountRules::accountClosed()
{
    QFETCH(QString, stayQuery);
    QFETCH(QString, patientClass);
    QFETCH(bool, closed);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

    f.session.CurrentPatient.IdNum = firstId(db, stayQuery);
    QVERIFY2(!f.session.CurrentPatient.IdNum.isEmpty(), "the demo hospital has no such stay");
    f.session.CurrentPatient.PatientClass = patientClass;
    QCOMPARE(modGlobals::IsAccountClosed(f.session), closed);
    if (closed) {
        QCOMPARE(f.notifier.boxes().size(), 1);
        QCOMPARE(f.notifier.lastText(), kClosedText);
        QCOMPARE(f.notifier.boxes().last().title, QStringLiteral("Notification"));
        QCOMPARE(f.notifier.boxes().last().icon, Notifier::Icon::Exclamation);
    } else {
        QVERIFY(f.notifier.boxes().isEmpty());
    }

    // Billing closes the account while the stay is on screen: the next check sees it.
    if (!closed) {
        const QString table = patientClass == u"O" ? QStringLiteral("PATIENT_DATA..tbOutPatient")
                                                   : QStringLiteral("PATIENT_DATA..tbPatient");
        QVERIFY(run(db,
                    QStringLiteral("update %1 set BillingDate = :at where IDNum = :id").arg(table),
                    {{QStringLiteral("at"), QDateTime(QDate(2026, 1, 5), QTime(9, 0))},
                     {QStringLiteral("id"), f.session.CurrentPatient.IdNum}}));
        QVERIFY(modGlobals::IsAccountClosed(f.session));
        QCOMPARE(f.notifier.lastText(), kClosedText);
    }
}

void tst_AccountRules::stayFlags_data()
{
    QTest::addColumn<QString>("routine");
    QTest::addColumn<QString>("yesQuery");
    QTest::addColumn<QString>("noQuery");

    QTest::newRow("discharge notice pending or final")
        << "HasDischargeNotice"
        << "select IDNum from STATION..tbNurseDischargeNotice where RecordStatus in ('P', 'F')"
        << "select IDNum from PATIENT_DATA..tbPatient where IDNum not in "
           "(select IDNum from STATION..tbNurseDischargeNotice)";
    QTest::newRow("discharged inpatient")
        << "IsDischarged"
        << "select IDNum from PATIENT_DATA..tbPatient where DcrDate is not null"
        << "select IDNum from PATIENT_DATA..tbPatient where DcrDate is null";
    QTest::newRow("open stay keeps its hospital number")
        << "GetOpenStayHospNum"
        << "select IDNum from PATIENT_DATA..tbPatient where DcrDate is null"
        << "select IDNum from PATIENT_DATA..tbPatient where DcrDate is not null";
    QTest::newRow("OR clearance") << "IsOROkay"
                                  << "select IDNum from PATIENT_DATA..tbPatient2 where OkeyOR = 1"
                                  << "select IDNum from PATIENT_DATA..tbPatient2 where OkeyOR = 0";
    QTest::newRow("patient's own medicine")
        << "HasPatientsOwnMedicine"
        << "select IDNum from PATIENT_DATA..tbPatient2 where PatientsMed = 1"
        << "select IDNum from PATIENT_DATA..tbPatient2 where PatientsMed = 0";
    QTest::newRow("ER visit")
        << "IsERPatient"
        << "select IDNum from PATIENT_DATA..tbOutPatient where ERNum is not null "
           "and OPDStatus <> 'R'"
        << "select IDNum from PATIENT_DATA..tbOutPatient where ERNum is null";
    QTest::newRow("admission package")
        << "HasPackage"
        << "select IDNum from PATIENT_DATA..tbPatient2 where PackageID <> ''"
        << "select IDNum from PATIENT_DATA..tbPatient2 where PackageID = ''";
    QTest::newRow("HMO account")
        << "IsHMOPatient"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join BUILD_FILE..tbCoCompany C "
           "on C.AccountNum = P.AccountNum where C.CompanyType = 'H'"
        << "select IDNum from PATIENT_DATA..tbPatient where AccountNum = HospNum";
    QTest::newRow("senior citizen")
        << "IsSeniorCitizen"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbMaster M "
           "on M.HospNum = P.HospNum where M.SeniorCitizenID <> ''"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbMaster M "
           "on M.HospNum = P.HospNum where M.SeniorCitizenID = '' and M.BirthDate > :young";
    QTest::newRow("international patient")
        << "IsInternational"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbMaster M "
           "on M.HospNum = P.HospNum where M.Nationality <> 'FILIPINO'"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbMaster M "
           "on M.HospNum = P.HospNum where M.Nationality = 'FILIPINO'";
    QTest::newRow("insurance member")
        << "IsValidPHICPatient"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbPatient2 S "
           "on S.IDNum = P.IDNum inner join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
           "where S.PHICCode not in ('', 'NH') and M.PhilHealthNum <> ''"
        << "select P.IDNum from PATIENT_DATA..tbPatient P inner join PATIENT_DATA..tbMaster M "
           "on M.HospNum = P.HospNum where M.PhilHealthNum = ''";
    QTest::newRow("formulary item")
        << "IsPNF"
        << "select ItemID from BUILD_FILE..tbCoPNFItem"
        << "select OtherRevenueID from BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC'";
    QTest::newRow("dialysis package ware")
        << "IsZPackageItem"
        << "select ItemID from CAPD..tbcapdware_Invent where TransType = 'ZPACKAGE AND CASERATE'"
        << "select ItemID from CAPD..tbcapdware_Invent where TransType <> 'ZPACKAGE AND CASERATE'";
}

void tst_AccountRules::stayFlags()
{
    QFETCH(QString, routine);
    QFETCH(QString, yesQuery);
    QFETCH(QString, noQuery);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    Session &s = f.session;

    using Rule = std::function<bool(const QString &)>;
    const QHash<QString, Rule> rules{
        {QStringLiteral("HasDischargeNotice"),
         [&](const QString &id) { return modGlobals::HasDischargeNotice(s, id); }},
        {QStringLiteral("IsDischarged"),
         [&](const QString &id) { return modGlobals::IsDischarged(s, id); }},
        {QStringLiteral("GetOpenStayHospNum"),
         [&](const QString &id) { return !modGlobals::GetOpenStayHospNum(s, id).isEmpty(); }},
        {QStringLiteral("IsOROkay"),
         [&](const QString &id) { return modGlobals::IsOROkay(s, id); }},
        {QStringLiteral("HasPatientsOwnMedicine"),
         [&](const QString &id) { return modGlobals::HasPatientsOwnMedicine(s, id); }},
        {QStringLiteral("IsERPatient"),
         [&](const QString &id) { return modGlobals::IsERPatient(s, id); }},
        {QStringLiteral("HasPackage"),
         [&](const QString &id) { return modGlobals::HasPackage(s, id); }},
        {QStringLiteral("IsHMOPatient"),
         [&](const QString &id) { return modGlobals::IsHMOPatient(s, id); }},
        {QStringLiteral("IsSeniorCitizen"),
         [&](const QString &id) { return modGlobals::IsSeniorCitizen(s, id); }},
        {QStringLiteral("IsInternational"),
         [&](const QString &id) { return modGlobals::IsInternational(s, id); }},
        {QStringLiteral("IsValidPHICPatient"),
         [&](const QString &id) { return modGlobals::IsValidPHICPatient(s, id); }},
        {QStringLiteral("IsPNF"), [&](const QString &id) { return modGlobals::IsPNF(s, id); }},
        {QStringLiteral("IsZPackageItem"),
         [&](const QString &id) { return modGlobals::IsZPackageItem(s, id); }},
    };
    QVERIFY(rules.contains(routine));

    // "Young" is well under sixty on any date the demo hospital is built for.
    const Binds binds = noQuery.contains(u":young")
                            ? Binds{{QStringLiteral("young"),
                                     QDateTime(QDate::currentDate().addYears(-40), QTime(0, 0))}}
                            : Binds{};
    const QString yes = firstId(db, yesQuery);
    const QString no = firstId(db, noQuery, binds);
    if (yes.isEmpty() || no.isEmpty())
        QSKIP("the demo hospital has no stay of this kind");
    QVERIFY2(rules[routine](yes), qPrintable(yes));
    QVERIFY2(!rules[routine](no), qPrintable(no));
    QVERIFY(!rules[routine](QStringLiteral("NO-SUCH-STAY")));
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::creditLine_data()
{
    QTest::addColumn<QString>("creditLine");
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("pending");
    QTest::addColumn<QStringList>("onScreen");
    QTest::addColumn<bool>("within");

    QTest::newRow("exposure equal to the line") << "1000"
                                                << "600"
                                                << "150.25" << QStringList{"249.75"} << true;
    QTest::newRow("one centavo over") << "1000"
                                      << "600"
                                      << "150.25" << QStringList{"249.76"} << false;
    QTest::newRow("line with a half rounds down to even") << "1000.50"
                                                          << "600"
                                                          << "0" << QStringList{"400.01"} << false;
    QTest::newRow("line with a half rounds up to even") << "1001.50"
                                                        << "0"
                                                        << "0" << QStringList{"1002"} << true;
    QTest::newRow("bill with a half rounds down to even") << "1000"
                                                          << "600.50"
                                                          << "0" << QStringList{"400"} << true;
    QTest::newRow("pending keeps its centavos") << "1000"
                                                << "0"
                                                << "1000.01" << QStringList{} << false;
    QTest::newRow("empty cells are skipped") << "1000"
                                             << "0"
                                             << "0" << QStringList{"", "  ", "999.99"} << true;
    QTest::newRow("every grid row counts") << "1000"
                                           << "0"
                                           << "0" << QStringList{"500", "500.01"} << false;
}

void tst_AccountRules::creditLine()
{
    QFETCH(QString, creditLine);
    QFETCH(QString, bill);
    QFETCH(QString, pending);
    QFETCH(QStringList, onScreen);
    QFETCH(bool, within);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

    const QString id = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient2"));
    QVERIFY(!id.isEmpty());
    const Binds idBind{{QStringLiteral("id"), id}};
    QVERIFY(
        run(db, QStringLiteral("delete from BILLING..tbBillDailyBill where IDNum = :id"), idBind));
    QVERIFY(
        run(db, QStringLiteral("delete from STATION..tbNurseLogBook where IDNum = :id"), idBind));
    QVERIFY(run(db,
                QStringLiteral("update PATIENT_DATA..tbPatient2 set CreditLine = :line "
                               "where IDNum = :id"),
                {{QStringLiteral("line"), creditLine}, {QStringLiteral("id"), id}}));
    QVERIFY(run(db,
                QStringLiteral("insert into BILLING..tbBillDailyBill (IDNum, Amount) "
                               "values (:id, :amount)"),
                {{QStringLiteral("id"), id}, {QStringLiteral("amount"), bill}}));
    QVERIFY(run(db,
                QStringLiteral("insert into STATION..tbNurseLogBook (IDNum, Amount, "
                               "RecordStatus) values (:id, :amount, '')"),
                {{QStringLiteral("id"), id}, {QStringLiteral("amount"), pending}}));
    // A revoked log book entry is no longer waiting to be billed.
    QVERIFY(run(db,
                QStringLiteral("insert into STATION..tbNurseLogBook (IDNum, Amount, "
                               "RecordStatus) values (:id, 5000, 'R')"),
                idBind));

    QCOMPARE(modGlobals::IsWithinCreditLine(f.session, id, 1, onScreen), within);
    QCOMPARE(modGlobals::IsWithinCreditLine(f.session, id, 2, onScreen), within);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::rateClass_data()
{
    QTest::addColumn<QString>("patientClass");
    QTest::addColumn<int>("isSpecial");
    QTest::addColumn<QString>("rateType");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("expected"); // "room" for the room's class

    QTest::newRow("regular inpatient") << "I" << 0 << "A"
                                       << ""
                                       << "room";
    QTest::newRow("special class 1") << "I" << 1 << "A"
                                     << ""
                                     << "F";
    QTest::newRow("special class 9") << "I" << 9 << "A"
                                     << ""
                                     << "F";
    QTest::newRow("other special class") << "I" << 2 << "A"
                                         << ""
                                         << "room";
    QTest::newRow("regular outpatient") << "O" << 0 << "A"
                                        << ""
                                        << "A";
    QTest::newRow("special outpatient") << "O" << 1 << "A"
                                        << ""
                                        << "F";
    QTest::newRow("HMO-rate visit of the client with that rate") << "O" << 0 << "H"
                                                                 << "LOBRA"
                                                                 << "H";
    QTest::newRow("HMO-rate visit of any other client") << "O" << 0 << "H"
                                                        << "QELM"
                                                        << "A";
    QTest::newRow("regular visit of the client with that rate") << "O" << 0 << "A"
                                                                << "LOBRA"
                                                                << "A";
}

void tst_AccountRules::rateClass()
{
    QFETCH(QString, patientClass);
    QFETCH(int, isSpecial);
    QFETCH(QString, rateType);
    QFETCH(QString, client);
    QFETCH(QString, expected);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    f.session.hospital.clientname = client;

    auto room = db.selectOne(u"select RoomID, RoomClassID from BUILD_FILE..tbCoRoom "
                             u"where RoomClassID <> 'A' order by RoomID");
    QVERIFY(room && *room);
    const QString roomId = (*room)->text(u"RoomID");
    const QString roomClass = (*room)->text(u"RoomClassID");

    const bool outpatient = patientClass == u"O";
    const QString id =
        firstId(db, outpatient ? QStringLiteral("select IDNum from PATIENT_DATA..tbOutPatient")
                               : QStringLiteral("select IDNum from PATIENT_DATA..tbPatient2"));
    QVERIFY(!id.isEmpty());
    if (outpatient) {
        QVERIFY(run(db,
                    QStringLiteral("update PATIENT_DATA..tbOutPatient set isSpecial = :s, "
                                   "RateType = :rate where IDNum = :id"),
                    {{QStringLiteral("s"), isSpecial},
                     {QStringLiteral("rate"), rateType},
                     {QStringLiteral("id"), id}}));
    } else {
        QVERIFY(run(db,
                    QStringLiteral("update PATIENT_DATA..tbPatient2 set isSpecial = :s "
                                   "where IDNum = :id"),
                    {{QStringLiteral("s"), isSpecial}, {QStringLiteral("id"), id}}));
    }

    const QString want = expected == u"room" ? roomClass : expected;
    QCOMPARE(
        modGlobals::GetRateClass(f.session, QStringLiteral(" ") + id + u' ', patientClass, roomId),
        want);
    // A stay the database does not know is priced at the regular rate.
    QCOMPARE(
        modGlobals::GetRateClass(f.session, QStringLiteral("NO-SUCH-STAY"), patientClass, roomId),
        QStringLiteral("A"));
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
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

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
                    QStringLiteral("insert into STATION..tbNurseSetup (Field, value) "
                                   "values ('CF4RequireStart', :start)"),
                    {{QStringLiteral("start"),
                      admitted.addDays(startDaysAfterAdmission).toString(Qt::ISODate)}}));
    }
    f.session.settings.LoadParameters(db, f.session.hospital);
    QCOMPARE(f.session.settings.RequireCF4Start().isEmpty(), startDaysAfterAdmission == 999);

    QCOMPARE(modGlobals::IsValidPHICPatient(f.session, id), member);
    QCOMPARE(modGlobals::IsAdmittedSinceCF4Start(f.session, id), expected);
}

void tst_AccountRules::guarantors()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

    auto hmo = db.selectOne(u"select AccountNum, Company from BUILD_FILE..tbCoCompany "
                            u"where CompanyType = 'H' order by AccountNum");
    auto other = db.selectOne(u"select AccountNum, Company from BUILD_FILE..tbCoCompany "
                              u"where CompanyType <> 'H' order by AccountNum");
    QVERIFY(hmo && *hmo && other && *other);
    auto stay = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient order by IDNum");
    QVERIFY(stay && *stay);
    const QString id = (*stay)->text(u"IDNum");
    const QString hospNum = (*stay)->text(u"HospNum");
    auto setAccounts = [&](const QString &first, const QString &second) {
        return run(db,
                   QStringLiteral("update PATIENT_DATA..tbPatient set AccountNum = :a, "
                                  "AccountNumII = :b where IDNum = :id"),
                   {{QStringLiteral("a"), first},
                    {QStringLiteral("b"), second},
                    {QStringLiteral("id"), id}});
    };

    QVERIFY(setAccounts(hospNum, QString()));
    QCOMPARE(modGlobals::GetGuarantors(f.session, id), QStringLiteral("PERSONAL"));
    QVERIFY(setAccounts((*hmo)->text(u"AccountNum"), QString()));
    QCOMPARE(modGlobals::GetGuarantors(f.session, id), (*hmo)->text(u"Company"));
    QVERIFY(setAccounts((*hmo)->text(u"AccountNum"), (*other)->text(u"AccountNum")));
    QCOMPARE(modGlobals::GetGuarantors(f.session, id),
             (*hmo)->text(u"Company") + u'/' + (*other)->text(u"Company"));
    QVERIFY(setAccounts((*other)->text(u"AccountNum"), hospNum));
    QCOMPARE(modGlobals::GetGuarantors(f.session, id), (*other)->text(u"Company") + u"/PERSONAL");
    QCOMPARE(modGlobals::GetGuarantors(f.session, QStringLiteral("NO-SUCH-STAY")), QString());

    // An outpatient visit on the walk-in account or on the patient's own number is not a
    // company account.
    auto visit = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbOutPatient");
    QVERIFY(visit && *visit);
    const QString visitId = (*visit)->text(u"IDNum");
    const QString visitHosp = (*visit)->text(u"HospNum");
    for (const auto &[account, company] :
         {std::pair{QStringLiteral("4394"), false}, std::pair{visitHosp, false},
          std::pair{(*other)->text(u"AccountNum"), true}}) {
        QVERIFY(
            run(db,
                QStringLiteral("update PATIENT_DATA..tbOutPatient set AccountNum = :a "
                               "where IDNum = :id"),
                {{QStringLiteral("a"), QString(account + u' ')}, {QStringLiteral("id"), visitId}}));
        QCOMPARE(modGlobals::IsCompanyAccountOutpatient(f.session, visitId, visitHosp), company);
    }
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::doctorsAndConsultations()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

    auto doctor = db.selectOne(u"select DoctorID from BUILD_FILE..tbCoDoctor order by DoctorID");
    QVERIFY(doctor && *doctor);
    const QString doctorId = (*doctor)->text(u"DoctorID");
    QVERIFY(run(db,
                QStringLiteral("update BUILD_FILE..tbCoDoctor set LastName = 'REYES', "
                               "FirstName = 'ANA', MiddleName = 'CRUZ', UserID = 'D77' "
                               "where DoctorID = :d"),
                {{QStringLiteral("d"), doctorId}}));
    QCOMPARE(modGlobals::GetDoctorName(f.session, doctorId), QStringLiteral("REYES, ANA CRUZ"));
    QCOMPARE(modGlobals::GetDoctorName(f.session, QStringLiteral("NO-SUCH")), QString());
    QVERIFY(modGlobals::IsDoctorUser(f.session, doctorId, QStringLiteral("D77")));
    QVERIFY(!modGlobals::IsDoctorUser(f.session, doctorId, QStringLiteral("1001")));

    // Only an active fee above zero counts as a bill rate.
    QVERIFY(run(db, QStringLiteral("delete from BUILD_FILE..tbCoDoctorBill where DoctorID = :d"),
                {{QStringLiteral("d"), doctorId}}));
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
                               "values (:d, 0, 1)"),
                {{QStringLiteral("d"), doctorId}}));
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
                               "values (:d, 500, 0)"),
                {{QStringLiteral("d"), doctorId}}));
    QVERIFY(!modGlobals::HasDoctorBillRate(f.session, doctorId));
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
                               "values (:d, 500, 1)"),
                {{QStringLiteral("d"), doctorId}}));
    QVERIFY(modGlobals::HasDoctorBillRate(f.session, doctorId));

    QVERIFY(run(db,
                QStringLiteral("delete from BUILD_FILE..tbDBImage where TableName = 'tbCoDoctor' "
                               "and IDKey = :d"),
                {{QStringLiteral("d"), doctorId}}));
    QVERIFY(!modGlobals::HasDoctorSignature(f.session, doctorId));
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbDBImage (TableName, FieldName, IDKey) "
                               "values ('tbCoDoctor', 'Signature', :d)"),
                {{QStringLiteral("d"), doctorId}}));
    QVERIFY(modGlobals::HasDoctorSignature(f.session, doctorId));

    // The summary lists the stay's consultations in the order they were written; a doctor
    // no longer on file leaves his name blank rather than dropping the line.
    const QString id = QStringLiteral("TEST-STAY-1");
    QCOMPARE(modGlobals::GetConsultationSummary(f.session, id), QString());
    QVERIFY(run(db,
                QStringLiteral("insert into DOCTORS..Consultation (IdNum, DoctorID, "
                               "ChiefComplaint) values (:id, :d, 'FEVER')"),
                {{QStringLiteral("id"), id}, {QStringLiteral("d"), doctorId}}));
    QVERIFY(run(db,
                QStringLiteral("insert into DOCTORS..Consultation (IdNum, DoctorID, "
                               "ChiefComplaint) values (:id, 'GONE', 'COUGH')"),
                {{QStringLiteral("id"), id}}));
    QCOMPARE(modGlobals::GetConsultationSummary(f.session, id),
             QStringLiteral("DR. REYES, ANA (FEVER)\nDR. ,  (COUGH)"));
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::banner_data()
{
    QTest::addColumn<QString>("transplantID");
    QTest::addColumn<QString>("dialysisID");
    QTest::addColumn<int>("vip");
    QTest::addColumn<QString>("transplant");
    QTest::addColumn<QString>("dialysis");

    QTest::newRow("ordinary stay") << "0"
                                   << "0" << 0 << "Non_Transplant"
                                   << "None";
    QTest::newRow("transplant, pre-dialysis, VIP") << "1"
                                                   << "1" << 1 << "Transplant"
                                                   << "Pre-Dialysis";
    QTest::newRow("post-dialysis") << "0"
                                   << "2" << 0 << "Non_Transplant"
                                   << "Post-Dialysis";
}

void tst_AccountRules::banner()
{
    QFETCH(QString, transplantID);
    QFETCH(QString, dialysisID);
    QFETCH(int, vip);
    QFETCH(QString, transplant);
    QFETCH(QString, dialysis);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

    const QString id = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient2"));
    QVERIFY(!id.isEmpty());
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbExecPackageCode (PackageID, "
                               "Description) values ('XT1', ' GOLD CHECK-UP ')"),
                {}));
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoAdmPackage (PackageID, Package) "
                               "values ('XT1', 'GOLD ADMISSION')"),
                {}));
    QVERIFY(run(db,
                QStringLiteral("update PATIENT_DATA..tbPatient2 set transplantID = :t, "
                               "dialysisID = :d, VIP = :vip, PackageID = :p where IDNum = :id"),
                {{QStringLiteral("t"), transplantID},
                 {QStringLiteral("d"), dialysisID},
                 {QStringLiteral("vip"), vip},
                 {QStringLiteral("p"), vip ? QStringLiteral("XT1") : QString()},
                 {QStringLiteral("id"), id}}));

    const modGlobals::PatientBanner b = modGlobals::ShowPatientBanner(f.session, id);
    QCOMPARE(b.TransplantStatus, transplant);
    QCOMPARE(b.DialysisStatus, dialysis);
    QCOMPARE(b.vipNotice.isEmpty(), vip == 0);
    QCOMPARE(b.executivePackage,
             vip ? QStringLiteral(" Executive Package Type : GOLD CHECK-UP") : QString());
    QCOMPARE(b.admissionPackage, vip ? QStringLiteral("Executive Package Type : GOLD ADMISSION")
                                     : QStringLiteral("Executive Package Type : "));
    QCOMPARE(b.seniorNotice.isEmpty(), !modGlobals::IsSeniorCitizen(f.session, id));
}

void tst_AccountRules::payServiceLabel()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));

    const QString id = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient2"));
    auto visit = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbOutPatient");
    QVERIFY(!id.isEmpty() && visit && *visit);
    const QString visitId = (*visit)->text(u"IDNum");
    for (const auto &[stored, label] :
         {std::pair{QStringLiteral("P"), QStringLiteral("PAY PATIENT")},
          std::pair{QStringLiteral("S"), QStringLiteral("SERVICE PATIENT")},
          std::pair{QStringLiteral("X"), QString()}}) {
        QVERIFY(run(db,
                    QStringLiteral("update PATIENT_DATA..tbPatient2 set PatientClass = :c "
                                   "where IDNum = :id"),
                    {{QStringLiteral("c"), stored}, {QStringLiteral("id"), id}}));
        QCOMPARE(modGlobals::LoadPayServiceLabel(f.session, id), label);
        // Visits keep a word; its first letter counts.
        QVERIFY(run(db,
                    QStringLiteral("update PATIENT_DATA..tbOutPatient set PatientType = :c "
                                   "where IDNum = :id"),
                    {{QStringLiteral("c"), QString(stored + u"ERSONAL")},
                     {QStringLiteral("id"), visitId}}));
        f.session.CurrentPatient.HospNum = (*visit)->text(u"HospNum");
        QCOMPARE(modGlobals::LoadPayServiceLabel(f.session, visitId), label);
        // The visit of another patient is not read.
        f.session.CurrentPatient.HospNum = QStringLiteral("OTHER");
        QCOMPARE(modGlobals::LoadPayServiceLabel(f.session, visitId), QString());
    }
}

void tst_AccountRules::lookups()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    Session &s = f.session;

    auto orItem = db.selectOne(u"select OtherRevenueID, SectionID, ORSection "
                               u"from BUILD_FILE..tbCoOtherRevenue where OtherSectionID = 'OR' "
                               u"and SectionID <> ''");
    QVERIFY(orItem && *orItem);
    const QString item = (*orItem)->text(u"OtherRevenueID");
    QCOMPARE(modGlobals::GetORItemSection(s, item), (*orItem)->text(u"SectionID"));
    QCOMPARE(modGlobals::GetORSection(s, item), (*orItem)->text(u"ORSection"));
    auto otherItem = db.scalar(u"select OtherRevenueID from BUILD_FILE..tbCoOtherRevenue "
                               u"where OtherSectionID <> 'OR' and SectionID <> ''");
    QVERIFY(otherItem);
    if (!otherItem->isNull())
        QCOMPARE(modGlobals::GetORItemSection(s, otherItem->toString()), QString());

    // Charge slip numbers are unique across bills, stock movements and assessments.
    QVERIFY(!modGlobals::RefNumExists(s, QStringLiteral("TEST-REF-1")));
    QVERIFY(run(db,
                QStringLiteral("insert into BILLING..tbCashAssessment (RefNum) "
                               "values ('TEST-REF-1')"),
                {}));
    QVERIFY(modGlobals::RefNumExists(s, QStringLiteral("TEST-REF-1")));
    QVERIFY(run(db,
                QStringLiteral("insert into INVENTORY..tbInvStockCard (RefNum, IDNum, "
                               "CreditMemoNum) values ('TEST-REF-2', 'TEST-STAY', 'CM-9')"),
                {}));
    QVERIFY(modGlobals::RefNumExists(s, QStringLiteral("TEST-REF-2")));
    QCOMPARE(modGlobals::GetCreditMemoIdNum(s, QStringLiteral("CM-9")),
             QStringLiteral("TEST-STAY"));
    QCOMPARE(modGlobals::GetCreditMemoIdNum(s, QStringLiteral("CM-NONE")), QString());

    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoRevenueCode (RevenueID, "
                               "LocationID, StockCardRevenueID) values ('TPH', 'L9', 'PH')"),
                {}));
    QVERIFY(modGlobals::IsPharmacyRevenue(s, QStringLiteral("TPH")));
    QCOMPARE(modGlobals::GetRevenueLocation(s, QStringLiteral("TPH")), QStringLiteral("L9"));
    QVERIFY(!modGlobals::IsPharmacyRevenue(s, QStringLiteral("NO-SUCH")));

    QVERIFY(f.notifier.boxes().isEmpty());

    QCOMPARE(modGlobals::NullToSpace(QVariant()), QStringLiteral(" "));
    QCOMPARE(modGlobals::NullToSpace(QVariant(QString())), QString());
    QCOMPARE(modGlobals::NullToSpace(QVariant(12)), QStringLiteral("12"));
}

void tst_AccountRules::chargingLookups()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    Session &s = f.session;

    // Receivable accounts: by kind of stay, who pays, and charge or credit.
    const QString personal = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient "
                                                        "where AccountNum = HospNum"));
    const QString company = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient "
                                                       "where AccountNum <> HospNum "
                                                       "and AccountNum <> ''"));
    const QString visit = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbOutPatient "
                                                     "where AccountNum = HospNum"));
    QVERIFY(!personal.isEmpty() && !company.isEmpty() && !visit.isEmpty());
    QCOMPARE(modGlobals::GetARCode(s, personal, QStringLiteral("OR"), QStringLiteral("1")),
             QStringLiteral("1131-OR-1"));
    QCOMPARE(modGlobals::GetARCode(s, company, QStringLiteral("OR"), QStringLiteral("1")),
             QStringLiteral("1131-OR-2"));
    QCOMPARE(modGlobals::GetARCode(s, visit, QStringLiteral("PH"), QStringLiteral("2")),
             QStringLiteral("1132-PH-1R"));
    // An empty account is the patient's own.
    QVERIFY(run(db,
                QStringLiteral("update PATIENT_DATA..tbPatient set AccountNum = '' "
                               "where IDNum = :id"),
                {{QStringLiteral("id"), company}}));
    QCOMPARE(modGlobals::GetARCode(s, company, QStringLiteral("OR"), QStringLiteral("1")),
             QStringLiteral("1131-OR-1"));
    QCOMPARE(modGlobals::GetARCode(s, personal, QStringLiteral("NOSUCH"), QStringLiteral("1")),
             QString());

    // The PD First benefit, and when its last bag was charged.
    QString last = QStringLiteral("stale");
    QVERIFY(!modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, QString());
    QVERIFY(run(db,
                QStringLiteral("update PATIENT_DATA..tbPatient2 set PackageID = 'PKG-PDF' "
                               "where IDNum = :id"),
                {{QStringLiteral("id"), personal}}));
    QVERIFY(modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, QString());
    const QString bag = QStringLiteral("insert into STATION..tbNurseLogBook (IDNum, ItemID, "
                                       "TransDate, RecordStatus) values (:id, :item, :at, :st)");
    QVERIFY(run(db, bag,
                {{QStringLiteral("id"), personal},
                 {QStringLiteral("item"), QStringLiteral("CAPD001")},
                 {QStringLiteral("at"), QDateTime(QDate(2026, 11, 30), QTime(14, 5))},
                 {QStringLiteral("st"), QString()}}));
    QVERIFY(run(db, bag,
                {{QStringLiteral("id"), personal},
                 {QStringLiteral("item"), QStringLiteral("CAPD002")},
                 {QStringLiteral("at"), QDateTime(QDate(2026, 12, 1), QTime(8, 0))},
                 {QStringLiteral("st"), QStringLiteral("R")}}));
    QVERIFY(modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, QStringLiteral("11/30/2026 02:05 PM"));

    // Medicines still to give: the demo wards keep one or two doses of the second medicine.
    auto pending = db.selectOne(u"select IDNum, ItemID, Quantity - QtyAdministered as Remaining "
                                u"from STATION..tbNursePatientMedicines "
                                u"where Quantity > QtyAdministered");
    QVERIFY(pending && *pending);
    const QString ward = (*pending)->text(u"IDNum");
    QCOMPARE(modGlobals::HasNotAdministeredMeds(s, ward, (*pending)->text(u"ItemID")).toDouble(),
             (*pending)->value(u"Remaining").toDouble());
    auto given = db.selectOne(u"select IDNum, ItemID from STATION..tbNursePatientMedicines "
                              u"where Quantity = QtyAdministered");
    QVERIFY(given && *given);
    QCOMPARE(
        modGlobals::HasNotAdministeredMeds(s, (*given)->text(u"IDNum"), (*given)->text(u"ItemID"))
            .toDouble(),
        0.0);
    QVERIFY(f.notifier.boxes().isEmpty());

    auto rows = db.select(u"select IDNum as IdNum from PATIENT_DATA..tbPatient where 1 = 0");
    QVERIFY(rows);
    QVERIFY(modGlobals::FieldExists(*rows, QStringLiteral("IDNUM")));
    QVERIFY(!modGlobals::FieldExists(*rows, QStringLiteral("HospNum")));
}

void tst_AccountRules::wholeQuantity_data()
{
    QTest::addColumn<bool>("decimalsAllowed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");

    QTest::newRow("digits") << false << "12" << true;
    QTest::newRow("decimal refused") << false << "1.5" << false;
    QTest::newRow("sign refused") << false << "-1" << false;
    QTest::newRow("space refused") << false << " 2" << false;
    QTest::newRow("other digits refused") << false << QString::fromUtf8("\u0663") << false;
    QTest::newRow("decimal allowed") << true << "1.5" << true;
}

void tst_AccountRules::wholeQuantity()
{
    QFETCH(bool, decimalsAllowed);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    QVERIFY(run(
        db, QStringLiteral("delete from STATION..tbNurseSetup where Field = 'ORDecimalQty'"), {}));
    QVERIFY(
        run(db,
            QStringLiteral("insert into STATION..tbNurseSetup (Field, value) "
                           "values ('ORDecimalQty', :v)"),
            {{QStringLiteral("v"), decimalsAllowed ? QStringLiteral("1") : QStringLiteral("0")}}));
    f.session.settings.LoadParameters(db, f.session.hospital);
    QCOMPARE(modGlobals::IsWholeQuantity(f.session, typed), accepted);
}

void tst_AccountRules::receivablesFormularyAndHoliday()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    Session &s = f.session;

    const QString billed = firstId(
        db,
        QStringLiteral("select IDNum from PATIENT_DATA..tbPatient where BillingDate is not null"));
    const QString open = firstId(
        db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient where BillingDate is null"));
    const QString billedVisit = firstId(
        db, QStringLiteral(
                "select IDNum from PATIENT_DATA..tbOutPatient where BillingDate is not null"));
    QVERIFY(!billed.isEmpty() && !open.isEmpty() && !billedVisit.isEmpty());
    QVERIFY(modGlobals::IsReceivableUpdate(s, billed));
    QVERIFY(modGlobals::IsReceivableUpdate(s, billedVisit));
    QVERIFY(!modGlobals::IsReceivableUpdate(s, open));

    // A yearly holiday matches on its day in any year; a dated one only on that date.
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 25), QTime(8, 0))));
    QVERIFY(run(db, QStringLiteral("delete from BUILD_FILE..tbCoHoliday"), {}));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).IsHolidayToday, false);
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoHoliday (HolidayDate, IsYearly, "
                               "HolidayName, HolidayGreeting) values (:d, 0, 'OLD', 'x')"),
                {{QStringLiteral("d"), QDateTime(QDate(2020, 12, 25), QTime(0, 0))}}));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).IsHolidayToday, false);
    QVERIFY(run(db,
                QStringLiteral("insert into BUILD_FILE..tbCoHoliday (HolidayDate, IsYearly, "
                               "HolidayName, HolidayGreeting) values (:d, 1, 'CHRISTMAS', "
                               "'Merry Christmas!')"),
                {{QStringLiteral("d"), QDateTime(QDate(2001, 12, 25), QTime(0, 0))}}));
    const modGlobals::TodaysHoliday h = modGlobals::LoadHolidayGreeting(s);
    QVERIFY(h.IsHolidayToday);
    QCOMPARE(h.HolidayName, QStringLiteral("CHRISTMAS"));
    QCOMPARE(h.HolidayGreeting, QStringLiteral("Merry Christmas!"));
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 26), QTime(8, 0))));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).HolidayName, QString());
    QCOMPARE(modGlobals::LoadServerDate(s), QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
    QCOMPARE(s.ServerDate, QDate(2026, 12, 26));

    QVERIFY(run(db, QStringLiteral("delete from INVENTORY..tbInvSwitch where IDKey = '89'"), {}));
    QCOMPARE(modGlobals::GetInventorySwitch89(s), QString());
    QVERIFY(run(db,
                QStringLiteral("insert into INVENTORY..tbInvSwitch (IDKey, KeyValue) "
                               "values ('89', null)"),
                {}));
    QCOMPARE(modGlobals::GetInventorySwitch89(s), QStringLiteral("0"));
    QCOMPARE(modGlobals::GetProcedureParamCount(s, QStringLiteral("STATION"),
                                                QStringLiteral("sp_Nurse_Get_PatientType")),
             2);
    QCOMPARE(modGlobals::GetProcedureParamCount(s, QStringLiteral("STATION"),
                                                QStringLiteral("sp_No_Such_Procedure")),
             0);
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_AccountRules::failuresGiveDefaults()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, QStringLiteral("1001"));
    const QString id = firstId(db, QStringLiteral("select IDNum from PATIENT_DATA..tbPatient2 "
                                                  "where PackageID <> '' and OkeyOR = 1"));
    if (id.isEmpty())
        QSKIP("the demo hospital has no cleared stay with a package");

    // A database without the hospital's procedures: every call fails.
    db.setProcedures(std::make_shared<ProcedureRegistry>());
    QCOMPARE(modGlobals::GetRateClass(f.session, id, QStringLiteral("I"), QString()),
             QStringLiteral("A"));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.boxes().last().title, QStringLiteral("Notification"));
    QVERIFY(f.notifier.lastText().contains(u"sp_Nurse_Get_PatientType"));
    QVERIFY(!modGlobals::IsSeniorCitizen(f.session, id));
    QCOMPARE(f.notifier.boxes().size(), 2);
    db.setProcedures(hospitaldb::hospitalProcedures());

    // The stay's admitting-office table is gone: the statements fail.
    QVERIFY(db.execRaw(db.mapNames(u"drop table PATIENT_DATA..tbPatient2")));
    f.notifier.clear();
    QVERIFY(!modGlobals::HasPackage(f.session, id));
    QVERIFY(!modGlobals::IsOROkay(f.session, id));
    QVERIFY(!modGlobals::IsWithinCreditLine(f.session, id, 1, {}));
    QCOMPARE(f.notifier.boxes().size(), 3);
    // Each failure is told once, in the shared error box.
    for (const auto &box : f.notifier.boxes()) {
        QVERIFY(box.text.endsWith(Notifier::errorBoxText(QString())));
        QCOMPARE(box.title, QStringLiteral("Notification"));
    }
}

QTEST_MAIN(tst_AccountRules)
#include "tst_accountrules.moc"
