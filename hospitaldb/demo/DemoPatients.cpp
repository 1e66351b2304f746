// SPDX-License-Identifier: GPL-3.0-or-later
// SPDX-FileCopyrightText: Kestrel developers
#include "hospitaldb/demo/DemoBuilder.h"

#include <algorithm>
#include <functional>

// The patients, their earlier stays over the last two years and the stays of those in the
// hospital now.

namespace kestrel::hospitaldb::demo {

namespace {

// People. Surnames come first by how common they are (surnames.txt); the draw favours the top
// of the list.

struct FirstName
{
    QString name;
    QChar sex;
};

const QStringList &surnames()
{
    static const QStringList names = [] {
        QStringList list;
        for (const QStringList &f : dataFileRows(QStringLiteral("surnames.txt"), 1))
            list << f[0];
        return list;
    }();
    return names;
}

const QList<FirstName> &firstNames()
{
    static const QList<FirstName> names = [] {
        QList<FirstName> list;
        for (const QStringList &f : dataFileRows(QStringLiteral("first-names.tsv"), 2))
            list.append({f[0], f[1].at(0)});
        return list;
    }();
    return names;
}

struct Place
{
    QStringView town, province, zip;
};

constexpr std::array kPlaces{
    Place{u"SAN BARTOLOME CITY", u"LAGUNA", u"4035"},
    Place{u"SAN BARTOLOME CITY", u"LAGUNA", u"4035"},
    Place{u"SAN BARTOLOME CITY", u"LAGUNA", u"4035"},
    Place{u"CALAMBA CITY", u"LAGUNA", u"4027"},
    Place{u"LOS BAÑOS", u"LAGUNA", u"4030"},
    Place{u"BAY", u"LAGUNA", u"4033"},
    Place{u"CABUYAO CITY", u"LAGUNA", u"4025"},
    Place{u"STO. TOMAS", u"BATANGAS", u"4234"},
    Place{u"TANAUAN CITY", u"BATANGAS", u"4232"},
    Place{u"SILANG", u"CAVITE", u"4118"},
    Place{u"CARMONA", u"CAVITE", u"4116"},
    Place{u"TAGUIG CITY", u"METRO MANILA", u"1630"},
};

constexpr std::array<QStringView, 14> kBarangays{
    u"POBLACION",       u"MALIWANAG", u"SAN ISIDRO", u"STO. NIÑO", u"BAGONG SILANG",
    u"MAHABANG PARANG", u"LIGTASAN",  u"PAG-ASA",    u"SAN ROQUE", u"MABINI",
    u"BUROL",           u"BALIBAGO",  u"PARIAN",     u"CANLALAY",
};

constexpr std::array<QStringView, 12> kStreets{
    u"RIZAL ST.",      u"MABINI ST.",      u"BONIFACIO ST.", u"LUNA ST.",
    u"QUEZON AVE.",    u"BURGOS ST.",      u"JACINTO ST.",   u"DEL PILAR ST.",
    u"SAMPAGUITA ST.", u"ILANG-ILANG ST.", u"NARRA ST.",     u"MOLAVE ST.",
};

constexpr std::array<QStringView, 8> kBloodTypes{u"O+", u"O+",  u"A+", u"B+",
                                                 u"O+", u"AB+", u"A-", u"O-"};

constexpr std::array<QStringView, 10> kOccupations{
    u"HOUSEWIFE", u"TEACHER",        u"FARMER",   u"DRIVER", u"OFFICE EMPLOYEE",
    u"VENDOR",    u"FACTORY WORKER", u"SEAFARER", u"NURSE",  u"ENGINEER"};

constexpr std::array kCases{
    SurgicalCase{u"ACUTE APPENDICITIS", u"RIGHT LOWER QUADRANT PAIN", u"OR1001", u"GENERAL SURGERY",
                 u' ', 8, 80, u"MAJOR", 90},
    SurgicalCase{u"ACUTE APPENDICITIS", u"ABDOMINAL PAIN, FEVER", u"OR1002", u"GENERAL SURGERY",
                 u' ', 12, 70, u"MAJOR", 90},
    SurgicalCase{u"CHOLELITHIASIS", u"RECURRENT RIGHT UPPER QUADRANT PAIN", u"OR1004",
                 u"GENERAL SURGERY", u' ', 25, 80, u"MAJOR", 120},
    SurgicalCase{u"CHOLEDOCHOLITHIASIS", u"JAUNDICE, ABDOMINAL PAIN", u"OR1054", u"GENERAL SURGERY",
                 u' ', 30, 85, u"MAJOR", 90},
    SurgicalCase{u"INGUINAL HERNIA, RIGHT, REDUCIBLE", u"GROIN MASS", u"OR1006", u"GENERAL SURGERY",
                 u'M', 20, 85, u"MAJOR", 90},
    SurgicalCase{u"BREAST MASS, LEFT", u"PALPABLE BREAST LUMP", u"OR1009", u"GENERAL SURGERY", u'F',
                 20, 70, u"MINOR", 60},
    SurgicalCase{u"BREAST CARCINOMA, STAGE II", u"BREAST MASS", u"OR1008", u"GENERAL SURGERY", u'F',
                 35, 80, u"MAJOR", 180},
    SurgicalCase{u"NODULAR NON-TOXIC GOITER", u"ANTERIOR NECK MASS", u"OR1010", u"GENERAL SURGERY",
                 u' ', 25, 75, u"MAJOR", 150},
    SurgicalCase{u"PERFORATED PEPTIC ULCER", u"SUDDEN SEVERE EPIGASTRIC PAIN", u"OR1017",
                 u"GENERAL SURGERY", u' ', 30, 85, u"MAJOR", 120},
    SurgicalCase{u"DIABETIC FOOT INFECTION", u"NON-HEALING FOOT WOUND", u"OR1014",
                 u"GENERAL SURGERY", u' ', 40, 85, u"MINOR", 60},
    SurgicalCase{u"PREGNANCY UTERINE 39 WEEKS, CEPHALOPELVIC DISPROPORTION", u"LABOR PAINS",
                 u"OR1018", u"OBSTETRICS AND GYNECOLOGY", u'F', 18, 42, u"MAJOR", 75},
    SurgicalCase{u"PREGNANCY UTERINE 38 WEEKS, PREVIOUS CESAREAN SECTION", u"LABOR PAINS",
                 u"OR1019", u"OBSTETRICS AND GYNECOLOGY", u'F', 20, 42, u"MAJOR", 75},
    SurgicalCase{u"PREGNANCY UTERINE 39 WEEKS IN LABOR", u"LABOR PAINS", u"OR1020",
                 u"OBSTETRICS AND GYNECOLOGY", u'F', 18, 40, u"MINOR", 60},
    SurgicalCase{u"MYOMA UTERI", u"HEAVY MENSTRUAL BLEEDING", u"OR1022",
                 u"OBSTETRICS AND GYNECOLOGY", u'F', 35, 60, u"MAJOR", 150},
    SurgicalCase{u"INCOMPLETE ABORTION", u"VAGINAL BLEEDING", u"OR1021",
                 u"OBSTETRICS AND GYNECOLOGY", u'F', 18, 42, u"MINOR", 30},
    SurgicalCase{u"CLOSED FRACTURE, FEMUR, MIDSHAFT", u"THIGH PAIN AFTER FALL", u"OR1026",
                 u"ORTHOPEDICS", u' ', 15, 85, u"MAJOR", 180},
    SurgicalCase{u"CLOSED FRACTURE, DISTAL RADIUS", u"WRIST PAIN AFTER FALL", u"OR1027",
                 u"ORTHOPEDICS", u' ', 10, 85, u"MAJOR", 120},
    SurgicalCase{u"OSTEOARTHRITIS, KNEE, SEVERE", u"CHRONIC KNEE PAIN", u"OR1030", u"ORTHOPEDICS",
                 u' ', 55, 85, u"MAJOR", 180},
    SurgicalCase{u"BENIGN PROSTATIC HYPERPLASIA", u"DIFFICULTY OF URINATION", u"OR1033", u"UROLOGY",
                 u'M', 55, 88, u"MAJOR", 90},
    SurgicalCase{u"URETEROLITHIASIS, LEFT", u"FLANK PAIN", u"OR1035", u"UROLOGY", u' ', 25, 75,
                 u"MAJOR", 90},
    SurgicalCase{u"CHRONIC TONSILLITIS", u"RECURRENT SORE THROAT", u"OR1038",
                 u"OTORHINOLARYNGOLOGY", u' ', 5, 40, u"MINOR", 60},
    SurgicalCase{u"SENILE CATARACT, RIGHT EYE", u"BLURRING OF VISION", u"OR1041", u"OPHTHALMOLOGY",
                 u' ', 50, 90, u"MINOR", 45},
    SurgicalCase{u"CHRONIC SUBDURAL HEMATOMA", u"HEADACHE, WEAKNESS", u"OR1044", u"NEUROSURGERY",
                 u' ', 50, 90, u"MAJOR", 120},
    SurgicalCase{u"CORONARY ARTERY DISEASE, THREE-VESSEL", u"CHEST PAIN ON EXERTION", u"OR1047",
                 u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 45, 80, u"MAJOR", 300},
    SurgicalCase{u"RHEUMATIC HEART DISEASE, MITRAL STENOSIS", u"EASY FATIGABILITY, DYSPNEA",
                 u"OR1048", u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 20, 65, u"MAJOR", 300},
    SurgicalCase{u"ATRIAL SEPTAL DEFECT, SECUNDUM", u"DYSPNEA ON EXERTION", u"OR1050",
                 u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 5, 45, u"MAJOR", 240},
    SurgicalCase{u"COMPLETE HEART BLOCK", u"DIZZINESS, SYNCOPE", u"OR1051",
                 u"THORACIC AND CARDIOVASCULAR SURGERY", u' ', 55, 90, u"MAJOR", 90},
    SurgicalCase{u"UPPER GASTROINTESTINAL BLEEDING", u"BLACK TARRY STOOLS", u"OR1052",
                 u"GENERAL SURGERY", u' ', 30, 85, u"MINOR", 30},
    SurgicalCase{u"UNDESCENDED TESTIS, RIGHT", u"EMPTY SCROTUM", u"OR1057", u"PEDIATRIC SURGERY",
                 u'M', 1, 10, u"MAJOR", 60},
};

constexpr std::array<QStringView, 8> kMedicalDiagnoses{
    u"COMMUNITY-ACQUIRED PNEUMONIA, MODERATE RISK",
    u"DENGUE FEVER WITH WARNING SIGNS",
    u"ACUTE GASTROENTERITIS WITH MODERATE DEHYDRATION",
    u"URINARY TRACT INFECTION",
    u"HYPERTENSIVE URGENCY",
    u"TYPE 2 DIABETES MELLITUS, UNCONTROLLED",
    u"CONGESTIVE HEART FAILURE",
    u"ACUTE ISCHEMIC STROKE"};

constexpr std::array kOutpatientReasons{
    OutpatientReason{u"LACERATED WOUND, LEFT HAND", true},
    OutpatientReason{u"ABDOMINAL PAIN", true},
    OutpatientReason{u"CHEST PAIN", true},
    OutpatientReason{u"HIGH GRADE FEVER", true},
    OutpatientReason{u"VEHICULAR ACCIDENT, ABRASIONS", true},
    OutpatientReason{u"DOG BITE, RIGHT LEG", true},
    OutpatientReason{u"DIFFICULTY OF BREATHING", true},
    OutpatientReason{u"FOR CIRCUMCISION", false},
    OutpatientReason{u"FOR EXCISION OF LIPOMA, BACK", false},
    OutpatientReason{u"FOR UPPER GI ENDOSCOPY", false},
    OutpatientReason{u"FOR COLONOSCOPY", false},
    OutpatientReason{u"FOR PTERYGIUM EXCISION", false},
    OutpatientReason{u"FOR REMOVAL OF SUTURES", false},
    OutpatientReason{u"FOR WOUND DRESSING", false},
};

} // namespace

std::span<const SurgicalCase> surgicalCases()
{
    return kCases;
}

bool isHeartCase(const SurgicalCase &c)
{
    return c.specialization == u"THORACIC AND CARDIOVASCULAR SURGERY";
}

std::span<const OutpatientReason> outpatientReasons()
{
    return kOutpatientReasons;
}

void DemoBuilder::addPatients()
{
    constexpr int kPatients = 320;
    qint64 hospNum = 153000;
    for (int i = 0; i < kPatients; ++i) {
        Patient p;
        hospNum += m_rng.between(1, 9);
        p.hospNum = padded(hospNum, 8);
        p.lastName = surnames().at(m_rng.skewed(int(surnames().size())));
        const FirstName &first = m_rng.pick(firstNames());
        p.firstName = first.name;
        p.sex = first.sex;
        p.middleName = surnames().at(m_rng.below(int(surnames().size())));
        // A few names that statements must survive: an apostrophe and the letter ñ.
        if (i == 17)
            p.lastName = QStringLiteral("D'ANGELO");
        if (i == 42)
            p.lastName = QStringLiteral("DELA PEÑA");
        if (p.sex == u'M' && m_rng.percent(5))
            p.suffix = m_rng.percent(70) ? QStringLiteral("JR.") : QStringLiteral("III");

        const int bucket = m_rng.below(100);
        p.age = bucket < 8    ? m_rng.between(1, 12)
                : bucket < 12 ? m_rng.between(13, 17)
                : bucket < 42 ? m_rng.between(18, 39)
                : bucket < 70 ? m_rng.between(40, 59)
                              : m_rng.between(60, 89);
        p.birthDate = m_today.addYears(-p.age).addDays(-m_rng.between(0, 364));
        const int createdDaysAgo = m_rng.between(30, 3000);
        p.created = at(createdDaysAgo, m_rng.between(7 * 60, 18 * 60));
        m_patients.append(p);
    }
}

QString DemoBuilder::pickAccount(const QString &hospNum)
{
    const int r = m_rng.below(100);
    if (r < 62)
        return hospNum;
    if (r < 84)
        return allCompanies()[std::size_t(m_rng.below(5))].account.toString();
    if (r < 96)
        return allCompanies()[std::size_t(5 + m_rng.below(5))].account.toString();
    return allCompanies().back().account.toString();
}

int DemoBuilder::pickCase(const Patient &p)
{
    for (int attempt = 0; attempt < 20; ++attempt) {
        const int c = m_rng.below(int(kCases.size()));
        const SurgicalCase &sc = kCases[std::size_t(c)];
        if ((sc.sex == u' ' || sc.sex == p.sex) && p.age >= sc.minAge && p.age <= sc.maxAge)
            return c;
    }
    return p.age >= 8 ? 0 : -1; // an appendectomy fits nearly everyone
}

QChar DemoBuilder::rateClassOf(const Stay &s) const
{
    if (s.kind != StayKind::Inpatient)
        return s.kind == StayKind::Emergency ? u'I' : u'A';
    for (const Room &r : m_rooms) {
        if (r.id == s.room)
            return r.rateClass;
    }
    return u'A';
}

void DemoBuilder::addStays()
{
    // Everyone's earlier stays, spread over the last two years.
    for (int p = 0; p < m_patients.size(); ++p) {
        const int r = m_rng.below(100);
        const int count = r < 15 ? 0 : r < 65 ? 1 : r < 90 ? 2 : 3;
        QList<int> starts;
        for (int k = 0; k < count; ++k)
            starts << m_rng.between(8, 730);
        std::sort(starts.begin(), starts.end(), std::greater<int>());
        int freeFrom = 100000; // days ago from which the patient is at home again
        for (int daysAgo : std::as_const(starts)) {
            if (daysAgo >= freeFrom - 3)
                continue;
            Stay s;
            s.patient = p;
            const int kind = m_rng.below(100);
            s.kind = kind < 50   ? StayKind::Inpatient
                     : kind < 80 ? StayKind::Outpatient
                                 : StayKind::Emergency;
            s.admitted = at(daysAgo, m_rng.between(6 * 60, 22 * 60));
            if (s.kind == StayKind::Inpatient) {
                // Everyone admitted a week or more ago has gone home by now.
                const int days = std::min(1 + m_rng.skewed(12), daysAgo - 2);
                const int hour = m_rng.between(9, 17);
                s.discharged =
                    QDateTime(s.admitted.date().addDays(days), QTime(hour, m_rng.below(60)));
            } else {
                s.discharged = s.admitted.addSecs(60 * m_rng.between(60, 6 * 60));
            }
            freeFrom = std::max(0, int(s.discharged.date().daysTo(m_today)));
            // Billing closes the account a little before the patient goes home; some recent
            // accounts are still open (the HMO has not yet approved, the bill is being done).
            const bool recent = s.discharged.date().daysTo(m_today) < 30;
            if (!recent || m_rng.percent(75))
                s.billed = s.discharged.addSecs(-60 * m_rng.between(30, 240));
            s.revoked = s.kind != StayKind::Inpatient && m_rng.percent(3);
            m_stays.append(s);
        }
    }

    // Who is in the hospital now: inpatients admitted in the last week, and outpatient and ER
    // visits of today and yesterday that are still open.
    QList<int> order;
    for (int p = 0; p < m_patients.size(); ++p)
        order << p;
    for (int i = int(order.size()) - 1; i > 0; --i)
        std::swap(order[i], order[m_rng.below(i + 1)]);
    QList<int> freeRooms;
    for (int r = 0; r < m_rooms.size(); ++r)
        freeRooms << r;
    for (int i = 0; i < 60; ++i) {
        const int p = order.at(i);
        // A patient discharged only days ago is not back already.
        bool busy = false;
        for (const Stay &s : std::as_const(m_stays))
            busy = busy || (s.patient == p && s.discharged.date().daysTo(m_today) < 7);
        if (busy)
            continue;
        Stay s;
        s.patient = p;
        if (i < 46) {
            s.kind = StayKind::Inpatient;
            const int daysAgo = m_rng.below(7);
            // Today's admissions came in before the morning's work began.
            s.admitted = daysAgo == 0 ? at(0, m_rng.between(30, 9 * 60))
                                      : at(daysAgo, m_rng.between(0, 23 * 60 + 59));
            s.room = m_rooms.at(freeRooms.takeAt(m_rng.below(int(freeRooms.size())))).id;
            // A few final bills are done and the patients only wait to be fetched.
            if (daysAgo >= 3 && m_rng.percent(15))
                s.billed = at(0, m_rng.between(6 * 60, 9 * 60));
        } else {
            s.kind = i < 54 ? StayKind::Emergency : StayKind::Outpatient;
            const int daysAgo = m_rng.below(2);
            s.admitted = at(daysAgo, m_rng.between(60, 9 * 60 + 30));
        }
        m_stays.append(s);
    }

    // Details of every stay, in order of admission so the numbers rise with the dates.
    std::stable_sort(m_stays.begin(), m_stays.end(),
                     [](const Stay &a, const Stay &b) { return a.admitted < b.admitted; });
    qint64 inpatientNo = 48210;
    qint64 outpatientNo = 40115;
    qint64 erNo = 18420;
    const QStringList anesthesiologists = doctorsIn(u"ANESTHESIOLOGY");
    const QStringList internists = doctorsIn(u"INTERNAL MEDICINE") + doctorsIn(u"CARDIOLOGY");
    for (int i = 0; i < m_stays.size(); ++i) {
        Stay &s = m_stays[i];
        const Patient &p = m_patients.at(s.patient);
        s.account = pickAccount(p.hospNum);
        if (s.account != p.hospNum && m_rng.percent(10))
            s.account2 = p.hospNum; // the patient pays what the guarantor does not
        if (s.kind == StayKind::Inpatient) {
            s.idNum = padded(++inpatientNo, 7);
            inpatientNo += m_rng.below(3);
            if (s.room.isEmpty())
                s.room = m_rooms.at(m_rng.below(int(m_rooms.size()))).id;
            const bool surgical = m_rng.percent(75);
            s.surgicalCase = surgical ? pickCase(p) : -1;
            if (s.surgicalCase >= 0) {
                const SurgicalCase &c = kCases[std::size_t(s.surgicalCase)];
                s.diagnosis = c.diagnosis.toString();
                s.complaint = c.complaint.toString();
                s.doctor = m_rng.pick(doctorsIn(c.specialization));
                s.doctor2 = m_rng.pick(anesthesiologists);
                s.cvor = isHeartCase(c) && m_rng.percent(80);
                if (c.procedure == u"OR1018" || c.procedure == u"OR1019")
                    s.package = QStringLiteral("PKG-CS");
                else if (c.procedure == u"OR1004" && m_rng.percent(50))
                    s.package = QStringLiteral("PKG-LC");
            } else {
                s.diagnosis = m_rng.pick(kMedicalDiagnoses).toString();
                s.complaint = QStringLiteral("FOR ADMISSION");
                s.doctor = m_rng.pick(internists);
            }
            const int pr = m_rng.below(100);
            s.precaution = pr < 25   ? QString()
                           : pr < 85 ? QStringLiteral("1")
                                     : QString::number(2 + m_rng.below(4));
            s.cashBasis = m_rng.percent(s.discharged.isValid() ? 8 : 14);
            if (!s.discharged.isValid())
                m_currentInpatients << i;
        } else {
            s.idNum = padded(++outpatientNo, 7) + u'B';
            outpatientNo += m_rng.below(4);
            if (s.kind == StayKind::Emergency)
                s.erNum = QStringLiteral("ER-") + padded(++erNo, 6);
            const OutpatientReason *reason = nullptr;
            do {
                reason = &m_rng.pick(kOutpatientReasons);
            } while (reason->er != (s.kind == StayKind::Emergency));
            s.complaint = reason->complaint.toString();
            s.doctor = m_rng.pick(doctorsIn(u"GENERAL SURGERY"));
            s.precaution = m_rng.percent(10) ? QString::number(2 + m_rng.below(4)) : QString();
            s.cashBasis = m_rng.percent(s.discharged.isValid() ? 10 : 20);
        }
    }
}

void DemoBuilder::addStayRows()
{
    TableRows &master = table(QStringLiteral("PATIENT_DATA..tbMaster"),
                              {QStringLiteral("HospNum"),       QStringLiteral("LastName"),
                               QStringLiteral("FirstName"),     QStringLiteral("MiddleName"),
                               QStringLiteral("Suffix"),        QStringLiteral("Sex"),
                               QStringLiteral("BirthDate"),     QStringLiteral("CivilStatus"),
                               QStringLiteral("BloodType"),     QStringLiteral("HouseStreet"),
                               QStringLiteral("Barangay"),      QStringLiteral("Town"),
                               QStringLiteral("Province"),      QStringLiteral("ZipCode"),
                               QStringLiteral("TelNum"),        QStringLiteral("Nationality"),
                               QStringLiteral("Religion"),      QStringLiteral("Occupation"),
                               QStringLiteral("PhilHealthNum"), QStringLiteral("SeniorCitizenID"),
                               QStringLiteral("DateCreated")});
    for (const Patient &p : std::as_const(m_patients)) {
        const Place &place = m_rng.pick(kPlaces);
        const QString houseNo = QString::number(m_rng.between(1, 450));
        const QString street = houseNo + u' ' + m_rng.pick(kStreets).toString();
        const QString civil = p.age < 20                        ? QStringLiteral("SINGLE")
                              : p.age > 70 && m_rng.percent(40) ? QStringLiteral("WIDOWED")
                              : m_rng.percent(70)               ? QStringLiteral("MARRIED")
                                                                : QStringLiteral("SINGLE");
        QString philHealth;
        if (m_rng.percent(85)) {
            const QString region = padded(m_rng.between(1, 19), 2);
            const QString serial = padded(m_rng.between(0, 999999999), 9);
            philHealth = region + u'-' + serial + u'-' + QString::number(m_rng.below(10));
        }
        const QString senior =
            p.age >= 60 ? QStringLiteral("SC-%1").arg(m_rng.between(10000, 99999)) : QString();
        const int nat = m_rng.below(100);
        const QString nationality = nat < 97   ? QStringLiteral("FILIPINO")
                                    : nat < 98 ? QStringLiteral("AMERICAN")
                                    : nat < 99 ? QStringLiteral("KOREAN")
                                               : QStringLiteral("JAPANESE");
        const QString occupation = p.age < 18    ? QStringLiteral("STUDENT")
                                   : p.age >= 65 ? QStringLiteral("RETIRED")
                                                 : m_rng.pick(kOccupations).toString();
        master.add(
            {p.hospNum,
             p.lastName,
             p.firstName,
             p.middleName,
             p.suffix,
             QString(p.sex),
             p.birthDate,
             civil,
             m_rng.pick(kBloodTypes).toString(),
             street,
             m_rng.pick(kBarangays).toString(),
             place.town.toString(),
             place.province.toString(),
             place.zip.toString(),
             QStringLiteral("09%1").arg(m_rng.between(100000000, 999999999)),
             nationality,
             m_rng.percent(85) ? QStringLiteral("ROMAN CATHOLIC") : QStringLiteral("CHRISTIAN"),
             occupation,
             philHealth,
             senior,
             p.created});
    }

    TableRows &inpatients = table(
        QStringLiteral("PATIENT_DATA..tbPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("AccountNum"),
         QStringLiteral("AccountNumII"), QStringLiteral("RoomID"), QStringLiteral("StationID"),
         QStringLiteral("PrecautionID"), QStringLiteral("isCVOR"), QStringLiteral("AdmittingDr"),
         QStringLiteral("AttendingDr1"), QStringLiteral("AttendingDr2"), QStringLiteral("UserID")});
    TableRows &extension = table(
        QStringLiteral("PATIENT_DATA..tbPatient2"),
        {QStringLiteral("IDNum"), QStringLiteral("OkeyOR"), QStringLiteral("PatientsMed"),
         QStringLiteral("CreditLine"), QStringLiteral("PackageID"), QStringLiteral("transplantID"),
         QStringLiteral("dialysisID"), QStringLiteral("VIP"), QStringLiteral("PatientClass"),
         QStringLiteral("AdmissionTypeID"), QStringLiteral("isSpecial"), QStringLiteral("PHICCode"),
         QStringLiteral("isCashBasis"), QStringLiteral("CashBasisReason")});
    TableRows &history = table(QStringLiteral("PATIENT_DATA..tbPatientHistory"),
                               {QStringLiteral("IDNum"), QStringLiteral("Precautions"),
                                QStringLiteral("ADMDiagnosis"), QStringLiteral("ChiefComplaint"),
                                QStringLiteral("BriefHistory")});
    TableRows &outpatients = table(
        QStringLiteral("PATIENT_DATA..tbOutPatient"),
        {QStringLiteral("IDNum"), QStringLiteral("HospNum"), QStringLiteral("AdmDate"),
         QStringLiteral("DcrDate"), QStringLiteral("BillingDate"), QStringLiteral("RecordStatus"),
         QStringLiteral("ERNum"), QStringLiteral("AccountNum"), QStringLiteral("PatientType"),
         QStringLiteral("RateType"), QStringLiteral("PrecautionID"), QStringLiteral("DoctorID1"),
         QStringLiteral("DoctorID2"), QStringLiteral("PHICCode"), QStringLiteral("isCashBasis"),
         QStringLiteral("CashBasisReason"), QStringLiteral("UserID")});
    TableRows &opHistory = table(QStringLiteral("PATIENT_DATA..tbOutpatientHistory"),
                                 {QStringLiteral("IDNum"), QStringLiteral("Precautions"),
                                  QStringLiteral("ChiefComplaints")});
    TableRows &erRequests = table(QStringLiteral("PATIENT_DATA..tbER_Admitting_Communication"),
                                  {QStringLiteral("HospNum"), QStringLiteral("OPDIDNum"),
                                   QStringLiteral("RecordStatus"), QStringLiteral("RequestDate"),
                                   QStringLiteral("UserID")});

    const std::array<QStringView, 4> precautionNotes{
        u"CONTACT PRECAUTION: MRSA ISOLATE FROM WOUND CULTURE",
        u"DROPLET PRECAUTION: INFLUENZA-LIKE ILLNESS", u"AIRBORNE PRECAUTION: RULE OUT PTB",
        u"BLEEDING PRECAUTION: ON ANTICOAGULANT"};
    const std::array<QStringView, 3> cashReasons{u"NO PHILHEALTH, NO DEPOSIT",
                                                 u"PROMISSORY NOTE ON FILE",
                                                 u"HMO LETTER OF AUTHORITY EXPIRED"};
    for (const Stay &s : std::as_const(m_stays)) {
        const Patient &p = m_patients.at(s.patient);
        const bool senior = p.age >= 60;
        const QString phic =
            senior ? QStringLiteral("SC")
            : m_rng.percent(80)
                ? m_rng.pick(std::array<QStringView, 5>{u"EP", u"EG", u"IP", u"OF", u"SP"})
                      .toString()
                : QStringLiteral("NH");
        const QVariant precaution = s.precaution.isEmpty() ? QVariant() : QVariant(s.precaution);
        const QString note = s.precaution.size() == 1 && s.precaution != u"1"
                                 ? precautionNotes[std::size_t(s.precaution.toInt() - 2)].toString()
                                 : QString();
        const QString cashReason = s.cashBasis ? m_rng.pick(cashReasons).toString() : QString();
        const QString clerk =
            QStringLiteral("ADM%1").arg(m_rng.between(1, 6), 2, 10, QLatin1Char('0'));
        if (s.kind == StayKind::Inpatient) {
            QString station;
            for (const Room &r : std::as_const(m_rooms)) {
                if (r.id == s.room)
                    station = r.station;
            }
            inpatients.add({s.idNum, p.hospNum, s.admitted, when(s.discharged), when(s.billed),
                            s.account, s.account2, s.room, station, precaution, s.cvor ? 1 : 0,
                            s.doctor, s.doctor, s.doctor2, clerk});
            const bool hmo = s.account.startsWith(u"11");
            const int admType =
                s.surgicalCase < 0 ? 1
                : kCases[std::size_t(s.surgicalCase)].specialization == u"OBSTETRICS AND GYNECOLOGY"
                    ? 4
                : m_rng.percent(50) ? 3
                                    : 2;
            // HMO stays carry the approved amount of the letter of authority as credit line.
            const QVariant creditLine = hmo                 ? pesos(m_rng.between(6, 40) * 500000)
                                        : m_rng.percent(70) ? pesos(m_rng.between(2, 20) * 500000)
                                                            : QVariant();
            extension.add({s.idNum, s.discharged.isValid() || m_rng.percent(80) ? 1 : 0,
                           m_rng.percent(10) ? 1 : 0, creditLine, s.package, QStringLiteral("0"),
                           m_rng.percent(3) ? QStringLiteral("1") : QStringLiteral("0"),
                           m_rng.percent(3) ? 1 : 0,
                           m_rng.percent(8) ? QStringLiteral("S") : QStringLiteral("P"),
                           QString::number(admType), m_rng.percent(4) ? 1 : 0, phic,
                           s.cashBasis ? 1 : 0, cashReason});
            history.add({s.idNum, note, s.diagnosis, s.complaint,
                         QStringLiteral("%1-year-old %2 came in for %3.")
                             .arg(p.age)
                             .arg(p.sex == u'F' ? QStringLiteral("female") : QStringLiteral("male"))
                             .arg(s.complaint.toLower())});
        } else {
            const bool hmo = s.account.startsWith(u"11");
            outpatients.add(
                {s.idNum, p.hospNum, s.admitted, when(s.discharged), when(s.billed),
                 s.revoked ? QStringLiteral("R") : QString(),
                 s.erNum.isEmpty() ? QVariant() : QVariant(s.erNum), s.account,
                 m_rng.percent(8) ? QStringLiteral("SERVICE") : QStringLiteral("PAY"),
                 hmo ? QStringLiteral("H") : QStringLiteral("A"), precaution, s.doctor, s.doctor,
                 phic, s.cashBasis ? 1 : 0, cashReason,
                 s.kind == StayKind::Emergency ? QStringLiteral("ER01") : QStringLiteral("OPD01")});
            opHistory.add({s.idNum, note, s.complaint});
            // Two of today's ER patients are waiting for a bed.
            if (!s.discharged.isValid() && s.kind == StayKind::Emergency &&
                erRequests.rows.size() < 2)
                erRequests.add({p.hospNum, s.idNum, QString(), s.admitted.addSecs(3600),
                                QStringLiteral("ER01")});
        }
    }
}

DemoBuilder::Numbering DemoBuilder::numbering() const
{
    Numbering n;
    for (const Patient &p : std::as_const(m_patients))
        n.hospNum = std::max(n.hospNum, p.hospNum.toLongLong());
    for (const Stay &s : std::as_const(m_stays)) {
        if (s.kind == StayKind::Inpatient) {
            n.inpatientNo = std::max(n.inpatientNo, s.idNum.toLongLong());
            if (!s.discharged.isValid())
                n.occupied.insert(s.room);
        } else {
            n.outpatientNo = std::max(n.outpatientNo, s.idNum.chopped(1).toLongLong());
            n.erNo = std::max(n.erNo, s.erNum.mid(3).toLongLong());
        }
    }
    return n;
}

} // namespace kestrel::hospitaldb::demo
