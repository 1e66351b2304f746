// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's forms and patient reports on the demo hospital: each is opened as the program
// opens it, with the values the program passes, and what it prints is checked against the
// hospital's own tables, read here by statements of the test's own.
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "shell/db/Money.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QRegularExpression>
#include <QTest>

using namespace kestrel;

namespace {

const ReportHeadings kHeadings{QStringLiteral("BAGONG TALA MEDICAL CENTER"),
                               QStringLiteral("88 GEN. LUNA AVENUE, SAN BARTOLOME CITY")};

QString reportsFolder()
{
    return QStringLiteral(KESTREL_REPORTS_DIR);
}

/// Text as the templates print it: Mustache escapes these five characters.
QString printed(const QString &text)
{
    QString out = text;
    out.replace(u'&', QStringLiteral("&amp;"));
    out.replace(u'<', QStringLiteral("&lt;"));
    out.replace(u'>', QStringLiteral("&gt;"));
    out.replace(u'"', QStringLiteral("&quot;"));
    out.replace(u'\'', QStringLiteral("&#39;"));
    return out;
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

/// Opens `file` of the Reports folder with `values` through the report service, as the
/// program does; nullptr (and the error box's text in `error`) when it fails.
std::shared_ptr<const RenderedReport> open(Database &db, const QString &file,
                                           const QVariantList &values, QString *error = nullptr)
{
    test::RecordingReportDisplay display;
    test::RecordingNotifier notifier;
    ReportService service(db, reportsFolder(), kHeadings, display, notifier);
    if (!service.OpenReport(file, values)) {
        if (error)
            *error = notifier.lastText();
        return nullptr;
    }
    return service.current();
}

/// What the templates of `file` see with `values`: rows, counts and sums of every query.
Result<QVariantMap> contextOf(Database &db, const QString &file, const QVariantList &values)
{
    auto definition = ReportDefinition::load(findReportFile(reportsFolder(), file));
    if (!definition)
        return tl::unexpected(definition.error());
    return ReportRenderer(db, kHeadings).context(*definition, values);
}

QString text(Database &db, QStringView sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toString() : QStringLiteral("<%1>").arg(v.error().message);
}

qint64 count(Database &db, QStringView sql, const Binds &binds = {})
{
    auto v = db.scalar(sql, binds);
    return v ? v->toLongLong() : -1;
}

/// The sum of the amounts `sql` selects, added exactly here.
Money total(Database &db, QStringView sql, const Binds &binds = {})
{
    Money sum;
    auto rows = db.select(sql, binds);
    if (!rows)
        return Money::minimum();
    for (const Row &r : *rows)
        sum += r.money(u"Amount");
    return sum;
}

// Stays of the demo hospital the tests print for, chosen by what they have.
enum class StayKind {
    Operated,  ///< still in, operated on yesterday, charges posted
    Medicines, ///< discharged, the OR posted medicines from its stock
    Revoked,   ///< still in, the OR's only charge slip was revoked
};

QString stayOf(Database &db, StayKind kind)
{
    switch (kind) {
    case StayKind::Operated:
        return text(db, u"select min(L.IDNum) from STATION..tbNurseLogBook L "
                        u"join PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum "
                        u"where P.DcrDate is null and L.StationID = 'OR' "
                        u"and L.RecordStatus <> 'R'");
    case StayKind::Medicines:
        return text(db, u"select min(L.IDNum) from STATION..tbNurseLogBook L "
                        u"join PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum "
                        u"where P.DcrDate is not null and L.RevenueID = 'PH' "
                        u"and L.RecordStatus <> 'R'");
    case StayKind::Revoked:
        return text(db, u"select min(L.IDNum) from STATION..tbNurseLogBook L "
                        u"join PATIENT_DATA..tbPatient P on P.IDNum = L.IDNum "
                        u"where P.DcrDate is null and L.RecordStatus = 'R'");
    }
    return {};
}

/// The sixteen values of the patient's ledgers, as the program builds them from the
/// current patient.
QVariantList ledgerValues(Database &db, const QString &idNum, const QString &heading)
{
    auto row = db.selectOne(
        u"select P.IDNum, P.HospNum, P.AdmDate, P.DcrDate, P.RoomID, P.AccountNum, "
        u"M.LastName || ', ' || M.FirstName || ' ' || M.MiddleName as PatientName, "
        u"M.HouseStreet || ', ' || M.Town as Address, C.Company "
        u"from PATIENT_DATA..tbPatient P join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
        u"left join BUILD_FILE..tbCoCompany C on C.AccountNum = P.AccountNum "
        u"where P.IDNum = :id",
        {{QStringLiteral("id"), idNum}});
    if (!row || !*row)
        return {};
    const Row &r = **row;
    return {kHeadings.Company,
            kHeadings.Address1,
            QString(),
            heading,
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
            QStringLiteral("OR")};
}

/// The patient of an inpatient stay: last name, first name, hospital number.
QStringList patientOf(Database &db, const QString &idNum)
{
    auto row = db.selectOne(u"select M.LastName, M.FirstName, M.HospNum "
                            u"from PATIENT_DATA..tbMaster M join PATIENT_DATA..tbPatient P "
                            u"on P.HospNum = M.HospNum where P.IDNum = :id",
                            {{QStringLiteral("id"), idNum}});
    if (!row || !*row)
        return {};
    return {(*row)->text(u"LastName"), (*row)->text(u"FirstName"), (*row)->text(u"HospNum")};
}

QVariantList rowsOf(const QVariantMap &ctx, const QString &query)
{
    return ctx.value(query).toList();
}

} // namespace

class tst_ReportForms : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void patientFormsPrintTheStay_data();
    void patientFormsPrintTheStay();
    void ledgerBalanceRunsToTheStaysTotal_data();
    void ledgerBalanceRunsToTheStaysTotal();
    void labFormShowsTheLatestReleasedResult_data();
    void labFormShowsTheLatestReleasedResult();
    void priceListShowsTheRatesOfTheStation_data();
    void priceListShowsTheRatesOfTheStation();
    void monthlyReportFillsTheWorkTable_data();
    void monthlyReportFillsTheWorkTable();
    void monthlyReportLeavesOtherWorkstationsAlone();
    void monthlyReportRefusesADateItCannotRead();
    void nurseLogsSearchByTransactionOrUser_data();
    void nurseLogsSearchByTransactionOrUser();
    void listsCountWhatTheHospitalHolds_data();
    void listsCountWhatTheHospitalHolds();
    void stockMonitoringAgreesWithTheLogbook_data();
    void stockMonitoringAgreesWithTheLogbook();
};

