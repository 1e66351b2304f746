// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Master files as hospital offices send them, into the demo hospital: every refused row is
// named with its line and nothing is written, and files in the encodings and separators that
// office programs write read the same.
#include "MasterImport.h"

#include "support/TestDatabase.h"

#include <QFileInfo>
#include <QStringEncoder>
#include <QTemporaryDir>
#include <QTest>

#include <xlsxwriter.h>

using namespace kestrel;
using admin::MasterKind;
using namespace Qt::StringLiterals;

namespace {

const QString kItemsHeader = QStringLiteral(
    "Code,Description,RevenueCode,Procedure,RateA,RateB,RateC,RateD,RateE,RateF,RateG,RateH,RateI");

QString itemRow(const QString &code, const QString &revenue, const QString &rateC = u"300"_s)
{
    return QStringLiteral("%1,TEST ITEM,%2,N,100,200,%3,400,500,600,700,800,100")
        .arg(code, revenue, rateC);
}

// The master files' rows, counted together: a refused import must leave every one of them.
qint64 masterRows(Database &db)
{
    auto n = db.scalar(u"select (select count(*) from BUILD_FILE..tbCoOtherRevenue) + "
                       u"(select count(*) from BUILD_FILE..tbCoDoctor) + "
                       u"(select count(*) from SCHEDULE..tbORRoom) + "
                       u"(select count(*) from BUILD_FILE..tbCoRevenueCode) + "
                       u"(select count(*) from PASSWORD..tbPasswordMaster)");
    return n ? n->toLongLong() : -1;
}

struct Files
{
    QTemporaryDir dir;
    QString write(const QString &name, const QByteArray &bytes)
    {
        QFile f(dir.filePath(name));
        if (f.open(QIODevice::WriteOnly))
            f.write(bytes);
        return f.fileName();
    }
};

} // namespace

class tst_MasterImport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void refusesRowsAndWritesNothing_data();
    void refusesRowsAndWritesNothing();
    void updatesCodesTheHospitalHas_data();
    void updatesCodesTheHospitalHas();
    void readsWhatOfficeProgramsWrite_data();
    void readsWhatOfficeProgramsWrite();
    void samplesLoadAllOrNothing();
};

void tst_MasterImport::refusesRowsAndWritesNothing_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("line");
    QTest::addColumn<QString>("reason");
    const auto items = [](const QStringList &rows) { return QStringList{kItemsHeader} + rows; };
    const QString en = itemRow(u"EN9001"_s, u"OR"_s);
    // clang-format off
    QTest::newRow("unknown revenue code") << "items" << items({en, itemRow(u"EN9002"_s, u"ZQ"_s)})
        << 3 << "revenue code ZQ is unknown";
    QTest::newRow("stock department") << "items" << items({itemRow(u"EN9001"_s, u"CS"_s)}) << 2
        << "revenue code CS is a stock department";
    QTest::newRow("code twice in the file, other case") << "items"
        << items({en, itemRow(u"en9001"_s, u"OR"_s)}) << 3 << "item en9001 is already";
    QTest::newRow("code the hospital has") << "items" << items({itemRow(u"OR1001"_s, u"OR"_s)})
        << 2 << "item OR1001 is already";
    QTest::newRow("rate not a number") << "items"
        << items({itemRow(u"EN9001"_s, u"OR"_s, u"12O.00"_s)}) << 2
        << "RateC \"12O.00\" is not a number";
    QTest::newRow("rate empty") << "items" << items({itemRow(u"EN9001"_s, u"OR"_s, u""_s)}) << 2
        << "RateC is empty";
    QTest::newRow("missing column") << "items"
        << QStringList{kItemsHeader.chopped(6), u"EN9001,X,OR,N,1,2,3,4,5,6,7,8"_s} << 0
        << "The column ratei is missing.";
    QTest::newRow("more cells than names") << "doctors" << QStringList{u"Code,LastName,FirstName"_s,
        u"5901,CRUZ,ANA"_s, u"5902,REYES,JUAN,EXTRA"_s} << 3
        << "more cells than the first row has names";
    QTest::newRow("doctor flag") << "doctors"
        << QStringList{u"Code,LastName,FirstName,Affiliated"_s, u"5901,CRUZ,ANA,maybe"_s} << 2
        << "Affiliated must be Y or N";
    QTest::newRow("room not a number") << "rooms" << QStringList{u"Room,Name"_s, u"R1,OR 10"_s}
        << 2 << "the room number R1 is not a whole number";
    QTest::newRow("unknown right") << "employees"
        << QStringList{u"Code,LastName,FirstName,Rights"_s, u"3190,CRUZ,ANA,1|99"_s} << 2
        << "right 99 is not in the hospital's list";
    QTest::newRow("quoted cell never closed") << "doctors"
        << QStringList{u"Code,LastName,FirstName"_s, u"5901,\"CRUZ,ANA"_s} << 0 << "never closed";
    // clang-format on
}

