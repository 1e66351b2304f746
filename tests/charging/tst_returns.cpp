// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Revoking posted charges and returning medicines on a credit memo: the checks before either
// writes, the money and stock they put back, and two workstations doing it to the same line
// at the same moment (two connections, on both backends).
#include "charging/ChargingFixture.h"
#include "charging/returns/ChargeRevoke.h"
#include "charging/returns/PostedPrints.h"
#include "charging/returns/ReturnEntry.h"
#include "hospitaldb/procedures/HospitalProcedures.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTest>

#include <atomic>
#include <latch>
#include <mutex>
#include <thread>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

const QString kItem = u"PH1002"_s;
const QString kName = u"KETOROLAC 30 MG/ML AMPULE"_s;
const QString kOnHand =
    u"select OnHand from INVENTORY..tbInvent where ItemID = 'PH1002' and LocationID = 'PHA'"_s;

/// Posts `quantity` ampules for `amount` to the selected stay; the charge slip.
QString postMedicine(test::PostingFixture &p, const QString &quantity, const QString &amount)
{
    p.confirmAndSign();
    const PostingOutcome outcome =
        p.posting.save({test::chargeLine(u"PH"_s, kItem, kName, quantity, amount)}, u"OR"_s);
    return outcome.chargeSlip;
}

/// 2901 may revoke, and the hospital asks no supervisor for it.
bool mayRevoke(test::PostingFixture &p, const QString &rights = u"|3|22"_s)
{
    if (!p.db.exec(u"update STATION..tbNurseUserRights set EmployeeRights = :r where "
                   u"EmployeeID = '2901'",
                   {{u"r"_s, rights}}) ||
        !p.db.exec(u"update PATIENT_DATA..tbHospitalInfo set "
                   u"IsAllowSupervisorCodeForCancellationOfCharges = 0"))
        return false;
    LoadHospitalSettings(p.db, p.f.session.hospital, p.f.session.settings);
    return true;
}

PostedCharge postedLine(test::PostingFixture &p, const QString &slip)
{
    auto posted = ChargeEntryStore(p.db).postedCharges(p.f.session.CurrentPatient.IdNum, u"OR"_s);
    for (const PostedCharge &c : posted.value_or(QList<PostedCharge>())) {
        if (c.chargeSlip == slip)
            return c;
    }
    return {};
}

/// One workstation of its own (connection, session, picker) on the stay `stay`, signed by 2901
/// and answering Yes to every question.
struct Workstation
{
    Workstation(const ConnectionSettings &settings, const CurrentPatientRecord &stay)
        : db(Database::open(settings).value())
        , f(*db, u"2902"_s)
    {
        db->setProcedures(hospitaldb::hospitalProcedures());
        LoadHospitalSettings(*db, f.session.hospital, f.session.settings);
        f.session.CurrentPatient = stay;
        f.notifier.answer({true, true, true});
        f.dialogs.sign(u"2901"_s);
        picker.InitConnect(db.get());
    }
    std::unique_ptr<Database> db;
    test::MainWindowFixture f;
    ComponentContext context{f.notifier};
    clsDrugPicker picker{context};
};

/// Runs `work` on two workstations at once; what each answered.
template <typename Work>
QList<bool> race(const ConnectionSettings &settings, const CurrentPatientRecord &stay, Work work)
{
    QList<bool> done(2, false);
    std::latch start(2);
    std::vector<std::thread> threads;
    for (int w = 0; w < 2; ++w)
        threads.emplace_back([&, w] {
            Workstation ws(settings, stay);
            start.arrive_and_wait();
            done[w] = work(ws);
        });
    for (std::thread &t : threads)
        t.join();
    return done;
}

/// The cells of a report's body, a row per line, cells ended by "|".
QString cells(const QString &html)
{
    static const QRegularExpression tag(u"<[^>]*>"_s);
    QString text = html;
    text.remove(u'\n').replace(u"</tr>"_s, u"\n"_s).replace(u"</td>"_s, u"|"_s);
    text.replace(u"</th>"_s, u"|"_s).remove(tag);
    return text;
}

} // namespace

