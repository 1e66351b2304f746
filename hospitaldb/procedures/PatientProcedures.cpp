// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures that answer questions about a patient's stay: type, class and programmes.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

// Outpatient and ER visits end in "B" and live in their own table.
bool isVisit(const QString &idNum)
{
    return idNum.endsWith(u'B', Qt::CaseInsensitive);
}

// The table that holds the stay: visits and inpatient stays live apart.
QString stayTable(const QString &idNum)
{
    return isVisit(idNum) ? QStringLiteral("PATIENT_DATA..tbOutPatient")
                          : QStringLiteral("PATIENT_DATA..tbPatient");
}

// The special class of a stay (0 regular, 1 and 9 charity), read from the visit or from the
// admitting office's record of the inpatient stay, as the patient class asks.
Result<RowSet> patientType(Database &db, const ProcedureArgs &args)
{
    const bool outpatient = args.text(1).compare(u"O", Qt::CaseInsensitive) == 0;
    return db.select(outpatient ? u"select isSpecial from PATIENT_DATA..tbOutPatient "
                                  u"where IDNum = :id"
                                : u"select isSpecial from PATIENT_DATA..tbPatient2 "
                                  u"where IDNum = :id",
                     stayIdBind(args));
}

// The outpatient rate type of a visit.
Result<RowSet> opdClassification(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select RateType from PATIENT_DATA..tbOutPatient where IDNum = :id",
                     stayIdBind(args));
}

// The billing class of a stay's account: "P" for a prepaid health plan (an HMO), "C" another
// company, "N" when the patient pays for themselves.
Result<RowSet> checkIfHmo(Database &db, const ProcedureArgs &args)
{
    return db.select(QStringLiteral("select case when C.CompanyType = 'H' then 'P' "
                                    "when C.AccountNum is not null then 'C' else 'N' end as Class "
                                    "from %1 S left outer join BUILD_FILE..tbCoCompany C "
                                    "on C.AccountNum = S.AccountNum where S.IDNum = :id")
                         .arg(stayTable(args.text(0))),
                     stayIdBind(args));
}

// One row when the patient of the stay holds a senior citizen's card or is sixty or older
// on the server's date.
Result<RowSet> seniorCitizen(Database &db, const ProcedureArgs &args)
{
    auto now = db.scalar(u"select getdate()");
    if (!now)
        return tl::unexpected(now.error());
    const QDate today = dateTimeFromVariant(*now).date();
    return db.select(
        QStringLiteral("select M.HospNum from %1 S inner join PATIENT_DATA..tbMaster M "
                       "on M.HospNum = S.HospNum where S.IDNum = :id and "
                       "(M.SeniorCitizenID <> '' or M.BirthDate <= :born)")
            .arg(stayTable(args.text(0))),
        {{QStringLiteral("id"), args.text(0)},
         {QStringLiteral("born"), QDateTime(today.addYears(-60), QTime(23, 59, 59))}});
}

// "Y" for a patient of another nationality than the hospital's own.
Result<RowSet> checkIfInternational(Database &db, const ProcedureArgs &args)
{
    return db.select(QStringLiteral("select case when M.Nationality <> '' and "
                                    "M.Nationality <> 'FILIPINO' then 'Y' else 'N' end "
                                    "as isInternational from %1 S inner join "
                                    "PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
                                    "where S.IDNum = :id")
                         .arg(stayTable(args.text(0))),
                     stayIdBind(args));
}

// One row when the stay is declared under an active membership category and the patient has
// a membership number.
Result<RowSet> checkIfValidPhicPatient(Database &db, const ProcedureArgs &args)
{
    const bool visit = isVisit(args.text(0));
    const QString sql = visit
                            ? QStringLiteral("select S.PHICCode from PATIENT_DATA..tbOutPatient S ")
                            : QStringLiteral("select S.PHICCode from PATIENT_DATA..tbPatient P "
                                             "inner join PATIENT_DATA..tbPatient2 S "
                                             "on S.IDNum = P.IDNum ");
    const QString master = visit ? QStringLiteral("S.HospNum") : QStringLiteral("P.HospNum");
    return db.select(
        QString(sql + QStringLiteral("inner join MEDICARE..tbAdmPHICTable T "
                                     "on T.PHICCode = S.PHICCode "
                                     "inner join PATIENT_DATA..tbMaster M on M.HospNum = %1 "
                                     "where S.IDNum = :id and T.Status = 1 "
                                     "and M.PhilHealthNum <> ''")
                          .arg(master)),
        stayIdBind(args));
}

// The clearance of a stay's discharge notice by one department; no row when none was given.
Result<RowSet> clearedDepartment(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select ClearDate from STATION..tbNurseDischargeNotice "
        u"where IDNum = :id and StationID = :department and ClearDate is not null",
        {{QStringLiteral("id"), args.text(0)}, {QStringLiteral("department"), args.text(1)}});
}

// 1 once billing has closed the stay and moved its balance to the receivables, 0 before.
Result<RowSet> receivableUpdate(Database &db, const ProcedureArgs &args)
{
    return db.select(QStringLiteral("select case when BillingDate is null then 0 else 1 end "
                                    "as IsReceivableUpdate from %1 where IDNum = :id")
                         .arg(stayTable(args.text(0))),
                     stayIdBind(args));
}

// One row when the item or exam is on the national formulary list.
Result<RowSet> checkIfPnf(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select ItemID from BUILD_FILE..tbCoPNFItem where ItemID = :item",
                     {{QStringLiteral("item"), args.text(0)}});
}

