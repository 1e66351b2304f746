// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The result viewers on every backend: each department's examination list and its refusals,
// the tabular laboratory layout, the panic values, and the verified results printed and marked
// once, also when two workstations print at the same time; the kidney fund against a stay's
// bill.
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"
#include "profile/results/CdfDetails.h"
#include "profile/results/ExamList.h"
#include "profile/results/HeartViewer.h"
#include "profile/results/LabTabular.h"
#include "profile/results/PanicValues.h"
#include "profile/results/ui/ExamListWindow.h"
#include "profile/results/ui/frmAutoPrint.h"
#include "profile/results/ui/frmCdfViewing.h"
#include "profile/results/ui/frmPanicValues.h"
#include "profile/results/ui/LabTabularWindow.h"
#include "profile/results/VerifiedResults.h"
#include "profile/ui/frmFinal.h"
#include "reports/ReportService.h"
#include "support/MainWindowFixture.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QListWidget>
#include <QMutex>
#include <QPushButton>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTabWidget>
#include <QTest>
#include <QThread>

#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kestrel::ChosenExam)

namespace {

// A demo stay of the OR with laboratory results.
QString stayWithResults(Database &db)
{
    auto id = db.scalar(u"select min(IdNum) from LABORATORY..tbLabResult "
                        u"where ResultDate is not null and StationID = 'OR'"_s);
    return id ? id->toString() : QString();
}

struct Printing
{
    explicit Printing(Database &db)
        : f(db, u"2901"_s)
        , reports(db, QStringLiteral(KESTREL_REPORTS_DIR), {u"TEST HOSPITAL"_s, u""_s}, display,
                  f.notifier)
    {
    }
    test::MainWindowFixture f;
    test::RecordingReportDisplay display;
    ReportService reports;
};

} // namespace

class tst_ResultViewers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void departmentLists();
    void departmentRefusals();
    void tabularLayout_data();
    void tabularLayout();
    void tabularOfAStay();
    void panicValues();
    void heartResult();
    void printVerified_data();
    void printVerified();
    void twoWorkstationsPrintEachResultOnce();
    void windowsOpenedFromTheProfile();
    void cdfAmounts_data();
    void cdfAmounts();
    void cdfOfADemoStay();
};

void tst_ResultViewers::departmentLists()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    // Every department lists its own examinations, and a click hands one on with its code.
    for (const ExamDepartment &department : ExamList::departments()) {
        ExamList list(f.session, department);
        QSignalSpy chosen(&list, &ExamList::examChosen);
        QVERIFY(list.load(stayWithResults(db)));
        QVERIFY2(list.count() > 0, qPrintable(list.emptyText()));
        QVERIFY(list.emptyText().isEmpty());
        QVERIFY(list.choose(list.count() - 1));
        QCOMPARE(chosen.count(), 1);
        const auto exam = chosen.first().first().value<ChosenExam>();
        QCOMPARE(exam.department, department.code);
        QCOMPARE(exam.name, list.exam(list.count() - 1).name);
    }
}

void tst_ResultViewers::departmentRefusals()
{
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2901"_s);
    const QString stay = stayWithResults(db);

    // A department without examinations says so and a click on its note hands nothing on.
    QVERIFY(db.exec(u"delete from BUILD_FILE..tbCoDeptExam where DepartmentID = 'AU'"_s));
    ExamList audio(f.session, *ExamList::department(u"frmAudio"_s));
    QSignalSpy none(&audio, &ExamList::examChosen);
    QVERIFY(audio.load(stay));
    QCOMPARE(audio.count(), 0);
    QVERIFY(!audio.emptyText().isEmpty());
    QVERIFY(!audio.choose(0));
    QCOMPARE(none.count(), 0);

    // A department that cleared the patient takes no more requests.
    QVERIFY(db.exec(u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, ClearDate) "
                    u"values (:id, 'CT', :cleared)"_s,
                    {{u"id"_s, stay}, {u"cleared"_s, QDateTime(QDate(2026, 12, 1), QTime(8, 0))}}));
    ExamList ct(f.session, *ExamList::department(u"frmCTfile"_s));
    QSignalSpy refused(&ct, &ExamList::examChosen);
    QVERIFY(ct.load(stay));
    QVERIFY(!ct.choose(0));
    QCOMPARE(refused.count(), 0);
    QCOMPARE(f.notifier.lastText(),
             u"Patient is already cleared by (CT-Scan Department). If you have requests to "
             u"make, notify the Billing staff immediately for further instructions."_s);
}

