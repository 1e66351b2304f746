// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "charging/modPricing.h"

#include "patients/modGlobals.h"
#include "patients/StayQueries.h"
#include "core/db/Database.h"
#include "core/Notifier.h"
#include "core/Session.h"

namespace kestrel::modPricing {

using stayqueries::firstRow;
using stayqueries::firstRowOfCall;
using stayqueries::isOutpatientIdNum;

namespace {

// The exam master of a department, with the name of its key column.
struct ExamTable
{
    QString table;
    QString key;
};

std::optional<ExamTable> examTable(const QString &department)
{
    const QString d = department.trimmed().toUpper();
    if (d == u"LB")
        return ExamTable{QStringLiteral("BUILD_FILE..tbCoLabExam"), QStringLiteral("LabExamID")};
    if (d == u"XR")
        return ExamTable{QStringLiteral("BUILD_FILE..tbCoXrayExam"), QStringLiteral("XrayExamID")};
    if (d == u"US")
        return ExamTable{QStringLiteral("BUILD_FILE..tbCoUltraExam"),
                         QStringLiteral("UltraExamID")};
    return std::nullopt;
}

} // namespace

QString GetPatientRateLetter(Session &session, const QString &IdNum, const QString &patientClass,
                             const QString &RoomID)
{
    // The room does not decide the letter; the HMO rate by room class reads it instead.
    Q_UNUSED(RoomID);
    const QString cls = patientClass.trimmed();
    auto row =
        firstRowOfCall(session, u"STATION..sp_Nurse_Get_PatientType", {IdNum.trimmed(), cls});
    if (!row)
        return QStringLiteral("A");
    const QString special = row->text(u"isSpecial").trimmed();
    if (special == u"0") {
        // Only this client prices its HMO outpatients at a rate of their own.
        if (cls == u"O" && session.hospital.clientname == u"LOBRA" &&
            modGlobals::IsOPDClassH(session, IdNum))
            return QStringLiteral("H");
        return QStringLiteral("A");
    }
    if (special == u"1" || special == u"9")
        return QStringLiteral("F");
    return QStringLiteral("A");
}

Money GetHMORateByClass(Session &session, const QString &IdNum, const QString &RoomID,
                        const QString &department, const QString &item)
{
    if (!modGlobals::IsHMOPatient(session, IdNum))
        return Money();
    QString rateClass;
    if (isOutpatientIdNum(IdNum)) {
        rateClass = session.settings.RateIforER() && modGlobals::IsERPatient(session, IdNum)
                        ? QStringLiteral("I")
                        : QStringLiteral("A");
    } else {
        rateClass = modGlobals::GetRoomClassification(session, RoomID);
    }
    auto row =
        firstRowOfCall(session, u"STATION..Nurse_GetHMORateByClass", {department, item, rateClass});
    return row ? row->money(u"HMORate") : Money();
}

Money GetDoctorsRate(Session &session, const QString &doctor, const QString &rateClass)
{
    auto row = firstRowOfCall(session, u"STATION..sp_Nurse_Get_Doctors_Rate", {doctor, rateClass});
    return row ? row->money(u"Amount") : Money();
}

Money GetProcedureRUV(Session &session, const QString &IdNum, const QString &item)
{
    auto row = firstRowOfCall(session, u"STATION..sp_Nurse_Get_Procedure_RUV", {IdNum, item});
    return row ? row->money(u"Rate") : Money();
}

bool IsExamFixedRate(Session &session, const QString &exam, const QString &department)
{
    // The hospital's function answers "Y" for an exam priced alike at every letter; the
    // masters keep that as a flag.
    const std::optional<ExamTable> t = examTable(department);
    if (!t)
        return false;
    auto row = firstRow(session,
                        QStringLiteral("select case when IsFixedRate = 1 then 'Y' else 'N' end "
                                       "as isFixRate from %1 where %2 = :exam")
                            .arg(t->table, t->key),
                        {{QStringLiteral("exam"), exam.trimmed()}});
    return row && row->text(u"isFixRate") == u"Y";
}

Money GetPackageRate(Session &session, const QString &package, const QString &letter)
{
    const QString l = letter.trimmed().toUpper();
    if (l.size() != 1 || l.at(0) < u'A' || l.at(0) > u'E')
        return Money();
    auto row = firstRow(session,
                        u"select RateA, RateB, RateC, RateD, RateE from INVENTORY..tbInvPackage "
                        u"where PackageID = :package",
                        {{QStringLiteral("package"), package.trimmed()}});
    return row ? row->money(QString(u"Rate" + l)) : Money();
}

int GetMaxQty(Session &session, const QString &exam, const QString &department)
{
    const std::optional<ExamTable> t = examTable(department);
    if (!t)
        return 1;
    auto row = firstRow(session,
                        QStringLiteral("select case when coalesce(IsProcedure, 0) = 1 and "
                                       "coalesce(OpenQuantity, 0) = 1 then coalesce(MaxQty, 1) "
                                       "else 1 end as MaxQty from %1 where %2 = :exam")
                            .arg(t->table, t->key),
                        {{QStringLiteral("exam"), exam.trimmed()}});
    return row ? int(row->integer(u"MaxQty")) : 1;
}

std::optional<bool> StatHoursCover(const QString &ORAfterTime, int statHours, int hour)
{
    if (statHours > 24 || statHours < 1)
        return std::nullopt;
    if (statHours == 24)
        return true;
    // The hour is the number the first two characters begin with ("7:30" reads as 7); the
    // minutes are not used.
    int start = 0;
    for (const QChar c : ORAfterTime.left(2)) {
        if (!c.isDigit())
            break;
        start = start * 10 + c.digitValue();
    }
    const int end = start + statHours;
    if (end < 25)
        return start <= hour && hour < end;
    return (start <= hour && hour <= 23) || hour < end - 24;
}

bool IsWithinStatHours(Session &session)
{
    const std::optional<bool> covered =
        StatHoursCover(session.hospital.ORAfterTime, session.hospital.AfterTimeStatHours,
                       modGlobals::LoadServerDate(session).time().hour());
    if (!covered) {
        session.notifier().message(QStringLiteral("STAT time frame is not properly configured. "
                                                  "Please notify the EDP department."),
                                   QStringLiteral("Notification"), Notifier::Icon::Information);
        return false;
    }
    return *covered;
}

bool IsHolidayToday(Session &session)
{
    return modGlobals::LoadHolidayGreeting(session).IsHolidayToday;
}

bool HasSecondOperation(Session &session, const QString &IdNum)
{
    return firstRow(session,
                    u"select 1 from STATION..tbNurseLogBook where IDNum = :id "
                    u"and coalesce(isSecORProc, '') <> '' and RecordStatus <> 'R' limit 1",
                    {{QStringLiteral("id"), IdNum.trimmed()}})
        .has_value();
}

std::optional<Money> GetCompanyPrice(Session &session, const QString &item, const QString &account)
{
    auto row = firstRowOfCall(session, u"INVENTORY..sp_Get_CompanyPrice", {item, account});
    if (!row)
        return std::nullopt;
    return row->money(u"CompanyPrice");
}

QString GetStayAccount(Session &session, const QString &IdNum, bool outpatient)
{
    auto row = firstRow(session,
                        outpatient ? u"select coalesce(AccountNum, '') as AccountNum "
                                     u"from PATIENT_DATA..tbOutPatient where IDNum = :id"
                                   : u"select coalesce(AccountNum, '') as AccountNum "
                                     u"from PATIENT_DATA..tbPatient where IDNum = :id",
                        {{QStringLiteral("id"), IdNum.trimmed()}});
    return row ? row->trimmed(u"AccountNum") : QString();
}

QString GetAdmissionTypeID(Session &session, const QString &IdNum)
{
    auto row =
        firstRow(session, u"select AdmissionTypeID from PATIENT_DATA..tbPatient2 where IDNum = :id",
                 {{QStringLiteral("id"), IdNum.trimmed()}});
    return row ? row->trimmed(u"AdmissionTypeID") : QString();
}

double GetCostMarkup(Session &session)
{
    auto row = firstRow(session, u"select Markup from STATION..tbCoMarkUp", {});
    return row ? row->number(u"Markup") : 0;
}

} // namespace kestrel::modPricing
