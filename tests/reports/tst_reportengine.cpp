// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The report engine over the definitions of tests/reports/data and a few OR charges: the
// definition files, the parameters, what the templates see, the service's error box and
// display, and what the pages, spreadsheets and rich text hold.
#include "reports/exports/ReportExports.h"
#include "reports/RenderedReport.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "support/PdfText.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
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
        binds << Binds{{QStringLiteral("slip"), c.slip},        {QStringLiteral("item"), c.item},
                       {QStringLiteral("text"), c.description}, {QStringLiteral("qty"), c.quantity},
                       {QStringLiteral("amount"), c.amount},    {QStringLiteral("on"), c.when},
                       {QStringLiteral("station"), c.station}};
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
        return quint16(quint8(zip.at(at)) | quint8(zip.at(at + 1)) << 8);
    };
    const auto u32 = [&](qsizetype at) { return quint32(u16(at)) | quint32(u16(at + 2)) << 16; };
    const qsizetype end = zip.lastIndexOf(QByteArrayLiteral("PK\x05\x06"));
    if (end < 0 || end + 22 > zip.size())
        return files;
    qsizetype at = u32(end + 16);
    for (int i = 0; i < u16(end + 10) && at + 46 <= zip.size() && u32(at) == 0x02014b50; ++i) {
        const quint32 size = u32(at + 24);
        const int nameLength = u16(at + 28);
        const qsizetype local = u32(at + 42);
        QByteArray raw = zip.mid(local + 30 + u16(local + 26) + u16(local + 28), u32(at + 20));
        if (u16(at + 10) == 8) { // deflated
            QByteArray content(size, '\0');
            z_stream stream{};
            inflateInit2(&stream, -MAX_WBITS);
            stream.next_in = reinterpret_cast<Bytef *>(raw.data());
            stream.avail_in = uInt(raw.size());
            stream.next_out = reinterpret_cast<Bytef *>(content.data());
            stream.avail_out = uInt(size);
            const int rc = inflate(&stream, Z_FINISH);
            inflateEnd(&stream);
            raw = rc == Z_STREAM_END ? content : QByteArray();
        }
        files.insert(QString::fromUtf8(zip.mid(at + 46, nameLength)), raw);
        at += 46 + nameLength + u16(at + 30) + u16(at + 32);
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

} // namespace

class tst_ReportEngine : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    // definitions
    void parsesEverySection();
    void rejectsBrokenDefinitions_data();
    void rejectsBrokenDefinitions();

    // parameters
    void valuesGoToFieldsInOrder_data();
    void valuesGoToFieldsInOrder();
    void dateValueForms_data();
    void dateValueForms();
    void periodCoversWholeDays_data();
    void periodCoversWholeDays();

    // what the reports print
    void groupsSumsAndFormats();
    void templateSeesHeadingsAndPrintTime();
    void subreportGetsItsOwnValues();

    // the service
    void failuresReachTheErrorBox_data();
    void failuresReachTheErrorBox();
    void showReportGoesWhereAsked_data();
    void showReportGoesWhereAsked();

    // pages and exports
    void everySheetHasItsHeaderAndFooter_data();
    void everySheetHasItsHeaderAndFooter();
    void groupsKnowTheirPages();
    void spreadsheetHoldsTheTables();
    void spreadsheetNumbers_data();
    void spreadsheetNumbers();
    void richTextHoldsTheTables();
    void richTextEscapes_data();
    void richTextEscapes();
};