// ---------------------------------------------------------------------------------------------
// Forms of one stay: the program passes the admission number (the ledgers their sixteen
// values); the form must name the patient and carry what the hospital holds for the stay.

void tst_ReportForms::patientFormsPrintTheStay_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("extra");   ///< more values after the admission number
    QTest::addColumn<QString>("expectedSql"); ///< what else must be printed, by :id

    const QString operation =
        QStringLiteral("select ProcedureDesc from SCHEDULE..tbORScheduleDetails "
                       "where IDNum = :id and RecordStatus = 'C' order by TransNum desc limit 1");
    QTest::newRow("counting sheet: the operation booked")
        << "SpongeInstrumentNeedle.rpt" << QStringList() << operation;
    QTest::newRow("operative technique: the technique recorded")
        << "OperativeTechnique.rpt" << QStringList()
        << "select ot from STATION..tbORMasterFile where IdNum = :id "
           "order by OperatingNum desc limit 1";
    QTest::newRow("safety checklist: the operation booked")
        << "WHOSurgicalSafety.rpt" << QStringList() << operation;
    QTest::newRow("request orders: the operation's request number")
        << "List_of_RequestOrders.Rpt" << QStringList()
        << "select RequestNum from SCHEDULE..tbORScheduleDetails where IDNum = :id limit 1";
    QTest::newRow("data sheet: the admitting diagnosis")
        << "ORAdmDataSheet.rpt" << QStringList{QStringLiteral("ADDRESS OF THE HOSPITAL")}
        << "select ADMDiagnosis from PATIENT_DATA..tbPatientHistory where IDNum = :id";
    QTest::newRow("claim form: the doctor's accreditation")
        << "CSFCompleteWithMD.rpt" << QStringList{QStringLiteral("1021")}
        << "select PhilHealthNum from BUILD_FILE..tbCoDoctor where DoctorID = '1021'";
    QTest::newRow("claim form: the patient's PhilHealth number")
        << "CSFCompleteWithMD.rpt" << QStringList{QStringLiteral("1021")}
        << "select M.PhilHealthNum from PATIENT_DATA..tbMaster M join PATIENT_DATA..tbPatient P "
           "on P.HospNum = M.HospNum where P.IDNum = :id";
    const QString released =
        QStringLiteral("select Result from LABORATORY..tbLabResult where IdNum = :id "
                       "and SectionID = '%1' and ResultDate is not null and Result <> '' "
                       "order by ResultID desc limit 1");
    QTest::newRow("hematology: a released result")
        << "LabHematology.rpt" << QStringList() << released.arg(u"HEM");
    QTest::newRow("chemistry: a released result")
        << "LabChemistry.rpt" << QStringList() << released.arg(u"CHEM");
    QTest::newRow("immunoserology: a released result")
        << "LabImmunoSerology.rpt" << QStringList() << released.arg(u"SERO");
    QTest::newRow("clinical microscopy: a released result")
        << "LabMicroscopic.rpt" << QStringList() << released.arg(u"CM");
    QTest::newRow("microbiology: a test of the form")
        << "LabMicrobiology.rpt" << QStringList() << "select 'WOUND CULTURE AND SENSITIVITY'";
}

