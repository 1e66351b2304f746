// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window's commands against the demo hospital: access rights of the demo staff,
// the windows each command opens, CVOR tagging, the exit question, user settings, the charge
// slip setting, the walk-in assessment, receivables and the next charge slip number.
#include "shell/AccessRights.h"
#include "shell/db/Database.h"
#include "shell/MainMenu.h"
#include "shell/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

using namespace kestrel;
using kestrel::test::MainWindowFixture;
using kestrel::test::RecordingNotifier;

namespace {

// Demo staff (see the README): the supervisor holds every right, the trainee none at all.
const QString kSupervisor = QStringLiteral("2901");
const QString kScrubNurse = QStringLiteral("2902");  // |1|2|3|6|10|11|25|36
const QString kCirculating = QStringLiteral("2903"); // |1|2|3|4|5|6|9|10|11|19|22|25|36
const QString kTechnician = QStringLiteral("2904");  // |3|10|25
const QString kClerk = QStringLiteral("2905");       // |3|9|13|18|19|20|21
const QString kTrainee = QStringLiteral("2908");     // no rights row
const QString kWardNurse = QStringLiteral("1401");   // |1|3|10

const QString kNotification = QStringLiteral("Notification");

// Gives a command the way the user would: a menu by its name, a toolbar button as
// "Toolbar1.<key>", an item of the toolbar's report drop-down as "Report.<key>".
void give(MainMenu &menu, const QString &command)
{
    if (command.startsWith(u"Toolbar1."))
        menu.toolbarButtonClicked(command.mid(9));
    else if (command.startsWith(u"Report."))
        menu.reportMenuClicked(command.mid(7));
    else
        QVERIFY2(QMetaObject::invokeMethod(&menu, qPrintable(command), Qt::DirectConnection),
                 qPrintable(QStringLiteral("no command ") + command));
}

QString firstId(Database &db, QStringView sql)
{
    auto id = db.scalar(sql);
    return id ? id->toString() : QString();
}

int isCvor(Database &db, bool outpatient, const QString &idNum)
{
    auto v =
        db.scalar(outpatient ? u"select isCVOR from PATIENT_DATA..tbOutPatient where IDNum = :id"
                             : u"select isCVOR from PATIENT_DATA..tbPatient where IDNum = :id",
                  {{QStringLiteral("id"), idNum}});
    return v ? v->toInt() : -1;
}

int cvorLogCount(Database &db, const QString &idNum)
{
    auto n = db.scalar(
        u"select count(*) from STATION..tbStationLogs "
        u"where IdNum = :id and Remarks like :what",
        {{QStringLiteral("id"), idNum}, {QStringLiteral("what"), QStringLiteral("%AS CVOR")}});
    return n ? n->toInt() : -1;
}

} // namespace

class tst_MainMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void hasAccessRight_data();
    void hasAccessRight();

    void rightsGuardCommands_data();
    void rightsGuardCommands();

    void commandsOpenTheirWindows_data();
    void commandsOpenTheirWindows();

    void cvorTagging_data();
    void cvorTagging();
    void cvorTaggingCancelledWritesNothing_data();
    void cvorTaggingCancelledWritesNothing();

    void exitQuestion_data();
    void exitQuestion();

    void userSettings_data();
    void userSettings();

    void chargeSlipSetting_data();
    void chargeSlipSetting();

    void walkInAssessment();
    void walkInAssessmentFailureIsReported();

    void receivablesTurnOffPatientCommands();
    void cf4EntryIsHandedItsValues();

    void activationReadsTheNextChargeSlip();
    void activationFailureIsToldOnce();
};

// --- Access rights ----------------------------------------------------------------------------

