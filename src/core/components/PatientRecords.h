// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QDate>
#include <QDateTime>
#include <QMetaType>
#include <QObject>
#include <QString>

// What the patient finder reads: small value records with the member names the windows use.
// They are gadgets, so each member is also reachable by name at run time
// (`finder->property("Admission")` and then `Room.RoomID`).

namespace kestrel {

/// A doctor named on a stay.
struct DoctorName
{
    Q_GADGET
    Q_PROPERTY(QString Code MEMBER Code)
    Q_PROPERTY(QString LastName MEMBER LastName)
    Q_PROPERTY(QString FirstName MEMBER FirstName)
    Q_PROPERTY(QString MiddleName MEMBER MiddleName)
    Q_PROPERTY(QString CompleteName MEMBER CompleteName)

public:
    friend bool operator==(const DoctorName &, const DoctorName &) = default;

    QString Code; ///< the doctor's code (DoctorID)
    QString LastName;
    QString FirstName;
    QString MiddleName;
    /// "LASTNAME, FIRSTNAME MIDDLENAME"; empty when the stay names no doctor here.
    QString CompleteName;
};

/// Who pays: the account a stay is charged to.
struct AccountInfo
{
    Q_GADGET
    Q_PROPERTY(QString AccountNumber MEMBER AccountNumber)
    Q_PROPERTY(QString Company MEMBER Company)

public:
    friend bool operator==(const AccountInfo &, const AccountInfo &) = default;

    QString AccountNumber; ///< empty for a personal account
    QString Company;       ///< the company's name, empty when the account is no company's
};

/// The nursing station a room belongs to.
struct StationInfo
{
    Q_GADGET
    Q_PROPERTY(QString StationID MEMBER StationID)
    Q_PROPERTY(QString Description MEMBER Description)

public:
    friend bool operator==(const StationInfo &, const StationInfo &) = default;

    QString StationID;
    QString Description;
};

/// A hospital room with its rate class and daily rate.
struct RoomInfo
{
    Q_GADGET
    Q_PROPERTY(QString RoomID MEMBER RoomID)
    Q_PROPERTY(QString RoomClassID MEMBER RoomClassID)
    Q_PROPERTY(kestrel::Money RoomRate MEMBER RoomRate)
    Q_PROPERTY(QString Description MEMBER Description)
    Q_PROPERTY(kestrel::StationInfo Station MEMBER Station)

public:
    friend bool operator==(const RoomInfo &, const RoomInfo &) = default;

    QString RoomID;
    QString RoomClassID; ///< the rate letter the room's patients are charged at
    Money RoomRate;
    QString Description;
    StationInfo Station;
};

/// A patient's address, in pieces and as one line.
struct AddressInfo
{
    Q_GADGET
    Q_PROPERTY(QString HouseStreet MEMBER HouseStreet)
    Q_PROPERTY(QString Barangay MEMBER Barangay)
    Q_PROPERTY(QString Town MEMBER Town)
    Q_PROPERTY(QString Province MEMBER Province)
    Q_PROPERTY(QString ZipCode MEMBER ZipCode)
    Q_PROPERTY(QString CompleteAddress MEMBER CompleteAddress)

public:
    friend bool operator==(const AddressInfo &, const AddressInfo &) = default;

    QString HouseStreet;
    QString Barangay;
    QString Town;
    QString Province;
    QString ZipCode;
    /// House and street, barangay, town, province: the pieces that are filled, comma-separated.
    QString CompleteAddress;
};

/// The patient master: one person under his hospital number.
struct PatientMasterRecord
{
    Q_GADGET
    Q_PROPERTY(QString HospitalNumber MEMBER HospitalNumber)
    Q_PROPERTY(QString LastName MEMBER LastName)
    Q_PROPERTY(QString FirstName MEMBER FirstName)
    Q_PROPERTY(QString MiddleName MEMBER MiddleName)
    Q_PROPERTY(QString Suffix MEMBER Suffix)
    Q_PROPERTY(QString Sex MEMBER Sex)
    Q_PROPERTY(QDate BirthDate MEMBER BirthDate)
    Q_PROPERTY(QString CivilStatus MEMBER CivilStatus)
    Q_PROPERTY(QString BloodType MEMBER BloodType)
    Q_PROPERTY(kestrel::AddressInfo Address MEMBER Address)
    Q_PROPERTY(QString TelNum MEMBER TelNum)
    Q_PROPERTY(QString PhilHealthNum MEMBER PhilHealthNum)

public:
    friend bool operator==(const PatientMasterRecord &, const PatientMasterRecord &) = default;

