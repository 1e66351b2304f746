// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report definitions of the Reports folder against the demo hospital: every file prints its
// rows, and what the reports and forms print agrees with the hospital's own tables.
#include "core/db/Database.h"
#include "core/db/Money.h"
#include "core/db/NumberFormat.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "support/PdfText.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <memory>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {
const QString kReportsDir = QStringLiteral(KESTREL_REPORTS_DIR);
const ReportHeadings kHeadings{QStringLiteral("BAGONG TALA MEDICAL CENTER"),
                               QStringLiteral("88 GEN. LUNA AVENUE, SAN BARTOLOME CITY")};

// The demo's busy month: yesterday's operations and the month's earlier ones.
const QString kFrom = QStringLiteral("11/01/2026");
const QString kTo = QStringLiteral("12/01/2026");
const QString kLastDay = QStringLiteral("11/30/2026");

/// Representative values from a definition's parameter types: the demo month for dates (a
/// lone date is a month, as the month prompt gives it), "OR" for texts, 1, set flags.
QVariantList valuesFor(const ReportDefinition &def)
{
    using T = ReportParameter::Type;
    const auto dates = std::count_if(def.parameters.cbegin(), def.parameters.cend(),
                                     [](const ReportParameter &p) { return p.type == T::Date; });
    QVariantList values;
    for (const ReportParameter &p : def.parameters) {
        if (p.type == T::Date)
            values << (dates == 1               ? QStringLiteral("11/2026")
                       : values.contains(kFrom) ? kTo
                                                : kFrom);
        else
            values << (p.type == T::Text     ? QVariant(QStringLiteral("OR"))
                       : p.type == T::Number ? QVariant(1)
                                             : QVariant(true));
    }
    return values;
}

/// What a report prints, blanks made one: as pdftotext reads its PDF, or the laid-out text
/// where pdftotext is not installed.
QString printed(const RenderedReport &report)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    const QString text = report.exportPdf(pdf) ? test::pdfText(pdf) : QString();
    return (text.isEmpty() ? report.document().toPlainText() : text).simplified();
}

/// The longest word of a row's values, one with letters first: the one least likely to be
/// printed by chance (a whole value may wrap in its cell; amounts may be only summed).
QString telltale(const QVariantMap &row)
{
    QString best;
    const auto score = [](const QString &w) {
        return std::pair(w.contains(QRegularExpression(QStringLiteral("[A-Za-z]"))), w.size());
    };
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        for (const QString &word : it.value().toString().split(u' ', Qt::SkipEmptyParts)) {
            if (it.key() != u"rownum" && score(word) > score(best))
                best = word;
        }
    }
    return best;
}

QString text(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toString() : QStringLiteral("<%1>").arg(v.error().message);
}

qint64 count(Database &db, const QString &sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

/// The sum of the Amount column `sql` selects, added exactly here.
Money total(Database &db, const QString &sql, const Binds &binds = {})
{
    Money sum;
    auto rows = db.select(sql, binds);
    if (!rows)
        return Money::minimum();
    for (const Row &r : *rows)
        sum += r.money(u"Amount");
    return sum;
}

/// An amount as a report shows it ("30,628.00"), read back; nullopt when it is not one.
std::optional<Money> amountShown(const QVariant &shown)
{
    static const QRegularExpression pattern(QStringLiteral(R"(^-?\d{1,3}(,\d{3})*\.\d{2}$)"));
    const QString text = shown.toString();
    if (!pattern.match(text).hasMatch())
        return std::nullopt;
    return Money::parse(QString(text).remove(u','));
}

/// November 2026, as the statements of the test bind it.
const Binds kNovember{{QStringLiteral("from"), QDate(2026, 11, 1).startOfDay()},
                      {QStringLiteral("to_end"), QDate(2026, 12, 1).startOfDay()}};

Result<QVariantMap> contextOf(Database &db, const QString &file, const QVariantList &values)
{
    auto def = ReportDefinition::load(findReportFile(kReportsDir, file));
    if (!def)
        return tl::unexpected(def.error());
    return ReportRenderer(db, kHeadings).context(*def, values);
}

/// Opens `file` with `values` through the report service, as the program does; nullptr (and
/// the error box's text in `error`) when it fails.
std::shared_ptr<const RenderedReport> open(Database &db, const QString &file,
                                           const QVariantList &values, QString *error)
{
    test::RecordingReportDisplay display;
    test::RecordingNotifier notifier;
    ReportService service(db, kReportsDir, kHeadings, display, notifier);
    service.OpenReport(file, values);
    *error = notifier.lastText();
    return service.current();
}

// Stays of the demo hospital the forms are printed for, chosen by what they have.
enum class StayKind {
    Operated,  ///< still in, operated on yesterday, charges posted
    Medicines, ///< discharged, the OR posted medicines from its stock
    Revoked,   ///< still in, the OR's only charge slip was revoked
};

QString stayOf(Database &db, StayKind kind)
{
    static const char *const where[] = {
        "P.DcrDate is null and L.StationID = 'OR' and L.RecordStatus <> 'R' and exists (select "
        "1 from SCHEDULE..tbORScheduleDetails S where S.IDNum = L.IDNum and S.RecordStatus = 'C')",
        "P.DcrDate is not null and L.RevenueID = 'PH' and L.RecordStatus <> 'R'",
        "P.DcrDate is null and L.RecordStatus = 'R'"};
    return text(db, u"select min(L.IDNum) from STATION..tbNurseLogBook L join "
                    u"PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum where " +
                        QString::fromLatin1(where[int(kind)]));
}

#define VERIFY_RESULT(r) QVERIFY2(r, qPrintable(r ? QString() : r.error().message))
} // namespace