void tst_ResultViewers::tabularLayout_data()
{
    QTest::addColumn<int>("maxCol");
    QTest::addColumn<QString>("exam");
    QTest::addColumn<QStringList>("headers");
    QTest::addColumn<QStringList>("cells"); // every row joined by "|"

    const QStringList three{u"             EXAMINATION"_s, u"NORMAL VALUES"_s, u"12/01/26"_s,
                            u"12/02/26"_s, u"12/03/26"_s};
    QTest::newRow("three dates ascending, pending test without a result")
        << 3 << QString() << three
        << QStringList{u"BLOOD CHEMISTRY"_s, u"SODIUM|135 - 145|140|138|131"_s,
                       u"POTASSIUM|3.5 - 5.1|||"_s, u"HEMATOLOGY"_s, u"HEMOGLOBIN|120-150||101|"_s};
    QTest::newRow("a column without a date stays blank")
        << 4 << QString() << (QStringList(three) << QString())
        << QStringList{u"BLOOD CHEMISTRY"_s, u"SODIUM|135 - 145|140|138|131|"_s,
                       u"POTASSIUM|3.5 - 5.1||||"_s, u"HEMATOLOGY"_s,
                       u"HEMOGLOBIN|120-150||101||"_s};
    QTest::newRow("one examination")
        << 1 << u"HEMOGLOBIN"_s
        << QStringList{u"             EXAMINATION"_s, u"NORMAL VALUES"_s, u"12/02/26"_s}
        << QStringList{u"HEMATOLOGY"_s, u"HEMOGLOBIN|120-150|101"_s};
}

void tst_ResultViewers::tabularLayout()
{
    QFETCH(int, maxCol);
    QFETCH(QString, exam);
    QFETCH(QStringList, headers);
    QFETCH(QStringList, cells);

    const auto day = [](int d) { return QDateTime(QDate(2026, 12, d), QTime(9, 30)); };
    RowSet rows(
        {u"Section"_s, u"Exam"_s, u"NormalValue"_s, u"Resultdate"_s, u"result"_s, u"LabExamID"_s});
    rows.append({u"CHEM"_s, u"SODIUM"_s, u"135 - 145"_s, day(3), u"131"_s, u"SODIUM"_s});
    rows.append({u"CHEM"_s, u"SODIUM"_s, u"135 - 145"_s, day(1), u"140"_s, u"SODIUM"_s});
    rows.append({u"CHEM"_s, u"SODIUM"_s, u"135 - 145"_s, day(2), u"138"_s, u"SODIUM"_s});
    rows.append(
        {u"CHEM"_s, u"POTASSIUM"_s, u"3.5 - 5.1"_s, QVariant(), QVariant(), u"POTASSIUM"_s});
    rows.append({u"HEM"_s, u"HEMOGLOBIN"_s, u"120-150"_s, day(2), u"101"_s, u"HEMOGLOBIN"_s});

    const LabTable table = LabTabular::layout(maxCol, QDate(2026, 12, 1), rows, exam);
    QCOMPARE(table.headers, headers);
    QStringList shown;
    for (const QStringList &r : table.rows)
        shown << r.join(u'|');
    QCOMPARE(shown, cells);
}

void tst_ResultViewers::tabularOfAStay()
{
    KESTREL_OPEN_DEMO(db);
    LabTabular tabular(db);
    tabular.AdmissionNumber = stayWithResults(db);
    auto table = tabular.load();
    QVERIFY2(table, qPrintable(table ? QString() : table.error().message));
    QVERIFY(table->dateColumns > 0);
    // Every released result of the stay stands under the column of its day.
    auto results = db.select(u"select TestName, Result, ResultDate from LABORATORY..tbLabResult "
                             u"where IdNum = :id and ResultDate is not null"_s,
                             {{u"id"_s, tabular.AdmissionNumber}});
    QVERIFY(results && results->count() > 0);
    for (const Row &r : *results) {
        const qsizetype column =
            table->headers.indexOf(r.dateTime(u"ResultDate").date().toString(u"MM/dd/yy"));
        QVERIFY(column >= 2);
        bool found = false;
        for (const QStringList &cells : table->rows)
            found = found || (cells.value(0) == r.trimmed(u"TestName") &&
                              cells.value(column) == r.trimmed(u"Result"));
        QVERIFY2(found, qPrintable(r.trimmed(u"TestName")));
    }
}

