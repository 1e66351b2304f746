// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The user windows on screen over a fresh demo hospital: the rights editor from the search to
// the saved rights row, the employee picker, and the user log window up to the nurse log it
// shows.
#include "reports/RenderedReport.h"
#include "reports/ReportService.h"
#include "shell/db/Database.h"
#include "shell/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"
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
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTest>
#include <QTimer>

using namespace kestrel;

namespace {

const QString kEsguerra = QStringLiteral("ESGUERRA, MARICEL TAN");

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
        f = std::make_unique<test::MainWindowFixture>(hospital->db(), QStringLiteral("2901"));
        f->session.ServerDate = serverDate;
        f->session.hospital.Company = QStringLiteral("KESTREL GENERAL HOSPITAL");
        f->session.hospital.Address1 = QStringLiteral("1 RIZAL AVENUE, SAN PABLO");
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

bool show(QWidget *window)
{
    window->show();
    return QTest::qWaitForWindowExposed(window);
}

} // namespace

class tst_UserWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void rightsEditorSavesTheTicks_data();
    void rightsEditorSavesTheTicks();
    void rightsListShowsOnlyTheDescription();
    void searchShowsWhoIsFound_data();
    void searchShowsWhoIsFound();
    void pickerPicksAndCloses_data();
    void pickerPicksAndCloses();

    void userLogsOpenOnTheServerDate();
    void userLogsByTransaction_data();
    void userLogsByTransaction();
    void userLogsByUser_data();
    void userLogsByUser();
    void userLogsCloseLeavesTheWorkArea();
};

// --- The rights editor ------------------------------------------------------------------------

void tst_UserWindows::rightsEditorSavesTheTicks_data()
{
    QTest::addColumn<QString>("action");
    QTest::addColumn<QString>("saved");
    QTest::newRow("as granted") << "none"
                                << "|3|9|13|18|19|20|21";
    QTest::newRow("select all") << "selectAll"
                                << "|1|2|3|4|5|6|9|10|11|13|18|19|20|21|22|25|29|36|37|38";
    QTest::newRow("select all, then clear all") << "selectAllTwice"
                                                << "";
    QTest::newRow("space unticks right 9") << "untickNine"
                                           << "|3|13|18|19|20|21";
}

void tst_UserWindows::rightsEditorSavesTheTicks()
{
    QFETCH(QString, action);
    QFETCH(QString, saved);
    Rig rig;
    QVERIFY(rig.open());
    frmUserRights window(rig.f->session);
    QVERIFY(show(&window));
    auto *rights = child<QListWidget>(&window, "lstRights");
    auto *rightsFrame = child<QGroupBox>(&window, "fraRights");
    auto *save = child<QPushButton>(&window, "cmdSave");
    auto *users = child<QGroupBox>(&window, "fmeUsers");

    // Nothing can be ticked or saved before someone is chosen.
    QVERIFY(!rightsFrame->isEnabled());
    QVERIFY(!save->isEnabled());
    QVERIFY(!users->isVisible());

    searchFor(&window, QStringLiteral("esguerra"));
    // Enter searched; it neither saved nor closed the window.
    QVERIFY(window.isVisible());
    QVERIFY(users->isVisible());
    QCOMPARE(gridCodes(&window), QStringList{QStringLiteral("2905")});
    QVERIFY(rig.f->notifier.boxes().isEmpty());

    QVERIFY(clickEmployee(&window, QStringLiteral("2905")));
    QCOMPARE(child<QLineEdit>(&window, "txtEmployeeID")->text(), QStringLiteral("2905"));
    QCOMPARE(child<QLineEdit>(&window, "txtEmployee")->text(), kEsguerra);
    QVERIFY(!users->isVisible());
    QVERIFY(rightsFrame->isEnabled());
    QVERIFY(save->isEnabled());

    // Her rights as the demo hospital granted them are ticked, and nothing else.
    const QList<UserRights::Item> &items = window.presenter().items();
    QCOMPARE(rights->count(), items.size());
    QStringList ticked;
    for (int i = 0; i < rights->count(); ++i) {
        if (rights->item(i)->checkState() == Qt::Checked)
            ticked << items.at(i).code();
    }
    QCOMPARE(ticked.join(u'|'), QStringLiteral("3|9|13|18|19|20|21"));

    auto *selectAll = child<QCheckBox>(&window, "chkSelectAll");
    if (action.startsWith(QStringLiteral("selectAll")))
        QTest::mouseClick(selectAll, Qt::LeftButton);
    if (action == QStringLiteral("selectAll")) {
        for (int i = 0; i < rights->count(); ++i)
            QCOMPARE(rights->item(i)->checkState(), Qt::Checked);
    }
    if (action == QStringLiteral("selectAllTwice"))
        QTest::mouseClick(selectAll, Qt::LeftButton);
    if (action == QStringLiteral("untickNine")) {
        int nine = -1;
        for (int i = 0; i < items.size(); ++i) {
            if (items.at(i).code() == QStringLiteral("9"))
                nine = i;
        }
        QVERIFY(nine >= 0);
        rights->setFocus();
        rights->setCurrentRow(nine);
        QTest::keyClick(rights, Qt::Key_Space);
        QCOMPARE(rights->item(nine)->checkState(), Qt::Unchecked);
    }

    QTest::mouseClick(save, Qt::LeftButton);
    QCOMPARE(rig.messages(), QStringList{QStringLiteral("User rights successfully updated.")});
    QCOMPARE(rig.f->notifier.boxes().last().title, QStringLiteral("Notification"));
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(QDialog::Accepted));
    auto row = rig.db().selectOne(u"select EmployeeRights, UserID from STATION..tbNurseUserRights "
                                  u"where EmployeeID = :employee",
                                  {{QStringLiteral("employee"), QStringLiteral("2905")}});
    QVERIFY(row && *row);
    QCOMPARE((*row)->text(u"EmployeeRights"), saved);
    QCOMPARE((*row)->trimmed(u"UserID"), QStringLiteral("2901"));
}