// ---- definitions -------------------------------------------------------------------------

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
    QVERIFY(def->style.contains(u"td { color: black; }") &&
            def->style.contains(u"th { color: black; }"));

    QStringList parameters;
    for (const ReportParameter &p : def->parameters)
        parameters << p.name + u'=' + QString::number(int(p.type));
    using T = ReportParameter::Type;
    QCOMPARE(parameters, QStringList({u"from=" + QString::number(int(T::Date)),
                                      u"Heading=" + QString::number(int(T::Text)),
                                      u"copies=" + QString::number(int(T::Number)),
                                      u"amounts=" + QString::number(int(T::Flag))}));

    QCOMPARE(def->queries.size(), 1);
    const ReportQuery *q = def->query(QStringLiteral("LINES"));
    QVERIFY(q);
    QCOMPARE(QStringList({q->name, q->group, q->sums.join(u','),
                          q->numberFormats.value(QStringLiteral("quantity")),
                          q->dateFormats.value(QStringLiteral("transdate"))}),
             QStringList({"lines", "chargeslip", "amount,quantity", "0", "MM/dd/yyyy hh:mm AP"}));
    QCOMPARE(q->sql, QStringLiteral("select L.ChargeSlip\n  from STATION..tbNurseLogBook L\n"
                                    " where L.TransDate >= :from"));

    QCOMPARE(def->subreports.value(QStringLiteral("items")), QStringLiteral("Slip Items.RPT"));
    QCOMPARE(def->headerText, QStringLiteral("<p>{{Company}}</p>\n# kept: a header is a template"));
    QCOMPARE(def->footerText, QStringLiteral("<p>{{page}}</p>"));
    QCOMPARE(def->templateText,
             QStringLiteral("# a template line that starts with a hash\n<p>{{Heading}}</p>"));

    // Everything left out takes its default; the title falls back to the file's name.
    auto bare = ReportDefinition::parse(QStringLiteral("[template]\nx\n"),
                                        QStringLiteral("/r/Census Report.rpt"));
    VERIFY_RESULT(bare);
    QCOMPARE(QStringList({bare->title, bare->orientation, bare->paper}),
             QStringList({"Census Report", "portrait", "Letter"}));
    QCOMPARE(bare->marginsMm, QMarginsF(12, 12, 12, 12));
    QCOMPARE(points(*bare), QSize(612, 792));
    QVERIFY(bare->parameters.isEmpty() && bare->queries.isEmpty());

    // A byte-order mark is no comment line; a bracketed line of page text stays in the
    // template, while a known section still ends it.
    auto marked = ReportDefinition::parse(
        QStringLiteral("\uFEFF[report]\ntitle = MARKED\npaper = A4\n[template]\n<p>a</p>\n"
                       "[Note]\n[footer]\n<p>b</p>\n"));
    VERIFY_RESULT(marked);
    QCOMPARE(marked->title, QStringLiteral("MARKED"));
    QCOMPARE(points(*marked), QSize(595, 842));
    QCOMPARE(marked->templateText, QStringLiteral("<p>a</p>\n[Note]"));
    QCOMPARE(marked->footerText, QStringLiteral("<p>b</p>"));
}

void tst_ReportEngine::rejectsBrokenDefinitions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");

    const auto row = [](const char *name, const QString &text, const char *reason) {
        QTest::newRow(name) << text << QString(reason);
    };
    const QString tmpl = QStringLiteral("\n[template]\nx\n");
    row("no template", "[report]\ntitle = X\n", "x.rpt: the definition has no [template]");
    row("unknown section", "[reprot]\n" + tmpl, "x.rpt, line 1: unknown section [reprot]");
    row("unknown report key", "[report]\ntitel = X" + tmpl, "x.rpt, line 2: unknown key \"titel\"");
    row("orientation", "[report]\norientation = sideways" + tmpl,
        "line 2: orientation must be portrait or landscape");
    row("paper", "[report]\npaper = A3" + tmpl, "line 2: paper must be Letter");
    row("three margins", "[report]\nmargins = 1 2 3" + tmpl,
        "line 2: margins are top right bottom left");
    row("margin not a number", "[report]\nmargins = 1 2 x 4" + tmpl,
        "line 2: margins must be numbers");
    row("parameter type", "[parameters]\n\nfrom = datetime" + tmpl,
        "line 3: unknown parameter type \"datetime\"");
    row("parameter twice", "[parameters]\nfrom = date\nFROM = text" + tmpl,
        "line 3: parameter \"FROM\" twice");
    row("parameter without type", "[parameters]\nfrom" + tmpl, "line 2: expected \"name = type\"");
    row("query without name", "[query]\nselect 1" + tmpl, "line 1: a query needs a name");
    row("query without statement", "[query lines]\ngroup = x\n" + tmpl,
        "query \"lines\" has no statement");
    row("query twice", "[query a]\nselect 1\n[query A]\nselect 2" + tmpl,
        "line 3: query \"A\" twice");
    row("format without column", "[query a]\nformat = 0\nselect 1" + tmpl,
        "line 2: \"format\" needs a column");
    row("group with column", "[query a]\ngroup x = y\nselect 1" + tmpl,
        "line 2: \"group = ...\" takes no column");
    row("subreport without file", "[subreport items]\n" + tmpl,
        "subreport \"items\" names no file");
    row("subreport other key", "[subreport items]\npath = a.rpt" + tmpl,
        "line 2: a subreport has only");
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

