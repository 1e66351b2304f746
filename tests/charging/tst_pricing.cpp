// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The pricing rules of the entry grids on the demo hospital's patients, and the OR's markups
// (the list the markup window offers, the master window's search, add, edit and save), on
// every backend.
#include "charging/ChargingFixture.h"
#include "charging/DoctorsFee.h"
#include "charging/MarkUp.h"
#include "charging/MarkupSettings.h"
#include "charging/modPricing.h"
#include "core/components/CodeLookupRecords.h"
#include "core/db/NumberFormat.h"
#include "patients/modGlobals.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

using Patient = std::pair<QString, QString>;
const Patient kHmoVisitRateH{u"MANANSALA"_s, u"ROSEMARIE"_s};
const Patient kSpecialNine{u"GUEVARRA"_s, u"TEOFILO"_s};
const Patient kSpecialOneVisit{u"BAYLON"_s, u"CONCHITA"_s};
const Patient kForeigner{u"HARTLEY"_s, u"GRAHAM"_s};
const Patient kErVisit{u"LUMANLAN"_s, u"ARVIN"_s};
const Patient kWalkIn{u"SALONGA"_s, u"JENALYN"_s};
const Patient kDependent{u"ESTACIO"_s, u"WILMA"_s}; // in a ward bed of class A
const Patient kHmoPrivateRoom{u"VALENZUELA"_s, u"RONALDO"_s};
const Patient kSecondOperation{u"AGUINALDO"_s, u"MARISSA"_s};
const Patient kHmoErVisit{u"CAPISTRANO"_s, u"EFREN"_s};

// An item whose price tells its rate letter: A 1000, B 1100, ... I 1800.
OtherRevenueRecord item(const QString &code)
{
    OtherRevenueRecord r;
    r.OtherSectionID = code.left(2);
    r.ResultCode = code;
    r.OtherRevenue = u"ITEM "_s + code;
    Money *rates[] = {&r.RateA, &r.RateB, &r.RateC, &r.RateD, &r.RateE,
                      &r.RateF, &r.RateG, &r.RateH, &r.RateI};
    for (int i = 0; i < 9; ++i)
        *rates[i] = Money::fromMinor((1000 + 100 * i) * Money::kScale);
    return r;
}

ChargeLine lineOf(const QString &department, const QString &quantity = {},
                  const QString &unitPrice = {})
{
    ChargeLine line;
    line.department = department;
    line.quantity = quantity;
    line.unitPrice = unitPrice;
    return line;
}

Money pesos(qint64 amount)
{
    return Money::fromMinor(amount * Money::kScale);
}

// Turns off what the demo hospital turns on, so each case sets only what it is about.
void quietPricing(HospitalSettings &hs)
{
    hs.AllowAfterTimeRate = hs.AutoORMarkUp = hs.IsShowMarkUp = hs.isstat = false;
    hs.SecProcPercentDiscount = 0;
}

struct RateCase
{
    Patient patient;
    QString client, code;
    QStringList switchesOn;
    QString unitPrice, orSection;
};

struct EditCase
{
    QString code; // a doctor's fee line carries the doctor's code after "MD"
    bool lowerRefused, zeroForProcedures;
    QString typed;
    bool taken;
    QString unitPrice, amount;
};

struct ZeroCase
{
    QString department, unitPrice;
    bool showAmount, refused;
};

struct StockCase
{
    Patient patient;
    QString client;
    bool listCost, companyPrice, supplyRateByType;
    QString unitPrice, amount;
};

} // namespace

class tst_Pricing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void serviceRates_data();
    void serviceRates();
    void afterTimeHours_data();
    void afterTimeHours();
    void afterTimeRateSkipsTheMarkup();
    void markups_data();
    void markups();
    void secondOperation();
    void statQuestion_data();
    void statQuestion();
    void statPatientAndFinishedLines();
    void manualEdits_data();
    void manualEdits();
    void zeroAmount_data();
    void zeroAmount();
    void doctorsFees();
    void doctorsFeeList();
    void stockPrices_data();
    void stockPrices();
    void markupList_data();
    void markupList();
    void markupSettings();
};

