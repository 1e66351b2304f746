// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The pricing rules of the entry grids on the demo hospital's patients, on every backend.
#include "charging/modPricing.h"
#include "charging/PricingFixture.h"
#include "patients/modGlobals.h"
#include "shell/components/clsDrugPicker.h"
#include "shell/components/CodeLookupRecords.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

namespace {

using Patient = std::pair<QString, QString>;
const Patient kHmoVisitRateH{QStringLiteral("MANANSALA"), QStringLiteral("ROSEMARIE")};
const Patient kSpecialNine{QStringLiteral("GUEVARRA"), QStringLiteral("TEOFILO")};
const Patient kSpecialOneVisit{QStringLiteral("BAYLON"), QStringLiteral("CONCHITA")};
const Patient kForeigner{QStringLiteral("HARTLEY"), QStringLiteral("GRAHAM")};
const Patient kErVisit{QStringLiteral("LUMANLAN"), QStringLiteral("ARVIN")};
const Patient kWalkIn{QStringLiteral("SALONGA"), QStringLiteral("JENALYN")};
const Patient kDependent{QStringLiteral("ESTACIO"), QStringLiteral("WILMA")};
const Patient kHmoPrivateRoom{QStringLiteral("VALENZUELA"), QStringLiteral("RONALDO")};
const Patient kSecondOperation{QStringLiteral("AGUINALDO"), QStringLiteral("MARISSA")};
const Patient kHmoErVisit{QStringLiteral("CAPISTRANO"), QStringLiteral("EFREN")};

// An item whose price tells its rate letter: A 1000, B 1100, ... I 1800.
OtherRevenueRecord item(const QString &code, const QString &section)
{
    OtherRevenueRecord r;
    r.OtherSectionID = section;
    r.ResultCode = code;
    r.OtherRevenue = QStringLiteral("ITEM ") + code;
    Money *rates[] = {&r.RateA, &r.RateB, &r.RateC, &r.RateD, &r.RateE,
                      &r.RateF, &r.RateG, &r.RateH, &r.RateI};
    for (int i = 0; i < 9; ++i)
        *rates[i] = Money::fromMinor((1000 + 100 * i) * Money::kScale);
    return r;
}

ChargeLine lineOf(const QString &department, const QString &quantity = QString())
{
    ChargeLine line;
    line.department = department;
    line.quantity = quantity;
    return line;
}

// Turns off what the demo hospital turns on, so each case sets only what it is about.
void quietPricing(HospitalSettings &hs)
{
    hs.AllowAfterTimeRate = false;
    hs.AutoORMarkUp = false;
    hs.IsShowMarkUp = false;
    hs.isstat = false;
    hs.SecProcPercentDiscount = 0;
}

const QList<std::pair<QString, QString>> kNoRateSwitches{
    {QStringLiteral("EnableORHMORate"), QString()},
    {QStringLiteral("ORRateIforER"), QString()},
    {QStringLiteral("ORHMORateByRoomClass"), QString()},
    {QStringLiteral("ORAllowInternationalRate"), QString()}};

} // namespace

class tst_Pricing : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void rateLetter_data();
    void rateLetter();
    void serviceRates_data();
    void serviceRates();
    void orProcedureRuv_data();
    void orProcedureRuv();
    void afterTimeHours_data();
    void afterTimeHours();
    void afterTimeRateSkipsTheMarkup();
    void markups_data();
    void markups();
    void secondOperation();
    void statQuestion_data();
    void statQuestion();
    void statPatient();
    void manualEdits_data();
    void manualEdits();
    void zeroAmount_data();
    void zeroAmount();
    void doctorsFees();
    void stockPrices_data();
    void stockPrices();
    void drugPicker();
    void finishingAndInstrumentFee();
    void examsAndPackages();
};

void tst_Pricing::rateLetter_data()
{
    QTest::addColumn<Patient>("patient");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("letter");
    QTest::newRow("regular inpatient") << kDependent << "" << "A";
    QTest::newRow("HMO visit of rate type H, any client") << kHmoVisitRateH << "KWOSH"
                                                          << "A";
    QTest::newRow("HMO visit of rate type H, LOBRA") << kHmoVisitRateH << "LOBRA"
                                                     << "H";
    QTest::newRow("special class 9") << kSpecialNine << "" << "F";
    QTest::newRow("special class 1 visit") << kSpecialOneVisit << "" << "F";
}

