// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "shell/db/Database.h"
#include "shell/settings/clsSettings.h"
#include "shell/settings/HospitalSettings.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {

const QString kDefaultMaintenanceMsg = QStringLiteral("Sorry, Kestrel is under maintenance.");

std::unique_ptr<TestDatabase> emptyHospital()
{
    auto t = TestDatabase::create(test::backendOfRow(), TestDatabase::Content::SchemaOnly);
    if (!t) {
        qWarning("%s", qPrintable(t.error().message));
        return nullptr;
    }
    return std::move(*t);
}

// Rows go in with the running numbers given, so the order they are read back in can differ
// from the order they were written in.
bool addSetupRow(Database &db, int setupId, const QString &field, const QVariant &value,
                 const QVariant &description = {})
{
    auto ok = db.exec(
        u"insert into STATION..tbNurseSetup (SetupID, Field, value, Description) "
        u"values (:id, :field, :value, :description)",
        {{"id", setupId}, {"field", field}, {"value", value}, {"description", description}});
    if (!ok)
        qWarning("%s", qPrintable(ok.error().message));
    return ok.has_value();
}

// Rows numbered by the database, in the order written.
bool addSetupRow(Database &db, const QString &field, const QVariant &value,
                 const QVariant &description = {})
{
    auto ok = db.exec(u"insert into STATION..tbNurseSetup (Field, value, Description) "
                      u"values (:field, :value, :description)",
                      {{"field", field}, {"value", value}, {"description", description}});
    if (!ok)
        qWarning("%s", qPrintable(ok.error().message));
    return ok.has_value();
}

// Every hospital setting by its column name, written out here on its own so that a column
// read into the wrong member shows up.
QVariantMap snapshot(const HospitalSettings &hs)
{
    return {
        {"Company", hs.Company},
        {"Address1", hs.Address1},
        {"Bygeneric", hs.Bygeneric},
        {"MTSServerName", hs.MTSServerName},
        {"IsNursePrint", hs.IsNursePrint},
        {"clientname", hs.clientname},
        {"IsLBDirectCharging", hs.IsLBDirectCharging},
        {"IsXRDirectCharging", hs.IsXRDirectCharging},
        {"IsUSDirectCharging", hs.IsUSDirectCharging},
        {"IsCTDirectCharging", hs.IsCTDirectCharging},
        {"IsHSDirectCharging", hs.IsHSDirectCharging},
        {"IsShowAmount", hs.IsShowAmount},
        {"IsPrintChargeSlip", hs.IsPrintChargeSlip},
        {"IsAllowZeroAmountForORProcedures", hs.IsAllowZeroAmountForORProcedures},
        {"IsAllowORPostChargesIfCashBasis", hs.IsAllowORPostChargesIfCashBasis},
        {"IsAllowSupervisorCodeForCancellationOfCharges",
         hs.IsAllowSupervisorCodeForCancellationOfCharges},
        {"IsAllowPostReturnMedicinesInOR", hs.IsAllowPostReturnMedicinesInOR},
        {"IsAllowClinicalAssessmentWithoutValidation",
         hs.IsAllowClinicalAssessmentWithoutValidation},
        {"IsAllowEntryOfReasonForCancellation", hs.IsAllowEntryOfReasonForCancellation},
        {"PSIOxygenComputationType", hs.PSIOxygenComputationType},
        {"isstat", hs.isstat},
        {"CashStatRate", hs.CashStatRate},
        {"AllowZeroOnHand", hs.AllowZeroOnHand},
        {"isORTechPrint", hs.isORTechPrint},
        {"isListCost", hs.isListCost},
        {"IsCompanyPrice", hs.IsCompanyPrice},
        {"IsAllowEditAmount", hs.IsAllowEditAmount},
        {"IsAllowTaggingORPrc", hs.IsAllowTaggingORPrc},
        {"IsShowMarkUp", hs.IsShowMarkUp},
        {"isAllowLowerUnitPrice", hs.isAllowLowerUnitPrice},
        {"blnRequireRadioReason", hs.blnRequireRadioReason},
        {"OREditSchedProcedure", hs.OREditSchedProcedure},
        {"OR_AllowEditScheduleDateTime", hs.OR_AllowEditScheduleDateTime},
        {"VSAllowINC", hs.VSAllowINC},
        {"ORNoPreprinted", hs.ORNoPreprinted},
        {"ValidateUnusedMedClearance", hs.ValidateUnusedMedClearance},
        {"AllowAfterTimeRate", hs.AllowAfterTimeRate},
        {"ORAfterTime", hs.ORAfterTime},
        {"AutoORMarkUp", hs.AutoORMarkUp},
        {"AfterTimeStatHours", hs.AfterTimeStatHours},
        {"ORAfterTimeRate", hs.ORAfterTimeRate},
        {"SecProcPercentDiscount", hs.SecProcPercentDiscount},
        {"ORProceduresAllSection", hs.ORProceduresAllSection},
        {"ShowPrecautions", hs.ShowPrecautions},
        {"ORCategoryAuto", hs.ORCategoryAuto},
        {"NoRequestingAfterFinalNotice", hs.NoRequestingAfterFinalNotice},
        {"PrintPHCSRequest", hs.PrintPHCSRequest},
        {"AppendDrugDescCharge", hs.AppendDrugDescCharge},
        {"AssessmentMaxItems", hs.AssessmentMaxItems},
        {"ORHidePatientClass", hs.ORHidePatientClass},
        {"EditVSByAuthor", hs.EditVSByAuthor},
        {"AllowEditDeleteVitalSigns", hs.AllowEditDeleteVitalSigns},
    };
}

