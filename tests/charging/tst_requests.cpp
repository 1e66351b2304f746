// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The pharmacy and central supply request entries on the demo hospital, on every backend:
// each typed cell, the refusals of a save, a save from the grid to the logbook, the
// communication file, the medicine list and the printed form, a save that fails half-way, two
// workstations sending at once, and the pharmacy menu choosing the window.
#include "charging/ChargingFixture.h"
#include "charging/requests/PharmacyMenu.h"
#include "charging/requests/RequestEntry.h"
#include "support/TestDatabase.h"

#include <QAbstractItemModelTester>
#include <QSet>
#include <QTest>

#include <mutex>
#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

Q_DECLARE_METATYPE(kestrel::CellAnswer)
Q_DECLARE_METATYPE(kestrel::RequestForm)

namespace {

const QString kKetorolac = u"KETOROLAC 30 MG/ML AMPULE"_s;

/// The posting fixture with a request entry of `form` for the first open inpatient stay, its
/// look-ups answering from the fixture's pick-list.
struct RequestFixture : test::PostingFixture
{
    RequestFixture(Database &database, RequestForm form)
        : PostingFixture(database)
        , entry(f.session, form, {&lookup, &picker, &drugList})
    {
        lookup.setConnection(&database);
        lookup.Initialize_Classes();
        picker.InitConnect(&database);
        drugList.InitConnection(&database);
        entry.setReports(&reports);
    }
    int column(RequestField field) const { return entry.layout().column(field); }
    CellAnswer type(int row, RequestField field, const QString &text)
    {
        return entry.acceptCell({row, column(field)}, text);
    }
    /// Types a whole line: item, dosage (picked from the list), quantity, STAT.
    bool line(int row, const QString &item, const QString &dosage, const QString &qty,
              const QString &stat = u"N"_s)
    {
        if (type(row, RequestField::Code, item) != CellAnswer::Accept)
            return false;
        if (!dosage.isEmpty()) {
            pickList.codes.enqueue(dosage);
            const RequestField field = entry.layout().form == RequestForm::PharmacyWithRouting
                                           ? RequestField::Frequency
                                           : RequestField::Dosage;
            if (type(row, field, dosage) != CellAnswer::Accept)
                return false;
        }
        return type(row, RequestField::Quantity, qty) == CellAnswer::Accept &&
               type(row, RequestField::Stat, stat) == CellAnswer::Accept;
    }
    qint64 requestsOfStay()
    {
        return number(u"select count(*) from STATION..tbNurseLogBook where IDNum = :id and "
                      u"RevenueID in ('PH', 'CS')"_s,
                      {{u"id"_s, f.session.CurrentPatient.IdNum}}) +
               number(u"select count(*) from STATION..tbNurseCommunicationfile where IDNum = :id "
                      u"and RevenueID in ('PH', 'CS')"_s,
                      {{u"id"_s, f.session.CurrentPatient.IdNum}});
    }

    clsCodeLookup lookup{context};
    clsDrugList drugList{context};
    RequestEntry entry;
};

} // namespace

class tst_Requests : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void itemCell_data();
    void itemCell();
    void quantityCell_data();
    void quantityCell();
    void saveRefusals_data();
    void saveRefusals();
    void savedAndPrinted();
    void failedSaveLeavesNothing();
    void twoWorkstationsAtOnce();
    void menuOpensTheStationsWindow_data();
    void menuOpensTheStationsWindow();
};

