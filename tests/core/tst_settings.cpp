// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Database.h"
#include "core/settings/clsSettings.h"
#include "core/settings/HospitalSettings.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QSet>
#include <QTest>

using namespace kestrel;
using kestrel::test::TestDatabase;
using namespace Qt::StringLiterals;

namespace {

const QString kDefaultMaintenanceMsg = QStringLiteral("Sorry, Kestrel is under maintenance.");

std::unique_ptr<TestDatabase> emptyHospital()
{
    auto t = TestDatabase::create(test::backendOfRow(), TestDatabase::Content::SchemaOnly);
    return t ? std::move(*t) : nullptr;
}

// A setup row numbered `setupId`, so that the order rows are read back in can differ from the
// order they were written in; numbered by the database when 0.
bool addSetupRow(Database &db, const QString &field, const QVariant &value,
                 const QVariant &description = {}, int setupId = 0)
{
    Binds binds{{"field", field}, {"value", value}, {"description", description}};
    if (setupId != 0)
        binds.insert(QStringLiteral("id"), setupId);
    return db
        .exec(setupId == 0 ? u"insert into STATION..tbNurseSetup (Field, value, "
                             u"Description) values (:field, :value, :description)"
                           : u"insert into STATION..tbNurseSetup (SetupID, Field, value, "
                             u"Description) values (:id, :field, :value, :description)",
              binds)
        .has_value();
}

clsSettings loadAll(Database &db, HospitalSettings &hs)
{
    clsSettings settings;
    LoadHospitalSettings(db, hs, settings);
    return settings;
}

clsSettings loadSwitches(Database &db)
{
    HospitalSettings hs;
    clsSettings settings;
    settings.LoadParameters(db, hs);
    return settings;
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
    // Loading settings never complains, except where a test expects the database to; dropping
    // the test's own database afterwards is no part of the load.
    void init() { QTest::failOnWarning(QRegularExpression(u"^(?!.*DROP DATABASE)"_s)); }

    void defaultsOnAnEmptySetupTable()
    {
        auto t = emptyHospital();
        QVERIFY(t);
        HospitalSettings hs;
        const clsSettings settings = loadAll(t->db(), hs);
        // The defaults the rules keep are checked with the rules; everything else is off or
        // empty, but for the fixed rate's text.
        QCOMPARE(settings.UseBFileFixRate(), QStringLiteral("False"));
        const QStringList onByDefault{"ClinicalAssessmentRateByAccomodation",
                                      "RequireAnestSchedule"};
        const QStringList textByDefault{"ClinicalAssessmentRate", "ModuleMaintenanceMsg",
                                        "UseBFileFixRate"};
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
        QVERIFY(!settings.value(u"showcf4").isValid());
    }

    // Each rule of the switches, by a switch that follows it. Rows of one key are written last
    // entry first, so that only the running number tells the entry order.
    void rules_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QVariantList>("values"); // in entry order
        QTest::addColumn<QVariant>("description");
        QTest::addColumn<QString>("property");
        QTest::addColumn<QVariant>("expected");
        const auto row = [](const char *name, const char *key, const QVariantList &values,
                            const char *property, const QVariant &expected,
                            const QVariant &description = {}) {
            QTest::newRow(name) << QString::fromLatin1(key) << values << description
                                << QString::fromLatin1(property) << expected;
        };
        const auto small = [](int n) { return QVariant::fromValue(qint16(n)); };
        const QVariant note = QStringLiteral("Call the ward first.");
        const char *showCF4 = "ShowCF4";
        const char *anest = "RequireAnestSchedule";
        const char *zeroOnHand = "AllowZeroOnHandRequesting";
        const char *rate = "ClinicalAssessmentRate";
        const char *fixRate = "UseBFileFixRate";
        const char *maintenance = "ModuleMaintenanceMsg";

        row("1: '1' turns on", "ORShowCF4", {"1"}, showCF4, true);
        row("1: '0' leaves off", "ORShowCF4", {"0"}, showCF4, false);
        row("1: a later '0' does not turn it off", "ORShowCF4", {"1", "0"}, showCF4, true);
        row("0: '0' turns off", "ORRequireAnestSchedule", {"0"}, anest, false);
        row("1/0: 'Y' leaves off", "ORAllowZeroOnHand_Requesting", {"Y"}, zeroOnHand, false);
        row("1/0: later wins, off", "ORAllowZeroOnHand_Requesting", {"1", "0"}, zeroOnHand, false);
        row("1/0: later wins, on", "ORAllowZeroOnHand_Requesting", {"0", "1"}, zeroOnHand, true);
        row("any: '0' turns on", "ComputePackageGross", {"0"}, "ComputePackageGross", true);
        row("any: empty leaves off", "ComputePackageGross", {""}, "ComputePackageGross", false);
        row("text: empty keeps the default", "ORClinicalAssessmentRate", {""}, rate, "A");
        row("text: the later wins", "ORClinicalAssessmentRate", {"B", "C"}, rate, "C");
        row("text: later empty keeps earlier", "ORClinicalAssessmentRate", {"B", ""}, rate, "B");
        row("text: key unlike its property", "CSlipFormat", {"CSlip2"}, "NewCSlipFormat", "CSlip2");
        row("number: empty keeps the default", "DiastolicMin", {""}, "DiastolicMin", small(50));
        row("number: half to even", "DiastolicMin", {"2.5"}, "DiastolicMin", small(2));
        row("number: the later wins", "SystolicMax", {"220", "260"}, "SystolicMax", small(260));
        row("number: fee", "ORInstrumentHandlingFeeRate", {"12.75"}, "InstrumentHandlingFee",
            12.75);
        row("note: '1' takes the description", "NurseNotifyRevokedNote", {"1"},
            "NurseNotifyRevokedNote", note, note);
        row("note: '0' ignores the description", "NurseNotifyRevokedNote", {"0"},
            "NurseNotifyRevokedNote", "", note);
        row("true/false: '1'", "ORUseBfileFixRate", {"1"}, fixRate, "True");
        row("true/false: any later value", "ORUseBfileFixRate", {"1", "yes"}, fixRate, "False");
        row("maintenance: on with a message", "ORUnderMaintenance", {"1"}, maintenance,
            "Closed until 2 PM.", "Closed until 2 PM.");
        row("maintenance: on, no description", "ORUnderMaintenance", {"1"}, maintenance, "");
        row("maintenance: off keeps the standard message", "ORUnderMaintenance", {"0"}, maintenance,
            kDefaultMaintenanceMsg, "Closed until 2 PM.");
        row("maintenance: on", "ORUnderMaintenance", {"1"}, "ModuleUnderMaintenance", true);
        // Keys match their case exactly.
        row("key in lower case", "orundermaintenance", {"1"}, "ModuleUnderMaintenance", false);
    }
    void rules()
    {
        QFETCH(QString, key);
        QFETCH(QVariantList, values);
        QFETCH(QVariant, description);
        QFETCH(QString, property);
        QFETCH(QVariant, expected);
        auto t = emptyHospital();
        QVERIFY(t);
        for (qsizetype i = values.size() - 1; i >= 0; --i)
            QVERIFY(addSetupRow(t->db(), key, values.at(i), description, int(10 + i)));
        QCOMPARE(loadSwitches(t->db()).value(property), expected);
    }

