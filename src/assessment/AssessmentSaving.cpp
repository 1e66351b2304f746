// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "assessment/AssessmentSaving.h"

#include "core/AccessRights.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");
const QString kNotCancelled = QStringLiteral("Selected Assessment(s) will not be cancelled! ");

} // namespace

AssessmentSaving::AssessmentSaving(Session &session, AssessmentKind kind)
    : m_session(session)
    , m_kind(kind)
{
}

QString AssessmentSaving::blankText(AssessmentKind kind)
{
    switch (kind) {
    case AssessmentKind::Cash:
        return QStringLiteral("Can't save a blank charge! Please enter a charge first.");
    case AssessmentKind::Clinical:
        return QStringLiteral("Can't save a blank charge! Please enter charges.");
    case AssessmentKind::WalkIn:
        break;
    }
    return QStringLiteral("Can't save a blank charge! Please enter charges first.");
}

QString AssessmentSaving::revokeRefusal(const QString &status)
{
    if (status == u"REVOKED")
        return QStringLiteral("Can't revoke this assessment! It is already been REVOKED.");
    if (status == u"PAID")
        return QStringLiteral("Can't revoke this assessment! It is already been PROCESSED by the "
                              "CASHIER.");
    if (status.isEmpty())
        return QStringLiteral("Can't revoke this assessment! It is no longer on file.");
    return {};
}

bool AssessmentSaving::linesAreValid(const QList<PostingLine> &lines, PostingOutcome &outcome)
{
    Notifier &notifier = m_session.notifier();
    if (m_kind == AssessmentKind::WalkIn) {
        const QString name = m_patient.name.trimmed();
        if (name.isEmpty()) {
            notifier.message(QStringLiteral("Please enter the patient`s name."), kNotification,
                             Notifier::Icon::Information);
            return false;
        }
        if (name.size() > kMaxNameLength) {
            notifier.message(QStringLiteral("The patient`s name is too long. Please enter at most "
                                            "%1 characters.")
                                 .arg(kMaxNameLength),
                             kNotification, Notifier::Icon::Information);
            return false;
        }
    }
    bool any = false;
    for (int i = 0; i < lines.size(); ++i) {
        const PostingLine &l = lines.at(i);
        if (!l.hasCode())
            continue;
        any = true;
        if (l.line.quantityValue() <= 0) {
            notifier.message(QStringLiteral("Please enter quantity to request for ") +
                                 l.line.description.trimmed() + u'.',
                             kNotification, Notifier::Icon::Information);
            outcome.quantityLine = i;
            return false;
        }
    }
    if (!any) {
        notifier.message(blankText(m_kind), kNotification, Notifier::Icon::Information);
        return false;
    }
    return true;
}

bool AssessmentSaving::confirmedAndSigned()
{
    Notifier &notifier = m_session.notifier();
    if (m_kind == AssessmentKind::Cash &&
        !notifier.confirm(QStringLiteral("Please verify that the item(s) entered are true and "
                                         "correct. Especially the Department Code and the Item "
                                         "Code of the Procedure/Item.\n\rDo you want to proceed "
                                         "in saving these charge(s)?"),
                          QStringLiteral("Important Message")))
        return false;
    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            return true;
        switch (m_kind) {
        case AssessmentKind::WalkIn:
            notifier.message(QStringLiteral("You have entered invalid user information. Entered "
                                            "assessment was not saved! "),
                             kNotification, Notifier::Icon::Exclamation);
            return false;
        case AssessmentKind::Clinical:
            notifier.message(QStringLiteral("You have entered invalid user information. Entered "
                                            "charges were not saved! "),
                             kNotification, Notifier::Icon::Exclamation);
            return false;
        case AssessmentKind::Cash:
            if (!notifier.confirm(QStringLiteral("Selected charge(s) will not be saved! \n"
                                                 "Are you sure you want to save these Charge(s)?"),
                                  kConfirmation))
                return false;
            break;
        }
    }
}