void tst_Pricing::serviceRates_data()
{
    QTest::addColumn<RateCase>("c");
    const QStringList hmoByClass{u"EnableORHMORate"_s, u"ORHMORateByRoomClass"_s};
    // The rate letter: A for a regular patient, H for an HMO visit of rate type H at LOBRA,
    // F for special classes 9 and 1.
    QTest::newRow("regular patient, rate A") << RateCase{kDependent, "", "OS2003", {}, "1000", ""};
    QTest::newRow("HMO visit of rate type H, LOBRA")
        << RateCase{kHmoVisitRateH, "LOBRA", "OS2003", {}, "1700", ""};
    QTest::newRow("HMO visit of rate type H elsewhere")
        << RateCase{kHmoVisitRateH, "", "OS2003", {}, "1000", ""};
    QTest::newRow("special class 9") << RateCase{kSpecialNine, "", "OS2003", {}, "1500", ""};
    QTest::newRow("special class 1 visit")
        << RateCase{kSpecialOneVisit, "", "OS2003", {}, "1500", ""};
    QTest::newRow("KWOSH prices its HMO patients at H")
        << RateCase{kHmoPrivateRoom, "KWOSH", "OS2003", {}, "1700", ""};
    QTest::newRow("an HMO patient elsewhere stays at A")
        << RateCase{kHmoPrivateRoom, "", "OS2003", {}, "1000", ""};
    QTest::newRow("FENDO walk-in at the medical records")
        << RateCase{kWalkIn, "FENDO", "MR001", {}, "1700", ""};
    QTest::newRow("FENDO walk-in elsewhere")
        << RateCase{kWalkIn, "FENDO", "OS2003", {}, "1000", ""};
    QTest::newRow("HMO rate switched on")
        << RateCase{kHmoPrivateRoom, "", "OS2003", {"EnableORHMORate"}, "1700", ""};
    QTest::newRow("ER visit at rate I")
        << RateCase{kErVisit, "", "OS2003", {"ORRateIforER"}, "1800", ""};
    QTest::newRow("HMO patient in a private room, rate by room class")
        << RateCase{kHmoPrivateRoom, "", "OR1101", hmoByClass, "6600", ""};
    QTest::newRow("HMO ER visit, rate I by class")
        << RateCase{kHmoErVisit, "", "OR1101", hmoByClass + QStringList{"ORRateIforER"}, "6120",
                    ""};
    QTest::newRow("non-HMO ER visit keeps rate I by class")
        << RateCase{kErVisit, "", "OR1101", {"ORRateIforER", "ORHMORateByRoomClass"}, "1800", ""};
    QTest::newRow("international patient pays a tenth more")
        << RateCase{kForeigner, "", "OS2003", {"ORAllowInternationalRate"}, "1100", ""};
    QTest::newRow("international surcharge off")
        << RateCase{kForeigner, "", "OS2003", {}, "1000", ""};
    // In a ward bed of class A a relative unit is worth 320 pesos.
    QTest::newRow("OR procedure with RUV") << RateCase{kDependent, "", "OR1001", {}, "19200", "P"};
    QTest::newRow("OR procedure without RUV keeps its rate")
        << RateCase{kDependent, "", "OR1008", {}, "1000", "P"};
    QTest::newRow("QELM keeps the rate") << RateCase{kDependent, "QELM", "OR1001", {}, "1000", "P"};
    QTest::newRow("OR fee is no procedure") << RateCase{kDependent, "", "OR1101", {}, "1000", ""};
}

void tst_Pricing::serviceRates()
{
    QFETCH(RateCase, c);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QList<std::pair<QString, QString>> switches;
    for (const QString &name : {u"EnableORHMORate"_s, u"ORRateIforER"_s, u"ORHMORateByRoomClass"_s,
                                u"ORAllowInternationalRate"_s})
        switches.append({name, c.switchesOn.contains(name) ? u"1"_s : QString()});
    QVERIFY(p.switches(switches));
    quietPricing(p.f.session.hospital);
    p.f.session.hospital.clientname = c.client;
    QVERIFY(p.select(c.patient.first, c.patient.second));

    ChargeLine line = lineOf(c.code.left(2));
    p.pricing.priceServiceItem(line, item(c.code));
    QCOMPARE(line.unitPrice + u'|' + line.listPrice + u'|' + line.orSection,
             c.unitPrice + u'|' + c.unitPrice + u'|' + c.orSection);
}

void tst_Pricing::afterTimeHours_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("hour");
    QTest::addColumn<bool>("afterTime");
    QTest::addColumn<bool>("badlySet");
    QTest::newRow("22+4 at 22") << "22:00" << 4 << 22 << true << false;
    QTest::newRow("22+4 at 1") << "22:00" << 4 << 1 << true << false;
    QTest::newRow("22+4 at 2") << "22:00" << 4 << 2 << false << false;
    QTest::newRow("22+4 at 21") << "22:00" << 4 << 21 << false << false;
    QTest::newRow("8+10 at 8") << "08:00" << 10 << 8 << true << false;
    QTest::newRow("8+10 at 18") << "08:00" << 10 << 18 << false << false;
    QTest::newRow("minutes are not read") << "08:59" << 10 << 17 << true << false;
    QTest::newRow("24 hours at 3") << "17:00" << 24 << 3 << true << false;
    QTest::newRow("0 hours") << "17:00" << 0 << 18 << false << true;
    QTest::newRow("25 hours") << "17:00" << 25 << 18 << false << true;
}

