// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/CaseRates.h"

#include <QDateTime>

#include <array>
#include <functional>

namespace kestrel::caserates {

/// A final diagnosis (ICD) or an operation (RVS) of the discharge order.
struct OrderLine
{
    QString icd;
    QString rvs;
    QString description;
    QString units; ///< relative value units, as text
    QString packageId;
    QString caseRateName; ///< the package's name, "" without a case rate
    QDate operationDate;
    CaseRate tag = CaseRate::None;
    /// The line's shares once tagged; empty when untagged or when it has no package.
    std::optional<FeeShares> shares;

    bool isOperation() const { return !rvs.isEmpty(); }
    QString code() const { return isOperation() ? rvs : icd; }
};

/// The three lists of doctors paid by the order.
enum class DoctorGroup { Others = 0, CaseRate1 = 1, CaseRate2 = 2 };

struct DoctorFee
{
    QString doctorId;
    QString name;
    Money amount;
    QString role;
};

/// One item of the billing checklist: 0 not checked, 1 checked/done, 2 pending.
struct CheckItem
{
    QString item;
    int state = 0;
};

/// The order's notice to billing as last saved.
struct Notice
{
    bool exists = false;
    bool isFinal = false;   ///< sent: the data is frozen
    bool processed = false; ///< billing or the departments acted on it
    QDateTime ordered;
    QDateTime noticeDate;
    QDate billUpTo;
    QString remarks;
    QString userId;
    QString finalDiagnosis; ///< free text of the simpler window
    QString procedures;
    QString medicalFees;
};

/// Everything the discharge order window shows of a stay.
struct OrderData
{
    QString idNum;
    QList<OrderLine> lines;
    std::array<QList<DoctorFee>, 3> doctors; ///< by DoctorGroup
    QList<CheckItem> checklist;
    Notice notice;
    /// True when the doctors were not saved yet and come from the stay's own doctors.
    bool doctorsFromStay = false;
};

/// What saving or revoking found once it held the stay.
enum class WriteOutcome { Done, AlreadySent, BenefitsComputed, Processed, NothingToRevoke };

/// What a save writes besides the order's own data.
struct SaveRequest
{
    QString employeeCode;
    bool final = false;             ///< send to billing: the notice becomes final
    bool keepCaseRateDoctors = false; ///< the station hides the case-rate doctors
    QDateTime ordered;
    QDate billUpTo;
    QString remarks;
};

/// Reads and writes a stay's discharge order. Each write is one transaction that holds the stay
/// first, so a send and a revoke from two workstations follow each other whole.
class DischargeOrderStore
{
public:
    explicit DischargeOrderStore(Database &db)
        : m_db(db)
    {
    }

    Database &database() const { return m_db; }

    Result<OrderData> load(const QString &idNum);
    /// The doctors of the stay itself (attending, admitting, referring), with no fee yet.
    Result<QList<DoctorFee>> staysDoctors(const QString &idNum);
    /// The name of an active doctor, "Last, First"; empty when the code is no doctor's.
    Result<QString> doctorName(const QString &doctorId);
    Result<QStringList> roles();
    /// True while requests of the stay wait for their departments.
    Result<bool> hasPendingRequests(const QString &idNum);
    /// The patient's name as messages name him.
    Result<QString> patientName(const QString &idNum);

    Result<WriteOutcome> save(const OrderData &order, const SaveRequest &request);
    /// The simpler order: the notice alone, its diagnosis, operation and fees as free text.
    Result<WriteOutcome> saveText(const QString &idNum, const Notice &notice,
                                  const SaveRequest &request);
    /// Withdraws the order's notice and deletes its diagnoses, lines and fees, unless
    /// `keepOrderData`: then they stay for the order sent next.
    Result<WriteOutcome> revoke(const QString &idNum, const QString &employeeCode,
                                bool keepOrderData = false);

private:
    Result<WriteOutcome> holdStay(const QString &idNum, bool revoking);
    Result<void> writeOrder(const OrderData &order, const SaveRequest &request);
    Result<void> sendNotice(const QString &idNum, const Notice &text, const SaveRequest &request,
                            const QDateTime &operationDate);
    /// Holds the stay and runs `write` in one transaction, tried again whole when another
    /// workstation held what it needed (a lock timeout, a deadlock or a busy file).
    Result<WriteOutcome> inTransaction(const QString &idNum, bool revoking,
                                       const std::function<Result<void>()> &write);

    Database &m_db;
};

/// The texts the notice tells billing: the diagnoses, the operations and the doctors' fees.
Notice noticeText(const OrderData &order);

} // namespace kestrel::caserates