// Statements that change tables cannot be prepared on every server, so this one runs as it is.
bool dropTable(Database &db, QStringView table)
{
    return db.execRaw(db.mapNames(QString(u"drop table " + table))).has_value();
}

// The database layer logs the statement that found no table; nothing else may complain.
void expectFailedRead(QStringView table)
{
    QTest::ignoreMessage(QtWarningMsg,
                         QRegularExpression(QRegularExpression::escape(table.toString()),
                                            QRegularExpression::CaseInsensitiveOption));
}

// The four texts the load leaves alone when the hospital's row does not say otherwise.
void nameTheHospital(HospitalSettings &hs)
{
    hs.Company = QStringLiteral("OUR LADY OF PEACE HOSPITAL");
    hs.Address1 = QStringLiteral("Coastal Road, Parañaque");
    hs.MTSServerName = QStringLiteral("MTS-02");
    hs.clientname = QStringLiteral("QELM");
}

} // namespace

class tst_Settings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    // Loading settings never complains, except where a test expects the database to.
    void init() { QTest::failOnWarning(QRegularExpression(QStringLiteral(".*"))); }

    void storedValuesConvert_data();
    void storedValuesConvert();

    void defaultsOnAnEmptySetupTable();
    void rules_data();
    void rules();
    void keysMatchCaseExactly_data();
    void keysMatchCaseExactly();
    void rowsApplyInEntryOrder_data();
    void rowsApplyInEntryOrder();
    void allowZeroOnHandFollowsTheStation_data();
    void allowZeroOnHandFollowsTheStation();
    void maintenanceMessage_data();
    void maintenanceMessage();
    void unconvertibleNumberEndsTheLoad_data();
    void unconvertibleNumberEndsTheLoad();
    void everyLoadStartsFromTheDefaults();

    void readsEveryHospitalColumn_data();
    void readsEveryHospitalColumn();
    void nullsAndMissingColumnsAreSkipped();
    void anEmptyHospitalTableKeepsTheHospitalsName();
    void aMissingTableLeavesItsSettingsAtTheirDefaults();
};

void tst_Settings::storedValuesConvert_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("flag");     // invalid: no flag
    QTest::addColumn<QVariant>("smallInt"); // invalid: no small integer
    QTest::addColumn<QVariant>("number");   // invalid: no number

    const QVariant none;
    QTest::newRow("bit set") << QVariant(1) << QVariant(true) << QVariant(1) << QVariant(1.0);
    QTest::newRow("numeric text with blanks")
        << QVariant(" 250 ") << QVariant(true) << QVariant(250) << QVariant(250.0);
    QTest::newRow("half rounds down to even")
        << QVariant("2.5") << QVariant(true) << QVariant(2) << QVariant(2.5);
    QTest::newRow("half rounds up to even")
        << QVariant(3.5) << QVariant(true) << QVariant(4) << QVariant(3.5);
    QTest::newRow("beyond a small integer")
        << QVariant("32768") << QVariant(true) << none << QVariant(32768.0);
    QTest::newRow("True in any case") << QVariant("tRUE") << QVariant(true) << none << none;
    QTest::newRow("False") << QVariant("False") << QVariant(false) << none << none;
    QTest::newRow("Y is no flag") << QVariant("Y") << none << none << none;
    QTest::newRow("comma is no decimal point") << QVariant("1,5") << none << none << none;
    QTest::newRow("empty text") << QVariant("") << none << none << none;
    QTest::newRow("null") << QVariant() << none << none << none;
}