void tst_Pricing::rateLetter()
{
    QFETCH(Patient, patient);
    QFETCH(QString, client);
    QFETCH(QString, letter);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.select(patient.first, patient.second));
    p.f.session.hospital.clientname = client;
    const CurrentPatientRecord &stay = p.f.session.CurrentPatient;
    QCOMPARE(modPricing::GetPatientRateLetter(p.f.session, stay.IdNum, stay.PatientClass,
                                              stay.RoomID),
             letter);

    // Any special class other than 1 and 9 is priced as a regular patient, as is a stay the
    // database does not know.
    QVERIFY(db.exec(u"update PATIENT_DATA..tbPatient2 set isSpecial = 5 where IDNum = :id",
                    {{QStringLiteral("id"), stay.IdNum}}));
    QVERIFY(db.exec(u"update PATIENT_DATA..tbOutPatient set isSpecial = 5 where IDNum = :id",
                    {{QStringLiteral("id"), stay.IdNum}}));
    QCOMPARE(modPricing::GetPatientRateLetter(p.f.session, stay.IdNum, stay.PatientClass,
                                              stay.RoomID),
             QStringLiteral("A"));
    QCOMPARE(modPricing::GetPatientRateLetter(p.f.session, QStringLiteral("0000000"),
                                              QStringLiteral("I"), QString()),
             QStringLiteral("A"));
}

void tst_Pricing::serviceRates_data()
{
    QTest::addColumn<Patient>("patient");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("code");
    QTest::addColumn<QStringList>("switchesOn");
    QTest::addColumn<QString>("unitPrice");

    QTest::newRow("regular patient, rate A")
        << kDependent << "" << "OS" << "OS2003" << QStringList() << "1000";
    QTest::newRow("KWOSH prices its HMO patients at H")
        << kHmoPrivateRoom << "KWOSH" << "OS" << "OS2003" << QStringList() << "1700";
    QTest::newRow("an HMO patient elsewhere stays at A")
        << kHmoPrivateRoom << "" << "OS" << "OS2003" << QStringList() << "1000";
    QTest::newRow("FENDO walk-in at the medical records")
        << kWalkIn << "FENDO" << "MR" << "MR001" << QStringList() << "1700";
    QTest::newRow("FENDO walk-in elsewhere")
        << kWalkIn << "FENDO" << "OS" << "OS2003" << QStringList() << "1000";
    QTest::newRow("HMO rate switched on")
        << kHmoPrivateRoom << "" << "OS" << "OS2003" << QStringList{"EnableORHMORate"} << "1700";
    QTest::newRow("ER visit at rate I")
        << kErVisit << "" << "OS" << "OS2003" << QStringList{"ORRateIforER"} << "1800";
    QTest::newRow("HMO patient in a private room, rate by room class")
        << kHmoPrivateRoom << "" << "OR" << "OR1101"
        << QStringList{"EnableORHMORate", "ORHMORateByRoomClass"} << "6600";
    QTest::newRow("HMO ER visit, rate I by class")
        << kHmoErVisit << "" << "OR" << "OR1101"
        << QStringList{"EnableORHMORate", "ORRateIforER", "ORHMORateByRoomClass"} << "6120";
    QTest::newRow("non-HMO ER visit keeps rate I by class")
        << kErVisit << "" << "OR" << "OR1101"
        << QStringList{"ORRateIforER", "ORHMORateByRoomClass"} << "1800";
    QTest::newRow("international patient pays a tenth more")
        << kForeigner << "" << "OS" << "OS2003" << QStringList{"ORAllowInternationalRate"}
        << "1100";
    QTest::newRow("international surcharge off")
        << kForeigner << "" << "OS" << "OS2003" << QStringList() << "1000";
}

void tst_Pricing::serviceRates()
{
    QFETCH(Patient, patient);
    QFETCH(QString, client);
    QFETCH(QString, department);
    QFETCH(QString, code);
    QFETCH(QStringList, switchesOn);
    QFETCH(QString, unitPrice);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    auto switches = kNoRateSwitches;
    for (const QString &on : switchesOn)
        switches.append({on, QStringLiteral("1")});
    QVERIFY(p.switches(switches));
    quietPricing(p.f.session.hospital);
    p.f.session.hospital.clientname = client;
    QVERIFY(p.select(patient.first, patient.second));

    ChargeLine line = lineOf(department);
    p.pricing.priceServiceItem(line, item(code, department));
    QCOMPARE(line.item, code);
    QCOMPARE(line.unitPrice, unitPrice);
    QCOMPARE(line.listPrice, unitPrice);
    QVERIFY(p.f.notifier.boxes().isEmpty());
}

