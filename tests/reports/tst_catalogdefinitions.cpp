// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report definitions of the Reports folder against the demo hospital: every file opens and
// renders, every report command of the catalog opens its files with the values it passes, the
// reports agree with the logbook, the OR record and each other, and a few layouts are kept as
// expected HTML (KESTREL_UPDATE_GOLDEN=1 writes them anew).
#include "reports/ReportCatalog.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "shell/db/Database.h"
#include "shell/db/Money.h"
#include "shell/db/NumberFormat.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QSet>
#include <QTest>
#include <QTextDocumentFragment>

#include <algorithm>
#include <memory>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {

const QString kReportsDir = QStringLiteral(KESTREL_REPORTS_DIR);
const QString kGoldenDir = QStringLiteral(QT_TESTCASE_SOURCEDIR "/reports/golden");

const ReportHeadings kHeadings{QStringLiteral("BAGONG TALA MEDICAL CENTER"),
                               QStringLiteral("88 GEN. LUNA AVENUE, SAN BARTOLOME CITY")};

// The demo's busy month: yesterday's operations and the month's earlier ones.
const QString kFrom = QStringLiteral("11/01/2026");
const QString kTo = QStringLiteral("12/01/2026");

/// What the program runs before a report reads its data, by report file.
struct Preparation
{
    QString file;
    QString procedure;
};
const Preparation kPreparations[] = {
    {QStringLiteral("Census_SummaryByProcedure.rpt"),
     QStringLiteral("STATION..sp_Or_MonthlyReport")},
};

/// Runs what the program runs before `file` with the period of the report.
Result<void> prepare(Database &db, const QString &file, const QString &from, const QString &to)
{
    for (const Preparation &p : kPreparations) {
        if (p.file.compare(file, Qt::CaseInsensitive) != 0)
            continue;
        if (auto rows = db.call(p.procedure, {from, to}); !rows)
            return tl::unexpected(rows.error());
    }
    return {};
}

/// Representative values for a definition, from its parameters' types: the demo month for
/// dates (a lone date is a month, as the month prompt gives it), "OR" for texts, 1 for
/// numbers, set flags.
QVariantList valuesFor(const ReportDefinition &def)
{
    const auto dates =
        std::count_if(def.parameters.cbegin(), def.parameters.cend(), [](const ReportParameter &p) {
            return p.type == ReportParameter::Type::Date;
        });
    QVariantList values;
    int dateNo = 0;
    for (const ReportParameter &p : def.parameters) {
        switch (p.type) {
        case ReportParameter::Type::Date:
            values << (dates == 1 ? QStringLiteral("11/2026") : dateNo++ == 0 ? kFrom : kTo);
            break;
        case ReportParameter::Type::Text:
            values << QStringLiteral("OR");
            break;
        case ReportParameter::Type::Number:
            values << 1;
            break;
        case ReportParameter::Type::Flag:
            values << true;
            break;
        }
    }
    return values;
}

/// The first period the values give, for preparations: the first two date texts.
std::pair<QString, QString> periodOf(const ReportDefinition &def, const QVariantList &values)
{
    QStringList dates;
    for (qsizetype i = 0; i < def.parameters.size() && i < values.size(); ++i) {
        if (def.parameters.at(i).type == ReportParameter::Type::Date)
            dates << values.at(i).toString();
    }
    if (dates.isEmpty())
        return {};
    return {dates.first(), dates.size() > 1 ? dates.at(1) : dates.first()};
}

/// The text a reader sees on paper, entities resolved and runs of blanks made one, as the
/// page shows them.
QString plainText(const QString &html)
{
    return QTextDocumentFragment::fromHtml(html).toPlainText().simplified();
}

/// The rows of query `name` in a report's context.
QVariantList rowsOf(const QVariantMap &ctx, const QString &name)
{
    return ctx.value(name).toList();
}

/// The longest value of a row, blanks as the page shows them: the one least likely to appear
/// on the page by chance.
QString telltale(const QVariantMap &row)
{
    QString best;
    for (auto it = row.cbegin(); it != row.cend(); ++it) {
        const QString value = it.value().toString().simplified();
        if (it.key() != u"rownum" && value.size() > best.size())
            best = value;
    }
    return best;
}

