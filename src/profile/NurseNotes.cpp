// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "profile/NurseNotes.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel {

namespace {

const QString kNotification = QStringLiteral("Notification");
const QString kConfirmation = QStringLiteral("Confirmation");

} // namespace

NurseNotes::NurseNotes(Session &session, QObject *parent)
    : QObject(parent)
    , m_session(session)
    , m_store(session.db())
{
}

QStringList NurseNotes::shifts() const
{
    auto kept = m_store.activeShifts();
    if (kept && !kept->isEmpty())
        return *kept;
    if (m_session.hospital.clientname.trimmed() == u"VZ")
        return {QStringLiteral("7AM-3PM"), QStringLiteral("3PM-11PM"), QStringLiteral("11PM-7PM")};
    return {QStringLiteral("6AM-2PM"), QStringLiteral("2PM-10PM"), QStringLiteral("10PM-6AM")};
}

bool NurseNotes::load(const QString &idNum)
{
    m_idNum = idNum.trimmed();
    auto rows = m_store.notes(m_idNum);
    const bool ok = rows.has_value();
    m_notes = ok ? std::move(*rows) : RowSet();
    if (!ok)
        m_session.notifier().errorBox(rows.error());
    auto now = m_session.db().loadServerDate();
    entryTime = now ? *now : QDateTime();
    entryText.clear();
    m_chosen = -1;
    m_chosenText.clear();
    Q_EMIT listChanged();
    Q_EMIT chosenChanged();
    return ok;
}

void NurseNotes::chooseNote(int row)
{
    m_chosen = row >= 0 && row < m_notes.count() ? row : -1;
    m_chosenText.clear();
    if (m_chosen >= 0) {
        auto note = m_store.note(chosenTransNum());
        if (!note)
            m_session.notifier().errorBox(note.error());
        else if (note->count() > 0)
            m_chosenText = note->at(0).text(u"Notes");
    }
    Q_EMIT chosenChanged();
}

qint64 NurseNotes::chosenTransNum() const
{
    return m_chosen >= 0 ? m_notes.at(m_chosen).integer(u"TransNum") : 0;
}

QString NurseNotes::storedText(const QString &text)
{
    QString stored = text;
    return stored.replace(u'\'', u'`');
}

NurseNotes::Outcome NurseNotes::refuse(const QString &text)
{
    m_session.notifier().message(text, kNotification, Notifier::Icon::Critical);
    return Outcome::Refused;
}

NurseNotes::Outcome NurseNotes::save()
{
    if (entryText.trimmed().isEmpty())
        return refuse(QStringLiteral("No data to save."));
    if (entryShift.trimmed().isEmpty())
        return refuse(QStringLiteral("Please select the shift of the notes."));
    auto now = m_session.db().loadServerDate();
    if (!now) {
        m_session.notifier().errorBox(now.error());
        return Outcome::Failed;
    }
    // A note tells what happened; it cannot be dated later than the server's clock says.
    if (!entryTime.isValid() || entryTime > *now)
        return refuse(QStringLiteral("The date and time of the notes may not be later than %1.")
                          .arg(now->toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))));

    for (;;) {
        m_session.validated = m_session.dialogs().validateUser();
        if (m_session.validated.isValid())
            break;
        if (!m_session.notifier().confirm(
                QStringLiteral("Are you sure you want to save Nurses Notes?\r\n"
                               "Unable to continue this transaction! "),
                kConfirmation, Notifier::Icon::Question))
            return Outcome::Abandoned;
    }
    if (auto saved = m_store.addNote(m_idNum, entryTime, storedText(entryText), entryShift,
                                     m_session.validated.code);
        !saved) {
        m_session.notifier().errorBox(saved.error());
        return Outcome::Failed;
    }
    load(m_idNum);
    return Outcome::Done;
}

bool NurseNotes::ownsChosen(const QString &verb, Outcome &outcome)
{
    auto owner = m_store.isNoteOwner(chosenTransNum(), m_session.employeeCode());
    if (!owner) {
        m_session.notifier().errorBox(owner.error());
        outcome = Outcome::Failed;
        return false;
    }
    if (!*owner) {
        const QString writer = m_notes.at(m_chosen).trimmed(u"Entered By");
        outcome = refuse(QStringLiteral("You are not allowed to %1 this notes entered by: %2")
                             .arg(verb, writer.isEmpty()
                                            ? m_notes.at(m_chosen).trimmed(u"User ID")
                                            : writer));
        return false;
    }
    return true;
}

NurseNotes::Outcome NurseNotes::edit(const QString &text)
{
    if (m_chosen < 0)
        return refuse(QStringLiteral("Please select the notes to edit."));
    if (text.trimmed().isEmpty())
        return refuse(QStringLiteral("No data to save."));
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure you want to Edit this Nurses "
                                                     "Notes?"),
                                      kConfirmation, Notifier::Icon::Question))
        return Outcome::Declined;
    Outcome outcome = Outcome::Done;
    if (!ownsChosen(QStringLiteral("edit"), outcome))
        return outcome;
    if (auto saved =
            m_store.updateNote(chosenTransNum(), storedText(text), m_session.employeeCode());
        !saved) {
        m_session.notifier().errorBox(saved.error());
        return Outcome::Failed;
    }
    m_session.notifier().message(QStringLiteral("Nurses notes successfully updated."),
                                 kNotification, Notifier::Icon::Information);
    const int chosen = m_chosen;
    load(m_idNum);
    chooseNote(chosen);
    return Outcome::Done;
}

NurseNotes::Outcome NurseNotes::remove()
{
    if (m_chosen < 0)
        return refuse(QStringLiteral("Sorry, no data to delete."));
    if (!m_session.notifier().confirm(QStringLiteral("Are you sure you want to delete this "
                                                     "Nurses Notes?"),
                                      kConfirmation, Notifier::Icon::Question,
                                      Notifier::Answer::No))
        return Outcome::Declined;
    Outcome outcome = Outcome::Done;
    if (!ownsChosen(QStringLiteral("delete"), outcome))
        return outcome;
    const Row &note = m_notes.at(m_chosen);
    const QString logText = note.trimmed(u"Date / Time") + u';' + note.trimmed(u"Day Shift") +
                            u';' + m_chosenText.left(200);
    if (auto gone = m_store.deleteNote(m_idNum, chosenTransNum(), logText,
                                       m_session.employeeCode(), m_session.StationID);
        !gone) {
        m_session.notifier().errorBox(gone.error());
        return Outcome::Failed;
    }
    load(m_idNum);
    return Outcome::Done;
}

} // namespace kestrel
