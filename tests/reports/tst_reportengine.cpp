// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "reports/exports/ReportExports.h"
#include "reports/RenderedReport.h"
#include "reports/ReportDefinition.h"
#include "reports/ReportRenderer.h"
#include "reports/ReportService.h"
#include "support/PdfText.h"
#include "support/RecordingNotifier.h"
#include "support/RecordingReportDisplay.h"
#include "support/TestDatabase.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>
#include <QTextDocument>

#include <zlib.h>

using namespace kestrel;
using kestrel::test::pdfText;
using kestrel::test::RecordingNotifier;
using kestrel::test::RecordingReportDisplay;
using kestrel::test::TestDatabase;

namespace {

const QString kData = QStringLiteral(KESTREL_TEST_DATA);

/// The OR charges the fixture reports read: two slips inside November 2026, rows on both
/// sides of the period's edges, and a ward's row that no OR report may show.
struct Charge
{
    QString slip, item, description;
    double quantity;
    QString amount;
    QDateTime when;
    QString station;
};

QList<Charge> charges()
{
    const auto at = [](int y, int m, int d, int hh = 0, int mm = 0, int ss = 0) {
        return QDateTime(QDate(y, m, d), QTime(hh, mm, ss));
    };
    return {
        {"CS-0001", "ITM1", "Suture {silk}", 1, "1500.00", at(2026, 11, 1), "OR"},
        {"CS-0001", "ITM2", "Gauze \\ pads", 2, "250.50", at(2026, 11, 15, 9, 30), "OR"},
        {"CS-0002", "ITM3", "Oxígeno", 3, "1000.25", at(2026, 11, 20, 14, 0), "OR"},
        {"CS-0002", "ITM4", "Late charge", 1, "99.25", at(2026, 11, 30, 23, 59, 59), "OR"},
        {"CS-0003", "ITM5", "Next day", 1, "10.00", at(2026, 12, 1), "OR"},
        {"CS-0000", "ITM6", "Day before", 1, "10.00", at(2026, 10, 31, 23, 59, 59), "OR"},
        {"CS-0001", "ITM7", "Ward item", 1, "10.00", at(2026, 11, 10), "ER"},
    };
}

Result<int> insertCharges(Database &db, const QList<Charge> &rows)
{
    QList<Binds> binds;
    for (const Charge &c : rows) {
        binds << Binds{{QStringLiteral("slip"), c.slip},
                       {QStringLiteral("item"), c.item},
                       {QStringLiteral("description"), c.description},
                       {QStringLiteral("quantity"), c.quantity},
                       {QStringLiteral("amount"), c.amount},
                       {QStringLiteral("transdate"), c.when},
                       {QStringLiteral("station"), c.station}};
    }
    return db.execMany(u"insert into STATION..tbNurseLogBook (ReferenceNum, ItemID, Description, "
                       u"Quantity, Amount, TransDate, StationID) values (:slip, :item, "
                       u":description, :quantity, :amount, :transdate, :station)",
                       binds);
}

/// `count` charges of September 2026, enough to run over several pages, on slips of
/// `perSlip` charges each.
QList<Charge> septemberCharges(int count, int perSlip = 1000)
{
    QList<Charge> rows;
    for (int i = 0; i < count; ++i)
        rows << Charge{QStringLiteral("LONG-%1").arg(i / perSlip + 1, 2, 10, QLatin1Char('0')),
                       "LNG",
                       "Long list line",
                       1,
                       "12.00",
                       QDateTime(QDate(2026, 9, 1 + i % 30), QTime(8, 0)),
                       "OR"};
    return rows;
}

/// A fresh hospital with only the tables and the fixture charges.
#define OPEN_CHARGES(var)                                                                          \
    auto var##Result =                                                                             \
        TestDatabase::create(test::backendOfRow(), TestDatabase::Content::SchemaOnly);             \
    QVERIFY2(var##Result.has_value(),                                                              \
             qPrintable(var##Result ? QString() : var##Result.error().message));                   \
    Database &var = (*var##Result)->db();                                                          \
    {                                                                                              \
        auto inserted = insertCharges(var, charges());                                             \
        QVERIFY2(inserted.has_value(),                                                             \
                 qPrintable(inserted ? QString() : inserted.error().message));                     \
    }

const ReportHeadings kHeadings{QStringLiteral("KESTREL GENERAL HOSPITAL"),
                               QStringLiteral("12 Mabini St., Quezon City")};

/// The service over the fixture folder, with recording seams.
struct Rig
{
    explicit Rig(Database &db)
        : service(db, kData, kHeadings, display, notifier)
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
    const int entries = u16(end + 10);
    qsizetype at = u32(end + 16);
    for (int i = 0; i < entries && at + 46 <= zip.size(); ++i) {
        if (u32(at) != 0x02014b50)
            break;
        const int method = u16(at + 10);
        const quint32 packed = u32(at + 20);
        const quint32 size = u32(at + 24);
        const int nameLength = u16(at + 28);
        const QString name = QString::fromUtf8(zip.mid(at + 46, nameLength));
        const qsizetype local = u32(at + 42);
        const qsizetype data = local + 30 + u16(local + 26) + u16(local + 28);
        const QByteArray raw = zip.mid(data, packed);
        QByteArray content;
        if (method == 0) {
            content = raw;
        } else if (method == 8) {
            content.resize(size);
            z_stream stream{};
            inflateInit2(&stream, -MAX_WBITS);
            stream.next_in = reinterpret_cast<Bytef *>(const_cast<char *>(raw.constData()));
            stream.avail_in = uInt(raw.size());
            stream.next_out = reinterpret_cast<Bytef *>(content.data());
            stream.avail_out = uInt(size);
            const int rc = inflate(&stream, Z_FINISH);
            inflateEnd(&stream);
            if (rc != Z_STREAM_END)
                content.clear();
        }
        files.insert(name, content);
        at += 46 + nameLength + u16(at + 30) + u16(at + 32);
    }
    return files;
}

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

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
    void findsFilesWithoutRegardToCase_data();
    void findsFilesWithoutRegardToCase();

    // parameters
    void valuesGoToFieldsInOrder_data();
    void valuesGoToFieldsInOrder();
    void dateValueForms_data();
    void dateValueForms();
    void periodCoversWholeDays_data();
    void periodCoversWholeDays();

    // the templates' values
    void groupsSumsAndFormats();
    void templateSeesHeadingsAndPrintTime();
    void subreportGetsItsOwnValues();

    // the service
    void failuresReachTheErrorBox_data();
    void failuresReachTheErrorBox();
    void showReportGoesWhereAsked_data();
    void showReportGoesWhereAsked();

    // pages and exports
    void paperAndOrientation_data();
    void paperAndOrientation();
    void longReportRunsOverPages();
    void defaultHeaderAndFooter();
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
    QVERIFY2(def.has_value(), qPrintable(def ? QString() : def.error().message));
    QCOMPARE(def->path, QStringLiteral("/x/Audit_report.RPT"));
    QCOMPARE(def->title, QStringLiteral("OPERATING ROOM AUDIT REPORT"));
    QCOMPARE(def->orientation, QStringLiteral("landscape"));
    QCOMPARE(def->paper, QStringLiteral("Legal"));
    // The file lists top, right, bottom, left.
    QCOMPARE(def->marginsMm, QMarginsF(13, 10, 11, 12));
    QCOMPARE(def->groupTree, QStringLiteral("lines"));
    QVERIFY(def->style.contains(u"td { color: black; }"));
    QVERIFY(def->style.contains(u"th { color: black; }"));

    QCOMPARE(def->parameters.size(), 4);
    QCOMPARE(def->parameters[0].name, QStringLiteral("from"));
    QCOMPARE(def->parameters[0].type, ReportParameter::Type::Date);
    QCOMPARE(def->parameters[1].name, QStringLiteral("Heading"));
    QCOMPARE(def->parameters[1].type, ReportParameter::Type::Text);
    QCOMPARE(def->parameters[2].type, ReportParameter::Type::Number);
    QCOMPARE(def->parameters[3].type, ReportParameter::Type::Flag);

    QCOMPARE(def->queries.size(), 1);
    const ReportQuery *q = def->query(QStringLiteral("LINES"));
    QVERIFY(q);
    QCOMPARE(q->name, QStringLiteral("lines"));
    QCOMPARE(q->group, QStringLiteral("chargeslip"));
    QCOMPARE(q->sums, QStringList({QStringLiteral("amount"), QStringLiteral("quantity")}));
    QCOMPARE(q->numberFormats.value(QStringLiteral("quantity")), QStringLiteral("0"));
    QCOMPARE(q->dateFormats.value(QStringLiteral("transdate")),
             QStringLiteral("MM/dd/yyyy hh:mm AP"));
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
    QVERIFY(bare.has_value());
    QCOMPARE(bare->title, QStringLiteral("Census Report"));
    QCOMPARE(bare->orientation, QStringLiteral("portrait"));
    QCOMPARE(bare->paper, QStringLiteral("Letter"));
    QCOMPARE(bare->marginsMm, QMarginsF(12, 12, 12, 12));
    QVERIFY(bare->parameters.isEmpty() && bare->queries.isEmpty());

    // A byte-order mark is no comment line; a bracketed line of page text stays in the
    // template, while a known section still ends it.
    auto marked = ReportDefinition::parse(
        QStringLiteral("\uFEFF[report]\ntitle = MARKED\n[template]\n<p>a</p>\n[Note]\n"
                       "[footer]\n<p>b</p>\n"));
    QVERIFY(marked.has_value());
    QCOMPARE(marked->title, QStringLiteral("MARKED"));
    QCOMPARE(marked->templateText, QStringLiteral("<p>a</p>\n[Note]"));
    QCOMPARE(marked->footerText, QStringLiteral("<p>b</p>"));
}

void tst_ReportEngine::rejectsBrokenDefinitions_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("reason");

    const QString tmpl = QStringLiteral("\n[template]\nx\n");
    QTest::newRow("no template") << "[report]\ntitle = X\n"
                                 << "x.rpt: the definition has no [template]";
    QTest::newRow("unknown section")
        << "[reprot]\n" + tmpl << "x.rpt, line 1: unknown section [reprot]";
    QTest::newRow("unknown report key")
        << "[report]\ntitel = X" + tmpl << "x.rpt, line 2: unknown key \"titel\"";
    QTest::newRow("orientation") << "[report]\norientation = sideways" + tmpl
                                 << "line 2: orientation must be portrait or landscape";
    QTest::newRow("paper") << "[report]\npaper = A3" + tmpl << "line 2: paper must be Letter";
    QTest::newRow("three margins")
        << "[report]\nmargins = 1 2 3" + tmpl << "line 2: margins are top right bottom left";
    QTest::newRow("margin not a number")
        << "[report]\nmargins = 1 2 x 4" + tmpl << "line 2: margins must be numbers";
    QTest::newRow("parameter type") << "[parameters]\n\nfrom = datetime" + tmpl
                                    << "line 3: unknown parameter type \"datetime\"";
    QTest::newRow("parameter twice")
        << "[parameters]\nfrom = date\nFROM = text" + tmpl << "line 3: parameter \"FROM\" twice";
    QTest::newRow("parameter without type")
        << "[parameters]\nfrom" + tmpl << "line 2: expected \"name = type\"";
    QTest::newRow("query without name")
        << "[query]\nselect 1" + tmpl << "line 1: a query needs a name";
    QTest::newRow("query without statement")
        << "[query lines]\ngroup = x\n" + tmpl << "query \"lines\" has no statement";
    QTest::newRow("query twice") << "[query a]\nselect 1\n[query A]\nselect 2" + tmpl
                                 << "line 3: query \"A\" twice";
    QTest::newRow("format without column")
        << "[query a]\nformat = 0\nselect 1" + tmpl << "line 2: \"format\" needs a column";
    QTest::newRow("group with column")
        << "[query a]\ngroup x = y\nselect 1" + tmpl << "line 2: \"group = ...\" takes no column";
    QTest::newRow("subreport without file")
        << "[subreport items]\n" + tmpl << "subreport \"items\" names no file";
    QTest::newRow("subreport other key")
        << "[subreport items]\npath = a.rpt" + tmpl << "line 2: a subreport has only";
    QTest::newRow("template with a name") << "[template main]\nx\n"
                                          << "line 1: [template] takes no name";
}

void tst_ReportEngine::rejectsBrokenDefinitions()
{
    QFETCH(QString, text);
    QFETCH(QString, reason);
    auto def = ReportDefinition::parse(text, QStringLiteral("/reports/x.rpt"));
    QVERIFY(!def.has_value());
    QVERIFY2(def.error().message.contains(reason), qPrintable(def.error().message));
}

void tst_ReportEngine::findsFilesWithoutRegardToCase_data()
{
    QTest::addColumn<QString>("asked");
    QTest::addColumn<QString>("found");

    QTest::newRow("as on disk") << "Charges List.RPT"
                                << "Charges List.RPT";
    QTest::newRow("lower-case extension") << "Charges List.rpt"
                                          << "Charges List.RPT";
    QTest::newRow("all lower case, with the blank") << "charges list.rpt"
                                                    << "Charges List.RPT";
    QTest::newRow("upper-case name") << "SLIP_ITEMS.rpt"
                                     << "slip_items.RPT";
    QTest::newRow("missing") << "Charges_List.rpt"
                             << "";
    QTest::newRow("no name") << ""
                             << "";
}

void tst_ReportEngine::findsFilesWithoutRegardToCase()
{
    QFETCH(QString, asked);
    QFETCH(QString, found);
    const QString path = findReportFile(kData, asked);
    QCOMPARE(path.isEmpty() ? QString() : QFileInfo(path).fileName(), found);
    if (!found.isEmpty())
        QVERIFY(QFileInfo(path).isFile());
}

// ---- parameters --------------------------------------------------------------------------

void tst_ReportEngine::valuesGoToFieldsInOrder_data()
{
    QTest::addColumn<QVariantList>("values");
    QTest::addColumn<QString>("shown");

    // Fields of params.rpt: from (date), company (text), copies (number), amounts (flag),
    // to (date).
    QTest::newRow("one value each")
        << QVariantList{"11/01/2026", "ACME", 2, true, "11/30/2026"}
        << "from=[11/01/2026] company=[ACME] copies=[2] amounts=[1] to=[11/30/2026]";
    QTest::newRow("too few values: the rest stay empty")
        << QVariantList{"11/01/2026", "ACME"}
        << "from=[11/01/2026] company=[ACME] copies=[0] amounts=[0] to=[]";
    QTest::newRow("too many values: the extra are unused")
        << QVariantList{"11/01/2026", "ACME", "1.5", "False", "11/30/2026", "EXTRA", 99}
        << "from=[11/01/2026] company=[ACME] copies=[1.5] amounts=[0] to=[11/30/2026]";
    QTest::newRow("no values") << QVariantList{}
                               << "from=[] company=[] copies=[0] amounts=[0] to=[]";
    QTest::newRow("flags as the program passes them")
        << QVariantList{QDate(2026, 11, 1), "", "3", "True",
                        QDateTime(QDate(2026, 11, 30), QTime(17, 45))}
        << "from=[11/01/2026] company=[] copies=[3] amounts=[1] to=[11/30/2026]";
    QTest::newRow("flag \"1\", number text with blanks")
        << QVariantList{"1/5/2026", "O'Brien & Sons", " 12 ", "1"}
        << "from=[01/05/2026] company=[O'Brien & Sons] copies=[12] amounts=[1] to=[]";
}

void tst_ReportEngine::valuesGoToFieldsInOrder()
{
    QFETCH(QVariantList, values);
    QFETCH(QString, shown);
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("params.rpt"), values),
             qPrintable(rig.notifier.lastText()));
    // What reaches the paper, after the template escaped the values for HTML.
    const QString text = rig.service.current()->document().toPlainText();
    QVERIFY2(text.contains(shown), qPrintable(text));
}