void tst_Pricing::afterTimeHours()
{
    QFETCH(QString, start);
    QFETCH(int, hours);
    QFETCH(int, hour);
    QFETCH(bool, afterTime);
    QFETCH(bool, badlySet);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 1), QTime(hour, 30))));
    p.f.session.hospital.ORAfterTime = start;
    p.f.session.hospital.AfterTimeStatHours = qint16(hours);
    QCOMPARE(modPricing::IsWithinStatHours(p.f.session), afterTime);
    QCOMPARE(p.f.notifier.lastText(), badlySet ? u"STAT time frame is not properly configured. "
                                                 u"Please notify the EDP department."_s
                                               : QString());
}

void tst_Pricing::afterTimeRateSkipsTheMarkup()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    HospitalSettings &hs = p.f.session.hospital;
    quietPricing(hs);
    hs.AllowAfterTimeRate = hs.AutoORMarkUp = hs.IsShowMarkUp = true;
    hs.ORAfterTime = u"22:00"_s;
    hs.AfterTimeStatHours = 4;
    hs.ORAfterTimeRate = 30;
    QVERIFY(p.select(kDependent.first, kDependent.second));
    const auto priceAt = [&](QDate day, int hour, const QString &quantity = {}) {
        ChargeLine line = lineOf(u"OR"_s, quantity);
        if (db.pinClock(QDateTime(day, QTime(hour, 15))))
            p.pricing.priceServiceItem(line, item(u"OR1008"_s));
        return line;
    };
    const QDate day(2026, 12, 1);

    // Past ten at night the procedure is raised by 30 percent, and no markup is asked.
    const ChargeLine late = priceAt(day, 23, u"2"_s);
    QCOMPARE(late.unitPrice + u'|' + late.amount, u"1300|2600"_s);
    QVERIFY(late.raisedByAfterTime);
    QCOMPARE(p.prompts.markupAsked, 0);
    // At noon of an ordinary day the markup window is offered instead.
    const ChargeLine noon = priceAt(day, 12);
    QCOMPARE(noon.unitPrice, u"1000"_s);
    QVERIFY(!noon.raisedByAfterTime);
    QCOMPARE(p.prompts.markupAsked, 1);
    // Christmas noon is a holiday: raised whatever the hour.
    QCOMPARE(priceAt(QDate(2026, 12, 25), 12).unitPrice, u"1300"_s);
    QCOMPARE(p.prompts.markupAsked, 1);
    // Without the switch there is no after-time rate at all.
    hs.AllowAfterTimeRate = false;
    QCOMPARE(priceAt(day, 23).unitPrice, u"1000"_s);
    QCOMPARE(p.prompts.markupAsked, 2);
}

void tst_Pricing::markups_data()
{
    QTest::addColumn<bool>("newKind");
    QTest::addColumn<MarkupChoice>("choice");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("markupText");
    QTest::newRow("0.25 multiplied") << true << MarkupChoice{0.25, MarkupType::Multiply} << "1250"
                                     << "25%";
    QTest::newRow("0.25 added") << true << MarkupChoice{0.25, MarkupType::Add} << "1000.25"
                                << "0.25";
    QTest::newRow("old factor 1.3") << false << MarkupChoice{1.3, MarkupType::None} << "1300"
                                    << "30";
    QTest::newRow("none chosen") << true << MarkupChoice{} << "1000" << "";
}

void tst_Pricing::markups()
{
    QFETCH(bool, newKind);
    QFETCH(MarkupChoice, choice);
    QFETCH(QString, unitPrice);
    QFETCH(QString, markupText);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{u"UseNewORMarkUp"_s, newKind ? u"1"_s : QString()}}));
    p.prompts.markups.enqueue(choice);
    ChargeLine line = lineOf(u"OR"_s, {}, u"1000"_s);
    line.markupText = u"left from before"_s;
    p.pricing.applyMarkup(line);
    QCOMPARE(line.unitPrice, unitPrice);
    QCOMPARE(line.markupText, markupText);
    QCOMPARE(p.pricing.state().markupValue, choice.value);
    QCOMPARE(p.pricing.state().markupType, choice.type);
}

