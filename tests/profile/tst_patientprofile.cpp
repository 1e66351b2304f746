// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The patient profile's presenter, on every backend: the header of an admission and of a
// visit, the action buttons' rights and windows, tabs read once until a refresh, the way back
// to the patient list, the height and weight, and a reading saved all the way from the patient
// list; the department result lists, request status, the stay's operations and the common
// exams' orders; the hemodialysis notification, also sent by two workstations at once.
#include "core/components/clsPatientFinder.h"
#include "core/db/Database.h"
#include "core/settings/HospitalSettings.h"
#include "patients/PatientGrid.h"
#include "patients/PatientList.h"
#include "patients/PatientListFixture.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "profile/HemodialysisNotification.h"
#include "profile/PatientProfile.h"
#include "profile/RequestRevoke.h"
#include "shell/MainMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QMutex>
#include <QSignalSpy>
#include <QTest>

#include <algorithm>
#include <latch>
#include <optional>
#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

// The patient list's patients, with a birth date and a membership category for the first.
bool addProfilePatients(Database &db)
{
    if (!test::addListPatients(db))
        return false;
    return db.exec(u"update PATIENT_DATA..tbMaster set BirthDate = :born where HospNum = "
                   u"'K0000001'",
                   {{"born", QDate(1980, 12, 2)}})
           && db.exec(u"insert into MEDICARE..tbAdmPHICTable (PHICCode, PHICDescription) "
                      u"values ('KPD', 'PENSIONER/RETIREE-DEPENDENT')")
           && db.exec(u"update PATIENT_DATA..tbPatient2 set PHICCode = 'KPD' "
                      u"where IDNum = 'K0100001'")
           && db.exec(u"insert into PATIENT_DATA..tbPatientHistory (IDNum, ADMDiagnosis) "
                      u"values ('K0100001', 'ACUTE APPENDICITIS')");
}

// A logged-in session with the hospital's settings, the patient finder and the main window's
// commands, which record the windows asked for.
struct Station
{
    Station(Database &db, const QString &employee)
        : f(db, employee)
        , finder(ctx)
        , menu(f.session)
        , opened(&menu, &MainMenu::windowRequested)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        finder.InitConnection(QString(), &db);
    }
    void wire(PatientProfile &profile)
    {
        profile.setWindowOpener([this](const QString &form, const WindowRequest &request) {
            menu.openWindow(form, request);
        });
    }
    QStringList windows() const
    {
        QStringList w;
        for (const QList<QVariant> &args : opened) {
            const auto request = args.at(1).value<WindowRequest>();
            w << QStringList{args.at(0).toString(), request.values.value("IdNum").toString(),
                             request.values.value("Mode").toString()}
                     .join(u'|');
        }
        return w;
    }

    test::MainWindowFixture f;
    ComponentContext ctx{f.notifier};
    clsPatientFinder finder;
    MainMenu menu;
    QSignalSpy opened;
};

#define OPEN_STATION(s, employee)                                                                  \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(addProfilePatients(db));                                                               \
    Station s(db, employee)

WindowRequest profileOf(const QString &idNum, int tab = 0)
{
    WindowRequest request;
    request.values = {{"IdNum", idNum}, {"Tab", tab}};
    return request;
}

// Gives 2901 and 2902 `rights` and puts two pending requests on K0100001's list: a chest film
// sent to the X-ray and a blood count the laboratory holds.
bool addPendingRequests(Database &db, const QString &rights)
{
    const Binds at{{"at", QDateTime(QDate(2026, 12, 1), QTime(9, 0))}};
    return db.exec(u"delete from STATION..tbNurseUserRights where EmployeeID in ('2901', '2902')")
           && db.exec(u"insert into STATION..tbNurseUserRights (EmployeeID, EmployeeRights) "
                      u"values ('2901', :r), ('2902', :r)", {{"r", rights}})
           && db.exec(u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, "
                      u"ExamCode, ExamName, RequestDate) values ('XR00000991', 'K0100001', "
                      u"'XR001', 'CHEST PA VIEW', :at)", at)
           && db.exec(u"insert into LABORATORY..tbLabResult (IdNum, RequestNum, TestName, "
                      u"RequestDate) values ('K0100001', 'L0991', 'COMPLETE BLOOD COUNT', :at)",
                      at);
}

// The line of K0100001's request list shown under `code`, and its remarks.
std::pair<StatusLine, QString> listedLine(Database &db, const QString &code)
{
    auto rows = ProfileLists(db).requestStatus(u"K0100001"_s);
    for (const Row &r : rows ? *rows : RowSet()) {
        if (r.text(u"Code") == code)
            return {{r.text(u"ITEM DESCRIPTION"), r.text(u"DEPT"), code}, r.text(u"REMARKS")};
    }
    return {};
}

} // namespace

class tst_PatientProfile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void header_data();
    void header();
    void actions_data();
    void actions();
    void functionKeys_data();
    void functionKeys();
    void tabsAreReadOnceUntilRefreshed();
    void backToThePatientList();
    void heightAndWeight();
    void fromThePatientListToASavedReading();

    void historyLimits_data();
    void historyLimits();
    void historySavedInSlotsInIndexOrder_data();
    void historySavedInSlotsInIndexOrder();
    void laboratoryResultsMatchTheirTable();
    void departmentResultsMatchTheirTable_data();
    void departmentResultsMatchTheirTable();
    void requestStatusOfEveryDepartment();
    void revokeFromTheRequestList_data();
    void revokeFromTheRequestList();
    void stayOperationsOnTheCalendar();
    void commonExamOrders_data();
    void commonExamOrders();
    void commonExamsSaved_data();
    void commonExamsSaved();
    void twoWorkstationsRequestTheSameExamOnce();
    void operationRequest_data();
    void operationRequest();
    void hemodialysisRefusals_data();
    void hemodialysisRefusals();
    void hemodialysisSentOnceUntilRevoked();
    void twoWorkstationsNotifyHemodialysisOnce();
};

void tst_PatientProfile::header_data()
{
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<QStringList>("expected");
    // Name, sex, age, birth date, room, status, admitted, discharged, diagnosis, doctors,
    // account, PHIC type, outpatient.
    QTest::newRow("admission")
        << u"K0100001"_s
        << QStringList{u"K0000001"_s, u"BATUMBAKAL, JUAN MARASIGAN"_s, u"M"_s, u"45"_s,
                       u"12/02/1980"_s, u"K-501"_s, u"ADMITTED"_s, u"11/28/2026 08:30:00 AM"_s,
                       u""_s, u"ACUTE APPENDICITIS"_s, u"DR. DELA PAZ, JOSE RIZAL"_s, u""_s,
                       u"PERSONAL"_s, u"PENSIONER/RETIREE-DEPENDENT"_s, u"no"_s};
    QTest::newRow("discharged on the company's account")
        << u"K0100002"_s
        << QStringList{u"K0000001"_s, u"BATUMBAKAL, JUAN MARASIGAN"_s, u"M"_s, u"45"_s,
                       u"12/02/1980"_s, u"K-501"_s, u"DISCHARGED"_s, u"10/01/2026 09:15:00 AM"_s,
                       u"10/05/2026 02:00:00 PM"_s, u""_s, u"DR. DELA PAZ, JOSE RIZAL"_s, u""_s,
                       u"MAKILING MUTUAL BENEFIT ASSOCIATION"_s, u""_s, u"no"_s};
    QTest::newRow("visit, by its B")
        << u"K0300001b"_s
        << QStringList{u"K0000001"_s, u"BATUMBAKAL, JUAN MARASIGAN"_s, u"M"_s, u"45"_s,
                       u"12/02/1980"_s, u""_s, u"OUT-PATIENT"_s, u"11/30/2026 11:30:00 PM"_s,
                       u""_s, u""_s, u"DR. DELA PAZ, JOSE RIZAL"_s, u"DR. ILAGAN, ROSARIO M"_s,
                       u"PERSONAL"_s, u""_s, u"yes"_s};
}

