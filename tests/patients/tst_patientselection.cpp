// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Finding and selecting the patient, on every backend: what a selection writes into the
// current patient, the keys every search and selection clears first, the CVOR tag, and the
// patient lists' presenter from loading and colouring the grid to the windows a row opens.
#include "patients/PatientGrid.h"
#include "patients/PatientList.h"
#include "patients/PatientListFixture.h"
#include "patients/PatientSelection.h"
#include "shell/components/clsPatientFinder.h"
#include "shell/MainMenu.h"
#include "shell/MainWindowFixture.h"
#include "shell/settings/HospitalSettings.h"
#include "shell/WindowsColor.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSignalSpy>
#include <QTest>

using namespace kestrel;

Q_DECLARE_METATYPE(kestrel::CurrentPatientRecord)

namespace {

// A logged-in session on a demo hospital with the list's own patients, its settings loaded
// (the demo colours precautions and tags CVOR patients), the patient finder and the main
// window's commands.
struct Hospital
{
    explicit Hospital(Database &db)
        : f(db, QStringLiteral("2901"))
        , finder(ctx)
        , menu(f.session)
    {
        LoadHospitalSettings(db, f.session.hospital, f.session.settings);
        finder.InitConnection(QString(), &db);
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

bool setSwitch(Database &db, const QString &field, const QString &value)
{
    return db
        .exec(u"update STATION..tbNurseSetup set value = :v where Field = :f",
              {{QStringLiteral("v"), value}, {QStringLiteral("f"), field}})
        .has_value();
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
    void rowChangeFollowsTheHighlight();
    void selectionEnablesThePatientCommands();
    void rowsOpenTheProfile();
    void pickerHandsThePatientToTheBoard();
    void cvorPopup();
    void oneCriterionAtATime();
    void kindsOfStay();
    void demoNamesakesShowEveryRowKind();
};

// --- Selection --------------------------------------------------------------------------------

void tst_PatientSelection::selectingAStay_data()
{
    QTest::addColumn<QString>("hospNum");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("inpatient");
    QTest::addColumn<CurrentPatientRecord>("expected");

    CurrentPatientRecord juan;
    juan.HospNum = "K0000001";
    juan.PatientName = "BATUMBAKAL, JUAN MARASIGAN";
    juan.Address = "12 MABINI ST., SAN ISIDRO, SAN BARTOLOME, LAGUNA";
    juan.Sex = "M";

    CurrentPatientRecord own = juan;
    own.IdNum = "K0100001";
    own.PatientClass = "I";
    own.RoomClassID = "B";
    own.RoomID = "K-501";
    own.RoomRate = *Money::parse(u"3500.5");
    own.AdmissionDate = test::on(11, 28, 8, 30);
    own.AccountNumber = "K0000001";
    own.Company = "PERSONAL";
    own.AttendingDoctor = "DELA PAZ, JOSE RIZAL";
    QTest::newRow("inpatient on his own account") << "K0000001"
                                                  << "K0100001" << true << own;

    CurrentPatientRecord company = own;
    company.IdNum = "K0100002";
    company.AdmissionDate = test::on(10, 1, 9, 15);
    company.DischargeDate = test::on(10, 5, 14, 0);
    company.AccountNumber = "K900";
    company.Company = "MAKILING MUTUAL BENEFIT ASSOCIATION";
    QTest::newRow("discharged inpatient on a company account") << "K0000001"
                                                               << "K0100002" << true << company;

    CurrentPatientRecord visit = juan;
    visit.IdNum = "K0300001B";
    visit.PatientClass = "O";
    visit.RoomClassID = "A";
    visit.RoomID = "OPD";
    visit.AdmissionDate = test::on(11, 30, 23, 30);
    visit.AccountNumber = "K0000001";
    visit.Company = "PERSONAL";
    visit.AttendingDoctor = "ILAGAN, ROSARIO M";
    QTest::newRow("outpatient visit") << "K0000001"
                                      << "K0300001B" << false << visit;

    CurrentPatientRecord er = visit;
    er.IdNum = "K0300002B";
    er.AdmissionDate = test::on(12, 1, 0, 0);
    er.AccountNumber = "K900";
    er.Company = "MAKILING MUTUAL BENEFIT ASSOCIATION";
    er.AttendingDoctor = "DELA PAZ, JOSE RIZAL";
    QTest::newRow("ER visit on a company account") << "K0000001"
                                                   << "K0300002B" << false << er;

    CurrentPatientRecord noMiddle;
    noMiddle.HospNum = "K0000002";
    noMiddle.IdNum = "K0100004";
    noMiddle.PatientClass = "I";
    noMiddle.PatientName = "BATUMBAKAL, MARIA LOURDES ";
    noMiddle.Address = "CALAMBA, LAGUNA";
    noMiddle.Sex = "F";
    noMiddle.RoomClassID = "B";
    noMiddle.RoomID = "K-501";
    noMiddle.RoomRate = *Money::parse(u"3500.5");
    noMiddle.AdmissionDate = test::on(11, 30, 16, 45);
    noMiddle.AccountNumber = "K900";
    noMiddle.Company = "MAKILING MUTUAL BENEFIT ASSOCIATION";
    noMiddle.AttendingDoctor = "ILAGAN, ROSARIO M";
    QTest::newRow("a patient without a middle name") << "K0000002"
                                                     << "K0100004" << true << noMiddle;
}

void tst_PatientSelection::selectingAStay()
{
    QFETCH(QString, hospNum);
    QFETCH(QString, idNum);
    QFETCH(bool, inpatient);
    QFETCH(CurrentPatientRecord, expected);
    OPEN_HOSPITAL(h);
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    // What another patient left behind is replaced, not kept.
    p.RoomRate = Money::fromMinor(1);
    p.DischargeDate = test::on(1, 1, 0, 0);
    p.ListRow = 7;
    expected.ListRow = 7;

    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient(hospNum, idNum, inpatient));
    QVERIFY(h.f.notifier.boxes().isEmpty());
    QCOMPARE(p.HospNum, expected.HospNum);
    QCOMPARE(p.IdNum, expected.IdNum);
    QCOMPARE(p.PatientClass, expected.PatientClass);
    QCOMPARE(p.PatientName, expected.PatientName);
    QCOMPARE(p.Address, expected.Address);
    QCOMPARE(p.Sex, expected.Sex);
    QCOMPARE(p.RoomClassID, expected.RoomClassID);
    QCOMPARE(p.RoomID, expected.RoomID);
    QCOMPARE(p.RoomRate, expected.RoomRate);
    QCOMPARE(p.AdmissionDate, expected.AdmissionDate);
    QCOMPARE(p.DischargeDate, expected.DischargeDate);
    QCOMPARE(p.AccountNumber, expected.AccountNumber);
    QCOMPARE(p.Company, expected.Company);
    QCOMPARE(p.AttendingDoctor, expected.AttendingDoctor);
    QCOMPARE(p.ListRow, expected.ListRow);

    // The schedule's patient picker leaves sex and doctor out.
    QVERIFY(
        selection.SelectPatient(hospNum, idNum, inpatient, PatientSelection::newScheduleOptions()));
    QCOMPARE(p.Sex, QString());
    QCOMPARE(p.AttendingDoctor, QString());
    QCOMPARE(p.PatientName, expected.PatientName);
}

void tst_PatientSelection::stayNotFound_data()
{
    QTest::addColumn<bool>("picker");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("inpatient");
    QTest::addColumn<QString>("message");
    QTest::newRow("list, a visit taken for an admission")
        << false << "K0300001B" << true << "No records found.";
    QTest::newRow("list, an admission taken for a visit")
        << false << "K0100001" << false << "No records found.";
    QTest::newRow("picker, no such stay") << true << "K0199999" << true << "No Records Found.";
}

void tst_PatientSelection::stayNotFound()
{
    QFETCH(bool, picker);
    QFETCH(QString, idNum);
    QFETCH(bool, inpatient);
    QFETCH(QString, message);
    OPEN_HOSPITAL(h);
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient("K0000002", "K0100004", true));
    CurrentPatientRecord &p = h.f.session.CurrentPatient;

