// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report engine over the definitions of tests/reports/data and a few OR charges: the files,
// the parameters, what the templates see and print, the service, the pages and the exports.
#include "core/db/Money.h"
#include "core/db/NumberFormat.h"
#include "reports/exports/ReportExports.h"
#include "reports/RenderedReport.h"
#include "reports/ReportLayout.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "reports/ReportTemplate.h"
#include "reports/ReportViewer.h"
#include "support/PdfText.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QPdfWriter>
#include <QRegularExpression>
#include <QScopeGuard>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <zlib.h>

using namespace kestrel;
using kestrel::test::RecordingNotifier;
using kestrel::test::RecordingReportDisplay;
using kestrel::test::TestDatabase;

namespace {
const QString kData = QStringLiteral(KESTREL_TEST_DATA);
const ReportHeadings kHeadings{QStringLiteral("KESTREL GENERAL HOSPITAL"),
                               QStringLiteral("12 Mabini St., Quezon City")};

/// An OR charge of the logbook, as the fixture reports read them.
struct Charge
{
    QString slip, item, description;
    double quantity;
    QString amount;
    QDateTime when;
    QString station = QStringLiteral("OR");
};

QDateTime at(int m, int d, int hh = 0, int mm = 0, int ss = 0)
{
    return QDateTime(QDate(2026, m, d), QTime(hh, mm, ss));
}

/// Two slips inside November 2026, rows on both sides of the period's edges, and a ward's row
/// that no OR report may show.
const QList<Charge> kCharges{
    {"CS-0001", "ITM1", "Suture {silk}", 1, "1500.00", at(11, 1)},
    {"CS-0001", "ITM2", "Gauze \\ pads", 2, "250.50", at(11, 15, 9, 30)},
    {"CS-0002", "ITM3", "Oxígeno", 3, "1000.25", at(11, 20, 14, 0)},
    {"CS-0002", "ITM4", "Late <charge> & O'Brien", 1, "99.25", at(11, 30, 23, 59, 59)},
    {"CS-0003", "ITM5", "Next day", 1, "10.00", at(12, 1)},
    {"CS-0000", "ITM6", "Day before", 1, "10.00", at(10, 31, 23, 59, 59)},
    {"CS-0001", "ITM7", "Ward item", 1, "10.00", at(11, 10), "ER"},
};

Result<int> insertCharges(Database &db, const QList<Charge> &rows)
{
    QList<Binds> binds;
    for (const Charge &c : rows) {
        binds << Binds{{"slip", c.slip},      {"item", c.item},     {"text", c.description},
                       {"qty", c.quantity},   {"amount", c.amount}, {"on", c.when},
                       {"station", c.station}};
    }
    return db.execMany(u"insert into STATION..tbNurseLogBook (ReferenceNum, ItemID, Description, "
                       u"Quantity, Amount, TransDate, StationID) values (:slip, :item, :text, "
                       u":qty, :amount, :on, :station)",
                       binds);
}

/// `count` charges of September 2026, enough to run over several pages, on slips of
/// `perSlip` charges each.
QList<Charge> septemberCharges(int count, int perSlip = 1000)
{
    QList<Charge> rows;
    for (int i = 0; i < count; ++i) {
        const QString slip =
            QStringLiteral("LONG-%1").arg(i / perSlip + 1, 2, 10, QLatin1Char('0'));
        rows << Charge{slip, "LNG", "Long list line", 1, "12.00", at(9, 1 + i % 30, 8)};
    }
    return rows;
}

/// A fresh hospital with only the tables and the fixture charges.
#define OPEN_CHARGES(var)                                                                          \
    auto var##Result =                                                                             \
        TestDatabase::create(test::backendOfRow(), TestDatabase::Content::SchemaOnly);             \
    QVERIFY2(var##Result.has_value(),                                                              \
             qPrintable(var##Result ? QString() : var##Result.error().message));                   \
    Database &var = (*var##Result)->db();                                                          \
    QVERIFY(insertCharges(var, kCharges).has_value())

/// The service over a folder of definitions, with recording seams.
struct Rig
{
    explicit Rig(Database &db, const QString &folder = kData)
        : service(db, folder, kHeadings, display, notifier)
    {
    }
    RecordingNotifier notifier;
    RecordingReportDisplay display;
    ReportService service;
};

/// The files of a zip archive, stored or deflated, read from its central directory.
QHash<QString, QByteArray> unzipAll(const QByteArray &zip)
{
    QHash<QString, QByteArray> files;
    const auto u16 = [&](qsizetype at) {
        return int(quint8(zip.at(at)) | quint8(zip.at(at + 1)) << 8);
    };
    const auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    const qsizetype end = zip.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    for (qsizetype i = 0, at = end < 0 ? zip.size() : u32(end + 16);
         end >= 0 && i < u16(end + 10) && at + 46 <= zip.size(); ++i) {
        const qsizetype local = u32(at + 42);
        QByteArray raw = zip.mid(local + 30 + u16(local + 26) + u16(local + 28), u32(at + 20));
        if (u16(at + 10) == 8) { // deflated
            QByteArray content(u32(at + 24), '\0');
            z_stream z{};
            inflateInit2(&z, -MAX_WBITS);
            z.next_in = reinterpret_cast<Bytef *>(raw.data());
            z.avail_in = uInt(raw.size());
            z.next_out = reinterpret_cast<Bytef *>(content.data());
            z.avail_out = uInt(content.size());
            raw = inflate(&z, Z_FINISH) == Z_STREAM_END ? content : QByteArray();
            inflateEnd(&z);
        }
        files.insert(QString::fromUtf8(zip.mid(at + 46, u16(at + 28))), raw);
        at += 46 + u16(at + 28) + u16(at + 30) + u16(at + 32);
    }
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

/// The sheets a report prints, each as its lines with blanks made one, as pdftotext reads the
/// report's PDF; none when pdftotext is not installed.
QList<QStringList> printedSheets(const RenderedReport &report)
{
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("report.pdf"));
    if (!report.exportPdf(pdf))
        return {};
    QList<QStringList> sheets;
    for (const QString &sheet : test::pdfText(pdf).split(u'\f', Qt::SkipEmptyParts)) {
        QStringList lines;
        for (const QString &line : sheet.split(u'\n')) {
            if (!line.simplified().isEmpty())
                lines << line.simplified();
        }
        if (!lines.isEmpty())
            sheets << lines;
    }
    return sheets;
}

/// The lines of a one-sheet report between the default header (the two headings) and footer
/// (page and print time); none without pdftotext.
QStringList printedBody(const RenderedReport &report)
{
    const QList<QStringList> sheets = printedSheets(report);
    if (sheets.size() != 1 || sheets[0].size() < 3)
        return {};
    const QStringList &lines = sheets[0];
    if (lines[0] != kHeadings.Company || lines[1] != kHeadings.Address1 ||
        lines.last() != u"Page 1 of 1 12/01/2026 10:00 AM")
        return {QStringLiteral("<not the default header and footer>")};
    return lines.mid(2, lines.size() - 3);
}

/// What the reports print is read from their PDF with pdftotext.
#define REQUIRE_PDFTOTEXT()                                                                        \
    if (QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty())                     \
    QSKIP("pdftotext is not installed")

#define VERIFY_RESULT(r) QVERIFY2(r, qPrintable(r ? QString() : r.error().message))

/// A display whose prompt answers from a script (nothing: the user cancels) and keeps the
/// names it was asked for.
struct PromptingDisplay : RecordingReportDisplay
{
    struct Script : ParameterPrompt
    {
        std::optional<QVariantList> answers;
        QStringList asked;
        std::optional<QVariantList> askParameters(const QString &,
                                                  const QList<ReportParameter> &missing) override
        {
            for (const ReportParameter &p : missing)
                asked << p.name;
            return answers;
        }
    } script;
    ParameterPrompt *prompt() override { return &script; }
};
} // namespace

class tst_ReportEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void parsesEverySection();
    void rejectsBrokenDefinitions_data();
    void rejectsBrokenDefinitions();
    void valuesGoToFieldsInOrder_data();
    void valuesGoToFieldsInOrder();
    void dateValueForms_data();
    void dateValueForms();
    void groupsSumsAndFormats();
    void templateSeesHeadingsAndPrintTime();
    void subreportGetsItsOwnValues();
    void failuresReachTheErrorBox_data();
    void failuresReachTheErrorBox();
    void showReportGoesWhereAsked_data();
    void showReportGoesWhereAsked();
    void everySheetHasItsHeaderAndFooter();
    void groupsKnowTheirPages();
    void exportsHoldTheTables();
    void spreadsheetNumbers_data();
    void spreadsheetNumbers();
    void richTextEscapes_data();
    void richTextEscapes();
    void tablePagesKeepRowsWhole_data();
    void tablePagesKeepRowsWhole();
    void printedSubtotalsAddUp();
    void printRangeAndBadTables_data();
    void printRangeAndBadTables();
    void streamedPagesAreTheWholeLayouts_data();
    void streamedPagesAreTheWholeLayouts();
    void firstPageShowsBeforeTheRest();
    void templatesFill_data();
    void templatesFill();
    void missingParametersAreAsked_data();
    void missingParametersAreAsked();
};

void tst_ReportEngine::parsesEverySection()
{
    const QString text = QStringLiteral(R"(# lines before the first section are comments
[report]
title = OPERATING ROOM AUDIT REPORT
orientation = Landscape
paper = legal
margins = 10 11 12 13
grouptree = Lines
style = td { color: black; }
style = th { color: black; }
[parameters]
# a comment between fields
from = date
Heading = TEXT
copies = number
amounts = flag
[query Lines]
group = ChargeSlip
sum = amount, Quantity
format quantity = 0
date transdate = MM/dd/yyyy hh:mm AP

select L.ChargeSlip
  from STATION..tbNurseLogBook L
 where L.TransDate >= :from
[subreport Items]
file = Slip Items.RPT
[header]
<p>{{Company}}</p>
# kept: a header is a template
[footer]
<p>{{page}}</p>
[template]
# a template line that starts with a hash
<p>{{Heading}}</p>
)");
    auto def = ReportDefinition::parse(text, QStringLiteral("/x/Audit_report.RPT"));
    VERIFY_RESULT(def);
    QCOMPARE(QStringList({def->path, def->title, def->orientation, def->paper, def->groupTree}),
             QStringList({"/x/Audit_report.RPT", "OPERATING ROOM AUDIT REPORT", "landscape",
                          "Legal", "lines"}));
    // The file lists top, right, bottom, left; the page is laid out with them.
    QCOMPARE(def->marginsMm, QMarginsF(13, 10, 11, 12));
    const auto points = [](const ReportDefinition &d) {
        return ReportRenderer::pageLayout(d).fullRect(QPageLayout::Point).size().toSize();
    };
    QCOMPARE(points(*def), QSize(1008, 612));
    QCOMPARE(ReportRenderer::pageLayout(*def).margins(QPageLayout::Millimeter), def->marginsMm);
    QVERIFY(def->style.contains(u"td { color: black; }\nth { color: black; }"));
    QString parameters;
    for (const ReportParameter &p : def->parameters)
        parameters += p.name + u'=' + QString::number(int(p.type)) + u' ';
    using T = ReportParameter::Type;
    QCOMPARE(parameters, QStringLiteral("from=%1 Heading=%2 copies=%3 amounts=%4 ")
                             .arg(int(T::Date))
                             .arg(int(T::Text))
                             .arg(int(T::Number))
                             .arg(int(T::Flag)));
    const ReportQuery *q = def->query(QStringLiteral("LINES"));
    QVERIFY(q && def->queries.size() == 1);
    QCOMPARE(QStringList({q->name, q->group, q->sums.join(u','),
                          q->numberFormats.value(QStringLiteral("quantity")),
                          q->dateFormats.value(QStringLiteral("transdate"))}),
             QStringList({"lines", "chargeslip", "amount,quantity", "0", "MM/dd/yyyy hh:mm AP"}));
    QCOMPARE(q->sql, QStringLiteral("select L.ChargeSlip\n  from STATION..tbNurseLogBook L\n"
                                    " where L.TransDate >= :from"));
    QCOMPARE(QStringList({def->subreports.value(QStringLiteral("items")), def->headerText,
                          def->footerText, def->templateText}),
             QStringList({"Slip Items.RPT", "<p>{{Company}}</p>\n# kept: a header is a template",
                          "<p>{{page}}</p>",
                          "# a template line that starts with a hash\n<p>{{Heading}}</p>"}));
    // Everything left out takes its default; the title falls back to the file's name.
    auto bare = ReportDefinition::parse(QStringLiteral("[template]\nx\n"),
                                        QStringLiteral("/r/Census Report.rpt"));
    VERIFY_RESULT(bare);
    QCOMPARE(bare->title + u' ' + bare->orientation, QStringLiteral("Census Report portrait"));
    QVERIFY(bare->marginsMm == QMarginsF(12, 12, 12, 12) && points(*bare) == QSize(612, 792));
    QVERIFY(bare->parameters.isEmpty() && bare->queries.isEmpty());
    // A byte-order mark is no comment line; a bracketed line of page text stays in the
    // template, while a known section still ends it.
    auto marked = ReportDefinition::parse(
        QStringLiteral("\uFEFF[report]\ntitle = MARKED\npaper = A4\n[template]\n<p>a</p>\n"
                       "[Note]\n[footer]\n<p>b</p>\n"));
    VERIFY_RESULT(marked);
    QCOMPARE(QStringList({marked->title, marked->templateText, marked->footerText}),
             QStringList({"MARKED", "<p>a</p>\n[Note]", "<p>b</p>"}));
    QCOMPARE(points(*marked), QSize(595, 842));
}

void tst_ReportEngine::rejectsBrokenDefinitions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");
    const auto row = [](const char *name, const QString &text, const char *reason) {
        QTest::newRow(name) << text << QString(reason);
    };
    const QString t = QStringLiteral("\n[template]\nx\n");
    row("no template", "[report]\ntitle = X\n", "x.rpt: the definition has no [template]");
    row("unknown section", "[reprot]\n" + t, "x.rpt, line 1: unknown section [reprot]");
    row("unknown report key", "[report]\ntitel = X" + t, "x.rpt, line 2: unknown key \"titel\"");
    row("orientation", "[report]\norientation = sideways" + t,
        "orientation must be portrait or landscape");
    row("paper", "[report]\npaper = A3" + t, "line 2: paper must be Letter");
    row("three margins", "[report]\nmargins = 1 2 3" + t, "margins are top right bottom left");
    row("margin no number", "[report]\nmargins = 1 2 x 4" + t, "margins must be numbers");
    row("parameter type", "[parameters]\n\nfrom = datetime" + t,
        "line 3: unknown parameter type \"datetime\"");
    row("parameter twice", "[parameters]\nfrom = date\nFROM = text" + t,
        "line 3: parameter \"FROM\" twice");
    row("parameter without type", "[parameters]\nfrom" + t, "line 2: expected \"name = type\"");
    row("query without name", "[query]\nselect 1" + t, "line 1: a query needs a name");
    row("no statement", "[query lines]\ngroup = x\n" + t, "query \"lines\" has no statement");
    row("query twice", "[query a]\nselect 1\n[query A]\nselect 2" + t, "line 3: query \"A\" twice");
    row("format, no column", "[query a]\nformat = 0\nselect 1" + t, "\"format\" needs a column");
    row("group with column", "[query a]\ngroup x = y\nselect 1" + t,
        "\"group = ...\" takes no column");
    row("subreport without file", "[subreport items]\n" + t, "subreport \"items\" names no file");
    row("subreport key", "[subreport items]\npath = a.rpt" + t, "a subreport has only");
    row("template with a name", "[template main]\nx\n", "line 1: [template] takes no name");
}

void tst_ReportEngine::rejectsBrokenDefinitions()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    auto def = ReportDefinition::parse(text, QStringLiteral("/reports/x.rpt"));
    QVERIFY(!def.has_value());
    QVERIFY2(def.error().message.contains(reason), qPrintable(def.error().message));
}

