// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report definitions of the Reports folder against the demo hospital: every file opens
// and prints some of its rows, and what the reports, forms and lists print agrees with the
// hospital's own tables, read here by statements of the test's own.
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

QVariantList rowsOf(const QVariantMap &ctx, const QString &query)
{
    return ctx.value(query).toList();
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
                                           const QVariantList &values, QString *error = nullptr)
{
    test::RecordingReportDisplay display;
    test::RecordingNotifier notifier;
    ReportService service(db, kReportsDir, kHeadings, display, notifier);
    if (!service.OpenReport(file, values)) {
        if (error)
            *error = notifier.lastText();
        return nullptr;
    }
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
    const QString stays = QStringLiteral(
        "select min(L.IDNum) from STATION..tbNurseLogBook L join PATIENT_DATA..tbPatient P "
        "on P.IDNum = L.IDNum where ");
    switch (kind) {
    case StayKind::Operated:
        return text(db, stays + u"P.DcrDate is null and L.StationID = 'OR' and "
                                u"L.RecordStatus <> 'R'");
    case StayKind::Medicines:
        return text(db, stays + u"P.DcrDate is not null and L.RevenueID = 'PH' and "
                                u"L.RecordStatus <> 'R'");
    case StayKind::Revoked:
        return text(db, stays + u"P.DcrDate is null and L.RecordStatus = 'R'");
    }
    return {};
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
    void amountsFollowTheShowAmountSetting_data();
    void amountsFollowTheShowAmountSetting();
    void logbookPartsNumberAndMatchTheirCases();
    void phasesAddUpAndRunPastMidnight();
    void monthlyReportFillsTheWorkTable_data();
    void monthlyReportFillsTheWorkTable();

    void patientFormsPrintTheStay_data();
    void patientFormsPrintTheStay();
    void ledgerBalanceRunsToTheStaysTotal_data();
    void ledgerBalanceRunsToTheStaysTotal();
    void labFormShowsTheLatestReleasedResult_data();
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

// --- Every definition -------------------------------------------------------------------------

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
        const QVariantList rows = rowsOf(*ctx, q.name);
        const QString value = rows.isEmpty() ? QString() : telltale(rows.first().toMap());
        QVERIFY2(page.contains(value), qPrintable(q.name + u": \"" + value + u"\" not printed"));
    }
}

// --- What the reports add up ------------------------------------------------------------------
// A count or total of a report's context against the hospital's tables, counted or summed here
// another way: money exactly, from the rows' amounts; "#query" counts the rows of a query.