void tst_Pricing::secondOperation()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    p.f.session.hospital.SecProcPercentDiscount = 50;
    QVERIFY(p.select(kDependent.first, kDependent.second));
    const auto tagged = [&](std::optional<bool> answer) {
        ChargeLine line = lineOf(u"OR"_s, u"1"_s, u"10000"_s);
        p.f.notifier.clear();
        if (answer)
            p.f.notifier.answer({*answer});
        p.pricing.ApplySecondOperationDiscount(line);
        return QStringList{line.unitPrice, line.secondOperation, line.amount};
    };
    QCOMPARE(tagged(true), QStringList({"5000.00", "1", "5000.00"}));
    QCOMPARE(p.f.notifier.lastText(),
             u"Would you like to tag this operation as patient's second operation? \n\nSecond "
             u"operation will have a 50% discount. \n\nClick Yes to proceed and No to charge with "
             u"regular amount."_s);
    QCOMPARE(tagged(false).mid(0, 2), QStringList({"10000", "0"}));

    // The delivery room already charged this mother's second operation: nobody asks again.
    QVERIFY(p.select(kSecondOperation.first, kSecondOperation.second));
    QCOMPARE(tagged(std::nullopt).mid(0, 2), QStringList({"10000", ""}));
    QVERIFY(p.f.notifier.boxes().isEmpty());
    // A revoked tag does not count.
    QVERIFY(db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' where IDNum = :id",
                    {{u"id"_s, p.f.session.CurrentPatient.IdNum}}));
    QVERIFY(!modPricing::HasSecondOperation(p.f.session, p.f.session.CurrentPatient.IdNum));
}

void tst_Pricing::statQuestion_data()
{
    QTest::addColumn<bool>("autoMarkup");
    QTest::addColumn<bool>("answer");
    QTest::addColumn<QString>("amount");
    QTest::addColumn<QString>("statFlag");
    QTest::newRow("stat: surcharge once per line") << false << true << "2300" << "Y";
    QTest::newRow("not stat") << false << false << "2000" << "N";
    QTest::newRow("not asked with the automatic after-time rate") << true << true << "2000" << "";
}

void tst_Pricing::statQuestion()
{
    QFETCH(bool, autoMarkup);
    QFETCH(bool, answer);
    QFETCH(QString, amount);
    QFETCH(QString, statFlag);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    HospitalSettings &hs = p.f.session.hospital;
    quietPricing(hs);
    hs.isstat = true;
    hs.CashStatRate = 30;
    hs.AutoORMarkUp = autoMarkup;
    ChargeLine line = lineOf(u"OS"_s, u"2"_s, u"1000"_s);
    p.f.notifier.answer({answer});
    p.pricing.quantityEntered(line);
    QCOMPARE(line.amount, amount);
    QCOMPARE(line.statFlag, statFlag);
    QCOMPARE(p.pricing.state().statAmount, statFlag == u"Y" ? amount : QString());
    QCOMPARE(p.f.notifier.lastText(), autoMarkup ? QString() : u"Is it Stat/Holiday?"_s);
}

void tst_Pricing::statPatientAndFinishedLines()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    // A stat patient pays a quarter more on the finished procedure lines only.
    QList<ChargeLine> lines(4, lineOf(u"OR"_s, u"1"_s, u"8000"_s));
    for (ChargeLine &l : lines) {
        l.item = u"OR1001"_s;
        l.description = u"APPENDECTOMY, OPEN"_s;
        l.orSection = u"P"_s;
    }
    lines[0].amount = lines[1].amount = u"8000"_s;
    lines[1].orSection.clear();
    lines[2].amount = u"0"_s;
    const auto amounts = [&](bool stat) {
        p.pricing.setStatPatient(lines, stat);
        QStringList texts;
        for (const ChargeLine &l : lines)
            texts << l.amount;
        return texts;
    };
    QCOMPARE(amounts(true), QStringList({"10000", "8000", "0", ""}));
    QCOMPARE(amounts(false), QStringList({"8000", "8000", "8000", ""}));

    // A finished OR line gets its receivable account and the doctors' meals; a supply neither.
    QVERIFY(p.select(kDependent.first, kDependent.second));
    ChargeLine line = lineOf(u"OR"_s, u"1"_s);
    line.amount = u"18000"_s;
    line.mealAmount = u"750"_s;
    p.pricing.finishLine(line);
    QCOMPARE(line.arCode + u'|' + line.amount, u"1131-OR-1|18750"_s);
    ChargeLine supply = lineOf(u"OS"_s, u"1"_s);
    supply.amount = u"240"_s;
    p.pricing.finishLine(supply);
    QCOMPARE(supply.arCode + u'|' + supply.amount, u"|240"_s);

    // The demo hospital charges its instrument handling fee, OR1105, at 500 a set.
    quietPricing(p.f.session.hospital);
    ChargeLine sets = lineOf(u"OR"_s, u"3"_s, u"450"_s);
    sets.item = u"OR1105"_s;
    p.pricing.quantityEntered(sets);
    QCOMPARE(sets.amount, u"1500"_s);
}