// ---- parameters --------------------------------------------------------------------------

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
    QTest::newRow("no values") << QVariantList{} << "||0|0|";
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
    row("m/d/yyyy", "2/5/2026", {2026, 2, 5}, {2026, 2, 6});
    row("last day of the year", "12/31/2026", {2026, 12, 31}, {2027, 1, 1});
    row("mm/yyyy is the whole month", "02/2028", {2028, 2, 1}, {2028, 3, 1});
    row("yyyy is the whole year", "2026", {2026, 1, 1}, {2027, 1, 1});
    row("QDate", QDate(2026, 12, 1), {2026, 12, 1}, {2026, 12, 2});
    row("QDateTime keeps only the day", at(12, 1, 23, 15), {2026, 12, 1}, {2026, 12, 2});
    row("blanks around", " 12/01/2026 ", {2026, 12, 1}, {2026, 12, 2});
    row("no such day", "02/30/2026", {}, {});
    row("not a date", "yesterday", {}, {});
    row("empty", "", {}, {});
    row("null", QVariant(), {}, {});
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

void tst_ReportEngine::periodCoversWholeDays_data()
{
    QTest::addColumn<QVariant>("from");
    QTest::addColumn<QVariant>("to");
    QTest::addColumn<QString>("items");

    const QString november = QStringLiteral("ITM1;ITM2;ITM3;ITM4;");
    QTest::newRow("the month by days: both edges in, the days around out")
        << QVariant("11/01/2026") << QVariant("11/30/2026") << november;
    QTest::newRow("the month as mm/yyyy") << QVariant("11/2026") << QVariant("11/2026") << november;
    QTest::newRow("one day, charged a second before midnight")
        << QVariant("11/30/2026") << QVariant("11/30/2026") << "ITM4;";
    QTest::newRow("one day, charged at midnight")
        << QVariant(QDate(2026, 12, 1)) << QVariant(QDate(2026, 12, 1)) << "ITM5;";
    QTest::newRow("the year") << QVariant("2026") << QVariant("2026")
                              << "ITM6;" + november + "ITM5;";
    QTest::newRow("from after to") << QVariant("11/30/2026") << QVariant("11/01/2026") << "";
}

