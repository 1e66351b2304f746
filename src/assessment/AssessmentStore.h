// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "charging/ChargeSlipNumber.h"
#include "charging/PostingLine.h"
#include "core/db/Error.h"
#include "core/db/Money.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kestrel {

class Database;

/// The three assessment windows: the cash patient selected, a walk-in by name, and the
/// clinical departments' examinations of the patient selected.
enum class AssessmentKind { Cash, WalkIn, Clinical };

/// How the kind is stored with the assessment: "CASH", "WALKIN" or "CLINICAL".
QString assessmentKindCode(AssessmentKind kind);

/// What an assessment line carries beyond the charge line's cells: the remarks, the specimen
/// of a laboratory examination and the portable machine of an X-ray.
struct AssessmentLineDetail
{
    QString remarks;
    QString specimen;
    bool portable = false;
};

/// One assessment line as it is saved: the grid's line and its details.
struct AssessmentLine
{
    PostingLine posting;
    AssessmentLineDetail detail;
};

/// What every line of one saved assessment shares.
struct AssessmentBatch
{
    AssessmentKind kind = AssessmentKind::WalkIn;
    QString number;
    QString station;
    QString IdNum;
    QString HospNum;
    QString patientName;
    QString userCode;
    QDateTime when;
    /// The identity the workstation gave the save before its first attempt.
    QString identity;
};

/// An assessment as the windows' lists show it.
struct AssessmentSummary
{
    QString number;
    QString patientName;
    QDateTime when;
    Money amount; ///< the sum of its lines
    QString status;
};

/// The statements of assessments. Every write runs on the caller's connection, inside the
/// transaction the caller holds; failures are handed back, never shown.
class AssessmentStore
{
public:
    explicit AssessmentStore(Database &db);

    /// The assessment number `n` of the counter drawn gives for `kind`: a walk-in's is a
    /// charge slip number; the others are "OR" and the counter (in NewCSlipFormat when set),
    /// or "OC2" and the inpatient counter in BirCSlipFormat under FifteenCSlipFormat.
    static QString number(const SlipFormat &format, AssessmentKind kind, qint64 n);
    /// The counter of the station's row the number of `kind` is drawn from.
    static QString counterColumn(const SlipFormat &format, AssessmentKind kind);

    /// Takes the next value of the counter of `kind` and moves it on by one, in one statement;
    /// nothing when the station has no counter row.
    Result<std::optional<qint64>> takeNumber(const QString &station, const SlipFormat &format,
                                             AssessmentKind kind);
    /// Writes the assessment; false (nothing written) when another assessment, a charge slip
    /// or a bill holds its number already.
    Result<bool> claimNumber(const AssessmentBatch &batch);
    /// Writes one line (STATION..sp_OR_AssessmentEntry).
    Result<void> saveLine(const AssessmentBatch &batch, const AssessmentLine &line);
    /// Fills this workstation's print buffer with the assessment's lines
    /// (STATION..sp_OR_PrintAssessment).
    Result<void> fillPrintBuffer(const QString &number);
    /// The number the save with `identity` landed as; nothing when it did not land.
    Result<std::optional<QString>> numberOfBatch(const QString &identity);

    /// The status of the assessment: "PENDING", "GIVEN", "REVOKED" or "PAID"; empty when
    /// there is no such assessment.
    Result<QString> status(const QString &number, AssessmentKind kind);
    /// Revokes the assessment and its lines when it is still pending or given; false when it
    /// was not (revoked or processed meanwhile).
    Result<bool> revoke(const QString &number, const QString &user, const QDateTime &when);

    /// The assessments a window lists: a walk-in window those of its station entered on `day`,
    /// the others those of the stay `IdNum`, newest first.
    Result<QList<AssessmentSummary>> list(AssessmentKind kind, const QString &station,
                                          const QString &IdNum, const QDate &day);

private:
    Database &m_db;
};

} // namespace kestrel
