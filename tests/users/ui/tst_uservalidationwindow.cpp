// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/DemoHospital.h"
#include "shell/Session.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"
#include "users/ui/frmTransaction_UserValidation.h"

#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>

using namespace kestrel;

namespace {

struct Signed : CurrentUser
{
    Database *db = nullptr;
    QString EmployeeCode() const override { return QStringLiteral("2905"); }
    QString EmployeeName() const override { return {}; }
    QString Initial() const override { return {}; }
    QString servername() const override { return {}; }
    Database *sqlconnection() const override { return db; }
};

struct NoDialogs : Dialogs
{
    ValidatedUser validateUser(bool) override { return {}; }
};

// The window over a fresh demo hospital, as a cancellation that must give a reason.
struct Rig
{
    std::unique_ptr<test::TestDatabase> hospital;
    test::RecordingNotifier notifier;
    NoDialogs dialogs;
    Signed user;
    Session session{notifier, dialogs};
    std::unique_ptr<UserValidation> presenter;
    std::unique_ptr<frmTransaction_UserValidation> window;

    bool open(int postOrCancel)
    {
        auto t = test::TestDatabase::create(Backend::Sqlite);
        if (!t)
            return false;
        hospital = std::move(*t);
        user.db = &hospital->db();
        session.setCurrentUser(&user);
        session.hospital.IsAllowEntryOfReasonForCancellation = true;
        presenter = std::make_unique<UserValidation>(session, hospitaldb::demoScrambleKey());
        window = std::make_unique<frmTransaction_UserValidation>(*presenter, postOrCancel);
        window->show();
        return QTest::qWaitForWindowExposed(window.get());
    }
    QLineEdit *field(const char *name)
    {
        return window->findChild<QLineEdit *>(QLatin1String(name));
    }
};

} // namespace

class tst_UserValidationWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void enterMovesThenValidates();
    void escapeLeavesNoValidatedUser();
    void cancellationAsksForTheReason();
};

void tst_UserValidationWindow::enterMovesThenValidates()
{
    Rig rig;
    QVERIFY(rig.open(0));
    QVERIFY(!rig.window->findChild<QGroupBox *>(QStringLiteral("fraRemarks"))->isVisible());
    QLineEdit *code = rig.field("txtUserID");
    code->setFocus();
    QTest::keyClicks(code, QStringLiteral("2905"));
    QTest::keyClick(code, Qt::Key_Return);
    QVERIFY(rig.field("txtAccessCode")->hasFocus());
    QVERIFY(rig.window->isVisible());
    QTest::keyClicks(rig.field("txtAccessCode"), QStringLiteral("orclerk"));
    QTest::keyClick(rig.field("txtAccessCode"), Qt::Key_Return);
    QCOMPARE(rig.window->result(), int(QDialog::Accepted));
    QVERIFY(!rig.window->isVisible());
    QCOMPARE(rig.session.validated.code, QStringLiteral("2905"));
    QVERIFY(rig.notifier.boxes().isEmpty());
}

void tst_UserValidationWindow::escapeLeavesNoValidatedUser()
{
    Rig rig;
    QVERIFY(rig.open(0));
    QTest::keyClicks(rig.field("txtUserID"), QStringLiteral("2905"));
    QTest::keyClick(rig.window.get(), Qt::Key_Escape);
    QCOMPARE(rig.window->result(), int(QDialog::Rejected));
    QVERIFY(!rig.session.validated.isValid());
}

void tst_UserValidationWindow::cancellationAsksForTheReason()
{
    Rig rig;
    QVERIFY(rig.open(1));
    auto *remarks = rig.window->findChild<QPlainTextEdit *>(QStringLiteral("txtRemarks"));
    QVERIFY(remarks && remarks->isVisible());
    QTest::keyClicks(rig.field("txtUserID"), QStringLiteral("2905"));
    QTest::keyClicks(rig.field("txtAccessCode"), QStringLiteral("orclerk"));
    QTest::keyClick(rig.field("txtAccessCode"), Qt::Key_Return);
    // No reason yet: the window stays, the focus goes to the reason.
    QVERIFY(rig.window->isVisible());
    QCOMPARE(rig.notifier.lastText(), QStringLiteral("Please enter reason of cancellation."));
    QVERIFY(remarks->hasFocus());
    QTest::keyClicks(remarks, QStringLiteral("Charged to the wrong patient"));
    QTest::keyClick(rig.field("txtAccessCode"), Qt::Key_Return);
    QCOMPARE(rig.window->result(), int(QDialog::Accepted));
    QCOMPARE(rig.session.validated.reason, QStringLiteral("Charged to the wrong patient"));

    // Esc after signing in but before giving a reason leaves no validated user either.
    Rig again;
    QVERIFY(again.open(1));
    QTest::keyClicks(again.field("txtUserID"), QStringLiteral("2905"));
    QTest::keyClicks(again.field("txtAccessCode"), QStringLiteral("orclerk"));
    QTest::keyClick(again.field("txtAccessCode"), Qt::Key_Return);
    QCOMPARE(again.session.validated.code, QStringLiteral("2905"));
    QTest::keyClick(again.window.get(), Qt::Key_Escape);
    QVERIFY(!again.session.validated.isValid());
}

QTEST_MAIN(tst_UserValidationWindow)
#include "tst_uservalidationwindow.moc"
