// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "core/components/clsPatientFinder.h"

#include "core/db/Database.h"
#include "core/Notifier.h"

#include <QStringList>

namespace kestrel {

namespace {

// The doctor columns of one joined tbCoDoctor row, named with `prefix` so that several
// doctors of one stay can be read from the same result.
QString doctorColumns(QStringView alias, QStringView prefix)
{
    return QStringLiteral("%1.LastName as %2Last, %1.FirstName as %2First, "
                          "%1.MiddleName as %2Middle")
        .arg(alias, prefix);
}

QString doctorJoin(QStringView alias, QStringView codeColumn)
{
    return QStringLiteral(" left join BUILD_FILE..tbCoDoctor %1 on %1.DoctorID = %2")
        .arg(alias, codeColumn);
}

DoctorName readDoctor(const Row &row, QStringView codeColumn, QStringView prefix)
{
    DoctorName d;
    d.Code = row.trimmed(codeColumn);
    const QString p = prefix.toString();
    d.LastName = row.trimmed(QString(p + u"Last"));
    d.FirstName = row.trimmed(QString(p + u"First"));
    d.MiddleName = row.trimmed(QString(p + u"Middle"));
    d.CompleteName = completeName(d.LastName, d.FirstName, d.MiddleName);
    return d;
}

QString admissionStatement()
{
    static const QString sql =
        QStringLiteral("select p.IDNum, p.HospNum, p.AdmDate, p.DcrDate, p.BillingDate, "
                       "p.AccountNum, p.RoomID, p.StationID, p.RecordStatus, p.AdmittingDr, "
                       "p.AttendingDr1, p.AttendingDr2, p.AttendingDr3, "
                       "r.RoomClassID, r.RoomRate, r.Description as RoomDescription, "
                       "r.StationID as RoomStationID, c.Company, ") +
        doctorColumns(u"ad", u"Adm") + QStringLiteral(", ") + doctorColumns(u"d1", u"Dr1") +
        QStringLiteral(", ") + doctorColumns(u"d2", u"Dr2") + QStringLiteral(", ") +
        doctorColumns(u"d3", u"Dr3") +
        QStringLiteral(", h.Precautions, h.ADMDiagnosis, h.ChiefComplaint, h.BriefHistory, "
                       "h.PhysicalExamination "
                       "from PATIENT_DATA..tbPatient p "
                       "left join BUILD_FILE..tbCoRoom r on r.RoomID = p.RoomID "
                       "left join BUILD_FILE..tbCoCompany c on c.AccountNum = p.AccountNum") +
        doctorJoin(u"ad", u"p.AdmittingDr") + doctorJoin(u"d1", u"p.AttendingDr1") +
        doctorJoin(u"d2", u"p.AttendingDr2") + doctorJoin(u"d3", u"p.AttendingDr3") +
        QStringLiteral(" left join PATIENT_DATA..tbPatientHistory h on h.IDNum = p.IDNum "
                       "where p.IDNum = :key");
    return sql;
}

QString outPatientStatement()
{
    static const QString sql =
        QStringLiteral("select o.IDNum, o.HospNum, o.AdmDate, o.DcrDate, o.BillingDate, "
                       "o.AccountNum, o.ERNum, o.RecordStatus, o.DoctorID1, o.DoctorID2, "
                       "c.Company, ") +
        doctorColumns(u"d1", u"Dr1") + QStringLiteral(", ") + doctorColumns(u"d2", u"Dr2") +
        QStringLiteral(", h.Precautions, h.ChiefComplaints, h.BriefHistory "
                       "from PATIENT_DATA..tbOutPatient o "
                       "left join BUILD_FILE..tbCoCompany c on c.AccountNum = o.AccountNum") +
        doctorJoin(u"d1", u"o.DoctorID1") + doctorJoin(u"d2", u"o.DoctorID2") +
        QStringLiteral(" left join PATIENT_DATA..tbOutpatientHistory h on h.IDNum = o.IDNum "
                       "where o.IDNum = :key");
    return sql;
}

QString joinFilled(const QStringList &pieces)
{
    QStringList filled;
    for (const QString &p : pieces) {
        if (!p.trimmed().isEmpty())
            filled << p.trimmed();
    }
    return filled.join(QStringLiteral(", "));
}

bool isOutPatientNumber(const QString &idNum)
{
    return idNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
}

// What an admission and an outpatient visit both record, read from either statement.
template <typename Stay> void readStayFields(const Row &r, Stay &stay)
{
    stay.IdNum = r.trimmed(u"IDNum");
    stay.HospNum = r.trimmed(u"HospNum");
    stay.AdmissionDate = r.dateTime(u"AdmDate");
    stay.DischargeDate = r.dateTime(u"DcrDate");
    stay.BillingDate = r.dateTime(u"BillingDate");
    stay.Account.AccountNumber = r.trimmed(u"AccountNum");
    stay.Account.Company = r.trimmed(u"Company");
}

} // namespace

std::optional<Row> clsPatientFinder::lookupRow(QStringView sql, const QString &key)
{
    auto row = connection()->selectOne(sql, {{QStringLiteral("key"), key}});
    if (!row) {
        notifier().errorBox(row.error());
        return std::nullopt;
    }
    return *row;
}

// ---------------------------------------------------------------------------------------------

clsOutPatient::clsOutPatient(clsPatientFinder &finder)
    : m_finder(finder)
{
    setObjectName(QStringLiteral("clsOutPatient"));
}

bool clsOutPatient::OpenOutPatient(const QString &IdNum)
{
    return m_finder.openOutPatient(IdNum);
}

const OutPatientRecord &clsOutPatient::visit() const
{
    return m_finder.m_visit;
}

OutPatientHistory clsOutPatient::OPDHistory() const
{
    return m_finder.m_opdHistory;
}

clsPatientClass::clsPatientClass(clsPatientFinder &finder)
    : m_outPatient(new kestrel::clsOutPatient(finder))
{
    setObjectName(QStringLiteral("PatientClass"));
    m_outPatient->setParent(this);
}

// ---------------------------------------------------------------------------------------------

clsPatientFinder::clsPatientFinder(const ComponentContext &ctx, QObject *parent)
    : Component(kProgId.toString(), ctx, parent)
    , m_patientClass(new kestrel::clsPatientClass(*this))
{
    m_patientClass->setParent(this);
}

clsPatientFinder::~clsPatientFinder() = default;

bool clsPatientFinder::InitConnection(const QString &server, Database *connection)
{
    m_server = server;
    return takeConnection(connection);
}

bool clsPatientFinder::ValidatePatient(const QString &HospNum)
{
    m_master = {};
    const QString hospNum = HospNum.trimmed();
    if (!connection() || hospNum.isEmpty())
        return false;
    const std::optional<Row> row = lookupRow(
        u"select HospNum, LastName, FirstName, MiddleName, Suffix, Sex, BirthDate, CivilStatus, "
        u"BloodType, HouseStreet, Barangay, Town, Province, ZipCode, TelNum, PhilHealthNum "
        u"from PATIENT_DATA..tbMaster where HospNum = :key",
        hospNum);
    if (!row)
        return false;
    const Row &r = *row;
    m_master.HospitalNumber = r.trimmed(u"HospNum");
    m_master.LastName = r.trimmed(u"LastName");
    m_master.FirstName = r.trimmed(u"FirstName");
    m_master.MiddleName = r.trimmed(u"MiddleName");
    m_master.Suffix = r.trimmed(u"Suffix");
    m_master.Sex = r.trimmed(u"Sex");
    m_master.BirthDate = r.date(u"BirthDate");
    m_master.CivilStatus = r.trimmed(u"CivilStatus");
    m_master.BloodType = r.trimmed(u"BloodType");
    m_master.TelNum = r.trimmed(u"TelNum");
    m_master.PhilHealthNum = r.trimmed(u"PhilHealthNum");
    AddressInfo &a = m_master.Address;
    a.HouseStreet = r.trimmed(u"HouseStreet");
    a.Barangay = r.trimmed(u"Barangay");
    a.Town = r.trimmed(u"Town");
    a.Province = r.trimmed(u"Province");
    a.ZipCode = r.trimmed(u"ZipCode");
    a.CompleteAddress = joinFilled({a.HouseStreet, a.Barangay, a.Town, a.Province});
    return true;
}

bool clsPatientFinder::ValidateAdmission(const QString &IdNum)
{
    clearStay();
    const QString idNum = IdNum.trimmed();
    if (!connection() || idNum.isEmpty())
        return false;
    const std::optional<Row> row = lookupRow(admissionStatement(), idNum);
    if (!row)
        return false;
    const Row &r = *row;
    AdmissionRecord &a = m_admission;
    readStayFields(r, a);
    a.Room.RoomID = r.trimmed(u"RoomID");
    a.Room.RoomClassID = r.trimmed(u"RoomClassID");
    a.Room.RoomRate = r.money(u"RoomRate");
    a.Room.Description = r.trimmed(u"RoomDescription");
    a.Room.Station.StationID = r.trimmed(u"RoomStationID");
    a.Station = r.trimmed(u"StationID");
    a.RecordStatus = r.trimmed(u"RecordStatus");
    a.AdmittingDoctor = readDoctor(r, u"AdmittingDr", u"Adm");
    a.Doctor1 = readDoctor(r, u"AttendingDr1", u"Dr1");
    a.Doctor2 = readDoctor(r, u"AttendingDr2", u"Dr2");
    a.Doctor3 = readDoctor(r, u"AttendingDr3", u"Dr3");
    a.AttendingDoctor1 = a.Doctor1;
    a.AttendingDoctor2 = a.Doctor2;
    m_history.Precautions = r.text(u"Precautions");
    m_history.ADMDiagnosis = r.text(u"ADMDiagnosis");
    m_history.ChiefComplaint = r.text(u"ChiefComplaint");
    m_history.BriefHistory = r.text(u"BriefHistory");
    m_history.PhysicalExamination = r.text(u"PhysicalExamination");
    m_room = a.Room;
    m_stay = Stay::Admission;
    return true;
}

bool clsPatientFinder::openOutPatient(const QString &idNum)
{
    clearStay();
    const QString id = idNum.trimmed();
    if (!connection() || id.isEmpty())
        return false;
    const std::optional<Row> row = lookupRow(outPatientStatement(), id);
    if (!row)
        return false;
    const Row &r = *row;
    OutPatientRecord &v = m_visit;
    readStayFields(r, v);
    v.Doctor1 = readDoctor(r, u"DoctorID1", u"Dr1");
    v.Doctor2 = readDoctor(r, u"DoctorID2", u"Dr2");
    v.ERNum = r.trimmed(u"ERNum");
    v.RecordStatus = r.trimmed(u"RecordStatus");
    m_opdHistory.Precautions = r.text(u"Precautions");
    m_opdHistory.ChiefComplaints = r.text(u"ChiefComplaints");
    m_opdHistory.BriefHistory = r.text(u"BriefHistory");
    m_stay = Stay::OutPatient;
    return true;
}

bool clsPatientFinder::ValidateRoom(const QString &RoomID)
{
    m_room = {};
    const QString roomId = RoomID.trimmed();
    if (!connection() || roomId.isEmpty())
        return false;
    const std::optional<Row> row =
        lookupRow(u"select RoomID, Description, RoomClassID, RoomRate, StationID "
                  u"from BUILD_FILE..tbCoRoom where RoomID = :key",
                  roomId);
    if (!row)
        return false;
    const Row &r = *row;
    m_room.RoomID = r.trimmed(u"RoomID");
    m_room.Description = r.trimmed(u"Description");
    m_room.RoomClassID = r.trimmed(u"RoomClassID");
    m_room.RoomRate = r.money(u"RoomRate");
    m_room.Station.StationID = r.trimmed(u"StationID");
    return true;
}

bool clsPatientFinder::LoadPatient(const QString &IdNum)
{
    m_master = {};
    const bool found = isOutPatientNumber(IdNum) ? openOutPatient(IdNum) : ValidateAdmission(IdNum);
    if (!found)
        return false;
    return ValidatePatient(m_stay == Stay::OutPatient ? m_visit.HospNum : m_admission.HospNum);
}

bool clsPatientFinder::Refresh()
{
    const QString hospNum = m_master.HospitalNumber;
    const Stay stay = m_stay;
    const QString idNum = stay == Stay::OutPatient ? m_visit.IdNum : m_admission.IdNum;
    if (hospNum.isEmpty() && stay == Stay::None)
        return false;
    bool ok = true;
    if (!hospNum.isEmpty())
        ok = ValidatePatient(hospNum);
    if (stay == Stay::Admission)
        ok = ValidateAdmission(idNum) && ok;
    else if (stay == Stay::OutPatient)
        ok = openOutPatient(idNum) && ok;
    return ok;
}

QDateTime clsPatientFinder::AdmissionDate() const
{
    return m_stay == Stay::OutPatient ? m_visit.AdmissionDate : m_admission.AdmissionDate;
}

QDateTime clsPatientFinder::BillingDate() const
{
    return m_stay == Stay::OutPatient ? m_visit.BillingDate : m_admission.BillingDate;
}

AccountInfo clsPatientFinder::Account() const
{
    return m_stay == Stay::OutPatient ? m_visit.Account : m_admission.Account;
}

DoctorName clsPatientFinder::Doctor1() const
{
    return m_stay == Stay::OutPatient ? m_visit.Doctor1 : m_admission.Doctor1;
}

DoctorName clsPatientFinder::Doctor2() const
{
    return m_stay == Stay::OutPatient ? m_visit.Doctor2 : m_admission.Doctor2;
}

void clsPatientFinder::clearStay()
{
    m_admission = {};
    m_history = {};
    m_visit = {};
    m_opdHistory = {};
    m_room = {};
    m_stay = Stay::None;
}

} // namespace kestrel
