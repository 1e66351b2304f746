// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeEntryPrompts.h"
#include "core/CurrentPatient.h"
#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDate>
#include <QList>
#include <QString>

namespace kestrel {

class Database;

/// A department the OR charges to (`lvwDepartments`).
struct ChargeDepartment
{
    QString code;
    QString name;
};

/// A charge of the stay already posted and not revoked (`mshflexList`).
struct PostedCharge
{
    qint64 logBookId = 0;
    QString department;
    QString item;
    QString description;
    double quantity = 0;
    Money amount;
    QString chargeSlip;
    QString packageId;
};

/// What the charge window shows above the grids about the stay.
struct ChargePatientHeader
{
    QString patientName;
    QString idNum;
    QString hospNum;
    QString room;
    QString status; ///< the patient's civil status
    QDate birthDate;
    QString sex;
    QDateTime admitted;
    QDateTime discharged;
    QString diet;
    QString bloodType;
    QString diagnosis;
    QString admittingDoctor;
    QString attendingDoctor1;
    QString attendingDoctor2;
    QString membership; ///< the national health insurance membership, by its name
};

/// The statements of the charge window. Values are bound; a failure comes back as the
/// database's error.
class ChargeEntryStore
{
public:
    explicit ChargeEntryStore(Database &db)
        : m_db(db)
    {
    }

    /// The departments station `station` may charge to, by name.
    Result<QList<ChargeDepartment>> departments(const QString &station);
    /// The charges of the stay that are posted by `station` and not revoked, oldest first.
    Result<QList<PostedCharge>> postedCharges(const QString &IdNum, const QString &station);
    /// The header of `stay`; nothing when the stay is gone.
    Result<std::optional<ChargePatientHeader>> header(const CurrentPatientRecord &stay);

    /// The stay's account is on cash basis.
    Result<bool> isCashBasis(const QString &IdNum);
    /// The item may be charged to cash-basis patients: a stock item when the department draws
    /// from a stock location, a service otherwise.
    Result<bool> isUnrestricted(const QString &department, const QString &item);
    /// The hospital adds doctors' meals to OR lines.
    Result<bool> mealDoctors();
    /// The OR procedures a tagged OR line may stand for.
    Result<QList<ORProcedure>> orProcedures();

private:
    Database &m_db;
};

} // namespace kestrel
