// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// One charge from the patient list to the printed slip, on the demo hospital and on every
// backend: a nurse finds an inpatient in the list, opens the charge window for her, enters an
// operation, the surgeon's fee and a supply, and saves; a colleague signs with her own code and
// password. Nothing between the windows is replaced: the real posting, the hospital's
// procedures, the re-validation against the stored password and the report engine's slip.
#include "charging/ChargeEntryFixture.h"
#include "charging/PostingFixture.h"
#include "hospitaldb/DemoHospital.h"
#include "patients/PatientList.h"
#include "shell/components/clsPatientFinder.h"
#include "shell/db/NumberFormat.h"
#include "shell/MainWindowFixture.h"
#include "shell/settings/HospitalSettings.h"
#include "support/PdfText.h"
#include "support/TestDatabase.h"
#include "users/UserValidation.h"

#include <QMap>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>

using namespace kestrel;

namespace {

using Column = ChargeEntryLine::Column;

// The colleague who signs the batch: not the nurse logged in at the workstation.
const QString kSigner = QStringLiteral("2903");

/// The re-validation window as an employee fills it in: her code and password, checked by the
/// hospital database exactly as the window checks them.
class SigningColleague : public Dialogs
{
public:
    SigningColleague(Session &session, hospitaldb::DemoLogin login)
        : m_session(session)
        , m_login(std::move(login))
    {
    }

    ValidatedUser validateUser(bool askReason) override
    {
        ++asked;
        UserValidation window(m_session, hospitaldb::demoScrambleKey());
        window.open(askReason ? 1 : 0);
        outcome = window.validate(m_login.employeeCode, m_login.password, QString());
        return m_session.validated;
    }

    int asked = 0;
    std::optional<UserValidation::Outcome> outcome;

private:
    Session &m_session;
    hospitaldb::DemoLogin m_login;
};

hospitaldb::DemoLogin demoLogin(const QString &code)
{
    const QList<hospitaldb::DemoLogin> logins = hospitaldb::demoLogins();
    const auto found =
        std::find_if(logins.cbegin(), logins.cend(),
                     [&](const hospitaldb::DemoLogin &l) { return l.employeeCode == code; });
    return found == logins.cend() ? hospitaldb::DemoLogin{} : *found;
}

/// The scrub nurse logged in at the workstation, with the hospital's settings loaded; a
/// colleague signs her saves.
struct LoggedInNurse
{
    explicit LoggedInNurse(Database &database)
        : db(database)
        , user(database, QStringLiteral("2902"))
        , signer(session, demoLogin(kSigner))
    {
        session.setCurrentUser(&user);
        session.LoggedIn = true;
        LoadHospitalSettings(db, session.hospital, session.settings);
    }

    Database &db;
    test::RecordingNotifier notifier;
    test::FixtureUser user;
    SigningColleague signer;
    Session session{notifier, signer};
};

/// The workstation as the program puts it together for the charge window: the patient list,
/// the charge window's presenter with its look-ups, and the posting that prints through the
/// report engine. Only the people are scripted: the answers to the message boxes, the rows
/// picked from lists, the requesting doctor and the colleague who signs.
struct Workstation : LoggedInNurse
{
    explicit Workstation(Database &database)
        : LoggedInNurse(database)
        , finder(context)
        , list(session, &finder, nullptr, PatientList::Window::PatientList)
        , lookup(context)
        , picker(context)
        , drugList(context)
        , entry(session, {&lookup, &picker, &drugList, nullptr}, chargePrompts, pricingPrompts)
        , reports(database, QStringLiteral(KESTREL_REPORTS_DIR),
                  {session.hospital.Company, session.hospital.Address1}, display, notifier)
        , printer(session, reports)
        , posting(session, postingPrompts, &picker, printer)
    {
        finder.InitConnection(QString(), &db);
        lookup.setConnection(&db);
        lookup.Initialize_Classes();
        picker.InitConnect(&db);
        drugList.InitConnection(&db);
        entry.setSaving(&posting);
    }

    /// Finds the inpatient in the patient list by her last name and clicks her row: a stay
    /// still in the hospital (no discharge date) whose name begins with `name`.
    bool selectFromList(const QString &lastName, const QString &name)
    {
        list.setSearchText(PatientList::LastName, lastName);
        list.load();
        for (int row = 1; row < list.grid().gridRows(); ++row) {
            if (list.grid().text(row, PatientGrid::PatientName).startsWith(name) &&
                list.grid().text(row, PatientGrid::DischargedDate).trimmed().isEmpty())
                return list.select(row);
        }
        return false;
    }