class tst_CatalogDefinitions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase() { QVERIFY2(QDir(kReportsDir).exists(), qPrintable(kReportsDir)); }
    void everyDefinitionPrintsItsRows_data();
    void everyDefinitionPrintsItsRows();
    void reportsAgreeWithTheHospital_data();
    void reportsAgreeWithTheHospital();
    void everyGroupingListsTheSameOperations();
    void amountsFollowTheShowAmountSetting();
    void logbookPartsNumberAndMatchTheirCases();
    void phasesAddUpAndRunPastMidnight();
    void monthlyReportFillsTheWorkTable();
    void patientFormsPrintTheStay();
    void ledgerBalanceRunsToTheStaysTotal_data();
    void ledgerBalanceRunsToTheStaysTotal();
    void labFormShowsTheLatestReleasedResult();

private:
    /// One demo hospital per backend for the tests that only read.
    Database &readOnlyDemo();
    std::unique_ptr<TestDatabase> m_demo;
    Backend m_demoBackend = Backend::Sqlite;
};

Database &tst_CatalogDefinitions::readOnlyDemo()
{
    const Backend backend = test::backendOfRow();
    if (!m_demo || m_demoBackend != backend) {
        m_demo.reset();
        auto made = TestDatabase::create(backend);
        if (!made)
            qFatal("no demo hospital: %s", qPrintable(made.error().message));
        m_demo = std::move(*made);
        m_demoBackend = backend;
    }
    return m_demo->db();
}

void tst_CatalogDefinitions::everyDefinitionPrintsItsRows_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(kReportsDir);
    const QStringList files = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    QVERIFY(!files.isEmpty());
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << dir.filePath(f);
}

void tst_CatalogDefinitions::everyDefinitionPrintsItsRows()
{
    QFETCH(QString, path);
    Database &db = readOnlyDemo();
    auto def = ReportDefinition::load(path);
    VERIFY_RESULT(def);
    // The statistical report reads the summary the program gathers first.
    if (QFileInfo(path).fileName() == u"Census_SummaryByProcedure.rpt")
        QVERIFY(db.call(u"STATION..sp_Or_MonthlyReport", {kFrom, kLastDay}));
    ReportRenderer renderer(db, kHeadings);
    auto ctx = renderer.context(*def, valuesFor(*def));
    VERIFY_RESULT(ctx);
    auto report = renderer.render(*def, *ctx);
    VERIFY_RESULT(report);
    const QString page = printed(**report);
    // Every query with rows shows its first one.
    for (const ReportQuery &q : def->queries) {
        const QVariantList rows = ctx->value(q.name).toList();
        const QString value = rows.isEmpty() ? QString() : telltale(rows.first().toMap());
        QVERIFY2(page.contains(value), qPrintable(q.name + u": \"" + value + u"\" not printed"));
    }
}

// A count or total of a report's context against the hospital's tables, counted or summed here
// another way: money exactly, from the rows' amounts; "#query" counts the rows of a query.

