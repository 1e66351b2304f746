// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patients of the OR, on every backend: the questions the windows ask about a stay, the
// code look-ups, the admitted patients with an operation, the patient index, and finding and
// selecting the patient in the patient lists.
#include "core/components/CF4Entry.h"
#include "core/components/clsPatientFinder.h"
#include "core/components/clsTarvikClasses.h"
#include "core/db/Database.h"
#include "core/settings/HospitalSettings.h"
#include "core/WindowsColor.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "patients/AdmittedPatients.h"
#include "patients/clsSearcher.h"
#include "patients/modGlobals.h"
#include "patients/PatientGrid.h"
#include "patients/PatientIndex.h"
#include "patients/PatientList.h"
#include "patients/PatientListFixture.h"
#include "patients/PatientSelection.h"
#include "patients/SearcherList.h"
#include "patients/SearcherPickList.h"
#include "shell/MainMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kClosedText = u"The patient's account has already been closed. \n\nIf you have "
                            u"transactions to make, please notify the Billing staff immediately "
                            u"for further instructions."_s;

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

#define RUN(...) QVERIFY(run(db, __VA_ARGS__))

#define OPEN_SESSION                                                                               \
    KESTREL_OPEN_DEMO(db);                                                                         \
    test::MainWindowFixture f(db, u"1001"_s);                                                      \
    Session &s = f.session

/// A code search list that opens like the window, then picks the scripted code or cancels.
class ScriptedPickList : public SearcherPickList
{
public:
    void show(SearcherList &list) override
    {
        ++shown;
        criteria = list.Criteria();
        list.open();
        listed = codes(list);
        const qsizetype at = listed.indexOf(pickCode);
        if (pickCode.isEmpty() || at < 0 || !list.select(int(at)))
            list.cancel();
    }
    static QStringList codes(const SearcherList &list)
    {
        QStringList codes;
        for (const QStringList &row : list.rows())
            codes << row.value(1);
        return codes;
    }
    QString pickCode;
    int shown = 0;
    QString criteria;
    QStringList listed; ///< the codes the list showed, in its order
};

using Search = bool (clsSearcher::*)(const QString &);

Search searchOf(const QString &name)
{
    return name == u"hospital"     ? &clsSearcher::SearchHospital
           : name == u"vessel"     ? &clsSearcher::SearchVessel
           : name == u"membership" ? &clsSearcher::SearchMembership
                                   : &clsSearcher::SearchAdmissionType;
}

const QString kHospitalList = u"SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
                              u"WHERE HospitalName like '##' + '%' ORDER BY HospitalName"_s;
const QString kMembershipList = u"SELECT PHICDescription,PHICCode FROM MEDICARE..tbAdmPHICTable "
                                u"WHERE Status = 1 and PHICDescription like '%' + '##' + '%' "
                                u"ORDER BY PHICDescription"_s;
const QString kAdmissionTypeList = u"Patient_Data..sp_Adm_SearchAdmissionType '##'"_s;
const QStringList kVessels{"V001", "V002", "V003", "V004", "V005", "V006", "V007", "V008", "V009"};

#define OPEN_SEARCHER                                                                              \
    KESTREL_OPEN_DEMO(db);                                                                         \
    test::MainWindowFixture f(db, u"2905"_s);                                                      \
    ScriptedPickList pickList;                                                                     \
    clsSearcher searcher(f.session, pickList)

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

// Patients, stays, procedures, an OR record and station logs of our own beside the demo's.
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

/// The CF4 entry window as a test sees it: the title and heading it showed, and what the
/// user does in it.
struct RecordingCF4Window : CF4EntryWindow
{
    void show(CF4Entry &entry) override
    {
        shown << entry.values().Title + u'|' + entry.heading();
        if (user)
            user(entry);
    }
    QStringList shown;
    std::function<void(CF4Entry &)> user;
};

/// An index over the demo hospital and our own patients; the windows it opens are recorded.
struct Index
{
    explicit Index(Database &db)
        : f(db, u"2901"_s)
        , finder(ctx)
        , cf4(f.notifier)
        , index(f.session, &finder, &cf4)
    {
        f.session.settings.LoadParameters(db, f.session.hospital);
        f.session.ApplicationPath = u"/opt/kestrel"_s;
        cf4.setConnection(&db);
        cf4.setEntryWindow(&cf4Window);
        index.setWindowOpener([this](const QString &form, const WindowRequest &request) {
            opened.append({form, request});
        });
        ready = finder.InitConnection(u"MTS01"_s, &db);
    }
    test::RecordingNotifier finderNotifier; // the finder's own boxes
    ComponentContext ctx{finderNotifier};
    test::MainWindowFixture f;
    clsPatientFinder finder;
    clsCF4 cf4;
    RecordingCF4Window cf4Window;
    PatientIndex index;
    QList<std::pair<QString, WindowRequest>> opened;
    bool ready = false;
};

#define OPEN_INDEX(x)                                                                              \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(addTestPatients(db));                                                                  \
    Index x(db);                                                                                   \
    QVERIFY(x.ready)

// A session on a demo hospital with the list's own patients, the finder and the commands.
struct Hospital
{
    explicit Hospital(Database &db)
        : f(db, u"2901"_s)
        , finder(ctx)
        , menu(f.session)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        finder.InitConnection(QString(), &db);
    }
    PatientList list(PatientList::Window window = PatientList::Window::PatientList)
    {
        return PatientList(f.session, &finder, &menu, window);
    }
    test::MainWindowFixture f;
    ComponentContext ctx{f.notifier};
    clsPatientFinder finder;
    MainMenu menu;
};

#define OPEN_HOSPITAL(h)                                                                           \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(test::addListPatients(db));                                                            \
    Hospital h(db)

// One list procedure row: the six shown columns, the cash-basis flag and the legend.
RowSet listRows(const QList<QVariantList> &rows)
{
    RowSet set({"HospNum", "IdNum", "PatientName", "AdmissionDate", "DischargedDate", "BillingDate",
                "CashBasis", "CashBasisRemarks"});
    for (const QVariantList &r : rows)
        set.append(r);
    return set;
}

int rowOf(const PatientList &list, const QString &idNum)
{
    for (int row = 1; row < list.grid().gridRows(); ++row) {
        if (list.grid().text(row, PatientGrid::AdmissionNumber) == idNum)
            return row;
    }
    return 0;
}

QStringList admissionNumbers(const PatientList &list)
{
    QStringList ids;
    for (int row = 1; row < list.grid().gridRows(); ++row)
        ids << list.grid().text(row, PatientGrid::AdmissionNumber);
    return ids;
}

bool setSwitch(Database &db, const QString &field, const QString &value)
{
    return db
        .exec(u"update STATION..tbNurseSetup set value = :v where Field = :f",
              {{"v", value}, {"f", field}})
        .has_value();
}

QString describe(const CurrentPatientRecord &p)
{
    const QString f = u"yyyy-MM-dd hh:mm"_s;
    return (QStringList() << p.HospNum << p.PatientName << p.Address << p.Sex << p.IdNum
                          << p.PatientClass << p.RoomClassID << p.RoomID << p.RoomRate.toString()
                          << p.AdmissionDate.toString(f) << p.DischargeDate.toString(f)
                          << p.AccountNumber << p.Company << p.AttendingDoctor
                          << QString::number(p.ListRow))
        .join(u'|');
}

} // namespace

Q_DECLARE_METATYPE(Rule)

