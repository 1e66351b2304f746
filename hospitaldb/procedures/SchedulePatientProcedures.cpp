// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures about one patient's operations: the admitted patients whose confirmed operation
// the OR has not yet checked, the OR procedures posted to a patient over all his stays, and
// the updates the OR staff made to their records.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/components/PatientRecords.h"
#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::hospitaldb {

namespace {

QString dateTimeText(const QDateTime &at)
{
    return at.isValid() ? at.toString(QStringLiteral("MM/dd/yyyy hh:mm AP")) : QString();
}

QString personName(const Row &row, QStringView prefix)
{
    const QString p = prefix.toString();
    return completeName(row.trimmed(QString(p + u"Last")), row.trimmed(QString(p + u"First")),
                        row.trimmed(QString(p + u"Middle")));
}

// The list kind of the admitted patients whose confirmed operation the OR has not checked yet
// (the admissions alert of the main window and the list of admitted patients with a scheduled
// operation).
constexpr QStringView kAdmittedNotChecked = u"9";

// The admitted patients (inpatient stays still in the hospital) with a confirmed operation
// that the OR has not yet tagged as checked, earliest operation first. A search text matches
// the beginning of the patient's last name, of the admission number or of the hospital number.
//
// The operations still to check in are a few dozen (an index of their own) against hundreds of
// patients in the hospital, and every workstation asks every five seconds: the operations are
// read first and matched to the stays at once, never each stay looked up among the operations.
//
// Columns, as the list shows them after its marker column: the patient, the operation, the
// two doctors, when, the patient's room; then hidden the hospital number, the admission number
// and the schedule's transaction number; last the OR room.
Result<RowSet> admittedNotChecked(Database &db, const QString &typed)
{
    QString sql = QStringLiteral(
        "with S as materialized (select TransNum, IDNum, StartTime, ProcedureDesc, RoomID, "
        "DoctorID1, DoctorID2 from SCHEDULE..tbORScheduleDetails "
        "where RecordStatus = 'C' and ORNotified <> 'Y') "
        "select S.TransNum, S.IDNum, P.HospNum, S.StartTime, S.ProcedureDesc, P.RoomID, "
        "R.RoomName, M.LastName as PatientLast, M.FirstName as PatientFirst, "
        "M.MiddleName as PatientMiddle, D1.LastName as SurgeonLast, "
        "D1.FirstName as SurgeonFirst, D1.MiddleName as SurgeonMiddle, "
        "D2.LastName as AnesLast, D2.FirstName as AnesFirst, D2.MiddleName as AnesMiddle "
        "from S join PATIENT_DATA..tbPatient P on P.IDNum = S.IDNum "
        "join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum "
        "left join BUILD_FILE..tbCoDoctor D1 on D1.DoctorID = S.DoctorID1 "
        "left join BUILD_FILE..tbCoDoctor D2 on D2.DoctorID = S.DoctorID2 "
        "left join SCHEDULE..tbORRoom R on R.RoomID = S.RoomID "
        "where P.DcrDate is null and P.RecordStatus <> 'R'");
    Binds binds;
    if (!typed.isEmpty()) {
        sql += QStringLiteral(" and (M.LastName like :typed escape '\\' "
                              "or S.IDNum like :typed escape '\\' "
                              "or P.HospNum like :typed escape '\\')");
        binds.insert(QStringLiteral("typed"), likePrefix(typed));
    }
    sql += QStringLiteral(" order by S.StartTime, S.TransNum");
    auto rows = db.select(sql, binds);
    if (!rows)
        return tl::unexpected(rows.error());

    RowSet out({QStringLiteral("Patient Name"), QStringLiteral("OR Procedure"),
                QStringLiteral("Surgeon"), QStringLiteral("Anesthesiologist"),
                QStringLiteral("Schedule Date/Time"), QStringLiteral("Room"),
                QStringLiteral("HospNum"), QStringLiteral("IdNum"), QStringLiteral("TransNum"),
                QStringLiteral("OR Room")});
    for (const Row &r : *rows) {
        out.append(QVariantList{personName(r, u"Patient"), r.trimmed(u"ProcedureDesc"),
                                personName(r, u"Surgeon"), personName(r, u"Anes"),
                                dateTimeText(r.dateTime(u"StartTime")), r.trimmed(u"RoomID"),
                                r.trimmed(u"HospNum"), r.trimmed(u"IDNum"), r.trimmed(u"TransNum"),
                                r.trimmed(u"RoomName")});
    }
    return out;
}

// SCHEDULE..sp_List_ConfirmedORSchedule kind, search text[, transaction number, date]: the
// confirmed operations of one list kind.
Result<RowSet> listConfirmedORSchedule(Database &db, const ProcedureArgs &args)
{
    if (args.text(0) == kAdmittedNotChecked)
        return admittedNotChecked(db, args.text(1));
    return listConfirmedSchedules(db, args);
}

// STATION..sp_Get_Patient_PostedProcedure hospital number: the OR procedures posted to the
// patient over all his stays and not revoked, latest first, each with the OR record written
// for its charge slip when there is one (the operation's date and surgeon come from there,
// else the posting's date and the requesting doctor). The surgical memo opens with the
// columns named after its fields.
Result<RowSet> patientPostedProcedures(Database &db, const ProcedureArgs &args)
{
    auto rows =
        db.select(u"select L.IDNum, L.ReferenceNum, L.ItemID, L.RevenueID, L.TransDate, "
                  u"COALESCE(O.OtherRevenue, L.Description) as ProcedureName, R.OperatingNum, "
                  u"R.OperationDate, R.SurgeonID1, S.LastName as SurgeonLast, "
                  u"S.FirstName as SurgeonFirst, S.MiddleName as SurgeonMiddle, "
                  u"Q.LastName as RequestingLast, Q.FirstName as RequestingFirst, "
                  u"Q.MiddleName as RequestingMiddle "
                  u"from STATION..tbNurseLogBook L "
                  u"join BUILD_FILE..tbCoOtherRevenue O on O.OtherRevenueID = L.ItemID "
                  u"left join STATION..tbORMasterFile R on R.OperatingNum = "
                  u"(select max(X.OperatingNum) from STATION..tbORMasterFile X "
                  u"where X.IdNum = L.IDNum and X.RefNum = L.ReferenceNum) "
                  u"left join BUILD_FILE..tbCoDoctor S on S.DoctorID = R.SurgeonID1 "
                  u"left join BUILD_FILE..tbCoDoctor Q on Q.DoctorID = L.RequestingDoctorID "
                  u"where L.HospNum = :hospnum and L.RecordStatus <> 'R' and O.SectionID = 'PRC' "
                  u"order by L.TransDate desc, L.LogBookID desc",
                  {{QStringLiteral("hospnum"), args.text(0)}});
    if (!rows)
        return tl::unexpected(rows.error());

    RowSet out({QStringLiteral("Date of Operation"), QStringLiteral("Adm. #"),
                QStringLiteral("ProcedureID"), QStringLiteral("ProcedureName"),
                QStringLiteral("Surgeon"), QStringLiteral("RefNum"), QStringLiteral("OperatingNum"),
                QStringLiteral("ClinicalRevenueID")});
    for (const Row &r : *rows) {
        const bool recorded = !r.value(u"OperatingNum").isNull();
        const QDateTime operated = r.dateTime(u"OperationDate");
        const QDate day = operated.isValid() ? operated.date() : r.dateTime(u"TransDate").date();
        const QString surgeon = !r.trimmed(u"SurgeonID1").isEmpty() ? personName(r, u"Surgeon")
                                                                    : personName(r, u"Requesting");
        out.append(QVariantList{day.toString(QStringLiteral("MM/dd/yyyy")), r.trimmed(u"IDNum"),
                                r.trimmed(u"ItemID"), r.trimmed(u"ProcedureName"), surgeon,
                                r.trimmed(u"ReferenceNum"),
                                recorded ? QString::number(r.integer(u"OperatingNum")) : QString(),
                                r.trimmed(u"RevenueID")});
    }
    return out;
}

// STATION..Get_ClinicalOperations hospital number: what the OR staff did to the records of
// the patient's operations, as the station log keeps it (printing the OR record or the
// surgical memo, resetting a record, changing a signatory), latest first.
Result<RowSet> clinicalOperations(Database &db, const ProcedureArgs &args)
{
    auto rows = db.select(
        u"select L.TransDate, L.IdNum, L.Remarks, L.UserID, L.HostName, "
        u"U.LastName as UserLast, U.FirstName as UserFirst, U.MiddleName as UserMiddle "
        u"from STATION..tbStationLogs L "
        u"left join PASSWORD..tbPasswordMaster U on U.EmployeeID = L.UserID "
        u"where L.StationID = 'OR' and L.IdNum in "
        u"(select IDNum from PATIENT_DATA..tbPatient where HospNum = :hospnum "
        u"union all select IDNum from PATIENT_DATA..tbOutPatient where HospNum = :hospnum) "
        u"and (L.Remarks like '%CLINICAL OPERATION%' or L.Remarks like '%OR CHART%' "
        u"or L.Remarks like '%SIGNATORY%' or L.Remarks like '%SURGICAL MEMO%') "
        u"order by L.TransDate desc, L.LogID desc",
        {{QStringLiteral("hospnum"), args.text(0)}});
    if (!rows)
        return tl::unexpected(rows.error());

    RowSet out({QStringLiteral("Date/Time"), QStringLiteral("Adm. #"), QStringLiteral("Update"),
                QStringLiteral("User ID"), QStringLiteral("Updated By"),
                QStringLiteral("Workstation")});
    for (const Row &r : *rows) {
        out.append(QVariantList{dateTimeText(r.dateTime(u"TransDate")), r.trimmed(u"IdNum"),
                                r.trimmed(u"Remarks"), r.trimmed(u"UserID"), personName(r, u"User"),
                                r.trimmed(u"HostName")});
    }
    return out;
}

} // namespace

void registerSchedulePatientProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("SCHEDULE..sp_List_ConfirmedORSchedule"), 4,
                 listConfirmedORSchedule);
    registry.add(QStringLiteral("STATION..sp_Get_Patient_PostedProcedure"), 1,
                 patientPostedProcedures);
    registry.add(QStringLiteral("STATION..Get_ClinicalOperations"), 1, clinicalOperations);
}

} // namespace kestrel::hospitaldb
