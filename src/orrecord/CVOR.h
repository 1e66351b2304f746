// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"

#include <QHash>
#include <QObject>
#include <QStringList>

namespace kestrel {

class ReportService;
class Session;

/// The list of CVOR cases ("CVOR Patients"): the cardiovascular operations of the patients the
/// OR tagged as CVOR, found by last name, hospital number or admission number; the census and
/// the case forms printed from it.
class CVORPatients : public QObject
{
    Q_OBJECT

public:
    explicit CVORPatients(Session &session, QObject *parent = nullptr);

    void setReportService(ReportService *reports) { m_reports = reports; }
    static QStringList searchTypes();
    /// The case forms a selected case prints, by their report files.
    static QStringList caseForms();

    /// Lists the cases; false with the hospital's message when the key or the type is missing
    /// or nothing is found.
    bool search(const QString &type, const QString &key);
    const RowSet &cases() const { return m_cases; }
    /// The admission and reference numbers of row `row`, empty when there is no such row.
    std::pair<QString, QString> caseAt(int row) const;

    /// The CVOR census of the month of today.
    bool printCensus();
    /// Case form `file` of the case in row `row`.
    bool printCase(int row, const QString &file);

private:
    Session &m_session;
    ReportService *m_reports = nullptr;
    RowSet m_cases;
};

/// The team of one CVOR case ("Update CVOR Info"): the doctors picked from the doctor search,
/// the perfusionist and nurses from the nurse list, saved together with the station's log.
class CVORTeam : public QObject
{
    Q_OBJECT

public:
    explicit CVORTeam(Session &session, QObject *parent = nullptr);

    /// The five doctors' and five allied staff's columns, in the window's order.
    static QStringList doctorColumns();
    static QStringList staffColumns();

    /// Reads the case; false when the database fails or the stay has no such procedure.
    bool load(const QString &idNum, const QString &refNum);
    /// "Patient Name:", "Admission #", "Hospital #", "Procedure", "Reference No.",
    /// "Trans. Date:" by those captions.
    QString info(const QString &caption) const { return m_info.value(caption); }
    QString code(const QString &column) const { return m_codes.value(column); }
    QString name(const QString &column) const { return m_names.value(column); }
    void setPerson(const QString &column, const QString &code, const QString &name);
    bool isModified() const { return m_codes != m_savedCodes; }

    /// The nurses (and perfusionists) of the hospital: code and "LAST, FIRST".
    QList<std::pair<QString, QString>> nurses();
    /// Doctors whose code or last name begins with `typed`: code and "LastName, FirstName".
    QList<std::pair<QString, QString>> doctors(const QString &typed);

    /// Writes the team and the log entry in one transaction.
    bool save();
    bool confirmClose();

Q_SIGNALS:
    void changed();

private:
    Session &m_session;
    QString m_idNum;
    QString m_refNum;
    QHash<QString, QString> m_info;
    QHash<QString, QString> m_codes;
    QHash<QString, QString> m_savedCodes;
    QHash<QString, QString> m_names;
};

/// "OR Revenue - Procedure Tagging": marks an item of the OR's charge list as an operation
/// procedure, which is what the patient index and the CVOR list show of a stay's charges.
class ProcedureTagging : public QObject
{
    Q_OBJECT

public:
    explicit ProcedureTagging(Session &session, QObject *parent = nullptr);

    /// Items of the OR list whose code or name begins with `typed`: code and name.
    QList<std::pair<QString, QString>> search(const QString &typed);
    /// Picks an item; answers whether it is tagged now.
    bool select(const QString &code);
    QString code() const { return m_code; }
    QString description() const { return m_description; }
    bool isTagged() const { return m_tagged; }
    /// Tags (`procedure`) or untags the picked item.
    bool save(bool procedure);

private:
    Session &m_session;
    QString m_code;
    QString m_description;
    bool m_tagged = false;
};

} // namespace kestrel
