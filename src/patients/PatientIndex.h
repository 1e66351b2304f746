// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/RowSet.h"
#include "core/WindowRequest.h"

#include <QDate>
#include <QList>
#include <QObject>
#include <QString>

#include <functional>
#include <optional>

namespace kestrel {

class clsCF4;
class clsPatientFinder;
class Session;

/// A patient of the patient master found by name.
struct PatientMatch
{
    QString HospNum;
    QString PatientName; ///< "LASTNAME, FIRSTNAME MIDDLENAME"
    QString BirthDate;   ///< "MM/dd/yyyy", empty when unknown
    QString Sex;
};

/// What `frmPatientIndex` shows of the patient.
struct PatientIndexFields
{
    QString PatientName; ///< trimmed last name + ", " + first name + " " + middle name
    QString Address;     ///< house and street, barangay, town, province
    QString BirthDate;   ///< "MM/dd/yyyy"
    QString Age;         ///< whole years at the server's date
    QString Sex;
    QString BloodType;
};

/// The rules of `frmPatientIndex` ("Update Patient Operating Procedure"): find a patient by
/// hospital number or by name, show him with the OR procedures posted to him over all his
/// stays and the updates of their records, and open the surgical memo of one procedure.
class PatientIndex : public QObject
{
    Q_OBJECT

public:
    /// Lets the user pick one of several patients with the typed name; the index of the one
    /// picked, or nothing when he cancels.
    using Chooser = std::function<std::optional<int>(const QList<PatientMatch> &matches)>;
    /// Opens a window of another part of the program (the main window's openWindow).
    using WindowOpener = std::function<void(const QString &formName, const WindowRequest &)>;

    /// `finder` reads the patient master; `cf4` is the CF4 entry object, null when the
    /// hospital does not show the CF4.
    PatientIndex(Session &session, clsPatientFinder *finder, clsCF4 *cf4,
                 QObject *parent = nullptr);

    void setChooser(Chooser chooser) { m_chooser = std::move(chooser); }
    void setWindowOpener(WindowOpener opener) { m_openWindow = std::move(opener); }

    /// The text shown while the hospital-number field has the focus.
    static QString guideline();

    /// Enter in the hospital-number field: text with a digit is a hospital number, any other
    /// text a name "Lastname, FirstName, MiddleName" (each part the beginning of the name; the
    /// first names may be left off). One patient with that name is shown at once; several go
    /// to the chooser. True when a patient is shown afterwards.
    bool enter(const QString &typed);
    /// The patients whose names begin with the parts of `typed`, by name.
    QList<PatientMatch> findByName(const QString &typed);
    /// Reads patient `hospNum` through the patient finder and lists his procedures and their
    /// updates. When he is not found the user is told and the window is emptied.
    bool validatePatient(const QString &hospNum);
    /// "&Refresh": reads the patient shown and his lists again.
    bool refresh();

    /// The admission number the window was opened with (the patient list's highlighted stay).
    void setAdmissionNumber(const QString &idNum) { m_idNum = idNum.trimmed(); }
    QString admissionNumber() const { return m_idNum; }

    /// The hospital number of the patient shown; empty when none.
    QString hospNum() const { return m_hospNum; }
    const PatientIndexFields &fields() const { return m_fields; }
    /// "List of Operating Procedures Done": Station..sp_Get_Patient_PostedProcedure.
    const RowSet &procedures() const { return m_procedures; }
    /// "User Updates": Station..Get_ClinicalOperations.
    const RowSet &updates() const { return m_updates; }

    /// Double-click on procedure `row` (0-based): the CF4 entry of its stay first when the
    /// hospital shows it, then the surgical memo of the procedure.
    void openProcedure(int row);
    /// "New Procedure": the surgical memo for the patient shown, with no procedure yet.
    void newProcedure();

    /// Whole years from `birth` to `day`; -1 when either is unknown.
    static int ageInYears(const QDate &birth, const QDate &day);

Q_SIGNALS:
    /// The patient or his lists changed.
    void changed();

private:
    void clear();
    RowSet listOf(QStringView procedure);
    void openMemo(const QVariantMap &values, const QString &idNum);

    Session &m_session;
    clsPatientFinder *m_finder;
    clsCF4 *m_cf4;
    Chooser m_chooser;
    WindowOpener m_openWindow;
    QString m_hospNum;
    QString m_idNum;
    PatientIndexFields m_fields;
    RowSet m_procedures;
    RowSet m_updates;
};

} // namespace kestrel