void tst_Pricing::manualEdits_data()
{
    QTest::addColumn<EditCase>("c");
    QTest::newRow("lower price refused")
        << EditCase{"MD1021", true, false, "1,500", false, "2000", "4000"};
    QTest::newRow("lower price taken")
        << EditCase{"MD1021", false, false, "1,500", true, "1500", "3000"};
    QTest::newRow("higher price taken")
        << EditCase{"MD1021", true, false, "2,500.50", true, "2500.5", "5001"};
    QTest::newRow("zero on an OR procedure") << EditCase{"OR1001", true, true, "0", true, "0", "0"};
    QTest::newRow("zero on an OR fee is lower")
        << EditCase{"OR1101", true, true, "0", false, "2000", "4000"};
}

void tst_Pricing::manualEdits()
{
    QFETCH(EditCase, c);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    p.f.session.hospital.isAllowLowerUnitPrice = c.lowerRefused;
    p.f.session.hospital.IsAllowZeroAmountForORProcedures = c.zeroForProcedures;
    const QString department = c.code.left(2);
    ChargeLine line = lineOf(department, u"2"_s, u"2000"_s);
    line.item = department == u"MD" ? c.code.mid(2) : c.code;
    line.listPrice = u"2000"_s;
    QCOMPARE(p.pricing.unitPriceTyped(line, c.typed), c.taken);
    QCOMPARE(line.unitPrice, c.unitPrice);
    QCOMPARE(line.amount, c.amount);
    QCOMPARE(p.f.notifier.lastText(), c.taken ? QString() : u"Unit Price should be >= 2000"_s);

    // The total typed over: above zero and not below quantity × unit price.
    line.unitPrice = u"2000"_s;
    line.amount = u"4000"_s;
    QVERIFY(!p.pricing.amountTyped(line, u"0"_s));
    QCOMPARE(p.f.notifier.lastText(), u"Amount should be greater than zero(0)."_s);
    QVERIFY(!p.pricing.amountTyped(line, u"3,999.99"_s));
    QCOMPARE(p.f.notifier.lastText(),
             u"Total Amount should be greater than or equal to QTY * Unit Price."_s);
    QCOMPARE(line.amount, u"4000"_s);
    QVERIFY(p.pricing.amountTyped(line, u"4,250.5"_s));
    QCOMPARE(line.amount, u"4250.5"_s);

    // Who may type the unit price: a doctor's fee always, an OR line only when allowed.
    QCOMPARE(p.pricing.canEditUnitPrice(line), department == u"MD");
    QVERIFY(p.switches({{u"EditORAmount"_s, u"1"_s}}));
    QVERIFY(p.pricing.canEditUnitPrice(line));
    QVERIFY(!p.pricing.canEditUnitPrice(lineOf(u"OS"_s)));
}

void tst_Pricing::zeroAmount_data()
{
    QTest::addColumn<ZeroCase>("c");
    QTest::newRow("supply at zero") << ZeroCase{"OS", "0", false, true};
    QTest::newRow("supply at zero, amounts shown") << ZeroCase{"OS", "0", true, false};
    QTest::newRow("OR line at zero") << ZeroCase{"OR", "0", false, false};
    QTest::newRow("supply with a price") << ZeroCase{"OS", "35", false, false};
}

void tst_Pricing::zeroAmount()
{
    QFETCH(ZeroCase, c);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    p.f.session.hospital.IsShowAmount = c.showAmount;
    ChargeLine line = lineOf(c.department, u"1"_s, c.unitPrice);
    line.item = u"X1"_s;
    QCOMPARE(p.pricing.refuseZeroAmount(line), c.refused);
    QCOMPARE(line.item.isEmpty(), c.refused);
    QCOMPARE(p.f.notifier.lastText(), c.refused ? u"Record(s) indicate that the amount of the "
                                                  u"item is zero! \r\nPlease contact EDP for "
                                                  u"further assistance."_s
                                                : QString());
    if (c.refused)
        QCOMPARE(p.f.notifier.boxes().last().icon, Notifier::Icon::Critical);
}

