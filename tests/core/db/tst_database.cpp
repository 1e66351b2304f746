// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/db/Database.h"
#include "core/db/LikePattern.h"
#include "core/db/WriteTransaction.h"
#include "hospitaldb/Schema.h"
#include "support/CuttingProxy.h"
#include "support/RecordingNotifier.h"
#include "support/TestDatabase.h"

#include <QTest>
#include <QThread>

#include <latch>
#include <thread>

using namespace kestrel;
using kestrel::test::TestDatabase;
using namespace Qt::StringLiterals;

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

Result<void> addScratch(Database &db)
{
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
    return {};
}

// Content::Empty opens an empty database holding only the scratch table.
std::unique_ptr<TestDatabase> open(TestDatabase::Content content)
{
    auto t = TestDatabase::create(test::backendOfRow(), content);
    Result<void> ok = t ? Result<void>() : tl::unexpected(t.error());
    if (ok && content == TestDatabase::Content::Empty)
        ok = addScratch((*t)->db());
    if (!ok) {
        qWarning("%s", qPrintable(ok.error().message));
        return nullptr;
    }
    return std::move(*t);
}

int count(Database &db, QStringView sql) { return db.scalar(sql).value_or(QVariant(-1)).toInt(); }

// What a statement runs into.
enum class Situation { MissingTable, DuplicateKey, RowHeldElsewhere };

// A workstation reaching the test's server through `proxy`.
std::unique_ptr<Database> throughProxy(ConnectionSettings settings, const test::CuttingProxy &proxy)
{
    settings.port = proxy.port();
    settings.sslMode = QStringLiteral("disable"); // the relay reads the statements
    auto db = Database::open(settings);
    if (!db || !(*db)->pinClock(test::fixtureNow()))
        return nullptr;
    return std::move(*db);
}

