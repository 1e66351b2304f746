// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The user windows on screen over a fresh demo hospital: re-validation, the rights editor down
// to the saved row, the employee picker and the user log window up to the nurse log it shows.
#include "hospitaldb/DemoHospital.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"
#include "users/ui/frmTransaction_UserValidation.h"
#include "users/ui/frmUser.h"
#include "users/ui/frmUserLogs.h"
#include "users/ui/frmUserRights.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kEsguerra = u"ESGUERRA, MARICEL TAN"_s;

template <typename T> T *child(QWidget *window, const char *name)
{
    return window->findChild<T *>(QLatin1String(name));
}

/// Types `text` into the search field and presses Enter there.
void searchFor(QWidget *window, const QString &text)
{
    auto *field = child<QLineEdit>(window, "txtEmployeeID");
    field->setFocus();
    field->selectAll();
    QTest::keyClicks(field, text);
    QTest::keyClick(field, Qt::Key_Return);
}

/// Clicks the row of the search grid that shows employee `code`; false when none does.
bool clickEmployee(QWidget *window, const QString &code)
{
    auto *grid = child<QTableWidget>(window, "grdUsers");
    const auto found = grid->findItems(code, Qt::MatchExactly);
    if (found.isEmpty() || found.first()->column() != 1 || !grid->isVisible())
        return false;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(found.first()->row(), 2)).center());
    return true;
}

bool show(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

/// The demo hospital and a session logged in as the OR supervisor, whose server date is
/// `serverDate`; the reports go to a recording display.
struct Rig
{
    std::unique_ptr<test::TestDatabase> hospital;
    std::unique_ptr<test::MainWindowFixture> f;
    test::RecordingReportDisplay display;
    std::unique_ptr<ReportService> reports;

    bool open(const QDate &serverDate = test::fixtureToday())
    {
        auto t = test::TestDatabase::create(Backend::Sqlite);
        if (!t)
            return false;
        hospital = std::move(*t);
        f = std::make_unique<test::MainWindowFixture>(hospital->db(), u"2901"_s);
        f->session.ServerDate = serverDate;
        f->session.hospital.Company = u"KESTREL GENERAL HOSPITAL"_s;
        f->session.hospital.Address1 = u"1 RIZAL AVENUE, SAN PABLO"_s;
        f->session.hospital.IsAllowEntryOfReasonForCancellation = true;
        reports = std::make_unique<ReportService>(
            hospital->db(), QStringLiteral(KESTREL_REPORTS_DIR),
            ReportHeadings{f->session.hospital.Company, f->session.hospital.Address1}, display,
            f->notifier);
        return true;
    }
    Database &db() { return hospital->db(); }
    /// The one box shown, or what went wrong.
    QString onlyBox() const
    {
        const auto &boxes = f->notifier.boxes();
        return boxes.size() == 1 ? boxes.last().text : u"%1 boxes"_s.arg(boxes.size());
    }
};

} // namespace

class tst_UserWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validationEnterMovesThenValidates();
    void rightsEditorSavesTheTicks();
    void userLogsOpenOnTheServerDate();
    void userLogsByTransaction_data();
    void userLogsByTransaction();
    void userLogsByUser_data();
    void userLogsByUser();
};

void tst_UserWindows::validationEnterMovesThenValidates()
{
    Rig rig;
    QVERIFY(rig.open());
    UserValidation presenter(rig.f->session, hospitaldb::demoScrambleKey());
    // A cancellation without a reason: the window stays with the focus on the reason, and Esc
    // after signing in leaves no validated user.
    frmTransaction_UserValidation cancel(presenter, 1);
    QVERIFY(show(&cancel));
    QTest::keyClicks(child<QLineEdit>(&cancel, "txtUserID"), u"2905"_s);
    QTest::keyClicks(child<QLineEdit>(&cancel, "txtAccessCode"), u"orclerk"_s);
    QTest::keyClick(child<QLineEdit>(&cancel, "txtAccessCode"), Qt::Key_Return);
    QVERIFY(cancel.isVisible());
    QVERIFY(child<QPlainTextEdit>(&cancel, "txtRemarks")->hasFocus());
    QCOMPARE(rig.f->session.validated.code, u"2905"_s);
    QTest::keyClick(&cancel, Qt::Key_Escape);
    QCOMPARE(cancel.result(), int(QDialog::Rejected));
    QVERIFY(!rig.f->session.validated.isValid());

    // Posting: Enter on the code moves to the password, Enter there validates.
    frmTransaction_UserValidation window(presenter, 0);
    QVERIFY(show(&window));
    auto *code = child<QLineEdit>(&window, "txtUserID");
    auto *password = child<QLineEdit>(&window, "txtAccessCode");
    code->setFocus();
    QTest::keyClicks(code, u"2905"_s);
    QTest::keyClick(code, Qt::Key_Return);
    QVERIFY(password->hasFocus());
    QTest::keyClicks(password, u"orclerk"_s);
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QCOMPARE(rig.f->session.validated.code, u"2905"_s);
}

