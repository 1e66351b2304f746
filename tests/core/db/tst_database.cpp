// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Database.h"
#include "hospitaldb/Schema.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"

#include <QTest>

using namespace kestrel;
using kestrel::test::TestDatabase;

namespace {

// A table of the test's own, created through the schema files' type words so the mapping
// of each type is exercised on each backend.
const char *const kScratchTable = R"(
CREATE TABLE tbScratch (
    RowID ident,
    Code vchar NOT NULL DEFAULT '',
    Remarks memo,
    Amount money,
    Quantity float,
    Visits int,
    IsActive flag DEFAULT 0,
    TransDate datetime
);
CREATE INDEX ix_tbScratch_Code ON tbScratch (Code);
)";

Result<std::unique_ptr<TestDatabase>> openScratch()
{
    auto t = TestDatabase::create(test::backendOfRow(), TestDatabase::Content::Empty);
    if (!t)
        return t;
    Database &db = (*t)->db();
    const bool pg = db.backend() == Backend::Postgres;
    if (pg &&
        !db.execRaw(QStringLiteral("CREATE SCHEMA station; SET search_path TO station, public")))
        return failure(QStringLiteral("no station schema"));
    for (const auto &s : hospitaldb::translateSchema(
             QStringLiteral("STATION"), QString::fromLatin1(kScratchTable), db.backend())) {
        if (auto ok = db.execRaw(s.sql); !ok)
            return tl::unexpected(ok.error());
    }
    if (pg && !db.execRaw(QStringLiteral("RESET search_path")))
        return failure(QStringLiteral("search path not reset"));
    return t;
}

std::unique_ptr<TestDatabase> open(TestDatabase::Content content)
{
    auto t = TestDatabase::create(test::backendOfRow(), content);
    if (!t) {
        qWarning("%s", qPrintable(t.error().message));
        return nullptr;
    }
    return std::move(*t);
}

} // namespace