/// The lines of `expected` and `actual` around their first difference, for the failure
/// message of a golden file.
QString describeDifference(const QString &expected, const QString &actual)
{
    const QStringList e = expected.split(u'\n');
    const QStringList a = actual.split(u'\n');
    qsizetype first = 0;
    while (first < e.size() && first < a.size() && e.at(first) == a.at(first))
        ++first;
    qsizetype lastE = e.size() - 1;
    qsizetype lastA = a.size() - 1;
    while (lastE >= first && lastA >= first && e.at(lastE) == a.at(lastA)) {
        --lastE;
        --lastA;
    }
    QString out = QStringLiteral("first difference at line %1 (expected %2 lines, got %3)\n")
                      .arg(first + 1)
                      .arg(e.size())
                      .arg(a.size());
    const qsizetype shown = 8;
    for (qsizetype i = first; i <= std::min(lastE, first + shown - 1); ++i)
        out += QStringLiteral("- %1\n").arg(e.at(i));
    for (qsizetype i = first; i <= std::min(lastA, first + shown - 1); ++i)
        out += QStringLiteral("+ %1\n").arg(a.at(i));
    return out;
}

Money moneyOf(Database &db, const QString &sql, const Binds &binds)
{
    auto v = db.scalar(sql, binds);
    return v ? Money::fromVariant(*v) : Money();
}

qint64 countOf(Database &db, const QString &sql, const Binds &binds)
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

Binds period(const QDate &from, const QDate &lastDay)
{
    return {{QStringLiteral("from"), from.startOfDay()},
            {QStringLiteral("to_end"), lastDay.addDays(1).startOfDay()}};
}

} // namespace

class tst_CatalogDefinitions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void initTestCase();

    void everyDefinitionRenders_data();
    void everyDefinitionRenders();
    void catalogCommandsOpenTheirReports_data();
    void catalogCommandsOpenTheirReports();
    void chargeTotalsAgreeWithTheLogbook_data();
    void chargeTotalsAgreeWithTheLogbook();
    void operationCountsAgreeWithTheRecord_data();
    void operationCountsAgreeWithTheRecord();
    void everyGroupingListsTheSameOperations();
    void amountsFollowTheShowAmountSetting_data();
    void amountsFollowTheShowAmountSetting();
    void logbookPartsNumberAndMatchTheirCases();
    void phasesAddUpAndRunPastMidnight();
    void statisticalReportAgreesWithProcedureCount();
    void goldenHtml_data();
    void goldenHtml();

private:
    /// One demo hospital per backend for the reports that only read.
    Database &readOnlyDemo();
    Result<QVariantMap> contextOf(Database &db, const QString &file, const QVariantList &values);

    std::unique_ptr<TestDatabase> m_demo;
    Backend m_demoBackend = Backend::Sqlite;
};

void tst_CatalogDefinitions::initTestCase()
{
    QVERIFY2(QDir(kReportsDir).exists(), qPrintable(kReportsDir));
}

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

Result<QVariantMap> tst_CatalogDefinitions::contextOf(Database &db, const QString &file,
                                                      const QVariantList &values)
{
    auto def = ReportDefinition::load(findReportFile(kReportsDir, file));
    if (!def)
        return tl::unexpected(def.error());
    return ReportRenderer(db, kHeadings).context(*def, values);
}

// ---------------------------------------------------------------------------------------------

void tst_CatalogDefinitions::everyDefinitionRenders_data()
{
    QTest::addColumn<QString>("path");
    const QDir dir(kReportsDir);
    const QStringList files = dir.entryList(QDir::Files, QDir::Name | QDir::IgnoreCase);
    QVERIFY(!files.isEmpty());
    for (const QString &f : files)
        QTest::newRow(qPrintable(f)) << dir.filePath(f);
}

