// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/WidgetMonitors.h"

#include "core/Session.h"
#include "shell/ui/mdiORMenu.h"

#include <QApplication>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QScreen>
#include <QSoundEffect>
#include <QTimer>
#include <QUrl>

#include <algorithm>

namespace kestrel {

WidgetMonitors::WidgetMonitors(Session &session, Assistant &assistant, mdiORMenu &window,
                               QObject *parent)
    : QObject(parent)
    , m_window(window)
    , m_timer(new QTimer(this))
    , m_monitors(std::make_unique<Monitors>(session, assistant, *this, *this))
{
    m_timer->setSingleShot(true);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_timer, &QTimer::timeout, this, [this] { m_monitors->wake(); });
    // The verified results are opened with the result timers stopped.
    m_window.setAlertOpener([this](const QString &button, const std::function<void()> &open) {
        if (button == u"cmdCommunication")
            m_monitors->communicationClicked(open);
        else
            open();
    });
}

WidgetMonitors::~WidgetMonitors()
{
    m_window.setAlertOpener({});
    m_monitors->stopAll();
    delete m_splash;
}

void WidgetMonitors::setAlertVisible(const QString &button, bool visible)
{
    m_window.setAlertVisible(button, visible);
}

void WidgetMonitors::setAlertColour(const QString &button, const QColor &colour)
{
    m_window.setAlertColour(button, colour);
}

void WidgetMonitors::playSound(const QString &file)
{
    if (!QFileInfo::exists(file))
        return;
    QSoundEffect *&sound = m_sounds[file];
    if (!sound) {
        sound = new QSoundEffect(this);
        sound->setSource(QUrl::fromLocalFile(file));
    }
    sound->play();
}

void WidgetMonitors::showSplash()
{
    // Shown over the main window for half a second; the user's work is not held meanwhile.
    auto *splash = new QLabel;
    splash->setObjectName(QStringLiteral("frmSplash"));
    splash->setWindowFlags(Qt::SplashScreen | Qt::FramelessWindowHint);
    splash->setAttribute(Qt::WA_DeleteOnClose);
    splash->setAlignment(Qt::AlignCenter);
    splash->setMargin(32);
    splash->setText(QStringLiteral("<h2>%1</h2><p>%2</p>")
                        .arg(QApplication::applicationDisplayName().toHtmlEscaped(),
                             QStringLiteral("Operating Room")));
    splash->setStyleSheet(QStringLiteral("background: #f4f1e8; border: 1px solid #8a7f66;"));
    splash->adjustSize();
    if (const QScreen *screen = m_window.screen())
        splash->move(screen->availableGeometry().center() - splash->rect().center());
    splash->show();
    m_splash = splash;
    QTimer::singleShot(500, splash, &QWidget::close);
}

void WidgetMonitors::openPatientList()
{
    WindowRequest request;
    request.command = QStringLiteral("mnuOpen");
    request.caption = QStringLiteral("Patient List");
    m_window.presenter().openWindow(QStringLiteral("frmSearch"), request);
}

qint64 WidgetMonitors::now() const
{
    return QDateTime::currentMSecsSinceEpoch();
}

void WidgetMonitors::wakeAt(qint64 when)
{
    if (when < 0) {
        m_timer->stop();
        return;
    }
    m_timer->start(int(std::clamp<qint64>(when - now(), 0, 3600 * 1000)));
}

} // namespace kestrel
