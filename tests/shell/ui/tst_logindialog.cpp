// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/components/ui/LoginDialog.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSettings>
#include <QStandardPaths>
#include <QTest>
#include <QTimer>

using namespace kestrel;

namespace {

template <typename T> T *child(QWidget &parent, const char *name)
{
    return parent.findChild<T *>(QString::fromLatin1(name));
}

// Shows the dialog and makes it the active window, as the login is when it opens.
bool showActive(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    return QTest::qWaitForWindowActive(&dialog);
}

} // namespace

class tst_LoginDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void init();

    void looksLikeTheLogin();
    void enterMovesFromCodeToPasswordAndLogsIn();
    void codeIsUpperCasedAsTyped();
    void escapeCancels();
    void serverFieldsOnlyForTheServer();
    void refusalIsShownAboveTheButtons();
    void askLoginAnswersWhatWasTyped();
    void lastDatabaseChoiceIsRemembered();
    void askPasswordAsksOnlyThePassword();
};

void tst_LoginDialog::initTestCase()
{
    // Remembered choices go to a throwaway settings folder, never the user's.
    QStandardPaths::setTestModeEnabled(true);
    QCoreApplication::setOrganizationName(QStringLiteral("KestrelTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_logindialog"));
}

void tst_LoginDialog::init()
{
    QSettings().clear();
}

void tst_LoginDialog::looksLikeTheLogin()
{
    LoginDialog dialog;
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Kestrel - Operating Room Login"));
    auto *choice = child<QComboBox>(dialog, "cboDatabase");
    QVERIFY(choice);
    QCOMPARE(choice->count(), 2);
    QCOMPARE(choice->itemText(0), QStringLiteral("Embedded demo hospital"));
    QCOMPARE(choice->itemText(1), QStringLiteral("PostgreSQL server"));
    QCOMPARE(child<QLineEdit>(dialog, "txtPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(child<QLineEdit>(dialog, "txtServerPassword")->echoMode(), QLineEdit::Password);
    QCOMPARE(child<QLineEdit>(dialog, "txtServerPort")->text(), QStringLiteral("5432"));
    QVERIFY(child<QPushButton>(dialog, "cmdOK"));
    QVERIFY(child<QPushButton>(dialog, "cmdCancel"));
}

void tst_LoginDialog::enterMovesFromCodeToPasswordAndLogsIn()
{
    LoginDialog dialog;
    dialog.prepareLogin(QString());
    QVERIFY(showActive(dialog));
    auto *code = child<QLineEdit>(dialog, "txtEmployeeCode");
    auto *password = child<QLineEdit>(dialog, "txtPassword");
    QCOMPARE(QApplication::focusWidget(), code);

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2901"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QVERIFY(dialog.isVisible()); // Enter in the code does not log in yet
    QCOMPARE(QApplication::focusWidget(), password);

    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("orsupervisor"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Enter);
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QVERIFY(!dialog.isVisible());

    const LoginRequest r = dialog.request();
    QCOMPARE(r.source, LoginSource::Embedded);
    QCOMPARE(r.employeeCode, QStringLiteral("2901"));
    QCOMPARE(r.password, QStringLiteral("orsupervisor"));
    QCOMPARE(r.host, QString()); // nothing of a server for the embedded hospital
}

void tst_LoginDialog::codeIsUpperCasedAsTyped()
{
    LoginDialog dialog;
    dialog.prepareLogin(QString());
    auto *code = child<QLineEdit>(dialog, "txtEmployeeCode");
    QTest::keyClicks(code, QStringLiteral("or-29a"));
    QCOMPARE(code->text(), QStringLiteral("OR-29A"));
}

void tst_LoginDialog::escapeCancels()
{
    LoginDialog dialog;
    dialog.prepareLogin(QString());
    QVERIFY(showActive(dialog));
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("2901"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Escape);
    QCOMPARE(dialog.result(), int(QDialog::Rejected));
    QVERIFY(!dialog.isVisible());
}

void tst_LoginDialog::serverFieldsOnlyForTheServer()
{
    LoginDialog dialog;
    dialog.prepareLogin(QString());
    QVERIFY(showActive(dialog));
    auto *choice = child<QComboBox>(dialog, "cboDatabase");
    const QStringList serverFields{"txtServerHost", "txtServerPort", "txtServerDatabase",
                                   "txtServerUser", "txtServerPassword"};
    for (const QString &name : serverFields)
        QVERIFY2(!dialog.findChild<QLineEdit *>(name)->isVisible(), qPrintable(name));

    choice->setCurrentIndex(1);
    for (const QString &name : serverFields)
        QVERIFY2(dialog.findChild<QLineEdit *>(name)->isVisible(), qPrintable(name));

    // Enter walks through the server's fields down to the employee code.
    dialog.findChild<QLineEdit *>(QStringLiteral("txtServerHost"))->setFocus();
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("db01.hospital.local"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("x"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("hospital"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("kestrel"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QTest::keyClicks(QApplication::focusWidget(), QStringLiteral("pw"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
    QCOMPARE(QApplication::focusWidget(), dialog.findChild<QWidget *>("txtEmployeeCode"));
    QVERIFY(dialog.isVisible());

    const LoginRequest r = dialog.request();
    QCOMPARE(r.source, LoginSource::Server);
    QCOMPARE(r.host, QStringLiteral("db01.hospital.local"));
    QCOMPARE(r.port, 5432); // the port takes digits only
    QCOMPARE(r.database, QStringLiteral("hospital"));
    QCOMPARE(r.user, QStringLiteral("kestrel"));
    QCOMPARE(r.serverPassword, QStringLiteral("pw"));

    choice->setCurrentIndex(0);
    QVERIFY(!dialog.findChild<QLineEdit *>(QStringLiteral("txtServerHost"))->isVisible());
}

void tst_LoginDialog::refusalIsShownAboveTheButtons()
{
    LoginDialog dialog;
    auto *refusal = child<QLabel>(dialog, "lblRefusal");
    auto *code = child<QLineEdit>(dialog, "txtEmployeeCode");
    auto *password = child<QLineEdit>(dialog, "txtPassword");
    dialog.prepareLogin(QString());
    QVERIFY(showActive(dialog));
    QVERIFY(!refusal->isVisible());

    QTest::keyClicks(code, QStringLiteral("2901"));
    QTest::keyClicks(password, QStringLiteral("wrong"));
    dialog.prepareLogin(QStringLiteral("Invalid employee code or password."));
    QVERIFY(refusal->isVisible());
    QCOMPARE(refusal->text(), QStringLiteral("Invalid employee code or password."));
    QVERIFY(refusal->styleSheet().contains(u"#c00000"));
    QVERIFY(refusal->geometry().bottom() <=
            child<QPushButton>(dialog, "cmdOK")->mapTo(&dialog, QPoint(0, 0)).y());
    // The code stays for the next try; the password must be typed again.
    QCOMPARE(code->text(), QStringLiteral("2901"));
    QCOMPARE(password->text(), QString());
    QCOMPARE(QApplication::focusWidget(), password);

    dialog.prepareLogin(QString());
    QVERIFY(!refusal->isVisible());
}

void tst_LoginDialog::askLoginAnswersWhatWasTyped()
{
    LoginDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] {
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtEmployeeCode")),
                         QStringLiteral("2903"));
        auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword"));
        QTest::keyClicks(password, QStringLiteral("circnurse"));
        QTest::keyClick(password, Qt::Key_Return);
    });
    const std::optional<LoginRequest> answer = dialog.askLogin(QString());
    QVERIFY(answer);
    QCOMPARE(answer->employeeCode, QStringLiteral("2903"));
    QCOMPARE(answer->password, QStringLiteral("circnurse"));
    // The window keeps no password once it has answered.
    QCOMPARE(dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword"))->text(), QString());

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.reject(); });
    QVERIFY(!dialog.askLogin(QStringLiteral("Invalid employee code or password.")));
}

void tst_LoginDialog::lastDatabaseChoiceIsRemembered()
{
    {
        LoginDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            dialog.findChild<QComboBox *>(QStringLiteral("cboDatabase"))->setCurrentIndex(1);
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtServerHost")),
                             QStringLiteral("db01"));
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtServerDatabase")),
                             QStringLiteral("hospital"));
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtServerUser")),
                             QStringLiteral("kestrel"));
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtServerPassword")),
                             QStringLiteral("server-secret"));
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtEmployeeCode")),
                             QStringLiteral("2901"));
            QTest::keyClicks(dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword")),
                             QStringLiteral("orsupervisor"));
            dialog.accept();
        });
        QVERIFY(dialog.askLogin(QString()));
    }
    LoginDialog next;
    QCOMPARE(next.findChild<QComboBox *>(QStringLiteral("cboDatabase"))->currentIndex(), 1);
    const LoginRequest r = next.request();
    QCOMPARE(r.source, LoginSource::Server);
    QCOMPARE(r.host, QStringLiteral("db01"));
    QCOMPARE(r.database, QStringLiteral("hospital"));
    QCOMPARE(r.user, QStringLiteral("kestrel"));
    QCOMPARE(r.serverPassword, QString());
    QCOMPARE(r.employeeCode, QString());
    QCOMPARE(r.password, QString());
    // No password of any kind is remembered.
    QSettings settings;
    for (const QString &key : settings.allKeys()) {
        const QString value = settings.value(key).toString();
        QVERIFY2(!value.contains(u"secret") && !value.contains(u"orsupervisor"), qPrintable(key));
    }
}