PostingOutcome AssessmentSaving::save(const QList<PostingLine> &lines, const QString &)
{
    PostingOutcome outcome;
    m_session.validated = {};
    if (!linesAreValid(lines, outcome) || !confirmedAndSigned())
        return outcome;
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!now.isValid()) {
        outcome.status = PostingOutcome::Status::Failed;
        return outcome;
    }
    QList<AssessmentLine> assessed;
    for (int i = 0; i < lines.size(); ++i) {
        if (lines.at(i).hasCode())
            assessed.append({lines.at(i), m_details.value(i)});
    }
    AssessmentBatch batch;
    batch.kind = m_kind;
    batch.station = m_session.StationID;
    batch.IdNum = m_patient.IdNum.trimmed();
    batch.HospNum = m_patient.HospNum.trimmed();
    batch.patientName = m_patient.name.trimmed().toUpper();
    batch.userCode = m_session.validated.code;
    batch.when = now;
    batch.identity = newWriteIdentity();

    Database &db = m_session.db();
    Result<QString> saved = writeOnce<QString>(
        db, [&](Database &) { return write(assessed, batch); },
        [&](Database &on) { return AssessmentStore(on).numberOfBatch(batch.identity); },
        &m_lastWrite, m_retry);
    if (!saved) {
        outcome.status = PostingOutcome::Status::Failed;
        if (!m_lastWrite.cancelled)
            m_session.notifier().errorBox(saved.error());
        return outcome;
    }
    if (saved->isEmpty()) {
        m_session.notifier().message(
            QStringLiteral("No assessment sequence number set for Station ") + batch.station,
            kNotification, Notifier::Icon::Exclamation);
        return outcome;
    }
    outcome.status = PostingOutcome::Status::Saved;
    outcome.chargeSlip = *saved;
    m_lastNumber = *saved;
    if (m_printer)
        m_printer->printSaved(slipFor(*saved, now, true));
    return outcome;
}

Result<QString> AssessmentSaving::write(const QList<AssessmentLine> &lines, AssessmentBatch batch)
{
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    AssessmentStore store(db);
    // The number is drawn first: the counter row then stays locked until this save commits,
    // so other workstations wait for it instead of drawing the same number. A number already
    // used elsewhere (a bill, a charge slip) is passed over.
    const SlipFormat format = SlipFormat::of(m_session.settings);
    for (;;) {
        auto drawn = store.takeNumber(batch.station, format, m_kind);
        if (!drawn)
            return tl::unexpected(drawn.error());
        if (!*drawn)
            return QString();
        batch.number = AssessmentStore::number(format, m_kind, **drawn);
        auto claimed = store.claimNumber(batch);
        if (!claimed)
            return tl::unexpected(claimed.error());
        if (*claimed)
            break;
    }
    for (const AssessmentLine &line : lines) {
        if (auto ok = store.saveLine(batch, line); !ok)
            return tl::unexpected(ok.error());
    }
    if (auto ok = store.fillPrintBuffer(batch.number); !ok)
        return tl::unexpected(ok.error());
    if (auto committed = tx.commit(); !committed)
        return tl::unexpected(committed.error());
    return batch.number;
}

AssessmentSlip AssessmentSaving::slipFor(const QString &number, const QDateTime &when,
                                         bool signedByValidated) const
{
    AssessmentSlip slip;
    slip.kind = m_kind;
    slip.number = number;
    slip.patientName = m_patient.name.trimmed().toUpper();
    slip.IdNum = m_patient.IdNum.trimmed();
    slip.room = m_patient.room.trimmed();
    slip.doctor = m_patient.doctor.trimmed();
    slip.when = when;
    slip.erOpd = m_erOpd;
    const CurrentUser *user = m_session.currentUser();
    const QString code = signedByValidated ? m_session.validated.code : m_session.employeeCode();
    const QString name =
        signedByValidated ? m_session.validated.name : (user ? user->EmployeeName() : QString());
    slip.user = u'(' + code + QStringLiteral(") ") + name;
    return slip;
}