class tst_Patients : public QObject
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
    void lookups();
    void chargingLookups();
    void wholeQuantity_data();
    void wholeQuantity();
    void receivablesFormularyAndHoliday();
    void failuresGiveDefaults();
    void oneRowAnswersAtOnce_data();
    void oneRowAnswersAtOnce();
    void severalRowsOpenTheList_data();
    void severalRowsOpenTheList();
    void cancelledListKeepsTheLastAnswer();
    void nothingFoundTellsTheUser_data();
    void nothingFoundTellsTheUser();
    void listQueries_data();
    void listQueries();
    void onlyStaysStillInWithAConfirmedUncheckedOperation();
    void tagChecked_data();
    void tagChecked();
    void showsThePatientAtTheServerDate();
    void ageInYears_data();
    void ageInYears();
    void listsProceduresAndTheirUpdates();
    void enterFindsByNumberOrName_data();
    void enterFindsByNumberOrName();
    void procedureOpensCF4AndSurgicalMemo_data();
    void procedureOpensCF4AndSurgicalMemo();
    void cf4EntryStartsFromTheStayAndSavesWhole();
    void cf4SavedByTwoWorkstationsAtOnce();
    void selectingAStay_data();
    void selectingAStay();
    void stayNotFound_data();
    void stayNotFound();
    void searchClearsTheKeys();
    void payServiceLabelForOneHospital();
    void cvorTag_data();
    void cvorTag();
    void rowColours_data();
    void rowColours();
    void loadingTheList();
    void longListsArriveInPages();
    void precautionColours();
    void selectionEnablesThePatientCommands();
    void rowsOpenTheProfile();
    void pickerHandsThePatientToTheBoard();
    void cvorPopup();
    void kindsOfStay();
};

void tst_Patients::accountClosed_data()
{
    QTest::addColumn<QString>("patientClass");
    QTest::addColumn<bool>("billed");
    QTest::newRow("billed inpatient") << u"I"_s << true;
    QTest::newRow("billed outpatient visit") << u"O"_s << true;
    QTest::newRow("open inpatient") << u"I"_s << false;
}

void tst_Patients::accountClosed()
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
        // Billing closes the account while the stay is on screen: the next check sees it.
        QVERIFY(run(
            db, u"update %1 set BillingDate = :at where IDNum = :id"_s.arg(table),
            {{"at", QDateTime(QDate(2026, 1, 5), QTime(9, 0))}, {"id", s.CurrentPatient.IdNum}}));
    }
    QVERIFY(modGlobals::IsAccountClosed(s));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), kClosedText);
}

void tst_Patients::stayFlags_data()
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
}

void tst_Patients::stayFlags()
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

void tst_Patients::creditLine_data()
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

void tst_Patients::creditLine()
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
    RUN(u"delete from BILLING..tbBillDailyBill where IDNum = :id", b);
    RUN(u"delete from STATION..tbNurseLogBook where IDNum = :id", b);
    RUN(u"update PATIENT_DATA..tbPatient2 set CreditLine = :line where IDNum = :id", b);
    RUN(u"insert into BILLING..tbBillDailyBill (IDNum, Amount) values (:id, :bill)", b);
    // A revoked log book entry is no longer waiting to be billed.
    RUN(u"insert into STATION..tbNurseLogBook (IDNum, Amount, RecordStatus) "
        u"values (:id, :pending, ''), (:id, 5000, 'R')",
        b);
    QCOMPARE(modGlobals::IsWithinCreditLine(s, id, 1, onScreen), within);
    QCOMPARE(modGlobals::IsWithinCreditLine(s, id, 2, onScreen), within);
}

void tst_Patients::rateClass_data()
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

void tst_Patients::rateClass()
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
    RUN(outpatient ? u"update PATIENT_DATA..tbOutPatient set isSpecial = :s, "
                     u"RateType = :rate where IDNum = :id"
                   : u"update PATIENT_DATA..tbPatient2 set isSpecial = :s where IDNum = :id",
        b);
    const QString want = expected == u"room" ? (*room)->text(u"RoomClassID") : expected;
    QCOMPARE(modGlobals::GetRateClass(s, u" "_s + id + u' ', patientClass, roomId), want);
    // A stay the database does not know is priced at the regular rate.
    QCOMPARE(modGlobals::GetRateClass(s, u"NO-SUCH-STAY"_s, patientClass, roomId), u"A"_s);
}

void tst_Patients::cf4Start_data()
{
    QTest::addColumn<int>("startDaysAfterAdmission"); // 999: the setting is empty
    QTest::addColumn<bool>("member");
    QTest::addColumn<bool>("expected");
    QTest::newRow("no start date, member") << 999 << true << true;
    QTest::newRow("no start date, not a member") << 999 << false << false;
    QTest::newRow("admitted on the start date") << 0 << true << true;
    QTest::newRow("admitted before the start date") << 1 << true << false;
}

void tst_Patients::cf4Start()
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
        RUN(u"insert into STATION..tbNurseSetup (Field, value) "
            u"values ('CF4RequireStart', :start)",
            {{"start", admitted.addDays(startDaysAfterAdmission).toString(Qt::ISODate)}});
    }
    s.settings.LoadParameters(db, s.hospital);
    QCOMPARE(s.settings.RequireCF4Start().isEmpty(), startDaysAfterAdmission == 999);
    QCOMPARE(modGlobals::IsValidPHICPatient(s, id), member);
    QCOMPARE(modGlobals::IsAdmittedSinceCF4Start(s, id), expected);
}

void tst_Patients::guarantors()
{
    OPEN_SESSION;
    auto hmo = db.selectOne(u"select AccountNum, Company from BUILD_FILE..tbCoCompany "
                            u"where CompanyType = 'H' order by AccountNum");
    auto other = db.selectOne(u"select AccountNum, Company from BUILD_FILE..tbCoCompany "
                              u"where CompanyType <> 'H' order by AccountNum");
    auto stay = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbPatient order by IDNum");
    QVERIFY(hmo && *hmo && other && *other && stay && *stay);
    const QString id = (*stay)->text(u"IDNum"), hospNum = (*stay)->text(u"HospNum");
    const QString hmoAccount = (*hmo)->text(u"AccountNum"), hmoName = (*hmo)->text(u"Company");
    const QString otherAccount = (*other)->text(u"AccountNum"),
                  otherName = (*other)->text(u"Company");
    const QList<std::tuple<QString, QString, QString>> cases{
        {hospNum, QString(), u"PERSONAL"_s},
        {hmoAccount, QString(), hmoName},
        {hmoAccount, otherAccount, hmoName + u'/' + otherName},
        {otherAccount, hospNum, otherName + u"/PERSONAL"}};
    for (const auto &[first, second, named] : cases) {
        RUN(u"update PATIENT_DATA..tbPatient set AccountNum = :a, AccountNumII = :b "
            u"where IDNum = :id",
            {{"a", first}, {"b", second}, {"id", id}});
        QCOMPARE(modGlobals::GetGuarantors(s, id), named);
    }
    QCOMPARE(modGlobals::GetGuarantors(s, u"NO-SUCH-STAY"_s), QString());
    // A visit on the walk-in account or on the patient's own number is no company account.
    auto visit = db.selectOne(u"select IDNum, HospNum from PATIENT_DATA..tbOutPatient");
    QVERIFY(visit && *visit);
    const QString visitId = (*visit)->text(u"IDNum"), visitHosp = (*visit)->text(u"HospNum");
    for (const auto &[account, company] : {std::pair{u"4394"_s, false}, std::pair{visitHosp, false},
                                           std::pair{otherAccount, true}}) {
        RUN(u"update PATIENT_DATA..tbOutPatient set AccountNum = :a where IDNum = :id",
            {{"a", QString(account + u' ')}, {"id", visitId}});
        QCOMPARE(modGlobals::IsCompanyAccountOutpatient(s, visitId, visitHosp), company);
    }
    QVERIFY(f.notifier.boxes().isEmpty());
}

