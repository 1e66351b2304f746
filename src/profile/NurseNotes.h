// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/ProfileStore.h"

#include <QDateTime>
#include <QObject>
#include <QStringList>

namespace kestrel {

class Session;

/// The nurses' notes of the stay on the patient profile: writing a note for a shift, the list
/// of earlier notes with the text of the one chosen, and editing or deleting one's own.
class NurseNotes : public QObject
{
    Q_OBJECT

public:
    enum class Outcome { Refused, Declined, Abandoned, Done, Failed };

    explicit NurseNotes(Session &session, QObject *parent = nullptr);

    /// The shifts of `cboShift`: those the station keeps in its shift table, or the hospital's
    /// usual three (another three for client "VZ") when it keeps none.
    QStringList shifts() const;

    /// Reads the stay's notes and starts a new entry at the server's time. False when the
    /// list could not be read (the error box was shown).
    bool load(const QString &idNum);
    /// Grid rows: "Date / Time", "Day Shift", "Entered By", "User ID" and the note's number.
    const RowSet &notes() const { return m_notes; }

    /// Clicking note `row` (0-based) shows its text; -1 chooses none.
    void chooseNote(int row);
    int chosenNote() const { return m_chosen; }
    /// The chosen note's text as stored (`txtPrevNotes`).
    const QString &chosenText() const { return m_chosenText; }

    // The entry: `dtpNotes`, `cboShift`, `txtNotesEntry`.
    QDateTime entryTime;
    QString entryShift;
    QString entryText;

    /// "Save": a note for the shift, after the nurse signs for it.
    Outcome save();
    /// Changes the chosen note's text to `text`, when the user wrote it.
    Outcome edit(const QString &text);
    /// Deletes the chosen note, when the user wrote it.
    Outcome remove();

    /// The text as it is stored: an apostrophe becomes a backquote.
    static QString storedText(const QString &text);

Q_SIGNALS:
    void listChanged();
    void chosenChanged();

private:
    qint64 chosenTransNum() const;
    Outcome refuse(const QString &text);
    bool ownsChosen(const QString &verb, Outcome &outcome);

    Session &m_session;
    ProfileStore m_store;
    QString m_idNum;
    RowSet m_notes;
    int m_chosen = -1;
    QString m_chosenText;
};

} // namespace kestrel
