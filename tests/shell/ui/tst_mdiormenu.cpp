// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The main window on the offscreen platform: opening windows through the registry, the window
// list, menus following the presenter, the charge slip panel, the alert buttons, the exit
// question and the work area.
#include "shell/MainMenu.h"
#include "shell/ui/mdiORMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

using namespace kestrel;
using kestrel::test::MainWindowFixture;
using kestrel::test::TestDatabase;

namespace {

// A window factory that makes a plain window titled with the request's caption, or hands back
// the one already open.
QWidget *plainWindow(const WindowRequest &request, QWidget *open)
{
    if (open)
        return open;
    auto *w = new QWidget;
    w->setWindowTitle(request.caption);
    return w;
}

} // namespace

class tst_mdiORMenu : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        auto db = TestDatabase::create(Backend::Sqlite);
        QVERIFY2(db.has_value(), qPrintable(db ? QString() : db.error().message));
        m_db = std::move(*db);
        m_fixture = std::make_unique<MainWindowFixture>(m_db->db(), QStringLiteral("2901"));
        m_presenter = std::make_unique<MainMenu>(m_fixture->session);
        m_window = std::make_unique<mdiORMenu>(*m_presenter);
    }
    void cleanup()
    {
        m_window.reset();
        m_presenter.reset();
        m_fixture.reset();
        m_db.reset();
    }

    void lockKeyPanelsFollowTheKeys()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        auto *caps = m_window->findChild<QLabel *>(QStringLiteral("StbEr(4)"));
        auto *num = m_window->findChild<QLabel *>(QStringLiteral("StbEr(5)"));
        QVERIFY(caps && num);
        // Offscreen there is no keyboard indicator to read: the state is learnt from the keys.
        const auto press = [&](Qt::Key key, Qt::KeyboardModifiers modifiers, const QString &text) {
            QKeyEvent event(QEvent::KeyPress, key, modifiers, text);
            QCoreApplication::sendEvent(m_window->windowHandle(), &event);
        };
        press(Qt::Key_A, Qt::NoModifier, QStringLiteral("A"));
        QVERIFY(caps->isEnabled());
        press(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("a"));
        QVERIFY(caps->isEnabled());
        press(Qt::Key_CapsLock, Qt::NoModifier, {});
        QVERIFY(!caps->isEnabled());
        press(Qt::Key_A, Qt::ShiftModifier, QStringLiteral("A"));
        QVERIFY(!caps->isEnabled());
        QVERIFY(!num->isEnabled());
        press(Qt::Key_7, Qt::KeypadModifier, QStringLiteral("7"));
        QVERIFY(num->isEnabled());
        press(Qt::Key_Home, Qt::KeypadModifier, {});
        QVERIFY(!num->isEnabled());
        QCOMPARE(caps->text(), QStringLiteral("CAPS"));
    }

    void registeredWindowIsOneSharedInstance()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        // A window nobody registered is told about, by its caption.
        m_window->action(u"mnuSchedule")->trigger();
        QCOMPARE(m_fixture->notifier.lastText(),
                 QStringLiteral("Schedule of Operations is not available yet."));
        QCOMPARE(m_window->workArea()->subWindowList().size(), 0);
        m_fixture->notifier.clear();

        int made = 0;
        QList<QWidget *> handedBack;
        m_window->windows().add(QStringLiteral("frmSchedule"),
                                [&](const WindowRequest &request, QWidget *open) -> QWidget * {
                                    handedBack << open;
                                    made += open ? 0 : 1;
                                    QWidget *w = plainWindow(request, open);
                                    w->resize(500, 320);
                                    return w;
                                });
        m_window->action(u"mnuSchedule")->trigger();
        m_window->action(u"mnuORSchedEntry")->trigger();
        QCOMPARE(made, 1);
        QCOMPARE(m_window->workArea()->subWindowList().size(), 1);
        QCOMPARE(handedBack.size(), 2);
        QCOMPARE(handedBack.at(0), nullptr);
        QVERIFY(handedBack.at(1) != nullptr);
        QMdiSubWindow *sub = m_window->workArea()->subWindowList().first();
        QCOMPARE(sub->windowTitle(), QStringLiteral("Schedule of Operations"));
        QCOMPARE(sub->widget()->size(), QSize(500, 320)); // opens at the size it was given
        QCOMPARE(m_fixture->notifier.boxes().size(), 0);

        // Closing the window unloads it: the next command makes a new one.
        sub->close();
        QTRY_COMPARE(m_window->workArea()->subWindowList().size(), 0);
        QTRY_VERIFY(!m_window->windows().openInstance(QStringLiteral("frmSchedule")));
        m_window->action(u"mnuSchedule")->trigger();
        QCOMPARE(made, 2);
        QCOMPARE(handedBack.last(), nullptr);

        // A factory that served the request without a window shows nothing.
        m_window->windows().add(
            QStringLiteral("frmSearch"),
            [](const WindowRequest &, QWidget *) -> QWidget * { return nullptr; });
        m_window->action(u"mnuOpen")->setVisible(true);
        m_window->action(u"mnuOpen")->trigger();
        QCOMPARE(m_window->workArea()->subWindowList().size(), 1);
        QCOMPARE(m_fixture->notifier.boxes().size(), 0);
    }

    void modalWindowIsShownModally()
    {
        QPointer<QDialog> shown;
        bool wasModal = false;
        m_window->windows().add(QStringLiteral("frmBuildORRooms"),
                                [&](const WindowRequest &, QWidget *) -> QWidget * {
                                    shown = new QDialog;
                                    shown->setAttribute(Qt::WA_DeleteOnClose);
                                    QTimer::singleShot(0, shown, [&] {
                                        wasModal = QApplication::activeModalWidget() == shown;
                                        shown->accept();
                                    });
                                    return shown;
                                });
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_window->action(u"mnuBuild")->trigger();
        QVERIFY(wasModal);
        QCOMPARE(m_window->workArea()->subWindowList().size(), 0);
    }

    void windowListFollowsTheOpenWindows()
    {
        m_window->windows().add(QStringLiteral("frmSchedule"), plainWindow);
        m_window->windows().add(QStringLiteral("frmInfo"), plainWindow);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        m_presenter->setPatientCommandsEnabled(true);
        m_window->action(u"mnuSchedule")->trigger();
        m_window->action(u"mnuInfo")->trigger();

        QMenu *windowMenu = m_window->menu(u"mnuWindow");
        const auto listed = [&] {
            QStringList titles;
            const QList<QAction *> items = windowMenu->actions();
            for (qsizetype i = items.indexOf(m_window->action(u"mnuWindowBar0")) + 1;
                 i < items.size(); ++i)
                titles << items.at(i)->text();
            return titles;
        };
        for (int shown = 0; shown < 2; ++shown) { // listing twice lists each window once
            Q_EMIT windowMenu->aboutToShow();
            QCOMPARE(listed(), (QStringList{"&1 Schedule of Operations", "&2 Personal Info"}));
        }
        const QList<QAction *> items = windowMenu->actions();
        QAction *first = items.at(items.size() - 2);
        QVERIFY(!first->isChecked());
        QVERIFY(items.last()->isChecked());
        first->trigger();
        QCOMPARE(m_window->workArea()->activeSubWindow()->windowTitle(),
                 QStringLiteral("Schedule of Operations"));
    }

    void menuStateFollowsThePresenter()
    {
        const auto patientCommandsEnabled = [](const mdiORMenu &w, bool enabled) {
            for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
                QVERIFY2(w.action(QString::fromLatin1(name))->isEnabled() == enabled, name);
        };
        patientCommandsEnabled(*m_window, false);
        m_presenter->setPatientCommandsEnabled(true);
        patientCommandsEnabled(*m_window, true);

        m_presenter->setCVORCaption(QStringLiteral("Untag as CVOR/RR Patient"));
        QCOMPARE(m_window->action(u"mnuCVOR")->text(), QStringLiteral("Untag as CVOR/RR Patient"));
        m_window->setMenuVisible(QStringLiteral("mnuORCases"), true);
        QVERIFY(m_window->action(u"mnuORCases")->isVisible());
        QCOMPARE(m_presenter->menuState(QStringLiteral("mnuORCases")).visible,
                 std::optional<bool>(true));
        // Receivables turn the patient commands off again.
        m_presenter->mnuRecvbles();
        patientCommandsEnabled(*m_window, false);

        // A window built after the presenter changed shows the presenter's state.
        mdiORMenu late(*m_presenter);
        QCOMPARE(late.action(u"mnuCVOR")->text(), QStringLiteral("Untag as CVOR/RR Patient"));
        QVERIFY(late.action(u"mnuORCases")->isVisible());
        patientCommandsEnabled(late, false);

        // Start-up's menus reach the window; the menus it leaves alone keep their state.
        m_presenter->setMenusVisible(
            {{QStringLiteral("mnuORCensus"), true}, {QStringLiteral("mnuAudit"), false}});
        QVERIFY(m_window->action(u"mnuORCensus")->isVisible());
        QVERIFY(!m_window->action(u"mnuAudit")->isVisible());
        QVERIFY(m_window->action(u"mnuCensusOrig")->isVisible());
    }

    void chargeSlipPanelIsRefreshedOnActivation()
    {
        auto *number = qobject_cast<QLabel *>(m_window->control(u"lblCS(1)"));
        QVERIFY(number);
        QVERIFY(m_db->db().exec(
            u"update STATION..tbORChargeSlip set ChargeSlip = :n "
            u"where StationID = :s",
            {{QStringLiteral("n"), 52417}, {QStringLiteral("s"), QStringLiteral("OR")}}));
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(m_window.get(), &activate);
        QCOMPARE(number->text(), QStringLiteral("52417"));
    }

    void alertButtonsComeAndGo()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy windows(m_presenter.get(), &MainMenu::windowRequested);
        // The panic values' text comes and goes with its button, and is clicked the same.
        for (const char *name : {"cmdCommunication", "cmdAdmissions", "cmdPanicLab",
                                 "cmdRevokedRequests", "cmdRequestSched", "txtPanic"}) {
            const QString alert =
                QString::fromLatin1(qstrcmp(name, "txtPanic") == 0 ? "cmdPanicLab" : name);
            QWidget *control = m_window->control(QString::fromLatin1(name));
            QVERIFY2(control && !control->isVisible(), name);
            m_window->setAlertVisible(alert, true);
            QVERIFY2(control->isVisible(), name);
            windows.clear();
            QTest::mouseClick(control, Qt::LeftButton);
            QVERIFY2(windows.size() == 1, name);
            m_window->setAlertVisible(alert, false);
            QVERIFY2(!control->isVisible(), name);
        }
    }

    void closingAsksTheExitQuestion_data()
    {
        QTest::addColumn<bool>("yes");
        QTest::newRow("No keeps the program running") << false;
        QTest::newRow("Yes ends it") << true;
    }
    void closingAsksTheExitQuestion()
    {
        QFETCH(bool, yes);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy exits(m_presenter.get(), &MainMenu::exitRequested);
        m_fixture->notifier.answer({yes});
        QCOMPARE(m_window->close(), yes);
        QCOMPARE(m_window->isVisible(), !yes);
        QCOMPARE(exits.size(), yes ? 1 : 0);
        QCOMPARE(m_fixture->notifier.boxes().size(), 1);
        QCOMPARE(m_fixture->notifier.lastText(),
                 QStringLiteral("Are you sure you want to close Kestrel?"));
    }

    void exitCommandClosesWithoutAskingTwice()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QSignalSpy exits(m_presenter.get(), &MainMenu::exitRequested);
        m_fixture->notifier.answer({false, true});
        m_window->action(u"mnuExitApps")->trigger();
        QVERIFY(m_window->isVisible());
        m_window->toolbarButton(u"Exit")->trigger();
        QVERIFY(!m_window->isVisible());
        QCOMPARE(exits.size(), 1);
        QCOMPARE(m_fixture->notifier.boxes().size(), 2);
    }

    void activeChildKeptInsideTheWorkArea()
    {
        m_window->resize(1000, 700);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        QMdiArea *area = m_window->workArea();
        auto *small = area->addSubWindow(new QWidget);
        small->setGeometry(40, 30, 200, 150);
        small->show();
        auto *large = area->addSubWindow(new QWidget);
        large->setGeometry(60, 50, 700, 500);
        large->show();
        area->setActiveSubWindow(large);

        // The work area shrinks to 500 x 400 pixels at the viewport's corner.
        const QRect available(area->viewport()->mapToGlobal(QPoint(0, 0)), QSize(500, 400));
        m_window->keepActiveChildInWorkArea(available);
        QCOMPARE(large->geometry(), QRect(0, 0, 500, 400));
        QCOMPARE(small->geometry(), QRect(40, 30, 200, 150)); // not the active one
        area->setActiveSubWindow(small);
        m_window->keepActiveChildInWorkArea(available);
        QCOMPARE(small->geometry(), QRect(40, 30, 200, 150)); // fits already
    }

    void backgroundIsFittedToTheWorkArea()
    {
        QVERIFY(!m_window->loadBackground(QStringLiteral("/nonexistent/Main Menu1.jpg")));
        QTemporaryDir dir;
        QPixmap picture(64, 48);
        picture.fill(Qt::darkCyan);
        const QString file = dir.filePath(QStringLiteral("Main Menu1.png"));
        QVERIFY(picture.save(file));
        QVERIFY(m_window->loadBackground(file));
        // The picture is fitted to the work area rather than repeated across it.
        const QImage shown = m_window->workArea()->background().texture().toImage();
        QCOMPARE(shown.size(), m_window->workArea()->viewport()->size());
        QCOMPARE(shown.pixelColor(shown.width() / 2, shown.height() / 2), QColor(Qt::darkCyan));
    }

private:
    std::unique_ptr<TestDatabase> m_db;
    std::unique_ptr<MainWindowFixture> m_fixture;
    std::unique_ptr<MainMenu> m_presenter;
    std::unique_ptr<mdiORMenu> m_window;
};

QTEST_MAIN(tst_mdiORMenu)
#include "tst_mdiormenu.moc"