void tst_ReportForms::patientFormsPrintTheStay()
{
    QFETCH(QString, file);
    QFETCH(QStringList, extra);
    QFETCH(QString, expectedSql);
    KESTREL_OPEN_DEMO(db);
    const QString idNum = stayOf(db, StayKind::Operated);
    const Binds id{{QStringLiteral("id"), idNum}};
    const QString expected = text(db, expectedSql, id);
    QVERIFY2(!expected.isEmpty() && !expected.startsWith(u'<'), qPrintable(expected));

    QVariantList values{idNum};
    for (const QString &v : std::as_const(extra))
        values << v;
    QString error;
    auto report = open(db, file, values, &error);
    QVERIFY2(report, qPrintable(error));
    QVERIFY(report->pageCount() >= 1);
    const QString html = report->html();
    const QStringList patient = patientOf(db, idNum);
    QCOMPARE(patient.size(), 3);
    for (const QString &part : patient)
        QVERIFY2(html.contains(printed(part)), qPrintable(part));
    QVERIFY(html.contains(idNum));
    QVERIFY2(html.contains(printed(expected)), qPrintable(expected));

    // A form asked for an admission number the hospital does not have says so and prints
    // nobody's details.
    auto unknown = open(db, file, QVariantList{QStringLiteral("9999999")} + values.mid(1));
    QVERIFY(unknown);
    QVERIFY(unknown->html().contains(u"No patient with admission number 9999999"));
    QVERIFY(!unknown->html().contains(patient.at(2)));

    const QString pictures = qEnvironmentVariable("KESTREL_REPORT_PICTURES");
    if (!pictures.isEmpty())
        QVERIFY(report->exportPdf(QDir(pictures).filePath(QFileInfo(file).baseName() + u".pdf")));
}

// ---------------------------------------------------------------------------------------------
// The ledgers: the balance of the last line and the total are the stay's charges that were
// not revoked, summed here from the logbook.

void tst_ReportForms::ledgerBalanceRunsToTheStaysTotal_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<int>("stay");
    QTest::addColumn<QString>("linesSql"); ///< the lines the ledger must carry, by :id

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

