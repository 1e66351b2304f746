// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "patients/modGlobals.h"
#include "patients/StayQueries.h"

#include "core/db/Database.h"
#include "core/db/Money.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::stayqueries {

bool isOutpatientIdNum(const QString &IdNum)
{
    return IdNum.trimmed().endsWith(u'B', Qt::CaseInsensitive);
}

std::optional<Row> firstRow(Session &session, QStringView sql, const Binds &binds)
{
    auto row = session.db().selectOne(sql, binds);
    if (!row) {
        session.notifier().errorBox(row.error());
        return std::nullopt;
    }
    return *row;
}

std::optional<Row> firstRowOfCall(Session &session, QStringView procedure, const QVariantList &args)
{
    auto rows = session.db().call(procedure, args);
    if (!rows) {
        session.notifier().errorBox(rows.error());
        return std::nullopt;
    }
    return rows->first();
}

} // namespace kestrel::stayqueries

namespace kestrel::modGlobals {

using stayqueries::firstRow;
using stayqueries::firstRowOfCall;
using stayqueries::isOutpatientIdNum;

namespace {

// The walk-in account: outpatients on it pay for themselves.
const QString kWalkInAccount = QStringLiteral("4394");

Binds idBind(const QString &IdNum)
{
    return {{QStringLiteral("id"), IdNum}};
}

bool hasRow(Session &session, QStringView sql, const Binds &binds)
{
    return firstRow(session, sql, binds).has_value();
}

// Reads a whole-peso amount; false when the statement failed.
bool readWhole(Session &session, QStringView sql, const Binds &binds, qint64 &pesos)
{
    auto row = session.db().selectOne(sql, binds);
    if (!row) {
        session.notifier().errorBox(row.error());
        return false;
    }
    pesos = *row ? wholePesos((*row)->money(u"Amount").minor()) : 0;
    return true;
}

} // namespace

qint64 wholePesos(qint64 minor)
{
    qint64 whole = minor / Money::kScale;
    const qint64 rest = minor % Money::kScale;
    const qint64 half = Money::kScale / 2;
    if (rest > half || (rest == half && whole % 2 != 0))
        ++whole;
    else if (rest < -half || (rest == -half && whole % 2 != 0))
        --whole;
    return whole;
}

bool IsAccountClosed(Session &session)
{
    const CurrentPatientRecord &patient = session.CurrentPatient;
    if (!patient.isSelected())
        return false;
    // Read the stay again rather than trusting the copy taken at selection.
    const bool outpatient =
        patient.PatientClass.trimmed().compare(u"O", Qt::CaseInsensitive) == 0 ||
        patient.isOutpatientStay();
    const QString sql = outpatient
                            ? QStringLiteral("select BillingDate from PATIENT_DATA..tbOutPatient "
                                             "where IDNum = :id")
                            : QStringLiteral("select BillingDate from PATIENT_DATA..tbPatient "
                                             "where IDNum = :id");
    auto row = firstRow(session, sql, idBind(patient.IdNum.trimmed()));
    if (!row || row->value(u"BillingDate").isNull() ||
        row->value(u"BillingDate").toString().trimmed().isEmpty())
        return false;
    session.notifier().message(
        QStringLiteral("The patient's account has already been closed. \n\n"
                       "If you have transactions to make, please notify the Billing staff"
                       " immediately for further instructions."),
        QStringLiteral("Notification"), Notifier::Icon::Exclamation);
    return true;
}

bool HasDischargeNotice(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from STATION..tbNurseDischargeNotice where IDNum = :id "
                  u"and (RecordStatus = 'F' or RecordStatus = 'P')",
                  idBind(IdNum));
}

bool IsDischarged(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbPatient where IDNum = :id "
                  u"and DcrDate is not null",
                  idBind(IdNum));
}

bool IsClearedByDepartment(Session &session, const QString &IdNum, const QString &department)
{
    auto row =
        firstRowOfCall(session, u"STATION..sp_Nurse_Check_ClearedDepartment", {IdNum, department});
    return row && !row->text(u"ClearDate").trimmed().isEmpty();
}

bool IsOROkay(Session &session, const QString &IdNum)
{
    auto row = firstRow(session,
                        u"select coalesce(OkeyOR, 0) as OKeyOR from PATIENT_DATA..tbPatient2 "
                        u"where IDNum = :id",
                        idBind(IdNum));
    return row && row->flag(u"OKeyOR");
}