void tst_MainMenu::hasAccessRight_data()
{
    QTest::addColumn<QString>("loggedIn");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("employee");
    QTest::addColumn<bool>("granted");

    QTest::newRow("supervisor revokes charges") << kSupervisor << "22"
                                                << "" << true;
    QTest::newRow("supervisor resets operations") << kSupervisor << "37"
                                                  << "" << true;
    QTest::newRow("scrub nurse has no assessment entry") << kScrubNurse << "9"
                                                         << "" << false;
    QTest::newRow("circulating nurse enters assessments") << kCirculating << "9"
                                                          << "" << true;
    QTest::newRow("circulating nurse has no receivables") << kCirculating << "13"
                                                          << "" << false;
    QTest::newRow("clerk enters receivables") << kClerk << "13"
                                              << "" << true;
    QTest::newRow("clerk: 3 is granted on its own") << kClerk << "3"
                                                    << "" << true;
    QTest::newRow("technician: 10 does not grant 1") << kTechnician << "1"
                                                     << "" << false;
    QTest::newRow("technician: 25 does not grant 2") << kTechnician << "2"
                                                     << "" << false;
    QTest::newRow("trainee without a rights row") << kTrainee << "3"
                                                  << "" << false;
    QTest::newRow("ward nurse views results") << kWardNurse << "10"
                                              << "" << true;
    QTest::newRow("ward nurse has no clinical operation") << kWardNurse << "25"
                                                          << "" << false;
    QTest::newRow("code with blanks") << kClerk << " 13 "
                                      << "" << true;
    QTest::newRow("named employee instead of the user") << kTrainee << "13" << kClerk << true;
    QTest::newRow("named employee without the right") << kSupervisor << "3" << kTrainee << false;
    QTest::newRow("named employee with blanks") << kTrainee << "21"
                                                << " 2905 " << true;
    QTest::newRow("nurse named by code") << kTrainee << "9" << kCirculating << true;
    QTest::newRow("unknown employee") << kSupervisor << "3"
                                      << "9999" << false;
    QTest::newRow("20 with no validated employee, even for the supervisor") << kSupervisor << "20"
                                                                            << "" << false;
    QTest::newRow("20 with blanks only as employee") << kSupervisor << "20"
                                                     << "   " << false;
    QTest::newRow("20 of the validated clerk") << kTrainee << "20" << kClerk << true;
    QTest::newRow("20 of a validated nurse without it")
        << kSupervisor << "20" << kScrubNurse << false;
}

void tst_MainMenu::hasAccessRight()
{
    QFETCH(QString, loggedIn);
    QFETCH(QString, code);
    QFETCH(QString, employee);
    QFETCH(bool, granted);

    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, loggedIn);
    QCOMPARE(HasAccessRight(f.session, code, employee), granted);
    QCOMPARE(f.notifier.boxes().size(), 0);
}

void tst_MainMenu::rightsGuardCommands_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("loggedIn");
    QTest::addColumn<QString>("form");
    QTest::addColumn<QString>("refusal");

    const QString detailed =
        QStringLiteral("Sorry, you don't have access right to view Detailed Income Report.");
    const QString summary =
        QStringLiteral("Sorry, you don't have access right to view Summary Income Report.");
    const QString report = QStringLiteral("frmReportViewer");

    QTest::newRow("assessment refused")
        << "mnuAssessment" << kScrubNurse << ""
        << "Sorry, you don't have access right for Assessment Entry.";
    QTest::newRow("assessment granted") << "mnuAssessment" << kCirculating << "frmAssessmentEntry"
                                        << "";
    QTest::newRow("receivables refused")
        << "mnuRecvbles" << kCirculating << ""
        << "Sorry, you don't have access right for Receivable Entry.";
    QTest::newRow("receivables granted") << "mnuRecvbles" << kClerk << "frmRecievable"
                                         << "";
    QTest::newRow("clinical operation refused")
        << "Toolbar1.Operation" << kClerk << ""
        << "Sorry, you don't have access right on Clinical Operation.";
    QTest::newRow("clinical operation granted")
        << "Toolbar1.Operation" << kTechnician << "frmPatientIndex"
        << "";
    QTest::newRow("detailed income refused") << "mnuDetailed" << kScrubNurse << "" << detailed;
    QTest::newRow("detailed income granted") << "mnuDetailed" << kClerk << report << "";
    QTest::newRow("old format detailed refused")
        << "mnuOldFormatIncomeDetailed" << kTrainee << "" << detailed;
    QTest::newRow("new format detailed refused")
        << "mnuProcedureCount" << kTechnician << "" << detailed;
    QTest::newRow("new format summary asks the detailed right")
        << "mnuGUVOIncomeReport" << kTechnician << "" << detailed;
    QTest::newRow("summary income refused") << "mnuSummary" << kScrubNurse << "" << summary;
    QTest::newRow("old format summary refused")
        << "mnuOldFormatIncomeSummary" << kCirculating << "" << summary;
    QTest::newRow("old format summary granted")
        << "mnuOldFormatIncomeSummary" << kClerk << report << "";
    QTest::newRow("trainee refused the assessment")
        << "mnuAssessment" << kTrainee << ""
        << "Sorry, you don't have access right for Assessment Entry.";
}

