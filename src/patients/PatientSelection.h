// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QColor>
#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>
#include <utility>

namespace kestrel {

class Database;
class Session;
class clsPatientFinder;

/// The kinds of stay the patient lists offer, as their option buttons name them.
enum class PatientType { Inpatient, Outpatient, Emergency };

/// The type the list procedures take: "A" inpatients, "O" outpatients, "E" ER visits.
QString patientTypeCode(PatientType type);
/// The patient class of a stay of that type: "I", or "O" for outpatient and ER visits.
QString patientClassOf(PatientType type);

/// Finding a patient's stay and making it the current patient, with no window involved: the
/// list searches, the selection that fills `CurrentPatient` through the patient finder, the
/// CVOR tag of a stay and the precaution colours of inpatient stays.
///
/// Every search and every selection first clears `HospNum` and `IdNum`, so a search or a
/// selection that fails never leaves the previous patient half-replaced.
class PatientSelection
{
public:
    /// What differs between the windows that select: the message for a stay the finder
    /// cannot find, and whether the patient's sex and attending doctor are filled.
    struct Options
    {
        QString notFound;
        bool fillSexAndDoctor = true;
    };
    /// The patient list (`frmSearch`): "No records found.", everything filled.
    static Options patientListOptions();
    /// The patient for a new schedule (`frmSearchAdmitted`): "No Records Found.", neither
    /// sex nor doctor.
    static Options newScheduleOptions();

    /// `finder` may be null when the patient component is missing; then no stay is found.
    PatientSelection(Session &session, clsPatientFinder *finder);

    /// The rows of the patient list for one kind of stay and one typed criterion (the others
    /// empty); nothing typed lists the stays still open. Sets `ListRow` to 1. With a `limit`,
    /// only the first `limit` rows: the rest come page by page from PatientsPage.
    Result<RowSet> SearchPatients(PatientType type, const QString &lastName, const QString &hospNum,
                                  const QString &idNum, int limit = 0);
    /// The same, only stays admitted from `start` to `end`, both days whole.
    Result<RowSet> SearchPatientsByAdmissionDate(PatientType type, const QString &lastName,
                                                 const QString &hospNum, const QString &idNum,
                                                 const QDate &start, const QDate &end,
                                                 int limit = 0);

    /// Admission days from the first to the last, both whole.
    using AdmissionDays = std::optional<std::pair<QDate, QDate>>;
    /// `limit` rows of the same list after its first `offset`, leaving the current patient
    /// alone: the pages a long list reads as the user scrolls.
    Result<RowSet> PatientsPage(PatientType type, const QString &lastName, const QString &hospNum,
                                const QString &idNum, const AdmissionDays &days, int offset,
                                int limit);

    /// How many stays the same list finds in all, every page together.
    Result<int> PatientsCount(PatientType type, const QString &lastName, const QString &hospNum,
                              const QString &idNum, const AdmissionDays &days);
    /// The same count on `db`, another connection to the hospital (a count of thousands of
    /// stays runs beside the window, not in it).
    static Result<int> PatientsCount(Database &db, PatientType type, const QString &lastName,
                                     const QString &hospNum, const QString &idNum,
                                     const AdmissionDays &days);

    /// Makes the stay `idNum` of patient `hospNum` the current patient: the patient master,
    /// then the admission (`inpatient`) or the outpatient visit. A stay that is not found is
    /// told with `options.notFound` and leaves `HospNum` and `IdNum` set but no patient class.
    /// For the client "QELM" the pay/service label of the stay is read too.
    bool SelectPatient(const QString &hospNum, const QString &idNum, bool inpatient,
                       const Options &options = patientListOptions());

    /// Whether the stay is tagged as a CVOR/RR patient; a visit number (ending in "B") is
    /// looked up among the outpatient visits. A failure is told and answers false.
    bool IsCvorPatient(const QString &idNum);

    /// The precaution colour of each inpatient stay of `idNums`, in order: the colour the
    /// hospital gives its precaution "1" to "5" (no precaution counts as "1"), or none. Nothing
    /// when a statement failed; the failure was told.
    std::optional<QList<std::optional<QColor>>> PrecautionColors(const QStringList &idNums);

private:
    void clearKeys();

    Session &m_session;
    clsPatientFinder *m_finder;
};

} // namespace kestrel