class tst_Returns : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void revokeRefusals_data();
    void revokeRefusals();
    void revokePutsBackWhatIsLeft();
    void returnedQuantity_data();
    void returnedQuantity();
    void creditMemoHoldsTheAmountExactly();
    void twoWorkstationsReturnTheSameLine();
    void twoWorkstationsRevokeTheSameLine();
    void postedListPrints_data();
    void postedListPrints();
    void severalRevokedTogether_data();
    void severalRevokedTogether();
    void twoWorkstationsRevokeOverlappingSets();
    void chargeWindowRevokesTheTickedLines();
};

void tst_Returns::revokeRefusals_data()
{
    QTest::addColumn<QString>("rights");      // of the signer, 2901
    QTest::addColumn<QString>("switches");    // station switches set to 1
    QTest::addColumn<QList<bool>>("answers"); // to the questions, in order
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("told");

    QTest::newRow("not confirmed") << u"|3|22"_s << QString() << QList<bool>{false} << true
                                   << u"Are you sure you want to revoke this charge?"_s;
    QTest::newRow("sign-in declined") << u"|3|22"_s << QString() << QList<bool>{true, false}
                                      << false
                                      << u"Selected charge(s) will not be revoked! \nAre you "
                                         u"sure you want to revoke this charge?"_s;
    QTest::newRow("no revoke right") << u"|3|9"_s << QString() << QList<bool>{true} << true
                                     << u"Sorry, you don't have access right to revoke charges."_s;
    QTest::newRow("supervisor closed")
        << u"|3|22"_s << u"IsAllowSupervisorCodeForCancellationOfCharges"_s
        << QList<bool>{true, false} << true
        << u"Selected charge was not revoked! \nAre you sure you want to revoke this charge?"_s;
}

void tst_Returns::revokeRefusals()
{
    QFETCH(QString, rights);
    QFETCH(QString, switches);
    QFETCH(QList<bool>, answers);
    QFETCH(bool, signs);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    const QString slip = postMedicine(p, u"2"_s, u"190"_s);
    QVERIFY(!slip.isEmpty());
    QVERIFY(mayRevoke(p, rights));
    if (!switches.isEmpty()) {
        QVERIFY(db.exec(u"update PATIENT_DATA..tbHospitalInfo set %1 = 1"_s.arg(switches)));
        LoadHospitalSettings(db, p.f.session.hospital, p.f.session.settings);
    }
    const qint64 stock = p.number(kOnHand);

    int supervisorAsked = 0;
    ChargeRevoke revoke(p.f.session, &p.picker, [&supervisorAsked] {
        ++supervisorAsked;
        return ValidatedUser();
    });
    p.f.notifier.clear();
    p.f.notifier.answer(answers);
    if (signs)
        p.f.dialogs.sign(u"2901"_s);
    QCOMPARE(revoke.revoke(postedLine(p, slip)), ChargeRevoke::Outcome::Refused);
    QCOMPARE(p.f.notifier.lastText(), told);
    QCOMPARE(supervisorAsked, switches.isEmpty() ? 0 : 1);
    // Nothing written.
    QCOMPARE(p.rows(u"select RecordStatus from STATION..tbNurseLogBook where ReferenceNum = :s"_s,
                    {{u"s"_s, slip}}),
             QString());
    QCOMPARE(p.number(kOnHand), stock);
    QCOMPARE(p.number(u"select count(*) from STATION..tbBillAdjustInfo where RefNum = :s"_s,
                      {{u"s"_s, slip}}),
             0);
}