void tst_ResultViewers::panicValues()
{
    KESTREL_OPEN_DEMO(db);
    Printing p(db);
    PanicValues panic(p.f.session, &p.reports);
    QVERIFY(panic.load());
    QVERIFY(!panic.rows().isEmpty());
    QCOMPARE(qsizetype(panic.rows().first().size()), PanicValues::columns().size());
    for (const QStringList &row : panic.rows())
        QVERIFY2(!row.at(8).isEmpty(), "a row without its panic value");
    const QString request = panic.rows().first().at(PanicValues::kRequestColumn);
    QVERIFY(panic.viewResult(0));
    QVERIFY2(p.f.notifier.boxes().isEmpty(), qPrintable(p.f.notifier.lastText()));
    QVERIFY(p.display.last() && p.display.last()->html().contains(request));
    QVERIFY(!panic.viewResult(int(panic.rows().size())));
}

void tst_ResultViewers::heartResult()
{
    KESTREL_OPEN_DEMO(db);
    Printing p(db);
    auto exam = db.selectOne(u"select TransNum, RequestNum from STATION..tbNurseDiagResult "
                             u"where DepartmentID = 'HS' and FormType = 'D'"_s);
    QVERIFY(exam && *exam);
    HeartViewer viewer(db, &p.reports);
    // Found by the heart station's number as the profile lists it; shown with its form's title.
    QVERIFY(viewer.ViewHeartResult((*exam)->trimmed(u"TransNum")));
    QCOMPARE(p.display.shown().size(), 1);
    QCOMPARE(p.display.last()->html().contains((*exam)->trimmed(u"RequestNum")), true);
    QCOMPARE(p.display.shown().first().options.title, u"ELECTROCARDIOGRAM"_s);
    // A form the heart station has no report of opens none.
    QVERIFY(db.exec(u"update STATION..tbNurseDiagResult set FormType = 'Z' "
                    u"where TransNum = :number"_s,
                    {{u"number"_s, (*exam)->trimmed(u"TransNum")}}));
    QVERIFY(!viewer.ViewHeartResult((*exam)->trimmed(u"TransNum")));
    QCOMPARE(p.display.shown().size(), 1);
}

void tst_ResultViewers::printVerified_data()
{
    QTest::addColumn<int>("kind");
    QTest::addColumn<bool>("taggedOnly");
    QTest::newRow("laboratory, all") << 0 << false;
    QTest::newRow("laboratory, tagged") << 0 << true;
    QTest::newRow("x-ray, all") << 1 << false;
}

void tst_ResultViewers::printVerified()
{
    QFETCH(int, kind);
    QFETCH(bool, taggedOnly);
    KESTREL_OPEN_DEMO(db);
    Printing p(db);
    VerifiedResults list(p.f.session, VerifiedResults::reportPrinter(&p.reports),
                         VerifiedResults::kinds().at(kind));
    QSignalSpy progress(&list, &VerifiedResults::progress);
    QVERIFY(list.load());
    const QList<VerifiedResult> before = list.results();
    QVERIFY(before.size() > 1);
    if (taggedOnly)
        list.setTagged(1, true);
    const int printed = taggedOnly ? list.printTagged() : list.printAll();
    QVERIFY2(p.f.notifier.boxes().isEmpty(), qPrintable(p.f.notifier.lastText()));
    QCOMPARE(printed, taggedOnly ? 1 : int(before.size()));
    QCOMPARE(qsizetype(p.display.shown().size()), qsizetype(printed));
    // Each report printed is the result of its request, in the list's order.
    for (int i = 0; i < printed; ++i)
        QVERIFY(p.display.shown().at(i).report->html().contains(
            before.at(taggedOnly ? 1 : i).requestNum));
    QCOMPARE(progress.first().at(2).toString(),
             VerifiedResults::printingText(before.at(taggedOnly ? 1 : 0)));
    QCOMPARE(list.results().size(), before.size() - printed);
    if (taggedOnly) {
        QCOMPARE(list.results().first().requestNum, before.first().requestNum);
        return;
    }
    // Nothing is left, and the list says so.
    QCOMPARE(list.printAll(), 0);
    QCOMPARE(p.f.notifier.lastText(), u"No results are available for printing."_s);
}

