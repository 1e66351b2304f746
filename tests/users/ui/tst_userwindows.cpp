// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The user windows on screen over a fresh demo hospital: the re-validation window, the rights
// editor from the search to the saved rights row, the employee picker, and the user log window
// up to the nurse log it shows.
#include "core/db/Database.h"
#include "hospitaldb/DemoHospital.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"
#include "users/ui/frmTransaction_UserValidation.h"
#include "users/ui/frmUser.h"
#include "users/ui/frmUserLogs.h"
#include "users/ui/frmUserRights.h"

#include <QCheckBox>
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
    T *found = window->findChild<T *>(QLatin1String(name));
    if (!found)
        qWarning("no control %s", name);
    return found;
}

/// The employee codes in column 1 of the search grid.
QStringList gridCodes(QWidget *window)
{
    auto *grid = child<QTableWidget>(window, "grdUsers");
    QStringList codes;
    for (int row = 0; row < grid->rowCount(); ++row)
        codes << grid->item(row, 1)->text();
    return codes;
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
    const int row = int(gridCodes(window).indexOf(code));
    if (row < 0 || !grid->isVisible())
        return false;
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {},
                      grid->visualItemRect(grid->item(row, 2)).center());
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
    QStringList messages() const
    {
        QStringList texts;
        for (const auto &box : f->notifier.boxes())
            texts << box.text;
        return texts;
    }
};

} // namespace

class tst_UserWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validationEnterMovesThenValidates();
    void validationOfACancellationAsksTheReason();
    void rightsEditorSavesTheTicks();
    void rightsListShowsOnlyTheDescription();
    void searchShowsWhoIsFound();
    void userLogsOpenOnTheServerDate();
    void userLogsByTransaction_data();
    void userLogsByTransaction();
    void userLogsByUser_data();
    void userLogsByUser();
};

// --- The re-validation window -------------------------------------------------------------

void tst_UserWindows::validationEnterMovesThenValidates()
{
    Rig rig;
    QVERIFY(rig.open());
    UserValidation presenter(rig.f->session, hospitaldb::demoScrambleKey());
    frmTransaction_UserValidation window(presenter, 0);
    QVERIFY(show(&window));
    QVERIFY(!child<QGroupBox>(&window, "fraRemarks")->isVisible());
    auto *code = child<QLineEdit>(&window, "txtUserID");
    auto *password = child<QLineEdit>(&window, "txtAccessCode");
    code->setFocus();
    QTest::keyClicks(code, u"2905"_s);
    QTest::keyClick(code, Qt::Key_Return);
    QVERIFY(password->hasFocus());
    QVERIFY(window.isVisible());
    QTest::keyClicks(password, u"orclerk"_s);
    QTest::keyClick(password, Qt::Key_Return);
    QCOMPARE(window.result(), int(QDialog::Accepted));
    QVERIFY(!window.isVisible());
    QCOMPARE(rig.f->session.validated.code, u"2905"_s);
    QVERIFY(rig.f->notifier.boxes().isEmpty());

    // Esc leaves no validated user.
    frmTransaction_UserValidation again(presenter, 0);
    QVERIFY(show(&again));
    QTest::keyClicks(child<QLineEdit>(&again, "txtUserID"), u"2905"_s);
    QTest::keyClick(&again, Qt::Key_Escape);
    QCOMPARE(again.result(), int(QDialog::Rejected));
    QVERIFY(!rig.f->session.validated.isValid());
}

void tst_UserWindows::validationOfACancellationAsksTheReason()
{
    Rig rig;
    QVERIFY(rig.open());
    UserValidation presenter(rig.f->session, hospitaldb::demoScrambleKey());
    for (bool giveReason : {true, false}) {
        frmTransaction_UserValidation window(presenter, 1);
        QVERIFY(show(&window));
        auto *remarks = child<QPlainTextEdit>(&window, "txtRemarks");
        auto *password = child<QLineEdit>(&window, "txtAccessCode");
        QVERIFY(remarks->isVisible());
        QTest::keyClicks(child<QLineEdit>(&window, "txtUserID"), u"2905"_s);
        QTest::keyClicks(password, u"orclerk"_s);
        QTest::keyClick(password, Qt::Key_Return);
        // No reason yet: the window stays, the focus goes to the reason.
        QVERIFY(window.isVisible());
        QCOMPARE(rig.f->notifier.lastText(), u"Please enter reason of cancellation."_s);
        QVERIFY(remarks->hasFocus());
        QCOMPARE(rig.f->session.validated.code, u"2905"_s);
        if (giveReason) {
            QTest::keyClicks(remarks, u"Charged to the wrong patient"_s);
            QTest::keyClick(password, Qt::Key_Return);
            QCOMPARE(window.result(), int(QDialog::Accepted));
            QCOMPARE(rig.f->session.validated.reason, u"Charged to the wrong patient"_s);
        } else {
            // Esc after signing in but before giving a reason leaves no validated user.
            QTest::keyClick(&window, Qt::Key_Escape);
            QVERIFY(!rig.f->session.validated.isValid());
        }
    }
}