void tst_ReportEngine::valuesGoToFieldsInOrder_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("shown");
    // The fields: from (date), company (text), copies (number), amounts (flag), to (date).
    QTest::newRow("one value each") << QVariantList{"11/01/2026", "ACME", 2, true, "11/30/2026"}
                                    << "11/01/2026|ACME|2|1|11/30/2026";
    QTest::newRow("too few values: the rest stay empty")
        << QVariantList{"11/01/2026", "ACME"} << "11/01/2026|ACME|0|0|";
    QTest::newRow("too many values: the extra are unused")
        << QVariantList{"11/01/2026", "ACME", "1.5", "False", "11/30/2026", "EXTRA", 99}
        << "11/01/2026|ACME|1.5|0|11/30/2026";
    QTest::newRow("flags as the program passes them")
        << QVariantList{QDate(2026, 11, 1), "", "3", "True", at(11, 30, 17, 45)}
        << "11/01/2026||3|1|11/30/2026";
    QTest::newRow("flag \"1\", number text with blanks")
        << QVariantList{"1/5/2026", "O'Brien & Sons", " 12 ", "1"}
        << "01/05/2026|O'Brien & Sons|12|1|";
}

void tst_ReportEngine::valuesGoToFieldsInOrder()
{
    QFETCH(QVariantList, values);
    QFETCH(QString, shown);
    auto def = ReportDefinition::load(findReportFile(kData, QStringLiteral("params.rpt")));
    VERIFY_RESULT(def);
    const ReportArguments args = ReportRenderer::bindParameters(def->parameters, values);
    QStringList texts;
    for (const ReportParameter &p : def->parameters)
        texts << args.shown.value(p.name).toString();
    QCOMPARE(texts.join(u'|'), shown);
}