void tst_Requests::itemCell_data()
{
    QTest::addColumn<RequestForm>("form");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<QStringList>("typed"); // items typed on rows 1, 2, ...
    QTest::addColumn<CellAnswer>("answer"); // of the last
    QTest::addColumn<QString>("box");
    const auto ph = RequestForm::Pharmacy;
    const auto cs = RequestForm::CentralSupply;
    const CellAnswer accept = CellAnswer::Accept, keep = CellAnswer::RefuseAndKeep;
    QTest::newRow("medicine") << ph << QString() << QStringList{u"PH1002"_s} << accept
                              << QString();
    QTest::newRow("unknown code") << ph << QString() << QStringList{u"PH9999"_s} << keep
                                  << u"Code does not exist."_s;
    QTest::newRow("inactive medicine")
        << ph << u"update INVENTORY..tbInvMaster set Status = 'I' where ItemID = 'PH1002'"_s
        << QStringList{u"PH1002"_s} << keep
        << u"Item is inactive. Please check build file of items."_s;
    QTest::newRow("inactive supply")
        << cs << u"update INVENTORY..tbInvMaster set Status = 'I' where ItemID = 'CS3001'"_s
        << QStringList{u"CS3001"_s} << keep
        << u"Record is inactive. Please check build file of items."_s;
    QTest::newRow("same medicine twice")
        << ph << QString() << QStringList{u"PH1002"_s, u"PH1002"_s} << keep
        << u"Can't request the same medicine! Please check previous requests."_s;
    QTest::newRow("same supply twice") << cs << QString() << QStringList{u"CS3001"_s, u"cs3001"_s}
                                       << keep << u"Can't request the same supply."_s;
    QTest::newRow("no stock left")
        << ph << u"update INVENTORY..tbInvent set OnHand = 0 where ItemID = 'PH1002'"_s
        << QStringList{u"PH1002"_s} << keep
        << u"There is no stock left for "_s + kKetorolac +
               u". The system can't process the specified item."_s;
    QTest::newRow("antibiotic told")
        << ph << u"insert into STATION..tbNurseSetup (Field, value) values ('IsAntiBiotic', '1')"_s
        << QStringList{u"PH1001"_s} << accept
        << u"  . The Drug you are requesting is  CEPHALOSPORIN ANTIBIOTIC"_s;
    QTest::newRow("high alert and cold")
        << ph
        << u"insert into STATION..tbNurseSetup (Field, value) values ('HighAlert', '1'); "
           u"update INVENTORY..tbInvMaster set HighAlert = 1, Refrigerated = 1 "
           u"where ItemID = 'PH1007'"_s
        << QStringList{u"PH1007"_s} << accept
        << u"ITEM IS TAGGED AS HIGH ALERT AND REFRIGERATED!"_s;
}

void tst_Requests::itemCell()
{
    QFETCH(RequestForm, form);
    QFETCH(QString, setup);
    QFETCH(QStringList, typed);
    QFETCH(CellAnswer, answer);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    for (const QString &statement : setup.split(u"; "_s, Qt::SkipEmptyParts))
        QVERIFY(db.exec(statement));
    RequestFixture r(db, form);
    QVERIFY(r.switches({{u"ORAllowZeroOnHand"_s, u"1"_s}}));
    QVERIFY(r.selectOpenStay());
    QVERIFY(r.entry.open());
    QAbstractItemModelTester tester(&r.entry.grid());
    CellAnswer last = CellAnswer::Accept;
    for (int row = 1; row <= typed.size(); ++row)
        last = r.type(row, RequestField::Code, typed.at(row - 1));
    QCOMPARE(last, answer);
    QCOMPARE(r.f.notifier.lastText(), box);
    QCOMPARE(r.entry.lines().size(), typed.size() - (answer == CellAnswer::Accept ? 0 : 1));
}

void tst_Requests::quantityCell_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("amount"); // the amount cell afterwards
    QTest::newRow("three") << u"3"_s << QString() << u"285.00"_s;
    QTest::newRow("zero") << u"0"_s << u"Quantity should be greater than zero(0)."_s << QString();
    QTest::newRow("negative") << u"-1"_s << u"Quantity should be greater than zero(0)."_s
                              << QString();
    QTest::newRow("letters") << u"abc"_s << u"Quantity should be greater than zero(0)."_s
                             << QString();
    QTest::newRow("a half") << u"1.5"_s
                            << u"You are only allowed to enter whole number for quantity."_s
                            << QString();
    QTest::newRow("exponent") << u"1e9"_s
                              << u"You are only allowed to enter whole number for quantity."_s
                              << QString();
    QTest::newRow("a billion") << u"1000000000"_s << u"Quantity should not be more than 99999."_s
                               << QString();
    QTest::newRow("more than the stock")
        << u"9999"_s << u"Stock is not enough for the quantity entered. Remaining stock is: 215"_s
        << QString();
}

