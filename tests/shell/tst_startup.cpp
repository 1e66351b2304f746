// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/Assistant.h"
#include "core/components/LoginPrompt.h"
#include "core/db/Database.h"
#include "core/InstanceGuard.h"
#include "core/Session.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "shell/Startup.h"
#include "support/RecordingNotifier.h"
#include "support/ScriptedLoginPrompt.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {

struct FakeAssistant : Assistant
{
    bool load(const QString &file) override { return loaded = QFile::exists(file); }
    QSize size() const override { return {128, 128}; }
    void moveTo(int left, int top) override { position = {left, top}; }
    void show() override {}
    void hide() override {}
    void speak(const QString &) override {}
    void unload() override { unloaded = true; }
    bool isLoaded() const override { return loaded; }

    QPoint position;
    bool loaded = false;
    bool unloaded = false;
};

struct FakeWindow : StartupWindow
{
    bool loadBackground(const QString &file) override { return !QImage(file).isNull(); }
    void setCaption(const QString &c) override { caption = c; }
    void setPanel(int index, const QString &text, const QString &tip) override
    {
        panels[index] = text;
        tips[index] = tip;
    }
    QString panelText(int index) const override { return panels.value(index); }
    void setMenuVisible(const QString &name, bool visible) override { menus[name] = visible; }
    QSize screenSize() const override { return {1280, 1024}; }
    QObject *windowObject() override { return &object; }

    QString caption;
    QHash<int, QString> panels{{7, QStringLiteral("12/01/2026")},
                               {8, QStringLiteral("Server Name")}};
    QHash<int, QString> tips;
    QHash<QString, bool> menus;
    QObject object;
};

// One run of start-up against a fresh demo hospital, with the pictures in place unless a
// test removes them.
struct Rig
{
    std::unique_ptr<TestDatabase> hospital;
    QTemporaryDir appFolder;
    QTemporaryDir lockFolder;
    test::RecordingNotifier notifier;
    FakeAssistant assistant;
    FakeWindow window;
    test::ScriptedLoginPrompt login;
    InstanceGuard guard{QStringLiteral("kestrel-test"), lockFolder.path()};
    ComponentContext context{notifier};
    struct NoDialogs : Dialogs
    {
        ValidatedUser validateUser(bool) override { return {}; }
    } dialogs;
    Session session{notifier, dialogs};
    std::unique_ptr<Startup> startup;

    bool prepare()
    {
        auto t = TestDatabase::create(test::backendOfRow());
        if (!t)
            return false;
        hospital = std::move(*t);
        QImage picture(8, 8, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        if (!picture.save(appFolder.filePath(QStringLiteral("Main Menu1.jpg")), "JPG") ||
            !picture.save(appFolder.filePath(QStringLiteral("merlin.acs")), "PNG"))
            return false;
        session.ApplicationPath = appFolder.path();
        context.applicationPath = appFolder.path();
        context.loginPrompt = &login;
        context.procedures = hospitaldb::hospitalProcedures();
        // "Embedded demo hospital" is this test's own copy, reached by a second connection.
        const ConnectionSettings where = hospital->settings();
        context.openEmbedded = [where](const QString &) -> Result<std::unique_ptr<Database>> {
            auto db = Database::open(where);
            if (db) {
                (*db)->setProcedures(hospitaldb::hospitalProcedures());
                (void)(*db)->pinClock(test::fixtureNow());
            }
            return db;
        };
        StartupEnvironment env{notifier, assistant, window, guard, context, nullptr, {}, {}};
        env.version = QStringLiteral("8.1.169");
        env.menuVisibility = [](const Session &s) {
            return QHash<QString, bool>{
                {QStringLiteral("mnuORCensus"), s.hospital.clientname == u"DOXAT"}};
        };
        startup = std::make_unique<Startup>(session, env);
        return true;
    }

    int stationLogRows()
    {
        auto n = hospital->db().scalar(u"select count(*) from STATION..tbStationLogs");
        return n ? n->toInt() : -1;
    }
};

} // namespace

class tst_Startup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    // A workstation that writes its dates the American way.
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void serverPanel_data()
    {
        QTest::addColumn<bool>("hide");
        QTest::addColumn<QString>("server");
        QTest::addColumn<QString>("expected");
        const auto row = [](const char *name, bool hide, const char *server, const char *shown) {
            QTest::newRow(name) << hide << QString::fromLatin1(server)
                                << QString(u"Server Name : " + QString::fromLatin1(shown));
        };
        row("shown", false, "ORSRV01", "ORSRV01");
        row("live", true, "10.1.1.5", "LIVE SERVER");
        row("test", true, "10.1.1.9", "TEST SERVER");
        row("neither", true, "10.1.1.7", "UNKNOWN SERVER");
        row("compared as stored", true, "10.1.1.5 ", "UNKNOWN SERVER");
    }
    void serverPanel()
    {
        QFETCH(bool, hide);
        QFETCH(QString, server);
        QFETCH(QString, expected);
        QCOMPARE(Startup::serverPanelText(QStringLiteral("Server Name"), hide, server,
                                          QStringLiteral("10.1.1.5"), QStringLiteral("10.1.1.9")),
                 expected);
    }

    void refusalsEndBeforeAnythingIsWritten_data();
    void refusalsEndBeforeAnythingIsWritten();
    void secondCopyIsTurnedAway();
    void loggedInStartLeavesTheSessionReady();
    void componentsFollowTheHospital();
};