void settle() { QThread::msleep(100); }

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
        // No mapped texts: the statement stays as it is.
        const auto row = [](const char *name, const char *sql, const char *embedded = nullptr,
                            const char *server = nullptr) {
            QTest::newRow(name) << QString::fromUtf8(sql)
                                << QString::fromUtf8(embedded ? embedded : sql)
                                << QString::fromUtf8(server ? server : sql);
        };
        row("two dots", "select * from STATION..tbLogs", "select * from tbLogs",
            "select * from station.tbLogs");
        row("dbo and mixed case", "select Build_File.dbo.fn_IsX(:x)", "select fn_IsX(:x)",
            "select build_file.fn_IsX(:x)");
        row("blanks around dots", "update Patient_data . . tbPatient set a = 1",
            "update tbPatient set a = 1", "update patient_data.tbPatient set a = 1");
        row("literal untouched", "select 'STATION..tbX', 'it''s PASSWORD..y' from Password..tbP",
            "select 'STATION..tbX', 'it''s PASSWORD..y' from tbP",
            "select 'STATION..tbX', 'it''s PASSWORD..y' from password.tbP");
        row("unknown database untouched", "select * from FOO..bar, x.STATION..y");
        row("alias column not a database", "select station.StationID from tbX station");
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
        QVERIFY(db.exec(u"insert into STATION..tbStationLogs (Idnum, Transdate, Remarks, UserID, "
                        u"Hostname, StationID) values ('0051234', getdate(), 'Log In', '1001', "
                        u"host_name(), 'OR')"));
        auto row = db.selectOne(u"select Remarks, Transdate, Hostname from "
                                u"Station.dbo.tbStationLogs where Idnum = '0051234'");
        QVERIFY(row && *row);
        QCOMPARE((*row)->text(u"Hostname"), QStringLiteral("OR-TEST-01"));
        // Pinned by the fixture: the server's clock is the test hospital's day.
        QCOMPARE((*row)->dateTime(u"Transdate"), test::fixtureNow());
        QCOMPARE(db.loadServerDate().value_or(QDateTime()), test::fixtureNow());
        QCOMPARE(db.serverNow(), test::fixtureNow());
        // Unpinned, it follows the real clock to the second.
        QVERIFY(db.pinClock(QDateTime()));
        const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
        auto live = db.loadServerDate();
        QVERIFY(live && *live >= before && *live <= QDateTime::currentDateTime().addSecs(1));
    }

    // Names fold case beyond ASCII, by =, LIKE and a prefix range alike, and a prefix finds
    // the names whose next character lies beyond U+FFFF.
    void namesFoldCaseInEveryAlphabet_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<QStringList>("found");
        QTest::newRow("ñ typed small") << u"peña"_s << QStringList{u"PEÑA"_s, u"PEÑAFLOR"_s};
        QTest::newRow("é typed small") << u"élo"_s << QStringList{u"ÉLODIE"_s};
        QTest::newRow("beyond U+FFFF") << u"emoji"_s << QStringList{u"EMOJIS"_s, u"EMOJI😀TEST"_s};
        QTest::newRow("n is not ñ") << u"pena"_s << QStringList{u"PENA"_s};
    }
    void namesFoldCaseInEveryAlphabet()
    {
        QFETCH(QString, typed);
        QFETCH(QStringList, found);
        auto t = open(TestDatabase::Content::SchemaOnly);
        QVERIFY(t);
        Database &db = t->db();
        for (const QString &name : {u"PEÑA"_s, u"PEÑAFLOR"_s, u"ÉLODIE"_s, u"EMOJI😀TEST"_s,
                                    u"EMOJIS"_s, u"PENA"_s})
            QVERIFY(db.exec(u"insert into PATIENT_DATA..tbMaster (HospNum, LastName) "
                            u"values (:name, :name)",
                            {{"name", name}}));
        const PrefixRange range = prefixRange(typed);
        const auto names = [&](QStringView where, const Binds &binds) {
            const QString sql = u"select LastName from PATIENT_DATA..tbMaster where "_s +
                                where.toString() + u" order by LastName"_s;
            QStringList out;
            for (const Row &row : db.select(sql, binds).value_or(RowSet()))
                out << row.text(u"LastName");
            std::sort(out.begin(), out.end());
            return out;
        };
        std::sort(found.begin(), found.end());
        QCOMPARE(names(u"LastName >= :low and LastName < :high",
                       {{"low", range.low}, {"high", range.high}}),
                 found);
        QCOMPARE(names(u"LastName like :p escape '\\'", {{"p", likePrefix(typed)}}), found);
        if (found.contains(typed.toUpper()))
            QCOMPARE(names(u"LastName = :name", {{"name", typed}}), QStringList{typed.toUpper()});
    }

    void datesAreStoredAsIsoAndRoundTrip()
    {
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        Database &db = t->db();
        const QDateTime admitted(QDate(2026, 2, 28), QTime(23, 15, 7));
        for (const auto &[code, when] : QList<std::pair<QString, QVariant>>{
                 {"A", admitted}, {"B", QDate(2026, 3, 1)}, {"C", QDate(2025, 12, 31)}})
            QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, TransDate) values (:c, :d)",
                            {{"c", code}, {"d", when}}));
        auto a = db.selectOne(u"select TransDate from STATION..tbScratch where Code = 'A'");
        QVERIFY(a && *a);
        QCOMPARE((*a)->dateTime(u"TransDate"), admitted);
        // A date range bound as dates orders by time, not by the text a user sees.
        auto inRange = db.select(
            u"select Code, TransDate from STATION..tbScratch where TransDate >= :from and "
            u"TransDate < :to order by TransDate",
            {{"from", QDate(2026, 1, 1)}, {"to", QDate(2026, 3, 2)}});
        QVERIFY(inRange && inRange->count() == 2);
        QCOMPARE(inRange->at(0).text(u"Code"), QStringLiteral("A"));
        QCOMPARE(inRange->at(1).date(u"TransDate"), QDate(2026, 3, 1));
        if (db.backend() == Backend::Sqlite)
            QCOMPARE(db.scalar(u"select TransDate from STATION..tbScratch where Code = 'B'")
                         ->toString(),
                     QStringLiteral("2026-03-01 00:00:00"));
    }

    void moneyIsExactInStorage()
    {
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        Database &db = t->db();
        Money total;
        for (const char *text : {"1234.5678", "0.1", "0.2", "-250.0001", "99999999999.9999"}) {
            const Money m = *Money::parse(QString::fromLatin1(text));
            QVERIFY(db.exec(u"delete from STATION..tbScratch"));
            QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, Amount) values ('M', :a)",
                            {{"a", m.toVariant()}}));
            auto row = db.selectOne(u"select Amount from STATION..tbScratch");
            QVERIFY(row && *row);
            QCOMPARE((*row)->money(u"Amount"), m);
            total += (*row)->money(u"Amount");
        }
        QCOMPARE(total, *Money::parse(u"100000000984.8676"));
    }

    void hostileTextRoundTrips_data()
    {
        QTest::addColumn<QString>("text");
        QTest::newRow("apostrophe") << "D'ANGELO, MA. LUISA";
        QTest::newRow("statement breaker") << "x'); DELETE FROM tbScratch; --";
        QTest::newRow("placeholders and wildcards") << ":id ? $1 %s @str 100% _x_ C:\\R\\";
        QTest::newRow("non-ascii") << "PEÑA, JOSÉ — Ω";
        QTest::newRow("blanks kept inside") << "a  b\tc\nd";
    }
    void hostileTextRoundTrips()
    {
        QFETCH(QString, text);
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        Database &db = t->db();
        QVERIFY(db.exec(u"insert into STATION..tbScratch (Code, Remarks) values (:c, :r)",
                        {{"c", text}, {"r", text}}));
        auto back = db.select(u"select Remarks from STATION..tbScratch where Code = :c",
                              {{"c", text}});
        QVERIFY(back && back->count() == 1);
        QCOMPARE(back->at(0).text(u"Remarks"), text);
        QCOMPARE(count(db, u"select count(*) from STATION..tbScratch"), 1);
    }

    void failedWritesLeaveNothingBehind()
    {
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        Database &db = t->db();
        {
            Transaction tx = db.transaction();
            QVERIFY(db.exec(u"insert into STATION..tbScratch (Code) values ('HALF')"));
            QVERIFY(!db.exec(u"insert into STATION..tbNoSuchTable (Code) values ('X')"));
            // The routine ends here without commit: the guard rolls back.
        }
        QVERIFY(!db.inTransaction());
        QCOMPARE(count(db, u"select count(*) from STATION..tbScratch"), 0);
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
        // What was committed is there for another workstation.
        auto other = Database::open(t->settings());
        QVERIFY(other);
        auto codes = (*other)->select(u"select Code from STATION..tbScratch");
        QVERIFY(codes && codes->count() == 1);
        QCOMPARE(codes->at(0).text(u"Code"), QStringLiteral("KEEP"));
    }

    void rejectedStatementReachesTheErrorBox()
    {
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        Database &db = t->db();
        auto bad = db.select(u"select NoSuchColumn from STATION..tbScratch");
        QVERIFY(!bad);
        const QString message = bad.error().message;
        // The user reads the server's sentence, not its echo of the statement or its codes.
        QVERIFY2(message.contains(u"nosuchcolumn", Qt::CaseInsensitive) &&
                     !message.contains(u'\n') && !message.startsWith(u"ERROR") &&
                     !message.contains(u"PREPARE"),
                 qPrintable(message));
        test::RecordingNotifier notifier;
        notifier.errorBox(bad.error());
        QCOMPARE(notifier.lastText(), message + u"\n\nPlease notify your IT department."_s);
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
        QCOMPARE(db.call(u"STATION..sp_Test_Logs", {"OR"}).value_or(RowSet()).count(), 2);
        auto tooMany = db.call(u"STATION..sp_Test_Logs", {"OR", "Log", "extra"});
        QVERIFY(!tooMany);
        QCOMPARE(tooMany.error().message,
                 u"Procedure or function sp_Test_Logs has too many arguments specified."_s);
        auto missing = db.call(u"STATION..sp_Nowhere", {});
        QVERIFY(!missing);
        QCOMPARE(missing.error().message, u"Could not find stored procedure 'sp_Nowhere'."_s);
        QCOMPARE(db.parameterCount(u"station", u"SP_TEST_LOGS"), 2);
        QCOMPARE(db.parameterCount(u"STATION", u"sp_Nurse_Revoke_Request_Missing"), 0);
        QCOMPARE(db.parameterCount(u"BILLING", u"sp_Test_Logs"), 0);
    }

    void rowsAreCountedAndReadByAnyCase()
    {
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        Database &db = t->db();
        for (int i = 0; i < 7; ++i)
            QVERIFY(
                db.exec(u"insert into STATION..tbScratch (Code, Visits, IsActive, Quantity) "
                        u"values (:c, :v, :a, :q)",
                        {{"c", QString::number(i)}, {"v", i}, {"a", i % 2 == 1}, {"q", 0.5 * i}}));
        auto rows = db.select(u"select Code, Visits, IsActive, Quantity, Remarks from "
                              u"STATION..tbScratch order by Visits");
        QVERIFY(rows && rows->count() == 7);
        const Row &r = rows->at(3);
        QCOMPARE(r.integer(u"VISITS"), 3);
        QCOMPARE(r.flag(u"isactive"), true);
        QCOMPARE(rows->at(2).flag(u"IsActive"), false);
        QCOMPARE(r.number(u"quantity"), 1.5);
        QCOMPARE(r.text(u"Remarks"), QString());     // null reads as empty text
        QCOMPARE(r.text(u"NoSuchField"), QString()); // and so does a field that is not there
        QVERIFY(!r.has(u"NoSuchField"));
        auto none = db.selectOne(u"select Code from STATION..tbScratch where Code = 'none'");
        QVERIFY(none && !none->has_value());
        // Empty text is stored as empty, not as null.
        QVERIFY(db.exec(u"update STATION..tbScratch set Remarks = :r where Visits = 1",
                        {{"r", QString()}}));
        QCOMPARE(count(db, u"select Visits from STATION..tbScratch where Remarks = ''"), 1);
        QCOMPARE(count(db, u"select count(*) from STATION..tbScratch where Remarks is null"), 6);
    }

    void failuresAreKnownByTheirCode_data()
    {
        QTest::addColumn<Situation>("situation");
        QTest::addColumn<FailureKind>("kind");
        QTest::newRow("missing table") << Situation::MissingTable << FailureKind::Other;
        QTest::newRow("duplicate key") << Situation::DuplicateKey << FailureKind::Other;
        QTest::newRow("row held by another workstation")
            << Situation::RowHeldElsewhere << FailureKind::Contention;
    }

    void failuresAreKnownByTheirCode()
    {
        QFETCH(Situation, situation);
        QFETCH(FailureKind, kind);
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        QVERIFY(t->db().exec(u"insert into STATION..tbScratch (Code, Visits) values ('A', 1)"));
        QVERIFY(t->db().execRaw(t->db().mapNames(
            u"CREATE UNIQUE INDEX ux_tbScratch_Visits ON STATION..tbScratch (Visits)")));
        // This workstation waits a moment only for what another one holds.
        ConnectionSettings settings = t->settings();
        settings.waits.sqliteBusyMs = 50;
        settings.waits.lockMs = 50;
        auto mine = Database::open(settings);
        auto other = Database::open(t->settings());
        QVERIFY(mine && other);
        Transaction held = (*other)->transaction(TransactionMode::Write);
        QVERIFY((*other)->exec(u"update STATION..tbScratch set Remarks = 'held' where Visits = 1"));

        Result<int> done;
        switch (situation) {
        case Situation::MissingTable:
            done = (*mine)->exec(u"update STATION..tbNoSuchTable set Code = 'B'");
            break;
        case Situation::DuplicateKey:
            held.rollback();
            done = (*mine)->exec(u"insert into STATION..tbScratch (Code, Visits) values ('B', 1)");
            break;
        case Situation::RowHeldElsewhere:
            done = (*mine)->exec(u"update STATION..tbScratch set Code = 'B' where Visits = 1");
            break;
        }
        QVERIFY(!done);
        const Error &e = done.error();
        // The database's own code, the kind it names, and nothing read from the words.
        QVERIFY2(!e.code.isEmpty(), qPrintable(e.message));
        QCOMPARE(e.kind, kind);
        QCOMPARE(failureKindOf(test::backendOfRow(), e.code), kind);
        QCOMPARE(e.retryable(), kind == FailureKind::Contention);
        QVERIFY(!e.connectionLost());
        // Once the other lets go, the same write goes through.
        held.rollback();
        if (situation == Situation::RowHeldElsewhere)
            QVERIFY((*mine)->exec(u"update STATION..tbScratch set Code = 'B' where Visits = 1"));
    }

    void aLostConnectionIsOpenedAgain()
    {
        if (test::backendOfRow() != Backend::Postgres)
            QSKIP("the embedded file has no connection to lose");
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        test::CuttingProxy proxy(t->settings().host, t->settings().port);
        auto db = throughProxy(t->settings(), proxy);
        QVERIFY(db);
        QList<bool> heard;
        db->setReachabilityListener([&heard](bool reachable) { heard << reachable; });
        QVERIFY(db->exec(u"insert into STATION..tbScratch (Code) values ('BEFORE')"));

        // The server restarted: a read is asked again on a new connection, set up as before.
        proxy.dropAll();
        settle();
        QCOMPARE(db->scalar(u"select getdate()").value_or(QVariant()).toDateTime(),
                 test::fixtureNow());
        QCOMPARE(heard, (QList<bool>{false, true}));

        // Unreachable: every action says so, and the listener hears it once.
        proxy.refuse(true);
        proxy.dropAll();
        settle();
        auto read = db->select(u"select Code from STATION..tbScratch");
        QVERIFY(!read && read.error().connectionLost());
        auto write = db->exec(u"insert into STATION..tbScratch (Code) values ('LOST')");
        QVERIFY(!write && write.error().connectionLost());
        QVERIFY(db->connectionLost());
        QCOMPARE(heard, (QList<bool>{false, true, false}));

        // Back: the next action opens the connection again, with no new login.
        proxy.refuse(false);
        QVERIFY(db->exec(u"insert into STATION..tbScratch (Code) values ('AFTER')"));
        QCOMPARE(heard, (QList<bool>{false, true, false, true}));
        QCOMPARE(count(t->db(), u"select count(*) from STATION..tbScratch"), 2);
    }

    void writeTransactionsTriedAgainOnContentionAlone_data()
    {
        QTest::addColumn<int>("heldMs"); // how long another workstation holds the row
        QTest::addColumn<QString>("update");
        QTest::newRow("row held a moment: tried again whole")
            << 400 << u"update STATION..tbScratch set Code = 'C' where Visits = 1"_s;
        QTest::newRow("missing table: answered at once")
            << 0 << u"update STATION..tbNoSuchTable set Code = 'C'"_s;
    }

    void writeTransactionsTriedAgainOnContentionAlone()
    {
        QFETCH(int, heldMs);
        QFETCH(QString, update);
        const bool saved = heldMs > 0;
        auto t = open(TestDatabase::Content::Empty);
        QVERIFY(t);
        QVERIFY(t->db().exec(u"insert into STATION..tbScratch (Code, Visits) values ('A', 1)"));
        ConnectionSettings settings = t->settings();
        settings.waits.sqliteBusyMs = 50;
        settings.waits.lockMs = 50;
        auto mine = Database::open(settings);
        QVERIFY(mine);
        std::latch holding(1);
        bool held = !saved;
        std::thread other([&] {
            auto db = Database::open(t->settings());
            std::optional<Transaction> tx;
            if (db && saved) {
                tx.emplace((*db)->transaction(TransactionMode::Write));
                held = bool((*db)->exec(u"update STATION..tbScratch set Remarks = 'H'"));
            }
            holding.count_down();
            QThread::msleep(heldMs);
        });
        holding.wait();
        int calls = 0;
        Result<void> outcome = inWriteTransaction(**mine, [&]() -> Result<void> {
            ++calls;
            if (auto in = (*mine)->exec(u"insert into STATION..tbScratch (Visits) values (2)"); !in)
                return tl::unexpected(in.error());
            return done((*mine)->exec(update));
        });
        other.join();
        QVERIFY(held);
        QCOMPARE(outcome.has_value(), saved);
        // Saved once whatever the tries: an earlier try's row went with its rollback.
        QCOMPARE(count(t->db(), u"select count(*) from STATION..tbScratch where Visits = 2"),
                 int(saved));
        if (!saved)
            QCOMPARE(std::pair(outcome.error().kind, calls), std::pair(FailureKind::Other, 1));
    }
};

QTEST_GUILESS_MAIN(tst_Database)
#include "tst_database.moc"