void tst_MainMenu::rightsGuardCommands()
{
    QFETCH(QString, command);
    QFETCH(QString, loggedIn);
    QFETCH(QString, form);
    QFETCH(QString, refusal);

    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, loggedIn);
    MainMenu menu(f.session);
    menu.setPatientCommandsEnabled(true);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    give(menu, command);

    if (refusal.isEmpty()) {
        QCOMPARE(f.notifier.boxes().size(), 0);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows.at(0).at(0).toString(), form);
        return;
    }
    QCOMPARE(windows.size(), 0);
    QCOMPARE(f.notifier.boxes().size(), 1);
    const RecordingNotifier::Box box = f.notifier.boxes().at(0);
    QCOMPARE(box.text, refusal);
    QCOMPARE(box.title, kNotification);
    QCOMPARE(box.icon, Notifier::Icon::Information);
    QVERIFY(!box.question);
    // A refusal changes nothing: the patient commands stay as they were.
    QCOMPARE(menu.menuState(QStringLiteral("mnuInfo")).enabled, std::optional<bool>(true));
}

// --- Which window each command opens ----------------------------------------------------------

void tst_MainMenu::commandsOpenTheirWindows_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("form");
    QTest::addColumn<bool>("modal");
    QTest::addColumn<bool>("patientRequired");

    auto row = [](const char *command, const char *form, bool modal, bool patient) {
        QTest::newRow(command) << QString::fromLatin1(command) << QString::fromLatin1(form) << modal
                               << patient;
    };
    const char *report = "frmReportViewer";

    // File
    row("mnuOpen", "frmSearch", false, false);
    row("mnuBuild", "frmBuildORRooms", true, false);
    row("mnuMarkUp", "frmMarkupSettings", false, false);
    row("mnuTagProcedures", "frmTagORProcedures", false, false);
    row("mnuUserLogs", "frmUserLogs", false, false);
    // Reports that are windows
    row("mnuCVORCensus", "frmCVORPatients", false, false);
    row("mnuCSFTemplate", "frmCSFDoctors", false, false);
    row("mnuStocksMonitoring", "frmStockMonitoring", false, false);
    // Reports of the catalog
    for (const char *r : {"mnuEquipment",
                          "mnuPriceList",
                          "mnuMedsSummary",
                          "mnuPerDate",
                          "mnuPerDoctor",
                          "mnuPerPatient",
                          "mnuPerProcedure",
                          "mnuLedger",
                          "mnuPxCSSR",
                          "mnuAudit",
                          "mnuCensusOrig",
                          "mnuCensusDetailed",
                          "mnuCensusSummary",
                          "mnuCensusAllDetailed",
                          "mnuCensusAllSummary",
                          "mnuMonthly",
                          "mnuPhilhealth",
                          "mnuScheduleofoperations",
                          "mnuORMandatory",
                          "mnuORReport",
                          "mnuORLogbook",
                          "mnuMonthlyORRoomCases",
                          "mnuYearlyORRoomCases",
                          "mnuTopCases",
                          "mnuDOH",
                          "mnuStat",
                          "mnuAdmCensus",
                          "mnuCash",
                          "mnuTimeNMotion",
                          "mnuYearlyIncome",
                          "mnuAMPickUp",
                          "mnuProcCatRep",
                          "mnuLabChemistry",
                          "mnuLabHematology",
                          "mnuLabImmunoSerology",
                          "mnuLabMicrobiology",
                          "mnuLabMicroscopic",
                          "mnuOperativeTechnique",
                          "mnuDischargeNoticeStatus",
                          "mnuPDS",
                          "mnuRS",
                          "mnuCountingSheet",
                          "mnuWHOSurgicalSafety"})
        row(r, report, false, false);
    // Inquiry
    row("mnuSpecialTreatment", "frmSpecialTreatment", false, false);
    row("mnuSterilizationConsent", "frmSterilization", false, true);
    row("mnuSurgicalTreatment", "frmSurgicalTreatment", false, true);
    row("mnuConsentTreatment", "frmTreatment", false, true);
    row("mnuFluid", "frmFluid", false, false);
    row("mnuHourlyMonitoring", "frmHourlyMonitor", false, true);
    row("mnuLRForm", "frmLRForm", false, true);
    row("mnuORSchedEntry", "frmSchedule", false, false);
    row("mnuPreOp", "frmNursePreopChecklist", false, true);
    row("mnuInfo", "frmInfo", false, false);
    row("mnuCSF", "frmCSFDoctors", false, false);
    row("mnuPreAnesFirst", "frmPreAnesthetic", false, true);
    row("mnuReprintLab", "frmReprintLabForm", false, true);
    row("mnuSSC", "frmSSC", false, true);
    row("mnuSOA", "KsStatement.clsStatement", false, true);
    row("mnuCF4", "clsCF4", false, false);
    // Top level
    row("mnuSchedule", "frmSchedule", false, false);
    row("mnuListDischargeNotice", "frmDischargeNotice", true, false);
    // Toolbar
    row("Toolbar1.Open", "frmSearch", false, false);
    row("Toolbar1.RUV", "KsRvs.clsRvsLookup", false, false);
    row("Report.Audit", report, false, false);
    row("Report.Month", report, false, false);
    row("Report.Statistics", report, false, false);
    // Alert buttons
    row("cmdCommunication", "frmAutoPrint", true, false);
    row("cmdPanicLab", "frmPanicValues", false, false);
    row("cmdRevokedRequests", "frmRevokedRequests", false, false);
    row("cmdAdmissions", "frmAdmittedPatients", false, false);
    row("cmdRequestSched", "frmCommunicationSchedule", false, false);
}