void tst_Pricing::orProcedureRuv_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("client");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("orSection");
    // The patient's ward bed is of class A, where a unit is worth 320 pesos.
    QTest::newRow("procedure with RUV") << "OR1001" << "" << "19200" << "P";
    QTest::newRow("procedure without RUV keeps its rate") << "OR1008" << "" << "1000"
                                                          << "P";
    QTest::newRow("QELM keeps the rate") << "OR1001" << "QELM" << "1000"
                                         << "P";
    QTest::newRow("OR fee is no procedure") << "OR1101" << "" << "1000" << "";
}

void tst_Pricing::orProcedureRuv()
{
    QFETCH(QString, code);
    QFETCH(QString, client);
    QFETCH(QString, unitPrice);
    QFETCH(QString, orSection);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches(kNoRateSwitches));
    quietPricing(p.f.session.hospital);
    p.f.session.hospital.clientname = client;
    QVERIFY(p.select(kDependent.first, kDependent.second));
    ChargeLine line = lineOf(QStringLiteral("OR"));
    p.pricing.priceServiceItem(line, item(code, QStringLiteral("OR")));
    QCOMPARE(line.unitPrice, unitPrice);
    QCOMPARE(line.orSection, orSection);
}

void tst_Pricing::afterTimeHours_data()
{
    QTest::addColumn<QString>("start");
    QTest::addColumn<int>("hours");
    QTest::addColumn<int>("hour");
    QTest::addColumn<bool>("afterTime");
    QTest::addColumn<bool>("badlySet");
    QTest::newRow("22+4 at 22") << "22:00" << 4 << 22 << true << false;
    QTest::newRow("22+4 at 23") << "22:00" << 4 << 23 << true << false;
    QTest::newRow("22+4 at 0") << "22:00" << 4 << 0 << true << false;
    QTest::newRow("22+4 at 1") << "22:00" << 4 << 1 << true << false;
    QTest::newRow("22+4 at 2") << "22:00" << 4 << 2 << false << false;
    QTest::newRow("22+4 at 21") << "22:00" << 4 << 21 << false << false;
    QTest::newRow("8+10 at 8") << "08:00" << 10 << 8 << true << false;
    QTest::newRow("8+10 at 17") << "08:00" << 10 << 17 << true << false;
    QTest::newRow("8+10 at 18") << "08:00" << 10 << 18 << false << false;
    QTest::newRow("8+10 at 7") << "08:00" << 10 << 7 << false << false;
    QTest::newRow("minutes are not read") << "08:59" << 10 << 17 << true << false;
    QTest::newRow("24 hours at 3") << "17:00" << 24 << 3 << true << false;
    QTest::newRow("24 hours at 16") << "17:00" << 24 << 16 << true << false;
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
    if (badlySet) {
        QCOMPARE(p.f.notifier.lastText(),
                 QStringLiteral("STAT time frame is not properly configured. Please notify the "
                                "EDP department."));
        QCOMPARE(p.f.notifier.boxes().last().title, QStringLiteral("Notification"));
    } else {
        QVERIFY(p.f.notifier.boxes().isEmpty());
    }
}

void tst_Pricing::afterTimeRateSkipsTheMarkup()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches(kNoRateSwitches));
    HospitalSettings &hs = p.f.session.hospital;
    quietPricing(hs);
    hs.AllowAfterTimeRate = true;
    hs.AutoORMarkUp = true;
    hs.IsShowMarkUp = true;
    hs.ORAfterTime = QStringLiteral("22:00");
    hs.AfterTimeStatHours = 4;
    hs.ORAfterTimeRate = 30;
    QVERIFY(p.select(kDependent.first, kDependent.second));
    const OtherRevenueRecord mastectomy = item(QStringLiteral("OR1008"), QStringLiteral("OR"));

    // Past ten at night the procedure is raised by 30 percent, and no markup is asked.
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 1), QTime(23, 15))));
    ChargeLine late = lineOf(QStringLiteral("OR"), QStringLiteral("2"));
    p.pricing.priceServiceItem(late, mastectomy);
    QCOMPARE(late.unitPrice, QStringLiteral("1300"));
    QCOMPARE(late.amount, QStringLiteral("2600"));
    QVERIFY(late.raisedByAfterTime);
    QCOMPARE(p.prompts.markupAsked, 0);

    // At noon of an ordinary day the markup window is offered instead.
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 1), QTime(12, 0))));
    ChargeLine noon = lineOf(QStringLiteral("OR"));
    p.pricing.priceServiceItem(noon, mastectomy);
    QCOMPARE(noon.unitPrice, QStringLiteral("1000"));
    QVERIFY(!noon.raisedByAfterTime);
    QCOMPARE(p.prompts.markupAsked, 1);

    // Christmas noon is a holiday: raised whatever the hour.
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 25), QTime(12, 0))));
    ChargeLine holiday = lineOf(QStringLiteral("OR"));
    p.pricing.priceServiceItem(holiday, mastectomy);
    QCOMPARE(holiday.unitPrice, QStringLiteral("1300"));
    QCOMPARE(p.prompts.markupAsked, 1);

    // Without the switch there is no after-time rate at all.
    hs.AllowAfterTimeRate = false;
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 1), QTime(23, 15))));
    ChargeLine off = lineOf(QStringLiteral("OR"));
    p.pricing.priceServiceItem(off, mastectomy);
    QCOMPARE(off.unitPrice, QStringLiteral("1000"));
    QCOMPARE(p.prompts.markupAsked, 2);
}

