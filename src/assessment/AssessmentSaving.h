// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "assessment/AssessmentSlipPrinter.h"
#include "assessment/AssessmentStore.h"
#include "charging/ChargeSaving.h"
#include "core/db/WriteOnce.h"

#include <QList>

namespace kestrel {

class Session;

/// Who an assessment is for: the selected patient's stay, or a walk-in known by name only.
struct AssessmentPatient
{
    QString IdNum;
    QString HospNum;
    QString name;
    QString room;
    QString doctor;
};

/// Saving, reprinting and revoking the assessments of one assessment window.
///
/// A save is one database transaction: the assessment number is drawn from the station's
/// counter inside it, the assessment and each of its lines written and the slip's print buffer
/// filled in it; a failure anywhere rolls back everything, the number included, and a save
/// that lost a race for the counter is tried again whole. Each save carries an identity, so
/// one whose commit went unanswered is found instead of written twice.
class AssessmentSaving : public ChargeSaving
{
public:
    /// The longest walk-in name the assessment keeps.
    static constexpr int kMaxNameLength = 100;

    AssessmentSaving(Session &session, AssessmentKind kind);

    AssessmentKind kind() const { return m_kind; }
    /// The slip printer; without one nothing is printed.
    void setPrinter(AssessmentSlipPrinter *printer) { m_printer = printer; }
    void setPatient(const AssessmentPatient &patient) { m_patient = patient; }
    const AssessmentPatient &patient() const { return m_patient; }
    /// A walk-in's slip reads "ER/OPD" instead of "CASH".
    void setErOpd(bool erOpd) { m_erOpd = erOpd; }
    /// The remarks, specimen and portable machine of the lines, by their place in the grid.
    void setDetails(const QList<AssessmentLineDetail> &details) { m_details = details; }

    /// Checks the lines, asks, signs the user in, writes the assessment and prints its slip;
    /// the outcome's charge slip is the assessment number. Refusals are told to the user.
    PostingOutcome save(const QList<PostingLine> &lines, const QString &department) override;
    /// "Reprint" of assessment `number` (the stay is the window's patient).
    void reprint(const QString &number, const CurrentPatientRecord &stay) override;
    /// "Revoke" of assessment `number`: refused when revoked or processed by the cashier, then
    /// asked, signed in and the right to revoke checked; the status is read again inside the
    /// revoke. True when it was revoked.
    bool revoke(const QString &number);

    /// The number of the last assessment this saving saved; empty before the first.
    const QString &lastNumber() const { return m_lastNumber; }

    void setRetryPolicy(const RetryPolicy &policy) { m_retry = policy; }
    const WriteReport &lastWrite() const { return m_lastWrite; }

    /// The refusal of an empty grid, as each window words it.
    static QString blankText(AssessmentKind kind);
    /// The refusal of an assessment whose status is `status`; empty when it may be revoked.
    static QString revokeRefusal(const QString &status);

private:
    bool linesAreValid(const QList<PostingLine> &lines, PostingOutcome &outcome);
    bool confirmedAndSigned();
    Result<QString> write(const QList<AssessmentLine> &lines, AssessmentBatch batch);
    AssessmentSlip slipFor(const QString &number, const QDateTime &when,
                           bool signedByValidated) const;

    Session &m_session;
    AssessmentKind m_kind;
    AssessmentSlipPrinter *m_printer = nullptr;
    AssessmentPatient m_patient;
    bool m_erOpd = false;
    QList<AssessmentLineDetail> m_details;
    RetryPolicy m_retry;
    WriteReport m_lastWrite;
    QString m_lastNumber;
};

} // namespace kestrel