void tst_ReportEngine::dateValueForms_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("next");
    const auto row = [](const char *name, const QVariant &value, QDate first, QDate next) {
        QTest::newRow(name) << value << first << next;
    };
    row("mm/dd/yyyy", "11/30/2026", {2026, 11, 30}, {2026, 12, 1});
    row("last day of the year", "12/31/2026", {2026, 12, 31}, {2027, 1, 1});
    row("mm/yyyy is the whole month", "02/2028", {2028, 2, 1}, {2028, 3, 1});
    row("yyyy is the whole year", "2026", {2026, 1, 1}, {2027, 1, 1});
    row("QDateTime keeps only the day", at(12, 1, 23, 15), {2026, 12, 1}, {2026, 12, 2});
    row("no such day", "02/30/2026", {}, {});
    row("empty", "", {}, {});
}

void tst_ReportEngine::dateValueForms()
{
    QFETCH(QVariant, value);
    QFETCH(QDate, first);
    QFETCH(QDate, next);
    const auto period = ReportRenderer::datePeriod(value);
    QCOMPARE(period.first, first);
    QCOMPARE(period.second, next);
    // What the queries get: the day's start and the start of the day after.
    const ReportArguments args = ReportRenderer::bindParameters(
        {{QStringLiteral("to"), ReportParameter::Type::Date}}, {value});
    QCOMPARE(args.binds.value(QStringLiteral("to")).toDateTime(),
             first.isValid() ? first.startOfDay() : QDateTime());
    QCOMPARE(args.binds.value(QStringLiteral("to_end")).toDateTime(),
             next.isValid() ? next.startOfDay() : QDateTime());
    QCOMPARE(args.shown.value(QStringLiteral("to")).toString(),
             first.isValid() ? first.toString(u"MM/dd/yyyy") : QString());
}

