// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QList>
#include <QStringList>

#include <functional>

namespace kestrel::hospitaldb {

/// One step of the hospital database's schema: the statements that bring a database of the
/// version before it to `version`. Statements are written as the schema files are (their
/// column types) with the hospital's object names (`PASSWORD..tbPasswordMaster`).
struct Migration
{
    int version = 0;
    QString description;
    QStringList statements;
};

/// Every migration, oldest first. A release that changes a schema file adds one here that
/// makes the same change to a database of the release before; the schema files always hold
/// the newest schema, so a freshly created database needs none of them.
const QList<Migration> &migrations();

/// The schema version this program creates and works with: the last migration's.
int latestSchemaVersion();

/// The database's schema version: 0 for a hospital database made before versions were
/// recorded. Fails when the database holds no hospital at all.
Result<int> schemaVersion(Database &db);

/// Whether the database holds a hospital: the employees' table exists.
Result<bool> holdsHospital(Database &db);

/// Records that the database now has the schema of `version` (its own transaction or the
/// caller's).
Result<void> recordSchemaVersion(Database &db, int version, const QString &description);

/// What upgradeSchema() did: the versions it applied, in order.
struct UpgradeOutcome
{
    int from = 0;
    int to = 0;
    QList<int> applied;
};

/// Brings the database to the last of `steps`, running each migration it lacks in order, each
/// in one transaction with the row that records it: a migration that fails, or a process
/// killed half-way, leaves the database at the version before it, and running the upgrade
/// again goes on from there. `beforeEach` runs first inside each migration's transaction (the
/// administration tool takes the schema owner's role there); `beforeCommit` runs after the
/// migration's statements and the row that records it, just before its commit. Refuses a
/// database of a newer version than `steps` know.
Result<UpgradeOutcome>
upgradeSchema(Database &db, const QList<Migration> &steps = migrations(),
              const std::function<Result<void>(Database &)> &beforeEach = {},
              const std::function<void(const Migration &)> &beforeCommit = {});

} // namespace kestrel::hospitaldb