void tst_PatientProfile::header()
{
    QFETCH(QString, idNum);
    QFETCH(QStringList, expected);
    OPEN_STATION(s, u"2901"_s);
    PatientProfile profile(s.f.session);
    QVERIFY(profile.open(profileOf(idNum)));
    const ProfileHeader &h = profile.header();
    QCOMPARE((QStringList{h.HospNum, h.PatientName, h.Sex, h.Age, h.BirthDate, h.Room, h.Status,
                          h.DateAdmitted, h.DateDischarged, h.Diagnosis, h.Doctor1, h.Doctor2,
                          h.PatientAccount, h.PhicType,
                          h.outpatient ? u"yes"_s : u"no"_s}),
             expected);
    QVERIFY(s.f.notifier.boxes().isEmpty());
}

void tst_PatientProfile::actions_data()
{
    QTest::addColumn<QString>("employee");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("refusal");
    QTest::newRow("post charges") << u"2904"_s << 5 << u"frmCharge|K0100001|"_s << u""_s;
    QTest::newRow("post charges, no right")
        << u"2908"_s << 5 << u""_s << u"Sorry, you don't have access right to Post Charges."_s;
    QTest::newRow("pharmacy") << u"2903"_s << 1 << u"frmPharmacyRequest|K0100001|PH"_s << u""_s;
    QTest::newRow("pharmacy, no right")
        << u"2904"_s << 1 << u""_s
        << u"Sorry, you don't have access right to request medicines."_s;
    QTest::newRow("central supply")
        << u"2903"_s << 2 << u"frmPharmacyRequest|K0100001|CS"_s << u""_s;
    QTest::newRow("central supply, no right")
        << u"2904"_s << 2 << u""_s
        << u"Sorry, you don't have access right to Request Central Supplies."_s;
    QTest::newRow("diet, no right")
        << u"2904"_s << 3 << u""_s << u"Sorry, you don't have access right to Post New Diet."_s;
    QTest::newRow("room transfer") << u"2907"_s << 4 << u"frmDischargeMenu|K0100001|"_s << u""_s;
    QTest::newRow("room transfer, neither right")
        << u"2904"_s << 4 << u""_s
        << u"Sorry, you don't have access right to Discharge and Transfer Room of Patient."_s;
    QTest::newRow("discharge order, no right")
        << u"2904"_s << 6 << u""_s
        << u"Sorry, you don't have access right to Send Clearance/Discharge Order."_s;
    QTest::newRow("cash assessment, no right")
        << u"2904"_s << 7 << u""_s << u"Sorry you don't have access right for Assessment Entry."_s;
    QTest::newRow("clinical assessment, open to all")
        << u"2908"_s << 9 << u"frmAssessmentClinical|K0100001|"_s << u""_s;
    QTest::newRow("hemodialysis, open to all")
        << u"2908"_s << 10 << u"frmNotificationforHemodialysis|K0100001|"_s << u""_s;
    QTest::newRow("pathology request") << u"2908"_s << 11 << u"frmRequest|K0100001|LB"_s << u""_s;
    QTest::newRow("no button 8") << u"2901"_s << 8 << u""_s << u""_s;
}

void tst_PatientProfile::actions()
{
    QFETCH(QString, employee);
    QFETCH(int, index);
    QFETCH(QString, opened);
    QFETCH(QString, refusal);
    OPEN_STATION(s, employee);
    PatientProfile profile(s.f.session);
    s.wire(profile);
    QSignalSpy heightWeight(&profile, &PatientProfile::heightWeightRequested);
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    profile.runAction(index);
    QCOMPARE(s.windows(), opened.isEmpty() ? QStringList() : QStringList{opened});
    QCOMPARE(s.f.notifier.lastText(), refusal);
    QCOMPARE(heightWeight.size(), 0);
}

void tst_PatientProfile::functionKeys_data()
{
    QTest::addColumn<QString>("employee");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("opened");
    QTest::addColumn<QString>("message");
    QTest::newRow("F6 medicines") << u"2903"_s << int(Qt::Key_F6)
                                  << u"frmPharmacyRequest|K0100001|PH"_s << u""_s;
    QTest::newRow("F7 supplies, no right")
        << u"2904"_s << int(Qt::Key_F7) << u""_s
        << u"Sorry, you don't have access right to request from Central Supplies."_s;
    QTest::newRow("F11 needs both 19 and 17")
        << u"2903"_s << int(Qt::Key_F11) << u""_s
        << u"Sorry, you don't have access right to View Statement Of Account."_s;
}

void tst_PatientProfile::functionKeys()
{
    QFETCH(QString, employee);
    QFETCH(int, key);
    QFETCH(QString, opened);
    QFETCH(QString, message);
    OPEN_STATION(s, employee);
    PatientProfile profile(s.f.session);
    s.wire(profile);
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    QVERIFY(profile.keyPressed(key));
    QVERIFY(!profile.keyPressed(Qt::Key_F3));
    QCOMPARE(s.windows(), opened.isEmpty() ? QStringList() : QStringList{opened});
    QCOMPARE(s.f.notifier.lastText(), message);
}

void tst_PatientProfile::tabsAreReadOnceUntilRefreshed()
{
    OPEN_STATION(s, u"2901"_s);
    PatientProfile profile(s.f.session);
    QSignalSpy invalidated(&profile, &PatientProfile::tabsInvalidated);
    QVERIFY(profile.open(profileOf(u"K0100001"_s, PatientProfile::CommonExamsTab)));
    QCOMPARE(profile.initialTab(), int(PatientProfile::CommonExamsTab));
    // Opening reads the header only.
    QVERIFY(profile.vitalSigns().readings().isEmpty());
    for (int tab = 0; tab < PatientProfile::TabCount; ++tab)
        QVERIFY(!profile.isTabLoaded(tab));
    QVERIFY(profile.takeTabToLoad(PatientProfile::CommonExamsTab));
    QVERIFY(!profile.takeTabToLoad(PatientProfile::CommonExamsTab));
    QVERIFY(profile.takeTabToLoad(PatientProfile::VitalSignsTab));
    QVERIFY(!profile.isTabLoaded(PatientProfile::ResultsTab));
    QVERIFY(!profile.takeTabToLoad(PatientProfile::TabCount));

    // The room changed meanwhile: told on refresh, and every tab is read again.
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient set RoomID = 'K-502' "
                    u"where IDNum = 'K0100001'"));
    profile.refresh();
    QCOMPARE(s.f.notifier.lastText(), u"Patient is transfered to room K-502"_s);
    QCOMPARE(profile.header().Room, u"K-502"_s);
    QCOMPARE(invalidated.size(), 2);
    QVERIFY(profile.takeTabToLoad(PatientProfile::CommonExamsTab));

    // A tab named out of range opens the first.
    QVERIFY(profile.open(profileOf(u"K0100001"_s, 42)));
    QCOMPARE(profile.initialTab(), 0);
    // A stay that is not there is told and opens nothing.
    s.f.notifier.clear();
    QVERIFY(!profile.open(profileOf(u"K9999999"_s)));
    QCOMPARE(s.f.notifier.lastText(), u"No records found."_s);
    QVERIFY(!profile.takeTabToLoad(PatientProfile::VitalSignsTab));
}

void tst_PatientProfile::backToThePatientList()
{
    OPEN_STATION(s, u"2901"_s);
    PatientProfile profile(s.f.session);
    s.wire(profile);
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    QVERIFY(!profile.backToPatientList());
    QCOMPARE(s.f.notifier.lastText(), u"Go back to patient list?"_s);
    QVERIFY(s.windows().isEmpty());
    s.f.notifier.answer({true});
    QVERIFY(profile.backToPatientList());
    QCOMPARE(s.windows(), QStringList{u"frmSearch|K0100001|"_s});
}