// The query whose rows must reach the page with the representative values: those reports have
// data in the demo's busy month. Other files only have to show some row of a query that has
// rows.
const QHash<QString, QString> &expectedData()
{
    static const QHash<QString, QString> queries{
        {QStringLiteral("Audit_report.RPT"), QStringLiteral("lines")},
        {QStringLiteral("EquipmentPostCharge.RPT"), QStringLiteral("uses")},
        {QStringLiteral("Nurse_Station_Income_Detailed.RPT"), QStringLiteral("lines")},
        {QStringLiteral("Nurse_Station_Income_Summary.RPT"), QStringLiteral("departments")},
        {QStringLiteral("ProcedureCountGUVO.rpt"), QStringLiteral("procedures")},
        {QStringLiteral("IncomeReportGUVO.rpt"), QStringLiteral("departments")},
        {QStringLiteral("PxOperations.RPT"), QStringLiteral("operations")},
        {QStringLiteral("MonthlyCensus.rpt"), QStringLiteral("cases")},
        {QStringLiteral("Monthly_Report.RPT"), QStringLiteral("income")},
        {QStringLiteral("MonthlyReport.RPT"), QStringLiteral("cases")},
        {QStringLiteral("Census_SummaryByProcedure.rpt"), QStringLiteral("procedures")},
        {QStringLiteral("ScheduleofOperation.rpt"), QStringLiteral("bookings")},
        {QStringLiteral("OR_Mandatory_Report.rpt"), QStringLiteral("cases")},
        {QStringLiteral("ORReport.rpt"), QStringLiteral("rooms")},
        {QStringLiteral("OR Logbook_Page1.rpt"), QStringLiteral("cases")},
        {QStringLiteral("OR Logbook_Page2.rpt"), QStringLiteral("cases")},
        {QStringLiteral("DailyORLogbook.rpt"), QStringLiteral("cases")},
        {QStringLiteral("MonthlySummaryORDRCases.rpt"), QStringLiteral("rooms")},
        {QStringLiteral("YearlyReport_OrCases.rpt"), QStringLiteral("months")},
        {QStringLiteral("ORDRYearlyIncomeReport.rpt"), QStringLiteral("months")},
        {QStringLiteral("OrTopRoomCases.rpt"), QStringLiteral("procedures")},
        {QStringLiteral("TimeNMotion.RPT"), QStringLiteral("operations")},
    };
    return queries;
}

void tst_CatalogDefinitions::everyDefinitionRenders()
{
    QFETCH(QString, path);
    Database &db = readOnlyDemo();
    auto def = ReportDefinition::load(path);
    QVERIFY2(def, qPrintable(def ? QString() : def.error().message));
    const QVariantList values = valuesFor(*def);
    const QString file = QFileInfo(path).fileName();
    const auto [from, to] = periodOf(*def, values);
    if (auto ok = prepare(db, file, from, to); !ok)
        QFAIL(qPrintable(ok.error().message));

    ReportRenderer renderer(db, kHeadings);
    auto ctx = renderer.context(*def, values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    auto report = renderer.render(*def, *ctx);
    QVERIFY2(report, qPrintable(report ? QString() : report.error().message));
    QVERIFY((*report)->pageCount() >= 1);
    const QString text = plainText((*report)->html());
    QVERIFY2(!text.trimmed().isEmpty(), "the body is empty");

    const QString expected = expectedData().value(file);
    if (!expected.isEmpty()) {
        QVERIFY2(def->query(expected), qPrintable(expected));
        const QVariantList rows = rowsOf(*ctx, expected);
        QVERIFY2(!rows.isEmpty(), qPrintable(expected + u" has no rows in the demo month"));
        const QString value = telltale(rows.first().toMap());
        QVERIFY2(text.contains(value), qPrintable(u"\"" + value + u"\" is not on the page"));
        return;
    }
    // Some query with rows must show one of them, or the template names no list it has.
    bool anyRows = false;
    bool shown = false;
    for (const ReportQuery &q : def->queries) {
        const QVariantList rows = rowsOf(*ctx, q.name);
        if (rows.isEmpty())
            continue;
        anyRows = true;
        shown = shown || text.contains(telltale(rows.first().toMap()));
    }
    QVERIFY2(!anyRows || shown, "no row of the report's queries reaches the page");
}

// ---------------------------------------------------------------------------------------------

void tst_CatalogDefinitions::catalogCommandsOpenTheirReports_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("clientname");
    // The catalog as most hospitals run it, and where a client code changes the files.
    const QStringList clients{QString(), QStringLiteral("QELM"), QStringLiteral("RYSEN")};
    for (const QString &command : reportCommandNames()) {
        const auto plain = reportCommand(command, {});
        QVERIFY(plain);
        for (const QString &client : clients) {
            const auto entry = reportCommand(command, {client, false});
            QVERIFY(entry);
            bool same = !client.isEmpty() && entry->parts.size() == plain->parts.size();
            for (qsizetype i = 0; same && i < entry->parts.size(); ++i)
                same = entry->parts.at(i).file == plain->parts.at(i).file &&
                       entry->parts.at(i).values == plain->parts.at(i).values;
            if (!same)
                QTest::addRow("%s %s", qPrintable(command),
                              client.isEmpty() ? "(any hospital)" : qPrintable(client))
                    << command << client;
        }
    }
}

