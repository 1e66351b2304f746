// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// The main window's frame: building, binding to its presenter, opening windows, and events.
#include "shell/ui/mdiORMenu.h"

#include "core/Notifier.h"
#include "core/Session.h"

#include <QCloseEvent>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPixmap>
#include <QResizeEvent>
#include <QScreen>
#include <QWindow>

namespace kestrel {

mdiORMenu::mdiORMenu(MainMenu &presenter, QWidget *parent)
    : QMainWindow(parent)
    , m_presenter(presenter)
{
    buildUi();
    bind();
}

mdiORMenu::~mdiORMenu() = default;

void mdiORMenu::buildUi()
{
    setObjectName(QStringLiteral("mdiORMenu"));
    m_workArea = new QMdiArea(this);
    m_workArea->setObjectName(QStringLiteral("workArea"));
    m_workArea->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    m_workArea->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setCentralWidget(m_workArea);

    buildMenus();
    buildToolbar();
    buildAlerts();
    buildStatusBar();
    buildChargeSlipPanel();
    resize(1024, 720);
}

void mdiORMenu::bind()
{
    bindMenus();
    bindToolbar();

    connect(&m_presenter, &MainMenu::windowRequested, this, &mdiORMenu::showWindow);
    connect(&m_presenter, &MainMenu::menuChanged, this, &mdiORMenu::applyMenuState);
    connect(&m_presenter, &MainMenu::nextChargeSlipChanged, this, [this](const QString &text) {
        static_cast<QLabel *>(m_controls.value(QStringLiteral("lblCS(1)")))->setText(text);
    });
    connect(&m_presenter, &MainMenu::exitRequested, this, [this] {
        m_exitConfirmed = true;
        if (!m_inCloseEvent)
            close();
    });

    for (const QString &name : m_presenter.changedMenus())
        applyMenuState(name);
    static_cast<QLabel *>(m_controls.value(QStringLiteral("lblCS(1)")))
        ->setText(m_presenter.nextChargeSlip());
}

QWidget *mdiORMenu::control(QStringView name) const
{
    return m_controls.value(name.toString());
}

void mdiORMenu::setBackground(const QPixmap &picture)
{
    m_backgroundPicture = picture;
    fitBackground();
}

void mdiORMenu::fitBackground()
{
    if (m_backgroundPicture.isNull())
        return;
    // The picture covers the whole work area at any window size instead of repeating.
    const QSize area = m_workArea->viewport()->size();
    if (area.isEmpty())
        return;
    const QPixmap scaled =
        m_backgroundPicture.scaled(area, Qt::KeepAspectRatioByExpanding, Qt::SmoothTransformation);
    m_workArea->setBackground(
        QBrush(scaled.copy((scaled.width() - area.width()) / 2,
                           (scaled.height() - area.height()) / 2, area.width(), area.height())));
}

void mdiORMenu::resizeEvent(QResizeEvent *event)
{
    QMainWindow::resizeEvent(event);
    fitBackground();
}

bool mdiORMenu::loadBackground(const QString &file)
{
    QPixmap picture;
    if (!picture.load(file))
        return false;
    setBackground(picture);
    return true;
}

QSize mdiORMenu::screenSize() const
{
    const QScreen *s = screen();
    return s ? s->size() : QSize();
}

void mdiORMenu::showWindow(const QString &formName, const WindowRequest &request)
{
    if (!m_windows.contains(formName)) {
        const QString caption = request.caption.isEmpty() ? formName : request.caption;
        m_presenter.session().notifier().message(caption + QStringLiteral(" is not available yet."),
                                                 QStringLiteral("Notification"),
                                                 Notifier::Icon::Information);
        return;
    }
    QWidget *window = m_windows.make(formName, request);
    if (!window)
        return;

    if (request.modal) {
        if (!window->parentWidget())
            window->setParent(this, window->windowFlags() | Qt::Dialog);
        if (auto *dialog = qobject_cast<QDialog *>(window)) {
            dialog->exec();
            return;
        }
        window->setWindowModality(Qt::ApplicationModal);
        window->show();
        window->raise();
        window->activateWindow();
        return;
    }

    // A shared window that is open already is only brought forward.
    for (QMdiSubWindow *sub : m_workArea->subWindowList()) {
        if (sub->widget() == window) {
            sub->showNormal();
            m_workArea->setActiveSubWindow(sub);
            return;
        }
    }
    // The window opens at the size it was given, or else at the size its contents ask for.
    const QSize wanted =
        window->testAttribute(Qt::WA_Resized) ? window->size() : window->sizeHint();
    QMdiSubWindow *sub = m_workArea->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowTitle(window->windowTitle().isEmpty() ? request.caption : window->windowTitle());
    sub->show();
    if (wanted.isValid())
        sub->resize(wanted + (sub->size() - sub->contentsRect().size()));
    m_workArea->setActiveSubWindow(sub);
}

void mdiORMenu::keepActiveChildInWorkArea(const QRect &available)
{
    QMdiSubWindow *child = m_workArea->activeSubWindow();
    if (!child)
        return;
    QWidget *viewport = m_workArea->viewport();
    const QRect workArea = QRect(viewport->mapFromGlobal(available.topLeft()), available.size())
                               .intersected(viewport->rect());
    if (workArea.isEmpty())
        return;
    child->setGeometry(keepInsideWorkArea(child->geometry(), workArea));
}

void mdiORMenu::watchScreen(QScreen *screen)
{
    disconnect(m_screenConnection);
    if (screen)
        m_screenConnection = connect(screen, &QScreen::availableGeometryChanged, this,
                                     &mdiORMenu::keepActiveChildInWorkArea);
}

void mdiORMenu::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    if (QWindow *handle = windowHandle()) {
        watchScreen(handle->screen());
        connect(handle, &QWindow::screenChanged, this, &mdiORMenu::watchScreen,
                Qt::UniqueConnection);
    }
}

bool mdiORMenu::event(QEvent *event)
{
    if (event->type() == QEvent::WindowActivate)
        m_presenter.refreshNextChargeSlip();
    return QMainWindow::event(event);
}

void mdiORMenu::closeEvent(QCloseEvent *event)
{
    if (!m_exitConfirmed) {
        m_inCloseEvent = true;
        m_presenter.mnuExitApps();
        m_inCloseEvent = false;
    }
    if (m_exitConfirmed)
        event->accept();
    else
        event->ignore();
}

} // namespace kestrel