void tst_Patients::doctorsAndConsultations()
{
    OPEN_SESSION;
    const QString doctorId =
        firstId(db, u"select DoctorID from BUILD_FILE..tbCoDoctor order by DoctorID");
    QVERIFY(!doctorId.isEmpty());
    const Binds d{{"d", doctorId}};
    RUN(u"update BUILD_FILE..tbCoDoctor set LastName = 'REYES', FirstName = 'ANA', "
        u"MiddleName = 'CRUZ', UserID = 'D77' where DoctorID = :d",
        d);
    QCOMPARE(modGlobals::GetDoctorName(s, doctorId) + modGlobals::GetDoctorName(s, u"NO-SUCH"_s),
             u"REYES, ANA CRUZ"_s);
    // Only an active fee above zero counts as a bill rate.
    RUN(u"delete from BUILD_FILE..tbCoDoctorBill where DoctorID = :d", d);
    RUN(u"insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
        u"values (:d, 0, 1), (:d, 500, 0)",
        d);
    QVERIFY(!modGlobals::HasDoctorBillRate(s, doctorId));
    RUN(u"insert into BUILD_FILE..tbCoDoctorBill (DoctorID, Amount, Status) "
        u"values (:d, 500, 1)",
        d);
    QVERIFY(modGlobals::HasDoctorBillRate(s, doctorId));
    // The consultations in the order written; a doctor no longer on file leaves a blank name.
    const QString id = u"TEST-STAY-1"_s;
    QCOMPARE(modGlobals::GetConsultationSummary(s, id), QString());
    RUN(u"insert into DOCTORS..Consultation (IdNum, DoctorID, ChiefComplaint) "
        u"values (:id, :d, 'FEVER'), (:id, 'GONE', 'COUGH')",
        {{"id", id}, {"d", doctorId}});
    QCOMPARE(modGlobals::GetConsultationSummary(s, id),
             u"DR. REYES, ANA (FEVER)\nDR. ,  (COUGH)"_s);
}

void tst_Patients::banner_data()
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

void tst_Patients::banner()
{
    QFETCH(QString, transplantID);
    QFETCH(QString, dialysisID);
    QFETCH(int, vip);
    QFETCH(QString, transplant);
    QFETCH(QString, dialysis);
    OPEN_SESSION;
    const QString id = firstId(db, u"select IDNum from PATIENT_DATA..tbPatient2");
    QVERIFY(!id.isEmpty());
    RUN(u"insert into BUILD_FILE..tbExecPackageCode (PackageID, Description) "
        u"values ('XT1', ' GOLD CHECK-UP ')");
    RUN(u"insert into BUILD_FILE..tbCoAdmPackage (PackageID, Package) "
        u"values ('XT1', 'GOLD ADMISSION')");
    RUN(u"update PATIENT_DATA..tbPatient2 set transplantID = :t, dialysisID = :d, "
        u"VIP = :vip, PackageID = :p where IDNum = :id",
        {{"t", transplantID},
         {"d", dialysisID},
         {"vip", vip},
         {"p", vip ? u"XT1"_s : QString()},
         {"id", id}});
    const modGlobals::PatientBanner b = modGlobals::ShowPatientBanner(s, id);
    QCOMPARE(b.TransplantStatus, transplant);
    QCOMPARE(b.DialysisStatus, dialysis);
    QCOMPARE(b.vipNotice.isEmpty(), vip == 0);
    QCOMPARE(b.executivePackage, vip ? u" Executive Package Type : GOLD CHECK-UP"_s : QString());
    QCOMPARE(b.admissionPackage,
             vip ? u"Executive Package Type : GOLD ADMISSION"_s : u"Executive Package Type : "_s);
    QCOMPARE(b.seniorNotice.isEmpty(), !modGlobals::IsSeniorCitizen(s, id));
}

void tst_Patients::lookups()
{
    OPEN_SESSION;
    // Charge slip numbers are unique across bills, stock movements and assessments.
    QVERIFY(!modGlobals::RefNumExists(s, u"TEST-REF-1"_s));
    RUN(u"insert into BILLING..tbCashAssessment (RefNum) values ('TEST-REF-1')");
    QVERIFY(modGlobals::RefNumExists(s, u"TEST-REF-1"_s));
    RUN(u"insert into INVENTORY..tbInvStockCard (RefNum, IDNum, CreditMemoNum) "
        u"values ('TEST-REF-2', 'TEST-STAY', 'CM-9')");
    QVERIFY(modGlobals::RefNumExists(s, u"TEST-REF-2"_s));
    QCOMPARE(modGlobals::GetCreditMemoIdNum(s, u"CM-9"_s) +
                 modGlobals::GetCreditMemoIdNum(s, u"CM-NONE"_s),
             u"TEST-STAY"_s);
}

void tst_Patients::chargingLookups()
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
    RUN(u"update PATIENT_DATA..tbPatient set AccountNum = '' where IDNum = :id", {{"id", company}});
    QCOMPARE(modGlobals::GetARCode(s, company, u"OR"_s, u"1"_s), u"1131-OR-1"_s);
    QCOMPARE(modGlobals::GetARCode(s, personal, u"NOSUCH"_s, u"1"_s), QString());
    // The PD First benefit, and when its last bag was charged.
    QString last = u"stale"_s;
    QVERIFY(!modGlobals::IsZFirstPackage(s, personal, last) && last.isEmpty());
    RUN(u"update PATIENT_DATA..tbPatient2 set PackageID = 'PKG-PDF' where IDNum = :id",
        {{"id", personal}});
    QVERIFY(modGlobals::IsZFirstPackage(s, personal, last) && last.isEmpty());
    RUN(u"insert into STATION..tbNurseLogBook (IDNum, ItemID, TransDate, RecordStatus) "
        u"values (:id, 'CAPD001', :given, ''), (:id, 'CAPD002', :revoked, 'R')",
        {{"id", personal},
         {"given", QDateTime(QDate(2026, 11, 30), QTime(14, 5))},
         {"revoked", QDateTime(QDate(2026, 12, 1), QTime(8, 0))}});
    QVERIFY(modGlobals::IsZFirstPackage(s, personal, last));
    QCOMPARE(last, u"11/30/2026 02:05 PM"_s);
}

void tst_Patients::wholeQuantity_data()
{
    QTest::addColumn<bool>("decimalsAllowed");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("accepted");
    QTest::newRow("digits") << false << u"12"_s << true;
    QTest::newRow("decimal refused") << false << u"1.5"_s << false;
    QTest::newRow("other digits refused") << false << QString::fromUtf8("\u0663") << false;
    QTest::newRow("decimal allowed") << true << u"1.5"_s << true;
}

void tst_Patients::wholeQuantity()
{
    QFETCH(bool, decimalsAllowed);
    QFETCH(QString, typed);
    QFETCH(bool, accepted);
    OPEN_SESSION;
    RUN(u"delete from STATION..tbNurseSetup where Field = 'ORDecimalQty'");
    RUN(u"insert into STATION..tbNurseSetup (Field, value) values ('ORDecimalQty', :v)",
        {{"v", decimalsAllowed ? u"1"_s : u"0"_s}});
    s.settings.LoadParameters(db, s.hospital);
    QCOMPARE(modGlobals::IsWholeQuantity(s, typed), accepted);
}

void tst_Patients::receivablesFormularyAndHoliday()
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
    RUN(u"delete from BUILD_FILE..tbCoHoliday");
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).IsHolidayToday, false);
    RUN(holiday,
        {{"d", QDate(2020, 12, 25).startOfDay()}, {"yearly", 0}, {"name", "OLD"}, {"text", "x"}});
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).IsHolidayToday, false);
    RUN(holiday, {{"d", QDate(2001, 12, 25).startOfDay()},
                  {"yearly", 1},
                  {"name", "CHRISTMAS"},
                  {"text", "Merry Christmas!"}});
    const modGlobals::TodaysHoliday h = modGlobals::LoadHolidayGreeting(s);
    QVERIFY(h.IsHolidayToday);
    QCOMPARE(h.HolidayName + u'|' + h.HolidayGreeting, u"CHRISTMAS|Merry Christmas!"_s);
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 26), QTime(8, 0))));
    QCOMPARE(modGlobals::LoadHolidayGreeting(s).HolidayName, QString());
    QCOMPARE(modGlobals::LoadServerDate(s), QDateTime(QDate(2026, 12, 26), QTime(8, 0)));
    QCOMPARE(s.ServerDate, QDate(2026, 12, 26));
    RUN(u"delete from INVENTORY..tbInvSwitch where IDKey = '89'");
    QCOMPARE(modGlobals::GetInventorySwitch89(s), QString());
    RUN(u"insert into INVENTORY..tbInvSwitch (IDKey, KeyValue) values ('89', null)");
    QCOMPARE(modGlobals::GetInventorySwitch89(s), u"0"_s);
}