void tst_CatalogDefinitions::catalogCommandsOpenTheirReports()
{
    QFETCH(QString, command);
    QFETCH(QString, clientname);
    Database &db = readOnlyDemo();
    const auto entry = reportCommand(command, {clientname, false});
    QVERIFY(entry);

    // The period as each prompt hands it over.
    QString from, to;
    switch (entry->prompt) {
    case ReportPrompt::Period:
        from = kFrom;
        to = kTo;
        break;
    case ReportPrompt::Month:
        from = to = QStringLiteral("11/2026");
        break;
    case ReportPrompt::Year:
        from = QStringLiteral("01/01/2026");
        to = QStringLiteral("12/31/2026");
        break;
    case ReportPrompt::MonthAndNumber:
        from = kFrom;
        to = QStringLiteral("11/30/2026");
        break;
    case ReportPrompt::None:
        break;
    }
    // A patient with OR charges, as the patient list and the current patient give it.
    auto patient = db.selectOne(
        u"select P.IDNum, P.HospNum, P.AdmDate, P.RoomID, P.AccountNum, "
        u"       M.LastName || ', ' || M.FirstName || ' ' || M.MiddleName as PatientName, "
        u"       M.HouseStreet || ', ' || M.Town as Address "
        u"  from PATIENT_DATA..tbPatient P "
        u"  join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
        u" where P.DcrDate is null and exists (select 1 from STATION..tbNurseLogBook L "
        u"                                      where L.IDNum = P.IDNum) "
        u" order by P.IDNum");
    QVERIFY(patient && *patient);
    const Row &p = **patient;

    test::RecordingNotifier notifier;
    test::RecordingReportDisplay display;
    ReportService service(db, kReportsDir, kHeadings, display, notifier);
    for (const ReportPart &part : entry->parts) {
        const QString path = findReportFile(kReportsDir, part.file);
        QVERIFY2(!path.isEmpty(), qPrintable(part.file + u" is not in the Reports folder"));
        auto def = ReportDefinition::load(path);
        QVERIFY2(def, qPrintable(def ? QString() : def.error().message));
        // A value beyond the last field would be lost on the way to the report.
        QVERIFY2(def->parameters.size() >= part.values.size(),
                 qPrintable(QStringLiteral("%1 takes %2 values, the command passes %3")
                                .arg(part.file)
                                .arg(def->parameters.size())
                                .arg(part.values.size())));

        QVariantList values;
        for (const ReportValue &v : part.values) {
            switch (v.source) {
            case ReportValueSource::Text:
                values << v.text;
                break;
            case ReportValueSource::From:
                values << from;
                break;
            case ReportValueSource::To:
                values << to;
                break;
            case ReportValueSource::StartingNumber:
                values << QStringLiteral("1");
                break;
            case ReportValueSource::Company:
                values << kHeadings.Company;
                break;
            case ReportValueSource::Address1:
                values << kHeadings.Address1;
                break;
            case ReportValueSource::IsShowAmount:
                values << true;
                break;
            case ReportValueSource::StationID:
                values << QStringLiteral("OR");
                break;
            case ReportValueSource::EmployeeName:
                values << QStringLiteral("ESGUERRA, MARICEL TAN");
                break;
            case ReportValueSource::EmployeeCode:
                values << QStringLiteral("2905");
                break;
            case ReportValueSource::ServerDate:
                values << kTo;
                break;
            case ReportValueSource::PatientName:
                values << p.text(u"PatientName");
                break;
            case ReportValueSource::PatientAddress:
                values << p.text(u"Address");
                break;
            case ReportValueSource::AccountNumber:
                values << p.text(u"AccountNum");
                break;
            case ReportValueSource::PatientCompany:
                values << QString();
                break;
            case ReportValueSource::IdNum:
            case ReportValueSource::HighlightedIdNum:
                values << p.text(u"IDNum");
                break;
            case ReportValueSource::HospNum:
                values << p.text(u"HospNum");
                break;
            case ReportValueSource::AdmissionDate:
                values << p.date(u"AdmDate").toString(QStringLiteral("MM/dd/yyyy"));
                break;
            case ReportValueSource::DischargeDate:
                values << QString();
                break;
            case ReportValueSource::RoomID:
                values << p.text(u"RoomID");
                break;
            }
        }
        if (auto ok = prepare(db, part.file, from, to); !ok)
            QFAIL(qPrintable(ok.error().message));
        QVERIFY2(service.OpenReport(part.file, values), qPrintable(notifier.lastText()));
        QVERIFY(notifier.boxes().isEmpty());
        QVERIFY(service.current());
        QVERIFY(service.current()->pageCount() >= 1);
    }
}

