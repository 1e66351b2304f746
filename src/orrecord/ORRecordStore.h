// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"
#include "orrecord/ORCounts.h"
#include "orrecord/ORRecord.h"
#include "orrecord/ORSignature.h"

#include <QHash>
#include <QStringList>

#include <functional>
#include <optional>

namespace kestrel {

class Database;

/// A record as it was read: its fields, the names of the people in it and who signed.
struct LoadedORRecord
{
    ORRecord record;
    QHash<QString, QString> names;      ///< "Surgeon1", "SNurse1", ... as the record reads them
    QHash<ORRole, QString> signedBy;    ///< employee code per signed role
};

/// What one save writes besides the record's fields.
struct ORSaveContext
{
    QString hospNum;
    QString idNum;
    QString refNum;
    QString patientClass;  ///< "I" or "O"
    QString employeeCode;  ///< the validated user
    qint64 operatingNum = 0; ///< 0 for a new record
    ORRecordSwitches switches;
};

/// The columns of the record that the surgical memo adds: case number, counts, anaesthetic
/// agent, vital signs and the obstetric data, each a text.
const QStringList &memoRecordColumns();

/// The SQL of the OR record: STATION..tbORMasterFile, its look-ups and its counts.
class ORRecordStore
{
public:
    explicit ORRecordStore(Database &db)
        : m_db(db)
    {
    }

    /// The record `operatingNum` of the stay, or nullopt when there is none.
    Result<std::optional<LoadedORRecord>> load(const QString &hospNum, const QString &idNum,
                                               qint64 operatingNum);
    /// The stay's patient header: name, sex, birth date, room, admission and discharge, the
    /// doctors' names (attending 1 and 2 and admitting, or the visit's doctors).
    Result<std::optional<Row>> stay(const QString &idNum, bool outpatient);
    /// The active OR rooms by their sort order.
    Result<QStringList> rooms();
    /// "LAST, FIRST" of an active doctor; empty when there is no such doctor.
    QString doctorName(const QString &code);
    /// "LAST, FIRST" of an employee; empty when there is none.
    QString employeeName(const QString &code);
    /// The description of an item of the procedure list in `section` ("OR", "EA").
    QString procedureName(const QString &code, const QString &section);
    /// The RVS description and points of a code; nullopt when the scale has no such code.
    std::optional<std::pair<QString, double>> rvs(const QString &code);
    /// Doctors, items of a section or RVS codes whose code or name begins with `typed`:
    /// code and description.
    Result<QList<std::pair<QString, QString>>> search(const QString &list, const QString &typed);

    /// Saves the record in one transaction: the save procedure, the new record's number when
    /// it had none, then the columns the procedure does not write, and the counts when given.
    /// Answers the number.
    /// `alsoWrite` writes what a window keeps beside the record (the surgical memo's sponge
    /// records), given the record's number, inside the same transaction.
    Result<qint64> save(const ORRecord &record, const ORSaveContext &context,
                        const QList<ORCountLine> *counts = nullptr,
                        const std::function<Result<void>(qint64)> &alsoWrite = {});

    /// Whether doctor `doctorCode` logs in as `employeeCode`.
    Result<bool> isDoctorsUser(const QString &doctorCode, const QString &employeeCode);
    /// Whether `employeeCode` has a signature image.
    Result<bool> hasSignatureImage(const QString &employeeCode);
    /// Signs `role` of record `operatingNum` for `employeeCode` at the server's time; false when
    /// the record is not there any more.
    Result<bool> sign(qint64 operatingNum, ORRole role, const QString &employeeCode);
    Result<void> clearSignature(qint64 operatingNum, ORRole role);
    /// Deletes the record and its counts; answers how many records went.
    Result<int> reset(qint64 operatingNum);

    /// The counts of the record (both grids); rows the nurse has not filled are not kept.
    Result<QList<ORCountLine>> counts(const QString &idNum, qint64 operatingNum);
    /// Replaces the counts of the record in one transaction, with who counted and when.
    Result<void> saveCounts(const QString &idNum, qint64 operatingNum,
                            const QList<ORCountLine> &lines, const QString &countedBy);

private:
    Database &m_db;
};

} // namespace kestrel
