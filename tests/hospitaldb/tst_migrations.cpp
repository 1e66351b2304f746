// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// A database of the release before versions were recorded is upgraded to the schema a fresh
// database gets, keeping every row; a migration that fails half-way leaves nothing of itself;
// a database newer than the program is left alone.
#include "hospitaldb/Migrations.h"
#include "support/TestDatabase.h"

#include <QSet>
#include <QRegularExpression>
#include <QTest>

using namespace kestrel;
using namespace Qt::StringLiterals;

namespace {

// Every column of every hospital table, as "table.column type", lower case.
QSet<QString> columns(Database &db)
{
    Result<RowSet> rows;
    if (db.backend() == Backend::Sqlite)
        rows =
            db.select(u"select m.name || '.' || p.name || ' ' || p.type as c from sqlite_master m "
                      u"join pragma_table_info(m.name) p where m.type = 'table' "
                      u"and m.name not like 'sqlite%'");
    else
        rows =
            db.select(u"select table_schema || '.' || table_name || '.' || column_name || ' ' "
                      u"|| data_type as c from information_schema.columns "
                      u"where table_schema not in ('pg_catalog', 'information_schema', 'public')");
    QSet<QString> out;
    for (const Row &r : *rows)
        out.insert(r.text(u"c").toLower());
    return out;
}

qint64 count(Database &db, QStringView sql)
{
    auto n = db.scalar(sql);
    return n ? n->toLongLong() : -1;
}

// A demo hospital as the release before versions wrote it: no version table, no one-time
// passwords.
std::unique_ptr<test::TestDatabase> previousRelease()
{
    auto t = test::TestDatabase::create(test::backendOfRow());
    if (!t)
        return nullptr;
    Database &db = (*t)->db();
    if (!db.execRaw(db.mapNames(u"DROP TABLE STATION..tbSchemaVersion")) ||
        !db.execRaw(db.mapNames(u"ALTER TABLE PASSWORD..tbPasswordMaster "
                                u"DROP COLUMN MustChangePassword")))
        return nullptr;
    // Every later step undone, the last first: its indexes, columns and tables.
    static const QRegularExpression undoable(
        u"^(CREATE TABLE|CREATE INDEX|CREATE UNIQUE INDEX|ALTER TABLE) (\\S+)"
        u"( ADD COLUMN (\\S+)| ON (\\S+))?"_s);
    const QList<hospitaldb::Migration> steps = hospitaldb::migrations();
    for (auto step = steps.crbegin(); step != steps.crend() && step->version > 3; ++step) {
        for (auto it = step->statements.crbegin(); it != step->statements.crend(); ++it) {
            const QRegularExpressionMatch m = undoable.match(*it);
            if (!m.hasMatch())
                continue;
            QString undo = u"DROP TABLE "_s + m.captured(2);
            if (m.captured(1) == u"ALTER TABLE")
                undo = u"ALTER TABLE "_s + m.captured(2) + u" DROP COLUMN "_s + m.captured(4);
            else if (m.captured(1) != u"CREATE TABLE")
                undo = u"DROP INDEX IF EXISTS "_s + m.captured(5).section(u".."_s, 0, 0) +
                       u".."_s + m.captured(2);
            if (!db.execRaw(db.mapNames(undo)))
                return nullptr;
        }
    }
    // Neither the tables nor the room indexes of the third step, which came with the schedule
    // board, the profile and the code lists.
    static const QRegularExpression made(u"^CREATE (TABLE|INDEX) (\\S+)( ON (\\S+))?"_s);
    for (const QString &statement : hospitaldb::migrations().at(2).statements) {
        const QRegularExpressionMatch m = made.match(statement);
        if (!m.hasMatch())
            continue;
        QString drop = u"DROP TABLE "_s + m.captured(2);
        if (m.captured(1) == u"INDEX")
            drop = u"DROP INDEX IF EXISTS "_s + m.captured(4).section(u".."_s, 0, 0) + u".."_s +
                   m.captured(2);
        if (!db.execRaw(db.mapNames(drop)))
            return nullptr;
    }
    if (!db.execRaw(db.mapNames(u"CREATE INDEX ix_tbORScheduleDetails_Room ON "
                                u"SCHEDULE..tbORScheduleDetails (RoomID, StartTime)")))
        return nullptr;
    return std::move(*t);
}

} // namespace