void tst_PatientProfile::heightAndWeight()
{
    OPEN_STATION(s, u"2903"_s);
    PatientProfile profile(s.f.session);
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    const QString refused = u"Please enter the height in centimetres (20 to 250) and the weight "
                            u"in kilograms (0.3 to 350)."_s;
    for (const auto &[height, weight] : {std::pair{u"abc"_s, u"60"_s}, {u"170"_s, u""_s},
                                         {u"170"_s, u"400"_s}, {u"2"_s, u"60"_s}}) {
        QVERIFY(!profile.saveHeightWeight(height, weight));
        QCOMPARE(s.f.notifier.lastText(), refused);
    }
    QVERIFY(profile.saveHeightWeight(u"170"_s, u"65.5"_s));
    QVERIFY(profile.saveHeightWeight(u"170"_s, u"64"_s));
    QCOMPARE(s.f.notifier.lastText(), u"Height and Weight was succesfully updated."_s);
    QCOMPARE(profile.header().Height, u"170"_s);
    QCOMPARE(profile.header().Weight, u"64"_s);
    auto logs = db.select(u"select Remarks from STATION..tbStationLogs where IdNum = 'K0100001' "
                          u"and UserID = '2903' order by LogID");
    QVERIFY(logs);
    QStringList remarks;
    for (const Row &r : *logs)
        remarks << r.text(u"Remarks");
    QCOMPARE(remarks, (QStringList{u"CHANGE HEIGHT AND WEIGHT OLDH: OLDW: NEWH:170 NEWW:65.5"_s,
                                   u"CHANGE HEIGHT AND WEIGHT OLDH:170 OLDW:65.5 NEWH:170 "
                                   u"NEWW:64"_s}));
}

void tst_PatientProfile::fromThePatientListToASavedReading()
{
    OPEN_STATION(s, u"2903"_s);
    PatientList list(s.f.session, &s.finder, &s.menu, PatientList::Window::PatientList);
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();
    int row = 0;
    for (int r = 1; r < list.grid().gridRows(); ++r) {
        if (list.grid().text(r, PatientGrid::AdmissionNumber) == u"K0100001")
            row = r;
    }
    QVERIFY(row > 0);
    list.activate(row);
    QCOMPARE(s.opened.size(), 1);
    QCOMPARE(s.opened.at(0).at(0).toString(), u"frmFinal"_s);
    const auto request = s.opened.at(0).at(1).value<WindowRequest>();

    // The main window hands the request to the profile, which the nurse works on.
    PatientProfile profile(s.f.session);
    s.wire(profile);
    QVERIFY(profile.open(request));
    QCOMPARE(profile.header().IdNum, u"K0100001"_s);
    QCOMPARE(s.f.session.CurrentPatient.IdNum, u"K0100001"_s);
    QVERIFY(profile.takeTabToLoad(profile.initialTab()));
    VitalSigns &vs = profile.vitalSigns();
    QVERIFY(vs.load(profile.idNum()));
    vs.setEntry({u"130"_s, u"85"_s, u"37.4"_s, u"90"_s, u"22"_s, u"97"_s, u"Every Hour"_s, {}});
    s.f.dialogs.sign(u"2907"_s);
    QCOMPARE(vs.save(), VitalSigns::Outcome::Done);

    auto saved = db.selectOne(u"select BP, TEMPERATURE, PULSERATE, RESPRATE, O2Sat, NInitial, "
                              u"Protocol, TRANSDATE from STATION..tbNurseVitalSigns "
                              u"where IDNUM = 'K0100001'");
    QVERIFY(saved && *saved);
    const Row &r = **saved;
    QCOMPARE((QStringList{r.text(u"BP"), r.text(u"TEMPERATURE"), r.text(u"PULSERATE"),
                          r.text(u"RESPRATE"), r.text(u"O2Sat"), r.text(u"NInitial"),
                          r.text(u"Protocol")}),
             (QStringList{u"130/85"_s, u"37.4"_s, u"90"_s, u"22"_s, u"97"_s, u"2907"_s,
                          u"Every Hour"_s}));
    QCOMPARE(r.dateTime(u"TRANSDATE"), test::fixtureNow());

    // "&Post Charges" from here opens the charge window for the same stay.
    profile.runAction(5);
    QCOMPARE(s.windows().last(), u"frmCharge|K0100001|"_s);
}

void tst_PatientProfile::historyLimits_data()
{
    QTest::addColumn<int>("group");
    QTest::addColumn<int>("limit");
    QTest::addColumn<QString>("message");
    QTest::newRow("allergies") << int(ProfileHistory::Group::Allergy) << 5
                               << u"You may only choose five(5) allergies."_s;
    QTest::newRow("family") << int(ProfileHistory::Group::Family) << 4
                            << u"You may only select four(4) items."_s;
    QTest::newRow("personal") << int(ProfileHistory::Group::Personal) << 4
                              << u"You may only select four(4) items."_s;
    QTest::newRow("social, all three") << int(ProfileHistory::Group::Social) << 3 << u""_s;
}

void tst_PatientProfile::historyLimits()
{
    QFETCH(int, group);
    QFETCH(int, limit);
    QFETCH(QString, message);
    OPEN_STATION(s, u"2901"_s);
    ProfileHistory h(s.f.session);
    const auto g = ProfileHistory::Group(group);
    QVERIFY(h.load(u"K0000001"_s, u"K0100001"_s));
    const int boxes = int(ProfileHistory::names(g).size());
    for (int i = 0; i < boxes; ++i)
        QCOMPARE(h.setTicked(g, i, true), i < limit);
    int ticked = 0;
    for (int i = 0; i < boxes; ++i)
        ticked += h.isTicked(g, i) ? 1 : 0;
    QCOMPARE(ticked, limit);
    QCOMPARE(s.f.notifier.lastText(), message);
    // Unticking one makes room for another.
    if (limit < boxes) {
        QVERIFY(!h.setTicked(g, 0, false));
        QVERIFY(h.setTicked(g, boxes - 1, true));
    }
}

void tst_PatientProfile::historySavedInSlotsInIndexOrder_data()
{
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("admissionHistoryWritten");
    QTest::newRow("admission") << u"K0100001"_s << true;
    QTest::newRow("visit leaves the admission's history") << u"K0300001B"_s << false;
}

void tst_PatientProfile::historySavedInSlotsInIndexOrder()
{
    QFETCH(QString, idNum);
    QFETCH(bool, admissionHistoryWritten);
    OPEN_STATION(s, u"2901"_s);
    // The visit shares its IdNum's history row with nobody; give it one to prove it untouched.
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbPatientHistory (IDNum, ADMDiagnosis) "
                    u"values ('K0300001B', 'OLD')"));
    ProfileHistory h(s.f.session);
    QVERIFY(h.load(u"K0000001"_s, idNum));
    using G = ProfileHistory::Group;
    // Ticked out of order; stored in the order of the boxes.
    for (int i : {10, 7, 0})
        QVERIFY(h.setTicked(G::Allergy, i, true));
    for (int i : {17, 3})
        QVERIFY(h.setTicked(G::Personal, i, true));
    QVERIFY(h.setTicked(G::Family, 5, true));
    QVERIFY(h.setTicked(G::Social, 2, true));
    h.allergyOthers = u"LATEX"_s;
    h.briefHistory = u"Pain at the right lower quadrant, 2 days."_s;
    h.admDiagnosis = u"ACUTE APPENDICITIS, RULE OUT PERFORATION"_s;
    h.skin = u"Warm"_s;

    QCOMPARE(h.save(), ProfileHistory::Outcome::Declined);
    s.f.notifier.answer({true, true});
    s.f.dialogs.sign(QString());
    s.f.dialogs.sign(u"2903"_s);
    QCOMPARE(h.save(), ProfileHistory::Outcome::Done);
    QCOMPARE(s.f.notifier.lastText(), u"Patient Profile Successfully Updated."_s);

    auto a = db.selectOne(u"select AllergyID1 || '|' || AllergyID2 || '|' || AllergyID3 || '|' || "
                          u"AllergyID4 || '|' || AllergyID5 || '|' || Others as A "
                          u"from PATIENT_DATA..tbMasterAllergies where Hospnum = 'K0000001'");
    QVERIFY(a && *a);
    QCOMPARE((*a)->text(u"A"), u"F1|M1|O1|||LATEX"_s);
    auto p = db.selectOne(u"select PH1 || '|' || PH2 || '|' || PH3 || '|' || PH4 || '|' || FH1 || "
                          u"'|' || FH2 || '|' || PSH1 || '|' || PSH2 || '|' || PSH3 as P, PEskin "
                          u"from STATION..tbNurseProfile where IDNum = :id",
                          {{"id", idNum}});
    QVERIFY(p && *p);
    QCOMPARE((*p)->text(u"P"), u"4|18|||6||3||"_s);
    QCOMPARE((*p)->text(u"PEskin"), u"Warm"_s);
    auto dx = db.scalar(u"select ADMDiagnosis from PATIENT_DATA..tbPatientHistory "
                        u"where IDNum = :id",
                        {{"id", idNum}});
    QVERIFY(dx);
    QCOMPARE(dx->toString(), admissionHistoryWritten ? h.admDiagnosis : u"OLD"_s);

    // Read back, the boxes and texts are as saved.
    ProfileHistory again(s.f.session);
    QVERIFY(again.load(u"K0000001"_s, idNum));
    for (int i = 0; i < 12; ++i)
        QCOMPARE(again.isTicked(G::Allergy, i), i == 0 || i == 7 || i == 10);
    QVERIFY(again.isTicked(G::Personal, 17) && again.isTicked(G::Family, 5));
    QCOMPARE(again.briefHistory, h.briefHistory);
}