bool HasPatientsOwnMedicine(Session &session, const QString &IdNum)
{
    auto row = firstRow(session,
                        u"select coalesce(PatientsMed, 0) as PatientsMed "
                        u"from PATIENT_DATA..tbPatient2 where IDNum = :id",
                        idBind(IdNum));
    return row && row->flag(u"PatientsMed");
}

QString GetOpenStayHospNum(Session &session, const QString &IdNum)
{
    const QString sql = isOutpatientIdNum(IdNum)
                            ? QStringLiteral("select HospNum from PATIENT_DATA..tbOutPatient "
                                             "where IDNum = :id and DcrDate is null "
                                             "and RecordStatus <> 'R'")
                            : QStringLiteral("select HospNum from PATIENT_DATA..tbPatient "
                                             "where IDNum = :id and DcrDate is null");
    auto row = firstRow(session, sql, idBind(IdNum));
    return row ? row->text(u"HospNum") : QString();
}

bool IsCompanyAccountOutpatient(Session &session, const QString &IdNum, const QString &HospNum)
{
    auto row = firstRow(session,
                        u"select coalesce(AccountNum, '') as AccountNum "
                        u"from PATIENT_DATA..tbOutPatient where IDNum = :id",
                        idBind(IdNum));
    if (!row)
        return false;
    const QString account = row->text(u"AccountNum").trimmed();
    return account != HospNum.trimmed() && account != kWalkInAccount;
}

bool IsERPatient(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbOutPatient where IDNum = :id "
                  u"and ERNum is not null and OPDStatus <> 'R'",
                  idBind(IdNum));
}

bool HasERAdmittingCommunication(Session &session, const QString &HospNum, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbER_Admitting_Communication "
                  u"where HospNum = :hosp and OPDIDNum = :id "
                  u"and coalesce(RecordStatus, '') = ''",
                  {{QStringLiteral("hosp"), HospNum}, {QStringLiteral("id"), IdNum}});
}

namespace {

// The credit line less the current bill and the charges waiting in the log book; the credit
// line and the bill count in whole pesos. Nothing when a statement failed.
std::optional<Money> creditBalance(Session &session, const QString &IdNum)
{
    qint64 creditLine = 0;
    qint64 currentBill = 0;
    Money pending;
    if (!IdNum.isEmpty()) {
        const Binds binds = idBind(IdNum);
        if (!readWhole(session,
                       u"select CreditLine as Amount from PATIENT_DATA..tbPatient2 "
                       u"where IDNum = :id",
                       binds, creditLine))
            return std::nullopt;
        if (!readWhole(session,
                       u"select coalesce(sum(Amount), 0) as Amount "
                       u"from BILLING..tbBillDailyBill where IDNum = :id",
                       binds, currentBill))
            return std::nullopt;
        auto row = firstRow(session,
                            u"select coalesce(sum(Amount), 0) as TotalPendingCurrentBill "
                            u"from STATION..tbNurseLogBook where IDNum = :id "
                            u"and RecordStatus = ''",
                            binds);
        if (!row)
            return std::nullopt;
        pending = row->money(u"TotalPendingCurrentBill");
    }
    return Money::fromMinor((creditLine - currentBill) * Money::kScale) - pending;
}

} // namespace

bool IsWithinCreditLine(Session &session, const QString &IdNum, int source,
                        const QStringList &screenAmounts)
{
    // Both grids are read the same way once their amount cells are handed over; the source
    // only tells the caller which column that is.
    Q_UNUSED(source);
    const std::optional<Money> balance = creditBalance(session, IdNum);
    if (!balance)
        return false;
    Money onScreen;
    for (const QString &cell : screenAmounts) {
        if (cell.trimmed().isEmpty())
            continue;
        onScreen += Money::parse(cell).value_or(Money());
    }
    return onScreen <= *balance;
}

Money RemainingCreditBalance(Session &session, const QString &IdNum)
{
    return creditBalance(session, IdNum).value_or(Money());
}

QString GetRoomClassification(Session &session, const QString &RoomID)
{
    auto row = firstRowOfCall(session, u"STATION..sp_Nurse_Get_RoomClassification", {RoomID});
    return row ? row->text(u"RoomClassID") : QString();
}

QString GetOPDClassification(Session &session, const QString &IdNum)
{
    auto row = firstRowOfCall(session, u"PATIENT_DATA..sp_Get_OPD_Classification", {IdNum});
    return row ? row->text(u"RateType") : QString();
}

