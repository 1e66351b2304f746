// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"
#include "shell/Startup.h"

#include <QColor>
#include <QHash>
#include <QString>

#include <array>
#include <functional>

namespace kestrel {

class Assistant;
class Session;

/// What the monitors change on screen and play: the main window's alert buttons and their
/// colours, the alert sounds, the splash window and the patient list of the one-shot step.
class MonitorSignals
{
public:
    virtual ~MonitorSignals() = default;
    /// Shows or hides an alert button ("cmdPanicLab" together with `txtPanic`).
    virtual void setAlertVisible(const QString &button, bool visible) = 0;
    /// Paints an alert button; an invalid colour gives it back the menu colour.
    virtual void setAlertColour(const QString &button, const QColor &colour) = 0;
    /// Plays a sound file once without waiting for its end; a missing file plays nothing.
    virtual void playSound(const QString &file) = 0;
    /// Shows the splash window, which closes itself half a second later.
    virtual void showSplash() = 0;
    /// Opens the patient list, not modal.
    virtual void openPatientList() = 0;
};

/// The clock the monitors' timers run on. The program's wakes the monitors with a Qt timer;
/// tests move a clock of their own, so no test waits for real time to pass.
class MonitorClock
{
public:
    virtual ~MonitorClock() = default;
    /// Milliseconds from any fixed moment.
    virtual qint64 now() const = 0;
    /// Asks for Monitors::wake() at `when` (a time of now()), replacing the earlier request;
    /// -1 cancels it.
    virtual void wakeAt(qint64 when) = 0;
};

/// The background monitors of the main window: the timers that poll the hospital database for
/// the wards' schedule requests, confirmed operations waiting, verified results to print,
/// panic laboratory values, revoked requests and discharge notices, and show, blink and
/// sound the main window's alert buttons or have the assistant speak.
///
/// Everything runs on the window's thread. A check still running when a timer asks for it
/// again (its error box or a modal window open) is skipped, not queued. A check that fails
/// (the server gone) changes nothing on screen, is logged once, and is tried again at its next
/// tick; once the server answers, the alerts catch up.
class Monitors : public StartupMonitors
{
public:
    /// The main window's timers.
    enum Timer {
        Timer1,             ///< the one-shot start-up step, 1 s
        Timer2,             ///< the schedule-request check, 5 s
        tmrAdmissions,      ///< the confirmed-schedule check, 5 s
        tmrScheds,          ///< blinking of the two schedule buttons, 500 ms
        tmrComm,            ///< the auto-print check, 5 s
        tmrButton,          ///< blinking of the three result buttons, 50 ms
        tmrLBAbnormal,      ///< the abnormal-result check, 30 s
        tmrPlayPanicValue,  ///< the panic sound, 5 s
        tmrRevokedRequests, ///< the revoked-request check, 60 s
        tmrNotice,          ///< the discharge-notice check, 60 s
        tmrMerlin,          ///< the spoken discharge reminder, 15 s
        TimerCount
    };

    Monitors(Session &session, Assistant &assistant, MonitorSignals &signals, MonitorClock &clock);

    // Start-up's calls.
    void enableAutoPrint() override;
    void checkScheduleRequests(bool alsoConfirmedSchedules) override;
    void setAbnormalResultCheck(bool on) override;
    void startOneShot() override;

    /// The checks, each also called directly by other windows.
    void CheckScheduleRequests();
    void CheckConfirmedSchedules();
    void CheckAutoPrint();
    void CheckAbnormalResults();
    void CheckRevokedRequests();
    void CheckDischargeNotices();
    /// The assistant shows itself and says "You have discharge notice.".
    void AnnounceDischargeNotice();
    /// Whether today is a holiday of the hospital; its name and greeting are kept.
    bool GetHolidayToday();
    QString holidayName() const { return m_holidayName; }
    QString holidayGreeting() const { return m_holidayGreeting; }

    /// `cmdCommunication` clicked: the result timers stop while `openAutoPrint` shows the
    /// verified results (modal), then start again and the check runs at once.
    void communicationClicked(const std::function<void()> &openAutoPrint);
    /// Every timer stops (the main window unloads).
    void stopAll();

    /// Runs every timer that is due; the clock calls it.
    void wake();

    bool isRunning(Timer timer) const { return m_timers[timer].running; }
    int interval(Timer timer) const { return m_timers[timer].interval; }
    bool isAlertVisible(const QString &button) const { return m_visible.value(button); }
    /// `tmrButton`'s blink counter, 0 to 11.
    int blinkCounter() const { return m_blink; }

    /// The colour of an alert button at a step of `tmrButton`'s blink counter.
    static QColor resultAlertColour(const QString &button, int counter);

private:
    struct TimerState
    {
        int interval = 0;
        bool running = false;
        qint64 due = 0;
    };
    enum Check { ScheduleCheck, ConfirmedCheck, AutoPrintCheck, AbnormalCheck, RevokedCheck,
                 NoticeCheck, CheckCount };

    void start(Timer timer, int interval = 0);
    void stop(Timer timer);
    void fire(Timer timer);
    void scheduleWake();
    // Runs `statement` for `check`, unless it is running already; false when it is, or when
    // it failed (logged once until it answers again).
    bool run(Check check, const std::function<Result<RowSet>()> &statement, bool &hasRows);
    void showAlert(const QString &button, bool visible);
    void blinkSchedules();
    void blinkResults();
    QString soundFile(const QString &name) const;

    Session &m_session;
    Assistant &m_assistant;
    MonitorSignals &m_signals;
    MonitorClock &m_clock;
    std::array<TimerState, TimerCount> m_timers{};
    std::array<bool, CheckCount> m_running{};
    std::array<bool, CheckCount> m_failing{};
    QHash<QString, bool> m_visible;
    int m_blink = 0;
    bool m_schedulePhase = false;
    QString m_holidayName;
    QString m_holidayGreeting;
};

} // namespace kestrel
