// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#pragma once

// Patients and stays of the patient-list tests, beside the demo hospital's, so every row the
// list shows for them is known here. The test hospital's clock stands at 2026-12-01 10:00.
//
// BATUMBAKAL, JUAN MARASIGAN (K0000001): K0100001 in the hospital since 11/28, on his own
// account, precaution 3, tagged CVOR, cash basis; K0100002 discharged and billed, on the
// company account K900; K0100003 cancelled; the outpatient visit K0300001B late on 11/30 and
// the ER visit K0300002B at midnight of 12/01.
// BATUMBAKAL, MARIA LOURDES (K0000002): K0100004 in the hospital on the company account.
// BATUNGBAKAL, PEDRO (K0000003): K0100005 in the hospital, with a precaution the hospital does
// not colour. SAN_JUAN (K0100006) and SAN%PEDRO (K0100007): names that hold the characters a
// LIKE pattern reads as wildcards; D'ANGELO (K0100008) one with an apostrophe. All three are in
// the hospital.

#include "core/db/Database.h"

#include <QDateTime>
#include <QtGlobal>

namespace kestrel::test {

inline QDateTime on(int month, int day, int hour, int minute)
{
    return QDateTime(QDate(2026, month, day), QTime(hour, minute));
}

inline bool addListPatients(Database &db)
{
    const QList<std::pair<QStringView, Binds>> rows{
        {u"insert into BUILD_FILE..tbCoRoom (RoomID, Description, RoomClassID, RoomRate, "
         u"StationID) values ('K-501', 'PRIVATE 501', 'B', :rate, '5N')",
         {{QStringLiteral("rate"), QStringLiteral("3500.5000")}}},
        {u"insert into BUILD_FILE..tbCoCompany (AccountNum, Company, CompanyType) "
         u"values ('K900', 'MAKILING MUTUAL BENEFIT ASSOCIATION', 'C')",
         {}},
        {u"insert into BUILD_FILE..tbCoDoctor (DoctorID, LastName, FirstName, MiddleName) "
         u"values ('K001', 'DELA PAZ', 'JOSE', 'RIZAL'), ('K002', 'ILAGAN', 'ROSARIO', 'M')",
         {}},
        {u"insert into PATIENT_DATA..tbMaster (HospNum, LastName, FirstName, MiddleName, Sex, "
         u"HouseStreet, Barangay, Town, Province) values "
         u"('K0000001', 'BATUMBAKAL', 'JUAN', 'MARASIGAN', 'M', '12 MABINI ST.', 'SAN ISIDRO', "
         u"'SAN BARTOLOME', 'LAGUNA'), "
         u"('K0000002', 'BATUMBAKAL', 'MARIA LOURDES', '', 'F', '', '', 'CALAMBA', 'LAGUNA'), "
         u"('K0000003', 'BATUNGBAKAL', 'PEDRO', 'SY', 'M', '', '', '', ''), "
         u"('K0000004', 'SAN_JUAN', 'ELENA', '', 'F', '', '', '', ''), "
         u"('K0000005', 'SAN%PEDRO', 'RAMON', '', 'M', '', '', '', ''), "
         u"('K0000006', 'D''ANGELO', 'CARMELA', 'BUNDALIAN', 'F', '', '', '', '')",
         {}},
        {u"insert into PATIENT_DATA..tbPatient (IDNum, HospNum, AdmDate, DcrDate, BillingDate, "
         u"AccountNum, RoomID, StationID, PrecautionID, isCVOR, AttendingDr1, RecordStatus) "
         u"values ('K0100001', 'K0000001', :a1, null, null, '', 'K-501', '5N', '3', 1, 'K001', "
         u"''), ('K0100002', 'K0000001', :a2, :d2, :b2, 'K900', 'K-501', '5N', null, 0, 'K001', "
         u"''), ('K0100003', 'K0000001', :a3, null, null, '', 'K-501', '5N', null, 0, '', 'R'), "
         u"('K0100004', 'K0000002', :a4, null, null, 'K900', 'K-501', '5N', '', 0, 'K002', ''), "
         u"('K0100005', 'K0000003', :a4, null, null, '', 'K-501', '5N', '9', 0, '', ''), "
         u"('K0100006', 'K0000004', :a4, null, null, '', 'K-501', '5N', null, 0, '', ''), "
         u"('K0100007', 'K0000005', :a4, null, null, '', 'K-501', '5N', null, 0, '', ''), "
         u"('K0100008', 'K0000006', :a4, null, null, '', 'K-501', '5N', null, 0, '', '')",
         {{QStringLiteral("a1"), on(11, 28, 8, 30)},
          {QStringLiteral("a2"), on(10, 1, 9, 15)},
          {QStringLiteral("d2"), on(10, 5, 14, 0)},
          {QStringLiteral("b2"), on(10, 5, 11, 30)},
          {QStringLiteral("a3"), on(11, 29, 7, 0)},
          {QStringLiteral("a4"), on(11, 30, 16, 45)}}},
        {u"insert into PATIENT_DATA..tbPatient2 (IDNum, isCashBasis, CashBasisReason) values "
         u"('K0100001', 1, 'PROMISSORY NOTE ON FILE'), ('K0100002', 1, 'NO DEPOSIT')",
         {}},
        {u"insert into PATIENT_DATA..tbOutPatient (IDNum, HospNum, AdmDate, DcrDate, ERNum, "
         u"AccountNum, DoctorID1, DoctorID2, isCVOR) values "
         u"('K0300001B', 'K0000001', :o1, null, null, '', 'K001', 'K002', 1), "
         u"('K0300002B', 'K0000001', :o2, null, 'ER-K1', 'K900', '', 'K001', 0)",
         {{QStringLiteral("o1"), on(11, 30, 23, 30)}, {QStringLiteral("o2"), on(12, 1, 0, 0)}}},
    };
    for (const auto &[sql, binds] : rows) {
        if (auto ok = db.exec(sql, binds); !ok) {
            qWarning("%s", qPrintable(ok.error().message));
            return false;
        }
    }
    return true;
}

} // namespace kestrel::test
