// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the discharge order: its saved lines, its notice to billing and the notice's
// withdrawal, the billing checklist, the stay's pending requests and the 24-hour rule.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

const QString kId = QStringLiteral("id");

// STATION..Nurse_GetICDDiagnosis IdNum: the order's diagnosis and operation lines in screen
// order.
Result<RowSet> orderLines(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select LineNumber, CaseType, ICD, RVS, ICDDescription, RVSDescription, "
                     u"OperationDate from STATION..tbPxICDRVS where IDNum = :id "
                     u"order by LineNumber",
                     stayIdBind(args));
}

// STATION..Nurse_CheckDcrNotice IdNum: the stay's discharge notice, the newest when there are
// several.
Result<RowSet> dischargeNotice(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select RecordStatus, OrderedDate, BillUpTo, OperationDate, Procedures, "
                     u"MedicalFees, Remarks, FinalDiagnosis, NoticeDate as Noticedate, UserID, "
                     u"ClearDate from STATION..tbNurseDischargeNotice where IDNum = :id "
                     u"order by NoticeID desc limit 1",
                     stayIdBind(args));
}

// STATION..Nurse_SendDcrNotice IdNum, EmployeeCode, ordered, bill up to, operation date,
// procedures, medical fees, remarks, final diagnosis, final (1) or pending (0), department:
// writes the stay's one notice, pending ('P') until the order is sent ('F').
Result<RowSet> sendDischargeNotice(Database &db, const ProcedureArgs &args)
{
    const bool isFinal = args.text(9) == u"1";
    const QVariant noDate;
    const auto dateOr = [&](int i) { return args.at(i).isNull() ? noDate : args.at(i); };
    Binds binds{{kId, args.text(0)},
                {QStringLiteral("user"), args.text(1)},
                {QStringLiteral("ordered"), dateOr(2)},
                {QStringLiteral("bill"), dateOr(3)},
                {QStringLiteral("operated"), dateOr(4)},
                {QStringLiteral("procedures"), args.at(5).toString()},
                {QStringLiteral("fees"), args.at(6).toString()},
                {QStringLiteral("remarks"), args.at(7).toString()},
                {QStringLiteral("diagnosis"), args.at(8).toString()},
                {QStringLiteral("status"), isFinal ? QStringLiteral("F") : QStringLiteral("P")},
                {QStringLiteral("final"), isFinal ? 1 : 0}};
    auto updated = db.exec(
        u"update STATION..tbNurseDischargeNotice set RecordStatus = :status, IsFinal = :final, "
        u"NoticeDate = getdate(), OrderedDate = :ordered, BillUpTo = :bill, "
        u"OperationDate = :operated, Procedures = :procedures, MedicalFees = :fees, "
        u"Remarks = :remarks, FinalDiagnosis = :diagnosis, UserID = :user where IDNum = :id",
        binds);
    if (!updated)
        return tl::unexpected(updated.error());
    if (*updated > 0)
        return RowSet();
    binds.insert(QStringLiteral("station"), QStringLiteral("OR"));
    return noRows(db.exec(
        u"insert into STATION..tbNurseDischargeNotice (IDNum, RecordStatus, IsFinal, StationID, "
        u"NoticeDate, OrderedDate, BillUpTo, OperationDate, Procedures, MedicalFees, Remarks, "
        u"FinalDiagnosis, UserID) values (:id, :status, :final, :station, getdate(), :ordered, "
        u":bill, :operated, :procedures, :fees, :remarks, :diagnosis, :user)",
        binds));
}

// BILLING..sp_Billing_RevokeHBPS IdNum, EmployeeCode: withdraws the stay's notice with the
// departments' clearances, so they may charge the patient again.
Result<RowSet> revokeDischargeNotice(Database &db, const ProcedureArgs &args)
{
    return noRows(
        db.exec(u"delete from STATION..tbNurseDischargeNotice where IDNum = :id", stayIdBind(args)));
}

// STATION..sp_Nurse_Save_Patient_BillingCheckList IdNum, item, state, EmployeeCode.
Result<RowSet> saveCheckListItem(Database &db, const ProcedureArgs &args)
{
    return noRows(db.exec(u"insert into STATION..tbNurse_BillingCheckList (IDNum, Item, State, "
                           u"UserID, TransDate) values (:id, :item, :state, :user, getdate())",
                           {{kId, args.text(0)},
                            {QStringLiteral("item"), args.text(1)},
                            {QStringLiteral("state"), args.text(2).toInt()},
                            {QStringLiteral("user"), args.text(3)}}));
}

// STATION..CheckIfStayedOneDay IdNum: StayedOneDay 1 once 24 hours passed since admission.
Result<RowSet> stayedOneDay(Database &db, const ProcedureArgs &args)
{
    auto admitted = db.scalar(u"select AdmDate from PATIENT_DATA..tbPatient where IDNum = :id "
                              u"union all select AdmDate from PATIENT_DATA..tbOutPatient "
                              u"where IDNum = :id2",
                              {{kId, args.text(0)}, {QStringLiteral("id2"), args.text(0)}});
    if (!admitted)
        return tl::unexpected(admitted.error());
    auto now = db.scalar(u"select getdate()");
    if (!now)
        return tl::unexpected(now.error());
    const QDateTime since = admitted->toDateTime();
    const bool stayed = since.isValid() && since.addSecs(24 * 3600) <= now->toDateTime();
    RowSet out({QStringLiteral("StayedOneDay")});
    out.append(QVariantList{stayed ? 1 : 0});
    return out;
}

// STATION..List_PendingRequest IdNum: the stay's requests no department has answered or
// revoked: laboratory and department results still without a result date, and requests sent
// that were not revoked.
Result<RowSet> pendingRequests(Database &db, const ProcedureArgs &args)
{
    return db.select(
        u"select RequestNum, TestName as ExamName from LABORATORY..tbLabResult "
        u"where IdNum = :id and ResultDate is null and RecordStatus <> 'R' "
        u"union all select TransNum, ExamName from STATION..tbNurseDiagResult "
        u"where IdNum = :id2 and ResultDate is null and RecordStatus <> 'R' "
        u"union all select RequestNum, ExamName from STATION..tbNurseCommunicationfile "
        u"where IDNum = :id3 and RecordStatus <> 'R'",
        {{kId, args.text(0)},
         {QStringLiteral("id2"), args.text(0)},
         {QStringLiteral("id3"), args.text(0)}});
}

} // namespace

void registerCaseRateProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..Nurse_GetICDDiagnosis"), 1, orderLines);
    registry.add(QStringLiteral("STATION..Nurse_CheckDcrNotice"), 1, dischargeNotice);
    registry.add(QStringLiteral("STATION..Nurse_SendDcrNotice"), 11, sendDischargeNotice);
    registry.add(QStringLiteral("BILLING..sp_Billing_RevokeHBPS"), 2, revokeDischargeNotice);
    registry.add(QStringLiteral("STATION..sp_Nurse_Save_Patient_BillingCheckList"), 4,
                 saveCheckListItem);
    registry.add(QStringLiteral("STATION..CheckIfStayedOneDay"), 1, stayedOneDay);
    registry.add(QStringLiteral("STATION..List_PendingRequest"), 1, pendingRequests);
}

} // namespace kestrel::hospitaldb