void tst_CatalogDefinitions::reportsAgreeWithTheHospital_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expectedSql"); // the count, or the rows whose Amount is summed
    QTest::addColumn<bool>("money");
    QTest::addColumn<QStringList>("added"); // rows written first (:when bound), taken back after
    QTest::addColumn<QString>("onPage");    // "+text" printed, "-text" printed nowhere
    const auto row = [](const char *name, const char *file, const QVariantList &values,
                        const char *shown, const QString &sql, bool money = false,
                        const QStringList &added = {}, const QString &onPage = {}) {
        QTest::newRow(name) << QString(file) << values << QString(shown) << sql << money << added
                            << onPage;
    };
    // The OR's logbook lines of November that make a total.
    const auto charges = [&](const char *name, const char *file, const QVariantList &values,
                             const char *shown, const QString &lines, auto &&...more) {
        row(name, file, values, shown,
            u"select L.Amount from STATION..tbNurseLogBook L where L.StationID = 'OR' and " +
                lines + u" and L.TransDate >= :from and L.TransDate < :to_end",
            true, more...);
    };
    // A logbook line of November posted by a station (%1) for a patient of a class (%2).
    const QString line = QStringLiteral(
        "insert into STATION..tbNurseLogBook (IDNum, RevenueID, ItemID, Amount, TransDate, "
        "StationID, PatientClass) values ('0012345', '%3', '%3%4', 1234.5, :when, '%1', '%2')");
    // The OR records of November that a report counts.
    const auto operations = [&](const char *name, const char *file, const QVariantList &values,
                                const char *shown, const QString &records = QStringLiteral("1 = 1"),
                                auto &&...more) {
        row(name, file, values, shown,
            u"select count(*) from STATION..tbORMasterFile R where " + records +
                u" and R.PatientIn >= :from and R.PatientIn < :to_end",
            false, more...);
    };
    // OR records of the stays (in-patient table %1) that a joined master row (%2) marks.
    const QString stays =
        QStringLiteral("R.IdNum in (select S.IDNum from PATIENT_DATA..%1 S join %2 union "
                       "select S.IDNum from PATIENT_DATA..tbOutPatient S join %2)");
    const QVariantList period{kFrom, kLastDay};
    const QVariantList audit = period + QVariantList{"CO", "AD", "AUDIT"};
    const QVariantList station = period + QVariantList{"OR", true};
    const QString posted = QStringLiteral("L.RecordStatus <> 'R'");
    charges("audit, revoked", "Audit_report.RPT", audit, "lines_sum_revoked",
            QStringLiteral("L.RecordStatus = 'R'"), QStringList(), QStringLiteral("-0.00 revoked"));
    const QString postedLines = u"from STATION..tbNurseLogBook L where L.StationID = 'OR' and " +
                                posted + u" and L.TransDate >= :from and L.TransDate < :to_end";
    // The totals at the end are printed each beside its label.
    row("audit, lines posted", "Audit_report.RPT", audit, "totals/0/linecount",
        u"select count(*) " + postedLines, false, {}, QStringLiteral("+Lines posted %1"));
    row("audit, slips posted", "Audit_report.RPT", audit, "totals/0/slips",
        u"select count(*) from (select distinct L.ReferenceNum " + postedLines + u") X", false,
        {}, QStringLiteral("+Charge slips %1"));
    charges("income detailed", "Nurse_Station_Income_Detailed.RPT", station, "lines_sum_amount",
            posted);
    charges("income summary by class", "Nurse_Station_Income_Summary.RPT", station,
            "classes_sum_outpatient", posted + u" and L.PatientClass = 'O'");
    charges("income by department", "IncomeReportGUVO.rpt", period + QVariantList{"OR"},
            "departments_sum_inpatient", posted + u" and L.PatientClass = 'I'");
    charges("equipment", "EquipmentPostCharge.RPT", period, "uses_sum_amount",
            posted + u" and L.RevenueID = 'OE'");
    // Another station whose code starts with O posts medicines too; they are not the OR's.
    charges("medicines", "MedSummary.RPT", period + QVariantList{"O", ""}, "items_sum_amount",
            posted + u" and L.RevenueID in ('PH', 'CS')",
            QStringList{line.arg("OB", "I", "PH", "1001")});
    charges("procedures", "ProcedureCountGUVO.rpt", period + QVariantList{"OR"},
            "procedures_sum_amount",
            posted + u" and L.ItemID in (select OtherRevenueID from "
                     u"BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC')");
    operations("operations", "PxOperations.RPT", period + QVariantList{3, "CO", "AD"},
               "operations_count");
    operations("census, summary, out-patients", "MonthlyCensus.rpt",
               QVariantList{"AD", "CO", "S", "A"} + period, "categories_sum_outpatient",
               QStringLiteral("R.PatientClass = 'O'"));
    operations("census of HMO patients", "MonthlyCensus.rpt",
               QVariantList{"AD", "CO", "D", "H"} + period, "cases_count",
               stays.arg("tbPatient", "BUILD_FILE..tbCoCompany K on K.AccountNum = S.AccountNum "
                                      "and K.CompanyType = 'H'"),
               QStringList(), QStringLiteral("+HMO PATIENTS"));
    operations("older census, the period asked", "MonthlyCensus.rpt",
               QVariantList{"AD", "CO", "A", "A"} + period, "cases_count", QStringLiteral("1 = 1"),
               QStringList(), u"+From " + kFrom + u" to " + kLastDay);
    operations("operations of PHIC members", "PxOperations.RPT",
               period + QVariantList{0, "CO", "AD"}, "operations_groups/PHIC/count",
               stays.arg("tbPatient2", "MEDICARE..tbAdmPHICTable K on K.PHICCode = S.PHICCode "
                                       "and K.Status = 1"));
    operations("monthly report, major", "MonthlyReport.RPT", period, "cases_sum_major",
               QStringLiteral("R.Category in ('1', '3', '4')"));
    operations("logbook, first part", "OR Logbook_Part1.rpt", period + QVariantList{1, "CLERK"},
               "cases_count", QStringLiteral("1 = 1"), QStringList(),
               QStringLiteral("+(Part 1 of 2)"));
    operations("logbook in one part", "OR Logbook_Part1.rpt", period + QVariantList{1, "CLERK"},
               "cases_count", QStringLiteral("1 = 1"),
               QStringList{QStringLiteral("insert into STATION..tbNurseSetup (Field, value) "
                                          "values ('ORLogbookOnePage', '1')")},
               QStringLiteral("-Part 1 of 2"));
    // The MICU report of one client: the unit's stays and charges, not the OR's.
    const QVariantList micu = QVariantList{"CO", "AD", "MONTHLY MICU REPORT"} + period;
    row("MICU admissions", "Monthly_Report.RPT", micu, "days_sum_admitted",
        "select count(*) from PATIENT_DATA..tbPatient where StationID = 'ICU' and "
        "RecordStatus <> 'R' and AdmDate >= :from and AdmDate < :to_end");
    row("MICU charges", "Monthly_Report.RPT", micu, "income_sum_amount",
        "select Amount from STATION..tbNurseLogBook where StationID = 'ICU' and "
        "RecordStatus <> 'R' and TransDate >= :from and TransDate < :to_end",
        true, QStringList{line.arg("ICU", "I", "PH", "1001")});
    const QVariantList month{"11/2026", "2905"};
    operations("room cases of the month, open heart", "MonthlySummaryORDRCases.rpt", month,
               "rooms_sum_openheart", QStringLiteral("R.Category = '4'"));
    // Dates written into the statements below compare as stored on SQLite; on PostgreSQL the
    // text is read as a timestamp.
    row("census of one station", "CensusByStation_TWY.RPT", {QDate(2026, 12, 1), "4N"},
        "patients_count",
        "select count(*) from PATIENT_DATA..tbPatient P join BUILD_FILE..tbCoRoom R "
        "on R.RoomID = P.RoomID where P.DcrDate is null and R.StationID = '4N'");
    row("cash basis patients still in", "CashBasisAllPatients.RPT", {}, "patients_count",
        "select (select count(*) from PATIENT_DATA..tbPatient2 X join PATIENT_DATA..tbPatient "
        "P on P.IDNum = X.IDNum where X.isCashBasis = 1 and P.DcrDate is null) + "
        "(select count(*) from PATIENT_DATA..tbOutPatient where isCashBasis = 1 "
        "and DcrDate is null and RecordStatus <> 'R')");
    row("discharge notices of patients still in", "PatientDischargeNoticeStatus.RPT", {""},
        "notices_count",
        "select count(*) from STATION..tbNurseDischargeNotice N join PATIENT_DATA..tbPatient "
        "P on P.IDNum = N.IDNum where P.DcrDate is null");
    row("AM pick-ups of the OR this morning", "ListAMPickUps.rpt",
        {"OR", "12/01/2026", "12/01/2026", "ESGUERRA, MARICEL TAN"}, "tests_count",
        "select count(*) from LABORATORY..tbLabResult where StationID = 'OR' "
        "and IsAMPickUp = 1 and RequestDate >= '2026-12-01' and RequestDate < '2026-12-02'");
    row("PhilHealth logbook of a week's admissions", "DailyAdmissionLogbook.rpt",
        {"11/24/2026", "11/30/2026", kHeadings.Address1}, "memberships_sum_patients",
        "select count(*) from PATIENT_DATA..tbPatient where AdmDate >= '2026-11-24' "
        "and AdmDate < '2026-12-01'");
    // Out-patients are told by the line's patient class, whatever the admission number.
    const QString outPatientProcedures = QStringLiteral(
        "select count(*) from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O on "
        "O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.StationID = 'OR' and "
        "L.RecordStatus <> 'R' and L.PatientClass = 'O' and L.TransDate >= :from and "
        "L.TransDate < :to_end");
    for (const char *file : {"ByCategoryReport.rpt", "Census_SummaryByProcedure.rpt"})
        row(file, file, QVariantList{"CO", "AD"}.mid(file[0] == 'B' ? 2 : 0) + period,
            "procedures_sum_outpatients", outPatientProcedures, false,
            {line.arg("OR", "O", "OR", "1001")});
    // The user logs: "V" in third place lists one employee's entries of the period.
    row("user logs of one employee", "NurseLogs.RPT",
        {kHeadings.Company, kHeadings.Address1, "V", "11/24/2026", "12/01/2026", "2901", 1},
        "#logs",
        "select count(*) from STATION..tbStationLogs where StationID = 'OR' and TransDate >= "
        "'2026-11-24' and TransDate < '2026-12-02' and UserID = '2901'");
    // Stock monitoring: what the OR's stock card says is out is what the logbook still charges
    // for medicines issued from it (a revoked charge brought its stock back, a return its part).
    row("stock of OR medicines", "StockMonitoring.RPT", {"OM"}, "items_sum_netamount",
        "select L.Amount - L.ReturnedAmount as Amount from STATION..tbNurseLogBook L "
        "where L.RecordStatus <> 'R' and L.RevenueID = 'PH' and L.ItemID like 'PH1%' and exists "
        "(select 1 from INVENTORY..tbInvStockCard S where S.RefNum = L.ReferenceNum and "
        "S.ItemID = L.ItemID and S.LocationID = 'OM')",
        true);
}

