// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's patient list as the hospital database answers it, on every backend.
#include "core/db/Database.h"
#include "hospitaldb/procedures/PatientListProcedures.h"
#include "patients/PatientListFixture.h"
#include "support/TestDatabase.h"

#include <QRegularExpression>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

std::optional<RowSet> list(Database &db, const QVariantList &args, bool byDate = false)
{
    auto rows = db.call(byDate ? u"STATION..sp_Get_OR_PatientList_by_AdmDate"
                               : u"STATION..sp_Get_OR_PatientList",
                        args);
    return rows ? std::optional(*rows) : std::nullopt;
}

// The test's own stays among the rows (the demo hospital's have other numbers), in order.
QStringList ourStays(const RowSet &rows)
{
    QStringList ids;
    for (const Row &r : rows)
        ids << r.text(u"IdNum");
    return ids.filter(QRegularExpression(u"^K"_s));
}

hospitaldb::PatientListQuery queryOf(const QStringList &args)
{
    return {args.value(0), args.value(1), args.value(2), args.value(3), {}, {}};
}

#define OPEN_LIST_HOSPITAL(db)                                                                     \
    KESTREL_OPEN_DEMO(db);                                                                         \
    QVERIFY(test::addListPatients(db))

} // namespace

class tst_PatientListProcedures : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }
    void searches_data();
    void searches();
    void columnsAsTheGridShowsThem();
    void nothingTypedListsWhoIsStillIn_data();
    void nothingTypedListsWhoIsStillIn();
    void admissionDates_data();
    void admissionDates();
    void searchesWalkAnIndex_data();
    void searchesWalkAnIndex();
};

void tst_PatientListProcedures::searches_data()
{
    QTest::addColumn<QStringList>("args"); // type, last name, hospital and admission number
    QTest::addColumn<QStringList>("expected");
    const QStringList batumbakal{"K0100001", "K0100002", "K0100004"};
    QTest::newRow("last name, each patient's newest stay first")
        << QStringList{"A", "BATUMBAKAL", "", ""} << batumbakal;
    QTest::newRow("the beginning of a last name")
        << QStringList{"A", "BATU", "", ""} << (batumbakal + QStringList{"K0100005"});
    QTest::newRow("typed in small letters, with blanks around")
        << QStringList{"A", "  batumbakal ", "", ""} << batumbakal;
    QTest::newRow("an apostrophe")
        << QStringList{"A", "D'ANGELO", "", ""} << QStringList{"K0100008"};
    QTest::newRow("an underscore is a letter, not any letter")
        << QStringList{"A", "SAN_", "", ""} << QStringList{"K0100006"};
    QTest::newRow("a percent sign is a letter, not any text")
        << QStringList{"A", "SAN%", "", ""} << QStringList{"K0100007"};
    QTest::newRow("hospital number, whole")
        << QStringList{"A", "", "K0000001", ""} << QStringList{"K0100001", "K0100002"};
    QTest::newRow("hospital number, only whole")
        << QStringList{"A", "", "K000000", ""} << QStringList{};
    QTest::newRow("admission number")
        << QStringList{"A", "", "", "k0100002"} << QStringList{"K0100002"};
    QTest::newRow("a cancelled admission is nobody's")
        << QStringList{"A", "", "", "K0100003"} << QStringList{};
    QTest::newRow("outpatient visits")
        << QStringList{"O", "BATUMBAKAL", "", ""} << QStringList{"K0300001B"};
    QTest::newRow("ER visits") << QStringList{"E", "BATUMBAKAL", "", ""}
                               << QStringList{"K0300002B"};
    QTest::newRow("an ER visit is not an outpatient visit")
        << QStringList{"O", "", "", "K0300002B"} << QStringList{};
    QTest::newRow("a visit is not an admission")
        << QStringList{"A", "", "", "K0300001B"} << QStringList{};
}

