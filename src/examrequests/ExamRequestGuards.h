// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/Money.h"
#include "examrequests/ExamRequestStore.h"

#include <QDateTime>
#include <QList>
#include <QString>

namespace kestrel {

class Database;
class Session;

/// One order line of an exam request: what the entry grid shows and what the profile sends.
struct ExamRequestLine
{
    QString department, code, description, section;
    double quantity = 1;
    Money unitPrice, amount;
    /// "Y" STAT, "N" routine.
    QString stat = QStringLiteral("N");
    QString remarks, reason;
    QString specimenId, specimen;
    /// How many times the line may charge the exam; 0 for no limit.
    int maxQuantity = 1;
    QString statRule;
    bool specimenRequired = false;
};

/// The checks that guard an exam request, in the hospital's order: the exam already requested
/// and waiting, processed today (the nurse may repeat it), part of a laboratory profile being
/// ordered, revoked or processed today by another station, and the STAT rules. The request
/// entry runs them as the nurse types; the profile's save runs them again for every line
/// inside its transaction, where no question can be asked.
class ExamRequestGuards
{
public:
    enum class Outcome { Passed, Refused, Failed };

    explicit ExamRequestGuards(Session &session);

    /// The checks of an exam picked for the stay, the first refusal told: already requested
    /// (its message and date, box "Message "), processed today (No to the repeat refuses),
    /// for the laboratory the exam inside a profile of the orders and an order inside the
    /// exam's own profile, then revoked or processed today by another station. `profiles` is
    /// the profile grid (the exams of the profiles among the orders); a laboratory exam that
    /// passes brings its own profile's exams into it.
    Outcome checkExam(const QString &idNum, const QString &department, const QString &code,
                      const QString &name, const QList<ExamRequestLine> &orders,
                      QList<ProfileExam> &profiles);
    /// The STAT rules for `typed` in the STAT column of `line`: only Y or N, the exam's own
    /// rule, and no STAT request for a cash-basis patient.
    Outcome checkStat(const QString &idNum, bool outpatient, const ExamRequestLine &line,
                      const QString &typed);
    /// Every check in order, as a line picked and then given its STAT flag goes through them.
    Outcome check(const QString &idNum, bool outpatient, const ExamRequestLine &line,
                  const QList<ExamRequestLine> &orders, QList<ProfileExam> &profiles);

    /// The STAT flag a new line starts with: the exam's own rule, else STAT on Saturdays and
    /// after five in the afternoon, routine otherwise; routine for a cash-basis patient.
    static QString defaultStat(const QString &statRule, const QDateTime &serverNow,
                               bool cashBasis);
    /// The refusal of a laboratory line sent without the specimen its exam needs; empty when
    /// it may go.
    static QString specimenRefusal(const ExamRequestLine &line);

    /// The checks a save repeats for `line` in its own transaction on `db`, without questions:
    /// already requested and waiting, revoked or processed today by another station than
    /// `stationId`, the STAT rules, the specimen. The first refusal's text; empty when the line
    /// may be sent.
    static Result<QString> checkOnSave(Database &db, const QString &stationId,
                                       const QString &idNum, bool outpatient,
                                       const ExamRequestLine &line);

private:
    /// Why a request of another station may not be repeated: revoked or processed by whom and
    /// when; empty for a request still pending or of this station.
    static QString otherStationRefusal(const RequestState &state, const QString &stationId);
    static QString statRefusal(const ExamRequestLine &line, const QString &typed, bool cashBasis);
    Outcome refuse(const QString &text);
    Outcome fail(const Error &error);

    Session &m_session;
};

} // namespace kestrel
