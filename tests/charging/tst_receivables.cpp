// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Late charges on the demo hospital's discharged and billed accounts, on every backend: the
// search of the receivable window, the accounts it may and may not show, late charges posted
// and read back to the centavo, the saves it refuses, the doctor's fee window for the account,
// and two workstations posting to one account at once.
#include "charging/ChargingFixture.h"
#include "charging/DoctorsFee.h"
#include "charging/ReceivableAccount.h"
#include "charging/ReceivableSearch.h"
#include "charging/returns/ChargeRevoke.h"
#include "support/TestDatabase.h"

#include <QTest>

#include <latch>
#include <thread>
#include <vector>

using namespace kestrel;
using namespace Qt::StringLiterals;
using test::chargeLine;

namespace {

using Category = ReceivableSearch::Category;

/// The demo account of the receivable patient with `firstName`, as the search picks it.
CurrentPatientRecord account(Session &session, const QString &firstName)
{
    auto row = session.db().selectOne(
        u"select S.IDNum from PATIENT_DATA..tbMaster M inner join (select IDNum, HospNum from "
        u"PATIENT_DATA..tbPatient union all select IDNum, HospNum from "
        u"PATIENT_DATA..tbOutPatient) S on S.HospNum = M.HospNum where M.FirstName = :first "
        u"and M.LastName in ('RECTO', 'AGONCILLO', 'ROCES')"_s,
        {{u"first"_s, firstName}});
    const QString IdNum = row && *row ? (*row)->trimmed(u"IDNum") : QString();
    ReceivableSearch search(session);
    const bool visit = IdNum.endsWith(u'B');
    if (IdNum.isEmpty() || !search.search(Category::AdmissionNumber, !visit, IdNum) ||
        search.rows().isEmpty()) {
        // Not billed: the search does not find it, but the window may still be asked for it.
        CurrentPatientRecord stay;
        stay.IdNum = IdNum;
        return stay;
    }
    return search.stayOf(0);
}

QList<PostingLine> lateLines()
{
    PostingLine threeDimes =
        chargeLine(u"OE"_s, u"OE3003"_s, u"ELECTROSURGICAL UNIT USE"_s, u"3"_s, u"0.30"_s);
    threeDimes.line.unitPrice = threeDimes.line.listPrice = u"0.10"_s;
    return {chargeLine(u"OE"_s, u"OE3001"_s, u"C-ARM FLUOROSCOPY USE"_s, u"1"_s, u"3500.35"_s),
            threeDimes};
}

/// The charge window and its posting in the receivable window's mode, on one account.
struct ReceivableFixture : test::ChargeEntryFixture
{
    explicit ReceivableFixture(Database &database)
        : ChargeEntryFixture(database)
    {
        entry.setAccount(&receivable);
        entry.setSaving(&posting);
        posting.setAccount(&receivable);
    }
    bool pick(const QString &firstName)
    {
        return receivable.pick(entry, account(f.session, firstName));
    }
    /// The late charges of the account: lines, and their amounts to the centavo.
    std::pair<qint64, qint64> charged()
    {
        auto rows = db.select(u"select Amount from STATION..tbNurseLogBook where IDNum = :id"_s,
                              {{u"id"_s, receivable.stay().IdNum}});
        Money total;
        for (const Row &r : rows.value_or(RowSet()))
            total += r.money(u"Amount");
        return {rows ? qint64(rows->count()) : -1, total.minor() / 100}; // centavos
    }
    qint64 lateMark()
    {
        const bool visit = receivable.stay().IdNum.endsWith(u'B');
        return number(u"select LateCharges from PATIENT_DATA..%1 where IDNum = :id"_s.arg(
                          visit ? u"tbOutPatient"_s : u"tbPatient"_s),
                      {{u"id"_s, receivable.stay().IdNum}});
    }

    ReceivableAccount receivable{f.session};
};

} // namespace

class tst_Receivables : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void search_data();
    void search();
    void opening_data();
    void opening();
    void latePosting_data();
    void latePosting();
    void refusedSaves_data();
    void refusedSaves();
    void actionsWithoutAccount();
    void doctorsFeeOfTheAccount();
    void twoWorkstations();
};