void tst_PatientProfile::laboratoryResultsMatchTheirTable()
{
    OPEN_STATION(s, u"2901"_s);
    // A stay of the demo hospital with results, and the statement the list stands for.
    auto stay = db.scalar(u"select IdNum from LABORATORY..tbLabResult where RecordStatus <> 'R' "
                          u"order by IdNum limit 1");
    QVERIFY(stay && !stay->toString().isEmpty());
    const QString idNum = stay->toString();
    auto expected = db.select(u"select SectionID, TestName, Result from LABORATORY..tbLabResult "
                              u"where IdNum = :id and RecordStatus <> 'R' "
                              u"order by SectionID, RequestDate, ResultID",
                              {{"id", idNum}});
    QVERIFY(expected);
    ProfileLists lists(db);
    auto listed = lists.laboratoryResults(idNum);
    QVERIFY(listed);
    QCOMPARE(listed->count(), expected->count());
    for (int i = 0; i < listed->count(); ++i) {
        const Row &l = listed->at(i);
        const Row &e = expected->at(i);
        QCOMPARE(l.text(u"Section"), ProfileLists::laboratorySection(e.text(u"SectionID")));
        QCOMPARE(l.text(u"Exam. Name"), e.trimmed(u"TestName"));
        QCOMPARE(l.text(u"Result"), e.trimmed(u"Result"));
    }
    QCOMPARE(ProfileLists::laboratorySection(u"micro"_s), u"MICBIOLOGY"_s);
    QCOMPARE(ProfileLists::laboratorySection(u"XYZ"_s), u"XYZ"_s);
}

void tst_PatientProfile::departmentResultsMatchTheirTable_data()
{
    QTest::addColumn<int>("tab");
    for (int i = 0; i < int(ProfileLists::resultTabs().size()); ++i) {
        const ProfileLists::ResultTab &t = ProfileLists::resultTabs().at(i);
        QTest::newRow(qPrintable(QString(t.caption).remove(u'&'))) << i;
    }
}

void tst_PatientProfile::departmentResultsMatchTheirTable()
{
    QFETCH(int, tab);
    const ProfileLists::ResultTab &t = ProfileLists::resultTabs().at(tab);
    OPEN_STATION(s, u"2901"_s);
    // The demo hospital has examinations in every department; one stay's list is compared
    // with its table after one of them was revoked.
    auto stay = db.scalar(u"select IdNum from STATION..tbNurseDiagResult where DepartmentID = "
                          u":dept order by IdNum limit 1",
                          {{"dept", t.department}});
    QVERIFY(stay && !stay->toString().isEmpty());
    const QString idNum = stay->toString();
    QVERIFY(db.exec(u"insert into STATION..tbNurseDiagResult (DepartmentID, IdNum, TransNum, "
                    u"ExamName, TransDate, RecordStatus) values (:dept, :id, 'GONE1', "
                    u"'REVOKED EXAM', :at, 'R')",
                    {{"dept", t.department}, {"id", idNum}, {"at", QDateTime(QDate(2026, 11, 1),
                                                                              QTime(8, 0))}}));
    auto expected = db.select(u"select TransNum, ExamName, ResultDate, Interpretation from "
                              u"STATION..tbNurseDiagResult where IdNum = :id and DepartmentID = "
                              u":dept and RecordStatus <> 'R' order by TransDate, ResultID",
                              {{"id", idNum}, {"dept", t.department}});
    QVERIFY(expected && expected->count() > 0);
    ProfileLists lists(db);
    auto listed = lists.departmentResults(t, idNum);
    QVERIFY2(listed, qPrintable(listed ? QString() : listed.error().message));
    QCOMPARE(listed->rows.count(), expected->count());
    QCOMPARE(listed->readings.size(), expected->count());
    const int examColumn = t.layout == ProfileLists::ResultLayout::Rehab ? 2 : 1;
    for (int i = 0; i < expected->count(); ++i) {
        const Row &l = listed->rows.at(i);
        const Row &e = expected->at(i);
        QCOMPARE(l.value(0).toString(), e.trimmed(u"TransNum"));
        QCOMPARE(l.value(examColumn).toString(), e.trimmed(u"ExamName"));
        // A reading not yet written (null) shows as nothing.
        QCOMPARE(listed->readings.at(i), e.trimmed(u"Interpretation"));
        // Names are found without regard to case: "RESULT DATE" of rehabilitation too.
        if (l.has(u"Result Date"))
            QCOMPARE(l.text(u"Result Date"),
                     e.dateTime(u"ResultDate").toString(u"MM/dd/yyyy hh:mm:ss AP"_s));
    }
}

void tst_PatientProfile::requestStatusOfEveryDepartment()
{
    OPEN_STATION(s, u"2901"_s);
    auto stay = db.scalar(u"select IdNum from STATION..tbNurseDiagResult order by IdNum limit 1");
    QVERIFY(stay);
    const QString idNum = stay->toString();
    QVERIFY(db.exec(u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, "
                    u"ExamCode, ExamName, RequestDate, RecordStatus) values ('HP00000099', :id, "
                    u"'HIS01', 'FROZEN SECTION', :at, 'R')",
                    {{"id", idNum}, {"at", QDateTime(QDate(2000, 1, 1), QTime(7, 0))}}));
    const Binds id{{"id", idNum}};
    const qint64 total =
        db.scalar(u"select count(*) from LABORATORY..tbLabResult where IdNum = :id", id)
            ->toLongLong() +
        db.scalar(u"select count(*) from STATION..tbNurseDiagResult where IdNum = :id", id)
            ->toLongLong() +
        db.scalar(u"select count(*) from STATION..tbNurseCommunicationfile where IDNum = :id", id)
            ->toLongLong();
    ProfileLists lists(db);
    auto status = lists.requestStatus(idNum);
    QVERIFY(status);
    QCOMPARE(status->count(), int(total));
    // Oldest first: the revoked pathology request heads the list, sent to the laboratory.
    QCOMPARE(status->at(0).text(u"Code"), u"HP00000099"_s);
    QCOMPARE(status->at(0).text(u"DEPT"), u"LB"_s);
    QCOMPARE(status->at(0).text(u"REMARKS"), u"REVOKED"_s);
    QSet<QString> departments;
    QDateTime last;
    for (const Row &r : *status) {
        const QDateTime asked =
            QDateTime::fromString(r.text(u"REQUEST DATE/TIME"), u"MM/dd/yyyy hh:mm:ss AP"_s);
        QVERIFY(!last.isValid() || asked >= last);
        last = asked;
        departments << r.text(u"DEPT");
        // A result not released is still pending.
        QCOMPARE(r.text(u"REMARKS") == u"PENDING",
                 r.text(u"RESULT DATE/TIME").isEmpty() && r.text(u"REMARKS") != u"REVOKED");
    }
    QVERIFY(departments.contains(u"LB"_s) && departments.size() > 1);
}