void tst_CatalogDefinitions::reportsAgreeWithTheHospital_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("expectedSql"); // the count, or the rows whose Amount is summed
    QTest::addColumn<bool>("money");
    QTest::addColumn<bool>("some"); // the demo hospital has some

    const auto row = [](const char *name, const char *file, const QVariantList &values,
                        const char *shown, const QString &sql, bool money = false,
                        bool some = true) {
        QTest::newRow(name) << QString(file) << values << QString(shown) << sql << money << some;
    };
    // The OR's logbook lines of November that make a total.
    const auto charges = [&](const char *name, const char *file, const QVariantList &values,
                             const char *shown, const QString &lines) {
        row(name, file, values, shown,
            u"select L.Amount from STATION..tbNurseLogBook L where L.StationID = 'OR' and " +
                lines + u" and L.TransDate >= :from and L.TransDate < :to_end",
            true);
    };
    // The OR records of November that a report counts.
    const auto operations = [&](const char *name, const char *file, const QVariantList &values,
                                const char *shown,
                                const QString &records = QStringLiteral("1 = 1")) {
        row(name, file, values, shown,
            u"select count(*) from STATION..tbORMasterFile R where " + records +
                u" and R.PatientIn >= :from and R.PatientIn < :to_end");
    };
    const QVariantList period{kFrom, kLastDay};
    const QVariantList audit = period + QVariantList{"CO", "AD", "AUDIT"};
    const QVariantList station = period + QVariantList{"OR", true};
    const QVariantList monthly = QVariantList{"CO", "AD", "MONTHLY"} + period;
    const QString posted = QStringLiteral("L.RecordStatus <> 'R'");
    charges("audit, posted", "Audit_report.RPT", audit, "lines_sum_posted", posted);
    charges("audit, revoked", "Audit_report.RPT", audit, "lines_sum_revoked",
            QStringLiteral("L.RecordStatus = 'R'"));
    charges("income detailed", "Nurse_Station_Income_Detailed.RPT", station, "lines_sum_amount",
            posted);
    charges("income summary", "Nurse_Station_Income_Summary.RPT", station, "departments_sum_amount",
            posted);
    charges("income summary by class", "Nurse_Station_Income_Summary.RPT", station,
            "classes_sum_outpatient", posted + u" and L.PatientClass = 'O'");
    charges("income by department", "IncomeReportGUVO.rpt", period + QVariantList{"OR"},
            "departments_sum_inpatient", posted + u" and L.PatientClass = 'I'");
    charges("monthly report's income", "Monthly_Report.RPT", monthly, "income_sum_amount", posted);
    charges("equipment", "EquipmentPostCharge.RPT", period, "uses_sum_amount",
            posted + u" and L.RevenueID = 'OE'");
    charges("medicines", "MedSummary.RPT", period + QVariantList{"O", ""}, "items_sum_amount",
            posted + u" and L.RevenueID in ('PH', 'CS')");
    charges("procedures", "ProcedureCountGUVO.rpt", period + QVariantList{"OR"},
            "procedures_sum_amount",
            posted + u" and L.ItemID in (select OtherRevenueID from "
                     u"BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC')");
    charges("yearly income, November", "ORDRYearlyIncomeReport.rpt", period, "months_sum_amount",
            posted);

    const auto census = [&](const char *kind, const char *patients) {
        return QVariantList{"AD", "CO", kind, patients} + period;
    };
    const QString inPatients = QStringLiteral("R.PatientClass = 'I'");
    operations("operations", "PxOperations.RPT", period + QVariantList{3, "CO", "AD"},
               "operations_count");
    operations("census, detailed, all", "MonthlyCensus.rpt", census("D", "A"), "cases_count");
    operations("census, detailed, in-patients", "MonthlyCensus.rpt", census("D", "H"),
               "cases_count", inPatients);
    operations("census, summary, all", "MonthlyCensus.rpt", census("S", "A"),
               "procedures_sum_total");
    operations("census, summary, in-patients", "MonthlyCensus.rpt", census("S", "H"),
               "categories_sum_total", inPatients);
    operations("census, summary, out-patients", "MonthlyCensus.rpt", census("S", "A"),
               "categories_sum_outpatient", QStringLiteral("R.PatientClass = 'O'"));
    operations("monthly report", "MonthlyReport.RPT", period, "cases_count");
    operations("monthly report, major", "MonthlyReport.RPT", period, "cases_sum_major",
               QStringLiteral("R.Category in ('1', '3', '4')"));
    operations("monthly report by day", "Monthly_Report.RPT", monthly, "days_count");
    operations("mandatory report", "OR_Mandatory_Report.rpt", period, "cases_count");
    operations("OR report by category", "ORReport.rpt", period, "categories_sum_total");
    operations("OR report by room", "ORReport.rpt", period, "rooms_sum_total");
    operations("OR report by service", "ORReport.rpt", period, "services_sum_total");
    operations("logbook, first part", "OR Logbook_Page1.rpt", period + QVariantList{1, "CLERK"},
               "cases_count");
    operations("logbook, second part", "OR Logbook_Page2.rpt", period, "cases_count");
    operations("daily logbook", "DailyORLogbook.rpt", period, "cases_count");
    const QVariantList month{"11/2026", "2905"};
    operations("room cases of the month", "MonthlySummaryORDRCases.rpt", month, "rooms_sum_total");
    operations("room cases of the month, open heart", "MonthlySummaryORDRCases.rpt", month,
               "rooms_sum_openheart", QStringLiteral("R.Category = '4'"));
    operations("yearly cases, November", "YearlyReport_OrCases.rpt", period, "months_count");
    operations("top cases", "OrTopRoomCases.rpt", period, "procedures_sum_cases");
    operations("top cases by room", "OrTopRoomCases.rpt", period, "rooms_sum_cases");
    operations("time and motion", "TimeNMotion.RPT", period, "operations_count");

    // Dates written into the statements below compare as stored on SQLite; on PostgreSQL the
    // text is read as a timestamp.
    row("census of the whole hospital", "CensusByStation_TWY.RPT", {QDate(2026, 12, 1), ""},
        "patients_count", "select count(*) from PATIENT_DATA..tbPatient where DcrDate is null");
    row("census of one station", "CensusByStation_TWY.RPT", {QDate(2026, 12, 1), "4N"},
        "patients_count",
        "select count(*) from PATIENT_DATA..tbPatient P join BUILD_FILE..tbCoRoom R "
        "on R.RoomID = P.RoomID where P.DcrDate is null and R.StationID = '4N'");
    row("census of a day last year", "CensusByStation_TWY.RPT", {"12/01/2025", ""},
        "patients_count",
        "select count(*) from PATIENT_DATA..tbPatient where AdmDate < '2025-12-02' "
        "and DcrDate >= '2025-12-02'");
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
    row("no AM pick-ups on a ward", "ListAMPickUps.rpt", {"4N", "11/01/2026", "12/01/2026", ""},
        "tests_count", "select 0", false, false);
    row("PhilHealth logbook of a week's admissions", "DailyAdmissionLogbook.rpt",
        {"11/24/2026", "11/30/2026", kHeadings.Address1}, "memberships_sum_patients",
        "select count(*) from PATIENT_DATA..tbPatient where AdmDate >= '2026-11-24' "
        "and AdmDate < '2026-12-01'");
    row("procedures by category in November", "ByCategoryReport.rpt", period,
        "procedures_sum_cases",
        "select count(*) from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O "
        "on O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.StationID = 'OR' "
        "and L.RecordStatus <> 'R' and L.TransDate >= '2026-11-01' "
        "and L.TransDate < '2026-12-01'");
    row("request orders of a stay never operated on", "List_of_RequestOrders.Rpt", {"9999999"},
        "orders_count", "select 0", false, false);

    // The user logs: the transaction code in third place; "V" lists one employee's entries of
    // the period, any other code the entries of that kind.
    const auto logs = [&](const char *name, const char *transaction, const char *employee,
                          const QString &entries, bool some = true) {
        row(name, "NurseLogs.RPT",
            {kHeadings.Company, kHeadings.Address1, transaction, "11/24/2026", "12/01/2026",
             employee, *employee ? 1 : 0},
            "#logs",
            u"select count(*) from STATION..tbStationLogs where StationID = 'OR' and TransDate "
            u">= '2026-11-24' and TransDate < '2026-12-02' and " +
                entries,
            false, some);
    };
    logs("user logs of one employee", "V", "2901", QStringLiteral("UserID = '2901'"));
    logs("user logs: CVOR tagging is clinical operation", "J", "",
         QStringLiteral("Remarks like '%CVOR%'"));
    logs("user logs: confirmed schedules", "K", "",
         QStringLiteral("Remarks like 'OR SCHEDULE CONFIRMED%'"));
    logs("user logs: laboratory requests sent", "F", "",
         QStringLiteral("Remarks like 'SEND REQUEST%'"));
    logs("user logs: no diet was changed", "B", "", QStringLiteral("Remarks like '%DIET%'"), false);

    // Stock monitoring: what the stock card says is out is what the logbook still charges (a
    // revoked charge brought its stock back).
    const auto stock = [&](const char *name, const char *revenue, const QString &lines) {
        const QString charged =
            u"select Amount, Quantity from STATION..tbNurseLogBook where RecordStatus <> 'R' "
            u"and " +
            lines;
        row(qPrintable(name + QStringLiteral(", items")), "StockMonitoring.RPT", {revenue},
            "#items", u"select count(distinct ItemID) from STATION..tbNurseLogBook where " + lines);
        row(qPrintable(name + QStringLiteral(", amount")), "StockMonitoring.RPT", {revenue},
            "items_sum_netamount", charged, true);
        row(qPrintable(name + QStringLiteral(", quantity")), "StockMonitoring.RPT", {revenue},
            "items_sum_netquantity", u"select sum(X.Quantity) from (" + charged + u") X");
    };
    stock("OR supplies", "OS", QStringLiteral("RevenueID = 'OS'"));
    stock("OR medicines", "OM", QStringLiteral("RevenueID = 'PH' and ItemID like 'PH1%'"));
}

