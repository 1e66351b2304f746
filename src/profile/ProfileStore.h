// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Error.h"
#include "core/db/RowSet.h"

#include <QDate>
#include <QDateTime>
#include <QList>
#include <QString>

#include <optional>

namespace kestrel {

class Database;

/// The header of the patient profile: what the nurse reads about the stay at a glance.
struct ProfileHeader
{
    QString IdNum, HospNum, PatientName, Sex, Age, BirthDate, Room, Status;
    QString DateAdmitted, DateDischarged, Diagnosis, Doctor1, Doctor2, Doctor3;
    QString BloodType, Diet, AdmissionType, PatientAccount, Height, Weight, PhicType;
    bool outpatient = false;
};

/// One vital-sign reading as typed: each value is kept as text, the blood pressure as its two
/// halves.
struct VitalSignReading
{
    QString systolic, diastolic, temperature, pulseRate, respiratoryRate, o2Sat, protocol, itemId;

    /// The systolic value, a slash and the diastolic value; empty when neither was given.
    QString bloodPressure() const;
    /// The two halves of a stored blood pressure, split at the slash.
    static std::pair<QString, QString> splitBloodPressure(const QString &bp);
};

/// One reading of the stay's list.
struct VitalSignRecord
{
    qint64 transNum = 0;
    QDateTime takenAt;
    QString bloodPressure, temperature, respiratoryRate, pulseRate, o2Sat, encoder, itemId,
        protocol, remarks, remarks2;
    QDateTime scheduleTime;
};

/// The statements of the patient profile's vital signs, notes and height/weight. Every value
/// is bound; a save of several statements runs in one transaction here.
class ProfileStore
{
public:
    explicit ProfileStore(Database &db)
        : m_db(db)
    {
    }

    Database &db() const { return m_db; }

    Result<ProfileHeader> header(const QString &idNum, const QDate &today) const;

    Result<QList<VitalSignRecord>> vitalSigns(const QString &idNum) const;
    /// A new reading and the monitor's marker, together.
    Result<void> addVitalSign(const QString &idNum, const QDateTime &at,
                              const VitalSignReading &reading, const QString &encoder) const;
    /// Rewrites reading `old` and logs its former values, together.
    Result<void> updateVitalSign(const QString &idNum, const VitalSignRecord &old,
                                 const QDateTime &at, const VitalSignReading &reading,
                                 const QString &encoder, const QString &stationId) const;
    /// Whether `employee` entered reading `transNum` of the stay.
    Result<bool> isVitalSignAuthor(qint64 transNum, const QString &idNum,
                                   const QString &employee) const;
    Result<void> deleteVitalSign(const QString &idNum, const VitalSignRecord &old,
                                 const QString &employee, const QString &stationId) const;

    /// "Lastname, Firstname" of an employee; the code itself when the hospital has no such
    /// employee.
    QString employeeName(const QString &code) const;

    Result<RowSet> notes(const QString &idNum) const;
    /// Transdate, Dayshift and Notes of one note; no row when it is gone.
    Result<RowSet> note(qint64 transNum) const;
    Result<void> addNote(const QString &idNum, const QDateTime &at, const QString &text,
                         const QString &shift, const QString &employee) const;
    Result<bool> isNoteOwner(qint64 transNum, const QString &employee) const;
    Result<void> updateNote(qint64 transNum, const QString &text, const QString &employee) const;
    Result<void> deleteNote(const QString &idNum, qint64 transNum, const QString &logText,
                            const QString &employee, const QString &stationId) const;
    /// The shifts the station keeps in use, in their order of entry.
    Result<QStringList> activeShifts() const;

    /// Saves height and weight and logs the old and new values, together.
    Result<void> saveHeightWeight(const QString &idNum, const QString &height,
                                  const QString &weight, const QString &employee,
                                  const QString &stationId) const;

private:
    Result<void> log(const QString &idNum, const QString &remarks, const QString &employee,
                     const QString &stationId) const;

    Database &m_db;
};

} // namespace kestrel