void tst_Pricing::doctorsFees()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    const DoctorRecord surgeon{u"1021"_s, u"AGUSTIN"_s, u"RAMON"_s, QString()};
    const DoctorRecord internist{u"1170"_s, u"BERNARDO"_s, u"LUZVIMINDA"_s, QString()};
    const auto fee = [&](const DoctorRecord &doctor, const QString &quantity) {
        ChargeLine line = lineOf(u"MD"_s, quantity);
        const bool priced = p.pricing.priceDoctorsFee(line, doctor);
        return QStringList{priced ? u"priced"_s : u"refused"_s, line.department, line.description,
                           line.unitPrice, line.amount};
    };

    // An inpatient in a ward bed (class A), and an HMO visit priced at its rate type H.
    QVERIFY(p.select(kDependent.first, kDependent.second));
    QCOMPARE(fee(surgeon, u"1"_s),
             QStringList({"priced", "MD", "AGUSTIN, RAMON", "15000", "15000"}));
    QVERIFY(p.select(kHmoVisitRateH.first, kHmoVisitRateH.second));
    QCOMPARE(fee(surgeon, u"2"_s).mid(3), QStringList({"18000", "36000"}));
    QVERIFY(p.prompts.feeAskedFor.isEmpty());

    // A doctor without fees of his own: the doctor's fee window decides, or nobody does.
    p.f.session.hospital.IsShowAmount = true;
    p.prompts.fee = pesos(2500);
    QCOMPARE(fee(internist, u"1"_s).at(3), u"2500"_s);
    p.prompts.fee.reset();
    QCOMPARE(fee(internist, u"1"_s).mid(0, 2), QStringList({"refused", ""}));
    QCOMPARE(p.f.notifier.lastText(), u"No record(s) found in the Doctor's Fee table! \r\nPlease "
                                      u"contact EDP for further assistance."_s);
    // Closed without a fee: the line goes, and nobody is told the table is empty.
    p.f.notifier.clear();
    p.prompts.feeWindowClosed = true;
    QCOMPARE(fee(internist, u"1"_s).mid(0, 2), QStringList({"refused", ""}));
    QVERIFY(p.f.notifier.boxes().isEmpty());
    QCOMPARE(p.prompts.feeAskedFor.size(), 3);
}

void tst_Pricing::doctorsFeeList()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    const auto listed = [](const DoctorsFee &fees) {
        QStringList rows;
        for (const DoctorsFee::Row &r : fees.rows())
            rows << r.roomClass + u' ' + numberText(r.amount) + (r.doctorsOwn ? u" own"_s : u""_s);
        return rows;
    };

    // A doctor with no fee of his own is offered the hospital's standard fees in use, the
    // patient's class (B) highlighted.
    QVERIFY(p.select(kSecondOperation.first, kSecondOperation.second));
    DoctorsFee internist(p.f.session, u"1170"_s, u"BERNARDO, LUZVIMINDA"_s);
    QVERIFY(internist.load());
    QCOMPARE(listed(internist).mid(0, 4), QStringList({"A 15000", "A 5000", "B 16500", "B 5500"}));
    QCOMPARE(internist.rows().size(), 10);
    QCOMPARE(internist.initialRow(), 2);
    QVERIFY(!internist.choice() && !internist.choose(10));
    QVERIFY(internist.choose(3));
    QCOMPARE(internist.choice(), std::optional<Money>(pesos(5500)));

    // A surgeon's own fees come first, his of the patient's class highlighted.
    DoctorsFee surgeon(p.f.session, u"1021"_s, u"AGUSTIN, RAMON"_s);
    QVERIFY(surgeon.load());
    QCOMPARE(listed(surgeon).mid(5, 2), QStringList({"H 18000 own", "A 15000"}));
    QCOMPARE(surgeon.initialRow(), 1);

    // Nothing in use: nothing to offer.
    QVERIFY(db.exec(u"update BUILD_FILE..tbCoDoctorBill set Status = 0 where DoctorID = ''"));
    QVERIFY(internist.load());
    QCOMPARE(internist.rows().size(), 0);
    QCOMPARE(internist.initialRow(), -1);
}