void tst_Pricing::markups_data()
{
    QTest::addColumn<bool>("newKind");
    QTest::addColumn<double>("markup");
    QTest::addColumn<int>("type");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("markupText");
    QTest::newRow("0.25 multiplied") << true << 0.25 << 1 << "1250" << "25%";
    QTest::newRow("0.25 added") << true << 0.25 << 2 << "1000.25" << "0.25";
    QTest::newRow("old factor 1.3") << false << 1.3 << 0 << "1300" << "30";
    QTest::newRow("none chosen") << true << 0.0 << 0 << "1000" << "";
}

void tst_Pricing::markups()
{
    QFETCH(bool, newKind);
    QFETCH(double, markup);
    QFETCH(int, type);
    QFETCH(QString, unitPrice);
    QFETCH(QString, markupText);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{QStringLiteral("UseNewORMarkUp"), newKind ? "1" : ""}}));
    p.prompts.markups.enqueue({markup, MarkupType(type)});
    ChargeLine line = lineOf(QStringLiteral("OR"));
    line.unitPrice = QStringLiteral("1000");
    line.markupText = QStringLiteral("left from before");
    p.pricing.applyMarkup(line);
    QCOMPARE(line.unitPrice, unitPrice);
    QCOMPARE(line.markupText, markupText);
    QCOMPARE(p.pricing.state().markupValue, markup);
    QCOMPARE(int(p.pricing.state().markupType), type);
}

void tst_Pricing::secondOperation()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    p.f.session.hospital.SecProcPercentDiscount = 50;
    QVERIFY(p.select(kDependent.first, kDependent.second));
    ChargeLine line = lineOf(QStringLiteral("OR"), QStringLiteral("1"));
    line.unitPrice = QStringLiteral("10000");
    p.f.notifier.answer({true});
    p.pricing.ApplySecondOperationDiscount(line);
    QCOMPARE(line.unitPrice, QStringLiteral("5000.00"));
    QCOMPARE(line.amount, QStringLiteral("5000.00"));
    QCOMPARE(line.secondOperation, QStringLiteral("1"));
    QCOMPARE(p.f.notifier.lastText(),
             QStringLiteral("Would you like to tag this operation as patient's second operation? "
                            "\n\nSecond operation will have a 50% discount. \n\nClick Yes to "
                            "proceed and No to charge with regular amount."));
    QCOMPARE(p.f.notifier.boxes().last().title, QStringLiteral("Confirmation"));

    ChargeLine regular = lineOf(QStringLiteral("OR"), QStringLiteral("1"));
    regular.unitPrice = QStringLiteral("10000");
    p.f.notifier.answer({false});
    p.pricing.ApplySecondOperationDiscount(regular);
    QCOMPARE(regular.unitPrice, QStringLiteral("10000"));
    QCOMPARE(regular.secondOperation, QStringLiteral("0"));

    // The delivery room already charged this mother's second operation: nobody asks again.
    QVERIFY(p.select(kSecondOperation.first, kSecondOperation.second));
    p.f.notifier.clear();
    ChargeLine again = lineOf(QStringLiteral("OR"), QStringLiteral("1"));
    again.unitPrice = QStringLiteral("10000");
    p.pricing.ApplySecondOperationDiscount(again);
    QVERIFY(p.f.notifier.boxes().isEmpty());
    QCOMPARE(again.unitPrice, QStringLiteral("10000"));
    QCOMPARE(again.secondOperation, QString());

    // A revoked tag does not count.
    QVERIFY(db.exec(u"update STATION..tbNurseLogBook set RecordStatus = 'R' where IDNum = :id",
                    {{QStringLiteral("id"), p.f.session.CurrentPatient.IdNum}}));
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
    QTest::newRow("not asked with the automatic after-time rate") << true << true << "2000"
                                                                  << "";
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
    ChargeLine line = lineOf(QStringLiteral("OS"), QStringLiteral("2"));
    line.unitPrice = QStringLiteral("1000");
    p.f.notifier.answer({answer});
    p.pricing.quantityEntered(line);
    QCOMPARE(line.amount, amount);
    QCOMPARE(line.unitPrice, QStringLiteral("1000"));
    QCOMPARE(line.statFlag, statFlag);
    QCOMPARE(p.pricing.state().statFlag, statFlag);
    QCOMPARE(p.pricing.state().statAmount, statFlag == u"Y" ? amount : QString());
    QCOMPARE(p.f.notifier.boxes().size(), autoMarkup ? 0 : 1);
    if (!autoMarkup)
        QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Is it Stat/Holiday?"));
}