void AssessmentSaving::reprint(const QString &number, const CurrentPatientRecord &)
{
    Notifier &notifier = m_session.notifier();
    auto status = AssessmentStore(m_session.db()).status(number, m_kind);
    if (!status) {
        notifier.errorBox(status.error());
        return;
    }
    if (*status == u"REVOKED") {
        notifier.message(QStringLiteral("You can't print this assessment. This assessment is "
                                        "already REVOKED."),
                         kNotification, Notifier::Icon::Information);
        return;
    }
    if (!notifier.confirm(QStringLiteral("Are you sure you want to reprint this assessment?"),
                          kConfirmation, Notifier::Icon::Question)) {
        notifier.message(QStringLiteral("Can't reprint this assessment! "), kNotification,
                         Notifier::Icon::Information);
        return;
    }
    if (!m_printer)
        return;
    // The slip carries the assessment's own date and, for a walk-in, the name it was saved
    // under, not whatever is typed in the window now.
    auto saved = m_session.db().selectOne(u"select TransDate, PatientName "
                                          u"from STATION..tbORAssessment where AssessNum = :no",
                                          {{QStringLiteral("no"), number}});
    const bool found = saved && *saved;
    AssessmentSlip slip =
        slipFor(number, found ? (*saved)->value(u"TransDate").toDateTime() : QDateTime(), false);
    if (found && !(*saved)->trimmed(u"PatientName").isEmpty())
        slip.patientName = (*saved)->trimmed(u"PatientName").toUpper();
    m_printer->reprint(slip);
}

bool AssessmentSaving::revoke(const QString &number)
{
    Notifier &notifier = m_session.notifier();
    Database &db = m_session.db();
    auto status = AssessmentStore(db).status(number, m_kind);
    if (!status) {
        notifier.errorBox(status.error());
        return false;
    }
    if (const QString refusal = revokeRefusal(*status); !refusal.isEmpty()) {
        notifier.message(refusal, kNotification, Notifier::Icon::Information);
        return false;
    }
    if (!notifier.confirm(QStringLiteral("Are you sure you want to revoke this assessment?"),
                          kConfirmation, Notifier::Icon::Question)) {
        notifier.message(kNotCancelled, kNotification, Notifier::Icon::Information);
        return false;
    }
    m_session.validated = m_session.dialogs().validateUser();
    if (!m_session.validated.isValid()) {
        notifier.message(kNotCancelled, kNotification, Notifier::Icon::Information);
        return false;
    }
    if (!HasAccessRight(m_session, u"22", m_session.validated.code)) {
        notifier.message(QStringLiteral("Sorry, you don't have access right to revoke "
                                        "assessments."),
                         kNotification, Notifier::Icon::Exclamation);
        return false;
    }
    const QDateTime now = modGlobals::LoadServerDate(m_session);
    if (!now.isValid())
        return false;
    // The revoke changes only an assessment still pending or given: one the cashier processed
    // or another workstation revoked since it was read is told as it now stands.
    Result<bool> revoked = [&]() -> Result<bool> {
        Transaction tx = db.transaction(TransactionMode::Write);
        if (!tx.isActive())
            return tl::unexpected(tx.error());
        auto done = AssessmentStore(db).revoke(number, m_session.validated.code, now);
        if (!done || !*done)
            return done;
        if (auto committed = tx.commit(); !committed)
            return tl::unexpected(committed.error());
        return true;
    }();
    if (!revoked) {
        notifier.errorBox(revoked.error());
        return false;
    }
    if (!*revoked) {
        auto now = AssessmentStore(db).status(number, m_kind);
        notifier.message(revokeRefusal(now.value_or(QString())), kNotification,
                         Notifier::Icon::Information);
        return false;
    }
    return true;
}

} // namespace kestrel