// ---------------------------------------------------------------------------------------------

void tst_CatalogDefinitions::chargeTotalsAgreeWithTheLogbook_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("total");
    QTest::addColumn<QString>("lines"); // which logbook lines of November make the total
    const QVariantList period{kFrom, QStringLiteral("11/30/2026")};
    const QString posted = QStringLiteral("L.RecordStatus <> 'R'");
    QTest::newRow("audit, posted")
        << "Audit_report.RPT" << (period + QVariantList{"CO", "AD", "AUDIT"}) << "lines_sum_posted"
        << posted;
    QTest::newRow("audit, revoked")
        << "Audit_report.RPT" << (period + QVariantList{"CO", "AD", "AUDIT"}) << "lines_sum_revoked"
        << "L.RecordStatus = 'R'";
    QTest::newRow("income detailed")
        << "Nurse_Station_Income_Detailed.RPT" << (period + QVariantList{"OR", true})
        << "lines_sum_amount" << posted;
    QTest::newRow("income summary")
        << "Nurse_Station_Income_Summary.RPT" << (period + QVariantList{"OR", true})
        << "departments_sum_amount" << posted;
    QTest::newRow("income summary by class")
        << "Nurse_Station_Income_Summary.RPT" << (period + QVariantList{"OR", true})
        << "classes_sum_outpatient" << posted + u" and L.PatientClass = 'O'";
    QTest::newRow("income by department")
        << "IncomeReportGUVO.rpt" << (period + QVariantList{"OR"}) << "departments_sum_inpatient"
        << posted + u" and L.PatientClass = 'I'";
    QTest::newRow("monthly report's income")
        << "Monthly_Report.RPT" << (QVariantList{"CO", "AD", "MONTHLY"} + period)
        << "income_sum_amount" << posted;
    QTest::newRow("equipment") << "EquipmentPostCharge.RPT" << period << "uses_sum_amount"
                               << posted + u" and L.RevenueID = 'OE'";
    QTest::newRow("medicines") << "MedSummary.RPT" << (period + QVariantList{"O", ""})
                               << "items_sum_amount"
                               << posted + u" and L.RevenueID in ('PH', 'CS')";
    QTest::newRow("procedures") << "ProcedureCountGUVO.rpt" << (period + QVariantList{"OR"})
                                << "procedures_sum_amount"
                                << posted +
                                       u" and L.ItemID in (select OtherRevenueID from "
                                       u"BUILD_FILE..tbCoOtherRevenue where SectionID = 'PRC')";
    QTest::newRow("yearly income, November")
        << "ORDRYearlyIncomeReport.rpt" << period << "months_sum_amount" << posted;
}

void tst_CatalogDefinitions::chargeTotalsAgreeWithTheLogbook()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, values);
    QFETCH(QString, total);
    QFETCH(QString, lines);
    Database &db = readOnlyDemo();
    auto ctx = contextOf(db, file, values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));

    const Money expected = moneyOf(
        db,
        u"select sum(L.Amount) from STATION..tbNurseLogBook L where L.StationID = 'OR' and " +
            lines + u" and L.TransDate >= :from and L.TransDate < :to_end",
        period(QDate(2026, 11, 1), QDate(2026, 11, 30)));
    QVERIFY(expected > Money());
    QCOMPARE(ctx->value(total).toString(), formatNumber(expected, kFormatAmount));
}