void tst_Pricing::stockPrices_data()
{
    QTest::addColumn<StockCase>("c");
    // Cefazolin at the pharmacy: 185.00 in, 203.50 out, bought at 129.50.
    QTest::newRow("inpatient pays the inpatient price")
        << StockCase{kDependent, "", true, true, true, "185", "185"};
    QTest::newRow("JUF prices an employee's dependent at cost plus 15%")
        << StockCase{kDependent, "JUF", true, false, false, "129.5", "148.925"};
    QTest::newRow("JUF, cost pricing off")
        << StockCase{kDependent, "JUF", false, false, false, "185", "185"};
    QTest::newRow("agreed company price")
        << StockCase{kHmoPrivateRoom, "", false, true, false, "165", "165"};
    QTest::newRow("no agreed price, outpatient of rate H")
        << StockCase{kHmoVisitRateH, "", false, true, false, "203.5", "203.5"};
    QTest::newRow("no agreed price, outpatient of rate A")
        << StockCase{kWalkIn, "", false, true, true, "185", "185"};
    QTest::newRow("outpatient price by rate type")
        << StockCase{kHmoVisitRateH, "", false, false, true, "203.5", "203.5"};
    QTest::newRow("outpatient price by rate type off")
        << StockCase{kHmoVisitRateH, "", false, false, false, "185", "185"};
}

void tst_Pricing::stockPrices()
{
    QFETCH(StockCase, c);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{u"ORSupplyRateBasePType"_s, c.supplyRateByType ? u"1"_s : QString()}}));
    quietPricing(p.f.session.hospital);
    p.f.session.hospital.clientname = c.client;
    p.f.session.hospital.isListCost = c.listCost;
    p.f.session.hospital.IsCompanyPrice = c.companyPrice;
    QVERIFY(p.select(c.patient.first, c.patient.second));

    ComponentContext ctx(p.f.notifier);
    clsDrugPicker picker(ctx);
    QVERIFY(picker.InitConnect(&db));
    picker.Drug()->setLocationID(u"PHA"_s);
    QVERIFY(picker.SearchDrug(u"PH1001"_s));
    ChargeLine line = lineOf(u"PH"_s);
    p.pricing.priceStockItem(line, *picker.Drug());
    QCOMPARE((QStringList{line.item, line.quantity, line.location}),
             QStringList({"PH1001", "1", "PHA"}));
    QCOMPARE(line.unitPrice, c.unitPrice);
    QCOMPARE(line.amount, c.amount);
    // A second unit keeps the line's pricing, cost markup included.
    line.quantity = u"2"_s;
    p.pricing.quantityEntered(line);
    QCOMPARE(line.amountValue(), Money::multiply(ChargeLine::moneyOf(c.amount), 2));

    // A supply the medicine cabinet does not carry is found, without stock or prices.
    picker.Drug()->setLocationID(u"OM"_s);
    QVERIFY(picker.Drug()->SearchDrug(u"CS3001"_s));
    QCOMPARE(picker.Drug()->Invent(), InventRecord());
    QCOMPARE(modGlobals::GetOnHand(p.f.session, u"CS3001"_s, u"OM"_s), 0.0);
    QVERIFY(picker.Drug()->SearchDrug(u"PH1003"_s));
    QCOMPARE(modGlobals::GetOnHand(p.f.session, u"PH1003"_s, u"OM"_s),
             picker.Drug()->Invent().StockOnHand);
    QCOMPARE(picker.Drug()->Invent().SellingPriceIn, pesos(420));
}

// --- The markups --------------------------------------------------------------------------

void tst_Pricing::markupList_data()
{
    QTest::addColumn<bool>("newKind");
    QTest::addColumn<QString>("type");
    QTest::addColumn<MarkupChoice>("choice");
    // The inactive markup of the new kind is not offered: three rows either way.
    QTest::newRow("multiplied") << true << "AFTER OFFICE HOURS"
                                << MarkupChoice{0.25, MarkupType::Multiply};
    QTest::newRow("added") << true << "ISOLATION CASE HANDLING"
                           << MarkupChoice{1500, MarkupType::Add};
    QTest::newRow("older factor") << false << "STAT / EMERGENCY"
                                  << MarkupChoice{1.3, MarkupType::None};
}

void tst_Pricing::markupList()
{
    QFETCH(bool, newKind);
    QFETCH(QString, type);
    QFETCH(MarkupChoice, choice);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{u"UseNewORMarkUp"_s, newKind ? u"1"_s : QString()}}));
    MarkUp markUp(p.f.session);
    // The holiday box starts ticked on Sundays.
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 11, 29), QTime(9, 0))));
    QVERIFY(markUp.load());
    QVERIFY(markUp.holidayPreset());
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 11, 30), QTime(9, 0))));
    QVERIFY(markUp.load());
    QVERIFY(!markUp.holidayPreset());
    QCOMPARE(markUp.rows().size(), 3);
    QCOMPARE(markUp.choice().value, 0.0);
    const auto choose = [&] {
        for (int i = 0; i < markUp.rows().size(); ++i) {
            if (markUp.rows().at(i).type == type)
                markUp.choose(i);
        }
        return std::pair(markUp.choice().value, markUp.choice().type);
    };
    QCOMPARE(choose(), std::pair(choice.value, choice.type));

    // A row of the new kind with an operation it does not know is no markup; loading again
    // starts from none.
    if (newKind) {
        QVERIFY(db.exec(u"update STATION..tbORMarkUp set Operation = '/' where Description = :d",
                        {{u"d"_s, type}}));
        QVERIFY(markUp.load());
        QCOMPARE(choose(), std::pair(0.0, MarkupType::None));
    }
}

