// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window's monitors on a clock the test moves: what each check shows, blinks and
// plays, the one-shot start-up step, the discharge reminder, and a server that goes away and
// comes back.
#include "core/Assistant.h"
#include "core/db/Database.h"
#include "shell/Monitors.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QFileInfo>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

class FakeClock : public MonitorClock
{
public:
    qint64 now() const override { return m_now; }
    void wakeAt(qint64 when) override { m_wake = when; }
    // Moves the clock on, waking the monitors at every moment they asked for on the way.
    void advance(Monitors &monitors, qint64 ms)
    {
        const qint64 end = m_now + ms;
        while (m_wake >= 0 && m_wake <= end) {
            m_now = std::max(m_now, m_wake);
            monitors.wake();
        }
        m_now = end;
    }

private:
    qint64 m_now = 1'000'000;
    qint64 m_wake = -1;
};

class FakeScreen : public MonitorSignals, public Assistant
{
public:
    void setAlertVisible(const QString &button, bool visible) override
    {
        if (visible)
            shown.insert(button);
        else
            shown.remove(button);
    }
    void setAlertColour(const QString &button, const QColor &colour) override
    {
        colours[button] << colour;
    }
    void playSound(const QString &file) override { sounds << QFileInfo(file).fileName(); }
    void showSplash() override { ++splashes; }
    void openPatientList() override { ++lists; }

    bool load(const QString &) override { return true; }
    QSize size() const override { return {100, 100}; }
    void moveTo(int, int) override {}
    void show() override { assistantShown = true; }
    void hide() override { assistantShown = false; }
    void speak(const QString &text) override { spoken << text; }
    void unload() override {}
    bool isLoaded() const override { return true; }

    QSet<QString> shown;
    QHash<QString, QList<QColor>> colours;
    QStringList sounds;
    QStringList spoken;
    bool assistantShown = false;
    int splashes = 0;
    int lists = 0;
};

// The session of a logged-in nurse, the monitors on a screen and a clock of the test's own.
struct Rig
{
    explicit Rig(Database &db)
        : fixture(db, u"2901"_s)
    {
    }
    test::MainWindowFixture fixture;
    Session &session = fixture.session;
    FakeScreen screen;
    FakeClock clock;
    Monitors monitors{session, screen, screen, clock};
};

} // namespace

class tst_Monitors : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void scheduleRequestsShowBlinkAndHide();
    void resultAlertsBlinkForwardsAndBack();
    void startUpStepAndDischargeReminder();
    void aServerThatGoesAwayAndComesBack();
};

void tst_Monitors::scheduleRequestsShowBlinkAndHide()
{
    KESTREL_OPEN_DEMO(db);
    Rig r(db);
    r.monitors.checkScheduleRequests(false);
    // The demo wards have requests waiting: the button shows, sounds once and blinks every
    // half second between light yellow and the menu colour.
    QVERIFY(r.screen.shown.contains(u"cmdRequestSched"_s));
    QCOMPARE(r.screen.sounds, QStringList{u"Scheds.wav"_s});
    QVERIFY(r.monitors.isRunning(Monitors::Timer2));
    QCOMPARE(r.monitors.interval(Monitors::tmrScheds), 500);
    r.clock.advance(r.monitors, 1000);
    const QList<QColor> blinks = r.screen.colours.value(u"cmdRequestSched"_s);
    QCOMPARE(blinks.size(), 2);
    QCOMPARE(blinks.at(0), QColor(0xFF, 0xFF, 0xC0));
    QVERIFY(!blinks.at(1).isValid());
    QCOMPARE(r.screen.colours.value(u"cmdAdmissions"_s).at(0), QColor(0x00, 0x80, 0x00));

    // The requests are dealt with: the next check, five seconds on, hides the button; the
    // blinking goes on.
    QVERIFY(db.exec(u"update SCHEDULE..tbORScheduleDetails set RecordStatus = 'C' "
                    u"where RecordStatus = 'P'"));
    r.clock.advance(r.monitors, 4000);
    QVERIFY(!r.screen.shown.contains(u"cmdRequestSched"_s));
    QVERIFY(r.monitors.isRunning(Monitors::tmrScheds));
}

