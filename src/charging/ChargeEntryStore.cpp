// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/ChargeEntryStore.h"

#include "core/components/PatientRecords.h"
#include "core/db/Database.h"

namespace kestrel {

namespace {

Binds idBind(const QString &IdNum)
{
    return {{QStringLiteral("id"), IdNum.trimmed()}};
}

// "LASTNAME, FIRSTNAME MIDDLENAME" of the doctor whose name columns begin with `prefix`.
QString doctorName(const Row &row, const QString &prefix)
{
    return completeName(row.trimmed(QString(prefix + QLatin1String("Last"))),
                        row.trimmed(QString(prefix + QLatin1String("First"))),
                        row.trimmed(QString(prefix + QLatin1String("Middle"))));
}

} // namespace

Result<QList<ChargeDepartment>> ChargeEntryStore::departments(const QString &station)
{
    auto rows = m_db.call(u"STATION..sp_OR_ChargingCodes", {station});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<ChargeDepartment> departments;
    for (const Row &r : *rows)
        departments.append({r.trimmed(u"RevenueID").toUpper(), r.trimmed(u"ItemName")});
    return departments;
}

Result<QList<PostedCharge>> ChargeEntryStore::postedCharges(const QString &IdNum,
                                                            const QString &station)
{
    auto rows = m_db.call(u"STATION..List_All_ORCharges", {IdNum.trimmed(), station});
    if (!rows)
        return tl::unexpected(rows.error());
    QList<PostedCharge> charges;
    for (const Row &r : *rows) {
        PostedCharge c;
        c.logBookId = r.integer(u"LogBookID");
        c.department = r.trimmed(u"RevenueID");
        c.item = r.trimmed(u"ItemID");
        c.description = r.trimmed(u"Description");
        c.quantity = r.number(u"Quantity");
        c.amount = r.money(u"Amount");
        c.chargeSlip = r.trimmed(u"ReferenceNum");
        c.packageId = r.trimmed(u"PackageID");
        charges.append(c);
    }
    return charges;
}

Result<std::optional<ChargePatientHeader>>
ChargeEntryStore::header(const CurrentPatientRecord &stay)
{
    // The doctors of the stay by name: the admitting and the first two attending doctors of
    // an admission; the two doctors of a visit.
    static constexpr QStringView kTwoDoctors =
        u"A.LastName as AdmLast, A.FirstName as AdmFirst, A.MiddleName as AdmMiddle, "
        u"D1.LastName as Att1Last, D1.FirstName as Att1First, D1.MiddleName as Att1Middle";
    const QString sql =
        stay.isOutpatientStay()
            ? QStringLiteral("select M.LastName, M.FirstName, M.MiddleName, M.Sex, M.BirthDate, "
                             "M.CivilStatus, M.BloodType, S.AdmDate, S.DcrDate, '' as RoomID, "
                             "'' as DietID, H.ChiefComplaints as Diagnosis, P.PHICDescription, ") +
                  kTwoDoctors +
                  QStringLiteral(
                      " from PATIENT_DATA..tbOutPatient S "
                      "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
                      "left join PATIENT_DATA..tbOutpatientHistory H on H.IDNum = S.IDNum "
                      "left join MEDICARE..tbAdmPHICTable P on P.PHICCode = S.PHICCode "
                      "left join BUILD_FILE..tbCoDoctor A on A.DoctorID = S.DoctorID1 "
                      "left join BUILD_FILE..tbCoDoctor D1 on D1.DoctorID = S.DoctorID2 "
                      "where S.IDNum = :id")
            : QStringLiteral("select M.LastName, M.FirstName, M.MiddleName, M.Sex, M.BirthDate, "
                             "M.CivilStatus, M.BloodType, S.AdmDate, S.DcrDate, S.RoomID, "
                             "X.DietID, H.ADMDiagnosis as Diagnosis, P.PHICDescription, ") +
                  kTwoDoctors +
                  QStringLiteral(
                      ", D2.LastName as Att2Last, D2.FirstName as Att2First, "
                      "D2.MiddleName as Att2Middle from PATIENT_DATA..tbPatient S "
                      "inner join PATIENT_DATA..tbMaster M on M.HospNum = S.HospNum "
                      "left join PATIENT_DATA..tbPatient2 X on X.IDNum = S.IDNum "
                      "left join PATIENT_DATA..tbPatientHistory H on H.IDNum = S.IDNum "
                      "left join MEDICARE..tbAdmPHICTable P on P.PHICCode = X.PHICCode "
                      "left join BUILD_FILE..tbCoDoctor A on A.DoctorID = S.AdmittingDr "
                      "left join BUILD_FILE..tbCoDoctor D1 on D1.DoctorID = S.AttendingDr1 "
                      "left join BUILD_FILE..tbCoDoctor D2 on D2.DoctorID = S.AttendingDr2 "
                      "where S.IDNum = :id");
    auto row = m_db.selectOne(sql, idBind(stay.IdNum));
    if (!row)
        return tl::unexpected(row.error());
    if (!*row)
        return std::optional<ChargePatientHeader>();
    const Row &r = **row;
    ChargePatientHeader h;
    h.patientName =
        completeName(r.trimmed(u"LastName"), r.trimmed(u"FirstName"), r.trimmed(u"MiddleName"));
    h.idNum = stay.IdNum.trimmed();
    h.hospNum = stay.HospNum.trimmed();
    h.room = r.trimmed(u"RoomID");
    h.status = r.trimmed(u"CivilStatus");
    h.birthDate = r.date(u"BirthDate");
    h.sex = r.trimmed(u"Sex");
    h.admitted = r.dateTime(u"AdmDate");
    h.discharged = r.dateTime(u"DcrDate");
    h.diet = r.trimmed(u"DietID");
    h.bloodType = r.trimmed(u"BloodType");
    h.diagnosis = r.trimmed(u"Diagnosis");
    h.admittingDoctor = doctorName(r, QStringLiteral("Adm"));
    h.attendingDoctor1 = doctorName(r, QStringLiteral("Att1"));
    h.attendingDoctor2 = doctorName(r, QStringLiteral("Att2"));
    h.membership = r.trimmed(u"PHICDescription");
    return std::optional<ChargePatientHeader>(h);
}

Result<bool> ChargeEntryStore::isCashBasis(const QString &IdNum)
{
    const bool outpatient = IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
    auto value = m_db.scalar(outpatient ? u"select isCashBasis from PATIENT_DATA..tbOutPatient "
                                          u"where IDNum = :id"
                                        : u"select isCashBasis from PATIENT_DATA..tbPatient2 "
                                          u"where IDNum = :id",
                             idBind(IdNum));
    if (!value)
        return tl::unexpected(value.error());
    return value->toInt() == 1;
}

Result<bool> ChargeEntryStore::isUnrestricted(const QString &department, const QString &item)
{
    // The department's stock location, through the location that carries its name.
    auto location = m_db.scalar(u"select coalesce(b.LocationID, '') as LocationID "
                                u"from BUILD_FILE..tbCoRevenueCode a "
                                u"left join INVENTORY..tbInvLocation b on a.ItemName = b.Location "
                                u"where a.RevenueID = :department",
                                {{QStringLiteral("department"), department.trimmed()}});
    if (!location)
        return tl::unexpected(location.error());
    const bool stock = !location->toString().trimmed().isEmpty();
    auto value =
        m_db.scalar(stock ? u"select coalesce(Unrestricted, 0) as value "
                            u"from INVENTORY..tbInvMaster where ItemID = :item"
                          : u"select coalesce(Unrestricted, 0) as value "
                            u"from BUILD_FILE..tbCoOtherRevenue where OtherRevenueID = :item",
                    {{QStringLiteral("item"), item.trimmed()}});
    if (!value)
        return tl::unexpected(value.error());
    return value->toInt() != 0;
}

Result<bool> ChargeEntryStore::mealDoctors()
{
    auto value = m_db.scalar(u"select ORDRMealDoctors from STATION..tbNursing_Settings");
    if (!value)
        return tl::unexpected(value.error());
    return value->toInt() != 0;
}

Result<QList<ORProcedure>> ChargeEntryStore::orProcedures()
{
    auto rows = m_db.select(u"select ItemID, ItemName from BUILD_FILE..tbCoORProcedures "
                            u"order by ItemName, ItemID");
    if (!rows)
        return tl::unexpected(rows.error());
    QList<ORProcedure> procedures;
    for (const Row &r : *rows)
        procedures.append({r.trimmed(u"ItemID"), r.trimmed(u"ItemName")});
    return procedures;
}

} // namespace kestrel