bool IsOPDClassH(Session &session, const QString &IdNum)
{
    return GetOPDClassification(session, IdNum) == u"H";
}

QString GetRateClass(Session &session, const QString &IdNum, const QString &patientClass,
                     const QString &RoomID)
{
    const QString cls = patientClass.trimmed();
    auto row =
        firstRowOfCall(session, u"STATION..sp_Nurse_Get_PatientType", {IdNum.trimmed(), cls});
    if (!row)
        return QStringLiteral("A");
    const QString special = row->text(u"isSpecial").trimmed();
    if (special == u"0") {
        if (cls == u"O") {
            // Only this client prices its HMO outpatients at a rate of their own.
            if (session.hospital.clientname == u"LOBRA" && IsOPDClassH(session, IdNum))
                return QStringLiteral("H");
            return QStringLiteral("A");
        }
        if (cls == u"I")
            return GetRoomClassification(session, RoomID);
        return QStringLiteral("A");
    }
    if (special == u"1" || special == u"9")
        return QStringLiteral("F");
    return GetRoomClassification(session, RoomID);
}

bool IsHMOPatient(Session &session, const QString &IdNum)
{
    auto row = firstRowOfCall(session, u"RADIOLOGY..Radiology_CheckIfHMO", {IdNum});
    return row && row->text(u"Class").trimmed() == u"P";
}

bool IsSeniorCitizen(Session &session, const QString &IdNum)
{
    return firstRowOfCall(session, u"STATION..sp_Nurse_Check_Patient_IsSeniorCitizen", {IdNum})
        .has_value();
}

bool IsInternational(Session &session, const QString &IdNum)
{
    auto row = firstRowOfCall(session, u"STATION..CheckIfInternational", {IdNum});
    return row && row->text(u"isInternational").trimmed() == u"Y";
}

bool IsValidPHICPatient(Session &session, const QString &IdNum)
{
    return firstRowOfCall(session, u"STATION..CheckIfValidPHICPatient", {IdNum}).has_value();
}

bool IsAdmittedSinceCF4Start(Session &session, const QString &IdNum)
{
    const QString start = session.settings.RequireCF4Start().trimmed();
    if (start.isEmpty())
        return IsValidPHICPatient(session, IdNum);
    const QDate startDate = QDate::fromString(start.left(10), Qt::ISODate);
    if (!startDate.isValid())
        return false;
    const QString sql = isOutpatientIdNum(IdNum)
                            ? QStringLiteral("select 1 from PATIENT_DATA..tbOutPatient "
                                             "where IDNum = :id and AdmDate >= :start")
                            : QStringLiteral("select 1 from PATIENT_DATA..tbPatient "
                                             "where IDNum = :id and AdmDate >= :start");
    // Admitted on the start date at any hour counts: compare from that day's midnight.
    if (!hasRow(session, sql,
                {{QStringLiteral("id"), IdNum},
                 {QStringLiteral("start"), QDateTime(startDate, QTime(0, 0))}}))
        return false;
    return IsValidPHICPatient(session, IdNum);
}

bool HasPackage(Session &session, const QString &IdNum)
{
    return hasRow(session,
                  u"select 1 from PATIENT_DATA..tbPatient2 where IDNum = :id "
                  u"and coalesce(PackageID, '') <> ''",
                  idBind(IdNum.trimmed()));
}

QString GetPackageName(Session &session, const QString &IdNum, const QString &patientClass)
{
    const QString sql =
        patientClass.trimmed() == u"O"
            ? QStringLiteral("select coalesce(B.Package, '') as Package "
                             "from PATIENT_DATA..tbOutPatient A left outer join "
                             "BUILD_FILE..tbCoAdmPackage B on A.PackageID = B.PackageID "
                             "where A.IDNum = :id")
            : QStringLiteral("select coalesce(B.Package, '') as Package "
                             "from PATIENT_DATA..tbPatient2 A left outer join "
                             "BUILD_FILE..tbCoAdmPackage B on A.PackageID = B.PackageID "
                             "where A.IDNum = :id");
    auto row = firstRow(session, sql, idBind(IdNum));
    return row ? row->text(u"Package") : QString();
}

bool IsZPackageItem(Session &session, const QString &ItemID)
{
    return hasRow(session,
                  u"select 1 from CAPD..tbcapdware_Invent "
                  u"where TransType = 'ZPACKAGE AND CASERATE' and ItemID = :item",
                  {{QStringLiteral("item"), ItemID}});
}

