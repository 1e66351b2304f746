// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/CurrentPatient.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace kestrel {

class Session;

/// One discharged and billed account of the receivable search.
struct ReceivableAccountRow
{
    QString hospNum;
    QString idNum;
    QString patientName;
    QString room; ///< the last room of an admission
    // The list shows days: read as days, a page of accounts costs no time zone arithmetic.
    QDate admitted;
    QDate discharged;
    QDate billed;
    bool cashBasis = false; ///< shown in the "Cash Basis Patient" colour, else "Billed Patient"
};

/// The rules of the search window `frmSearchRecievable` ("Search Patient"): the discharged and
/// billed accounts of inpatients or of outpatients found by the beginning of the last name, the
/// hospital number or the admission number, in name order; the account picked becomes the
/// receivable window's stay.
class ReceivableSearch
{
public:
    enum class Category { LastName, HospitalNumber, AdmissionNumber };

    explicit ReceivableSearch(Session &session);

    /// The list's column captions.
    static QStringList headers();
    /// The caption of the search box of `category`.
    static QString prompt(Category category);

    /// Finds the accounts; false when the search failed (the user saw the error box). Text
    /// that is only blanks finds nothing without asking the database.
    bool search(Category category, bool inpatients, const QString &text);
    const QList<ReceivableAccountRow> &rows() const { return m_rows; }
    /// The stay of row `index` as the receivable window charges it; not selected for a row that
    /// is not there.
    CurrentPatientRecord stayOf(int index) const;

private:
    Session &m_session;
    bool m_inpatients = false;
    QList<ReceivableAccountRow> m_rows;
};

} // namespace kestrel