void tst_Returns::revokePutsBackWhatIsLeft()
{
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    const qint64 stock = p.number(kOnHand);
    const QString slip = postMedicine(p, u"3"_s, u"300"_s);
    QVERIFY(!slip.isEmpty());
    QVERIFY(mayRevoke(p));

    // One ampule comes back first, on a credit memo.
    ReturnEntry returns(p.f.session, nullptr, &p.picker);
    QVERIFY(returns.open(true));
    QVERIFY(returns.addLine(slip, kItem, kName, 3, 0));
    QVERIFY(returns.setReturned(0, u"1"_s));
    p.f.dialogs.sign(u"2901"_s);
    QVERIFY(returns.post());

    // The revoke puts back the other two and what is left of the amount.
    ChargeRevoke revoke(p.f.session, &p.picker, {});
    const PostedCharge line = postedLine(p, slip);
    p.f.notifier.answer({true});
    p.f.dialogs.sign(u"2901"_s);
    QCOMPARE(revoke.revoke(line), ChargeRevoke::Outcome::Revoked);
    QCOMPARE(p.number(kOnHand), stock);
    QCOMPARE(p.rows(u"select RecordStatus, RevokedBy from STATION..tbNurseLogBook where "
                    u"ReferenceNum = :s"_s,
                    {{u"s"_s, slip}}),
             u"R|2901"_s);
    QCOMPARE(p.rows(u"select sum(case when TransType = 'C' then -Quantity else Quantity end), "
                    u"sum(case when TransType = 'C' then -Amount else Amount end) from "
                    u"INVENTORY..tbInvStockCard where RefNum = :s"_s,
                    {{u"s"_s, slip}}),
             u"0|0"_s);
    QCOMPARE(p.rows(u"select AdjustType, Quantity, Amount, UserID from STATION..tbBillAdjustInfo "
                    u"where RefNum = :s order by AdjustID"_s,
                    {{u"s"_s, slip}}),
             u"CM|1|100|2901\nR|2|200|2901"_s);

    // The same line again, as a workstation that still shows it would: told, nothing changes.
    p.f.notifier.answer({true});
    p.f.dialogs.sign(u"2901"_s);
    QCOMPARE(revoke.revoke(line), ChargeRevoke::Outcome::Refused);
    QCOMPARE(p.f.notifier.lastText(),
             u"Can't revoke this charge. The Total Amount is already Zero(0)."_s);
    QCOMPARE(p.number(kOnHand), stock);
}

void tst_Returns::returnedQuantity_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("told"); // empty: accepted

    const QString more = u"Quantity returned is greater than quantity issued."_s;
    const QString positive = u"Please enter a quantity greater than zero(0)."_s;
    QTest::newRow("all issued") << u"3"_s << QString();
    QTest::newRow("one") << u" 1 "_s << QString();
    QTest::newRow("one more than issued") << u"4"_s << more;
    QTest::newRow("huge") << u"1e9"_s << more;
    QTest::newRow("zero") << u"0"_s << positive;
    QTest::newRow("negative") << u"-1"_s << positive;
    QTest::newRow("letters") << u"abc"_s << positive;
    QTest::newRow("empty") << QString() << positive;
    QTest::newRow("half") << u"1.5"_s << u"Please enter the quantity returned in whole units."_s;
}

void tst_Returns::returnedQuantity()
{
    QFETCH(QString, typed);
    QFETCH(QString, told);
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    const QString slip = postMedicine(p, u"3"_s, u"285"_s);
    ReturnEntry returns(p.f.session, nullptr, &p.picker);
    QVERIFY(returns.open(true));
    QVERIFY(returns.addLine(slip, kItem, kName, 3, 0));
    QCOMPARE(returns.lines().at(0).price.toString(), u"95"_s);
    p.f.notifier.clear();
    QCOMPARE(returns.setReturned(0, typed), told.isEmpty());
    QCOMPARE(p.f.notifier.lastText(), told);
    const ReturnLine &l = returns.lines().at(0);
    QCOMPARE(l.returned, told.isEmpty() ? typed.trimmed().toDouble() : 0.0);
    QCOMPARE(l.amount, Money::multiply(l.price, l.returned));
}