void tst_MainMenu::commandsOpenTheirWindows()
{
    QFETCH(QString, command);
    QFETCH(QString, form);
    QFETCH(bool, modal);
    QFETCH(bool, patientRequired);

    KESTREL_OPEN_DEMO(db);
    // The supervisor holds every right, so only the patient can stop a command here.
    MainWindowFixture f(db, kSupervisor);
    MainMenu menu(f.session);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);

    // No patient selected.
    give(menu, command);
    if (patientRequired) {
        QCOMPARE(windows.size(), 0);
        QCOMPARE(f.notifier.boxes().size(), 1);
        QCOMPARE(f.notifier.boxes().at(0).text, QStringLiteral("Please select patient."));
        QCOMPARE(f.notifier.boxes().at(0).title, kNotification);
        QCOMPARE(f.notifier.boxes().at(0).icon, Notifier::Icon::Information);
    } else {
        QCOMPARE(f.notifier.boxes().size(), 0);
        QCOMPARE(windows.size(), 1);
    }

    // A patient selected: the window opens and is handed the stay.
    windows.clear();
    f.notifier.clear();
    f.session.CurrentPatient.IdNum = QStringLiteral("0000123");
    f.session.CurrentPatient.HospNum = QStringLiteral("00153004");
    f.session.CurrentPatient.PatientName = QStringLiteral("D'ANGELO, MARIA");
    give(menu, command);
    QCOMPARE(f.notifier.boxes().size(), 0);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), form);
    const auto request = windows.at(0).at(1).value<WindowRequest>();
    QCOMPARE(request.modal, modal);
    QCOMPARE(request.patient.IdNum, QStringLiteral("0000123"));
    QCOMPARE(request.patient.HospNum, QStringLiteral("00153004"));
    QCOMPARE(request.patient.PatientName, QStringLiteral("D'ANGELO, MARIA"));
    QVERIFY2(!request.caption.isEmpty(), "the user needs a name for every window");
    if (form == u"frmReportViewer")
        QVERIFY2(request.command.startsWith(u"mnu"), qPrintable(request.command));
}

// --- CVOR tagging ----------------------------------------------------------------------------

