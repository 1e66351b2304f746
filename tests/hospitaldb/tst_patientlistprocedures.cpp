// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// The OR's patient list as the hospital database answers it, on every backend: who a last
// name, a hospital number or an admission number finds, what nothing typed lists, the date
// range, the columns as the grid shows them, and the indexes a name search walks.
#include "hospitaldb/procedures/PatientListProcedures.h"
#include "patients/PatientListFixture.h"
#include "shell/db/Database.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;

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
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("hospNum");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<QStringList>("expected");

    const QStringList batumbakal{"K0100001", "K0100002", "K0100004"};
    QTest::newRow("last name, each patient's newest stay first") << "A"
                                                                 << "BATUMBAKAL"
                                                                 << ""
                                                                 << "" << batumbakal;
    QTest::newRow("the beginning of a last name") << "A"
                                                  << "BATU"
                                                  << ""
                                                  << "" << (batumbakal + QStringList{"K0100005"});
    QTest::newRow("typed in small letters") << "A"
                                            << "batumbakal"
                                            << ""
                                            << "" << batumbakal;
    QTest::newRow("typed with blanks around") << "A"
                                              << "  BATUMBAKAL "
                                              << ""
                                              << "" << batumbakal;
    QTest::newRow("an apostrophe") << "A"
                                   << "D'ANGELO"
                                   << ""
                                   << "" << QStringList{"K0100008"};
    QTest::newRow("an underscore is a letter, not any letter") << "A"
                                                               << "SAN_"
                                                               << ""
                                                               << "" << QStringList{"K0100006"};
    QTest::newRow("a percent sign is a letter, not any text") << "A"
                                                              << "SAN%"
                                                              << ""
                                                              << "" << QStringList{"K0100007"};
    QTest::newRow("a percent sign does not search inside names") << "A"
                                                                 << "%PEDRO"
                                                                 << ""
                                                                 << "" << QStringList{};
    QTest::newRow("hospital number, whole") << "A"
                                            << ""
                                            << "K0000001"
                                            << "" << QStringList{"K0100001", "K0100002"};
    QTest::newRow("hospital number, only whole") << "A"
                                                 << ""
                                                 << "K000000"
                                                 << "" << QStringList{};
    QTest::newRow("admission number") << "A"
                                      << ""
                                      << ""
                                      << "k0100002" << QStringList{"K0100002"};
    QTest::newRow("a cancelled admission is nobody's") << "A"
                                                       << ""
                                                       << ""
                                                       << "K0100003" << QStringList{};
    QTest::newRow("outpatient visits") << "O"
                                       << "BATUMBAKAL"
                                       << ""
                                       << "" << QStringList{"K0300001B"};
    QTest::newRow("ER visits") << "E"
                               << "BATUMBAKAL"
                               << ""
                               << "" << QStringList{"K0300002B"};
    QTest::newRow("an ER visit is not an outpatient visit") << "O"
                                                            << ""
                                                            << ""
                                                            << "K0300002B" << QStringList{};
    QTest::newRow("a visit is not an admission") << "A"
                                                 << ""
                                                 << ""
                                                 << "K0300001B" << QStringList{};
}

