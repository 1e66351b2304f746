// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Finding and selecting the patient, on every backend: what a selection writes into the
// current patient, the keys every search and selection clears first, the CVOR tag, and the
// patient lists' presenter from loading and colouring the grid to the windows a row opens.
#include "core/components/clsPatientFinder.h"
#include "core/settings/HospitalSettings.h"
#include "core/WindowsColor.h"
#include "patients/PatientGrid.h"
#include "patients/PatientList.h"
#include "patients/PatientListFixture.h"
#include "patients/PatientSelection.h"
#include "shell/MainMenu.h"
#include "support/MainWindowFixture.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

// A logged-in session on a demo hospital with the list's own patients, its settings loaded
// (the demo colours precautions and tags CVOR patients), the patient finder and the main
// window's commands.
struct Hospital
{
    explicit Hospital(Database &db)
        : f(db, u"2901"_s)
        , finder(ctx)
        , menu(f.session)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        finder.InitConnection(QString(), &db);
    }
    PatientList list(PatientList::Window window = PatientList::Window::PatientList)
    {
        return PatientList(f.session, &finder, &menu, window);
    }

    test::MainWindowFixture f;
    ComponentContext ctx{f.notifier};
    clsPatientFinder finder;
    MainMenu menu;
};

#define OPEN_HOSPITAL(h)                                                                           \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(test::addListPatients(db));                                                            \
    Hospital h(db)

// One list procedure row: the six shown columns, the cash-basis flag and the legend.
RowSet listRows(const QList<QVariantList> &rows)
{
    RowSet set({"HospNum", "IdNum", "PatientName", "AdmissionDate", "DischargedDate", "BillingDate",
                "CashBasis", "CashBasisRemarks"});
    for (const QVariantList &r : rows)
        set.append(r);
    return set;
}

int rowOf(const PatientList &list, const QString &idNum)
{
    for (int row = 1; row < list.grid().gridRows(); ++row) {
        if (list.grid().text(row, PatientGrid::AdmissionNumber) == idNum)
            return row;
    }
    return 0;
}

QStringList admissionNumbers(const PatientList &list)
{
    QStringList ids;
    for (int row = 1; row < list.grid().gridRows(); ++row)
        ids << list.grid().text(row, PatientGrid::AdmissionNumber);
    return ids;
}

bool setSwitch(Database &db, const QString &field, const QString &value)
{
    return db
        .exec(u"update STATION..tbNurseSetup set value = :v where Field = :f",
              {{"v", value}, {"f", field}})
        .has_value();
}

// Everything a selection fills, in one line.
QString describe(const CurrentPatientRecord &p)
{
    const QString format = u"yyyy-MM-dd hh:mm"_s;
    return QStringList{p.HospNum,
                       p.PatientName,
                       p.Address,
                       p.Sex,
                       p.IdNum,
                       p.PatientClass,
                       p.RoomClassID,
                       p.RoomID,
                       p.RoomRate.toString(),
                       p.AdmissionDate.toString(format),
                       p.DischargeDate.toString(format),
                       p.AccountNumber,
                       p.Company,
                       p.AttendingDoctor,
                       QString::number(p.ListRow)}
        .join(u'|');
}

} // namespace

class tst_PatientSelection : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    // The selection logic.
    void selectingAStay_data();
    void selectingAStay();
    void stayNotFound_data();
    void stayNotFound();
    void searchClearsTheKeys();
    void payServiceLabelForOneHospital();
    void cvorTag_data();
    void cvorTag();

    // The grid.
    void rowColours_data();
    void rowColours();
    void aSingleEmptyRowIsLeftAlone();

    // The presenter.
    void loadingTheList();
    void longListsArriveInPages();
    void precautionColours();
    void selectionEnablesThePatientCommands();
    void rowsOpenTheProfile();
    void pickerHandsThePatientToTheBoard();
    void cvorPopup();
    void kindsOfStay();
    void demoNamesakesShowEveryRowKind();
};

// --- Selection --------------------------------------------------------------------------------