void tst_ReportEngine::groupsSumsAndFormats()
{
    REQUIRE_PDFTOTEXT();
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("charges list.rpt"),
                                    {"11/01/2026", "11/30/2026", "OR CHARGES"}),
             qPrintable(rig.notifier.lastText()));
    const auto report = rig.service.current();
    const QStringList lines = printedBody(*report);
    // Per slip: its rows numbered from 1, count and totals; amounts as money, the quantity
    // with the definition's own pattern. Nothing of the days around or of the ward.
    const QStringList expected{"OR CHARGES",
                               "From 11/01/2026 to 11/30/2026",
                               "Slip CS-0001",
                               "No. Item Description Qty Amount",
                               "1 ITM1 Suture {silk} 1 1,500.00",
                               "2 ITM2 Gauze \\ pads 2 250.50",
                               "2 item(s) 3 1,750.50",
                               "Slip CS-0002",
                               "No. Item Description Qty Amount",
                               "1 ITM3 Oxígeno 3 1,000.25",
                               "2 ITM4 Late <charge> & O'Brien 1 99.25",
                               "2 item(s) 4 1,099.50",
                               "4 charges, total 2,850.00"};
    QCOMPARE(lines, expected);
    // The group tree: one entry per slip, each at its own anchor.
    QVERIFY(report->groups().size() == 2 &&
            report->groups()[0].anchor != report->groups()[1].anchor);
    // An empty period: the empty flag and zero totals.
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.RPT"),
                                   {"01/01/2020", "01/31/2020", "NONE"}));
    QCOMPARE(printedBody(*rig.service.current()),
             QStringList({"NONE", "From 01/01/2020 to 01/31/2020", "No charges in the period.",
                          "0 charges, total 0.00"}));
    QVERIFY(rig.service.current()->groups().isEmpty());
    // Dates with and without a pattern of the definition; amounts and quantities.
    auto def = ReportDefinition::parse(QStringLiteral(R"([query lines]
date posted = MM/dd/yyyy hh:mm AP
select TransDate as Plain, TransDate as Posted, Amount, Quantity, Description
  from STATION..tbNurseLogBook where ItemID = 'ITM2'
[template]
{{#lines}}{{plain}}|{{posted}}|{{amount}}|{{quantity}}|{{description}}{{/lines}}
)"));
    VERIFY_RESULT(def);
    auto ctx = ReportRenderer(db, kHeadings).context(*def, {});
    VERIFY_RESULT(ctx);
    QCOMPARE(ReportRenderer::fill(def->templateText, *ctx, QString())
                 .value_or(QStringLiteral("<fails>")),
             QStringLiteral("11/15/2026|11/15/2026 09:30 AM|250.50|2.00|Gauze \\ pads"));
    // A field that no query gives prints blank, and the file and the field are named.
    ReportRenderer renderer(db, kHeadings);
    QVERIFY(renderer.context(*def, {}).has_value());
    QCOMPARE(renderer.warnings(), QStringList());
    def->templateText += QStringLiteral("{{#lines}}{{postedby}}{{/lines}}");
    def->path = QStringLiteral("/reports/Posted.rpt");
    QVERIFY(renderer.context(*def, {}).has_value());
    QCOMPARE(renderer.warnings().size(), 1);
    QVERIFY2(renderer.warnings()[0].contains(u"Posted.rpt") &&
                 renderer.warnings()[0].contains(u"\"postedby\""),
             qPrintable(renderer.warnings()[0]));
}

void tst_ReportEngine::templateSeesHeadingsAndPrintTime()
{
    OPEN_CHARGES(db);
    auto def = ReportDefinition::parse(
        QStringLiteral("[report]\ntitle = CENSUS\n[parameters]\nfrom = date\n[template]\n"
                       "{{title}}|{{from_month}}|{{from_year}}|{{Company}}|{{Address1}}|"
                       "{{PrintedOn}}\n"));
    VERIFY_RESULT(def);
    const auto filled = [&](const ReportHeadings &headings, const QVariantList &values) {
        auto ctx = ReportRenderer(db, headings).context(*def, values);
        return ctx ? ReportRenderer::fill(def->templateText, *ctx, QString()).value_or(QString())
                   : ctx.error().message;
    };
    // The server's clock, not the workstation's: the fixture pins it at 12/01/2026 10:00.
    QCOMPARE(filled(kHeadings, {"11/01/2026"}),
             QStringLiteral("CENSUS|November 2026|2026|KESTREL GENERAL HOSPITAL|12 Mabini St., "
                            "Quezon City|12/01/2026 10:00 AM"));
    QVERIFY(db.pinClock(at(12, 1, 15, 5)).has_value());
    QCOMPARE(filled({QStringLiteral("OTHER"), QString()}, {}),
             QStringLiteral("CENSUS|||OTHER||12/01/2026 03:05 PM"));
    // A report whose own parameters carry the headings gets the values passed to it.
    def = ReportDefinition::parse(QStringLiteral("[parameters]\nAddress1 = text\nCompany = text\n"
                                                 "[template]\n{{Company}}|{{Address1}}\n"));
    VERIFY_RESULT(def);
    QCOMPARE(filled(kHeadings, {"ADDRESS ONE", "COMPANY TWO"}),
             QStringLiteral("COMPANY TWO|ADDRESS ONE"));
}

void tst_ReportEngine::subreportGetsItsOwnValues()
{
    REQUIRE_PDFTOTEXT();
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("slip with items.rpt"), {"CS-0001"}),
             qPrintable(rig.notifier.lastText()));
    // Until it gets its values the subreport runs with empty ones.
    const auto before = rig.service.current();
    const QStringList empty = printedBody(*before);
    QCOMPARE(empty, QStringList({"Charge slip CS-0001", "Items: 0 (none)"}));
    QVERIFY2(rig.service.OpenSubreport(QStringLiteral("ITEMS"), {"CS-0001"}),
             qPrintable(rig.notifier.lastText()));
    const auto after = rig.service.current();
    QCOMPARE(printedBody(*after),
             QStringList({"Charge slip CS-0001", "ITM1 Suture {silk} 1,500.00",
                          "ITM2 Gauze \\ pads 250.50", "ITM7 Ward item 10.00", "Items: 3"}));
    // The report shown earlier keeps what it showed.
    QCOMPARE(printedBody(*before), empty);
    QVERIFY(rig.notifier.boxes().isEmpty());
    QVERIFY(!rig.service.OpenSubreport(QStringLiteral("charges"), {}));
    QVERIFY2(rig.notifier.lastText().contains(u"has no subreport \"charges\""),
             qPrintable(rig.notifier.lastText()));
    QVERIFY(!rig.service.current());
}

void tst_ReportEngine::failuresReachTheErrorBox_data()
{
    QTest::addColumn<QString>("file");
    QTest::addColumn<QStringList>("reason");
    QTest::newRow("missing file") << "Audit_report.RPT"
                                  << QStringList{
                                         "The report file \"Audit_report.RPT\" was not found"};
    QTest::newRow("missing file by full path")
        << kData + "/nowhere/Audit_report.RPT"
        << QStringList{"\"Audit_report.RPT\" was not found", "nowhere"};
    QTest::newRow("template does not parse")
        << "BROKEN_TEMPLATE.RPT"
        << QStringList{"broken_template.rpt [template]", "the template does not parse"};
    QTest::newRow("database refuses the query")
        << "bad_sql.rpt" << QStringList{"bad_sql.rpt, query \"lines\":", "NoSuchColumn"};
    QTest::newRow("placeholder that is no parameter")
        << "unknown_placeholder.rpt"
        << QStringList{"unknown_placeholder.rpt, query \"lines\": :station is no parameter"};
}

void tst_ReportEngine::failuresReachTheErrorBox()
{
    QFETCH(QString, file);
    QFETCH(QStringList, reason);
    OPEN_CHARGES(db);
    Rig rig(db);
    // A report that opened before must not stay current after a failure.
    QVERIFY(rig.service.OpenReport(QStringLiteral("params.rpt"), {}));
    QVERIFY(rig.service.current());
    QVERIFY(!rig.service.OpenReport(file, {"11/01/2026"}));
    QCOMPARE(rig.notifier.boxes().size(), 1);
    const auto &box = rig.notifier.boxes().first();
    QVERIFY(box.text.endsWith(u"\n\nPlease notify your IT department."));
    for (const QString &part : reason)
        QVERIFY2(box.text.contains(part, Qt::CaseInsensitive), qPrintable(box.text));
    QVERIFY(!rig.service.current());
}

void tst_ReportEngine::showReportGoesWhereAsked_data()
{
    QTest::addColumn<bool>("printNow");
    QTest::addColumn<bool>("medicationSheet");
    QTest::addColumn<QString>("printFailure");
    QTest::addColumn<int>("shown");
    using S = ReportService::Shown;
    QTest::newRow("viewer with group tree, print and export off")
        << false << false << "" << int(S::Viewer);
    QTest::newRow("medication sheet") << false << true << "" << int(S::MedicationSheet);
    QTest::newRow("print now wins over the sheet") << true << true << "" << int(S::Printed);
    QTest::newRow("printer fails")
        << true << false << "No printer is installed." << int(S::Nothing);
}

void tst_ReportEngine::showReportGoesWhereAsked()
{
    QFETCH(bool, printNow);
    QFETCH(bool, medicationSheet);
    QFETCH(QString, printFailure);
    QFETCH(int, shown);
    OPEN_CHARGES(db);
    Rig rig(db);
    rig.display.failPrinting(printFailure);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"11/01/2026", "11/30/2026", "X"}));
    const QString title = QStringLiteral("Income Report (Detailed)");
    QCOMPARE(int(rig.service.ShowReport(true, title, printNow, medicationSheet, true)), shown);
    if (shown == int(ReportService::Shown::Nothing)) {
        QCOMPARE(rig.notifier.lastText(), Notifier::errorBoxText(printFailure));
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QVERIFY(rig.notifier.boxes().isEmpty() && rig.display.shown().size() == 1);
    const auto &s = rig.display.shown().first();
    QCOMPARE(s.report, rig.service.current());
    using K = RecordingReportDisplay::Kind;
    QCOMPARE(int(s.kind), shown == int(ReportService::Shown::Viewer) ? int(K::Viewer)
                          : shown == int(ReportService::Shown::MedicationSheet)
                              ? int(K::MedicationSheet)
                              : int(K::Printed));
    if (s.kind != K::Printed)
        QCOMPARE(s.options.title, title);
    if (s.kind == K::Viewer)
        QVERIFY(s.options.showGroupTree && s.options.disablePrintExport && !s.options.directPrint);
}

