// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of cash and clinical assessments: the lines of an assessment, its slip's print
// buffer, its status and revoke, the specimens of a laboratory examination, and the cash
// credit memos of paid assessment lines.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/Money.h"

#include <QLocale>

namespace kestrel::hospitaldb {

namespace {

Result<RowSet> nothing(const Result<int> &touched)
{
    if (!touched)
        return tl::unexpected(touched.error());
    return RowSet();
}

// STATION..sp_OR_AssessmentEntry assessment, IdNum, HospNum, patient name, department, item,
// description, quantity, unit price, amount, time ("MM/dd/yyyy hh:mm:ss AM/PM"), user,
// station, remarks, specimen, portable ("1" or "0"): one line of an assessment.
Result<RowSet> assessmentEntry(Database &db, const ProcedureArgs &args)
{
    const QDateTime at =
        QLocale::c().toDateTime(args.text(10), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!at.isValid())
        return failure(QStringLiteral("The assessment date %1 is not a date.").arg(args.text(10)));
    return nothing(db.exec(
        u"insert into BILLING..tbCashAssessment (RefNum, IDNum, HospNum, PatientName, RevenueID, "
        u"ItemID, Description, Quantity, UnitPrice, Amount, TransDate, UserID, StationID, "
        u"Remarks, SpecimenID, Portable, RecordStatus) values (:no, :id, :hosp, :name, :revenue, "
        u":item, :description, :qty, :price, :amount, :at, :user, :station, :remarks, "
        u":specimen, :portable, '')",
        {{QStringLiteral("no"), args.text(0)},
         {QStringLiteral("id"), args.text(1)},
         {QStringLiteral("hosp"), args.text(2)},
         {QStringLiteral("name"), args.text(3)},
         {QStringLiteral("revenue"), args.text(4)},
         {QStringLiteral("item"), args.text(5)},
         {QStringLiteral("description"), args.text(6)},
         {QStringLiteral("qty"), args.at(7).toDouble()},
         {QStringLiteral("price"), Money::fromVariant(args.at(8)).toVariant()},
         {QStringLiteral("amount"), Money::fromVariant(args.at(9)).toVariant()},
         {QStringLiteral("at"), at},
         {QStringLiteral("user"), args.text(11)},
         {QStringLiteral("station"), args.text(12)},
         {QStringLiteral("remarks"), args.text(13)},
         {QStringLiteral("specimen"), args.text(14)},
         {QStringLiteral("portable"), args.text(15) == u"1" ? 1 : 0}}));
}

// STATION..sp_OR_PrintAssessment assessment: this workstation's print buffer holds the lines
// of the assessment that are not revoked, and nothing else.
Result<RowSet> printAssessment(Database &db, const ProcedureArgs &args)
{
    auto host = db.hostName();
    if (!host)
        return tl::unexpected(host.error());
    if (auto cleared = db.exec(u"delete from STATION..tbORAssessPrint where HostName = :host",
                               {{QStringLiteral("host"), *host}});
        !cleared)
        return tl::unexpected(cleared.error());
    return nothing(db.exec(
        u"insert into STATION..tbORAssessPrint (HostName, AssessNum, RevenueID, ItemID, "
        u"Description, Quantity, Amount, TransDate) select host_name(), RefNum, RevenueID, "
        u"ItemID, Description, Quantity, Amount, TransDate from BILLING..tbCashAssessment "
        u"where RefNum = :no and RecordStatus <> 'R' order by AssessmentID",
        {{QStringLiteral("no"), args.text(0)}}));
}

// STATION..sp_OR_AssessmentStatus assessment (and the clinical departments' twin): the column
// Status, PENDING, GIVEN, REVOKED or PAID; no row for an unknown number.
Result<RowSet> assessmentStatus(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select Status from STATION..tbORAssessment where AssessNum = :no",
                     {{QStringLiteral("no"), args.text(0)}});
}

// STATION..sp_Nurse_Revoke_Assessment assessment, user, time ("MM/dd/yyyy hh:mm:ss AM/PM"):
// revokes an assessment still pending or given, with its lines. Of two workstations revoking
// the same assessment one gets its row back (AssessNum) and the other none; an assessment the
// cashier processed meanwhile is left as it is and gives no row.
Result<RowSet> revokeAssessment(Database &db, const ProcedureArgs &args)
{
    const QDateTime at =
        QLocale::c().toDateTime(args.text(2), QStringLiteral("MM/dd/yyyy hh:mm:ss AP"));
    if (!at.isValid())
        return failure(QStringLiteral("The revoke date %1 is not a date.").arg(args.text(2)));
    auto revoked = db.select(u"update STATION..tbORAssessment set Status = 'REVOKED', "
                             u"RevokedBy = :user, RevokedDate = :at where AssessNum = :no and "
                             u"Status in ('PENDING', 'GIVEN') returning AssessNum",
                             {{QStringLiteral("no"), args.text(0)},
                              {QStringLiteral("user"), args.text(1)},
                              {QStringLiteral("at"), at}});
    if (!revoked || revoked->isEmpty())
        return revoked;
    if (auto lines = db.exec(u"update BILLING..tbCashAssessment set RecordStatus = 'R' "
                             u"where RefNum = :no",
                             {{QStringLiteral("no"), args.text(0)}});
        !lines)
        return tl::unexpected(lines.error());
    return revoked;
}

// STATION..sp_Nurse_GetLabExam_Specimen exam: the specimens the examination may be taken from
// (Code, Description); a single "None" row when it needs none.
Result<RowSet> labExamSpecimen(Database &db, const ProcedureArgs &args)
{
    auto rows = db.select(u"select S.SpecimenID as Code, S.Description from "
                          u"BUILD_FILE..tbCoLabExamSpecimen E inner join "
                          u"BUILD_FILE..tbCoLabSpecimen S on S.SpecimenID = E.SpecimenID "
                          u"where E.ExamID = :exam order by S.Description",
                          {{QStringLiteral("exam"), args.text(0)}});
    if (!rows || !rows->isEmpty())
        return rows;
    RowSet none(QStringList{QStringLiteral("Code"), QStringLiteral("Description")});
    none.append(QVariantList{QStringLiteral("None"), QStringLiteral("None")});
    return none;
}

// PATIENT_DATA..sp_Get_Patient_CashCM IdNum, "OR", station: the patient's assessment lines the
// cashier was paid for and that credit memos have not given back in full (AssessmentID,
// RefNum, RevenueID, ItemID, Description, Quantity, Amount, CreditedAmount).
Result<RowSet> patientCashCM(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select A.AssessmentID, A.RefNum, A.RevenueID, A.ItemID, A.Description, "
                     u"A.Quantity, A.Amount, A.CreditedAmount from BILLING..tbCashAssessment A "
                     u"inner join STATION..tbORAssessment H on H.AssessNum = A.RefNum where "
                     u"A.IDNum = :id and H.Status = 'PAID' and A.RecordStatus <> 'R' and "
                     u"A.Amount > A.CreditedAmount order by A.AssessmentID",
                     {{QStringLiteral("id"), args.text(0)}});
}

