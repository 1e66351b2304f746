// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/procedures/HospitalProcedures.h"

namespace kestrel::hospitaldb {

QVariantMap stayIdBind(const ProcedureArgs &args)
{
    return {{QStringLiteral("id"), args.text(0)}};
}

Result<RowSet> noRows(const Result<int> &written)
{
    if (!written)
        return tl::unexpected(written.error());
    return RowSet();
}

std::shared_ptr<const ProcedureRegistry> hospitalProcedures()
{
    // Built once: the handlers hold no state of their own.
    static const std::shared_ptr<const ProcedureRegistry> registry = [] {
        auto r = std::make_shared<ProcedureRegistry>();
        registerStationProcedures(*r);
        registerMonitorProcedures(*r);
        registerReportProcedures(*r);
        registerPatientProcedures(*r);
        registerSchedulePatientProcedures(*r);
        registerScheduleProcedures(*r);
        registerPatientListProcedures(*r);
        registerPricingProcedures(*r);
        registerAdmissionProcedures(*r);
        registerChargeProcedures(*r);
        registerPostingProcedures(*r);
        registerReturnProcedures(*r);
        registerRequestProcedures(*r);
        registerExamRequestProcedures(*r);
        registerTranscriptionProcedures(*r);
        registerProfileProcedures(*r);
        registerComponentProcedures(*r);
        registerResultProcedures(*r);
        registerPackageProcedures(*r);
        registerORRecordProcedures(*r);
        registerMemoCVORProcedures(*r);
        registerCaseRateProcedures(*r);
        registerDischargeProcedures(*r);
        registerNursingSheetProcedures(*r);
        registerNursingFormProcedures(*r);
        registerOutpatientResultProcedures(*r);
        registerAssessmentProcedures(*r);
        registerReceivableProcedures(*r);
        return r;
    }();
    return registry;
}

} // namespace kestrel::hospitaldb