void tst_ReportEngine::everySheetHasItsHeaderAndFooter()
{
    OPEN_CHARGES(db);
    QVERIFY(insertCharges(db, septemberCharges(300)).has_value());
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("LONG.RPT"), {"09/01/2026", "09/30/2026"}),
             qPrintable(rig.notifier.lastText()));
    const auto report = rig.service.current();
    const int pages = report->pageCount();
    QVERIFY2(pages >= 2 && pages <= 15, qPrintable(QString::number(pages)));
    REQUIRE_PDFTOTEXT();
    const QList<QStringList> sheets = printedSheets(*report);
    QCOMPARE(sheets.size(), pages);
    // Every sheet has its header, the table's heading row and its footer; every row is
    // printed once, none cut.
    int rows = 0;
    for (int i = 0; i < pages; ++i) {
        const QStringList &lines = sheets[i];
        QVERIFY2(lines.size() > 4, qPrintable(lines.join(u'\n')));
        QCOMPARE(
            lines.mid(0, 3),
            QStringList({kHeadings.Company, QStringLiteral("Sheet %1 / %2").arg(i + 1).arg(pages),
                         "No. Item Description Amount"}));
        QVERIFY2(lines.last().contains(QStringLiteral("End of sheet %1").arg(i + 1)),
                 qPrintable(lines.last()));
        rows += int(lines.filter(u"Long list line").size());
    }
    QCOMPARE(rows, 300);
}

void tst_ReportEngine::groupsKnowTheirPages()
{
    OPEN_CHARGES(db);
    QVERIFY(insertCharges(db, septemberCharges(300, 30)).has_value());
    Rig rig(db);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"09/01/2026", "09/30/2026", "SEPTEMBER"}));
    const auto report = rig.service.current();
    const QList<ReportGroup> &groups = report->groups();
    QCOMPARE(groups.size(), 10);
    QCOMPARE(groups.first().page, 0);
    QVERIFY2(groups.last().page >= 2, qPrintable(QString::number(groups.last().page)));
    for (int g = 1; g < groups.size(); ++g)
        QVERIFY(groups[g].page >= groups[g - 1].page && groups[g].page < report->pageCount());
    // Each slip's heading is printed on the page its group names.
    REQUIRE_PDFTOTEXT();
    const QList<QStringList> sheets = printedSheets(*report);
    QCOMPARE(sheets.size(), report->pageCount());
    for (int g = 0; g < groups.size(); ++g) {
        QCOMPARE(groups[g].key, QStringLiteral("LONG-%1").arg(g + 1, 2, 10, QLatin1Char('0')));
        QVERIFY2(sheets[groups[g].page].join(u'\n').contains(u"Slip " + groups[g].key),
                 qPrintable(groups[g].key + u" not on page " + QString::number(groups[g].page)));
    }
}

void tst_ReportEngine::exportsHoldTheTables()
{
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"11/01/2026", "11/30/2026", "OR {CHARGES}"}));
    const auto report = rig.service.current();
    QTemporaryDir dir;
    VERIFY_RESULT(report->exportXlsx(dir.filePath(QStringLiteral("charges.xlsx"))));
    const auto files = unzipAll(readAll(dir.filePath(QStringLiteral("charges.xlsx"))));
    const QString sheet =
        QString::fromUtf8(files.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QStringList shared;
    static const QRegularExpression si(QStringLiteral("<si><t[^>]*>([^<]*)</t></si>"));
    for (auto it = si.globalMatch(QString::fromUtf8(files.value("xl/sharedStrings.xml")));
         it.hasNext();)
        shared << it.next().captured(1);
    const auto cell = [&](const char *ref) -> QString {
        const auto m = QRegularExpression(
                           QStringLiteral("<c r=\"%1\"([^>]*)>(?:<f>[^<]*</f>)?<v>([^<]*)</v></c>")
                               .arg(QLatin1String(ref)))
                           .match(sheet);
        return !m.hasMatch()                        ? QStringLiteral("<none>")
               : m.captured(1).contains(u"t=\"s\"") ? shared.value(m.captured(2).toInt())
                                                    : u'#' + m.captured(2);
    };
    // Texts as shared strings, amounts as numbers, the slip's total; a blank row after it.
    QCOMPARE(QStringList({cell("A1"), cell("C4"), cell("E4"), cell("E6"), cell("A7")}),
             QStringList({"OR CHARGES BY SLIP", "Suture {silk}", "#1500", "#1750.5", "<none>"}));
    QVERIFY(!report->exportXlsx(dir.filePath(QStringLiteral("no/such/dir/x.xlsx"))));

    // Rich text: the heading paragraph in bold, larger; the escaped texts of the cells.
    VERIFY_RESULT(report->exportRtf(dir.filePath(QStringLiteral("charges.rtf"))));
    const QString rtf = QString::fromLatin1(readAll(dir.filePath(QStringLiteral("charges.rtf"))));
    QVERIFY(rtf.startsWith(u"{\\rtf1") && rtf.contains(u"\\landscape"));
    QVERIFY2(rtf.contains(u"{\\fs28\\b OR \\{CHARGES\\}}"), qPrintable(rtf.left(2000)));
    for (const char *cell : {"Suture \\{silk\\}", "Ox\\u237?geno", "1,500.00"})
        QVERIFY2(rtf.contains(QLatin1String(cell)), cell);
    QVERIFY(!report->exportRtf(QString()).has_value());
}

void tst_ReportEngine::spreadsheetNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("number");
    QTest::newRow("amount with grouping") << "1,234.50" << QVariant(1234.5);
    QTest::newRow("negative") << "-12,345,678.00" << QVariant(-12345678.0);
    QTest::newRow("bare fraction") << ".5" << QVariant(0.5);
    QTest::newRow("hospital number keeps its zeros") << "000123" << QVariant();
    QTest::newRow("bad grouping") << "1,23" << QVariant();
    QTest::newRow("empty") << "" << QVariant();
}

void tst_ReportEngine::spreadsheetNumbers()
{
    QFETCH(QString, text);
    QFETCH(QVariant, number);
    const auto n = spreadsheetNumber(text);
    QCOMPARE(n.has_value(), number.isValid());
    if (n)
        QCOMPARE(*n, number.toDouble());
}

void tst_ReportEngine::richTextEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rtf");
    const auto row = [](const char *name, const QString &text, const char *rtf) {
        QTest::newRow(name) << text << QString(rtf);
    };
    row("braces and backslash", "a{b}c\\d", "a\\{b\\}c\\\\d");
    row("accents", "Peñafrancia", "Pe\\u241?afrancia");
    row("above 32767 is negative", QString(QChar(0xFF21)), "\\u-223?");
    row("beyond the basic plane: two surrogates", QString::fromUcs4(U"\U0001F600"),
        "\\u-10179?\\u-8704?");
    row("tab and line break", "a\tb\nc", "a\\tab b\\line c");
}

void tst_ReportEngine::richTextEscapes()
{
    QFETCH(QString, text);
    QFETCH(QString, rtf);
    QCOMPARE(rtfEscaped(text), rtf);
}

