// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"
#include "core/components/LoginPrompt.h"
#include "core/InstanceGuard.h"
#include "core/Session.h"
#include "shell/MainMenu.h"
#include "shell/Startup.h"
#include "shell/ui/AssistantWidget.h"
#include "shell/ui/frmCF4Entry.h"
#include "shell/ui/mdiORMenu.h"
#include "shell/ui/MessageBoxNotifier.h"
#include "shell/ui/WidgetCodePickList.h"
#include "shell/ui/WidgetDialogs.h"
#include "shell/ui/WidgetListingView.h"

#include <QObject>

#include <functional>
#include <memory>

namespace kestrel {

class WidgetMonitors;

class clsCF4;
class clsCodeLookup;
class LoginDialog;
class ReportCommands;
class ReportService;
class WidgetReportDisplay;

/// What the program is made of, put together: the seams, the session, the main window and its
/// commands, the companion components and the start-up that loads them. The executable adds
/// only where the embedded demo hospital comes from.
class ApplicationShell : public QObject
{
    Q_OBJECT

public:
    struct Options
    {
        /// Opens the embedded demo hospital at a path (created on first use).
        std::function<Result<std::unique_ptr<Database>>(const QString &path)> openEmbedded;
        QString embeddedPath;
        std::shared_ptr<const ProcedureRegistry> procedures;
        /// The login window; by default the program's own login dialog.
        LoginPrompt *loginPrompt = nullptr;
        /// Where the single-copy lock lives ("" for the user's runtime folder).
        QString lockFolder;
    };

    explicit ApplicationShell(Options options, QObject *parent = nullptr);
    ~ApplicationShell() override;

    /// Loads the main window (start-up); shows it when start-up lets the program run.
    Startup::Outcome start();

    mdiORMenu &window() { return *m_window; }
    Session &session() { return m_session; }
    Notifier &notifier() { return m_notifier; }
    Startup &startup() { return *m_startup; }

Q_SIGNALS:
    /// The main window has unloaded; the program ends.
    void finished();

private:
    class WindowSeam;

    void unload();
    /// The report commands, made at the first report: they need the logged-in database and
    /// the hospital's headings.
    ReportCommands *reportCommands();
    /// The report service, made at the first report for the same reasons; the report
    /// commands and the windows that print share it.
    ReportService *reportService();
    /// The user's CF4 entry object, shown in the program's CF4 window; null when the hospital
    /// does not show the CF4.
    clsCF4 *cf4Entry();
    /// The code look-up the entry windows pick codes with; null when start-up has none.
    clsCodeLookup *codeLookup() const;
    /// Opens another window through the main window (the windows' own buttons).
    std::function<void(const QString &formName, const WindowRequest &request)> windowOpener();
    /// The windows the main window opens by name, registered a part of the program at a time.
    void registerToolWindows();
    void registerChargingWindows();
    void registerRequestWindows();
    void registerProfileWindows();
    void registerScheduleWindows();
    void registerORRecordWindows();
    void registerNursingWindows();
    /// The discharge orders, the discharge notices, the clearing, the discharge and room
    /// transfer and the discharge instruction sheets.
    void registerDischargeWindows();

    Options m_options;
    MessageBoxNotifier m_notifier;
    WidgetDialogs m_dialogs;
    Session m_session;
    std::unique_ptr<LoginDialog> m_loginDialog;
    WidgetCodePickList m_codePickList;
    WidgetListingView m_listingView;
    WidgetCF4EntryWindow m_cf4Window;
    ComponentContext m_context;
    MainMenu m_presenter;
    std::unique_ptr<mdiORMenu> m_window;
    std::unique_ptr<WindowSeam> m_windowSeam;
    std::unique_ptr<AssistantWidget> m_assistant;
    std::unique_ptr<WidgetMonitors> m_monitors;
    InstanceGuard m_guard;
    std::unique_ptr<Startup> m_startup;
    std::unique_ptr<WidgetReportDisplay> m_reportDisplay;
    std::unique_ptr<ReportService> m_reports;
    std::unique_ptr<ReportCommands> m_reportCommands;
    bool m_unloaded = false;
};

} // namespace kestrel