void tst_MainMenu::cvorTagging_data()
{
    QTest::addColumn<bool>("outpatient");
    QTest::addColumn<bool>("lowerCaseB");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<int>("tagged");
    QTest::addColumn<QString>("remarks");
    QTest::addColumn<QString>("word");

    const QString tag = QStringLiteral("Tag as CVOR/RR Patient");
    const QString untag = QStringLiteral("Untag as CVOR/RR Patient");
    QTest::newRow("tag an inpatient") << false << false << tag << 1 << "TAGGED AS CVOR"
                                      << "tagged";
    QTest::newRow("untag an inpatient") << false << false << untag << 0 << "UNTAGGED AS CVOR"
                                        << "untagged";
    QTest::newRow("tag an outpatient") << true << false << tag << 1 << "TAGGED AS CVOR"
                                       << "tagged";
    QTest::newRow("untag an outpatient whose number ends in lower-case b")
        << true << true << untag << 0 << "UNTAGGED AS CVOR"
        << "untagged";
    QTest::newRow("tag an outpatient whose number ends in lower-case b")
        << true << true << tag << 1 << "TAGGED AS CVOR"
        << "tagged";
    QTest::newRow("caption compared in upper case")
        << false << false << "UNTAG as cvor/rr PATIENT" << 0 << "UNTAGGED AS CVOR"
        << "untagged";
    QTest::newRow("any other caption tags")
        << true << false << "Untag as CVOR Patient" << 1 << "TAGGED AS CVOR"
        << "tagged";
}

void tst_MainMenu::cvorTagging()
{
    QFETCH(bool, outpatient);
    QFETCH(bool, lowerCaseB);
    QFETCH(QString, caption);
    QFETCH(int, tagged);
    QFETCH(QString, remarks);
    QFETCH(QString, word);

    KESTREL_OPEN_DEMO(db);
    QString idNum = firstId(
        db, outpatient ? u"select IDNum from PATIENT_DATA..tbOutPatient order by IDNum limit 1"
                       : u"select IDNum from PATIENT_DATA..tbPatient order by IDNum limit 1");
    QVERIFY(!idNum.isEmpty());
    // Start from the opposite state, so that the change shows.
    QVERIFY(db.exec(outpatient
                        ? u"update PATIENT_DATA..tbOutPatient set isCVOR = :v where IDNum = :id"
                        : u"update PATIENT_DATA..tbPatient set isCVOR = :v where IDNum = :id",
                    {{QStringLiteral("v"), 1 - tagged}, {QStringLiteral("id"), idNum}}));
    const int logsBefore = cvorLogCount(db, idNum);
    if (lowerCaseB) {
        QVERIFY(idNum.endsWith(u'B'));
        idNum = idNum.left(idNum.size() - 1) + u'b';
    }

    MainWindowFixture f(db, kSupervisor);
    f.session.CurrentPatient.IdNum = idNum;
    f.session.CurrentPatient.PatientName = QStringLiteral("D'ANGELO, MARIA");
    f.dialogs.sign(kClerk);
    MainMenu menu(f.session);
    menu.setCVORCaption(caption);
    menu.mnuCVOR();

    QCOMPARE(f.dialogs.asked(), 1);
    QCOMPARE(isCvor(db, outpatient, idNum), tagged);
    QCOMPARE(cvorLogCount(db, idNum), logsBefore + 1);
    auto log = db.selectOne(u"select IdNum, Remarks, UserID, StationID, HostName "
                            u"from STATION..tbStationLogs where IdNum = :id "
                            u"order by LogID desc limit 1",
                            {{QStringLiteral("id"), idNum}});
    QVERIFY(log && *log);
    QCOMPARE((*log)->text(u"IdNum"), idNum);
    QCOMPARE((*log)->text(u"Remarks"), remarks);
    // The employee who signed is recorded, not the one logged in.
    QCOMPARE((*log)->text(u"UserID"), kClerk);
    QCOMPARE((*log)->text(u"StationID"), QStringLiteral("OR"));

    QCOMPARE(f.notifier.boxes().size(), 1);
    const RecordingNotifier::Box box = f.notifier.boxes().at(0);
    QCOMPARE(box.text, QStringLiteral("You have succesfully ") + word +
                           QStringLiteral(" patient D'ANGELO, MARIA as CVOR/RR patient."));
    QCOMPARE(box.title, kNotification);
    QCOMPARE(box.icon, Notifier::Icon::Information);
}

void tst_MainMenu::cvorTaggingCancelledWritesNothing_data()
{
    QTest::addColumn<QString>("caption");
    QTest::newRow("tag") << "Tag as CVOR/RR Patient";
    QTest::newRow("untag") << "Untag as CVOR/RR Patient";
}