void tst_CatalogDefinitions::operationCountsAgreeWithTheRecord_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QString>("records"); // which OR records of November are counted
    const QVariantList period{kFrom, QStringLiteral("11/30/2026")};
    const QString every = QStringLiteral("1 = 1");
    for (int grouping : {0, 1, 2, 3})
        QTest::addRow("operations, grouping %d", grouping)
            << "PxOperations.RPT" << (period + QVariantList{grouping, "CO", "AD"})
            << "operations_count" << every;
    QTest::newRow("census, detailed, all")
        << "MonthlyCensus.rpt" << (QVariantList{"AD", "CO", "D", "A"} + period) << "cases_count"
        << every;
    QTest::newRow("census, detailed, in-patients")
        << "MonthlyCensus.rpt" << (QVariantList{"AD", "CO", "D", "H"} + period) << "cases_count"
        << "R.PatientClass = 'I'";
    QTest::newRow("census, summary, all")
        << "MonthlyCensus.rpt" << (QVariantList{"AD", "CO", "S", "A"} + period)
        << "procedures_sum_total" << every;
    QTest::newRow("census, summary, in-patients")
        << "MonthlyCensus.rpt" << (QVariantList{"AD", "CO", "S", "H"} + period)
        << "categories_sum_total"
        << "R.PatientClass = 'I'";
    QTest::newRow("census, summary, out-patients")
        << "MonthlyCensus.rpt" << (QVariantList{"AD", "CO", "S", "A"} + period)
        << "categories_sum_outpatient"
        << "R.PatientClass = 'O'";
    QTest::newRow("monthly report") << "MonthlyReport.RPT" << period << "cases_count" << every;
    QTest::newRow("monthly report, major") << "MonthlyReport.RPT" << period << "cases_sum_major"
                                           << "R.Category in ('1', '3', '4')";
    QTest::newRow("monthly report by day")
        << "Monthly_Report.RPT" << (QVariantList{"CO", "AD", "MONTHLY"} + period) << "days_count"
        << every;
    QTest::newRow("mandatory report")
        << "OR_Mandatory_Report.rpt" << period << "cases_count" << every;
    QTest::newRow("OR report by category")
        << "ORReport.rpt" << period << "categories_sum_total" << every;
    QTest::newRow("OR report by room") << "ORReport.rpt" << period << "rooms_sum_total" << every;
    QTest::newRow("OR report by service")
        << "ORReport.rpt" << period << "services_sum_total" << every;
    QTest::newRow("logbook, first part")
        << "OR Logbook_Page1.rpt" << (period + QVariantList{1, "CLERK"}) << "cases_count" << every;
    QTest::newRow("logbook, second part")
        << "OR Logbook_Page2.rpt" << period << "cases_count" << every;
    QTest::newRow("daily logbook") << "DailyORLogbook.rpt" << period << "cases_count" << every;
    QTest::newRow("room cases of the month")
        << "MonthlySummaryORDRCases.rpt" << QVariantList{"11/2026", "2905"} << "rooms_sum_total"
        << every;
    QTest::newRow("room cases of the month, open heart")
        << "MonthlySummaryORDRCases.rpt" << QVariantList{"11/2026", "2905"} << "rooms_sum_openheart"
        << "R.Category = '4'";
    QTest::newRow("yearly cases, November")
        << "YearlyReport_OrCases.rpt" << period << "months_count" << every;
    QTest::newRow("top cases") << "OrTopRoomCases.rpt" << period << "procedures_sum_cases" << every;
    QTest::newRow("top cases by room")
        << "OrTopRoomCases.rpt" << period << "rooms_sum_cases" << every;
    QTest::newRow("time and motion") << "TimeNMotion.RPT" << period << "operations_count" << every;
}

void tst_CatalogDefinitions::operationCountsAgreeWithTheRecord()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, values);
    QFETCH(QString, count);
    QFETCH(QString, records);
    Database &db = readOnlyDemo();
    auto ctx = contextOf(db, file, values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));

    const qint64 expected =
        countOf(db,
                u"select count(*) from STATION..tbORMasterFile R where " + records +
                    u" and R.PatientIn >= :from and R.PatientIn < :to_end",
                period(QDate(2026, 11, 1), QDate(2026, 11, 30)));
    QVERIFY(expected > 0);
    QCOMPARE(ctx->value(count).toString(), QString::number(expected));
}