class tst_Migrations : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase_data() { test::addBackendRows(); }

    void upgradesThePreviousRelease();
    void failedMigrationLeavesNothing();
    void refusesANewerDatabase();
};

void tst_Migrations::upgradesThePreviousRelease()
{
    auto fresh =
        test::TestDatabase::create(test::backendOfRow(), test::TestDatabase::Content::SchemaOnly);
    QVERIFY(fresh);
    QCOMPARE(hospitaldb::schemaVersion((*fresh)->db()).value(), hospitaldb::latestSchemaVersion());
    auto old = previousRelease();
    QVERIFY(old);
    Database &db = old->db();
    QCOMPARE(hospitaldb::schemaVersion(db).value(), 0);
    QVERIFY(columns(db) != columns((*fresh)->db()));
    const qint64 employees = count(db, u"select count(*) from PASSWORD..tbPasswordMaster");
    const qint64 charges = count(db, u"select count(*) from STATION..tbNurseLogBook");
    QVERIFY(employees > 0 && charges > 0);

    auto done = hospitaldb::upgradeSchema(db);
    QVERIFY2(done, qPrintable(done ? QString() : done.error().message));
    QCOMPARE(done->from, 0);
    QCOMPARE(done->to, hospitaldb::latestSchemaVersion());
    QCOMPARE(done->applied.size(), hospitaldb::migrations().size());
    QCOMPARE(columns(db), columns((*fresh)->db()));
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbPasswordMaster"), employees);
    QCOMPARE(count(db, u"select count(*) from STATION..tbNurseLogBook"), charges);
    QCOMPARE(count(db, u"select count(*) from PASSWORD..tbPasswordMaster "
                       u"where MustChangePassword = 0"),
             employees);

    // Once more: nothing left to do.
    auto again = hospitaldb::upgradeSchema(db);
    QVERIFY(again && again->applied.isEmpty());
}

void tst_Migrations::failedMigrationLeavesNothing()
{
    auto old = previousRelease();
    QVERIFY(old);
    Database &db = old->db();
    QList<hospitaldb::Migration> steps = hospitaldb::migrations();
    const int next = hospitaldb::latestSchemaVersion() + 1;
    steps << hospitaldb::Migration{
        next,
        u"Every employee's ward, and a statement that fails"_s,
        {u"ALTER TABLE PASSWORD..tbPasswordMaster ADD COLUMN Ward vchar NOT NULL DEFAULT ''"_s,
         u"ALTER TABLE STATION..tbNoSuchTable ADD COLUMN Ward vchar"_s}};

    auto failed = hospitaldb::upgradeSchema(db, steps);
    QVERIFY(!failed);
    QVERIFY2(failed.error().message.contains(u"Migration %1"_s.arg(next)),
             qPrintable(failed.error().message));
    // The migrations before it are kept; its own first statement is not.
    QCOMPARE(hospitaldb::schemaVersion(db).value(), next - 1);
    QVERIFY(!db.scalar(u"select count(Ward) from PASSWORD..tbPasswordMaster"));

    steps.last().statements.removeLast();
    auto finished = hospitaldb::upgradeSchema(db, steps);
    QVERIFY2(finished, qPrintable(finished ? QString() : finished.error().message));
    QCOMPARE(finished->applied, QList<int>{next});
    QCOMPARE(count(db, u"select count(Ward) from PASSWORD..tbPasswordMaster"),
             count(db, u"select count(*) from PASSWORD..tbPasswordMaster"));
}

void tst_Migrations::refusesANewerDatabase()
{
    KESTREL_OPEN_DEMO(db);
    const int newer = hospitaldb::latestSchemaVersion() + 1;
    QVERIFY(hospitaldb::recordSchemaVersion(db, newer, u"From a later release"_s));
    auto refused = hospitaldb::upgradeSchema(db);
    QVERIFY(!refused);
    QVERIFY2(refused.error().message.contains(u"newer"), qPrintable(refused.error().message));
    QCOMPARE(hospitaldb::schemaVersion(db).value(), newer);
}

QTEST_GUILESS_MAIN(tst_Migrations)
#include "tst_migrations.moc"