void tst_CatalogDefinitions::reportsAgreeWithTheHospital()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, values);
    QFETCH(QString, shown);
    QFETCH(QString, expectedSql);
    QFETCH(bool, money);
    QFETCH(QStringList, added);
    QFETCH(QString, onPage);
    Database &db = readOnlyDemo();
    Transaction takenBack = db.transaction(); // the demo stays as it was for the next rows
    QVERIFY(takenBack.isActive());
    for (const QString &sql : std::as_const(added))
        VERIFY_RESULT(db.exec(sql, {{"when", QDateTime(QDate(2026, 11, 16), QTime(10, 0))}}));
    if (file == u"Census_SummaryByProcedure.rpt") // the summary the program gathers first
        QVERIFY(db.call(u"STATION..sp_Or_MonthlyReport", values.mid(2)));
    auto ctx = contextOf(db, file, values);
    VERIFY_RESULT(ctx);
    // "#query" counts a query's rows; "a/b/c" walks lists (by position or group key) and rows.
    QVariant at = *ctx;
    for (const QString &step : shown.split(u'/')) {
        QVariant next = at.toMap().value(step);
        for (const QVariant &item : at.toList())
            next = item.toMap().value(QStringLiteral("key")) == step ? item : next;
        at = step == u"0" ? at.toList().value(0) : next;
    }
    const QString value = shown.startsWith(u'#')
                              ? QString::number(ctx->value(shown.mid(1)).toList().size())
                              : at.toString();
    const Binds binds = expectedSql.contains(u":from") ? kNovember : Binds();
    if (money) {
        const Money expected = total(db, expectedSql, binds);
        QVERIFY(expected > Money());
        QCOMPARE(value, formatNumber(expected, kFormatAmount));
    } else {
        const qint64 expected = count(db, expectedSql, binds);
        QVERIFY(expected > 0);
        QCOMPARE(QString(value).remove(u','), QString::number(expected));
    }
    if (!onPage.isEmpty()) {
        QString error;
        auto report = open(db, file, values, &error);
        QVERIFY2(report, qPrintable(error));
        const QString text = onPage.contains(u"%1") ? onPage.mid(1).arg(value) : onPage.mid(1);
        QVERIFY2(printed(*report).contains(text) == onPage.startsWith(u'+'), qPrintable(text));
    }
}