void tst_ReportEngine::periodCoversWholeDays()
{
    QFETCH(QVariant, from);
    QFETCH(QVariant, to);
    QFETCH(QString, items);
    OPEN_CHARGES(db);
    auto def = ReportDefinition::parse(QStringLiteral(R"([parameters]
from = date
to = date
[query lines]
select ItemID from STATION..tbNurseLogBook
 where StationID = 'OR' and TransDate >= :from and TransDate < :to_end order by TransDate
[template]
{{#lines}}{{itemid}};{{/lines}}
)"));
    VERIFY_RESULT(def);
    auto ctx = ReportRenderer(db, kHeadings).context(*def, {from, to});
    VERIFY_RESULT(ctx);
    QCOMPARE(ReportRenderer::fill(def->templateText, *ctx, QString())
                 .value_or(QStringLiteral("<fails>")),
             items);
}

// ---- what the reports print --------------------------------------------------------------

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
    QCOMPARE(report->groups().size(), 2);
    QCOMPARE(report->groups()[0].key, QStringLiteral("CS-0001"));
    QCOMPARE(report->groups()[1].key, QStringLiteral("CS-0002"));
    QVERIFY(report->groups()[0].anchor != report->groups()[1].anchor);

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
    QVERIFY(after != before);
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

// ---- the service -------------------------------------------------------------------------

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
    QCOMPARE(box.title, QStringLiteral("Notification"));
    QVERIFY(box.text.endsWith(u"\n\nPlease notify your IT department."));
    for (const QString &part : reason)
        QVERIFY2(box.text.contains(part, Qt::CaseInsensitive), qPrintable(box.text));
    QVERIFY(!rig.service.current());
    QCOMPARE(rig.service.ShowReport(false, QStringLiteral("Audit Report")),
             ReportService::Shown::Nothing);
    QVERIFY(rig.display.shown().isEmpty());
}

void tst_ReportEngine::showReportGoesWhereAsked_data()
{
    QTest::addColumn<bool>("groupTree");
    QTest::addColumn<bool>("printNow");
    QTest::addColumn<bool>("medicationSheet");
    QTest::addColumn<bool>("disablePrintExport");
    QTest::addColumn<QString>("printFailure");
    QTest::addColumn<int>("shown");

    using S = ReportService::Shown;
    QTest::newRow("viewer") << false << false << false << false << "" << int(S::Viewer);
    QTest::newRow("viewer with group tree, print and export off")
        << true << false << false << true << "" << int(S::Viewer);
    QTest::newRow("medication sheet")
        << false << false << true << false << "" << int(S::MedicationSheet);
    QTest::newRow("print now wins over the sheet")
        << false << true << true << false << "" << int(S::Printed);
    QTest::newRow("printer fails")
        << false << true << false << false << "No printer is installed." << int(S::Nothing);
}

void tst_ReportEngine::showReportGoesWhereAsked()
{
    QFETCH(bool, groupTree);
    QFETCH(bool, printNow);
    QFETCH(bool, medicationSheet);
    QFETCH(bool, disablePrintExport);
    QFETCH(QString, printFailure);
    QFETCH(int, shown);
    OPEN_CHARGES(db);
    Rig rig(db);
    rig.display.failPrinting(printFailure);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"11/01/2026", "11/30/2026", "X"}));
    const QString title = QStringLiteral("Income Report (Detailed)");
    const auto result =
        rig.service.ShowReport(groupTree, title, printNow, medicationSheet, disablePrintExport);
    QCOMPARE(int(result), shown);
    if (result == ReportService::Shown::Nothing) {
        QCOMPARE(rig.notifier.lastText(), Notifier::errorBoxText(printFailure));
        QVERIFY(rig.display.shown().isEmpty());
        return;
    }
    QVERIFY(rig.notifier.boxes().isEmpty());
    QCOMPARE(rig.display.shown().size(), 1);
    const auto &s = rig.display.shown().first();
    QCOMPARE(s.report, rig.service.current());
    using K = RecordingReportDisplay::Kind;
    QCOMPARE(int(s.kind), int(result == ReportService::Shown::Viewer            ? K::Viewer
                              : result == ReportService::Shown::MedicationSheet ? K::MedicationSheet
                                                                                : K::Printed));
    if (s.kind != K::Printed)
        QCOMPARE(s.options.title, title);
    if (s.kind == K::Viewer) {
        QCOMPARE(s.options.showGroupTree, groupTree);
        QCOMPARE(s.options.disablePrintExport, disablePrintExport);
        QVERIFY(!s.options.directPrint);
    }
}

// ---- pages and exports -------------------------------------------------------------------

void tst_ReportEngine::everySheetHasItsHeaderAndFooter_data()
{
    QTest::addColumn<bool>("ownMargins");
    QTest::addColumn<int>("charges");
    QTest::addColumn<QString>("header"); // the second line of every sheet
    QTest::addColumn<QString>("footer"); // in the last line; {page} and {pages} filled in

    QTest::newRow("the definition's own") << true << 300 << "Sheet {page} / {pages}"
                                          << "End of sheet {page}";
    QTest::newRow("the default: headings, page and print time")
        << false << 120 << kHeadings.Address1 << "Page {page} of {pages} 12/01/2026 10:00 AM";
}