void tst_PatientSelection::selectingAStay_data()
{
    QTest::addColumn<QString>("expected"); // as describe() writes it; the keys are taken from it

    const QString juan = u"K0000001|BATUMBAKAL, JUAN MARASIGAN|"
                         u"12 MABINI ST., SAN ISIDRO, SAN BARTOLOME, LAGUNA|M|"_s;
    const QString company = u"K900|MAKILING MUTUAL BENEFIT ASSOCIATION|"_s;
    QTest::newRow("inpatient on his own account")
        << juan + u"K0100001|I|B|K-501|3500.5|2026-11-28 08:30||K0000001|PERSONAL|"
                  u"DELA PAZ, JOSE RIZAL|7";
    QTest::newRow("discharged inpatient on a company account")
        << juan + u"K0100002|I|B|K-501|3500.5|2026-10-01 09:15|2026-10-05 14:00|" + company +
               u"DELA PAZ, JOSE RIZAL|7";
    QTest::newRow("outpatient visit")
        << juan + u"K0300001B|O|A|OPD|0|2026-11-30 23:30||K0000001|PERSONAL|ILAGAN, ROSARIO M|7";
    QTest::newRow("ER visit on a company account")
        << juan + u"K0300002B|O|A|OPD|0|2026-12-01 00:00||" + company + u"DELA PAZ, JOSE RIZAL|7";
    QTest::newRow("a patient without a middle name")
        << u"K0000002|BATUMBAKAL, MARIA LOURDES |CALAMBA, LAGUNA|F|K0100004|I|B|K-501|3500.5|"
           u"2026-11-30 16:45||"_s +
               company + u"ILAGAN, ROSARIO M|7";
}

void tst_PatientSelection::selectingAStay()
{
    QFETCH(QString, expected);
    const QString hospNum = expected.section(u'|', 0, 0), idNum = expected.section(u'|', 4, 4);
    const bool inpatient = expected.section(u'|', 5, 5) == u"I";
    OPEN_HOSPITAL(h);
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    // What another patient left behind is replaced, not kept.
    p.RoomRate = Money::fromMinor(1);
    p.DischargeDate = test::on(1, 1, 0, 0);
    p.ListRow = 7;

    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(hospNum, idNum, inpatient));
    QVERIFY(h.f.notifier.boxes().isEmpty());
    QCOMPARE(describe(p), expected);

    // The schedule's patient picker leaves sex and doctor out.
    QVERIFY(
        selection.SelectPatient(hospNum, idNum, inpatient, PatientSelection::newScheduleOptions()));
    QCOMPARE(p.Sex, QString());
    QCOMPARE(p.AttendingDoctor, QString());
    QCOMPARE(p.PatientName, expected.section(u'|', 1, 1));
}

void tst_PatientSelection::stayNotFound_data()
{
    QTest::addColumn<bool>("picker");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("inpatient");
    QTest::addColumn<QString>("message");
    QTest::newRow("list, a visit taken for an admission")
        << false << u"K0300001B"_s << true << u"No records found."_s;
    QTest::newRow("list, an admission taken for a visit")
        << false << u"K0100001"_s << false << u"No records found."_s;
    QTest::newRow("picker, no such stay")
        << true << u"K0199999"_s << true << u"No Records Found."_s;
}

void tst_PatientSelection::stayNotFound()
{
    QFETCH(bool, picker);
    QFETCH(QString, idNum);
    QFETCH(bool, inpatient);
    QFETCH(QString, message);
    OPEN_HOSPITAL(h);
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(u"K0000002"_s, u"K0100004"_s, true));
    CurrentPatientRecord &p = h.f.session.CurrentPatient;

    QVERIFY(!selection.SelectPatient(u"K0000001"_s, idNum, inpatient,
                                     picker ? PatientSelection::newScheduleOptions()
                                            : PatientSelection::patientListOptions()));
    QCOMPARE(h.f.notifier.boxes().size(), 1);
    QCOMPARE(h.f.notifier.lastText(), message);
    QCOMPARE(h.f.notifier.boxes().last().title, u"Notification"_s);
    QCOMPARE(h.f.notifier.boxes().last().icon, Notifier::Icon::Information);
    // The keys are the row's, but no class says a stay was found; the previous patient's sex
    // and doctor are gone.
    QCOMPARE(p.HospNum, u"K0000001"_s);
    QCOMPARE(p.IdNum, idNum);
    QCOMPARE(p.PatientClass, QString());
    QCOMPARE(p.AttendingDoctor, QString());
    QCOMPARE(p.Sex, picker ? QString() : u"M"_s);
}

