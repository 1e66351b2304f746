// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "profile/ProfileStore.h"

#include <QObject>
#include <QStringList>

namespace kestrel {

class Session;

/// The vital signs of the stay on the patient profile: the entry of a reading, its checks,
/// the list of readings, and (where the hospital allows it) editing and deleting them.
///
/// A reading is dated by the server's clock when it is saved and recorded in the name of the
/// employee who signs for it in the re-validation window.
class VitalSigns : public QObject
{
    Q_OBJECT

public:
    enum class Outcome {
        Refused,   ///< a check failed; the user was told and nothing was written
        Declined,  ///< No to a question
        Abandoned, ///< nobody signed, and No to trying again
        Done,      ///< written, the entry cleared and the list read again
        Failed,    ///< the database refused; the error box was shown
    };
    /// The field the cursor goes back to after a refusal.
    enum class Field { None, BloodPressure, Temperature, PulseRate, RespiratoryRate, O2Sat };

    explicit VitalSigns(Session &session, QObject *parent = nullptr);

    /// The monitoring protocols of `cmbProfile`.
    static QStringList protocols();
    /// The list's headers: seven shown, four hidden, the schedule time and the number.
    static QStringList columnHeaders();
    /// Whether grid column `column` is hidden.
    static bool isColumnHidden(int column);

    /// Reads the stay's readings, latest first. False when they could not be read (the error
    /// box was shown; the list is then empty).
    bool load(const QString &idNum);
    const QList<VitalSignRecord> &readings() const { return m_readings; }
    QString cell(int row, int column) const;

    VitalSignReading &entry() { return m_entry; }
    void setEntry(const VitalSignReading &reading);

    /// The first check the entry fails, in the hospital's order, and the field to go back
    /// to; an empty text when it may be saved.
    std::pair<QString, Field> check() const;

    /// "Save": checks, has the nurse sign, then adds the reading (or rewrites the one in
    /// edit) in one transaction.
    Outcome save();

    /// Whether "Edit" and "Delete" are offered.
    bool canEditDelete() const;
    /// The "Cancel" of an edit is showing.
    bool editing() const { return m_editing >= 0; }
    /// "Edit": reading `row` (0-based) into the entry fields.
    void beginEdit(int row);
    /// "Cancel": asks, then empties the entry. False when the user kept editing.
    bool cancelEdit();
    /// "Delete": reading `row` (0-based), after the question and a signature.
    Outcome remove(int row);

Q_SIGNALS:
    void listChanged();
    void entryChanged();
    void focusRequested(kestrel::VitalSigns::Field field);

private:
    bool signFor(const QString &question);
    void clearEntry();
    Outcome refuse(const QString &text, Field field);

    Session &m_session;
    ProfileStore m_store;
    QString m_idNum;
    QList<VitalSignRecord> m_readings;
    VitalSignReading m_entry;
    int m_editing = -1;
};

} // namespace kestrel
