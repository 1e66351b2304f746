// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/PersonalInfo.h"

#include "core/Session.h"
#include "core/db/Database.h"
#include "core/db/NumberFormat.h"

namespace kestrel {

namespace {

QString when(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP"))
                              : QString();
}

} // namespace

PersonalInfo::PersonalInfo(Session &session)
    : m_session(session)
{
}

Result<QList<QPair<QString, QString>>> PersonalInfo::rows() const
{
    const CurrentPatientRecord &stay = m_session.CurrentPatient;
    QList<QPair<QString, QString>> rows{
        {QStringLiteral("Patient Name"), stay.PatientName.trimmed()},
        {QStringLiteral("Hospital #"), stay.HospNum.trimmed()},
        {QStringLiteral("Address"), stay.Address.trimmed()},
        {QStringLiteral("Sex"), stay.Sex.trimmed()}};

    if (stay.isOutpatientStay()) {
        // A visit through the ER carries its ER number; any other is an outpatient visit.
        auto visit = m_session.db().selectOne(
            u"select ERNum from PATIENT_DATA..tbOutPatient where IDNum = :idNum",
            {{QStringLiteral("idNum"), stay.IdNum.trimmed()}});
        if (!visit)
            return tl::unexpected(visit.error());
        const QString erNumber = *visit ? (*visit)->trimmed(u"ERNum") : QString();
        rows << QPair{QStringLiteral("Visit #"), stay.IdNum.trimmed()}
             << QPair{QStringLiteral("Visit"), erNumber.isEmpty()
                                                    ? QStringLiteral("OUTPATIENT")
                                                    : QStringLiteral("EMERGENCY (") + erNumber +
                                                          u')'}
             << QPair{QStringLiteral("Date of Visit"), when(stay.AdmissionDate)}
             << QPair{QStringLiteral("Date Discharged"), when(stay.DischargeDate)}
             << QPair{QStringLiteral("Doctor"), stay.AttendingDoctor.trimmed()};
    } else {
        auto room = m_session.db().selectOne(
            u"select Description, StationID from BUILD_FILE..tbCoRoom where RoomID = :room",
            {{QStringLiteral("room"), stay.RoomID.trimmed()}});
        if (!room)
            return tl::unexpected(room.error());
        const QString roomText =
            *room ? stay.RoomID.trimmed() + QStringLiteral(" - ") + (*room)->trimmed(u"Description") +
                        QStringLiteral(" (") + (*room)->trimmed(u"StationID") + u')'
                  : stay.RoomID.trimmed();
        rows << QPair{QStringLiteral("Admission #"), stay.IdNum.trimmed()}
             << QPair{QStringLiteral("Date Admitted"), when(stay.AdmissionDate)}
             << QPair{QStringLiteral("Date Discharged"), when(stay.DischargeDate)}
             << QPair{QStringLiteral("Room"), roomText}
             << QPair{QStringLiteral("Room Class / Rate"),
                      stay.RoomClassID.trimmed() + QStringLiteral(" / ") +
                          formatNumber(stay.RoomRate, u"#,##0.00")}
             << QPair{QStringLiteral("Attending Doctor"), stay.AttendingDoctor.trimmed()};
    }
    rows << QPair{QStringLiteral("Account #"), stay.AccountNumber.trimmed()}
         << QPair{QStringLiteral("Company"), stay.Company.trimmed()};
    return rows;
}

} // namespace kestrel
