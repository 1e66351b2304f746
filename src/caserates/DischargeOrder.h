// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "caserates/DischargeNoticeSteps.h"
#include "caserates/DischargeOrderStore.h"

#include <QObject>

namespace kestrel {

class Session;

namespace caserates {

/// The discharge order of a stay ("Discharge Order"): its final diagnoses and operations, the
/// first and second case rate tagged among them with their hospital and professional fees, the
/// doctors' fees, the billing checklist, and saving, sending and revoking the order.
class DischargeOrder : public QObject
{
    Q_OBJECT

public:
    static constexpr int kUntagged = -1;

    explicit DischargeOrder(Session &session, QObject *parent = nullptr);

    /// Reads the order of stay `idNum`; false (after a message) when it cannot.
    bool open(const QString &idNum);

    const OrderData &order() const { return m_order; }
    QString patientName() const { return m_patientName; }
    bool isSent() const { return m_order.notice.isFinal; }
    /// Rows of the diagnosis grid and of the operation grid, as indexes of order().lines.
    QList<int> diagnosisLines() const;
    QList<int> operationLines() const;

    // Editing; each refuses (with its message) once the order was sent.
    bool addDiagnosis(const QString &icd);
    bool addOperation(const QString &rvs, const QDate &operated);
    bool removeLine(int line);
    bool tag(int line, CaseRate n);
    bool untag(int line) { return tag(line, CaseRate::None); }
    bool editDescription(int line, const QString &text);

    bool addDoctor(DoctorGroup group, const QString &doctorId);
    bool removeDoctor(DoctorGroup group, int row);
    /// A fee typed in a doctor's "Amount" cell; false (after a message) when it is no amount.
    bool setDoctorFee(DoctorGroup group, int row, const QString &typed);
    bool setDoctorRole(int row, const QString &role);
    /// Puts back the stay's own doctors in place of the other doctors (Reset).
    bool resetDoctors();
    /// Leaving a case-rate doctors' grid: its total must reach the minimum of its case rate.
    bool leaveCaseRateDoctors(DoctorGroup group);

    /// "Case Rate 1 Doctor:" or, when several doctors share a case rate, "Case Rate 1 Doctors:".
    QString caseRateDoctorsLabel(DoctorGroup group) const;
    /// The professional fee of the case-rate line: the least its doctors must be paid.
    Money minimumFor(DoctorGroup group) const;
    Money doctorsTotal(DoctorGroup group) const;
    Money totalHospitalFee() const;
    Money totalProfessionalFee() const;

    void setCheckItem(int row, int state);
    void setDischargeInfo(const QDateTime &ordered, bool serverTime, const QDate &billUpTo,
                          const QString &remarks);

    bool save();
    bool send();
    bool revoke();
    /// Asks before the window closes; true to close.
    bool confirmClose();

Q_SIGNALS:
    void changed();

private:
    bool refuseWhenSent();
    bool refuse(const QString &message);
    /// Refuses a code that is already a line of its grid.
    bool alreadyListed(const QString &code, bool operation);
    /// Adds a line with its case rate's name.
    bool appendLine(OrderLine line);
    bool hasTag(CaseRate n) const;
    QString doctorsGroupName(DoctorGroup group) const;
    std::optional<int> firstInvalidIcd();
    bool checkMinimum(DoctorGroup group);
    bool stayClosed();
    bool write(bool final, const QString &employeeCode);
    Result<bool> validTag(const OrderLine &line, CaseRate n);

    Session &m_session;
    DischargeOrderStore m_store;
    DischargeNoticeSteps m_steps;
    CaseRateLookups m_lookups;
    OrderData m_order;
    QString m_patientName;
    bool m_serverTime = true;
    bool m_linesChanged = false;
    bool m_otherChanged = false;
};

} // namespace caserates
} // namespace kestrel