void tst_MainMenu::cvorTaggingCancelledWritesNothing()
{
    QFETCH(QString, caption);

    KESTREL_OPEN_DEMO(db);
    const QString idNum =
        firstId(db, u"select IDNum from PATIENT_DATA..tbOutPatient order by IDNum limit 1");
    const int before = isCvor(db, true, idNum);
    const int logsBefore = cvorLogCount(db, idNum);

    MainWindowFixture f(db, kSupervisor);
    f.session.CurrentPatient.IdNum = idNum;
    MainMenu menu(f.session);
    menu.setCVORCaption(caption);
    menu.mnuCVOR(); // nobody signs

    QCOMPARE(f.dialogs.asked(), 1);
    QCOMPARE(isCvor(db, true, idNum), before);
    QCOMPARE(cvorLogCount(db, idNum), logsBefore);
    QCOMPARE(f.notifier.boxes().size(), 0);
}

// --- Exit --------------------------------------------------------------------------------------

void tst_MainMenu::exitQuestion_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<bool>("yes");

    for (const char *command : {"mnuExitApps", "Toolbar1.Exit", "Report.Exit"}) {
        QTest::addRow("%s, No", command) << QString::fromLatin1(command) << false;
        QTest::addRow("%s, Yes", command) << QString::fromLatin1(command) << true;
    }
}

void tst_MainMenu::exitQuestion()
{
    QFETCH(QString, command);
    QFETCH(bool, yes);

    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, kTrainee);
    MainMenu menu(f.session);
    QSignalSpy exit(&menu, &MainMenu::exitRequested);
    f.notifier.answer({yes});
    give(menu, command);

    QCOMPARE(f.notifier.boxes().size(), 1);
    const RecordingNotifier::Box box = f.notifier.boxes().at(0);
    QVERIFY(box.question);
    QCOMPARE(box.text, QStringLiteral("Are you sure you want to close Kestrel?"));
    QCOMPARE(box.title, QStringLiteral("Confirmation"));
    QCOMPARE(box.icon, Notifier::Icon::Question);
    QCOMPARE(exit.size(), yes ? 1 : 0);
}

// --- User settings -------------------------------------------------------------------------

void tst_MainMenu::userSettings_data()
{
    QTest::addColumn<QList<bool>>("passwordChecks");
    QTest::addColumn<int>("asked");
    QTest::addColumn<bool>("opened");

    QTest::newRow("right password") << QList<bool>{true} << 1 << true;
    QTest::newRow("wrong, then right: asked again, not opened")
        << QList<bool>{false, true} << 2 << false;
    QTest::newRow("wrong twice") << QList<bool>{false, false} << 2 << false;
}

void tst_MainMenu::userSettings()
{
    QFETCH(QList<bool>, passwordChecks);
    QFETCH(int, asked);
    QFETCH(bool, opened);

    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, kSupervisor);
    int calls = 0;
    MainMenu menu(f.session, [&] { return passwordChecks.value(calls++, false); });
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    menu.mnuUser();

    QCOMPARE(calls, asked);
    if (opened) {
        QCOMPARE(f.notifier.boxes().size(), 0);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows.at(0).at(0).toString(), QStringLiteral("frmUserRights"));
        QVERIFY(windows.at(0).at(1).value<WindowRequest>().modal);
        return;
    }
    QCOMPARE(windows.size(), 0);
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.boxes().at(0).text, QStringLiteral("Invalid Password"));
    QCOMPARE(f.notifier.boxes().at(0).title, kNotification);
    QCOMPARE(f.notifier.boxes().at(0).icon, Notifier::Icon::Critical);
}

// --- Charge slip setting -----------------------------------------------------------------------

void tst_MainMenu::chargeSlipSetting_data()
{
    QTest::addColumn<QString>("loggedIn");
    QTest::addColumn<QString>("signer");
    QTest::addColumn<bool>("opened");

    QTest::newRow("clerk signs") << kTrainee << kClerk << true;
    QTest::newRow("supervisor signs") << kTrainee << kSupervisor << true;
    QTest::newRow("nurse without the right signs") << kSupervisor << kScrubNurse << false;
    // Nobody signing is no right at all, even when the logged-in supervisor holds it.
    QTest::newRow("cancelled") << kSupervisor << "" << false;
}