void tst_Patients::failuresGiveDefaults()
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

void tst_Patients::oneRowAnswersAtOnce_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("description");
    QTest::newRow("unique hospital prefix")
        << u"hospital"_s << u"MALIGAYA"_s << u"H03"_s << u"MALIGAYA CHILDREN'S HOSPITAL"_s;
    QTest::newRow("hospital typed in small letters")
        << u"hospital"_s << u"san bartolome doc"_s << u"H05"_s
        << u"SAN BARTOLOME DOCTORS HOSPITAL"_s;
    QTest::newRow("vessel") << u"vessel"_s << u"MT TALA"_s << u"V007"_s << u"MT TALA NG DAGAT"_s;
    QTest::newRow("vessel typed with blanks")
        << u"vessel"_s << u"  LCT "_s << u"V008"_s << u"LCT SAN BARTOLOME II"_s;
    QTest::newRow("membership code")
        << u"membership"_s << u"SP"_s << u"SP"_s << u"SPONSORED / INDIGENT"_s;
    QTest::newRow("admission type code")
        << u"admission"_s << u"3"_s << u"3"_s << u"ELECTIVE SURGERY"_s;
    QTest::newRow("admission type name")
        << u"admission"_s << u"day"_s << u"6"_s << u"DAY SURGERY"_s;
}

void tst_Patients::oneRowAnswersAtOnce()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, code);
    QFETCH(QString, description);
    OPEN_SEARCHER;
    QVERIFY((searcher.*searchOf(search))(typed));
    QCOMPARE(searcher.Code() + u'|' + searcher.Description(), code + u'|' + description);
    QCOMPARE(pickList.shown, 0);
}

void tst_Patients::severalRowsOpenTheList_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("listed");
    QTest::addColumn<QString>("pick");
    QTest::addColumn<QString>("description");
    QTest::newRow("hospitals of one city")
        << u"hospital"_s << u"SAN"_s << QStringList{"H01", "H05", "H07", "H06"} << u"H07"_s
        << u"SAN ISIDRO LABRADOR MEDICAL CENTER"_s;
    // The vessels' list has no place for the typed text: it shows every vessel.
    QTest::newRow("vessels of one line")
        << u"vessel"_s << u"MV LAKANDULA"_s << kVessels << u"V006"_s << u"MV LAKANDULA TRADER"_s;
    QTest::newRow("admission types by letter")
        << u"admission"_s << u"E"_s << QStringList{"3", "2", "9"} << u"2"_s << u"EMERGENCY"_s;
    QTest::newRow("every admission type in use")
        << u"admission"_s << QString() << QStringList{"6", "3", "2", "9", "5", "4", "1", "7"}
        << u"7"_s << u"TRANSFER FROM OTHER HOSPITAL"_s;
}

void tst_Patients::severalRowsOpenTheList()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QStringList, listed);
    QFETCH(QString, pick);
    QFETCH(QString, description);
    OPEN_SEARCHER;
    pickList.pickCode = pick;
    QVERIFY((searcher.*searchOf(search))(typed));
    QCOMPARE(pickList.shown, 1);
    QCOMPARE(pickList.criteria, typed.trimmed());
    QCOMPARE(pickList.listed, listed);
    QCOMPARE(searcher.Code() + u'|' + searcher.Description(), pick + u'|' + description);
}

void tst_Patients::cancelledListKeepsTheLastAnswer()
{
    OPEN_SEARCHER;
    QVERIFY(searcher.SearchHospital(u"LAGUNA"_s));
    QVERIFY(!searcher.SearchHospital(u"SAN"_s));
    QCOMPARE(pickList.shown, 1);
    QCOMPARE(searcher.Description(), u"LAGUNA LAKESHORE GENERAL HOSPITAL"_s);
    // A code the list does not hold is no pick either.
    pickList.pickCode = u"H03"_s;
    QVERIFY(!searcher.SearchHospital(u"SAN"_s));
    QCOMPARE(searcher.Code(), u"H02"_s);
}

void tst_Patients::nothingFoundTellsTheUser_data()
{
    QTest::addColumn<QString>("search");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("message");
    const QString noRecord = u"No record found."_s, invalid = u"Invalid code."_s;
    QTest::newRow("unknown hospital") << u"hospital"_s << u"ZAMBOANGA"_s << noRecord;
    QTest::newRow("underscore is a letter") << u"hospital"_s << u"SAN_"_s << noRecord;
    QTest::newRow("unknown vessel") << u"vessel"_s << u"MV QUEEN"_s << invalid;
    QTest::newRow("membership not in use") << u"membership"_s << u"NH"_s << noRecord;
    QTest::newRow("membership by name") << u"membership"_s << u"SENIOR"_s << noRecord;
    QTest::newRow("membership code as a pattern") << u"membership"_s << u"S%"_s << noRecord;
    QTest::newRow("admission type no longer given") << u"admission"_s << u"0"_s << invalid;
}

void tst_Patients::nothingFoundTellsTheUser()
{
    QFETCH(QString, search);
    QFETCH(QString, typed);
    QFETCH(QString, message);
    OPEN_SEARCHER;
    QVERIFY(searcher.SearchVessel(u"MV ALON"_s));
    QVERIFY(!(searcher.*searchOf(search))(typed));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.lastText(), message);
    QCOMPARE(f.notifier.boxes().last().icon, Notifier::Icon::Critical);
    QCOMPARE(pickList.shown, 0);
    QCOMPARE(searcher.Code() + searcher.Description(), u"V004MV ALON MARINA"_s);
}

void tst_Patients::listQueries_data()
{
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("beginning of a name")
        << kHospitalList << u"SAN B"_s << QStringList{"H01", "H05"};
    QTest::newRow("typed apostrophe is a letter")
        << kHospitalList << u"MALIGAYA CHILDREN'S"_s << QStringList{"H03"};
    QTest::newRow("typed backslash is a letter") << kHospitalList << u"SAN\\"_s << QStringList{};
    QTest::newRow("anywhere in the description")
        << kMembershipList << u"worker"_s << QStringList{"KM", "OF", "OS"};
    QTest::newRow("procedure call, percent is a letter")
        << kAdmissionTypeList << u"%"_s << QStringList{};
    QTest::newRow("the statement's own wildcard stays one")
        << u"SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel "
           u"WHERE vesselname like '%##' ORDER BY vesselcode"_s
        << u"EXPRESS"_s << QStringList{"V005"};
    QTest::newRow("equal, not a pattern")
        << u"SELECT vesselname,vesselcode FROM BUILD_FILE..tbCoVessel WHERE vesselcode = '##'"_s
        << u"v00%"_s << QStringList{};
    QTest::newRow("each ## is the typed text")
        << u"SELECT HospitalName,HospitalID FROM BUILD_FILE..tbcoHospital "
           u"WHERE HospitalName like '##' + '%' or HospitalID = '##' ORDER BY HospitalID"_s
        << u"H04"_s << QStringList{"H04"};
}

void tst_Patients::listQueries()
{
    QFETCH(QString, query);
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2905"_s);
    SearcherList list(f.session);
    list.setQuery(query);
    list.refresh(typed);
    QVERIFY2(f.notifier.boxes().isEmpty(), qPrintable(f.notifier.lastText()));
    QCOMPARE(ScriptedPickList::codes(list), codes);
    QCOMPARE(list.canSelect(), !codes.isEmpty());
}

