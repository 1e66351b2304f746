// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QDateTime>

#include <memory>

namespace kestrel::test {

/// The day the test hospital lives in: demo stays are dated around it and getdate() answers
/// it, so no test depends on the day it runs.
QDate fixtureToday();
QDateTime fixtureNow();

/// Adds one global data row per backend the db tests run on ("sqlite", "postgres"). Call it
/// from a test's initTestCase_data(); read the row with backendOfRow().
///
/// KESTREL_TEST_BACKEND chooses: "sqlite" (the default), "postgres" or "both"; PostgreSQL
/// needs KESTREL_TEST_PG="host:port:user" naming a server where that user may create
/// databases.
void addBackendRows();
/// The backend of the current global data row.
Backend backendOfRow();

/// A fresh hospital database for one test, dropped when the test ends.
class TestDatabase
{
public:
    enum class Content { Demo, SchemaOnly, Empty };

    ~TestDatabase();

    /// A fresh database with `content`, or a failed Result telling why.
    static Result<std::unique_ptr<TestDatabase>> create(Backend backend,
                                                        Content content = Content::Demo);

    Database &db() { return *m_db; }
    Database *operator->() { return m_db.get(); }
    /// Where the same database is reached by a second connection (another workstation).
    const ConnectionSettings &settings() const { return m_settings; }
    /// A connection of workstation "OR-WS-0`n`" to the same database, with the hospital's
    /// procedures and the test's clock, as the test's own connection has them.
    Result<std::unique_ptr<Database>> openWorkstation(int n) const;

private:
    TestDatabase() = default;
    std::unique_ptr<Database> m_db;
    ConnectionSettings m_settings;
    QString m_dropName; // PostgreSQL database to drop
};

} // namespace kestrel::test

/// Opens a fresh demo hospital on the current row's backend into `var`, failing the test
/// with the reason when it cannot.
#define KESTREL_OPEN_DEMO(var)                                                                     \
    auto var##Result = ::kestrel::test::TestDatabase::create(::kestrel::test::backendOfRow());     \
    QVERIFY2(var##Result.has_value(),                                                              \
             qPrintable(var##Result ? QString() : var##Result.error().message));                   \
    ::kestrel::Database &var = (*var##Result)->db()