void tst_CatalogDefinitions::reportsAgreeWithTheHospital()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, values);
    QFETCH(QString, shown);
    QFETCH(QString, expectedSql);
    QFETCH(bool, money);
    QFETCH(bool, some);
    Database &db = readOnlyDemo();
    auto ctx = contextOf(db, file, values);
    VERIFY_RESULT(ctx);
    const QString value = shown.startsWith(u'#')
                              ? QString::number(rowsOf(*ctx, shown.mid(1)).size())
                              : ctx->value(shown).toString();
    const Binds binds = expectedSql.contains(u":from") ? kNovember : Binds();
    if (money) {
        const Money expected = total(db, expectedSql, binds);
        QVERIFY(expected > Money());
        QCOMPARE(value, formatNumber(expected, kFormatAmount));
        return;
    }
    const qint64 expected = count(db, expectedSql, binds);
    QCOMPARE(expected > 0, some);
    QCOMPARE(QString(value).remove(u','), QString::number(expected));
}

void tst_CatalogDefinitions::everyGroupingListsTheSameOperations()
{
    Database &db = readOnlyDemo();
    QStringList listed[4];
    for (int grouping = 0; grouping < 4; ++grouping) {
        auto ctx = contextOf(db, QStringLiteral("PxOperations.RPT"),
                             {kFrom, kTo, grouping, QStringLiteral("CO"), QStringLiteral("AD")});
        VERIFY_RESULT(ctx);
        QStringList keys;
        for (const QVariant &g : ctx->value(QStringLiteral("operations_groups")).toList()) {
            const QVariantMap group = g.toMap();
            const QString key = group.value(QStringLiteral("key")).toString();
            QVERIFY2(!keys.contains(key), qPrintable(key + u" comes twice"));
            keys << key;
            for (const QVariant &r : group.value(QStringLiteral("rows")).toList())
                listed[grouping] << r.toMap().value(QStringLiteral("idnum")).toString() + u' ' +
                                        r.toMap().value(QStringLiteral("patientin")).toString();
        }
        QVERIFY(keys.size() > 1);
        if (grouping == 0)
            QCOMPARE(keys, (QStringList{"IN-PATIENT", "OUT-PATIENT"}));
        if (grouping == 3) {
            // Dates come as dates, in the order of the calendar.
            QDate previous;
            for (const QString &key : std::as_const(keys)) {
                const QDate day = QDate::fromString(key, QStringLiteral("MM/dd/yyyy"));
                QVERIFY2(day.isValid() && (!previous.isValid() || previous < day), qPrintable(key));
                previous = day;
            }
        }
        listed[grouping].sort();
    }
    QVERIFY(!listed[0].isEmpty());
    for (int grouping = 1; grouping < 4; ++grouping)
        QCOMPARE(listed[grouping], listed[0]);
}