void tst_Patients::onlyStaysStillInWithAConfirmedUncheckedOperation()
{
    KESTREL_OPEN_DEMO(db);
    const QVariant stillIn;
    const QVariant gone = QDateTime(QDate(2026, 11, 30), QTime(12, 0));
    // A stay of a patient of our own and its confirmed operation; only the first and the last
    // are listed: the others are discharged, not confirmed, checked already, or cancelled.
    const QList<std::tuple<QString, QVariant, QString, QString, QString, int>> stays{
        {u"DEL_ROSARIO"_s, stillIn, QString(), u"C"_s, QString(), 15},
        {u"DELAROSA"_s, gone, QString(), u"C"_s, QString(), 15},
        {u"DELOSREYES"_s, stillIn, QString(), u"R"_s, QString(), 15},
        {u"DELFIN"_s, stillIn, QString(), u"C"_s, u"Y"_s, 15},
        {u"DELGADO"_s, stillIn, u"R"_s, u"C"_s, QString(), 15},
        {u"DELMUNDO"_s, stillIn, QString(), u"C"_s, QString(), 14}};
    int n = 0;
    for (const auto &[lastName, discharged, stayStatus, scheduleStatus, checked, at] : stays) {
        ++n;
        const Binds b{{"trans", u"T000000%1"_s.arg(n)},
                      {"id", u"T90000%1"_s.arg(n)},
                      {"hosp", u"HT90000%1"_s.arg(n)},
                      {"last", lastName},
                      {"dcr", discharged},
                      {"stay", stayStatus},
                      {"status", scheduleStatus},
                      {"checked", checked},
                      {"start", QDateTime(QDate(2026, 12, 1), QTime(at, 0))}};
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
    // The search matches the beginning of a name, an admission or a hospital number, in any
    // case and without the blanks around; earliest operation first; % and _ are letters.
    QCOMPARE(listed(db, u" T90000 "_s), (QStringList{u"T0000006"_s, u"T0000001"_s}));
    QCOMPARE(listed(db, u"del_"_s), QStringList{u"T0000001"_s});
    QCOMPARE(listed(db, u"HT900001"_s), QStringList{u"T0000001"_s});
    QCOMPARE(listed(db, u"Delm"_s), QStringList{u"T0000006"_s});
    QCOMPARE(listed(db, u"%"_s), QStringList{});
}

void tst_Patients::tagChecked_data()
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
    QTest::newRow("nobody signs, then Yes and a nurse signs")
        << 2 << QList<bool>{true, true} << QStringList{QString(), u"2903"_s}
        << int(Outcome::Checked) << QStringList{kAsk, kNotSaved, kSuccess} << 2;
    QTest::newRow("the clerk signs at once")
        << 1 << QList<bool>{true} << clerk << int(Outcome::Checked) << QStringList{kAsk, kSuccess}
        << 1;
}

void tst_Patients::tagChecked()
{
    QFETCH(int, row);
    QFETCH(QList<bool>, answers);
    QFETCH(QStringList, signers);
    QFETCH(int, outcome);
    QFETCH(QStringList, boxes);
    QFETCH(int, validations);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    f.notifier.answer(answers);
    for (const QString &code : std::as_const(signers))
        f.dialogs.sign(code);
    const QString checkedSql = u"select count(*) from SCHEDULE..tbORScheduleDetails where "
                               u"ORNotified = 'Y'"_s;
    const qint64 checkedBefore = count(db, checkedSql);
    AdmittedPatients list(f.session);
    QVERIFY(list.search(QString()));
    QVERIFY(list.rows().count() >= 2);
    // The window reads the keys from the grid's hidden columns 7 to 9.
    const Row &first = list.rows().at(0);
    QCOMPARE(list.cell(1, 7) + list.cell(1, 8) + list.cell(1, 9),
             first.trimmed(u"HospNum") + first.trimmed(u"IdNum") + first.trimmed(u"TransNum"));
    list.chooseRow(row);
    QCOMPARE(list.positionText(),
             row ? u"%1  out of  %2"_s.arg(row).arg(list.rows().count()) : QString());
    const QString transNum = row ? list.rows().at(row - 1).trimmed(u"TransNum") : QString();
    QCOMPARE(int(list.tagChecked()), outcome);
    QStringList shown;
    for (const auto &box : f.notifier.boxes())
        shown << box.text;
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
    QCOMPARE((*saved)->text(u"ORNotified") + (*saved)->text(u"ORNotifiedUser"),
             checked ? u"Y"_s + signers.last() : QString());
    QCOMPARE((*saved)->dateTime(u"ORNotifiedDate"), checked ? test::fixtureNow() : QDateTime());
    // After a check the list was read again, without the patient and with nobody chosen.
    QCOMPARE(column(list.rows(), u"TransNum"_s).contains(transNum), !checked);
    if (checked)
        QCOMPARE(list.chosenRow(), 0);
}

void tst_Patients::showsThePatientAtTheServerDate()
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
    QCOMPARE(x.index.fields().BirthDate + x.index.fields().Age + x.index.fields().Address,
             u"CALAMBA"_s);
}

void tst_Patients::ageInYears_data()
{
    QTest::addColumn<QDate>("birth");
    QTest::addColumn<QDate>("day");
    QTest::addColumn<int>("years");
    const QDate today = test::fixtureToday();
    QTest::newRow("birthday today") << QDate(1980, 12, 1) << today << 46;
    QTest::newRow("birthday tomorrow") << QDate(1980, 12, 2) << today << 45;
    QTest::newRow("born today") << today << today << 0;
    QTest::newRow("leap day, not yet in a common year")
        << QDate(2000, 2, 29) << QDate(2027, 2, 28) << 26;
    QTest::newRow("leap day, on the first of March")
        << QDate(2000, 2, 29) << QDate(2027, 3, 1) << 27;
    QTest::newRow("no birth date") << QDate() << today << -1;
    QTest::newRow("born after the day") << QDate(2027, 1, 1) << today << -1;
}

void tst_Patients::ageInYears()
{
    QFETCH(QDate, birth);
    QFETCH(QDate, day);
    QFETCH(int, years);
    QCOMPARE(PatientIndex::ageInYears(birth, day), years);
}

void tst_Patients::listsProceduresAndTheirUpdates()
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

void tst_Patients::enterFindsByNumberOrName_data()
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

void tst_Patients::enterFindsByNumberOrName()
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
    // A cancelled choice leaves the window as it was; nobody found empties it.
    QCOMPARE(x.index.hospNum(), !shown.isEmpty()    ? shown
                                : message.isEmpty() ? u"T00002"_s
                                                    : QString());
    if (!message.isEmpty())
        QVERIFY(x.index.fields().PatientName.isEmpty() && x.index.procedures().isEmpty());
    QCOMPARE(x.f.notifier.boxes().size(), message.isEmpty() ? 0 : 1);
    QCOMPARE(x.f.notifier.lastText(), message);
}

void tst_Patients::procedureOpensCF4AndSurgicalMemo_data()
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

void tst_Patients::procedureOpensCF4AndSurgicalMemo()
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
        QCOMPARE(x.cf4.ReportPath, u"/opt/kestrel/Reports"_s);
        QCOMPARE(x.cf4Window.shown,
                 QStringList(u"PhilHealth CF4 Entries  - BATUMBAKAL, JUAN MARASIGAN ( T100001 )|"
                             u"BATUMBAKAL, JUAN MARASIGAN    Hospital # T00001    Adm. # T100001"
                             u"    Admitted 11/20/2026"_s));
    } else {
        QVERIFY(x.cf4Window.shown.isEmpty());
    }
    QCOMPARE(x.opened.size(), 1);
    const auto &[form, request] = x.opened.first();
    QCOMPARE(form, memo);
    QCOMPARE(request.patient.HospNum + request.patient.IdNum, u"T00001T100001"_s);
    QCOMPARE(request.values.value("ProcedureID").toString(), u"TPRC1"_s);
    QCOMPARE(request.values.value("RefNum").toString(), u"TC1"_s);
    // A row past the list opens nothing; "New Procedure" opens a memo without a procedure.
    x.index.openProcedure(2);
    QCOMPARE(x.opened.size(), 1);
    x.index.setAdmissionNumber(u"T100002"_s);
    x.index.newProcedure();
    QCOMPARE(x.opened.size(), 2);
    QCOMPARE(x.opened.last().second.patient.IdNum +
                 x.opened.last().second.values.value("RefNum").toString(),
             u"T100002"_s);
}