// BILLING..spCash_SaveCMAdvise credit memo, assessment line, amount, user, station: gives
// `amount` of a paid line back. Only a paid line with that much left to give back changes;
// the row answered (AssessmentID) says it did, none that it was refused.
Result<RowSet> saveCMAdvise(Database &db, const ProcedureArgs &args)
{
    const Money amount = Money::fromVariant(args.at(2));
    const Binds line{{QStringLiteral("line"), args.at(1).toLongLong()},
                     {QStringLiteral("amount"), amount.toVariant()}};
    auto credited = db.select(
        u"update BILLING..tbCashAssessment set CreditedAmount = CreditedAmount + :amount where "
        u"AssessmentID = :line and :amount > 0 and CreditedAmount + :amount <= Amount and "
        u"RecordStatus <> 'R' and RefNum in (select H.AssessNum from STATION..tbORAssessment H "
        u"where H.Status = 'PAID') returning AssessmentID",
        line);
    if (!credited || credited->isEmpty())
        return credited;
    if (auto saved = db.exec(
            u"insert into BILLING..tbCashCMAdvise (CMAdviseNum, AssessmentID, RefNum, IDNum, "
            u"RevenueID, ItemID, Description, Quantity, Amount, UserID, StationID, TransDate) "
            u"select :memo, AssessmentID, RefNum, IDNum, RevenueID, ItemID, Description, "
            u"Quantity, :amount, :user, :station, getdate() from BILLING..tbCashAssessment "
            u"where AssessmentID = :line",
            {{QStringLiteral("memo"), args.text(0)},
             {QStringLiteral("line"), args.at(1).toLongLong()},
             {QStringLiteral("amount"), amount.toVariant()},
             {QStringLiteral("user"), args.text(3)},
             {QStringLiteral("station"), args.text(4)}});
        !saved)
        return tl::unexpected(saved.error());
    return credited;
}

} // namespace

void registerAssessmentProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("STATION..sp_OR_AssessmentEntry"), 16, assessmentEntry);
    registry.add(QStringLiteral("STATION..sp_OR_PrintAssessment"), 1, printAssessment);
    registry.add(QStringLiteral("STATION..sp_OR_AssessmentStatus"), 1, assessmentStatus);
    registry.add(QStringLiteral("STATION..sp_Nurse_Clinical_AssessmentStatus"), 1,
                 assessmentStatus);
    registry.add(QStringLiteral("STATION..sp_Nurse_Revoke_Assessment"), 3, revokeAssessment);
    registry.add(QStringLiteral("STATION..sp_Nurse_GetLabExam_Specimen"), 1, labExamSpecimen);
    registry.add(QStringLiteral("PATIENT_DATA..sp_Get_Patient_CashCM"), 3, patientCashCM);
    registry.add(QStringLiteral("BILLING..spCash_SaveCMAdvise"), 5, saveCMAdvise);
}

} // namespace kestrel::hospitaldb
