// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Database.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>
#include <QStringList>

#include <array>
#include <functional>
#include <optional>

namespace kestrel {

/// The death a result entry records for the patient.
struct OutpatientDeath
{
    QString type; ///< "Natural Death" or "Dead on Arrival (DOA)"; empty when none is recorded
    QDateTime expired;
    QDateTime released;
    QString funeralParlor;
};

/// An outpatient OR visit with its result, as the result entry reads and writes it.
struct OutpatientRecord
{
    // The visit and its patient (read only).
    QString idNum, hospNum, erNum;
    QString lastName, firstName, middleName, sex;
    QDate birthDate;
    QDateTime admitted;

    // The result.
    QDateTime discharged;     ///< invalid: none (only for admission, where the hospital allows)
    int category = 0;         ///< 1 "Consultation" .. 6 "Referred"; 0 none chosen
    QString disposition;      ///< as the disposition list names it
    QString erClassification; ///< the ER classification chosen
    std::array<QString, 5> erProcedures; ///< the ER procedures ticked, in tick order
    int condition = 0;                   ///< 1 stable, 2 critical, 3 expired; 0 none chosen
    std::array<QString, 5> services;
    std::array<QString, 5> doctors;
    std::array<QString, 10> diagnoses; ///< ICD-10 codes
    QString findings, medications, chiefComplaints, briefHistory, remarks;
    std::array<QString, 3> chiefComplaintIds;
    QString dietId;
    QString referredTo, reasonOfReferral;
    QDateTime transferred; ///< invalid: not transferred
    OutpatientDeath death;
    QString precautionId;
};

/// An infection-control precaution the hospital uses, with its colour (0xBBGGRR).
struct Precaution
{
    QString id;
    QString caption;
    int color = 0;
};

/// A code found by a look-up: its name, and for a diet its remark.
struct CodeName
{
    QString name;
    QString remark;
};

/// How a result entry's save ended.
enum class OutpatientSaveOutcome { Saved, VisitGone };

/// Reads and writes the result of outpatient OR visits. The save is one transaction, tried
/// again whole while another workstation holds what it needs.
class OutpatientResultStore
{
public:
    explicit OutpatientResultStore(Database &db)
        : m_db(db)
    {
    }

    /// The visit `idNum` with what was entered before; nullopt when there is no such visit.
    Result<std::optional<OutpatientRecord>> load(const QString &idNum);
    Result<QList<Precaution>> precautions();

    /// The look-ups of the window's code fields; nullopt when the code does not exist.
    Result<std::optional<CodeName>> doctor(const QString &code);
    Result<std::optional<CodeName>> service(const QString &code);
    /// A chief complaint code: an item of the procedure list's section "AA".
    Result<std::optional<CodeName>> chiefComplaint(const QString &code);
    Result<std::optional<CodeName>> diet(const QString &code);
    Result<std::optional<CodeName>> icd(const QString &code);

    Result<bool> hasPendingRequests(const QString &idNum);

    /// Writes `record`'s result for `employee`: the main save, the single updates, the death,
    /// the precaution and, for any category but admission, the withdrawal of a request for
    /// admission sent today. Nothing is written when any statement fails.
    Result<OutpatientSaveOutcome> save(const OutpatientRecord &record, const QString &employee);

private:
    template <typename T> Result<T> inTransaction(const std::function<Result<T>()> &write);
    Result<std::optional<CodeName>> codeName(QStringView sql, const QString &code);
    Result<OutpatientSaveOutcome> write(const OutpatientRecord &record, const QString &employee);

    Database &m_db;
};

/// The category code of "For Admission".
inline constexpr int kCategoryForAdmission = 3;

} // namespace kestrel