void tst_Startup::refusalsEndBeforeAnythingIsWritten_data()
{
    QTest::addColumn<QString>("situation");
    QTest::addColumn<int>("outcome");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    const QString login = QStringLiteral("Login failed.");
    const QString assistant = QStringLiteral("There's something wrong with Microsoft Agent "
                                             "Merlin.\n\nPlease make sure he's not missing.");
    const QString picture = QStringLiteral(
        "The file 'Main Menu1.jpg' is missing.\n\nPlease notify your IT administrator.");
    const auto row = [](const char *name, const char *situation, Startup::Outcome outcome,
                        const QString &message, const char *title) {
        QTest::newRow(name) << QString::fromLatin1(situation) << int(outcome) << message
                            << QString::fromLatin1(title);
    };
    using O = Startup::Outcome;
    row("login cancelled", "cancel", O::LoginFailed, login, "Warning");
    row("wrong password", "wrong", O::LoginFailed, login, "Warning");
    row("assistant missing", "noassistant", O::AssistantMissing, assistant, "Warning");
    row("picture missing", "nopicture", O::PictureMissing, picture, "Warning");
    row("maintenance", "maintenance", O::UnderMaintenance,
        QStringLiteral("Back in an hour: new charging rates."), "Notification");
    row("maintenance without a message", "maintenance-empty", O::UnderMaintenance, QString(),
        "Notification");
    // Order: the login comes before the pictures, the assistant before the background, and
    // the pictures before the settings are even read.
    row("login before pictures", "cancel noassistant nopicture", O::LoginFailed, login, "Warning");
    row("assistant before background", "noassistant nopicture", O::AssistantMissing, assistant,
        "Warning");
    row("pictures before maintenance", "nopicture maintenance", O::PictureMissing, picture,
        "Warning");
}

void tst_Startup::refusalsEndBeforeAnythingIsWritten()
{
    QFETCH(QString, situation);
    QFETCH(int, outcome);
    QFETCH(QString, message);
    QFETCH(QString, title);
    Rig rig;
    QVERIFY(rig.prepare());
    const int logsBefore = rig.stationLogRows();
    const QStringList parts = situation.split(u' ');
    if (parts.contains(u"wrong")) {
        for (int i = 0; i < 3; ++i)
            rig.login.answerLogin(QStringLiteral("2901"), QStringLiteral("not-the-password"));
    } else if (!parts.contains(u"cancel")) {
        rig.login.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));
    }
    if (parts.contains(u"noassistant"))
        QFile::remove(rig.appFolder.filePath(QStringLiteral("merlin.acs")));
    if (parts.contains(u"nopicture"))
        QFile::remove(rig.appFolder.filePath(QStringLiteral("Main Menu1.jpg")));
    if (parts.contains(u"maintenance") || parts.contains(u"maintenance-empty")) {
        const QString text =
            parts.contains(u"maintenance") && outcome == int(Startup::Outcome::UnderMaintenance)
                ? message
                : QStringLiteral("Closed for the audit.");
        QVERIFY(rig.hospital->db().exec(
            u"insert into STATION..tbNurseSetup (Field, value, Description) values "
            u"('ORUnderMaintenance', '1', :d)",
            {{QStringLiteral("d"), parts.contains(u"maintenance-empty") ? QString() : text}}));
    }

    QCOMPARE(int(rig.startup->run()), outcome);
    QCOMPARE(rig.notifier.boxes().size(), 1);
    QCOMPARE(rig.notifier.lastText(), message);
    QCOMPARE(rig.notifier.boxes().last().title, title);
    QCOMPARE(rig.notifier.boxes().last().icon, Notifier::Icon::Critical);
    QCOMPARE(rig.stationLogRows(), logsBefore);
    QVERIFY(rig.window.caption.isEmpty());
    QVERIFY(!rig.session.LoggedIn);
}