void tst_PatientSelection::searchClearsTheKeys()
{
    OPEN_HOSPITAL(h);
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    p.ListRow = 5;

    const auto rows = selection.SearchPatients(PatientType::Inpatient, u"NOBODY BY THIS NAME"_s,
                                               QString(), QString());
    QVERIFY(rows && rows->isEmpty());
    QCOMPARE(p.HospNum, QString());
    QCOMPARE(p.IdNum, QString());
    QCOMPARE(p.ListRow, qint16(1));
    // The rest stays until the next selection.
    QCOMPARE(p.PatientClass, u"I"_s);
    QCOMPARE(p.PatientName, u"BATUMBAKAL, JUAN MARASIGAN"_s);

    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    const QDate nov28(2026, 11, 28);
    const auto dated = selection.SearchPatientsByAdmissionDate(
        PatientType::Inpatient, u"BATUMBAKAL"_s, QString(), QString(), nov28, nov28);
    QVERIFY(dated);
    QCOMPARE(dated->count(), 1);
    QVERIFY(p.HospNum.isEmpty() && p.IdNum.isEmpty());
}

void tst_PatientSelection::payServiceLabelForOneHospital()
{
    OPEN_HOSPITAL(h);
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set PatientClass = 'S' "
                    u"where IDNum = 'K0100001'"));
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    QCOMPARE(h.f.session.PayServiceLabel, QString());

    h.f.session.hospital.clientname = u"QELM"_s;
    QVERIFY(selection.SelectPatient(u"K0000001"_s, u"K0100001"_s, true));
    QCOMPARE(h.f.session.PayServiceLabel, u"SERVICE PATIENT"_s);
}

void tst_PatientSelection::cvorTag_data()
{
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("tagged");
    QTest::newRow("tagged inpatient") << u"K0100001"_s << true;
    QTest::newRow("untagged inpatient") << u"K0100002"_s << false;
    QTest::newRow("tagged visit") << u"K0300001B"_s << true;
    QTest::newRow("tagged visit, small b") << u"k0300001b"_s << true;
    QTest::newRow("untagged visit") << u"K0300002B"_s << false;
    QTest::newRow("a visit number is never read as an admission") << u"K0100001B"_s << false;
    QTest::newRow("nothing highlighted") << QString() << false;
}

void tst_PatientSelection::cvorTag()
{
    QFETCH(QString, idNum);
    QFETCH(bool, tagged);
    OPEN_HOSPITAL(h);
    // An inpatient stay with the visit's number tells the tables apart.
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, isCVOR) "
                    u"values ('K0100001B', 'K0000001', 1)"));
    PatientSelection selection(h.f.session, &h.finder);
    QCOMPARE(selection.IsCvorPatient(idNum), tagged);
    QVERIFY(h.f.notifier.boxes().isEmpty());
}

// --- The grid ---------------------------------------------------------------------------------

void tst_PatientSelection::rowColours_data()
{
    QTest::addColumn<QString>("billingDate");
    QTest::addColumn<QString>("cashBasis");
    QTest::addColumn<QVariant>("text");
    QTest::addColumn<QString>("flagAfter");

    const QVariant plain;
    const QVariant blue = PatientGrid::billedTextColor();
    const QVariant red = PatientGrid::cashBasisTextColor();
    const QString billed = u"10/05/2026 11:30 AM"_s;
    QTest::newRow("ordinary") << QString() << u"0"_s << plain << u"0"_s;
    QTest::newRow("billed") << billed << u"0"_s << blue << u"0"_s;
    QTest::newRow("cash basis") << QString() << u"1"_s << red << u"1"_s;
    QTest::newRow("cash basis, written as a number") << QString() << u"1.0"_s << red << u"1.0"_s;
    QTest::newRow("billed wins over cash basis") << billed << u"1"_s << blue << u"0"_s;
    QTest::newRow("any other flag is no cash basis") << QString() << u"2"_s << plain << u"2"_s;
}