void tst_ReportEngine::dateValueForms_data()
{
    QTest::addColumn<QVariant>("value");
    QTest::addColumn<QDate>("first");
    QTest::addColumn<QDate>("next");

    QTest::newRow("mm/dd/yyyy") << QVariant("11/30/2026") << QDate(2026, 11, 30)
                                << QDate(2026, 12, 1);
    QTest::newRow("m/d/yyyy") << QVariant("2/5/2026") << QDate(2026, 2, 5) << QDate(2026, 2, 6);
    QTest::newRow("last day of the year")
        << QVariant("12/31/2026") << QDate(2026, 12, 31) << QDate(2027, 1, 1);
    QTest::newRow("mm/yyyy is the whole month")
        << QVariant("02/2028") << QDate(2028, 2, 1) << QDate(2028, 3, 1);
    QTest::newRow("yyyy is the whole year")
        << QVariant("2026") << QDate(2026, 1, 1) << QDate(2027, 1, 1);
    QTest::newRow("QDate") << QVariant(QDate(2026, 12, 1)) << QDate(2026, 12, 1)
                           << QDate(2026, 12, 2);
    QTest::newRow("QDateTime keeps only the day")
        << QVariant(QDateTime(QDate(2026, 12, 1), QTime(23, 15))) << QDate(2026, 12, 1)
        << QDate(2026, 12, 2);
    QTest::newRow("blanks around")
        << QVariant(" 12/01/2026 ") << QDate(2026, 12, 1) << QDate(2026, 12, 2);
    QTest::newRow("no such day") << QVariant("02/30/2026") << QDate() << QDate();
    QTest::newRow("not a date") << QVariant("yesterday") << QDate() << QDate();
    QTest::newRow("empty") << QVariant("") << QDate() << QDate();
    QTest::newRow("null") << QVariant() << QDate() << QDate();
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
    QTest::addColumn<QStringList>("items");

    QTest::newRow("the month by days: both edges in, the days around out")
        << QVariant("11/01/2026") << QVariant("11/30/2026")
        << QStringList{"ITM1", "ITM2", "ITM3", "ITM4"};
    QTest::newRow("the month as mm/yyyy") << QVariant("11/2026") << QVariant("11/2026")
                                          << QStringList{"ITM1", "ITM2", "ITM3", "ITM4"};
    QTest::newRow("one day, charged a second before midnight")
        << QVariant("11/30/2026") << QVariant("11/30/2026") << QStringList{"ITM4"};
    QTest::newRow("one day, charged at midnight")
        << QVariant(QDate(2026, 12, 1)) << QVariant(QDate(2026, 12, 1)) << QStringList{"ITM5"};
    QTest::newRow("the year") << QVariant("2026") << QVariant("2026")
                              << QStringList{"ITM6", "ITM1", "ITM2", "ITM3", "ITM4", "ITM5"};
    QTest::newRow("from after to")
        << QVariant("11/30/2026") << QVariant("11/01/2026") << QStringList{};
}