void tst_MainMenu::chargeSlipSetting()
{
    QFETCH(QString, loggedIn);
    QFETCH(QString, signer);
    QFETCH(bool, opened);

    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, loggedIn);
    if (!signer.isEmpty())
        f.dialogs.sign(signer);
    MainMenu menu(f.session);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    menu.mnuChargeSlip();

    QCOMPARE(f.dialogs.asked(), 1);
    QCOMPARE(f.session.validated.code, signer);
    if (opened) {
        QCOMPARE(f.notifier.boxes().size(), 0);
        QCOMPARE(windows.size(), 1);
        QCOMPARE(windows.at(0).at(0).toString(), QStringLiteral("frmChargeSlipVerification"));
        QVERIFY(windows.at(0).at(1).value<WindowRequest>().modal);
        return;
    }
    QCOMPARE(windows.size(), 0);
    QCOMPARE(f.notifier.boxes().size(), 1);
    QCOMPARE(f.notifier.boxes().at(0).text,
             QStringLiteral("Sorry, you don't have access right for Charge Slip Setting."));
    QCOMPARE(f.notifier.boxes().at(0).title, kNotification);
}

// --- Walk-in assessment ----------------------------------------------------------------------

void tst_MainMenu::walkInAssessment()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, kCirculating);
    MainMenu menu(f.session);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    menu.mnuAssessment();

    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), QStringLiteral("frmAssessmentEntry"));
    const auto request = windows.at(0).at(1).value<WindowRequest>();
    QCOMPARE(request.caption, QStringLiteral("CASH ASSESSMENT ENTRY (WALK-IN PATIENTS)"));
    QCOMPARE(request.values.value(QStringLiteral("StationID")).toString(), QStringLiteral("OR"));
    // Every active revenue code of the hospital, each with its code and name.
    auto active = db.scalar(u"select count(*) from BUILD_FILE..tbCoRevenueCode where Status = 'A'");
    QVERIFY(active);
    QVERIFY(active->toInt() > 0);
    QCOMPARE(request.rows.count(), active->toInt());
    for (const Row &r : request.rows) {
        QVERIFY(!r.trimmed(u"RevenueID").isEmpty());
        QVERIFY(!r.trimmed(u"ItemName").isEmpty());
    }
}

void tst_MainMenu::walkInAssessmentFailureIsReported()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(db.execRaw(db.mapNames(u"drop table BUILD_FILE..tbCoRevenueCode")));
    MainWindowFixture f(db, kCirculating);
    MainMenu menu(f.session);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    menu.mnuAssessment();

    QCOMPARE(windows.size(), 0);
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY2(f.notifier.lastText().endsWith(u"\n\nPlease notify your IT department."),
             qPrintable(f.notifier.lastText()));
    QCOMPARE(f.notifier.boxes().at(0).title, kNotification);
}

// --- Receivables and CF4 -----------------------------------------------------------

void tst_MainMenu::receivablesTurnOffPatientCommands()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, kClerk);
    MainMenu menu(f.session);
    menu.setPatientCommandsEnabled(true);
    QSignalSpy changed(&menu, &MainMenu::menuChanged);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    menu.mnuRecvbles();

    QStringList names;
    for (const auto &args : changed)
        names << args.at(0).toString();
    names.sort();
    QCOMPARE(names, (QStringList{"mnuInfo", "mnuLedger", "mnuRS"}));
    for (const QString &name : names)
        QCOMPARE(menu.menuState(name).enabled, std::optional<bool>(false));
    // The window opens after the commands were turned off.
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), QStringLiteral("frmRecievable"));
}

void tst_MainMenu::cf4EntryIsHandedItsValues()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, kScrubNurse);
    f.session.hospital.Company = QStringLiteral("DEMO GENERAL HOSPITAL");
    f.session.hospital.Address1 = QStringLiteral("1 RIZAL AVENUE");
    f.session.ApplicationPath = QStringLiteral("/opt/kestrel");
    f.session.CurrentPatient.IdNum = QStringLiteral("0004567B");
    f.session.CurrentPatient.PatientName = QStringLiteral("CRUZ, JUAN");
    MainMenu menu(f.session);
    QSignalSpy windows(&menu, &MainMenu::windowRequested);
    menu.mnuCF4();

    QCOMPARE(windows.size(), 1);
    const QVariantMap v = windows.at(0).at(1).value<WindowRequest>().values;
    QCOMPARE(v.value("Title").toString(),
             QStringLiteral("PhilHealth CF4 Entries  - CRUZ, JUAN ( 0004567B )"));
    QCOMPARE(v.value("IdNum").toString(), QStringLiteral("0004567B"));
    QCOMPARE(v.value("StationID").toString(), QStringLiteral("OR"));
    QCOMPARE(v.value("ShowPrint").toBool(), false);
    QCOMPARE(v.value("HospitalName").toString(), QStringLiteral("DEMO GENERAL HOSPITAL"));
    QCOMPARE(v.value("HospitalAddress").toString(), QStringLiteral("1 RIZAL AVENUE"));
    QCOMPARE(v.value("ReportPath").toString(), QStringLiteral("/opt/kestrel/Reports"));
    QCOMPARE(v.value("EmployeeCode").toString(), kScrubNurse);
}