void tst_Settings::storedValuesConvert()
{
    QFETCH(QVariant, stored);
    QFETCH(QVariant, flag);
    QFETCH(QVariant, smallInt);
    QFETCH(QVariant, number);

    const auto f = settingFlag(stored);
    QCOMPARE(f.has_value(), flag.isValid());
    if (f)
        QCOMPARE(*f, flag.toBool());
    const auto n = settingSmallInteger(stored);
    QCOMPARE(n.has_value(), smallInt.isValid());
    if (n)
        QCOMPARE(int(*n), smallInt.toInt());
    const auto d = settingNumber(stored);
    QCOMPARE(d.has_value(), number.isValid());
    if (d)
        QCOMPARE(*d, number.toDouble());
}

void tst_Settings::defaultsOnAnEmptySetupTable()
{
    auto t = emptyHospital();
    QVERIFY(t);
    HospitalSettings hs;
    clsSettings settings;
    LoadHospitalSettings(t->db(), hs, settings);

    QCOMPARE(settings.ClinicalAssessmentRate(), QStringLiteral("A"));
    QCOMPARE(settings.ClinicalAssessmentRateByAccomodation(), true);
    QCOMPARE(settings.RequireAnestSchedule(), true);
    QCOMPARE(settings.SystolicMax(), qint16(300));
    QCOMPARE(settings.DiastolicMin(), qint16(50));
    QCOMPARE(settings.ModuleUnderMaintenance(), false);
    QCOMPARE(settings.ModuleMaintenanceMsg(), kDefaultMaintenanceMsg);
    QCOMPARE(settings.UseBFileFixRate(), QStringLiteral("False"));

    // Everything else is off or empty.
    const QStringList onByDefault = {QStringLiteral("ClinicalAssessmentRateByAccomodation"),
                                     QStringLiteral("RequireAnestSchedule")};
    const QStringList textByDefault = {QStringLiteral("ClinicalAssessmentRate"),
                                       QStringLiteral("ModuleMaintenanceMsg"),
                                       QStringLiteral("UseBFileFixRate")};
    const QStringList names = clsSettings::propertyNames();
    QCOMPARE(QSet<QString>(names.cbegin(), names.cend()).size(), names.size());
    for (const QString &name : names) {
        const QVariant v = settings.value(name);
        QVERIFY2(v.isValid(), qPrintable(name));
        if (v.typeId() == QMetaType::Bool)
            QVERIFY2(v.toBool() == onByDefault.contains(name), qPrintable(name));
        else if (v.typeId() == QMetaType::QString)
            QVERIFY2(v.toString().isEmpty() != textByDefault.contains(name), qPrintable(name));
    }
    QVERIFY(!settings.value(u"NoSuchSwitch").isValid());
    QVERIFY(!settings.value(u"showcf4").isValid());
}

