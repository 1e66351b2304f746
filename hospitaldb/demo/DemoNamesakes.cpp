// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

// Patients the patient list is shown with.

namespace kestrel::hospitaldb::demo {

// Five patients who share the surname MAGBANUA, as whole clans of a town do: the patient list
// found by that name shows every way a row is drawn. ADELINA is an ordinary inpatient;
// ERNESTO is in for his heart operation (tagged CVOR) as a cash-basis patient and was here
// last year, discharged and billed; KRISTINE JOY is a child on droplet precaution; LEONORA's
// final bill was done this morning; ROMULO came to the clinic today as a cash-basis patient and
// JAYSON to the ER. Their numbers follow the hospital's last ones, and inpatients get rooms
// nobody is in. Draws nothing from the random stream.
void DemoBuilder::addPatientListNamesakes()
{
    Numbering numbers = numbering();
    qint64 &hospNum = numbers.hospNum;
    qint64 &inpatientNo = numbers.inpatientNo;
    qint64 &outpatientNo = numbers.outpatientNo;
    qint64 &erNo = numbers.erNo;
    QSet<QString> &occupied = numbers.occupied;

    struct Namesake
    {
        QStringView firstName, middleName;
        QChar sex;
        int age;
        StayKind kind;
        int admittedDaysAgo, admittedMinute;
        QStringView precaution;
        bool cvor, billedToday, cashBasis;
        QStringView cashReason, diagnosis, specialization;
    };
    static constexpr Namesake namesakes[] = {
        {u"ADELINA", u"SORIANO", u'F', 67, StayKind::Inpatient, 3, 14 * 60 + 20, u"1", false, false,
         false, u"", u"CATARACT, LEFT EYE, MATURE", u"GENERAL SURGERY"},
        {u"ERNESTO", u"DIZON", u'M', 58, StayKind::Inpatient, 2, 9 * 60 + 5, u"", true, false, true,
         u"HMO LETTER OF AUTHORITY EXPIRED", u"CORONARY ARTERY DISEASE, THREE-VESSEL, FOR BYPASS",
         u"THORACIC AND CARDIOVASCULAR SURGERY"},
        {u"KRISTINE JOY", u"VILLANUEVA", u'F', 8, StayKind::Inpatient, 1, 21 * 60 + 40, u"3", false,
         false, false, u"", u"ACUTE APPENDICITIS", u"PEDIATRIC SURGERY"},
        {u"LEONORA", u"CRUZ", u'F', 49, StayKind::Inpatient, 5, 11 * 60, u"2", false, true, false,
         u"", u"SYMPTOMATIC UTERINE MYOMA", u"OBSTETRICS AND GYNECOLOGY"},
        {u"ROMULO", u"PASCUAL", u'M', 40, StayKind::Outpatient, 0, 8 * 60 + 15, u"", false, false,
         true, u"NO PHILHEALTH, NO DEPOSIT", u"FOR EXCISION OF LIPOMA, BACK", u"GENERAL SURGERY"},
        {u"JAYSON", u"TOLENTINO", u'M', 22, StayKind::Emergency, 0, 2 * 60 + 50, u"", false, false,
         false, u"", u"LACERATED WOUND, LEFT HAND", u"GENERAL SURGERY"},
    };

    TableRows &master =
        table(QStringLiteral("PATIENT_DATA..tbMaster"),
              {QStringLiteral("HospNum"), QStringLiteral("LastName"), QStringLiteral("FirstName"),
               QStringLiteral("MiddleName"), QStringLiteral("Sex"), QStringLiteral("BirthDate"),
               QStringLiteral("CivilStatus"), QStringLiteral("HouseStreet"),
               QStringLiteral("Barangay"), QStringLiteral("Town"), QStringLiteral("Province"),
               QStringLiteral("Nationality"), QStringLiteral("DateCreated")});
    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("AccountNum"),
         QStringLiteral("RoomID"), QStringLiteral("StationID"), QStringLiteral("PrecautionID"),
         QStringLiteral("isCVOR"), QStringLiteral("AdmittingDr"), QStringLiteral("AttendingDr1"),
         QStringLiteral("UserID")});
    TableRows &extension =
        table(QStringLiteral("PATIENT_DATA..tbPatient2"),
              {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("PatientClass"),
               QStringLiteral("AdmissionTypeID"), QStringLiteral("PHICCode"),
               QStringLiteral("isCashBasis"), QStringLiteral("CashBasisReason")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("ADMDiagnosis"),
                                QStringLiteral("ChiefComplaint")});
    TableRows &outpatients =
        table(QStringLiteral("PATIENT_DATA..tbOutPatient"),
              {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
               QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
               QStringLiteral("RateType"), QStringLiteral("DoctorID1"), QStringLiteral("DoctorID2"),
               QStringLiteral("PHICCode"), QStringLiteral("isCashBasis"),
               QStringLiteral("CashBasisReason"), QStringLiteral("UserID")});
    TableRows &opHistory = table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
                                 {QStringLiteral("IDNum"), QStringLiteral("ChiefComplaints")});

    auto stationOf = [this](const QString &roomId) {
        for (const Room &r : std::as_const(m_rooms)) {
            if (r.id == roomId)
                return r.station;
        }
        return QString();
    };
    auto freeRoom = [&] {
        for (const Room &r : std::as_const(m_rooms)) {
            if (!occupied.contains(r.id)) {
                occupied.insert(r.id);
                return r.id;
            }
        }
        return QString();
    };
    auto addAdmission = [&](Stay &s, const Patient &p, const Namesake &n) {
        s.idNum = padded(++inpatientNo, 7);
        inpatients.add({s.idNum, p.hospNum, s.admitted, when(s.discharged), when(s.billed),
                        p.hospNum, s.room, stationOf(s.room),
                        n.precaution.isEmpty() ? QVariant() : QVariant(n.precaution.toString()),
                        n.cvor && !s.discharged.isValid() ? 1 : 0, s.doctor, s.doctor,
                        QStringLiteral("ADM02")});
        const bool cash = n.cashBasis && !s.discharged.isValid();
        extension.add({s.idNum, 1, QStringLiteral("P"), QStringLiteral("2"), QStringLiteral("IP"),
                       cash ? 1 : 0, cash ? n.cashReason.toString() : QString()});
        history.add({s.idNum, n.diagnosis.toString(), n.diagnosis.toString()});
    };

    for (const Namesake &n : namesakes) {
        Patient p;
        p.hospNum = padded(++hospNum, 8);
        p.lastName = QStringLiteral("MAGBANUA");
        p.firstName = n.firstName.toString();
        p.middleName = n.middleName.toString();
        p.sex = n.sex;
        p.age = n.age;
        p.birthDate = QDate(m_today.year() - n.age, 1 + int(hospNum % 12), 9);
        p.created = at(400 + n.age, 10 * 60);
        m_patients.append(p);
        master.add({p.hospNum, p.lastName, p.firstName, p.middleName, QString(p.sex), p.birthDate,
                    n.age < 18 ? QStringLiteral("SINGLE") : QStringLiteral("MARRIED"),
                    QStringLiteral("%1 RIZAL STREET").arg(10 + int(hospNum % 90)),
                    QStringLiteral("POBLACION"), QStringLiteral("SAN BARTOLOME CITY"),
                    QStringLiteral("LAGUNA"), QStringLiteral("FILIPINO"), p.created});

        Stay s;
        s.patient = int(m_patients.size()) - 1;
        s.kind = n.kind;
        s.admitted = at(n.admittedDaysAgo, n.admittedMinute);
        s.doctor = doctorsIn(n.specialization).first();
        s.account = p.hospNum;
        s.diagnosis = n.diagnosis.toString();
        if (n.kind == StayKind::Inpatient) {
            // ERNESTO was first admitted for his heart a year ago; that stay is long billed.
            if (n.cvor) {
                Stay earlier = s;
                earlier.admitted = at(372, 7 * 60 + 30);
                earlier.discharged = at(366, 15 * 60);
                earlier.billed = at(366, 11 * 60 + 45);
                earlier.room = m_rooms.constFirst().id;
                addAdmission(earlier, p, n);
                m_stays.append(earlier);
            }
            s.room = freeRoom();
            if (n.billedToday)
                s.billed = at(0, 7 * 60 + 30);
            s.cvor = n.cvor;
            s.cashBasis = n.cashBasis;
            addAdmission(s, p, n);
            m_currentInpatients << int(m_stays.size());
        } else {
            s.idNum = padded(++outpatientNo, 7) + u'B';
            if (n.kind == StayKind::Emergency)
                s.erNum = QStringLiteral("ER-") + padded(++erNo, 6);
            s.cashBasis = n.cashBasis;
            outpatients.add(
                {s.idNum, p.hospNum, s.admitted, s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum),
                 p.hospNum, QStringLiteral("PAY"), QStringLiteral("A"), s.doctor, s.doctor,
                 QStringLiteral("IP"), n.cashBasis ? 1 : 0, n.cashReason.toString(),
                 n.kind == StayKind::Emergency ? QStringLiteral("ER01") : QStringLiteral("OPD01")});
            opHistory.add({s.idNum, s.diagnosis});
        }
        m_stays.append(s);
    }
}

} // namespace kestrel::hospitaldb::demo