void tst_UserWindows::rightsEditorSavesTheTicks()
{
    Rig rig;
    QVERIFY(rig.open());
    frmUserRights window(rig.f->session);
    QVERIFY(show(&window));
    auto *rights = child<QListWidget>(&window, "lstRights");
    auto *rightsFrame = child<QGroupBox>(&window, "fraRights");
    auto *save = child<QPushButton>(&window, "cmdSave");
    const auto ticked = [&] {
        QStringList codes;
        for (int i = 0; i < rights->count(); ++i) {
            if (rights->item(i)->checkState() == Qt::Checked)
                codes << window.presenter().items().at(i).code();
        }
        return codes.join(u'|');
    };

    // The list shows the description alone: the code sits past the right edge, and the list
    // cannot be scrolled to it.
    const QFontMetrics metrics(rights->font());
    for (int i = 0; i < rights->count(); ++i) {
        const UserRights::Item &item = window.presenter().items().at(i);
        QCOMPARE(rights->item(i)->text(), item.text);
        const QString beforeCode = item.text.left(item.text.size() - item.code().size());
        QVERIFY2(metrics.horizontalAdvance(beforeCode) > rights->viewport()->width(),
                 qPrintable(item.description()));
    }
    QVERIFY(rights->count() > 0 && !rights->horizontalScrollBar()->isVisible());
    // Nothing can be ticked or saved before someone is chosen.
    QVERIFY(!rightsFrame->isEnabled() && !save->isEnabled());

    // Enter searches; it neither saves nor closes the window. A search that finds nobody
    // hides the list.
    auto *users = child<QGroupBox>(&window, "fmeUsers");
    searchFor(&window, u"esguerra"_s);
    QVERIFY(window.isVisible() && users->isVisible());
    searchFor(&window, u"ZZZ"_s);
    QVERIFY(!users->isVisible());
    searchFor(&window, u"esguerra"_s);
    QVERIFY(rig.f->notifier.boxes().isEmpty());
    QVERIFY(clickEmployee(&window, u"2905"_s));
    QCOMPARE(child<QLineEdit>(&window, "txtEmployee")->text(), kEsguerra);
    QVERIFY(rightsFrame->isEnabled() && save->isEnabled());

    // Her rights as the demo hospital granted them are ticked; Space toggles the current one.
    QCOMPARE(ticked(), u"3|9|13|18|19|20|21"_s);
    const bool firstWasTicked = rights->item(0)->checkState() == Qt::Checked;
    rights->setFocus();
    rights->setCurrentRow(0);
    QTest::keyClick(rights, Qt::Key_Space);
    QCOMPARE(rights->item(0)->checkState() == Qt::Checked, !firstWasTicked);
    const QString saved = ticked();

    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(rig.onlyBox(), u"User rights successfully updated."_s);
    QCOMPARE(window.result(), int(QDialog::Accepted)); // saving closes the window
    auto row = rig.db().selectOne(u"select EmployeeRights, UserID from STATION..tbNurseUserRights "
                                  u"where EmployeeID = '2905'");
    QVERIFY(row && *row);
    QCOMPARE((*row)->text(u"EmployeeRights"), u'|' + saved);
    QCOMPARE((*row)->trimmed(u"UserID"), u"2901"_s);
}

void tst_UserWindows::userLogsOpenOnTheServerDate()
{
    Rig rig;
    QVERIFY(rig.open(QDate(2026, 11, 20)));
    QMdiArea area;
    auto *window = new frmUserLogs(rig.f->session, *rig.reports);
    QPointer<QMdiSubWindow> open = area.addSubWindow(window);
    open->setAttribute(Qt::WA_DeleteOnClose);
    QVERIFY(show(&area));
    open->show();
    for (const char *name : {"dtpStartDate", "dtpEndDate", "dtpStartUser", "dtpEndUser"})
        QCOMPARE(child<QDateEdit>(window, name)->text(), u"11/20/2026"_s);
    auto *transactions = child<QGroupBox>(window, "fTransactions");
    auto *user = child<QGroupBox>(window, "fUser");
    QVERIFY(transactions->isEnabled() && !user->isEnabled());
    QTest::mouseClick(child<QRadioButton>(window, "Option1(1)"), Qt::LeftButton);
    QVERIFY(!transactions->isEnabled() && user->isEnabled());
    QCOMPARE(window->presenter().mode(), UserLogs::SearchMode::ByUser);
    // The disabled frame's label does nothing; Close leaves the work area.
    QTest::mouseClick(child<QLabel>(window, "lblSearch"), Qt::LeftButton);
    QVERIFY(rig.f->notifier.boxes().isEmpty());
    QTest::mouseClick(child<QLabel>(window, "lblClose"), Qt::LeftButton);
    QTRY_VERIFY(open.isNull());
}

void tst_UserWindows::userLogsByTransaction_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("heading");
    QTest::newRow("nothing chosen") << "" << "";
    QTest::newRow("cancel request") << "Cancel" << "CANCEL REQUEST";
}