namespace {

/// A grouped list as the income reports write it: a heading row, a group row per department
/// and its rows; row `tallRow` (counted over all groups) holds `tallText`.
QString groupedTable(const QList<int> &groupSizes, int tallRow = -1, const QString &tallText = {})
{
    QString html = QStringLiteral("<h1>LIST</h1><table class=\"grid\" width=\"100%\">"
                                  "<thead><tr><th width=\"20%\">Date</th><th>Description</th>"
                                  "<th width=\"15%\" class=\"n\">Amount</th></tr></thead>");
    int n = 0;
    for (int g = 0; g < groupSizes.size(); ++g) {
        html += QStringLiteral("<tr><td class=\"group\" colspan=\"3\"><a name=\"g%1\"></a>"
                               "DEPT %1</td></tr>")
                    .arg(g);
        for (int r = 0; r < groupSizes[g]; ++r, ++n)
            html += QStringLiteral("<tr><td>11/%1/2026</td><td>%2</td><td class=\"n\">1.00</td>"
                                   "</tr>")
                        .arg(r % 28 + 1)
                        .arg(n == tallRow ? tallText : QStringLiteral("LINE %1").arg(n));
    }
    return html + QStringLiteral("</table>");
}

const QString kGridCss = QStringLiteral(
    "table.grid td { border: 1px solid #a0a0a0; padding: 2px; }\n"
    "td.group { background-color: #f2f2f2; font-weight: bold; }\n");

} // namespace

void tst_ReportEngine::tablePagesKeepRowsWhole_data()
{
    QTest::addColumn<QList<int>>("groups");
    QTest::addColumn<int>("tallRow");
    QTest::addColumn<int>("tallWords");
    QTest::newRow("one long group") << QList<int>{400} << -1 << 0;
    QTest::newRow("many short groups") << QList<int>{7, 1, 30, 2, 45, 3, 60, 1, 25} << -1 << 0;
    QTest::newRow("a cell of 10,000 characters") << QList<int>{40, 40} << 30 << 1000;
    QTest::newRow("a cell taller than a few lines") << QList<int>{20, 20} << 5 << 40;
}

void tst_ReportEngine::tablePagesKeepRowsWhole()
{
    QFETCH(QList<int>, groups);
    QFETCH(int, tallRow);
    QFETCH(int, tallWords);
    const QSizeF body(2000, 1400);
    const QString tall = QStringLiteral("WORDY ").repeated(tallWords);
    const ReportLayout layout(groupedTable(groups, tallRow, tall),
                              ReportRenderer::defaultStyleSheet() + kGridCss, body);
    QVERIFY(layout.pageCount() > 1);
    const LayoutTable *table = nullptr;
    for (const LayoutBlock &block : layout.blocks())
        table = block.table ? block.table.get() : table;
    QVERIFY(table);
    QCOMPARE(table->headingRows, 1);
    QHash<int, int> placed; // row → pieces it is printed in
    int lastGroup = -1;
    for (int p = 0; p < layout.pageCount(); ++p) {
        bool firstOnPage = true;
        for (const PagePiece &piece : layout.page(p)) {
            QVERIFY2(piece.y >= 0 && piece.y + piece.height <= body.height() + 0.5,
                     qPrintable(QStringLiteral("page %1 runs over").arg(p + 1)));
            if (layout.blocks()[std::size_t(piece.block)].table.get() != table)
                continue;
            // On every page after the first the columns' heading comes again, and a group
            // that goes on is named again, marked as continued.
            if (p > 0 && firstOnPage) {
                QVERIFY2(piece.repeatHeading, qPrintable(QString::number(p + 1)));
                const bool startsGroup =
                    piece.last > piece.first &&
                    table->rows[piece.first].kind == LayoutRow::Kind::Group;
                QCOMPARE(piece.continuedGroup, startsGroup ? -1 : lastGroup);
            }
            firstOnPage = false;
            for (int r = piece.first; r < piece.last; ++r) {
                ++placed[r];
                if (table->rows[r].kind == LayoutRow::Kind::Group) {
                    lastGroup = r;
                    // A group's heading is never the last thing on its page.
                    QVERIFY2(r + 1 < piece.last || r + 1 == table->rows.size(),
                             qPrintable(QStringLiteral("group row %1 stranded").arg(r)));
                }
            }
        }
    }
    // Every row is printed, and only a row taller than a page is cut.
    for (int r = table->headingRows; r < table->rows.size(); ++r) {
        QVERIFY2(placed.value(r) >= 1, qPrintable(QStringLiteral("row %1 missing").arg(r)));
        if (placed.value(r) > 1)
            QVERIFY2(table->rows[r].height > body.height() - table->headingHeight,
                     qPrintable(QStringLiteral("row %1 cut").arg(r)));
    }
    if (tallWords >= 1000)
        QVERIFY(std::any_of(placed.cbegin(), placed.cend(), [](int n) { return n > 1; }));
    // The group tree finds each department on the page that prints its heading.
    for (int g = 0; g < groups.size(); ++g)
        QVERIFY(layout.pageOfAnchor(QStringLiteral("g%1").arg(g)) >= 0);
}

void tst_ReportEngine::printedSubtotalsAddUp()
{
    REQUIRE_PDFTOTEXT();
    OPEN_CHARGES(db);
    QList<Charge> rows = septemberCharges(240, 70);
    for (int i = 0; i < rows.size(); ++i)
        rows[i].amount = QString::number(10 + (i * 37) % 90) + QStringLiteral(".25");
    QVERIFY(insertCharges(db, rows).has_value());
    Rig rig(db);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"09/01/2026", "09/30/2026", "SEPTEMBER"}));
    const auto report = rig.service.current();
    const QList<QStringList> sheets = printedSheets(*report);
    QCOMPARE(sheets.size(), report->pageCount());
    QVERIFY(sheets.size() > 2);
    // Read as the supervisor checks it: the amounts of each slip's rows, over its pages,
    // make the slip's printed total, and the slips make the grand total; each sheet says
    // which of how many it is.
    static const QRegularExpression line(QStringLiteral(R"(^\d+ LNG Long list line 1 (\S+)$)"));
    static const QRegularExpression subtotal(QStringLiteral(R"(^(\d+) item\(s\) \d+ (\S+)$)"));
    const auto money = [](const QString &t) { return Money::parse(QString(t).remove(u',')); };
    Money running, all;
    int items = 0, slips = 0;
    for (int i = 0; i < sheets.size(); ++i) {
        const QString pageOf = QStringLiteral("Page %1 of %2").arg(i + 1).arg(sheets.size());
        QVERIFY2(sheets[i].last().startsWith(pageOf), qPrintable(sheets[i].last()));
        for (const QString &text : sheets[i]) {
            if (const auto m = line.match(text); m.hasMatch()) {
                running += money(m.captured(1)).value_or(Money::minimum());
                ++items;
            } else if (const auto t = subtotal.match(text); t.hasMatch()) {
                QCOMPARE(t.captured(1).toInt(), items);
                QCOMPARE(money(t.captured(2)).value_or(Money::minimum()), running);
                all += running;
                running = Money();
                items = 0;
                ++slips;
            }
        }
    }
    QCOMPARE(slips, 4);
    QVERIFY(sheets.last().join(u'\n').contains(
        QStringLiteral("240 charges, total ") + formatNumber(all, QStringLiteral("#,##0.00"))));
}

