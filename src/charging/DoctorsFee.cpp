// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/DoctorsFee.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"
#include "patients/modGlobals.h"

namespace kestrel {

QString DoctorsFee::hint()
{
    return QStringLiteral("Double-click the list to select the professional fee of the doctor "
                          "or use the arrow keys Up/Down then press the Enter Key.");
}

QStringList DoctorsFee::headers()
{
    return {QStringLiteral("Class"), QStringLiteral("Professional Fee"), QStringLiteral("Amount")};
}

DoctorsFee::DoctorsFee(Session &session, QString doctorId, QString doctorName)
    : m_session(session)
    , m_doctorId(std::move(doctorId).trimmed())
    , m_doctorName(std::move(doctorName).trimmed())
{
}

const CurrentPatientRecord &DoctorsFee::stay() const
{
    return m_stay ? *m_stay : m_session.CurrentPatient;
}

bool DoctorsFee::load()
{
    m_rows.clear();
    m_choice.reset();
    // Only fees in use with an amount count, as for the doctor's own rate.
    auto rows = m_session.db().select(
        u"select DoctorID, RoomClassID, Description, Amount from BUILD_FILE..tbCoDoctorBill "
        u"where (DoctorID = :doctor or DoctorID = '') and Status = 1 and Amount > 0 "
        u"order by case when DoctorID = '' then 1 else 0 end, RoomClassID, Description, "
        u"DoctorBillID",
        {{QStringLiteral("doctor"), m_doctorId}});
    if (!rows) {
        m_session.notifier().errorBox(rows.error());
        return false;
    }
    // The patient's class as his doctor's rate is looked up: the visit's rate type for an
    // outpatient, the room's class for an inpatient.
    const CurrentPatientRecord &p = stay();
    m_roomClass = p.isOutpatientStay()
                      ? modGlobals::GetOPDClassification(m_session, p.IdNum.trimmed())
                      : modGlobals::GetRoomClassification(m_session, p.RoomID.trimmed());
    for (const kestrel::Row &r : *rows)
        m_rows.append({r.trimmed(u"RoomClassID"), r.trimmed(u"Description"), r.money(u"Amount"),
                       !r.trimmed(u"DoctorID").isEmpty()});
    return true;
}

int DoctorsFee::initialRow() const
{
    const QString roomClass = m_roomClass;
    for (int i = 0; i < m_rows.size(); ++i) {
        if (m_rows.at(i).roomClass.compare(roomClass, Qt::CaseInsensitive) == 0)
            return i;
    }
    return m_rows.isEmpty() ? -1 : 0;
}

QString DoctorsFee::doctorLabel() const
{
    return QStringLiteral("Doctor: ") + m_doctorName;
}

QString DoctorsFee::patientLabel() const
{
    const CurrentPatientRecord &p = stay();
    return QStringLiteral("Patient: ") + p.PatientName.trimmed() + QStringLiteral("  (Room ") +
           p.RoomID.trimmed() + QStringLiteral(", class ") + m_roomClass + QStringLiteral(")");
}

bool DoctorsFee::choose(int index)
{
    if (index < 0 || index >= m_rows.size())
        return false;
    m_choice = m_rows.at(index).amount;
    return true;
}

} // namespace kestrel