void tst_Pricing::statPatient()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    auto complete = [](const QString &section, const QString &amount) {
        ChargeLine l = lineOf(QStringLiteral("OR"), QStringLiteral("1"));
        l.item = QStringLiteral("OR1001");
        l.description = QStringLiteral("APPENDECTOMY, OPEN");
        l.unitPrice = QStringLiteral("8000");
        l.amount = amount;
        l.orSection = section;
        return l;
    };
    ChargeLine unfinished = complete(QStringLiteral("P"), QString());
    QList<ChargeLine> lines{complete(QStringLiteral("P"), QStringLiteral("8000")),
                            complete(QString(), QStringLiteral("8000")),
                            complete(QStringLiteral("P"), QStringLiteral("0")), unfinished};
    p.pricing.setStatPatient(lines, true);
    QCOMPARE(lines[0].amount, QStringLiteral("10000"));
    QCOMPARE(lines[1].amount, QStringLiteral("8000"));
    QCOMPARE(lines[2].amount, QStringLiteral("0"));
    QCOMPARE(lines[3].amount, QString());
    p.pricing.setStatPatient(lines, false);
    QCOMPARE(lines[0].amount, QStringLiteral("8000"));
    QCOMPARE(lines[2].amount, QStringLiteral("8000"));
    QCOMPARE(lines[3].amount, QString());
}

void tst_Pricing::manualEdits_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("code");
    QTest::addColumn<bool>("lowerRefused");
    QTest::addColumn<bool>("zeroForProcedures");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("taken");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("amount");
    QTest::newRow("lower price refused") << "MD"
                                         << "1021" << true << false << "1,500" << false << "2000"
                                         << "4000";
    QTest::newRow("lower price taken") << "MD"
                                       << "1021" << false << false << "1,500" << true << "1500"
                                       << "3000";
    QTest::newRow("higher price taken") << "MD"
                                        << "1021" << true << false << "2,500.50" << true
                                        << "2500.5" << "5001";
    QTest::newRow("zero on an OR procedure") << "OR"
                                             << "OR1001" << true << true << "0" << true << "0"
                                             << "0";
    QTest::newRow("zero on an OR fee is lower") << "OR"
                                                << "OR1101" << true << true << "0" << false
                                                << "2000" << "4000";
}

void tst_Pricing::manualEdits()
{
    QFETCH(QString, department);
    QFETCH(QString, code);
    QFETCH(bool, lowerRefused);
    QFETCH(bool, zeroForProcedures);
    QFETCH(QString, typed);
    QFETCH(bool, taken);
    QFETCH(QString, unitPrice);
    QFETCH(QString, amount);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    p.f.session.hospital.isAllowLowerUnitPrice = lowerRefused;
    p.f.session.hospital.IsAllowZeroAmountForORProcedures = zeroForProcedures;
    ChargeLine line = lineOf(department, QStringLiteral("2"));
    line.item = code;
    line.unitPrice = QStringLiteral("2000");
    line.listPrice = QStringLiteral("2000");
    QCOMPARE(p.pricing.unitPriceTyped(line, typed), taken);
    QCOMPARE(line.unitPrice, unitPrice);
    QCOMPARE(line.amount, amount);
    if (taken) {
        QVERIFY(p.f.notifier.boxes().isEmpty());
    } else {
        QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Unit Price should be >= 2000"));
        QCOMPARE(p.f.notifier.boxes().last().title, QString());
        QCOMPARE(p.f.notifier.boxes().last().icon, Notifier::Icon::None);
    }

    // The total typed over: above zero and not below quantity × unit price.
    p.f.notifier.clear();
    line.unitPrice = QStringLiteral("2000");
    line.amount = QStringLiteral("4000");
    QVERIFY(!p.pricing.amountTyped(line, QStringLiteral("0")));
    QCOMPARE(p.f.notifier.lastText(), QStringLiteral("Amount should be greater than zero(0)."));
    QVERIFY(!p.pricing.amountTyped(line, QStringLiteral("3,999.99")));
    QCOMPARE(p.f.notifier.lastText(),
             QStringLiteral("Total Amount should be greater than or equal to QTY * Unit Price."));
    QCOMPARE(line.amount, QStringLiteral("4000"));
    QVERIFY(p.pricing.amountTyped(line, QStringLiteral("4,250.5")));
    QCOMPARE(line.amount, QStringLiteral("4250.5"));

    // Who may type the unit price: a doctor's fee always, an OR line only when allowed.
    QCOMPARE(p.pricing.canEditUnitPrice(line), department == u"MD");
    QVERIFY(p.switches({{QStringLiteral("EditORAmount"), QStringLiteral("1")}}));
    QCOMPARE(p.pricing.canEditUnitPrice(line), department == u"MD" || department == u"OR");
    QVERIFY(!p.pricing.canEditUnitPrice(lineOf(QStringLiteral("OS"))));
}