void tst_Returns::creditMemoHoldsTheAmountExactly()
{
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    const qint64 stock = p.number(kOnHand);
    const QString slip = postMedicine(p, u"3"_s, u"100"_s);
    ReturnEntry returns(p.f.session, nullptr, &p.picker);
    auto giveBack = [&](const QString &quantity, const QString &remarks) {
        returns.open(true);
        if (!returns.addLine(slip, kItem, kName, 3, 0) || !returns.setReturned(0, quantity))
            return false;
        returns.setRemarks(0, remarks);
        p.f.dialogs.sign(u"2901"_s);
        return returns.post();
    };
    QVERIFY(giveBack(u"1"_s, u"NOT USED"_s));
    const QString first = returns.creditMemo();
    QVERIFY(giveBack(u"2"_s, u"PATIENT TRANSFERRED"_s));
    QVERIFY(returns.creditMemo() != first);
    // Thirds of 100: the last return takes what is left, so together they are the amount.
    QCOMPARE(p.rows(u"select ReturnedQty, ReturnedAmount from STATION..tbNurseLogBook where "
                    u"ReferenceNum = :s"_s,
                    {{u"s"_s, slip}}),
             u"3|100"_s);
    QCOMPARE(p.rows(u"select CreditMemoNum, TransType, Quantity, Amount, Remarks from "
                    u"INVENTORY..tbInvStockCard where RefNum = :s and TransType = 'C' order by "
                    u"SequenceNumber"_s,
                    {{u"s"_s, slip}}),
             u"%1|C|1|33.3333|NOT USED\n%2|C|2|66.6667|PATIENT TRANSFERRED"_s.arg(
                 first, returns.creditMemo()));
    QCOMPARE(p.number(u"select count(*) from STATION..tbNurseCreditMemo where TransType = 'PC' "
                      u"and RefNum = :s"_s,
                      {{u"s"_s, slip}}),
             2);
    QCOMPARE(p.number(kOnHand), stock);

    // Nothing is left to return: refused when posting, and nothing is written.
    const qint64 counter = p.counter(u"CreditMemo");
    QVERIFY(!giveBack(u"1"_s, QString()));
    QVERIFY(p.f.notifier.lastText().startsWith(u"Quantity returned is greater than quantity issued."_s));
    QCOMPARE(p.counter(u"CreditMemo"), counter);
    QCOMPARE(p.number(u"select count(*) from STATION..tbNurseCreditMemo where RefNum = :s"_s,
                      {{u"s"_s, slip}}),
             2);
    QCOMPARE(p.number(kOnHand), stock);
}

void tst_Returns::twoWorkstationsReturnTheSameLine()
{
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    const qint64 stock = p.number(kOnHand);
    const QString kMemoLines = u"select count(*) from STATION..tbNurseCreditMemo"_s;
    const qint64 memoLines = p.number(kMemoLines);
    constexpr int kRounds = 8;
    for (int round = 0; round < kRounds; ++round) {
        const QString slip = postMedicine(p, u"3"_s, u"300"_s);
        QVERIFY(!slip.isEmpty());
        // Each returns two of the three: together they would return four.
        const QList<bool> done = race((*dbResult)->settings(), p.f.session.CurrentPatient,
                                      [&slip](Workstation &ws) {
                                          ReturnEntry r(ws.f.session, nullptr, &ws.picker);
                                          return r.open(true) &&
                                                 r.addLine(slip, kItem, kName, 3, 0) &&
                                                 r.setReturned(0, u"2"_s) && r.post();
                                      });
        QCOMPARE(done.count(true), 1);
        QCOMPARE(p.rows(u"select ReturnedQty, ReturnedAmount from STATION..tbNurseLogBook "
                        u"where ReferenceNum = :s"_s,
                        {{u"s"_s, slip}}),
                 u"2|200"_s);
    }
    QCOMPARE(p.number(kOnHand), stock - kRounds);
    QCOMPARE(p.number(kMemoLines), memoLines + kRounds);
}

void tst_Returns::twoWorkstationsRevokeTheSameLine()
{
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(mayRevoke(p));
    const qint64 stock = p.number(kOnHand);
    const QString slip = postMedicine(p, u"2"_s, u"190"_s);
    const PostedCharge line = postedLine(p, slip);
    QList<ChargeRevoke::Outcome> outcomes(2);
    int next = 0;
    std::mutex m;
    race((*dbResult)->settings(), p.f.session.CurrentPatient, [&](Workstation &ws) {
        const ChargeRevoke::Outcome o = ChargeRevoke(ws.f.session, &ws.picker, {}).revoke(line);
        const std::lock_guard lock(m);
        outcomes[next++] = o;
        return o == ChargeRevoke::Outcome::Revoked;
    });
    // One revokes; the other either finds nothing left to revoke or is told another
    // workstation revoked it. The stock goes back once.
    QCOMPARE(outcomes.count(ChargeRevoke::Outcome::Revoked), 1);
    QCOMPARE(outcomes.count(ChargeRevoke::Outcome::Failed), 0);
    QCOMPARE(p.number(kOnHand), stock);
    QCOMPARE(p.number(u"select count(*) from STATION..tbBillAdjustInfo where RefNum = :s"_s,
                      {{u"s"_s, slip}}),
             1);
    QCOMPARE(p.rows(u"select sum(case when TransType = 'C' then -Quantity else Quantity end) "
                    u"from INVENTORY..tbInvStockCard where RefNum = :s"_s,
                    {{u"s"_s, slip}}),
             u"0"_s);
}