void tst_CatalogDefinitions::everyGroupingListsTheSameOperations()
{
    // PHIC membership, doctor, procedure and date group the same operations, each group once.
    Database &db = readOnlyDemo();
    QStringList listed[4];
    for (int grouping = 0; grouping < 4; ++grouping) {
        auto ctx = contextOf(db, QStringLiteral("PxOperations.RPT"),
                             {kFrom, kTo, grouping, QStringLiteral("CO"), QStringLiteral("AD")});
        VERIFY_RESULT(ctx);
        QStringList keys;
        for (const QVariant &g : ctx->value(QStringLiteral("operations_groups")).toList()) {
            keys << g.toMap().value(QStringLiteral("key")).toString();
            for (const QVariant &r : g.toMap().value(QStringLiteral("rows")).toList())
                listed[grouping] << r.toMap().value(QStringLiteral("idnum")).toString() + u' ' +
                                        r.toMap().value(QStringLiteral("patientin")).toString();
        }
        QVERIFY(keys.size() > 1 && keys.removeDuplicates() == 0);
        listed[grouping].sort();
        QVERIFY(!listed[grouping].isEmpty());
        QCOMPARE(listed[grouping], listed[0]);
    }
}

void tst_CatalogDefinitions::amountsFollowTheShowAmountSetting()
{
    const QString total = QStringLiteral("lines_sum_amount");
    const QString count = QStringLiteral("lines_sum_quantity");
    Database &db = readOnlyDemo();
    auto def = ReportDefinition::load(
        findReportFile(kReportsDir, QStringLiteral("Nurse_Station_Income_Detailed.RPT")));
    VERIFY_RESULT(def);
    ReportRenderer renderer(db, kHeadings);
    for (const bool show : {true, false}) {
        auto ctx = renderer.context(*def, {kFrom, kTo, QStringLiteral("OR"), show});
        VERIFY_RESULT(ctx);
        auto report = renderer.render(*def, *ctx);
        VERIFY_RESULT(report);
        const QString page = printed(**report);
        // The count is printed either way; the money only when the hospital shows it.
        QVERIFY2(page.contains(ctx->value(count).toString()), qPrintable(count));
        QCOMPARE(page.contains(ctx->value(total).toString()), show);
        QCOMPARE(page.contains(u"Amount"), show);
    }
}

void tst_CatalogDefinitions::logbookPartsNumberAndMatchTheirCases()
{
    Database &db = readOnlyDemo();
    auto first = contextOf(db, QStringLiteral("OR Logbook_Part1.rpt"),
                           {kFrom, kLastDay, 101, QStringLiteral("ESGUERRA, MARICEL TAN")});
    VERIFY_RESULT(first);
    auto second = contextOf(db, QStringLiteral("OR Logbook_Part2.rpt"), {kFrom, kLastDay, 101});
    VERIFY_RESULT(second);
    const QVariantList one = first->value(QStringLiteral("cases")).toList();
    const QVariantList two = second->value(QStringLiteral("cases")).toList();
    QVERIFY(one.size() > 1);
    QCOMPARE(two.size(), one.size());
    for (qsizetype i = 0; i < one.size(); ++i) {
        const QVariantMap a = one.at(i).toMap();
        const QVariantMap b = two.at(i).toMap();
        // The book carries on from the clerk's starting number, line for line in both parts.
        QCOMPARE(a.value(QStringLiteral("caseno")).toString(), QString::number(101 + i));
        QCOMPARE(b.value(QStringLiteral("caseno")), a.value(QStringLiteral("caseno")));
        QCOMPARE(b.value(QStringLiteral("patientname")), a.value(QStringLiteral("patientname")));
        QCOMPARE(b.value(QStringLiteral("operationdate")),
                 a.value(QStringLiteral("operationdate")));
    }
}