void tst_PatientListProcedures::searches()
{
    QFETCH(QStringList, args);
    QFETCH(QStringList, expected);
    OPEN_LIST_HOSPITAL(db);
    const auto rows = list(db, QVariantList(args.cbegin(), args.cend()));
    QVERIFY(rows);
    QCOMPARE(ourStays(*rows), expected);
    const QString lastName = args.at(1).trimmed();
    // The range alone finds the same stays as the range with the LIKE.
    QStringList found[2];
    for (bool exact : {false, true}) {
        const auto statement = hospitaldb::patientListStatement(queryOf(args), exact);
        QCOMPARE(statement.sql.contains(u" like "), !exact && !lastName.isEmpty());
        auto stays = db.select(statement.sql, statement.binds);
        QVERIFY(stays);
        for (const Row &r : *stays)
            found[exact] << r.text(u"IDNum");
    }
    QCOMPARE(found[true], found[false]);
}

void tst_PatientListProcedures::columnsAsTheGridShowsThem()
{
    OPEN_LIST_HOSPITAL(db);
    const auto rows = list(db, {u"A"_s, QString(), u"K0000001"_s, QString()});
    QVERIFY(rows && rows->count() == 2);
    QStringList texts{rows->columnNames().join(u'|')};
    for (const Row &r : *rows) {
        QStringList cells;
        for (const QVariant &v : r.values())
            cells << v.toString();
        texts << cells.join(u'|');
    }
    QCOMPARE(texts,
             (QStringList{"HospNum|IdNum|PatientName|AdmissionDate|DischargedDate|BillingDate|"
                          "CashBasis|CashBasisRemarks",
                          "K0000001|K0100001|BATUMBAKAL, JUAN MARASIGAN|11/28/2026 08:30 AM|"
                          "||1|CASH BASIS: PROMISSORY NOTE ON FILE",
                          "K0000001|K0100002|BATUMBAKAL, JUAN MARASIGAN|10/01/2026 09:15 AM|"
                          "10/05/2026 02:00 PM|10/05/2026 11:30 AM|1|CASH BASIS: NO DEPOSIT"}));
    const auto maria = list(db, {u"A"_s, QString(), QString(), u"K0100004"_s});
    QVERIFY(maria && maria->count() == 1);
    QCOMPARE(maria->at(0).text(u"PatientName") + maria->at(0).text(u"CashBasis") +
                 maria->at(0).text(u"CashBasisRemarks"),
             u"BATUMBAKAL, MARIA LOURDES0"_s);
}

void tst_PatientListProcedures::nothingTypedListsWhoIsStillIn_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("ours");
    QTest::addColumn<QString>("stillIn");
    // Ordered by name: the two BATUMBAKALs, BATUNGBAKAL, D'ANGELO, then SAN%PEDRO before
    // SAN_JUAN as the characters sort.
    QTest::newRow("inpatients") << u"A"_s << QStringList{"K0100001", "K0100004", "K0100005",
                                                         "K0100008", "K0100007", "K0100006"}
                                << u"PATIENT_DATA..tbPatient where DcrDate is null"_s;
    QTest::newRow("outpatients") << u"O"_s << QStringList{"K0300001B"}
                                 << u"PATIENT_DATA..tbOutPatient where DcrDate is null "
                                    u"and (ERNum is null or ERNum = '')"_s;
    QTest::newRow("ER") << u"E"_s << QStringList{"K0300002B"}
                        << u"PATIENT_DATA..tbOutPatient where DcrDate is null and ERNum <> ''"_s;
}

void tst_PatientListProcedures::nothingTypedListsWhoIsStillIn()
{
    QFETCH(QString, type);
    QFETCH(QStringList, ours);
    QFETCH(QString, stillIn);
    OPEN_LIST_HOSPITAL(db);
    const auto rows = list(db, {type, QString(), QString(), QString()});
    QVERIFY(rows);
    QCOMPARE(ourStays(*rows), ours);
    // Everybody still in, and nobody else.
    auto count =
        db.scalar(QString(u"select count(*) from " + stillIn + u" and RecordStatus <> 'R'"));
    QVERIFY(count);
    QCOMPARE(rows->count(), count->toInt());
}