void tst_Returns::postedListPrints_data()
{
    QTest::addColumn<QString>("print");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QStringList>("shown"); // rows of cells; %1 the slip kept, %2 the revoked
    QTest::addColumn<QStringList>("absent");
    const QString name = u"|PH1002|KETOROLAC 30 MG/ML AMPULE|"_s;
    QTest::newRow("posted list")
        << u"posted"_s << u"List of Posted Medicines ( INPATIENT )"_s
        << QStringList{u"|%1"_s + name + u"3|1|2|300.00|100.00|200.00||"_s,
                       u"|%2"_s + name + u"2|0|0|0.00|0.00|0.00|REVOKED|"_s}
        << QStringList();
    QTest::newRow("drug profile") << u"profile"_s << u"Drug Profile"_s
                                  << QStringList{u"\nKETOROLAC 30 MG/ML AMPULE|"_s,
                                                 u"|%1||||3|1|2|"_s}
                                  << QStringList{u"|%2|"_s};
    QTest::newRow("credit memo reprint")
        << u"memo"_s << u"Reprint Credit Memo Slip"_s
        << QStringList{u"\n%1"_s + name + u"3|1|100.00||"_s,
                       u"TOTAL CREDIT (1 item(s))|100.00||"_s}
        << QStringList{u"%2|"_s};
}

void tst_Returns::postedListPrints()
{
    QFETCH(QString, print);
    QFETCH(QString, title);
    QFETCH(QStringList, shown);
    QFETCH(QStringList, absent);
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(mayRevoke(p));
    const QString kept = postMedicine(p, u"3"_s, u"300"_s);
    const QString revoked = postMedicine(p, u"2"_s, u"190"_s);
    QVERIFY(!kept.isEmpty() && !revoked.isEmpty());
    // One ampule of the first comes back; its slip prints as the return is posted.
    ReturnEntry returns(p.f.session, nullptr, &p.picker);
    returns.setReports(&p.reports);
    QVERIFY(returns.open(true));
    QVERIFY(returns.addLine(kept, kItem, kName, 3, 0));
    QVERIFY(returns.setReturned(0, u"1"_s));
    p.f.dialogs.sign(u"2901"_s);
    QVERIFY(returns.post());
    QCOMPARE(p.display.shown().size(), 1);
    QCOMPARE(p.display.shown().last().options.title, u"Credit Memo Slip"_s);
    p.f.notifier.answer({true});
    p.f.dialogs.sign(u"2901"_s);
    QCOMPARE(ChargeRevoke(p.f.session, &p.picker, {}).revoke(postedLine(p, revoked)),
             ChargeRevoke::Outcome::Revoked);

    PostedPrints prints(p.f.session, &p.reports);
    if (print == u"posted")
        QVERIFY(prints.printPosted());
    else if (print == u"profile")
        QVERIFY(prints.printDrugProfile());
    else
        QVERIFY(prints.printCreditMemo(returns.creditMemo(), true));
    QCOMPARE(p.display.shown().size(), 2);
    QCOMPARE(p.display.shown().last().options.title, title);
    const QString page = cells(p.display.last()->html());
    const auto slips = [&](QString row) {
        return row.replace(u"%1"_s, kept).replace(u"%2"_s, revoked);
    };
    for (const QString &row : std::as_const(shown))
        QVERIFY2(page.contains(slips(row)), qPrintable(slips(row) + u"\n"_s + page));
    for (const QString &row : std::as_const(absent))
        QVERIFY2(!page.contains(slips(row)), qPrintable(slips(row) + u"\n"_s + page));
    if (print == u"memo")
        QVERIFY(page.contains(u"Credit Memo No.|"_s + returns.creditMemo() + u'|'));
}