void tst_ReportEngine::printRangeAndBadTables_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("from");
    QTest::addColumn<int>("to");
    QTest::addColumn<QString>("printed");
    QTest::addColumn<bool>("streamed"); // printed page by page before it was laid out
    const QString long300 = groupedTable({300});
    QTest::newRow("pages 2 to 3") << long300 << 2 << 3 << QStringLiteral("LINE") << false;
    QTest::newRow("from the last page on")
        << long300 << 99 << 0 << QStringLiteral("LINE 299") << false;
    QTest::newRow("page by page, pages 2 to 3")
        << long300 << 2 << 3 << QStringLiteral("LINE") << true;
    QTest::newRow("page by page, the last pages of many groups")
        << groupedTable({40, 3, 90, 1, 120}) << 4 << 0 << QStringLiteral("LINE 253") << true;
    QTest::newRow("column wider than the page")
        << QStringLiteral("<table><tr><td width=\"2000\">WIDE</td><td>CUT OFF</td></tr></table>")
        << 0 << 0 << QStringLiteral("WIDE") << false;
    QTest::newRow("no rows, only the heading")
        << QStringLiteral("<table class=\"grid\"><thead><tr><th>A</th></tr></thead></table>"
                          "<p>Nothing was posted.</p>")
        << 0 << 0 << QStringLiteral("Nothing was posted.") << false;
    QTest::newRow("an empty group key")
        << QStringLiteral("<table class=\"grid\"><tr><td class=\"group\" colspan=\"2\">"
                          "</td></tr><tr><td>ORPHAN</td><td>1</td></tr></table>")
        << 0 << 0 << QStringLiteral("ORPHAN") << false;
}

void tst_ReportEngine::printRangeAndBadTables()
{
    QFETCH(QString, html);
    QFETCH(int, from);
    QFETCH(int, to);
    QFETCH(QString, printed);
    QFETCH(bool, streamed);
    RenderedReport::setPrintPageByPageFrom(streamed ? 0 : 8 * 1024 * 1024);
    const auto restore = qScopeGuard([] { RenderedReport::setPrintPageByPageFrom(8 << 20); });
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                             QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    const RenderedReport report(
        QStringLiteral("T"), html, ReportRenderer::defaultStyleSheet() + kGridCss, letter,
        [](int, int) { return QStringLiteral("<p>HEAD</p>"); },
        [](int page, int pages) {
            return QStringLiteral("<p>Sheet %1 of %2</p>").arg(page).arg(pages);
        },
        {});
    if (!streamed) {
        QImage image(400, 520, QImage::Format_ARGB32);
        QPainter painter(&image);
        for (int p = 0; p < report.pageCount(); ++p)
            report.paintPage(painter, p, image.rect());
        painter.end();
    }
    REQUIRE_PDFTOTEXT();
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("range.pdf"));
    {
        QPdfWriter writer(pdf);
        VERIFY_RESULT(report.print(writer, from, to));
    }
    const QStringList sheets = test::pdfText(pdf).split(u'\f', Qt::SkipEmptyParts);
    const int pages = report.pageCount();
    const int first = std::clamp(from > 0 ? from : 1, 1, pages);
    const int last = to > 0 ? std::clamp(to, first, pages) : pages;
    QCOMPARE(sheets.size() - (sheets.last().trimmed().isEmpty() ? 1 : 0), last - first + 1);
    QVERIFY2(sheets.first().contains(QStringLiteral("Sheet %1 of %2").arg(first).arg(pages)),
             qPrintable(sheets.first()));
    QVERIFY2(sheets.join(u' ').contains(printed), qPrintable(sheets.join(u' ')));
    QCOMPARE(report.isLaidOut(), !streamed);
    QCOMPARE(report.layout().pageCount(), pages); // the count made for printing is right
}

namespace {

/// A page's pieces as text, so that two layouts compare with a readable difference.
QStringList pieces(const ReportLayout &layout, int page)
{
    QStringList out;
    for (const PagePiece &p : layout.page(page))
        out << QStringLiteral("block %1 rows %2-%3 at %4 from %5 for %6 heading %7 group %8")
                   .arg(p.block)
                   .arg(p.first)
                   .arg(p.last)
                   .arg(p.y)
                   .arg(p.offset)
                   .arg(p.height)
                   .arg(p.repeatHeading)
                   .arg(p.continuedGroup);
    return out;
}

} // namespace

void tst_ReportEngine::streamedPagesAreTheWholeLayouts_data()
{
    QTest::addColumn<QString>("html");
    QTest::addColumn<int>("slice");
    const QString remark = QStringLiteral("<p>Remarks of the supervisor.</p>");
    QTest::newRow("one long group, a row at a time") << groupedTable({400}) << 1;
    QTest::newRow("many short groups, 7 rows at a time")
        << groupedTable({7, 1, 30, 2, 45, 3, 60, 1, 25}) << 7;
    QTest::newRow("a row taller than a page")
        << groupedTable({40, 40}, 30, QStringLiteral("WORDY ").repeated(1000)) << 3;
    QTest::newRow("text between tables and after them")
        << groupedTable({50}) + remark + groupedTable({3, 60}) + remark.repeated(200) << 5;
    QString sized = QStringLiteral("<table class=\"grid\"><tr><th>Code</th><th>Item</th></tr>");
    for (int r = 0; r < 300; ++r)
        sized += QStringLiteral("<tr><td>C%1</td><td>%2</td></tr>")
                     .arg(r)
                     .arg(r == 250 ? QStringLiteral("A LONG NAME ").repeated(20)
                                   : QStringLiteral("ITEM"));
    QTest::newRow("columns sized by what the last rows hold") << sized + u"</table>" << 11;
}

void tst_ReportEngine::streamedPagesAreTheWholeLayouts()
{
    QFETCH(QString, html);
    QFETCH(int, slice);
    const QSizeF body(2000, 1400);
    const QString css = ReportRenderer::defaultStyleSheet() + kGridCss;
    const ReportLayout whole(html, css, body);
    ReportLayout streamed(html, css, body, ReportLayout::Streamed{});
    QVERIFY(!streamed.isComplete());
    QCOMPARE(streamed.pageCount(), 0);
    // Pages come out while the rest is still to be laid out, each never changed after.
    QList<QStringList> early;
    while (!streamed.layoutMore(slice)) {
        for (int p = int(early.size()); p < streamed.pageCount(); ++p)
            early << pieces(streamed, p);
    }
    QVERIFY2(!early.isEmpty(), "no page before the last row");
    QVERIFY(whole.pageCount() > 1);
    QCOMPARE(streamed.pageCount(), whole.pageCount());
    for (int p = 0; p < whole.pageCount(); ++p) {
        QCOMPARE(pieces(streamed, p), pieces(whole, p));
        if (p < early.size())
            QCOMPARE(early[p], pieces(whole, p));
    }
}