bool IsZFirstPackage(Session &session, const QString &IdNum, QString &LastPDTransaction)
{
    LastPDTransaction.clear();
    auto row = firstRowOfCall(session, u"STATION..CheckZFirstPackagePx", {IdNum});
    if (!row)
        return false;
    LastPDTransaction = row->text(u"LastPDTransaction");
    return true;
}

QString GetPrecautions(Session &session, const QString &IdNum)
{
    const QString id = IdNum.trimmed();
    const QString sql = isOutpatientIdNum(id)
                            ? QStringLiteral("select Precautions from "
                                             "PATIENT_DATA..tbOutpatientHistory where IDNum = :id")
                            : QStringLiteral("select Precautions from "
                                             "PATIENT_DATA..tbPatientHistory where IDNum = :id");
    auto row = firstRow(session, sql, idBind(id));
    return row ? row->text(u"Precautions") : QString();
}

QString GetOldHospNum(Session &session, const QString &HospNum)
{
    auto row = firstRow(session,
                        u"select coalesce(OldHospNum, '') as OldHospNum "
                        u"from PATIENT_DATA..tbMaster where HospNum = :hosp",
                        {{QStringLiteral("hosp"), HospNum}});
    return row ? row->text(u"OldHospNum") : QString();
}

QString GetGuarantors(Session &session, const QString &IdNum)
{
    QStringList payers;
    for (const QString &column : {QStringLiteral("AccountNum"), QStringLiteral("AccountNumII")}) {
        auto row = firstRow(session,
                            QStringLiteral("select coalesce(P.HospNum, '') as HospNum, "
                                           "coalesce(P.%1, '') as AccountNum, "
                                           "coalesce(C.Company, '') as CompanyName "
                                           "from PATIENT_DATA..tbPatient P left outer join "
                                           "BUILD_FILE..tbCoCompany C on C.AccountNum = P.%1 "
                                           "where P.IDNum = :id")
                                .arg(column),
                            idBind(IdNum));
        if (!row)
            break;
        const QString account = row->text(u"AccountNum").trimmed();
        if (account.isEmpty())
            continue;
        payers << (account == row->text(u"HospNum").trimmed() ? QStringLiteral("PERSONAL")
                                                              : row->text(u"CompanyName"));
    }
    return payers.join(u'/');
}

QString GetDoctorName(Session &session, const QString &DoctorID)
{
    auto row = firstRow(session,
                        u"select LastName, FirstName, MiddleName from BUILD_FILE..tbCoDoctor "
                        u"where DoctorID = :doctor",
                        {{QStringLiteral("doctor"), DoctorID}});
    if (!row)
        return QString();
    return row->text(u"LastName") + u", " + row->text(u"FirstName") + u' ' +
           row->text(u"MiddleName");
}

bool HasDoctorBillRate(Session &session, const QString &DoctorID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbCoDoctorBill where DoctorID = :doctor "
                  u"and Status = 1 and Amount > 0",
                  {{QStringLiteral("doctor"), DoctorID}});
}

bool IsDoctorUser(Session &session, const QString &DoctorID, const QString &UserID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbCoDoctor where DoctorID = :doctor "
                  u"and UserID = :user",
                  {{QStringLiteral("doctor"), DoctorID}, {QStringLiteral("user"), UserID}});
}

bool HasDoctorSignature(Session &session, const QString &DoctorID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbDBImage where TableName = 'tbCoDoctor' "
                  u"and FieldName = 'Signature' and IDKey = :doctor",
                  {{QStringLiteral("doctor"), DoctorID}});
}

QString GetConsultationSummary(Session &session, const QString &IdNum)
{
    auto rows = session.db().select(
        u"select coalesce(D.LastName, '') as LastName, coalesce(D.FirstName, '') as FirstName, "
        u"coalesce(C.ChiefComplaint, '') as Complaint from DOCTORS..Consultation C "
        u"left outer join BUILD_FILE..tbCoDoctor D on D.DoctorID = C.DoctorID "
        u"where C.IdNum = :id order by C.ConsultationID",
        idBind(IdNum));
    if (!rows) {
        session.notifier().errorBox(rows.error());
        return QString();
    }
    QStringList lines;
    for (int i = 0; i < rows->count(); ++i) {
        const Row &r = rows->at(i);
        lines << u"DR. " + r.text(u"LastName") + u", " + r.text(u"FirstName") + u" (" +
                     r.text(u"Complaint") + u')';
    }
    return lines.join(u'\n');
}

