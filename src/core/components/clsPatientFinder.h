// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"
#include "core/components/PatientRecords.h"
#include "core/db/RowSet.h"

namespace kestrel {

class Database;
class Row;
class clsPatientFinder;

/// The outpatient side of the patient finder: one outpatient or emergency-room visit.
class clsOutPatient : public QObject
{
    Q_OBJECT
    Q_PROPERTY(QString IdNum READ IdNum)
    Q_PROPERTY(QString HospNum READ HospNum)
    Q_PROPERTY(QDateTime AdmissionDate READ AdmissionDate)
    Q_PROPERTY(QDateTime DischargeDate READ DischargeDate)
    Q_PROPERTY(QDateTime BillingDate READ BillingDate)
    Q_PROPERTY(kestrel::AccountInfo Account READ Account)
    Q_PROPERTY(kestrel::DoctorName Doctor1 READ Doctor1)
    Q_PROPERTY(kestrel::DoctorName Doctor2 READ Doctor2)
    Q_PROPERTY(QString ERNum READ ERNum)
    Q_PROPERTY(kestrel::OutPatientHistory OPDHistory READ OPDHistory)

public:
    explicit clsOutPatient(clsPatientFinder &finder);

    /// Reads the visit `IdNum`; true when it exists, and then this object holds it. The finder
    /// holds one stay at a time, so the inpatient admission it held is let go.
    Q_INVOKABLE bool OpenOutPatient(const QString &IdNum);

    /// The visit held (empty when none).
    const OutPatientRecord &visit() const;
    QString IdNum() const { return visit().IdNum; }
    QString HospNum() const { return visit().HospNum; }
    QDateTime AdmissionDate() const { return visit().AdmissionDate; }
    QDateTime DischargeDate() const { return visit().DischargeDate; }
    QDateTime BillingDate() const { return visit().BillingDate; }
    AccountInfo Account() const { return visit().Account; }
    DoctorName Doctor1() const { return visit().Doctor1; }
    DoctorName Doctor2() const { return visit().Doctor2; }
    QString ERNum() const { return visit().ERNum; }
    OutPatientHistory OPDHistory() const;

private:
    clsPatientFinder &m_finder;
};

/// The patient-class part of the patient finder; it carries the outpatient side.
class clsPatientClass : public QObject
{
    Q_OBJECT
    Q_PROPERTY(kestrel::clsOutPatient *clsOutPatient READ clsOutPatient CONSTANT)

public:
    explicit clsPatientClass(clsPatientFinder &finder);

    kestrel::clsOutPatient *clsOutPatient() const { return m_outPatient; }

private:
    kestrel::clsOutPatient *m_outPatient;
};

/// The patient finder: reads the patient master, inpatient admissions, outpatient visits and
/// rooms for the windows that select and show a patient.
///
/// Every look-up first lets go of what it is about to replace, so a look-up that finds nothing
/// never leaves the previous patient's data behind. Database failures go to the shared error
/// box and count as not found.
class clsPatientFinder : public Component
{
    Q_OBJECT
    Q_PROPERTY(kestrel::PatientMasterRecord PatientMaster READ PatientMaster)
    Q_PROPERTY(kestrel::PatientMasterRecord Patient READ Patient)
    Q_PROPERTY(kestrel::AdmissionRecord Admission READ Admission)
    Q_PROPERTY(kestrel::clsPatientClass *PatientClass READ PatientClass CONSTANT)
    Q_PROPERTY(kestrel::PatientHistory History READ History)
    Q_PROPERTY(kestrel::OutPatientHistory OPDHistory READ OPDHistory)
    Q_PROPERTY(QDateTime AdmissionDate READ AdmissionDate)
    Q_PROPERTY(QDateTime BillingDate READ BillingDate)
    Q_PROPERTY(kestrel::RoomInfo Room READ Room)
    Q_PROPERTY(QString RoomID READ RoomID)
    Q_PROPERTY(QString RoomClassID READ RoomClassID)
    Q_PROPERTY(kestrel::Money RoomRate READ RoomRate)
    Q_PROPERTY(QString Station READ Station)
    Q_PROPERTY(kestrel::AccountInfo Account READ Account)
    Q_PROPERTY(kestrel::AddressInfo Address READ Address)
    Q_PROPERTY(QString BloodType READ BloodType)
    Q_PROPERTY(kestrel::DoctorName Doctor1 READ Doctor1)
    Q_PROPERTY(kestrel::DoctorName Doctor2 READ Doctor2)
    Q_PROPERTY(kestrel::DoctorName Doctor3 READ Doctor3)
    Q_PROPERTY(kestrel::DoctorName AttendingDoctor1 READ AttendingDoctor1)
    Q_PROPERTY(kestrel::DoctorName AttendingDoctor2 READ AttendingDoctor2)
    Q_PROPERTY(kestrel::DoctorName AdmittingDoctor READ AdmittingDoctor)
    Q_PROPERTY(bool OkeyLab READ OkeyLab)
    Q_PROPERTY(bool OkeyPT READ OkeyPT)
    Q_PROPERTY(bool OkeyCT READ OkeyCT)
    Q_PROPERTY(bool OkeyRTS READ OkeyRTS)
    Q_PROPERTY(bool OkeyNU READ OkeyNU)
    Q_PROPERTY(bool OkeyHS READ OkeyHS)
    Q_PROPERTY(bool OkeyAU READ OkeyAU)
    Q_PROPERTY(bool OkeyUltra READ OkeyUltra)
    Q_PROPERTY(bool OkeyPH READ OkeyPH)

public:
    static constexpr QStringView kProgId = u"KsPatient.clsPatientFinder";