void tst_Settings::rules_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QVariant>("description");
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    const QVariant none;
    // "1": on only by exactly "1"
    QTest::newRow("1: '1' turns on")
        << "ORShowCF4" << QVariant("1") << none << "ShowCF4" << QVariant(true);
    QTest::newRow("1: '0' leaves off")
        << "ORShowCF4" << QVariant("0") << none << "ShowCF4" << QVariant(false);
    QTest::newRow("1: empty leaves off")
        << "ORShowCF4" << QVariant("") << none << "ShowCF4" << QVariant(false);
    // "0": off only by exactly "0"
    QTest::newRow("0: '0' turns off") << "ORRequireAnestSchedule" << QVariant("0") << none
                                      << "RequireAnestSchedule" << QVariant(false);
    QTest::newRow("0: '1' leaves on") << "ORRequireAnestSchedule" << QVariant("1") << none
                                      << "RequireAnestSchedule" << QVariant(true);
    QTest::newRow("0: empty leaves on")
        << "ORClinicalAssessmentRateByAccomodation" << QVariant("") << none
        << "ClinicalAssessmentRateByAccomodation" << QVariant(true);
    // "1/0"
    QTest::newRow("1/0: '1' turns on") << "ORAllowZeroOnHand_Requesting" << QVariant("1") << none
                                       << "AllowZeroOnHandRequesting" << QVariant(true);
    QTest::newRow("1/0: 'Y' leaves off") << "ORAllowZeroOnHand_Requesting" << QVariant("Y") << none
                                         << "AllowZeroOnHandRequesting" << QVariant(false);
    // "any": any value at all turns it on
    QTest::newRow("any: '0' turns on") << "ComputePackageGross" << QVariant("0") << none
                                       << "ComputePackageGross" << QVariant(true);
    QTest::newRow("any: empty leaves off") << "ORComputeTotalPostCharges" << QVariant("") << none
                                           << "ComputeTotalPostCharges" << QVariant(false);
    QTest::newRow("any: null leaves off")
        << "EnableAMPickUPNonLB" << none << none << "EnableAMPickUPNonLB" << QVariant(false);
    // text
    QTest::newRow("text: copied") << "ORClinicalAssessmentRate" << QVariant("C") << none
                                  << "ClinicalAssessmentRate" << QVariant("C");
    QTest::newRow("text: empty keeps the default")
        << "ORClinicalAssessmentRate" << QVariant("") << none << "ClinicalAssessmentRate"
        << QVariant("A");
    QTest::newRow("text: charge slip format")
        << "CSlipFormat" << QVariant("CSlip2") << none << "NewCSlipFormat" << QVariant("CSlip2");
    QTest::newRow("text: heart OR equipment")
        << "CVORNHIEquipments" << QVariant("EQ") << none << "CVORNHIEquipment" << QVariant("EQ");
    // number
    QTest::newRow("number: small integer") << "SystolicMax" << QVariant("250") << none
                                           << "SystolicMax" << QVariant::fromValue(qint16(250));
    QTest::newRow("number: empty keeps the default")
        << "DiastolicMin" << QVariant("") << none << "DiastolicMin"
        << QVariant::fromValue(qint16(50));
    QTest::newRow("number: fee with decimals")
        << "ORInstrumentHandlingFeeRate" << QVariant("12.75") << none << "InstrumentHandlingFee"
        << QVariant(12.75);
    // note
    QTest::newRow("note: '1' takes the description")
        << "NurseNotifyRevokedNote" << QVariant("1") << QVariant("Call the ward first.")
        << "NurseNotifyRevokedNote" << QVariant("Call the ward first.");
    QTest::newRow("note: '0' ignores the description")
        << "NurseNotifyRevokedNote" << QVariant("0") << QVariant("Call the ward first.")
        << "NurseNotifyRevokedNote" << QVariant("");
    // "True"/"False" text
    QTest::newRow("true/false: '1'")
        << "ORUseBfileFixRate" << QVariant("1") << none << "UseBFileFixRate" << QVariant("True");
    QTest::newRow("true/false: '0'")
        << "ORUseBfileFixRate" << QVariant("0") << none << "UseBFileFixRate" << QVariant("False");
    // keys named unlike their property
    QTest::newRow("key ORLinkToScheduling") << "ORLinkToScheduling" << QVariant("1") << none
                                            << "LinkScheduleToScheduling" << QVariant(true);
    QTest::newRow("key ExpandPostChargeList")
        << "ExpandPostChargeList" << QVariant("1") << none << "ExpandList" << QVariant(true);
    QTest::newRow("key ORPrintCSF")
        << "ORPrintCSF" << QVariant("1") << none << "NursePrintCSF" << QVariant(true);
    QTest::newRow("key ORDontRequirePHICCode") << "ORDontRequirePHICCode" << QVariant("1") << none
                                               << "DontRequirePHICCOde" << QVariant(true);
    QTest::newRow("key ERNoDefaultPatientCategory")
        << "ERNoDefaultPatientCategory" << QVariant("1") << none << "NoDefaultPatientCategory"
        << QVariant(true);
}

void tst_Settings::rules()
{
    QFETCH(QString, key);
    QFETCH(QVariant, value);
    QFETCH(QVariant, description);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    auto t = emptyHospital();
    QVERIFY(t);
    QVERIFY(addSetupRow(t->db(), key, value, description));
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(t->db(), hs);
    QCOMPARE(settings.value(property), expected);
}

