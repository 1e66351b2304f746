// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"
#include "core/db/Money.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace kestrel {

class Session;

/// The rules of the doctor's fee window `frmDoctorsFee`: the professional fees the hospital
/// keeps in its doctor's fee table that a doctor may be charged at (his own rows in use first,
/// then the hospital's standard fees that name no doctor), with the row of the patient's room
/// class highlighted; Enter or a double-click takes the highlighted fee.
class DoctorsFee
{
public:
    /// One fee the user may choose.
    struct Row
    {
        QString roomClass;
        QString description;
        Money amount;
        bool doctorsOwn = false; ///< a fee of this doctor's rather than the hospital's standard
    };

    /// The hint under the list.
    static QString hint();
    /// The grid's column captions.
    static QStringList headers();

    DoctorsFee(Session &session, QString doctorId, QString doctorName);

    /// The fees are for `stay` instead of the selected patient (the receivable window's
    /// account): its class highlights the row, and `lblPatient` names it.
    void setStay(const CurrentPatientRecord &stay) { m_stay = stay; }

    /// Reads the fees; false when they cannot be read (the user was shown the error box).
    bool load();
    const QList<Row> &rows() const { return m_rows; }
    /// The row highlighted when the window opens: the first of the patient's rate class (read
    /// by load), else the first row; -1 when there are none.
    int initialRow() const;

    /// What `lblDoctor` and `lblPatient` show.
    QString doctorLabel() const;
    QString patientLabel() const;

    /// Takes the fee of row `index`; false for a row that is not there.
    bool choose(int index);
    /// The fee taken; nothing while none is.
    std::optional<Money> choice() const { return m_choice; }

private:
    const CurrentPatientRecord &stay() const;

    Session &m_session;
    std::optional<CurrentPatientRecord> m_stay;
    QString m_doctorId;
    QString m_doctorName;
    QString m_roomClass;
    QList<Row> m_rows;
    std::optional<Money> m_choice;
};

} // namespace kestrel
