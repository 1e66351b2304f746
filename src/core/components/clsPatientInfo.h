// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/components/Component.h"

namespace kestrel {

/// The patient information panel: given the stay and the patient, it shows their details.
class clsPatientInfo : public Component
{
    Q_OBJECT
    Q_PROPERTY(QString AdmissionNumber MEMBER AdmissionNumber)
    Q_PROPERTY(QString HospitalNumber MEMBER HospitalNumber)
    Q_PROPERTY(QString PatientName MEMBER PatientName)
    Q_PROPERTY(QString Room MEMBER Room)
    Q_PROPERTY(QString RoomNumber MEMBER RoomNumber)
    Q_PROPERTY(QString StationID MEMBER StationID)
    Q_PROPERTY(QString Doctor MEMBER Doctor)

public:
    static constexpr QStringView kProgId = u"KsPatientInfo.clsPatientInfo";

    explicit clsPatientInfo(const ComponentContext &ctx, QObject *parent = nullptr);

    /// Takes the connection (or connection string) the panel reads through; true when it was given
    /// one.
    Q_INVOKABLE bool InitConnect(kestrel::Database *connection);
    /// The same, given the login's connection string.
    Q_INVOKABLE bool InitConnect(const QString &connectionString);
    /// Shows the panel for the stay AdmissionNumber: the patient, the stay and its attending
    /// doctor as the hospital keeps them, with what the caller set where the hospital has
    /// nothing. False when the hospital could not be asked.
    Q_INVOKABLE bool LoadInfo();

    // The stay the panel shows, under the names the hospital's windows set.
    QString AdmissionNumber;
    QString HospitalNumber;
    QString PatientName;
    QString Room;
    QString RoomNumber;
    QString StationID;
    QString Doctor;
};

} // namespace kestrel
