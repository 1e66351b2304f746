// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// modGlobals' texts about a stay's doctors and complaints, and the profile's banner.
#include "patients/modGlobals.h"
#include "patients/StayQueries.h"

#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::modGlobals {

using stayqueries::firstRow;
using stayqueries::hasRow;
using stayqueries::idBind;
using stayqueries::isOutpatientIdNum;

QString GetDoctorName(Session &session, const QString &DoctorID)
{
    auto row = firstRow(session,
                        u"select LastName, FirstName, MiddleName from BUILD_FILE..tbCoDoctor "
                        u"where DoctorID = :doctor",
                        {{QStringLiteral("doctor"), DoctorID}});
    if (!row)
        return QString();
    return row->text(u"LastName") + u", " + row->text(u"FirstName") + u' ' +
           row->text(u"MiddleName");
}

bool HasDoctorBillRate(Session &session, const QString &DoctorID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbCoDoctorBill where DoctorID = :doctor "
                  u"and Status = 1 and Amount > 0",
                  {{QStringLiteral("doctor"), DoctorID}});
}

bool IsDoctorUser(Session &session, const QString &DoctorID, const QString &UserID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbCoDoctor where DoctorID = :doctor "
                  u"and UserID = :user",
                  {{QStringLiteral("doctor"), DoctorID}, {QStringLiteral("user"), UserID}});
}

bool HasDoctorSignature(Session &session, const QString &DoctorID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbDBImage where TableName = 'tbCoDoctor' "
                  u"and FieldName = 'Signature' and IDKey = :doctor",
                  {{QStringLiteral("doctor"), DoctorID}});
}

QString GetConsultationSummary(Session &session, const QString &IdNum)
{
    auto rows = session.db().select(
        u"select coalesce(D.LastName, '') as LastName, coalesce(D.FirstName, '') as FirstName, "
        u"coalesce(C.ChiefComplaint, '') as Complaint from DOCTORS..Consultation C "
        u"left outer join BUILD_FILE..tbCoDoctor D on D.DoctorID = C.DoctorID "
        u"where C.IdNum = :id order by C.ConsultationID",
        idBind(IdNum));
    if (!rows) {
        session.notifier().errorBox(rows.error());
        return QString();
    }
    QStringList lines;
    for (int i = 0; i < rows->count(); ++i) {
        const Row &r = rows->at(i);
        lines << u"DR. " + r.text(u"LastName") + u", " + r.text(u"FirstName") + u" (" +
                     r.text(u"Complaint") + u')';
    }
    return lines.join(u'\n');
}

QString GetChiefComplaint(Session &session, const QString &ChiefComplaintID)
{
    auto row = firstRow(session,
                        u"select ChiefComplaint from BUILD_FILE..tbCoChiefComplaint "
                        u"where ChiefComplaintID = :id",
                        idBind(ChiefComplaintID));
    return row ? row->text(u"ChiefComplaint") : QString();
}

PatientBanner ShowPatientBanner(Session &session, const QString &IdNum)
{
    PatientBanner banner;
    auto row = firstRow(session,
                        u"select coalesce(A.transplantID, '0') as transplantID, "
                        u"coalesce(A.dialysisID, '0') as dialysisID, "
                        u"coalesce(B.Description, '') as Package, coalesce(A.VIP, 0) as VIP "
                        u"from PATIENT_DATA..tbPatient2 A left outer join "
                        u"BUILD_FILE..tbExecPackageCode B on A.PackageID = B.PackageID "
                        u"where A.IDNum = :id",
                        idBind(IdNum));
    if (row) {
        const QString package = row->text(u"Package").trimmed();
        if (!package.isEmpty())
            banner.executivePackage = QStringLiteral(" Executive Package Type : ") + package;
        if (row->value(u"VIP").toInt() == 1)
            banner.vipNotice = QStringLiteral("( Patient is Tag As VIP PATIENT )");
        if (row->text(u"transplantID").trimmed() == u"1")
            banner.TransplantStatus = QStringLiteral("Transplant");
        const QString dialysis = row->text(u"dialysisID").trimmed();
        if (dialysis == u"1")
            banner.DialysisStatus = QStringLiteral("Pre-Dialysis");
        else if (dialysis == u"2")
            banner.DialysisStatus = QStringLiteral("Post-Dialysis");
    }
    if (IsSeniorCitizen(session, IdNum))
        banner.seniorNotice = QStringLiteral(" ( Patient is Senior Citizen )");
    banner.admissionPackage =
        QStringLiteral("Executive Package Type : ") +
        GetPackageName(session, IdNum,
                       isOutpatientIdNum(IdNum) ? QStringLiteral("O") : QStringLiteral("I"));
    return banner;
}

QString LoadPayServiceLabel(Session &session, const QString &IdNum)
{
    std::optional<Row> row;
    QString letter;
    if (isOutpatientIdNum(IdNum)) {
        row = firstRow(session,
                       u"select PatientType from PATIENT_DATA..tbOutPatient "
                       u"where IDNum = :id and HospNum = :hosp",
                       {{QStringLiteral("id"), IdNum},
                        {QStringLiteral("hosp"), session.CurrentPatient.HospNum}});
        if (row)
            letter = row->text(u"PatientType").trimmed().left(1);
    } else {
        row = firstRow(session,
                       u"select PatientClass from PATIENT_DATA..tbPatient2 where IDNum = :id",
                       idBind(IdNum));
        if (row)
            letter = row->text(u"PatientClass").trimmed();
    }
    if (letter == u"P")
        return QStringLiteral("PAY PATIENT");
    if (letter == u"S")
        return QStringLiteral("SERVICE PATIENT");
    return QString();
}

} // namespace kestrel::modGlobals