void tst_PatientSelection::rowColours()
{
    QFETCH(QString, billingDate);
    QFETCH(QString, cashBasis);
    QFETCH(QVariant, text);
    QFETCH(QString, flagAfter);

    PatientGrid grid;
    QAbstractItemModelTester tester(&grid, QAbstractItemModelTester::FailureReportingMode::QtTest);
    // The row under test sits second and third, so both backgrounds are seen.
    const QVariantList ordinary{"1", "A1", "A", "11/28/2026 08:30 AM", "", "", "0", ""};
    const QVariantList row{"2", "A2",        "B",       "11/28/2026 08:30 AM",
                           "",  billingDate, cashBasis, "CASH BASIS: NO DEPOSIT"};
    grid.bind(listRows({ordinary, row, row}));
    grid.colourRows();

    QCOMPARE(grid.background(1, 3), std::optional<QColor>(QColor(Qt::white)));
    QCOMPARE(grid.background(2, 3), std::optional<QColor>(QColor(0xC5, 0xE2, 0xFE)));
    QCOMPARE(grid.background(3, 3), std::optional<QColor>(QColor(Qt::white)));
    for (int r : {2, 3}) {
        QCOMPARE(grid.data(grid.index(r - 1, 4), Qt::ForegroundRole), text);
        QCOMPARE(grid.text(r, PatientGrid::CashBasis), flagAfter);
        QCOMPARE(grid.isCashBasis(r), text == QVariant(PatientGrid::cashBasisTextColor()));
    }
    QCOMPARE(grid.data(grid.index(0, 4), Qt::ForegroundRole), QVariant());
}

void tst_PatientSelection::aSingleEmptyRowIsLeftAlone()
{
    PatientGrid grid;
    QCOMPARE(grid.gridRows(), 2);
    QVERIFY(!grid.holdsPatients());
    grid.bind(listRows({{"", "K0100001", "NAMELESS", "", "", "", "1", ""}}));
    QCOMPARE(grid.gridRows(), 2);
    QVERIFY(!grid.holdsPatients());
    grid.bind(listRows({{"K0000001", "K0100001", "BATUMBAKAL", "", "", "", "0", ""}}));
    QVERIFY(grid.holdsPatients());
    grid.bind(listRows({{"", "", "", "", "", "", "", ""}, {"", "", "", "", "", "", "", ""}}));
    QVERIFY(grid.holdsPatients());
}

// --- The presenter ----------------------------------------------------------------------------

void tst_PatientSelection::loadingTheList()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    QAbstractItemModelTester tester(&list.grid(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);

    // Nothing found: the header and one empty row, nothing coloured, nothing highlighted.
    list.setSearchText(PatientList::LastName, u"NOBODY BY THIS NAME"_s);
    list.load();
    QCOMPARE(list.grid().gridRows(), 2);
    QCOMPARE(list.currentRow(), 0);
    QCOMPARE(list.recordNumberText(), QString());
    QCOMPARE(list.grid().background(1, 1), std::nullopt);
    QVERIFY(h.f.session.CurrentPatient.IdNum.isEmpty());

    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();
    QCOMPARE(admissionNumbers(list), (QStringList{"K0100001", "K0100002", "K0100004"}));
    QCOMPARE(list.grid().text(2, PatientGrid::BillingDate), u"10/05/2026 11:30 AM"_s);
    // Cash basis in red, the billed stay in blue even though it is cash basis too.
    QCOMPARE(list.grid().foreground(1), std::optional(PatientGrid::cashBasisTextColor()));
    QCOMPARE(list.grid().foreground(2), std::optional(PatientGrid::billedTextColor()));
    QCOMPARE(list.grid().foreground(3), std::nullopt);
    QCOMPARE(list.currentRow(), 1);
    QCOMPARE(list.recordNumberText(), u"1  out of  3"_s);

    // Row 1 is highlighted by the load: a cash-basis patient, so the legend shows.
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    QCOMPARE(p.IdNum, u"K0100001"_s);
    QCOMPARE(p.ListRow, qint16(1));
    QVERIFY(list.isLegendShown());
    QCOMPARE(list.legendText(), u"CASH BASIS: PROMISSORY NOTE ON FILE"_s);
    // The billed stay: its flag was cleared by the colouring, so no legend.
    list.rowChanged(2);
    QCOMPARE(p.HospNum + p.IdNum, u"K0000001K0100002"_s);
    QCOMPARE(p.ListRow, qint16(2));
    QCOMPARE(list.recordNumberText(), u"2  out of  3"_s);
    QVERIFY(!list.isLegendShown());
    QCOMPARE(list.legendText(), QString());
    list.rowChanged(3);
    QCOMPARE(p.HospNum, u"K0000002"_s);
    QCOMPARE(list.recordNumberText(), u"3  out of  3"_s);
    // No selection happened: the class is still unknown.
    QCOMPARE(p.PatientClass, QString());

    // A failed call goes to the error box and leaves the empty grid.
    db.setProcedures(std::make_shared<ProcedureRegistry>());
    list.load();
    QCOMPARE(h.f.notifier.boxes().size(), 1);
    QVERIFY(h.f.notifier.lastText().endsWith(u"Please notify your IT department."));
    QCOMPARE(list.grid().gridRows(), 2);
    QCOMPARE(list.currentRow(), 0);
}