void tst_Settings::keysMatchCaseExactly_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<bool>("applied");

    QTest::newRow("exact") << "ORUnderMaintenance" << true;
    QTest::newRow("lower case") << "orundermaintenance" << false;
    QTest::newRow("upper case") << "ORUNDERMAINTENANCE" << false;
    QTest::newRow("one letter off") << "ORUnderMaintenanCe" << false;
    QTest::newRow("trailing blank") << "ORUnderMaintenance " << false;
}

void tst_Settings::keysMatchCaseExactly()
{
    QFETCH(QString, key);
    QFETCH(bool, applied);

    auto t = emptyHospital();
    QVERIFY(t);
    QVERIFY(addSetupRow(t->db(), key, QStringLiteral("1"), QStringLiteral("Back at noon.")));
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(t->db(), hs);
    QCOMPARE(settings.ModuleUnderMaintenance(), applied);
    QCOMPARE(settings.ModuleMaintenanceMsg(),
             applied ? QStringLiteral("Back at noon.") : kDefaultMaintenanceMsg);
}

void tst_Settings::rowsApplyInEntryOrder_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QStringList>("values"); // in entry order
    QTest::addColumn<QString>("property");
    QTest::addColumn<QVariant>("expected");

    QTest::newRow("1: a later '0' does not turn it off")
        << "ORShowSpecimen" << QStringList{"1", "0"} << "ShowSpecimen" << QVariant(true);
    QTest::newRow("1/0: the later wins, off")
        << "ORAllowZeroOnHand_Requesting" << QStringList{"1", "0"} << "AllowZeroOnHandRequesting"
        << QVariant(false);
    QTest::newRow("1/0: the later wins, on")
        << "ORAllowZeroOnHand_Requesting" << QStringList{"0", "1"} << "AllowZeroOnHandRequesting"
        << QVariant(true);
    QTest::newRow("text: the later wins")
        << "ORRoomForEndo" << QStringList{"OR-1", "OR-3"} << "RoomForEndo" << QVariant("OR-3");
    QTest::newRow("text: a later empty keeps the earlier")
        << "ORRoomForEndo" << QStringList{"OR-1", ""} << "RoomForEndo" << QVariant("OR-1");
    QTest::newRow("number: the later wins") << "SystolicMax" << QStringList{"220", "260"}
                                            << "SystolicMax" << QVariant::fromValue(qint16(260));
    QTest::newRow("true/false: any later value counts")
        << "ORUseBfileFixRate" << QStringList{"1", "yes"} << "UseBFileFixRate" << QVariant("False");
}

void tst_Settings::rowsApplyInEntryOrder()
{
    QFETCH(QString, key);
    QFETCH(QStringList, values);
    QFETCH(QString, property);
    QFETCH(QVariant, expected);

    auto t = emptyHospital();
    QVERIFY(t);
    // Written last entry first, so that only the running number tells the entry order.
    for (qsizetype i = values.size() - 1; i >= 0; --i)
        QVERIFY(addSetupRow(t->db(), int(10 + i), key, values.at(i)));
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(t->db(), hs);
    QCOMPARE(settings.value(property), expected);
}

void tst_Settings::allowZeroOnHandFollowsTheStation_data()
{
    QTest::addColumn<bool>("hospital");
    QTest::addColumn<QVariant>("station"); // invalid: no row
    QTest::addColumn<bool>("expected");

    QTest::newRow("hospital on, no station row") << true << QVariant() << true;
    QTest::newRow("hospital off, no station row") << false << QVariant() << false;
    QTest::newRow("hospital on, station '0'") << true << QVariant("0") << false;
    QTest::newRow("hospital off, station '1'") << false << QVariant("1") << true;
    QTest::newRow("hospital on, station 'N'") << true << QVariant("N") << true;
    QTest::newRow("hospital off, station empty") << false << QVariant("") << false;
}

void tst_Settings::allowZeroOnHandFollowsTheStation()
{
    QFETCH(bool, hospital);
    QFETCH(QVariant, station);
    QFETCH(bool, expected);

    auto t = emptyHospital();
    QVERIFY(t);
    QVERIFY(t->db().exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, AllowZeroOnHand) "
                         u"values ('HOSPITAL', :on)",
                         {{"on", hospital ? 1 : 0}}));
    if (station.isValid())
        QVERIFY(addSetupRow(t->db(), QStringLiteral("ORAllowZeroOnHand"), station));
    HospitalSettings hs;
    clsSettings settings;
    LoadHospitalSettings(t->db(), hs, settings);
    QCOMPARE(hs.AllowZeroOnHand, expected);
}