void tst_Returns::severalRevokedTogether_data()
{
    QTest::addColumn<QString>("rights"); // of the signer, 2901
    QTest::addColumn<int>("ticked");     // of the two lines posted
    QTest::addColumn<bool>("stale");     // the first line was revoked after the list was read
    QTest::addColumn<bool>("signs");
    QTest::addColumn<QString>("told");
    QTest::addColumn<int>("revoked"); // of the two lines, afterwards
    const QString none = u"Selected charges will not be revoked! \n"_s;
    QTest::newRow("both") << u"|3|22"_s << 2 << false << true
                          << u"Are you sure you want to revoke this charge?"_s << 2;
    QTest::newRow("none ticked") << u"|3|22"_s << 0 << false << true
                                 << u"Please select items to revoke."_s << 0;
    QTest::newRow("sign-in declined") << u"|3|22"_s << 2 << false << false
                                      << u"Selected charge(s) were not revoked! "_s << 0;
    QTest::newRow("no revoke right")
        << u"|3|9"_s << 2 << false << true
        << none + u"Sorry, you don't have access right to revoke charges."_s << 0;
    QTest::newRow("one revoked meanwhile")
        << u"|3|22"_s << 2 << true << true
        << u"Can't revoke this charge. The Total Amount is already Zero(0). (KETOROLAC 30 MG/ML "
           u"AMPULE, %1)"_s
        << 1;
}

void tst_Returns::severalRevokedTogether()
{
    QFETCH(QString, rights);
    QFETCH(int, ticked);
    QFETCH(bool, stale);
    QFETCH(bool, signs);
    QFETCH(QString, told);
    QFETCH(int, revoked);
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(p.switches({{u"MultiCancel"_s, u"1"_s}}));
    const qint64 stock = p.number(kOnHand);
    const QStringList slips{postMedicine(p, u"2"_s, u"190"_s), postMedicine(p, u"3"_s, u"285"_s)};
    QVERIFY(mayRevoke(p, rights));
    QList<PostedCharge> lines;
    for (int i = 0; i < ticked; ++i)
        lines << postedLine(p, slips.at(i));
    if (stale)
        QVERIFY(db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' where "
                        u"ReferenceNum = :s"_s,
                        {{u"s"_s, slips.first()}}));
    p.f.notifier.clear();
    p.f.notifier.answer({true});
    if (signs)
        p.f.dialogs.sign(u"2901"_s);
    const bool done = revoked == 2;
    QCOMPARE(ChargeRevoke(p.f.session, &p.picker, {}).revokeSeveral(lines),
             done ? ChargeRevoke::Outcome::Revoked : ChargeRevoke::Outcome::Refused);
    QCOMPARE(p.f.notifier.lastText(),
             told.contains(u"%1"_s) ? told.arg(slips.first()) : told);
    const Binds both{{u"a"_s, slips.at(0)}, {u"b"_s, slips.at(1)}};
    QCOMPARE(p.number(u"select count(*) from STATION..tbNurseLogBook where ReferenceNum in "
                      u"(:a, :b) and RecordStatus = 'R'"_s,
                      both),
             revoked);
    // What went back to stock and to the account is exactly what the revokes took off.
    QCOMPARE(p.number(kOnHand), stock - (done ? 0 : 5));
    QCOMPARE(p.rows(u"select RefNum, Quantity, Amount from STATION..tbBillAdjustInfo where RefNum "
                    u"in (:a, :b) order by RefNum"_s,
                    both),
             done ? u"%1|2|190\n%2|3|285"_s.arg(slips.at(0), slips.at(1)) : QString());
}