void tst_PatientListProcedures::searches()
{
    QFETCH(QString, type);
    QFETCH(QString, lastName);
    QFETCH(QString, hospNum);
    QFETCH(QString, idNum);
    QFETCH(QStringList, expected);
    OPEN_LIST_HOSPITAL(db);

    const auto rows = list(db, {type, lastName, hospNum, idNum});
    QVERIFY(rows);
    QCOMPARE(ourStays(*rows), expected);
    // The demo hospital's patients answer the same rules.
    for (const Row &r : *rows) {
        if (!lastName.trimmed().isEmpty())
            QVERIFY2(r.text(u"PatientName").startsWith(lastName.trimmed(), Qt::CaseInsensitive),
                     qPrintable(r.text(u"PatientName")));
        QCOMPARE(r.text(u"IdNum").endsWith(u'B'), type != u"A");
    }
    // The range alone finds the same stays as the range with the LIKE, on a database that
    // orders text by code point (both test databases do).
    QVERIFY(db.ordersTextByCodePoint());
    QStringList found[2];
    for (bool exact : {false, true}) {
        const auto statement =
            hospitaldb::patientListStatement({type, lastName, hospNum, idNum, {}, {}}, exact);
        QCOMPARE(statement.sql.contains(u" like "), !exact && !lastName.trimmed().isEmpty());
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
    const auto rows = list(db, {"A", "", "K0000001", ""});
    QVERIFY(rows);
    QCOMPARE(rows->columnNames(),
             (QStringList{"HospNum", "IdNum", "PatientName", "AdmissionDate", "DischargedDate",
                          "BillingDate", "CashBasis", "CashBasisRemarks"}));
    QCOMPARE(rows->count(), 2);

    const QVariantList stillIn{
        "K0000001", "K0100001", "BATUMBAKAL, JUAN MARASIGAN",         "11/28/2026 08:30 AM", "",
        "",         1,          "CASH BASIS: PROMISSORY NOTE ON FILE"};
    const QVariantList billed{"K0000001",
                              "K0100002",
                              "BATUMBAKAL, JUAN MARASIGAN",
                              "10/01/2026 09:15 AM",
                              "10/05/2026 02:00 PM",
                              "10/05/2026 11:30 AM",
                              1,
                              "CASH BASIS: NO DEPOSIT"};
    for (const auto &[row, expected] : {std::pair{0, stillIn}, std::pair{1, billed}}) {
        const Row &r = rows->at(row);
        for (int c = 0; c < expected.size(); ++c)
            QCOMPARE(r.value(c).toString(), expected.at(c).toString());
    }

    // A patient without a middle name, who is no cash-basis patient.
    const auto maria = list(db, {"A", "", "", "K0100004"});
    QVERIFY(maria && maria->count() == 1);
    QCOMPARE(maria->at(0).text(u"PatientName"), QStringLiteral("BATUMBAKAL, MARIA LOURDES"));
    QCOMPARE(maria->at(0).integer(u"CashBasis"), 0);
    QCOMPARE(maria->at(0).text(u"CashBasisRemarks"), QString());
}

void tst_PatientListProcedures::nothingTypedListsWhoIsStillIn_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QStringList>("ours");
    QTest::newRow("inpatients") << "A" << QStringList{"K0100001", "K0100004", "K0100005",
                                                      "K0100008", "K0100007", "K0100006"};
    QTest::newRow("outpatients") << "O" << QStringList{"K0300001B"};
    QTest::newRow("ER") << "E" << QStringList{"K0300002B"};
}

void tst_PatientListProcedures::nothingTypedListsWhoIsStillIn()
{
    QFETCH(QString, type);
    QFETCH(QStringList, ours);
    OPEN_LIST_HOSPITAL(db);

    const auto rows = list(db, {type, "", "", ""});
    QVERIFY(rows);
    // Ordered by name: the two BATUMBAKALs, BATUNGBAKAL, D'ANGELO, then SAN%PEDRO before
    // SAN_JUAN as the characters sort.
    QCOMPARE(ourStays(*rows), ours);
    for (const Row &r : *rows)
        QVERIFY2(r.text(u"DischargedDate").isEmpty(), qPrintable(r.text(u"IdNum")));
    // Everybody still in, and nobody else.
    const QString table = type == u"A" ? QStringLiteral("PATIENT_DATA..tbPatient")
                                       : QStringLiteral("PATIENT_DATA..tbOutPatient");
    const QString kind = type == u"A"   ? QString()
                         : type == u"E" ? QStringLiteral(" and ERNum <> ''")
                                        : QStringLiteral(" and (ERNum is null or ERNum = '')");
    auto stillIn = db.scalar(QStringLiteral("select count(*) from %1 where DcrDate is null and "
                                            "RecordStatus <> 'R'%2")
                                 .arg(table, kind));
    QVERIFY(stillIn);
    QCOMPARE(rows->count(), stillIn->toInt());
}

