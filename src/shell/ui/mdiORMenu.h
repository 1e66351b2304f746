// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "shell/MainMenu.h"
#include "shell/ui/WindowRegistry.h"

#include <QColor>
#include <QHash>
#include <QMainWindow>
#include <QPixmap>
#include <QPointer>

#include <functional>

class QAction;
class QLabel;
class QMdiArea;
class QMenu;

class QScreen;
class QTimer;
class QToolBar;

namespace kestrel {

class LockKeys;

/// The program's main window: the frame every other window opens in, with the menu bar,
/// the toolbar `Toolbar1`, the status bar `StbEr`, the "Next Charge Slip #" panel and the
/// alert buttons of the background monitors. Every command is the presenter's (MainMenu);
/// this window only shows them and opens the windows they ask for.
class mdiORMenu : public QMainWindow
{
    Q_OBJECT

public:
    explicit mdiORMenu(MainMenu &presenter, QWidget *parent = nullptr);
    ~mdiORMenu() override;

    MainMenu &presenter() const { return m_presenter; }
    /// The area the other windows open in.
    QMdiArea *workArea() const { return m_workArea; }
    /// The windows this main window can open, by form name.
    WindowRegistry &windows() { return m_windows; }

    /// A menu command by its name ("mnuCVOR"); for a submenu, the command that opens it.
    QAction *action(QStringView name) const;
    /// A submenu by its name ("mnuReports").
    QMenu *menu(QStringView name) const;
    /// A button of `Toolbar1` by its key ("Open", "Report", ...).
    QAction *toolbarButton(QStringView key) const;
    /// A named control of the window: `StbEr(1)`..`StbEr(8)`, `Picture2`, `lblCS(1)`, the alert
    /// buttons and `txtPanic`; null for another name.
    QWidget *control(QStringView name) const;

    /// Status bar panel `index`, 1 to 8.
    void setPanel(int index, const QString &text, const QString &toolTip = {});
    void setPanelToolTip(int index, const QString &toolTip);
    QString panelText(int index) const;
    QString panelToolTip(int index) const;

    void setBackground(const QPixmap &picture);
    /// Sets the background from a picture file; false when the file cannot be read.
    bool loadBackground(const QString &file);
    void setCaption(const QString &caption) { setWindowTitle(caption); }
    /// Shows or hides a menu; the state is kept by the presenter.
    void setMenuVisible(const QString &menuName, bool visible);
    /// The size of the screen the window is on.
    QSize screenSize() const;

    /// Shows or hides an alert button ("cmdCommunication", "cmdPanicLab" together with
    /// `txtPanic`, "cmdRevokedRequests", "cmdAdmissions", "cmdRequestSched").
    void setAlertVisible(QStringView name, bool visible);
    /// Paints an alert button; an invalid colour gives it back the menu colour.
    void setAlertColour(QStringView name, const QColor &colour);
    /// Whoever wraps the opening of an alert's window (the monitors stop their result timers
    /// while the verified results are open); `open` opens it.
    void setAlertOpener(
        std::function<void(const QString &button, const std::function<void()> &open)> opener)
    {
        m_alertOpener = std::move(opener);
    }

    /// Opens the window a command asked for, through its registered factory; without one the
    /// user is told that the window is not available yet.
    void showWindow(const QString &formName, const kestrel::WindowRequest &request);
    /// Keeps the active child window inside the screen's work area `available` (global
    /// coordinates), as the work area shrinks or grows.
    void keepActiveChildInWorkArea(const QRect &available);

Q_SIGNALS:
    void communicationClicked();
    void panicLabClicked();
    void revokedRequestsClicked();
    void admissionsClicked();
    void requestSchedClicked();

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void buildUi();
    void bind();
    void fitBackground();
    void watchScreen(QScreen *screen);

    // The menu bar (mdiORMenuMenuBar.cpp).
    void buildMenus();
    void bindMenus();
    void applyMenuState(const QString &name);
    void refreshWindowList();

    // Toolbar1 and the alert buttons (mdiORMenuToolbar.cpp).
    void buildToolbar();
    void buildAlerts();
    void bindToolbar();

    // The status bar and the charge slip panel (mdiORMenuStatusBar.cpp).
    void buildStatusBar();
    /// "CAPS" and "NUM" are shown plainly while their lock is on and greyed while it is off.
    void showLockKeys();
    void buildChargeSlipPanel();
    void tick();
    QLabel *panel(int index) const;

    MainMenu &m_presenter;
    WindowRegistry m_windows;
    QMdiArea *m_workArea = nullptr;
    QToolBar *m_toolbar = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QMenu *> m_menus;
    QHash<QString, QAction *> m_buttons;
    QHash<QString, QWidget *> m_controls;
    std::function<void(const QString &, const std::function<void()> &)> m_alertOpener;
    QList<QLabel *> m_panels;
    QTimer *m_clock = nullptr;
    LockKeys *m_lockKeys = nullptr;
    QMetaObject::Connection m_screenConnection;
    /// Set once the exit question was answered Yes, so closing does not ask again.
    bool m_exitConfirmed = false;
    bool m_inCloseEvent = false;
    QPixmap m_backgroundPicture;
};

} // namespace kestrel
