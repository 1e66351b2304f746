// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QStringList>

namespace kestrel::hospitaldb {

/// One statement of a schema file, ready for one backend.
struct SchemaStatement
{
    QString database; ///< the hospital database the file creates, e.g. "STATION"
    QString sql;
};

/// The statements of one schema file (`text`, for hospital database `database`) written for
/// `backend`: type words mapped, comments dropped, split into single statements.
QList<SchemaStatement> translateSchema(const QString &database, const QString &text,
                                       Backend backend);

/// The hospital databases that have schema files, in the order they are created.
QStringList schemaDatabases();

/// What a server database needs before any hospital table: the case-blind text type and the
/// functions getdate() and host_name(). Nothing to do on SQLite, which has them built in.
Result<void> prepareServerDatabase(Database &db);

/// Creates every table, index and helper function of the hospital database on an empty
/// database, in one transaction, and records the schema version. Both the program (embedded
/// hospital) and the tests use it.
Result<void> applySchema(Database &db);

/// applySchema() without prepareServerDatabase(): the schemas, tables and indexes, and the
/// schema version. The administration tool prepares the server database as its own login
/// and creates the tables as the role that is to own them.
Result<void> createHospitalTables(Database &db);

/// A fingerprint of the schema files; changes whenever a file does.
QString schemaFingerprint();

} // namespace kestrel::hospitaldb