// Today's holiday: one dated for today, or a yearly one on today's month and day.
Result<RowSet> holidayToday(Database &db, const ProcedureArgs &)
{
    auto now = db.scalar(u"select getdate()");
    if (!now)
        return tl::unexpected(now.error());
    const QDate today = dateTimeFromVariant(*now).date();
    auto all = db.select(u"select HolidayDate, IsYearly, HolidayName, HolidayGreeting "
                         u"from BUILD_FILE..tbCoHoliday order by HolidayID");
    if (!all)
        return tl::unexpected(all.error());
    RowSet out({QStringLiteral("HolidayName"), QStringLiteral("HolidayGreeting")});
    for (int i = 0; i < all->count(); ++i) {
        const Row &r = all->at(i);
        const QDate day = r.dateTime(u"HolidayDate").date();
        const bool matches = day == today || (r.flag(u"IsYearly") && day.month() == today.month() &&
                                              day.day() == today.day());
        if (matches)
            out.append(QVariantList{r.text(u"HolidayName"), r.text(u"HolidayGreeting")});
    }
    return out;
}

// The receivable account of a charge to the stay: by the department, the kind of stay, who
// pays (a company when the stay's account is not the patient's own hospital number) and the
// transaction kind ('1' charge, '2' credit).
Result<RowSet> arCodes(Database &db, const ProcedureArgs &args)
{
    return db.select(
        QStringLiteral("select A.ARCode from %1 S inner join BUILD_FILE..tbCoARCode A "
                       "on A.RevenueID = :revenue and A.TransType = :kind "
                       "and A.PatientClass = :class and A.Guarantor = case "
                       "when trim(S.AccountNum) = '' or trim(S.AccountNum) = trim(S.HospNum) "
                       "then 'P' else 'C' end where S.IDNum = :id")
            .arg(stayTable(args.text(0))),
        {{QStringLiteral("id"), args.text(0)},
         {QStringLiteral("revenue"), args.text(1)},
         {QStringLiteral("kind"), args.text(2)},
         {QStringLiteral("class"),
          isVisit(args.text(0)) ? QStringLiteral("O") : QStringLiteral("I")}});
}

// One row when the stay's package is the PD First dialysis benefit; LastPDTransaction is when
// a bag of the benefit was last charged to the stay ("MM/dd/yyyy hh:mm AP"), empty before the
// first.
Result<RowSet> zFirstPackage(Database &db, const ProcedureArgs &args)
{
    const QString id = args.text(0);
    const QString packageOf = isVisit(id) ? QStringLiteral("PATIENT_DATA..tbOutPatient")
                                          : QStringLiteral("PATIENT_DATA..tbPatient2");
    auto package = db.selectOne(QStringLiteral("select S.PackageID from %1 S inner join "
                                               "BUILD_FILE..tbCoAdmPackage P on P.PackageID = "
                                               "S.PackageID where S.IDNum = :id "
                                               "and P.IsZPDFirst = 1")
                                    .arg(packageOf),
                                {{QStringLiteral("id"), id}});
    if (!package)
        return tl::unexpected(package.error());
    RowSet out({QStringLiteral("LastPDTransaction")});
    if (!*package)
        return out;
    auto last = db.scalar(u"select max(L.TransDate) from STATION..tbNurseLogBook L "
                          u"where L.IDNum = :id and L.RecordStatus <> 'R' and L.ItemID in "
                          u"(select ItemID from CAPD..tbcapdware_Invent "
                          u"where TransType = 'ZPACKAGE AND CASERATE')",
                          {{QStringLiteral("id"), id}});
    if (!last)
        return tl::unexpected(last.error());
    const QDateTime at = dateTimeFromVariant(*last);
    out.append(QVariantList{at.isValid() ? at.toString(QStringLiteral("MM/dd/yyyy hh:mm AP"))
                                         : QString()});
    return out;
}

// How much of a medicine requested for the stay has not been given to the patient yet.
Result<RowSet> notAdministeredMeds(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select coalesce(sum(Quantity - QtyAdministered), 0) as Unused "
        u"from STATION..tbNursePatientMedicines where IDNum = :id and ItemID = :item "
        u"and RecordStatus <> 'R' and Quantity > QtyAdministered",
        {{QStringLiteral("id"), args.text(0)}, {QStringLiteral("item"), args.text(1)}});
}

} // namespace

void registerPatientProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_Nurse_Get_PatientType"), 2, patientType);
    registry.add(QStringLiteral("PATIENT_DATA..sp_Get_OPD_Classification"), 1, opdClassification);
    registry.add(QStringLiteral("RADIOLOGY..Radiology_CheckIfHMO"), 1, checkIfHmo);
    registry.add(QStringLiteral("STATION..sp_Nurse_Check_Patient_IsSeniorCitizen"), 1,
                 seniorCitizen);
    registry.add(QStringLiteral("STATION..CheckIfInternational"), 1, checkIfInternational);
    registry.add(QStringLiteral("STATION..CheckIfValidPHICPatient"), 1, checkIfValidPhicPatient);
    registry.add(QStringLiteral("PATIENT_DATA..sp_Check_Patient_For_ReceivableUpdate"), 1,
                 receivableUpdate);
    registry.add(QStringLiteral("STATION..CheckIfPNF"), 1, checkIfPnf);
    registry.add(QStringLiteral("BUILD_FILE..Build_GetHolidayToday"), 0, holidayToday);
    registry.add(QStringLiteral("STATION..sp_Nurse_Check_ClearedDepartment"), 2, clearedDepartment);
    registry.add(QStringLiteral("STATION..sp_Get_ARCodes"), 3, arCodes);
    registry.add(QStringLiteral("STATION..CheckZFirstPackagePx"), 1, zFirstPackage);
    registry.add(QStringLiteral("STATION..Check_NotAdministeredMeds"), 2, notAdministeredMeds);
}

} // namespace kestrel::hospitaldb