void tst_ReportForms::ledgerBalanceRunsToTheStaysTotal()
{
    QFETCH(QString, file);
    QFETCH(int, stay);
    QFETCH(QString, linesSql);
    KESTREL_OPEN_DEMO(db);
    const QString idNum = stayOf(db, StayKind(stay));
    const Binds id{{QStringLiteral("id"), idNum}};
    const Money expected = total(db, linesSql, id);
    const qint64 lines = count(db, QString(u"select count(*) from (" + linesSql + u") X"), id);

    const QVariantList values = ledgerValues(db, idNum, QStringLiteral("PATIENT'S OR LEDGER"));
    QCOMPARE(values.size(), 16);
    auto ctx = contextOf(db, file, values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    const QVariantList rows = rowsOf(*ctx, QStringLiteral("lines"));
    QCOMPARE(rows.size(), lines);
    QCOMPARE(amountShown(ctx->value(QStringLiteral("lines_sum_amount"))), expected);

    // The balance never goes down and ends at the total.
    Money before;
    Money added;
    for (const QVariant &v : rows) {
        const QVariantMap row = v.toMap();
        const auto balance = amountShown(row.value(QStringLiteral("balance")));
        const auto amount = amountShown(row.value(QStringLiteral("amount")));
        QVERIFY2(balance && amount, qPrintable(row.value(QStringLiteral("balance")).toString()));
        added += *amount;
        QCOMPARE(*balance, added);
        QVERIFY(*balance >= before);
        before = *balance;
    }
    if (!rows.isEmpty())
        QCOMPARE(before, expected);

    // The departments' summary adds up to the same total.
    QCOMPARE(amountShown(ctx->value(QStringLiteral("departments_sum_amount"))), expected);

    QString error;
    auto report = open(db, file, values, &error);
    QVERIFY2(report, qPrintable(error));
    QVERIFY(report->html().contains(ctx->value(QStringLiteral("lines_sum_amount")).toString()));
    QVERIFY(report->html().contains(printed(values.at(4).toString())));
    QVERIFY(report->html().contains(idNum));
    if (rows.isEmpty())
        QVERIFY(report->html().contains(u"posted by the station for this stay"));
}

// ---------------------------------------------------------------------------------------------
// Laboratory result forms print each test's latest released result of the stay, and nothing
// for a test that was revoked, is still pending, or belongs to another stay.

void tst_ReportForms::labFormShowsTheLatestReleasedResult_data()
{
    QTest::addColumn<QString>("testName");
    QTest::addColumn<QString>("insertedResult"); ///< "" inserts nothing
    QTest::addColumn<QString>("insertedStatus");
    QTest::addColumn<bool>("released");
    QTest::addColumn<bool>("otherStay");
    QTest::addColumn<QString>("expected"); ///< "=demo": the stay's own released result

    QTest::newRow("demo result") << "HEMOGLOBIN"
                                 << ""
                                 << "" << true << false << "=demo";
    QTest::newRow("a later released result wins") << "HEMOGLOBIN"
                                                  << "101"
                                                  << "" << true << false << "101";
    QTest::newRow("a pending repeat keeps the released one") << "PLATELET COUNT"
                                                             << ""
                                                             << "" << false << false << "=demo";
    QTest::newRow("a revoked result is not printed") << "APTT"
                                                     << "99.9"
                                                     << "R" << true << false << "=demo";
    QTest::newRow("a test never done stays blank") << "BASOPHILS"
                                                   << ""
                                                   << "" << true << false << "";
    QTest::newRow("another stay's result is not printed") << "BLEEDING TIME"
                                                          << "4"
                                                          << "" << true << true << "";
}

void tst_ReportForms::labFormShowsTheLatestReleasedResult()
{
    QFETCH(QString, testName);
    QFETCH(QString, insertedResult);
    QFETCH(QString, insertedStatus);
    QFETCH(bool, released);
    QFETCH(bool, otherStay);
    QFETCH(QString, expected);
    KESTREL_OPEN_DEMO(db);
    const QString idNum = stayOf(db, StayKind::Operated);
    const Binds test{{QStringLiteral("id"), idNum}, {QStringLiteral("test"), testName}};
    if (expected == u"=demo")
        expected = text(db,
                        u"select Result from LABORATORY..tbLabResult where IdNum = :id "
                        u"and SectionID = 'HEM' and TestName = :test and ResultDate is not null "
                        u"order by ResultID desc limit 1",
                        test);
    if (!insertedResult.isEmpty() || !released) {
        const QString stay = otherStay ? stayOf(db, StayKind::Revoked) : idNum;
        QVERIFY(db.exec(
            u"insert into LABORATORY..tbLabResult (IdNum, RequestNum, SectionID, "
            u"TestName, Result, RequestDate, ResultDate, RecordStatus) values "
            u"(:id, 'LB9999999', 'HEM', :test, :result, :asked, :released, :status)",
            {{QStringLiteral("id"), stay},
             {QStringLiteral("test"), testName},
             {QStringLiteral("result"), insertedResult},
             {QStringLiteral("asked"), test::fixtureNow()},
             {QStringLiteral("released"), released ? QVariant(test::fixtureNow()) : QVariant()},
             {QStringLiteral("status"), insertedStatus}}));
    }

    auto ctx = contextOf(db, QStringLiteral("LabHematology.rpt"), {idNum});
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
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

// ---------------------------------------------------------------------------------------------
// The price list: the station's procedures and the OR's supplies with every rate letter in the
// hospital's amount format; other departments' items are not on it.

void tst_ReportForms::priceListShowsTheRatesOfTheStation_data()
{
    QTest::addColumn<QString>("code");
    QTest::addColumn<QString>("rate");
    QTest::addColumn<bool>("listed");
    QTest::newRow("dearest procedure, rate A") << "OR1047"
                                               << "RateA" << true;
    QTest::newRow("cheapest supply, rate I") << "OS2008"
                                             << "RateI" << true;
    QTest::newRow("anaesthesia item, rate F") << "AN4006"
                                              << "RateF" << true;
    QTest::newRow("delivery room item is not the OR's") << "DR6001"
                                                        << "RateA" << false;
}

void tst_ReportForms::priceListShowsTheRatesOfTheStation()
{
    QFETCH(QString, code);
    QFETCH(QString, rate);
    QFETCH(bool, listed);
    KESTREL_OPEN_DEMO(db);
    auto price = db.scalar(QString(u"select " + rate +
                                   u" from BUILD_FILE..tbCoOtherRevenue where OtherRevenueID = :c"),
                           {{QStringLiteral("c"), code}});
    QVERIFY(price && price->isValid());

    auto ctx = contextOf(db, QStringLiteral("ListProcedures.RPT"), {QStringLiteral("OR")});
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    QVariantMap row;
    for (const QVariant &v : rowsOf(*ctx, QStringLiteral("items"))) {
        if (v.toMap().value(QStringLiteral("otherrevenueid")) == code)
            row = v.toMap();
    }
    QCOMPARE(!row.isEmpty(), listed);
    if (!listed)
        return;
    const QVariant shown = row.value(rate.toLower());
    QCOMPARE(amountShown(shown), Money::fromVariant(*price));
    auto report = open(db, QStringLiteral("ListProcedures.RPT"), {QStringLiteral("OR")});
    QVERIFY(report);
    QVERIFY(report->html().contains(u'>' + shown.toString() + u'<'));
}

// ---------------------------------------------------------------------------------------------
// STATION..sp_Or_MonthlyReport, run before the statistical report: the work table holds the
// period's procedures of the OR, once, whatever backend runs it.

void tst_ReportForms::monthlyReportFillsTheWorkTable_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<QString>("to");
    QTest::addColumn<bool>("hasCases");
    QTest::newRow("yesterday") << "11/30/2026"
                               << "11/30/2026" << true;
    QTest::newRow("last month") << "10/01/2026"
                                << "10/31/2026" << true;
    QTest::newRow("a year before the hospital's data") << "01/01/2020"
                                                       << "12/31/2020" << false;
}

void tst_ReportForms::monthlyReportFillsTheWorkTable()
{
    QFETCH(QString, from);
    QFETCH(QString, to);
    QFETCH(bool, hasCases);
    KESTREL_OPEN_DEMO(db);
    const Binds period{
        {QStringLiteral("from"), QDate::fromString(from, u"MM/dd/yyyy").startOfDay()},
        {QStringLiteral("to_end"), QDate::fromString(to, u"MM/dd/yyyy").addDays(1).startOfDay()}};
    const QString procedures =
        QStringLiteral("select L.Amount from STATION..tbNurseLogBook L "
                       "join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = L.ItemID "
                       "where O.SectionID = 'PRC' and L.StationID = 'OR' and L.RecordStatus <> 'R' "
                       "and L.TransDate >= :from and L.TransDate < :to_end");
    const qint64 cases =
        count(db, QString(u"select count(*) from (" + procedures + u") X"), period);
    const Money amount = total(db, procedures, period);
    QCOMPARE(cases > 0, hasCases);

    for (int run = 1; run <= 2; ++run) {
        auto rows = db.call(u"STATION..sp_Or_MonthlyReport", {from, to});
        QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
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
        QCOMPARE(count(db, u"select count(*) from STATION..tbORMonthlyReport"),
                 qint64(rows->count()));
        QCOMPARE(count(db, u"select sum(TotalCases) from STATION..tbORMonthlyReport"), cases);
    }
}

void tst_ReportForms::monthlyReportLeavesOtherWorkstationsAlone()
{
    KESTREL_OPEN_DEMO(db);
    QVERIFY(db.exec(u"insert into STATION..tbORMonthlyReport (HostName, ProcedureCode, "
                    u"TotalCases) values ('OR-PC-09', 'OR1001', 7)"));
    auto rows = db.call(u"STATION..sp_Or_MonthlyReport",
                        {QDate(2026, 11, 1), QStringLiteral("11/30/2026")});
    QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
    QVERIFY(rows->count() > 0);
    QCOMPARE(count(db, u"select TotalCases from STATION..tbORMonthlyReport "
                       u"where HostName = 'OR-PC-09'"),
             7);
    QCOMPARE(count(db, u"select count(*) from STATION..tbORMonthlyReport "
                       u"where HostName = host_name()"),
             qint64(rows->count()));
}

void tst_ReportForms::monthlyReportRefusesADateItCannotRead()
{
    KESTREL_OPEN_DEMO(db);
    auto rows = db.call(u"STATION..sp_Or_MonthlyReport",
                        {QStringLiteral("13/45/2026"), QStringLiteral("11/30/2026")});
    QVERIFY(!rows);
    QVERIFY2(rows.error().message.contains(u"Conversion failed"), qPrintable(rows.error().message));
    QCOMPARE(count(db, u"select count(*) from STATION..tbORMonthlyReport"), 0);
}

// ---------------------------------------------------------------------------------------------
// The user logs: seven values, the transaction code in third place; "V" lists one employee's
// entries of the period, any other code the entries of that kind.

void tst_ReportForms::nurseLogsSearchByTransactionOrUser_data()
{
    QTest::addColumn<QString>("transaction");
    QTest::addColumn<QString>("employee");
    QTest::addColumn<QString>("expectedSql"); ///< the entries, by :from and :to_end

    const QString logs =
        QStringLiteral("select count(*) from STATION..tbStationLogs where StationID = 'OR' "
                       "and TransDate >= :from and TransDate < :to_end and ");
    QTest::newRow("one employee's entries") << "V"
                                            << "2901" << logs + u"UserID = '2901'";
    QTest::newRow("CVOR tagging is clinical operation") << "J"
                                                        << "" << logs + u"Remarks like '%CVOR%'";
    QTest::newRow("confirmed schedules") << "K"
                                         << "" << logs + u"Remarks like 'OR SCHEDULE CONFIRMED%'";
    QTest::newRow("laboratory requests sent") << "F"
                                              << "" << logs + u"Remarks like 'SEND REQUEST%'";
    QTest::newRow("no diet was changed") << "B"
                                         << "" << logs + u"Remarks like '%DIET%'";
}

void tst_ReportForms::nurseLogsSearchByTransactionOrUser()
{
    QFETCH(QString, transaction);
    QFETCH(QString, employee);
    QFETCH(QString, expectedSql);
    KESTREL_OPEN_DEMO(db);
    const QDate from(2026, 11, 24);
    const QDate to(2026, 12, 1);
    const qint64 expected = count(db, expectedSql,
                                  {{QStringLiteral("from"), from.startOfDay()},
                                   {QStringLiteral("to_end"), to.addDays(1).startOfDay()}});
    QVERIFY(expected >= 0);

    const QVariantList values{kHeadings.Company,
                              kHeadings.Address1,
                              transaction,
                              from.toString(u"MM/dd/yyyy"),
                              to.toString(u"MM/dd/yyyy"),
                              employee,
                              transaction == u"V" ? 1 : 0};
    auto ctx = contextOf(db, QStringLiteral("NurseLogs.RPT"), values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    const QVariantList rows = rowsOf(*ctx, QStringLiteral("logs"));
    QCOMPARE(qint64(rows.size()), expected);
    for (const QVariant &v : rows) {
        if (!employee.isEmpty())
            QCOMPARE(v.toMap().value(QStringLiteral("userid")).toString(), employee);
    }
    auto report = open(db, QStringLiteral("NurseLogs.RPT"), values);
    QVERIFY(report);
    if (expected == 0)
        QVERIFY(report->html().contains(u"No log entries"));
}

// ---------------------------------------------------------------------------------------------
// Lists over the whole hospital: their counts and totals are what the hospital's tables hold,
// counted here another way.

void tst_ReportForms::listsCountWhatTheHospitalHolds_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("shown"); ///< the context value compared
    QTest::addColumn<QString>("expectedSql");
    QTest::addColumn<bool>("some"); ///< the demo hospital has rows for it
    QTest::newRow("census of the whole hospital")
        << "CensusByStation_TWY.RPT" << QVariantList{QDate(2026, 12, 1), QString()}
        << "patients_count"
        << "select count(*) from PATIENT_DATA..tbPatient where DcrDate is null" << true;
    QTest::newRow("census of one station")
        << "CensusByStation_TWY.RPT" << QVariantList{QDate(2026, 12, 1), QStringLiteral("4N")}
        << "patients_count"
        << "select count(*) from PATIENT_DATA..tbPatient P join BUILD_FILE..tbCoRoom R "
           "on R.RoomID = P.RoomID where P.DcrDate is null and R.StationID = '4N'"
        << true;
    QTest::newRow("census of a day last year")
        << "CensusByStation_TWY.RPT" << QVariantList{QStringLiteral("12/01/2025"), QString()}
        << "patients_count"
        << "select count(*) from PATIENT_DATA..tbPatient where AdmDate < '2025-12-02' "
           "and DcrDate >= '2025-12-02'"
        << true;
    QTest::newRow("cash basis patients still in")
        << "CashBasisAllPatients.RPT" << QVariantList() << "patients_count"
        << "select (select count(*) from PATIENT_DATA..tbPatient2 X join PATIENT_DATA..tbPatient "
           "P on P.IDNum = X.IDNum where X.isCashBasis = 1 and P.DcrDate is null) + "
           "(select count(*) from PATIENT_DATA..tbOutPatient where isCashBasis = 1 "
           "and DcrDate is null and RecordStatus <> 'R')"
        << true;
    QTest::newRow("discharge notices of patients still in")
        << "PatientDischargeNoticeStatus.RPT" << QVariantList{QString()} << "notices_count"
        << "select count(*) from STATION..tbNurseDischargeNotice N join PATIENT_DATA..tbPatient "
           "P on P.IDNum = N.IDNum where P.DcrDate is null"
        << true;
    QTest::newRow("AM pick-ups of the OR this morning")
        << "ListAMPickUps.rpt"
        << QVariantList{QStringLiteral("OR"), QStringLiteral("12/01/2026"),
                        QStringLiteral("12/01/2026"), QStringLiteral("ESGUERRA, MARICEL TAN")}
        << "tests_count"
        << "select count(*) from LABORATORY..tbLabResult where StationID = 'OR' "
           "and IsAMPickUp = 1 and RequestDate >= '2026-12-01' and RequestDate < '2026-12-02'"
        << true;
    QTest::newRow("no AM pick-ups on a ward")
        << "ListAMPickUps.rpt"
        << QVariantList{QStringLiteral("4N"), QStringLiteral("11/01/2026"),
                        QStringLiteral("12/01/2026"), QString()}
        << "tests_count"
        << "select 0" << false;
    QTest::newRow("PhilHealth logbook of a week's admissions")
        << "DailyAdmissionLogbook.rpt"
        << QVariantList{QStringLiteral("11/24/2026"), QStringLiteral("11/30/2026"),
                        kHeadings.Address1}
        << "memberships_sum_patients"
        << "select count(*) from PATIENT_DATA..tbPatient where AdmDate >= '2026-11-24' "
           "and AdmDate < '2026-12-01'"
        << true;
    QTest::newRow("procedures by category in November")
        << "ByCategoryReport.rpt"
        << QVariantList{QStringLiteral("11/01/2026"), QStringLiteral("11/30/2026")}
        << "procedures_sum_cases"
        << "select count(*) from STATION..tbNurseLogBook L join BUILD_FILE..tbCoOtherRevenue O "
           "on O.OtherRevenueID = L.ItemID where O.SectionID = 'PRC' and L.StationID = 'OR' "
           "and L.RecordStatus <> 'R' and L.TransDate >= '2026-11-01' "
           "and L.TransDate < '2026-12-01'"
        << true;
    QTest::newRow("request orders of a stay never operated on")
        << "List_of_RequestOrders.Rpt" << QVariantList{QStringLiteral("9999999")} << "orders_count"
        << "select 0" << false;
}

void tst_ReportForms::listsCountWhatTheHospitalHolds()
{
    QFETCH(QString, file);
    QFETCH(QVariantList, values);
    QFETCH(QString, shown);
    QFETCH(QString, expectedSql);
    QFETCH(bool, some);
    KESTREL_OPEN_DEMO(db);
    // Dates written into the statements above compare as stored on SQLite; on PostgreSQL the
    // text is read as a timestamp.
    const qint64 expected = count(db, expectedSql);
    QVERIFY(expected >= 0);
    QCOMPARE(expected > 0, some);
    auto ctx = contextOf(db, file, values);
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    QCOMPARE(ctx->value(shown).toString(), QString::number(expected));
    QString error;
    auto report = open(db, file, values, &error);
    QVERIFY2(report, qPrintable(error));
    QVERIFY(report->pageCount() >= 1);

    const QString pictures = qEnvironmentVariable("KESTREL_REPORT_PICTURES");
    if (!pictures.isEmpty())
        QVERIFY(report->exportPdf(QDir(pictures).filePath(QFileInfo(file).baseName() + u".pdf")));
}

// ---------------------------------------------------------------------------------------------
// Stock monitoring: every supply or medicine the OR posted left its stock, and a revoked
// charge brought it back, so what the stock card says is out is what the logbook still
// charges.

void tst_ReportForms::stockMonitoringAgreesWithTheLogbook_data()
{
    QTest::addColumn<QString>("revenue");
    QTest::addColumn<QString>("logbookLines");
    QTest::newRow("OR supplies") << "OS"
                                 << "RevenueID = 'OS'";
    QTest::newRow("OR medicines") << "OM"
                                  << "RevenueID = 'PH' and ItemID like 'PH1%'";
}

void tst_ReportForms::stockMonitoringAgreesWithTheLogbook()
{
    QFETCH(QString, revenue);
    QFETCH(QString, logbookLines);
    KESTREL_OPEN_DEMO(db);
    const QString charged =
        u"select Amount, Quantity from STATION..tbNurseLogBook where RecordStatus <> 'R' and " +
        logbookLines;
    const Money amount = total(db, charged);
    const qint64 quantity = count(db, QString(u"select sum(X.Quantity) from (" + charged + u") X"));
    const QString itemsSql =
        u"select count(distinct ItemID) from STATION..tbNurseLogBook where " + logbookLines;
    const qint64 items = count(db, itemsSql);
    QVERIFY(items > 0);

    auto ctx = contextOf(db, QStringLiteral("StockMonitoring.RPT"), {revenue});
    QVERIFY2(ctx, qPrintable(ctx ? QString() : ctx.error().message));
    QCOMPARE(qint64(rowsOf(*ctx, QStringLiteral("items")).size()), items);
    QCOMPARE(amountShown(ctx->value(QStringLiteral("items_sum_netamount"))), amount);
    QCOMPARE(
        ctx->value(QStringLiteral("items_sum_netquantity")).toString().remove(u',').toLongLong(),
        quantity);
}

QTEST_MAIN(tst_ReportForms)
#include "tst_reportforms.moc"
