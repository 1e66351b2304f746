// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "TableFile.h"

#include "core/db/Database.h"

#include <QList>
#include <QMap>
#include <QString>

#include <functional>
#include <optional>

namespace kestrel::admin {

/// The master files a hospital brings along, in the order they are loaded: a file may name
/// codes of the files before it (an item its revenue code, an OR room its department).
enum class MasterKind { RevenueCodes, Rooms, Doctors, Items, Employees };

/// "revenue-codes", "rooms", "doctors", "items", "employees".
QString masterKindName(MasterKind kind);
std::optional<MasterKind> masterKindFromName(QStringView name);

/// One file to load and what it holds.
struct MasterFile
{
    MasterKind kind;
    QString path;
};

/// A row the import turns away, and why, in words the office that keeps the file follows.
struct RefusedRow
{
    QString file;
    int line = 0; ///< 0: the file as a whole
    QString reason;
};

/// What an import found and did.
struct ImportReport
{
    QList<RefusedRow> refused;
    QMap<MasterKind, int> accepted;   ///< rows that are (or, in a dry run, would be) added
    QMap<MasterKind, int> updated;    ///< rows that replace (or would replace) existing ones
    QMap<QString, QString> encodings; ///< how each file was read
    bool written = false;
};

/// Loads master files into the hospital database. Every row of every file is checked first
/// (required columns, codes that must exist, codes that must not repeat, in the file or in
/// the database, numbers that must be numbers); when any row is refused, or on a dry run,
/// nothing is written and the report lists every refusal. Otherwise all rows are written in
/// one transaction: all of them or, on a failure, none.
///
/// Existing rows are not changed: a code the database already holds is refused, unless
/// setUpdateExisting() asks that the row of an item, doctor or OR room with that code take the
/// file's values. A code twice in the files is refused either way.
class MasterImport
{
public:
    explicit MasterImport(Database &db);

    void setUpdateExisting(bool update) { m_updateExisting = update; }

    void add(const MasterFile &file) { m_files << file; }
    /// Rows of a file read already (tests, benchmarks), under the name `file`.
    void add(MasterKind kind, const QString &file, TableFile table);

    Result<ImportReport> run(bool dryRun);

private:
    struct Pending;
    Result<void> loadExisting();
    void check(MasterKind kind, const QString &file, const TableFile &table, ImportReport &report);
    Result<void> write(const ImportReport &report);

    Database &m_db;
    QList<MasterFile> m_files;
    QList<std::tuple<MasterKind, QString, TableFile>> m_tables;
    std::shared_ptr<Pending> m_pending;
    bool m_updateExisting = false;
};

} // namespace kestrel::admin