void tst_Settings::maintenanceMessage_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QVariant>("description");
    QTest::addColumn<bool>("underMaintenance");
    QTest::addColumn<QString>("message");

    QTest::newRow("on with a message")
        << "1" << QVariant("Closed until 2 PM.") << true << "Closed until 2 PM.";
    QTest::newRow("on with an empty description") << "1" << QVariant("") << true << "";
    QTest::newRow("on with no description") << "1" << QVariant() << true << "";
    QTest::newRow("off keeps the standard message")
        << "0" << QVariant("Closed until 2 PM.") << false << kDefaultMaintenanceMsg;
}

void tst_Settings::maintenanceMessage()
{
    QFETCH(QString, value);
    QFETCH(QVariant, description);
    QFETCH(bool, underMaintenance);
    QFETCH(QString, message);

    auto t = emptyHospital();
    QVERIFY(t);
    QVERIFY(addSetupRow(t->db(), QStringLiteral("ORUnderMaintenance"), value, description));
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(t->db(), hs);
    QCOMPARE(settings.ModuleUnderMaintenance(), underMaintenance);
    QCOMPARE(settings.ModuleMaintenanceMsg(), message);
}

void tst_Settings::unconvertibleNumberEndsTheLoad_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");

    QTest::newRow("text as a blood pressure bound") << "SystolicMax"
                                                    << "high";
    QTest::newRow("bound beyond a small integer") << "SystolicMax"
                                                  << "40000";
    QTest::newRow("fee with a comma") << "ORInstrumentHandlingFeeRate"
                                      << "1,500.00";
}

void tst_Settings::unconvertibleNumberEndsTheLoad()
{
    QFETCH(QString, key);
    QFETCH(QString, value);

    auto t = emptyHospital();
    QVERIFY(t);
    Database &db = t->db();
    QVERIFY(addSetupRow(db, 1, QStringLiteral("ORShowCF4"), QStringLiteral("1")));
    QVERIFY(addSetupRow(db, 2, key, value));
    QVERIFY(addSetupRow(db, 3, QStringLiteral("ORShowSpecimen"), QStringLiteral("1")));
    QVERIFY(addSetupRow(db, 4, QStringLiteral("DiastolicMin"), QStringLiteral("70")));

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(key)));
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(db, hs);

    QCOMPARE(settings.ShowCF4(), true);            // before the bad row: applied
    QCOMPARE(settings.SystolicMax(), qint16(300)); // the bad row itself: default
    QCOMPARE(settings.InstrumentHandlingFee(), 0.0);
    QCOMPARE(settings.ShowSpecimen(), false); // after it: defaults
    QCOMPARE(settings.DiastolicMin(), qint16(50));
}

void tst_Settings::everyLoadStartsFromTheDefaults()
{
    auto t = emptyHospital();
    QVERIFY(t);
    Database &db = t->db();
    QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), QStringLiteral("1")));
    QVERIFY(addSetupRow(db, QStringLiteral("ORRequireAnestSchedule"), QStringLiteral("0")));
    QVERIFY(addSetupRow(db, QStringLiteral("ORClinicalAssessmentRate"), QStringLiteral("D")));
    QVERIFY(addSetupRow(db, QStringLiteral("SystolicMax"), QStringLiteral("180")));
    QVERIFY(addSetupRow(db, QStringLiteral("ORUnderMaintenance"), QStringLiteral("1"),
                        QStringLiteral("Closed.")));

    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(db, hs);
    QCOMPARE(settings.ShowCF4(), true);
    QCOMPARE(settings.RequireAnestSchedule(), false);

    // Loaded again over an emptied table, then over no table at all: the defaults each time.
    const auto expectDefaults = [&settings] {
        QCOMPARE(settings.ShowCF4(), false);
        QCOMPARE(settings.RequireAnestSchedule(), true);
        QCOMPARE(settings.ClinicalAssessmentRate(), QStringLiteral("A"));
        QCOMPARE(settings.SystolicMax(), qint16(300));
        QCOMPARE(settings.ModuleUnderMaintenance(), false);
        QCOMPARE(settings.ModuleMaintenanceMsg(), kDefaultMaintenanceMsg);
    };
    QVERIFY(db.exec(u"delete from STATION..tbNurseSetup"));
    settings.LoadParameters(db, hs);
    expectDefaults();
    if (QTest::currentTestFailed())
        return;

    QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), QStringLiteral("1")));
    settings.LoadParameters(db, hs);
    QCOMPARE(settings.ShowCF4(), true);
    QVERIFY(dropTable(db, u"STATION..tbNurseSetup"));
    expectFailedRead(u"tbNurseSetup");
    settings.LoadParameters(db, hs);
    expectDefaults();
}