    /// Starts line `row` in `department`, types `item` (the pick-list choosing `pick` when it
    /// opens) and then the quantity.
    bool enter(int row, const QString &department, const QString &item, const QString &pick,
               const QString &quantity)
    {
        if (!pick.isEmpty())
            pickList.codes.enqueue(pick);
        return entry.acceptCell({row, Column::Department}, department) == CellAnswer::Accept &&
               entry.acceptCell({row, Column::Item}, item) == CellAnswer::Accept &&
               entry.acceptCell({row, Column::Quantity}, quantity) == CellAnswer::Accept;
    }

    test::ScriptedCodePickList pickList;
    ComponentContext context{test::ChargeEntryFixture::contextWith(notifier, pickList)};
    clsPatientFinder finder;
    PatientList list;
    clsCodeLookup lookup;
    clsDrugPicker picker;
    clsDrugList drugList;
    test::ScriptedChargePrompts chargePrompts;
    test::ScriptedPricingPrompts pricingPrompts;
    ChargeEntry entry;
    test::ScriptedPostingPrompts postingPrompts;
    test::RecordingReportDisplay display;
    ReportService reports;
    ChargeSlipPrinter printer;
    ChargePosting posting;
};

qint64 number(Database &db, QStringView sql, const Binds &binds)
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

} // namespace

class tst_ChargeEndToEnd : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void chargeFromTheListToThePrintedSlip();
};

