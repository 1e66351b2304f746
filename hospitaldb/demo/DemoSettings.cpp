// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoSettings.h"

#include "hospitaldb/DemoHospital.h"
#include "hospitaldb/demo/DemoBuilder.h"

// The hospital's settings, and its employees with their rights and passwords.

namespace kestrel::hospitaldb {

namespace demo {

namespace {

const QString kCompany = QStringLiteral("BAGONG TALA MEDICAL CENTER");
const QString kAddress =
    QStringLiteral("88 GEN. LUNA AVENUE, BRGY. MALIWANAG, SAN BARTOLOME CITY, LAGUNA 4035");

struct Employee
{
    QStringView code, lastName, firstName, middleName, initial, designation, deptCode;
    QStringView rights; ///< "" gives the employee no rights row at all
    QStringView passwordHash;
};

// Every right the program checks, with the text the rights editor shows for it.
struct AccessRight
{
    QStringView code, description;
};

constexpr std::array kAccessRights{
    AccessRight{u"1", u"REQUEST EXAMS, MEDICINES AND SUPPLIES"},
    AccessRight{u"2", u"REVOKE REQUESTS"},
    AccessRight{u"3", u"POST CHARGES"},
    AccessRight{u"4", u"DISCHARGE PATIENT"},
    AccessRight{u"5", u"ROOM TRANSFER"},
    AccessRight{u"6", u"SEND CLEARANCE / DISCHARGE ORDER"},
    AccessRight{u"9", u"ASSESSMENT ENTRY"},
    AccessRight{u"10", u"VIEW RESULTS"},
    AccessRight{u"11", u"UPDATE PATIENT PROFILE"},
    AccessRight{u"13", u"RECEIVABLE ENTRY"},
    AccessRight{u"18", u"DETAILED INCOME REPORT"},
    AccessRight{u"19", u"VIEW STATEMENT OF ACCOUNT"},
    AccessRight{u"20", u"CHARGE SLIP SETTING"},
    AccessRight{u"21", u"SUMMARY INCOME REPORT"},
    AccessRight{u"22", u"REVOKE CHARGES AND ASSESSMENTS"},
    AccessRight{u"25", u"CLINICAL OPERATION"},
    AccessRight{u"29", u"SUPERVISOR RIGHTS"},
    AccessRight{u"36", u"SAVE CLINICAL OPERATION"},
    AccessRight{u"37", u"RESET CLINICAL OPERATION"},
    AccessRight{u"38", u"REVOKE PACKAGES"},
};

// The supervisor's rights are written from kAccessRights, so a right added there reaches him.
constexpr QStringView kAllRights = u"*";

// Argon2id hashes (libsodium's interactive limits) of the demo passwords of demoLogins(),
// made once; hashing them anew would cost a tenth of a second each on every test database.
constexpr std::array kEmployees{
    Employee{u"2901", u"VILLANUEVA", u"TERESITA", u"MAGBANUA", u"TMV", u"OR SUPERVISOR", u"29",
             kAllRights,
             u"$argon2id$v=19$m=65536,t=2,p=1$KnDQRESYTHO71d7SLZnZ9Q$"
             u"JhCdBpO7Ndh42LT6svXOX2KtYTyToIDeQKicrbk2l+8"},
    Employee{u"2902", u"SALAZAR", u"JOHN PAUL", u"DELA CRUZ", u"JDS", u"OR NURSE (SCRUB)", u"29",
             u"|1|2|3|6|10|11|25|36",
             u"$argon2id$v=19$m=65536,t=2,p=1$RfQOb0QMbEQICe4hklxY+A$"
             u"r4yu7zdeOn6gX3hgLn9RZQ4luuShyXhE/QpFcy55ahE"},
    Employee{u"2903", u"MACARAEG", u"KRISTINE JOY", u"LIM", u"KLM", u"OR NURSE (CIRCULATING)",
             u"29", u"|1|2|3|4|5|6|9|10|11|19|22|25|36",
             u"$argon2id$v=19$m=65536,t=2,p=1$kQb3d6RYM9i07QavIy6I1A$"
             u"yuwDXgs3Q5UDzrxg1d10YZrluyI7sTJ5Q0cOwDHdnGI"},
    Employee{u"2904", u"PANGILINAN", u"RODEL", u"ABAD", u"RAP", u"OR TECHNICIAN", u"29",
             u"|3|10|25",
             u"$argon2id$v=19$m=65536,t=2,p=1$OOoQDS4pcceBY7Q5KVmj+Q$"
             u"HjRTCiidgj4bPOvrlJ4BizKscnqL5T2FCgsbjrBu0XE"},
    Employee{u"2905", u"ESGUERRA", u"MARICEL", u"TAN", u"MTE", u"OR CLERK", u"29",
             u"|3|9|13|18|19|20|21",
             u"$argon2id$v=19$m=65536,t=2,p=1$XK+HYgx4paQiYm3VHhSJQw$"
             u"XLPYwmu07/9f1vhm1PCVu8MOfVBnt9wFsHw73xL3oMY"},
    Employee{u"2906", u"DIMAANO", u"ARNEL", u"CRUZ", u"ACD", u"OR NURSE (ANESTHESIA)", u"29",
             u"|1|3|10|11|25|36",
             u"$argon2id$v=19$m=65536,t=2,p=1$g6tikuhz7G+HVKNKLB3tQg$"
             u"SoR6OjJ7RvDnY/fozpGMwNDePscv2X1CjSz9dCNxqY0"},
    Employee{u"2907", u"ONG", u"LIEZL", u"SORIANO", u"LSO", u"OR NURSE (RECOVERY ROOM)", u"29",
             u"|1|2|3|4|5|6|10|11|19|25",
             u"$argon2id$v=19$m=65536,t=2,p=1$cmh/DrOQKlPz8xOchoanjA$"
             u"F6B0k27LcaCCIyultzV5OwUhaYPzCx1ezrxc9eR27sw"},
    Employee{u"2908", u"TOLENTINO", u"MARK ANTHONY", u"RIVERA", u"MRT", u"OR NURSING ATTENDANT",
             u"29", u"",
             u"$argon2id$v=19$m=65536,t=2,p=1$o93r3QQ88Lqll/JP9ag3RA$"
             u"z9pFjsY4AcuwbGRNGWIl3a4kcpIs+jl6st3QDb4kw1c"},
    Employee{u"2909", u"PEÑAFLORIDA", u"ANA MARIE", u"GO", u"AGP", u"OR NURSE (NIGHT SHIFT)", u"29",
             u"|1|2|3|6|10|11|25|36|37",
             u"$argon2id$v=19$m=65536,t=2,p=1$coB2g9pkpkT6FsK9GRFpzw$"
             u"OT3k2b4aqJ93Ud7GLB88Hh/mNmHK0UhAuxwB4R4CFkI"},
    Employee{u"1401", u"DELOS SANTOS", u"ROWENA", u"CASTRO", u"RCD", u"STAFF NURSE, 4TH FLOOR",
             u"14", u"|1|3|10",
             u"$argon2id$v=19$m=65536,t=2,p=1$1U6a2wUq6h/qz9I+wMU+kw$"
             u"8HqLnOiXjqaHzNoWWvdJH8s77VcNOLSCZFVzXVwnUHI"},
};

QString employeeRights(const Employee &e)
{
    if (e.rights != kAllRights)
        return e.rights.toString();
    QString all;
    for (const AccessRight &r : kAccessRights)
        all += u'|' + r.code.toString();
    return all;
}

// The hospital's own row: its name and address, and the choices of a hospital that prints
// its charge slips, shows amounts and asks a reason and a supervisor to cancel a charge.
TableRows hospitalInfo(const QString &company, const QString &address, const QString &server)
{
    TableRows info{QStringLiteral("PATIENT_DATA..tbHospitalInfo"),
                   {QStringLiteral("Company"),
                    QStringLiteral("Address1"),
                    QStringLiteral("MTSServerName"),
                    QStringLiteral("clientname"),
                    QStringLiteral("Bygeneric"),
                    QStringLiteral("IsNursePrint"),
                    QStringLiteral("IsLBDirectCharging"),
                    QStringLiteral("IsXRDirectCharging"),
                    QStringLiteral("IsShowAmount"),
                    QStringLiteral("IsPrintChargeSlip"),
                    QStringLiteral("IsAllowZeroAmountForORProcedures"),
                    QStringLiteral("IsAllowSupervisorCodeForCancellationOfCharges"),
                    QStringLiteral("IsAllowEntryOfReasonForCancellation"),
                    QStringLiteral("PSIOxygenComputationType"),
                    QStringLiteral("isstat"),
                    QStringLiteral("CashStatRate"),
                    QStringLiteral("AllowZeroOnHand"),
                    QStringLiteral("isORTechPrint"),
                    QStringLiteral("IsAllowEditAmount"),
                    QStringLiteral("IsShowMarkUp"),
                    QStringLiteral("OREditSchedProcedure"),
                    QStringLiteral("OR_AllowEditScheduleDateTime"),
                    QStringLiteral("VSAllowINC")},
                   {}};
    // clientname stays empty: no particular client, so no client-specific menus.
    info.add({company, address, server, QString(), 0, 1, 1, 1, 1, 1, 0, 1, 1, 1, 1, 30.0, 0, 1,
              0, 0, 1, 1, 1});
    return info;
}

TableRows nursingSettings()
{
    TableRows station{
        QStringLiteral("STATION..tbNursing_Settings"),
        {QStringLiteral("ORNoPreprinted"), QStringLiteral("AllowAfterTimeRate"),
         QStringLiteral("ORAfterTime"), QStringLiteral("AutoORMarkUp"),
         QStringLiteral("AfterTimeStatHours"), QStringLiteral("SecProcPercentDiscount"),
         QStringLiteral("ShowPrecautions"), QStringLiteral("ORCategoryAuto"),
         QStringLiteral("NoRequestingAfterFinalNotice"), QStringLiteral("PrintPHCSRequest"),
         QStringLiteral("AppendDrugDescCharge"), QStringLiteral("AssessmentMaxItems"),
         QStringLiteral("AllowEditDeleteVitalSigns"), QStringLiteral("OREditSchedProcedure"),
         QStringLiteral("OR_AllowEditScheduleDateTime"), QStringLiteral("ORAfterTimeRate")},
        {}};
    // After-time runs from 5 PM for fourteen hours, to 7 AM.
    station.add({0, 1, QStringLiteral("17:00"), 1, 14, 50, 1, 1, 1, 1, 1, 15, 1, 1, 1, 30});
    return station;
}

TableRows rightsCatalogue()
{
    TableRows catalogue{
        QStringLiteral("STATION..tbNurseUserSettings"),
        {QStringLiteral("ItemID"), QStringLiteral("Description"), QStringLiteral("Status")},
        {}};
    for (const AccessRight &r : kAccessRights)
        catalogue.add({r.code.toString(), r.description.toString(), QStringLiteral("A")});
    return catalogue;
}

} // namespace

QString staffCode(std::size_t n)
{
    return kEmployees.at(n).code.toString();
}

void DemoBuilder::addSettings()
{
    m_tables.push_back(hospitalInfo(kCompany, kAddress, QStringLiteral("HIS-SERVER")));
    m_tables.push_back(nursingSettings());

    TableRows &setup =
        table(QStringLiteral("STATION..tbNurseSetup"),
              {QStringLiteral("Field"), QStringLiteral("value"), QStringLiteral("Description")});
    static constexpr QStringView switches[][3] = {
        {u"EnableCVORTag", u"1", u"Tag patients as CVOR/RR cases from the patient list"},
        {u"OREnableNewPrecaution", u"1", u"Colour the patient list by precaution"},
        {u"ORNotifyRevokedRequests", u"1", u"Alert the OR of requests revoked by the wards"},
        {u"CheckCredLim", u"1", u"Check the patient's credit line before posting charges"},
        {u"ORShowCF4", u"1", u"Show the PhilHealth CF4 entry"},
        {u"ORPrintCF4", u"1", u"Allow printing of the CF4"},
        {u"ShowEquipmentChargesReport", u"1", u"Show the equipment charges report"},
        {u"ORShowStocksMonitoring", u"1", u"Show the stock monitoring list"},
        {u"EnableORHMORate", u"1", u"HMO patients are charged at rate H"},
        {u"ORRateIforER", u"1", u"ER patients are charged at rate I"},
        {u"ORAllowEndoScheduling", u"1", u"Endoscopies may be booked on the board"},
        {u"ORRoomForEndo", u"ENDOSCOPY", u"Room that takes endoscopies"},
        {u"ORClinicalAssessmentRate", u"A", u"Rate letter of clinical assessments"},
        {u"ORInstrumentRevID", u"OR1105", u"Item code of the instrument handling fee"},
        {u"ORInstrumentHandlingFeeRate", u"500", u"Instrument handling fee per set"},
        {u"SystolicMax", u"250", u"Highest systolic pressure accepted in vital signs"},
        {u"DiastolicMin", u"40", u"Lowest diastolic pressure accepted in vital signs"},
        {u"ORShowOperationDone", u"1", u"Show the operation done on the OR record"},
        {u"ORShowSpecimen", u"1", u"Show the specimen on the OR record"},
        {u"ORRequireOperativeDiagnosis", u"1", u"Require the operative diagnosis"},
        {u"ExpandPostChargeList", u"1", u"Show posted charges expanded"},
        {u"EnableSpellChecker", u"1", u"Spell check the discharge instructions"},
        {u"AllowPrintHCPDraft", u"1", u"Print the home care plan before it is saved"},
        {u"AllowPrintHCPDraftER", u"1", u"Print the ER home care plan before it is saved"},
        {u"CVORMainRevID", u"OR", u"Revenue code of CVOR procedures"},
        {u"ORUnderMaintenance", u"0",
         u"The Operating Room module is under maintenance. Please try again later."},
    };
    for (const auto &s : switches)
        setup.add({s[0].toString(), s[1].toString(), s[2].toString()});
}

void DemoBuilder::addEmployees()
{
    TableRows &staff = table(
        QStringLiteral("Password..tbPasswordMaster"),
        {QStringLiteral("EmployeeID"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
         QStringLiteral("MiddleName"), QStringLiteral("Initial"), QStringLiteral("PasswordHash"),
         QStringLiteral("DeptCode"), QStringLiteral("Designation"), QStringLiteral("StationID"),
         QStringLiteral("Status"), QStringLiteral("DateCreated")});
    TableRows &rights = table(QStringLiteral("STATION..tbNurseUserRights"),
                              {QStringLiteral("EmployeeID"), QStringLiteral("EmployeeRights"),
                               QStringLiteral("UserID"), QStringLiteral("TransDate")});
    const QDateTime hired = at(900, 8 * 60);
    for (const Employee &e : kEmployees) {
        const bool or_ = e.deptCode == u"29";
        staff.add({e.code.toString(), e.lastName.toString(), e.firstName.toString(),
                   e.middleName.toString(), e.initial.toString(), e.passwordHash.toString(),
                   e.deptCode.toString(), e.designation.toString(),
                   or_ ? QStringLiteral("OR") : QStringLiteral("4N"), QStringLiteral("A"), hired});
        if (!e.rights.isEmpty())
            rights.add({e.code.toString(), employeeRights(e), kEmployees[0].code.toString(),
                        hired.addDays(1)});
    }

    m_tables.push_back(rightsCatalogue());
}

} // namespace demo

Result<void> writeHospitalSettings(Database &db, const HospitalIdentity &identity,
                                   const QString &station)
{
    demo::TableRows counters{QStringLiteral("STATION..tbORChargeSlip"),
                             {QStringLiteral("StationID"), QStringLiteral("ChargeSlip"),
                              QStringLiteral("IChargeSlip"), QStringLiteral("OChargeSlip"),
                              QStringLiteral("AssessNum")},
                             {}};
    counters.add({station, 1, 1, 1, 1});
    for (const demo::TableRows &t :
         {demo::hospitalInfo(identity.name, identity.address, QString()), demo::nursingSettings(),
          counters, demo::rightsCatalogue()}) {
        QStringList marks;
        for (const QString &c : t.columns)
            marks << u':' + c;
        const QString sql = u"insert into " + t.table + u" (" + t.columns.join(u", ") +
                            u") values (" + marks.join(u", ") + u')';
        QList<Binds> rows;
        for (const QVariantList &values : t.rows) {
            Binds b;
            for (qsizetype i = 0; i < t.columns.size(); ++i) {
                // A null QString would be bound as NULL; these columns take "".
                const QVariant &v = values.at(i);
                const bool nullText = v.typeId() == QMetaType::QString && v.toString().isNull();
                b.insert(t.columns.at(i), nullText ? QVariant(QLatin1String("")) : v);
            }
            rows << b;
        }
        if (auto ok = db.execMany(sql, rows); !ok)
            return tl::unexpected(ok.error());
    }
    return {};
}

QList<DemoLogin> demoLogins()
{
    // Demo passwords, printed for the README and the guided tour. The database keeps only
    // their hashes (kEmployees above).
    const std::array<std::pair<QStringView, QStringView>, 10> passwords{{{u"2901", u"orsupervisor"},
                                                                         {u"2902", u"scrubnurse"},
                                                                         {u"2903", u"circnurse"},
                                                                         {u"2904", u"ortech"},
                                                                         {u"2905", u"orclerk"},
                                                                         {u"2906", u"anesnurse"},
                                                                         {u"2907", u"recovery"},
                                                                         {u"2908", u"trainee"},
                                                                         {u"2909", u"nightshift"},
                                                                         {u"1401", u"wardnurse"}}};
    QList<DemoLogin> logins;
    for (const demo::Employee &e : demo::kEmployees) {
        QString password;
        for (const auto &[code, pw] : passwords) {
            if (code == e.code)
                password = pw.toString();
        }
        logins.append({e.code.toString(), password,
                       e.lastName.toString() + QStringLiteral(", ") + e.firstName.toString() +
                           u' ' + e.middleName.toString(),
                       e.designation.toString()});
    }
    return logins;
}

QString demoScrambleKey()
{
    return QStringLiteral("KESTRELORDEMO");
}

} // namespace kestrel::hospitaldb