    explicit clsPatientFinder(const ComponentContext &ctx, QObject *parent = nullptr);
    ~clsPatientFinder() override;

    /// Takes the connection the finder reads through (and the name of the hospital's central
    /// server, kept for the windows that ask). True when it was given a connection.
    Q_INVOKABLE bool InitConnection(const QString &server, kestrel::Database *connection);

    /// Reads the patient master of hospital number `HospNum` into PatientMaster; true when the
    /// patient exists.
    Q_INVOKABLE bool ValidatePatient(const QString &HospNum);
    /// Reads the inpatient stay `IdNum` into Admission (with its room, account, doctors and
    /// admitting history); true when the stay exists. An outpatient visit number is not an
    /// admission.
    Q_INVOKABLE bool ValidateAdmission(const QString &IdNum);
    /// Reads room `RoomID` into Room; true when the room exists.
    Q_INVOKABLE bool ValidateRoom(const QString &RoomID);
    /// Reads the stay `IdNum` (an outpatient visit when it ends in "B", else an admission)
    /// and the patient it belongs to; true when both were found.
    Q_INVOKABLE bool LoadPatient(const QString &IdNum);
    /// Reads again the patient and the stay the finder holds, so a bill closed a moment ago
    /// elsewhere is seen. False when it holds nothing or something is gone.
    Q_INVOKABLE bool Refresh();

    QString serverName() const { return m_server; }

    const PatientMasterRecord &PatientMaster() const { return m_master; }
    /// The patient the finder holds: the same record as PatientMaster.
    const PatientMasterRecord &Patient() const { return m_master; }
    const AdmissionRecord &Admission() const { return m_admission; }
    kestrel::clsPatientClass *PatientClass() const { return m_patientClass; }
    const PatientHistory &History() const { return m_history; }
    const OutPatientHistory &OPDHistory() const { return m_opdHistory; }

    // The stay the finder holds, whichever kind it is.
    QDateTime AdmissionDate() const;
    QDateTime BillingDate() const;
    AccountInfo Account() const;
    /// The room of the last ValidateRoom, or of the admission read last.
    const RoomInfo &Room() const { return m_room; }
    QString RoomID() const { return m_room.RoomID; }
    QString RoomClassID() const { return m_room.RoomClassID; }
    Money RoomRate() const { return m_room.RoomRate; }
    QString Station() const { return m_admission.Station; }
    DoctorName Doctor1() const;
    DoctorName Doctor2() const;
    DoctorName Doctor3() const { return m_admission.Doctor3; }
    DoctorName AttendingDoctor1() const { return m_admission.AttendingDoctor1; }
    DoctorName AttendingDoctor2() const { return m_admission.AttendingDoctor2; }
    DoctorName AdmittingDoctor() const { return m_admission.AdmittingDoctor; }
    AddressInfo Address() const { return m_master.Address; }
    QString BloodType() const { return m_master.BloodType; }

    // Whether each department has cleared the patient. Nothing clears a patient yet, so every
    // department still takes requests.
    bool OkeyLab() const { return true; }
    bool OkeyPT() const { return true; }
    bool OkeyCT() const { return true; }
    bool OkeyRTS() const { return true; }
    bool OkeyNU() const { return true; }
    bool OkeyHS() const { return true; }
    bool OkeyAU() const { return true; }
    bool OkeyUltra() const { return true; }
    bool OkeyPH() const { return true; }

private:
    friend class clsOutPatient;
    enum class Stay { None, Admission, OutPatient };

    bool openOutPatient(const QString &idNum);
    /// Lets go of the stay held (admission, visit, their histories and the admission's room).
    void clearStay();
    /// The one row `sql` finds for `key` (bound as :key); a failure shows the error box and,
    /// like no row, answers nothing.
    std::optional<Row> lookupRow(QStringView sql, const QString &key);

    QString m_server;
    kestrel::clsPatientClass *m_patientClass;
    PatientMasterRecord m_master;
    AdmissionRecord m_admission;
    PatientHistory m_history;
    OutPatientRecord m_visit;
    OutPatientHistory m_opdHistory;
    RoomInfo m_room;
    Stay m_stay = Stay::None;
};

} // namespace kestrel