void tst_PatientProfile::revokeFromTheRequestList_data()
{
    QTest::addColumn<QString>("rights");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("meanwhile");
    QTest::addColumn<RequestRevoke::Outcome>("outcome");
    QTest::addColumn<QString>("told");
    using O = RequestRevoke::Outcome;
    const QString xray = u"XR00000991"_s, lab = u"L0991"_s, none;
    QTest::newRow("no right") << u"|1|3"_s << xray << none << O::Refused
                              << u"Sorry, you don't have access right to revoke requests."_s;
    QTest::newRow("laboratory, disabled by the administrator")
        << u"|2"_s << lab << u"lab disabled"_s << O::Refused
        << u"Sorry, cancellation of laboratory requests was disabled by your administrator.\r\n"
           u"Please notify the laboratory department to do the cancellation instead."_s;
    QTest::newRow("x-ray, laboratory cancellation disabled")
        << u"|2"_s << xray << u"lab disabled"_s << O::Revoked << none;
    QTest::newRow("answered No") << u"|2"_s << xray << u"No"_s << O::Refused
                                 << u"Are you sure you want to revoke CHEST PA VIEW?"_s;
    QTest::newRow("sent request") << u"|2"_s << xray << none << O::Revoked << none;
    QTest::newRow("laboratory request") << u"|2"_s << lab << none << O::Revoked << none;
    QTest::newRow("x-ray taken by the department meanwhile")
        << u"|2"_s << xray << u"taken"_s << O::NoLongerPending << u"CHEST PA VIEW is no longer"_s;
    QTest::newRow("laboratory result released meanwhile")
        << u"|2"_s << lab << u"released"_s << O::NoLongerPending << u"COMPLETE BLOOD COUNT is"_s;
    QTest::newRow("two workstations at once") << u"|2"_s << xray << u"race"_s << O::Revoked << none;
}

void tst_PatientProfile::revokeFromTheRequestList()
{
    QFETCH(QString, rights);
    QFETCH(QString, code);
    QFETCH(QString, meanwhile);
    QFETCH(RequestRevoke::Outcome, outcome);
    QFETCH(QString, told);
    using O = RequestRevoke::Outcome;
    OPEN_STATION(s, u"2901"_s);
    QVERIFY(addPendingRequests(db, rights));
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values "
                    u"('DisableLBCancellation', :on)",
                    {{"on", meanwhile == u"lab disabled" ? u"1"_s : u"0"_s}}));
    LoadHospitalSettings(db, s.f.session.hospital, s.f.session.settings);
    const StatusLine line = listedLine(db, code).first;
    // What the department does after the nurse read the list.
    const Binds later{{"at", QDateTime(QDate(2026, 12, 1), QTime(10, 0))}};
    QVERIFY(meanwhile != u"released"
            || db.exec(u"update LABORATORY..tbLabResult set ResultDate = :at "
                       u"where RequestNum = 'L0991'", later));
    QVERIFY(meanwhile != u"taken"
            || db.exec(u"insert into STATION..tbNurseDiagResult (DepartmentID, IdNum, TransNum, "
                       u"RequestNum, TransDate) values ('XR', 'K0100001', 'XR99001', "
                       u"'XR00000991', :at)", later));
    // In the race a second workstation, on its own connection, revokes the same line at once.
    const bool race = meanwhile == u"race";
    std::latch both(race ? 2 : 1);
    O theirs = O::Failed;
    std::thread second([&] {
        if (!race)
            return;
        auto other = Database::open((*dbResult)->settings());
        if (!other)
            return both.count_down();
        (*other)->setProcedures(hospitaldb::hospitalProcedures());
        test::MainWindowFixture station(**other, u"2902"_s);
        station.notifier.answer({true});
        both.arrive_and_wait();
        theirs = RequestRevoke(station.session).revoke(u"K0100001"_s, line);
    });
    s.f.notifier.answer({meanwhile != u"No"});
    both.arrive_and_wait();
    QList<O> outcomes{RequestRevoke(s.f.session).revoke(u"K0100001"_s, line)};
    second.join();
    if (race)
        outcomes << theirs;
    std::sort(outcomes.begin(), outcomes.end());
    const QList<O> expected = race ? QList<O>{O::Revoked, O::NoLongerPending} : QList<O>{outcome};
    QCOMPARE(outcomes, expected);
    QVERIFY(s.f.notifier.lastText().startsWith(told));
    QCOMPARE(listedLine(db, code).second == u"REVOKED", outcome == O::Revoked);
    // Nothing else of the stay was touched: the other request is still pending.
    QCOMPARE(listedLine(db, code == u"L0991" ? u"XR00000991"_s : u"L0991"_s).second, u"PENDING"_s);
}

void tst_PatientProfile::stayOperationsOnTheCalendar()
{
    OPEN_STATION(s, u"2901"_s);
    auto stay = db.scalar(u"select IDNum from SCHEDULE..tbORScheduleDetails where "
                          u"RecordStatus = 'C' and IDNum <> '' order by StartTime desc limit 1");
    QVERIFY(stay);
    const QString idNum = stay->toString();
    auto expected = db.select(u"select StartTime from SCHEDULE..tbORScheduleDetails where "
                              u"IDNum = :id and RecordStatus <> 'R' and StartTime is not null "
                              u"order by StartTime",
                              {{"id", idNum}});
    QVERIFY(expected && expected->count() > 0);
    // A revoked operation, the stay's latest, is not on the calendar.
    QVERIFY(db.exec(u"insert into SCHEDULE..tbORScheduleDetails (TransNum, IDNum, StartTime, "
                    u"Length, RecordStatus) values ('ZZ0001', :id, :at, 60, 'R')",
                    {{"id", idNum}, {"at", QDateTime(QDate(2027, 1, 5), QTime(9, 0))}}));
    ProfileLists lists(db);
    auto operations = lists.stayOperations(idNum);
    QVERIFY(operations);
    QCOMPARE(operations->size(), expected->count());
    const ProfileLists::Operation &latest = operations->constLast();
    QCOMPARE(latest.start, expected->at(expected->count() - 1).dateTime(u"StartTime"));
    QCOMPARE(latest.status, u"CONFIRMED"_s);
    QVERIFY(!latest.room.isEmpty());
    // The day of that operation lists it under its hour.
    auto day = lists.daySchedule(latest.start.date());
    QVERIFY(day);
    const QString hour = QTime(latest.start.time().hour(), 0).toString(u"h:00:00 AP"_s);
    bool found = false;
    for (const Row &r : *day)
        found = found || (r.text(u"Time") == hour && r.text(u"Room") == latest.room);
    QVERIFY2(found, qPrintable(hour));
}

namespace {

// Three exams of the panel's departments, each priced 100 pesos a letter up (A 100 ... I 900),
// none of them allowed to cash-basis patients; no stay on cash basis, every admission with a
// credit line of a million.
bool addPricedExams(Database &db)
{
    QString rates;
    for (int letter = 0; letter < 9; ++letter)
        rates += u", %1"_s.arg((letter + 1) * 100);
    const QString prices = u"insert into BUILD_FILE..tbCoExamRate (RevenueID, ExamID, RateA, "
                           u"RateB, RateC, RateD, RateE, RateF, RateG, RateH, RateI) values "
                           u"('LB', 'EX1'"_s + rates + u"), ('XR', 'EX2'"_s + rates +
                           u"), ('CT', 'EX3'"_s + rates + u")";
    return db.exec(u"insert into BUILD_FILE..tbCoLabExam (LabExamID, LabExam) "
                   u"values ('EX1', 'EXAM ONE')")
           && db.exec(u"insert into BUILD_FILE..tbCoXrayExam (XrayExamID, XrayExam) "
                      u"values ('EX2', 'EXAM TWO')")
           && db.exec(prices)
           && db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 0, "
                      u"CreditLine = 1000000")
           && db.exec(u"update PATIENT_DATA..tbOutPatient set isCashBasis = 0");
}