    QString HospitalNumber;
    QString LastName;
    QString FirstName;
    QString MiddleName;
    QString Suffix;
    QString Sex; ///< "M" or "F"
    QDate BirthDate;
    QString CivilStatus;
    QString BloodType;
    AddressInfo Address;
    QString TelNum;
    QString PhilHealthNum;
};

/// An inpatient stay.
struct AdmissionRecord
{
    Q_GADGET
    Q_PROPERTY(QString IdNum MEMBER IdNum)
    Q_PROPERTY(QString HospNum MEMBER HospNum)
    Q_PROPERTY(kestrel::RoomInfo Room MEMBER Room)
    Q_PROPERTY(QDateTime AdmissionDate MEMBER AdmissionDate)
    Q_PROPERTY(QDateTime DischargeDate MEMBER DischargeDate)
    Q_PROPERTY(QDateTime BillingDate MEMBER BillingDate)
    Q_PROPERTY(kestrel::AccountInfo Account MEMBER Account)
    Q_PROPERTY(kestrel::DoctorName AdmittingDoctor MEMBER AdmittingDoctor)
    Q_PROPERTY(kestrel::DoctorName AttendingDoctor1 MEMBER AttendingDoctor1)
    Q_PROPERTY(kestrel::DoctorName AttendingDoctor2 MEMBER AttendingDoctor2)
    Q_PROPERTY(kestrel::DoctorName Doctor1 MEMBER Doctor1)
    Q_PROPERTY(kestrel::DoctorName Doctor2 MEMBER Doctor2)
    Q_PROPERTY(kestrel::DoctorName Doctor3 MEMBER Doctor3)
    Q_PROPERTY(QString Station MEMBER Station)
    Q_PROPERTY(QString RecordStatus MEMBER RecordStatus)

public:
    friend bool operator==(const AdmissionRecord &, const AdmissionRecord &) = default;

    QString IdNum;
    QString HospNum;
    RoomInfo Room;
    QDateTime AdmissionDate;
    QDateTime DischargeDate; ///< invalid while the patient is in the hospital
    QDateTime BillingDate;   ///< invalid until billing closes the account
    AccountInfo Account;
    DoctorName AdmittingDoctor;
    DoctorName AttendingDoctor1;
    DoctorName AttendingDoctor2;
    /// The first three attending doctors of the stay, in order.
    DoctorName Doctor1;
    DoctorName Doctor2;
    DoctorName Doctor3;
    QString Station;      ///< the nursing station the patient is admitted to
    QString RecordStatus; ///< "R" when the admission was cancelled
};

/// An outpatient or emergency-room visit.
struct OutPatientRecord
{
    Q_GADGET
    Q_PROPERTY(QString IdNum MEMBER IdNum)
    Q_PROPERTY(QString HospNum MEMBER HospNum)
    Q_PROPERTY(QDateTime AdmissionDate MEMBER AdmissionDate)
    Q_PROPERTY(QDateTime DischargeDate MEMBER DischargeDate)
    Q_PROPERTY(QDateTime BillingDate MEMBER BillingDate)
    Q_PROPERTY(kestrel::AccountInfo Account MEMBER Account)
    Q_PROPERTY(kestrel::DoctorName Doctor1 MEMBER Doctor1)
    Q_PROPERTY(kestrel::DoctorName Doctor2 MEMBER Doctor2)
    Q_PROPERTY(QString ERNum MEMBER ERNum)
    Q_PROPERTY(QString RecordStatus MEMBER RecordStatus)

public:
    friend bool operator==(const OutPatientRecord &, const OutPatientRecord &) = default;

    QString IdNum;
    QString HospNum;
    QDateTime AdmissionDate;
    QDateTime DischargeDate;
    QDateTime BillingDate;
    AccountInfo Account;
    DoctorName Doctor1;
    DoctorName Doctor2; ///< the doctor who saw the patient
    QString ERNum;      ///< set when the visit came through the emergency room
    QString RecordStatus;
};

/// The admitting history of an inpatient stay.
struct PatientHistory
{
    Q_GADGET
    Q_PROPERTY(QString Precautions MEMBER Precautions)
    Q_PROPERTY(QString ADMDiagnosis MEMBER ADMDiagnosis)
    Q_PROPERTY(QString ChiefComplaint MEMBER ChiefComplaint)
    Q_PROPERTY(QString BriefHistory MEMBER BriefHistory)
    Q_PROPERTY(QString PhysicalExamination MEMBER PhysicalExamination)

public:
    friend bool operator==(const PatientHistory &, const PatientHistory &) = default;

    QString Precautions;
    QString ADMDiagnosis;
    QString ChiefComplaint;
    QString BriefHistory;
    QString PhysicalExamination;
};

/// The history taken at an outpatient or emergency-room visit.
struct OutPatientHistory
{
    Q_GADGET
    Q_PROPERTY(QString Precautions MEMBER Precautions)
    Q_PROPERTY(QString ChiefComplaints MEMBER ChiefComplaints)
    Q_PROPERTY(QString BriefHistory MEMBER BriefHistory)

public:
    friend bool operator==(const OutPatientHistory &, const OutPatientHistory &) = default;

    QString Precautions;
    QString ChiefComplaints;
    QString BriefHistory;
};

/// "LASTNAME, FIRSTNAME MIDDLENAME" from the trimmed pieces; "" when there is no last name.
QString completeName(const QString &lastName, const QString &firstName, const QString &middleName);

} // namespace kestrel
