// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/HemodialysisNotification.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kTimeFormat = QStringLiteral("MM/dd/yyyy hh:mm:ss AP");
// A busy moment of the other workstation is waited out this many times before the user is told.
constexpr int kTries = 3;
// What one remark may hold; the unit reads it on a small slip.
constexpr int kRemarksLength = 500;

QString str(const char *text)
{
    return QString::fromLatin1(text);
}

} // namespace

HemodialysisNotification::HemodialysisNotification(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
{
}

QStringList HemodialysisNotification::columns()
{
    return {str("Date Sent"), str("Dialysis Date"), str("Dialyzer"), str("Access"),
            str("Remarks"),   str("Sent By"),       str("Status")};
}

QString HemodialysisNotification::cell(int row, int column) const
{
    if (row < 0 || row >= m_sent.size())
        return {};
    const Sent &s = m_sent.at(row);
    switch (column) {
    case 0:
        return s.requestDate.toString(kTimeFormat);
    case 1:
        return s.dialysisDate.toString(kTimeFormat);
    case 2:
        return s.dialyzer;
    case 3:
        return s.access;
    case 4:
        return s.remarks;
    case 5:
        return s.sentBy;
    case 6:
        if (s.revoked)
            return QString(u"REVOKED " + s.revokedDate.toString(kTimeFormat));
        return s.pending ? str("WAITING") : str("RECEIVED");
    default:
        return {};
    }
}

HemodialysisNotification::Outcome HemodialysisNotification::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Exclamation);
    return Outcome::Refused;
}

bool HemodialysisNotification::open(const QString &idNum, const QString &hospNum)
{
    m_idNum = idNum.trimmed();
    m_hospNum = hospNum.trimmed();
    dialyzerId.clear();
    accessId.clear();
    remarks.clear();
    Database &db = m_session.db();
    auto now = db.loadServerDate();
    dialysisDate =
        now ? QDateTime(now->date(), QTime(now->time().hour(), 0)).addSecs(3600) : QDateTime();
    auto accesses = db.select(u"select AccessID, Description from STATION..tbHemoAccess "
                              u"where Status = 1 order by AccessID");
    if (!accesses) {
        m_session.notifier().errorBox(accesses.error());
        return false;
    }
    m_accesses.clear();
    for (const Row &r : *accesses)
        m_accesses << Choice{r.trimmed(u"AccessID"), r.trimmed(u"Description")};
    return findDialyzers(QString()) && load();
}

bool HemodialysisNotification::findDialyzers(const QString &text)
{
    // The typed text is matched as typed: its own wildcards are no wildcards.
    QString typed = text.trimmed();
    typed.replace(u'\\', str("\\\\")).replace(u'%', str("\\%")).replace(u'_', str("\\_"));
    auto rows = m_session.db().select(
        u"Select DialyzerID AS Code, Description from STATION..tbHemoDialyzer "
        u"WHERE Status = 1 and Description like :text escape '\\' order by Description",
        {{str("text"), QString(typed + u'%')}});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_dialyzers.clear();
    for (const Row &r : *rows)
        m_dialyzers << Choice{r.trimmed(u"Code"), r.trimmed(u"Description")};
    Q_EMIT dialyzersChanged();
    return true;
}

bool HemodialysisNotification::load()
{
    auto rows = m_session.db().call(u"HEMODIALYSIS..sp_Get_Hemodialysis_Request", {m_idNum});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    m_sent.clear();
    for (const Row &r : *rows) {
        const QString last = r.trimmed(u"LastName");
        Sent s;
        s.requestId = int(r.integer(u"RequestID"));
        s.requestDate = r.dateTime(u"RequestDate");
        s.dialysisDate = r.dateTime(u"DialysisDate");
        s.dialyzer = r.trimmed(u"Dialyzer");
        s.access = r.trimmed(u"Access");
        s.remarks = r.text(u"Remarks").trimmed();
        s.sentBy =
            last.isEmpty() ? r.trimmed(u"UserID") : QString(last + u", " + r.trimmed(u"FirstName"));
        s.revoked = r.trimmed(u"RecordStatus") == u"R";
        s.revokedBy = r.trimmed(u"RevokedBy");
        s.revokedDate = r.dateTime(u"RevokedDate");
        s.pending = r.dateTime(u"Pending").isValid();
        m_sent << s;
    }
    Q_EMIT listChanged();
    return true;
}