void tst_MasterImport::refusesRowsAndWritesNothing()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, lines);
    QFETCH(int, line);
    QFETCH(QString, reason);
    KESTREL_OPEN_DEMO(db);
    const qint64 before = masterRows(db);
    Files files;
    const QString path = files.write(u"master.csv"_s, lines.join(u"\r\n").toUtf8());
    for (bool dryRun : {true, false}) {
        admin::MasterImport import(db);
        import.add({*admin::masterKindFromName(kind), path});
        auto report = import.run(dryRun);
        QVERIFY2(report, qPrintable(report ? QString() : report.error().message));
        QCOMPARE(report->refused.size(), 1);
        QCOMPARE(report->refused.at(0).file, u"master.csv"_s);
        QCOMPARE(report->refused.at(0).line, line);
        QVERIFY2(report->refused.at(0).reason.contains(reason),
                 qPrintable(report->refused.at(0).reason));
        QVERIFY(!report->written);
    }
    QCOMPARE(masterRows(db), before);
}

void tst_MasterImport::updatesCodesTheHospitalHas_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<int>("refusedLine"); // 0: none
    QTest::addColumn<int>("updated");
    QTest::addColumn<int>("added");
    QTest::addColumn<QString>("probe"); // what the first row changes
    QTest::addColumn<QString>("after");
    const QString rateC = u"select RateC from BUILD_FILE..tbCoOtherRevenue "
                          u"where OtherRevenueID = 'OR1001'"_s;
    const QString items = kItemsHeader;
    // clang-format off
    QTest::newRow("item, code in other case, beside a new one") << "items"
        << QStringList{items, itemRow(u"or1001"_s, u"OR"_s, u"999"_s),
                       itemRow(u"EN9001"_s, u"OR"_s)}
        << 0 << 1 << 1 << rateC << "999";
    QTest::newRow("doctor") << "doctors" << QStringList{u"Code,LastName,FirstName,Specialization"_s,
        u"1021,AGUSTIN,RAMON,TRAUMA SURGERY"_s} << 0 << 1 << 0
        << "select Specialization from BUILD_FILE..tbCoDoctor where DoctorID = '1021'"
        << "TRAUMA SURGERY";
    QTest::newRow("OR room") << "rooms" << QStringList{u"Room,Name,Active"_s, u"6,OR 6,Y"_s}
        << 0 << 1 << 0 << "select Status from SCHEDULE..tbORRoom where RoomID = 6" << "Y";
    QTest::newRow("twice in the file") << "items"
        << QStringList{items, itemRow(u"OR1001"_s, u"OR"_s, u"999"_s),
                       itemRow(u"OR1001"_s, u"OR"_s)}
        << 3 << 1 << 0 << rateC << "999";
    QTest::newRow("a refused row keeps the update out") << "items"
        << QStringList{items, itemRow(u"OR1001"_s, u"OR"_s, u"999"_s),
                       itemRow(u"EN9002"_s, u"ZQ"_s)}
        << 3 << 1 << 0 << rateC << "999";
    // clang-format on
}