void tst_ResultViewers::twoWorkstationsPrintEachResultOnce()
{
    auto created = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(created, qPrintable(created ? QString() : created.error().message));
    test::MainWindowFixture f((*created)->db(), u"2901"_s);
    VerifiedResults list(f.session, {}, VerifiedResults::kinds().first());
    QVERIFY(list.load());
    QStringList waiting;
    for (const VerifiedResult &r : list.results())
        waiting << r.requestNum;
    QVERIFY(waiting.size() > 1);

    // Both workstations read the same list, then print it at once; each print takes a moment.
    QMutex lock;
    QStringList printed, failures;
    const test::TestDatabase &hospital = **created;
    auto workstation = [&](int n) {
        auto db = hospital.openWorkstation(n);
        if (!db) {
            const QMutexLocker locked(&lock);
            failures << db.error().message;
            return;
        }
        test::MainWindowFixture station(**db, u"2901"_s);
        VerifiedResults mine(
            station.session,
            [&](const VerifiedKind &, const VerifiedResult &r) {
                QThread::msleep(20);
                const QMutexLocker locked(&lock);
                printed << r.requestNum;
                return true;
            },
            VerifiedResults::kinds().first());
        mine.load();
        mine.printAll();
        const QMutexLocker locked(&lock);
        for (const auto &box : station.notifier.boxes())
            failures << box.text;
    };
    std::thread first(workstation, 1), second(workstation, 2);
    first.join();
    second.join();

    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; ")));
    printed.sort();
    waiting.sort();
    QCOMPARE(printed, waiting);
    QVERIFY(list.load());
    QVERIFY(list.results().isEmpty());
}

void tst_ResultViewers::windowsOpenedFromTheProfile()
{
    KESTREL_OPEN_DEMO(db);
    Printing p(db);
    const QString stay = stayWithResults(db);
    auto hosp = db.scalar(u"select HospNum from PATIENT_DATA..tbPatient where IDNum = :id"_s,
                          {{u"id"_s, stay}});
    QVERIFY(hosp && !hosp->toString().isEmpty());
    frmFinal profile(p.f.session);
    WindowRequest request;
    request.values = {{"HospNum", hosp->toString()}, {"IdNum", stay}, {"Tab", 6}};
    QVERIFY(profile.open(request));
    QStringList asked;
    connect(&profile, &frmFinal::resultWindowRequested, this,
            [&](const QString &form, const WindowRequest &r) {
                asked << form + u' ' + r.values.value(u"IdNum"_s).toString();
            });
    auto *ctButton = profile.findChild<QPushButton *>(u"cmdfrmCTfile"_s);
    auto *tabularButton = profile.findChild<QPushButton *>(u"cmdTabular"_s);
    QVERIFY(ctButton && tabularButton);
    ctButton->click();
    tabularButton->click();
    QCOMPARE(asked, (QStringList{u"frmCTfile "_s + stay, u"clsLaboratoryTabularFormat "_s + stay}));
    // A station that prints the tabular results chooses the exams first.
    QVERIFY(db.exec(u"insert into STATION..tbNurseSetup (Field, value) "
                    u"values ('LabTabularSelection', '1')"_s));
    p.f.session.settings.LoadParameters(db, p.f.session.hospital);
    tabularButton->click();
    QCOMPARE(asked.constLast(), u"frmSelectLabExam "_s + stay);

    // The CT list the button opens hands a clicked examination to the profile's orders.
    ExamListWindow ct(p.f.session, *ExamList::department(u"frmCTfile"_s));
    connect(&ct.presenter(), &ExamList::examChosen, &profile, &frmFinal::orderExam);
    QVERIFY(ct.open(stay));
    auto *list = ct.findChild<QListWidget *>(u"lstListCT"_s);
    QVERIFY(list && list->count() > 0);
    auto *orders = profile.findChild<QTableWidget *>(u"mshflexOrders"_s);
    const int before = orders->rowCount();
    Q_EMIT list->itemClicked(list->item(0));
    QCOMPARE(orders->rowCount(), before + 1);

    LabTabularWindow tabular(db, p.f.notifier);
    QVERIFY(tabular.open(stay));
    QVERIFY(tabular.grid()->columnCount() > 2 && tabular.grid()->rowCount() > 1);
    frmPanicValues panic(p.f.session, &p.reports);
    QCOMPARE(panic.findChild<QTableWidget *>(u"mshPx"_s)->rowCount(),
             panic.presenter().rows().size());
    frmAutoPrint print(p.f.session, &p.reports);
    QCOMPARE(print.findChild<QTabWidget *>(u"SSTab1"_s)->count(), 4);
    QCOMPARE(print.findChild<QTableWidget *>(u"grdLaboratory"_s)->rowCount(),
             print.presenter(0).results().size());
    QVERIFY2(p.f.notifier.boxes().isEmpty(), qPrintable(p.f.notifier.lastText()));
}