void tst_Patients::cf4EntryStartsFromTheStayAndSavesWhole()
{
    OPEN_INDEX(x);
    // What the admission recorded, and medicines charged: two vials, a third revoked.
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbPatientHistory (IDNum, ChiefComplaint, "
                    u"BriefHistory, PhysicalExamination) values ('T100001', 'ABDOMINAL PAIN', "
                    u"'PAIN OF 2 DAYS', '')"));
    QVERIFY(db.exec(u"insert into STATION..tbNurseLogBook (IDNum, HospNum, RevenueID, ItemID, "
                    u"Description, Quantity, RecordStatus) values "
                    u"('T100001', 'T00001', 'PH', 'PH1001', 'CEFAZOLIN 1 G VIAL', 1, ''), "
                    u"('T100001', 'T00001', 'PH', 'PH1001', 'CEFAZOLIN 1 G VIAL', 1, ''), "
                    u"('T100001', 'T00001', 'PH', 'PH1001', 'CEFAZOLIN 1 G VIAL', 1, 'R')"));
    x.cf4.IdNum = u"T100001"_s;
    QVERIFY(!x.cf4.ValidateRequirements()); // nothing saved yet: every part is missing
    QVERIFY(x.f.notifier.lastText().endsWith(u"entered: Chief Complaint, History of Present "
                                             u"Illness, Physical Examination on Admission, Course "
                                             u"in the Ward, Drugs and Medicines, Outcome."_s));

    CF4Entry entry(db, x.f.notifier, {u"T100001"_s, u"OR"_s, {}, false, {}, {}, {}, u"2901"_s});
    QVERIFY(entry.load());
    QVERIFY(!entry.saved() && !entry.isModified());
    QCOMPARE(entry.text(CF4Entry::ChiefComplaint), u"ABDOMINAL PAIN"_s);
    QCOMPARE(entry.text(CF4Entry::Drugs), u"CEFAZOLIN 1 G VIAL - 2"_s);
    QCOMPARE(entry.missingText(), u"Still to be entered: Physical Examination on Admission, "
                                  u"Course in the Ward, Outcome."_s);
    entry.setText(CF4Entry::PhysicalExam, u"TENDER RLQ"_s);
    entry.setText(CF4Entry::CourseInWard, u"APPENDECTOMY, AFEBRILE AFTER"_s);
    entry.setText(CF4Entry::Outcome, u"IMPROVED"_s);
    QVERIFY(entry.isModified());
    QVERIFY(entry.save());
    QCOMPARE(x.f.notifier.lastText(), u"CF4 entries successfully saved."_s);
    QVERIFY(x.cf4.ValidateRequirements());

    // Read again, it is the CF4 saved, by whom.
    CF4Entry again(db, x.f.notifier, {u"T100001"_s, u"OR"_s, {}, false, {}, {}, {}, {}});
    QVERIFY(again.load());
    QVERIFY(again.saved() && again.missing().isEmpty());
    QCOMPARE(again.text(CF4Entry::CourseInWard), u"APPENDECTOMY, AFEBRILE AFTER"_s);
    QCOMPARE(firstId(db, u"select UserID from STATION..tbCF4Entry where IdNum = 'T100001'"),
             u"2901"_s);

    // A stay that is not there opens nothing.
    CF4Entry none(db, x.f.notifier, {u"T999999"_s, u"OR"_s, {}, false, {}, {}, {}, {}});
    QVERIFY(!none.load());
    QCOMPARE(x.f.notifier.lastText(), u"No records found."_s);
}

void tst_Patients::cf4SavedByTwoWorkstationsAtOnce()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(addTestPatients(db));
    const ConnectionSettings shared = (*dbResult)->settings();
    // Two workstations save the same stay's CF4 over and over, each its own text everywhere.
    const auto saveMany = [&shared](int workstation, QString *failure) {
        ConnectionSettings settings = shared;
        settings.workstation = u"OR-WS-0%1"_s.arg(workstation);
        auto own = Database::open(settings);
        if (!own) {
            *failure = own.error().message;
            return;
        }
        test::RecordingNotifier notifier;
        const QString text = u"WORKSTATION %1"_s.arg(workstation);
        for (int i = 0; i < 25 && failure->isEmpty(); ++i) {
            CF4Entry entry(**own, notifier, {u"T100001"_s, u"OR"_s, {}, false, {}, {}, {}, text});
            if (!entry.load()) {
                *failure = notifier.lastText();
                break;
            }
            for (int s = 0; s < CF4Entry::SectionCount; ++s)
                entry.setText(CF4Entry::Section(s), text);
            if (!entry.save())
                *failure = notifier.lastText();
        }
    };
    QString failures[2];
    std::thread first(saveMany, 1, &failures[0]);
    std::thread second(saveMany, 2, &failures[1]);
    first.join();
    second.join();
    QCOMPARE(failures[0] + failures[1], QString());
    // One CF4, all of one workstation's save.
    auto rows = db.select(u"select ChiefComplaint, Drugs, Outcome, UserID "
                          u"from STATION..tbCF4Entry where IdNum = 'T100001'");
    QVERIFY(rows && rows->count() == 1);
    const Row &r = rows->at(0);
    QVERIFY(r.text(u"UserID").startsWith(u"WORKSTATION"_s));
    QCOMPARE((QStringList{r.text(u"ChiefComplaint"), r.text(u"Drugs"), r.text(u"Outcome")}),
             QStringList(3, r.text(u"UserID")));
}

void tst_Patients::selectingAStay_data()
{
    QTest::addColumn<QString>("expected"); // as describe() writes it; the keys are taken from it
    const QString juan = u"K0000001|BATUMBAKAL, JUAN MARASIGAN|"
                         u"12 MABINI ST., SAN ISIDRO, SAN BARTOLOME, LAGUNA|M|"_s;
    const QString company = u"K900|MAKILING MUTUAL BENEFIT ASSOCIATION|"_s;
    QTest::newRow("inpatient on his own account")
        << juan + u"K0100001|I|B|K-501|3500.5|2026-11-28 08:30||K0000001|PERSONAL|"
                  u"DELA PAZ, JOSE RIZAL|7";
    QTest::newRow("discharged inpatient on a company account")
        << juan + u"K0100002|I|B|K-501|3500.5|2026-10-01 09:15|2026-10-05 14:00|" + company +
               u"DELA PAZ, JOSE RIZAL|7";
    QTest::newRow("outpatient visit")
        << juan + u"K0300001B|O|A|OPD|0|2026-11-30 23:30||K0000001|PERSONAL|ILAGAN, ROSARIO M|7";
    QTest::newRow("ER visit on a company account")
        << juan + u"K0300002B|O|A|OPD|0|2026-12-01 00:00||" + company + u"DELA PAZ, JOSE RIZAL|7";
    QTest::newRow("a patient without a middle name")
        << u"K0000002|BATUMBAKAL, MARIA LOURDES |CALAMBA, LAGUNA|F|K0100004|I|B|K-501|3500.5|"
           u"2026-11-30 16:45||"_s +
               company + u"ILAGAN, ROSARIO M|7";
}

void tst_Patients::selectingAStay()
{
    QFETCH(QString, expected);
    const QString hospNum = expected.section(u'|', 0, 0), idNum = expected.section(u'|', 4, 4);
    const bool inpatient = expected.section(u'|', 5, 5) == u"I";
    OPEN_HOSPITAL(h);
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    // What another patient left behind is replaced, not kept.
    p.RoomRate = Money::fromMinor(1);
    p.DischargeDate = test::on(1, 1, 0, 0);
    p.ListRow = 7;
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(hospNum, idNum, inpatient));
    QCOMPARE(describe(p), expected);
}