void tst_CatalogDefinitions::amountsFollowTheShowAmountSetting_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("count");
    QTest::newRow("detailed") << "Nurse_Station_Income_Detailed.RPT"
                              << "lines_sum_amount"
                              << "lines_sum_quantity";
    QTest::newRow("summary") << "Nurse_Station_Income_Summary.RPT"
                             << "departments_sum_amount"
                             << "departments_sum_lines";
}

void tst_CatalogDefinitions::amountsFollowTheShowAmountSetting()
{
    QFETCH(QString, file);
    QFETCH(QString, total);
    QFETCH(QString, count);
    Database &db = readOnlyDemo();
    auto def = ReportDefinition::load(findReportFile(kReportsDir, file));
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
        QCOMPARE(page.contains(QStringLiteral("Amount")), show);
    }
}

void tst_CatalogDefinitions::logbookPartsNumberAndMatchTheirCases()
{
    Database &db = readOnlyDemo();
    auto first = contextOf(db, QStringLiteral("OR Logbook_Page1.rpt"),
                           {kFrom, kLastDay, 101, QStringLiteral("ESGUERRA, MARICEL TAN")});
    VERIFY_RESULT(first);
    auto second = contextOf(db, QStringLiteral("OR Logbook_Page2.rpt"), {kFrom, kLastDay});
    VERIFY_RESULT(second);
    const QVariantList one = rowsOf(*first, QStringLiteral("cases"));
    const QVariantList two = rowsOf(*second, QStringLiteral("cases"));
    QVERIFY(one.size() > 1);
    QCOMPARE(two.size(), one.size());
    for (qsizetype i = 0; i < one.size(); ++i) {
        const QVariantMap a = one.at(i).toMap();
        const QVariantMap b = two.at(i).toMap();
        // The book carries on from the clerk's starting number, line for line in both parts.
        QCOMPARE(a.value(QStringLiteral("caseno")).toString(), QString::number(101 + i));
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
    const QDate day(2026, 11, 20);
    const auto at = [&](int dayOffset, int hour, int minute) {
        return QDateTime(day.addDays(dayOffset), QTime(hour, minute));
    };
    auto added = db.exec(
        u"insert into STATION..tbORMasterFile (IdNum, HospNum, PatientClass, Procedures, "
        u"ORNumber, Category, Anesthesia, OperationDate, PatientIn, AnesthesiaTime, "
        u"OperationTime1, OperationTime2, AnesthesiaEndTime, PatientOut) "
        u"values ('0099999', '', 'I', 'OR1017', 'OR 1', '3', 'GENERAL ENDOTRACHEAL ANESTHESIA', "
        u":day, :in, :anes, :cut, :close, :anesEnd, :out)",
        {{QStringLiteral("day"), QDateTime(day, QTime(0, 0))},
         {QStringLiteral("in"), at(0, 23, 30)},
         {QStringLiteral("anes"), at(0, 23, 40)},
         {QStringLiteral("cut"), at(0, 23, 50)},
         {QStringLiteral("close"), at(1, 0, 40)},
         {QStringLiteral("anesEnd"), at(1, 0, 50)},
         {QStringLiteral("out"), at(1, 1, 0)}});
    VERIFY_RESULT(added);

    auto ctx = contextOf(db, QStringLiteral("TimeNMotion.RPT"), {kFrom, kTo});
    VERIFY_RESULT(ctx);
    const QVariantList rows = rowsOf(*ctx, QStringLiteral("operations"));
    QVERIFY(rows.size() > 1);
    bool seen = false;
    for (const QVariant &r : rows) {
        const QVariantMap row = r.toMap();
        const auto minutes = [&](const char *field) { return row.value(field).toInt(); };
        const int before = minutes("beforeincision");
        const int operating = minutes("operating");
        const int after = minutes("afterclosure");
        QVERIFY2(before > 0 && operating > 0 && after > 0,
                 qPrintable(row.value(QStringLiteral("idnum")).toString()));
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
void tst_CatalogDefinitions::monthlyReportFillsTheWorkTable_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("hasCases");
    QTest::newRow("yesterday") << kLastDay << kLastDay << true;
    QTest::newRow("last month") << "10/01/2026"
                                << "10/31/2026" << true;
    QTest::newRow("a year before the hospital's data") << "01/01/2020"
                                                       << "12/31/2020" << false;
}

void tst_CatalogDefinitions::monthlyReportFillsTheWorkTable()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, hasCases);
    KESTREL_OPEN_DEMO(db);
    const QString procedures = QStringLiteral(
        "select L.Amount from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O "
        "on O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.StationID = 'OR' and "
        "L.RecordStatus <> 'R' and L.TransDate >= :from and L.TransDate < :to_end");
    const Binds period{
        {QStringLiteral("from"), QDate::fromString(from, u"MM/dd/yyyy").startOfDay()},
        {QStringLiteral("to_end"), QDate::fromString(to, u"MM/dd/yyyy").addDays(1).startOfDay()}};
    const qint64 cases = count(db, u"select count(*) from (" + procedures + u") X", period);
    const Money amount = total(db, procedures, period);
    QCOMPARE(cases > 0, hasCases);
    // Another workstation's rows are not this one's to replace or to report.
    QVERIFY(db.exec(u"insert into STATION..tbORMonthlyReport (HostName, ProcedureCode, "
                    u"TotalCases) values ('OR-PC-09', 'OR1001', 7)"));
    const QString mine =
        QStringLiteral("from STATION..tbORMonthlyReport where HostName = host_name()");
    const QString statistical = QStringLiteral("Census_SummaryByProcedure.rpt");
    const QVariantList values{QStringLiteral("CO"), QStringLiteral("AD"), from, to};
    auto before = contextOf(db, statistical, values);
    VERIFY_RESULT(before);
    QVERIFY(before->value(QStringLiteral("procedures_empty")).toBool());

    for (int run = 1; run <= 2; ++run) {
        auto rows = db.call(u"STATION..sp_Or_MonthlyReport", {from, to});
        VERIFY_RESULT(rows);
        qint64 counted = 0;
        Money summed;
        for (const Row &r : *rows) {
            QCOMPARE(r.integer(u"InPatients") + r.integer(u"OutPatients"),
                     r.integer(u"TotalCases"));
            QVERIFY(!r.text(u"Category").isEmpty());
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

    auto after = contextOf(db, statistical, values);
    VERIFY_RESULT(after);
    QCOMPARE(after->value(QStringLiteral("procedures_empty")).toBool(), !hasCases);
    if (hasCases) {
        QCOMPARE(after->value(QStringLiteral("procedures_sum_totalcases")).toLongLong(), cases);
        QCOMPARE(after->value(QStringLiteral("categories_sum_totalcases")).toLongLong(), cases);
        QCOMPARE(after->value(QStringLiteral("procedures_sum_amount")).toString(),
                 formatNumber(amount, kFormatAmount));
    }

    // A date it cannot read fails.
    auto bad = db.call(u"STATION..sp_Or_MonthlyReport", {QStringLiteral("13/45/2026"), to});
    QVERIFY(!bad);
    QVERIFY2(bad.error().message.contains(u"Conversion failed"), qPrintable(bad.error().message));
}

// --- Forms of one stay ------------------------------------------------------------------------
// The program passes the admission number; the form must name the patient and carry what the
// hospital holds for the stay.

void tst_CatalogDefinitions::patientFormsPrintTheStay_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("extra");  // more values after the admission number
    QTest::addColumn<QString>("expectedSql"); // what else must be printed, by :id

    const auto row = [](const char *name, const char *file, const QString &sql,
                        const QVariantList &extra = {}) {
        QTest::newRow(name) << QString(file) << extra << sql;
    };
    const QString operation =
        QStringLiteral("select ProcedureDesc from SCHEDULE..tbORScheduleDetails "
                       "where IDNum = :id and RecordStatus = 'C' order by TransNum desc limit 1");
    row("counting sheet: the operation booked", "SpongeInstrumentNeedle.rpt", operation);
    row("operative technique: the technique recorded", "OperativeTechnique.rpt",
        "select ot from STATION..tbORMasterFile where IdNum = :id "
        "order by OperatingNum desc limit 1");
    row("safety checklist: the operation booked", "WHOSurgicalSafety.rpt", operation);
    row("request orders: the operation's request number", "List_of_RequestOrders.Rpt",
        "select RequestNum from SCHEDULE..tbORScheduleDetails where IDNum = :id limit 1");
    row("data sheet: the admitting diagnosis", "ORAdmDataSheet.rpt",
        "select ADMDiagnosis from PATIENT_DATA..tbPatientHistory where IDNum = :id",
        {"ADDRESS OF THE HOSPITAL"});
    row("claim form: the doctor's accreditation", "CSFCompleteWithMD.rpt",
        "select PhilHealthNum from BUILD_FILE..tbCoDoctor where DoctorID = '1021'", {"1021"});
    row("claim form: the patient's PhilHealth number", "CSFCompleteWithMD.rpt",
        "select M.PhilHealthNum from PATIENT_DATA..tbMaster M join PATIENT_DATA..tbPatient P "
        "on P.HospNum = M.HospNum where P.IDNum = :id",
        {"1021"});
    const QString released =
        QStringLiteral("select Result from LABORATORY..tbLabResult where IdNum = :id "
                       "and SectionID = '%1' and ResultDate is not null and Result <> '' "
                       "order by ResultID desc limit 1");
    row("hematology: a released result", "LabHematology.rpt", released.arg(u"HEM"));
    row("chemistry: a released result", "LabChemistry.rpt", released.arg(u"CHEM"));
    row("immunoserology: a released result", "LabImmunoSerology.rpt", released.arg(u"SERO"));
    row("clinical microscopy: a released result", "LabMicroscopic.rpt", released.arg(u"CM"));
    row("microbiology: a test of the form", "LabMicrobiology.rpt",
        "select 'WOUND CULTURE AND SENSITIVITY'");
}

void tst_CatalogDefinitions::patientFormsPrintTheStay()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, extra);
    QFETCH(QString, expectedSql);
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
    auto report = open(db, file, QVariantList{idNum} + extra, &error);
    QVERIFY2(report, qPrintable(error));
    const QString page = printed(*report);
    for (const QString &part : {(*patient)->text(u"LastName"), (*patient)->text(u"FirstName"),
                                (*patient)->text(u"HospNum"), idNum, expected.simplified()})
        QVERIFY2(page.contains(part), qPrintable(part));

    // A form asked for an admission number the hospital does not have says so and prints
    // nobody's details.
    auto unknown = open(db, file, QVariantList{QStringLiteral("9999999")} + extra);
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
    QTest::newRow("OR ledger of a stay with medicines")
        << "Patient_Ledger.RPT" << int(StayKind::Medicines) << orLines;
    QTest::newRow("OR ledger of a stay whose slip was revoked")
        << "Patient_Ledger.RPT" << int(StayKind::Revoked) << orLines;
    QTest::newRow("CSSR ledger of yesterday's operation")
        << "Patient_CSR_Ledger.RPT" << int(StayKind::Operated) << supplyLines;
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
    const QVariantList values{kHeadings.Company,
                              kHeadings.Address1,
                              QString(),
                              "PATIENT'S OR LEDGER",
                              r.text(u"PatientName"),
                              r.text(u"Address"),
                              r.text(u"AccountNum"),
                              r.text(u"Company"),
                              r.text(u"IDNum"),
                              r.text(u"HospNum"),
                              r.dateTime(u"AdmDate"),
                              r.dateTime(u"DcrDate"),
                              r.text(u"RoomID"),
                              r.trimmed(u"HospNum"),
                              r.trimmed(u"IDNum"),
                              "OR"};
    auto ctx = contextOf(db, file, values);
    VERIFY_RESULT(ctx);
    const QVariantList rows = rowsOf(*ctx, QStringLiteral("lines"));
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
    QVERIFY(page.contains(ctx->value(QStringLiteral("lines_sum_amount")).toString()));
    QVERIFY(page.contains(r.text(u"PatientName").simplified()));
    QVERIFY(page.contains(idNum));
    QCOMPARE(page.contains(u"posted by the station for this stay"), rows.isEmpty());
}

