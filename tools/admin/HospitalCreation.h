// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"
#include "hospitaldb/demo/DemoSettings.h"

#include <QString>

namespace kestrel::admin {

/// How a new hospital database is made.
struct CreateOptions
{
    bool demo = false; ///< fill it with the demo hospital
    /// Without the demo: the hospital's name and address (both required) and the station
    /// whose charge slip counters start at 1.
    hospitaldb::HospitalIdentity identity;
    QString station = QStringLiteral("OR");
    /// PostgreSQL: the role that owns the schemas and everything in them (no login), and the
    /// role the workstations log in as, which may read and write rows and nothing more.
    QString ownerRole = QStringLiteral("kestrel_owner");
    QString workstationRole = QStringLiteral("kestrel_workstation");
};

/// What the workstations need from a new hospital.
struct CreateOutcome
{
    /// The key re-validation passwords are scrambled with: it goes into every workstation's
    /// kestrel-installation.ini.
    QString scrambleKey;
};

/// Why a database cannot take a new hospital: "" when it can (it holds no table, view or
/// schema of anybody's), else the sentence to show.
Result<QString> refusalToCreate(Database &db);

/// Creates the hospital on an empty database in one transaction: schemas, tables, indexes,
/// the schema version, the password key and either the demo hospital or the settings rows a
/// workstation needs (hospitaldb::writeHospitalSettings()). On PostgreSQL it
/// also makes the two roles (or takes them as they are, when they exist and neither is a
/// superuser): the owner role owns every schema and table, the workstation role gets only
/// the right to read and write rows, now and in tables later migrations add. The login that
/// runs it must be allowed to create roles and must own the database (or be a superuser).
/// A failure leaves the database as it was.
Result<CreateOutcome> createHospital(Database &db, const CreateOptions &options);

/// The role that owns the hospital's schemas, when the current login may act as it: the
/// upgrade then creates what it creates as that role, so the workstations' rights reach it.
/// "" when there is none to take.
Result<QString> schemaOwnerToAssume(Database &db);

/// `name` as an SQL identifier: role and database names cannot be bound, so they are quoted.
QString quotedIdentifier(const QString &name);

} // namespace kestrel::admin