void tst_UserWindows::rightsListShowsOnlyTheDescription()
{
    Rig rig;
    QVERIFY(rig.open());
    frmUserRights window(rig.f->session);
    QVERIFY(show(&window));
    auto *rights = child<QListWidget>(&window, "lstRights");
    auto active =
        rig.db().scalar(u"select count(*) from STATION..tbNurseUserSettings where Status = 'A'");
    QVERIFY(active);
    QCOMPARE(rights->count(), active->toInt());
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

// --- The search and the picker ----------------------------------------------------------------

void tst_UserWindows::searchShowsWhoIsFound_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("codes");
    QTest::newRow("last name, typed in small letters") << "esguerra" << QStringList{"2905"};
    QTest::newRow("employee code") << "2903" << QStringList{"2903"};
    QTest::newRow("beginning of a last name") << "pan" << QStringList{"2904"};
    QTest::newRow("nobody") << "ZZZ" << QStringList{};
    QTest::newRow("staff of another station") << "1401" << QStringList{};
}

void tst_UserWindows::searchShowsWhoIsFound()
{
    QFETCH(QString, typed);
    QFETCH(QStringList, codes);
    Rig rig;
    QVERIFY(rig.open());
    frmUser window(rig.f->session);
    QVERIFY(show(&window));
    auto *users = child<QGroupBox>(&window, "fmeUsers");
    // A search that found someone first, so that an empty result must hide the list again.
    searchFor(&window, QStringLiteral("2901"));
    QVERIFY(users->isVisible());

    child<QLineEdit>(&window, "txtEmployeeID")->clear();
    QTest::keyClicks(child<QLineEdit>(&window, "txtEmployeeID"), typed);
    QTest::mouseClick(child<QPushButton>(&window, "cmdSearch"), Qt::LeftButton);
    QCOMPARE(users->isVisible(), !codes.isEmpty());
    if (!codes.isEmpty())
        QCOMPARE(gridCodes(&window), codes);
    auto *grid = child<QTableWidget>(&window, "grdUsers");
    QCOMPARE(grid->horizontalHeaderItem(1)->text(), QStringLiteral("Employee Code"));
    QCOMPARE(grid->horizontalHeaderItem(2)->text(), QStringLiteral("Employee Name"));
    QCOMPARE(grid->horizontalHeaderItem(3)->text(), QStringLiteral("Position"));
    QVERIFY(window.isVisible());
    QVERIFY(window.picked().code.isEmpty());
}

void tst_UserWindows::pickerPicksAndCloses_data()
{
    QTest::addColumn<bool>("pick");
    QTest::newRow("a row clicked") << true;
    QTest::newRow("closed") << false;
}

void tst_UserWindows::pickerPicksAndCloses()
{
    QFETCH(bool, pick);
    Rig rig;
    QVERIFY(rig.open());
    frmUser window(rig.f->session);
    QVERIFY(show(&window));
    searchFor(&window, QStringLiteral("esguerra"));
    if (pick)
        QVERIFY(clickEmployee(&window, QStringLiteral("2905")));
    else
        QTest::mouseClick(child<QPushButton>(&window, "cmdClose"), Qt::LeftButton);
    QVERIFY(!window.isVisible());
    QCOMPARE(window.result(), int(pick ? QDialog::Accepted : QDialog::Rejected));
    QCOMPARE(window.picked().code, pick ? QStringLiteral("2905") : QString());
    QCOMPARE(window.picked().name, pick ? kEsguerra : QString());
}

// --- The user logs ----------------------------------------------------------------------------

