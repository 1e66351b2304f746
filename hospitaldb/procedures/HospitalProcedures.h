// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

#include "core/db/Procedures.h"

#include <QVariantMap>

#include <memory>

namespace kestrel::hospitaldb {

/// The admission number, a procedure's first argument, bound as `:id`.
QVariantMap stayIdBind(const ProcedureArgs &args);
/// What a procedure that only writes answers: no rows, or the failure.
Result<RowSet> noRows(const Result<int> &written);

/// Every stored procedure of the hospital database that the program calls, ready to hand
/// to Database::setProcedures().
std::shared_ptr<const ProcedureRegistry> hospitalProcedures();

/// What the main window's monitors poll: results to print, discharge notices.
void registerMonitorProcedures(ProcedureRegistry &registry);

/// The procedures of the nursing-station database.
void registerStationProcedures(ProcedureRegistry &registry);

/// The procedures that answer questions about a patient's stay.
void registerPatientProcedures(ProcedureRegistry &registry);

/// The procedures that prepare the data of printed reports.
void registerReportProcedures(ProcedureRegistry &registry);

/// The procedures about a patient's operations: confirmed schedules not yet checked by the OR,
/// the OR procedures posted to a patient and the updates of their records.
void registerSchedulePatientProcedures(ProcedureRegistry &registry);

/// The OR schedule: rooms, the board, bookings, the wards' requests and revoked requests.
void registerScheduleProcedures(ProcedureRegistry &registry);

/// SCHEDULE..sp_List_ConfirmedORSchedule of the kinds that list confirmed operations by last
/// name (1), admission number (2) or hospital number (3) on a day, and one schedule (10).
Result<RowSet> listConfirmedSchedules(Database &db, const ProcedureArgs &args);
/// The next schedule transaction number, drawn inside the caller's transaction.
Result<QString> drawScheduleTransNum(Database &db);

/// The OR's patient list, plain and by admission date.
void registerPatientListProcedures(ProcedureRegistry &registry);

/// The procedures that price charges and keep the OR's markups.
void registerPricingProcedures(ProcedureRegistry &registry);

/// The admitting office's look-ups of its master files (admission types).
void registerAdmissionProcedures(ProcedureRegistry &registry);

/// The procedures of the charge window (the posted charges of a stay).
void registerChargeProcedures(ProcedureRegistry &registry);

/// The procedures of charge posting: the logbook's charging procedure, the charge slip's print
/// buffer and reprint, oxygen tank readings and supervisors' price edits.
void registerPostingProcedures(ProcedureRegistry &registry);

/// The procedures of revokes and returns: what is left of a posted line, its revoke,
/// adjustment records, credit memo lines, credit memo remarks and the price actually charged.
void registerReturnProcedures(ProcedureRegistry &registry);

/// The pharmacy and central supply requests: the logbook's request procedure, the patient's
/// medicine list and the medicines' handling flags.
void registerRequestProcedures(ProcedureRegistry &registry);

/// The examinations requested from the diagnostic departments: the checks that guard a request,
/// the laboratory's profiles and specimens, and the request forms printed and reprinted.
void registerExamRequestProcedures(ProcedureRegistry &registry);

/// The pharmacy transcriptions: a transcribed line saved, the stay's list and a line revoked.
void registerTranscriptionProcedures(ProcedureRegistry &registry);

/// The procedures of the patient profile: vital signs, nurses' notes, allergies and histories.
void registerProfileProcedures(ProcedureRegistry &registry);

/// The procedures the companion components read through: code lists, drug lists, ICD-10, the
/// relative value scale, charge slips, issued medicines, the patient's panel, results,
/// requests and the statement of account.
void registerComponentProcedures(ProcedureRegistry &registry);

/// The procedures of the result viewers: each department's examinations, the laboratory
/// results by date, panic values and the verified results still to print.
void registerResultProcedures(ProcedureRegistry &registry);

/// The OR record: one operation's record read with its people's names, and saved.
void registerORRecordProcedures(ProcedureRegistry &registry);

/// The surgical memo's sponge records, and the cardiovascular operations' cases and teams.
void registerMemoCVORProcedures(ProcedureRegistry &registry);

/// The OR packages of a stay (tagged, posted, items not used) and the piped-oxygen tanks.
void registerPackageProcedures(ProcedureRegistry &registry);

/// The discharge order: its lines, its notice to billing and the notice's withdrawal, the
/// billing checklist, the stay's pending requests and the 24-hour rule.
void registerCaseRateProcedures(ProcedureRegistry &registry);

/// A patient's way out: the discharge notices the OR clears, billing's state of the notice,
/// the discharge, room transfers, and the discharge instructions and home care plan.
void registerDischargeProcedures(ProcedureRegistry &registry);
/// The consents a patient or his representative signs, and the hourly monitoring sheet.
void registerNursingSheetProcedures(ProcedureRegistry &registry);

/// The OR nurses' checklists and forms that keep one record per stay: the pre-operative
/// checklist, the pre-anaesthetic evaluation, the surgical safety checklist, the labour room form.
void registerNursingFormProcedures(ProcedureRegistry &registry);

/// The result entry of an outpatient OR visit: the visit's result, and the withdrawal of its
/// request for admission.
void registerOutpatientResultProcedures(ProcedureRegistry &registry);

/// Cash and clinical assessments: their lines, slip, status and revoke, the laboratory's
/// specimens, and the cash credit memos of paid lines.
void registerAssessmentProcedures(ProcedureRegistry &registry);

/// The receivable window's search of discharged and billed accounts.
void registerReceivableProcedures(ProcedureRegistry &registry);

} // namespace kestrel::hospitaldb