QString GetChiefComplaint(Session &session, const QString &ChiefComplaintID)
{
    auto row = firstRow(session,
                        u"select ChiefComplaint from BUILD_FILE..tbCoChiefComplaint "
                        u"where ChiefComplaintID = :id",
                        idBind(ChiefComplaintID));
    return row ? row->text(u"ChiefComplaint") : QString();
}

PatientBanner ShowPatientBanner(Session &session, const QString &IdNum)
{
    PatientBanner banner;
    auto row = firstRow(session,
                        u"select coalesce(A.transplantID, '0') as transplantID, "
                        u"coalesce(A.dialysisID, '0') as dialysisID, "
                        u"coalesce(B.Description, '') as Package, coalesce(A.VIP, 0) as VIP "
                        u"from PATIENT_DATA..tbPatient2 A left outer join "
                        u"BUILD_FILE..tbExecPackageCode B on A.PackageID = B.PackageID "
                        u"where A.IDNum = :id",
                        idBind(IdNum));
    if (row) {
        const QString package = row->text(u"Package").trimmed();
        if (!package.isEmpty())
            banner.executivePackage = QStringLiteral(" Executive Package Type : ") + package;
        if (row->value(u"VIP").toInt() == 1)
            banner.vipNotice = QStringLiteral("( Patient is Tag As VIP PATIENT )");
        if (row->text(u"transplantID").trimmed() == u"1")
            banner.TransplantStatus = QStringLiteral("Transplant");
        const QString dialysis = row->text(u"dialysisID").trimmed();
        if (dialysis == u"1")
            banner.DialysisStatus = QStringLiteral("Pre-Dialysis");
        else if (dialysis == u"2")
            banner.DialysisStatus = QStringLiteral("Post-Dialysis");
    }
    if (IsSeniorCitizen(session, IdNum))
        banner.seniorNotice = QStringLiteral(" ( Patient is Senior Citizen )");
    banner.admissionPackage =
        QStringLiteral("Executive Package Type : ") +
        GetPackageName(session, IdNum,
                       isOutpatientIdNum(IdNum) ? QStringLiteral("O") : QStringLiteral("I"));
    return banner;
}

QString LoadPayServiceLabel(Session &session, const QString &IdNum)
{
    std::optional<Row> row;
    QString letter;
    if (isOutpatientIdNum(IdNum)) {
        row = firstRow(session,
                       u"select PatientType from PATIENT_DATA..tbOutPatient "
                       u"where IDNum = :id and HospNum = :hosp",
                       {{QStringLiteral("id"), IdNum},
                        {QStringLiteral("hosp"), session.CurrentPatient.HospNum}});
        if (row)
            letter = row->text(u"PatientType").trimmed().left(1);
    } else {
        row = firstRow(session,
                       u"select PatientClass from PATIENT_DATA..tbPatient2 where IDNum = :id",
                       idBind(IdNum));
        if (row)
            letter = row->text(u"PatientClass").trimmed();
    }
    if (letter == u"P")
        return QStringLiteral("PAY PATIENT");
    if (letter == u"S")
        return QStringLiteral("SERVICE PATIENT");
    return QString();
}

bool IsReceivableUpdate(Session &session, const QString &IdNum)
{
    auto row =
        firstRowOfCall(session, u"PATIENT_DATA..sp_Check_Patient_For_ReceivableUpdate", {IdNum});
    return row && row->flag(u"IsReceivableUpdate");
}

bool IsPNF(Session &session, const QString &code)
{
    return firstRowOfCall(session, u"STATION..CheckIfPNF", {code}).has_value();
}

TodaysHoliday LoadHolidayGreeting(Session &session)
{
    TodaysHoliday greeting;
    if (auto row = firstRowOfCall(session, u"BUILD_FILE..Build_GetHolidayToday", {})) {
        greeting.IsHolidayToday = true;
        greeting.HolidayName = row->text(u"HolidayName");
        greeting.HolidayGreeting = row->text(u"HolidayGreeting");
    }
    return greeting;
}

namespace {

QString lookup(Session &session, QStringView sql, const QString &key, QStringView column)
{
    auto row = firstRow(session, sql, {{QStringLiteral("key"), key}});
    return row ? row->text(column) : QString();
}

} // namespace

QString GetORSection(Session &session, const QString &OtherRevenueID)
{
    return lookup(session,
                  u"select coalesce(ORSection, '') as ORSection from BUILD_FILE..tbCoOtherRevenue "
                  u"where OtherSectionID = 'OR' and OtherRevenueID = :key",
                  OtherRevenueID, u"ORSection");
}