void tst_CatalogDefinitions::phasesAddUpAndRunPastMidnight()
{
    KESTREL_OPEN_DEMO(db);
    // A late emergency: in at 11:30 PM, incision at 11:50 PM, closed at 12:40 AM and out at
    // 1:00 AM the next day.
    Binds times{{"day", QDateTime(QDate(2026, 11, 20), QTime(0, 0))}};
    const char *names[] = {"in", "anes", "cut", "close", "anesEnd", "out"};
    const int offsets[] = {23 * 60 + 30, 23 * 60 + 40, 23 * 60 + 50,
                           24 * 60 + 40, 24 * 60 + 50, 25 * 60};
    for (int i = 0; i < 6; ++i)
        times.insert(names[i], times.value("day").toDateTime().addSecs(offsets[i] * 60));
    auto added = db.exec(
        u"insert into STATION..tbORMasterFile (IdNum, HospNum, PatientClass, Procedures, "
        u"ORNumber, Category, Anesthesia, OperationDate, PatientIn, AnesthesiaTime, "
        u"OperationTime1, OperationTime2, AnesthesiaEndTime, PatientOut) "
        u"values ('0099999', '', 'I', 'OR1017', 'OR 1', '3', 'GENERAL ENDOTRACHEAL ANESTHESIA', "
        u":day, :in, :anes, :cut, :close, :anesEnd, :out)",
        times);
    VERIFY_RESULT(added);
    auto ctx = contextOf(db, QStringLiteral("TimeNMotion.RPT"), {kFrom, kTo});
    VERIFY_RESULT(ctx);
    const QVariantList rows = ctx->value(QStringLiteral("operations")).toList();
    QVERIFY(rows.size() > 1);
    bool seen = false;
    for (const QVariant &r : rows) {
        const QVariantMap row = r.toMap();
        const auto minutes = [&](const char *field) { return row.value(field).toInt(); };
        const int before = minutes("beforeincision"), operating = minutes("operating"),
                  after = minutes("afterclosure");
        QVERIFY(before > 0 && operating > 0 && after > 0);
        QCOMPARE(before + operating + after, minutes("inroom"));
        if (row.value(QStringLiteral("idnum")).toString() == u"0099999") {
            seen = true;
            QCOMPARE(QList<int>({before, operating, after, minutes("underanesthesia")}),
                     QList<int>({20, 50, 20, 70}));
            QCOMPARE(row.value(QStringLiteral("operationtime2")).toString(),
                     QStringLiteral("00:40"));
        }
    }
    QVERIFY(seen);
}

// STATION..sp_Or_MonthlyReport, run before the statistical report: the workstation's rows of
// the work table hold the period's procedures of the OR, once, and the report reads them.
void tst_CatalogDefinitions::monthlyReportFillsTheWorkTable()
{
    KESTREL_OPEN_DEMO(db);
    const QString procedures = QStringLiteral(
        "select L.Amount from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O "
        "on O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.StationID = 'OR' and "
        "L.RecordStatus <> 'R' and L.TransDate >= :from and L.TransDate < :to_end");
    const Binds yesterday{{"from", QDate(2026, 11, 30).startOfDay()},
                          {"to_end", QDate(2026, 12, 1).startOfDay()}};
    const qint64 cases = count(db, u"select count(*) from (" + procedures + u") X", yesterday);
    const Money amount = total(db, procedures, yesterday);
    QVERIFY(cases > 0);
    // Another workstation's rows are not this one's to replace or to report.
    QVERIFY(db.exec(u"insert into STATION..tbORMonthlyReport (HostName, ProcedureCode, "
                    u"TotalCases) values ('OR-PC-09', 'OR1001', 7)"));
    const QString mine =
        QStringLiteral("from STATION..tbORMonthlyReport where HostName = host_name()");
    const auto report = [&](const QString &from, const QString &to) {
        return contextOf(db, QStringLiteral("Census_SummaryByProcedure.rpt"),
                         {QStringLiteral("CO"), QStringLiteral("AD"), from, to});
    };
    for (int run = 1; run <= 2; ++run) {
        auto rows = db.call(u"STATION..sp_Or_MonthlyReport", {kLastDay, kLastDay});
        VERIFY_RESULT(rows);
        qint64 counted = 0;
        Money summed;
        for (const Row &r : *rows) {
            QCOMPARE(r.integer(u"InPatients") + r.integer(u"OutPatients"),
                     r.integer(u"TotalCases"));
            counted += r.integer(u"TotalCases");
            summed += r.money(u"Amount");
        }
        QCOMPARE(counted, cases);
        QCOMPARE(summed, amount);
        // Running it again replaces the rows, it does not add to them.
        QCOMPARE(count(db, u"select count(*) " + mine), qint64(rows->count()));
        QCOMPARE(count(db, u"select coalesce(sum(TotalCases), 0) " + mine), cases);
        QCOMPARE(count(db, QStringLiteral("select TotalCases from STATION..tbORMonthlyReport "
                                          "where HostName = 'OR-PC-09'")),
                 7);
    }
    auto after = report(kLastDay, kLastDay);
    VERIFY_RESULT(after);
    QCOMPARE(after->value(QStringLiteral("procedures_sum_totalcases")).toLongLong(), cases);
    QCOMPARE(after->value(QStringLiteral("categories_sum_totalcases")).toLongLong(), cases);
    QCOMPARE(after->value(QStringLiteral("procedures_sum_amount")).toString(),
             formatNumber(amount, kFormatAmount));
    // A date it cannot read fails.
    auto bad = db.call(u"STATION..sp_Or_MonthlyReport", {QStringLiteral("13/45/2026"), kLastDay});
    QVERIFY(!bad);
    QVERIFY2(bad.error().message.contains(u"Conversion failed"), qPrintable(bad.error().message));
}