    void allowZeroOnHandFollowsTheStation_data()
    {
        QTest::addColumn<bool>("hospital");
        QTest::addColumn<QVariant>("station"); // invalid: no row
        QTest::addColumn<bool>("expected");
        QTest::newRow("hospital on, no station row") << true << QVariant() << true;
        QTest::newRow("hospital on, station '0'") << true << QVariant("0") << false;
        QTest::newRow("hospital off, station '1'") << false << QVariant("1") << true;
        QTest::newRow("hospital on, station 'N'") << true << QVariant("N") << true;
    }
    void allowZeroOnHandFollowsTheStation()
    {
        QFETCH(bool, hospital);
        QFETCH(QVariant, station);
        QFETCH(bool, expected);
        auto t = emptyHospital();
        QVERIFY(t);
        QVERIFY(t->db().exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, "
                             u"AllowZeroOnHand) values ('HOSPITAL', :on)",
                             {{"on", hospital ? 1 : 0}}));
        if (station.isValid())
            QVERIFY(addSetupRow(t->db(), QStringLiteral("ORAllowZeroOnHand"), station));
        HospitalSettings hs;
        loadAll(t->db(), hs);
        QCOMPARE(hs.AllowZeroOnHand, expected);
    }

    void unconvertibleNumberEndsTheLoad_data()
    {
        QTest::addColumn<QString>("key");
        QTest::addColumn<QString>("value");
        QTest::newRow("text as a blood pressure bound") << "SystolicMax" << "high";
        QTest::newRow("bound beyond a small integer") << "SystolicMax" << "40000";
        QTest::newRow("fee with a comma") << "ORInstrumentHandlingFeeRate" << "1,500.00";
    }
    void unconvertibleNumberEndsTheLoad()
    {
        QFETCH(QString, key);
        QFETCH(QString, value);
        auto t = emptyHospital();
        QVERIFY(t);
        Database &db = t->db();
        QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), "1", {}, 1));
        QVERIFY(addSetupRow(db, key, value, {}, 2));
        QVERIFY(addSetupRow(db, QStringLiteral("ORShowSpecimen"), "1", {}, 3));
        QVERIFY(addSetupRow(db, QStringLiteral("DiastolicMin"), "70", {}, 4));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QRegularExpression::escape(key)));
        const clsSettings settings = loadSwitches(db);
        QCOMPARE(settings.ShowCF4(), true);            // before the bad row: applied
        QCOMPARE(settings.SystolicMax(), qint16(300)); // the bad row itself: default
        QCOMPARE(settings.InstrumentHandlingFee(), 0.0);
        QCOMPARE(settings.ShowSpecimen(), false); // after it: defaults
        QCOMPARE(settings.DiastolicMin(), qint16(50));
    }

    void everyLoadStartsFromTheDefaults()
    {
        auto t = emptyHospital();
        QVERIFY(t);
        Database &db = t->db();
        QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), "1"));
        QVERIFY(addSetupRow(db, QStringLiteral("ORRequireAnestSchedule"), "0"));
        QVERIFY(addSetupRow(db, QStringLiteral("ORClinicalAssessmentRate"), "D"));
        QVERIFY(addSetupRow(db, QStringLiteral("SystolicMax"), "180"));
        QVERIFY(addSetupRow(db, QStringLiteral("ORUnderMaintenance"), "1", "Closed."));
        HospitalSettings hs;
        clsSettings settings;
        settings.LoadParameters(db, hs);
        QVERIFY(settings.ShowCF4() && !settings.RequireAnestSchedule());
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
        QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), "1"));
        settings.LoadParameters(db, hs);
        QCOMPARE(settings.ShowCF4(), true);
        QVERIFY(dropTable(db, u"STATION..tbNurseSetup"));
        expectFailedRead(u"tbNurseSetup");
        settings.LoadParameters(db, hs);
        expectDefaults();
    }

    // The station's table has schedule switches of its own, for the schedule board; they do
    // not overwrite the hospital's.
    void nursingSettingsLeaveTheHospitalsScheduleSwitches()
    {
        auto t = emptyHospital();
        QVERIFY(t);
        Database &db = t->db();
        QVERIFY(db.exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, "
                        u"OREditSchedProcedure, OR_AllowEditScheduleDateTime) "
                        u"values ('ST. JUDE', 1, 0)"));
        QVERIFY(db.exec(u"insert into STATION..tbNursing_Settings (OREditSchedProcedure, "
                        u"OR_AllowEditScheduleDateTime, ORAfterTime) values (0, 1, '17:00')"));
        HospitalSettings hs;
        loadAll(db, hs);
        QCOMPARE(hs.ORAfterTime, QStringLiteral("17:00"));
        QCOMPARE(hs.OREditSchedProcedure, true);
        QCOMPARE(hs.OR_AllowEditScheduleDateTime, false);
    }

    void nullsAndMissingColumnsAreSkipped()
    {
        auto t = emptyHospital();
        QVERIFY(t);
        Database &db = t->db();
        // A hospital table of an older layout: fewer columns, and nulls allowed.
        QVERIFY(dropTable(db, u"PATIENT_DATA..tbHospitalInfo"));
        QVERIFY(db.execRaw(db.mapNames(
            u"create table PATIENT_DATA..tbHospitalInfo (Company varchar(60), Bygeneric "
            u"smallint, isstat smallint, CashStatRate double precision, "
            u"PSIOxygenComputationType smallint, IsShowAmount smallint)")));
        QVERIFY(db.exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, Bygeneric, isstat, "
                        u"CashStatRate, PSIOxygenComputationType, IsShowAmount) "
                        u"values (null, null, 1, null, 3, null)"));
        QVERIFY(db.exec(u"insert into STATION..tbNursing_Settings (ORAfterTime, "
                        u"AfterTimeStatHours) values ('18:30', 6)"));
        HospitalSettings hs;
        nameTheHospital(hs);
        hs.Bygeneric = true;
        hs.CashStatRate = 5;
        hs.IsNursePrint = true;
        loadAll(db, hs);
        QCOMPARE(hs.Company, QStringLiteral("OUR LADY OF PEACE HOSPITAL")); // null: kept
        QCOMPARE(hs.clientname, QStringLiteral("QELM"));                    // missing: kept
        QCOMPARE(hs.Bygeneric, false);    // null: the reset stands
        QCOMPARE(hs.CashStatRate, 0.0);   // null: the reset stands
        QCOMPARE(hs.IsNursePrint, false); // missing: the reset stands
        QCOMPARE(hs.isstat, true);
        QCOMPARE(hs.PSIOxygenComputationType, qint16(3));
        QCOMPARE(hs.ORAfterTime, QStringLiteral("18:30"));
        QCOMPARE(hs.AfterTimeStatHours, qint16(6));
    }

    void aMissingTableLeavesItsSettingsAtTheirDefaults()
    {
        auto t = emptyHospital();
        QVERIFY(t);
        Database &db = t->db();
        QVERIFY(db.exec(u"insert into PATIENT_DATA..tbHospitalInfo (Company, IsShowAmount, "
                        u"AllowZeroOnHand) values ('ST. JUDE', 1, 1)"));
        QVERIFY(addSetupRow(db, QStringLiteral("ORShowCF4"), "1"));
        QVERIFY(dropTable(db, u"STATION..tbNursing_Settings"));

        HospitalSettings hs;
        hs.ORAfterTime = QStringLiteral("17:00");
        hs.AfterTimeStatHours = 4;
        hs.ShowPrecautions = true;
        expectFailedRead(u"tbNursing_Settings");
        const clsSettings settings = loadAll(db, hs);
        // The station's table is skipped; the hospital's row and the switches still load.
        QVERIFY(hs.ORAfterTime.isEmpty() && hs.AfterTimeStatHours == 0 && !hs.ShowPrecautions);
        QCOMPARE(hs.Company, QStringLiteral("ST. JUDE"));
        QVERIFY(hs.IsShowAmount && hs.AllowZeroOnHand && settings.ShowCF4());
    }
};

QTEST_GUILESS_MAIN(tst_Settings)
#include "tst_settings.moc"