void tst_Requests::quantityCell()
{
    QFETCH(QString, typed);
    QFETCH(QString, box);
    QFETCH(QString, amount);
    KESTREL_OPEN_DEMO(db);
    RequestFixture r(db, RequestForm::Pharmacy);
    QVERIFY(r.switches({{u"ORAllowZeroOnHand"_s, u"1"_s}}));
    QVERIFY(r.selectOpenStay());
    QVERIFY(r.entry.open());
    QCOMPARE(r.type(1, RequestField::Code, u"PH1002"_s), CellAnswer::Accept);
    const CellAnswer answer = r.type(1, RequestField::Quantity, typed);
    QCOMPARE(answer, box.isEmpty() ? CellAnswer::Accept : CellAnswer::RefuseAndEmpty);
    QCOMPARE(r.f.notifier.lastText(), box);
    QCOMPARE(r.entry.lines().at(0).text(RequestField::Amount), amount);
}

void tst_Requests::saveRefusals_data()
{
    QTest::addColumn<RequestForm>("form");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("lines"); // 0 none, 1 whole, 2 without dosage, 3 without quantity
    QTest::addColumn<QList<bool>>("answers");
    QTest::addColumn<QString>("box");
    const auto ph = RequestForm::Pharmacy;
    QTest::newRow("no line") << ph << QString() << 0 << QList<bool>{}
                             << u"Please enter medicines to request."_s;
    QTest::newRow("no supply") << RequestForm::CentralSupply << QString() << 0 << QList<bool>{}
                               << u"Please enter supplies to request."_s;
    QTest::newRow("no dosage") << ph << QString() << 2 << QList<bool>{}
                               << u"Please provide dosage for "_s + kKetorolac;
    QTest::newRow("no quantity") << ph << QString() << 3 << QList<bool>{}
                                 << u"Please enter quantity to request for "_s + kKetorolac;
    QTest::newRow("cleared by the pharmacy")
        << ph
        << u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, RecordStatus, "
           u"ClearDate) values (:id, 'PH', 'P', getdate())"_s
        << 1 << QList<bool>{}
        << u"Patient is already cleared by (Pharmacy Department). If you have requests to "
           u"make, notify the Billing staff immediately for further instructions."_s;
    QTest::newRow("final notice sent")
        << ph
        << u"insert into STATION..tbNurseDischargeNotice (IDNum, StationID, RecordStatus) "
           u"values (:id, 'OR', 'F')"_s
        << 1 << QList<bool>{} << u"Final discharge order was already sent for %1.\nYou have "_s
                                 u"to revoke the discharge order to send additional requests."_s;
    QTest::newRow("not confirmed") << ph << QString() << 1 << QList<bool>{false}
                                   << u"Entered request(s) will not be saved! "_s;
    QTest::newRow("supplies not signed")
        << RequestForm::CentralSupply << QString() << 1 << QList<bool>{true}
        << u"You entered invalid user information. Entered request(s) will not be saved! "_s;
}