// --- The rights editor and the search ----------------------------------------------------

void tst_UserWindows::rightsEditorSavesTheTicks()
{
    Rig rig;
    QVERIFY(rig.open());
    frmUserRights window(rig.f->session);
    QVERIFY(show(&window));
    auto *rights = child<QListWidget>(&window, "lstRights");
    auto *rightsFrame = child<QGroupBox>(&window, "fraRights");
    auto *save = child<QPushButton>(&window, "cmdSave");
    auto *users = child<QGroupBox>(&window, "fmeUsers");
    const auto ticked = [&] {
        QStringList codes;
        for (int i = 0; i < rights->count(); ++i) {
            if (rights->item(i)->checkState() == Qt::Checked)
                codes << window.presenter().items().at(i).code();
        }
        return codes.join(u'|');
    };

    // Nothing can be ticked or saved before someone is chosen.
    QVERIFY(!rightsFrame->isEnabled());
    QVERIFY(!save->isEnabled());
    QVERIFY(!users->isVisible());

    // Enter searches; it neither saves nor closes the window.
    searchFor(&window, u"esguerra"_s);
    QVERIFY(window.isVisible());
    QVERIFY(users->isVisible());
    QCOMPARE(gridCodes(&window), QStringList{u"2905"_s});
    QVERIFY(rig.f->notifier.boxes().isEmpty());

    QVERIFY(clickEmployee(&window, u"2905"_s));
    QCOMPARE(child<QLineEdit>(&window, "txtEmployeeID")->text(), u"2905"_s);
    QCOMPARE(child<QLineEdit>(&window, "txtEmployee")->text(), kEsguerra);
    QVERIFY(!users->isVisible());
    QVERIFY(rightsFrame->isEnabled());
    QVERIFY(save->isEnabled());

    // Her rights as the demo hospital granted them are ticked, and nothing else; select all
    // ticks every right, twice clears them all.
    QCOMPARE(rights->count(), window.presenter().items().size());
    QCOMPARE(ticked(), u"3|9|13|18|19|20|21"_s);
    auto *selectAll = child<QCheckBox>(&window, "chkSelectAll");
    QTest::mouseClick(selectAll, Qt::LeftButton);
    QCOMPARE(ticked().count(u'|'), rights->count() - 1);
    QTest::mouseClick(selectAll, Qt::LeftButton);
    QCOMPARE(ticked(), QString());
    // Space ticks the current right.
    for (int row : {0, 1}) {
        rights->setFocus();
        rights->setCurrentRow(row);
        QTest::keyClick(rights, Qt::Key_Space);
    }
    const QString firstTwo =
        window.presenter().items().at(0).code() + u'|' + window.presenter().items().at(1).code();
    QCOMPARE(ticked(), firstTwo);

    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(rig.messages(), QStringList{u"User rights successfully updated."_s});
    QCOMPARE(rig.f->notifier.boxes().last().title, u"Notification"_s);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    auto row = rig.db().selectOne(u"select EmployeeRights, UserID from STATION..tbNurseUserRights "
                                  u"where EmployeeID = '2905'");
    QVERIFY(row && *row);
    QCOMPARE((*row)->text(u"EmployeeRights"), u'|' + firstTwo);
    QCOMPARE((*row)->trimmed(u"UserID"), u"2901"_s);
}

void tst_UserWindows::rightsListShowsOnlyTheDescription()
{
    Rig rig;
    QVERIFY(rig.open());
    frmUserRights window(rig.f->session);
    QVERIFY(show(&window));
    auto *rights = child<QListWidget>(&window, "lstRights");
    QVERIFY(rights->count() > 0);
    const QFontMetrics metrics(rights->font());
    for (int i = 0; i < rights->count(); ++i) {
        const UserRights::Item &item = window.presenter().items().at(i);
        QCOMPARE(rights->item(i)->text(), item.text);
        // The code sits past the right edge, and the list cannot be scrolled to it.
        const QString beforeCode = item.text.left(item.text.size() - item.code().size());
        QVERIFY2(metrics.horizontalAdvance(beforeCode) > rights->viewport()->width(),
                 qPrintable(item.description()));
    }
    QVERIFY(!rights->horizontalScrollBar()->isVisible());
}

void tst_UserWindows::searchShowsWhoIsFound()
{
    Rig rig;
    QVERIFY(rig.open());
    frmUser window(rig.f->session);
    QVERIFY(show(&window));
    auto *users = child<QGroupBox>(&window, "fmeUsers");
    auto *field = child<QLineEdit>(&window, "txtEmployeeID");
    // Searched with the button; a search that finds nobody hides the list again.
    for (const QString &typed : {u"pan"_s, u"ZZZ"_s}) {
        field->clear();
        QTest::keyClicks(field, typed);
        QTest::mouseClick(child<QPushButton>(&window, "cmdSearch"), Qt::LeftButton);
        QCOMPARE(users->isVisible(), typed == u"pan");
        if (users->isVisible())
            QCOMPARE(gridCodes(&window), QStringList{u"2904"_s});
    }
    QVERIFY(window.isVisible());
    QVERIFY(window.picked().code.isEmpty());
}