void tst_ResultViewers::cdfAmounts_data()
{
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("paid");
    QTest::addColumn<QString>("balance");
    QTest::addColumn<QString>("net");
    QTest::newRow("fund covers the bill") << u"12500.50"_s << u"50000"_s << u"10000"_s
                                          << u"40000"_s << u"0"_s;
    QTest::newRow("fund covers part") << u"52000.25"_s << u"50000"_s << u"20000"_s << u"30000"_s
                                      << u"22000.25"_s;
    QTest::newRow("fund used up") << u"8000"_s << u"30000"_s << u"30000"_s << u"0"_s
                                  << u"8000"_s;
    QTest::newRow("overdrawn fund takes nothing") << u"8000"_s << u"30000"_s << u"31000"_s
                                                  << u"-1000"_s << u"8000"_s;
    QTest::newRow("no bill yet") << u"0"_s << u"20000"_s << u"0"_s << u"20000"_s << u"0"_s;
    QTest::newRow("credit on the bill") << u"-500"_s << u"20000"_s << u"0"_s << u"20000"_s
                                        << u"-500"_s;
}

void tst_ResultViewers::cdfAmounts()
{
    QFETCH(QString, bill);
    QFETCH(QString, total);
    QFETCH(QString, paid);
    QFETCH(QString, balance);
    QFETCH(QString, net);
    const auto m = [](const QString &text) { return *Money::parse(text); };
    const CdfAmounts a = CdfAmounts::from(m(bill), m(total), m(paid));
    QCOMPARE(a.cdfBalance, m(balance));
    QCOMPARE(a.netHospBill, m(net));
}

void tst_ResultViewers::cdfOfADemoStay()
{
    KESTREL_OPEN_DEMO(db);
    // A stay of a patient of the programme, with an operation charged to it.
    auto stay = db.selectOne(
        u"select P.IDNum, P.HospNum from PATIENT_DATA..tbPatient P "
        u"where exists (select 1 from BILLING..tbParsCDFTransaction F "
        u"where F.HospNum = P.HospNum) order by P.IDNum"_s);
    QVERIFY(stay && *stay);
    const QString idNum = (*stay)->text(u"IDNum"), hospNum = (*stay)->text(u"HospNum");
    const Binds id{{u"id"_s, idNum}, {u"hosp"_s, hospNum}};
    QVERIFY(db.exec(u"insert into BILLING..tbBillDailyBill (IDNum, HospNum, RevenueID, Amount) "
                    u"values (:id, :hosp, 'OR', 15000.75)"_s,
                    id));
    const auto sum = [&](QStringView sql, const QString &key) {
        auto v = db.scalar(sql, {{key, id.value(key)}});
        return v ? Money::fromVariant(*v) : Money::maximum();
    };
    const Money bill =
        sum(u"select sum(Amount) from BILLING..tbBillDailyBill where IDNum = :id", u"id"_s);
    const Money granted = sum(
        u"select sum(Amount) from BILLING..tbParsCDFTransaction where HospNum = :hosp", u"hosp"_s);
    const Money used = sum(u"select coalesce(sum(Amount), 0) from BILLING..tbParsCDFUtilized "
                           u"where HospNum = :hosp",
                           u"hosp"_s);
    QVERIFY(bill > Money() && granted > Money());

    auto read = readCdfAmounts(db, idNum, hospNum);
    QVERIFY2(read, qPrintable(read ? QString() : read.error().message));
    QCOMPARE(read->hospBill, bill);
    QCOMPARE(read->totalCdf, granted);
    QCOMPARE(read->paidCdf, used);
    QCOMPARE(read->cdfBalance, granted - used);

    // The window shows them as the bill does; a patient without a fund has nothing off.
    frmCdfViewing window;
    window.showAmounts(*read);
    QCOMPARE(window.shown(0), formatNumber(bill, kFormatGross));
    QCOMPARE(window.shown(3), formatNumber(granted - used, kFormatGross));
    QCOMPARE(window.shown(4), formatNumber(read->netHospBill, kFormatGross));
    window.setProperty("HospBill", 1234567.5);
    QCOMPARE(window.shown(0), u"1,234,567.50"_s);
    auto none = readCdfAmounts(db, idNum, u"NO-SUCH-PATIENT"_s);
    QVERIFY(none);
    QCOMPARE(none->hospBill, Money());
    QCOMPARE(none->netHospBill, Money());
}

QTEST_MAIN(tst_ResultViewers)
#include "tst_resultviewers.moc"