void tst_CatalogDefinitions::everyGroupingListsTheSameOperations()
{
    Database &db = readOnlyDemo();
    QStringList listed[4];
    for (int grouping = 0; grouping < 4; ++grouping) {
        auto ctx = contextOf(db, QStringLiteral("PxOperations.RPT"),
                             {kFrom, kTo, grouping, QStringLiteral("CO"), QStringLiteral("AD")});
        QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
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
        if (grouping == 3) {
            // Dates come as dates, in the order of the calendar.
            QDate previous;
            for (const QString &key : std::as_const(keys)) {
                const QDate day = QDate::fromString(key, QStringLiteral("MM/dd/yyyy"));
                QVERIFY2(day.isValid(), qPrintable(key));
                QVERIFY(!previous.isValid() || previous < day);
                previous = day;
            }
        }
        if (grouping == 0)
            QCOMPARE(keys,
                     (QStringList{QStringLiteral("IN-PATIENT"), QStringLiteral("OUT-PATIENT")}));
        listed[grouping].sort();
    }
    QVERIFY(!listed[0].isEmpty());
    QCOMPARE(listed[1], listed[0]);
    QCOMPARE(listed[2], listed[0]);
    QCOMPARE(listed[3], listed[0]);
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
    QVERIFY(def);
    ReportRenderer renderer(db, kHeadings);
    for (const bool show : {true, false}) {
        auto ctx = renderer.context(*def, {kFrom, kTo, QStringLiteral("OR"), show});
        QVERIFY(ctx);
        auto report = renderer.render(*def, *ctx);
        QVERIFY(report);
        const QString text = plainText((*report)->html());
        // The count is on the page either way; the money only when the hospital shows it.
        QVERIFY2(text.contains(ctx->value(count).toString()), qPrintable(count));
        QCOMPARE(text.contains(ctx->value(total).toString()), show);
        QCOMPARE(text.contains(QStringLiteral("Amount")), show);
    }
}