void tst_Returns::twoWorkstationsRevokeOverlappingSets()
{
    KESTREL_OPEN_DEMO(db);
    test::PostingFixture p(db);
    QVERIFY(p.selectOpenStay());
    QVERIFY(p.switches({{u"MultiCancel"_s, u"1"_s}}));
    QVERIFY(mayRevoke(p));
    const qint64 stock = p.number(kOnHand);
    const QStringList slips{postMedicine(p, u"2"_s, u"190"_s), postMedicine(p, u"3"_s, u"285"_s)};
    const QList<PostedCharge> lines{postedLine(p, slips.at(0)), postedLine(p, slips.at(1))};
    QList<ChargeRevoke::Outcome> outcomes(2);
    int next = 0;
    std::atomic<int> started{0};
    std::mutex m;
    race((*dbResult)->settings(), p.f.session.CurrentPatient, [&](Workstation &ws) {
        // The two hold the lines in opposite orders.
        const QList<PostedCharge> set =
            started++ == 1 ? QList<PostedCharge>{lines.at(1), lines.at(0)} : lines;
        const auto o = ChargeRevoke(ws.f.session, &ws.picker, {}).revokeSeveral(set);
        const std::lock_guard lock(m);
        outcomes[next++] = o;
        return o == ChargeRevoke::Outcome::Revoked;
    });
    // One revokes both; the other changes nothing. Each line's stock goes back once.
    QCOMPARE(outcomes.count(ChargeRevoke::Outcome::Revoked), 1);
    QCOMPARE(outcomes.count(ChargeRevoke::Outcome::Failed), 0);
    QCOMPARE(p.number(kOnHand), stock);
    const Binds both{{u"a"_s, slips.at(0)}, {u"b"_s, slips.at(1)}};
    QCOMPARE(p.number(u"select count(*) from STATION..tbBillAdjustInfo where RefNum in (:a, :b)"_s,
                      both),
             2);
    QCOMPARE(p.number(u"select count(*) from STATION..tbNurseLogBook where ReferenceNum in "
                      u"(:a, :b) and RecordStatus = 'R'"_s,
                      both),
             2);
}

void tst_Returns::chargeWindowRevokesTheTickedLines()
{
    KESTREL_OPEN_DEMO(db);
    test::ChargeEntryFixture c(db);
    QVERIFY(c.selectOpenStay());
    QVERIFY(c.switches({{u"MultiCancel"_s, u"1"_s}}));
    const QStringList slips{postMedicine(c, u"2"_s, u"190"_s), postMedicine(c, u"3"_s, u"285"_s),
                            postMedicine(c, u"1"_s, u"95"_s)};
    QVERIFY(mayRevoke(c));
    ChargeRevoke revoke(c.f.session, &c.picker, {});
    c.entry.setRevoking(&revoke);
    QVERIFY(c.entry.open());
    const auto row = [&c](const QString &slip) {
        const QList<PostedCharge> &posted = c.entry.postedCharges();
        for (int i = 0; i < posted.size(); ++i) {
            if (posted.at(i).chargeSlip == slip)
                return i;
        }
        return -1;
    };
    // The first two ticked; the third ticked and unticked again.
    for (const int i : {0, 2, 2, 1})
        c.entry.toggleTick(row(slips.at(i)));
    QVERIFY(c.entry.isTicked(row(slips.at(0))) && !c.entry.isTicked(row(slips.at(2))));
    c.f.notifier.answer({true});
    c.f.dialogs.sign(u"2901"_s);
    // Revoke on the third row: the ticked lines go, whichever row the cursor is on.
    c.entry.revoke(row(slips.at(2)));
    QCOMPARE(c.rows(u"select ReferenceNum, RecordStatus from STATION..tbNurseLogBook where "
                    u"ReferenceNum in (:a, :b, :c) order by ReferenceNum"_s,
                    {{u"a"_s, slips.at(0)}, {u"b"_s, slips.at(1)}, {u"c"_s, slips.at(2)}}),
             u"%1|R\n%2|R\n%3|"_s.arg(slips.at(0), slips.at(1), slips.at(2)));
    // The list was read again, without ticks and without the revoked lines.
    QCOMPARE(row(slips.at(0)), -1);
    QVERIFY(!c.entry.isTicked(row(slips.at(2))));
}

QTEST_MAIN(tst_Returns)
#include "tst_returns.moc"