void tst_Receivables::search_data()
{
    QTest::addColumn<int>("category");
    QTest::addColumn<bool>("inpatients");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("found"); // first names, in the list's order

    QTest::newRow("last name prefix, in name order") << int(Category::LastName) << true
                                                     << u"rec"_s
                                                     << QStringList{u"AMPARO"_s, u"CLARO"_s};
    QTest::newRow("outpatients apart") << int(Category::LastName) << false << u"RECTO"_s
                                       << QStringList{u"DIOSDADO"_s};
    QTest::newRow("invoiced still billed") << int(Category::LastName) << true << u"ROCES"_s
                                           << QStringList{u"ALEJANDRO"_s};
    QTest::newRow("discharged, not billed") << int(Category::LastName) << true
                                            << u"AGONCILLO"_s << QStringList{};
    QTest::newRow("LIKE marks are letters") << int(Category::LastName) << true << u"R_C"_s
                                            << QStringList{};
    QTest::newRow("blanks find nothing") << int(Category::LastName) << true << u"  "_s
                                         << QStringList{};
    QTest::newRow("hospital number of a visit as inpatient")
        << int(Category::HospitalNumber) << true << u"DIOSDADO"_s << QStringList{};
    QTest::newRow("hospital number") << int(Category::HospitalNumber) << true << u"CLARO"_s
                                     << QStringList{u"CLARO"_s};
    QTest::newRow("admission number") << int(Category::AdmissionNumber) << false
                                      << u"DIOSDADO"_s << QStringList{u"DIOSDADO"_s};
}

void tst_Receivables::search()
{
    QFETCH(int, category);
    QFETCH(bool, inpatients);
    QFETCH(QString, text);
    QFETCH(QStringList, found);
    KESTREL_OPEN_DEMO(db);
    test::MainWindowFixture f(db, u"2902"_s);
    // Numbers are looked up by the first name the row gives.
    if (category != int(Category::LastName)) {
        const CurrentPatientRecord stay = account(f.session, text);
        text = category == int(Category::HospitalNumber) ? stay.HospNum : stay.IdNum;
        QVERIFY(!text.isEmpty());
    }
    ReceivableSearch search(f.session);
    QVERIFY(search.search(Category(category), inpatients, text));
    QStringList names;
    for (int i = 0; i < search.rows().size(); ++i) {
        const ReceivableAccountRow &r = search.rows().at(i);
        QVERIFY(r.discharged.isValid() && r.billed.isValid());
        QCOMPARE(search.stayOf(i).IdNum.endsWith(u'B'), !inpatients);
        names << r.patientName.section(u", "_s, 1).section(u' ', 0, 0);
    }
    QCOMPARE(names, found);
}

void tst_Receivables::opening_data()
{
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<bool>("opens");
    QTest::addColumn<QString>("told");

    QTest::newRow("billed, with late charges") << u"CLARO"_s << true << QString();
    QTest::newRow("billed visit") << u"DIOSDADO"_s << true << QString();
    QTest::newRow("invoiced") << u"ALEJANDRO"_s << false << ReceivableAccount::invoicedText();
    QTest::newRow("not billed") << u"TERESITA"_s << false << ReceivableAccount::notBilledText();
    QTest::newRow("nobody") << u"NOBODY"_s << false << u"Please select patient first."_s;
}

void tst_Receivables::opening()
{
    QFETCH(QString, firstName);
    QFETCH(bool, opens);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    ReceivableFixture r(db);
    QVERIFY(r.pick(u"AMPARO"_s));
    const QString before = r.receivable.stay().IdNum;
    r.f.notifier.clear();

    QCOMPARE(r.pick(firstName), opens);
    QCOMPARE(r.f.notifier.lastText(), told);
    // A refused account leaves the one shown before; one shown brings its posted charges.
    QCOMPARE(r.receivable.stay().IdNum == before, !opens);
    QCOMPARE(r.entry.header().idNum, r.receivable.stay().IdNum);
    QCOMPARE(r.entry.postedCharges().size(), qsizetype(opens ? 2 : 0));
}

void tst_Receivables::latePosting_data()
{
    QTest::addColumn<QString>("firstName");
    QTest::newRow("inpatient marked for late charges") << u"AMPARO"_s;
    QTest::newRow("outpatient visit") << u"DIOSDADO"_s;
}

