// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
// modGlobals' questions about the stay's patient type, class, programme and payers.
#include "patients/modGlobals.h"
#include "patients/StayQueries.h"

#include "core/db/Database.h"
#include "core/Session.h"

namespace kestrel::modGlobals {

using stayqueries::firstRow;
using stayqueries::firstRowOfCall;
using stayqueries::hasRow;
using stayqueries::idBind;
using stayqueries::isOutpatientIdNum;

QString GetRoomClassification(Session &session, const QString &RoomID)
{
    auto row = firstRowOfCall(session, u"STATION..sp_Nurse_Get_RoomClassification", {RoomID});
    return row ? row->text(u"RoomClassID") : QString();
}

QString GetOPDClassification(Session &session, const QString &IdNum)
{
    auto row = firstRowOfCall(session, u"PATIENT_DATA..sp_Get_OPD_Classification", {IdNum});
    return row ? row->text(u"RateType") : QString();
}

bool IsOPDClassH(Session &session, const QString &IdNum)
{
    return GetOPDClassification(session, IdNum) == u"H";
}

QString GetRateClass(Session &session, const QString &IdNum, const QString &patientClass,
                     const QString &RoomID)
{
    const QString cls = patientClass.trimmed();
    auto row =
        firstRowOfCall(session, u"STATION..sp_Nurse_Get_PatientType", {IdNum.trimmed(), cls});
    if (!row)
        return QStringLiteral("A");
    const QString special = row->text(u"isSpecial").trimmed();
    if (special == u"0") {
        if (cls == u"O") {
            // Only this client prices its HMO outpatients at a rate of their own.
            if (session.hospital.clientname == u"LOBRA" && IsOPDClassH(session, IdNum))
                return QStringLiteral("H");
            return QStringLiteral("A");
        }
        if (cls == u"I")
            return GetRoomClassification(session, RoomID);
        return QStringLiteral("A");
    }
    if (special == u"1" || special == u"9")
        return QStringLiteral("F");
    return GetRoomClassification(session, RoomID);
}

bool IsHMOPatient(Session &session, const QString &IdNum)
{
    auto row = firstRowOfCall(session, u"RADIOLOGY..Radiology_CheckIfHMO", {IdNum});
    return row && row->text(u"Class").trimmed() == u"P";
}

bool IsSeniorCitizen(Session &session, const QString &IdNum)
{
    return firstRowOfCall(session, u"STATION..sp_Nurse_Check_Patient_IsSeniorCitizen", {IdNum})
        .has_value();
}

bool IsInternational(Session &session, const QString &IdNum)
{
    auto row = firstRowOfCall(session, u"STATION..CheckIfInternational", {IdNum});
    return row && row->text(u"isInternational").trimmed() == u"Y";
}

bool IsValidPHICPatient(Session &session, const QString &IdNum)
{
    return firstRowOfCall(session, u"STATION..CheckIfValidPHICPatient", {IdNum}).has_value();
}

bool IsAdmittedSinceCF4Start(Session &session, const QString &IdNum)
{
    const QString start = session.settings.RequireCF4Start().trimmed();
    if (start.isEmpty())
        return IsValidPHICPatient(session, IdNum);
    const QDate startDate = QDate::fromString(start.left(10), Qt::ISODate);
    if (!startDate.isValid())
        return false;
    const QString sql = isOutpatientIdNum(IdNum)
                            ? QStringLiteral("select 1 from PATIENT_DATA..tbOutPatient "
                                             "where IDNum = :id and AdmDate >= :start")
                            : QStringLiteral("select 1 from PATIENT_DATA..tbPatient "
                                             "where IDNum = :id and AdmDate >= :start");
    // Admitted on the start date at any hour counts: compare from that day's midnight.
    if (!hasRow(session, sql,
                {{QStringLiteral("id"), IdNum},
                 {QStringLiteral("start"), QDateTime(startDate, QTime(0, 0))}}))
        return false;
    return IsValidPHICPatient(session, IdNum);
}

bool HasPackage(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbPatient2 where IDNum = :id "
                  u"and coalesce(PackageID, '') <> ''",
                  idBind(IdNum.trimmed()));
}

QString GetPackageName(Session &session, const QString &IdNum, const QString &patientClass)
{
    const QString sql =
        patientClass.trimmed() == u"O"
            ? QStringLiteral("select coalesce(B.Package, '') as Package "
                             "from PATIENT_DATA..tbOutPatient A left outer join "
                             "BUILD_FILE..tbCoAdmPackage B on A.PackageID = B.PackageID "
                             "where A.IDNum = :id")
            : QStringLiteral("select coalesce(B.Package, '') as Package "
                             "from PATIENT_DATA..tbPatient2 A left outer join "
                             "BUILD_FILE..tbCoAdmPackage B on A.PackageID = B.PackageID "
                             "where A.IDNum = :id");
    auto row = firstRow(session, sql, idBind(IdNum));
    return row ? row->text(u"Package") : QString();
}

bool IsZPackageItem(Session &session, const QString &ItemID)
{
    return hasRow(session,
                  u"select 1 from CAPD..tbcapdware_Invent "
                  u"where TransType = 'ZPACKAGE AND CASERATE' and ItemID = :item",
                  {{QStringLiteral("item"), ItemID}});
}

bool IsZFirstPackage(Session &session, const QString &IdNum, QString &LastPDTransaction)
{
    LastPDTransaction.clear();
    auto row = firstRowOfCall(session, u"STATION..CheckZFirstPackagePx", {IdNum});
    if (!row)
        return false;
    LastPDTransaction = row->text(u"LastPDTransaction");
    return true;
}

QString GetPrecautions(Session &session, const QString &IdNum)
{
    const QString id = IdNum.trimmed();
    const QString sql = isOutpatientIdNum(id)
                            ? QStringLiteral("select Precautions from "
                                             "PATIENT_DATA..tbOutpatientHistory where IDNum = :id")
                            : QStringLiteral("select Precautions from "
                                             "PATIENT_DATA..tbPatientHistory where IDNum = :id");
    auto row = firstRow(session, sql, idBind(id));
    return row ? row->text(u"Precautions") : QString();
}

QString GetOldHospNum(Session &session, const QString &HospNum)
{
    auto row = firstRow(session,
                        u"select coalesce(OldHospNum, '') as OldHospNum "
                        u"from PATIENT_DATA..tbMaster where HospNum = :hosp",
                        {{QStringLiteral("hosp"), HospNum}});
    return row ? row->text(u"OldHospNum") : QString();
}

QString GetGuarantors(Session &session, const QString &IdNum)
{
    QStringList payers;
    for (const QString &column : {QStringLiteral("AccountNum"), QStringLiteral("AccountNumII")}) {
        auto row = firstRow(session,
                            QStringLiteral("select coalesce(P.HospNum, '') as HospNum, "
                                           "coalesce(P.%1, '') as AccountNum, "
                                           "coalesce(C.Company, '') as CompanyName "
                                           "from PATIENT_DATA..tbPatient P left outer join "
                                           "BUILD_FILE..tbCoCompany C on C.AccountNum = P.%1 "
                                           "where P.IDNum = :id")
                                .arg(column),
                            idBind(IdNum));
        if (!row)
            break;
        const QString account = row->text(u"AccountNum").trimmed();
        if (account.isEmpty())
            continue;
        payers << (account == row->text(u"HospNum").trimmed() ? QStringLiteral("PERSONAL")
                                                              : row->text(u"CompanyName"));
    }
    return payers.join(u'/');
}

} // namespace kestrel::modGlobals