void tst_LoginDialog::askPasswordAsksOnlyThePassword()
{
    LoginDialog dialog;
    QTimer::singleShot(0, &dialog, [&dialog] {
        QVERIFY(!dialog.findChild<QLineEdit *>(QStringLiteral("txtEmployeeCode"))->isVisible());
        QVERIFY(!dialog.findChild<QComboBox *>(QStringLiteral("cboDatabase"))->isVisible());
        QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblHeading"))->text(),
                 QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"));
        auto *password = dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword"));
        QTest::keyClicks(password, QStringLiteral("orsupervisor"));
        QTest::keyClick(password, Qt::Key_Return);
    });
    QCOMPARE(dialog.askPassword(QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"), QString()),
             std::optional<QString>(QStringLiteral("orsupervisor")));

    QTimer::singleShot(0, &dialog, [&dialog] {
        QTest::keyClick(dialog.findChild<QLineEdit *>(QStringLiteral("txtPassword")),
                        Qt::Key_Escape);
    });
    QCOMPARE(dialog.askPassword(QStringLiteral("VILLANUEVA, TERESITA MAGBANUA"), QString()),
             std::optional<QString>());

    // Back to a login, the whole window is there again.
    dialog.prepareLogin(QString());
    QVERIFY(showActive(dialog));
    QVERIFY(dialog.findChild<QLineEdit *>(QStringLiteral("txtEmployeeCode"))->isVisible());
}

QTEST_MAIN(tst_LoginDialog)
#include "tst_logindialog.moc"