    QVERIFY(!selection.SelectPatient("K0000001", idNum, inpatient,
                                     picker ? PatientSelection::newScheduleOptions()
                                            : PatientSelection::patientListOptions()));
    QCOMPARE(h.f.notifier.boxes().size(), 1);
    QCOMPARE(h.f.notifier.lastText(), message);
    QCOMPARE(h.f.notifier.boxes().last().title, QStringLiteral("Notification"));
    QCOMPARE(h.f.notifier.boxes().last().icon, Notifier::Icon::Information);
    // The keys are the row's, but no class says a stay was found; the previous patient's sex
    // and doctor are gone.
    QCOMPARE(p.HospNum, QStringLiteral("K0000001"));
    QCOMPARE(p.IdNum, idNum);
    QCOMPARE(p.PatientClass, QString());
    QCOMPARE(p.AttendingDoctor, QString());
    QCOMPARE(p.Sex, picker ? QString() : QStringLiteral("M"));
}

void tst_PatientSelection::searchClearsTheKeys()
{
    OPEN_HOSPITAL(h);
    PatientSelection selection(h.f.session, &h.finder);
    QVERIFY(selection.SelectPatient("K0000001", "K0100001", true));
    CurrentPatientRecord &p = h.f.session.CurrentPatient;
    p.ListRow = 5;

    const auto rows =
        selection.SearchPatients(PatientType::Inpatient, "NOBODY BY THIS NAME", "", "");
    QVERIFY(rows && rows->isEmpty());
    QCOMPARE(p.HospNum, QString());
    QCOMPARE(p.IdNum, QString());
    QCOMPARE(p.ListRow, qint16(1));
    // The rest stays until the next selection.
    QCOMPARE(p.PatientClass, QStringLiteral("I"));
    QCOMPARE(p.PatientName, QStringLiteral("BATUMBAKAL, JUAN MARASIGAN"));

    QVERIFY(selection.SelectPatient("K0000001", "K0100001", true));
    const auto dated = selection.SearchPatientsByAdmissionDate(
        PatientType::Inpatient, "BATUMBAKAL", "", "", QDate(2026, 11, 28), QDate(2026, 11, 28));
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
    QVERIFY(selection.SelectPatient("K0000001", "K0100001", true));
    QCOMPARE(h.f.session.PayServiceLabel, QString());

    h.f.session.hospital.clientname = QStringLiteral("QELM");
    QVERIFY(selection.SelectPatient("K0000001", "K0100001", true));
    QCOMPARE(h.f.session.PayServiceLabel, QStringLiteral("SERVICE PATIENT"));
}

void tst_PatientSelection::cvorTag_data()
{
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("tagged");
    QTest::newRow("tagged inpatient") << "K0100001" << true;
    QTest::newRow("untagged inpatient") << "K0100002" << false;
    QTest::newRow("tagged visit") << "K0300001B" << true;
    QTest::newRow("tagged visit, small b") << "k0300001b" << true;
    QTest::newRow("untagged visit") << "K0300002B" << false;
    QTest::newRow("a visit number is never read as an admission") << "K0100001B" << false;
    QTest::newRow("nothing highlighted") << "" << false;
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
    QTest::newRow("ordinary") << ""
                              << "0" << plain << "0";
    QTest::newRow("billed") << "10/05/2026 11:30 AM"
                            << "0" << blue << "0";
    QTest::newRow("cash basis") << ""
                                << "1" << red << "1";
    QTest::newRow("cash basis, written as a number") << ""
                                                     << "1.0" << red << "1.0";
    QTest::newRow("billed wins over cash basis") << "10/05/2026 11:30 AM"
                                                 << "1" << blue << "0";
    QTest::newRow("any other flag is no cash basis") << ""
                                                     << "2" << plain << "2";
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
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    QAbstractItemModelTester tester(&list.grid(),
                                    QAbstractItemModelTester::FailureReportingMode::QtTest);

    // Nothing found: the header and one empty row, nothing coloured, nothing highlighted.
    list.setSearchText(PatientList::LastName, "NOBODY BY THIS NAME");
    list.load();
    QCOMPARE(list.grid().gridRows(), 2);
    QCOMPARE(list.currentRow(), 0);
    QCOMPARE(list.recordNumberText(), QString());
    QCOMPARE(list.grid().background(1, 1), std::nullopt);
    QVERIFY(h.f.session.CurrentPatient.IdNum.isEmpty());

    list.setSearchText(PatientList::LastName, "BATUMBAKAL");
    list.load();
    QCOMPARE(list.grid().gridRows(), 4);
    QCOMPARE(list.grid().text(1, PatientGrid::AdmissionNumber), QStringLiteral("K0100001"));
    QCOMPARE(list.grid().text(2, PatientGrid::AdmissionNumber), QStringLiteral("K0100002"));
    QCOMPARE(list.grid().text(2, PatientGrid::BillingDate), QStringLiteral("10/05/2026 11:30 AM"));
    // Cash basis in red, the billed stay in blue even though it is cash basis too.
    QCOMPARE(list.grid().foreground(1), std::optional(PatientGrid::cashBasisTextColor()));
    QCOMPARE(list.grid().foreground(2), std::optional(PatientGrid::billedTextColor()));
    QCOMPARE(list.grid().foreground(3), std::nullopt);
    QCOMPARE(list.currentRow(), 1);
    QCOMPARE(list.recordNumberText(), QStringLiteral("1  out of  3"));

    // The header is the hospital's, blanks and all.
    QStringList header;
    for (int c = 0; c < 7; ++c)
        header << QString((c ? u"<" : u"") + list.grid().headerData(c, Qt::Horizontal).toString());
    QCOMPARE(header.join(u'|'), PatientGrid::kFormatString);
    QCOMPARE(list.grid().headerData(7, Qt::Horizontal).toString(), QString());

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
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    // Every inpatient stay of the demo hospital's last three years: more than a page.
    const QDate from = test::fixtureToday().addYears(-3);
    const QDate to = test::fixtureToday();
    auto whole =
        h.f.session.db().call(u"STATION..sp_Get_OR_PatientList_by_AdmDate",
                              {QStringLiteral("A"), QString(), QString(), QString(), from, to});
    QVERIFY(whole.has_value());
    QVERIFY(whole->count() > PatientList::kFirstPage);

    list.loadByAdmissionDate(from, to);
    PatientGrid &grid = list.grid();
    QCOMPARE(grid.gridRows() - 1, PatientList::kFirstPage);
    QCOMPARE(list.recordNumberText(), QStringLiteral("1  out of  %1").arg(PatientList::kFirstPage));
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
    QCOMPARE(list.recordNumberText(), QStringLiteral("1  out of  %1").arg(whole->count()));
    QCOMPARE(list.currentRow(), 1);

    // A new search starts from its own first page.
    list.setSearchText(PatientList::LastName, "BATUMBAKAL");
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
                           {{QStringLiteral("id"), id}});
        return windowsColor(quint32(v->toLongLong()));
    };
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    QVERIFY(h.f.session.settings.EnableNewPrecaution());
    QCOMPARE(list.columnWidthTwips(0), 1);
    list.setSearchText(PatientList::LastName, "BATU");
    list.load();
    const PatientGrid &grid = list.grid();
    QCOMPARE(grid.background(rowOf(list, "K0100001"), 0), std::optional(colourOf("3")));
    // No precaution written is the standard one.
    QCOMPARE(grid.background(rowOf(list, "K0100004"), 0), std::optional(colourOf("1")));
    // A precaution the hospital has no colour for keeps the row's background.
    const int unknown = rowOf(list, "K0100005");
    QCOMPARE(grid.background(unknown, 0), grid.background(unknown, 1));
    // Only the first cell.
    QCOMPARE(grid.background(rowOf(list, "K0100001"), 1), std::optional(QColor(Qt::white)));

    // Visits are not coloured by precaution.
    list.setPatientType(PatientType::Outpatient);
    QCOMPARE(grid.background(1, 0), grid.background(1, 1));

    // Without the setting the first column is wide and plain.
    QVERIFY(setSwitch(db, "OREnableNewPrecaution", "0"));
    LoadHospitalSettings(db, h.f.session.hospital, h.f.session.settings);
    list.setPatientType(PatientType::Inpatient);
    QCOMPARE(list.columnWidthTwips(0), 200);
    QCOMPARE(grid.background(rowOf(list, "K0100001"), 0), std::optional(QColor(Qt::white)));
}