qint64 openRequests(Database &db, const QString &code)
{
    auto n = db.scalar(u"select count(*) from STATION..tbNurseCommunicationfile where IDNum = "
                       u"'K0100001' and ExamCode = :code and RecordStatus = ''",
                       {{"code", code}});
    return n ? n->toLongLong() : -1;
}

const QString kWaiting = u"EXAM ONE was requested on 12/01/2026 09:00 AM (request LB77) and the "
                         u"department has not done it yet."_s;

bool addWaitingRequest(Database &db)
{
    return bool(db.exec(u"insert into STATION..tbNurseCommunicationfile (RequestNum, IDNum, "
                        u"ExamCode, ExamName, ItemID, RevenueID, RequestDate, RecordStatus) "
                        u"values ('LB77', 'K0100001', 'EX1', 'EXAM ONE', 'EX1', 'LB', :at, '')",
                        {{"at", QDateTime(QDate(2026, 12, 1), QTime(9, 0))}}));
}

} // namespace

void tst_PatientProfile::commonExamOrders_data()
{
    QTest::addColumn<QString>("employee");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("refusal");
    QTest::addColumn<int>("price");
    const QStringList none;
    const QString cleared = u"Patient is already cleared by (X-ray Department). If you have "
                            u"requests to make, notify the Billing staff immediately for further "
                            u"instructions."_s;
    QTest::newRow("laboratory, private room at rate B")
        << u"2903"_s << u"K0100001"_s << none << u"LB"_s << u"EX1"_s << u""_s << 200;
    QTest::newRow("special class at rate F")
        << u"2903"_s << u"K0100001"_s << QStringList{u"special"_s} << u"XR"_s << u"EX2"_s << u""_s
        << 600;
    QTest::newRow("no right to request")
        << u"2904"_s << u"K0100001"_s << none << u"XR"_s << u"EX2"_s
        << u"Sorry, you don't have access right to Request X-ray Exams."_s << 0;
    QTest::newRow("outpatient laboratory barred")
        << u"2903"_s << u"K0300001B"_s << QStringList{u"noOPDLab"_s} << u"LB"_s << u"EX1"_s
        << u"Sorry, you are not allowed to send Laboratory requests for outpatients.\r\n"
           u"For queries, you may call IT department."_s << 0;
    QTest::newRow("outpatient x-ray while laboratory barred")
        << u"2903"_s << u"K0300001B"_s << QStringList{u"noOPDLab"_s} << u"XR"_s << u"EX2"_s
        << u""_s << 100;
    QTest::newRow("cleared by the department before a final order")
        << u"2903"_s << u"K0100001"_s << QStringList{u"cleared"_s, u"final"_s} << u"XR"_s
        << u"EX2"_s << cleared << 0;
    QTest::newRow("final discharge order sent")
        << u"2903"_s << u"K0100001"_s << QStringList{u"final"_s} << u"XR"_s << u"EX2"_s
        << u"Final discharge order was already sent for %1.\r\nYou have to revoke the "
           u"discharge order to send additional requests."_s << 0;
    QTest::newRow("admission without admitting diagnosis")
        << u"2903"_s << u"K0100002"_s << none << u"US"_s << u"EX9"_s
        << u"Please provide patient's admitting diagnosis first before sending any request."_s
        << 0;
    QTest::newRow("cash basis, restricted exam")
        << u"2903"_s << u"K0100001"_s << QStringList{u"cashBasis"_s} << u"LB"_s << u"EX1"_s
        << u"Item/Exam is restricted for Cash Basis Patients! "_s << 0;
    QTest::newRow("cash basis, exam allowed")
        << u"2903"_s << u"K0100001"_s << QStringList{u"cashBasis"_s, u"unrestricted"_s}
        << u"LB"_s << u"EX1"_s << u""_s << 200;
    QTest::newRow("cash basis, department without the list")
        << u"2903"_s << u"K0100001"_s << QStringList{u"cashBasis"_s, u"unrestricted"_s}
        << u"CT"_s << u"EX3"_s << u"Item/Exam is restricted for Cash Basis Patients! "_s << 0;
    QTest::newRow("exam without a price")
        << u"2903"_s << u"K0100001"_s << none << u"XR"_s << u"EX4"_s
        << u"Cannot charge examination with Zero(0) amount."_s << 0;
    QTest::newRow("still waiting in the department")
        << u"2903"_s << u"K0100001"_s << QStringList{u"waiting"_s} << u"LB"_s << u"EX1"_s
        << kWaiting << 0;
}

void tst_PatientProfile::commonExamOrders()
{
    QFETCH(QString, employee);
    QFETCH(QString, idNum);
    QFETCH(QStringList, setup);
    QFETCH(QString, department);
    QFETCH(QString, code);
    QFETCH(QString, refusal);
    QFETCH(int, price);
    OPEN_STATION(s, employee);
    QVERIFY(addPricedExams(db));
    const Binds id{{"id", idNum}};
    const QHash<QString, std::pair<QString, Binds>> conditions{
        {u"noOPDLab"_s, {u"insert into STATION..tbNurseSetup (Field, value) values "
                         u"('ORNoOPDLab', '1')"_s, {}}},
        {u"special"_s, {u"update PATIENT_DATA..tbPatient2 set isSpecial = 1 where IDNum = :id"_s,
                        id}},
        {u"cleared"_s, {u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, "
                        u"RecordStatus, ClearDate) values (:id, 'XR', 'P', :at)"_s,
                        {{"id", idNum}, {"at", test::fixtureNow()}}}},
        {u"final"_s, {u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, "
                      u"RecordStatus) values (:id, 'OR', 'F')"_s, id}},
        {u"cashBasis"_s, {u"update PATIENT_DATA..tbPatient2 set isCashBasis = 1 where IDNum = "
                          u":id"_s, id}},
        {u"unrestricted"_s, {u"update BUILD_FILE..tbCoLabExam set Unrestricted = 1"_s, {}}}};
    for (const QString &c : setup) {
        if (c == u"waiting")
            QVERIFY(addWaitingRequest(db));
        else
            QVERIFY(db.exec(conditions.value(c).first, conditions.value(c).second));
    }
    LoadHospitalSettings(db, s.f.session.hospital, s.f.session.settings);
    PatientProfile profile(s.f.session);
    QVERIFY(profile.open(profileOf(idNum)));
    CommonExams &exams = profile.commonExams();
    const bool added = exams.add(profile.header(), department, code, u"EXAM ONE"_s);
    QCOMPARE(s.f.notifier.lastText(),
             QString(refusal).replace(u"%1"_s, profile.header().PatientName));
    QCOMPARE(added, refusal.isEmpty());
    QCOMPARE(exams.orders().size(), added ? 1 : 0);
    if (!added)
        return;
    QCOMPARE(exams.orders().first().amount, Money::fromMinor(price * Money::kScale));
    // The same exam once only, from any list.
    QVERIFY(!exams.add(profile.header(), u"OT"_s, code.toLower() + u' ', u"EXAM ONE"_s));
    QCOMPARE(s.f.notifier.lastText(), u"Examination is already in the Orders List."_s);
    // Another stay starts with no orders.
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    QVERIFY(exams.orders().isEmpty());
}

void tst_PatientProfile::commonExamsSaved_data()
{
    QTest::addColumn<QStringList>("setup");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("sent");
    QTest::newRow("sent") << QStringList() << true
                          << u"The request(s) were sent to the departments."_s << 2;
    QTest::newRow("not sent after all")
        << QStringList() << false << u"Entered request(s) were not saved! "_s << 0;
    QTest::newRow("credit short") << QStringList{u"credit"_s} << true
                                  << u"Credit amount not enough. Remaining credit balance is "
                                     u"150.00"_s << 0;
    QTest::newRow("another station sent one meanwhile")
        << QStringList{u"waiting"_s} << true << kWaiting << 0;
}