void tst_UserWindows::userLogsOpenOnTheServerDate()
{
    Rig rig;
    const QDate serverDate(2026, 11, 20);
    QVERIFY(rig.open(serverDate));
    frmUserLogs window(rig.f->session, *rig.reports);
    QVERIFY(show(&window));
    for (const char *name : {"dtpStartDate", "dtpEndDate", "dtpStartUser", "dtpEndUser"}) {
        auto *date = child<QDateEdit>(&window, name);
        QCOMPARE(date->date(), serverDate);
        QCOMPARE(date->text(), QStringLiteral("11/20/2026"));
    }
    auto *byTransaction = child<QRadioButton>(&window, "Option1(0)");
    auto *byUser = child<QRadioButton>(&window, "Option1(1)");
    auto *transactions = child<QGroupBox>(&window, "fTransactions");
    auto *user = child<QGroupBox>(&window, "fUser");
    QVERIFY(byTransaction->isChecked());
    QVERIFY(transactions->isEnabled());
    QVERIFY(!user->isEnabled());
    QCOMPARE(child<QComboBox>(&window, "cboTransactions")->count(), 9);
    QVERIFY(child<QComboBox>(&window, "cboTransactions")->currentText().isEmpty());

    QTest::mouseClick(byUser, Qt::LeftButton);
    QVERIFY(byUser->isChecked());
    QVERIFY(!transactions->isEnabled());
    QVERIFY(user->isEnabled());
    QCOMPARE(window.presenter().mode(), UserLogs::SearchMode::ByUser);
    // The disabled frame's label does nothing.
    QTest::mouseClick(child<QLabel>(&window, "lblSearch"), Qt::LeftButton);
    QVERIFY(rig.f->notifier.boxes().isEmpty());

    QTest::mouseClick(byTransaction, Qt::LeftButton);
    QVERIFY(transactions->isEnabled());
    QVERIFY(!user->isEnabled());
    QCOMPARE(window.presenter().mode(), UserLogs::SearchMode::ByTransaction);
}

void tst_UserWindows::userLogsByTransaction_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("heading");
    QTest::newRow("nothing chosen") << ""
                                    << "";
    QTest::newRow("cancel request") << "Cancel"
                                    << "CANCEL REQUEST";
    QTest::newRow("or schedule operation") << "OR Sch"
                                           << "OR SCHEDULE OPERATION";
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
        QCOMPARE(rig.messages(), QStringList{QStringLiteral("Please select transaction type.")});
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QVERIFY2(rig.f->notifier.boxes().isEmpty(), qPrintable(rig.f->notifier.lastText()));
    QCOMPARE(rig.display.shown().size(), 1);
    const auto &shown = rig.display.shown().last();
    QCOMPARE(shown.kind, test::RecordingReportDisplay::Kind::Viewer);
    QCOMPARE(shown.options.title, QStringLiteral("Nurse Log"));
    // The values arrive in the report's order: the two headings, the kind, the period.
    QVERIFY(shown.report->headerHtml(1).contains(rig.f->session.hospital.Company));
    QVERIFY(shown.report->headerHtml(1).contains(rig.f->session.hospital.Address1));
    QVERIFY2(shown.report->html().contains(u"<b>" + heading + u"</b>"),
             qPrintable(shown.report->html()));
    QVERIFY(shown.report->html().contains(QStringLiteral("From 11/13/2026 to 12/01/2026")));
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
                if (answer == QStringLiteral("close")) {
                    QTest::mouseClick(child<QPushButton>(answering, "cmdClose"), Qt::LeftButton);
                } else {
                    searchFor(answering, QStringLiteral("esguerra"));
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
        QCOMPARE(rig.messages(), QStringList{QStringLiteral("Please select employee.")});
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QVERIFY2(rig.f->notifier.boxes().isEmpty(), qPrintable(rig.f->notifier.lastText()));
    QCOMPARE(rig.display.shown().size(), 1);
    const auto &shown = rig.display.shown().last();
    QCOMPARE(shown.options.title, QStringLiteral("Nurse Log"));
    const QString html = shown.report->html();
    QVERIFY(html.contains(QStringLiteral("ALL TRANSACTIONS OF THE EMPLOYEE")));
    QVERIFY(html.contains(QStringLiteral("Employee: <b>2905")));
    QVERIFY(html.contains(QStringLiteral("From 11/24/2026 to 12/01/2026")));
    // Exactly her log entries of the period are listed.
    auto logs = rig.db().scalar(u"select count(*) from STATION..tbStationLogs where UserID = :u "
                                u"and StationID = 'OR' and TransDate >= :from and TransDate < :to",
                                {{QStringLiteral("u"), code},
                                 {QStringLiteral("from"), from.startOfDay()},
                                 {QStringLiteral("to"), to.addDays(1).startOfDay()}});
    QVERIFY(logs);
    QVERIFY(logs->toInt() > 0);
    QVERIFY2(html.contains(QStringLiteral("Entries: %1").arg(logs->toInt())), qPrintable(html));
}

void tst_UserWindows::userLogsCloseLeavesTheWorkArea()
{
    Rig rig;
    QVERIFY(rig.open());
    QMdiArea area;
    area.resize(800, 600);
    auto *window = new frmUserLogs(rig.f->session, *rig.reports);
    QMdiSubWindow *sub = area.addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    QPointer<QMdiSubWindow> open = sub;
    QVERIFY(show(&area));
    sub->show();
    QCOMPARE(area.subWindowList().size(), 1);
    QTest::mouseClick(child<QLabel>(window, "lblClose"), Qt::LeftButton);
    QTRY_VERIFY(open.isNull());
    QVERIFY(area.subWindowList().isEmpty());
}

QTEST_MAIN(tst_UserWindows)
#include "tst_userwindows.moc"