void tst_ReportEngine::everySheetHasItsHeaderAndFooter()
{
    QFETCH(bool, ownMargins);
    QFETCH(int, charges);
    QFETCH(QString, header);
    QFETCH(QString, footer);
    OPEN_CHARGES(db);
    QVERIFY(insertCharges(db, septemberCharges(charges)).has_value());
    QTemporaryDir dir;
    QString text = QString::fromUtf8(readAll(kData + QStringLiteral("/long.rpt")));
    if (!ownMargins) {
        text.replace(QRegularExpression(QStringLiteral("\\[header\\].*\\[template\\]"),
                                        QRegularExpression::DotMatchesEverythingOption),
                     QStringLiteral("[template]"));
    }
    QFile file(dir.filePath(QStringLiteral("long.rpt")));
    QVERIFY(file.open(QIODevice::WriteOnly) && file.write(text.toUtf8()) > 0);
    file.close();
    Rig rig(db, dir.path());
    QVERIFY2(rig.service.OpenReport(QStringLiteral("LONG.RPT"), {"09/01/2026", "09/30/2026"}),
             qPrintable(rig.notifier.lastText()));
    const auto report = rig.service.current();
    const int pages = report->pageCount();
    QVERIFY2(pages >= 2 && pages <= 15, qPrintable(QString::number(pages)));

    // Painting: a page is drawn into any rectangle, the header above the body, the footer
    // below it.
    QImage image(306, 421, QImage::Format_RGB32);
    image.fill(Qt::red);
    QPainter painter(&image);
    report->paintPage(painter, pages - 1, QRectF(0, 0, image.width(), image.height()));
    painter.end();
    QCOMPARE(image.pixelColor(1, 1), QColor(Qt::white));
    const auto inked = [&](int top, int bottom) {
        for (int y = top; y < bottom; ++y)
            for (int x = 0; x < image.width(); ++x)
                if (image.pixelColor(x, y).lightness() < 128)
                    return true;
        return false;
    };
    QVERIFY(inked(0, 60));
    QVERIFY(inked(image.height() - 60, image.height()));

    REQUIRE_PDFTOTEXT();
    const QList<QStringList> sheets = printedSheets(*report);
    QCOMPARE(sheets.size(), pages);
    // Every sheet has its header, the table's heading row and its footer; every row is
    // printed once, none cut.
    int rows = 0;
    for (int i = 0; i < pages; ++i) {
        const QStringList &lines = sheets[i];
        const auto filled = [&](QString s) {
            return s.replace(QStringLiteral("{pages}"), QString::number(pages))
                .replace(QStringLiteral("{page}"), QString::number(i + 1));
        };
        QVERIFY2(lines.size() > 4, qPrintable(lines.join(u'\n')));
        QCOMPARE(lines[0], kHeadings.Company);
        QCOMPARE(lines[1], filled(header));
        QCOMPARE(lines[2], QStringLiteral("No. Item Description Amount"));
        QVERIFY2(lines.last().contains(filled(footer)), qPrintable(lines.last()));
        rows += int(lines.filter(u"Long list line").size());
    }
    QCOMPARE(rows, charges);
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

void tst_ReportEngine::spreadsheetHoldsTheTables()
{
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"11/01/2026", "11/30/2026", "OR CHARGES"}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("charges.xlsx"));
    VERIFY_RESULT(rig.service.current()->exportXlsx(path));
    const QHash<QString, QByteArray> files = unzipAll(readAll(path));
    const QString sheet =
        QString::fromUtf8(files.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    QVERIFY2(!sheet.isEmpty(), qPrintable(files.keys().join(u' ')));

    // Texts are shared strings: find a cell by its string's index.
    QStringList shared;
    static const QRegularExpression si(QStringLiteral("<si><t[^>]*>([^<]*)</t></si>"));
    for (auto it =
             si.globalMatch(QString::fromUtf8(files.value(QStringLiteral("xl/sharedStrings.xml"))));
         it.hasNext();)
        shared << it.next().captured(1);
    const auto cell = [&](const char *ref) -> QString {
        const QRegularExpression c(
            QStringLiteral("<c r=\"%1\"([^>]*)>(?:<f>[^<]*</f>)?<v>([^<]*)</v></c>")
                .arg(QLatin1String(ref)));
        const auto m = c.match(sheet);
        if (!m.hasMatch())
            return QStringLiteral("<none>");
        if (m.captured(1).contains(u"t=\"s\""))
            return shared.value(m.captured(2).toInt());
        return u'#' + m.captured(2);
    };
    // The title, then the first table: its heading row, the slip's rows with numbers as
    // numbers, and its total; a blank row, then the second slip's table.
    const QStringList cells{cell("A1"), cell("A3"), cell("C3"), cell("C4"), cell("E4"), cell("E5"),
                            cell("A6"), cell("E6"), cell("A7"), cell("A8"), cell("C9")};
    QCOMPARE(cells,
             QStringList({"OR CHARGES BY SLIP", "No.", "Description", "Suture {silk}", "#1500",
                          "#250.5", "2 item(s)", "#1750.5", "<none>", "No.", "Oxígeno"}));

    QVERIFY(!rig.service.current()->exportXlsx(QString()).has_value());
    QVERIFY(!rig.service.current()->exportXlsx(dir.filePath(QStringLiteral("no/such/dir/x.xlsx"))));
}