void tst_ChargeEndToEnd::chargeFromTheListToThePrintedSlip()
{
    KESTREL_OPEN_DEMO(db);
    Workstation w(db);

    // A ward patient admitted for her gallstones, in the hospital now, with no charges yet.
    QVERIFY2(w.selectFromList(QStringLiteral("ESTACIO"), QStringLiteral("ESTACIO, WILMA")),
             qPrintable(w.notifier.lastText()));
    const CurrentPatientRecord stay = w.session.CurrentPatient;
    QCOMPARE(stay.PatientClass, QStringLiteral("I"));
    QVERIFY(!stay.RoomID.trimmed().isEmpty());
    QVERIFY2(w.entry.open(), qPrintable(w.notifier.lastText()));
    QVERIFY(w.entry.postedCharges().isEmpty());

    auto admittingDoctor = db.scalar(u"select AdmittingDr from PATIENT_DATA..tbPatient "
                                     u"where IDNum = :id",
                                     {{QStringLiteral("id"), stay.IdNum}});
    QVERIFY(admittingDoctor);
    const QString surgeon = admittingDoctor->toString().trimmed();
    QVERIFY(!surgeon.isEmpty());
    const Binds syringe{{QStringLiteral("item"), QStringLiteral("CS3004")},
                        {QStringLiteral("location"), QStringLiteral("CSR")}};
    const QString onHandSql = QStringLiteral(
        "select OnHand from INVENTORY..tbInvent where ItemID = :item and LocationID = :location");
    const qint64 onHandBefore = number(db, onHandSql, syringe);
    QVERIFY(onHandBefore >= 4);

    // The operation (no second operation), the surgeon's fee picked from the doctors by his
    // last name, and four syringes from the central supply.
    w.notifier.answer({false});
    QVERIFY2(w.enter(1, QStringLiteral("OR"), QStringLiteral("OR1012"), QStringLiteral("OR1012"),
                     QStringLiteral("1")),
             qPrintable(w.notifier.lastText()));
    const QString surgeonsName = w.entry.header().admittingDoctor.section(u',', 0, 0);
    QVERIFY2(w.enter(2, QStringLiteral("MD"), surgeonsName, surgeon, QStringLiteral("1")),
             qPrintable(w.notifier.lastText()));
    QVERIFY2(
        w.enter(3, QStringLiteral("CS"), QStringLiteral("CS3004"), QString(), QStringLiteral("4")),
        qPrintable(w.notifier.lastText()));
    QCOMPARE(w.entry.lines().size(), 3);
    // item -> the line as the slip prints it (code, description, quantity, amount), amount
    QMap<QString, std::pair<QString, Money>> entered;
    Money gross;
    for (const ChargeEntryLine &l : w.entry.lines()) {
        const Money amount = l.line.amountValue();
        QVERIFY2(amount > Money(), qPrintable(l.line.item));
        const QString item = l.line.item.trimmed();
        entered.insert(item,
                       {QStringList{item, l.line.description.trimmed(), l.line.quantity.trimmed(),
                                    formatNumber(amount, u"#,##0.00")}
                            .join(u' '),
                        amount});
        gross += amount;
    }
    QStringList items{QStringLiteral("OR1012"), surgeon, QStringLiteral("CS3004")};
    items.sort();
    QCOMPARE(entered.keys(), items);

    // Save: the user confirms, the colleague signs, and the slip goes on the preprinted form.
    w.notifier.clear();
    w.notifier.answer({true, true});
    w.entry.save();
    QCOMPARE(w.signer.asked, 1);
    QCOMPARE(w.signer.outcome, UserValidation::Outcome::Validated);
    QCOMPARE(w.session.validated.code, kSigner);
    QCOMPARE(w.session.validated.name, demoLogin(kSigner).name);
    QCOMPARE(w.postingPrompts.asked, 1);
    QVERIFY2(w.entry.lines().isEmpty(), qPrintable(w.notifier.lastText()));

    // One slip for the batch: every logbook line of the stay carries it, signed by the
    // colleague, with the amounts of the grid.
    const Binds ofStay{{QStringLiteral("id"), stay.IdNum}};
    auto logbook = db.select(u"select ReferenceNum, ItemID, Amount, UserID, StationID, "
                             u"RecordStatus from STATION..tbNurseLogBook where IDNum = :id "
                             u"order by LogBookID",
                             ofStay);
    QVERIFY(logbook);
    QCOMPARE(logbook->count(), 3);
    const QString slip = logbook->at(0).trimmed(u"ReferenceNum");
    QVERIFY(!slip.isEmpty());
    for (const Row &r : *logbook) {
        const QString item = r.trimmed(u"ItemID");
        QVERIFY2(entered.contains(item), qPrintable(item));
        QCOMPARE(r.trimmed(u"ReferenceNum"), slip);
        QCOMPARE(r.money(u"Amount"), entered.value(item).second);
        QCOMPARE(r.trimmed(u"UserID"), kSigner);
        QCOMPARE(r.trimmed(u"StationID"), QStringLiteral("OR"));
        QCOMPARE(r.text(u"RecordStatus"), QString());
    }
    QCOMPARE(number(db,
                    u"select count(*) from STATION..tbORChargeSlipIssued where ChargeSlip = :slip "
                    u"and IDNum = :id",
                    {{QStringLiteral("slip"), slip}, {QStringLiteral("id"), stay.IdNum}}),
             qint64(1));

    // The syringes left the central supply's stock under the same slip.
    auto card = db.select(u"select ItemID, LocationID, RefNum, Quantity, TransType, UserID "
                          u"from INVENTORY..tbInvStockCard where IDNum = :id",
                          ofStay);
    QVERIFY(card);
    QCOMPARE(card->count(), 1);
    QCOMPARE(card->at(0).trimmed(u"ItemID"), QStringLiteral("CS3004"));
    QCOMPARE(card->at(0).trimmed(u"LocationID"), QStringLiteral("CSR"));
    QCOMPARE(card->at(0).trimmed(u"RefNum"), slip);
    QCOMPARE(card->at(0).number(u"Quantity"), 4.0);
    QCOMPARE(card->at(0).trimmed(u"TransType"), QStringLiteral("I"));
    QCOMPARE(card->at(0).trimmed(u"UserID"), kSigner);
    QCOMPARE(number(db, onHandSql, syringe), onHandBefore - 4);

    // The window shows the three lines under the slip, and their sum.
    const QList<PostedCharge> &posted = w.entry.postedCharges();
    QCOMPARE(posted.size(), 3);
    for (const PostedCharge &c : posted) {
        QCOMPARE(c.chargeSlip, slip);
        QVERIFY2(entered.contains(c.item), qPrintable(c.item));
        QCOMPARE(c.amount, entered.value(c.item).second);
    }
    QCOMPARE(w.entry.grossAmountText(),
             QStringLiteral("Gross Amount: Php ") + formatNumber(gross, u"###,##0.00"));

    // The slip was printed through the report engine as the original copy, and its page
    // carries the slip, the patient, each of the three lines whole (code, description,
    // quantity and amount side by side) and their total.
    QCOMPARE(w.display.shown().size(), 1);
    QCOMPARE(w.display.shown().first().options.title, QStringLiteral("Print ChargeSlip"));
    const auto report = w.display.last();
    QCOMPARE(report->pageCount(), 1);
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("slip.pdf"));
    QVERIFY(report->exportPdf(pdf).has_value());
    const QString page = test::pdfText(pdf).simplified();
    if (page.isEmpty())
        QSKIP("pdftotext is not installed");
    QStringList expected{slip,
                         stay.PatientName.trimmed(),
                         stay.IdNum.trimmed(),
                         QStringLiteral("ORIGINAL COPY"),
                         u'(' + kSigner + QStringLiteral(") ") + demoLogin(kSigner).name,
                         formatNumber(gross, u"#,##0.00")};
    for (const auto &line : std::as_const(entered))
        expected << line.first;
    for (const QString &text : std::as_const(expected))
        QVERIFY2(page.contains(text), qPrintable(text + QStringLiteral(" is not on: ") + page));
}

QTEST_MAIN(tst_ChargeEndToEnd)
#include "tst_chargeendtoend.moc"