class tst_Database : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void mapsHospitalObjectNames_data()
    {
        QTest::addColumn<QString>("sql");
        QTest::addColumn<QString>("embedded");
        QTest::addColumn<QString>("server");

        QTest::newRow("two dots") << "select * from STATION..tbStationLogs"
                                  << "select * from tbStationLogs"
                                  << "select * from station.tbStationLogs";
        QTest::newRow("dbo and mixed case") << "select Build_File.dbo.fn_isExamFixedRate(:x)"
                                            << "select fn_isExamFixedRate(:x)"
                                            << "select build_file.fn_isExamFixedRate(:x)";
        QTest::newRow("blanks around dots") << "update Patient_data . . tbPatient set isCVOR = 1"
                                            << "update tbPatient set isCVOR = 1"
                                            << "update patient_data.tbPatient set isCVOR = 1";
        QTest::newRow("join across databases")
            << "select a.x from PATIENT_DATA..tbPatient a join BILLING..tbBillDailyBill b on 1=1"
            << "select a.x from tbPatient a join tbBillDailyBill b on 1=1"
            << "select a.x from patient_data.tbPatient a join billing.tbBillDailyBill b on 1=1";
        QTest::newRow("literal untouched")
            << "select 'STATION..tbX', 'it''s PASSWORD..y' from Password..tbPasswordMaster"
            << "select 'STATION..tbX', 'it''s PASSWORD..y' from tbPasswordMaster"
            << "select 'STATION..tbX', 'it''s PASSWORD..y' from password.tbPasswordMaster";
        QTest::newRow("unknown database untouched") << "select * from FOO..bar, x.STATION..y"
                                                    << "select * from FOO..bar, x.STATION..y"
                                                    << "select * from FOO..bar, x.STATION..y";
        QTest::newRow("alias column not a database") << "select station.StationID from tbX station"
                                                     << "select station.StationID from tbX station"
                                                     << "select station.StationID from tbX station";
    }

    void mapsHospitalObjectNames()
    {
        QFETCH(QString, sql);
        QFETCH(QString, embedded);
        QFETCH(QString, server);
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        QCOMPARE((*t)->mapNames(sql), (*t)->backend() == Backend::Sqlite ? embedded : server);
    }

    void stationLogsThroughAnySpellingOnTheServersClock()
    {
        auto t = open(TestDatabase::Content::SchemaOnly);
        QVERIFY(t);
        Database &db = t->db();
        auto n = db.exec(u"insert into STATION..tbStationLogs (Idnum, Transdate, Remarks, UserID, "
                         u"Hostname, StationID) values (:id, getdate(), :remarks, :user, "
                         u"host_name(), 'OR')",
                         {{"id", "0051234"}, {"remarks", "Log In"}, {"user", "1001"}});
        QVERIFY2(n, qPrintable(n ? QString() : n.error().message));
        QCOMPARE(*n, 1);
        // Read back through another spelling of the same database.
        auto row = db.selectOne(u"select Remarks, Transdate, Hostname from "
                                u"Station.dbo.tbStationLogs where Idnum = :id",
                                {{"id", "0051234"}});
        QVERIFY(row && *row);
        QCOMPARE((*row)->text(u"Remarks"), QStringLiteral("Log In"));
        QCOMPARE((*row)->text(u"Hostname"), QStringLiteral("OR-TEST-01"));
        // Pinned by the fixture: the server's clock is the test hospital's day.
        QCOMPARE((*row)->dateTime(u"Transdate"), test::fixtureNow());
        auto pinned = db.loadServerDate();
        QVERIFY(pinned);
        QCOMPARE(*pinned, test::fixtureNow());
        QCOMPARE(db.serverNow(), test::fixtureNow());

        // Unpinned, it follows the real clock to the second.
        QVERIFY(db.pinClock(QDateTime()));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        auto live = db.loadServerDate();
        QVERIFY(live);
        QVERIFY2(*live >= before && *live <= QDateTime::currentDateTime().addSecs(1),
                 qPrintable(live->toString(Qt::ISODate)));
    }

    void keysCompareWithoutCase()
    {
        auto t = open(TestDatabase::Content::SchemaOnly);
        QVERIFY(t);
        Database &db = t->db();
        QVERIFY(db.exec(u"insert into STATION..tbStationLogs (Idnum, Remarks, UserID, StationID) "
                        u"values (:id, 'x', :user, 'OR')",
                        {{"id", "0041234B"}, {"user", "dela Cruz"}}));
        auto byLower = db.select(u"select Idnum from STATION..tbStationLogs where Idnum = :id",
                                 {{"id", "0041234b"}});
        QVERIFY(byLower);
        QCOMPARE(byLower->count(), 1);
        QCOMPARE(byLower->at(0).text(u"idnum"), QStringLiteral("0041234B"));

        auto prefix = db.select(u"select UserID from STATION..tbStationLogs where UserID like :p",
                                {{"p", "DELA%"}});
        QVERIFY(prefix);
        QCOMPARE(prefix->count(), 1);
    }

    void datesAreStoredAsIsoAndRoundTrip()
    {
        auto t = openScratch();
        QVERIFY2(t, qPrintable(t ? QString() : t.error().message));
        Database &db = (*t)->db();
        const QDateTime admitted(QDate(2026, 2, 28), QTime(23, 15, 7));
        QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, TransDate) values ('A', :d)",
                        {{"d", admitted}}));
        QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, TransDate) values ('B', :d)",
                        {{"d", QDate(2026, 3, 1)}}));
        QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, TransDate) values ('C', :d)",
                        {{"d", QDate(2025, 12, 31)}}));

        auto a = db.selectOne(u"select TransDate from STATION..tbScratch where Code = 'A'");
        QVERIFY(a && *a);
        QCOMPARE((*a)->dateTime(u"TransDate"), admitted);
        QCOMPARE((*a)->date(u"TransDate"), admitted.date());

        // A date range bound as dates orders by time, not by the text a user sees.
        auto inRange = db.select(
            u"select Code, TransDate from STATION..tbScratch where TransDate >= :from and "
            u"TransDate < :to order by TransDate",
            {{"from", QDate(2026, 1, 1)}, {"to", QDate(2026, 3, 2)}});
        QVERIFY(inRange);
        QCOMPARE(inRange->count(), 2);
        QCOMPARE(inRange->at(0).text(u"Code"), QStringLiteral("A"));
        QCOMPARE(inRange->at(1).date(u"TransDate"), QDate(2026, 3, 1));

        if (db.backend() == Backend::Sqlite) {
            auto stored = db.scalar(u"select TransDate from STATION..tbScratch where Code = 'B'");
            QVERIFY(stored);
            QCOMPARE(stored->toString(), QStringLiteral("2026-03-01 00:00:00"));
        }
    }

    void moneyIsExactInStorage()
    {
        auto t = openScratch();
        QVERIFY(t);
        Database &db = (*t)->db();
        const QList<Money> amounts = {*Money::parse(u"1234.5678"), *Money::parse(u"0.1"),
                                      *Money::parse(u"0.2"), *Money::parse(u"-250.0001"),
                                      *Money::parse(u"99999999999.9999")};
        for (const Money &m : amounts)
            QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, Amount) values ('M', :a)",
                            {{"a", m.toVariant()}}));
        auto rows = db.select(u"select Amount from STATION..tbScratch order by RowID");
        QVERIFY(rows);
        QCOMPARE(rows->count(), amounts.size());
        Money total;
        for (int i = 0; i < rows->count(); ++i) {
            QCOMPARE(rows->at(i).money(u"Amount"), amounts.at(i));
            total += rows->at(i).money(u"Amount");
        }
        QCOMPARE(total, *Money::parse(u"100000000984.8676"));
    }

    void hostileTextRoundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << "D'ANGELO, MA. LUISA";
        QTest::newRow("quotes") << "He said \"stat\" and 'now'";
        QTest::newRow("statement breaker") << "x'); DELETE FROM tbScratch; --";
        QTest::newRow("comment") << "-- not a comment /* nor this */";
        QTest::newRow("placeholders") << ":id ? $1 %s @str";
        QTest::newRow("wildcards and backslash") << "100% _sure_ C:\\Reports\\";
        QTest::newRow("non-ascii") << "PEÑA, JOSÉ — Ω";
        QTest::newRow("blanks kept inside") << "a  b\tc\nd";
    }

    void hostileTextRoundTrips()
    {
        QFETCH(QString, text);
        auto t = openScratch();
        QVERIFY(t);
        Database &db = (*t)->db();
        QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, Remarks) values (:c, :r)",
                        {{"c", text}, {"r", text}}));
        auto back = db.select(u"select Code, Remarks from STATION..tbScratch where Code = :c",
                              {{"c", text}});
        QVERIFY(back);
        QCOMPARE(back->count(), 1);
        QCOMPARE(back->at(0).text(u"Code"), text);
        QCOMPARE(back->at(0).text(u"Remarks"), text);
        auto all = db.scalar(u"select count(*) from STATION..tbScratch");
        QVERIFY(all);
        QCOMPARE(all->toInt(), 1);
    }

    void failedWritesLeaveNothingBehind()
    {
        auto t = openScratch();
        QVERIFY(t);
        Database &db = (*t)->db();
        {
            Transaction tx = db.transaction();
            QVERIFY(tx.isActive());
            QVERIFY(db.exec(u"insert into STATION..tbScratch (Code) values ('HALF')"));
            auto bad = db.exec(u"insert into STATION..tbNoSuchTable (Code) values ('X')");
            QVERIFY(!bad);
            // The routine ends here without commit: the guard rolls back.
        }
        QVERIFY(!db.inTransaction());
        QCOMPARE(db.scalar(u"select count(*) from STATION..tbScratch")->toInt(), 0);

        // A savepoint that fails takes only its own rows with it.
        {
            Transaction outer = db.transaction();
            QVERIFY(db.exec(u"insert into STATION..tbScratch (Code) values ('KEEP')"));
            {
                Transaction inner = db.transaction();
                QVERIFY(inner.isActive());
                QVERIFY(db.exec(u"insert into STATION..tbScratch (Code) values ('DROP')"));
            }
            QVERIFY(outer.commit());
        }
        auto codes = db.select(u"select Code from STATION..tbScratch");
        QVERIFY(codes);
        QCOMPARE(codes->count(), 1);
        QCOMPARE(codes->at(0).text(u"Code"), QStringLiteral("KEEP"));

        // What was committed is there for another workstation.
        auto other = Database::open((*t)->settings());
        QVERIFY(other);
        QCOMPARE((*other)->scalar(u"select count(*) from STATION..tbScratch")->toInt(), 1);
    }

    void rejectedStatementReachesTheErrorBox()
    {
        auto t = openScratch();
        QVERIFY(t);
        Database &db = (*t)->db();
        auto bad = db.select(u"select NoSuchColumn from STATION..tbScratch");
        QVERIFY(!bad);
        QVERIFY2(bad.error().message.contains(u"nosuchcolumn", Qt::CaseInsensitive),
                 qPrintable(bad.error().message));
        // The user reads the server's sentence, not its echo of the statement or its codes.
        QVERIFY2(!bad.error().message.contains(u'\n') &&
                     !bad.error().message.startsWith(u"ERROR") &&
                     !bad.error().message.contains(u"PREPARE"),
                 qPrintable(bad.error().message));

        test::RecordingNotifier notifier;
        notifier.errorBox(bad.error());
        QCOMPARE(notifier.boxes().size(), 1);
        QCOMPARE(notifier.boxes().at(0).title, QStringLiteral("Notification"));
        QCOMPARE(notifier.boxes().at(0).icon, Notifier::Icon::Information);
        QCOMPARE(notifier.lastText(),
                 bad.error().message + QStringLiteral("\n\nPlease notify your IT department."));

        // The connection is still good for the next statement.
        QVERIFY(db.exec(u"insert into STATION..tbScratch (Code) values ('NEXT')"));
    }

    void procedureCallsAndTheProbe()
    {
        auto t = open(TestDatabase::Content::SchemaOnly);
        QVERIFY(t);
        Database &db = t->db();
        auto registry = std::make_shared<ProcedureRegistry>();
        registry->add(
            QStringLiteral("STATION..sp_Test_Logs"), 2, [](Database &d, const ProcedureArgs &args) {
                return d.select(u"select Idnum, Remarks from STATION..tbStationLogs "
                                u"where StationID = :station and Remarks like :r",
                                {{"station", args.text(0)}, {"r", QString(args.text(1) + u'%')}});
            });
        db.setProcedures(registry);
        QVERIFY(db.exec(u"insert into STATION..tbStationLogs (Idnum, Remarks, StationID) values "
                        u"('A', 'Log In', 'OR'), ('B', 'Log In', 'ER'), ('C', 'CVOR', 'OR')"));

        auto rows = db.call(u"Station.dbo.SP_TEST_LOGS", {"OR", "Log"});
        QVERIFY2(rows, qPrintable(rows ? QString() : rows.error().message));
        QCOMPARE(rows->count(), 1);
        QCOMPARE(rows->at(0).text(u"IDNUM"), QStringLiteral("A"));

        // A missing argument reads as empty text, as the hospital's procedures default them.
        auto fewer = db.call(u"STATION..sp_Test_Logs", {"OR"});
        QVERIFY(fewer);
        QCOMPARE(fewer->count(), 2);

        auto tooMany = db.call(u"STATION..sp_Test_Logs", {"OR", "Log", "extra"});
        QVERIFY(!tooMany);
        QCOMPARE(
            tooMany.error().message,
            QStringLiteral("Procedure or function sp_Test_Logs has too many arguments specified."));
        auto missing = db.call(u"STATION..sp_Nowhere", {});
        QVERIFY(!missing);
        QCOMPARE(missing.error().message,
                 QStringLiteral("Could not find stored procedure 'sp_Nowhere'."));

        QCOMPARE(db.parameterCount(u"STATION", u"sp_Test_Logs"), 2);
        QCOMPARE(db.parameterCount(u"station", u"SP_TEST_LOGS"), 2);
        QCOMPARE(db.parameterCount(u"STATION", u"sp_Nurse_Revoke_Request_Missing"), 0);
        QCOMPARE(db.parameterCount(u"BILLING", u"sp_Test_Logs"), 0);
        QCOMPARE(db.parameterCount(u"NOSUCHDB", u"sp_Test_Logs"), 0);
    }

    void rowsAreCountedAndReadByAnyCase()
    {
        auto t = openScratch();
        QVERIFY(t);
        Database &db = (*t)->db();
        for (int i = 0; i < 7; ++i)
            QVERIFY(
                db.exec(u"insert into STATION..tbScratch (Code, Visits, IsActive, Quantity) "
                        u"values (:c, :v, :a, :q)",
                        {{"c", QString::number(i)}, {"v", i}, {"a", i % 2 == 1}, {"q", 0.5 * i}}));
        auto rows = db.select(u"select Code, Visits, IsActive, Quantity, Remarks from "
                              u"STATION..tbScratch order by Visits");
        QVERIFY(rows);
        QCOMPARE(rows->count(), 7);
        const Row &r = rows->at(3);
        QCOMPARE(r.integer(u"VISITS"), 3);
        QCOMPARE(r.flag(u"isactive"), true);
        QCOMPARE(rows->at(2).flag(u"IsActive"), false);
        QCOMPARE(r.number(u"quantity"), 1.5);
        QCOMPARE(r.text(u"Remarks"), QString());     // null reads as empty text
        QCOMPARE(r.text(u"NoSuchField"), QString()); // and so does a field that is not there
        QVERIFY(!r.has(u"NoSuchField"));

        auto none = db.selectOne(u"select Code from STATION..tbScratch where Code = 'none'");
        QVERIFY(none);
        QVERIFY(!none->has_value());

        // Empty text is stored as empty, not as null.
        QVERIFY(db.exec(u"update STATION..tbScratch set Remarks = :r where Visits = 1",
                        {{"r", QString()}}));
        QCOMPARE(db.scalar(u"select Visits from STATION..tbScratch where Remarks = ''")->toInt(),
                 1);
        QCOMPARE(
            db.scalar(u"select count(*) from STATION..tbScratch where Remarks is null")->toInt(),
            6);
    }
};

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_database.moc"
