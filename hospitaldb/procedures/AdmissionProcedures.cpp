// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the admitting office's master files that the OR's look-ups call.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"
#include "core/db/LikePattern.h"

namespace kestrel::hospitaldb {

namespace {

// The admission types in use whose code or name begins with the typed text; every one for
// an empty text. The name comes first and the code second, the order in which the code search
// list shows its columns.
Result<RowSet> searchAdmissionType(Database &db, const ProcedureArgs &args)
{
    return db.select(u"select AdmissionType as Description, AdmissionTypeID as Code "
                     u"from PATIENT_DATA..tbAdmissionType where Status = 'A' and "
                     u"(AdmissionTypeID like :typed escape '\\' "
                     u"or AdmissionType like :typed escape '\\') "
                     u"order by AdmissionType, AdmissionTypeID",
                     {{QStringLiteral("typed"), likePrefix(args.text(0))}});
}

} // namespace

void registerAdmissionProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("PATIENT_DATA..sp_Adm_SearchAdmissionType"), 1,
                 searchAdmissionType);
}

} // namespace kestrel::hospitaldb