void tst_PatientProfile::commonExamsSaved()
{
    QFETCH(QStringList, setup);
    QFETCH(bool, answer);
    QFETCH(QString, told);
    QFETCH(int, sent);
    OPEN_STATION(s, u"2903"_s);
    QVERIFY(addPricedExams(db));
    PatientProfile profile(s.f.session);
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    CommonExams &exams = profile.commonExams();
    QVERIFY(exams.add(profile.header(), u"LB"_s, u"EX1"_s, u"EXAM ONE"_s));
    QVERIFY(exams.add(profile.header(), u"XR"_s, u"EX2"_s, u"EXAM TWO"_s));
    // Nothing billed or waiting: the credit line is what the 400 pesos asked may use.
    QVERIFY(db.exec(u"delete from STATION..tbNurseLogBook where IDNum = 'K0100001'"));
    QVERIFY(db.exec(u"delete from BILLING..tbBillDailyBill where IDNum = 'K0100001'"));
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set CreditLine = :line where IDNum = "
                    u"'K0100001'",
                    {{"line", setup.contains(u"credit"_s) ? 150 : 400}}));
    QVERIFY(db.exec(u"delete from STATION..tbNurseSetup where Field = 'CheckCredLim'"));
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) values "
                    u"('CheckCredLim', '1')"));
    LoadHospitalSettings(db, s.f.session.hospital, s.f.session.settings);
    if (setup.contains(u"waiting"_s))
        QVERIFY(addWaitingRequest(db));
    const qint64 before = openRequests(db, u"EX1"_s) + openRequests(db, u"EX2"_s);
    s.f.notifier.answer({answer});
    const auto outcome = exams.save(profile.header());
    QCOMPARE(s.f.notifier.lastText(), told);
    QCOMPARE(outcome == CommonExams::Outcome::Saved, sent > 0);
    QCOMPARE(openRequests(db, u"EX1"_s) + openRequests(db, u"EX2"_s) - before, qint64(sent));
    // Refused or not sent, the orders stay for the nurse; sent, they are gone.
    QCOMPARE(exams.orders().size(), sent > 0 ? 0 : 2);
    if (sent == 0)
        return;
    QCOMPARE(exams.sentNumbers().size(), 2);
    auto rows = db.select(u"select c.RevenueID, c.Amount, c.UserID, c.StationID, l.Amount as "
                          u"Charged from STATION..tbNurseCommunicationfile c join "
                          u"STATION..tbNurseLogBook l on l.ReferenceNum = c.RequestNum where "
                          u"c.RequestNum = :n",
                          {{"n", exams.sentNumbers().at(1)}});
    QVERIFY(rows && rows->count() == 1);
    QCOMPARE(rows->at(0).text(u"RevenueID"), u"XR"_s);
    QCOMPARE(rows->at(0).money(u"Amount"), rows->at(0).money(u"Charged"));
    QCOMPARE(rows->at(0).money(u"Amount"), Money::fromMinor(200 * Money::kScale));
    QCOMPARE(rows->at(0).text(u"UserID"), u"2903"_s);
}

void tst_PatientProfile::twoWorkstationsRequestTheSameExamOnce()
{
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    QVERIFY(addProfilePatients((*created)->db()) && addPricedExams((*created)->db()));
    QMutex lock;
    QStringList outcomes, failures;
    std::latch bothAdded(2);
    const test::TestDatabase &hospital = **created;
    auto workstation = [&](int n) {
        auto db = hospital.openWorkstation(n);
        if (!db) {
            bothAdded.count_down();
            const QMutexLocker locked(&lock);
            failures << db.error().message;
            return;
        }
        test::MainWindowFixture station(**db, u"2903"_s);
        PatientProfile profile(station.session);
        // Both have the exam on their orders before either sends it.
        const bool added =
            profile.open(profileOf(u"K0100001"_s)) &&
            profile.commonExams().add(profile.header(), u"LB"_s, u"EX1"_s, u"EXAM ONE"_s);
        bothAdded.arrive_and_wait();
        if (!added) {
            const QMutexLocker locked(&lock);
            failures << station.notifier.lastText();
            return;
        }
        station.notifier.answer({true});
        profile.commonExams().save(profile.header());
        const QMutexLocker locked(&lock);
        outcomes << station.notifier.lastText().left(24);
    };
    std::thread first(workstation, 1), second(workstation, 2);
    first.join();
    second.join();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; ")));
    outcomes.sort();
    QCOMPARE(outcomes, (QStringList{u"EXAM ONE was requested o"_s, u"The request(s) were sent"_s}));
    QCOMPARE(openRequests((*created)->db(), u"EX1"_s), 1);
}

void tst_PatientProfile::operationRequest_data()
{
    QTest::addColumn<QString>("procedure");
    QTest::addColumn<QString>("surgeon");
    QTest::addColumn<QString>("time");
    QTest::addColumn<int>("daysAhead");
    QTest::addColumn<bool>("cleared");
    QTest::addColumn<QString>("told");
    const QString saved = u"Schedule Data Successfully Saved."_s;
    const QString incomplete =
        u"Can't save incomplete data. Please enter procedure and assigned surgeon."_s;
    QTest::newRow("tomorrow morning") << u"P1"_s << u"D1"_s << u"8:30 am"_s << 1 << false << saved;
    QTest::newRow("later today, 24-hour clock")
        << u"P1"_s << u"D1"_s << u"14:45"_s << 0 << false << saved;
    QTest::newRow("cleared by the OR")
        << u"P1"_s << u"D1"_s << u"8:30 AM"_s << 1 << true
        << u"Patient is already cleared. OR schedule may not proceed."_s;
    QTest::newRow("no procedure") << u""_s << u"D1"_s << u"8:30 AM"_s << 1 << false << incomplete;
    QTest::newRow("no surgeon") << u"P1"_s << u""_s << u"8:30 AM"_s << 1 << false << incomplete;
    QTest::newRow("not a time") << u"P1"_s << u"D1"_s << u"25:10"_s << 1 << false
                                << u"Invalid Time of Operation."_s;
    QTest::newRow("earlier today") << u"P1"_s << u"D1"_s << u"9:00 AM"_s << 0 << false
                                   << u"Invalid Time of Operation."_s;
}

void tst_PatientProfile::operationRequest()
{
    QFETCH(QString, procedure);
    QFETCH(QString, surgeon);
    QFETCH(QString, time);
    QFETCH(int, daysAhead);
    QFETCH(bool, cleared);
    QFETCH(QString, told);
    OPEN_STATION(s, u"2903"_s);
    if (cleared)
        QVERIFY(db.exec(u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, "
                        u"RecordStatus, ClearDate) values ('K0100001', 'OR', 'P', :at)",
                        {{"at", test::fixtureNow()}}));
    PatientProfile profile(s.f.session);
    QVERIFY(profile.open(profileOf(u"K0100001"_s)));
    OperationRequest request;
    request.date = test::fixtureNow().date().addDays(daysAhead);
    request.time = time;
    request.minutes = 90;
    request.procedureCode = procedure;
    request.procedureDesc = u"APPENDECTOMY"_s;
    request.surgeonCode = surgeon;
    const auto outcome = profile.schedule().save(profile.header(), request);
    QCOMPARE(s.f.notifier.lastText(), told);
    auto rows = db.select(u"select IDNum, StartTime, Length, ProcedureCode, DoctorID1, "
                          u"RequestingStation, RequestBy from SCHEDULE..tbORScheduleDetails "
                          u"where RecordStatus = 'P' and IDNum = 'K0100001'");
    QVERIFY(rows);
    QCOMPARE(rows->count(), outcome == ProfileSchedule::Outcome::Saved ? 1 : 0);
    if (rows->count() == 0)
        return;
    const Row &r = rows->at(0);
    QCOMPARE(r.dateTime(u"StartTime"),
             QDateTime(request.date, ProfileSchedule::parseTime(time)));
    QCOMPARE(r.integer(u"Length"), qint64(90));
    QCOMPARE(r.text(u"DoctorID1"), surgeon);
    QCOMPARE(r.text(u"RequestBy"), u"2903"_s);
    // The OR finds it among the wards' requests.
    auto waiting = db.call(u"SCHEDULE..sp_GetORSchedule_Request");
    QVERIFY(waiting);
    bool listed = false;
    for (const Row &w : *waiting)
        listed = listed || w.text(u"TransNum") == profile.schedule().savedTransNum();
    QVERIFY(listed);
}

