// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"
#include "core/db/RowSet.h"

#include <QDateTime>
#include <QList>
#include <QString>

#include <array>
#include <optional>

namespace kestrel {

class Database;

/// An examination as a department's master file describes it, with its price at each rate
/// letter A to I.
struct ExamRecord
{
    QString department, code, description, section;
    std::array<Money, 9> rates{};
    /// How many times one line may charge it: 1 unless it is a procedure with an open quantity.
    int maxQuantity = 1;
    /// The laboratory's STAT rule: "Y" always STAT, "N" always routine, empty the nurse's choice.
    QString statRule;
    bool specimenRequired = false;

    /// The price at `letter` ("A" to "I"); the "A" price for any other letter.
    Money rate(const QString &letter) const;
};

/// A request of the stay that the checks found.
struct FoundRequest
{
    QString requestNum, stationId, message, by;
    QDateTime at;
};

/// One examination of a laboratory profile.
struct ProfileExam
{
    QString examId, examName, profileId, profileName;
};

/// A specimen the laboratory takes an examination from.
struct Specimen
{
    QString id, name;
};

/// What became of a request: who sent it, its state (empty pending, "R" revoked, "X"
/// processed), and who revoked or processed it and when.
struct RequestState
{
    QString stationId, recordStatus, revokedBy, processedBy;
    QDateTime revokedAt, processedAt;
};

/// The statements of the exam requests. Every value is bound.
class ExamRequestStore
{
public:
    explicit ExamRequestStore(Database &db)
        : m_db(db)
    {
    }

    /// The code look-up kind of `department`'s examinations (18 the laboratory, 21 the items
    /// of any department without an examination list of its own).
    static int lookupKind(const QString &department);

    /// The examination `code` of `department`; nothing when the department has no such exam.
    Result<std::optional<ExamRecord>> exam(const QString &department, const QString &code);
    /// The stay's request of the exam still waiting for the department.
    Result<std::optional<FoundRequest>> pendingRequest(const QString &idNum, const QString &code,
                                                       const QString &department);
    /// The stay's request of the exam the department processed today.
    Result<std::optional<FoundRequest>> processedToday(const QString &idNum, const QString &code,
                                                       const QString &department);
    /// The stay's latest request of the exam sent today, whatever became of it.
    Result<std::optional<FoundRequest>> latestToday(const QString &idNum, const QString &code,
                                                    const QString &department);
    /// What became of request `requestNum`; nothing for an unknown number.
    Result<std::optional<RequestState>> requestState(const QString &requestNum);
    /// The examinations of the laboratory profile `code`; none when it is no profile.
    Result<QList<ProfileExam>> profileList(const QString &code);
    /// The specimens of laboratory exam `code` by name ("47"/"NONE" for an exam with a specimen
    /// row that names no specimen).
    Result<QList<Specimen>> specimens(const QString &code);
    /// The specimen the laboratory takes exam `code` from when none is named: "0"/"None" when
    /// it has none.
    Result<Specimen> defaultSpecimen(const QString &code);
    /// Whether the stay's account is on cash basis.
    Result<bool> cashBasis(const QString &idNum, bool outpatient);
    /// The room of an admission (empty for a visit), for its rate letter.
    Result<QString> roomOf(const QString &idNum);

private:
    Result<std::optional<FoundRequest>> found(Result<RowSet> rows, QStringView at,
                                              QStringView by);

    Database &m_db;
};

} // namespace kestrel