void tst_Receivables::latePosting()
{
    QFETCH(QString, firstName);
    KESTREL_OPEN_DEMO(db);
    ReceivableFixture r(db);
    QVERIFY(r.pick(firstName));
    const auto [lines, total] = r.charged();
    const qint64 counter = r.counter(u"ChargeSlip");

    r.confirmAndSign();
    const PostingOutcome outcome = r.posting.save(lateLines(), u"OE"_s);
    QVERIFY2(outcome.saved(), qPrintable(r.f.notifier.lastText()));
    QCOMPARE(r.f.notifier.boxes().first().text.section(u"\n\r"_s, 1),
             u"Are you sure you want to save these Charge(s)?"_s);
    // 3,500.35 and 3 × 0.10, to the centavo, on the account and its new charge slip.
    QCOMPARE(r.charged(), std::pair(lines + 2, total + 350035 + 30));
    QCOMPARE(r.number(u"select count(*) from STATION..tbNurseLogBook where ReferenceNum = :s"_s,
                      {{u"s"_s, outcome.chargeSlip}}),
             2);
    QCOMPARE(r.counter(u"ChargeSlip"), counter + 1);
    QCOMPARE(r.lateMark(), 0);

    // Revoked in the same window, with its own question, and refused once nothing is left.
    ChargeRevoke revoke(r.f.session, &r.picker,
                        [] { return ValidatedUser{u"2901"_s, u"SUPERVISOR"_s, u"Wrong item"_s}; });
    revoke.setAccount(&r.receivable);
    r.entry.refresh();
    const QList<PostedCharge> posted = r.entry.postedCharges();
    const auto late = std::find_if(posted.cbegin(), posted.cend(), [&](const PostedCharge &c) {
        return c.chargeSlip == outcome.chargeSlip;
    });
    QVERIFY(late != posted.cend());
    for (bool first : {true, false}) {
        r.f.notifier.clear();
        r.f.notifier.answer({true});
        r.f.dialogs.sign(u"2901"_s);
        const bool revoked = revoke.revoke(*late) == ChargeRevoke::Outcome::Revoked;
        QVERIFY2(revoked == first, qPrintable(r.f.notifier.lastText()));
        QCOMPARE(r.f.notifier.boxes().value(0).text,
                 first ? u"Are you sure you want to revoke this Charge(s)?"_s
                       : u"Can't revoke this charge! The Total Amount is already zero(0)."_s);
    }
    QCOMPARE(r.number(u"select count(*) from STATION..tbNurseLogBook where ReferenceNum = :s "
                      u"and RecordStatus = 'R'"_s,
                      {{u"s"_s, outcome.chargeSlip}}),
             1);
}

void tst_Receivables::refusedSaves_data()
{
    QTest::addColumn<QString>("firstName");
    QTest::addColumn<QString>("change"); // what happens to the account after it was shown
    QTest::addColumn<bool>("confirmed");
    QTest::addColumn<QString>("told");

    const QString invoice = u"update %1 set InvoiceDate = BillingDate where IDNum = :id"_s;
    const QString reopen = u"update %1 set BillingDate = null where IDNum = :id"_s;
    QTest::newRow("invoiced meanwhile") << u"CLARO"_s << invoice << true
                                        << ReceivableAccount::invoicedText();
    QTest::newRow("inpatient reopened") << u"CLARO"_s << reopen << true
                                        << ReceivableAccount::closedText();
    QTest::newRow("outpatient reopened") << u"DIOSDADO"_s << reopen << true
                                         << ReceivableAccount::notBilledText();
    QTest::newRow("user says no") << u"AMPARO"_s << QString() << false
                                  << u"Selected charge(s) will not be saved. "_s;
}

void tst_Receivables::refusedSaves()
{
    QFETCH(QString, firstName);
    QFETCH(QString, change);
    QFETCH(bool, confirmed);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    ReceivableFixture r(db);
    QVERIFY(r.pick(firstName));
    const QString IdNum = r.receivable.stay().IdNum;
    if (!change.isEmpty())
        QVERIFY(db.exec(change.arg(IdNum.endsWith(u'B') ? u"PATIENT_DATA..tbOutPatient"_s
                                                        : u"PATIENT_DATA..tbPatient"_s),
                        {{u"id"_s, IdNum}}));
    const auto before = r.charged();
    const qint64 counter = r.counter(u"ChargeSlip");
    const qint64 mark = r.lateMark();

    r.f.notifier.answer({confirmed});
    r.f.dialogs.sign(u"2901"_s);
    QVERIFY(!r.posting.save(lateLines(), u"OE"_s).saved());
    QCOMPARE(r.f.notifier.lastText(), told);
    QCOMPARE(r.charged(), before);
    QCOMPARE(r.counter(u"ChargeSlip"), counter);
    QCOMPARE(r.lateMark(), mark);

    // The statement that closes the batch refuses the same account inside the transaction.
    PostingBatch batch;
    batch.IdNum = IdNum;
    const bool open = change.isEmpty();
    QCOMPARE(bool(r.receivable.posted(db, batch)), open);
}