void tst_PatientSelection::rowChangeFollowsTheHighlight()
{
    OPEN_HOSPITAL(h);
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    list.setSearchText(PatientList::LastName, "BATUMBAKAL");
    list.load();
    CurrentPatientRecord &p = h.f.session.CurrentPatient;

    // Row 1 is highlighted by the load: a cash-basis patient, so the legend shows.
    QCOMPARE(p.IdNum, QStringLiteral("K0100001"));
    QCOMPARE(p.ListRow, qint16(1));
    QVERIFY(list.isLegendShown());
    QCOMPARE(list.legendText(), QStringLiteral("CASH BASIS: PROMISSORY NOTE ON FILE"));

    // The billed stay: its flag was cleared by the colouring, so no legend.
    list.rowChanged(2);
    QCOMPARE(p.HospNum, QStringLiteral("K0000001"));
    QCOMPARE(p.IdNum, QStringLiteral("K0100002"));
    QCOMPARE(p.ListRow, qint16(2));
    QCOMPARE(list.recordNumberText(), QStringLiteral("2  out of  3"));
    QVERIFY(!list.isLegendShown());
    QCOMPARE(list.legendText(), QString());

    list.rowChanged(3);
    QCOMPARE(p.HospNum, QStringLiteral("K0000002"));
    QCOMPARE(list.recordNumberText(), QStringLiteral("3  out of  3"));
    // No selection happened: the class is still unknown.
    QCOMPARE(p.PatientClass, QString());
}