void tst_MasterImport::updatesCodesTheHospitalHas()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, lines);
    QFETCH(int, refusedLine);
    QFETCH(int, updated);
    QFETCH(int, added);
    QFETCH(QString, probe);
    QFETCH(QString, after);
    KESTREL_OPEN_DEMO(db);
    const auto value = [&] { // "999.0000" and "999" are the same rate
        const QString text = db.scalar(probe)->toString().trimmed();
        bool number = false;
        const double n = text.toDouble(&number);
        return number ? QString::number(n) : text;
    };
    const QString before = value();
    const qint64 rows = masterRows(db);
    Files files;
    const QString path = files.write(u"master.csv"_s, lines.join(u'\n').toUtf8());
    for (bool dryRun : {true, false}) {
        admin::MasterImport import(db);
        import.setUpdateExisting(true);
        import.add({*admin::masterKindFromName(kind), path});
        auto report = import.run(dryRun);
        QVERIFY2(report, qPrintable(report ? QString() : report.error().message));
        QCOMPARE(report->refused.value(0).line, refusedLine);
        QCOMPARE(report->updated.value(*admin::masterKindFromName(kind)), updated);
        QCOMPARE(report->accepted.value(*admin::masterKindFromName(kind)), added);
        const bool written = !dryRun && refusedLine == 0;
        QCOMPARE(report->written, written);
        QCOMPARE(value(), written ? after : before);
        QCOMPARE(masterRows(db), rows + (written ? added : 0));
    }
}

void tst_MasterImport::readsWhatOfficeProgramsWrite_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<QString>("encoding");
    QTest::newRow("UTF-8") << "utf-8" << "UTF-8";
    QTest::newRow("byte-order mark") << "bom" << "UTF-8 with byte-order mark";
    QTest::newRow("Latin-1, semicolons, decimal comma") << "latin-1" << "Latin-1";
    QTest::newRow("tabs, UTF-16") << "utf-16" << "UTF-16";
    QTest::newRow("xlsx") << "xlsx" << "xlsx";
}

void tst_MasterImport::readsWhatOfficeProgramsWrite()
{
    QFETCH(QString, format);
    QFETCH(QString, encoding);
    KESTREL_OPEN_DEMO(db);
    Files files;
    const QList<QStringList> doctors = {
        {u"Code"_s, u"Last Name"_s, u"First_Name"_s, u"Specialization"_s},
        {u"5102"_s, u"PEÑAFLOR"_s, u"MA. CRISTINA"_s, u"GASTROENTEROLOGY, ADULT"_s}};
    QList<QStringList> items = {kItemsHeader.split(u','),
                                itemRow(u"EN9001"_s, u"OR"_s).split(u',')};
    items[1][4] = format == u"latin-1" ? u"1250,5"_s : u"1250.5"_s;
    QString doctorsFile, itemsFile;
    if (format == u"xlsx") {
        const auto book = [&](const QString &name, const QList<QStringList> &rows) {
            const QString path = files.dir.filePath(name);
            lxw_workbook *wb = workbook_new(path.toUtf8().constData());
            lxw_worksheet *ws = workbook_add_worksheet(wb, nullptr);
            for (int r = 0; r < rows.size(); ++r) {
                for (int c = 0; c < rows.at(r).size(); ++c) {
                    bool number = false;
                    const double value = rows.at(r).at(c).toDouble(&number);
                    if (number && r > 0)
                        worksheet_write_number(ws, lxw_row_t(r), lxw_col_t(c), value, nullptr);
                    else
                        worksheet_write_string(ws, lxw_row_t(r), lxw_col_t(c),
                                               rows.at(r).at(c).toUtf8().constData(), nullptr);
                }
            }
            workbook_close(wb);
            return path;
        };
        doctorsFile = book(u"doctors.xlsx"_s, doctors);
        itemsFile = book(u"items.xlsx"_s, items);
    } else {
        const QChar sep = format == u"latin-1" ? u';' : format == u"utf-16" ? u'\t' : u',';
        const auto text = [&](const QList<QStringList> &rows) -> QByteArray {
            QStringList out;
            for (const QStringList &row : rows) {
                QStringList cells;
                for (const QString &cell : row)
                    cells << (cell.contains(u',') || cell.contains(sep) ? u'"' + cell + u'"'
                                                                        : cell);
                out << cells.join(sep);
            }
            const QString joined = out.join(u"\n") + u'\n';
            if (format == u"latin-1")
                return QStringEncoder(QStringConverter::Latin1).encode(joined);
            if (format == u"utf-16")
                return QStringEncoder(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom)
                    .encode(joined);
            return QByteArray(format == u"bom" ? "\xEF\xBB\xBF" : "") + joined.toUtf8();
        };
        doctorsFile = files.write(u"doctors.csv"_s, text(doctors));
        itemsFile = files.write(u"items.csv"_s, text(items));
    }
    admin::MasterImport import(db);
    import.add({MasterKind::Doctors, doctorsFile});
    import.add({MasterKind::Items, itemsFile});
    auto report = import.run(false);
    QVERIFY2(report, qPrintable(report ? QString() : report.error().message));
    QVERIFY2(report->refused.isEmpty(),
             qPrintable(report->refused.value(0).reason + report->refused.value(0).file));
    // The doctors' file holds the Ñ; the items' file, all ASCII, reads as UTF-8 in any case.
    QCOMPARE(report->encodings.value(QFileInfo(doctorsFile).fileName()), encoding);
    auto doctor = db.selectOne(u"select LastName, Specialization from BUILD_FILE..tbCoDoctor "
                               u"where DoctorID = '5102'");
    QVERIFY(doctor && *doctor);
    QCOMPARE((*doctor)->text(u"LastName"), u"PEÑAFLOR"_s);
    QCOMPARE((*doctor)->text(u"Specialization"), u"GASTROENTEROLOGY, ADULT"_s);
    auto item =
        db.selectOne(u"select RateA, RateI, OtherSectionID from BUILD_FILE..tbCoOtherRevenue "
                     u"where OtherRevenueID = 'EN9001'");
    QVERIFY(item && *item);
    QCOMPARE((*item)->money(u"RateA"), Money::parse(u"1250.5").value());
    QCOMPARE((*item)->money(u"RateI"), Money::parse(u"100").value());
}