void tst_Monitors::resultAlertsBlinkForwardsAndBack()
{
    KESTREL_OPEN_DEMO(db);
    Rig r(db);
    r.monitors.setAbnormalResultCheck(true);
    QVERIFY(r.screen.shown.contains(u"cmdPanicLab"_s));
    QVERIFY(r.monitors.isRunning(Monitors::tmrPlayPanicValue));
    // Twelve ticks of 50 ms: each colour forwards, then back, and the counter round to 0.
    r.clock.advance(r.monitors, 600);
    const QList<QColor> panic = r.screen.colours.value(u"cmdPanicLab"_s);
    QCOMPARE(panic.size(), 12);
    for (int i = 0; i < 6; ++i)
        QCOMPARE(panic.at(i), panic.at(11 - i));
    QVERIFY(panic.at(0) != panic.at(5));
    QCOMPARE(r.monitors.blinkCounter(), 0);
    // Only the buttons shown blink.
    QVERIFY(!r.screen.colours.contains(u"cmdCommunication"_s));
    // The panic sound repeats every five seconds.
    r.clock.advance(r.monitors, 9400);
    QCOMPARE(r.screen.sounds.count(u"PanicValue.wav"_s), 2);

    // Nothing waits to be printed any more: the print check hides its button and stops the
    // blinking of every result button with it.
    QVERIFY(db.exec(u"update LABORATORY..tbLabResult set Printed = 1"));
    QVERIFY(db.exec(u"update STATION..tbNurseDiagResult set Printed = 1"));
    r.monitors.enableAutoPrint();
    r.clock.advance(r.monitors, 5000);
    QVERIFY(!r.screen.shown.contains(u"cmdCommunication"_s));
    QVERIFY(!r.monitors.isRunning(Monitors::tmrButton));

    // While the verified results are open the print check does not run; it runs at once when
    // they close.
    int checksWhileOpen = -1;
    r.monitors.communicationClicked([&] {
        QVERIFY(!r.monitors.isRunning(Monitors::tmrComm));
        QVERIFY(db.exec(u"update LABORATORY..tbLabResult set Printed = 0"));
        r.clock.advance(r.monitors, 20000);
        checksWhileOpen = r.screen.shown.contains(u"cmdCommunication"_s) ? 1 : 0;
    });
    QCOMPARE(checksWhileOpen, 0);
    QVERIFY(r.screen.shown.contains(u"cmdCommunication"_s));
    QVERIFY(r.monitors.isRunning(Monitors::tmrButton));
}

void tst_Monitors::startUpStepAndDischargeReminder()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(db.exec(u"delete from STATION..tbNurseDischargeNotice"));
    Rig r(db);
    r.monitors.startOneShot();
    r.clock.advance(r.monitors, 999);
    QCOMPARE(r.screen.lists, 0);
    r.clock.advance(r.monitors, 1);
    QCOMPARE(r.screen.splashes, 1);
    QCOMPARE(r.screen.lists, 1);
    QVERIFY(!r.monitors.isRunning(Monitors::Timer1));
    // No notice: the assistant stays hidden and silent.
    QVERIFY(r.monitors.isRunning(Monitors::tmrNotice));
    QVERIFY(!r.monitors.isRunning(Monitors::tmrMerlin));
    QVERIFY(r.screen.spoken.isEmpty());

    // A notice of a patient already discharged is no reminder.
    QVERIFY(db.exec(u"insert into STATION..tbNurseDischargeNotice (IDNum, RecordStatus, "
                    u"StationID, NoticeDate) select min(IDNum), 'A', 'OR', getdate() "
                    u"from PATIENT_DATA..tbPatient where DcrDate is not null"));
    r.clock.advance(r.monitors, 60000);
    QVERIFY(!r.screen.assistantShown);

    // A ward sends a notice: within a minute the assistant speaks, then every 15 seconds.
    QVERIFY(db.exec(u"insert into STATION..tbNurseDischargeNotice (IDNum, RecordStatus, "
                    u"StationID, NoticeDate) select min(IDNum), 'A', 'OR', getdate() "
                    u"from PATIENT_DATA..tbPatient where DcrDate is null"));
    r.clock.advance(r.monitors, 60000);
    QVERIFY(r.screen.assistantShown);
    QCOMPARE(r.screen.spoken, QStringList{u"You have discharge notice."_s});
    r.clock.advance(r.monitors, 30000);
    QCOMPARE(r.screen.spoken.size(), 3);
    // Cleared: at the next check the assistant goes and the reminder stops.
    QVERIFY(db.exec(u"update STATION..tbNurseDischargeNotice set ClearDate = getdate()"));
    r.clock.advance(r.monitors, 30000);
    QVERIFY(!r.screen.assistantShown);
    QVERIFY(!r.monitors.isRunning(Monitors::tmrMerlin));
}

void tst_Monitors::aServerThatGoesAwayAndComesBack()
{
    KESTREL_OPEN_DEMO(db);
    Rig r(db);
    r.monitors.checkScheduleRequests(false);
    QVERIFY(r.screen.shown.contains(u"cmdRequestSched"_s));

    // A connection to nothing: every statement fails.
    auto gone = Database::open(ConnectionSettings{});
    QVERIFY(gone.has_value());
    (*gone)->setProcedures(db.procedureRegistry());
    r.fixture.user.use(gone->get());
    QVERIFY(db.exec(u"update SCHEDULE..tbORScheduleDetails set RecordStatus = 'C' "
                    u"where RecordStatus = 'P'"));
    // Logged once, however many ticks fail; nothing on screen changes, no box is shown.
    static int failuresLogged = 0;
    failuresLogged = 0;
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType type, const QMessageLogContext &context,
                                  const QString &) {
            if (type == QtWarningMsg && qstrcmp(context.category, "kestrel.monitors") == 0)
                ++failuresLogged;
        });
    r.clock.advance(r.monitors, 30000);
    qInstallMessageHandler(previous);
    QCOMPARE(failuresLogged, 1);
    QVERIFY(r.screen.shown.contains(u"cmdRequestSched"_s));
    QVERIFY(r.fixture.notifier.boxes().isEmpty());
    QVERIFY(r.monitors.isRunning(Monitors::Timer2));

    // The server is back: the next tick catches up.
    r.fixture.user.use(&db);
    r.clock.advance(r.monitors, 5000);
    QVERIFY(!r.screen.shown.contains(u"cmdRequestSched"_s));
}

QTEST_GUILESS_MAIN(tst_Monitors)
#include "tst_monitors.moc"