void tst_Requests::saveRefusals()
{
    QFETCH(RequestForm, form);
    QFETCH(QString, setup);
    QFETCH(int, lines);
    QFETCH(QList<bool>, answers);
    QFETCH(QString, box);
    KESTREL_OPEN_DEMO(db);
    RequestFixture r(db, form);
    QVERIFY(r.switches({{u"NoRequestingAfterFinalNotice"_s, u"1"_s}}));
    r.f.session.hospital.NoRequestingAfterFinalNotice = true;
    QVERIFY(r.selectOpenStay());
    const QString id = r.f.session.CurrentPatient.IdNum;
    if (!setup.isEmpty())
        QVERIFY(db.exec(setup, {{u"id"_s, id}}));
    QVERIFY(r.entry.open());
    const qint64 before = r.requestsOfStay();
    const bool supply = form == RequestForm::CentralSupply;
    const QString item = supply ? u"CS3001"_s : u"PH1002"_s;
    if (lines == 1)
        QVERIFY(r.line(1, item, supply ? QString() : u"BID"_s, u"2"_s));
    else if (lines == 2)
        QCOMPARE(r.type(1, RequestField::Code, item), CellAnswer::Accept);
    else if (lines == 3)
        QVERIFY(r.line(1, item, u"BID"_s, u""_s) == false);
    r.f.notifier.answer(answers);
    QVERIFY(!r.entry.save());
    if (box.contains(u"%1"_s))
        box = box.arg(r.f.session.CurrentPatient.PatientName);
    QCOMPARE(r.f.notifier.lastText(), box);
    QCOMPARE(r.entry.lines().size(), lines == 0 ? 0 : 1);
    QCOMPARE(r.requestsOfStay(), before);
}

void tst_Requests::savedAndPrinted()
{
    KESTREL_OPEN_DEMO(db);
    RequestFixture r(db, RequestForm::PharmacyWithRouting);
    QVERIFY(r.selectOpenStay());
    const QString id = r.f.session.CurrentPatient.IdNum;
    r.f.session.hospital.PrintPHCSRequest = true;
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 1 where IDNum = :id",
                    {{u"id"_s, id}}));
    // A medicine requested before and not all given yet.
    QVERIFY(db.exec(u"insert into STATION..tbNursePatientMedicines (IDNum, ItemID, RequestNum, "
                    u"Quantity, QtyAdministered) values (:id, 'PH1005', 'PH00000000', 2, 1)",
                    {{u"id"_s, id}}));
    QVERIFY(r.entry.open());
    QCOMPARE(r.entry.saveCaption(), u"Save/&Print"_s);
    QVERIFY(r.line(1, u"PH1002"_s, u"Q6"_s, u"3"_s, u"Y"_s));
    QVERIFY(r.line(2, u"PH1001"_s, u"BID"_s, u"2"_s));
    QCOMPARE(r.type(2, RequestField::Route, u"im"_s), CellAnswer::Accept);
    QCOMPARE(r.type(2, RequestField::Remarks, u" before incision "_s), CellAnswer::Accept);
    const qint64 last = r.number(u"select coalesce(max(LastNum), 0) from "
                                 u"STATION..tbNurseRequestNumber where RevenueID = 'PH'"_s);
    const QString first = u"PH%1"_s.arg(last + 1, 8, 10, QLatin1Char('0'));
    const QString second = u"PH%1"_s.arg(last + 2, 8, 10, QLatin1Char('0'));
    r.f.notifier.answer({true});
    QVERIFY(r.entry.save());
    QCOMPARE(r.entry.lastRequests(), (QStringList{first, second}));
    QVERIFY(r.entry.lines().isEmpty());
    QCOMPARE(r.f.notifier.lastText(),
             u"Please check list of medicines for this patient.\nPlease administer previously "
             u"requested medicines before requesting again. "_s);

    const Binds batch{{u"id"_s, id}, {u"a"_s, first}, {u"b"_s, second}};
    QCOMPARE(r.rows(u"select ItemID, Quantity, Amount, Dosage, Frequency, Route, StatFlag, "
                    u"Remarks, UserID, RecordStatus from STATION..tbNurseLogBook where IDNum = "
                    u":id and ReferenceNum in (:a, :b) order by ReferenceNum"_s,
                    batch),
             u"PH1002|3|285|Q6|EVERY 6 HRS|IV|Y||2902|\n"
             u"PH1001|2|370|BID|2X A DAY|IM|N|before incision|2902|"_s);
    QCOMPARE(r.rows(u"select ItemID, Quantity, Frequency, Route, StatFlag from "
                    u"STATION..tbNurseCommunicationfile where IDNum = :id and RequestNum in "
                    u"(:a, :b) order by RequestNum"_s,
                    batch),
             u"PH1002|3|EVERY 6 HRS|IV|Y\nPH1001|2|2X A DAY|IM|N"_s);
    QCOMPARE(r.rows(u"select RefNum, ItemID, Reason from STATION..tbBillAdjustInfo "
                    u"where IDNum = :id and RefNum in (:a, :b)"_s,
                    batch),
             first + u"|PH1002|Note: By pass Cash Basis Condition For STAT Request."_s);
    QCOMPARE(r.rows(u"select ItemID, Quantity, QtyAdministered from "
                    u"STATION..tbNursePatientMedicines where IDNum = :id and RequestNum in "
                    u"(:a, :b) order by RequestNum"_s,
                    batch),
             u"PH1002|3|0\nPH1001|2|0"_s);
    // The form lists both requests with their total.
    QCOMPARE(r.display.shown().size(), 1);
    const QString html = r.display.last()->html();
    const QString patient = r.f.session.CurrentPatient.PatientName;
    QVERIFY2(html.contains(u"<td>"_s + first) && html.contains(u"<td>"_s + second) &&
                 html.contains(u"655.00"_s) && html.contains(patient),
             qPrintable(html));
}