void tst_Pricing::zeroAmount_data()
{
    QTest::addColumn<QString>("department");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<bool>("showAmount");
    QTest::addColumn<bool>("refused");
    QTest::newRow("supply at zero") << "OS" << "0" << false << true;
    QTest::newRow("supply at zero, amounts shown") << "OS" << "0" << true << false;
    QTest::newRow("OR line at zero") << "OR" << "0" << false << false;
    QTest::newRow("supply with a price") << "OS" << "35" << false << false;
}

void tst_Pricing::zeroAmount()
{
    QFETCH(QString, department);
    QFETCH(QString, unitPrice);
    QFETCH(bool, showAmount);
    QFETCH(bool, refused);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    p.f.session.hospital.IsShowAmount = showAmount;
    ChargeLine line = lineOf(department, QStringLiteral("1"));
    line.item = QStringLiteral("X1");
    line.unitPrice = unitPrice;
    QCOMPARE(p.pricing.refuseZeroAmount(line), refused);
    QCOMPARE(line.item.isEmpty(), refused);
    if (refused) {
        QCOMPARE(p.f.notifier.lastText(),
                 QStringLiteral("Record(s) indicate that the amount of the item is zero! \r\n"
                                "Please contact EDP for further assistance."));
        QCOMPARE(p.f.notifier.boxes().last().icon, Notifier::Icon::Critical);
    }
}

void tst_Pricing::doctorsFees()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    const DoctorRecord surgeon{QStringLiteral("1021"), QStringLiteral("AGUSTIN"),
                               QStringLiteral("RAMON"), QString()};
    const DoctorRecord internist{QStringLiteral("1170"), QStringLiteral("BERNARDO"),
                                 QStringLiteral("LUZVIMINDA"), QString()};

    // An inpatient in a ward bed (class A), and an HMO visit priced at its rate type H.
    QVERIFY(p.select(kDependent.first, kDependent.second));
    ChargeLine ward = lineOf(QStringLiteral("MD"), QStringLiteral("1"));
    QVERIFY(p.pricing.priceDoctorsFee(ward, surgeon));
    QCOMPARE(ward.description, QStringLiteral("AGUSTIN, RAMON"));
    QCOMPARE(ward.unitPrice, QStringLiteral("15000"));
    QCOMPARE(ward.amount, QStringLiteral("15000"));
    QVERIFY(p.select(kHmoVisitRateH.first, kHmoVisitRateH.second));
    ChargeLine visit = lineOf(QStringLiteral("MD"), QStringLiteral("2"));
    QVERIFY(p.pricing.priceDoctorsFee(visit, surgeon));
    QCOMPARE(visit.unitPrice, QStringLiteral("18000"));
    QCOMPARE(visit.amount, QStringLiteral("36000"));
    QVERIFY(p.prompts.feeAskedFor.isEmpty());

    // A doctor without fees of his own: the doctor's fee window decides, or nobody does.
    p.f.session.hospital.IsShowAmount = true;
    p.prompts.fee = Money::fromMinor(2500 * Money::kScale);
    ChargeLine chosen = lineOf(QStringLiteral("MD"), QStringLiteral("1"));
    QVERIFY(p.pricing.priceDoctorsFee(chosen, internist));
    QCOMPARE(chosen.unitPrice, QStringLiteral("2500"));
    p.prompts.fee.reset();
    ChargeLine none = lineOf(QStringLiteral("MD"), QStringLiteral("1"));
    QVERIFY(!p.pricing.priceDoctorsFee(none, internist));
    QCOMPARE(none.department, QString());
    QCOMPARE(p.f.notifier.lastText(),
             QStringLiteral("No record(s) found in the Doctor's Fee table! \r\nPlease contact EDP "
                            "for further assistance."));
    QCOMPARE(p.prompts.feeAskedFor, QStringList({"1170", "1170"}));
}