void tst_ReportEngine::periodCoversWholeDays()
{
    QFETCH(QVariant, from);
    QFETCH(QVariant, to);
    QFETCH(QStringList, items);
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
    QVERIFY(def.has_value());
    ReportRenderer renderer(db, kHeadings);
    auto ctx = renderer.context(*def, {from, to});
    QVERIFY2(ctx.has_value(), qPrintable(ctx ? QString() : ctx.error().message));
    auto html = ReportRenderer::fill(def->templateText, *ctx, QStringLiteral("t"));
    QVERIFY(html.has_value());
    QCOMPARE(*html, items.isEmpty() ? QString() : items.join(u';') + u';');
}

// ---- the templates' values ---------------------------------------------------------------

void tst_ReportEngine::groupsSumsAndFormats()
{
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("charges list.rpt"),
                                    {"11/01/2026", "11/30/2026", "OR CHARGES"}),
             qPrintable(rig.notifier.lastText()));
    const auto report = rig.service.current();
    QVERIFY(report);
    const QString html = report->html();

    // Per slip: its rows numbered from 1, count and totals; amounts as money, the quantity
    // with the definition's own pattern.
    const QRegularExpression slip1(
        QStringLiteral(
            R"(Slip CS-0001.*<td>1</td><td>ITM1</td><td>Suture \{silk\}</td><td class="n">1</td>)"
            R"(<td class="n">1,500.00</td>.*<td>2</td><td>ITM2</td>.*<td class="n">250.50</td>.*)"
            R"(<td colspan="3">2 item\(s\)</td><td class="n">3</td><td class="n">1,750.50</td>)"),
        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(slip1.match(html).hasMatch(), qPrintable(html));
    const QRegularExpression slip2(
        QStringLiteral(R"(Slip CS-0002.*<td>1</td><td>ITM3</td>.*<td>2</td><td>ITM4</td>.*)"
                       R"(2 item\(s\)</td><td class="n">4</td><td class="n">1,099.50</td>)"),
        QRegularExpression::DotMatchesEverythingOption);
    QVERIFY2(slip2.match(html).hasMatch(), qPrintable(html));
    QVERIFY(!html.contains(u"CS-0003") && !html.contains(u"Ward item"));
    QVERIFY(html.contains(u"4 charges, total 2,850.00"));
    QVERIFY(!html.contains(u"No charges in the period."));

    // The group tree: one entry per slip, anchored in the body.
    QCOMPARE(report->groups().size(), 2);
    QCOMPARE(report->groups()[0].key, QStringLiteral("CS-0001"));
    QCOMPARE(report->groups()[1].key, QStringLiteral("CS-0002"));
    for (const ReportGroup &g : report->groups()) {
        QVERIFY(html.contains(QStringLiteral("<a name=\"%1\"></a>").arg(g.anchor)));
        QCOMPARE(g.page, 0);
    }
    QVERIFY(report->groups()[0].anchor != report->groups()[1].anchor);

    // An empty period: the empty flag and zero totals.
    QVERIFY(rig.service.OpenReport(QStringLiteral("Charges List.RPT"),
                                   {"01/01/2020", "01/31/2020", "NONE"}));
    const QString empty = rig.service.current()->html();
    QVERIFY(empty.contains(u"No charges in the period."));
    QVERIFY(empty.contains(u"0 charges, total 0.00"));
    QVERIFY(rig.service.current()->groups().isEmpty());

    // Dates with and without a pattern of the definition.
    auto def = ReportDefinition::parse(QStringLiteral(R"([query lines]
date posted = MM/dd/yyyy hh:mm AP
select TransDate as Plain, TransDate as Posted, Amount, Quantity, Description
  from STATION..tbNurseLogBook where ItemID = 'ITM2'
[template]
{{#lines}}{{plain}}|{{posted}}|{{amount}}|{{quantity}}|{{description}}{{/lines}}
)"));
    QVERIFY(def.has_value());
    ReportRenderer renderer(db, kHeadings);
    auto ctx = renderer.context(*def, {});
    QVERIFY2(ctx.has_value(), qPrintable(ctx ? QString() : ctx.error().message));
    auto line = ReportRenderer::fill(def->templateText, *ctx, QStringLiteral("t"));
    QCOMPARE(line.value_or(QString()),
             QStringLiteral("11/15/2026|11/15/2026 09:30 AM|250.50|2.00|Gauze \\ pads"));
}

void tst_ReportEngine::templateSeesHeadingsAndPrintTime()
{
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY(rig.service.OpenReport(QStringLiteral("params.rpt"), {"11/01/2026"}));
    // The server's clock, not the workstation's: the fixture pins it at 12/01/2026 10:00.
    QVERIFY2(rig.service.current()->html().contains(
                 u"month=[November 2026] year=[2026] heading=[KESTREL GENERAL HOSPITAL|12 Mabini "
                 u"St., Quezon City] printed=[12/01/2026 10:00 AM]"),
             qPrintable(rig.service.current()->html()));
    QVERIFY(db.pinClock(QDateTime(QDate(2026, 12, 1), QTime(15, 5))).has_value());
    rig.service.setHeadings({QStringLiteral("OTHER"), QString()});
    QVERIFY(rig.service.OpenReport(QStringLiteral("params.rpt"), {}));
    QVERIFY(
        rig.service.current()->html().contains(u"heading=[OTHER|] printed=[12/01/2026 03:05 PM]"));

    // A report whose own parameters carry the headings gets the values passed to it.
    auto def = ReportDefinition::parse(QStringLiteral("[report]\ntitle = CENSUS\n"
                                                      "[parameters]\nAddress1 = text\n"
                                                      "Company = text\n[template]\n"
                                                      "{{title}}|{{Company}}|{{Address1}}\n"));
    QVERIFY(def.has_value());
    auto ctx = ReportRenderer(db, kHeadings).context(*def, {"ADDRESS ONE", "COMPANY TWO"});
    QVERIFY(ctx.has_value());
    QCOMPARE(ReportRenderer::fill(def->templateText, *ctx, QString()).value_or(QString()),
             QStringLiteral("CENSUS|COMPANY TWO|ADDRESS ONE"));
}

void tst_ReportEngine::subreportGetsItsOwnValues()
{
    OPEN_CHARGES(db);
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("slip with items.rpt"), {"CS-0001"}),
             qPrintable(rig.notifier.lastText()));
    // Until it gets its values the subreport runs with empty ones.
    const auto before = rig.service.current();
    QVERIFY(before->html().contains(u"Charge slip CS-0001"));
    QVERIFY(before->html().contains(u"Items: 0 (none)"));

    QVERIFY2(rig.service.OpenSubreport(QStringLiteral("ITEMS"), {"CS-0001"}),
             qPrintable(rig.notifier.lastText()));
    const auto after = rig.service.current();
    QVERIFY(after != before);
    const QString html = after->html();
    QVERIFY2(html.contains(u"<td>ITM1</td><td>Suture {silk}</td><td>1,500.00</td>"),
             qPrintable(html));
    QVERIFY(html.contains(u"<td>ITM7</td>"));
    QVERIFY(html.contains(u"Items: 3") && !html.contains(u"(none)"));
    // The report shown earlier keeps what it showed.
    QVERIFY(before->html().contains(u"Items: 0 (none)"));
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
        QCOMPARE(rig.notifier.lastText(),
                 Notifier::errorBoxText(QStringLiteral("No printer is installed.")));
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

void tst_ReportEngine::paperAndOrientation_data()
{
    QTest::addColumn<QString>("report");
    QTest::addColumn<QSizeF>("points");

    QTest::newRow("default: Letter portrait") << "" << QSizeF(612, 792);
    QTest::newRow("Letter landscape") << "orientation = landscape" << QSizeF(792, 612);
    QTest::newRow("Legal") << "paper = Legal" << QSizeF(612, 1008);
    QTest::newRow("A4 landscape") << "paper = A4\norientation = landscape" << QSizeF(842, 595);
}

void tst_ReportEngine::paperAndOrientation()
{
    QFETCH(QString, report);
    QFETCH(QSizeF, points);
    auto def = ReportDefinition::parse(QStringLiteral("[report]\n%1\nmargins = 20 5 20 5\n"
                                                      "[template]\n<p>x</p>\n")
                                           .arg(report));
    QVERIFY(def.has_value());
    const QPageLayout layout = ReportRenderer::pageLayout(*def);
    const QSizeF size = layout.fullRect(QPageLayout::Point).size();
    QCOMPARE(qRound(size.width()), qRound(points.width()));
    QCOMPARE(qRound(size.height()), qRound(points.height()));
    const QMarginsF mm = layout.margins(QPageLayout::Millimeter);
    QCOMPARE(mm, QMarginsF(5, 20, 5, 20));
}

void tst_ReportEngine::longReportRunsOverPages()
{
    OPEN_CHARGES(db);
    QVERIFY(insertCharges(db, septemberCharges(300)).has_value());
    Rig rig(db);
    QVERIFY2(rig.service.OpenReport(QStringLiteral("long.rpt"), {"09/01/2026", "09/30/2026"}),
             qPrintable(rig.notifier.lastText()));
    const auto report = rig.service.current();
    const int pages = report->pageCount();
    QVERIFY2(pages >= 5 && pages <= 15, qPrintable(QString::number(pages)));
    QCOMPARE(report->headerHtml(2).contains(QStringLiteral("Sheet 2 / %1").arg(pages)), true);
    QVERIFY(report->footerHtml(pages).contains(QStringLiteral("End of sheet %1").arg(pages)));

    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("long.pdf"));
    QVERIFY(report->exportPdf(pdf).has_value());
    const QByteArray bytes = readAll(pdf);
    QVERIFY(bytes.startsWith("%PDF"));
    static const QRegularExpression pageObject(QStringLiteral("/Type\\s*/Page[^s]"));
    int counted = 0;
    for (auto it = pageObject.globalMatch(QString::fromLatin1(bytes)); it.hasNext(); it.next())
        ++counted;
    QCOMPARE(counted, pages);

    const QString text = pdfText(pdf);
    if (!text.isEmpty()) {
        const QStringList sheets = text.split(u'\f', Qt::SkipEmptyParts);
        QCOMPARE(sheets.size(), pages);
        // Every sheet has its header and footer, and every row is printed once, none cut.
        int rows = 0;
        for (int i = 0; i < pages; ++i) {
            QVERIFY2(sheets[i].contains(QStringLiteral("Sheet %1 / %2").arg(i + 1).arg(pages)),
                     qPrintable(sheets[i]));
            QVERIFY(sheets[i].contains(QStringLiteral("End of sheet %1").arg(i + 1)));
            QVERIFY(sheets[i].contains(u"KESTREL GENERAL HOSPITAL"));
            // The table's heading row comes back on every sheet.
            QVERIFY(sheets[i].contains(u"Description"));
            rows += int(sheets[i].count(u"Long list line"));
        }
        QCOMPARE(rows, 300);
    }

    // Painting: a page is drawn into any rectangle, the header above the body.
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
    QVERIFY(inked(0, 60));                               // the header
    QVERIFY(inked(image.height() - 60, image.height())); // the footer
}

void tst_ReportEngine::defaultHeaderAndFooter()
{
    OPEN_CHARGES(db);
    QVERIFY(insertCharges(db, septemberCharges(120)).has_value());
    QTemporaryDir dir;
    // long.rpt without its own page header and footer.
    QString text = QString::fromUtf8(readAll(kData + QStringLiteral("/long.rpt")));
    text.replace(QRegularExpression(QStringLiteral("\\[header\\].*\\[template\\]"),
                                    QRegularExpression::DotMatchesEverythingOption),
                 QStringLiteral("[template]"));
    QFile file(dir.filePath(QStringLiteral("plain.rpt")));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
    file.close();

    RecordingNotifier notifier;
    RecordingReportDisplay display;
    ReportService service(db, dir.path(), kHeadings, display, notifier);
    QVERIFY2(service.OpenReport(QStringLiteral("PLAIN.RPT"), {"09/01/2026", "09/30/2026"}),
             qPrintable(notifier.lastText()));
    const auto report = service.current();
    const int pages = report->pageCount();
    QVERIFY(pages >= 2);
    const QString pdf = dir.filePath(QStringLiteral("plain.pdf"));
    QVERIFY(report->exportPdf(pdf).has_value());
    const QString printed = pdfText(pdf);
    if (printed.isEmpty())
        QSKIP("pdftotext is not installed");
    const QStringList sheets = printed.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(sheets.size(), pages);
    for (int i = 0; i < pages; ++i) {
        const QStringList lines = sheets[i].split(u'\n', Qt::SkipEmptyParts);
        QVERIFY(lines.size() > 3);
        QCOMPARE(lines[0].trimmed(), QStringLiteral("KESTREL GENERAL HOSPITAL"));
        QCOMPARE(lines[1].trimmed(), QStringLiteral("12 Mabini St., Quezon City"));
        QVERIFY2(lines.last().contains(QStringLiteral("Page %1 of %2").arg(i + 1).arg(pages)),
                 qPrintable(lines.last()));
        QVERIFY(lines.last().contains(u"12/01/2026 10:00 AM"));
    }
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
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("groups.pdf"));
    QVERIFY(report->exportPdf(pdf).has_value());
    const QString printed = pdfText(pdf);
    if (printed.isEmpty())
        QSKIP("pdftotext is not installed");
    const QStringList sheets = printed.split(u'\f', Qt::SkipEmptyParts);
    QCOMPARE(sheets.size(), report->pageCount());
    for (int g = 0; g < groups.size(); ++g) {
        QCOMPARE(groups[g].key, QStringLiteral("LONG-%1").arg(g + 1, 2, 10, QLatin1Char('0')));
        QVERIFY2(
            sheets[groups[g].page].contains(u"Slip " + groups[g].key),
            qPrintable(QStringLiteral("%1 on page %2").arg(groups[g].key).arg(groups[g].page)));
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
    QVERIFY(rig.service.current()->exportXlsx(path).has_value());
    const QHash<QString, QByteArray> files = unzipAll(readAll(path));
    QVERIFY2(files.contains(QStringLiteral("xl/worksheets/sheet1.xml")),
             qPrintable(files.keys().join(u' ')));
    const QString sheet =
        QString::fromUtf8(files.value(QStringLiteral("xl/worksheets/sheet1.xml")));
    const QString strings = QString::fromUtf8(files.value(QStringLiteral("xl/sharedStrings.xml")));
    QVERIFY(!sheet.isEmpty());

    // Texts are shared strings: find a cell by its string's index.
    QStringList shared;
    static const QRegularExpression si(QStringLiteral("<si><t[^>]*>([^<]*)</t></si>"));
    for (auto it = si.globalMatch(strings); it.hasNext();)
        shared << it.next().captured(1);
    const auto cell = [&](const QString &ref) -> QString {
        const QRegularExpression c(
            QStringLiteral("<c r=\"%1\"([^>]*)>(?:<f>[^<]*</f>)?<v>([^<]*)</v></c>").arg(ref));
        const auto m = c.match(sheet);
        if (!m.hasMatch())
            return QStringLiteral("<none>");
        if (m.captured(1).contains(u"t=\"s\""))
            return shared.value(m.captured(2).toInt());
        return u'#' + m.captured(2);
    };
    QCOMPARE(cell(QStringLiteral("A1")), QStringLiteral("OR CHARGES BY SLIP"));
    // The first table: its heading row, then the slip's rows; numbers as numbers.
    QCOMPARE(cell(QStringLiteral("A3")), QStringLiteral("No."));
    QCOMPARE(cell(QStringLiteral("C3")), QStringLiteral("Description"));
    QCOMPARE(cell(QStringLiteral("C4")), QStringLiteral("Suture {silk}"));
    QCOMPARE(cell(QStringLiteral("E4")), QStringLiteral("#1500"));
    QCOMPARE(cell(QStringLiteral("E5")), QStringLiteral("#250.5"));
    QCOMPARE(cell(QStringLiteral("A6")), QStringLiteral("2 item(s)"));
    QCOMPARE(cell(QStringLiteral("E6")), QStringLiteral("#1750.5"));
    // A blank row, then the second slip's table.
    QCOMPARE(cell(QStringLiteral("A7")), QStringLiteral("<none>"));
    QCOMPARE(cell(QStringLiteral("A8")), QStringLiteral("No."));
    QCOMPARE(cell(QStringLiteral("C9")), QStringLiteral("Oxígeno"));

    QVERIFY(!rig.service.current()->exportXlsx(QString()).has_value());
    QVERIFY(!rig.service.current()
                 ->exportXlsx(dir.filePath(QStringLiteral("no/such/dir/x.xlsx")))
                 .has_value());
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
    QVERIFY(rig.service.current()->exportRtf(path).has_value());
    const QString rtf = QString::fromLatin1(readAll(path));
    QVERIFY(rtf.startsWith(u"{\\rtf1"));
    QVERIFY(rtf.trimmed().endsWith(u'}'));
    QCOMPARE(rtf.count(u'{') - rtf.count(u"\\{"), rtf.count(u'}') - rtf.count(u"\\}"));
    QVERIFY(rtf.contains(u"\\landscape"));
    // The heading paragraph in bold, larger; the escaped texts of the cells.
    QVERIFY2(
        rtf.contains(QRegularExpression(QStringLiteral(R"(\{\\fs28\\b OR \\\{CHARGES\\\}\})"))),
        qPrintable(rtf.left(2000)));
    QVERIFY(rtf.contains(u"Suture \\{silk\\}"));
    QVERIFY(rtf.contains(u"Gauze \\\\ pads"));
    QVERIFY(rtf.contains(u"Ox\\u237?geno"));
    QVERIFY(rtf.contains(u"1,500.00"));
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