void tst_PatientSelection::longListsArriveInPages()
{
    OPEN_HOSPITAL(h);
    // No model tester here: it would read the further pages itself.
    PatientList list = h.list();
    // Every inpatient stay of the demo hospital's last three years: more than a page.
    const QDate from = test::fixtureToday().addYears(-3);
    const QDate to = test::fixtureToday();
    auto whole = db.call(u"STATION..sp_Get_OR_PatientList_by_AdmDate",
                         {u"A"_s, QString(), QString(), QString(), from, to});
    QVERIFY(whole.has_value());
    QVERIFY(whole->count() > PatientList::kFirstPage);

    list.loadByAdmissionDate(from, to);
    PatientGrid &grid = list.grid();
    QCOMPARE(grid.gridRows() - 1, PatientList::kFirstPage);
    // The position reads against everything found, not only the rows read so far.
    QCOMPARE(list.recordNumberText(), u"1  out of  %1"_s.arg(whole->count()));
    QVERIFY(grid.canFetchMore({}));

    // Scrolling to the end reads the rest, in the list's order, coloured like the first page.
    while (grid.canFetchMore({}))
        grid.fetchMore({});
    QCOMPARE(grid.gridRows() - 1, whole->count());
    for (int row = 1; row < grid.gridRows(); ++row)
        QCOMPARE(grid.text(row, PatientGrid::AdmissionNumber), whole->at(row - 1).text(u"IdNum"));
    const int last = grid.gridRows() - 1;
    QCOMPARE(grid.background(last, 1), std::optional(last % 2 == 1 ? PatientGrid::oddRowColor()
                                                                   : PatientGrid::evenRowColor()));
    QVERIFY(grid.background(last, 0).has_value());
    QCOMPARE(list.recordNumberText(), u"1  out of  %1"_s.arg(whole->count()));
    QCOMPARE(list.currentRow(), 1);

    // A new search starts from its own first page.
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();
    QCOMPARE(grid.gridRows(), 4);
    QVERIFY(!grid.canFetchMore({}));
}

void tst_PatientSelection::precautionColours()
{
    OPEN_HOSPITAL(h);
    auto colourOf = [&db](const QString &id) {
        auto v = db.scalar(u"select Color from BUILD_FILE..tbCoPrecautions "
                           u"where PrecautionID = :id",
                           {{"id", id}});
        return windowsColor(quint32(v->toLongLong()));
    };
    PatientList list = h.list();
    QVERIFY(h.f.session.settings.EnableNewPrecaution());
    QCOMPARE(list.columnWidthTwips(0), 1);
    list.setSearchText(PatientList::LastName, u"BATU"_s);
    list.load();
    const PatientGrid &grid = list.grid();
    QCOMPARE(grid.background(rowOf(list, u"K0100001"_s), 0), std::optional(colourOf(u"3"_s)));
    // No precaution written is the standard one.
    QCOMPARE(grid.background(rowOf(list, u"K0100004"_s), 0), std::optional(colourOf(u"1"_s)));
    // A precaution the hospital has no colour for keeps the row's background.
    const int unknown = rowOf(list, u"K0100005"_s);
    QCOMPARE(grid.background(unknown, 0), grid.background(unknown, 1));
    // Only the first cell.
    QCOMPARE(grid.background(rowOf(list, u"K0100001"_s), 1), std::optional(QColor(Qt::white)));

    // Visits are not coloured by precaution.
    list.setPatientType(PatientType::Outpatient);
    QCOMPARE(grid.background(1, 0), grid.background(1, 1));

    // Without the setting the first column is wide and plain.
    QVERIFY(setSwitch(db, u"OREnableNewPrecaution"_s, u"0"_s));
    LoadHospitalSettings(db, h.f.session.hospital, h.f.session.settings);
    list.setPatientType(PatientType::Inpatient);
    QCOMPARE(list.columnWidthTwips(0), 200);
    QCOMPARE(grid.background(rowOf(list, u"K0100001"_s), 0), std::optional(QColor(Qt::white)));
}