// Laboratory result forms print each test's latest released result of the stay, and nothing
// for a test that was revoked, is still pending, or belongs to another stay.
void tst_CatalogDefinitions::labFormShowsTheLatestReleasedResult_data()
{
    QTest::addColumn<QString>("testName");
    QTest::addColumn<QString>("insertedResult"); // "" inserts nothing
    QTest::addColumn<QString>("insertedStatus");
    QTest::addColumn<bool>("released");
    QTest::addColumn<bool>("otherStay");
    QTest::addColumn<QString>("expected"); // "=demo": the stay's own released result

    const auto row = [](const char *name, const char *test, const char *result, const char *status,
                        bool released, bool otherStay, const char *expected) {
        QTest::newRow(name) << QString(test) << QString(result) << QString(status) << released
                            << otherStay << QString(expected);
    };
    row("demo result", "HEMOGLOBIN", "", "", true, false, "=demo");
    row("a later released result wins", "HEMOGLOBIN", "101", "", true, false, "101");
    row("a pending repeat keeps the released one", "PLATELET COUNT", "", "", false, false, "=demo");
    row("a revoked result is not printed", "APTT", "99.9", "R", true, false, "=demo");
    row("a test never done stays blank", "BASOPHILS", "", "", true, false, "");
    row("another stay's result is not printed", "BLEEDING TIME", "4", "", true, true, "");
}

