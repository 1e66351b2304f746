// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/ApplicationShell.h"

#include "shell/ClientMenus.h"
#include "shell/components/clsLoginUser.h"
#include "shell/components/ui/LoginDialog.h"

#include <QApplication>
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
    m_startup->unload();
    if (m_window)
        m_window->hide();
    Q_EMIT finished();
}

} // namespace kestrel