void tst_PatientSelection::selectionEnablesThePatientCommands()
{
    OPEN_HOSPITAL(h);
    auto enabled = [&h](const char *name) { return h.menu.menuState(QLatin1String(name)).enabled; };
    PatientList list = h.list();
    list.setSearchText(PatientList::HospitalNumber, u"K0000001"_s);
    list.load();
    QVERIFY(!list.areLinksEnabled());
    QCOMPARE(enabled("mnuInfo"), std::optional(false));

    // A stay the finder cannot read: the links work, the commands stay off.
    QVERIFY(db.exec(u"delete from PATIENT_DATA..tbPatient where IDNum = 'K0100002'"));
    QVERIFY(!list.select(2));
    QVERIFY(list.areLinksEnabled());
    QCOMPARE(enabled("mnuInfo"), std::optional(false));

    QVERIFY(list.select(1));
    QCOMPARE(h.f.session.CurrentPatient.PatientClass, u"I"_s);
    QCOMPARE(h.f.session.CurrentPatient.ListRow, qint16(1));
    for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
        QCOMPARE(enabled(name), std::optional(true));

    list.closed();
    QCOMPARE(enabled("mnuInfo"), std::optional(false));
    // Closing keeps the patient.
    QCOMPARE(h.f.session.CurrentPatient.IdNum, u"K0100001"_s);

    // The picker enables them too, but leaves them on when it closes.
    PatientList picker = h.list(PatientList::Window::NewSchedule);
    picker.setSearchText(PatientList::AdmissionNumber, u"K0100004"_s);
    picker.load();
    QVERIFY(picker.select(1));
    picker.closed();
    QCOMPARE(enabled("mnuInfo"), std::optional(true));
}

void tst_PatientSelection::rowsOpenTheProfile()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    QSignalSpy windows(&h.menu, &MainMenu::windowRequested);
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.load();

    // The links wait for a click on a patient.
    list.openLink(0);
    QCOMPARE(windows.size(), 0);

    list.activate(2);
    QCOMPARE(h.f.session.CurrentPatient.IdNum, u"K0100002"_s);
    QCOMPARE(windows.size(), 1);
    for (int link : {0, 1, 2})
        list.openLink(link);
    list.doubleClicked(3);
    QStringList opened;
    for (const QList<QVariant> &w : std::as_const(windows)) {
        const auto request = w.at(1).value<WindowRequest>();
        opened << QStringList{w.at(0).toString(), request.caption,
                              request.values.value("HospNum").toString(),
                              request.values.value("IdNum").toString(),
                              request.values.value("Tab").toString()}
                      .join(u'|');
    }
    const QString profile = u"frmFinal|Clinical Procedures|"_s;
    QCOMPARE(opened,
             (QStringList{profile + u"K0000001|K0100002|0", profile + u"K0000001|K0100002|0",
                          profile + u"K0000001|K0100002|2", profile + u"K0000001|K0100002|6",
                          profile + u"K0000002|K0100004|0"}));
    // Row 3 was never clicked: it is selected before its window opens, so nothing of the
    // stay selected before (class, room, name) goes with it.
    QCOMPARE(h.f.session.CurrentPatient.IdNum, u"K0100004"_s);
    QCOMPARE(h.f.session.CurrentPatient.PatientName, u"BATUMBAKAL, MARIA LOURDES "_s);
}