void tst_Receivables::actionsWithoutAccount()
{
    KESTREL_OPEN_DEMO(db);
    ReceivableFixture r(db);
    const QList<std::function<void()>> actions{
        [&] { r.entry.save(); },       [&] { r.entry.refresh(); },
        [&] { r.entry.reprint(0); },   [&] { r.entry.revoke(0); },
        [&] { r.entry.ignoreAll(); },  [&] { r.entry.deleteLine(1); },
        [&] { r.entry.viewPackages(); }};
    for (const auto &action : actions) {
        r.f.notifier.clear();
        action();
        QCOMPARE(r.f.notifier.lastText(), u"Please select patient first."_s);
    }
    QVERIFY(!r.entry.mayEdit({1, ChargeEntryLine::Department}));
    r.entry.close();
    QCOMPARE(r.f.notifier.lastText(), u"Are you sure to leave Receivable Entry?"_s);
}

void tst_Receivables::doctorsFeeOfTheAccount()
{
    KESTREL_OPEN_DEMO(db);
    ReceivableFixture r(db);
    // The selected patient is someone in a ward; the account lay in a private room (class C).
    QVERIFY(r.selectOpenStay());
    QVERIFY(r.pick(u"CLARO"_s));
    DoctorsFee fees(r.f.session, u"NO-SUCH-DOCTOR"_s, u"DR. NOBODY"_s);
    fees.setStay(r.receivable.stay());
    QVERIFY(fees.load());
    QVERIFY(fees.initialRow() >= 0);
    QCOMPARE(fees.rows().at(fees.initialRow()).roomClass, u"C"_s);
    QVERIFY2(fees.patientLabel().contains(u"RECTO, CLARO"_s), qPrintable(fees.patientLabel()));
}

void tst_Receivables::twoWorkstations()
{
    constexpr int kBatches = 15;
    KESTREL_OPEN_DEMO(db);
    ReceivableFixture r(db);
    QVERIFY(r.pick(u"AMPARO"_s));
    const CurrentPatientRecord stay = r.receivable.stay();
    const auto before = r.charged();
    const test::TestDatabase &hospital = **dbResult;

    QStringList slips[2], failures[2];
    std::latch start(2);
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&, w] {
            auto opened = hospital.openWorkstation(w + 1);
            if (!opened) {
                failures[w] << opened.error().message;
                start.count_down();
                return;
            }
            ReceivableFixture ws(**opened);
            const bool picked = ws.receivable.pick(ws.entry, stay);
            start.arrive_and_wait();
            for (int i = 0; picked && i < kBatches; ++i) {
                ws.confirmAndSign();
                const PostingOutcome outcome = ws.posting.save(lateLines(), u"OE"_s);
                outcome.saved() ? void(slips[w] << outcome.chargeSlip)
                                : void(failures[w] << ws.f.notifier.lastText());
            }
        });
    for (std::thread &t : threads)
        t.join();
    QVERIFY2(failures[0].isEmpty() && failures[1].isEmpty(),
             qPrintable((failures[0] + failures[1]).join(u"; "_s)));
    QSet<QString> distinct(slips[0].cbegin(), slips[0].cend());
    distinct.unite(QSet<QString>(slips[1].cbegin(), slips[1].cend()));
    QCOMPARE(distinct.size(), 2 * kBatches);
    // Every batch whole: both lines of each, to the centavo.
    QCOMPARE(r.charged(), std::pair(before.first + 4 * kBatches,
                                    before.second + 2 * kBatches * (350035 + 30)));
    QCOMPARE(r.lateMark(), 0);
}

QTEST_MAIN(tst_Receivables)
#include "tst_receivables.moc"