// --- The user logs ------------------------------------------------------------------------

void tst_UserWindows::userLogsOpenOnTheServerDate()
{
    Rig rig;
    QVERIFY(rig.open(QDate(2026, 11, 20)));
    QMdiArea area;
    auto *window = new frmUserLogs(rig.f->session, *rig.reports);
    QMdiSubWindow *sub = area.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QMdiSubWindow> open = sub;
    QVERIFY(show(&area));
    sub->show();
    for (const char *name : {"dtpStartDate", "dtpEndDate", "dtpStartUser", "dtpEndUser"})
        QCOMPARE(child<QDateEdit>(window, name)->text(), u"11/20/2026"_s);
    auto *byTransaction = child<QRadioButton>(window, "Option1(0)");
    auto *byUser = child<QRadioButton>(window, "Option1(1)");
    auto *transactions = child<QGroupBox>(window, "fTransactions");
    auto *user = child<QGroupBox>(window, "fUser");
    QVERIFY(byTransaction->isChecked());
    QVERIFY(transactions->isEnabled() && !user->isEnabled());
    QVERIFY(child<QComboBox>(window, "cboTransactions")->currentText().isEmpty());

    QTest::mouseClick(byUser, Qt::LeftButton);
    QVERIFY(!transactions->isEnabled() && user->isEnabled());
    QCOMPARE(window->presenter().mode(), UserLogs::SearchMode::ByUser);
    // The disabled frame's label does nothing.
    QTest::mouseClick(child<QLabel>(window, "lblSearch"), Qt::LeftButton);
    QVERIFY(rig.f->notifier.boxes().isEmpty());
    QTest::mouseClick(byTransaction, Qt::LeftButton);
    QVERIFY(transactions->isEnabled() && !user->isEnabled());
    QCOMPARE(window->presenter().mode(), UserLogs::SearchMode::ByTransaction);

    // Close leaves the work area.
    QTest::mouseClick(child<QLabel>(window, "lblClose"), Qt::LeftButton);
    QTRY_VERIFY(open.isNull());
    QVERIFY(area.subWindowList().isEmpty());
}

void tst_UserWindows::userLogsByTransaction_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("heading");
    QTest::newRow("nothing chosen") << "" << "";
    QTest::newRow("cancel request") << "Cancel" << "CANCEL REQUEST";
    QTest::newRow("or schedule operation") << "OR Sch" << "OR SCHEDULE OPERATION";
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
        QCOMPARE(rig.messages(), QStringList{u"Please select transaction type."_s});
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QVERIFY2(rig.f->notifier.boxes().isEmpty(), qPrintable(rig.f->notifier.lastText()));
    QCOMPARE(rig.display.shown().size(), 1);
    const auto &shown = rig.display.shown().last();
    QCOMPARE(shown.kind, test::RecordingReportDisplay::Kind::Viewer);
    QCOMPARE(shown.options.title, u"Nurse Log"_s);
    // The values arrive in the report's order: the two headings, the kind, the period.
    QVERIFY(shown.report->headerHtml(1).contains(rig.f->session.hospital.Company));
    QVERIFY(shown.report->headerHtml(1).contains(rig.f->session.hospital.Address1));
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
    QTest::newRow("picker closed") << QStringList{"close"} << "";
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
        QCOMPARE(rig.messages(), QStringList{u"Please select employee."_s});
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QVERIFY2(rig.f->notifier.boxes().isEmpty(), qPrintable(rig.f->notifier.lastText()));
    QCOMPARE(rig.display.shown().size(), 1);
    QCOMPARE(rig.display.shown().last().options.title, u"Nurse Log"_s);
    const QString html = rig.display.shown().last().report->html();
    for (const QString &text : {u"ALL TRANSACTIONS OF THE EMPLOYEE"_s, u"Employee: <b>2905"_s,
                                u"From 11/24/2026 to 12/01/2026"_s})
        QVERIFY2(html.contains(text), qPrintable(text));
    // Exactly her log entries of the period are listed.
    auto logs = rig.db().scalar(u"select count(*) from STATION..tbStationLogs where UserID = :u "
                                u"and StationID = 'OR' and TransDate >= :from and TransDate < :to",
                                {{u"u"_s, code},
                                 {u"from"_s, from.startOfDay()},
                                 {u"to"_s, to.addDays(1).startOfDay()}});
    QVERIFY(logs && logs->toInt() > 0);
    QVERIFY2(html.contains(u"Entries: %1"_s.arg(logs->toInt())), qPrintable(html));
}

QTEST_MAIN(tst_UserWindows)
#include "tst_userwindows.moc"
