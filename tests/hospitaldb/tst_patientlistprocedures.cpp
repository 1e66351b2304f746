// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's patient list as the hospital database answers it, on every backend: who a last
// name, a hospital number or an admission number finds, what nothing typed lists, the date
// range, the columns as the grid shows them, and the indexes a name search walks.
#include "core/db/Database.h"
#include "hospitaldb/procedures/PatientListProcedures.h"
#include "patients/PatientListFixture.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

// The rows of one call, or a failed test.
std::optional<RowSet> list(Database &db, const QVariantList &args, bool byDate = false)
{
    auto rows = db.call(byDate ? u"STATION..sp_Get_OR_PatientList_by_AdmDate"
                               : u"STATION..sp_Get_OR_PatientList",
                        args);
    if (!rows) {
        qWarning("%s", qPrintable(rows.error().message));
        return std::nullopt;
    }
    return *rows;
}

// The test's own stays among the rows (the demo hospital's have other numbers), in order.
QStringList ourStays(const RowSet &rows)
{
    QStringList ids;
    for (const Row &r : rows) {
        if (r.text(u"IdNum").startsWith(u'K'))
            ids << r.text(u"IdNum");
    }
    return ids;
}

// The type and the three search texts of a list call.
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
    QTest::newRow("typed in small letters") << QStringList{"A", "batumbakal", "", ""} << batumbakal;
    QTest::newRow("typed with blanks around")
        << QStringList{"A", "  BATUMBAKAL ", "", ""} << batumbakal;
    QTest::newRow("an apostrophe")
        << QStringList{"A", "D'ANGELO", "", ""} << QStringList{"K0100008"};
    QTest::newRow("an underscore is a letter, not any letter")
        << QStringList{"A", "SAN_", "", ""} << QStringList{"K0100006"};
    QTest::newRow("a percent sign is a letter, not any text")
        << QStringList{"A", "SAN%", "", ""} << QStringList{"K0100007"};
    QTest::newRow("a percent sign does not search inside names")
        << QStringList{"A", "%PEDRO", "", ""} << QStringList{};
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
    // The demo hospital's patients answer the same rules.
    const QString lastName = args.at(1).trimmed();
    for (const Row &r : *rows) {
        if (!lastName.isEmpty())
            QVERIFY2(r.text(u"PatientName").startsWith(lastName, Qt::CaseInsensitive),
                     qPrintable(r.text(u"PatientName")));
        QCOMPARE(r.text(u"IdNum").endsWith(u'B'), args.at(0) != u"A");
    }
    // The range alone finds the same stays as the range with the LIKE, on a database that
    // orders text by code point (both test databases do).
    QVERIFY(db.ordersTextByCodePoint());
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
    QStringList texts;
    for (const Row &r : *rows) {
        QStringList cells;
        for (const QVariant &v : r.values())
            cells << v.toString();
        texts << cells.join(u'|');
    }
    QCOMPARE(rows->columnNames().join(u'|'),
             u"HospNum|IdNum|PatientName|AdmissionDate|DischargedDate|BillingDate|CashBasis|"
             u"CashBasisRemarks"_s);
    QCOMPARE(texts,
             (QStringList{"K0000001|K0100001|BATUMBAKAL, JUAN MARASIGAN|11/28/2026 08:30 AM|"
                          "||1|CASH BASIS: PROMISSORY NOTE ON FILE",
                          "K0000001|K0100002|BATUMBAKAL, JUAN MARASIGAN|10/01/2026 09:15 AM|"
                          "10/05/2026 02:00 PM|10/05/2026 11:30 AM|1|CASH BASIS: NO DEPOSIT"}));

    // A patient without a middle name, who is no cash-basis patient.
    const auto maria = list(db, {u"A"_s, QString(), QString(), u"K0100004"_s});
    QVERIFY(maria && maria->count() == 1);
    QCOMPARE(maria->at(0).text(u"PatientName"), u"BATUMBAKAL, MARIA LOURDES"_s);
    QCOMPARE(maria->at(0).integer(u"CashBasis"), 0);
    QCOMPARE(maria->at(0).text(u"CashBasisRemarks"), QString());
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
    for (const Row &r : *rows)
        QVERIFY2(r.text(u"DischargedDate").isEmpty(), qPrintable(r.text(u"IdNum")));
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
    const QDate nov28(2026, 11, 28), nov30(2026, 11, 30), dec1(2026, 12, 1), oct1(2026, 10, 1);

    QTest::newRow("late on the last day counts")
        << QVariantList{"O", "BATUMBAKAL", "", "", nov30, nov30} << QStringList{"K0300001B"};
    QTest::newRow("midnight after the last day does not")
        << QVariantList{"E", "BATUMBAKAL", "", "", nov30, nov30} << QStringList{};
    QTest::newRow("midnight of the first day does")
        << QVariantList{"E", "BATUMBAKAL", "", "", dec1, dec1} << QStringList{"K0300002B"};
    QTest::newRow("discharged stays are found by their dates")
        << QVariantList{"A", "", "K0000001", "", oct1, nov28}
        << QStringList{"K0100001", "K0100002"};
    QTest::newRow("nothing admitted in between")
        << QVariantList{"A", "", "K0000001", "", QDate(2026, 10, 2), QDate(2026, 11, 27)}
        << QStringList{};
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
    auto dateOf = [](const QVariant &v) {
        return v.typeId() == QMetaType::QDate ? v.toDate()
                                              : QDate::fromString(v.toString(), u"MM/dd/yyyy");
    };
    for (const Row &r : *rows) {
        const QDate admitted =
            QDateTime::fromString(r.text(u"AdmissionDate"), u"MM/dd/yyyy hh:mm AP").date();
        QVERIFY2(admitted >= dateOf(args.at(4)) && admitted <= dateOf(args.at(5)),
                 qPrintable(r.text(u"IdNum")));
    }
}

void tst_PatientListProcedures::searchesWalkAnIndex_data()
{
    QTest::addColumn<QStringList>("args");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("index");

    const QString lastName = u"ix_tbMaster_LastName (LastName>? AND LastName<?)"_s;
    const QString open = u"ix_tbOutPatient_DcrDate (DcrDate=?)"_s;
    QTest::newRow("last name") << QStringList{"A", "SANTOS", "", ""} << false << lastName;
    QTest::newRow("last name of a visit")
        << QStringList{"O", "SANTOS", "", ""} << false << lastName;
    QTest::newRow("hospital number")
        << QStringList{"A", "", "00153001", ""} << false << u"ix_tbPatient_HospNum (HospNum=?)"_s;
    QTest::newRow("inpatients still in")
        << QStringList{"A", "", "", ""} << false << u"ix_tbPatient_DcrDate (DcrDate=?)"_s;
    QTest::newRow("outpatient visits still open") << QStringList{"O", "", "", ""} << false << open;
    QTest::newRow("ER visits still open") << QStringList{"E", "", "", ""} << false << open;
    QTest::newRow("admission dates") << QStringList{"A", "", "", ""} << true
                                     << u"ix_tbPatient_AdmDate (AdmDate>? AND AdmDate<?)"_s;
}

void tst_PatientListProcedures::searchesWalkAnIndex()
{
    QFETCH(QStringList, args);
    QFETCH(bool, dated);
    QFETCH(QString, index);
    // PostgreSQL cannot explain a statement with bound values through a prepared query; its
    // plans are the btree indexes of the same columns (see docs/database.md).
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
    QVERIFY2(plan, qPrintable(plan ? QString() : plan.error().message));
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