void tst_Patients::stayNotFound_data()
{
    QTest::addColumn<bool>("picker");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("inpatient");
    QTest::addColumn<QString>("message");
    QTest::newRow("list, a visit taken for an admission")
        << false << u"K0300001B"_s << true << u"No records found."_s;
    QTest::newRow("picker, no such stay")
        << true << u"K0199999"_s << true << u"No Records Found."_s;
}

void tst_Patients::stayNotFound()
{
    QFETCH(bool, picker);
    QFETCH(QString, idNum);
    QFETCH(bool, inpatient);
    QFETCH(QString, message);
    OPEN_HOSPITAL(h);
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(u"K0000002"_s, u"K0100004"_s, true));
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    QVERIFY(!selection.SelectPatient(u"K0000001"_s, idNum, inpatient,
                                     picker ? PatientSelection::newScheduleOptions()
                                            : PatientSelection::patientListOptions()));
    QCOMPARE(h.f.notifier.lastText(), message);
    QCOMPARE(h.f.notifier.boxes().last().icon, Notifier::Icon::Information);
    // The keys are the row's, but no class says a stay was found.
    QCOMPARE(p.HospNum + p.IdNum + p.PatientClass + p.AttendingDoctor, u"K0000001"_s + idNum);
    // The schedule's picker leaves the sex out.
    QCOMPARE(p.Sex, picker ? QString() : u"M"_s);
}

void tst_Patients::searchClearsTheKeys()
{
    OPEN_HOSPITAL(h);
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    p.ListRow = 5;
    const auto rows = selection.SearchPatients(PatientType::Inpatient, u"NOBODY BY THIS NAME"_s,
                                               QString(), QString());
    QVERIFY(rows && rows->isEmpty());
    QCOMPARE(p.HospNum + p.IdNum + QString::number(p.ListRow), u"1"_s);
    // The rest stays until the next selection.
    QCOMPARE(p.PatientName, u"BATUMBAKAL, JUAN MARASIGAN"_s);
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    const QDate nov28(2026, 11, 28);
    const auto dated = selection.SearchPatientsByAdmissionDate(
        PatientType::Inpatient, u"BATUMBAKAL"_s, QString(), QString(), nov28, nov28);
    QVERIFY(dated && dated->count() == 1);
    QVERIFY(p.HospNum.isEmpty() && p.IdNum.isEmpty());
}

void tst_Patients::payServiceLabelForOneHospital()
{
    OPEN_HOSPITAL(h);
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set PatientClass = 'S' "
                    u"where IDNum = 'K0100001'"));
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    QCOMPARE(h.f.session.PayServiceLabel, QString());
    h.f.session.hospital.clientname = u"QELM"_s;
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    QCOMPARE(h.f.session.PayServiceLabel, u"SERVICE PATIENT"_s);
}

void tst_Patients::cvorTag_data()
{
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("tagged");
    QTest::newRow("tagged inpatient") << u"K0100001"_s << true;
    QTest::newRow("untagged inpatient") << u"K0100002"_s << false;
    QTest::newRow("tagged visit, small b") << u"k0300001b"_s << true;
    QTest::newRow("untagged visit") << u"K0300002B"_s << false;
    QTest::newRow("a visit number is never read as an admission") << u"K0100001B"_s << false;
}

void tst_Patients::cvorTag()
{
    QFETCH(QString, idNum);
    QFETCH(bool, tagged);
    OPEN_HOSPITAL(h);
    // An inpatient stay with the visit's number tells the tables apart.
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, isCVOR) "
                    u"values ('K0100001B', 'K0000001', 1)"));
    PatientSelection selection(h.f.session, &h.finder);
    QCOMPARE(selection.IsCvorPatient(idNum), tagged);
    QVERIFY(h.f.notifier.boxes().isEmpty());
}

void tst_Patients::rowColours_data()
{
    QTest::addColumn<QString>("billingDate");
    QTest::addColumn<QString>("cashBasis");
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<QString>("flagAfter");
    const QVariant plain;
    const QVariant blue = PatientGrid::billedTextColor();
    const QVariant red = PatientGrid::cashBasisTextColor();
    const QString billed = u"10/05/2026 11:30 AM"_s;
    QTest::newRow("ordinary") << QString() << u"0"_s << plain << u"0"_s;
    QTest::newRow("billed") << billed << u"0"_s << blue << u"0"_s;
    QTest::newRow("cash basis") << QString() << u"1"_s << red << u"1"_s;
    QTest::newRow("cash basis, written as a number") << QString() << u"1.0"_s << red << u"1.0"_s;
    QTest::newRow("billed wins over cash basis") << billed << u"1"_s << blue << u"0"_s;
    QTest::newRow("any other flag is no cash basis") << QString() << u"2"_s << plain << u"2"_s;
}

void tst_Patients::rowColours()
{
    QFETCH(QString, billingDate);
    QFETCH(QString, cashBasis);
    QFETCH(QVariant, text);
    QFETCH(QString, flagAfter);
    PatientGrid grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The row under test sits second and third, so both backgrounds are seen.
    const QVariantList ordinary{"1", "A1", "A", "11/28/2026 08:30 AM", "", "", "0", ""};
    const QVariantList row{"2", "A2",        "B",       "11/28/2026 08:30 AM",
                           "",  billingDate, cashBasis, "CASH BASIS: NO DEPOSIT"};
    grid.bind(listRows({ordinary, row, row}));
    grid.colourRows();
    QCOMPARE(grid.background(1, 3), std::optional<QColor>(QColor(Qt::white)));
    QCOMPARE(grid.background(2, 3), std::optional<QColor>(QColor(0xC5, 0xE2, 0xFE)));
    QCOMPARE(grid.background(3, 3), std::optional<QColor>(QColor(Qt::white)));
    for (int r : {2, 3}) {
        QCOMPARE(grid.data(grid.index(r - 1, 4), Qt::ForegroundRole), text);
        QCOMPARE(grid.text(r, PatientGrid::CashBasis), flagAfter);
        QCOMPARE(grid.isCashBasis(r), text == QVariant(PatientGrid::cashBasisTextColor()));
    }
}

void tst_Patients::loadingTheList()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    QAbstractItemModelTester tester(&list.grid(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);
    // Nothing found: the header and one empty row, nothing coloured, nothing highlighted.
    list.setSearchText(PatientList::LastName, u"NOBODY BY THIS NAME"_s);
    list.load();
    QCOMPARE(list.grid().gridRows(), 2);
    QCOMPARE(list.recordNumberText(), QString());
    QCOMPARE(list.grid().background(1, 1), std::nullopt);
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();
    QCOMPARE(admissionNumbers(list), (QStringList{"K0100001", "K0100002", "K0100004"}));
    QCOMPARE(list.recordNumberText(), u"1  out of  3"_s);
    // Row 1 is highlighted by the load: a cash-basis patient, so the legend shows.
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    QCOMPARE(p.IdNum, u"K0100001"_s);
    QVERIFY(list.isLegendShown());
    QCOMPARE(list.legendText(), u"CASH BASIS: PROMISSORY NOTE ON FILE"_s);
    // The billed stay: its flag was cleared by the colouring, so no legend.
    list.rowChanged(2);
    QCOMPARE(p.HospNum + p.IdNum, u"K0000001K0100002"_s);
    QCOMPARE(p.ListRow, qint16(2));
    QCOMPARE(list.recordNumberText(), u"2  out of  3"_s);
    QVERIFY(!list.isLegendShown());
}