QString GetORItemSection(Session &session, const QString &OtherRevenueID)
{
    return lookup(session,
                  u"select coalesce(SectionID, '') as SectionID from BUILD_FILE..tbCoOtherRevenue "
                  u"where OtherSectionID = 'OR' and OtherRevenueID = :key",
                  OtherRevenueID, u"SectionID");
}

QString GetRevenueLocation(Session &session, const QString &RevenueID)
{
    return lookup(session,
                  u"select coalesce(LocationID, '') as LocationID from BUILD_FILE..tbCoRevenueCode "
                  u"where RevenueID = :key",
                  RevenueID, u"LocationID");
}

bool IsPharmacyRevenue(Session &session, const QString &RevenueID)
{
    return hasRow(session,
                  u"select 1 from BUILD_FILE..tbCoRevenueCode where RevenueID = :key "
                  u"and StockCardRevenueID = 'PH'",
                  {{QStringLiteral("key"), RevenueID}});
}

QString GetInventoryType(Session &session, const QString &LocationID)
{
    return lookup(session,
                  u"select coalesce(InventoryType, '') as InventoryType "
                  u"from INVENTORY..tbInvLocation where LocationID = :key",
                  LocationID, u"InventoryType");
}

double GetOnHand(Session &session, const QString &ItemID, const QString &LocationID)
{
    auto row = firstRowOfCall(session, u"INVENTORY..Drug_Invent", {ItemID, LocationID});
    return row ? row->number(u"OnHand") : 0;
}

QString GetLabSectionID(Session &session, const QString &LabExamID)
{
    return lookup(session,
                  u"select coalesce(LabSectionID, '') as LabSectionID from BUILD_FILE..tbCoLabExam "
                  u"where LabExamID = :key",
                  LabExamID, u"LabSectionID");
}

bool RefNumExists(Session &session, const QString &RefNum)
{
    return hasRow(session,
                  u"select RefNum from BILLING..tbBillDailyBill where RefNum = :key "
                  u"union all select RefNum from BILLING..tbBillOPDailyOut where RefNum = :key "
                  u"union all select RefNum from INVENTORY..tbInvStockCard where RefNum = :key "
                  u"union all select RefNum from BILLING..tbCashAssessment where RefNum = :key",
                  {{QStringLiteral("key"), RefNum}});
}

QString GetCreditMemoIdNum(Session &session, const QString &CreditMemoNum)
{
    return lookup(session,
                  u"select IDNum from INVENTORY..tbInvStockCard where CreditMemoNum = :key",
                  CreditMemoNum, u"IDNum");
}

QString GetARCode(Session &session, const QString &IdNum, const QString &department,
                  const QString &kind)
{
    auto row = firstRowOfCall(session, u"STATION..sp_Get_ARCodes", {IdNum, department, kind});
    return row ? row->text(u"ARCode") : QString();
}

QString HasNotAdministeredMeds(Session &session, const QString &IdNum, const QString &ItemID)
{
    auto row = firstRowOfCall(session, u"STATION..Check_NotAdministeredMeds", {IdNum, ItemID});
    return row ? row->text(u"Unused") : QString();
}

QString GetInventorySwitch89(Session &session)
{
    auto row = firstRow(session,
                        u"select coalesce(KeyValue, '0') as KeyValue from INVENTORY..tbInvSwitch "
                        u"where IDKey = '89'",
                        {});
    return row ? row->text(u"KeyValue") : QString();
}

int GetProcedureParamCount(Session &session, const QString &database, const QString &procedure)
{
    return session.db().parameterCount(database, procedure);
}

QDateTime LoadServerDate(Session &session)
{
    auto now = session.db().loadServerDate();
    if (!now) {
        session.notifier().errorBox(now.error());
        return QDateTime();
    }
    session.ServerDate = now->date();
    return *now;
}

bool FieldExists(const RowSet &recordset, const QString &name)
{
    return recordset.columnNames().contains(name, Qt::CaseInsensitive);
}

QString NullToSpace(const QVariant &value)
{
    return value.isNull() ? QStringLiteral(" ") : value.toString();
}

bool IsWholeQuantity(const Session &session, const QString &text)
{
    if (session.settings.AllowDecimalQty())
        return true;
    // Every character must be a plain digit; an empty entry has none that fails.
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

} // namespace kestrel::modGlobals