void tst_PatientSelection::selectionEnablesThePatientCommands()
{
    OPEN_HOSPITAL(h);
    const QString info = QStringLiteral("mnuInfo");
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    list.setSearchText(PatientList::HospitalNumber, "K0000001");
    list.load();
    QVERIFY(!list.areLinksEnabled());
    QCOMPARE(h.menu.menuState(info).enabled, std::optional(false));

    // A stay the finder cannot read: the links work, the commands stay off.
    QVERIFY(db.exec(u"delete from PATIENT_DATA..tbPatient where IDNum = 'K0100002'"));
    QVERIFY(!list.select(2));
    QVERIFY(list.areLinksEnabled());
    QCOMPARE(h.menu.menuState(info).enabled, std::optional(false));

    QVERIFY(list.select(1));
    QCOMPARE(h.f.session.CurrentPatient.PatientClass, QStringLiteral("I"));
    QCOMPARE(h.f.session.CurrentPatient.ListRow, qint16(1));
    for (const char *name : {"mnuInfo", "mnuLedger", "mnuRS"})
        QCOMPARE(h.menu.menuState(QLatin1String(name)).enabled, std::optional(true));

    list.closed();
    QCOMPARE(h.menu.menuState(info).enabled, std::optional(false));
    // Closing keeps the patient.
    QCOMPARE(h.f.session.CurrentPatient.IdNum, QStringLiteral("K0100001"));

    // The picker enables them too, but leaves them on when it closes.
    PatientList picker(h.f.session, &h.finder, &h.menu, PatientList::Window::NewSchedule);
    picker.setSearchText(PatientList::AdmissionNumber, "K0100004");
    picker.load();
    QVERIFY(picker.select(1));
    picker.closed();
    QCOMPARE(h.menu.menuState(info).enabled, std::optional(true));
}

