// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "nursing/SurgicalSafety.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::nursing {

namespace ssc {

namespace {

std::size_t at(Phase phase)
{
    return std::size_t(phase);
}

const QString kCompleted = QStringLiteral("COMPLETED");

QString completionLabel(Phase phase)
{
    return phaseTitle(phase) + QStringLiteral(" completed");
}

} // namespace

QString phaseName(Phase phase)
{
    switch (phase) {
    case Phase::SignIn:
        return QStringLiteral("SIGN IN");
    case Phase::TimeOut:
        return QStringLiteral("TIME OUT");
    case Phase::SignOut:
        break;
    }
    return QStringLiteral("SIGN OUT");
}

QString phaseTitle(Phase phase)
{
    switch (phase) {
    case Phase::SignIn:
        return QStringLiteral("Sign In");
    case Phase::TimeOut:
        return QStringLiteral("Time Out");
    case Phase::SignOut:
        break;
    }
    return QStringLiteral("Sign Out");
}

QString phaseMoment(Phase phase)
{
    switch (phase) {
    case Phase::SignIn:
        return QStringLiteral("Before induction of anesthesia");
    case Phase::TimeOut:
        return QStringLiteral("Before skin incision");
    case Phase::SignOut:
        break;
    }
    return QStringLiteral("Before patient leaves operating room");
}

const QStringList &items(Phase phase)
{
    static const std::array<QStringList, 3> lists = {
        QStringList{
            QStringLiteral("Patient has confirmed identity, site, procedure and consent"),
            QStringLiteral("Site marked"),
            QStringLiteral("Anesthesia machine and medication check complete"),
            QStringLiteral("Pulse oximeter on patient and functioning"),
            QStringLiteral("Known allergy"),
            QStringLiteral("Difficult airway or aspiration risk; equipment and assistance "
                           "available"),
            QStringLiteral("Risk of more than 500 ml blood loss (7 ml/kg in children); access "
                           "and fluids planned")},
        QStringList{
            QStringLiteral("All team members have introduced themselves by name and role"),
            QStringLiteral("Surgeon, anesthesiologist and nurse confirm patient, site and "
                           "procedure"),
            QStringLiteral("Antibiotic prophylaxis given within the last 60 minutes"),
            QStringLiteral("Surgeon: critical or non-routine steps, case duration, anticipated "
                           "blood loss"),
            QStringLiteral("Anesthesiologist: patient-specific concerns"),
            QStringLiteral("Nursing team: sterility confirmed, equipment issues or concerns"),
            QStringLiteral("Essential imaging displayed")},
        QStringList{
            QStringLiteral("Name of the procedure recorded"),
            QStringLiteral("Instrument, sponge and needle counts complete"),
            QStringLiteral("Specimen labelled, with the patient's name"),
            QStringLiteral("Equipment problems to be addressed"),
            QStringLiteral("Key concerns for recovery and management of the patient reviewed")}};
    return lists[at(phase)];
}

SafetyRecord::SafetyRecord()
{
    for (Phase p : kPhases)
        m_answers[at(p)] = QList<Answer>(items(p).size());
}

const Answer &SafetyRecord::answer(Phase phase, int item) const
{
    return m_answers[at(phase)].at(item);
}

bool SafetyRecord::setAnswer(Phase phase, int item, const QString &value, const QString &by,
                             const QDateTime &when)
{
    Answer &a = m_answers[at(phase)][item];
    if (a.value == value)
        return false;
    a = Answer{value, by, when};
    return true;
}

int SafetyRecord::unanswered(Phase phase) const
{
    int n = 0;
    for (const Answer &a : m_answers[at(phase)])
        n += a.value.trimmed().isEmpty() ? 1 : 0;
    return n;
}

const Answer &SafetyRecord::completion(Phase phase) const
{
    return m_completed[at(phase)];
}

std::optional<QString> SafetyRecord::completionRefusal(Phase phase) const
{
    if (isComplete(phase))
        return QStringLiteral("The %1 is already completed.").arg(phaseTitle(phase));
    if (phase != Phase::SignIn) {
        const Phase before = Phase(int(phase) - 1);
        if (!isComplete(before))
            return QStringLiteral("Please complete the %1 before the %2.")
                .arg(phaseTitle(before), phaseTitle(phase));
    }
    if (const int open = unanswered(phase); open > 0)
        return QStringLiteral("The %1 cannot be completed: %2 of its items %3 not answered yet.")
            .arg(phaseTitle(phase))
            .arg(open)
            .arg(open == 1 ? QStringLiteral("is") : QStringLiteral("are"));
    return std::nullopt;
}

bool SafetyRecord::complete(Phase phase, const QString &by, const QDateTime &when)
{
    if (completionRefusal(phase))
        return false;
    m_completed[at(phase)] = Answer{kCompleted, by, when};
    return true;
}

QDateTime SafetyRecord::dueAt(Phase phase) const
{
    QDateTime due = completion(phase).at;
    for (int later = int(phase) + 1; later < int(kPhases.size()); ++later) {
        for (const Answer &a : m_answers[std::size_t(later)]) {
            if (!a.value.isEmpty() && a.at.isValid() && (!due.isValid() || a.at < due))
                due = a.at;
        }
    }
    return due;
}

bool SafetyRecord::isLate(Phase phase, int item) const
{
    const Answer &a = answer(phase, item);
    const QDateTime due = dueAt(phase);
    return !a.value.isEmpty() && a.at.isValid() && due.isValid() && a.at > due;
}

void SafetyRecord::writeColumns(FormRecord &record) const
{
    const std::array<QString, 3> columns = {QStringLiteral("SignIn"), QStringLiteral("TimeOut"),
                                            QStringLiteral("SignOut")};
    QStringList ticks;
    for (Phase p : kPhases) {
        QStringList values;
        for (const Answer &a : m_answers[at(p)])
            values << a.value;
        record.setList(columns[at(p)], values);
        ticks << (isComplete(p) ? QStringLiteral("1") : QString());
    }
    record.setList(QStringLiteral("ChkBoxes"), ticks);
}

QList<FormItem> SafetyRecord::lines() const
{
    QList<FormItem> out;
    for (Phase p : kPhases) {
        const QStringList &labels = items(p);
        for (int i = 0; i < labels.size(); ++i) {
            const Answer &a = answer(p, i);
            out << FormItem{phaseName(p), labels.at(i), a.value, {}, a.by, a.at, isLate(p, i)};
        }
        const Answer &done = completion(p);
        out << FormItem{phaseName(p), completionLabel(p), done.value, {}, done.by, done.at, false};
    }
    return out;
}

SafetyRecord SafetyRecord::fromSaved(const FormRecord &record, const QList<FormItem> &lines)
{
    SafetyRecord r;
    const std::array<QString, 3> columns = {QStringLiteral("SignIn"), QStringLiteral("TimeOut"),
                                            QStringLiteral("SignOut")};
    const QStringList ticks = record.list(QStringLiteral("ChkBoxes"));
    // Who and when come from the lines when they are the items of this checklist, in order.
    QList<FormItem> expected = r.lines();
    bool matching = lines.size() == expected.size();
    for (int i = 0; matching && i < lines.size(); ++i)
        matching = lines.at(i).section == expected.at(i).section &&
                   lines.at(i).label == expected.at(i).label;
    int line = 0;
    for (Phase p : kPhases) {
        const QStringList values =
            splitAnswers(joinAnswers(record.list(columns[at(p)])), int(items(p).size()));
        for (int i = 0; i < values.size(); ++i, ++line) {
            Answer &a = r.m_answers[at(p)][i];
            a.value = values.at(i);
            if (matching) {
                a.by = lines.at(line).answeredBy;
                a.at = lines.at(line).answeredAt;
            }
        }
        if (matching && ticks.value(int(at(p))) == u"1") {
            const FormItem &done = lines.at(line);
            r.m_completed[at(p)] = Answer{kCompleted, done.answeredBy, done.answeredAt};
        }
        ++line;
    }
    return r;
}

FormDefinition definition()
{
    FormDefinition s;
    s.formName = QStringLiteral("frmSSC");
    s.caption = QStringLiteral("Surgical Safety Checklist");
    s.table = QStringLiteral("STATION..tbORSSC");
    s.saveProcedure = QStringLiteral("STATION..Nurse_SSC");
    const QStringList roles = {QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
                               QStringLiteral("Nurse")};
    for (Phase p : kPhases) {
        for (const QString &role : roles) {
            const QString column = role + QString(phaseTitle(p)).remove(u' ');
            s.columns << FormColumn{column, role + u" (" + phaseTitle(p) + u')', 250, 0};
        }
    }
    s.columns << FormColumn{QStringLiteral("Operation"), QStringLiteral("Procedure"), 250, 0};
    for (Phase p : kPhases)
        s.columns << FormColumn{QString(phaseTitle(p)).remove(u' '), phaseTitle(p), 3,
                                int(items(p).size())};
    s.columns << FormColumn{QStringLiteral("ChkBoxes"), QStringLiteral("Completed"), 1, 3};
    s.report = QStringLiteral("SurgicalSafety.rpt");
    s.reportTitle = QStringLiteral("Surgical Safety Checklist");
    s.messages.saveQuestion = QStringLiteral("Do you want to save Surgical safety checklist "
                                             "record?");
    s.messages.saved = QStringLiteral("Surgical safety checklist successfully saved.");
    s.messages.savedTitle = QStringLiteral("Notificatioin");
    s.messages.deleteQuestion = QStringLiteral("Are you sure you want to delete Surgical safety "
                                               "checklist record for this patient?");
    s.messages.deleted = QStringLiteral("Surgical safety checklist record successfully deleted.");
    s.messages.deleteLog = QStringLiteral("Deleted Surgical Safety Checklist");
    s.itemForm = QStringLiteral("SSC");
    s.check = [](const FormRecord &r) -> std::optional<QString> {
        if (r.text(QStringLiteral("Operation")).trimmed().isEmpty())
            return QStringLiteral("Please provide name of procedure.");
        return std::nullopt;
    };
    return s;
}

} // namespace ssc

