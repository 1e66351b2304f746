// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

#include <QHash>
#include <QObject>
#include <QSize>
#include <QString>

#include <functional>
#include <memory>

namespace kestrel {

class Assistant;
class InstanceGuard;
class Notifier;
class Session;

/// The main window as start-up sees it: its background, caption, status panels and menus.
class StartupWindow
{
public:
    virtual ~StartupWindow() = default;
    /// Sets the background picture from `file`; false when it cannot be read.
    virtual bool loadBackground(const QString &file) = 0;
    virtual void setCaption(const QString &caption) = 0;
    /// Status panel `index` (1 to 8).
    virtual void setPanel(int index, const QString &text, const QString &toolTip) = 0;
    virtual QString panelText(int index) const = 0;
    virtual void setMenuVisible(const QString &menuName, bool visible) = 0;
    /// The size of the screen the program runs on, for placing the assistant.
    virtual QSize screenSize() const = 0;
    /// The window itself, handed to the login as its parent.
    virtual QObject *windowObject() = 0;
};

/// The background checks of the main window, started at the end of start-up.
class StartupMonitors
{
public:
    virtual ~StartupMonitors() = default;
    /// Auto-print checks of the hospitals that print verified results at the station.
    virtual void enableAutoPrint() {}
    /// First runs of the schedule-request check and, where asked, the confirmed-schedule check.
    virtual void checkScheduleRequests(bool alsoConfirmedSchedules)
    {
        (void)alsoConfirmedSchedules;
    }
    /// The abnormal laboratory result check, on or off.
    virtual void setAbnormalResultCheck(bool on) { (void)on; }
    /// The one-shot timer that opens the patient list a second after the window shows.
    virtual void startOneShot() {}
};

/// The companion components, one instance each, from start-up to the end of the program.
struct ComponentSet
{
    std::unique_ptr<Component> user;     ///< KsUser.clsLoginUser
    std::unique_ptr<Component> drugList; ///< generic or brand list, for charging
    std::unique_ptr<Component> patientFinder;
    std::unique_ptr<Component> drugPicker;
    std::unique_ptr<Component> brandDrugList; ///< the second drug list, always by brand
    std::unique_ptr<Component> keyFilter;
    std::unique_ptr<Component> codeLookup;
    std::unique_ptr<Component> keyFilter2;
    std::unique_ptr<Component> icdLookup;
    std::unique_ptr<Component> requestViewer;
    std::unique_ptr<Component> resultViewer;
    std::unique_ptr<Component> stayResultViewer;
    std::unique_ptr<Component> stayViewer;
    std::unique_ptr<Component> rvsLookup;
    std::unique_ptr<Component> chargeSlipList;
    std::unique_ptr<Component> issuedMedicines;
    std::unique_ptr<Component> patientInfo;
    std::unique_ptr<Component> histopath; ///< only for the "QELM" hospital
    QObject *cf4 = nullptr;               ///< the user's CF4 entry object, when shown
};

/// The seams start-up works through.
struct StartupEnvironment
{
    Notifier &notifier;
    Assistant &assistant;
    StartupWindow &window;
    InstanceGuard &instance;
    ComponentContext &componentContext;
    StartupMonitors *monitors = nullptr;
    /// The application's version as major.minor.revision.
    QString version;
    /// Decides the menus that depend on the client hospital and the settings.
    std::function<QHash<QString, bool>(const Session &)> menuVisibility;
};

/// Loads the main window: the single-copy check, the login, the server clock, the settings,
/// the maintenance switch, the log-in entry, the assistant, the status bar, the companion
/// components and the menus of this hospital, in that order. A refusal on the way ends the
/// program with its message before the window is shown.
class Startup
{
public:
    enum class Outcome {
        Running,
        AlreadyRunning,
        LoginFailed,
        AssistantMissing,
        PictureMissing,
        UnderMaintenance,
    };

    Startup(Session &session, StartupEnvironment env);
    ~Startup();

    /// Runs start-up. Running means the main window may now be shown.
    Outcome run();
    /// Releases every component, in the order the hospital's viewers expect.
    void unload();

    ComponentSet &components() { return m_components; }
    QString helpFile() const { return m_helpFile; }
    /// Whether every component of the initialisation chain took the connection.
    bool chainCompleted() const { return m_chainCompleted; }

    /// Panel 8: the server the user is connected to, or only which kind when the hospital
    /// hides its server names.
    static QString serverPanelText(const QString &designText, bool hideServerIP,
                                   const QString &servername, const QString &liveServer,
                                   const QString &testServer);

private:
    void createComponents();
    void handOverConnection();

    Session &m_session;
    StartupEnvironment m_env;
    ComponentSet m_components;
    QString m_helpFile;
    bool m_chainCompleted = false;
};

} // namespace kestrel