void tst_PatientSelection::rowsOpenTheProfile()
{
    OPEN_HOSPITAL(h);
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    QSignalSpy windows(&h.menu, &MainMenu::windowRequested);
    list.setSearchText(PatientList::LastName, "BATUMBAKAL");
    list.load();

    // The links wait for a click on a patient.
    list.openLink(0);
    QCOMPARE(windows.size(), 0);

    list.activate(2);
    QCOMPARE(h.f.session.CurrentPatient.IdNum, QStringLiteral("K0100002"));
    QCOMPARE(windows.size(), 1);
    for (int link : {0, 1, 2})
        list.openLink(link);
    list.doubleClicked(3);
    QCOMPARE(windows.size(), 5);
    const QList<std::tuple<QString, QString, int>> expected{{"K0000001", "K0100002", 0},
                                                            {"K0000001", "K0100002", 0},
                                                            {"K0000001", "K0100002", 2},
                                                            {"K0000001", "K0100002", 6},
                                                            {"K0000002", "K0100004", 0}};
    for (int i = 0; i < windows.size(); ++i) {
        QCOMPARE(windows.at(i).at(0).toString(), QStringLiteral("frmFinal"));
        const auto request = windows.at(i).at(1).value<WindowRequest>();
        QCOMPARE(request.caption, QStringLiteral("Clinical Procedures"));
        QCOMPARE(request.values.value("HospNum").toString(), std::get<0>(expected.at(i)));
        QCOMPARE(request.values.value("IdNum").toString(), std::get<1>(expected.at(i)));
        QCOMPARE(request.values.value("Tab").toInt(), std::get<2>(expected.at(i)));
    }
}