void tst_ReportEngine::spreadsheetNumbers_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QVariant>("number");

    QTest::newRow("amount with grouping") << "1,234.50" << QVariant(1234.5);
    QTest::newRow("millions") << "-12,345,678.00" << QVariant(-12345678.0);
    QTest::newRow("whole") << "12" << QVariant(12.0);
    QTest::newRow("zero") << "0" << QVariant(0.0);
    QTest::newRow("fraction") << "0.25" << QVariant(0.25);
    QTest::newRow("bare fraction") << ".5" << QVariant(0.5);
    QTest::newRow("hospital number keeps its zeros") << "000123" << QVariant();
    QTest::newRow("bad grouping") << "1,23" << QVariant();
    QTest::newRow("date") << "12/01/2026" << QVariant();
    QTest::newRow("code") << "12A" << QVariant();
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

void tst_ReportEngine::richTextHoldsTheTables()
{
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.rpt"),
                                   {"11/01/2026", "11/30/2026", "OR {CHARGES}"}));
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("charges.rtf"));
    VERIFY_RESULT(rig.service.current()->exportRtf(path));
    const QString rtf = QString::fromLatin1(readAll(path));
    QVERIFY(rtf.startsWith(u"{\\rtf1") && rtf.trimmed().endsWith(u'}'));
    QCOMPARE(rtf.count(u'{') - rtf.count(u"\\{"), rtf.count(u'}') - rtf.count(u"\\}"));
    QVERIFY(rtf.contains(u"\\landscape"));
    // The heading paragraph in bold, larger; the escaped texts of the cells.
    QVERIFY2(rtf.contains(u"{\\fs28\\b OR \\{CHARGES\\}}"), qPrintable(rtf.left(2000)));
    for (const char *cell : {"Suture \\{silk\\}", "Gauze \\\\ pads", "Ox\\u237?geno", "1,500.00"})
        QVERIFY2(rtf.contains(QLatin1String(cell)), cell);
    // Two slip tables of four rows each: heading, two charges, the total.
    QCOMPARE(rtf.count(u"\\trowd"), 8);
    QCOMPARE(rtf.count(u"\\row\n"), 8);
    QCOMPARE(rtf.count(u"\\cell\n"), 8 * 5 - 2 * 2);
    // Column edges grow left to right inside a row.
    const QRegularExpression row(QStringLiteral(R"(\\trowd[^\n]*\n((?:[^\n]*\\cellx\d+\n)+))"));
    const auto m = row.match(rtf);
    QVERIFY(m.hasMatch());
    int last = 0;
    for (auto it = QRegularExpression(QStringLiteral(R"(\\cellx(\d+))")).globalMatch(m.captured(1));
         it.hasNext();) {
        const int edge = it.next().captured(1).toInt();
        QVERIFY(edge > last);
        last = edge;
    }
    QVERIFY2(last > 10000 && last <= 15 * 1440, qPrintable(QString::number(last)));
    QVERIFY(!rig.service.current()->exportRtf(QString()).has_value());
}

void tst_ReportEngine::richTextEscapes_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("rtf");

    QTest::newRow("plain") << "ADM-0001"
                           << "ADM-0001";
    QTest::newRow("braces and backslash") << "a{b}c\\d"
                                          << "a\\{b\\}c\\\\d";
    QTest::newRow("accents") << "Peñafrancia"
                             << "Pe\\u241?afrancia";
    QTest::newRow("peso sign") << "₱100"
                               << "\\u8369?100";
    QTest::newRow("above 32767 is negative") << QString(QChar(0xFF21)) << "\\u-223?";
    QTest::newRow("beyond the basic plane: two surrogates")
        << QString::fromUcs4(U"\U0001F600") << "\\u-10179?\\u-8704?";
    QTest::newRow("tab and line break") << "a\tb\nc"
                                        << "a\\tab b\\line c";
}

void tst_ReportEngine::richTextEscapes()
{
    QFETCH(QString, text);
    QFETCH(QString, rtf);
    QCOMPARE(rtfEscaped(text), rtf);
}

QTEST_MAIN(tst_ReportEngine)
#include "tst_reportengine.moc"
