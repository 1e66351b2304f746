// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window's rules: reading a rights text, the menus start-up shows or hides for a
// hospital, where a child window goes when the work area changes; and its commands against the
// demo hospital: access rights of the demo staff, the commands that want a selected patient,
// CVOR tagging, the exit question, re-validation, the walk-in assessment, receivables and the
// next charge slip number.
#include "core/AccessRights.h"
#include "core/components/EmployeeLogin.h"
#include "core/db/Database.h"
#include "core/settings/clsSettings.h"
#include "core/settings/HospitalSettings.h"
#include "shell/ClientMenus.h"
#include "shell/MainMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QSignalSpy>
#include <QTest>

using namespace kestrel;
using kestrel::test::MainWindowFixture;
using kestrel::test::RecordingNotifier;
using kestrel::test::TestDatabase;

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
const QString kNotifyIT = QStringLiteral("\n\nPlease notify your IT department.");

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

// The one box shown, in the form a message box has: text, title, icon, and no question.
void expectOneBox(const RecordingNotifier &n, const QString &text,
                  Notifier::Icon icon = Notifier::Icon::Information)
{
    QCOMPARE(n.boxes().size(), 1);
    QCOMPARE(n.boxes().at(0).text, text);
    QCOMPARE(n.boxes().at(0).title, kNotification);
    QCOMPARE(n.boxes().at(0).icon, icon);
    QVERIFY(!n.boxes().at(0).question);
}

// A logged-in main window's commands, and the windows they ask for.
struct Menu
{
    Menu(Database &db, const QString &employeeCode, std::function<bool()> passwordCheck = nullptr)
        : f(db, employeeCode)
        , menu(f.session, std::move(passwordCheck))
    {
    }
    QString form(int i = 0) const { return windows.at(i).at(0).toString(); }
    WindowRequest request(int i = 0) const { return windows.at(i).at(1).value<WindowRequest>(); }

    MainWindowFixture f;
    MainMenu menu;
    QSignalSpy windows{&menu, &MainMenu::windowRequested};
};

} // namespace