void tst_Settings::readsEveryHospitalColumn_data()
{
    QTest::addColumn<QString>("table");
    QTest::addColumn<QString>("column");
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QVariant>("expected");

    const QString info = QStringLiteral("PATIENT_DATA..tbHospitalInfo");
    const QString nursing = QStringLiteral("STATION..tbNursing_Settings");
    const auto text = [&](const QString &table, const char *column, const char *value) {
        QTest::newRow(column) << table << QString::fromLatin1(column) << QVariant(value)
                              << QVariant(value);
    };
    const auto flag = [&](const QString &table, const char *column) {
        QTest::newRow(column) << table << QString::fromLatin1(column) << QVariant(1)
                              << QVariant(true);
    };
    const auto small = [&](const QString &table, const char *column, int value) {
        QTest::newRow(column) << table << QString::fromLatin1(column) << QVariant(value)
                              << QVariant::fromValue(qint16(value));
    };

    text(info, "Company", "ST. JUDE'S MEDICAL CENTER");
    text(info, "Address1", "12 Rizal Avenue, Cebu City");
    flag(info, "Bygeneric");
    text(info, "MTSServerName", "MTS-01");
    flag(info, "IsNursePrint");
    text(info, "clientname", "KWOSH");
    for (const char *c :
         {"IsLBDirectCharging", "IsXRDirectCharging", "IsUSDirectCharging", "IsCTDirectCharging",
          "IsHSDirectCharging", "IsShowAmount", "IsPrintChargeSlip",
          "IsAllowZeroAmountForORProcedures", "IsAllowORPostChargesIfCashBasis",
          "IsAllowSupervisorCodeForCancellationOfCharges", "IsAllowPostReturnMedicinesInOR",
          "IsAllowClinicalAssessmentWithoutValidation", "IsAllowEntryOfReasonForCancellation"})
        flag(info, c);
    small(info, "PSIOxygenComputationType", 2);
    flag(info, "isstat");
    QTest::newRow("CashStatRate") << info << "CashStatRate" << QVariant(12.5) << QVariant(12.5);
    for (const char *c :
         {"AllowZeroOnHand", "isORTechPrint", "isListCost", "IsCompanyPrice", "IsAllowEditAmount",
          "IsAllowTaggingORPrc", "IsShowMarkUp", "isAllowLowerUnitPrice", "blnRequireRadioReason",
          "OREditSchedProcedure", "OR_AllowEditScheduleDateTime", "VSAllowINC"})
        flag(info, c);

    for (const char *c :
         {"ORNoPreprinted", "ValidateUnusedMedClearance", "AllowAfterTimeRate", "AutoORMarkUp",
          "ORProceduresAllSection", "ShowPrecautions", "ORCategoryAuto",
          "NoRequestingAfterFinalNotice", "PrintPHCSRequest", "AppendDrugDescCharge",
          "ORHidePatientClass", "EditVSByAuthor", "AllowEditDeleteVitalSigns"})
        flag(nursing, c);
    text(nursing, "ORAfterTime", "17:00");
    small(nursing, "AfterTimeStatHours", 14);
    small(nursing, "ORAfterTimeRate", 30);
    small(nursing, "SecProcPercentDiscount", 50);
    small(nursing, "AssessmentMaxItems", 25);
}

void tst_Settings::readsEveryHospitalColumn()
{
    QFETCH(QString, table);
    QFETCH(QString, column);
    QFETCH(QVariant, stored);
    QFETCH(QVariant, expected);

    auto t = emptyHospital();
    QVERIFY(t);
    // The column name comes from the list above, never from outside the test.
    QVERIFY(t->db().exec(QStringLiteral("insert into %1 (%2) values (:v)").arg(table, column),
                         {{"v", stored}}));
    HospitalSettings hs;
    clsSettings settings;
    LoadHospitalSettings(t->db(), hs, settings);

    // That one setting changes, and no other.
    QVariantMap want = snapshot(HospitalSettings());
    QVERIFY2(want.contains(column), qPrintable(column));
    want.insert(column, expected);
    const QVariantMap got = snapshot(hs);
    for (auto it = want.cbegin(); it != want.cend(); ++it)
        QVERIFY2(
            got.value(it.key()) == it.value(),
            qPrintable(QStringLiteral("%1: %2, expected %3")
                           .arg(it.key(), got.value(it.key()).toString(), it.value().toString())));
}