void tst_PatientListProcedures::admissionDates_data()
{
    QTest::addColumn<QVariantList>("args");
    QTest::addColumn<QStringList>("expected");
    const QDate nov28(2026, 11, 28), nov30(2026, 11, 30), dec1(2026, 12, 1);

    QTest::newRow("late on the last day counts")
        << QVariantList{"O", "BATUMBAKAL", "", "", nov30, nov30} << QStringList{"K0300001B"};
    QTest::newRow("midnight after the last day does not")
        << QVariantList{"E", "BATUMBAKAL", "", "", nov30, nov30} << QStringList{};
    QTest::newRow("midnight of the first day does")
        << QVariantList{"E", "BATUMBAKAL", "", "", dec1, dec1} << QStringList{"K0300002B"};
    QTest::newRow("discharged stays are found by their dates")
        << QVariantList{"A", "", "K0000001", "", QDate(2026, 10, 1), nov28}
        << QStringList{"K0100001", "K0100002"};
    QTest::newRow("nothing admitted in between")
        << QVariantList{"A", "", "K0000001", "", QDate(2026, 10, 2), QDate(2026, 11, 27)}
        << QStringList{};
    QTest::newRow("dates typed as the users type them")
        << QVariantList{"A", "BATUMBAKAL", "", "", "10/01/2026", "10/01/2026"}
        << QStringList{"K0100002"};
    QTest::newRow("nothing typed lists the days' admissions")
        << QVariantList{"A", "", "", "", QDate(2026, 10, 1), QDate(2026, 10, 1)}
        << QStringList{"K0100002"};
}

void tst_PatientListProcedures::admissionDates()
{
    QFETCH(QVariantList, args);
    QFETCH(QStringList, expected);
    OPEN_LIST_HOSPITAL(db);

    const auto rows = list(db, args, true);
    QVERIFY(rows);
    QCOMPARE(ourStays(*rows), expected);
    const QDate from = args.at(4).typeId() == QMetaType::QDate
                           ? args.at(4).toDate()
                           : QDate::fromString(args.at(4).toString(), u"MM/dd/yyyy");
    const QDate to = args.at(5).typeId() == QMetaType::QDate
                         ? args.at(5).toDate()
                         : QDate::fromString(args.at(5).toString(), u"MM/dd/yyyy");
    for (const Row &r : *rows) {
        const QDate admitted =
            QDateTime::fromString(r.text(u"AdmissionDate"), u"MM/dd/yyyy hh:mm AP").date();
        QVERIFY2(admitted >= from && admitted <= to, qPrintable(r.text(u"IdNum")));
    }
}

void tst_PatientListProcedures::searchesWalkAnIndex_data()
{
    QTest::addColumn<QString>("type");
    QTest::addColumn<QString>("lastName");
    QTest::addColumn<QString>("hospNum");
    QTest::addColumn<QString>("idNum");
    QTest::addColumn<bool>("dated");
    QTest::addColumn<QString>("index");

    QTest::newRow("last name") << "A"
                               << "SANTOS"
                               << ""
                               << "" << false << "ix_tbMaster_LastName (LastName>? AND LastName<?)";
    QTest::newRow("last name of a visit")
        << "O"
        << "SANTOS"
        << ""
        << "" << false << "ix_tbMaster_LastName (LastName>? AND LastName<?)";
    QTest::newRow("hospital number") << "A"
                                     << ""
                                     << "00153001"
                                     << "" << false << "ix_tbPatient_HospNum (HospNum=?)";
    QTest::newRow("inpatients still in") << "A"
                                         << ""
                                         << ""
                                         << "" << false << "ix_tbPatient_DcrDate (DcrDate=?)";
    QTest::newRow("outpatient visits still open")
        << "O"
        << ""
        << ""
        << "" << false << "ix_tbOutPatient_DcrDate (DcrDate=?)";
    QTest::newRow("ER visits still open") << "E"
                                          << ""
                                          << ""
                                          << "" << false << "ix_tbOutPatient_DcrDate (DcrDate=?)";
    QTest::newRow("admission dates")
        << "A"
        << ""
        << ""
        << "" << true << "ix_tbPatient_AdmDate (AdmDate>? AND AdmDate<?)";
}

void tst_PatientListProcedures::searchesWalkAnIndex()
{
    QFETCH(QString, type);
    QFETCH(QString, lastName);
    QFETCH(QString, hospNum);
    QFETCH(QString, idNum);
    QFETCH(bool, dated);
    QFETCH(QString, index);
    // PostgreSQL cannot explain a statement with bound values through a prepared query; its
    // plans are the btree indexes of the same columns (see docs/database.md).
    if (test::backendOfRow() != Backend::Sqlite)
        QSKIP("query plans are read on SQLite");
    KESTREL_OPEN_DEMO(db);

    hospitaldb::PatientListQuery query{type, lastName, hospNum, idNum, {}, {}};
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