class tst_MainMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    // --- Rules without a logged-in user ----------------------------------------------------

    void rightsGrant_data()
    {
        QTest::addColumn<QString>("rights");
        QTest::addColumn<QString>("code");
        QTest::addColumn<bool>("granted");
        const auto row = [](const char *name, const char *rights, const char *code, bool granted) {
            QTest::newRow(name) << QString::fromLatin1(rights) << QString::fromLatin1(code)
                                << granted;
        };
        row("1|13 grants 13", "1|13", "13", true);
        row("1|13 does not grant 3", "1|13", "3", false);
        row("a single code grants nothing, not even itself", "9", "9", false);
        row("two-character text is read", "13", "13", true);
        row("blanks around pieces: 13", " 9 | 13 ", "13", true);
        row("leading bar: 13", "|9|13", "13", true);
        row("leading bar: 1 is no prefix of 13", "|9|13", "1", false);
        row("empty text", "", "9", false);
        row("pieces compare as text: 013 is not 13", "|013|9", "13", false);
        row("pieces compare as text: 13 is not 013", "|13|9", "013", false);
        row("code is trimmed", "|13|9", " 13 ", true);
        row("an empty piece matches an empty code", "|9|13", "", true);
        row("digits of a longer code are no match", "|22|36", "2", false);
        row("last piece counts", "|1|2|3|38", "38", true);
    }
    void rightsGrant()
    {
        QFETCH(QString, rights);
        QFETCH(QString, code);
        QFETCH(bool, granted);
        QCOMPARE(RightsGrant(rights, code), granted);
    }

    // What a client code and the station switches change against a hospital with neither:
    // "+menu" shown, "-menu" hidden.
    void startupMenus_data()
    {
        QTest::addColumn<QString>("client");
        QTest::addColumn<QStringList>("switchesOn");
        QTest::addColumn<QStringList>("changed");
        const auto row = [](const char *name, const char *client, const QStringList &switchesOn,
                            const QStringList &changed) {
            QTest::newRow(name) << QString::fromLatin1(client) << switchesOn << changed;
        };
        row("DOXAT keeps the split census", "DOXAT", {}, {"+mnuORCensus", "-mnuCensusOrig"});
        row("doxat in lower case is another hospital", "doxat", {}, {});
        row("DOXAT with a trailing blank is another hospital", "DOXAT ", {}, {});
        row("QELM's menus come from two places", "QELM", {}, {"+mnuAMPickUp", "+mnuORMandatory"});
        row("new income format flips both pairs", "", {"ShowNewFormatIncomeReport"},
            {"+mnuDetailedGUVO", "+mnuSummaryGUVO", "-mnuDetailed", "-mnuSummary"});
        row("a client and a switch each add their own", "DOXAT",
            {"EnableCVORTag", "UseNewORMarkUp"},
            {"+mnuCVOR", "+mnuCVORCensus", "+mnuMarkUp", "+mnuORCensus", "-mnuCensusOrig"});
    }
    void startupMenus()
    {
        QFETCH(QString, client);
        QFETCH(QStringList, switchesOn);
        QFETCH(QStringList, changed);

        // The station switches are only ever filled from their table, so the test fills it too.
        auto t = TestDatabase::create(test::backendOfRow(), TestDatabase::Content::SchemaOnly);
        QVERIFY2(t.has_value(), qPrintable(t ? QString() : t.error().message));
        Database &db = (*t)->db();
        const auto load = [&db](const QStringList &switchesOn) {
            for (const QString &key : switchesOn) {
                if (!db.exec(u"insert into STATION..tbNurseSetup (Field, value) values (:f, '1')",
                             {{QStringLiteral("f"), key}}))
                    qFatal("tbNurseSetup cannot be written");
            }
            HospitalSettings hs;
            clsSettings settings;
            settings.LoadParameters(db, hs);
            return settings;
        };
        const QHash<QString, bool> plain = StartupMenuVisibility(HospitalSettings(), load({}));
        // Without a switch the mark-up window, designed visible, is hidden; any other hospital
        // than the one has the single census.
        QCOMPARE(plain.value(QStringLiteral("mnuMarkUp"), true), false);
        QCOMPARE(plain.value(QStringLiteral("mnuORCensus"), true), false);
        QCOMPARE(plain.value(QStringLiteral("mnuDetailed"), false), true);

        HospitalSettings hs;
        hs.clientname = client;
        const QHash<QString, bool> menus = StartupMenuVisibility(hs, load(switchesOn));
        QStringList differences;
        for (auto it = menus.cbegin(); it != menus.cend(); ++it) {
            if (!plain.contains(it.key()) || plain.value(it.key()) != it.value())
                differences << (it.value() ? u'+' : u'-') + it.key();
        }
        for (auto it = plain.cbegin(); it != plain.cend(); ++it)
            QVERIFY2(menus.contains(it.key()), qPrintable(it.key()));
        differences.sort();
        QCOMPARE(differences, changed);
    }

    void keepInsideWorkArea_data()
    {
        QTest::addColumn<QRect>("child");
        QTest::addColumn<QRect>("workArea");
        QTest::addColumn<QRect>("placed");

        const QRect area(0, 0, 800, 600);
        QTest::newRow("smaller child stays")
            << QRect(700, 40, 300, 200) << area << QRect(700, 40, 300, 200);
        QTest::newRow("too wide") << QRect(120, 40, 900, 200) << area << QRect(0, 40, 800, 200);
        QTest::newRow("exactly as wide is fitted too")
            << QRect(30, 40, 800, 200) << area << QRect(0, 40, 800, 200);
        QTest::newRow("too tall") << QRect(50, 90, 300, 650) << area << QRect(50, 0, 300, 600);
        QTest::newRow("too wide and too tall")
            << QRect(-20, -10, 1000, 700) << area << QRect(0, 0, 800, 600);
        QTest::newRow("work area not at the origin")
            << QRect(10, 10, 1000, 300) << QRect(0, 30, 800, 560) << QRect(0, 10, 800, 300);
        QTest::newRow("one pixel narrower stays")
            << QRect(30, 40, 799, 599) << area << QRect(30, 40, 799, 599);
    }
    void keepInsideWorkArea()
    {
        QFETCH(QRect, child);
        QFETCH(QRect, workArea);
        QFETCH(QRect, placed);
        QCOMPARE(kestrel::keepInsideWorkArea(child, workArea), placed);
    }

    // --- Access rights ----------------------------------------------------------------------

    void hasAccessRight_data()
    {
        QTest::addColumn<QString>("loggedIn");
        QTest::addColumn<QString>("code");
        QTest::addColumn<QString>("employee");
        QTest::addColumn<bool>("granted");
        const auto row = [](const char *name, const QString &loggedIn, const char *code,
                            const QString &employee, bool granted) {
            QTest::newRow(name) << loggedIn << QString::fromLatin1(code) << employee << granted;
        };
        const QString nobody;

        // How a rights text is read is tst_shellrules' part; here, whose rights are read.
        row("supervisor revokes charges", kSupervisor, "22", nobody, true);
        row("scrub nurse has no assessment entry", kScrubNurse, "9", nobody, false);
        row("circulating nurse enters assessments", kCirculating, "9", nobody, true);
        row("trainee without a rights row", kTrainee, "3", nobody, false);
        row("ward nurse has no clinical operation", kWardNurse, "25", nobody, false);
        row("named employee instead of the user", kTrainee, "13", kClerk, true);
        row("named employee with blanks", kTrainee, "21", QStringLiteral(" 2905 "), true);
        row("unknown employee", kSupervisor, "3", QStringLiteral("9999"), false);
        row("20 needs a validated employee, even for the supervisor", kSupervisor, "20", nobody,
            false);
        row("20 with blanks only as employee", kSupervisor, "20", QStringLiteral("   "), false);
        row("20 of the validated clerk", kTrainee, "20", kClerk, true);
        row("20 of a validated nurse without it", kSupervisor, "20", kScrubNurse, false);
        row("nobody logged in", nobody, "9", nobody, false);
    }
    void hasAccessRight()
    {
        QFETCH(QString, loggedIn);
        QFETCH(QString, code);
        QFETCH(QString, employee);
        QFETCH(bool, granted);

        KESTREL_OPEN_DEMO(db);
        // A rights row without an employee is nobody's: not even nobody's.
        QVERIFY(db.exec(u"insert into STATION..tbNurseUserRights (EmployeeID, EmployeeRights) "
                        u"values ('', '|3|9|13|20|21|22|25|')"));
        MainWindowFixture f(db, loggedIn);
        QCOMPARE(HasAccessRight(f.session, code, employee), granted);
        QCOMPARE(f.notifier.boxes().size(), 0);
    }

    void rightsGuardCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("loggedIn");
        QTest::addColumn<QString>("refusal"); // none: the command goes ahead
        const auto row = [](const char *name, const char *command, const QString &loggedIn,
                            const QString &refusal) {
            QTest::newRow(name) << QString::fromLatin1(command) << loggedIn << refusal;
        };
        const QString assessment =
            QStringLiteral("Sorry, you don't have access right for Assessment Entry.");
        const QString detailed =
            QStringLiteral("Sorry, you don't have access right to view Detailed Income Report.");
        const QString summary =
            QStringLiteral("Sorry, you don't have access right to view Summary Income Report.");

        row("assessment refused", "mnuAssessment", kScrubNurse, assessment);
        row("assessment granted", "mnuAssessment", kCirculating, {});
        row("receivables refused", "mnuRecvbles", kCirculating,
            QStringLiteral("Sorry, you don't have access right for Receivable Entry."));
        row("receivables granted", "mnuRecvbles", kClerk, {});
        row("clinical operation refused", "Toolbar1.Operation", kClerk,
            QStringLiteral("Sorry, you don't have access right on Clinical Operation."));
        row("clinical operation granted", "Toolbar1.Operation", kTechnician, {});
        row("detailed income refused", "mnuDetailed", kScrubNurse, detailed);
        row("detailed income granted", "mnuDetailed", kClerk, {});
        row("new format detailed refused", "mnuProcedureCount", kTechnician, detailed);
        row("new format summary asks the detailed right", "mnuGUVOIncomeReport", kTechnician,
            detailed);
        row("old format summary refused", "mnuOldFormatIncomeSummary", kCirculating, summary);
        row("old format summary granted", "mnuOldFormatIncomeSummary", kClerk, {});
    }
    void rightsGuardCommands()
    {
        QFETCH(QString, command);
        QFETCH(QString, loggedIn);
        QFETCH(QString, refusal);

        KESTREL_OPEN_DEMO(db);
        Menu m(db, loggedIn);
        m.menu.setPatientCommandsEnabled(true);
        give(m.menu, command);
        if (refusal.isEmpty()) {
            QCOMPARE(m.f.notifier.boxes().size(), 0);
            QCOMPARE(m.windows.size(), 1);
            return;
        }
        QCOMPARE(m.windows.size(), 0);
        expectOneBox(m.f.notifier, refusal);
        // A refusal changes nothing: the patient commands stay as they were.
        QCOMPARE(m.menu.menuState(QStringLiteral("mnuInfo")).enabled, std::optional<bool>(true));
    }

    // --- The selected patient -------------------------------------------------------------

    void patientCommandsWantAPatient_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("patientRequired");
        for (const char *c : {"mnuSterilizationConsent", "mnuSurgicalTreatment",
                              "mnuConsentTreatment", "mnuHourlyMonitoring", "mnuLRForm", "mnuPreOp",
                              "mnuPreAnesFirst", "mnuReprintLab", "mnuSSC", "mnuSOA"})
            QTest::newRow(c) << QString::fromLatin1(c) << true;
        // Their neighbours in the menus open without one.
        for (const char *c :
             {"mnuSpecialTreatment", "mnuFluid", "mnuInfo", "mnuCF4", "Toolbar1.Open"})
            QTest::newRow(c) << QString::fromLatin1(c) << false;
    }
    void patientCommandsWantAPatient()
    {
        QFETCH(QString, command);
        QFETCH(bool, patientRequired);

        KESTREL_OPEN_DEMO(db);
        // The supervisor holds every right, so only the patient can stop a command here.
        Menu m(db, kSupervisor);
        give(m.menu, command);
        if (patientRequired) {
            QCOMPARE(m.windows.size(), 0);
            expectOneBox(m.f.notifier, QStringLiteral("Please select patient."));
        } else {
            QCOMPARE(m.f.notifier.boxes().size(), 0);
            QCOMPARE(m.windows.size(), 1);
        }

        // A patient selected: the window opens and is handed the stay.
        m.windows.clear();
        m.f.notifier.clear();
        CurrentPatientRecord &patient = m.f.session.CurrentPatient;
        patient.IdNum = QStringLiteral("0000123");
        patient.HospNum = QStringLiteral("00153004");
        patient.PatientName = QStringLiteral("D'ANGELO, MARIA");
        give(m.menu, command);
        QCOMPARE(m.f.notifier.boxes().size(), 0);
        QCOMPARE(m.windows.size(), 1);
        QCOMPARE(m.request().patient.IdNum, QStringLiteral("0000123"));
        QCOMPARE(m.request().patient.HospNum, QStringLiteral("00153004"));
        QCOMPARE(m.request().patient.PatientName, QStringLiteral("D'ANGELO, MARIA"));
    }

    // --- CVOR tagging ------------------------------------------------------------------------

    void cvorTagging_data()
    {
        QTest::addColumn<bool>("outpatient");
        QTest::addColumn<bool>("lowerCaseB");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("signs");
        QTest::addColumn<bool>("tags"); // else untags
        const auto row = [](const char *name, bool outpatient, bool lowerCaseB, const char *caption,
                            bool signs, bool tags) {
            QTest::newRow(name) << outpatient << lowerCaseB << QString::fromLatin1(caption) << signs
                                << tags;
        };
        const char *tag = "Tag as CVOR/RR Patient";
        const char *untag = "Untag as CVOR/RR Patient";

        row("tag an inpatient", false, false, tag, true, true);
        row("untag an inpatient", false, false, untag, true, false);
        row("tag an outpatient", true, false, tag, true, true);
        row("untag an outpatient whose number ends in lower-case b", true, true, untag, true,
            false);
        row("caption compared in upper case", false, false, "UNTAG as cvor/rr PATIENT", true,
            false);
        row("any other caption tags", true, false, "Untag as CVOR Patient", true, true);
        row("nobody signs: not tagged", true, false, tag, false, true);
        row("nobody signs: not untagged", true, false, untag, false, false);
    }
    void cvorTagging()
    {
        QFETCH(bool, outpatient);
        QFETCH(bool, lowerCaseB);
        QFETCH(QString, caption);
        QFETCH(bool, signs);
        QFETCH(bool, tags);

        KESTREL_OPEN_DEMO(db);
        // The table's name is the test's own, never anything typed.
        const QString stays = outpatient ? QStringLiteral("PATIENT_DATA..tbOutPatient")
                                         : QStringLiteral("PATIENT_DATA..tbPatient");
        auto first = db.scalar(QStringLiteral("select min(IDNum) from %1").arg(stays));
        QVERIFY(first && !first->toString().isEmpty());
        QString idNum = first->toString();
        const auto state = [&] {
            auto tag =
                db.scalar(QStringLiteral("select isCVOR from %1 where IDNum = :id").arg(stays),
                          {{QStringLiteral("id"), idNum}});
            auto logs = db.scalar(u"select count(*) from STATION..tbStationLogs "
                                  u"where IdNum = :id and Remarks like '%AS CVOR'",
                                  {{QStringLiteral("id"), idNum}});
            return std::pair(tag ? tag->toInt() : -1, logs ? logs->toInt() : -1);
        };
        // Start from the opposite state, so that the change shows.
        const int start = tags ? 0 : 1;
        QVERIFY(db.exec(QStringLiteral("update %1 set isCVOR = :v where IDNum = :id").arg(stays),
                        {{QStringLiteral("v"), start}, {QStringLiteral("id"), idNum}}));
        const auto before = state(); // tagged, and how often the log says so
        if (lowerCaseB) {
            QVERIFY(idNum.endsWith(u'B'));
            idNum = idNum.left(idNum.size() - 1) + u'b';
        }

        Menu m(db, kSupervisor);
        m.f.session.CurrentPatient.IdNum = idNum;
        m.f.session.CurrentPatient.PatientName = QStringLiteral("D'ANGELO, MARIA");
        if (signs)
            m.f.dialogs.sign(kClerk);
        m.menu.setCVORCaption(caption);
        m.menu.mnuCVOR();

        QCOMPARE(m.f.dialogs.asked(), 1);
        if (!signs) {
            QCOMPARE(state(), before);
            QCOMPARE(m.f.notifier.boxes().size(), 0);
            return;
        }
        QCOMPARE(state(), std::pair(1 - start, before.second + 1));
        auto log =
            db.selectOne(u"select IdNum, Remarks, UserID, StationID from "
                         u"STATION..tbStationLogs where IdNum = :id order by LogID desc limit 1",
                         {{QStringLiteral("id"), idNum}});
        QVERIFY(log && *log);
        // The employee who signed is recorded, not the one logged in.
        const QString remarks =
            tags ? QStringLiteral("TAGGED AS CVOR") : QStringLiteral("UNTAGGED AS CVOR");
        QCOMPARE((QStringList{(*log)->text(u"IdNum"), (*log)->text(u"Remarks"),
                              (*log)->text(u"UserID"), (*log)->text(u"StationID")}),
                 (QStringList{idNum, remarks, kClerk, QStringLiteral("OR")}));
        expectOneBox(m.f.notifier,
                     QStringLiteral("You have succesfully %1 patient D'ANGELO, "
                                    "MARIA as CVOR/RR patient.")
                         .arg(tags ? QStringLiteral("tagged") : QStringLiteral("untagged")));
    }

    // --- Exit and re-validation --------------------------------------------------------------

    void exitQuestion_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("yes");
        for (const char *command : {"mnuExitApps", "Toolbar1.Exit", "Report.Exit"}) {
            QTest::addRow("%s, No", command) << QString::fromLatin1(command) << false;
            QTest::addRow("%s, Yes", command) << QString::fromLatin1(command) << true;
        }
    }
    void exitQuestion()
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

    // Two commands that ask who is at the keyboard: user settings ask the logged-in user's
    // password again, the charge slip setting wants someone with the right to sign.
    void revalidation_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<QString>("loggedIn");
        QTest::addColumn<QList<bool>>("passwordChecks");
        QTest::addColumn<QString>("signer");
        QTest::addColumn<int>("asked");
        QTest::addColumn<QString>("form"); // none: refused
        QTest::addColumn<bool>("locked");  // the logged-in code locked by wrong passwords
        const QString userSettings = QStringLiteral("frmUserRights");
        const QString chargeSlip = QStringLiteral("frmChargeSlipVerification");
        const auto row = [](const char *name, const char *command, const QString &loggedIn,
                            const QList<bool> &checks, const QString &signer, int asked,
                            const QString &form, bool locked = false) {
            QTest::newRow(name) << QString::fromLatin1(command) << loggedIn << checks << signer
                                << asked << form << locked;
        };
        row("right password", "mnuUser", kSupervisor, {true}, {}, 1, userSettings);
        row("wrong, then right: asked again, not opened", "mnuUser", kSupervisor, {false, true}, {},
            2, {});
        row("wrong twice", "mnuUser", kSupervisor, {false, false}, {}, 2, {});
        // The check has told a locked code until when: no "Invalid Password", no second ask.
        row("locked code", "mnuUser", kSupervisor, {false}, {}, 1, {}, true);
        row("clerk signs", "mnuChargeSlip", kTrainee, {}, kClerk, 1, chargeSlip);
        row("supervisor signs", "mnuChargeSlip", kTrainee, {}, kSupervisor, 1, chargeSlip);
        row("nurse without the right signs", "mnuChargeSlip", kSupervisor, {}, kScrubNurse, 1, {});
        // Nobody signing is no right at all, even when the logged-in supervisor holds it.
        row("nobody signs", "mnuChargeSlip", kSupervisor, {}, {}, 1, {});
    }
    void revalidation()
    {
        QFETCH(QString, command);
        QFETCH(QString, loggedIn);
        QFETCH(QList<bool>, passwordChecks);
        QFETCH(QString, signer);
        QFETCH(int, asked);
        QFETCH(QString, form);
        QFETCH(bool, locked);

        KESTREL_OPEN_DEMO(db);
        for (int i = 0; locked && i < 5; ++i)
            QVERIFY(checkEmployeePassword(db, loggedIn, QStringLiteral("not the password")));
        int calls = 0;
        Menu m(db, loggedIn, [&] { return passwordChecks.value(calls++, false); });
        if (!signer.isEmpty())
            m.f.dialogs.sign(signer);
        give(m.menu, command);

        QCOMPARE(calls + m.f.dialogs.asked(), asked);
        QCOMPARE(m.f.session.validated.code, signer);
        if (form.isEmpty()) {
            QCOMPARE(m.windows.size(), 0);
            if (locked)
                QCOMPARE(m.f.notifier.boxes().size(), 0);
            else if (command == u"mnuUser")
                expectOneBox(m.f.notifier, QStringLiteral("Invalid Password"),
                             Notifier::Icon::Critical);
            else
                expectOneBox(m.f.notifier, QStringLiteral("Sorry, you don't have access right "
                                                          "for Charge Slip Setting."));
            return;
        }
        QCOMPARE(m.f.notifier.boxes().size(), 0);
        QCOMPARE(m.windows.size(), 1);
        QCOMPARE(m.form(), form);
        QVERIFY(m.request().modal);
    }

    // --- What some windows are handed ------------------------------------------------------

    void walkInAssessment()
    {
        KESTREL_OPEN_DEMO(db);
        Menu m(db, kCirculating);
        m.menu.mnuAssessment();

        QCOMPARE(m.windows.size(), 1);
        const WindowRequest request = m.request();
        QCOMPARE(request.caption, QStringLiteral("CASH ASSESSMENT ENTRY (WALK-IN PATIENTS)"));
        QCOMPARE(request.values.value(QStringLiteral("StationID")).toString(),
                 QStringLiteral("OR"));
        // Every active revenue code of the hospital, each with its code and name.
        auto active =
            db.scalar(u"select count(*) from BUILD_FILE..tbCoRevenueCode where Status = 'A'");
        QVERIFY(active && active->toInt() > 0);
        QCOMPARE(request.rows.count(), active->toInt());
        for (const Row &r : request.rows)
            QVERIFY(!r.trimmed(u"RevenueID").isEmpty() && !r.trimmed(u"ItemName").isEmpty());

        // A list that cannot be read opens nothing and is told.
        Menu broken(db, kCirculating);
        QVERIFY(db.execRaw(db.mapNames(u"drop table BUILD_FILE..tbCoRevenueCode")));
        broken.menu.mnuAssessment();
        QCOMPARE(broken.windows.size(), 0);
        QCOMPARE(broken.f.notifier.boxes().size(), 1);
        QVERIFY2(broken.f.notifier.lastText().endsWith(kNotifyIT),
                 qPrintable(broken.f.notifier.lastText()));
    }

    void receivablesTurnOffPatientCommands()
    {
        KESTREL_OPEN_DEMO(db);
        Menu m(db, kClerk);
        m.menu.setPatientCommandsEnabled(true);
        QSignalSpy changed(&m.menu, &MainMenu::menuChanged);
        m.menu.mnuRecvbles();

        QStringList names;
        for (const auto &args : changed)
            names << args.at(0).toString();
        names.sort();
        QCOMPARE(names, (QStringList{"mnuInfo", "mnuLedger", "mnuRS"}));
        for (const QString &name : names)
            QCOMPARE(m.menu.menuState(name).enabled, std::optional<bool>(false));
        // The window opens after the commands were turned off.
        QCOMPARE(m.windows.size(), 1);
        QCOMPARE(m.form(), QStringLiteral("frmRecievable"));
    }

    // --- The next charge slip ----------------------------------------------------------------

    void activationReadsTheNextChargeSlip()
    {
        KESTREL_OPEN_DEMO(db);
        const Binds station{{QStringLiteral("s"), QStringLiteral("OR")}};
        // The hospital keeps one counter row, the OR's.
        QVERIFY(db.exec(u"delete from STATION..tbORChargeSlip where StationID <> :s", station));
        auto orSlip = db.scalar(
            u"select ChargeSlip from STATION..tbORChargeSlip where StationID = :s", station);
        QVERIFY(orSlip && !orSlip->isNull());

        Menu m(db, kTrainee);
        QSignalSpy changed(&m.menu, &MainMenu::nextChargeSlipChanged);
        m.menu.refreshNextChargeSlip();
        QCOMPARE(m.menu.nextChargeSlip(), orSlip->toString());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.at(0).at(0).toString(), orSlip->toString());

        // Another workstation posts a charge: the next activation shows the new number.
        QVERIFY(db.exec(u"update STATION..tbORChargeSlip set ChargeSlip = ChargeSlip + 1 "
                        u"where StationID = :s",
                        station));
        m.menu.refreshNextChargeSlip();
        const QString next = QString::number(orSlip->toLongLong() + 1);
        QCOMPARE(m.menu.nextChargeSlip(), next);
        QCOMPARE(changed.size(), 2);

        // No counter at all: the panel keeps what it showed, and nothing is told.
        QVERIFY(db.exec(u"delete from STATION..tbORChargeSlip"));
        m.menu.refreshNextChargeSlip();
        QCOMPARE(m.menu.nextChargeSlip(), next);
        QCOMPARE(m.f.notifier.boxes().size(), 0);

        // A counter that cannot be read is told; closing the box activates the main window
        // again, and the same failure is not told again.
        QVERIFY(db.execRaw(db.mapNames(u"drop table STATION..tbORChargeSlip")));
        m.menu.refreshNextChargeSlip();
        m.menu.refreshNextChargeSlip();
        QCOMPARE(m.f.notifier.boxes().size(), 1);
        QVERIFY(m.f.notifier.lastText().endsWith(kNotifyIT));
        QCOMPARE(m.f.notifier.boxes().at(0).title, kNotification);
        QCOMPARE(m.menu.nextChargeSlip(), next);

        // Once the counter reads again (a table like the one it replaces), a later failure is
        // told again.
        QVERIFY(db.execRaw(db.mapNames(u"create table STATION..tbORChargeSlip "
                                       u"(StationID varchar(10), ChargeSlip bigint)")));
        QVERIFY(db.exec(u"insert into STATION..tbORChargeSlip (StationID, ChargeSlip) values "
                        u"('ER', 9999), ('OR', :n)",
                        {{QStringLiteral("n"), 4711}}));
        m.menu.refreshNextChargeSlip();
        QCOMPARE(m.menu.nextChargeSlip(), QStringLiteral("4711"));
        QVERIFY(db.execRaw(db.mapNames(u"drop table STATION..tbORChargeSlip")));
        m.menu.refreshNextChargeSlip();
        QCOMPARE(m.f.notifier.boxes().size(), 2);
        QCOMPARE(m.menu.nextChargeSlip(), QStringLiteral("4711"));
    }
};

QTEST_GUILESS_MAIN(tst_MainMenu)
#include "tst_mainmenu.moc"
