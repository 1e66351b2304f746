// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/ui/LoginDialog.h"

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

QLineEdit *edit(QWidget &dialog, const char *name)
{
    return dialog.findChild<QLineEdit *>(QString::fromLatin1(name));
}

QComboBox *databaseChoice(QWidget &dialog)
{
    return dialog.findChild<QComboBox *>(QStringLiteral("cboDatabase"));
}

// Shows the dialog and makes it the active window, as the login is when it opens.
bool showActive(QDialog &dialog)
{
    dialog.show();
    QApplication::setActiveWindow(&dialog);
    return QTest::qWaitForWindowActive(&dialog);
}

// Types into the field that has the focus, then presses `key` there.
void typeAndPress(const QString &text, Qt::Key key = Qt::Key_Return)
{
    QTest::keyClicks(QApplication::focusWidget(), text);
    QTest::keyClick(QApplication::focusWidget(), key);
}

} // namespace

class tst_LoginDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        // Remembered choices go to a throwaway settings folder, never the user's.
        QStandardPaths::setTestModeEnabled(true);
        QCoreApplication::setOrganizationName(QStringLiteral("KestrelTest"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_logindialog"));
    }
    void init() { QSettings().clear(); }

    void enterMovesFromCodeToPasswordAndLogsIn()
    {
        LoginDialog dialog;
        dialog.prepareLogin(QString());
        QVERIFY(showActive(dialog));
        QCOMPARE(edit(dialog, "txtPassword")->echoMode(), QLineEdit::Password);
        QCOMPARE(edit(dialog, "txtServerPassword")->echoMode(), QLineEdit::Password);
        QCOMPARE(QApplication::focusWidget(), edit(dialog, "txtEmployeeCode"));

        typeAndPress(QStringLiteral("or-29a")); // upper-cased as it is typed
        QVERIFY(dialog.isVisible());            // Enter in the code does not log in yet
        QCOMPARE(QApplication::focusWidget(), edit(dialog, "txtPassword"));
        typeAndPress(QStringLiteral("orsupervisor"), Qt::Key_Enter);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());

        const LoginRequest r = dialog.request();
        QCOMPARE(r.source, LoginSource::Embedded);
        QCOMPARE(r.employeeCode, QStringLiteral("OR-29A"));
        QCOMPARE(r.password, QStringLiteral("orsupervisor"));
        QCOMPARE(r.host, QString()); // nothing of a server for the embedded hospital
    }

    void serverFieldsOnlyForTheServer()
    {
        LoginDialog dialog;
        dialog.prepareLogin(QString());
        QVERIFY(showActive(dialog));
        const QStringList serverFields{"txtServerHost", "txtServerPort", "txtServerDatabase",
                                       "txtServerUser", "txtServerPassword"};
        for (const QString &name : serverFields)
            QVERIFY2(!dialog.findChild<QLineEdit *>(name)->isVisible(), qPrintable(name));
        databaseChoice(dialog)->setCurrentIndex(1);
        for (const QString &name : serverFields)
            QVERIFY2(dialog.findChild<QLineEdit *>(name)->isVisible(), qPrintable(name));

        // Enter walks through the server's fields down to the employee code.
        edit(dialog, "txtServerHost")->setFocus();
        for (const char *typed : {"db01.hospital.local", "x", "hospital", "kestrel", "pw"})
            typeAndPress(QString::fromLatin1(typed));
        QCOMPARE(QApplication::focusWidget(), edit(dialog, "txtEmployeeCode"));
        QVERIFY(dialog.isVisible());

        const LoginRequest r = dialog.request();
        QCOMPARE(r.source, LoginSource::Server);
        QCOMPARE(r.host, QStringLiteral("db01.hospital.local"));
        QCOMPARE(r.port, 5432); // the port takes digits only
        QCOMPARE(r.database, QStringLiteral("hospital"));
        QCOMPARE(r.user, QStringLiteral("kestrel"));
        QCOMPARE(r.serverPassword, QStringLiteral("pw"));

        databaseChoice(dialog)->setCurrentIndex(0);
        QVERIFY(!edit(dialog, "txtServerHost")->isVisible());
    }

    void refusalIsShownAboveTheButtons()
    {
        LoginDialog dialog;
        auto *refusal = dialog.findChild<QLabel *>(QStringLiteral("lblRefusal"));
        QLineEdit *code = edit(dialog, "txtEmployeeCode");
        QLineEdit *password = edit(dialog, "txtPassword");
        dialog.prepareLogin(QString());
        QVERIFY(showActive(dialog));
        QVERIFY(!refusal->isVisible());

        QTest::keyClicks(code, QStringLiteral("2901"));
        QTest::keyClicks(password, QStringLiteral("wrong"));
        dialog.prepareLogin(QStringLiteral("Invalid employee code or password."));
        QVERIFY(refusal->isVisible());
        QCOMPARE(refusal->text(), QStringLiteral("Invalid employee code or password."));
        QVERIFY(refusal->styleSheet().contains(u"#c00000"));
        auto *ok = dialog.findChild<QPushButton *>(QStringLiteral("cmdOK"));
        QVERIFY(refusal->geometry().bottom() <= ok->mapTo(&dialog, QPoint(0, 0)).y());
        // The code stays for the next try; the password must be typed again.
        QCOMPARE(code->text(), QStringLiteral("2901"));
        QCOMPARE(password->text(), QString());
        QCOMPARE(QApplication::focusWidget(), password);

        dialog.prepareLogin(QString());
        QVERIFY(!refusal->isVisible());
    }

    void askLoginAnswersWhatWasTyped()
    {
        LoginDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog] {
            QVERIFY(QTest::qWaitForWindowExposed(&dialog));
            QTest::keyClicks(edit(dialog, "txtEmployeeCode"), QStringLiteral("2903"));
            QTest::keyClicks(edit(dialog, "txtPassword"), QStringLiteral("circnurse"));
            QTest::keyClick(edit(dialog, "txtPassword"), Qt::Key_Return);
        });
        const std::optional<LoginRequest> answer = dialog.askLogin(QString());
        QVERIFY(answer);
        QCOMPARE(answer->employeeCode, QStringLiteral("2903"));
        QCOMPARE(answer->password, QStringLiteral("circnurse"));
        // The window keeps no password once it has answered.
        QCOMPARE(edit(dialog, "txtPassword")->text(), QString());

        // Escape cancels.
        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::keyClicks(edit(dialog, "txtEmployeeCode"), QStringLiteral("2901"));
            QTest::keyClick(edit(dialog, "txtEmployeeCode"), Qt::Key_Escape);
        });
        QVERIFY(!dialog.askLogin(QStringLiteral("Invalid employee code or password.")));
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
    }

    void lastDatabaseChoiceIsRemembered()
    {
        {
            LoginDialog dialog;
            QTimer::singleShot(0, &dialog, [&dialog] {
                databaseChoice(dialog)->setCurrentIndex(1);
                const std::pair<const char *, const char *> typed[] = {
                    {"txtServerHost", "db01"},    {"txtServerDatabase", "hospital"},
                    {"txtServerUser", "kestrel"}, {"txtServerPassword", "server-secret"},
                    {"txtEmployeeCode", "2901"},  {"txtPassword", "orsupervisor"}};
                for (const auto &[field, text] : typed)
                    QTest::keyClicks(edit(dialog, field), QString::fromLatin1(text));
                dialog.accept();
            });
            QVERIFY(dialog.askLogin(QString()));
        }
        LoginDialog next;
        QCOMPARE(databaseChoice(next)->currentIndex(), 1);
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
            QVERIFY2(!value.contains(u"secret") && !value.contains(u"orsupervisor"),
                     qPrintable(key));
        }
    }

    void askPasswordAsksOnlyThePassword()
    {
        const QString name = QStringLiteral("VILLANUEVA, TERESITA MAGBANUA");
        LoginDialog dialog;
        QTimer::singleShot(0, &dialog, [&dialog, name] {
            QVERIFY(!edit(dialog, "txtEmployeeCode")->isVisible());
            QVERIFY(!databaseChoice(dialog)->isVisible());
            QCOMPARE(dialog.findChild<QLabel *>(QStringLiteral("lblHeading"))->text(), name);
            QTest::keyClicks(edit(dialog, "txtPassword"), QStringLiteral("orsupervisor"));
            QTest::keyClick(edit(dialog, "txtPassword"), Qt::Key_Return);
        });
        QCOMPARE(dialog.askPassword(name, QString()),
                 std::optional<QString>(QStringLiteral("orsupervisor")));

        QTimer::singleShot(0, &dialog, [&dialog] {
            QTest::keyClick(edit(dialog, "txtPassword"), Qt::Key_Escape);
        });
        QCOMPARE(dialog.askPassword(name, QString()), std::optional<QString>());

        // Back to a login, the whole window is there again.
        dialog.prepareLogin(QString());
        QVERIFY(showActive(dialog));
        QVERIFY(edit(dialog, "txtEmployeeCode")->isVisible());
    }
};

QTEST_MAIN(tst_LoginDialog)
#include "tst_logindialog.moc"
