// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "nursing/NursingForms.h"

#include <array>

namespace kestrel::nursing {

/// The surgical safety checklist: three pauses of the team, each with its items.
///
/// - Sign In, before the induction of anaesthesia;
/// - Time Out, before the skin incision;
/// - Sign Out, before the patient leaves the operating room.
///
/// Every answer keeps who gave it and when (the server's clock). A pause is completed by the
/// nurse once each of its items is answered, and in order: a pause cannot be completed while
/// an item of it is unanswered or while the pause before it is open.
///
/// A pause falls due at the earlier of its completion and the first answer of a later pause
/// (the team has moved on: the patient is under anaesthesia, the incision is made, the patient
/// is on the way out). An answer given or changed after its pause fell due is late; the record
/// keeps and prints which answers were late.
namespace ssc {

enum class Phase { SignIn, TimeOut, SignOut };
inline constexpr std::array<Phase, 3> kPhases = {Phase::SignIn, Phase::TimeOut, Phase::SignOut};

/// "SIGN IN", "TIME OUT", "SIGN OUT".
QString phaseName(Phase phase);
/// "Sign In", as the messages name it.
QString phaseTitle(Phase phase);
/// When the pause is held ("Before induction of anesthesia").
QString phaseMoment(Phase phase);
/// The items of a pause, in order.
const QStringList &items(Phase phase);

/// One answer: "YES", "NO", "N/A" or empty, with who gave it and when.
struct Answer
{
    QString value;
    QString by;
    QDateTime at;
    bool operator==(const Answer &) const = default;
};

/// A checklist's answers and completed pauses, and the rules between them.
class SafetyRecord
{
public:
    SafetyRecord();

    const Answer &answer(Phase phase, int item) const;
    /// Records `value` for the item as given by `by` at `at`; false when it was the answer
    /// already (nothing changes then).
    bool setAnswer(Phase phase, int item, const QString &value, const QString &by,
                   const QDateTime &at);
    int unanswered(Phase phase) const;

    bool isComplete(Phase phase) const { return completion(phase).at.isValid(); }
    const Answer &completion(Phase phase) const;
    /// Why the pause cannot be completed now; nullopt when it can.
    std::optional<QString> completionRefusal(Phase phase) const;
    /// Completes the pause when it may be (see completionRefusal()).
    bool complete(Phase phase, const QString &by, const QDateTime &at);

    /// When the pause fell due (see the namespace); invalid while it is not.
    QDateTime dueAt(Phase phase) const;
    bool isLate(Phase phase, int item) const;

    /// The pauses' answers as the checklist's columns: SignIn, TimeOut and SignOut hold the
    /// ":;" list of each pause's answers, ChkBoxes the pauses completed ("1") or not ("").
    void writeColumns(FormRecord &record) const;
    /// The printed lines: each item with its answer, who, when and whether late, and a line
    /// for each pause completed.
    QList<FormItem> lines() const;
    /// The record as saved: its columns, and the lines with who and when. Lines that do not
    /// match the items (a record saved without them) leave who and when unknown.
    static SafetyRecord fromSaved(const FormRecord &record, const QList<FormItem> &lines);

    bool operator==(const SafetyRecord &) const = default;

private:
    std::array<QList<Answer>, 3> m_answers;
    std::array<Answer, 3> m_completed;
};

/// The checklist's place in the form pattern; its lines and record come from a SafetyRecord.
FormDefinition definition();

} // namespace ssc

/// "Surgical Safety Checklist" of the current stay: the shared form pattern with the answers'
/// who and when and the pauses' completion.
class SurgicalSafetyChecklist
{
public:
    SurgicalSafetyChecklist(Session &session, ReportService *reports);
    SurgicalSafetyChecklist(const SurgicalSafetyChecklist &) = delete;
    SurgicalSafetyChecklist &operator=(const SurgicalSafetyChecklist &) = delete;

    NursingForm &form() { return m_form; }
    QString idNum() const { return m_form.idNum(); }
    bool open(const CurrentPatientRecord &stay);
    const ssc::SafetyRecord &safety() const { return m_safety; }

    /// The logged-in user answers an item now (the server's clock).
    bool answer(ssc::Phase phase, int item, const QString &value);
    /// The logged-in user completes a pause now; the refusal is shown when it cannot be.
    bool complete(ssc::Phase phase);
    /// A typed text of the checklist: the operation, the signers of each pause.
    void setText(const QString &column, const QString &value) { m_form.setText(column, value); }

    bool save() { return m_form.save(); }
    bool remove();
    bool print() { return m_form.print(); }
    bool closeRequested() { return m_form.closeRequested(); }

private:
    QDateTime serverNow();
    void syncRecord();

    Session &m_session;
    ssc::SafetyRecord m_safety;
    NursingForm m_form;
};

} // namespace kestrel::nursing