void tst_Requests::failedSaveLeavesNothing()
{
    KESTREL_OPEN_DEMO(db);
    RequestFixture r(db, RequestForm::Pharmacy);
    QVERIFY(r.selectOpenStay());
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set isCashBasis = 1 where IDNum = :id",
                    {{u"id"_s, r.f.session.CurrentPatient.IdNum}}));
    QVERIFY(r.entry.open());
    QVERIFY(r.line(1, u"PH1002"_s, u"BID"_s, u"1"_s));
    QVERIFY(r.line(2, u"PH1003"_s, u"OD"_s, u"1"_s, u"Y"_s));
    // The second line's cash-basis note cannot be written: the first line goes back too.
    QVERIFY(db.execRaw(db.mapNames(u"DROP TABLE STATION..tbBillAdjustInfo")));
    const qint64 before = r.requestsOfStay();
    const QString counters = u"select coalesce(sum(LastNum), 0) from "
                             u"STATION..tbNurseRequestNumber"_s;
    const qint64 drawn = r.number(counters);
    r.f.notifier.answer({true});
    QVERIFY(!r.entry.save());
    QVERIFY(r.f.notifier.lastText().endsWith(u"Please notify your IT department."_s));
    QCOMPARE(r.requestsOfStay(), before);
    QCOMPARE(r.number(counters), drawn);
    QCOMPARE(r.entry.lines().size(), 2);
}

void tst_Requests::twoWorkstationsAtOnce()
{
    constexpr int kBatches = 15;
    auto opened = test::TestDatabase::create(test::backendOfRow());
    QVERIFY2(opened, qPrintable(opened ? QString() : opened.error().message));
    Database &db = (*opened)->db();
    RequestFixture r(db, RequestForm::Pharmacy);
    QVERIFY(r.selectOpenStay());
    const qint64 before = r.requestsOfStay();
    const QString counter = u"select coalesce(max(LastNum), 0) from "
                            u"STATION..tbNurseRequestNumber where RevenueID = 'PH'"_s;
    const qint64 drawn = r.number(counter);
    RequestBatch batch;
    batch.department = u"PH"_s;
    batch.IdNum = r.f.session.CurrentPatient.IdNum;
    batch.patientClass = u"I"_s;
    batch.now = QDateTime(QDate(2026, 12, 1), QTime(10, 0));
    RequestLine line;
    line.item = u"PH1002"_s;
    line.description = kKetorolac;
    line.quantity = u"1"_s;
    line.unitPrice = Money::fromMinor(950000);
    QList<RequestLine> lines{line, line};
    lines[1].item = u"PH1005"_s;

    QStringList numbers[2], failures;
    std::mutex failed;
    std::vector<std::thread> workstations;
    for (int w = 0; w < 2; ++w)
        workstations.emplace_back([&, w] {
            ConnectionSettings settings = (*opened)->settings();
            settings.workstation = u"OR-WS-0%1"_s.arg(w + 1);
            auto own = Database::open(settings);
            QString why = own ? QString() : own.error().message;
            if (own) {
                (*own)->setProcedures(db.procedureRegistry());
                RequestStore store(**own);
                for (int i = 0; i < kBatches && why.isEmpty(); ++i) {
                    auto saved = store.save(batch, lines);
                    saved ? void(numbers[w] << *saved) : void(why = saved.error().message);
                }
            }
            if (!why.isEmpty()) {
                std::lock_guard lock(failed);
                failures << why;
            }
        });
    for (std::thread &t : workstations)
        t.join();
    QVERIFY2(failures.isEmpty(), qPrintable(failures.join(u"; "_s)));
    const QSet<QString> unique(numbers[0].cbegin(), numbers[0].cend());
    QSet<QString> all = unique;
    all.unite(QSet<QString>(numbers[1].cbegin(), numbers[1].cend()));
    QCOMPARE(all.size(), 4 * kBatches);
    QCOMPARE(r.requestsOfStay(), before + 2 * 4 * kBatches);
    QCOMPARE(r.number(counter), drawn + 4 * kBatches);
}

