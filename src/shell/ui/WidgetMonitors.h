// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "shell/Monitors.h"

#include <QHash>
#include <QObject>
#include <QPointer>

#include <memory>

class QSoundEffect;
class QTimer;
class QWidget;

namespace kestrel {

class mdiORMenu;

/// The monitors on the main window: a Qt timer wakes them, their alerts are the window's
/// buttons, their sounds play through Qt Multimedia, the splash is a small window of its own.
class WidgetMonitors : public QObject, public MonitorSignals, public MonitorClock
{
    Q_OBJECT

public:
    WidgetMonitors(Session &session, Assistant &assistant, mdiORMenu &window,
                   QObject *parent = nullptr);
    ~WidgetMonitors() override;

    Monitors &monitors() { return *m_monitors; }

    // MonitorSignals
    void setAlertVisible(const QString &button, bool visible) override;
    void setAlertColour(const QString &button, const QColor &colour) override;
    void playSound(const QString &file) override;
    void showSplash() override;
    void openPatientList() override;

    // MonitorClock
    qint64 now() const override;
    void wakeAt(qint64 when) override;

private:
    mdiORMenu &m_window;
    QTimer *m_timer = nullptr;
    QHash<QString, QSoundEffect *> m_sounds;
    QPointer<QWidget> m_splash;
    std::unique_ptr<Monitors> m_monitors;
};

} // namespace kestrel