void tst_PatientListProcedures::admissionDates_data()
{
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QStringList>("expected");
    const QDate nov30(2026, 11, 30), dec1(2026, 12, 1), oct1(2026, 10, 1);
    QTest::newRow("late on the last day counts")
        << QVariantList{"O", "BATUMBAKAL", "", "", nov30, nov30} << QStringList{"K0300001B"};
    QTest::newRow("midnight after the last day does not")
        << QVariantList{"E", "BATUMBAKAL", "", "", nov30, nov30} << QStringList{};
    QTest::newRow("midnight of the first day does")
        << QVariantList{"E", "BATUMBAKAL", "", "", dec1, dec1} << QStringList{"K0300002B"};
    QTest::newRow("dates typed as the users type them")
        << QVariantList{"A", "BATUMBAKAL", "", "", "10/01/2026", "10/01/2026"}
        << QStringList{"K0100002"};
    QTest::newRow("nothing typed lists the days' admissions")
        << QVariantList{"A", "", "", "", oct1, oct1} << QStringList{"K0100002"};
}

void tst_PatientListProcedures::admissionDates()
{
    QFETCH(QVariantList, args);
    QFETCH(QStringList, expected);
    OPEN_LIST_HOSPITAL(db);
    const auto rows = list(db, args, true);
    QVERIFY(rows);
    QCOMPARE(ourStays(*rows), expected);
}

void tst_PatientListProcedures::searchesWalkAnIndex_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("index");
    QTest::newRow("last name") << QStringList{"A", "SANTOS", "", ""} << false
                               << u"ix_tbMaster_NameOrder (LastName>? AND LastName<?)"_s;
    QTest::newRow("hospital number")
        << QStringList{"A", "", "00153001", ""} << false << u"ix_tbPatient_HospNum (HospNum=?)"_s;
    QTest::newRow("inpatients still in")
        << QStringList{"A", "", "", ""} << false << u"ix_tbPatient_DcrDate (DcrDate=?)"_s;
    QTest::newRow("visits still open")
        << QStringList{"O", "", "", ""} << false << u"ix_tbOutPatient_DcrDate (DcrDate=?)"_s;
    QTest::newRow("admission dates") << QStringList{"A", "", "", ""} << true
                                     << u"ix_tbPatient_AdmDate (AdmDate>? AND AdmDate<?)"_s;
}

void tst_PatientListProcedures::searchesWalkAnIndex()
{
    QFETCH(QStringList, args);
    QFETCH(bool, dated);
    QFETCH(QString, index);
    // PostgreSQL cannot explain a statement with bound values through a prepared query.
    if (test::backendOfRow() != Backend::Sqlite)
        QSKIP("query plans are read on SQLite");
    KESTREL_OPEN_DEMO(db);
    hospitaldb::PatientListQuery query = queryOf(args);
    if (dated) {
        query.admittedFrom = QDate(2026, 11, 1);
        query.admittedTo = QDate(2026, 11, 30);
    }
    const hospitaldb::PatientListStatement statement = hospitaldb::patientListStatement(query);
    auto plan = db.select(QString(u"explain query plan " + statement.sql), statement.binds);
    QVERIFY(plan);
    QStringList steps;
    for (const Row &r : *plan)
        steps << r.text(u"detail");
    QVERIFY2(steps.join(u'\n').contains(index), qPrintable(steps.join(u'\n')));
    // No table of stays or patients is read whole.
    for (const QString &step : std::as_const(steps))
        QVERIFY2(!step.startsWith(u"SCAN"), qPrintable(steps.join(u'\n')));
}

QTEST_GUILESS_MAIN(tst_PatientListProcedures)
#include "tst_patientlistprocedures.moc"