using namespace ssc;

SurgicalSafetyChecklist::SurgicalSafetyChecklist(Session &session, ReportService *reports)
    : m_session(session)
    , m_form(session, reports, [this] {
        FormDefinition s = ssc::definition();
        s.items = [this](const FormRecord &) { return m_safety.lines(); };
        return s;
    }())
{
}

bool SurgicalSafetyChecklist::open(const CurrentPatientRecord &stay)
{
    if (!m_form.open(stay))
        return false;
    m_safety = m_form.isSaved() ? SafetyRecord::fromSaved(m_form.record(), m_form.savedItems())
                                : SafetyRecord();
    return true;
}

QDateTime SurgicalSafetyChecklist::serverNow()
{
    auto now = m_session.db().loadServerDate();
    return now ? *now : QDateTime::currentDateTime();
}

void SurgicalSafetyChecklist::syncRecord()
{
    FormRecord r = m_form.record();
    m_safety.writeColumns(r);
    m_form.setRecord(r);
}

bool SurgicalSafetyChecklist::answer(Phase phase, int item, const QString &value)
{
    if (item < 0 || item >= items(phase).size())
        return false;
    if (!m_safety.setAnswer(phase, item, value, m_session.employeeCode(), serverNow()))
        return false;
    syncRecord();
    return true;
}

bool SurgicalSafetyChecklist::complete(Phase phase)
{
    if (const auto refused = m_safety.completionRefusal(phase)) {
        m_session.notifier().message(*refused, QStringLiteral("Notification"),
                                     Notifier::Icon::Exclamation);
        return false;
    }
    m_safety.complete(phase, m_session.employeeCode(), serverNow());
    syncRecord();
    return true;
}

bool SurgicalSafetyChecklist::remove()
{
    if (!m_form.remove())
        return false;
    m_safety = SafetyRecord();
    return true;
}

} // namespace kestrel::nursing