Result<QDateTime> HemodialysisNotification::trySave(const QString &employee)
{
    Database &db = m_session.db();
    Transaction tx = db.transaction(TransactionMode::Write);
    if (!tx.isActive())
        return tl::unexpected(tx.error());
    // The stay's own row is held, so a second workstation sending for the same stay waits
    // here and then finds this notification waiting.
    if (db.backend() == Backend::Postgres) {
        const bool visit = m_idNum.endsWith(u'B', Qt::CaseInsensitive);
        auto held = db.select(visit ? u"select IDNum from PATIENT_DATA..tbOutPatient "
                                      u"where IDNum = :id for update"
                                    : u"select IDNum from PATIENT_DATA..tbPatient "
                                      u"where IDNum = :id for update",
                              {{str("id"), m_idNum}});
        if (!held)
            return tl::unexpected(held.error());
    }
    auto waiting = db.selectOne(u"select SentDate from STATION..tbHemo_Communication "
                                u"where IdNum = :id",
                                {{str("id"), m_idNum}});
    if (!waiting)
        return tl::unexpected(waiting.error());
    if (*waiting) {
        const QDateTime sent = (*waiting)->dateTime(u"SentDate");
        return sent.isValid() ? sent : QDateTime(QDate(1900, 1, 1), QTime(0, 0));
    }
    auto saved = db.call(u"HEMODIALYSIS..sp_Save_Hemodialysis_Request",
                         {m_idNum, m_hospNum, dialyzerId.trimmed(), accessId.trimmed(),
                          dialysisDate, remarks.trimmed(), employee, m_session.StationID});
    if (!saved)
        return tl::unexpected(saved.error());
    if (auto ok = tx.commit(); !ok)
        return tl::unexpected(ok.error());
    return QDateTime();
}

HemodialysisNotification::Outcome HemodialysisNotification::save()
{
    if (m_idNum.isEmpty())
        return refuse(QStringLiteral("Please select a patient first."));
    bool known = false;
    for (const Choice &c : std::as_const(m_dialyzers))
        known = known || c.code.compare(dialyzerId.trimmed(), Qt::CaseInsensitive) == 0;
    if (dialyzerId.trimmed().isEmpty() || !known)
        return refuse(QStringLiteral("Please choose the dialyzer to prepare."));
    known = false;
    for (const Choice &c : std::as_const(m_accesses))
        known = known || c.code == accessId.trimmed();
    if (!known)
        return refuse(QStringLiteral("Please choose the vascular access of the patient."));
    auto now = m_session.db().loadServerDate();
    if (!now) {
        m_session.notifier().errorBox(now.error());
        return Outcome::Failed;
    }
    // The unit plans its machines for what is ahead; a date gone by, or a year out, is a typo.
    if (!dialysisDate.isValid() || dialysisDate < now->addSecs(-3600) ||
        dialysisDate > now->addDays(31))
        return refuse(QStringLiteral("The date of the dialysis must be within the next 31 days."));
    if (remarks.trimmed().size() > kRemarksLength)
        return refuse(
            QStringLiteral("The remarks may hold at most %1 characters.").arg(kRemarksLength));

    Result<QDateTime> outcome;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        outcome = trySave(m_session.employeeCode());
        if (outcome || !outcome.error().retryable())
            break;
    }
    if (!outcome) {
        m_session.notifier().errorBox(outcome.error());
        return Outcome::Failed;
    }
    if (outcome->isValid()) {
        load();
        return refuse(QString(QStringLiteral("A notification was previously sent to HEMODIALYSIS "
                                             "at ") +
                              outcome->toString(kTimeFormat)));
    }
    m_session.notifier().message(QStringLiteral("Notification for Hemodialysis saved."),
                                 kNotification, Notifier::Icon::Information);
    remarks.clear();
    load();
    return Outcome::Done;
}

HemodialysisNotification::Outcome HemodialysisNotification::revoke(int row)
{
    if (row < 0 || row >= m_sent.size())
        return refuse(QStringLiteral("Please choose the notification to revoke."));
    const Sent chosen = m_sent.at(row);
    if (chosen.revoked)
        return refuse(QStringLiteral("This notification was revoked already."));
    if (!m_session.notifier().confirm(
            QStringLiteral("Are you sure you want to revoke the notification sent at %1?")
                .arg(chosen.requestDate.toString(kTimeFormat)),
            QStringLiteral("Confirmation"), Notifier::Icon::Question, Notifier::Answer::No))
        return Outcome::Abandoned;
    Database &db = m_session.db();
    Result<void> done;
    bool revoked = false;
    for (int attempt = 1; attempt <= kTries; ++attempt) {
        done = [&]() -> Result<void> {
            Transaction tx = db.transaction(TransactionMode::Write);
            if (!tx.isActive())
                return tl::unexpected(tx.error());
            auto n = db.call(u"HEMODIALYSIS..sp_Revoke_Hemodialysis_Request",
                             {chosen.requestId, m_session.employeeCode()});
            if (!n)
                return tl::unexpected(n.error());
            revoked = n->count() > 0 && n->at(0).integer(u"Revoked") > 0;
            // Another workstation took it back first: nothing to log.
            if (!revoked)
                return {};
            auto logged = db.exec(u"INSERT INTO STATION..tbStationLogs (Idnum, Transdate, "
                                  u"Remarks, UserID, Hostname, StationID) VALUES (:id, "
                                  u"getdate(), :remarks, :user, host_name(), :station)",
                                  {{str("id"), m_idNum},
                                   {str("remarks"), str("Revoked Hemo Notification")},
                                   {str("user"), m_session.employeeCode()},
                                   {str("station"), m_session.StationID}});
            if (!logged)
                return tl::unexpected(logged.error());
            return tx.commit();
        }();
        if (done || !done.error().retryable())
            break;
    }
    if (!done) {
        m_session.notifier().errorBox(done.error());
        return Outcome::Failed;
    }
    load();
    if (!revoked)
        return refuse(QStringLiteral("This notification was revoked already."));
    return Outcome::Done;
}

} // namespace kestrel