void tst_UserWindows::userLogsByTransaction()
{
    QFETCH(QString, typed);
    QFETCH(QString, heading);
    Rig rig;
    QVERIFY(rig.open());
    frmUserLogs window(rig.f->session, *rig.reports);
    QVERIFY(show(&window));
    auto *transaction = child<QComboBox>(&window, "cboTransactions");
    if (!typed.isEmpty()) {
        transaction->setFocus();
        QTest::keyClicks(transaction, typed);
        QCOMPARE(transaction->currentText().toUpper(), heading);
    }
    child<QDateEdit>(&window, "dtpStartDate")->setDate(QDate(2026, 11, 13));
    QTest::mouseClick(child<QLabel>(&window, "lblSearch"), Qt::LeftButton);
    if (heading.isEmpty()) {
        QCOMPARE(rig.onlyBox(), u"Please select transaction type."_s);
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QCOMPARE(rig.display.shown().size(), 1);
    const auto &shown = rig.display.shown().last();
    // The values arrive in the report's order: the two headings, the kind, the period.
    QVERIFY(shown.report->headerHtml(1).contains(rig.f->session.hospital.Company) &&
            shown.report->headerHtml(1).contains(rig.f->session.hospital.Address1));
    QVERIFY2(shown.report->html().contains(u"<b>" + heading + u"</b>"),
             qPrintable(shown.report->html()));
    QVERIFY(shown.report->html().contains(u"From 11/13/2026 to 12/01/2026"_s));
}

void tst_UserWindows::userLogsByUser_data()
{
    // What the picker is answered with, each time cmdSearch opens it.
    QTest::addColumn<QStringList>("answers");
    QTest::addColumn<QString>("code");
    QTest::newRow("nobody picked yet") << QStringList{} << "";
    QTest::newRow("picked") << QStringList{"2905"} << "2905";
    QTest::newRow("picked, then closed") << QStringList{"2905", "close"} << "";
}

void tst_UserWindows::userLogsByUser()
{
    QFETCH(QStringList, answers);
    QFETCH(QString, code);
    Rig rig;
    QVERIFY(rig.open());
    frmUserLogs window(rig.f->session, *rig.reports);
    int asked = 0;
    window.setPickerFactory([&](QWidget *parent) {
        auto picker = std::make_unique<frmUser>(rig.f->session, parent);
        QPointer<frmUser> answering = picker.get();
        const QString answer = answers.value(asked++);
        QTimer::singleShot(0, answering, [answering, answer] {
            if (QTest::qWaitForWindowExposed(answering)) {
                if (answer == u"close") {
                    QTest::mouseClick(child<QPushButton>(answering, "cmdClose"), Qt::LeftButton);
                } else {
                    searchFor(answering, u"esguerra"_s);
                    clickEmployee(answering, answer);
                }
            }
            // Never leave the test waiting on a picker that did not close.
            if (answering && answering->isVisible())
                answering->done(-1);
        });
        return picker;
    });
    QVERIFY(show(&window));
    QTest::mouseClick(child<QRadioButton>(&window, "Option1(1)"), Qt::LeftButton);
    for (int i = 0; i < answers.size(); ++i)
        QTest::mouseClick(child<QPushButton>(&window, "cmdSearch"), Qt::LeftButton);
    QCOMPARE(asked, answers.size());
    QCOMPARE(child<QLineEdit>(&window, "txtCode")->text(), code);
    QCOMPARE(child<QLineEdit>(&window, "txtEmployee")->text(),
             code.isEmpty() ? QString() : kEsguerra);
    const QDate from(2026, 11, 24), to(2026, 12, 1);
    child<QDateEdit>(&window, "dtpStartUser")->setDate(from);
    QTest::mouseClick(child<QLabel>(&window, "lblViewUser"), Qt::LeftButton);
    if (code.isEmpty()) {
        QCOMPARE(rig.onlyBox(), u"Please select employee."_s);
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QCOMPARE(rig.display.shown().size(), 1);
    QCOMPARE(rig.display.shown().last().options.title, u"Nurse Log"_s);
    const QString html = rig.display.shown().last().report->html();
    for (const QString &text : {u"ALL TRANSACTIONS OF THE EMPLOYEE"_s, u"Employee: <b>2905"_s,
                                u"From 11/24/2026 to 12/01/2026"_s})
        QVERIFY2(html.contains(text), qPrintable(text));
    // Exactly her log entries of the period are listed.
    auto logs = rig.db().scalar(u"select count(*) from STATION..tbStationLogs where UserID = :u "
                                u"and StationID = 'OR' and TransDate >= :from and TransDate < :to",
                                {{u"u"_s, code}, {u"from"_s, from.startOfDay()},
                                 {u"to"_s, to.addDays(1).startOfDay()}});
    QVERIFY(logs && logs->toInt() > 0);
    QVERIFY2(html.contains(u"Entries: %1"_s.arg(logs->toInt())), qPrintable(html));
}

QTEST_MAIN(tst_UserWindows)
#include "tst_userwindows.moc"
