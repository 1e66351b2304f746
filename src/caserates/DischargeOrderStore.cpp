// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "caserates/DischargeOrderStore.h"

#include "core/db/Database.h"
#include "core/db/WriteTransaction.h"

namespace kestrel::caserates {

namespace {

const QString kId = QStringLiteral("id");

QString caseTypeText(CaseRate tag)
{
    return tag == CaseRate::None ? QString() : QString::number(int(tag));
}

CaseRate caseRateOf(const QString &text)
{
    if (text == u"1")
        return CaseRate::First;
    if (text == u"2")
        return CaseRate::Second;
    return CaseRate::None;
}

QString doctorLabel(const Row &r)
{
    const QString last = r.trimmed(u"LastName");
    const QString first = r.trimmed(u"FirstName");
    return first.isEmpty() ? last : last + QStringLiteral(", ") + first;
}

} // namespace

Notice noticeText(const OrderData &order)
{
    Notice n = order.notice;
    QStringList diagnoses, operations, fees;
    for (const OrderLine &l : order.lines)
        (l.isOperation() ? operations : diagnoses) << l.code() + QStringLiteral(" - ") +
                                                          l.description;
    for (const auto &group : order.doctors) {
        for (const DoctorFee &d : group)
            fees << d.name + QStringLiteral(": ") + amountText(d.amount);
    }
    n.finalDiagnosis = diagnoses.join(QStringLiteral("; "));
    n.procedures = operations.join(QStringLiteral("; "));
    n.medicalFees = fees.join(QStringLiteral("; "));
    return n;
}

Result<OrderData> DischargeOrderStore::load(const QString &idNum)
{
    OrderData order;
    order.idNum = idNum.trimmed();
    CaseRateLookups lookups(m_db);

    auto lines = m_db.call(u"STATION..Nurse_GetICDDiagnosis", {order.idNum});
    if (!lines)
        return tl::unexpected(lines.error());
    for (const Row &r : *lines) {
        OrderLine l;
        l.icd = r.trimmed(u"ICD");
        l.rvs = r.trimmed(u"RVS");
        l.description = l.isOperation() ? r.trimmed(u"RVSDescription") : r.trimmed(u"ICDDescription");
        l.operationDate = r.date(u"OperationDate");
        l.tag = caseRateOf(r.trimmed(u"CaseType"));
        auto pkg = l.isOperation() ? lookups.packageOfRvs(l.rvs) : lookups.packageOfIcd(l.icd);
        if (!pkg)
            return tl::unexpected(pkg.error());
        l.packageId = *pkg;
        if (l.isOperation()) {
            auto units = lookups.rvsUnits(l.rvs);
            if (!units)
                return tl::unexpected(units.error());
            l.units = *units;
        }
        if (!l.packageId.isEmpty()) {
            auto name = lookups.packageName(l.packageId);
            if (!name)
                return tl::unexpected(name.error());
            l.caseRateName = *name;
        }
        if (l.tag != CaseRate::None && !l.packageId.isEmpty()) {
            auto p = lookups.package(l.packageId);
            if (!p)
                return tl::unexpected(p.error());
            if (*p)
                l.shares = feeShares(**p, l.tag);
        }
        order.lines << l;
    }

    auto fees = m_db.select(u"select DoctorID, DoctorName, PF, CaseType, RoleID "
                            u"from STATION..tbNurseProfFees where IDNum = :id "
                            u"order by CaseType, OrderNumber",
                            {{kId, order.idNum}});
    if (!fees)
        return tl::unexpected(fees.error());
    for (const Row &r : *fees) {
        const int group = int(caseRateOf(r.trimmed(u"CaseType")));
        order.doctors[std::size_t(group)] << DoctorFee{r.trimmed(u"DoctorID"),
                                                       r.trimmed(u"DoctorName"), r.money(u"PF"),
                                                       r.trimmed(u"RoleID")};
    }
    if (fees->isEmpty()) {
        auto own = staysDoctors(order.idNum);
        if (!own)
            return tl::unexpected(own.error());
        order.doctors[std::size_t(DoctorGroup::Others)] = *own;
        order.doctorsFromStay = true;
    }

    auto notice = m_db.call(u"STATION..Nurse_CheckDcrNotice", {order.idNum});
    if (!notice)
        return tl::unexpected(notice.error());
    if (!notice->isEmpty()) {
        const Row &r = notice->at(0);
        Notice &n = order.notice;
        n.exists = true;
        n.isFinal = r.trimmed(u"RecordStatus") == u"F";
        n.processed = r.dateTime(u"ClearDate").isValid();
        n.ordered = r.dateTime(u"OrderedDate");
        n.noticeDate = r.dateTime(u"Noticedate");
        n.billUpTo = r.date(u"BillUpTo");
        n.remarks = r.text(u"Remarks");
        n.userId = r.trimmed(u"UserID");
        n.finalDiagnosis = r.text(u"FinalDiagnosis");
        n.procedures = r.text(u"Procedures");
        n.medicalFees = r.text(u"MedicalFees");
    }

    auto items = m_db.select(
        u"select I.Item, coalesce(L.State, 0) as State from STATION..tbNurse_BillingCheckItems I "
        u"left join STATION..tbNurse_BillingCheckList L on L.Item = I.Item and L.IDNum = :id "
        u"where I.Status = 'Y' order by I.SortOrder, I.Item",
        {{kId, order.idNum}});
    if (!items)
        return tl::unexpected(items.error());
    for (const Row &r : *items)
        order.checklist << CheckItem{r.trimmed(u"Item"), int(r.integer(u"State"))};
    return order;
}

Result<QList<DoctorFee>> DischargeOrderStore::staysDoctors(const QString &idNum)
{
    QStringList columns{QStringLiteral("AdmittingDr"), QStringLiteral("ReferringDr")};
    for (int i = 1; i <= 15; ++i)
        columns.insert(i - 1, QStringLiteral("AttendingDr%1").arg(i));
    const QString sql = u"select " + columns.join(u", ") +
                        u" from PATIENT_DATA..tbPatient where IDNum = :id";
    auto stay = m_db.selectOne(sql,
                               {{kId, idNum.trimmed()}});
    if (!stay)
        return tl::unexpected(stay.error());
    QList<DoctorFee> out;
    if (!*stay)
        return out;
    QStringList seen;
    for (const QString &column : std::as_const(columns)) {
        const QString id = (*stay)->trimmed(column);
        if (id.isEmpty() || seen.contains(id))
            continue;
        seen << id;
        auto name = doctorName(id);
        if (!name)
            return tl::unexpected(name.error());
        if (!name->isEmpty())
            out << DoctorFee{id, *name, Money(), QString()};
    }
    return out;
}

Result<QString> DischargeOrderStore::doctorName(const QString &doctorId)
{
    auto row = m_db.selectOne(u"select LastName, FirstName from BUILD_FILE..tbCoDoctor "
                              u"where DoctorID = :id and Status = 'A'",
                              {{kId, doctorId.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    return *row ? doctorLabel(**row) : QString();
}

Result<QStringList> DischargeOrderStore::roles()
{
    auto rows = m_db.select(u"select Role from STATION..tbPHICDxRole where Status = 'Y' "
                            u"order by Role");
    if (!rows)
        return tl::unexpected(rows.error());
    QStringList out;
    for (const Row &r : *rows)
        out << r.trimmed(u"Role");
    return out;
}

Result<bool> DischargeOrderStore::hasPendingRequests(const QString &idNum)
{
    auto rows = m_db.call(u"STATION..List_PendingRequest", {idNum.trimmed()});
    if (!rows)
        return tl::unexpected(rows.error());
    return !rows->isEmpty();
}

Result<QString> DischargeOrderStore::patientName(const QString &idNum)
{
    auto row = m_db.selectOne(
        u"select M.LastName, M.FirstName, M.MiddleName from PATIENT_DATA..tbPatient P "
        u"join PATIENT_DATA..tbMaster M on M.HospNum = P.HospNum where P.IDNum = :id "
        u"union all select M.LastName, M.FirstName, M.MiddleName "
        u"from PATIENT_DATA..tbOutPatient O join PATIENT_DATA..tbMaster M "
        u"on M.HospNum = O.HospNum where O.IDNum = :id2",
        {{kId, idNum.trimmed()}, {QStringLiteral("id2"), idNum.trimmed()}});
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return QString();
    const QString name = (*row)->trimmed(u"LastName") + QStringLiteral(", ") +
                         (*row)->trimmed(u"FirstName") + u' ' + (*row)->trimmed(u"MiddleName");
    return name.trimmed();
}

Result<WriteOutcome> DischargeOrderStore::holdStay(const QString &idNum, bool revoking)
{
    const Binds id{{kId, idNum}};
    // On the server the stay's row is the lock two workstations meet at; the embedded file
    // took its write lock when the transaction began.
    if (m_db.backend() == Backend::Postgres) {
        auto held = m_db.selectOne(u"select IDNum from PATIENT_DATA..tbPatient "
                                   u"where IDNum = :id for update",
                                   id);
        if (!held)
            return tl::unexpected(held.error());
        if (!*held) {
            auto visit = m_db.selectOne(u"select IDNum from PATIENT_DATA..tbOutPatient "
                                        u"where IDNum = :id for update",
                                        id);
            if (!visit)
                return tl::unexpected(visit.error());
        }
    }
    auto computed = CaseRateLookups(m_db).benefitsComputed(idNum);
    if (!computed)
        return tl::unexpected(computed.error());
    if (*computed)
        return WriteOutcome::BenefitsComputed;
    auto notice = m_db.selectOne(u"select RecordStatus, ClearDate from "
                                 u"STATION..tbNurseDischargeNotice where IDNum = :id "
                                 u"order by NoticeID desc",
                                 id);
    if (!notice)
        return tl::unexpected(notice.error());
    if (revoking)
        return *notice ? WriteOutcome::Done : WriteOutcome::NothingToRevoke;
    if (*notice && (*notice)->trimmed(u"RecordStatus") == u"F")
        return WriteOutcome::AlreadySent;
    if (*notice && (*notice)->dateTime(u"ClearDate").isValid())
        return WriteOutcome::Processed;
    return WriteOutcome::Done;
}

Result<WriteOutcome> DischargeOrderStore::inTransaction(const QString &idNum, bool revoking,
                                                        const std::function<Result<void>()> &write)
{
    // What holdStay finds blocking is answered as it is: the transaction then wrote nothing.
    return inWriteTransaction(m_db, [&]() -> Result<WriteOutcome> {
        auto held = holdStay(idNum.trimmed(), revoking);
        if (!held || *held != WriteOutcome::Done)
            return held;
        if (auto ok = write(); !ok)
            return tl::unexpected(ok.error());
        return WriteOutcome::Done;
    });
}

Result<void> DischargeOrderStore::sendNotice(const QString &idNum, const Notice &text,
                                             const SaveRequest &request,
                                             const QDateTime &operationDate)
{
    auto sent = m_db.call(u"STATION..Nurse_SendDcrNotice",
                          {idNum, request.employeeCode, request.ordered,
                           request.billUpTo.isValid() ? QVariant(request.billUpTo) : QVariant(),
                           operationDate.isValid() ? QVariant(operationDate) : QVariant(),
                           text.procedures, text.medicalFees, request.remarks,
                           text.finalDiagnosis, request.final ? 1 : 0, QVariant()});
    if (!sent)
        return tl::unexpected(sent.error());
    return {};
}

Result<void> DischargeOrderStore::writeOrder(const OrderData &order, const SaveRequest &request)
{
    const QString &idNum = order.idNum;
    const auto writeFees = [&](DoctorGroup group) -> Result<void> {
        const QString caseType =
            group == DoctorGroup::Others ? QString() : QString::number(int(group));
        auto gone = m_db.exec(u"delete from STATION..tbNurseProfFees "
                              u"where IDNum = :id and CaseType = :type",
                              {{kId, idNum}, {QStringLiteral("type"), caseType}});
        if (!gone)
            return tl::unexpected(gone.error());
        int number = 0;
        for (const DoctorFee &d : order.doctors[std::size_t(group)]) {
            auto in = m_db.exec(u"insert into STATION..tbNurseProfFees (IDNum, DoctorID, "
                                u"DoctorName, PF, OrderNumber, CaseType, RoleID) values "
                                u"(:id, :doctor, :name, :pf, :number, :type, :role)",
                                {{kId, idNum},
                                 {QStringLiteral("doctor"), d.doctorId},
                                 {QStringLiteral("name"), d.name},
                                 {QStringLiteral("pf"), d.amount.toVariant()},
                                 {QStringLiteral("number"), ++number},
                                 {QStringLiteral("type"), caseType},
                                 {QStringLiteral("role"), d.role}});
            if (!in)
                return tl::unexpected(in.error());
        }
        return {};
    };
    if (!request.keepCaseRateDoctors) {
        if (auto ok = writeFees(DoctorGroup::CaseRate1); !ok)
            return ok;
        if (auto ok = writeFees(DoctorGroup::CaseRate2); !ok)
            return ok;
    }
    if (auto ok = writeFees(DoctorGroup::Others); !ok)
        return ok;

    const Binds id{{kId, idNum}};
    if (auto ok = m_db.exec(u"delete from PATIENT_DATA..tbPatientDiagnosis where IDNum = :id", id);
        !ok)
        return tl::unexpected(ok.error());
    int diagnosis = 0;
    for (const OrderLine &l : order.lines) {
        if (l.isOperation())
            continue;
        ++diagnosis;
        auto in = m_db.exec(u"insert into PATIENT_DATA..tbPatientDiagnosis (IDNum, OrderNumber, "
                            u"DiagnosisID, PrimaryDiagnosis) values (:id, :number, :icd, :primary)",
                            {{kId, idNum},
                             {QStringLiteral("number"), diagnosis},
                             {QStringLiteral("icd"), l.icd},
                             {QStringLiteral("primary"), diagnosis == 1 ? QStringLiteral("Y")
                                                                        : QStringLiteral("N")}});
        if (!in)
            return tl::unexpected(in.error());
    }

    if (auto ok = m_db.exec(u"delete from STATION..tbPxICDRVS where IDNum = :id", id); !ok)
        return tl::unexpected(ok.error());
    int number = 0;
    QDateTime firstOperation;
    for (const OrderLine &l : order.lines) {
        const QDateTime operated = l.operationDate.isValid()
                                       ? QDateTime(l.operationDate, QTime(0, 0))
                                       : QDateTime();
        if (operated.isValid() && (!firstOperation.isValid() || operated < firstOperation))
            firstOperation = operated;
        auto in = m_db.exec(
            u"insert into STATION..tbPxICDRVS (IDNum, LineNumber, CaseType, ICD, RVS, "
            u"ICDDescription, RVSDescription, OperationDate) values (:id, :number, :type, :icd, "
            u":rvs, :icddesc, :rvsdesc, :operated)",
            {{kId, idNum},
             {QStringLiteral("number"), ++number},
             {QStringLiteral("type"), caseTypeText(l.tag)},
             {QStringLiteral("icd"), l.icd},
             {QStringLiteral("rvs"), l.rvs},
             {QStringLiteral("icddesc"), l.isOperation() ? QString() : l.description},
             {QStringLiteral("rvsdesc"), l.isOperation() ? l.description : QString()},
             {QStringLiteral("operated"), operated.isValid() ? QVariant(operated) : QVariant()}});
        if (!in)
            return tl::unexpected(in.error());
    }

    if (auto ok = sendNotice(idNum, noticeText(order), request, firstOperation); !ok)
        return ok;

    if (request.final) {
        if (auto ok = m_db.exec(u"delete from STATION..tbNurse_BillingCheckList "
                                u"where IDNum = :id",
                                id);
            !ok)
            return tl::unexpected(ok.error());
        for (const CheckItem &c : order.checklist) {
            auto in = m_db.call(u"STATION..sp_Nurse_Save_Patient_BillingCheckList",
                                {idNum, c.item, c.state, request.employeeCode});
            if (!in)
                return tl::unexpected(in.error());
        }
    }
    return {};
}

Result<WriteOutcome> DischargeOrderStore::save(const OrderData &order, const SaveRequest &request)
{
    return inTransaction(order.idNum, false, [&] { return writeOrder(order, request); });
}

Result<WriteOutcome> DischargeOrderStore::saveText(const QString &idNum, const Notice &notice,
                                                   const SaveRequest &request)
{
    return inTransaction(idNum, false,
                         [&] { return sendNotice(idNum.trimmed(), notice, request, {}); });
}

Result<WriteOutcome> DischargeOrderStore::revoke(const QString &idNum, const QString &employeeCode,
                                                 bool keepOrderData)
{
    const QString id = idNum.trimmed();
    return inTransaction(id, true, [&]() -> Result<void> {
        const Binds binds{{kId, id}};
        for (QStringView sql :
             {u"delete from STATION..tbNurseProfFees where IDNum = :id",
              u"delete from PATIENT_DATA..tbPatientDiagnosis where IDNum = :id",
              u"delete from STATION..tbPxICDRVS where IDNum = :id"}) {
            if (keepOrderData)
                break;
            if (auto ok = m_db.exec(sql, binds); !ok)
                return tl::unexpected(ok.error());
        }
        auto revoked = m_db.call(u"BILLING..sp_Billing_RevokeHBPS", {id, employeeCode});
        if (!revoked)
            return tl::unexpected(revoked.error());
        return {};
    });
}

} // namespace kestrel::caserates