void tst_PatientSelection::pickerHandsThePatientToTheBoard()
{
    OPEN_HOSPITAL(h);
    PatientList picker(h.f.session, &h.finder, &h.menu, PatientList::Window::NewSchedule);
    QSignalSpy windows(&h.menu, &MainMenu::windowRequested);
    QSignalSpy closing(&picker, &PatientList::closeRequested);
    picker.setPatientType(PatientType::Outpatient);
    picker.setSearchText(PatientList::HospitalNumber, "K0000001");
    picker.load();
    QCOMPARE(picker.grid().gridRows(), 2);

    QVERIFY(picker.select(1));
    QCOMPARE(h.f.session.CurrentPatient.PatientClass, QStringLiteral("O"));
    picker.doubleClicked(1);
    QCOMPARE(windows.size(), 1);
    QCOMPARE(windows.at(0).at(0).toString(), QStringLiteral("frmSchedule"));
    const auto request = windows.at(0).at(1).value<WindowRequest>();
    QCOMPARE(request.values.value("SetHospNum").toString(), QStringLiteral("K0000001"));
    QCOMPARE(request.values.value("SetIDNum").toString(), QStringLiteral("K0300001B"));
    QCOMPARE(request.values.value("PatientName").toString(),
             QStringLiteral("BATUMBAKAL, JUAN MARASIGAN"));
    QCOMPARE(closing.size(), 1);
}

void tst_PatientSelection::cvorPopup()
{
    OPEN_HOSPITAL(h);
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    list.setSearchText(PatientList::HospitalNumber, "K0000001");
    list.load();

    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), QStringLiteral("Untag as CVOR/RR Patient"));
    list.rowChanged(2);
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), QStringLiteral("Tag as CVOR/RR Patient"));
    QCOMPARE(h.menu.menuState(QStringLiteral("mnuSOA")).visible, std::nullopt);

    h.f.session.hospital.clientname = QStringLiteral("QELM");
    list.rowChanged(1);
    QVERIFY(list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), QStringLiteral("Untag as CVOR/RR Patient"));
    QCOMPARE(h.menu.menuState(QStringLiteral("mnuSOA")).visible, std::optional(true));

    // A hospital that does not tag CVOR patients has no popup on the list.
    QVERIFY(setSwitch(db, "EnableCVORTag", "0"));
    LoadHospitalSettings(db, h.f.session.hospital, h.f.session.settings);
    list.rowChanged(2);
    QVERIFY(!list.contextMenuRequested());
    QCOMPARE(h.menu.cvorCaption(), QStringLiteral("Untag as CVOR/RR Patient"));
}

void tst_PatientSelection::oneCriterionAtATime()
{
    OPEN_HOSPITAL(h);
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    QSignalSpy changed(&list, &PatientList::changed);
    list.setSearchText(PatientList::LastName, "BATUMBAKAL");
    list.setSearchText(PatientList::HospitalNumber, "K0000001");
    list.setSearchText(PatientList::AdmissionNumber, "K0100004");
    list.searchBoxEntered(PatientList::HospitalNumber);
    QCOMPARE(list.searchText(PatientList::LastName), QString());
    QCOMPARE(list.searchText(PatientList::HospitalNumber), QStringLiteral("K0000001"));
    QCOMPARE(list.searchText(PatientList::AdmissionNumber), QString());
    QCOMPARE(changed.size(), 1);
}

void tst_PatientSelection::kindsOfStay()
{
    OPEN_HOSPITAL(h);
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    PatientList picker(h.f.session, &h.finder, &h.menu, PatientList::Window::NewSchedule);
    QCOMPARE(picker.patientTypes(), (QList{PatientType::Inpatient, PatientType::Outpatient}));
    QCOMPARE(picker.typeCaption(PatientType::Inpatient), QStringLiteral("In Patient"));
    QCOMPARE(list.typeCaption(PatientType::Outpatient), QStringLiteral("Outpatient"));
    QVERIFY(list.isTypeShown(PatientType::Emergency));
    QVERIFY(!picker.isTypeShown(PatientType::Emergency));
    h.f.session.hospital.clientname = QStringLiteral("QELM");
    QVERIFY(!list.isTypeShown(PatientType::Emergency));
    QVERIFY(list.isTypeShown(PatientType::Outpatient));

    // ER visits are their own list.
    list.setSearchText(PatientList::LastName, "BATUMBAKAL");
    list.setPatientType(PatientType::Emergency);
    QCOMPARE(list.grid().text(1, PatientGrid::AdmissionNumber), QStringLiteral("K0300002B"));
    QVERIFY(list.select(1));
    QCOMPARE(h.f.session.CurrentPatient.RoomID, QStringLiteral("OPD"));
}

void tst_PatientSelection::demoNamesakesShowEveryRowKind()
{
    // The guided tour's picture of the list: the demo's MAGBANUAs, found by name.
    KESTREL_OPEN_DEMO(db);
    Hospital h(db);
    PatientList list(h.f.session, &h.finder, &h.menu, PatientList::Window::PatientList);
    list.setSearchText(PatientList::LastName, "MAGBANUA");
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
