// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

namespace kestrel {

class Session;

/// The rules of `frmAdmittedPatients`: the admitted patients whose confirmed operation the OR
/// has not yet checked, and tagging one of them as checked.
///
/// The list comes from "SCHEDULE..sp_List_ConfirmedORSchedule" kind "9". Its grid has a
/// narrow marker column 0 and then the procedure's columns; the schedule's transaction number
/// is in hidden column 9. A search text is matched by the procedure against the last name,
/// the admission number and the hospital number alike, whichever the "Search By:" choice.
class AdmittedPatients : public QObject
{
    Q_OBJECT

public:
    /// How a "Checked?" ended.
    enum class CheckOutcome {
        NoPatient, ///< no row was chosen; the user was told
        Declined,  ///< No to the question
        Abandoned, ///< nobody signed, and No to going on
        Checked,   ///< tagged, told, and the list reloaded
        Failed,    ///< the update failed; the error box was shown
    };

    explicit AdmittedPatients(Session &session, QObject *parent = nullptr);

    /// The choices of the "Search By:" combo.
    static QStringList searchKinds();
    /// Grid widths in twips, marker column first.
    static QList<int> columnWidths();

    /// Lists the patients whose last name, admission number or hospital number begins with
    /// `searchText` (all of them for an empty text). No row is chosen afterwards. False when
    /// the list could not be read (the error box was shown; the list is then empty).
    bool search(const QString &searchText = {});

    /// The grid's header: the marker column, then the procedure's column names.
    QStringList headers() const;
    const RowSet &rows() const { return m_rows; }
    /// Grid rows hold the patients from 1 on, row 0 being the header; column 0 is the marker.
    QString cell(int gridRow, int gridColumn) const;

    /// The user clicked grid row `gridRow`; 0 or a row outside the list chooses nobody.
    void chooseRow(int gridRow);
    int chosenRow() const { return m_chosen; }
    /// "Rec. No.": the chosen row + "  out of  " + the number of patients; empty when none.
    QString positionText() const;
    /// The chosen schedule's transaction number (grid column 9); empty when none.
    QString chosenTransNum() const;

    /// "Checked?": asks, has the user sign (again while he wants to), tags the chosen
    /// schedule as checked by the employee who signed, says so and searches again.
    CheckOutcome tagChecked();

Q_SIGNALS:
    /// A search read the list again (nobody is chosen then).
    void listChanged();
    /// Another row, or none, was chosen.
    void chosenChanged();

private:
    Session &m_session;
    RowSet m_rows;
    QString m_searchText;
    int m_chosen = 0;
};

} // namespace kestrel