void tst_Pricing::stockPrices_data()
{
    QTest::addColumn<Patient>("patient");
    QTest::addColumn<QString>("client");
    QTest::addColumn<bool>("listCost");
    QTest::addColumn<bool>("companyPrice");
    QTest::addColumn<bool>("supplyRateByType");
    QTest::addColumn<QString>("unitPrice");
    QTest::addColumn<QString>("amount");
    // Cefazolin at the pharmacy: 185.00 in, 203.50 out, bought at 129.50.
    QTest::newRow("inpatient pays the inpatient price")
        << kDependent << "" << true << true << true << "185" << "185";
    QTest::newRow("JUF prices an employee's dependent at cost plus 15%")
        << kDependent << "JUF" << true << false << false << "129.5" << "148.925";
    QTest::newRow("JUF, cost pricing off") << kDependent << "JUF" << false << false << false
                                           << "185" << "185";
    QTest::newRow("agreed company price") << kHmoPrivateRoom << "" << false << true << false
                                          << "165" << "165";
    QTest::newRow("no agreed price, outpatient of rate H")
        << kHmoVisitRateH << "" << false << true << false << "203.5" << "203.5";
    QTest::newRow("no agreed price, outpatient of rate A")
        << kWalkIn << "" << false << true << true << "185" << "185";
    QTest::newRow("outpatient price by rate type") << kHmoVisitRateH << "" << false << false
                                                   << true << "203.5" << "203.5";
    QTest::newRow("outpatient price by rate type off")
        << kHmoVisitRateH << "" << false << false << false << "185" << "185";
}

void tst_Pricing::stockPrices()
{
    QFETCH(Patient, patient);
    QFETCH(QString, client);
    QFETCH(bool, listCost);
    QFETCH(bool, companyPrice);
    QFETCH(bool, supplyRateByType);
    QFETCH(QString, unitPrice);
    QFETCH(QString, amount);
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.switches({{QStringLiteral("ORSupplyRateBasePType"), supplyRateByType ? "1" : ""}}));
    quietPricing(p.f.session.hospital);
    p.f.session.hospital.clientname = client;
    p.f.session.hospital.isListCost = listCost;
    p.f.session.hospital.IsCompanyPrice = companyPrice;
    QVERIFY(p.select(patient.first, patient.second));

    ComponentContext ctx(p.f.notifier);
    clsDrugPicker picker(ctx);
    QVERIFY(picker.InitConnect(&db));
    picker.Drug()->setLocationID(QStringLiteral("PHA"));
    QVERIFY(picker.SearchDrug(QStringLiteral("PH1001")));
    ChargeLine line = lineOf(QStringLiteral("PH"));
    p.pricing.priceStockItem(line, *picker.Drug());
    QCOMPARE(line.item, QStringLiteral("PH1001"));
    QCOMPARE(line.quantity, QStringLiteral("1"));
    QCOMPARE(line.location, QStringLiteral("PHA"));
    QCOMPARE(line.unitPrice, unitPrice);
    QCOMPARE(line.amount, amount);

    // A second unit keeps the line's pricing, cost markup included.
    line.quantity = QStringLiteral("2");
    p.pricing.quantityEntered(line);
    QCOMPARE(line.amountValue(), Money::multiply(ChargeLine::moneyOf(amount), 2));
}

void tst_Pricing::drugPicker()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    ComponentContext ctx(p.f.notifier);
    clsDrugPicker picker(ctx);
    QVERIFY(!picker.SearchDrug(QStringLiteral("PH1001"))); // no connection yet
    QVERIFY(picker.InitConnect(&db));
    clsDrug *drug = picker.Drug();
    drug->setLocationID(QStringLiteral("OM"));
    QVERIFY(drug->SearchDrug(QStringLiteral("PH1003")));
    QCOMPARE(drug->DrugName(), QStringLiteral("PROPOFOL 10 MG/ML, 20 ML AMPULE"));
    QCOMPARE(drug->GenericName(), QStringLiteral("PROPOFOL"));
    QCOMPARE(drug->Status(), QStringLiteral("A"));
    QVERIFY(drug->Invent().StockOnHand > 0);
    QCOMPARE(drug->Invent().SellingPriceIn, Money::fromMinor(420 * Money::kScale));
    QCOMPARE(modGlobals::GetOnHand(p.f.session, QStringLiteral("PH1003"), QStringLiteral("OM")),
             drug->Invent().StockOnHand);

    // A supply the medicine cabinet does not carry is found without stock or prices.
    QVERIFY(drug->SearchDrug(QStringLiteral("CS3001")));
    QCOMPARE(drug->Invent(), InventRecord());
    QCOMPARE(modGlobals::GetOnHand(p.f.session, QStringLiteral("CS3001"), QStringLiteral("OM")),
             0.0);
    QVERIFY(drug->SearchDrug(QStringLiteral("PH1011")));
    QCOMPARE(drug->Invent().StockOnHand, 0.0);
    QVERIFY(drug->SearchDrug(QStringLiteral("PH1010")));
    QCOMPARE(drug->Status(), QStringLiteral("I"));
    QVERIFY(!drug->SearchDrug(QStringLiteral("PH9999")));
    QCOMPARE(drug->DrugCode(), QString());
    QVERIFY(p.f.notifier.boxes().isEmpty());
}