void tst_PatientSelection::pickerHandsThePatientToTheBoard()
{
    OPEN_HOSPITAL(h);
    PatientList picker = h.list(PatientList::Window::NewSchedule);
    QSignalSpy windows(&h.menu, &MainMenu::windowRequested);
    QSignalSpy closing(&picker, &PatientList::closeRequested);
    picker.setPatientType(PatientType::Outpatient);
    picker.setSearchText(PatientList::HospitalNumber, u"K0000001"_s);
    picker.load();
    QCOMPARE(picker.grid().gridRows(), 2);

    QVERIFY(picker.select(1));
    QCOMPARE(h.f.session.CurrentPatient.PatientClass, u"O"_s);
    picker.doubleClicked(1);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), u"frmSchedule"_s);
    const auto request = windows.at(0).at(1).value<WindowRequest>();
    QCOMPARE(request.values.value("SetHospNum").toString(), u"K0000001"_s);
    QCOMPARE(request.values.value("SetIDNum").toString(), u"K0300001B"_s);
    QCOMPARE(request.values.value("PatientName").toString(), u"BATUMBAKAL, JUAN MARASIGAN"_s);
    QCOMPARE(closing.size(), 1);
}

void tst_PatientSelection::cvorPopup()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    list.setSearchText(PatientList::HospitalNumber, u"K0000001"_s);
    list.load();
    const QString untag = u"Untag as CVOR/RR Patient"_s;

    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), untag);
    list.rowChanged(2);
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), u"Tag as CVOR/RR Patient"_s);
    QCOMPARE(h.menu.menuState(u"mnuSOA"_s).visible, std::nullopt);

    h.f.session.hospital.clientname = u"QELM"_s;
    list.rowChanged(1);
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), untag);
    QCOMPARE(h.menu.menuState(u"mnuSOA"_s).visible, std::optional(true));

    // A hospital that does not tag CVOR patients has no popup on the list.
    QVERIFY(setSwitch(db, u"EnableCVORTag"_s, u"0"_s));
    LoadHospitalSettings(db, h.f.session.hospital, h.f.session.settings);
    list.rowChanged(2);
    QVERIFY(!list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), untag);
}

void tst_PatientSelection::kindsOfStay()
{
    OPEN_HOSPITAL(h);
    PatientList list = h.list();
    PatientList picker = h.list(PatientList::Window::NewSchedule);
    QCOMPARE(picker.patientTypes(), (QList{PatientType::Inpatient, PatientType::Outpatient}));
    QVERIFY(list.isTypeShown(PatientType::Emergency));
    QVERIFY(!picker.isTypeShown(PatientType::Emergency));
    h.f.session.hospital.clientname = u"QELM"_s;
    QVERIFY(!list.isTypeShown(PatientType::Emergency));
    QVERIFY(list.isTypeShown(PatientType::Outpatient));

    // ER visits are their own list.
    list.setSearchText(PatientList::LastName, u"BATUMBAKAL"_s);
    list.setPatientType(PatientType::Emergency);
    QCOMPARE(admissionNumbers(list), QStringList{u"K0300002B"_s});
    QVERIFY(list.select(1));
    QCOMPARE(h.f.session.CurrentPatient.RoomID, u"OPD"_s);
}

void tst_PatientSelection::demoNamesakesShowEveryRowKind()
{
    // The guided tour's picture of the list: the demo's MAGBANUAs, found by name.
    KESTREL_OPEN_DEMO(db);
    Hospital h(db);
    PatientList list = h.list();
    list.setSearchText(PatientList::LastName, u"MAGBANUA"_s);
    list.load();
    QCOMPARE(list.grid().gridRows(), 6);
    QList<std::optional<QColor>> text;
    for (int row = 1; row < list.grid().gridRows(); ++row)
        text << list.grid().foreground(row);
    const std::optional<QColor> plain, blue = PatientGrid::billedTextColor(),
                                       red = PatientGrid::cashBasisTextColor();
    QCOMPARE(text, (QList{plain, red, blue, plain, blue}));
    // The stay in for the heart operation is tagged.
    QVERIFY(list.selection().IsCvorPatient(list.grid().text(2, PatientGrid::AdmissionNumber)));
    for (PatientType type : {PatientType::Outpatient, PatientType::Emergency}) {
        list.setPatientType(type);
        QCOMPARE(list.grid().gridRows(), 2);
        QVERIFY(list.grid().holdsPatients());
    }
}

QTEST_GUILESS_MAIN(tst_PatientSelection)
#include "tst_patientselection.moc"
