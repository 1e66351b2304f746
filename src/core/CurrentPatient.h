// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Money.h"

#include <QDateTime>
#include <QString>

namespace kestrel {

/// The one stay the user works on, filled when a patient is selected from the patient list.
/// IdNum empty means no patient is selected.
struct CurrentPatientRecord
{
    QString HospNum;
    QString IdNum;
    QString PatientClass; ///< "I" inpatient, "O" outpatient or emergency visit
    QString PatientName;
    QString Address;
    QString Sex;
    QString RoomClassID;
    QString RoomID;
    Money RoomRate;
    QDateTime AdmissionDate;
    QDateTime DischargeDate;
    QString AccountNumber;
    QString Company;
    QString AttendingDoctor;
    qint16 ListRow = 0;

    void clear() { *this = CurrentPatientRecord(); }
    bool isSelected() const { return !IdNum.trimmed().isEmpty(); }
    /// An IdNum ending in "B" (either case) is an outpatient or emergency visit.
    bool isOutpatientStay() const { return IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive); }
};

} // namespace kestrel