void tst_Pricing::finishingAndInstrumentFee()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    QVERIFY(p.select(kDependent.first, kDependent.second));
    ChargeLine line = lineOf(QStringLiteral("OR"), QStringLiteral("1"));
    line.amount = QStringLiteral("18000");
    line.mealAmount = QStringLiteral("750");
    p.pricing.finishLine(line);
    QCOMPARE(line.arCode, QStringLiteral("1131-OR-1"));
    QCOMPARE(line.amount, QStringLiteral("18750"));
    ChargeLine supply = lineOf(QStringLiteral("OS"), QStringLiteral("1"));
    supply.amount = QStringLiteral("240");
    p.pricing.finishLine(supply);
    QCOMPARE(supply.arCode, QString());
    QCOMPARE(supply.amount, QStringLiteral("240"));

    // The demo hospital charges its instrument handling fee, OR1105, at 500 a set.
    quietPricing(p.f.session.hospital);
    ChargeLine sets = lineOf(QStringLiteral("OR"), QStringLiteral("3"));
    sets.item = QStringLiteral("OR1105");
    sets.unitPrice = QStringLiteral("450");
    p.pricing.quantityEntered(sets);
    QCOMPARE(sets.amount, QStringLiteral("1500"));
}

void tst_Pricing::examsAndPackages()
{
    KESTREL_OPEN_DEMO(db);
    test::PricingFixture p(db);
    Session &s = p.f.session;
    const QString circumcision = QStringLiteral("OPK-CIRC");
    QCOMPARE(modPricing::GetPackageRate(s, circumcision, QStringLiteral("A")),
             Money::fromMinor(4500 * Money::kScale));
    QCOMPARE(modPricing::GetPackageRate(s, circumcision, QStringLiteral("E")),
             Money::fromMinor(6000 * Money::kScale));
    QCOMPARE(modPricing::GetPackageRate(s, circumcision, QStringLiteral("F")), Money());
    QCOMPARE(modPricing::GetPackageRate(s, QStringLiteral("NO-SUCH"), QStringLiteral("A")),
             Money());

    QCOMPARE(modPricing::GetMaxQty(s, QStringLiteral("LB101"), QStringLiteral("LB")), 3);
    QCOMPARE(modPricing::GetMaxQty(s, QStringLiteral("LB102"), QStringLiteral("LB")), 1);
    QCOMPARE(modPricing::GetMaxQty(s, QStringLiteral("LB103"), QStringLiteral("LB")), 1);
    QCOMPARE(modPricing::GetMaxQty(s, QStringLiteral("XR010"), QStringLiteral("XR")), 4);
    QCOMPARE(modPricing::GetMaxQty(s, QStringLiteral("US010"), QStringLiteral("US")), 1);
    QCOMPARE(modPricing::GetMaxQty(s, QStringLiteral("XR010"), QStringLiteral("CT")), 1);

    QVERIFY(modPricing::IsExamFixedRate(s, QStringLiteral("XR001"), QStringLiteral("XR")));
    QVERIFY(!modPricing::IsExamFixedRate(s, QStringLiteral("XR002"), QStringLiteral("XR")));
    QVERIFY(modPricing::IsExamFixedRate(s, QStringLiteral("LB103"), QStringLiteral("LB")));
    QVERIFY(modPricing::IsExamFixedRate(s, QStringLiteral("US001"), QStringLiteral("US")));

    // Only HMO stays have an HMO rate by class.
    QVERIFY(p.select(kDependent.first, kDependent.second));
    QCOMPARE(modPricing::GetHMORateByClass(s, s.CurrentPatient.IdNum, s.CurrentPatient.RoomID,
                                           QStringLiteral("OR"), QStringLiteral("OR1101")),
             Money());
    QVERIFY(p.f.notifier.boxes().isEmpty());
}

QTEST_GUILESS_MAIN(tst_Pricing)
#include "tst_pricing.moc"