void tst_Startup::secondCopyIsTurnedAway()
{
    Rig rig;
    QVERIFY(rig.prepare());
    InstanceGuard first(QStringLiteral("kestrel-test"), rig.lockFolder.path());
    QVERIFY(first.acquire());
    rig.login.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));

    QCOMPARE(rig.startup->run(), Startup::Outcome::AlreadyRunning);
    QCOMPARE(rig.notifier.lastText(), QStringLiteral("Kestrel is already running."));
    QCOMPARE(rig.notifier.boxes().last().title, QStringLiteral("Notification"));
    // The login was never asked, and the first copy still holds its place.
    QCOMPARE(rig.login.loginAsks(), 0);
    InstanceGuard third(QStringLiteral("kestrel-test"), rig.lockFolder.path());
    QVERIFY(!third.acquire());
}

void tst_Startup::loggedInStartLeavesTheSessionReady()
{
    Rig rig;
    QVERIFY(rig.prepare());
    rig.login.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));

    QCOMPARE(rig.startup->run(), Startup::Outcome::Running);
    QVERIFY2(rig.notifier.boxes().isEmpty(), qPrintable(rig.notifier.lastText()));
    QVERIFY(rig.session.LoggedIn);
    QCOMPARE(rig.session.StationID, QStringLiteral("OR"));
    QCOMPARE(rig.session.StationName, QStringLiteral("Operating Room"));
    QCOMPARE(rig.session.ServerDate, test::fixtureToday());
    QCOMPARE(rig.session.employeeCode(), QStringLiteral("2901"));
    QCOMPARE(rig.window.caption, QStringLiteral("Tarvik - Operating Room 8.1.169"));

    auto log = rig.hospital->db().selectOne(
        u"select IdNum, TransDate, Remarks, UserID, HostName, StationID from "
        u"STATION..tbStationLogs order by LogID desc limit 1");
    QVERIFY(log && *log);
    const Row &row = **log;
    QCOMPARE((QStringList{row.text(u"Remarks"), row.text(u"IdNum"), row.text(u"UserID"),
                          row.text(u"StationID"), row.text(u"HostName")}),
             (QStringList{"Log In: Version: 8.1.169", "2901", "2901", "OR", "OR-TEST-01"}));
    QCOMPARE(row.dateTime(u"TransDate"), test::fixtureNow());

    QCOMPARE(rig.assistant.position, QPoint(1280 - 128, 1024 - 128));
    QCOMPARE(rig.window.panels.value(2), rig.session.currentUser()->Initial());
    QCOMPARE(rig.window.panels.value(3), QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"));
    QCOMPARE(rig.window.tips.value(7), QStringLiteral("Tuesday, December 1, 2026"));
    QCOMPARE(rig.window.panels.value(8),
             QStringLiteral("Server Name : ") + rig.session.currentUser()->servername());
    QCOMPARE(rig.window.tips.value(8), QStringLiteral("Server Name"));
    QCOMPARE(rig.window.menus.value(QStringLiteral("mnuORCensus"), true), false);
    QVERIFY(rig.startup->helpFile().endsWith(u"Reports/OR.Hlp"));

    rig.startup->unload();
    QVERIFY(rig.assistant.unloaded);
    QVERIFY(!rig.session.LoggedIn);
    QVERIFY(!rig.startup->components().patientFinder);
    InstanceGuard next(QStringLiteral("kestrel-test"), rig.lockFolder.path());
    QVERIFY(next.acquire());
}

void tst_Startup::componentsFollowTheHospital()
{
    Rig rig;
    QVERIFY(rig.prepare());
    QVERIFY(rig.hospital->db().exec(u"update PATIENT_DATA..tbHospitalInfo set Bygeneric = 1, "
                                    u"clientname = 'DOXAT'"));
    rig.context.missingComponents << QStringLiteral("KsRvs.clsRvsLookup");
    rig.login.answerLogin(QStringLiteral("2901"), QStringLiteral("orsupervisor"));

    QCOMPARE(rig.startup->run(), Startup::Outcome::Running);
    ComponentSet &c = rig.startup->components();
    // With generic names on, charging lists drugs by generic name; the second list is always
    // by brand.
    QVERIFY(c.drugList);
    QCOMPARE(c.drugList->progId(), QStringLiteral("KsGenericList.clsGenericList"));
    QCOMPARE(c.brandDrugList->progId(), QStringLiteral("KsDrugList.clsDrugList"));
    // A component the installation lacks stays empty and start-up goes on without a word.
    QVERIFY(!c.rvsLookup);
    QVERIFY(c.patientFinder && c.codeLookup && c.icdLookup && c.patientInfo);
    QVERIFY(rig.notifier.boxes().isEmpty());
    QCOMPARE(rig.window.menus.value(QStringLiteral("mnuORCensus")), true);
    QVERIFY(!c.histopath);
}

QTEST_GUILESS_MAIN(tst_Startup)
#include "tst_startup.moc"