void tst_Requests::menuOpensTheStationsWindow_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("dosage");
    QTest::addColumn<QString>("route");
    QTest::addColumn<QString>("okeyPH"); // the stay's pharmacy clearance
    QTest::addColumn<QString>("opened");
    QTest::newRow("pharmacy") << u"PH"_s << QString() << QString() << QString() << u"frmPHEntry"_s;
    QTest::newRow("with frequency") << u"PH"_s << u"1"_s << QString() << QString()
                                    << u"frmPHEntrywithDosage"_s;
    QTest::newRow("with route") << u"PH"_s << QString() << u"1"_s << QString()
                                << u"frmPHEntrywithRouting"_s;
    QTest::newRow("frequency first") << u"PH"_s << u"1"_s << u"1"_s << QString()
                                     << u"frmPHEntrywithDosage"_s;
    QTest::newRow("central supply") << u"CS"_s << u"1"_s << QString() << QString()
                                    << u"frmCSREntry"_s;
    QTest::newRow("pharmacy on cash basis") << u"PH"_s << QString() << QString() << u"b"_s
                                            << QString();
    QTest::newRow("supplies of a stay on pharmacy cash basis")
        << u"CS"_s << QString() << QString() << u"B"_s << u"frmCSREntry"_s;
}

void tst_Requests::menuOpensTheStationsWindow()
{
    QFETCH(QString, mode);
    QFETCH(QString, dosage);
    QFETCH(QString, route);
    QFETCH(QString, okeyPH);
    QFETCH(QString, opened);
    KESTREL_OPEN_DEMO(db);
    RequestFixture r(db, RequestForm::Pharmacy);
    QVERIFY(r.switches({{u"NurseShowDosage"_s, dosage}, {u"NurseShowRoute"_s, route}}));
    QVERIFY(r.selectOpenStay());
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set OkeyPH = :ph where IDNum = :id"_s,
                    {{u"ph"_s, okeyPH}, {u"id"_s, r.f.session.CurrentPatient.IdNum}}));
    PharmacyMenu menu(r.f.session);
    QStringList asked;
    menu.setWindowOpener([&](const QString &form, const WindowRequest &request) {
        asked << form + u'|' + request.values.value(u"Mode"_s).toString();
    });
    menu.setMode(mode);
    menu.choose(1);
    QCOMPARE(asked, opened.isEmpty() ? QStringList() : QStringList{opened + u'|' + mode});
    if (opened.isEmpty())
        QCOMPARE(r.f.notifier.lastText(),
                 u"The patient's account has been placed under cash basis for ( Pharmacy "
                 u"Charges ) by the Billing Officer. Please advise the patient/watcher to see the "
                 u"Billing staff immediately for further instructions."_s);
}

QTEST_MAIN(tst_Requests)
#include "tst_requests.moc"
