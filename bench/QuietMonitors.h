// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "BenchSeams.h"

#include "core/Assistant.h"
#include "shell/Monitors.h"

namespace kestrel::bench {

/// The main window's alerts, sounds and clock, for monitors that nobody looks at: the checks
/// run when the benchmark calls them.
class QuietScreen : public MonitorSignals, public MonitorClock
{
public:
    void setAlertVisible(const QString &, bool) override {}
    void setAlertColour(const QString &, const QColor &) override {}
    void playSound(const QString &) override {}
    void showSplash() override {}
    void openPatientList() override {}
    qint64 now() const override { return 0; }
    void wakeAt(qint64) override {}
};

/// An assistant that says nothing.
class SilentAssistant : public Assistant
{
public:
    bool load(const QString &) override { return true; }
    QSize size() const override { return {}; }
    void moveTo(int, int) override {}
    void show() override {}
    void hide() override {}
    void speak(const QString &) override {}
    void unload() override {}
    bool isLoaded() const override { return true; }
};

/// One workstation's monitors on its benchmark session.
struct QuietMonitors
{
    explicit QuietMonitors(BenchSession &s)
        : monitors(s.session, assistant, screen, screen)
    {
    }
    QuietScreen screen;
    SilentAssistant assistant;
    Monitors monitors;
};

} // namespace kestrel::bench
