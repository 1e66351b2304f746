// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
//
// Accounts for the receivable window: patients discharged and billed, two of them with late
// charges the OR posted after billing closed the account, one billed with none yet, one
// discharged that billing has not closed, and one the receivables section has invoiced.
#include "hospitaldb/demo/DemoBuilder.h"

namespace kestrel::hospitaldb::demo {

void DemoBuilder::addReceivableAccounts()
{
    Numbering numbers = numbering();
    struct Account
    {
        QStringView lastName, firstName, middleName;
        QChar sex;
        int age;
        bool visit;
        int dischargedDaysAgo;
        int billedDaysAgo; ///< -1: not billed
        bool invoiced;
        QStringView diagnosis;
    };
    static constexpr Account accounts[] = {
        {u"RECTO", u"CLARO", u"MAYO", u'M', 52, false, 4, 3, false, u"CHOLELITHIASIS"},
        {u"RECTO", u"AMPARO", u"LUNA", u'F', 47, false, 9, 8, false, u"UTERINE MYOMA"},
        {u"RECTO", u"DIOSDADO", u"SANTIAGO", u'M', 33, true, 2, 1, false, u"LACERATED WOUND, HAND"},
        {u"AGONCILLO", u"TERESITA", u"VALDEZ", u'F', 61, false, 1, -1, false, u"CATARACT, LEFT"},
        {u"ROCES", u"ALEJANDRO", u"BAUTISTA", u'M', 58, false, 20, 19, true, u"INGUINAL HERNIA"},
    };
    TableRows &master = table(
        QStringLiteral("PATIENT_DATA..tbMaster"),
        {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
         QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
         QStringLiteral("CivilStatus"), QStringLiteral("Town"), QStringLiteral("Province"),
         QStringLiteral("DateCreated")});
    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("InvoiceDate"),
         QStringLiteral("AccountNum"), QStringLiteral("RoomID"), QStringLiteral("StationID"),
         QStringLiteral("AdmittingDr"), QStringLiteral("AttendingDr1"),
         QStringLiteral("LateCharges"), QStringLiteral("UserID")});
    TableRows &extension =
        table(QStringLiteral("PATIENT_DATA..tbPatient2"),
              {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("PatientClass"),
               QStringLiteral("AdmissionTypeID")});
    TableRows &visits = table(
        QStringLiteral("PATIENT_DATA..tbOutPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("InvoiceDate"),
         QStringLiteral("AccountNum"), QStringLiteral("DoctorID1"), QStringLiteral("DoctorID2"),
         QStringLiteral("UserID")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("ADMDiagnosis")});
    TableRows &logbook = table(
        QStringLiteral("STATION..tbNurseLogBook"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("ReferenceNum"),
         QStringLiteral("RevenueID"), QStringLiteral("ItemID"), QStringLiteral("Description"),
         QStringLiteral("Quantity"), QStringLiteral("Amount"), QStringLiteral("TransDate"),
         QStringLiteral("UserID"), QStringLiteral("StationID"), QStringLiteral("PatientClass"),
         QStringLiteral("RoomID"), QStringLiteral("ChargeDepartment"),
         QStringLiteral("RequestingDoctorID"), QStringLiteral("RecordStatus")});

    const QString surgeon = doctorsIn(u"GENERAL SURGERY").value(0);
    const QString nurse = staffCode(3);
    // The rooms these patients left are taken by others now: a discharged stay keeps its last
    // room only as a record.
    const QStringList rooms{QStringLiteral("401"), QStringLiteral("402"), QString(),
                            QStringLiteral("403"), QStringLiteral("404")};
    int slip = 0;
    for (int i = 0; i < int(std::size(accounts)); ++i) {
        const Account &a = accounts[i];
        Patient p;
        p.hospNum = padded(++numbers.hospNum, 8);
        p.lastName = a.lastName.toString();
        p.firstName = a.firstName.toString();
        p.middleName = a.middleName.toString();
        p.sex = a.sex;
        p.age = a.age;
        p.birthDate = QDate(m_today.year() - a.age, 2 + i, 5 + i);
        p.created = at(a.dischargedDaysAgo + 5, 8 * 60 + i * 11);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex),
                    p.birthDate, QStringLiteral("MARRIED"), QStringLiteral("SAN BARTOLOME CITY"),
                    QStringLiteral("LAGUNA"), p.created});

        const QDateTime admitted = p.created.addSecs(45 * 60);
        const QDateTime discharged = at(a.dischargedDaysAgo, 10 * 60 + i * 7);
        const QDateTime billed =
            a.billedDaysAgo < 0 ? QDateTime() : at(a.billedDaysAgo, 15 * 60 + i * 9);
        const QDateTime invoiced = a.invoiced ? billed.addDays(5) : QDateTime();
        const QString idNum = a.visit ? padded(++numbers.outpatientNo, 7) + u'B'
                                      : padded(++numbers.inpatientNo, 7);
        // The second account was marked by billing for late charges still to come.
        const int lateMark = i == 1 ? 1 : 0;
        if (a.visit) {
            visits.add({idNum, p.hospNum, admitted, when(discharged), when(billed),
                        when(invoiced), p.hospNum, surgeon, surgeon, QStringLiteral("OPD01")});
        } else {
            inpatients.add({idNum, p.hospNum, admitted, when(discharged), when(billed),
                            when(invoiced), p.hospNum, rooms.at(i), QStringLiteral("4N"), surgeon,
                            surgeon, lateMark, QStringLiteral("ADM01")});
            extension.add({idNum, 1, QStringLiteral("P"), QStringLiteral("1")});
            history.add({idNum, a.diagnosis.toString()});
        }
        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = a.visit ? StayKind::Outpatient : StayKind::Inpatient;
        s.admitted = admitted;
        s.discharged = discharged;
        s.billed = billed;
        s.idNum = idNum;
        s.account = p.hospNum;
        s.room = rooms.at(i);
        s.doctor = surgeon;
        s.diagnosis = a.diagnosis.toString();
        m_stays.append(s);

        // The late charges: the first and the third account had a dressing and a suture
        // charged the day after billing closed them.
        if (i != 0 && i != 2)
            continue;
        const QDateTime late = billed.addSecs(20 * 3600);
        const QString reference = QStringLiteral("LC") + padded(++slip, 6);
        const QString patientClass = a.visit ? QStringLiteral("O") : QStringLiteral("I");
        logbook.add({idNum, p.hospNum, reference, QStringLiteral("OS"), QStringLiteral("OS2032"),
                     QStringLiteral("TRANSPARENT FILM DRESSING"), 2, pesos(320), late, nurse,
                     QStringLiteral("OR"), patientClass, rooms.at(i), QStringLiteral("OR"),
                     surgeon, QString()});
        logbook.add({idNum, p.hospNum, reference, QStringLiteral("OS"), QStringLiteral("OS2005"),
                     QStringLiteral("SUTURE, SILK 3-0"), 1, pesos(180), late, nurse,
                     QStringLiteral("OR"), patientClass, rooms.at(i), QStringLiteral("OR"),
                     QString(), QString()});
    }
}

} // namespace kestrel::hospitaldb::demo