void tst_MasterImport::samplesLoadAllOrNothing()
{
    KESTREL_OPEN_DEMO(db);
    const QDir samples(QStringLiteral(KESTREL_SAMPLES_DIR));
    const auto sampleImport = [&](admin::MasterImport &import) {
        for (const char *kind : {"employees", "items", "doctors", "rooms", "revenue-codes"})
            import.add({*admin::masterKindFromName(QString::fromLatin1(kind)),
                        samples.filePath(QLatin1String(kind) + u".csv")});
    };
    const qint64 before = masterRows(db);

    // One bad file among good ones: nothing of the good ones is written either.
    Files files;
    admin::MasterImport spoiled(db);
    sampleImport(spoiled);
    spoiled.add({MasterKind::Items,
                 files.write(u"late.csv"_s,
                             (kItemsHeader + u'\n' + itemRow(u"EN2001"_s, u"EN"_s)).toUtf8())});
    auto refused = spoiled.run(false);
    QVERIFY(refused);
    QCOMPARE(refused->refused.size(), 1);
    QVERIFY(refused->refused.at(0).reason.contains(u"item EN2001 is already"));
    QCOMPARE(masterRows(db), before);

    // The samples alone: a dry run counts them and changes nothing; the run writes them all.
    admin::MasterImport dry(db);
    sampleImport(dry);
    auto counted = dry.run(true);
    QVERIFY(counted && counted->refused.isEmpty());
    QCOMPARE(masterRows(db), before);
    const QMap<MasterKind, int> expected{{MasterKind::RevenueCodes, 3}, {MasterKind::Rooms, 4},
        {MasterKind::Doctors, 7}, {MasterKind::Items, 21}, {MasterKind::Employees, 5}};
    QCOMPARE(counted->accepted, expected);
    admin::MasterImport real(db);
    sampleImport(real);
    auto done = real.run(false);
    QVERIFY(done && done->written);
    QCOMPARE(masterRows(db), before + 3 + 4 + 7 + 21 + 5);
    auto stent = db.selectOne(u"select RateA, RateH, SectionID from BUILD_FILE..tbCoOtherRevenue "
                              u"where OtherRevenueID = 'CL3103'");
    QVERIFY(stent && *stent);
    QCOMPARE((*stent)->money(u"RateH"), Money::parse(u"68000").value());
    QCOMPARE((*stent)->trimmed(u"SectionID"), QString());
    QCOMPARE(db.scalar(u"select SectionID from BUILD_FILE..tbCoOtherRevenue "
                       u"where OtherRevenueID = 'EN2001'")->toString(), u"PRC"_s);
    QCOMPARE(db.scalar(u"select Status from SCHEDULE..tbORRoom where RoomID = 32")->toString(),
             u"X"_s);
    QCOMPARE(db.scalar(u"select EmployeeRights from STATION..tbNurseUserRights "
                       u"where EmployeeID = '3105'")->toString(), u"|3|13|18|19|21"_s);
}

QTEST_GUILESS_MAIN(tst_MasterImport)
#include "tst_masterimport.moc"