void tst_Pricing::markupSettings()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    const auto count = [&](const char *where) {
        return p.number(u"select count(*) from STATION..tbORMarkUp where %1"_s.arg(
            QLatin1String(where)));
    };
    MarkupSettings settings(p.f.session);
    QVERIFY(settings.search(QString()));
    QCOMPARE(settings.listing().size(), 4);
    QCOMPARE(settings.listingMessage(), QString());

    // By the beginning of the description, in any case, or by code; wildcards are taken as
    // typed.
    QVERIFY(settings.search(u"stat"_s));
    QCOMPARE(settings.listing().size(), 1);
    const MarkupEntry stat = settings.listing().first();
    QCOMPARE((QStringList{stat.description, stat.markup, stat.operation}),
             QStringList({"STAT / EMERGENCY CASE", "0.3", "*"}));
    QVERIFY(settings.search(stat.code));
    QCOMPARE(settings.listing().value(0).code, stat.code);
    QVERIFY(settings.search(u"%"_s));
    QVERIFY(settings.listing().isEmpty());
    QCOMPARE(settings.listingMessage(), u"No data found."_s);

    // Edit before anything is shown.
    QVERIFY(!settings.edit());
    QCOMPARE(p.f.notifier.lastText(), u"Sorry, no code to edit."_s);

    QVERIFY(settings.search(QString()));
    settings.add();
    QCOMPARE(settings.entry().code, u"NEW"_s);
    QCOMPARE(settings.entry().validFrom, QDate(2026, 12, 1));
    settings.entry().description = u"weekend elective case"_s;
    settings.entry().markup = u"0.15"_s;
    settings.entry().isDefault = true;
    // Answering No saves nothing.
    QVERIFY(!settings.save());
    QCOMPARE(count("1 = 1"), 4);
    p.f.notifier.answer({true});
    QVERIFY(settings.save());
    QCOMPARE(p.f.notifier.lastText(), u"Mark up successfully saved."_s);
    QCOMPARE(settings.listing().size(), 5);
    QCOMPARE(p.rows(u"select Description, Markup, Operation, Status from STATION..tbORMarkUp "
                    u"where MarkupID = :id"_s,
                    {{u"id"_s, settings.entry().code.toInt()}}),
             u"WEEKEND ELECTIVE CASE|0.15|*|A"_s);
    // Only one markup is the default.
    QCOMPARE(count("IsDefault = 1"), 1);

    // Edit the isolation fee into an inactive added markup.
    for (int i = 0; i < settings.listing().size(); ++i) {
        if (settings.listing().at(i).description.startsWith(u"ISOLATION"))
            settings.select(i);
    }
    QVERIFY(settings.edit());
    settings.entry().markup = u"2000"_s;
    settings.entry().active = false;
    p.f.notifier.answer({true});
    QVERIFY(settings.save());
    QCOMPARE(count("Status = 'I'"), 2);
    QCOMPARE(count("Markup = 2000 and Operation = '+'"), 1);

    // Refused saves keep the entry open and write nothing.
    const std::tuple<QString, bool, bool, QString> refusals[] = {
        {u"   "_s, true, false, u"Can't save blank description."_s},
        {u"PEDIATRIC CASE"_s, false, true, u"Can't set as default value if item is inactive."_s},
        {u"after office"_s, true, false, u"Description already exists."_s}};
    for (const auto &[description, active, isDefault, message] : refusals) {
        settings.add();
        settings.entry().description = description;
        settings.entry().markup = u"0.2"_s;
        settings.entry().active = active;
        settings.entry().isDefault = isDefault;
        p.f.notifier.clear();
        p.f.notifier.answer({true});
        QVERIFY(!settings.save());
        QCOMPARE(p.f.notifier.boxes().first().text, u"Are you sure you want to save this entry?"_s);
        QCOMPARE(p.f.notifier.lastText(), message);
        QVERIFY(settings.isEditing());
        QCOMPARE(count("1 = 1"), 5);
    }
}

QTEST_GUILESS_MAIN(tst_Pricing)
#include "tst_pricing.moc"