void tst_Settings::nullsAndMissingColumnsAreSkipped()
{
    auto t = emptyHospital();
    QVERIFY(t);
    Database &db = t->db();
    // A hospital table of an older layout: fewer columns, and nulls allowed.
    QVERIFY(dropTable(db, u"PATIENT_DATA..tbHospitalInfo"));
    QVERIFY(db.execRaw(db.mapNames(
        u"create table PATIENT_DATA..tbHospitalInfo (Company varchar(60), Bygeneric smallint, "
        u"isstat smallint, CashStatRate double precision, PSIOxygenComputationType smallint, "
        u"IsShowAmount smallint)")));
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, Bygeneric, isstat, "
                    u"CashStatRate, PSIOxygenComputationType, IsShowAmount) "
                    u"values (null, null, 1, null, 3, null)"));
    QVERIFY(db.exec(u"insert into STATION..tbNursing_Settings (ORAfterTime, AfterTimeStatHours) "
                    u"values ('18:30', 6)"));

    HospitalSettings hs;
    nameTheHospital(hs);
    hs.Bygeneric = true;
    hs.CashStatRate = 5;
    hs.IsNursePrint = true;
    clsSettings settings;
    LoadHospitalSettings(db, hs, settings);

    QCOMPARE(hs.Company, QStringLiteral("OUR LADY OF PEACE HOSPITAL")); // null: kept
    QCOMPARE(hs.clientname, QStringLiteral("QELM"));                    // missing: kept
    QCOMPARE(hs.Bygeneric, false);                                      // null: the reset stands
    QCOMPARE(hs.CashStatRate, 0.0);                                     // null: the reset stands
    QCOMPARE(hs.IsNursePrint, false);                                   // missing: the reset stands
    QCOMPARE(hs.isstat, true);
    QCOMPARE(hs.PSIOxygenComputationType, qint16(3));
    QCOMPARE(hs.ORAfterTime, QStringLiteral("18:30"));
    QCOMPARE(hs.AfterTimeStatHours, qint16(6));
}

void tst_Settings::anEmptyHospitalTableKeepsTheHospitalsName()
{
    auto t = emptyHospital();
    QVERIFY(t);
    HospitalSettings hs;
    nameTheHospital(hs);
    hs.IsShowAmount = true;
    hs.PSIOxygenComputationType = 4;
    hs.CashStatRate = 7.5;
    hs.ORAfterTime = QStringLiteral("17:00");
    hs.AssessmentMaxItems = 9;
    clsSettings settings;
    LoadHospitalSettings(t->db(), hs, settings);

    HospitalSettings expected;
    nameTheHospital(expected);
    QCOMPARE(snapshot(hs), snapshot(expected));
}

void tst_Settings::aMissingTableLeavesItsSettingsAtTheirDefaults()
{
    auto t = emptyHospital();
    QVERIFY(t);
    Database &db = t->db();
    QVERIFY(db.exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, IsShowAmount, "
                    u"AllowZeroOnHand) values ('ST. JUDE', 1, 1)"));
    QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), QStringLiteral("1")));
    QVERIFY(dropTable(db, u"STATION..tbNursing_Settings"));

    HospitalSettings hs;
    hs.ORAfterTime = QStringLiteral("17:00");
    hs.AfterTimeStatHours = 4;
    hs.ShowPrecautions = true;
    clsSettings settings;
    expectFailedRead(u"tbNursing_Settings");
    LoadHospitalSettings(db, hs, settings);

    // The station's table is skipped; the hospital's row and the switches still load.
    QCOMPARE(hs.ORAfterTime, QString());
    QCOMPARE(hs.AfterTimeStatHours, qint16(0));
    QCOMPARE(hs.ShowPrecautions, false);
    QCOMPARE(hs.Company, QStringLiteral("ST. JUDE"));
    QCOMPARE(hs.IsShowAmount, true);
    QCOMPARE(hs.AllowZeroOnHand, true);
    QCOMPARE(settings.ShowCF4(), true);
}

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
