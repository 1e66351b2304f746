// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Procedures of the result entry that closes an outpatient OR visit: the visit's result with
// its services, doctors, diagnoses, findings and category, and the withdrawal of the visit's
// request for admission from the patient's emergency-room profile.
#include "hospitaldb/procedures/HospitalProcedures.h"

#include "core/db/Database.h"

namespace kestrel::hospitaldb {

namespace {

const QString kId = QStringLiteral("id");

// The category code of "For Admission".
constexpr QStringView kForAdmission = u"3";

// The arguments of PATIENT_DATA..sp_OR_UpdateOPDHistory, in their order.
enum Arg {
    IdNum = 0,
    Discharged = 1,
    FirstService = 2,    // five services
    FirstDoctor = 7,     // five doctors
    FirstDiagnosis = 12, // ten ICD-10 codes
    Findings = 22,
    Medications = 23,
    ChiefComplaints = 24,
    Category = 25,
    Disposition = 26,
    ERClassification = 27,
    Diet = 28,
    Employee = 29,
    ArgCount = 30,
};

RowSet answer(const QString &column, const QVariant &value)
{
    RowSet out({column});
    out.append(QVariantList{value});
    return out;
}

// The discharge date-time as the result entry passes it, "MM/dd/yyyy hh:mm:ss AM"; invalid
// for Null or an empty text.
QDateTime resultDateTime(const QVariant &v)
{
    if (v.typeId() == QMetaType::QDateTime)
        return v.toDateTime();
    const QString text = v.toString().simplified();
    for (const QString &format :
         {QStringLiteral("MM/dd/yyyy hh:mm:ss AP"), QStringLiteral("MM/dd/yyyy h:mm:ss AP")}) {
        const QDateTime dt = QDateTime::fromString(text, format);
        if (dt.isValid())
            return dt;
    }
    return {};
}

// PATIENT_DATA..sp_OR_UpdateOPDHistory IdNum, discharge "MM/dd/yyyy hh:mm:ss AM" or Null,
// ServiceID1..5, DoctorID1..5, ICD-10 codes 1..10, findings, medications, chief complaints,
// category ('1'..'6'), disposition, ER classification, diet, EmployeeCode: writes the visit's
// result. The visit's row is written first, so two result entries of one visit follow each
// other. For admission, the admitting office is sent a request unless one is still open.
// `Updated` 0 when the visit is gone or revoked.
Result<RowSet> updateOPDHistory(Database &db, const ProcedureArgs &args)
{
    const QString idNum = args.text(IdNum);
    const QDateTime discharged = resultDateTime(args.at(Discharged));
    Binds visit{{kId, idNum},
                {QStringLiteral("dcr"), discharged.isValid() ? QVariant(discharged) : QVariant()},
                {QStringLiteral("category"), args.text(Category)},
                {QStringLiteral("disposition"), args.text(Disposition)},
                {QStringLiteral("diet"), args.text(Diet)},
                {QStringLiteral("user"), args.text(Employee)}};
    for (int i = 0; i < 5; ++i) {
        visit.insert(QStringLiteral("s%1").arg(i + 1), args.text(FirstService + i));
        visit.insert(QStringLiteral("d%1").arg(i + 1), args.text(FirstDoctor + i));
    }
    auto written = db.exec(
        u"update PATIENT_DATA..tbOutPatient set DcrDate = :dcr, PatientCategory = :category, "
        u"Disposition = :disposition, ServiceID1 = :s1, ServiceID2 = :s2, ServiceID3 = :s3, "
        u"ServiceID4 = :s4, ServiceID5 = :s5, DoctorID1 = :d1, DoctorID2 = :d2, DoctorID3 = :d3, "
        u"DoctorID4 = :d4, DoctorID5 = :d5, DietID = :diet, DcrUserID = :user "
        u"where IDNum = :id and RecordStatus <> 'R'",
        visit);
    if (!written)
        return tl::unexpected(written.error());
    const QString updated = QStringLiteral("Updated");
    if (*written == 0)
        return answer(updated, 0);
    auto row = db.selectOne(u"select HospNum, ERNum from PATIENT_DATA..tbOutPatient "
                            u"where IDNum = :id",
                            {{kId, idNum}});
    if (!row)
        return tl::unexpected(row.error());
    const QString hospNum = (*row)->trimmed(u"HospNum");
    const QVariant erNum = (*row)->value(u"ERNum");

    auto history =
        db.exec(u"insert into PATIENT_DATA..tbOutpatientHistory (IDNum, ChiefComplaints, Findings, "
                u"Medications) values (:id, :complaints, :findings, :medications) "
                u"on conflict (IDNum) do update set ChiefComplaints = excluded.ChiefComplaints, "
                u"Findings = excluded.Findings, Medications = excluded.Medications",
                {{kId, idNum},
                 {QStringLiteral("complaints"), args.at(ChiefComplaints).toString()},
                 {QStringLiteral("findings"), args.at(Findings).toString()},
                 {QStringLiteral("medications"), args.at(Medications).toString()}});
    if (!history)
        return tl::unexpected(history.error());
    auto er = db.exec(u"insert into PATIENT_DATA..tbERMaster (IDNum, ERNum, HospNum, "
                      u"ERClassification) values (:id, :er, :hosp, :class) "
                      u"on conflict (IDNum) do update set HospNum = excluded.HospNum, "
                      u"ERClassification = excluded.ERClassification",
                      {{kId, idNum},
                       {QStringLiteral("er"), erNum},
                       {QStringLiteral("hosp"), hospNum},
                       {QStringLiteral("class"), args.text(ERClassification)}});
    if (!er)
        return tl::unexpected(er.error());

    auto cleared = db.exec(u"delete from PATIENT_DATA..tbOutpatientDiagnosis where IDNum = :id",
                           {{kId, idNum}});
    if (!cleared)
        return tl::unexpected(cleared.error());
    QList<Binds> diagnoses;
    for (int i = 0; i < 10; ++i) {
        const QString code = args.text(FirstDiagnosis + i).toUpper();
        if (!code.isEmpty())
            diagnoses.append({{kId, idNum},
                              {QStringLiteral("n"), int(diagnoses.size()) + 1},
                              {QStringLiteral("code"), code}});
    }
    if (!diagnoses.isEmpty()) {
        auto added = db.execMany(u"insert into PATIENT_DATA..tbOutpatientDiagnosis (IDNum, "
                                 u"OrderNumber, ICDCode) values (:id, :n, :code)",
                                 diagnoses);
        if (!added)
            return tl::unexpected(added.error());
    }

    if (args.text(Category) == kForAdmission) {
        auto open = db.scalar(u"select count(*) from PATIENT_DATA..tbER_Admitting_Communication "
                              u"where HospNum = :hosp and OPDIDNum = :id "
                              u"and coalesce(RecordStatus, '') = ''",
                              {{kId, idNum}, {QStringLiteral("hosp"), hospNum}});
        if (!open)
            return tl::unexpected(open.error());
        if (open->toInt() == 0) {
            auto sent = db.exec(u"insert into PATIENT_DATA..tbER_Admitting_Communication "
                                u"(HospNum, OPDIDNum, RecordStatus, RequestDate, UserID) "
                                u"values (:hosp, :id, '', getdate(), :user)",
                                {{kId, idNum},
                                 {QStringLiteral("hosp"), hospNum},
                                 {QStringLiteral("user"), args.text(Employee)}});
            if (!sent)
                return tl::unexpected(sent.error());
        }
    }
    return answer(updated, 1);
}

// PATIENT_DATA..sp_ER_UpdateProfile IdNum, remarks, EmployeeCode: notes on the visit what
// became of its emergency-room profile ("Revoke for admission" when its request for admission
// is withdrawn), in the station log of the OR.
Result<RowSet> updateERProfile(Database &db, const ProcedureArgs &args)
{
    return noRows(db.exec(u"insert into STATION..tbStationLogs (IdNum, TransDate, Remarks, "
                          u"UserID, HostName, StationID) values (:id, getdate(), :remarks, "
                          u":user, host_name(), 'OR')",
                          {{kId, args.text(0)},
                           {QStringLiteral("remarks"), args.text(1)},
                           {QStringLiteral("user"), args.text(2)}}));
}

} // namespace

void registerOutpatientResultProcedures(ProcedureRegistry &registry)
{
    registry.add(QStringLiteral("PATIENT_DATA..sp_OR_UpdateOPDHistory"), ArgCount,
                 updateOPDHistory);
    registry.add(QStringLiteral("PATIENT_DATA..sp_ER_UpdateProfile"), 3, updateERProfile);
}

} // namespace kestrel::hospitaldb