void tst_CatalogDefinitions::labFormShowsTheLatestReleasedResult()
{
    QFETCH(QString, testName);
    QFETCH(QString, insertedResult);
    QFETCH(QString, insertedStatus);
    QFETCH(bool, released);
    QFETCH(bool, otherStay);
    QFETCH(QString, expected);
    KESTREL_OPEN_DEMO(db);
    const QString idNum = stayOf(db, StayKind::Operated);
    if (expected == u"=demo")
        expected = text(db,
                        QStringLiteral("select Result from LABORATORY..tbLabResult where IdNum = "
                                       ":id and SectionID = 'HEM' and TestName = :test and "
                                       "ResultDate is not null order by ResultID desc limit 1"),
                        {{QStringLiteral("id"), idNum}, {QStringLiteral("test"), testName}});
    if (!insertedResult.isEmpty() || !released) {
        QVERIFY(db.exec(
            u"insert into LABORATORY..tbLabResult (IdNum, RequestNum, SectionID, "
            u"TestName, Result, RequestDate, ResultDate, RecordStatus) values "
            u"(:id, 'LB9999999', 'HEM', :test, :result, :asked, :released, :status)",
            {{QStringLiteral("id"), otherStay ? stayOf(db, StayKind::Revoked) : idNum},
             {QStringLiteral("test"), testName},
             {QStringLiteral("result"), insertedResult},
             {QStringLiteral("asked"), test::fixtureNow()},
             {QStringLiteral("released"), released ? QVariant(test::fixtureNow()) : QVariant()},
             {QStringLiteral("status"), insertedStatus}}));
    }

    auto ctx = contextOf(db, QStringLiteral("LabHematology.rpt"), {idNum});
    VERIFY_RESULT(ctx);
    QVariantMap row;
    for (const QVariant &v : rowsOf(*ctx, QStringLiteral("tests"))) {
        if (v.toMap().value(QStringLiteral("testname")) == testName)
            row = v.toMap();
    }
    QVERIFY2(!row.isEmpty(), "the form lists every test of the section once");
    QCOMPARE(row.value(QStringLiteral("result")).toString(), expected);
    // Unit and normal range come from the form where the laboratory gave none.
    QVERIFY(!row.value(QStringLiteral("normalrange")).toString().isEmpty());
}

QTEST_MAIN(tst_CatalogDefinitions)
#include "tst_catalogdefinitions.moc"
