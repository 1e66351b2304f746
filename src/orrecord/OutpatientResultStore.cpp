// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "orrecord/OutpatientResultStore.h"

#include "core/db/WriteTransaction.h"

namespace kestrel {

namespace {

const QString kId = QStringLiteral("id");
const QString kHosp = QStringLiteral("hosp");
const QString kCode = QStringLiteral("code");

// The date-time the hospital's procedures take as text, "MM/dd/yyyy hh:mm:ss AM".
QVariant procedureDateTime(const QDateTime &when)
{
    return when.isValid() ? QVariant(when.toString(QStringLiteral("MM/dd/yyyy hh:mm:ss AP")))
                          : QVariant();
}

QVariant optionalDateTime(const QDateTime &when)
{
    return when.isValid() ? QVariant(when) : QVariant();
}

} // namespace

template <typename T>
Result<T> OutpatientResultStore::inTransaction(const std::function<Result<T>()> &write)
{
    return inWriteTransaction(m_db, write);
}

Result<std::optional<OutpatientRecord>> OutpatientResultStore::load(const QString &idNum)
{
    const QString id = idNum.trimmed();
    auto visit = m_db.selectOne(
        u"select O.IDNum, O.HospNum, O.ERNum, O.AdmDate, O.DcrDate, O.PatientCategory, "
        u"O.Disposition, O.ServiceID1, O.ServiceID2, O.ServiceID3, O.ServiceID4, O.ServiceID5, "
        u"O.DoctorID1, O.DoctorID2, O.DoctorID3, O.DoctorID4, O.DoctorID5, O.DietID, "
        u"O.PrecautionID, M.LastName, M.FirstName, M.MiddleName, M.Sex, M.BirthDate "
        u"from PATIENT_DATA..tbOutPatient O join PATIENT_DATA..tbMaster M "
        u"on M.HospNum = O.HospNum where O.IDNum = :id and O.RecordStatus <> 'R'",
        {{kId, id}});
    if (!visit)
        return tl::unexpected(visit.error());
    if (!*visit)
        return std::optional<OutpatientRecord>();
    const Row &v = **visit;
    OutpatientRecord r;
    r.idNum = v.trimmed(u"IDNum");
    r.hospNum = v.trimmed(u"HospNum");
    r.erNum = v.trimmed(u"ERNum");
    r.admitted = v.dateTime(u"AdmDate");
    r.discharged = v.dateTime(u"DcrDate");
    r.category = v.trimmed(u"PatientCategory").toInt();
    r.disposition = v.trimmed(u"Disposition");
    for (int i = 0; i < 5; ++i) {
        r.services[std::size_t(i)] = v.trimmed(QStringLiteral("ServiceID%1").arg(i + 1));
        r.doctors[std::size_t(i)] = v.trimmed(QStringLiteral("DoctorID%1").arg(i + 1));
    }
    r.dietId = v.trimmed(u"DietID");
    r.precautionId = v.trimmed(u"PrecautionID");
    r.lastName = v.trimmed(u"LastName");
    r.firstName = v.trimmed(u"FirstName");
    r.middleName = v.trimmed(u"MiddleName");
    r.sex = v.trimmed(u"Sex");
    r.birthDate = v.dateTime(u"BirthDate").date();

    const Binds both{{kId, id}, {kHosp, r.hospNum}};
    auto er = m_db.selectOne(
        u"select ERClassID1, ERClassID2, ERClassID3, ERClassID4, ERClassID5, ERClassification, "
        u"DischargeRemarks, ReasonofReferral, ReferredTo, DischargeCondition, "
        u"DateTimeTransferred from PATIENT_DATA..tbERMaster where HospNum = :hosp "
        u"and IDNum = :id",
        both);
    if (!er)
        return tl::unexpected(er.error());
    if (*er) {
        const Row &e = **er;
        for (int i = 0; i < 5; ++i)
            r.erProcedures[std::size_t(i)] = e.trimmed(QStringLiteral("ERClassID%1").arg(i + 1));
        r.erClassification = e.trimmed(u"ERClassification");
        r.remarks = e.text(u"DischargeRemarks");
        r.reasonOfReferral = e.text(u"ReasonofReferral");
        r.referredTo = e.trimmed(u"ReferredTo");
        r.condition = int(e.integer(u"DischargeCondition"));
        r.transferred = e.dateTime(u"DateTimeTransferred");
    }
    auto history = m_db.selectOne(
        u"select ChiefComplaints, ChiefComplaintID1, ChiefComplaintID2, ChiefComplaintID3, "
        u"BriefHistory, Findings, Medications from PATIENT_DATA..tbOutpatientHistory "
        u"where IDNum = :id",
        {{kId, id}});
    if (!history)
        return tl::unexpected(history.error());
    if (*history) {
        const Row &h = **history;
        r.chiefComplaints = h.text(u"ChiefComplaints");
        for (int i = 0; i < 3; ++i)
            r.chiefComplaintIds[std::size_t(i)] =
                h.trimmed(QStringLiteral("ChiefComplaintID%1").arg(i + 1));
        r.briefHistory = h.text(u"BriefHistory");
        r.findings = h.text(u"Findings");
        r.medications = h.text(u"Medications");
    }
    auto death = m_db.selectOne(u"select DateTimeExpired, DateTimeReleased, FuneralParlor, "
                                u"DeathType from STATION..tbERDeathMaster where HospNum = :hosp "
                                u"order by DeathID desc limit 1",
                                {{kHosp, r.hospNum}});
    if (!death)
        return tl::unexpected(death.error());
    if (*death) {
        r.death.type = (*death)->trimmed(u"DeathType");
        r.death.expired = (*death)->dateTime(u"DateTimeExpired");
        r.death.released = (*death)->dateTime(u"DateTimeReleased");
        r.death.funeralParlor = (*death)->trimmed(u"FuneralParlor");
    }
    auto codes = m_db.select(u"select ICDCode from PATIENT_DATA..tbOutpatientDiagnosis "
                             u"where IDNum = :id order by OrderNumber",
                             {{kId, id}});
    if (!codes)
        return tl::unexpected(codes.error());
    for (int i = 0; i < codes->count() && i < 10; ++i)
        r.diagnoses[std::size_t(i)] = codes->at(i).trimmed(u"ICDCode");
    return std::optional<OutpatientRecord>(std::move(r));
}

Result<QList<Precaution>> OutpatientResultStore::precautions()
{
    auto rows = m_db.select(u"select PrecautionID, Precaution, Color from "
                            u"BUILD_FILE..tbCoPrecautions where Status = :active "
                            u"order by PrecautionID",
                            {{QStringLiteral("active"), QStringLiteral("A")}});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<Precaution> out;
    for (const Row &r : *rows)
        out << Precaution{r.trimmed(u"PrecautionID"), r.trimmed(u"Precaution"),
                          int(r.integer(u"Color"))};
    return out;
}

Result<std::optional<CodeName>> OutpatientResultStore::codeName(QStringView sql,
                                                                const QString &code)
{
    auto row = m_db.selectOne(sql, {{kCode, code.trimmed().toUpper()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<CodeName>();
    return std::optional<CodeName>(
        CodeName{(*row)->text(u"Name").simplified(), (*row)->trimmed(u"Remark")});
}

Result<std::optional<CodeName>> OutpatientResultStore::doctor(const QString &code)
{
    return codeName(u"select LastName || ', ' || FirstName as Name, '' as Remark "
                    u"from BUILD_FILE..tbCoDoctor where DoctorID = :code",
                    code);
}

Result<std::optional<CodeName>> OutpatientResultStore::service(const QString &code)
{
    return codeName(u"select Service as Name, '' as Remark from BUILD_FILE..tbCoService "
                    u"where ServiceID = :code",
                    code);
}

Result<std::optional<CodeName>> OutpatientResultStore::chiefComplaint(const QString &code)
{
    auto row = m_db.selectOne(
        u"select OtherRevenue from BUILD_FILE..tbCoOtherRevenue "
        u"where OtherSectionID = :section and OtherRevenueID = :code",
        {{QStringLiteral("section"), QStringLiteral("AA")}, {kCode, code.trimmed().toUpper()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<CodeName>();
    return std::optional<CodeName>(CodeName{(*row)->trimmed(u"OtherRevenue"), QString()});
}

Result<std::optional<CodeName>> OutpatientResultStore::diet(const QString &code)
{
    return codeName(u"select Diet as Name, Remarks as Remark from BUILD_FILE..tbCoDiet "
                    u"where DietID = :code",
                    code);
}

Result<std::optional<CodeName>> OutpatientResultStore::icd(const QString &code)
{
    return codeName(u"select Description as Name, '' as Remark from BUILD_FILE..tbCoICD10 "
                    u"where ICDCode = :code",
                    code.trimmed().toUpper());
}

Result<bool> OutpatientResultStore::hasPendingRequests(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..List_PendingRequest", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return !rows->isEmpty();
}

Result<OutpatientSaveOutcome> OutpatientResultStore::save(const OutpatientRecord &record,
                                                          const QString &employee)
{
    return inTransaction<OutpatientSaveOutcome>(
        [&]() -> Result<OutpatientSaveOutcome> { return write(record, employee); });
}

Result<OutpatientSaveOutcome> OutpatientResultStore::write(const OutpatientRecord &r,
                                                           const QString &employee)
{
    const QString id = r.idNum.trimmed();
    QVariantList args{id, procedureDateTime(r.discharged)};
    for (const QString &s : r.services)
        args << s.trimmed();
    for (const QString &d : r.doctors)
        args << d.trimmed();
    for (const QString &c : r.diagnoses)
        args << c.trimmed();
    args << r.findings.trimmed() << r.medications.trimmed() << r.chiefComplaints.trimmed()
         << (r.category > 0 ? QString::number(r.category) : QString()) << r.disposition
         << r.erClassification << r.dietId.trimmed() << employee;
    auto main = m_db.call(u"PATIENT_DATA..sp_OR_UpdateOPDHistory", args);
    if (!main)
        return tl::unexpected(main.error());
    if (main->isEmpty() || main->at(0).integer(u"Updated") != 1)
        return OutpatientSaveOutcome::VisitGone;

    // The single updates of the visit's emergency-room record and history.
    const Binds byId{{kId, id}};
    Binds er = byId;
    for (int i = 0; i < 5; ++i)
        er.insert(QStringLiteral("c%1").arg(i + 1), r.erProcedures[std::size_t(i)].trimmed());
    er.insert(QStringLiteral("condition"), r.condition > 0 ? QVariant(r.condition) : QVariant());
    er.insert(QStringLiteral("remarks"), r.remarks.trimmed());
    er.insert(QStringLiteral("reason"), r.reasonOfReferral.trimmed());
    er.insert(QStringLiteral("referred"), r.referredTo.trimmed());
    er.insert(QStringLiteral("transferred"), optionalDateTime(r.transferred));
    Binds history = byId;
    for (int i = 0; i < 3; ++i)
        history.insert(QStringLiteral("c%1").arg(i + 1),
                       r.chiefComplaintIds[std::size_t(i)].trimmed());
    history.insert(QStringLiteral("history"), r.briefHistory.trimmed());
    const std::pair<QStringView, const Binds *> updates[] = {
        {u"update PATIENT_DATA..tbERMaster set ERClassID1 = :c1, ERClassID2 = :c2, "
         u"ERClassID3 = :c3, ERClassID4 = :c4, ERClassID5 = :c5, DischargeCondition = "
         u":condition, DischargeRemarks = :remarks, ReasonofReferral = :reason, ReferredTo = "
         u":referred, DateTimeTransferred = :transferred where IDNum = :id",
         &er},
        {u"update PATIENT_DATA..tbOutpatientHistory set ChiefComplaintID1 = :c1, "
         u"ChiefComplaintID2 = :c2, ChiefComplaintID3 = :c3, BriefHistory = :history "
         u"where IDNum = :id",
         &history},
    };
    for (const auto &[sql, binds] : updates) {
        if (auto done = m_db.exec(sql, *binds); !done)
            return tl::unexpected(done.error());
    }

    // The patient's death, replaced whole.
    if (!r.death.type.trimmed().isEmpty()) {
        if (auto gone = m_db.exec(u"delete from STATION..tbERDeathMaster where HospNum = :hosp",
                                  {{kHosp, r.hospNum}});
            !gone)
            return tl::unexpected(gone.error());
        auto added =
            m_db.exec(u"insert into STATION..tbERDeathMaster (HospNum, DeathType, DateTimeExpired, "
                      u"DateTimeReleased, FuneralParlor, UserID) values (:hosp, :type, :expired, "
                      u":released, :parlor, :user)",
                      {{kHosp, r.hospNum},
                       {QStringLiteral("type"), r.death.type.trimmed()},
                       {QStringLiteral("expired"), optionalDateTime(r.death.expired)},
                       {QStringLiteral("released"), optionalDateTime(r.death.released)},
                       {QStringLiteral("parlor"), r.death.funeralParlor.trimmed()},
                       {QStringLiteral("user"), employee}});
        if (!added)
            return tl::unexpected(added.error());
    }

    if (!r.precautionId.trimmed().isEmpty()) {
        auto marked = m_db.exec(u"update PATIENT_DATA..tbOutPatient set PrecautionID = "
                                u":precaution where IDNum = :id",
                                {{kId, id}, {QStringLiteral("precaution"), r.precautionId}});
        if (!marked)
            return tl::unexpected(marked.error());
    }

    // Any category but admission withdraws the request for admission the ER sent today.
    if (r.category != kCategoryForAdmission) {
        auto now = m_db.scalar(u"select getdate()");
        if (!now)
            return tl::unexpected(now.error());
        const QDate today = dateTimeFromVariant(*now).date();
        auto sentToday =
            m_db.scalar(u"select count(*) from PATIENT_DATA..tbER_Admitting_Communication "
                        u"where HospNum = :hosp and coalesce(RecordStatus, '') = '' "
                        u"and RequestDate >= :from and RequestDate < :to",
                        {{kHosp, r.hospNum},
                         {QStringLiteral("from"), QDateTime(today, QTime(0, 0))},
                         {QStringLiteral("to"), QDateTime(today.addDays(1), QTime(0, 0))}});
        if (!sentToday)
            return tl::unexpected(sentToday.error());
        if (sentToday->toInt() > 0) {
            auto withdrawn = m_db.exec(
                u"delete from PATIENT_DATA..tbER_Admitting_Communication where HospNum = :hosp "
                u"and OPDIDNum = :id and coalesce(RecordStatus, '') = ''",
                {{kHosp, r.hospNum}, {kId, id}});
            if (!withdrawn)
                return tl::unexpected(withdrawn.error());
            auto noted = m_db.call(u"PATIENT_DATA..sp_ER_UpdateProfile",
                                   {id, QStringLiteral("Revoke for admission"), employee});
            if (!noted)
                return tl::unexpected(noted.error());
        }
    }
    return OutpatientSaveOutcome::Saved;
}

} // namespace kestrel