// The program passes the admission number; a form (here the counting sheet) must name the
// patient and carry what the hospital holds for the stay.
void tst_CatalogDefinitions::patientFormsPrintTheStay()
{
    const QString file = QStringLiteral("SpongeInstrumentNeedle.rpt");
    const QString expectedSql = QStringLiteral(
        "select ProcedureDesc from SCHEDULE..tbORScheduleDetails where IDNum = :id and "
        "RecordStatus = 'C' order by TransNum desc limit 1");
    Database &db = readOnlyDemo();
    const QString idNum = stayOf(db, StayKind::Operated);
    const QString expected = text(db, expectedSql, {{QStringLiteral("id"), idNum}});
    QVERIFY2(!expected.isEmpty() && !expected.startsWith(u'<'), qPrintable(expected));
    auto patient = db.selectOne(u"select M.LastName, M.FirstName, M.HospNum "
                                u"from PATIENT_DATA..tbMaster M join PATIENT_DATA..tbPatient P "
                                u"on P.HospNum = M.HospNum where P.IDNum = :id",
                                {{QStringLiteral("id"), idNum}});
    QVERIFY(patient && *patient);
    QString error;
    auto report = open(db, file, {idNum}, &error);
    QVERIFY2(report, qPrintable(error));
    const QString page = printed(*report);
    for (const QString &part : {(*patient)->text(u"LastName"), (*patient)->text(u"FirstName"),
                                (*patient)->text(u"HospNum"), idNum, expected.simplified()})
        QVERIFY2(page.contains(part), qPrintable(part));
    // A form asked for an admission number the hospital does not have says so and prints
    // nobody's details.
    auto unknown = open(db, file, {QStringLiteral("9999999")}, &error);
    QVERIFY(unknown);
    const QString nobody = printed(*unknown);
    QVERIFY(nobody.contains(u"No patient with admission number 9999999"));
    QVERIFY(!nobody.contains((*patient)->text(u"HospNum")));
}

// The ledgers: the balance of the last line and the total are the stay's charges that were
// not revoked, summed here from the logbook.
void tst_CatalogDefinitions::ledgerBalanceRunsToTheStaysTotal_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("stay");
    QTest::addColumn<QString>("linesSql"); // the lines the ledger must carry, by :id
    const QString orLines =
        QStringLiteral("select Amount, ReferenceNum from STATION..tbNurseLogBook where IDNum = :id "
                       "and StationID = 'OR' and RecordStatus <> 'R'");
    const QString supplyLines = orLines + u" and RevenueID in ('PH', 'CS', 'OS')";
    QTest::newRow("OR ledger of yesterday's operation")
        << "Patient_Ledger.RPT" << int(StayKind::Operated) << orLines;
    QTest::newRow("OR ledger of a stay whose slip was revoked")
        << "Patient_Ledger.RPT" << int(StayKind::Revoked) << orLines;
    QTest::newRow("CSSR ledger of a stay with medicines")
        << "Patient_CSR_Ledger.RPT" << int(StayKind::Medicines) << supplyLines;
}