// --- The next charge slip ----------------------------------------------------------------------

void tst_MainMenu::activationReadsTheNextChargeSlip()
{
    KESTREL_OPEN_DEMO(db);
    // The hospital keeps one counter row, the OR's.
    QVERIFY(db.exec(u"delete from STATION..tbORChargeSlip where StationID <> :s",
                    {{QStringLiteral("s"), QStringLiteral("OR")}}));
    auto orSlip = db.scalar(u"select ChargeSlip from STATION..tbORChargeSlip where StationID = :s",
                            {{QStringLiteral("s"), QStringLiteral("OR")}});
    QVERIFY(orSlip && !orSlip->isNull());

    MainWindowFixture f(db, kTrainee);
    MainMenu menu(f.session);
    QSignalSpy changed(&menu, &MainMenu::nextChargeSlipChanged);
    menu.refreshNextChargeSlip();
    QCOMPARE(menu.nextChargeSlip(), orSlip->toString());
    QCOMPARE(changed.size(), 1);
    QCOMPARE(changed.at(0).at(0).toString(), orSlip->toString());

    // Another workstation posts a charge: the next activation shows the new number.
    QVERIFY(db.exec(u"update STATION..tbORChargeSlip set ChargeSlip = ChargeSlip + 1 "
                    u"where StationID = :s",
                    {{QStringLiteral("s"), QStringLiteral("OR")}}));
    menu.refreshNextChargeSlip();
    QCOMPARE(menu.nextChargeSlip(), QString::number(orSlip->toLongLong() + 1));
    QCOMPARE(changed.size(), 2);

    // No counter at all: the panel keeps what it showed, and nothing is told.
    QVERIFY(db.exec(u"delete from STATION..tbORChargeSlip"));
    menu.refreshNextChargeSlip();
    QCOMPARE(menu.nextChargeSlip(), QString::number(orSlip->toLongLong() + 1));
    QCOMPARE(f.notifier.boxes().size(), 0);
}

void tst_MainMenu::activationFailureIsToldOnce()
{
    KESTREL_OPEN_DEMO(db);
    MainWindowFixture f(db, kTrainee);
    MainMenu menu(f.session);
    QVERIFY(db.execRaw(db.mapNames(u"drop table STATION..tbORChargeSlip")));

    menu.refreshNextChargeSlip();
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY(f.notifier.lastText().endsWith(u"\n\nPlease notify your IT department."));
    QCOMPARE(f.notifier.boxes().at(0).title, kNotification);
    // Closing the box activates the main window again; the same failure is not told again.
    menu.refreshNextChargeSlip();
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY(menu.nextChargeSlip().isEmpty());

    // Once the counter reads again, a later failure is told again.
    QVERIFY(db.execRaw(db.mapNames(
        u"create table STATION..tbORChargeSlip (StationID varchar(10), ChargeSlip integer)")));
    QVERIFY(db.exec(u"insert into STATION..tbORChargeSlip (StationID, ChargeSlip) values "
                    u"('ER', 9999), ('OR', :n)",
                    {{QStringLiteral("n"), 4711}}));
    menu.refreshNextChargeSlip();
    QCOMPARE(menu.nextChargeSlip(), QStringLiteral("4711"));
    QCOMPARE(f.notifier.boxes().size(), 1);
    QVERIFY(db.execRaw(db.mapNames(u"drop table STATION..tbORChargeSlip")));
    menu.refreshNextChargeSlip();
    QCOMPARE(f.notifier.boxes().size(), 2);
    QCOMPARE(menu.nextChargeSlip(), QStringLiteral("4711"));
}

QTEST_GUILESS_MAIN(tst_MainMenu)
#include "tst_mainmenu.moc"
