// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/ApplicationShell.h"

#include "reports/ReportCommands.h"
#include "reports/ReportService.h"
#include "reports/ui/WidgetReportDisplay.h"
#include "shell/ClientMenus.h"
#include "shell/components/clsLoginUser.h"
#include "shell/components/ui/LoginDialog.h"
#include "shell/Installation.h"
#include "users/ui/frmUserLogs.h"
#include "users/ui/frmUserRights.h"

#include <QApplication>
#include <QDir>
#include <QScreen>

namespace kestrel {

/// The main window as start-up sees it.
class ApplicationShell::WindowSeam : public StartupWindow
{
public:
    explicit WindowSeam(mdiORMenu &window)
        : m_window(window)
    {
    }

    bool loadBackground(const QString &file) override { return m_window.loadBackground(file); }
    void setCaption(const QString &caption) override { m_window.setCaption(caption); }
    void setPanel(int index, const QString &text, const QString &toolTip) override
    {
        m_window.setPanel(index, text, toolTip);
    }
    QString panelText(int index) const override { return m_window.panelText(index); }
    void setMenuVisible(const QString &menuName, bool visible) override
    {
        m_window.setMenuVisible(menuName, visible);
    }
    QSize screenSize() const override { return m_window.screenSize(); }
    QObject *windowObject() override { return &m_window; }

private:
    mdiORMenu &m_window;
};

ApplicationShell::ApplicationShell(Options options, QObject *parent)
    : QObject(parent)
    , m_options(std::move(options))
    , m_dialogs(m_notifier)
    , m_session(m_notifier, m_dialogs)
    , m_context(m_notifier)
    , m_presenter(m_session)
    , m_guard(QStringLiteral("kestrel-or"), m_options.lockFolder)
{
    m_session.ApplicationPath = QCoreApplication::applicationDirPath();
    m_dialogs.attach(m_session, installationScrambleKey(m_session.ApplicationPath));

    if (!m_options.loginPrompt) {
        m_loginDialog = std::make_unique<LoginDialog>();
        m_options.loginPrompt = m_loginDialog.get();
    }
    m_context.loginPrompt = m_options.loginPrompt;
    m_context.applicationPath = m_session.ApplicationPath;
    m_context.openEmbedded = m_options.openEmbedded;
    m_context.embeddedPath = m_options.embeddedPath;
    m_context.procedures = m_options.procedures;

    m_window = std::make_unique<mdiORMenu>(m_presenter);
    m_windowSeam = std::make_unique<WindowSeam>(*m_window);
    m_assistant = std::make_unique<AssistantWidget>();

    StartupEnvironment env{
        m_notifier,
        *m_assistant,
        *m_windowSeam,
        m_guard,
        m_context,
        nullptr,
        QCoreApplication::applicationVersion(),
        [](const Session &s) { return StartupMenuVisibility(s.hospital, s.settings); }};
    m_startup = std::make_unique<Startup>(m_session, std::move(env));

    // "User Settings" asks the logged-in user's password again through the login component.
    m_presenter.setCheckUserSettings([this] {
        auto *user = qobject_cast<clsLoginUser *>(m_startup->components().user.get());
        return user && user->checkusersettings();
    });
    connect(&m_presenter, &MainMenu::exitRequested, this, &ApplicationShell::unload);

    // Every report command asks for the report viewer; each report opens a viewer of its own
    // in the work area, so the factory itself answers no window.
    m_window->windows().add(kReportViewer.toString(),
                            [this](const WindowRequest &request, QWidget *) -> QWidget * {
                                if (ReportCommands *commands = reportCommands())
                                    commands->run(request);
                                return nullptr;
                            });

    // The rights editor is modal and unloads when it closes; the user logs stay in the work
    // area as the one shared instance.
    m_window->windows().add(QStringLiteral("frmUserRights"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                auto *rights = new frmUserRights(m_session);
                                rights->setAttribute(Qt::WA_DeleteOnClose);
                                return rights;
                            });
    m_window->windows().add(QStringLiteral("frmUserLogs"),
                            [this](const WindowRequest &, QWidget *open) -> QWidget * {
                                if (open)
                                    return open;
                                ReportService *reports = reportService();
                                return reports ? new frmUserLogs(m_session, *reports) : nullptr;
                            });
}

ReportService *ApplicationShell::reportService()
{
    if (m_reports)
        return m_reports.get();
    if (m_unloaded || !m_session.currentUser() || !m_session.currentUser()->sqlconnection())
        return nullptr;
    m_reportDisplay = std::make_unique<WidgetReportDisplay>(m_notifier, m_window->workArea());
    m_reports = std::make_unique<ReportService>(
        m_session.db(), QDir(m_session.ApplicationPath).filePath(QStringLiteral("Reports")),
        ReportHeadings{m_session.hospital.Company, m_session.hospital.Address1}, *m_reportDisplay,
        m_notifier);
    return m_reports.get();
}

ReportCommands *ApplicationShell::reportCommands()
{
    if (m_reportCommands)
        return m_reportCommands.get();
    ReportService *reports = reportService();
    if (!reports)
        return nullptr;
    m_reportCommands = std::make_unique<ReportCommands>(m_session, *reports);
    return m_reportCommands.get();
}

ApplicationShell::~ApplicationShell()
{
    unload();
}

Startup::Outcome ApplicationShell::start()
{
    const Startup::Outcome outcome = m_startup->run();
    if (outcome != Startup::Outcome::Running) {
        unload();
        return outcome;
    }
    m_window->show();
    // Showing the window is its first activation, whether or not a window manager says so.
    m_presenter.refreshNextChargeSlip();
    return outcome;
}

void ApplicationShell::unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    // Every window closes with the main window, before what they work with goes away.
    if (m_window)
        m_window->workArea()->closeAllSubWindows();
    // The reports read through the user's connection, which the start-up releases.
    m_reportCommands.reset();
    m_reports.reset();
    m_reportDisplay.reset();
    m_startup->unload();
    if (m_window)
        m_window->hide();
    Q_EMIT finished();
}

} // namespace kestrel