void tst_ReportEngine::firstPageShowsBeforeTheRest()
{
    const QPageLayout letter(QPageSize(QPageSize::Letter), QPageLayout::Portrait,
                             QMarginsF(12, 12, 12, 12), QPageLayout::Millimeter);
    auto counts = std::make_shared<QList<int>>(); // the page counts the footers were given
    const auto report = std::make_shared<const RenderedReport>(
        QStringLiteral("T"), groupedTable({1500, 1500}),
        ReportRenderer::defaultStyleSheet() + kGridCss, letter,
        [](int, int) { return QStringLiteral("<p>HEAD</p>"); },
        [counts](int, int pages) {
            *counts << pages;
            return QStringLiteral("<p>FOOT</p>");
        },
        QList<ReportGroup>{{QStringLiteral("DEPT 0"), QStringLiteral("g0"), 0},
                           {QStringLiteral("DEPT 1"), QStringLiteral("g1"), 0}});
    RecordingNotifier notifier;
    ReportViewer viewer(report, ViewerOptions{}, notifier);
    QImage image(400, 520, QImage::Format_ARGB32);
    QPainter painter(&image);
    report->paintPage(painter, 0, image.rect());
    // Page 1 is on screen with the rest still to come; its count of pages is not known yet.
    QVERIFY(!report->isLaidOut() && viewer.isLayingOut());
    QCOMPARE(counts->last(), 0);
    QCOMPARE(viewer.pageText(), QStringLiteral("Page 1 of …"));
    QVERIFY(!viewer.progressText().isEmpty());
    const int early = viewer.pageCount();
    QCOMPARE(viewer.groupKeys(), (QStringList{"DEPT 0", "DEPT 1"}));
    QVERIFY(report->pagesLaidOut() < 10);
    // The group tree jumps to the second department before the layout has reached its end.
    viewer.showGroup(1);
    const int secondGroup = viewer.page();
    QVERIFY(secondGroup > 0);
    // The viewer's slices lay out the rest; then every page knows how many there are.
    for (int slices = 0; viewer.isLayingOut() && slices < 10000; ++slices)
        viewer.layoutMore();
    QVERIFY(report->isLaidOut());
    const int pages = report->pageCount();
    QVERIFY(pages > early);
    QCOMPARE(viewer.pageText(), QStringLiteral("Page %1 of %2").arg(secondGroup + 1).arg(pages));
    QVERIFY(viewer.progressText().isEmpty());
    report->paintPage(painter, pages - 1, image.rect());
    QCOMPARE(counts->last(), pages);
    QCOMPARE(secondGroup, report->layout().pageOfAnchor(QStringLiteral("g1")));
}

void tst_ReportEngine::templatesFill_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("filled"); // "" for a template that must not parse
    QTest::newRow("escaped and as it is")
        << "{{title}}|{{{title}}}|{{&title}}" << "O&apos;Brien &amp; Co|O'Brien & Co|O'Brien & Co";
    QTest::newRow("rows by column, numbered")
        << "{{#lines}}{{rownum}}:{{item}}={{amount}};{{/lines}}"
        << "1:ITM1=1.00;2:ITM2=2.00;3:ITM3=3.00;";
    QTest::newRow("a group's rows numbered from 1 again, its key seen from them")
        << "{{#groups}}{{key}}[{{#rows}}{{rownum}}{{item}}{{key}} {{/rows}}]{{/groups}}"
        << "G1[1ITM1G1 2ITM3G1 ]G2[1ITM2G2 ]";
    QTest::newRow("false and empty skip, inverted shows")
        << "{{#off}}x{{/off}}{{^off}}a{{/off}}{{#none}}x{{/none}}{{^none}}b{{/none}}"
           "{{#on}}c{{/on}}{{^lines}}x{{/lines}}{{#title}}d{{/title}}"
        << "abcd";
    QTest::newRow("unknown names blank, their inverse shown")
        << "[{{nosuch}}][{{#nosuch}}x{{/nosuch}}][{{^nosuch}}y{{/nosuch}}]{{! remark }}"
        << "[][][y]";
    QTest::newRow("dotted name") << "{{nested.inner}}/{{nested.nosuch}}" << "x/";
    QTest::newRow("a section tag alone on its line leaves no line")
        << "a\n  {{#on}}\nb\n{{/on}}\n{{! note }}\nc\n" << "a\nb\nc\n";
    QTest::newRow("a tag inside a line keeps the line") << "a {{#on}}b{{/on}} c\n" << "a b c\n";
    QTest::newRow("a section not closed") << "{{#lines}}{{item}}" << "";
    QTest::newRow("closed by another name") << "{{#lines}}{{/groups}}" << "";
    QTest::newRow("a tag not closed") << "{{title" << "";
}

void tst_ReportEngine::templatesFill()
{
    QFETCH(QString, text);
    QFETCH(QString, filled);
    const ReportRows lines({"item", "amount"}, {"ITM1", "1.00", "ITM2", "2.00", "ITM3", "3.00"});
    const QVariantMap context{
        {"title", "O'Brien & Co"},
        {"off", false},
        {"on", true},
        {"none", QVariant::fromValue(ReportRows({"item"}, {}))},
        {"lines", QVariant::fromValue(lines)},
        {"groups",
         QVariantList{QVariantMap{{"key", "G1"}, {"rows", QVariant::fromValue(lines.view({0, 2}))}},
                      QVariantMap{{"key", "G2"}, {"rows", QVariant::fromValue(lines.view({1}))}}}},
        {"nested", QVariantMap{{"inner", "x"}}}};
    const auto out = ReportRenderer::fill(text, context, QStringLiteral("T.rpt [template]"));
    if (filled.isEmpty()) {
        QVERIFY(!out);
        QVERIFY2(out.error().message.startsWith(u"T.rpt [template]: the template does not parse"),
                 qPrintable(out.error().message));
        return;
    }
    VERIFY_RESULT(out);
    QCOMPARE(*out, filled);
}

void tst_ReportEngine::missingParametersAreAsked_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QVariantList>("answers"); // empty: the prompt is cancelled
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("shown"); // empty: no report opens
    // The fields: from (date), company (text), copies (number), amounts (flag), to (date).
    QTest::newRow("every value given: nothing asked")
        << QVariantList{"11/01/2026", "ACME", 2, true, "11/30/2026"} << QVariantList{"?"} << ""
        << "from=[11/01/2026] company=[ACME] copies=[2] amounts=[1] to=[11/30/2026]";
    QTest::newRow("one date of two: the rest asked in order")
        << QVariantList{"11/01/2026"} << QVariantList{"ACME", "3", true, QDate(2026, 11, 30)}
        << "company,copies,amounts,to"
        << "from=[11/01/2026] company=[ACME] copies=[3] amounts=[1] to=[11/30/2026]";
    QTest::newRow("a null value asked in its place")
        << QVariantList{"11/01/2026", QVariant(), 2, false, "11/30/2026"} << QVariantList{"ACME"}
        << "company" << "from=[11/01/2026] company=[ACME] copies=[2] amounts=[0] to=[11/30/2026]";
    QTest::newRow("cancelled: nothing opens")
        << QVariantList{QVariant(), "ACME"} << QVariantList{} << "from,copies,amounts,to" << "";
}

void tst_ReportEngine::missingParametersAreAsked()
{
    QFETCH(QVariantList, values);
    QFETCH(QVariantList, answers);
    QFETCH(QString, asked);
    QFETCH(QString, shown);
    OPEN_CHARGES(db);
    RecordingNotifier notifier;
    PromptingDisplay display;
    if (!answers.isEmpty())
        display.script.answers = answers;
    ReportService service(db, kData, kHeadings, display, notifier);
    QCOMPARE(service.OpenReport(QStringLiteral("params.rpt"), values), !shown.isEmpty());
    QCOMPARE(display.script.asked.join(u','), asked);
    QVERIFY(notifier.boxes().isEmpty());
    if (shown.isEmpty()) {
        QVERIFY(!service.current());
        return;
    }
    QVERIFY2(service.current()->html().contains(shown), qPrintable(service.current()->html()));
}

QTEST_MAIN(tst_ReportEngine)
#include "tst_reportengine.moc"