void tst_CatalogDefinitions::ledgerBalanceRunsToTheStaysTotal()
{
    QFETCH(QString, file);
    QFETCH(int, stay);
    QFETCH(QString, linesSql);
    Database &db = readOnlyDemo();
    const QString idNum = stayOf(db, StayKind(stay));
    const Binds id{{QStringLiteral("id"), idNum}};
    const Money expected = total(db, linesSql, id);
    const qint64 lines = count(db, u"select count(*) from (" + linesSql + u") X", id);
    // The sixteen values the program builds from the current patient.
    auto p = db.selectOne(
        u"select P.IDNum, P.HospNum, P.AdmDate, P.DcrDate, P.RoomID, P.AccountNum, "
        u"M.LastName || ', ' || M.FirstName || ' ' || M.MiddleName as PatientName, "
        u"M.HouseStreet || ', ' || M.Town as Address, C.Company "
        u"from PATIENT_DATA..tbPatient P join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
        u"left join BUILD_FILE..tbCoCompany C on C.AccountNum = P.AccountNum "
        u"where P.IDNum = :id",
        id);
    QVERIFY(p && *p);
    const Row &r = **p;
    QVariantList values{kHeadings.Company, kHeadings.Address1, QString(), "PATIENT'S OR LEDGER"};
    for (const char16_t *f : {u"PatientName", u"Address", u"AccountNum", u"Company", u"IDNum"})
        values << r.text(f);
    values << r.text(u"HospNum") << r.dateTime(u"AdmDate") << r.dateTime(u"DcrDate")
           << r.text(u"RoomID") << r.trimmed(u"HospNum") << r.trimmed(u"IDNum") << "OR";
    auto ctx = contextOf(db, file, values);
    VERIFY_RESULT(ctx);
    const QVariantList rows = ctx->value(QStringLiteral("lines")).toList();
    QCOMPARE(rows.size(), lines);
    QCOMPARE(amountShown(ctx->value(QStringLiteral("lines_sum_amount"))), expected);
    // The departments' summary adds up to the same total.
    QCOMPARE(amountShown(ctx->value(QStringLiteral("departments_sum_amount"))), expected);
    // The balance runs line by line to the total.
    Money added;
    for (const QVariant &v : rows) {
        const QVariantMap row = v.toMap();
        const auto balance = amountShown(row.value(QStringLiteral("balance")));
        const auto amount = amountShown(row.value(QStringLiteral("amount")));
        QVERIFY2(balance && amount, qPrintable(row.value(QStringLiteral("balance")).toString()));
        added += *amount;
        QCOMPARE(*balance, added);
    }
    QCOMPARE(added, expected);
    QString error;
    auto report = open(db, file, values, &error);
    QVERIFY2(report, qPrintable(error));
    const QString page = printed(*report);
    QVERIFY(page.contains(ctx->value(QStringLiteral("lines_sum_amount")).toString()) &&
            page.contains(r.text(u"PatientName").simplified()) && page.contains(idNum));
    QCOMPARE(page.contains(u"posted by the station for this stay"), rows.isEmpty());
}

// A laboratory form prints each test's latest released result of the stay.
void tst_CatalogDefinitions::labFormShowsTheLatestReleasedResult()
{
    KESTREL_OPEN_DEMO(db);
    const QString idNum = stayOf(db, StayKind::Operated);
    const auto releasedBefore = [&](const char *name) {
        return text(db,
                    "select Result from LABORATORY..tbLabResult where IdNum = :id and SectionID = "
                    "'HEM' and TestName = :test and ResultDate is not null order by ResultID desc "
                    "limit 1",
                    {{"id", idNum}, {"test", name}});
    };
    // A later released result wins; a pending repeat keeps the released one; a revoked result
    // is not printed; nor is another stay's.
    QStringList tests, expected;
    const auto add = [&](const char *name, const char *result, const char *status, bool released,
                         const QString &stay, const QString &printed) {
        tests << name;
        expected << name + (u'=' + printed);
        return db.exec(u"insert into LABORATORY..tbLabResult (IdNum, RequestNum, SectionID, "
                       u"TestName, Result, RequestDate, ResultDate, RecordStatus) values "
                       u"(:id, 'LB9999999', 'HEM', :test, :result, :asked, :released, :status)",
                       {{"id", stay},
                        {"test", name},
                        {"result", result},
                        {"status", status},
                        {"asked", test::fixtureNow()},
                        {"released", released ? QVariant(test::fixtureNow()) : QVariant()}});
    };
    QVERIFY(add("HEMOGLOBIN", "101", "", true, idNum, "101"));
    QVERIFY(add("PLATELET COUNT", "", "", false, idNum, releasedBefore("PLATELET COUNT")));
    QVERIFY(add("APTT", "99.9", "R", true, idNum, releasedBefore("APTT")));
    QVERIFY(add("BLEEDING TIME", "4", "", true, stayOf(db, StayKind::Revoked), ""));
    auto ctx = contextOf(db, QStringLiteral("LabHematology.rpt"), {idNum});
    VERIFY_RESULT(ctx);
    QStringList printed;
    for (const QVariant &v : ctx->value(QStringLiteral("tests")).toList()) {
        const QVariantMap row = v.toMap();
        const QString name = row.value(QStringLiteral("testname")).toString();
        if (!tests.contains(name))
            continue;
        printed << name + u'=' + row.value(QStringLiteral("result")).toString();
        // Unit and normal range come from the form where the laboratory gave none.
        QVERIFY(!row.value(QStringLiteral("normalrange")).toString().isEmpty());
    }
    printed.sort();
    expected.sort();
    QCOMPARE(printed, expected); // each test of the section once
}

QTEST_MAIN(tst_CatalogDefinitions)
#include "tst_catalogdefinitions.moc"