namespace {

qint64 hemoRequests(Database &db)
{
    auto n = db.scalar(u"select count(*) from STATION..tbHemoRequest where IdNum = 'K0100001'"_s);
    return n ? n->toLongLong() : -1;
}

// A notification the unit accepts: the first active dialyzer and access, tomorrow morning.
void fillValidNotification(HemodialysisNotification &hemo)
{
    hemo.dialyzerId = hemo.dialyzers().value(0).code;
    hemo.accessId = hemo.accesses().value(0).code;
    hemo.dialysisDate = test::fixtureNow().addDays(1);
    hemo.remarks = u"Heparin-free"_s;
}

} // namespace

void tst_PatientProfile::hemodialysisRefusals_data()
{
    QTest::addColumn<QString>("dialyzer");
    QTest::addColumn<QString>("access");
    QTest::addColumn<int>("hoursAhead");
    QTest::addColumn<int>("remarksLength");
    QTest::addColumn<QString>("message");
    const QString noDialyzer = u"Please choose the dialyzer to prepare."_s;
    QTest::newRow("no dialyzer") << u""_s << u"1"_s << 24 << 0 << noDialyzer;
    QTest::newRow("inactive dialyzer") << u"D06"_s << u"1"_s << 24 << 0 << noDialyzer;
    QTest::newRow("unknown access") << u"D01"_s << u"99"_s << 24 << 0
                                    << u"Please choose the vascular access of the patient."_s;
    const QString when = u"The date of the dialysis must be within the next 31 days."_s;
    QTest::newRow("yesterday") << u"D01"_s << u"1"_s << -24 << 0 << when;
    QTest::newRow("two months ahead") << u"D01"_s << u"1"_s << 24 * 60 << 0 << when;
    QTest::newRow("remarks too long") << u"D01"_s << u"1"_s << 24 << 501
                                      << u"The remarks may hold at most 500 characters."_s;
}

void tst_PatientProfile::hemodialysisRefusals()
{
    QFETCH(QString, dialyzer);
    QFETCH(QString, access);
    QFETCH(int, hoursAhead);
    QFETCH(int, remarksLength);
    QFETCH(QString, message);
    OPEN_STATION(s, u"2901"_s);
    HemodialysisNotification hemo(s.f.session);
    QVERIFY(hemo.open(u"K0100001"_s, u"K0000001"_s));
    const qint64 before = hemoRequests(db);
    hemo.dialyzerId = dialyzer;
    hemo.accessId = access;
    hemo.dialysisDate = test::fixtureNow().addSecs(hoursAhead * 3600);
    hemo.remarks = QString(remarksLength, u'x');
    QCOMPARE(hemo.save(), HemodialysisNotification::Outcome::Refused);
    QCOMPARE(s.f.notifier.lastText(), message);
    QCOMPARE(hemoRequests(db), before);
}

void tst_PatientProfile::hemodialysisSentOnceUntilRevoked()
{
    OPEN_STATION(s, u"2901"_s);
    HemodialysisNotification hemo(s.f.session);
    QVERIFY(hemo.open(u"K0100001"_s, u"K0000001"_s));
    // The dialyzers offered are the active ones matching what was typed.
    QVERIFY(hemo.findDialyzers(u"poly"_s));
    QCOMPARE(hemo.dialyzers().size(), 2);
    QVERIFY(hemo.findDialyzers(u"LOW"_s));
    QVERIFY(hemo.dialyzers().isEmpty());
    QVERIFY(hemo.findDialyzers(u"%"_s));
    QVERIFY(hemo.dialyzers().isEmpty());
    QVERIFY(hemo.findDialyzers(QString()));
    QCOMPARE(hemo.dialyzers().size(), 5);
    QCOMPARE(hemo.accesses().value(0).description, u"ARTERIOVENOUS FISTULA"_s);

    fillValidNotification(hemo);
    QCOMPARE(hemo.save(), HemodialysisNotification::Outcome::Done);
    QCOMPARE(s.f.notifier.lastText(), u"Notification for Hemodialysis saved."_s);
    QCOMPARE(hemo.sent().size(), 1);
    QVERIFY(hemo.sent().first().pending);
    QCOMPARE(hemo.cell(0, 6), u"WAITING"_s);
    QCOMPARE(hemo.sent().first().dialyzer, hemo.dialyzers().value(0).description);

    // While the unit holds it, a second is refused with the time of the first.
    fillValidNotification(hemo);
    QCOMPARE(hemo.save(), HemodialysisNotification::Outcome::Refused);
    QCOMPARE(s.f.notifier.lastText(),
             u"A notification was previously sent to HEMODIALYSIS at "_s +
                 test::fixtureNow().toString(u"MM/dd/yyyy hh:mm:ss AP"_s));
    QCOMPARE(hemoRequests(db), 1);

    // Taken back (after the question), logged, and the next one goes.
    s.f.notifier.answer({false, true});
    QCOMPARE(hemo.revoke(0), HemodialysisNotification::Outcome::Abandoned);
    QVERIFY(hemo.sent().first().pending);
    QCOMPARE(hemo.revoke(0), HemodialysisNotification::Outcome::Done);
    QVERIFY(hemo.sent().first().revoked && !hemo.sent().first().pending);
    auto logged = db.scalar(u"select count(*) from STATION..tbStationLogs where Idnum = "
                            u"'K0100001' and Remarks = 'Revoked Hemo Notification' "
                            u"and UserID = '2901'"_s);
    QCOMPARE(logged.value().toInt(), 1);
    QCOMPARE(hemo.revoke(0), HemodialysisNotification::Outcome::Refused);
    QCOMPARE(hemo.revoke(5), HemodialysisNotification::Outcome::Refused);
    fillValidNotification(hemo);
    QCOMPARE(hemo.save(), HemodialysisNotification::Outcome::Done);
    QCOMPARE(hemoRequests(db), 2);
}

void tst_PatientProfile::twoWorkstationsNotifyHemodialysisOnce()
{
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    QVERIFY(addProfilePatients((*created)->db()));
    QMutex lock;
    QStringList outcomes, failures;
    const test::TestDatabase &hospital = **created;
    auto workstation = [&](int n) {
        auto db = hospital.openWorkstation(n);
        if (!db) {
            const QMutexLocker locked(&lock);
            failures << db.error().message;
            return;
        }
        test::MainWindowFixture station(**db, u"290%1"_s.arg(n + 1));
        HemodialysisNotification hemo(station.session);
        if (!hemo.open(u"K0100001"_s, u"K0000001"_s)) {
            const QMutexLocker locked(&lock);
            failures << station.notifier.lastText();
            return;
        }
        fillValidNotification(hemo);
        hemo.save();
        const QMutexLocker locked(&lock);
        outcomes << station.notifier.lastText().left(30);
    };
    std::thread first(workstation, 1), second(workstation, 2);
    first.join();
    second.join();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; ")));
    outcomes.sort();
    QCOMPARE(outcomes, (QStringList{u"A notification was previously "_s,
                                    u"Notification for Hemodialysis "_s}));
    QCOMPARE(hemoRequests((*created)->db()), 1);
}

QTEST_GUILESS_MAIN(tst_PatientProfile)
#include "tst_patientprofile.moc"