void tst_CatalogDefinitions::logbookPartsNumberAndMatchTheirCases()
{
    Database &db = readOnlyDemo();
    const QString lastDay = QStringLiteral("11/30/2026");
    auto first = contextOf(db, QStringLiteral("OR Logbook_Page1.rpt"),
                           {kFrom, lastDay, 101, QStringLiteral("ESGUERRA, MARICEL TAN")});
    QVERIFY2(first, qPrintable(first ? QString() : first.error().message));
    auto second = contextOf(db, QStringLiteral("OR Logbook_Page2.rpt"), {kFrom, lastDay});
    QVERIFY2(second, qPrintable(second ? QString() : second.error().message));

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
    auto at = [&](int dayOffset, int hour, int minute) {
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
    QVERIFY2(added, qPrintable(added ? QString() : added.error().message));

    auto ctx = contextOf(db, QStringLiteral("TimeNMotion.RPT"), {kFrom, kTo});
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    const QVariantList rows = rowsOf(*ctx, QStringLiteral("operations"));
    QVERIFY(rows.size() > 1);
    bool seen = false;
    for (const QVariant &r : rows) {
        const QVariantMap row = r.toMap();
        const int before = row.value(QStringLiteral("beforeincision")).toInt();
        const int operating = row.value(QStringLiteral("operating")).toInt();
        const int after = row.value(QStringLiteral("afterclosure")).toInt();
        const int inRoom = row.value(QStringLiteral("inroom")).toInt();
        QVERIFY2(before > 0 && operating > 0 && after > 0,
                 qPrintable(row.value(QStringLiteral("idnum")).toString()));
        QCOMPARE(before + operating + after, inRoom);
        if (row.value(QStringLiteral("idnum")).toString() == u"0099999") {
            seen = true;
            QCOMPARE(before, 20);
            QCOMPARE(operating, 50);
            QCOMPARE(after, 20);
            QCOMPARE(row.value(QStringLiteral("underanesthesia")).toInt(), 70);
            QCOMPARE(inRoom, 90);
            QCOMPARE(row.value(QStringLiteral("operationtime2")).toString(),
                     QStringLiteral("00:40"));
        }
    }
    QVERIFY(seen);
}

void tst_CatalogDefinitions::statisticalReportAgreesWithProcedureCount()
{
    KESTREL_OPEN_DEMO(db);
    const QString lastDay = QStringLiteral("11/30/2026");
    auto before = contextOf(db, QStringLiteral("Census_SummaryByProcedure.rpt"),
                            {QStringLiteral("CO"), QStringLiteral("AD"), kFrom, lastDay});
    QVERIFY(before);
    // Nothing is prepared for this workstation and period until the program asks for it.
    QCOMPARE(before->value(QStringLiteral("procedures_empty")).toBool(), true);

    QVERIFY(prepare(db, QStringLiteral("Census_SummaryByProcedure.rpt"), kFrom, lastDay));
    auto statistics = contextOf(db, QStringLiteral("Census_SummaryByProcedure.rpt"),
                                {QStringLiteral("CO"), QStringLiteral("AD"), kFrom, lastDay});
    QVERIFY2(statistics, qPrintable(statistics ? QString() : statistics.error().message));
    auto count = contextOf(db, QStringLiteral("ProcedureCountGUVO.rpt"),
                           {kFrom, lastDay, QStringLiteral("OR")});
    QVERIFY2(count, qPrintable(count ? QString() : count.error().message));

    QVERIFY(!statistics->value(QStringLiteral("procedures_empty")).toBool());
    QCOMPARE(statistics->value(QStringLiteral("procedures_sum_totalcases")),
             count->value(QStringLiteral("procedures_sum_total")));
    QCOMPARE(statistics->value(QStringLiteral("categories_sum_totalcases")),
             count->value(QStringLiteral("procedures_sum_total")));
    QCOMPARE(statistics->value(QStringLiteral("procedures_sum_amount")),
             count->value(QStringLiteral("procedures_sum_amount")));
    QCOMPARE(statistics->value(QStringLiteral("procedures_sum_outpatients")),
             count->value(QStringLiteral("procedures_sum_outpatient")));
}

// ---------------------------------------------------------------------------------------------

void tst_CatalogDefinitions::goldenHtml_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("values");
    QTest::newRow("audit") << "Audit_report.RPT"
                           << QVariantList{kFrom, kTo, kHeadings.Company, kHeadings.Address1,
                                           "OPERATING ROOM AUDIT REPORT"};
    QTest::newRow("income summary")
        << "Nurse_Station_Income_Summary.RPT" << QVariantList{kFrom, kTo, "OR", true};
    QTest::newRow("operations by date")
        << "PxOperations.RPT" << QVariantList{kFrom, kTo, 3, kHeadings.Company, kHeadings.Address1};
    QTest::newRow("census summary")
        << "MonthlyCensus.rpt"
        << QVariantList{kHeadings.Address1, kHeadings.Company, "S", "A", kFrom, kTo};
    QTest::newRow("logbook") << "OR Logbook_Page1.rpt"
                             << QVariantList{kFrom, "11/30/2026", "101", "ESGUERRA, MARICEL TAN"};
    QTest::newRow("time and motion") << "TimeNMotion.RPT" << QVariantList{kFrom, kTo};
    QTest::newRow("yearly income")
        << "ORDRYearlyIncomeReport.rpt" << QVariantList{"01/01/2026", "12/31/2026"};
}

void tst_CatalogDefinitions::goldenHtml()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, values);
    Database &db = readOnlyDemo();
    auto def = ReportDefinition::load(findReportFile(kReportsDir, file));
    QVERIFY2(def, qPrintable(def ? QString() : def.error().message));
    ReportRenderer renderer(db, kHeadings);
    auto ctx = renderer.context(*def, values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    auto report = renderer.render(*def, *ctx);
    QVERIFY2(report, qPrintable(report ? QString() : report.error().message));
    const QString actual = (*report)->html();

    const QString path = QDir(kGoldenDir).filePath(file + u".html");
    if (qEnvironmentVariable("KESTREL_UPDATE_GOLDEN") == u"1") {
        // Written from the embedded database only; the server must then agree with it.
        if (test::backendOfRow() == Backend::Sqlite) {
            QDir().mkpath(kGoldenDir);
            QFile out(path);
            QVERIFY2(out.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
            out.write(actual.toUtf8());
            QWARN(qPrintable(u"wrote " + path));
        }
        return;
    }
    QFile in(path);
    QVERIFY2(in.open(QIODevice::ReadOnly),
             qPrintable(path + u" is missing; run with KESTREL_UPDATE_GOLDEN=1 to write it"));
    const QString expected = QString::fromUtf8(in.readAll());
    if (expected != actual)
        QFAIL(qPrintable(file + u": " + describeDifference(expected, actual)));
}

QTEST_MAIN(tst_CatalogDefinitions)
#include "tst_catalogdefinitions.moc"
