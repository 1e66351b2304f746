// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/Monitors.h"

#include "core/Assistant.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "core/db/Database.h"
#include "patients/modGlobals.h"

#include <QDir>
#include <QLoggingCategory>

#include <algorithm>

namespace kestrel {

namespace {

Q_LOGGING_CATEGORY(lcMonitors, "kestrel.monitors")

const QString kRequestSched = QStringLiteral("cmdRequestSched");
const QString kAdmissions = QStringLiteral("cmdAdmissions");
const QString kCommunication = QStringLiteral("cmdCommunication");
const QString kRevoked = QStringLiteral("cmdRevokedRequests");
const QString kPanicLab = QStringLiteral("cmdPanicLab");

// The hospital writes its colours blue-green-red.
QColor fromBgr(quint32 bgr)
{
    return QColor(int(bgr & 0xFF), int((bgr >> 8) & 0xFF), int((bgr >> 16) & 0xFF));
}

// The result buttons go through their colours forwards and back in twelve steps.
int blinkStep(int counter)
{
    static constexpr std::array<int, 12> steps{0, 1, 2, 3, 4, 5, 5, 4, 3, 2, 1, 0};
    return steps[std::size_t(std::clamp(counter, 0, 11))];
}

const char *checkName(int check)
{
    static constexpr std::array<const char *, 6> names{
        "schedule requests", "confirmed schedules", "results to print",
        "panic values",      "revoked requests",    "discharge notices"};
    return names[std::size_t(check)];
}

} // namespace

Monitors::Monitors(Session &session, Assistant &assistant, MonitorSignals &signals,
                   MonitorClock &clock)
    : m_session(session)
    , m_assistant(assistant)
    , m_signals(signals)
    , m_clock(clock)
{
    m_timers[Timer1].interval = 1000;
    m_timers[Timer2].interval = 5000;
    m_timers[tmrAdmissions].interval = 5000;
    // Running from the start, but silent until a schedule check gives it its half second.
    m_timers[tmrScheds].running = true;
    m_timers[tmrComm].interval = 5000;
    m_timers[tmrButton].interval = 50;
    m_timers[tmrLBAbnormal].interval = 30000;
    m_timers[tmrPlayPanicValue].interval = 5000;
    m_timers[tmrRevokedRequests].interval = 60000;
    m_timers[tmrNotice].interval = 60000;
    m_timers[tmrMerlin].interval = 15000;
}

QColor Monitors::resultAlertColour(const QString &button, int counter)
{
    static constexpr std::array<quint32, 6> communication{0xC0FFFF, 0x80FFFF, 0x00FFFF,
                                                          0x00C0C0, 0x008080, 0x004040};
    static constexpr std::array<quint32, 6> revoked{0x00FFFF, 0x80FFFF, 0xC0FFFF,
                                                    0xC0E0FF, 0x80C0FF, 0x0080FF};
    static constexpr std::array<quint32, 6> panic{0xC0C0FF, 0xB0B0FF, 0xA0A0FF,
                                                  0x8080FF, 0x4040FF, 0x0000FF};
    const auto step = std::size_t(blinkStep(counter));
    if (button == kCommunication)
        return fromBgr(communication[step]);
    if (button == kRevoked)
        return fromBgr(revoked[step]);
    if (button == kPanicLab)
        return fromBgr(panic[step]);
    return {};
}

void Monitors::enableAutoPrint()
{
    start(tmrComm);
    start(tmrButton);
}

void Monitors::checkScheduleRequests(bool alsoConfirmedSchedules)
{
    CheckScheduleRequests();
    if (alsoConfirmedSchedules)
        CheckConfirmedSchedules();
}

void Monitors::setAbnormalResultCheck(bool on)
{
    if (!on) {
        stop(tmrLBAbnormal);
        return;
    }
    start(tmrLBAbnormal);
    CheckAbnormalResults();
}

void Monitors::startOneShot()
{
    start(Timer1);
}

void Monitors::start(Timer timer, int interval)
{
    TimerState &t = m_timers[timer];
    if (interval > 0 && interval != t.interval) {
        t.interval = interval;
        t.running = false; // a new interval counts from now
    }
    if (!t.running) {
        t.running = true;
        t.due = m_clock.now() + t.interval;
    }
    scheduleWake();
}

void Monitors::stop(Timer timer)
{
    m_timers[timer].running = false;
    scheduleWake();
}

void Monitors::stopAll()
{
    for (TimerState &t : m_timers)
        t.running = false;
    scheduleWake();
}

void Monitors::scheduleWake()
{
    qint64 next = -1;
    for (const TimerState &t : m_timers)
        if (t.running && t.interval > 0 && (next < 0 || t.due < next))
            next = t.due;
    m_clock.wakeAt(next);
}

void Monitors::wake()
{
    // A timer late by several intervals fires once, as the window's timers do.
    const qint64 now = m_clock.now();
    for (int i = 0; i < TimerCount; ++i) {
        TimerState &t = m_timers[std::size_t(i)];
        if (!t.running || t.interval <= 0 || t.due > now)
            continue;
        t.due = now + t.interval;
        fire(Timer(i));
    }
    scheduleWake();
}

void Monitors::fire(Timer timer)
{
    switch (timer) {
    case Timer1:
        stop(Timer1);
        m_signals.showSplash();
        m_signals.openPatientList();
        start(tmrNotice);
        CheckDischargeNotices();
        if (m_session.settings.NotifyRevokedRequests()) {
            start(tmrRevokedRequests);
            CheckRevokedRequests();
        } else {
            stop(tmrRevokedRequests);
        }
        if (GetHolidayToday())
            m_session.notifier().message(m_holidayGreeting, m_holidayName,
                                         Notifier::Icon::Information);
        break;
    case Timer2:
        CheckScheduleRequests();
        break;
    case tmrAdmissions:
        CheckConfirmedSchedules();
        break;
    case tmrScheds:
        blinkSchedules();
        break;
    case tmrComm:
        CheckAutoPrint();
        break;
    case tmrButton:
        blinkResults();
        break;
    case tmrLBAbnormal:
        CheckAbnormalResults();
        break;
    case tmrPlayPanicValue:
        m_signals.playSound(soundFile(QStringLiteral("PanicValue.wav")));
        break;
    case tmrRevokedRequests:
        CheckRevokedRequests();
        break;
    case tmrNotice:
        CheckDischargeNotices();
        break;
    case tmrMerlin:
        AnnounceDischargeNotice();
        break;
    case TimerCount:
        break;
    }
}

bool Monitors::run(Check check, const std::function<Result<RowSet>()> &statement, bool &hasRows)
{
    bool &running = m_running[std::size_t(check)];
    if (running)
        return false;
    running = true;
    const Result<RowSet> rows = statement();
    running = false;
    bool &failing = m_failing[std::size_t(check)];
    if (!rows) {
        if (!failing)
            qCWarning(lcMonitors).noquote()
                << "The check for" << checkName(check)
                << "failed; it is tried again at its next tick:" << rows.error().message;
        failing = true;
        return false;
    }
    if (failing)
        qCInfo(lcMonitors) << "The check for" << checkName(check) << "answers again.";
    failing = false;
    hasRows = !rows->isEmpty();
    return true;
}

void Monitors::showAlert(const QString &button, bool visible)
{
    m_visible.insert(button, visible);
    m_signals.setAlertVisible(button, visible);
}

QString Monitors::soundFile(const QString &name) const
{
    return QDir(m_session.ApplicationPath).filePath(name);
}

void Monitors::CheckScheduleRequests()
{
    stop(Timer1);
    start(Timer2);
    bool found = false;
    if (!run(ScheduleCheck, [this] { return m_session.db().call(u"SCHEDULE..sp_GetORSchedule_Request"); },
             found))
        return;
    showAlert(kRequestSched, found);
    if (found) {
        start(tmrScheds, 500);
        m_signals.playSound(soundFile(QStringLiteral("Scheds.wav")));
    }
}

void Monitors::CheckConfirmedSchedules()
{
    stop(Timer1);
    start(tmrAdmissions);
    bool found = false;
    if (!run(ConfirmedCheck,
             [this] {
                 return m_session.db().call(u"SCHEDULE..sp_List_ConfirmedORSchedule",
                                            {QStringLiteral("9"), QString()});
             },
             found))
        return;
    showAlert(kAdmissions, found);
    if (found) {
        start(tmrScheds, 500);
        m_signals.playSound(soundFile(QStringLiteral("Admits.wav")));
    }
}

void Monitors::CheckAutoPrint()
{
    bool found = false;
    if (!run(AutoPrintCheck,
             [this] {
                 return m_session.db().call(u"Station..sp_Nurse_Get_ResultsAutoPrint",
                                            {m_session.StationID});
             },
             found))
        return;
    showAlert(kCommunication, found);
    if (found)
        start(tmrButton);
    else
        stop(tmrButton);
}

void Monitors::CheckAbnormalResults()
{
    bool found = false;
    if (!run(AbnormalCheck,
             [this] {
                 return m_session.db().call(u"Station..GetLBAbnormalResult",
                                            {m_session.StationID});
             },
             found))
        return;
    showAlert(kPanicLab, found);
    if (found) {
        start(tmrButton);
        start(tmrPlayPanicValue);
    } else {
        stop(tmrPlayPanicValue);
    }
}

void Monitors::CheckRevokedRequests()
{
    bool found = false;
    if (!run(RevokedCheck,
             [this] {
                 return m_session.db().call(u"STATION..LoadRevokedRequests",
                                            {m_session.StationID, 1});
             },
             found))
        return;
    showAlert(kRevoked, found);
    if (found)
        start(tmrButton);
}

void Monitors::CheckDischargeNotices()
{
    stop(tmrNotice);
    int notices = 0;
    bool found = false;
    const bool answered = run(
        NoticeCheck,
        [this, &notices]() -> Result<RowSet> {
            auto rows = m_session.db().call(u"STATION..spOR_LoadDischargeNoticeCount");
            if (rows && !rows->isEmpty())
                notices = rows->at(0).value(u"recCount").toInt();
            return rows;
        },
        found);
    if (answered) {
        stop(tmrMerlin);
        if (notices > 0) {
            AnnounceDischargeNotice();
            start(tmrMerlin);
        } else {
            m_assistant.hide();
        }
    }
    start(tmrNotice);
}

void Monitors::AnnounceDischargeNotice()
{
    m_assistant.show();
    m_assistant.speak(QStringLiteral("You have discharge notice."));
}

bool Monitors::GetHolidayToday()
{
    const modGlobals::TodaysHoliday holiday = modGlobals::LoadHolidayGreeting(m_session);
    m_holidayName = holiday.HolidayName;
    m_holidayGreeting = holiday.HolidayGreeting;
    return holiday.IsHolidayToday;
}

void Monitors::communicationClicked(const std::function<void()> &openAutoPrint)
{
    stop(tmrButton);
    stop(tmrComm);
    openAutoPrint();
    start(tmrButton);
    start(tmrComm);
    CheckAutoPrint();
}

void Monitors::blinkSchedules()
{
    if (m_schedulePhase) {
        m_signals.setAlertColour(kRequestSched, QColor());
        m_signals.setAlertColour(kAdmissions, QColor());
    } else {
        m_signals.setAlertColour(kRequestSched, fromBgr(0xC0FFFF));
        m_signals.setAlertColour(kAdmissions, fromBgr(0x008000));
    }
    m_schedulePhase = !m_schedulePhase;
}

void Monitors::blinkResults()
{
    for (const QString &button : {kCommunication, kRevoked, kPanicLab})
        if (m_visible.value(button))
            m_signals.setAlertColour(button, resultAlertColour(button, m_blink));
    m_blink = m_blink == 11 ? 0 : m_blink + 1;
}

} // namespace kestrel