void tst_Patients::longListsArriveInPages()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    // Every inpatient stay of the demo hospital's last three years: more than a page.
    const QDate from = test::fixtureToday().addYears(-3);
    const QDate to = test::fixtureToday();
    auto whole = db.call(u"STATION..sp_Get_OR_PatientList_by_AdmDate",
                         {u"A"_s, QString(), QString(), QString(), from, to});
    QVERIFY(whole.has_value());
    QVERIFY(whole->count() > PatientList::kFirstPage);
    list.loadByAdmissionDate(from, to);
    PatientGrid &grid = list.grid();
    QCOMPARE(grid.gridRows() - 1, PatientList::kFirstPage);
    // The position reads against everything found, not only the rows read so far, once the
    // count made beside the window comes back.
    QTRY_COMPARE(list.recordNumberText(), u"1  out of  %1"_s.arg(whole->count()));
    QVERIFY(grid.canFetchMore({}));
    // Scrolling to the end reads the rest, in the list's order, coloured like the first page.
    while (grid.canFetchMore({}))
        grid.fetchMore({});
    QCOMPARE(grid.gridRows() - 1, whole->count());
    for (int row = 1; row < grid.gridRows(); ++row)
        QCOMPARE(grid.text(row, PatientGrid::AdmissionNumber), whole->at(row - 1).text(u"IdNum"));
    // A new search starts from its own first page; the count of the long list, still running
    // when it is made, does not come back into it.
    list.loadByAdmissionDate(from, to);
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();
    QCOMPARE(grid.gridRows(), 4);
    QVERIFY(!grid.canFetchMore({}));
    QTest::qWait(300);
    QCOMPARE(list.recordNumberText(), u"1  out of  3"_s);
}

void tst_Patients::precautionColours()
{
    OPEN_HOSPITAL(h);
    auto colourOf = [&db](const QString &id) {
        auto v =
            db.scalar(u"select Color from BUILD_FILE..tbCoPrecautions where PrecautionID = :id",
                      {{"id", id}});
        return std::optional(windowsColor(quint32(v->toLongLong())));
    };
    PatientList list = h.list();
    QVERIFY(h.f.session.settings.EnableNewPrecaution());
    QCOMPARE(list.columnWidthTwips(0), 1);
    list.setSearchText(PatientList::LastName, u"BATU"_s);
    list.load();
    const PatientGrid &grid = list.grid();
    QCOMPARE(grid.background(rowOf(list, u"K0100001"_s), 0), colourOf(u"3"_s));
    // No precaution written is the standard one.
    QCOMPARE(grid.background(rowOf(list, u"K0100004"_s), 0), colourOf(u"1"_s));
    // A precaution the hospital has no colour for keeps the row's background.
    const int unknown = rowOf(list, u"K0100005"_s);
    QCOMPARE(grid.background(unknown, 0), grid.background(unknown, 1));
    // Without the setting the first column is wide and plain.
    QVERIFY(setSwitch(db, u"OREnableNewPrecaution"_s, u"0"_s));
    LoadHospitalSettings(db, h.f.session.hospital, h.f.session.settings);
    list.setPatientType(PatientType::Inpatient);
    QCOMPARE(list.columnWidthTwips(0), 200);
    QCOMPARE(grid.background(rowOf(list, u"K0100001"_s), 0), std::optional(QColor(Qt::white)));
}

void tst_Patients::selectionEnablesThePatientCommands()
{
    OPEN_HOSPITAL(h);
    auto enabled = [&h](const char *name) { return h.menu.menuState(QLatin1String(name)).enabled; };
    PatientList list = h.list();
    list.setSearchText(PatientList::HospitalNumber, u"K0000001"_s);
    list.load();
    QVERIFY(!list.areLinksEnabled());
    QCOMPARE(enabled("mnuInfo"), std::optional(false));
    QVERIFY(list.select(1));
    for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
        QCOMPARE(enabled(name), std::optional(true));
    list.closed();
    QCOMPARE(enabled("mnuInfo"), std::optional(false));
    // Closing keeps the patient.
    QCOMPARE(h.f.session.CurrentPatient.IdNum, u"K0100001"_s);
    // The picker enables them too, but leaves them on when it closes.
    PatientList picker = h.list(PatientList::Window::NewSchedule);
    picker.setSearchText(PatientList::AdmissionNumber, u"K0100004"_s);
    picker.load();
    QVERIFY(picker.select(1));
    picker.closed();
    QCOMPARE(enabled("mnuInfo"), std::optional(true));
}

void tst_Patients::rowsOpenTheProfile()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    QSignalSpy windows(&h.menu, &MainMenu::windowRequested);
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();
    // The links wait for a click on a patient.
    list.openLink(0);
    QCOMPARE(windows.size(), 0);
    list.activate(2);
    for (int link : {0, 1, 2})
        list.openLink(link);
    list.doubleClicked(3);
    QStringList opened;
    for (const QList<QVariant> &w : std::as_const(windows)) {
        const QVariantMap v = w.at(1).value<WindowRequest>().values;
        opened << w.at(0).toString() + u'|' + v.value("HospNum").toString() + u'|' +
                      v.value("IdNum").toString() + u'|' + v.value("Tab").toString();
    }
    const QString profile = u"frmFinal|"_s;
    QCOMPARE(opened,
             (QStringList{profile + u"K0000001|K0100002|0", profile + u"K0000001|K0100002|0",
                          profile + u"K0000001|K0100002|2", profile + u"K0000001|K0100002|6",
                          profile + u"K0000002|K0100004|0"}));
    // Row 3 was never clicked: it is selected before its window opens, so nothing of the
    // stay selected before (class, room, name) goes with it.
    QCOMPARE(h.f.session.CurrentPatient.PatientName, u"BATUMBAKAL, MARIA LOURDES "_s);
}

void tst_Patients::pickerHandsThePatientToTheBoard()
{
    OPEN_HOSPITAL(h);
    PatientList picker = h.list(PatientList::Window::NewSchedule);
    QSignalSpy windows(&h.menu, &MainMenu::windowRequested);
    QSignalSpy closing(&picker, &PatientList::closeRequested);
    picker.setPatientType(PatientType::Outpatient);
    picker.setSearchText(PatientList::HospitalNumber, u"K0000001"_s);
    picker.load();
    QVERIFY(picker.select(1));
    QCOMPARE(h.f.session.CurrentPatient.PatientClass, u"O"_s);
    picker.doubleClicked(1);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), u"frmSchedule"_s);
    const auto request = windows.at(0).at(1).value<WindowRequest>();
    QCOMPARE(request.values.value("SetHospNum").toString(), u"K0000001"_s);
    QCOMPARE(request.values.value("SetIDNum").toString(), u"K0300001B"_s);
    QCOMPARE(closing.size(), 1);
}

void tst_Patients::cvorPopup()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    list.setSearchText(PatientList::HospitalNumber, u"K0000001"_s);
    list.load();
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), u"Untag as CVOR/RR Patient"_s);
    list.rowChanged(2);
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), u"Tag as CVOR/RR Patient"_s);
    QCOMPARE(h.menu.menuState(u"mnuSOA"_s).visible, std::nullopt);
    h.f.session.hospital.clientname = u"QELM"_s;
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.menuState(u"mnuSOA"_s).visible, std::optional(true));
    // A hospital that does not tag CVOR patients has no popup on the list.
    QVERIFY(setSwitch(db, u"EnableCVORTag"_s, u"0"_s));
    LoadHospitalSettings(db, h.f.session.hospital, h.f.session.settings);
    list.rowChanged(2);
    QVERIFY(!list.contextMenuRequested());
}

void tst_Patients::kindsOfStay()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    PatientList picker = h.list(PatientList::Window::NewSchedule);
    QVERIFY(list.isTypeShown(PatientType::Emergency));
    QVERIFY(!picker.isTypeShown(PatientType::Emergency));
    h.f.session.hospital.clientname = u"QELM"_s;
    QVERIFY(!list.isTypeShown(PatientType::Emergency));
    QVERIFY(list.isTypeShown(PatientType::Outpatient));
}

QTEST_MAIN(tst_Patients)
#include "tst_patients.moc"
